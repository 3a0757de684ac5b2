// The layout as arithmetic: which items show, the chevron, wrapping, line
// alignment, mirroring and scrolling; then random bars checked against the
// rules every layout must keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "toolbar/barlayout.h"

namespace {

TBarLayoutItem Button(int W, int H = 20) {
    TBarLayoutItem item;
    item.Width = W;
    item.Height = H;
    item.ToolbarSized = true;
    return item;
}

TBarLayoutItem Sep() {
    TBarLayoutItem item = Button(6, 6);
    item.Separator = true;
    return item;
}

std::vector<bool> Shown(const std::vector<TBarLayoutItem>& Items) {
    std::vector<bool> result;
    for (const auto& item : Items) result.push_back(item.Show);
    return result;
}

TEST(LayoutTest, SeparatorsNeverLeadTrailOrFollowEachOther) {
    struct Case {
        const char* Name;
        std::vector<TBarLayoutItem> Items;
        std::vector<bool> Shown;
    };
    TBarLayoutItem hidden = Button(30);
    hidden.Wanted = false;
    const Case cases[] = {
        {"leading", {Sep(), Button(30)}, {false, true}},
        {"trailing", {Button(30), Sep(), Sep()}, {true, false, false}},
        {"adjacent", {Button(30), Sep(), Sep(), Button(30)}, {true, true, false, true}},
        {"adjacent across a hidden item",
         {Button(30), Sep(), hidden, Sep(), Button(30)},
         {true, true, false, false, true}},
        {"only separators", {Sep(), Sep()}, {false, false}},
    };
    for (Case c : cases) {
        LayoutBarItems(c.Items, TBarLayoutParams{}, TSize{}, 0);
        EXPECT_EQ(Shown(c.Items), c.Shown) << c.Name;
    }
}

TEST(LayoutTest, TheChevronHidesTheLeastImportantItemsAndNeverTheLastButton) {
    struct Case {
        const char* Name;
        std::vector<int> Widths;
        std::vector<int> Priorities;  // empty: no priority list
        int ChevronOffset;
        std::vector<bool> Shown;
        bool ChevronHasItems;
    };
    const Case cases[] = {
        {"fits: nothing hidden", {30, 30}, {}, 60, {true, true}, false},
        {"without priorities the last goes first", {30, 30, 30}, {}, 80, {true, true, false}, true},
        {"with priorities the least important goes", {30, 30, 30}, {0, 2, 1}, 80, {true, false, true}, true},
        {"a single button stays however long", {200}, {}, 50, {true}, false},
        {"two buttons: one stays", {200, 200}, {1, 0}, 50, {false, true}, true},
    };
    for (const Case& c : cases) {
        std::vector<TBarLayoutItem> items;
        for (size_t i = 0; i < c.Widths.size(); ++i) {
            items.push_back(Button(c.Widths[i]));
            if (!c.Priorities.empty()) items.back().Priority = c.Priorities[i];
        }
        TBarLayoutParams p;
        p.HasChevron = true;
        p.ChevronOffset = c.ChevronOffset;
        p.ChevronSize = 12;
        const TBarLayoutResult r = LayoutBarItems(items, p, TSize{}, 0);
        EXPECT_EQ(Shown(items), c.Shown) << c.Name;
        EXPECT_EQ(r.ChevronHasItems, c.ChevronHasItems) << c.Name;
        for (const auto& item : items) EXPECT_EQ(item.OffEdge, !item.Show) << c.Name;
    }
}

TEST(LayoutTest, HidingAButtonTakesTheSeparatorBesideItAlong) {
    std::vector<TBarLayoutItem> items{Button(30), Sep(), Button(30), Sep(), Button(30)};
    items[0].Priority = 1;
    items[2].Priority = 2;
    items[4].Priority = 0;
    TBarLayoutParams p;
    p.HasChevron = true;
    p.ChevronOffset = 90;
    p.ChevronSize = 10;
    const TBarLayoutResult r = LayoutBarItems(items, p, TSize{}, 0);
    EXPECT_EQ(Shown(items), (std::vector<bool>{true, true, false, false, true}));
    ASSERT_TRUE(r.ChevronShown);
    EXPECT_EQ(r.ChevronRect, TRect(80, 0, 90, 20));
    // The base size counts every item before the chevron took any.
    EXPECT_EQ(r.BaseSize.cx, 102);
}

TEST(LayoutTest, WrappingBreaksLinesAndTurnsSeparatorsIntoLineBreaks) {
    // [40 40] | [40 40]: the group after the separator does not fit on the
    // first line, so the separator becomes the break.
    std::vector<TBarLayoutItem> items{Button(40), Button(40), Sep(), Button(40), Button(40)};
    TBarLayoutParams p;
    p.WrapOffset = 100;
    const TBarLayoutResult r = LayoutBarItems(items, p, TSize{}, 0);
    EXPECT_EQ(r.WrappedLines, 2);
    EXPECT_TRUE(items[2].LineSep);
    EXPECT_EQ(items[2].BoundsRect, TRect(0, 20, 100, 26));  // across the whole bar
    EXPECT_EQ(items[3].BoundsRect, TRect(0, 26, 40, 46));
    EXPECT_EQ(r.TotalSize, (TSize{100, 46}));

    // Without a separator the item itself starts the next line.
    std::vector<TBarLayoutItem> plain{Button(40), Button(40), Button(40)};
    const TBarLayoutResult r2 = LayoutBarItems(plain, p, TSize{}, 0);
    EXPECT_EQ(r2.WrappedLines, 2);
    EXPECT_EQ(plain[2].BoundsRect, TRect(0, 20, 40, 40));
}

TEST(LayoutTest, LinesAreCentredStretchedAndRightAligned) {
    std::vector<TBarLayoutItem> items{Button(30, 10), Button(30, 30), Sep(), Button(20, 10)};
    items[3].RightAlign = true;
    items[1].Stretch = true;
    TBarLayoutParams p;
    p.WrapOffset = 200;
    LayoutBarItems(items, p, TSize{200, 0}, 0);
    EXPECT_EQ(items[0].BoundsRect, TRect(0, 10, 30, 20));     // centred in 30
    EXPECT_EQ(items[2].BoundsRect, TRect(60, 0, 66, 30));     // separator stretched
    EXPECT_EQ(items[3].BoundsRect, TRect(180, 10, 200, 20));  // at the far end
}

TEST(LayoutTest, AVerticalWrappedBarPlacesItsFirstColumnAtTheRight) {
    std::vector<TBarLayoutItem> items{Button(20, 40), Button(30, 40), Button(20, 40)};
    TBarLayoutParams p;
    p.Orientation = boVertical;
    p.WrapOffset = 90;
    const TBarLayoutResult r = LayoutBarItems(items, p, TSize{}, 0);
    EXPECT_EQ(r.TotalSize, (TSize{50, 90}));
    EXPECT_EQ(items[1].BoundsRect, TRect(20, 40, 50, 80));
    EXPECT_EQ(items[2].BoundsRect, TRect(0, 0, 20, 40));
}

TEST(LayoutTest, APopupTallerThanItsLimitScrollsInBands) {
    std::vector<TBarLayoutItem> items;
    for (int i = 0; i < 10; ++i) {
        TBarLayoutItem item = Button(80, 20);
        item.ToolbarSized = false;
        items.push_back(item);
    }
    items[3].Width = 120;
    TBarLayoutParams p;
    p.IsToolbar = false;
    p.MaxHeight = 100;
    TBarLayoutResult r = LayoutBarItems(items, p, TSize{}, 0);
    EXPECT_FALSE(r.ShowUpArrow);
    EXPECT_TRUE(r.ShowDownArrow);
    EXPECT_EQ(r.TotalSize, (TSize{120, 100}));
    // Menu items share the widest width; the fifth reaches into the band.
    EXPECT_EQ(items[0].BoundsRect.Width(), 120);
    EXPECT_TRUE(items[3].Show);
    EXPECT_TRUE(items[4].Clipped);
    EXPECT_FALSE(items[4].Show);

    r = LayoutBarItems(items, p, TSize{}, 50);
    EXPECT_TRUE(r.ShowUpArrow);
    EXPECT_TRUE(r.ShowDownArrow);
    EXPECT_EQ(items[3].BoundsRect.Top, 10);
    EXPECT_TRUE(items[3].Clipped);  // under the top band
    EXPECT_TRUE(items[4].Show);

    r = LayoutBarItems(items, p, TSize{}, 1000);  // clamped to the end
    EXPECT_EQ(r.ScrollOffset, 100);
    EXPECT_FALSE(r.ShowDownArrow);
    EXPECT_TRUE(items[9].Show);
}

TEST(LayoutTest, SameWidthItemsTakeTheWidestOfThem) {
    std::vector<TBarLayoutItem> items{Button(30), Button(50), Button(20)};
    items[0].SameWidth = items[1].SameWidth = true;
    LayoutBarItems(items, TBarLayoutParams{}, TSize{}, 0);
    EXPECT_EQ(items[0].BoundsRect.Width(), 50);
    EXPECT_EQ(items[2].BoundsRect.Width(), 20);
}

// ---- random bars ------------------------------------------------------------------------

struct TRandomBar {
    std::vector<TBarLayoutItem> Items;
    TBarLayoutParams Params;
};

TRandomBar MakeBar(std::mt19937& Rng) {
    auto chance = [&](int Percent) { return static_cast<int>(Rng() % 100) < Percent; };
    auto range = [&](int Lo, int Hi) {
        return Lo + static_cast<int>(Rng() % static_cast<unsigned>(Hi - Lo + 1));
    };
    TRandomBar bar;
    const int count = range(0, 25);
    const bool priorities = chance(50);
    std::vector<int> order(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), Rng);
    for (int i = 0; i < count; ++i) {
        TBarLayoutItem item = chance(25) ? Sep() : Button(range(5, 60), range(10, 30));
        item.Wanted = chance(85);
        item.NoLineBreak = chance(20);
        item.Stretch = chance(10);
        item.RightAlign = chance(5);
        if (priorities && !item.Separator) item.Priority = order[static_cast<size_t>(i)];
        bar.Items.push_back(item);
    }
    // A bar either wraps or hides items behind its chevron.
    bar.Params.HasChevron = chance(60);
    if (bar.Params.HasChevron)
        bar.Params.ChevronOffset = chance(80) ? range(20, 300) : 0;
    else
        bar.Params.WrapOffset = chance(70) ? range(40, 300) : 0;
    bar.Params.ChevronSize = 12;
    return bar;
}

