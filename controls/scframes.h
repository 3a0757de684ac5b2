// Frames and borders of the styled controls: sides, bevels, the classic
// border styles in system or derived colours, boxes, dotted focus rectangles,
// rounded flat borders and the combined `DrawFrame`. Each returns the
// rectangle left inside what it drew.
#pragma once

#include "classlib/graphics/canvas.h"
#include "classlib/graphics/colors.h"
#include "classlib/graphics/geometry.h"
#include "controls/sctypes.h"

// Left and top in ULColor, right and bottom (at R-1, B-1) in LRColor; a
// clNone colour skips its two edges but the rectangle still moves in.
TRect DrawSides(TCanvas* Canvas, const TRect& Rect, TColor ULColor, TColor LRColor, TSides Sides);
TRect DrawBevel(TCanvas* Canvas, const TRect& Rect, TColor ULColor, TColor LRColor, int Width, TSides Sides);

TRect DrawBorderSides(TCanvas* Canvas, const TRect& Rect, TFrameStyleEx Style, TSides Sides);
TRect DrawBorder(TCanvas* Canvas, const TRect& Rect, TFrameStyleEx Style);
// The same shapes in shades of one base colour.
TRect DrawColorBorderSides(TCanvas* Canvas, const TRect& Rect, TColor Color, TFrameStyleEx Style,
                           TSides Sides);
TRect DrawColorBorder(TCanvas* Canvas, const TRect& Rect, TColor Color, TFrameStyleEx Style);
TRect DrawCtl3DBorder(TCanvas* Canvas, const TRect& Rect, bool Lowered, TSides Sides);
TRect DrawButtonBorder(TCanvas* Canvas, const TRect& Rect, bool Down, TSides Sides);
TRect DrawButtonBorderAll(TCanvas* Canvas, const TRect& Rect, bool Down);
TRect DrawColorButtonBorder(TCanvas* Canvas, const TRect& Rect, TColor Color, bool Down, TSides Sides);
TRect DrawColorButtonBorderAll(TCanvas* Canvas, const TRect& Rect, TColor Color, bool Down);

TRect DrawBox(TCanvas* Canvas, const TRect& Rect, TColor Color);
TRect DrawDottedFocusRect(TCanvas* Canvas, const TRect& Rect);
TRect DrawRoundedFlatBorder(TCanvas* Canvas, const TRect& Rect, TColor Color, TSides Sides);

struct TScFrameParams {
    TFrameStyleEx OuterStyle = fsNone;
    TFrameStyleEx InnerStyle = fsNone;
    TSides Sides = AllSides;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TColor BorderColor = clBtnFace;
    TColor BorderHighlight = clBtnHighlight;
    TColor BorderShadow = clBtnShadow;
    TColor FlatColor = clBtnShadow;
    int FlatColorAdjustment = 0;
    TColor Color = clBtnFace;
    TColor ParentColor = clBtnFace;
    bool Transparent = false;
    bool RoundedInner = false;
};
// Outer style, border, inner style (label frames and the group bar border).
TRect DrawFrame(TCanvas* Canvas, const TRect& Rect, const TScFrameParams& Params);
