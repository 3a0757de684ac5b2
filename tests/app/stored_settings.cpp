#include "tests/app/stored_settings.h"

#include <gtest/gtest.h>

#include "app/settings.h"

bool SettingExists(const std::string& Name) {
    auto registry = OpenSettings();
    return registry && registry->ValueExists(Name);
}

int ReadSettingInteger(const std::string& Name) {
    return ReadIntegerOr(OpenSettings().get(), Name, 0);
}

std::string ReadSettingString(const std::string& Name) {
    return ReadStringOr(OpenSettings().get(), Name, "");
}

std::wstring ReadSettingWideString(const std::string& Name) {
    return ReadWideStringOr(OpenSettings().get(), Name, L"");
}

bool ReadSettingBool(const std::string& Name) {
    return ReadBoolOr(OpenSettings().get(), Name, false);
}

void WriteSettingInteger(const std::string& Name, int Value) {
    if (auto registry = OpenSettings()) registry->WriteInteger(Name, Value);
}

void WriteSettingString(const std::string& Name, const std::string& Value) {
    if (auto registry = OpenSettings()) registry->WriteString(Name, Value);
}

void WriteSettingWideString(const std::string& Name, const std::wstring& Value) {
    if (auto registry = OpenSettings()) registry->WriteWideString(Name, Value);
}

std::string StoredAction(const std::string& Model, const std::string& AttributeName) {
    return ReadStringOr(OpenDriveSettings(Model, false).get(), AttributeName, "");
}

void PutRaw(TRegistry* Key, const char* Name, DWORD Type, const void* Data, DWORD Size) {
    ASSERT_EQ(RegSetValueExA(Key->CurrentKey(), Name, 0, Type, static_cast<const BYTE*>(Data), Size),
              ERROR_SUCCESS);
}
