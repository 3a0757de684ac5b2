#include "app/drive_size.h"

#include <cstring>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "engine/manufacturer.h"
#include "platform/smart_wire.h"

namespace {

constexpr int64_t SectorBytes = 512;
// Far beyond any disk: a driver that reads on without end stops the search here.
constexpr int64_t ProbeLimit = int64_t{1} << 56;

// Only a whole sector counts: a short read at the end is the end.
bool SectorReads(TDeviceHandle& Disk, int64_t Position) {
    uint8_t sector[SectorBytes];
    uint32_t bytesRead = 0;
    return Disk.Seek(Position) && Disk.Read(sector, sizeof sector, bytesRead) && bytesRead == sizeof sector;
}

// The first sector from Start on that does not read, found in a number of
// reads that grows with the logarithm of the distance: the step doubles until
// a read fails, then the gap is halved. Every disk's sectors read up to its end.
int64_t FirstUnreadableSector(TDeviceHandle& Disk, int64_t Start) {
    if (!SectorReads(Disk, Start)) return Start;
    int64_t readable = 0;  // in sectors from Start
    int64_t unreadable = 1;
    while (SectorReads(Disk, Start + unreadable * SectorBytes)) {
        readable = unreadable;
        if (unreadable > (ProbeLimit - Start) / SectorBytes / 2) return Start + readable * SectorBytes;
        unreadable *= 2;
    }
    while (unreadable - readable > 1) {
        const int64_t middle = readable + (unreadable - readable) / 2;
        (SectorReads(Disk, Start + middle * SectorBytes) ? readable : unreadable) = middle;
    }
    return Start + unreadable * SectorBytes;
}

}  // namespace

int64_t GetDiskSize(TDeviceHandle& disk) {
    uint8_t reply[1024] = {};
    uint32_t returned = 0;
    if (disk.IoControl(CtlCode(7, 0x28, 0, 0), nullptr, 0, reply, sizeof reply, returned)) {
        TDiskGeometryEx geometry;
        std::memcpy(&geometry, reply, sizeof geometry);
        return geometry.DiskSize;
    }
    if (!disk.IoControl(CtlCode(7, 0, 0, 0), nullptr, 0, reply, sizeof reply, returned)) return 0;
    TDiskGeometry geometry;
    std::memcpy(&geometry, reply, sizeof geometry);
    // Unsigned, so that a driver's nonsense wraps instead of overflowing.
    const int64_t size =
        static_cast<int64_t>(static_cast<uint64_t>(geometry.Cylinders) * geometry.TracksPerCylinder *
                             geometry.SectorsPerTrack * geometry.BytesPerSector);
    // A position the disk cannot take (negative or past the limit) ends the probe where it stands.
    if (size < 0 || size >= ProbeLimit) return size;
    return FirstUnreadableSector(disk, size);
}

std::string DriveSizeGB(int driveNum) {
    return DriveSizeGB(*CurrentDriveAccess(), driveNum);
}

std::string DriveSizeGB(TDriveAccess& access, int driveNum) {
    std::unique_ptr<TDeviceHandle> disk =
        access.Open("\\\\.\\PHYSICALDRIVE" + IntToStr(driveNum), GENERIC_ALL,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!disk) return "0";
    return IntToStr(GetDiskSize(*disk) / 1073741824);
}
