#include "toolbar/barmessages.h"

#include <algorithm>
#include <vector>

void ProcessPaintMessages() {
    std::vector<HWND> painted;
    MSG msg{};
    for (int count = 0; count < MaxPaintMessages; ++count) {
        if (!PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) return;
        if (std::find(painted.begin(), painted.end(), msg.hwnd) != painted.end()) return;
        const BOOL got = GetMessageW(&msg, nullptr, WM_PAINT, WM_PAINT);
        if (got == -1) return;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        painted.push_back(msg.hwnd);
        DispatchMessageW(&msg);
    }
}

void RemoveMessages(UINT First, UINT Last) {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, First, Last, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
    }
}
