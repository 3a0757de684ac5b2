// Items and item lists of the data provider framework: `TZkBaseDataItem`
// with its ID and sub-items, the list `TZkDataItemsList`, the item and list
// extension bases, and the text, image, sub-item, management and image-list
// extensions.
#pragma once

#include <string>
#include <vector>

#include "foundation/zkdatainterfaces.h"

class TReader;
class TZkComponentWatch;
class TWriter;
class TZkBaseDataItems;
class TZkDataItemsList;

// Told of every item that joins or leaves a list tree; set on its top list.
struct IZkDataItemsObserver {
    virtual void ItemAdded(IZkDataItem* Item) = 0;
    virtual void ItemDeleting(IZkDataItem* Item) = 0;

protected:
    ~IZkDataItemsObserver() = default;
};

// One item. Its counting goes to its owner list, so a reference to an item
// keeps the whole tree alive; an item taken out of its list while
// referenced lives on alone until its last reference goes.
class TZkBaseDataItem : public TExtensibleInterfacedPersistent, public virtual IZkDataItem {
    VX_CLASS(TZkBaseDataItem, TExtensibleInterfacedPersistent)
public:
    explicit TZkBaseDataItem(TZkBaseDataItems* Owner);

    std::string ID() override { return id_; }
    void SetID(const std::string& Value) { id_ = Value; }
    TZkIntf<IZkDataItems> OwnerList() override;
    TZkIntf<IZkDataItem> ParentItem() override;
    TZkBaseDataItems* Owner() const { return owner_; }
    // The child list, or null while the item has none.
    TZkDataItemsList* SubItemsList() const;
    // The child list, made when the item has none yet.
    TZkDataItemsList* EnsureSubItems();

protected:
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TZkBaseDataItems;
    friend class TZkDataItemsList;
    void ReadSubItems(TReader* Reader);
    void WriteSubItems(TWriter* Writer);

    TZkBaseDataItems* owner_;
    std::string id_;
};

// An item list; its access operations belong to the descendants.
class TZkBaseDataItems : public TExtensibleInterfacedPersistent, public virtual IZkDataItems {
    VX_CLASS(TZkBaseDataItems, TExtensibleInterfacedPersistent)
public:
    // A top list (null parent) counts for itself; a child list's counting
    // goes to the item it belongs to.
    explicit TZkBaseDataItems(TZkBaseDataItem* ParentItem = nullptr);

    TZkIntf<IZkDataItem> FindItem(const std::string& ID, bool Deep) override;
    TZkIntf<IZkDataItem> ParentItem() override { return parent_; }
    TZkBaseDataItem* Parent() const { return parent_; }

    // Set on a top list; the child lists use their top list's.
    void SetObserver(IZkDataItemsObserver* Value) { observer_ = Value; }
    IZkDataItemsObserver* Observer() const;

protected:
    virtual TZkBaseDataItem* ItemObject(int Index) = 0;

private:
    friend class TZkBaseDataItem;
    friend class TZkBaseDataItemSubItems;
    TZkBaseDataItem* parent_;
    IZkDataItemsObserver* observer_ = nullptr;
};

// An item list kept in an object list; it frees (or lets go of) its items.
class TZkDataItemsList : public TZkBaseDataItems {
    VX_CLASS(TZkDataItemsList, TZkBaseDataItems)
public:
    explicit TZkDataItemsList(TZkBaseDataItem* ParentItem = nullptr) : TZkBaseDataItems(ParentItem) {}

    int Count() override { return static_cast<int>(items_.size()); }
    TZkIntf<IZkDataItem> Item(int Index) override;
    int IndexOf(IZkDataItem* Item) override;

    // The class of the items Add makes.
    TClass ItemClass() const { return itemClass_; }
    void SetItemClass(TClass Value) { itemClass_ = Value; }

    // Builds an item of a registered item class with this list as owner and
    // puts it at the end.
    TZkBaseDataItem* CreateItem(TClass ItemClass);
    void DeleteItem(int Index);
    void Clear();

    void BeforeDestruction() override;

protected:
    TZkBaseDataItem* ItemObject(int Index) override;
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TZkBaseDataItem;
    void CheckIndex(int Index) const;
    void ReadItems(TReader* Reader);
    void WriteItems(TWriter* Writer);

    std::vector<TZkBaseDataItem*> items_;
    TClass itemClass_ = TZkBaseDataItem::ClassInfo();
};

// ---- Extensions -------------------------------------------------------------

class TZkDataItemAggregatedObject : public TAggregatedPersistentEx {
    VX_CLASS(TZkDataItemAggregatedObject, TAggregatedPersistentEx)
public:
    explicit TZkDataItemAggregatedObject(TExtensibleInterfacedPersistent* Controller)
        : TAggregatedPersistentEx(Controller) {}
    // The item extended; null once it let this extension go.
    TZkBaseDataItem* Item() const { return dynamic_cast<TZkBaseDataItem*>(Controller()); }
};

