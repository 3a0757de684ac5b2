// Test support for runs of VexmoraU.exe itself: a started program, ended at
// the end of the scope if it still runs, with a look for its windows; and the
// real current user's settings put back as they were.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

// A started program, ended at the end of the scope if it still runs.
class TRunningProgram {
public:
    explicit TRunningProgram(const std::string& Arguments, HANDLE ErrorOutput = nullptr) {
        std::wstring commandLine = L"\"Z:" VEXMORA_PROGRAM "\" " + ToWide(Arguments);
        Start(commandLine, nullptr, ErrorOutput);
    }
    // A whole command line of any letters, started in Folder.
    TRunningProgram(std::wstring CommandLine, const std::wstring& Folder) {
        Start(CommandLine, Folder.c_str(), nullptr);
    }
    ~TRunningProgram() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    TRunningProgram(const TRunningProgram&) = delete;
    TRunningProgram& operator=(const TRunningProgram&) = delete;

    // A top-level window of the program (caption and class may be null).
    HWND WaitForWindow(const wchar_t* Caption, const wchar_t* ClassName, bool Shown = true) const {
        for (int tries = 0; tries < 400; ++tries, Sleep(50))
            for (HWND window = FindWindowExW(nullptr, nullptr, ClassName, Caption); window;
                 window = FindWindowExW(nullptr, window, ClassName, Caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId && (!Shown || IsWindowVisible(window))) return window;
            }
        return nullptr;
    }
    HANDLE Process() const { return process_.hProcess; }
    // Every visible top-level window of the program with this class.
    std::vector<HWND> Windows(const wchar_t* ClassName) const {
        std::vector<HWND> found;
        for (HWND window = FindWindowExW(nullptr, nullptr, ClassName, nullptr); window;
             window = FindWindowExW(nullptr, window, ClassName, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_.dwProcessId && IsWindowVisible(window)) found.push_back(window);
        }
        return found;
    }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit() const {
        DWORD code = STILL_ACTIVE;
        if (started_) WaitForSingleObject(process_.hProcess, 20000);
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    void Start(std::wstring& CommandLine, const wchar_t* Folder, HANDLE ErrorOutput) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = ErrorOutput ? STARTF_USESTDHANDLES : 0;
        startup.hStdError = ErrorOutput;
        started_ = CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, ErrorOutput != nullptr, 0,
                                  nullptr, Folder, &startup, &process_);
    }

    bool started_ = false;
    PROCESS_INFORMATION process_{};
};

// The rows of the drive list in the program's main window, -1 while there is
// no list. Looked up afresh each time: the list's window may be made again
// while the program starts, and the window shows before the start is done.
inline int DriveListRows(HWND MainWindow) {
    HWND frame = FindWindowExW(MainWindow, nullptr, L"TSbTitleBar", nullptr);
    HWND content = FindWindowExW(frame, nullptr, L"TPanel", nullptr);
    HWND list =
        FindWindowExW(FindWindowExW(content, nullptr, L"TPanel", nullptr), nullptr, L"TListView", nullptr);
    return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

// The program writes the real current user's settings (of the tests' own
// Wine prefix, never the one scripts/run uses): a key that was not there
// before goes again afterwards.
class TSettingsCleanup {
public:
    TSettingsCleanup() {
        HKEY key = nullptr;
        existed_ = RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Larpok corporation", 0, KEY_READ, &key) == 0;
        if (key) RegCloseKey(key);
    }
    ~TSettingsCleanup() {
        if (!existed_) RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Larpok corporation");
    }

private:
    bool existed_ = false;
};
