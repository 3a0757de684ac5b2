// INI files: order, case, replace in place, kept comments, typed values,
// TMemIniFile's file round trip and TIniFile's save-on-write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/files.h"
#include "classlib/core/inifiles.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

std::vector<std::string> Lines(TStrings* strings) {
    std::vector<std::string> lines;
    for (int i = 0; i < strings->Count(); ++i) lines.push_back(strings->Strings(i));
    return lines;
}

class MemIni : public testing::Test {
protected:
    void Load(const std::string& text) {
        list->SetText(text);
        ini->SetStrings(list.get());
    }
    std::string Text() {
        list->Clear();
        ini->GetStrings(list.get());
        return list->Text();
    }

    TOwned<TMemIniFile> ini{Create<TMemIniFile>()};
    TOwned<TStringList> list{Create<TStringList>()};
};

class IniOnDisk : public testing::Test {
protected:
    void TearDown() override { DeleteFile(name); }
    void WriteText(const std::string& text) {
        TOwned<TStringList> lines(Create<TStringList>());
        lines->SetText(text);
        lines->SaveToFile(name);
    }
    std::string ReadText() {
        TOwned<TStringList> lines(Create<TStringList>());
        lines->LoadFromFile(name);
        return lines->Text();
    }

    std::string name = GetTempDir() + "vx_ini_" + IntToStr(GetCurrentProcessId()) + ".ini";
};

}  // namespace

TEST_F(MemIni, SectionsKeepTheOrderOfFirstAppearance) {
    ini->WriteString("Skin", "Name", "Default");
    ini->WriteString("MenuItem", "HotTrack.Body", "1,clWhite");
    ini->WriteString("Toolbar", "Normal.Body", "0");
    ini->WriteString("skin", "OfficeIcons", "1");
    ini->ReadSections(list.get());
    EXPECT_EQ(Lines(list.get()), (std::vector<std::string>{"Skin", "MenuItem", "Toolbar"}));
    EXPECT_EQ(Text(),
              "[Skin]\r\nName=Default\r\nOfficeIcons=1\r\n\r\n"
              "[MenuItem]\r\nHotTrack.Body=1,clWhite\r\n\r\n"
              "[Toolbar]\r\nNormal.Body=0\r\n");
}

TEST_F(MemIni, SectionAndKeyNamesIgnoreCase) {
    Load("[Skin]\nName=Blue\n");
    EXPECT_EQ(ini->ReadString("SKIN", "name", "?"), "Blue");
    EXPECT_TRUE(ini->ValueExists("skin", "NAME"));
    EXPECT_TRUE(ini->SectionExists("sKiN"));
    ini->WriteString("skin", "NAME", "Red");
    EXPECT_EQ(Text(), "[Skin]\r\nName=Red\r\n");
}

TEST_F(MemIni, AWriteReplacesTheValueInPlace) {
    Load("[A]\nfirst=1\nsecond=2\nthird=3\n");
    ini->WriteString("A", "second", "two");
    EXPECT_EQ(Text(), "[A]\r\nfirst=1\r\nsecond=two\r\nthird=3\r\n");
}

TEST_F(MemIni, CommentsAndBlankLinesSurviveAReadModifyWrite) {
    const std::string original =
        "; Vexmora skin\r\n"
        "\r\n"
        "[Skin]\r\n"
        "; the name shown in the menu\r\n"
        "Name=Blue\r\n"
        "\r\n"
        "  # not a key either\r\n"
        "Colour=1\r\n"
        "\r\n"
        "; section of the menus\r\n"
        "[MenuItem]\r\n"
        "Normal.Body=0\r\n";
    Load(original);
    EXPECT_EQ(Text(), original);

    ini->WriteString("Skin", "Name", "Red");
    ini->WriteString("Skin", "OfficeIcons", "1");
    ini->WriteString("MenuItem", "HotTrack.Body", "1");
    ini->WriteString("Toolbar", "Normal.Body", "2");
    EXPECT_EQ(Text(),
              "; Vexmora skin\r\n"
              "\r\n"
              "[Skin]\r\n"
              "; the name shown in the menu\r\n"
              "Name=Red\r\n"
              "\r\n"
              "  # not a key either\r\n"
              "Colour=1\r\n"
              "OfficeIcons=1\r\n"
              "\r\n"
              "; section of the menus\r\n"
              "[MenuItem]\r\n"
              "Normal.Body=0\r\n"
              "HotTrack.Body=1\r\n"
              "\r\n"
              "[Toolbar]\r\n"
              "Normal.Body=2\r\n");
    ini->ReadSection("Skin", list.get());
    EXPECT_EQ(Lines(list.get()), (std::vector<std::string>{"Name", "Colour", "OfficeIcons"}));
}

