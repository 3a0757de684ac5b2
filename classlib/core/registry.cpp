#include "classlib/core/registry.h"

#include <algorithm>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"

namespace {

bool IsPredefinedKey(HKEY key) {
    auto value = reinterpret_cast<ULONG_PTR>(key);
    return value >= 0x80000000u && value <= 0x800000FFu;
}

bool IsRelative(const std::string& key) {
    return key.empty() || key[0] != '\\';
}

std::string WithoutLeadingDelimiter(const std::string& key) {
    return IsRelative(key) ? key : key.substr(1);
}

TRegDataType DataTypeToRegData(DWORD type) {
    switch (type) {
        case REG_SZ:
            return rdString;
        case REG_EXPAND_SZ:
            return rdExpandString;
        case REG_DWORD:
            return rdInteger;
        case REG_BINARY:
            return rdBinary;
        default:
            return rdUnknown;
    }
}

[[noreturn]] void ReadError(const std::string& name) {
    throw ERegistryException(Format("Invalid data type for '%s'", name));
}

// Names of the subkeys or values of `key`, read until the enumeration ends.
// The buffer grows on demand: the lengths RegQueryInfoKey reports count
// UTF-16 units, which in a DBCS code page can be fewer than the bytes.
template <class Enumerate>
std::vector<std::string> EnumerateNames(HKEY key, Enumerate enumerate) {
    std::vector<std::string> names;
    std::vector<char> buffer(256);
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG result = enumerate(key, index, buffer.data(), &length);
        if (result == ERROR_MORE_DATA && buffer.size() < 0x100000) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), std::min<size_t>(length, buffer.size()));
        ++index;
    }
    return names;
}

