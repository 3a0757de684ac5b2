// Floating bars: the tool window that hosts them, switching without losing
// the window, the hooks that exist only while a bar floats, visibility with
// the form and the application, and the frame's hit codes.
#include "classlib/services/systemsettings.h"
#include "tests/toolbar/bar_fixture.h"
#include "toolbar/barhook.h"

using Floating = BarTest;

TEST_F(Floating, TheToolWindowHostsTheSameBarWindow) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    HWND window = bar->Handle();
    bar->SetFloatingPosition(Point(300, 250));
    bar->SetFloating(true);
    Pump();
    TBarFloatingWindowParent* parent = bar->FloatingWindowParent();
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(bar->Handle(), window);  // kept, not made again
    EXPECT_EQ(GetParent(window), parent->Handle());
    const LONG style = GetWindowLongW(parent->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongW(parent->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindow(parent->Handle(), GW_OWNER), form->Handle());
    EXPECT_TRUE(IsWindowVisible(parent->Handle()));
    EXPECT_EQ(ScreenRect(parent->Handle()).TopLeft(), Point(300, 250));
    // The client area is the bar, undocked: no frame of its own.
    EXPECT_EQ(parent->ClientWidth(), 60);
    EXPECT_EQ(parent->ClientHeight(), 22);
    EXPECT_EQ(bar->Width(), 60);
    bar->SetParent(dock);
    EXPECT_EQ(bar->Handle(), window);
    EXPECT_EQ(bar->FloatingWindowParent(), nullptr);
    EXPECT_EQ(bar->LastDock(), dock);
}

TEST_F(Floating, DockEventsComeInOrder) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    struct Log {
        std::vector<std::string> events;
        void Changing(TObject*, bool Floating, TBarDock* To) {
            events.push_back(std::string("changing ") + (Floating ? "float" : To ? "dock" : "none"));
        }
        void Hidden(TObject*, bool, TBarDock*) { events.push_back("hidden"); }
        void Changed(TObject*) { events.push_back("changed"); }
        void Recreating(TObject*) { events.push_back("recreating"); }
        void Recreated(TObject*) { events.push_back("recreated"); }
    } log;
    bar->OnDockChanging = TBarDockChangingEvent(&log, &Log::Changing);
    bar->OnDockChangingHidden = TBarDockChangingEvent(&log, &Log::Hidden);
    bar->OnDockChanged = TNotifyEvent(&log, &Log::Changed);
    bar->OnRecreating = TNotifyEvent(&log, &Log::Recreating);
    bar->OnRecreated = TNotifyEvent(&log, &Log::Recreated);
    bar->SetFloating(true);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"hidden", "recreating", "changing float", "recreated", "changed"}));
    log.events.clear();
    bar->SetCurrentDock(dock);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"hidden", "recreating", "changing dock", "recreated", "changed"}));
}

TEST_F(Floating, HooksExistOnlyWhileABarFloats) {
    const long before = HookHandleCount();
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    TTestBar* other = NewBar(form, dock, 0, 100);
    EXPECT_EQ(HookHandleCount(), before);  // docked bars cost nothing
    bar->SetFloating(true);
    other->SetFloating(true);
    EXPECT_EQ(HookHandleCount(), before + 2);  // call-window and CBT, once
    bar->SetParent(dock);
    EXPECT_EQ(HookHandleCount(), before + 2);
    other->SetParent(dock);
    EXPECT_EQ(HookHandleCount(), before);
    other->SetFloating(true);
    other->Free();
    EXPECT_EQ(HookHandleCount(), before);
}

