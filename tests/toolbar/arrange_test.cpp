// The dock's arrangement as pure logic: the rules of rows, wrapping,
// shrinking, stretching and full-size bars, the invariants every result
// keeps, and arbitrary input (including far-off and negative rows).
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "toolbar/bararrange.h"

namespace {

TArrangeBar Bar(int Row, int Pos, int Length, TBarShrinkMode Mode = tbsmNone, int Min = 0) {
    TArrangeBar bar;
    bar.DockRow = Row;
    bar.DockPos = Pos;
    bar.FullLength = Length;
    bar.ShrinkMode = Mode;
    bar.MinSize = Min;
    return bar;
}

// Checks what every arrangement must keep, whatever the input.
void ExpectSound(const std::vector<TArrangeBar>& bars, const TArrangement& a, int length, bool oneRow) {
    ASSERT_EQ(a.Bars.size(), bars.size());
    std::vector<int> sortedOrder = a.Order;
    std::sort(sortedOrder.begin(), sortedOrder.end());
    for (size_t i = 0; i < sortedOrder.size(); ++i) ASSERT_EQ(sortedOrder[i], static_cast<int>(i));
    // Rows are ranked: never more of them than bars.
    ASSERT_LE(a.RowCount, static_cast<int>(bars.size()));
    for (int row = 0; row < a.RowCount; ++row) {
        std::vector<int> members;
        for (int i : a.Order)
            if (a.Bars[static_cast<size_t>(i)].Row == row) members.push_back(i);
        int end = 0;
        for (int i : members) {
            const TArrangedBar& r = a.Bars[static_cast<size_t>(i)];
            // Bars of a row follow the list order without overlapping.
            ASSERT_GE(r.Pos, end) << "bar " << i;
            ASSERT_GE(r.Size, 0);
            end = r.Pos + r.Size;
            if (bars[static_cast<size_t>(i)].FullSize) {
                EXPECT_EQ(members.size(), 1u) << "a full-size bar shares row " << row;
                EXPECT_GE(r.Size, length);
            }
            if (bars[static_cast<size_t>(i)].ShrinkMode == tbsmNone &&
                !bars[static_cast<size_t>(i)].Stretch && !bars[static_cast<size_t>(i)].FullSize) {
                EXPECT_EQ(r.Size, std::max(bars[static_cast<size_t>(i)].FullLength, 0));
            }
        }
    }
    // One row means one, unless full-size bars claim rows of their own.
    const bool fullSizeBars =
        std::any_of(bars.begin(), bars.end(), [](const TArrangeBar& b) { return b.FullSize; });
    oneRow = oneRow && !fullSizeBars;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (bars[i].Visible) {
            EXPECT_GE(a.Bars[i].Row, 0) << "visible bar " << i << " left unplaced";
            if (oneRow) {
                EXPECT_EQ(a.Bars[i].Row, 0);
            }
        } else {
            EXPECT_EQ(a.Bars[i].Row, -1);
        }
    }
}

// The input a dock would hold after committing an arrangement: the list in
// the arranged order with the arranged rows and places.
std::vector<TArrangeBar> Committed(const std::vector<TArrangeBar>& bars, const TArrangement& a,
                                   std::vector<int>& from) {
    std::vector<TArrangeBar> out;
    from.clear();
    for (int i : a.Order) {
        TArrangeBar bar = bars[static_cast<size_t>(i)];
        if (a.Bars[static_cast<size_t>(i)].Row >= 0) {
            bar.DockRow = a.Bars[static_cast<size_t>(i)].Row;
            bar.DockPos = a.Bars[static_cast<size_t>(i)].Pos;
        }
        out.push_back(bar);
        from.push_back(i);
    }
    return out;
}

}  // namespace

