#include "classlib/stdctrls/speedbutton.h"

int GlyphCountOf(int Width, int Height) {
    if (Width <= 0 || Height <= 0 || Width % Height != 0) return 1;
    const int count = Width / Height;
    return count >= 1 && count <= 4 ? count : 1;
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : inherited(AOwner), glyph_(Create<TBitmap>()) {
    // Clicks come from our own release test, not from the control's default.
    SetControlStyle({csCaptureMouse, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 23, 22);
    SetParentColor(false);
    SetColor(clBtnFace);
    glyph_->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
}

void TSpeedButton::SetGlyph(TBitmap* Value) {
    if (Value)
        glyph_->Assign(Value);
    else
        glyph_->SetSize(0, 0);
    GlyphChanged(glyph_.get());
}

void TSpeedButton::GlyphChanged(TObject*) {
    numGlyphs_ = GlyphCountOf(glyph_->Width(), glyph_->Height());
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value) {
    Value = Value < 1 ? 1 : Value > 4 ? 4 : Value;
    if (Value == numGlyphs_) return;
    numGlyphs_ = Value;
    Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
    if (Value == down_) return;
    down_ = Value;
    if (!dragging_) state_ = RestingState();
    Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
    if (Value == flat_) return;
    flat_ = Value;
    Invalidate();
}

TButtonState TSpeedButton::RestingState() const {
    if (!Enabled()) return bsDisabled;
    return down_ ? bsExclusive : bsUp;
}

void TSpeedButton::Click() {
    inherited::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    dragging_ = true;
    state_ = bsDown;
    Invalidate();
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    inherited::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    const TButtonState next = ClientRect().Contains(Point(X, Y)) ? bsDown : RestingState();
    if (next == state_) return;
    state_ = next;
    Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool wasDragging = dragging_ && Button == mbLeft;
    if (wasDragging) {
        dragging_ = false;
        state_ = RestingState();
        Invalidate();
    }
    std::shared_ptr<bool> alive = alive_;
    if (wasDragging && ClientRect().Contains(Point(X, Y))) Click();
    if (*alive) inherited::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            if (Message.LParam == 0 && mouseInControl_ != (Message.Msg == CM_MOUSEENTER)) {
                mouseInControl_ = Message.Msg == CM_MOUSEENTER;
                if (flat_) Invalidate();
            }
            break;
        case CM_ENABLEDCHANGED:
            if (!Enabled()) dragging_ = false;
            state_ = RestingState();
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}

int TSpeedButton::GlyphCell(TButtonState State) const {
    const int cell = static_cast<int>(State);
    return cell < numGlyphs_ ? cell : 0;
}

void TSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect face = ClientRect();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(face);
    const bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (!flat_ || mouseInControl_ || pressed) {
        RECT r = face;
        UINT edge =
            flat_ ? (pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER) : (pressed ? EDGE_SUNKEN : EDGE_RAISED);
        DrawEdge(canvas->Handle(), &r, edge, BF_RECT);
    }
    if (glyph_->Empty()) return;
    const int width = glyph_->Width() / numGlyphs_;
    const int height = glyph_->Height();
    TOwned<TBitmap> cell(Create<TBitmap>());
    cell->SetSize(width, height);
    const int index = GlyphCell(state_);
    cell->Canvas()->CopyRect(Rect(0, 0, width, height), glyph_->Canvas(),
                             Rect(index * width, 0, (index + 1) * width, height));
    cell->SetTransparent(true);
    const int shift = pressed ? 1 : 0;
    canvas->Draw((face.Width() - width) / 2 + shift, (face.Height() - height) / 2 + shift, cell.get());
}
