#include "foundation/zklabeldraw.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TPoint ShadowOffset(TShadowPosition Position, int Size) {
    switch (Position) {
        case spLeftTop:
            return {-Size, -Size};
        case spLeftBottom:
            return {-Size, Size};
        case spRightTop:
            return {Size, -Size};
        case spRightBottom:
        default:
            return {Size, Size};
    }
}

int DrawShadowText(TCanvas* Canvas, const std::string& Text, UINT Flags, TShadowPosition Position,
                   TColor ShadowColor, int ShadowSize, TRect& Rect) {
    TFont* font = Canvas->Font();
    const TColor textColor = font->Color();
    const TBrushStyle brushStyle = Canvas->Brush()->Style();
    Canvas->Brush()->SetStyle(bsClear);
    const TPoint offset = ShadowOffset(Position, ShadowSize);
    TRect shadow = OffsetRect(Rect, offset.X, offset.Y);
    // Without a size the shadow would lie under the text and never show.
    if (ShadowSize > 0) {
        font->SetColor(ShadowColor);
        Canvas->DrawText(Text, shadow, Flags);
        font->SetColor(textColor);
    }
    const int height = Canvas->DrawText(Text, Rect, Flags);
    if (ShadowSize > 0) {
        if (Flags & DT_CALCRECT) shadow = OffsetRect(Rect, offset.X, offset.Y);
        Rect = TRect(std::min(Rect.Left, shadow.Left), std::min(Rect.Top, shadow.Top),
                     std::max(Rect.Right, shadow.Right), std::max(Rect.Bottom, shadow.Bottom));
    }
    if (brushStyle != bsClear) Canvas->Brush()->SetStyle(brushStyle);
    return height > 0 ? height + ShadowSize : height;
}

std::vector<TPoint> RoundedFramePoints(const TRect& Rect, int Radius) {
    const int l = Rect.Left, t = Rect.Top, r = Rect.Right - 1, b = Rect.Bottom - 1, d = Radius;
    return {{l + d, t}, {r - d, t}, {r, t + d}, {r, b - d}, {r - d, b},
            {l + d, b}, {l, b - d}, {l, t + d}, {l + d, t}};
}

void DrawRoundedFrame(TCanvas* Canvas, const TRect& Rect, TColor Color, int Radius) {
    TPen* pen = Canvas->Pen();
    const TColor saved = pen->Color();
    pen->SetColor(Color);
    Canvas->Polygon(RoundedFramePoints(Rect, Radius));
    pen->SetColor(saved);
}

namespace {
int RoundHalfEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}
}  // namespace

TAngleTextPlace PlaceAngleText(int Angle, int TextWidth, int TextHeight, bool AutoSize, TAlignment Alignment,
                               const TRect& Client) {
    const int quadrant = Angle < 90 ? 0 : Angle < 180 ? 1 : Angle < 270 ? 2 : 3;
    const int a = quadrant == 0   ? 90 - Angle
                  : quadrant == 1 ? Angle - 90
                  : quadrant == 2 ? 270 - Angle
                                  : Angle - 270;
    const double radians = a * std::numbers::pi / 180.0;
    const double w = TextWidth, h = TextHeight;
    const int sw = RoundHalfEven(std::sin(radians) * w), cw = RoundHalfEven(std::cos(radians) * w);
    const int ch = RoundHalfEven(std::cos(radians) * h), sh = RoundHalfEven(std::sin(radians) * h);
    TAngleTextPlace place;
    place.BoxWidth = sw + ch;
    place.BoxHeight = cw + sh;
    const double bw = place.BoxWidth, bh = place.BoxHeight;
    if (AutoSize) {
        switch (quadrant) {
            case 0:
                place.Origin = {0, cw};
                break;
            case 1:
                place.Origin = {sw, place.BoxHeight};
                break;
            case 2:
                place.Origin = {place.BoxWidth, sh};
                break;
            default:
                place.Origin = {ch, 0};
                break;
        }
        return place;
    }
    const double hw = Client.Width() / 2.0, hh = Client.Height() / 2.0;
    double x = 0, y = 0;
    const int column = Alignment == taLeftJustify ? 0 : Alignment == taCenter ? 1 : 2;
    switch (quadrant) {
        case 0: {
            const double xs[] = {0, hw - bw / 2, 2 * hw - bw};
            x = xs[column];
            y = (bh - 2 * sh) / 2 + hh;
            break;
        }
        case 1: {
            const double xs[] = {double(sw), (bw - 2 * ch) / 2 + hw, 2 * hw - ch};
            x = xs[column];
            y = bh / 2 + hh;
            break;
        }
        case 2: {
            const double xs[] = {bw, hw + bw / 2, 2 * hw};
            x = xs[column];
            y = hh - (bh - 2 * sh) / 2;
            break;
        }
        default: {
            const double xs[] = {double(ch), hw - (bw - 2 * ch) / 2, 2 * hw - sw};
            x = xs[column];
            y = hh - bh / 2;
            break;
        }
    }
    place.Origin = {RoundHalfEven(x), RoundHalfEven(y)};
    return place;
}
