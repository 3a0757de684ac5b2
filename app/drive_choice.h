// Which drives the program watches: the machine's own, or a simulated drive
// set named by `--drives FILE` on the command line or, failing that, by the
// environment variable VEXMORA_DRIVES.
#pragma once

#include <string>
#include <vector>

#include "platform/drive_set_file.h"

extern const char* const DrivesOption;       // "--drives"
extern const char* const DrivesEnvironment;  // "VEXMORA_DRIVES"

// The drive-set file asked for ("" = the machine's own drives). The command
// line wins over the environment; `--drives` without a file name raises
// EDriveSetError. Other arguments are left alone.
std::string ChosenDriveSetFile(const std::vector<std::string>& arguments,
                               const std::string& environmentValue);

// The program's own arguments (ParamStr 1..ParamCount) and environment.
std::string ChosenDriveSetFile();

// Installs the drives chosen; a drive-set file that cannot be used raises
// EDriveSetError naming the file, the line and the problem, and nothing is
// installed then.
void UseChosenDrives(const std::string& driveSetFile);
