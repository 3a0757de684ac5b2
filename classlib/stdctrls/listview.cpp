#include "classlib/stdctrls/listview.h"

#include <algorithm>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/commoncontrols.h"

namespace {

// The state image of a check box: 1 unticked, 2 ticked.
constexpr UINT CheckedState(bool Checked) {
    return INDEXTOSTATEIMAGEMASK(Checked ? 2 : 1);
}

class TInternalChange {
public:
    explicit TInternalChange(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~TInternalChange() { flag_ = old_; }
    TInternalChange(const TInternalChange&) = delete;
    TInternalChange& operator=(const TInternalChange&) = delete;

private:
    bool& flag_;
    bool old_;
};

int ColumnFormat(TAlignment Alignment) {
    return Alignment == taRightJustify ? LVCFMT_RIGHT : Alignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
}

}  // namespace

// --- columns

TCustomListView* TListColumn::ListView() const {
    auto* columns = dynamic_cast<TListColumns*>(Collection());
    return columns ? columns->Owner() : nullptr;
}

void TListColumn::SetCaption(const std::string& Value) {
    if (Value == caption_) return;
    caption_ = Value;
    Changed(false);
}

int TListColumn::Width() const {
    TCustomListView* view = ListView();
    if (view && view->HandleAllocated() && view->ViewStyle() == vsReport && Index() >= 0)
        return static_cast<int>(
            SendMessageW(view->Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    return width_;
}

void TListColumn::SetWidth(int Value) {
    width_ = Value;
    TCustomListView* view = ListView();
    if (view && view->HandleAllocated() && Index() >= 0)
        SendMessageW(view->Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(Index()), Value);
}

void TListColumn::SetAlignment(TAlignment Value) {
    if (Value == alignment_) return;
    alignment_ = Value;
    Changed(false);
}

void TListColumn::Assign(TPersistent* Source) {
    if (auto* column = dynamic_cast<TListColumn*>(Source)) {
        caption_ = column->caption_;
        width_ = column->Width();
        alignment_ = column->alignment_;
        Changed(false);
        return;
    }
    inherited::Assign(Source);
}

TListColumns::TListColumns(TCustomListView* AOwner) : inherited(TListColumn::ClassInfo()), owner_(AOwner) {}

TPersistent* TListColumns::GetOwner() const {
    return owner_;
}

void TListColumns::Update(TCollectionItem* Item) {
    if (!owner_->HandleAllocated()) return;
    HWND window = owner_->Handle();
    if (!Item) {
        SaveWidths();
        while (SendMessageW(window, LVM_DELETECOLUMN, 0, 0)) {
        }
        FillWindow(window);
        return;
    }
    auto* column = static_cast<TListColumn*>(Item);
    std::wstring caption = ToWide(column->caption_);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.fmt = ColumnFormat(column->alignment_);
    info.pszText = caption.data();
    SendMessageW(window, LVM_SETCOLUMNW, static_cast<WPARAM>(column->Index()),
                 reinterpret_cast<LPARAM>(&info));
}

void TListColumns::Notify(TCollectionItem* Item, TCollectionNotification Action) {
    inherited::Notify(Item, Action);
    if (!owner_->HandleAllocated()) return;
    HWND window = owner_->Handle();
    auto* column = static_cast<TListColumn*>(Item);
    if (Action == cnAdded) {
        std::wstring caption = ToWide(column->caption_);
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        info.fmt = ColumnFormat(column->alignment_);
        info.cx = column->width_;
        info.pszText = caption.data();
        SendMessageW(window, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column->Index()),
                     reinterpret_cast<LPARAM>(&info));
    } else if (Action == cnExtracting) {
        SendMessageW(window, LVM_DELETECOLUMN, static_cast<WPARAM>(column->Index()), 0);
    }
}

void TListColumns::FillWindow(HWND Window) {
    for (int i = 0; i < Count(); ++i) {
        TListColumn* column = Items(i);
        std::wstring caption = ToWide(column->caption_);
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        info.fmt = ColumnFormat(column->alignment_);
        info.cx = column->width_;
        info.pszText = caption.data();
        SendMessageW(Window, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
}

void TListColumns::SaveWidths() {
    for (int i = 0; i < Count(); ++i) Items(i)->width_ = Items(i)->Width();
}

// --- items

class TListItem::TSubItems : public TStringList {
    VX_CLASS(TSubItems, TStringList)
public:
    explicit TSubItems(TListItem* Item) : item_(Item) {}

protected:
    void Changed() override {
        inherited::Changed();
        if (UpdateCount() == 0) item_->Update();
    }

private:
    TListItem* item_;
};

TListItem::TListItem(TListItems* AOwner) : owner_(AOwner), subItems_(Create<TSubItems>(this)) {}

TCustomListView* TListItem::ListView() const {
    return owner_ ? owner_->Owner() : nullptr;
}

int TListItem::Index() const {
    return owner_ ? owner_->IndexOf(this) : -1;
}

void TListItem::SetCaption(const std::string& Value) {
    if (Value == caption_) return;
    caption_ = Value;
    Update();
}

void TListItem::Update() {
    TCustomListView* view = ListView();
    const int index = Index();
    if (!view || !view->HandleAllocated() || index < 0) return;
    HWND window = view->Handle();
    // Every text of the row comes from the item when the row is drawn.
    for (int column = 1; column <= subItems_->Count(); ++column) {
        LVITEMW text{};
        text.iSubItem = column;
        text.pszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(window, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text));
    }
    SendMessageW(window, LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

UINT TListItem::StateBits(UINT Mask) const {
    TCustomListView* view = ListView();
    const int index = Index();
    if (view && view->HandleAllocated() && index >= 0)
        return static_cast<UINT>(
            SendMessageW(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), Mask));
    UINT bits = 0;
    if (selected_) bits |= LVIS_SELECTED;
    if (focused_) bits |= LVIS_FOCUSED;
    bits |= CheckedState(checked_);
    return bits & Mask;
}

void TListItem::SetStateBits(UINT Mask, UINT Bits) {
    if (Mask & LVIS_SELECTED) selected_ = (Bits & LVIS_SELECTED) != 0;
    if (Mask & LVIS_FOCUSED) focused_ = (Bits & LVIS_FOCUSED) != 0;
    if (Mask & LVIS_STATEIMAGEMASK) checked_ = (Bits & LVIS_STATEIMAGEMASK) == CheckedState(true);
    TCustomListView* view = ListView();
    const int index = Index();
    if (!view || !view->HandleAllocated() || index < 0) return;
    LVITEMW state{};
    state.stateMask = Mask;
    state.state = Bits;
    SendMessageW(view->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
}

bool TListItem::Checked() const {
    return StateBits(LVIS_STATEIMAGEMASK) == CheckedState(true);
}

void TListItem::SetChecked(bool Value) {
    TCustomListView* view = ListView();
    if (!view) {
        checked_ = Value;
        return;
    }
    TInternalChange internal(view->internalChange_);
    SetStateBits(LVIS_STATEIMAGEMASK, CheckedState(Value));
}

bool TListItem::Selected() const {
    return StateBits(LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool Value) {
    SetStateBits(LVIS_SELECTED, Value ? LVIS_SELECTED : 0);
}

bool TListItem::Focused() const {
    return StateBits(LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool Value) {
    SetStateBits(LVIS_FOCUSED, Value ? LVIS_FOCUSED : 0);
}

void TListItem::Delete() {
    if (owner_ && Index() >= 0)
        owner_->Delete(Index());
    else
        Free();
}

void TListItem::MakeVisible(bool PartialOK) {
    TCustomListView* view = ListView();
    if (view && view->HandleAllocated() && Index() >= 0)
        SendMessageW(view->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index()), PartialOK);
}

void TListItem::Assign(TPersistent* Source) {
    if (auto* item = dynamic_cast<TListItem*>(Source)) {
        caption_ = item->caption_;
        data_ = item->data_;
        subItems_->Assign(item->subItems_.get());
        SetChecked(item->Checked());
        Update();
        return;
    }
    inherited::Assign(Source);
}

void TListItems::BeforeDestruction() {
    inherited::BeforeDestruction();
    std::vector<TListItem*> doomed;
    doomed.swap(items_);
    for (TListItem* item : doomed) item->Free();
}

TPersistent* TListItems::GetOwner() const {
    return owner_;
}

TListItem* TListItems::Item(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
    return items_[static_cast<size_t>(Index)];
}

int TListItems::IndexOf(const TListItem* Value) const {
    auto it = std::find(items_.begin(), items_.end(), Value);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TListItems::InsertIntoWindow(HWND Window, int Index, const TListItem* Item) const {
    LVITEMW info{};
    info.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    info.iItem = Index;
    info.pszText = LPSTR_TEXTCALLBACKW;
    info.lParam = reinterpret_cast<LPARAM>(Item);
    info.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    info.state = (Item->selected_ ? LVIS_SELECTED : 0) | (Item->focused_ ? LVIS_FOCUSED : 0);
    if (SendMessageW(Window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&info)) < 0)
        throw EOutOfResources("Unable to insert a list view item");
    // A new row always starts unticked.
    if (owner_->checkboxes_ && Item->checked_) {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = CheckedState(true);
        SendMessageW(Window, LVM_SETITEMSTATE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&state));
    }
    for (int column = 1; column <= Item->subItems_->Count(); ++column) {
        LVITEMW text{};
        text.iSubItem = column;
        text.pszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(Window, LVM_SETITEMTEXTW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&text));
    }
}

TListItem* TListItems::Insert(int Index) {
    if (Index < 0 || Index > Count()) throw EListError(Format("List index out of bounds (%d)", Index));
    TOwned<TListItem> item(Create<TListItem>(this));
    items_.insert(items_.begin() + Index, item.get());
    if (owner_->HandleAllocated()) {
        TInternalChange internal(owner_->internalChange_);
        try {
            InsertIntoWindow(owner_->Handle(), Index, item.get());
        } catch (...) {
            items_.erase(items_.begin() + Index);
            throw;
        }
    }
    return item.release();
}

void TListItems::Delete(int Index) {
    TListItem* item = Item(Index);
    if (owner_->HandleAllocated()) {
        TInternalChange internal(owner_->internalChange_);
        SendMessageW(owner_->Handle(), LVM_DELETEITEM, static_cast<WPARAM>(Index), 0);
    }
    items_.erase(items_.begin() + Index);
    item->owner_ = nullptr;
    item->Free();
}

void TListItems::Clear() {
    if (owner_->HandleAllocated()) {
        TInternalChange internal(owner_->internalChange_);
        SendMessageW(owner_->Handle(), LVM_DELETEALLITEMS, 0, 0);
    }
    std::vector<TListItem*> doomed;
    doomed.swap(items_);
    for (TListItem* item : doomed) {
        item->owner_ = nullptr;
        item->Free();
    }
}

void TListItems::BeginUpdate() {
    if (updateCount_++ == 0 && owner_->HandleAllocated())
        SendMessageW(owner_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ != 0 || !owner_->HandleAllocated()) return;
    SendMessageW(owner_->Handle(), WM_SETREDRAW, TRUE, 0);
    owner_->Invalidate();
}

void TListItems::Assign(TPersistent* Source) {
    if (auto* items = dynamic_cast<TListItems*>(Source)) {
        BeginUpdate();
        try {
            Clear();
            for (TListItem* item : items->items_) Add()->Assign(item);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    inherited::Assign(Source);
}

// --- the list view

TCustomListView::TCustomListView(TComponent* AOwner)
    : inherited(AOwner),
      columns_(Create<TListColumns>(this)),
      items_(Create<TListItems>(this)),
      canvas_(Create<TCanvas>()) {
    InitCommonControlClasses(ICC_LISTVIEW_CLASSES);
    // The list view tracks the mouse itself; clicks come as NM_CLICK.
    SetControlStyle({csSetCaption, csReflector});
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomListView::BeforeDestruction() {
    // The rows go before the window, which then has nothing to ask about.
    if (HandleAllocated()) {
        TInternalChange internal(internalChange_);
        SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
    }
    items_->Clear();
    inherited::BeforeDestruction();
}

void TCustomListView::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, WC_LISTVIEWW);
    Params.Style |= WS_TABSTOP | LVS_SHAREIMAGELISTS;
    static constexpr DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    Params.Style |= views[viewStyle_];
    if (!readOnly_) Params.Style |= LVS_EDITLABELS;
    if (!multiSelect_) Params.Style |= LVS_SINGLESEL;
    if (!hideSelection_) Params.Style |= LVS_SHOWSELALWAYS;
    if (!showColumnHeaders_) Params.Style |= LVS_NOCOLUMNHEADER;
    if (borderStyle_ != bsNone) Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

DWORD TCustomListView::ExtendedStyle() const {
    DWORD style = 0;
    if (checkboxes_) style |= LVS_EX_CHECKBOXES;
    if (rowSelect_) style |= LVS_EX_FULLROWSELECT;
    if (gridLines_) style |= LVS_EX_GRIDLINES;
    if (hotTrack_) style |= LVS_EX_TRACKSELECT;
    if (flatScrollBars_) style |= LVS_EX_FLATSB;
    return style;
}

void TCustomListView::UpdateExtendedStyle() {
    if (!HandleAllocated()) return;
    TInternalChange internal(internalChange_);
    SendMessageW(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(ExtendedStyle()));
}

void TCustomListView::ApplyColors() {
    if (!HandleAllocated()) return;
    const COLORREF back = ColorToRGB(Color());
    SendMessageW(handle_, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageW(handle_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageW(handle_, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
}

void TCustomListView::CreateHandleDone() {
    inherited::CreateHandleDone();
    TInternalChange internal(internalChange_);
    UpdateExtendedStyle();
    ApplyColors();
    columns_->FillWindow(handle_);
    SendMessageW(handle_, LVM_SETITEMCOUNT, static_cast<WPARAM>(items_->Count()), 0);
    for (int i = 0; i < items_->Count(); ++i) items_->InsertIntoWindow(handle_, i, items_->Item(i));
}

void TCustomListView::DestroyWnd() {
    // What the window holds survives it.
    columns_->SaveWidths();
    for (TListItem* item : items_->items_) {
        const UINT state = item->StateBits(LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK);
        item->selected_ = (state & LVIS_SELECTED) != 0;
        item->focused_ = (state & LVIS_FOCUSED) != 0;
        if (checkboxes_) item->checked_ = (state & LVIS_STATEIMAGEMASK) == CheckedState(true);
    }
    inherited::DestroyWnd();
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
    if (Value == viewStyle_) return;
    viewStyle_ = Value;
    if (HandleAllocated()) {
        static constexpr DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        const LONG style = GetWindowLongW(handle_, GWL_STYLE);
        SetWindowLongW(handle_, GWL_STYLE, static_cast<LONG>((style & ~LVS_TYPEMASK) | views[Value]));
        Invalidate();
    }
}

void TCustomListView::SetCheckboxes(bool Value) {
    if (Value == checkboxes_) return;
    if (HandleAllocated()) {
        // Turning the boxes on unticks every row: keep what was ticked.
        for (TListItem* item : items_->items_)
            item->checked_ = item->StateBits(LVIS_STATEIMAGEMASK) == CheckedState(true);
    }
    checkboxes_ = Value;
    UpdateExtendedStyle();
    if (Value && HandleAllocated())
        for (TListItem* item : items_->items_) item->SetChecked(item->checked_);
}

void TCustomListView::SetReadOnly(bool Value) {
    if (Value == readOnly_) return;
    readOnly_ = Value;
    RecreateWnd();
}

void TCustomListView::SetRowSelect(bool Value) {
    if (Value == rowSelect_) return;
    rowSelect_ = Value;
    UpdateExtendedStyle();
}

void TCustomListView::SetGridLines(bool Value) {
    if (Value == gridLines_) return;
    gridLines_ = Value;
    UpdateExtendedStyle();
}

void TCustomListView::SetHotTrack(bool Value) {
    if (Value == hotTrack_) return;
    hotTrack_ = Value;
    UpdateExtendedStyle();
}

void TCustomListView::SetFlatScrollBars(bool Value) {
    if (Value == flatScrollBars_) return;
    flatScrollBars_ = Value;
    UpdateExtendedStyle();
}

void TCustomListView::SetMultiSelect(bool Value) {
    if (Value == multiSelect_) return;
    multiSelect_ = Value;
    RecreateWnd();
}

void TCustomListView::SetHideSelection(bool Value) {
    if (Value == hideSelection_) return;
    hideSelection_ = Value;
    RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
    if (Value == showColumnHeaders_) return;
    showColumnHeaders_ = Value;
    RecreateWnd();
}

void TCustomListView::SetBorderStyle(TBorderStyle Value) {
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    RecreateWnd();
}

TListItem* TCustomListView::Selected() const {
    for (TListItem* item : items_->items_)
        if (item->Selected()) return item;
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* Value) {
    if (Value) {
        if (!multiSelect_)
            for (TListItem* item : items_->items_)
                if (item != Value && item->Selected()) item->SetSelected(false);
        Value->SetSelected(true);
        return;
    }
    for (TListItem* item : items_->items_)
        if (item->Selected()) item->SetSelected(false);
}

TListItem* TCustomListView::ItemFocused() const {
    for (TListItem* item : items_->items_)
        if (item->Focused()) return item;
    return nullptr;
}

int TCustomListView::ItemIndex() const {
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int Value) {
    if (Value < 0 || Value >= items_->Count()) {
        SetSelected(nullptr);
        return;
    }
    TListItem* item = items_->Item(Value);
    SetSelected(item);
    item->SetFocused(true);
}

int TCustomListView::SelCount() const {
    return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                          [](TListItem* item) { return item->Selected(); }));
}

bool TCustomListView::CustomDrawItem(TListItem* Item, TCustomDrawState State) {
    bool defaultDraw = true;
    if (Assigned(OnCustomDrawItem)) OnCustomDrawItem(this, Item, State, defaultDraw);
    return defaultDraw;
}

void TCustomListView::SelectItem(TListItem* Item, bool Selected) {
    if (Assigned(OnSelectItem)) OnSelectItem(this, Item, Selected);
}

void TCustomListView::ItemChecked(TListItem* Item) {
    if (Assigned(OnItemChecked)) OnItemChecked(this, Item);
}

LRESULT TCustomListView::CustomDraw(NMLVCUSTOMDRAW& Draw) {
    NMCUSTOMDRAW& paint = Draw.nmcd;
    switch (paint.dwDrawStage) {
        case CDDS_PREPAINT:
            return Assigned(OnCustomDrawItem) ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        case CDDS_ITEMPREPAINT: {
            const int index = static_cast<int>(paint.dwItemSpec);
            if (index < 0 || index >= items_->Count()) return CDRF_DODEFAULT;
            TListItem* item = items_->Item(index);
            TCustomDrawState state;
            if (paint.uItemState & CDIS_SELECTED) state.Include(cdsSelected);
            if (paint.uItemState & CDIS_GRAYED) state.Include(cdsGrayed);
            if (paint.uItemState & CDIS_DISABLED) state.Include(cdsDisabled);
            if (paint.uItemState & CDIS_CHECKED) state.Include(cdsChecked);
            if (paint.uItemState & CDIS_FOCUS) state.Include(cdsFocused);
            if (paint.uItemState & CDIS_DEFAULT) state.Include(cdsDefault);
            if (paint.uItemState & CDIS_HOT) state.Include(cdsHot);
            if (paint.uItemState & CDIS_MARKED) state.Include(cdsMarked);
            if (paint.uItemState & CDIS_INDETERMINATE) state.Include(cdsIndeterminate);
            TCanvas* canvas = canvas_.get();
            canvas->Lock();
            bool defaultDraw = true;
            try {
                canvas->SetHandle(paint.hdc);
                canvas->SetFont(Font());
                canvas->Brush()->SetColor(Color());
                canvas->Brush()->SetStyle(bsSolid);
                defaultDraw = CustomDrawItem(item, state);
            } catch (...) {
                canvas->SetHandle(nullptr);
                canvas->Unlock();
                throw;
            }
            canvas->SetHandle(nullptr);
            canvas->Unlock();
            if (!defaultDraw) return CDRF_SKIPDEFAULT;
            Draw.clrText = ColorToRGB(canvas->Font()->Color());
            Draw.clrTextBk = ColorToRGB(canvas->Brush()->Color());
            // The row's font lives until the row is drawn (ITEMPOSTPAINT).
            LOGFONTW font = canvas->Font()->LogFont();
            rowFont_.Reset(CreateFontIndirectW(&font));
            savedFont_ = SelectObject(paint.hdc, rowFont_.Get());
            return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
        }
        case CDDS_ITEMPOSTPAINT:
            if (savedFont_) SelectObject(paint.hdc, savedFont_);
            savedFont_ = nullptr;
            rowFont_.Reset();
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

void TCustomListView::ItemChanged(const NMLISTVIEW& Change) {
    if (!(Change.uChanged & LVIF_STATE) || Change.iItem < 0 || Change.iItem >= items_->Count()) return;
    if (internalChange_) return;
    TListItem* item = items_->Item(Change.iItem);
    const UINT changed = Change.uNewState ^ Change.uOldState;
    std::shared_ptr<bool> alive = alive_;
    if (changed & LVIS_SELECTED) SelectItem(item, (Change.uNewState & LVIS_SELECTED) != 0);
    if (*alive && checkboxes_ && (changed & LVIS_STATEIMAGEMASK) && (Change.uOldState & LVIS_STATEIMAGEMASK))
        ItemChecked(item);
}

void TCustomListView::GetDispInfo(LVITEMW& Item) {
    if (!(Item.mask & LVIF_TEXT) || !Item.pszText || Item.cchTextMax <= 0) return;
    if (Item.iItem < 0 || Item.iItem >= items_->Count()) {
        Item.pszText[0] = L'\0';
        return;
    }
    TListItem* item = items_->Item(Item.iItem);
    std::string text;
    if (Item.iSubItem == 0)
        text = item->caption_;
    else if (Item.iSubItem <= item->subItems_->Count())
        text = item->subItems_->Strings(Item.iSubItem - 1);
    dispText_ = ToWide(text);
    lstrcpynW(Item.pszText, dispText_.c_str(), Item.cchTextMax);
}

void TCustomListView::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_NOTIFY: {
            auto* header = Message.LParamAs<NMHDR>();
            switch (header->code) {
                case NM_CUSTOMDRAW:
                    Message.Result = CustomDraw(*Message.LParamAs<NMLVCUSTOMDRAW>());
                    return;
                case LVN_GETDISPINFOW:
                    GetDispInfo(Message.LParamAs<NMLVDISPINFOW>()->item);
                    return;
                case LVN_ITEMCHANGED:
                    ItemChanged(*Message.LParamAs<NMLISTVIEW>());
                    return;
                case NM_CLICK:
                    // Reported once the list view's own press handling ends.
                    if (inLeftPress_)
                        clicked_ = true;
                    else
                        Click();
                    return;
                case NM_DBLCLK:
                    DblClick();
                    return;
                default:
                    return;
            }
        }
        case WM_LBUTTONDOWN: {
            std::shared_ptr<bool> alive = alive_;
            inLeftPress_ = true;
            clicked_ = false;
            try {
                inherited::WndProc(Message);
            } catch (...) {
                if (*alive) inLeftPress_ = false;
                throw;
            }
            if (!*alive) return;
            inLeftPress_ = false;
            if (clicked_) {
                clicked_ = false;
                Click();
            }
            return;
        }
        case WM_SETFOCUS: {
            std::shared_ptr<bool> alive = alive_;
            inherited::WndProc(Message);
            // Without a focused row the list would take the focus and show
            // it nowhere: the chosen row, or else the first, carries the
            // focus rectangle (without being chosen).
            if (*alive && HandleAllocated() && SendMessageW(handle_, LVM_GETITEMCOUNT, 0, 0) > 0 &&
                SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) < 0) {
                const LRESULT chosen =
                    SendMessageW(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
                LVITEMW state{};
                state.stateMask = LVIS_FOCUSED;
                state.state = LVIS_FOCUSED;
                SendMessageW(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(chosen < 0 ? 0 : chosen),
                             reinterpret_cast<LPARAM>(&state));
            }
            return;
        }
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
            inherited::WndProc(Message);
            ApplyColors();
            return;
        default:
            inherited::WndProc(Message);
    }
}
