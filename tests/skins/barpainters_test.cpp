#include <gtest/gtest.h>

#include <optional>

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/themes.h"
#include "skin_test_support.h"
#include "skins/barpainters.h"
#include "toolbar/barsystem.h"

namespace {

constexpr TColor kGuard = 0x123456;

// Every part in a colour of its own.
class TPainterSkin : public TSbSkinOptions {
    VX_CLASS(TPainterSkin, TSbSkinOptions)
protected:
    void FillOptions() override {
        SkinName = "Painter test";
        Options(skncMenuItem, sknsHotTrack)->Body()->Fill(0, 0x0000F0, clNone, clNone, clNone);
        Options(skncMenuBarItem, sknsHotTrack)->Body()->Fill(0, 0x00F000, clNone, clNone, clNone);
        Options(skncToolbarItem, sknsHotTrack)->Body()->Fill(0, 0xF00000, clNone, clNone, clNone);
        Options(skncToolbarItem, sknsHotTrack)->Borders()->Fill(2, 0x000001, 0x000001, clNone, clNone);
        Options(skncToolbarItem, sknsHotTrack)->TextColor = 0x0000A0;
        Options(skncOpenToolbarItem)->Body()->Fill(0, 0x00F0F0, clNone, clNone, clNone);
        Options(skncSeparator)->Body()->Fill(0, 0x101010, 0xE0E0E0, clNone, clNone);
        Options(skncPopup)->Body()->Fill(0, 0xFFFFFF, clNone, clNone, clNone);
        Options(skncPopup)->Borders()->Fill(0, 0x808080, 0x808080, clNone, clNone);
        Options(skncGutter)->Body()->Fill(0, 0xF0F000, clNone, clNone, clNone);
        Options(skncStatusBar)->Body()->Fill(0, 0xC0C0C0, clNone, clNone, clNone);
        Options(skncStatusBarGrip)->Body()->Fill(0, 0x202020, 0xFEFEFE, clNone, clNone);
        Options(skncToolbarGrip)->Body()->Fill(0, 0x303030, 0xFDFDFD, clNone, clNone);
        Options(skncDock)->Body()->Fill(0, 0xA0A0A0, clNone, clNone, clNone);
        Options(skncWindowTitleBar)->Body()->Fill(0, 0x400040, clNone, clNone, clNone);
        Options(skncWindow)->Borders()->Fill(0, 0x010101, 0x020202, 0x030303, 0x040404);
    }
};

TColor Rgb(TColor colour) {
    return static_cast<TColor>(ColorToRGB(colour));
}

struct TPainterFixture : ::testing::Test {
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    std::optional<TThemesEnabledOverride> themes;
    TRect target{4, 4, 44, 28};

    void SetUp() override {
        SkinManager()->SkinsList()->AddSkin("Painter test", TPainterSkin::ClassInfo());
        bitmap->SetSize(48, 32);
        Clear();
    }
    void TearDown() override {
        themes.reset();
        SkinManager()->SetSkin("Default");
    }
    void Use(TSbSkinType type) {
        themes.reset();
        themes.emplace(type == sknWindows);
        SkinManager()->SetSkin(type == sknSkin ? "Painter test" : "Default");
        ASSERT_EQ(CurrentSkinType(), type);
    }
    void Clear() {
        bitmap->Canvas()->Brush()->SetColor(kGuard);
        bitmap->Canvas()->FillRect({0, 0, 48, 32});
    }
    TCanvas* Canvas() { return bitmap->Canvas(); }
    TColor At(int x, int y) { return bitmap->PixelColor(target.Left + x, target.Top + y); }
    int Outside() {
        int count = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x)
                if ((x < target.Left || x >= target.Right || y < target.Top || y >= target.Bottom) &&
                    bitmap->PixelColor(x, y) != kGuard)
                    ++count;
        return count;
    }
    int Drawn() {
        int count = 0;
        for (int y = target.Top; y < target.Bottom; ++y)
            for (int x = target.Left; x < target.Right; ++x) count += bitmap->PixelColor(x, y) != kGuard;
        return count;
    }
};

