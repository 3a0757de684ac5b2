// Small queries of the system the framework adapts to: menu show delay,
// flat menus, keyboard cues, menu sounds, the input code page, monitor and
// work-area rectangles, and mouse-leave tracking bound at run time.
#pragma once

#include <cstddef>
#include <string>

#include "classlib/core/win32.h"
#include "classlib/graphics/geometry.h"

// Milliseconds before a submenu opens; never negative.
int GetMenuShowDelay();
// "Control Panel\Desktop" value "MenuShowDelay" (no caching): 400 when the
// key or value is missing, 0 when it is no number or cannot be read.
int ReadMenuShowDelayFromRegistry();
// The number in the first Size bytes of a registry string, which need not
// end in a terminator; 0 when it is no number.
int MenuShowDelayFromText(const char* Text, size_t Size);
bool AreFlatMenusEnabled();
bool AreKeyboardCuesEnabled();
bool IsWindowsXP();
// Whether the sound scheme has a sound for the event Alias ("MenuPopup").
bool NeedToPlaySound(const std::string& Alias);
// The ANSI code page of the keyboard layout's language; 0 when unknown.
UINT GetInputLocaleCodePage();
bool ApplicationIsActive();

bool UsingMultipleMonitors();
bool InitMultipleMonitorFunctions();
TRect GetRectOfPrimaryMonitor(bool WorkArea);
TRect GetRectOfMonitorContainingRect(const TRect& R, bool WorkArea);
TRect GetRectOfMonitorContainingPoint(TPoint P, bool WorkArea);
TRect GetRectOfMonitorContainingWindow(HWND Wnd, bool WorkArea);

void InitTrackMouseEvent();
// TrackMouseEvent when the system has it; false otherwise.
bool CallTrackMouseEvent(HWND Wnd, DWORD Flags);
