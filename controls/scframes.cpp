#include "controls/scframes.h"

#include "controls/sccolors.h"

namespace {

TRect Inside(TRect R, TSides Sides, int By) {
    if (Sides.Contains(sdLeft)) R.Left += By;
    if (Sides.Contains(sdTop)) R.Top += By;
    if (Sides.Contains(sdRight)) R.Right -= By;
    if (Sides.Contains(sdBottom)) R.Bottom -= By;
    return R;
}

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2) {
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

// Two one-pixel rings that read as a groove or a ridge. The corner pixels
// carry each line to the end of a side whose neighbour is not drawn.
TRect DrawEtched(TCanvas* Canvas, const TRect& R, TColor First, TColor Second, TSides Sides) {
    const bool left = Sides.Contains(sdLeft), top = Sides.Contains(sdTop);
    const bool right = Sides.Contains(sdRight), bottom = Sides.Contains(sdBottom);
    if (right)
        Canvas->SetPixels(R.Right - 1, R.Top, Second);
    else if (top)
        Canvas->SetPixels(R.Right - 1, R.Top, First);
    if (bottom)
        Canvas->SetPixels(R.Left, R.Bottom - 1, Second);
    else if (left)
        Canvas->SetPixels(R.Left, R.Bottom - 1, First);
    if (top && !left) Canvas->SetPixels(R.Left, R.Top + 1, Second);
    if (left && !top) Canvas->SetPixels(R.Left + 1, R.Top, Second);
    if (bottom && !right) Canvas->SetPixels(R.Right - 1, R.Bottom - 2, First);
    if (right && !bottom) Canvas->SetPixels(R.Right - 2, R.Bottom - 1, First);
    // The inner ring sits one pixel in from the top-left, the outer one pixel
    // in from the bottom-right, so that both stay inside R.
    DrawSides(Canvas, TRect(R.Left + 1, R.Top + 1, R.Right, R.Bottom), Second, Second, Sides);
    DrawSides(Canvas, TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), First, First, Sides);
    return Inside(R, Sides, 2);
}

TRect Rings(TCanvas* Canvas, TRect R, TSides Sides, TColor UL1, TColor LR1, TColor UL2 = clDefault,
            TColor LR2 = clDefault) {
    R = DrawBevel(Canvas, R, UL1, LR1, 1, Sides);
    if (UL2 != clDefault) R = DrawBevel(Canvas, R, UL2, LR2, 1, Sides);
    return R;
}

struct Shades {
    TColor d50, d100, l40, l50, l100;
    explicit Shades(TColor C)
        : d50(DarkerColor(C, 50)),
          d100(DarkerColor(C, 100)),
          l40(LighterColor(C, 40)),
          l50(LighterColor(C, 50)),
          l100(LighterColor(C, 100)) {}
};

TRect StyleRings(TCanvas* Canvas, const TRect& R, TFrameStyleEx Style, TSides Sides, TColor BorderHighlight,
                 TColor BorderShadow, int BevelWidth, TColor Flat) {
    switch (Style) {
        case fsFlat:
            return DrawBevel(Canvas, R, Flat, Flat, 1, Sides);
        case fsFlatBold:
            return DrawBevel(Canvas, R, Flat, Flat, 2, Sides);
        case fsPopup:
            return DrawBevel(Canvas, R, BorderHighlight, BorderShadow, BevelWidth, Sides);
        case fsStatus:
            return DrawBevel(Canvas, R, BorderShadow, BorderHighlight, BevelWidth, Sides);
        default:
            return DrawBorderSides(Canvas, R, Style, Sides);
    }
}

}  // namespace

