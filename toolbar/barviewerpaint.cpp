// Measuring and painting of viewers, in toolbar style (a button with an edge)
// and menu style (image column, caption, shortcut and arrow column).
#include <algorithm>

#include "classlib/graphics/graphics.h"
#include "classlib/graphics/handles.h"
#include "toolbar/barlists.h"
#include "toolbar/bartext.h"
#include "toolbar/barview.h"
#include "toolbar/barviewer.h"

namespace {

TEXTMETRICA Metrics(HDC DC) {
    TEXTMETRICA tm{};
    GetTextMetricsA(DC, &tm);
    return tm;
}

const UINT PressEdges[2] = {BDR_RAISEDINNER, BDR_SUNKENOUTER};

// Copies an 8 x 8 one-bit pattern (set bits = glyph) onto DC in Color.
void BlitPattern(HDC DC, const unsigned char (&Rows)[8], int X, int Y, int W, int H, TColor Color) {
    WORD words[8];
    for (int i = 0; i < 8; ++i) words[i] = Rows[i];
    TBitmapHandle bitmap(CreateBitmap(8, 8, 1, 1, words));
    TMemoryDC memory(DC);
    TSelectObject selectBitmap(memory.Get(), bitmap.Get());
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(Color)));
    TSelectObject selectBrush(DC, brush.Get());
    const COLORREF oldText = SetTextColor(DC, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(DC, RGB(255, 255, 255));
    // Set bits take the brush, clear bits leave the destination alone.
    BitBlt(DC, X, Y, W, H, memory.Get(), 0, 0, 0xE20746);
    SetTextColor(DC, oldText);
    SetBkColor(DC, oldBk);
}

}  // namespace

int TBarItemViewer::MenuImageColumn(int H) {
    TCustomImageList* images = GetImageList();
    if (!images) return H;
    return MulDiv(images->Width() + 3, H, images->Height() + 3);
}

void TBarItemViewer::CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) {
    const bool toolbarStyle = IsToolbarStyle();
    HDC dc = Canvas->Handle();
    AWidth = AHeight = toolbarStyle ? 6 : 0;
    const TEXTMETRICA tm = Metrics(dc);
    if (!toolbarStyle || CaptionShown()) {
        const std::string caption = GetCaptionText();
        if (IsRotated()) {
            TFontHandle rotated = CreateRotatedFont(dc);
            TSelectObject select(dc, rotated.Get());
            AWidth += Metrics(dc).tmHeight;
            AHeight += GetTextWidth(dc, caption, true) + (toolbarStyle ? 6 : 0);
        } else {
            AHeight += tm.tmHeight;
            AWidth += GetTextWidth(dc, caption, true) + (toolbarStyle ? 6 : 0);
        }
    }
    TCustomImageList* images = GetImageList();
    const TBarItemOptions options = Item()->EffectiveOptions();
    if (toolbarStyle) {
        if (ImageShown() && images) {
            if (!IsRotated() && !options.Contains(tboImageAboveCaption)) {
                AWidth += images->Width() + 1;
                AHeight = std::max(AHeight, images->Height() + 6);
            } else {
                AHeight += images->Height();
                AWidth = std::max(AWidth, images->Width() + 7);
            }
        }
        if (Item()->ItemStyle() & isfSubmenu) {
            if (Item()->ItemStyle() & isfCombo)
                AWidth += BarComboArrowWidth;
            else if (options.Contains(tboDropdownArrow))
                (View()->Orientation() == boVertical ? AHeight : AWidth) += BarDropdownArrowWidth;
        }
        return;
    }
    AHeight += tm.tmExternalLeading + 4;
    int column = AHeight;
    if (images) {
        AHeight = std::max(AHeight, images->Height() + 3);
        column = MulDiv(images->Width() + 3, AHeight, images->Height() + 3);
    }
    AWidth += column + 6;
    const std::string shortcut = Item()->GetShortCutText();
    if (!shortcut.empty()) AWidth += GetTextWidth(dc, shortcut, false) + AHeight - 6;
    AWidth += AHeight;
}

