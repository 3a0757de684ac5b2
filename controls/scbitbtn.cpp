#include "controls/scbitbtn.h"

#include "classlib/windows/themes.h"
#include "controls/scgrafx.h"

TScBitBtn::TScBitBtn(TComponent* AOwner)
    : inherited(AOwner), glyph_(Create<TBitmap>()), imageLink_(Create<TChangeLink>()) {
    glyph_->OnChange = TNotifyEvent(this, &TScBitBtn::GlyphChanged);
    imageLink_->OnChange = TNotifyEvent(this, &TScBitBtn::ImagesChanged);
    ActionSupport().OnActionChange = TActionChangeEvent(this, &TScBitBtn::ActionChanged);
}

void TScBitBtn::ActionChanged(TObject* Sender, bool CheckDefaults) {
    // While loading, an image index the form file gave already stands.
    if (auto* action = dynamic_cast<TCustomAction*>(Sender); action && (!CheckDefaults || imageIndex_ == -1))
        SetImageIndex(action->ImageIndex());
}

void TScBitBtn::BeforeDestruction() {
    imageLink_->SetSender(nullptr);
    inherited::BeforeDestruction();
}

void TScBitBtn::SetGlyph(TBitmap* Value) {
    if (Value)
        glyph_->Assign(Value);
    else
        glyph_->SetSize(0, 0);
    GlyphChanged(glyph_.get());
}

void TScBitBtn::GlyphChanged(TObject*) {
    numGlyphs_ = GlyphCountOf(glyph_->Width(), glyph_->Height());
    if (!settingKindGlyph_) customGlyph_ = true;
    Invalidate();
}

void TScBitBtn::SetNumGlyphs(int Value) {
    Value = Value < 1 ? 1 : Value > 4 ? 4 : Value;
    if (Value == numGlyphs_) return;
    numGlyphs_ = Value;
    Invalidate();
}

void TScBitBtn::SetLayout(TButtonLayout Value) {
    if (Value == layout_) return;
    layout_ = Value;
    Invalidate();
}

void TScBitBtn::SetMargin(int Value) {
    if (Value == margin_) return;
    margin_ = Value;
    Invalidate();
}

void TScBitBtn::SetSpacing(int Value) {
    if (Value == spacing_) return;
    spacing_ = Value;
    Invalidate();
}

void TScBitBtn::SetImages(TCustomImageList* Value) {
    if (Value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    imageLink_->SetSender(Value);
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TScBitBtn::ImagesChanged(TObject*) {
    Invalidate();
}

void TScBitBtn::SetImageIndex(int Value) {
    if (Value == imageIndex_) return;
    imageIndex_ = Value;
    Invalidate();
}

void TScBitBtn::SetDisabledIndex(int Value) {
    if (Value == disabledIndex_) return;
    disabledIndex_ = Value;
    Invalidate();
}

void TScBitBtn::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) {
        images_ = nullptr;
        imageLink_->SetSender(nullptr);
        Invalidate();
    }
}

void TScBitBtn::SetKind(TBitBtnKind Value) {
    kind_ = Value;
    if (Value == bkCustom) return;
    const TBitBtnKindInfo& info = BitBtnKindInfo(Value);
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
    SetModalResult(info.ModalResult);
    if (!ComponentState().Contains(csLoading)) SetCaption(info.Caption);
    settingKindGlyph_ = true;
    try {
        SetGlyph(GetKindGlyph(Value));
    } catch (...) {
        settingKindGlyph_ = false;
        throw;
    }
    settingKindGlyph_ = false;
    customGlyph_ = false;
}

TBitBtnKind TScBitBtn::Kind() const {
    if (kind_ == bkCustom || customGlyph_) return bkCustom;
    const bool matches = Default() == (kind_ == bkOK || kind_ == bkYes) &&
                         Cancel() == (kind_ == bkCancel || kind_ == bkNo) &&
                         ModalResult() == BitBtnKindInfo(kind_).ModalResult;
    return matches ? kind_ : bkCustom;
}

