#include "classlib/windows/actions.h"

#include <algorithm>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"

// ---- TBasicAction -----------------------------------------------------------

void TBasicAction::BeforeDestruction() {
    while (!clients_.empty()) {
        TBasicActionLink* link = clients_.back();
        clients_.pop_back();
        link->action_ = nullptr;
    }
    inherited::BeforeDestruction();
}

bool TBasicAction::Execute() {
    if (!Assigned(OnExecute)) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!Assigned(OnUpdate)) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& Value) {
    if (OnExecute == Value) return;
    // A link's test compares its client with the old handler, so the
    // clients hear of it before the handler is replaced.
    for (size_t i = 0; i < clients_.size(); ++i) clients_[i]->SetOnExecute(Value);
    OnExecute = Value;
    Change();
}

void TBasicAction::Change() {
    if (Assigned(OnChange)) OnChange(this);
    for (size_t i = 0; i < clients_.size(); ++i) clients_[i]->Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) {
    clients_.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
    std::erase(clients_, Link);
}

// ---- TBasicActionLink -------------------------------------------------------

void TBasicActionLink::AfterConstruction() {
    inherited::AfterConstruction();
    AssignClient(client_);
}

void TBasicActionLink::BeforeDestruction() {
    if (action_) action_->UnRegisterChanges(this);
    action_ = nullptr;
    inherited::BeforeDestruction();
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (Value == action_) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = Value;
    if (action_) action_->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
    if (!action_) return false;
    TBasicAction* action = action_;
    action->SetActionComponent(AComponent);
    struct Reset {
        TBasicActionLink* link;
        TBasicAction* action;
        // The handler may have freed the action (the link then let go of it).
        ~Reset() {
            if (link->action_ == action) action->SetActionComponent(nullptr);
        }
    } reset{this, action};
    return action->Execute();
}

bool TBasicActionLink::Update() {
    return action_ && action_->Update();
}

void TBasicActionLink::Change() {
    if (Assigned(OnChange)) OnChange(action_);
}

// ---- TContainedAction -------------------------------------------------------

void TContainedAction::BeforeDestruction() {
    SetActionList(nullptr);
    inherited::BeforeDestruction();
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
    if (Value == actionList_) return;
    if (actionList_) actionList_->RemoveAction(this);
    if (Value) Value->AddAction(this);
}

int TContainedAction::Index() const {
    if (!actionList_) return -1;
    const auto& actions = actionList_->actions_;
    auto found = std::find(actions.begin(), actions.end(), this);
    return found == actions.end() ? -1 : static_cast<int>(found - actions.begin());
}

void TContainedAction::SetIndex(int Value) {
    const int current = Index();
    if (current < 0 || Value == current) return;
    auto& actions = actionList_->actions_;
    if (Value < 0 || Value >= static_cast<int>(actions.size()))
        throw EListError(Format("List index out of bounds (%d)", Value));
    actions.erase(actions.begin() + current);
    actions.insert(actions.begin() + Value, this);
    actionList_->Change();
}

void TContainedAction::SetCategory(const std::string& Value) {
    if (Value == category_) return;
    category_ = Value;
    if (actionList_) actionList_->Change();
}

bool TContainedAction::Execute() {
    if (actionList_ && actionList_->ExecuteAction(this)) return true;
    return inherited::Execute();
}

bool TContainedAction::Update() {
    if (actionList_ && actionList_->UpdateAction(this)) return true;
    return inherited::Update();
}

TComponent* TContainedAction::GetParentComponent() const {
    return actionList_ ? actionList_ : inherited::GetParentComponent();
}

// ---- TCustomAction ----------------------------------------------------------