TEST_F(Floating, FollowsTheFormsVisibilityAndTopmostState) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetHideWhenInactive(false);
    bar->SetFloating(true);
    HWND floating = bar->FloatingWindowParent()->Handle();
    EXPECT_TRUE(IsWindowVisible(floating));
    ShowWindow(form->Handle(), SW_MINIMIZE);
    Pump();
    EXPECT_FALSE(IsWindowVisible(floating)) << "a minimised form's bar hides";
    ShowWindow(form->Handle(), SW_RESTORE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(floating)) << "and comes back with the form";
    form->Hide();
    Pump();
    EXPECT_FALSE(IsWindowVisible(floating));
    form->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(floating));
    // Topmost when the owner is.
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    bar->UpdateVisibility();
    EXPECT_TRUE(GetWindowLongW(floating, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // (Wine keeps an owned window topmost once it was: the way back is not
    // checked here.)
    // On top of all forms: owned by the application window, topmost.
    bar->SetFloatingMode(fmOnTopOfAllForms);
    EXPECT_EQ(GetWindow(floating, GW_OWNER), Application->Handle());
    EXPECT_TRUE(GetWindowLongW(floating, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Floating, HidesWhileAnotherApplicationIsActive) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetFloating(true);
    HWND floating = bar->FloatingWindowParent()->Handle();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(floating) != 0; }));
    // A window of another thread stands for another application.
    std::atomic<HWND> stranger{nullptr};
    std::atomic<bool> quit{false};
    std::thread other([&] {
        HWND w = CreateWindowW(L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
        stranger = w;
        while (!quit) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(5);
        }
        DestroyWindow(w);
    });
    while (!stranger) Sleep(5);
    SetForegroundWindow(stranger);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(floating); }));
    SetForegroundWindow(form->Handle());
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(floating) != 0; }));
    quit = true;
    other.join();
}

TEST_F(Floating, FrameHitCodes) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock, 0, 0, {120, 40});
    bar->SetFloatingPosition(Point(200, 200));
    bar->SetFloating(true);
    HWND floating = bar->FloatingWindowParent()->Handle();
    const TRect r = ScreenRect(floating);
    TSize border;
    bar->GetFloatingBorderSize(border);
    const int caption = GetSystemMetrics(SM_CYSMCAPTION);
    auto hit = [&](int x, int y) {
        return static_cast<int>(
            SendMessageW(floating, WM_NCHITTEST, 0, PointToLParam(r.Left + x, r.Top + y)));
    };
    const int w = r.Width(), h = r.Height();
    EXPECT_EQ(hit(w / 2, border.cy + caption / 2), HT_BAR_CAPTION);
    EXPECT_EQ(hit(w - border.cx - 4, border.cy + caption / 2), HT_BAR_CLOSEBUTTON);
    EXPECT_EQ(hit(0, h / 2), HTLEFT);
    EXPECT_EQ(hit(w - 1, h / 2), HTRIGHT);
    EXPECT_EQ(hit(w / 2, 0), HTTOP);
    EXPECT_EQ(hit(w / 2, h - 1), HTBOTTOM);
    EXPECT_EQ(hit(0, 0), HTTOPLEFT);
    EXPECT_EQ(hit(w - 1, h - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(w / 2, h - border.cy - 4), HTCLIENT);
    // Without a close button the whole caption drags.
    bar->SetCloseButton(false);
    EXPECT_EQ(hit(w - border.cx - 4, border.cy + caption / 2), HT_BAR_CAPTION);
    // Not resizable: no sizing codes (the frame is then thinner).
    bar->SetResizable(false);
    const TRect fixed = ScreenRect(bar->FloatingWindowParent()->Handle());
    EXPECT_EQ(SendMessageW(bar->FloatingWindowParent()->Handle(), WM_NCHITTEST, 0,
                           PointToLParam(fixed.Left, fixed.Top + fixed.Height() / 2)),
              HTNOWHERE);
    EXPECT_FALSE(GetWindowLongW(bar->FloatingWindowParent()->Handle(), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(Floating, DoubleClickTogglesBetweenDockAndFloat) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->DoubleClickToggle();
    EXPECT_TRUE(bar->Floating());
    bar->DoubleClickToggle();
    EXPECT_EQ(bar->CurrentDock(), dock);
    // Nowhere to go back to: nothing happens.
    bar->SetUseLastDock(false);
    bar->SetFloating(true);
    bar->DoubleClickToggle();
    EXPECT_TRUE(bar->Floating());
    // The default dock takes it before everything else.
    NewBar(form, dock, 0, 0);
    bar->SetDefaultDock(dock);
    bar->DoubleClickToggle();
    EXPECT_EQ(bar->CurrentDock(), dock);
    EXPECT_EQ(bar->EffectivePos(), 0);
}

TEST_F(Floating, MovedBackOnScreenWhenFullyOff) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetFloatingPosition(Point(5000, 5000));
    bar->SetFloating(true);
    bar->MoveOnScreen(true);
    const TRect r = ScreenRect(bar->FloatingWindowParent()->Handle());
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.Right, work.right);
    EXPECT_EQ(r.Bottom, work.bottom);
    // Partly visible stays unless asked.
    bar->SetFloatingPosition(Point(work.right - 10, 100));
    bar->MoveOnScreen(true);
    EXPECT_EQ(ScreenRect(bar->FloatingWindowParent()->Handle()).Left, work.right - 10);
    bar->MoveOnScreen(false);
    EXPECT_EQ(ScreenRect(bar->FloatingWindowParent()->Handle()).Right, work.right);
}

