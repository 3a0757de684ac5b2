// Shutting the computer down or restarting it, replaceable in tests (and by
// the program's journal when it runs on simulated drives).
#pragma once

#include <string>

#include "classlib/core/service.h"
#include "classlib/core/win32.h"

// How far enabling the shutdown privilege got.
enum TPrivilegeResult {
    prEnabled,
    prNoToken,      // the process token would not open
    prNoPrivilege,  // "SeShutdownPrivilege" was not found
    prNotAdjusted,  // the token did not take it (the last error was set)
};

class TPowerService {
public:
    virtual ~TPowerService() = default;
    // Opens the process token for adjusting and querying, looks up
    // "SeShutdownPrivilege" on the local system and enables it.
    virtual TPrivilegeResult EnableShutdownPrivilege() = 0;
    // InitiateSystemShutdownA (empty Machine: this one; empty Message: none).
    virtual bool InitiateShutdown(const std::string& Machine, const std::string& Message, DWORD Timeout,
                                  bool ForceAppsClosed, bool Reboot) = 0;
    // AbortSystemShutdownA.
    virtual bool AbortShutdown(const std::string& Machine) = 0;
    // ExitWindowsEx.
    virtual bool ExitSession(UINT Flags, DWORD Reserved) = 0;

    static TPowerService& Default();
};

inline TPowerService& PowerService() {
    return TServiceSlot<TPowerService>::Current();
}