template <class Push>
void TCustomAction::PushToLinks(Push push) {
    // Index by index: a client may drop its link while it takes a value.
    for (int i = 0; i < ClientCount(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(Clients(i))) push(link);
}

bool TCustomAction::Execute() {
    Update();
    if (!enabled_) return false;
    if (autoCheck_) SetChecked(!checked_);
    return inherited::Execute();
}

bool TCustomAction::DoHint(std::string& HintStr) {
    bool canShow = true;
    if (Assigned(OnHint)) OnHint(HintStr, canShow);
    return canShow;
}

// Each setter pushes before it stores: a link's "is X linked" compares its
// client with the value the action still holds.
void TCustomAction::SetAutoCheck(bool Value) {
    if (Value == autoCheck_) return;
    PushToLinks([Value](TActionLink* link) { link->SetAutoCheck(Value); });
    autoCheck_ = Value;
    Change();
}

void TCustomAction::SetCaption(const std::string& Value) {
    if (Value == caption_) return;
    PushToLinks([&Value](TActionLink* link) { link->SetCaption(Value); });
    caption_ = Value;
    Change();
}

void TCustomAction::SetChecked(bool Value) {
    if (Value == checked_) return;
    PushToLinks([Value](TActionLink* link) { link->SetChecked(Value); });
    checked_ = Value;
    Change();
}

void TCustomAction::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    PushToLinks([Value](TActionLink* link) { link->SetEnabled(Value); });
    enabled_ = Value;
    Change();
}

void TCustomAction::SetHelpContext(int Value) {
    if (Value == helpContext_) return;
    PushToLinks([Value](TActionLink* link) { link->SetHelpContext(Value); });
    helpContext_ = Value;
    Change();
}

void TCustomAction::SetHint(const std::string& Value) {
    if (Value == hint_) return;
    PushToLinks([&Value](TActionLink* link) { link->SetHint(Value); });
    hint_ = Value;
    Change();
}

void TCustomAction::SetImageIndex(int Value) {
    if (Value == imageIndex_) return;
    PushToLinks([Value](TActionLink* link) { link->SetImageIndex(Value); });
    imageIndex_ = Value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
    if (Value == shortCut_) return;
    PushToLinks([Value](TActionLink* link) { link->SetShortCut(Value); });
    shortCut_ = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (Value == visible_) return;
    PushToLinks([Value](TActionLink* link) { link->SetVisible(Value); });
    visible_ = Value;
    Change();
}

// ---- TActionLink ------------------------------------------------------------

TCustomAction* TActionLink::CustomAction() const {
    return dynamic_cast<TCustomAction*>(Action());
}

bool TActionLink::IsCaptionLinked() {
    return CustomAction() != nullptr;
}
bool TActionLink::IsCheckedLinked() {
    return CustomAction() != nullptr;
}
bool TActionLink::IsEnabledLinked() {
    return CustomAction() != nullptr;
}
bool TActionLink::IsHelpContextLinked() {
    return CustomAction() != nullptr;
}
bool TActionLink::IsHintLinked() {
    return CustomAction() != nullptr;
}
bool TActionLink::IsImageIndexLinked() {
    return CustomAction() != nullptr;
}
bool TActionLink::IsShortCutLinked() {
    return CustomAction() != nullptr;
}
bool TActionLink::IsVisibleLinked() {
    return CustomAction() != nullptr;
}

// ---- TCustomActionList ------------------------------------------------------

void TCustomActionList::BeforeDestruction() {
    while (!actions_.empty()) actions_.back()->SetActionList(nullptr);
    inherited::BeforeDestruction();
}

void TCustomActionList::AddAction(TContainedAction* Action) {
    actions_.push_back(Action);
    Action->actionList_ = this;
    Action->FreeNotification(this);
    Change();
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
    if (std::erase(actions_, Action) == 0) return;
    Action->actionList_ = nullptr;
    Action->RemoveFreeNotification(this);
    Change();
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (auto* action = dynamic_cast<TContainedAction*>(AComponent); action && action->actionList_ == this)
        RemoveAction(action);
}

void TCustomActionList::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
    bool handled = false;
    if (Assigned(OnExecute)) OnExecute(Action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
    bool handled = false;
    if (Assigned(OnUpdate)) OnUpdate(Action, handled);
    return handled;
}

bool TCustomActionList::IsShortCut(TMessage& Message) {
    const TShortCut key = ::ShortCut(Message.CharCode(), KeyDataToShiftState(Message.LParam));
    if ((key & 0xFF) == 0) return false;
    for (size_t i = 0; i < actions_.size(); ++i) {
        auto* action = dynamic_cast<TCustomAction*>(actions_[i]);
        if (!action || action->ShortCut() != key) continue;
        action->Update();
        if (!action->Enabled()) return false;
        action->Execute();
        return true;
    }
    return false;
}

bool IsActionShortCut(TComponent* Form, TMessage& Message) {
    if (!Form) return false;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TCustomActionList*>(Form->Components(i));
            list && list->IsShortCut(Message))
            return true;
    return false;
}
