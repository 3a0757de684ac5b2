// The message label of a desktop alert window, and switching its hot
// tracking for clicks on and off.
#pragma once

#include "foundation/zklabel.h"

using TZkAlertMessageLabel = TZkLabel;

// With CanClick the text underlines in dark blue under the mouse and the
// cursor becomes a hand.
void SetMessageLabelClickable(TZkAlertMessageLabel* Label, bool CanClick);
