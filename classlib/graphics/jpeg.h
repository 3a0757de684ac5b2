// `TJPEGImage`: a JPEG picture decoded through libjpeg into a bitmap that is
// drawn like any other graphic.
#pragma once

#include <vector>

#include "classlib/graphics/bitmap.h"

class TJPEGImage : public TGraphic {
    VX_CLASS(TJPEGImage, TGraphic)
public:
    TJPEGImage();

    bool Empty() const override { return bitmap_->Empty(); }
    int Width() const override { return bitmap_->Width(); }
    int Height() const override { return bitmap_->Height(); }
    // A decoded picture has the size it came with.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // Raises EInvalidGraphic when the data is not a JPEG picture libjpeg
    // can read.
    void LoadFromStream(TStream* Stream) override;
    // Writes back the data that was read.
    void SaveToStream(TStream* Stream) override;
    void Assign(TPersistent* Source) override;
    // The decoded picture.
    TBitmap* Bitmap() const { return bitmap_.get(); }

protected:
    void Draw(TCanvas* ACanvas, const TRect& R) override;

private:
    TOwned<TBitmap> bitmap_;
    std::vector<unsigned char> data_;
};
