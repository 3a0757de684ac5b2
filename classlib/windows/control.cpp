#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/windows/application.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/screen.h"
#include "classlib/windows/windowtable.h"

TPopupMenuShowProc PopupMenuShowProc = nullptr;
TPopupMenuShortCutProc PopupMenuShortCutProc = nullptr;

namespace {
TControl* captureControl = nullptr;
}  // namespace

TControl* GetCaptureControl() {
    // Capture taken or dropped through Win32 directly wins over our record.
    HWND captured = GetCapture();
    if (!captured) {
        captureControl = nullptr;
        return nullptr;
    }
    if (captureControl) {
        auto* windowed = dynamic_cast<TWinControl*>(captureControl);
        TWinControl* window = windowed ? windowed : captureControl->Parent();
        HWND owner = window && window->HandleAllocated() ? window->Handle() : nullptr;
        if (owner == captured) return captureControl;
    }
    captureControl = FindControl(captured);
    return captureControl;
}

void SetCaptureControl(TControl* Control) {
    captureControl = nullptr;
    if (GetCapture()) ReleaseCapture();
    if (!Control) return;
    if (auto* windowed = dynamic_cast<TWinControl*>(Control)) {
        SetCapture(windowed->Handle());
    } else {
        if (!Control->Parent()) return;
        SetCapture(Control->Parent()->Handle());
    }
    captureControl = Control;
}

namespace classlib_detail {
void ForgetCaptureOf(TWinControl* Window) {
    if (captureControl && (captureControl == Window || captureControl->Parent() == Window))
        captureControl = nullptr;
}
}  // namespace classlib_detail

TCustomForm* GetParentForm(TControl* Control) {
    while (Control && Control->Parent()) Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(Control);
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
    HWND window = WindowFromPoint(Pos);
    TWinControl* control = FindControl(window);
    if (!control) return nullptr;
    TControl* child = control->ControlAtPos(control->ScreenToClient(Pos), AllowDisabled);
    return child ? child : control;
}

TControl::TControl(TComponent* AOwner) : inherited(AOwner), font_(Create<TFont>()) {
    // Properties are looked up on instances, so publishing with the first
    // control is early enough and keeps the core free of window classes.
    PublishControlProperties();
    font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

void TControl::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (captureControl == this) SetCaptureControl(nullptr);
    if (parent_) SetParent(nullptr);
    *alive_ = false;
}

// --- messages

void TControl::WindowProc(TMessage& Message) {
    if (links_.empty()) {
        WndProc(Message);
        return;
    }
    CallChain(links_.begin(), Message);
}

void TControl::CallChain(LinkIterator from, TMessage& Message) {
    while (from != links_.end() && from->removed) ++from;
    if (from == links_.end()) {
        WndProc(Message);
        return;
    }
    // The object may be freed by the message (a released form): keep a
    // token to tell before touching it again.
    std::shared_ptr<bool> alive = alive_;
    ++chainDepth_;
    try {
        LinkIterator next = std::next(from);
        from->link(Message, TWindowProcNext(this, next));
    } catch (...) {
        if (*alive && --chainDepth_ == 0) links_.remove_if([](const Link& l) { return l.removed; });
        throw;
    }
    if (*alive && --chainDepth_ == 0) links_.remove_if([](const Link& l) { return l.removed; });
}

void TControl::AddWindowProcLink(const TWindowProcLink& Link) {
    links_.push_front({Link, false});
}

