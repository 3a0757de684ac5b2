// The 2-second temperature refresh: `SmartNew` workers read the drives a
// tick gives them into snapshots (drive number, temperature, result) and hand
// each reading on as it comes. They touch no window: the GUI thread applies
// what lands. A tick's drives are shared out by the time their last reads
// took, so that each worker's share ends within the tick, and a worker held
// longer than its share promised hands the drives it has not reached to
// another: a slow drive holds back only itself.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "classlib/windows/thread.h"
#include "engine/smart_result.h"

struct TDriveReading {
    int Number = -1;
    int Temperature = 0;  // 0 when the read failed
    bool Read = false;
    std::chrono::milliseconds Took{0};
    TSmartResult Smart;  // as read, also what a failed read decoded
};

struct TRefreshSnapshot {
    unsigned Sequence = 0;
    // The drive numbers asked for, also those left unread.
    std::vector<int> Drives;
    std::vector<TDriveReading> Readings;
};

// Reads each of the drive numbers (-1: none) in order; Stop is asked before
// each drive.
TRefreshSnapshot ReadRefreshSnapshot(unsigned Sequence, const std::vector<int>& Drives,
                                     const std::function<bool()>& Stop = {});

// The snapshots of one tick's worker that the GUI thread has yet to apply,
// merged into one.
class TLandedReadings {
public:
    explicit TLandedReadings(unsigned Sequence) { waiting_.Sequence = Sequence; }
    // True for the first snapshot since the last Take: its taker is to be called.
    bool Add(TRefreshSnapshot Snapshot);
    TRefreshSnapshot Take();

private:
    std::mutex lock_;
    TRefreshSnapshot waiting_;
};

// A drive a worker is to read, and how long its last read took.
struct TPlannedRead {
    int Number = -1;
    std::chrono::milliseconds Expected{0};
};

// Reads, in order, cut into shares whose expected times add up to at most
// Budget; a drive expected to take longer has a share of its own.
std::vector<std::vector<TPlannedRead>> SplitByReadTime(const std::vector<TPlannedRead>& Reads,
                                                       std::chrono::milliseconds Budget);

// The drives one worker is to read, shared with the GUI thread, which can
// take back those the worker has not reached when a read holds it.
class TRefreshWork {
public:
    using TClock = std::chrono::steady_clock;

    // The share is to end within Budget from now.
    TRefreshWork(std::vector<TPlannedRead> Reads, TClock::duration Budget)
        : reads_(std::move(Reads)), due_(TClock::now() + Budget) {}
    // On the worker, before each drive: the next one, -1 when none is left
    // or the rest was taken back.
    int Next();
    // On the GUI thread: when the drive being read has taken Held longer
    // than expected, or the drives after it, read as expected, would end
    // after the share is due, those drives (which the worker then no longer
    // reads); else none. A worker that has not begun is not held.
    std::vector<int> TakeBackIfLate(TClock::duration Held);
    // Drives the worker has not begun yet.
    bool Pending();

private:
    std::mutex lock_;
    std::vector<TPlannedRead> reads_;
    TClock::time_point due_;
    size_t next_ = 0;
    bool reading_ = false;
    TClock::time_point since_;
};

// Hands a reading on as soon as it is read; runs on the worker thread.
using TRefreshDone = std::function<void(TRefreshSnapshot Snapshot)>;

// One worker's part of a tick: the drives it reads, and where each reading goes.
struct TReaderShare {
    std::shared_ptr<TRefreshWork> Work;
    TRefreshDone Done;
};

// A tick's reader of the first of its shares. Nobody waits for it: it frees
// itself when done and owns everything it touches, so a drive that takes a
// minute keeps neither the GUI thread nor the program's end waiting. Done is
// called once per drive begun, also when reading failed or Stop was set
// meanwhile. The other shares go to a reader that this one starts once it
// runs: a thread new under Wine holds 1 MB until it runs, and threads
// started together wait for each other to begin.
class SmartNew : public TThread {
    VX_CLASS(SmartNew, TThread)
public:
    SmartNew(unsigned Sequence, std::vector<TReaderShare> Shares,
             std::shared_ptr<const std::atomic<bool>> Stop);

protected:
    ~SmartNew() override = default;
    void Execute() override;

private:
    void Read(const TReaderShare& Share);

    unsigned sequence_;
    std::vector<TReaderShare> shares_;
    std::shared_ptr<const std::atomic<bool>> stop_;
};
