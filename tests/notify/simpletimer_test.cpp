#include "notify/simpletimer.h"
#include "tests/notify/notify_fixture.h"

namespace {

struct Ticks {
    int count = 0;
    TObject* sender = nullptr;
    void Tick(TObject* Sender) {
        ++count;
        sender = Sender;
    }
    // Stops the timer at its first tick.
    void Once(TObject* Sender) {
        ++count;
        static_cast<TSimpleTimer*>(Sender)->Start(false);
    }
};

using SimpleTimerTest = NotifyWindowTest;

TEST_F(SimpleTimerTest, StartingWithIntervalZeroFailsAndStaysInactive) {
    TOwned<TSimpleTimer> timer(Create<TSimpleTimer>(0, TNotifyEvent()));
    EXPECT_FALSE(timer->Start(true));
    EXPECT_FALSE(timer->Active());
    EXPECT_EQ(SimpleTimerRunningCount(), 0);
}

TEST_F(SimpleTimerTest, TicksCallTheTimerUntilItStops) {
    Ticks ticks;
    TOwned<TSimpleTimer> timer(Create<TSimpleTimer>(10, TNotifyEvent(&ticks, &Ticks::Once)));
    EXPECT_EQ(timer->Id(), reinterpret_cast<UINT_PTR>(timer.get()));
    ASSERT_TRUE(timer->Start(true));
    EXPECT_TRUE(PumpUntil([&] { return ticks.count > 0; }));
    PumpFor(60);
    EXPECT_EQ(ticks.count, 1);
    EXPECT_FALSE(timer->Active());
}

TEST_F(SimpleTimerTest, StartingARunningTimerRestartsItAndKeepsTheCount) {
    Ticks ticks;
    TOwned<TSimpleTimer> timer(Create<TSimpleTimer>(1000, TNotifyEvent(&ticks, &Ticks::Tick)));
    timer->Start(true);
    timer->Start(true);
    EXPECT_EQ(SimpleTimerRunningCount(), 1);
    timer->Start(false);
    EXPECT_EQ(SimpleTimerRunningCount(), 0);
}

TEST_F(SimpleTimerTest, IntervalZeroOrNoHandlerStopsTheSystemTimerButStaysActive) {
    Ticks ticks;
    TOwned<TSimpleTimer> timer(Create<TSimpleTimer>(10, TNotifyEvent(&ticks, &Ticks::Tick)));
    timer->Start(true);
    timer->SetInterval(0);
    EXPECT_TRUE(timer->Active());
    EXPECT_EQ(SimpleTimerRunningCount(), 0);
    timer->SetInterval(10);
    EXPECT_EQ(SimpleTimerRunningCount(), 1);
    EXPECT_TRUE(PumpUntil([&] { return ticks.count > 0; }));
    EXPECT_EQ(ticks.sender, timer.get());
    timer->SetOnTimer(nullptr);
    EXPECT_TRUE(timer->Active());
    EXPECT_EQ(SimpleTimerRunningCount(), 0);
}

TEST_F(SimpleTimerTest, TheSharedWindowLivesAsLongAsTheTimers) {
    ASSERT_EQ(SimpleTimerWindow(), nullptr);
    TOwned<TSimpleTimer> first(Create<TSimpleTimer>());
    HWND window = SimpleTimerWindow();
    ASSERT_TRUE(IsWindow(window));
    TOwned<TSimpleTimer> second(Create<TSimpleTimer>());
    EXPECT_EQ(SimpleTimerWindow(), window);
    first.reset();
    second.reset();
    EXPECT_EQ(SimpleTimerWindow(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    TOwned<TSimpleTimer> third(Create<TSimpleTimer>());
    EXPECT_TRUE(IsWindow(SimpleTimerWindow()));
}

TEST_F(SimpleTimerTest, ATickNamingAFreedTimerIsIgnored) {
    Ticks ticks;
    TOwned<TSimpleTimer> keeper(Create<TSimpleTimer>(1000, TNotifyEvent(&ticks, &Ticks::Tick)));
    TSimpleTimer* doomed = Create<TSimpleTimer>(1000, TNotifyEvent(&ticks, &Ticks::Tick));
    const UINT_PTR id = doomed->Id();
    doomed->Free();
    // A tick already queued when the timer went away.
    PostMessageW(SimpleTimerWindow(), WM_TIMER, id, 0);
    PostMessageW(SimpleTimerWindow(), WM_TIMER, keeper->Id(), 0);
    PumpFor(30);
    EXPECT_EQ(ticks.count, 1);
    EXPECT_EQ(ticks.sender, keeper.get());
}

}  // namespace
