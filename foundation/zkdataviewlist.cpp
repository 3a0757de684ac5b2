#include "foundation/zkdataviewlist.h"

#include "classlib/core/text.h"
#include "foundation/zkdataerrors.h"

namespace {

TZkIntf<IZkDataItems> ChildrenOf(IZkDataItem* Item) {
    TZkIntf<IZkDataItemSubItems> sub = ZkSupports<IZkDataItemSubItems>(Item);
    return sub ? sub->SubItems() : nullptr;
}

}  // namespace

void TZkCustomDataConsumerViewList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) throw EZKCLDataItems(Format(ZkErrorIndexOutOfBounds, Index));
}

const TZkViewEntry& TZkCustomDataConsumerViewList::Entry(int Index) const {
    CheckIndex(Index);
    return entries_[static_cast<size_t>(Index)];
}

int TZkCustomDataConsumerViewList::IndexOf(IZkDataItem* Item) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].Item.get() == Item) return static_cast<int>(i);
    return -1;
}

void TZkCustomDataConsumerViewList::SetLevelIndent(int Value) {
    if (Value == levelIndent_) return;
    levelIndent_ = Value;
    ViewChanged();
}

void TZkCustomDataConsumerViewList::ViewChanged() {
    if (TZkDataConsumer* consumer = Consumer()) consumer->Changed(crView);
}

int TZkCustomDataConsumerViewList::SubtreeEnd(int Index) const {
    const int level = entries_[static_cast<size_t>(Index)].Level;
    int end = Index + 1;
    while (end < Count() && entries_[static_cast<size_t>(end)].Level > level) ++end;
    return end;
}

void TZkCustomDataConsumerViewList::Rebuild() {
    entries_.clear();
    TZkDataConsumer* consumer = Consumer();
    if (TZkIntf<IZkDataItems> items = consumer ? consumer->Items() : nullptr)
        for (int i = 0; i < items->Count(); ++i) entries_.push_back({items->Item(i), 0, false});
    ViewChanged();
}

void TZkCustomDataConsumerViewList::Expand(int Index) {
    CheckIndex(Index);
    TZkViewEntry& entry = entries_[static_cast<size_t>(Index)];
    if (!entry.Item->OwnerList()) throw EZKCLDataConsumer(ZkErrorViewOutOfSync);
    if (entry.Expanded) return;
    entry.Expanded = true;
    std::vector<TZkViewEntry> children;
    if (TZkIntf<IZkDataItems> sub = ChildrenOf(entry.Item.get()))
        for (int i = 0; i < sub->Count(); ++i) children.push_back({sub->Item(i), entry.Level + 1, false});
    entries_.insert(entries_.begin() + Index + 1, children.begin(), children.end());
    ViewChanged();
}

void TZkCustomDataConsumerViewList::Collapse(int Index) {
    CheckIndex(Index);
    TZkViewEntry& entry = entries_[static_cast<size_t>(Index)];
    if (!entry.Item->OwnerList()) throw EZKCLDataConsumer(ZkErrorViewOutOfSync);
    if (!entry.Expanded) return;
    entry.Expanded = false;
    entries_.erase(entries_.begin() + Index + 1, entries_.begin() + SubtreeEnd(Index));
    ViewChanged();
}

void TZkCustomDataConsumerViewList::ItemAdded(IZkDataItem* Item) {
    if (IndexOf(Item) >= 0) return;
    TZkIntf<IZkDataItems> owner = Item->OwnerList();
    if (!owner) return;
    TZkIntf<IZkDataItem> parent = Item->ParentItem();
    int level = 0;
    int end = Count();
    if (parent) {
        const int parentIndex = IndexOf(parent.get());
        if (parentIndex < 0) return;
        if (!entries_[static_cast<size_t>(parentIndex)].Expanded) {
            // Expanding lists every child, the new one among them.
            if (expandOnNew_) Expand(parentIndex);
            return;
        }
        level = entries_[static_cast<size_t>(parentIndex)].Level + 1;
        end = SubtreeEnd(parentIndex);
    }
    // Before the entry of the next sibling in the tree, when it is listed.
    int at = end;
    const int index = owner->IndexOf(Item);
    if (index >= 0 && index + 1 < owner->Count()) {
        const int next = IndexOf(owner->Item(index + 1).get());
        if (next >= 0 && next < end) at = next;
    }
    entries_.insert(entries_.begin() + at, TZkViewEntry{Item, level, false});
    ViewChanged();
}

void TZkCustomDataConsumerViewList::ItemDeleting(IZkDataItem* Item) {
    const int index = IndexOf(Item);
    if (index < 0) return;
    entries_.erase(entries_.begin() + index, entries_.begin() + SubtreeEnd(index));
    ViewChanged();
}

void TZkDataConsumerViewList::AfterConstruction() {
    inherited::AfterConstruction();
    Rebuild();
}
