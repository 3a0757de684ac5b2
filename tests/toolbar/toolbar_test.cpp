// Item toolbars on docks and floating: the chevron and its popup, menu-bar
// mode, keyboard opening, controls turned into items, floating widths, the
// number of layouts a dock resize costs, and the shortcut hook.
#include <string>

#include "classlib/windows/hintwindow.h"
#include "classlib/windows/screen.h"
#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/event_fn.h"
#include "tests/toolbar/menu_script.h"
#include "toolbar/barmainhook.h"
#include "toolbar/bartoolbar.h"

namespace {

// A toolbar that counts its layouts.
class TCountingToolbar : public TBarCustomToolbar {
    VX_CLASS(TCountingToolbar, TBarCustomToolbar)
public:
    using TBarCustomToolbar::TBarCustomToolbar;
    int Layouts = 0;
    void DoArrange(bool CanMoveControls, TBarDockType DockType, TSize& NewSize, TBarDock* ADock) override {
        ++Layouts;
        TBarCustomToolbar::DoArrange(CanMoveControls, DockType, NewSize, ADock);
    }
};

class ToolbarTest : public BarTest {
protected:
    TCountingToolbar* NewToolbar(TForm* Form, TBarDock* Dock, int Buttons) {
        auto* bar = Create<TCountingToolbar>(Form);
        for (int i = 0; i < Buttons; ++i) AddItem(bar, "Button " + std::to_string(i));
        bar->SetParent(Dock);
        return bar;
    }
    TBarCustomItem* AddItem(TBarCustomToolbar* Bar, const std::string& Caption,
                            TBarCustomItem* Parent = nullptr) {
        auto* item = Create<TBarCustomItem>(Bar->Owner());
        item->SetCaption(Caption);
        (Parent ? Parent : static_cast<TBarCustomItem*>(Bar->Items()))->Add(item);
        return item;
    }
    static std::vector<std::string> Hidden(TBarView* View) {
        std::vector<std::string> names;
        for (int i = 0; i < View->ViewerCount(); ++i)
            if (View->Viewers(i)->OffEdge) names.push_back(View->Viewers(i)->Item()->Caption());
        return names;
    }
    static std::vector<std::string> Shown(TBarView* View) {
        std::vector<std::string> names;
        View->ValidatePositions();
        for (int i = 0; i < View->ViewerCount(); ++i)
            if (View->Viewers(i)->Show && View->Viewers(i)->Item()->Parent())
                names.push_back(View->Viewers(i)->Item()->Caption());
        return names;
    }
    TEventFns fns_;
};

TEST_F(ToolbarTest, TheChevronPopupListsExactlyTheHiddenItemsAndAClickGivesPriority) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TCountingToolbar* bar = NewToolbar(form, dock, 12);
    form->SetClientWidth(260);
    Pump();
    TBarToolbarView* view = bar->View();
    view->ValidatePositions();
    const std::vector<std::string> hidden = Hidden(view);
    ASSERT_FALSE(hidden.empty());
    TBarItemViewer* chevron = view->Find(bar->ChevronItem());
    ASSERT_NE(chevron, nullptr);
    ASSERT_TRUE(chevron->Show);

    view->Select(chevron, false);
    ASSERT_TRUE(view->OpenChildPopup(false));
    TBarView* popup = view->OpenViewerView();
    EXPECT_EQ(Shown(popup), hidden);

    // Running a hidden item moves it to the front of the priority list: the
    // next layout shows it.
    const std::string chosen = hidden.back();
    for (int i = 0; i < popup->ViewerCount(); ++i)
        if (popup->Viewers(i)->Item()->Caption() == chosen) popup->Viewers(i)->Execute(true);
    view->CloseChildPopup();
    view->Select(nullptr, false);
    dock->ArrangeToolbars();
    Pump();
    const std::vector<std::string> after = Hidden(view);
    EXPECT_EQ(std::find(after.begin(), after.end(), chosen), after.end());
    EXPECT_EQ(after.size(), hidden.size());
}

