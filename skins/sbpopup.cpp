#include "skins/sbpopup.h"

#include <algorithm>

#include "skins/barpainters.h"
#include "skins/sbtoolbar.h"
#include "skins/sbviewer.h"
#include "skins/skinglyphs.h"
#include "skins/skinmanager.h"
#include "toolbar/barmodal.h"
#include "toolbar/barprint.h"
#include "toolbar/barwatch.h"

TBarPopupWindow* TSbCustomItem::CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                                  bool Customizing) {
    return Create<TSbPopupWindow>(nullptr, ParentView, Shown, Customizing);
}

TBarPopupWindow* TSbRootItem::CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                                bool Customizing) {
    return Create<TSbPopupWindow>(nullptr, ParentView, Shown, Customizing);
}

// ---- popup window ----------------------------------------------------------------------

TSbPopupWindow::TSbPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                               bool Customizing)
    : inherited(AOwner, ParentView, Item, Customizing), item_(Item) {}

void TSbPopupWindow::AfterConstruction() {
    inherited::AfterConstruction();
    if (auto* submenu = dynamic_cast<TSbSubmenuItem*>(item_)) IsToolbar = submenu->ToolbarStylePopup;
    for (int i = 0; i < View()->ViewerCount(); ++i)
        if (TCustomImageList* images = View()->Viewers(i)->GetImageList())
            maxImageWidth_ = std::max(maxImageWidth_, images->Width());
}

void TSbPopupWindow::BeforeDestruction() {
    TellItem(false);
    inherited::BeforeDestruction();
}

void TSbPopupWindow::TellItem(bool Showing) {
    if (auto* skinned = dynamic_cast<TSbCustomItem*>(item_))
        skinned->DoPopupShowingChanged(this, Showing);
    else if (auto* root = dynamic_cast<TSbRootItem*>(item_); root && Showing)
        root->DoPopupShowingChanged(View());
}

int TSbPopupWindow::GutterWidth() {
    if (IsToolbar) return 0;
    std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
    if (!skin) return 0;
    TSbMenuItemMargins margins;
    skin->GetMenuItemMargins(Canvas(), maxImageWidth_, margins);
    const TSize nc = GetNCSize();
    return nc.cx + margins.Left + margins.ItemHeight + margins.ImageGapLeft + margins.ImageGapRight;
}

void TSbPopupWindow::PaintPopup(HDC DC) {
    RECT window{};
    GetWindowRect(Handle(), &window);
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(DC);
    const TSize nc = GetNCSize();
    {
        TSaveDC saved(DC);
        const int w = window.right - window.left, h = window.bottom - window.top;
        ExcludeClipRect(DC, nc.cx, nc.cy, w - nc.cx, h - nc.cy);
        PaintPopupBackground(canvas.get(), TRect(0, 0, w, h), GutterWidth());
    }
    canvas->SetHandle(nullptr);
}

void TSbPopupWindow::PaintNC(HWND, HDC DC, void* AppData) {
    static_cast<TSbPopupWindow*>(AppData)->PaintPopup(DC);
}

void TSbPopupWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCPAINT: {
            if (CurrentSkinType() == sknNone) break;
            TNCPaintDC dc(Handle(), nullptr, reinterpret_cast<HRGN>(Message.WParam));
            PaintPopup(dc.Get());
            Message.Result = 0;
            return;
        }
        case WM_PRINT:
            if (CurrentSkinType() == sknNone) break;
            HandleWMPrint(Handle(), Message, &TSbPopupWindow::PaintNC, this);
            return;
        case WM_ERASEBKGND: {
            if (CurrentSkinType() != sknSkin) break;
            TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
            canvas->SetHandle(reinterpret_cast<HDC>(Message.WParam));
            const TSize nc = GetNCSize();
            PaintPopupBackground(canvas.get(),
                                 TRect(-nc.cx, -nc.cy, ClientWidth() + nc.cx, ClientHeight() + nc.cy),
                                 GutterWidth());
            canvas->SetHandle(nullptr);
            Message.Result = 1;
            return;
        }
        case CM_SHOWINGCHANGED: {
            const bool showing = Showing();
            inherited::WndProc(Message);
            if (showing) TellItem(true);
            return;
        }
        case CM_COLORCHANGED:
            // A chevron's popup of a bar that lists its hidden items down a
            // column looks like a menu, not like the bar.
            if (Color() == clBtnFace && View() && View()->ChevronParentView())
                if (auto* bar = dynamic_cast<TSbToolbar*>(View()->ChevronParentView()->Window());
                    bar && bar->ChevronVertical) {
                    SetColor(clMenu);
                    return;
                }
            break;
        case CM_HINTSHOW:
            if (View() && View()->Selected())
                if (auto* viewer = dynamic_cast<TSbItemViewer*>(View()->Selected()))
                    viewer->HintShow(*reinterpret_cast<THintInfo*>(Message.LParam));
            return;
        default:
            break;
    }
    inherited::WndProc(Message);
}

