// Groups and the bar as they paint themselves, read back from a bitmap; and
// painting, opening and closing again and again leave no handle behind.
#include "classlib/graphics/handles.h"
#include "classlib/windows/themes.h"
#include "controls/sccolors.h"
#include "controls/scscheme.h"
#include "tests/controls/group_fixture.h"
#include "tests/controls/paint_support.h"

namespace {

constexpr TColor BandStart = 0x2040C0, BandStop = 0x40C020, BarShade = 0x503010;

class ScGroupPaintTest : public GroupBarTest {
protected:
    void SetUp() override {
        GroupBarTest::SetUp();
        bar = NewBar(300);
        bar->SetGradientColorStyle(gcsCustom);
        bar->SetGradientColorStart(BarShade);
        bar->SetGradientColorStop(BarShade);
        group = NewGroup(bar, "");
        group->SetCaptionColorStart(BandStart);
        group->SetCaptionColorStop(BandStop);
        group->SetBorderColor(0x0000FF);
        group->SetColor(0xE0E0E0);
        group->SetDividerColor(0xFF0000);
        group->SetOpened(true);
    }
    TScGroupBar* bar = nullptr;
    TScGroup* group = nullptr;
};

TEST_F(ScGroupPaintTest, CategoryBandShadesFromStartToStopAndCornersTakeTheBarsShade) {
    if (!IsTrueColor) GTEST_SKIP() << "no true colour";
    const int w = group->Width(), ch = group->CaptionHeight();
    TOwned<TBitmap> shot = Painted(group);
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(w / 2 - 2, 3)), Rgb(BandStart));
    EXPECT_TRUE(Near(shot->Canvas()->Pixels(w - 1, ch - 3), BandStop, 8));
    // Rounded corners show the bar's gradient where the group stands: with
    // a group above it, that is well down the bar's shading.
    bar->SetGradientColorStop(0xF0F0F0);
    TScGroup* above = NewGroup(bar, "Above", {"One", "Two", "Three", "Four"});
    above->SetGroupIndex(0);
    above->SetOpened(true);
    Pump();
    ASSERT_GT(group->Top(), 60);
    const TColor beside = Painted(bar)->Canvas()->Pixels(group->Left() - 1, group->Top());
    ASSERT_FALSE(Near(beside, BarShade, 8)) << "the shading must differ from its start here";
    shot = Painted(group);
    for (const TPoint& p : {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}, TPoint{w - 1, 0}, TPoint{w - 2, 0}})
        EXPECT_TRUE(Near(shot->Canvas()->Pixels(p.X, p.Y), beside, 4)) << p.X << "," << p.Y;
    // A classic bar: a flat band, and corners in the bar's colour.
    bar->SetVisualStyle(vsClassic);
    shot = Painted(group);
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(w - 1, ch - 3)), Rgb(BandStart));
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(0, 0)), Rgb(bar->Color()));
}

TEST_F(ScGroupPaintTest, OpenGroupHasDividerFrameAndBody) {
    group->SetDividerVisible(true);
    bar->SetVisualStyle(vsClassic);
    const int w = group->Width(), h = group->Height(), ch = group->CaptionHeight();
    TOwned<TBitmap> shot = Painted(group);
    TCanvas* c = shot->Canvas();
    EXPECT_EQ(Rgb(c->Pixels(w / 2, ch - 1)), Rgb(0xFF0000));
    EXPECT_EQ(Rgb(c->Pixels(0, ch + 5)), Rgb(0x0000FF));
    EXPECT_EQ(Rgb(c->Pixels(w - 1, ch + 5)), Rgb(0x0000FF));
    EXPECT_EQ(Rgb(c->Pixels(w / 2, h - 1)), Rgb(0x0000FF));
    EXPECT_EQ(Rgb(c->Pixels(w / 2, ch + 10)), Rgb(0xE0E0E0));
    // The gradient divider starts in its colour and runs into the body.
    if (!IsTrueColor) return;
    bar->SetVisualStyle(vsGradient);
    shot = Painted(group);
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(0, ch - 1)), Rgb(0xFF0000));
    EXPECT_TRUE(Near(shot->Canvas()->Pixels(w - 1, ch - 1), 0xE0E0E0, 8));
}

TEST_F(ScGroupPaintTest, SelectedItemGetsAFrameInTheSelectionColour) {
    bar->SetVisualStyle(vsClassic);
    TScGroupItem* item = group->Items()->Add();
    item->SetCaption("Drive");
    item->OnClick = TNotifyEvent(this, &GroupBarTest::Clicked);
    group->SetShowItemSelection(true);
    group->SetSelectionFrameColor(0x00FF00);
    item->SetSelected(true);
    TOwned<TBitmap> shot = Painted(group);
    const TRect text = item->CaptionRect();
    ASSERT_FALSE(text.IsEmpty());
    const int midY = (text.Top + text.Bottom) / 2;
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(text.Left - 2, midY)), Rgb(0x00FF00));
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(text.Right + 1, midY)), Rgb(0x00FF00));
    item->SetSelected(false);
    shot = Painted(group);
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(text.Left - 2, midY)), Rgb(0xE0E0E0));
}

TEST_F(ScGroupPaintTest, ThemedStyleWithoutAnExplorerBarThemeFallsBackToTheGradient) {
    bar->SetVisualStyle(vsWinXP);
    TThemesEnabledOverride themes(true);
    if (ThemeServices()->Theme(teExplorerBar)) GTEST_SKIP() << "this system has an explorer-bar theme";
    if (!IsTrueColor) GTEST_SKIP() << "no true colour";
    TOwned<TBitmap> shot = Painted(group);
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(group->Width() / 2 - 2, 3)), Rgb(BandStart));
}

