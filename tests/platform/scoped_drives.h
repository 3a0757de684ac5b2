// Test support: installs a simulated drive set written inline for the life of
// a scope, then goes back to the real drives.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/drive_access.h"
#include "platform/drive_set_file.h"
#include "platform/simulated_drives.h"

class TScopedDrives {
public:
    explicit TScopedDrives(std::string_view text)
        : Access(std::make_shared<TSimulatedDriveAccess>(ParseDriveSet(text, "test.ini"))) {
        SetDriveAccess(Access);
    }
    explicit TScopedDrives(TDriveSet set) : Access(std::make_shared<TSimulatedDriveAccess>(std::move(set))) {
        SetDriveAccess(Access);
    }
    explicit TScopedDrives(std::shared_ptr<TDriveAccess> access) { SetDriveAccess(std::move(access)); }
    ~TScopedDrives() { UseRealDrives(); }
    TScopedDrives(const TScopedDrives&) = delete;
    TScopedDrives& operator=(const TScopedDrives&) = delete;

    std::shared_ptr<TSimulatedDriveAccess> Access;
};

// The example drive set shipped with the program, from the source tree.
inline std::string ExampleDrivesPath() {
    return std::string("Z:") + VEXMORA_SOURCE_DIR + "/examples/drives.ini";
}