void TBarItemViewer::DrawItemCaption(TCanvas* Canvas, TRect ARect, const std::string& ACaption,
                                     bool DrawDisabledShadow, UINT AFormat) {
    HDC dc = Canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    auto draw = [&](TRect R) {
        if (IsRotated())
            DrawRotatedText(dc, ACaption, R, AFormat);
        else
            DrawTextA(dc, ACaption.c_str(), static_cast<int>(ACaption.size()), R.Win32(), AFormat);
    };
    if (!DrawDisabledShadow) {
        draw(ARect);
        return;
    }
    const COLORREF old = GetTextColor(dc);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    draw(TRect(ARect.Left + 1, ARect.Top + 1, ARect.Right + 1, ARect.Bottom + 1));
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    draw(ARect);
    SetTextColor(dc, old);
}

void TBarItemViewer::DrawDropdownArrow(TCanvas* Canvas, int X, int Y, bool Left, bool Enabled) {
    auto triangle = [&](int dx, int dy, COLORREF Color) {
        HDC dc = Canvas->Handle();
        TPenHandle pen(CreatePen(PS_SOLID, 1, Color));
        TBrushHandle brush(CreateSolidBrush(Color));
        TSelectObject selectPen(dc, pen.Get());
        TSelectObject selectBrush(dc, brush.Get());
        const int mx = X + dx, my = Y + dy;
        POINT points[3];
        if (Left) {
            points[0] = {mx - 1, my + 2};
            points[1] = {mx - 1, my - 2};
            points[2] = {mx - 3, my};
        } else {
            points[0] = {mx - 2, my - 1};
            points[1] = {mx + 2, my - 1};
            points[2] = {mx, my + 1};
        }
        ::Polygon(dc, points, 3);
    };
    if (Enabled) {
        triangle(0, 0, GetTextColor(Canvas->Handle()));
    } else {
        triangle(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        triangle(0, 0, GetSysColor(COLOR_BTNSHADOW));
    }
}

void TBarItemViewer::PaintCheckMark(TCanvas* Canvas, const TRect& Column) {
    HDC dc = Canvas->Handle();
    const int cx = (Column.Left + Column.Right) / 2, cy = (Column.Top + Column.Bottom) / 2;
    if (Item()->RadioItem()) {
        TPenHandle pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT)));
        TBrushHandle brush(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
        {
            TSelectObject selectPen(dc, pen.Get());
            TSelectObject selectBrush(dc, brush.Get());
            ::RoundRect(dc, cx - 3, cy - 3, cx + 2, cy + 2, 2, 2);
        }
        TPenHandle light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
        TSelectObject selectPen(dc, light.Get());
        TSelectObject selectBrush(dc, GetStockObject(NULL_BRUSH));
        ::RoundRect(dc, cx - 4, cy - 4, cx + 3, cy + 3, 6, 6);
        return;
    }
    const int ox = cx - 2, oy = cy + 1;
    auto polyline = [&](std::initializer_list<POINT> Points, int SysColor) {
        std::vector<POINT> points;
        for (POINT p : Points) points.push_back({ox + p.x, oy + p.y});
        TPenHandle pen(CreatePen(PS_SOLID, 1, GetSysColor(SysColor)));
        TSelectObject selectPen(dc, pen.Get());
        ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    };
    polyline({{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}}, COLOR_BTNTEXT);
    polyline({{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}}, COLOR_BTNHIGHLIGHT);
}

