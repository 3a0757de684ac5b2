// Starts the shipped program (build/app/VexmoraU.exe, or the one named by
// --program) three times side by side, each with 24 watched simulated
// drives: all quick (the peer), all taking 600 ms a read, and all quick but
// four that stop answering once the program runs. Samples each one's private
// bytes and threads through several refresh ticks and prints the slow and
// stuck programs' peaks against the quick one's, the stuck drives' share per
// drive. The drives' subkeys it makes in the registry go again at the end.
#include "classlib/core/win32.h"
// After windows.h.
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "bench/bench_args.h"
#include "bench/program_memory.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"

namespace {

constexpr int SlowReadMs = 600;
constexpr int StuckDrives = 4;
constexpr int StuckReadMs = 60000;

struct TKind {
    const char* Name;
    const char* ModelStem;
};

constexpr std::array<TKind, 3> Kinds{
    {{"quick", "FOOTPRINT QUICK"}, {"slow", "FOOTPRINT SLOW"}, {"stuck", "FOOTPRINT STUCK"}}};

std::string Model(const TKind& Kind, int Drive) {
    return Format("%s %02d", Kind.ModelStem, Drive);
}

// Delay(Drive) in ms a read; the padding gives each version of a file its
// own size, so that the program sees the change.
std::string DriveSetText(const TKind& Kind, int Drives, int (*Delay)(int), int Padding) {
    std::string text;
    for (int drive = 0; drive < Drives; ++drive) {
        text += Format("[drive %d]\nwmi model = %s\ndisk size = 500107862016\n", drive, Model(Kind, drive));
        text += Format("attribute 0 = 194 0x0022 %d %d 0 %d\n", 30 + drive, 30 + drive, 30 + drive);
        for (int slot = 1; slot < 12; ++slot)
            text += Format("attribute %d = %d 0x0033 100 100 36 0\n", slot, slot);
        if (Delay(drive)) text += Format("read delay = %d\n", Delay(drive));
    }
    return text + std::string(static_cast<size_t>(Padding), ';') + "\n";
}

int Quick(int) {
    return 0;
}
int Slow(int) {
    return SlowReadMs;
}
int Stuck(int Drive) {
    return Drive < StuckDrives ? StuckReadMs : 0;
}

void WriteFile(const std::string& Name, const std::string& Text) {
    // Written aside and moved over, so that no read finds it half written.
    std::ofstream(Name + ".new", std::ios::binary | std::ios::trunc) << Text;
    MoveFileExA((Name + ".new").c_str(), Name.c_str(), MOVEFILE_REPLACE_EXISTING);
}

int ThreadsOf(DWORD ProcessId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == ProcessId) ++count;
    CloseHandle(snapshot);
    return count;
}

struct TSamples {
    double LowMb = 1e9;
    double PeakMb = 0;
    int PeakThreads = 0;
};

std::string ProgramArgument(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--program") == 0) return argv[i + 1];
    return bench::ProgramFolder() + "..\\app\\VexmoraU.exe";
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    const std::string program = ProgramArgument(argc, argv);
    const int drives = bench::Rounds(24, 6);
    const std::string folder = GetTempDir() + Format("vexmora-slow-footprint-%u", GetCurrentProcessId());
    CreateDir(folder);
    std::array<std::string, Kinds.size()> files;
    for (size_t kind = 0; kind < Kinds.size(); ++kind) {
        // A folder each, as each program keeps its log in its own.
        const std::string own = folder + "\\" + Kinds[kind].Name;
        CreateDir(own);
        files[kind] = own + "\\drives.ini";
        WriteFile(files[kind], DriveSetText(Kinds[kind], drives, kind == 1 ? Slow : Quick, 0));
        for (int drive = 0; drive < drives; ++drive) OpenDriveSettings(Model(Kinds[kind], drive), true);
    }

    int result = 0;
    {
        std::vector<std::unique_ptr<bench::TChild>> programs;
        for (size_t kind = 0; kind < Kinds.size(); ++kind)
            programs.push_back(std::make_unique<bench::TChild>(
                "\"" + program + "\" --drives \"" + files[kind] + "\"", folder + "\\" + Kinds[kind].Name));
        bool ready = true;
        for (const auto& child : programs)
            ready = ready && child->Started() && WaitForInputIdle(child->Process(), 30000) == 0;
        // Detection reads the slow drives one after another at first.
        Sleep(static_cast<DWORD>(drives * SlowReadMs + 4000));
        // The next tick's reads of these drives do not return.
        WriteFile(files[2], DriveSetText(Kinds[2], drives, Stuck, 1));
        Sleep(2500);
        std::array<TSamples, Kinds.size()> samples;
        const DWORD window = static_cast<DWORD>(bench::Rounds(10000, 4000));
        const DWORD began = GetTickCount();
        for (int round = 0; GetTickCount() - began < window; ++round) {
            for (size_t kind = 0; kind < Kinds.size(); ++kind) {
                const double mb = bench::MemoryOf(programs[kind]->Process()).PrivateMb;
                samples[kind].LowMb = std::min(samples[kind].LowMb, mb);
                samples[kind].PeakMb = std::max(samples[kind].PeakMb, mb);
                // A snapshot of every thread costs more than the memory figure.
                if (round % 10 == 0)
                    samples[kind].PeakThreads = std::max(samples[kind].PeakThreads,
                                                         ThreadsOf(GetProcessId(programs[kind]->Process())));
            }
            Sleep(10);
        }
        for (const auto& child : programs) ready = ready && child->Running();
        if (!ready) {
            std::printf("FAILED: a VexmoraU.exe did not start or ended\n");
            result = 1;
        }
        std::printf(
            "Private bytes through %lu s of refresh ticks, %d simulated drives each, against all quick\n",
            static_cast<unsigned long>(window / 1000), drives);
        std::printf("  %-34s %8s %8s %8s %8s\n", "", "low MB", "peak MB", "ratio", "threads");
        const double quickPeak = std::max(samples[0].PeakMb, 0.001);
        const char* const labels[] = {"all quick", "all 600 ms a read", "quick, 4 stuck"};
        for (size_t kind = 0; kind < Kinds.size(); ++kind)
            std::printf("  %-34s %8.1f %8.1f %7.2f x %8d\n", labels[kind], samples[kind].LowMb,
                        samples[kind].PeakMb, samples[kind].PeakMb / quickPeak, samples[kind].PeakThreads);
        std::printf("  each stuck drive adds %.0f KB at the peak\n",
                    (samples[2].PeakMb - samples[0].PeakMb) * 1024 / StuckDrives);
    }

    if (auto settings = OpenSettings(false))
        for (const TKind& kind : Kinds)
            for (int drive = 0; drive < drives; ++drive) settings->DeleteKey(Model(kind, drive));
    for (const TKind& kind : Kinds) {
        const std::string own = folder + "\\" + kind.Name;
        DeleteFile(own + "\\drives.ini");
        DeleteFile(own + "\\Vexmora.log");
        DeleteFile(own + "\\VexmoraPower.log");
        RemoveDir(own);
    }
    RemoveDir(folder);
    return result;
}