TEST_F(TPainterFixture, SkinnedItemsPaintTheirComponent) {
    Use(sknSkin);
    struct Case {
        bool inMenu, onMenuBar, submenuOpen;
        TColor expected;
    } cases[] = {
        {true, false, false, 0x0000F0},
        {false, true, false, 0x00F000},
        {false, false, false, 0xF00000},
        {false, false, true, 0x00F0F0},  // an open submenu's own look
    };
    for (const Case& c : cases) {
        Clear();
        TSbItemPaintInfo item;
        item.State = sknsHotTrack;
        item.InMenu = c.inMenu;
        item.OnMenuBar = c.onMenuBar;
        item.SubmenuOpen = c.submenuOpen;
        PaintItemBackground(Canvas(), target, item);
        EXPECT_EQ(At(20, 12), c.expected);
        EXPECT_EQ(Outside(), 0);
    }
}

TEST_F(TPainterFixture, SplitButtonHalvesMeetSquare) {
    Use(sknSkin);
    TSbItemPaintInfo item;
    item.State = sknsHotTrack;
    item.SplitButton = true;
    PaintItemBackground(Canvas(), target, item);
    const int split = 40 - 12;
    EXPECT_EQ(At(0, 0), kGuard);  // outer corners cut
    EXPECT_EQ(At(39, 0), kGuard);
    EXPECT_EQ(At(split - 1, 0), 0x000001);  // inner corners square
    EXPECT_EQ(At(split, 0), 0x000001);
    EXPECT_EQ(At(split - 1, 23), 0x000001);
    EXPECT_EQ(Outside(), 0);
}

