// Items with actions, clicks and their order, the shortcut search through a
// tree that handlers may change, and clicks deferred through the queue.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/windows/actions.h"
#include "classlib/windows/application.h"
#include "tests/foundation/quarantine.h"
#include "tests/support/pump.h"
#include "toolbar/barclickqueue.h"
#include "toolbar/baritem.h"

namespace {

class ActionTest : public ::testing::Test {
public:
    TBarCustomItem* Item(const std::string& Caption = "", TShortCut Key = 0) {
        auto* item = Create<TBarCustomItem>(owner_.get());
        item->SetCaption(Caption);
        item->SetShortCut(Key);
        return item;
    }
    TAction* NewAction() { return Create<TAction>(owner_.get()); }

    // Handlers record into log.
    void OnItemClick(TObject* Sender) {
        log.push_back("click " + static_cast<TBarCustomItem*>(Sender)->Caption());
    }
    void OnActionExecute(TObject*) { log.push_back("execute"); }
    void OnItemPopup(TBarCustomItem* Sender, bool FromLink) {
        log.push_back("popup " + Sender->Caption() + (FromLink ? " link" : ""));
    }

    std::vector<std::string> log;
    TOwned<TComponent> owner_ = MakeOwned<TComponent>(nullptr);
};

const TShortCut CtrlO = TextToShortCut("Ctrl+O");

TEST_F(ActionTest, ActionValuesAreCopiedOnlyWhileTheItemKeepsItsDefaults) {
    TAction* action = NewAction();
    action->SetCaption("Open");
    action->SetHint("Opens");
    action->SetEnabled(false);
    action->SetImageIndex(2);
    action->OnExecute = TNotifyEvent(this, &ActionTest::OnActionExecute);

    TBarCustomItem* fresh = Item();
    fresh->SetAction(action);
    EXPECT_EQ(fresh->Caption(), "Open");
    EXPECT_FALSE(fresh->Enabled());
    EXPECT_EQ(fresh->ImageIndex(), 2);
    EXPECT_TRUE(fresh->OnClick == action->OnExecute);

    // While loading, values the item already has win.
    TBarCustomItem* loaded = Item("Mine");
    loaded->SetImageIndex(7);
    loaded->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
    loaded->Loading();
    loaded->SetAction(action);
    loaded->Loaded();
    EXPECT_EQ(loaded->Caption(), "Mine");
    EXPECT_EQ(loaded->ImageIndex(), 7);
    EXPECT_EQ(loaded->Hint(), "Opens");  // still the default: taken
    EXPECT_FALSE(loaded->OnClick == action->OnExecute);

    // Later changes of the action reach the item while the values agree.
    action->SetCaption("Open file");
    EXPECT_EQ(fresh->Caption(), "Open file");
    EXPECT_EQ(loaded->Caption(), "Mine");
    EXPECT_FALSE(fresh->IsCaptionStored());
    EXPECT_TRUE(loaded->IsCaptionStored());

    // A freed action lets go of its items.
    action->Free();
    EXPECT_EQ(fresh->Action(), nullptr);
}

TEST_F(ActionTest, ClickFollowsTheOrderOfHandlers) {
    TAction* action = NewAction();
    action->OnExecute = TNotifyEvent(this, &ActionTest::OnActionExecute);
    struct Case {
        const char* Name;
        bool WithAction;
        bool OwnHandler;
        bool Enabled;
        std::vector<std::string> Expected;
    };
    const Case cases[] = {
        {"own handler beats the action", true, true, true, {"click x"}},
        {"the action runs when the handler is its own", true, false, true, {"execute"}},
        {"no action: the handler", false, true, true, {"click x"}},
        {"disabled: nothing", true, true, false, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        TBarCustomItem* item = Item("x");
        if (c.WithAction) item->SetAction(action);
        item->SetCaption("x");
        if (c.OwnHandler) item->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
        item->SetEnabled(c.Enabled);
        item->Click();
        EXPECT_EQ(log, c.Expected) << c.Name;
    }
}

TEST_F(ActionTest, AutoCheckTogglesOnceWithOrWithoutALinkedAction) {
    TBarCustomItem* plain = Item();
    plain->SetAutoCheck(true);
    plain->Click();
    EXPECT_TRUE(plain->Checked());

    TAction* action = NewAction();
    action->SetAutoCheck(true);
    action->OnExecute = TNotifyEvent(this, &ActionTest::OnActionExecute);
    TBarCustomItem* linked = Item();
    linked->SetAction(action);
    ASSERT_TRUE(linked->AutoCheck());
    linked->Click();
    // The action toggles and tells the item; the item does not toggle too.
    EXPECT_TRUE(action->Checked());
    EXPECT_TRUE(linked->Checked());
    linked->Click();
    EXPECT_FALSE(linked->Checked());
}

TEST_F(ActionTest, DoPopupClicksUnlessTheItemIsASplitButton) {
    TBarCustomItem* item = Item("m");
    item->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
    item->OnPopup = TBarPopupEvent(this, &ActionTest::OnItemPopup);
    item->DoPopup(item, false);
    item->SetItemStyle(item->ItemStyle() | isfCombo);
    item->DoPopup(item, true);
    EXPECT_EQ(log, (std::vector<std::string>{"popup m", "click m", "popup m link"}));
}

TEST_F(ActionTest, AnItemFreedByItsOwnOnPopupIsNotClicked) {
    using TRebuiltItem = TQuarantined<TBarCustomItem>;
    struct FreeOnPopup {
        void Popup(TBarCustomItem* Sender, bool) { Sender->Free(); }
    } freeOnPopup;
    TRebuiltItem* item = Create<TRebuiltItem>(nullptr);
    item->OnPopup = TBarPopupEvent(&freeOnPopup, &FreeOnPopup::Popup);
    item->DoPopup(item, false);
    ASSERT_TRUE(TRebuiltItem::Freed());
    EXPECT_TRUE(TRebuiltItem::FreedUntouched());
}

TEST_F(ActionTest, ShortCutsAreFoundThroughNestedItemsWithPopupsOnTheWay) {
    TBarCustomItem* root = Item("root");
    TBarCustomItem* file = Item("file");
    TBarCustomItem* recent = Item("recent");
    TBarCustomItem* open = Item("open", CtrlO);
    root->Add(file);
    file->Add(recent);
    recent->Add(open);
    for (TBarCustomItem* item : {root, file, recent, open}) {
        item->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
        item->OnPopup = TBarPopupEvent(this, &ActionTest::OnItemPopup);
    }
    EXPECT_TRUE(root->IsShortCutKey(CtrlO));
    // Each level on the path pops up (and with it is clicked) before the item.
    EXPECT_EQ(log, (std::vector<std::string>{"popup root", "click root", "popup file", "click file",
                                             "popup recent", "click recent", "click open"}));
    log.clear();
    EXPECT_FALSE(root->IsShortCutKey(TextToShortCut("Ctrl+Q")));
    EXPECT_TRUE(log.empty());

    file->SetEnabled(false);
    log.clear();
    EXPECT_FALSE(root->IsShortCutKey(CtrlO));
    EXPECT_EQ(std::count(log.begin(), log.end(), "click open"), 0);
    file->SetEnabled(true);
    open->SetEnabled(false);
    EXPECT_FALSE(root->IsShortCutKey(CtrlO));
}

TEST_F(ActionTest, ShortCutsReachLinkedSubItemsAndSurviveALinkToAnAncestor) {
    TBarCustomItem* root = Item("root");
    TBarCustomItem* menu = Item("menu");
    root->Add(menu);
    TBarCustomItem* shared = Item("shared");  // outside the tree
    TBarCustomItem* save = Item("save", TextToShortCut("Ctrl+S"));
    shared->Add(save);
    menu->SetLinkSubitems(shared);
    save->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
    menu->OnPopup = TBarPopupEvent(this, &ActionTest::OnItemPopup);
    EXPECT_TRUE(root->IsShortCutKey(TextToShortCut("Ctrl+S")));
    EXPECT_EQ(log, (std::vector<std::string>{"popup menu", "click save"}));

    // Items linking back to the root make a cycle of links; the search must
    // still end, with no match for a key nobody has.
    TBarCustomItem* back = Item("back");
    shared->Add(back);
    back->SetLinkSubitems(root);
    EXPECT_FALSE(root->IsShortCutKey(TextToShortCut("Ctrl+W")));
}

TEST_F(ActionTest, ShortCutSearchFollowsATreeRebuiltByAPopupHandler) {
    TBarCustomItem* root = Item("root");
    TBarCustomItem* menu = Item("menu");
    root->Add(menu);
    TBarCustomItem* stale = Item("stale", CtrlO);
    menu->Add(stale);
    struct Rebuilder {
        ActionTest* Test;
        TBarCustomItem* Menu;
        TBarCustomItem* Fresh = nullptr;
        void Popup(TBarCustomItem*, bool) {
            if (Fresh) return;
            // Handlers rebuild a menu when it opens.
            while (Menu->Count()) Menu->Items(0)->Free();
            Fresh = Test->Item("fresh", CtrlO);
            Fresh->OnClick = TNotifyEvent(Test, &ActionTest::OnItemClick);
            Menu->Add(Fresh);
        }
    } rebuilder{this, menu};
    menu->OnPopup = TBarPopupEvent(&rebuilder, &Rebuilder::Popup);
    EXPECT_TRUE(root->IsShortCutKey(CtrlO));
    EXPECT_EQ(log, (std::vector<std::string>{"click fresh"}));
}

TEST_F(ActionTest, ShortCutSearchStartsOverWhenAPopupHandlerFreesTheMenuOnThePath) {
    using TRebuiltMenu = TQuarantined<TBarCustomItem>;
    TBarCustomItem* root = Item("root");
    TRebuiltMenu* menu = Create<TRebuiltMenu>(owner_.get());
    menu->SetCaption("menu");
    root->Add(menu);
    menu->Add(Item("stale", CtrlO));
    // The handler throws the whole menu away and puts a new one in its place.
    struct Replacer {
        ActionTest* Test;
        TBarCustomItem* Root;
        bool Done = false;
        void Popup(TBarCustomItem* Sender, bool) {
            if (Done) return;
            Done = true;
            Sender->Free();
            TBarCustomItem* menu = Test->Item("new menu");
            TBarCustomItem* fresh = Test->Item("fresh", CtrlO);
            fresh->OnClick = TNotifyEvent(Test, &ActionTest::OnItemClick);
            menu->Add(fresh);
            Root->Add(menu);
        }
    } replacer{this, root};
    menu->OnPopup = TBarPopupEvent(&replacer, &Replacer::Popup);
    EXPECT_TRUE(root->IsShortCutKey(CtrlO));
    EXPECT_EQ(log, (std::vector<std::string>{"click fresh"}));
    ASSERT_TRUE(TRebuiltMenu::Freed());
    EXPECT_TRUE(TRebuiltMenu::FreedUntouched());
}

TEST_F(ActionTest, AHandlerThatKeepsChangingTheTreeCannotHoldTheSearchForever) {
    TBarCustomItem* root = Item("root");
    TBarCustomItem* a = Item("a");
    TBarCustomItem* b = Item("b");
    root->Add(a);
    root->Add(b);
    TBarCustomItem* target = Item("target", CtrlO);
    a->Add(target);
    // Each popup moves the target to the other menu: every search from the
    // menu just opened finds nothing and starts over.
    struct Oscillator {
        TBarCustomItem *A, *B, *Target;
        int Calls = 0;
        void Popup(TBarCustomItem* Sender, bool) {
            ++Calls;
            if (Sender != A && Sender != B) return;
            TBarCustomItem* from = Target->Parent();
            from->Remove(Target);
            (from == A ? B : A)->Add(Target);
        }
    } oscillator{a, b, target};
    a->OnPopup = TBarPopupEvent(&oscillator, &Oscillator::Popup);
    b->OnPopup = TBarPopupEvent(&oscillator, &Oscillator::Popup);
    EXPECT_FALSE(root->IsShortCutKey(CtrlO));
    EXPECT_GT(oscillator.Calls, 0);
    EXPECT_LE(oscillator.Calls, 30);
}

TEST_F(ActionTest, IsShortCutReadsTheKeyMessage) {
    TBarCustomItem* root = Item("root");
    TBarCustomItem* item = Item("f5", TextToShortCut("F5"));
    root->Add(item);
    item->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
    TMessage message{WM_KEYDOWN, VK_F5, 0};
    EXPECT_TRUE(root->IsShortCut(message));
    EXPECT_EQ(log, (std::vector<std::string>{"click f5"}));
}

TEST_F(ActionTest, APostedClickRunsLaterAndNotAtAllForAFreedItem) {
    Application->Initialize();
    TBarCustomItem* kept = Item("kept");
    TBarCustomItem* freed = Item("freed");
    kept->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
    freed->OnClick = TNotifyEvent(this, &ActionTest::OnItemClick);
    PostClick(freed);
    PostClick(kept);
    EXPECT_TRUE(log.empty());
    freed->Free();
    ASSERT_TRUE(PumpUntil([&] { return !log.empty(); }));
    Application->ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"click kept"}));
    EXPECT_EQ(BarClickQueueSlots(), 0);
    // A bad slot number is ignored.
    PostMessageW(BarClickQueueWindow(), WM_BAR_DEFERRED_CLICK, 0, 99);
    Application->ProcessMessages();
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(ActionTest, TheQueueWindowGoesWithTheLastItem) {
    Application->Initialize();
    owner_.reset();  // no items left from the fixture
    {
        TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
        auto* item = Create<TBarCustomItem>(owner.get());
        PostClick(item);
        EXPECT_NE(BarClickQueueWindow(), nullptr);
    }
    EXPECT_EQ(BarClickQueueWindow(), nullptr);
    owner_ = MakeOwned<TComponent>(nullptr);
}

}  // namespace
