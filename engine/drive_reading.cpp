#include "engine/drive_reading.h"

#include <cstring>
#include <memory>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"
#include "engine/smart_decode.h"
#include "engine/smart_tables.h"
#include "platform/drive_access.h"
#include "platform/smart_wire.h"

namespace {

// One opened S.M.A.R.T. device and the commands sent to it. Each command
// zero-fills its request and reply first.
class TSmartDevice {
public:
    explicit TSmartDevice(TDriveAccess& access) : access_(access) {}

    // Opens the device the system family uses; false with `errMsg` set (left
    // empty for a family that has none).
    bool Open(int driveNum, std::string& errMsg) {
        switch (access_.OsFamily()) {
            case TOsFamily::Win9x:
                handle_ = access_.Open("\\\\.\\SMARTVSD", 0, 0, CREATE_NEW);
                if (!handle_) errMsg = "Unable to open SMARTVSD: " + SystemText();
                break;
            case TOsFamily::WinNT:
                handle_ =
                    access_.Open("\\\\.\\PhysicalDrive" + IntToStr(driveNum), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
                if (!handle_) errMsg = "Unable to open physical drive: " + SystemText();
                break;
            case TOsFamily::Other:
                break;
        }
        return handle_ != nullptr;
    }

    bool GetVersion(TSmartVersionReply& version) {
        std::memset(&version, 0, sizeof version);
        uint32_t returned = 0;
        return handle_->IoControl(IoctlSmartGetVersion, nullptr, 0, &version, sizeof version, returned);
    }

    bool Enable(int device, TSmartCommandReply& reply) {
        Prepare(device, SmartEnableOperations, SmartCylinderLow, SmartCylinderHigh, AtaSmart, 0, reply);
        return Send(IoctlSmartSendDriveCommand, reply, sizeof reply - 1);
    }

    bool Identify(int device, bool atapi, TSmartCommandReply& reply) {
        Prepare(device, 0, 0, 0, atapi ? AtaIdentifyPacketDevice : AtaIdentifyDevice, SmartDataSize, reply);
        reply.BufferSize = SmartDataSize;
        return Send(IoctlSmartReceiveDriveData, reply, sizeof reply);
    }

    bool ReadTable(int device, uint8_t features, TSmartCommandReply& reply) {
        Prepare(device, features, SmartCylinderLow, SmartCylinderHigh, AtaSmart, SmartDataSize, reply);
        return Send(IoctlSmartReceiveDriveData, reply, sizeof reply - 1);
    }

    // The system's text for the last error; call it right after the failure.
    std::string SystemText() { return access_.ErrorText(access_.LastError()); }

private:
    void Prepare(int device, uint8_t features, uint8_t cylinderLow, uint8_t cylinderHigh, uint8_t command,
                 uint32_t bufferSize, TSmartCommandReply& reply) {
        std::memset(&request_, 0, sizeof request_);
        std::memset(&reply, 0, sizeof reply);
        request_.BufferSize = bufferSize;
        request_.Registers.Features = features;
        request_.Registers.SectorCount = 1;
        request_.Registers.SectorNumber = 1;
        request_.Registers.CylinderLow = cylinderLow;
        request_.Registers.CylinderHigh = cylinderHigh;
        request_.Registers.DriveHead = device & 1 ? 0xB0 : 0xA0;
        request_.Registers.Command = command;
        request_.DriveNumber = static_cast<uint8_t>(device);
    }

    bool Send(uint32_t code, TSmartCommandReply& reply, uint32_t replySize) {
        uint32_t returned = 0;
        return handle_->IoControl(code, &request_, SmartRequestSendSize, &reply, replySize, returned);
    }

    TDriveAccess& access_;
    std::unique_ptr<TDeviceHandle> handle_;
    TSmartCommandRequest request_{};
};

std::string StatusHex(const TSmartCommandReply& reply) {
    return IntToHex(reply.Status.IdeStatus, 4);
}

std::string TableFailure(const char* what, int device, const std::string& systemText,
                         const TSmartCommandReply& reply) {
    return Format("%s, Drive: %d : %s; DriverStatus: %s; bIDEStatus=%s", what, device, systemText,
                  DriverStatusText(reply.Status.DriverError), StatusHex(reply));
}

template <class T>
void CopyData(const TSmartCommandReply& reply, T& data) {
    static_assert(sizeof(T) == SmartDataSize);
    std::memcpy(&data, reply.Data, sizeof data);
}

// ENABLE (unless ATAPI) and IDENTIFY of device i, with their failure texts.
bool EnableAndIdentify(TSmartDevice& device, int i, bool atapi, TSmartCommandReply& reply,
                       std::string& errMsg) {
    if (!atapi && !device.Enable(i, reply))
        errMsg = Format("SMART Enable Command Failed, Drive: %d : %s", i, device.SystemText());
    if (device.Identify(i, atapi, reply)) return true;
    errMsg = Format("Identify Command Failed on Drive: %d bIDEStatus=%s : %s", i, StatusHex(reply),
                    device.SystemText());
    return false;
}

}  // namespace

std::string ExceptionText(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const Exception& e) {
        return Trim(e.Message());
    } catch (const std::exception& e) {
        return Trim(e.what());
    } catch (...) {
    }
    return {};
}

