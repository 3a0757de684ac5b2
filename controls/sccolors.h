// Colour arithmetic on the 0..240 hue/luminance/saturation scale: darker,
// lighter, blended and complementary colours, and whether two are close.
// System colours are turned into RGB first.
#pragma once

#include <cstdint>

#include "classlib/graphics/colors.h"

using TByte = std::uint8_t;

void ColorToHLS(TColor Color, TByte& H, TByte& S, TByte& L);
// Hue is read against 239, not 240: stored colours were made that way.
TColor HLSToColor(TByte H, TByte S, TByte L);
TByte ColorHue(TColor Color);

TColor DarkerColor(TColor Color, TByte Amount);
// Luminance may go up to 255, above the scale; each channel stops at 255.
TColor LighterColor(TColor Color, TByte Amount);
// Negative: darker by -Amount; positive: lighter.
TColor AdjustColor(TColor Color, int Amount);
// Weight 255 is all Color1, 0 all Color2.
TColor BlendColors(TColor Color1, TColor Color2, TByte Weight);
TColor ComplementaryColor(TColor Color, TByte Luminance);
bool ColorsAreClose(TColor Color1, TColor Color2);