void TSbChevronPopupWindow::AfterConstruction() {
    inherited::AfterConstruction();
    IsToolbar = false;
}

// ---- chevron ------------------------------------------------------------------------------

TBarItemViewer* TSbChevronItem::CreateItemViewer(TBarView* View, int GroupLevel) {
    return Create<TSbChevronItemViewer>(View, this, GroupLevel);
}

TBarPopupWindow* TSbChevronItem::CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                                   bool Customizing) {
    return Create<TSbChevronPopupWindow>(nullptr, ParentView, Shown, Customizing);
}

void TSbChevronItemViewer::Paint(TCanvas* Canvas, const TRect& R, bool IsSelected, bool IsPushed, bool) {
    TSbItemPaintInfo info;
    info.State = TSbSkinOptions::GetState(Item()->Enabled(), IsPushed, IsSelected, false);
    info.OnMenuBar = (View()->Style() & vsMenuBar) != 0;
    info.SubmenuOpen = View()->OpenViewer() == this;
    info.VerticalBar = View()->Orientation() == boVertical;
    PaintItemBackground(Canvas, R, info);
    // Two small arrows, pointing along the bar, near its far end.
    const bool vertical = info.VerticalBar;
    auto glyph = [&](int DX, TColor Color) {
        const int x = vertical ? R.Left + 3 + DX : R.Left + (R.Width() - 7) / 2 + DX;
        const int y = vertical ? R.Top + (R.Height() - 7) / 2 + DX : R.Top + 4 + DX;
        for (int i = 0; i < 2; ++i)
            DrawArrow(Canvas, vertical ? x : x + 4 * i, vertical ? y + 4 * i : y, 2, vertical, false, Color);
    };
    if (!Item()->Enabled()) {
        glyph(1, clBtnHighlight);
        glyph(0, clBtnShadow);
        return;
    }
    TColor color = clBtnText;
    if (CurrentSkinType() == sknSkin)
        if (std::shared_ptr<TSbSkinOptions> skin = CurrentSkin())
            color = skin->GetTextColor(info.OnMenuBar ? skncMenuBarItem : skncToolbarItem, info.State);
    glyph(0, color);
}

// ---- popup menu ---------------------------------------------------------------------------

TBarRootItem* TSbPopupMenu::CreateRootItem() {
    return Create<TSbRootItem>(this);
}

void TSbPopupMenu::Popup(int X, int Y) {
    PopupEx(X, Y, false, nullptr);
}

TBarCustomItem* TSbPopupMenu::PopupEx(int X, int Y, bool ReturnClickedItemOnly, TControl* Control) {
    returnClickedItemOnly_ = ReturnClickedItemOnly;
    return InternalPopup(X, Y, Control);
}

namespace {
BOOL CALLBACK PostToChild(HWND Wnd, LPARAM Menu) {
    PostMessageW(Wnd, SM_POPUPMENUCLOSED, static_cast<WPARAM>(Menu), 0);
    return TRUE;
}
}  // namespace

TBarCustomItem* TSbPopupMenu::InternalPopup(int X, int Y, TControl* Control) {
    SetPopupPoint(TPoint(X, Y));
    // The control the menu belongs to stays visible: a menu that does not
    // fit below it opens above it.
    TRect keepClear(X, Y, X, Y);
    if (Control && Control->Parent()) {
        const TRect bounds = Control->BoundsRect();
        const TPoint topLeft = Control->Parent()->ClientToScreen({bounds.Left, bounds.Top});
        keepClear = TRect(topLeft.X, topLeft.Y, topLeft.X + bounds.Width(), topLeft.Y + bounds.Height());
    }
    TBarItemOptions options = Items()->Options();
    if (ToolBoxPopup)
        options.Include(tboToolbarStyle);
    else
        options.Exclude(tboToolbarStyle);
    Items()->SetOptions(options);
    // The control may go while the menu is open (a command can free it).
    TBarWatch<TControl> watch(Control);
    TBarCustomItem* chosen = PopupItem(Items(), X, Y, TrackButton() == tbRightButton,
                                       static_cast<BYTE>(Alignment()), returnClickedItemOnly_, &keepClear);
    if (auto* windowed = dynamic_cast<TWinControl*>(watch.Get()); windowed && windowed->HandleAllocated()) {
        const LPARAM self = reinterpret_cast<LPARAM>(this);
        PostMessageW(windowed->Handle(), SM_POPUPMENUCLOSED, static_cast<WPARAM>(self), 0);
        EnumChildWindows(windowed->Handle(), PostToChild, self);
    }
    return chosen;
}