TEST_F(ToolbarTest, MenuBarModeSwitchesItsCompanionsAndTheShortcutHook) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TCountingToolbar* bar = NewToolbar(form, dock, 3);
    const int users = MainWindowHookUsers();
    bar->SetMenuBar(true);
    EXPECT_EQ(bar->ShrinkMode(), tbsmWrap);
    EXPECT_FALSE(bar->CloseButton());
    EXPECT_TRUE(bar->ProcessShortCuts());
    EXPECT_TRUE(bar->FullSize());
    EXPECT_TRUE(bar->ControlStyle().Contains(csMenuEvents));
    EXPECT_EQ(MainWindowHookUsers(), users + 1);
    bar->SetMenuBar(false);
    EXPECT_EQ(bar->ShrinkMode(), tbsmChevron);
    EXPECT_TRUE(bar->CloseButton());
    EXPECT_FALSE(bar->ProcessShortCuts());
    EXPECT_FALSE(bar->ControlStyle().Contains(csMenuEvents));
    EXPECT_EQ(MainWindowHookUsers(), users);
}

TEST_F(ToolbarTest, TheShortcutHookIsSharedAndLeavesWithTheLastToolbar) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    const int users = MainWindowHookUsers();
    TCountingToolbar* a = NewToolbar(form, dock, 1);
    TCountingToolbar* b = NewToolbar(form, dock, 1);
    // Each toolbar is asked once per key that nobody takes: a hook
    // registered twice with the application would ask twice.
    int askedA = 0, askedB = 0;
    a->OnShortCut = fns_.On<void(TMessage&, bool&)>([&](TMessage&, bool&) { ++askedA; });
    b->OnShortCut = fns_.On<void(TMessage&, bool&)>([&](TMessage&, bool&) { ++askedB; });
    auto press = [] {
        TMessage key{WM_KEYDOWN, VK_F9, 0, 0};
        SendMessageW(Application->Handle(), CM_APPKEYDOWN, 0, reinterpret_cast<LPARAM>(&key));
    };
    a->SetProcessShortCuts(true);
    b->SetProcessShortCuts(true);
    a->SetProcessShortCuts(true);
    EXPECT_EQ(MainWindowHookUsers(), users + 2);
    press();
    EXPECT_EQ(askedA, 1);
    EXPECT_EQ(askedB, 1);
    a->Free();
    EXPECT_EQ(MainWindowHookUsers(), users + 1);
    press();
    EXPECT_EQ(askedB, 2);
    b->Free();
    EXPECT_EQ(MainWindowHookUsers(), users);
}

TEST_F(ToolbarTest, ShortcutsWorkOnlyForTheActiveForm) {
    TForm* first = ShownForm();
    TCountingToolbar* bar = NewToolbar(first, NewDock(first, dpTop), 0);
    TBarCustomItem* item = AddItem(bar, "Refresh");
    item->SetShortCut(ShortCut('K', TShiftState{ssCtrl}));
    int clicks = 0;
    item->OnClick = fns_.On<void(TObject*)>([&](TObject*) { ++clicks; });
    bar->SetProcessShortCuts(true);
    auto press = [] {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        TMessage key{WM_KEYDOWN, 'K', 0, 0};
        const LRESULT handled =
            SendMessageW(Application->Handle(), CM_APPKEYDOWN, 0, reinterpret_cast<LPARAM>(&key));
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        return handled;
    };
    EXPECT_NE(press(), 0);
    Pump();
    EXPECT_EQ(clicks, 1);

    TForm* second = ShownForm();
    ASSERT_EQ(GetActiveWindow(), second->Handle());
    // A main form's toolbars would answer for any form; the first form is
    // not the main one.
    ASSERT_NE(Application->MainForm(), first);
    EXPECT_EQ(press(), 0);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ToolbarTest, HintsComeFromTheButtonUnderTheCursor) {
    TForm* form = ShownForm();
    TCountingToolbar* bar = NewToolbar(form, NewDock(form, dpTop), 2);
    TBarCustomItem* item = bar->Items()->Items(1);
    item->SetHint("Print|Prints the drive list");
    Pump();
    TBarItemViewer* viewer = bar->View()->Find(item);
    THintInfo info;
    info.CursorPos = TPoint(viewer->BoundsRect.Left + 2, viewer->BoundsRect.Top + 2);
    EXPECT_EQ(bar->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, L"Print");
    EXPECT_EQ(info.CursorRect, viewer->BoundsRect);
}

