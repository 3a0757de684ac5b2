// Looking at one physical drive number at start-up: its model (by WMI), its
// S.M.A.R.T. state, its size, the texts of its drive-list row, and the first
// attribute that is not fine, which the start-up alert and log record name.
// `SmartDetector` looks at the numbers 0-23 on a worker of its own.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/drive_tables.h"
#include "classlib/windows/thread.h"
#include "engine/smart_result.h"

struct TDetectedDrive {
    int Number = -1;
    std::string Model;
    // What alerts and log records call it (DriveAlertName among the models
    // of every number, also those looked at after this one).
    std::string AlertName;
    TSmartResult Smart;
    // Whole GiB ("465"), as the information page shows it.
    std::string SizeGB;
    // The drive-list row: capacity ("465 GB"), temperature ("28"), status.
    std::string Capacity;
    std::string Temperature;
    std::string Status;
    // The first filled slot whose state is not fine, -1 when there is none.
    int WarningSlot = -1;
};

// "OK" while every filled slot is "OK" or "Always passes", "Warning" from
// the first other state on (its slot in `warningSlot`), "" with no filled
// slot.
std::string DriveStatus(const TSmartResult& smart, int& warningSlot);

// Drive number's entry, given the model WMI knows for each number (empty:
// none); nothing when it knows none for this one. A failed S.M.A.R.T. read
// still gives a drive, with what was decoded (temperature 0, no slots).
std::optional<TDetectedDrive> DetectDrive(int number, const std::array<std::string, MaxDrives>& models);

// The start-up texts for a drive in "Warning", naming it by its alert name.
std::string StartupAlertMessage(const TDetectedDrive& drive);
std::string StartupLogDescription(const TDetectedDrive& drive);

// Asks WMI for the model of every number 0-23 first (a drive's alert name
// depends on the drives after it), then reads the drives in order, each
// once, without keeping the GUI thread or the program's end waiting: nobody
// waits for it, it frees itself when done, and it owns everything it
// touches. Found gets each drive found and Done is called once at the end,
// both on the worker; Stop is read before each number, and a set Stop ends
// the run without calling Done.
class SmartDetector : public TThread {
    VX_CLASS(SmartDetector, TThread)
public:
    using TFound = std::function<void(TDetectedDrive Drive)>;
    SmartDetector(std::shared_ptr<const std::atomic<bool>> Stop, TFound Found, std::function<void()> Done);

protected:
    ~SmartDetector() override = default;
    void Execute() override;

private:
    std::shared_ptr<const std::atomic<bool>> stop_;
    TFound found_;
    std::function<void()> done_;
};
