// File and folder helpers: existence tests, delete/rename, the current
// folder, file-name splitting in the class library's way, the command line
// (`ParamStr`/`ParamCount`) and environment variables. The 8-bit forms take
// system code page text; the wide forms (and Wide...) carry what must
// survive any code page (a folder named in Cyrillic or CJK letters) as UTF-16.
#pragma once

#include <string>
#include <vector>

// True for an existing file (not a folder).
bool FileExists(const std::string& fileName);
bool FileExists(const std::wstring& fileName);
bool DirectoryExists(const std::string& directory);
bool DirectoryExists(const std::wstring& directory);
// True when done; the reason is in GetLastError.
bool DeleteFile(const std::string& fileName);
bool DeleteFile(const std::wstring& fileName);
bool RenameFile(const std::string& oldName, const std::string& newName);
bool RenameFile(const std::wstring& oldName, const std::wstring& newName);
bool CreateDir(const std::string& directory);
bool CreateDir(const std::wstring& directory);
// Only an empty folder is removed.
bool RemoveDir(const std::string& directory);
bool RemoveDir(const std::wstring& directory);

std::string GetCurrentDir();
std::wstring WideCurrentDir();
bool SetCurrentDir(const std::string& directory);
bool SetCurrentDir(const std::wstring& directory);
// The folder for temporary files, with a trailing "\".
std::string GetTempDir();
std::wstring WideTempDir();

// Splitting by the last "\" or ":" (in DBCS code pages, never a trail byte):
//   ExtractFilePath("C:\a\b.txt") = "C:\a\"   ExtractFileDir(...) = "C:\a"
//   ExtractFileName(...) = "b.txt"            ExtractFileExt(...) = ".txt"
// ExtractFileDir keeps the delimiter of a root ("C:\", "\").
std::string ExtractFilePath(const std::string& fileName);
std::string ExtractFileDir(const std::string& fileName);
std::string ExtractFileName(const std::string& fileName);
std::string ExtractFileExt(const std::string& fileName);
// Replaces the extension (the text from the last "." of the name part on),
// or appends `extension` when there is none. `extension` includes the dot.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
// "" becomes "\".
std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string ExcludeTrailingPathDelimiter(const std::string& path);
// The full path name, relative to the current folder; "." and ".." resolved.
std::string ExpandFileName(const std::string& fileName);
std::wstring ExpandFileName(const std::wstring& fileName);

// The program's command line: ParamStr(0) is the program file, 1..ParamCount
// the arguments (blanks separate, double quotes group and are dropped);
// out of range gives "". Read from the wide command line and converted to the
// system code page.
std::string ParamStr(int index);
std::wstring WideParamStr(int index);
int ParamCount();

namespace classlib_detail {
// The splitting rule behind ParamStr, for tests.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);
}  // namespace classlib_detail

// The value of an environment variable, "" when it is not set.
std::string GetEnvironmentValue(const std::string& name);
std::wstring WideEnvironmentValue(const std::string& name);
