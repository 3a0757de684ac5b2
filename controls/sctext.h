// Small text and window routines of the styled controls: rotated fonts,
// accelerator marks, the running Windows version and redrawing a part of a
// window only while it can be seen.
#pragma once

#include <string>

#include "classlib/graphics/graphics.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/controls.h"

// A copy of Font turned by Angle degrees (counter-clockwise).
TFontHandle CreateRotatedFont(TFont* Font, int Angle);
// The same, turned by Tenths tenths of a degree.
TFontHandle CreateRotatedFontInTenths(TFont* Font, int Tenths);
bool IsTrueTypeFont(TFont* Font);
// "&&" becomes "&", a single "&" goes; the last character always stays.
std::string RemoveAccelerators(const std::string& S);
// 0 Windows 95, 1 NT 4, 2 Windows 98, 3 Me, 4 2000, 5 XP, 6 Server 2003,
// 7 Vista; anything else is false.
bool IsWindowsVersion(int V);
void RedrawIfVisible(HWND Wnd, const TRect* Rect);
// Tells a form designer of a change; this program has none, so it does
// nothing.
void NotifyDesignerModified(TControl* Control);
