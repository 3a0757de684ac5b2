// VexmoraU.exe with the keyboard alone, as a person without a mouse meets
// it: it starts in the drive list; keys sent through SendInput reach every
// page through the group bar, stop only where something acts (the About
// page's links too), change the drive shown from the drive list, watch a
// drive and stop watching it with Apply, store a temperature threshold with
// OK, and end the program.
#include <gtest/gtest.h>

#include "classlib/core/win32.h"

#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "tests/app/program_fixture.h"
#include "tests/app/running_program.h"
#include "tests/app/user_settings_guard.h"

namespace {

void Send(WORD Key, bool Up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = Key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(Key, 0));
    input.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Press(WORD Key) {
    Send(Key, false);
    Send(Key, true);
    Sleep(60);
}

void PressWith(WORD Modifier, WORD Key) {
    Send(Modifier, false);
    Press(Key);
    Send(Modifier, true);
    Sleep(60);
}

std::wstring ClassOf(HWND Window) {
    wchar_t name[64] = {};
    GetClassNameW(Window, name, 64);
    return name;
}

std::wstring TextOf(HWND Window) {
    wchar_t text[128] = {};
    GetWindowTextW(Window, text, 128);
    return text;
}

// Whether the window lies on the page with this caption.
bool OnPage(HWND Window, const wchar_t* Caption) {
    for (HWND w = GetParent(Window); w; w = GetParent(w))
        if (ClassOf(w) == L"TTabSheet") return TextOf(w) == Caption;
    return false;
}

BOOL CALLBACK Collect(HWND Window, LPARAM List) {
    reinterpret_cast<std::vector<HWND>*>(List)->push_back(Window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND Window) {
    std::vector<HWND> all;
    EnumChildWindows(Window, Collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

class KeyboardOnly : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(settingsGuard.Ready());
        window = program.WaitForWindow(L"Zantipelle Vexmora Ultimate ", nullptr);
        ASSERT_NE(window, nullptr);
        thread = GetWindowThreadProcessId(window, nullptr);
        // The program starts as the active window, as it does for a person.
        SetForegroundWindow(window);
        for (int tries = 0; tries < 100 && !Focus(); ++tries) Sleep(50);
    }
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    }
    // Tab, and wait for the program to move the focus: a slow program must
    // not leave presses queued behind what the test reads.
    void Tab() {
        const HWND before = Focus();
        Press(VK_TAB);
        for (int tries = 0; tries < 50 && Focus() == before; ++tries) Sleep(20);
    }
    // Tab until the focus is on a window the test names; false after a
    // round through every stop.
    bool TabTo(const std::function<bool(HWND)>& Wanted) {
        for (int tries = 0; tries < 40; ++tries) {
            if (Focus() && Wanted(Focus())) return true;
            Tab();
        }
        return false;
    }
    bool TabToClass(const wchar_t* Name) {
        return TabTo([Name](HWND w) { return ClassOf(w) == Name; });
    }
    // The page the page control shows: its caption.
    std::wstring ShownPage() const {
        for (HWND w : Descendants(window))
            if (ClassOf(w) == L"TTabSheet" && IsWindowVisible(w)) return TextOf(w);
        return L"?";
    }
    std::wstring WaitForPage(const std::wstring& Caption) const {
        for (int tries = 0; tries < 60 && ShownPage() != Caption; ++tries) Sleep(50);
        return ShownPage();
    }
    // The group bar's Index-th place from the top, and Enter on it.
    void Choose(int Index) {
        ASSERT_TRUE(TabToClass(L"TScGroupBar"));
        Press(VK_HOME);
        for (int i = 0; i < Index; ++i) Press(VK_DOWN);
        Press(VK_RETURN);
    }
    // The windows Tab stops at, once round from the focus.
    std::vector<HWND> TabRound() {
        std::vector<HWND> stops{Focus()};
        for (int i = 0; i < 40; ++i) {
            Tab();
            if (Focus() == stops.front()) break;
            stops.push_back(Focus());
        }
        return stops;
    }
    // The attribute list of the monitor page: rows of the drive shown.
    LRESULT AttributeRows() const {
        for (HWND w : Descendants(window))
            if (ClassOf(w) == L"TListView" && OnPage(w, L"Monitor"))
                return SendMessageW(w, LVM_GETITEMCOUNT, 0, 0);
        return -1;
    }

    TScopedFolder folder;
    TUserSettingsGuard settingsGuard;
    TRunningProgram program{"--drives \"Z:" VEXMORA_SOURCE_DIR "/examples/drives.ini\""};
    HWND window = nullptr;
    DWORD thread = 0;
};

}  // namespace

