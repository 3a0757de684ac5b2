#include "classlib/services/powerservice.h"

namespace {

const char* OrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

class TTokenHandle {
public:
    TTokenHandle() = default;
    TTokenHandle(const TTokenHandle&) = delete;
    TTokenHandle& operator=(const TTokenHandle&) = delete;
    ~TTokenHandle() {
        if (handle_) CloseHandle(handle_);
    }
    HANDLE* Receive() { return &handle_; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

class TWin32Power : public TPowerService {
public:
    TPrivilegeResult EnableShutdownPrivilege() override {
        TTokenHandle token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive()))
            return prNoToken;
        TOKEN_PRIVILEGES privileges{};
        if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            return prNoPrivilege;
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        // Success is not enough: a privilege the account lacks comes back as
        // ERROR_NOT_ALL_ASSIGNED with TRUE.
        SetLastError(0);
        AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
        return GetLastError() == 0 ? prEnabled : prNotAdjusted;
    }

    bool InitiateShutdown(const std::string& Machine, const std::string& Message, DWORD Timeout,
                          bool ForceAppsClosed, bool Reboot) override {
        return InitiateSystemShutdownA(const_cast<char*>(OrNull(Machine)), const_cast<char*>(OrNull(Message)),
                                       Timeout, ForceAppsClosed, Reboot);
    }

    bool AbortShutdown(const std::string& Machine) override {
        return AbortSystemShutdownA(const_cast<char*>(OrNull(Machine)));
    }

    bool ExitSession(UINT Flags, DWORD Reserved) override { return ExitWindowsEx(Flags, Reserved); }
};

}  // namespace

TPowerService& TPowerService::Default() {
    static TWin32Power power;
    return power;
}
