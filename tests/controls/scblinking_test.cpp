#include "controls/scblinking.h"

#include <gtest/gtest.h>

#include <vector>

#include "classlib/windows/controls.h"

namespace {

class TBlinker : public TGraphicControl {
    VX_CLASS(TBlinker, TGraphicControl)
public:
    using TGraphicControl::TGraphicControl;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == SC_BLINKQUERY) {
            ++queries;
            Message.Result = blinking ? 1 : 0;
        } else if (Message.Msg == SC_BLINKPHASE) {
            phases.push_back(static_cast<int>(Message.WParam));
        } else {
            inherited::WndProc(Message);
        }
    }
    bool blinking = true;
    int queries = 0;
    std::vector<int> phases;
};

class BlinkingList : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(BlinkingControlsList, nullptr); }
    void TearDown() override {
        if (BlinkingControlsList) {
            for (TBlinker* each : {a.get(), b.get()}) BlinkingControlsList->Remove(each);
            FreeBlinkingControlsList();
        }
    }
    TOwned<TBlinker> a{Create<TBlinker>(nullptr)};
    TOwned<TBlinker> b{Create<TBlinker>(nullptr)};
};

TEST_F(BlinkingList, TicksAlternatePhasesAndIntervals) {
    TScBlinkingControlsList* list = NeedBlinkingControlsList();
    EXPECT_EQ(NeedBlinkingControlsList(), list);
    EXPECT_TRUE(list->State());
    EXPECT_TRUE(list->Timer()->Enabled());
    EXPECT_EQ(list->Timer()->Interval(), 500u);
    list->Add(a.get());
    list->Add(b.get());
    list->Add(a.get());
    b->blinking = false;
    list->SetIntervalOff(300);
    list->SetIntervalOn(700);

    list->Timer()->TickForTest();
    EXPECT_FALSE(list->State());
    EXPECT_EQ(list->Timer()->Interval(), 300u);
    list->Timer()->TickForTest();
    EXPECT_TRUE(list->State());
    EXPECT_EQ(list->Timer()->Interval(), 700u);

    EXPECT_EQ(a->phases, (std::vector<int>{0, 1}));
    EXPECT_EQ(a->queries, 2) << "a control added twice is asked once";
    EXPECT_EQ(b->queries, 2);
    EXPECT_TRUE(b->phases.empty()) << "only a blinking control hears the phase";
}

TEST_F(BlinkingList, LivesWhileControlsAreInIt) {
    NeedBlinkingControlsList()->Add(a.get());
    FreeBlinkingControlsList();
    ASSERT_NE(BlinkingControlsList, nullptr);
    BlinkingControlsList->Remove(a.get());
    FreeBlinkingControlsList();
    EXPECT_EQ(BlinkingControlsList, nullptr);
    FreeBlinkingControlsList();
}

}  // namespace
