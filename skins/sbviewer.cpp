#include "skins/sbviewer.h"

#include <algorithm>

#include "classlib/windows/application.h"
#include "skins/barpainters.h"
#include "skins/sbhint.h"
#include "skins/sbitemlayout.h"
#include "skins/sbitemsunit.h"
#include "skins/skincaption.h"
#include "skins/skinglyphs.h"
#include "skins/skinmanager.h"
#include "toolbar/barsystem.h"
#include "toolbar/barview.h"
#include "toolbar/barwatch.h"

namespace {

// Owner-draw events may free the item, or rebuild the view's viewers; the
// viewer is touched again only while its view still lists it.
class TViewerGuard {
public:
    explicit TViewerGuard(TBarItemViewer* Viewer)
        : viewer_(Viewer), view_(Viewer->View()), item_(Viewer->Item()) {}
    bool Alive() const { return view_ && item_ && view_->IndexOf(viewer_) >= 0; }

private:
    TBarItemViewer* viewer_;
    TBarWatch<TBarView> view_;
    TBarWatch<TBarCustomItem> item_;
};

TSize ImageListSize(TCustomImageList* Images) {
    if (!Images || Images->Width() <= 0 || Images->Height() <= 0) return {0, 0};
    return {Images->Width(), Images->Height()};
}

int Orientation(TBarItemViewer* Viewer) {
    return Viewer->IsRotated() ? SkinTextRotated270 : SkinTextNormal;
}

}  // namespace

ISbItemHost* TSbItemViewer::Host() const {
    return dynamic_cast<ISbItemHost*>(View()->Window());
}

TSbSkinStatesType TSbItemViewer::CurrentState() {
    const bool hot = View()->Selected() == this;
    const bool pushed =
        hot && (View()->OpenViewer() == this || (View()->MouseOverSelected() && View()->Capture()));
    return TSbSkinOptions::GetState(Item()->Enabled(), pushed, hot, Item()->Checked());
}

bool TSbItemViewer::SkinImageShown() {
    ISbItemHost* host = Host();
    if (host && host->IsSkinnedToolbar() && host->ItemDisplayMode() == tbdmTextOnly) return false;
    return ImageShown();
}

bool TSbItemViewer::CaptionShown() {
    ISbItemHost* host = Host();
    if (host && host->IsSkinnedToolbar()) {
        if (host->ItemDisplayMode() == tbdmTextOnly) return true;
        if (host->ItemDisplayMode() == tbdmImageOnly && SkinImageShown()) return false;
    }
    return inherited::CaptionShown();
}

std::wstring TSbItemViewer::GetWideCaptionText() {
    return SkinnedItem()->CaptionText();
}

UINT TSbItemViewer::CaptionFormat() {
    UINT flags = 0;
    switch (SkinnedItem()->Wrapping()) {
        case twNone:
            break;
        case twEndEllipsis:
            flags = DT_END_ELLIPSIS | DT_SINGLELINE;
            break;
        case twPathEllipsis:
            flags = DT_PATH_ELLIPSIS | DT_SINGLELINE;
            break;
        case twWrap:
            flags = DT_WORDBREAK;
            break;
    }
    if (!AreKeyboardCuesEnabled() && !View()->ShowAccelerators()) flags |= DT_HIDEPREFIX;
    flags |= DT_VCENTER;
    if (IsRotated() || !IsToolbarStyle()) flags |= DT_SINGLELINE;
    return flags;
}

TColor TSbItemViewer::GetTextColor(TSbSkinStatesType State) {
    const TColor own = SkinnedItem()->FontSettings()->Color();
    if (own != clNone) return own;
    std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
    ISbItemHost* host = Host();
    if (host && host->IsSkinnedToolbar()) {
        const TColor bar = host->GetItemTextColor(State);
        if (bar != clNone) return bar;
        return skin ? skin->GetTextColor(skncToolbarItem, State) : clBtnText;
    }
    if (IsToolbarStyle()) return skin ? skin->GetTextColor(skncToolbarItem, State) : clBtnText;
    return skin ? skin->GetTextColor(skncMenuItem, State) : clMenuText;
}

void TSbItemViewer::AdjustFont(TFont* Font, TSbSkinStatesType State) {
    Font->Assign(View()->GetFont());
    SkinnedItem()->FontSettings()->Apply(Font);
    if (Item()->EffectiveOptions().Contains(tboDefault)) Font->SetStyle(Font->Style() + TFontStyles{fsBold});
    if (SkinnedItem()->FontSettings()->Color() == clNone) Font->SetColor(GetTextColor(State));
}

