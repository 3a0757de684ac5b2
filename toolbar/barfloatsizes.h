// The sizes a floating toolbar can take while the user resizes it: one per
// number of wrapped lines, found by narrowing the wrapping width, and the
// pick of a list entry for a dragged edge.
#pragma once

#include <functional>
#include <vector>

#include "classlib/graphics/geometry.h"

struct TBarFloatSize {
    TSize Size;
    int WrapWidth = 0;  // 0: one row
    int Lines = 0;
};

// Lays the bar out at wrapping width Wrap (0: one row) and reports the
// client size, the number of lines and where the widest line ends (a
// wrapped layout is as wide as the wrapping width, so the size does not
// tell).
using TBarFloatTrial = std::function<void(int Wrap, TSize& Size, int& Lines, int& WidestLine)>;

// The one-row size first, then a new entry for every increase of the number
// of lines as the wrapping width narrows down to MinWrap. Each step goes to
// just below the widest line of the last layout, so every distinct layout is
// visited and the walk ends after at most one trial per layout.
std::vector<TBarFloatSize> BuildFloatSizeList(const TBarFloatTrial& Trial, int MinWrap);

// The entry a drag reaches: Distance is the cursor's distance from the fixed
// edge along the dragged dimension (Horizontal: widths). Walking from the
// largest entry towards smaller ones, the first whose dimension the distance
// reaches; the smallest entry when none.
int PickFloatSize(const std::vector<TBarFloatSize>& List, bool Horizontal, int Distance);
