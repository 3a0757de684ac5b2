// Starts the shipped program (build/app/VexmoraU.exe) with 24 simulated
// drives, all watched, and beside it a bare Win32 window program
// (bare_window.exe) under the same Wine; once both have started, prints the
// program's working set and private bytes against the bare program's, and
// the CPU each takes while idle (30 s; a few in a short run). The drives'
// subkeys it makes in the registry go again at the end.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "bench/bench_args.h"
#include "bench/program_memory.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"

namespace {

using bench::MemoryOf;
using bench::ProgramFolder;
using bench::TChild;
using bench::TMemory;

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

std::string ReadWholeFile(const std::string& Name) {
    std::ifstream file(Name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Wine answers another process's CPU times with zeros; the Linux process
// behind it keeps them. The process is found by a word of its command line.
int UnixProcessWith(const std::string& Marker) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int found = 0;
    do {
        const std::string name = entry.cFileName;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (ReadWholeFile("Z:\\proc\\" + name + "\\cmdline").find(Marker) != std::string::npos)
            found = std::atoi(name.c_str());
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// User and system time of a Linux process, in seconds (-1: unknown).
double CpuSecondsOf(int UnixProcess) {
    if (!UnixProcess) return -1;
    const std::string stat = ReadWholeFile("Z:\\proc\\" + std::to_string(UnixProcess) + "\\stat");
    const size_t end = stat.rfind(')');
    if (end == std::string::npos) return -1;
    // After the name: state, then fields 4 to 13; utime and stime are 14 and 15.
    std::istringstream fields(stat.substr(end + 2));
    std::string field;
    for (int i = 3; i <= 13; ++i) fields >> field;
    unsigned long long user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / 100.0;  // clock ticks of the kernel
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
        const std::string peerMarker = Format("footprint-peer-%u", GetCurrentProcessId());
        TChild ours("\"" + program + "\" --drives \"" + driveSet + "\"", folder);
        TChild peer("\"" + bare + "\" " + peerMarker, "");
        const bool ready = ours.Started() && peer.Started() && WaitForInputIdle(ours.Process(), 30000) == 0 &&
                           WaitForInputIdle(peer.Process(), 30000) == 0;
        // The tray icons come after the first paint; then the program waits.
        Sleep(static_cast<DWORD>(bench::Rounds(5000, 2000)));
        if (!ready || !ours.Running() || !peer.Running()) {
            std::printf("FAILED: %s did not start\n", ours.Running() ? "the bare program" : "VexmoraU.exe");
            result = 1;
        } else {
            const TMemory mine = MemoryOf(ours.Process()), theirs = MemoryOf(peer.Process());
            const int oursUnix = UnixProcessWith(folder), peerUnix = UnixProcessWith(peerMarker);
            const double cpuStart = CpuSecondsOf(oursUnix), peerStart = CpuSecondsOf(peerUnix);
            Sleep(static_cast<DWORD>(idleSeconds * 1000));
            const double cpu = CpuSecondsOf(oursUnix) - cpuStart;
            const double peerCpu = CpuSecondsOf(peerUnix) - peerStart;
            if (cpuStart < 0 || peerStart < 0) {
                std::printf("FAILED: the Linux processes behind the two programs were not found\n");
                result = 1;
            }
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
