// VexmoraU.exe mailing an alert to a server whose greeting is no reply at all
// (the script server of the mail tests, in this process): the two failure
// boxes come in order within seconds rather than after the minute's time-out,
// the window answers all along, and while the next mail waits on a server
// that never speaks, Yes to the close question ends the program within a
// second.
#include <gtest/gtest.h>

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

}  // namespace

TEST(ProgramMail, AServerThatGreetsWithNoReplyFailsAtOnceAndCloseDoesNotWaitForTheNext) {
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    // After the first connection the listener takes the next ones and never
    // says a word to them.
    TScriptServer server({Send("abc hostile.example\r\n"), ReadLine()});
    {
        auto settings = OpenSettings(true);
        settings->WriteString("SMTPServer", "127.0.0.1");
        settings->WriteInteger("Port", server.Port());
        settings->WriteString("FromMail", "monitor@example.com");
        settings->WriteString("ToMail", "admin@example.com");
        settings->WriteInteger("RTimer", 1000);
    }
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
            for (HWND box : program.Windows(L"#32770")) {
                texts.push_back(BoxText(box));
                SendMessageW(box, WM_COMMAND, IDOK, 0);
            }
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

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = program.WaitForWindow(L"Vexmora", L"#32770");
    ASSERT_NE(question, nullptr);
    const auto closing = TClock::now();
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(WaitForSingleObject(program.Process(), 1000), WAIT_OBJECT_0);
    EXPECT_LT(TClock::now() - closing, std::chrono::seconds(1));
    EXPECT_EQ(program.WaitForExit(), 0u);
}
