#include "toolbar/barmodal.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/services/soundservice.h"
#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/hintmanager.h"
#include "classlib/windows/hints.h"
#include "toolbar/baracc.h"
#include "toolbar/barclickqueue.h"
#include "toolbar/barsystem.h"
#include "toolbar/barwatch.h"

namespace {

using TLockSetForegroundWindow = BOOL(WINAPI*)(UINT);
using TImmGetVirtualKey = UINT(WINAPI*)(HWND);

TLockSetForegroundWindow LockForeground() {
    static const auto proc = reinterpret_cast<TLockSetForegroundWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "LockSetForegroundWindow")));
    return proc;
}

UINT ImmVirtualKey(HWND Wnd) {
    static HMODULE imm = LoadLibraryW(L"imm32.dll");
    static const auto proc = imm ? reinterpret_cast<TImmGetVirtualKey>(
                                       reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetVirtualKey")))
                                 : nullptr;
    return proc ? proc(Wnd) : VK_PROCESSKEY;
}

TPoint LastMousePos{BarNoMousePos, BarNoMousePos};
thread_local TBarView* RunningRoot = nullptr;

// Loading a system cursor is several server requests under Wine; the loop
// sets the arrow at every mouse move.
HCURSOR ArrowCursor() {
    static const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    return arrow;
}

// The thread's hidden window for menu loops, made at its first menu, lent
// to one loop at a time and freed when the thread ends: a window made for
// each menu costs under Wine about a fifth of opening the menu. A loop that
// runs inside another makes a window of its own.
struct TSpareLoopWindow {
    HWND wnd = nullptr;
    TBarModalHandler* user = nullptr;
    void WndProc(TMessage& Message) {
        if (user)
            user->OwnWndProc(Message);
        else
            Message.Result = DefWindowProcW(wnd, Message.Msg, Message.WParam, Message.LParam);
    }
    ~TSpareLoopWindow() { DeallocateHWnd(std::exchange(wnd, nullptr)); }
};
thread_local TSpareLoopWindow SpareLoopWindow;

// The views of the chain from the root to the deepest open popup.
std::vector<TBarView*> Chain(TBarView* Root) {
    std::vector<TBarView*> views;
    for (TBarView* v = Root; v; v = v->OpenViewerView()) views.push_back(v);
    return views;
}

bool WindowContains(TBarView* View, POINT Pt) {
    if (!View->Window() || !View->Window()->HandleAllocated()) return false;
    RECT r;
    GetWindowRect(View->Window()->Handle(), &r);
    return PtInRect(&r, Pt) != FALSE;
}

bool ClientContains(TBarView* View, POINT Pt) {
    HWND wnd = View->Window()->Handle();
    ScreenToClient(wnd, &Pt);
    RECT r;
    GetClientRect(wnd, &r);
    return PtInRect(&r, Pt) != FALSE;
}

TPoint ToClient(TBarView* View, POINT Pt) {
    if (View->Window() && View->Window()->HandleAllocated()) ScreenToClient(View->Window()->Handle(), &Pt);
    return TPoint(Pt.x, Pt.y);
}

// The view of the chain under the screen point, deepest first.
TBarView* ViewAt(TBarView* Root, POINT Pt) {
    const std::vector<TBarView*> views = Chain(Root);
    for (auto it = views.rbegin(); it != views.rend(); ++it)
        if (WindowContains(*it, Pt)) return *it;
    return nullptr;
}

void UpdateSelections(TBarView* Root, POINT Pt) {
    for (TBarView* v = Root; v;) {
        const TPoint p = ToClient(v, Pt);
        v->UpdateSelection(&p, true);
        if (v->Capture()) break;
        v = v->OpenViewerView();
    }
}

// Whether the loop's window still has the capture and Active is still the
// active window: one request to the server for both.
bool StillModal(HWND CaptureWnd, HWND Active) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info)) return false;
    return info.hwndCapture == CaptureWnd && info.hwndActive == Active;
}

