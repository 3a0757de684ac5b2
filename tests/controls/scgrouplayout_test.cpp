// The group bar's placement arithmetic, without windows.
#include "controls/scgrouplayout.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TScGroupPlace Group(bool Opened, int OpenHeight, int CaptionHeight = 20) {
    TScGroupPlace g;
    g.Opened = Opened;
    g.CaptionHeight = CaptionHeight;
    g.OpenHeight = [OpenHeight](int) { return OpenHeight; };
    return g;
}

TScBarMetrics Bar(TScGroupBarStyle Style, int G, int Height, int Width = 160) {
    TScBarMetrics bar;
    bar.Style = Style;
    bar.BorderSize = G;
    bar.ClientWidth = Width;
    bar.ClientHeight = Height;
    return bar;
}

TEST(GroupLayout, CategoryViewStacksOpenAndClosedGroupsWithMargins) {
    const std::vector<TScGroupPlace> groups{Group(true, 100), Group(false, 100), Group(true, 60)};
    auto hidden = Group(true, 70);
    hidden.Visible = false;
    std::vector<TScGroupPlace> all = groups;
    all.insert(all.begin() + 1, hidden);
    const TScBarLayout out = LayoutGroups(Bar(gbsCategoryView, 8, 1000), all, -1, 0, false);
    ASSERT_EQ(out.Bounds.size(), 4u);
    EXPECT_EQ(out.Bounds[0], Bounds(8, 8, 144, 100));
    EXPECT_EQ(out.Bounds[1], Bounds(8, 108, 144, 0));  // invisible: no margin, no height
    EXPECT_EQ(out.Bounds[2], Bounds(8, 116, 144, 20));
    EXPECT_EQ(out.Bounds[3], Bounds(8, 144, 144, 60));
    EXPECT_EQ(out.Range, 2 * 8 + 204 - 8);
    EXPECT_FALSE(out.ScrollBarNeeded);
}

TEST(GroupLayout, TaskListShowsEveryGroupOpenAndOverhangPushesTheGroupDown) {
    auto first = Group(false, 80);
    first.Overhang = 16;
    const TScBarLayout out = LayoutGroups(Bar(gbsTaskList, 4, 1000), {first, Group(false, 30)}, -1, 0, false);
    EXPECT_EQ(out.Bounds[0], Bounds(4, 20, 152, 80));
    EXPECT_EQ(out.Bounds[1], Bounds(4, 104, 152, 30));
    // Margins, both groups and the image reaching above the first.
    EXPECT_EQ(out.Range, 8 + 134 - 20 + 16);
}

TEST(GroupLayout, OutlookGivesTheOpenGroupWhatTheCaptionsLeave) {
    const std::vector<TScGroupPlace> groups{Group(false, 0), Group(true, 0), Group(false, 0)};
    const TScBarLayout out = LayoutGroups(Bar(gbsOutlook, 0, 300), groups, -1, 0, false);
    EXPECT_EQ(out.Bounds[0], Bounds(0, 0, 160, 20));
    EXPECT_EQ(out.Bounds[1], Bounds(0, 20, 160, 300 - 40));
    EXPECT_EQ(out.Bounds[2], Bounds(0, 280, 160, 20));
    EXPECT_EQ(out.Range, 299);
    // With none open the first is the open one; with two, the last.
    EXPECT_EQ(ArrangeGroups(Bar(gbsOutlook, 0, 300), {Group(false, 0), Group(false, 0)}, 160, 0)[0].Height(),
              280);
    EXPECT_EQ(ArrangeGroups(Bar(gbsOutlook, 0, 300), {Group(true, 0), Group(true, 0)}, 160, 0)[1].Height(),
              280);
}

TEST(GroupLayout, OutlookOpenGroupNeverGoesBelowZeroInAShortBar) {
    std::vector<TScGroupPlace> groups(30, Group(false, 0));
    groups[3].Opened = true;
    const auto bounds = ArrangeGroups(Bar(gbsOutlook, 8, 100), groups, 144, 0);
    EXPECT_EQ(bounds[3].Height(), 0);
    EXPECT_EQ(bounds[4].Top, bounds[3].Bottom + 8);
}

TEST(GroupLayout, TwentyGroupsInAShortBarGiveRangePageAndAClampedPosition) {
    const std::vector<TScGroupPlace> groups(20, Group(false, 0));
    const TScBarLayout out = LayoutGroups(Bar(gbsCategoryView, 8, 200), groups, -1, 5000, false);
    EXPECT_EQ(out.Range, 8 + 20 * 28);
    EXPECT_TRUE(out.ScrollBarNeeded);
    EXPECT_EQ(out.ScrollPos, out.Range - 200);  // clamped to range - page
    EXPECT_EQ(out.Bounds.back().Bottom + 8, 200);
}

TEST(GroupLayout, ScrollPositionClampsToRangeLessPageAndToZeroWhenAllFits) {
    struct Row {
        int value, range, page, expected;
    };
    const Row rows[] = {
        {-5, 500, 200, 0}, {120, 500, 200, 120}, {400, 500, 200, 300}, {50, 150, 200, 0},  // everything fits
    };
    for (const Row& r : rows) EXPECT_EQ(ClampScrollPos(r.value, r.range, r.page), r.expected) << r.value;
}

