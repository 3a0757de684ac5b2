// Drawing routines of the extended label: text with a drop shadow, the
// rounded frame, and where rotated text goes (its box and origin by
// quadrant), the last pure geometry.
#pragma once

#include <string>
#include <vector>

#include "classlib/graphics/canvas.h"
#include "classlib/graphics/geometry.h"
#include "classlib/windows/alignment.h"

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

// Where a shadow of Size pixels lies from its text.
TPoint ShadowOffset(TShadowPosition Position, int Size);

// Draws (or with DT_CALCRECT measures) Text with the canvas's font: first
// in ShadowColor moved by ShadowSize towards Position, then in the font's
// colour. Rect becomes the union of both; the result is the text height
// plus ShadowSize (0 when there is no text height).
int DrawShadowText(TCanvas* Canvas, const std::string& Text, UINT Flags, TShadowPosition Position,
                   TColor ShadowColor, int ShadowSize, TRect& Rect);

// The outline of a frame whose corners are cut by Radius: eight corners,
// closed, with Rect's right and bottom taken one pixel in.
std::vector<TPoint> RoundedFramePoints(const TRect& Rect, int Radius);
// The rounded frame in Color as one polygon: filled with the canvas's
// brush, or just the outline when the brush is clear. The pen comes back.
void DrawRoundedFrame(TCanvas* Canvas, const TRect& Rect, TColor Color, int Radius);

// Text of TextWidth x TextHeight rotated by Angle degrees (0-359,
// counter-clockwise): the box around it and where TextOut must start so
// that the box sits at the top-left (AutoSize) or aligned in Client.
struct TAngleTextPlace {
    int BoxWidth = 0, BoxHeight = 0;
    TPoint Origin;
};
TAngleTextPlace PlaceAngleText(int Angle, int TextWidth, int TextHeight, bool AutoSize, TAlignment Alignment,
                               const TRect& Client);
