// Where a popup opens: the pure placement rule that keeps a menu on its
// monitor's work area, flips it up or to the left when it does not fit, and
// moves it off the item it was opened from.
#pragma once

#include <vector>

#include "classlib/core/win32.h"
#include "classlib/graphics/geometry.h"

// Alignment of a popup at a point (the class library's popup alignment).
enum : BYTE { bpaLeft = 0, bpaRight = 1, bpaCenter = 2 };

struct TBarPopupPositionRec {
    bool PositionAsSubmenu = false;
    BYTE Alignment = bpaLeft;
    bool Opposite = false;
    TRect MonitorRect, ParentItemRect;  // screen coordinates
    int NCSizeX = 0, NCSizeY = 0;
    int X = 0, Y = 0, W = 0, H = 0;
    BYTE AnimDir = 0;
    bool PlaySound = true;
};

// What placement needs to know of the view the popup opens from.
struct TBarPopupParent {
    bool Present = false;
    bool Vertical = false;
    // Screen rectangles of the view's shown viewers (for "covers fewer").
    std::vector<TRect> ShownViewers;
};

// Moves Rec.X/Rec.Y into place and sets Rec.AnimDir. True when a submenu
// had to open on the opposite (left) side; Rec.Opposite then stays set.
bool PlacePopup(const TBarPopupParent& Parent, TBarPopupPositionRec& Rec);
