#include "app/drive_tables.h"

std::array<std::string, MaxDrives> DriveModels;
std::array<std::atomic<int>, MaxDrives> TempThresholds{};

void ResetDriveTables() {
    for (std::string& model : DriveModels) model.clear();
    for (std::atomic<int>& threshold : TempThresholds) threshold = 0;
}