TSize TScBitBtn::GlyphSize() const {
    if (images_ && imageIndex_ >= 0) return TSize{images_->Width(), images_->Height()};
    if (glyph_->Empty()) return TSize{0, 0};
    return TSize{glyph_->Width() / numGlyphs_, glyph_->Height()};
}

int TScBitBtn::GlyphCell() const {
    if (numGlyphs_ == 4 && Down()) return 3;
    if (numGlyphs_ >= 3 && Pressed()) return 2;
    if (numGlyphs_ < 2 || Enabled()) return 0;
    return 1;
}

TSize TScBitBtn::CaptionSize() {
    const std::string caption = GetText();
    if (caption.empty()) return TSize{0, 0};
    TRect measured = ClientRect();
    HDC dc = Canvas()->Handle();
    TSelectObject font(dc, Font()->Handle());
    RECT r = measured;
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
    return TSize{r.right - r.left, r.bottom - r.top};
}

TRect TScBitBtn::GlyphRect() {
    const TSize glyph = GlyphSize();
    const TRect client = ClientRect();
    TRect r;
    switch (layout_) {
        case blGlyphLeft:
            r = Bounds(client.Left + margin_, (client.Height() - glyph.cy) / 2, glyph.cx, glyph.cy);
            break;
        case blGlyphRight:
            r = Bounds(client.Right - margin_ - glyph.cx, (client.Height() - glyph.cy) / 2, glyph.cx,
                       glyph.cy);
            break;
        case blGlyphTop:
        case blGlyphBottom: {
            // Glyph, spacing and caption stand as one block in the middle.
            const int textHeight = CaptionSize().cy;
            const int top = (client.Height() - (glyph.cy + spacing_ + textHeight)) / 2;
            const int glyphTop = layout_ == blGlyphTop ? top : top + textHeight + spacing_;
            r = Bounds((client.Width() - glyph.cx) / 2, glyphTop, glyph.cx, glyph.cy);
            break;
        }
    }
    if (Pressed()) r = Themed() ? OffsetRect(r, 2, 0) : OffsetRect(r, 1, 1);
    return r;
}

TRect TScBitBtn::GetCaptionRect() {
    TRect r = inherited::GetCaptionRect();
    const TSize glyph = GlyphSize();
    if (glyph.cx == 0) return r;
    switch (layout_) {
        case blGlyphLeft:
            r.Left += margin_ + glyph.cx + spacing_;
            break;
        case blGlyphRight:
            r.Right -= margin_ + glyph.cx + spacing_;
            break;
        case blGlyphTop:
        case blGlyphBottom: {
            const int textHeight = CaptionSize().cy;
            const int top = (Height() - (glyph.cy + spacing_ + textHeight)) / 2;
            const int textTop = layout_ == blGlyphTop ? top + glyph.cy + spacing_ : top;
            // Keep the press shift the button's own caption rectangle has.
            r.Top = textTop + (r.Top - TScCustomButton::GetCaptionRect().Top);
            r.Bottom = r.Top + textHeight;
            break;
        }
    }
    return r;
}

void TScBitBtn::PaintGlyph(TCanvas* Canvas) {
    const TRect target = GlyphRect();
    if (images_) {
        // Without a disabled image the enabled one shows in every state.
        const int index = disabledIndex_ == -1 || Enabled() ? imageIndex_ : disabledIndex_;
        if (index >= 0) images_->Draw(Canvas, target.Left, target.Top, index, true);
        return;
    }
    if (glyph_->Empty()) return;
    const TSize size = GlyphSize();
    const int cell = GlyphCell();
    // The cell goes onto the button's colour first, so that a transparent
    // glyph shows the face and not the glyph's own background.
    TOwned<TBitmap> face(Create<TBitmap>());
    face->SetSize(size.cx, size.cy);
    face->Canvas()->Brush()->SetColor(Color());
    face->Canvas()->Brush()->SetStyle(bsSolid);
    face->Canvas()->FillRect(Rect(0, 0, size.cx, size.cy));
    StretchDrawTransparent(face->Canvas(), Rect(0, 0, size.cx, size.cy), glyph_.get(),
                           Bounds(cell * size.cx, 0, size.cx, size.cy), glyph_->TransparentColor());
    Canvas->Draw(target.Left, target.Top, face.get());
}
