// Looking at one physical drive number at start-up: its model (by WMI), its
// S.M.A.R.T. state, its size, the texts of its drive-list row, and the first
// attribute that is not fine, which the start-up alert and log record name.
// `SmartDetector` looks at the numbers 0-23 on a worker of its own.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/drive_tables.h"
#include "classlib/windows/thread.h"
#include "engine/smart_result.h"

class TDriveAccess;

struct TDetectedDrive {
    int Number = -1;
    std::string Model;
    // What alerts and log records call it (DriveAlertName among the models
    // of every number, also those looked at after this one).
    std::string AlertName;
    TSmartResult Smart;
    // How long the S.M.A.R.T. read took, which the refresh plans by.
    std::chrono::milliseconds ReadTook{0};
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
// none), read through Access alone; nothing when WMI knows no model for this
// number, or when Stop is set once its S.M.A.R.T. read returns (the size
// probe would touch the drive again). A failed S.M.A.R.T. read still gives a
// drive, with what was decoded (temperature 0, no slots).
std::optional<TDetectedDrive> DetectDrive(int number, const std::array<std::string, MaxDrives>& models,
                                          TDriveAccess& access, const std::function<bool()>& Stop = {});

// The start-up texts for a drive in "Warning", naming it by its alert name.
std::string StartupAlertMessage(const TDetectedDrive& drive);
std::string StartupLogDescription(const TDetectedDrive& drive);

// Asks WMI for the model of every number 0-23 first (a drive's alert name
// depends on the drives after it), then reads the drives found on one
// worker, and on one more each time the workers have ended no drive for half
// a second, so that a drive that never answers holds back only itself.
// Nobody waits for them: each frees itself when done and owns everything it
// touches. Found gets each drive as soon as its read returns and Done is
// called once after the last one, both on a worker; Stop is read before
// each step, and a set Stop ends the run without calling either again.
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
