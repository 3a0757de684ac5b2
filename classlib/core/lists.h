// Pointer lists: `TList` (untyped pointers, with change notices to
// descendants), `TObjectList` (objects, freed on removal when it owns them)
// and `TThreadList` (a TList behind a lock, for lists shared by threads).
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "classlib/core/object.h"
#include "classlib/core/strings.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
// Negative when Item1 sorts before Item2, zero when equal, positive after.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
    VX_CLASS(TList, TObject)
public:
    TList() = default;

    // Index errors raise EListError "List index out of bounds (%d)".
    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Index the item had, -1 when absent.
    int Remove(void* Item);
    int IndexOf(void* Item) const;
    // Takes the item out without deleting it (lnExtracted); null when absent.
    void* Extract(void* Item);
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // Drops the null entries.
    void Pack();
    // Stable: equal items keep their order.
    void Sort(const TListSortCompare& Compare);
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Count() const { return static_cast<int>(items_.size()); }
    // Grows with null entries or deletes from the end.
    void SetCount(int NewCount);
    int Capacity() const { return capacity_; }
    // Raises EListError "List capacity out of bounds (%d)" below Count.
    void SetCapacity(int NewCapacity);
    void* Items(int Index) const;
    void SetItems(int Index, void* Item);
    virtual void Clear();

    void BeforeDestruction() override;

protected:
    // Added (never for null), extracted, or deleted (overwritten counts as
    // deleted); the entry has already left the list when it is deleted.
    virtual void Notify(void* Ptr, TListNotification Action);

private:
    void Grow();

    std::vector<void*> items_;
    int capacity_ = 0;
};

class TObjectList : public TList {
    VX_CLASS(TObjectList, TList)
public:
    TObjectList() = default;
    explicit TObjectList(bool AOwnsObjects) : ownsObjects_(AOwnsObjects) {}

    int Add(TObject* AObject) { return TList::Add(AObject); }
    void Insert(int Index, TObject* AObject) { TList::Insert(Index, AObject); }
    int Remove(TObject* AObject) { return TList::Remove(AObject); }
    int IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
    TObject* Extract(TObject* AObject) { return static_cast<TObject*>(TList::Extract(AObject)); }
    TObject* First() const { return static_cast<TObject*>(TList::First()); }
    TObject* Last() const { return static_cast<TObject*>(TList::Last()); }
    TObject* Items(int Index) const { return static_cast<TObject*>(TList::Items(Index)); }
    void SetItems(int Index, TObject* AObject) { TList::SetItems(Index, AObject); }
    // First index at or after AStartAt of an object of AClass (or, unless
    // AExact, of a descendant); -1 when there is none.
    int FindInstanceOf(TClass AClass, bool AExact = true, int AStartAt = 0) const;

    // When set, deleted, cleared and overwritten objects are freed.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool Value) { ownsObjects_ = Value; }

protected:
    void Notify(void* Ptr, TListNotification Action) override;

private:
    bool ownsObjects_ = true;
};

class TThreadList : public TObject {
    VX_CLASS(TThreadList, TObject)
public:
    TThreadList();

    // Under the lock. Duplicates: dupIgnore (default) drops the second,
    // dupAccept adds it, dupError raises EListError.
    void Add(void* Item);
    void Remove(void* Item);
    void Clear();
    // Locks (recursively, per thread) and hands out the list; every
    // LockList needs its UnlockList.
    TList* LockList();
    void UnlockList();
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }

protected:
    ~TThreadList() override;

private:
    std::recursive_mutex lock_;
    TOwned<TList> list_;
    TDuplicates duplicates_ = dupIgnore;
};

// Holds a TThreadList locked for a scope, so an exception cannot leave it
// locked: `TLockedList list(threads); list->Add(p);`.
class TLockedList {
public:
    explicit TLockedList(TThreadList* list) : owner_(list), list_(list->LockList()) {}
    ~TLockedList() { owner_->UnlockList(); }
    TLockedList(const TLockedList&) = delete;
    TLockedList& operator=(const TLockedList&) = delete;

    TList* operator->() const { return list_; }
    TList* get() const { return list_; }

private:
    TThreadList* owner_;
    TList* list_;
};
