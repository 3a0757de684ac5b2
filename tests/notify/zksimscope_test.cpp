// The scope chart drawn into its picture and read back: scrolling, the full
// redraw agreeing with the ticks, the picture made only at the first paint,
// setter rules, sizes and ranges that must neither divide by zero nor hang,
// the timer, and handle counts.
#include <atomic>
#include <cstdio>
#include <thread>

#include "classlib/graphics/handles.h"
#include "classlib/windows/forms.h"
#include "notify/zksimscope.h"
#include "tests/notify/notify_fixture.h"

namespace {

// Ends the test program when a scenario runs past its deadline, so that a
// hang fails instead of stalling the run.
class TDeadline {
public:
    TDeadline(int Milliseconds, const char* What)
        : watchdog_([this, Milliseconds, What] {
              const DWORD end = GetTickCount() + Milliseconds;
              while (!done_) {
                  if (static_cast<int>(end - GetTickCount()) <= 0) {
                      std::fprintf(stderr, "%s did not finish within %d ms\n", What, Milliseconds);
                      std::fflush(stderr);
                      TerminateProcess(GetCurrentProcess(), 3);
                  }
                  Sleep(10);
              }
          }) {}
    ~TDeadline() {
        done_ = true;
        watchdog_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread watchdog_;
};

// A chart whose picture exists from the start, so that every tick draws.
TOwned<TZkSimScope> Chart(int Width, int Height) {
    auto scope = MakeOwned<TZkSimScope>(nullptr);
    scope->SetBounds(0, 0, Width, Height);
    scope->Picture();
    return scope;
}

std::vector<TColor> Column(TBitmap* Picture, int X) {
    std::vector<TColor> column;
    for (int y = 0; y < Picture->Height(); ++y) column.push_back(Picture->PixelColor(X, y));
    return column;
}

std::vector<std::vector<TColor>> Snapshot(TBitmap* Picture) {
    std::vector<std::vector<TColor>> columns;
    for (int x = 0; x < Picture->Width(); ++x) columns.push_back(Column(Picture, x));
    return columns;
}

// Positions that wander up and down the chart.
int Wander(int Tick) {
    return 15 + (Tick * 37) % 70;
}

TEST(ScopeChart, EachTickScrollsThePictureByTheStepDistance) {
    auto scope = Chart(200, 100);
    TZkScopeLine* line = scope->Lines()->Add();
    line->SetColor(clYellow);
    for (int t = 0; t < 30; ++t) {
        line->SetPosition(Wander(t));
        scope->UpdateDisplay();
    }
    const auto before = Snapshot(scope->Picture());
    const int d = 2, k = 5;  // 200 pixels for 200 steps, two steps a tick
    for (int t = 30; t < 30 + k; ++t) {
        line->SetPosition(Wander(t));
        scope->UpdateDisplay();
    }
    for (int x = 0; x + k * d < 200 - 2 * d; ++x)
        ASSERT_EQ(Column(scope->Picture(), x), before[x + k * d]) << "column " << x;
    // The last two values sit one step and no step from the right edge.
    EXPECT_EQ(scope->Picture()->PixelColor(198, 100 - Wander(33)), clYellow);
}

TEST(ScopeChart, AFullRedrawAfterTicksMatchesTheTickedPicture) {
    auto scope = Chart(160, 90);
    TZkScopeLine* line = scope->Lines()->Add();
    line->SetColor(clYellow);
    TZkScopeLine* absolute = scope->Lines()->Add();
    absolute->SetColor(clAqua);
    absolute->SetPositionUnit(jluAbsolute);
    // Eight ticks of two pixels make one vertical grid step of 16.
    for (int t = 0; t < 5 * 8; ++t) {
        line->SetPosition(Wander(t));
        absolute->SetPosition(t % 2 ? 5 : 10);  // stays below the other line
        scope->UpdateDisplay();
    }
    const auto ticked = Snapshot(scope->Picture());
    scope->ClearScreen();
    const auto redrawn = Snapshot(scope->Picture());
    for (int x = 0; x < 160; ++x) ASSERT_EQ(redrawn[x], ticked[x]) << "column " << x;
}

TEST(ScopeChart, ANeverPaintedChartHoldsNoPictureAndItsFirstPaintDrawsTheHistory) {
    auto drawn = Chart(160, 90);
    const long gdi = GdiHandleCount();
    auto hidden = MakeOwned<TZkSimScope>(nullptr);
    hidden->SetBounds(0, 0, 160, 90);
    std::vector<TZkSimScope*> charts{drawn.get(), hidden.get()};
    for (TZkSimScope* scope : charts) {
        scope->Lines()->Add()->SetColor(clYellow);
        scope->Lines()->Add()->SetColor(clAqua);
        scope->Lines()->Items(1)->SetPositionUnit(jluAbsolute);
    }
    int updates = 0;
    struct Counter {
        int* count;
        void Tick(TObject*) { ++*count; }
    } counter{&updates};
    hidden->OnUpdate = TNotifyEvent(&counter, &Counter::Tick);
    auto tick = [&](int From, int To) {
        for (int t = From; t < To; ++t)
            for (TZkSimScope* scope : charts) {
                scope->Lines()->Items(0)->SetPosition(Wander(t));
                scope->Lines()->Items(1)->SetPosition(t % 2 ? 5 : 10);
                scope->UpdateDisplay();
            }
    };
    // Five vertical grid steps, so that the ticked grid lies where a full
    // redraw puts it.
    tick(0, 5 * 8);
    EXPECT_EQ(GdiHandleCount(), gdi) << "no bitmap or device context before the first paint";
    EXPECT_EQ(updates, 40);
    const TZkScopeLineValues& values = hidden->Lines()->Items(0)->Values();
    EXPECT_EQ(values.Item(values.Count() - 1), Wander(39)) << "the ticks recorded the lines";

    auto target = MakeOwned<TBitmap>();
    target->SetSize(160, 90);
    hidden->Perform(WM_PAINT, reinterpret_cast<WPARAM>(target->Canvas()->Handle()));
    const auto painted = Snapshot(target.get());
    const auto ticked = Snapshot(drawn->Picture());
    for (int x = 0; x < 160; ++x) ASSERT_EQ(painted[x], ticked[x]) << "column " << x;

    // From then on the ticks draw into it as into the other.
    tick(40, 45);
    const auto later = Snapshot(hidden->Picture());
    const auto drawnLater = Snapshot(drawn->Picture());
    for (int x = 0; x < 160; ++x) ASSERT_EQ(later[x], drawnLater[x]) << "column " << x;
}

TEST(ScopeChart, GridAndBaseLineSitWhereTheSettingsPutThem) {
    auto scope = Chart(64, 100);
    scope->SetBaseLine(25);
    scope->ClearScreen();
    TBitmap* p = scope->Picture();
    EXPECT_EQ(p->PixelColor(10, 75), clRed) << "a quarter up from the bottom";
    EXPECT_EQ(p->PixelColor(10, 75 - 16), clGreen) << "horizontal grid every 16 units";
    EXPECT_EQ(p->PixelColor(10, 75 + 16), clGreen);
    EXPECT_EQ(p->PixelColor(63, 10), clGreen) << "vertical grid from the right edge";
    EXPECT_EQ(p->PixelColor(47, 10), clGreen);
    EXPECT_EQ(p->PixelColor(50, 10), clBlack);
    scope->SetBaseLine(0);
    scope->ClearScreen();
    for (int y = 0; y < 100; ++y)
        ASSERT_NE(p->PixelColor(10, y), clRed) << "the base line lies on the bottom edge";
}

TEST(ScopeChart, SetterRules) {
    auto scope = Chart(208, 120);
    scope->SetInterval(100);
    EXPECT_EQ(scope->Timer()->Interval(), 1000u);
    EXPECT_FALSE(scope->Timer()->Enabled());
    scope->SetActive(true);
    EXPECT_TRUE(scope->Timer()->Enabled());
    scope->SetActive(false);
    EXPECT_FALSE(scope->Timer()->Enabled());

    scope->SetMaximum(500);
    scope->SetTotalTimeSteps(1000);
    EXPECT_EQ(scope->Maximum(), 120) << "pixel units follow the size";
    EXPECT_EQ(scope->TotalTimeSteps(), 208);
    scope->SetBounds(0, 0, 300, 80);
    EXPECT_EQ(scope->Maximum(), 80);
    EXPECT_EQ(scope->TotalTimeSteps(), 300);
    scope->SetDisplayUnits(jduLogical);
    scope->SetMinimum(-20);
    scope->SetMaximum(500);
    scope->SetTotalTimeSteps(1000);
    EXPECT_EQ(scope->Minimum(), -20);
    EXPECT_EQ(scope->Maximum(), 500);
    EXPECT_EQ(scope->TotalTimeSteps(), 1000);
    scope->SetDisplayUnits(jduPixels);
    EXPECT_EQ(scope->Minimum(), 0);
    EXPECT_EQ(scope->Maximum(), 80);

    scope->SetHorizontalGridSize(10);
    scope->SetVerticalGridSize(12);
    EXPECT_EQ(scope->GridSize(), -1);
    scope->SetGridSize(0);
    EXPECT_EQ(scope->HorizontalGridSize(), 10) << "values below 1 are ignored";
    scope->SetGridSize(8);
    EXPECT_EQ(scope->GridSize(), 8);
    scope->SetUpdateTimeSteps(0);
    EXPECT_EQ(scope->UpdateTimeSteps(), 2);
    scope->SetUpdateTimeSteps(4);
    EXPECT_EQ(scope->UpdateTimeSteps(), 4);
}

TEST(ScopeChart, DegenerateSizesAndRangesNeitherFailNorHang) {
    {
        TDeadline deadline(5000, "a chart without width");
        auto scope = Chart(0, 120);
        scope->Lines()->Add()->SetPosition(80);
        scope->ClearScreen();
        for (int t = 0; t < 10; ++t) scope->UpdateDisplay();
        EXPECT_EQ(scope->Lines()->Items(0)->Values().Item(0), 80);
    }
    {
        TDeadline deadline(5000, "a chart without height");
        auto scope = Chart(120, 0);
        scope->Lines()->Add();
        for (int t = 0; t < 10; ++t) scope->UpdateDisplay();
        scope->ClearScreen();
    }
    {
        TDeadline deadline(5000, "maximum at or below minimum");
        auto scope = Chart(120, 100);
        scope->SetDisplayUnits(jduLogical);
        scope->SetMinimum(50);
        scope->SetMaximum(50);
        TZkScopeLine* line = scope->Lines()->Add();
        line->SetPositionUnit(jluAbsolute);
        line->SetPosition(2000000000);
        scope->SetBaseLineUnit(jluAbsolute);
        scope->ClearScreen();
        for (int t = 0; t < 10; ++t) scope->UpdateDisplay();
        scope->SetMaximum(-1000);
        scope->ClearScreen();
        line->SetPositionUnit(jluPercent);
        line->SetPosition(-2000000000);
        for (int t = 0; t < 10; ++t) scope->UpdateDisplay();
    }
    {
        TDeadline deadline(20000, "24 lines over a long time span");
        auto scope = Chart(465, 200);
        scope->SetDisplayUnits(jduLogical);
        scope->SetTotalTimeSteps(20000);
        for (int i = 0; i < 24; ++i) scope->Lines()->Add()->SetPosition(i * 4);
        for (int i = 0; i < 24; ++i)
            for (int v = 0; v < 20000; ++v) scope->Lines()->Items(i)->Values().Add(v % 100);
        for (int t = 0; t < 10; ++t) scope->UpdateDisplay();  // steps under a pixel: nothing scrolls
        scope->ClearScreen();
        EXPECT_EQ(scope->Lines()->Items(23)->Values().Item(19999), 92);
    }
}

using ScopeChartWindow = NotifyWindowTest;

TEST_F(ScopeChartWindow, TheTimerTicksWhileActiveAndPaintsTheParent) {
    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    form->SetBounds(100, 100, 300, 200);
    auto* scope = Create<TZkSimScope>(form.get());
    scope->SetParent(form.get());
    scope->SetBounds(10, 10, 208, 120);
    int updates = 0;
    struct Counter {
        int* count;
        void Tick(TObject*) { ++*count; }
    } counter{&updates};
    scope->OnUpdate = TNotifyEvent(&counter, &Counter::Tick);
    scope->Lines()->Add()->SetPosition(70);
    scope->Timer()->TickForTest();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(scope->Lines()->Items(0)->Values().Item(3), 70) << "a tick records the position twice";
    form->Show();
    scope->SetInterval(1);
    scope->SetActive(true);
    EXPECT_TRUE(PumpUntil([&] { return updates >= 4; }));
    scope->SetActive(false);
    form->Hide();
}

TEST(ScopeChartLeaks, PaintsTicksAndResizesLeaveNoHandles) {
    auto scope = Chart(208, 120);
    for (int i = 0; i < 24; ++i) scope->Lines()->Add()->SetColor(0x10000 * i + 0x40);
    auto target = MakeOwned<TBitmap>();
    target->SetSize(208, 120);
    HDC dc = target->Canvas()->Handle();
    scope->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int k = 0; k < 500; ++k) {
        scope->UpdateDisplay();
        scope->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    }
    for (int k = 0; k < 200; ++k) scope->SetBounds(0, 0, 100 + k, 50 + k % 70);
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

}  // namespace
