#include "classlib/stdctrls/image.h"

TImage::TImage(TComponent* AOwner) : inherited(AOwner), picture_(Create<TPicture>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
    SetBounds(0, 0, 105, 105);
}

void TImage::SetAutoSize(bool Value) {
    if (Value == autoSize_) return;
    autoSize_ = Value;
    PictureChanged(this);
}

void TImage::SetCenter(bool Value) {
    if (Value == center_) return;
    center_ = Value;
    PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
    if (Value == stretch_) return;
    stretch_ = Value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
    if (Value == transparent_) return;
    transparent_ = Value;
    PictureChanged(this);
}

TRect TImage::DestRect() const {
    const int w = picture_->Width(), h = picture_->Height();
    if (stretch_) return Rect(0, 0, Width(), Height());
    if (center_) return Bounds((Width() - w) / 2, (Height() - h) / 2, w, h);
    return Rect(0, 0, w, h);
}

void TImage::PictureChanged(TObject*) {
    // Telling the graphic to be transparent changes it, which lands here.
    if (changing_) return;
    changing_ = true;
    try {
        TGraphic* graphic = picture_->Graphic();
        if (graphic && !dynamic_cast<TIcon*>(graphic)) graphic->SetTransparent(transparent_);
        if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
            SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
        // An opaque picture that covers the whole control paints all of it.
        const bool covers = graphic && !graphic->Transparent() && !dynamic_cast<TIcon*>(graphic) &&
                            (stretch_ || (picture_->Width() >= Width() && picture_->Height() >= Height()));
        TControlStyle style = ControlStyle();
        if (covers)
            style.Include(csOpaque);
        else
            style.Exclude(csOpaque);
        SetControlStyle(style);
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
    Invalidate();
}

void TImage::Paint() {
    TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty()) return;
    Canvas()->StretchDraw(DestRect(), graphic);
}
