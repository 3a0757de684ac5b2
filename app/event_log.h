// The program's event log file "Vexmora.log" in the current folder: the
// time text of its records, and loading and saving that do not stop the
// program when the file cannot be read or written.
#pragma once

#include <string>

#include "classlib/core/datetime.h"

class TZkLogFile;

extern const char* const LogFileName;  // "Vexmora.log"

// The system's short date and long time, the time always included.
std::string LogTimeText(TDateTime when);

// Loads the file when it exists. False (with the reason in `error`) when it
// exists but cannot be read; the records are left as they were then.
// The reason names the file as it is, whatever folder holds it.
bool LoadEventLog(TZkLogFile* log, std::wstring& error);
// False (with the reason in `error`) when the file cannot be written.
bool SaveEventLog(TZkLogFile* log, std::wstring& error);
