// Small skin glyphs: arrows, the four 8-pixel caption-button patterns, grip
// dots and image-list images drawn normal, disabled or as a shadow.
#pragma once

#include "classlib/graphics/canvas.h"

class TCustomImageList;

// A filled triangle of Size: pointing down (Vertical) or right; PointBack
// turns it up or left. (X, Y) is the corner of its base.
void DrawArrow(TCanvas* Canvas, int X, int Y, int Size, bool Vertical, bool PointBack, TColor Color);

enum TSbGlyphPattern { sgpClose, sgpMaximize, sgpMinimize, sgpRestore };
// The pattern's set bits in Color, centred in R; nothing else is touched.
// A value outside the four patterns draws nothing.
void DrawGlyphPattern(TCanvas* Canvas, const TRect& R, TSbGlyphPattern Glyph, TColor Color);
// Its size in pixels (8 x 8, the restore boxes 8 x 9; 0 x 0 for a value
// outside the four).
TSize GlyphPatternSize(TSbGlyphPattern Glyph);

// Dots every 4 pixels over R: each a 2 x 2 light square with a 2 x 2 dark
// one above and left of it by one pixel.
void DrawGripDots(TCanvas* Canvas, const TRect& R, TColor Light, TColor Dark);

enum TSbGlyphState { sgsNormal, sgsDisabled, sgsShadowed };
// Image Index centred in R.
void DrawImageListGlyph(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, int Index,
                        TSbGlyphState State);
