// What the benchmarks that start the shipped program share: a started
// process that ends with its holder, its memory as Task Manager shows it, and
// the folder the benchmark runs from.
#pragma once

#include "classlib/core/win32.h"
// After windows.h.
#include <psapi.h>

#include <string>

namespace bench {

// Owns a started process.
class TChild {
public:
    TChild(const std::string& CommandLine, const std::string& Folder) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string line = CommandLine;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  Folder.empty() ? nullptr : Folder.c_str(), &startup, &info_) != FALSE;
    }
    ~TChild() {
        if (!started_) return;
        TerminateProcess(info_.hProcess, 0);
        WaitForSingleObject(info_.hProcess, 10000);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;

    bool Started() const { return started_; }
    HANDLE Process() const { return info_.hProcess; }
    bool Running() const { return started_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

struct TMemory {
    double WorkingSetMb = 0;
    double PrivateMb = 0;
};

inline TMemory MemoryOf(HANDLE Process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(Process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine leaves PrivateUsage empty; the page-file usage is the same commit charge.
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return {counters.WorkingSetSize / 1048576.0, privateBytes / 1048576.0};
}

inline std::string ProgramFolder() {
    char name[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    std::string path(name, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

}  // namespace bench
