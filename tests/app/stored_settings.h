// Single values of the settings key, read and written the way the tests
// check what the program stored: each call opens the key (creating it) and
// a missing value, or one of another type, reads as empty, 0 or false.
#pragma once

#include <string>

bool SettingExists(const std::string& Name);
int ReadSettingInteger(const std::string& Name);
std::string ReadSettingString(const std::string& Name);
bool ReadSettingBool(const std::string& Name);
void WriteSettingInteger(const std::string& Name, int Value);
void WriteSettingString(const std::string& Name, const std::string& Value);
// A drive's stored action for an attribute, "" when missing; the drive's
// subkey is not created.
std::string StoredAction(const std::string& Model, const std::string& AttributeName);
