// Times the desktop alerts against peers measured in the same run and prints
// ratios: one fade step against a bare layered-attribute call, one alert
// background paint against one GradientFill of the same body, and stacking
// 1 to 50 alerts against showing and freeing as many bare forms (a ratio
// that grows with the count would mean quadratic repositioning).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "bench/bench_args.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/windows/application.h"
#include "notify/zkalertpaint.h"
#include "notify/zkdesktopalert.h"

namespace {

using TClock = std::chrono::steady_clock;

template <class F>
double MicrosecondsPer(int Count, F Work) {
    const auto start = TClock::now();
    for (int i = 0; i < Count; ++i) Work(i);
    return std::chrono::duration<double, std::micro>(TClock::now() - start).count() / Count;
}

// The best of several runs of each side, taken in turns, so that a busy
// moment of the display server does not fall on one side only.
template <class F, class G>
std::pair<double, double> BestOf(int Runs, F Ours, G Peer) {
    double ours = 1e300, peer = 1e300;
    for (int run = 0; run < Runs; ++run) {
        ours = std::min(ours, Ours());
        peer = std::min(peer, Peer());
    }
    return {ours, peer};
}

void Drain() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

void FadeStep() {
    TOwned<TZkFormDesktopAlert> form = MakeOwned<TZkFormDesktopAlert>(nullptr);
    TOwned<TZkFadeAlertStyleHandler> fade(Create<TZkFadeAlertStyleHandler>(form.get()));
    form->SetStyleHandler(fade.get());
    form->HandleNeeded();
    fade->SetDisplayDuration(0);
    HWND window = form->Handle();
    TSetLayeredWindowAttributesProc layered = LayeredWindowAttributesProc();
    if (!layered) {
        std::printf("fade step: no layered windows here\n");
        form->SetStyleHandler(nullptr);
        return;
    }
    fade->StartAnimation();
    const int steps = bench::Rounds(5000, 200);
    const auto [step, bare] = BestOf(
        bench::Rounds(5, 1),
        [&] {
            return MicrosecondsPer(steps, [&](int i) {
                if (i % 10 == 0) fade->StartAnimation();
                fade->Timer()->TickForTest();
            });
        },
        [&] { return MicrosecondsPer(steps, [&](int i) { layered(window, 0, BYTE(i), LWA_ALPHA); }); });
    std::printf("fade step %8.2f us, SetLayeredWindowAttributes %8.2f us: ratio %.2f\n", step, bare,
                step / bare);
    form->SetStyleHandler(nullptr);
}

void AlertPaint() {
    const TZkAlertWindowColors colors;
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(329, 76);
    TCanvas* canvas = bitmap->Canvas();
    HDC dc = canvas->Handle();
    const int paints = bench::Rounds(1000, 50);
    auto vertex = [](int x, int y, TColor c) {
        return TRIVERTEX{x, y, COLOR16((c & 0xFF) << 8), COLOR16(c & 0xFF00), COLOR16((c >> 8) & 0xFF00), 0};
    };
    TRIVERTEX corners[2] = {vertex(0, 9, colors.WindowFrom), vertex(329, 75, colors.WindowTo)};
    GRADIENT_RECT rect{0, 1};
    const auto [paint, gradient] = BestOf(
        bench::Rounds(5, 1),
        [&] {
            return MicrosecondsPer(paints, [&](int) {
                PaintDesktopAlertBackground(canvas, TRect(0, 0, 329, 76), colors, true);
            });
        },
        [&] {
            return MicrosecondsPer(
                paints, [&](int) { GradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_V); });
        });
    std::printf("alert paint %8.2f us, GradientFill of its body %8.2f us: ratio %.2f\n", paint, gradient,
                paint / gradient);
}

void Stacking() {
    for (int count : {1, 10, 25, 50}) {
        if (bench::IsShort() && count > 10) break;
        auto alertsRound = [&] {
            return MicrosecondsPer(1, [&](int) {
                TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
                for (int i = 0; i < count; ++i) {
                    auto* alert = Create<TZkDesktopAlert>(owner.get());
                    alert->StyleOptions()->SetDisplayDuration(600000);
                    alert->Execute();
                }
                owner.reset();
                Drain();
            });
        };
        auto formsRound = [&] {
            return MicrosecondsPer(1, [&](int) {
                TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
                for (int i = 0; i < count; ++i) {
                    auto* form = Create<TForm>(owner.get(), 0);
                    form->SetBorderStyle(bsNone);
                    form->SetBounds(0, 0, 329, 76);
                    form->Show();
                }
                owner.reset();
                Drain();
            });
        };
        const auto [alerts, forms] = BestOf(bench::Rounds(count < 25 ? 5 : 3, 1), alertsRound, formsRound);
        std::printf("%2d alerts stacked and freed %9.0f us, %2d bare forms %9.0f us: ratio %.2f\n", count,
                    alerts, count, forms, alerts / forms);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    FadeStep();
    AlertPaint();
    Stacking();
    return 0;
}
