// Popup placement as plain arithmetic: flips, alignment, vertical parents and
// work areas smaller than the popup.
#include <gtest/gtest.h>

#include "toolbar/barpopuppos.h"

namespace {

struct PlaceCase {
    const char* Name;
    bool Submenu;
    BYTE Alignment;
    bool Opposite;
    bool Parent, Vertical;
    TRect Monitor, Item;
    int X, Y, W, H;
    // expected
    int EX, EY;
    BYTE EDir;
    bool EOpposite;
};

const TRect Screen(0, 0, 800, 600);

// clang-format off
const PlaceCase Cases[] = {
    // name, submenu, alignment, opposite, parent, vertical, monitor, item, x, y, w, h -> x, y, direction, opposite
    {"drop-down fits below", false, bpaLeft, false, true, false, Screen, {100, 20, 150, 40}, 100, 40, 200, 100, 100, 40, 4, false},
    {"drop-down flips above", false, bpaLeft, false, true, false, Screen, {100, 560, 150, 580}, 100, 580, 200, 100, 100, 460, 8, false},
    {"drop-down pulled in from the right edge", false, bpaLeft, false, true, false, Screen, {700, 20, 750, 40}, 700, 40, 200, 100, 600, 40, 4, false},
    {"submenu flips left", true, bpaLeft, false, true, false, Screen, {600, 100, 790, 120}, 787, 97, 150, 80, 453, 97, 1, true},
    {"inherited left side kept", true, bpaLeft, true, true, false, Screen, {300, 100, 400, 120}, 397, 97, 150, 80, 153, 97, 1, true},
    {"inherited left side that does not fit", true, bpaLeft, true, true, false, Screen, {100, 100, 200, 120}, 197, 97, 150, 80, 197, 97, 2, false},
    {"popup larger than the work area", false, bpaLeft, false, false, false, Screen, {50, 50, 50, 50}, 50, 50, 1000, 800, 0, 0, 0, false},
    {"right aligned past the left edge", false, bpaRight, false, false, false, Screen, {100, 50, 100, 50}, -100, 50, 200, 100, 100, 50, 6, false},
    {"centred past the right edge", false, bpaCenter, false, false, false, Screen, {750, 50, 750, 50}, 650, 50, 200, 100, 600, 50, 4, false},
    {"left aligned past the right edge opens leftwards", false, bpaLeft, false, false, false, Screen, {750, 50, 750, 50}, 750, 50, 200, 100, 550, 50, 5, false},
    {"vertical parent opens beside the item", false, bpaLeft, false, true, true, Screen, {0, 100, 30, 130}, -200, 100, 200, 100, 30, 100, 2, false},
    {"vertical parent near the bottom is only clamped", false, bpaLeft, false, true, true, Screen, {0, 560, 30, 590}, -200, 560, 200, 100, 30, 500, 2, false},
    {"no room above or below: beside the item", false, bpaLeft, false, true, false, {0, 0, 800, 300}, {100, 100, 150, 120}, 100, 120, 200, 250, 150, 0, 2, false},
};
// clang-format on

}  // namespace

TEST(PopupPlacement, FollowsTheTable) {
    for (const PlaceCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        TBarPopupPositionRec rec;
        rec.PositionAsSubmenu = c.Submenu;
        rec.Alignment = c.Alignment;
        rec.Opposite = c.Opposite;
        rec.MonitorRect = c.Monitor;
        rec.ParentItemRect = c.Item;
        rec.NCSizeX = rec.NCSizeY = 3;
        rec.X = c.X;
        rec.Y = c.Y;
        rec.W = c.W;
        rec.H = c.H;
        TBarPopupParent parent;
        parent.Present = c.Parent;
        parent.Vertical = c.Vertical;
        if (c.Parent) parent.ShownViewers.push_back(c.Item);
        const bool flipped = PlacePopup(parent, rec);
        EXPECT_EQ(rec.X, c.EX);
        EXPECT_EQ(rec.Y, c.EY);
        EXPECT_EQ(rec.AnimDir, c.EDir);
        EXPECT_EQ(rec.Opposite, c.EOpposite);
        EXPECT_EQ(flipped, c.EOpposite);
    }
}

TEST(PopupPlacement, ASubmenuThatFitsNowhereStaysOnTheWorkArea) {
    TBarPopupPositionRec rec;
    rec.PositionAsSubmenu = true;
    rec.MonitorRect = TRect(0, 0, 300, 200);
    rec.ParentItemRect = TRect(10, 10, 290, 30);
    rec.X = 287;
    rec.Y = 7;
    rec.W = 400;
    rec.H = 500;
    PlacePopup(TBarPopupParent{true, false, {}}, rec);
    EXPECT_EQ(rec.X, 0);
    EXPECT_EQ(rec.Y, 0);
}
