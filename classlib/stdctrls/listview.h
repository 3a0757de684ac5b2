// `TListView` over the common controls' list view: report view with columns,
// check boxes, row select and grid lines; items with a caption, sub-items, a
// checked and a selected state that survive the window; `OnCustomDrawItem`
// choosing each row's font and colours; `OnItemChecked` when the user ticks
// or unticks a row; and `TListItemsUpdate`, one repaint for many changes.
#pragma once

#include <vector>

#include "classlib/core/collection.h"
#include "classlib/core/strings.h"
#include "classlib/windows/alignment.h"
#include "classlib/windows/controls.h"

class TCustomListView;
class TListItems;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

enum TCustomDrawStateFlag {
    cdsSelected,
    cdsGrayed,
    cdsDisabled,
    cdsChecked,
    cdsFocused,
    cdsDefault,
    cdsHot,
    cdsMarked,
    cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateFlag>;

class TListColumn : public TCollectionItem {
    VX_CLASS(TListColumn, TCollectionItem)
public:
    explicit TListColumn(TCollection* Collection) : inherited(Collection) {}

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    // The window's width once the user may have dragged it.
    int Width() const;
    void SetWidth(int Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    void Assign(TPersistent* Source) override;

protected:
    std::string GetDisplayName() const override { return caption_; }

private:
    friend class TListColumns;
    TCustomListView* ListView() const;

    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TListColumns : public TCollection {
    VX_CLASS(TListColumns, TCollection)
public:
    explicit TListColumns(TCustomListView* AOwner);

    TListColumn* Add() { return static_cast<TListColumn*>(inherited::Add()); }
    TListColumn* Items(int Index) const { return static_cast<TListColumn*>(inherited::Items(Index)); }
    TCustomListView* Owner() const { return owner_; }

protected:
    TPersistent* GetOwner() const override;
    void Update(TCollectionItem* Item) override;
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;

private:
    friend class TCustomListView;
    friend class TListColumn;
    // Puts every column into a new window.
    void FillWindow(HWND Window);
    // Keeps the widths the user dragged before the window goes.
    void SaveWidths();

    TCustomListView* owner_;
};

class TListItem : public TPersistent {
    VX_CLASS(TListItem, TPersistent)
public:
    explicit TListItem(TListItems* AOwner);

    TListItems* Owner() const { return owner_; }
    TCustomListView* ListView() const;
    // Position in the list, -1 once it has left it.
    int Index() const;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& Value);
    // The texts of columns 1, 2, ...
    TStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(TStrings* Value) { subItems_->Assign(Value); }
    bool Checked() const;
    void SetChecked(bool Value);
    bool Selected() const;
    void SetSelected(bool Value);
    bool Focused() const;
    void SetFocused(bool Value);
    void* Data() const { return data_; }
    void SetData(void* Value) { data_ = Value; }

    // Leaves the list and is freed.
    void Delete();
    void MakeVisible(bool PartialOK);
    // Repaints the item's row.
    void Update();
    void Assign(TPersistent* Source) override;

private:
    friend class TListItems;
    friend class TCustomListView;
    class TSubItems;
    UINT StateBits(UINT Mask) const;
    void SetStateBits(UINT Mask, UINT Bits);

    TListItems* owner_;
    std::string caption_;
    TOwned<TStringList> subItems_;
    void* data_ = nullptr;
    // The states while there is no window (the window keeps them otherwise).
    bool checked_ = false;
    bool selected_ = false;
    bool focused_ = false;
};

class TListItems : public TPersistent {
    VX_CLASS(TListItems, TPersistent)
public:
    explicit TListItems(TCustomListView* AOwner) : owner_(AOwner) {}
    void BeforeDestruction() override;

    TCustomListView* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError "List index out of bounds (%d)".
    TListItem* Item(int Index) const;
    TListItem* operator[](int Index) const { return Item(Index); }
    int IndexOf(const TListItem* Value) const;

    TListItem* Add() { return Insert(Count()); }
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    // Nested; the window does not repaint until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    void Assign(TPersistent* Source) override;

protected:
    TPersistent* GetOwner() const override;

private:
    friend class TCustomListView;
    friend class TListItem;
    // Inserts the item (with its states) into the window at Index.
    void InsertIntoWindow(HWND Window, int Index, const TListItem* Item) const;

    TCustomListView* owner_;
    std::vector<TListItem*> items_;
    int updateCount_ = 0;
};

// BeginUpdate for as long as it lives, EndUpdate however the scope ends.
class TListItemsUpdate {
public:
    explicit TListItemsUpdate(TListItems* Items) : items_(Items) { items_->BeginUpdate(); }
    ~TListItemsUpdate() { items_->EndUpdate(); }
    TListItemsUpdate(const TListItemsUpdate&) = delete;
    TListItemsUpdate& operator=(const TListItemsUpdate&) = delete;

private:
    TListItems* items_;
};

using TLVCustomDrawItemEvent =
    TDelegate<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVSelectItemEvent = TDelegate<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVCheckedItemEvent = TDelegate<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl {
    VX_CLASS(TCustomListView, TWinControl)
public:
    explicit TCustomListView(TComponent* AOwner);
    void BeforeDestruction() override;

    TListColumns* Columns() const { return columns_.get(); }
    TListItems* Items() const { return items_.get(); }
    // A canvas on the row being drawn, for OnCustomDrawItem.
    TCanvas* Canvas() const { return canvas_.get(); }

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle Value);
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool Value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool Value);
    bool FlatScrollBars() const { return flatScrollBars_; }
    void SetFlatScrollBars(bool Value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);

    // The first selected item, or null; setting null clears the selection.
    TListItem* Selected() const;
    void SetSelected(TListItem* Value);
    TListItem* ItemFocused() const;
    // The first selected item's index, -1 when none is selected.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    int SelCount() const;

    void WndProc(TMessage& Message) override;

    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVSelectItemEvent OnSelectItem;
    // The user changed an item's check box.
    TLVCheckedItemEvent OnItemChecked;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    virtual bool CustomDrawItem(TListItem* Item, TCustomDrawState State);
    virtual void SelectItem(TListItem* Item, bool Selected);
    virtual void ItemChecked(TListItem* Item);

private:
    friend class TListItems;
    friend class TListItem;
    friend class TListColumns;
    DWORD ExtendedStyle() const;
    void UpdateExtendedStyle();
    void ApplyColors();
    LRESULT CustomDraw(NMLVCUSTOMDRAW& Draw);
    void ItemChanged(const NMLISTVIEW& Change);
    void GetDispInfo(LVITEMW& Item);
    // Our own state changes (filling a window, setting states) report
    // nothing as a user's change.
    bool internalChange_ = false;

    TOwned<TListColumns> columns_;
    TOwned<TListItems> items_;
    TOwned<TCanvas> canvas_;
    TViewStyle viewStyle_ = vsIcon;
    bool checkboxes_ = false;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool gridLines_ = false;
    bool hotTrack_ = false;
    bool flatScrollBars_ = false;
    bool multiSelect_ = false;
    bool hideSelection_ = true;
    bool showColumnHeaders_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    // The font chosen for the row being drawn, and the one it replaced.
    TFontHandle rowFont_;
    HGDIOBJ savedFont_ = nullptr;
    // Inside the list view's own handling of a left press.
    bool inLeftPress_ = false;
    bool clicked_ = false;
    std::wstring dispText_;
};

class TListView : public TCustomListView {
    VX_CLASS(TListView, TCustomListView)
public:
    using TCustomListView::TCustomListView;
};
