#include "platform/drive_access.h"

#include <mutex>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "platform/real_drive_access.h"
#include "platform/simulated_drives.h"

uint32_t TDriveAccess::LastError() {
    return GetLastError();
}

std::string TDriveAccess::ErrorText(uint32_t error) {
    return SysErrorMessage(error);
}

int TDriveAccess::WmiQuery(const std::wstring&, const std::wstring&, std::string&) {
    return -1;
}

namespace {

std::mutex currentMutex;

std::shared_ptr<TDriveAccess>& Current() {
    static std::shared_ptr<TDriveAccess> current = std::make_shared<TRealDriveAccess>();
    return current;
}

}  // namespace

std::shared_ptr<TDriveAccess> CurrentDriveAccess() {
    std::lock_guard lock(currentMutex);
    return Current();
}

void SetDriveAccess(std::shared_ptr<TDriveAccess> access) {
    if (!access) access = std::make_shared<TRealDriveAccess>();
    std::lock_guard lock(currentMutex);
    Current() = std::move(access);
}

void UseRealDrives() {
    SetDriveAccess(std::make_shared<TRealDriveAccess>());
}

void UseSimulatedDrives(const std::wstring& fileName) {
    SetDriveAccess(TSimulatedDriveAccess::FromFile(fileName));
}

void UseSimulatedDrives(const std::string& fileName) {
    SetDriveAccess(TSimulatedDriveAccess::FromFile(fileName));
}
