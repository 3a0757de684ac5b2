#include "app/refresh.h"

#include <utility>

#include "engine/drive_reading.h"

TRefreshSnapshot ReadRefreshSnapshot(unsigned Sequence, const std::vector<int>& Drives,
                                     const std::function<bool()>& Stop) {
    TRefreshSnapshot snapshot;
    snapshot.Sequence = Sequence;
    snapshot.Drives = Drives;
    for (const int number : Drives) {
        if (Stop && Stop()) break;
        if (number < 0) continue;
        TDriveReading reading;
        reading.Number = number;
        std::string ignoredError;
        reading.Read = ReadDriveSmart(number, reading.Smart, ignoredError);
        // What a failed read decoded on the way is not a temperature.
        reading.Temperature = reading.Read ? reading.Smart.Temperature : 0;
        snapshot.Readings.push_back(std::move(reading));
    }
    return snapshot;
}

bool TLandedReadings::Add(TRefreshSnapshot Snapshot) {
    std::lock_guard guard(lock_);
    const bool first = waiting_.Drives.empty();
    waiting_.Drives.insert(waiting_.Drives.end(), Snapshot.Drives.begin(), Snapshot.Drives.end());
    for (TDriveReading& reading : Snapshot.Readings) waiting_.Readings.push_back(std::move(reading));
    return first;
}

TRefreshSnapshot TLandedReadings::Take() {
    std::lock_guard guard(lock_);
    TRefreshSnapshot taken;
    taken.Sequence = waiting_.Sequence;
    std::swap(taken, waiting_);
    return taken;
}

void TDriveReadRequests::Ask(unsigned Sequence, TRefreshDone Done) {
    {
        std::lock_guard guard(lock_);
        waiting_ = true;
        sequence_ = Sequence;
        done_ = std::move(Done);
    }
    asked_.notify_one();
}

void TDriveReadRequests::Stop() {
    {
        std::lock_guard guard(lock_);
        stopped_ = true;
    }
    asked_.notify_one();
}

bool TDriveReadRequests::Next(unsigned& Sequence, TRefreshDone& Done) {
    std::unique_lock guard(lock_);
    asked_.wait(guard, [this] { return waiting_ || stopped_; });
    if (stopped_) return false;
    waiting_ = false;
    Sequence = sequence_;
    Done = std::move(done_);
    return true;
}

SmartNew::SmartNew(int Number, std::shared_ptr<TDriveReadRequests> Requests,
                   std::shared_ptr<const std::atomic<bool>> Stop)
    : TThread(false), number_(Number), requests_(std::move(Requests)), stop_(std::move(Stop)) {
    // Before it starts: it may end before its creator sees it again.
    SetFreeOnTerminate(true);
}

void SmartNew::Execute() {
    unsigned sequence = 0;
    TRefreshDone done;
    while (requests_->Next(sequence, done)) {
        TRefreshSnapshot snapshot;
        snapshot.Sequence = sequence;
        snapshot.Drives = {number_};
        try {
            snapshot = ReadRefreshSnapshot(sequence, {number_}, [this] { return stop_->load(); });
        } catch (...) {
            // The reader reports failures by result; anything else ends this
            // read with no reading rather than the drive's refresh for good.
        }
        done(std::move(snapshot));
    }
}
