#include "classlib/services/osversion.h"

namespace {

class TWin32Version : public TOSVersionService {
public:
    TOSVersionInfo Version() override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        TOSVersionInfo result;
        if (!GetVersionExA(&info)) return result;
        result.Platform = info.dwPlatformId;
        result.Major = info.dwMajorVersion;
        result.Minor = info.dwMinorVersion;
        // The 9x family keeps its version in the high word of the build.
        result.Build =
            info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? LOWORD(info.dwBuildNumber) : info.dwBuildNumber;
        result.CSDVersion = info.szCSDVersion;
        return result;
    }
};

}  // namespace

TOSVersionService& TOSVersionService::Default() {
    static TWin32Version version;
    return version;
}

bool CheckWin32Version(DWORD AMajor, DWORD AMinor) {
    const TOSVersionInfo version = OSVersion();
    return version.Major > AMajor || (version.Major == AMajor && version.Minor >= AMinor);
}
