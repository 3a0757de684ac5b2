// Where a skinned item's caption, image and right-hand image go inside its
// rectangle, by alignment, rotation, image placement and the pushed look.
#pragma once

#include <string>

#include "classlib/graphics/canvas.h"
#include "classlib/windows/alignment.h"

struct TSbItemRects {
    TRect Caption;
    TRect Image;
    TRect RightImage;
    int TextHeight = 0;
};

// Orientation as DrawCaptionText's (0 normal, 1 and 2 rotated). The caption
// is measured in the canvas font.
TSbItemRects LayoutItemRects(TCanvas* Canvas, const TRect& ItemRect, const std::wstring& Caption,
                             int Orientation, bool Pushed, bool ImageAboveCaption, TSize ImageSize,
                             TSize RightImageSize, UINT TextFlags, TAlignment Alignment);
