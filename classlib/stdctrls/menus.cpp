#include "classlib/stdctrls/menus.h"

#include <map>

#include "classlib/core/text.h"
#include "classlib/windows/accelerators.h"
#include "classlib/windows/allocatehwnd.h"

namespace {

// Command numbers (the low word of WM_COMMAND) of the living items.
class TCommandTable {
public:
    UINT Acquire(TMenuItem* Item) {
        for (UINT tries = 0; tries < 0xFFFF; ++tries) {
            next_ = next_ >= 0xFFFF ? 1 : next_ + 1;
            if (items_.emplace(next_, Item).second) return next_;
        }
        throw EMenuError("Out of menu command numbers");
    }
    void Release(UINT Command) { items_.erase(Command); }

private:
    std::map<UINT, TMenuItem*> items_;
    UINT next_ = 0;
};

TCommandTable& Commands() {
    static TCommandTable table;
    return table;
}

// Where the popup menus' commands arrive.
class TPopupList {
public:
    TPopupList() : window_(AllocateHWnd(TWndMethod(this, &TPopupList::WndProc))) {}
    ~TPopupList() { DeallocateHWnd(window_); }
    TPopupList(const TPopupList&) = delete;
    TPopupList& operator=(const TPopupList&) = delete;

    HWND Window() const { return window_; }
    void Add(TMenu* Menu) { menus_.push_back(Menu); }
    void Remove(TMenu* Menu) { std::erase(menus_, Menu); }

private:
    void WndProc(TMessage& Message) {
        switch (Message.Msg) {
            case WM_COMMAND:
                // A command posted for an item freed since is dropped.
                if (HIWORD(Message.WParam) == 0)
                    for (TMenu* menu : std::vector<TMenu*>(menus_))
                        if (menu->DispatchCommand(LOWORD(Message.WParam))) return;
                break;
            case WM_INITMENUPOPUP:
                for (TMenu* menu : std::vector<TMenu*>(menus_))
                    if (menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return;
                break;
        }
        Message.Result = DefWindowProcW(window_, Message.Msg, Message.WParam, Message.LParam);
    }

    HWND window_;
    std::vector<TMenu*> menus_;
};

TPopupList& PopupList() {
    static TPopupList list;
    return list;
}

// A control's right click opens its menu when the menu allows it.
bool ShowControlPopupMenu(TPopupMenu* Menu, TControl* Control, TPoint ScreenPos) {
    if (!Menu || !Menu->AutoPopup()) return false;
    Menu->SetPopupComponent(Control);
    Menu->Popup(ScreenPos.X, ScreenPos.Y);
    return true;
}

bool IsPopupMenuShortCut(TPopupMenu* Menu, TMessage& Message) {
    return Menu->IsShortCut(Message);
}

const struct TInstallPopupProcs {
    TInstallPopupProcs() {
        PopupMenuShowProc = &ShowControlPopupMenu;
        PopupMenuShortCutProc = &IsPopupMenuShortCut;
    }
} installPopupProcs;

}  // namespace

HWND PopupListWindow() {
    return PopupList().Window();
}

void TMenuHandle::Reset(HMENU menu) {
    if (menu == menu_) return;
    if (menu_) {
        DestroyMenu(menu_);
        classlib_detail::CountUser(-1);
    }
    menu_ = menu;
    if (menu_) classlib_detail::CountUser(1);
}

// --- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : inherited(AOwner), command_(Commands().Acquire(this)) {}

void TMenuItem::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) items_.back()->Free();
    Commands().Release(command_);
}

TMenuItem* TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
    return items_[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == Item) return static_cast<int>(i);
    return -1;
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    if (Item->parent_) throw EMenuError("Menu inserted twice");
    if (Index < 0 || Index > Count()) throw EMenuError("Menu index out of range");
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    MenuChanged(true);
}

void TMenuItem::Delete(int Index) {
    TMenuItem* item = Items(Index);
    items_.erase(items_.begin() + Index);
    item->parent_ = nullptr;
    item->ForgetHandles();
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item) {
    const int index = IndexOf(Item);
    if (index < 0) throw EMenuError("Sub-menu is not in menu");
    Delete(index);
}

void TMenuItem::Clear() {
    while (!items_.empty()) items_.back()->Free();
}

void TMenuItem::SetMenuIndex(int Value) {
    if (!parent_) return;
    TMenuItem* parent = parent_;
    const int count = parent->Count();
    if (Value < 0) Value = 0;
    if (Value >= count) Value = count - 1;
    if (Value == MenuIndex()) return;
    parent->Remove(this);
    parent->Insert(Value, this);
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
    const std::string wanted = StripHotkey(ACaption);
    for (TMenuItem* item : items_)
        if (AnsiSameText(StripHotkey(item->caption_), wanted)) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

void TMenuItem::SetCaption(const std::string& Value) {
    if (Value == caption_) return;
    caption_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == checked_) return;
    checked_ = Value;
    MenuChanged(false);
}

