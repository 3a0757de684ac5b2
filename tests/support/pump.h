// Message pumping with a deadline, for tests that wait on real windows.
#pragma once

#include <functional>

#include "classlib/windows/application.h"

// Pumps the GUI thread's messages until Done answers true or the time is up;
// false when the time ran out.
inline bool PumpUntil(const std::function<bool()>& Done, int Milliseconds = 3000) {
    const DWORD end = GetTickCount() + Milliseconds;
    while (!Done()) {
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        Application->ProcessMessages();
        Sleep(5);
    }
    return true;
}
