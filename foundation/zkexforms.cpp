#include "foundation/zkexforms.h"

#include "foundation/zkhints.h"

#include "classlib/graphics/handles.h"

using zk_detail::TCurrentMessage;

template <class Base>
LRESULT TZkExFormImpl<Base>::PassOn(UINT Msg) {
    return current_ ? PassOn(Msg, current_->WParam, current_->LParam) : PassOn(Msg, 0, 0);
}

template <class Base>
LRESULT TZkExFormImpl<Base>::PassOn(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage message{Msg, WParam, LParam, 0};
    InheritedWndProc(message);
    return message.Result;
}

template <class Base>
void TZkExFormImpl<Base>::ChangeUIState(WORD Action, WORD Flags) {
    if (this->HandleAllocated()) SendMessageW(this->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(Action, Flags), 0);
}

template <class Base>
void TZkExFormImpl<Base>::InheritedWndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_SHOWINGCHANGED:
            if (this->Showing()) ChangeUIState(UIS_INITIALIZE, 0);
            break;
        case CM_DIALOGKEY:
            switch (Message.WParam) {
                case VK_TAB:
                case VK_LEFT:
                case VK_UP:
                case VK_RIGHT:
                case VK_DOWN:
                    ChangeUIState(UIS_CLEAR, UISF_HIDEFOCUS);
                    break;
                case VK_MENU:
                    ChangeUIState(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);
                    break;
            }
            break;
    }
    Base::WndProc(Message);
}

template <class Base>
void TZkExFormImpl<Base>::WndProc(TMessage& Message) {
    const UINT msg = Message.Msg;
    std::shared_ptr<bool> alive = this->alive_;
    DispatchNotification(Message);
    if (!*alive || !dotNetHighlighting_) return;
    switch (msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_NCPAINT:
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            DrawHighlight();
            break;
    }
    if (msg == CM_MOUSELEAVE && this->HandleAllocated()) {
        const int w = this->Width(), h = this->Height();
        TRegionHandle ring(CreateRectRgn(0, 0, w - 1, h - 1));
        TRegionHandle inner(CreateRectRgn(2, 2, w - 3, h - 3));
        CombineRgn(ring.Get(), ring.Get(), inner.Get(), RGN_DIFF);
        InvalidateRgn(this->Handle(), ring.Get(), FALSE);
    }
}

template <class Base>
void TZkExFormImpl<Base>::DispatchNotification(TMessage& Message) {
    TCurrentMessage current(current_, Message, this->alive_);
    if (zk_detail::DispatchSharedNotification(*this, Message)) return;
    switch (Message.Msg) {
        case CM_CURSORCHANGED:
            CursorChanged();
            return;
        case CM_SHOWINGCHANGED:
            ShowingChanged();
            return;
        case CM_SHOWHINTCHANGED:
            ShowHintChanged();
            return;
        case CM_CONTROLLISTCHANGE: {
            auto* control = reinterpret_cast<TControl*>(Message.WParam);
            if (Message.LParam)
                ControlsListChanging(control, true);
            else
                ControlsListChanged(control, false);
            return;
        }
        case CM_CONTROLCHANGE: {
            auto* control = reinterpret_cast<TControl*>(Message.WParam);
            if (Message.LParam)
                ControlsListChanged(control, true);
            else
                ControlsListChanging(control, false);
            return;
        }
        case WM_ERASEBKGND: {
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            TSaveDC saved(dc);
            TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
            canvas->SetHandle(dc);
            try {
                Message.Result = DoEraseBackground(canvas.get(), Message.LParam);
            } catch (...) {
                canvas->SetHandle(nullptr);
                throw;
            }
            canvas->SetHandle(nullptr);
            return;
        }
        case WM_PRINT:
        case WM_PRINTCLIENT: {
            TSaveDC saved(reinterpret_cast<HDC>(Message.WParam));
            InheritedWndProc(Message);
            return;
        }
        case WM_GETDLGCODE: {
            InheritedWndProc(Message);
            TDlgCodes codes = DlgCodesFromResult(Message.Result);
            codes.Include(dcNative);
            GetDlgCode(codes);
            if (!codes.Contains(dcNative)) Message.Result = DlgCodesToResult(codes);
            return;
        }
        case WM_SIZE: {
            std::shared_ptr<bool> alive = this->alive_;
            InheritedWndProc(Message);
            if (*alive) BoundsChanged();
            return;
        }
        case WM_SETFOCUS:
            FocusSet(reinterpret_cast<HWND>(Message.WParam));
            return;
        case WM_KILLFOCUS:
            FocusKilled(reinterpret_cast<HWND>(Message.WParam));
            return;
        default:
            InheritedWndProc(Message);
    }
}

void DrawHighlightFrame(HDC DC, const TRect& Bounds, bool Hot, TColor InnerColor) {
    const COLORREF accent = 0x733800;
    TBrushHandle outerBrush(CreateSolidBrush(Hot ? accent : 0x808080));
    FrameRect(DC, Bounds.Win32(), outerBrush.Get());
    const TRect inner(Bounds.Left + 1, Bounds.Top + 1, Bounds.Right - 1, Bounds.Bottom - 1);
    TBrushHandle innerBrush(CreateSolidBrush(Hot ? accent : ColorToRGB(InnerColor)));
    FrameRect(DC, inner.Win32(), innerBrush.Get());
}

