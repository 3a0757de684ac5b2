#include "notify/zkdesktopalertbutton.h"

TZkAlertGlyph DesktopAlertGlyph(TZkDesktopAlertButtonType Type) {
    switch (Type) {
        case abtArrowLeft:
            return {'3', 10};
        case abtArrowRight:
            return {'4', 10};
        case abtClose:
            return {'r', 7};
        // Marlett draws minimise, maximise and restore as '0', '1' and '2'.
        case abtMinimize:
            return {'0', 0};
        case abtMaximize:
            return {'1', 0};
        case abtRestore:
            return {'2', 0};
        case abtDropDown:
            return {'u', 10};
        default:
            return {0, 0};
    }
}

TZkDesktopAlertButton::TZkDesktopAlertButton(TComponent* AOwner) : inherited(AOwner) {
    imageChangeLink_ = MakeOwned<TChangeLink>();
    imageChangeLink_->OnChange = TNotifyEvent(this, &TZkDesktopAlertButton::ImageListChange);
    SetBounds(Left(), Top(), 21, 21);
}

void TZkDesktopAlertButton::BeforeDestruction() {
    imageChangeLink_->SetSender(nullptr);
    inherited::BeforeDestruction();
}

void TZkDesktopAlertButton::SetToolType(TZkDesktopAlertButtonType Value) {
    if (Value == toolType_) return;
    toolType_ = Value;
    Invalidate();
}

void TZkDesktopAlertButton::SetImages(TCustomImageList* Value) {
    if (Value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    imageChangeLink_->SetSender(Value);
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TZkDesktopAlertButton::SetImageIndex(int Value) {
    if (Value == imageIndex_) return;
    imageIndex_ = Value;
    Invalidate();
}

void TZkDesktopAlertButton::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) SetImages(nullptr);
}

void TZkDesktopAlertButton::ImageListChange(TObject*) {
    Invalidate();
}

void TZkDesktopAlertButton::MouseEnter(TControl* Control) {
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseEnter(Control);
    if (*alive) Invalidate();
}

void TZkDesktopAlertButton::MouseLeave(TControl* Control) {
    std::shared_ptr<bool> alive = alive_;
    inherited::MouseLeave(Control);
    if (*alive) Invalidate();
}

void TZkDesktopAlertButton::Paint() {
    inherited::Paint();
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetStyle(bsClear);
    if (state_.Contains(bsMouseInside)) {
        canvas->Pen()->SetColor(TColor(0x663300));
        canvas->Rectangle(r);
        r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        canvas->Brush()->SetColor(TColor(state_.Contains(bsPressed) ? 0xCC9999 : 0xD6BEB5));
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(r);
        canvas->Brush()->SetStyle(bsClear);
    }
    if (toolType_ == abtDropDownChevron) {
        DrawChevron(r);
        return;
    }
    if (toolType_ == abtImage) {
        if (images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count()) {
            const int d = state_.Contains(bsPressed) ? 1 : 0;
            images_->Draw(canvas, (Width() - images_->Width()) / 2 + d,
                          (Height() - images_->Height()) / 2 + d, imageIndex_, Enabled());
        }
        return;
    }
    const TZkAlertGlyph glyph = DesktopAlertGlyph(toolType_);
    canvas->Font()->SetName("Marlett");
    // Taken from a text font, the charset would make the mapper pass over
    // the symbol font for another face.
    canvas->Font()->SetCharset(SYMBOL_CHARSET);
    canvas->Font()->SetStyle({});
    if (glyph.Size) canvas->Font()->SetSize(glyph.Size);
    canvas->DrawText(std::string(1, glyph.Character), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TZkDesktopAlertButton::DrawChevron(TRect R) {
    TCanvas* canvas = Canvas();
    // What is left is a box 7 wide and 12 high in the middle of R.
    const int dx = (R.Left - R.Right + 7) / 2, dy = (R.Top - R.Bottom + 12) / 2;
    R = TRect(R.Left - dx, R.Top - dy, R.Right + dx, R.Bottom + dy);
    canvas->Pen()->SetColor(clWindowText);
    int left = R.Left, top = R.Top;
    auto segment = [&](int length) {
        canvas->MoveTo(left, top);
        canvas->LineTo(left + length, top);
    };
    auto pair = [&] {
        segment(2);
        canvas->MoveTo(left + 3, top);
        canvas->LineTo(left + 5, top);
    };
    auto offset = [&](int x, int y) {
        left += x;
        top += y;
    };
    pair(), offset(1, 1);
    pair(), offset(1, 1);
    pair(), offset(-1, 1);
    pair(), offset(-1, 1);
    pair(), offset(1, 4);
    segment(5), offset(1, 1);
    segment(3), offset(1, 1);
    segment(1);
}