// A press that the loop does not take: it ends the loop and is left queued
// for the window under it.
bool PressEndsLoop(TBarView* Root, const MSG& Msg) {
    if (Msg.message != WM_LBUTTONDOWN && Msg.message != WM_RBUTTONDOWN) return false;
    TBarView* view = ViewAt(Root, Msg.pt);
    if (!view) return true;
    if (view != Root || !Root->IsToolbar()) return false;
    if (!ClientContains(Root, Msg.pt)) return true;
    if (Msg.message != WM_LBUTTONDOWN) return false;
    TBarItemViewer* viewer = Root->ViewerFromPoint(ToClient(Root, Msg.pt));
    return !viewer || viewer != Root->Selected() || (viewer->Item()->ItemStyle() & isfClicksTransparent);
}

// Whether a view of the chain tracks a press whose button is up again with
// no mouse message left for this thread: the release went to the window that
// was under the cursor, as when the whole click was queued before the loop
// took the capture. Physical buttons: the logical left one is the right one
// when they are swapped.
bool PressReleasedElsewhere(TBarView* Root, bool TrackRightButton) {
    const std::vector<TBarView*> views = Chain(Root);
    if (std::none_of(views.begin(), views.end(), [](TBarView* v) { return v->Capture(); })) return false;
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    const auto down = [](int Vk) { return GetAsyncKeyState(Vk) < 0; };
    if (down(swapped ? VK_RBUTTON : VK_LBUTTON) ||
        (TrackRightButton && down(swapped ? VK_LBUTTON : VK_RBUTTON)))
        return false;
    MSG pending;
    return !PeekMessageW(&pending, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE | PM_NOYIELD);
}

// Gives back a press that ends the loop but was already taken off the queue.
// One that came to the capture window goes where it would have gone with
// no capture: to the window under it, on its client or frame.
void RepostPress(const MSG& Msg, HWND CaptureWnd) {
    if (Msg.hwnd != CaptureWnd) {
        PostMessageW(Msg.hwnd, Msg.message, Msg.wParam, Msg.lParam);
        return;
    }
    HWND target = WindowFromPoint(Msg.pt);
    if (!target) return;
    const LPARAM screen = MAKELPARAM(Msg.pt.x, Msg.pt.y);
    DWORD_PTR hit = HTCLIENT;
    if (!SendMessageTimeoutW(target, WM_NCHITTEST, 0, screen, SMTO_ABORTIFHUNG, 200, &hit)) hit = HTCLIENT;
    if (hit == HTCLIENT) {
        POINT client = Msg.pt;
        ScreenToClient(target, &client);
        PostMessageW(target, Msg.message, Msg.wParam, MAKELPARAM(client.x, client.y));
    } else {
        PostMessageW(target, Msg.message == WM_LBUTTONDOWN ? WM_NCLBUTTONDOWN : WM_NCRBUTTONDOWN, hit,
                     screen);
    }
}

}  // namespace

char BarAnsiChar(wchar_t Ch) {
    if (Ch < 0x80) return static_cast<char>(Ch);
    UINT codePage = GetInputLocaleCodePage();
    if (codePage == 0) codePage = CP_ACP;
    char out[4];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(codePage, 0, &Ch, 1, out, sizeof out, nullptr, &usedDefault);
    return n == 1 && !usedDefault ? out[0] : 0;
}

TBarView* RunningMenuLoopView() {
    return RunningRoot;
}

// ---- the handler --------------------------------------------------------------------------------

TBarModalHandler::TBarModalHandler(HWND ExistingWnd) {
    // Where the cursor is now: the move that SetCapture sends must not
    // count as the user's (a menu opened by key would lose its selection).
    POINT cursor{};
    GetCursorPos(&cursor);
    LastMousePos = TPoint(cursor.x, cursor.y);
    if (ExistingWnd) {
        wnd_ = ExistingWnd;
    } else if (!SpareLoopWindow.user) {
        TSpareLoopWindow& spare = SpareLoopWindow;
        if (!spare.wnd) spare.wnd = AllocateHWnd(TWndMethod(&spare, &TSpareLoopWindow::WndProc));
        spare.user = this;
        spareWnd_ = true;
        wnd_ = spare.wnd;
    } else {
        wnd_ = AllocateHWnd(TWndMethod(this, &TBarModalHandler::OwnWndProc));
        ownWnd_ = true;
    }
    if (auto lock = LockForeground()) lock(LSFW_LOCK);
    SetCapture(wnd_);
    SetCursor(ArrowCursor());
    CallNotifyWinEvent(EVENT_SYSTEM_MENUSTART, wnd_, OBJID_CLIENT, 0);
    started_ = true;
}

