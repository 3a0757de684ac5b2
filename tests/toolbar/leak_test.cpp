// Handles and hooks after many dock/float cycles and drags: every cycle
// gives back what it took.
#include "tests/toolbar/bar_fixture.h"

using Leaks = BarTest;

TEST_F(Leaks, DockAndFloatCyclesAndDragsLeaveTheCountsUnchanged) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    NewBar(form, dock, 0, 100);
    auto drag = [&] {
        const TRect r = ScreenRect(bar->Handle());
        const TPoint from(r.Left + 4, r.Top + r.Height() / 2);
        const TPoint away(from.X + 60, from.Y + 150);
        return InputScript()
            .Move(from)
            .Down(from)
            .Move(Point(from.X, from.Y + 60))
            .Move(away)
            .Up(away)
            .Play();
    };
    // Once around first, so that what is made once (window classes, the
    // application's hint window) is made.
    ASSERT_TRUE(drag());
    bar->SetParent(dock);
    Pump();
    const long gdi = GdiHandleCount(), user = UserHandleCount(), hooks = HookHandleCount();
    for (int i = 0; i < 1000; ++i) {
        bar->SetFloating(true);
        if (i % 100 == 0) Pump();
        bar->SetParent(dock);
    }
    Pump();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
    EXPECT_EQ(HookHandleCount(), hooks);
    for (int i = 0; i < 3; ++i) {
        const TRect r = ScreenRect(bar->Handle());
        const TPoint from(r.Left + 4, r.Top + r.Height() / 2);
        const TPoint away(from.X + 60, from.Y + 150);
        ASSERT_TRUE(
            InputScript().Move(from).Down(from).Move(Point(from.X, from.Y + 60)).Move(away).Up(away).Play());
        ASSERT_TRUE(bar->Floating());
        bar->SetParent(dock);
    }
    Pump();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
    EXPECT_EQ(HookHandleCount(), hooks);
}
