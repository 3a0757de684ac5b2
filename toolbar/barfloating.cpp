#include "toolbar/barfloating.h"

#include "classlib/graphics/handles.h"
#include "classlib/services/systemsettings.h"
#include "classlib/windows/application.h"
#include "toolbar/bardockable.h"
#include "toolbar/barprint.h"
#include "toolbar/barsystem.h"

TBarFloatingWindowParent::TBarFloatingWindowParent(TComponent* AOwner) : inherited(AOwner, 0) {}

void TBarFloatingWindowParent::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (dockableWindow_ && dockableWindow_->Resizable()) Params.Style |= WS_THICKFRAME;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
    if (parentForm_ && parentForm_->HandleAllocated()) Params.WndParent = parentForm_->Handle();
}

TRect TBarFloatingWindowParent::FrameSize() {
    TSize border{0, 0};
    if (dockableWindow_) dockableWindow_->GetFloatingBorderSize(border);
    const int caption =
        dockableWindow_ && dockableWindow_->ShowCaption() ? GetSystemMetrics(SM_CYSMCAPTION) : 0;
    return TRect(border.cx, border.cy + caption, border.cx, border.cy);
}

TRect TBarFloatingWindowParent::GetCaptionRect(bool AdjustForBorder, bool MinusCloseButton) {
    const int height = GetSystemMetrics(SM_CYSMCAPTION) - 1;
    TRect r(0, 0, ClientWidth(), height);
    if (MinusCloseButton) r.Right -= height;
    if (AdjustForBorder && dockableWindow_) {
        TSize border;
        dockableWindow_->GetFloatingBorderSize(border);
        OffsetRect(r.Win32(), border.cx, border.cy);
    }
    return r;
}

TRect TBarFloatingWindowParent::GetCloseButtonRect(bool AdjustForBorder) {
    TRect r = GetCaptionRect(AdjustForBorder, false);
    r.Left = r.Right - (GetSystemMetrics(SM_CYSMCAPTION) - 1);
    return r;
}

int TBarFloatingWindowParent::HitTest(TPoint ScreenPoint) {
    TBarCustomDockableWindow* bar = dockableWindow_;
    if (!bar) return HTNOWHERE;
    RECT window{};
    GetWindowRect(Handle(), &window);
    const TPoint p(ScreenPoint.X - window.left, ScreenPoint.Y - window.top);
    if (bar->ShowCaption()) {
        if (GetCaptionRect(true, false).Contains(p)) {
            if (bar->CloseButton() && GetCloseButtonRect(true).Contains(p)) return HT_BAR_CLOSEBUTTON;
            return HT_BAR_CAPTION;
        }
    }
    if (!bar->Resizable()) return HTNOWHERE;
    TSize border;
    bar->GetFloatingBorderSize(border);
    const int w = window.right - window.left, h = window.bottom - window.top;
    const int corner = border.cx + GetSystemMetrics(SM_CYSMCAPTION) - 1;
    const bool left = p.X >= 0 && p.X < border.cx;
    const bool right = p.X >= w - border.cx - 1 && p.X < w;
    const bool top = p.Y >= 0 && p.Y < border.cy;
    const bool bottom = p.Y >= h - border.cy - 1 && p.Y < h;
    if (bar->CornerSizing()) {
        if (left) return p.Y < corner ? HTTOPLEFT : (p.Y >= h - corner ? HTBOTTOMLEFT : HTLEFT);
        if (right) return p.Y < corner ? HTTOPRIGHT : (p.Y >= h - corner ? HTBOTTOMRIGHT : HTRIGHT);
        if (top) return p.X < corner ? HTTOPLEFT : (p.X >= w - corner ? HTTOPRIGHT : HTTOP);
        if (bottom) return p.X < corner ? HTBOTTOMLEFT : (p.X >= w - corner ? HTBOTTOMRIGHT : HTBOTTOM);
        return HTNOWHERE;
    }
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    return HTNOWHERE;
}

void TBarFloatingWindowParent::PaintNC(HWND, HDC DC, void* AppData) {
    static_cast<TBarFloatingWindowParent*>(AppData)->DrawNCArea(true, DC, nullptr,
                                                                dpBorder | dpCaption | dpCloseButton);
}

