#include "app/refresh.h"

#include <algorithm>
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

std::vector<std::vector<TPlannedRead>> SplitByReadTime(const std::vector<TPlannedRead>& Reads,
                                                       std::chrono::milliseconds Budget) {
    std::vector<std::vector<TPlannedRead>> shares;
    std::chrono::milliseconds taken{0};
    for (const TPlannedRead& read : Reads) {
        if (shares.empty() || taken + read.Expected > Budget) {
            shares.emplace_back();
            taken = std::chrono::milliseconds(0);
        }
        shares.back().push_back(read);
        taken += read.Expected;
    }
    return shares;
}

int TRefreshWork::Next() {
    std::lock_guard guard(lock_);
    reading_ = next_ < reads_.size();
    since_ = TClock::now();
    return reading_ ? reads_[next_++].Number : -1;
}

std::vector<int> TRefreshWork::TakeBackIfLate(TClock::duration Held) {
    std::lock_guard guard(lock_);
    std::vector<int> rest;
    if (!reading_ || next_ >= reads_.size()) return rest;
    const TClock::time_point now = TClock::now();
    const TClock::duration expected = reads_[next_ - 1].Expected;
    TClock::time_point end = std::max(now, since_ + expected);
    for (size_t i = next_; i < reads_.size(); ++i) end += reads_[i].Expected;
    if (now - since_ < expected + Held && end <= due_) return rest;
    for (size_t i = next_; i < reads_.size(); ++i) rest.push_back(reads_[i].Number);
    next_ = reads_.size();
    return rest;
}

bool TRefreshWork::Pending() {
    std::lock_guard guard(lock_);
    return next_ < reads_.size();
}

SmartNew::SmartNew(unsigned Sequence, std::vector<TReaderShare> Shares,
                   std::shared_ptr<const std::atomic<bool>> Stop)
    : TThread(false, DriveReaderStackReserve),
      sequence_(Sequence),
      shares_(std::move(Shares)),
      stop_(std::move(Stop)) {
    // Before it starts: it may end before its creator sees it again.
    SetFreeOnTerminate(true);
}

void SmartNew::Execute() {
    if (shares_.size() > 1) {
        try {
            Create<SmartNew>(sequence_, std::vector<TReaderShare>(shares_.begin() + 1, shares_.end()), stop_);
            shares_.resize(1);
        } catch (...) {
            // No thread for them: they are read here, after this one's own.
        }
    }
    for (const TReaderShare& share : shares_) Read(share);
}

void SmartNew::Read(const TReaderShare& Share) {
    for (int number = Share.Work->Next(); number >= 0; number = Share.Work->Next()) {
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
        Share.Done(std::move(snapshot));
    }
}
