// Skinned popups: the popup window painted by the skin with its image
// gutter, the chevron item with its viewer and popup, and `TSbPopupMenu`
// with `PopupEx` and `InternalPopup`.
#pragma once

#include "skins/sbhost.h"
#include "skins/sbitem.h"
#include "toolbar/barpopup.h"
#include "toolbar/barpopupmenu.h"

// Posted to a windowed control (and its children) after a skinned popup
// menu opened for it closed.
constexpr UINT SM_POPUPMENUCLOSED = 0xB457;

class TSbPopupWindow : public TBarPopupWindow, public ISbItemHost {
    VX_CLASS(TSbPopupWindow, TBarPopupWindow)
public:
    TSbPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item, bool Customizing);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // The view shows a toolbar-style popup.
    bool IsToolbar = false;
    int GutterImageSize() override { return maxImageWidth_; }
    // The image column at the left of the window (0 in toolbar-style popups).
    int GutterWidth();
    void WndProc(TMessage& Message) override;

protected:
    void PaintPopup(HDC DC);

private:
    static void PaintNC(HWND Wnd, HDC DC, void* AppData);
    void TellItem(bool Showing);

    TBarCustomItem* item_;
    int maxImageWidth_ = 0;
};

class TSbChevronPopupWindow : public TSbPopupWindow {
    VX_CLASS(TSbChevronPopupWindow, TSbPopupWindow)
public:
    using TSbPopupWindow::TSbPopupWindow;
    void AfterConstruction() override;
};

class TSbChevronItem : public TBarChevronItem {
    VX_CLASS(TSbChevronItem, TBarChevronItem)
public:
    using TBarChevronItem::TBarChevronItem;
    TBarItemViewer* CreateItemViewer(TBarView* View, int GroupLevel) override;
    TBarPopupWindow* CreatePopupWindow(TBarView* ParentView, TBarCustomItem* Shown,
                                       bool Customizing) override;
};

class TSbChevronItemViewer : public TBarChevronItemViewer {
    VX_CLASS(TSbChevronItemViewer, TBarChevronItemViewer)
public:
    using TBarChevronItemViewer::TBarChevronItemViewer;
    void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
               bool UseDisabledShadow) override;
};

using TSbPopupMenuInitEvent = TSbPopupViewEvent;

class TSbPopupMenu : public TBarPopupMenu {
    VX_CLASS(TSbPopupMenu, TBarPopupMenu)
public:
    using TBarPopupMenu::TBarPopupMenu;

    bool ToolBoxPopup = false;
    TSbRootItem* SkinnedItems() const { return static_cast<TSbRootItem*>(Items()); }

    void Popup(int X, int Y) override;
    // Opens the menu at (X, Y), keeping Control's bounds clear, and answers
    // the item chosen (with ReturnClickedItemOnly the item is not clicked).
    virtual TBarCustomItem* PopupEx(int X, int Y, bool ReturnClickedItemOnly, TControl* Control);

protected:
    TBarRootItem* CreateRootItem() override;
    virtual TBarCustomItem* InternalPopup(int X, int Y, TControl* Control);

private:
    bool returnClickedItemOnly_ = false;
};
