// Pointer, object and thread lists: bounds, notices, ownership, locking.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/lists.h"

namespace {

int liveObjects = 0;

class TCounted : public TObject {
    VX_CLASS(TCounted, TObject)
public:
    TCounted() { ++liveObjects; }
    ~TCounted() override { --liveObjects; }
    TObjectList* removeFrom = nullptr;  // takes this object out of the list when freed
    TObject* alsoRemove = nullptr;      // ...and this one too
};

class TCountedFreer : public TCounted {
    VX_CLASS(TCountedFreer, TCounted)
public:
    ~TCountedFreer() override {
        if (removeFrom && alsoRemove) removeFrom->Remove(alsoRemove);
    }
};

class TRecordingList : public TList {
    VX_CLASS(TRecordingList, TList)
public:
    std::vector<std::string> log;

protected:
    void Notify(void* Ptr, TListNotification Action) override {
        static const char* const names[] = {"added", "extracted", "deleted"};
        log.push_back(std::string(names[Action]) + " " + *static_cast<std::string*>(Ptr));
    }
};

std::string ListErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EListError& e) {
        return e.Message();
    }
    return "no error";
}

int a = 1, b = 2, c = 3, d = 4;

}  // namespace

TEST(List, IndexErrorsNameTheIndex) {
    TOwned<TList> list(Create<TList>());
    list->Add(&a);
    list->Add(&b);
    struct Case {
        const char* what;
        std::function<void()> action;
        const char* message;
    };
    const Case cases[] = {
        {"Items(-1)", [&] { list->Items(-1); }, "List index out of bounds (-1)"},
        {"Items(Count)", [&] { list->Items(2); }, "List index out of bounds (2)"},
        {"SetItems(Count)", [&] { list->SetItems(2, &c); }, "List index out of bounds (2)"},
        {"Insert(Count + 1)", [&] { list->Insert(3, &c); }, "List index out of bounds (3)"},
        {"Delete(Count)", [&] { list->Delete(2); }, "List index out of bounds (2)"},
        {"Exchange second", [&] { list->Exchange(0, 5); }, "List index out of bounds (5)"},
        {"Move to Count", [&] { list->Move(0, 2); }, "List index out of bounds (2)"},
        {"Move from Count", [&] { list->Move(4, 0); }, "List index out of bounds (4)"},
        {"Capacity below Count", [&] { list->SetCapacity(1); }, "List capacity out of bounds (1)"},
        {"negative Count", [&] { list->SetCount(-1); }, "List count out of bounds (-1)"},
    };
    for (const Case& test : cases) EXPECT_EQ(ListErrorOf(test.action), test.message) << test.what;
    EXPECT_EQ(list->Count(), 2);
    list->Clear();
    EXPECT_EQ(ListErrorOf([&] { list->First(); }), "List index out of bounds (0)");
    EXPECT_EQ(ListErrorOf([&] { list->Last(); }), "List index out of bounds (-1)");
}

TEST(List, EditingOperationsKeepTheOrder) {
    TOwned<TList> list(Create<TList>());
    auto contents = [&] {
        std::vector<int> values;
        for (int i = 0; i < list->Count(); ++i)
            values.push_back(list->Items(i) ? *static_cast<int*>(list->Items(i)) : 0);
        return values;
    };
    EXPECT_EQ(list->Add(&a), 0);
    EXPECT_EQ(list->Add(&c), 1);
    list->Insert(1, &b);
    list->Insert(3, &d);
    list->Move(0, 3);
    EXPECT_EQ(contents(), (std::vector<int>{2, 3, 4, 1}));
    list->Exchange(0, 3);
    EXPECT_EQ(contents(), (std::vector<int>{1, 3, 4, 2}));
    EXPECT_EQ(list->Remove(&c), 1);
    EXPECT_EQ(list->Remove(&c), -1);
    EXPECT_EQ(list->Extract(&d), &d);
    EXPECT_EQ(list->Extract(&d), nullptr);
    list->SetCount(4);
    list->SetItems(3, &c);
    list->Pack();
    EXPECT_EQ(contents(), (std::vector<int>{1, 2, 3}));
}

