#include "toolbar/bararrange.h"

#include <algorithm>
#include <climits>
#include <map>

#include "toolbar/barlists.h"

namespace {

struct Record {
    int input;
    int row;
    bool visible;
    // Wide: stored places may be anywhere in the integer range.
    long long pos;
    long long gap = 0;
    long long overlap = 0;
    long long fullLength;
    long long minSize;
    long long size;
    const TArrangeBar* bar;
    bool splits = false;
};

// Moves every record but Keep whose row is at or beyond Row one row down.
void ShiftDown(std::vector<Record>& Records, int Row, const Record* Keep) {
    for (Record& r : Records)
        if (&r != Keep && r.row >= Row) ++r.row;
}

// Steps 7: a flagged bar that shares its row pushes the others down.
void GiveOwnRows(std::vector<Record>& Records, int& Highest, bool (*Flagged)(const TArrangeBar&)) {
    for (int row = 0; row <= Highest; ++row) {
        for (Record& r : Records) {
            if (r.row != row || !r.visible || !Flagged(*r.bar)) continue;
            const bool shared = std::any_of(Records.begin(), Records.end(), [&](const Record& o) {
                return &o != &r && o.visible && o.row == row;
            });
            if (!shared) continue;
            ShiftDown(Records, row, &r);
            ++Highest;
            break;
        }
    }
}

void LayOutRow(std::vector<Record*>& Row, long long RowLength, long long Excess) {
    // Positions: gaps where there is room, overlaps where bars want the same
    // place.
    long long cur = 0, prevEnd = 0, minSum = 0, draggedWanted = 0;
    int dragged = -1;
    for (size_t k = 0; k < Row.size(); ++k) {
        Record& r = *Row[k];
        long long wanted = r.pos;
        if (cur == 0 && (r.bar->FullSize || r.bar->Stretch)) wanted = 0;
        if (r.bar->Dragged) {
            dragged = static_cast<int>(k);
            draggedWanted = wanted;
        }
        wanted = std::max<long long>(wanted, minSum);
        if (wanted <= cur) {
            if (wanted < prevEnd) r.overlap = prevEnd - wanted;
        } else if (Excess <= 0) {
            r.gap = wanted - cur;
            cur = wanted;
        }
        cur += r.size;
        prevEnd = wanted + r.size;
        minSum += r.minSize;
    }
    // Room for the dragged bar: the bars before it give up gap so that it
    // lands where the cursor put it; the bar after it takes that gap so the
    // rest of the row stays put.
    if (Excess < 0 && dragged > 0) {
        long long end = 0;
        for (int k = 0; k < dragged; ++k)
            end += Row[static_cast<size_t>(k)]->gap + Row[static_cast<size_t>(k)]->size;
        long long surplus = end - draggedWanted;
        long long given = 0;
        for (int k = dragged - 1; k >= 0 && surplus > 0; --k) {
            Record& r = *Row[static_cast<size_t>(k)];
            const long long take = std::min(r.gap, surplus);
            r.gap -= take;
            surplus -= take;
            given += take;
        }
        if (dragged + 1 < static_cast<int>(Row.size())) Row[static_cast<size_t>(dragged) + 1]->gap += given;
    }
    // Fit: gaps go, from the end, until the row fits.
    long long total = 0;
    for (Record* r : Row) total += r->gap + r->size;
    for (size_t k = Row.size(); k-- > 0 && total > RowLength;) {
        const long long take = std::min<long long>(Row[k]->gap, total - RowLength);
        Row[k]->gap -= take;
        total -= take;
    }
    if (Excess > 0) {
        // Overlaps first: chevron bars before an overlapping bar give way.
        long long accumulated = 0;
        for (size_t k = 0; k < Row.size() && Excess > 0; ++k) {
            if (Row.size() > 1 && Row[k]->bar->Dragged) Row[k]->splits = true;
            accumulated = std::min(accumulated + Row[k]->overlap, Excess);
            // Bars after the dragged one do not push past it.
            const int stop = dragged >= 0 && static_cast<int>(k) > dragged ? dragged : -1;
            for (size_t j = k; j-- > 0 && accumulated > 0;) {
                if (static_cast<int>(j) <= stop) break;
                Record& r = *Row[j];
                if (r.bar->ShrinkMode != tbsmChevron) continue;
                const long long give = std::min(accumulated, r.size - r.minSize);
                r.size -= give;
                accumulated -= give;
                Excess -= give;
            }
        }
        // Then every shrinkable bar from the end; a wrapping bar only alone.
        for (size_t k = Row.size(); k-- > 0 && Excess > 0;) {
            Record& r = *Row[k];
            if (r.bar->ShrinkMode == tbsmNone || (r.bar->ShrinkMode == tbsmWrap && Row.size() > 1)) continue;
            const long long give = std::min(Excess, r.size - r.minSize);
            r.size -= give;
            Excess -= give;
        }
    }
    // Final positions: stretching and full-size bars take the room.
    long long pos = 0;
    for (size_t k = 0; k < Row.size(); ++k) {
        Record& r = *Row[k];
        if (r.bar->FullSize || r.bar->Stretch) {
            r.size += r.gap;
            r.gap = 0;
        }
        pos += r.gap;
        if (r.bar->Stretch && !r.bar->FullSize) {
            if (k + 1 < Row.size()) {
                r.size += Row[k + 1]->gap;
                Row[k + 1]->gap = 0;
            } else {
                r.size = std::max(r.size, RowLength - pos);
            }
        }
        if (r.bar->FullSize) r.size = std::max(r.size, RowLength);
        r.pos = pos;
        pos += r.size;
    }
}

}  // namespace