TBarModalHandler::~TBarModalHandler() {
    if (auto lock = LockForeground()) lock(LSFW_UNLOCK);
    if (GetCapture() == wnd_) ReleaseCapture();
    LastMousePos = TPoint(BarNoMousePos, BarNoMousePos);
    if (started_) CallNotifyWinEvent(EVENT_SYSTEM_MENUEND, wnd_, OBJID_CLIENT, 0);
    if (ownWnd_) DeallocateHWnd(wnd_);
    if (spareWnd_) SpareLoopWindow.user = nullptr;
}

void TBarModalHandler::CancelChain() {
    if (!rootView_) return;
    rootView_->EndModal();
    std::vector<TBarView*> views = Chain(rootView_);
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
        TBarView* v = *it;
        for (int t = tiOpen; t <= tiScrollDown; ++t) v->StopTimer(static_cast<TBarViewTimer>(t));
        if (v->IsPopup() && v->Window() && v->Window()->HandleAllocated())
            ShowWindow(v->Window()->Handle(), SW_HIDE);
    }
}

void TBarModalHandler::OwnWndProc(TMessage& Message) {
    if (Message.Msg == WM_CANCELMODE) {
        CancelChain();
        Message.Result = 0;
        return;
    }
    Message.Result = DefWindowProcW(wnd_, Message.Msg, Message.WParam, Message.LParam);
}

