// Measuring and painting of a group: the items (shared by measuring and
// painting, so the hit rectangles are the painted ones) and the four caption
// painters.
#include <vssym32.h>

#include <algorithm>

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/themes.h"
#include "controls/sccolors.h"
#include "controls/scframes.h"
#include "controls/scgrafx.h"
#include "controls/scgroup.h"
#include "controls/scgroupbar.h"
#include "controls/scscheme.h"

namespace {

bool Classic(const TScGroupBar* Bar) {
    return (Bar && Bar->VisualStyle() == vsClassic) || !IsTrueColor;
}

// A category group is painted by the theme only when there is an explorer
// bar theme; without one (Wine has none) it paints, and colours its items,
// as without themes.
bool ThemedCategory(const TScGroupBar* Bar) {
    TThemeServices* themes = ThemeServices();
    return Bar && Bar->VisualStyle() == vsWinXP && themes->ThemesEnabled() && themes->Theme(teExplorerBar);
}

}  // namespace

// ---- items ------------------------------------------------------------------

int TScGroup::CalcItemsBottom(int Width) {
    if (!measure_) {
        measure_ = MakeOwned<TBitmap>();
        measure_->SetSize(1, 1);
    }
    return PlaceItems(measure_->Canvas(), Width, false);
}

void TScGroup::ItemColors(TColor& Normal, TColor& Hot) const {
    const TScGradientColorStyle colors = bar_ ? bar_->GradientColorStyle() : gcsSystem;
    if (colors == gcsCustom || style_ != gbsCategoryView) {
        Normal = Font()->Color();
        Hot = itemHotColor_;
        return;
    }
    if (ThemedCategory(bar_)) {
        // The theme's text colour of a normal group; a hot item shows by its
        // underline.
        Normal = Hot = GetXPThemeColor(1);
        return;
    }
    TColor start, stop, hotStart, hotStop;
    GetItemColors(colors, start, stop, hotStart, hotStop, Hot, Normal);
}

void TScGroup::PaintSelection(const TRect& Box, bool Pressed) {
    TColor frame = selectionFrameColor_, fill1 = selectionColor_, fill2 = selectionShadowColor_;
    if (!bar_ || bar_->GradientColorStyle() != gcsCustom)
        GetSelectionColors(bar_ ? bar_->GradientColorStyle() : gcsSystem, frame, fill1, fill2);
    if (Pressed) std::swap(fill1, fill2);
    TCanvas* canvas = Canvas();
    const TRect inner = DrawBox(canvas, Box, frame);
    PaintGradient(canvas, inner, 2, fill1, fill2, 1);
}

