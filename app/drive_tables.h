// What the program keeps per physical drive number 0-23: the model each
// number answered at start-up (`DriveModels`, empty = no drive) and each
// drive's temperature threshold (`TempThresholds`, 0 = not set).
#pragma once

#include <array>
#include <atomic>
#include <string>

constexpr int MaxDrives = 24;

// Written only by detection, on the GUI thread as each drive is found, before
// the refresh starts; read-only afterwards. No worker reads it.
extern std::array<std::string, MaxDrives> DriveModels;
// Lives on the GUI thread: written by the alert-settings page and the
// temperature check, read when a refresh lands. Workers never read it.
extern std::array<std::atomic<int>, MaxDrives> TempThresholds;

// Every drive number empty and every threshold 0, as at program start.
void ResetDriveTables();
