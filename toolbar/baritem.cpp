#include "toolbar/baritem.h"

#include <algorithm>

#include "toolbar/baractionlink.h"
#include "toolbar/barclickqueue.h"
#include "toolbar/barconsts.h"
#include "toolbar/bartext.h"
#include "toolbar/barviewer.h"
#include "toolbar/barwatch.h"

namespace {

// tboToolbarSize only counts together with tboToolbarStyle.
TBarItemOptions FilterToolbarSize(TBarItemOptions Options) {
    if (!Options.Contains(tboToolbarStyle)) Options.Exclude(tboToolbarSize);
    return Options;
}

}  // namespace

TBarCustomItem::TBarCustomItem(TComponent* AOwner) : inherited(AOwner) {
    BarClickQueueAddUser();
}

void TBarCustomItem::BeforeDestruction() {
    Destroying();
    CancelPostedClicks(this);
    while (!items_.empty()) items_.back()->Free();
    if (parent_) parent_->Remove(this);
    SetLinkSubitems(nullptr);
    for (TBarCustomItem* linkParent : std::vector<TBarCustomItem*>(linkParents_))
        if (linkParent->linkSubitems_ == this) linkParent->SetLinkSubitems(nullptr);
    actionLink_.reset();
    if (images_) images_->UnRegisterChanges(imagesLink_.get());
    if (subMenuImages_) subMenuImages_->UnRegisterChanges(subMenuImagesLink_.get());
    imagesLink_.reset();
    subMenuImagesLink_.reset();
    notifyList_.reset();
    BarClickQueueReleaseUser();
    inherited::BeforeDestruction();
}

// ---- child list ---------------------------------------------------------------

void TBarCustomItem::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index > Limit) throw EBarItemError(SBarItemIndexOutOfRange);
}

TBarCustomItem* TBarCustomItem::Items(int Index) const {
    CheckIndex(Index, Count() - 1);
    return items_[static_cast<size_t>(Index)];
}

int TBarCustomItem::IndexOf(const TBarCustomItem* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool TBarCustomItem::IsAncestorOrSelf(const TBarCustomItem* Item) const {
    for (const TBarCustomItem* p = this; p; p = p->parent_)
        if (p == Item) return true;
    return false;
}

void TBarCustomItem::Insert(int Index, TBarCustomItem* Item) {
    // An item inside itself would own itself: it counts as inserted already.
    if (!Item || Item->parent_ || IsAncestorOrSelf(Item)) throw EBarItemError(SBarItemAlreadyInserted);
    CheckIndex(Index, Count());
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    Notify(tbicSubitemsBeginUpdate, -1, nullptr);
    Notify(tbicInserted, Index, Item);
    Item->UpdateEffectiveOptions();
    Notify(tbicSubitemsEndUpdate, -1, nullptr);
}

void TBarCustomItem::Delete(int Index) {
    CheckIndex(Index, Count() - 1);
    TBarCustomItem* item = items_[static_cast<size_t>(Index)];
    Notify(tbicDeleting, Index, item);
    // A notified view may have changed the list; find the item again.
    item->parent_ = nullptr;
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end()) items_.erase(it);
}

void TBarCustomItem::Remove(TBarCustomItem* Item) {
    const int index = IndexOf(Item);
    if (index >= 0) Delete(index);
}

void TBarCustomItem::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    // Both checked before anything is announced, so no view is left inside
    // an update that never ends.
    CheckIndex(CurIndex, Count() - 1);
    CheckIndex(NewIndex, Count() - 1);
    TBarCustomItem* item = items_[static_cast<size_t>(CurIndex)];
    Notify(tbicSubitemsBeginUpdate, -1, nullptr);
    try {
        Delete(CurIndex);
        Insert(NewIndex, item);
    } catch (...) {
        Notify(tbicSubitemsEndUpdate, -1, nullptr);
        throw;
    }
    Notify(tbicSubitemsEndUpdate, -1, nullptr);
}

