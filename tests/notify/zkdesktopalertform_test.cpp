#include "notify/zkdesktopalertform.h"

#include "classlib/stdctrls/edit.h"
#include "tests/notify/alert_fixture.h"

namespace {

using AlertWindowTest = AlertTest;

TEST_F(AlertWindowTest, HitTestDragsByTheCaptionOrAnywhereByOption) {
    struct Row {
        TZkDesktopAlertOptions options;
        int x, y;
        LRESULT expected;
    };
    // (200, 4) lies in the caption band, (200, 65) on the body under the
    // message, (50, 15) on the header label.
    const Row rows[] = {
        {{daoCanMove}, 200, 4, HTCAPTION},
        {{daoCanMove}, 200, 8, HTCAPTION},
        {{daoCanMove}, 200, 9, HTCLIENT},
        {{daoCanMove}, 5, 65, HTCLIENT},
        {{daoCanMove, daoCanMoveAnywhere}, 5, 65, HTCAPTION},
        {{daoCanMove, daoCanMoveAnywhere}, 50, 15, HTCLIENT},
        {{}, 200, 4, HTCLIENT},
        // Anywhere without move is no option at all.
        {{daoCanMoveAnywhere}, 5, 65, HTCLIENT},
    };
    for (const Row& row : rows) {
        TZkDesktopAlert* alert = NewAlert();
        alert->SetOptions(row.options);
        alert->Execute();
        TZkFormDesktopAlert* window = alert->Window();
        const TPoint at = window->ClientToScreen(Point(row.x, row.y));
        EXPECT_EQ(SendMessageW(window->Handle(), WM_NCHITTEST, 0, MAKELPARAM(at.X, at.Y)), row.expected)
            << row.x << "," << row.y;
        alert->Free();
    }
}

TEST_F(AlertWindowTest, RefusesActivationUnlessAutoFocus) {
    TZkDesktopAlert* alert = NewAlert();
    alert->Execute();
    HWND window = alert->Window()->Handle();
    EXPECT_EQ(SendMessageW(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(window), 0), MA_NOACTIVATE);
    EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0), 1);
    alert->SetAutoFocus(true);
    alert->Execute();
    EXPECT_NE(SendMessageW(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(window), 0), MA_NOACTIVATE);
}

TEST_F(AlertWindowTest, ExecuteLeavesTheActiveWindowAndFocusAlone) {
    auto main = MakeOwned<TForm>(nullptr, 0);
    main->SetBounds(50, 50, 300, 200);
    auto* edit = Create<TEdit>(main.get());
    edit->SetParent(main.get());
    main->Show();
    SetForegroundWindow(main->Handle());
    ::SetFocus(edit->Handle());
    Pump();
    ASSERT_EQ(GetFocus(), edit->Handle());

    TZkDesktopAlert* alert = NewAlert();
    alert->Execute();
    Pump();
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_EQ(GetFocus(), edit->Handle());
    HWND window = alert->Window()->Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(AlertWindowTest, ShowingLaysOutTheChildrenByOptions) {
    TZkDesktopAlert* alert = NewAlert();
    TZkFormDesktopAlert* window = alert->Window();
    alert->Execute();
    EXPECT_TRUE(window->CloseButton()->Visible());
    // No menu: no drop-down button.
    EXPECT_FALSE(window->DropDownButton()->Visible());
    EXPECT_EQ(window->CloseButton()->Left(), 329 - 17);
    EXPECT_EQ(window->HeaderLabel()->Left(), 8 + 32 + 5);
    EXPECT_EQ(window->MessageLabel()->Left(), 8 + 32 + 5 + 8);
    EXPECT_EQ(window->MessageLabel()->Top(), 13 + window->HeaderLabel()->Height());
    EXPECT_EQ(window->MessageLabel()->Width(),
              window->DropDownButton()->Left() - window->MessageLabel()->Left());

    auto* menu = Create<TPopupMenu>(alert);
    alert->SetDropDownMenu(menu);
    alert->SetOptions({daoCanClick});
    alert->Execute();
    EXPECT_FALSE(window->CloseButton()->Visible());
    EXPECT_TRUE(window->DropDownButton()->Visible());
    EXPECT_EQ(window->DropDownButton()->Left(), window->CloseButton()->Left());
    EXPECT_EQ(window->MessageLabel()->Cursor(), crHandPoint);
    EXPECT_TRUE(window->MessageLabel()->HotTrack());
    EXPECT_TRUE(window->MessageLabel()->HotTrackFont()->Style().Contains(fsUnderline));

    alert->SetOptions({daoCanClose});
    alert->Execute();
    EXPECT_FALSE(window->MessageLabel()->HotTrack());
    EXPECT_EQ(window->MessageLabel()->Cursor(), crDefault);
}

TEST_F(AlertWindowTest, TheMouseHoldsTheAlertAndItsLeavingEndsIt) {
    TZkDesktopAlert* alert = NewAlert();
    alert->StyleOptions()->SetDisplayDuration(1);
    alert->Execute();
    TZkFormDesktopAlert* window = alert->Window();
    TZkCustomDesktopAlertStyleHandler* handler = alert->StyleOptions();
    for (int i = 0; i < 10; ++i) handler->Timer()->TickForTest();
    handler->Timer()->TickForTest();
    ASSERT_EQ(handler->State(), aasIdle);

    const TPoint inside = window->ClientToScreen(Point(100, 40));
    SetCursorPos(inside.X, inside.Y);
    window->MouseTimer()->TickForTest();
    EXPECT_TRUE(window->MouseInside());
    EXPECT_EQ(handler->State(), aasIdle);
    // Leaving the message for the body is no leaving of the alert.
    window->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(window->MessageLabel()));
    EXPECT_TRUE(window->MouseInside());
    EXPECT_EQ(handler->State(), aasIdle);

    SetCursorPos(0, 0);
    window->MouseTimer()->TickForTest();
    EXPECT_EQ(handler->State(), aasEnding);
    // Coming back while it fades: opaque again, and ending once more when
    // the mouse has gone.
    window->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(handler->TimerRunning());
    window->MouseTimer()->TickForTest();
    EXPECT_TRUE(handler->TimerRunning());
}

