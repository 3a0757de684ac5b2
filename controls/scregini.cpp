#include "controls/scregini.h"

#include "classlib/core/properties.h"

namespace {
[[maybe_unused]] const bool published = [] {
    TPublish<TScRegIniFile>()
        .Property("Path", &TScRegIniFile::Path, &TScRegIniFile::SetPath)
        .Property("PathType", &TScRegIniFile::PathType, &TScRegIniFile::SetPathType,
                  {"ptIniFile", "ptRegistry"})
        .Default(ptIniFile)
        .Property("RegKey", &TScRegIniFile::RegKey, &TScRegIniFile::SetRegKey,
                  {"hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers",
                   "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData"})
        .Default(hkeyCurrentUser)
        .Property("RegAccess", &TScRegIniFile::RegAccess, &TScRegIniFile::SetRegAccess,
                  {"keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys", "keyNotify",
                   "keyCreateLink", "keyRead", "keyWrite", "keyExecute", "keyAllAccess"})
        .Default(TScRegAccess{keyAllAccess}.Bits())
        .Property(
            "SpecialFolder", &TScRegIniFile::SpecialFolder, &TScRegIniFile::SetSpecialFolder,
            {"sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal", "sfUserDocuments", "sfProgramData"})
        .Default(sfNone);
    return true;
}();
}  // namespace

TScRegIniFile::TScRegIniFile(TComponent* AOwner) : inherited(AOwner) {}

void TScRegIniFile::SetPath(const std::string& Value) {
    Change(path_, Value);
}

void TScRegIniFile::SetPathType(TScPathType Value) {
    Change(pathType_, Value);
}

void TScRegIniFile::SetRegKey(TScRegKey Value) {
    Change(regKey_, Value);
}

void TScRegIniFile::SetRegAccess(TScRegAccess Value) {
    Change(regAccess_, Value);
}

void TScRegIniFile::SetSpecialFolder(TScSpecialFolder Value) {
    Change(specialFolder_, Value);
}
