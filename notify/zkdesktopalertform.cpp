#include "notify/zkdesktopalertform.h"

#include "classlib/windows/application.h"
#include "classlib/windows/screen.h"
#include "classlib/windows/shortcuts.h"

namespace {
constexpr int DefaultWidth = 329;
constexpr int DefaultHeight = 76;

// Counts the window into a show or a close for as long as it lasts; the
// handlers inside may free the window, and then there is nothing to count.
class TDepth {
public:
    TDepth(int& Depth, std::shared_ptr<bool> Alive) : depth_(Depth), alive_(std::move(Alive)) { ++depth_; }
    ~TDepth() {
        if (*alive_) --depth_;
    }
    TDepth(const TDepth&) = delete;
    TDepth& operator=(const TDepth&) = delete;

private:
    int& depth_;
    std::shared_ptr<bool> alive_;
};
}  // namespace

TZkFormDesktopAlert::TZkFormDesktopAlert(TComponent* AOwner) : inherited(AOwner, 0) {
    SetBorderStyle(bsNone);
    SetBorderIcons({});
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
    if (Screen) Font()->Assign(Screen->IconFont());

    mouseTimer_ = Create<TTimer>(this);
    mouseTimer_->SetInterval(200);
    mouseTimer_->OnTimer = TNotifyEvent(this, &TZkFormDesktopAlert::MouseTimerTick);
    // The watch starts with the showing: on a hidden window it would end an
    // alert that was never shown.
    mouseTimer_->SetEnabled(false);

    image_ = Create<TImage>(this);
    image_->SetParent(this);
    image_->SetBounds(8, 11, 32, 32);
    image_->SetAutoSize(true);
    image_->SetTransparent(true);

    header_ = Create<TLabel>(this);
    header_->SetParent(this);
    header_->SetBounds(48, 11, 71, 13);
    header_->Font()->SetStyle({fsBold});
    header_->SetTransparent(true);

    message_ = Create<TZkAlertMessageLabel>(this);
    message_->SetParent(this);
    message_->SetBounds(56, 24, 67, 13);
    message_->SetTransparent(true);
    message_->SetWordWrap(true);
    message_->SetAnchors({akLeft, akTop, akRight, akBottom});

    closeAction_ = Create<TAction>(this);
    closeAction_->SetCaption("Close");
    closeAction_->SetShortCut(ShortCut(VK_F4, {ssAlt}));
    closeAction_->SetOnExecute(TNotifyEvent(this, &TZkFormDesktopAlert::CloseIfAllowed));

    closeButton_ = Create<TZkDesktopAlertButton>(this);
    closeButton_->SetParent(this);
    closeButton_->SetToolType(abtClose);
    closeButton_->SetBounds(Width() - 17, 10, 15, 15);
    closeButton_->SetAnchors({akTop, akRight});

    dropDownButton_ = Create<TZkDesktopAlertButton>(this);
    dropDownButton_->SetParent(this);
    dropDownButton_->SetToolType(abtDropDown);
    dropDownButton_->SetBounds(closeButton_->Left() - 16, 10, 15, 15);
    dropDownButton_->SetAnchors({akTop, akRight});
    dropDownButton_->OnDropDownMenu = TZkDropDownMenuEvent(this, &TZkFormDesktopAlert::DropDownMenuOpening);
    dropDownButton_->OnDropDownClose = TNotifyEvent(this, &TZkFormDesktopAlert::DropDownMenuClosed);
}

