// Colour arithmetic and the colour text of skins: `ColorToSkinString`,
// `LightenColor`, `BlendColors`.
#pragma once

#include <string>

#include "classlib/graphics/colors.h"

// The colour's identifier ("clBtnFace"), else "$" and eight lower-case
// hexadecimal digits of its 32-bit value.
std::string ColorToSkinString(TColor Color);
// Each channel (system colours resolved first) plus Amount, kept in 0..255.
TColor LightenColor(TColor Color, int Amount);
// Per channel (A x p + B x (s - p) + s / 2) / s, with s = 100 for p below
// 100 and s = 1000 from 100 on (p then counts tenths of a percent).
TColor BlendColors(TColor A, TColor B, int Percentage);
