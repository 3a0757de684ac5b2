// Timers and threads: Enabled kept apart from Interval, Queue and Synchronize
// from several workers arriving in order on the GUI thread, exceptions of
// timers and threads reaching the application.
#include <atomic>
#include <map>
#include <thread>

#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/dispatcher.h"
#include "classlib/windows/thread.h"
#include "classlib/windows/timer.h"
#include "tests/classlib/windows/window_test.h"

namespace {

struct Ticks {
    int count = 0;
    bool fail = false;
    void Tick(TObject*) {
        ++count;
        if (fail) throw EInvalidOperation("timer handler failed");
    }
};

struct Journal {
    std::vector<std::pair<int, int>> entries;  // worker, step
    std::vector<DWORD> threads;
};

class TWorker : public TThread {
    VX_CLASS(TWorker, TThread)
public:
    TWorker(Journal* journal, int id) : TThread(true), journal_(journal), id_(id) {}

protected:
    void Execute() override {
        for (step_ = 0; step_ < 40; ++step_) {
            if (step_ % 10 == 9) {
                const int before = synchronized_;
                Synchronize(TThreadMethod(this, &TWorker::Record));
                // Synchronize has run before it returns.
                if (synchronized_ != before + 1) failures_++;
            } else {
                const int step = step_;
                Journal* journal = journal_;
                const int id = id_;
                QueueOnGuiThread([journal, id, step] {
                    journal->entries.emplace_back(id, step);
                    journal->threads.push_back(GetCurrentThreadId());
                });
            }
        }
        SetReturnValue(id_);
    }

public:
    int failures_ = 0;

private:
    void Record() {
        ++synchronized_;
        journal_->entries.emplace_back(id_, step_);
        journal_->threads.push_back(GetCurrentThreadId());
    }
    Journal* journal_;
    int id_;
    int step_ = 0;
    std::atomic<int> synchronized_{0};
};

class TFailingWorker : public TThread {
    VX_CLASS(TFailingWorker, TThread)
public:
    TFailingWorker() : TThread(false) {}
    bool syncRaised = false;

protected:
    void Execute() override {
        try {
            Synchronize(TThreadMethod(this, &TFailingWorker::Fail));
        } catch (const EInvalidOperation&) {
            syncRaised = true;
        }
        throw EThread("worker failed");
    }

private:
    void Fail() { throw EInvalidOperation("synchronized method failed"); }
};

// Goes Depth bytes down its stack, a page at a time, and back.
class TDeep : public TThread {
    VX_CLASS(TDeep, TThread)
public:
    TDeep(size_t Reserve, int Depth) : TThread(true, Reserve), depth_(Depth) {}

protected:
    void Execute() override { SetReturnValue(Down(depth_ / 4096)); }

private:
    static int Down(int Pages) {
        volatile char page[4000];
        page[0] = static_cast<char>(Pages);
        return Pages == 0 ? 0 : Down(Pages - 1) + 1 + page[0] - page[0];
    }
    int depth_;
};

class TShort : public TThread {
    VX_CLASS(TShort, TThread)
public:
    TShort() : TThread(true) {}

protected:
    void Execute() override {}
};

}  // namespace

using TimersAndThreads = WindowTest;

TEST_F(TimersAndThreads, AnEnabledTimerWithIntervalZeroRunsNothing) {
    TOwned<TTimer> timer(Create<TTimer>(nullptr));
    Ticks ticks;
    timer->OnTimer = TNotifyEvent(&ticks, &Ticks::Tick);
    timer->SetInterval(0);
    EXPECT_TRUE(timer->Enabled()) << "Enabled is kept apart from Interval";
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(ticks.count, 0);
    timer->SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return ticks.count >= 2; }));
    timer->SetEnabled(false);
    Pump();
    const int stopped = ticks.count;
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(ticks.count, stopped);
}

TEST_F(TimersAndThreads, AChangedIntervalStartsTheCountAgain) {
    TOwned<TTimer> timer(Create<TTimer>(nullptr));
    Ticks ticks;
    timer->OnTimer = TNotifyEvent(&ticks, &Ticks::Tick);
    timer->SetInterval(300);
    const DWORD start = GetTickCount();
    PumpUntil([] { return false; }, 200);
    timer->SetInterval(250);
    ASSERT_TRUE(PumpUntil([&] { return ticks.count == 1; }));
    EXPECT_GE(GetTickCount() - start, 400u) << "the first 300 ms were dropped";
}

