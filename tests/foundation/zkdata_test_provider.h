// Shared by the data provider tests: a provider component with items (and,
// when asked, contexts with items of their own), and item and extension
// classes that count their live instances.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/component.h"
#include "foundation/zkdatacontexts.h"
#include "foundation/zkdataprovider.h"
#include "foundation/zkdatarender.h"

// Counts its live instances, to see every item go exactly once.
class TCountedItem : public TZkBaseDataItem {
    VX_CLASS(TCountedItem, TZkBaseDataItem)
public:
    explicit TCountedItem(TZkBaseDataItems* Owner) : TZkBaseDataItem(Owner) { ++Live; }
    static inline int Live = 0;

protected:
    ~TCountedItem() override { --Live; }
};

class TCountedExtension : public TZkDataItemAggregatedObject {
    VX_CLASS(TCountedExtension, TZkDataItemAggregatedObject)
public:
    explicit TCountedExtension(TExtensibleInterfacedPersistent* Controller)
        : TZkDataItemAggregatedObject(Controller) {
        ++Live;
    }
    static inline int Live = 0;
    int Weight() const { return weight_; }
    void SetWeight(int Value) { weight_ = Value; }

protected:
    ~TCountedExtension() override { --Live; }

private:
    int weight_ = 0;
};

void RegisterTestClasses();

// Every counted item and extension a test made is gone when it ends.
class CountedTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        TCountedItem::Live = 0;
        TCountedExtension::Live = 0;
    }
    void TearDown() override {
        EXPECT_EQ(TCountedItem::Live, 0);
        EXPECT_EQ(TCountedExtension::Live, 0);
    }
};

// A provider component; components are kept by their owner, so it does not count.
class TTestProvider : public TComponent,
                      public virtual IZkDataProvider,
                      public virtual IZkDataProviderContexts,
                      private IZkDataItemsObserver,
                      private IZkDataContextsObserver {
    VX_CLASS(TTestProvider, TComponent)
public:
    TTestProvider(TComponent* Owner, bool WithContexts = false);

    long _AddRef() override { return -1; }
    long _Release() override { return -1; }
    HRESULT QueryInterface(TZkInterfaceCast Cast, void** Obj) override;

    TZkIntf<IZkDataItems> Items(IZkDataContext* Context) override;
    void RegisterNotify(IZkDataProviderNotify* Notify) override { notifiers.Register(Notify); }
    void UnregisterNotify(IZkDataProviderNotify* Notify) override { notifiers.Unregister(Notify); }
    TZkIntf<IZkDataContexts> Contexts() override { return contexts; }

    // An item with a text, at the end of Parent's sub-items (or of the top items).
    TZkBaseDataItem* AddItem(const std::string& Text, TZkBaseDataItem* Parent = nullptr);
    TZkManagedDataContext* AddContext(const std::string& Name, TZkDataContexts* Below = nullptr);
    void ContentChanged();

    void BeforeDestruction() override;

    TZkIntf<TZkDataItemsList> items;
    TZkIntf<TZkDataContexts> contexts;
    TZkDataProviderNotifiers notifiers;

private:
    void ItemAdded(IZkDataItem* Item) override;
    void ItemDeleting(IZkDataItem* Item) override;
    void ContextDeleting(IZkDataContext* Context) override;

    bool withContexts_;
};

std::string ItemText(IZkDataItem* Item);
