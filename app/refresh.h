// The 2-second temperature refresh: `SmartNew` workers read the drives a
// tick gives them into snapshots (drive number, temperature, result) and hand
// each reading on as it comes. They touch no window: the GUI thread applies
// what lands. A drive slow to answer holds back only itself: it is read on a
// worker of its own, and a worker held by a read hands the drives it has not
// reached to another.
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

// The drives one worker is to read, shared with the GUI thread, which can
// take back those the worker has not reached when a read holds it.
class TRefreshWork {
public:
    using TClock = std::chrono::steady_clock;

    explicit TRefreshWork(std::vector<int> Drives) : drives_(std::move(Drives)) {}
    // On the worker, before each drive: the next one, -1 when none is left
    // or the rest was taken back.
    int Next();
    // On the GUI thread: when the worker has been at one drive for Held or
    // longer, that drive (else -1) and the drives after it, which the worker
    // no longer reads. A worker that has not begun is not held.
    int TakeBackIfHeld(TClock::duration Held, std::vector<int>& Rest);
    // Drives the worker has not begun yet.
    bool Pending();

private:
    std::mutex lock_;
    std::vector<int> drives_;
    size_t next_ = 0;
    int current_ = -1;
    TClock::time_point since_;
};

// Hands a reading on as soon as it is read; runs on the worker thread.
using TRefreshDone = std::function<void(TRefreshSnapshot Snapshot)>;

// A tick's reader of the drives Work holds. Nobody waits for it: it frees
// itself when done and owns everything it touches, so a drive that takes a
// minute keeps neither the GUI thread nor the program's end waiting. Done is
// called once per drive begun, also when reading failed or Stop was set
// meanwhile.
class SmartNew : public TThread {
    VX_CLASS(SmartNew, TThread)
public:
    SmartNew(unsigned Sequence, std::shared_ptr<TRefreshWork> Work,
             std::shared_ptr<const std::atomic<bool>> Stop, TRefreshDone Done);

protected:
    ~SmartNew() override = default;
    void Execute() override;

private:
    unsigned sequence_;
    std::shared_ptr<TRefreshWork> work_;
    std::shared_ptr<const std::atomic<bool>> stop_;
    TRefreshDone done_;
};
