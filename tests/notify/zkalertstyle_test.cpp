#include "notify/zkalertstyle.h"

#include "tests/notify/alert_fixture.h"

namespace {

using AlertStyleTest = AlertTest;

// A bare alert window and a handler of type H on it, stepped by hand.
template <class H>
struct Stepped {
    TOwned<TZkFormDesktopAlert> form = MakeOwned<TZkFormDesktopAlert>(nullptr);
    TOwned<H> handler;
    Stepped() {
        form->HandleNeeded();
        handler.reset(Create<H>(form.get()));
        form->SetStyleHandler(handler.get());
    }
    ~Stepped() { form->SetStyleHandler(nullptr); }
    void Tick(int Times = 1) {
        for (int i = 0; i < Times; ++i) handler->Timer()->TickForTest();
    }
};

TEST_F(AlertStyleTest, FadeStepsAlphaInAndOutAndClosesTheWindow) {
    TLayeredWindowAttributesOverride layered(&AlphaRecord::Record);
    Stepped<TZkFadeAlertStyleHandler> s;
    s.form->Show();
    AlphaRecord::alphas.clear();

    s.handler->StartAnimation();
    EXPECT_EQ(s.handler->Timer()->Interval(), 25u);
    EXPECT_TRUE(GetWindowLongW(s.form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    s.Tick(10);
    EXPECT_EQ(AlphaRecord::alphas, (std::vector<int>{0, 0, 25, 51, 76, 102, 127, 153, 178, 204, 229, 255}));
    EXPECT_EQ(s.handler->State(), aasDisplaying);
    EXPECT_EQ(s.handler->Timer()->Interval(), 1400u);

    s.Tick();
    EXPECT_EQ(s.handler->State(), aasIdle);
    EXPECT_FALSE(s.handler->TimerRunning());

    AlphaRecord::alphas.clear();
    s.handler->EndAnimation();
    EXPECT_EQ(s.handler->Timer()->Interval(), 50u);
    s.Tick(9);
    EXPECT_TRUE(s.form->Visible());
    s.Tick();
    EXPECT_EQ(AlphaRecord::alphas, (std::vector<int>{255, 230, 204, 179, 153, 128, 102, 77, 51, 26, 0, 0}));
    EXPECT_FALSE(s.form->Visible());
    EXPECT_FALSE(s.handler->TimerRunning());
}

TEST_F(AlertStyleTest, AbortWhileEndingMakesTheWindowOpaqueAndLeavesItEnding) {
    TLayeredWindowAttributesOverride layered(&AlphaRecord::Record);
    Stepped<TZkFadeAlertStyleHandler> s;
    s.form->Show();
    s.handler->EndAnimation();
    s.Tick(4);
    AlphaRecord::alphas.clear();
    s.handler->AbortAnimation();
    EXPECT_EQ(AlphaRecord::alphas, std::vector<int>{255});
    EXPECT_EQ(s.handler->State(), aasEnding);
    EXPECT_FALSE(s.handler->TimerRunning());
    EXPECT_TRUE(s.form->Visible());

    // Starting and displaying are never cut short.
    s.handler->StartAnimation();
    AlphaRecord::alphas.clear();
    s.handler->AbortAnimation();
    EXPECT_TRUE(AlphaRecord::alphas.empty());
    EXPECT_TRUE(s.handler->TimerRunning());
}

TEST_F(AlertStyleTest, WithoutLayeredWindowsTheFadeOnlyShowsAndHides) {
    TLayeredWindowAttributesOverride none(nullptr);
    Stepped<TZkFadeAlertStyleHandler> s;
    s.form->Show();
    ShowWindow(s.form->Handle(), SW_HIDE);
    s.handler->StartAnimation();
    EXPECT_TRUE(IsWindowVisible(s.form->Handle()));
    EXPECT_FALSE(GetWindowLongW(s.form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    s.Tick(11);
    s.handler->EndAnimation();
    s.Tick(10);
    EXPECT_FALSE(s.form->Visible());
}

TEST(CenterGrowBox, RoundsHalvesToEvenAndCentres) {
    struct Row {
        int width, height;
        double percentage;
        TRect box;
    };
    const Row rows[] = {
        {329, 76, 0, TRect(164, 38, 164, 38)},
        {329, 76, 10, TRect(148, 34, 181, 42)},  // 32.9 x 7.6 round to 33 x 8
        {330, 76, 15, TRect(140, 32, 190, 43)},  // 49.5 goes to 50, 11.4 to 11
        {330, 76, 25, TRect(124, 28, 206, 47)},  // 82.5 goes to 82, 19 stays
        {329, 76, 100, TRect(0, 0, 329, 76)},
    };
    for (const Row& row : rows) {
        const TRect box = CenterGrowBox(row.width, row.height, row.percentage);
        EXPECT_EQ(box, row.box) << row.width << " " << row.percentage;
    }
}

TEST_F(AlertStyleTest, CenterGrowRegionFollowsEachStep) {
    Stepped<TZkCenterGrowAlertStyleHandler> s;
    s.form->Show();
    auto regionBox = [&] {
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        GetWindowRgn(s.form->Handle(), region.Get());
        RECT box{};
        GetRgnBox(region.Get(), &box);
        return TRect(box);
    };
    auto expected = [&](double p) {
        TRect box = CenterGrowBox(329, 76, p);
        return box.Width() && box.Height() ? box : TRect();
    };
    s.handler->StartAnimation();
    EXPECT_EQ(regionBox(), expected(0));
    for (int step = 1; step <= 10; ++step) {
        s.Tick();
        // The region of a step is that of the step before it; the last one
        // reaches the whole window.
        EXPECT_EQ(regionBox(), expected(step == 10 ? 100 : 10.0 * (step - 1))) << step;
    }
    s.Tick();
    s.handler->EndAnimation();
    EXPECT_EQ(regionBox(), expected(100));
    for (int step = 1; step < 10; ++step) {
        s.Tick();
        EXPECT_EQ(regionBox(), expected(100 - 10.0 * step)) << step;
    }
    s.handler->SetMaxGrowthPercentage(150);
    EXPECT_EQ(s.handler->MaxGrowthPercentage(), 100);
    s.handler->SetMinGrowthPercentage(-5);
    EXPECT_EQ(s.handler->MinGrowthPercentage(), 0);
}

// Real time: a default alert fades in, stays its display time, fades out and
// closes by itself while the cursor is elsewhere.
TEST_F(AlertStyleTest, AnAlertComesAndGoesByItself) {
    TLayeredWindowAttributesOverride layered(&AlphaRecord::Record);
    TZkDesktopAlert* alert = NewAlert();
    alert->StyleOptions()->SetDisplayDuration(300);
    alert->Execute();
    TZkFormDesktopAlert* window = alert->Window();
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(window->Handle()) != 0; }, 1000));
    EXPECT_TRUE(PumpUntil([&] { return !window->Visible(); }, 5000));
    const std::vector<int>& alphas = AlphaRecord::alphas;
    auto faded = std::find(alphas.begin(), alphas.end(), 0);
    ASSERT_NE(faded, alphas.end());
    EXPECT_NE(std::find(faded, alphas.end(), 255), alphas.end());
    EXPECT_EQ(alphas.back(), 0);
}

}  // namespace
