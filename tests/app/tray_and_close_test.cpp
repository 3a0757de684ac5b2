// The application's own tray icon with the tray menu, and closing: the
// question before the main window closes, and "E&xit", which asks nothing.
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
