// The one way drives are reached: open a device by path, send it I/O
// controls, position and read it, ask for the last error and its text, the
// operating-system family, and the WMI model query. `CurrentDriveAccess()` is
// the real system unless a simulated drive set has been installed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

enum class TOsFamily { Win9x, WinNT, Other };

// An opened device; closing happens when it is destroyed. Every call that
// fails leaves its reason in the calling thread's last error.
class TDeviceHandle {
public:
    virtual ~TDeviceHandle() = default;
    virtual bool IoControl(uint32_t code, const void* input, uint32_t inputSize, void* output,
                           uint32_t outputSize, uint32_t& returned) = 0;
    virtual bool Seek(int64_t position) = 0;
    virtual bool Read(void* buffer, uint32_t size, uint32_t& bytesRead) = 0;
};

class TDriveAccess {
public:
    virtual ~TDriveAccess() = default;

    virtual TOsFamily OsFamily() = 0;
    // Null when the device cannot be opened, with the reason in LastError().
    virtual std::unique_ptr<TDeviceHandle> Open(const std::string& path, uint32_t access, uint32_t share,
                                                uint32_t creation) = 0;
    // The calling thread's last error and the system's text for an error.
    virtual uint32_t LastError();
    virtual std::string ErrorText(uint32_t error);

    // A simulated drive set answers the WMI model query itself; the real
    // system leaves it to the WMI service.
    virtual bool AnswersWmi() const { return false; }
    // The number of matching objects (Value set only when it is 1), or -1.
    virtual int WmiQuery(const std::wstring& query, const std::wstring& propName, std::string& value);
};

// The drive access in force; never null.
std::shared_ptr<TDriveAccess> CurrentDriveAccess();
void SetDriveAccess(std::shared_ptr<TDriveAccess> access);

// Start-up choices of the program: the machine's own drives, or the drive set
// described by a drive-set file (raises EDriveSetError naming the file, line
// and problem when the file cannot be used; nothing is installed then).
void UseRealDrives();
void UseSimulatedDrives(const std::wstring& fileName);
void UseSimulatedDrives(const std::string& fileName);
