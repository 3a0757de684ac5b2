// `TSimpleTimer`: a light timer object (no component) whose ticks arrive
// through one hidden window shared by every timer of the process. The timer
// keeps running after a tick; one-shot use stops it inside `OnTimer`.
#pragma once

#include "classlib/core/object.h"
#include "classlib/windows/messages.h"

class TSimpleTimer : public TObject {
    VX_CLASS(TSimpleTimer, TObject)
public:
    TSimpleTimer();
    TSimpleTimer(unsigned Interval, const TNotifyEvent& OnTimer);
    void BeforeDestruction() override;

    // The identity given to SetTimer: the object's own address.
    UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }
    bool Active() const { return active_; }
    unsigned Interval() const { return interval_; }
    // While active, a non-zero value restarts the timer with it; 0 stops the
    // system timer but leaves the timer active.
    void SetInterval(unsigned Value);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    // Removing the handler of an active timer stops the system timer but
    // leaves the timer active.
    void SetOnTimer(const TNotifyEvent& Value);

    // Start(true) = StartTimer; Start(false) = StopTimer(true).
    bool Start(bool Enable);
    // False (and nothing done) while the interval is 0; a running timer is
    // stopped first, so starting again restarts it.
    bool StartTimer();
    bool StopTimer(bool ClearActive);

protected:
    ~TSimpleTimer() override;

private:
    friend class TSimpleTimerHandler;
    void Tick();

    bool active_ = false;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
};

// The shared window while any timer exists (null otherwise), and how many
// system timers run on it.
HWND SimpleTimerWindow();
int SimpleTimerRunningCount();
