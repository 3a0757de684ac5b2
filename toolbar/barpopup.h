// Popup windows: the top-level window of one open menu level with its frame,
// scroll arrows, animation and UI state; the views that open such windows for
// their submenus; `CreatePopup`; and the process's shared toolbar font.
#pragma once

#include "classlib/windows/controls.h"
#include "toolbar/barpopuppos.h"
#include "toolbar/barview.h"

// The menu font of the system, shared by toolbars and root popups. Made at
// start-up (or on first use) and freed at the last shutdown; the calls are
// counted.
void BarPopupStartup();
void BarPopupShutdown();
TFont* BarToolbarFont();
// Reads the system's menu font again (after a settings change).
void ReloadBarToolbarFont();
// The first popup sound of the process is played after its menu shows; this
// makes the next one count as the first again (tests).
void ResetFirstMenuPopupSound();

class TBarPopupWindow : public TCustomControl {
    VX_CLASS(TBarPopupWindow, TCustomControl)
public:
    TBarPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item, bool Customizing);
    void BeforeDestruction() override;

    TBarView* View() const { return view_; }
    BYTE AnimationDirection = 0;
    // The work area the popup was placed on; its submenus keep to it.
    TRect MonitorRect;
    bool HasMonitorRect = false;
    bool UIStateInitialised() const { return uiStateInitialised_; }

    virtual TSize GetNCSize() { return TSize{3, 3}; }
    // Also before the window exists: the frame is GetNCSize on every side.
    TRect ClientRect() override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWindowHandle() override;
    void Paint() override;
    virtual void PaintScrollArrows();
    virtual TBarView* CreateView(TBarView* ParentView, TBarCustomItem* Item, bool Customizing);

private:
    static void PaintFrame(HWND Wnd, HDC DC, void* AppData);
    void ShowingChanged();

    TBarView* view_ = nullptr;
    bool uiStateInitialised_ = false;
};

// Answers WM_GETOBJECT through View's accessibility object; false when the
// system offers none (the message then goes on to the default handling).
bool AnswerGetObject(TBarView* View, TMessage& Message);

// Answers CM_HINTSHOW for a window showing View: the hint of the viewer at
// the hint's cursor position (or the selected one), kept while the cursor
// stays on it. False when there is no such viewer.
bool AnswerHintShow(TBarView* View, TMessage& Message, bool UseSelected);

// A popup view whose submenus open in popup windows.
class TBarMenuPopupView : public TBarPopupView {
    VX_CLASS(TBarMenuPopupView, TBarPopupView)
public:
    using TBarPopupView::TBarPopupView;

protected:
    TWinControl* CreateChildPopup(TBarItemViewer* Viewer, bool SelectFirstItem,
                                  TBarView*& PopupView) override;
};

// A toolbar view whose drop-downs open in popup windows.
class TBarMenuToolbarView : public TBarToolbarView {
    VX_CLASS(TBarMenuToolbarView, TBarToolbarView)
public:
    using TBarToolbarView::TBarToolbarView;

protected:
    TWinControl* CreateChildPopup(TBarItemViewer* Viewer, bool SelectFirstItem,
                                  TBarView*& PopupView) override;
};

// Opens the popup of Item: its OnPopup first, then a window placed beside
// ParentViewer of ParentView (or at APopupPoint without a parent view) and
// shown. Null when OnPopup took the item away, hid or disabled it.
// KeepClear (screen coordinates, only without a parent view) stands for the
// parent item: a popup that does not fit below it opens above it.
TBarPopupWindow* CreatePopup(TBarCustomItem* Item, TBarView* ParentView, TBarItemViewer* ParentViewer,
                             bool PositionAsSubmenu, bool SelectFirstItem, bool Customizing,
                             TPoint APopupPoint, BYTE Alignment, const TRect* KeepClear = nullptr);

// Places PopupWindow (whose size is in Rec) for ParentView.
void GetPopupPosition(TBarView* ParentView, TBarPopupWindow* PopupWindow, TBarPopupPositionRec& Rec);
