#include "app/refresh.h"

#include "engine/drive_reading.h"

TRefreshSnapshot ReadRefreshSnapshot(unsigned Sequence, const std::vector<int>& RowDrives,
                                     const std::function<bool()>& Stop) {
    TRefreshSnapshot snapshot;
    snapshot.Sequence = Sequence;
    for (size_t row = 0; row < RowDrives.size(); ++row) {
        if (Stop && Stop()) break;
        const int number = RowDrives[row];
        if (number < 0) continue;
        TDriveReading reading;
        reading.Row = static_cast<int>(row);
        reading.Number = number;
        std::string ignoredError;
        reading.Read = ReadDriveSmart(number, reading.Smart, ignoredError);
        // What a failed read decoded on the way is not a temperature.
        reading.Temperature = reading.Read ? reading.Smart.Temperature : 0;
        snapshot.Readings.push_back(std::move(reading));
    }
    return snapshot;
}

SmartNew::SmartNew(unsigned Sequence, std::vector<int> RowDrives,
                   std::shared_ptr<const std::atomic<bool>> Stop, TRefreshDone Done)
    : TThread(false),
      sequence_(Sequence),
      stop_(std::move(Stop)),
      rowDrives_(std::move(RowDrives)),
      done_(std::move(Done)) {
    // Before it starts: it may end before its creator sees it again.
    SetFreeOnTerminate(true);
}

void SmartNew::Execute() {
    TRefreshSnapshot snapshot;
    snapshot.Sequence = sequence_;
    try {
        snapshot = ReadRefreshSnapshot(sequence_, rowDrives_, [this] { return stop_->load(); });
    } catch (...) {
        // The reader reports failures by result; anything else ends this
        // round with no readings rather than the refresh for good.
        snapshot.Readings.clear();
    }
    done_(std::move(snapshot));
}