int TScGroup::PlaceItems(TCanvas* Canvas, int Width, bool Paint) {
    if (items_->Count() == 0) return captionHeight_;
    if (Paint || paddingGeneration_ != measureGeneration_) {
        Canvas->Font()->Assign(Font());
        padding_ = (itemHeight_ - Canvas->TextHeight("Pp")) / 2;
        paddingGeneration_ = measureGeneration_;
    }
    const int p = padding_;
    TCustomImageList* images = ItemImages();
    bool anyImage = false;
    for (int i = 0; i < items_->Count() && !anyImage; ++i) anyImage = items_->GetItem(i)->ImageIndex() != -1;
    const int left = itemStyle_ == isSmall && images && anyImage ? images->Width() + 12 : 8;
    const int imageSpace = LargeImageSpace();
    const std::vector<bool> hidden = HiddenItems();
    TColor normal = clWindowText, hot = clHotLight;
    if (Paint) ItemColors(normal, hot);
    const TColor pressedColor = BlendColors(clBlack, normal, 50);

    int y = captionHeight_ + 4;
    TFont* lastFont = nullptr;
    TFontStyles lastStyle;
    for (int i = topIndex_; i < items_->Count(); ++i) {
        TScGroupItem* item = items_->GetItem(i);
        if (!item->Visible()) continue;
        if (hidden[static_cast<size_t>(i)]) {
            item->SetCaptionRect(TRect());
            item->SetImageRect(TRect());
            continue;
        }
        const int indent = item->IndentLevel() * itemIndent_;
        TFont* font = ItemFont(item);
        const TFontStyles style = font->Style() + item->FontStyle();
        auto selectFont = [&] {
            if (font == lastFont && style == lastStyle && !Paint) return;
            Canvas->Font()->Assign(font);
            Canvas->Font()->SetStyle(style);
            lastFont = font;
            lastStyle = style;
        };
        if (Paint) selectFont();
        if (item->IsSeparator() && itemStyle_ == isLarge) {
            if (Paint) {
                Canvas->Pen()->SetColor(dividerColor_);
                Canvas->MoveTo(8, y + 2);
                Canvas->LineTo(Width - 8, y + 2);
            }
            item->SetCaptionRect(TRect());
            item->SetImageRect(TRect());
            y += 12;
            continue;
        }
        TRect text = itemStyle_ == isSmall
                         ? TRect(left + indent, y + p, Width - 8, y + p)
                         : TRect(8, y + 4 + imageSpace + p, Width - 8, y + 4 + imageSpace + p);
        const UINT align = itemStyle_ == isSmall ? DT_LEFT : DT_CENTER;
        // Adding items one by one would measure every item again on each
        // add: an item is measured again only when its inputs changed.
        TScItemMeasure& m = item->measure_;
        if (!Paint && m.Generation == measureGeneration_ && m.Left == text.Left && m.Right == text.Right &&
            m.Font == font && m.Style == style) {
            text.Right = text.Left + m.Size.cx;
            text.Bottom = text.Top + m.Size.cy;
        } else {
            m.Left = text.Left;
            m.Right = text.Right;
            selectFont();
            Canvas->DrawText(item->Caption(), text, DT_CALCRECT | DT_WORDBREAK | align);
            m.Generation = measureGeneration_;
            m.Font = font;
            m.Style = style;
            m.Size = TSize{text.Width(), text.Height()};
        }
        if (itemStyle_ == isLarge) {
            const int w = text.Width();
            text.Left = std::max(8, (Width - w) / 2);
            text.Right = text.Left + w;
        }
        int height = std::max(2 * p + static_cast<int>(text.Height()), itemHeight_);
        if (itemStyle_ == isLarge) height += imageSpace + 8;
        const int top = y;
        y += height;

        TRect image;
        const bool hasImage = images && item->ImageIndex() != -1 && !item->IsSeparator();
        if (hasImage) {
            const int x = itemStyle_ == isSmall ? 8 + indent : (Width - images->Width()) / 2;
            const int iy = itemStyle_ == isSmall ? top + (height - images->Height()) / 2 : top + 4;
            image = Bounds(x, iy, images->Width(), images->Height());
        }
        item->SetImageRect(image);
        item->SetCaptionRect(item->IsSeparator() ? TRect() : text);
        if (!Paint) continue;

        if (item->IsSeparator()) {
            const int mid = top + height / 2;
            if (Classic(bar_)) {
                Canvas->Pen()->SetColor(dividerColor_);
                Canvas->MoveTo(8, mid);
                Canvas->LineTo(Width - 8, mid);
            } else {
                PaintGradient(Canvas, TRect(8, mid, Width - 8, mid + 1), 5, dividerColor_, Color(), 1);
            }
            continue;
        }
        if (showItemSelection_) {
            const bool marked =
                item->Selected() || (itemSelectionStyle_ == issImage && item->State() != isNormal);
            if (marked) {
                TRect area = text;
                if (hasImage && itemSelectionStyle_ == issImage) area = image;
                if (hasImage && itemSelectionStyle_ == issImageAndCaption)
                    area = TRect(std::min(image.Left, text.Left), std::min(image.Top, text.Top),
                                 std::max(image.Right, text.Right), std::max(image.Bottom, text.Bottom));
                PaintSelection(InflateRect(area, 2, 2), item->State() == isPressed);
            }
        }
        if (hasImage) {
            const int index =
                !item->Enabled() && item->DisabledIndex() != -1 ? item->DisabledIndex() : item->ImageIndex();
            images->Draw(Canvas, image.Left, image.Top, index,
                         item->Enabled() || item->DisabledIndex() != -1);
        }
        TColor color = item->Clickable() ? normal : itemStaticFont_->Color();
        TFontStyles textStyle = style;
        if (item->FontColor() != clNone) color = item->FontColor();
        if (!item->Enabled()) {
            color = ColorToRGB(clBtnShadow) == ColorToRGB(Color()) ? clBtnFace : clBtnShadow;
            textStyle = {};
        } else if (item->State() == isHot || item->State() == isPressed) {
            color = item->State() == isHot ? hot : pressedColor;
            if (itemStyle_ == isSmall) textStyle += TFontStyles{fsUnderline};
        }
        Canvas->Font()->SetColor(color);
        Canvas->Font()->SetStyle(textStyle);
        Canvas->Brush()->SetStyle(bsClear);
        TRect drawn = text;
        Canvas->DrawText(item->Caption(), drawn, DT_WORDBREAK | align);
        Canvas->Brush()->SetStyle(bsSolid);
    }
    return y + 4;
}

