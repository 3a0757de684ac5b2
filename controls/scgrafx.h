// Gradient and bitmap painting: `PaintGradient` in its ten directions, bitmap
// tiling and mirroring, transparent stretching and painting a control's
// parent behind it.
#pragma once

#include <cstdint>

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/canvas.h"
#include "classlib/windows/controls.h"

// Direction: 0 diagonal from the top-left, 1 from the top-right, 2 top to
// bottom, 3 from top and bottom to the middle, 5 left to right, 6 from both
// sides to the middle, 4/7/8/9 boxes towards the centre (4 narrower, 7
// flatter, 8 full, 9 both). Nothing is drawn for an empty rectangle or an
// unknown direction. ColorStep widens the bands (1: one band per colour).
void PaintGradient(TCanvas* Canvas, const TRect& Rect, int Direction, TColor StartColor, TColor StopColor,
                   std::uint8_t ColorStep);

// Repeats Bitmap across Rect from its top-left corner.
void TileBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap);
// Copies Source's SrcRect into Dest, flipped left-right and/or upside down.
void StretchDrawMirrored(TCanvas* Canvas, const TRect& Dest, TCanvas* Source, const TRect& SrcRect,
                         bool Horizontal, bool Vertical);
// SrcRect of Bitmap stretched into DestRect, TransparentColor left out.
void StretchDrawTransparent(TCanvas* Canvas, const TRect& DestRect, TBitmap* Bitmap, const TRect& SrcRect,
                            TColor TransparentColor);
// Paints the parent's background and picture into DC, as seen behind Control.
void DrawParentImage(TControl* Control, HDC DC, bool InvalidateParent);
