#include <gtest/gtest.h>

#include "app/drive_tables.h"
#include "app/settings.h"
#include "classlib/core/files.h"
#include "classlib/core/registryredirect.h"
#include "classlib/stdctrls/spinedit.h"
#include "classlib/windows/timer.h"
#include "notify/texttrayicon.h"
#include "tests/app/program_fixture.h"
#include "tests/app/stored_settings.h"
#include "tests/app/watch_support.h"

TEST(Settings, MissingValuesAndValuesOfAnotherTypeReadAsTheirDefaults) {
    TRegistryRedirect privateRoot;
    EXPECT_EQ(ReadTrayColor("ST3500418AS"), 65535);
    EXPECT_EQ(ReadRun(), 0);
    WriteSettingString("AutoRun", "1");
    WriteSettingString("ST3500418AS", "255");
    WriteSettingInteger("ToMail", 7);
    EXPECT_EQ(ReadRun(), 0);
    EXPECT_EQ(ReadTrayColor("ST3500418AS"), 65535);
    EXPECT_EQ(ReadStringOr(OpenSettings().get(), "ToMail", "none"), "none");

    WriteSettingInteger("AutoRun", 1);
    WriteSettingInteger("ST3500418AS", 255);
    EXPECT_EQ(ReadRun(), 1);
    EXPECT_EQ(ReadTrayColor("ST3500418AS"), 255);
    auto drive = OpenDriveSettings("ST3500418AS", true);
    ASSERT_TRUE(drive);
    EXPECT_EQ(drive->CurrentPath(), "SOFTWARE\\Larpok corporation\\Vexmora\\Mon\\ST3500418AS");
}

TEST(Settings, RunAtLogonValueIsWrittenDeletedAndItsKeyNeverCreated) {
    TRegistryRedirect privateRoot;
    RunWWS(true);
    EXPECT_FALSE(ReadWWS());
    auto registry = MakeOwned<TRegistry>();
    EXPECT_FALSE(registry->KeyExists(RunKey));

    ASSERT_TRUE(registry->OpenKey(RunKey, true));
    RunWWS(true);
    EXPECT_TRUE(ReadWWS());
    // The program's own file, quoted, wherever the current folder is.
    wchar_t stored[1024] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(
        RegGetValueW(registry->CurrentKey(), nullptr, L"Vexmora", RRF_RT_REG_SZ, nullptr, stored, &size),
        ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), L"\"" + WideParamStr(0) + L"\"");
    RunWWS(false);
    EXPECT_FALSE(ReadWWS());
    EXPECT_FALSE(registry->ValueExists("Vexmora"));
}

namespace {

const DWORD TwoWords[2] = {300000, 1};

}  // namespace

TEST(Settings, IntegersThatCannotBeReadAsOneReadAsTheirDefaultsAndStayAsStored) {
    TRegistryRedirect privateRoot;
    auto settings = OpenSettings();
    ASSERT_TRUE(settings);
    const struct {
        const char* Name;
        DWORD Type;
        DWORD Size;
    } cases[] = {
        {"EightByteDword", REG_DWORD, 8},  // would read as "Failed to get data"
        {"TwoByteDword", REG_DWORD, 2},    // would read as part of a number
        {"EmptyDword", REG_DWORD, 0},     {"Quad", REG_QWORD, 8}, {"Binary", REG_BINARY, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PutRaw(settings.get(), c.Name, c.Type, TwoWords, c.Size);
        EXPECT_EQ(ReadStoredInteger(settings.get(), c.Name), std::nullopt);
        EXPECT_EQ(ReadIntegerOr(settings.get(), c.Name, 42), 42);
        EXPECT_TRUE(ReadBoolOr(settings.get(), c.Name, true));
        EXPECT_EQ(settings->GetDataSize(c.Name), static_cast<int>(c.Size));
    }
    PutRaw(settings.get(), "Right", REG_DWORD, TwoWords, 4);
    EXPECT_EQ(ReadStoredInteger(settings.get(), "Right"), 300000);
    EXPECT_EQ(ReadStoredInteger(nullptr, "Right"), std::nullopt);
}

// An 8-byte REG_DWORD, which once stopped the program with "Failed to get
// data", in every integer the start reads: it starts with the defaults and
// leaves the values as they are.
TEST_F(ProgramTest, MalformedStoredIntegersStartTheProgramWithTheirDefaults) {
    const char* const model = "ST3500418AS";
    {
        auto settings = OpenSettings();
        for (const char* name : {"RTimer", "Log", "MessageWhenStart", model})
            PutRaw(settings.get(), name, REG_DWORD, TwoWords, 8);
        auto drive = OpenDriveSettings(model, true);
        for (const char* name : {"Temperature", "CreateReg"})
            PutRaw(drive.get(), name, REG_DWORD, TwoWords, 8);
    }
    StartWithExampleDrives();
    EXPECT_TRUE(exceptions.empty()) << exceptions.front();
    EXPECT_TRUE(boxes.Asked().empty());
    EXPECT_FALSE(MainForm->tmr2->Enabled());
    EXPECT_EQ(TempThresholds[0], 0);
    ASSERT_NE(MainForm->TrayIcons[0], nullptr);
    EXPECT_EQ(MainForm->TrayIcons[0]->Color(), DefaultTrayColor);
    EXPECT_EQ(ReadTextFile("Vexmora.log"), "") << "\"Log\" reads as off";

    // The Preference page shows the defaults too, and nothing is written
    // back before the user saves.
    MainForm->MainGroupItems3Click(nullptr);
    EXPECT_EQ(MainForm->seTime->Value(), 0);
    for (const char* name : {"RTimer", "Log", "MessageWhenStart", model})
        EXPECT_EQ(OpenSettings()->GetDataSize(name), 8) << name;
    EXPECT_EQ(OpenDriveSettings(model, false)->GetDataSize("Temperature"), 8);
}

// Only a missing "CreateReg" or a readable 0 writes the default actions
// (where none is stored); one that is there but cannot be read was written
// before, and the actions beside it, or their absence, are the user's.
TEST_F(ProgramTest, DefaultActionsGoOnlyWhereCreateRegIsMissingOrZero) {
    const char* const attribute = "Reallocated Sector Count";
    const DWORD zero = 0;
    const char text[] = "0";
    const struct {
        const char* Name;
        DWORD Type;
        const void* Data;
        DWORD Size;
        bool Defaults;
    } cases[] = {
        {"missing", REG_NONE, nullptr, 0, true},    {"zero", REG_DWORD, &zero, 4, true},
        {"one", REG_DWORD, TwoWords + 1, 4, false}, {"eight bytes", REG_DWORD, TwoWords, 8, false},
        {"text", REG_SZ, text, sizeof text, false}, {"binary", REG_BINARY, TwoWords, 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        {
            auto drive = OpenDriveSettings("ALPHA", true);
            drive->DeleteValue(attribute);
            if (c.Data)
                PutRaw(drive.get(), "CreateReg", c.Type, c.Data, c.Size);
            else
                drive->DeleteValue("CreateReg");
        }
        Start(DriveSection(0, "ALPHA", 30, {FailingAttribute(5)}));
        EXPECT_EQ(StoredAction("ALPHA", attribute), c.Defaults ? "Show message" : "");
        EXPECT_EQ(ReadStoredInteger(OpenDriveSettings("ALPHA", false).get(), "CreateReg"), 1);
    }
}
