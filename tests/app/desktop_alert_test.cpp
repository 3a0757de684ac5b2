// The alert the actions raise: made by the main window's alert component,
// closable only, ten minutes long, left where the stack puts it, and gone
// with its window once closed.
#include "notify/zkdesktopalert.h"
#include "tests/app/watch_support.h"
#include "tests/support/pump.h"

TEST_F(WatchTest, DesktopMessageShowsAnAlertThatFreesItselfOnceClosed) {
    StartStill("");
    TServiceOverride<TDesktopAlerts> real(TDesktopAlerts::Default());
    TComponent* owner = MainForm->ZkDesktopAlert1;
    const int before = owner->ComponentCount();
    MainForm->DesktopMessage("Temperature notify", "ALPHA");
    ASSERT_EQ(owner->ComponentCount(), before + 1);
    auto* alert = dynamic_cast<TZkDesktopAlert*>(owner->Components(before));
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->HeaderText(), "ALPHA");
    EXPECT_EQ(alert->MessageText(), "Temperature notify");
    EXPECT_TRUE(alert->AutoFree());
    EXPECT_EQ(alert->Options(), TZkDesktopAlertOptions{daoCanClose});
    EXPECT_FALSE(alert->Location()->AlwaysResetPosition());
    EXPECT_EQ(alert->Location()->Position(), dapBottomRight);
    EXPECT_EQ(alert->StyleOptions()->DisplayDuration(), 600000u);
    ASSERT_NE(alert->Window(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return alert->Window()->Visible(); }));

    alert->Window()->Close();
    EXPECT_TRUE(PumpUntil([&] { return owner->ComponentCount() == before; }));
}
