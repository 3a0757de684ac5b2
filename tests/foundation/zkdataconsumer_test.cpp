// The consumer a control holds: choosing provider, context and item, the
// error texts of wrong choices, the changes it reports, and the view list
// following the item tree.
#include <gtest/gtest.h>

#include "foundation/zkdataerrors.h"
#include "foundation/zkdataviewlist.h"
#include "tests/foundation/zkdata_test_provider.h"

namespace {

using Strings = std::vector<std::string>;

const char* const ReasonNames[] = {"begin", "end", "context", "item", "view", "content"};

class Consumer : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    void Changed(TZkDataConsumer*, TZkDataChangeReason Reason) { changes.push_back(ReasonNames[Reason]); }
    TZkIntf<TZkDataConsumer> MakeConsumer() {
        return TZkIntf<TZkDataConsumer>(Create<TZkDataConsumer>(
            owner.get(), std::vector<int>{3, 1, 3}, TZkDataChangeEvent(this, &Consumer::Changed)));
    }
    static std::string ErrorOf(const std::function<void()>& Action) {
        try {
            Action();
        } catch (const EZKCLDataConsumer& e) {
            return e.Message();
        }
        return "no error";
    }

    TOwned<TComponent> owner{Create<TComponent>(nullptr)};
    Strings changes;
};

TEST_F(Consumer, WithoutProviderItIsInactiveAndKeepsEachAttributeOnce) {
    TZkIntf<TZkDataConsumer> consumer = MakeConsumer();
    EXPECT_FALSE(consumer->Active());
    EXPECT_FALSE(consumer->Items());
    EXPECT_FALSE(consumer->SelectedItem());
    EXPECT_EQ(consumer->Attributes(), (std::vector<int>{3, 1}));
}

TEST_F(Consumer, ProviderChangeIsBracketedAndSelectsTheFirstContext) {
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr, true));
    provider->AddContext("First");
    provider->AddContext("Second");
    TZkIntf<TZkDataConsumer> consumer = MakeConsumer();
    consumer->SetProvider(provider.get());
    EXPECT_EQ(changes, (Strings{"begin", "end"}));
    EXPECT_EQ(consumer->Context(), "First");
    EXPECT_FALSE(consumer->IsContextStored());
    changes.clear();
    consumer->SetProvider(provider.get());
    EXPECT_TRUE(changes.empty());
    consumer->SetContext("second");
    EXPECT_EQ(consumer->Context(), "Second");
    EXPECT_TRUE(consumer->IsContextStored());
    changes.clear();
    consumer->SetContext("SECOND");  // the current one in other letters
    EXPECT_TRUE(changes.empty());
    consumer->SetContext("");
    EXPECT_EQ(consumer->SelectedContext(), nullptr);
}

TEST_F(Consumer, WrongChoicesRaiseTheirTextsAndKeepTheSelection) {
    TOwned<TTestProvider> plain(Create<TTestProvider>(nullptr, false));
    TOwned<TTestProvider> other(Create<TTestProvider>(nullptr, true));
    TZkManagedDataContext* foreign = other->AddContext("Foreign");
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr, true));
    provider->AddContext("Main");
    const std::string known = provider->AddItem("Known")->ID();

    TZkIntf<TZkDataConsumer> consumer = MakeConsumer();
    TZkDataConsumerItemSelect* select = consumer->ItemSelect();
    EXPECT_EQ(ErrorOf([&] { consumer->SetContext("Main"); }),
              "You must specify a provider before setting the context");
    EXPECT_EQ(ErrorOf([&] { select->SetItem(known); }),
              "You must specify a provider before setting the item");
    consumer->SetProvider(plain.get());
    EXPECT_EQ(ErrorOf([&] { consumer->SetContext("Main"); }), "Provider does not support contexts");
    consumer->SetProvider(provider.get());
    EXPECT_EQ(ErrorOf([&] { consumer->SetContext("Elsewhere"); }),
              "Provider has no context named \"Elsewhere\"");
    EXPECT_EQ(ErrorOf([&] { consumer->SelectContext(foreign); }),
              "The specified context is not part of the same provider");
    EXPECT_EQ(consumer->Context(), "Main");
    // Main is a managed context with items of its own: Known is not among them.
    EXPECT_EQ(ErrorOf([&] { select->SetItem(known); }), "Item not found in the selected context");
    consumer->SetContext("");
    select->SetItem(known);
    EXPECT_EQ(ItemText(consumer->SelectedItem().get()), "Known");
}