void TBarCustomItem::SetParentComponent(TComponent* Value) {
    if (parent_) parent_->Remove(this);
    if (!Value) return;
    if (auto* item = dynamic_cast<TBarCustomItem*>(Value)) {
        item->Add(this);
    } else if (auto* container = dynamic_cast<ITBItemContainer*>(Value)) {
        if (TBarCustomItem* items = container->GetItems()) items->Add(this);
    }
}

TComponent* TBarCustomItem::GetParentComponent() const {
    if (parent_ && parent_->parentComponent_) return parent_->parentComponent_;
    return parent_;
}

// ---- notifications --------------------------------------------------------------

void TBarCustomItem::RegisterNotification(TBarItemChangedProc Proc, void* Data) {
    if (!notifyList_) notifyList_ = std::make_shared<TNotifyList>();
    for (auto& record : *notifyList_)
        if (record->Proc == Proc && record->Data == Data) {
            ++record->Count;
            return;
        }
    notifyList_->push_back(std::make_shared<TNotifyRecord>(TNotifyRecord{Proc, Data, 1}));
}

void TBarCustomItem::UnregisterNotification(TBarItemChangedProc Proc, void* Data) {
    if (!notifyList_) return;
    auto& list = *notifyList_;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->Proc != Proc || list[i]->Data != Data) continue;
        if (--list[i]->Count == 0) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            if (list.empty()) notifyList_.reset();
        }
        return;
    }
}

void TBarCustomItem::Notify(TBarItemChangedAction Action, int Index, TBarCustomItem* Item) {
    RelayNotify(this, 0, Action, Index, Item);
}

void TBarCustomItem::RelayNotify(TBarCustomItem* Sender, int Depth, TBarItemChangedAction Action, int Index,
                                 TBarCustomItem* Item) {
    if (Depth < BarMaxRelayDepth) {
        if ((itemStyle_ & isfEmbeddedGroup) && parent_)
            parent_->RelayNotify(Sender, Depth + 1, Action, Index, Item);
        for (TBarCustomItem* linkParent : std::vector<TBarCustomItem*>(linkParents_))
            if (linkParent != parent_ && (linkParent->itemStyle_ & isfEmbeddedGroup) && linkParent->parent_)
                linkParent->parent_->RelayNotify(Sender, Depth + 1, Action, Index, Item);
    }
    // The list and each record stay alive while this runs, whatever the
    // procedures unregister.
    std::shared_ptr<TNotifyList> list = notifyList_;
    if (!list) return;
    size_t i = 0;
    while (i < list->size()) {
        std::shared_ptr<TNotifyRecord> record = (*list)[i];
        record->Proc(record->Data, Sender, Sender != this, Action, Index, Item);
        if (i < list->size() && (*list)[i] == record) ++i;
    }
}

// ---- properties -------------------------------------------------------------------

void TBarCustomItem::Change(bool NeedResize) {
    if (parent_) parent_->Notify(NeedResize ? tbicInvalidateAndResize : tbicInvalidate, -1, this);
}

void TBarCustomItem::SetCaption(const std::string& Value) {
    if (caption_ == Value) return;
    caption_ = Value;
    Change(true);
}

void TBarCustomItem::SetChecked(bool Value) {
    if (checked_ == Value) return;
    checked_ = Value;
    Change(false);
    if (Value) ClearRadioGroup();
}

