#include "classlib/services/shellservice.h"

#include <shellapi.h>

namespace {

const char* OrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

class TWin32Shell : public TShellService {
public:
    bool Execute(HWND Window, const std::string& Verb, const std::string& File, const std::string& Parameters,
                 const std::string& Directory, int ShowCmd) override {
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
            Window, OrNull(Verb), File.c_str(), OrNull(Parameters), OrNull(Directory), ShowCmd));
        return result > 32;
    }

    bool ExecuteEx(ULONG Mask, HWND Window, const std::string& Verb, const std::string& File,
                   const std::string& Parameters, const std::string& Directory, int ShowCmd) override {
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = Mask;
        info.hwnd = Window;
        info.lpVerb = OrNull(Verb);
        info.lpFile = File.c_str();
        info.lpParameters = OrNull(Parameters);
        info.lpDirectory = OrNull(Directory);
        info.nShow = ShowCmd;
        const bool ok = ShellExecuteExA(&info);
        // A process handle is only there when the mask asked for one; it is
        // nobody's to keep.
        if (ok && (Mask & SEE_MASK_NOCLOSEPROCESS) && info.hProcess) CloseHandle(info.hProcess);
        return ok;
    }

    bool Run(const std::string& CommandLine, int ShowCmd) override {
        return ::WinExec(CommandLine.c_str(), static_cast<UINT>(ShowCmd)) > 31;
    }
};

}  // namespace

TShellService& TShellService::Default() {
    static TWin32Shell shell;
    return shell;
}
