// Process-wide objects of the skinned items, made by the items unit's
// start-up and freed by its shut-down: the small-caption font of floating
// bars, the bitmap every skinned hint is drawn into, the glyph marker image
// list and the two drag cursors. The start-up also publishes the streamed
// properties of the skinned items, toolbars and title bars.
#pragma once

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/graphics.h"
#include "classlib/graphics/imagelist.h"
#include "skins/skinoptions.h"

// Screen cursor ids of the item drag cursors.
constexpr short crSbDragMove = 101;
constexpr short crSbDragCancel = 102;

void InitSkinnedItemsUnit();
void FinalizeSkinnedItemsUnit();

// Null outside the unit's lifetime.
TFont* SbSmallCaptionFont();
TBitmap* SbHintBitmap();
// Items whose images are this list draw a glyph pattern (ImageIndex).
TCustomImageList* SbGlyphMarkerList();

// The current skin's metrics; the plain defaults without a skin.
TSbMenuItemMetrics SbCachedMenuItemMetrics();
