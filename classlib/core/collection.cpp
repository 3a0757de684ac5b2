#include "classlib/core/collection.h"

#include <algorithm>

#include "classlib/core/exceptions.h"

namespace {

[[noreturn]] void ListIndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// Runs `body` inside BeginUpdate/EndUpdate, ending the update also when the
// body raises (an exception from EndUpdate itself then takes over, as a
// finally block would have it).
template <class Body>
void InUpdate(TCollection* collection, Body body) {
    collection->BeginUpdate();
    try {
        body();
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
}

}  // namespace

// --- TCollectionItem ---

TCollectionItem::TCollectionItem(TCollection* Collection) : collection_(Collection) {}

void TCollectionItem::AfterConstruction() {
    inherited::AfterConstruction();
    if (TCollection* joining = collection_) {
        collection_ = nullptr;
        joining->InsertItem(this);
    }
}

void TCollectionItem::BeforeDestruction() {
    SetCollection(nullptr);
    inherited::BeforeDestruction();
}

TCollectionItem::~TCollectionItem() {
    // Only reached in the list if BeforeDestruction did not run (a throwing
    // constructor leaves collection_ set without having joined).
    if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (collection_ == Value) return;
    // Checked before leaving, so a refused move leaves the item where it was.
    if (Value && !InheritsFrom(Value->itemClass_)) throw EListError("Invalid property value");
    if (collection_) collection_->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    const int current = Index();
    if (current < 0 || current == Value) return;
    collection_->MoveItem(current, Value);
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
    if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

std::string TCollectionItem::GetDisplayName() const {
    return ClassName();
}

void TCollectionItem::SetDisplayName(const std::string&) {
    Changed(false);
}

std::string TCollectionItem::GetNamePath() const {
    if (!collection_) return ClassName();
    return collection_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

TPersistent* TCollectionItem::GetOwner() const {
    return collection_;
}

// --- TCollection ---

TCollection::TCollection(TCollectionItemClass ItemClass) : itemClass_(ItemClass) {}

void TCollection::BeforeDestruction() {
    // Items go while the collection is whole, with no Update on the way.
    updateCount_ = 1;
    Clear();
    inherited::BeforeDestruction();
}

TCollection::~TCollection() {
    updateCount_ = 1;
    while (!items_.empty()) items_.back()->Free();
}

TCollectionItem* TCollection::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return items_[Index];
}

void TCollection::SetItems(int Index, TCollectionItem* Value) {
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::Add() {
    if (!::InheritsFrom(itemClass_, TCollectionItem::ClassInfo()) || !itemClass_->ItemFactory)
        throw EInvalidOperation(std::string("Cannot create an instance of ") +
                                (itemClass_ ? itemClass_->Name : "nil"));
    // The factory runs AfterConstruction, in which the item joins this list.
    return static_cast<TCollectionItem*>(itemClass_->ItemFactory(this));
}

TCollectionItem* TCollection::Insert(int Index) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index) {
    TCollectionItem* item = Items(Index);
    Notify(item, cnDeleting);
    item->Free();
}

void TCollection::Clear() {
    if (items_.empty()) return;
    InUpdate(this, [this] {
        while (!items_.empty()) items_.back()->Free();
    });
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* item : items_)
        if (item->id_ == ID) return item;
    return nullptr;
}

void TCollection::BeginUpdate() {
    ++updateCount_;
}

void TCollection::EndUpdate() {
    // An unmatched EndUpdate is ignored rather than leaving the count
    // negative, which would silence every later Update.
    if (updateCount_ == 0) return;
    --updateCount_;
    Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Assign(TPersistent* Source) {
    if (auto* source = dynamic_cast<TCollection*>(Source)) {
        // Clearing first would empty the source too.
        if (source == this) return;
        InUpdate(this, [this, source] {
            Clear();
            for (int i = 0; i < source->Count(); ++i) Add()->Assign(source->items_[i]);
        });
        return;
    }
    inherited::Assign(Source);
}

std::string TCollection::GetNamePath() const {
    TPersistent* owner = GetOwner();
    if (!owner || propName_.empty()) return ClassName();
    const std::string ownerPath = owner->GetNamePath();
    return ownerPath.empty() ? std::string(ClassName()) : ownerPath + "." + propName_;
}

void TCollection::InsertItem(TCollectionItem* Item) {
    if (!Item->InheritsFrom(itemClass_)) throw EListError("Invalid property value");
    items_.push_back(Item);
    Item->collection_ = this;
    Item->id_ = nextID_++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    auto it = std::find(items_.begin(), items_.end(), Item);
    if (it == items_.end()) {
        Item->collection_ = nullptr;
        return;
    }
    Notify(Item, cnExtracting);
    // Looked up again: the notice may have moved items around.
    it = std::find(items_.begin(), items_.end(), Item);
    if (it != items_.end()) items_.erase(it);
    Item->collection_ = nullptr;
    Changed();
}

void TCollection::MoveItem(int CurIndex, int NewIndex) {
    if (NewIndex < 0 || NewIndex >= Count()) ListIndexError(NewIndex);
    TCollectionItem* item = items_[CurIndex];
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, item);
}

// --- TOwnedCollection ---

TOwnedCollection::TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
    : TCollection(ItemClass), owner_(AOwner) {}