TSbItemSizeInput TSbItemViewer::SizeInput(TCanvas* Canvas) {
    TSbItemSizeInput in;
    TSbCustomItem* item = SkinnedItem();
    std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
    in.ToolbarStyle = IsToolbarStyle();
    in.Metrics = SbCachedMenuItemMetrics();
    in.Image = ImageListSize(GetImageList());
    in.RightImage = GetRightImageSize();
    if (in.RightImage.cx <= 0 || in.RightImage.cy <= 0) in.RightImage = {0, 0};
    in.ImageShown = SkinImageShown();
    in.ImageAbove = item->EffectiveOptions().Contains(tboImageAboveCaption);
    in.VerticalView = View()->Orientation() == boVertical;

    TOwned<TFont> font = MakeOwned<TFont>();
    AdjustFont(font.get(), CurrentState());
    Canvas->SetFont(font.get());

    const bool shown = CaptionShown();
    in.Rotated = shown && IsRotated();
    const std::wstring caption = GetWideCaptionText();
    if (shown && !caption.empty()) {
        TRect r(0, 0, 1, 1);
        const UINT flags = CaptionFormat() & ~static_cast<UINT>(DT_SINGLELINE | DT_WORDBREAK |
                                                                DT_END_ELLIPSIS | DT_PATH_ELLIPSIS);
        DrawCaptionText(Canvas, caption, r, flags | DT_CALCRECT, sgkNone, clNone, Orientation(this));
        in.Caption = in.Rotated ? TSize{r.Bottom, r.Right} : TSize{r.Right, r.Bottom};
    }
    const TBarItemStyle style = item->ItemStyle();
    in.Combo = (style & isfSubmenu) && (style & isfCombo);
    in.DropdownArrow = item->Options().Contains(tboDropdownArrow);
    ISbItemHost* host = Host();
    if (item->Stretch() && host && host->IsSkinnedToolbar()) {
        in.Stretch = true;
        in.BaseSize = View()->BaseSize();
    }
    if (!in.ToolbarStyle) {
        TEXTMETRICW tm{};
        GetTextMetricsW(Canvas->Handle(), &tm);
        in.ExternalLeading = tm.tmExternalLeading;
        const int gutterImage = host && host->GutterImageSize() > 0 ? host->GutterImageSize() : in.Image.cx;
        if (skin) skin->GetMenuItemMargins(Canvas, gutterImage, in.MenuMargins);
        const std::wstring shortcut = item->ShortCutText();
        if (!shortcut.empty()) in.ShortCutWidth = GetCaptionTextSize(Canvas->Handle(), shortcut, true).cx;
    }
    in.MinWidth = item->MinWidth();
    in.MinHeight = item->MinHeight();
    in.Margins = item->Margins();
    in.CustomWidth = item->CustomWidth();
    in.CustomHeight = item->CustomHeight();
    in.Anchored = item->Anchored();
    in.AnchorSize = AnchorSize;
    if (host) in.MaxThickness = host->MaxItemThickness();
    return in;
}

void TSbItemViewer::CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) {
    const TSize size = SbItemSize(SizeInput(Canvas));
    AWidth = size.cx;
    AHeight = size.cy;
}

void TSbLabelItemViewer::CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) {
    inherited::CalcSize(Canvas, AWidth, AHeight);
    if (IsToolbarStyle() || GetWideCaptionText().empty() || SkinnedItem()->CustomHeight() != -1) return;
    // SizeInput left the item's font in the canvas.
    TEXTMETRICW tm{};
    GetTextMetricsW(Canvas->Handle(), &tm);
    AHeight = tm.tmHeight;
}

void TSbItemViewer::DrawItemImage(TCanvas* Canvas, const TRect& R, TSbSkinStatesType State) {
    TCustomImageList* images = GetImageList();
    if (!images) return;
    if (images == SbGlyphMarkerList()) {
        DrawGlyphPattern(Canvas, R, static_cast<TSbGlyphPattern>(Item()->ImageIndex()),
                         Canvas->Font()->Color());
        return;
    }
    PaintItemImage(Canvas, R, images, Item()->ImageIndex(), Item()->Enabled(),
                   State == sknsHotTrack || State == sknsCheckedAndHotTrack);
}

void TSbItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
                          bool) {
    TViewerGuard guard(this);
    TSbItemDrawInfo info{this, CurrentState(), !IsToolbarStyle()};
    bool paintDefault = true;
    SkinnedItem()->DoDrawItem(Canvas, ClientAreaRect, info, sdsBefore, paintDefault);
    if (!guard.Alive()) return;
    if (paintDefault && !PaintDefault(Canvas, ClientAreaRect, IsSelected, IsPushed)) return;
    if (!guard.Alive()) return;
    bool ignored = true;
    SkinnedItem()->DoDrawItem(Canvas, ClientAreaRect, info, sdsAfter, ignored);
}

