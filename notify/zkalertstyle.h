// How a desktop alert comes and goes: `TZkCustomDesktopAlertStyleHandler`
// steps a start animation, a display time and an end animation on one timer;
// `TZkFadeAlertStyleHandler` fades the window through its layered alpha and
// `TZkCenterGrowAlertStyleHandler` grows and shrinks a window region.
#pragma once

#include <memory>

#include "classlib/windows/forms.h"
#include "classlib/windows/timer.h"

using TSetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// SetLayeredWindowAttributes of user32, looked up once; null on a system
// without layered windows, where a fade just shows and hides.
TSetLayeredWindowAttributesProc LayeredWindowAttributesProc();

// Puts Proc in force for a scope (null: as on a system without it).
class TLayeredWindowAttributesOverride {
public:
    explicit TLayeredWindowAttributesOverride(TSetLayeredWindowAttributesProc Proc);
    ~TLayeredWindowAttributesOverride();
    TLayeredWindowAttributesOverride(const TLayeredWindowAttributesOverride&) = delete;
    TLayeredWindowAttributesOverride& operator=(const TLayeredWindowAttributesOverride&) = delete;

private:
    bool savedActive_;
    TSetLayeredWindowAttributesProc savedProc_;
};

enum TZkAlertAnimationState { aasIdle, aasStarting, aasEnding, aasDisplaying };

class TZkCustomDesktopAlertStyleHandler : public TPersistent {
    VX_CLASS(TZkCustomDesktopAlertStyleHandler, TPersistent)
public:
    // Form is the alert window the handler shows, animates and closes.
    explicit TZkCustomDesktopAlertStyleHandler(TCustomForm* Form);
    void BeforeDestruction() override;

    void Assign(TPersistent* Source) override;

    unsigned StartSteps() const { return startSteps_; }
    virtual void SetStartSteps(unsigned Value);
    unsigned EndSteps() const { return endSteps_; }
    virtual void SetEndSteps(unsigned Value);
    unsigned StartInterval() const { return startInterval_; }
    virtual void SetStartInterval(unsigned Value) { startInterval_ = Value; }
    unsigned EndInterval() const { return endInterval_; }
    virtual void SetEndInterval(unsigned Value) { endInterval_ = Value; }
    // Milliseconds between the end of the start animation and the moment the
    // window may end; 0 keeps it until it is closed.
    unsigned DisplayDuration() const { return displayDuration_; }
    void SetDisplayDuration(unsigned Value) { displayDuration_ = Value; }

    TZkAlertAnimationState State() const { return state_; }
    unsigned Step() const { return step_; }
    bool TimerRunning() const { return timer_->Enabled(); }
    // The one timer that steps every phase (tests fire its ticks).
    TTimer* Timer() const { return timer_.get(); }
    TCustomForm* Form() const { return form_; }

    virtual void StartAnimation();
    virtual void EndAnimation();
    virtual void BeginDisplay();
    virtual void AbortAnimation();
    // The window closed: nothing more may tick on it.
    void StopTimer() { timer_->SetEnabled(false); }

protected:
    virtual void StartAnimationTimer(TObject* Sender);
    virtual void EndAnimationTimer(TObject* Sender);
    virtual void DisplayTimer(TObject* Sender);
    virtual void PrepareStartAnimation();
    virtual void FinishStartAnimation() = 0;
    virtual void PrepareEndAnimation() = 0;
    virtual void FinishEndAnimation();

    TOwned<TTimer> timer_;
    TCustomForm* form_;
    unsigned startSteps_ = 10;
    unsigned endSteps_ = 10;
    unsigned startInterval_ = 25;
    unsigned endInterval_ = 50;
    unsigned displayDuration_ = 1400;
    unsigned step_ = 0;
    TZkAlertAnimationState state_ = aasIdle;
    // False once the handler is being freed: closing the window at the end
    // runs the alert's handlers, which may free it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The fade and the growth step alike: a level goes from its minimum to its
// maximum while starting and back while ending; they differ only in what a
// level is.
class TZkLevelAlertStyleHandler : public TZkCustomDesktopAlertStyleHandler {
    VX_CLASS(TZkLevelAlertStyleHandler, TZkCustomDesktopAlertStyleHandler)
public:
    explicit TZkLevelAlertStyleHandler(TCustomForm* Form) : inherited(Form) {}

    // Starting and displaying go on; an end is stopped at the full level.
    void AbortAnimation() override;

protected:
    // The level of a start or end step counted before it (0 .. steps - 1)
    // or after it (1 .. steps).
    virtual void ShowStartStep(unsigned Step) = 0;
    virtual void ShowEndStep(unsigned Step) = 0;
    virtual void ShowMinimum() = 0;
    virtual void ShowMaximum() = 0;

    void StartAnimationTimer(TObject* Sender) override;
    void EndAnimationTimer(TObject* Sender) override;
    void PrepareStartAnimation() override;
    void FinishStartAnimation() override;
    void PrepareEndAnimation() override;
    void FinishEndAnimation() override;
};

class TZkFadeAlertStyleHandler : public TZkLevelAlertStyleHandler {
    VX_CLASS(TZkFadeAlertStyleHandler, TZkLevelAlertStyleHandler)
public:
    explicit TZkFadeAlertStyleHandler(TCustomForm* Form) : inherited(Form) {}

    void Assign(TPersistent* Source) override;
    BYTE MinAlphaBlendValue() const { return min_; }
    void SetMinAlphaBlendValue(BYTE Value) { min_ = Value; }
    BYTE MaxAlphaBlendValue() const { return max_; }
    void SetMaxAlphaBlendValue(BYTE Value) { max_ = Value; }

protected:
    void ShowStartStep(unsigned Step) override;
    void ShowEndStep(unsigned Step) override;
    void ShowMinimum() override { SetAlpha(min_); }
    void ShowMaximum() override { SetAlpha(max_); }

private:
    void SetAlpha(BYTE Alpha);
    BYTE min_ = 0;
    BYTE max_ = 255;
};

class TZkCenterGrowAlertStyleHandler : public TZkLevelAlertStyleHandler {
    VX_CLASS(TZkCenterGrowAlertStyleHandler, TZkLevelAlertStyleHandler)
public:
    explicit TZkCenterGrowAlertStyleHandler(TCustomForm* Form) : inherited(Form) {}

    void Assign(TPersistent* Source) override;
    // Both clamp to 0..100.
    double MinGrowthPercentage() const { return min_; }
    void SetMinGrowthPercentage(double Value);
    double MaxGrowthPercentage() const { return max_; }
    void SetMaxGrowthPercentage(double Value);

protected:
    void ShowStartStep(unsigned Step) override;
    void ShowEndStep(unsigned Step) override;
    void ShowMinimum() override { SetRegion(min_); }
    void ShowMaximum() override { SetRegion(max_); }

private:
    void SetRegion(double Percentage);
    double min_ = 0.0;
    double max_ = 100.0;
};

// The visible box of a window Width x Height grown to Percentage, centred.
TRect CenterGrowBox(int Width, int Height, double Percentage);
