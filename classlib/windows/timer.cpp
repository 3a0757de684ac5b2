#include "classlib/windows/timer.h"

#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/application.h"

TTimer::TTimer(TComponent* AOwner) : inherited(AOwner) {
    window_ = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
    UpdateTimer();
}

void TTimer::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (running_) KillTimer(window_, 1);
    running_ = false;
    DeallocateHWnd(window_);
    window_ = nullptr;
}

void TTimer::UpdateTimer() {
    if (running_) KillTimer(window_, 1);
    running_ = false;
    // The handler is a public field that may be set later: the timer runs
    // whenever it is enabled with an interval, and a tick without a handler
    // does nothing.
    if (enabled_ && interval_ != 0 && window_) {
        if (!SetTimer(window_, 1, interval_, nullptr)) throw EOutOfResources("Not enough timers available");
        running_ = true;
    }
}

void TTimer::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    enabled_ = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == interval_) return;
    interval_ = Value;
    UpdateTimer();
}

void TTimer::Timer() {
    if (Assigned(OnTimer)) OnTimer(this);
}

void TTimer::WndProc(TMessage& Message) {
    if (Message.Msg == WM_TIMER) {
        try {
            Timer();
        } catch (...) {
            HandleCallbackException(this);
        }
        return;
    }
    Message.Result = DefWindowProcW(window_, Message.Msg, Message.WParam, Message.LParam);
}
