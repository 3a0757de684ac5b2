// Gradients and bitmap routines read back from bitmaps: edge rows and
// columns of every direction, symmetry, box mirroring, nothing drawn for an
// empty rectangle, and the clip a border gradient leaves behind.
#include <gtest/gtest.h>

#include <cmath>

#include "classlib/windows/themes.h"
#include "controls/scbackgrounds.h"
#include "controls/scgrafx.h"
#include "controls/scscheme.h"
#include "tests/controls/paint_support.h"

namespace {

constexpr TColor Start = 0x0000F0;  // red, going to blue
constexpr TColor Stop = 0xF00000;

// A colour band never jumps more than one step of 240 / N per channel.
int StepOf(int N) {
    return 240 / N + 2;
}

TEST(PaintGradient, LinearDirectionsRunFromStartToStop) {
    const int w = 40, h = 30;
    // Direction, then whether it runs down (else across), then from both edges.
    const struct {
        int direction;
        bool down;
        bool both;
    } rows[] = {{2, true, false}, {3, true, true}, {5, false, false}, {6, false, true}};
    for (const auto& row : rows) {
        auto bitmap = Filled(w + 4, h + 4);
        PaintGradient(bitmap->Canvas(), TRect(2, 2, w + 2, h + 2), row.direction, Start, Stop, 1);
        const int length = row.down ? h : w;
        auto at = [&](int along, int across) {
            return row.down ? bitmap->PixelColor(2 + across, 2 + along)
                            : bitmap->PixelColor(2 + along, 2 + across);
        };
        const int reach = row.both ? length / 2 : length;
        for (int across : {0, (row.down ? w : h) - 1}) {
            EXPECT_EQ(at(0, across), Start) << row.direction;
            EXPECT_TRUE(Near(at(reach - 1, across), Stop, StepOf(reach)))
                << row.direction << std::hex << " " << at(reach - 1, across);
            if (row.both) {
                EXPECT_EQ(at(length - 1, across), Start) << row.direction;
            }
        }
        // The whole picture is the first strip repeated across.
        for (int along = 0; along < length; ++along)
            for (int across = 1; across < (row.down ? w : h); ++across) {
                if (at(along, across) != at(along, 0)) {
                    ADD_FAILURE() << "direction " << row.direction << " differs at " << along << ","
                                  << across;
                    break;
                }
            }
        EXPECT_EQ(bitmap->PixelColor(1, 1), Background) << "nothing outside the rectangle";
        EXPECT_EQ(bitmap->PixelColor(w + 2, h + 2), Background);
    }
}

TEST(PaintGradient, FromBothEdgesIsSymmetric) {
    auto bitmap = Filled(10, 40);
    PaintGradient(bitmap->Canvas(), TRect(0, 0, 10, 40), 3, Start, Stop, 1);
    for (int y = 0; y < 20; ++y) EXPECT_EQ(bitmap->PixelColor(4, y), bitmap->PixelColor(4, 39 - y)) << y;
    auto across = Filled(40, 10);
    PaintGradient(across->Canvas(), TRect(0, 0, 40, 10), 6, Start, Stop, 1);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(across->PixelColor(x, 4), across->PixelColor(39 - x, 4)) << x;
}

TEST(PaintGradient, BoxesAreMirroredQuartersWithStopInTheMiddle) {
    for (int direction : {4, 7, 8, 9}) {
        for (auto [w, h] : {std::pair{41, 31}, {40, 30}}) {
            auto bitmap = Filled(w, h);
            PaintGradient(bitmap->Canvas(), TRect(0, 0, w, h), direction, Start, Stop, 1);
            EXPECT_EQ(bitmap->PixelColor(0, 0), Start) << direction;
            EXPECT_EQ(bitmap->PixelColor(w / 2, h / 2), Stop) << direction;
            int wrong = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const TColor c = bitmap->PixelColor(x, y);
                    if ((c != bitmap->PixelColor(w - 1 - x, y) || c != bitmap->PixelColor(x, h - 1 - y)) &&
                        !wrong++)
                        ADD_FAILURE() << "direction " << direction << " size " << w << "x" << h
                                      << " not mirrored at " << x << "," << y;
                }
        }
    }
}

