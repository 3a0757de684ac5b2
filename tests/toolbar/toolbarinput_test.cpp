// An item toolbar reached from outside its menu loop: characters its form
// hands round, system commands, and accessibility clients that press or
// focus its buttons and ask how they look.
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/toolbar/acc_self.h"
#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/event_fn.h"
#include "tests/toolbar/menu_script.h"
#include "toolbar/baracc.h"
#include "toolbar/bartoolbar.h"

namespace {

class ToolbarInputTest : public BarTest {
protected:
    void SetUp() override {
        BarAccStartup();
        BarTest::SetUp();
    }
    void TearDown() override {
        BarTest::TearDown();
        BarAccShutdown();
    }
    template <class Bar = TBarCustomToolbar>
    Bar* NewToolbar(TForm* Form) {
        auto* bar = Create<Bar>(Form);
        bar->SetParent(NewDock(Form, dpTop));
        return bar;
    }
    TBarCustomItem* AddItem(TBarCustomToolbar* Bar, const std::string& Caption, int* Clicks = nullptr,
                            TBarCustomItem* Parent = nullptr) {
        auto* item = Create<TBarCustomItem>(Bar->Owner());
        item->SetCaption(Caption);
        if (Clicks) item->OnClick = fns_.On<void(TObject*)>([Clicks](TObject*) { ++*Clicks; });
        (Parent ? Parent : static_cast<TBarCustomItem*>(Bar->Items()))->Add(item);
        return item;
    }
    static TBarCustomItem* Submenu(TBarCustomItem* Item) {
        Item->SetItemStyle(Item->ItemStyle() | isfSubmenu);
        return Item;
    }
    static IAccessible* Acc(TBarView* View, TBarCustomItem* Item) { return View->Find(Item)->GetAccObject(); }
    static LONG State(IAccessible* Acc) {
        VARIANT state;
        VariantInit(&state);
        EXPECT_EQ(Acc->get_accState(Self(), &state), S_OK);
        return state.lVal;
    }

    TEventFns fns_;
};

TEST_F(ToolbarInputTest, DialogCharactersRunOnlyTheButtonWhoseAcceleratorTheyAre) {
    TForm* form = ShownForm();
    TBarCustomToolbar* bar = NewToolbar(form);
    int refreshes = 0, prints = 0;
    AddItem(bar, "Refresh", &refreshes);
    AddItem(bar, "&Print", &prints);
    Pump();
    // "Refresh" merely starts with the letter; U+4E70 is a "p" only in its
    // low byte.
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, L'r', 0), 0);
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 0x4E70, 0), 0);
    Pump();
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(prints, 0);
    EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, L'P', 0), 1);
    Pump();
    EXPECT_EQ(prints, 1);
}

// A bar that notes the system commands it passes on to default handling.
class TSysCommandBar : public TBarCustomToolbar {
    VX_CLASS(TSysCommandBar, TBarCustomToolbar)
public:
    using TBarCustomToolbar::TBarCustomToolbar;
    std::vector<WPARAM> PassedOn;
    void DefaultHandler(TMessage& Message) override {
        if (Message.Msg == WM_SYSCOMMAND) {
            PassedOn.push_back(Message.WParam);
            Message.Result = 0;
            return;
        }
        TBarCustomToolbar::DefaultHandler(Message);
    }
};

