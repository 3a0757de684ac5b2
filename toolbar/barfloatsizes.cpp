#include "toolbar/barfloatsizes.h"

#include <algorithm>

std::vector<TBarFloatSize> BuildFloatSizeList(const TBarFloatTrial& Trial, int MinWrap) {
    std::vector<TBarFloatSize> list;
    TBarFloatSize entry;
    Trial(0, entry.Size, entry.Lines);
    list.push_back(entry);
    int wrap = entry.Size.cx - 1;
    while (wrap >= std::max(MinWrap, 1)) {
        TBarFloatSize next;
        next.WrapWidth = wrap;
        Trial(wrap, next.Size, next.Lines);
        if (next.Lines > list.back().Lines)
            list.push_back(next);
        else if (next.Lines == list.back().Lines && list.size() > 1)
            list.back() = next;
        // A line wider than the wrap holds one item that cannot break:
        // narrower widths all lay out the same.
        if (next.Size.cx > wrap) break;
        // Below the widest line of this layout: anything wider lays out the same.
        wrap = std::min<int>(wrap - 1, next.Size.cx - 1);
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
