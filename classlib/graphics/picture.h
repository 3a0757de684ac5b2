// `TPicture`: a holder for one graphic of any kind (bitmap, icon, JPEG) that
// loads a file by its extension, hands out the graphic as the kind asked for,
// and reports every change, including those the graphic makes itself.
#pragma once

#include <string>

#include "classlib/graphics/bitmap.h"

class TPicture : public TPersistent {
    VX_CLASS(TPicture, TPersistent)
public:
    // Null when the picture is empty.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of Value (a graphic of Value's class); null empties the
    // picture.
    void SetGraphic(TGraphic* Value);

    // The held graphic as a bitmap; anything else is replaced by a new, empty
    // bitmap first (as is an empty picture).
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
    // The same for an icon.
    TIcon* Icon();
    void SetIcon(TIcon* Value) { SetGraphic(Value); }

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Takes a copy of a picture's graphic or of a graphic; null empties.
    void Assign(TPersistent* Source) override;

    // The graphic class follows the extension: .bmp, .ico, .jpg or .jpeg (any
    // case); another one raises EInvalidGraphic. A file that fails to load
    // leaves the picture as it was.
    void LoadFromFile(const std::string& FileName);
    // Writes the graphic in its own format; an empty picture writes nothing.
    void SaveToFile(const std::string& FileName);

    // Sender is the picture.
    TNotifyEvent OnChange;

protected:
    // Hands the graphic to a graphic that can take it.
    void AssignTo(TPersistent* Dest) override;
    virtual void Changed(TObject* Sender);

private:
    void Hold(TOwned<TGraphic> NewGraphic);
    template <class T>
    T* ForceType();

    TOwned<TGraphic> graphic_;
};
