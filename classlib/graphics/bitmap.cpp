#include "classlib/graphics/bitmap.h"

#include <algorithm>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"

void TGraphic::SetTransparent(bool Value) {
    if (Value == transparent_) return;
    transparent_ = Value;
    Changed();
}

void TGraphic::Changed() {
    modified_ = true;
    if (Assigned(OnChange)) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& FileName) {
    TOwned<TFileStream> stream(Create<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
    LoadFromStream(stream.get());
}

void TGraphic::SaveToFile(const std::string& FileName) {
    TOwned<TFileStream> stream(Create<TFileStream>(FileName, fmCreate));
    SaveToStream(stream.get());
}

// The canvas of a bitmap draws on the bitmap's memory DC.
class TBitmapCanvas : public TCanvas {
    VX_CLASS(TBitmapCanvas, TCanvas)
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    // Lets go of the DC without touching it again (it is about to go).
    void Detach() { SetHandle(nullptr); }

protected:
    void CreateHandle() override { SetHandle(bitmap_->MemoryDC()); }

private:
    TBitmap* bitmap_;
};

namespace {

struct MonochromeInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
};

HBITMAP CreateSection(int width, int height, TPixelFormat format, void** bits) {
    MonochromeInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = format == pf1bit ? 1 : 32;
    info.header.biCompression = BI_RGB;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, nullptr, 0);
}

int StrideOf(int width, TPixelFormat format) {
    const int bitsPerRow = width * (format == pf1bit ? 1 : 32);
    return ((bitsPerRow + 31) / 32) * 4;
}

}  // namespace

TBitmap::TBitmap() : canvas_(Create<TBitmapCanvas>(this)) {}

TBitmap::~TBitmap() {
    FreeContext();
}

HDC TBitmap::MemoryDC() {
    if (!dc_) {
        dc_ = std::make_unique<TMemoryDC>();
        if (handle_) oldBitmap_ = SelectObject(dc_->Get(), handle_.Get());
    }
    return dc_->Get();
}

void TBitmap::FreeContext() {
    if (!dc_) return;
    static_cast<TBitmapCanvas*>(canvas_.get())->Detach();
    if (oldBitmap_) SelectObject(dc_->Get(), oldBitmap_);
    oldBitmap_ = nullptr;
    dc_.reset();
}

void TBitmap::Dormant() {
    FreeContext();
}

TCanvas* TBitmap::Canvas() {
    return canvas_.get();
}

HBITMAP TBitmap::Handle() {
    FreeContext();
    return handle_.Get();
}

void TBitmap::Rebuild(int AWidth, int AHeight, TPixelFormat Format) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    TBitmapHandle section;
    void* bits = nullptr;
    if (AWidth > 0 && AHeight > 0) {
        section.Reset(CreateSection(AWidth, AHeight, Format, &bits));
        if (!section) throw EOutOfResources("Out of system resources");
        TMemoryDC target;
        TSelectObject select(target.Get(), section.Get());
        PatBlt(target.Get(), 0, 0, AWidth, AHeight, WHITENESS);
        if (handle_) {
            HDC source = MemoryDC();
            BitBlt(target.Get(), 0, 0, std::min(AWidth, width_), std::min(AHeight, height_), source, 0, 0,
                   SRCCOPY);
        }
        GdiFlush();
    }
    FreeContext();
    handle_ = std::move(section);
    bits_ = bits;
    width_ = handle_ ? AWidth : 0;
    height_ = handle_ ? AHeight : 0;
    format_ = Format;
    stride_ = StrideOf(width_, format_);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
    if (AWidth == width_ && AHeight == height_) return;
    Rebuild(AWidth, AHeight, format_);
    Changed();
}

void TBitmap::SetMonochrome(bool Value) {
    SetPixelFormat(Value ? pf1bit : pf32bit);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == pfDevice) Value = pf32bit;
    if (Value == format_) return;
    if (handle_)
        Rebuild(width_, height_, Value);
    else
        format_ = Value;
    Changed();
}

void* TBitmap::ScanLine(int Row) {
    if (!bits_ || Row < 0 || Row >= height_) throw EInvalidOperation("Scan line index out of range");
    GdiFlush();
    return static_cast<BYTE*>(bits_) + static_cast<size_t>(Row) * stride_;
}

