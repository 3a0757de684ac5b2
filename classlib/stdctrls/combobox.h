// `TComboBox` over the system COMBOBOX class: a drop-down list or an edit with
// a drop-down, whose `Items` stay in step with the window and survive it.
// A choice made by the user fires OnClick, then OnSelect (or, without one,
// OnChange); typing in the edit fires OnChange.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/strings.h"
#include "classlib/windows/controls.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox;

// The items of a combo box: ours, mirrored into the window while it exists.
class TComboBoxStrings : public TStrings {
    VX_CLASS(TComboBoxStrings, TStrings)
public:
    explicit TComboBoxStrings(TCustomComboBox* ComboBox) : combo_(ComboBox) {}

    int Count() const override { return static_cast<int>(items_.size()); }
    int Add(const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(const std::string& text) const override;

protected:
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;

private:
    friend class TCustomComboBox;
    struct Item {
        std::string Text;
        TObject* Object = nullptr;
    };
    void CheckIndex(int index) const;
    // Fills a new window with the items.
    void FillWindow(HWND Window) const;

    TCustomComboBox* combo_;
    std::vector<Item> items_;
};

class TCustomComboBox : public TWinControl {
    VX_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* AOwner);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle Value);
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    // -1: nothing chosen. Setting it fires no event.
    int ItemIndex();
    void SetItemIndex(int Value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value);
    bool DroppedDown();
    void SetDroppedDown(bool Value);
    // A drop-down list shows the chosen item: setting its text chooses the
    // item of that text (or none).
    void SetWideText(const std::wstring& Value) override;

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();

private:
    friend class TComboBoxStrings;
    TOwned<TComboBoxStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
};

class TComboBox : public TCustomComboBox {
    VX_CLASS(TComboBox, TCustomComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};
