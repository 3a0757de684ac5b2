// Times the drawing of the scope chart and of gradients against plain GDI
// doing the same amount of work in the same run, and prints ratios:
//   a chart tick with 24 lines on 465x200 / one blit of that picture;
//   a full chart redraw / as many bare LineTo calls as it makes;
//   PaintGradient of 160x400 / one GradientFill of the same size.
#include <chrono>
#include <cstdio>
#include <functional>

#include "bench/bench_args.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/windows/application.h"
#include "controls/scgrafx.h"
#include "notify/zksimscope.h"

namespace {

using TClock = std::chrono::steady_clock;

// Microseconds per call, over enough calls to fill about a quarter second.
double Time(const std::function<void()>& Work) {
    Work();
    int calls = 0;
    const auto start = TClock::now();
    double elapsed = 0;
    do {
        Work();
        ++calls;
        elapsed = std::chrono::duration<double, std::micro>(TClock::now() - start).count();
    } while (elapsed < (bench::IsShort() ? 10000 : 250000));
    return elapsed / calls;
}

void Report(const char* What, double Ours, const char* Peer, double Theirs) {
    std::printf("%-34s %9.1f us   %-30s %9.1f us   ratio %6.2f\n", What, Ours, Peer, Theirs, Ours / Theirs);
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    auto scope = MakeOwned<TZkSimScope>(nullptr);
    scope->SetBounds(0, 0, 465, 200);
    for (int i = 0; i < 24; ++i) {
        TZkScopeLine* line = scope->Lines()->Add();
        line->SetColor(0x0F0F0F * (i + 1));
        line->SetPosition(4 * i);
    }
    int tick = 0;
    const double chartTick = Time([&] {
        for (int i = 0; i < 24; ++i) scope->Lines()->Items(i)->SetPosition((tick * 7 + i * 4) % 100);
        ++tick;
        scope->UpdateDisplay();
    });
    auto target = MakeOwned<TBitmap>();
    target->SetSize(465, 200);
    HDC targetDC = target->Canvas()->Handle();
    HDC chartDC = scope->Picture()->Canvas()->Handle();
    const double blit = Time([&] { BitBlt(targetDC, 0, 0, 465, 200, chartDC, 0, 0, SRCCOPY); });
    Report("chart tick, 24 lines, 465x200", chartTick, "one blit of the picture", blit);

    // Full history: every line holds a value per step.
    for (int t = 0; t < bench::Rounds(240, 24); ++t) scope->UpdateDisplay();
    const double redraw = Time([&] { scope->ClearScreen(); });
    int segments = 0;
    for (int i = 0; i < 24; ++i)
        segments += scope->Lines()->Items(i)->Values().Count() / scope->UpdateTimeSteps();
    TCanvas* canvas = target->Canvas();
    const double lines = Time([&] {
        canvas->MoveTo(0, 0);
        for (int s = 0; s < segments; ++s) canvas->LineTo(s % 465, (s * 13) % 200);
    });
    Report("full chart redraw", redraw, "same count of bare LineTo", lines);

    const TRect area(0, 0, 160, 400);
    auto gradientTarget = MakeOwned<TBitmap>();
    gradientTarget->SetSize(160, 400);
    const double gradient =
        Time([&] { PaintGradient(gradientTarget->Canvas(), area, 2, 0xD67563, 0xFFEFE3, 1); });
    HDC gradientDC = gradientTarget->Canvas()->Handle();
    TRIVERTEX vertices[2] = {{0, 0, 0x6300, 0x7500, 0xD600, 0}, {160, 400, 0xE300, 0xEF00, 0xFF00, 0}};
    GRADIENT_RECT rect{0, 1};
    const double fill = Time([&] { GradientFill(gradientDC, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V); });
    Report("PaintGradient 160x400", gradient, "one GradientFill", fill);
    std::printf("(%d line segments in a full redraw)\n", segments);
    return 0;
}
