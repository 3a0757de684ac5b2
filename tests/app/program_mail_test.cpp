// VexmoraU.exe mailing alerts to the script server of the mail tests, in
// this process. To a server whose greeting is no reply at all: the two
// failure boxes come in order within seconds rather than after the minute's
// time-out, the window answers all along, and while the next mail waits on a
// server that never speaks, Yes to the close question ends the program
// within a second. With addresses stored amid blanks: a mail goes out at
// every poll, and one that cannot go out leaves its reason in the log. With
// the server down: one record for the outage, and none without the "Log"
// preference.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "tests/app/program_fixture.h"
#include "tests/app/running_program.h"
#include "tests/app/user_settings_guard.h"
#include "tests/app/watch_support.h"
#include "tests/mail/smtp_script_server.h"

namespace {

using TClock = std::chrono::steady_clock;

// The text of a message box: its longest static text (the icon has none).
std::string BoxText(HWND Box) {
    std::wstring longest;
    for (HWND item = FindWindowExW(Box, nullptr, L"Static", nullptr); item;
         item = FindWindowExW(Box, item, L"Static", nullptr)) {
        wchar_t text[512] = {};
        GetWindowTextW(item, text, 512);
        if (wcslen(text) > longest.size()) longest = text;
    }
    return std::string(longest.begin(), longest.end());
}

// Presses Button of Box as a person does, and waits until the box is gone:
// the press is queued behind what the program was posted before. A sent
// one would be handled inside the box's wait for its next message, and
// Wine's box then ends without dispatching the message that wait returns:
// a close posted just before would be lost.
void Press(HWND Box, WPARAM Button) {
    PostMessageW(Box, WM_COMMAND, Button, 0);
    for (const auto end = TClock::now() + std::chrono::seconds(5);
         IsWindowVisible(Box) && TClock::now() < end; Sleep(10)) {
    }
}

// Answers every box the program shows now, as a person would, keeping its text.
void AnswerBoxes(const TRunningProgram& Program, std::vector<std::string>& Texts) {
    for (HWND box : Program.Windows(L"#32770")) {
        Texts.push_back(BoxText(box));
        Press(box, IDOK);
    }
}

// With the "Log" preference on, so that why a mail did not go is kept.
void StoreMailSettings(int Port, const std::string& From, const std::string& To) {
    auto settings = OpenSettings(true);
    settings->WriteInteger("Log", 1);
    settings->WriteString("SMTPServer", "127.0.0.1");
    settings->WriteInteger("Port", Port);
    settings->WriteString("FromMail", From);
    settings->WriteString("ToMail", To);
    settings->WriteInteger("RTimer", 1000);
}

// Yes to the close question ends the program. Mail boxes that come
// meanwhile are answered with OK, so that the Yes goes to the question.
void CloseProgram(const TRunningProgram& Program, HWND Window) {
    PostMessageW(Window, WM_CLOSE, 0, 0);
    for (const auto end = TClock::now() + std::chrono::seconds(10); TClock::now() < end; Sleep(20)) {
        for (HWND box : Program.Windows(L"#32770")) {
            if (BoxText(box) == "Are you sure to exit Vexmora now?") {
                PostMessageW(box, WM_COMMAND, IDYES, 0);
                return;
            }
            Press(box, IDOK);
        }
    }
    ADD_FAILURE() << "the close question never came";
}

}  // namespace

