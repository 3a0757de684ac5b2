#include "controls/scversioninfo.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

constexpr const wchar_t* Keys[ScVersionFieldCount] = {
    L"CompanyName",     L"FileDescription",  L"FileVersion", L"InternalName",   L"LegalCopyright",
    L"LegalTrademarks", L"OriginalFilename", L"ProductName", L"ProductVersion", L"Comments"};

constexpr const char* NotAvailable = "Value Not Available";

// "StringFileInfo\llllcccc\" from the first translation entry; a block
// without a whole entry gives the bare prefix.
std::wstring BlockPrefix(const std::vector<char>& Data) {
    void* value = nullptr;
    UINT length = 0;
    std::wstring language, codePage;
    if (VerQueryValueW(Data.data(), L"\\VarFileInfo\\Translation", &value, &length) && value && length >= 4) {
        DWORD entry;
        std::memcpy(&entry, value, 4);
        wchar_t text[8];
        std::swprintf(text, 8, L"%.4x", unsigned(LOWORD(entry)));
        language = text;
        std::swprintf(text, 8, L"%.4x", unsigned(HIWORD(entry)));
        codePage = text;
    }
    return L"StringFileInfo\\" + language + codePage + L"\\";
}

// The text at Key, never reading past the length the query reports.
std::string QueryString(const std::vector<char>& Data, const std::wstring& Key) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(Data.data(), Key.c_str(), &value, &length) || !value) return "";
    const std::wstring_view text(static_cast<const wchar_t*>(value), length);
    return ToAnsi(text.substr(0, text.find(L'\0')));
}

}  // namespace

TScVersionInfo::TScVersionInfo(TComponent* AOwner) : inherited(AOwner) {
    LoadVersionInfo();
}

void TScVersionInfo::SetFilePath(const std::string& Value) {
    if (Value == filePath_) return;
    filePath_ = Value;
    widePath_ = ToWide(Value);
    if (!ComponentState().Contains(csLoading)) LoadVersionInfo();
}

std::string TScVersionInfo::GetInfo(int Index) const {
    return Index >= 0 && Index < ScVersionFieldCount ? fields_[Index] : std::string();
}

void TScVersionInfo::Loaded() {
    inherited::Loaded();
    LoadVersionInfo();
}

void TScVersionInfo::LoadVersionInfo() {
    if (filePath_.empty()) {
        widePath_ = WideParamStr(0);
        filePath_ = ToAnsi(widePath_);
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(widePath_.c_str(), &handle);
    std::vector<char> data(size);
    available_ = size > 0 && GetFileVersionInfoW(widePath_.c_str(), 0, size, data.data());
    if (!available_) {
        fields_.fill(NotAvailable);
        return;
    }
    const std::wstring prefix = BlockPrefix(data);
    for (int i = 0; i < ScVersionFieldCount; ++i) fields_[i] = QueryString(data, prefix + Keys[i]);
}
