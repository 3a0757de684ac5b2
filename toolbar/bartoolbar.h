// `TBarCustomToolbar`: the dockable bar that shows an item tree. It lays the
// items out for where it sits (docked, floating or a plain child), turns
// presses and accelerator keys into the menu loop, can serve as a form's
// menu bar, hides what does not fit behind a chevron, and keeps items for
// controls placed on it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolbar/bardockable.h"
#include "toolbar/barfloatsizes.h"
#include "toolbar/baritem.h"
#include "toolbar/barpopup.h"

enum TBarChevronPriorityForNewItems { tbcpHighest, tbcpLowest };
using TBarShortCutEvent = TDelegate<void(TMessage& Message, bool& Handled)>;

inline constexpr int BarChevronSize = 12;

class TBarCustomToolbar : public TBarCustomDockableWindow, public ITBItemContainer {
    VX_CLASS(TBarCustomToolbar, TBarCustomDockableWindow)
public:
    explicit TBarCustomToolbar(TComponent* AOwner);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    TBarRootItem* Items() const { return items_; }
    TBarCustomItem* GetItems() override { return items_; }
    TBarChevronItem* ChevronItem() const { return chevronItem_; }
    TBarToolbarView* View() const { return view_; }

    bool ChevronMoveItems() const { return chevronMoveItems_; }
    void SetChevronMoveItems(bool Value);
    TBarChevronPriorityForNewItems ChevronPriorityForNewItems() const { return chevronPriority_; }
    void SetChevronPriorityForNewItems(TBarChevronPriorityForNewItems Value);
    std::string ChevronHint() const { return chevronItem_->Hint(); }
    void SetChevronHint(const std::string& Value);
    int FloatRightX() const { return floatRightX_; }
    void SetFloatRightX(int Value);
    bool MenuBar() const { return menuBar_; }
    void SetMenuBar(bool Value);
    bool ProcessShortCuts() const { return processShortCuts_; }
    void SetProcessShortCuts(bool Value);
    TBarShrinkMode ShrinkMode() const { return shrinkMode_; }
    void SetShrinkMode(TBarShrinkMode Value);
    bool SystemFont() const { return systemFont_; }
    void SetSystemFont(bool Value);
    bool UpdateActions = true;
    TCustomImageList* Images() const { return items_->SubMenuImages(); }
    void SetImages(TCustomImageList* Value) { items_->SetSubMenuImages(Value); }
    TBarCustomItem* LinkSubitems() const { return items_->LinkSubitems(); }
    void SetLinkSubitems(TBarCustomItem* Value) { items_->SetLinkSubitems(Value); }
    TBarItemOptions Options() const { return items_->Options(); }
    void SetOptions(TBarItemOptions Value) { items_->SetOptions(Value); }
    int WrappedLines() const { return wrappedLines_; }
    TSize BaseSize() const { return baseSize_; }
    bool InMouseDownLoop() const { return inMouseDownLoop_; }
    bool MainWindowHookInstalled() const { return mainWindowHookInstalled_; }

    TBarShortCutEvent OnShortCut;

    // Opens the bar by keyboard: Key 0 selects the first item; else the
    // item with that accelerator. True when the menu loop ran.
    bool KeyboardOpen(char Key, bool RequirePrimaryAccel);
    bool IsShortCut(TMessage& Message);
    // Whether the bar takes this WM_SYSCOMMAND (non-zero answer).
    LRESULT SysCommand(WPARAM CmdType, LPARAM Key);

    // The sizes a floating resize offers (built at SizeBegin, freed at SizeEnd).
    const std::vector<TBarFloatSize>& FloatSizes() const { return floatSizes_; }
    // Builds the list as a resize would.
    std::vector<TBarFloatSize> BuildFloatSizes();

    // Dockable window
    void DoArrange(bool CanMoveControls, TBarDockType DockType, TSize& NewSize, TBarDock* ADock) override;
    void GetBaseSize(TSize& Size) override;
    void GetMinShrinkSize(int& Size) override;
    TBarShrinkMode GetShrinkMode() override { return shrinkMode_; }
    bool IsPointOverControl(TPoint P) override;
    void InitiateAction() override;
    void Loaded() override;
    // Controls whose items the layout put off the edge are left out.
    void GetTabOrderList(std::vector<TWinControl*>& List) override;
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    void SizeBegin() override;
    void SizeEnd() override;
    void SizeChangingRect(TRect& ProposedRect) override;
    void FloatingSizeChanging(int AWidth, int AHeight) override;
    // Child controls moved or the bar was resized from outside: arrange,
    // unless the layout itself is moving them.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    virtual TBarRootItem* CreateRootItem();
    virtual TBarChevronItem* CreateChevronItem();
    virtual TBarToolbarView* CreateToolbarView();

private:
    void UpdateViewProperties();
    // Around every layout of the view: the minimums of the total size go in
    // first; afterwards the bar keeps the line count and follows the size.
    friend class TBarToolbarView;
    void LayoutMinimums(TSize& Size);
    void LaidOut(const TSize& Size, TSize OldBaseSize);
    void ChevronOffsetFor(TBarDock* ADock, TBarDockType DockType, int& Wrap, int& Chevron);
    void ClearHotViewer();
    void AddControlItem(TControl* Control);
    void RemoveControlItems(TControl* Control);
    void UpdateMainWindowHook();
    static void MenuBarGetMessageHook(THookMessageKind Kind, HWND Wnd, WPARAM WParam, LPARAM LParam);

    TBarRootItem* items_ = nullptr;
    TBarChevronItem* chevronItem_ = nullptr;
    TBarToolbarView* view_ = nullptr;
    TSize baseSize_;
    bool chevronMoveItems_ = true;
    TBarChevronPriorityForNewItems chevronPriority_ = tbcpHighest;
    int floatRightX_ = 0;
    bool inMouseDownLoop_ = false;
    int wrappedLines_ = 0;
    // Raised while the view computes positions.
    int viewArranging_ = 0;
    // The client size the last layout produced.
    TSize laidOutSize_;
    bool menuBar_ = false;
    bool processShortCuts_ = false;
    bool mainWindowHookInstalled_ = false;
    TBarShrinkMode shrinkMode_ = tbsmChevron;
    bool systemFont_ = true;
    std::vector<TBarFloatSize> floatSizes_;
    TRect sizeStartRect_;
    int snapDistance_ = 0;

    friend void InstallMainWindowHook(TBarCustomToolbar*);
    friend void UninstallMainWindowHook(TBarCustomToolbar*);
};
