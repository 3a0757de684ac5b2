#include "foundation/zkdataitems.h"

#include <algorithm>

#include "classlib/core/filer.h"
#include "classlib/core/text.h"
#include "classlib/graphics/imagelist.h"
#include "foundation/zkcomponentwatch.h"
#include "foundation/zkdataerrors.h"
#include "foundation/zkdatastreaming.h"

zk_detail::TFactoryTable<TZkItemFactory>& ItemFactories() {
    static zk_detail::TFactoryTable<TZkItemFactory> table;
    return table;
}

std::string NewZkDataItemID() {
    GUID guid{};
    if (FAILED(CoCreateGuid(&guid))) throw EZKCLDataItems("Cannot create an item ID");
    std::string id = Format("%.8X%.4X%.4X", static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3);
    for (unsigned char byte : guid.Data4) id += Format("%.2X", static_cast<unsigned>(byte));
    return id;
}

// ---- TZkBaseDataItem -------------------------------------------------------------

TZkBaseDataItem::TZkBaseDataItem(TZkBaseDataItems* Owner) : owner_(Owner), id_(NewZkDataItemID()) {
    PassCountTo(Owner);
}

TZkIntf<IZkDataItems> TZkBaseDataItem::OwnerList() {
    return owner_;
}

TZkIntf<IZkDataItem> TZkBaseDataItem::ParentItem() {
    return owner_ ? owner_->ParentItem() : nullptr;
}

TZkDataItemsList* TZkBaseDataItem::SubItemsList() const {
    auto* extension =
        static_cast<TZkBaseDataItemSubItems*>(FindExtension(TZkBaseDataItemSubItems::ClassInfo()));
    return extension ? extension->List() : nullptr;
}

TZkDataItemsList* TZkBaseDataItem::EnsureSubItems() {
    if (TZkDataItemsList* list = SubItemsList()) return list;
    return ::Create<TZkBaseDataItemSubItems>(this)->List();
}

void TZkBaseDataItem::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("SubItems", TReaderProc(this, &TZkBaseDataItem::ReadSubItems),
                          TWriterProc(this, &TZkBaseDataItem::WriteSubItems), SubItemsList() != nullptr);
}

void TZkBaseDataItem::ReadSubItems(TReader* Reader) {
    EnsureSubItems()->ReadItems(Reader);
}

void TZkBaseDataItem::WriteSubItems(TWriter* Writer) {
    SubItemsList()->WriteItems(Writer);
}

// ---- TZkBaseDataItems --------------------------------------------------------------

TZkBaseDataItems::TZkBaseDataItems(TZkBaseDataItem* ParentItem) : parent_(ParentItem) {
    PassCountTo(ParentItem);
}

IZkDataItemsObserver* TZkBaseDataItems::Observer() const {
    const TZkBaseDataItems* list = this;
    while (list->parent_ && list->parent_->owner_) list = list->parent_->owner_;
    // A list below an item that was taken out of its tree is no longer watched.
    return list->parent_ ? nullptr : list->observer_;
}

TZkIntf<IZkDataItem> TZkBaseDataItems::FindItem(const std::string& ID, bool Deep) {
    for (int i = Count() - 1; i >= 0; --i) {
        TZkBaseDataItem* item = ItemObject(i);
        if (item->ID() == ID) return TZkIntf<IZkDataItem>(item);
        if (!Deep) continue;
        if (TZkDataItemsList* children = item->SubItemsList())
            if (TZkIntf<IZkDataItem> found = children->FindItem(ID, true)) return found;
    }
    return nullptr;
}

// ---- TZkDataItemsList ----------------------------------------------------------------

void TZkDataItemsList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(items_.size()))
        throw EZKCLDataItems(Format(ZkErrorIndexOutOfBounds, Index));
}

TZkBaseDataItem* TZkDataItemsList::ItemObject(int Index) {
    CheckIndex(Index);
    return items_[static_cast<size_t>(Index)];
}

TZkIntf<IZkDataItem> TZkDataItemsList::Item(int Index) {
    return TZkIntf<IZkDataItem>(ItemObject(Index));
}

int TZkDataItemsList::IndexOf(IZkDataItem* Item) {
    for (size_t i = 0; i < items_.size(); ++i)
        if (static_cast<IZkDataItem*>(items_[i]) == Item) return static_cast<int>(i);
    return -1;
}