TEST_F(MemIni, BlanksAroundNamesAndValuesAreDroppedAndValuesMayHoldEquals) {
    Load("  [ Mail ]  \n  Server =  smtp.example.com  \nFilter=a=b\nEmpty=\n");
    EXPECT_EQ(ini->ReadString("Mail", "Server", "?"), "smtp.example.com");
    EXPECT_EQ(ini->ReadString("Mail", "Filter", "?"), "a=b");
    EXPECT_EQ(ini->ReadString("Mail", "Empty", "?"), "");
    EXPECT_EQ(ini->ReadString("Mail", "Missing", "?"), "?");
    ini->ReadSectionValues("Mail", list.get());
    EXPECT_EQ(Lines(list.get()),
              (std::vector<std::string>{"Server=smtp.example.com", "Filter=a=b", "Empty="}));
}

TEST_F(MemIni, LinesAboveTheFirstSectionAreKeptButNotRead) {
    Load("Loose=1\n[A]\nx=1\n");
    EXPECT_EQ(ini->ReadString("", "Loose", "none"), "none");
    ini->ReadSections(list.get());
    EXPECT_EQ(Lines(list.get()), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Text(), "Loose=1\r\n[A]\r\nx=1\r\n");
}

TEST_F(MemIni, ARepeatedSectionReadsFromItsFirstAndErasesWhole) {
    Load("[A]\nx=1\n[B]\ny=2\n[a]\nx=9\nz=3\n");
    EXPECT_EQ(ini->ReadString("A", "x", "?"), "1");
    ini->ReadSections(list.get());
    EXPECT_EQ(Lines(list.get()), (std::vector<std::string>{"A", "B"}));
    ini->EraseSection("A");
    EXPECT_FALSE(ini->SectionExists("A"));
    EXPECT_EQ(ini->ReadString("A", "z", "gone"), "gone");
    EXPECT_EQ(Text(), "[B]\r\ny=2\r\n");
}

