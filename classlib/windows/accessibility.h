// The accessibility library, bound at run time: a program runs without it,
// and then its controls answer no accessibility client. Also the window
// event that tells clients where the keyboard focus went.
#pragma once

#include <string>

#include "classlib/core/win32.h"
// After windows.h.
#include <oleacc.h>

#include "classlib/windows/application.h"

// Binds the accessibility library once; false when it is missing.
bool InitMSAA();
void CallNotifyWinEvent(DWORD Event, HWND Wnd, LONG ObjectId, LONG ChildId);
// The window's standard object (OBJID_WINDOW), or false.
bool AccObjectFromWindow(HWND Wnd, IDispatch** Acc);
LRESULT AccLresultFromObject(REFIID Riid, WPARAM WParam, IUnknown* Object);

// An accessible object's COM side: reference counting (a new object holds
// one reference, its owner's) and IDispatch without type information.
class TAccObjectBase : public IAccessible {
public:
    TAccObjectBase() = default;
    TAccObjectBase(const TAccObjectBase&) = delete;
    TAccObjectBase& operator=(const TAccObjectBase&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

protected:
    virtual ~TAccObjectBase() = default;

private:
    long refs_ = 1;
};

// The body of an IAccessible method: an exception must not cross back into
// the client's call, so it is reported as the program reports others and
// the client gets a failure.
template <class F>
HRESULT AccGuarded(F Body) noexcept {
    try {
        return Body();
    } catch (...) {
        HandleCallbackException(nullptr);
        return E_FAIL;
    }
}

// Text for a client, as a new string it frees.
HRESULT AccString(BSTR* Out, const std::string& Text);