// The rules every layout keeps; empty when all hold.
std::string CheckInvariants(const TRandomBar& Bar, const TBarLayoutResult& R) {
    const auto& items = Bar.Items;
    const int n = static_cast<int>(items.size());
    const LONG limitX = std::max<LONG>(R.TotalSize.cx, Bar.Params.WrapOffset);
    std::vector<TRect> shown;
    int previous = -1, wantedButtons = 0, shownButtons = 0;
    for (int i = 0; i < n; ++i) {
        const auto& item = items[static_cast<size_t>(i)];
        if (item.Wanted && !item.Separator) ++wantedButtons;
        if (!item.Show) continue;
        if (!item.Separator) ++shownButtons;
        if (item.Separator && (previous < 0 || items[static_cast<size_t>(previous)].Separator))
            return "separator leads or follows a separator at " + std::to_string(i);
        previous = i;
        const TRect& r = item.BoundsRect;
        if (r.Left < 0 || r.Top < 0 || r.Right > limitX || r.Bottom > R.TotalSize.cy)
            return "item " + std::to_string(i) + " outside the total size";
        if (!r.IsEmpty()) shown.push_back(r);
    }
    if (previous >= 0 && items[static_cast<size_t>(previous)].Separator) return "trailing separator";
    if (R.ChevronShown) shown.push_back(R.ChevronRect);
    for (size_t a = 0; a < shown.size(); ++a)
        for (size_t b = a + 1; b < shown.size(); ++b) {
            const TRect &x = shown[a], &y = shown[b];
            if (x.Left < y.Right && y.Left < x.Right && x.Top < y.Bottom && y.Top < x.Bottom)
                return "overlap";
        }
    if (wantedButtons == 1 && shownButtons != 1) return "the only button was hidden";
    int worstShown = -1, bestHidden = 0x7FFFFFFF;
    for (const auto& item : items) {
        if (item.Separator || item.Priority < 0) continue;
        if (item.Show) worstShown = std::max(worstShown, item.Priority);
        if (item.OffEdge) bestHidden = std::min(bestHidden, item.Priority);
    }
    if (bestHidden < worstShown) return "a more important item was hidden";
    return "";
}

