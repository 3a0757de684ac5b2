#include "app/drive_choice.h"

#include "classlib/core/files.h"
#include "platform/drive_access.h"

const char* const DrivesOption = "--drives";
const char* const DrivesEnvironment = "VEXMORA_DRIVES";

std::string ChosenDriveSetFile(const std::vector<std::string>& arguments,
                               const std::string& environmentValue) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != DrivesOption) continue;
        if (i + 1 >= arguments.size() || arguments[i + 1].empty())
            throw EDriveSetError(std::string(DrivesOption) + " needs the name of a drive-set file");
        return arguments[i + 1];
    }
    return environmentValue;
}

std::string ChosenDriveSetFile() {
    std::vector<std::string> arguments;
    for (int i = 1; i <= ParamCount(); ++i) arguments.push_back(ParamStr(i));
    return ChosenDriveSetFile(arguments, GetEnvironmentValue(DrivesEnvironment));
}

void UseChosenDrives(const std::string& driveSetFile) {
    if (driveSetFile.empty())
        UseRealDrives();
    else
        UseSimulatedDrives(driveSetFile);
}
