#include "classlib/windows/allocatehwnd.h"

#include <mutex>
#include <unordered_map>

#include "classlib/graphics/handles.h"
#include "classlib/windows/application.h"

namespace {

struct UtilityWindows {
    std::mutex lock;
    std::unordered_map<HWND, TWndMethod> methods;
};

UtilityWindows& Windows() {
    static UtilityWindows windows;
    return windows;
}

LRESULT CALLBACK UtilityWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWndMethod method;
    {
        auto& windows = Windows();
        std::lock_guard guard(windows.lock);
        auto it = windows.methods.find(Window);
        if (it != windows.methods.end()) method = it->second;
    }
    if (!Assigned(method)) return DefWindowProcW(Window, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    try {
        method(message);
    } catch (...) {
        HandleCallbackException(nullptr);
    }
    return message.Result;
}

const wchar_t kClassName[] = L"TPUtilWindow";

}  // namespace

HWND AllocateHWnd(const TWndMethod& Method) {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = UtilityWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) throw EOutOfResources("Out of system resources");
    classlib_detail::CountUser(1);
    auto& windows = Windows();
    std::lock_guard guard(windows.lock);
    windows.methods[window] = Method;
    return window;
}

void DeallocateHWnd(HWND Window) {
    if (!Window) return;
    {
        auto& windows = Windows();
        std::lock_guard guard(windows.lock);
        if (!windows.methods.erase(Window)) return;
    }
    DestroyWindow(Window);
    classlib_detail::CountUser(-1);
}
