#include <gtest/gtest.h>

#include <cstring>

#include "app/drive_size.h"
#include "classlib/core/win32.h"
#include "platform/smart_wire.h"
#include "tests/platform/scoped_drives.h"

namespace {

// Counts the sector reads that reach the disk behind it.
class TCountingDisk : public TDeviceHandle {
public:
    explicit TCountingDisk(std::unique_ptr<TDeviceHandle> Disk) : disk_(std::move(Disk)) {}
    bool IoControl(uint32_t code, const void* input, uint32_t inputSize, void* output, uint32_t outputSize,
                   uint32_t& returned) override {
        return disk_->IoControl(code, input, inputSize, output, outputSize, returned);
    }
    bool Seek(int64_t position) override { return disk_->Seek(position); }
    bool Read(void* buffer, uint32_t size, uint32_t& bytesRead) override {
        ++reads;
        return disk_->Read(buffer, size, bytesRead);
    }
    int reads = 0;

private:
    std::unique_ptr<TDeviceHandle> disk_;
};

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
        int MostReads;
    } cases[] = {
        // 2 cylinders of 2 tracks of 4 sectors, with 10 sectors more behind them
        {"disk size = 13312\ngeometry = 2 2 4 512\nfail geometry ex = 1\n", 13312, 10},
        // a last partial sector is not counted, and the probe ends there
        {"disk size = 13400\ngeometry = 2 2 4 512\nfail geometry ex = 1\n", 13312, 10},
        // the geometry's end is the end
        {"disk size = 8192\ngeometry = 2 2 4 512\nfail geometry ex = 50\n", 8192, 1},
        // reads failing stop the probe at once
        {"disk size = 13312\ngeometry = 2 2 4 512\nfail geometry ex = 1\nfail read = 23\n", 8192, 1},
        {"disk size = 13312\nfail geometry ex = 1\nfail geometry = 1\n", 0, 0},
        // a driver that knows no geometry: 2 TB found from the first sector
        // on, in reads that grow with the logarithm of the size, not the size
        {"disk size = 2000398934016\ngeometry = 0 0 0 0\nfail geometry ex = 1\n", 2000398934016, 66},
        {"disk size = 2199023255552\ngeometry = 0 0 0 0\nfail geometry ex = 1\n", 2199023255552, 66},
        // a geometry a little short of the end
        {"disk size = 500107862016\ngeometry = 60801 255 63 512\nfail geometry ex = 1\n", 500107862016, 30},
    };
    for (const auto& c : cases) {
        TScopedDrives drives(std::string("[drive 0]\n") + c.Lines);
        auto opened = drives.Access->Open("\\\\.\\PHYSICALDRIVE0", GENERIC_ALL, 3, OPEN_EXISTING);
        ASSERT_TRUE(opened);
        TCountingDisk disk(std::move(opened));
        EXPECT_EQ(GetDiskSize(disk), c.Size) << c.Lines;
        EXPECT_LE(disk.reads, c.MostReads) << c.Lines;
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
