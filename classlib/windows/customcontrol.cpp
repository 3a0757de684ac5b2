#include "classlib/windows/controls.h"

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* Value) {
    if (Value == control_) return;
    FreeHandle();
    control_ = Value;
}

void TControlCanvas::FreeHandle() {
    if (!windowDC_) return;
    SetHandle(nullptr);
    ReleaseDC(window_, windowDC_);
    windowDC_ = nullptr;
    window_ = nullptr;
}

void TControlCanvas::CreateHandle() {
    if (!control_) return;
    if (auto* windowed = dynamic_cast<TWinControl*>(control_)) {
        window_ = windowed->Handle();
        windowDC_ = GetDCEx(window_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    } else {
        TWinControl* parent = control_->Parent();
        if (!parent) return;
        window_ = parent->Handle();
        windowDC_ = GetDCEx(window_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
        // A graphic control draws on its parent, at its own origin.
        SetWindowOrgEx(windowDC_, -control_->Left(), -control_->Top(), nullptr);
        IntersectClipRect(windowDC_, 0, 0, control_->Width(), control_->Height());
    }
    SetHandle(windowDC_);
}

TCanvasPaintScope::TCanvasPaintScope(TControlCanvas* Canvas, HDC DC) : canvas_(Canvas) {
    canvas_->Lock();
    canvas_->FreeHandle();
    canvas_->SetHandle(DC);
}

TCanvasPaintScope::~TCanvasPaintScope() {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : inherited(AOwner), canvas_(Create<TControlCanvas>()) {
    canvas_->SetControl(this);
}

void TGraphicControl::WndProc(TMessage& Message) {
    if (Message.Msg == WM_PAINT && Message.WParam) {
        TCanvasPaintScope painting(canvas_.get(), reinterpret_cast<HDC>(Message.WParam));
        Paint();
        return;
    }
    inherited::WndProc(Message);
}

TCustomControl::TCustomControl(TComponent* AOwner) : inherited(AOwner), canvas_(Create<TControlCanvas>()) {
    canvas_->SetControl(this);
}

void TCustomControl::PaintWindow(HDC DC) {
    TCanvasPaintScope painting(canvas_.get(), DC);
    Paint();
}
