// Caption text of skinned parts: wide text drawn plain, glowing or rotated,
// "utf8=" captions, measuring, and the small caption clean-ups.
#pragma once

#include <string>

#include "classlib/graphics/canvas.h"
#include "classlib/graphics/handles.h"

// Glow kinds of DrawCaptionText.
enum TSbGlowKind { sgkNone, sgkAll, sgkTopLeft, sgkBottomRight };
// Orientation: 0 normal, 1 turned 90 degrees (reads upwards), 2 turned 270
// degrees (reads downwards).
constexpr int SkinTextNormal = 0;
constexpr int SkinTextRotated90 = 1;
constexpr int SkinTextRotated270 = 2;

// Draws (or with DT_CALCRECT measures, writing the size back into R) the
// caption in the canvas font. A caption "utf8=..." is the UTF-8 text after
// the prefix. Returns the text height, 0 for an empty rectangle.
int DrawCaptionText(TCanvas* Canvas, const std::wstring& Caption, TRect& R, UINT Format,
                    TSbGlowKind Glow = sgkNone, TColor GlowColor = clNone, int Orientation = SkinTextNormal);
// The caption proper: the text after "utf8=" decoded, else the text itself.
// The bytes may come one per character or widened through the system code
// page (an 8-bit caption widened).
std::wstring DecodeCaption(const std::wstring& Caption);

TSize GetCaptionTextSize(HDC DC, const std::wstring& Text, bool StripAccelerators);
// DrawTextW, or DrawRotatedText for orientations 1 and 2.
int DrawWideText(TCanvas* Canvas, const std::wstring& Text, TRect& R, UINT Format,
                 int Orientation = SkinTextNormal);
// Text turned by the orientation, centred across R; "&" marks (unless
// DT_NOPREFIX), DT_END_ELLIPSIS, DT_CENTER, DT_NOCLIP and DT_HIDEPREFIX.
void DrawRotatedText(TCanvas* Canvas, const std::wstring& Text, const TRect& R, UINT Format, int Orientation);
// The canvas font at the orientation's escapement (null when it cannot be
// made); "MS Sans Serif" becomes "Tahoma", which can turn.
TFontHandle CreateRotatedFont(TCanvas* Canvas, int Orientation);

std::wstring StripAccelCharsW(const std::wstring& Text);
std::wstring TruncateAtTabW(const std::wstring& Text);
std::wstring StripTrailingPunctuationW(const std::wstring& Text);
