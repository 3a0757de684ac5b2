// Views: the model of one window that shows one level of an item tree. A view
// keeps a viewer per shown item, lays them out, tracks the selection and the
// open child popup, turns keys, wheel and mouse into selection changes, and
// records in the root view how the menu loop must end.
#pragma once

#include <vector>

#include "classlib/core/component.h"
#include "classlib/graphics/canvas.h"
#include "classlib/graphics/colors.h"
#include "classlib/windows/controls.h"
#include "toolbar/baritem.h"
#include "toolbar/barlayout.h"
#include "toolbar/barviewer.h"

class TBarViewAccObject;

// How the menu loop ends; kept in the root view of a menu chain.
enum TBarDoneActionKind : unsigned char { tbdaNone, tbdaCancel, tbdaClickItem, tbdaOpenSystemMenu, tbdaHelp };
struct TBarDoneAction {
    TBarDoneActionKind Kind = tbdaNone;
    TBarCustomItem* ClickItem = nullptr;
    bool Sound = false;
    HWND Wnd = nullptr;
    WORD Key = 0;
    int ContextID = 0;
};

// View state bits.
enum : unsigned char {
    vsModal = 1 << 0,
    vsMouseInWindow = 1 << 1,
    vsDrawFirstTime = 1 << 2,
    vsOppositePopup = 1 << 3,
    vsIgnoreFirstMouseUp = 1 << 4,
    vsShowAccels = 1 << 5,
    vsDropDownMenus = 1 << 6,
    vsNoAnimation = 1 << 7,
};
// View style bits.
enum : unsigned char { vsMenuBar = 1 << 0, vsUseHiddenAccels = 1 << 1, vsAlwaysShowHints = 1 << 2 };

// Popup view timers (window timer id = BarViewTimerBase + number).
enum TBarViewTimer { tiOpen, tiClose, tiScrollUp, tiScrollDown };
inline constexpr UINT_PTR BarViewTimerBase = 9000;

class TBarView : public TComponent {
    VX_CLASS(TBarView, TComponent)
public:
    TBarView(TComponent* AOwner, TBarView* AParentView, TBarCustomItem* AParentItem, TWinControl* AWindow,
             bool AIsToolbar, bool ACustomizing, bool AUsePriorityList);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // Viewers.
    int ViewerCount() const { return static_cast<int>(viewers_.size()); }
    TBarItemViewer* Viewers(int Index) const { return viewers_[static_cast<size_t>(Index)]; }
    int IndexOf(const TBarItemViewer* Viewer) const;
    // The viewer of an item: Find raises when there is none, ViewerOf
    // answers null (for code that runs after handlers that may remove it).
    TBarItemViewer* Find(TBarCustomItem* Item);
    TBarItemViewer* ViewerOf(const TBarCustomItem* Item) const;
    TBarItemViewer* ViewerFromPoint(TPoint P);
    const std::vector<TBarItemViewer*>& PriorityList() const { return priorityList_; }
    void RecreateAllViewers();
    void SetUsePriorityList(bool Value);
    bool UsePriorityList() const { return usePriorityList_; }
    void GivePriority(TBarItemViewer* Viewer);
    int InternalViewersAtFront() const { return internalViewersAtFront_; }
    int InternalViewersAtEnd() const { return internalViewersAtEnd_; }