TEST_F(ToolbarTest, DroppingAControlAddsOneItemAndRemovingItKeepsTheControl) {
    TForm* form = ShownForm();
    TCountingToolbar* bar = NewToolbar(form, NewDock(form, dpTop), 2);
    auto* panel = Create<TCustomControl>(form);
    panel->SetBounds(0, 0, 40, 18);
    panel->SetParent(bar);
    ASSERT_EQ(bar->Items()->Count(), 3);
    auto* item = dynamic_cast<TBarControlItem*>(bar->Items()->Items(2));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Control(), panel);
    panel->SetParent(form);
    EXPECT_EQ(bar->Items()->Count(), 2);
    EXPECT_EQ(panel->Parent(), form);
}

TEST_F(ToolbarTest, FloatRightXGivesTheSameShapeBack) {
    TForm* form = ShownForm();
    TCountingToolbar* bar = NewToolbar(form, NewDock(form, dpTop), 8);
    bar->SetFloatingPosition(TPoint(300, 300));
    bar->SetFloating(true);
    Pump();
    const std::vector<TBarFloatSize> sizes = bar->BuildFloatSizes();
    ASSERT_GE(sizes.size(), 2u);
    bar->SetFloatRightX(sizes[1].WrapWidth);
    Pump();
    const TSize wrapped{bar->ClientWidth(), bar->ClientHeight()};
    EXPECT_EQ(wrapped, sizes[1].Size);
    const int saved = bar->FloatRightX();
    bar->SetFloatRightX(0);
    Pump();
    EXPECT_EQ(bar->ClientHeight(), sizes[0].Size.cy);
    bar->SetFloatRightX(saved);
    Pump();
    EXPECT_EQ((TSize{bar->ClientWidth(), bar->ClientHeight()}), wrapped);
}

TEST_F(ToolbarTest, ADockResizeCostsABoundedNumberOfLayouts) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TCountingToolbar* a = NewToolbar(form, dock, 10);
    TCountingToolbar* b = NewToolbar(form, dock, 10);
    Pump();
    for (int width : {500, 300, 200, 420}) {
        a->Layouts = b->Layouts = 0;
        form->SetClientWidth(width);
        Pump();
        EXPECT_LE(a->Layouts + b->Layouts, 8) << width;
    }
}

TEST_F(ToolbarTest, MenuBarKeysOpenSelectAndCross) {
    TForm* form = ShownForm();
    TCountingToolbar* bar = NewToolbar(form, NewDock(form, dpTop), 0);
    TBarCustomItem* file = AddItem(bar, "&File");
    TBarCustomItem* find = AddItem(bar, "F&ind");
    TBarCustomItem* format = AddItem(bar, "&Format");
    TBarCustomItem* edit = AddItem(bar, "&Edit");
    for (TBarCustomItem* menu : {file, edit}) menu->SetItemStyle(menu->ItemStyle() | isfSubmenu);
    AddItem(bar, "New", file);
    AddItem(bar, "Copy", edit);
    bar->SetMenuBar(true);
    Pump();
    TBarView* view = bar->View();

    // Two items use "f": the first is selected and nothing opens.
    TMenuScript script;
    TBarCustomItem* selected = nullptr;
    bool opened = true;
    script.Then([&] {
        selected = view->Selected() ? view->Selected()->Item() : nullptr;
        opened = view->OpenViewer() != nullptr;
        script.Key(VK_ESCAPE);
    });
    script.Start();
    EXPECT_TRUE(bar->KeyboardOpen('f', false));
    EXPECT_EQ(selected, file);
    EXPECT_FALSE(opened);
    (void)find;
    (void)format;

    // "e" is Edit's alone: its menu opens; Left crosses to the neighbour on
    // the bar, keeping menus dropped down; Esc closes a level, then leaves.
    TBarCustomItem* crossed = nullptr;
    bool editOpen = false, stillInLoop = false;
    script.Then([&] {
        editOpen = view->OpenViewer() && view->OpenViewer()->Item() == edit;
        script.Key(VK_RIGHT);
    });
    script.Then([&] {
        crossed = view->Selected() ? view->Selected()->Item() : nullptr;
        script.Key(VK_ESCAPE);
    });
    script.Then([&] {
        stillInLoop = RunningMenuLoopView() == view;
        script.Key(VK_ESCAPE);
    });
    script.Start();
    EXPECT_TRUE(bar->KeyboardOpen('e', false));
    EXPECT_TRUE(editOpen);
    EXPECT_EQ(crossed, file);  // wraps from the last item to the first
    EXPECT_TRUE(stillInLoop);
    EXPECT_EQ(view->Selected(), nullptr);
}

