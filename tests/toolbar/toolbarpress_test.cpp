// A toolbar button pressed with the real mouse: the press is tracked in the
// bar's own loop, which clicks on a release over the button, cancels on one
// away from it, and ends however early the whole gesture was queued.
#include <atomic>
#include <thread>

#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/event_fn.h"
#include "toolbar/bartoolbar.h"

namespace {

// Counts the presses the bar takes; its loop runs inside each.
class TPressBar : public TBarCustomToolbar {
    VX_CLASS(TPressBar, TBarCustomToolbar)
public:
    explicit TPressBar(TComponent* AOwner) : TBarCustomToolbar(AOwner) {}
    int PressesEnded = 0;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TBarCustomToolbar::MouseDown(Button, Shift, X, Y);
        ++PressesEnded;
    }
};

class ToolbarPressTest : public BarTest {
protected:
    void SetUp() override {
        BarTest::SetUp();
        form_ = ShownForm();
        bar_ = Create<TPressBar>(form_);
        // A press on a bar that can move is a drag first; this one is fixed,
        // as a title bar's is.
        TBarDock* dock = NewDock(form_, dpTop);
        dock->SetAllowDrag(false);
        bar_->SetParent(dock);
        button_ = Create<TBarCustomItem>(form_);
        button_->SetCaption("Print");
        button_->OnClick = fns_.On<void(TObject*)>([this](TObject*) { ++clicks_; });
        bar_->Items()->Add(button_);
        Pump();
        MouseAt(Away());
        Pump();
    }
    TPoint OnButton() const {
        const TRect r = bar_->View()->Find(button_)->BoundsRect;
        POINT p{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
        ClientToScreen(bar_->Handle(), &p);
        return TPoint(p.x, p.y);
    }
    // A point on no window of this program.
    TPoint Away() const {
        RECT r{};
        GetWindowRect(form_->Handle(), &r);
        return TPoint(r.right + 40, r.bottom + 40);
    }
    static void Mouse(DWORD Flags, TPoint P) { InputScript::Mouse(Flags | MOUSEEVENTF_ABSOLUTE, P); }
    static void MouseAt(TPoint P) {
        SetCursorPos(P.X, P.Y);
        Mouse(MOUSEEVENTF_MOVE, P);
    }
    // Pumps until the bar's press loop has ended. One still running after a
    // few seconds is told to cancel by another thread, so that a hang fails
    // the test instead of stopping the run; true when it ended on its own.
    bool PressEndsByItself() {
        std::atomic<bool> finished{false}, rescued{false};
        HWND barWnd = bar_->Handle();
        std::thread watchdog([&] {
            for (int waited = 0; !finished && waited < 4000; waited += 20) Sleep(20);
            while (!finished) {
                rescued = true;
                PostMessageW(barWnd, WM_CANCELMODE, 0, 0);
                Sleep(200);
            }
        });
        const bool ended = PumpUntil([&] { return bar_->PressesEnded > 0; }, 10000);
        finished = true;
        watchdog.join();
        Pump();
        return ended && !rescued;
    }

    TForm* form_ = nullptr;
    TPressBar* bar_ = nullptr;
    TBarCustomItem* button_ = nullptr;
    TEventFns fns_;
    int clicks_ = 0;
};

TEST_F(ToolbarPressTest, AReleaseOverTheButtonClicksItAndOneAwayCancels) {
    ASSERT_TRUE(InputScript().Move(OnButton()).Down(OnButton()).Up(OnButton()).Play());
    EXPECT_EQ(bar_->PressesEnded, 1);
    EXPECT_EQ(clicks_, 1);
    ASSERT_TRUE(InputScript().Move(OnButton()).Down(OnButton()).Move(Away()).Up(Away()).Play());
    EXPECT_EQ(bar_->PressesEnded, 2);
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

// The whole gesture in the queue before anything pumps, as when a quick
// click meets a busy program.
TEST_F(ToolbarPressTest, AGestureQueuedWholeBeforeTheLoopRunsEndsItTheSameWay) {
    MouseAt(OnButton());
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, OnButton());
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, OnButton());
    EXPECT_TRUE(PressEndsByItself()) << "a click on the button";
    EXPECT_EQ(clicks_, 1);

    bar_->PressesEnded = 0;
    MouseAt(OnButton());
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, OnButton());
    Mouse(MOUSEEVENTF_MOVE, Away());
    Mouse(MOUSEEVENTF_LEFTUP, Away());
    EXPECT_TRUE(PressEndsByItself()) << "a press taken away";
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
