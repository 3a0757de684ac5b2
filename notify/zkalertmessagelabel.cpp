#include "notify/zkalertmessagelabel.h"

void SetMessageLabelClickable(TZkAlertMessageLabel* Label, bool CanClick) {
    Label->SetCursor(CanClick ? crHandPoint : crDefault);
}
