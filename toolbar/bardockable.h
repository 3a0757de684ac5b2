// `TBarCustomDockableWindow`: the base of every bar that sits on a dock or
// floats in its own tool window. It draws its docked frame (border, drag
// handle, close button), switches between docked, floating and plain child
// while keeping its window, runs the drag, size and close-button loops, and
// keeps floating bars shown or hidden with their form.
#pragma once

#include <functional>
#include <string>

#include "classlib/windows/forms.h"
#include "toolbar/bararrange.h"
#include "toolbar/bardock.h"
#include "toolbar/barhook.h"

class TBarFloatingWindowParent;
class TReader;
class TWriter;

enum TBarDockMode { dmCanFloat, dmCannotFloat, dmCannotFloatOrChangeDocks };
enum TBarFloatingMode { fmOnTopOfParentForm, fmOnTopOfAllForms };
enum TBarDragHandleStyle { dhDouble, dhNone, dhSingle };
using TBarDockableTo = TSet<TBarDockPosition>;
using TBarDockChangingEvent = TDelegate<void(TObject* Sender, bool Floating, TBarDock* DockingTo)>;

// Non-client hit codes of the framework.
constexpr int HT_BAR_DRAGHANDLE = 2000;
constexpr int HT_BAR_CLOSEBUTTON = 2001;
constexpr int HT_BAR_CAPTION = 2002;

// The first visible, enabled window of this thread other than Except and the
// application window (tool windows only when nothing else is found): where
// activation goes when a bar's window must not keep it.
HWND BarNextActivationTarget(HWND Except);

class TBarCustomDockableWindow : public TCustomControl {
    VX_CLASS(TBarCustomDockableWindow, TCustomControl)
public:
    explicit TBarCustomDockableWindow(TComponent* AOwner);
    void BeforeDestruction() override;
    ~TBarCustomDockableWindow() override;

    // --- docking properties
    bool ActivateParent() const { return activateParent_; }
    void SetActivateParent(bool Value) { activateParent_ = Value; }
    bool AutoResize() const { return autoResize_; }
    void SetAutoResize(bool Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    bool CloseButton() const { return closeButton_; }
    void SetCloseButton(bool Value);
    bool CloseButtonWhenDocked() const { return closeButtonWhenDocked_; }
    void SetCloseButtonWhenDocked(bool Value);
    TBarDock* CurrentDock() const { return currentDock_; }
    // Null floats the bar.
    void SetCurrentDock(TBarDock* Value);
    TBarDock* DefaultDock() const { return defaultDock_; }
    void SetDefaultDock(TBarDock* Value);
    TBarDockableTo DockableTo() const { return dockableTo_; }
    void SetDockableTo(TBarDockableTo Value) { dockableTo_ = Value; }
    TBarDockMode DockMode() const { return dockMode_; }
    void SetDockMode(TBarDockMode Value) { dockMode_ = Value; }
    int DockPos() const { return dockPos_; }
    void SetDockPos(int Value);
    int DockRow() const { return dockRow_; }
    void SetDockRow(int Value);
    TBarDragHandleStyle DragHandleStyle() const { return dragHandleStyle_; }
    void SetDragHandleStyle(TBarDragHandleStyle Value);
    TBarFloatingMode FloatingMode() const { return floatingMode_; }
    void SetFloatingMode(TBarFloatingMode Value);
    bool FullSize() const { return fullSize_; }
    void SetFullSize(bool Value);
    bool HideWhenInactive() const { return hideWhenInactive_; }
    void SetHideWhenInactive(bool Value);
    TBarDock* LastDock() const { return lastDock_; }
    void SetLastDock(TBarDock* Value);
    bool Resizable() const { return resizable_; }
    void SetResizable(bool Value);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool Value);
    bool SmoothDrag() const { return smoothDrag_; }
    void SetSmoothDrag(bool Value) { smoothDrag_ = Value; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);
    bool UseLastDock() const { return useLastDock_; }
    void SetUseLastDock(bool Value);

