// The control's link to a data provider: `TZkDataConsumer` selects a
// provider and a context and tells its control of every change; its
// extensions keep the selected item (`TZkDataConsumerItemSelect`) and a
// flat view of the item tree (`TZkDataConsumerViewList`, in zkdataviewlist.h).
#pragma once

#include <string>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/core/delegate.h"
#include "foundation/zkdataitems.h"

class TZkComponentWatch;
class TZkDataConsumer;
class TZkDataConsumerItemSelect;
class TZkDataConsumerViewList;

enum TZkDataChangeReason {
    crBeginChange,  // a provider change starts
    crEndChange,    // a provider change is over
    crContext,      // another context is selected
    crItem,         // another item is selected
    crView,         // the view list changed
    crContent,      // the provider's content changed
};

using TZkDataChangeEvent = TDelegate<void(TZkDataConsumer* Sender, TZkDataChangeReason Reason)>;

// Keep a consumer with a counted reference (`TZkIntf<TZkDataConsumer>`):
// it ends with its last reference.
class TZkDataConsumer : public TExtensibleInterfacedPersistent, private IZkDataProviderNotify {
    VX_CLASS(TZkDataConsumer, TExtensibleInterfacedPersistent)
public:
    // Attributes: what the control takes from items, each number once.
    explicit TZkDataConsumer(TComponent* Owner, std::vector<int> Attributes = {},
                             TZkDataChangeEvent OnChange = nullptr);

    // Null once the owner is gone; OnChange goes with it.
    TComponent* Owner() const;
    const std::vector<int>& Attributes() const { return attributes_; }

    IZkDataProvider* Provider() const { return provider_.get(); }
    void SetProvider(IZkDataProvider* Value);
    bool Active() const { return provider_.get() != nullptr; }

    // The selected context as a path from the root contexts ("" for none).
    std::string Context();
    // Raises EZKCLDataConsumer without a provider (unless the owner is
    // loading: the name then waits for the provider), when the provider has
    // no contexts or none by that name.
    void SetContext(const std::string& Name);
    IZkDataContext* SelectedContext() const { return context_.get(); }
    // Raises EZKCLDataConsumer for a context of another provider.
    void SelectContext(IZkDataContext* Value);
    bool IsContextStored();

    // The top items of the selected context; null without a provider.
    TZkIntf<IZkDataItems> Items();
    TZkDataConsumerItemSelect* ItemSelect() const;
    TZkIntf<IZkDataItem> SelectedItem() const;
    // What draws the selected item: the renderer of its list, or null.
    TZkIntf<IZkDataItemsRenderer> SelectedItemRenderer() const;
    // Made on first use; goes when the provider does.
    TZkDataConsumerViewList* ViewList();

    // The owner finished loading.
    void Loaded();
    bool OwnerLoading() const;

    // Repaints a control owner, then calls OnChange.
    void Changed(TZkDataChangeReason Reason);
    TZkDataChangeEvent OnChange;

    void BeforeDestruction() override;

    // The published "Provider" (an object that implements IZkDataProvider).
    // It refers to a component of the form, so it is never streamed.
    TObject* ProviderObject() const;
    void SetProviderObject(TObject* Value);
    bool IsProviderStored() const { return false; }

protected:
    void InitImplementers() override;

private:
    void ProviderContentChanged() override;
    void ItemAdded(IZkDataItem* Item) override;
    void ItemDeleting(IZkDataItem* Item) override;
    void ContextDeleting(IZkDataContext* Context) override;
    void ProviderDestroying() override;

    TZkIntf<IZkDataContexts> ProviderContexts() const;
    TZkIntf<IZkDataContext> DefaultContext() const;
    bool InTree(IZkDataItem* Item);
    template <class Tell>
    void TellExtensions(Tell tell);

    void OwnerGone(TObject* Sender);

    TZkComponentWatch* owner_ = nullptr;
    std::vector<int> attributes_;
    TZkIntf<IZkDataProvider> provider_;
    TZkIntf<IZkDataContext> context_;
    std::string keptContext_;
};

class TZkDataConsumerAggregatedObject : public TAggregatedPersistentEx {
    VX_CLASS(TZkDataConsumerAggregatedObject, TAggregatedPersistentEx)
public:
    explicit TZkDataConsumerAggregatedObject(TExtensibleInterfacedPersistent* Controller);
    TZkDataConsumer* Consumer() const { return dynamic_cast<TZkDataConsumer*>(Controller()); }

    // A fixed extension stays whatever the provider.
    virtual bool IsFixed() const { return false; }
    virtual bool AppliesTo(IZkDataProvider* Provider) const { return Provider != nullptr; }
    virtual void ProviderChanged() {}
    virtual void ContextChanged() {}
    virtual void ContentChanged() {}
    virtual void ItemAdded(IZkDataItem*) {}
    virtual void ItemDeleting(IZkDataItem*) {}
};

// The selected item, by ID.
class TZkDataConsumerItemSelect : public TZkDataConsumerAggregatedObject {
    VX_CLASS(TZkDataConsumerItemSelect, TZkDataConsumerAggregatedObject)
public:
    using TZkDataConsumerAggregatedObject::TZkDataConsumerAggregatedObject;

    // The selected item's ID, or the one waiting for a provider.
    std::string Item() const;
    // Raises EZKCLDataConsumer "You must specify a provider before setting
    // the item" (unless the owner is loading: the ID then waits for the
    // provider) and "Item not found in the selected context".
    void SetItem(const std::string& ID);
    TZkIntf<IZkDataItem> Selected() const { return selected_; }

    bool IsFixed() const override { return true; }
    bool AppliesTo(IZkDataProvider*) const override { return true; }
    void ProviderChanged() override;
    void ContextChanged() override { ProviderChanged(); }
    void ContentChanged() override { ProviderChanged(); }
    void ItemDeleting(IZkDataItem* Item) override;

private:
    void Select(TZkIntf<IZkDataItem> Item);
    TZkIntf<IZkDataItem> selected_;
    std::string kept_;
};