TEST_F(ToolbarInputTest, AMenuBarAnswersKeyMenuRequestsAndPassesOtherSystemCommandsOn) {
    TForm* form = ShownForm();
    auto* bar = NewToolbar<TSysCommandBar>(form);
    AddItem(bar, "&File");
    bar->SetMenuBar(true);
    Pump();
    bar->Perform(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(bar->Perform(WM_SYSCOMMAND, SC_KEYMENU, '-'), 0);
    EXPECT_EQ(bar->PassedOn, std::vector<WPARAM>{SC_CLOSE});
}

TEST_F(ToolbarInputTest, AClientPressingAButtonOutsideTheLoopRunsItOrOpensItsMenu) {
    if (!InitMSAA()) GTEST_SKIP() << "no accessibility library";
    TForm* form = ShownForm();
    TBarCustomToolbar* bar = NewToolbar(form);
    int prints = 0;
    TBarCustomItem* print = AddItem(bar, "&Print", &prints);
    TBarCustomItem* file = Submenu(AddItem(bar, "&File"));
    AddItem(bar, "&New", nullptr, file);
    Pump();
    SetCursorPos(5, 5);
    TBarView* view = bar->View();

    EXPECT_EQ(Acc(view, print)->accDoDefaultAction(Self()), S_OK);
    Pump();
    EXPECT_EQ(prints, 1);

    // The bar's own loop runs with the menu open; the client's call has long
    // returned by then.
    bool open = false;
    TMenuScript script;
    script.Then([&] {
        open = RunningMenuLoopView() == view && view->OpenViewer() == view->Find(file);
        script.Key(VK_ESCAPE);
        script.Key(VK_ESCAPE);
    });
    EXPECT_EQ(Acc(view, file)->accDoDefaultAction(Self()), S_OK);
    script.Start();
    Pump();
    EXPECT_TRUE(open);
    EXPECT_EQ(RunningMenuLoopView(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ToolbarInputTest, AClientFocusingAButtonSelectsItInTheLoopOnceItsCallHasReturned) {
    if (!InitMSAA()) GTEST_SKIP() << "no accessibility library";
    TForm* form = ShownForm();
    TBarCustomToolbar* bar = NewToolbar(form);
    TBarCustomItem* print = AddItem(bar, "&Print");
    TBarCustomItem* save = AddItem(bar, "&Save");
    TBarCustomItem* broken = AddItem(bar, "&Broken");
    Pump();
    SetCursorPos(5, 5);
    TBarView* view = bar->View();

    bool selected = false;
    TMenuScript script;
    script.Then([&] {
        selected = RunningMenuLoopView() == view && view->Selected() == view->Find(print);
        script.Key(VK_ESCAPE);
    });
    EXPECT_EQ(Acc(view, print)->accSelect(SELFLAG_TAKEFOCUS, Self()), S_OK);
    script.Start();
    Pump();
    EXPECT_TRUE(selected);
    EXPECT_EQ(RunningMenuLoopView(), nullptr);

    // Handlers run outside the client's call: one that frees its item, and
    // one that throws.
    bool inCall = false;
    int selects = 0;
    save->OnSelect = fns_.On<void(TBarCustomItem*, TBarItemViewer*, bool)>(
        [&](TBarCustomItem* Sender, TBarItemViewer*, bool Selecting) {
            if (!Selecting) return;
            ++selects;
            EXPECT_FALSE(inCall);
            Sender->Free();
        });
    broken->OnSelect = fns_.On<void(TBarCustomItem*, TBarItemViewer*, bool)>(
        [&](TBarCustomItem*, TBarItemViewer*, bool Selecting) {
            if (!Selecting) return;
            ++selects;
            EXPECT_FALSE(inCall);
            throw Exception("broken handler");
        });
    inCall = true;
    HRESULT freed = E_FAIL, thrown = E_FAIL;
    EXPECT_NO_THROW(freed = Acc(view, save)->accSelect(SELFLAG_TAKEFOCUS, Self()));
    EXPECT_NO_THROW(thrown = Acc(view, broken)->accSelect(SELFLAG_TAKEFOCUS, Self()));
    inCall = false;
    EXPECT_EQ(freed, S_OK);
    EXPECT_EQ(thrown, S_OK);
    Pump();
    EXPECT_EQ(selects, 2);
    EXPECT_EQ(bar->Items()->IndexOf(save), -1);
    EXPECT_EQ(exceptions, std::vector<std::string>{"broken handler"});
    exceptions.clear();
    EXPECT_EQ(RunningMenuLoopView(), nullptr);
}

TEST_F(ToolbarInputTest, OnlyAButtonReportsItsOpenMenuAsPressed) {
    if (!InitMSAA()) GTEST_SKIP() << "no accessibility library";
    TForm* form = ShownForm();
    TBarCustomToolbar* bar = NewToolbar(form);
    TBarCustomItem* file = Submenu(AddItem(bar, "&File"));
    TBarCustomItem* recent = Submenu(AddItem(bar, "&Recent", nullptr, file));
    AddItem(bar, "&One", nullptr, recent);
    Pump();
    SetCursorPos(5, 5);
    TBarView* view = bar->View();
    LONG button = 0, menuItem = 0;
    TMenuScript script;
    script.Then([&] { script.Key(VK_RIGHT); });  // File's menu is open with Recent selected
    script.Then([&] {
        TBarView* popup = view->OpenViewerView();
        button = State(Acc(view, file));
        if (popup && popup->OpenViewer()) menuItem = State(Acc(popup, recent));
        script.Key(VK_ESCAPE);
        script.Key(VK_ESCAPE);
        script.Key(VK_ESCAPE);
    });
    script.Start();
    EXPECT_TRUE(bar->KeyboardOpen('f', false));
    EXPECT_EQ(script.Remaining(), 0);
    EXPECT_EQ(button & (STATE_SYSTEM_PRESSED | STATE_SYSTEM_HASPOPUP),
              STATE_SYSTEM_PRESSED | STATE_SYSTEM_HASPOPUP);
    EXPECT_EQ(menuItem & (STATE_SYSTEM_PRESSED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED),
              STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED);
}

}  // namespace
