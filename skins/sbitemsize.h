// The size of a skinned item as plain arithmetic: the natural size in toolbar
// or menu style from measured parts, then the item's own size rules (custom,
// minimum and maximum sizes, margins, anchoring, rotation).
#pragma once

#include "classlib/graphics/geometry.h"
#include "skins/skinoptions.h"

struct TSbItemSizeInput {
    bool ToolbarStyle = true;
    // The caption turns with a vertical bar.
    bool Rotated = false;
    // Caption extent as laid out (already exchanged when rotated); 0 x 0
    // when the caption is not shown.
    TSize Caption{0, 0};
    // Image sizes; only used when both sides are positive.
    bool ImageShown = false;
    TSize Image{0, 0};
    TSize RightImage{0, 0};
    bool ImageAbove = false;
    bool VerticalView = false;
    bool Combo = false;
    bool DropdownArrow = false;
    TSbMenuItemMetrics Metrics;
    // The stretch flag on a skinned toolbar's view, with that view's base size.
    bool Stretch = false;
    TSize BaseSize{0, 0};

    // Menu style.
    int ExternalLeading = 0;
    TSbMenuItemMargins MenuMargins;
    int ShortCutWidth = 0;  // 0: no shortcut text

    // The item's own rules.
    int MinWidth = 0, MinHeight = 0;
    int Margins = 0;
    int CustomWidth = -1, CustomHeight = -1;
    bool Anchored = false;
    int AnchorSize = 0;
    // The largest thickness a toolbar allows, -1 for none.
    int MaxThickness = -1;
};

// Before the item's own rules (the minimums included).
TSize SbNaturalItemSize(const TSbItemSizeInput& In);
TSize SbItemSize(const TSbItemSizeInput& In);
