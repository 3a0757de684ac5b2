#include <string>

#include "classlib/graphics/handles.h"
#include "notify/texttrayicon.h"
#include "tests/notify/notify_fixture.h"

namespace {

constexpr TColor kMagenta = 0xFF00FF;

// Lets the tests see the drawn text picture.
class TProbeTextIcon : public TTextTrayIcon {
    VX_CLASS(TProbeTextIcon, TTextTrayIcon)
public:
    using TTextTrayIcon::TextBitmap;
    using TTextTrayIcon::TTextTrayIcon;
    int draws = 0;

protected:
    void Draw() override {
        ++draws;
        TTextTrayIcon::Draw();
    }
};

// The icon drawn over magenta: what shows magenta is transparent.
TOwned<TBitmap> Render(TIcon* Icon) {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(16, 16);
    bitmap->Canvas()->Brush()->SetColor(kMagenta);
    bitmap->Canvas()->FillRect(TRect(0, 0, 16, 16));
    DrawIconEx(bitmap->Canvas()->Handle(), 0, 0, Icon->Handle(), 16, 16, 0, nullptr, DI_NORMAL);
    return bitmap;
}

int CountPixels(TBitmap* Bitmap, TColor Color) {
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) n += Bitmap->PixelColor(x, y) == Color;
    return n;
}

class TextTrayIconTest : public NotifyWindowTest {
protected:
    void SetUp() override {
        NotifyWindowTest::SetUp();
        icon.reset(Create<TProbeTextIcon>(nullptr));
        icon->SetIconVisible(true);
        icon->Font()->SetName("Tahoma");
        icon->Font()->SetHeight(-11);
    }
    void TearDown() override {
        icon.reset();
        NotifyWindowTest::TearDown();
    }
    TOwned<TProbeTextIcon> icon;
};

TEST_F(TextTrayIconTest, AColourGivesAnOpaqueIconWithTheTextCentred) {
    icon->Font()->SetColor(clWhite);
    icon->SetColor(65535);
    icon->SetText("42");
    auto shown = Render(icon->Icon());
    EXPECT_EQ(shown->PixelColor(0, 0), clYellow);
    EXPECT_EQ(shown->PixelColor(15, 15), clYellow);
    EXPECT_EQ(CountPixels(shown.get(), kMagenta), 0);
    EXPECT_GT(CountPixels(shown.get(), clWhite), 5);
    // The text sits where the centring formula puts it.
    TCanvas* canvas = icon->TextBitmap()->Canvas();
    canvas->Font()->Assign(icon->Font());
    const int x = (15 - canvas->TextWidth("42")) / 2;
    const int y = (15 - canvas->TextHeight("42")) / 2;
    TOwned<TBitmap> expected(Create<TBitmap>());
    expected->SetSize(16, 16);
    expected->Canvas()->Brush()->SetColor(clYellow);
    expected->Canvas()->FillRect(TRect(0, 0, 16, 16));
    expected->Canvas()->Font()->Assign(icon->Font());
    expected->Canvas()->TextOut(x, y, "42");
    for (int py = 0; py < 16; ++py)
        for (int px = 0; px < 16; ++px)
            ASSERT_EQ(icon->TextBitmap()->PixelColor(px, py), expected->PixelColor(px, py))
                << px << "," << py;
    EXPECT_EQ(shell.calls.back().message, DWORD(NIM_MODIFY));
    EXPECT_EQ(shell.calls.back().data.hIcon, icon->Icon()->Handle());
}

TEST_F(TextTrayIconTest, NoColourLeavesOnlyTheTextVisible) {
    icon->Font()->SetColor(clWhite);
    icon->SetColor(clNone);
    icon->SetText("42");
    auto shown = Render(icon->Icon());
    EXPECT_EQ(shown->PixelColor(0, 0), kMagenta);
    // The background (the font colour's inverse, black) is gone entirely.
    EXPECT_EQ(CountPixels(shown.get(), clBlack), 0);
    EXPECT_GT(CountPixels(shown.get(), kMagenta), 128);
    EXPECT_GT(CountPixels(shown.get(), clWhite), 5);
}

TEST_F(TextTrayIconTest, TheFontColourAsBackgroundTurnsIntoItsInverse) {
    icon->Font()->SetColor(clRed);
    icon->SetColor(clRed);
    icon->SetText("7");
    auto shown = Render(icon->Icon());
    EXPECT_EQ(shown->PixelColor(0, 0), clAqua);
    EXPECT_GT(CountPixels(shown.get(), clRed), 3);
}

