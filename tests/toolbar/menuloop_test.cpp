// The popup menu loop as a user drives it: keys, accelerators, submenus,
// the ways a loop ends, and handlers that free what the loop holds.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/graphics/handles.h"
#include "classlib/services/osversion.h"
#include "classlib/services/soundservice.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/hintmanager.h"
#include "tests/support/pump.h"
#include "tests/toolbar/event_fn.h"
#include "tests/toolbar/menu_script.h"
#include "toolbar/barpopup.h"
#include "toolbar/barpopupmenu.h"
#include "toolbar/barsystem.h"

namespace {

class MenuLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        form_ = Create<TForm>(nullptr, 0);
        form_->SetBounds(100, 100, 300, 200);
        form_->Show();
        SetForegroundWindow(form_->Handle());
        Application->ProcessMessages();
        SetCursorPos(5, 5);
        menu_ = Create<TBarPopupMenu>(form_);
        open_ = Add("&Open");
        save_ = Add("&Save");
        Add("-", nullptr, true);
        exit_ = Add("E&xit");
        exit_->SetEnabled(false);
        recent_ = Add("&Recent");
        recent_->SetItemStyle(recent_->ItemStyle() | isfSubmenu);
        first_ = Add("&First", recent_);
        second_ = Add("S&econd", recent_);
        edit_ = Add("&Edit");
    }
    void TearDown() override {
        form_->Free();
        Application->ProcessMessages();
    }
    TBarCustomItem* Add(const std::string& Caption, TBarCustomItem* Parent = nullptr,
                        bool Separator = false) {
        TBarCustomItem* item = Separator ? Create<TBarSeparatorItem>(form_) : Create<TBarCustomItem>(form_);
        item->SetCaption(Caption);
        (Parent ? Parent : static_cast<TBarCustomItem*>(menu_->Items()))->Add(item);
        return item;
    }
    template <class Sig, class F>
    TDelegate<Sig> On(F Body) {
        return fns_.On<Sig>(Body);
    }
    TBarCustomItem* Run(bool ReturnOnly = true) { return menu_->PopupEx(150, 150, ReturnOnly); }
    static TBarView* Root() { return RunningMenuLoopView(); }
    static TBarCustomItem* SelectedItem(TBarView* View) {
        return View && View->Selected() ? View->Selected()->Item() : nullptr;
    }

    TForm* form_ = nullptr;
    TBarPopupMenu* menu_ = nullptr;
    TBarCustomItem *open_, *save_, *exit_, *recent_, *first_, *second_, *edit_;
    TMenuScript script_;
    TEventFns fns_;
};

TEST_F(MenuLoopTest, ArrowsWrapSkipSeparatorsAndReachDisabledItems) {
    std::vector<TBarCustomItem*> seen;
    auto look = [&] { seen.push_back(SelectedItem(Root())); };
    script_.Then([&] { script_.Key(VK_DOWN); });
    script_.Then(look);  // Open
    script_.Then([&] { script_.Key(VK_UP); });
    script_.Then(look);  // wraps to Edit
    script_.Then([&] { script_.Key(VK_UP); });
    script_.Then(look);  // Recent
    script_.Then([&] { script_.Key(VK_UP); });
    script_.Then(look);  // the disabled Exit, as Tab would reach it
    script_.Then([&] { script_.Key(VK_UP); });
    script_.Then(look);  // Save: the separator is passed over
    script_.Then([&] { script_.Key(VK_END); });
    script_.Then(look);
    script_.Then([&] { script_.Key(VK_HOME); });
    script_.Then(look);
    script_.Then([&] { script_.Key(VK_ESCAPE); });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    const std::vector<TBarCustomItem*> expected{open_, edit_, recent_, exit_, save_, edit_, open_};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(script_.Remaining(), 0);
}

