// VexmoraU.exe watching simulated drives as a person meets it, with a real
// SMTP server on loopback: one alert for a hot drive (back once closed), one
// mail per crossing of its threshold, one mail per poll for a failing
// attribute, a recorded (never real) shutdown, and a window that keeps
// answering while a mail waits on a server that never replies.
// tests/app/watch_run.py starts the servers and runs these with their ports
// in the environment; without it they are skipped.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "app/password_scrambler.h"
#include "app/power.h"
#include "app/settings.h"
#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "tests/app/program_fixture.h"
#include "tests/app/running_program.h"
#include "tests/app/user_settings_guard.h"
#include "tests/app/watch_support.h"

namespace {

using TClock = std::chrono::steady_clock;

const char* const User = "alice";
const char* const Password = "s3cret-word";

std::string Environment(const char* Name) {
    return GetEnvironmentValue(Name);
}

// The run's servers, named by watch_run.py.
struct TServers {
    int MailPort = StrToIntDef(Environment("VEXMORA_SMTP_PORT"), 0);
    int SilentPort = StrToIntDef(Environment("VEXMORA_SILENT_SMTP_PORT"), 0);
    std::string Spool = Environment("VEXMORA_MAIL_SPOOL");

    bool Present() const { return MailPort > 0 && SilentPort > 0 && !Spool.empty(); }
    // Mails the server took, by the file names it wrote ("1.eml", ...).
    int Mails() const {
        int count = 0;
        while (FileExists(Spool + "\\" + std::to_string(count + 1) + ".eml")) ++count;
        return count;
    }
    std::string Mail(int Number) const {
        return ReadTextFile(Spool + "\\" + std::to_string(Number) + ".eml");
    }
    std::string Logins() const { return ReadTextFile(Spool + "\\logins.txt"); }
    bool SilentConnected() const { return FileExists(Spool + "\\silent-connected"); }
};

void MailSettings(int Port) {
    auto settings = OpenSettings(true);
    settings->WriteString("SMTPServer", "127.0.0.1");
    settings->WriteInteger("Port", Port);
    settings->WriteString("FromMail", "monitor@example.com");
    settings->WriteString("ToMail", "admin@example.com");
    settings->WriteBool("usepassword", true);
    settings->WriteString("Username", User);
    std::string stored;
    ScrambleString(Password, stored);
    settings->WriteString("Password", stored);
}

class ProgramWatch : public ::testing::Test {
protected:
    void SetUp() override {
        if (!servers.Present()) GTEST_SKIP() << "run by tests/app/watch_run.py with its servers";
        settingsGuard.emplace();
        ASSERT_TRUE(settingsGuard->Ready()) << "the current user's settings could not be put aside";
    }

    void WriteDrives(const std::string& Text) {
        // The padding changes the size too, so every rewrite is seen.
        static int rewrite = 0;
        std::ofstream(drives, std::ios::trunc)
            << Text << std::string(static_cast<size_t>(++rewrite % 7), ';') << "\n";
    }

    std::unique_ptr<TRunningProgram> Run(int PollMs) {
        OpenSettings(true)->WriteInteger("RTimer", PollMs);
        auto program = std::make_unique<TRunningProgram>("--drives \"" + folder.Path() + "\\drives.ini\"");
        window = program->WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
        return program;
    }

    // Waits, answering the program's information boxes ("OK", "Shutting
    // down!") as a person would, until Done or the time is up.
    template <class F>
    bool WaitAnswering(const TRunningProgram& Program, F Done, int Milliseconds) {
        const auto end = TClock::now() + std::chrono::milliseconds(Milliseconds);
        while (!Done()) {
            if (TClock::now() > end) return false;
            for (HWND box : Program.Windows(L"#32770")) PostMessageW(box, WM_COMMAND, IDOK, 0);
            Sleep(50);
        }
        return true;
    }

    void Close(TRunningProgram& Program) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        HWND question = Program.WaitForWindow(L"Vexmora", L"#32770");
        ASSERT_NE(question, nullptr);
        PostMessageW(question, WM_COMMAND, IDYES, 0);
        EXPECT_EQ(Program.WaitForExit(), 0u);
    }

    TServers servers;
    TScopedFolder folder;
    std::optional<TUserSettingsGuard> settingsGuard;
    std::string drives = folder.Path() + "\\drives.ini";
    HWND window = nullptr;
};

}  // namespace

