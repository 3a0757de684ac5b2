// Wide text of controls and device contexts: text and hint get/set, window
// text, drawing and measuring, the wide caption type and the hot-key
// position helper.
#pragma once

#include <string>

#include "classlib/core/win32.h"
#include "classlib/graphics/geometry.h"

class TControl;

// The wide Caption of the skinned toolbars and the title bar.
using TWideCaption = std::wstring;

std::wstring WideGetText(TControl* Control);
// Nothing happens (no CM_TEXTCHANGED) when the text is already Text.
void WideSetText(TControl* Control, const std::wstring& Text);
std::wstring WideGetHint(TControl* Control);
void WideSetHint(TControl* Control, const std::wstring& Text);

void WideSetWindowText(HWND Wnd, const std::wstring& Text);
// Count -1: the whole text.
int WideDrawText(HDC DC, const std::wstring& Text, int Count, TRect& R, UINT Flags);
void WideTextExtent(HDC DC, const std::wstring& Text, TSize& Size);

// Puts the accelerator mark of WideCaption before the same character as in
// AnsiCaption; other "&" of the wide caption are doubled. Raises
// EWsInternalError when the two captions are not the same text.
void SyncHotKeyPosition(const std::string& AnsiCaption, std::wstring& WideCaption);
