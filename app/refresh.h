// The 2-second temperature refresh: `SmartNew`, the worker that reads drives
// into a snapshot (drive number, temperature, result). It touches no window:
// the snapshot goes to the GUI thread, which applies it. A tick starts one
// worker per drive, so that a drive that never answers holds back only itself.
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

// Nobody waits for it: it frees itself when done and owns everything it
// touches, so a drive that takes a minute keeps neither the GUI thread nor
// the program's end waiting.
class SmartNew : public TThread {
    VX_CLASS(SmartNew, TThread)
public:
    // Starts at once. Done is called exactly once, also when reading failed
    // part way (with the readings made so far) or Stop was set.
    SmartNew(unsigned Sequence, std::vector<int> Drives, std::shared_ptr<const std::atomic<bool>> Stop,
             TRefreshDone Done);

protected:
    ~SmartNew() override = default;
    void Execute() override;

private:
    unsigned sequence_;
    std::shared_ptr<const std::atomic<bool>> stop_;
    std::vector<int> drives_;
    TRefreshDone done_;
};
