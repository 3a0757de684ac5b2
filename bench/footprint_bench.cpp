// Starts the shipped program (build/app/VexmoraU.exe) with 24 simulated
// drives, all watched, and beside it a bare Win32 window program
// (bare_window.exe) under the same Wine; once both have started, prints the
// program's working set and private bytes against the bare program's, and
// the CPU each takes while idle (30 s; a few in a short run). The drives'
// subkeys it makes in the registry go again at the end.
#include "classlib/core/win32.h"
// After windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "bench/bench_args.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"

namespace {

constexpr int Drives = 24;

std::string Model(int Drive) {
    return Format("FOOTPRINT DISK %02d", Drive);
}

std::string DriveSetText() {
    std::string text;
    for (int drive = 0; drive < Drives; ++drive) {
        text += Format("[drive %d]\nwmi model = %s\ndisk size = 500107862016\n", drive, Model(drive));
        text += Format("attribute 0 = 194 0x0022 %d %d 0 %d\n", 30 + drive, 30 + drive, 30 + drive);
        for (int slot = 1; slot < 12; ++slot)
            text += Format("attribute %d = %d 0x0033 100 100 36 0\n", slot, slot);
    }
    return text;
}

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

TMemory MemoryOf(HANDLE Process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(Process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine leaves PrivateUsage empty; the page-file usage is the same commit charge.
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return {counters.WorkingSetSize / 1048576.0, privateBytes / 1048576.0};
}

// User and kernel time, in seconds.
double CpuSecondsOf(HANDLE Process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(Process, &created, &exited, &kernel, &user)) return -1;
    auto seconds = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

std::string ProgramFolder() {
    char name[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    std::string path(name, length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    const int idleSeconds = bench::Rounds(30, 3);
    const std::string benchFolder = ProgramFolder();
    const std::string program = benchFolder + "..\\app\\VexmoraU.exe";
    const std::string bare = benchFolder + "bare_window.exe";

    const std::string folder = GetTempDir() + Format("vexmora-footprint-%u", GetCurrentProcessId());
    CreateDir(folder);
    const std::string driveSet = folder + "\\drives.ini";
    std::ofstream(driveSet, std::ios::binary | std::ios::trunc) << DriveSetText();
    // Watched drives, as after the first start: each gets its text icon.
    for (int drive = 0; drive < Drives; ++drive) OpenDriveSettings(Model(drive), true);

    int result = 0;
    {
        TChild ours("\"" + program + "\" --drives \"" + driveSet + "\"", folder);
        TChild peer("\"" + bare + "\"", "");
        const bool ready = ours.Started() && peer.Started() && WaitForInputIdle(ours.Process(), 30000) == 0 &&
                           WaitForInputIdle(peer.Process(), 30000) == 0;
        // The tray icons come after the first paint; then the program waits.
        Sleep(static_cast<DWORD>(bench::Rounds(5000, 2000)));
        if (!ready || !ours.Running() || !peer.Running()) {
            std::printf("FAILED: %s did not start\n", ours.Running() ? "the bare program" : "VexmoraU.exe");
            result = 1;
        } else {
            const TMemory mine = MemoryOf(ours.Process()), theirs = MemoryOf(peer.Process());
            const double cpuStart = CpuSecondsOf(ours.Process()), peerStart = CpuSecondsOf(peer.Process());
            Sleep(static_cast<DWORD>(idleSeconds * 1000));
            const double cpu = CpuSecondsOf(ours.Process()) - cpuStart;
            const double peerCpu = CpuSecondsOf(peer.Process()) - peerStart;
            std::printf(
                "Footprint after start-up, 24 simulated drives watched, against a bare Win32 window\n");
            std::printf("  %-28s %9s %9s %8s\n", "", "VexmoraU", "bare", "ratio");
            std::printf("  %-28s %9.1f %9.1f %7.2f x\n", "working set (MB)", mine.WorkingSetMb,
                        theirs.WorkingSetMb, mine.WorkingSetMb / std::max(theirs.WorkingSetMb, 0.001));
            std::printf("  %-28s %9.1f %9.1f %7.2f x\n", "private bytes (MB)", mine.PrivateMb,
                        theirs.PrivateMb, mine.PrivateMb / std::max(theirs.PrivateMb, 0.001));
            std::printf("  idle CPU over %d s: VexmoraU %.3f s (%.3f%% of one core), bare %.3f s (%.3f%%)\n",
                        idleSeconds, cpu, 100 * cpu / idleSeconds, peerCpu, 100 * peerCpu / idleSeconds);
            if (!ours.Running()) {
                std::printf("FAILED: VexmoraU.exe ended while idle\n");
                result = 1;
            }
        }
    }

    if (auto settings = OpenSettings(false))
        for (int drive = 0; drive < Drives; ++drive) settings->DeleteKey(Model(drive));
    DeleteFile(driveSet);
    DeleteFile(folder + "\\Vexmora.log");
    RemoveDir(folder);
    return result;
}
