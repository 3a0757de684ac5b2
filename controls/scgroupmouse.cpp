// A group under the mouse: caption and item states, clicks, the item
// popup, the cursor and the hint.
#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/windows/hintwindow.h"
#include "controls/scgroup.h"
#include "controls/scgroupbar.h"

TScGroupItem* TScGroup::DrawnItemAt(int X, int Y) const {
    const TPoint p{X, Y};
    const std::vector<bool> hidden = HiddenItems();
    for (int i = topIndex_; i < items_->Count(); ++i) {
        TScGroupItem* item = items_->GetItem(i);
        if (!item->Visible() || hidden[static_cast<size_t>(i)] || item->IsSeparator()) continue;
        if (PtInRect(item->ImageRect(), p) || PtInRect(item->CaptionRect(), p)) return item;
    }
    return nullptr;
}

TScGroupItem* TScGroup::ItemAt(int X, int Y) const {
    TScGroupItem* item = DrawnItemAt(X, Y);
    return item && item->Enabled() && item->Clickable() ? item : nullptr;
}

void TScGroup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    inherited::MouseDown(Button, Shift, X, Y);
    if (!Enabled()) return;
    if (Button == mbRight) {
        rightPressed_ = ItemAt(X, Y);
        return;
    }
    if (Button != mbLeft) return;
    if (Y >= 0 && Y < captionHeight_ && X >= 0 && X < Width()) {
        if (!canClose_) return;
        if (bar_ && bar_->CanFocus()) bar_->SetFocus();
        SetMouseCapture(true);
        captionState_ = 2;
        captionPressed_ = true;
        Invalidate();
        return;
    }
    TScGroupItem* item = ItemAt(X, Y);
    if (!item || (ignoreSelectedItemClick_ && showItemSelection_ && item->Selected())) return;
    item->state_ = isPressed;
    item->pressed_ = true;
    const auto alive = alive_;
    item->SetSelected(true);
    if (!*alive) return;
    Invalidate();
}

void TScGroup::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    inherited::MouseUp(Button, Shift, X, Y);
    if (Button == mbRight) {
        TScGroupItem* item = ItemAt(X, Y);
        const bool pressedHere = item && item == rightPressed_;
        rightPressed_ = nullptr;
        if (!pressedHere) return;
        // The handler and the menu may delete the item, its group or the
        // whole bar: the item is looked up again by ID, as Click does.
        const auto alive = alive_;
        const int id = item->ID();
        if (Assigned(OnItemPopupMenu)) OnItemPopupMenu(this, item);
        if (!*alive || !items_) return;
        item = static_cast<TScGroupItem*>(items_->FindItemID(id));
        if (!item || !itemPopupMenu_ || !PopupMenuShowProc) return;
        popupItem_ = item;
        PopupMenuShowProc(itemPopupMenu_, this, ClientToScreen(TPoint{X, Y}));
        return;
    }
    if (Button != mbLeft) return;
    if (captionPressed_) {
        captionPressed_ = false;
        SetMouseCapture(false);
        const bool over = Y >= 0 && Y < captionHeight_ && X >= 0 && X < Width();
        captionState_ = over ? 1 : 0;
        Invalidate();
        if (over) ToggleOpened();
        return;
    }
    TScGroupItem* pressed = nullptr;
    for (int i = 0; i < items_->Count(); ++i) {
        TScGroupItem* item = items_->GetItem(i);
        if (item->pressed_) pressed = item;
        item->pressed_ = false;
    }
    TScGroupItem* under = ItemAt(X, Y);
    if (!pressed || pressed != under) {
        if (pressed) pressed->state_ = isNormal;
        Invalidate();
        return;
    }
    pressed->state_ = isHot;
    Invalidate();
    // The click may delete the item, its group or the whole bar.
    const auto alive = alive_;
    const int id = pressed->ID();
    pressed->Click();
    if (!*alive || !items_) return;
    TScGroupItem* still = static_cast<TScGroupItem*>(items_->FindItemID(id));
    if (!still || style_ != gbsOutlook) return;
    int visible = 0;
    for (int i = 0; i < items_->Count(); ++i) visible += items_->GetItem(i)->Visible();
    const int perItem = std::max(1, CalcItemsBottom(ClientWidth()) / std::max(1, visible));
    const int perPage = std::max(1, ClientHeight() / perItem);
    const int index = still->Index();
    if (index < topIndex_)
        SetTopIndex(index);
    else if (index >= topIndex_ + perPage)
        SetTopIndex(index - perPage + 1);
}

void TScGroup::MouseMove(TShiftState Shift, int X, int Y) {
    inherited::MouseMove(Shift, X, Y);
    UpdateMouse(X, Y, false);
}

void TScGroup::UpdateMouse(int X, int Y, bool Leaving) {
    if (!Enabled()) return;
    bool changed = false;
    const bool overCaption = !Leaving && Y >= 0 && Y < captionHeight_ && X >= 0 && X < Width();
    const int caption = captionPressed_ ? (overCaption ? 2 : 0) : overCaption ? 1 : 0;
    if (caption != captionState_) {
        captionState_ = caption;
        changed = true;
    }
    TScGroupItem* under = Leaving ? nullptr : ItemAt(X, Y);
    for (int i = 0; i < items_->Count(); ++i) {
        TScGroupItem* item = items_->GetItem(i);
        const TScItemState state = item != under ? isNormal : item->pressed_ ? isPressed : isHot;
        if (item->state_ != state) {
            item->state_ = state;
            changed = true;
        }
    }
    if (under != hotItem_) {
        hotItem_ = under;
        changed = true;
    }
    SetCursor((overCaption && canClose_ && style_ != gbsTaskList) || under ? crHandPoint : crDefault);
    if (!Leaving && Assigned(OnMouseOverItem)) {
        const auto alive = alive_;
        OnMouseOverItem(this, under);
        if (!*alive) return;
    }
    if (changed) Invalidate();
}

void TScGroup::ClearMouseStates() {
    captionState_ = 0;
    hotItem_ = nullptr;
    for (int i = 0; i < items_->Count(); ++i) items_->GetItem(i)->state_ = isNormal;
    Invalidate();
}

void TScGroup::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (ItemAt(MousePos.X, MousePos.Y)) {
        Handled = true;
        return;
    }
    inherited::DoContextPopup(MousePos, Handled);
}

bool TScGroup::ShowHintAt(THintInfo* Info) {
    if (captionState_ != 0) {
        Info->CursorRect = TRect(0, 0, Width(), captionHeight_);
        return true;
    }
    if (!hotItem_) return false;
    const std::string& hint = hotItem_->Hint();
    const std::string shortPart = hint.substr(0, hint.find('|'));
    if (shortPart.empty()) return false;
    TRect area = hotItem_->CaptionRect();
    const TRect& image = hotItem_->ImageRect();
    if (!image.IsEmpty()) {
        area = TRect(std::min(area.Left, image.Left), std::min(area.Top, image.Top),
                     std::max(area.Right, image.Right), std::max(area.Bottom, image.Bottom));
    }
    Info->CursorRect = area;
    Info->HintStr = ToWide(shortPart);
    return true;
}
