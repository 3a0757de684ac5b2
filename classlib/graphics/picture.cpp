#include "classlib/graphics/picture.h"

#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/graphics/jpeg.h"

namespace {

TClass GraphicClassOfExtension(const std::string& FileName) {
    const std::string ext = LowerCase(ExtractFileExt(FileName));
    if (ext == ".bmp") return TBitmap::ClassInfo();
    if (ext == ".ico") return TIcon::ClassInfo();
    if (ext == ".jpg" || ext == ".jpeg") return TJPEGImage::ClassInfo();
    throw EInvalidGraphic(Format("Unknown picture file extension (%s)", ext.empty() ? "" : ext.substr(1)));
}

TOwned<TGraphic> NewGraphic(TClass GraphicClass) {
    TOwned<TObject> made(CreateInstance(GraphicClass));
    auto* graphic = dynamic_cast<TGraphic*>(made.get());
    if (!graphic) throw EInvalidGraphic(std::string("Cannot create an instance of ") + GraphicClass->Name);
    made.release();
    return TOwned<TGraphic>(graphic);
}

}  // namespace

void TPicture::Hold(TOwned<TGraphic> NewGraphic) {
    if (NewGraphic) NewGraphic->OnChange = TNotifyEvent(this, &TPicture::Changed);
    // The old graphic goes only after the new one is in place, so that a
    // change handler never sees a freed graphic.
    TOwned<TGraphic> old = std::move(graphic_);
    graphic_ = std::move(NewGraphic);
    old.reset();
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
    if (!Value) {
        if (graphic_) Hold(nullptr);
        return;
    }
    TOwned<TGraphic> copy = NewGraphic(Value->ClassType());
    copy->Assign(Value);
    Hold(std::move(copy));
}

template <class T>
T* TPicture::ForceType() {
    if (auto* held = dynamic_cast<T*>(graphic_.get())) return held;
    Hold(TOwned<TGraphic>(Create<T>()));
    return static_cast<T*>(graphic_.get());
}

TBitmap* TPicture::Bitmap() {
    return ForceType<TBitmap>();
}

TIcon* TPicture::Icon() {
    return ForceType<TIcon>();
}

void TPicture::Assign(TPersistent* Source) {
    if (Source == this) return;
    if (!Source) return SetGraphic(nullptr);
    if (auto* picture = dynamic_cast<TPicture*>(Source)) return SetGraphic(picture->Graphic());
    if (auto* graphic = dynamic_cast<TGraphic*>(Source)) return SetGraphic(graphic);
    inherited::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
    if (graphic_ && dynamic_cast<TGraphic*>(Dest)) return Dest->Assign(graphic_.get());
    inherited::AssignTo(Dest);
}

void TPicture::LoadFromFile(const std::string& FileName) {
    TOwned<TGraphic> loaded = NewGraphic(GraphicClassOfExtension(FileName));
    loaded->LoadFromFile(FileName);
    Hold(std::move(loaded));
}

void TPicture::SaveToFile(const std::string& FileName) {
    if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::Changed(TObject*) {
    if (Assigned(OnChange)) OnChange(this);
}
