// The accessibility library, bound at run time: a program runs without it,
// and then its controls answer no accessibility client. Also the window
// event that tells clients where the keyboard focus went.
#pragma once

#include "classlib/core/win32.h"
// After windows.h.
#include <oleacc.h>

// Binds the accessibility library once; false when it is missing.
bool InitMSAA();
void CallNotifyWinEvent(DWORD Event, HWND Wnd, LONG ObjectId, LONG ChildId);
// The window's standard object (OBJID_WINDOW), or false.
bool AccObjectFromWindow(HWND Wnd, IDispatch** Acc);
LRESULT AccLresultFromObject(REFIID Riid, WPARAM WParam, IUnknown* Object);
