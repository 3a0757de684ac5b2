// An item toolbar reached from outside its menu loop: characters its form
// hands round, system commands, and accessibility clients that press or
// focus its buttons and ask how they look.
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/event_fn.h"
#include "tests/toolbar/menu_script.h"
#include "toolbar/baracc.h"
#include "toolbar/bartoolbar.h"

namespace {

VARIANT Self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

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

}  // namespace