TEST_F(MenuLoopTest, AcceleratorsExecuteSelectOrBeep) {
    // "S" is used by Save only among enabled items: it runs at once.
    script_.Then([&] { script_.Char(L's'); });
    script_.Start();
    EXPECT_EQ(Run(), save_);

    // "e" is E&dit's and S&econd's, but only Edit is in the top level with
    // Exit's "x" beside: a duplicate needs a second item with "e" there.
    Add("&Extra");
    TBarCustomItem* picked = nullptr;
    script_.Then([&] { script_.Char(L'e'); });
    script_.Then([&] { picked = SelectedItem(Root()); });
    script_.Then([&] { script_.Char(L'q'); });  // nobody's: beeps, nothing changes
    script_.Then([&] { EXPECT_EQ(SelectedItem(Root()), edit_); });
    script_.Then([&] { script_.Key(VK_ESCAPE); });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_EQ(picked, edit_);
}

TEST_F(MenuLoopTest, SubmenuOpensByKeyAndEscapeClosesOneLevelThenAll) {
    bool childOpen = false, childClosed = false;
    script_.Then([&] { script_.Char(L'r'); });  // Recent: only match, opens its popup
    script_.Then([&] {
        childOpen = Root()->OpenViewerView() != nullptr;
        EXPECT_EQ(SelectedItem(Root()->OpenViewerView()), first_);
        script_.Key(VK_DOWN);
    });
    script_.Then([&] {
        EXPECT_EQ(SelectedItem(Root()->OpenViewerView()), second_);
        script_.Key(VK_ESCAPE);
    });
    script_.Then([&] {
        childClosed = Root()->OpenViewerView() == nullptr;
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_TRUE(childOpen);
    EXPECT_TRUE(childClosed);
}

TEST_F(MenuLoopTest, OpeningASubmenuByKeyKeepsItsItemSelectedThroughout) {
    std::vector<bool> selects;
    recent_->OnSelect = On<void(TBarCustomItem*, TBarItemViewer*, bool)>(
        [&](TBarCustomItem*, TBarItemViewer*, bool Selecting) { selects.push_back(Selecting); });
    TBarCustomItem* selected = nullptr;
    script_.Then([&] { script_.Char(L'r'); });
    script_.Then([&] {
        selected = SelectedItem(Root());
        script_.Key(VK_ESCAPE);
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_EQ(selected, recent_);
    // Selected once, left once as the menu closed; never dropped while opening.
    ASSERT_FALSE(selects.empty());
    EXPECT_EQ(selects.front(), true);
    EXPECT_EQ(std::count(selects.begin(), selects.end(), true), 1);
}

TEST_F(MenuLoopTest, SubmenuItemIsClickedAfterTheLoopUnwinds) {
    int clicks = 0;
    bool loopGone = false;
    second_->OnClick = On<void(TObject*)>([&](TObject*) {
        ++clicks;
        loopGone = RunningMenuLoopView() == nullptr;
    });
    script_.Then([&] { script_.Char(L'r'); });
    script_.Then([&] { script_.Char(L'e'); });
    script_.Start();
    EXPECT_EQ(Run(false), second_);
    EXPECT_EQ(clicks, 0);
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(loopGone);
}

TEST_F(MenuLoopTest, SubmenuDelayIsSteppedByTimerMessages) {
    bool opened = false, closed = false;
    script_.Then([&] {
        Root()->Select(Root()->Find(recent_), true);  // as the mouse would, with the open timer running
        EXPECT_TRUE(Root()->TimerRunning(tiOpen));
        script_.Post(WM_TIMER, BarViewTimerBase + tiOpen);
    });
    script_.Then([&] {
        // The posted timer went to the script window: not the popup's, so it
        // is dispatched and nothing opens yet.
        EXPECT_EQ(Root()->OpenViewerView(), nullptr);
        PostMessageW(Root()->Window()->Handle(), WM_TIMER, BarViewTimerBase + tiOpen, 0);
    });
    script_.Then([&] {
        opened = Root()->OpenViewerView() != nullptr;
        Root()->Select(Root()->Find(save_), true);
        PostMessageW(Root()->Window()->Handle(), WM_TIMER, BarViewTimerBase + tiClose, 0);
    });
    script_.Then([&] {
        closed = Root()->OpenViewerView() == nullptr;
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    Run();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(closed);
}

TEST_F(MenuLoopTest, PostedQuitEndsTheLoopAndStaysQueued) {
    script_.Then([] { PostQuitMessage(7); });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(MenuLoopTest, MenusOneAfterAnotherShareOneLoopWindowAndAMenuInsideALoopHasItsOwn) {
    HWND first = nullptr, second = nullptr, inner = nullptr;
    script_.Then([&] {
        first = GetCapture();
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);

    auto* other = Create<TBarPopupMenu>(form_);
    auto* item = Create<TBarCustomItem>(form_);
    item->SetCaption("Other");
    other->Items()->Add(item);
    TMenuScript nested;
    nested.Then([&] {
        inner = GetCapture();
        nested.Key(VK_ESCAPE);
    });
    const long user = UserHandleCount();
    script_.Then([&] {
        second = GetCapture();
        nested.Start();
        other->PopupEx(200, 200, true);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_NE(inner, nullptr);
    EXPECT_NE(inner, first);
    EXPECT_EQ(UserHandleCount(), user);
}

TEST_F(MenuLoopTest, CancelModeCaptureLossAndOutsidePressEndTheLoop) {
    script_.Then([] { SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0); });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);

    script_.Then([] { ReleaseCapture(); });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);

    script_.Then([&] {
        SetCursorPos(20, 20);
        PostMessageW(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
}

// Puts a press into the queue just after the loop has peeked at a timer
// message and before it takes one: posted messages come before timers, so
// the press is what the loop takes. Posted to the capture window, it comes
// as the system routes a real press while the menu holds the mouse.
struct TPressBetweenPeeks {
    static constexpr UINT_PTR TimerId = 77;
    static inline POINT At{};
    static inline bool Posted = false;
    static LRESULT CALLBACK Hook(int Code, WPARAM Remove, LPARAM LParam) {
        const auto* msg = reinterpret_cast<const MSG*>(LParam);
        if (Code == HC_ACTION && !(Remove & PM_REMOVE) && !Posted && msg->message == WM_TIMER &&
            msg->wParam == TimerId) {
            Posted = true;
            KillTimer(msg->hwnd, TimerId);
            HWND capture = GetCapture();
            POINT p = At;
            ScreenToClient(capture, &p);
            PostMessageW(capture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        }
        return CallNextHookEx(nullptr, Code, Remove, LParam);
    }
};

class TPressCounter : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Presses = 0;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_LBUTTONDOWN) ++Presses;
        TCustomControl::WndProc(Message);
    }
};

TEST_F(MenuLoopTest, APressTakenBetweenTheTwoPeeksReachesTheWindowBelow) {
    auto* below = Create<TPressCounter>(form_);
    below->SetBounds(0, 0, 40, 30);
    below->SetParent(form_);
    Application->ProcessMessages();
    POINT at{20, 15};
    ClientToScreen(below->Handle(), &at);
    TPressBetweenPeeks::At = at;
    TPressBetweenPeeks::Posted = false;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &TPressBetweenPeeks::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    script_.Then([&] {
        SetCursorPos(at.x, at.y);
        SetTimer(form_->Handle(), TPressBetweenPeeks::TimerId, 10, nullptr);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    UnhookWindowsHookEx(hook);
    Application->ProcessMessages();
    SetCursorPos(5, 5);
    EXPECT_TRUE(TPressBetweenPeeks::Posted);
    EXPECT_EQ(below->Presses, 1);
}

TEST_F(MenuLoopTest, TheFirstReleaseAfterARightClickPopupIsIgnored) {
    bool stillOpen = false;
    script_.Then([&] {
        RECT r;
        GetWindowRect(Root()->Window()->Handle(), &r);
        SetCursorPos(r.left + 20, r.top + 8);
        script_.Post(WM_RBUTTONUP);
    });
    script_.Then([&] {
        stillOpen = true;
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_TRUE(stillOpen);
    SetCursorPos(5, 5);
}

TEST_F(MenuLoopTest, AnOnPopupThatClearsTheParentsItemsOpensNothing) {
    recent_->OnPopup = On<void(TBarCustomItem*, bool)>([&](TBarCustomItem*, bool) {
        TBarCustomItem* root = menu_->Items();
        while (root->Count()) root->Items(root->Count() - 1)->Free();
    });
    bool noChild = false;
    script_.Then([&] { script_.Char(L'r'); });
    script_.Then([&] {
        noChild = Root()->OpenViewerView() == nullptr;
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_TRUE(noChild);
}

TEST_F(MenuLoopTest, HandlersThatTakeTheirItemOutOfTheMenuOpenAndRunNothing) {
    TExceptionEvent oldHandler = Application->OnException;
    int reported = 0;
    Application->OnException =
        On<void(TObject*, const Exception&)>([&](TObject*, const Exception&) { ++reported; });
    TBarCustomItem* root = menu_->Items();
    recent_->OnPopup = On<void(TBarCustomItem*, bool)>([&](TBarCustomItem*, bool) { root->Remove(recent_); });
    save_->OnSelect = On<void(TBarCustomItem*, TBarItemViewer*, bool)>(
        [&](TBarCustomItem*, TBarItemViewer*, bool Selecting) {
            if (Selecting) root->Remove(save_);
        });
    bool noChild = false;
    script_.Then([&] { script_.Char(L'r'); });  // its popup removes Recent
    script_.Then([&] {
        noChild = Root()->OpenViewerView() == nullptr;
        script_.Char(L's');  // selecting removes Save
    });
    script_.Then([&] { script_.Key(VK_ESCAPE); });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    Application->OnException = oldHandler;
    EXPECT_TRUE(noChild);
    EXPECT_EQ(root->IndexOf(recent_), -1);
    EXPECT_EQ(root->IndexOf(save_), -1);
    EXPECT_EQ(reported, 0);
    EXPECT_EQ(script_.Remaining(), 0);
}

// An item class that does its own work when its popup opens.
class TCountingPopupItem : public TBarCustomItem {
    VX_CLASS(TCountingPopupItem, TBarCustomItem)
public:
    using TBarCustomItem::TBarCustomItem;
    int Popups = 0;
    void DoPopup(TBarCustomItem* Sender, bool FromLink) override {
        ++Popups;
        inherited::DoPopup(Sender, FromLink);
    }
};

TEST_F(MenuLoopTest, OpeningASubmenuGoesThroughTheItemsOwnDoPopup) {
    auto* tools = Create<TCountingPopupItem>(form_);
    tools->SetCaption("&Tools");
    tools->SetItemStyle(tools->ItemStyle() | isfSubmenu);
    menu_->Items()->Add(tools);
    Add("&Options", tools);
    bool open = false;
    script_.Then([&] { script_.Char(L't'); });
    script_.Then([&] {
        open = Root()->OpenViewerView() != nullptr;
        script_.Key(VK_ESCAPE);
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_TRUE(open);
    EXPECT_EQ(tools->Popups, 1);
}

TEST_F(MenuLoopTest, DeletingAnItemWhosePopupIsOpen) {
    bool closed = false;
    script_.Then([&] { script_.Char(L'r'); });
    script_.Then([&] {
        recent_->Free();
        closed = Root()->OpenViewerView() == nullptr;
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    EXPECT_TRUE(closed);
}

TEST_F(MenuLoopTest, AnExceptionFromAHandlerLeavesTheLoopRunning) {
    TExceptionEvent oldHandler = Application->OnException;
    int reported = 0;
    Application->OnException =
        On<void(TObject*, const Exception&)>([&](TObject*, const Exception&) { ++reported; });
    recent_->OnPopup =
        On<void(TBarCustomItem*, bool)>([](TBarCustomItem*, bool) { throw Exception("broken handler"); });
    bool running = false;
    script_.Then([&] { script_.Char(L'r'); });
    script_.Then([&] {
        running = RunningMenuLoopView() != nullptr && GetCapture() != nullptr;
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    Application->OnException = oldHandler;
    EXPECT_EQ(reported, 1);
    EXPECT_TRUE(running);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MenuLoopTest, TheStatusHintFollowsTheSelectionAndClearsAfterwards) {
    save_->SetHint("Save|Writes the file");
    std::wstring seen;
    script_.Then([&] {
        script_.Key(VK_DOWN);
        script_.Key(VK_DOWN);
    });
    script_.Then([&] {
        seen = HintManager()->Hint();
        script_.Key(VK_ESCAPE);
    });
    script_.Start();
    Run();
    EXPECT_EQ(seen, L"Writes the file");
    EXPECT_EQ(HintManager()->Hint(), L"");
}

// Records the menu sounds, each with whether a menu window was on screen
// when it started, and the clicks between them.
class TMenuSoundLog : public TSoundService {
public:
    std::vector<std::string> Log;
    bool Play(const std::string& Sound, HMODULE, DWORD Flags) override {
        bool shown = false;
        EnumThreadWindows(GetCurrentThreadId(), &TMenuSoundLog::FindShownMenu,
                          reinterpret_cast<LPARAM>(&shown));
        Log.push_back(Sound + (shown ? " over the menu" : ""));
        EXPECT_EQ(Flags, static_cast<DWORD>(SND_ALIAS | SND_ASYNC | SND_NODEFAULT | SND_NOSTOP)) << Sound;
        return true;
    }

private:
    static BOOL CALLBACK FindShownMenu(HWND Wnd, LPARAM Shown) {
        if (IsWindowVisible(Wnd) && dynamic_cast<TBarPopupWindow*>(FindControl(Wnd)))
            *reinterpret_cast<bool*>(Shown) = true;
        return TRUE;
    }
};

// The older family plays menu sounds without asking the sound scheme.
class TOlderWindows : public TOSVersionService {
public:
    TOSVersionInfo Version() override { return {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0, ""}; }
};

TEST_F(MenuLoopTest, MenuSoundsGoThroughTheSoundServiceInTheirOrder) {
    TMenuSoundLog sounds;
    TOlderWindows older;
    TServiceOverride<TSoundService> useSounds(sounds);
    TServiceOverride<TOSVersionService> useVersion(older);
    save_->OnClick = On<void(TObject*)>([&](TObject*) { sounds.Log.push_back("click"); });
    ResetFirstMenuPopupSound();
    script_.Then([&] { script_.Char(L's'); });
    script_.Start();
    EXPECT_EQ(Run(false), save_);
    Application->ProcessMessages();
    script_.Then([&] { script_.Key(VK_ESCAPE); });
    script_.Start();
    EXPECT_EQ(Run(), nullptr);
    // The process's first popup sound starts once its menu shows, later ones
    // just before; a click chosen in a menu sounds before it runs.
    EXPECT_EQ(sounds.Log,
              (std::vector<std::string>{"MenuPopup over the menu", "MenuCommand", "click", "MenuPopup"}));
}

TEST(MenuCharacters, AWideCharacterBecomesOneByteOrNothing) {
    EXPECT_EQ(BarAnsiChar(L'x'), 'x');
    const UINT codePage = GetInputLocaleCodePage();
    if (codePage == 1252 || codePage == 0) {
        EXPECT_EQ(BarAnsiChar(L'\u00e4'), '\xe4');
    }
    // A character the code page cannot hold in one byte matches nothing.
    EXPECT_EQ(BarAnsiChar(L'\u4e00'), 0);
}

TEST_F(MenuLoopTest, TheMenusOwnOnPopupFires) {
    int popups = 0;
    menu_->OnPopup = On<void(TObject*)>([&](TObject* Sender) {
        EXPECT_EQ(Sender, menu_);
        ++popups;
    });
    script_.Then([&] { script_.Key(VK_ESCAPE); });
    script_.Start();
    Run();
    EXPECT_EQ(popups, 1);
}

}  // namespace
