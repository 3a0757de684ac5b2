// What one screen-reader request costs the program that answers it: a reader
// in another process (this program started again with --client) resolves a
// window's object with AccessibleObjectFromWindow and lets it go, many times
// over. Measured in this process, the answering one, as heap bytes in use
// per request: for the group bar and one of its groups, against a minimal
// server (one bare object of this file handed out the same way) and the
// system's list view (whose stand-in the reader's side makes). Prints the
// figures and the ratios against the minimal server.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_args.h"
#include "classlib/core/win32.h"
// After windows.h.
#include <commctrl.h>
#include <oleacc.h>

#include "classlib/windows/accessibility.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "controls/scgroup.h"
#include "controls/scgroupbar.h"

namespace {

// The minimal server's one object: a client, nothing else.
class TBareObject : public IAccessible {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IAccessible) return E_NOINTERFACE;
        *ppv = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        *parent = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR* name) override {
        *name = SysAllocString(L"Bare");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
        *value = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        *text = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT* role) override {
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_CLIENT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* state) override {
        VariantInit(state);
        state->vt = VT_I4;
        state->lVal = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* text) override {
        *text = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* text) override {
        *text = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        VariantInit(focus);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* text) override {
        *text = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT) override {
        *x = *y = *w = *h = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
        VariantInit(end);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG, LONG, VARIANT* child) override {
        VariantInit(child);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return S_FALSE; }

private:
    virtual ~TBareObject() = default;
    long refs_ = 1;
};

TBareObject* bareObject = nullptr;

LRESULT CALLBACK BareWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_GETOBJECT && static_cast<LONG>(LParam) == OBJID_CLIENT)
        return LresultFromObject(IID_IAccessible, WParam, static_cast<IAccessible*>(bareObject));
    return DefWindowProcW(Window, Msg, WParam, LParam);
}

HWND MakeBareWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BareWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AccGrowthBare";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

// Heap bytes in use in this process, over every heap.
size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    size_t bytes = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        HeapUnlock(heap);
    }
    return bytes;
}

// Runs the reader in another process, Count requests on Window, answering
// them here meanwhile.
void RunReader(HWND Window, int Count) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --client " +
                           std::to_wstring(reinterpret_cast<UINT_PTR>(Window)) + L" " +
                           std::to_wstring(Count);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start the reader\n");
        std::exit(1);
    }
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        Application->ProcessMessages();
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    Application->ProcessMessages();
    if (code != 0) {
        std::fprintf(stderr, "the reader failed (%lu)\n", code);
        std::exit(1);
    }
}

// Bytes per request that stay behind in this process: a first run warms
// every cache up, the second is measured.
double BytesPerRequest(HWND Window, int Count) {
    RunReader(Window, Count / 4 + 1);
    const size_t before = HeapBytesInUse();
    RunReader(Window, Count);
    const size_t after = HeapBytesInUse();
    return (static_cast<double>(after) - static_cast<double>(before)) / Count;
}

int Client(HWND Window, int Count) {
    CoInitialize(nullptr);
    int failures = 0;
    for (int i = 0; i < Count; ++i) {
        IAccessible* object = nullptr;
        if (AccessibleObjectFromWindow(Window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                       reinterpret_cast<void**>(&object)) != S_OK ||
            !object) {
            ++failures;
            continue;
        }
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role;
        VariantInit(&role);
        object->get_accRole(self, &role);
        object->Release();
    }
    CoUninitialize();
    return failures == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--client")
        return Client(reinterpret_cast<HWND>(std::strtoul(argv[2], nullptr, 10)), std::atoi(argv[3]));
    bench::ReadArguments(argc, argv);
    CoInitialize(nullptr);
    Application->Initialize();
    if (!InitMSAA()) {
        std::printf("no accessibility library: nothing to measure\n");
        return 0;
    }
    InitCommonControls();
    TOwned<TForm> form(Create<TForm>(nullptr, 0));
    form->SetBounds(0, 0, 300, 400);
    TScGroupBar* bar = Create<TScGroupBar>(form.get());
    bar->SetParent(form.get());
    TScGroup* group = Create<TScGroup>(form.get());
    group->SetCaption("Drives");
    group->Items()->Add()->SetCaption("Physical drive 0");
    group->SetGroupBar(bar);
    group->SetOpened(true);
    form->Show();
    bareObject = new TBareObject;
    HWND bare = MakeBareWindow();
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 200, 200, 100,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Application->ProcessMessages();

    const int count = bench::Rounds(2000, 20);
    const double bareBytes = BytesPerRequest(bare, count);
    const double listBytes = BytesPerRequest(list, count);
    const double barBytes = BytesPerRequest(bar->Handle(), count);
    const double groupBytes = BytesPerRequest(group->Handle(), count);
    std::printf("heap bytes kept per AccessibleObjectFromWindow from another process (%d requests):\n",
                count);
    std::printf("  minimal one-object server  %8.1f\n", bareBytes);
    std::printf("  system list view           %8.1f\n", listBytes);
    std::printf("  group bar                  %8.1f\n", barBytes);
    std::printf("  group                      %8.1f\n", groupBytes);
    const double peer = bareBytes > 1 ? bareBytes : 1;
    std::printf("ratios against the minimal server: group bar %.2f, group %.2f\n", barBytes / peer,
                groupBytes / peer);

    DestroyWindow(list);
    DestroyWindow(bare);
    bareObject->Release();
    form.reset();
    CoUninitialize();
    return 0;
}
