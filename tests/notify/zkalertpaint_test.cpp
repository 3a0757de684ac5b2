#include "notify/zkalertpaint.h"

#include <gtest/gtest.h>

#include <set>

#include "classlib/graphics/bitmap.h"

namespace {

TOwned<TBitmap> Painted(int Width, int Height, const TZkAlertWindowColors& Colors, bool Grip) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(Width, Height);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect(0, 0, Width, Height));
    PaintDesktopAlertBackground(bitmap->Canvas(), TRect(0, 0, Width, Height), Colors, Grip);
    return bitmap;
}

TColor Between(TColor From, TColor To, int Step, int Steps) {
    auto channel = [&](int shift) {
        const int a = (From >> shift) & 0xFF, b = (To >> shift) & 0xFF;
        return (a + MulDiv(Step, b - a, Steps)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

TEST(AlertPaint, CaptionBandBodyAndFrameRows) {
    const TZkAlertWindowColors colors;
    auto bitmap = Painted(329, 76, colors, false);
    // Row 0 is under the frame; row 1 is the caption's second band of 8.
    EXPECT_EQ(bitmap->PixelColor(100, 0), colors.Frame);
    EXPECT_EQ(bitmap->PixelColor(100, 1), Between(colors.CaptionFrom, colors.CaptionTo, 1, 7));
    EXPECT_EQ(bitmap->PixelColor(100, 7), colors.CaptionTo);
    // One row between caption and body is left to the window's own colour.
    EXPECT_EQ(bitmap->PixelColor(100, 8), clWhite);
    EXPECT_EQ(bitmap->PixelColor(100, 9), colors.WindowFrom);
    EXPECT_EQ(bitmap->PixelColor(100, 74), colors.WindowTo);
    EXPECT_EQ(bitmap->PixelColor(100, 75), colors.Frame);
    EXPECT_EQ(bitmap->PixelColor(0, 40), colors.Frame);
    EXPECT_EQ(bitmap->PixelColor(328, 40), colors.Frame);
}

TEST(AlertPaint, BodyBandsFollowItsHeight) {
    EXPECT_EQ(AlertBodyBands(60), 60);
    EXPECT_EQ(AlertBodyBands(254), 254);
    EXPECT_EQ(AlertBodyBands(255), 32);
    EXPECT_EQ(AlertBodyBands(300), 32);

    // A body row is 10 rows less than the window: caption, gap and frame.
    TZkAlertWindowColors colors;
    colors.WindowFrom = TColor(0x000000);
    colors.WindowTo = TColor(0xFFFFFF);
    for (const auto& [bodyHeight, bands] : {std::pair{60, 60}, std::pair{300, 32}}) {
        auto bitmap = Painted(100, bodyHeight + 10, colors, false);
        std::set<TColor> seen;
        for (int y = 9; y < 9 + bodyHeight; ++y) seen.insert(bitmap->PixelColor(50, y));
        EXPECT_EQ(static_cast<int>(seen.size()), bands) << bodyHeight;
    }
}

TEST(AlertPaint, GripDotsOnlyWhenTheWindowCanBeDragged) {
    const TZkAlertWindowColors colors;
    // The first dot: a dark square at (width/2 - 20, 3), its light shadow one
    // pixel down and right with a grey top-left corner.
    auto with = Painted(329, 76, colors, true);
    EXPECT_EQ(with->PixelColor(144, 3), TColor(0x808080));
    EXPECT_EQ(with->PixelColor(145, 4), TColor(0xB8BCB8));
    EXPECT_EQ(with->PixelColor(146, 5), TColor(0xF8FCF8));
    // The tenth dot starts 36 pixels to the right.
    EXPECT_EQ(with->PixelColor(180, 3), TColor(0x808080));
    auto without = Painted(329, 76, colors, false);
    EXPECT_NE(without->PixelColor(144, 3), TColor(0x808080));
}

}  // namespace