void TBarModalHandler::Loop(TBarView* RootView, bool InitialMouseDown, bool ExecuteSelectedAtStart, bool,
                            bool TrackRightButton) {
    rootView_ = RootView;
    struct TForget {
        TBarModalHandler* self;
        TBarView* outer;
        ~TForget() {
            self->rootView_ = nullptr;
            RunningRoot = outer;
        }
    } forget{this, RunningRoot};
    RunningRoot = RootView;
    RootView->ValidatePositions();
    bool mouseDownOnMenu = false;
    auto done = [&] { return RootView->DoneAction().Kind != tbdaNone; };
    try {
        if (InitialMouseDown)
            if (TBarItemViewer* viewer = RootView->Selected()) {
                const DWORD pos = GetMessagePos();
                const TPoint p = ToClient(
                    RootView, POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))});
                viewer->MouseDown(TShiftState{ssLeft}, p.X - viewer->BoundsRect.Left,
                                  p.Y - viewer->BoundsRect.Top, mouseDownOnMenu);
            }
        if (ExecuteSelectedAtStart) RootView->ExecuteSelected(true);
    } catch (...) {
        Application->HandleException(nullptr);
    }
    const HWND active = GetActiveWindow();
    // The cursor the loop set last. Nothing else sets one while the loop
    // holds the capture and only mouse moves ran since.
    HCURSOR shownCursor = nullptr;
    bool quit = false;
    WPARAM quitCode = 0;

    while (!done() && StillModal(wnd_, active)) {
        if (PressReleasedElsewhere(RootView, TrackRightButton)) {
            // As a release off the bar: the press is cancelled.
            RootView->EndModal();
            break;
        }
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            WaitMessage();
            continue;
        }
        if (PressEndsLoop(RootView, msg)) {
            RootView->EndModal();
            break;
        }
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) continue;
        if (msg.message == WM_QUIT) {
            // Leave as a cancel; the quit is put back for the outer loop.
            quit = true;
            quitCode = msg.wParam;
            RootView->EndModal();
            break;
        }
        if (PressEndsLoop(RootView, msg)) {
            // Came in between the two peeks: give it back to the queue.
            RepostPress(msg, wnd_);
            RootView->EndModal();
            break;
        }
        try {
            const std::vector<TBarView*> views = Chain(RootView);
            TBarView* deepest = views.back();
            switch (msg.message) {
                case WM_TIMER: {
                    TBarView* target = nullptr;
                    for (TBarView* v : views)
                        if (v->Window() && v->Window()->HandleAllocated() &&
                            v->Window()->Handle() == msg.hwnd)
                            target = v;
                    if (target && msg.wParam >= BarViewTimerBase &&
                        msg.wParam <= BarViewTimerBase + tiScrollDown)
                        target->TimerFired(msg.wParam);
                    else
                        DispatchMessageW(&msg);
                    break;
                }
                case 0x4D:  // WM_KEYF1
                case WM_CONTEXTMENU:
                case 0x118:  // the system's caret timer
                    break;
                case WM_KEYDOWN:
                case WM_SYSKEYDOWN: {
                    HintManager()->CancelHint();
                    const bool buttonHeld =
                        GetKeyState(VK_LBUTTON) < 0 || (TrackRightButton && GetKeyState(VK_RBUTTON) < 0);
                    WORD key = static_cast<WORD>(msg.wParam);
                    if (key == VK_PROCESSKEY) key = static_cast<WORD>(ImmVirtualKey(msg.hwnd));
                    if (buttonHeld && key != VK_F1) break;
                    const TShiftState shift = KeyDataToShiftState(msg.lParam);
                    if (TBarItemViewer* viewer = deepest->Selected()) viewer->KeyDown(key, shift);
                    if (key) deepest->KeyDown(key, shift);
                    if (key) TranslateMessage(&msg);
                    break;
                }
                case WM_CHAR:
                case WM_SYSCHAR: {
                    const bool buttonHeld =
                        GetKeyState(VK_LBUTTON) < 0 || (TrackRightButton && GetKeyState(VK_RBUTTON) < 0);
                    if (buttonHeld) break;
                    const char ch = BarAnsiChar(static_cast<wchar_t>(msg.wParam));
                    bool only = false;
                    TBarItemViewer* found = ch ? deepest->FindAccel(ch, only) : nullptr;
                    if (found) {
                        // Selecting may open a popup whose OnPopup rebuilds the items.
                        TBarWatch<TBarCustomItem> item(found->Item());
                        deepest->Select(found, false);
                        if (item && deepest->ViewerOf(item.Get()) == found) {
                            deepest->ScrollSelectedIntoView();
                            if (only && item->Enabled()) deepest->ExecuteSelected(true);
                        }
                    } else if ((ch == ' ' || ch == '-') && deepest == RootView && RootView->IsToolbar() &&
                               GetActiveWindow()) {
                        RootView->EndModalWithSystemMenu(GetActiveWindow(), static_cast<WORD>(ch));
                    } else {
                        MessageBeep(0);
                    }
                    break;
                }
                case WM_KEYUP:
                case WM_SYSKEYUP:
                case WM_DEADCHAR:
                case WM_SYSDEADCHAR:
                case 0x108:
                case 0x109:
                    break;
                case WM_MOUSEMOVE: {
                    const TPoint pt(msg.pt.x, msg.pt.y);
                    if (pt == LastMousePos) break;
                    LastMousePos = pt;
                    UpdateSelections(RootView, msg.pt);
                    const std::vector<TBarView*> now = Chain(RootView);
                    TBarView* last = now.back();
                    HCURSOR cursor = ArrowCursor();
                    if (TBarItemViewer* sel = last->Selected()) {
                        const TPoint p = ToClient(last, msg.pt);
                        sel->GetCursor(TPoint(p.X - sel->BoundsRect.Left, p.Y - sel->BoundsRect.Top), cursor);
                    }
                    if (cursor != shownCursor) SetCursor(cursor);
                    shownCursor = cursor;
                    // Hints follow the mouse where the view shows them.
                    TBarItemViewer* hot = last->Selected();
                    if (((last->Style() & vsAlwaysShowHints) ||
                         (hot && hot->Item()->EffectiveOptions().Contains(tboShowHint))) &&
                        !last->Capture() && last->Window() && last->Window()->HandleAllocated()) {
                        const TPoint p = ToClient(last, msg.pt);
                        TMessage move{WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y), 0};
                        Application->HintMouseMessage(last->Window(), move);
                    } else {
                        HintManager()->CancelHint();
                    }
                    for (TBarView* v : now)
                        if (v->Capture() && v->Selected()) {
                            const TPoint p = ToClient(v, msg.pt);
                            v->Selected()->MouseMove(p.X - v->Selected()->BoundsRect.Left,
                                                     p.Y - v->Selected()->BoundsRect.Top);
                        }
                    break;
                }
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK:
                case WM_RBUTTONDOWN: {
                    if (msg.message == WM_RBUTTONDOWN && !TrackRightButton) break;
                    HintManager()->CancelHint();
                    mouseDownOnMenu = false;
                    RootView->SetState(vsIgnoreFirstMouseUp, false);
                    UpdateSelections(RootView, msg.pt);
                    LastMousePos = TPoint(msg.pt.x, msg.pt.y);
                    if (TBarView* v = ViewAt(RootView, msg.pt)) {
                        const TPoint p = ToClient(v, msg.pt);
                        if (TBarItemViewer* viewer = v->ViewerFromPoint(p)) {
                            TShiftState shift = KeyboardStateToShiftState();
                            if (msg.message == WM_LBUTTONDBLCLK) shift = shift + TShiftState{ssDouble};
                            viewer->MouseDown(shift, p.X - viewer->BoundsRect.Left,
                                              p.Y - viewer->BoundsRect.Top, mouseDownOnMenu);
                        }
                    }
                    break;
                }
                case WM_LBUTTONUP:
                case WM_RBUTTONUP: {
                    if (msg.message == WM_RBUTTONUP && !TrackRightButton) break;
                    if (RootView->State() & vsIgnoreFirstMouseUp) {
                        // The release of the press that opened the menu.
                        RootView->SetState(vsIgnoreFirstMouseUp, false);
                        break;
                    }
                    UpdateSelections(RootView, msg.pt);
                    TBarView* v = ViewAt(RootView, msg.pt);
                    TBarItemViewer* viewer = v ? v->ViewerFromPoint(ToClient(v, msg.pt)) : nullptr;
                    if (viewer) {
                        const TPoint p = ToClient(v, msg.pt);
                        viewer->MouseUp(p.X - viewer->BoundsRect.Left, p.Y - viewer->BoundsRect.Top,
                                        mouseDownOnMenu);
                    } else if (!v || v == RootView) {
                        RootView->EndModal();
                    }
                    break;
                }
                case WM_MOUSEWHEEL: {
                    const POINT pt{static_cast<short>(LOWORD(msg.lParam)),
                                   static_cast<short>(HIWORD(msg.lParam))};
                    if (TBarView* v = ViewAt(RootView, pt)) {
                        const TPoint p = ToClient(v, pt);
                        bool handled = false;
                        if (TBarItemViewer* viewer = v->ViewerFromPoint(p)) viewer->MouseWheelHook(handled);
                        if (!handled) v->MouseWheel(GET_WHEEL_DELTA_WPARAM(msg.wParam), p.X, p.Y);
                    }
                    break;
                }
                default:
                    DispatchMessageW(&msg);
                    break;
            }
            {
                // The status line shows the long hint of the deepest selection.
                TBarView* last = Chain(RootView).back();
                if (msg.message != WM_MOUSEMOVE) shownCursor = nullptr;
                TBarItemViewer* sel = last->Selected();
                HintManager()->SetHint(sel ? ToWide(GetLongHint(sel->Item()->Hint())) : std::wstring());
            }
            if (LastMousePos.X == BarNoMousePos) {
                POINT pt;
                GetCursorPos(&pt);
                LastMousePos = TPoint(pt.x, pt.y);
                UpdateSelections(RootView, pt);
            }
        } catch (...) {
            Application->HandleException(nullptr);
        }
    }
    if (!done()) RootView->EndModal();
    HintManager()->SetHint(std::wstring());
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

// ---- ways into the loop and out of it ------------------------------------------------------------

TBarCustomItem* ProcessDoneAction(const TBarDoneAction& DoneAction, bool ReturnClickedItemOnly) {
    switch (DoneAction.Kind) {
        case tbdaClickItem:
            if (!DoneAction.ClickItem) return nullptr;
            if (DoneAction.Sound && NeedToPlaySound("MenuCommand"))
                SoundService().Play("MenuCommand", nullptr,
                                    SND_ALIAS | SND_ASYNC | SND_NODEFAULT | SND_NOSTOP);
            if (!ReturnClickedItemOnly) PostClick(DoneAction.ClickItem);
            return DoneAction.ClickItem;
        case tbdaOpenSystemMenu:
            SendMessageA(DoneAction.Wnd, WM_SYSCOMMAND, SC_KEYMENU, DoneAction.Key);
            return nullptr;
        case tbdaHelp:
            if (auto* form = dynamic_cast<TCustomForm*>(FindControl(GetActiveWindow()));
                form && form->BorderIcons().Contains(biHelp))
                Application->HelpCommand(HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(DoneAction.ContextID));
            else
                Application->HelpContext(DoneAction.ContextID);
            return nullptr;
        default:
            return nullptr;
    }
}

TBarCustomItem* PopupEx(TBarCustomItem* Item, bool SelectFirstItem, bool TrackRightButton, TPoint Point,
                        BYTE Alignment, bool ReturnClickedItemOnly, const TRect* KeepClear) {
    TBarDoneAction done;
    TBarWatch<TBarCustomItem> clicked;
    {
        TBarModalHandler handler(nullptr);
        TOwned<TBarPopupWindow> popup(
            CreatePopup(Item, nullptr, nullptr, false, SelectFirstItem, false, Point, Alignment, KeepClear));
        if (!popup) return nullptr;
        TBarView* view = popup->View();
        view->SetState(vsIgnoreFirstMouseUp, true);
        handler.RootPopup = popup.get();
        handler.Loop(view, false, false, false, TrackRightButton);
        done = view->DoneAction();
        clicked.Set(done.ClickItem);
        handler.RootPopup = nullptr;
        view->SetState(vsModal, false);
        // Closing the chain runs OnSelect handlers, which may free the
        // chosen item: it is dropped then, never posted.
    }
    done.ClickItem = clicked.Get();
    return ProcessDoneAction(done, ReturnClickedItemOnly);
}