void TBarCustomItem::ClearRadioGroup() {
    if (groupIndex_ == 0 || !parent_) return;
    for (int i = 0; i < parent_->Count(); ++i) {
        TBarCustomItem* other = parent_->items_[static_cast<size_t>(i)];
        if (other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
    }
}

void TBarCustomItem::SetDisplayMode(TBarItemDisplayMode Value) {
    if (displayMode_ == Value) return;
    displayMode_ = Value;
    Change(true);
}

void TBarCustomItem::SetEnabled(bool Value) {
    if (enabled_ == Value) return;
    enabled_ = Value;
    EnabledChanged();
}

void TBarCustomItem::SetGroupIndex(int Value) {
    if (groupIndex_ == Value) return;
    groupIndex_ = Value;
    if (checked_) ClearRadioGroup();
}

void TBarCustomItem::SetImageIndex(int Value) {
    if (imageIndex_ == Value) return;
    const bool imageCameOrWent = (imageIndex_ == -1) != (Value == -1);
    imageIndex_ = Value;
    Change(imageCameOrWent);
}

void TBarCustomItem::SetImages(TCustomImageList* Value) {
    if (images_ == Value) return;
    const bool hadList = images_ != nullptr;
    const int oldWidth = hadList ? images_->Width() : 0, oldHeight = hadList ? images_->Height() : 0;
    if (images_) {
        images_->UnRegisterChanges(imagesLink_.get());
        images_->RemoveFreeNotification(this);
    }
    images_ = Value;
    bool resize = !Value;
    if (Value) {
        if (!imagesLink_) {
            imagesLink_ = MakeOwned<TBarImageChangeLink>();
            imagesLink_->OnChange = TNotifyEvent(this, &TBarCustomItem::ImageListChanged);
        }
        Value->RegisterChanges(imagesLink_.get());
        Value->FreeNotification(this);
        imagesLink_->LastWidth = Value->Width();
        imagesLink_->LastHeight = Value->Height();
        resize = !hadList || Value->Width() != oldWidth || Value->Height() != oldHeight;
    }
    Change(resize);
}

void TBarCustomItem::SetSubMenuImages(TCustomImageList* Value) {
    if (subMenuImages_ == Value) return;
    if (subMenuImages_) {
        subMenuImages_->UnRegisterChanges(subMenuImagesLink_.get());
        subMenuImages_->RemoveFreeNotification(this);
    }
    subMenuImages_ = Value;
    if (Value) {
        if (!subMenuImagesLink_) {
            subMenuImagesLink_ = MakeOwned<TBarImageChangeLink>();
            subMenuImagesLink_->OnChange = TNotifyEvent(this, &TBarCustomItem::ImageListChanged);
        }
        Value->RegisterChanges(subMenuImagesLink_.get());
        Value->FreeNotification(this);
        subMenuImagesLink_->LastWidth = Value->Width();
        subMenuImagesLink_->LastHeight = Value->Height();
    }
    Notify(tbicSubMenuImagesChanged, -1, nullptr);
}

void TBarCustomItem::ImageListChanged(TObject* Sender) {
    if (Sender == images_ && imagesLink_) {
        const bool resized =
            imagesLink_->LastWidth != images_->Width() || imagesLink_->LastHeight != images_->Height();
        imagesLink_->LastWidth = images_->Width();
        imagesLink_->LastHeight = images_->Height();
        Change(resized);
    }
    if (Sender == subMenuImages_ && subMenuImagesLink_) {
        subMenuImagesLink_->LastWidth = subMenuImages_->Width();
        subMenuImagesLink_->LastHeight = subMenuImages_->Height();
        Notify(tbicSubMenuImagesChanged, -1, nullptr);
    }
}

void TBarCustomItem::SetInheritOptions(bool Value) {
    if (inheritOptions_ == Value) return;
    inheritOptions_ = Value;
    UpdateEffectiveOptions();
}

void TBarCustomItem::SetMaskOptions(TBarItemOptions Value) {
    if (maskOptions_ == Value) return;
    maskOptions_ = Value;
    UpdateEffectiveOptions();
}

void TBarCustomItem::SetOptions(TBarItemOptions Value) {
    Value = FilterToolbarSize(Value);
    if (options_ == Value) return;
    options_ = Value;
    UpdateEffectiveOptions();
}

void TBarCustomItem::UpdateEffectiveOptions() {
    TBarItemOptions inheritedOptions;
    if (inheritOptions_ && parent_)
        inheritedOptions = parent_->effectiveOptions_ - TBarItemOptions{tboDefault};
    const TBarItemOptions newOptions = FilterToolbarSize((inheritedOptions - maskOptions_) + options_);
    if (newOptions == effectiveOptions_) return;
    const bool layoutChanged = !((newOptions * BarLayoutOptions) == (effectiveOptions_ * BarLayoutOptions));
    effectiveOptions_ = newOptions;
    if (layoutChanged) Change(true);
    for (TBarCustomItem* child : std::vector<TBarCustomItem*>(items_))
        if (child->inheritOptions_) child->UpdateEffectiveOptions();
}

void TBarCustomItem::SetRadioItem(bool Value) {
    if (radioItem_ == Value) return;
    radioItem_ = Value;
    Change(false);
}

void TBarCustomItem::SetVisible(bool Value) {
    if (visible_ == Value) return;
    visible_ = Value;
    Change(true);
}

void TBarCustomItem::SetLinkSubitems(TBarCustomItem* Value) {
    if (Value == this) Value = nullptr;
    if (linkSubitems_ == Value) return;
    if (linkSubitems_) {
        auto& parents = linkSubitems_->linkParents_;
        parents.erase(std::remove(parents.begin(), parents.end(), this), parents.end());
        linkSubitems_->RemoveFreeNotification(this);
    }
    linkSubitems_ = Value;
    if (Value) {
        Value->linkParents_.push_back(this);
        Value->FreeNotification(this);
    }
    Notify(tbicSubitemsChanged, -1, nullptr);
}

void TBarCustomItem::SetName(const std::string& NewName) {
    if (NewName == Name()) return;
    inherited::SetName(NewName);
    if (parent_) parent_->Notify(tbicNameChanged, -1, this);
}

void TBarCustomItem::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (actionLink_ && AComponent == actionLink_->Action()) SetAction(nullptr);
    if (AComponent == images_) SetImages(nullptr);
    if (AComponent == subMenuImages_) SetSubMenuImages(nullptr);
    if (AComponent == linkSubitems_) SetLinkSubitems(nullptr);
    linkParents_.erase(std::remove(linkParents_.begin(), linkParents_.end(), AComponent), linkParents_.end());
}

