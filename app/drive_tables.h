// What the program keeps per physical drive number 0-23: the model each
// number answered at start-up (`DriveModels`, empty = no drive) and each
// drive's temperature threshold (`TempThresholds`, 0 = not set); and the
// name an alert or mail gives a drive (`DriveAlertName`).
#pragma once

#include <array>
#include <atomic>
#include <string>
#include <vector>

constexpr int MaxDrives = 24;

// Written only by detection, on the GUI thread as each drive is found, before
// the refresh starts; read-only afterwards. No worker reads it.
extern std::array<std::string, MaxDrives> DriveModels;
// Lives on the GUI thread: written by the alert-settings page and the
// temperature check, read when a refresh lands. Workers never read it.
extern std::array<std::atomic<int>, MaxDrives> TempThresholds;

// Every drive number empty and every threshold 0, as at program start.
void ResetDriveTables();

// Drive Number's model; when another of the Listed drive numbers has the
// same model (a mirrored pair of identical disks), "MODEL (drive N)", so the
// user knows which one an alert or mail is about.
std::string DriveAlertName(int Number, const std::vector<int>& Listed);
// The same, given the model of every drive number (empty: no drive).
std::string DriveAlertName(int Number, const std::array<std::string, MaxDrives>& Models);