TEST_F(MemIni, IntegersAndBooleansReadAsTheClassLibraryReadsThem) {
    struct Case {
        const char* stored;
        int asInteger;  // default 42
        bool asBool;    // default true
    };
    const Case cases[] = {
        {"1", 1, true},
        {"0", 0, false},
        {"5", 5, true},
        {"-1", -1, true},
        {"$1F", 31, true},
        {"0x1F", 31, true},
        {"true", 42, true},
        {"", 42, true},
        {" 7 ", 42, true},
        {"0x", 42, true},
        {"99999999999", 42, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        ini->WriteString("S", "K", c.stored);
        EXPECT_EQ(ini->ReadInteger("S", "K", 42), c.asInteger);
        EXPECT_EQ(ini->ReadBool("S", "K", true), c.asBool);
    }
    EXPECT_FALSE(ini->ReadBool("S", "Missing", false));
    ini->WriteBool("S", "On", true);
    ini->WriteBool("S", "Off", false);
    ini->WriteInteger("S", "N", -12);
    EXPECT_EQ(ini->ReadString("S", "On", ""), "1");
    EXPECT_EQ(ini->ReadString("S", "Off", ""), "0");
    EXPECT_EQ(ini->ReadString("S", "N", ""), "-12");
}

TEST_F(MemIni, DeleteKeyAndExistenceTests) {
    Load("[A]\nx=1\ny=2\n[Empty]\n; only a comment\n");
    ini->DeleteKey("a", "X");
    EXPECT_FALSE(ini->ValueExists("A", "x"));
    EXPECT_TRUE(ini->ValueExists("A", "y"));
    ini->DeleteKey("A", "absent");
    ini->DeleteKey("Absent", "y");
    // A section without keys counts as missing, as in the class library.
    EXPECT_FALSE(ini->SectionExists("Empty"));
    EXPECT_FALSE(ini->SectionExists("Absent"));
    EXPECT_EQ(Text(), "[A]\r\ny=2\r\n[Empty]\r\n; only a comment\r\n");
}

TEST_F(MemIni, GetStringsAppendsAndSetStringsReplaces) {
    Load("[A]\nx=1\n");
    list->SetText("keep\n");
    ini->GetStrings(list.get());
    EXPECT_EQ(Lines(list.get()), (std::vector<std::string>{"keep", "[A]", "x=1"}));
    list->SetText("[B]\ny=2\n");
    ini->SetStrings(list.get());
    EXPECT_EQ(ini->ReadString("A", "x", "gone"), "gone");
    EXPECT_EQ(ini->ReadString("B", "y", ""), "2");
    ini->Clear();
    EXPECT_EQ(Text(), "");
}

TEST_F(IniOnDisk, MemIniFileLoadsOnCreateAndWritesOnlyOnUpdateFile) {
    WriteText("; settings\n[Mon]\nRTimer=60000\n");
    TOwned<TMemIniFile> ini(Create<TMemIniFile>(name));
    EXPECT_EQ(ini->ReadInteger("Mon", "RTimer", 0), 60000);
    ini->WriteInteger("Mon", "RTimer", 120000);
    EXPECT_EQ(ReadText(), "; settings\r\n[Mon]\r\nRTimer=60000\r\n");
    ini->UpdateFile();
    EXPECT_EQ(ReadText(), "; settings\r\n[Mon]\r\nRTimer=120000\r\n");

    ini->Rename(name + ".absent", false);
    EXPECT_EQ(ini->ReadInteger("Mon", "RTimer", 0), 120000);
    ini->Rename(name + ".absent", true);
    EXPECT_EQ(ini->ReadInteger("Mon", "RTimer", 0), 0);
    ini->Rename(name, true);
    EXPECT_EQ(ini->ReadInteger("Mon", "RTimer", 0), 120000);
}

TEST_F(IniOnDisk, MemIniFileUpdateFileFailsWithTheFileName) {
    TOwned<TMemIniFile> ini(Create<TMemIniFile>(GetTempDir() + "vx_no_such_folder\\x.ini"));
    ini->WriteString("A", "x", "1");
    try {
        ini->UpdateFile();
        ADD_FAILURE() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find("vx_no_such_folder\\x.ini"), std::string::npos) << e.Message();
    }
}

TEST_F(IniOnDisk, IniFileSavesEveryChangeAndSeesTheFileAsItIs) {
    TOwned<TIniFile> ini(Create<TIniFile>(name));
    EXPECT_EQ(ini->ReadString("Mon", "ToMail", "none"), "none");
    ini->EraseSection("Mon");
    ini->DeleteKey("Mon", "ToMail");
    EXPECT_FALSE(FileExists(name));  // nothing changed, nothing written

    ini->WriteString("Mon", "ToMail", "a@b");
    ini->WriteBool("Mon", "usepassword", true);
    EXPECT_EQ(ReadText(), "[Mon]\r\nToMail=a@b\r\nusepassword=1\r\n");

    WriteText("; edited by hand\n[Mon]\nToMail=c@d\n");
    EXPECT_EQ(ini->ReadString("mon", "tomail", ""), "c@d");
    ini->WriteString("Drive", "Temperature", "50");
    EXPECT_EQ(ReadText(), "; edited by hand\r\n[Mon]\r\nToMail=c@d\r\n\r\n[Drive]\r\nTemperature=50\r\n");

    ini->DeleteKey("Mon", "ToMail");
    ini->EraseSection("Drive");
    EXPECT_EQ(ReadText(), "; edited by hand\r\n[Mon]\r\n\r\n");
    EXPECT_FALSE(ini->SectionExists("Mon"));
}

TEST_F(IniOnDisk, IniFileWriteThatCannotBeSavedRaises) {
    std::string bad = GetTempDir() + "vx_no_such_folder\\x.ini";
    TOwned<TIniFile> ini(Create<TIniFile>(bad));
    try {
        ini->WriteString("A", "x", "1");
        ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + bad);
    }
    EXPECT_NO_THROW(ini->DeleteKey("A", "x"));
    EXPECT_EQ(ini->ReadString("A", "x", "none"), "none");
}