    bool Docked() const { return currentDock_ != nullptr; }
    bool Floating() const { return floating_; }
    // EInvalidOperation "Control '%s' has no parent window" without a form.
    void SetFloating(bool Value);
    TPoint FloatingPosition() const { return floatingPosition_; }
    void SetFloatingPosition(TPoint Value);
    TBarFloatingWindowParent* FloatingWindowParent() const { return floatParent_; }
    // The form the bar belongs to, also while it floats.
    TCustomForm* BarParentForm() const;

    // Read from "SavedAtRunTime": the bar was saved by the running program.
    bool LoadedAtRunTime() const { return savedAtRunTime_; }

    // Where the last arrangement put the bar (-1: not placed).
    int EffectiveRow() const { return effectiveRow_; }
    int EffectivePos() const { return effectivePos_; }

    TNotifyEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDockChanged;
    TBarDockChangingEvent OnDockChanging;
    TBarDockChangingEvent OnDockChangingHidden;
    TNotifyEvent OnMove;
    TNotifyEvent OnRecreated;
    TNotifyEvent OnRecreating;
    TNotifyEvent OnVisibleChanged;

    // --- content
    void BeginUpdate();
    void EndUpdate();
    // Lays the content out and sizes the bar (or has the dock do it).
    void Arrange();
    // The content laid itself out anew and wants NewSize (client size): an
    // auto-sized bar follows. A docked bar has the dock arrange again when
    // BaseSizeChanged. While an arrangement is sizing the bar, a changed base
    // size is kept for when that arrangement is over.
    void ContentResized(TSize NewSize, bool BaseSizeChanged);
    void MoveOnScreen(bool OnlyIfFullyOffscreen);
    void ChangeSize(int AWidth, int AHeight);
    // Hides the bar when OnCloseQuery allows; fires OnClose.
    void Close();
    // Docked bar floats, floating bar docks (LastDock, else DefaultDock).
    void DoubleClickToggle();

    // --- docked frame
    virtual void GetDockedNCAreaSize(TSize& Size);
    int GetNonClientWidth();
    int GetNonClientHeight();
    virtual bool CanDockTo(TBarDock* ADock);
    virtual TRect GetDockedCloseButtonRect(bool LeftRight);
    virtual void GetFloatingBorderSize(TSize& Size);
    int DragHandleSize() const;
    // Paints the docked frame into DC (a window DC, or a DC given for WM_PRINT).
    virtual void DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn);

    // --- what descendants fill in
    virtual bool IsPointOverControl(TPoint P);
    // Lays the content out for DockType and answers the client size it needs.
    virtual void DoArrange(bool CanMoveControls, TBarDockType DockType, TSize& NewSize, TBarDock* ADock) = 0;
    virtual void GetBaseSize(TSize& Size) = 0;
    virtual void GetMinShrinkSize(int& Size) { (void)Size; }
    virtual void GetMinMaxSize(int& MinClientWidth, int& MinClientHeight, int& MaxClientWidth,
                               int& MaxClientHeight);
    virtual TBarShrinkMode GetShrinkMode() { return tbsmNone; }
    virtual void SizeChanging(int AWidth, int AHeight) {
        (void)AWidth;
        (void)AHeight;
    }
    // The arranged length along the row (0: full size).
    int ArrangedSize() const { return arrangedSize_; }

    // --- loops (also started by mouse messages)
    void BeginMoving(int InitX, int InitY);
    void BeginSizing(int Corner);
    // Tracks a press on a button rectangle (screen coordinates) with the
    // mouse captured by CaptureWindow; true when released inside it.
    bool TrackButton(HWND CaptureWindow, const TRect& ScreenRect, bool& Pressed,
                     const std::function<void()>& Redraw);

    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;

    // Re-evaluates whether the floating window should show (and its owner,
    // Z order and caption).
    void UpdateVisibility();
    bool InactiveCaption() const { return inactiveCaption_; }
    bool CornerSizing() const { return cornerSizing_; }
    bool ClipCursorWhileSizing() const { return clipCursorWhileSizing_; }
    bool CloseButtonPressed() const { return closeButtonPressed_; }
    bool CloseButtonHot() const { return closeButtonHot_; }