class TZkDataItemsAggregatedObject : public TAggregatedPersistentEx {
    VX_CLASS(TZkDataItemsAggregatedObject, TAggregatedPersistentEx)
public:
    explicit TZkDataItemsAggregatedObject(TExtensibleInterfacedPersistent* Controller)
        : TAggregatedPersistentEx(Controller) {}
    TZkBaseDataItems* Items() const { return dynamic_cast<TZkBaseDataItems*>(Controller()); }
};

class TZkBaseDataItemTextImpl : public TZkDataItemAggregatedObject, public virtual IZkDataItemText {
    VX_CLASS(TZkBaseDataItemTextImpl, TZkDataItemAggregatedObject)
public:
    using TZkDataItemAggregatedObject::TZkDataItemAggregatedObject;
};

// The caption text an item keeps for itself.
class TZkDataItemTextImpl : public TZkBaseDataItemTextImpl {
    VX_CLASS(TZkDataItemTextImpl, TZkBaseDataItemTextImpl)
public:
    using TZkBaseDataItemTextImpl::TZkBaseDataItemTextImpl;
    std::string Text() override { return text_; }
    void SetText(const std::string& Value) override { text_ = Value; }
    bool Editable() override { return true; }

private:
    std::string text_;
};

class TZkBaseDataItemImageImpl : public TZkDataItemAggregatedObject, public virtual IZkDataItemImage {
    VX_CLASS(TZkBaseDataItemImageImpl, TZkDataItemAggregatedObject)
public:
    using TZkDataItemAggregatedObject::TZkDataItemAggregatedObject;
};

// Three image indices an item keeps for itself (-1: none).
class TZkDataItemImageImpl : public TZkBaseDataItemImageImpl {
    VX_CLASS(TZkDataItemImageImpl, TZkBaseDataItemImageImpl)
public:
    using TZkBaseDataItemImageImpl::TZkBaseDataItemImageImpl;
    int ImageIndex() override { return imageIndex_; }
    void SetImageIndex(int Value) override { imageIndex_ = Value; }
    int SelectedIndex() override { return selectedIndex_; }
    void SetSelectedIndex(int Value) override { selectedIndex_ = Value; }
    int StateIndex() override { return stateIndex_; }
    void SetStateIndex(int Value) override { stateIndex_ = Value; }

private:
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    int stateIndex_ = -1;
};

// The child list of an item; it goes with the extension.
class TZkBaseDataItemSubItems : public TZkDataItemAggregatedObject, public virtual IZkDataItemSubItems {
    VX_CLASS(TZkBaseDataItemSubItems, TZkDataItemAggregatedObject)
public:
    explicit TZkBaseDataItemSubItems(TExtensibleInterfacedPersistent* Controller);
    TZkIntf<IZkDataItems> SubItems() override { return list_; }
    TZkDataItemsList* List() const { return list_; }
    void BeforeDestruction() override;

private:
    TZkDataItemsList* list_ = nullptr;
};

class TZkBaseDataItemsManagement : public TZkDataItemsAggregatedObject,
                                   public virtual IZkDataItemsManagement {
    VX_CLASS(TZkBaseDataItemsManagement, TZkDataItemsAggregatedObject)
public:
    using TZkDataItemsAggregatedObject::TZkDataItemsAggregatedObject;
};

// Adds and deletes the items of a `TZkDataItemsList`.
class TZkBaseDataItemsListManagement : public TZkBaseDataItemsManagement {
    VX_CLASS(TZkBaseDataItemsListManagement, TZkBaseDataItemsManagement)
public:
    using TZkBaseDataItemsManagement::TZkBaseDataItemsManagement;
    TZkIntf<IZkDataItem> Add() override;
    TZkIntf<IZkDataItem> Create(TClass ItemClass) override;
    void Delete(int Index) override;
    void Remove(IZkDataItem* Item) override;

private:
    TZkDataItemsList& List() const;
};

class TZkBaseDataItemsImagesImpl : public TZkDataItemsAggregatedObject, public virtual IZkDataItemsImages {
    VX_CLASS(TZkBaseDataItemsImagesImpl, TZkDataItemsAggregatedObject)
public:
    using TZkDataItemsAggregatedObject::TZkDataItemsAggregatedObject;
};

// The image list of a list's items; forgotten when the image list goes.
class TZkCustomDataItemsImages : public TZkBaseDataItemsImagesImpl {
    VX_CLASS(TZkCustomDataItemsImages, TZkBaseDataItemsImagesImpl)
public:
    explicit TZkCustomDataItemsImages(TExtensibleInterfacedPersistent* Controller);
    TCustomImageList* Images() override;
    void SetImages(TCustomImageList* Value) override;
    void BeforeDestruction() override;

private:
    TZkComponentWatch* watch_ = nullptr;
};

// A new item ID: the hexadecimal digits of a newly generated GUID.
std::string NewZkDataItemID();

// Builds an item of a class known by its token, for the reader.
using TZkItemFactory = TZkBaseDataItem* (*)(TZkBaseDataItems* Owner);
zk_detail::TFactoryTable<TZkItemFactory>& ItemFactories();
