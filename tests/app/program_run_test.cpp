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

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/settings.h"
#include "classlib/core/files.h"
#include "tests/app/program_fixture.h"
#include "tests/app/running_program.h"
#include "tests/app/user_settings_guard.h"
#include "tests/app/watch_support.h"

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

// Serves the GUI thread's messages, sent ones included, until Done answers
// true or the time is up.
template <class F>
bool PumpMessagesUntil(F Done, int Milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(Milliseconds);
    while (!Done()) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// Stands in for the notification area while it lives: the shell hands each
// icon to the newest window of the notification area's class, this one,
// which notes the tip of every icon added.
class TRecordingTray {
public:
    TRecordingTray() {
        WNDCLASSW tray{};
        tray.lpfnWndProc = &TRecordingTray::Proc;
        tray.hInstance = GetModuleHandleW(nullptr);
        tray.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&tray);
        window_ = CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        tips_.clear();
    }
    ~TRecordingTray() {
        DestroyWindow(window_);
        UnregisterClassW(L"Shell_TrayWnd", GetModuleHandleW(nullptr));
    }
    TRecordingTray(const TRecordingTray&) = delete;
    TRecordingTray& operator=(const TRecordingTray&) = delete;

    bool Added(std::initializer_list<const wchar_t*> Tips) const {
        for (const wchar_t* tip : Tips)
            if (std::find(tips_.begin(), tips_.end(), tip) == tips_.end()) return false;
        return true;
    }

private:
    static LRESULT CALLBACK Proc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
        if (Message != WM_COPYDATA) return DefWindowProcW(Window, Message, W, L);
        // The shell's record: window, number, flags, callback message, then the tip.
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(L);
        constexpr DWORD tipAt = 16, tipChars = 128;
        if (data->dwData == NIM_ADD && data->cbData >= tipAt + tipChars * sizeof(wchar_t)) {
            const auto* tip =
                reinterpret_cast<const wchar_t*>(static_cast<const char*>(data->lpData) + tipAt);
            tips_.emplace_back(tip, wcsnlen(tip, tipChars));
        }
        return TRUE;
    }

    HWND window_ = nullptr;
    static inline std::vector<std::wstring> tips_;
};

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

TEST(ProgramRun, ADriveThatTakesAMinuteHoldsBackOnlyItself) {
    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    // Both other drives watched since an earlier start; a poll every second.
    SetDriveString("BETA", "Reallocated Sector Count", "Show message");
    OpenDriveSettings("GAMMA", true);
    OpenSettings(true)->WriteInteger("RTimer", 1000);
    std::ofstream("stuck.ini") << "[drive 0]\nwmi model = STUCK\nread delay = 60000\n"
                                  "attribute 0 = 194 0x0022 30 40 0 30\n"
                               << DriveSection(1, "BETA", 31, {FailingAttribute(5)})
                               << DriveSection(2, "GAMMA", 32);
    const TRecordingTray tray;
    TRunningProgram program("--drives stuck.ini");
    HWND window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(PumpMessagesUntil([&] { return DriveListRows(window) == 2; }, 5000));
    EXPECT_TRUE(PumpMessagesUntil([&] { return tray.Added({L"BETA", L"GAMMA"}); }, 5000));
    // The failing attribute on BETA raises its alert at the next poll.
    EXPECT_TRUE(PumpMessagesUntil([&] { return !program.Windows(L"TZkFormDesktopAlert").empty(); }, 5000));
    EXPECT_EQ(DriveListRows(window), 2);

    PostMessageW(window, WM_CLOSE, 0, 0);
    // The program tells the notification area of its icons meanwhile: served all along.
    std::vector<HWND> question;
    ASSERT_TRUE(PumpMessagesUntil([&] { return !(question = program.Windows(L"#32770")).empty(); }, 5000));
    PostMessageW(question[0], WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(
        PumpMessagesUntil([&] { return WaitForSingleObject(program.Process(), 0) == WAIT_OBJECT_0; }, 1000));
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
