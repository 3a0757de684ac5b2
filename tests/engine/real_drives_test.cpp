// What the engine meets on the machine's own drives. Under Wine (where this
// runs) the first disk opens but knows no S.M.A.R.T. pass-through, there is
// no second disk, and WMI knows no `Name` of a disk drive.
#include <gtest/gtest.h>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "engine/drive_reading.h"
#include "engine/wmi.h"
#include "platform/drive_access.h"

namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

TEST(RealDrives, WineAnswersNoSmartAndNoSecondDisk) {
    if (!UnderWine()) GTEST_SKIP() << "checks Wine's answers";
    UseRealDrives();
    TSmartResult r;
    std::string errMsg;
    EXPECT_FALSE(ReadDriveSmart(0, r, errMsg));
    EXPECT_EQ(errMsg, "DFP_GET_VERSION failed: " + SysErrorMessage(ERROR_NOT_SUPPORTED));
    EXPECT_FALSE(ReadDriveSmart(1, r, errMsg));
    EXPECT_EQ(errMsg, "Unable to open physical drive: " + SysErrorMessage(ERROR_FILE_NOT_FOUND));

    std::string model, serial;
    int64_t size = 0;
    EXPECT_FALSE(ReadDriveIdentity(0, errMsg, model, serial, size));
    EXPECT_EQ(errMsg, "DFP_GET_VERSION failed: " + SysErrorMessage(ERROR_NOT_SUPPORTED));
}

TEST(RealDrives, WineRejectsTheModelQuery) {
    if (!UnderWine()) GTEST_SKIP() << "checks Wine's answers";
    UseRealDrives();
    std::string value = "kept";
    EXPECT_EQ(WmiQueryProperty(DriveModelQuery(0), L"Model", value), -1);
    EXPECT_EQ(value, "kept");
    std::string model = "stale";
    GetDriveModelWmi(0, model);
    EXPECT_EQ(model, "");
    // The service itself answers: a query without the Name test finds Wine's disks.
    EXPECT_GE(WmiQueryProperty(L"SELECT Model FROM Win32_DiskDrive", L"Model", value), 1);
}
