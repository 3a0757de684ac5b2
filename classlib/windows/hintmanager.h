// The application's hint manager: follows the mouse over the controls, shows
// the short hint of a control with ShowHint after a pause (asking the control
// with CM_HINTSHOW first), hides it after a while, asks again when the cursor
// leaves the hint's cursor rectangle, and keeps the long hint of the control
// under the mouse for status lines.
#pragma once

#include <string>

#include "classlib/windows/hintwindow.h"

using TShowHintEvent = TDelegate<void(std::wstring& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class THintManager : public TComponent {
    VX_CLASS(THintManager, TComponent)
public:
    explicit THintManager(TComponent* AOwner);
    void BeforeDestruction() override;

    // Every mouse message a control receives (TApplication::HintMouseMessage
    // hands them here); Message carries the point in Control's coordinates.
    void HintMouseMessage(TControl* Control, TMessage& Message);
    // Hides the hint and forgets the control; the next hint waits the full
    // pause again.
    void CancelHint();
    // Shows the hint of the current hint control now, for a cursor at
    // CursorPos (screen).
    void ActivateHint(TPoint CursorPos);

    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value);
    // Milliseconds before a hint shows; before the next one while a hint is
    // up; before a shown hint hides.
    int HintPause() const { return hintPause_; }
    void SetHintPause(int Value) { hintPause_ = Value; }
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int Value) { hintShortPause_ = Value; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int Value) { hintHidePause_ = Value; }
    // Whether hints of controls with actions show the shortcut ("%s (%s)").
    bool HintShortCuts() const { return hintShortCuts_; }
    void SetHintShortCuts(bool Value) { hintShortCuts_ = Value; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor Value) { hintColor_ = Value; }

    // The long hint of the control under the mouse; OnHint fires when it
    // changes.
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& Value);

    // The hint window now showing, or null.
    THintWindow* HintWindow() const { return window_ && window_->Active() ? window_ : nullptr; }
    TControl* HintControl() const { return hintControl_; }

    TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    enum TTimerId : UINT_PTR { ShowTimer = 1, HideTimer = 2 };
    void TimerWndProc(TMessage& Message);
    void StartTimer(TTimerId Id, int Milliseconds);
    void StopTimer(TTimerId Id);
    void HideHint();
    void SetHintControl(TControl* Control);

    bool showHint_ = true;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    bool hintShortCuts_ = true;
    TColor hintColor_ = clInfoBk;
    std::wstring hint_;

    TControl* hintControl_ = nullptr;
    // A hint showed since the last CancelHint: the next one follows quickly.
    bool hintActive_ = false;
    // Screen rectangle the cursor may move in without the hint changing.
    TRect cursorRect_;
    TPoint lastCursor_;
    THintWindow* window_ = nullptr;
    HWND timerWindow_ = nullptr;
    // Bits (1 << TTimerId) of the timers set and not yet killed.
    unsigned runningTimers_ = 0;
};

// The program's hint manager, owned by the application, made on first use.
THintManager* HintManager();

// The hint of a control: its own, or the nearest parent's that has one.
std::wstring GetHint(TControl* Control);
// The control whose hint shows for Control: the nearest with ShowHint.
TControl* GetHintControl(TControl* Control);
