#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "engine/drive_reading.h"
#include "engine/manufacturer.h"
#include "platform/drive_set_file.h"
#include "platform/smart_wire.h"
#include "tests/platform/scoped_drives.h"

namespace {

const char* const kDrive = R"(
[drive 0]
wmi model = ST3500418AS
serial = 5VM1ABCD
firmware = CC38
word 47 = 0x8010
sectors = 976773168
attribute 0 = 1 0x000F 117 99 6 128712384
attribute 1 = 9 0x0032 89 89 0 9876
attribute 3 = 194 0x0022 28 45 0 1C:00:11:00:2D:00
)";

std::string Sys(DWORD error) {
    return SysErrorMessage(error);
}

// Wraps a drive access and throws from the I/O control whose request has
// the given features register, as a driver layer gone wrong might.
class TThrowingAccess : public TDriveAccess {
public:
    TThrowingAccess(std::shared_ptr<TDriveAccess> inner, int features)
        : inner_(std::move(inner)), features_(features) {}
    TOsFamily OsFamily() override { return inner_->OsFamily(); }
    std::unique_ptr<TDeviceHandle> Open(const std::string& path, uint32_t access, uint32_t share,
                                        uint32_t creation) override {
        if (features_ < 0) throw Exception("  the device layer is gone \r\n");
        return std::make_unique<TDevice>(inner_->Open(path, access, share, creation), features_);
    }

private:
    class TDevice : public TDeviceHandle {
    public:
        TDevice(std::unique_ptr<TDeviceHandle> inner, int features)
            : inner_(std::move(inner)), features_(features) {}
        bool IoControl(uint32_t code, const void* input, uint32_t inputSize, void* output,
                       uint32_t outputSize, uint32_t& returned) override {
            if (input && static_cast<const TSmartCommandRequest*>(input)->Registers.Features == features_) {
                if (features_ == SmartReadThresholds) throw Exception("thresholds went missing");
                throw 42;
            }
            return inner_->IoControl(code, input, inputSize, output, outputSize, returned);
        }
        bool Seek(int64_t position) override { return inner_->Seek(position); }
        bool Read(void* buffer, uint32_t size, uint32_t& bytesRead) override {
            return inner_->Read(buffer, size, bytesRead);
        }

    private:
        std::unique_ptr<TDeviceHandle> inner_;
        int features_;
    };
    std::shared_ptr<TDriveAccess> inner_;
    int features_;
};

}  // namespace

TEST(DriveReading, FullReadDecodesIdentityAndTables) {
    TScopedDrives drives(kDrive);
    TSmartResult r;
    std::string errMsg = "stale";
    ASSERT_TRUE(ReadDriveSmart(0, r, errMsg)) << errMsg;
    EXPECT_EQ(errMsg, "");
    EXPECT_EQ(r.DriveIndex, 0);
    EXPECT_EQ(r.Size, int64_t{976773168} * 512);
    EXPECT_EQ(r.SerialNumber + "/" + r.FirmwareRev + "/" + r.ModelNumber, "5VM1ABCD/CC38/ST3500418AS");
    EXPECT_EQ(r.IdentifyWord47, 0x8010);
    EXPECT_EQ(r.AttrCount, 3);
    EXPECT_EQ(r.HoursRunning, 9877);
    EXPECT_EQ(r.Temperature, 28);
    EXPECT_EQ(drives.Access->OpenDevices(), 0);
}

TEST(DriveReading, ExampleDrivesReadAsTheirCommentsSay) {
    TScopedDrives drives(LoadDriveSet(ExampleDrivesPath()));
    const struct {
        int Drive;
        const char* Maker;
        int Warn, Fail, Temperature;
    } cases[] = {
        {0, "Seagate Technology", 0, 0, 28},
        {1, "Western Digital ", 1, 0, 35},
        {2, "FUJITSU", 0, 1, 41},
        {3, "IBM", 0, 0, 58},
    };
    for (const auto& c : cases) {
        TSmartResult r;
        std::string errMsg;
        ASSERT_TRUE(ReadDriveSmart(c.Drive, r, errMsg)) << errMsg;
        EXPECT_EQ(GetManufacturer(r.ModelNumber), c.Maker);
        EXPECT_EQ(r.WarnCount, c.Warn) << c.Drive;
        EXPECT_EQ(r.FailCount, c.Fail) << c.Drive;
        EXPECT_EQ(r.Temperature, c.Temperature) << c.Drive;
        EXPECT_GE(r.AttrCount, 17) << c.Drive;
    }
}

