// The child id an accessibility client passes to ask an object about itself.
#pragma once

#include <oleacc.h>

inline VARIANT Self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}
