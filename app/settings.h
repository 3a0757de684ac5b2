// The program's settings in the current user's registry: the settings key
// with its values, one subkey per drive model, and the run-at-logon value.
// Every access opens a registry object of its own and closes it again; a
// missing value, or one that cannot be read as its type (another type, an
// integer of another size), reads as its default and is left as it is.
#pragma once

#include <optional>
#include <string>

#include "classlib/core/object.h"
#include "classlib/core/registry.h"
#include "classlib/core/strings.h"

extern const char* const SettingsKey;   // "\SOFTWARE\Larpok corporation\Vexmora\Mon"
extern const char* const RunKey;        // "\Software\Microsoft\Windows\CurrentVersion\Run"
extern const char* const RunValueName;  // "Vexmora"

// SettingsKey + "\" + model: its existence marks the drive as monitored.
std::string DriveKey(const std::string& model);

// Besides its named values the settings key holds one integer per drive
// model (its tray text colour, DefaultTrayColor when missing), and a drive's
// subkey one string per attribute name (its alert action).
constexpr int DefaultTrayColor = 65535;       // yellow
extern const char* const DefaultAlertAction;  // "Show message"
// The five alert actions: "Show message", "Shutdown Computer", "Reboot
// Computer", "Send mail", "Never show message".
extern const char* const AlertActions[5];

// A fresh registry object with the settings key, or a drive's subkey, open;
// null when the key cannot be opened (or created).
TOwned<TRegistry> OpenSettings(bool canCreate = true);
TOwned<TRegistry> OpenDriveSettings(const std::string& model, bool canCreate);

// Typed reads from an open key that never raise: every integer setting is
// read through ReadStoredInteger, so none can stop the program.
std::optional<int> ReadStoredInteger(TRegistry* registry, const std::string& name);
int ReadIntegerOr(TRegistry* registry, const std::string& name, int defaultValue);
std::string ReadStringOr(TRegistry* registry, const std::string& name, const std::string& defaultValue);
// As typed, whatever the code page: the mail addresses are judged on this.
std::wstring ReadWideStringOr(TRegistry* registry, const std::string& name, const std::wstring& defaultValue);
bool ReadBoolOr(TRegistry* registry, const std::string& name, bool defaultValue);

// "Unwatched" of the settings key: the models the user took out of
// watching, one a line, in a list that compares them without case, as the
// registry does. Start gives such a drive no subkey, so it stays out until
// ticked again; a missing value lists none.
TOwned<TStringList> ReadUnwatchedModels(TRegistry* settings);
// Lists the model or takes it off (by the registry's rule, without case);
// writes only a change, and deletes the value once it lists none.
void MarkUnwatched(TRegistry* settings, const std::string& model, bool unwatched);

// The tray text colour of a drive model.
int ReadTrayColor(const std::string& model);

// Run at logon: writes (or deletes) "Vexmora" = the program's own file, in
// double quotes, when the run key opens; the key is never created. The path
// is written as UTF-16, so a folder outside the code page survives.
void RunWWS(bool enable);
// True when the run key opens and holds "Vexmora", whatever it names: an
// older version stored the current folder + "\VexmoraU.exe" unquoted, and
// a ticked box saved again puts the program's own file in its place.
bool ReadWWS();
// "AutoRun" of the settings key (created when missing), 0 when missing.
int ReadRun();