template <class Base>
void TZkExFormImpl<Base>::DrawHighlight() {
    if (!this->HandleAllocated() || this->ComponentState().Contains(csDesigning)) return;
    HWND window = this->Handle();
    TWindowDC dc(window, true);
    if (!dc.Get()) return;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    DrawHighlightFrame(dc.Get(), TRect(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top),
                       mouseOver_ || GetFocus() == window, this->Color());
}

template <class Base>
void TZkExFormImpl<Base>::TextChanged() {
    PassOn(CM_TEXTCHANGED);
}

template <class Base>
bool TZkExFormImpl<Base>::WantKey(int Key, TShiftState Shift, const std::string&) {
    return PassOn(CM_DIALOGCHAR, static_cast<WPARAM>(Key), zk_detail::KeyDataFromShift(Shift)) != 0;
}

template <class Base>
bool TZkExFormImpl<Base>::HitTest(int X, int Y) {
    return PassOn(CM_HITTEST, 0, PointToLParam(X, Y)) != 0;
}

template <class Base>
void TZkExFormImpl<Base>::FocusSet(HWND PreviousWindow) {
    PassOn(WM_SETFOCUS, reinterpret_cast<WPARAM>(PreviousWindow), current_ ? current_->LParam : 0);
}

template <class Base>
void TZkExFormImpl<Base>::FocusKilled(HWND NextWindow) {
    PassOn(WM_KILLFOCUS, reinterpret_cast<WPARAM>(NextWindow), current_ ? current_->LParam : 0);
}

template <class Base>
bool TZkExFormImpl<Base>::DoEraseBackground(TCanvas* Canvas, LPARAM Param) {
    return PassOn(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Canvas->Handle()), Param) != 0;
}

template <class Base>
void TZkExFormImpl<Base>::FocusChanged(TControl* Control) {
    PassOn(CM_FOCUSCHANGED, current_ ? current_->WParam : 0, reinterpret_cast<LPARAM>(Control));
}

template <class Base>
void TZkExFormImpl<Base>::VisibleChanged() {
    PassOn(CM_VISIBLECHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::EnabledChanged() {
    PassOn(CM_ENABLEDCHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::ColorChanged() {
    PassOn(CM_COLORCHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::FontChanged() {
    PassOn(CM_FONTCHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::ParentFontChanged() {
    PassOn(CM_PARENTFONTCHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::ParentShowHintChanged() {
    PassOn(CM_PARENTSHOWHINTCHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::CursorChanged() {
    PassOn(CM_CURSORCHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::ShowingChanged() {
    PassOn(CM_SHOWINGCHANGED);
}
template <class Base>
void TZkExFormImpl<Base>::ShowHintChanged() {
    PassOn(CM_SHOWHINTCHANGED);
}

template <class Base>
void TZkExFormImpl<Base>::ParentColorChanged() {
    std::shared_ptr<bool> alive = this->alive_;
    PassOn(CM_PARENTCOLORCHANGED);
    if (*alive && Assigned(OnParentColorChange)) OnParentColorChange(this);
}

template <class Base>
void TZkExFormImpl<Base>::MouseEnter(TControl* Control) {
    mouseOver_ = true;
    std::shared_ptr<bool> alive = this->alive_;
    if (Assigned(this->OnMouseEnter)) this->OnMouseEnter(this);
    if (*alive) PassOn(CM_MOUSEENTER, 0, zk_detail::MouseOrigin(Control, this));
}

template <class Base>
void TZkExFormImpl<Base>::MouseLeave(TControl* Control) {
    mouseOver_ = false;
    std::shared_ptr<bool> alive = this->alive_;
    PassOn(CM_MOUSELEAVE, 0, zk_detail::MouseOrigin(Control, this));
    if (*alive && Assigned(this->OnMouseLeave)) this->OnMouseLeave(this);
}

template <class Base>
void TZkExFormImpl<Base>::ControlsListChanging(TControl* Control, bool Inserting) {
    PassOn(Inserting ? CM_CONTROLLISTCHANGE : CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(Control), Inserting);
}

template <class Base>
void TZkExFormImpl<Base>::ControlsListChanged(TControl* Control, bool Inserting) {
    PassOn(Inserting ? CM_CONTROLCHANGE : CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(Control), Inserting);
}

template <class Base>
bool TZkExFormImpl<Base>::HintShow(THintInfo& HintInfo) {
    ResolveZkHint(HintInfo, hintColor_, hintWindowClass_, this->Parent());
    TStructPtrMessage message(CM_HINTSHOW, current_ ? current_->WParam : 0, &HintInfo);
    InheritedWndProc(message);
    return message.Result != 0;
}

template class TZkExFormImpl<TCustomForm>;
template class TZkExFormImpl<TForm>;
