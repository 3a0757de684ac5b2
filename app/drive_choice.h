// Which drives the program watches: the machine's own, or a simulated drive
// set named by `--drives FILE` on the command line or, failing that, by the
// environment variable VEXMORA_DRIVES. The file name is carried as UTF-16
// from the command line or environment to the file's opening, so a folder
// named in any letters works whatever the system code page.
#pragma once

#include <string>
#include <vector>

#include "platform/drive_set_file.h"

extern const char* const DrivesOption;       // "--drives"
extern const char* const DrivesEnvironment;  // "VEXMORA_DRIVES"

// The drive-set file asked for ("" = the machine's own drives). The command
// line wins over the environment; `--drives` without a file name raises
// EDriveSetError. Other arguments are left alone.
std::wstring ChosenDriveSetFile(const std::vector<std::wstring>& arguments,
                                const std::wstring& environmentValue);

// The program's own arguments (1..ParamCount) and environment.
std::wstring ChosenDriveSetFile();

// Installs the drives chosen; a drive-set file that cannot be used raises
// EDriveSetError naming the file, the line and the problem, and nothing is
// installed then. The 8-bit form takes a name in the system code page.
void UseChosenDrives(const std::wstring& driveSetFile);
void UseChosenDrives(const std::string& driveSetFile);
