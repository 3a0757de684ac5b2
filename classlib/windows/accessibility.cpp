#include "classlib/windows/accessibility.h"

namespace {

using TLresultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using TAccessibleObjectFromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using TNotifyWinEvent = void(WINAPI*)(DWORD, HWND, LONG, LONG);

template <class F>
F BindProc(HMODULE Module, const char* Name) {
    return Module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name))) : nullptr;
}

struct TBindings {
    TLresultFromObject LresultFromObject = nullptr;
    TAccessibleObjectFromWindow AccessibleObjectFromWindow = nullptr;
    TNotifyWinEvent NotifyWinEvent = nullptr;
};

const TBindings& Bindings() {
    static const TBindings bindings = [] {
        TBindings b;
        const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        // Loaded for the life of the process: objects handed out keep code
        // of this library in use until the end.
        HMODULE oleacc = LoadLibraryA("oleacc.dll");
        SetErrorMode(oldMode);
        b.LresultFromObject = BindProc<TLresultFromObject>(oleacc, "LresultFromObject");
        b.AccessibleObjectFromWindow =
            BindProc<TAccessibleObjectFromWindow>(oleacc, "AccessibleObjectFromWindow");
        b.NotifyWinEvent = BindProc<TNotifyWinEvent>(GetModuleHandleA("user32.dll"), "NotifyWinEvent");
        return b;
    }();
    return bindings;
}

}  // namespace

bool InitMSAA() {
    const TBindings& b = Bindings();
    return b.LresultFromObject && b.AccessibleObjectFromWindow;
}

void CallNotifyWinEvent(DWORD Event, HWND Wnd, LONG ObjectId, LONG ChildId) {
    if (TNotifyWinEvent notify = Bindings().NotifyWinEvent) notify(Event, Wnd, ObjectId, ChildId);
}

bool AccObjectFromWindow(HWND Wnd, IDispatch** Acc) {
    *Acc = nullptr;
    if (!InitMSAA()) return false;
    return Bindings().AccessibleObjectFromWindow(Wnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                 reinterpret_cast<void**>(Acc)) == S_OK;
}

LRESULT AccLresultFromObject(REFIID Riid, WPARAM WParam, IUnknown* Object) {
    return InitMSAA() ? Bindings().LresultFromObject(Riid, WParam, Object) : 0;
}
