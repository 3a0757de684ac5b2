#include <gtest/gtest.h>

#include "app/settings.h"
#include "classlib/core/files.h"
#include "classlib/core/registryredirect.h"
#include "tests/app/stored_settings.h"

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
    EXPECT_EQ(registry->ReadString("Vexmora"), GetCurrentDir() + "\\VexmoraU.exe");
    RunWWS(false);
    EXPECT_FALSE(ReadWWS());
    EXPECT_FALSE(registry->ValueExists("Vexmora"));
}
