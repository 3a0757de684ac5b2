// The background of a desktop alert window: a gradient caption band with a
// grip of ten dots, a gradient body and a one-pixel frame.
#pragma once

#include "classlib/graphics/canvas.h"

struct TZkAlertWindowColors {
    TColor WindowFrom = TColor(0xFFE7CE);
    TColor WindowTo = TColor(0xE7A67B);
    TColor CaptionFrom = TColor(0xD68652);
    TColor CaptionTo = TColor(0x944110);
    TColor Frame = TColor(0x943000);
};

// Rows of the caption band at the top of the window.
constexpr int AlertCaptionHeight = 8;

// Gradient bands of a body BodyHeight rows high: one per row below 255 rows,
// else 32.
int AlertBodyBands(int BodyHeight);

// Paints the whole background into R; Grip draws the dots of a window the
// user can drag.
void PaintDesktopAlertBackground(TCanvas* Canvas, const TRect& R, const TZkAlertWindowColors& Colors,
                                 bool Grip);
