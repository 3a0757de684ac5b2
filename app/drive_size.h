// The capacity shown for a drive, from the disk-geometry I/O controls: the
// extended query's disk size, else cylinders x tracks x sectors x bytes plus
// a probe for the first sector past that end that does not read.
#pragma once

#include <cstdint>
#include <string>

#include "platform/drive_access.h"

// Whole GiB (bytes div 2^30) in decimal; "0" when the size cannot be found.
std::string DriveSizeGB(int driveNum);
std::string DriveSizeGB(TDriveAccess& access, int driveNum);

// Size in bytes of an opened disk; 0 when neither query answers.
int64_t GetDiskSize(TDeviceHandle& disk);
