// Drags by real input from a helper thread: new rows, Ctrl to float, Esc and
// lost capture, docks freed while dragging, the floating size loop and the
// docked close button; the drags, cancels and sizes run both with and
// without full-window dragging, set through the settings seam.
#include <memory>

#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/drag_settings.h"

namespace {

class DragBase : public BarTest {
protected:
    void SetUp() override {
        BarTest::SetUp();
        form = ShownForm();
        top = NewDock(form, dpTop);
        left = NewDock(form, dpLeft);
        first = NewBar(form, top, 0, 0);
        second = NewBar(form, top, 0, 100);
        Pump();
    }
    void TearDown() override {
        EXPECT_EQ(GetCapture(), nullptr) << "a loop kept the capture";
        RECT clip{};
        GetClipCursor(&clip);
        EXPECT_EQ(TRect(clip), TRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))
            << "a loop kept the cursor clipped";
        // Nothing keeps the desktop locked.
        EXPECT_TRUE(LockWindowUpdate(form->Handle()));
        LockWindowUpdate(nullptr);
        BarTest::TearDown();
    }
    // Where the drag handle of a docked bar is, in screen coordinates.
    static TPoint Handle(TTestBar* Bar) {
        const TRect r = ScreenRect(Bar->Handle());
        return Point(r.Left + 4, r.Top + r.Height() / 2);
    }
    TPoint DockPoint(TBarDock* Dock, int X, int Y) { return Dock->ClientToScreen(Point(X, Y)); }

    TForm* form = nullptr;
    TBarDock* top = nullptr;
    TBarDock* left = nullptr;
    TTestBar* first = nullptr;
    TTestBar* second = nullptr;
};

// Live (full-window) dragging when the parameter is true, outlines otherwise.
class Drag : public DragBase, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        settings_ = std::make_unique<DragSettings>(GetParam());
        use_ = std::make_unique<TServiceOverride<TSystemSettings>>(*settings_);
        DragBase::SetUp();
    }
    void TearDown() override {
        DragBase::TearDown();
        use_.reset();
    }

private:
    std::unique_ptr<DragSettings> settings_;
    std::unique_ptr<TServiceOverride<TSystemSettings>> use_;
};

using DragOutline = DragBase;
using DragButton = DragBase;

}  // namespace

INSTANTIATE_TEST_SUITE_P(LiveAndOutline, Drag, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& Info) {
                             return Info.param ? "Live" : "Outline";
                         });

TEST_P(Drag, IntoTheFirstQuarterOfARowMakesANewRowBeforeIt) {
    const TPoint from = Handle(second);
    const TPoint to = DockPoint(top, from.X - top->ClientOrigin().X, 2);
    ASSERT_TRUE(InputScript().Move(from).Down(from).Move(Point(from.X, from.Y - 4)).Move(to).Up(to).Play());
    EXPECT_EQ(second->CurrentDock(), top);
    EXPECT_EQ(second->EffectiveRow(), 0);
    EXPECT_EQ(first->EffectiveRow(), 1);
    EXPECT_EQ(top->Height(), 52);
}

TEST_P(Drag, AlongItsRowTheBarMovesAndKeepsItsPlace) {
    const TPoint from = Handle(second);
    const TPoint to(from.X + 50, from.Y);
    ASSERT_TRUE(InputScript().Move(from).Down(from).Move(Point(from.X + 20, from.Y)).Move(to).Up(to).Play());
    EXPECT_EQ(second->EffectiveRow(), 0);
    EXPECT_EQ(second->Left(), 150);
    EXPECT_EQ(second->DockPos(), 150);  // committed
    EXPECT_EQ(first->Left(), 0);
}

TEST_P(Drag, OntoTheMiddleOfARowWithAFarStoredNumberJoinsThatRow) {
    // Stored rows 0 and 5 are effective rows 0 and 1.
    second->SetDockRow(5);
    TTestBar* third = NewBar(form, top, 0, 200);
    Pump();
    ASSERT_EQ(second->EffectiveRow(), 1);
    const TPoint from = Handle(third);
    const TPoint to = DockPoint(top, 250, 26 + 13);
    ASSERT_TRUE(InputScript().Move(from).Down(from).Move(Point(from.X + 4, from.Y)).Move(to).Up(to).Play());
    EXPECT_EQ(third->EffectiveRow(), second->EffectiveRow());
    EXPECT_EQ(third->DockRow(), second->DockRow());
    EXPECT_EQ(top->Height(), 52);
}

