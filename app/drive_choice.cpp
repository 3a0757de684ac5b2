#include "app/drive_choice.h"

#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "platform/drive_access.h"

const char* const DrivesOption = "--drives";
const char* const DrivesEnvironment = "VEXMORA_DRIVES";

std::wstring ChosenDriveSetFile(const std::vector<std::wstring>& arguments,
                                const std::wstring& environmentValue) {
    const std::wstring option = ToWide(DrivesOption);
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != option) continue;
        if (i + 1 >= arguments.size() || arguments[i + 1].empty())
            throw EDriveSetError(std::string(DrivesOption) + " needs the name of a drive-set file");
        return arguments[i + 1];
    }
    return environmentValue;
}

std::wstring ChosenDriveSetFile() {
    std::vector<std::wstring> arguments;
    for (int i = 1; i <= ParamCount(); ++i) arguments.push_back(WideParamStr(i));
    return ChosenDriveSetFile(arguments, WideEnvironmentValue(DrivesEnvironment));
}

void UseChosenDrives(const std::wstring& driveSetFile) {
    if (driveSetFile.empty())
        UseRealDrives();
    else
        UseSimulatedDrives(driveSetFile);
}

void UseChosenDrives(const std::string& driveSetFile) {
    UseChosenDrives(ToWide(driveSetFile));
}
