// The group bar by keyboard: its places (captions that open and close,
// items that run), Up, Down, Home and End between them, Enter and Space as
// a click, Left and Right to close and open, and the focus rectangle that
// shows once the keyboard is used.
#include <algorithm>

#include "classlib/windows/accessibility.h"
#include "controls/scgroup.h"
#include "controls/scgroupacc.h"
#include "controls/scgroupbar.h"

// ---- the group's part -------------------------------------------------------------

bool TScGroup::ItemClickable(int Index) const {
    if (Index < 0 || Index >= items_->Count()) return false;
    const TScGroupItem* item = items_->GetItem(Index);
    return item->Visible() && !item->IsSeparator() && item->Enabled() && item->Clickable();
}

TRect TScGroup::StopRect(int Item) const {
    if (Item < 0) return TRect(0, 0, Width(), captionHeight_);
    if (Item >= items_->Count()) return TRect();
    const TScGroupItem* item = items_->GetItem(Item);
    TRect area = item->CaptionRect();
    const TRect& image = item->ImageRect();
    if (!image.IsEmpty())
        area = area.IsEmpty() ? image
                              : TRect(std::min(area.Left, image.Left), std::min(area.Top, image.Top),
                                      std::max(area.Right, image.Right), std::max(area.Bottom, image.Bottom));
    return area;
}

void TScGroup::ClickItem(TScGroupItem* Item) {
    if (!Item || Item->Group() != this || !ItemClickable(Item->Index())) return;
    if (ignoreSelectedItemClick_ && showItemSelection_ && Item->Selected()) return;
    // Selecting and clicking run user code that may delete the item, its
    // group or the whole bar.
    const auto alive = alive_;
    const int id = Item->ID();
    Item->SetSelected(true);
    if (!*alive || !items_) return;
    if (auto* still = static_cast<TScGroupItem*>(items_->FindItemID(id))) {
        Invalidate();
        still->Click();
    }
}

void TScGroup::PaintFocusCue() {
    if (!bar_ || !bar_->FocusCuesShown()) return;
    const TScGroupBar::TKeyStop stop = bar_->FocusStop();
    if (stop.Group != this) return;
    TRect r = StopRect(stop.Item);
    if (r.IsEmpty()) return;
    if (stop.Item < 0)
        r = TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    else
        r = TRect(r.Left - 2, r.Top - 1, r.Right + 2, r.Bottom + 1);
    HDC dc = Canvas()->Handle();
    // The dotted pattern in black and white, whatever colours the item left.
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    const RECT rect = r;
    DrawFocusRect(dc, &rect);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

// ---- the bar's part ---------------------------------------------------------------

std::vector<TScGroupBar::TKeyStop> TScGroupBar::KeyStops() const {
    std::vector<TKeyStop> stops;
    for (TScGroup* group : groups_) {
        if (!group->Visible()) continue;
        if (group->CaptionToggles()) stops.push_back({group, -1});
        if (!group->ItemsShown()) continue;
        for (int i = 0; i < group->Items()->Count(); ++i)
            if (group->ItemClickable(i)) stops.push_back({group, i});
    }
    return stops;
}

TScGroupBar::TKeyStop TScGroupBar::FocusStop() const {
    const std::vector<TKeyStop> stops = KeyStops();
    if (stops.empty()) return {};
    for (const TKeyStop& stop : stops)
        if (stop.Group == focusGroup_ &&
            (stop.Item < 0 ? -1 : stop.Group->Items()->GetItem(stop.Item)->ID()) == focusItemID_)
            return stop;
    return stops.front();
}

void TScGroupBar::SetFocusStop(const TKeyStop& Stop) {
    // The rectangle stands where FocusStop says, which is the first place
    // until a key has set one: that group is the one to paint again.
    TScGroup* old = FocusStop().Group;
    focusGroup_ = Stop.Group;
    focusItemID_ = Stop.Group && Stop.Item >= 0 ? Stop.Group->Items()->GetItem(Stop.Item)->ID() : -1;
    if (!Stop.Group) return;
    ScrollStopIntoView(Stop);
    FocusStopChanged(old);
}

void TScGroupBar::FocusStopChanged(TScGroup* OldGroup) {
    if (OldGroup && OldGroup != focusGroup_) OldGroup->Invalidate();
    if (focusGroup_) focusGroup_->Invalidate();
    if (Focused()) NotifyFocus();
}

void TScGroupBar::NotifyFocus() {
    const TKeyStop stop = FocusStop();
    if (!stop.Group || !HandleAllocated()) return;
    CallNotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, TScGroupAccObject::ChildIdOf(this, stop));
}