// ---- caption parts ----------------------------------------------------------

int TScGroup::PaintCaptionImage() {
    TCustomImageList* images = CaptionImages();
    if (!images || captionImageIndex_ == -1) return 8;
    const int y = (captionHeight_ - images->Height()) / 2;
    images->Draw(Canvas(), 8, y, captionImageIndex_, Enabled());
    return images->Width() + 12;
}

TColor TScGroup::BarBackgroundAt(int Y) const {
    if (!bar_) return Parent() ? Parent()->Color() : clBtnShadow;
    // The bar's gradient is worked out, not read back: the pixel next to
    // the group is not on this group's surface.
    if (bar_->Style() != gbsCategoryView || bar_->VisualStyle() == vsClassic || !IsTrueColor)
        return bar_->Color();
    TColor start = bar_->GradientColorStart(), stop = bar_->GradientColorStop();
    if (bar_->GradientColorStyle() != gcsCustom)
        GetGroupBarGradientColors(bar_->GradientColorStyle(), start, stop);
    if (bar_->GradientPath() == gpBottomToTop) std::swap(start, stop);
    const int height = std::max(1, bar_->ClientHeight());
    const int y = std::clamp(Y, 0, height - 1);
    const COLORREF a = ColorToRGB(start), b = ColorToRGB(stop);
    auto mix = [&](int ca, int cb) { return ca + (cb - ca) * y / height; };
    return static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                   mix(GetBValue(a), GetBValue(b))));
}

namespace {

// The round open/close button: a disc with two chevrons pointing up (open)
// or down (closed).
void PaintToggleButton(TCanvas* Canvas, int X, int Y, bool Opened, TColor Face, TColor Shadow, TColor Arrow) {
    Canvas->Pen()->SetColor(Shadow);
    Canvas->Brush()->SetColor(Face);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Ellipse(X, Y, X + 15, Y + 15);
    Canvas->Pen()->SetColor(Arrow);
    for (int row = 0; row < 2; ++row) {
        const int y = Y + 4 + row * 4;
        for (int i = 0; i < 3; ++i) {
            const int dy = Opened ? 2 - i : i;
            Canvas->MoveTo(X + 4 + i, y + dy);
            Canvas->LineTo(X + 11 - i, y + dy);
        }
    }
}

}  // namespace

