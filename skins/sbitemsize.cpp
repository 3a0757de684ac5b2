#include "skins/sbitemsize.h"

#include <algorithm>

namespace {

TSize Positive(TSize S) {
    return S.cx > 0 && S.cy > 0 ? S : TSize{0, 0};
}

TSize ToolbarNatural(const TSbItemSizeInput& In) {
    int w = 6, h = 6;
    const TSize image = In.ImageShown ? Positive(In.Image) : TSize{0, 0};
    const TSize right = Positive(In.RightImage);
    if (In.Caption.cx > 0 || In.Caption.cy > 0) {
        w += In.Caption.cx;
        h += In.Caption.cy;
        (In.Rotated ? h : w) += 4;
    }
    if (image.cx > 0) {
        if (In.ImageAbove) {
            h += image.cy;
            w = std::max<int>(w, image.cx + 7);
        } else if (In.Rotated) {
            h += image.cy + 1;
            w = std::max<int>(w, image.cx + 6);
        } else {
            w += image.cx + 1;
            h = std::max<int>(h, image.cy + 6);
        }
    }
    if (right.cx > 0) {
        if (In.VerticalView)
            h += right.cy + 4;
        else
            w += right.cx + 4;
    }
    const int arrow = In.Metrics.ArrowWidth;
    if (In.Combo) {
        w += In.Metrics.SplitDropDownWidth;
    } else if (In.DropdownArrow) {
        if (In.ImageAbove && image.cx != 0 && !In.Rotated) {
            if (In.VerticalView)
                h = std::max<int>(h, image.cy + arrow + 9);
            else
                w = std::max<int>(w, image.cx + arrow + 9);
        } else {
            (In.VerticalView ? h : w) += arrow;
        }
    }
    if (In.Stretch) {
        if (In.BaseSize.cx < In.BaseSize.cy)
            w = std::max<int>(w, In.BaseSize.cx);
        else
            h = std::max<int>(h, In.BaseSize.cy);
    }
    return {w, h};
}

TSize MenuNatural(const TSbItemSizeInput& In) {
    int w = In.Caption.cx;
    int h = In.Caption.cy + In.ExternalLeading;
    // The image list's height whether or not this item shows an image, so
    // that the rows of one menu keep one height.
    const int imageHeight = Positive(In.Image).cy;
    h = std::max<int>(h, imageHeight == 0 ? 16 : imageHeight);
    const TSbMenuItemMargins& m = In.MenuMargins;
    w += m.Left + m.Right;
    h += m.Top + m.Bottom;
    w += m.ItemHeight + m.ImageGapLeft + m.ImageGapRight + m.GutterExtra;
    if (In.ShortCutWidth > 0) w += In.ShortCutWidth + h - 6;
    // The submenu arrow column, kept by every item so that captions line up.
    w += h;
    return {w, h};
}

}  // namespace

TSize SbNaturalItemSize(const TSbItemSizeInput& In) {
    TSize size = In.ToolbarStyle ? ToolbarNatural(In) : MenuNatural(In);
    size.cx = std::max<int>(size.cx, In.MinWidth);
    size.cy = std::max<int>(size.cy, In.MinHeight);
    return size;
}

TSize SbItemSize(const TSbItemSizeInput& In) {
    const TSize natural = SbNaturalItemSize(In);
    int length = In.Rotated ? natural.cy : natural.cx + In.Margins;
    int thickness = In.Rotated ? natural.cx + In.Margins : natural.cy;
    if (In.CustomWidth > -1) length = In.CustomWidth;
    if (In.CustomHeight > -1) thickness = In.CustomHeight;
    if (In.ToolbarStyle && In.Anchored) length += In.AnchorSize;
    length = std::max<int>(length, In.MinWidth);
    thickness = std::max<int>(thickness, In.MinHeight);
    if (In.MaxThickness >= 0 && In.MaxThickness < thickness) thickness = In.MaxThickness;
    return In.Rotated ? TSize{thickness, length} : TSize{length, thickness};
}
