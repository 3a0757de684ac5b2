// A consumer's flat, indented view of the item tree: one entry per visible
// item with its level and expanded state, kept in step with the provider's
// item notifications.
#pragma once

#include <vector>

#include "foundation/zkdataconsumer.h"

struct TZkViewEntry {
    TZkIntf<IZkDataItem> Item;
    int Level = 0;
    bool Expanded = false;
};

class TZkCustomDataConsumerViewList : public TZkDataConsumerAggregatedObject {
    VX_CLASS(TZkCustomDataConsumerViewList, TZkDataConsumerAggregatedObject)
public:
    using TZkDataConsumerAggregatedObject::TZkDataConsumerAggregatedObject;

    int Count() const { return static_cast<int>(entries_.size()); }
    // Raises EZKCLDataItems "List index out of bounds (%d)".
    const TZkViewEntry& Entry(int Index) const;
    int IndexOf(IZkDataItem* Item) const;
    int LevelIndent() const { return levelIndent_; }
    void SetLevelIndent(int Value);
    // Collapsed parents open when an item is added below them.
    bool ExpandParentsOnNewItems() const { return expandOnNew_; }
    void SetExpandParentsOnNewItems(bool Value) { expandOnNew_ = Value; }

    // Raise EZKCLDataConsumer "ViewList out of sync" for an entry whose item
    // is no longer in the tree.
    void Expand(int Index);
    void Collapse(int Index);
    // The top items again, all collapsed.
    void Rebuild();

    void ProviderChanged() override { Rebuild(); }
    void ContextChanged() override { Rebuild(); }
    void ContentChanged() override { Rebuild(); }
    void ItemAdded(IZkDataItem* Item) override;
    void ItemDeleting(IZkDataItem* Item) override;

private:
    void CheckIndex(int Index) const;
    // The entry after Index's last descendant.
    int SubtreeEnd(int Index) const;
    void ViewChanged();

    std::vector<TZkViewEntry> entries_;
    int levelIndent_ = 16;
    bool expandOnNew_ = false;
};

class TZkDataConsumerViewList : public TZkCustomDataConsumerViewList {
    VX_CLASS(TZkDataConsumerViewList, TZkCustomDataConsumerViewList)
public:
    using TZkCustomDataConsumerViewList::TZkCustomDataConsumerViewList;
    void AfterConstruction() override;
};