std::vector<std::string> SubKeyNames(HKEY key) {
    return EnumerateNames(key, [](HKEY k, DWORD index, char* name, DWORD* length) {
        return RegEnumKeyExA(k, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::string> ValueNames(HKEY key) {
    return EnumerateNames(key, [](HKEY k, DWORD index, char* name, DWORD* length) {
        return RegEnumValueA(k, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

// Deletes base\path and everything below it, deepest keys first.
bool DeleteTree(HKEY base, const std::string& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return false;
    TRegKeyHandle key(raw);
    for (const std::string& name : SubKeyNames(key.Get())) DeleteTree(key.Get(), name);
    key.Reset();
    return RegDeleteKeyA(base, path.c_str()) == ERROR_SUCCESS;
}

void FillStrings(TStrings* strings, const std::vector<std::string>& names) {
    strings->BeginUpdate();
    try {
        strings->Clear();
        for (const std::string& name : names) strings->Add(name);
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

}  // namespace

void TRegKeyHandle::Reset(HKEY key) {
    if (key_ && key_ != key && !IsPredefinedKey(key_)) RegCloseKey(key_);
    key_ = key;
}

// ---- Keys -------------------------------------------------------------------

void TRegistry::SetRootKey(HKEY rootKey) {
    if (rootKey == rootKey_) return;
    rootKey_ = rootKey;
    CloseKey();
}

HKEY TRegistry::BaseKey(bool relative) const {
    return currentKey_.Get() && relative ? currentKey_.Get() : rootKey_;
}

TRegKeyHandle TRegistry::GetKey(const std::string& key) const {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(BaseKey(IsRelative(key)), WithoutLeadingDelimiter(key).c_str(), 0, access_, &raw) !=
        ERROR_SUCCESS)
        return {};
    return TRegKeyHandle(raw);
}

void TRegistry::ChangeKey(TRegKeyHandle key, const std::string& path) {
    CloseKey();
    currentKey_ = std::move(key);
    currentPath_ = path;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    bool relative = IsRelative(key);
    std::string path = WithoutLeadingDelimiter(key);
    HKEY raw = nullptr;
    LONG result;
    if (!canCreate || path.empty())
        result = RegOpenKeyExA(BaseKey(relative), path.c_str(), 0, access_, &raw);
    else
        result = RegCreateKeyExA(BaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 access_, nullptr, &raw, nullptr);
    if (result != ERROR_SUCCESS) return false;
    if (currentKey_.Get() && relative && !currentPath_.empty()) path = currentPath_ + "\\" + path;
    ChangeKey(TRegKeyHandle(raw), path);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    // Fall back to fewer rights where a key grants only some of KEY_READ; the
    // rights that worked stay in force for this object.
    static const REGSAM kAttempts[] = {
        KEY_READ, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, KEY_QUERY_VALUE};
    REGSAM oldAccess = access_;
    for (REGSAM access : kAttempts) {
        access_ = access;
        if (OpenKey(key, false)) return true;
    }
    access_ = oldAccess;
    return false;
}

void TRegistry::CloseKey() {
    currentKey_.Reset();
    currentPath_.clear();
}

bool TRegistry::CreateKey(const std::string& key) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(BaseKey(IsRelative(key)), WithoutLeadingDelimiter(key).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, access_, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        throw ERegistryException("Failed to create key " + key);
    TRegKeyHandle created(raw);
    return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string path = WithoutLeadingDelimiter(key);
    if (path.empty()) return false;
    return DeleteTree(BaseKey(IsRelative(key)), path);
}

bool TRegistry::KeyExists(const std::string& key) {
    REGSAM oldAccess = access_;
    access_ = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
    bool exists = GetKey(key).Get() != nullptr;
    access_ = oldAccess;
    return exists;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& info) {
    info = {};
    DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueLen = 0, maxDataLen = 0;
    if (!currentKey_.Get() ||
        RegQueryInfoKeyA(currentKey_.Get(), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr,
                         &values, &maxValueLen, &maxDataLen, nullptr, &info.FileTime) != ERROR_SUCCESS)
        return false;
    info.NumSubKeys = static_cast<int>(subKeys);
    info.MaxSubKeyLen = static_cast<int>(maxSubKeyLen);
    info.NumValues = static_cast<int>(values);
    info.MaxValueLen = static_cast<int>(maxValueLen);
    info.MaxDataLen = static_cast<int>(maxDataLen);
    return true;
}

bool TRegistry::HasSubKeys() {
    TRegKeyInfo info;
    return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* strings) {
    FillStrings(strings, currentKey_.Get() ? SubKeyNames(currentKey_.Get()) : std::vector<std::string>());
}

void TRegistry::GetValueNames(TStrings* strings) {
    FillStrings(strings, currentKey_.Get() ? ValueNames(currentKey_.Get()) : std::vector<std::string>());
}

// ---- Values -----------------------------------------------------------------

bool TRegistry::GetDataInfo(const std::string& name, TRegDataInfo& info) {
    info = {};
    DWORD type = REG_NONE, size = 0;
    if (!currentKey_.Get() ||
        RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    info.RegData = DataTypeToRegData(type);
    info.DataSize = static_cast<int>(size);
    return true;
}

bool TRegistry::ValueExists(const std::string& name) {
    TRegDataInfo info;
    return GetDataInfo(name, info);
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const std::string& name) {
    TRegDataInfo info;
    return GetDataInfo(name, info) ? info.DataSize : -1;
}

bool TRegistry::DeleteValue(const std::string& name) {
    return currentKey_.Get() && RegDeleteValueA(currentKey_.Get(), name.c_str()) == ERROR_SUCCESS;
}

int TRegistry::GetData(const std::string& name, void* buffer, DWORD bufferSize, TRegDataType& type) {
    DWORD rawType = REG_NONE;
    if (!currentKey_.Get() || RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &rawType,
                                               static_cast<BYTE*>(buffer), &bufferSize) != ERROR_SUCCESS)
        throw ERegistryException(Format("Failed to get data for '%s'", name));
    type = DataTypeToRegData(rawType);
    return static_cast<int>(bufferSize);
}

void TRegistry::PutData(const std::string& name, const void* buffer, DWORD bufferSize, DWORD type) {
    if (!currentKey_.Get() || RegSetValueExA(currentKey_.Get(), name.c_str(), 0, type,
                                             static_cast<const BYTE*>(buffer), bufferSize) != ERROR_SUCCESS)
        throw ERegistryException(Format("Failed to set data for '%s'", name));
}

std::string TRegistry::ReadString(const std::string& name) {
    TRegDataInfo info;
    if (!GetDataInfo(name, info) || info.DataSize <= 0) return {};
    if (info.RegData != rdString && info.RegData != rdExpandString) ReadError(name);
    // One extra zero byte: a stored text need not end with its NUL.
    std::string text(static_cast<size_t>(info.DataSize) + 1, '\0');
    TRegDataType type;
    int size = GetData(name, text.data(), static_cast<DWORD>(info.DataSize), type);
    if (type != rdString && type != rdExpandString) ReadError(name);
    text.resize(static_cast<size_t>(size));
    return text.substr(0, text.find('\0'));
}

std::wstring TRegistry::ReadWideString(const std::string& name) {
    const std::wstring wideName = ToWide(name);
    DWORD type = REG_NONE, size = 0;
    if (!currentKey_.Get() ||
        RegQueryValueExW(currentKey_.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) ReadError(name);
    // One extra unit: a stored text need not end with its NUL.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(currentKey_.Get(), wideName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
        throw ERegistryException(Format("Failed to get data for '%s'", name));
    if (type != REG_SZ && type != REG_EXPAND_SZ) ReadError(name);
    text.resize(size / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    PutData(name, value.c_str(), static_cast<DWORD>(value.size() + 1), REG_SZ);
}

void TRegistry::WriteWideString(const std::string& name, const std::wstring& value) {
    const std::wstring wideName = ToWide(name);
    if (!currentKey_.Get() ||
        RegSetValueExW(currentKey_.Get(), wideName.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw ERegistryException(Format("Failed to set data for '%s'", name));
}

int TRegistry::ReadInteger(const std::string& name) {
    TRegDataInfo info;
    if (!GetDataInfo(name, info)) throw ERegistryException(Format("Failed to get data for '%s'", name));
    if (info.RegData != rdInteger) ReadError(name);
    DWORD value = 0;
    TRegDataType type;
    GetData(name, &value, sizeof value, type);
    if (type != rdInteger) ReadError(name);
    return static_cast<int>(value);
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    DWORD data = static_cast<DWORD>(value);
    PutData(name, &data, sizeof data, REG_DWORD);
}

bool TRegistry::ReadBool(const std::string& name) {
    return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufferSize) {
    TRegDataInfo info;
    if (!GetDataInfo(name, info)) return 0;
    if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > bufferSize)
        ReadError(name);
    TRegDataType type;
    return GetData(name, buffer, static_cast<DWORD>(info.DataSize), type);
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int bufferSize) {
    PutData(name, buffer, static_cast<DWORD>(std::max(bufferSize, 0)), REG_BINARY);
}
