// What a skinned window tells the skinned viewers inside it: the skinned
// toolbar's display mode, item text colour and largest item thickness, and
// the skinned popup's gutter image size. The viewers find it by casting
// their view's window.
#pragma once

#include "classlib/graphics/colors.h"
#include "skins/skintypes.h"

enum TSbToolbarDisplayMode { tbdmSelectiveCaption, tbdmImageOnly, tbdmImageAboveCaption, tbdmTextOnly };

class ISbItemHost {
public:
    // A skinned toolbar: its display mode, item colour and stretch room apply.
    virtual bool IsSkinnedToolbar() { return false; }
    virtual TSbToolbarDisplayMode ItemDisplayMode() { return tbdmSelectiveCaption; }
    virtual TColor GetItemTextColor(TSbSkinStatesType) { return clNone; }
    // The largest item thickness the bar allows (already less its non-client
    // part), -1 when unlimited.
    virtual int MaxItemThickness() { return -1; }
    // The largest image width of a popup's items, 0 when not a skinned popup.
    virtual int GutterImageSize() { return 0; }
    // The status bar draws its own separators in the Office look.
    virtual bool DrawsOwnSeparators() { return false; }

protected:
    ~ISbItemHost() = default;
};
