#include "platform/real_drive_access.h"

#include "classlib/core/win32.h"

namespace {

class TRealDevice : public TDeviceHandle {
public:
    explicit TRealDevice(HANDLE handle) : handle_(handle) {}
    ~TRealDevice() override { CloseHandle(handle_); }
    TRealDevice(const TRealDevice&) = delete;
    TRealDevice& operator=(const TRealDevice&) = delete;

    bool IoControl(uint32_t code, const void* input, uint32_t inputSize, void* output, uint32_t outputSize,
                   uint32_t& returned) override {
        DWORD count = 0;
        const BOOL ok = DeviceIoControl(handle_, code, const_cast<void*>(input), inputSize, output,
                                        outputSize, &count, nullptr);
        returned = count;
        return ok != FALSE;
    }

    bool Seek(int64_t position) override {
        LARGE_INTEGER distance;
        distance.QuadPart = position;
        return SetFilePointerEx(handle_, distance, nullptr, FILE_BEGIN) != FALSE;
    }

    bool Read(void* buffer, uint32_t size, uint32_t& bytesRead) override {
        DWORD count = 0;
        const BOOL ok = ReadFile(handle_, buffer, size, &count, nullptr);
        bytesRead = count;
        return ok != FALSE;
    }

private:
    HANDLE handle_;
};

}  // namespace

TOsFamily TRealDriveAccess::OsFamily() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return TOsFamily::Other;
    switch (info.dwPlatformId) {
        case VER_PLATFORM_WIN32_WINDOWS:
            return TOsFamily::Win9x;
        case VER_PLATFORM_WIN32_NT:
            return TOsFamily::WinNT;
        default:
            return TOsFamily::Other;
    }
}

std::unique_ptr<TDeviceHandle> TRealDriveAccess::Open(const std::string& path, uint32_t access,
                                                      uint32_t share, uint32_t creation) {
    HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, creation, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    try {
        return std::make_unique<TRealDevice>(handle);
    } catch (...) {
        CloseHandle(handle);
        throw;
    }
}
