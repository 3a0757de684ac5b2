// Placement of the items of one bar or menu, as plain arithmetic: which items
// show, which hide behind the chevron by priority, where lines wrap, how each
// line is aligned, vertical mirroring and the clipping of a scrolling menu.
#pragma once

#include <vector>

#include "classlib/graphics/geometry.h"

enum TBarOrientation : unsigned char { boHorizontal, boVertical, boFloating };

// One item as the layout sees it: what it is, what it wants, how big it is.
struct TBarLayoutItem {
    // Wants to be shown on its own merits (visible, a shown control, a
    // candidate of a chevron popup); separators are collapsed further.
    bool Wanted = true;
    bool Separator = false;
    bool Control = false;
    bool NoLineBreak = false;
    bool RightAlign = false;
    bool Stretch = false;
    bool ToolbarSized = false;
    bool SameWidth = false;
    int Width = 0, Height = 0;
    // Place in the priority list, 0 = most important; -1 when the view keeps
    // no priority list (then the last item goes first).
    int Priority = -1;

    // Results.
    TRect BoundsRect;
    bool Show = false, OffEdge = false, LineSep = false, Clipped = false;
};

struct TBarLayoutParams {
    TBarOrientation Orientation = boHorizontal;
    bool IsToolbar = true;
    bool IsChevronPopup = false;
    int WrapOffset = 0;
    int ChevronOffset = 0;
    int ChevronSize = 0;
    bool HasChevron = false;
    TRect Margins;  // left, top, right, bottom
    int MaxHeight = 0;
};

struct TBarLayoutResult {
    TSize BaseSize;
    TSize TotalSize;
    int WrappedLines = 1;
    // The far edge of the widest line (horizontal and floating layouts): a
    // wrapped layout is as wide as its wrapping width, so TotalSize does not
    // tell.
    int WidestLine = 0;
    bool ChevronShown = false;
    TRect ChevronRect;
    // A hidden item other than a control: the chevron has something to show.
    bool ChevronHasItems = false;
    int ScrollOffset = 0;
    bool ShowUpArrow = false, ShowDownArrow = false;
};

// Height of the scroll bands of a menu taller than its limit.
inline constexpr int BarScrollBand = 19;
// Thickness of a separator that became a line break.
inline constexpr int BarLineBreakSize = 6;

// Lays Items out. TotalSize comes in as a minimum; ScrollOffset as the
// current scroll position of a menu.
TBarLayoutResult LayoutBarItems(std::vector<TBarLayoutItem>& Items, const TBarLayoutParams& Params,
                                TSize MinTotalSize, int ScrollOffset);
