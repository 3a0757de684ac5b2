#include "skins/skinglyphs.h"

#include <cstdint>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/imagelist.h"
#include "skins/skinpaint.h"

namespace {

struct TPattern {
    int Height;
    std::uint8_t Rows[9];
};

constexpr TPattern kPatterns[] = {
    {8, {0xC6, 0xEE, 0x7C, 0x38, 0x7C, 0xEE, 0xC6, 0x00}},
    {8, {0xFF, 0xFF, 0x81, 0x81, 0x81, 0x81, 0x81, 0xFF}},
    {8, {0x00, 0x00, 0x00, 0x00, 0x00, 0x7E, 0x7E, 0x00}},
    {9, {0x3F, 0x3F, 0x21, 0xFD, 0xFD, 0x87, 0x84, 0x84, 0xFC}},
};

bool IsPattern(TSbGlyphPattern Glyph) {
    const int index = static_cast<int>(Glyph);
    return index >= sgpClose && index <= sgpRestore;
}

// Passes the brush where the source bit is set and keeps the destination
// elsewhere.
constexpr DWORD kPatternThroughSource = 0x00E20746;

}  // namespace

void DrawArrow(TCanvas* Canvas, int X, int Y, int Size, bool Vertical, bool PointBack, TColor Color) {
    if (Color == clNone || Size <= 0) return;
    TSkinToolColors tools(Canvas);
    tools.Use(Color);
    const int tip = PointBack ? -Size : Size;
    if (Vertical)
        Canvas->Polygon({{X, Y}, {X + 2 * Size, Y}, {X + Size, Y + tip}});
    else
        Canvas->Polygon({{X, Y}, {X, Y + 2 * Size}, {X + tip, Y + Size}});
}

TSize GlyphPatternSize(TSbGlyphPattern Glyph) {
    if (!IsPattern(Glyph)) return {0, 0};
    return {8, kPatterns[Glyph].Height};
}

void DrawGlyphPattern(TCanvas* Canvas, const TRect& R, TSbGlyphPattern Glyph, TColor Color) {
    // The glyph often comes from an item's ImageIndex, which may be anything.
    if (Color == clNone || !IsPattern(Glyph)) return;
    const TPattern& pattern = kPatterns[Glyph];
    // Monochrome rows are word-aligned.
    std::uint16_t rows[9] = {};
    for (int i = 0; i < pattern.Height; ++i) rows[i] = pattern.Rows[i];
    TBitmapHandle mask(CreateBitmap(8, pattern.Height, 1, 1, rows));
    TBrushHandle ownBrush;
    HBRUSH brush;
    if (Color < 0) {
        brush = GetSysColorBrush(Color & 0xFF);
    } else {
        ownBrush.Reset(CreateSolidBrush(ColorToRGB(Color)));
        brush = ownBrush.Get();
    }
    HDC dc = Canvas->Handle();
    TMemoryDC source(dc);
    TSelectObject selectMask(source.Get(), mask.Get());
    TSelectObject selectBrush(dc, brush);
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    const int x = R.Left + (R.Right - R.Left - 8) / 2;
    const int y = R.Top + (R.Bottom - R.Top - pattern.Height) / 2;
    BitBlt(dc, x, y, 8, pattern.Height, source.Get(), 0, 0, kPatternThroughSource);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void DrawGripDots(TCanvas* Canvas, const TRect& R, TColor Light, TColor Dark) {
    HDC dc = Canvas->Handle();
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    const COLORREF oldColor = GetDCBrushColor(dc);
    for (int y = R.Top; y + 3 <= R.Bottom; y += 4)
        for (int x = R.Left; x + 3 <= R.Right; x += 4) {
            if (Light != clNone) {
                SetDCBrushColor(dc, ColorToRGB(Light));
                PatBlt(dc, x + 1, y + 1, 2, 2, PATCOPY);
            }
            if (Dark != clNone) {
                SetDCBrushColor(dc, ColorToRGB(Dark));
                PatBlt(dc, x, y, 2, 2, PATCOPY);
            }
        }
    SetDCBrushColor(dc, oldColor);
    SelectObject(dc, oldBrush);
}

void DrawImageListGlyph(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, int Index,
                        TSbGlyphState State) {
    if (!Images || Index < 0 || Index >= Images->Count()) return;
    const int x = R.Left + (R.Right - R.Left - Images->Width()) / 2;
    const int y = R.Top + (R.Bottom - R.Top - Images->Height()) / 2;
    if (State != sgsShadowed) {
        Images->Draw(Canvas, x, y, Index, State == sgsNormal);
        return;
    }
    // The image's silhouette in the shadow colour.
    TOwned<TBitmap> image = MakeOwned<TBitmap>();
    Images->GetBitmap(Index, image.get());
    const COLORREF shadow = ColorToRGB(clBtnShadow);
    HDC dc = Canvas->Handle();
    for (int row = 0; row < image->Height(); ++row)
        for (int column = 0; column < image->Width(); ++column)
            if (image->PixelColor(column, row) != clWhite) SetPixelV(dc, x + column, y + row, shadow);
}
