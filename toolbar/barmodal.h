// The modal menu loop: one message loop that owns the mouse capture while a
// chain of menus is open, feeds the views mouse, keys and timers, and ends
// as the root view's done-action says; plus the ways into it (a popup menu
// at a point, a toolbar entered by mouse or keyboard) and what runs after.
#pragma once

#include "toolbar/barpopup.h"

// Options of EnterToolbarLoop.
enum : unsigned { tbetMouseDown = 1, tbetExecuteSelected = 2, tbetFromMSAA = 4 };

class TBarModalHandler {
public:
    // ExistingWnd null: the handler makes a hidden window of its own.
    explicit TBarModalHandler(HWND ExistingWnd);
    ~TBarModalHandler();
    TBarModalHandler(const TBarModalHandler&) = delete;
    TBarModalHandler& operator=(const TBarModalHandler&) = delete;

    HWND Wnd() const { return wnd_; }
    // The outermost popup window while a popup menu runs.
    TBarPopupWindow* RootPopup = nullptr;

    void Loop(TBarView* RootView, bool InitialMouseDown, bool ExecuteSelectedAtStart, bool FromMSAA,
              bool TrackRightButton);

    // Handles WM_CANCELMODE sent to the loop's own window.
    void OwnWndProc(TMessage& Message);

private:
    void CancelChain();

    HWND wnd_ = nullptr;
    bool ownWnd_ = false;
    bool spareWnd_ = false;
    bool started_ = false;
    TBarView* rootView_ = nullptr;
};

// Opens Item's children as a popup menu at Point and runs the loop; the
// clicked item or null. Unless ReturnClickedItemOnly, the item's Click runs
// once the loop has unwound. KeepClear: see CreatePopup.
TBarCustomItem* PopupEx(TBarCustomItem* Item, bool SelectFirstItem, bool TrackRightButton, TPoint Point,
                        BYTE Alignment, bool ReturnClickedItemOnly, const TRect* KeepClear = nullptr);
TBarCustomItem* PopupItem(TBarCustomItem* Item, int X, int Y, bool TrackRightButton, BYTE Alignment,
                          bool ReturnClickedItemOnly, const TRect* KeepClear = nullptr);
// Runs the loop on a toolbar's view (options: tbet...).
void EnterToolbarLoop(TBarView* View, unsigned Options);
TBarCustomItem* ProcessDoneAction(const TBarDoneAction& DoneAction, bool ReturnClickedItemOnly);

// The one byte of a character in the input language's code page; 0 when it
// takes more than one, or none.
char BarAnsiChar(wchar_t Ch);

// The root view of the innermost running loop of the thread; null outside.
TBarView* RunningMenuLoopView();

// The last mouse position the loop saw; the marker when unknown.
inline constexpr LONG BarNoMousePos = static_cast<LONG>(0x80000000u);