void TBarItemViewer::PaintMenuArrow(TCanvas* Canvas, const TRect& R, bool Enabled) {
    HDC dc = Canvas->Handle();
    const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
    TBitmapHandle bitmap(CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryDC memory(dc);
    TSelectObject selectBitmap(memory.Get(), bitmap.Get());
    RECT box{0, 0, w, h};
    DrawFrameControl(memory.Get(), &box, DFC_MENU, DFCS_MENUARROW);
    const int column = R.Height();
    const int x = R.Right - column + (column - w) / 2, y = R.Top + (R.Height() - h) / 2;
    auto blit = [&](int dx, int dy, COLORREF Color) {
        TBrushHandle brush(CreateSolidBrush(Color));
        TSelectObject selectBrush(dc, brush.Get());
        const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
        // The arrow's black pixels take the brush; white ones leave the item.
        BitBlt(dc, x + dx, y + dy, w, h, memory.Get(), 0, 0, 0xB8074A);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBk);
    };
    if (Enabled) {
        blit(0, 0, GetTextColor(dc));
    } else {
        blit(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        blit(0, 0, GetSysColor(COLOR_BTNSHADOW));
    }
}

void TBarItemViewer::PaintToolbarFrame(TCanvas* Canvas, TRect& R, bool IsSelected, bool IsPushed,
                                       bool& ContentPressed) {
    HDC dc = Canvas->Handle();
    TBarCustomItem* item = Item();
    const bool combo = (item->ItemStyle() & isfSubmenu) && (item->ItemStyle() & isfCombo);
    const bool plainArrow =
        (item->ItemStyle() & isfSubmenu) && !combo && item->EffectiveOptions().Contains(tboDropdownArrow);
    const bool vertical = View()->Orientation() == boVertical;
    const bool enabled = item->Enabled() || View()->Customizing();
    TRect button = R, arrow;
    if (combo) {
        arrow = TRect(button.Right - BarComboArrowWidth, button.Top, button.Right, button.Bottom);
        button.Right = arrow.Left;
    } else if (plainArrow) {
        arrow = vertical
                    ? TRect(button.Left, button.Bottom - BarDropdownArrowWidth - 3, button.Right,
                            button.Bottom - 3)
                    : TRect(button.Right - BarDropdownArrowWidth, button.Top, button.Right, button.Bottom);
    }
    const bool buttonPushed = combo ? IsPushed && View()->Capture() : IsPushed;
    if ((IsSelected && enabled) || item->Checked() || item->ComponentState().Contains(csDesigning)) {
        TRect edge = button;
        DrawEdge(dc, edge.Win32(), PressEdges[buttonPushed || item->Checked()], BF_RECT);
        if (combo) {
            TRect arrowEdge = arrow;
            DrawEdge(dc, arrowEdge.Win32(), PressEdges[IsPushed && !View()->Capture()], BF_RECT);
        }
    }
    if (combo || plainArrow) {
        const int shift = (combo ? IsPushed && !View()->Capture() : IsPushed) ? 1 : 0;
        const bool left = vertical && (View()->State() & vsOppositePopup);
        DrawDropdownArrow(Canvas, (arrow.Left + arrow.Right) / 2 + shift,
                          (arrow.Top + arrow.Bottom) / 2 + shift, left, enabled);
    }
    button = TRect(button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1);
    if (item->Checked() && !IsSelected) {
        TBrushHandle dither = CreateDitherBrush(clBtnFace, clBtnHighlight);
        FillRect(dc, button.Win32(), dither.Get());
    }
    button = TRect(button.Left + 1, button.Top + 1, button.Right - 1, button.Bottom - 1);
    ContentPressed = buttonPushed || item->Checked();
    if (ContentPressed) button = TRect(button.Left + 1, button.Top + 1, button.Right + 1, button.Bottom + 1);
    if (plainArrow) (vertical ? button.Bottom : button.Right) -= BarDropdownArrowWidth;
    R = button;
}

void TBarItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
                           bool UseDisabledShadow) {
    HDC dc = Canvas->Handle();
    TBarCustomItem* item = Item();
    const bool toolbarStyle = IsToolbarStyle();
    const bool showEnabled = item->Enabled() || View()->Customizing();
    const bool combo = (item->ItemStyle() & isfSubmenu) && (item->ItemStyle() & isfCombo);
    TCustomImageList* images = GetImageList();
    const bool imageShown = ImageShown() && images;
    const TEXTMETRICA tm = Metrics(dc);
    const TBarItemOptions options = item->EffectiveOptions();
    const int column = toolbarStyle ? 0 : MenuImageColumn(ClientAreaRect.Height());
    TRect r = ClientAreaRect;

    if (!toolbarStyle && IsSelected) {
        TRect selection = r;
        if (imageShown || item->Checked()) selection.Left = r.Left + column + 1;
        if (combo && item->Enabled()) selection.Right -= GetSystemMetrics(SM_CXMENUCHECK);
        Canvas->FillRect(selection);
    }
    bool contentPressed = false;
    if (toolbarStyle) PaintToolbarFrame(Canvas, r, IsSelected, IsPushed, contentPressed);

    UINT hidePrefix = 0;
    if ((View()->Style() & vsUseHiddenAccels) && !View()->ShowAccelerators()) hidePrefix = DT_HIDEPREFIX;
    const bool shadow = !showEnabled && UseDisabledShadow;
    if (CaptionShown()) {
        TRect text = r;
        UINT format;
        if (!toolbarStyle) {
            text.Left = r.Left + column + 3;
            if (text.Height() == tm.tmHeight + tm.tmExternalLeading + 4) --text.Bottom;
            text.Top += tm.tmExternalLeading;
            format = DT_SINGLELINE | DT_VCENTER;
        } else {
            if (imageShown) {
                if (IsRotated() || options.Contains(tboImageAboveCaption))
                    text.Top += images->Height() + 1;
                else
                    text.Left += images->Width() + 1;
            }
            format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
        }
        SetBkMode(dc, TRANSPARENT);
        DrawItemCaption(Canvas, text, GetCaptionText(), shadow, format | hidePrefix);
    }
    if (!toolbarStyle) {
        const std::string shortcut = item->GetShortCutText();
        if (!shortcut.empty()) {
            TRect text(r.Left, r.Top, r.Right - r.Height(), r.Bottom);
            const UINT format = DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX;
            if (shadow) {
                const COLORREF old = GetTextColor(dc);
                SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
                TRect moved(text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1);
                DrawTextA(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), moved.Win32(), format);
                SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
                DrawTextA(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), text.Win32(), format);
                SetTextColor(dc, old);
            } else {
                DrawTextA(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), text.Win32(), format);
            }
        }
        if (item->ItemStyle() & isfSubmenu) {
            if (combo) {
                TRect split(r.Right - GetSystemMetrics(SM_CXMENUCHECK), r.Top, r.Right, r.Bottom);
                if (IsSelected && item->Enabled())
                    DrawEdge(dc, split.Win32(), BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE);
                else
                    DrawEdge(dc, split.Win32(), EDGE_ETCHED, BF_LEFT);
            }
            PaintMenuArrow(Canvas, r, showEnabled || !UseDisabledShadow);
        }
        TRect columnRect(r.Left, r.Top, r.Left + column, r.Bottom);
        if ((IsSelected && item->Enabled()) || item->Checked()) {
            if (imageShown || item->Checked()) {
                TRect edge = columnRect;
                DrawEdge(dc, edge.Win32(), PressEdges[item->Checked()], BF_RECT | BF_MIDDLE);
            }
            if (item->Checked() && !IsSelected) {
                TBrushHandle dither = CreateDitherBrush(clBtnFace, clBtnHighlight);
                TRect inner(columnRect.Left + 1, columnRect.Top + 1, columnRect.Right - 1,
                            columnRect.Bottom - 1);
                FillRect(dc, inner.Win32(), dither.Get());
            }
        }
        if (imageShown) {
            images->Draw(Canvas, columnRect.Left + (column - images->Width()) / 2,
                         columnRect.Top + (columnRect.Height() - images->Height()) / 2, item->ImageIndex(),
                         item->Enabled());
        } else if (item->Checked()) {
            PaintCheckMark(Canvas, columnRect);
        }
        return;
    }
    if (imageShown) {
        int x, y;
        if (CaptionShown() && !IsRotated() && !options.Contains(tboImageAboveCaption)) {
            x = r.Left;
            y = r.Top + (r.Height() - images->Height()) / 2;
        } else {
            x = r.Left + (r.Width() - images->Width()) / 2;
            y = CaptionShown() ? r.Top : r.Top + (r.Height() - images->Height()) / 2;
        }
        images->Draw(Canvas, x, y, item->ImageIndex(), item->Enabled());
    }
}

