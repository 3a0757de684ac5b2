#include "notify/zkbutton.h"

#include "classlib/windows/accelerators.h"

TZkCustomGraphicButton::TZkCustomGraphicButton(TComponent* AOwner) : inherited(AOwner) {
    TControlStyle style = ControlStyle();
    style.Exclude(csOpaque);
    style.Exclude(csDoubleClicks);
    SetControlStyle(style);
    SetBounds(0, 0, 40, 40);
}

void TZkCustomGraphicButton::SetDropDownMenu(TPopupMenu* Value) {
    if (Value == dropDownMenu_) return;
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TZkCustomGraphicButton::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == dropDownMenu_) dropDownMenu_ = nullptr;
}

void TZkCustomGraphicButton::WndProc(TMessage& Message) {
    const UINT msg = Message.Msg;
    // A disabled button takes no part in the mouse, but never keeps a
    // capture it took while it was enabled.
    if (!Enabled() && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL) {
        if ((msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) && MouseCapture())
            SetMouseCapture(false);
        return;
    }
    std::shared_ptr<bool> alive = alive_;
    inherited::WndProc(Message);
    if (msg == CM_SYSCOLORCHANGE && *alive) RepaintBackground();
}

bool TZkCustomGraphicButton::InsideBtn(int X, int Y) {
    return X >= 0 && X < Width() && Y >= 0 && Y < Height();
}

void TZkCustomGraphicButton::RepaintBackground() {
    if (Parent() && Parent()->HandleAllocated()) {
        TRect area = BoundsRect();
        InvalidateRect(Parent()->Handle(), area.Win32(), TRUE);
    }
    Repaint();
}

void TZkCustomGraphicButton::SetCanvasFont(TCanvas* Canvas) {
    Canvas->SetFont(Font());
}

void TZkCustomGraphicButton::Paint() {
    PaintFrame(Canvas());
    SetCanvasFont(Canvas());
}

void TZkCustomGraphicButton::DrawDropArrow(TCanvas* Canvas, const TRect& Rect) {
    Canvas->Pen()->SetColor(Enabled() ? clWindowText : clInactiveCaption);
    for (int i = 0; i < 4; ++i) {
        if (Rect.Left + i > Rect.Right - i) break;
        Canvas->MoveTo(Rect.Left + i, Rect.Top + i);
        Canvas->LineTo(Rect.Right - i, Rect.Top + i);
    }
}

void TZkCustomGraphicButton::MouseEnter(TControl* Control) {
    if (!Enabled() || MouseOver()) return;
    state_.Include(bsMouseInside);
    inherited::MouseEnter(Control);
}

void TZkCustomGraphicButton::MouseLeave(TControl* Control) {
    if (!Enabled() || !MouseOver()) return;
    state_.Exclude(bsMouseInside);
    inherited::MouseLeave(Control);
}

void TZkCustomGraphicButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!Enabled()) return;
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseDown(Button, Shift, X, Y);
    if (!*alive) return;
    if (InsideBtn(X, Y)) {
        state_ = {bsMouseInside, bsPressed};
        RepaintBackground();
    }
    SetMouseCapture(true);
    const TPoint corner = ClientToScreen(Point(0, Height()));
    DoDropDownMenu(Button, Shift, corner.X, corner.Y);
}

void TZkCustomGraphicButton::MouseMove(TShiftState Shift, int X, int Y) {
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseMove(Shift, X, Y);
    if (!*alive || !MouseCapture()) return;
    const bool inside = InsideBtn(X, Y);
    if (inside == state_.Contains(bsMouseInside)) return;
    if (inside)
        state_.Include(bsMouseInside);
    else
        state_.Exclude(bsMouseInside);
    RepaintBackground();
}

void TZkCustomGraphicButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (MouseCapture()) SetMouseCapture(false);
    if (!Enabled()) return;
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseUp(Button, Shift, X, Y);
    if (!*alive) return;
    state_.Exclude(bsPressed);
    RepaintBackground();
}

bool TZkCustomGraphicButton::DoDropDownMenu(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft || !dropDownMenu_) return false;
    TPopupMenu* menu = dropDownMenu_;
    menu->SetPopupComponent(this);
    if (menu->Alignment() == paRight)
        X += Width();
    else if (menu->Alignment() == paCenter)
        X += Width() / 2;
    bool handled = false;
    std::shared_ptr<bool> alive = alive_;
    if (Assigned(OnDropDownMenu)) OnDropDownMenu(this, Point(X, Y), handled);
    if (handled || !*alive) return true;
    menu->Popup(X, Y);
    if (!*alive) return true;
    // The press that opened the menu, or the click that closed it, must not
    // reach the window once the menu is gone.
    MSG pending;
    while (PeekMessageW(&pending, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    // The button's own release was eaten by the menu: it gets one here, but
    // no click comes of it.
    SetControlState(ControlState() - TControlState{csClicked});
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint cursor = ScreenToClient(Point(screen.x, screen.y));
    MouseUp(mbLeft, Shift, cursor.X, cursor.Y);
    if (*alive && Assigned(OnDropDownClose)) OnDropDownClose(this);
    return true;
}

bool TZkCustomGraphicButton::WantKey(int Key, TShiftState Shift, const std::string& KeyText) {
    const TShiftState modifiers = Shift * TShiftState{ssShift, ssAlt, ssCtrl};
    if (Enabled() && modifiers == TShiftState{ssAlt} && IsAccel(static_cast<WORD>(Key), Caption())) {
        Click();
        return true;
    }
    return inherited::WantKey(Key, Shift, KeyText);
}

void TZkCustomGraphicButton::EnabledChanged() {
    std::shared_ptr<bool> alive = alive_;
    inherited::EnabledChanged();
    if (!*alive) return;
    if (!Enabled()) state_ = {};
    RepaintBackground();
}

void TZkCustomGraphicButton::TextChanged() {
    std::shared_ptr<bool> alive = alive_;
    inherited::TextChanged();
    if (*alive) RepaintBackground();
}