void TScGroup::PaintCategory() {
    TCanvas* canvas = Canvas();
    const int w = Width(), ch = captionHeight_;
    const TScGradientColorStyle colors = bar_ ? bar_->GradientColorStyle() : gcsSystem;
    TColor text, face, start, stop, hotText, shadow, body, frame, divider;
    if (colors == gcsCustom) {
        text = captionFont_->Color();
        face = captionColor_;
        start = captionColorStart_;
        stop = captionColorStop_;
        if (special_) {
            text = captionColor_;
            face = start = captionFont_->Color();
            stop = LighterColor(start, 30);
        }
        hotText = captionHotColor_;
        shadow = DarkerColor(face, 30);
        body = Color();
        frame = borderColor_;
        divider = dividerColor_;
    } else {
        const TScCaptionColors c = GetCaptionColors(colors, special_);
        frame = c.Border;
        body = c.Divider2;
        divider = c.Divider;
        shadow = c.ButtonShadow;
        face = c.ButtonFace;
        hotText = c.HotText;
        text = c.Text;
        stop = c.CaptionStop;
        start = c.CaptionStart;
    }
    TColor captionText = text;
    if (captionState_ == 1) captionText = hotText;
    if (captionState_ == 2) captionText = BlendColors(clBlack, text, 50);

    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(start);
    if (Classic(bar_)) {
        canvas->FillRect(TRect(0, 0, w, ch));
    } else {
        canvas->FillRect(TRect(0, 0, w / 2, ch));
        PaintGradient(canvas, TRect(w / 2, 0, w, ch), 5, start, stop, 1);
    }
    const int textStart = PaintCaptionImage();
    canvas->Font()->Assign(captionFont_.get());
    canvas->Font()->SetColor(captionText);
    canvas->Brush()->SetStyle(bsClear);
    const int th = canvas->TextHeight("Pp");
    TRect textRect(textStart, (ch - th) / 2, w - 24, (ch - th) / 2 + th);
    canvas->DrawText(Caption(), textRect, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
    canvas->Brush()->SetStyle(bsSolid);

    if (canClose_) {
        PaintToggleButton(canvas, w - 20, (ch - 15) / 2, opened_, face, shadow, captionText);
        const TColor corner = BarBackgroundAt(Top());
        for (const TPoint& pt :
             {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}, TPoint{w - 1, 0}, TPoint{w - 2, 0}, TPoint{w - 1, 1}})
            canvas->SetPixels(pt.X, pt.Y, corner);
    }
    if (!opened_) return;
    if (dividerVisible_) {
        if (Classic(bar_)) {
            canvas->Brush()->SetColor(divider);
            canvas->FillRect(TRect(0, ch - 1, w, ch));
        } else {
            PaintGradient(canvas, TRect(0, ch - 1, w, ch), 5, divider, body, 1);
        }
    }
    canvas->Pen()->SetColor(frame);
    canvas->MoveTo(0, ch);
    canvas->LineTo(0, Height() - 1);
    canvas->LineTo(w - 1, Height() - 1);
    canvas->LineTo(w - 1, ch - 1);
    canvas->Brush()->SetColor(body);
    canvas->FillRect(TRect(1, ch, w - 1, Height() - 1));
    PlaceItems(canvas, w, true);
}

bool TScGroup::PaintThemedCategory() {
    if (!ThemedCategory(bar_)) return false;
    TThemeServices* themes = ThemeServices();
    TCanvas* canvas = Canvas();
    const int w = Width(), ch = captionHeight_;
    HDC dc = canvas->Handle();
    if (bar_) {
        TOwned<TBitmap> back(Create<TBitmap>());
        back->SetSize(std::max(1, bar_->ClientWidth()), std::max(1, bar_->ClientHeight()));
        themes->DrawElement(back->Canvas()->Handle(), {teExplorerBar, 0, 2},
                            TRect(0, 0, bar_->ClientWidth(), bar_->ClientHeight()));
        BitBlt(dc, 0, 0, w, ch, back->Canvas()->Handle(), Left(), Top(), SRCCOPY);
    }
    if (!themes->DrawElement(dc, {teExplorerBar, special_ ? EBP_SPECIALGROUPHEAD : EBP_NORMALGROUPHEAD, 1},
                             TRect(0, 0, w, ch)))
        return false;
    if (!canClose_) {
        for (const auto& [x, from] :
             {std::pair{0, 0}, std::pair{1, 1}, std::pair{w - 1, w - 1}, std::pair{w - 2, w - 2}})
            canvas->SetPixels(x, 0, canvas->Pixels(from, 2));
        canvas->SetPixels(0, 1, canvas->Pixels(0, 2));
        canvas->SetPixels(w - 1, 1, canvas->Pixels(w - 1, 2));
    }
    const int textStart = PaintCaptionImage();
    themes->DrawThemeText(dc, {teExplorerBar, special_ ? EBP_SPECIALGROUPHEAD : EBP_NORMALGROUPHEAD, 1},
                          WideCaption(), TRect(textStart, 0, w - 24, ch), DT_SINGLELINE | DT_VCENTER);
    if (canClose_) {
        const int part = opened_ ? (special_ ? EBP_SPECIALGROUPCOLLAPSE : EBP_NORMALGROUPCOLLAPSE)
                                 : (special_ ? EBP_SPECIALGROUPEXPAND : EBP_NORMALGROUPEXPAND);
        const TThemedElementDetails glyph{teExplorerBar, part, captionState_ + 1};
        TSize size{};
        if (themes->GetThemePartSize(dc, glyph, TS_TRUE, size))
            themes->DrawElement(dc, glyph, Bounds(w - size.cx - 2, (ch - size.cy) / 2, size.cx, size.cy));
    }
    themes->DrawElement(dc,
                        {teExplorerBar, special_ ? EBP_SPECIALGROUPBACKGROUND : EBP_NORMALGROUPBACKGROUND, 1},
                        TRect(0, ch, w, opened_ ? Height() : ch));
    if (opened_) PlaceItems(canvas, w, true);
    return true;
}

