#include "app/detection.h"

#include "app/drive_size.h"
#include "classlib/core/text.h"
#include "engine/drive_reading.h"
#include "engine/wmi.h"

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

std::optional<TDetectedDrive> DetectDrive(int number, const std::array<std::string, MaxDrives>& models) {
    TDetectedDrive drive;
    drive.Model = models.at(static_cast<size_t>(number));
    if (drive.Model.empty()) return std::nullopt;
    drive.Number = number;
    drive.AlertName = DriveAlertName(number, models);
    std::string ignoredError;
    ReadDriveSmart(number, drive.Smart, ignoredError);
    drive.SizeGB = DriveSizeGB(number);
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

SmartDetector::SmartDetector(std::shared_ptr<const std::atomic<bool>> Stop, TFound Found,
                             std::function<void()> Done)
    : TThread(false), stop_(std::move(Stop)), found_(std::move(Found)), done_(std::move(Done)) {
    // Before it starts: it may end before its creator sees it again.
    SetFreeOnTerminate(true);
}

void SmartDetector::Execute() {
    std::array<std::string, MaxDrives> models;
    for (int number = 0; number < MaxDrives; ++number) {
        if (stop_->load()) return;
        try {
            GetDriveModelWmi(number, models[static_cast<size_t>(number)]);
        } catch (...) {
            // No model: the number is left out, as WMI failures are.
            models[static_cast<size_t>(number)].clear();
        }
    }
    for (int number = 0; number < MaxDrives; ++number) {
        if (stop_->load()) return;
        std::optional<TDetectedDrive> drive;
        try {
            drive = DetectDrive(number, models);
        } catch (...) {
            // The reader reports failures by result; anything else leaves
            // this number out rather than every number after it.
            continue;
        }
        if (drive && !stop_->load()) found_(std::move(*drive));
    }
    if (!stop_->load()) done_();
}