void TControl::RemoveWindowProcLink(const TWindowProcLink& Link) {
    for (auto it = links_.begin(); it != links_.end(); ++it) {
        if (it->removed || !(it->link == Link)) continue;
        if (chainDepth_ > 0)
            it->removed = true;
        else
            links_.erase(it);
        return;
    }
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage message{Msg, WParam, LParam, 0};
    WindowProc(message);
    return message.Result;
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouseMessage(TMessage& Message) {
    UINT msg = Message.Msg;
    TShiftState shift = KeysToShiftState(static_cast<WORD>(Message.WParam));
    const bool isDouble = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    if (isDouble && !controlStyle_.Contains(csDoubleClicks)) {
        // A control that wants no double clicks sees a second press.
        msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        Message.Msg = msg;
    }
    const int x = Message.XPos(), y = Message.YPos();
    std::shared_ptr<bool> alive = alive_;
    // A click puts the hint away just as moving on does.
    const bool press = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
                       msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK;
    if (press && Application) Application->HintMouseMessage(this, Message);
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            DefaultHandler(Message);
            if (!*alive) return;
            if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
            if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
            if (msg == WM_LBUTTONDBLCLK) {
                shift.Include(ssDouble);
                if (controlStyle_.Contains(csClickEvents)) DblClick();
                if (!*alive) return;
            }
            MouseDown(mbLeft, shift, x, y);
            return;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: {
            DefaultHandler(Message);
            if (!*alive) return;
            if (msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK) shift.Include(ssDouble);
            const bool right = msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK;
            MouseDown(right ? mbRight : mbMiddle, shift, x, y);
            return;
        }
        case WM_LBUTTONUP: {
            DefaultHandler(Message);
            if (!*alive) return;
            if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
            if (controlState_.Contains(csClicked)) {
                controlState_.Exclude(csClicked);
                if (ClientRect().Contains(Point(x, y))) Click();
                if (!*alive) return;
            }
            MouseUp(mbLeft, shift, x, y);
            return;
        }
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            DefaultHandler(Message);
            if (!*alive) return;
            MouseUp(msg == WM_RBUTTONUP ? mbRight : mbMiddle, shift, x, y);
            return;
        case WM_MOUSEMOVE:
            DefaultHandler(Message);
            if (!*alive) return;
            if (Application) Application->HintMouseMessage(this, Message);
            if (!controlStyle_.Contains(csNoStdEvents)) MouseMove(shift, x, y);
            return;
        default:
            DefaultHandler(Message);
    }
}

void TControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE:
            HandleMouseMessage(Message);
            return;
        case WM_CONTEXTMENU: {
            if (Message.Result != 0) return;
            const bool fromKeyboard = Message.LParam == -1;
            TPoint client = fromKeyboard ? Point(-1, -1) : ScreenToClient(Message.Pos());
            if (!fromKeyboard && !ClientRect().Contains(client)) break;
            bool handled = false;
            DoContextPopup(client, handled);
            if (handled) {
                Message.Result = 1;
                return;
            }
            if (popupMenu_ && PopupMenuShowProc) {
                const TPoint screen = fromKeyboard ? ClientToScreen(Point(0, 0)) : TPoint(Message.Pos());
                if (PopupMenuShowProc(popupMenu_, this, screen)) {
                    Message.Result = 1;
                    return;
                }
            }
            break;
        }
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE: {
            // Bubbles up with the control the mouse met in LParam.
            const LPARAM origin = Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this);
            if (parent_) parent_->Perform(Message.Msg, 0, origin);
            if (Message.LParam == 0) {
                const TNotifyEvent& event = Message.Msg == CM_MOUSEENTER ? OnMouseEnter : OnMouseLeave;
                if (Assigned(event)) event(this);
            }
            return;
        }
        case CM_PARENTFONTCHANGED:
            if (parentFont_ && parent_) {
                applyingParentFont_ = true;
                try {
                    font_->Assign(parent_->Font());
                } catch (...) {
                    applyingParentFont_ = false;
                    throw;
                }
                applyingParentFont_ = false;
            }
            return;
        case CM_PARENTCOLORCHANGED:
            if (parentColor_ && parent_ && color_ != parent_->Color()) {
                color_ = parent_->Color();
                Perform(CM_COLORCHANGED);
            }
            return;
        case CM_PARENTSHOWHINTCHANGED:
            if (parentShowHint_ && parent_ && showHint_ != parent_->ShowHint()) {
                showHint_ = parent_->ShowHint();
                Perform(CM_SHOWHINTCHANGED);
            }
            return;
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_ENABLEDCHANGED:
            Invalidate();
            return;
        case CM_VISIBLECHANGED:
            InvalidateControl(true, visible_ && controlStyle_.Contains(csOpaque));
            return;
        case CM_HITTEST:
            Message.Result = HTCLIENT;
            return;
        default:
            break;
    }
    DefaultHandler(Message);
}

