#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "classlib/services/shellservice.h"
#include "foundation/zkutils.h"
#include "tests/foundation/recording_shell.h"

namespace {

constexpr TColor kStart = 0x000000;
constexpr TColor kEnd = 0x0000FE;

TOwned<TBitmap> Surface(int Width, int Height) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(Width, Height);
    return bitmap;
}

std::vector<TColor> Column(TBitmap* Bitmap, int X) {
    std::vector<TColor> colors;
    for (int y = 0; y < Bitmap->Height(); ++y) colors.push_back(Bitmap->PixelColor(X, y));
    return colors;
}

TEST(GradientFillRect, MoreColoursThanPixelsGiveOnePixelBands) {
    auto bitmap = Surface(4, 60);
    GradientFillRect(bitmap->Canvas(), TRect(0, 0, 4, 60), kStart, kEnd, gdTopToBottom, 255);
    const auto colors = Column(bitmap.get(), 2);
    EXPECT_EQ(colors.front(), kStart);
    EXPECT_EQ(colors.back(), kEnd);
    for (size_t y = 1; y < colors.size(); ++y) EXPECT_GT(colors[y], colors[y - 1]) << y;
}

TEST(GradientFillRect, TheRemainderStripTakesTheEndColour) {
    auto bitmap = Surface(4, 100);
    GradientFillRect(bitmap->Canvas(), TRect(0, 0, 4, 100), kStart, kEnd, gdTopToBottom, 8);
    const auto colors = Column(bitmap.get(), 0);
    for (int band = 0; band < 8; ++band) {
        const TColor expected = MulDiv(band, 0xFE, 7);
        for (int y = band * 12; y < band * 12 + 12; ++y) EXPECT_EQ(colors[y], expected) << y;
    }
    for (int y = 96; y < 100; ++y) EXPECT_EQ(colors[y], kEnd) << y;
}

TEST(GradientFillRect, ReversedDirectionsSwapTheColours) {
    const struct {
        TGradientDirection reversed, forward;
        int width, height;
    } cases[] = {{gdBottomToTop, gdTopToBottom, 3, 50}, {gdRightToLeft, gdLeftToRight, 50, 3}};
    for (const auto& c : cases) {
        auto a = Surface(c.width, c.height);
        auto b = Surface(c.width, c.height);
        const TRect r(0, 0, c.width, c.height);
        GradientFillRect(a->Canvas(), r, clRed, clBlue, c.reversed, 7);
        GradientFillRect(b->Canvas(), r, clBlue, clRed, c.forward, 7);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(a->PixelColor(x, y), b->PixelColor(x, y)) << x << "," << y;
    }
}

TEST(GradientFillRect, FewColoursOrEqualColoursFillPlainAndNoColourDrawsNothing) {
    auto bitmap = Surface(10, 10);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect(0, 0, 10, 10));
    GradientFillRect(bitmap->Canvas(), TRect(0, 0, 10, 10), clNone, clNone, gdTopToBottom, 5);
    EXPECT_EQ(bitmap->PixelColor(5, 5), clWhite);
    GradientFillRect(bitmap->Canvas(), TRect(0, 0, 10, 10), clGreen, clRed, gdTopToBottom, 1);
    EXPECT_EQ(bitmap->PixelColor(5, 9), clGreen);
    GradientFillRect(bitmap->Canvas(), TRect(0, 0, 10, 10), clRed, clRed, gdTopToBottom, 5);
    EXPECT_EQ(bitmap->PixelColor(5, 0), clRed);
}

TEST(AssignHotTrackFont, CopiesOnlyWhatIsNotPreservedAndOnlyWhenFollowing) {
    auto font = MakeOwned<TFont>();
    font->SetName("Arial");
    font->SetColor(clRed);
    font->SetHeight(-20);
    font->SetStyle({fsBold});
    font->SetPitch(fpFixed);
    font->SetCharset(ANSI_CHARSET);

    auto hot = MakeOwned<TFont>();
    AssignHotTrackFont(hot.get(), font.get(), {hoPreserveColor});
    EXPECT_NE(hot->Name(), "Arial");

    AssignHotTrackFont(hot.get(), font.get(), {hoFollowFont, hoPreserveColor, hoPreserveStyle});
    EXPECT_EQ(hot->Name(), "Arial");
    EXPECT_EQ(hot->Height(), -20);
    EXPECT_EQ(hot->Pitch(), fpFixed);
    EXPECT_EQ(hot->Charset(), ANSI_CHARSET);
    EXPECT_NE(hot->Color(), clRed);
    EXPECT_TRUE(hot->Style().Empty());
}

TEST(OpenObject, OpensWithTheShellAndReportsWhetherItStarted) {
    RecordingShell shell;
    TServiceOverride<TShellService> scope(shell);
    EXPECT_TRUE(OpenObject("http://example.invalid/"));
    shell.answer = 2;
    EXPECT_FALSE(OpenObject("missing.txt"));
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"open http://example.invalid/", "open missing.txt"}));
}

}  // namespace
