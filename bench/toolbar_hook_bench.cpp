// What a dock costs the rest of the program: refreshing a 24-row list view
// (every cell's text set again, then the window updated) on a form without a
// toolbar, with a docked toolbar, and with a floating one. The docked ratio
// must stay near 1: the thread's hooks exist only while a bar floats.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

#include "bench/bench_args.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "toolbar/bardockable.h"

namespace {

using TClock = std::chrono::steady_clock;

class TBenchBar : public TBarCustomDockableWindow {
    VX_CLASS(TBenchBar, TBarCustomDockableWindow)
public:
    using TBarCustomDockableWindow::TBarCustomDockableWindow;
    void DoArrange(bool, TBarDockType, TSize& NewSize, TBarDock*) override { NewSize = TSize{120, 22}; }
    void GetBaseSize(TSize& Size) override { Size = TSize{120, 22}; }
};

TListView* MakeList(TForm* form) {
    auto* list = Create<TListView>(form);
    list->SetParent(form);
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    for (const char* title : {"Drive", "Size", "Temperature", "Status"})
        list->Columns()->Add()->SetCaption(title);
    for (int row = 0; row < 24; ++row) {
        TListItem* item = list->Items()->Add();
        item->SetCaption("Drive " + std::to_string(row));
        for (int column = 0; column < 3; ++column) item->SubItems()->Add("-");
    }
    return list;
}

// Microseconds per refresh of every cell.
double TimeRefreshes(TListView* list, int rounds) {
    const auto start = TClock::now();
    for (int round = 0; round < rounds; ++round) {
        for (int row = 0; row < 24; ++row) {
            TListItem* item = list->Items()->Item(row);
            item->SubItems()->SetStrings(1, std::to_string(30 + (round + row) % 20) + " C");
        }
        list->Repaint();
        Application->ProcessMessages();
    }
    return std::chrono::duration<double, std::micro>(TClock::now() - start).count() / rounds;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    const int rounds = bench::Rounds(40, 5);
    TOwned<TForm> plain(Create<TForm>(nullptr, 0));
    plain->SetBounds(50, 50, 500, 600);
    TListView* plainList = MakeList(plain.get());
    plain->Show();

    TOwned<TForm> docked(Create<TForm>(nullptr, 0));
    docked->SetBounds(600, 50, 500, 600);
    auto* dock = Create<TBarDock>(docked.get());
    dock->SetParent(docked.get());
    auto* bar = Create<TBenchBar>(docked.get());
    bar->SetParent(dock);
    TListView* dockedList = MakeList(docked.get());
    docked->Show();
    Application->ProcessMessages();

    TimeRefreshes(plainList, 20);  // warm up
    TimeRefreshes(dockedList, 20);
    // Interleaved trials, so that load from elsewhere falls on both alike;
    // the median ratio of each pair is reported. For the floating figure the
    // bar floats only while its form's list is timed: the hooks tax the
    // whole thread, the peer included.
    auto medianRatio = [&](int trials, bool floatWhileTimed) {
        std::vector<double> ratios;
        double bare = 0;
        for (int trial = 0; trial < trials; ++trial) {
            const double plainTime = TimeRefreshes(plainList, rounds);
            if (floatWhileTimed) bar->SetFloating(true);
            Application->ProcessMessages();
            const double dockedTime = TimeRefreshes(dockedList, rounds);
            if (floatWhileTimed) bar->SetParent(dock);
            Application->ProcessMessages();
            ratios.push_back(dockedTime / plainTime);
            bare += plainTime / trials;
        }
        std::sort(ratios.begin(), ratios.end());
        return std::make_pair(ratios[ratios.size() / 2], bare);
    };
    const int trials = bench::Rounds(7, 1);
    const auto [withDock, bare] = medianRatio(trials, false);
    const double withFloating = medianRatio(trials, true).first;
    const double dockedAgain = medianRatio(trials, false).first;

    std::printf(
        "24-row list refresh, median of %d interleaved trials of %d rounds; ratio to a form without a\n"
        "toolbar (%.0f us per refresh)\n",
        trials, rounds, bare);
    std::printf("  docked toolbar:          %.2f\n", withDock);
    std::printf("  floating toolbar:        %.2f  (the thread's hooks are installed)\n", withFloating);
    std::printf("  docked again:            %.2f\n", dockedAgain);
    return 0;
}
