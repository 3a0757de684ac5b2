// The XP colour scheme read from the registry, the theme colours and the
// colour sets in each scheme, gradient style and visual-style state.
#include <gtest/gtest.h>

#include "classlib/core/registryredirect.h"
#include "classlib/windows/themes.h"
#include "controls/sccolors.h"
#include "controls/scscheme.h"

namespace {

class Scheme : public ::testing::Test {
protected:
    void TearDown() override {
        XPColorScheme = savedScheme_;
        IsTrueColor = savedTrueColor_;
    }

private:
    std::uint8_t savedScheme_ = XPColorScheme;
    bool savedTrueColor_ = IsTrueColor;
};

TEST_F(Scheme, ComesFromTheThemeManagersColourName) {
    TRegistryRedirect privateRoot;
    EXPECT_EQ(GetXPColorScheme(), 0) << "no key at all is blue";
    const struct {
        const char* name;
        int scheme;
    } rows[] = {{"NormalColor", 0}, {"HomeStead", 1}, {"METALLIC", 2},
                {"metallic", 2},    {"Royale", 0},    {"", 0}};
    for (const auto& row : rows) {
        auto registry = MakeOwned<TRegistry>();
        ASSERT_TRUE(registry->OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", true));
        registry->WriteString("ColorName", row.name);
        EXPECT_EQ(GetXPColorScheme(), row.scheme) << row.name;
    }
    auto registry = MakeOwned<TRegistry>();
    ASSERT_TRUE(registry->OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", false));
    registry->WriteInteger("ColorName", 1);
    EXPECT_EQ(GetXPColorScheme(), 0) << "a number names no scheme";
}

TEST_F(Scheme, ThemeColoursFallBackToButtonFace) {
    {
        TThemesEnabledOverride noStyles(false);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(GetXPThemeColor(i), clBtnFace) << i;
        EXPECT_EQ(GetXPThemeColor(7), clWhite);
        EXPECT_EQ(GetXPThemeColor(-1), clWhite);
    }
    TThemesEnabledOverride styles(true);
    if (ThemeServices()->Theme(teExplorerBar)) GTEST_SKIP() << "this system has an explorer bar theme";
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(GetXPThemeColor(i), clBtnFace) << "missing element, index " << i;
}

TEST_F(Scheme, OfficeColourSetsFollowTheSchemeTable) {
    TThemesEnabledOverride styles(true);
    const TColor groupBar[3][2] = {{0xE7A27B, 0xD67563}, {0xADD9CC, 0x84BDA5}, {0xD4C8C4, 0xC8B3B1}};
    const TColor item[3][2] = {{0xFFEFE3, 0xEABB99}, {0xEDFFFF, 0x92C7B8}, {0xFFF9F9, 0xD0BCBD}};
    const TColor frame[3][2] = {{0xC65D21, 0xFF8E42}, {0x2D6656, 0x1D9272}, {0x3D3D3F, 0x7C7C7E}};
    const TColor selectionFrame[3] = {0x800000, 0x385D3F, 0x6F4B4B};
    for (int scheme = 0; scheme < 3; ++scheme) {
        XPColorScheme = static_cast<std::uint8_t>(scheme);
        TColor a, b, c;
        GetGroupBarGradientColors(gcsMSOffice, a, b);
        EXPECT_EQ(a, groupBar[scheme][0]);
        EXPECT_EQ(b, groupBar[scheme][1]);
        GetItemGradientColors(gcsMSOffice, a, b);
        EXPECT_EQ(a, item[scheme][0]);
        EXPECT_EQ(b, item[scheme][1]);
        GetGroupFrameColors(gcsMSOffice, a, b);
        EXPECT_EQ(a, frame[scheme][0]);
        EXPECT_EQ(b, frame[scheme][1]);
        GetSelectionColors(gcsMSOffice, a, b, c);
        EXPECT_EQ(a, selectionFrame[scheme]);
        EXPECT_EQ(b, 0xC2EEFF);
        EXPECT_EQ(c, 0xA0D9FF);
    }
    XPColorScheme = 9;  // unknown schemes read as blue
    TColor a, b;
    GetGroupBarGradientColors(gcsMSOffice, a, b);
    EXPECT_EQ(a, 0xE7A27B);
}

TEST_F(Scheme, WithoutVisualStylesOfficeFallsBackToSystemColours) {
    TThemesEnabledOverride noStyles(false);
    XPColorScheme = 1;
    TColor a, b, c;
    GetGroupBarGradientColors(gcsMSOffice, a, b);
    EXPECT_EQ(a, BlendColors(clBlack, clBtnFace, 40));
    EXPECT_EQ(b, BlendColors(clBlack, clBtnFace, 80));
    GetItemGradientColors(gcsSystem, a, b);
    EXPECT_EQ(a, clWindow);
    EXPECT_EQ(b, DarkerColor(clBtnFace, 10));
    GetSelectionColors(gcsMSOffice, a, b, c);
    const TColor blend = BlendColors(clHighlight, clWindow, 77);
    EXPECT_EQ(a, clHighlight);
    EXPECT_EQ(b, LighterColor(blend, 20));
    EXPECT_EQ(c, blend);
    GetGroupFrameColors(gcsSystem, a, b);
    EXPECT_EQ(a, DarkerColor(clHighlight, 30));
    EXPECT_EQ(b, clHighlight);
    XPColorScheme = 2;
    GetGroupFrameColors(gcsSystem, a, b);
    EXPECT_EQ(a, 0x3D3D3F) << "silver keeps its greys without styles";
    EXPECT_EQ(b, 0x7C7C7E);
}

TEST_F(Scheme, WithoutTrueColourBothSelectionFillsAreTheSame) {
    IsTrueColor = false;
    for (bool styles : {false, true}) {
        TThemesEnabledOverride scope(styles);
        TColor frame, fill1, fill2;
        GetSelectionColors(gcsMSOffice, frame, fill1, fill2);
        EXPECT_EQ(fill1, fill2);
    }
}

TEST_F(Scheme, ItemColoursRepeatTheGradientAndAddTheTextColours) {
    TThemesEnabledOverride styles(true);
    XPColorScheme = 1;
    TColor start, stop, hotStart, hotStop, hotText, text;
    GetItemColors(gcsMSOffice, start, stop, hotStart, hotStop, hotText, text);
    EXPECT_EQ(start, 0xEDFFFF);
    EXPECT_EQ(stop, 0x92C7B8);
    EXPECT_EQ(hotStart, stop);
    EXPECT_EQ(hotStop, start);
    EXPECT_EQ(hotText, 0x1D9272);
    EXPECT_EQ(text, 0x1C674B);
    XPColorScheme = 2;
    GetItemColors(gcsCustom, start, stop, hotStart, hotStop, hotText, text);
    EXPECT_EQ(hotText, 0x555556);
    EXPECT_EQ(text, clBlack);
    XPColorScheme = 0;
    GetItemColors(gcsSystem, start, stop, hotStart, hotStop, hotText, text);
    EXPECT_EQ(hotText, clHighlight);
    EXPECT_EQ(text, DarkerColor(clHighlight, 30));
}

TEST_F(Scheme, CaptionColoursPickTheirRowOrTheSystemColours) {
    {
        TThemesEnabledOverride styles(true);
        XPColorScheme = 1;
        const TScCaptionColors olive = GetCaptionColors(gcsMSOffice, true);
        EXPECT_EQ(olive.Caption, 0x70A093);
        EXPECT_EQ(olive.CaptionStart, 0x4E9682);
    }
    TThemesEnabledOverride noStyles(false);
    XPColorScheme = 2;
    const TScCaptionColors plain = GetCaptionColors(gcsMSOffice, false);
    EXPECT_EQ(plain.Caption, clBtnFace);
    EXPECT_EQ(plain.HotText, 0x555556) << "silver keeps its greys";
    EXPECT_EQ(plain.Text, clBlack);
    EXPECT_EQ(GetCaptionColors(gcsSystem, true).CaptionStop, DarkerColor(clHighlight, 20));
}

}  // namespace