// ---- action -------------------------------------------------------------------------

TBasicAction* TBarCustomItem::Action() const {
    return actionLink_ ? actionLink_->Action() : nullptr;
}

void TBarCustomItem::SetAction(TBasicAction* Value) {
    if (!Value) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_.reset(Create<TBarCustomItemActionLink>(this));
    // No change handler: the action pushes each property through the link,
    // which leaves values the item has made its own alone.
    actionLink_->SetAction(Value);
    ActionChange(Value, Value->ComponentState().Contains(csLoading) || ComponentState().Contains(csLoading));
    Value->FreeNotification(this);
}

void TBarCustomItem::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || !autoCheck_) SetAutoCheck(action->AutoCheck());
    if (!CheckDefaults || caption_.empty()) SetCaption(action->Caption());
    if (!CheckDefaults || !checked_) SetChecked(action->Checked());
    if (!CheckDefaults || enabled_) SetEnabled(action->Enabled());
    if (!CheckDefaults || helpContext_ == 0) SetHelpContext(action->HelpContext());
    if (!CheckDefaults || hint_.empty()) SetHint(action->Hint());
    if (!CheckDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
    if (!CheckDefaults || shortCut_ == 0) SetShortCut(action->ShortCut());
    if (!CheckDefaults || visible_) SetVisible(action->Visible());
    if (!CheckDefaults || !OnClick) OnClick = action->OnExecute;
}

void TBarCustomItem::Loaded() {
    inherited::Loaded();
    if (Action()) ActionChange(Action(), true);
}

bool TBarCustomItem::IsAutoCheckStored() const {
    return !actionLink_ || !actionLink_->IsAutoCheckLinked();
}
bool TBarCustomItem::IsCaptionStored() const {
    return !actionLink_ || !actionLink_->IsCaptionLinked();
}
bool TBarCustomItem::IsCheckedStored() const {
    return !actionLink_ || !actionLink_->IsCheckedLinked();
}
bool TBarCustomItem::IsEnabledStored() const {
    return !actionLink_ || !actionLink_->IsEnabledLinked();
}
bool TBarCustomItem::IsHelpContextStored() const {
    return !actionLink_ || !actionLink_->IsHelpContextLinked();
}
bool TBarCustomItem::IsHintStored() const {
    return !actionLink_ || !actionLink_->IsHintLinked();
}
bool TBarCustomItem::IsImageIndexStored() const {
    return !actionLink_ || !actionLink_->IsImageIndexLinked();
}
bool TBarCustomItem::IsShortCutStored() const {
    return !actionLink_ || !actionLink_->IsShortCutLinked();
}
bool TBarCustomItem::IsVisibleStored() const {
    return !actionLink_ || !actionLink_->IsVisibleLinked();
}
bool TBarCustomItem::IsOnClickStored() const {
    return !actionLink_ || !actionLink_->IsOnExecuteLinked();
}

