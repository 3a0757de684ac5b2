#include "app/drive_settings.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/settings.h"

namespace {

// Registry value names compare without regard to case. The names looked up
// here are plain ASCII; folding the ASCII letters alone keeps a lookup free of
// the locale's comparison, which costs the poll more than the rest of it.
char Folded(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

bool SameName(const std::string& A, const std::string& B) {
    return !TDriveSettings::TNameLess()(A, B) && !TDriveSettings::TNameLess()(B, A);
}

// A key below the current user's root, as Win32 names it.
std::string RelativePath(const std::string& Key) {
    return Key.substr(Key.find_first_not_of('\\'));
}

// Every value of Model's key in one pass: name, type and data come with one
// call each, where a typed read asks three times.
std::shared_ptr<const TDriveSettings> ReadDriveSettings(const std::string& Model) {
    auto settings = std::make_shared<TDriveSettings>();
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RelativePath(DriveKey(Model)).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return settings;
    const TRegKeyHandle key(raw);
    std::vector<char> name(16384);  // the longest value name the registry allows, and its NUL
    std::vector<BYTE> data(256);
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LONG result =
            RegEnumValueA(key.Get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA) {
            data.resize(std::max<size_t>(size, data.size() * 2));
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        ++index;
        const std::string valueName(name.data(), nameLength);
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            // A stored text need not end with its NUL; what follows a NUL is no part of it.
            const char* text = reinterpret_cast<const char*>(data.data());
            settings->Actions[valueName] = std::string(text, strnlen(text, size));
        } else if (type == REG_DWORD && size == sizeof(DWORD) && SameName(valueName, "Temperature")) {
            DWORD value = 0;
            std::memcpy(&value, data.data(), sizeof value);
            settings->Threshold = static_cast<int>(value);
        }
    }
    return settings;
}

}  // namespace

bool TDriveSettings::TNameLess::operator()(const std::string& A, const std::string& B) const {
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(),
                                        [](char X, char Y) { return Folded(X) < Folded(Y); });
}

const std::string& TDriveSettings::Action(const std::string& Attribute) const {
    static const std::string none;
    const auto found = Actions.find(Attribute);
    return found == Actions.end() ? none : found->second;
}

void TDriveSettingsStore::TakeOutsideChanges() {
    if (watching_ && WaitForSingleObject(changed_.get(), 0) == WAIT_TIMEOUT) return;
    drives_.clear();
    ++generation_;
    watching_ = Watch();
}

bool TDriveSettingsStore::Watch() {
    if (!changed_) changed_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    // Opened again each time: the change may have been the key's deletion.
    watchedKey_.Reset();
    watchedParent_.Reset();
    if (!changed_) return false;
    const auto watch = [this](const std::string& Key, BOOL Subtree, DWORD Filter, TRegKeyHandle& Handle) {
        HKEY raw = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, RelativePath(Key).c_str(), 0, KEY_NOTIFY, &raw) != ERROR_SUCCESS)
            return false;
        Handle.Reset(raw);
        return RegNotifyChangeKeyValue(raw, Subtree, Filter, changed_.get(), TRUE) == ERROR_SUCCESS;
    };
    // A watched key that is deleted need not tell (Wine's does not): its
    // parent does, and it is watched first, so that no deletion falls
    // between the two. Then the key made again is not missed.
    const std::string key = SettingsKey;
    return watch(key.substr(0, key.rfind('\\')), FALSE, REG_NOTIFY_CHANGE_NAME, watchedParent_) &&
           watch(key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, watchedKey_);
}

std::shared_ptr<const TDriveSettings> TDriveSettingsStore::Of(const std::string& Model) {
    if (const auto held = drives_.find(Model); held != drives_.end()) return held->second;
    auto settings = ReadDriveSettings(Model);
    // Unwatched, nothing would tell when it goes stale: read each time.
    if (watching_) drives_[Model] = settings;
    return settings;
}

bool TDriveSettingsStore::WriteAction(const std::string& Model, const std::string& Attribute,
                                      const std::string& Action) {
    auto key = OpenDriveSettings(Model, true);
    if (!key) return false;
    key->WriteString(Attribute, Action);
    Update(Model, [&](TDriveSettings& Settings) { Settings.Actions[Attribute] = Action; });
    return true;
}

bool TDriveSettingsStore::WriteThreshold(const std::string& Model, int Threshold) {
    auto key = OpenDriveSettings(Model, true);
    if (!key) return false;
    key->WriteInteger("Temperature", Threshold);
    Update(Model, [&](TDriveSettings& Settings) { Settings.Threshold = Threshold; });
    return true;
}

TOwned<TRegistry> TDriveSettingsStore::OpenForWriting(const std::string& Model) {
    drives_.erase(Model);
    return OpenDriveSettings(Model, true);
}

template <class F>
void TDriveSettingsStore::Update(const std::string& Model, F Change) {
    const auto held = drives_.find(Model);
    if (held == drives_.end()) return;
    // A copy: a check may still hold the old one.
    auto settings = std::make_shared<TDriveSettings>(*held->second);
    Change(*settings);
    held->second = std::move(settings);
}
