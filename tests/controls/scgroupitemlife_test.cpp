// Items that leave their group by any way, and handlers that take the item,
// the list or the whole group away under the mouse: the group keeps no
// reference to what went.
#include <functional>

#include "classlib/stdctrls/menus.h"
#include "classlib/windows/hintwindow.h"
#include "controls/scgroup.h"
#include "tests/controls/group_fixture.h"
#include "tests/foundation/quarantine.h"

namespace {

using TWatchedItem = TQuarantined<TScGroupItem>;
using TWatchedGroup = TQuarantined<TScGroup>;

class ScGroupItemLifeTest : public GroupBarTest {
protected:
    // Group A holds "One", a watched "Two" under the mouse and held by the
    // right button, and "Three", selected.
    void SetUp() override {
        GroupBarTest::SetUp();
        // What an earlier test left in quarantine goes back now.
        TWatchedItem::FreedUntouched();
        bar = NewBar();
        a = NewGroup(bar, "A", {"One"});
        b = NewGroup(bar, "B", {"Other"});
        a->SetOpened(true);
        b->SetOpened(true);
        two = Create<TWatchedItem>(a->Items());
        two->SetCaption("Two");
        two->OnClick = TNotifyEvent(this, &GroupBarTest::Clicked);
        TScGroupItem* three = a->Items()->Add();
        three->SetCaption("Three");
        three->OnClick = TNotifyEvent(this, &GroupBarTest::Clicked);
        Painted(a);
        const TPoint p = CenterOf(two->CaptionRect());
        Move(a, p.X, p.Y);
        a->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(p.X, p.Y));
        three->SetSelected(true);
        ASSERT_EQ(a->HotItem(), two);
        ASSERT_EQ(a->SelectedIndex(), 2);
    }
    // Nothing of the group reaches the freed item any more.
    void ExpectNothingStale(const char* How) {
        EXPECT_EQ(a->HotItem(), nullptr) << How;
        EXPECT_EQ(a->PopupItem(), nullptr) << How;
        Move(a, 1, a->Height() - 1);
        THintInfo info;
        a->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        a->Perform(WM_RBUTTONUP, 0, PointToLParam(1, a->Height() - 1));
        Painted(a);
        if (TWatchedItem::Freed()) {
            EXPECT_TRUE(TWatchedItem::FreedUntouched()) << How;
        }
    }

    TScGroupBar* bar = nullptr;
    TScGroup* a = nullptr;
    TScGroup* b = nullptr;
    TScGroupItem* two = nullptr;
};

TEST_F(ScGroupItemLifeTest, ClearingTheItemsDropsHotPressedAndSelected) {
    a->Items()->Clear();
    EXPECT_EQ(a->SelectedIndex(), -1);
    EXPECT_EQ(a->SelectedItem(), nullptr);
    ExpectNothingStale("clear");
}

TEST_F(ScGroupItemLifeTest, AssigningNewItemsSelectsNoneOfThem) {
    a->SetItems(b->Items());
    ASSERT_EQ(a->Items()->Count(), 1);
    EXPECT_EQ(a->SelectedIndex(), -1);
    EXPECT_EQ(a->SelectedItem(), nullptr);
    ExpectNothingStale("assign");
}

TEST_F(ScGroupItemLifeTest, AnItemFreedOnItsOwnMovesTheSelectionDown) {
    two->Free();
    EXPECT_EQ(a->SelectedIndex(), 1);
    EXPECT_EQ(a->SelectedItem()->Caption(), "Three");
    ExpectNothingStale("free");
}

TEST_F(ScGroupItemLifeTest, AnItemMovedToAnotherGroupTakesNoStateAlong) {
    TScGroupItem* three = a->Items()->GetItem(2);
    two->SetCollection(b->Items());
    three->SetCollection(b->Items());
    EXPECT_EQ(a->HotItem(), nullptr);
    EXPECT_EQ(a->SelectedIndex(), -1);
    // Selected in A, it is not the selection of B.
    EXPECT_FALSE(three->Selected());
    EXPECT_EQ(two->State(), isNormal);
    ExpectNothingStale("move");
}