TArrangement ArrangeBars(const std::vector<TArrangeBar>& Bars, int RowLength, bool LimitToOneRow) {
    TArrangement result;
    result.Bars.resize(Bars.size());
    RowLength = std::max(RowLength, 0);

    // Sort by (row, position); a dragged bar that keeps its list index goes
    // back to it.
    std::vector<int> order(Bars.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    const auto draggedIt =
        std::find_if(Bars.begin(), Bars.end(), [](const TArrangeBar& b) { return b.Dragged; });
    const int draggedIndex = draggedIt == Bars.end() ? -1 : static_cast<int>(draggedIt - Bars.begin());
    auto rowOf = [&](int i) { return LimitToOneRow ? 0 : std::max(Bars[static_cast<size_t>(i)].DockRow, 0); };
    QuickSortEx(order, [&](int a, int b) {
        if (rowOf(a) != rowOf(b)) return rowOf(a) < rowOf(b) ? -1 : 1;
        const int pa = Bars[static_cast<size_t>(a)].DockPos, pb = Bars[static_cast<size_t>(b)].DockPos;
        if (pa != pb) return pa < pb ? -1 : 1;
        // Equal places keep their list order: the quicksort would swap them
        // on every arrangement.
        return a < b ? -1 : (a > b ? 1 : 0);
    });
    if (draggedIndex >= 0 && Bars[static_cast<size_t>(draggedIndex)].KeepsListIndex) {
        order.erase(std::find(order.begin(), order.end(), draggedIndex));
        order.insert(order.begin() + draggedIndex, draggedIndex);
    }
    result.Order = order;

    // Rows by rank: stored rows may be far apart or negative.
    std::map<int, int> rank;
    // Hidden bars take no part: they would leave empty rows that move the
    // effective rows of the others from one arrangement to the next.
    for (int i : order)
        if (Bars[static_cast<size_t>(i)].Visible) rank.emplace(rowOf(i), 0);
    int next = 0;
    for (auto& [row, r] : rank) r = next++;

    std::vector<Record> records;
    records.reserve(order.size());
    for (int i : order) {
        const TArrangeBar& bar = Bars[static_cast<size_t>(i)];
        const int full = std::max(bar.FullLength, 0);
        const auto ranked = rank.find(rowOf(i));
        records.push_back(Record{i, ranked == rank.end() ? -1 : ranked->second, bar.Visible, bar.DockPos, 0,
                                 0, full, std::clamp(bar.MinSize, 0, full), full, &bar});
    }
    int highest = next - 1;
    if (!LimitToOneRow) GiveOwnRows(records, highest, [](const TArrangeBar& b) { return b.NeedsOwnRow; });
    GiveOwnRows(records, highest, [](const TArrangeBar& b) { return b.FullSize; });

    for (int row = 0; row <= highest; ++row) {
        std::vector<Record*> members;
        long long needs = 0, total = 0;
        for (size_t i = 0; i < records.size(); ++i) {
            Record& r = records[i];
            if (r.row != row || !r.visible) continue;
            needs += r.bar->ShrinkMode == tbsmChevron ? r.minSize : r.fullLength;
            if (!members.empty() && needs > RowLength && !LimitToOneRow) {
                // The row breaks before this bar. Later rows move whatever
                // their list place (a dragged bar may keep an earlier one).
                for (size_t j = 0; j < records.size(); ++j)
                    if (records[j].row > row || (records[j].row == row && j >= i)) ++records[j].row;
                ++highest;
                break;
            }
            total += r.fullLength;
            members.push_back(&r);
        }
        LayOutRow(members, RowLength, total - RowLength);
    }

    for (const Record& r : records) {
        TArrangedBar& out = result.Bars[static_cast<size_t>(r.input)];
        out.Row = r.visible ? r.row : -1;
        out.Pos = static_cast<int>(std::clamp<long long>(r.pos, INT_MIN, INT_MAX));
        out.Size = static_cast<int>(std::clamp<long long>(r.size, 0, INT_MAX));
        out.SplitsRow = r.splits;
        if (r.visible) result.RowCount = std::max(result.RowCount, r.row + 1);
    }
    return result;
}

TRowPlacement PlaceRows(const TArrangement& Arrangement, const std::vector<int>& Thickness, bool Vertical) {
    TRowPlacement placement;
    placement.Bounds.resize(Arrangement.Bars.size());
    placement.RowThickness.assign(static_cast<size_t>(Arrangement.RowCount), 0);
    for (size_t i = 0; i < Arrangement.Bars.size(); ++i) {
        const int row = Arrangement.Bars[i].Row;
        if (row < 0) continue;
        int& t = placement.RowThickness[static_cast<size_t>(row)];
        t = std::max(t, i < Thickness.size() ? Thickness[i] : 0);
    }
    for (int& t : placement.RowThickness)
        if (t > 0) t += 4;
    std::vector<int> rowPos(placement.RowThickness.size(), 0);
    int at = 0;
    for (size_t r = 0; r < rowPos.size(); ++r) {
        rowPos[r] = at;
        at += placement.RowThickness[r];
    }
    placement.Thickness = at;
    for (size_t i = 0; i < Arrangement.Bars.size(); ++i) {
        const TArrangedBar& bar = Arrangement.Bars[i];
        if (bar.Row < 0) continue;
        const int across = rowPos[static_cast<size_t>(bar.Row)];
        const int thick = placement.RowThickness[static_cast<size_t>(bar.Row)];
        placement.Bounds[i] =
            Vertical ? Bounds(across, bar.Pos, thick, bar.Size) : Bounds(bar.Pos, across, bar.Size, thick);
    }
    return placement;
}
