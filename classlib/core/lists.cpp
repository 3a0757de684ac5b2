#include "classlib/core/lists.h"

#include <algorithm>
#include <cstdio>

#include "classlib/core/exceptions.h"

namespace {

[[noreturn]] void ListError(const char* text, int data) {
    throw EListError(std::string(text) + " (" + std::to_string(data) + ")");
}

[[noreturn]] void ListIndexError(int index) {
    ListError("List index out of bounds", index);
}

}  // namespace

// --- TList ---

void TList::BeforeDestruction() {
    // Cleared while whole, so that descendants' Notify (TObjectList freeing
    // its objects) still runs.
    Clear();
    inherited::BeforeDestruction();
}

void TList::Grow() {
    const int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

int TList::Add(void* Item) {
    const int index = Count();
    if (index == capacity_) Grow();
    items_.push_back(Item);
    if (Item) Notify(Item, lnAdded);
    return index;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    if (Count() == capacity_) Grow();
    items_.insert(items_.begin() + Index, Item);
    if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
    void* item = Items(Index);
    items_.erase(items_.begin() + Index);
    if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* Item) {
    const int index = IndexOf(Item);
    if (index >= 0) Delete(index);
    return index;
}

int TList::IndexOf(void* Item) const {
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void* TList::Extract(void* Item) {
    const int index = IndexOf(Item);
    if (index < 0) return nullptr;
    items_.erase(items_.begin() + index);
    Notify(Item, lnExtracted);
    return Item;
}

void TList::Exchange(int Index1, int Index2) {
    if (Index1 < 0 || Index1 >= Count()) ListIndexError(Index1);
    if (Index2 < 0 || Index2 >= Count()) ListIndexError(Index2);
    std::swap(items_[Index1], items_[Index2]);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    if (NewIndex < 0 || NewIndex >= Count()) ListIndexError(NewIndex);
    void* item = Items(CurIndex);
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, item);
}

void TList::Pack() {
    std::erase(items_, nullptr);
}

void TList::Sort(const TListSortCompare& Compare) {
    if (Count() < 2) return;
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::SetCount(int NewCount) {
    if (NewCount < 0) ListError("List count out of bounds", NewCount);
    if (NewCount > capacity_) SetCapacity(NewCount);
    // One at a time from the end, re-reading Count: a deleted entry's
    // notice may take others out of the list.
    while (Count() > NewCount) Delete(Count() - 1);
    if (Count() < NewCount) items_.resize(NewCount, nullptr);
}

void TList::SetCapacity(int NewCapacity) {
    if (NewCapacity < Count()) ListError("List capacity out of bounds", NewCapacity);
    capacity_ = NewCapacity;
    if (NewCapacity == 0)
        items_.shrink_to_fit();
    else
        items_.reserve(NewCapacity);
}

void* TList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return items_[Index];
}

void TList::SetItems(int Index, void* Item) {
    void* old = Items(Index);
    if (old == Item) return;
    items_[Index] = Item;
    if (old) Notify(old, lnDeleted);
    if (Item) Notify(Item, lnAdded);
}

void TList::Clear() {
    SetCount(0);
    SetCapacity(0);
}

void TList::Notify(void*, TListNotification) {}

// --- TObjectList ---

int TObjectList::FindInstanceOf(TClass AClass, bool AExact, int AStartAt) const {
    for (int i = std::max(AStartAt, 0); i < Count(); ++i) {
        TObject* object = Items(i);
        if (!object) continue;
        if (AExact ? object->ClassType() == AClass : object->InheritsFrom(AClass)) return i;
    }
    return -1;
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
    if (ownsObjects_ && Action == lnDeleted) static_cast<TObject*>(Ptr)->Free();
    inherited::Notify(Ptr, Action);
}

// --- TThreadList ---

TThreadList::TThreadList() : list_(Create<TList>()) {}

TThreadList::~TThreadList() {
    std::lock_guard guard(lock_);
    list_.reset();
}

void TThreadList::Add(void* Item) {
    std::lock_guard guard(lock_);
    if (duplicates_ == dupAccept || list_->IndexOf(Item) < 0) {
        list_->Add(Item);
    } else if (duplicates_ == dupError) {
        char text[64];
        std::snprintf(text, sizeof text, "List does not allow duplicates ($0%X)",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(Item)));
        throw EListError(text);
    }
}

void TThreadList::Remove(void* Item) {
    std::lock_guard guard(lock_);
    list_->Remove(Item);
}

void TThreadList::Clear() {
    std::lock_guard guard(lock_);
    list_->Clear();
}

TList* TThreadList::LockList() {
    lock_.lock();
    return list_.get();
}

void TThreadList::UnlockList() {
    lock_.unlock();
}
