// How the extended bases prepare a hint: their hint colour and hint window
// class go into the hint-information record before the inherited CM_HINTSHOW.
#pragma once

#include "classlib/windows/hintwindow.h"

// HintColor clNone takes the application's hint colour, clDefault the one a
// parent (if any) leaves in a copy of the record, anything else is used as
// it is; a HintWindowClass replaces the record's.
void ResolveZkHint(THintInfo& HintInfo, TColor HintColor, TClass HintWindowClass, TControl* Parent);
