// The message fetch shared by the framework's modal mouse loops (move, size,
// button tracking): it ends when the capture is lost or a quit arrives, and
// passes the quit on.
#pragma once

#include <memory>

#include "classlib/graphics/geometry.h"
#include "classlib/graphics/handles.h"

enum TLoopFetch { lfMessage, lfCaptureLost, lfQuit };

// Waits for the next message while CaptureWindow holds the capture. A WM_QUIT
// is posted again for the outer loop.
TLoopFetch FetchLoopMessage(HWND CaptureWindow, MSG& Msg);

// Right and middle button messages, which the loops swallow.
bool IsOtherButtonMessage(UINT Msg);

// The hollow frame a drag shows instead of moving the window: the desktop is
// locked and the frame inverted on it. Inactive: does nothing. The frame is
// erased and the desktop unlocked when the outline goes.
class TDragOutline {
public:
    explicit TDragOutline(bool Active);
    ~TDragOutline();
    TDragOutline(const TDragOutline&) = delete;
    TDragOutline& operator=(const TDragOutline&) = delete;
    // Moves the frame to R (screen) with the given thickness; null hides it.
    void Show(const TRect* R, TSize Thickness);

private:
    std::unique_ptr<TWindowUpdateLock> lock_;
    std::unique_ptr<TDCEx> desktop_;
    bool shown_ = false;
    TRect rect_;
    TSize thickness_;
};
