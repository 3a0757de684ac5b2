#include <gtest/gtest.h>

#include "skins/sbtitlerules.h"

namespace {

constexpr int W = 300, H = 200, FW = 4;

struct TZoneRow {
    int X, Y;
    unsigned Command;
    TCursor Cursor;
};

TEST(SbSizingZone, GridAroundTheCornerLimits) {
    const TZoneRow rows[] = {
        {3, 5, 0xF004, crSizeNWSE},  // the corner of a usual grab
        {9, 2, 0xF004, crSizeNWSE},  // last column of the corner
        {10, 2, 0xF003, crSizeNS},   // first column of the top edge: no dead line at 10
        {11, 2, 0xF003, crSizeNS},
        {W - 11, 2, 0xF003, crSizeNS},    // last column of the top edge
        {W - 10, 2, 0xF005, crSizeNESW},  // the right corner is as wide as the left one
        {W - 9, 2, 0xF005, crSizeNESW},
        {W - 1, 0, 0xF005, crSizeNESW},
        {2, 9, 0xF004, crSizeNWSE},
        {2, 10, 0xF001, crSizeWE},  // first row of the left edge
        {2, H - 11, 0xF001, crSizeWE},
        {2, H - 10, 0xF007, crSizeNESW},
        {W - 2, 10, 0xF002, crSizeWE},
        {W - 2, H - 10, 0xF008, crSizeNWSE},
        {W - 10, H - 1, 0xF008, crSizeNWSE},
        {W - 11, H - 1, 0xF006, crSizeNS},
        {10, H - 1, 0xF006, crSizeNS},
        {9, H - 4, 0xF007, crSizeNESW},
        {5, 5, 0, crDefault},    // within 10 of both edges but inside the frame ring
        {FW, 50, 0, crDefault},  // first column of the client area
        {W - FW - 1, 50, 0, crDefault},
        {150, 100, 0, crDefault},
        {-1, 50, 0, crDefault},  // outside the bar
        {W, 50, 0, crDefault},
    };
    for (const auto& r : rows) {
        const TSbSizingZone z = SbSizingZoneAt({r.X, r.Y}, W, H, FW);
        EXPECT_EQ(z.Command, r.Command) << r.X << "," << r.Y;
        EXPECT_EQ(z.Cursor, r.Cursor) << r.X << "," << r.Y;
    }
}

TEST(SbStatusGrip, ShownOnlyOnASizableNormalForm) {
    TSbGripInput in;
    in.DockClient = {0, 0, 400, 22};
    in.ScrollWidth = 17;
    EXPECT_EQ(SbStatusGripRect(in), (TRect{383, 0, 400, 22}));
    for (auto off : {&TSbGripInput::SizeGrip, &TSbGripInput::Docked, &TSbGripInput::NormalState,
                     &TSbGripInput::Sizable}) {
        TSbGripInput o = in;
        o.*off = false;
        EXPECT_TRUE(SbStatusGripRect(o).IsEmpty());
    }
}

TEST(SbMaxInfo, WorkAreaOfAMonitorWithABottomTaskbar) {
    const TRect monitor{0, 0, 1024, 768}, work{0, 0, 1024, 728};
    const TSbMaxInfo i = SbMaxInfo(monitor, work, false, abeNone);
    EXPECT_EQ(i.MaxPosition, (TPoint{0, 0}));
    EXPECT_EQ(i.MaxSize, (TSize{1024, 728}));
    EXPECT_EQ(i.MaxTrackSize, i.MaxSize);
    const TSbMaxInfo full = SbMaxInfo(monitor, work, true, abeBottom);
    EXPECT_EQ(full.MaxSize, (TSize{1024, 768}));
    EXPECT_EQ(full.MaxPosition, (TPoint{0, 0}));
}

TEST(SbMaxInfo, PositionIsRelativeToASecondMonitor) {
    const TRect monitor{1024, 0, 2048, 768}, work{1024, 30, 2048, 768};
    const TSbMaxInfo i = SbMaxInfo(monitor, work, false, abeNone);
    EXPECT_EQ(i.MaxPosition, (TPoint{0, 30}));
    EXPECT_EQ(i.MaxSize, (TSize{1024, 738}));
}

TEST(SbMaxInfo, HidingTaskbarLeavesItsEdgeFree) {
    const TRect monitor{0, 0, 800, 600};
    struct {
        TSbTaskbarEdge Edge;
        TPoint Position;
        TSize Size;
    } rows[] = {
        {abeLeft, {2, 0}, {798, 600}},  // the window moves off the edge, not only shrinks
        {abeTop, {0, 2}, {800, 598}},
        {abeRight, {0, 0}, {798, 600}},
        {abeBottom, {0, 0}, {800, 598}},
    };
    for (const auto& r : rows) {
        const TSbMaxInfo i = SbMaxInfo(monitor, monitor, false, r.Edge);
        EXPECT_EQ(i.MaxPosition, r.Position) << r.Edge;
        EXPECT_EQ(i.MaxSize, r.Size) << r.Edge;
        EXPECT_EQ(i.MaxTrackSize, r.Size) << r.Edge;
    }
}

TEST(SbSystemMenuEntry, EntriesByStateAndOptions) {
    const TSbSystemMenuOptions all;
    TSbSystemMenuOptions mainWindow;  // fixed border, no maximise button
    mainWindow.Maximize = false;
    struct {
        unsigned Command;
        TSbWindowState State;
        const TSbSystemMenuOptions* Options;
        bool Visible, Enabled, Default;
        int Glyph;
    } rows[] = {
        {SC_SIZE, swsNormal, &all, true, true, false, -1},
        {SC_SIZE, swsMaximized, &all, true, false, false, -1},
        {SC_MOVE, swsMaximized, &all, true, false, false, -1},
        {SC_MOVE, swsNormal, &all, true, true, false, -1},
        {SC_MINIMIZE, swsNormal, &all, true, true, false, 2},
        {SC_MAXIMIZE, swsNormal, &all, true, true, false, 1},
        {SC_MAXIMIZE, swsMaximized, &all, true, false, false, 1},
        {SC_RESTORE, swsNormal, &all, true, false, false, 3},
        {SC_RESTORE, swsMinimized, &all, true, true, false, 3},
        {SC_CLOSE, swsNormal, &all, true, true, true, 0},
        {SC_MAXIMIZE, swsNormal, &mainWindow, false, true, false, 1},
        {SC_RESTORE, swsMinimized, &mainWindow, false, true, false, 3},
        {SC_MINIMIZE, swsNormal, &mainWindow, true, true, false, 2},
    };
    for (const auto& r : rows) {
        const TSbSystemMenuEntry e = SbSystemMenuEntry(r.Command, true, r.State, *r.Options);
        EXPECT_EQ(e.Visible, r.Visible) << std::hex << r.Command << " " << r.State;
        EXPECT_EQ(e.Enabled, r.Enabled) << std::hex << r.Command << " " << r.State;
        EXPECT_EQ(e.Default, r.Default) << std::hex << r.Command;
        EXPECT_EQ(e.Glyph, r.Glyph) << std::hex << r.Command;
    }
    TSbSystemMenuOptions fixed;
    fixed.Sizing = false;
    EXPECT_FALSE(SbSystemMenuEntry(SC_SIZE, true, swsNormal, fixed).Visible);
    // Commands without a rule keep the window menu's own state.
    EXPECT_FALSE(SbSystemMenuEntry(SC_MINIMIZE, false, swsMinimized, all).Enabled);
    EXPECT_FALSE(SbSystemMenuEntry(0xF140, false, swsNormal, all).Enabled);
}

}  // namespace