TEST_F(KeyboardOnly, EveryPageADriveAThresholdAndTheEnd) {
    // The keyboard starts where the first drive is chosen.
    HWND start = Focus();
    EXPECT_TRUE(ClassOf(start) == L"TListView" && !OnPage(start, L"Monitor")) << ClassOf(start);

    // Every page of the bar; on each, a round of Tab stops only where
    // something acts: never on the page control, whose tabs never show, nor
    // on a read-only sample.
    const std::pair<int, const wchar_t*> pages[] = {{1, L"Monitor"},    {2, L"MonitorSetting"},
                                                    {3, L"Preference"}, {4, L""},
                                                    {6, L"About"},      {0, L"Infomation"}};
    for (auto [index, caption] : pages) {
        Choose(index);
        EXPECT_EQ(WaitForPage(caption), caption) << index;
        const std::vector<HWND> stops = TabRound();
        int links = 0;
        for (HWND stop : stops) {
            EXPECT_NE(ClassOf(stop), L"TPageControl") << index;
            EXPECT_FALSE(ClassOf(stop) == L"TEdit" && (GetWindowLongW(stop, GWL_STYLE) & ES_READONLY))
                << "a colour sample, nothing to do: " << index;
            links += ClassOf(stop) == L"TScURLFocus";
        }
        EXPECT_EQ(links, caption == std::wstring(L"About") ? 2 : 0) << "the About page's two links";
    }

    // Apply, from the keyboard: the first drive watched, then no longer.
    auto firstDriveWatched = [] { return OpenDriveSettings("ST3500418AS", false) != nullptr; };
    HWND drives = nullptr;
    auto toDrives = [&] {
        return TabTo([&drives](HWND w) {
            drives = w;
            return ClassOf(w) == L"TListView" && SendMessageW(w, LVM_GETITEMCOUNT, 0, 0) == 4;
        });
    };
    auto ticked = [&drives] {
        return (SendMessageW(drives, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) >> 12) == 2;
    };
    for (bool watch : {true, false}) {
        ASSERT_TRUE(toDrives());
        Press(VK_HOME);
        if (ticked() != watch) Press(VK_SPACE);
        ASSERT_EQ(ticked(), watch);
        Choose(5);
        for (int tries = 0; tries < 40 && firstDriveWatched() != watch; ++tries) Sleep(50);
        EXPECT_EQ(firstDriveWatched(), watch);
        EXPECT_TRUE(IsWindowVisible(window)) << "Apply keeps the window";
    }

    // The monitor page follows the drive chosen by arrow keys in the list:
    // the third example drive has one attribute more than the first.
    Choose(1);
    ASSERT_EQ(WaitForPage(L"Monitor"), L"Monitor");
    EXPECT_EQ(AttributeRows(), 17);
    ASSERT_TRUE(toDrives());
    auto selected = [drives] {
        return SendMessageW(drives, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    };
    for (int tries = 0; tries < 6 && selected() != 2; ++tries) Press(VK_DOWN);
    ASSERT_EQ(selected(), 2);
    for (int tries = 0; tries < 40 && AttributeRows() != 18; ++tries) Sleep(50);
    EXPECT_EQ(AttributeRows(), 18);

    // On the settings page: the temperature row, a threshold, OK.
    Choose(2);
    ASSERT_EQ(WaitForPage(L"MonitorSetting"), L"MonitorSetting");
    ASSERT_TRUE(TabTo([](HWND w) { return ClassOf(w) == L"TListView" && OnPage(w, L"MonitorSetting"); }));
    // Typing picks the row that starts so.
    for (WORD key : {'T', 'E', 'M', 'P'}) Press(key);
    ASSERT_TRUE(TabToClass(L"TEdit"));
    // Whatever an earlier run stored goes first.
    Press(VK_END);
    for (int i = 0; i < 6; ++i) Press(VK_BACK);
    Press('4');
    Press('5');
    ASSERT_TRUE(TabToClass(L"TScButton"));
    Press(VK_SPACE);
    int stored = 0;
    for (int tries = 0; tries < 40 && stored != 45; ++tries, Sleep(50))
        stored = ReadIntegerOr(OpenDriveSettings("FUJITSU MHV2080AH", false).get(), "Temperature", 0);
    EXPECT_EQ(stored, 45);

    // Alt+F4 asks; Enter on its Yes ends the program.
    PressWith(VK_MENU, VK_F4);
    HWND question = program.WaitForWindow(L"Vexmora", L"#32770");
    ASSERT_NE(question, nullptr);
    Press(VK_RETURN);
    EXPECT_EQ(program.WaitForExit(), 0u);
}
