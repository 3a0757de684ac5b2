// `TSmtp`, the e-mail settings dialog ("SMTP server setting"). Made once at
// start and shown modally from the preferences; its fields come later.
#pragma once

#include "classlib/windows/forms.h"

class TSmtp : public TForm {
    VX_CLASS(TSmtp, TForm)
public:
    explicit TSmtp(TComponent* AOwner) : inherited(AOwner) {}

    // The form resource.
    static void BuildForm(TComponent* Instance);
};

extern TSmtp* Smtp;
