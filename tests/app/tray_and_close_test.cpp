// The application's own tray icon with the tray menu, coming back from the
// tray (the keyboard, and a box that came meanwhile), and closing: the
// question before the main window closes, and "E&xit", which asks nothing.
#include <functional>

#include "classlib/stdctrls/menus.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "notify/notifytrayicon.h"
#include "tests/app/program_fixture.h"

namespace {

// Takes the WM_QUIT that ending the application posts, so that it does not
// reach the next test.
void DropQuitMessage() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Application->Initialize();
}

void DoubleClickTrayIcon() {
    SendMessageW(TNotifyTrayIcon::HandlerWindow(), WM_TRAYICONCALLBACK,
                 reinterpret_cast<WPARAM>(MainForm->NotifyTrayIcon1), WM_LBUTTONDBLCLK);
}

void MinimizeToTray() {
    SendMessageW(MainForm->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Application->ProcessMessages();
}

// A real box opened while the main window is in the tray: once it shows,
// Restore brings the window back, and what a person then meets is noted
// before OK closes the box.
struct TBoxMeanwhile {
    std::function<void()> Restore;
    HWND box = nullptr;
    bool boxInFront = false, formDisabled = false, boxActive = false;
    bool restored = false;

    void Run() {
        current = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
        Application->MessageBox("Shutting down!", "Vexmora", MB_OK);
        KillTimer(nullptr, timer);
        current = nullptr;
    }

private:
    static BOOL CALLBACK Find(HWND Window, LPARAM) {
        wchar_t name[16] = {};
        GetClassNameW(Window, name, 16);
        if (std::wstring(name) != L"#32770" || !IsWindowVisible(Window)) return TRUE;
        current->box = Window;
        return FALSE;
    }
    // On the box's own loop; each tick lets the messages of the last one
    // run first.
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TBoxMeanwhile* self = current;
        if (!self || (!self->box && EnumThreadWindows(GetCurrentThreadId(), Find, 0))) return;
        if (!self->restored) {
            self->restored = true;
            self->Restore();
            return;
        }
        HWND main = MainForm->Handle();
        for (HWND w = GetWindow(main, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
            self->boxInFront |= w == self->box;
        self->formDisabled = !IsWindowEnabled(main);
        self->boxActive = GetActiveWindow() == self->box;
        PostMessageW(self->box, WM_COMMAND, IDOK, 0);
        current = nullptr;
    }
    static inline TBoxMeanwhile* current = nullptr;
};

}  // namespace

TEST_F(ProgramTest, TrayIconAndMenuShowTheWindowAgain) {
    StartWithExampleDrives();
    TMenuItem* items = MainForm->pm1->Items();
    ASSERT_EQ(items->Count(), 4);
    const char* const captions[] = {"&Show window", "&Help", "-", "E&xit"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(items->Items(i)->Caption(), captions[i]);
    TNotifyTrayIcon* tray = MainForm->NotifyTrayIcon1;
    EXPECT_TRUE(tray->IconVisible() && tray->MinimizeToTray());
    EXPECT_EQ(tray->PopupMenu(), MainForm->pm1);
    EXPECT_EQ(tray->Icon()->Width(), GetSystemMetrics(SM_CXSMICON));

    MainForm->Max1->Click();
    EXPECT_TRUE(MainForm->Visible());
    MainForm->Hide();
    SendMessageW(TNotifyTrayIcon::HandlerWindow(), WM_TRAYICONCALLBACK, reinterpret_cast<WPARAM>(tray),
                 WM_LBUTTONDBLCLK);
    EXPECT_TRUE(MainForm->Visible());
}

TEST_F(ProgramTest, ClosingAsksFirstAndYesStopsTheTimersAndTheTextIcons) {
    StartWithExampleDrives();
    StartWithExampleDrives();
    MainForm->Show();
    boxes.Answer(IDNO);
    SendMessageW(MainForm->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(boxes.Asked()[0].Text, "Are you sure to exit Vexmora now?");
    EXPECT_EQ(boxes.Asked()[0].Caption, "Vexmora");
    EXPECT_EQ(boxes.Asked()[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(MainForm->tmr1->Enabled());

    const size_t before = trayShell.messages.size();
    boxes.Answer(IDYES);
    SendMessageW(MainForm->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(MainForm->tmr1->Enabled() || MainForm->tmr2->Enabled());
    for (TTextTrayIcon* icon : MainForm->TrayIcons) EXPECT_EQ(icon, nullptr);
    EXPECT_EQ(std::count(trayShell.messages.begin() + static_cast<long>(before), trayShell.messages.end(),
                         static_cast<DWORD>(NIM_DELETE)),
              4);
    DropQuitMessage();
}

TEST_F(ProgramTest, ClosedBeforeItsFirstPaintTheWindowLeavesNoIconBehind) {
    StartWithExampleDrives();  // the drives are watched from the second start
    waitForTrayIcons = false;
    StartWithExampleDrives();
    ASSERT_TRUE(MainForm->TrayIconsHeld());
    boxes.Answer(IDYES);
    SendMessageW(MainForm->Handle(), WM_CLOSE, 0, 0);
    const size_t before = trayShell.messages.size();
    Sleep(20);
    Application->ProcessMessages();
    EXPECT_EQ(trayShell.messages.size(), before);
    EXPECT_FALSE(MainForm->NotifyTrayIcon1->IconVisible());
    DropQuitMessage();
}

TEST_F(ProgramTest, ExitEndsAtOnceWithoutAsking) {
    StartWithExampleDrives();
    MainForm->Exit1->Click();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(boxes.Asked().empty());
    DropQuitMessage();
}

// Back from the tray, by either way, the keyboard is where it was: in the
// drive list. A box that came while the window was away stands in front of
// it, and holds it until the box is answered.
TEST_F(ProgramTest, BackFromTheTrayTheKeyboardReturnsAndABoxThatCameMeanwhileStandsInFront) {
    StartWithExampleDrives();
    MainForm->Max1->Click();
    Application->ProcessMessages();
    const HWND list = MainForm->lvDrvList->Handle();
    ASSERT_EQ(GetFocus(), list);
    const std::pair<const char*, std::function<void()>> restores[] = {
        {"tray icon", DoubleClickTrayIcon},
        {"Show window", [] { MainForm->Max1->Click(); }},
        {"system restore", [] { SendMessageW(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0); }},
    };
    for (const auto& [way, restore] : restores) {
        MinimizeToTray();
        ASSERT_FALSE(MainForm->Visible()) << way;
        restore();
        Application->ProcessMessages();
        EXPECT_TRUE(MainForm->Visible()) << way;
        EXPECT_EQ(GetFocus(), list) << way;
    }

    Application->MessageBoxHandler = nullptr;
    for (const auto& [way, restore] : restores) {
        MinimizeToTray();
        TBoxMeanwhile meanwhile{restore};
        meanwhile.Run();
        ASSERT_NE(meanwhile.box, nullptr) << way;
        EXPECT_TRUE(meanwhile.boxInFront) << way;
        EXPECT_TRUE(meanwhile.formDisabled) << way;
        EXPECT_TRUE(meanwhile.boxActive) << way;
        Application->ProcessMessages();
        EXPECT_TRUE(IsWindowEnabled(MainForm->Handle())) << way;
        // Handed back as the box went, not chased afterwards.
        Application->ProcessMessages();
        EXPECT_EQ(GetForegroundWindow(), MainForm->Handle()) << way;
        EXPECT_EQ(GetFocus(), list) << way;
    }
}
