#include <gtest/gtest.h>

#include "app/settings.h"
#include "classlib/core/files.h"
#include "classlib/core/registryredirect.h"

TEST(Settings, MissingValuesReadAsTheirDefaults) {
    TRegistryRedirect privateRoot;
    for (const TSettingInfo& info : SettingsValues) {
        EXPECT_FALSE(SettingExists(info.Name)) << info.Name;
        if (info.Type == TSettingType::String) {
            EXPECT_EQ(ReadSettingString(info.Name), "") << info.Name;
        } else if (info.Type == TSettingType::Integer) {
            EXPECT_EQ(ReadSettingInteger(info.Name), 0) << info.Name;
        }
    }
    EXPECT_FALSE(ReadSettingBool("usepassword"));
    EXPECT_EQ(ReadTrayColor("ST3500418AS"), 65535);
    EXPECT_EQ(ReadAlertAction("ST3500418AS", "Spin Up Time"), "Show message");
    EXPECT_EQ(ReadRun(), 0);
    // Reading a drive's action does not mark the drive as monitored.
    auto registry = OpenSettings();
    ASSERT_TRUE(registry);
    EXPECT_FALSE(registry->KeyExists(DriveKey("ST3500418AS")));
}

TEST(Settings, ValuesRoundTripInTheirTypes) {
    TRegistryRedirect privateRoot;
    WriteSettingInteger("RTimer", 5 * 60000);
    WriteSettingString("SMTPServer", "mail.example.com");
    WriteSettingBool("usepassword", true);
    WriteSettingInteger("AutoRun", 1);
    WriteSettingInteger("ST3500418AS", 255);
    EXPECT_EQ(ReadSettingInteger("RTimer"), 300000);
    EXPECT_EQ(ReadSettingString("SMTPServer"), "mail.example.com");
    EXPECT_TRUE(ReadSettingBool("usepassword"));
    EXPECT_EQ(ReadRun(), 1);
    EXPECT_EQ(ReadTrayColor("ST3500418AS"), 255);

    auto drive = OpenDriveSettings("ST3500418AS", true);
    ASSERT_TRUE(drive);
    drive->WriteString("Spin Up Time", "Send mail");
    drive->WriteInteger("Temperature", 45);
    EXPECT_EQ(ReadAlertAction("ST3500418AS", "Spin Up Time"), "Send mail");
    EXPECT_EQ(ReadIntegerOr(OpenDriveSettings("ST3500418AS", false).get(), "Temperature", 0), 45);
    EXPECT_EQ(drive->CurrentPath(), "SOFTWARE\\Larpok corporation\\Vexmora\\Mon\\ST3500418AS");
    EXPECT_EQ(FindSetting("usepassword")->Type, TSettingType::Boolean);
}

TEST(Settings, ValueOfAnotherTypeReadsAsTheDefault) {
    TRegistryRedirect privateRoot;
    WriteSettingString("RTimer", "60000");
    WriteSettingInteger("ToMail", 7);
    EXPECT_EQ(ReadSettingInteger("RTimer"), 0);
    EXPECT_EQ(ReadSettingString("ToMail"), "");
    EXPECT_TRUE(SettingExists("RTimer"));
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