TEST_F(TimersAndThreads, AnExceptionInATimerReachesHandleException) {
    TOwned<TTimer> timer(Create<TTimer>(nullptr));
    Ticks ticks;
    ticks.fail = true;
    timer->OnTimer = TNotifyEvent(&ticks, &Ticks::Tick);
    timer->SetInterval(10);
    ASSERT_TRUE(PumpUntil([&] { return !exceptions.empty(); }));
    EXPECT_EQ(exceptions[0], "timer handler failed");
}

TEST_F(TimersAndThreads, QueueAndSynchronizeFromSeveralWorkersArriveInOrder) {
    Journal journal;
    std::vector<TOwned<TWorker>> workers;
    for (int id = 0; id < 4; ++id) workers.emplace_back(Create<TWorker>(&journal, id));
    for (auto& w : workers) w->Start();
    // A plain std::thread worker uses the same dispatcher.
    std::thread plain([&journal] {
        for (int step = 0; step < 40; ++step)
            QueueOnGuiThread([&journal, step] { journal.entries.emplace_back(9, step); });
        RunOnGuiThread([&journal] { journal.entries.emplace_back(9, 40); });
    });
    for (int id = 0; id < 4; ++id) EXPECT_EQ(workers[static_cast<size_t>(id)]->WaitFor(), id);
    plain.join();
    Pump();
    ASSERT_EQ(journal.entries.size(), 4u * 40 + 41);
    std::map<int, int> next;
    for (const auto& [worker, step] : journal.entries) {
        EXPECT_EQ(step, next[worker]) << "worker " << worker;
        next[worker] = step + 1;
    }
    for (DWORD thread : journal.threads) EXPECT_EQ(thread, GetCurrentThreadId());
    for (auto& w : workers) EXPECT_EQ(w->failures_, 0);
}

TEST_F(TimersAndThreads, ExceptionsOfThreadsReachTheRightPlace) {
    TOwned<TFailingWorker> worker(Create<TFailingWorker>());
    worker->WaitFor();
    EXPECT_TRUE(worker->syncRaised) << "a failing Synchronize raises in the worker";
    EXPECT_TRUE(worker->FatalException() != nullptr);
    ASSERT_TRUE(PumpUntil([&] { return exceptions.size() == 1; }));
    EXPECT_EQ(exceptions[0], "worker failed");
}

TEST_F(TimersAndThreads, AFreeOnTerminateThreadFreesItselfAfterOnTerminate) {
    struct Ended {
        int count = 0;
        DWORD thread = 0;
        void End(TObject*) {
            ++count;
            thread = GetCurrentThreadId();
        }
    } ended;
    auto* thread = Create<TShort>();
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = TNotifyEvent(&ended, &Ended::End);
    thread->Start();
    ASSERT_TRUE(PumpUntil([&] { return ended.count == 1; }));
    EXPECT_EQ(ended.thread, GetCurrentThreadId());
}

TEST_F(TimersAndThreads, UtilityWindowsAreHiddenTopLevelWindows) {
    struct Receiver {
        int got = 0;
        HWND window = nullptr;
        void Message(TMessage& M) {
            if (M.Msg == WM_APP + 1)
                ++got;
            else
                M.Result = DefWindowProcW(window, M.Msg, M.WParam, M.LParam);
        }
    } receiver;
    HWND window = AllocateHWnd(TWndMethod(&receiver, &Receiver::Message));
    receiver.window = window;
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(GetAncestor(window, GA_PARENT), HWND_MESSAGE);
    SendMessageW(window, WM_APP + 1, 0, 0);
    EXPECT_EQ(receiver.got, 1);
    DeallocateHWnd(window);
    EXPECT_FALSE(IsWindow(window));
}

// A thread that asks for a small stack, and gives back what it has not
// reached, still goes as deep as its reserve allows.
TEST_F(TimersAndThreads, AThreadWithASmallStackStillReachesItsWholeDepth) {
    constexpr int Depth = 200 * 1024;
    TOwned<TDeep> thread(Create<TDeep>(size_t{256 * 1024}, Depth));
    thread->Start();
    EXPECT_EQ(thread->WaitFor(), Depth / 4096);
    EXPECT_FALSE(thread->FatalException());
}
