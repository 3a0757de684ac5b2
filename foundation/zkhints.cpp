#include "foundation/zkhints.h"

#include "classlib/windows/hintmanager.h"

void ResolveZkHint(THintInfo& HintInfo, TColor HintColor, TClass HintWindowClass, TControl* Parent) {
    if (HintColor == clNone) {
        HintInfo.HintColor = HintManager()->HintColor();
    } else if (HintColor == clDefault) {
        if (Parent) {
            THintInfo copy = HintInfo;
            Parent->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&copy));
            HintInfo.HintColor = copy.HintColor;
        }
    } else {
        HintInfo.HintColor = HintColor;
    }
    if (HintWindowClass) HintInfo.HintWindowClass = HintWindowClass;
}
