// Frames read back from bitmaps: which pixels each edge sets, in which
// colour, and the rectangle each routine leaves inside.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "controls/sccolors.h"
#include "controls/scframes.h"
#include "tests/controls/paint_support.h"

namespace {

constexpr TRect Box{2, 3, 14, 12};

TSides SidesOf(int Bits) {
    TSides sides;
    if (Bits & 1) sides.Include(sdLeft);
    if (Bits & 2) sides.Include(sdTop);
    if (Bits & 4) sides.Include(sdRight);
    if (Bits & 8) sides.Include(sdBottom);
    return sides;
}

// How a groove or ridge looks: an outer line in First and, one pixel in, a
// line in Second on every drawn side; a line runs on to the rectangle's end
// where the neighbouring side is missing. First lies over Second.
std::map<std::pair<int, int>, TColor> EtchedPicture(const TRect& R, TSides S, TColor First, TColor Second) {
    std::map<std::pair<int, int>, TColor> picture;
    const bool l = S.Contains(sdLeft), t = S.Contains(sdTop), r = S.Contains(sdRight),
               b = S.Contains(sdBottom);
    auto run = [&](int x1, int y1, int x2, int y2, TColor c) {
        for (int x = x1; x <= x2; ++x)
            for (int y = y1; y <= y2; ++y) picture[{x, y}] = c;
    };
    const int L = R.Left, T = R.Top, Rt = R.Right - 1, Bm = R.Bottom - 1;
    if (l) run(L + 1, t ? T + 1 : T, L + 1, Bm, Second);
    if (t) run(l ? L + 1 : L, T + 1, Rt, T + 1, Second);
    if (r) run(Rt, T, Rt, Bm, Second);
    if (b) run(L, Bm, Rt, Bm, Second);
    if (l) run(L, T, L, b ? Bm - 1 : Bm, First);
    if (t) run(L, T, r ? Rt - 1 : Rt, T, First);
    if (r) run(Rt - 1, T, Rt - 1, b ? Bm - 1 : Bm, First);
    if (b) run(L, Bm - 1, r ? Rt - 1 : Rt, Bm - 1, First);
    return picture;
}

void ExpectPicture(TBitmap* Bitmap, const std::map<std::pair<int, int>, TColor>& Picture,
                   const std::string& What) {
    int wrong = 0;
    for (int y = 0; y < Bitmap->Height(); ++y)
        for (int x = 0; x < Bitmap->Width(); ++x) {
            auto it = Picture.find({x, y});
            const TColor want = it == Picture.end() ? Background : Rgb(it->second);
            if (Bitmap->PixelColor(x, y) != want && wrong++ < 4)
                ADD_FAILURE() << What << " at (" << x << ", " << y << "): " << std::hex
                              << Bitmap->PixelColor(x, y) << " instead of " << want;
        }
}

TEST(EtchedBorders, EverySideSetLooksLikeAGrooveOrARidge) {
    for (int bits = 0; bits < 16; ++bits) {
        const TSides sides = SidesOf(bits);
        for (TFrameStyleEx style : {fsGroove, fsBump}) {
            auto bitmap = Filled(16, 15);
            const TRect inside = DrawBorderSides(bitmap->Canvas(), Box, style, sides);
            const TColor first = style == fsGroove ? clBtnShadow : clBtnHighlight;
            const TColor second = style == fsGroove ? clBtnHighlight : clBtnShadow;
            ExpectPicture(
                bitmap.get(), EtchedPicture(Box, sides, first, second),
                std::string(style == fsGroove ? "groove" : "bump") + " sides " + std::to_string(bits));
            EXPECT_EQ(inside.Left, Box.Left + (bits & 1 ? 2 : 0));
            EXPECT_EQ(inside.Top, Box.Top + (bits & 2 ? 2 : 0));
            EXPECT_EQ(inside.Right, Box.Right - (bits & 4 ? 2 : 0));
            EXPECT_EQ(inside.Bottom, Box.Bottom - (bits & 8 ? 2 : 0));
        }
    }
}

TEST(EtchedBorders, ColourFormsUseTheDerivedShades) {
    auto bitmap = Filled(16, 15);
    DrawColorBorder(bitmap->Canvas(), Box, clRed, fsFlatRounded);
    ExpectPicture(bitmap.get(),
                  EtchedPicture(Box, AllSides, LighterColor(clRed, 100), DarkerColor(clRed, 50)),
                  "rounded colour border");
}

TEST(Sides, NoneColourSkipsItsEdgesButStillMovesIn) {
    auto bitmap = Filled(16, 15);
    const TRect inside = DrawSides(bitmap->Canvas(), Box, clNone, clRed, AllSides);
    EXPECT_EQ(inside, TRect(3, 4, 13, 11));
    EXPECT_EQ(bitmap->PixelColor(Box.Left, 6), Background);
    EXPECT_EQ(bitmap->PixelColor(6, Box.Top), Background);
    EXPECT_EQ(bitmap->PixelColor(Box.Right - 1, 6), clRed);
    EXPECT_EQ(bitmap->PixelColor(6, Box.Bottom - 1), clRed);

    auto other = Filled(16, 15);
    DrawSides(other->Canvas(), Box, clBlue, clNone, {sdLeft, sdBottom});
    EXPECT_EQ(other->PixelColor(Box.Left, 6), clBlue);
    EXPECT_EQ(other->PixelColor(6, Box.Top), Background) << "top not chosen";
    EXPECT_EQ(other->PixelColor(6, Box.Bottom - 1), Background) << "bottom's colour is none";
}

TEST(Sides, BevelsAndTwoRingStylesStackInward) {
    auto bitmap = Filled(16, 15);
    const TRect inside = DrawBevel(bitmap->Canvas(), Box, clRed, clBlue, 2, AllSides);
    EXPECT_EQ(inside, InflateRect(Box, -2, -2));
    EXPECT_EQ(bitmap->PixelColor(Box.Left + 1, 6), clRed);
    EXPECT_EQ(bitmap->PixelColor(Box.Right - 2, 6), clBlue);
    EXPECT_EQ(bitmap->PixelColor(Box.Left + 2, 6), Background);

    const struct {
        TFrameStyleEx style;
        TColor outerUL, outerLR, innerUL, innerLR;
    } rows[] = {
        {fsRaised, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow},
        {fsLowered, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight},
        {fsButtonUp, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow},
        {fsButtonDown, clBtnText, clBtnText, clBtnShadow, clBtnShadow},
    };
    for (const auto& row : rows) {
        auto b = Filled(16, 15);
        EXPECT_EQ(DrawBorder(b->Canvas(), Box, row.style), InflateRect(Box, -2, -2));
        EXPECT_EQ(b->PixelColor(Box.Left, 6), Rgb(row.outerUL)) << row.style;
        EXPECT_EQ(b->PixelColor(Box.Right - 1, 6), Rgb(row.outerLR)) << row.style;
        EXPECT_EQ(b->PixelColor(Box.Left + 1, 6), Rgb(row.innerUL)) << row.style;
        EXPECT_EQ(b->PixelColor(Box.Right - 2, 6), Rgb(row.innerLR)) << row.style;
    }
    auto none = Filled(16, 15);
    EXPECT_EQ(DrawBorder(none->Canvas(), Box, fsNone), Box);
    EXPECT_EQ(none->PixelColor(Box.Left, 6), Background);
}

TEST(Boxes, FocusDotsAndRoundedCorners) {
    auto dotted = Filled(16, 15);
    EXPECT_EQ(DrawDottedFocusRect(dotted->Canvas(), Box), InflateRect(Box, -1, -1));
    EXPECT_EQ(dotted->PixelColor(Box.Left, Box.Top), Background) << "dots begin one pixel in";
    EXPECT_EQ(dotted->PixelColor(Box.Left, Box.Top + 1), clBlack);
    EXPECT_EQ(dotted->PixelColor(Box.Left, Box.Top + 2), Background);
    EXPECT_EQ(dotted->PixelColor(Box.Left + 1, Box.Top), clBlack);
    EXPECT_EQ(dotted->PixelColor(Box.Right - 1, Box.Top + 3), clBlack);
    EXPECT_EQ(dotted->PixelColor(Box.Left + 3, Box.Bottom - 1), clBlack);

    auto rounded = Filled(16, 15);
    EXPECT_EQ(DrawRoundedFlatBorder(rounded->Canvas(), Box, clRed, AllSides), InflateRect(Box, -2, -2));
    const int L = Box.Left, T = Box.Top, R = Box.Right - 1, B = Box.Bottom - 1;
    for (auto [x, y] : {std::pair{L, T}, {L + 1, T}, {L, T + 1}, {R, T}, {R, B}, {L, B}})
        EXPECT_EQ(rounded->PixelColor(x, y), Background) << x << "," << y << " is cut off the corner";
    for (auto [x, y] :
         {std::pair{L + 1, T + 1}, {L + 2, T}, {L, T + 2}, {R - 1, T + 1}, {R - 1, B - 1}, {L + 1, B - 1}})
        EXPECT_EQ(rounded->PixelColor(x, y), clRed) << x << "," << y;

    auto open = Filled(16, 15);
    DrawRoundedFlatBorder(open->Canvas(), Box, clRed, {sdLeft, sdRight});
    EXPECT_EQ(open->PixelColor(L, T), clRed) << "no top: the left line runs to the end";
    EXPECT_EQ(open->PixelColor(L + 1, T + 1), Background);

    auto box = Filled(16, 15);
    EXPECT_EQ(DrawBox(box->Canvas(), Box, clBlue), InflateRect(Box, -1, -1));
    EXPECT_EQ(box->PixelColor(R, B), clBlue);
}

TEST(Frames, OuterStyleBorderAndRoundedInnerNest) {
    auto bitmap = Filled(16, 15);
    TScFrameParams p;
    p.OuterStyle = fsFlat;
    p.FlatColor = clRed;
    p.BorderWidth = 1;
    p.BorderColor = clBlue;
    p.InnerStyle = fsFlat;
    p.RoundedInner = true;
    const TRect inside = DrawFrame(bitmap->Canvas(), Box, p);
    EXPECT_EQ(inside, InflateRect(Box, -3, -3));
    EXPECT_EQ(bitmap->PixelColor(Box.Left, Box.Top), clRed);
    EXPECT_EQ(bitmap->PixelColor(Box.Left + 1, 6), clBlue);
    EXPECT_EQ(bitmap->PixelColor(Box.Left + 2, 6), clRed);
    EXPECT_EQ(bitmap->PixelColor(Box.Left + 2, Box.Top + 2), Background)
        << "the rounded inner ring skips corners";
    EXPECT_EQ(bitmap->PixelColor(Box.Right - 3, Box.Bottom - 3), Background);

    auto adjusted = Filled(16, 15);
    p = {};
    p.OuterStyle = fsFlatBold;
    p.FlatColor = clRed;
    p.FlatColorAdjustment = -50;
    EXPECT_EQ(DrawFrame(adjusted->Canvas(), Box, p), InflateRect(Box, -2, -2));
    EXPECT_EQ(adjusted->PixelColor(Box.Left + 1, 6), DarkerColor(clRed, 50));

    auto popup = Filled(16, 15);
    p = {};
    p.OuterStyle = fsPopup;
    p.BevelWidth = 2;
    p.BorderHighlight = clLime;
    p.BorderShadow = clBlue;
    EXPECT_EQ(DrawFrame(popup->Canvas(), Box, p), InflateRect(Box, -2, -2));
    EXPECT_EQ(popup->PixelColor(Box.Left + 1, 6), clLime);
    EXPECT_EQ(popup->PixelColor(Box.Right - 2, 6), clBlue);
}

}  // namespace
