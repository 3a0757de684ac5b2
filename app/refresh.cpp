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
        const auto began = std::chrono::steady_clock::now();
        reading.Read = ReadDriveSmart(number, reading.Smart, ignoredError);
        reading.Took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
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

int TRefreshWork::Next() {
    std::lock_guard guard(lock_);
    current_ = next_ < drives_.size() ? drives_[next_++] : -1;
    since_ = TClock::now();
    return current_;
}

int TRefreshWork::TakeBackIfHeld(TClock::duration Held, std::vector<int>& Rest) {
    std::lock_guard guard(lock_);
    if (current_ < 0 || TClock::now() - since_ < Held) return -1;
    Rest.assign(drives_.begin() + static_cast<std::ptrdiff_t>(next_), drives_.end());
    next_ = drives_.size();
    return current_;
}

bool TRefreshWork::Pending() {
    std::lock_guard guard(lock_);
    return next_ < drives_.size();
}

SmartNew::SmartNew(unsigned Sequence, std::shared_ptr<TRefreshWork> Work,
                   std::shared_ptr<const std::atomic<bool>> Stop, TRefreshDone Done)
    : TThread(false),
      sequence_(Sequence),
      work_(std::move(Work)),
      stop_(std::move(Stop)),
      done_(std::move(Done)) {
    // Before it starts: it may end before its creator sees it again.
    SetFreeOnTerminate(true);
}

void SmartNew::Execute() {
    for (int number = work_->Next(); number >= 0; number = work_->Next()) {
        if (stop_->load()) return;
        TRefreshSnapshot snapshot;
        snapshot.Sequence = sequence_;
        snapshot.Drives = {number};
        try {
            snapshot = ReadRefreshSnapshot(sequence_, {number}, [this] { return stop_->load(); });
        } catch (...) {
            // The reader reports failures by result; anything else ends this
            // drive's read with no reading rather than the refresh for good.
        }
        done_(std::move(snapshot));
    }
}
