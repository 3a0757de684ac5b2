// Menu animation: a popup is shown with a slide or a fade while a worker
// thread keeps time and asks the window, by notify messages, to draw each
// frame on the GUI thread. One animation runs per GUI thread at a time.
#pragma once

#include "classlib/core/win32.h"
#include "classlib/windows/messages.h"

// worker -> window: draw the next frame (LParam: the animation's number);
// also sent once when the worker ends.
constexpr UINT WM_BAR_ANIMATIONFRAME = 0x955;
// animation -> window: finished, the final image is on the screen.
constexpr UINT WM_BAR_ANIMATIONDONE = 0x956;
// The popup protocol's message (WParam 1: may I animate, 2: done, 3: shown).
constexpr UINT WM_BAR_POPUPPROTOCOL = 0x62A;

// Direction bits: where the content comes in from.
constexpr BYTE adLeftwards = 1, adRightwards = 2, adDownwards = 4, adUpwards = 8;

// Shows Wnd (hidden, not active) with the effect; ends any running one of
// this thread first. A fade without layered windows slides instead.
void StartAnimation(HWND Wnd, bool Fade, BYTE Direction);
// The window's handler of WM_BAR_ANIMATIONFRAME.
void AnimationFrame(const TMessage& Message);
// Ends the running animation at once (Wnd 0: whichever runs; else only
// Wnd's) and shows the final image.
void EndAnimation(HWND Wnd);
bool AnimationRunning();

// What the animation reads and calls, replaceable in tests: the clock, the
// cursor and the layered-window update (null: the system's, when present).
using TUpdateLayeredProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                         DWORD);
struct TAnimationEnvironment {
    DWORD(WINAPI* TickCount)() = GetTickCount;
    BOOL(WINAPI* CursorPos)(LPPOINT) = GetCursorPos;
    TUpdateLayeredProc UpdateLayered = nullptr;
    bool NoLayeredWindows = false;  // as on systems without them
};
// Takes effect at the next start; answers the one in force before.
TAnimationEnvironment SetAnimationEnvironment(const TAnimationEnvironment& Environment);
