// Menus: a popup menu opened and chosen with real keys clicks the chosen
// item; a right click opens a control's menu when AutoPopup allows it;
// shortcuts are found through IsShortCut, and a focused control's key reaches
// the popup menus of the control and its parents before the form; the native
// menu shows each item's caption, shortcut and states; a menu, its items and
// their owners may be freed in any order.
#include "classlib/stdctrls/menus.h"

#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/panels.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

struct MenuEvents {
    std::vector<std::string> seen;
    void Click(TObject* Sender) { seen.push_back(static_cast<TMenuItem*>(Sender)->Caption()); }
    void Popup(TObject*) { seen.push_back("popup"); }
};

// Counts the living items, to tell that freeing left none behind.
class TCountedItem : public TMenuItem {
    VX_CLASS(TCountedItem, TMenuItem)
public:
    explicit TCountedItem(TComponent* AOwner) : TMenuItem(AOwner) { ++living; }
    static inline int living = 0;

protected:
    ~TCountedItem() override { --living; }
};

// Who owns the items of a menu.
enum class ItemOwner { Menu, OwnerBeforeMenu, OwnerAfterMenu, ParentItem, SiblingItem };

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

TEST_F(Menus, AMenuAndItsItemsAreFreedInAnyOrderWhoeverOwnsTheItems) {
    const char* names[] = {"menu", "owner before menu", "owner after menu", "parent item", "sibling item"};
    for (ItemOwner kind : {ItemOwner::Menu, ItemOwner::OwnerBeforeMenu, ItemOwner::OwnerAfterMenu,
                           ItemOwner::ParentItem, ItemOwner::SiblingItem}) {
        for (bool menuFirst : {true, false}) {
            const std::string what =
                std::string(names[static_cast<int>(kind)]) + (menuFirst ? ", menu freed" : ", owner freed");
            TOwned<TComponent> owner(Create<TComponent>(nullptr));
            auto make = [](TComponent* itemOwner) { return Create<TCountedItem>(itemOwner); };
            std::vector<TMenuItem*> early;
            if (kind == ItemOwner::OwnerBeforeMenu)
                for (int i = 0; i < 4; ++i) early.push_back(make(owner.get()));
            auto* menu = Create<TPopupMenu>(owner.get());
            TMenuItem *file = nullptr, *open = nullptr, *save = nullptr, *exit = nullptr;
            switch (kind) {
                case ItemOwner::Menu:
                    file = make(menu), open = make(menu), save = make(menu), exit = make(menu);
                    break;
                case ItemOwner::OwnerBeforeMenu:
                    file = early[0], open = early[1], save = early[2], exit = early[3];
                    break;
                case ItemOwner::OwnerAfterMenu:
                    file = make(owner.get()), open = make(owner.get()), save = make(owner.get());
                    exit = make(owner.get());
                    break;
                case ItemOwner::ParentItem:
                    file = make(menu), open = make(file), save = make(file), exit = make(menu);
                    break;
                case ItemOwner::SiblingItem:
                    exit = make(menu), file = make(exit), open = make(file), save = make(open);
                    break;
            }
            menu->Items()->Add(file);
            file->Add(open);
            file->Add(save);
            menu->Items()->Add(exit);
            menu->Handle();
            ASSERT_EQ(TCountedItem::living, 4) << what;
            if (menuFirst) {
                menu->Free();
                EXPECT_EQ(TCountedItem::living, 0) << what << ": the tree goes with its menu";
                EXPECT_EQ(owner->ComponentCount(), 0) << what;
            }
            owner.reset();
            EXPECT_EQ(TCountedItem::living, 0) << what;
        }
    }
}

TEST_F(Menus, AKeyReachesThePopupMenusOfTheControlAndItsParentsBeforeTheForm) {
    TForm* form = ActiveForm();
    auto* panel = Create<TPanel>(form);
    panel->SetParent(form);
    auto* edit = Create<TEdit>(form);
    edit->SetParent(panel);
    auto menuWith = [&](std::initializer_list<std::pair<const char*, WORD>> items) {
        auto* menu = Create<TPopupMenu>(owner_.get());
        for (auto [caption, key] : items) AddItem(menu->Items(), caption, ShortCut(key, {}));
        return menu;
    };
    edit->SetPopupMenu(menuWith({{"edit F7", VK_F7}}));
    panel->SetPopupMenu(menuWith({{"panel F7", VK_F7}, {"panel F8", VK_F8}}));
    form->SetPopupMenu(menuWith({{"form menu F8", VK_F8}, {"form menu F9", VK_F9}}));
    struct FormKeys {
        std::vector<std::string>* seen;
        void ShortCut(TMessage& Message, bool& Handled) {
            seen->push_back("form " + ShortCutToText(::ShortCut(Message.CharCode(), {})));
            Handled = true;
        }
    } formKeys{&events.seen};
    form->OnShortCut = TShortCutEvent(&formKeys, &FormKeys::ShortCut);
    const struct {
        WORD key;
        const char* heard;
    } cases[] = {{VK_F7, "edit F7"}, {VK_F8, "panel F8"}, {VK_F9, "form menu F9"}, {VK_F10, "form F10"}};
    for (const auto& c : cases) {
        events.seen.clear();
        PostMessageW(edit->Handle(), WM_KEYDOWN, c.key, 0);
        Pump();
        EXPECT_EQ(events.seen, std::vector<std::string>{c.heard}) << c.heard;
    }
}