TEST_F(ProgramWatch, AHotDriveAfterARestartShowsOneAlertThatComesBackOnceClosed) {
    // Stored by an earlier run; polling stays off.
    SetDriveInteger("HOT DISK", "Temperature", 45);
    SetDriveString("HOT DISK", "Temperature Celcius", "Show message");
    WriteDrives(DriveSection(0, "HOT DISK", 46));
    auto program = Run(0);
    ASSERT_NE(window, nullptr);
    auto alerts = [&] { return program->Windows(L"TZkFormDesktopAlert"); };
    // Watched for Seconds: the most alerts on screen at once.
    auto most = [&](int Seconds) {
        size_t seen = 0;
        for (const auto end = TClock::now() + std::chrono::seconds(Seconds); TClock::now() < end; Sleep(100))
            seen = std::max(seen, alerts().size());
        return seen;
    };
    auto waitForOne = [&](int Seconds) {
        for (const auto end = TClock::now() + std::chrono::seconds(Seconds); TClock::now() < end; Sleep(100))
            if (!alerts().empty()) return true;
        return false;
    };
    ASSERT_TRUE(waitForOne(8));
    // Five more refreshes while the drive stays hot.
    EXPECT_EQ(most(10), 1u);
    ASSERT_EQ(alerts().size(), 1u);

    // Its close button, as a person clicks it.
    HWND alert = alerts()[0];
    RECT client{};
    GetClientRect(alert, &client);
    const LPARAM closeButton = MAKELPARAM(client.right - 10, 17);
    PostMessageW(alert, WM_MOUSEMOVE, 0, closeButton);
    PostMessageW(alert, WM_LBUTTONDOWN, MK_LBUTTON, closeButton);
    PostMessageW(alert, WM_LBUTTONUP, 0, closeButton);
    for (int tries = 0; tries < 60 && IsWindow(alert) && IsWindowVisible(alert); ++tries) Sleep(50);
    ASSERT_FALSE(IsWindow(alert) && IsWindowVisible(alert));
    // The next refresh brings it back, once.
    ASSERT_TRUE(waitForOne(5));
    EXPECT_EQ(most(5), 1u);
    Close(*program);
}

TEST_F(ProgramWatch, AFailingAttributeMailsOncePerPollAndEveryOneGetsItsTurn) {
    MailSettings(servers.MailPort);
    for (const char* model : {"MAIL DISK", "SECOND DISK"})
        SetDriveString(model, "Reallocated Sector Count", "Send mail");
    SetDriveString("MAIL DISK", "Raw Read Error Rate", "Send mail");
    const std::string failing = DriveSection(0, "MAIL DISK", 30, {FailingAttribute(5), FailingAttribute(1)}) +
                                DriveSection(1, "SECOND DISK", 30, {FailingAttribute(5)});
    WriteDrives(failing);
    auto program = Run(2000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitAnswering(
        *program, [&] { return servers.Mails() >= 1; }, 15000));
    const auto first = TClock::now();
    ASSERT_TRUE(WaitAnswering(
        *program, [&] { return servers.Mails() >= 2; }, 15000));
    // The next poll's, not a second mail of the same poll.
    EXPECT_GT(TClock::now() - first, std::chrono::milliseconds(1200));
    ASSERT_TRUE(WaitAnswering(
        *program, [&] { return servers.Mails() >= 3; }, 15000));

    WriteDrives(DriveSection(0, "MAIL DISK", 30) + DriveSection(1, "SECOND DISK", 30));
    WaitAnswering(
        *program, [] { return false; }, 3000);
    const int settled = servers.Mails();
    WaitAnswering(
        *program, [] { return false; }, 5000);
    EXPECT_EQ(servers.Mails(), settled);

    // The first poll mails the first drive's first attribute; the polls
    // after it go on past whatever ended the one before.
    // The blank travels encoded: "MAIL DISK" + "Message".
    const std::string mailDisk = "Subject: =?iso-8859-1?Q?MAIL=20DISKMessage?=\r\n";
    const std::string secondDisk = "Subject: =?iso-8859-1?Q?SECOND=20DISKMessage?=\r\n";
    std::set<std::string> seen;
    for (int mail = 1; mail <= settled; ++mail) {
        const std::string text = servers.Mail(mail);
        EXPECT_NE(text.find("<admin@example.com>"), std::string::npos) << text;
        const bool fromMailDisk = text.find(mailDisk) != std::string::npos;
        EXPECT_TRUE(fromMailDisk || text.find(secondDisk) != std::string::npos) << text;
        const bool reallocated = text.find("\r\n\r\nReallocated Sector Count") != std::string::npos;
        EXPECT_TRUE(reallocated || text.find("\r\n\r\nRaw Read Error Rate") != std::string::npos) << text;
        EXPECT_TRUE(mail > 1 || (fromMailDisk && reallocated)) << text;
        seen.insert(std::string(fromMailDisk ? "MAIL DISK/" : "SECOND DISK/") +
                    (reallocated ? "Reallocated" : "Raw Read"));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"MAIL DISK/Reallocated", "MAIL DISK/Raw Read",
                                           "SECOND DISK/Reallocated"}));
    // Every mail logged in, with the stored user and password.
    std::string expected;
    for (int mail = 0; mail < settled; ++mail) expected += "alice:s3cret-word\n";
    EXPECT_EQ(servers.Logins(), expected);
    Close(*program);
}