void TScGroupBar::ScrollStopIntoView(const TKeyStop& Stop) {
    TScGroup* group = Stop.Group;
    if (style_ == gbsOutlook) {
        // The open group scrolls its items itself, one line at a time.
        if (Stop.Item < 0) return;
        if (Stop.Item < group->TopIndex()) group->SetTopIndex(Stop.Item);
        while (group->TopIndex() < Stop.Item) {
            group->CalcItemsBottom(group->ClientWidth());
            if (group->StopRect(Stop.Item).Bottom <= group->ClientHeight()) break;
            group->SetTopIndex(group->TopIndex() + 1);
        }
        return;
    }
    const TRect r = group->StopRect(Stop.Item);
    if (r.IsEmpty()) return;
    const int top = group->Top() + r.Top - groupBorderSize_;
    const int bottom = group->Top() + r.Bottom + groupBorderSize_;
    if (top < 0)
        SetScrollPos(scrollPos_ + top);
    else if (bottom > ClientHeight())
        SetScrollPos(scrollPos_ + std::min(bottom - ClientHeight(), top));
}

bool TScGroupBar::FocusCuesShown() const {
    return !focusCuesHidden_ && Focused();
}

void TScGroupBar::UseFocusCues() {
    if (!focusCuesHidden_) return;
    focusCuesHidden_ = false;
    // The whole window learns that the keyboard is in use, as dialog
    // navigation tells it.
    if (HandleAllocated()) SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    focusCuesHidden_ = false;
    if (TScGroup* group = FocusStop().Group) group->Invalidate();
}

void TScGroupBar::ActOnStop(const TKeyStop& Stop, WORD Key) {
    TScGroup* group = Stop.Group;
    if (Stop.Item >= 0) {
        if (Key == VK_RETURN || Key == VK_SPACE) group->ClickItem(group->Items()->GetItem(Stop.Item));
        return;
    }
    // Opening and closing run the group's handlers, which may take the
    // group or the bar away.
    const auto alive = alive_;
    if (Key == VK_LEFT)
        group->SetOpened(false);
    else if (Key == VK_RIGHT)
        group->SetOpened(true);
    else
        group->ToggleOpened();
    if (*alive && IndexOfGroup(group) >= 0) SetFocusStop(Stop);
}

void TScGroupBar::KeyDown(WORD& Key, TShiftState Shift) {
    inherited::KeyDown(Key, Shift);
    if (Key == 0) return;
    UseFocusCues();
    const std::vector<TKeyStop> stops = KeyStops();
    if (stops.empty()) return;
    const TKeyStop current = FocusStop();
    const std::ptrdiff_t at = std::find(stops.begin(), stops.end(), current) - stops.begin();
    const std::ptrdiff_t last = static_cast<std::ptrdiff_t>(stops.size()) - 1;
    switch (Key) {
        case VK_UP:
            SetFocusStop(stops[static_cast<size_t>(std::max<std::ptrdiff_t>(at - 1, 0))]);
            break;
        case VK_DOWN:
            SetFocusStop(stops[static_cast<size_t>(std::min(at + 1, last))]);
            break;
        case VK_HOME:
            SetFocusStop(stops.front());
            break;
        case VK_END:
            SetFocusStop(stops.back());
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_SPACE:
        case VK_RETURN: {
            const WORD key = Key;
            Key = 0;
            ActOnStop(current, key);
            return;
        }
        default:
            return;
    }
    Key = 0;
}

bool TScGroupBar::KeyboardMessage(TMessage& Message) {
    switch (Message.Msg) {
        case CM_WANTSPECIALKEY:
            // Arrows and Enter move and act inside the bar; Tab leaves it.
            switch (Message.WParam) {
                case VK_UP:
                case VK_DOWN:
                case VK_LEFT:
                case VK_RIGHT:
                case VK_RETURN:
                    Message.Result = 1;
                    return true;
            }
            return false;
        case WM_SETFOCUS:
            inherited::WndProc(Message);
            // Tabbing in is using the keyboard.
            if (GetKeyState(VK_TAB) < 0) UseFocusCues();
            if (TScGroup* group = FocusStop().Group) group->Invalidate();
            NotifyFocus();
            return true;
        case WM_KILLFOCUS:
            inherited::WndProc(Message);
            if (TScGroup* group = FocusStop().Group) group->Invalidate();
            return true;
        case WM_UPDATEUISTATE:
            if (HIWORD(Message.WParam) & UISF_HIDEFOCUS) {
                const bool hidden = LOWORD(Message.WParam) == UIS_SET;
                if (hidden != focusCuesHidden_ && LOWORD(Message.WParam) != UIS_INITIALIZE) {
                    focusCuesHidden_ = hidden;
                    if (TScGroup* group = FocusStop().Group) group->Invalidate();
                }
            }
            return false;
        case WM_GETOBJECT:
            if (static_cast<LONG>(Message.LParam) != OBJID_CLIENT || !GetAccObject()) return false;
            Message.Result =
                AccLresultFromObject(IID_IAccessible, Message.WParam, static_cast<IAccessible*>(accObject_));
            return true;
    }
    return false;
}
