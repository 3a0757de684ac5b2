// Single values of the settings key, read and written the way the tests
// check what the program stored: each call opens the key (creating it) and
// a missing value, or one of another type, reads as empty, 0 or false.
#pragma once

#include <string>

#include "classlib/core/registry.h"

bool SettingExists(const std::string& Name);
int ReadSettingInteger(const std::string& Name);
std::string ReadSettingString(const std::string& Name);
// As stored, whatever the code page holds.
std::wstring ReadSettingWideString(const std::string& Name);
bool ReadSettingBool(const std::string& Name);
void WriteSettingInteger(const std::string& Name, int Value);
void WriteSettingString(const std::string& Name, const std::string& Value);
void WriteSettingWideString(const std::string& Name, const std::wstring& Value);
// A drive's stored action for an attribute, "" when missing; the drive's
// subkey is not created.
std::string StoredAction(const std::string& Model, const std::string& AttributeName);
// Stores raw bytes of any type under an open key, as a hand edit or another
// program may leave them.
void PutRaw(TRegistry* Key, const char* Name, DWORD Type, const void* Data, DWORD Size);
