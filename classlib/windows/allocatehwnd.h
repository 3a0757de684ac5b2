// Hidden utility windows that hand every message to a method: timers, tray
// icons and sockets receive their notifications through them. The method
// answers unhandled messages itself (DefWindowProcW).
#pragma once

#include "classlib/windows/messages.h"

// A hidden top-level window (not message-only, so broadcasts reach it) of
// the calling thread. Exceptions leaving Method reach the application.
HWND AllocateHWnd(const TWndMethod& Method);
void DeallocateHWnd(HWND Window);
