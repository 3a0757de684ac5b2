// The 2-second temperature refresh: `SmartNew`, a listed drive's own worker,
// reads it into a snapshot (drive number, temperature, result) whenever a
// tick asks. It touches no window: the snapshot goes to the GUI thread, which
// applies it. A drive that never answers holds back only itself.
#pragma once

#include <atomic>
#include <condition_variable>
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

// The snapshots of one tick's workers that the GUI thread has yet to apply,
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

// Hands the snapshot on; runs on the worker thread.
using TRefreshDone = std::function<void(TRefreshSnapshot Snapshot)>;

// Where the GUI thread asks one drive's reader for a reading: at most one
// request waits, and Stop ends the reader once it is not reading.
class TDriveReadRequests {
public:
    void Ask(unsigned Sequence, TRefreshDone Done);
    void Stop();
    // On the reader: waits for the next request; false once stopped.
    bool Next(unsigned& Sequence, TRefreshDone& Done);

private:
    std::mutex lock_;
    std::condition_variable asked_;
    bool waiting_ = false;
    bool stopped_ = false;
    unsigned sequence_ = 0;
    TRefreshDone done_;
};

// The reader of one listed drive, from its listing to the program's end, so
// that a tick starts no thread. Nobody waits for it: it frees itself when
// done and owns everything it touches, so a drive that takes a minute keeps
// neither the GUI thread nor the program's end waiting. Each request's Done
// is called exactly once, also when reading failed or Stop was set.
class SmartNew : public TThread {
    VX_CLASS(SmartNew, TThread)
public:
    SmartNew(int Number, std::shared_ptr<TDriveReadRequests> Requests,
             std::shared_ptr<const std::atomic<bool>> Stop);

protected:
    ~SmartNew() override = default;
    void Execute() override;

private:
    int number_;
    std::shared_ptr<TDriveReadRequests> requests_;
    std::shared_ptr<const std::atomic<bool>> stop_;
};
