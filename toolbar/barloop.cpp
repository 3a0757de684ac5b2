#include "toolbar/barloop.h"

TLoopFetch FetchLoopMessage(HWND CaptureWindow, MSG& Msg) {
    for (;;) {
        if (GetCapture() != CaptureWindow) return lfCaptureLost;
        if (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(Msg.wParam));
                return lfQuit;
            }
            return lfMessage;
        }
        // Capture can go without a message in our queue (another thread took
        // it): look again now and then.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}
