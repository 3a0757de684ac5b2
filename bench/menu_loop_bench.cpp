// The menu loop against its peers, as ratios measured in one run:
//  - a press to the popup on the screen and painted, against the class
//    library's native popup menu;
//  - the loop's cost per posted mouse move, against a bare peek/dispatch loop;
//  - the thread's CPU time over one second with a popup open and idle, against
//    the same second asleep.
// A toolbar lays its items out through its view: bar_layout_bench times that
// layout for 10, 100 and 1,000 items beside the common-controls toolbar.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_args.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "toolbar/barmodal.h"
#include "toolbar/barpopupmenu.h"

namespace {

using TClock = std::chrono::steady_clock;
constexpr UINT WM_PROBE = WM_APP + 5;

double Us(TClock::time_point A, TClock::time_point B) {
    return std::chrono::duration<double, std::micro>(B - A).count();
}

// Runs Step on the GUI thread whenever a probe message is dispatched.
class TProbe {
public:
    TProbe() : wnd_(AllocateHWnd(TWndMethod(this, &TProbe::WndProc))) {}
    ~TProbe() { DeallocateHWnd(wnd_); }
    HWND Wnd() const { return wnd_; }
    std::function<void()> Step;
    void Post() { PostMessageW(wnd_, WM_PROBE, 0, 0); }

private:
    void WndProc(TMessage& M) {
        if (M.Msg == WM_PROBE) {
            if (Step) Step();
            return;
        }
        M.Result = DefWindowProcW(wnd_, M.Msg, M.WParam, M.LParam);
    }
    HWND wnd_;
};

void FillItems(TBarCustomItem* Root, TComponent* Owner, int Count) {
    for (int i = 0; i < Count; ++i) {
        auto* item = Create<TBarCustomItem>(Owner);
        item->SetCaption("Command " + std::to_string(i));
        Root->Add(item);
    }
}

double Median(std::vector<double> V) {
    std::sort(V.begin(), V.end());
    return V[V.size() / 2];
}

BOOL CALLBACK PaintIfVisible(HWND Wnd, LPARAM) {
    if (IsWindowVisible(Wnd)) UpdateWindow(Wnd);
    return TRUE;
}

// A menu is visible once its window shows and has painted: a paint still
// pending when the menu's loop starts is part of the time.
void PaintPendingWindows() {
    EnumThreadWindows(GetCurrentThreadId(), &PaintIfVisible, 0);
}

// Press to visible: the call starts the clock, the probe (first message the
// menu's own loop dispatches) stops it once the menu window shows and has
// painted, and ends the menu.
double OursToVisible(TBarPopupMenu* Menu, TProbe& Probe) {
    TClock::time_point start, shown;
    Probe.Step = [&] {
        PaintPendingWindows();
        shown = TClock::now();
        PostMessageW(Probe.Wnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    Probe.Post();
    start = TClock::now();
    Menu->PopupEx(200, 200, true);
    return Us(start, shown);
}

double NativeToVisible(TPopupMenu* Menu, TProbe& Probe) {
    TClock::time_point start, shown;
    Probe.Step = [&] {
        PaintPendingWindows();
        shown = TClock::now();
        EndMenu();
    };
    Probe.Post();
    start = TClock::now();
    Menu->Popup(200, 200);
    return Us(start, shown);
}

// Per posted mouse move: N moves queued, alternating between two items so
// that the selection changes, then a closing probe.
double OursPerMove(TBarPopupMenu* Menu, TProbe& Probe, HWND Target, int N) {
    TClock::time_point start, end;
    int phase = 0;
    Probe.Step = [&] {
        if (phase++ == 0) {
            for (int i = 0; i < N; ++i) {
                SetCursorPos(230, 200 + 8 + (i % 2) * 20);
                PostMessageW(Target, WM_MOUSEMOVE, 0, 0);
            }
            Probe.Post();
            start = TClock::now();
        } else {
            end = TClock::now();
            PostMessageW(Probe.Wnd(), WM_KEYDOWN, VK_ESCAPE, 1);
        }
    };
    Probe.Post();
    Menu->PopupEx(200, 200, true);
    SetCursorPos(5, 5);
    return Us(start, end) / N;
}

double BarePerMove(HWND Target, int N) {
    for (int i = 0; i < N; ++i) {
        SetCursorPos(230, 200 + 8 + (i % 2) * 20);
        PostMessageW(Target, WM_MOUSEMOVE, 0, 0);
    }
    PostMessageW(Target, WM_NULL, 0, 0x5EED);
    const auto start = TClock::now();
    MSG msg;
    for (;;) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_NULL && msg.lParam == 0x5EED) break;
        DispatchMessageW(&msg);
    }
    SetCursorPos(5, 5);
    return Us(start, TClock::now()) / N;
}

double ThreadCpuMs() {
    FILETIME create, exit, kernel, user;
    GetThreadTimes(GetCurrentThread(), &create, &exit, &kernel, &user);
    auto ms = [](FILETIME F) {
        return (static_cast<double>(F.dwHighDateTime) * 4294967296.0 + F.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

// CPU over one idle second with the menu open; a helper thread ends it.
double OursIdleCpu(TBarPopupMenu* Menu, TProbe& Probe) {
    double before = 0;
    Probe.Step = [&] { before = ThreadCpuMs(); };
    Probe.Post();
    const HWND target = Probe.Wnd();
    std::thread closer([target] {
        Sleep(1000);
        PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    Menu->PopupEx(200, 200, true);
    const double after = ThreadCpuMs();
    closer.join();
    return after - before;
}

double SleepingCpu() {
    const double before = ThreadCpuMs();
    Sleep(1000);
    return ThreadCpuMs() - before;
}

}  // namespace

int main(int argc, char** argv) {
    bench::ReadArguments(argc, argv);
    Application->Initialize();
    TForm* form = Create<TForm>(nullptr, 0);
    form->SetBounds(50, 50, 500, 300);
    form->Show();
    SetForegroundWindow(form->Handle());
    Application->ProcessMessages();
    SetCursorPos(5, 5);
    TProbe probe;

    auto* ours = Create<TBarPopupMenu>(form);
    FillItems(ours->Items(), form, 12);
    auto* native = Create<TPopupMenu>(form);
    for (int i = 0; i < 12; ++i) {
        auto* item = Create<TMenuItem>(native);
        item->SetCaption("Command " + std::to_string(i));
        native->Items()->Add(item);
    }

    // Interleaved trials; medians. The two lines that name the menu's own
    // measures keep their wording and columns, to be read side by side over
    // time: ours, the peer's (microseconds per operation), ours / peer.
    std::printf("times in microseconds per operation: ours, peer, ours / peer\n");
    std::vector<double> a, b;
    for (int t = 0; t < bench::Rounds(41, 2); ++t) {
        a.push_back(OursToVisible(ours, probe));
        Application->ProcessMessages();
        b.push_back(NativeToVisible(native, probe));
        Application->ProcessMessages();
    }
    std::printf("press to popup visible   %.0f   %.0f   %.2f\n", Median(a), Median(b), Median(a) / Median(b));

    a.clear();
    b.clear();
    for (int t = 0; t < bench::Rounds(15, 1); ++t) {
        a.push_back(OursPerMove(ours, probe, form->Handle(), 400));
        Application->ProcessMessages();
        b.push_back(BarePerMove(form->Handle(), 400));
        Application->ProcessMessages();
    }
    std::printf("per posted mouse move   %.1f   %.1f   %.2f\n", Median(a), Median(b), Median(a) / Median(b));

    const double idle = OursIdleCpu(ours, probe);
    const double asleep = SleepingCpu();
    std::printf("CPU over 1 s open and idle   %.1fms, asleep %.1fms, %.2f%% of the second\n", idle, asleep,
                idle / 10.0);

    form->Free();
    return 0;
}
