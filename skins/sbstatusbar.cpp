#include "skins/sbstatusbar.h"

#include "classlib/windows/forms.h"
#include "classlib/windows/screen.h"
#include "skins/barpainters.h"
#include "skins/sbtitlebar.h"
#include "skins/skinmanager.h"

namespace {

TSbCustomStatusBar* StatusBarOf(TSbToolbar* Toolbar) {
    TBarDock* dock = Toolbar->CurrentDock();
    return dock ? dynamic_cast<TSbCustomStatusBar*>(dock->Parent()) : nullptr;
}

bool FormIsNormal(TCustomForm* Form) {
    if (!Form->HandleAllocated()) return Form->WindowState() == wsNormal;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(Form->Handle(), &placement);
    return placement.showCmd != SW_SHOWMINIMIZED && placement.showCmd != SW_SHOWMAXIMIZED &&
           !IsIconic(Form->Handle()) && !IsZoomed(Form->Handle());
}

// An enclosing active title bar decides; else the form's own frame.
bool FormIsSizable(TControl* Inside, TCustomForm* Form) {
    for (TWinControl* p = Inside->Parent(); p; p = p->Parent())
        if (auto* title = dynamic_cast<TSbCustomTitleBar*>(p); title && title->Active())
            return !title->FixedSize();
    return Form->HandleAllocated() && (GetWindowLongW(Form->Handle(), GWL_STYLE) & WS_THICKFRAME);
}

}  // namespace

// ---- toolbar -------------------------------------------------------------------------------

TCustomForm* TSbStatusToolbar::Form() {
    if (!form_) {
        form_ = GetParentForm(this);
        // The bar may move to another form and outlive this one.
        if (form_) form_->FreeNotification(this);
    }
    return form_;
}

void TSbStatusToolbar::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == form_) form_ = nullptr;
}

void TSbStatusToolbar::SetSizeGrip(bool Value) {
    if (sizeGrip_ == Value) return;
    sizeGrip_ = Value;
    if (TSbCustomStatusBar* bar = StatusBarOf(this)) bar->InvalidateBackground(true);
}

TRect TSbStatusToolbar::GetGripRect() {
    TCustomForm* form = sizeGrip_ ? Form() : nullptr;
    TBarDock* dock = CurrentDock();
    if (!form || !dock) return {};
    TSbGripInput in;
    in.DockClient = dock->ClientRect();
    in.SizeGrip = sizeGrip_;
    in.Docked = !ComponentState().Contains(csDestroying);
    in.NormalState = FormIsNormal(form);
    in.Sizable = FormIsSizable(this, form);
    in.ScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    return SbStatusGripRect(in);
}

bool TSbStatusToolbar::IsPointInGrip(TPoint P) {
    const TRect grip = GetGripRect();
    if (grip.IsEmpty()) return false;
    // The grip is in the dock's coordinates; the toolbar fills the dock.
    return grip.Contains(TPoint(P.X + Left(), P.Y + Top()));
}

TBarToolbarView* TSbStatusToolbar::CreateToolbarView() {
    return Create<TSbStatusToolbarView>(nullptr, nullptr, Items(), this, true, false,
                                        !ComponentState().Contains(csDesigning));
}

TColor TSbStatusToolbar::GetItemTextColor(TSbSkinStatesType State) {
    TSbCustomStatusBar* bar = StatusBarOf(this);
    if (bar && bar->SkinType() != sknSkin) return State == sknsDisabled ? clGrayText : clBtnText;
    if (std::shared_ptr<TSbSkinOptions> skin = CurrentSkin()) {
        const TColor c = skin->GetTextColor(skncStatusBar, State);
        if (c != clNone) return c;
    }
    return inherited::GetItemTextColor(State);
}

int TSbStatusToolbar::GetRightAlignMargin() {
    const TRect grip = GetGripRect();
    return grip.IsEmpty() ? 4 : grip.Width();
}

bool TSbStatusToolbar::DrawsOwnSeparators() {
    std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
    return StatusBarOf(this) && skin && skin->OfficeStatusBarInForce();
}

void TSbStatusToolbar::SizeFromGrip() {
    TCustomForm* form = Form();
    if (!form || !form->HandleAllocated()) return;
    ReleaseCapture();
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, 0);
}

void TSbStatusToolbar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && !ComponentState().Contains(csDesigning) && IsPointInGrip({X, Y})) {
        SizeFromGrip();
        return;
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void TSbStatusToolbar::WndProc(TMessage& Message) {
    if (!ComponentState().Contains(csDesigning) && HandleAllocated()) {
        if (Message.Msg == WM_NCLBUTTONDOWN) {
            POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
            ::ScreenToClient(Handle(), &p);
            if (IsPointInGrip({p.x, p.y})) {
                SizeFromGrip();
                Message.Result = 0;
                return;
            }
        } else if (Message.Msg == WM_SETCURSOR && reinterpret_cast<HWND>(Message.WParam) == Handle() &&
                   (!Screen || Screen->Cursor() == crDefault)) {
            POINT p{};
            GetCursorPos(&p);
            ::ScreenToClient(Handle(), &p);
            if (IsPointInGrip({p.x, p.y})) {
                if (Screen) ::SetCursor(Screen->Cursors(crSizeNWSE));
                Message.Result = 1;
                return;
            }
        }
    }
    inherited::WndProc(Message);
}

// ---- bar -----------------------------------------------------------------------------------

TSbCustomStatusBar::TSbCustomStatusBar(TComponent* AOwner) : inherited(AOwner) {}

void TSbCustomStatusBar::AfterConstruction() {
    inherited::AfterConstruction();
    SetAlign(alBottom);
}

TClass TSbCustomStatusBar::GetToolbarClass() {
    return TSbStatusToolbar::ClassInfo();
}

void TSbCustomStatusBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    // The bar follows its toolbar's height and takes no other.
    if (Toolbar() && Dock() && AHeight != Dock()->Height() && !ComponentState().Contains(csLoading))
        AHeight = Dock()->Height();
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TSbCustomStatusBar::WndProc(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    inherited::WndProc(Message);
}

void TSbCustomStatusBar::PaintDockDefault(TCanvas* Canvas, const TRect& R) {
    TRect grip = StatusToolbar()->GetGripRect();
    const bool office = [] {
        std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
        return skin && skin->OfficeStatusBarInForce();
    }();
    PaintStatusBar(Canvas, R, !grip.IsEmpty(), SkinType());
    if (office) DrawStatusSeparators(Canvas, R);
}

void TSbCustomStatusBar::DrawStatusSeparators(TCanvas* Canvas, const TRect& R) {
    TBarView* view = Toolbar()->View();
    if (!view) return;
    const TSbSkinType type = ResolveSkinType(SkinType());
    const TColor rightLine = type == sknNone ? clBtnShadow : clWindow;
    for (int i = 0; i < view->ViewerCount(); ++i) {
        TBarItemViewer* viewer = view->Viewers(i);
        if (!viewer->Show || !dynamic_cast<TBarSeparatorItem*>(viewer->Item())) continue;
        const int middle = Toolbar()->Left() + (viewer->BoundsRect.Left + viewer->BoundsRect.Right) / 2;
        const TRect band(middle - 1, R.Top, middle + 2, R.Bottom);
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->FillRect(band);
        Canvas->Pen()->SetColor(clWindow);
        Canvas->MoveTo(band.Left, band.Top);
        Canvas->LineTo(band.Left, band.Bottom);
        Canvas->Pen()->SetColor(rightLine);
        Canvas->MoveTo(band.Right - 1, band.Top);
        Canvas->LineTo(band.Right - 1, band.Bottom);
    }
}
