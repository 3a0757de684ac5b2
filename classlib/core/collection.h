// Collections: a `TCollection` holds items of one item class, built through
// that class's token so descendants come out whole; items know their index,
// ID and collection, and changes reach the collection's `Update` (batched by
// BeginUpdate/EndUpdate). `TOwnedCollection` answers its owner.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/object.h"

class TCollection;
using TCollectionItemClass = TClass;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
    VX_CLASS(TCollectionItem, TPersistent)
public:
    // Collection() is set at once; the item joins the collection's list once
    // it is whole (AfterConstruction), so the collection sees a full item.
    explicit TCollectionItem(TCollection* Collection);

    void AfterConstruction() override;
    void BeforeDestruction() override;

    TCollection* Collection() const { return collection_; }
    // Leaves the current collection and joins Value (which gives a new ID).
    void SetCollection(TCollection* Value);
    // Position in the collection, -1 outside one.
    int Index() const;
    // Moves the item; raises EListError for a position out of bounds.
    virtual void SetIndex(int Value);
    // Unique within the collection for its lifetime, never reused.
    int ID() const { return id_; }
    std::string DisplayName() const { return GetDisplayName(); }
    virtual void SetDisplayName(const std::string& Value);
    // "Collection[index]", or the class name outside a collection.
    std::string GetNamePath() const override;

protected:
    ~TCollectionItem() override;

    // Tells the collection: AllItems passes a null item to Update.
    void Changed(bool AllItems);
    virtual std::string GetDisplayName() const;
    TPersistent* GetOwner() const override;

private:
    friend class TCollection;

    TCollection* collection_ = nullptr;
    int id_ = 0;
};

class TCollection : public TPersistent {
    VX_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(TCollectionItemClass ItemClass);

    void BeforeDestruction() override;

    TCollectionItemClass ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError "List index out of bounds (%d)".
    TCollectionItem* Items(int Index) const;
    // Assigns Value to the item at Index.
    void SetItems(int Index, TCollectionItem* Value);

    // A new item of the item class, at the end.
    TCollectionItem* Add();
    // A new item at Index (0..Count); nothing is added for a bad index.
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    TCollectionItem* FindItemID(int ID) const;

    // Nested; the outermost EndUpdate calls Update(nullptr) once.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    // Update(nullptr) unless an update is in progress.
    void Changed();

    // Clears, then adds a copy (Assign) of each of Source's items.
    void Assign(TPersistent* Source) override;
    TPersistent* Owner() const { return GetOwner(); }
    // Owner's path and PropName when both are known, else the class name.
    std::string GetNamePath() const override;
    const std::string& PropName() const { return propName_; }
    void SetPropName(const std::string& Value) { propName_ = Value; }
    int NextID() const { return nextID_; }

protected:
    ~TCollection() override;

    // Item changed (or, for null, the whole collection); nothing by default.
    virtual void Update(TCollectionItem* Item);
    // Item joined (cnAdded), is leaving (cnExtracting) or is about to be
    // deleted (cnDeleting, then cnExtracting as it goes).
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);

private:
    friend class TCollectionItem;

    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void MoveItem(int CurIndex, int NewIndex);

    TCollectionItemClass itemClass_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
    int nextID_ = 0;
    std::string propName_;
};

class TOwnedCollection : public TCollection {
    VX_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass);

protected:
    TPersistent* GetOwner() const override { return owner_; }

private:
    TPersistent* owner_;
};
