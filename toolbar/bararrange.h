// How a dock lays out its bars, as pure logic: rows, positions, wrapping to
// new rows, shrinking over-full rows, stretching and full-size bars, and the
// placement of the rows across the dock.
#pragma once

#include <vector>

#include "classlib/graphics/geometry.h"

enum TBarShrinkMode { tbsmNone, tbsmWrap, tbsmChevron };

// One bar of the dock's list, as the arrangement reads it.
struct TArrangeBar {
    int DockRow = 0;
    int DockPos = -1;     // -1: no position asked for
    bool Visible = true;  // shown on the dock; hidden bars keep their row only
    bool FullSize = false;
    bool Stretch = false;
    TBarShrinkMode ShrinkMode = tbsmNone;
    // Along the row: the size it wants (client plus docked frame) and the
    // least it can shrink to.
    int FullLength = 0;
    int MinSize = 0;
    // Drag state: wants a row of its own, is the bar being dragged, stays at
    // its place in the list.
    bool NeedsOwnRow = false;
    bool Dragged = false;
    bool KeepsListIndex = false;
};

struct TArrangedBar {
    int Row = -1;  // -1: not on the dock
    int Pos = 0;
    int Size = 0;  // along the row
    bool SplitsRow = false;
};

struct TArrangement {
    // Indexes into the input, in the arranged list order.
    std::vector<int> Order;
    // Per input bar.
    std::vector<TArrangedBar> Bars;
    int RowCount = 0;
};

// Rows and positions for Bars (given in the dock's list order) on a dock
// whose rows are RowLength long. Rows are renumbered by rank first (a
// negative row counts as 0), so stored row numbers of any size give
// consecutive rows.
TArrangement ArrangeBars(const std::vector<TArrangeBar>& Bars, int RowLength, bool LimitToOneRow);

// Places the arranged rows across the dock. Thickness[i] is bar i's client
// thickness across the row; a row is its thickest bar plus the docked frame
// (4). Bounds[i] is in the dock's client coordinates (empty when the bar is
// not on the dock); Thickness is the sum of the rows.
struct TRowPlacement {
    std::vector<TRect> Bounds;
    std::vector<int> RowThickness;
    int Thickness = 0;
};
TRowPlacement PlaceRows(const TArrangement& Arrangement, const std::vector<int>& Thickness, bool Vertical);
