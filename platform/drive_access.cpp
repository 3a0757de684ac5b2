#include "platform/drive_access.h"

#include <mutex>
#include <utility>

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

struct TCurrentAccess {
    std::mutex Lock;
    std::shared_ptr<TDriveAccess> Access = std::make_shared<TRealDriveAccess>();
};

TCurrentAccess& Current() {
    // Never destroyed: a drive worker abandoned at exit may still ask for
    // the access while the program's static objects are going.
    static TCurrentAccess* const current = new TCurrentAccess;
    return *current;
}

}  // namespace

std::shared_ptr<TDriveAccess> CurrentDriveAccess() {
    TCurrentAccess& current = Current();
    std::lock_guard lock(current.Lock);
    return current.Access;
}

void SetDriveAccess(std::shared_ptr<TDriveAccess> access) {
    if (!access) access = std::make_shared<TRealDriveAccess>();
    TCurrentAccess& current = Current();
    std::lock_guard lock(current.Lock);
    // The old one goes outside the lock: its end may take a while.
    std::swap(current.Access, access);
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
