// A soak of the 2-second refresh: 2,000 ticks over 24 simulated drives, one of
// them above its threshold with "Show message", so every tick raises a real
// desktop alert. The alerts are closed every 25 ticks; at each checkpoint,
// once they have gone, it prints the process's threads, the class library's
// GDI and USER handle counts and the private bytes (the committed private
// memory, as Wine reports it), and the change after the first checkpoint's
// warm-up. Flat lines are the result to look for.
#include "bench/watch_world.h"
// After windows.h, which the world brings.
#include <psapi.h>
#include <tlhelp32.h>

#include <cctype>

#include "app/desktop_alerts.h"
#include "bench/bench_args.h"
#include "classlib/graphics/handles.h"
#include "notify/zkdesktopalert.h"

namespace {

constexpr int CloseEvery = 25;

struct TFigures {
    int Threads = 0;
    long Gdi = 0;
    long User = 0;
    double PrivateMb = 0;
};

// Owns a toolhelp snapshot.
class TSnapshot {
public:
    TSnapshot() : handle_(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0)) {}
    ~TSnapshot() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    TSnapshot(const TSnapshot&) = delete;
    TSnapshot& operator=(const TSnapshot&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

int ThreadCount() {
    TSnapshot snapshot;
    if (snapshot.Get() == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    return count;
}

TFigures Measure() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    // Wine leaves PrivateUsage empty; the page-file usage is the same commit charge.
    const SIZE_T bytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return {ThreadCount(), GdiHandleCount(), UserHandleCount(), bytes / (1024.0 * 1024.0)};
}

// Closes every alert that is open and waits until each has freed itself.
void CloseAlerts(int Base) {
    TComponent* owner = MainForm->ZkDesktopAlert1;
    for (int i = owner->ComponentCount() - 1; i >= 0; --i)
        if (auto* alert = dynamic_cast<TZkDesktopAlert*>(owner->Components(i)))
            if (alert->Window()) alert->Window()->Close();
    const auto start = TClock::now();
    while (owner->ComponentCount() > Base && MillisecondsSince(start) < 10000) {
        Application->ProcessMessages();
        Sleep(1);
    }
}

// Raises each alert for real and counts it.
class TCountingAlerts : public TDesktopAlerts {
public:
    int shown = 0;
    void Show(TComponent* Owner, TPicture* Image, const std::string& MessageText,
              const std::string& HeaderText) override {
        ++shown;
        TDesktopAlerts::Default().Show(Owner, Image, MessageText, HeaderText);
    }
};

}  // namespace

// "watch_soak cool" runs the same ticks with the drive below its threshold,
// to tell what the alerts cost from what the refresh does; a number sets how
// many ticks (2,000 by default); "--short" runs 100, checked every 50.
int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    const bool brief = bench::ReadArguments(argc, argv);
    const int CheckEvery = brief ? 50 : 250;
    bool cool = false;
    int Ticks = brief ? 100 : 2000;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "cool")
            cool = true;
        else if (!argument.empty() && std::isdigit(static_cast<unsigned char>(argument[0])))
            Ticks = std::max(CheckEvery, std::atoi(argument.c_str()));
    }
    TWatchWorld world(WatchDriveSet(false, cool ? 40 : 50));
    TCountingAlerts alerts;
    TServiceOverride<TDesktopAlerts> counting(alerts);
    auto key = OpenDriveSettings(BenchModel(0), false);
    key->WriteInteger("Temperature", 45);
    key->WriteString("Temperature Celcius", "Show message");
    key.reset();
    MainForm->tmr2Timer(nullptr);  // the poll makes the threshold known
    const int base = MainForm->ZkDesktopAlert1->ComponentCount();

    std::printf("%6s %8s %8s %8s %8s %12s %8s\n", "tick", "threads", "GDI", "USER", "private", "alerts made",
                "ms/tick");
    TFigures warm;
    auto since = TClock::now();
    for (int tick = 0; tick <= Ticks; ++tick) {
        if (tick > 0) TWatchWorld::Tick();
        if (tick % CloseEvery == 0) CloseAlerts(base);
        if (tick % CheckEvery == 0) {
            const double perTick = tick ? MillisecondsSince(since) / CheckEvery : 0;
            const TFigures now = Measure();
            if (tick == CheckEvery) warm = now;
            std::printf("%6d %8d %8ld %8ld %7.1fM %12d %8.2f\n", tick, now.Threads, now.Gdi, now.User,
                        now.PrivateMb, alerts.shown, perTick);
            since = TClock::now();
        }
    }
    const TFigures last = Measure();
    std::printf(
        "change from tick %d to %d: threads %+d, GDI %+ld, USER %+ld, private %+.1f MB; %d alerts raised\n",
        CheckEvery, Ticks, last.Threads - warm.Threads, last.Gdi - warm.Gdi, last.User - warm.User,
        last.PrivateMb - warm.PrivateMb, alerts.shown);
    return 0;
}