TRect DrawSides(TCanvas* Canvas, const TRect& Rect, TColor ULColor, TColor LRColor, TSides Sides) {
    const TRect& R = Rect;
    if (ULColor != clNone) {
        Canvas->Pen()->SetColor(ULColor);
        if (Sides.Contains(sdLeft)) Line(Canvas, R.Left, R.Top, R.Left, R.Bottom);
        if (Sides.Contains(sdTop)) Line(Canvas, R.Left, R.Top, R.Right, R.Top);
    }
    if (LRColor != clNone) {
        Canvas->Pen()->SetColor(LRColor);
        if (Sides.Contains(sdRight)) Line(Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        if (Sides.Contains(sdBottom)) Line(Canvas, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
    }
    return Inside(R, Sides, 1);
}

TRect DrawBevel(TCanvas* Canvas, const TRect& Rect, TColor ULColor, TColor LRColor, int Width, TSides Sides) {
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    TRect R = Rect;
    for (int i = 0; i < Width; ++i) R = DrawSides(Canvas, R, ULColor, LRColor, Sides);
    return R;
}

TRect DrawBorderSides(TCanvas* Canvas, const TRect& Rect, TFrameStyleEx Style, TSides Sides) {
    const TRect& R = Rect;
    switch (Style) {
        case fsNone:
            return R;
        case fsFlat:
            return Rings(Canvas, R, Sides, cl3DDkShadow, cl3DDkShadow);
        case fsStatus:
            return Rings(Canvas, R, Sides, clBtnShadow, clBtnHighlight);
        case fsPopup:
            return Rings(Canvas, R, Sides, clBtnHighlight, clBtnShadow);
        case fsFlatBold:
            return Rings(Canvas, R, Sides, clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow);
        case fsRaised:
            return Rings(Canvas, R, Sides, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow);
        case fsLowered:
            return Rings(Canvas, R, Sides, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight);
        case fsButtonUp:
            return Rings(Canvas, R, Sides, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow);
        case fsButtonDown:
            return Rings(Canvas, R, Sides, clBtnText, clBtnText, clBtnShadow, clBtnShadow);
        case fsGroove:
            return DrawEtched(Canvas, R, clBtnShadow, clBtnHighlight, Sides);
        case fsBump:
            return DrawEtched(Canvas, R, clBtnHighlight, clBtnShadow, Sides);
        case fsFlatRounded:
            return R;
    }
    return R;
}

TRect DrawBorder(TCanvas* Canvas, const TRect& Rect, TFrameStyleEx Style) {
    return DrawBorderSides(Canvas, Rect, Style, AllSides);
}

TRect DrawColorBorderSides(TCanvas* Canvas, const TRect& Rect, TColor Color, TFrameStyleEx Style,
                           TSides Sides) {
    if (Style == fsNone) return Rect;
    const Shades c(Color);
    switch (Style) {
        case fsFlat:
            return Rings(Canvas, Rect, Sides, c.d50, c.d50);
        case fsStatus:
            return Rings(Canvas, Rect, Sides, c.d50, c.l100);
        case fsPopup:
            return Rings(Canvas, Rect, Sides, c.l100, c.d50);
        case fsFlatBold:
            return Rings(Canvas, Rect, Sides, c.d50, c.d50, c.d50, c.d50);
        case fsLowered:
            return Rings(Canvas, Rect, Sides, c.d50, c.l100, c.d100, c.l50);
        case fsRaised:
            return Rings(Canvas, Rect, Sides, c.l50, c.d100, c.l100, c.d50);
        case fsButtonUp:
            return Rings(Canvas, Rect, Sides, c.l100, c.d100, c.l40, c.d50);
        case fsButtonDown:
            return Rings(Canvas, Rect, Sides, c.d100, c.d100, c.d50, c.d50);
        case fsGroove:
            return DrawEtched(Canvas, Rect, c.d50, c.l100, Sides);
        case fsBump:
        case fsFlatRounded:
            return DrawEtched(Canvas, Rect, c.l100, c.d50, Sides);
        case fsNone:
            break;
    }
    return Rect;
}

TRect DrawColorBorder(TCanvas* Canvas, const TRect& Rect, TColor Color, TFrameStyleEx Style) {
    return DrawColorBorderSides(Canvas, Rect, Color, Style, AllSides);
}

TRect DrawCtl3DBorder(TCanvas* Canvas, const TRect& Rect, bool Lowered, TSides Sides) {
    return DrawBorderSides(Canvas, Rect, Lowered ? fsLowered : fsRaised, Sides);
}

TRect DrawButtonBorder(TCanvas* Canvas, const TRect& Rect, bool Down, TSides Sides) {
    return DrawBorderSides(Canvas, Rect, Down ? fsButtonDown : fsButtonUp, Sides);
}

TRect DrawButtonBorderAll(TCanvas* Canvas, const TRect& Rect, bool Down) {
    return DrawButtonBorder(Canvas, Rect, Down, AllSides);
}

TRect DrawColorButtonBorder(TCanvas* Canvas, const TRect& Rect, TColor Color, bool Down, TSides Sides) {
    return DrawColorBorderSides(Canvas, Rect, Color, Down ? fsButtonDown : fsButtonUp, Sides);
}

TRect DrawColorButtonBorderAll(TCanvas* Canvas, const TRect& Rect, TColor Color, bool Down) {
    return DrawColorButtonBorder(Canvas, Rect, Color, Down, AllSides);
}

TRect DrawBox(TCanvas* Canvas, const TRect& Rect, TColor Color) {
    return DrawBevel(Canvas, Rect, Color, Color, 1, AllSides);
}

TRect DrawDottedFocusRect(TCanvas* Canvas, const TRect& Rect) {
    const TRect& R = Rect;
    for (int y = R.Top + 1; y < R.Bottom; y += 2) {
        Canvas->SetPixels(R.Left, y, clBlack);
        Canvas->SetPixels(R.Right - 1, y, clBlack);
    }
    for (int x = R.Left + 1; x < R.Right; x += 2) {
        Canvas->SetPixels(x, R.Top, clBlack);
        Canvas->SetPixels(x, R.Bottom - 1, clBlack);
    }
    TRect inner = R;
    inner = InflateRect(inner, -1, -1);
    return inner;
}

TRect DrawRoundedFlatBorder(TCanvas* Canvas, const TRect& Rect, TColor Color, TSides Sides) {
    const TRect& R = Rect;
    const bool left = Sides.Contains(sdLeft), top = Sides.Contains(sdTop);
    const bool right = Sides.Contains(sdRight), bottom = Sides.Contains(sdBottom);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(Color);
    if (left) Line(Canvas, R.Left, R.Top + (top ? 2 : 0), R.Left, R.Bottom - (bottom ? 2 : 0));
    if (top) Line(Canvas, R.Left + (left ? 2 : 0), R.Top, R.Right - (right ? 2 : 0), R.Top);
    if (right) Line(Canvas, R.Right - 1, R.Top + (top ? 2 : 0), R.Right - 1, R.Bottom - (bottom ? 2 : 0));
    if (bottom) Line(Canvas, R.Left + (left ? 2 : 0), R.Bottom - 1, R.Right - (right ? 2 : 0), R.Bottom - 1);
    if (left && top) Canvas->SetPixels(R.Left + 1, R.Top + 1, Color);
    if (right && top) Canvas->SetPixels(R.Right - 2, R.Top + 1, Color);
    if (right && bottom) Canvas->SetPixels(R.Right - 2, R.Bottom - 2, Color);
    if (left && bottom) Canvas->SetPixels(R.Left + 1, R.Bottom - 2, Color);
    return Inside(R, Sides, 2);
}

TRect DrawFrame(TCanvas* Canvas, const TRect& Rect, const TScFrameParams& P) {
    const TColor flat = AdjustColor(P.FlatColor, P.FlatColorAdjustment);
    TRect R = Rect;
    if (P.OuterStyle == fsFlatRounded) {
        if (!P.Transparent) {
            DrawBevel(Canvas, R, P.ParentColor, P.ParentColor, 1, AllSides);
            TRect ring = R;
            ring = InflateRect(ring, -1, -1);
            const TColor inner = P.BorderWidth < 1 && P.InnerStyle == fsNone ? P.Color : P.BorderColor;
            DrawBevel(Canvas, ring, inner, inner, 1, AllSides);
        } else if (P.BorderWidth > 0 || P.InnerStyle != fsNone) {
            TRect ring = R;
            ring = InflateRect(ring, -1, -1);
            DrawBevel(Canvas, ring, P.BorderColor, P.BorderColor, 1, AllSides);
        }
        R = DrawRoundedFlatBorder(Canvas, R, flat, P.Sides);
    } else {
        R = StyleRings(Canvas, R, P.OuterStyle, P.Sides, P.BorderHighlight, P.BorderShadow, P.BevelWidth,
                       flat);
    }
    if (P.BorderWidth > 0) R = DrawBevel(Canvas, R, P.BorderColor, P.BorderColor, P.BorderWidth, P.Sides);
    if (P.InnerStyle == fsFlat && P.RoundedInner) {
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(flat);
        Line(Canvas, R.Left, R.Top + 1, R.Left, R.Bottom - 1);
        Line(Canvas, R.Left + 1, R.Top, R.Right - 1, R.Top);
        Line(Canvas, R.Right - 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
        Line(Canvas, R.Left + 1, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
        R = InflateRect(R, -1, -1);
    } else if (P.InnerStyle == fsFlatRounded) {
        if (!P.Transparent) DrawBevel(Canvas, R, P.BorderColor, P.BorderColor, 1, AllSides);
        R = DrawRoundedFlatBorder(Canvas, R, flat, P.Sides);
    } else {
        R = StyleRings(Canvas, R, P.InnerStyle, P.Sides, P.BorderHighlight, P.BorderShadow, P.BevelWidth,
                       flat);
    }
    return R;
}