void TScGroup::PaintTaskList() {
    TCanvas* canvas = Canvas();
    const int w = Width(), ch = captionHeight_;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    const int textStart = PaintCaptionImage();
    canvas->Font()->Assign(captionFont_.get());
    if (captionState_ == 1) canvas->Font()->SetColor(captionHotColor_);
    canvas->Brush()->SetStyle(bsClear);
    const int th = canvas->TextHeight("Pp");
    TRect textRect(textStart, (ch - th) / 2, w - 8, (ch - th) / 2 + th);
    canvas->DrawText(Caption(), textRect, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
    canvas->Brush()->SetStyle(bsSolid);
    if (dividerVisible_) {
        canvas->Brush()->SetColor(dividerColor_);
        canvas->FillRect(TRect(0, ch - 1, w, ch));
    }
    PlaceItems(canvas, w, true);
}

void TScGroup::PaintOutlook() {
    TCanvas* canvas = Canvas();
    const int w = Width(), ch = captionHeight_;
    const TScGradientColorStyle colors = bar_ ? bar_->GradientColorStyle() : gcsSystem;
    TColor start = captionColorStart_, stop = captionColorStop_, text = captionFont_->Color(),
           hotText = captionHotColor_;
    if (colors != gcsCustom) {
        const TScCaptionColors c = GetCaptionColors(colors, special_);
        start = c.CaptionStart;
        stop = c.CaptionStop;
        hotText = c.HotText;
    }
    if (captionState_ == 1) std::swap(start, stop);
    const TRect band(0, 0, w, ch);
    if (captionState_ == 2) {
        canvas->Brush()->SetColor(DarkerColor(stop, 10));
        canvas->FillRect(band);
    } else if (Classic(bar_)) {
        canvas->Brush()->SetColor(start);
        canvas->FillRect(band);
    } else {
        PaintGradient(canvas, band, 2, start, stop, 1);
    }
    DrawSides(canvas, band, captionState_ == 2 ? clBtnShadow : clBtnHighlight,
              captionState_ == 2 ? clBtnHighlight : clBtnShadow, AllSides);
    const int textStart = PaintCaptionImage();
    canvas->Font()->Assign(captionFont_.get());
    canvas->Font()->SetColor(captionState_ == 1 ? hotText : text);
    canvas->Brush()->SetStyle(bsClear);
    const int th = canvas->TextHeight("Pp");
    TRect textRect(textStart, (ch - th) / 2, w - 4, (ch - th) / 2 + th);
    canvas->DrawText(Caption(), textRect, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
    canvas->Brush()->SetStyle(bsSolid);
    if (!opened_ || Height() <= ch) return;
    const TRect area(0, ch, w, Height());
    if (Classic(bar_)) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(area);
    } else {
        PaintGradient(canvas, area, 2, Color(), LighterColor(Color(), 30), 1);
    }
    PlaceItems(canvas, w, true);
}

void TScGroup::Paint() {
    switch (style_) {
        case gbsCategoryView:
            if (!PaintThemedCategory()) PaintCategory();
            break;
        case gbsTaskList:
            PaintTaskList();
            break;
        case gbsOutlook:
            PaintOutlook();
            break;
    }
    PaintFocusCue();
}
