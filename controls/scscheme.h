// The XP colour scheme (blue, olive, silver), whether the screen shows true
// colour, the XP theme colours and the colour sets the styled controls paint
// with in each gradient colour style.
#pragma once

#include <cstdint>

#include "classlib/graphics/colors.h"
#include "controls/sctypes.h"

// 0 blue (also any unknown scheme), 1 olive, 2 silver.
extern std::uint8_t XPColorScheme;
// False: every gradient of the styled controls becomes a flat fill.
extern bool IsTrueColor;

// Sets both from the system; only the first of nested calls does anything.
void InitScCommon();

std::uint8_t GetXPColorScheme();
bool IsTrueColorDisplay();
// One of the seven colours of the current scheme's table row.
TColor XPSchemeColor(int Index);
// clBtnFace without visual styles or when the theme lacks the element;
// white for an index outside 0..6.
TColor GetXPThemeColor(int Index);

void GetGroupBarGradientColors(TScGradientColorStyle Style, TColor& Start, TColor& Stop);
void GetItemGradientColors(TScGradientColorStyle Style, TColor& Start, TColor& Stop);
void GetSelectionColors(TScGradientColorStyle Style, TColor& Frame, TColor& Fill1, TColor& Fill2);
void GetGroupFrameColors(TScGradientColorStyle Style, TColor& Color1, TColor& Color2);
void GetItemColors(TScGradientColorStyle Style, TColor& GradientStart, TColor& GradientStop, TColor& HotStart,
                   TColor& HotStop, TColor& HotText, TColor& Text);

struct TScCaptionColors {
    TColor Caption, Border, Divider2, Divider, ButtonShadow, ButtonFace, HotText, Text, CaptionStop,
        CaptionStart;
};
TScCaptionColors GetCaptionColors(TScGradientColorStyle Style, bool Special);
