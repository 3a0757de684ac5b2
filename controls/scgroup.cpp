#include "controls/scgroup.h"

#include <algorithm>
#include <utility>

#include "classlib/core/text.h"
#include "classlib/windows/themes.h"
#include "controls/scgroupacc.h"
#include "controls/scgroupbar.h"
#include "controls/scgroupcontroller.h"
#include "controls/scrapidfire.h"
#include "controls/scscheme.h"

TScGroup::TScGroup(TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetDoubleBuffered(true);
    applyingColor_ = true;
    SetParentColor(false);
    SetColor(clBtnFace);
    applyingColor_ = false;
    captionFont_ = MakeOwned<TFont>();
    itemStaticFont_ = MakeOwned<TFont>();
    applyingFonts_ = true;
    Font()->SetColor(clWindowText);
    captionFont_->Assign(Font());
    captionFont_->SetStyle({fsBold});
    captionFont_->SetColor(clHighlight);
    itemStaticFont_->Assign(Font());
    applyingFonts_ = false;
    captionFont_->OnChange = TNotifyEvent(this, &TScGroup::CaptionFontChanged);
    itemStaticFont_->OnChange = TNotifyEvent(this, &TScGroup::ItemStaticFontChanged);
    items_ = Create<TScGroupItems>(this);
    smallLink_ = MakeOwned<TChangeLink>();
    smallLink_->OnChange = TNotifyEvent(this, &TScGroup::ImagesChanged);
    largeLink_ = MakeOwned<TChangeLink>();
    largeLink_->OnChange = TNotifyEvent(this, &TScGroup::ImagesChanged);
    SetBounds(0, 0, 100, captionHeight_);
    for (TScRapidFireButton** button : {&upButton_, &downButton_}) {
        *button = Create<TScRapidFireButton>(this);
        (*button)->SetVisible(false);
        (*button)->SetBounds(0, 0, 17, 17);
        (*button)->SetParent(this);
    }
    upButton_->SetScrollStyle(scsUp);
    downButton_->SetScrollStyle(scsDown);
    upButton_->OnClick = TNotifyEvent(this, &TScGroup::ScrollUpClick);
    downButton_->OnClick = TNotifyEvent(this, &TScGroup::ScrollDownClick);
}

void TScGroup::BeforeDestruction() {
    // Going from here on: leaving the bar hides the window, and a reader
    // asking for the object then must not get a new one that outlives us.
    Destroying();
    if (accObject_) std::exchange(accObject_, nullptr)->ClientIsDestroying();
    SetGroupController(nullptr);
    if (bar_) bar_->RemoveGroup(this);
    hotItem_ = popupItem_ = rightPressed_ = nullptr;
    if (items_) {
        TScGroupItems* items = items_;
        items_ = nullptr;
        items->Free();
    }
    smallLink_.reset();
    largeLink_.reset();
    inherited::BeforeDestruction();
}

// ---- the bar ----------------------------------------------------------------

void TScGroup::SetParent(TWinControl* AParent) {
    auto* bar = dynamic_cast<TScGroupBar*>(AParent);
    if (AParent && !bar)
        throw EScGroupBarError("TScGroup components can only be placed in a TScGroupBar component");
    if (bar && bar != bar_) {
        SetGroupBar(bar);
        return;
    }
    if (!AParent && bar_) {
        bar_->RemoveGroup(this);
        return;
    }
    inherited::SetParent(AParent);
}

void TScGroup::SetGroupBar(TScGroupBar* Value) {
    if (bar_ == Value) return;
    if (bar_) bar_->RemoveGroup(this);
    if (Value) Value->AddGroup(this);
}

void TScGroup::RelayoutBar() {
    if (bar_) bar_->UpdateGroups(this);
}

int TScGroup::GroupIndex() const {
    return bar_ ? bar_->IndexOfGroup(this) : -1;
}