TEST(PaintGradient, BoxOfTheSameColourOrTooSmallIsFlat) {
    auto same = Filled(20, 20);
    PaintGradient(same->Canvas(), TRect(0, 0, 20, 20), 8, clLime, clLime, 1);
    auto small = Filled(4, 20);
    PaintGradient(small->Canvas(), TRect(0, 0, 4, 20), 8, Start, Stop, 1);
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(same->PixelColor(y % 20, y), clLime);
        EXPECT_EQ(small->PixelColor(y % 4, y), Stop);
    }
}

TEST(PaintGradient, DiagonalsRunCornerToCorner) {
    const int w = 50, h = 30;
    auto fromLeft = Filled(w, h);
    PaintGradient(fromLeft->Canvas(), TRect(0, 0, w, h), 0, Start, Stop, 1);
    auto fromRight = Filled(w, h);
    PaintGradient(fromRight->Canvas(), TRect(0, 0, w, h), 1, Start, Stop, 1);
    const int n = static_cast<int>(std::sqrt(double(w * w + h * h))) + 1;
    EXPECT_EQ(fromLeft->PixelColor(0, 0), Start);
    EXPECT_TRUE(Near(fromLeft->PixelColor(w - 1, h - 1), Stop, StepOf(n) * 2));
    EXPECT_EQ(fromRight->PixelColor(w - 1, 0), Start);
    EXPECT_TRUE(Near(fromRight->PixelColor(0, h - 1), Stop, StepOf(n) * 2));
    // Along the other diagonal the colour is the middle one, on both sides.
    EXPECT_TRUE(Near(fromLeft->PixelColor(w - 1, 0), fromLeft->PixelColor(0, h - 1), StepOf(n) * 2));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_NE(fromLeft->PixelColor(x, y), Background) << x << "," << y;
    auto flat = Filled(w, h);
    PaintGradient(flat->Canvas(), TRect(0, 0, w, h), 1, clLime, clLime, 1);
    EXPECT_EQ(flat->PixelColor(w / 2, h / 2), clLime);
}

TEST(PaintGradient, EmptyRectanglesAndUnknownDirectionsDrawNothing) {
    const TRect rects[] = {{5, 5, 5, 20}, {5, 5, 20, 5}, {10, 10, 5, 20}, {10, 10, 20, 2}};
    for (int direction = 0; direction <= 10; ++direction)
        for (const TRect& r : rects) {
            auto bitmap = Filled(24, 24);
            PaintGradient(bitmap->Canvas(), r, direction, Start, Stop, 1);
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x) ASSERT_EQ(bitmap->PixelColor(x, y), Background) << direction;
        }
    auto bitmap = Filled(8, 8);
    PaintGradient(bitmap->Canvas(), TRect(0, 0, 8, 8), 10, Start, Stop, 1);
    EXPECT_EQ(bitmap->PixelColor(3, 3), Background);
}

TEST(PaintGradientBorder, PaintsARingAndKeepsTheCallersClip) {
    const bool saved = IsTrueColor;
    IsTrueColor = true;
    auto bitmap = Filled(30, 30);
    TCanvas* c = bitmap->Canvas();
    c->IntersectClip(TRect(0, 0, 30, 20));
    PaintGradientBorder(c, TRect(0, 0, 30, 30), 2, Start, Stop);
    EXPECT_NE(bitmap->PixelColor(1, 10), Background);
    EXPECT_EQ(bitmap->PixelColor(15, 10), Background) << "inside the ring stays";
    EXPECT_EQ(bitmap->PixelColor(1, 25), Background) << "the caller's clip still holds";
    c->Brush()->SetColor(clLime);
    c->FillRect(TRect(0, 0, 30, 30));
    EXPECT_EQ(bitmap->PixelColor(15, 10), clLime) << "the hole is gone again";
    EXPECT_EQ(bitmap->PixelColor(15, 25), Background) << "the caller's clip is back";

    IsTrueColor = false;
    auto flat = Filled(30, 30);
    PaintGradientBorder(flat->Canvas(), TRect(0, 0, 30, 30), 2, Start, Stop);
    EXPECT_EQ(flat->PixelColor(0, 0), Background) << "no gradients without true colour";
    IsTrueColor = saved;
}