// Under themes the item text takes the theme's colour, not the colour set,
// as long as the theme paints the group; without an explorer-bar theme (as
// under Wine) the group paints as without themes, items included. Either
// way the text stands out from the group's own body.
TEST_F(ScGroupPaintTest, ThemedItemsTakeTheColoursOfThePaintingThatRuns) {
    bar->SetGradientColorStyle(gcsSystem);
    bar->SetVisualStyle(vsWinXP);
    TScGroupItem* item = group->Items()->Add();
    item->SetCaption("Drive");
    item->OnClick = TNotifyEvent(this, &GroupBarTest::Clicked);
    auto count = [&](auto Counted) {
        TOwned<TBitmap> shot = Painted(group);
        const TRect text = item->CaptionRect();
        int n = 0;
        for (int y = text.Top; y < text.Bottom; ++y)
            for (int x = text.Left; x < text.Right; ++x) n += Counted(shot->PixelColor(x, y));
        return n;
    };
    auto in = [&](TColor Color) { return count([&](TColor Pixel) { return Pixel == Rgb(Color); }); };
    TColor start, stop, hotStart, hotStop, hot, normal;
    GetItemColors(gcsSystem, start, stop, hotStart, hotStop, hot, normal);
    {
        TThemesEnabledOverride themes(true);
        group->SetColorDefault(true);
        const bool themePaints = ThemeServices()->Theme(teExplorerBar) != nullptr;
        const TColor themed = GetXPThemeColor(1);
        ASSERT_NE(Rgb(themed), Rgb(normal));
        EXPECT_GT(in(themePaints ? themed : normal), 0);
        if (themePaints) {
            EXPECT_EQ(in(normal), 0);
        }
        const TColor body = Rgb(group->Color());
        EXPECT_GT(count([&](TColor Pixel) { return Pixel != body; }), 0) << "the text is seen";
    }
    TThemesEnabledOverride plain(false);
    group->SetColorDefault(true);
    EXPECT_GT(in(normal), 0);
}

TEST_F(ScGroupPaintTest, BarPaintsItsGradientAndItsFrame) {
    if (!IsTrueColor) GTEST_SKIP() << "no true colour";
    bar->SetGradientColorStop(0xF0F0F0);
    bar->SetBorderOuter(fsFlat);
    bar->SetFlatColor(0x00FFFF);
    bar->SetFlatColorAdjustment(0);
    Pump();
    TOwned<TBitmap> shot = Painted(bar);
    // PaintTo draws the client at the window's origin; the frame sits outside it.
    EXPECT_TRUE(Near(shot->Canvas()->Pixels(2, 1), BarShade, 8));
    HDC dc = GetWindowDC(bar->Handle());
    bar->Perform(WM_NCPAINT, 1, 0);
    const COLORREF edge = GetPixel(dc, 0, bar->Height() / 2);
    ReleaseDC(bar->Handle(), dc);
    EXPECT_EQ(edge, ColorToRGB(0x00FFFF));
}

TEST_F(ScGroupPaintTest, FiveHundredPaintsAndToggleCyclesKeepTheHandleCounts) {
    for (TScGroupBarStyle style : {gbsCategoryView, gbsTaskList, gbsOutlook}) {
        bar->SetStyle(style);
        NewGroup(bar, "More", {"One", "-", "Two"});
    }
    bar->SetStyle(gbsCategoryView);
    bar->SetBorderOuter(fsRaised);
    group->Items()->Add()->SetCaption("Item");
    TOwned<TBitmap> shot(Create<TBitmap>());
    shot->SetSize(bar->Width(), bar->Height());
    HDC dc = shot->Canvas()->Handle();
    bar->PaintTo(dc, 0, 0);
    bar->Perform(WM_NCPAINT, 1, 0);
    ClickCaption(group);
    ClickCaption(group);
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int i = 0; i < 500; ++i) {
        bar->PaintTo(dc, 0, 0);
        bar->Perform(WM_NCPAINT, 1, 0);
        ClickCaption(group);
    }
    Pump();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace

namespace {

TEST_F(ScGroupPaintTest, TaskListAndOutlookCaptionsTakeTheirColours) {
    bar->SetVisualStyle(vsClassic);
    bar->SetStyle(gbsTaskList);
    group->SetColor(0x00C0C0);
    TOwned<TBitmap> shot = Painted(group);
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(group->Width() - 3, 3)), Rgb(0x00C0C0));
    EXPECT_EQ(Rgb(shot->Canvas()->Pixels(group->Width() / 2, group->CaptionHeight() - 1)),
              Rgb(group->DividerColor()));

    if (!IsTrueColor) return;
    bar->SetVisualStyle(vsGradient);
    bar->SetStyle(gbsOutlook);
    ASSERT_TRUE(group->Opened());
    shot = Painted(group);
    // A button band shaded from start to stop inside its one-pixel edge.
    EXPECT_TRUE(Near(shot->Canvas()->Pixels(group->Width() - 3, 1), BandStart, 16));
    EXPECT_TRUE(Near(shot->Canvas()->Pixels(group->Width() - 3, group->CaptionHeight() - 2), BandStop, 16));
    // The item area runs from the group colour to a lighter one.
    const TColor top = shot->Canvas()->Pixels(group->Width() / 2, group->CaptionHeight());
    EXPECT_TRUE(Near(top, 0x00C0C0, 8));
}

}  // namespace
