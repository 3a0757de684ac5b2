#include "toolbar/barprint.h"

#include <algorithm>

namespace {

constexpr LPARAM PrintChildFlags = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN;

struct PrintContext {
    HWND parent;
    HDC dc;
    LPARAM flags;
    bool owned;
};

void PrintOne(HWND Parent, HWND Child, HDC DC, LPARAM Flags) {
    RECT r{};
    GetWindowRect(Child, &r);
    MapWindowPoints(nullptr, Parent, reinterpret_cast<POINT*>(&r), 2);
    TSaveDC saved(DC);
    POINT origin{};
    GetWindowOrgEx(DC, &origin);
    SetWindowOrgEx(DC, origin.x - r.left, origin.y - r.top, nullptr);
    IntersectClipRect(DC, 0, 0, r.right - r.left, r.bottom - r.top);
    SendMessageW(Child, WM_PRINT, reinterpret_cast<WPARAM>(DC), Flags);
}

BOOL CALLBACK PrintEnumerated(HWND Wnd, LPARAM Data) {
    auto* context = reinterpret_cast<PrintContext*>(Data);
    if (!(GetWindowLongW(Wnd, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    // Children: only the direct ones (EnumChildWindows walks the whole tree).
    // Top-level windows: only those this window owns.
    if (reinterpret_cast<HWND>(GetWindowLongPtrW(Wnd, GWLP_HWNDPARENT)) != context->parent) return TRUE;
    if (!context->owned && GetParent(Wnd) != context->parent) return TRUE;
    PrintOne(context->parent, Wnd, context->dc, context->flags);
    return TRUE;
}

void ShiftOrigin(HDC DC, POINT By) {
    POINT origin{};
    GetWindowOrgEx(DC, &origin);
    SetWindowOrgEx(DC, origin.x - By.x, origin.y - By.y, nullptr);
}

// The frame of R: R without its inside.
TRegionHandle FrameRegion(const TRect& R, TSize Size) {
    TRegionHandle outer(CreateRectRgnIndirect(R.Win32()));
    TRect inner(R.Left + Size.cx, R.Top + Size.cy, R.Right - Size.cx, R.Bottom - Size.cy);
    inner.Left = std::min(inner.Left, R.Right);
    inner.Top = std::min(inner.Top, R.Bottom);
    inner.Right = std::max(inner.Right, inner.Left);
    inner.Bottom = std::max(inner.Bottom, inner.Top);
    TRegionHandle hole(CreateRectRgnIndirect(inner.Win32()));
    TRegionHandle frame(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(frame.Get(), outer.Get(), hole.Get(), RGN_XOR);
    return frame;
}

void InvertRegion(HDC DC, HRGN Region, HBRUSH Brush) {
    TSaveDC saved(DC);
    SelectClipRgn(DC, Region);
    RECT box{};
    GetClipBox(DC, &box);
    TSelectObject brush(DC, Brush);
    PatBlt(DC, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
}

}  // namespace

void HandleWMPrint(HWND Wnd, TMessage& Message, TNCPaintProc NCPaintProc, void* AppData) {
    const LPARAM flags = Message.LParam;
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    Message.Result = 1;
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(Wnd)) return;
    TSaveDC whole(dc);
    if ((flags & PRF_NONCLIENT) && NCPaintProc) {
        TSaveDC saved(dc);
        NCPaintProc(Wnd, dc, AppData);
    }
    POINT clientOrigin{0, 0};
    ClientToScreen(Wnd, &clientOrigin);
    RECT window{};
    GetWindowRect(Wnd, &window);
    clientOrigin.x -= window.left;
    clientOrigin.y -= window.top;
    if (flags & PRF_CLIENT) {
        if (flags & PRF_ERASEBKGND) {
            TSaveDC saved(dc);
            if (flags & PRF_NONCLIENT) ShiftOrigin(dc, clientOrigin);
            SendMessageW(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        }
        {
            TSaveDC saved(dc);
            if (flags & PRF_NONCLIENT) ShiftOrigin(dc, clientOrigin);
            SendMessageW(Wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
        }
    }
    ShiftOrigin(dc, clientOrigin);
    if (flags & PRF_CHILDREN) {
        PrintContext context{Wnd, dc, PrintChildFlags, false};
        EnumChildWindows(Wnd, PrintEnumerated, reinterpret_cast<LPARAM>(&context));
    }
    if (flags & PRF_OWNED) {
        PrintContext context{Wnd, dc, flags, true};
        EnumWindows(PrintEnumerated, reinterpret_cast<LPARAM>(&context));
    }
}

void HandleWMPrintClient(TWinControl* Control, TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    TSaveDC saved(dc);
    Control->Perform(WM_PAINT, Message.WParam, 0);
}

void SelectNCUpdateRgn(HWND Wnd, HDC DC, HRGN Rgn) {
    if (reinterpret_cast<UINT_PTR>(Rgn) <= 1) return;
    RECT window{};
    GetWindowRect(Wnd, &window);
    if (SelectClipRgn(DC, Rgn) == ERROR) {
        TRegionHandle whole(CreateRectRgnIndirect(&window));
        SelectClipRgn(DC, whole.Get());
    }
    OffsetClipRgn(DC, -window.left, -window.top);
}

TNCPaintDC::TNCPaintDC(HWND Wnd, HDC Given, HRGN Rgn) {
    if (!Given) own_ = std::make_unique<TDCEx>(Wnd, nullptr, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS);
    dc_ = Given ? Given : own_->Get();
    saved_ = std::make_unique<TSaveDC>(dc_);
    SelectNCUpdateRgn(Wnd, dc_, Rgn);
    RECT window{};
    GetWindowRect(Wnd, &window);
    bounds_ = TRect(0, 0, window.right - window.left, window.bottom - window.top);
}

TRegionHandle CreateNullRegion() {
    return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
}

TBrushHandle CreateHalftoneBrush() {
    WORD pattern[8];
    for (int i = 0; i < 8; ++i) pattern[i] = (i % 2 == 0) ? 0x5555 : 0xAAAA;
    TBitmapHandle bitmap(CreateBitmap(8, 8, 1, 1, pattern));
    return TBrushHandle(CreatePatternBrush(bitmap.Get()));
}

void DrawInvertRect(HDC DC, const TRect* NewRect, const TRect* OldRect, HBRUSH OldBrush, HBRUSH NewBrush,
                    TSize OldSize, TSize NewSize) {
    TSaveDC saved(DC);
    TRegionHandle newFrame = NewRect ? FrameRegion(*NewRect, NewSize) : CreateNullRegion();
    if (!OldRect) {
        InvertRegion(DC, newFrame.Get(), NewBrush);
        return;
    }
    TRegionHandle oldFrame = FrameRegion(*OldRect, OldSize);
    if (!OldBrush) OldBrush = NewBrush;
    if (OldBrush == NewBrush) {
        // Where both frames lie, inverting twice would change nothing.
        TRegionHandle both(CreateRectRgn(0, 0, 0, 0));
        CombineRgn(both.Get(), oldFrame.Get(), newFrame.Get(), RGN_XOR);
        InvertRegion(DC, both.Get(), NewBrush);
    } else {
        InvertRegion(DC, oldFrame.Get(), OldBrush);
        InvertRegion(DC, newFrame.Get(), NewBrush);
    }
}

void DrawHalftoneInvertRect(HDC DC, const TRect* NewRect, const TRect* OldRect, TSize OldSize,
                            TSize NewSize) {
    TBrushHandle brush = CreateHalftoneBrush();
    DrawInvertRect(DC, NewRect, OldRect, nullptr, brush.Get(), OldSize, NewSize);
}
