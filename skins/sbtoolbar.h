// `TSbToolbar`: the toolbar painted by the current skin, with a wide caption
// and hint, a display mode for image and caption, right-aligned and anchored
// items that keep their place when the bar is resized, and item
// notifications; and its view `TSbToolbarView` with a maximum item size.
#pragma once

#include <map>
#include <string>

#include "skins/sbdock.h"
#include "skins/sbhost.h"
#include "skins/sbitem.h"
#include "toolbar/bartoolbar.h"

class TSbToolbarView : public TBarMenuToolbarView {
    VX_CLASS(TSbToolbarView, TBarMenuToolbarView)
public:
    using TBarMenuToolbarView::TBarMenuToolbarView;
    // The largest item thickness, -1 when unset.
    int MaxItemSize = -1;

    TFont* GetFont() override;
};

using TSbItemNotificationEvent =
    TDelegate<void(TObject* Sender, TBarItemChangedAction Action, int Index, TBarCustomItem* Item)>;

class TSbToolbar : public TBarCustomToolbar, public ISbItemHost {
    VX_CLASS(TSbToolbar, TBarCustomToolbar)
public:
    explicit TSbToolbar(TComponent* AOwner);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    std::wstring Caption();
    void SetCaption(const std::wstring& Value);
    std::wstring Hint();
    void SetHint(const std::wstring& Value);
    bool ChevronVertical = true;
    bool Customizable = true;
    TSbToolbarDisplayMode DisplayMode() const { return displayMode_; }
    void SetDisplayMode(TSbToolbarDisplayMode Value);
    TSbDrawBackgroundEvent OnDrawBackground;
    TSbItemNotificationEvent OnItemNotification;
    TSbToolbarView* SkinnedView() const { return static_cast<TSbToolbarView*>(View()); }

    // Item host.
    bool IsSkinnedToolbar() override { return true; }
    TSbToolbarDisplayMode ItemDisplayMode() override { return displayMode_; }
    TColor GetItemTextColor(TSbSkinStatesType State) override;
    int MaxItemThickness() override;

    virtual void AnchorItems(bool UpdateControlItems);
    virtual void RightAlignItems();
    virtual void DrawBackground(HDC DC, const TRect& R);
    virtual void DoDrawBackground(TCanvas* Canvas, const TRect& R, TSbDrawStage2 Stage, bool& PaintDefault);
    virtual int GetRightAlignMargin() { return 0; }
    virtual bool CanItemClick(TBarItemViewer* Viewer);
    virtual void DoItemClick(TBarItemViewer* Viewer, TMouseButton Button);
    virtual void DoItemNotification(TBarItemChangedAction Action, int Index, TBarCustomItem* Item);

    // The dock changed size: right-aligned and anchored items follow.
    void DockResized();
    // Leaves the rectangles of control items out of the next repaint.
    void ValidateControlItems();
    void DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn) override;
    void WndProc(TMessage& Message) override;

    // Backgrounds painted so far (tests of the skin-change repaint).
    int PaintCount() const { return paintCount_; }

    // Publishes the wide caption and hint (once, from the items unit's start-up).
    static void PublishProperties();

protected:
    // Old forms' wide copies of the caption and hint are read and dropped.
    void DefineProperties(TFiler* Filer) override;
    TBarRootItem* CreateRootItem() override;
    TBarChevronItem* CreateChevronItem() override;
    TBarToolbarView* CreateToolbarView() override;
    TClass GetFloatingWindowParentClass() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    static void ItemsChanged(void* Data, TBarCustomItem* Sender, bool Relayed, TBarItemChangedAction Action,
                             int Index, TBarCustomItem* Item);
    void Resized();
    int DockExtent();

    // Stored width of a control item's control and the bar's length when it
    // was first seen.
    struct TControlCache {
        int Width;
        int BarLength;
    };
    std::map<TBarCustomItem*, TControlCache> itemCache_;
    TSbToolbarDisplayMode displayMode_ = tbdmSelectiveCaption;
    enum : unsigned { tsResizing = 1, tsAnchoring = 2, tsRightAligning = 4 };
    unsigned state_ = 0;
    int updateCount_ = 0;
    int storedLength_ = -1;
    int paintCount_ = 0;
    bool listening_ = false;
};
