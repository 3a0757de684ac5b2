#include "app/settings.h"

#include "classlib/core/files.h"

const char* const SettingsKey = "\\SOFTWARE\\Larpok corporation\\Vexmora\\Mon";
const char* const RunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValueName = "Vexmora";
const char* const ProgramFileName = "VexmoraU.exe";
const char* const DefaultAlertAction = "Show message";
const char* const AlertActions[5] = {"Show message", "Shutdown Computer", "Reboot Computer", "Send mail",
                                     "Never show message"};

const TSettingInfo SettingsValues[13] = {
    {"MessageWhenStart", TSettingType::Integer, 0, ""},  // 1: start-up alert for drives in "Warning"
    {"Log", TSettingType::Integer, 0, ""},               // 1: start-up log records
    {"AutoRun", TSettingType::Integer, 0, ""},           // non-zero: shut down or reboot without asking
    {"RunWhenStart", TSettingType::Presence, 0, ""},     // never written by the program
    {"RTimer", TSettingType::Integer, 0, ""},            // poll interval in ms; 0: poll off
    {"SMTPServer", TSettingType::String, 0, ""},
    {"FromMail", TSettingType::String, 0, ""},
    {"ToMail", TSettingType::String, 0, ""},
    {"Username", TSettingType::String, 0, ""},
    {"Password", TSettingType::String, 0, ""},  // scrambled
    {"Subject", TSettingType::String, 0, ""},
    {"Port", TSettingType::Integer, 0, ""},
    {"usepassword", TSettingType::Boolean, 0, ""},
};

const TSettingInfo DriveValues[3] = {
    {"CreateReg", TSettingType::Integer, 0, ""},           // 1 once the default actions were written
    {"Temperature Celcius", TSettingType::String, 0, ""},  // the temperature action
    {"Temperature", TSettingType::Integer, 0, ""},         // threshold in degrees Celsius
};

const TSettingInfo* FindSetting(const std::string& name) {
    for (const TSettingInfo& info : SettingsValues)
        if (name == info.Name) return &info;
    for (const TSettingInfo& info : DriveValues)
        if (name == info.Name) return &info;
    return nullptr;
}

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

int DefaultIntegerOf(const std::string& name) {
    const TSettingInfo* info = FindSetting(name);
    return info ? info->DefaultInteger : 0;
}

std::string DefaultStringOf(const std::string& name) {
    const TSettingInfo* info = FindSetting(name);
    return info ? info->DefaultString : "";
}

}  // namespace

TOwned<TRegistry> OpenSettings(bool canCreate) {
    return OpenKeyOf(SettingsKey, canCreate);
}

TOwned<TRegistry> OpenDriveSettings(const std::string& model, bool canCreate) {
    return OpenKeyOf(DriveKey(model), canCreate);
}

int ReadIntegerOr(TRegistry* registry, const std::string& name, int defaultValue) {
    if (!registry || registry->GetDataType(name) != rdInteger) return defaultValue;
    return registry->ReadInteger(name);
}

std::string ReadStringOr(TRegistry* registry, const std::string& name, const std::string& defaultValue) {
    if (!registry) return defaultValue;
    const TRegDataType type = registry->GetDataType(name);
    if (type != rdString && type != rdExpandString) return defaultValue;
    return registry->ReadString(name);
}

bool ReadBoolOr(TRegistry* registry, const std::string& name, bool defaultValue) {
    return ReadIntegerOr(registry, name, defaultValue ? 1 : 0) != 0;
}

bool SettingExists(const std::string& name) {
    auto registry = OpenSettings();
    return registry && registry->ValueExists(name);
}

int ReadSettingInteger(const std::string& name) {
    return ReadIntegerOr(OpenSettings().get(), name, DefaultIntegerOf(name));
}

std::string ReadSettingString(const std::string& name) {
    return ReadStringOr(OpenSettings().get(), name, DefaultStringOf(name));
}

bool ReadSettingBool(const std::string& name) {
    return ReadBoolOr(OpenSettings().get(), name, DefaultIntegerOf(name) != 0);
}

void WriteSettingInteger(const std::string& name, int value) {
    if (auto registry = OpenSettings()) registry->WriteInteger(name, value);
}

void WriteSettingString(const std::string& name, const std::string& value) {
    if (auto registry = OpenSettings()) registry->WriteString(name, value);
}

void WriteSettingBool(const std::string& name, bool value) {
    if (auto registry = OpenSettings()) registry->WriteBool(name, value);
}

int ReadTrayColor(const std::string& model) {
    return ReadIntegerOr(OpenSettings().get(), model, DefaultTrayColor);
}

std::string ReadAlertAction(const std::string& model, const std::string& attributeName) {
    return ReadStringOr(OpenDriveSettings(model, false).get(), attributeName, DefaultAlertAction);
}

void RunWWS(bool enable) {
    auto registry = OpenKeyOf(RunKey, false);
    if (!registry) return;
    if (enable)
        registry->WriteString(RunValueName, GetCurrentDir() + "\\" + ProgramFileName);
    else
        registry->DeleteValue(RunValueName);
}

bool ReadWWS() {
    auto registry = OpenKeyOf(RunKey, false);
    return registry && registry->ValueExists(RunValueName);
}

int ReadRun() {
    return ReadSettingInteger("AutoRun");
}