TEST(Arrange, BarsThatDoNotFitWrapToTheNextRow) {
    const std::vector<TArrangeBar> bars{Bar(0, 0, 120), Bar(0, 130, 120)};
    TArrangement a = ArrangeBars(bars, 200, false);
    EXPECT_EQ(a.Bars[0].Row, 0);
    EXPECT_EQ(a.Bars[1].Row, 1);
    EXPECT_EQ(a.Bars[1].Pos, 80);  // the gap shrinks so that the bar ends with the row
    // One row only: both stay and the later one shrinks as far as it may.
    std::vector<TArrangeBar> wrapping{Bar(0, 0, 120), Bar(0, 130, 120, tbsmChevron, 30)};
    a = ArrangeBars(wrapping, 200, true);
    EXPECT_EQ(a.Bars[1].Row, 0);
    EXPECT_EQ(a.Bars[1].Pos, 120);
    EXPECT_EQ(a.Bars[1].Size, 80);
}

TEST(Arrange, ChevronBarsShareARowWhileTheirMinimumsFitAndTheLastGivesFirst) {
    const std::vector<TArrangeBar> bars{Bar(0, 0, 150, tbsmChevron, 40), Bar(0, 150, 150, tbsmChevron, 40)};
    TArrangement a = ArrangeBars(bars, 200, false);
    EXPECT_EQ(a.Bars[1].Row, 0);
    EXPECT_EQ(a.Bars[0].Size, 150);
    EXPECT_EQ(a.Bars[1].Size, 50);
    EXPECT_EQ(a.Bars[1].Pos, 150);
    // Below the minimums the row breaks after all.
    a = ArrangeBars(bars, 70, false);
    EXPECT_EQ(a.Bars[1].Row, 1);
}

TEST(Arrange, FullSizeAndStretchBarsTakeTheRoom) {
    std::vector<TArrangeBar> bars{Bar(0, 0, 50), Bar(0, 60, 50)};
    bars[1].FullSize = true;
    TArrangement a = ArrangeBars(bars, 300, false);
    EXPECT_NE(a.Bars[0].Row, a.Bars[1].Row);
    EXPECT_EQ(a.Bars[1].Pos, 0);
    EXPECT_EQ(a.Bars[1].Size, 300);

    std::vector<TArrangeBar> stretching{Bar(0, 0, 50), Bar(0, 80, 50)};
    stretching[1].Stretch = true;
    a = ArrangeBars(stretching, 300, false);
    EXPECT_EQ(a.Bars[1].Pos, 50);                    // takes its gap
    EXPECT_EQ(a.Bars[1].Pos + a.Bars[1].Size, 300);  // and the row's end
}

