// The alert the actions raise: made by the main window's alert component,
// closable only, ten minutes long, left where the stack puts it, gone with
// its window once closed, never stacked twice for one trouble, and showing
// the disk-with-warning picture.
#include "classlib/graphics/bitmap.h"
#include "notify/zkdesktopalert.h"
#include "tests/app/watch_support.h"
#include "tests/support/pump.h"

namespace {

class DesktopAlertTest : public WatchTest {
protected:
    void SetUp() override { StartStill(""); }

    TComponent* Owner() const { return MainForm->ZkDesktopAlert1; }
    TZkDesktopAlert* Alert(int Index) const {
        return dynamic_cast<TZkDesktopAlert*>(Owner()->Components(Index));
    }

    TServiceOverride<TDesktopAlerts> real_{TDesktopAlerts::Default()};
};

}  // namespace

TEST_F(DesktopAlertTest, DesktopMessageShowsAnAlertThatFreesItselfOnceClosed) {
    const int before = Owner()->ComponentCount();
    MainForm->DesktopMessage("Temperature notify", "ALPHA");
    ASSERT_EQ(Owner()->ComponentCount(), before + 1);
    TZkDesktopAlert* alert = Alert(before);
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
    EXPECT_TRUE(PumpUntil([&] { return Owner()->ComponentCount() == before; }));
}

TEST_F(DesktopAlertTest, OneAlertPerTroubleUntilItCloses) {
    const int before = Owner()->ComponentCount();
    MainForm->DesktopMessage("Temperature notify", "ALPHA");
    MainForm->DesktopMessage("Temperature notify", "ALPHA");
    EXPECT_EQ(Owner()->ComponentCount(), before + 1);
    // Another drive, or another trouble of the same drive, is news.
    MainForm->DesktopMessage("Temperature notify", "BETA");
    MainForm->DesktopMessage("Raw Read Error Rate waring", "ALPHA");
    ASSERT_EQ(Owner()->ComponentCount(), before + 3);

    Alert(before)->Window()->Close();
    ASSERT_TRUE(PumpUntil([&] { return Owner()->ComponentCount() == before + 2; }));
    // Closed while the trouble lasts: the next check brings it back.
    MainForm->DesktopMessage("Temperature notify", "ALPHA");
    ASSERT_EQ(Owner()->ComponentCount(), before + 3);
    EXPECT_EQ(Alert(before + 2)->HeaderText(), "ALPHA");
    EXPECT_EQ(Alert(before + 2)->MessageText(), "Temperature notify");
}

TEST_F(DesktopAlertTest, EveryAlertShowsTheDiskPicture) {
    auto picture = MakeOwned<TBitmap>();
    picture->LoadFromResourceName(GetModuleHandleW(nullptr), "ALERTPICTURE");
    ASSERT_EQ(picture->Width(), 32);
    ASSERT_EQ(picture->Height(), 32);
    const TColor clear = picture->PixelColor(0, 31);

    const int before = Owner()->ComponentCount();
    MainForm->DesktopMessage("Temperature notify", "ALPHA");
    MainForm->DesktopMessage("Raw Read Error Rate waring", "ALPHA");
    ASSERT_EQ(Owner()->ComponentCount(), before + 2);
    for (int index : {before, before + 1}) {
        TZkFormDesktopAlert* window = Alert(index)->Window();
        ASSERT_TRUE(PumpUntil([&] { return window->Visible(); }));
        auto painted = MakeOwned<TBitmap>();
        painted->SetSize(window->ClientWidth(), window->ClientHeight());
        window->PaintTo(painted->Canvas()->Handle(), 0, 0);
        const TRect area = window->Image()->BoundsRect();
        ASSERT_EQ(area.Width(), 32);
        ASSERT_EQ(area.Height(), 32);
        int drawn = 0, mismatched = 0, clearShown = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const TColor want = picture->PixelColor(x, y);
                const TColor got = painted->PixelColor(area.Left + x, area.Top + y);
                if (want == clear) {
                    // The alert's own background shows through.
                    if (got == clear) ++clearShown;
                } else {
                    ++drawn;
                    if (got != want) ++mismatched;
                }
            }
        EXPECT_GT(drawn, 400) << index;
        EXPECT_EQ(mismatched, 0) << index;
        EXPECT_EQ(clearShown, 0) << index;
    }
}
