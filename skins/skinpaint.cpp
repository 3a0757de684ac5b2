#include "skins/skinpaint.h"

#include <algorithm>

#include "classlib/windows/controls.h"
#include "classlib/windows/themes.h"

namespace {

int Channel(int from, int to, int index, int steps) {
    return std::clamp(from + (to - from) * index / steps, 0, 255);
}

// A polyline through the points, the last point included, in one colour.
void PolylineTo(HDC dc, COLORREF color, std::initializer_list<POINT> points) {
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF oldColor = SetDCPenColor(dc, color);
    std::vector<POINT> list(points);
    Polyline(dc, list.data(), static_cast<int>(list.size()));
    SetPixelV(dc, list.back().x, list.back().y, color);
    SetDCPenColor(dc, oldColor);
    SelectObject(dc, oldPen);
}

}  // namespace

void FillRectSkin(TCanvas* Canvas, const TRect& R, TColor Fill, TColor Frame) {
    if (Fill == clNone) return;
    TSkinToolColors restore(Canvas);
    Canvas->Brush()->SetColor(Fill);
    if (Frame != clNone) {
        Canvas->Pen()->SetColor(Frame);
        Canvas->Rectangle(R);
    } else {
        Canvas->FillRect(R);
    }
}

void DrawLineSkin(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color) {
    if (Color == clNone) return;
    TSkinToolColors restore(Canvas);
    Canvas->Pen()->SetColor(Color);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

void DrawGradient(TCanvas* Canvas, const TRect& R, int First, bool Vertical, TColor From, TColor To,
                  int Steps, int Last) {
    if (From == clNone || To == clNone || R.Right <= R.Left || R.Bottom <= R.Top) return;
    if (Steps == 0) Steps = 1;
    const COLORREF from = ColorToRGB(From);
    const COLORREF to = ColorToRGB(To);
    const int extent = Vertical ? R.Bottom - R.Top : R.Right - R.Left;
    HDC dc = Canvas->Handle();
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    const COLORREF oldColor = GetDCBrushColor(dc);
    for (int i = std::max(First, 0); i <= Last && i < extent; ++i) {
        const int step = i - First;
        SetDCBrushColor(dc, RGB(Channel(GetRValue(from), GetRValue(to), step, Steps),
                                Channel(GetGValue(from), GetGValue(to), step, Steps),
                                Channel(GetBValue(from), GetBValue(to), step, Steps)));
        if (Vertical)
            PatBlt(dc, R.Left, R.Top + i, R.Right - R.Left, 1, PATCOPY);
        else
            PatBlt(dc, R.Left + i, R.Top, 1, R.Bottom - R.Top, PATCOPY);
    }
    SetDCBrushColor(dc, oldColor);
    SelectObject(dc, oldBrush);
}

void DrawFrameSkin(TCanvas* Canvas, const TRect& R, int FrameType, TColor Color1, TColor Color2,
                   TColor Color3, TColor Color4, int CornerFlags) {
    if (R.Right - R.Left < 1 || R.Bottom - R.Top < 1) return;
    // A cut never reaches past the middle of a small frame.
    const int cut =
        std::min<int>(std::clamp(FrameType, 0, 2), std::min(R.Right - R.Left - 1, R.Bottom - R.Top - 1) / 2);
    int topLeft = cut, topRight = cut, bottomRight = cut, bottomLeft = cut;
    if (CornerFlags & SkinCornerLeft) topLeft = bottomLeft = 0;
    if (CornerFlags & SkinCornerTop) topLeft = topRight = 0;
    if (CornerFlags & SkinCornerRight) topRight = bottomRight = 0;
    if (CornerFlags & SkinCornerBottom) bottomLeft = bottomRight = 0;
    const int left = R.Left, top = R.Top, right = R.Right - 1, bottom = R.Bottom - 1;
    HDC dc = Canvas->Handle();
    // Inner lines first, so that the outline stays whole where they meet.
    if (right - left >= 2 && bottom - top >= 2) {
        if (Color3 != clNone)
            PolylineTo(dc, ColorToRGB(Color3),
                       {{left + 1, bottom - 1}, {left + 1, top + 1}, {right - 1, top + 1}});
        if (Color4 != clNone)
            PolylineTo(dc, ColorToRGB(Color4),
                       {{left + 1, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top + 2}});
    }
    if (Color1 != clNone)
        PolylineTo(dc, ColorToRGB(Color1),
                   {{left + bottomLeft, bottom},
                    {left, bottom - bottomLeft},
                    {left, top + topLeft},
                    {left + topLeft, top},
                    {right - topRight, top},
                    {right, top + topRight}});
    if (Color2 != clNone)
        PolylineTo(dc, ColorToRGB(Color2),
                   {{right, top + topRight},
                    {right, bottom - bottomRight},
                    {right - bottomRight, bottom},
                    {left + bottomLeft, bottom}});
}

void PaintSkinBody(TCanvas* Canvas, const TRect& R, const TSbSkinOptionEntry* Body, bool VerticalBar) {
    int type = Body->SkinType;
    if (type < 0 || type > 10) return;
    if (VerticalBar && type >= 1) type += (type % 2 == 1) ? 1 : -1;
    const TColor c1 = Body->Color1, c2 = Body->Color2, c3 = Body->Color3, c4 = Body->Color4;
    if (type == 0) {
        FillRectSkin(Canvas, R, c1);
        return;
    }
    const bool vertical = type % 2 == 1;
    const int e = (vertical ? R.Bottom - R.Top : R.Right - R.Left) - 1;
    if (e < 0) return;
    switch ((type + 1) / 2) {
        case 1:
            DrawGradient(Canvas, R, 0, vertical, c1, c2, e, e);
            break;
        case 2: {
            const int t = std::max(e / 3, 1);
            DrawGradient(Canvas, R, 0, vertical, c1, c2, t, t);
            DrawGradient(Canvas, R, t, vertical, c2, c3, t, 2 * t);
            DrawGradient(Canvas, R, 2 * t, vertical, c3, c4, t, e);
            break;
        }
        case 3: {
            const int h = std::max(e / 2, 1);
            DrawGradient(Canvas, R, 0, vertical, c1, c2, h, h);
            DrawGradient(Canvas, R, h, vertical, c3, c4, h, e);
            break;
        }
        case 4: {
            const int t = e / 3;
            DrawGradient(Canvas, R, 0, vertical, c1, c2, t, t);
            DrawGradient(Canvas, R, t, vertical, c3, c4, e - t, e);
            break;
        }
        default: {
            const int b = std::min(e / 3, 9);
            DrawGradient(Canvas, R, 0, vertical, c1, c2, b, b);
            DrawGradient(Canvas, R, b, vertical, c3, c4, e - b, e);
            break;
        }
    }
}

void PaintSkinBody(TCanvas* Canvas, const TRect& R, const TSbSkinOptionCategory* Category, bool VerticalBar) {
    PaintSkinBody(Canvas, R, Category->Body(), VerticalBar);
}

void PaintSkinBorders(TCanvas* Canvas, const TRect& R, const TSbSkinOptionCategory* Category,
                      int CornerFlags) {
    const TSbSkinOptionEntry* borders = Category->Borders();
    if (borders->SkinType < 0 || borders->SkinType > 2) return;
    DrawFrameSkin(Canvas, R, borders->SkinType, borders->Color1, borders->Color2, borders->Color3,
                  borders->Color4, CornerFlags);
}

void DrawParentBackground(TControl* Control, HDC DC, const TRect& R) {
    TWinControl* parent = Control->Parent();
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    if (windowed && parent && !parent->DoubleBuffered() && windowed->HandleAllocated() &&
        ThemeServices()->ThemesEnabled() && ThemeServices()->DrawParentBackground(windowed->Handle(), DC, &R))
        return;
    if (parent && parent->HandleAllocated()) {
        POINT old{};
        OffsetWindowOrgEx(DC, Control->Left(), Control->Top(), &old);
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
        SetWindowOrgEx(DC, old.x, old.y, nullptr);
        return;
    }
    HGDIOBJ oldBrush = SelectObject(DC, GetSysColorBrush(COLOR_BTNFACE));
    PatBlt(DC, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, PATCOPY);
    SelectObject(DC, oldBrush);
}