TColor TBitmap::PixelColor(int X, int Y) {
    if (X < 0 || X >= width_) throw EInvalidOperation("Scan line index out of range");
    const BYTE* row = static_cast<const BYTE*>(ScanLine(Y));
    if (format_ == pf1bit) return (row[X / 8] & (0x80 >> (X % 8))) ? clWhite : clBlack;
    const auto pixel = reinterpret_cast<const std::uint32_t*>(row)[X];
    return static_cast<TColor>(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
}

TColor TBitmap::TransparentColor() {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    if (Empty()) return clDefault;
    return PixelColor(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
    if (Value == transparentColor_) return;
    transparentColor_ = Value;
    transparentMode_ = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (Value == transparentMode_) return;
    transparentMode_ = Value;
    if (Value == tmAuto) transparentColor_ = clDefault;
    Changed();
}

void TBitmap::LoadFromHandle(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    const TPixelFormat format = info.bmBitsPixel == 1 ? pf1bit : pf32bit;
    TMemoryDC source;
    TSelectObject select(source.Get(), bitmap);
    FreeContext();
    handle_.Reset();
    width_ = height_ = 0;
    Rebuild(info.bmWidth, info.bmHeight, format);
    if (handle_) BitBlt(MemoryDC(), 0, 0, width_, height_, source.Get(), 0, 0, SRCCOPY);
    FreeContext();
}

void TBitmap::SetHandle(HBITMAP Value) {
    if (!Value) {
        FreeContext();
        handle_.Reset();
        bits_ = nullptr;
        width_ = height_ = 0;
    } else {
        TBitmapHandle adopted(Value);
        LoadFromHandle(adopted.Get());
    }
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    FreeContext();
    HBITMAP result = handle_.Release();
    bits_ = nullptr;
    width_ = height_ = 0;
    return result;
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName) {
    const std::wstring name = ToWide(ResName);
    TBitmapHandle loaded(static_cast<HBITMAP>(LoadImageW(Instance, name.c_str(), IMAGE_BITMAP, 0, 0, 0)));
    if (!loaded) throw EResNotFound("Resource " + ResName + " not found");
    LoadFromHandle(loaded.Get());
    Changed();
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
    TBitmapHandle loaded(
        static_cast<HBITMAP>(LoadImageW(Instance, MAKEINTRESOURCEW(ResID), IMAGE_BITMAP, 0, 0, 0)));
    if (!loaded) throw EResNotFound("Resource " + IntToStr(ResID) + " not found");
    LoadFromHandle(loaded.Get());
    Changed();
}

void TBitmap::LoadFromStream(TStream* Stream) {
    BITMAPFILEHEADER file{};
    Stream->ReadBuffer(&file, sizeof file);
    if (file.bfType != 0x4D42 || file.bfSize < sizeof file + sizeof(BITMAPINFOHEADER) ||
        file.bfOffBits < sizeof file + sizeof(BITMAPINFOHEADER) || file.bfSize > 0x10000000)
        throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<BYTE> rest(file.bfSize - sizeof file);
    Stream->ReadBuffer(rest.data(), static_cast<int>(rest.size()));
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(rest.data());
    const LONG width = info->biWidth;
    const LONG height = info->biHeight < 0 ? -info->biHeight : info->biHeight;
    const size_t bitsOffset = file.bfOffBits - sizeof file;
    const size_t rowBytes = ((size_t(width) * info->biBitCount + 31) / 32) * 4;
    if (info->biSize < sizeof(BITMAPINFOHEADER) || width <= 0 || height <= 0 || width > 0x8000 ||
        height > 0x8000 || info->biBitCount == 0 || bitsOffset > rest.size() ||
        (info->biCompression == BI_RGB && rowBytes * height > rest.size() - bitsOffset))
        throw EInvalidGraphic("Bitmap image is not valid");
    const TPixelFormat format = info->biBitCount == 1 ? pf1bit : pf32bit;
    FreeContext();
    handle_.Reset();
    width_ = height_ = 0;
    Rebuild(width, height, format);
    SetDIBitsToDevice(MemoryDC(), 0, 0, width, height, 0, 0, 0, height, rest.data() + bitsOffset,
                      reinterpret_cast<const BITMAPINFO*>(rest.data()), DIB_RGB_COLORS);
    FreeContext();
    Changed();
}

void TBitmap::SaveToStream(TStream* Stream) {
    MonochromeInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width_;
    info.header.biHeight = height_;  // bottom row first, as files usually are
    info.header.biPlanes = 1;
    info.header.biBitCount = format_ == pf1bit ? 1 : 32;
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = static_cast<DWORD>(stride_ * height_);
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    const DWORD infoSize = sizeof(BITMAPINFOHEADER) + (format_ == pf1bit ? 2 * sizeof(RGBQUAD) : 0);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + infoSize;
    file.bfSize = file.bfOffBits + info.header.biSizeImage;
    Stream->WriteBuffer(&file, sizeof file);
    Stream->WriteBuffer(&info, static_cast<int>(infoSize));
    for (int row = height_ - 1; row >= 0; --row) Stream->WriteBuffer(ScanLine(row), stride_);
}

void TBitmap::Assign(TPersistent* Source) {
    if (Source == this) return;
    if (!Source) {
        SetHandle(nullptr);
        return;
    }
    if (auto* source = dynamic_cast<TBitmap*>(Source)) {
        FreeContext();
        handle_.Reset();
        width_ = height_ = 0;
        Rebuild(source->width_, source->height_, source->format_);
        if (handle_) BitBlt(MemoryDC(), 0, 0, width_, height_, source->MemoryDC(), 0, 0, SRCCOPY);
        transparentColor_ = source->transparentColor_;
        transparentMode_ = source->transparentMode_;
        SetTransparent(source->Transparent());
        Changed();
        return;
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
        FreeContext();
        handle_.Reset();
        width_ = height_ = 0;
        Rebuild(graphic->Width(), graphic->Height(), pf32bit);
        if (handle_) Canvas()->Draw(0, 0, graphic);
        Changed();
        return;
    }
    inherited::Assign(Source);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) {
    if (Empty()) return;
    HDC target = ACanvas->Handle();
    HDC source = MemoryDC();
    if (Transparent()) {
        TransparentBlt(target, R.Left, R.Top, R.Width(), R.Height(), source, 0, 0, width_, height_,
                       ColorToRGB(TransparentColor()));
    } else {
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, R.Left, R.Top, R.Width(), R.Height(), source, 0, 0, width_, height_,
                   ACanvas->CopyMode());
    }
}

int TIcon::Width() const {
    if (!width_ && icon_.Get()) {
        ICONINFO info{};
        if (GetIconInfo(icon_.Get(), &info)) {
            BITMAP bitmap{};
            GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
            width_ = bitmap.bmWidth;
            height_ = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
            if (info.hbmColor) DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
    }
    return width_;
}

int TIcon::Height() const {
    Width();
    return height_;
}

void TIcon::SetHandle(HICON Value) {
    if (Value == icon_.Get()) return;
    icon_.Reset(Value);
    width_ = height_ = 0;
    Changed();
}

HICON TIcon::ReleaseHandle() {
    width_ = height_ = 0;
    return icon_.Release();
}

void TIcon::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName) {
    const std::wstring name = ToWide(ResName);
    HICON icon = static_cast<HICON>(LoadImageW(Instance, name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!icon) throw EResNotFound("Resource " + ResName + " not found");
    SetHandle(icon);
}

void TIcon::LoadFromResourceID(HINSTANCE Instance, int ResID) {
    HICON icon =
        static_cast<HICON>(LoadImageW(Instance, MAKEINTRESOURCEW(ResID), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!icon) throw EResNotFound("Resource " + IntToStr(ResID) + " not found");
    SetHandle(icon);
}

void TIcon::LoadFromStream(TStream* Stream) {
    // An .ico file: take the first image of the directory.
    const int64_t size = Stream->Size() - Stream->Position();
    if (size < 22 || size > 0x1000000) throw EInvalidGraphic("Icon image is not valid");
    std::vector<BYTE> data(static_cast<size_t>(size));
    Stream->ReadBuffer(data.data(), static_cast<int>(size));
    const WORD type = data[2] | (data[3] << 8);
    const WORD count = data[4] | (data[5] << 8);
    if (type != 1 || count == 0) throw EInvalidGraphic("Icon image is not valid");
    const BYTE* entry = data.data() + 6;
    const DWORD bytes = entry[8] | (entry[9] << 8) | (entry[10] << 16) | (DWORD(entry[11]) << 24);
    const DWORD offset = entry[12] | (entry[13] << 8) | (entry[14] << 16) | (DWORD(entry[15]) << 24);
    if (offset > data.size() || bytes > data.size() - offset)
        throw EInvalidGraphic("Icon image is not valid");
    HICON icon = CreateIconFromResourceEx(data.data() + offset, bytes, TRUE, 0x00030000, entry[0], entry[1],
                                          LR_DEFAULTCOLOR);
    if (!icon) throw EInvalidGraphic("Icon image is not valid");
    SetHandle(icon);
}

void TIcon::SaveToStream(TStream*) {
    throw EInvalidGraphicOperation("Cannot save an icon");
}

void TIcon::Assign(TPersistent* Source) {
    if (Source == this) return;
    if (!Source) {
        SetHandle(nullptr);
        return;
    }
    if (auto* source = dynamic_cast<TIcon*>(Source)) {
        SetHandle(source->Empty() ? nullptr : CopyIcon(source->Handle()));
        return;
    }
    inherited::Assign(Source);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& R) {
    if (Empty()) return;
    DrawIconEx(ACanvas->Handle(), R.Left, R.Top, icon_.Get(), R.Width(), R.Height(), 0, nullptr, DI_NORMAL);
}
