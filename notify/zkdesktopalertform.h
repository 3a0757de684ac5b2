// `TZkFormDesktopAlert`: the borderless, topmost pop-up of one desktop alert:
// caption band with grip, gradient body, image, bold header, word-wrapped
// message, close and drop-down buttons. It shows without taking the focus,
// stays while the mouse is over it, can be dragged, and on the self-release
// message frees its component and then itself.
#pragma once

#include "classlib/stdctrls/image.h"
#include "classlib/stdctrls/label.h"
#include "classlib/windows/actions.h"
#include "classlib/windows/timer.h"
#include "foundation/zkexforms.h"
#include "notify/zkalertmessagelabel.h"
#include "notify/zkalertpaint.h"
#include "notify/zkalertstyle.h"
#include "notify/zkdesktopalertbutton.h"

// Posted to an alert window (WParam = the window's handle) once its
// self-freeing alert has closed.
constexpr UINT WM_ZK_ALERT_RELEASE = 0x7E9;

struct TZkAlertWindowFlags {
    bool CanMove = true;
    bool CanMoveAnywhere = true;
    bool CanClose = true;
    bool CanClick = true;
    bool AutoFocus = false;
};

class TZkFormDesktopAlert : public TZkExCustomForm {
    VX_CLASS(TZkFormDesktopAlert, TZkExCustomForm)
public:
    explicit TZkFormDesktopAlert(TComponent* AOwner);

    // Makes the window topmost and runs the show handling; the style
    // handler's start animation shows the window, never activating it.
    void ShowNoActivate();
    // Moves the window unless it is there already or the mouse is over it;
    // such a move is not the user's.
    void SetNewOrigin(int X, int Y);
    void CentreIn(const TRect& Rect);
    // Closes the window when closing is allowed.
    void CloseIfAllowed(TObject* Sender);
    // Inside a show or a close, whose handlers may free the alert.
    bool Busy() const { return showing_ > 0 || closing_ > 0; }
    bool InShow() const { return showing_ > 0; }
    // The alert went while this window was showing or closing: nothing of
    // it is reached any more, the showing stops, and the window frees
    // itself once the show or close is over.
    void ReleaseWhenDone();

    TTimer* MouseTimer() const { return mouseTimer_; }
    TImage* Image() const { return image_; }
    TLabel* HeaderLabel() const { return header_; }
    TZkAlertMessageLabel* MessageLabel() const { return message_; }
    TAction* CloseAction() const { return closeAction_; }
    TZkDesktopAlertButton* CloseButton() const { return closeButton_; }
    TZkDesktopAlertButton* DropDownButton() const { return dropDownButton_; }

    bool MouseInside() const { return mouseInside_; }
    // Not owned: the alert component owns the handler and sets it here.
    TZkCustomDesktopAlertStyleHandler* StyleHandler() const { return styleHandler_; }
    void SetStyleHandler(TZkCustomDesktopAlertStyleHandler* Value) { styleHandler_ = Value; }
    // The component freed by the self-release (it owns this window).
    TComponent* Alert() const { return alert_; }
    void SetAlert(TComponent* Value) { alert_ = Value; }

    // Copied in by the component before each showing.
    TZkAlertWindowFlags Flags;
    TZkAlertWindowColors Colors;

    // Relays to the component.
    TNotifyEvent OnShowingRelay;
    TNotifyEvent OnShownRelay;
    TCloseEvent OnCloseRelay;
    TNotifyEvent OnMouseEnterRelay;
    TNotifyEvent OnMouseLeaveRelay;
    TNotifyEvent OnUserMovedRelay;

protected:
    void Paint() override;
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;
    void MouseEnter(TControl* Control) override;
    void MouseLeave(TControl* Control) override;
    void InheritedWndProc(TMessage& Message) override;

private:
    bool CursorInside() const;
    void MouseTimerTick(TObject* Sender);
    void DropDownMenuOpening(TObject* Sender, TPoint Pos, bool& Handled);
    void DropDownMenuClosed(TObject* Sender);
    void HitTest(TMessage& Message);
    void SelfRelease();
    // Ends a showing whose alert went: hidden now, freed a moment later.
    bool ShowAbandoned();
    // Forgets the alert: its handler, relays and the clicks it set.
    void Detach();

    TTimer* mouseTimer_ = nullptr;
    TImage* image_ = nullptr;
    TLabel* header_ = nullptr;
    TZkAlertMessageLabel* message_ = nullptr;
    TAction* closeAction_ = nullptr;
    TZkDesktopAlertButton* closeButton_ = nullptr;
    TZkDesktopAlertButton* dropDownButton_ = nullptr;
    TZkCustomDesktopAlertStyleHandler* styleHandler_ = nullptr;
    TComponent* alert_ = nullptr;
    bool mouseInside_ = false;
    bool released_ = false;
    int showing_ = 0;
    int closing_ = 0;
    bool releaseWhenDone_ = false;
    unsigned savedEndInterval_ = 0;
};
