#include "classlib/core/registryredirect.h"

#include <atomic>

#include "classlib/core/exceptions.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"

namespace {

TRegistryRedirect* activeRedirect = nullptr;

const char kTestsKey[] = "Software\\VexmoraTests";

std::string UniqueName() {
    static std::atomic<unsigned> counter{0};
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    return Format("%u-%u-%x", GetCurrentProcessId(), ++counter, static_cast<unsigned>(ticks.LowPart));
}

// A test run that crashed left its key behind: remove the keys of runs whose
// process is gone (the name starts with the process id). Wine hands out the
// same ids again, so a key with our own id is stale too: no redirect of this
// process is active when the outermost one starts.
void DeleteKeysOfEndedRuns() {
    TOwned<TRegistry> registry(Create<TRegistry>());
    if (!registry->OpenKey(std::string("\\") + kTestsKey, false)) return;
    TOwned<TStringList> names(Create<TStringList>());
    registry->GetKeyNames(names.get());
    for (int i = 0; i < names->Count(); ++i) {
        std::string name = names->Strings(i);
        int pid = StrToIntDef(name.substr(0, name.find('-')), 0);
        HANDLE process = pid > 0 ? OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid)) : nullptr;
        bool running = process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
        if (process) CloseHandle(process);
        if (pid > 0 && (!running || static_cast<DWORD>(pid) == GetCurrentProcessId()))
            registry->DeleteKey(name);
    }
}

}  // namespace

TRegistryRedirect::TRegistryRedirect() : previous_(activeRedirect) {
    if (!previous_) DeleteKeysOfEndedRuns();
    relativePath_ = std::string(kTestsKey) + "\\" + UniqueName();
    keyPath_ = previous_ ? previous_->keyPath_ + "\\" + relativePath_ : relativePath_;
    HKEY raw = nullptr;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, relativePath_.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw, nullptr);
    if (result == ERROR_SUCCESS) {
        key_.Reset(raw);
        result = RegOverridePredefKey(HKEY_CURRENT_USER, raw);
    }
    if (result != ERROR_SUCCESS) {
        if (key_.Get()) {
            key_.Reset();
            RegDeleteKeyA(HKEY_CURRENT_USER, relativePath_.c_str());
        }
        // Going on would let a test write into the user's real settings.
        throw ERegistryException("Cannot redirect HKEY_CURRENT_USER to a private key: " +
                                 SysErrorMessage(static_cast<unsigned long>(result)));
    }
    activeRedirect = this;
}

TRegistryRedirect::~TRegistryRedirect() {
    RegOverridePredefKey(HKEY_CURRENT_USER, previous_ ? previous_->key_.Get() : nullptr);
    activeRedirect = previous_;
    key_.Reset();
    TOwned<TRegistry> registry(Create<TRegistry>());
    registry->DeleteKey("\\" + relativePath_);
    // Only goes when no other run's key is left in it.
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey);
}
