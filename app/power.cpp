#include "app/power.h"

#include "app/event_log.h"
#include "classlib/core/datetime.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/files.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "classlib/services/osversion.h"

const char* const PowerJournalFileName = "VexmoraPower.log";

bool DoShutdown(bool Force, bool Reboot, const std::function<void(const std::string&)>& Report) {
    TPowerService& power = PowerService();
    if (Win32Platform() != VER_PLATFORM_WIN32_NT) {
        const UINT flags = (Force ? EWX_FORCE : 0) | (Reboot ? EWX_REBOOT : EWX_SHUTDOWN);
        return power.ExitSession(flags, 0);
    }
    switch (power.EnableShutdownPrivilege()) {
        case prNoToken:
            Report("Cannot open process token. ");
            break;
        case prNoPrivilege:
            Report("Cannot find privilege value. ");
            break;
        case prNotAdjusted:
            Report("Error adjusting process privileges.");
            break;
        case prEnabled:
            break;
    }
    // The request goes out in every case: the system has the last word.
    const bool taken = power.InitiateShutdown("", "", 0, Force, Reboot);
    Report(taken ? "Shutting down!" : "Cannot go down. ");
    return taken;
}

bool TPowerJournal::InitiateShutdown(const std::string& Machine, const std::string&, DWORD Timeout,
                                     bool ForceAppsClosed, bool Reboot) {
    return Record(Format("%s machine=%s timeout=%u force=%d", Reboot ? "reboot" : "shutdown",
                         Machine.empty() ? "local" : Machine.c_str(), static_cast<unsigned>(Timeout),
                         ForceAppsClosed ? 1 : 0));
}

bool TPowerJournal::AbortShutdown(const std::string& Machine) {
    return Record(Format("abort machine=%s", Machine.empty() ? "local" : Machine.c_str()));
}

bool TPowerJournal::ExitSession(UINT Flags, DWORD) {
    return Record(Format("exit-windows flags=%u", Flags));
}

bool TPowerJournal::Record(const std::string& Line) {
    std::lock_guard guard(lock_);
    const std::string text = LogTimeText(Now()) + " " + Line + "\r\n";
    try {
        TOwned<TFileStream> file = MakeOwned<TFileStream>(
            fileName_, FileExists(fileName_) ? fmOpenWrite | fmShareDenyWrite : fmCreate);
        file->Seek(0, soFromEnd);
        return file->Write(text.data(), static_cast<int>(text.size())) == static_cast<int>(text.size());
    } catch (const Exception&) {
        return false;
    }
}
