// The title bar's and status bar's decisions as plain arithmetic: the sizing
// zone under a point, the size grip's rectangle, the maximised size with an
// auto-hiding taskbar, and the state of each system-menu entry.
#pragma once

#include "classlib/graphics/geometry.h"
#include "classlib/windows/controls.h"

// Corners reach this far along each edge.
constexpr int SbSizingCornerSize = 10;

struct TSbSizingZone {
    unsigned Command = 0;  // SC_SIZE + WMSZ_..., 0 outside every zone
    TCursor Cursor = crDefault;
};

// P in the bar's coordinates, W x H the bar's size. Only the frame ring of
// FrameWidth counts; inside it, a point within SbSizingCornerSize of two
// edges is a corner.
TSbSizingZone SbSizingZoneAt(TPoint P, int W, int H, int FrameWidth);

struct TSbGripInput {
    TRect DockClient;  // the status dock's client rectangle
    bool SizeGrip = true;
    bool Docked = true;  // the toolbar sits in a dock and is not being destroyed
    bool NormalState = true;
    bool Sizable = true;   // an active, resizable title bar, or a thick frame
    int ScrollWidth = 17;  // SM_CXVSCROLL
};
// Empty when no grip is shown.
TRect SbStatusGripRect(const TSbGripInput& In);

// Where an auto-hiding taskbar sits; abeNone when it does not hide itself.
enum TSbTaskbarEdge { abeNone, abeLeft, abeTop, abeRight, abeBottom };

struct TSbMaxInfo {
    TPoint MaxPosition;  // relative to the monitor's origin
    TSize MaxSize;
    TSize MaxTrackSize;
};
// A hiding taskbar keeps a 2-pixel strip free at its edge so that the mouse
// can still reach it; on the top or left edge the window moves by it too.
TSbMaxInfo SbMaxInfo(const TRect& Monitor, const TRect& WorkArea, bool FullScreen,
                     TSbTaskbarEdge HidingTaskbar);

enum TSbWindowState { swsNormal, swsMinimized, swsMaximized };

struct TSbSystemMenuOptions {
    bool Sizing = true;  // not FixedSize
    bool Minimize = true;
    bool Maximize = true;
    bool Close = true;
};

struct TSbSystemMenuEntry {
    bool Visible = true;
    bool Enabled = true;
    bool Default = false;
    int Glyph = -1;  // glyph marker index, -1 none
};
// The skinned entry for a system command; MenuEnabled is the state the
// window's own menu gives it, kept for commands with no rule of their own.
TSbSystemMenuEntry SbSystemMenuEntry(unsigned Command, bool MenuEnabled, TSbWindowState State,
                                     const TSbSystemMenuOptions& Options);