void TScGroup::SetGroupIndex(int Value) {
    if (!bar_) return;
    const int last = bar_->GetGroupCount() - 1;
    // Below zero is as wrong as past the end.
    if (Value < 0 || Value > last)
        throw EListError(
            Format("%d is an invalid GroupIndex value. GroupIndex must be between 0 and %d", Value, last));
    bar_->MoveGroup(this, Value);
}

// ---- opening and style ------------------------------------------------------

void TScGroup::SetOpened(bool Value) {
    if (!bar_) {
        opened_ = Value;
        return;
    }
    if (opened_ == Value) return;
    bool allow = true;
    if (!Value && Assigned(OnCanClose)) OnCanClose(this, allow);
    if (Value && Assigned(OnCanOpen)) OnCanOpen(this, allow);
    if (!allow) return;
    switch (style_) {
        case gbsCategoryView:
            if (!canClose_) return;
            opened_ = Value;
            if (opened_ && Assigned(OnOpen)) OnOpen(this);
            if (!opened_ && Assigned(OnClose)) OnClose(this);
            if (!bar_) return;  // a handler may have taken the group out
            RelayoutBar();
            if (opened_)
                for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
            break;
        case gbsTaskList:
            opened_ = true;
            break;
        case gbsOutlook: {
            if (!Value) return;
            opened_ = true;
            TScGroupBar* bar = bar_;
            for (int i = 0; i < bar->GetGroupCount(); ++i) {
                TScGroup* other = bar->GetGroup(i);
                if (other == this) continue;
                other->opened_ = false;
                if (Assigned(other->OnClose)) other->OnClose(other);
            }
            if (Assigned(OnOpen)) OnOpen(this);
            RelayoutBar();
            break;
        }
    }
    UpdateScrollButtons();
    Invalidate();
}

void TScGroup::ApplyStyleDefaults() {
    if (colorDefault_) {
        TColor color = clBtnFace;
        if (style_ == gbsCategoryView && bar_ && bar_->VisualStyle() == vsWinXP &&
            ThemeServices()->ThemesEnabled())
            color = GetXPThemeColor(3);
        if (style_ == gbsTaskList) color = bar_ ? bar_->Color() : clWindow;
        if (style_ == gbsOutlook) color = clBtnShadow;
        applyingColor_ = true;
        SetColor(color);
        SetParentColor(style_ == gbsTaskList);
        applyingColor_ = false;
    }
    if (captionColorDefault_)
        captionColor_ = style_ == gbsCategoryView ? clHighlightText
                        : style_ == gbsTaskList   ? clWindow
                                                  : clBtnFace;
    applyingFonts_ = true;
    if (!fontUserSet_) Font()->SetColor(clWindowText);
    if (!captionFontUserSet_) {
        captionFont_->SetStyle(style_ == gbsOutlook ? TFontStyles{} : TFontStyles{fsBold});
        captionFont_->SetColor(style_ == gbsCategoryView ? clHighlight : clWindowText);
    }
    applyingFonts_ = false;
    Invalidate();
}

void TScGroup::UpdateStyle(TScGroupBarStyle Value) {
    const TScGroupBarStyle old = style_;
    const bool loading = ComponentState().Contains(csLoading);
    style_ = Value;
    ApplyStyleDefaults();
    auto reopen = [this] {
        opened_ = true;
        if (items_->Count() == 0 && ControlCount() <= 2) openedHeight_ = 50;
    };
    switch (Value) {
        case gbsCategoryView:
            dividerColor_ = clHighlight;
            if (old != Value) dividerVisible_ = false;
            if (old == gbsOutlook) reopen();
            if (old == gbsTaskList) canClose_ = true;
            break;
        case gbsTaskList:
            if (!loading) {
                dividerVisible_ = true;
                dividerColor_ = clHighlight;
            }
            canClose_ = false;
            if (old == gbsOutlook) reopen();
            break;
        case gbsOutlook:
            canClose_ = true;
            if (!loading && bar_) opened_ = GroupIndex() == 0;
            break;
    }
    UpdateScrollButtons();
    Invalidate();
}

// ---- setters ----------------------------------------------------------------