TEST(ProgramMail, AServerThatGreetsWithNoReplyFailsAtOnceAndCloseDoesNotWaitForTheNext) {
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    // After the first connection the listener takes the next ones and never
    // says a word to them.
    TScriptServer server({Send("abc hostile.example\r\n"), ReadLine()});
    StoreMailSettings(server.Port(), "monitor@example.com", "admin@example.com");
    SetDriveString("MAIL DISK", "Reallocated Sector Count", "Send mail");
    std::ofstream(folder.Path() + "\\drives.ini") << DriveSection(0, "MAIL DISK", 30, {FailingAttribute(5)});

    const auto started = TClock::now();
    TRunningProgram program("--drives \"" + folder.Path() + "\\drives.ini\"");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);

    // Boxes answered as a person would, the window asked all the while.
    std::vector<std::string> texts;
    long long slowest = 0;
    auto answer = [&](auto Done, std::chrono::milliseconds For) {
        for (const auto end = TClock::now() + For; !Done() && TClock::now() < end; Sleep(50)) {
            AnswerBoxes(program, texts);
            const auto asked = TClock::now();
            DWORD_PTR result = 0;
            ASSERT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result));
            slowest = std::max<long long>(
                slowest,
                std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - asked).count());
        }
    };
    answer([&] { return texts.size() >= 2; }, std::chrono::seconds(20));
    // The program's start and its first poll included; the time-out is a minute.
    EXPECT_LT(TClock::now() - started, std::chrono::seconds(10));
    ASSERT_EQ(texts, (std::vector<std::string>{"Vexmora Can not Connect SMTP server", "Can not Send mail"}));

    // The next polls' mail waits on the silent listener meanwhile.
    answer([] { return false; }, std::chrono::seconds(3));
    EXPECT_EQ(texts.size(), 2u);
    // Well under a second, however loaded the machine; bench/ has the real figure.
    EXPECT_LT(slowest, 700);

    const auto closing = TClock::now();
    CloseProgram(program, window);
    EXPECT_EQ(WaitForSingleObject(program.Process(), 1000), WAIT_OBJECT_0);
    EXPECT_LT(TClock::now() - closing, std::chrono::seconds(1));
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(ProgramMail, PaddedStoredAddressesMailEveryPollAndAnAddressThatCannotGoOutIsLoggedWithWhy) {
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    // Every session delivers; more than the test waits for.
    TScriptServer server({Send("220 ready\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(),
                          Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("354 go\r\n"),
                          ReadData(), Send("250 queued\r\n"), ReadLine(), Send("221 bye\r\n")},
                         50);
    // As an earlier version stored a paste.
    StoreMailSettings(server.Port(), " monitor@example.org  ", "  admin@example.net ");
    SetDriveString("MAIL DISK", "Reallocated Sector Count", "Send mail");
    std::ofstream(folder.Path() + "\\drives.ini") << DriveSection(0, "MAIL DISK", 30, {FailingAttribute(5)});

    TRunningProgram program("--drives \"" + folder.Path() + "\\drives.ini\"");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);

    // A session is six lines; the times at which each one ended.
    std::vector<std::string> texts;
    std::vector<TClock::time_point> delivered;
    for (const auto end = TClock::now() + std::chrono::seconds(20);
         delivered.size() < 3 && TClock::now() < end; Sleep(20)) {
        AnswerBoxes(program, texts);
        while (server.Received().size() >= 6 * (delivered.size() + 1)) delivered.push_back(TClock::now());
    }
    ASSERT_EQ(delivered.size(), 3u);
    const std::vector<std::string> received = server.Received();
    for (std::size_t session = 0; session < 3; ++session) {
        EXPECT_EQ(received[session * 6 + 1], "MAIL FROM:<monitor@example.org>");
        EXPECT_EQ(received[session * 6 + 2], "RCPT TO:<admin@example.net>");
    }
    // Polls are a second apart: no more than one mail for each.
    EXPECT_GT(delivered[2] - delivered[0], std::chrono::milliseconds(1500));
    for (const std::string& text : texts) EXPECT_EQ(text, "OK");

    OpenSettings(true)->WriteString("ToMail", "a@b evil@x");
    const std::string logName = folder.Path() + "\\Vexmora.log";
    const std::string why = "Can not Send mail>Invalid mail address \"a@b evil@x\"";
    for (const auto end = TClock::now() + std::chrono::seconds(20);
         ReadTextFile(logName).find(why) == std::string::npos && TClock::now() < end; Sleep(50))
        AnswerBoxes(program, texts);
    EXPECT_NE(ReadTextFile(logName).find(why), std::string::npos) << ReadTextFile(logName);

    CloseProgram(program, window);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(ProgramMail, AServerThatStaysDownIsLoggedOncePerTroubleAndOnlyWithTheLogPreference) {
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    const int closed = TScriptServer::ClosedPort();
    StoreMailSettings(closed, "monitor@example.com", "admin@example.com");
    OpenSettings(true)->WriteInteger("Log", 0);
    SetDriveString("MAIL DISK", "Reallocated Sector Count", "Send mail");
    std::ofstream(folder.Path() + "\\drives.ini") << DriveSection(0, "MAIL DISK", 30, {FailingAttribute(5)});

    TRunningProgram program("--drives \"" + folder.Path() + "\\drives.ini\"");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);

    const std::string logName = folder.Path() + "\\Vexmora.log";
    const std::wstring wideLogName(logName.begin(), logName.end());
    const std::string record =
        "Can not Send mail>No connection to 127.0.0.1 on port " + std::to_string(closed) + ".";
    auto records = [&] {
        const std::string text = ReadTextFile(logName);
        std::size_t count = 0;
        for (std::size_t at = text.find(record); at != std::string::npos; at = text.find(record, at + 1))
            ++count;
        return count;
    };
    auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExW(wideLogName.c_str(), GetFileExInfoStandard, &data)) return 0ull;
        return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
    };
    // A mail a poll, a second apart; each failure ends with its box. The
    // outcome of each but the last is in by the time the next box shows.
    std::vector<std::string> texts;
    auto failures = [&] { return std::count(texts.begin(), texts.end(), "Can not Send mail"); };
    auto answerUntil = [&](auto Done) {
        for (const auto end = TClock::now() + std::chrono::seconds(20); !Done() && TClock::now() < end;
             Sleep(20))
            AnswerBoxes(program, texts);
        return Done();
    };

    ASSERT_TRUE(answerUntil([&] { return failures() >= 3; }));
    EXPECT_EQ(records(), 0u) << "logged with the Log preference off";

    // With the log asked for: one record for the whole outage, the file
    // written once.
    OpenSettings(true)->WriteInteger("Log", 1);
    ASSERT_TRUE(answerUntil([&] { return records() == 1; }));
    const unsigned long long firstWrite = written();
    const auto seen = failures();
    ASSERT_TRUE(answerUntil([&] { return failures() >= seen + 4; }));
    EXPECT_EQ(records(), 1u);
    EXPECT_EQ(written(), firstWrite) << "the log was rewritten with nothing new in it";

    // A mail goes; the same trouble after it is news again.
    TScriptServer server({Send("220 ready\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(),
                          Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("354 go\r\n"),
                          ReadData(), Send("250 queued\r\n"), ReadLine(), Send("221 bye\r\n")});
    OpenSettings(true)->WriteInteger("Port", server.Port());
    ASSERT_TRUE(answerUntil([&] { return server.Received().size() >= 6; }));
    OpenSettings(true)->WriteInteger("Port", closed);
    ASSERT_TRUE(answerUntil([&] { return records() == 2; }));
    const auto after = failures();
    ASSERT_TRUE(answerUntil([&] { return failures() >= after + 2; }));
    EXPECT_EQ(records(), 2u);

    CloseProgram(program, window);
    EXPECT_EQ(program.WaitForExit(), 0u);
}