bool ReadDriveSmart(int driveNum, TSmartResult& result, std::string& errMsg) {
    return ReadDriveSmart(*CurrentDriveAccess(), driveNum, result, errMsg);
}

bool ReadDriveSmart(TDriveAccess& access, int driveNum, TSmartResult& result, std::string& errMsg) {
    result = TSmartResult{};
    errMsg.clear();
    bool ok = false;
    try {
        TSmartDevice device(access);
        if (!device.Open(driveNum, errMsg)) return false;
        TSmartVersionReply version;
        ok = device.GetVersion(version);
        if (!ok) {
            errMsg = "DFP_GET_VERSION failed: " + device.SystemText();
            return false;
        }
        TSmartCommandReply identifyReply, attributeReply, thresholdReply;
        for (int i = 0; i < 4; ++i) {
            if (!(version.IdeDeviceMap & (1 << i))) continue;
            ok = EnableAndIdentify(device, i, version.IdeDeviceMap & (0x10 << i), identifyReply, errMsg);
            if (!ok) continue;
            TIdentifyData identify;
            CopyData(identifyReply, identify);
            DecodeIdentity(identify, i, result);

            ok = device.ReadTable(i, SmartReadAttributes, attributeReply);
            if (!ok) {
                errMsg =
                    TableFailure("SMART Read Attr Command Failed", i, device.SystemText(), attributeReply);
                continue;
            }
            ok = device.ReadTable(i, SmartReadThresholds, thresholdReply);
            if (!ok) {
                errMsg = TableFailure("SMART Read Threshold Command Failed", i, device.SystemText(),
                                      thresholdReply);
                continue;
            }
            TSmartAttributeTable attributes;
            TSmartThresholdTable thresholds;
            CopyData(attributeReply, attributes);
            CopyData(thresholdReply, thresholds);
            DecodeSmartTables(attributes, thresholds, result);
            break;
        }
    } catch (...) {
        errMsg = "SMART Failed - " + ExceptionText(std::current_exception());
    }
    return ok;
}

bool ReadDriveIdentity(int driveNum, std::string& errMsg, std::string& model, std::string& serial,
                       int64_t& size) {
    errMsg.clear();
    model.clear();
    serial.clear();
    size = 0;
    std::shared_ptr<TDriveAccess> access = CurrentDriveAccess();
    TSmartDevice device(*access);
    if (!device.Open(driveNum, errMsg)) return false;
    TSmartVersionReply version;
    bool ok = device.GetVersion(version);
    if (!ok) {
        errMsg = "DFP_GET_VERSION failed: " + device.SystemText();
        return false;
    }
    TSmartCommandReply identifyReply;
    for (int i = 0; i < 4; ++i) {
        if (!(version.IdeDeviceMap & (1 << i))) continue;
        ok = EnableAndIdentify(device, i, version.IdeDeviceMap & (0x10 << i), identifyReply, errMsg);
        if (!ok) continue;
        TIdentifyData identify;
        CopyData(identifyReply, identify);
        model = SwapIdentifyString(identify.ModelNumber, sizeof identify.ModelNumber);
        serial = SwapIdentifyString(identify.SerialNumber, sizeof identify.SerialNumber);
        size = int64_t{identify.TotalSectors} * 512;
        break;
    }
    return ok;
}