protected:
    void CreateParams(TCreateParams& Params) override;
    // "SavedAtRunTime": a bar saved by the running program, not a designer.
    void DefineProperties(TFiler* Filer) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual TClass GetFloatingWindowParentClass();
    virtual void DoDockChanging(bool IsFloating, TBarDock* DockingTo);
    virtual void SizeBegin() {}
    virtual void SizeEnd() {}
    virtual void SizeChangingRect(TRect& ProposedRect) { (void)ProposedRect; }
    virtual void FloatingSizeChanging(int AWidth, int AHeight) {
        (void)AWidth;
        (void)AHeight;
    }
    virtual void ReadPositionData() {}
    virtual void WritePositionData() {}
    // An arrangement (the bar's own or its dock's) is sizing the bar.
    bool Arranging() const { return arranging_ > 0; }
    // The dock has just sized the bar and lays its content out next.
    bool RelayoutPending() const { return relayoutAfterSizing_; }
    // The length the dock gave the bar serves one arrangement only.
    void ForgetArrangedSize() { arrangedSize_ = 0; }

private:
    friend class TBarDock;
    friend class TBarFloatingWindowParent;
    friend class TBarMoveLoop;
    void ReadSavedAtRunTime(TReader* Reader);
    void WriteSavedAtRunTime(TWriter* Writer);
    static void FloatingHookProc(THookMessageKind Kind, HWND Wnd, WPARAM WParam, LPARAM LParam);
    void JoinFloatingList(bool Join);
    void UpdateCaptionState();
    void PlaceFloatingWindow();
    void RecalcFrame();
    void ArrangeDock();
    void ApplyArrangedSize(TSize NewSize);
    void PlaceAboveOwner(HWND Window, HWND Owner);
    void CreateFloatingParent(TCustomForm* Form);
    void FreeFloatingParent();
    void RedrawNC();
    void PaintDockBackground(HDC DC);
    void RepaintThroughMemory();
    static void PaintNC(HWND Wnd, HDC DC, void* AppData);

    bool activateParent_ = true;
    bool autoResize_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    bool closeButton_ = true;
    bool closeButtonWhenDocked_ = false;
    TBarDock* currentDock_ = nullptr;
    TBarDock* defaultDock_ = nullptr;
    TBarDock* lastDock_ = nullptr;
    TBarDockableTo dockableTo_{dpTop, dpBottom, dpLeft, dpRight};
    TBarDockMode dockMode_ = dmCanFloat;
    int dockPos_ = -1;
    int dockRow_ = 0;
    TBarDragHandleStyle dragHandleStyle_ = dhSingle;
    TBarFloatingMode floatingMode_ = fmOnTopOfParentForm;
    bool fullSize_ = false;
    bool hideWhenInactive_ = true;
    bool resizable_ = true;
    bool showCaption_ = true;
    bool smoothDrag_ = true;
    bool stretch_ = false;
    bool useLastDock_ = true;

    bool floating_ = false;
    TBarFloatingWindowParent* floatParent_ = nullptr;
    // The move loop keeps a floating window it made for reuse.
    bool holdFloatParent_ = false;
    TPoint floatingPosition_;
    bool savedAtRunTime_ = false;
    int effectiveRow_ = -1;
    int effectivePos_ = 0;
    int arrangedSize_ = 0;
    int rowThickness_ = 0;
    int updateCount_ = 0;
    bool arrangeNeeded_ = false;
    int arranging_ = 0;
    int hideCount_ = 0;
    int dockChangeCount_ = 0;
    bool closeButtonPressed_ = false;
    bool closeButtonHot_ = false;
    bool inactiveCaption_ = false;
    bool cornerSizing_ = true;
    bool clipCursorWhileSizing_ = true;
    bool doubleClickUndock_ = true;
    // Drag state read by the dock's arrangement.
    bool needsOwnRow_ = false;
    bool dragging_ = false;
    bool keepsListIndex_ = false;
    bool splitsRow_ = false;
    bool relayoutAfterSizing_ = false;
    // The content's base size changed while an arrangement was sizing the bar.
    bool changedWhileArranging_ = false;
    int followingChange_ = 0;
};