TEST_F(ToolbarTest, KeyMenuRequestsOfTheFormReachTheMenuBar) {
    TForm* form = ShownForm();
    TCountingToolbar* bar = NewToolbar(form, NewDock(form, dpTop), 0);
    TBarCustomItem* file = AddItem(bar, "&File");
    TBarCustomItem* view = AddItem(bar, "&View");
    file->SetItemStyle(file->ItemStyle() | isfSubmenu);
    AddItem(bar, "E&xit", file);
    int views = 0;
    view->OnClick = fns_.On<void(TObject*)>([&](TObject*) { ++views; });
    bar->SetMenuBar(true);
    Pump();
    SetCursorPos(5, 5);

    // Alt+V: the only "v" runs at once.
    EXPECT_EQ(SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'v'), 0);
    Pump();
    EXPECT_EQ(views, 1);

    // F10 (no key): the first item is selected and the loop waits for keys.
    TMenuScript script;
    TBarCustomItem* selected = nullptr;
    script.Then([&] {
        selected = bar->View()->Selected() ? bar->View()->Selected()->Item() : nullptr;
        script.Key(VK_ESCAPE);
    });
    script.Start();
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_EQ(selected, file);
    EXPECT_EQ(RunningMenuLoopView(), nullptr);
}

TEST_F(ToolbarTest, ActivatingAnotherWindowOrF1EndsTheLoop) {
    TForm* form = ShownForm();
    TCountingToolbar* bar = NewToolbar(form, NewDock(form, dpTop), 0);
    TBarCustomItem* file = AddItem(bar, "&File");
    file->SetItemStyle(file->ItemStyle() | isfSubmenu);
    TBarCustomItem* exit = AddItem(bar, "E&xit", file);
    exit->SetHelpContext(12);
    bar->SetMenuBar(true);
    TForm* other = NewForm(500, 100, 200, 150);
    other->Show();
    SetForegroundWindow(form->Handle());
    Pump();
    TMenuScript script;
    script.Then([&] { SetActiveWindow(other->Handle()); });
    script.Start();
    EXPECT_TRUE(bar->KeyboardOpen('f', false));
    EXPECT_EQ(RunningMenuLoopView(), nullptr);

    SetForegroundWindow(form->Handle());
    Pump();
    bool open = false;
    script.Then([&] {
        open = bar->View()->OpenViewer() != nullptr;
        script.Key(VK_F1);
    });
    script.Start();
    EXPECT_TRUE(bar->KeyboardOpen('f', false));
    EXPECT_TRUE(open);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ToolbarTest, AnOnSelectThatFreesTheClickedItemPostsNothing) {
    TForm* form = ShownForm();
    TCountingToolbar* bar = NewToolbar(form, NewDock(form, dpTop), 0);
    TBarCustomItem* file = AddItem(bar, "&File");
    file->SetItemStyle(file->ItemStyle() | isfSubmenu);
    TBarCustomItem* save = AddItem(bar, "&Save", file);
    int clicks = 0;
    save->OnClick = fns_.On<void(TObject*)>([&](TObject*) { ++clicks; });
    // Leaving the menu bar rebuilds the menu, freeing the item just chosen.
    file->OnSelect = fns_.On<void(TBarCustomItem*, TBarItemViewer*, bool)>(
        [&](TBarCustomItem* Sender, TBarItemViewer*, bool Selecting) {
            if (!Selecting && !RunningMenuLoopView())
                while (Sender->Count()) Sender->Items(0)->Free();
        });
    bar->SetMenuBar(true);
    Pump();
    SetCursorPos(5, 5);
    TMenuScript script;
    script.Then([&] { script.Key(VK_RETURN); });
    script.Start();
    EXPECT_TRUE(bar->KeyboardOpen('f', false));
    EXPECT_EQ(file->Count(), 0);
    Pump();
    EXPECT_EQ(clicks, 0);
}