// --- tree and geometry

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == parent_) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    InvalidateControl(visible_, false);
    const bool resized = AWidth != width_ || AHeight != height_;
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (resized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::UpdateBoundsRect(const TRect& R) {
    left_ = R.Left;
    top_ = R.Top;
    width_ = R.Width();
    height_ = R.Height();
    UpdateAnchorRules();
}

TRect TControl::ClientRect() {
    return Rect(0, 0, width_, height_);
}

void TControl::SetClientWidth(int Value) {
    SetWidth(width_ - ClientWidth() + Value);
}
void TControl::SetClientHeight(int Value) {
    SetHeight(height_ - ClientHeight() + Value);
}

TPoint TControl::ClientOrigin() {
    if (!parent_) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    TPoint origin = parent_->ClientOrigin();
    return Point(origin.X + left_, origin.Y + top_);
}

TPoint TControl::ClientToScreen(TPoint P) {
    const TPoint origin = ClientOrigin();
    return Point(P.X + origin.X, P.Y + origin.Y);
}

TPoint TControl::ScreenToClient(TPoint P) {
    const TPoint origin = ClientOrigin();
    return Point(P.X - origin.X, P.Y - origin.Y);
}

void TControl::SetAlign(TAlign Value) {
    if (Value == align_) return;
    const TAlign old = align_;
    align_ = Value;
    // Aligned controls stretch along the edge they stick to.
    switch (Value) {
        case alTop:
            anchors_ = {akLeft, akTop, akRight};
            break;
        case alBottom:
            anchors_ = {akLeft, akRight, akBottom};
            break;
        case alLeft:
            anchors_ = {akLeft, akTop, akBottom};
            break;
        case alRight:
            anchors_ = {akTop, akRight, akBottom};
            break;
        case alClient:
            anchors_ = {akLeft, akTop, akRight, akBottom};
            break;
        default:
            if (old != alNone && old != alCustom) anchors_ = {akLeft, akTop};
            break;
    }
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
    if (Value == anchors_) return;
    anchors_ = Value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!parent_ || parent_->aligning_) return;
    anchorBounds_ = BoundsRect();
    TRect client = parent_->ClientRect();
    parent_->AdjustClientRect(client);
    anchorParentSize_ = {client.Width(), client.Height()};
}

void TControl::RequestAlign() {
    if (parent_) parent_->AlignChildren(this);
}

void TControl::SetVisible(bool Value) {
    if (Value == visible_) return;
    if (!Value) InvalidateControl(true, false);
    visible_ = Value;
    Perform(CM_VISIBLECHANGED, Value);
    RequestAlign();
}

bool TControl::Showing() const {
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    enabled_ = Value;
    Perform(CM_ENABLEDCHANGED);
}

// --- text, colour, font, cursor, hint

std::string TControl::GetText() const {
    return ToAnsi(GetWideText());
}

void TControl::SetText(const std::string& Value) {
    SetWideText(ToWide(Value));
}

void TControl::SetWideText(const std::wstring& Value) {
    if (Value == text_) return;
    text_ = Value;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor Value) {
    if (Value == color_) {
        parentColor_ = false;
        return;
    }
    color_ = Value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    if (Value == parentColor_) return;
    parentColor_ = Value;
    if (Value && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged(TObject*) {
    if (!applyingParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value) {
    if (Value == parentFont_) return;
    parentFont_ = Value;
    if (Value && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
    if (Value == cursor_) return;
    cursor_ = Value;
    Perform(CM_CURSORCHANGED);
}

std::wstring TControl::ToWideHint(const std::string& Value) {
    return ToWide(Value);
}

std::string TControl::Hint() const {
    return ToAnsi(hint_);
}

void TControl::SetWideHint(const std::wstring& Value) {
    hint_ = Value;
}

void TControl::SetShowHint(bool Value) {
    parentShowHint_ = false;
    if (Value == showHint_) return;
    showHint_ = Value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
    if (Value == parentShowHint_) return;
    parentShowHint_ = Value;
    if (Value && parent_) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenuComponent(TPopupMenu* Menu, TComponent* MenuComponent) {
    if (Menu == popupMenu_) return;
    if (popupMenuComponent_) popupMenuComponent_->RemoveFreeNotification(this);
    popupMenu_ = Menu;
    popupMenuComponent_ = MenuComponent;
    if (popupMenuComponent_) popupMenuComponent_->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == popupMenuComponent_) {
        popupMenu_ = nullptr;
        popupMenuComponent_ = nullptr;
    }
}

// --- painting and order

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
    if (!IsVisible || !parent_ || !parent_->HandleAllocated()) return;
    const TRect r = BoundsRect();
    InvalidateRect(parent_->handle_, r.Win32(), !IsOpaque);
}

void TControl::Invalidate() {
    InvalidateControl(visible_, controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (parent_) parent_->SetZOrder(this, true);
}

void TControl::SendToBack() {
    if (parent_) parent_->SetZOrder(this, false);
}

bool TControl::MouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (MouseCapture() == Value) return;
    SetCaptureControl(Value ? this : nullptr);
}

// --- events

void TControl::Click() {
    if (Assigned(OnClick)) OnClick(this);
}

void TControl::DblClick() {
    if (Assigned(OnDblClick)) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseDown)) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseMove)) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseUp)) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (Assigned(OnContextPopup)) OnContextPopup(this, MousePos, Handled);
}

void TControl::Resize() {
    if (Assigned(OnResize)) OnResize(this);
}
