#include "controls/sccolors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Halves go to the even neighbour, as stored colours were computed.
int RoundEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

TByte ToChannel(double Value) {
    return static_cast<TByte>(std::clamp(RoundEven(255.0 * std::min(Value, 1.0)), 0, 255));
}

}  // namespace

void ColorToHLS(TColor Color, TByte& H, TByte& S, TByte& L) {
    const COLORREF rgb = ColorToRGB(Color);
    const double r = GetRValue(rgb) / 255.0;
    const double g = GetGValue(rgb) / 255.0;
    const double b = GetBValue(rgb) / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double l = (max + min) / 2;
    double h = 0, s = 0;
    if (max != min) {
        const double d = max - min;
        s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
        if (r == max)
            h = (g - b) / d;
        else if (g == max)
            h = 2 + (b - r) / d;
        else
            h = 4 + (r - g) / d;
        h /= 6;
        if (h < 0) h += 1;
    }
    H = static_cast<TByte>(RoundEven(240 * h));
    S = static_cast<TByte>(RoundEven(240 * s));
    L = static_cast<TByte>(RoundEven(240 * l));
}

TColor HLSToColor(TByte H, TByte S, TByte L) {
    const double h = H / 239.0;
    const double s = S / 240.0;
    const double l = L / 240.0;
    const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (m2 <= 0) return clBlack;
    const double m1 = 2 * l - m2;
    const int sector = static_cast<int>(6 * h);
    const double f = 6 * h - sector;
    const double v = (m2 - m1) * f;
    const double up = m1 + v;
    const double down = m2 - v;
    double r, g, b;
    switch (sector) {
        case 1:
            r = down, g = m2, b = m1;
            break;
        case 2:
            r = m1, g = m2, b = up;
            break;
        case 3:
            r = m1, g = down, b = m2;
            break;
        case 4:
            r = up, g = m1, b = m2;
            break;
        case 5:
            r = m2, g = m1, b = down;
            break;
        default:
            r = m2, g = up, b = m1;
            break;
    }
    return static_cast<TColor>(RGB(ToChannel(r), ToChannel(g), ToChannel(b)));
}

TByte ColorHue(TColor Color) {
    TByte h, s, l;
    ColorToHLS(Color, h, s, l);
    return h;
}

TColor DarkerColor(TColor Color, TByte Amount) {
    TByte h, s, l;
    ColorToHLS(Color, h, s, l);
    return HLSToColor(h, s, static_cast<TByte>(std::max(l - Amount, 0)));
}

TColor LighterColor(TColor Color, TByte Amount) {
    TByte h, s, l;
    ColorToHLS(Color, h, s, l);
    return HLSToColor(h, s, static_cast<TByte>(std::min(l + Amount, 255)));
}

TColor AdjustColor(TColor Color, int Amount) {
    if (Amount < 0) return DarkerColor(Color, static_cast<TByte>(std::min(-Amount, 255)));
    if (Amount > 0) return LighterColor(Color, static_cast<TByte>(std::min(Amount, 255)));
    return Color;
}

TColor BlendColors(TColor Color1, TColor Color2, TByte Weight) {
    const COLORREF c1 = ColorToRGB(Color1);
    const COLORREF c2 = ColorToRGB(Color2);
    const double w = Weight / 255.0;
    auto mix = [w](int a, int b) {
        return static_cast<TByte>(std::clamp(RoundEven(a * w + b * (1 - w)), 0, 255));
    };
    return static_cast<TColor>(RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
                                   mix(GetBValue(c1), GetBValue(c2))));
}

TColor ComplementaryColor(TColor Color, TByte Luminance) {
    const TByte h = ColorHue(Color);
    return HLSToColor(static_cast<TByte>(h < 120 ? h + 120 : h - 120), 240, Luminance);
}

bool ColorsAreClose(TColor Color1, TColor Color2) {
    TByte h1, s1, l1, h2, s2, l2;
    ColorToHLS(Color1, h1, s1, l1);
    ColorToHLS(Color2, h2, s2, l2);
    return std::abs(h1 - h2) < 20 && std::abs(l1 - l2) < 60;
}