TEST_F(TextTrayIconTest, TheBorderFramesTheIcon) {
    icon->SetColor(clYellow);
    icon->SetBorderColor(clBlue);
    icon->SetBorder(true);
    auto shown = Render(icon->Icon());
    for (TPoint p : {TPoint(0, 0), TPoint(15, 0), TPoint(0, 15), TPoint(15, 15), TPoint(7, 0), TPoint(0, 7)})
        EXPECT_EQ(shown->PixelColor(p.X, p.Y), clBlue) << p.X << "," << p.Y;
    EXPECT_EQ(shown->PixelColor(1, 1), clYellow);
}

TEST_F(TextTrayIconTest, TwoLinesAreStackedAroundTheMiddle) {
    icon->SetColor(clWhite);
    icon->Font()->SetColor(clBlack);
    icon->SetText("1\r2");
    TOwned<TBitmap> expected(Create<TBitmap>());
    expected->SetSize(16, 16);
    TCanvas* canvas = expected->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 16, 16));
    canvas->Font()->Assign(icon->Font());
    const int lineHeight = canvas->TextHeight("1\r2");
    const int top = (15 - 2 * lineHeight) / 2;  // truncated toward zero: 13 px lines start at -5
    canvas->TextOut((15 - canvas->TextWidth("1")) / 2, top, "1");
    canvas->TextOut((15 - canvas->TextWidth("2")) / 2, top + lineHeight, "2");
    if (lineHeight == 13) {
        EXPECT_EQ(top, -5);
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(icon->TextBitmap()->PixelColor(x, y), expected->PixelColor(x, y)) << x << "," << y;
}

TEST_F(TextTrayIconTest, TextOverABackgroundIconKeepsTheBackground) {
    TOwned<TBitmap> green(Create<TBitmap>());
    green->SetSize(16, 16);
    green->Canvas()->Brush()->SetColor(clGreen);
    green->Canvas()->FillRect(TRect(0, 0, 16, 16));
    ICONINFO info{TRUE, 0, 0, nullptr, green->Handle()};
    TBitmap* mask = Create<TBitmap>();
    mask->SetMonochrome(true);
    mask->SetSize(16, 16);
    mask->Canvas()->Brush()->SetColor(clBlack);
    mask->Canvas()->FillRect(TRect(0, 0, 16, 16));
    info.hbmMask = mask->Handle();
    TOwned<TIcon> background(Create<TIcon>());
    background->SetHandle(CreateIconIndirect(&info));
    mask->Free();

    icon->Font()->SetColor(clWhite);
    icon->SetColor(clNone);
    icon->SetBackgroundIcon(background.get());
    icon->SetText("42");
    auto shown = Render(icon->Icon());
    EXPECT_EQ(shown->PixelColor(0, 0), clGreen);
    EXPECT_EQ(CountPixels(shown.get(), kMagenta), 0);
    EXPECT_GT(CountPixels(shown.get(), clWhite), 5);
}

// A drawing costs about a tenth of the shell's add under Wine.
TEST_F(TextTrayIconTest, AnIconSetUpBeforeItIsShownIsDrawnOnceWithAllOfIt) {
    TOwned<TProbeTextIcon> hidden(Create<TProbeTextIcon>(nullptr));
    hidden->Font()->SetColor(clWhite);
    hidden->SetColor(65535);
    hidden->SetText("42");
    hidden->SetBorder(true);
    hidden->SetBorderColor(clRed);
    EXPECT_EQ(hidden->draws, 0);
    shell.calls.clear();
    hidden->SetIconVisible(true);
    EXPECT_EQ(hidden->draws, 1);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].message, DWORD(NIM_ADD));
    EXPECT_EQ(shell.calls[0].data.hIcon, hidden->Icon()->Handle());
    auto shown = Render(hidden->Icon());
    EXPECT_EQ(shown->PixelColor(0, 0), clRed);
    EXPECT_EQ(shown->PixelColor(1, 1), clYellow);
    EXPECT_GT(CountPixels(shown.get(), clWhite), 5);
    // Once in, every change is drawn at once.
    hidden->SetText("43");
    EXPECT_EQ(hidden->draws, 2);
}

TEST_F(TextTrayIconTest, ChangingTheTextStopsCycling) {
    icon->SetCycleInterval(50);
    icon->SetCycleIcons(true);
    icon->SetText("1");
    EXPECT_FALSE(icon->CycleIcons());
}

TEST_F(TextTrayIconTest, RefreshingReleasesWhatItReplaces) {
    icon->SetText("40");
    const long gdi = GdiHandleCount();
    const long user = UserHandleCount();
    for (int i = 0; i < 500; ++i) icon->SetText(std::to_string(i % 100));
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace
