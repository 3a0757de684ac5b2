#include "toolbar/barpopup.h"

#include <mmsystem.h>

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/graphics/colors.h"
#include "classlib/graphics/handles.h"
#include "classlib/services/soundservice.h"
#include "classlib/windows/application.h"
#include "classlib/windows/hintwindow.h"
#include "toolbar/baracc.h"
#include "toolbar/baranim.h"
#include "toolbar/barprint.h"
#include "toolbar/barsystem.h"
#include "toolbar/barwatch.h"

// ---- the shared toolbar font --------------------------------------------------------------

namespace {

TOwned<TFont>& SharedFont() {
    static TOwned<TFont> font;
    return font;
}

bool PopupSoundPlayedOnce = false;

}  // namespace

namespace {
int StartupCount = 0;
}  // namespace

void ResetFirstMenuPopupSound() {
    PopupSoundPlayedOnce = false;
}

void BarPopupStartup() {
    if (StartupCount++ == 0) ReloadBarToolbarFont();
}

void BarPopupShutdown() {
    if (StartupCount > 0 && --StartupCount == 0) SharedFont().reset();
}

void ReloadBarToolbarFont() {
    NONCLIENTMETRICSA metrics{};
    // The size of the structure before the padded-border field: accepted by
    // every system the program runs on.
    metrics.cbSize = 340;
    TOwned<TFont>& font = SharedFont();
    if (!font) font = MakeOwned<TFont>();
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0))
        if (HFONT handle = CreateFontIndirectA(&metrics.lfMenuFont)) font->SetHandle(handle);
}

TFont* BarToolbarFont() {
    if (!SharedFont()) ReloadBarToolbarFont();
    return SharedFont().get();
}

// ---- the popup window ------------------------------------------------------------------------

TBarPopupWindow::TBarPopupWindow(TComponent* AOwner, TBarView* ParentView, TBarCustomItem* Item,
                                 bool Customizing)
    : inherited(AOwner) {
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse});
    SetColor(clMenu);
    // The loop hands the mouse to the hint manager only when the view shows
    // hints; the window itself always lets them show.
    SetShowHint(true);
    SetParentWindow(Application->HandleAllocated() ? Application->Handle() : GetDesktopWindow());
    SetFont(ParentView ? ParentView->GetFont() : BarToolbarFont());
    view_ = CreateView(ParentView, Item, Customizing);
    view_->SetState(vsModal, true);
    if (ParentView) {
        view_->SetStyle(static_cast<unsigned char>((view_->Style() & ~vsUseHiddenAccels) |
                                                   (ParentView->Style() & vsUseHiddenAccels)));
        view_->SetState(vsShowAccels, ParentView->ShowAccelerators());
    } else {
        view_->SetStyle(view_->Style() | vsUseHiddenAccels);
        view_->SetState(vsShowAccels, false);
    }
}

TBarView* TBarPopupWindow::CreateView(TBarView* ParentView, TBarCustomItem* Item, bool Customizing) {
    return Create<TBarMenuPopupView>(nullptr, ParentView, Item, this, false, Customizing, false);
}

void TBarPopupWindow::BeforeDestruction() {
    if (view_) {
        view_->CloseChildPopup();
        std::exchange(view_, nullptr)->Free();
    }
    inherited::BeforeDestruction();
}

TRect TBarPopupWindow::ClientRect() {
    if (HandleAllocated()) return inherited::ClientRect();
    const TSize nc = GetNCSize();
    return TRect(0, 0, std::max<int>(0, Width() - 2 * nc.cx), std::max<int>(0, Height() - 2 * nc.cy));
}

void TBarPopupWindow::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    Params.Style = (Params.Style & ~(WS_CHILD | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) | WS_POPUP;
    Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (IsWindowsXP()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TBarPopupWindow::CreateWnd() {
    inherited::CreateWnd();
    if (uiStateInitialised_ || !view_ || view_->ParentView()) return;
    uiStateInitialised_ = true;
    SendMessageW(handle_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    const LRESULT state = SendMessageW(handle_, WM_QUERYUISTATE, 0, 0);
    view_->SetState(vsShowAccels, !(state & UISF_HIDEACCEL));
}

void TBarPopupWindow::DestroyWindowHandle() {
    EndAnimation(handle_);
    if (view_)
        for (int timer = tiOpen; timer <= tiScrollDown; ++timer)
            view_->StopTimer(static_cast<TBarViewTimer>(timer));
    CallNotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, handle_, OBJID_CLIENT, 0);
    inherited::DestroyWindowHandle();
}

void TBarPopupWindow::Paint() {
    if (!view_) return;
    view_->DrawSubitems(Canvas());
    PaintScrollArrows();
}

void TBarPopupWindow::PaintScrollArrows() {
    if (!view_->ShowUpArrow() && !view_->ShowDownArrow()) return;
    const TRect client = ClientRect();
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(clMenuText);
    canvas->Brush()->SetColor(clMenuText);
    const int cx = client.Width() / 2;
    auto triangle = [&](int Top, bool Up) {
        const int cy = Top + BarScrollBand / 2 - 2;
        if (Up)
            canvas->Polygon({TPoint(cx - 3, cy + 3), TPoint(cx + 3, cy + 3), TPoint(cx, cy)});
        else
            canvas->Polygon({TPoint(cx - 3, cy), TPoint(cx + 3, cy), TPoint(cx, cy + 3)});
    };
    if (view_->ShowUpArrow()) triangle(0, true);
    if (view_->ShowDownArrow()) triangle(client.Height() - BarScrollBand, false);
}

void TBarPopupWindow::PaintFrame(HWND Wnd, HDC DC, void*) {
    RECT r;
    GetWindowRect(Wnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    if (AreFlatMenusEnabled()) {
        FrameRect(DC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        HBRUSH face = GetSysColorBrush(COLOR_MENU);
        for (int i = 0; i < 2; ++i) {
            InflateRect(&r, -1, -1);
            FrameRect(DC, &r, face);
        }
    } else {
        DrawEdge(DC, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        FrameRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
    }
}

void TBarPopupWindow::ShowingChanged() {
    const bool showing = Showing();
    if (showing && view_ && !view_->Selected()) {
        TBarView* toolbar = view_->GetParentToolbarView();
        BOOL animation = FALSE, fade = FALSE;
        SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &animation, 0);
        SystemParametersInfoW(SPI_GETMENUFADE, 0, &fade, 0);
        if (toolbar && !(toolbar->State() & vsNoAnimation) && animation &&
            (fade || AnimationDirection != 0) && SendMessageW(handle_, WM_BAR_POPUPPROTOCOL, 1, 0) == 0) {
            StartAnimation(handle_, fade != FALSE, AnimationDirection);
            return;
        }
    }
    if (!showing) EndAnimation(handle_);
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (showing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (showing) SendNotifyMessageW(handle_, WM_BAR_POPUPPROTOCOL, 3, 0);
}

void TBarPopupWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CLOSE:
            return;
        case WM_MOUSEACTIVATE:
            // A menu never takes the activation from the window it serves.
            Message.Result = MA_NOACTIVATE;
            return;
        case CM_SHOWINGCHANGED:
            if (handle_) ShowingChanged();
            return;
        case WM_BAR_ANIMATIONFRAME:
            AnimationFrame(Message);
            return;
        case WM_BAR_ANIMATIONDONE:
            SendNotifyMessageW(handle_, WM_BAR_POPUPPROTOCOL, 2, 0);
            return;
        case WM_ERASEBKGND:
        case WM_PAINT:
            EndAnimation(handle_);
            break;
        case WM_NCCALCSIZE: {
            auto* r = reinterpret_cast<RECT*>(Message.LParam);
            const TSize nc = GetNCSize();
            InflateRect(r, -nc.cx, -nc.cy);
            Message.Result = 0;
            return;
        }
        case WM_NCPAINT: {
            TNCPaintDC dc(handle_, nullptr, reinterpret_cast<HRGN>(Message.WParam));
            PaintFrame(handle_, dc.Get(), this);
            Message.Result = 0;
            return;
        }
        case WM_PRINT:
            HandleWMPrint(handle_, Message, &TBarPopupWindow::PaintFrame, this);
            return;
        case WM_PRINTCLIENT:
            HandleWMPrintClient(this, Message);
            return;
        case WM_TIMER:
            if (view_ && Message.WParam >= BarViewTimerBase &&
                Message.WParam <= BarViewTimerBase + tiScrollDown) {
                view_->TimerFired(Message.WParam);
                return;
            }
            break;
        case WM_GETOBJECT:
            if (view_ && AnswerGetObject(view_, Message)) return;
            break;
        case CM_HINTSHOW:
            if (view_ && AnswerHintShow(view_, Message, true)) return;
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}

// ---- views that open popup windows ------------------------------------------------------------

namespace {

TWinControl* OpenChildPopupWindow(TBarView* View, TBarItemViewer* Viewer, bool SelectFirstItem,
                                  TBarView*& PopupView) {
    TBarPopupWindow* window = CreatePopup(Viewer->Item(), View, Viewer, View->IsPopup(), SelectFirstItem,
                                          View->Customizing(), TPoint(), bpaLeft);
    if (!window) return nullptr;
    PopupView = window->View();
    if (View->IsToolbar()) {
        View->SetState(vsDropDownMenus, true);
        View->Invalidate(Viewer);
        if (View->Window() && View->Window()->HandleAllocated()) UpdateWindow(View->Window()->Handle());
    }
    return window;
}

}  // namespace

bool AnswerHintShow(TBarView* View, TMessage& Message, bool UseSelected) {
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    if (!info) return false;
    TBarItemViewer* viewer = UseSelected ? View->Selected() : View->ViewerFromPoint(info->CursorPos);
    if (!viewer) return false;
    info->CursorRect = viewer->BoundsRect;
    info->HintStr = ToWide(viewer->GetHintText());
    Message.Result = 0;
    return true;
}

bool AnswerGetObject(TBarView* View, TMessage& Message) {
    bool handled = false;
    const LRESULT result = View->HandleGetObject(Message, handled);
    if (handled) Message.Result = result;
    return handled;
}

TWinControl* TBarMenuPopupView::CreateChildPopup(TBarItemViewer* Viewer, bool SelectFirstItem,
                                                 TBarView*& PopupView) {
    return OpenChildPopupWindow(this, Viewer, SelectFirstItem, PopupView);
}

TWinControl* TBarMenuToolbarView::CreateChildPopup(TBarItemViewer* Viewer, bool SelectFirstItem,
                                                   TBarView*& PopupView) {
    return OpenChildPopupWindow(this, Viewer, SelectFirstItem, PopupView);
}

// ---- CreatePopup and placement ------------------------------------------------------------------

namespace {

TRect ToScreen(TWinControl* Window, TRect R) {
    if (Window && Window->HandleAllocated())
        MapWindowPoints(Window->Handle(), nullptr, reinterpret_cast<POINT*>(&R), 2);
    return R;
}

TBarPopupWindow* PopupWindowOf(TBarView* View) {
    return View ? dynamic_cast<TBarPopupWindow*>(View->Window()) : nullptr;
}

}  // namespace

void GetPopupPosition(TBarView* ParentView, TBarPopupWindow* PopupWindow, TBarPopupPositionRec& Rec) {
    TBarPopupParent parent;
    if (ParentView) {
        parent.Present = true;
        parent.Vertical = ParentView->Orientation() == boVertical;
        for (int i = 0; i < ParentView->ViewerCount(); ++i)
            if (TBarItemViewer* viewer = ParentView->Viewers(i); viewer->Show)
                parent.ShownViewers.push_back(ToScreen(ParentView->Window(), viewer->BoundsRect));
    }
    if (PlacePopup(parent, Rec) && PopupWindow) PopupWindow->View()->SetState(vsOppositePopup, true);
}

TBarPopupWindow* CreatePopup(TBarCustomItem* Item, TBarView* ParentView, TBarItemViewer* ParentViewer,
                             bool PositionAsSubmenu, bool SelectFirstItem, bool Customizing,
                             TPoint APopupPoint, BYTE Alignment, const TRect* KeepClear) {
    // OnPopup handlers may rebuild or free what the popup is about to show.
    TBarWatch<TBarCustomItem> item(Item);
    if (TBarCustomItem* link = Item->LinkSubitems()) link->DoPopup(Item, true);
    if (item) item->DoPopup(item.Get(), false);
    if (!item) return nullptr;
    if (ParentView) {
        // A handler may also have taken the item out of the menu.
        if (ParentView->ViewerOf(item.Get()) != ParentViewer) return nullptr;
        if (!item->Visible() || !item->Enabled()) return nullptr;
    }

    TBarView* chevronParentView = item->GetChevronParentView();
    TBarCustomItem* shown = chevronParentView ? chevronParentView->ParentItem() : item.Get();
    TBarPopupPositionRec rec;
    rec.PositionAsSubmenu = PositionAsSubmenu;
    rec.Alignment = Alignment;
    rec.Opposite = ParentView && (ParentView->State() & vsOppositePopup);

    TOwned<TBarPopupWindow> owned(item->CreatePopupWindow(ParentView, shown, Customizing));
    TBarPopupWindow* window = owned.get();
    TBarView* view = window->View();
    if (chevronParentView) {
        view->SetChevronParentView(chevronParentView);
        view->SetStyle(
            static_cast<unsigned char>(view->Style() | (chevronParentView->Style() & vsAlwaysShowHints)));
        window->SetColor(clBtnFace);
    }

    if (ParentView) {
        ParentView->ValidatePositions();
        rec.ParentItemRect = ToScreen(ParentView->Window(), ParentViewer->BoundsRect);
        if (TBarPopupWindow* parentWindow = PopupWindowOf(ParentView);
            parentWindow && parentWindow->HasMonitorRect)
            rec.MonitorRect = parentWindow->MonitorRect;
        else
            rec.MonitorRect = GetRectOfMonitorContainingRect(rec.ParentItemRect, true);
    } else {
        rec.ParentItemRect =
            KeepClear ? *KeepClear : TRect(APopupPoint.X, APopupPoint.Y, APopupPoint.X, APopupPoint.Y);
        rec.MonitorRect = GetRectOfMonitorContainingPoint(APopupPoint, true);
    }
    window->MonitorRect = rec.MonitorRect;
    window->HasMonitorRect = true;
    const TSize nc = window->GetNCSize();
    rec.NCSizeX = nc.cx;
    rec.NCSizeY = nc.cy;

    if (chevronParentView)
        view->SetWrapOffset(rec.MonitorRect.Width() - 2 * rec.NCSizeX);
    else
        view->SetMaxHeight(rec.MonitorRect.Height() - 2 * rec.NCSizeY);

    // Laid out and placed before the window exists: it is made once at its
    // place and size, with no moves and no paint while hidden.
    if (SelectFirstItem) view->Select(view->FirstSelectable(), false);
    view->UpdatePositions();
    rec.W = window->Width();
    rec.H = window->Height();

    const TRect& p = rec.ParentItemRect;
    if (!ParentView) {
        rec.X = APopupPoint.X;
        rec.Y = APopupPoint.Y;
        if (Alignment == bpaRight) rec.X -= rec.W;
        if (Alignment == bpaCenter) rec.X -= rec.W / 2;
    } else if (PositionAsSubmenu) {
        rec.X = p.Right - rec.NCSizeX;
        rec.Y = p.Top - rec.NCSizeY;
    } else if (chevronParentView && ParentView->Orientation() != boVertical) {
        rec.X = p.Right - rec.W;
        rec.Y = p.Bottom;
    } else if (ParentView->Orientation() == boVertical) {
        rec.X = p.Left - rec.W;
        rec.Y = p.Top;
    } else {
        rec.X = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? p.Right - rec.W : p.Left;
        rec.Y = p.Bottom;
    }
    rec.AnimDir = 0;
    rec.PlaySound = true;
    GetPopupPosition(ParentView, window, rec);
    window->AnimationDirection = rec.AnimDir;
    window->SetBounds(rec.X, rec.Y, rec.W, rec.H);
    window->HandleNeeded();

    view->SetState(vsDrawFirstTime, true);
    if (rec.PlaySound && NeedToPlaySound("MenuPopup")) {
        constexpr DWORD flags = SND_ALIAS | SND_ASYNC | SND_NODEFAULT | SND_NOSTOP;
        if (!PopupSoundPlayedOnce) {
            // The very first sound loads slowly: show the menu before it.
            PopupSoundPlayedOnce = true;
            window->Show();
            window->Update();
            SoundService().Play("MenuPopup", nullptr, flags);
        } else {
            SoundService().Play("MenuPopup", nullptr, flags);
            window->Show();
        }
    } else {
        window->Show();
    }
    CallNotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, window->Handle(), OBJID_CLIENT, 0);
    if (view->Selected()) view->NotifyFocusEvent();
    return owned.release();
}
