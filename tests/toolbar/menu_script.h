// Drives a running menu loop from inside: steps queued here run one at a
// time on the GUI thread, each when the loop dispatches the probe message
// posted after the previous step's own posted input, so no step waits on
// time.
#pragma once

#include <deque>
#include <functional>

#include "classlib/windows/allocatehwnd.h"
#include "toolbar/barmodal.h"

constexpr UINT WM_MENU_PROBE = WM_APP + 77;

class TMenuScript {
public:
    TMenuScript() : wnd_(AllocateHWnd(TWndMethod(this, &TMenuScript::WndProc))) {}
    ~TMenuScript() { DeallocateHWnd(wnd_); }
    TMenuScript(const TMenuScript&) = delete;
    TMenuScript& operator=(const TMenuScript&) = delete;

    void Then(std::function<void()> Step) { steps_.push_back(std::move(Step)); }
    // Queues the first step; the rest follow one probe each.
    void Start() { PostMessageW(wnd_, WM_MENU_PROBE, 0, 0); }
    int Remaining() const { return static_cast<int>(steps_.size()); }

    // Input for the loop: it reads the thread's queue whatever the window.
    void Key(WORD VirtualKey) {
        PostMessageW(wnd_, WM_KEYDOWN, VirtualKey, 1);
        PostMessageW(wnd_, WM_KEYUP, VirtualKey, 0xC0000001);
    }
    void Char(wchar_t Ch) { PostMessageW(wnd_, WM_CHAR, Ch, 1); }
    void Post(UINT Msg, WPARAM W = 0, LPARAM L = 0) { PostMessageW(wnd_, Msg, W, L); }
    // The deepest open popup's view, through the loop's capture window.
    static TBarView* Deepest(TBarView* Root) {
        TBarView* v = Root;
        while (v && v->OpenViewerView()) v = v->OpenViewerView();
        return v;
    }

private:
    void WndProc(TMessage& Message) {
        if (Message.Msg == WM_MENU_PROBE) {
            if (!steps_.empty()) {
                auto step = std::move(steps_.front());
                steps_.pop_front();
                step();
                if (!steps_.empty()) PostMessageW(wnd_, WM_MENU_PROBE, 0, 0);
            }
            return;
        }
        Message.Result = DefWindowProcW(wnd_, Message.Msg, Message.WParam, Message.LParam);
    }
    HWND wnd_;
    std::deque<std::function<void()>> steps_;
};
