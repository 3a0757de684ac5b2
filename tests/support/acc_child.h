// The child id an accessibility client passes: CHILDID_SELF for the object
// itself, 1 and up for its children.
#pragma once

#include "classlib/core/win32.h"
// After windows.h.
#include <oleacc.h>

inline VARIANT AccChild(LONG Id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = Id;
    return v;
}
