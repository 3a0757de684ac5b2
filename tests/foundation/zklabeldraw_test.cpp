// The label's drawing routines: a shadow at each of its four positions, the
// rounded frame's outline, and where rotated text starts in each quadrant.
#include "foundation/zklabeldraw.h"

#include <gtest/gtest.h>

#include <functional>

#include "classlib/graphics/bitmap.h"

namespace {

// Text may be smoothed: black ink comes out grey, red ink pink.
bool IsGreyInk(TColor C) {
    return GetRValue(C) == GetGValue(C) && GetGValue(C) == GetBValue(C) && GetRValue(C) < 255;
}
bool IsRedInk(TColor C) {
    return GetRValue(C) == 255 && GetGValue(C) == GetBValue(C) && GetGValue(C) < 255;
}

// The smallest rectangle holding every pixel that Ink accepts; empty when none.
TRect InkBox(TBitmap* Bitmap, const std::function<bool(TColor)>& Ink) {
    TRect box(Bitmap->Width(), Bitmap->Height(), 0, 0);
    for (int y = 0; y < Bitmap->Height(); ++y) {
        for (int x = 0; x < Bitmap->Width(); ++x) {
            if (!Ink(Bitmap->PixelColor(x, y))) continue;
            box = TRect(std::min<LONG>(box.Left, x), std::min<LONG>(box.Top, y),
                        std::max<LONG>(box.Right, x + 1), std::max<LONG>(box.Bottom, y + 1));
        }
    }
    return box;
}

TEST(DrawShadowText, TheShadowLiesSizePixelsTowardsItsPositionAndWidensTheRectangle) {
    const struct {
        TShadowPosition position;
        int dx, dy;
    } cases[] = {{spLeftTop, -3, -3}, {spLeftBottom, -3, 3}, {spRightBottom, 3, 3}, {spRightTop, 3, -3}};
    for (const auto& c : cases) {
        TOwned<TBitmap> bitmap(Create<TBitmap>());
        bitmap->SetSize(40, 40);
        TCanvas* canvas = bitmap->Canvas();
        canvas->Font()->SetColor(clBlack);
        // A glyph narrower than the shadow's offset: no text pixel covers it.
        TRect measured(10, 10, 10, 10);
        const int height = DrawShadowText(canvas, "|", DT_CALCRECT, c.position, clRed, 3, measured);
        const int textHeight = canvas->TextHeight("|");
        EXPECT_EQ(height, textHeight + 3);
        EXPECT_EQ(measured.Width(), canvas->TextWidth("|") + 3);
        EXPECT_EQ(measured.Height(), textHeight + 3);

        TRect r(10, 10, 30, 30);
        DrawShadowText(canvas, "|", DT_LEFT, c.position, clRed, 3, r);
        const TRect text = InkBox(bitmap.get(), IsGreyInk);
        const TRect shadow = InkBox(bitmap.get(), IsRedInk);
        ASSERT_FALSE(text.IsEmpty());
        EXPECT_EQ(shadow.Left - text.Left, c.dx) << c.position;
        EXPECT_EQ(shadow.Right - text.Right, c.dx) << c.position;
        EXPECT_EQ(shadow.Top - text.Top, c.dy) << c.position;
        EXPECT_EQ(canvas->Font()->Color(), clBlack);
    }
}

TEST(DrawRoundedFrame, CutsTheCornersAndFillsWithTheBrushOnly) {
    EXPECT_EQ(
        RoundedFramePoints(TRect(0, 0, 11, 9), 2),
        (std::vector<TPoint>{{2, 0}, {8, 0}, {10, 2}, {10, 6}, {8, 8}, {2, 8}, {0, 6}, {0, 2}, {2, 0}}));
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(20, 12);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clAqua);
    canvas->Pen()->SetColor(clBlue);
    DrawRoundedFrame(canvas, TRect(0, 0, 20, 12), clRed, 3);
    EXPECT_EQ(bitmap->PixelColor(0, 0), clWhite);
    EXPECT_EQ(bitmap->PixelColor(10, 0), clRed);
    EXPECT_EQ(bitmap->PixelColor(10, 6), clAqua);
    EXPECT_EQ(canvas->Pen()->Color(), clBlue);
}

// Text 40 wide and 10 high, in a client of 100 x 60 when not auto-sized.
TEST(PlaceAngleText, BoxAndOriginByQuadrant) {
    const TRect client(0, 0, 100, 60);
    const struct {
        int angle;
        bool autoSize;
        TAlignment alignment;
        int boxWidth, boxHeight, x, y;
    } cases[] = {
        // Auto-sized: the box at the top-left; the origin is the corner the
        // text starts from.
        {90, true, taLeftJustify, 10, 40, 0, 40},
        {180, true, taLeftJustify, 40, 10, 40, 10},
        {270, true, taLeftJustify, 10, 40, 10, 0},
        {45, true, taLeftJustify, 35, 35, 0, 28},
        // Aligned in the client, centred vertically.
        {90, false, taLeftJustify, 10, 40, 0, 50},
        {90, false, taCenter, 10, 40, 45, 50},
        {90, false, taRightJustify, 10, 40, 90, 50},
        {180, false, taLeftJustify, 40, 10, 40, 35},
        {180, false, taCenter, 40, 10, 70, 35},
        {180, false, taRightJustify, 40, 10, 100, 35},
        {270, false, taLeftJustify, 10, 40, 10, 10},
        {270, false, taCenter, 10, 40, 55, 10},
        {270, false, taRightJustify, 10, 40, 100, 10},
    };
    for (const auto& c : cases) {
        const TAngleTextPlace place = PlaceAngleText(c.angle, 40, 10, c.autoSize, c.alignment, client);
        EXPECT_EQ(place.BoxWidth, c.boxWidth) << c.angle << " " << c.alignment;
        EXPECT_EQ(place.BoxHeight, c.boxHeight) << c.angle << " " << c.alignment;
        EXPECT_EQ(place.Origin, Point(c.x, c.y)) << c.angle << " " << c.alignment;
    }
}

}  // namespace
