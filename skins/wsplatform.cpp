#include "skins/wsplatform.h"

#include "classlib/services/osversion.h"

bool IsUnicodePlatform() {
    return Win32Platform() == VER_PLATFORM_WIN32_NT;
}

bool IsXPOrLater() {
    return IsUnicodePlatform() && CheckWin32Version(5, 1);
}

bool IsServer2003OrLater() {
    return IsUnicodePlatform() && CheckWin32Version(5, 2);
}

bool IsVistaOrLater() {
    return IsUnicodePlatform() && CheckWin32Version(6, 0);
}

const wchar_t* CharNextWide(const wchar_t* Text) {
    return CharNextW(Text);
}
