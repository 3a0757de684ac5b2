#include "foundation/zkutils.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "classlib/graphics/handles.h"
#include "classlib/services/shellservice.h"
#include "classlib/windows/screen.h"

void GetWorkArea(TRect& Rect) {
    RECT area{};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        Rect = area;
    else
        Rect = TRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

namespace {

void FillSolid(HDC dc, const TRect& R, COLORREF color) {
    TBrushHandle brush(CreateSolidBrush(color));
    FillRect(dc, R.Win32(), brush.Get());
}

BYTE Blend(BYTE start, BYTE end, int i, int steps) {
    return static_cast<BYTE>(start + MulDiv(i, int(end) - int(start), steps));
}

struct CanvasLock {
    TCanvas* canvas;
    explicit CanvasLock(TCanvas* c) : canvas(c) { canvas->Lock(); }
    ~CanvasLock() { canvas->Unlock(); }
};

}  // namespace

void GradientFillRect(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor,
                      TGradientDirection Direction, BYTE Colors) {
    CanvasLock lock(Canvas);
    HDC dc = Canvas->Handle();
    if (StartColor == clNone && EndColor == clNone) return;
    if (Rect.IsEmpty() && GetMapMode(dc) == MM_TEXT) return;
    COLORREF start = ColorToRGB(StartColor);
    COLORREF end = ColorToRGB(EndColor);
    if (Direction == gdBottomToTop || Direction == gdRightToLeft) std::swap(start, end);
    const bool vertical = Direction == gdTopToBottom || Direction == gdBottomToTop;
    if (Colors < 2 || start == end) {
        FillSolid(dc, Rect, start);
        return;
    }
    const int extent = vertical ? Rect.Height() : Rect.Width();
    const int count = std::max(2, std::min<int>(Colors, extent));
    const int band = extent / count;
    if (band > 0) {
        for (int i = 0; i < count; ++i) {
            TRect r = Rect;
            if (vertical) {
                r.Top = Rect.Top + i * band;
                r.Bottom = r.Top + band;
            } else {
                r.Left = Rect.Left + i * band;
                r.Right = r.Left + band;
            }
            const COLORREF color = RGB(Blend(GetRValue(start), GetRValue(end), i, count - 1),
                                       Blend(GetGValue(start), GetGValue(end), i, count - 1),
                                       Blend(GetBValue(start), GetBValue(end), i, count - 1));
            FillSolid(dc, r, color);
        }
    }
    const int rest = extent % count;
    if (rest > 0) {
        TRect r = Rect;
        if (vertical)
            r.Top = Rect.Bottom - rest;
        else
            r.Left = Rect.Right - rest;
        FillSolid(dc, r, end);
    }
}

namespace {
BOOL CALLBACK FindActiveWindow(HWND window, LPARAM found) {
    if (window != GetActiveWindow()) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}
}  // namespace

bool IsForegroundTask() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), FindActiveWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void AssignHotTrackFont(TFont* HotTrackFont, TFont* Font, TZkTrackFontOptions Options) {
    if (!Options.Contains(hoFollowFont)) return;
    if (!Options.Contains(hoPreserveCharSet)) HotTrackFont->SetCharset(Font->Charset());
    if (!Options.Contains(hoPreserveColor)) HotTrackFont->SetColor(Font->Color());
    if (!Options.Contains(hoPreserveHeight)) HotTrackFont->SetHeight(Font->Height());
    if (!Options.Contains(hoPreserveName)) HotTrackFont->SetName(Font->Name());
    if (!Options.Contains(hoPreservePitch)) HotTrackFont->SetPitch(Font->Pitch());
    if (!Options.Contains(hoPreserveStyle)) HotTrackFont->SetStyle(Font->Style());
}

bool OpenObject(const std::string& Text) {
    return ShellService().Execute(nullptr, "open", Text, "", "", SW_SHOWNORMAL);
}

bool KeyPressed(int VirtualKey) {
    return (GetKeyState(VirtualKey) & 0x8000) != 0;
}

LONG RectWidth(const TRect& Rect) {
    return std::labs(Rect.Right - Rect.Left);
}

LONG RectHeight(const TRect& Rect) {
    return std::labs(Rect.Bottom - Rect.Top);
}

int DrawText(TCanvas* Canvas, const std::string& Text, int Length, UINT Flags, TRect& Rect) {
    HDC dc = Canvas->Handle();
    TSaveDC saved(dc);
    SelectObject(dc, Canvas->Font()->Handle());
    SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
    SetBkMode(dc, Canvas->Brush()->Style() == bsClear ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, ColorToRGB(Canvas->Brush()->Color()));
    return DrawTextA(dc, Text.c_str(), Length, Rect.Win32(), Flags);
}

void AssignDragCursors() {
    if (!Screen) return;
    static const std::pair<TCursor, TCursor> kCursors[] = {
        {100, crMultiDrag}, {101, crDrag}, {102, crMultiDrag}, {103, crMultiDrag}};
    for (const auto& [id, shape] : kCursors) {
        try {
            Screen->SetCursors(id, Screen->Cursors(shape));
        } catch (...) {
            // A cursor that cannot be had is simply not there.
        }
    }
}
