// Collections: items built through the item class, positions and IDs,
// update batching and notices, moving between collections, Assign.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/core/collection.h"
#include "classlib/core/component.h"
#include "classlib/core/exceptions.h"

namespace {

int liveItems = 0;
int extractingNotices = 0;
std::string lastExtractedClass;

class TLine : public TCollectionItem {
    VX_CLASS(TLine, TCollectionItem)
public:
    explicit TLine(TCollection* Collection) : TCollectionItem(Collection) { ++liveItems; }
    ~TLine() override { --liveItems; }
    void AfterConstruction() override {
        inherited::AfterConstruction();
        indexWhenWhole = Index();
    }
    void Assign(TPersistent* Source) override {
        if (auto* line = dynamic_cast<TLine*>(Source)) {
            Value = line->Value;
            return;
        }
        inherited::Assign(Source);
    }
    void Touch() { Changed(false); }
    int Value = 0;
    int indexWhenWhole = -2;
};

class TColoredLine : public TLine {
    VX_CLASS(TColoredLine, TLine)
public:
    using TLine::TLine;
    std::string Color = "lime";

protected:
    std::string GetDisplayName() const override { return Color; }
};

// Records Update and Notify calls as text.
class TLines : public TOwnedCollection {
    VX_CLASS(TLines, TOwnedCollection)
public:
    explicit TLines(TPersistent* AOwner = nullptr, TCollectionItemClass cls = TLine::ClassInfo())
        : TOwnedCollection(AOwner, cls) {}
    TLine* Line(int Index) const { return static_cast<TLine*>(Items(Index)); }
    std::vector<std::string> log;

protected:
    void Update(TCollectionItem* Item) override {
        log.push_back(Item ? "update " + std::to_string(Item->ID()) : "update all");
    }
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
        static const char* const names[] = {"added", "extracting", "deleting"};
        log.push_back(std::string(names[Action]) + " " + std::to_string(Item->ID()));
        if (Action == cnExtracting) {
            ++extractingNotices;
            lastExtractedClass = Item->ClassName();
        }
    }
};

class Collections : public ::testing::Test {
protected:
    void SetUp() override { liveItems = 0; }
    void TearDown() override { EXPECT_EQ(liveItems, 0) << "items leaked"; }
};

std::string ListErrorOf(auto action) {
    try {
        action();
    } catch (const EListError& e) {
        return e.Message();
    }
    return "no error";
}

}  // namespace

TEST_F(Collections, ItemsAreBuiltThroughTheItemClassAndJoinWhole) {
    TOwned<TLines> lines(Create<TLines>(nullptr, TColoredLine::ClassInfo()));
    TCollectionItem* item = lines->Add();
    ASSERT_STREQ(item->ClassName(), "TColoredLine");
    EXPECT_EQ(item->DisplayName(), "lime");
    EXPECT_EQ(item->Collection(), lines.get());
    EXPECT_EQ(lines->Line(0)->indexWhenWhole, 0);
    EXPECT_EQ(lines->log, (std::vector<std::string>{"added 0", "update all"}));

    TOwned<TCollection> baseItems(Create<TCollection>(TCollectionItem::ClassInfo()));
    EXPECT_STREQ(baseItems->Add()->ClassName(), "TCollectionItem");
    TOwned<TCollection> notItems(Create<TCollection>(TComponent::ClassInfo()));
    EXPECT_THROW(notItems->Add(), EInvalidOperation);
}

TEST_F(Collections, AddInsertDeleteKeepPositionsAndNeverReuseIDs) {
    TOwned<TLines> lines(Create<TLines>());
    for (int i = 0; i < 3; ++i) lines->Add();
    TCollectionItem* front = lines->Insert(0);
    EXPECT_EQ(front->ID(), 3);
    EXPECT_EQ(front->Index(), 0);
    lines->Delete(1);  // ID 0
    lines->Add();
    std::vector<int> ids;
    for (int i = 0; i < lines->Count(); ++i) ids.push_back(lines->Items(i)->ID());
    EXPECT_EQ(ids, (std::vector<int>{3, 1, 2, 4}));
    EXPECT_EQ(lines->FindItemID(2), lines->Items(2));
    EXPECT_EQ(lines->FindItemID(0), nullptr);
    // A bad Insert adds nothing.
    EXPECT_EQ(ListErrorOf([&] { lines->Insert(5); }), "List index out of bounds (5)");
    EXPECT_EQ(lines->Count(), 4);
    EXPECT_EQ(ListErrorOf([&] { lines->Items(4); }), "List index out of bounds (4)");
    EXPECT_EQ(ListErrorOf([&] { lines->Delete(-1); }), "List index out of bounds (-1)");
}

