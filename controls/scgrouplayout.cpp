#include "controls/scgrouplayout.h"

#include <algorithm>

namespace {

int OpenHeightOf(const TScGroupPlace& Group, int Width) {
    return Group.OpenHeight ? Group.OpenHeight(Width) : 50;
}

std::vector<TRect> ArrangeStacked(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups,
                                  int Width, int ScrollPos) {
    const int g = Bar.BorderSize;
    std::vector<TRect> bounds;
    bounds.reserve(Groups.size());
    int top = -ScrollPos;
    for (const TScGroupPlace& group : Groups) {
        if (!group.Visible) {
            bounds.push_back(Bounds(g, top, Width, 0));
            continue;
        }
        const bool open = group.Opened || Bar.Style == gbsTaskList;
        const int height = open ? OpenHeightOf(group, Width) : group.CaptionHeight;
        bounds.push_back(Bounds(g, top + g + group.Overhang, Width, height));
        top = bounds.back().Bottom;
    }
    return bounds;
}

std::vector<TRect> ArrangeOutlook(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups,
                                  int Width) {
    const int g = Bar.BorderSize;
    const int count = static_cast<int>(Groups.size());
    int open = 0;
    for (int i = 0; i < count; ++i)
        if (Groups[i].Opened) open = i;
    int closedTotal = 2 * g;
    for (int i = 0; i < count; ++i)
        if (i != open && Groups[i].Visible) closedTotal += Groups[i].CaptionHeight + g;

    std::vector<TRect> bounds;
    int bottom = 0;
    for (int i = 0; i < count; ++i) {
        if (i == open) {
            // Many captions in a short bar leave the open group no room;
            // it shrinks to nothing rather than turning inside out.
            bounds.push_back(Bounds(g, bottom + g, Width, std::max(0, Bar.ClientHeight - closedTotal)));
        } else if (Groups[i].Visible) {
            bounds.push_back(Bounds(g, bottom + g, Width, Groups[i].CaptionHeight));
        } else {
            bounds.push_back(Bounds(g, bottom, Width, 0));
        }
        bottom = bounds.back().Bottom;
    }
    return bounds;
}

}  // namespace

std::vector<TRect> ArrangeGroups(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups,
                                 int Width, int ScrollPos) {
    if (Bar.Style == gbsOutlook) return ArrangeOutlook(Bar, Groups, Width);
    return ArrangeStacked(Bar, Groups, Width, ScrollPos);
}

int TotalHeight(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups,
                const std::vector<TRect>& Bounds) {
    if (Bar.Style == gbsOutlook) return Bar.ClientHeight - 1;
    if (Groups.empty()) return 2 * Bar.BorderSize;
    return 2 * Bar.BorderSize + Bounds.back().Bottom - Bounds.front().Top + Groups.front().Overhang;
}

int ClampScrollPos(int Value, int Range, int Page) {
    return std::max(0, std::min(Value, Range - Page));
}

namespace {

// Moves every group by the change of the scroll position.
void ScrollTo(std::vector<TRect>& Bounds, int& ScrollPos, int Wanted, int Range, int Page) {
    const int pos = ClampScrollPos(Wanted, Range, Page);
    for (TRect& r : Bounds) r = OffsetRect(r, 0, ScrollPos - pos);
    ScrollPos = pos;
}

void FillBottom(const TScBarMetrics& Bar, std::vector<TRect>& Bounds, int& ScrollPos, int Range) {
    const int g = Bar.BorderSize, page = Bar.ClientHeight;
    if (Bounds.empty() || Bounds.back().Bottom + g >= page || Bounds.front().Top >= 0) return;
    const int wanted = Range >= page ? Range - page : ScrollPos + Bounds.front().Top - g;
    ScrollTo(Bounds, ScrollPos, wanted, Range, page);
}

void BringIntoView(const TScBarMetrics& Bar, const TScGroupPlace& Group, std::vector<TRect>& Bounds,
                   int Index, int& ScrollPos, int Range) {
    const int g = Bar.BorderSize, page = Bar.ClientHeight;
    const TRect r = Bounds[static_cast<size_t>(Index)];
    const int topMargin = g + (Group.LargeCaption ? Group.Overhang : 0);
    if (page >= r.Height()) {
        if (r.Bottom + g > page && r.Top >= 1)
            ScrollTo(Bounds, ScrollPos, ScrollPos + r.Bottom + g - page, Range, page);
        else if (r.Top < 0)
            ScrollTo(Bounds, ScrollPos, ScrollPos + r.Top - topMargin, Range, page);
        return;
    }
    // Taller than the bar: its top wins.
    ScrollTo(Bounds, ScrollPos, ScrollPos + r.Top - g, Range, page);
}

}  // namespace

TScBarLayout LayoutGroups(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups, int Changed,
                          int ScrollPos, bool ScrollBarNeeded) {
    TScBarLayout out;
    const int page = Bar.ClientHeight;
    out.ScrollBarNeeded = ScrollBarNeeded;
    if (Bar.Style == gbsOutlook) {
        out.Bounds = ArrangeGroups(Bar, Groups, std::max(0, Bar.ClientWidth - 2 * Bar.BorderSize), 0);
        out.Range = TotalHeight(Bar, Groups, out.Bounds);
        out.ScrollBarNeeded = out.Range > page;
        out.Rounds = 1;
        return out;
    }
    out.ScrollPos = ScrollPos;
    while (out.Rounds < 3) {
        ++out.Rounds;
        const bool before = out.ScrollBarNeeded;
        const int clientWidth = Bar.ClientWidth - (before ? Bar.ScrollBarWidth : 0);
        out.Bounds = ArrangeGroups(Bar, Groups, std::max(0, clientWidth - 2 * Bar.BorderSize), out.ScrollPos);
        out.Range = TotalHeight(Bar, Groups, out.Bounds);
        // A position left over from a taller content is pulled back first.
        ScrollTo(out.Bounds, out.ScrollPos, out.ScrollPos, out.Range, page);
        FillBottom(Bar, out.Bounds, out.ScrollPos, out.Range);
        if (Changed >= 0 && Changed < static_cast<int>(Groups.size())) {
            const TScGroupPlace& group = Groups[static_cast<size_t>(Changed)];
            if (group.Visible && (group.Opened || Bar.Style == gbsTaskList))
                BringIntoView(Bar, group, out.Bounds, Changed, out.ScrollPos, out.Range);
        }
        out.ScrollBarNeeded = out.Range > page;
        if (out.ScrollBarNeeded == before) break;
    }
    return out;
}

std::vector<bool> HiddenSeparators(const std::vector<TScItemShape>& Items, int First) {
    const int count = static_cast<int>(Items.size());
    std::vector<bool> hidden(Items.size(), false);
    First = std::max(0, First);
    int firstShown = -1;
    for (int i = First; i < count; ++i)
        if (Items[i].Visible) {
            firstShown = i;
            break;
        }
    bool textBefore = false;
    int previous = -1;  // the nearest visible item so far
    for (int i = First; i < count; ++i) {
        const TScItemShape& item = Items[i];
        if (!item.Visible) continue;
        if (item.Separator) {
            bool textAfter = false;
            for (int j = i + 1; j < count && !textAfter; ++j)
                textAfter = Items[j].Visible && !Items[j].Separator;
            hidden[i] = i == firstShown || i == count - 1 || !textBefore ||
                        (previous >= 0 && Items[previous].Separator) || !textAfter;
        } else {
            textBefore = true;
        }
        previous = i;
    }
    return hidden;
}
