// Inside the class library: the one table from window handles to control
// objects, the window procedure that every control window shares, and the
// registration of one Unicode window class per class name and class style.
#pragma once

#include <string>

#include "classlib/windows/controls.h"

LRESULT CALLBACK ControlWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

namespace classlib_detail {
void RegisterWindow(HWND Window, TWinControl* Control);
void UnregisterWindow(HWND Window);
TWinControl* LookupWindow(HWND Window);
// The control whose window this thread is creating right now: its first
// messages arrive before CreateWindowExW has returned the handle.
void SetCreationControl(TWinControl* Control);
// Registers (once) the class the parameters describe and returns the name to
// create windows with.
std::wstring RegisterWindowClass(const TCreateParams& Params);
// Capture ended for Window: forget a capture control that lived in it.
void ForgetCaptureOf(TWinControl* Window);
}  // namespace classlib_detail
