// The item tree without windows: the child list and its errors, the
// notifications a view hears, option inheritance, radio groups and images.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/graphics/imagelist.h"
#include "toolbar/barconsts.h"
#include "toolbar/baritem.h"

namespace {

struct TNotice {
    TBarCustomItem* Sender;
    bool Relayed;
    TBarItemChangedAction Action;
    int Index;
    TBarCustomItem* Item;
    bool operator==(const TNotice&) const = default;
};

struct TRecorder {
    std::vector<TNotice> Notices;
    static void Proc(void* Data, TBarCustomItem* Sender, bool Relayed, TBarItemChangedAction Action,
                     int Index, TBarCustomItem* Item) {
        static_cast<TRecorder*>(Data)->Notices.push_back({Sender, Relayed, Action, Index, Item});
    }
    std::vector<TBarItemChangedAction> Actions() const {
        std::vector<TBarItemChangedAction> result;
        for (const TNotice& n : Notices) result.push_back(n.Action);
        return result;
    }
};

class ItemTest : public ::testing::Test {
protected:
    TBarCustomItem* Item(const std::string& Caption = "") {
        auto* item = Create<TBarCustomItem>(owner_.get());
        item->SetCaption(Caption);
        return item;
    }
    TOwned<TComponent> owner_ = MakeOwned<TComponent>(nullptr);
};

void ExpectError(const std::function<void()>& Call, const char* Text) {
    try {
        Call();
        ADD_FAILURE() << "no error";
    } catch (const EBarItemError& e) {
        EXPECT_EQ(e.Message(), Text);
    }
}

TEST_F(ItemTest, InsertChecksIndexAndParentBeforeAnyChange) {
    TBarCustomItem* root = Item();
    TBarCustomItem* a = Item("a");
    root->Insert(0, a);
    TRecorder recorder;
    root->RegisterNotification(&TRecorder::Proc, &recorder);
    ExpectError([&] { root->Insert(2, Item()); }, SBarItemIndexOutOfRange);
    ExpectError([&] { root->Insert(-1, Item()); }, SBarItemIndexOutOfRange);
    TBarCustomItem* other = Item();
    ExpectError([&] { other->Add(a); }, SBarItemAlreadyInserted);
    EXPECT_TRUE(recorder.Notices.empty());
    EXPECT_EQ(a->Parent(), root);
    root->Insert(1, Item("b"));  // Count itself is a valid place
    EXPECT_EQ(root->Items(1)->Caption(), "b");
    ExpectError([&] { root->Items(2); }, SBarItemIndexOutOfRange);
    root->UnregisterNotification(&TRecorder::Proc, &recorder);
}

TEST_F(ItemTest, AnItemCannotBeInsertedIntoItselfOrItsDescendants) {
    TBarCustomItem* a = Item();
    TBarCustomItem* b = Item();
    TBarCustomItem* c = Item();
    a->Add(b);
    b->Add(c);
    ExpectError([&] { a->Add(a); }, SBarItemAlreadyInserted);
    // a has no parent, so only the cycle check stops this.
    ExpectError([&] { c->Add(a); }, SBarItemAlreadyInserted);
    ExpectError([&] { b->Add(a); }, SBarItemAlreadyInserted);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(c->Count(), 0);
    a->Free();  // frees b and c once each
    EXPECT_EQ(owner_->ComponentCount(), 0);
}

TEST_F(ItemTest, InsertAndDeleteNotifyInOrder) {
    TBarCustomItem* root = Item();
    TBarCustomItem* a = Item();
    TRecorder recorder;
    root->RegisterNotification(&TRecorder::Proc, &recorder);
    root->Add(a);
    EXPECT_EQ(recorder.Notices, (std::vector<TNotice>{{root, false, tbicSubitemsBeginUpdate, -1, nullptr},
                                                      {root, false, tbicInserted, 0, a},
                                                      {root, false, tbicSubitemsEndUpdate, -1, nullptr}}));
    recorder.Notices.clear();
    root->Delete(0);
    EXPECT_EQ(recorder.Notices, (std::vector<TNotice>{{root, false, tbicDeleting, 0, a}}));
    EXPECT_EQ(a->Parent(), nullptr);
    root->Remove(a);  // no longer there: nothing
    EXPECT_EQ(recorder.Notices.size(), 1u);
    root->UnregisterNotification(&TRecorder::Proc, &recorder);
}

TEST_F(ItemTest, MoveChecksBothIndexesBeforeAnnouncingAnUpdate) {
    TBarCustomItem* root = Item();
    TBarCustomItem* a = Item("a");
    TBarCustomItem* b = Item("b");
    root->Add(a);
    root->Add(b);
    TRecorder recorder;
    root->RegisterNotification(&TRecorder::Proc, &recorder);
    ExpectError([&] { root->Move(0, 2); }, SBarItemIndexOutOfRange);
    ExpectError([&] { root->Move(5, 0); }, SBarItemIndexOutOfRange);
    root->Move(7, 7);  // the same place, even out of range: silent
    EXPECT_TRUE(recorder.Notices.empty());
    root->Move(0, 1);
    EXPECT_EQ(root->Items(0), b);
    EXPECT_EQ(root->Items(1), a);
    // One update pair around the delete and insert: begin/end balance.
    int depth = 0, deepest = 0;
    for (auto action : recorder.Actions()) {
        if (action == tbicSubitemsBeginUpdate) deepest = std::max(deepest, ++depth);
        if (action == tbicSubitemsEndUpdate) --depth;
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(deepest, 2);
    root->UnregisterNotification(&TRecorder::Proc, &recorder);
}

// A procedure that unregisters records during a dispatch.
struct TUnregisterer {
    TBarCustomItem* Item;
    std::vector<TUnregisterer*> Victims;
    int Calls = 0;
    static void Proc(void* Data, TBarCustomItem*, bool, TBarItemChangedAction, int, TBarCustomItem*) {
        auto* self = static_cast<TUnregisterer*>(Data);
        ++self->Calls;
        for (TUnregisterer* victim : self->Victims) self->Item->UnregisterNotification(&Proc, victim);
        self->Victims.clear();
    }
};

TEST_F(ItemTest, ProceduresMayUnregisterThemselvesTheNextOrTheLastDuringDispatch) {
    struct Case {
        const char* Name;
        int Unregisterer;
        std::vector<int> Victims;
        std::vector<int> ExpectedCalls;
    };
    const Case cases[] = {
        {"itself", 0, {0}, {1, 1, 1}},
        {"the next one", 0, {1}, {1, 0, 1}},
        {"the last one", 1, {2}, {1, 1, 0}},
        {"everyone, emptying the list", 0, {0, 1, 2}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        TBarCustomItem* item = Item();
        std::vector<TUnregisterer> procs(3, TUnregisterer{item, {}, 0});
        for (auto& p : procs) item->RegisterNotification(&TUnregisterer::Proc, &p);
        for (int v : c.Victims)
            procs[static_cast<size_t>(c.Unregisterer)].Victims.push_back(&procs[static_cast<size_t>(v)]);
        item->Notify(tbicInvalidate, -1, nullptr);
        for (size_t i = 0; i < procs.size(); ++i)
            EXPECT_EQ(procs[i].Calls, c.ExpectedCalls[i]) << c.Name << " " << i;
        for (auto& p : procs) item->UnregisterNotification(&TUnregisterer::Proc, &p);
    }
}

TEST_F(ItemTest, RegistrationIsCounted) {
    TBarCustomItem* item = Item();
    TRecorder recorder;
    item->RegisterNotification(&TRecorder::Proc, &recorder);
    item->RegisterNotification(&TRecorder::Proc, &recorder);
    item->Notify(tbicInvalidate, -1, nullptr);
    EXPECT_EQ(recorder.Notices.size(), 1u);
    item->UnregisterNotification(&TRecorder::Proc, &recorder);
    item->Notify(tbicInvalidate, -1, nullptr);
    EXPECT_EQ(recorder.Notices.size(), 2u);
    item->UnregisterNotification(&TRecorder::Proc, &recorder);
    item->Notify(tbicInvalidate, -1, nullptr);
    EXPECT_EQ(recorder.Notices.size(), 2u);
}

TEST_F(ItemTest, EmbeddedGroupsRelayToTheirParentsAtMostElevenDeep) {
    // root <- g1 <- g2 <- ... <- g20, all embedded groups.
    TBarCustomItem* root = Item();
    std::vector<TBarCustomItem*> chain{root};
    for (int i = 0; i < 20; ++i) {
        TBarCustomItem* g = Item();
        g->SetItemStyle(g->ItemStyle() | isfEmbeddedGroup);
        chain.back()->Add(g);
        chain.push_back(g);
    }
    TRecorder recorder;
    for (TBarCustomItem* item : chain) item->RegisterNotification(&TRecorder::Proc, &recorder);
    chain[11]->Notify(tbicInvalidate, -1, nullptr);
    // g11 relays through eleven parents to the root: everyone hears it once.
    ASSERT_EQ(recorder.Notices.size(), 12u);
    EXPECT_TRUE(recorder.Notices.front().Relayed);
    EXPECT_EQ(recorder.Notices.front().Sender, chain[11]);
    EXPECT_FALSE(recorder.Notices.back().Relayed);
    recorder.Notices.clear();
    chain[20]->Notify(tbicInvalidate, -1, nullptr);
    EXPECT_EQ(recorder.Notices.size(), 12u);  // twenty levels, eleven relays
    for (TBarCustomItem* item : chain) item->UnregisterNotification(&TRecorder::Proc, &recorder);
}

TEST_F(ItemTest, LinkedItemsRelayToTheParentOfAnEmbeddedLinkParent) {
    TBarCustomItem* root = Item();
    TBarCustomItem* group = Item();
    group->SetItemStyle(group->ItemStyle() | isfEmbeddedGroup);
    root->Add(group);
    TBarCustomItem* source = Item();  // not in the tree
    group->SetLinkSubitems(source);
    TRecorder recorder;
    root->RegisterNotification(&TRecorder::Proc, &recorder);
    source->Add(Item("x"));
    ASSERT_EQ(recorder.Notices.size(), 3u);
    EXPECT_EQ(recorder.Notices[1].Sender, source);
    EXPECT_TRUE(recorder.Notices[1].Relayed);
    root->UnregisterNotification(&TRecorder::Proc, &recorder);
    group->SetLinkSubitems(group);  // itself counts as none
    EXPECT_EQ(group->LinkSubitems(), nullptr);
    EXPECT_EQ(source->LinkParentCount(), 0);
}

TEST_F(ItemTest, OptionsAreInheritedAndOnlyLayoutOptionsAskForResize) {
    TBarCustomItem* root = Item();
    TBarCustomItem* child = Item();
    TBarCustomItem* grandchild = Item();
    root->Add(child);
    child->Add(grandchild);
    TRecorder recorder;
    root->RegisterNotification(&TRecorder::Proc, &recorder);
    child->RegisterNotification(&TRecorder::Proc, &recorder);

    root->SetOptions({tboDefault, tboShowHint, tboToolbarStyle});
    // tboDefault is not handed down.
    EXPECT_EQ(grandchild->EffectiveOptions(), (TBarItemOptions{tboShowHint, tboToolbarStyle}));
    // child changed a layout option: its parent (root) lays out again.
    const auto actions = recorder.Actions();
    EXPECT_NE(std::find(actions.begin(), actions.end(), tbicInvalidateAndResize), actions.end());

    recorder.Notices.clear();
    child->SetMaskOptions({tboShowHint});
    // tboShowHint does not move anything: no notice at all.
    EXPECT_TRUE(recorder.Notices.empty());
    EXPECT_EQ(grandchild->EffectiveOptions(), (TBarItemOptions{tboToolbarStyle}));

    grandchild->SetInheritOptions(false);
    EXPECT_TRUE(grandchild->EffectiveOptions().Empty());
    grandchild->SetOptions({tboToolbarSize});  // needs tboToolbarStyle
    EXPECT_TRUE(grandchild->Options().Empty());
    grandchild->SetOptions({tboToolbarSize, tboToolbarStyle});
    EXPECT_EQ(grandchild->EffectiveOptions(), (TBarItemOptions{tboToolbarSize, tboToolbarStyle}));
    root->UnregisterNotification(&TRecorder::Proc, &recorder);
    child->UnregisterNotification(&TRecorder::Proc, &recorder);
}

TEST_F(ItemTest, CheckingARadioItemUnchecksItsGroupOnly) {
    TBarCustomItem* root = Item();
    std::vector<TBarCustomItem*> items;
    const int groups[] = {1, 1, 2, 0, 0};
    for (int g : groups) {
        items.push_back(Item());
        items.back()->SetGroupIndex(g);
        items.back()->SetChecked(true);
        root->Add(items.back());
    }
    items[0]->SetChecked(false);
    items[0]->SetChecked(true);
    EXPECT_TRUE(items[0]->Checked());
    EXPECT_FALSE(items[1]->Checked());
    EXPECT_TRUE(items[2]->Checked());
    EXPECT_TRUE(items[3]->Checked());  // group 0 is no group
    EXPECT_TRUE(items[4]->Checked());
    // Joining a group while checked clears the others there.
    items[2]->SetGroupIndex(1);
    EXPECT_FALSE(items[0]->Checked());
}

TEST_F(ItemTest, ImageIndexAndImageListChangesResizeOnlyWhenTheImageComesOrGoes) {
    TBarCustomItem* root = Item();
    TBarCustomItem* item = Item();
    root->Add(item);
    TRecorder recorder;
    root->RegisterNotification(&TRecorder::Proc, &recorder);
    auto last = [&] { return recorder.Notices.back().Action; };
    struct Step {
        int From, To;
        TBarItemChangedAction Expected;
    };
    for (Step s : {Step{-1, 4, tbicInvalidateAndResize}, Step{4, 3, tbicInvalidate},
                   Step{3, -1, tbicInvalidateAndResize}}) {
        item->SetImageIndex(s.From);
        recorder.Notices.clear();
        item->SetImageIndex(s.To);
        ASSERT_EQ(recorder.Notices.size(), 1u);
        EXPECT_EQ(last(), s.Expected) << s.From << "->" << s.To;
    }
    auto* small1 = Create<TImageList>(16, 16);
    auto* small2 = Create<TImageList>(16, 16);
    auto* large = Create<TImageList>(24, 24);
    item->SetImages(small1);
    EXPECT_EQ(last(), tbicInvalidateAndResize);
    item->SetImages(small2);
    EXPECT_EQ(last(), tbicInvalidate);
    item->SetImages(large);
    EXPECT_EQ(last(), tbicInvalidateAndResize);
    large->SetSize(24, 24);
    large->SetSize(32, 32);  // the watched list changed size
    EXPECT_EQ(last(), tbicInvalidateAndResize);
    item->SetImages(nullptr);
    EXPECT_EQ(last(), tbicInvalidateAndResize);
    // A freed list is forgotten.
    item->SetImages(small1);
    small1->Free();
    EXPECT_EQ(item->Images(), nullptr);
    small2->Free();
    large->Free();
    root->UnregisterNotification(&TRecorder::Proc, &recorder);
}

TEST_F(ItemTest, RenamingTellsTheParent) {
    TBarCustomItem* root = Item();
    TBarCustomItem* item = Item();
    root->Add(item);
    TRecorder recorder;
    root->RegisterNotification(&TRecorder::Proc, &recorder);
    item->SetName("Open1");
    item->SetName("Open1");
    EXPECT_EQ(recorder.Actions(), (std::vector<TBarItemChangedAction>{tbicNameChanged}));
    root->UnregisterNotification(&TRecorder::Proc, &recorder);
}

TEST_F(ItemTest, ShortCutTextComesFromTheCaptionTabOrTheShortCut) {
    TBarCustomItem* item = Item("Open\tCtrl+Shift+O");
    item->SetShortCut(TextToShortCut("Ctrl+P"));
    EXPECT_EQ(item->GetShortCutText(), "Ctrl+Shift+O");
    item->SetCaption("Open\t");
    EXPECT_EQ(item->GetShortCutText(), "Ctrl+P");
    item->SetShortCut(0);
    EXPECT_EQ(item->GetShortCutText(), "");
}

TEST_F(ItemTest, AChevronItemNamesItselfFromItsHint) {
    auto* chevron = Create<TBarChevronItem>(owner_.get());
    EXPECT_EQ(chevron->Hint(), "More Buttons|");
    EXPECT_EQ(chevron->Caption(), "More Buttons");
    EXPECT_TRUE(chevron->ItemStyle() & isfSubmenu);
    EXPECT_TRUE(chevron->ItemStyle() & isfNoAutoOpen);
}

}  // namespace
