#include "controls/scgrafx.h"

#include <algorithm>
#include <cmath>

#include "classlib/windows/forms.h"

namespace {

// 16.16 fixed-point walk from one colour to another over N steps.
class TColorWalk {
public:
    TColorWalk(COLORREF From, COLORREF To, int N) {
        const int n = std::max(N, 1);
        const int from[3] = {GetRValue(From), GetGValue(From), GetBValue(From)};
        const int to[3] = {GetRValue(To), GetGValue(To), GetBValue(To)};
        for (int i = 0; i < 3; ++i) {
            value_[i] = from[i] << 16;
            step_[i] = ((to[i] - from[i]) << 16) / n;
        }
    }
    COLORREF Color() const { return RGB(value_[0] >> 16, value_[1] >> 16, value_[2] >> 16); }
    void Step() {
        for (int i = 0; i < 3; ++i) value_[i] += step_[i];
    }

private:
    int value_[3];
    int step_[3];
};

int MinBand(std::uint8_t ColorStep, bool Box) {
    if (ColorStep <= 8) return ColorStep - 1;
    return (Box ? 256 : 255) / ColorStep;
}

// Calls Fill(first, last, colour) once per band of steps [first, last). A
// band ends where the colour changes, once it is at least MinBandSize + 1
// pixels thick; Thickness(first, i) measures the pixels between two steps.
template <class T, class F>
void Bands(int N, COLORREF From, COLORREF To, int MinBandSize, T Thickness, F Fill) {
    if (N <= 0) return;
    TColorWalk walk(From, To, N);
    int start = 0;
    COLORREF color = walk.Color();
    for (int i = 1; i < N; ++i) {
        walk.Step();
        const COLORREF next = walk.Color();
        if (next != color && Thickness(start, i) >= MinBandSize + 1) {
            Fill(start, i, color);
            start = i;
            color = next;
        }
    }
    Fill(start, N, color);
}

// One step is one pixel in the linear gradients.
int Steps(int First, int Last) {
    return Last - First;
}

// The DC brush takes a new colour without making a brush per band.
void Fill(TCanvas* Canvas, const TRect& R, COLORREF Color) {
    HDC dc = Canvas->Handle();
    SetDCBrushColor(dc, Color);
    FillRect(dc, R.Win32(), static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Copies the first Done columns (or rows) over the rest, doubling each time.
void Replicate(HDC DC, int Done, int Total, int Other, bool Across) {
    while (Done > 0 && Done < Total) {
        const int n = std::min(Done, Total - Done);
        if (Across)
            BitBlt(DC, Done, 0, n, Other, DC, 0, 0, SRCCOPY);
        else
            BitBlt(DC, 0, Done, Other, n, DC, 0, 0, SRCCOPY);
        Done += n;
    }
}

// Top to bottom (Vertical) or left to right, optionally meeting in the middle.
void PaintLinear(TCanvas* C, int W, int H, bool Vertical, bool FromBoth, COLORREF From, COLORREF To,
                 int MinBandSize) {
    const int length = Vertical ? H : W;
    const int strip = std::min(8, Vertical ? W : H);
    auto band = [&](int first, int last, COLORREF color) {
        Fill(C, Vertical ? TRect(0, first, strip, last) : TRect(first, 0, last, strip), color);
    };
    if (!FromBoth) {
        Bands(length, From, To, MinBandSize, Steps, band);
    } else {
        const int half = length / 2;
        Bands(half, From, To, MinBandSize, Steps, band);
        Bands(length - half, From, To, MinBandSize, Steps,
              [&](int first, int last, COLORREF color) { band(length - last, length - first, color); });
    }
    Replicate(C->Handle(), strip, Vertical ? W : H, length, Vertical);
}

void PaintBox(TCanvas* C, int W, int H, int ReduceX, int ReduceY, COLORREF From, COLORREF To,
              int MinBandSize) {
    const int qw = (W + 1) / 2, qh = (H + 1) / 2;
    if (From == To || W < 5 || H <= 4) {
        Fill(C, TRect(0, 0, W, H), To);
        return;
    }
    const int hw = (W - 1) / 2 - ReduceX, hh = (H - 1) / 2 - ReduceY;
    const int n = std::max(hw, hh) + 1;
    // Each band fills from its corner to the quarter's inner edges; the next
    // band covers its inner part, which leaves an L-shaped band behind.
    const int dx = (hw << 16) / n, dy = (hh << 16) / n;
    auto x = [&](int step) { return (step * dx) >> 16; };
    auto y = [&](int step) { return (step * dy) >> 16; };
    auto moved = [&](int first, int i) { return std::max(x(i) - x(first), y(i) - y(first)); };
    Bands(n, From, To, MinBandSize, moved,
          [&](int first, int, COLORREF color) { Fill(C, TRect(x(first), y(first), qw, qh), color); });
    Fill(C, TRect(hw, hh, qw, qh), To);
    StretchDrawMirrored(C, TRect(qw, 0, W, qh), C, TRect(0, 0, W - qw, qh), true, false);
    StretchDrawMirrored(C, TRect(0, qh, W, H), C, TRect(0, 0, W, H - qh), false, true);
}

void PaintDiagonal(TCanvas* C, int W, int H, bool FromRight, COLORREF From, COLORREF To, int MinBandSize) {
    if (From == To) {
        Fill(C, TRect(0, 0, W, H), To);
        return;
    }
    const int n = static_cast<int>(std::sqrt(double(W) * W + double(H) * H)) + 1;
    // Band k is everything beyond the line through (2W k/n, 0) and
    // (0, 2H k/n); later bands paint over the far part of earlier ones.
    HDC dc = C->Handle();
    TSelectObject brush(dc, GetStockObject(DC_BRUSH));
    TSelectObject pen(dc, GetStockObject(NULL_PEN));
    auto x = [&](int px) { return FromRight ? W - px : px; };
    auto along = [&](int step) { return static_cast<int>(2LL * W * step / n); };
    auto down = [&](int step) { return static_cast<int>(2LL * H * step / n); };
    auto moved = [&](int first, int i) { return std::max(along(i) - along(first), down(i) - down(first)); };
    Bands(n, From, To, MinBandSize, moved, [&](int first, int, COLORREF color) {
        const int xk = along(first), yk = down(first);
        const int farX = std::max(W, xk) + 1, farY = std::max(H, yk) + 1;
        const POINT points[] = {{x(xk), 0}, {x(farX), 0}, {x(farX), farY}, {x(0), farY}, {x(0), yk}};
        SetDCBrushColor(dc, color);
        Polygon(dc, points, 5);
    });
}

}  // namespace

void PaintGradient(TCanvas* Canvas, const TRect& Rect, int Direction, TColor StartColor, TColor StopColor,
                   std::uint8_t ColorStep) {
    const int w = Rect.Width(), h = Rect.Height();
    if (w <= 0 || h <= 0 || Direction < 0 || Direction > 9) return;
    const COLORREF from = ColorToRGB(StartColor), to = ColorToRGB(StopColor);
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(w, h);
    TCanvas* c = bitmap->Canvas();
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetStyle(bsSolid);
    const int band = MinBand(ColorStep, false), boxBand = MinBand(ColorStep, true);
    switch (Direction) {
        case 0:
            PaintDiagonal(c, w, h, false, from, to, band);
            break;
        case 1:
            PaintDiagonal(c, w, h, true, from, to, band);
            break;
        case 2:
            PaintLinear(c, w, h, true, false, from, to, band);
            break;
        case 3:
            PaintLinear(c, w, h, true, true, from, to, band);
            break;
        case 4:
            PaintBox(c, w, h, w / 4, 0, from, to, boxBand);
            break;
        case 5:
            PaintLinear(c, w, h, false, false, from, to, band);
            break;
        case 6:
            PaintLinear(c, w, h, false, true, from, to, band);
            break;
        case 7:
            PaintBox(c, w, h, 0, h / 4, from, to, boxBand);
            break;
        case 8:
            PaintBox(c, w, h, 0, 0, from, to, boxBand);
            break;
        case 9:
            PaintBox(c, w, h, w / 4, h / 4, from, to, boxBand);
            break;
    }
    Canvas->Draw(Rect.Left, Rect.Top, bitmap.get());
}

void TileBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->Empty() || Rect.IsEmpty()) return;
    const int bw = Bitmap->Width(), bh = Bitmap->Height();
    HDC target = Canvas->Handle();
    HDC source = Bitmap->Canvas()->Handle();
    for (int y = Rect.Top; y < Rect.Bottom; y += bh)
        for (int x = Rect.Left; x < Rect.Right; x += bw)
            BitBlt(target, x, y, std::min(bw, int(Rect.Right) - x), std::min(bh, int(Rect.Bottom) - y),
                   source, 0, 0, SRCCOPY);
}

