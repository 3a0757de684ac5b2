#include "app/formlog.h"

#include "classlib/stdctrls/richedit.h"
#include "classlib/windows/formresources.h"

TFormLog* FormLog = nullptr;

void TFormLog::BuildForm(TComponent* Instance) {
    auto* form = static_cast<TFormLog*>(Instance);
    form->SetName("FormLog");
    form->SetCaption("LogView");
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poMainFormCenter);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    form->redtLog = LoadComponent<TRichEdit>(form, "redtLog");
    form->redtLog->SetParent(form);
    form->redtLog->SetAlign(alClient);
    form->redtLog->SetReadOnly(true);
}
