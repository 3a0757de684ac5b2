#include <gtest/gtest.h>

#include "classlib/core/inifiles.h"
#include "skin_test_support.h"

namespace {

TEST(SkinText, EveryBuiltInSkinLoadsBackAsItself) {
    for (TClass skinClass : BuiltInSkinClasses()) {
        SCOPED_TRACE(skinClass->Name);
        TOwned<TSbSkinOptions> skin = MakeSkin(skinClass);
        TOwned<TStringList> text = Lines(SkinText(skin.get()));
        TOwned<TSbSkinOptions> loaded = MakeOwned<TSbSkinOptions>();
        loaded->LoadFromStrings(text.get());
        EXPECT_TRUE(loaded->SameAs(*skin));
        // Saving again gives the same text: nothing drifts.
        EXPECT_EQ(SkinText(loaded.get()), text->Text());
    }
}

TEST(SkinText, ResetSkinWritesOnlyTheSkinSection) {
    TOwned<TSbSkinOptions> skin = MakeOwned<TSbSkinOptions>();
    skin->Reset();
    EXPECT_EQ(SkinText(skin.get()),
              "[Skin]\r\nName=Default\r\nOfficeStatusBar=0\r\nOfficeIcons=0\r\nColorBtnFace=clBtnFace\r\n");
}

TEST(SkinText, CategoryKeysAndEntryLines) {
    TOwned<TSbSkinOptions> skin = MakeOwned<TSbSkinOptions>();
    skin->SkinName = "Mine";
    skin->ColorBtnFace = 0x123456;
    skin->Options(skncMenuItem, sknsHotTrack)->Body()->Fill(1, clWhite, clBtnFace, clNone, clNone);
    skin->Options(skncToolbar)->TextColor = 0xABCDEF;
    EXPECT_EQ(SkinText(skin.get()),
              "[Skin]\r\nName=Mine\r\nOfficeStatusBar=0\r\nOfficeIcons=0\r\nColorBtnFace=$00123456\r\n\r\n"
              "[Toolbar]\r\nNormal.Body=0, clNone, clNone, clNone, clNone\r\n"
              "Normal.Borders=0, clNone, clNone, clNone, clNone\r\nNormal.TextColor=$00abcdef\r\n\r\n"
              "[MenuItem]\r\nHotTrack.Body=1, clWhite, clBtnFace, clNone, clNone\r\n"
              "HotTrack.Borders=0, clNone, clNone, clNone, clNone\r\nHotTrack.TextColor=clNone\r\n");
}

TEST(SkinText, EmptyTextLoadsAnEmptyUnnamedSkin) {
    TOwned<TSbSkinOptions> skin = MakeSkin(TSbOffice2007BlueSkin::ClassInfo());
    TOwned<TStringList> empty = Lines();
    skin->LoadFromStrings(empty.get());
    TOwned<TSbSkinOptions> expected = MakeOwned<TSbSkinOptions>();
    expected->SkinName = "";
    EXPECT_TRUE(skin->SameAs(*expected));
}

TEST(SkinText, StateKeysOfSingleLookComponentsAreIgnored) {
    TOwned<TStringList> text = Lines("[Toolbar]\nHotTrack.Body=0, clRed\nNormal.Body=0, clBlue\n");
    TOwned<TSbSkinOptions> skin = MakeOwned<TSbSkinOptions>();
    skin->LoadFromStrings(text.get());
    EXPECT_EQ(skin->Options(skncToolbar, sknsHotTrack)->Body()->Color1, clBlue);
}

struct EntryCase {
    const char* text;
    int type;
    TColor c1, c2, c3, c4;
};

TEST(SkinText, EntryLineReading) {
    const EntryCase cases[] = {
        {"2, clRed", 2, clRed, clNone, clNone, clNone},
        // A type that is no number reads as 0; the colours still count.
        {"x, clRed", 0, clRed, clNone, clNone, clNone},
        // An unknown word stops the reading: every colour stays unset.
        {"5, clNoSuchColour, clRed", 5, clNone, clNone, clNone, clNone},
        // The colours read before the bad one stay.
        {"1, $00FF0000, junk, clRed", 1, 0xFF0000, clNone, clNone, clNone},
        {"7 clWhite clBlack $00010203 16", 7, clWhite, clBlack, 0x010203, 16},
        {"", 0, clNone, clNone, clNone, clNone},
        {"3, clRed, clRed, clRed, clRed, clRed", 3, clRed, clRed, clRed, clRed},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.text);
        TOwned<TSbSkinOptionEntry> entry = MakeOwned<TSbSkinOptionEntry>();
        entry->Fill(9, clAqua, clAqua, clAqua, clAqua);
        entry->FromText(c.text);
        EXPECT_EQ(entry->SkinType, c.type);
        EXPECT_EQ(entry->Color1, c.c1);
        EXPECT_EQ(entry->Color2, c.c2);
        EXPECT_EQ(entry->Color3, c.c3);
        EXPECT_EQ(entry->Color4, c.c4);
    }
}

