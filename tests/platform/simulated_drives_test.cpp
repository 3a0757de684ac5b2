#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "classlib/core/files.h"
#include "classlib/core/win32.h"
#include "platform/drive_set_file.h"
#include "platform/simulated_drives.h"

namespace {

const char* const kDrives = R"(
[drive 0]
wmi model = ST3500418AS
serial = 5VM1ABCD
firmware = CC38
sectors = 976773168
disk size = 5000
attribute 0 = 194 0x0022 28 45 0 28
)";

std::shared_ptr<TSimulatedDriveAccess> Simulated(const std::string& text) {
    return std::make_shared<TSimulatedDriveAccess>(ParseDriveSet(text, "test.ini"));
}

std::unique_ptr<TDeviceHandle> OpenDrive(TDriveAccess& access,
                                         uint32_t rights = GENERIC_READ | GENERIC_WRITE) {
    return access.Open("\\\\.\\PhysicalDrive0", rights, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
}

struct TRequest {
    uint32_t Code = IoctlSmartReceiveDriveData;
    uint32_t InputSize = SmartRequestSendSize;
    uint32_t OutputSize = SmartReplyBufferSize - 1;
    TSmartCommandRequest Body{};
};

TRequest ReadAttributesRequest() {
    TRequest r;
    r.Body.BufferSize = SmartDataSize;
    r.Body.Registers = {SmartReadAttributes, 1, 1, SmartCylinderLow, SmartCylinderHigh, 0xA0, AtaSmart, 0};
    return r;
}

TRequest IdentifyRequest() {
    TRequest r;
    r.OutputSize = SmartReplyBufferSize;
    r.Body.BufferSize = SmartDataSize;
    r.Body.Registers = {0, 1, 1, 0, 0, 0xA0, AtaIdentifyDevice, 0};
    return r;
}

TRequest EnableRequest() {
    TRequest r;
    r.Code = IoctlSmartSendDriveCommand;
    r.Body.Registers = {SmartEnableOperations, 1, 1, SmartCylinderLow, SmartCylinderHigh, 0xA0, AtaSmart, 0};
    return r;
}

// Sends the request; the last error is 0 on success.
DWORD Send(TDeviceHandle& device, const TRequest& request, TSmartCommandReply& reply,
           uint32_t* returned = nullptr) {
    std::memset(&reply, 0, sizeof reply);
    uint32_t count = 0;
    const bool ok =
        device.IoControl(request.Code, &request.Body, request.InputSize, &reply, request.OutputSize, count);
    if (returned) *returned = count;
    return ok ? 0 : GetLastError();
}

}  // namespace

TEST(SimulatedDrives, WellFormedRequestsAreAnsweredByteExactly) {
    auto access = Simulated(kDrives);
    auto device = OpenDrive(*access);
    ASSERT_TRUE(device);
    TSmartVersionReply version{};
    uint32_t returned = 0;
    ASSERT_TRUE(device->IoControl(IoctlSmartGetVersion, nullptr, 0, &version, sizeof version, returned));
    EXPECT_EQ(returned, 24u);
    EXPECT_EQ(version.IdeDeviceMap, 0x01);
    TSmartCommandReply reply;
    EXPECT_EQ(Send(*device, EnableRequest(), reply, &returned), 0u);
    EXPECT_EQ(returned, 16u);
    EXPECT_EQ(Send(*device, IdentifyRequest(), reply, &returned), 0u);
    EXPECT_EQ(returned, 528u);
    EXPECT_EQ(reply.BufferSize, 512u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply.Data) + 20, 8), "V51MBADC");  // pairs swapped
    uint32_t sectors;
    std::memcpy(&sectors, reply.Data + 120, 4);
    EXPECT_EQ(sectors, 976773168u);
    EXPECT_EQ(Send(*device, ReadAttributesRequest(), reply, &returned), 0u);
    EXPECT_EQ(reply.Data[0] + 256 * reply.Data[1], 0x0010);  // revision
    EXPECT_EQ(reply.Data[2], 194);
}

