#include "classlib/core/files.h"

#include <vector>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

// Index of the last character of `delimiters` in `text`, or npos. In a DBCS
// code page a trail byte may equal "\" and must not count.
size_t LastDelimiter(const std::string& delimiters, const std::string& text) {
    size_t found = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (delimiters.find(text[i]) != std::string::npos) found = i;
    }
    return found;
}

bool EndsWithDelimiter(const std::string& path) {
    return !path.empty() && LastDelimiter("\\", path) == path.size() - 1;
}

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Calls `get(buffer, size)` (a Win32 "fill this buffer" function returning the
// length, or the size needed when it does not fit) until the text fits.
template <class Get>
std::wstring FetchText(Get get) {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        DWORD length = get(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

}  // namespace

// The class library's command-line rule: blanks (any character up to the
// space) separate, double quotes group and are dropped, no escapes.
std::vector<std::wstring> classlib_detail::SplitCommandLine(const wchar_t* p) {
    std::vector<std::wstring> result;
    for (;;) {
        for (;;) {
            while (*p != 0 && *p <= L' ') ++p;
            if (p[0] == L'"' && p[1] == L'"')
                p += 2;
            else
                break;
        }
        if (*p == 0) return result;
        std::wstring param;
        bool quoted = false;
        for (; *p != 0 && (quoted || *p > L' '); ++p) {
            if (*p == L'"')
                quoted = !quoted;
            else
                param += *p;
        }
        result.push_back(std::move(param));
    }
}

// The 8-bit forms below pass their names on through the wide ones: no name
// reaches the system through an 8-bit call.

bool FileExists(const std::string& fileName) {
    return FileExists(ToWide(fileName));
}

bool FileExists(const std::wstring& fileName) {
    return IsFile(GetFileAttributesW(fileName.c_str()));
}

bool DirectoryExists(const std::string& directory) {
    return DirectoryExists(ToWide(directory));
}

bool DirectoryExists(const std::wstring& directory) {
    DWORD attributes = GetFileAttributesW(directory.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const std::string& fileName) {
    return DeleteFile(ToWide(fileName));
}

bool DeleteFile(const std::wstring& fileName) {
    return DeleteFileW(fileName.c_str());
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
    return RenameFile(ToWide(oldName), ToWide(newName));
}

bool RenameFile(const std::wstring& oldName, const std::wstring& newName) {
    return MoveFileW(oldName.c_str(), newName.c_str());
}

bool CreateDir(const std::string& directory) {
    return CreateDir(ToWide(directory));
}

bool CreateDir(const std::wstring& directory) {
    return CreateDirectoryW(directory.c_str(), nullptr);
}

bool RemoveDir(const std::string& directory) {
    return RemoveDir(ToWide(directory));
}

bool RemoveDir(const std::wstring& directory) {
    return RemoveDirectoryW(directory.c_str());
}

std::string GetCurrentDir() {
    return ToAnsi(WideCurrentDir());
}

std::wstring WideCurrentDir() {
    return FetchText([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
}

bool SetCurrentDir(const std::string& directory) {
    return SetCurrentDir(ToWide(directory));
}

bool SetCurrentDir(const std::wstring& directory) {
    return SetCurrentDirectoryW(directory.c_str());
}

std::string GetTempDir() {
    return ToAnsi(WideTempDir());
}

std::wstring WideTempDir() {
    std::wstring path = FetchText([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

std::string ExtractFilePath(const std::string& fileName) {
    size_t i = LastDelimiter("\\:", fileName);
    return i == std::string::npos ? std::string() : fileName.substr(0, i + 1);
}

std::string ExtractFileDir(const std::string& fileName) {
    size_t i = LastDelimiter("\\:", fileName);
    if (i == std::string::npos) return {};
    // "C:\a\b" gives "C:\a", but "C:\b" keeps the root's "\".
    if (i > 0 && fileName[i] == '\\' && LastDelimiter("\\:", fileName.substr(0, i)) != i - 1)
        return fileName.substr(0, i);
    return fileName.substr(0, i + 1);
}

std::string ExtractFileName(const std::string& fileName) {
    size_t i = LastDelimiter("\\:", fileName);
    return i == std::string::npos ? fileName : fileName.substr(i + 1);
}

std::string ExtractFileExt(const std::string& fileName) {
    size_t i = LastDelimiter(".\\:", fileName);
    return i != std::string::npos && fileName[i] == '.' ? fileName.substr(i) : std::string();
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
    size_t i = LastDelimiter(".\\:", fileName);
    if (i == std::string::npos || fileName[i] != '.') i = fileName.size();
    return fileName.substr(0, i) + extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    return EndsWithDelimiter(path) ? path : path + '\\';
}

std::string ExcludeTrailingPathDelimiter(const std::string& path) {
    return EndsWithDelimiter(path) ? path.substr(0, path.size() - 1) : path;
}

std::string ExpandFileName(const std::string& fileName) {
    return ToAnsi(ExpandFileName(ToWide(fileName)));
}

std::wstring ExpandFileName(const std::wstring& fileName) {
    if (fileName.empty()) return {};
    return FetchText([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(fileName.c_str(), size, buffer, nullptr);
    });
}

std::string ParamStr(int index) {
    return ToAnsi(WideParamStr(index));
}

std::wstring WideParamStr(int index) {
    if (index == 0) {
        std::vector<wchar_t> buffer(MAX_PATH + 1);
        for (;;) {
            DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (length < buffer.size()) return std::wstring(buffer.data(), length);
            buffer.resize(buffer.size() * 2);
        }
    }
    std::vector<std::wstring> params = classlib_detail::SplitCommandLine(GetCommandLineW());
    // params[0] is the program as it was typed.
    if (index < 0 || static_cast<size_t>(index) >= params.size()) return {};
    return params[static_cast<size_t>(index)];
}

int ParamCount() {
    size_t count = classlib_detail::SplitCommandLine(GetCommandLineW()).size();
    return count == 0 ? 0 : static_cast<int>(count - 1);
}

std::string GetEnvironmentValue(const std::string& name) {
    return ToAnsi(WideEnvironmentValue(name));
}

std::wstring WideEnvironmentValue(const std::string& name) {
    const std::wstring wideName = ToWide(name);
    return FetchText(
        [&](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(wideName.c_str(), buffer, size); });
}