TEST_P(Drag, CtrlFloatsTheBarWhereItIsDropped) {
    const TPoint from = Handle(second);
    const TPoint to(from.X + 40, from.Y + 2);
    ASSERT_TRUE(InputScript()
                    .Move(from)
                    .Down(from)
                    .Key(VK_CONTROL, true)
                    .Move(Point(from.X + 20, from.Y))
                    .Move(to)
                    .Up(to)
                    .Key(VK_CONTROL, false)
                    .Play());
    EXPECT_TRUE(second->Floating());
    // The grip point stays under the cursor.
    const TRect r = ScreenRect(second->FloatingWindowParent()->Handle());
    EXPECT_TRUE(r.Contains(to));
}

TEST_P(Drag, EscapePutsTheBarBack) {
    const TPoint from = Handle(second);
    const TPoint away(from.X + 100, from.Y + 150);
    ASSERT_TRUE(InputScript()
                    .Move(from)
                    .Down(from)
                    .Move(Point(from.X, from.Y + 60))
                    .Move(away)
                    .Key(VK_ESCAPE, true)
                    .Key(VK_ESCAPE, false)
                    .Move(Point(away.X + 5, away.Y))
                    .Up(away)
                    .Play());
    EXPECT_EQ(second->CurrentDock(), top);
    EXPECT_EQ(second->Left(), 100);
    EXPECT_EQ(second->EffectiveRow(), 0);
    EXPECT_EQ(second->FloatingWindowParent(), nullptr);
}

TEST_P(Drag, LosingTheCaptureEndsTheDrag) {
    const TPoint from = Handle(second);
    HWND window = second->Handle();
    ASSERT_TRUE(InputScript()
                    .Move(from)
                    .Down(from)
                    .Move(Point(from.X + 30, from.Y + 120))
                    .Do([window] { PostMessageW(window, WM_CANCELMODE, 0, 0); })
                    .Move(Point(from.X + 60, from.Y + 140))
                    .Up(Point(from.X + 60, from.Y + 140))
                    .Play());
    EXPECT_EQ(second->CurrentDock(), top);
    EXPECT_EQ(second->Left(), 100);
}

TEST_F(DragOutline, AnOutlineDragMovesTheBarOnlyAtTheEnd) {
    DragSettings settings(false);
    TServiceOverride<TSystemSettings> use(settings);
    const TPoint from = Handle(second);
    const TPoint to(from.X + 80, from.Y + 160);
    HWND window = second->Handle();
    HWND dockWindow = top->Handle();
    std::atomic<bool> stillDocked{false};
    ASSERT_TRUE(InputScript()
                    .Move(from)
                    .Down(from)
                    .Move(Point(from.X + 40, from.Y + 80))
                    .Move(to)
                    .Do([&] { stillDocked = GetParent(window) == dockWindow; })
                    .Up(to)
                    .Play());
    EXPECT_TRUE(stillDocked) << "the window moved during an outline drag";
    EXPECT_TRUE(second->Floating());
}

TEST_P(Drag, ABarCannotFloatStaysWhereItWas) {
    second->SetDockMode(dmCannotFloat);
    const TPoint from = Handle(second);
    const TPoint away(from.X + 100, from.Y + 150);
    ASSERT_TRUE(
        InputScript().Move(from).Down(from).Move(Point(from.X, from.Y + 60)).Move(away).Up(away).Play());
    EXPECT_EQ(second->CurrentDock(), top);
    EXPECT_FALSE(second->Floating());
}

TEST_P(Drag, IntoAnotherDock) {
    const TPoint from = Handle(second);
    const TPoint to = DockPoint(left, 2, 120);
    ASSERT_TRUE(InputScript().Move(from).Down(from).Move(Point(from.X, from.Y + 60)).Move(to).Up(to).Play());
    EXPECT_EQ(second->CurrentDock(), left);
    EXPECT_EQ(second->LastDock(), left);
    EXPECT_EQ(left->Width(), second->Want.cx + 4);  // a column as wide as the bar
}

namespace {
// Frees a dock when told, from inside the drag's message loop.
class TDockKiller : public TWinControl {
    VX_CLASS(TDockKiller, TWinControl)
public:
    explicit TDockKiller(TComponent* AOwner) : TWinControl(AOwner) {}
    TBarDock* Victim = nullptr;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_USER + 7 && Victim) {
            Victim->Free();
            Victim = nullptr;
            return;
        }
        TWinControl::WndProc(Message);
    }
};
}  // namespace

