#include <gtest/gtest.h>

#include <cstring>

#include "app/drive_size.h"
#include "classlib/core/win32.h"
#include "platform/smart_wire.h"
#include "tests/platform/scoped_drives.h"

namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

TEST(DriveSize, WholeGibibytesOfTheReportedSize) {
    TScopedDrives drives(R"(
[drive 0]
disk size = 500107862016
[drive 1]
disk size = 1073741823
[drive 2]
disk size = 1073741824
[drive 3]
disk size = 500107862016
fail open = 5
)");
    EXPECT_EQ(DriveSizeGB(0), "465");
    EXPECT_EQ(DriveSizeGB(1), "0");
    EXPECT_EQ(DriveSizeGB(2), "1");
    EXPECT_EQ(DriveSizeGB(3), "0");
    EXPECT_EQ(DriveSizeGB(4), "0");
    EXPECT_EQ(drives.Access->OpenDevices(), 0);
}

TEST(DriveSize, PlainGeometryIsProbedOnToTheEnd) {
    const struct {
        const char* Lines;
        int64_t Size;
    } cases[] = {
        // 2 cylinders of 2 tracks of 4 sectors, with 10 sectors more behind them
        {"disk size = 13312\ngeometry = 2 2 4 512\nfail geometry ex = 1\n", 13312},
        // a last partial sector is not counted, and the probe ends there
        {"disk size = 13400\ngeometry = 2 2 4 512\nfail geometry ex = 1\n", 13312},
        // the geometry's end is the end
        {"disk size = 8192\ngeometry = 2 2 4 512\nfail geometry ex = 50\n", 8192},
        // reads failing stop the probe at once
        {"disk size = 13312\ngeometry = 2 2 4 512\nfail geometry ex = 1\nfail read = 23\n", 8192},
        {"disk size = 13312\nfail geometry ex = 1\nfail geometry = 1\n", 0},
    };
    for (const auto& c : cases) {
        TScopedDrives drives(std::string("[drive 0]\n") + c.Lines);
        auto disk = drives.Access->Open("\\\\.\\PHYSICALDRIVE0", GENERIC_ALL, 3, OPEN_EXISTING);
        ASSERT_TRUE(disk);
        EXPECT_EQ(GetDiskSize(*disk), c.Size) << c.Lines;
    }
}

TEST(DriveSize, WineAnswersItsOwnGeometry) {
    if (!UnderWine()) GTEST_SKIP() << "checks Wine's answers";
    UseRealDrives();
    HANDLE disk = CreateFileA("\\\\.\\PHYSICALDRIVE0", GENERIC_ALL, 3, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(disk, INVALID_HANDLE_VALUE);
    TDiskGeometryEx geometry{};
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(disk, IoctlDiskGetDriveGeometryEx, nullptr, 0, &geometry, sizeof geometry,
                                    &returned, nullptr);
    CloseHandle(disk);
    ASSERT_TRUE(ok);
    EXPECT_EQ(DriveSizeGB(0), std::to_string(geometry.DiskSize / 1073741824));
    EXPECT_NE(DriveSizeGB(0), "0");
    EXPECT_EQ(DriveSizeGB(1), "0");
}
