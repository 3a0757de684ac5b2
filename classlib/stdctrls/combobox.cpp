#include "classlib/stdctrls/combobox.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/commoncontrols.h"

// --- TComboBoxStrings

void TComboBoxStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) Error("List index out of bounds (%d)", index);
}

int TComboBoxStrings::Add(const std::string& text) {
    const int index = Count();
    Insert(index, text);
    return index;
}

void TComboBoxStrings::Insert(int index, const std::string& text) {
    if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
    if (combo_->HandleAllocated()) {
        const std::wstring wide = ToWide(text);
        const LRESULT at = SendMessageW(combo_->Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(wide.c_str()));
        if (at < 0) throw EOutOfResources("Insufficient memory for the combo box item");
    } else if (combo_->itemIndex_ >= index) {
        ++combo_->itemIndex_;
    }
    items_.insert(items_.begin() + index, Item{text, nullptr});
}

void TComboBoxStrings::Delete(int index) {
    CheckIndex(index);
    if (combo_->HandleAllocated()) {
        SendMessageW(combo_->Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    } else if (combo_->itemIndex_ == index) {
        combo_->itemIndex_ = -1;
    } else if (combo_->itemIndex_ > index) {
        --combo_->itemIndex_;
    }
    items_.erase(items_.begin() + index);
}

void TComboBoxStrings::Clear() {
    items_.clear();
    if (combo_->HandleAllocated())
        SendMessageW(combo_->Handle(), CB_RESETCONTENT, 0, 0);
    else
        combo_->itemIndex_ = -1;
}

int TComboBoxStrings::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(items_[static_cast<size_t>(i)].Text, text)) return i;
    return -1;
}

std::string TComboBoxStrings::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].Text;
}

void TComboBoxStrings::Put(int index, const std::string& text) {
    CheckIndex(index);
    TObject* object = items_[static_cast<size_t>(index)].Object;
    const int chosen = combo_->ItemIndex();
    Delete(index);
    InsertObject(index, text, object);
    if (chosen == index) combo_->SetItemIndex(index);
}

TObject* TComboBoxStrings::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].Object;
}

void TComboBoxStrings::PutObject(int index, TObject* object) {
    CheckIndex(index);
    items_[static_cast<size_t>(index)].Object = object;
}

void TComboBoxStrings::SetUpdateState(bool updating) {
    if (!combo_->HandleAllocated()) return;
    SendMessageW(combo_->Handle(), WM_SETREDRAW, !updating, 0);
    if (!updating) combo_->Refresh();
}

void TComboBoxStrings::FillWindow(HWND Window) const {
    for (const Item& item : items_) {
        const std::wstring wide = ToWide(item.Text);
        SendMessageW(Window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

// --- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : inherited(AOwner), items_(Create<TComboBoxStrings>(this)) {
    SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csReflector});
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, L"COMBOBOX");
    Params.Style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (style_) {
        case csDropDown:
            Params.Style |= CBS_DROPDOWN;
            break;
        case csSimple:
            Params.Style |= CBS_SIMPLE;
            break;
        case csDropDownList:
            Params.Style |= CBS_DROPDOWNLIST;
            break;
    }
    // The height a combo box is made with is its height when dropped down;
    // it then shrinks itself to one line.
    if (style_ != csSimple) Params.Height = height_ + dropDownCount_ * ScreenTextHeight(Font()) + 2;
}

void TCustomComboBox::CreateHandleDone() {
    inherited::CreateHandleDone();
    items_->FillWindow(handle_);
    if (itemIndex_ >= 0) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    // An edit keeps the text it had, chosen from the list or typed.
    if (style_ != csDropDownList && !text_.empty()) SetWindowTextW(handle_, text_.c_str());
}

void TCustomComboBox::DestroyWnd() {
    itemIndex_ = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    inherited::DestroyWnd();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    RecreateWnd();
}

int TCustomComboBox::ItemIndex() {
    return handle_ ? static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0)) : itemIndex_;
}

void TCustomComboBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= items_->Count()) Value = -1;
    if (handle_) {
        if (ItemIndex() != Value) SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
    } else {
        itemIndex_ = Value;
        text_ = Value >= 0 ? ToWide(items_->Strings(Value)) : std::wstring();
    }
}

void TCustomComboBox::SetDropDownCount(int Value) {
    if (Value == dropDownCount_) return;
    dropDownCount_ = Value;
    RecreateWnd();
}

bool TCustomComboBox::DroppedDown() {
    return handle_ && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    SendMessageW(Handle(), CB_SHOWDROPDOWN, Value, 0);
}

void TCustomComboBox::SetWideText(const std::wstring& Value) {
    if (style_ != csDropDownList) {
        inherited::SetWideText(Value);
        return;
    }
    if (Value == GetWideText()) return;
    SetItemIndex(items_->IndexOf(ToAnsi(Value)));
    Perform(CM_TEXTCHANGED);
}

void TCustomComboBox::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TCustomComboBox::Select() {
    if (Assigned(OnSelect))
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown() {
    if (Assigned(OnDropDown)) OnDropDown(this);
}

void TCustomComboBox::WndProc(TMessage& Message) {
    if (Message.Msg != CN_COMMAND) {
        inherited::WndProc(Message);
        return;
    }
    std::shared_ptr<bool> alive = alive_;
    switch (Message.WParamHi()) {
        case CBN_SELCHANGE: {
            // The edit shows the chosen item only after this notification:
            // give it the text now, so the handlers read the new one.
            const int index = ItemIndex();
            if (index >= 0 && style_ != csDropDownList) {
                const std::wstring text = ToWide(items_->Strings(index));
                SetWindowTextW(handle_, text.c_str());
            }
            Click();
            if (*alive) Select();
            break;
        }
        case CBN_EDITCHANGE:
            Change();
            break;
        case CBN_DROPDOWN:
            DropDown();
            break;
    }
}
