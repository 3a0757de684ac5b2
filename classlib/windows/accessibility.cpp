#include "classlib/windows/accessibility.h"

#include "classlib/core/text.h"

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

HRESULT AccString(BSTR* Out, const std::string& Text) {
    const std::wstring wide = ToWide(Text);
    *Out = SysAllocString(wide.c_str());
    return *Out ? S_OK : E_OUTOFMEMORY;
}

HRESULT TAccObjectBase::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
        *ppv = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG TAccObjectBase::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG TAccObjectBase::Release() {
    const long refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

HRESULT TAccObjectBase::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT TAccObjectBase::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo) *ppTInfo = nullptr;
    return E_NOTIMPL;
}
HRESULT TAccObjectBase::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}
HRESULT TAccObjectBase::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}