void StretchDrawMirrored(TCanvas* Canvas, const TRect& Dest, TCanvas* Source, const TRect& SrcRect,
                         bool Horizontal, bool Vertical) {
    if (Dest.IsEmpty() || SrcRect.IsEmpty()) return;
    // A negative extent mirrors; the rectangle then runs back from its
    // origin, which is its last pixel.
    const int x = Horizontal ? Dest.Right - 1 : Dest.Left;
    const int y = Vertical ? Dest.Bottom - 1 : Dest.Top;
    const int w = Horizontal ? -Dest.Width() : Dest.Width();
    const int h = Vertical ? -Dest.Height() : Dest.Height();
    HDC target = Canvas->Handle();
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, x, y, w, h, Source->Handle(), SrcRect.Left, SrcRect.Top, SrcRect.Width(),
               SrcRect.Height(), SRCCOPY);
}

void StretchDrawTransparent(TCanvas* Canvas, const TRect& DestRect, TBitmap* Bitmap, const TRect& SrcRect,
                            TColor TransparentColor) {
    const int w = DestRect.Width(), h = DestRect.Height();
    if (!Bitmap || Bitmap->Empty() || w <= 0 || h <= 0 || SrcRect.IsEmpty()) return;
    HDC target = Canvas->Handle();
    TMemoryDC colorDC(target);
    TBitmapHandle color(CreateCompatibleBitmap(target, w, h));
    TMemoryDC maskDC(target);
    TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
    if (!colorDC.Get() || !color || !maskDC.Get() || !mask) return;
    TSelectObject colorSelected(colorDC.Get(), color.Get());
    TSelectObject maskSelected(maskDC.Get(), mask.Get());
    SetStretchBltMode(colorDC.Get(), COLORONCOLOR);
    StretchBlt(colorDC.Get(), 0, 0, w, h, Bitmap->Canvas()->Handle(), SrcRect.Left, SrcRect.Top,
               SrcRect.Width(), SrcRect.Height(), SRCCOPY);
    // Copying colour to monochrome sets the bits of the background colour.
    SetBkColor(colorDC.Get(), ColorToRGB(TransparentColor));
    BitBlt(maskDC.Get(), 0, 0, w, h, colorDC.Get(), 0, 0, SRCCOPY);
    TransparentStretchBlt(target, DestRect.Left, DestRect.Top, w, h, colorDC.Get(), 0, 0, w, h, maskDC.Get(),
                          0, 0);
}

void DrawParentImage(TControl* Control, HDC DC, bool InvalidateParent) {
    TWinControl* parent = Control ? Control->Parent() : nullptr;
    if (!parent || !DC) return;
    {
        TSaveDC saved(DC);
        POINT origin{};
        GetViewportOrgEx(DC, &origin);
        SetViewportOrgEx(DC, origin.x - Control->Left(), origin.y - Control->Top(), nullptr);
        const TRect client = parent->ClientRect();
        IntersectClipRect(DC, 0, 0, client.Width(), client.Height());
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
        parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
    if (InvalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
        parent->Invalidate();
}
