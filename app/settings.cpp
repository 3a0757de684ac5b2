#include "app/settings.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/files.h"

const char* const SettingsKey = "\\SOFTWARE\\Larpok corporation\\Vexmora\\Mon";
const char* const RunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValueName = "Vexmora";
const char* const DefaultAlertAction = "Show message";
const char* const AlertActions[5] = {"Show message", "Shutdown Computer", "Reboot Computer", "Send mail",
                                     "Never show message"};

std::string DriveKey(const std::string& model) {
    return std::string(SettingsKey) + "\\" + model;
}

namespace {

TOwned<TRegistry> OpenKeyOf(const std::string& key, bool canCreate) {
    auto registry = MakeOwned<TRegistry>();
    registry->SetRootKey(HKEY_CURRENT_USER);
    if (!registry->OpenKey(key, canCreate)) return nullptr;
    return registry;
}

}  // namespace

TOwned<TRegistry> OpenSettings(bool canCreate) {
    return OpenKeyOf(SettingsKey, canCreate);
}

TOwned<TRegistry> OpenDriveSettings(const std::string& model, bool canCreate) {
    return OpenKeyOf(DriveKey(model), canCreate);
}

std::optional<int> ReadStoredInteger(TRegistry* registry, const std::string& name) {
    // A REG_DWORD of another size than four bytes is no integer: shorter it
    // would read as part of one, longer it makes the read raise.
    TRegDataInfo info;
    if (!registry || !registry->GetDataInfo(name, info) || info.RegData != rdInteger ||
        info.DataSize != sizeof(DWORD))
        return std::nullopt;
    // The value may still change between the test and the read.
    try {
        return registry->ReadInteger(name);
    } catch (const ERegistryException&) {
        return std::nullopt;
    }
}

int ReadIntegerOr(TRegistry* registry, const std::string& name, int defaultValue) {
    return ReadStoredInteger(registry, name).value_or(defaultValue);
}

namespace {

template <class Text, class Read>
Text ReadTextOr(TRegistry* registry, const std::string& name, const Text& defaultValue, Read read) {
    if (!registry) return defaultValue;
    const TRegDataType type = registry->GetDataType(name);
    if (type != rdString && type != rdExpandString) return defaultValue;
    try {
        return read(name);
    } catch (const ERegistryException&) {
        return defaultValue;
    }
}

}  // namespace

std::string ReadStringOr(TRegistry* registry, const std::string& name, const std::string& defaultValue) {
    return ReadTextOr(registry, name, defaultValue,
                      [registry](const std::string& Name) { return registry->ReadString(Name); });
}

std::wstring ReadWideStringOr(TRegistry* registry, const std::string& name,
                              const std::wstring& defaultValue) {
    return ReadTextOr(registry, name, defaultValue,
                      [registry](const std::string& Name) { return registry->ReadWideString(Name); });
}

bool ReadBoolOr(TRegistry* registry, const std::string& name, bool defaultValue) {
    return ReadIntegerOr(registry, name, defaultValue ? 1 : 0) != 0;
}

namespace {

const char* const UnwatchedValue = "Unwatched";

}  // namespace

TOwned<TStringList> ReadUnwatchedModels(TRegistry* settings) {
    auto models = MakeOwned<TStringList>();
    models->SetText(ReadStringOr(settings, UnwatchedValue, ""));
    return models;
}

void MarkUnwatched(TRegistry* settings, const std::string& model, bool unwatched) {
    if (!settings || model.empty()) return;
    const auto models = ReadUnwatchedModels(settings);
    const int listed = models->IndexOf(model);
    if ((listed >= 0) == unwatched) return;
    if (unwatched)
        models->Add(model);
    else
        models->Delete(listed);
    if (models->Count() == 0)
        settings->DeleteValue(UnwatchedValue);
    else
        settings->WriteString(UnwatchedValue, models->Text());
}

int ReadTrayColor(const std::string& model) {
    return ReadIntegerOr(OpenSettings().get(), model, DefaultTrayColor);
}

void RunWWS(bool enable) {
    auto registry = OpenKeyOf(RunKey, false);
    if (!registry) return;
    // The current folder at logon, or whenever this is saved, need not be the
    // program's; unquoted, a blank in the path would end the program's name.
    if (enable)
        registry->WriteWideString(RunValueName, L"\"" + WideParamStr(0) + L"\"");
    else
        registry->DeleteValue(RunValueName);
}

bool ReadWWS() {
    auto registry = OpenKeyOf(RunKey, false);
    return registry && registry->ValueExists(RunValueName);
}

int ReadRun() {
    return ReadIntegerOr(OpenSettings().get(), "AutoRun", 0);
}
