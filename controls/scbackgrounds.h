// Backgrounds of the styled controls: the gradient ring of a button's
// border and the group bar's background (theme, gradient or nothing).
#pragma once

#include "classlib/graphics/canvas.h"
#include "controls/sctypes.h"

// A two-pixel gradient ring inside Rect, only on a true-colour screen; the
// caller's clipping region is left as it was.
void PaintGradientBorder(TCanvas* Canvas, const TRect& Rect, int Direction, TColor StartColor,
                         TColor StopColor);
void PaintGroupBarBackground(TCanvas* Canvas, const TRect& Rect, TScVisualStyle VisualStyle,
                             TScGradientColorStyle GradientColorStyle, TScGroupBarGradientPath GradientPath,
                             TColor StartColor, TColor StopColor);