void TScGroup::SetOpenedHeight(int Value) {
    if (items_->Count() == 0 && ControlCount() <= 2 && !ComponentState().Contains(csLoading)) Value = 50;
    if (openedHeight_ == Value) return;
    openedHeight_ = Value;
    if (opened_) RelayoutBar();
}

void TScGroup::SetCanClose(bool Value) {
    if (style_ != gbsCategoryView || canClose_ == Value) return;
    if (!Value) SetOpened(true);
    canClose_ = Value;
    Invalidate();
}

void TScGroup::SetCaptionHeight(int Value) {
    Value = std::max(Value, 16);
    if (captionHeight_ == Value) return;
    captionHeight_ = Value;
    ItemsChanged();
}

void TScGroup::SetCaptionStyle(TScCaptionStyle Value) {
    SetMeasured(captionStyle_, Value);
}
void TScGroup::SetCaptionImageIndex(int Value) {
    SetMeasured(captionImageIndex_, Value);
}
void TScGroup::SetItemStyle(TScItemStyle Value) {
    SetMeasured(itemStyle_, Value);
}

void TScGroup::SetCaptionColor(TColor Value) {
    captionColorDefault_ = false;
    SetLook(captionColor_, Value);
}

void TScGroup::SetCaptionColorDefault(bool Value) {
    captionColorDefault_ = Value;
    if (Value) ApplyStyleDefaults();
}

void TScGroup::SetColorDefault(bool Value) {
    colorDefault_ = Value;
    if (Value) ApplyStyleDefaults();
}

void TScGroup::SetSmallImages(TCustomImageList* Value) {
    if (smallImages_ == Value) return;
    if (smallImages_) smallImages_->RemoveFreeNotification(this);
    smallImages_ = Value;
    smallLink_->SetSender(Value);
    if (Value) Value->FreeNotification(this);
    MeasureInputsChanged();
}

void TScGroup::SetLargeImages(TCustomImageList* Value) {
    if (largeImages_ == Value) return;
    if (largeImages_) largeImages_->RemoveFreeNotification(this);
    largeImages_ = Value;
    largeLink_->SetSender(Value);
    if (Value) Value->FreeNotification(this);
    MeasureInputsChanged();
}

void TScGroup::SetItemPopupMenu(TPopupMenu* Menu, TComponent* MenuComponent) {
    if (itemPopupComponent_) itemPopupComponent_->RemoveFreeNotification(this);
    itemPopupMenu_ = Menu;
    itemPopupComponent_ = MenuComponent;
    if (MenuComponent) MenuComponent->FreeNotification(this);
}

void TScGroup::SetGroupController(TScGroupController* Value) {
    if (controller_ == Value) return;
    if (controller_) {
        controller_->RemoveGroup(this);
        controller_->RemoveFreeNotification(this);
    }
    controller_ = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->AddGroup(this);
    }
}

void TScGroup::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == smallImages_) SetSmallImages(nullptr);
    if (AComponent == largeImages_) SetLargeImages(nullptr);
    if (AComponent == itemPopupComponent_) itemPopupMenu_ = nullptr, itemPopupComponent_ = nullptr;
    if (AComponent == controller_) controller_ = nullptr;
}

void TScGroup::ImagesChanged(TObject*) {
    MeasureInputsChanged();
}

void TScGroup::FontChanged(TObject*) {
    if (applyingFonts_) return;
    fontUserSet_ = true;
    // Fonts the user never set follow Font.
    applyingFonts_ = true;
    if (!captionFontUserSet_) {
        captionFont_->SetName(Font()->Name());
        captionFont_->SetHeight(Font()->Height());
        captionFont_->SetStyle(captionFont_->Style() + TFontStyles{fsBold});
    }
    if (!itemStaticFontUserSet_) {
        const TColor color = itemStaticFont_->Color();
        itemStaticFont_->Assign(Font());
        itemStaticFont_->SetColor(color);
    }
    applyingFonts_ = false;
    MeasureInputsChanged();
}

void TScGroup::CaptionFontChanged(TObject*) {
    if (applyingFonts_) return;
    captionFontUserSet_ = true;
    Invalidate();
}

