// The watching's costs, each against a peer measured in the same run:
// - one refresh of 24 simulated drives: the worker's reading and the GUI
//   thread's apply, against a bare read of the same drives;
// - a worst-case poll check (24 drives, every attribute not fine, nothing to
//   do about it) against the refresh worker's reading;
// - the GUI thread's round trip (a WM_NULL sent from another thread) while an
//   alert mail waits on a server that never answers, against idle.
// First: it brings winsock2.h, which must come before windows.h.
#include "bench/watch_world.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "app/mail_queue.h"
#include "app/refresh.h"
#include "bench/bench_args.h"
#include "classlib/stdctrls/listview.h"
#include "engine/drive_reading.h"

namespace {

// Median of Runs timings of Work, in milliseconds.
template <class F>
double Median(int Runs, F Work) {
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        const auto start = TClock::now();
        Work();
        times.push_back(MillisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void BareRead() {
    TSmartResult smart;
    std::string error;
    for (int drive = 0; drive < 24; ++drive) ReadDriveSmart(drive, smart, error);
}

void RefreshAgainstBareRead() {
    TWatchWorld world(WatchDriveSet(false, 40));
    const std::vector<int> rows = MainForm->RowDrives;
    double bare = 0, worker = 0, steady = 0, changed = 0, tick = 0;
    const int rounds = bench::Rounds(5, 1), runs = bench::Rounds(9, 3);
    // In turns, so that a change of load hits both sides alike.
    for (int round = 0; round < rounds; ++round) {
        bare += Median(runs, BareRead);
        worker += Median(runs, [&] { ReadRefreshSnapshot(1, rows); });
        const TRefreshSnapshot snapshot = ReadRefreshSnapshot(1, rows);
        unsigned sequence = MainForm->RefreshCounts().LastApplied;
        auto apply = [&](int Change) {
            TRefreshSnapshot copy = snapshot;
            copy.Sequence = ++sequence;
            for (TDriveReading& reading : copy.Readings) reading.Temperature += Change;
            MainForm->ApplyRefresh(std::move(copy));
        };
        steady += Median(runs, [&] { apply(0); });
        // Every cell and tray icon changes each time.
        int flip = 0;
        changed += Median(runs, [&] { apply(flip ^= 1); });
        apply(0);
        tick += Median(runs, [] { TWatchWorld::Tick(); });
    }
    std::printf("Refresh of 24 drives (bare read %.3f ms):\n", bare / rounds);
    std::printf("  worker reading                          %8.2f x the bare read\n", worker / bare);
    std::printf("  GUI apply, temperatures unchanged       %8.2f x the bare read\n", steady / bare);
    std::printf("  GUI apply, every temperature changed    %8.2f x the bare read\n", changed / bare);
    std::printf("  whole tick (thread, read, hand-over, apply) %8.2f x the bare read\n", tick / bare);
}

void PollAgainstRefresh() {
    TWatchWorld world(WatchDriveSet(true, 40));
    // Every attribute's action does nothing, so the check walks them all.
    for (int drive = 0; drive < 24; ++drive) {
        auto key = OpenDriveSettings(BenchModel(drive), false);
        TSmartResult smart;
        std::string error;
        ReadDriveSmart(drive, smart, error);
        for (int slot = 0; slot < smart.AttrCount; ++slot)
            key->WriteString(smart.AttrName[slot], "Never show message");
    }
    const std::vector<int> rows = MainForm->RowDrives;
    double refresh = 0, poll = 0;
    const int rounds = bench::Rounds(5, 1), runs = bench::Rounds(9, 3);
    for (int round = 0; round < rounds; ++round) {
        refresh += Median(runs, [&] { ReadRefreshSnapshot(1, rows); });
        poll += Median(runs, [] { MainForm->tmr2Timer(nullptr); });
    }
    std::printf(
        "Worst-case poll check of 24 drives, 29 attributes not fine each: %6.2f x the refresh reading "
        "(%.2f ms)\n",
        poll / refresh, refresh / rounds);
}

// Round trips of WM_NULL to the main window from another thread while the
// GUI thread runs its loop; the 50th and 95th percentiles in milliseconds.
std::pair<double, double> RoundTrips(int Count) {
    std::vector<double> times;
    std::atomic<bool> done{false};
    HWND window = MainForm->Handle();
    std::thread sender([&] {
        for (int i = 0; i < Count; ++i) {
            const auto start = TClock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            times.push_back(MillisecondsSince(start));
            Sleep(2);
        }
        done = true;
    });
    while (!done) {
        MSG message;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT) == WAIT_OBJECT_0) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    sender.join();
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 95 / 100]};
}

void LatencyDuringASlowMail() {
    TWatchWorld world(WatchDriveSet(false, 40));
    TSilentServer silent;
    auto settings = OpenSettings(true);
    settings->WriteString("SMTPServer", "127.0.0.1");
    settings->WriteInteger("Port", silent.Port());
    settings->WriteString("FromMail", "monitor@example.com");
    settings->WriteString("ToMail", "admin@example.com");
    settings.reset();
    const int trips = bench::Rounds(300, 30);
    const auto idle = RoundTrips(trips);
    MainForm->SendMail("BENCH DISK 00Message", "Temperature Celcius");
    while (!MainForm->MailQueue()->Sending()) Sleep(1);
    const auto busy = RoundTrips(trips);
    std::printf(
        "GUI round trip during a mail to a silent server: median %.2f x idle, 95th percentile %.2f x idle "
        "(idle %.3f / %.3f ms)\n",
        busy.first / idle.first, busy.second / idle.second, idle.first, idle.second);
    MainForm->StopWatching();
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    setvbuf(stdout, nullptr, _IONBF, 0);
    RefreshAgainstBareRead();
    PollAgainstRefresh();
    LatencyDuringASlowMail();
    return 0;
}