void TBarFloatingWindowParent::DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn, int RedrawWhat) {
    if (!HandleAllocated() || !dockableWindow_) return;
    TBarCustomDockableWindow* bar = dockableWindow_;
    TNCPaintDC paint(Handle(), DrawToDC ? DC : nullptr, Rgn);
    DC = paint.Get();
    const RECT window = paint.Bounds();
    IntersectClipRect(DC, 0, 0, window.right, window.bottom);
    TSize border;
    bar->GetFloatingBorderSize(border);
    if (RedrawWhat & dpBorder) {
        TSaveDC savedBorder(DC);
        RECT edge = window;
        DrawEdge(DC, &edge, EDGE_RAISED, BF_RECT);
        ExcludeClipRect(DC, border.cx, border.cy, window.right - border.cx, window.bottom - border.cy);
        RECT inside{2, 2, window.right - 2, window.bottom - 2};
        FillRect(DC, &inside, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (!bar->ShowCaption()) return;
    BOOL gradient = FALSE;
    if (!SystemSettings().ParametersInfo(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0)) gradient = FALSE;
    const bool active = !bar->InactiveCaption();
    static const int captionColors[2][2] = {{COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION},
                                            {COLOR_GRADIENTACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION}};
    const int captionColor = captionColors[gradient ? 1 : 0][active ? 0 : 1];
    const TRect button = GetCloseButtonRect(true);
    if (RedrawWhat & dpCaption) {
        TSaveDC savedCaption(DC);
        TRect caption = GetCaptionRect(true, bar->CloseButton());
        if (bar->CloseButton() && (RedrawWhat & dpCloseButton))
            ExcludeClipRect(DC, button.Left, button.Top, button.Right, button.Bottom);
        UINT flags = DC_SMALLCAP | DC_TEXT;
        if (active) flags |= DC_ACTIVE;
        if (gradient) flags |= DC_GRADIENT;
        DrawCaption(Handle(), DC, caption.Win32(), flags);
        RECT line{caption.Left, caption.Bottom, bar->CloseButton() ? button.Right : caption.Right,
                  caption.Bottom + 1};
        FillRect(DC, &line, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (bar->CloseButton()) {
        TRect face(button.Left, button.Top + 2, button.Right - 2, button.Bottom - 2);
        if (RedrawWhat & dpCaption) {
            TSaveDC savedButton(DC);
            ExcludeClipRect(DC, face.Left, face.Top, face.Right, face.Bottom);
            FillRect(DC, button.Win32(), GetSysColorBrush(captionColor));
        }
        if (RedrawWhat & dpCloseButton)
            DrawFrameControl(DC, face.Win32(), DFC_CAPTION,
                             DFCS_CAPTIONCLOSE | (closeButtonPressed_ ? DFCS_PUSHED : 0));
    }
}

// The bar's form; an MDI child's bar would answer its MDI parent form here,
// but MDI forms are not built.
HWND TBarFloatingWindowParent::ActivationTarget() const {
    if (!parentForm_ || !parentForm_->HandleAllocated()) return nullptr;
    return parentForm_->Handle();
}

void TBarFloatingWindowParent::WndProc(TMessage& Message) {
    TBarCustomDockableWindow* bar = dockableWindow_;
    switch (Message.Msg) {
        case WM_NCCALCSIZE: {
            auto* r = reinterpret_cast<RECT*>(Message.LParam);
            const TRect frame = FrameSize();
            r->left += frame.Left;
            r->top += frame.Top;
            r->right -= frame.Right;
            r->bottom -= frame.Bottom;
            Message.Result = 0;
            return;
        }
        case WM_NCHITTEST: {
            DefaultHandler(Message);
            if (Message.Result != HTCLIENT) Message.Result = HitTest(Point(Message.XPos(), Message.YPos()));
            return;
        }
        case WM_NCLBUTTONDOWN: {
            if (!bar) break;
            const int code = static_cast<int>(Message.WParam);
            if (code >= HTLEFT && code <= HTBOTTOMRIGHT) {
                if (bar->Resizable()) bar->BeginSizing(code - HTLEFT);
                return;
            }
            if (code == HT_BAR_CAPTION) {
                const TPoint p = bar->ScreenToClient(Point(Message.XPos(), Message.YPos()));
                bar->BeginMoving(p.X, p.Y);
                return;
            }
            if (code == HT_BAR_CLOSEBUTTON) {
                RECT window{};
                GetWindowRect(Handle(), &window);
                TRect button = GetCloseButtonRect(true);
                OffsetRect(button.Win32(), window.left, window.top);
                auto alive = alive_;
                const bool closed = bar->TrackButton(Handle(), button, closeButtonPressed_, [this] {
                    DrawNCArea(false, nullptr, nullptr, dpCloseButton);
                });
                if (closed && *alive && dockableWindow_) dockableWindow_->Close();
                return;
            }
            break;
        }
        case WM_NCLBUTTONDBLCLK:
            if (bar && Message.WParam == HT_BAR_CAPTION) {
                bar->DoubleClickToggle();
                return;
            }
            break;
        case WM_NCRBUTTONUP:
            if (bar && bar->HandleAllocated()) {
                SendMessageW(bar->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar->Handle()),
                             Message.LParam);
                return;
            }
            break;
        case WM_NCPAINT:
            DrawNCArea(false, nullptr, reinterpret_cast<HRGN>(Message.WParam),
                       dpBorder | dpCaption | dpCloseButton);
            return;
        case WM_NCACTIVATE:
            // The caption is ours; Windows must not paint its own over it.
            Message.Result = 1;
            return;
        case WM_PRINT:
            HandleWMPrint(Handle(), Message, PaintNC, this);
            return;
        case WM_PRINTCLIENT:
            HandleWMPrintClient(this, Message);
            return;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
            info->ptMinTrackSize = POINT{1, 1};
            info->ptMaxTrackSize = POINT{32767, 32767};
            return;
        }
        case WM_ACTIVATE: {
            HWND target = ActivationTarget();
            if (target) SendMessageW(target, WM_NCACTIVATE, LOWORD(Message.WParam) != WA_INACTIVE, 0);
            if (LOWORD(Message.WParam) != WA_INACTIVE) {
                if (!IsWindowVisible(Handle())) {
                    if (bar) bar->UpdateVisibility();
                    // A hidden window must not hold the keyboard.
                    if (!IsWindowVisible(Handle()))
                        if (HWND next = BarNextActivationTarget(Handle())) SetActiveWindow(next);
                } else if (target && reinterpret_cast<HWND>(Message.LParam) != target) {
                    // The floating window does not keep activation.
                    SetActiveWindow(target);
                }
            }
            return;
        }
        case WM_MOUSEACTIVATE: {
            Message.Result = MA_NOACTIVATE;
            SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            HWND target = ActivationTarget();
            if (bar && target && bar->FloatingMode() == fmOnTopOfParentForm && bar->ActivateParent() &&
                GetActiveWindow() != Handle()) {
                SetActiveWindow(target);
            }
            return;
        }
        case WM_CLOSE:
            if (HWND target = ActivationTarget()) SendMessageW(target, WM_CLOSE, 0, 0);
            return;
        case WM_MOVE:
            inherited::WndProc(Message);
            if (bar && bar->OnMove) bar->OnMove(bar);
            return;
        case CM_SHOWINGCHANGED:
            if (HandleAllocated())
                SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                 (Showing() && shouldShow_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
            return;
        case CM_DIALOGKEY:
            if (Message.WParam == VK_ESCAPE && KeyboardStateToShiftState().Empty() && parentForm_) {
                if (parentForm_->HandleAllocated()) SetActiveWindow(parentForm_->Handle());
                Message.Result = 1;
                return;
            }
            break;
        case CM_TEXTCHANGED:
            inherited::WndProc(Message);
            DrawNCArea(false, nullptr, nullptr, dpCaption);
            return;
        default:
            break;
    }
    inherited::WndProc(Message);
}
