#include "engine/wmi.h"

#include <oleauto.h>

#include <utility>

#include "classlib/core/text.h"
#include "platform/drive_access.h"

namespace {

template <class T>
class TComPtr {
public:
    TComPtr() = default;
    ~TComPtr() {
        if (pointer_) pointer_->Release();
    }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    TComPtr(TComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    TComPtr& operator=(TComPtr&& other) noexcept {
        if (this != &other) {
            if (pointer_) pointer_->Release();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    T* operator->() const { return pointer_; }
    T* Get() const { return pointer_; }
    // For the out-parameter of a COM call; the pointer must be empty.
    T** Receive() { return &pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    T* pointer_ = nullptr;
};

class TBstr {
public:
    explicit TBstr(const std::wstring& text)
        : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~TBstr() { SysFreeString(bstr_); }
    TBstr(const TBstr&) = delete;
    TBstr& operator=(const TBstr&) = delete;
    operator BSTR() const { return bstr_; }

private:
    BSTR bstr_;
};

class TVariant {
public:
    TVariant() { VariantInit(&value_); }
    ~TVariant() { VariantClear(&value_); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
    VARIANT* operator&() { return &value_; }
    const VARIANT& Value() const { return value_; }

private:
    VARIANT value_;
};

// Balances this call's own CoInitializeEx; a thread already in another
// apartment keeps it.
class TComScope {
public:
    TComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

private:
    HRESULT result_;
};

int NativeWmiQuery(const std::wstring& query, const std::wstring& propName, std::string& value) {
    TComScope com;
    TComPtr<IWbemLocator> locator;
    if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(locator.Receive()))))
        return -1;
    TComPtr<IWbemServices> services;
    if (FAILED(locator->ConnectServer(TBstr(L"root\\CIMV2"), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      services.Receive())))
        return -1;
    CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    TComPtr<IEnumWbemClassObject> results;
    if (FAILED(services->ExecQuery(TBstr(L"WQL"), TBstr(query), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   results.Receive())))
        return -1;
    TComPtr<IWbemClassObject> first;
    int count = 0;
    for (;;) {
        TComPtr<IWbemClassObject> object;
        ULONG got = 0;
        const HRESULT hr = results->Next(static_cast<long>(WBEM_INFINITE), 1, object.Receive(), &got);
        if (FAILED(hr)) return -1;
        if (hr != WBEM_S_NO_ERROR || got == 0) break;
        if (++count == 1) first = std::move(object);
    }
    if (count != 1) return count;
    TVariant property;
    CIMTYPE cimType = 0;
    if (FAILED(first->Get(propName.c_str(), 0, &property, &cimType, nullptr))) return -1;
    WmiValueToText(property.Value(), cimType, value);
    return 1;
}

bool IsIntegerType(CIMTYPE type) {
    switch (type) {
        case CIM_SINT16:
        case CIM_SINT32:
        case CIM_SINT8:
        case CIM_UINT8:
        case CIM_UINT16:
        case CIM_UINT32:
        case CIM_SINT64:
            return true;
        default:
            return false;
    }
}

// One integer element as decimal text. WMI hands unsigned 16- and 32-bit
// values over in signed variants, so their bit pattern is what counts.
std::string IntegerText(const VARIANT& value, CIMTYPE type) {
    VARIANT wide;
    VariantInit(&wide);
    if (FAILED(VariantChangeType(&wide, const_cast<VARIANT*>(&value), 0, VT_I8))) return {};
    int64_t number = wide.llVal;
    if (type == CIM_UINT8) number &= 0xFF;
    if (type == CIM_UINT16) number &= 0xFFFF;
    if (type == CIM_UINT32) number &= 0xFFFFFFFF;
    return IntToStr(number);
}

std::string ArrayText(const VARIANT& value, CIMTYPE type) {
    SAFEARRAY* array = value.parray;
    LONG low = 0, high = -1;
    if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &low)) ||
        FAILED(SafeArrayGetUBound(array, 1, &high)))
        return {};
    std::string text;
    for (LONG i = low; i <= high; ++i) {
        TVariant element;
        const VARTYPE elementType = value.vt & VT_TYPEMASK;
        void* target = &element;
        if (elementType != VT_VARIANT) {
            (&element)->vt = elementType;
            target = &(&element)->llVal;
        }
        if (FAILED(SafeArrayGetElement(array, &i, target))) return {};
        if (i > low) text += '|';
        text += IntegerText(element.Value(), type);
    }
    return text;
}

std::string PlainText(const VARIANT& value) {
    if (value.vt == VT_BSTR) return value.bstrVal ? ToAnsi(value.bstrVal) : std::string();
    TVariant converted;
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BSTR))) return {};
    return converted.Value().bstrVal ? ToAnsi(converted.Value().bstrVal) : std::string();
}

}  // namespace

std::wstring DriveModelQuery(int driveNum) {
    return L"SELECT Model FROM Win32_DiskDrive WHERE Name = \"\\\\\\\\.\\\\PHYSICALDRIVE" +
           std::to_wstring(driveNum) + L"\"";
}

void GetDriveModelWmi(int driveNum, std::string& model) {
    model.clear();
    WmiQueryProperty(DriveModelQuery(driveNum), L"Model", model);
}

int WmiQueryProperty(const std::wstring& query, const std::wstring& propName, std::string& value) {
    try {
        std::shared_ptr<TDriveAccess> access = CurrentDriveAccess();
        if (access->AnswersWmi()) return access->WmiQuery(query, propName, value);
        return NativeWmiQuery(query, propName, value);
    } catch (...) {
        return -1;
    }
}

void WmiValueToText(const VARIANT& value, CIMTYPE cimType, std::string& text) {
    if (value.vt == VT_NULL || value.vt == VT_EMPTY) {
        text = "NULL";
        return;
    }
    const CIMTYPE type = cimType & ~CIM_FLAG_ARRAY;
    const bool isArray = (value.vt & VT_ARRAY) != 0;
    if (IsIntegerType(type)) {
        text = isArray ? ArrayText(value, type) : IntegerText(value, type);
        return;
    }
    if (isArray) {
        text.clear();
        return;
    }
    switch (type) {
        case CIM_REAL32:
        case CIM_REAL64: {
            VARIANT real;
            VariantInit(&real);
            text = SUCCEEDED(VariantChangeType(&real, const_cast<VARIANT*>(&value), 0, VT_R8))
                       ? FloatToStr(real.dblVal)
                       : std::string();
            break;
        }
        case CIM_STRING:
        case CIM_UINT64:
        case CIM_DATETIME:
        case CIM_REFERENCE:
            text = PlainText(value);
            break;
        case CIM_BOOLEAN:
            text = value.vt == VT_BOOL ? (value.boolVal != VARIANT_FALSE ? "True" : "False") : std::string();
            break;
        case CIM_OBJECT:
            text = "<CIM Object>";
            break;
        case CIM_CHAR16:
            text = "<16-bit character>";
            break;
        default:
            text.clear();
            break;
    }
}
