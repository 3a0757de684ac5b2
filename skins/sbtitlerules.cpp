#include "skins/sbtitlerules.h"

namespace {

constexpr unsigned kSize = 0xF000;  // SC_SIZE; WMSZ_* are added to it

}  // namespace

TSbSizingZone SbSizingZoneAt(TPoint P, int W, int H, int FrameWidth) {
    if (P.X < 0 || P.Y < 0 || P.X >= W || P.Y >= H) return {};
    const bool inRing =
        P.X < FrameWidth || P.Y < FrameWidth || P.X >= W - FrameWidth || P.Y >= H - FrameWidth;
    if (!inRing) return {};
    const int c = SbSizingCornerSize;
    const bool nearLeft = P.X < c, nearRight = P.X >= W - c;
    const bool nearTop = P.Y < c, nearBottom = P.Y >= H - c;
    if (nearTop && nearLeft) return {kSize + WMSZ_TOPLEFT, crSizeNWSE};
    if (nearTop && nearRight) return {kSize + WMSZ_TOPRIGHT, crSizeNESW};
    if (nearBottom && nearRight) return {kSize + WMSZ_BOTTOMRIGHT, crSizeNWSE};
    if (nearBottom && nearLeft) return {kSize + WMSZ_BOTTOMLEFT, crSizeNESW};
    if (P.Y < FrameWidth) return {kSize + WMSZ_TOP, crSizeNS};
    if (P.Y >= H - FrameWidth) return {kSize + WMSZ_BOTTOM, crSizeNS};
    if (P.X < FrameWidth) return {kSize + WMSZ_LEFT, crSizeWE};
    return {kSize + WMSZ_RIGHT, crSizeWE};
}

TRect SbStatusGripRect(const TSbGripInput& In) {
    if (!In.SizeGrip || !In.Docked || !In.NormalState || !In.Sizable) return {};
    TRect r = In.DockClient;
    r.Left = r.Right - In.ScrollWidth;
    return r;
}

TSbMaxInfo SbMaxInfo(const TRect& Monitor, const TRect& WorkArea, bool FullScreen,
                     TSbTaskbarEdge HidingTaskbar) {
    const TRect area = FullScreen ? Monitor : WorkArea;
    TSbMaxInfo info;
    info.MaxPosition = {area.Left - Monitor.Left, area.Top - Monitor.Top};
    info.MaxSize = {area.Width(), area.Height()};
    if (!FullScreen) {
        constexpr int gap = 2;
        switch (HidingTaskbar) {
            case abeLeft:
                info.MaxPosition.X += gap;
                info.MaxSize.cx -= gap;
                break;
            case abeRight:
                info.MaxSize.cx -= gap;
                break;
            case abeTop:
                info.MaxPosition.Y += gap;
                info.MaxSize.cy -= gap;
                break;
            case abeBottom:
                info.MaxSize.cy -= gap;
                break;
            case abeNone:
                break;
        }
    }
    info.MaxTrackSize = info.MaxSize;
    return info;
}

TSbSystemMenuEntry SbSystemMenuEntry(unsigned Command, bool MenuEnabled, TSbWindowState State,
                                     const TSbSystemMenuOptions& Options) {
    TSbSystemMenuEntry e;
    e.Enabled = MenuEnabled;
    switch (Command & 0xFFF0) {
        case SC_SIZE:
            e.Visible = Options.Sizing;
            e.Enabled = State != swsMaximized;
            break;
        case SC_MOVE:
            e.Enabled = State != swsMaximized;
            break;
        case SC_MINIMIZE:
            e.Visible = Options.Minimize;
            e.Glyph = 2;
            break;
        case SC_MAXIMIZE:
            e.Visible = Options.Maximize;
            e.Enabled = State != swsMaximized;
            e.Glyph = 1;
            break;
        case SC_CLOSE:
            e.Visible = Options.Close;
            e.Default = true;
            e.Glyph = 0;
            break;
        case SC_RESTORE:
            e.Visible = Options.Maximize;
            e.Enabled = State != swsNormal;
            e.Glyph = 3;
            break;
        default:
            break;
    }
    return e;
}
