#include "app/detection.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "app/drive_size.h"
#include "classlib/core/text.h"
#include "engine/drive_reading.h"
#include "engine/wmi.h"
#include "platform/drive_access.h"

std::string DriveStatus(const TSmartResult& smart, int& warningSlot) {
    warningSlot = -1;
    if (smart.AttrCount <= 0) return "";
    for (int slot = 0; slot < smart.AttrCount && slot < SmartResultSlots; ++slot) {
        if (!IsFineState(smart.AttrStatus[slot])) {
            warningSlot = slot;
            return "Warning";
        }
    }
    return "OK";
}

std::optional<TDetectedDrive> DetectDrive(int number, const std::array<std::string, MaxDrives>& models,
                                          TDriveAccess& access, const std::function<bool()>& Stop) {
    TDetectedDrive drive;
    drive.Model = models.at(static_cast<size_t>(number));
    if (drive.Model.empty()) return std::nullopt;
    drive.Number = number;
    drive.AlertName = DriveAlertName(number, models);
    std::string ignoredError;
    const auto began = std::chrono::steady_clock::now();
    ReadDriveSmart(access, number, drive.Smart, ignoredError);
    drive.ReadTook =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
    if (Stop && Stop()) return std::nullopt;
    drive.SizeGB = DriveSizeGB(access, number);
    drive.Capacity = drive.SizeGB + " GB";
    drive.Temperature = IntToStr(drive.Smart.Temperature);
    drive.Status = DriveStatus(drive.Smart, drive.WarningSlot);
    return drive;
}

std::string StartupAlertMessage(const TDetectedDrive& drive) {
    return "Hard Disk " + drive.AlertName + "  Warning Please check";
}

std::string StartupLogDescription(const TDetectedDrive& drive) {
    return drive.AlertName + " " + drive.Smart.AttrName.at(static_cast<size_t>(drive.WarningSlot));
}

namespace {

// A reader that has ended no drive for this long is taken to be held by a
// drive that does not answer: another reader takes the drives after it.
constexpr auto HeldReader = std::chrono::milliseconds(500);

// What the readers of one detection share: the drives still to read, and
// how many have ended; the last drive to end calls Done.
struct TDetectionRun {
    std::shared_ptr<const std::atomic<bool>> Stop;
    SmartDetector::TFound Found;
    std::function<void()> Done;
    std::array<std::string, MaxDrives> Models;
    std::vector<int> Drives;
    std::mutex Lock;
    std::condition_variable Ended;
    size_t Next = 0;
    unsigned EndedCount = 0;
    std::atomic<int> Left{0};

    // The next drive to read, -1 when none is left.
    int Take() {
        std::lock_guard guard(Lock);
        return Next < Drives.size() ? Drives[Next++] : -1;
    }
    void DriveEnded() {
        {
            std::lock_guard guard(Lock);
            ++EndedCount;
        }
        Ended.notify_all();
        if (--Left == 0 && !Stop->load()) Done();
    }
};

// Reads the run's drives one after another until none is left.
class DriveDetector : public TThread {
    VX_CLASS(DriveDetector, TThread)
public:
    explicit DriveDetector(std::shared_ptr<TDetectionRun> Run)
        : TThread(false, DriveReaderStackReserve), run_(std::move(Run)) {
        // Before it starts: it may end before its creator sees it again.
        SetFreeOnTerminate(true);
    }

protected:
    ~DriveDetector() override = default;

    void Execute() override {
        for (int number = run_->Take(); number >= 0; number = run_->Take()) {
            try {
                Read(number);
            } catch (...) {
                // The reader reports failures by result; anything else leaves
                // this number out rather than the end of detection.
            }
            run_->DriveEnded();
        }
    }

private:
    void Read(int Number) {
        const auto stopped = [this] { return run_->Stop->load(); };
        if (stopped()) return;
        // One access for the whole drive: whatever happens to the one in
        // force meanwhile, this read keeps what it reads through alive.
        const std::shared_ptr<TDriveAccess> access = CurrentDriveAccess();
        std::optional<TDetectedDrive> drive = DetectDrive(Number, run_->Models, *access, stopped);
        if (drive && !stopped()) run_->Found(std::move(*drive));
    }

    std::shared_ptr<TDetectionRun> run_;
};

bool StartReader(const std::shared_ptr<TDetectionRun>& Run) {
    try {
        Create<DriveDetector>(Run);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

SmartDetector::SmartDetector(std::shared_ptr<const std::atomic<bool>> Stop, TFound Found,
                             std::function<void()> Done)
    : TThread(false), stop_(std::move(Stop)), found_(std::move(Found)), done_(std::move(Done)) {
    // Before it starts: it may end before its creator sees it again.
    SetFreeOnTerminate(true);
}

void SmartDetector::Execute() {
    auto run = std::make_shared<TDetectionRun>();
    run->Stop = stop_;
    run->Found = std::move(found_);
    run->Done = std::move(done_);
    for (int number = 0; number < MaxDrives; ++number) {
        if (stop_->load()) return;
        try {
            GetDriveModelWmi(number, run->Models[static_cast<size_t>(number)]);
        } catch (...) {
            // No model: the number is left out, as WMI failures are.
            run->Models[static_cast<size_t>(number)].clear();
        }
    }
    for (int number = 0; number < MaxDrives; ++number)
        if (!run->Models[static_cast<size_t>(number)].empty()) run->Drives.push_back(number);
    // Counted in full before the first reader starts, so that a fast one
    // cannot end the run while others are still to come.
    run->Left = static_cast<int>(run->Drives.size()) + 1;
    // One reader while drives answer, as a thread each would crowd the
    // start; one more each time the readers are held.
    const auto over = [&] { return run->Next >= run->Drives.size() || stop_->load(); };
    std::unique_lock guard(run->Lock);
    while (!over()) {
        guard.unlock();
        const bool started = StartReader(run);
        guard.lock();
        if (!started) {
            // No thread for it: a drive is left out, not the rest.
            if (over()) break;
            ++run->Next;
            guard.unlock();
            run->DriveEnded();
            guard.lock();
            continue;
        }
        // On while drives keep ending.
        for (;;) {
            const unsigned seen = run->EndedCount;
            if (!run->Ended.wait_for(guard, HeldReader, [&] { return run->EndedCount != seen || over(); }) ||
                over())
                break;
        }
    }
    guard.unlock();
    run->DriveEnded();
}
