// List helpers of the toolbar framework: lists that exist only while they
// hold something, an unstable quicksort with extra data, and small numbers.
#pragma once

#include <utility>
#include <vector>

#include "classlib/core/lists.h"

// Creates the list when absent; false when Item is already in it.
bool AddToList(TOwned<TList>& List, void* Item);
bool AddToFrontOfList(TOwned<TList>& List, void* Item);
// Frees the list when it becomes empty.
void RemoveFromList(TOwned<TList>& List, void* Item);

using TListSortExCompare = int (*)(void* Item1, void* Item2, void* ExtraData);
// Hoare quicksort: equal items may change places.
void ListSortEx(TList* List, TListSortExCompare Compare, void* ExtraData);

// The same quicksort over any vector, for the arrangement's own records.
template <class T, class Compare>
void QuickSortEx(std::vector<T>& Items, Compare Less3) {
    if (Items.size() < 2) return;
    struct Range {
        int L, R;
    };
    std::vector<Range> pending{{0, static_cast<int>(Items.size()) - 1}};
    while (!pending.empty()) {
        auto [l, r] = pending.back();
        pending.pop_back();
        while (l < r) {
            int i = l, j = r;
            const T pivot = Items[static_cast<size_t>((l + r) >> 1)];
            do {
                while (Less3(Items[static_cast<size_t>(i)], pivot) < 0) ++i;
                while (Less3(Items[static_cast<size_t>(j)], pivot) > 0) --j;
                if (i <= j) {
                    std::swap(Items[static_cast<size_t>(i)], Items[static_cast<size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (j > l) pending.push_back({l, j});
            l = i;
        }
    }
}

// Truncated quotient moved one step away from zero when there is a remainder.
int DivRoundUp(int Dividend, int Divisor);