// ---- separator -------------------------------------------------------------------------

void TBarSeparatorItemViewer::CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) {
    if (IsToolbarStyle()) {
        AWidth = AHeight = 6;
        return;
    }
    AHeight += DivRoundUp(GetTextHeight(Canvas->Handle()) * 2, 3);
}

void TBarSeparatorItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool, bool, bool) {
    auto* separator = dynamic_cast<TBarSeparatorItem*>(Item());
    if (separator && separator->Blank()) return;
    HDC dc = Canvas->Handle();
    const TRect& r = ClientAreaRect;
    const bool toolbarStyle = IsToolbarStyle();
    const TBarOrientation orientation = View()->Orientation();
    // A line break turns the line across the bar's own direction.
    const bool horizontalLine = !toolbarStyle || ((orientation == boVertical) != LineSep);
    if (horizontalLine) {
        int inset = 0;
        if (!toolbarStyle)
            inset = 12;
        else if (LineSep)
            inset = orientation == boFloating ? 1 : 4;
        const int y = r.Top + r.Height() / 2 - 1;
        TRect line(r.Left + inset, y, r.Right - inset, y + 2);
        DrawEdge(dc, line.Win32(), EDGE_ETCHED, BF_TOP);
    } else {
        const int inset = LineSep ? 4 : 0;
        const int x = r.Left + r.Width() / 2 - 1;
        TRect line(x, r.Top + inset, x + 2, r.Bottom - inset);
        DrawEdge(dc, line.Win32(), EDGE_ETCHED, BF_LEFT);
    }
}

