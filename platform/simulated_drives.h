// The simulated disk driver: answers opens, the S.M.A.R.T. pass-through and
// disk-geometry I/O controls, sector reads and the WMI model query from a
// drive set, rejecting every malformed request as a strict driver would.
// Made from a drive-set file, it reads the file again when it changes.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "platform/drive_access.h"
#include "platform/drive_set.h"

class TSimulatedDriveAccess : public TDriveAccess {
public:
    // A fixed drive set.
    explicit TSimulatedDriveAccess(TDriveSet set);
    // The drive set of a file; raises EDriveSetError when it cannot be used.
    static std::shared_ptr<TSimulatedDriveAccess> FromFile(const std::wstring& fileName);
    static std::shared_ptr<TSimulatedDriveAccess> FromFile(const std::string& fileName);

    TOsFamily OsFamily() override;
    std::unique_ptr<TDeviceHandle> Open(const std::string& path, uint32_t access, uint32_t share,
                                        uint32_t creation) override;
    bool AnswersWmi() const override { return true; }
    int WmiQuery(const std::wstring& query, const std::wstring& propName, std::string& value) override;

    // The drive set in force, once the file was checked for a change. A
    // changed file that cannot be used leaves the previous set in force.
    std::shared_ptr<const TDriveSet> DriveSet();
    // Why the last change of the file was not taken ("" when it was).
    std::string ReloadError();
    // Devices opened and not yet closed.
    int OpenDevices() const { return *openDevices_; }

private:
    struct TFileStamp {
        bool Exists = false;
        uint64_t WriteTime = 0;
        uint64_t Size = 0;
        bool operator==(const TFileStamp&) const = default;
    };
    static TFileStamp StampOf(const std::wstring& fileName);

    std::mutex mutex_;
    std::wstring fileName_;
    TFileStamp stamp_;
    std::shared_ptr<const TDriveSet> set_;
    std::string reloadError_;
    std::shared_ptr<std::atomic<int>> openDevices_ = std::make_shared<std::atomic<int>>(0);
};