void TZkFormDesktopAlert::ShowNoActivate() {
    SetWindowPos(
        Handle(), HWND_TOPMOST, 0, 0, 0, 0,
        SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    ShowWithoutWindow();
}

void TZkFormDesktopAlert::SetNewOrigin(int X, int Y) {
    if ((Left() == X && Top() == Y) || mouseInside_) return;
    const TNotifyEvent moved = OnUserMovedRelay;
    OnUserMovedRelay = nullptr;
    try {
        SetBounds(X, Y, Width(), Height());
    } catch (...) {
        OnUserMovedRelay = moved;
        throw;
    }
    OnUserMovedRelay = moved;
}

void TZkFormDesktopAlert::CentreIn(const TRect& Rect) {
    SetTop(Rect.Top + (Rect.Height() - Height()) / 2);
    SetLeft(Rect.Left + (Rect.Width() - Width()) / 2);
}

void TZkFormDesktopAlert::CloseIfAllowed(TObject*) {
    if (Flags.CanClose) Close();
}

void TZkFormDesktopAlert::Paint() {
    PaintDesktopAlertBackground(Canvas(), ClientRect(), Colors, Flags.CanMove || Flags.CanMoveAnywhere);
    inherited::Paint();
}

void TZkFormDesktopAlert::DoShow() {
    std::shared_ptr<bool> alive = alive_;
    TDepth depth(showing_, alive);
    if (Assigned(OnShowingRelay)) OnShowingRelay(this);
    if (!*alive || ShowAbandoned()) return;
    inherited::DoShow();
    if (!*alive || ShowAbandoned()) return;
    if (styleHandler_) styleHandler_->AbortAnimation();

    SetMessageLabelClickable(message_, Flags.CanClick);

    dropDownButton_->SetVisible(dropDownButton_->DropDownMenu() != nullptr);
    closeButton_->SetVisible(Flags.CanClose);
    dropDownButton_->SetLeft(Flags.CanClose ? closeButton_->Left() - 16 : closeButton_->Left());

    image_->SetTop(13);
    header_->SetTop(image_->Top());
    header_->SetLeft(image_->Left() + image_->Width() + 5);
    message_->SetLeft(header_->Left() + 8);
    message_->SetWidth(dropDownButton_->Left() - message_->Left());
    message_->SetTop(header_->Top() + header_->Height());

    if (styleHandler_) styleHandler_->StartAnimation();
    mouseTimer_->SetEnabled(true);
    if (Assigned(OnShownRelay)) OnShownRelay(this);
    if (*alive) ShowAbandoned();
}

bool TZkFormDesktopAlert::ShowAbandoned() {
    if (!releaseWhenDone_) return false;
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    // Posted once: the showing returns as soon as this is true.
    Release();
    return true;
}

void TZkFormDesktopAlert::DoClose(TCloseAction& Action) {
    mouseTimer_->SetEnabled(false);
    if (styleHandler_) styleHandler_->StopTimer();
    std::shared_ptr<bool> alive = alive_;
    TDepth depth(closing_, alive);
    inherited::DoClose(Action);
    if (!*alive) return;
    if (Assigned(OnCloseRelay)) OnCloseRelay(this, Action);
    if (!*alive) return;
    if (releaseWhenDone_) {
        // The close goes on to free the window, a moment later.
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        Action = caFree;
        return;
    }
    if (Action == caHide && HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void TZkFormDesktopAlert::ReleaseWhenDone() {
    Detach();
    releaseWhenDone_ = true;
}

bool TZkFormDesktopAlert::CursorInside() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    return BoundsRect().Contains(Point(cursor.x, cursor.y));
}

void TZkFormDesktopAlert::MouseEnter(TControl* Control) {
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseEnter(Control);
    if (!*alive) return;
    mouseInside_ = true;
    if (styleHandler_) styleHandler_->AbortAnimation();
    if (Assigned(OnMouseEnterRelay)) OnMouseEnterRelay(this);
}

void TZkFormDesktopAlert::MouseLeave(TControl* Control) {
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseLeave(Control);
    // Leaving a child for the body is no leaving of the alert.
    if (!*alive || !mouseInside_ || CursorInside()) return;
    if (Assigned(OnMouseLeaveRelay)) OnMouseLeaveRelay(this);
    if (!*alive) return;
    if (styleHandler_ && !styleHandler_->TimerRunning() && styleHandler_->DisplayDuration() != 0)
        styleHandler_->EndAnimation();
    mouseInside_ = false;
}

void TZkFormDesktopAlert::MouseTimerTick(TObject*) {
    mouseTimer_->SetEnabled(false);
    mouseInside_ = CursorInside();
    mouseTimer_->SetEnabled(true);
    if (styleHandler_ && !styleHandler_->TimerRunning() && !mouseInside_ &&
        styleHandler_->DisplayDuration() != 0)
        styleHandler_->EndAnimation();
}

void TZkFormDesktopAlert::DropDownMenuOpening(TObject*, TPoint, bool&) {
    if (!styleHandler_) return;
    savedEndInterval_ = styleHandler_->EndInterval();
    styleHandler_->SetEndInterval(0);
}

void TZkFormDesktopAlert::DropDownMenuClosed(TObject*) {
    if (!styleHandler_) return;
    if (savedEndInterval_ != 0) styleHandler_->SetEndInterval(savedEndInterval_);
    savedEndInterval_ = 0;
    if (!mouseInside_) styleHandler_->EndAnimation();
}

void TZkFormDesktopAlert::HitTest(TMessage& Message) {
    const TPoint point = ScreenToClient(Message.Pos());
    const bool caption = (point.Y <= AlertCaptionHeight && Flags.CanMove) ||
                         (Flags.CanMoveAnywhere && !ControlAtPos(point, true, true));
    if (!caption) {
        inherited::InheritedWndProc(Message);
        return;
    }
    if (styleHandler_) styleHandler_->AbortAnimation();
    Message.Result = HTCAPTION;
}

void TZkFormDesktopAlert::Detach() {
    alert_ = nullptr;
    styleHandler_ = nullptr;
    OnShowingRelay = nullptr;
    OnShow = nullptr;
    OnShownRelay = nullptr;
    OnCloseRelay = nullptr;
    OnMouseEnterRelay = nullptr;
    OnMouseLeaveRelay = nullptr;
    OnUserMovedRelay = nullptr;
    message_->OnClick = nullptr;
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* button = dynamic_cast<TZkDesktopAlertButton*>(Components(i));
        if (button && button->ToolType() == abtImage) button->OnClick = nullptr;
    }
    mouseTimer_->SetEnabled(false);
}

void TZkFormDesktopAlert::SelfRelease() {
    if (released_) return;
    released_ = true;
    // From here on nothing of the component is reached: it goes now, and
    // messages still on their way to this window find no handler to call.
    TComponent* alert = alert_;
    Detach();
    if (alert && Owner() == alert) {
        alert->RemoveComponent(this);
        // Until the release arrives the application holds the window, so
        // that it goes at exit all the same.
        if (Application) Application->InsertComponent(this);
    }
    if (alert) alert->Free();
    Release();
}

void TZkFormDesktopAlert::InheritedWndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCHITTEST:
            HitTest(Message);
            return;
        case WM_ACTIVATE:
            if (LOWORD(Message.WParam) != WA_INACTIVE && !Flags.AutoFocus) {
                Message.Result = 1;
                return;
            }
            break;
        case WM_MOUSEACTIVATE:
            if (!Flags.AutoFocus) {
                Message.Result = MA_NOACTIVATE;
                return;
            }
            break;
        case WM_MOVE: {
            std::shared_ptr<bool> alive = alive_;
            inherited::InheritedWndProc(Message);
            if (*alive && HandleAllocated() && IsWindowVisible(Handle()) && Assigned(OnUserMovedRelay))
                OnUserMovedRelay(this);
            return;
        }
        case WM_ZK_ALERT_RELEASE:
            // Only the window named in WParam releases; LParam is not trusted.
            if (HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == Handle()) SelfRelease();
            return;
    }
    inherited::InheritedWndProc(Message);
}
