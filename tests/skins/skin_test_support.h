// Helpers shared by the skin tests: skins of every built-in class, text
// lists, a skin manager of the test's own, and reading what an older form
// stored.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
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

// Reads into Target the properties an older form stored: the wide copies of
// the caption it kept (CaptionW, Caption_UTF7, and HintW when WithHint)
// before the Caption that holds.
inline void ReadOldFormCaption(TPersistent* Target, const std::wstring& Caption, bool WithHint) {
    TOwned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
    {
        TOwned<TWriter> writer = MakeOwned<TWriter>(stream.get());
        writer->WriteStr("CaptionW");
        writer->WriteString("Old \xC3\xA4");
        writer->WriteStr("Caption_UTF7");
        writer->WriteString("+AGE-");
        if (WithHint) {
            writer->WriteStr("HintW");
            writer->WriteString("Old hint");
        }
        writer->WriteStr("Caption");
        writer->WriteWideString(Caption);
        writer->WriteListEnd();
    }
    stream->SetPosition(0);
    ReadObjectProperties(stream.get(), Target);
}