TEST(Arrange, EmptyRowsCollapseAndRowsOfAnySizeAreRanked) {
    struct Case {
        int first, second;
        int expectFirst, expectSecond;
    } cases[] = {
        {0, 5, 0, 1},  {0, 2000000000, 0, 1},  // no walk over two thousand million empty rows
        {-3, 1, 0, 1},                         // a negative row counts as row 0
        {-3, 0, 0, 0}, {7, 7, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<TArrangeBar> bars{Bar(c.first, 0, 40), Bar(c.second, 50, 40)};
        TArrangement a = ArrangeBars(bars, 300, false);
        EXPECT_EQ(a.Bars[0].Row, c.expectFirst) << c.first << "," << c.second;
        EXPECT_EQ(a.Bars[1].Row, c.expectSecond) << c.first << "," << c.second;
    }
}

TEST(Arrange, ADraggedBarAskingForItsOwnRowGetsOne) {
    std::vector<TArrangeBar> bars{Bar(0, 0, 40), Bar(0, 50, 40), Bar(1, 0, 40)};
    bars[1].NeedsOwnRow = true;
    bars[1].Dragged = true;
    TArrangement a = ArrangeBars(bars, 300, false);
    EXPECT_EQ(a.Bars[1].Row, 0);
    EXPECT_EQ(a.Bars[0].Row, 1);
    EXPECT_EQ(a.Bars[2].Row, 2);
}

TEST(Arrange, ADraggedBarLandsWhereTheCursorPutsItAndLaterBarsStay) {
    // Bars at 0, 100 and 200; the middle one is dragged left to 60.
    std::vector<TArrangeBar> bars{Bar(0, 0, 40), Bar(0, 60, 40), Bar(0, 200, 40)};
    bars[1].Dragged = true;
    TArrangement a = ArrangeBars(bars, 400, false);
    EXPECT_EQ(a.Bars[1].Pos, 60);
    EXPECT_EQ(a.Bars[2].Pos, 200);
}

TEST(Arrange, HiddenBarsAreNotPlacedAndLeaveNoEmptyRow) {
    std::vector<TArrangeBar> bars{Bar(0, 0, 40), Bar(1, 0, 40)};
    bars[0].Visible = false;
    TArrangement a = ArrangeBars(bars, 300, false);
    EXPECT_EQ(a.Bars[0].Row, -1);
    EXPECT_EQ(a.Bars[1].Row, 0);
}

TEST(Arrange, RowsArePlacedAcrossTheDock) {
    const std::vector<TArrangeBar> bars{Bar(0, 0, 40), Bar(0, 50, 40), Bar(1, 0, 40)};
    TArrangement a = ArrangeBars(bars, 300, false);
    TRowPlacement p = PlaceRows(a, {22, 16, 30}, false);
    // A row is its thickest bar plus the docked frame.
    EXPECT_EQ(p.RowThickness, (std::vector<int>{26, 34}));
    EXPECT_EQ(p.Thickness, 60);
    EXPECT_EQ(p.Bounds[1], TRect(50, 0, 90, 26));
    EXPECT_EQ(p.Bounds[2], TRect(0, 26, 40, 60));
    TRowPlacement vertical = PlaceRows(a, {22, 16, 30}, true);
    EXPECT_EQ(vertical.Bounds[2], TRect(26, 0, 60, 40));
}

TEST(Arrange, ArbitraryInputGivesSoundAndStableResults) {
    std::mt19937 random(20261207);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const int extremes[] = {0, 1, 2, -1, -1000000, 1000000, 2147483647, -2147483647};
    int rounds = 0;
    while (std::chrono::steady_clock::now() < deadline && rounds < 20000) {
        ++rounds;
        const int count = static_cast<int>(random() % 12);
        const int length = static_cast<int>(random() % 400);
        const bool oneRow = random() % 5 == 0;
        std::vector<TArrangeBar> bars;
        bool dragged = false;
        for (int i = 0; i < count; ++i) {
            TArrangeBar bar;
            bar.DockRow = random() % 4 == 0 ? extremes[random() % 8] : static_cast<int>(random() % 4);
            bar.DockPos = random() % 4 == 0 ? extremes[random() % 8] : static_cast<int>(random() % 500) - 1;
            bar.FullLength = static_cast<int>(random() % 200);
            bar.MinSize = static_cast<int>(random() % 200);
            bar.ShrinkMode = static_cast<TBarShrinkMode>(random() % 3);
            bar.Visible = random() % 6 != 0;
            bar.FullSize = random() % 8 == 0;
            bar.Stretch = random() % 8 == 0;
            if (!dragged && random() % 4 == 0) {
                dragged = bar.Dragged = true;
                bar.NeedsOwnRow = random() % 2 == 0;
                bar.KeepsListIndex = random() % 2 == 0;
            }
            bars.push_back(bar);
        }
        const TArrangement first = ArrangeBars(bars, length, oneRow);
        ExpectSound(bars, first, length, oneRow);
        if (::testing::Test::HasFailure()) return;
        // Without a drag, arranging what was committed changes nothing.
        if (!dragged) {
            std::vector<int> from;
            const std::vector<TArrangeBar> again = Committed(bars, first, from);
            const TArrangement second = ArrangeBars(again, length, oneRow);
            for (size_t k = 0; k < again.size(); ++k) {
                const TArrangedBar& was = first.Bars[static_cast<size_t>(from[k])];
                EXPECT_EQ(second.Bars[k].Row, was.Row) << "round " << rounds << " bar " << from[k];
                EXPECT_EQ(second.Bars[k].Pos, was.Pos) << "round " << rounds << " bar " << from[k];
                EXPECT_EQ(second.Bars[k].Size, was.Size) << "round " << rounds << " bar " << from[k];
            }
            if (::testing::Test::HasFailure()) return;
        }
    }
    EXPECT_GT(rounds, 100);
}
