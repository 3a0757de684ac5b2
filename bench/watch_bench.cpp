// The watching's costs, each against a peer measured in the same run:
// - one refresh of 24 simulated drives: the worker's reading and the GUI
//   thread's apply, against a bare read of the same drives, and the apply
//   that changes every temperature against as many bare tray icon changes;
// - a worst-case poll check (24 drives, every attribute not fine, nothing to
//   do about it) against the refresh worker's reading;
// - the GUI thread's round trip (a WM_NULL sent from another thread) while an
//   alert mail waits on a server that never answers, against idle.
// First: it brings winsock2.h, which must come before windows.h.
#include "bench/watch_world.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <utility>
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

// The shell's own part of a refresh that changes every temperature: as many
// tray icons, each given a fresh 16x16 icon made from ready pixels and handed
// over with a bare NIM_MODIFY, the icon it replaces freed.
class TBareIconChanges {
public:
    explicit TBareIconChanges(int Count)
        : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {
        for (int variant = 0; variant < 2; ++variant) {
            const BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
            void* bits = nullptr;
            colour_[variant] = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            auto* pixels = static_cast<DWORD*>(bits);
            for (int i = 0; i < 16 * 16; ++i) pixels[i] = (i % 16 + i / 16 + variant) % 3 ? 0xFFFF00 : 0;
        }
        const BYTE maskBits[32] = {};
        mask_ = CreateBitmap(16, 16, 1, 1, maskBits);
        icons_.resize(static_cast<size_t>(Count));
        for (int i = 0; i < Count; ++i) Send(NIM_ADD, i);
    }
    ~TBareIconChanges() {
        for (size_t i = 0; i < icons_.size(); ++i) {
            NOTIFYICONDATAW data = Data(static_cast<int>(i));
            Shell_NotifyIconW(NIM_DELETE, &data);
            DestroyIcon(icons_[i]);
        }
        DeleteObject(mask_);
        for (HBITMAP bitmap : colour_) DeleteObject(bitmap);
        DestroyWindow(window_);
    }
    TBareIconChanges(const TBareIconChanges&) = delete;
    TBareIconChanges& operator=(const TBareIconChanges&) = delete;

    void ChangeAll() {
        variant_ ^= 1;
        for (int i = 0; i < static_cast<int>(icons_.size()); ++i) Send(NIM_MODIFY, i);
    }

private:
    NOTIFYICONDATAW Data(int Index) const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = window_;
        data.uID = static_cast<UINT>(Index + 1);
        data.uFlags = NIF_ICON | NIF_TIP;
        data.hIcon = icons_[static_cast<size_t>(Index)];
        std::swprintf(data.szTip, 128, L"BENCH DISK %02d", Index);
        return data;
    }
    void Send(DWORD Message, int Index) {
        ICONINFO info{TRUE, 0, 0, mask_, colour_[variant_]};
        HICON old = std::exchange(icons_[static_cast<size_t>(Index)], CreateIconIndirect(&info));
        NOTIFYICONDATAW data = Data(Index);
        Shell_NotifyIconW(Message, &data);
        if (old) DestroyIcon(old);
    }

    HWND window_;
    HBITMAP colour_[2] = {};
    HBITMAP mask_ = nullptr;
    int variant_ = 0;
    std::vector<HICON> icons_;
};

void RefreshAgainstBareRead() {
    TWatchWorld world(WatchDriveSet(false, 40));
    const std::vector<int> rows = MainForm->RowDrives;
    TBareIconChanges bareIcons(static_cast<int>(rows.size()));
    double bare = 0, worker = 0, steady = 0, changed = 0, icons = 0, tick = 0;
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
        icons += Median(runs, [&] { bareIcons.ChangeAll(); });
        apply(0);
        tick += Median(runs, [] { TWatchWorld::Tick(); });
    }
    std::printf("Refresh of 24 drives (bare read %.3f ms, bare icon changes %.3f ms):\n", bare / rounds,
                icons / rounds);
    std::printf("  worker reading                          %8.2f x the bare read\n", worker / bare);
    std::printf("  GUI apply, temperatures unchanged       %8.2f x the bare read\n", steady / bare);
    std::printf("  GUI apply, every temperature changed    %8.2f x the bare read\n", changed / bare);
    std::printf("  whole tick (thread, read, hand-over, apply) %8.2f x the bare read\n", tick / bare);
    std::printf("GUI apply, every temperature changed: ratio %.2f to the same bare icon changes\n",
                changed / icons);
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
    std::printf("Refresh reading of 24 drives: %.3f ms\n", refresh / rounds);
    std::printf(
        "Worst-case poll check of 24 drives, 29 attributes not fine each: %.2f x the refresh reading\n",
        poll / refresh);
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
