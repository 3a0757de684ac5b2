// Menus: a popup menu opened and chosen with real keys clicks the chosen
// item; a right click opens a control's menu when AutoPopup allows it;
// shortcuts are found through IsShortCut; the native menu shows each item's
// caption, shortcut and states.
#include "classlib/menus.h"

#include "tests/classlib/windows/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

struct MenuEvents {
    std::vector<std::string> seen;
    void Click(TObject* Sender) { seen.push_back(static_cast<TMenuItem*>(Sender)->Caption()); }
    void Popup(TObject*) { seen.push_back("popup"); }
};

class Menus : public WindowTest {
protected:
    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = 0) {
        auto* item = Create<TMenuItem>(owner_.get());
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        item->OnClick = TNotifyEvent(&events, &MenuEvents::Click);
        parent->Add(item);
        return item;
    }
    // The tray menu of the program.
    TPopupMenu* TrayMenu() {
        auto* menu = Create<TPopupMenu>(owner_.get());
        menu->OnPopup = TNotifyEvent(&events, &MenuEvents::Popup);
        AddItem(menu->Items(), "&Show window")->SetDefault(true);
        AddItem(menu->Items(), "&Help");
        AddItem(menu->Items(), "-");
        AddItem(menu->Items(), "E&xit");
        return menu;
    }
    // Sends the keys once a menu shows (Esc after a while if none does).
    static std::thread KeysForMenu(std::vector<WORD> keys) {
        return std::thread([keys] {
            HWND menu = nullptr;
            for (int i = 0; i < 300 && !(menu && IsWindowVisible(menu)); ++i) {
                Sleep(10);
                menu = FindWindowW(L"#32768", nullptr);
            }
            Sleep(50);
            std::vector<INPUT> inputs;
            for (WORD key : keys) {
                inputs.push_back(KeyInput(key, false));
                inputs.push_back(KeyInput(key, true));
            }
            SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        });
    }
    TForm* ActiveForm() {
        TForm* form = NewForm(40, 40, 300, 200);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        return form;
    }

    MenuEvents events;
    TOwned<TComponent> owner_{Create<TComponent>(nullptr)};
};

// A key message as the message loop sees it, with Ctrl and Shift held as
// asked for the time of the call.
class HeldKeys {
public:
    HeldKeys(bool ctrl, bool shift) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

}  // namespace

TEST_F(Menus, APopupMenuChosenWithKeysClicksTheChosenItem) {
    ActiveForm();
    TPopupMenu* menu = TrayMenu();
    const struct {
        std::vector<WORD> keys;
        const char* chosen;
    } cases[] = {
        {{VK_DOWN, VK_DOWN, VK_RETURN}, "&Help"},
        {{VK_UP, VK_RETURN}, "E&xit"},
        {{'X'}, "E&xit"},
    };
    for (const auto& c : cases) {
        events.seen.clear();
        std::thread keys = KeysForMenu(c.keys);
        menu->Popup(120, 130);
        keys.join();
        ASSERT_TRUE(PumpUntil([&] { return events.seen.size() == 2; })) << c.chosen;
        EXPECT_EQ(events.seen, (std::vector<std::string>{"popup", c.chosen}));
        EXPECT_EQ(menu->PopupPoint(), Point(120, 130));
    }
}

TEST_F(Menus, ARightClickOpensTheControlsMenuWhenAutoPopupAllows) {
    TForm* form = ActiveForm();
    TPopupMenu* menu = TrayMenu();
    form->SetPopupMenu(menu);
    const TPoint at = form->ClientToScreen(Point(50, 50));
    std::thread keys = KeysForMenu({VK_ESCAPE});
    form->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), PointToLParam(at.X, at.Y));
    keys.join();
    Pump();
    EXPECT_EQ(events.seen, std::vector<std::string>{"popup"});
    EXPECT_EQ(menu->PopupComponent(), form);
    EXPECT_EQ(menu->PopupPoint(), at);

    events.seen.clear();
    menu->SetAutoPopup(false);
    form->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), PointToLParam(at.X, at.Y));
    EXPECT_TRUE(events.seen.empty());
}

