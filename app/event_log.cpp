#include "app/event_log.h"

#include "classlib/core/files.h"
#include "notify/zklogfile.h"

const char* const LogFileName = "Vexmora.log";

std::string LogTimeText(TDateTime when) {
    return FormatDateTime("ddddd tt", when);
}

bool LoadEventLog(TZkLogFile* log, std::wstring& error) {
    if (!FileExists(LogFileName)) return true;
    try {
        log->LoadFromFile(LogFileName);
        return true;
    } catch (const EStreamError& e) {
        error = e.WideMessage();
        return false;
    }
}

bool SaveEventLog(TZkLogFile* log, std::wstring& error) {
    try {
        log->SaveToFile(LogFileName);
        return true;
    } catch (const EStreamError& e) {
        error = e.WideMessage();
        return false;
    }
}
