#include <gtest/gtest.h>

#include "classlib/core/text.h"
#include "classlib/graphics/bitmap.h"
#include "skins/skincaption.h"
#include "tests/support/code_page.h"

namespace {

struct CaptionFixture : ::testing::Test {
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    void SetUp() override {
        bitmap->SetSize(120, 60);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect({0, 0, 120, 60});
        Canvas()->Font()->SetName("Tahoma");
        Canvas()->Font()->SetSize(10);
        Canvas()->Font()->SetColor(clBlack);
    }
    TCanvas* Canvas() { return bitmap->Canvas(); }
    int Width(const std::wstring& caption) {
        TRect r(0, 0, 1, 1);
        DrawCaptionText(Canvas(), caption, r, DT_CALCRECT | DT_SINGLELINE);
        return r.Right;
    }
    int Count(TColor colour, const TRect& area) {
        int count = 0;
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x) count += bitmap->PixelColor(x, y) == colour;
        return count;
    }
};

TEST_F(CaptionFixture, Utf8CaptionsAreDecoded) {
    std::wstring caption = L"utf8=";
    for (unsigned char byte : WideToUtf8(L"Gr\u00FC\u00DFe")) caption.push_back(static_cast<wchar_t>(byte));
    EXPECT_EQ(DecodeCaption(caption), L"Gr\u00FC\u00DFe");
    EXPECT_EQ(Width(caption), Canvas()->TextWidth(std::wstring(L"Gr\u00FC\u00DFe")));
    EXPECT_EQ(DecodeCaption(L"utf8"), L"utf8");
}

TEST(Utf8Caption, BytesOfCp1252WidenedThroughTheCodePageDecodeAsWell) {
    ExpectCodePage(1252);
    // The usual way in: an 8-bit caption "utf8=..." widened by the system
    // code page. The euro sign and the curly quote carry bytes 0x80-0x9F,
    // which the code page turns into characters far above 0xFF.
    for (const std::wstring text : {L"\u20AC 5", L"\u201Cquoted\u201D", L"Gr\u00FC\u00DFe", L"\u0160koda"}) {
        const std::string ansi = "utf8=" + WideToUtf8(text);
        EXPECT_EQ(DecodeCaption(ToWide(ansi)), text) << ansi;
    }
    // A character that no byte of the code page gives stays itself.
    EXPECT_EQ(DecodeCaption(L"utf8=\U0001F600 ok"), L"\U0001F600 ok");
}

TEST_F(CaptionFixture, DoubledMarkDrawsOneAmpersand) {
    EXPECT_EQ(Width(L"a&&b"), Canvas()->TextWidth(std::wstring(L"a&b")));
    EXPECT_EQ(Width(L"&ab"), Canvas()->TextWidth(std::wstring(L"ab")));
}

TEST_F(CaptionFixture, ItalicMeasuresWider) {
    const int plain = Width(L"Italic");
    Canvas()->Font()->SetStyle({fsItalic});
    const int italic = Width(L"Italic");
    EXPECT_EQ(italic, Canvas()->TextWidth(std::wstring(L"Italic")) + 2 * (10 / 8) + 1);
    EXPECT_GT(italic, plain - 1);
}

TEST_F(CaptionFixture, GlowIsDrawnAroundTheText) {
    TRect plain(0, 0, 60, 30);
    DrawCaptionText(Canvas(), L"Wm", plain, DT_SINGLELINE);
    EXPECT_GT(Count(clBlack, {0, 0, 60, 30}), 0);
    EXPECT_EQ(Count(clRed, {0, 0, 60, 30}), 0);
    TRect glowing(60, 0, 120, 30);
    DrawCaptionText(Canvas(), L"Wm", glowing, DT_SINGLELINE, sgkAll, clRed);
    EXPECT_GT(Count(clRed, {60, 0, 120, 30}), 0);
    EXPECT_GT(Count(clBlack, {60, 0, 120, 30}), 0);
    // The brush is back as it was.
    EXPECT_EQ(Canvas()->Brush()->Style(), bsSolid);
    EXPECT_EQ(Canvas()->Font()->Color(), clBlack);
}

TEST_F(CaptionFixture, RotatedTextStaysInItsRectangleAndRunsAlongIt) {
    for (int orientation : {SkinTextRotated90, SkinTextRotated270}) {
        SetUp();
        TRect r(40, 2, 60, 58);
        DrawCaptionText(Canvas(), L"Rotated", r, DT_CENTER, sgkNone, clNone, orientation);
        EXPECT_EQ(Count(clBlack, {0, 0, 40, 60}) + Count(clBlack, {60, 0, 120, 60}), 0) << orientation;
        int top = 60, bottom = -1, left = 120, right = -1;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 120; ++x)
                if (bitmap->PixelColor(x, y) == clBlack) {
                    top = std::min(top, y), bottom = std::max(bottom, y);
                    left = std::min(left, x), right = std::max(right, x);
                }
        ASSERT_GE(bottom, 0) << orientation;
        EXPECT_GT(bottom - top, right - left) << orientation;
    }
}

TEST_F(CaptionFixture, MeasuringStripsMarksWhenAsked) {
    Canvas()->TextWidth(std::wstring(L"x"));  // the canvas font into the DC
    HDC dc = Canvas()->Handle();
    EXPECT_EQ(GetCaptionTextSize(dc, L"&Open", true).cx, Canvas()->TextWidth(std::wstring(L"Open")));
    EXPECT_EQ(GetCaptionTextSize(dc, L"&Open", false).cx, Canvas()->TextWidth(std::wstring(L"&Open")));
}

TEST(CaptionTextHelpers, CleanUps) {
    EXPECT_EQ(StripAccelCharsW(L"&Save && E&xit"), L"Save  Exit");
    EXPECT_EQ(TruncateAtTabW(L"Open\tCtrl+O"), L"Open");
    EXPECT_EQ(TruncateAtTabW(L"Open"), L"Open");
    EXPECT_EQ(StripTrailingPunctuationW(L"Options..."), L"Options");
    EXPECT_EQ(StripTrailingPunctuationW(L"Name:"), L"Name");
    EXPECT_EQ(StripTrailingPunctuationW(L":"), L":");
    EXPECT_EQ(StripTrailingPunctuationW(L"..."), L"...");
}

}  // namespace