TEST_F(Menus, ShortcutsAreFoundThroughIsShortCut) {
    auto* menu = Create<TPopupMenu>(owner_.get());
    AddItem(menu->Items(), "Save", ShortCut('S', {ssCtrl}));
    TMenuItem* file = AddItem(menu->Items(), "File");
    AddItem(file, "Print", ShortCut('P', {ssCtrl}));
    AddItem(menu->Items(), "Delete", ShortCut(VK_DELETE, {ssShift}))->SetEnabled(false);
    AddItem(menu->Items(), "Exit", ShortCut('X', {ssAlt}));
    const struct {
        WORD key;
        bool ctrl, shift, alt;
        bool found;
        std::vector<std::string> clicked;
    } cases[] = {
        {'S', true, false, false, true, {"Save"}}, {'P', true, false, false, true, {"File", "Print"}},
        {VK_DELETE, false, true, false, true, {}}, {'X', false, false, true, true, {"Exit"}},
        {'S', false, false, false, false, {}},     {'S', true, true, false, false, {}},
    };
    for (const auto& c : cases) {
        events.seen.clear();
        TMessage key{c.alt ? static_cast<UINT>(WM_SYSKEYDOWN) : static_cast<UINT>(WM_KEYDOWN), c.key,
                     c.alt ? (1 << 29) : 0, 0};
        bool found;
        {
            HeldKeys held(c.ctrl, c.shift);
            found = menu->IsShortCut(key);
        }
        EXPECT_EQ(found, c.found) << ShortCutToText(ShortCut(c.key, {}));
        EXPECT_EQ(events.seen, c.clicked) << ShortCutToText(ShortCut(c.key, {}));
    }
}

TEST_F(Menus, TheNativeMenuShowsCaptionsShortcutsAndStates) {
    auto* menu = Create<TPopupMenu>(owner_.get());
    TMenuItem* save = AddItem(menu->Items(), "&Save", ShortCut('S', {ssCtrl}));
    AddItem(menu->Items(), "-");
    AddItem(menu->Items(), "Hidden")->SetVisible(false);
    TMenuItem* off = AddItem(menu->Items(), "Off");
    off->SetEnabled(false);
    off->SetChecked(true);
    TMenuItem* more = AddItem(menu->Items(), "More");
    AddItem(more, "Inner");
    save->SetDefault(true);

    HMENU handle = menu->Handle();
    ASSERT_EQ(GetMenuItemCount(handle), 4) << "the hidden item is left out";
    auto text = [&](int position) {
        wchar_t buffer[64] = {};
        GetMenuStringW(handle, static_cast<UINT>(position), buffer, 64, MF_BYPOSITION);
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(0), L"&Save\tCtrl+S");
    EXPECT_EQ(GetMenuState(handle, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(text(2), L"Off");
    EXPECT_TRUE(GetMenuState(handle, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(handle, 2, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(GetMenuDefaultItem(handle, TRUE, 0), 0u);
    HMENU inner = GetSubMenu(handle, 3);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(more->Handle(), inner);
    EXPECT_EQ(GetMenuItemCount(inner), 1);
    EXPECT_EQ(GetMenuItemID(inner, 0), more->Items(0)->Command());

    // A change shows the next time the menu is built.
    off->SetEnabled(true);
    handle = menu->Handle();
    EXPECT_FALSE(GetMenuState(handle, 2, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(Menus, ItemsLeaveTheTreeWhenFreedAndEnterItOnlyOnce) {
    auto* menu = Create<TPopupMenu>(owner_.get());
    TMenuItem* first = AddItem(menu->Items(), "First");
    TMenuItem* second = AddItem(menu->Items(), "Second");
    EXPECT_THROW(menu->Items()->Add(second), EMenuError);
    EXPECT_THROW(menu->Items()->Items(5), EMenuError);
    const UINT command = second->Command();
    second->SetMenuIndex(0);
    EXPECT_EQ(menu->Items()->IndexOf(second), 0);
    EXPECT_EQ(menu->Items()->Find("first"), first);
    second->Free();
    EXPECT_EQ(menu->Items()->Count(), 1);
    // A command that arrives for an item gone is dropped.
    EXPECT_FALSE(menu->DispatchCommand(static_cast<WORD>(command)));
    EXPECT_TRUE(menu->DispatchCommand(static_cast<WORD>(first->Command())));
    EXPECT_EQ(events.seen, std::vector<std::string>{"First"});
}
