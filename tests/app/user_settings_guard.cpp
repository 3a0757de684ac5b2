#include "tests/app/user_settings_guard.h"

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

const char* const SettingsKey = "SOFTWARE\\Larpok corporation";
const char* const AsideParent = "SOFTWARE\\Vexmora tests";

// Copies the whole tree From into To (made when missing); true when it went.
bool CopyTree(const std::string& From, const std::string& To) {
    HKEY source = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, From.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
    HKEY target = nullptr;
    bool copied = RegCreateKeyExA(HKEY_CURRENT_USER, To.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &target, nullptr) == ERROR_SUCCESS;
    if (copied) {
        copied = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
        RegCloseKey(target);
    }
    RegCloseKey(source);
    return copied;
}

bool KeyExists(const std::string& Name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void DeleteTree(const std::string& Name) {
    RegDeleteTreeA(HKEY_CURRENT_USER, Name.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, Name.c_str());
}

}  // namespace

TUserSettingsGuard::TUserSettingsGuard()
    : asideName_(Format("%s\\settings of run %u", AsideParent, GetCurrentProcessId())) {
    DeleteTree(asideName_);
    if (!KeyExists(SettingsKey)) {
        state_ = sNoneBefore;
        return;
    }
    if (!CopyTree(SettingsKey, asideName_)) {
        DeleteTree(asideName_);
        return;
    }
    state_ = sPutAside;
    DeleteTree(SettingsKey);
}

TUserSettingsGuard::~TUserSettingsGuard() {
    if (state_ == sUntouched) return;
    DeleteTree(SettingsKey);
    // Should the way back fail, the settings stay where they wait.
    if (state_ == sPutAside && !CopyTree(asideName_, SettingsKey)) return;
    DeleteTree(asideName_);
    // Empty unless another run keeps settings there.
    RegDeleteKeyA(HKEY_CURRENT_USER, AsideParent);
}
