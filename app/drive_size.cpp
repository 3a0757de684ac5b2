#include "app/drive_size.h"

#include <cstring>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "engine/manufacturer.h"
#include "platform/smart_wire.h"

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
    int64_t size =
        static_cast<int64_t>(static_cast<uint64_t>(geometry.Cylinders) * geometry.TracksPerCylinder *
                             geometry.SectorsPerTrack * geometry.BytesPerSector);
    // Only a whole sector counts: a short read at the end would otherwise
    // never stop the probe.
    uint8_t sector[512];
    for (;;) {
        uint32_t bytesRead = 0;
        if (!disk.Seek(size) || !disk.Read(sector, sizeof sector, bytesRead) || bytesRead != sizeof sector)
            break;
        size += sizeof sector;
    }
    return size;
}

std::string DriveSizeGB(int driveNum) {
    std::shared_ptr<TDriveAccess> access = CurrentDriveAccess();
    std::unique_ptr<TDeviceHandle> disk =
        access->Open("\\\\.\\PHYSICALDRIVE" + IntToStr(driveNum), GENERIC_ALL,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!disk) return "0";
    return IntToStr(GetDiskSize(*disk) / 1073741824);
}
