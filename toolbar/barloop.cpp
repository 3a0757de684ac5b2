#include "toolbar/barloop.h"

#include "toolbar/barprint.h"

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

bool IsOtherButtonMessage(UINT Msg) {
    switch (Msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

TDragOutline::TDragOutline(bool Active) {
    if (!Active) return;
    lock_ = std::make_unique<TWindowUpdateLock>(GetDesktopWindow());
    desktop_ =
        std::make_unique<TDCEx>(GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
}

TDragOutline::~TDragOutline() {
    Show(nullptr, thickness_);
    desktop_.reset();
    lock_.reset();
}

void TDragOutline::Show(const TRect* R, TSize Thickness) {
    if (!desktop_) return;
    if (R && shown_ && *R == rect_ && Thickness == thickness_) return;
    if (!R && !shown_) return;
    DrawHalftoneInvertRect(desktop_->Get(), R, shown_ ? &rect_ : nullptr, thickness_, Thickness);
    shown_ = R != nullptr;
    if (R) rect_ = *R;
    thickness_ = Thickness;
}
