// Mouse and keyboard: enter and leave for windowed and graphic controls,
// capture on press, clicks from real input, focus changes and the keys that
// go to the form or the application window when a control does not want them.
#include <atomic>
#include <thread>

#include "tests/classlib/windows/window_test.h"

namespace {

void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

struct EventCount {
    int clicks = 0, enters = 0, leaves = 0;
    void Click(TObject*) { ++clicks; }
    void Enter(TObject*) { ++enters; }
    void Leave(TObject*) { ++leaves; }
};

class TFocusable : public TWinControl {
    VX_CLASS(TFocusable, TWinControl)
public:
    explicit TFocusable(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }
};

}  // namespace

using Input = WindowTest;

TEST_F(Input, WindowedControlsHearTheMouseEnterAndLeave) {
    TForm* form = NewForm(50, 50, 300, 200);
    auto* box = Create<TColorBox>(form);
    box->SetParent(form);
    box->SetBounds(20, 20, 60, 60);
    form->Show();
    SetForegroundWindow(form->Handle());
    EventCount events;
    box->OnMouseEnter = TNotifyEvent(&events, &EventCount::Enter);
    box->OnMouseLeave = TNotifyEvent(&events, &EventCount::Leave);
    MessageLog formLog(form);
    const TPoint inside = box->ClientToScreen(Point(30, 30));
    const TPoint outside = form->ClientToScreen(Point(200, 150));
    SetCursorPos(outside.X, outside.Y);
    Pump();
    SetCursorPos(inside.X, inside.Y);
    ASSERT_TRUE(PumpUntil([&] { return events.enters == 1; }));
    SetCursorPos(outside.X, outside.Y);
    ASSERT_TRUE(PumpUntil([&] { return events.leaves == 1; }));
    EXPECT_EQ(events.enters, 1);
    bool parentHeard = false;
    for (const auto& m : formLog.Messages())
        if (m.Msg == CM_MOUSEENTER && m.LParam == reinterpret_cast<LPARAM>(box)) parentHeard = true;
    EXPECT_TRUE(parentHeard) << "the parent hears of it with the control in LParam";
}

TEST_F(Input, GraphicControlsHearTheMouseThroughTheirParent) {
    TForm* form = NewForm();
    auto* shape = Create<TColorShape>(form);
    shape->SetParent(form);
    shape->SetBounds(10, 10, 20, 20);
    form->HandleNeeded();
    EventCount events;
    shape->OnMouseEnter = TNotifyEvent(&events, &EventCount::Enter);
    shape->OnMouseLeave = TNotifyEvent(&events, &EventCount::Leave);
    MessageLog formLog(form);
    form->Perform(WM_MOUSEMOVE, 0, PointToLParam(100, 100));
    form->Perform(WM_MOUSEMOVE, 0, PointToLParam(15, 15));
    form->Perform(WM_MOUSEMOVE, 0, PointToLParam(16, 16));
    EXPECT_EQ(events.enters, 1);
    EXPECT_EQ(events.leaves, 0);
    form->Perform(WM_MOUSEMOVE, 0, PointToLParam(50, 50));
    EXPECT_EQ(events.leaves, 1);
    int parentEnters = 0;
    for (const auto& m : formLog.Messages())
        parentEnters += m.Msg == CM_MOUSEENTER && m.LParam == reinterpret_cast<LPARAM>(shape);
    EXPECT_EQ(parentEnters, 1);
}

TEST_F(Input, PressingCapturesTheMouseAndCaptureTakenAwayIsNoticed) {
    TForm* form = NewForm();
    auto* box = Create<TColorBox>(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 40, 40);
    form->Show();
    box->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(5, 5));
    EXPECT_EQ(GetCapture(), box->Handle());
    EXPECT_TRUE(box->MouseCapture());
    ReleaseCapture();
    EXPECT_FALSE(box->MouseCapture()) << "capture dropped through Win32 directly";
    SetCapture(form->Handle());
    EXPECT_EQ(GetCaptureControl(), form) << "capture taken through Win32 directly";
    ReleaseCapture();

    // A graphic control keeps the mouse while its button is down.
    auto* shape = Create<TColorShape>(form);
    shape->SetParent(form);
    shape->SetBounds(100, 10, 20, 20);
    std::vector<TPoint> moves;
    struct Mover {
        std::vector<TPoint>* moves;
        void Move(TObject*, TShiftState, int x, int y) { moves->push_back(Point(x, y)); }
    } mover{&moves};
    shape->OnMouseMove = TMouseMoveEvent(&mover, &Mover::Move);
    form->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(105, 15));
    EXPECT_EQ(GetCaptureControl(), shape);
    form->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(10, 10));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], Point(-90, 0)) << "in the shape's own coordinates";
    form->Perform(WM_LBUTTONUP, 0, PointToLParam(10, 10));
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(Input, ARealClickClicksAndDoubleClicksCarrySsDouble) {
    TForm* form = NewForm(60, 60, 300, 200);
    auto* box = Create<TColorBox>(form);
    box->SetParent(form);
    box->SetBounds(20, 20, 80, 60);
    form->Show();
    SetForegroundWindow(form->Handle());
    Pump();
    EventCount events;
    box->OnClick = TNotifyEvent(&events, &EventCount::Click);
    const TPoint target = box->ClientToScreen(Point(40, 30));
    std::thread clicker([target] {
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, target.X, target.Y);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    });
    clicker.join();
    EXPECT_TRUE(PumpUntil([&] { return events.clicks == 1; }));

    TShiftState shift;
    struct Downs {
        TShiftState* shift;
        void Down(TObject*, TMouseButton, TShiftState s, int, int) { *shift = s; }
    } downs{&shift};
    box->OnMouseDown = TMouseEvent(&downs, &Downs::Down);
    box->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(5, 5));
    EXPECT_TRUE(shift.Contains(ssDouble));
    box->Perform(WM_LBUTTONUP, 0, PointToLParam(5, 5));
}

