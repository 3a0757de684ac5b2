#include "toolbar/barfloatsizes.h"

#include <algorithm>

std::vector<TBarFloatSize> BuildFloatSizeList(const TBarFloatTrial& Trial, int MinWrap) {
    std::vector<TBarFloatSize> list;
    TBarFloatSize entry;
    int widest = 0;
    Trial(0, entry.Size, entry.Lines, widest);
    list.push_back(entry);
    int wrap = widest - 1;
    while (wrap >= std::max(MinWrap, 1)) {
        TBarFloatSize next;
        next.WrapWidth = wrap;
        Trial(wrap, next.Size, next.Lines, widest);
        if (next.Lines > list.back().Lines)
            list.push_back(next);
        else if (next.Lines == list.back().Lines && list.size() > 1)
            list.back() = next;
        // A line wider than the wrap holds one item that cannot break:
        // narrower widths all lay out the same.
        if (widest > wrap) break;
        // Below the widest line of this layout: anything wider lays out the same.
        wrap = std::min(wrap - 1, widest - 1);
    }
    return list;
}

int PickFloatSize(const std::vector<TBarFloatSize>& List, bool Horizontal, int Distance) {
    if (List.empty()) return -1;
    std::vector<int> order(List.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    auto dim = [&](int i) {
        return Horizontal ? List[static_cast<size_t>(i)].Size.cx : List[static_cast<size_t>(i)].Size.cy;
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return dim(a) > dim(b); });
    for (int i : order)
        if (Distance >= dim(i)) return i;
    return order.back();
}