TEST_F(Floating, ClosingTheToolWindowClosesTheForm) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetFloating(true);
    SendMessageW(bar->FloatingWindowParent()->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(bar->Visible());
}

TEST_F(Floating, ActivationGoesBackToTheForm) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetFloating(true);
    Pump();
    EXPECT_EQ(GetActiveWindow(), form->Handle()) << "showing the floating window did not activate it";
    // Activated from elsewhere, it hands activation to its form.
    TForm* other = NewForm(600, 500, 100, 100);
    other->Show();
    SetActiveWindow(other->Handle());
    Pump();
    SetActiveWindow(bar->FloatingWindowParent()->Handle());
    Pump();
    EXPECT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(SendMessageW(bar->FloatingWindowParent()->Handle(), WM_MOUSEACTIVATE,
                           reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
}

namespace {
// A background that says which kind of DC it was drawn into while a bar
// handled its move.
bool inMove = false;
std::vector<DWORD> kindsDuringMove;
class TTestBackground : public TBarBasicBackground {
    VX_CLASS(TTestBackground, TBarBasicBackground)
public:
    using TBarBasicBackground::TBarBasicBackground;
    void Draw(HDC DC, const TRect& R) override {
        if (inMove) kindsDuringMove.push_back(GetObjectType(DC));
        TBrushHandle brush(CreateSolidBrush(RGB(200, 0, 0)));
        FillRect(DC, R.Win32(), brush.Get());
    }
    HPALETTE GetPalette() override { return nullptr; }
    void RegisterChanges(const TNotifyEvent&) override {}
    void SysColorChange() override {}
    void UnregisterChanges(const TNotifyEvent&) override {}
    bool UsingBackground() override { return true; }
};
struct MoveWatch {
    void Link(TMessage& Message, const TControl::TWindowProcNext& Next) {
        const bool moving = Message.Msg == WM_MOVE;
        if (moving) inMove = true;
        Next(Message);
        if (moving) inMove = false;
    }
};
}  // namespace

TEST_F(Floating, ABarMovedOnABackgroundRepaintsOffScreen) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    auto* background = Create<TTestBackground>(form);
    dock->SetBackground(background);
    TTestBar* bar = NewBar(form, dock);
    Pump();
    MoveWatch watch;
    bar->AddWindowProcLink(TControl::TWindowProcLink(&watch, &MoveWatch::Link));
    kindsDuringMove.clear();
    bar->SetDockPos(50);
    bar->RemoveWindowProcLink(TControl::TWindowProcLink(&watch, &MoveWatch::Link));
    ASSERT_FALSE(kindsDuringMove.empty());
    for (DWORD kind : kindsDuringMove) EXPECT_EQ(kind, static_cast<DWORD>(OBJ_MEMDC));
}
