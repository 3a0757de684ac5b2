#include "classlib/windows/windowtable.h"

#include <map>
#include <mutex>
#include <unordered_map>

#include "classlib/core/exceptions.h"
#include "classlib/windows/application.h"

namespace classlib_detail {
namespace {

struct WindowTable {
    std::mutex lock;
    std::unordered_map<HWND, TWinControl*> controls;
};

WindowTable& Table() {
    static WindowTable table;
    return table;
}

thread_local TWinControl* creationControl = nullptr;

struct ClassTable {
    std::mutex lock;
    std::map<std::pair<std::wstring, UINT>, std::wstring> registered;
    std::map<std::wstring, UINT> styleOfName;
};

ClassTable& Classes() {
    static ClassTable table;
    return table;
}

}  // namespace

void RegisterWindow(HWND Window, TWinControl* Control) {
    auto& table = Table();
    std::lock_guard guard(table.lock);
    table.controls[Window] = Control;
}

void UnregisterWindow(HWND Window) {
    auto& table = Table();
    std::lock_guard guard(table.lock);
    table.controls.erase(Window);
}

TWinControl* LookupWindow(HWND Window) {
    if (!Window) return nullptr;
    auto& table = Table();
    std::lock_guard guard(table.lock);
    auto it = table.controls.find(Window);
    return it == table.controls.end() ? nullptr : it->second;
}

void SetCreationControl(TWinControl* Control) {
    creationControl = Control;
}

std::wstring RegisterWindowClass(const TCreateParams& Params) {
    auto& classes = Classes();
    std::lock_guard guard(classes.lock);
    const auto key = std::make_pair(Params.WinClassName, Params.WindowClass.style);
    auto found = classes.registered.find(key);
    if (found != classes.registered.end()) return found->second;

    // The first style seen keeps the plain name; another style of the same
    // class gets a name of its own.
    std::wstring name = Params.WinClassName;
    auto byName = classes.styleOfName.find(name);
    if (byName != classes.styleOfName.end() && byName->second != Params.WindowClass.style) {
        wchar_t suffix[16];
        swprintf(suffix, 16, L".%X", Params.WindowClass.style);
        name += suffix;
    } else {
        classes.styleOfName[name] = Params.WindowClass.style;
    }
    WNDCLASSW wc = Params.WindowClass;
    wc.lpfnWndProc = ControlWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name.c_str();
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources("Cannot register the window class " + std::string(name.begin(), name.end()));
    classes.registered.emplace(key, name);
    return name;
}

}  // namespace classlib_detail

TWinControl* FindControl(HWND Handle) {
    return classlib_detail::LookupWindow(Handle);
}

LRESULT CALLBACK ControlWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWinControl* control = classlib_detail::LookupWindow(Window);
    if (!control && classlib_detail::creationControl) {
        control = classlib_detail::creationControl;
        classlib_detail::creationControl = nullptr;
        control->WindowCreated(Window);
    }
    // A window whose object is gone (or never was ours) gets the defaults.
    if (!control) return DefWindowProcW(Window, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    try {
        control->WindowProc(message);
    } catch (...) {
        HandleCallbackException(control);
    }
    // The control may have been freed by the message: do not touch it here.
    return message.Result;
}
