// The guard of the whole-program tests: the current user's settings, put
// aside for a test and back exactly afterwards, with nothing of the test's
// left; a key that was not there is not there afterwards either.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "tests/app/user_settings_guard.h"

namespace {

bool SettingsKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Larpok corporation", 0, KEY_READ, &key) != 0)
        return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

TEST(UserSettingsGuard, TheSettingsComeBackExactlyAndTheTestsGo) {
    // Whatever this prefix holds waits outside while the guard under test works.
    TUserSettingsGuard outer;
    ASSERT_TRUE(outer.Ready());
    {
        TUserSettingsGuard guard;
        ASSERT_TRUE(guard.Ready());
        EXPECT_FALSE(SettingsKeyExists());
        OpenSettings(true)->WriteInteger("RTimer", 1000);
    }
    EXPECT_FALSE(SettingsKeyExists());

    OpenSettings(true)->WriteInteger("RTimer", 600000);
    OpenDriveSettings("MARKER DISK", true)->WriteString("Temperature Celcius", "Show message");
    {
        TUserSettingsGuard guard;
        ASSERT_TRUE(guard.Ready());
        EXPECT_FALSE(SettingsKeyExists());
        OpenSettings(true)->WriteString("SMTPServer", "127.0.0.1");
        OpenDriveSettings("TEST DISK", true)->WriteInteger("CreateReg", 1);
    }
    auto settings = OpenSettings(false);
    ASSERT_TRUE(settings);
    EXPECT_EQ(ReadIntegerOr(settings.get(), "RTimer", 0), 600000);
    EXPECT_FALSE(settings->ValueExists("SMTPServer"));
    settings.reset();
    EXPECT_EQ(ReadStringOr(OpenDriveSettings("MARKER DISK", false).get(), "Temperature Celcius", ""),
              "Show message");
    EXPECT_FALSE(OpenDriveSettings("TEST DISK", false));
}
