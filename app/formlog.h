// `TFormLog`, the second log window: a dialog "LogView" with one read-only
// rich edit `redtLog`. Nothing else in the program uses it.
#pragma once

#include "classlib/windows/forms.h"

class TRichEdit;

class TFormLog : public TForm {
    VX_CLASS(TFormLog, TForm)
public:
    explicit TFormLog(TComponent* AOwner) : inherited(AOwner) {}

    TRichEdit* redtLog = nullptr;

    // The form resource.
    static void BuildForm(TComponent* Instance);
};

extern TFormLog* FormLog;