TEST(GroupBarBackground, GradientInPathOrderOrNothing) {
    const bool saved = IsTrueColor;
    IsTrueColor = true;
    TThemesEnabledOverride noStyles(false);
    auto down = Filled(10, 40);
    PaintGroupBarBackground(down->Canvas(), TRect(0, 0, 10, 40), vsGradient, gcsCustom, gpTopToBottom, Start,
                            Stop);
    EXPECT_EQ(down->PixelColor(5, 0), Start);
    auto up = Filled(10, 40);
    PaintGroupBarBackground(up->Canvas(), TRect(0, 0, 10, 40), vsGradient, gcsCustom, gpBottomToTop, Start,
                            Stop);
    EXPECT_EQ(up->PixelColor(5, 0), Stop);
    auto xp = Filled(10, 40);
    PaintGroupBarBackground(xp->Canvas(), TRect(0, 0, 10, 40), vsWinXP, gcsCustom, gpTopToBottom, Start,
                            Stop);
    EXPECT_EQ(xp->PixelColor(5, 0), Start) << "without styles the XP look falls back to the gradient";
    auto classic = Filled(10, 40);
    PaintGroupBarBackground(classic->Canvas(), TRect(0, 0, 10, 40), vsClassic, gcsCustom, gpTopToBottom,
                            Start, Stop);
    EXPECT_EQ(classic->PixelColor(5, 0), Background);
    IsTrueColor = saved;
}

TEST(Bitmaps, TilingMirroringAndTransparentStretch) {
    auto tile = Filled(3, 2, clRed);
    tile->Canvas()->SetPixels(0, 0, clLime);
    auto tiled = Filled(10, 7);
    TileBitmap(tiled->Canvas(), TRect(1, 1, 9, 6), tile.get());
    EXPECT_EQ(tiled->PixelColor(1, 1), clLime);
    EXPECT_EQ(tiled->PixelColor(4, 3), clLime);
    EXPECT_EQ(tiled->PixelColor(7, 5), clLime);
    EXPECT_EQ(tiled->PixelColor(8, 5), clRed);
    EXPECT_EQ(tiled->PixelColor(9, 5), Background);
    EXPECT_EQ(tiled->PixelColor(5, 6), Background);

    auto source = Filled(4, 3, clRed);
    source->Canvas()->SetPixels(0, 0, clLime);
    auto mirrored = Filled(6, 5);
    StretchDrawMirrored(mirrored->Canvas(), TRect(1, 1, 5, 4), source->Canvas(), TRect(0, 0, 4, 3), true,
                        true);
    EXPECT_EQ(mirrored->PixelColor(4, 3), clLime);
    EXPECT_EQ(mirrored->PixelColor(1, 1), clRed);
    EXPECT_EQ(mirrored->PixelColor(0, 0), Background);
    EXPECT_EQ(mirrored->PixelColor(5, 4), Background);

    auto sprite = Filled(4, 4, clWhite);
    sprite->Canvas()->SetPixels(1, 1, clBlue);
    auto target = Filled(12, 12);
    StretchDrawTransparent(target->Canvas(), TRect(2, 2, 10, 10), sprite.get(), TRect(0, 0, 4, 4), clWhite);
    EXPECT_EQ(target->PixelColor(4, 4), clBlue) << "source pixel (1,1) doubled";
    EXPECT_EQ(target->PixelColor(5, 5), clBlue);
    EXPECT_EQ(target->PixelColor(2, 2), Background) << "white is left out";
    EXPECT_EQ(target->PixelColor(9, 9), Background);
}

}  // namespace
