// The group bar's arithmetic, free of windows: where each group goes in the
// three bar styles, the scroll range, filling the bottom and bringing a
// group into view, and which item separators are left out.
#pragma once

#include <functional>
#include <vector>

#include "classlib/graphics/geometry.h"

enum TScGroupBarStyle { gbsCategoryView, gbsTaskList, gbsOutlook };

// One group as the layout sees it.
struct TScGroupPlace {
    bool Visible = true;
    bool Opened = false;
    int CaptionHeight = 20;
    // Part of a tall caption image above the group (0 without one).
    int Overhang = 0;
    // A large caption: bringing it into view leaves room for its image.
    bool LargeCaption = false;
    // Height when open, for a group Width pixels wide: the bottom of the
    // last item, or OpenedHeight without items.
    std::function<int(int Width)> OpenHeight;
};

struct TScBarMetrics {
    TScGroupBarStyle Style = gbsCategoryView;
    int BorderSize = 8;  // the margin around and between groups
    int ClientWidth = 0;
    int ClientHeight = 0;
    // Width the vertical scroll bar takes from the client area while it is
    // needed; 0 when it stays (disabled) all the time.
    int ScrollBarWidth = 0;
};

struct TScBarLayout {
    std::vector<TRect> Bounds;
    int ScrollPos = 0;
    int Range = 0;  // the total height; the page is the client height
    bool ScrollBarNeeded = false;
    int Rounds = 0;
};

// Positions for one arrangement at a scroll position, groups Width wide.
std::vector<TRect> ArrangeGroups(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups,
                                 int Width, int ScrollPos);
int TotalHeight(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups,
                const std::vector<TRect>& Bounds);
// 0 .. Range - Page, and 0 when everything fits.
int ClampScrollPos(int Value, int Range, int Page);
// The whole pass: arrange, fill the bottom, bring Changed (an index, -1 for
// none) into view; repeated while the scroll bar's need changes, three
// rounds at most, since a bar whose width tips the content back and forth
// would otherwise never settle.
TScBarLayout LayoutGroups(const TScBarMetrics& Bar, const std::vector<TScGroupPlace>& Groups, int Changed,
                          int ScrollPos, bool ScrollBarNeeded);

// Items as separator hiding sees them.
struct TScItemShape {
    bool Visible = true;
    bool Separator = false;  // caption "-"
};
// Which separators are left out: the first shown or the last item, one
// right after another separator or before any text item, and one with no
// text item after it. Items before First are not shown at all.
std::vector<bool> HiddenSeparators(const std::vector<TScItemShape>& Items, int First);
