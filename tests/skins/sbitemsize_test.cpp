// The size rules of skinned items as arithmetic, and the font size rule.
#include <gtest/gtest.h>

#include <optional>

#include "classlib/windows/themes.h"

#include "skins/sbfontsettings.h"
#include "skins/sbitemsize.h"
#include "skins/skinmanager.h"

namespace {

TSbItemSizeInput Toolbar() {
    return TSbItemSizeInput{};
}

TSbItemSizeInput Menu() {
    TSbItemSizeInput in;
    in.ToolbarStyle = false;
    in.MenuMargins.Top = 3;
    in.MenuMargins.Bottom = 3;
    in.MenuMargins.Left = 1;
    in.MenuMargins.Right = 1;
    in.MenuMargins.ItemHeight = 22;
    in.MenuMargins.ImageGapLeft = 3;
    in.MenuMargins.ImageGapRight = 3;
    in.MenuMargins.GutterExtra = 5;
    return in;
}

TEST(SkinnedItemSize, ToolbarStyleRules) {
    struct Row {
        const char* why;
        TSbItemSizeInput in;
        TSize want;
    };
    auto with = [](auto change) {
        TSbItemSizeInput in = Toolbar();
        change(in);
        return in;
    };
    const Row rows[] = {
        {"nothing shown: the bare 6 x 6", Toolbar(), {6, 6}},
        {"a caption adds itself and 4 along",
         with([](auto& in) {
             in.Caption = {30, 13};
         }),
         {40, 19}},
        {"a rotated caption grows the height",
         with([](auto& in) {
             in.Rotated = true;
             in.Caption = {13, 30};
         }),
         {19, 40}},
        {"an image beside the caption",
         with([](auto& in) {
             in.Caption = {30, 13};
             in.ImageShown = true;
             in.Image = {16, 16};
         }),
         {57, 22}},
        {"an image that is not shown counts for nothing",
         with([](auto& in) {
             in.Image = {16, 16};
         }),
         {6, 6}},
        {"an image above the caption",
         with([](auto& in) {
             in.Caption = {30, 13};
             in.ImageShown = true;
             in.ImageAbove = true;
             in.Image = {16, 16};
         }),
         {40, 35}},
        {"a split item adds the split part (12)", with([](auto& in) { in.Combo = true; }), {18, 6}},
        {"a drop-down arrow adds 8 along a horizontal bar",
         with([](auto& in) { in.DropdownArrow = true; }),
         {14, 6}},
        {"a drop-down arrow adds 8 down a vertical bar",
         with([](auto& in) {
             in.DropdownArrow = true;
             in.VerticalView = true;
         }),
         {6, 14}},
        {"the arrow beside an image above the caption",
         with([](auto& in) {
             in.DropdownArrow = true;
             in.ImageShown = true;
             in.ImageAbove = true;
             in.Image = {16, 16};
         }),
         {33, 22}},
        {"custom sizes replace whatever was measured",
         with([](auto& in) {
             in.Caption = {80, 13};
             in.CustomWidth = 17;
             in.CustomHeight = 21;
         }),
         {17, 21}},
        {"rotated, the custom length runs down the bar",
         with([](auto& in) {
             in.Rotated = true;
             in.Caption = {13, 80};
             in.CustomWidth = 17;
             in.CustomHeight = 21;
         }),
         {21, 17}},
        {"margins lengthen, minimums raise",
         with([](auto& in) {
             in.Margins = 10;
             in.MinHeight = 30;
         }),
         {16, 30}},
        {"an anchored item adds its anchor size",
         with([](auto& in) {
             in.Anchored = true;
             in.AnchorSize = 25;
         }),
         {31, 6}},
        {"the bar's maximum thickness caps the height",
         with([](auto& in) {
             in.Caption = {20, 40};
             in.MaxThickness = 24;
         }),
         {30, 24}},
        {"a maximum of 0 still caps", with([](auto& in) { in.MaxThickness = 0; }), {6, 0}},
        {"stretching to a horizontal bar's thickness",
         with([](auto& in) {
             in.Stretch = true;
             in.BaseSize = {200, 26};
         }),
         {6, 26}},
    };
    for (const Row& row : rows) EXPECT_EQ(SbItemSize(row.in), row.want) << row.why;
}

TEST(SkinnedItemSize, SplitItemIsWiderByTheSplitPart) {
    TSbItemSizeInput plain = Toolbar();
    plain.Caption = {30, 13};
    TSbItemSizeInput split = plain;
    split.Combo = true;
    EXPECT_EQ(SbItemSize(split).cx - SbItemSize(plain).cx, 12);
    split.Metrics.SplitDropDownWidth = 15;  // a theme's own width
    EXPECT_EQ(SbItemSize(split).cx - SbItemSize(plain).cx, 15);
}

TEST(SkinnedItemSize, MenuStyleRules) {
    TSbItemSizeInput in = Menu();
    in.Caption = {40, 13};
    // No image list: 16 high before the margins; width: caption, margins,
    // image column with its gaps, and the arrow column as wide as the item.
    const TSize plain = SbItemSize(in);
    EXPECT_EQ(plain.cy, 16 + 3 + 3);
    EXPECT_EQ(plain.cx, 40 + 1 + 1 + 22 + 3 + 3 + 5 + plain.cy);
    // A tall image list raises every row, shown on this item or not.
    in.Image = {24, 24};
    EXPECT_EQ(SbItemSize(in).cy, 24 + 6);
    // A shortcut adds its width and the item height less 6.
    TSbItemSizeInput shortcut = Menu();
    shortcut.Caption = {40, 13};
    shortcut.ShortCutWidth = 30;
    EXPECT_EQ(SbItemSize(shortcut).cx - plain.cx, 30 + plain.cy - 6);
    // Anchoring belongs to toolbars.
    shortcut.Anchored = true;
    shortcut.AnchorSize = 50;
    EXPECT_EQ(SbItemSize(shortcut).cx - plain.cx, 30 + plain.cy - 6);
}

TEST(SkinnedFontSettings, SizeIsAPercentageRoundedHalfUp) {
    EXPECT_EQ(ScaledFontSize(8, 150), 12);
    EXPECT_EQ(ScaledFontSize(8, 100), 8);
    EXPECT_EQ(ScaledFontSize(9, 150), 14);  // 13.5 rounds up
    EXPECT_EQ(ScaledFontSize(8, 50), 4);

    TOwned<TSbFontSettings> settings = MakeOwned<TSbFontSettings>();
    TOwned<TFont> font = MakeOwned<TFont>();
    font->SetSize(8);
    font->SetName("Tahoma");
    settings->SetSize(150);
    settings->Apply(font.get());
    EXPECT_EQ(font->Size(), 12);
    EXPECT_EQ(font->Name(), "Tahoma");  // an empty face leaves it
    settings->SetSize(100);
    settings->SetName("Arial");
    settings->SetStyle(TFontStyles{fsBold});
    settings->Apply(font.get());
    EXPECT_EQ(font->Size(), 12);
    EXPECT_EQ(font->Name(), "Arial");
    EXPECT_TRUE(font->Style().Contains(fsBold));
}

TEST(SkinnedFontSettings, EveryChangeNotifiesOnceAndAssignCopies) {
    TOwned<TSbFontSettings> settings = MakeOwned<TSbFontSettings>();
    struct TCounter {
        int Count = 0;
        void Changed(TObject*) { ++Count; }
    } counter;
    settings->OnChange = TNotifyEvent(&counter, &TCounter::Changed);
    settings->SetColor(clRed);
    settings->SetColor(clRed);
    settings->SetSize(120);
    settings->SetName("Arial");
    EXPECT_EQ(counter.Count, 3);
    TOwned<TSbFontSettings> copy = MakeOwned<TSbFontSettings>();
    copy->Assign(settings.get());
    EXPECT_EQ(copy->Color(), clRed);
    EXPECT_EQ(copy->Size(), 120);
    EXPECT_EQ(copy->Name(), "Arial");
}

}  // namespace

namespace {

TEST(SkinnedItemSize, ThemePartSizeIsAskedOncePerThemeChange) {
    std::optional<TThemesEnabledOverride> themes;
    themes.emplace(true);
    SkinManager()->SetSkin("Default");
    SkinManager()->BroadcastChanges();
    if (CurrentSkinType() != sknWindows) GTEST_SKIP() << "no visual styles here";
    // A theme change starts a new count.
    TMessage change{WM_THEMECHANGED, 0, 0, 0};
    SkinManager()->WMThemeChanged(change);
    const int before = ThemePartSizeQueries;
    for (int i = 0; i < 50; ++i) CurrentSkin()->GetMenuItemMetrics();
    EXPECT_EQ(ThemePartSizeQueries - before, 1);
    SkinManager()->WMThemeChanged(change);
    CurrentSkin()->GetMenuItemMetrics();
    CurrentSkin()->GetMenuItemMetrics();
    EXPECT_EQ(ThemePartSizeQueries - before, 2);
}

}  // namespace