TEST_P(Drag, ADockFreedDuringTheDragIsNoTargetAnyMore) {
    auto* killer = Create<TDockKiller>(form);
    killer->SetParent(form);
    killer->SetBounds(300, 200, 10, 10);
    killer->Victim = left;
    HWND killerWindow = killer->Handle();
    const TPoint from = Handle(second);
    const TPoint overLeft = DockPoint(left, 2, 120);
    ASSERT_TRUE(InputScript()
                    .Move(from)
                    .Down(from)
                    .Move(Point(from.X, from.Y + 60))
                    .Do([killerWindow] { PostMessageW(killerWindow, WM_USER + 7, 0, 0); })
                    .Move(overLeft)
                    .Move(Point(overLeft.X + 1, overLeft.Y))
                    .Up(overLeft)
                    .Play());
    EXPECT_TRUE(second->Floating());
}

TEST_P(Drag, TheSizeLoopKeepsTheLimits) {
    second->SetFloatingPosition(Point(300, 350));
    second->SetFloating(true);
    second->MaxClientWidth = 100;
    Pump();
    HWND floating = second->FloatingWindowParent()->Handle();
    TRect r = ScreenRect(floating);
    const TPoint edge(r.Right - 1, r.Top + r.Height() / 2);
    ASSERT_TRUE(InputScript()
                    .Move(edge)
                    .Down(edge)
                    .Move(Point(edge.X + 20, edge.Y))
                    .Up(Point(edge.X + 20, edge.Y))
                    .Play());
    EXPECT_EQ(second->ClientWidth(), 80);
    EXPECT_EQ(second->FloatingWindowParent()->ClientWidth(), 80);
    r = ScreenRect(floating);
    const TPoint edge2(r.Right - 1, r.Top + r.Height() / 2);
    ASSERT_TRUE(InputScript()
                    .Move(edge2)
                    .Down(edge2)
                    .Move(Point(edge2.X + 200, edge2.Y))
                    .Up(Point(edge2.X + 200, edge2.Y))
                    .Play());
    EXPECT_EQ(second->ClientWidth(), 100);  // the maximum
    // From the left edge: the right edge stays, the width cannot go below 0.
    r = ScreenRect(floating);
    const TPoint leftEdge(r.Left, r.Top + r.Height() / 2);
    ASSERT_TRUE(InputScript()
                    .Move(leftEdge)
                    .Down(leftEdge)
                    .Move(Point(leftEdge.X + 500, leftEdge.Y))
                    .Up(Point(leftEdge.X + 500, leftEdge.Y))
                    .Play());
    EXPECT_EQ(ScreenRect(floating).Right, r.Right);
    EXPECT_EQ(second->ClientWidth(), 0);
}

TEST_F(DragButton, TheDockedCloseButtonClosesOnRelease) {
    second->SetCloseButtonWhenDocked(true);
    int closed = 0;
    struct Counter {
        int* n;
        void Closed(TObject*) { ++*n; }
    } counter{&closed};
    second->OnClose = TNotifyEvent(&counter, &Counter::Closed);
    const TRect window = ScreenRect(second->Handle());
    const TRect button = second->GetDockedCloseButtonRect(false);
    const TPoint at(window.Left + button.Left + 4, window.Top + button.Top + 4);
    // Pressed and dragged off: nothing.
    ASSERT_TRUE(InputScript()
                    .Move(at)
                    .Down(at)
                    .Move(Point(at.X + 40, at.Y + 40))
                    .Up(Point(at.X + 40, at.Y + 40))
                    .Play());
    EXPECT_TRUE(second->Visible());
    // (Apart enough in time not to make a double click.)
    ASSERT_TRUE(InputScript().Do([] { Sleep(700); }).Move(at).Down(at).Up(at).Play());
    EXPECT_FALSE(second->Visible());
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(second->CloseButtonPressed());
}

TEST_P(Drag, AnExceptionInsideTheDragStillLetsEverythingGo) {
    struct Thrower {
        void Changing(TObject*, bool Floating, TBarDock*) {
            if (Floating) throw Exception("refused");
        }
    } thrower;
    second->OnDockChanging = TBarDockChangingEvent(&thrower, &Thrower::Changing);
    const TPoint from = Handle(second);
    const TPoint away(from.X + 100, from.Y + 150);
    ASSERT_TRUE(
        InputScript().Move(from).Down(from).Move(Point(from.X, from.Y + 60)).Move(away).Up(away).Play());
    EXPECT_EQ(exceptions, (std::vector<std::string>{"refused"}));
    exceptions.clear();
    EXPECT_EQ(second->CurrentDock(), top);
    EXPECT_EQ(second->FloatingWindowParent(), nullptr);
    // (The fixture checks the capture, the cursor clip and the desktop lock.)
}
