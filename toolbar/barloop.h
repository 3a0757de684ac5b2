// The message fetch shared by the framework's modal mouse loops (move, size,
// button tracking): it ends when the capture is lost or a quit arrives, and
// passes the quit on.
#pragma once

#include "classlib/core/win32.h"

enum TLoopFetch { lfMessage, lfCaptureLost, lfQuit };

// Waits for the next message while CaptureWindow holds the capture. A WM_QUIT
// is posted again for the outer loop.
TLoopFetch FetchLoopMessage(HWND CaptureWindow, MSG& Msg);
