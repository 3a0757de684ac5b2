// Shutting the computer down or restarting it for an alert action
// (`DoShutdown`), through the replaceable power service, and the journal
// that takes the real service's place while the program watches simulated
// drives: simulated drives must never power the machine off.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "classlib/services/powerservice.h"

extern const char* const PowerJournalFileName;  // "VexmoraPower.log"

// Message boxes on the way (NT family): "Cannot open process token. ",
// "Cannot find privilege value. ", "Error adjusting process privileges.",
// then "Shutting down!" or "Cannot go down. ". The 9x family asks
// ExitWindowsEx (4 with Force, or 2 for a reboot else 1) and shows nothing.
// True when the request was taken.
bool DoShutdown(bool Force, bool Reboot, const std::function<void(const std::string&)>& Report);

// Records each request as one line of a text file instead of carrying it
// out; the privilege is "enabled" without touching the process token.
class TPowerJournal : public TPowerService {
public:
    // A full path is kept wide, so a folder outside the code page works.
    explicit TPowerJournal(std::wstring FileName) : fileName_(std::move(FileName)) {}

    TPrivilegeResult EnableShutdownPrivilege() override { return prEnabled; }
    bool InitiateShutdown(const std::string& Machine, const std::string& Message, DWORD Timeout,
                          bool ForceAppsClosed, bool Reboot) override;
    bool AbortShutdown(const std::string& Machine) override;
    bool ExitSession(UINT Flags, DWORD Reserved) override;

private:
    bool Record(const std::string& Line);

    std::mutex lock_;
    std::wstring fileName_;
};
