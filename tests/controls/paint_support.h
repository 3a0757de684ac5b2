// Shared by the drawing tests: a bitmap filled with a colour no routine
// draws in, and pixel helpers that compare in RGB.
#pragma once

#include <gtest/gtest.h>

#include "classlib/graphics/bitmap.h"

inline constexpr TColor Background = 0x123456;

inline TOwned<TBitmap> Filled(int Width, int Height, TColor Color = Background) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(Width, Height);
    bitmap->Canvas()->Brush()->SetColor(Color);
    bitmap->Canvas()->FillRect(TRect(0, 0, Width, Height));
    return bitmap;
}

inline TColor Rgb(TColor Color) {
    return static_cast<TColor>(ColorToRGB(Color));
}

// The red, green and blue of two colours differ by at most Tolerance each.
inline bool Near(TColor A, TColor B, int Tolerance) {
    const COLORREF a = ColorToRGB(A), b = ColorToRGB(B);
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= Tolerance &&
           std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= Tolerance &&
           std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= Tolerance;
}
