#include "notify/zkalertmessagelabel.h"

void SetMessageLabelClickable(TZkAlertMessageLabel* Label, bool CanClick) {
    Label->HotTrackFont()->SetStyle({fsUnderline});
    Label->HotTrackFont()->SetColor(TColor(0x800000));
    Label->SetHotTrack(CanClick);
    Label->SetCursor(CanClick ? crHandPoint : crDefault);
}
