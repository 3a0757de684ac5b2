#include "classlib/core/component.h"

#include <algorithm>
#include <cctype>

#include "classlib/core/exceptions.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsValidIdent(const std::string& ident) {
    auto isAlpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (ident.empty() || !isAlpha(ident[0])) return false;
    return std::all_of(ident.begin() + 1, ident.end(),
                       [&](char c) { return isAlpha(c) || (c >= '0' && c <= '9'); });
}

[[noreturn]] void ListIndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
    // Membership starts now so that derived constructors see their owner;
    // the owner hears of it (opInsert) once the object is whole.
    if (AOwner) AOwner->Insert(this);
}

void TComponent::AfterConstruction() {
    inherited::AfterConstruction();
    if (owner_) owner_->Notification(this, opInsert);
}

void TComponent::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (!state_.Contains(csDestroying)) Destroying();
    RemoveFreeNotifications();
    if (owner_) owner_->RemoveComponent(this);
}

TComponent::~TComponent() {
    state_.Include(csDestroying);
    DestroyComponents();
    // Links made while the owned components went away are undone last, so
    // nobody keeps a pointer to this object.
    RemoveFreeNotifications();
    if (owner_) owner_->Remove(this);
}

TPersistent* TComponent::GetOwner() const {
    return owner_;
}

std::string TComponent::GetNamePath() const {
    return name_;
}

void TComponent::SetName(const std::string& NewName) {
    if (name_ == NewName) return;
    if (!NewName.empty() && !IsValidIdent(NewName))
        throw EComponentError("'" + NewName + "' is not a valid component name");
    if (owner_)
        owner_->ValidateRename(this, name_, NewName);
    else
        ValidateRename(nullptr, name_, NewName);
    ChangeName(NewName);
}

void TComponent::ChangeName(const std::string& NewName) {
    name_ = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
    if (!AComponent || SameName(CurName, NewName)) return;
    TComponent* existing = FindComponent(NewName);
    if (existing && existing != AComponent)
        throw EComponentError("A component named " + NewName + " already exists");
}

void TComponent::ValidateInsert(TComponent*) {}

void TComponent::ValidateContainer(TComponent* AComponent) {
    AComponent->ValidateInsert(this);
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
    return components_[Index];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Value) {
    const int current = ComponentIndex();
    if (current < 0) return;
    auto& list = owner_->components_;
    Value = std::clamp(Value, 0, static_cast<int>(list.size()) - 1);
    if (Value == current) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* component : components_)
        if (SameName(component->name_, AName)) return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->owner_ == this) return;
    AComponent->ValidateContainer(this);
    ValidateRename(AComponent, "", AComponent->name_);
    // A component sits in one owner's list only, or two owners would free it.
    if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    // Only an owner may let a component go; anyone else would leave it in
    // its real owner's list with no owner pointer.
    if (!AComponent || AComponent->owner_ != this) return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    components_.push_back(AComponent);
    AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent) {
    // Searched from the end: the owner frees its components last first. The
    // component is touched only when found, since a notice may have freed it.
    auto it = std::find(components_.rbegin(), components_.rend(), AComponent);
    if (it == components_.rend()) return;
    components_.erase(std::next(it).base());
    AComponent->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* instance = components_.back();
        // Siblings hear of a component that asked for free notifications;
        // the others go quietly, as nothing can point at them unannounced.
        if (instance->state_.Contains(csFreeNotification))
            RemoveComponent(instance);
        else
            Remove(instance);
        instance->Free();
    }
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_.Include(csDestroying);
    for (size_t i = 0; i < components_.size(); ++i) components_[i]->Destroying();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // A receiver may free components of this list; keep the index inside it.
    int i = ComponentCount() - 1;
    while (i >= 0) {
        components_[i]->Notification(AComponent, Operation);
        --i;
        if (i >= ComponentCount()) i = ComponentCount() - 1;
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    state_.Include(csFreeNotification);
    if (!AComponent || AComponent == this) return;
    // Components of one owner already hear of each other through the owner.
    if (owner_ && AComponent->owner_ == owner_) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) != freeNotifies_.end()) return;
    freeNotifies_.push_back(AComponent);
    AComponent->FreeNotification(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    std::erase(freeNotifies_, AComponent);
}

void TComponent::RemoveFreeNotifications() {
    // Each link is undone before the notice goes out, so a Notification
    // override that does not call inherited cannot make this loop forever.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
}

void TComponent::SetSubComponent(bool IsSubComponent) {
    style_.Set(csSubComponent, IsSubComponent);
}

void TComponent::Loading() {
    state_.Include(csLoading);
}
void TComponent::Loaded() {
    state_.Exclude(csLoading);
}
void TComponent::SetReading(bool Value) {
    state_.Set(csReading, Value);
}
void TComponent::SetWriting(bool Value) {
    state_.Set(csWriting, Value);
}
void TComponent::SetFixups(bool Value) {
    state_.Set(csFixups, Value);
}
void TComponent::SetInline(bool Value) {
    state_.Set(csInline, Value);
}
void TComponent::SetDesignInstance(bool Value) {
    state_.Set(csDesignInstance, Value);
}
void TComponent::Updating() {
    state_.Include(csUpdating);
}
void TComponent::Updated() {
    state_.Exclude(csUpdating);
}

void TComponent::SetAncestor(bool Value) {
    state_.Set(csAncestor, Value);
    for (TComponent* component : components_) component->SetAncestor(Value);
}

TComponent* CreateComponent(TComponentClass cls, TComponent* AOwner) {
    if (!InheritsFrom(cls, TComponent::ClassInfo()))
        throw EInvalidOperation(std::string("Cannot create an instance of ") + (cls ? cls->Name : "nil"));
    return static_cast<TComponent*>(CreateInstance(cls, AOwner));
}