TEST_F(AlertWindowTest, WithoutADisplayTimeTheAlertStaysUntilClosed) {
    TZkDesktopAlert* alert = NewAlert();
    alert->StyleOptions()->SetDisplayDuration(0);
    alert->Execute();
    TZkFormDesktopAlert* window = alert->Window();
    for (int i = 0; i < 10; ++i) alert->StyleOptions()->Timer()->TickForTest();
    window->MouseTimer()->TickForTest();
    window->Perform(CM_MOUSEENTER);
    window->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(alert->StyleOptions()->TimerRunning());
    EXPECT_TRUE(window->Visible());
    window->Close();
    EXPECT_FALSE(window->Visible());
}

TEST_F(AlertWindowTest, ClosingStopsTheStartAnimation) {
    TZkDesktopAlert* alert = NewAlert();
    alert->Execute();
    ASSERT_TRUE(alert->StyleOptions()->TimerRunning());
    alert->Window()->Close();
    EXPECT_FALSE(alert->StyleOptions()->TimerRunning());
    EXPECT_FALSE(alert->Window()->MouseTimer()->Enabled());
}

TEST_F(AlertWindowTest, TheMenuHoldsTheEndIntervalWhileOpen) {
    TZkDesktopAlert* alert = NewAlert();
    auto* menu = Create<TPopupMenu>(alert);
    alert->SetDropDownMenu(menu);
    alert->Execute();
    TZkFormDesktopAlert* window = alert->Window();
    TZkCustomDesktopAlertStyleHandler* handler = alert->StyleOptions();
    bool handled = false;
    window->DropDownButton()->OnDropDownMenu(window->DropDownButton(), Point(0, 0), handled);
    EXPECT_EQ(handler->EndInterval(), 0u);
    window->DropDownButton()->OnDropDownClose(window->DropDownButton());
    EXPECT_EQ(handler->EndInterval(), 50u);
    EXPECT_EQ(handler->State(), aasEnding);
}

TEST_F(AlertWindowTest, SelfReleaseOnlyForItsOwnHandle) {
    TZkDesktopAlert* alert = NewAlert();
    alert->Execute();
    TZkFormDesktopAlert* window = alert->Window();
    // A stray message naming another window, or pointing LParam anywhere,
    // frees nothing.
    SendMessageW(window->Handle(), WM_ZK_ALERT_RELEASE, 0, reinterpret_cast<LPARAM>(alert));
    SendMessageW(window->Handle(), WM_ZK_ALERT_RELEASE, reinterpret_cast<WPARAM>(GetDesktopWindow()),
                 reinterpret_cast<LPARAM>(alert));
    Pump();
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(alert->Window(), window);
}

}  // namespace