TEST(DriveReading, EveryFailureHasItsText) {
    const struct {
        const char* Lines;
        int Drive;
        bool Result;
        std::string Message;
    } cases[] = {
        {"fail open = 5", 0, false, "Unable to open physical drive: " + Sys(5)},
        {"", 7, false, "Unable to open physical drive: " + Sys(2)},
        {"fail version = 50", 0, false, "DFP_GET_VERSION failed: " + Sys(50)},
        {"fail enable = 1", 0, true, "SMART Enable Command Failed, Drive: 0 : " + Sys(1)},
        {"fail identify = 31 ide=0x51", 0, false,
         "Identify Command Failed on Drive: 0 bIDEStatus=0051 : " + Sys(31)},
        {"fail attributes = 1117 driver=1 ide=0xd0", 0, false,
         "SMART Read Attr Command Failed, Drive: 0 : " + Sys(1117) +
             "; DriverStatus: Error from IDE controller; bIDEStatus=00D0"},
        {"fail thresholds = 23 driver=12 ide=0x41", 0, false,
         "SMART Read Threshold Command Failed, Drive: 0 : " + Sys(23) +
             "; DriverStatus: Unknown driver status 12; bIDEStatus=0041"},
        {"device map = 0x08\nfail attributes = 5 driver=3 ide=0xff", 0, false,
         "SMART Read Attr Command Failed, Drive: 3 : " + Sys(5) +
             "; DriverStatus: Invalid command byte; bIDEStatus=00FF"},
        {"device map = 0x04\nfail identify = 0", 0, false,
         "Identify Command Failed on Drive: 2 bIDEStatus=0000 : " + Sys(0)},
    };
    for (const auto& c : cases) {
        TScopedDrives drives(std::string(kDrive) + c.Lines + "\n");
        TSmartResult r;
        std::string errMsg;
        EXPECT_EQ(ReadDriveSmart(c.Drive, r, errMsg), c.Result) << c.Lines;
        EXPECT_EQ(errMsg, c.Message) << c.Lines;
        EXPECT_EQ(drives.Access->OpenDevices(), 0) << c.Lines;
    }
}

TEST(DriveReading, LaterDeviceIsReadWhenAnEarlierOneFailsIdentify) {
    TScopedDrives drives(std::string(kDrive) + "device map = 0x03\nfail identify = 31 ide=0x51 device=0\n");
    TSmartResult r;
    std::string errMsg;
    EXPECT_TRUE(ReadDriveSmart(0, r, errMsg));
    EXPECT_EQ(errMsg, "Identify Command Failed on Drive: 0 bIDEStatus=0051 : " + Sys(31));
    EXPECT_EQ(r.DriveIndex, 1);
    EXPECT_EQ(r.AttrCount, 3);

    std::string model, serial;
    int64_t size = -1;
    EXPECT_TRUE(ReadDriveIdentity(0, errMsg, model, serial, size));
    EXPECT_EQ(errMsg, "Identify Command Failed on Drive: 0 bIDEStatus=0051 : " + Sys(31));
    EXPECT_EQ(model, "ST3500418AS");
    EXPECT_EQ(serial, "5VM1ABCD");
    EXPECT_EQ(size, int64_t{976773168} * 512);
}