TBarCustomItem* PopupItem(TBarCustomItem* Item, int X, int Y, bool TrackRightButton, BYTE Alignment,
                          bool ReturnClickedItemOnly, const TRect* KeepClear) {
    return PopupEx(Item, false, TrackRightButton, TPoint(X, Y), Alignment, ReturnClickedItemOnly, KeepClear);
}

void EnterToolbarLoop(TBarView* View, unsigned Options) {
    if (View->State() & vsModal) return;
    TWinControl* window = View->Window();
    if (!window || !window->HandleAllocated()) return;
    TBarDoneAction done;
    TBarWatch<TBarCustomItem> clicked;
    {
        TBarModalHandler handler(window->Handle());
        View->SetState(static_cast<unsigned char>(~vsShowAccels), false);
        View->SetState(vsModal, true);
        View->DoneAction() = TBarDoneAction{};
        View->NotifyFocusEvent();
        struct TLeave {
            TBarView* view;
            ~TLeave() {
                view->SetState(vsModal, false);
                for (int t = tiOpen; t <= tiScrollDown; ++t) view->StopTimer(static_cast<TBarViewTimer>(t));
                view->CancelChildPopups();
            }
        } leave{View};
        handler.Loop(View, (Options & tbetMouseDown) != 0, (Options & tbetExecuteSelected) != 0,
                     (Options & tbetFromMSAA) != 0, false);
        done = View->DoneAction();
        clicked.Set(done.ClickItem);
    }
    POINT pt;
    GetCursorPos(&pt);
    const TPoint p = ToClient(View, pt);
    View->UpdateSelection(&p, true);
    View->UpdateAccelerators(false);
    View->Select(nullptr, false);
    done.ClickItem = clicked.Get();
    ProcessDoneAction(done, false);
}
