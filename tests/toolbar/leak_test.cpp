// Handles and hooks after many dock/float cycles and drags (with outlines
// and with whole windows): every cycle gives back what it took.
#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/drag_settings.h"

using Leaks = BarTest;

TEST_F(Leaks, DockAndFloatCyclesAndDragsLeaveTheCountsUnchanged) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    NewBar(form, dock, 0, 100);
    // A drag that floats the bar, then docks it again.
    auto drag = [&](bool Full) {
        DragSettings settings(Full);
        TServiceOverride<TSystemSettings> use(settings);
        const TRect r = ScreenRect(bar->Handle());
        const TPoint from(r.Left + 4, r.Top + r.Height() / 2);
        const TPoint away(from.X + 60, from.Y + 150);
        const bool played =
            InputScript().Move(from).Down(from).Move(Point(from.X, from.Y + 60)).Move(away).Up(away).Play();
        const bool floated = bar->Floating();
        bar->SetParent(dock);
        return played && floated;
    };
    // Once around first, so that what is made once (window classes, the
    // application's hint window) is made.
    for (bool full : {false, true}) ASSERT_TRUE(drag(full));
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
    for (bool full : {false, true}) {
        SCOPED_TRACE(full ? "whole windows" : "outlines");
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(drag(full));
    }
    Pump();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
    EXPECT_EQ(HookHandleCount(), hooks);
}