// The same bar turned on its side: sizes swapped, vertical.
std::string CheckMirror(TRandomBar Bar) {
    TRandomBar turned = Bar;
    for (auto& item : turned.Items) std::swap(item.Width, item.Height);
    turned.Params.Orientation = boVertical;
    const TBarLayoutResult h = LayoutBarItems(Bar.Items, Bar.Params, TSize{}, 0);
    const TBarLayoutResult v = LayoutBarItems(turned.Items, turned.Params, TSize{}, 0);
    if (h.TotalSize.cx != v.TotalSize.cy || h.TotalSize.cy != v.TotalSize.cx) return "total size differs";
    for (size_t i = 0; i < Bar.Items.size(); ++i) {
        const TRect& a = Bar.Items[i].BoundsRect;
        const TRect& b = turned.Items[i].BoundsRect;
        if (Bar.Items[i].Show != turned.Items[i].Show) return "visibility differs at " + std::to_string(i);
        if (!Bar.Items[i].Show) continue;
        const TRect expected(v.TotalSize.cx - a.Bottom, a.Left, v.TotalSize.cx - a.Top, a.Right);
        if (b != expected) return "rectangle differs at " + std::to_string(i);
    }
    return "";
}

TEST(LayoutTest, RandomBarsKeepTheRules) {
    std::atomic<bool> finished{false};
    std::string failure;
    std::thread worker([&] {
        std::mt19937 rng(20261207);
        for (int round = 0; round < 3000 && failure.empty(); ++round) {
            TRandomBar bar = MakeBar(rng);
            TRandomBar original = bar;
            const TBarLayoutResult r = LayoutBarItems(bar.Items, bar.Params, TSize{}, 0);
            std::string problem = CheckInvariants(bar, r);
            if (problem.empty()) problem = CheckMirror(original);
            if (!problem.empty()) failure = "round " + std::to_string(round) + ": " + problem;
        }
        finished = true;
    });
    // A layout that loops would hang the whole run; the watchdog ends it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!finished && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!finished) {
        std::fputs("layout did not finish: it loops\n", stderr);
        std::_Exit(3);
    }
    worker.join();
    EXPECT_EQ(failure, "");
}

}  // namespace
