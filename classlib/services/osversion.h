// The operating system's platform and version, replaceable in tests so that
// code for other Windows families can be exercised.
#pragma once

#include <string>

#include "classlib/core/service.h"
#include "classlib/core/win32.h"

struct TOSVersionInfo {
    DWORD Platform = VER_PLATFORM_WIN32_NT;  // VER_PLATFORM_WIN32_WINDOWS for the 9x family
    DWORD Major = 0;
    DWORD Minor = 0;
    DWORD Build = 0;
    std::string CSDVersion;
};

class TOSVersionService {
public:
    virtual ~TOSVersionService() = default;
    virtual TOSVersionInfo Version() = 0;

    static TOSVersionService& Default();
};

inline TOSVersionInfo OSVersion() {
    return TServiceSlot<TOSVersionService>::Current().Version();
}
inline DWORD Win32Platform() {
    return OSVersion().Platform;
}
inline DWORD Win32MajorVersion() {
    return OSVersion().Major;
}
inline DWORD Win32MinorVersion() {
    return OSVersion().Minor;
}
// At least AMajor.AMinor.
bool CheckWin32Version(DWORD AMajor, DWORD AMinor = 0);
