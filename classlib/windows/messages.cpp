#include "classlib/windows/messages.h"

TShiftState KeysToShiftState(WORD Keys) {
    TShiftState state;
    state.Set(ssShift, Keys & MK_SHIFT);
    state.Set(ssCtrl, Keys & MK_CONTROL);
    state.Set(ssLeft, Keys & MK_LBUTTON);
    state.Set(ssRight, Keys & MK_RBUTTON);
    state.Set(ssMiddle, Keys & MK_MBUTTON);
    if (GetKeyState(VK_MENU) < 0) state.Include(ssAlt);
    return state;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
    TShiftState state;
    state.Set(ssShift, GetKeyState(VK_SHIFT) < 0);
    state.Set(ssCtrl, GetKeyState(VK_CONTROL) < 0);
    state.Set(ssAlt, (KeyData & 0x20000000) != 0);
    return state;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState state;
    state.Set(ssShift, GetKeyState(VK_SHIFT) < 0);
    state.Set(ssCtrl, GetKeyState(VK_CONTROL) < 0);
    state.Set(ssAlt, GetKeyState(VK_MENU) < 0);
    state.Set(ssLeft, GetKeyState(VK_LBUTTON) < 0);
    state.Set(ssRight, GetKeyState(VK_RBUTTON) < 0);
    state.Set(ssMiddle, GetKeyState(VK_MBUTTON) < 0);
    return state;
}
