// The dock's arrangement against its peer, a bare SetWindowPos per bar:
// arranging 1, 10 and 50 bars, the window moves each arrangement and each
// drag step makes, and how many arrangements one change costs.
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/bench_args.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "toolbar/bardockable.h"

namespace {

using TClock = std::chrono::steady_clock;

int moves = 0;

class TBenchBar : public TBarCustomDockableWindow {
    VX_CLASS(TBenchBar, TBarCustomDockableWindow)
public:
    using TBarCustomDockableWindow::TBarCustomDockableWindow;
    int Length = 40;
    void DoArrange(bool, TBarDockType, TSize& NewSize, TBarDock*) override { NewSize = TSize{Length, 22}; }
    void GetBaseSize(TSize& Size) override { Size = TSize{Length, 22}; }
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_WINDOWPOSCHANGED &&
            (Message.LParamAs<WINDOWPOS>()->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
            ++moves;
        TBarCustomDockableWindow::WndProc(Message);
    }
};

double Microseconds(TClock::time_point start, int count) {
    return std::chrono::duration<double, std::micro>(TClock::now() - start).count() / count;
}

void Run(int barCount) {
    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    form->SetBounds(50, 50, 900, 400);
    auto* dock = Create<TBarDock>(form.get());
    dock->SetParent(form.get());
    std::vector<TBenchBar*> bars;
    for (int i = 0; i < barCount; ++i) {
        auto* bar = Create<TBenchBar>(form.get());
        bar->Length = 30 + (i * 7) % 40;
        bar->SetDockRow(i / 12);
        bar->SetDockPos(i % 12 * 70);
        bar->SetParent(dock);
        bars.push_back(bar);
    }
    form->Show();
    Application->ProcessMessages();

    const int rounds = bench::Rounds(200, 10);
    // An arrangement that changes nothing on the screen.
    moves = 0;
    auto start = TClock::now();
    for (int i = 0; i < rounds; ++i) dock->ArrangeToolbars();
    const double arrange = Microseconds(start, rounds);
    const double idleMoves = static_cast<double>(moves) / rounds;

    // The peer: every bar moved once with SetWindowPos, there and back.
    start = TClock::now();
    for (int i = 0; i < rounds; ++i)
        for (TBenchBar* bar : bars) {
            const TRect r = bar->BoundsRect();
            SetWindowPos(bar->Handle(), nullptr, r.Left + (i % 2), r.Top, r.Width(), r.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    const double peer = Microseconds(start, rounds);
    for (TBenchBar* bar : bars) bar->SetBoundsRect(bar->BoundsRect());
    dock->ArrangeToolbars();

    // A drag step: the first bar's place changes along its row.
    const int before = dock->ArrangementCount();
    moves = 0;
    start = TClock::now();
    for (int i = 0; i < rounds; ++i) bars[0]->SetDockPos(i % 2 ? 0 : 5);
    const double step = Microseconds(start, rounds);
    const double stepMoves = static_cast<double>(moves) / rounds;
    const double arrangementsPerChange = static_cast<double>(dock->ArrangementCount() - before) / rounds;

    std::printf(
        "%2d bars: arrange %.3f x a SetWindowPos per bar (%.0f us); drag step %.3f x; "
        "moves per idle arrangement %.1f, per drag step %.1f; arrangements per change %.1f\n",
        barCount, arrange / peer, peer, step / peer, idleMoves, stepMoves, arrangementsPerChange);
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    for (int count : {1, 10, 50}) Run(count);
    return 0;
}
