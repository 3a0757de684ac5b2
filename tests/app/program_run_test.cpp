// VexmoraU.exe itself, started as a person starts it: with the example
// drives it lists them and writes their settings, and Yes to the close
// question ends it with exit code 0; a malformed drive-set file stops it
// before any window, saying why on its standard error.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/settings.h"
#include "classlib/core/files.h"
#include "tests/app/program_fixture.h"

namespace {

// A started program, ended at the end of the scope if it still runs.
class TRunningProgram {
public:
    explicit TRunningProgram(const std::string& Arguments, HANDLE ErrorOutput = nullptr) {
        std::string commandLine = "\"Z:" VEXMORA_PROGRAM "\" " + Arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = ErrorOutput ? STARTF_USESTDHANDLES : 0;
        startup.hStdError = ErrorOutput;
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, ErrorOutput != nullptr, 0,
                                  nullptr, nullptr, &startup, &process_);
    }
    ~TRunningProgram() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    TRunningProgram(const TRunningProgram&) = delete;
    TRunningProgram& operator=(const TRunningProgram&) = delete;

    // A top-level window of the program (caption and class may be null).
    HWND WaitForWindow(const wchar_t* Caption, const wchar_t* ClassName, bool Shown = true) const {
        for (int tries = 0; tries < 400; ++tries, Sleep(50))
            for (HWND window = FindWindowExW(nullptr, nullptr, ClassName, Caption); window;
                 window = FindWindowExW(nullptr, window, ClassName, Caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId && (!Shown || IsWindowVisible(window))) return window;
            }
        return nullptr;
    }
    HANDLE Process() const { return process_.hProcess; }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit() const {
        DWORD code = STILL_ACTIVE;
        if (started_) WaitForSingleObject(process_.hProcess, 20000);
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_{};
};

// The program writes the real current user's settings: a key that was not
// there before goes again afterwards.
class TSettingsCleanup {
public:
    TSettingsCleanup() {
        HKEY key = nullptr;
        existed_ = RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Larpok corporation", 0, KEY_READ, &key) == 0;
        if (key) RegCloseKey(key);
    }
    ~TSettingsCleanup() {
        if (!existed_) RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Larpok corporation");
    }

private:
    bool existed_ = false;
};

}  // namespace

TEST(ProgramRun, ExampleDrivesAreListedAndYesToTheQuestionEndsTheProgram) {
    TScopedFolder folder;
    TSettingsCleanup cleanup;
    TRunningProgram program("--drives \"Z:" VEXMORA_SOURCE_DIR "/examples/drives.ini\"");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);
    wchar_t title[16] = {};
    GetWindowTextW(program.WaitForWindow(nullptr, L"TApplication", false), title, 16);
    EXPECT_STREQ(title, L"Vexmora");
    // Looked up afresh each time: the list's window may be made again while
    // the program starts, and the window shows before the start is done.
    auto rows = [window] {
        HWND list =
            FindWindowExW(FindWindowExW(window, nullptr, L"TPanel", nullptr), nullptr, L"TListView", nullptr);
        return list ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : -1;
    };
    for (int tries = 0; tries < 200 && rows() != 4; ++tries) Sleep(50);
    EXPECT_EQ(rows(), 4);
    EXPECT_TRUE(FileExists("Vexmora.log"));
    EXPECT_EQ(ReadIntegerOr(OpenDriveSettings("IC35L120AVV207-0", false).get(), "CreateReg", 0), 1);

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = program.WaitForWindow(L"Vexmora", L"#32770");
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
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
