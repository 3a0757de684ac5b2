// A simulated drive set: per physical drive number the WMI model, the IDE
// device map, IDENTIFY fields, both S.M.A.R.T. tables, the disk's size and
// geometry, and failures to inject into single commands.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "platform/drive_access.h"
#include "platform/smart_wire.h"

// The steps a failure can be injected into.
enum class TSimCommand {
    Open,
    Version,
    Enable,
    Identify,
    ReadAttributes,
    ReadThresholds,
    Geometry,
    GeometryEx,
    Read
};
constexpr int SimCommandCount = 9;

struct TSimFailure {
    bool Active = false;
    uint32_t Error = 0;       // the last error the failing call leaves
    uint8_t DriverError = 0;  // bDriverError of the reply
    uint8_t IdeStatus = 0;    // bIDEStatus of the reply
    int Device = -1;          // the ATA device it hits, -1 for every one
};

struct TSimDrive {
    std::string WmiModel;
    int WmiCount = 0;  // objects the WMI query finds: 0, 1, 2, ... or -1 for a rejected query
    uint8_t DeviceMap = 0x01;
    std::string SerialNumber;
    std::string FirmwareRev;
    std::string ModelNumber;
    uint16_t Word47 = 0;
    uint32_t TotalSectors = 0;
    TSmartAttributeTable Attributes{};
    TSmartThresholdTable Thresholds{};
    int64_t DiskSize = 0;  // where reads end
    TDiskGeometry Geometry{};
    std::array<TSimFailure, SimCommandCount> Failures{};
    // Milliseconds each READ ATTRIBUTES takes, as a slow or busy disk does.
    int ReadDelay = 0;

    // The failure injected for `command` on ATA device `device`, or null.
    const TSimFailure* FailureFor(TSimCommand command, int device = -1) const;
    // The IDENTIFY reply data: texts blank-padded with their byte pairs
    // swapped as a drive sends them.
    TIdentifyData IdentifyData() const;
};

constexpr int MaxSimDrives = 24;

struct TDriveSet {
    TOsFamily OsFamily = TOsFamily::WinNT;
    std::map<int, TSimDrive> Drives;  // by physical drive number 0-23

    const TSimDrive* Drive(int number) const;
};
