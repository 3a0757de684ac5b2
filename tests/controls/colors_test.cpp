// Colour arithmetic against values worked out by hand from the 0..240 rules.
#include <gtest/gtest.h>

#include "controls/sccolors.h"

namespace {

struct HlsRow {
    TColor color;
    int h, s, l;
    const char* why;
};

TEST(ColorToHLS, SplitsColoursOnTheScaleOf240) {
    const HlsRow rows[] = {
        {clBlack, 0, 0, 0, "no light at all"},
        {clWhite, 0, 0, 240, "full light, no hue"},
        {0x808080, 0, 0, 120, "a grey has hue and saturation 0; 128/255 of 240 is 120.47"},
        {clRed, 0, 240, 120, "red is hue 0"},
        {clLime, 80, 240, 120, "green is a third of the circle"},
        {clBlue, 160, 240, 120, "blue is two thirds"},
        {0x336699, 20, 120, 96, "(0.6 - 0.2) / (0.6 + 0.2) = 0.5 saturation; hue (0.4 - 0.2) / 0.4 / 6"},
    };
    for (const auto& row : rows) {
        TByte h, s, l;
        ColorToHLS(row.color, h, s, l);
        EXPECT_EQ(h, row.h) << row.why;
        EXPECT_EQ(s, row.s) << row.why;
        EXPECT_EQ(l, row.l) << row.why;
    }
}

TEST(ColorToHLS, ReadsSystemColoursAsTheirRGB) {
    TByte h1, s1, l1, h2, s2, l2;
    ColorToHLS(clBtnFace, h1, s1, l1);
    ColorToHLS(static_cast<TColor>(ColorToRGB(clBtnFace)), h2, s2, l2);
    EXPECT_EQ(h1, h2);
    EXPECT_EQ(s1, s2);
    EXPECT_EQ(l1, l2);
}

struct ColorRow {
    TColor got;
    TColor want;
    const char* why;
};

TEST(ColourArithmetic, MatchesHandComputedValues) {
    const ColorRow rows[] = {
        {HLSToColor(160, 240, 120), 0xFF0004, "160/239 lands just past sector 4: red 0.0167 x 255 = 4"},
        {HLSToColor(80, 240, 120), 0x02FF00, "the 239 divisor leaves 2 of blue in pure green"},
        {HLSToColor(0, 240, 120), clRed, "sector 0 with no fraction"},
        {HLSToColor(40, 240, 120), 0x00FFFE, "sector 1 just past its start: red 254"},
        {HLSToColor(0, 0, 8), 0x080808, "8/240 x 255 = 8.5 rounds to the even 8"},
        {HLSToColor(0, 0, 240), clWhite, "full luminance"},
        {HLSToColor(0, 0, 0), clBlack, "m2 = 0 is black"},
        {DarkerColor(clRed, 50), 0x000095, "luminance 70: m2 = 0.583, x 255 = 148.75"},
        {DarkerColor(clRed, 200), clBlack, "luminance stops at 0"},
        {LighterColor(clRed, 50), 0x6A6AFF, "luminance 170: m1 = 0.4167, x 255 = 106.25"},
        {LighterColor(0x808080, 200), clWhite, "luminance 255 is above the scale; channels stop at 255"},
        {LighterColor(clWhite, 20), clWhite, "already at the top"},
        {AdjustColor(clBtnFace, 0), clBtnFace, "no change keeps even a system colour as it is"},
        {AdjustColor(clRed, -50), 0x000095, "negative is darker"},
        {AdjustColor(clRed, 50), 0x6A6AFF, "positive is lighter"},
        {BlendColors(clBlack, clWhite, 40), 0xD7D7D7, "255 x (1 - 40/255) = 215"},
        {BlendColors(clRed, clBlue, 255), clRed, "all of the first"},
        {BlendColors(clRed, clBlue, 0), clBlue, "all of the second"},
        {BlendColors(clRed, clBlue, 128), 0x7F0080, "128 of red, 127 of blue"},
        {ComplementaryColor(clRed, 120), 0xFFFC00, "hue 0 + 120, through the 239 divisor"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.got, row.want) << std::hex << row.got << ": " << row.why;
}

TEST(ColorsAreClose, NeedsNearHueAndNearLuminance) {
    EXPECT_TRUE(ColorsAreClose(clRed, 0x0000F0));    // same hue, luminance 120 against 113
    EXPECT_FALSE(ColorsAreClose(clRed, clLime));     // hues 0 and 80
    EXPECT_FALSE(ColorsAreClose(clBlack, clWhite));  // hue 0 both, luminance 240 apart
    EXPECT_EQ(ColorHue(clBlue), 160);
}

}  // namespace
