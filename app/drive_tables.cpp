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
    std::array<std::string, MaxDrives> listed;
    for (int other : Listed)
        if (other >= 0 && other < MaxDrives)
            listed[static_cast<size_t>(other)] = DriveModels[static_cast<size_t>(other)];
    listed[static_cast<size_t>(Number)] = DriveModels[static_cast<size_t>(Number)];
    return DriveAlertName(Number, listed);
}

std::string DriveAlertName(int Number, const std::array<std::string, MaxDrives>& Models) {
    if (Number < 0 || Number >= MaxDrives) return "";
    const std::string& model = Models[static_cast<size_t>(Number)];
    for (int other = 0; other < MaxDrives; ++other)
        if (other != Number && !model.empty() && Models[static_cast<size_t>(other)] == model)
            return Format("%s (drive %d)", model, Number);
    return model;
}