bool TSbItemViewer::PaintDefault(TCanvas* Canvas, const TRect& R, bool IsSelected, bool IsPushed) {
    TViewerGuard guard(this);
    TSbCustomItem* item = SkinnedItem();
    const bool toolbarStyle = IsToolbarStyle();
    const TSbSkinStatesType state =
        TSbSkinOptions::GetState(item->Enabled(), IsPushed, IsSelected, item->Checked());
    const TSbMenuItemMetrics metrics = SbCachedMenuItemMetrics();
    TSbItemPaintInfo paint;
    paint.State = state;
    paint.InMenu = !toolbarStyle;
    paint.OnMenuBar = (View()->Style() & vsMenuBar) != 0;
    paint.SplitButton = (item->ItemStyle() & isfSubmenu) && (item->ItemStyle() & isfCombo);
    paint.SplitWidth = metrics.SplitDropDownWidth;
    paint.SubmenuOpen = View()->OpenViewer() == this;
    paint.VerticalBar = View()->Orientation() == boVertical;
    if (PaintsButtonBackground() && (item->Enabled() || state != sknsNormal))
        PaintItemBackground(Canvas, R, paint);

    TOwned<TFont> font = MakeOwned<TFont>();
    AdjustFont(font.get(), state);
    Canvas->SetFont(font.get());
    const TColor textColor = Canvas->Font()->Color();
    const TSbItemDrawInfo info{this, state, !toolbarStyle};

    TRect content = R;
    TRect column;  // the menu's image column
    TRect arrowColumn;
    int shortcutLeft = R.Right;
    if (!toolbarStyle) {
        TSbMenuItemMargins margins;
        ISbItemHost* host = Host();
        const TSize images = ImageListSize(GetImageList());
        const int gutterImage = host && host->GutterImageSize() > 0 ? host->GutterImageSize() : images.cx;
        if (std::shared_ptr<TSbSkinOptions> skin = CurrentSkin())
            skin->GetMenuItemMargins(Canvas, gutterImage, margins);
        const int h = R.Height();
        column = TRect(R.Left + margins.Left + margins.ImageGapLeft, R.Top,
                       R.Left + margins.Left + margins.ImageGapLeft + h, R.Bottom);
        content.Left = R.Left + margins.Left + margins.ItemHeight + margins.ImageGapLeft +
                       margins.ImageGapRight + margins.GutterExtra;
        content.Right = R.Right - margins.Right - h;
        arrowColumn = TRect(R.Right - h, R.Top, R.Right, R.Bottom);
        const std::wstring shortcut = item->ShortCutText();
        if (!shortcut.empty()) {
            shortcutLeft = content.Right - GetCaptionTextSize(Canvas->Handle(), shortcut, true).cx;
            TRect s(shortcutLeft, R.Top, content.Right, R.Bottom);
            DrawCaptionText(Canvas, shortcut, s, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
            content.Right = shortcutLeft - (h - 6);
        }
    } else if (paint.SplitButton) {
        content.Right -= metrics.SplitDropDownWidth;
    } else if (item->Options().Contains(tboDropdownArrow)) {
        (paint.VerticalBar ? content.Bottom : content.Right) -= metrics.ArrowWidth;
    }

    const bool imageShown = SkinImageShown() && toolbarStyle;
    const TSize imageSize = imageShown ? ImageListSize(GetImageList()) : TSize{0, 0};
    const std::wstring caption = CaptionShown() ? GetWideCaptionText() : std::wstring();
    const UINT format = CaptionFormat();
    const TAlignment alignment = toolbarStyle ? item->Alignment() : taLeftJustify;
    const TSbItemRects rects =
        LayoutItemRects(Canvas, content, caption, IsRotated() ? SkinTextRotated270 : 0,
                        IsPushed && toolbarStyle, item->EffectiveOptions().Contains(tboImageAboveCaption),
                        imageSize, GetRightImageSize(), format, alignment);

    // Image: on a toolbar beside the caption, in a menu in its column.
    bool drawImage = true;
    if (toolbarStyle && imageShown) {
        item->DoDrawImage(Canvas, rects.Image, info, drawImage);
        if (!guard.Alive()) return false;
        if (drawImage) DrawItemImage(Canvas, rects.Image, state);
    } else if (!toolbarStyle) {
        const TSize listSize = ImageListSize(GetImageList());
        if (SkinImageShown() && listSize.cx > 0) {
            const int x = column.Left + (column.Width() - listSize.cx) / 2;
            const int y = column.Top + (column.Height() - listSize.cy) / 2;
            const TRect r(x, y, x + listSize.cx, y + listSize.cy);
            item->DoDrawImage(Canvas, r, info, drawImage);
            if (!guard.Alive()) return false;
            if (drawImage) DrawItemImage(Canvas, r, state);
        } else if (item->Checked()) {
            if (std::shared_ptr<TSbSkinOptions> skin = CurrentSkin()) {
                if (item->RadioItem())
                    skin->PaintRadioMark(Canvas, column, state, true, true);
                else
                    skin->PaintCheckMark(Canvas, column, state, true, false, true);
            }
        }
    }

    if (!caption.empty()) {
        bool drawCaption = true;
        item->DoDrawCaption(Canvas, rects.Caption, info, drawCaption);
        if (!guard.Alive()) return false;
        if (drawCaption) {
            TRect r = rects.Caption;
            Canvas->Font()->SetColor(textColor);
            DrawCaptionText(Canvas, caption, r, format & ~static_cast<UINT>(DT_VCENTER),
                            static_cast<TSbGlowKind>(item->CaptionGlow()), item->CaptionGlowColor(),
                            IsRotated() ? SkinTextRotated270 : SkinTextNormal);
        }
    }

    // Arrows: a menu's submenu arrow, a toolbar's drop-down or split part.
    const TBarItemStyle style = item->ItemStyle();
    if (!toolbarStyle) {
        if (style & isfSubmenu)
            DrawArrow(Canvas, arrowColumn.Left + arrowColumn.Width() / 2 - 2,
                      arrowColumn.Top + arrowColumn.Height() / 2 - 4, 4, false, false, textColor);
    } else if (paint.SplitButton || item->Options().Contains(tboDropdownArrow)) {
        const int width = paint.SplitButton ? metrics.SplitDropDownWidth : metrics.ArrowWidth;
        const int x = R.Right - width + (width - 6) / 2 + (IsPushed && !paint.SplitButton ? 1 : 0);
        const int y = R.Top + R.Height() / 2 - 1;
        DrawArrow(Canvas, x, y, 3, true, false, textColor);
    }
    return true;
}

std::wstring SbHintText(const std::wstring& Hint, const std::wstring& Caption, bool AutoHint,
                        const std::wstring& ShortCutText) {
    std::wstring hint = Hint.substr(0, Hint.find(L'|'));
    if (hint.empty() && AutoHint) hint = StripTrailingPunctuationW(StripAccelCharsW(TruncateAtTabW(Caption)));
    if (!hint.empty() && !ShortCutText.empty()) hint += L" (" + ShortCutText + L")";
    return hint;
}

std::wstring TSbItemViewer::GetWideHintText() {
    TSbCustomItem* item = SkinnedItem();
    const TBarItemStyle style = item->ItemStyle();
    const bool submenu = (style & isfSubmenu) && !(style & isfCombo);
    const bool autoHint = !item->EffectiveOptions().Contains(tboNoAutoHint) && !submenu;
    const std::wstring shortcut =
        Application && Application->HintShortCuts && item->ShortCut() ? item->ShortCutText() : std::wstring();
    std::wstring hint = SbHintText(item->Hint(), item->Caption(), autoHint, shortcut);
    if (auto* action = dynamic_cast<TCustomAction*>(item->Action())) {
        std::string text = WideToAnsiText(hint);
        if (!action->DoHint(text)) return {};
        hint = AnsiToWideText(text);
    }
    return hint;
}

void TSbItemViewer::HintShow(THintInfo& Info) {
    TViewerGuard guard(this);
    std::wstring hint = GetWideHintText();
    Info.HintStr = hint;
    if (hint.empty()) return;
    PrepareHintBitmap(SkinnedItem(), hint);
    if (!guard.Alive()) return;
    Info.HintWindowClass = TBitmapHint::ClassInfo();
    Info.HideTimeout = 60000;
}

void TSbSeparatorItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected,
                                   bool IsPushed, bool UseDisabledShadow) {
    if (!Item()->Visible()) return;
    auto* host = dynamic_cast<ISbItemHost*>(View()->Window());
    if (host && host->DrawsOwnSeparators()) return;
    if (CurrentSkinType() == sknNone) {
        inherited::Paint(Canvas, ClientAreaRect, IsSelected, IsPushed, UseDisabledShadow);
        return;
    }
    TRect r = ClientAreaRect;
    const bool menu = !IsToolbarStyle();
    if (menu && CurrentSkinType() == sknSkin) {
        std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
        if (skin && !skin->Options(skncGutter)->IsEmpty()) {
            TSbMenuItemMargins margins;
            skin->GetMenuItemMargins(Canvas, host ? host->GutterImageSize() : 0, margins);
            r.Left += margins.Left + margins.ItemHeight + margins.ImageGapLeft + margins.ImageGapRight;
        }
    }
    // Side by side on a horizontal bar the line runs top to bottom.
    PaintSeparator(Canvas, r, !menu && View()->Orientation() != boVertical);
}
