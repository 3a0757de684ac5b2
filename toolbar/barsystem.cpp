#include "toolbar/barsystem.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "classlib/services/osversion.h"
#include "classlib/services/systemsettings.h"

namespace {

// GetProcAddress answers a generic pointer; the caller names the real type.
template <class F>
F BindProc(HMODULE Module, const char* Name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

class TRegKey {
public:
    TRegKey(HKEY Root, const char* Path) {
        if (RegOpenKeyExA(Root, Path, 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~TRegKey() {
        if (key_) RegCloseKey(key_);
    }
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// A whole decimal number (with optional sign and surrounding blanks).
bool ParseInt(const char* Text, int& Value) {
    char* end = nullptr;
    const long v = std::strtol(Text, &end, 10);
    if (end == Text) return false;
    while (*end == ' ') ++end;
    if (*end) return false;
    Value = static_cast<int>(v);
    return true;
}

std::atomic<int> cachedRegistryDelay{0};
std::atomic<bool> registryDelayRead{false};

using TTrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
std::atomic<TTrackMouseEventProc> trackMouseEventProc{nullptr};
std::atomic<bool> trackMouseEventBound{false};

struct MonitorFunctions {
    decltype(&MonitorFromRect) fromRect = nullptr;
    decltype(&MonitorFromPoint) fromPoint = nullptr;
    decltype(&MonitorFromWindow) fromWindow = nullptr;
    decltype(&GetMonitorInfoA) info = nullptr;
};

// Bound on every call: the functions are cheap to look up and a cache would
// be one more piece of process state.
bool BindMonitorFunctions(MonitorFunctions& F) {
    HMODULE user = GetModuleHandleA("user32.dll");
    if (!user) return false;
    F.fromRect = BindProc<decltype(F.fromRect)>(user, "MonitorFromRect");
    F.fromPoint = BindProc<decltype(F.fromPoint)>(user, "MonitorFromPoint");
    F.fromWindow = BindProc<decltype(F.fromWindow)>(user, "MonitorFromWindow");
    F.info = BindProc<decltype(F.info)>(user, "GetMonitorInfoA");
    return F.fromRect && F.fromPoint && F.info;
}

template <class Find>
TRect MonitorRect(bool WorkArea, Find FindMonitor) {
    MonitorFunctions f;
    if (UsingMultipleMonitors() && BindMonitorFunctions(f)) {
        if (HMONITOR monitor = FindMonitor(f)) {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (f.info(monitor, &info)) return WorkArea ? info.rcWork : info.rcMonitor;
        }
    }
    return GetRectOfPrimaryMonitor(WorkArea);
}

}  // namespace

int ReadMenuShowDelayFromRegistry() {
    TRegKey key(HKEY_CURRENT_USER, "Control Panel\\Desktop");
    if (!key.Get()) return 400;
    char text[32];
    DWORD type = 0;
    DWORD size = 32;
    const LONG result =
        RegQueryValueExA(key.Get(), "MenuShowDelay", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    if (result == ERROR_FILE_NOT_FOUND) return 400;
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return 0;
    return MenuShowDelayFromText(text, size);
}

int MenuShowDelayFromText(const char* Text, size_t Size) {
    // The system fills the buffer without a terminator when the value is as
    // long as the buffer.
    const std::string text(Text, strnlen(Text, Size));
    int value = 0;
    return ParseInt(text.c_str(), value) ? value : 0;
}

int GetMenuShowDelay() {
    if (Win32MajorVersion() < 4) return 400;
    int delay = 0;
    if (!SystemSettings().ParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0)) {
        if (!registryDelayRead.load(std::memory_order_acquire)) {
            cachedRegistryDelay.store(ReadMenuShowDelayFromRegistry(), std::memory_order_relaxed);
            registryDelayRead.exchange(true, std::memory_order_acq_rel);
        }
        delay = cachedRegistryDelay.load(std::memory_order_relaxed);
    }
    return delay < 0 ? 0 : delay;
}

bool AreFlatMenusEnabled() {
    if (!IsWindowsXP()) return false;
    BOOL flat = FALSE;
    return SystemSettings().ParametersInfo(0x1022, 0, &flat, 0) && flat;
}

bool AreKeyboardCuesEnabled() {
    if (Win32MajorVersion() < 5) return true;
    BOOL cues = FALSE;
    return !SystemSettings().ParametersInfo(0x100A, 0, &cues, 0) || cues;
}

bool IsWindowsXP() {
    const TOSVersionInfo v = OSVersion();
    return v.Platform == VER_PLATFORM_WIN32_NT && (v.Major > 5 || (v.Major == 5 && v.Minor >= 1));
}

bool NeedToPlaySound(const std::string& Alias) {
    const TOSVersionInfo v = OSVersion();
    if (v.Platform != VER_PLATFORM_WIN32_NT || v.Major < 5) return true;
    const std::string path = "AppEvents\\Schemes\\Apps\\.Default\\" + Alias + "\\.Current";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(path.begin(), path.end()).c_str(), 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return false;
    wchar_t first[4] = {};
    DWORD size = 8;
    const LONG result =
        RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(first), &size);
    RegCloseKey(key);
    return (result == ERROR_SUCCESS && first[0] != 0) || result == ERROR_MORE_DATA;
}

UINT GetInputLocaleCodePage() {
    const LCID language = LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)));
    char text[16] = {};
    if (GetLocaleInfoA(language, LOCALE_IDEFAULTANSICODEPAGE, text, sizeof text) == 0) return 0;
    int page = 0;
    if (!ParseInt(text, page) || page <= 0 || !IsValidCodePage(static_cast<UINT>(page))) return 0;
    return static_cast<UINT>(page);
}

bool ApplicationIsActive() {
    return GetActiveWindow() != nullptr;
}

bool UsingMultipleMonitors() {
    return SystemSettings().Metric(SM_CMONITORS) > 1;
}

bool InitMultipleMonitorFunctions() {
    MonitorFunctions f;
    return BindMonitorFunctions(f);
}

TRect GetRectOfPrimaryMonitor(bool WorkArea) {
    RECT r{};
    if (WorkArea && SystemSettings().ParametersInfo(SPI_GETWORKAREA, 0, &r, 0)) return r;
    return TRect(0, 0, SystemSettings().Metric(SM_CXSCREEN), SystemSettings().Metric(SM_CYSCREEN));
}

TRect GetRectOfMonitorContainingRect(const TRect& R, bool WorkArea) {
    return MonitorRect(WorkArea,
                       [&](MonitorFunctions& f) { return f.fromRect(R.Win32(), MONITOR_DEFAULTTONEAREST); });
}

TRect GetRectOfMonitorContainingPoint(TPoint P, bool WorkArea) {
    return MonitorRect(WorkArea,
                       [&](MonitorFunctions& f) { return f.fromPoint(P, MONITOR_DEFAULTTONEAREST); });
}

TRect GetRectOfMonitorContainingWindow(HWND Wnd, bool WorkArea) {
    return MonitorRect(WorkArea, [&](MonitorFunctions& f) -> HMONITOR {
        return f.fromWindow ? f.fromWindow(Wnd, MONITOR_DEFAULTTONEAREST) : nullptr;
    });
}

void InitTrackMouseEvent() {
    if (trackMouseEventBound.load(std::memory_order_acquire)) return;
    TTrackMouseEventProc proc = nullptr;
    if (HMODULE user = GetModuleHandleA("user32.dll"))
        proc = BindProc<TTrackMouseEventProc>(user, "TrackMouseEvent");
    if (!proc) {
        const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        // Kept loaded for the life of the process: the bound entry points into it.
        if (HMODULE comctl = LoadLibraryA("comctl32.dll"))
            proc = BindProc<TTrackMouseEventProc>(comctl, "_TrackMouseEvent");
        SetErrorMode(oldMode);
    }
    trackMouseEventProc.store(proc, std::memory_order_relaxed);
    trackMouseEventBound.exchange(true, std::memory_order_acq_rel);
}

bool CallTrackMouseEvent(HWND Wnd, DWORD Flags) {
    TTrackMouseEventProc proc = trackMouseEventProc.load(std::memory_order_acquire);
    if (!proc) return false;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = Flags;
    track.hwndTrack = Wnd;
    track.dwHoverTime = 0;
    return proc(&track) != 0;
}
