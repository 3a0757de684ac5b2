#include "app/detection.h"

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
    ReadDriveSmart(access, number, drive.Smart, ignoredError);
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

// What the workers of one detection share; the last drive to end calls Done.
struct TDetectionRun {
    std::shared_ptr<const std::atomic<bool>> Stop;
    SmartDetector::TFound Found;
    std::function<void()> Done;
    std::array<std::string, MaxDrives> Models;
    std::atomic<int> Left{0};

    void DriveEnded() {
        if (--Left == 0 && !Stop->load()) Done();
    }
};

class DriveDetector : public TThread {
    VX_CLASS(DriveDetector, TThread)
public:
    DriveDetector(std::shared_ptr<TDetectionRun> Run, int Number)
        : TThread(false), run_(std::move(Run)), number_(Number) {
        // Before it starts: it may end before its creator sees it again.
        SetFreeOnTerminate(true);
    }

protected:
    ~DriveDetector() override = default;

    void Execute() override {
        try {
            Read();
        } catch (...) {
            // The reader reports failures by result; anything else leaves
            // this number out rather than the end of detection.
        }
        run_->DriveEnded();
    }

private:
    void Read() {
        const auto stopped = [this] { return run_->Stop->load(); };
        if (stopped()) return;
        // One access for the whole drive: whatever happens to the one in
        // force meanwhile, this read keeps what it reads through alive.
        const std::shared_ptr<TDriveAccess> access = CurrentDriveAccess();
        std::optional<TDetectedDrive> drive = DetectDrive(number_, run_->Models, *access, stopped);
        if (drive && !stopped()) run_->Found(std::move(*drive));
    }

    std::shared_ptr<TDetectionRun> run_;
    int number_;
};

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
    std::vector<int> present;
    for (int number = 0; number < MaxDrives; ++number)
        if (!run->Models[static_cast<size_t>(number)].empty()) present.push_back(number);
    // Counted in full before the first reader starts, so that a fast one
    // cannot end the run while others are still to come.
    run->Left = static_cast<int>(present.size()) + 1;
    for (int number : present) {
        if (stop_->load()) return;
        try {
            Create<DriveDetector>(run, number);
        } catch (...) {
            // No thread for it: the number is left out, not the rest.
            run->DriveEnded();
        }
    }
    run->DriveEnded();
}
