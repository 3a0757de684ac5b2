#include "notify/simpletimer.h"

#include <memory>
#include <unordered_set>

#include "classlib/windows/allocatehwnd.h"

// One per process while any timer exists.
class TSimpleTimerHandler {
public:
    TSimpleTimerHandler() : window_(AllocateHWnd(TWndMethod(this, &TSimpleTimerHandler::WndProc))) {}
    ~TSimpleTimerHandler() { DeallocateHWnd(window_); }
    TSimpleTimerHandler(const TSimpleTimerHandler&) = delete;
    TSimpleTimerHandler& operator=(const TSimpleTimerHandler&) = delete;

    HWND Window() const { return window_; }
    int refCount = 0;
    int runningCount = 0;
    // A tick already queued for a timer that has been freed names an object
    // that is gone: only timers in this set are called.
    std::unordered_set<const TSimpleTimer*> live;

private:
    void WndProc(TMessage& Message) {
        if (Message.Msg == WM_TIMER) {
            auto* timer = reinterpret_cast<TSimpleTimer*>(Message.WParam);
            if (live.count(timer)) timer->Tick();
            return;
        }
        Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
    }

    HWND window_;
};

namespace {
// Never destroyed at exit: the window goes with the process, and the
// utility-window table it would be removed from may be gone by then.
std::unique_ptr<TSimpleTimerHandler>& Handler() {
    static auto* handler = new std::unique_ptr<TSimpleTimerHandler>();
    return *handler;
}

void AcquireHandler(const TSimpleTimer* timer) {
    auto& handler = Handler();
    if (!handler) handler = std::make_unique<TSimpleTimerHandler>();
    ++handler->refCount;
    handler->live.insert(timer);
}

void ReleaseHandler(const TSimpleTimer* timer) {
    auto& handler = Handler();
    if (!handler) return;
    handler->live.erase(timer);
    if (--handler->refCount <= 0) handler.reset();
}
}  // namespace

HWND SimpleTimerWindow() {
    auto& handler = Handler();
    return handler ? handler->Window() : nullptr;
}

int SimpleTimerRunningCount() {
    auto& handler = Handler();
    return handler ? handler->runningCount : 0;
}

TSimpleTimer::TSimpleTimer() {
    AcquireHandler(this);
}

TSimpleTimer::TSimpleTimer(unsigned Interval, const TNotifyEvent& OnTimer)
    : interval_(Interval), onTimer_(OnTimer) {
    AcquireHandler(this);
}

void TSimpleTimer::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (active_) StopTimer(true);
}

TSimpleTimer::~TSimpleTimer() {
    ReleaseHandler(this);
}

bool TSimpleTimer::Start(bool Enable) {
    return Enable ? StartTimer() : StopTimer(true);
}

bool TSimpleTimer::StartTimer() {
    auto& handler = Handler();
    if (interval_ == 0 || !handler) return false;
    if (active_) StopTimer(true);
    if (!SetTimer(handler->Window(), Id(), interval_, nullptr)) return false;
    active_ = true;
    ++handler->runningCount;
    return true;
}

bool TSimpleTimer::StopTimer(bool ClearActive) {
    if (ClearActive) active_ = false;
    auto& handler = Handler();
    if (!handler) return false;
    const bool killed = KillTimer(handler->Window(), Id()) != 0;
    if (killed && handler->runningCount > 0) --handler->runningCount;
    return killed;
}

void TSimpleTimer::SetInterval(unsigned Value) {
    if (Value == interval_) return;
    interval_ = Value;
    if (!active_) return;
    if (Value != 0)
        StartTimer();
    else
        StopTimer(false);
}

void TSimpleTimer::SetOnTimer(const TNotifyEvent& Value) {
    onTimer_ = Value;
    if (!Assigned(Value) && active_) StopTimer(false);
}

void TSimpleTimer::Tick() {
    if (Assigned(onTimer_)) onTimer_(this);
}
