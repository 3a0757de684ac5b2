#include "app/smtpform.h"

TSmtp* Smtp = nullptr;

void TSmtp::BuildForm(TComponent* Instance) {
    auto* form = static_cast<TSmtp*>(Instance);
    form->SetName("Smtp");
    form->SetCaption("SMTP server setting");
    form->SetBorderStyle(bsDialog);
    form->SetFormStyle(fsStayOnTop);
    form->SetPosition(poMainFormCenter);
    form->SetClientWidth(290);
    form->SetClientHeight(327);
}
