// Byte layouts of the S.M.A.R.T. pass-through and disk-geometry I/O controls
// and of the tables they carry, shared by the engine that builds requests and
// the simulated driver that answers them. All little-endian, byte-packed.
#pragma once

#include <cstddef>
#include <cstdint>

// I/O control codes.
constexpr uint32_t IoctlSmartGetVersion = 0x00074080;
constexpr uint32_t IoctlSmartSendDriveCommand = 0x0007C084;
constexpr uint32_t IoctlSmartReceiveDriveData = 0x0007C088;
constexpr uint32_t IoctlDiskGetDriveGeometry = 0x00070000;
constexpr uint32_t IoctlDiskGetDriveGeometryEx = 0x000700A0;

// ATA commands and S.M.A.R.T. features.
constexpr uint8_t AtaIdentifyDevice = 0xEC;
constexpr uint8_t AtaIdentifyPacketDevice = 0xA1;
constexpr uint8_t AtaSmart = 0xB0;
constexpr uint8_t SmartReadAttributes = 0xD0;
constexpr uint8_t SmartReadThresholds = 0xD1;
constexpr uint8_t SmartEnableOperations = 0xD8;
constexpr uint8_t SmartCylinderLow = 0x4F;
constexpr uint8_t SmartCylinderHigh = 0xC2;

// One reply buffer: the 16-byte reply header, one byte of the header's data
// array and the 512 data bytes.
constexpr uint32_t SmartReplyBufferSize = 529;
constexpr uint32_t SmartDataSize = 512;
// The request is sent without its one data byte.
constexpr uint32_t SmartRequestSendSize = 32;

#pragma pack(push, 1)

struct TSmartVersionReply {
    uint8_t Version;
    uint8_t Revision;
    uint8_t Reserved;
    uint8_t IdeDeviceMap;  // bit i: device i present; bit i+4: device i is ATAPI
    uint32_t Capabilities;
    uint32_t ReservedWords[4];
};
static_assert(sizeof(TSmartVersionReply) == 24);

struct TIdeRegisters {
    uint8_t Features;
    uint8_t SectorCount;
    uint8_t SectorNumber;
    uint8_t CylinderLow;
    uint8_t CylinderHigh;
    uint8_t DriveHead;
    uint8_t Command;
    uint8_t Reserved;
};
static_assert(sizeof(TIdeRegisters) == 8);

struct TSmartCommandRequest {
    uint32_t BufferSize;
    TIdeRegisters Registers;
    uint8_t DriveNumber;
    uint8_t Reserved[3];
    uint32_t ReservedWords[4];
    uint8_t Data[1];
};
static_assert(sizeof(TSmartCommandRequest) == 33);

struct TSmartDriverStatus {
    uint8_t DriverError;  // bDriverError
    uint8_t IdeStatus;    // bIDEStatus
    uint8_t Reserved[2];
    uint32_t ReservedWords[2];
};
static_assert(sizeof(TSmartDriverStatus) == 12);

struct TSmartCommandReply {
    uint32_t BufferSize;
    TSmartDriverStatus Status;
    uint8_t Data[SmartDataSize + 1];
};
static_assert(sizeof(TSmartCommandReply) == SmartReplyBufferSize);

// One entry of the READ ATTRIBUTES data.
struct TSmartAttribute {
    uint8_t ID;  // 0 = empty entry
    uint16_t Flags;
    uint8_t Current;
    uint8_t Worst;
    uint8_t Raw[6];
    uint8_t Reserved;
};
static_assert(sizeof(TSmartAttribute) == 12);

// One entry of the READ THRESHOLDS data.
struct TSmartThreshold {
    uint8_t ID;
    uint8_t Threshold;
    uint8_t Reserved[10];
};
static_assert(sizeof(TSmartThreshold) == 12);

constexpr int SmartTableEntries = 30;

// The 512-byte data of READ ATTRIBUTES or READ THRESHOLDS.
struct TSmartAttributeTable {
    uint16_t Revision;
    TSmartAttribute Entries[SmartTableEntries];
    uint8_t Rest[150];
};
static_assert(sizeof(TSmartAttributeTable) == SmartDataSize);

struct TSmartThresholdTable {
    uint16_t Revision;
    TSmartThreshold Entries[SmartTableEntries];
    uint8_t Rest[150];
};
static_assert(sizeof(TSmartThresholdTable) == SmartDataSize);

// IDENTIFY data, as far as it is read.
struct TIdentifyData {
    uint16_t Words0To9[10];
    char SerialNumber[20];  // words 10-19
    uint16_t Words20To22[3];
    char FirmwareRev[8];   // words 23-26
    char ModelNumber[40];  // words 27-46
    uint16_t Word47;
    uint16_t Words48To59[12];
    uint32_t TotalSectors;  // words 60-61
    uint16_t Words62To255[194];
};
static_assert(sizeof(TIdentifyData) == SmartDataSize);
static_assert(offsetof(TIdentifyData, SerialNumber) == 20);
static_assert(offsetof(TIdentifyData, FirmwareRev) == 46);
static_assert(offsetof(TIdentifyData, ModelNumber) == 54);
static_assert(offsetof(TIdentifyData, Word47) == 94);
static_assert(offsetof(TIdentifyData, TotalSectors) == 120);

struct TDiskGeometry {
    int64_t Cylinders;
    uint32_t MediaType;
    uint32_t TracksPerCylinder;
    uint32_t SectorsPerTrack;
    uint32_t BytesPerSector;
};
static_assert(sizeof(TDiskGeometry) == 24);

// The extended reply begins with the geometry and the disk size; partition
// and detection data follow, which nobody here reads.
struct TDiskGeometryEx {
    TDiskGeometry Geometry;
    int64_t DiskSize;
};
static_assert(sizeof(TDiskGeometryEx) == 32);

#pragma pack(pop)
