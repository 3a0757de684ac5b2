// Text routines of the toolbar framework: accelerator ampersands (these, not
// the class library's, are what items and captions use), text measurement,
// and fonts and text turned for vertical bars.
#pragma once

#include <string>

#include "classlib/graphics/geometry.h"
#include "classlib/graphics/handles.h"

// "&&" becomes "&", a single "&" goes; double-byte characters are kept whole.
std::string StripAccelChars(const std::string& S);
std::string EscapeAmpersands(const std::string& S);
// Drops a final ":" (when longer than 1) or "..." (when longer than 3).
std::string StripTrailingPunctuation(const std::string& S);
// The character after the last single "&", '\0' when none.
char FindAccelChar(const std::string& S);

int GetTextWidth(HDC DC, const std::string& S, bool Prefix);
int GetTextHeight(HDC DC);

// The DC's font turned to read downwards; empty when the DC's font cannot be
// read.
TFontHandle CreateRotatedFont(HDC DC);
// Draws Text downwards in Rect; knows DT_NOPREFIX, DT_END_ELLIPSIS,
// DT_CENTER, DT_NOCLIP and DT_HIDEPREFIX.
void DrawRotatedText(HDC DC, std::string Text, const TRect& Rect, UINT Format);
