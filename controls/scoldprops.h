// `TScOldPropReader`: reads and drops the values of properties that older
// versions of the styled controls wrote to form files, so such files still
// load; nothing of them is written again.
#pragma once

#include "classlib/core/filer.h"

class TScOldPropReader : public TObject {
    VX_CLASS(TScOldPropReader, TObject)
public:
    void ReadBoolean(TReader* Reader);
    void ReadIdent(TReader* Reader);
    void ReadInteger(TReader* Reader);
    // A list of strings: list begin, strings up to the end, list end.
    void ReadStrings(TReader* Reader);
};

// The one reader every styled control hands to DefineProperty.
TScOldPropReader* OldPropReader();
