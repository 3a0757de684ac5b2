// Backgrounds of controls that look transparent: the parent's background
// painted behind a control when visual themes are active, a plain fill in
// the control's colour otherwise.
#pragma once

#include "classlib/graphics/canvas.h"
#include "classlib/graphics/geometry.h"
#include "classlib/windows/controls.h"

// ClipRect value that asks PerformEraseBackground for no clipping.
inline const TRect NoEraseClip(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF);

// Paints Rect of Canvas (in Control's coordinates) with the parent's
// background when Color is the parent's and themes are active (and, with
// NeedsParentBackground, the control asks for it by csParentBackground);
// otherwise fills Rect with Color. Color defaults to the brush's colour.
void DrawThemedBackground(TControl* Control, TCanvas* Canvas, const TRect& Rect, bool NeedsParentBackground);
void DrawThemedBackground(TControl* Control, TCanvas* Canvas, const TRect& Rect, bool NeedsParentBackground,
                          TColor Color);

// Has Control's parent erase its background into DC, whose origin is
// Control's top-left corner; Offset is Control's place in the parent
// (normally Left, Top). ClipRect, in Control's coordinates, narrows the
// painting (NoEraseClip: not at all). DC's origin, clip and selected objects
// are as before afterwards.
void PerformEraseBackground(TControl* Control, HDC DC, TPoint Offset, const TRect& ClipRect = NoEraseClip);

// Nothing needs them: our windowed controls already handle WM_PRINTCLIENT
// between SaveDC and RestoreDC, so there is no message handler to patch and
// both do nothing. Nothing calls them at start-up either.
void InstallWMPrintClientFix();
void UninstallWMPrintClientFix();
