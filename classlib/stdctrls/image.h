// `TImage`: a windowless control showing a picture (bitmap, icon or JPEG) at
// its top-left corner, centred or stretched over the control, drawn
// transparently when asked, and sizing itself to the picture when AutoSize
// is on.
#pragma once

#include "classlib/graphics/picture.h"
#include "classlib/windows/controls.h"

class TImage : public TGraphicControl {
    VX_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner);

    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* Value) { picture_->Assign(Value); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    bool Center() const { return center_; }
    void SetCenter(bool Value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);
    // Bitmaps leave their transparent colour out.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);

protected:
    void Paint() override;
    // Where the picture goes within the control.
    TRect DestRect() const;
    virtual void PictureChanged(TObject* Sender);

private:
    TOwned<TPicture> picture_;
    bool autoSize_ = false;
    bool center_ = false;
    bool stretch_ = false;
    bool transparent_ = false;
    bool changing_ = false;
};
