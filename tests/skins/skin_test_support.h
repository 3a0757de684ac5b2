// Helpers shared by the skin tests: skins of every built-in class, text
// lists, and a skin manager of the test's own.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/strings.h"
#include "skins/builtinskins.h"
#include "skins/skinmanager.h"

inline std::vector<TClass> BuiltInSkinClasses() {
    return {TSbAthenSkin::ClassInfo(),
            TSbDreamSkin::ClassInfo(),
            TSbEosSkin::ClassInfo(),
            TSbLeopardSkin::ClassInfo(),
            TSbXitoSkin::ClassInfo(),
            TSbOfficeXPSkin::ClassInfo(),
            TSbOffice2003Skin::ClassInfo(),
            TSbOffice2007BlueSkin::ClassInfo(),
            TSbOffice2007BlackSkin::ClassInfo(),
            TSbOffice2007SilverSkin::ClassInfo()};
}

inline TOwned<TSbSkinOptions> MakeSkin(TClass SkinClass) {
    return TOwned<TSbSkinOptions>(static_cast<TSbSkinOptions*>(CreateInstance(SkinClass)));
}

inline TOwned<TStringList> Lines(const std::string& Text = {}) {
    TOwned<TStringList> lines = MakeOwned<TStringList>();
    lines->SetText(Text);
    return lines;
}

inline std::string SkinText(TSbSkinOptions* Skin) {
    TOwned<TStringList> lines = Lines();
    Skin->SaveToStrings(lines.get());
    return lines->Text();
}
