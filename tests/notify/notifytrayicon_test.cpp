#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "classlib/graphics/imagelist.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/forms.h"
#include "notify/notifytrayicon.h"
#include "tests/foundation/quarantine.h"
#include "tests/notify/notify_fixture.h"

namespace {

using Strings = std::vector<std::string>;

struct Events {
    Strings seen;
    std::vector<int> cycles;
    void Click(TObject*) { seen.push_back("click"); }
    void DblClick(TObject*) { seen.push_back("dblclick"); }
    void Enter(TObject*) { seen.push_back("enter"); }
    void Exit(TObject*) { seen.push_back("exit"); }
    void Minimize(TObject*) { seen.push_back("minimize"); }
    void Balloon(TObject*) { seen.push_back("balloon"); }
    void Cycle(TObject*, int Next) { cycles.push_back(Next); }
    void Item(TObject* Sender) { seen.push_back("item " + static_cast<TMenuItem*>(Sender)->Caption()); }
};

class TrayIconTest : public NotifyWindowTest {
protected:
    void SetUp() override {
        NotifyWindowTest::SetUp();
        icon.reset(Create<TNotifyTrayIcon>(nullptr));
        icon->OnClick = TNotifyEvent(&events, &Events::Click);
    }
    void TearDown() override {
        icon.reset();
        NotifyWindowTest::TearDown();
    }
    void Post(UINT Event) {
        PostMessageW(TNotifyTrayIcon::HandlerWindow(), WM_TRAYICONCALLBACK,
                     reinterpret_cast<WPARAM>(icon.get()), Event);
    }
    Events events;
    TOwned<TNotifyTrayIcon> icon;
};

TEST_F(TrayIconTest, TheRecordIsTheFiveHundredLayoutFilledForThisIcon) {
    icon->SetIconVisible(true);
    icon->SetHint("CPU");
    const TTrayIconData& data = shell.calls.back().data;
    EXPECT_EQ(shell.calls.back().message, DWORD(NIM_MODIFY));
    EXPECT_EQ(data.cbSize, 488u);
    EXPECT_EQ(data.hWnd, TNotifyTrayIcon::HandlerWindow());
    EXPECT_EQ(data.uID, static_cast<UINT>(reinterpret_cast<UINT_PTR>(icon.get())));
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 2048u);
    EXPECT_STREQ(data.szTip, "CPU");
}

TEST_F(TrayIconTest, TheTipIsCutTo127CharactersAndEmptyWithoutShowHint) {
    icon->SetIconVisible(true);
    icon->SetHint(std::string(127, 'a') + "bcd");
    const TTrayIconData& cut = shell.calls.back().data;
    EXPECT_EQ(std::string(cut.szTip), std::string(127, 'a'));
    EXPECT_EQ(cut.szTip[127], '\0');
    icon->SetShowHint(false);
    const TTrayIconData& empty = shell.calls.back().data;
    for (char c : empty.szTip) ASSERT_EQ(c, '\0');
}

// Each shell call costs milliseconds under Wine.
TEST_F(TrayIconTest, AnIconOutsideTheAreaCostsTheShellNothingUntilItIsAdded) {
    icon->SetHint("CPU");
    icon->SetShowHint(true);
    icon->SetIconVisible(false);
    EXPECT_FALSE(icon->ModifyIcon());
    EXPECT_TRUE(shell.calls.empty());

    icon->SetIconVisible(true);
    icon->SetIconVisible(true);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].message, DWORD(NIM_ADD));
    EXPECT_STREQ(shell.calls[0].data.szTip, "CPU");
    icon->SetIconVisible(false);
    icon->SetIconVisible(false);
    EXPECT_EQ(shell.Count(NIM_DELETE), 1);
    EXPECT_FALSE(icon->IconVisible());
}

