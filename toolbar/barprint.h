// Painting helpers shared by the framework's windows: the WM_PRINT and
// WM_PRINTCLIENT answers, the WM_NCPAINT update region, regions and brushes,
// and the hollow drag frame that is moved by inverting.
#pragma once

#include <memory>

#include "classlib/graphics/handles.h"
#include "classlib/windows/controls.h"

// Paints the non-client area of Wnd into DC (window coordinates).
using TNCPaintProc = void (*)(HWND Wnd, HDC DC, void* AppData);

// Answers WM_PRINT: non-client part through NCPaintProc, client through
// WM_ERASEBKGND/WM_PRINTCLIENT, then child and owned windows. Result 1.
void HandleWMPrint(HWND Wnd, TMessage& Message, TNCPaintProc NCPaintProc, void* AppData);
// Answers WM_PRINTCLIENT by running the control's paint handler on the DC.
void HandleWMPrintClient(TWinControl* Control, TMessage& Message);

// Clips DC (a window DC) to a WM_NCPAINT region; 0 and 1 mean the whole
// window and leave the clip alone.
void SelectNCUpdateRgn(HWND Wnd, HDC DC, HRGN Rgn);

// The DC a frame painter draws on: the one given (WM_PRINT) or the window's
// own, with the WM_NCPAINT region selected; put back on scope exit.
class TNCPaintDC {
public:
    TNCPaintDC(HWND Wnd, HDC Given, HRGN Rgn);
    TNCPaintDC(const TNCPaintDC&) = delete;
    TNCPaintDC& operator=(const TNCPaintDC&) = delete;
    HDC Get() const { return dc_; }
    // The window's rectangle moved to (0, 0).
    const TRect& Bounds() const { return bounds_; }

private:
    std::unique_ptr<TDCEx> own_;
    HDC dc_;
    std::unique_ptr<TSaveDC> saved_;
    TRect bounds_;
};

TRegionHandle CreateNullRegion();
// An 8 x 8 checkerboard pattern brush.
TBrushHandle CreateHalftoneBrush();

// Moves a hollow frame of thickness NewSize to NewRect from OldRect (drawn
// with OldSize) by inverting; drawing the same frame twice restores the
// screen. NewRect null: the old frame is only erased; OldRect null: the new
// one is only drawn. A null OldBrush is NewBrush.
void DrawInvertRect(HDC DC, const TRect* NewRect, const TRect* OldRect, HBRUSH OldBrush, HBRUSH NewBrush,
                    TSize OldSize, TSize NewSize);
void DrawHalftoneInvertRect(HDC DC, const TRect* NewRect, const TRect* OldRect, TSize OldSize, TSize NewSize);
