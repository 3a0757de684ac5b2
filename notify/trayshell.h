// The notification-area record as the tray icons send it (the 488-byte ANSI
// layout of shell version 5) and the one door to the shell they use, which
// tests replace to see the calls (Shell_NotifyIconA by default).
#pragma once

#include <cstddef>

#include "classlib/core/service.h"
#include "classlib/core/win32.h"

#pragma pack(push, 4)
struct TTrayIconData {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    char szInfo[256];
    UINT uTimeoutOrVersion;
    char szInfoTitle[64];
    DWORD dwInfoFlags;
};
#pragma pack(pop)

static_assert(sizeof(TTrayIconData) == 488);
static_assert(offsetof(TTrayIconData, hWnd) == 4 && offsetof(TTrayIconData, uID) == 8 &&
              offsetof(TTrayIconData, uFlags) == 12 && offsetof(TTrayIconData, uCallbackMessage) == 16 &&
              offsetof(TTrayIconData, hIcon) == 20 && offsetof(TTrayIconData, szTip) == 24 &&
              offsetof(TTrayIconData, dwState) == 152 && offsetof(TTrayIconData, szInfo) == 160 &&
              offsetof(TTrayIconData, uTimeoutOrVersion) == 416 &&
              offsetof(TTrayIconData, szInfoTitle) == 420 && offsetof(TTrayIconData, dwInfoFlags) == 484);

class TTrayShell {
public:
    virtual ~TTrayShell() = default;
    // NIM_ADD, NIM_MODIFY, NIM_DELETE or NIM_SETVERSION; true on success.
    virtual bool NotifyIcon(DWORD Message, TTrayIconData& Data) = 0;

    static TTrayShell& Default();
};

inline TTrayShell& TrayShell() {
    return TServiceSlot<TTrayShell>::Current();
}
