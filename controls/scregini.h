// `TScRegIniFile`: where a frame controller's settings would be kept, an INI
// file or a registry key, as published properties only; a change marks the
// storage as needing a refresh.
#pragma once

#include <string>

#include "classlib/core/component.h"

enum TScPathType { ptIniFile, ptRegistry };
enum TScRegKey {
    hkeyClassesRoot,
    hkeyCurrentUser,
    hkeyLocalMachine,
    hkeyUsers,
    hkeyPerformanceData,
    hkeyCurrentConfig,
    hkeyDynData
};
enum TScRegAccessKey {
    keyQueryValue,
    keySetValue,
    keyCreateSubKey,
    keyEnumerateSubKeys,
    keyNotify,
    keyCreateLink,
    keyRead,
    keyWrite,
    keyExecute,
    keyAllAccess
};
using TScRegAccess = TSet<TScRegAccessKey>;
enum TScSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };

class TScRegIniFile : public TComponent {
    VX_CLASS(TScRegIniFile, TComponent)
public:
    explicit TScRegIniFile(TComponent* AOwner);

    const std::string& Path() const { return path_; }
    void SetPath(const std::string& Value);
    TScPathType PathType() const { return pathType_; }
    void SetPathType(TScPathType Value);
    TScRegKey RegKey() const { return regKey_; }
    void SetRegKey(TScRegKey Value);
    TScRegAccess RegAccess() const { return regAccess_; }
    void SetRegAccess(TScRegAccess Value);
    TScSpecialFolder SpecialFolder() const { return specialFolder_; }
    void SetSpecialFolder(TScSpecialFolder Value);

    bool RefreshNeeded() const { return refreshNeeded_; }

private:
    template <class T>
    void Change(T& Field, const T& Value) {
        if (Field == Value) return;
        Field = Value;
        refreshNeeded_ = true;
    }

    std::string path_;
    TScPathType pathType_ = ptIniFile;
    TScRegKey regKey_ = hkeyCurrentUser;
    TScRegAccess regAccess_{keyAllAccess};
    TScSpecialFolder specialFolder_ = sfNone;
    bool refreshNeeded_ = true;
};