TEST_F(ScGroupItemLifeTest, AClickThatRebuildsTheListLeavesNoHotItem) {
    struct Rebuild {
        TScGroup* group;
        void Click(TObject*) {
            group->Items()->Clear();
            group->Items()->Add()->SetCaption("New");
        }
    } rebuild{a};
    two->OnClick = TNotifyEvent(&rebuild, &Rebuild::Click);
    ClickItem(a, two);
    ASSERT_EQ(a->Items()->Count(), 1);
    ExpectNothingStale("rebuilt by its click");
}

TEST_F(ScGroupItemLifeTest, AGroupWithItemsUnderTheMouseGoesQuietly) {
    a->Free();
    a = nullptr;
    EXPECT_EQ(bar->GetGroupCount(), 1);
    EXPECT_TRUE(TWatchedItem::FreedUntouched());
}

// The item popup: its handler may take the item, the list or the group.
class ScGroupPopupLifeTest : public GroupBarTest {
protected:
    void SetUp() override {
        GroupBarTest::SetUp();
        savedShow = PopupMenuShowProc;
        PopupMenuShowProc = &ScGroupPopupLifeTest::Show;
        shown.clear();
        bar = NewBar();
        menu = Create<TPopupMenu>(form);
    }
    void TearDown() override {
        PopupMenuShowProc = savedShow;
        GroupBarTest::TearDown();
    }
    static bool Show(TPopupMenu*, TControl* Control, TPoint) {
        auto* group = static_cast<TScGroup*>(Control);
        shown.push_back(group->PopupItem() ? group->PopupItem()->Caption() : "(none)");
        return true;
    }
    void Prepare(TScGroup* Group, const std::function<void(TScGroup*, TScGroupItem*)>& Handler) {
        handler = Handler;
        Group->SetItemPopupMenu(menu, menu);
        Group->OnItemPopupMenu = TScItemEvent(this, &ScGroupPopupLifeTest::ItemPopup);
        Group->SetOpened(true);
        Painted(Group);
    }
    static void RightClick(TScGroup* Group, TScGroupItem* Item) {
        const TPoint p = CenterOf(Item->CaptionRect());
        Group->Perform(WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(p.X, p.Y));
        Group->Perform(WM_RBUTTONUP, 0, PointToLParam(p.X, p.Y));
    }
    void ItemPopup(TObject* Sender, TScGroupItem* Item) { handler(static_cast<TScGroup*>(Sender), Item); }

    static inline std::vector<std::string> shown;
    TPopupMenuShowProc savedShow = nullptr;
    TScGroupBar* bar = nullptr;
    TPopupMenu* menu = nullptr;
    std::function<void(TScGroup*, TScGroupItem*)> handler;
};

TEST_F(ScGroupPopupLifeTest, TheMenuIsForTheItemStillThere) {
    TScGroup* group = NewGroup(bar, "A", {"One", "Two"});
    Prepare(group, [](TScGroup*, TScGroupItem*) {});
    RightClick(group, group->Items()->GetItem(1));
    EXPECT_EQ(shown, std::vector<std::string>{"Two"});

    // The handler deletes the item: no menu for an item that went.
    shown.clear();
    Prepare(group, [](TScGroup* Group, TScGroupItem* Item) { Group->Items()->Delete(Item->Index()); });
    RightClick(group, group->Items()->GetItem(1));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(group->PopupItem(), nullptr);
    ASSERT_EQ(group->Items()->Count(), 1);
}

TEST_F(ScGroupPopupLifeTest, AHandlerThatFreesTheGroupEndsTheClick) {
    auto* group = Create<TWatchedGroup>(form);
    group->Items()->Add()->SetCaption("One");
    group->Items()->GetItem(0)->OnClick = TNotifyEvent(this, &GroupBarTest::Clicked);
    group->SetGroupBar(bar);
    Prepare(group, [](TScGroup* Group, TScGroupItem*) { Group->Free(); });
    RightClick(group, group->Items()->GetItem(0));
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(TWatchedGroup::FreedUntouched());
    EXPECT_EQ(bar->GetGroupCount(), 0);
}

}  // namespace
