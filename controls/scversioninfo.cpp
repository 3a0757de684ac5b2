#include "controls/scversioninfo.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "classlib/core/win32.h"

namespace {

constexpr const char* Keys[ScVersionFieldCount] = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"};

constexpr const char* NotAvailable = "Value Not Available";

std::string ModuleFileName() {
    char name[261] = {};
    const DWORD n = GetModuleFileNameA(nullptr, name, sizeof name);
    return std::string(name, n < sizeof name ? n : sizeof name - 1);
}

// "StringFileInfo\llllcccc\" from the first translation entry; a block
// without a whole entry gives the bare prefix.
std::string BlockPrefix(const std::vector<char>& Data) {
    void* value = nullptr;
    UINT length = 0;
    char path[] = "\\VarFileInfo\\Translation";
    std::string language, codePage;
    if (VerQueryValueA(Data.data(), path, &value, &length) && value && length >= 4) {
        DWORD entry;
        std::memcpy(&entry, value, 4);
        char text[8];
        std::snprintf(text, sizeof text, "%.4x", unsigned(LOWORD(entry)));
        language = text;
        std::snprintf(text, sizeof text, "%.4x", unsigned(HIWORD(entry)));
        codePage = text;
    }
    return "StringFileInfo\\" + language + codePage + "\\";
}

// The text at Key, never reading past the length the query reports.
std::string QueryString(const std::vector<char>& Data, const std::string& Key) {
    void* value = nullptr;
    UINT length = 0;
    std::string path = Key;
    if (!VerQueryValueA(Data.data(), path.data(), &value, &length) || !value) return "";
    const char* text = static_cast<const char*>(value);
    const char* end = static_cast<const char*>(std::memchr(text, 0, length));
    return std::string(text, end ? end : text + length);
}

}  // namespace

TScVersionInfo::TScVersionInfo(TComponent* AOwner) : inherited(AOwner) {
    LoadVersionInfo();
}

void TScVersionInfo::SetFilePath(const std::string& Value) {
    if (Value == filePath_) return;
    filePath_ = Value;
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
    if (filePath_.empty()) filePath_ = ModuleFileName();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(filePath_.c_str(), &handle);
    std::vector<char> data(size);
    available_ = size > 0 && GetFileVersionInfoA(filePath_.c_str(), 0, size, data.data());
    if (!available_) {
        fields_.fill(NotAvailable);
        return;
    }
    const std::string prefix = BlockPrefix(data);
    for (int i = 0; i < ScVersionFieldCount; ++i) fields_[i] = QueryString(data, prefix + Keys[i]);
}
