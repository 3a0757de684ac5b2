#include "classlib/windows/hintmanager.h"

#include <algorithm>

#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/application.h"
#include "classlib/windows/hints.h"
#include "classlib/windows/screen.h"

std::wstring GetHint(TControl* Control) {
    for (; Control; Control = Control->Parent())
        if (!Control->WideHint().empty()) return Control->WideHint();
    return {};
}

TControl* GetHintControl(TControl* Control) {
    while (Control && !Control->ShowHint()) Control = Control->Parent();
    return Control;
}

namespace {

// Cleared when the manager goes (with the application): the next call makes
// a new one.
THintManager* theManager = nullptr;

}  // namespace

THintManager* HintManager() {
    if (!theManager) theManager = Create<THintManager>(Application);
    return theManager;
}

THintManager::THintManager(TComponent* AOwner) : inherited(AOwner) {
    timerWindow_ = AllocateHWnd(TWndMethod(this, &THintManager::TimerWndProc));
}

void THintManager::BeforeDestruction() {
    CancelHint();
    if (timerWindow_) DeallocateHWnd(timerWindow_);
    timerWindow_ = nullptr;
    if (theManager == this) theManager = nullptr;
    inherited::BeforeDestruction();
}

void THintManager::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == hintControl_) {
        hintControl_ = nullptr;
        CancelHint();
    }
    if (AComponent == window_) window_ = nullptr;
}

void THintManager::SetShowHint(bool Value) {
    if (Value == showHint_) return;
    showHint_ = Value;
    if (!Value) CancelHint();
}

void THintManager::SetHint(const std::wstring& Value) {
    if (Value == hint_) return;
    hint_ = Value;
    if (Assigned(OnHint)) OnHint(this);
}

void THintManager::SetHintControl(TControl* Control) {
    if (Control == hintControl_) return;
    if (hintControl_) hintControl_->RemoveFreeNotification(this);
    hintControl_ = Control;
    if (hintControl_) hintControl_->FreeNotification(this);
}

void THintManager::StartTimer(TTimerId Id, int Milliseconds) {
    if (!timerWindow_) return;
    SetTimer(timerWindow_, Id, static_cast<UINT>(std::max(Milliseconds, 1)), nullptr);
    runningTimers_ |= 1u << Id;
}

void THintManager::StopTimer(TTimerId Id) {
    // Menus cancel the hint at every mouse move: a timer that is not running
    // costs no server request.
    if (!timerWindow_ || !(runningTimers_ & (1u << Id))) return;
    runningTimers_ &= ~(1u << Id);
    KillTimer(timerWindow_, Id);
}

void THintManager::TimerWndProc(TMessage& Message) {
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProcW(timerWindow_, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    StopTimer(static_cast<TTimerId>(Message.WParam));
    if (Message.WParam == ShowTimer)
        ActivateHint(lastCursor_);
    else if (Message.WParam == HideTimer)
        HideHint();
}

void THintManager::HideHint() {
    StopTimer(HideTimer);
    if (window_) window_->ReleaseHandle();
}

void THintManager::CancelHint() {
    StopTimer(ShowTimer);
    HideHint();
    SetHintControl(nullptr);
    hintActive_ = false;
    cursorRect_ = TRect();
}

void THintManager::HintMouseMessage(TControl* Control, TMessage& Message) {
    if (!Control) return;
    const TPoint cursor = Control->ClientToScreen(TPoint{Message.XPos(), Message.YPos()});
    TControl* under = FindDragTarget(cursor, true);
    SetHint(GetLongHint(GetHint(under)));
    if (!showHint_) return;
    switch (Message.Msg) {
        case WM_MOUSEMOVE:
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEWHEEL:
            CancelHint();
            return;
        default:
            return;
    }
    lastCursor_ = cursor;
    TControl* hintControl = GetHintControl(under);
    if (!hintControl || GetHint(hintControl).empty()) {
        CancelHint();
        return;
    }
    if (hintControl == hintControl_ && PtInRect(cursorRect_.Win32(), cursor)) return;
    // A new control, or the cursor left the part the hint was about.
    HideHint();
    SetHintControl(hintControl);
    const TPoint origin = hintControl->ClientToScreen(TPoint{0, 0});
    const TRect client = hintControl->ClientRect();
    cursorRect_ = TRect(client.Left + origin.X, client.Top + origin.Y, client.Right + origin.X,
                        client.Bottom + origin.Y);
    StartTimer(ShowTimer, hintActive_ ? hintShortPause_ : hintPause_);
}

void THintManager::ActivateHint(TPoint CursorPos) {
    StopTimer(ShowTimer);
    TControl* control = hintControl_;
    if (!control || !control->Showing()) {
        CancelHint();
        return;
    }
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = HintWindowClass;
    info.HintPos = TPoint{CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR)};
    info.HintMaxWidth = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = hintColor_;
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(CursorPos);
    info.HideTimeout = hintHidePause_;
    info.HintStr = GetShortHint(GetHint(control));

    bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (canShow && Assigned(OnShowHint)) OnShowHint(info.HintStr, canShow, info);
    // The control may have gone while it was asked.
    if (hintControl_ != control) return;

    const TPoint origin = control->ClientToScreen(TPoint{0, 0});
    cursorRect_ = TRect(info.CursorRect.Left + origin.X, info.CursorRect.Top + origin.Y,
                        info.CursorRect.Right + origin.X, info.CursorRect.Bottom + origin.Y);
    if (!canShow || info.HintStr.empty()) {
        HideHint();
        return;
    }
    THintWindowClass windowClass = info.HintWindowClass ? info.HintWindowClass : HintWindowClass;
    if (window_ && window_->ClassType() != windowClass) FreeAndNil(window_);
    if (!window_) {
        window_ = dynamic_cast<THintWindow*>(CreateInstance(windowClass, this));
        if (!window_) return;
    }
    window_->SetColor(info.HintColor);
    TRect rect = window_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    rect = TRect(rect.Left + info.HintPos.X, rect.Top + info.HintPos.Y, rect.Right + info.HintPos.X,
                 rect.Bottom + info.HintPos.Y);
    window_->ActivateHintData(rect, info.HintStr, info.HintData);
    hintActive_ = true;
    if (info.HideTimeout > 0) StartTimer(HideTimer, info.HideTimeout);
    if (info.ReshowTimeout > 0) StartTimer(ShowTimer, info.ReshowTimeout);
}