    // Layout.
    void BeginUpdate() { ++updateCounter_; }
    void EndUpdate();
    void ValidatePositions();
    void UpdatePositions(TSize& Size);
    TSize UpdatePositions();
    bool ValidPositions() const { return validPositions_; }
    // Lays out the viewers; with CanMoveControls the viewers and controls take
    // the result, else it is only a trial. True when anything changed.
    // AWidestLine: where the widest line ends.
    bool CalculatePositions(bool CanMoveControls, TBarOrientation AOrientation, int AWrapOffset,
                            int AChevronOffset, int AChevronSize, TSize& ABaseSize, TSize& ATotalSize,
                            int& AWrappedLines, int* AWidestLine = nullptr);
    TBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TBarOrientation Value);
    int WrapOffset() const { return wrapOffset_; }
    void SetWrapOffset(int Value);
    int ChevronOffset() const { return chevronOffset_; }
    void SetChevronParams(int AOffset, int ASize);
    int MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(int Value);
    int ScrollOffset() const { return scrollOffset_; }
    bool ShowUpArrow() const { return showUpArrow_; }
    bool ShowDownArrow() const { return showDownArrow_; }
    TSize BaseSize() const { return baseSize_; }
    // Lines of the last layout (1 when nothing wrapped).
    int WrappedLines() const { return wrappedLines_; }

    // Painting.
    void Invalidate(TBarItemViewer* Viewer);
    // Both viewers; one request to the system when they touch.
    void Invalidate(TBarItemViewer* A, TBarItemViewer* B);
    void DrawItem(TBarItemViewer* Viewer, TCanvas* Canvas, bool Offscreen);
    void DrawSubitems(TCanvas* Canvas);
    TColor BackgroundColor = static_cast<TColor>(0x20000000);

    // Selection and popups.
    TBarItemViewer* Selected() const { return selected_; }
    bool SelectedViaMouse() const { return selectedViaMouse_; }
    bool MouseOverSelected() const { return mouseOverSelected_; }
    TBarItemViewer* NextSelectable(TBarItemViewer* Current, bool GoForward);
    TBarItemViewer* FirstSelectable();
    void Select(TBarItemViewer* Viewer, bool ByMouse);
    void SelectNext(bool GoForward);
    void ScrollSelectedIntoView();
    void ExecuteSelected(bool AGivePriority);
    void UpdateSelection(const TPoint* P, bool AllowNewSelection);
    bool OpenChildPopup(bool SelectFirstItem);
    void CloseChildPopup();
    void CancelChildPopups();
    TBarItemViewer* OpenViewer() const { return openViewer_; }
    TBarView* OpenViewerView() const { return openViewerView_; }
    TWinControl* OpenViewerWindow() const { return openViewerWindow_; }
    bool Capture() const { return capture_; }
    void SetCapture(bool Value) { capture_ = Value; }
    void CancelCapture();
    bool Scroll(bool Down);

    // Keyboard and wheel.
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void MouseWheel(int WheelDelta, int X, int Y);
    TBarItemViewer* FindAccel(char Key, bool& IsOnlyItemWithAccel);
    void UpdateAccelerators(bool ForceShow);
    bool ShowAccelerators() const { return (state_ & vsShowAccels) != 0; }

    // Ending the menu loop (kept in the root view).
    void EndModal();
    void EndModalWithClick(TBarItemViewer* Viewer);
    void EndModalWithHelp(int AContextID);
    void EndModalWithSystemMenu(HWND AWnd, WORD AKey);
    TBarDoneAction& DoneAction() { return GetRootView()->doneAction_; }

    // Timers.
    void StartTimer(TBarViewTimer Timer, UINT Interval);
    void StopTimer(TBarViewTimer Timer);
    bool TimerRunning(TBarViewTimer Timer) const { return (activeTimers_ & (1u << Timer)) != 0; }
    void TimerFired(UINT_PTR Id);

    // Accessibility.
    LRESULT HandleGetObject(TMessage& Message, bool& Handled);
    IAccessible* GetAccObject();
    // The role accessibility clients get: menu popup, menu bar or toolbar.
    virtual int GetAccRole();
    void AccObjectGone() { accObject_ = nullptr; }
    void NotifyFocusEvent();

    // Relations and state.
    TBarView* ParentView() const { return parentView_; }
    TBarCustomItem* ParentItem() const { return parentItem_; }
    TBarCustomItem* CurParentItem() const { return curParentItem_; }
    TWinControl* Window() const { return window_; }
    bool IsToolbar() const { return isToolbar_; }
    bool IsPopup() const { return !isToolbar_; }
    bool Customizing() const { return customizing_; }
    TBarView* GetRootView();
    TBarView* GetParentToolbarView();
    bool IsAncestorOf(const TBarView* AView) const;
    TBarView* ChevronParentView() const { return chevronParentView_; }
    void SetChevronParentView(TBarView* Value) { chevronParentView_ = Value; }
    unsigned char State() const { return state_; }
    void SetState(unsigned char Bits, bool On);
    unsigned char Style() const { return style_; }
    void SetStyle(unsigned char Value) { style_ = Value; }
    bool NewViewersGetHighestPriority = true;
    // Scroll lines of a wheel notch; tests replace it.
    static int (*WheelScrollLines)();

    virtual void AutoSize(int AWidth, int AHeight);
    virtual void DoUpdatePositions(TSize& ASize);
    virtual TBarCustomItem* GetChevronItem() { return nullptr; }
    virtual TRect GetMargins(TBarOrientation AOrientation);
    virtual TBarCustomItem* GetTrailingGroupItem() { return nullptr; }
    virtual TBarCustomItem* GetLeadingItem() { return nullptr; }
    virtual TFont* GetFont();
    virtual void InvalidatePositions();

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // Opens Viewer's popup: its window (owned by this view until the popup
    // closes) and the view in it. Null: none opened. The popup code
    // overrides it.
    virtual TWinControl* CreateChildPopup(TBarItemViewer* Viewer, bool SelectFirstItem, TBarView*& PopupView);
    // Frees the window of a child popup.
    virtual void FreeChildPopup(TWinControl* Window);