// ---- clicking ---------------------------------------------------------------------------

void TBarCustomItem::Click() {
    if (!enabled_) return;
    if (autoCheck_ && (!actionLink_ || !actionLink_->IsAutoCheckLinked())) SetChecked(!checked_);
    TBasicAction* action = Action();
    if (OnClick && action && !(OnClick == action->OnExecute)) {
        OnClick(this);
        return;
    }
    if (!ComponentState().Contains(csDesigning) && actionLink_) {
        actionLink_->Execute(this);
        return;
    }
    if (OnClick) OnClick(this);
}

void TBarCustomItem::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void TBarCustomItem::DoPopup(TBarCustomItem* Sender, bool FromLink) {
    // A handler that rebuilds the menu may free this item: nothing is
    // clicked then.
    TBarWatch<TBarCustomItem> self(this);
    if (OnPopup) OnPopup(Sender, FromLink);
    if (self && !(itemStyle_ & isfCombo)) Click();
}

TBarItemViewer* TBarCustomItem::CreateItemViewer(TBarView* View, int GroupLevel) {
    return Create<TBarItemViewer>(View, this, GroupLevel);
}

std::string TBarCustomItem::GetShortCutText() const {
    const size_t tab = caption_.find('\t');
    if (tab != std::string::npos && tab + 1 < caption_.size()) return caption_.substr(tab + 1);
    return shortCut_ ? ShortCutToText(shortCut_) : std::string();
}

// ---- descendants ------------------------------------------------------------------------

TBarSeparatorItem::TBarSeparatorItem(TComponent* AOwner) : inherited(AOwner) {
    SetItemStyle((ItemStyle() & ~(isfSelectable | isfRedrawOnSelChange | isfRedrawOnMouseOverChange)) |
                 isfSeparator | isfClicksTransparent);
}

void TBarSeparatorItem::SetBlank(bool Value) {
    if (blank_ == Value) return;
    blank_ = Value;
    Change(false);
}

TBarItemViewer* TBarSeparatorItem::CreateItemViewer(TBarView* View, int GroupLevel) {
    return Create<TBarSeparatorItemViewer>(View, this, GroupLevel);
}

TBarControlItem::TBarControlItem(TComponent* AOwner) : inherited(AOwner) {
    SetItemStyle((ItemStyle() & ~isfSelectable) | isfClicksTransparent);
}

TBarControlItem::TBarControlItem(TComponent* AOwner, TControl* AControl) : TBarControlItem(AOwner) {
    control_ = AControl;
    if (AControl) AControl->FreeNotification(this);
}

void TBarControlItem::BeforeDestruction() {
    TControl* control = control_;
    control_ = nullptr;
    if (control) {
        control->RemoveFreeNotification(this);
        if (!DontFreeControl && !control->ComponentState().Contains(csAncestor)) control->Free();
    }
    inherited::BeforeDestruction();
}

void TBarControlItem::SetControl(TControl* Value) {
    if (control_ == Value) return;
    if (control_) control_->RemoveFreeNotification(this);
    control_ = Value;
    if (Value) Value->FreeNotification(this);
    Change(true);
}

void TBarControlItem::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == control_) control_ = nullptr;
}

TBarChevronItem::TBarChevronItem(TComponent* AToolbar) : inherited(AToolbar), toolbar_(AToolbar) {
    SetItemStyle(ItemStyle() | isfSubmenu | isfNoAutoOpen);
    SetHint(SBarMoreButtonsHint);
    const std::string hint = SBarMoreButtonsHint;
    SetCaption(EscapeAmpersands(hint.substr(0, hint.find('|'))));
}

TBarItemViewer* TBarChevronItem::CreateItemViewer(TBarView* View, int GroupLevel) {
    return Create<TBarChevronItemViewer>(View, this, GroupLevel);
}
