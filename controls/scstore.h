// The first step of every styled-control setter: compare, store, and tell
// whether anything changed, so the setter repaints or lays out only then.
#pragma once

template <class T>
bool StoreChanged(T& Field, const T& Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
}
