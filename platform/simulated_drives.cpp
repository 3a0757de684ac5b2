#include "platform/simulated_drives.h"

#include <algorithm>
#include <cstring>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "platform/drive_set_file.h"

namespace {

constexpr uint32_t AccessAll = 0x10000000;  // GENERIC_ALL
constexpr uint32_t AccessRead = 0x80000000;
constexpr uint32_t AccessWrite = 0x40000000;

bool Fail(DWORD error) {
    SetLastError(error);
    return false;
}

std::unique_ptr<TDeviceHandle> NoDevice(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// Case-insensitive prefix test; returns the rest after it.
bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

// A drive number written the one way Windows spells it: no sign, no leading zero.
template <class Char>
int CanonicalNumber(std::basic_string_view<Char> text) {
    if (text.empty() || text.size() > 3 || (text[0] == '0' && text.size() > 1)) return -1;
    int value = 0;
    for (Char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

class TSimDevice : public TDeviceHandle {
public:
    TSimDevice(std::shared_ptr<const TDriveSet> set, const TSimDrive& drive, uint32_t access, bool smartVsd,
               std::shared_ptr<std::atomic<int>> openDevices)
        : set_(std::move(set)),
          drive_(drive),
          access_(access),
          smartVsd_(smartVsd),
          openDevices_(std::move(openDevices)) {
        ++*openDevices_;
    }
    ~TSimDevice() override { --*openDevices_; }
    TSimDevice(const TSimDevice&) = delete;
    TSimDevice& operator=(const TSimDevice&) = delete;

    bool IoControl(uint32_t code, const void* input, uint32_t inputSize, void* output, uint32_t outputSize,
                   uint32_t& returned) override {
        returned = 0;
        if (!Permits(code)) return Fail(ERROR_ACCESS_DENIED);
        switch (code) {
            case IoctlSmartGetVersion:
                return Version(inputSize, output, outputSize, returned);
            case IoctlSmartSendDriveCommand:
            case IoctlSmartReceiveDriveData:
                return Command(code, input, inputSize, output, outputSize, returned);
            case IoctlDiskGetDriveGeometry:
            case IoctlDiskGetDriveGeometryEx:
                return Geometry(code == IoctlDiskGetDriveGeometryEx, inputSize, output, outputSize, returned);
            default:
                return Fail(ERROR_INVALID_FUNCTION);
        }
    }

    bool Seek(int64_t position) override {
        if (position < 0) return Fail(ERROR_NEGATIVE_SEEK);
        position_ = position;
        return true;
    }

    // Reads at or past the end succeed with fewer bytes, as a file's do.
    bool Read(void* buffer, uint32_t size, uint32_t& bytesRead) override {
        bytesRead = 0;
        if (!smartVsd_ && !(access_ & (AccessRead | AccessAll))) return Fail(ERROR_ACCESS_DENIED);
        if (const TSimFailure* failure = drive_.FailureFor(TSimCommand::Read)) return Fail(failure->Error);
        if (!buffer || position_ % 512 != 0 || size % 512 != 0) return Fail(ERROR_INVALID_PARAMETER);
        const int64_t available = std::max<int64_t>(0, drive_.DiskSize - position_);
        bytesRead = static_cast<uint32_t>(std::min<int64_t>(size, available));
        std::memset(buffer, 0, bytesRead);
        position_ += bytesRead;
        return true;
    }

private:
    // The access bits of an I/O control code against what the handle was opened for.
    bool Permits(uint32_t code) const {
        if (smartVsd_ || (access_ & AccessAll)) return true;
        const uint32_t needed = (code >> 14) & 3;
        if ((needed & 1) && !(access_ & AccessRead)) return false;
        if ((needed & 2) && !(access_ & AccessWrite)) return false;
        return true;
    }

    bool Version(uint32_t inputSize, void* output, uint32_t outputSize, uint32_t& returned) {
        if (inputSize != 0 || !output || outputSize != sizeof(TSmartVersionReply))
            return Fail(ERROR_INVALID_PARAMETER);
        if (const TSimFailure* failure = drive_.FailureFor(TSimCommand::Version)) return Fail(failure->Error);
        TSmartVersionReply reply{};
        reply.Version = 1;
        reply.Revision = 1;
        reply.IdeDeviceMap = drive_.DeviceMap;
        reply.Capabilities = 7;  // ATA IDENTIFY, ATAPI IDENTIFY, S.M.A.R.T. commands
        std::memcpy(output, &reply, sizeof reply);
        returned = sizeof reply;
        return true;
    }

    // Which command a well-formed request is, or Invalid.
    enum class TKind { Invalid, Enable, Identify, ReadAttributes, ReadThresholds };

    TKind Classify(uint32_t code, const TSmartCommandRequest& request, uint32_t outputSize) const {
        const TIdeRegisters& regs = request.Registers;
        const int device = request.DriveNumber;
        const bool reservedClear = regs.Reserved == 0 && request.Reserved[0] == 0 &&
                                   request.Reserved[1] == 0 && request.Reserved[2] == 0 &&
                                   request.ReservedWords[0] == 0 && request.ReservedWords[1] == 0 &&
                                   request.ReservedWords[2] == 0 && request.ReservedWords[3] == 0;
        if (!reservedClear || device > 3 || regs.SectorCount != 1 || regs.SectorNumber != 1 ||
            regs.DriveHead != (device & 1 ? 0xB0 : 0xA0))
            return TKind::Invalid;
        const bool atapi = drive_.DeviceMap & (0x10 << device);
        const bool smartRegisters = regs.CylinderLow == SmartCylinderLow &&
                                    regs.CylinderHigh == SmartCylinderHigh && regs.Command == AtaSmart &&
                                    !atapi;
        if (code == IoctlSmartSendDriveCommand) {
            if (smartRegisters && regs.Features == SmartEnableOperations && request.BufferSize == 0 &&
                outputSize == sizeof(TSmartCommandReply) - 1)
                return TKind::Enable;
            return TKind::Invalid;
        }
        if (request.BufferSize != SmartDataSize) return TKind::Invalid;
        if (regs.Command == (atapi ? AtaIdentifyPacketDevice : AtaIdentifyDevice)) {
            const bool clear = regs.Features == 0 && regs.CylinderLow == 0 && regs.CylinderHigh == 0;
            return clear && outputSize == sizeof(TSmartCommandReply) ? TKind::Identify : TKind::Invalid;
        }
        if (!smartRegisters || outputSize != sizeof(TSmartCommandReply) - 1) return TKind::Invalid;
        if (regs.Features == SmartReadAttributes) return TKind::ReadAttributes;
        if (regs.Features == SmartReadThresholds) return TKind::ReadThresholds;
        return TKind::Invalid;
    }

    bool Command(uint32_t code, const void* input, uint32_t inputSize, void* output, uint32_t outputSize,
                 uint32_t& returned) {
        if (!input || !output || inputSize != SmartRequestSendSize) return Fail(ERROR_INVALID_PARAMETER);
        TSmartCommandRequest request{};
        std::memcpy(&request, input, SmartRequestSendSize);
        const TKind kind = Classify(code, request, outputSize);
        if (kind == TKind::Invalid) return Fail(ERROR_INVALID_PARAMETER);

        const int device = request.DriveNumber;
        TSmartCommandReply reply{};
        if (!(drive_.DeviceMap & (1 << device))) {
            reply.Status.DriverError = 10;  // no device at this number
            std::memcpy(output, &reply, sizeof reply.BufferSize + sizeof reply.Status);
            return Fail(ERROR_INVALID_PARAMETER);
        }
        static constexpr TSimCommand kCommands[] = {TSimCommand::Enable, TSimCommand::Enable,
                                                    TSimCommand::Identify, TSimCommand::ReadAttributes,
                                                    TSimCommand::ReadThresholds};
        if (const TSimFailure* failure = drive_.FailureFor(kCommands[static_cast<int>(kind)], device)) {
            reply.Status.DriverError = failure->DriverError;
            reply.Status.IdeStatus = failure->IdeStatus;
            std::memcpy(output, &reply, sizeof reply.BufferSize + sizeof reply.Status);
            return Fail(failure->Error);
        }
        uint32_t dataSize = SmartDataSize;
        switch (kind) {
            case TKind::Identify: {
                const TIdentifyData identify = drive_.IdentifyData();
                std::memcpy(reply.Data, &identify, sizeof identify);
                break;
            }
            case TKind::ReadAttributes:
                if (drive_.ReadDelay > 0) Sleep(static_cast<DWORD>(drive_.ReadDelay));
                std::memcpy(reply.Data, &drive_.Attributes, sizeof drive_.Attributes);
                break;
            case TKind::ReadThresholds:
                std::memcpy(reply.Data, &drive_.Thresholds, sizeof drive_.Thresholds);
                break;
            default:
                dataSize = 0;
                break;
        }
        reply.BufferSize = dataSize;
        returned = sizeof reply.BufferSize + sizeof reply.Status + dataSize;
        std::memcpy(output, &reply, returned);
        return true;
    }

    bool Geometry(bool extended, uint32_t inputSize, void* output, uint32_t outputSize, uint32_t& returned) {
        if (inputSize != 0 || !output) return Fail(ERROR_INVALID_PARAMETER);
        const uint32_t needed = extended ? sizeof(TDiskGeometryEx) : sizeof(TDiskGeometry);
        if (outputSize < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
        if (const TSimFailure* failure =
                drive_.FailureFor(extended ? TSimCommand::GeometryEx : TSimCommand::Geometry))
            return Fail(failure->Error);
        TDiskGeometryEx reply{drive_.Geometry, drive_.DiskSize};
        std::memcpy(output, &reply, needed);
        returned = needed;
        return true;
    }

    std::shared_ptr<const TDriveSet> set_;  // keeps drive_ alive
    const TSimDrive& drive_;
    uint32_t access_;
    bool smartVsd_;
    std::shared_ptr<std::atomic<int>> openDevices_;
    int64_t position_ = 0;
};

}  // namespace

TSimulatedDriveAccess::TSimulatedDriveAccess(TDriveSet set)
    : set_(std::make_shared<const TDriveSet>(std::move(set))) {}

std::shared_ptr<TSimulatedDriveAccess> TSimulatedDriveAccess::FromFile(const std::string& fileName) {
    return FromFile(ToWide(fileName));
}

std::shared_ptr<TSimulatedDriveAccess> TSimulatedDriveAccess::FromFile(const std::wstring& fileName) {
    const TFileStamp stamp = StampOf(fileName);
    auto access = std::make_shared<TSimulatedDriveAccess>(LoadDriveSet(fileName));
    access->fileName_ = fileName;
    access->stamp_ = stamp;
    return access;
}

TSimulatedDriveAccess::TFileStamp TSimulatedDriveAccess::StampOf(const std::wstring& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data)) return {};
    return {true, (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime,
            (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

std::shared_ptr<const TDriveSet> TSimulatedDriveAccess::DriveSet() {
    std::lock_guard lock(mutex_);
    if (fileName_.empty()) return set_;
    const TFileStamp stamp = StampOf(fileName_);
    if (stamp == stamp_) return set_;
    // Whatever happens, this version of the file is dealt with once.
    stamp_ = stamp;
    try {
        set_ = std::make_shared<const TDriveSet>(LoadDriveSet(fileName_));
        reloadError_.clear();
    } catch (const std::exception& e) {
        reloadError_ = e.what();
    }
    return set_;
}

std::string TSimulatedDriveAccess::ReloadError() {
    DriveSet();
    std::lock_guard lock(mutex_);
    return reloadError_;
}

TOsFamily TSimulatedDriveAccess::OsFamily() {
    return DriveSet()->OsFamily;
}

std::unique_ptr<TDeviceHandle> TSimulatedDriveAccess::Open(const std::string& path, uint32_t access,
                                                           uint32_t share, uint32_t creation) {
    std::shared_ptr<const TDriveSet> set = DriveSet();
    std::string_view rest = path;
    const TSimDrive* drive = nullptr;
    bool smartVsd = false;
    if (TakePrefix(rest, "\\\\.\\physicaldrive") && set->OsFamily != TOsFamily::Win9x) {
        const int number = CanonicalNumber(rest);
        if (number >= 0) drive = set->Drive(number);
        if (drive && (creation != OPEN_EXISTING || access == 0)) return NoDevice(ERROR_INVALID_PARAMETER);
        if (drive && share != (FILE_SHARE_READ | FILE_SHARE_WRITE)) return NoDevice(ERROR_SHARING_VIOLATION);
    } else if (TakePrefix(rest, "\\\\.\\smartvsd") && rest.empty() && set->OsFamily == TOsFamily::Win9x) {
        // The 9x S.M.A.R.T. driver is opened the way a VxD is.
        smartVsd = true;
        drive = set->Drive(0);
        if (drive && (access != 0 || share != 0 || creation != CREATE_NEW))
            return NoDevice(ERROR_INVALID_PARAMETER);
    }
    if (!drive) return NoDevice(ERROR_FILE_NOT_FOUND);
    if (const TSimFailure* failure = drive->FailureFor(TSimCommand::Open)) return NoDevice(failure->Error);
    return std::make_unique<TSimDevice>(set, *drive, access, smartVsd, openDevices_);
}

int TSimulatedDriveAccess::WmiQuery(const std::wstring& query, const std::wstring& propName,
                                    std::string& value) {
    static const std::wstring kPrefix =
        L"SELECT Model FROM Win32_DiskDrive WHERE Name = \"\\\\\\\\.\\\\PHYSICALDRIVE";
    if (propName != L"Model" || query.size() < kPrefix.size() + 2 ||
        query.compare(0, kPrefix.size(), kPrefix) != 0 || query.back() != L'"')
        return -1;
    const int number =
        CanonicalNumber(std::wstring_view(query).substr(kPrefix.size(), query.size() - kPrefix.size() - 1));
    if (number < 0) return 0;
    const std::shared_ptr<const TDriveSet> set = DriveSet();
    const TSimDrive* drive = set->Drive(number);
    if (!drive) return 0;
    if (drive->WmiCount == 1) value = drive->WmiModel;
    return drive->WmiCount;
}