private:
    static void ItemNotify(void* Data, TBarCustomItem* Sender, bool Relayed, TBarItemChangedAction Action,
                           int Index, TBarCustomItem* Item);
    static void ParentItemNotify(void* Data, TBarCustomItem* Sender, bool Relayed,
                                 TBarItemChangedAction Action, int Index, TBarCustomItem* Item);
    void LinkParentItem();
    int InsertItemViewers(int Index, TBarCustomItem* AItem, bool AddToPriorityList, bool InsertAtTop,
                          int AGroupLevel);
    void InsertItemViewersFor(TBarCustomItem* Sender, int Index);
    void DeletingItem(TBarCustomItem* AItem);
    void FreeViewer(TBarItemViewer* Viewer);
    void RecreateItemViewers(TBarCustomItem* AItem);
    void TryValidatePositions();
    void SubMenuImagesChanged();
    bool Repaintable(TBarItemViewer* Viewer);
    bool UseDisabledShadow(TBarItemViewer* Viewer, bool IsSelected);
    void RepaintNow();

    std::vector<TBarItemViewer*> viewers_;
    std::vector<TBarItemViewer*> priorityList_;
    unsigned activeTimers_ = 0;
    TSize baseSize_;
    bool capture_ = false;
    int chevronOffset_ = 0, chevronSize_ = 0;
    TBarView* chevronParentView_ = nullptr;
    TBarCustomItem* curParentItem_ = nullptr;
    bool customizing_;
    TBarDoneAction doneAction_;
    int internalViewersAtEnd_ = 0, internalViewersAtFront_ = 0;
    bool isToolbar_;
    int maxHeight_ = 0;
    bool mouseOverSelected_ = false;
    TBarItemViewer* openViewer_ = nullptr;
    TBarView* openViewerView_ = nullptr;
    TWinControl* openViewerWindow_ = nullptr;
    TBarView* parentView_;
    TBarCustomItem* parentItem_;
    TBarOrientation orientation_ = boHorizontal;
    int scrollOffset_ = 0;
    TBarItemViewer* selected_ = nullptr;
    bool selectedViaMouse_ = false;
    bool showDownArrow_ = false, showUpArrow_ = false;
    unsigned char state_ = vsDrawFirstTime;
    unsigned char style_ = 0;
    int updateCounter_ = 0;
    bool usePriorityList_;
    bool validPositions_ = false;
    int wheelAccumulator_ = 0;
    TWinControl* window_;
    int wrapOffset_ = 0;
    int wrappedLines_ = 0;
    TBarViewAccObject* accObject_ = nullptr;
};

class TBarPopupView : public TBarView {
    VX_CLASS(TBarPopupView, TBarView)
public:
    using TBarView::TBarView;
    void AutoSize(int AWidth, int AHeight) override;
};

class TBarToolbarView : public TBarView {
    VX_CLASS(TBarToolbarView, TBarView)
public:
    using TBarView::TBarView;
    TBarCustomItem* GetChevronItem() override { return chevronItem_; }
    // The toolbar hands over its chevron and extra items.
    void SetChevronItem(TBarCustomItem* Value) { chevronItem_ = Value; }
    void SetLeadingItem(TBarCustomItem* Value) { leadingItem_ = Value; }
    void SetTrailingGroupItem(TBarCustomItem* Value) { trailingGroupItem_ = Value; }
    TBarCustomItem* GetLeadingItem() override { return leadingItem_; }
    TBarCustomItem* GetTrailingGroupItem() override { return trailingGroupItem_; }
    // In a toolbar (bartoolbarview.cpp): the bar's minimums go into the
    // layout, and the bar takes the size of the result.
    void DoUpdatePositions(TSize& ASize) override;
    void AutoSize(int AWidth, int AHeight) override;
    void InvalidatePositions() override;

private:
    TBarCustomItem* chevronItem_ = nullptr;
    TBarCustomItem* leadingItem_ = nullptr;
    TBarCustomItem* trailingGroupItem_ = nullptr;
};