TEST_F(TrayIconTest, WithoutDoubleClickHandlerAClickFiresOnRelease) {
    Post(WM_LBUTTONDOWN);
    Post(WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(events.seen, Strings{"click"});
}

TEST_F(TrayIconTest, WithDoubleClickHandlerAClickWaitsForTheDoubleClickTime) {
    icon->OnDblClick = TNotifyEvent(&events, &Events::DblClick);
    Post(WM_LBUTTONDOWN);
    Post(WM_LBUTTONUP);
    Pump();
    EXPECT_TRUE(events.seen.empty());
    EXPECT_TRUE(PumpUntil([&] { return !events.seen.empty(); }, GetDoubleClickTime() + 1000));
    EXPECT_EQ(events.seen, Strings{"click"});
}

TEST_F(TrayIconTest, ADoubleClickSuppressesTheClick) {
    icon->OnDblClick = TNotifyEvent(&events, &Events::DblClick);
    Post(WM_LBUTTONDOWN);
    Post(WM_LBUTTONUP);
    Post(WM_LBUTTONDBLCLK);
    Post(WM_LBUTTONUP);
    PumpFor(GetDoubleClickTime() + 200);
    EXPECT_EQ(events.seen, Strings{"dblclick"});
}

TEST_F(TrayIconTest, ADisabledIconStillReportsBalloonsButNothingElse) {
    icon->OnBalloonHintClick = TNotifyEvent(&events, &Events::Balloon);
    icon->SetEnabled(false);
    Post(WM_LBUTTONDOWN);
    Post(WM_LBUTTONUP);
    Post(NIN_BALLOONUSERCLICK);
    Pump();
    EXPECT_EQ(events.seen, Strings{"balloon"});
}

TEST_F(TrayIconTest, ACallbackNamingAFreedIconIsIgnored) {
    TNotifyTrayIcon* doomed = Create<TNotifyTrayIcon>(nullptr);
    const WPARAM address = reinterpret_cast<WPARAM>(doomed);
    doomed->Free();
    PostMessageW(TNotifyTrayIcon::HandlerWindow(), WM_TRAYICONCALLBACK, address, WM_LBUTTONUP);
    Post(WM_LBUTTONDOWN);
    Post(WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(events.seen, Strings{"click"});
}

TEST_F(TrayIconTest, EnterOnTheFirstMoveAndExitOnceTheCursorLeaves) {
    icon->OnMouseEnter = TNotifyEvent(&events, &Events::Enter);
    icon->OnMouseExit = TNotifyEvent(&events, &Events::Exit);
    icon->SetWantEnterExitEvents(true);
    SetCursorPos(200, 200);
    Post(WM_MOUSEMOVE);
    Post(WM_MOUSEMOVE);
    PumpFor(60);
    EXPECT_EQ(events.seen, Strings{"enter"});
    SetCursorPos(400, 300);
    EXPECT_TRUE(PumpUntil([&] { return events.seen.size() == 2; }, 1000));
    EXPECT_EQ(events.seen, (Strings{"enter", "exit"}));
}

TEST_F(TrayIconTest, ARecreatedTaskbarGetsTheVisibleIconBack) {
    // The program's start-up does this before any icon shows.
    InitTrayIconUnit();
    ASSERT_NE(TNotifyTrayIcon::TaskbarCreatedMessage(), 0u);
    SendMessageW(Application->Handle(), TNotifyTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 0);
    icon->SetIconVisible(true);
    SendMessageW(Application->Handle(), TNotifyTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 2);
}

TEST_F(TrayIconTest, ADoubleClickRunsTheMenusFirstDefaultItem) {
    // The menu and its items belong to one owner, as on a form.
    TOwned<TComponent> owner(Create<TComponent>(nullptr));
    auto* menu = Create<TPopupMenu>(owner.get());
    for (const char* caption : {"first", "second", "third"}) {
        auto* item = Create<TMenuItem>(owner.get());
        item->SetCaption(caption);
        item->SetDefault(std::string(caption) != "first");
        item->OnClick = TNotifyEvent(&events, &Events::Item);
        menu->Items()->Add(item);
    }
    icon->SetPopupMenu(menu);
    Post(WM_LBUTTONDBLCLK);
    Pump();
    EXPECT_EQ(events.seen, Strings{"item second"});
    // Not when the left button opens the menu, nor without AutoPopup.
    events.seen.clear();
    icon->SetLeftPopup(true);
    Post(WM_LBUTTONDBLCLK);
    Pump();
    icon->SetLeftPopup(false);
    menu->SetAutoPopup(false);
    Post(WM_LBUTTONDBLCLK);
    Pump();
    EXPECT_TRUE(events.seen.empty());
    owner.reset();
    EXPECT_EQ(icon->PopupMenu(), nullptr);
}

// Icons of distinct colours, so the shown one can be told by a pixel.
TOwned<TImageList> ColourIcons(std::initializer_list<TColor> Colors) {
    TOwned<TImageList> list(Create<TImageList>(16, 16));
    for (TColor color : Colors) {
        TOwned<TBitmap> bitmap(Create<TBitmap>());
        bitmap->SetSize(16, 16);
        bitmap->Canvas()->Brush()->SetColor(color);
        bitmap->Canvas()->FillRect(TRect(0, 0, 16, 16));
        list->AddMasked(bitmap.get(), clNone);
    }
    return list;
}

TColor IconColour(TIcon* Icon) {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(16, 16);
    DrawIconEx(bitmap->Canvas()->Handle(), 0, 0, Icon->Handle(), 16, 16, 0, nullptr, DI_NORMAL);
    return bitmap->PixelColor(8, 8);
}

TEST_F(TrayIconTest, IconIndexIsClampedToTheList) {
    auto list = ColourIcons({clRed, clLime, clBlue});
    icon->SetIconList(list.get());
    icon->SetIconIndex(7);
    EXPECT_EQ(icon->IconIndex(), 2);
    EXPECT_EQ(IconColour(icon->Icon()), clBlue);
    icon->SetIconIndex(-4);
    EXPECT_EQ(icon->IconIndex(), 0);
    EXPECT_EQ(IconColour(icon->Icon()), clRed);
    auto empty = ColourIcons({});
    icon->SetIconList(empty.get());
    icon->SetIconIndex(3);
    EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayIconTest, FreeingTheImageListLeavesTheIconWithoutIt) {
    auto list = ColourIcons({clRed, clLime});
    icon->SetIconList(list.get());
    icon->SetIconIndex(1);
    list.reset();
    EXPECT_EQ(icon->IconList(), nullptr);
    EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayIconTest, CyclingShowsEachIconInTurnAndReportsTheNextIndex) {
    auto list = ColourIcons({clRed, clLime, clBlue});
    icon->OnCycle = TCycleEvent(&events, &Events::Cycle);
    icon->SetIconList(list.get());
    icon->SetCycleInterval(20);
    icon->SetCycleIcons(true);
    std::vector<TColor> shown{IconColour(icon->Icon())};
    for (size_t n = 1; n <= 4; ++n) {
        ASSERT_TRUE(PumpUntil([&] { return events.cycles.size() >= n; }));
        shown.push_back(IconColour(icon->Icon()));
    }
    icon->SetCycleIcons(false);
    EXPECT_EQ(shown, (std::vector<TColor>{clRed, clLime, clBlue, clRed, clLime}));
    EXPECT_EQ(events.cycles, (std::vector<int>{1, 2, 0, 1}));
}

// Wine's own notification area answers the real calls.
TEST(TrayIconShell, TheRealShellTakesAddModifyAndDelete) {
    Application->Initialize();
    TOwned<TNotifyTrayIcon> icon(Create<TNotifyTrayIcon>(nullptr));
    TOwned<TIcon> picture(Create<TIcon>());
    picture->SetHandle(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
    icon->SetIcon(picture.get());
    icon->SetHint("Vexmora");
    EXPECT_TRUE(icon->ShowIcon());
    EXPECT_TRUE(icon->ModifyIcon());
    EXPECT_TRUE(icon->HideIcon());
    EXPECT_FALSE(icon->ModifyIcon());
}

// The main form owns the icon, as in the program.
class MinimizeToTrayTest : public NotifyWindowTest {
protected:
    void SetUp() override {
        NotifyWindowTest::SetUp();
        ASSERT_EQ(Application->MainForm(), nullptr);
        Application->CreateForm(main);
        main->Show();
        icon = Create<TNotifyTrayIcon>(main);
        icon->SetMinimizeToTray(true);
        Pump();
        shell.calls.clear();
    }
    void TearDown() override {
        main->Free();
        ShowWindow(Application->Handle(), SW_HIDE);
        NotifyWindowTest::TearDown();
    }
    TForm* main = nullptr;
    TNotifyTrayIcon* icon = nullptr;
    Events events;
};

TEST_F(MinimizeToTrayTest, AMinimiseCommandWithHandlerGoesStraightToTheTray) {
    icon->OnMinimizeToTray = TNotifyEvent(&events, &Events::Minimize);
    EXPECT_EQ(main->Perform(WM_SYSCOMMAND, SC_MINIMIZE), 1);
    EXPECT_EQ(events.seen, Strings{"minimize"});
    EXPECT_FALSE(main->Visible());
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_EQ(shell.Count(NIM_ADD), 1);
    EXPECT_FALSE(IsIconic(Application->Handle()));
}

TEST_F(MinimizeToTrayTest, WithoutHandlerTheMinimisedApplicationGoesToTheTray) {
    main->Perform(WM_SYSCOMMAND, SC_MINIMIZE);
    Pump();
    EXPECT_TRUE(events.seen.empty());
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(shell.Count(NIM_ADD), 1);
}

TEST_F(MinimizeToTrayTest, WithoutMinimizeToTrayNothingGoesToTheTray) {
    icon->SetMinimizeToTray(false);
    icon->OnMinimizeToTray = TNotifyEvent(&events, &Events::Minimize);
    SendMessageW(Application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    main->Perform(WM_SYSCOMMAND, SC_MINIMIZE);
    Pump();
    EXPECT_TRUE(events.seen.empty());
    EXPECT_EQ(shell.Count(NIM_ADD), 0);
    Application->Restore();
}

struct Startup {
    bool answer = true;
    int calls = 0;
    void Ask(TObject*, bool& Show) {
        ++calls;
        Show = answer;
    }
};

TEST_F(MinimizeToTrayTest, LoadedAsksWhetherTheMainFormShowsAtStart) {
    Startup startup;
    startup.answer = false;
    icon->OnStartup = TStartupEvent(&startup, &Startup::Ask);
    icon->SetIconVisible(true);
    icon->Loading();
    icon->Loaded();
    EXPECT_EQ(startup.calls, 1);
    EXPECT_FALSE(Application->ShowMainForm());
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(shell.calls.back().message, DWORD(NIM_SETVERSION));
    Application->SetShowMainForm(true);
}

}  // namespace

namespace {

// Runs a step once the message loop reaches it.
class TPostedStep {
public:
    TPostedStep() : window_(AllocateHWnd(TWndMethod(this, &TPostedStep::WndProc))) {}
    ~TPostedStep() { DeallocateHWnd(window_); }
    TPostedStep(const TPostedStep&) = delete;
    TPostedStep& operator=(const TPostedStep&) = delete;
    void Post(std::function<void()> Step) {
        step_ = std::move(Step);
        PostMessageW(window_, WM_APP, 0, 0);
    }

private:
    void WndProc(TMessage& Message) {
        if (Message.Msg == WM_APP && step_) {
            auto step = std::move(step_);
            step_ = nullptr;
            step();
            return;
        }
        Message.Result = DefWindowProcW(window_, Message.Msg, Message.WParam, Message.LParam);
    }
    HWND window_;
    std::function<void()> step_;
};

using TWatchedIcon = TQuarantined<TNotifyTrayIcon>;

// The menu pops up after pending messages and runs a modal loop; the icon
// may be freed by either, and nothing of it is touched afterwards.
class TrayPopupTest : public NotifyWindowTest {
protected:
    void SetUp() override {
        NotifyWindowTest::SetUp();
        TWatchedIcon::FreedUntouched();
        menu = Create<TPopupMenu>(owner.get());
        auto* item = Create<TMenuItem>(owner.get());
        item->SetCaption("Show");
        menu->Items()->Add(item);
        icon = Create<TWatchedIcon>(owner.get());
        icon->SetPopupMenu(menu);
    }

public:
    void FreeIcon() {
        icon->Free();
        icon = nullptr;
    }
    TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
    TPopupMenu* menu = nullptr;
    TWatchedIcon* icon = nullptr;
    TPostedStep step;
};

TEST_F(TrayPopupTest, AnIconFreedByAPendingMessageShowsNoMenu) {
    int popups = 0;
    struct Count {
        int& n;
        void Popup(TObject*) { ++n; }
    } count{popups};
    menu->OnPopup = TNotifyEvent(&count, &Count::Popup);
    step.Post([this] { FreeIcon(); });
    TWatchedIcon* watched = icon;
    watched->PopupAtCursor();
    EXPECT_EQ(popups, 0);
    EXPECT_TRUE(TWatchedIcon::FreedUntouched());
}

TEST_F(TrayPopupTest, AnIconFreedWhileItsMenuIsOpen) {
    struct Closer {
        TrayPopupTest* test;
        void Popup(TObject*) {
            test->FreeIcon();
            test->step.Post([] { EndMenu(); });
        }
    } closer{this};
    menu->OnPopup = TNotifyEvent(&closer, &Closer::Popup);
    TWatchedIcon* watched = icon;
    watched->PopupAtCursor();
    EXPECT_TRUE(TWatchedIcon::FreedUntouched());
}

}  // namespace
