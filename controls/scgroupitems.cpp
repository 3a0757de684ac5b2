#include "controls/scgroupitems.h"

#include "classlib/windows/hintmanager.h"
#include "classlib/windows/shortcuts.h"
#include "controls/scgroup.h"
#include "controls/scstore.h"

// ---- TScGroupItemActionLink -------------------------------------------------

void TScGroupItemActionLink::AssignClient(TObject* AClient) {
    item_ = static_cast<TScGroupItem*>(AClient);
}

bool TScGroupItemActionLink::IsCaptionLinked() {
    return inherited::IsCaptionLinked() && item_->Caption() == CustomAction()->Caption();
}
bool TScGroupItemActionLink::IsEnabledLinked() {
    return inherited::IsEnabledLinked() && item_->Enabled() == CustomAction()->Enabled();
}
bool TScGroupItemActionLink::IsHintLinked() {
    return inherited::IsHintLinked() && item_->Hint() == CustomAction()->Hint();
}
bool TScGroupItemActionLink::IsImageIndexLinked() {
    return inherited::IsImageIndexLinked() && item_->ImageIndex() == CustomAction()->ImageIndex();
}
bool TScGroupItemActionLink::IsVisibleLinked() {
    return inherited::IsVisibleLinked() && item_->Visible() == CustomAction()->Visible();
}
bool TScGroupItemActionLink::IsOnExecuteLinked() {
    return Action() && item_->OnClick == Action()->OnExecute;
}

void TScGroupItemActionLink::SetCaption(const std::string& Value) {
    if (IsCaptionLinked()) item_->SetCaption(Value);
}
void TScGroupItemActionLink::SetEnabled(bool Value) {
    if (IsEnabledLinked()) item_->SetEnabled(Value);
}
void TScGroupItemActionLink::SetHint(const std::string& Value) {
    if (IsHintLinked()) item_->SetHint(Value);
}
void TScGroupItemActionLink::SetImageIndex(int Value) {
    if (IsImageIndexLinked()) item_->SetImageIndex(Value);
}
void TScGroupItemActionLink::SetVisible(bool Value) {
    if (IsVisibleLinked()) item_->SetVisible(Value);
}
void TScGroupItemActionLink::SetOnExecute(const TNotifyEvent& Value) {
    if (IsOnExecuteLinked()) item_->OnClick = Value;
}

// ---- TScGroupItem -----------------------------------------------------------

TScGroupItem::TScGroupItem(TCollection* Collection) : inherited(Collection) {}

void TScGroupItem::BeforeDestruction() {
    actionLink_.reset();
    inherited::BeforeDestruction();
}

TScGroup* TScGroupItem::Group() const {
    auto* items = static_cast<TScGroupItems*>(Collection());
    return items ? items->Group() : nullptr;
}

bool TScGroupItem::Clickable() const {
    return Assigned(OnClick) || Action() != nullptr;
}

void TScGroupItem::Click() {
    TBasicAction* action = Action();
    if (Assigned(OnClick) && (!action || !(OnClick == action->OnExecute))) {
        OnClick(this);
    } else if (actionLink_ && action) {
        actionLink_->Execute(Group());
    } else if (Assigned(OnClick)) {
        OnClick(this);
    }
}

void TScGroupItem::SetCaption(const std::string& Value) {
    if (caption_ == Value) return;
    caption_ = Value;
    measure_.Generation = -1;
    TCollectionItem::Changed(true);
}
void TScGroupItem::SetEnabled(bool Value) {
    if (StoreChanged(enabled_, Value)) TCollectionItem::Changed(false);
}
void TScGroupItem::SetVisible(bool Value) {
    if (StoreChanged(visible_, Value)) TCollectionItem::Changed(true);
}
void TScGroupItem::SetFontColor(TColor Value) {
    if (StoreChanged(fontColor_, Value)) TCollectionItem::Changed(false);
}
void TScGroupItem::SetFontStyle(TFontStyles Value) {
    if (StoreChanged(fontStyle_, Value)) TCollectionItem::Changed(true);
}
void TScGroupItem::SetImageIndex(int Value) {
    if (StoreChanged(imageIndex_, Value)) TCollectionItem::Changed(true);
}
void TScGroupItem::SetDisabledIndex(int Value) {
    if (StoreChanged(disabledIndex_, Value)) TCollectionItem::Changed(false);
}
void TScGroupItem::SetIndentLevel(std::uint8_t Value) {
    if (StoreChanged(indentLevel_, Value)) TCollectionItem::Changed(true);
}

