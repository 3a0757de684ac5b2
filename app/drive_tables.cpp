#include "app/drive_tables.h"

#include "classlib/core/text.h"

std::array<std::string, MaxDrives> DriveModels;
std::array<std::atomic<int>, MaxDrives> TempThresholds{};

void ResetDriveTables() {
    for (std::string& model : DriveModels) model.clear();
    for (std::atomic<int>& threshold : TempThresholds) threshold = 0;
}

std::string DriveAlertName(int Number, const std::vector<int>& Listed) {
    if (Number < 0 || Number >= MaxDrives) return "";
    const std::string& model = DriveModels[static_cast<size_t>(Number)];
    for (int other : Listed)
        if (other != Number && other >= 0 && other < MaxDrives &&
            DriveModels[static_cast<size_t>(other)] == model)
            return Format("%s (drive %d)", model, Number);
    return model;
}
