// Looking at one physical drive number at start-up: its model (by WMI), its
// S.M.A.R.T. state, the texts of its drive-list row, and the first attribute
// that is not fine, which the start-up alert and log record name.
#pragma once

#include <optional>
#include <string>

#include "engine/smart_result.h"

struct TDetectedDrive {
    int Number = -1;
    std::string Model;
    TSmartResult Smart;
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

// Nothing when WMI knows no model for the number. A failed S.M.A.R.T. read
// still gives a drive, with what was decoded (temperature 0, no slots).
std::optional<TDetectedDrive> DetectDrive(int number);

// The start-up texts for a drive in "Warning".
std::string StartupAlertMessage(const std::string& model);
std::string StartupLogDescription(const TDetectedDrive& drive);