TEST_F(Input, TheFormBroadcastsFocusChanges) {
    TForm* form = NewForm();
    auto* first = Create<TFocusable>(form);
    auto* second = Create<TFocusable>(form);
    for (auto* c : {first, second}) c->SetParent(form);
    first->SetBounds(0, 0, 50, 20);
    second->SetBounds(0, 30, 50, 20);
    form->Show();
    SetForegroundWindow(form->Handle());
    first->SetFocus();
    Pump();
    MessageLog firstLog(first), secondLog(second);
    EventCount exits;
    first->OnExit = TNotifyEvent(&exits, &EventCount::Leave);
    second->OnEnter = TNotifyEvent(&exits, &EventCount::Enter);
    second->SetFocus();
    Pump();
    EXPECT_EQ(form->ActiveControl(), second);
    EXPECT_TRUE(second->Focused());
    for (MessageLog* log : {&firstLog, &secondLog}) {
        bool told = false;
        for (const auto& m : log->Messages())
            if (m.Msg == CM_FOCUSCHANGED && m.LParam == reinterpret_cast<LPARAM>(second)) told = true;
        EXPECT_TRUE(told);
    }
    EXPECT_EQ(exits.leaves, 1);
    EXPECT_EQ(exits.enters, 1);
}

TEST_F(Input, UnwantedKeysGoToTheFormAndShortcutsToTheApplication) {
    TForm* form = NewForm();
    auto* first = Create<TFocusable>(form);
    auto* second = Create<TFocusable>(form);
    for (auto* c : {first, second}) c->SetParent(form);
    second->SetTop(30);
    form->Show();
    SetForegroundWindow(form->Handle());
    first->SetFocus();
    Pump();

    std::vector<UINT> seen;
    struct Hook {
        std::vector<UINT>* seen;
        bool Message(TMessage& M) {
            if (M.Msg == CM_APPKEYDOWN) seen->push_back(M.LParamAs<TMessage>()->CharCode());
            return false;
        }
    } hook{&seen};
    Application->HookMainWindow(TWindowHook(&hook, &Hook::Message));
    MessageLog formLog(form);
    PostMessageW(first->Handle(), WM_KEYDOWN, VK_F5, 0);
    PostMessageW(first->Handle(), WM_CHAR, 'k', 0);
    PostMessageW(first->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    Application->UnhookMainWindow(TWindowHook(&hook, &Hook::Message));
    EXPECT_EQ(seen, (std::vector<UINT>{VK_F5, VK_TAB}));
    EXPECT_EQ(formLog.Count(CM_DIALOGCHAR), 1);
    EXPECT_EQ(formLog.Count(CM_DIALOGKEY), 1);
    EXPECT_EQ(form->ActiveControl(), second) << "Tab moved the focus on";
}

TEST_F(Input, TheWheelIsOfferedToTheControlAndScrollingMovesTheChildren) {
    TForm* form = NewForm();
    auto* box = Create<TColorBox>(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 200, 150);
    auto* child = Create<TColorBox>(form);
    child->SetParent(box);
    child->SetBounds(10, 20, 50, 30);
    auto* shape = Create<TColorShape>(form);
    shape->SetParent(box);
    shape->SetBounds(5, 60, 20, 20);
    form->Show();
    Pump();

    MessageLog log(box);
    box->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    ASSERT_EQ(log.Count(CM_MOUSEWHEEL), 1);
    box->ScrollBy(3, -15);
    EXPECT_EQ(child->BoundsRect(), Bounds(13, 5, 50, 30));
    EXPECT_EQ(shape->BoundsRect(), Bounds(8, 45, 20, 20));
    RECT placed{};
    GetWindowRect(child->Handle(), &placed);
    MapWindowPoints(nullptr, box->Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(TRect(placed), Bounds(13, 5, 50, 30));
}

namespace {

TEST_F(Input, SettingsChangesReachEveryControlWithTheirParameters) {
    TForm* form = NewForm();
    auto* panel = Create<TColorBox>(form);
    panel->SetParent(form);
    auto* inner = Create<TColorBox>(form);
    inner->SetParent(panel);
    form->Show();
    MessageLog outer(panel), deep(inner);
    SendMessageW(form->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    ASSERT_EQ(outer.Count(CM_WININICHANGE), 1);
    ASSERT_EQ(deep.Count(CM_WININICHANGE), 1);
    for (const TMessage& m : deep.Messages())
        if (m.Msg == CM_WININICHANGE) {
            EXPECT_EQ(m.WParam, static_cast<WPARAM>(SPI_SETNONCLIENTMETRICS));
        }
}

TEST_F(Input, KeyMenuRequestsForDashAndMinimisedFormsStayWithTheWindow) {
    TForm* form = NewForm();
    form->Show();
    int requests = 0;
    struct TCounter {
        int* Count;
        bool Hook(TMessage& M) {
            if (M.Msg == CM_APPSYSCOMMAND) ++*Count;
            return false;
        }
    } counter{&requests};
    Application->HookMainWindow(TWindowHook(&counter, &TCounter::Hook));
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    EXPECT_EQ(requests, 1);
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, '-');
    EXPECT_EQ(requests, 1);
    ShowWindow(form->Handle(), SW_MINIMIZE);
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    EXPECT_EQ(requests, 1);
    Application->UnhookMainWindow(TWindowHook(&counter, &TCounter::Hook));
    ShowWindow(form->Handle(), SW_RESTORE);
}

}  // namespace