TEST(List, SortIsStable) {
    // Long enough that an unstable sort would reorder equal keys.
    struct Entry {
        int key;
        int order;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < 200; ++i) entries.push_back({(i * 7) % 5, i});
    TOwned<TList> list(Create<TList>());
    for (Entry& entry : entries) list->Add(&entry);
    list->Sort([](void* x, void* y) { return static_cast<Entry*>(x)->key - static_cast<Entry*>(y)->key; });
    for (int i = 1; i < list->Count(); ++i) {
        const auto* before = static_cast<Entry*>(list->Items(i - 1));
        const auto* after = static_cast<Entry*>(list->Items(i));
        ASSERT_TRUE(before->key < after->key || (before->key == after->key && before->order < after->order))
            << i;
    }
}

TEST(List, DescendantsHearOfAddedExtractedAndDeletedEntries) {
    std::string one = "one", two = "two", three = "three";
    TOwned<TRecordingList> list(Create<TRecordingList>());
    list->Add(&one);
    list->Add(nullptr);  // null entries go unannounced
    list->Insert(0, &two);
    list->SetItems(0, &three);
    list->Extract(&one);
    list->Delete(0);
    EXPECT_EQ(list->log, (std::vector<std::string>{"added one", "added two", "deleted two", "added three",
                                                   "extracted one", "deleted three"}));
}

TEST(ObjectList, OwnedObjectsAreFreedWhenTheyLeaveExceptByExtract) {
    liveObjects = 0;
    {
        TOwned<TObjectList> list(Create<TObjectList>());
        for (int i = 0; i < 6; ++i) list->Add(Create<TCounted>());
        list->Delete(0);
        EXPECT_EQ(liveObjects, 5);
        list->Remove(list->Items(0));
        EXPECT_EQ(liveObjects, 4);
        list->SetItems(0, Create<TCounted>());  // overwritten
        EXPECT_EQ(liveObjects, 4);
        list->SetItems(0, list->Items(0));  // the same object stays
        EXPECT_EQ(liveObjects, 4);
        TOwned<TObject> kept(list->Extract(list->Items(0)));
        EXPECT_EQ(liveObjects, 4);
        EXPECT_EQ(list->Count(), 3);
    }
    EXPECT_EQ(liveObjects, 0);

    TOwned<TObjectList> borrowed(Create<TObjectList>(false));
    TOwned<TCounted> object(Create<TCounted>());
    borrowed->Add(object.get());
    borrowed->Clear();
    borrowed.reset();
    EXPECT_EQ(liveObjects, 1);
}

TEST(ObjectList, ObjectsThatRemoveOthersWhileClearedAreFreedOnce) {
    liveObjects = 0;
    TOwned<TObjectList> list(Create<TObjectList>());
    auto* victim = Create<TCounted>();
    list->Add(victim);
    list->Add(Create<TCounted>());
    auto* freer = Create<TCountedFreer>();
    freer->removeFrom = list.get();
    freer->alsoRemove = victim;
    list->Add(Create<TCounted>());
    list->Add(freer);
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(liveObjects, 0);
}

TEST(ThreadList, DuplicatesAreIgnoredAcceptedOrRefused) {
    TOwned<TThreadList> list(Create<TThreadList>());
    list->Add(&a);
    list->Add(&a);
    EXPECT_EQ(TLockedList(list.get())->Count(), 1);
    list->SetDuplicates(dupAccept);
    list->Add(&a);
    EXPECT_EQ(TLockedList(list.get())->Count(), 2);
    list->SetDuplicates(dupError);
    EXPECT_EQ(ListErrorOf([&] { list->Add(&a); }).rfind("List does not allow duplicates ($0", 0), 0u);
    list->Remove(&a);
    EXPECT_EQ(TLockedList(list.get())->Count(), 1);
    list->Clear();
    EXPECT_EQ(TLockedList(list.get())->Count(), 0);
}

TEST(ThreadList, ConcurrentAddsAreAllKept) {
    TOwned<TThreadList> list(Create<TThreadList>());
    list->SetDuplicates(dupAccept);
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                if (i % 2) {
                    list->Add(&b);
                } else {
                    TLockedList locked(list.get());
                    locked->Add(&a);  // a read-modify-write under the lock
                }
            }
        });
    for (std::thread& worker : workers) worker.join();
    EXPECT_EQ(TLockedList(list.get())->Count(), 8000);
}
