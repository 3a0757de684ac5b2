// Opening URLs, documents and programs through the shell, replaceable in tests.
#pragma once

#include <string>

#include "classlib/core/service.h"
#include "classlib/core/win32.h"

class TShellService {
public:
    virtual ~TShellService() = default;
    // ShellExecuteA; true when the shell answers above 32.
    virtual bool Execute(HWND Window, const std::string& Verb, const std::string& File,
                         const std::string& Parameters, const std::string& Directory, int ShowCmd) = 0;
    // ShellExecuteExA with the given fMask; true on success.
    virtual bool ExecuteEx(ULONG Mask, HWND Window, const std::string& Verb, const std::string& File,
                           const std::string& Parameters, const std::string& Directory, int ShowCmd) = 0;
    // WinExec; true when the program started.
    virtual bool Run(const std::string& CommandLine, int ShowCmd) = 0;

    static TShellService& Default();
};

inline TShellService& ShellService() {
    return TServiceSlot<TShellService>::Current();
}