// A toolbar that counts the system commands reaching it.
class TSysCommandCountingToolbar : public TCountingToolbar {
    VX_CLASS(TSysCommandCountingToolbar, TCountingToolbar)
public:
    using TCountingToolbar::TCountingToolbar;
    int SysCommands = 0;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_SYSCOMMAND) ++SysCommands;
        TCountingToolbar::WndProc(Message);
    }
};

TEST_F(ToolbarTest, ADashKeyMenuRequestEndsWithoutRecursion) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    auto* bar = Create<TSysCommandCountingToolbar>(form);
    AddItem(bar, "&File");
    AddItem(bar, "&View");
    bar->SetParent(dock);
    bar->SetMenuBar(true);
    Pump();
    // "-" asks for the form's system menu: the bar takes it from nobody, and
    // a request comes to the bar at most once.
    EXPECT_EQ(SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, '-'), 0);
    EXPECT_EQ(bar->SysCommands, 0);
    EXPECT_EQ(SendMessageW(bar->Handle(), WM_SYSCOMMAND, SC_KEYMENU, '-'), 0);
    EXPECT_EQ(bar->SysCommands, 1);
    EXPECT_EQ(SendMessageW(dock->Handle(), WM_SYSCOMMAND, SC_KEYMENU, '-'), 0);
    EXPECT_EQ(bar->SysCommands, 1);
    Pump();
    EXPECT_EQ(RunningMenuLoopView(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ToolbarTest, ToolbarsWithItemsCreatedAndFreedLeaveTheHandleCountsAsTheyWere) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    auto round = [&] {
        TCountingToolbar* bar = NewToolbar(form, dock, 8);
        TBarCustomItem* menu = AddItem(bar, "&Menu");
        menu->SetItemStyle(menu->ItemStyle() | isfSubmenu);
        AddItem(bar, "Entry", menu);
        bar->SetMenuBar(true);
        Pump();
        bar->View()->Select(bar->View()->Find(menu), false);
        bar->View()->OpenChildPopup(true);
        bar->Repaint();
        bar->Free();
        Pump();
    };
    round();
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int i = 0; i < 100; ++i) round();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
}

TEST(FloatSizeList, VisitsEveryLineCountWithOneTrialPerLayout) {
    int trials = 0;
    // Ten 30-pixel items; like the real layout, a wrapped bar is as wide as
    // its wrapping width.
    auto trial = [&](int Wrap, TSize& Size, int& Lines, int& Widest) {
        ++trials;
        const int perLine = Wrap == 0 ? 10 : std::min(10, std::max(1, Wrap / 30));
        Lines = (10 + perLine - 1) / perLine;
        Widest = perLine * 30;
        Size = TSize{Lines > 1 ? std::max(Widest, Wrap) : Widest, Lines * 22};
    };
    const std::vector<TBarFloatSize> list = BuildFloatSizeList(trial, 8);
    std::vector<int> lines;
    for (const TBarFloatSize& entry : list) lines.push_back(entry.Lines);
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 5, 10}));
    EXPECT_LE(trials, 11);
    EXPECT_EQ(list[1].Lines, 2);
    EXPECT_EQ(list[1].WrapWidth, 179);  // the last width that gives five a line
    EXPECT_EQ(PickFloatSize(list, true, 1000), 0);
    EXPECT_EQ(PickFloatSize(list, true, list[1].Size.cx + 5), 1);
    EXPECT_EQ(PickFloatSize(list, true, 10), 5);
}

}  // namespace
