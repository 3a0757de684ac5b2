#include "classlib/windows/hintwindow.h"

#include <algorithm>

#include "classlib/graphics/handles.h"
#include "classlib/windows/screen.h"

THintWindowClass HintWindowClass = THintWindow::ClassInfo();

namespace {

constexpr UINT kTextFlags = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : inherited(AOwner) {
    SetColor(clInfoBk);
    SetParentColor(false);
    SetParentFont(false);
    if (Screen) Font()->Assign(Screen->HintFont());
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    // Never a task bar button, never the focus, above everything.
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WindowClass.style |= CS_SAVEBITS;
    Params.WndParent = nullptr;
}

void THintWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCHITTEST:
            // The mouse goes through to whatever the hint covers.
            Message.Result = HTTRANSPARENT;
            return;
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            return;
    }
    inherited::WndProc(Message);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::wstring& Hint, void*) {
    TRect rect(0, 0, MaxWidth, 0);
    TWindowDC screen;
    TMemoryDC dc(screen.Get());
    TSelectObject font(dc.Get(), Font()->Handle());
    DrawTextW(dc.Get(), Hint.c_str(), static_cast<int>(Hint.size()), rect.Win32(), kTextFlags | DT_CALCRECT);
    // Room for the border and a little air around the text.
    rect.Right += 6;
    rect.Bottom += 2;
    return rect;
}

void THintWindow::ActivateHint(TRect Rect, const std::wstring& Hint) {
    SetWideCaption(Hint);
    // Kept on the monitor the hint belongs to.
    const TRect area = Screen ? Screen->MonitorFromRect(Rect).BoundsRect : TRect(0, 0, 0, 0);
    if (area.Right > area.Left) {
        if (Rect.Right > area.Right) {
            const int width = Rect.Right - Rect.Left;
            Rect.Left = std::max<LONG>(area.Left, area.Right - width);
            Rect.Right = Rect.Left + width;
        }
        if (Rect.Bottom > area.Bottom) {
            const int height = Rect.Bottom - Rect.Top;
            Rect.Top = std::max<LONG>(area.Top, area.Bottom - height);
            Rect.Bottom = Rect.Top + height;
        }
    }
    SetBounds(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, TRUE);
    active_ = true;
}

void THintWindow::ReleaseHandle() {
    active_ = false;
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

void THintWindow::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    TRect rect = ClientRect();
    rect.Left += 2;
    rect.Top += 1;
    const std::wstring text = WideCaption();
    HDC dc = canvas->Handle();
    TSelectObject font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), rect.Win32(), kTextFlags);
}