TEST(SkinText, SavingOverAnOlderSkinKeepsForeignTextAndDropsStaleKeys) {
    TOwned<TSbSkinOptions> older = MakeSkin(TSbOffice2003Skin::ClassInfo());
    TOwned<TStringList> text = Lines("; my skins\n[Notes]\nAuthor=me\n");
    older->SaveToStrings(text.get());
    text->Insert(text->IndexOf("[Toolbar]") + 1, "; keep this comment");
    text->Insert(text->IndexOf("[Toolbar]") + 1, "Mine=1");

    TOwned<TSbSkinOptions> newer = MakeSkin(TSbOffice2007BlueSkin::ClassInfo());
    newer->SaveToStrings(text.get());
    TOwned<TSbSkinOptions> loaded = MakeOwned<TSbSkinOptions>();
    loaded->LoadFromStrings(text.get());
    EXPECT_TRUE(loaded->SameAs(*newer));

    TOwned<TMemIniFile> ini = MakeOwned<TMemIniFile>();
    ini->SetStrings(text.get());
    EXPECT_EQ(ini->ReadString("Notes", "Author", ""), "me");
    EXPECT_EQ(ini->ReadString("Toolbar", "Mine", ""), "1");
    EXPECT_EQ(text->IndexOf("; my skins"), 0);
    EXPECT_GE(text->IndexOf("; keep this comment"), 0);
    // Office 2003 fills the toolbar; Office 2007 leaves it empty.
    EXPECT_FALSE(ini->ValueExists("Toolbar", "Normal.Body"));
}

TEST(SkinText, UnreadableColourRaisesNamingSectionAndKeyAndKeepsTheSkin) {
    const char* texts[] = {
        "[Skin]\nName=Broken\nColorBtnFace=clNoSuchColour\n",
        "[Skin]\nName=Broken\n[MenuItem]\nPushed.Body=1, clRed, clBlue\nPushed.TextColor=12z\n",
    };
    const char* names[] = {"[Skin], key ColorBtnFace", "[MenuItem], key Pushed.TextColor"};
    for (int i = 0; i < 2; ++i) {
        TOwned<TSbSkinOptions> skin = MakeSkin(TSbOffice2007BlackSkin::ClassInfo());
        TOwned<TSbSkinOptions> before = MakeSkin(TSbOffice2007BlackSkin::ClassInfo());
        TOwned<TStringList> text = Lines(texts[i]);
        try {
            skin->LoadFromStrings(text.get());
            ADD_FAILURE() << "no error for " << texts[i];
        } catch (const EConvertError& error) {
            EXPECT_NE(error.Message().find(names[i]), std::string::npos) << error.Message();
        }
        EXPECT_TRUE(skin->SameAs(*before));
    }
}

TEST(SkinText, EmptyColourValuesTakeTheirDefaults) {
    TOwned<TStringList> text = Lines("[Skin]\nName=X\nColorBtnFace=\n[Tab]\nChecked.TextColor=\n");
    TOwned<TSbSkinOptions> skin = MakeOwned<TSbSkinOptions>();
    skin->LoadFromStrings(text.get());
    EXPECT_EQ(skin->ColorBtnFace, clBtnFace);
    EXPECT_EQ(skin->Options(skncTab, sknsChecked)->TextColor, clNone);
}

TEST(SkinText, LoadingKeepsTheSkinClass) {
    TOwned<TSbSkinOptions> skin = MakeSkin(TSbLeopardSkin::ClassInfo());
    TOwned<TStringList> text = Lines(SkinText(MakeSkin(TSbXitoSkin::ClassInfo()).get()));
    skin->LoadFromStrings(text.get());
    EXPECT_EQ(skin->ClassType(), TSbLeopardSkin::ClassInfo());
    EXPECT_EQ(skin->SkinName, "Xito");
}

}  // namespace

namespace {

// What saving gives when every key goes through the INI object one by one.
std::string SavedThroughIni(TSbSkinOptions* skin, const std::string& base) {
    TOwned<TStringList> lines = Lines(base);
    TOwned<TMemIniFile> ini = MakeOwned<TMemIniFile>();
    ini->SetStrings(lines.get());
    for (int c = 0; c < SkinComponentCount; ++c) {
        const auto component = static_cast<TSbSkinComponentsType>(c);
        for (int s = 0; s < (HasPerStateCategories(component) ? SkinStateCount : 1); ++s)
            for (const char* key : {".Body", ".Borders", ".TextColor"})
                ini->DeleteKey(SkinComponentName(component),
                               SkinStateName(static_cast<TSbSkinStatesType>(s)) + std::string(key));
    }
    skin->SaveToIni(ini.get());
    lines->Clear();
    ini->GetStrings(lines.get());
    return lines->Text();
}

TEST(SkinText, SavingGivesWhatTheIniObjectWouldWrite) {
    const std::string older = SkinText(MakeSkin(TSbOffice2003Skin::ClassInfo()).get());
    const std::string bases[] = {"", "; c\n[Notes]\na=1\n", "[skin]\nName=x\n\n\n",
                                 "[TOOLBAR]\n; kept\nx=1\n[Dock]\n", older};
    for (TClass skinClass : BuiltInSkinClasses()) {
        TOwned<TSbSkinOptions> skin = MakeSkin(skinClass);
        for (const std::string& base : bases) {
            SCOPED_TRACE(std::string(skinClass->Name) + " over " + base.substr(0, 40));
            TOwned<TStringList> lines = Lines(base);
            skin->SaveToStrings(lines.get());
            EXPECT_EQ(lines->Text(), SavedThroughIni(skin.get(), base));
        }
    }
}

}  // namespace
