#include "notify/zkalertstack.h"

#include "tests/notify/alert_fixture.h"

namespace {

TEST(AlertSlots, ALeavingWindowsSlotGoesToTheNextOnesThatMayMove) {
    struct Row {
        const char* slots;
        size_t removed;
        const char* held;  // windows the mouse is over
        const char* expected;
    };
    const Row rows[] = {
        {"ABC", 0, "", "BC"},
        {"ABC", 1, "", "AC"},
        {"ABC", 2, "", "AB"},
        // B stays under the mouse; C takes the gap below it.
        {"ABC", 0, "B", "CB"},
        {"ABC", 0, "C", "B.C"},
        {"ABC", 0, "BC", ".BC"},
        {"A", 0, "", ""},
    };
    for (const Row& row : rows) {
        std::string names = row.slots;
        std::vector<char*> slots;
        for (char& name : names) slots.push_back(&name);
        const std::string held = row.held;
        RemoveAlertSlot(slots, row.removed, [&](char* w) { return held.find(*w) == std::string::npos; });
        std::string result;
        for (char* w : slots) result += w ? *w : '.';
        EXPECT_EQ(result, row.expected) << row.slots << " -" << row.removed << " held " << row.held;
    }
}

using AlertStackTest = AlertTest;

TEST_F(AlertStackTest, ThreeAlertsStackUpFromTheBottomRightAndCloseTheGap) {
    TZkDesktopAlert* alerts[3];
    for (auto*& alert : alerts) {
        alert = NewAlert();
        alert->Execute();
    }
    const int x = workArea.Right - 329;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Origin(alerts[i]->Window()), Point(x, workArea.Bottom - 76 * (i + 1))) << i;

    alerts[0]->Window()->Close();
    EXPECT_EQ(Origin(alerts[1]->Window()), Point(x, workArea.Bottom - 76));
    EXPECT_EQ(Origin(alerts[2]->Window()), Point(x, workArea.Bottom - 152));
    EXPECT_EQ(ProcessAlertStack()->Slots().size(), 2u);
}

TEST_F(AlertStackTest, AnAlertUnderTheMouseKeepsItsPlace) {
    TZkDesktopAlert* alerts[3];
    for (auto*& alert : alerts) {
        alert = NewAlert();
        alert->Execute();
    }
    TZkFormDesktopAlert* middle = alerts[1]->Window();
    const TPoint over = middle->ClientToScreen(Point(100, 40));
    SetCursorPos(over.X, over.Y);
    middle->MouseTimer()->TickForTest();
    ASSERT_TRUE(middle->MouseInside());

    alerts[0]->Window()->Close();
    const int x = workArea.Right - 329;
    EXPECT_EQ(Origin(middle), Point(x, workArea.Bottom - 152));
    EXPECT_EQ(Origin(alerts[2]->Window()), Point(x, workArea.Bottom - 76));
}

TEST_F(AlertStackTest, EveryCornerStacksAwayFromIt) {
    struct Row {
        TZkDesktopAlertPosition position;
        bool right, bottom;
    };
    const Row rows[] = {{dapTopLeft, false, false},
                        {dapTopRight, true, false},
                        {dapBottomLeft, false, true},
                        {dapBottomRight, true, true}};
    for (const Row& row : rows) {
        TZkDesktopAlert* first = NewAlert();
        first->Location()->SetPosition(row.position);
        ASSERT_EQ(ProcessAlertStack()->Position(), row.position);
        first->Execute();
        TZkDesktopAlert* second = NewAlert();
        second->Execute();
        const int x = row.right ? workArea.Right - 329 : workArea.Left;
        const int y0 = row.bottom ? workArea.Bottom - 76 : workArea.Top;
        const int y1 = row.bottom ? y0 - 76 : y0 + 76;
        EXPECT_EQ(Origin(first->Window()), Point(x, y0)) << row.position;
        EXPECT_EQ(Origin(second->Window()), Point(x, y1)) << row.position;
        first->Free();
        second->Free();
        EXPECT_TRUE(ProcessAlertStack()->Slots().empty());
    }
}

TEST_F(AlertStackTest, ACustomPlaceIsKeptAndNotStacked) {
    TZkDesktopAlert* alert = NewAlert();
    alert->Location()->SetPosition(dapCustom);
    alert->Location()->SetLeft(30);
    alert->Location()->SetTop(40);
    alert->Execute();
    EXPECT_EQ(ProcessAlertStack()->Position(), dapCustom);
    EXPECT_EQ(Origin(alert->Window()), Point(30, 40));
}

TEST_F(AlertStackTest, AnAlertTheUserMovedStaysThereWithoutUnstackingTheOthers) {
    TZkDesktopAlert* moved = NewAlert();
    moved->Location()->SetAlwaysResetPosition(false);
    moved->Execute();
    SetWindowPos(moved->Window()->Handle(), nullptr, 200, 150, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(moved->Location()->Position(), dapCustom);
    EXPECT_FALSE(ProcessAlertStack()->Contains(moved->Window()));
    EXPECT_EQ(ProcessAlertStack()->Position(), dapBottomRight);

    TZkDesktopAlert* next = NewAlert();
    next->Execute();
    EXPECT_EQ(Origin(next->Window()), Point(workArea.Right - 329, workArea.Bottom - 76));
    EXPECT_EQ(Origin(moved->Window()), Point(200, 150));
}

TEST_F(AlertStackTest, AnOwnStackGivesItsCornerToTheLocation) {
    auto* stack = Create<TZkDesktopAlertStack>(owner.get());
    stack->SetPosition(dapTopLeft);
    TZkDesktopAlert* alert = NewAlert();
    alert->SetAlertStack(stack);
    EXPECT_EQ(alert->Location()->Position(), dapTopLeft);
    alert->Location()->SetPosition(dapBottomRight);
    EXPECT_EQ(alert->Location()->Position(), dapTopLeft);
    alert->Execute();
    EXPECT_EQ(Origin(alert->Window()), Point(workArea.Left, workArea.Top));
    stack->Free();
    EXPECT_EQ(alert->AlertStack(), nullptr);
}

}  // namespace
