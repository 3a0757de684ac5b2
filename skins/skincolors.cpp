#include "skins/skincolors.h"

#include <algorithm>
#include <cstdio>

namespace {

int Clamp255(int value) {
    return std::clamp(value, 0, 255);
}

TColor MakeColor(int r, int g, int b) {
    return static_cast<TColor>(Clamp255(r) | (Clamp255(g) << 8) | (Clamp255(b) << 16));
}

}  // namespace

std::string ColorToSkinString(TColor Color) {
    std::string ident;
    if (ColorToIdent(Color, ident)) return ident;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "$%.8x", static_cast<unsigned>(Color));
    return buffer;
}

TColor LightenColor(TColor Color, int Amount) {
    const COLORREF rgb = ColorToRGB(Color);
    return MakeColor(GetRValue(rgb) + Amount, GetGValue(rgb) + Amount, GetBValue(rgb) + Amount);
}

TColor BlendColors(TColor A, TColor B, int Percentage) {
    const COLORREF a = ColorToRGB(A);
    const COLORREF b = ColorToRGB(B);
    const int scale = Percentage < 100 ? 100 : 1000;
    auto mix = [&](int x, int y) { return (x * Percentage + y * (scale - Percentage) + scale / 2) / scale; };
    return MakeColor(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                     mix(GetBValue(a), GetBValue(b)));
}
