// The program's settings in the current user's registry: the settings key
// with its values, one subkey per drive model, and the run-at-logon value.
// Every access opens a registry object of its own and closes it again; a
// missing value, or one of another type, reads as its default.
#pragma once

#include <string>

#include "classlib/core/object.h"
#include "classlib/core/registry.h"

extern const char* const SettingsKey;      // "\SOFTWARE\Larpok corporation\Vexmora\Mon"
extern const char* const RunKey;           // "\Software\Microsoft\Windows\CurrentVersion\Run"
extern const char* const RunValueName;     // "Vexmora"
extern const char* const ProgramFileName;  // "VexmoraU.exe"

// SettingsKey + "\" + model: its existence marks the drive as monitored.
std::string DriveKey(const std::string& model);

// What the values hold. A Boolean is an integer 0 or 1, read true when non-zero;
// of a Presence value only its existence counts.
enum class TSettingType { Integer, String, Boolean, Presence };

struct TSettingInfo {
    const char* Name;
    TSettingType Type;
    int DefaultInteger;
    const char* DefaultString;
};

// The values of the settings key, and of each drive's subkey. Besides them
// the settings key holds one integer per drive model (its tray text colour,
// DefaultTrayColor when missing) and a drive's subkey one string per
// attribute name (its alert action, DefaultAlertAction when missing).
extern const TSettingInfo SettingsValues[13];
extern const TSettingInfo DriveValues[3];
// The entry for a name of either table, or null.
const TSettingInfo* FindSetting(const std::string& name);

constexpr int DefaultTrayColor = 65535;       // yellow
extern const char* const DefaultAlertAction;  // "Show message"
// The five alert actions: "Show message", "Shutdown Computer", "Reboot
// Computer", "Send mail", "Never show message".
extern const char* const AlertActions[5];

// A fresh registry object with the settings key, or a drive's subkey, open;
// null when the key cannot be opened (or created).
TOwned<TRegistry> OpenSettings(bool canCreate = true);
TOwned<TRegistry> OpenDriveSettings(const std::string& model, bool canCreate);

// Typed reads from an open key that test presence and type first.
int ReadIntegerOr(TRegistry* registry, const std::string& name, int defaultValue);
std::string ReadStringOr(TRegistry* registry, const std::string& name, const std::string& defaultValue);
bool ReadBoolOr(TRegistry* registry, const std::string& name, bool defaultValue);

// One value of the settings key (opened, created when missing), with the
// default of the table when it is missing.
bool SettingExists(const std::string& name);
int ReadSettingInteger(const std::string& name);
std::string ReadSettingString(const std::string& name);
bool ReadSettingBool(const std::string& name);
void WriteSettingInteger(const std::string& name, int value);
void WriteSettingString(const std::string& name, const std::string& value);
void WriteSettingBool(const std::string& name, bool value);

// The tray text colour of a drive model.
int ReadTrayColor(const std::string& model);
// A drive's alert action for an attribute; its subkey is not created.
std::string ReadAlertAction(const std::string& model, const std::string& attributeName);

// Run at logon: writes (or deletes) "Vexmora" = the current folder +
// "\VexmoraU.exe" when the run key opens; the key is never created.
void RunWWS(bool enable);
// True when the run key opens and holds "Vexmora".
bool ReadWWS();
// "AutoRun" of the settings key (created when missing), 0 when missing.
int ReadRun();