TEST(DriveReading, AtapiDeviceGetsPacketIdentifyAndNoEnable) {
    // The simulated driver refuses ENABLE and the plain IDENTIFY for an ATAPI
    // device, and S.M.A.R.T. table reads as a CD drive would.
    TScopedDrives drives(std::string(kDrive) + "device map = 0x11\n");
    std::string errMsg, model, serial;
    int64_t size = 0;
    EXPECT_TRUE(ReadDriveIdentity(0, errMsg, model, serial, size));
    EXPECT_EQ(errMsg, "");
    EXPECT_EQ(model, "ST3500418AS");

    TSmartResult r;
    EXPECT_FALSE(ReadDriveSmart(0, r, errMsg));
    EXPECT_EQ(errMsg, "SMART Read Attr Command Failed, Drive: 0 : " + Sys(ERROR_INVALID_PARAMETER) +
                          "; DriverStatus: No error; bIDEStatus=0000");
    EXPECT_EQ(r.DriveIndex, 0);
    EXPECT_EQ(r.ModelNumber, "ST3500418AS");
    EXPECT_EQ(r.AttrCount, 0);
}

TEST(DriveReading, EmptyDeviceMapSucceedsWithNothingRead) {
    TScopedDrives drives(std::string(kDrive) + "device map = 0\n");
    TSmartResult r;
    std::string errMsg;
    EXPECT_TRUE(ReadDriveSmart(0, r, errMsg));
    EXPECT_EQ(errMsg, "");
    EXPECT_EQ(r, TSmartResult{});
}

TEST(DriveReading, SystemFamiliesChooseTheDevice) {
    const struct {
        const char* Family;
        const char* Lines;
        bool Result;
        std::string Message;
    } cases[] = {
        {"other", "", false, ""},
        {"9x", "", true, ""},  // the 9x driver serves every drive number from one device
        {"9x", "fail open = 2\n", false, "Unable to open SMARTVSD: " + Sys(2)},
    };
    for (const auto& c : cases) {
        TScopedDrives drives(std::string("[system]\nos family = ") + c.Family + "\n" + kDrive + c.Lines);
        TSmartResult r;
        std::string errMsg = "stale", model, serial;
        int64_t size = 0;
        EXPECT_EQ(ReadDriveSmart(5, r, errMsg), c.Result) << c.Family;
        EXPECT_EQ(errMsg, c.Message) << c.Family;
        errMsg = "stale";
        EXPECT_EQ(ReadDriveIdentity(5, errMsg, model, serial, size), c.Result) << c.Family;
        EXPECT_EQ(errMsg, c.Message) << c.Family;
    }
}

TEST(DriveReading, ExceptionsEndAsSmartFailedWithTheResultSoFar) {
    const struct {
        int Features;
        bool Result;
        const char* Message;
    } cases[] = {
        {-1, false, "SMART Failed - the device layer is gone"},
        {SmartReadThresholds, true,
         "SMART Failed - thresholds went missing"},  // READ ATTRIBUTES had succeeded
        {SmartEnableOperations, true,
         "SMART Failed - "},  // not an exception object; the version query had succeeded
    };
    for (const auto& c : cases) {
        auto simulated = std::make_shared<TSimulatedDriveAccess>(ParseDriveSet(kDrive, "test.ini"));
        TScopedDrives drives(std::make_shared<TThrowingAccess>(simulated, c.Features));
        TSmartResult r;
        std::string errMsg;
        EXPECT_EQ(ReadDriveSmart(0, r, errMsg), c.Result) << c.Message;
        EXPECT_EQ(errMsg, c.Message);
        EXPECT_EQ(simulated->OpenDevices(), 0);
    }
}

TEST(DriveReading, FourThreadsReadingOneDriveGetIdenticalResults) {
    TScopedDrives drives(LoadDriveSet(ExampleDrivesPath()));
    TSmartResult expected;
    std::string errMsg;
    ASSERT_TRUE(ReadDriveSmart(2, expected, errMsg));
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                TSmartResult r;
                std::string message;
                if (!ReadDriveSmart(2, r, message) || !(r == expected) || !message.empty()) ++mismatches[t];
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}
