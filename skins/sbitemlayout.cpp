#include "skins/sbitemlayout.h"

#include <algorithm>

#include "skins/skincaption.h"

namespace {

void Offset(TRect& R, int DX, int DY) {
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}

bool Present(TSize S) {
    return S.cx > 0 && S.cy > 0;
}

}  // namespace

TSbItemRects LayoutItemRects(TCanvas* Canvas, const TRect& ItemRect, const std::wstring& Caption,
                             int Orientation, bool Pushed, bool ImageAboveCaption, TSize ImageSize,
                             TSize RightImageSize, UINT TextFlags, TAlignment Alignment) {
    TSbItemRects out;
    const bool rotated = Orientation != 0;
    const bool hasText = !Caption.empty();
    const bool hasImage = Present(ImageSize);
    const bool hasRight = Present(RightImageSize) && Alignment == taLeftJustify;
    const TSize gapSize = rotated ? TSize{1, 4} : TSize{4, 1};
    const TSize gap = hasText && hasImage ? gapSize : TSize{0, 0};
    const TSize rightGap = hasText && hasRight ? gapSize : TSize{0, 0};

    UINT flags = TextFlags & ~static_cast<UINT>(DT_CENTER | DT_VCENTER);
    if (Alignment == taRightJustify) flags |= DT_RIGHT;

    TSize text{0, 0};
    if (hasText) {
        const bool fitted = (flags & (DT_WORDBREAK | DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
        TRect measure(0, 0, 1, 1);
        if (fitted) {
            int width = ItemRect.Width() + 2;
            if (!ImageAboveCaption)
                width -=
                    (hasImage ? ImageSize.cx + gap.cx : 0) + (hasRight ? RightImageSize.cx + rightGap.cx : 0);
            measure.Right = std::max(width, 1);
        }
        bool measured = false;
        if (fitted && (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) &&
            Canvas->Font()->Style().Contains(fsBold)) {
            const TSize plain = GetCaptionTextSize(Canvas->Handle(), Caption, true);
            if (plain.cx <= measure.Right) {
                text = plain;
                measured = true;
            }
        }
        if (!measured) {
            DrawCaptionText(Canvas, Caption, measure, flags | DT_CALCRECT);
            text = {measure.Right, measure.Bottom};
        }
        if (rotated) text = {text.cy, text.cx};
    }

    TRect caption(0, 0, 0, 0);
    if (hasText) {
        const int top = ItemRect.Top + (ItemRect.Height() - text.cy) / 2;
        int left = ItemRect.Left + (ItemRect.Width() - text.cx) / 2;
        if (Alignment == taLeftJustify) left = ItemRect.Left;
        if (Alignment == taRightJustify) left = ItemRect.Right - text.cx;
        caption = TRect(left, top, left + text.cx, top + text.cy);
    }

    int shiftX = 0, shiftY = 0;
    if (hasImage) {
        const TAlignment align = ImageAboveCaption ? taCenter : Alignment;
        TRect image;
        if (ImageAboveCaption) {
            const int left = ItemRect.Left + (ItemRect.Width() - ImageSize.cx) / 2;
            const int total = ImageSize.cy + gap.cy + text.cy;
            const int top = ItemRect.Top + (ItemRect.Height() - total) / 2;
            image = TRect(left, top, left + ImageSize.cx, top + ImageSize.cy);
            shiftY = (ImageSize.cy + gap.cy) / 2;
        } else {
            const TRect around = hasText ? caption : ItemRect;
            const int top = around.Top + (around.Height() - ImageSize.cy) / 2;
            int left;
            if (align == taLeftJustify) {
                left = hasText ? caption.Left : ItemRect.Left;
                shiftX = ImageSize.cx + gap.cx;
            } else if (align == taRightJustify) {
                left = (hasText ? caption.Right : ItemRect.Right) - ImageSize.cx;
                shiftX = -(ImageSize.cx + gap.cx);
            } else {
                const int total = ImageSize.cx + gap.cx + text.cx;
                left = ItemRect.Left + (ItemRect.Width() - total) / 2;
                shiftX = (ImageSize.cx + gap.cx) / 2;
            }
            image = TRect(left, top, left + ImageSize.cx, top + ImageSize.cy);
        }
        if (Pushed) Offset(image, 1, 1);
        out.Image = image;
    }
    if (hasText) Offset(caption, shiftX + (Pushed ? 1 : 0), shiftY + (Pushed ? 1 : 0));

    if (hasRight) {
        const int top = ItemRect.Top + (ItemRect.Height() - RightImageSize.cy) / 2;
        out.RightImage =
            TRect(ItemRect.Right - RightImageSize.cx, top, ItemRect.Right, top + RightImageSize.cy);
        if (hasText && caption.Right > out.RightImage.Left - rightGap.cx)
            caption.Right = out.RightImage.Left - rightGap.cx;
    }
    out.Caption = caption;
    out.TextHeight = hasText ? text.cy : 0;
    return out;
}
