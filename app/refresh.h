// The 2-second temperature refresh: `SmartNew`, one worker per tick, reads
// the drives the tick gives it into snapshots (drive number, temperature,
// result) and hands each reading on as it comes. It touches no window: the
// GUI thread applies what lands. A drive that never answers holds back only
// itself: the next tick takes back the drives its worker has not reached.
#pragma once

#include <atomic>
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

// Which drive a tick's worker is at, shared with the GUI thread, which can
// take back the drives the worker has not reached yet.
class TRefreshWork {
public:
    // On the worker, before each drive: false once the rest was taken back.
    bool Begin(int Number);
    // On the GUI thread: the worker reads nothing after the drive it is at.
    // That drive, or -1 while the worker has not begun, when nothing is
    // taken back: a worker that has not run yet is not stuck.
    int TakeBackRest();

private:
    std::mutex lock_;
    int current_ = -1;
    bool takenBack_ = false;
};

// Hands a reading on as soon as it is read; runs on the worker thread.
using TRefreshDone = std::function<void(TRefreshSnapshot Snapshot)>;

// One tick's reader. Nobody waits for it: it frees itself when done and
// owns everything it touches, so a drive that takes a minute keeps neither
// the GUI thread nor the program's end waiting. Done is called once per
// drive begun, also when reading failed or Stop was set meanwhile.
class SmartNew : public TThread {
    VX_CLASS(SmartNew, TThread)
public:
    SmartNew(unsigned Sequence, std::vector<int> Drives, std::shared_ptr<TRefreshWork> Work,
             std::shared_ptr<const std::atomic<bool>> Stop, TRefreshDone Done);

protected:
    ~SmartNew() override = default;
    void Execute() override;

private:
    unsigned sequence_;
    std::vector<int> drives_;
    std::shared_ptr<TRefreshWork> work_;
    std::shared_ptr<const std::atomic<bool>> stop_;
    TRefreshDone done_;
};
