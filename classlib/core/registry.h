// `TRegistry`: one open key below a root key (HKEY_CURRENT_USER unless set),
// typed reads and writes of its values, and key enumeration, creation and
// recursive deletion. Names are 8-bit system code page text.
//
// What a read does with a value that is missing or of another type:
//   ReadString     missing: ""; REG_SZ or REG_EXPAND_SZ (unexpanded): the
//                  text up to its first NUL; any other type: raises
//   ReadInteger    missing: raises "Failed to get data for '<name>'";
//   ReadBool       not REG_DWORD: raises "Invalid data type for '<name>'"
//                  (ReadBool is ReadInteger <> 0)
//   ReadBinaryData missing: returns 0; REG_BINARY or a type the class
//                  library has no name for (REG_NONE, REG_MULTI_SZ, ...) that
//                  fits the buffer: its size; a string, an integer or one too
//                  big for the buffer: raises "Invalid data type for '<name>'"
// All of these are ERegistryException, so callers that want defaults test
// ValueExists (and GetDataType) first. Failed writes raise ERegistryException
// "Failed to set data for '<name>'". Nothing stored can make a read overrun.
//
// Tests point every registry access of the process at a throwaway key with
// TRegistryRedirect (classlib/registryredirect.h).
#pragma once

#include <cstdint>
#include <string>

#include "classlib/core/object.h"
#include "classlib/core/win32.h"

class TStrings;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
    int NumSubKeys = 0;
    int MaxSubKeyLen = 0;
    int NumValues = 0;
    int MaxValueLen = 0;
    int MaxDataLen = 0;
    FILETIME FileTime{};
};

struct TRegDataInfo {
    TRegDataType RegData = rdUnknown;
    int DataSize = 0;
};

// An HKEY that is closed when the holder goes; predefined root keys are
// never closed.
class TRegKeyHandle {
public:
    TRegKeyHandle() = default;
    explicit TRegKeyHandle(HKEY key) : key_(key) {}
    TRegKeyHandle(TRegKeyHandle&& other) noexcept : key_(other.Release()) {}
    TRegKeyHandle& operator=(TRegKeyHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~TRegKeyHandle() { Reset(); }

    HKEY Get() const { return key_; }
    HKEY Release() {
        HKEY key = key_;
        key_ = nullptr;
        return key;
    }
    void Reset(HKEY key = nullptr);

private:
    HKEY key_ = nullptr;
};

class TRegistry : public TObject {
    VX_CLASS(TRegistry, TObject)
public:
    TRegistry() = default;
    explicit TRegistry(REGSAM access) : access_(access) {}

    // Changing the root closes the current key.
    HKEY RootKey() const { return rootKey_; }
    void SetRootKey(HKEY rootKey);
    // The rights OpenKey asks for (KEY_ALL_ACCESS unless set).
    REGSAM Access() const { return access_; }
    void SetAccess(REGSAM access) { access_ = access; }

    // The open key (null when none) and its path below the root, without a
    // leading "\".
    HKEY CurrentKey() const { return currentKey_.Get(); }
    const std::string& CurrentPath() const { return currentPath_; }

    // A key starting with "\" is taken from the root key, any other from the
    // current key (from the root when none is open). On success the key
    // becomes the current one; on failure the current key stays open.
    bool OpenKey(const std::string& key, bool canCreate);
    // OpenKey without create, asking only for the rights to read (KEY_READ,
    // or less where the key grants less); those rights become Access.
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    // Creates the key (and the keys on its path) without opening it; raises
    // ERegistryException "Failed to create key <key>" when that fails.
    bool CreateKey(const std::string& key);
    // Deletes the key with all its subkeys; false when it is not there or
    // cannot be deleted, and for an empty name (which would mean the base key).
    bool DeleteKey(const std::string& key);
    bool KeyExists(const std::string& key);

    // About the current key.
    bool GetKeyInfo(TRegKeyInfo& info);
    bool HasSubKeys();
    // Replace the list's content with the names of the subkeys / values.
    void GetKeyNames(TStrings* strings);
    void GetValueNames(TStrings* strings);

    bool ValueExists(const std::string& name);
    bool GetDataInfo(const std::string& name, TRegDataInfo& info);
    // rdUnknown when missing; GetDataSize is -1 when missing.
    TRegDataType GetDataType(const std::string& name);
    int GetDataSize(const std::string& name);
    bool DeleteValue(const std::string& name);

    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);
    // A REG_SZ written as UTF-16, for text that must survive any code page.
    void WriteWideString(const std::string& name, const std::wstring& value);
    // ReadString as UTF-16: what the code page cannot hold is not lost.
    std::wstring ReadWideString(const std::string& name);
    int ReadInteger(const std::string& name);
    void WriteInteger(const std::string& name, int value);
    bool ReadBool(const std::string& name);
    void WriteBool(const std::string& name, bool value);
    // Returns the bytes read (see the table above).
    int ReadBinaryData(const std::string& name, void* buffer, int bufferSize);
    void WriteBinaryData(const std::string& name, const void* buffer, int bufferSize);

protected:
    ~TRegistry() override = default;

private:
    HKEY BaseKey(bool relative) const;
    // Opens `key` below the base key with access_; null when it cannot.
    TRegKeyHandle GetKey(const std::string& key) const;
    void ChangeKey(TRegKeyHandle key, const std::string& path);
    // Reads the value into buffer; raises "Failed to get data" when it cannot.
    int GetData(const std::string& name, void* buffer, DWORD bufferSize, TRegDataType& type);
    void PutData(const std::string& name, const void* buffer, DWORD bufferSize, DWORD type);

    HKEY rootKey_ = HKEY_CURRENT_USER;
    REGSAM access_ = KEY_ALL_ACCESS;
    TRegKeyHandle currentKey_;
    std::string currentPath_;
};
