// Free helpers of the component foundation: the desktop work area, a banded
// two-colour gradient fill, the foreground-task test, copying a font into a
// hot-track font, opening a document with the shell, and small rectangle,
// key and text routines.
#pragma once

#include <string>

#include "classlib/core/set.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/geometry.h"

// SPI_GETWORKAREA, or the whole screen when the system cannot tell.
void GetWorkArea(TRect& Rect);

enum TGradientDirection { gdTopToBottom, gdBottomToTop, gdLeftToRight, gdRightToLeft };

// Fills Rect with Colors bands going from StartColor to EndColor; the pixels
// left over by the integer band size get EndColor at the far edge.
void GradientFillRect(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor,
                      TGradientDirection Direction, BYTE Colors);

// True when the active window belongs to the calling thread.
bool IsForegroundTask();

enum TZkTrackFontOption {
    hoFollowFont,
    hoPreserveCharSet,
    hoPreserveColor,
    hoPreserveHeight,
    hoPreserveName,
    hoPreservePitch,
    hoPreserveStyle,
};
using TZkTrackFontOptions = TSet<TZkTrackFontOption>;

// With hoFollowFont, copies Font's attributes into HotTrackFont except those
// whose preserve option is set.
void AssignHotTrackFont(TFont* HotTrackFont, TFont* Font, TZkTrackFontOptions Options);

// Opens a document, folder or URL with the shell; true when it started.
bool OpenObject(const std::string& Text);

// True while the key is held down.
bool KeyPressed(int VirtualKey);

LONG RectWidth(const TRect& Rect);
LONG RectHeight(const TRect& Rect);

// DrawTextA on the canvas's device context with the canvas's font; Length -1
// takes the whole text. DT_CALCRECT writes the measured rectangle back.
int DrawText(TCanvas* Canvas, const std::string& Text, int Length, UINT Flags, TRect& Rect);

// IsEqualGUID needs no helper here: the system headers declare it for C++.

// The cursors with the ids 100-103 that drag sources ask for: the program's
// start-up table calls it once the screen exists; anyone who replaces the
// screen calls it again.
void AssignDragCursors();
