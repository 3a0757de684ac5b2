#include <gtest/gtest.h>

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/themes.h"
#include "skin_test_support.h"
#include "skins/skincolors.h"
#include "skins/skinsteps.h"

namespace {

using namespace skin_states;

enum TPart { Body, Borders, Text };

struct Row {
    const char* skin;
    TSbSkinComponentsType component;
    TSbSkinStatesType state;
    TPart part;
    int type;  // -1: not checked
    TColor c1, c2 = clNone, c3 = clNone, c4 = clNone;
    int colours = 1;  // how many colours the row states
};

// The rows each skin is known by.
const Row kRows[] = {
    {"Office 2007 Blue", skncDock, N, Body, 7, 0xF4E6DB, 0xF0DECF, 0xEDD9C9, 0xFFF2E7, 4},
    {"Office 2007 Blue", skncStatusBar, N, Text, -1, clNone},
    {"Office 2007 Black", skncStatusBar, N, Text, -1, 0xFFFFFF},
    {"Office 2007 Black", skncWindowTitleBar, N, Body, 7, 0x524743, 0x463E3B, 0x30302F, 0x454545, 4},
    {"Office 2007 Silver", skncWindow, N, Borders, 0, 0x989898, 0xBABABB, 0xDEDDDE, 0xBABABB, 4},
    {"Office 2007 Blue", skncTab, CH, Body, 7, 0xDBFDFF, 0x95E7FF, 0x4CD7FF, 0x96E7FF, 4},
    {"Office 2007 Blue", skncTrackBarButton, N, Body, 7, 0xA8D6FE, 0x61AFFC, 0x329BFB, 0xACF0FF, 4},
    {"Office 2007 Blue", skncRadioButton, D, Borders, 1, 0xEDD9C9, 0xEDD9C9, clNone, clNone, 4},
    {"Office 2003", skncButton, CH, Body, 1, 0x5DA0FF, 0x8ED3FF, clNone, clNone, 4},
    {"Office 2003", skncDock, N, Body, 0, 0xF5BE9E},
    {"Office 2003", skncEditFrame, D, Borders, 1, clNone, clNone, clBtnShadow, clBtnShadow, 4},
    {"Office XP", skncDock, N, Body, 0, clBtnFace},
    {"Office XP", skncToolbar, N, Borders, 2, clBtnFace, clBtnFace, clNone, clNone, 4},
    {"Office XP", skncMenuBar, N, Borders, 2, clBtnFace, clBtnFace, clNone, clNone, 4},
    {"Office XP", skncToolbarItem, H, Borders, 0, clHighlight, clHighlight, clNone, clNone, 4},
    {"Office XP", skncToolbarItem, U, Body, 0, clBtnFace},
    {"Office XP", skncToolbarItem, U, Borders, -1, clBtnShadow, clBtnShadow, clNone, clNone, 2},
    {"Office XP", skncEditButton, U, Text, -1, clHighlightText},
    {"Office XP", skncPopup, N, Borders, 0, clBtnShadow, clBtnShadow, clNone, clNone, 2},
    {"Athen", skncToolbar, N, Body, 3, 0xF8F8F8, 0xD8D8D8, 0xF0F0F0, 0xF8F8F8, 4},
    {"Athen", skncDockablePanelTitleBar, N, Body, 3, 0xF8F8F8, 0xD8D8D8, 0xF0F0F0, 0xF8F8F8, 4},
    {"Athen", skncToolbarItem, H, Body, 3, 0xFFF8F0, 0xE0B080, 0xF0E870, 0xFFFFB0, 4},
    {"Athen", skncToolbarItem, H, Borders, 1, 0xDAB370, 0xDAB370, clNone, clNone, 2},
    {"Athen", skncDock, N, Body, 0, 0xE0E0E0},
    {"Athen", skncPopup, N, Body, -1, 0xFFFFFF},
    {"Athen", skncPopup, N, Borders, -1, 0xC0C0C0},
    {"Dream", skncToolbar, N, Body, 1, 0xFFFFFF, 0xDDD9D2, clNone, clNone, 2},
    {"Dream", skncToolbar, N, Borders, 2, 0xFFFFFF, 0xB0B0B0, clNone, clNone, 2},
    {"Dream", skncStatusBar, N, Body, 1, 0xDDD9D2, 0xFFFFFF, clNone, clNone, 2},
    {"Dream", skncToolbarItem, H, Body, 1, 0xFFFFFF, 0xE5E2DB, clNone, clNone, 2},
    {"Dream", skncToolbarItem, H, Borders, 1, 0x909090, 0x909090, clNone, clNone, 2},
    {"Dream", skncPopup, N, Body, -1, 0xF9F9F9},
    {"Eos", skncDock, N, Body, 0, 0x809090},
    {"Eos", skncToolbar, N, Body, 0, 0x708080},
    {"Eos", skncStatusBar, N, Body, 0, 0x708080},
    {"Eos", skncPopup, N, Body, 0, 0x708080},
    {"Eos", skncWindowTitleBar, N, Body, 0, 0x5A6666},
    {"Eos", skncWindowTitleBar, N, Text, -1, 0xEEEEEE},
    {"Eos", skncToolbarItem, N, Text, -1, 0xEEEEEE},
    {"Eos", skncToolbarItem, H, Text, -1, 0x68CAE6},
    {"Eos", skncToolbarItem, U, Text, -1, 0x000000},
    {"Eos", skncToolbarItem, C, Text, -1, 0xEEEEEE},
    {"Eos", skncToolbarItem, CH, Text, -1, 0x000000},
    {"Eos", skncToolbarItem, D, Text, -1, 0x99A8AC},
    {"Eos", skncButton, N, Text, -1, 0xEEEEEE},
    {"Eos", skncButton, H, Text, -1, 0x68CAE6},
    {"Eos", skncButton, D, Text, -1, 0x99A8AC},
    {"Leopard", skncDock, N, Body, 1, 0xCFCFCF, 0x999797, clNone, clNone, 2},
    {"Leopard", skncStatusBar, N, Body, 1, 0xC2C5C3, 0x999797, clNone, clNone, 2},
    {"Leopard", skncWindowTitleBar, N, Body, 1, 0xC2C5C3, 0x999797, clNone, clNone, 2},
    {"Leopard", skncMenuItem, H, Body, 0, 0xD87439},
    {"Leopard", skncMenuItem, H, Text, -1, 0xFFFFFF},
    {"Leopard", skncButton, N, Body, 5, -1},
    {"Leopard", skncTab, C, Body, 5, -1},
    {"Leopard", skncHeader, N, Body, 5, -1},
    {"Leopard", skncEditButton, N, Body, 5, -1},
    {"Leopard", skncMenuItem, C, Body, 5, -1},
    {"Leopard", skncToolbarItem, U, Text, -1, 0xFFFFFF},
    {"Leopard", skncToolbarItem, C, Text, -1, 0xFFFFFF},
    {"Leopard", skncMenuBarItem, U, Text, -1, 0xFFFFFF},
    {"Leopard", skncMenuBarItem, C, Text, -1, 0xFFFFFF},
    {"Xito", skncToolbar, N, Body, 5, 0xFFFFFF, 0xF2F2F2, 0xEAEAEA, 0xEFEFEF, 4},
    {"Xito", skncStatusBar, N, Body, 5, 0xFFFFFF, 0xF2F2F2, 0xEAEAEA, 0xEFEFEF, 4},
    {"Xito", skncToolbarItem, H, Body, 0, 0xE0E0E0},
    {"Xito", skncToolbarItem, H, Borders, 2, 0xA0A0A0, 0xA0A0A0, clNone, clNone, 2},
    {"Xito", skncWindowTitleBar, N, Body, 1, 0xC0C0C0, 0xFFFFFF, clNone, clNone, 2},
};

TClass ClassNamed(const std::string& name) {
    for (TClass skinClass : BuiltInSkinClasses()) {
        TOwned<TSbSkinOptions> skin = MakeSkin(skinClass);
        if (skin->SkinName == name) return skinClass;
    }
    return nullptr;
}

TEST(BuiltInSkins, StatedRows) {
    TThemesEnabledOverride noTheme(false);  // Office 2003 takes its blue set
    for (const Row& row : kRows) {
        SCOPED_TRACE(testing::Message() << row.skin << " " << SkinComponentName(row.component) << " "
                                        << SkinStateName(row.state) << " part " << row.part);
        TClass skinClass = ClassNamed(row.skin);
        ASSERT_NE(skinClass, nullptr);
        TOwned<TSbSkinOptions> skin = MakeSkin(skinClass);
        const TSbSkinOptionCategory* category = skin->Options(row.component, row.state);
        if (row.part == Text) {
            EXPECT_EQ(category->TextColor, row.c1);
            continue;
        }
        const TSbSkinOptionEntry* entry = row.part == Body ? category->Body() : category->Borders();
        if (row.type >= 0) {
            EXPECT_EQ(entry->SkinType, row.type);
        }
        if (row.c1 == -1) continue;
        const TColor expected[] = {row.c1, row.c2, row.c3, row.c4};
        for (int i = 0; i < row.colours; ++i)
            EXPECT_EQ(entry->Color(i + 1), expected[i]) << "colour " << i + 1;
    }
}

TEST(BuiltInSkins, NamesAndFlags) {
    struct Expect {
        TClass skinClass;
        const char* name;
        bool officeStatusBar, officeIcons;
    } expects[] = {
        {TSbOffice2007BlueSkin::ClassInfo(), "Office 2007 Blue", false, false},
        {TSbOffice2003Skin::ClassInfo(), "Office 2003", false, true},
        {TSbOfficeXPSkin::ClassInfo(), "Office XP", true, true},
        {TSbLeopardSkin::ClassInfo(), "Leopard", false, false},
    };
    for (const Expect& e : expects) {
        TOwned<TSbSkinOptions> skin = MakeSkin(e.skinClass);
        EXPECT_EQ(skin->SkinName, e.name);
        EXPECT_EQ(skin->OfficeStatusBar, e.officeStatusBar) << e.name;
        EXPECT_EQ(skin->OfficeIcons, e.officeIcons) << e.name;
    }
}

TEST(BuiltInSkins, OfficeXPMixesTheSystemColours) {
    TOwned<TSbSkinOptions> skin = MakeSkin(TSbOfficeXPSkin::ClassInfo());
    EXPECT_EQ(skin->Options(skncDockablePanel)->Body()->Color1, BlendColors(clBtnFace, clWindow, 143));
    EXPECT_EQ(skin->Options(skncToolbar)->Body()->Color1, BlendColors(clWindow, clBtnFace, 165));
    EXPECT_EQ(skin->Options(skncToolbarItem, sknsHotTrack)->Body()->Color1,
              LightenColor(BlendColors(clHighlight, clWindow, 30), -15));
    EXPECT_EQ(skin->Options(skncToolbarItem, sknsChecked)->Body()->Color1,
              BlendColors(clHighlight, BlendColors(clBtnFace, clWindow, 50), 10));
}

TEST(BuiltInSkins, Office2003ColourSetFollowsTheLunaScheme) {
    EXPECT_EQ(TSbOffice2003Skin::ColorSet(0)[0], 0xF5BE9E);
    EXPECT_EQ(TSbOffice2003Skin::ColorSet(1)[0], 0xE5D7D7);
    EXPECT_EQ(TSbOffice2003Skin::ColorSet(2)[0], 0xA7D9D9);
    EXPECT_EQ(TSbOffice2003Skin::ColorSet(3)[0], 0xF5BE9E);
    EXPECT_EQ(TSbOffice2003Skin::ColorSet(0)[20], 0x5DA0FF);
}

TEST(BuiltInSkins, LeopardDrawsTwoLinesOverTheTabBackground) {
    TOwned<TSbSkinOptions> skin = MakeSkin(TSbLeopardSkin::ClassInfo());
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(20, 10);
    skin->PaintBackground(bitmap->Canvas(), {0, 0, 20, 10}, skncTabBackground, sknsNormal, true, true, false);
    EXPECT_EQ(bitmap->PixelColor(5, 0), 0xDB9D79);
    EXPECT_EQ(bitmap->PixelColor(5, 1), 0xFAEEAF);
    EXPECT_NE(bitmap->PixelColor(5, 5), 0xFAEEAF);
}

TEST(BuiltInSkins, RegisteredOnceInTheirOrder) {
    TSbSkinsList* list = SkinManager()->SkinsList();
    RegisterBuiltInSkins();
    RegisterBuiltInSkins();
    const char* names[] = {"Athen",
                           "Dream",
                           "Eos",
                           "Leopard",
                           "Xito",
                           "Office XP",
                           "Office 2003",
                           "Office 2007 Blue",
                           "Office 2007 Black",
                           "Office 2007 Silver"};
    ASSERT_EQ(list->Count(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(list->Strings(i), names[i]);
    SkinManager()->SetSkin("office 2007 blue");
    EXPECT_EQ(CurrentSkin()->SkinName, "Office 2007 Blue");
    EXPECT_EQ(CurrentSkinType(), sknSkin);
    SkinManager()->SetSkin("Default");
}

}  // namespace
