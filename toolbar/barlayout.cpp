#include "toolbar/barlayout.h"

#include <algorithm>
#include <numeric>

namespace {

class TLayout {
public:
    TLayout(std::vector<TBarLayoutItem>& Items, const TBarLayoutParams& Params) : items_(Items), p_(Params) {}

    TBarLayoutResult Run(TSize MinTotalSize, int ScrollOffset);

private:
    bool Vertical() const { return p_.Orientation == boVertical; }
    int Length(const TBarLayoutItem& I) const { return Vertical() ? I.Height : I.Width; }
    int Cross(const TBarLayoutItem& I) const { return Vertical() ? I.Width : I.Height; }
    int Count() const { return static_cast<int>(items_.size()); }
    TBarLayoutItem& At(int I) { return items_[static_cast<size_t>(I)]; }

    void DecideVisibility();
    void HideTrailingSeparators();
    void Measure();
    void HideBehindChevron(int Extent);
    void Place();
    void PositionItem(int Index);
    void FinishLine(int LastIndex, bool IsFinal);
    int GroupLength(int Index);
    void Mirror();
    void Scroll(int ScrollOffset);

    std::vector<TBarLayoutItem>& items_;
    const TBarLayoutParams& p_;
    TBarLayoutResult r_;

    int available_ = 0;
    bool chevronNeeded_ = false;
    int lineStart_ = -1;
    int lineWidth_ = 0, lineHeight_ = 0;
    int curX_ = 0, curY_ = 0;
    bool newLine_ = false, didWrap_ = false;
};

void TLayout::DecideVisibility() {
    bool previousShownIsSeparator = true;  // a leading separator is hidden
    for (TBarLayoutItem& item : items_) {
        item.Show = item.Wanted;
        item.OffEdge = item.LineSep = item.Clipped = false;
        if (item.Show && item.Separator && previousShownIsSeparator) item.Show = false;
        if (item.Show) previousShownIsSeparator = item.Separator;
    }
    HideTrailingSeparators();
}

void TLayout::HideTrailingSeparators() {
    for (int i = Count() - 1; i >= 0; --i) {
        if (!At(i).Show) continue;
        if (!At(i).Separator) break;
        At(i).Show = false;
    }
}

void TLayout::Measure() {
    int sameWidth = 0;
    for (const TBarLayoutItem& item : items_)
        if (item.Show && item.SameWidth) sameWidth = std::max(sameWidth, item.Width);
    for (TBarLayoutItem& item : items_)
        if (item.Show && item.SameWidth) item.Width = sameWidth;
}

// Hides the least important items until the rest fits before the chevron.
// The priority cursor only moves towards the most important end, so the whole
// pass is linear in the number of items.
void TLayout::HideBehindChevron(int Extent) {
    // Least important first; with a priority list only its members can go.
    std::vector<int> order;
    const bool byPriority =
        std::any_of(items_.begin(), items_.end(), [](auto& I) { return I.Priority >= 0; });
    for (int i = Count() - 1; i >= 0; --i)
        if (!At(i).Separator && (!byPriority || At(i).Priority >= 0)) order.push_back(i);
    if (byPriority)
        std::sort(order.begin(), order.end(), [&](int a, int b) { return At(a).Priority > At(b).Priority; });

    int shownButtons = 0;
    for (int i : order)
        if (At(i).Show) ++shownButtons;
    int lastShown = Count() - 1;
    auto findLastShown = [&] {
        while (lastShown >= 0 && !At(lastShown).Show) --lastShown;
    };
    auto hide = [&](int i) {
        At(i).Show = false;
        Extent -= Length(At(i));
    };
    size_t cursor = 0;
    while (Extent > available_) {
        if (shownButtons < 2) break;
        findLastShown();
        if (lastShown >= 0 && At(lastShown).Separator) {
            hide(lastShown);
            continue;
        }
        while (cursor < order.size() && !At(order[cursor]).Show) ++cursor;
        if (cursor == order.size()) break;
        const int victim = order[cursor];
        hide(victim);
        At(victim).OffEdge = true;
        --shownButtons;
        if (!At(victim).Control) r_.ChevronHasItems = true;
        // The neighbours of the hidden item are the only place where a
        // separator can now stand first or follow another separator.
        int before = victim - 1;
        while (before >= 0 && !At(before).Show) --before;
        int after = victim + 1;
        while (after < Count() && !At(after).Show) ++after;
        if (after < Count() && At(after).Separator && (before < 0 || At(before).Separator)) hide(after);
    }
}

int TLayout::GroupLength(int Index) {
    int length = 0;
    for (int i = Index; i < Count(); ++i) {
        if (!At(i).Show) continue;
        if (At(i).Separator) break;
        length += Length(At(i));
    }
    return length;
}

void TLayout::PositionItem(int Index) {
    TBarLayoutItem& item = At(Index);
    if (lineStart_ == -1) {
        lineStart_ = Index;
        lineWidth_ = lineHeight_ = 0;
    }
    bool lineBreak = false;
    const int position = Vertical() ? curY_ : curX_;
    if (p_.WrapOffset >= 1 && position >= 1) {
        const int end = position + Length(item);
        if (item.Separator &&
            ((didWrap_ && !item.NoLineBreak) || end + GroupLength(Index + 1) > p_.WrapOffset)) {
            lineBreak = true;
            newLine_ = true;
            ++r_.WrappedLines;
            if (Vertical()) {
                curY_ = 0;
                curX_ += lineWidth_;
            } else {
                curX_ = 0;
                curY_ += lineHeight_;
            }
            FinishLine(Index - 1, false);
            lineStart_ = Index + 1;
            item.Width = Vertical() ? BarLineBreakSize : 0;
            item.Height = Vertical() ? 0 : BarLineBreakSize;
            item.LineSep = true;
        } else if (end > p_.WrapOffset) {
            newLine_ = true;
            ++r_.WrappedLines;
            if (Vertical()) {
                curY_ = p_.Margins.Top;
                curX_ += lineWidth_;
            } else {
                curX_ = p_.Margins.Left;
                curY_ += lineHeight_;
            }
            didWrap_ = true;
            FinishLine(Index - 1, false);
            lineStart_ = Index;
        }
    }
    lineWidth_ = std::max(lineWidth_, item.Width);
    lineHeight_ = std::max(lineHeight_, item.Height);
    item.BoundsRect = TRect(std::max(curX_, 0), std::max(curY_, 0), std::max(curX_, 0) + item.Width,
                            std::max(curY_, 0) + item.Height);
    if (lineBreak) {
        if (Vertical()) {
            curY_ = p_.Margins.Top;
            curX_ += BarLineBreakSize;
        } else {
            curX_ = p_.Margins.Left;
            curY_ += BarLineBreakSize;
        }
        didWrap_ = false;
    }
}

void TLayout::FinishLine(int LastIndex, bool IsFinal) {
    if (lineStart_ == -1) return;
    TSize& total = r_.TotalSize;
    if (newLine_ && !p_.IsChevronPopup) {
        if (Vertical())
            total.cy = std::max<LONG>(total.cy, p_.WrapOffset);
        else
            total.cx = std::max<LONG>(total.cx, p_.WrapOffset);
    }
    if (p_.IsToolbar && IsFinal && !newLine_ && p_.Orientation != boFloating) {
        lineWidth_ = total.cx;
        lineHeight_ = total.cy;
    }
    int firstRightAligned = -1, lastShown = -1;
    for (int i = lineStart_; i <= LastIndex && i < Count(); ++i) {
        TBarLayoutItem& item = At(i);
        if (!item.Show) continue;
        TRect& r = item.BoundsRect;
        if (p_.IsToolbar) {
            if (item.Separator || item.Stretch) {
                if (Vertical())
                    r.Right = r.Left + lineWidth_;
                else
                    r.Bottom = r.Top + lineHeight_;
            } else if (Vertical()) {
                const int shift = (lineWidth_ - item.Width) / 2;
                r.Left += shift;
                r.Right += shift;
            } else {
                const int shift = (lineHeight_ - item.Height) / 2;
                r.Top += shift;
                r.Bottom += shift;
            }
        } else if (!item.ToolbarSized) {
            r.Right = r.Left + lineWidth_;
        }
        if (item.RightAlign && firstRightAligned == -1) firstRightAligned = i;
        lastShown = i;
    }
    if (firstRightAligned != -1) {
        const TRect& last = At(lastShown).BoundsRect;
        const int offset = std::max<LONG>(p_.WrapOffset, Vertical() ? total.cy : total.cx) -
                           (Vertical() ? last.Bottom : last.Right);
        if (offset >= 1)
            for (int i = firstRightAligned; i <= lastShown; ++i) {
                if (!At(i).Show) continue;
                TRect& r = At(i).BoundsRect;
                if (Vertical()) {
                    r.Top += offset;
                    r.Bottom += offset;
                } else {
                    r.Left += offset;
                    r.Right += offset;
                }
            }
    }
    lineStart_ = -1;
    lineWidth_ = lineHeight_ = 0;
}

void TLayout::Place() {
    curX_ = p_.Margins.Left;
    curY_ = p_.Margins.Top;
    lineStart_ = -1;
    bool previousToolbarSized = false;
    int last = -1;
    for (int i = 0; i < Count(); ++i) {
        TBarLayoutItem& item = At(i);
        if (!item.Show) continue;
        const bool toolbarSized = p_.IsToolbar || item.ToolbarSized;
        if (previousToolbarSized && !toolbarSized) {
            curX_ = p_.Margins.Left;
            curY_ = r_.TotalSize.cy;
        }
        PositionItem(i);
        if (!toolbarSized || Vertical())
            curY_ += item.Height;
        else
            curX_ += item.Width;
        r_.TotalSize.cx = std::max<int>(r_.TotalSize.cx, item.BoundsRect.Right);
        r_.TotalSize.cy = std::max<int>(r_.TotalSize.cy, item.BoundsRect.Bottom);
        previousToolbarSized = toolbarSized;
        last = i;
    }
    FinishLine(last, true);
    r_.TotalSize.cx += p_.Margins.Right;
    r_.TotalSize.cy += p_.Margins.Bottom;
}

void TLayout::Mirror() {
    const int width = r_.TotalSize.cx;
    for (TBarLayoutItem& item : items_) {
        if (!item.Show) continue;
        const int left = item.BoundsRect.Left;
        item.BoundsRect.Left = width - item.BoundsRect.Right;
        item.BoundsRect.Right = width - left;
    }
}

void TLayout::Scroll(int ScrollOffset) {
    const int height = r_.TotalSize.cy;
    if (p_.MaxHeight < 1 || p_.MaxHeight >= height) {
        r_.ScrollOffset = 0;
        return;
    }
    r_.ScrollOffset = std::clamp(ScrollOffset, 0, height - p_.MaxHeight);
    r_.ShowUpArrow = r_.ScrollOffset > 0;
    r_.ShowDownArrow = height - p_.MaxHeight > r_.ScrollOffset;
    const int top = r_.ShowUpArrow ? BarScrollBand : 0;
    const int bottom = r_.ShowDownArrow ? p_.MaxHeight - BarScrollBand : p_.MaxHeight;
    for (TBarLayoutItem& item : items_) {
        TRect& r = item.BoundsRect;
        if (r.Right > r.Left && r.Bottom > r.Top) {
            r.Top -= r_.ScrollOffset;
            r.Bottom -= r_.ScrollOffset;
        }
        if (item.Show && (r.Top < top || r.Bottom > bottom)) {
            item.Show = false;
            item.Clipped = true;
        }
    }
    r_.TotalSize.cy = p_.MaxHeight;
}

TBarLayoutResult TLayout::Run(TSize MinTotalSize, int ScrollOffset) {
    r_.TotalSize = MinTotalSize;
    for (TBarLayoutItem& item : items_) item.BoundsRect = TRect();
    DecideVisibility();
    Measure();

    int extent = 0;
    for (const TBarLayoutItem& item : items_)
        if (item.Show) extent += Length(item);
    const int baseLength = extent;
    if (p_.HasChevron && p_.ChevronOffset >= 1 && extent > p_.ChevronOffset) {
        chevronNeeded_ = true;
        available_ = p_.ChevronOffset - p_.ChevronSize;
        HideBehindChevron(extent);
    }
    HideTrailingSeparators();

    int baseCross = 0;
    for (const TBarLayoutItem& item : items_)
        if (item.Show) baseCross = std::max(baseCross, Cross(item));
    r_.BaseSize = Vertical() ? TSize{baseCross, baseLength} : TSize{baseLength, baseCross};

    Place();
    for (const TBarLayoutItem& item : items_)
        if (item.Show) r_.WidestLine = std::max<int>(r_.WidestLine, item.BoundsRect.Right);
    if (Vertical()) Mirror();
    Scroll(ScrollOffset);

    if (p_.IsToolbar)
        for (TBarLayoutItem& item : items_) {
            if (!item.Show || !item.LineSep) continue;
            if (Vertical()) {
                item.BoundsRect.Top = 0;
                item.BoundsRect.Bottom = r_.TotalSize.cy;
            } else {
                item.BoundsRect.Left = 0;
                item.BoundsRect.Right = r_.TotalSize.cx;
            }
        }
    if (chevronNeeded_) {
        r_.ChevronShown = true;
        if (Vertical()) {
            const int top = std::max(available_, static_cast<int>(r_.TotalSize.cy));
            r_.ChevronRect = TRect(0, top, r_.TotalSize.cx, top + p_.ChevronSize);
        } else {
            const int left = std::max(available_, static_cast<int>(r_.TotalSize.cx));
            r_.ChevronRect = TRect(left, 0, left + p_.ChevronSize, r_.TotalSize.cy);
        }
    }
    return r_;
}

}  // namespace

TBarLayoutResult LayoutBarItems(std::vector<TBarLayoutItem>& Items, const TBarLayoutParams& Params,
                                TSize MinTotalSize, int ScrollOffset) {
    return TLayout(Items, Params).Run(MinTotalSize, ScrollOffset);
}
