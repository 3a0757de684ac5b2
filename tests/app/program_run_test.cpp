// VexmoraU.exe itself, started as a person starts it: with the example
// drives it lists them and writes their settings, and Yes to the close
// question ends it with exit code 0; a slow drive holds neither the window
// nor the end; a malformed drive-set file stops it before any window, saying
// why on its standard error. A start that sends no
// mail never loads the socket library.
#include <gtest/gtest.h>

#include "classlib/core/win32.h"
// After windows.h.
#include <psapi.h>

#include <fstream>
#include <string>

#include "app/settings.h"
#include "classlib/core/files.h"
#include "tests/app/program_fixture.h"
#include "tests/app/running_program.h"
#include "tests/app/user_settings_guard.h"

namespace {

bool HasModule(HANDLE Process, const char* Name) {
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(Process, modules, sizeof modules, &bytes)) return false;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        char base[MAX_PATH] = {};
        GetModuleBaseNameA(Process, modules[i], base, MAX_PATH);
        if (_stricmp(base, Name) == 0) return true;
    }
    return false;
}

}  // namespace

TEST(ProgramRun, ExampleDrivesAreListedAndYesToTheQuestionEndsTheProgram) {
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    TRunningProgram program("--drives \"Z:" VEXMORA_SOURCE_DIR "/examples/drives.ini\"");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);
    wchar_t title[16] = {};
    GetWindowTextW(program.WaitForWindow(nullptr, L"TApplication", false), title, 16);
    EXPECT_STREQ(title, L"Vexmora");
    for (int tries = 0; tries < 200 && DriveListRows(window) != 4; ++tries) Sleep(50);
    EXPECT_EQ(DriveListRows(window), 4);
    EXPECT_TRUE(FileExists("Vexmora.log"));
    EXPECT_EQ(ReadIntegerOr(OpenDriveSettings("IC35L120AVV207-0", false).get(), "CreateReg", 0), 1);
    ASSERT_TRUE(HasModule(program.Process(), "comctl32.dll"));
    EXPECT_FALSE(HasModule(program.Process(), "ws2_32.dll"));

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = program.WaitForWindow(L"Vexmora", L"#32770");
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(ProgramRun, ASlowDriveHoldsNeitherTheWindowNorTheEnd) {
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    auto write = [](int Delay) {
        // The padding changes the size too, so the change is seen whatever the clock's resolution.
        std::ofstream("slow.ini", std::ios::trunc)
            << "[drive 0]\nwmi model = SLOW DISK\nattribute 0 = 194 0x0022 30 40 0 30\nread delay = " << Delay
            << "\n"
            << std::string(Delay / 1000, ';') << "\n";
    };
    write(10000);
    TRunningProgram program("--drives slow.ini");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored));
    // The window is there and answers while the drive is still being read.
    EXPECT_EQ(DriveListRows(window), 0);
    for (int tries = 0; tries < 400 && DriveListRows(window) != 1; ++tries) Sleep(50);
    ASSERT_EQ(DriveListRows(window), 1);

    // From the next refresh on, each read takes a minute.
    write(60000);
    Sleep(3000);
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = program.WaitForWindow(L"Vexmora", L"#32770");
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(WaitForSingleObject(program.Process(), 1000), WAIT_OBJECT_0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(ProgramRun, MalformedDriveSetStopsTheProgramBeforeAnyWindow) {
    TScopedFolder folder;
    std::ofstream("broken.ini") << "[drive 0]\nwmi model = X\n[drive 0]\n";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE errors = CreateFileA("errors.txt", GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD exitCode = TRunningProgram("--drives broken.ini", errors).WaitForExit();
    CloseHandle(errors);
    EXPECT_EQ(exitCode, 2u);
    EXPECT_NE(ReadTextFile("errors.txt").find("Drive-set file \"broken.ini\", line 3: "), std::string::npos);
}
