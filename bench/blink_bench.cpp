// Times one blinking tick with 100 styled labels on a form (the query and
// the phase messages, and the invalidation of every blinking label) against
// a bare message sent to each of 100 plain windows, and against the message
// plus the invalidation a phase change needs, in the same run; prints the
// ratios.
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/bench_args.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "controls/scblinking.h"
#include "controls/sclabel.h"

namespace {

using TClock = std::chrono::steady_clock;

double MicrosecondsPer(TClock::time_point start, int rounds) {
    return std::chrono::duration<double, std::micro>(TClock::now() - start).count() / rounds;
}

LRESULT CALLBACK QuietProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SC_BLINKQUERY) return 0;
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    constexpr int Labels = 100;
    const int Rounds = bench::Rounds(2000, 100);

    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    form->SetBounds(0, 0, 800, 600);
    for (int i = 0; i < Labels; ++i) {
        auto* label = Create<TScLabel>(form.get());
        label->SetParent(form.get());
        label->SetLeft((i % 10) * 75);
        label->SetTop((i / 10) * 25);
        label->SetCaption("Disk");
        label->SetBlinking(true);
    }
    form->Show();
    Application->ProcessMessages();

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = QuietProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VexmoraBlinkPeer";
    RegisterClassW(&windowClass);
    std::vector<HWND> windows;
    for (int i = 0; i < Labels; ++i)
        windows.push_back(CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, windowClass.hInstance, nullptr));

    TTimer* timer = BlinkingControlsList->Timer();
    // Both sides warm up first; the painting the ticks ask for is left out
    // of both (it happens later, when the loop is idle).
    for (int i = 0; i < 100; ++i) timer->TickForTest();
    auto start = TClock::now();
    for (int i = 0; i < Rounds; ++i) timer->TickForTest();
    const double tick = MicrosecondsPer(start, Rounds);

    start = TClock::now();
    for (int i = 0; i < Rounds; ++i)
        for (HWND window : windows) SendMessageW(window, SC_BLINKQUERY, 0, 0);
    const double broadcast = MicrosecondsPer(start, Rounds);

    // A second peer does what a phase change must do besides the message:
    // mark the window for repainting.
    start = TClock::now();
    for (int i = 0; i < Rounds; ++i)
        for (HWND window : windows) {
            SendMessageW(window, SC_BLINKQUERY, 0, 0);
            InvalidateRect(window, nullptr, FALSE);
        }
    const double invalidating = MicrosecondsPer(start, Rounds);

    std::printf("blinking tick, %d labels:                       %8.1f us\n", Labels, tick);
    std::printf("bare message to %d windows (peer):             %8.1f us\n", Labels, broadcast);
    std::printf("message and invalidation, %d windows (peer 2): %8.1f us\n", Labels, invalidating);
    std::printf("ratio tick / peer: %.2f\n", tick / broadcast);
    std::printf("ratio tick / peer 2: %.2f\n", tick / invalidating);

    for (HWND window : windows) DestroyWindow(window);
    Application->ProcessMessages();
    return 0;
}
