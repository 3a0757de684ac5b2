// The scope lines' history: a ring of the newest values that starts cleared,
// always has room for one value and keeps the newest values when it shrinks.
#include <gtest/gtest.h>

#include <vector>

#include "notify/zksimscope.h"

namespace {

std::vector<int> Contents(const TZkScopeLineValues& Values) {
    std::vector<int> out;
    for (int i = 0; i < Values.Count(); ++i) out.push_back(Values.Item(i));
    return out;
}

TEST(ScopeLineValues, AFullRingOverwritesTheOldestInOrder) {
    TZkScopeLineValues values(4);
    for (int v = 1; v <= 6; ++v) values.Add(v);
    EXPECT_EQ(Contents(values), (std::vector<int>{3, 4, 5, 6}));
    values.Clear();
    EXPECT_EQ(Contents(values), (std::vector<int>{0, 0}));
}

TEST(ScopeLineValues, ResizingKeepsTheNewestValuesOldestFirst) {
    TZkScopeLineValues values(10);
    for (int v = 1; v <= 15; ++v) values.Add(v);  // the ring has wrapped
    values.SetCapacity(4);
    EXPECT_EQ(Contents(values), (std::vector<int>{12, 13, 14, 15}));
    values.Add(16);
    EXPECT_EQ(Contents(values), (std::vector<int>{13, 14, 15, 16}));
    values.SetCapacity(6);
    values.Add(17);
    EXPECT_EQ(Contents(values), (std::vector<int>{13, 14, 15, 16, 17}));
    values.SetCapacity(0);
    EXPECT_EQ(values.Capacity(), 1);
    EXPECT_EQ(Contents(values), (std::vector<int>{17}));
    values.Clear();
    EXPECT_EQ(Contents(values), (std::vector<int>{0}));
}

TEST(ScopeLines, ANewLineStartsClearedWithTheChartsWidth) {
    auto scope = MakeOwned<TZkSimScope>(nullptr);
    scope->SetBounds(0, 0, 465, 100);
    TZkScopeLine* line = scope->Lines()->Add();
    EXPECT_EQ(line->Values().Capacity(), 465);
    EXPECT_EQ(Contents(line->Values()), (std::vector<int>{0, 0}));
    for (int v = 1; v <= 500; ++v) line->Values().Add(v);
    EXPECT_EQ(line->Values().Count(), 465);
    EXPECT_EQ(line->Values().Item(0), 36);
    EXPECT_EQ(line->Values().Item(464), 500);

    scope->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(line->Values().Capacity(), 100) << "a narrower chart keeps the newest values";
    EXPECT_EQ(line->Values().Item(99), 500);

    scope->SetBounds(0, 0, 0, 100);
    TZkScopeLine* narrow = scope->Lines()->Add();
    EXPECT_EQ(narrow->Values().Capacity(), 1);
    narrow->Values().Add(7);
    EXPECT_EQ(Contents(narrow->Values()), (std::vector<int>{7}));
}

TEST(ScopeLines, AssignCopiesLinesWithTheirHistory) {
    auto source = MakeOwned<TZkSimScope>(nullptr);
    TZkScopeLine* line = source->Lines()->Add();
    line->SetName("Disk 0");
    line->SetColor(clRed);
    line->SetPosition(42);
    line->Values().Add(9);
    EXPECT_EQ(line->DisplayName(), "Disk 0");
    auto target = MakeOwned<TZkSimScope>(nullptr);
    target->Lines()->Add();
    target->Lines()->Add();
    target->SetLines(source->Lines());
    ASSERT_EQ(target->Lines()->Count(), 1);
    TZkScopeLine* copy = target->Lines()->Items(0);
    EXPECT_EQ(copy->Name(), "Disk 0");
    EXPECT_EQ(copy->Color(), clRed);
    EXPECT_EQ(copy->Position(), 42);
    EXPECT_EQ(Contents(copy->Values()), (std::vector<int>{0, 0, 9}));
}

}  // namespace