TZkBaseDataItem* TZkDataItemsList::CreateItem(TClass ItemClass) {
    const TZkItemFactory factory = ItemClass && ::InheritsFrom(ItemClass, TZkBaseDataItem::ClassInfo())
                                       ? ItemFactories().Find(ItemClass)
                                       : nullptr;
    if (!factory) throw EZKCLDataItems(ZkErrorInvalidClassType);
    TZkBaseDataItem* item = factory(this);
    items_.push_back(item);
    if (IZkDataItemsObserver* observer = Observer()) observer->ItemAdded(item);
    return item;
}

void TZkDataItemsList::DeleteItem(int Index) {
    TZkBaseDataItem* item = ItemObject(Index);
    {
        // Watchers may take references to the item while they hear of it.
        TZkIntf<IZkDataItem> keep(item);
        if (IZkDataItemsObserver* observer = Observer()) observer->ItemDeleting(item);
    }
    auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end()) return;
    items_.erase(found);
    item->owner_ = nullptr;
    item->Abandon();
}

void TZkDataItemsList::Clear() {
    while (!items_.empty()) DeleteItem(static_cast<int>(items_.size()) - 1);
}

void TZkDataItemsList::BeforeDestruction() {
    inherited::BeforeDestruction();
    // No reference to the list is left, so none to its items either: they
    // go without telling anyone.
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        (*it)->owner_ = nullptr;
        (*it)->Abandon();
    }
    items_.clear();
}

void TZkDataItemsList::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("Items", TReaderProc(this, &TZkDataItemsList::ReadItems),
                          TWriterProc(this, &TZkDataItemsList::WriteItems), true);
}

void TZkDataItemsList::ReadItems(TReader* Reader) {
    TZkStreamHold hold(this);
    ReadClassCollection(Reader, [this](TClass ItemClass) -> TPersistent* {
        if (!::InheritsFrom(ItemClass, TZkBaseDataItem::ClassInfo()) || !ItemFactories().Find(ItemClass))
            return nullptr;
        return CreateItem(ItemClass);
    });
}

void TZkDataItemsList::WriteItems(TWriter* Writer) {
    std::vector<TPersistent*> streamed;
    for (TZkBaseDataItem* item : items_)
        if (GetClass(item->ClassName()) == item->ClassType()) streamed.push_back(item);
    WriteClassCollection(Writer, streamed);
}

// ---- Extensions -------------------------------------------------------------------------

TZkBaseDataItemSubItems::TZkBaseDataItemSubItems(TExtensibleInterfacedPersistent* Controller)
    : TZkDataItemAggregatedObject(Controller) {
    auto* item = dynamic_cast<TZkBaseDataItem*>(Controller);
    if (!item) throw EZKCLDataItems(ZkErrorInvalidClassType);
    list_ = ::Create<TZkDataItemsList>(item);
}

void TZkBaseDataItemSubItems::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (TZkDataItemsList* list = std::exchange(list_, nullptr)) list->Abandon();
}

TZkDataItemsList& TZkBaseDataItemsListManagement::List() const {
    auto* list = dynamic_cast<TZkDataItemsList*>(Items());
    if (!list) throw EZKCLDataItems(ZkErrorCannotDelete);
    return *list;
}

TZkIntf<IZkDataItem> TZkBaseDataItemsListManagement::Add() {
    TZkDataItemsList& list = List();
    return TZkIntf<IZkDataItem>(list.CreateItem(list.ItemClass()));
}

TZkIntf<IZkDataItem> TZkBaseDataItemsListManagement::Create(TClass ItemClass) {
    return TZkIntf<IZkDataItem>(List().CreateItem(ItemClass));
}

void TZkBaseDataItemsListManagement::Delete(int Index) {
    List().DeleteItem(Index);
}

void TZkBaseDataItemsListManagement::Remove(IZkDataItem* Item) {
    TZkDataItemsList& list = List();
    const int index = Item ? list.IndexOf(Item) : -1;
    if (index < 0) throw EZKCLDataItems(ZkErrorCannotDelete);
    list.DeleteItem(index);
}

TZkCustomDataItemsImages::TZkCustomDataItemsImages(TExtensibleInterfacedPersistent* Controller)
    : TZkBaseDataItemsImagesImpl(Controller), watch_(::Create<TZkComponentWatch>()) {}

TCustomImageList* TZkCustomDataItemsImages::Images() {
    return watch_ ? static_cast<TCustomImageList*>(watch_->Watched()) : nullptr;
}

void TZkCustomDataItemsImages::SetImages(TCustomImageList* Value) {
    if (watch_) watch_->Watch(Value);
}

void TZkCustomDataItemsImages::BeforeDestruction() {
    inherited::BeforeDestruction();
    FreeAndNil(watch_);
}