TEST_F(Collections, SetIndexMovesTheItem) {
    TOwned<TLines> lines(Create<TLines>());
    for (int i = 0; i < 4; ++i) lines->Add();
    TCollectionItem* first = lines->Items(0);
    lines->log.clear();
    first->SetIndex(3);
    EXPECT_EQ(lines->Items(3), first);
    EXPECT_EQ(lines->Items(0)->ID(), 1);
    EXPECT_EQ(lines->log, (std::vector<std::string>{"update all"}));
    EXPECT_EQ(ListErrorOf([&] { first->SetIndex(4); }), "List index out of bounds (4)");
}

TEST_F(Collections, UpdateRunsOnceAtTheEndOfAnUpdate) {
    TOwned<TLines> lines(Create<TLines>());
    lines->Add();
    lines->log.clear();
    lines->BeginUpdate();
    lines->BeginUpdate();
    lines->Add();
    lines->Line(0)->Touch();
    lines->Delete(0);
    lines->EndUpdate();
    EXPECT_EQ(lines->log, (std::vector<std::string>{"added 1", "deleting 0", "extracting 0"}));
    lines->EndUpdate();
    EXPECT_EQ(lines->log.back(), "update all");
    EXPECT_EQ(std::count(lines->log.begin(), lines->log.end(), "update all"), 1);

    // Outside an update, an item's own change names the item.
    lines->log.clear();
    lines->Line(0)->Touch();
    EXPECT_EQ(lines->log, (std::vector<std::string>{"update 1"}));

    // An unmatched EndUpdate does not silence later updates.
    lines->EndUpdate();
    lines->log.clear();
    lines->Add();
    EXPECT_EQ(lines->log, (std::vector<std::string>{"added 2", "update all"}));
}

TEST_F(Collections, ClearAndDestructionFreeEveryItem) {
    TOwned<TLines> lines(Create<TLines>());
    for (int i = 0; i < 3; ++i) lines->Add();
    lines->log.clear();
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
    EXPECT_EQ(liveItems, 0);
    EXPECT_EQ(lines->log,
              (std::vector<std::string>{"extracting 2", "extracting 1", "extracting 0", "update all"}));
    for (int i = 0; i < 3; ++i) lines->Add();
    // The collection is still whole as its items go: its own Notify hears.
    extractingNotices = 0;
    lines.reset();
    EXPECT_EQ(liveItems, 0);
    EXPECT_EQ(extractingNotices, 3);
}

TEST_F(Collections, ItemFreedDirectlyLeavesItsCollection) {
    TOwned<TLines> lines(Create<TLines>());
    lines->Add();
    TCollectionItem* gone = lines->Add();
    lines->Add();
    gone->Free();
    EXPECT_EQ(lastExtractedClass, "TLine");  // told while the item was whole
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Items(1)->ID(), 2);
}

TEST_F(Collections, SetCollectionMovesAnItemBetweenCollections) {
    TOwned<TLines> from(Create<TLines>());
    TOwned<TLines> to(Create<TLines>());
    to->Add();
    TCollectionItem* item = from->Add();
    from->log.clear();
    item->SetCollection(to.get());
    EXPECT_EQ(from->Count(), 0);
    EXPECT_EQ(item->Collection(), to.get());
    EXPECT_EQ(item->Index(), 1);
    EXPECT_EQ(item->ID(), 1);  // numbered by its new collection
    EXPECT_EQ(from->log, (std::vector<std::string>{"extracting 0", "update all"}));

    // A collection of another item class refuses it, and it stays put.
    TOwned<TLines> colored(Create<TLines>(nullptr, TColoredLine::ClassInfo()));
    EXPECT_THROW(item->SetCollection(colored.get()), EListError);
    EXPECT_EQ(item->Collection(), to.get());
    EXPECT_EQ(to->Count(), 2);
}

TEST_F(Collections, AssignCopiesItemsAndSelfAssignKeepsThem) {
    TOwned<TLines> source(Create<TLines>());
    TOwned<TLines> copy(Create<TLines>());
    for (int v : {7, 8, 9}) static_cast<TLine*>(source->Add())->Value = v;
    copy->Add();
    copy->log.clear();
    copy->Assign(source.get());
    ASSERT_EQ(copy->Count(), 3);
    EXPECT_EQ(copy->Line(2)->Value, 9);
    EXPECT_EQ(std::count(copy->log.begin(), copy->log.end(), "update all"), 1);
    source->Assign(source.get());
    EXPECT_EQ(source->Count(), 3);
    EXPECT_EQ(source->Line(0)->Value, 7);
}

TEST_F(Collections, OwnedCollectionAnswersItsOwnerAndNamePaths) {
    TOwned<TComponent> scope(Create<TComponent>(nullptr));
    scope->SetName("Scope1");
    TOwned<TLines> lines(Create<TLines>(scope.get()));
    EXPECT_EQ(lines->Owner(), scope.get());
    lines->Add();
    lines->Add();
    EXPECT_EQ(lines->Items(1)->GetNamePath(), "TLines[1]");
    lines->SetPropName("Lines");
    EXPECT_EQ(lines->Items(1)->GetNamePath(), "Scope1.Lines[1]");
}