TEST(GroupLayout, ClosingAGroupNearTheEndFillsTheBottom) {
    std::vector<TScGroupPlace> groups{Group(true, 150), Group(true, 150), Group(false, 150)};
    // Scrolled to the end with the second open, then the second closes.
    groups[1].Opened = false;
    const TScBarLayout out = LayoutGroups(Bar(gbsCategoryView, 8, 200), groups, -1, 166, true);
    // Content 8 + 158 + 28 + 28 = 222: scrolled so its end meets the bottom.
    EXPECT_EQ(out.Range, 222);
    EXPECT_EQ(out.ScrollPos, 22);
    EXPECT_EQ(out.Bounds.back().Bottom + 8, 200);
}

TEST(GroupLayout, OpeningAGroupBelowTheBottomBringsItIntoView) {
    const std::vector<TScGroupPlace> groups{Group(true, 100), Group(true, 60), Group(true, 80)};
    const TScBarLayout out = LayoutGroups(Bar(gbsCategoryView, 8, 200), groups, 2, 0, false);
    EXPECT_EQ(out.Bounds[2].Bottom + 8, 200);
    // Scrolled back up past its top: the top comes to the margin.
    const TScBarLayout up = LayoutGroups(Bar(gbsCategoryView, 8, 200), groups, 0, 60, true);
    EXPECT_EQ(up.Bounds[0].Top, 8);
}

TEST(GroupLayout, AGroupTallerThanTheBarShowsItsTop) {
    const std::vector<TScGroupPlace> groups{Group(true, 100), Group(true, 500), Group(true, 80)};
    const TScBarLayout out = LayoutGroups(Bar(gbsCategoryView, 8, 200), groups, 1, 0, false);
    EXPECT_EQ(out.Bounds[1].Top, 8);
    // A large caption keeps its image above the group in view.
    std::vector<TScGroupPlace> large = groups;
    large[1].LargeCaption = true;
    large[1].Overhang = 12;
    const TScBarLayout above = LayoutGroups(Bar(gbsCategoryView, 8, 200), large, 1, 700, true);
    EXPECT_EQ(above.Bounds[1].Top, 8);
    const TScBarLayout scrolledPast = LayoutGroups(Bar(gbsCategoryView, 8, 400), large, 2, 0, false);
    EXPECT_GE(scrolledPast.Bounds[2].Top, 0);
}

TEST(GroupLayout, AScrollBarThatTipsTheContentBackAndForthStopsAfterThreeRounds) {
    // Narrow (bar shown) the content is short; wide it is tall: it never settles.
    TScGroupPlace flip = Group(true, 0);
    flip.OpenHeight = [](int Width) { return Width < 140 ? 50 : 500; };
    TScBarMetrics bar = Bar(gbsCategoryView, 8, 200);
    bar.ScrollBarWidth = 17;
    const TScBarLayout out = LayoutGroups(bar, {flip}, -1, 0, false);
    EXPECT_EQ(out.Rounds, 3);
    // A stable content needs one round, or two when the need changes once.
    EXPECT_EQ(LayoutGroups(bar, {Group(true, 50)}, -1, 0, false).Rounds, 1);
    EXPECT_EQ(LayoutGroups(bar, {Group(true, 500)}, -1, 0, false).Rounds, 2);
}

TEST(GroupLayout, ATinyBarWithManyGroupsLaysOutQuickly) {
    const std::vector<TScGroupPlace> groups(2000, Group(true, 40));
    const auto start = std::chrono::steady_clock::now();
    for (TScGroupBarStyle style : {gbsCategoryView, gbsTaskList, gbsOutlook}) {
        const TScBarLayout out = LayoutGroups(Bar(style, 8, 3, 3), groups, 1000, 0, false);
        for (const TRect& r : out.Bounds) ASSERT_TRUE(r.Height() >= 0 && r.Width() >= 0);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(GroupLayout, SeparatorsThatWouldStandAtAnEdgeOrTwiceAreHidden) {
    auto shapes = [](const char* Items) {
        std::vector<TScItemShape> out;
        for (const char* p = Items; *p; ++p) out.push_back({*p != 'h', *p == '-'});
        return out;
    };
    struct Row {
        const char* items;  // '-' separator, 'h' hidden text item, else text
        int first;
        std::vector<bool> hidden;
    };
    const Row rows[] = {
        {"A--B", 0, {false, false, true, false}},
        {"-A-B-", 0, {true, false, false, false, true}},  // leading and trailing
        {"A-h", 0, {false, true, false}},                 // nothing visible follows
        {"A-B", 1, {false, true, false}},                 // first shown once scrolled
        {"Ah-B", 0, {false, false, false, false}},
    };
    for (const Row& r : rows) EXPECT_EQ(HiddenSeparators(shapes(r.items), r.first), r.hidden) << r.items;
}

}  // namespace