void TScGroupItem::SetSelected(bool Value) {
    TScGroup* group = Group();
    if (selected_ == Value && (!Value || !group || group->SelectedIndex() == Index())) return;
    selected_ = Value;
    if (!group) return;
    if (Value)
        group->ItemSelected(this);
    else
        group->ItemDeselected(this);
}

bool TScGroupItem::ValueFromAction(TActionValue Value) const {
    if (!actionLink_ || !actionLink_->Action()) return false;
    switch (Value) {
        case avCaption:
            return actionLink_->IsCaptionLinked();
        case avEnabled:
            return actionLink_->IsEnabledLinked();
        case avHint:
            return actionLink_->IsHintLinked();
        case avImageIndex:
            return actionLink_->IsImageIndexLinked();
    }
    return false;
}

TBasicAction* TScGroupItem::Action() const {
    return actionLink_ ? actionLink_->Action() : nullptr;
}

void TScGroupItem::SetAction(TBasicAction* Value) {
    if (!Value) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = MakeOwned<TScGroupItemActionLink>(this);
    actionLink_->SetAction(Value);
    actionLink_->OnChange = TNotifyEvent(this, &TScGroupItem::DoActionChange);
    TScGroup* group = Group();
    ActionChange(Value, group && group->ComponentState().Contains(csLoading));
}

void TScGroupItem::DoActionChange(TObject* Sender) {
    if (Sender == Action()) ActionChange(Sender, false);
}

void TScGroupItem::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(static_cast<TBasicAction*>(Sender));
    if (!action) return;
    if (!CheckDefaults || caption_.empty()) SetCaption(action->Caption());
    if (!CheckDefaults || enabled_) SetEnabled(action->Enabled());
    if (!CheckDefaults || hint_.empty()) {
        std::string hint = action->Hint();
        if (HintManager()->HintShortCuts() && action->ShortCut() != 0)
            hint += " (" + ShortCutToText(action->ShortCut()) + ")";
        SetHint(hint);
    }
    if (!CheckDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
    if (!CheckDefaults || visible_) SetVisible(action->Visible());
    if (!CheckDefaults || !Assigned(OnClick)) OnClick = action->OnExecute;
}

void TScGroupItem::Assign(TPersistent* Source) {
    auto* item = dynamic_cast<TScGroupItem*>(Source);
    if (!item) {
        inherited::Assign(Source);
        return;
    }
    SetAction(item->Action());
    SetCaption(item->caption_);
    SetDisabledIndex(item->disabledIndex_);
    SetEnabled(item->enabled_);
    SetFontColor(item->fontColor_);
    SetFontStyle(item->fontStyle_);
    SetHint(item->hint_);
    SetImageIndex(item->imageIndex_);
    SetVisible(item->visible_);
    OnClick = item->OnClick;
}

void TScGroupItem::AssignTo(TPersistent* Dest) {
    auto* action = dynamic_cast<TCustomAction*>(Dest);
    if (!action) {
        inherited::AssignTo(Dest);
        return;
    }
    action->SetCaption(caption_);
    action->SetEnabled(enabled_);
    action->SetHint(hint_);
    action->SetImageIndex(imageIndex_);
    action->SetVisible(visible_);
    action->SetOnExecute(OnClick);
}

std::string TScGroupItem::GetDisplayName() const {
    return caption_.empty() ? inherited::GetDisplayName() : caption_;
}

// ---- TScGroupItems ----------------------------------------------------------

TScGroupItems::TScGroupItems(TScGroup* AGroup)
    : inherited(AGroup, TScGroupItem::ClassInfo()), group_(AGroup) {}

void TScGroupItems::Update(TCollectionItem* Item) {
    if (!group_) return;
    if (Item)
        group_->Invalidate();
    else
        group_->ItemsChanged();
}

void TScGroupItems::Notify(TCollectionItem* Item, TCollectionNotification Action) {
    inherited::Notify(Item, Action);
    // Every way out (Delete, Clear, Assign, the item's own Free, a move to
    // another group) ends in an extraction.
    if (group_ && Action == cnExtracting) group_->ItemLeaving(static_cast<TScGroupItem*>(Item));
}