void TMenuItem::SetDefault(bool Value) {
    if (Value == default_) return;
    // One default per level.
    if (Value && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this) sibling->default_ = false;
    default_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    enabled_ = Value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool Value) {
    if (Value == visible_) return;
    visible_ = Value;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (Value == shortCut_) return;
    shortCut_ = Value;
    MenuChanged(true);
}

void TMenuItem::Click() {
    if (enabled_ && Assigned(OnClick)) OnClick(this);
}

void TMenuItem::MenuChanged(bool Rebuild) {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, this, Rebuild);
}

void TMenuItem::ForgetHandles() {
    handle_ = nullptr;
    for (TMenuItem* item : items_) item->ForgetHandles();
}

void TMenuItem::BuildInto(HMENU Menu) {
    handle_ = Menu;
    UINT position = 0;
    for (TMenuItem* item : items_) {
        item->handle_ = nullptr;
        if (!item->visible_) continue;
        if (item->IsLine()) {
            AppendMenuW(Menu, MF_SEPARATOR, 0, nullptr);
            ++position;
            continue;
        }
        std::wstring text = ToWide(item->caption_);
        if (item->shortCut_) text += L"\t" + ToWide(ShortCutToText(item->shortCut_));
        UINT flags = MF_STRING;
        if (item->checked_) flags |= MF_CHECKED;
        if (!item->enabled_) flags |= MF_GRAYED;
        UINT_PTR id = item->command_;
        if (!item->items_.empty()) {
            HMENU sub = CreatePopupMenu();
            item->BuildInto(sub);
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(sub);
        }
        AppendMenuW(Menu, flags, id, text.c_str());
        if (item->default_) SetMenuDefaultItem(Menu, position, TRUE);
        ++position;
    }
}

// --- TMenu

TMenu::TMenu(TComponent* AOwner) : inherited(AOwner), items_(Create<TMenuItem>(this)) {
    items_->menu_ = this;
    PopupList().Add(this);
}

void TMenu::BeforeDestruction() {
    PopupList().Remove(this);
    inherited::BeforeDestruction();
    // The tree goes now, while the menu is whole: each item freed tells its
    // menu of the change, and items owned by others leave the tree too.
    // Left to the owned components, the menu would be half gone by then.
    FreeAndNil(items_);
    handle_.Reset();
}

HMENU TMenu::Handle() {
    if (stale_ || !handle_.Get()) {
        items_->ForgetHandles();
        handle_.Reset(CreatePopupMenu());
        if (!handle_.Get()) throw EOutOfResources("Cannot create a menu");
        items_->BuildInto(handle_.Get());
        stale_ = false;
    }
    return handle_.Get();
}

void TMenu::MenuChanged(TObject*, TMenuItem*, bool) {
    // Checked and enabled states too are only written when the menu is built.
    stale_ = true;
}

TMenuItem* TMenu::FindItem(UINT Value, TFindItemKind Kind) const {
    std::vector<TMenuItem*> pending(items_->items_.rbegin(), items_->items_.rend());
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        switch (Kind) {
            case fkCommand:
                if (item->command_ == Value) return item;
                break;
            case fkHandle:
                if (item->handle_ && reinterpret_cast<UINT_PTR>(item->handle_) == Value) return item;
                break;
            case fkShortCut:
                if (item->shortCut_ != 0 && item->shortCut_ == Value) return item;
                break;
        }
        pending.insert(pending.end(), item->items_.rbegin(), item->items_.rend());
    }
    return nullptr;
}

bool TMenu::DispatchCommand(WORD ACommand) {
    TMenuItem* item = FindItem(ACommand, fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU AHandle) {
    TMenuItem* item =
        items_->handle_ == AHandle ? items_ : FindItem(reinterpret_cast<UINT_PTR>(AHandle), fkHandle);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TMessage& Message) {
    const TShortCut key = ::ShortCut(Message.CharCode(), KeyDataToShiftState(Message.LParam));
    if (key == 0) return false;
    // Each parent hears of it first, top down (it may fill its sub-menu);
    // when that moves the shortcut elsewhere, the search starts over.
    for (int round = 0; round < 8; ++round) {
        TMenuItem* item = FindItem(key, fkShortCut);
        if (!item) return false;
        std::vector<TMenuItem*> path;
        for (TMenuItem* p = item->parent_; p; p = p->parent_) path.insert(path.begin(), p);
        bool moved = false;
        for (TMenuItem* parent : path) {
            if (!parent->enabled_) return true;
            parent->Click();
            if (FindItem(key, fkShortCut) != item) {
                moved = true;
                break;
            }
        }
        if (moved) continue;
        item->Click();
        return true;
    }
    return false;
}

// --- TPopupMenu

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    if (Value == popupComponent_) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
    if (Assigned(OnPopup)) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
    static constexpr UINT alignments[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    static constexpr UINT buttons[] = {TPM_RIGHTBUTTON, TPM_LEFTBUTTON};
    popupPoint_ = Point(X, Y);
    DoPopup(this);
    HMENU menu = Handle();
    TrackPopupMenu(menu, alignments[alignment_] | buttons[trackButton_], X, Y, 0, PopupList().Window(),
                   nullptr);
}