TEST_F(Consumer, NamesGivenWhileLoadingWaitForTheProvider) {
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr, true));
    provider->AddContext("First");
    TZkManagedDataContext* second = provider->AddContext("Second");
    TZkBaseDataItem* item = second->Items()->CreateItem(TCountedItem::ClassInfo());
    TZkIntf<TZkDataConsumer> consumer = MakeConsumer();
    owner->Loading();
    consumer->SetContext("Second");
    consumer->ItemSelect()->SetItem(item->ID());
    EXPECT_FALSE(consumer->Active());
    consumer->SetProvider(provider.get());
    owner->Loaded();
    consumer->Loaded();
    EXPECT_EQ(consumer->Context(), "Second");
    EXPECT_EQ(consumer->SelectedItem().get(), static_cast<IZkDataItem*>(item));
}

TEST_F(Consumer, DeletingTheSelectedItemOrItsParentClearsTheSelection) {
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr));
    TZkBaseDataItem* parent = provider->AddItem("Parent");
    TZkBaseDataItem* child = provider->AddItem("Child", parent);
    TZkIntf<TZkDataConsumer> consumer = MakeConsumer();
    consumer->SetProvider(provider.get());
    consumer->ItemSelect()->SetItem(child->ID());
    changes.clear();
    provider->items->DeleteItem(0);
    EXPECT_FALSE(consumer->SelectedItem());
    EXPECT_EQ(changes, Strings{"item"});
}

TEST_F(Consumer, AFreedProviderLeavesTheConsumerInactive) {
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr));
    const std::string id = provider->AddItem("Gone")->ID();
    TZkIntf<TZkDataConsumer> consumer = MakeConsumer();
    consumer->SetProvider(provider.get());
    consumer->ItemSelect()->SetItem(id);
    consumer->ViewList();
    provider.reset();
    EXPECT_FALSE(consumer->Active());
    EXPECT_FALSE(consumer->SelectedItem());
    // The view list applies to a provider only; the selection stays.
    EXPECT_EQ(consumer->ExtensionCount(), 1);
}

TEST_F(Consumer, AConsumerOutlivingItsOwnerNoLongerCallsIt) {
    TOwned<TTestProvider> provider(Create<TTestProvider>(nullptr));
    TZkIntf<TZkDataConsumer> consumer = MakeConsumer();
    consumer->SetProvider(provider.get());
    owner.reset();
    changes.clear();
    EXPECT_EQ(consumer->Owner(), nullptr);
    consumer->SetProvider(nullptr);
    EXPECT_TRUE(changes.empty());
}

class ViewList : public Consumer {
protected:
    void SetUp() override {
        Consumer::SetUp();
        a = provider->AddItem("A");
        a1 = provider->AddItem("A1", a);
        provider->AddItem("B");
        consumer->SetProvider(provider.get());
        view = consumer->ViewList();
    }
    std::string Shown() const {
        std::string text;
        for (int i = 0; i < view->Count(); ++i)
            text += std::string(static_cast<size_t>(view->Entry(i).Level), ' ') +
                    ItemText(view->Entry(i).Item.get()) + ";";
        return text;
    }

    TOwned<TTestProvider> provider{Create<TTestProvider>(nullptr)};
    TZkIntf<TZkDataConsumer> consumer{MakeConsumer()};
    TZkDataConsumerViewList* view = nullptr;
    TZkBaseDataItem* a = nullptr;
    TZkBaseDataItem* a1 = nullptr;
};

TEST_F(ViewList, ExpandsAndCollapsesTheTree) {
    EXPECT_EQ(view->LevelIndent(), 16);
    EXPECT_EQ(Shown(), "A;B;");
    provider->AddItem("A1a", a1);
    view->Expand(0);
    view->Expand(1);
    EXPECT_EQ(Shown(), "A; A1;  A1a;B;");
    view->Collapse(0);
    EXPECT_EQ(Shown(), "A;B;");
}

TEST_F(ViewList, FollowsAddedAndDeletedItems) {
    view->Expand(0);
    changes.clear();
    provider->AddItem("A2", a);
    provider->AddItem("C");
    EXPECT_EQ(Shown(), "A; A1; A2;B;C;");
    EXPECT_EQ(changes, (Strings{"view", "view"}));
    // Below a collapsed parent nothing shows, unless parents open for new items.
    provider->AddItem("A1a", a1);
    EXPECT_EQ(Shown(), "A; A1; A2;B;C;");
    view->SetExpandParentsOnNewItems(true);
    provider->AddItem("A1b", a1);
    EXPECT_EQ(Shown(), "A; A1;  A1a;  A1b; A2;B;C;");
    provider->items->DeleteItem(0);
    EXPECT_EQ(Shown(), "B;C;");
}

TEST_F(ViewList, AnEntryWhoseItemLeftTheTreeIsOutOfSync) {
    // Without a provider the view cannot hear of deletions.
    provider->notifiers = TZkDataProviderNotifiers();
    provider->items->DeleteItem(0);
    EXPECT_EQ(ErrorOf([&] { view->Expand(0); }), "ViewList out of sync");
    EXPECT_THROW(view->Entry(5), EZKCLDataItems);
}

}  // namespace
