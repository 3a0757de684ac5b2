// DoShutdown through replaced services: the privilege texts of the NT
// family, the request that follows in every case, and ExitWindowsEx's flags
// on the 9x family; and the journal that stands in on simulated drives.
#include <gtest/gtest.h>

#include "app/power.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/services/osversion.h"
#include "tests/app/program_fixture.h"
#include "tests/app/watch_support.h"

namespace {

class FixedVersion : public TOSVersionService {
public:
    explicit FixedVersion(DWORD Platform) { info_.Platform = Platform; }
    TOSVersionInfo Version() override { return info_; }

private:
    TOSVersionInfo info_;
};

std::vector<std::string> Shutdown(bool Force, bool Reboot, bool& Taken) {
    std::vector<std::string> texts;
    Taken = DoShutdown(Force, Reboot, [&](const std::string& Text) { texts.push_back(Text); });
    return texts;
}

}  // namespace

TEST(DoShutdown, PrivilegeTextsThenTheRequestInEveryCase) {
    FixedVersion nt(VER_PLATFORM_WIN32_NT);
    TServiceOverride<TOSVersionService> version(nt);
    const struct {
        TPrivilegeResult Privilege;
        bool Accept;
        std::vector<std::string> Texts;
    } cases[] = {
        {prEnabled, true, {"Shutting down!"}},
        {prEnabled, false, {"Cannot go down. "}},
        {prNoToken, true, {"Cannot open process token. ", "Shutting down!"}},
        {prNoPrivilege, false, {"Cannot find privilege value. ", "Cannot go down. "}},
        {prNotAdjusted, true, {"Error adjusting process privileges.", "Shutting down!"}},
    };
    for (const auto& c : cases) {
        RecordingPower power;
        power.privilege = c.Privilege;
        power.accept = c.Accept;
        TServiceOverride<TPowerService> override(power);
        bool taken = false;
        EXPECT_EQ(Shutdown(true, false, taken), c.Texts);
        EXPECT_EQ(taken, c.Accept);
        EXPECT_EQ(power.calls.back(), "initiate machine='' message='' timeout=0 force=1 reboot=0");
    }
}

TEST(DoShutdown, NineXAsksExitWindowsAndShowsNothing) {
    FixedVersion nineX(VER_PLATFORM_WIN32_WINDOWS);
    TServiceOverride<TOSVersionService> version(nineX);
    const struct {
        bool Force, Reboot;
        UINT Flags;
    } cases[] = {{true, false, 5}, {false, true, 2}, {true, true, 6}, {false, false, 1}};
    for (const auto& c : cases) {
        RecordingPower power;
        TServiceOverride<TPowerService> override(power);
        bool taken = false;
        EXPECT_TRUE(Shutdown(c.Force, c.Reboot, taken).empty());
        EXPECT_TRUE(taken);
        EXPECT_EQ(power.calls,
                  (std::vector<std::string>{"exit flags=" + std::to_string(c.Flags) + " reserved=0"}));
    }
}

TEST(PowerJournal, WritesOneLinePerRequestAndTouchesNothing) {
    TScopedFolder folder;
    TPowerJournal journal(ToWide(PowerJournalFileName));
    EXPECT_EQ(journal.EnableShutdownPrivilege(), prEnabled);
    EXPECT_TRUE(journal.InitiateShutdown("", "", 0, true, false));
    EXPECT_TRUE(journal.InitiateShutdown("", "", 0, false, true));
    EXPECT_TRUE(journal.ExitSession(5, 0));
    const std::string text = ReadTextFile(PowerJournalFileName);
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 3u) << text;
    EXPECT_NE(text.find(" shutdown machine=local timeout=0 force=1\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" reboot machine=local timeout=0 force=0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" exit-windows flags=5\r\n"), std::string::npos) << text;
}

TEST(PowerJournal, AFolderOutsideTheCodePageIsWrittenTo) {
    TScopedFolder folder;
    const std::wstring inside = WideCurrentDir() + L"\\\u0434\u0438\u0441\u043a\u0438 \u65e5\u672c";
    ASSERT_TRUE(CreateDirectoryW(inside.c_str(), nullptr));
    TPowerJournal journal(inside + L"\\" + ToWide(PowerJournalFileName));
    EXPECT_TRUE(journal.ExitSession(5, 0));
    EXPECT_TRUE(FileExists(inside + L"\\" + ToWide(PowerJournalFileName)));
}