TEST(SimulatedDrives, MalformedRequestsAreRejectedAsInvalidParameters) {
    const struct {
        const char* What;
        TRequest (*Base)();
        void (*Spoil)(TRequest&);
    } cases[] = {
        {"input length 33", ReadAttributesRequest, [](TRequest& r) { r.InputSize = 33; }},
        {"reply length 529", ReadAttributesRequest, [](TRequest& r) { r.OutputSize = 529; }},
        {"sector count 0", ReadAttributesRequest, [](TRequest& r) { r.Body.Registers.SectorCount = 0; }},
        {"sector number 2", ReadAttributesRequest, [](TRequest& r) { r.Body.Registers.SectorNumber = 2; }},
        {"drive/head of device 1", ReadAttributesRequest,
         [](TRequest& r) { r.Body.Registers.DriveHead = 0xB0; }},
        {"drive number 4", ReadAttributesRequest, [](TRequest& r) { r.Body.DriveNumber = 4; }},
        {"command 0xB1", ReadAttributesRequest, [](TRequest& r) { r.Body.Registers.Command = 0xB1; }},
        {"features 0xD2", ReadAttributesRequest, [](TRequest& r) { r.Body.Registers.Features = 0xD2; }},
        {"cylinder low 0", ReadAttributesRequest, [](TRequest& r) { r.Body.Registers.CylinderLow = 0; }},
        {"buffer size 0", ReadAttributesRequest, [](TRequest& r) { r.Body.BufferSize = 0; }},
        {"reserved register", ReadAttributesRequest, [](TRequest& r) { r.Body.Registers.Reserved = 1; }},
        {"reserved byte", ReadAttributesRequest, [](TRequest& r) { r.Body.Reserved[1] = 1; }},
        {"reserved word", ReadAttributesRequest, [](TRequest& r) { r.Body.ReservedWords[3] = 1; }},
        {"sent as a drive command", ReadAttributesRequest,
         [](TRequest& r) { r.Code = IoctlSmartSendDriveCommand; }},
        {"IDENTIFY reply length 528", IdentifyRequest, [](TRequest& r) { r.OutputSize = 528; }},
        {"IDENTIFY with features", IdentifyRequest, [](TRequest& r) { r.Body.Registers.Features = 0xD0; }},
        {"ATAPI IDENTIFY of an ATA device", IdentifyRequest,
         [](TRequest& r) { r.Body.Registers.Command = 0xA1; }},
        {"ENABLE with a buffer", EnableRequest, [](TRequest& r) { r.Body.BufferSize = 512; }},
        {"ENABLE as a data read", EnableRequest, [](TRequest& r) { r.Code = IoctlSmartReceiveDriveData; }},
        {"ENABLE reply length 529", EnableRequest, [](TRequest& r) { r.OutputSize = 529; }},
        {"device 1 not in the map", ReadAttributesRequest,
         [](TRequest& r) {
             r.Body.DriveNumber = 1;
             r.Body.Registers.DriveHead = 0xB0;
         }},
    };
    auto access = Simulated(kDrives);
    auto device = OpenDrive(*access);
    for (const auto& c : cases) {
        TRequest request = c.Base();
        TSmartCommandReply reply;
        ASSERT_EQ(Send(*device, request, reply), 0u) << c.What << " (unspoilt)";
        c.Spoil(request);
        EXPECT_EQ(Send(*device, request, reply), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << c.What;
    }
    uint32_t returned;
    TSmartVersionReply version;
    EXPECT_FALSE(device->IoControl(IoctlSmartGetVersion, nullptr, 0, &version, 23, returned));
    EXPECT_FALSE(device->IoControl(0x0007C08C, nullptr, 0, &version, sizeof version, returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION));
}

TEST(SimulatedDrives, HandleRightsLimitTheControls) {
    auto access = Simulated(kDrives);
    const struct {
        uint32_t Rights;
        bool Version, Smart, Geometry, Read;
    } cases[] = {
        {GENERIC_READ | GENERIC_WRITE, true, true, true, true},
        {GENERIC_READ, true, false, true, true},
        {GENERIC_WRITE, false, false, true, false},
    };
    for (const auto& c : cases) {
        auto device = OpenDrive(*access, c.Rights);
        ASSERT_TRUE(device);
        uint32_t returned;
        TSmartVersionReply version;
        EXPECT_EQ(device->IoControl(IoctlSmartGetVersion, nullptr, 0, &version, sizeof version, returned),
                  c.Version);
        TSmartCommandReply reply;
        EXPECT_EQ(Send(*device, IdentifyRequest(), reply) == 0, c.Smart) << std::hex << c.Rights;
        uint8_t geometry[64];
        EXPECT_EQ(
            device->IoControl(IoctlDiskGetDriveGeometry, nullptr, 0, geometry, sizeof geometry, returned),
            c.Geometry);
        uint8_t sector[512];
        EXPECT_EQ(device->Read(sector, sizeof sector, returned), c.Read) << std::hex << c.Rights;
    }
}

TEST(SimulatedDrives, OpeningFollowsTheFamilyAndTheParameters) {
    const struct {
        const char* Family;
        const char* Path;
        uint32_t Access, Share, Creation;
        DWORD Error;
    } cases[] = {
        {"nt", "\\\\.\\PhysicalDrive0", GENERIC_READ | GENERIC_WRITE, 3, OPEN_EXISTING, 0},
        {"nt", "\\\\.\\PHYSICALDRIVE0", GENERIC_ALL, 3, OPEN_EXISTING, 0},
        {"other", "\\\\.\\PHYSICALDRIVE0", GENERIC_ALL, 3, OPEN_EXISTING, 0},
        {"nt", "\\\\.\\PhysicalDrive00", GENERIC_ALL, 3, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"nt", "\\\\.\\PhysicalDrive1", GENERIC_ALL, 3, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"nt", "\\\\.\\PhysicalDrive0", GENERIC_ALL, 0, OPEN_EXISTING, ERROR_SHARING_VIOLATION},
        {"nt", "\\\\.\\PhysicalDrive0", GENERIC_ALL, 3, CREATE_NEW, ERROR_INVALID_PARAMETER},
        {"nt", "\\\\.\\SMARTVSD", 0, 0, CREATE_NEW, ERROR_FILE_NOT_FOUND},
        {"9x", "\\\\.\\SMARTVSD", 0, 0, CREATE_NEW, 0},
        {"9x", "\\\\.\\SMARTVSD", GENERIC_ALL, 3, OPEN_EXISTING, ERROR_INVALID_PARAMETER},
        {"9x", "\\\\.\\PhysicalDrive0", GENERIC_ALL, 3, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        auto access = Simulated(std::string("[system]\nos family = ") + c.Family + "\n" + kDrives);
        SetLastError(0);
        auto device = access->Open(c.Path, c.Access, c.Share, c.Creation);
        EXPECT_EQ(device != nullptr, c.Error == 0) << c.Family << " " << c.Path;
        EXPECT_EQ(GetLastError(), c.Error) << c.Family << " " << c.Path;
    }
    auto access = Simulated(std::string(kDrives) + "fail open = 5\n");
    EXPECT_FALSE(OpenDrive(*access));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(SimulatedDrives, GeometryAndSectorReadsEndAtTheDiskSize) {
    auto access = Simulated(std::string(kDrives) + "geometry = 1 1 1 512\n");
    auto device = OpenDrive(*access, GENERIC_ALL);
    uint8_t reply[1024] = {};
    uint32_t returned = 0;
    ASSERT_TRUE(device->IoControl(IoctlDiskGetDriveGeometryEx, nullptr, 0, reply, sizeof reply, returned));
    TDiskGeometryEx geometry;
    std::memcpy(&geometry, reply, sizeof geometry);
    EXPECT_EQ(geometry.DiskSize, 5000);
    EXPECT_EQ(geometry.Geometry.BytesPerSector, 512u);
    EXPECT_FALSE(device->IoControl(IoctlDiskGetDriveGeometryEx, nullptr, 0, reply, 31, returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    uint8_t sector[512];
    const struct {
        int64_t Position;
        bool Ok;
        uint32_t Bytes;
    } reads[] = {{4096, true, 512}, {4608, true, 392}, {5120, true, 0}, {100, false, 0}};
    for (const auto& r : reads) {
        ASSERT_TRUE(device->Seek(r.Position));
        EXPECT_EQ(device->Read(sector, sizeof sector, returned), r.Ok) << r.Position;
        EXPECT_EQ(returned, r.Bytes) << r.Position;
    }
    EXPECT_FALSE(device->Seek(-512));
}

TEST(SimulatedDrives, ChangedFileIsReadAgainAndABrokenChangeIsNotTaken) {
    const std::string fileName = GetTempDir() + "vexmora_reload_test.ini";
    auto write = [&](const std::string& text) {
        std::ofstream(fileName, std::ios::binary | std::ios::trunc) << text;
    };
    write(kDrives);
    auto access = TSimulatedDriveAccess::FromFile(fileName);
    EXPECT_EQ(access->DriveSet()->Drive(0)->Attributes.Entries[0].Raw[0], 28);

    // The drive heats up, and a second drive appears.
    std::string hot = kDrives;
    hot.replace(hot.find("0 28\n"), 5, "0 55\n");
    write(hot + "[drive 1]\nwmi model = New\n");
    EXPECT_EQ(access->DriveSet()->Drive(0)->Attributes.Entries[0].Raw[0], 55);
    EXPECT_NE(access->DriveSet()->Drive(1), nullptr);
    EXPECT_EQ(access->ReloadError(), "");

    write(hot + "[drive 1]\nwmi model = New\nbogus = 1\n");
    EXPECT_EQ(access->DriveSet()->Drive(0)->Attributes.Entries[0].Raw[0], 55);
    EXPECT_NE(access->DriveSet()->Drive(1), nullptr);
    EXPECT_NE(access->ReloadError().find("line 11: unknown key \"bogus\""), std::string::npos)
        << access->ReloadError();

    DeleteFile(fileName);
    EXPECT_EQ(access->DriveSet()->Drive(0)->Attributes.Entries[0].Raw[0], 55);
    EXPECT_NE(access->ReloadError(), "");
}

TEST(SimulatedDrives, UseSimulatedDrivesInstallsNothingFromABrokenFile) {
    const std::string fileName = GetTempDir() + "vexmora_broken_test.ini";
    std::ofstream(fileName, std::ios::binary | std::ios::trunc) << "[drive 0]\nwmi model = A\n[drive 0]\n";
    UseRealDrives();
    const std::shared_ptr<TDriveAccess> before = CurrentDriveAccess();
    EXPECT_THROW(UseSimulatedDrives(fileName), EDriveSetError);
    EXPECT_EQ(CurrentDriveAccess(), before);
    DeleteFile(fileName);
}