void TScGroup::ItemStaticFontChanged(TObject*) {
    if (applyingFonts_) return;
    itemStaticFontUserSet_ = true;
    MeasureInputsChanged();
}

void TScGroup::Loaded() {
    inherited::Loaded();
    // Items take their actions' values again, now that both are read.
    for (int i = 0; i < items_->Count(); ++i) {
        TScGroupItem* item = items_->GetItem(i);
        if (TBasicAction* action = item->Action()) item->ActionChange(action, false);
    }
    UpdateScrollButtons();
}

void TScGroup::Resize() {
    inherited::Resize();
    UpdateScrollButtons();
}

// ---- items ------------------------------------------------------------------

void TScGroup::ItemsChanged() {
    if (!items_) return;
    RelayoutBar();
    UpdateScrollButtons();
    Invalidate();
}

void TScGroup::ItemLeaving(TScGroupItem* Item) {
    // Nothing may keep pointing at an item that is going, and it takes none
    // of this group's mouse or selection state along. While the group is
    // being destroyed its items go with it and none of this matters.
    if (!items_) return;
    if (hotItem_ == Item) hotItem_ = nullptr;
    if (popupItem_ == Item) popupItem_ = nullptr;
    if (rightPressed_ == Item) rightPressed_ = nullptr;
    Item->state_ = isNormal;
    Item->pressed_ = false;
    Item->selected_ = false;
    const int index = Item->Index();
    if (selectedIndex_ == index)
        selectedIndex_ = -1;
    else if (selectedIndex_ > index)
        --selectedIndex_;
    if (topIndex_ > 0 && topIndex_ >= items_->Count() - 1) topIndex_ = std::max(0, items_->Count() - 2);
}

void TScGroup::DropSelectionExcept(TScGroupItem* Item) {
    for (int i = 0; i < items_->Count(); ++i) {
        TScGroupItem* other = items_->GetItem(i);
        if (other != Item) other->selected_ = false;
    }
    if (!Item || Item->Group() != this) {
        selectedIndex_ = -1;
    } else {
        selectedIndex_ = Item->Index();
    }
    Invalidate();
}

void TScGroup::ItemSelected(TScGroupItem* Item) {
    Perform(SCM_ITEMSELECTED, 0, reinterpret_cast<LPARAM>(Item));
    if (bar_ && bar_->UniqueItemSelection() && bar_->Parent()) {
        TMessage message{SCM_ITEMSELECTED, 0, reinterpret_cast<LPARAM>(Item), 0};
        bar_->Parent()->Broadcast(message);
    }
}

void TScGroup::ItemDeselected(TScGroupItem* Item) {
    if (selectedIndex_ == Item->Index()) selectedIndex_ = -1;
    Invalidate();
}

void TScGroup::SetSelectedIndex(int Value) {
    if (Value >= 0 && Value < items_->Count()) {
        items_->GetItem(Value)->SetSelected(true);
        return;
    }
    for (int i = 0; i < items_->Count(); ++i) items_->GetItem(i)->selected_ = false;
    selectedIndex_ = -1;
    Invalidate();
}

TScGroupItem* TScGroup::SelectedItem() const {
    if (selectedIndex_ < 0 || selectedIndex_ >= items_->Count()) return nullptr;
    return items_->GetItem(selectedIndex_);
}

void TScGroup::SetTopIndex(int Value) {
    if (Value < 0 || Value >= items_->Count() || Value == topIndex_) return;
    topIndex_ = Value;
    UpdateScrollButtons();
    Invalidate();
}

// ---- measuring --------------------------------------------------------------

TCustomImageList* TScGroup::ItemImages() const {
    if (itemStyle_ == isLarge) return largeImages_ ? largeImages_ : bar_ ? bar_->LargeImages() : nullptr;
    return smallImages_ ? smallImages_ : bar_ ? bar_->SmallImages() : nullptr;
}

