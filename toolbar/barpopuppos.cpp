#include "toolbar/barpopuppos.h"

#include <algorithm>

namespace {

bool Overlaps(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

int CoveredViewers(const TBarPopupParent& Parent, const TRect& Candidate) {
    int count = 0;
    for (const TRect& r : Parent.ShownViewers)
        if (r.Left >= Candidate.Left && r.Top >= Candidate.Top && r.Right <= Candidate.Right &&
            r.Bottom <= Candidate.Bottom)
            ++count;
    return count;
}

TRect PopupRect(int X, int Y, const TBarPopupPositionRec& Rec) {
    return TRect(X, Y, X + Rec.W, Y + Rec.H);
}

bool PlaceSubmenu(const TBarPopupParent& Parent, TBarPopupPositionRec& Rec) {
    const TRect& m = Rec.MonitorRect;
    bool opposite = false;
    for (;;) {
        if (!Rec.Opposite && Rec.X + Rec.W <= m.Right) break;
        const int left = Parent.Present ? Rec.ParentItemRect.Left + Rec.NCSizeX - Rec.W : Rec.X - Rec.W;
        if (Rec.Opposite && left < m.Left) {
            // The inherited side does not fit either: start over on the right.
            Rec.Opposite = false;
            continue;
        }
        Rec.X = left;
        opposite = true;
        break;
    }
    Rec.X = std::max<int>(Rec.X, m.Left);
    if (opposite) Rec.Opposite = true;
    return opposite;
}

void PlaceDropDown(const TBarPopupParent& Parent, TBarPopupPositionRec& Rec) {
    const TRect& m = Rec.MonitorRect;
    const TRect& p = Rec.ParentItemRect;
    if (!Parent.Present && Rec.Alignment == bpaRight && Rec.X < m.Left) Rec.X += Rec.W;
    if (Rec.X + Rec.W > m.Right)
        Rec.X = Parent.Present || Rec.Alignment != bpaLeft ? m.Right - Rec.W : Rec.X - Rec.W;
    Rec.X = std::max<int>(Rec.X, m.Left);
    if (!Parent.Present) return;
    if (Parent.Vertical) {
        const int x = p.Right;
        if (x + Rec.W <= m.Right && (CoveredViewers(Parent, PopupRect(x, Rec.Y, Rec)) <
                                         CoveredViewers(Parent, PopupRect(Rec.X, Rec.Y, Rec)) ||
                                     Overlaps(PopupRect(Rec.X, Rec.Y, Rec), p)))
            Rec.X = x;
        if (Overlaps(PopupRect(Rec.X, Rec.Y, Rec), p)) {
            Rec.Y = p.Bottom;
            if (Rec.Y + Rec.H > m.Bottom) Rec.Y = p.Top - Rec.H;
            Rec.Y = std::max<int>(Rec.Y, m.Top);
        }
    } else {
        const int y = std::max<int>(p.Top - Rec.H, m.Top);
        if (CoveredViewers(Parent, PopupRect(Rec.X, y, Rec)) <
                CoveredViewers(Parent, PopupRect(Rec.X, Rec.Y, Rec)) ||
            Overlaps(PopupRect(Rec.X, Rec.Y, Rec), p))
            Rec.Y = y;
        if (Overlaps(PopupRect(Rec.X, Rec.Y, Rec), p)) {
            Rec.X = p.Right;
            if (Rec.X + Rec.W > m.Right) Rec.X = p.Left - Rec.W;
            Rec.X = std::max<int>(Rec.X, m.Left);
        }
    }
}

}  // namespace

bool PlacePopup(const TBarPopupParent& Parent, TBarPopupPositionRec& Rec) {
    const TRect& m = Rec.MonitorRect;
    const TRect& p = Rec.ParentItemRect;
    if (Rec.Y + Rec.H > m.Bottom && !Parent.Vertical) {
        const int top = (Rec.PositionAsSubmenu ? p.Bottom + Rec.NCSizeY : p.Top) - Rec.H;
        if (top >= m.Top) Rec.Y = top;
    }
    Rec.Y = std::max<int>(std::min<int>(Rec.Y, m.Bottom - Rec.H), m.Top);

    bool opposite = false;
    if (Rec.PositionAsSubmenu)
        opposite = PlaceSubmenu(Parent, Rec);
    else
        PlaceDropDown(Parent, Rec);

    Rec.AnimDir = 0;
    if (Rec.PositionAsSubmenu) {
        // Compare doubled centres to stay in whole numbers.
        Rec.AnimDir = 2 * Rec.X + Rec.W < p.Left + p.Right ? 1 : 2;
    } else {
        if (Rec.Y + Rec.H <= p.Top)
            Rec.AnimDir |= 8;
        else if (Rec.Y >= p.Bottom)
            Rec.AnimDir |= 4;
        if (Rec.X + Rec.W <= p.Left)
            Rec.AnimDir |= 1;
        else if (Rec.X >= p.Right)
            Rec.AnimDir |= 2;
    }
    return opposite;
}
