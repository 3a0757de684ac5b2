// The machine's own drives: devices opened with CreateFileA and driven with
// DeviceIoControl, SetFilePointerEx and ReadFile; the family from
// GetVersionExA.
#pragma once

#include "platform/drive_access.h"

class TRealDriveAccess : public TDriveAccess {
public:
    TOsFamily OsFamily() override;
    std::unique_ptr<TDeviceHandle> Open(const std::string& path, uint32_t access, uint32_t share,
                                        uint32_t creation) override;
};