TCustomImageList* TScGroup::CaptionImages() const {
    if (captionStyle_ == csLarge) return largeImages_ ? largeImages_ : bar_ ? bar_->LargeImages() : nullptr;
    return smallImages_ ? smallImages_ : bar_ ? bar_->SmallImages() : nullptr;
}

TFont* TScGroup::ItemFont(const TScGroupItem* Item) const {
    return Item->Clickable() ? Font() : itemStaticFont_.get();
}

int TScGroup::CaptionOverhang() const {
    TCustomImageList* images = CaptionImages();
    if (!images || captionImageIndex_ == -1 || images->Height() <= captionHeight_) return 0;
    return images->Height() - captionHeight_ + 4;
}

int TScGroup::LargeImageSpace() const {
    TCustomImageList* images = largeImages_ ? largeImages_ : bar_ ? bar_->LargeImages() : nullptr;
    return images ? images->Height() + 2 : 34;
}

std::vector<bool> TScGroup::HiddenItems() const {
    std::vector<TScItemShape> shapes;
    shapes.reserve(static_cast<size_t>(items_->Count()));
    for (int i = 0; i < items_->Count(); ++i) {
        const TScGroupItem* item = items_->GetItem(i);
        shapes.push_back({item->Visible(), item->IsSeparator()});
    }
    return HiddenSeparators(shapes, topIndex_);
}

int TScGroup::OpenHeightFor(int Width) {
    return items_->Count() > 0 ? CalcItemsBottom(Width) : openedHeight_;
}

// ---- scroll buttons ---------------------------------------------------------

void TScGroup::UpdateScrollButtons() {
    if (!upButton_ || !downButton_) return;
    if (style_ != gbsOutlook || !opened_) {
        upButton_->SetVisible(false);
        downButton_->SetVisible(false);
        return;
    }
    const int x = ClientWidth() - 21;
    upButton_->SetBounds(x, captionHeight_ + 4, 17, 17);
    downButton_->SetBounds(x, ClientHeight() - 21, 17, 17);
    upButton_->SetVisible(topIndex_ > 0);
    downButton_->SetVisible(items_->Count() > 0 && CalcItemsBottom(ClientWidth()) > ClientHeight());
}

void TScGroup::ScrollUpClick(TObject*) {
    if (topIndex_ > 0) --topIndex_;
    UpdateScrollButtons();
    Invalidate();
}

void TScGroup::ScrollDownClick(TObject*) {
    if (topIndex_ < items_->Count() - 1) ++topIndex_;
    UpdateScrollButtons();
    Invalidate();
}

void TScGroup::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSELEAVE:
            inherited::WndProc(Message);
            ClearMouseStates();
            return;
        case CM_COLORCHANGED:
            // A colour set from outside no longer follows the style.
            if (!applyingColor_ && !ParentColor()) colorDefault_ = false;
            inherited::WndProc(Message);
            return;
        case CM_FONTCHANGED:
            inherited::WndProc(Message);
            FontChanged(this);
            return;
        case CM_HINTSHOW:
            Message.Result = ShowHintAt(Message.LParamAs<THintInfo>()) ? 0 : 1;
            return;
        case SCM_ITEMSELECTED: {
            auto* item = reinterpret_cast<TScGroupItem*>(Message.LParam);
            DropSelectionExcept(item && item->Group() == this ? item : nullptr);
            return;
        }
        case SCM_ACCACTION:
            // Looked up again: the item may have gone since the client asked.
            if (static_cast<int>(Message.WParam) < 0) {
                if (CaptionToggles()) ToggleOpened();
            } else if (items_) {
                ClickItem(static_cast<TScGroupItem*>(items_->FindItemID(static_cast<int>(Message.WParam))));
            }
            return;
        case WM_GETOBJECT:
            if (static_cast<LONG>(Message.LParam) == OBJID_CLIENT && GetAccObject()) {
                Message.Result = AccLresultFromObject(IID_IAccessible, Message.WParam,
                                                      static_cast<IAccessible*>(accObject_));
                return;
            }
            inherited::WndProc(Message);
            return;
        default:
            inherited::WndProc(Message);
    }
}
