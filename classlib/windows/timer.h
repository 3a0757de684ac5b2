// `TTimer`: WM_TIMER on a hidden window of its own. `Enabled` and
// `Interval` are kept apart: an enabled timer with interval 0 runs nothing,
// and a new interval starts the count again.
#pragma once

#include "classlib/core/component.h"
#include "classlib/windows/messages.h"

class TTimer : public TComponent {
    VX_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* AOwner);
    void BeforeDestruction() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned Value);

    TNotifyEvent OnTimer;

    // Tests fire a tick without waiting for WM_TIMER.
    void TickForTest() { Timer(); }

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& Message);

    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool running_ = false;
    HWND window_ = nullptr;
};
