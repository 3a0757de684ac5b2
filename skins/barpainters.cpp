#include "skins/barpainters.h"

#include <vsstyle.h>

#include "classlib/graphics/imagelist.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/themes.h"
#include "skins/skinglyphs.h"
#include "skins/skinmanager.h"
#include "skins/skinpaint.h"
#include "toolbar/bardock.h"
#include "toolbar/bardockable.h"
#include "toolbar/barsystem.h"

namespace {

// Holds the skin for the whole paint, whatever a repaint selects meanwhile.
struct TSkinInForce {
    std::shared_ptr<TSbSkinOptions> Skin = CurrentSkin();
    TSbSkinType Type = Skin ? CurrentSkinType() : sknNone;
};

bool Empty(const TRect& r) {
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

void Fill(TCanvas* canvas, const TRect& r, TColor colour) {
    FillRectSkin(canvas, r, colour);
}

void Edge(TCanvas* canvas, const TRect& r, UINT edge, UINT flags) {
    RECT rect = r;
    DrawEdge(canvas->Handle(), &rect, edge, flags);
}

bool Themed(TCanvas* canvas, TThemedElement element, int part, int state, const TRect& r) {
    return ThemeServices()->DrawElement(canvas->Handle(), {element, part, state}, r);
}

int ToolbarButtonState(TSbSkinStatesType state) {
    static constexpr int kStates[] = {TS_NORMAL, TS_DISABLED, TS_HOT, TS_PRESSED, TS_CHECKED, TS_HOTCHECKED};
    return kStates[state];
}

bool Highlighted(TSbSkinStatesType state) {
    return state >= sknsHotTrack;
}

void ClassicItem(TCanvas* canvas, const TRect& r, const TSbItemPaintInfo& item) {
    if (item.InMenu || item.OnMenuBar) {
        if (Highlighted(item.State)) Fill(canvas, r, clHighlight);
        return;
    }
    if (item.State == sknsHotTrack)
        Edge(canvas, r, BDR_RAISEDINNER, BF_RECT);
    else if (item.State == sknsPushed || item.State == sknsChecked || item.State == sknsCheckedAndHotTrack)
        Edge(canvas, r, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace

void PaintItemBackground(TCanvas* Canvas, const TRect& R, const TSbItemPaintInfo& Item) {
    TSkinInForce skin;
    switch (skin.Type) {
        case sknNone:
            ClassicItem(Canvas, R, Item);
            return;
        case sknWindows:
            if (Item.InMenu || Item.OnMenuBar) {
                if (Highlighted(Item.State)) Fill(Canvas, R, clHighlight);
            } else if (!Themed(Canvas, teToolBar, Item.SplitButton ? TP_SPLITBUTTON : TP_BUTTON,
                               ToolbarButtonState(Item.State), R)) {
                ClassicItem(Canvas, R, Item);
            }
            return;
        case sknSkin:
            break;
    }
    TSbSkinComponentsType component = Item.InMenu      ? skncMenuItem
                                      : Item.OnMenuBar ? skncMenuBarItem
                                                       : skncToolbarItem;
    TSbSkinStatesType state = Item.State;
    if (Item.SubmenuOpen && skin.Skin->OpenToolbarItemDefined()) {
        component = skncOpenToolbarItem;
        state = sknsNormal;
    }
    if (!Item.SplitButton || Item.InMenu) {
        skin.Skin->PaintBackground(Canvas, R, component, state, true, true, Item.VerticalBar);
        return;
    }
    // The two halves meet with square corners.
    const int split = std::max<int>(R.Left, R.Right - Item.SplitWidth);
    skin.Skin->PaintBackground(Canvas, {R.Left, R.Top, split, R.Bottom}, component, state, true, true,
                               Item.VerticalBar, SkinCornerRight);
    skin.Skin->PaintBackground(Canvas, {split, R.Top, R.Right, R.Bottom}, component, state, true, true,
                               Item.VerticalBar, SkinCornerLeft);
}

void PaintSeparator(TCanvas* Canvas, const TRect& R, bool Vertical) {
    TSkinInForce skin;
    if (skin.Type == sknWindows &&
        Themed(Canvas, teToolBar, Vertical ? TP_SEPARATOR : TP_SEPARATORVERT, 1, R))
        return;
    if (skin.Type != sknSkin) {
        const LONG middle = Vertical ? (R.Left + R.Right) / 2 - 1 : (R.Top + R.Bottom) / 2 - 1;
        const TRect line = Vertical ? TRect(middle, R.Top, middle + 2, R.Bottom)
                                    : TRect(R.Left, middle, R.Right, middle + 2);
        Edge(Canvas, line, EDGE_ETCHED, Vertical ? BF_LEFT : BF_TOP);
        return;
    }
    const TSbSkinOptionEntry* body = skin.Skin->Options(skncSeparator)->Body();
    if (Vertical) {
        const int x = (R.Left + R.Right) / 2 - 1;
        DrawLineSkin(Canvas, x, R.Top, x, R.Bottom, body->Color1);
        DrawLineSkin(Canvas, x + 1, R.Top, x + 1, R.Bottom, body->Color2);
    } else {
        const int y = (R.Top + R.Bottom) / 2 - 1;
        DrawLineSkin(Canvas, R.Left, y, R.Right, y, body->Color1);
        DrawLineSkin(Canvas, R.Left, y + 1, R.Right, y + 1, body->Color2);
    }
}

void PaintItemImage(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, int Index, bool Enabled,
                    bool HotTrack) {
    TSkinInForce skin;
    if (!Enabled) {
        DrawImageListGlyph(Canvas, R, Images, Index, sgsDisabled);
        return;
    }
    if (skin.Type == sknSkin && HotTrack && skin.Skin->OfficeIconsInForce()) {
        // The image lifts off its shadow.
        DrawImageListGlyph(Canvas, {R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1}, Images, Index,
                           sgsShadowed);
        DrawImageListGlyph(Canvas, {R.Left - 1, R.Top - 1, R.Right - 1, R.Bottom - 1}, Images, Index,
                           sgsNormal);
        return;
    }
    DrawImageListGlyph(Canvas, R, Images, Index, sgsNormal);
}

void PaintPopupBackground(TCanvas* Canvas, const TRect& R, int GutterWidth) {
    TSkinInForce skin;
    if (skin.Type != sknSkin) {
        if (AreFlatMenusEnabled()) {
            FillRectSkin(Canvas, R, clMenu, clBtnShadow);
        } else {
            Fill(Canvas, R, clBtnFace);
            Edge(Canvas, R, EDGE_RAISED, BF_RECT);
        }
        return;
    }
    skin.Skin->PaintBackground(Canvas, R, skncPopup, sknsNormal, true, true, false);
    if (GutterWidth <= 0) return;
    const bool framed = !skin.Skin->Options(skncPopup)->Borders()->IsEmpty();
    const int inset = framed ? 1 : 0;
    const TRect gutter(R.Left + inset, R.Top + inset,
                       std::min<LONG>(R.Left + inset + GutterWidth, R.Right - inset), R.Bottom - inset);
    skin.Skin->PaintBackground(Canvas, gutter, skncGutter, sknsNormal, true, false, false);
}

TRect StatusBarGripRect(const TRect& R) {
    const int size =
        std::min<int>(GetSystemMetrics(SM_CXVSCROLL), std::min(R.Right - R.Left, R.Bottom - R.Top));
    return {R.Right - size, R.Bottom - size, R.Right, R.Bottom};
}

void PaintStatusBar(TCanvas* Canvas, const TRect& R, bool SizeGrip, TSbSkinType SkinType) {
    TSkinInForce skin;
    // A bar that asks for less than the skin gets only what it asks for.
    if (SkinType != sknSkin) skin.Type = ResolveSkinType(SkinType);
    const TRect grip = StatusBarGripRect(R);
    if (skin.Type == sknWindows && Themed(Canvas, teStatus, 0, 0, R)) {
        if (SizeGrip && !Themed(Canvas, teStatus, SP_GRIPPER, 0, grip)) {
            RECT rect = {grip.Left, grip.Top + 1, grip.Right, grip.Bottom - 1};
            DrawFrameControl(Canvas->Handle(), &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
        return;
    }
    if (skin.Type != sknSkin) {
        Fill(Canvas, R, clBtnFace);
        DrawFrameSkin(Canvas, R, 0, clBtnShadow, clWindow, clNone, clNone);
        if (SizeGrip) {
            RECT rect = {grip.Left, grip.Top + 1, grip.Right, grip.Bottom - 1};
            DrawFrameControl(Canvas->Handle(), &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
        return;
    }
    skin.Skin->PaintBackground(Canvas, R, skncStatusBar, sknsNormal, true, true, false);
    if (SizeGrip) {
        const TSbSkinOptionEntry* dots = skin.Skin->Options(skncStatusBarGrip)->Body();
        DrawGripDots(Canvas, {grip.Left + 2, grip.Top + 2, grip.Right - 1, grip.Bottom - 1}, dots->Color2,
                     dots->Color1);
    }
}

void PaintWindowCaption(TCanvas* Canvas, const TRect& R, bool Active) {
    TSkinInForce skin;
    if (skin.Type == sknWindows &&
        Themed(Canvas, teWindow, WP_SMALLCAPTION, Active ? CS_ACTIVE : CS_INACTIVE, R))
        return;
    if (skin.Type != sknSkin) {
        const TColor from = Active ? clActiveCaption : clInactiveCaption;
        const TColor to = Active ? clGradientActiveCaption : clGradientInactiveCaption;
        BOOL gradient = FALSE;
        SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
        if (gradient)
            DrawGradient(Canvas, R, 0, false, from, to, R.Right - R.Left - 1, R.Right - R.Left - 1);
        else
            Fill(Canvas, R, from);
        return;
    }
    skin.Skin->PaintBackground(Canvas, R, skncWindowTitleBar, Active ? sknsNormal : sknsDisabled, true, true,
                               false);
}

void PaintWindowFrame(TCanvas* Canvas, const TRect& R, int RingCount, bool Active) {
    TSkinInForce skin;
    if (skin.Type == sknWindows) {
        const int state = Active ? FS_ACTIVE : FS_INACTIVE;
        const bool left =
            Themed(Canvas, teWindow, WP_FRAMELEFT, state, {R.Left, R.Top, R.Left + RingCount, R.Bottom});
        if (left) {
            Themed(Canvas, teWindow, WP_FRAMERIGHT, state, {R.Right - RingCount, R.Top, R.Right, R.Bottom});
            Themed(Canvas, teWindow, WP_FRAMEBOTTOM, state,
                   {R.Left, R.Bottom - RingCount, R.Right, R.Bottom});
            return;
        }
    }
    if (skin.Type != sknSkin) {
        Edge(Canvas, R, EDGE_RAISED, BF_RECT);
        TRect inner = {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
        for (int ring = 2; ring < RingCount && !Empty(inner); ++ring) {
            const TColor brush = Canvas->Brush()->Color();
            Canvas->Brush()->SetColor(clBtnFace);
            Canvas->FrameRect(inner);
            Canvas->Brush()->SetColor(brush);
            inner = {inner.Left + 1, inner.Top + 1, inner.Right - 1, inner.Bottom - 1};
        }
        return;
    }
    skin.Skin->PaintWindowFrame(Canvas, R, RingCount, false);
}

namespace {

// What lies behind a bar: a docked bar shows its dock's own painting,
// continued to where the bar sits (the device context has its origin at the
// bar's window corner); a floating one the face colour, as its floating
// window paints nothing of its own; any other control its parent's
// background.
void PaintBehind(TControl* Control, TCanvas* Canvas, const TRect& R) {
    auto* bar = dynamic_cast<TBarCustomDockableWindow*>(Control);
    TBarDock* dock = bar ? bar->CurrentDock() : nullptr;
    if (bar && !dock) {
        Fill(Canvas, R, clBtnFace);
        return;
    }
    if (dock && bar->HandleAllocated() && dock->HandleAllocated()) {
        RECT window{};
        GetWindowRect(bar->Handle(), &window);
        POINT dockClient{0, 0};
        ::ClientToScreen(dock->Handle(), &dockClient);
        const int width = dock->Parent() ? dock->Parent()->ClientWidth() : dock->ClientWidth();
        const int height = dock->Parent() ? dock->Parent()->ClientHeight() : dock->ClientHeight();
        HDC dc = Canvas->Handle();
        TSaveDC saved(dc);
        IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
        dock->DrawBackground(dc, Bounds(dockClient.x - window.left - dock->Left(),
                                        dockClient.y - window.top - dock->Top(), width, height));
        return;
    }
    if (Control && Control->Parent())
        DrawParentBackground(Control, Canvas->Handle(), R);
    else
        Fill(Canvas, R, clBtnFace);
}

}  // namespace

void PaintDockBackground(TControl* Control, TCanvas* Canvas, const TRect& R, TSbSkinComponentsType Component,
                         bool Toolbar, bool VerticalBar) {
    // What lies behind comes first: a skin may give the bar no body, or
    // one that leaves its corners open, and an item repainted on its own
    // is erased into a fresh bitmap that holds nothing yet.
    PaintBehind(Control, Canvas, R);
    TSkinInForce skin;
    if (skin.Type == sknSkin) {
        skin.Skin->PaintBackground(Canvas, R, Component, sknsNormal, true, true, VerticalBar);
        return;
    }
    if (Toolbar) Edge(Canvas, R, BDR_RAISEDINNER, BF_RECT);
}

void PaintToolbarNC(TCanvas* Canvas, const TRect& Grip, const TRect& Close, bool VerticalBar,
                    TSbSkinStatesType CloseState) {
    TSkinInForce skin;
    if (!Empty(Grip)) {
        if (skin.Type == sknSkin) {
            // Colour 1 is the dark dot, colour 2 its light shadow.
            const TSbSkinOptionEntry* dots = skin.Skin->Options(skncToolbarGrip)->Body();
            DrawGripDots(Canvas, Grip, dots->Color2, dots->Color1);
        } else if (skin.Type != sknWindows ||
                   !Themed(Canvas, teRebar, VerticalBar ? RP_GRIPPERVERT : RP_GRIPPER, 0, Grip)) {
            // Two raised bars across the grip.
            const TRect first = VerticalBar ? TRect(Grip.Left, Grip.Top, Grip.Right, Grip.Top + 3)
                                            : TRect(Grip.Left, Grip.Top, Grip.Left + 3, Grip.Bottom);
            const TRect second = VerticalBar ? TRect(Grip.Left, Grip.Top + 3, Grip.Right, Grip.Top + 6)
                                             : TRect(Grip.Left + 3, Grip.Top, Grip.Left + 6, Grip.Bottom);
            Edge(Canvas, first, BDR_RAISEDINNER, BF_RECT);
            Edge(Canvas, second, BDR_RAISEDINNER, BF_RECT);
        }
    }
    if (Empty(Close)) return;
    TColor glyph = clBtnText;
    if (skin.Type == sknSkin) {
        skin.Skin->PaintBackground(Canvas, Close, skncToolbarItem, CloseState, true, true, VerticalBar);
        glyph = skin.Skin->GetTextColor(skncToolbarItem, CloseState);
    } else if (skin.Type != sknWindows ||
               !Themed(Canvas, teToolBar, TP_BUTTON, ToolbarButtonState(CloseState), Close)) {
        if (CloseState == sknsPushed)
            Edge(Canvas, Close, BDR_SUNKENOUTER, BF_RECT);
        else if (CloseState == sknsHotTrack)
            Edge(Canvas, Close, BDR_RAISEDINNER, BF_RECT);
    }
    DrawGlyphPattern(Canvas, Close, sgpClose, glyph);
}