// ---- chevron -----------------------------------------------------------------------------

void TBarChevronItemViewer::Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected,
                                  bool IsPushed, bool) {
    static const unsigned char Horizontal[8] = {0xCC, 0x66, 0x33, 0x66, 0xCC, 0, 0, 0};
    static const unsigned char Vertical[8] = {0x88, 0xD8, 0x70, 0x20, 0x88, 0xD8, 0x70, 0x20};
    HDC dc = Canvas->Handle();
    const TRect& r = ClientAreaRect;
    const bool enabled = Item()->Enabled();
    TRect edge = r;
    if (enabled && IsPushed)
        DrawEdge(dc, edge.Win32(), BDR_SUNKENOUTER, BF_RECT);
    else if (enabled && IsSelected && !Item()->ComponentState().Contains(csDesigning))
        DrawEdge(dc, edge.Win32(), BDR_RAISEDINNER, BF_RECT);
    const bool vertical = View()->Orientation() == boVertical;
    TRect box = vertical ? TRect(r.Right - 9, r.Top + 2, r.Right - 4, r.Top + 10)
                         : TRect(r.Left + 2, r.Top + 4, r.Left + 10, r.Top + 9);
    if (IsPushed) box = TRect(box.Left + 1, box.Top + 1, box.Right + 1, box.Bottom + 1);
    const auto& rows = vertical ? Vertical : Horizontal;
    if (enabled) {
        BlitPattern(dc, rows, box.Left, box.Top, box.Width(), box.Height(), clBtnText);
    } else {
        BlitPattern(dc, rows, box.Left, box.Top + 1, box.Width(), box.Height(), clBtnHighlight);
        BlitPattern(dc, rows, box.Left, box.Top, box.Width(), box.Height(), clBtnShadow);
    }
}