TEST_F(TPainterFixture, ClassicItems) {
    Use(sknNone);
    TSbItemPaintInfo menu;
    menu.State = sknsHotTrack;
    menu.InMenu = true;
    PaintItemBackground(Canvas(), target, menu);
    EXPECT_EQ(At(20, 12), Rgb(clHighlight));

    Clear();
    TSbItemPaintInfo hot;
    hot.State = sknsHotTrack;
    PaintItemBackground(Canvas(), target, hot);
    EXPECT_EQ(At(0, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(At(39, 23), Rgb(clBtnShadow));
    EXPECT_EQ(At(20, 12), kGuard);

    Clear();
    TSbItemPaintInfo pushed;
    pushed.State = sknsChecked;
    PaintItemBackground(Canvas(), target, pushed);
    EXPECT_EQ(At(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(At(39, 23), Rgb(clBtnHighlight));
    EXPECT_EQ(Outside(), 0);
}

TEST_F(TPainterFixture, VisualStylesStayInsideOrFallBack) {
    Use(sknWindows);
    TSbItemPaintInfo item;
    item.State = sknsPushed;
    PaintItemBackground(Canvas(), target, item);
    EXPECT_GT(Drawn(), 0);
    PaintStatusBar(Canvas(), target, true);
    PaintToolbarNC(Canvas(), {4, 4, 10, 28}, {30, 6, 42, 18}, false, sknsHotTrack);
    EXPECT_EQ(Outside(), 0);
}

TEST_F(TPainterFixture, Separators) {
    Use(sknSkin);
    PaintSeparator(Canvas(), target, true);
    EXPECT_EQ(At(19, 5), 0x101010);
    EXPECT_EQ(At(20, 5), 0xE0E0E0);
    EXPECT_EQ(At(10, 5), kGuard);
    Clear();
    PaintSeparator(Canvas(), target, false);
    EXPECT_EQ(At(5, 11), 0x101010);
    EXPECT_EQ(At(5, 12), 0xE0E0E0);
    Use(sknNone);
    Clear();
    PaintSeparator(Canvas(), target, true);
    EXPECT_EQ(At(19, 5), Rgb(clBtnShadow));
    EXPECT_EQ(At(20, 5), Rgb(clBtnHighlight));
    EXPECT_EQ(Outside(), 0);
}

TEST_F(TPainterFixture, Popups) {
    Use(sknSkin);
    PaintPopupBackground(Canvas(), target, 10);
    EXPECT_EQ(At(0, 5), 0x808080);
    EXPECT_EQ(At(1, 5), 0xF0F000);
    EXPECT_EQ(At(10, 5), 0xF0F000);
    EXPECT_EQ(At(11, 5), 0xFFFFFF);
    Use(sknNone);
    Clear();
    PaintPopupBackground(Canvas(), target, 10);
    if (AreFlatMenusEnabled()) {
        EXPECT_EQ(At(0, 5), Rgb(clBtnShadow));
        EXPECT_EQ(At(20, 12), Rgb(clMenu));
    } else {
        EXPECT_EQ(At(20, 12), Rgb(clBtnFace));
        EXPECT_EQ(At(39, 23), Rgb(cl3DDkShadow));
    }
    EXPECT_EQ(Outside(), 0);
}

TEST_F(TPainterFixture, StatusBars) {
    Use(sknNone);
    PaintStatusBar(Canvas(), target, false);
    EXPECT_EQ(At(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(At(39, 23), Rgb(clWindow));
    EXPECT_EQ(At(20, 12), Rgb(clBtnFace));
    Use(sknSkin);
    Clear();
    PaintStatusBar(Canvas(), target, true);
    EXPECT_EQ(At(5, 5), 0xC0C0C0);
    const TRect grip = StatusBarGripRect(target);
    int dark = 0, light = 0;
    for (int y = grip.Top; y < grip.Bottom; ++y)
        for (int x = grip.Left; x < grip.Right; ++x) {
            dark += bitmap->PixelColor(x, y) == 0x202020;
            light += bitmap->PixelColor(x, y) == 0xFEFEFE;
        }
    EXPECT_GT(dark, 0);
    EXPECT_GT(light, 0);
    EXPECT_EQ(Outside(), 0);
}

TEST_F(TPainterFixture, DockedToolbarGripAndClose) {
    Use(sknSkin);
    const TRect close(30, 8, 42, 20);
    PaintToolbarNC(Canvas(), {4, 4, 12, 28}, close, false, sknsHotTrack);
    EXPECT_EQ(bitmap->PixelColor(4, 4), 0x303030);
    EXPECT_EQ(bitmap->PixelColor(6, 6), 0xFDFDFD);
    // The close cross's first row starts two pixels in, in the item's text colour.
    EXPECT_EQ(bitmap->PixelColor(30 + 2, 8 + 2), 0x0000A0);
    EXPECT_EQ(bitmap->PixelColor(30 + 2, 8 + 2 + 7), 0xF00000);  // the empty last row
    EXPECT_EQ(Outside(), 0);
}

TEST_F(TPainterFixture, CaptionsFramesAndDocks) {
    Use(sknSkin);
    PaintWindowCaption(Canvas(), target, true);
    EXPECT_EQ(At(20, 12), 0x400040);
    Clear();
    PaintWindowFrame(Canvas(), target, 3, true);
    EXPECT_EQ(At(0, 10), 0x010101);
    EXPECT_EQ(At(2, 10), 0x030303);
    EXPECT_EQ(At(3, 10), kGuard);
    Clear();
    PaintDockBackground(nullptr, Canvas(), target, skncDock, false, false);
    EXPECT_EQ(At(20, 12), 0xA0A0A0);
    Use(sknNone);
    Clear();
    PaintDockBackground(nullptr, Canvas(), target, skncToolbar, true, false);
    EXPECT_EQ(At(20, 12), Rgb(clBtnFace));
    EXPECT_EQ(At(0, 0), Rgb(clBtnHighlight));
    Clear();
    PaintWindowCaption(Canvas(), target, true);
    EXPECT_EQ(At(0, 12), Rgb(clActiveCaption));
    EXPECT_EQ(Outside(), 0);
}

}  // namespace
