#include "classlib/graphics/graphics.h"

#include <cstring>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/graphics/bitmap.h"

void TGraphicsObject::Changed() {
    if (Assigned(OnChange)) OnChange(this);
}

int ScreenPixelsPerInch() {
    static const int dpi = [] {
        TWindowDC screen;
        const int value = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return value > 0 ? value : 96;
    }();
    return dpi;
}

TFont::TFont() : pixelsPerInch_(ScreenPixelsPerInch()) {}

void TFont::Changed() {
    if (handle_) Releasing();
    handle_.Reset();
    inherited::Changed();
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW font{};
    font.lfHeight = height_;
    font.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style_.Contains(fsItalic);
    font.lfUnderline = style_.Contains(fsUnderline);
    font.lfStrikeOut = style_.Contains(fsStrikeOut);
    font.lfCharSet = charset_;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = pitch_ == fpFixed      ? FIXED_PITCH
                            : pitch_ == fpVariable ? VARIABLE_PITCH
                                                   : DEFAULT_PITCH;
    const std::wstring face = ToWide(name_);
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return font;
}

HFONT TFont::Handle() {
    if (!handle_) {
        const LOGFONTW font = LogFont();
        handle_.Reset(CreateFontIndirectW(&font));
    }
    return handle_.Get();
}

void TFont::SetHandle(HFONT Value) {
    LOGFONTW font{};
    if (!Value || !GetObjectW(Value, sizeof font, &font)) return;
    name_ = ToAnsi(font.lfFaceName);
    height_ = font.lfHeight;
    style_ = {};
    style_.Set(fsBold, font.lfWeight >= FW_BOLD);
    style_.Set(fsItalic, font.lfItalic);
    style_.Set(fsUnderline, font.lfUnderline);
    style_.Set(fsStrikeOut, font.lfStrikeOut);
    charset_ = font.lfCharSet;
    const int pitch = font.lfPitchAndFamily & 3;
    pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    Changed();
    handle_.Reset(Value);
}

void TFont::SetName(const std::string& Value) {
    if (Value.empty() || Value == name_) return;
    name_ = Value;
    Changed();
}

void TFont::SetHeight(int Value) {
    if (Value == height_) return;
    height_ = Value;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int Value) {
    SetHeight(-MulDiv(Value, pixelsPerInch_, 72));
}

void TFont::SetStyle(TFontStyles Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    // The colour is not part of the GDI font: keep the handle.
    TGraphicsObject::Changed();
}

void TFont::SetCharset(TFontCharset Value) {
    if (Value == charset_) return;
    charset_ = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value) {
    if (Value == pitch_) return;
    pitch_ = Value;
    Changed();
}

void TFont::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TFont*>(Source);
    if (!source) return inherited::Assign(Source);
    if (source == this) return;
    name_ = source->name_;
    height_ = MulDiv(source->height_, pixelsPerInch_, source->pixelsPerInch_);
    style_ = source->style_;
    color_ = source->color_;
    charset_ = source->charset_;
    pitch_ = source->pitch_;
    Changed();
}

namespace {
int PenStyleToWin32(TPenStyle style) {
    static const int styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                 PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    return styles[style];
}
}  // namespace

void TPen::Changed() {
    if (handle_) Releasing();
    handle_.Reset();
    inherited::Changed();
}

HPEN TPen::Handle() {
    if (!handle_) {
        LOGPEN pen{static_cast<UINT>(PenStyleToWin32(style_)), POINT{width_, 0}, ColorToRGB(color_)};
        handle_.Reset(CreatePenIndirect(&pen));
    }
    return handle_.Get();
}

void TPen::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    Changed();
}

void TPen::SetWidth(int Value) {
    if (Value < 0 || Value == width_) return;
    width_ = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value) {
    if (Value == mode_) return;
    mode_ = Value;
    // The mix mode is a state of the device context, not of the pen.
    TGraphicsObject::Changed();
}

void TPen::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TPen*>(Source);
    if (!source) return inherited::Assign(Source);
    if (source == this) return;
    color_ = source->color_;
    width_ = source->width_;
    style_ = source->style_;
    mode_ = source->mode_;
    Changed();
}

void TBrush::Changed() {
    if (handle_) Releasing();
    handle_.Reset();
    inherited::Changed();
}

HBRUSH TBrush::Handle() {
    if (!handle_) {
        if (bitmap_ && !bitmap_->Empty()) {
            handle_.Reset(CreatePatternBrush(bitmap_->Handle()));
        } else {
            LOGBRUSH brush{};
            brush.lbColor = ColorToRGB(color_);
            switch (style_) {
                case bsSolid:
                    // clNone means "no colour": such a brush fills nothing.
                    brush.lbStyle = color_ == clNone ? BS_HOLLOW : BS_SOLID;
                    break;
                case bsClear:
                    brush.lbStyle = BS_HOLLOW;
                    break;
                default:
                    brush.lbStyle = BS_HATCHED;
                    brush.lbHatch = static_cast<ULONG_PTR>(style_ - bsHorizontal);
                    break;
            }
            handle_.Reset(CreateBrushIndirect(&brush));
        }
    }
    return handle_.Get();
}

void TBrush::SetColor(TColor Value) {
    if (Value == color_ && style_ != bsClear) return;
    color_ = Value;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (Value == style_ && !bitmap_) return;
    style_ = Value;
    bitmap_ = nullptr;
    Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
    if (Value == bitmap_) return;
    bitmap_ = Value;
    Changed();
}

void TBrush::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TBrush*>(Source);
    if (!source) return inherited::Assign(Source);
    if (source == this) return;
    color_ = source->color_;
    style_ = source->style_;
    bitmap_ = source->bitmap_;
    Changed();
}

TBrushHandle CreateDitherBrush(TColor Color1, TColor Color2) {
    const COLORREF colors[2] = {ColorToRGB(Color1), ColorToRGB(Color2)};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = 8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    DWORD pixels[64];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const COLORREF c = colors[(x + y) & 1];
            pixels[y * 8 + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    // The brush copies the bits: nothing else needs to live on.
    const size_t size = sizeof(info.bmiHeader) + sizeof(pixels);
    std::vector<unsigned char> packed(size);
    std::memcpy(packed.data(), &info.bmiHeader, sizeof(info.bmiHeader));
    std::memcpy(packed.data() + sizeof(info.bmiHeader), pixels, sizeof(pixels));
    return TBrushHandle(CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS));
}
