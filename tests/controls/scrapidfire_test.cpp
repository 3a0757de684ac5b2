#include "controls/scrapidfire.h"

#include "tests/controls/controls_fixture.h"

namespace {

class RapidFireTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        button = Add<TScRapidFireButton>(10, 10, 20, 20);
        button->OnClick = TNotifyEvent(this, &RapidFireTest::Clicked);
    }
    void Clicked(TObject*) {
        ++clicks;
        if (hideAfter && clicks >= hideAfter) button->Hide();
    }
    void Tick() { button->RepeatTimer()->TickForTest(); }

    TScRapidFireButton* button = nullptr;
    int clicks = 0;
    int hideAfter = 0;
};

TEST_F(RapidFireTest, AShortPressClicksOnceOnRelease) {
    Press(button, 5, 5);
    EXPECT_EQ(clicks, 0);
    Release(button, 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->RepeatTimer()->Enabled());
}

TEST_F(RapidFireTest, HoldingRepeatsAfterTheInitialDelayThenEveryDelay) {
    button->SetInitialDelay(300);
    button->SetDelay(40);
    Press(button, 5, 5);
    ASSERT_NE(button->RepeatTimer(), nullptr);
    EXPECT_TRUE(button->RepeatTimer()->Enabled());
    EXPECT_EQ(button->RepeatTimer()->Interval(), 300u);
    Tick();
    EXPECT_EQ(button->RepeatTimer()->Interval(), 40u);
    Tick();
    Tick();
    EXPECT_EQ(clicks, 3);

    // Dragged off, it waits; dragged back, it goes on.
    Move(button, 100, 100);
    Tick();
    EXPECT_EQ(clicks, 3);
    Move(button, 5, 5);
    Tick();
    EXPECT_EQ(clicks, 4);

    Release(button, 5, 5);
    EXPECT_EQ(clicks, 5) << "the release clicks as well";
    EXPECT_FALSE(button->RepeatTimer()->Enabled());
    // A second press starts from the initial delay again.
    Press(button, 5, 5);
    EXPECT_EQ(button->RepeatTimer()->Interval(), 300u);
    Release(button, 5, 5);
}

TEST_F(RapidFireTest, AButtonThatHidesItselfStopsRepeating) {
    hideAfter = 2;
    Press(button, 5, 5);
    Tick();
    Tick();
    EXPECT_FALSE(button->Visible());
    Tick();
    Tick();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(button->RepeatTimer()->Enabled());
}

TEST_F(RapidFireTest, LosingTheMouseOrBeingDisabledStopsRepeating) {
    Press(button, 5, 5);
    button->SetMouseCapture(false);
    Tick();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->RepeatTimer()->Enabled());

    Press(button, 5, 5);
    button->SetEnabled(false);
    Tick();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->RepeatTimer()->Enabled());
}

TEST_F(RapidFireTest, RepeatsOnTheRealTimer) {
    button->SetInitialDelay(100);
    button->SetDelay(50);
    Press(button, 5, 5);
    const DWORD start = GetTickCount();
    PumpUntil([&] { return clicks >= 3; }, 3000);
    const DWORD took = GetTickCount() - start;
    Release(button, 5, 5);
    EXPECT_GE(clicks, 3);
    EXPECT_GE(took, 150u) << "the first repeat waits for the initial delay";
}

TEST_F(RapidFireTest, ScrollStylesDrawTheirArrowGlyph) {
    struct Row {
        TScScrollStyle style;
        int width, height;
    };
    for (Row row : {Row{scsLeft, 9, 9}, Row{scsUp, 9, 6}, Row{scsRight, 9, 9}, Row{scsDown, 9, 6}}) {
        button->SetScrollStyle(row.style);
        EXPECT_EQ(button->Glyph()->Width(), row.width);
        EXPECT_EQ(button->Glyph()->Height(), row.height);
    }
    button->SetScrollStyle(scsNone);
    EXPECT_TRUE(button->Glyph()->Empty());
}

}  // namespace