TEST_F(ProgramWatch, AShutdownIsRecordedOnceAndNeverCarriedOut) {
    SetDriveString("OLD DISK", "Reallocated Sector Count", "Shutdown Computer");
    OpenSettings(true)->WriteInteger("AutoRun", 1);
    WriteDrives(DriveSection(0, "OLD DISK", 30, {FailingAttribute(5)}));
    auto program = Run(1000);
    ASSERT_NE(window, nullptr);
    const std::string journal = folder.Path() + "\\" + PowerJournalFileName;
    ASSERT_TRUE(WaitAnswering(
        *program, [&] { return FileExists(journal); }, 10000));
    // More polls come and go; the request was taken, so none follows.
    WaitAnswering(
        *program, [] { return false; }, 4000);
    const std::string text = ReadTextFile(journal);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find(" shutdown machine=local timeout=0 force=1\r\n"), std::string::npos) << text;
    Close(*program);
}

TEST_F(ProgramWatch, TheWindowAnswersWhileAMailWaitsOnASilentServer) {
    MailSettings(servers.SilentPort);
    SetDriveString("MAIL DISK", "Reallocated Sector Count", "Send mail");
    WriteDrives(DriveSection(0, "MAIL DISK", 30, {FailingAttribute(5)}));
    auto program = Run(1000);
    ASSERT_NE(window, nullptr);
    const auto end = TClock::now() + std::chrono::seconds(10);
    while (!servers.SilentConnected() && TClock::now() < end) Sleep(50);
    ASSERT_TRUE(servers.SilentConnected());

    long long slowest = 0;
    for (int round = 0; round < 60; ++round) {
        const auto sent = TClock::now();
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result));
        slowest = std::max<long long>(
            slowest, std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - sent).count());
        Sleep(50);
    }
    // Well under a second, however loaded the machine; bench/ has the real figure.
    EXPECT_LT(slowest, 700);

    // Closing does not wait for the server either.
    const auto closing = TClock::now();
    Close(*program);
    EXPECT_LT(TClock::now() - closing, std::chrono::seconds(8));
}

TEST_F(ProgramWatch, AHotDriveMailsOncePerCrossingOfItsThreshold) {
    MailSettings(servers.MailPort);
    SetDriveInteger("HOT MAIL DISK", "Temperature", 45);
    SetDriveString("HOT MAIL DISK", "Temperature Celcius", "Send mail");
    WriteDrives(DriveSection(0, "HOT MAIL DISK", 46));
    // The spool keeps the mails of the tests before this one.
    const int before = servers.Mails();
    auto program = Run(0);
    ASSERT_NE(window, nullptr);
    auto idle = [&](int Milliseconds) {
        WaitAnswering(
            *program, [] { return false; }, Milliseconds);
    };
    ASSERT_TRUE(WaitAnswering(
        *program, [&] { return servers.Mails() >= before + 1; }, 15000));
    // Three more refreshes while it stays hot.
    idle(6000);
    EXPECT_EQ(servers.Mails(), before + 1);

    WriteDrives(DriveSection(0, "HOT MAIL DISK", 45));
    idle(4000);
    EXPECT_EQ(servers.Mails(), before + 1);
    WriteDrives(DriveSection(0, "HOT MAIL DISK", 47));
    ASSERT_TRUE(WaitAnswering(
        *program, [&] { return servers.Mails() >= before + 2; }, 15000));
    idle(6000);
    EXPECT_EQ(servers.Mails(), before + 2);

    for (int mail = before + 1; mail <= before + 2; ++mail) {
        const std::string text = servers.Mail(mail);
        EXPECT_NE(text.find("Subject: =?iso-8859-1?Q?HOT=20MAIL=20DISKMessage?=\r\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find("\r\n\r\nTemperature Celcius"), std::string::npos) << text;
    }
    Close(*program);
}
