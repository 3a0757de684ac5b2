// VexmoraU.exe installed in a folder named in Cyrillic and CJK letters,
// which the system code page cannot spell, and started from another such
// folder, as a logon start is: it reads the drive set named on its command
// line, keeps its log in the folder it was started from, and "Run when
// windows start" stores the program's own file, quoted for the blank.
// An error that names a file there shows the folder as it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/settings.h"
#include "classlib/core/files.h"
#include "tests/app/program_fixture.h"
#include "tests/app/running_program.h"
#include "tests/app/stored_settings.h"
#include "tests/app/user_settings_guard.h"

namespace {

const wchar_t* const RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const RunValue = L"Vexmora";

// A fresh folder under the temporary one, named "диски 日本語-<process>"; it
// goes, with its content, at the end.
class TWideFolder {
public:
    TWideFolder()
        : path_(ToWide(GetTempDir()) + L"\u0434\u0438\u0441\u043a\u0438 \u65e5\u672c\u8a9e-" +
                std::to_wstring(GetCurrentProcessId())) {
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TWideFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(path_), ignored);
    }
    TWideFolder(const TWideFolder&) = delete;
    TWideFolder& operator=(const TWideFolder&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// The current user's run-at-logon value, taken away for the test and put
// back as it was afterwards; the run key exists, as on every Windows.
class TRunValueKept {
public:
    TRunValueKept() {
        RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        had_ = Read(saved_);
        RegDeleteValueW(key_, RunValue);
    }
    ~TRunValueKept() {
        if (had_)
            RegSetValueExW(key_, RunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_.c_str()),
                           static_cast<DWORD>((saved_.size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key_, RunValue);
        RegCloseKey(key_);
    }
    TRunValueKept(const TRunValueKept&) = delete;
    TRunValueKept& operator=(const TRunValueKept&) = delete;

    bool Read(std::wstring& Value) const {
        wchar_t text[1024] = {};
        DWORD size = sizeof text;
        if (RegGetValueW(key_, nullptr, RunValue, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
            return false;
        Value = text;
        return true;
    }

private:
    HKEY key_ = nullptr;
    bool had_ = false;
    std::wstring saved_;
};

// The first window below Root with this text and class, looked for in the
// whole tree; null when none is shown.
HWND ShownDescendant(HWND Root, const wchar_t* Text, const wchar_t* ClassName) {
    for (HWND child = GetWindow(Root, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[64] = {}, className[64] = {};
        GetWindowTextW(child, text, 64);
        GetClassNameW(child, className, 64);
        if (IsWindowVisible(child) && std::wstring(text) == Text && std::wstring(className) == ClassName)
            return child;
        if (HWND found = ShownDescendant(child, Text, ClassName)) return found;
    }
    return nullptr;
}

void Click(HWND Window, int X, int Y) {
    SendMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
    SendMessageW(Window, WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
}

// Clicks the last item of the side bar's "Main" group, "Preference", as a
// person does: the bar paints its items, so the click walks up from the
// group's bottom edge until the page's first box shows.
HWND OpenPreferencePage(HWND MainWindow) {
    HWND group = ShownDescendant(MainWindow, L"Main", L"TScGroup");
    if (!group) return nullptr;
    RECT area;
    GetClientRect(group, &area);
    for (int y = area.bottom - 1; y > 0; y -= 2) {
        Click(group, 24, y);
        if (HWND box = ShownDescendant(MainWindow, L"Run when windows start", L"TCheckBox")) return box;
    }
    return nullptr;
}

std::string ReadWideNamedFile(const std::wstring& FileName) {
    std::ifstream file(std::filesystem::path(FileName), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

TEST(ProgramFolder, AFolderOutsideTheCodePageHoldsTheDrivesTheLogAndTheLogonEntry) {
    TUserSettingsGuard settingsGuard;
    ASSERT_TRUE(settingsGuard.Ready());
    TRunValueKept run;
    OpenSettings(true)->WriteInteger("Log", 1);
    TWideFolder folder;
    const std::wstring program = folder.Path() + L"\\VexmoraU.exe";
    ASSERT_TRUE(CopyFileW(ToWide("Z:" VEXMORA_PROGRAM).c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(ToWide("Z:" VEXMORA_SOURCE_DIR "\\examples\\drives.ini").c_str(),
                          (folder.Path() + L"\\drives.ini").c_str(), FALSE));

    const std::wstring started = folder.Path() + L"\\\u0436\u0443\u0440\u043d\u0430\u043b \u8a18\u9332";
    ASSERT_TRUE(CreateDirectoryW(started.c_str(), nullptr));

    TRunningProgram running(L"\"" + program + L"\" --drives \"" + folder.Path() + L"\\drives.ini\"", started);
    HWND window = running.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
    ASSERT_NE(window, nullptr) << "no window: the drive set was not read";
    for (int tries = 0; tries < 200 && DriveListRows(window) != 4; ++tries) Sleep(50);
    EXPECT_EQ(DriveListRows(window), 4);
    // Two example drives are in "Warning": the start writes their records.
    EXPECT_NE(ReadWideNamedFile(started + L"\\Vexmora.log").find("Warning"), std::string::npos);

    HWND runAtLogon = OpenPreferencePage(window);
    ASSERT_NE(runAtLogon, nullptr);
    SendMessageW(runAtLogon, BM_CLICK, 0, 0);
    ASSERT_EQ(SendMessageW(runAtLogon, BM_GETCHECK, 0, 0), BST_CHECKED);
    HWND ok = ShownDescendant(window, L"OK", L"TScBitBtn");
    ASSERT_NE(ok, nullptr);
    Click(ok, 5, 5);
    std::wstring stored;
    EXPECT_TRUE(run.Read(stored));
    EXPECT_TRUE(stored == L"\"" + program + L"\"") << ToAnsi(stored);

    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = running.WaitForWindow(L"Vexmora", L"#32770");
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(running.WaitForExit(), 0u);
}

// The log cannot be written there (a folder holds its name): the box names
// the file with the folder's own letters.
TEST_F(ProgramTest, ALogErrorNamesAFolderOutsideTheCodePageAsItIs) {
    const std::wstring started = WideCurrentDir() + L"\\\u0434\u0438\u0441\u043a\u0438 \u65e5\u672c\u8a9e";
    ASSERT_TRUE(CreateDir(started));
    ASSERT_TRUE(CreateDir(started + L"\\Vexmora.log"));
    ASSERT_TRUE(SetCurrentDir(started));
    WriteSettingInteger("Log", 1);
    StartWithExampleDrives();
    const auto asked = boxes.Asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].WideText.rfind(L"Cannot create file \"" + started + L"\\Vexmora.log\". ", 0), 0u)
        << asked[0].Text;
}
