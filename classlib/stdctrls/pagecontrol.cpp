#include "classlib/stdctrls/pagecontrol.h"

#include <algorithm>

#include "classlib/stdctrls/commoncontrols.h"

// --- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle(
        {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csParentBackground});
    SetVisible(false);
    SetAlign(alClient);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    if (Value == pageControl_) return;
    SetParent(Value);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
    if (pageControl_) pageControl_->MovePage(this, Value);
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int index = 0;
    for (TTabSheet* page : pageControl_->pages_) {
        if (page == this) return index;
        if (page->tabVisible_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
    if (Value == tabVisible_) return;
    tabVisible_ = Value;
    if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::WndProc(TMessage& Message) {
    // Before the window shows, so that the page's first paint has what the
    // handler made; should the handler fail, the page stays hidden.
    if (Message.Msg == CM_SHOWINGCHANGED && Showing() && Assigned(OnShow)) OnShow(this);
    inherited::WndProc(Message);
    if (Message.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->UpdateTabCaption(this);
}

// --- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : inherited(AOwner) {
    InitCommonControlClasses(ICC_TAB_CLASSES);
    SetControlStyle({csAcceptsControls, csDoubleClicks});
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

void TPageControl::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, WC_TABCONTROLW);
    Params.Style |= WS_TABSTOP | WS_CLIPCHILDREN;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TPageControl::CreateHandleDone() {
    inherited::CreateHandleDone();
    UpdateTabs();
}

TTabSheet* TPageControl::PageOfTab(int TabIndex) const {
    for (TTabSheet* page : pages_)
        if (page->tabVisible_ && TabIndex-- == 0) return page;
    return nullptr;
}

void TPageControl::UpdateTabs() {
    if (HandleAllocated()) {
        SendMessageW(handle_, TCM_DELETEALLITEMS, 0, 0);
        int tab = 0;
        for (TTabSheet* page : pages_) {
            if (!page->tabVisible_) continue;
            std::wstring caption = page->GetWideText();
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageW(handle_, TCM_INSERTITEMW, static_cast<WPARAM>(tab++),
                         reinterpret_cast<LPARAM>(&item));
        }
        const int selected = activePage_ ? activePage_->TabIndex() : -1;
        SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
    // The tab rows decide the pages' area.
    Realign();
}

void TPageControl::UpdateTabCaption(TTabSheet* Page) {
    const int tab = Page->TabIndex();
    if (!HandleAllocated() || tab < 0) return;
    std::wstring caption = Page->GetWideText();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(handle_, TCM_SETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    Realign();
}

void TPageControl::AdjustClientRect(TRect& Rect) {
    inherited::AdjustClientRect(Rect);
    if (!HandleAllocated()) return;
    if (SendMessageW(handle_, TCM_GETITEMCOUNT, 0, 0) > 0) {
        SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(Rect.Win32()));
        return;
    }
    // Without tabs there is no tab row: the pages fill the frame.
    Rect = InflateRect(Rect, -4, -4);
}

bool TPageControl::CanFocus() {
    // Without a tab, a stop here would show no focus, do nothing, and read
    // to a screen reader as an empty tab list.
    return std::any_of(pages_.begin(), pages_.end(), [](TTabSheet* page) { return page->tabVisible_; }) &&
           inherited::CanFocus();
}

void TPageControl::InsertPage(TTabSheet* Page) {
    if (std::find(pages_.begin(), pages_.end(), Page) != pages_.end()) return;
    pages_.push_back(Page);
    Page->pageControl_ = this;
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
    auto it = std::find(pages_.begin(), pages_.end(), Page);
    if (it == pages_.end()) return;
    TTabSheet* next = activePage_ == Page ? FindNextPage(Page, true, false) : nullptr;
    if (next == Page) next = nullptr;
    pages_.erase(it);
    Page->pageControl_ = nullptr;
    if (activePage_ == Page) {
        activePage_ = nullptr;
        if (!ComponentState().Contains(csDestroying)) ChangeActivePage(next);
    }
    if (!ComponentState().Contains(csDestroying)) UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* Page, int Index) {
    auto it = std::find(pages_.begin(), pages_.end(), Page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    Index = std::clamp(Index, 0, static_cast<int>(pages_.size()));
    pages_.insert(pages_.begin() + Index, Page);
    UpdateTabs();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
    const int count = PageCount();
    if (count == 0) return nullptr;
    auto found = std::find(pages_.begin(), pages_.end(), CurPage);
    int start =
        found == pages_.end() ? (GoForward ? count - 1 : 0) : static_cast<int>(found - pages_.begin());
    int i = start;
    do {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet* page = pages_[static_cast<size_t>(i)];
        if (!CheckTabVisible || page->tabVisible_) return page;
    } while (i != start);
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (Value && Value->pageControl_ != this) return;
    ChangeActivePage(Value);
    if (HandleAllocated())
        SendMessageW(handle_, TCM_SETCURSEL, static_cast<WPARAM>(Value ? Value->TabIndex() : -1), 0);
}

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < PageCount() ? pages_[static_cast<size_t>(Value)] : nullptr);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
    if (Page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = Page;
    if (Page) {
        Page->BringToFront();
        Page->SetVisible(true);
    }
    if (old && old->pageControl_ == this) old->SetVisible(false);
}

bool TPageControl::CanChange() {
    bool allow = true;
    if (Assigned(OnChanging)) OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TPageControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_NOTIFY:
            switch (Message.LParamAs<NMHDR>()->code) {
                case TCN_SELCHANGING:
                    Message.Result = CanChange() ? FALSE : TRUE;
                    return;
                case TCN_SELCHANGE: {
                    const int tab = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
                    ChangeActivePage(PageOfTab(tab));
                    Change();
                    return;
                }
            }
            return;
        case CM_CONTROLCHANGE:
            if (auto* page = dynamic_cast<TTabSheet*>(reinterpret_cast<TControl*>(Message.WParam))) {
                if (Message.LParam)
                    InsertPage(page);
                else
                    RemovePage(page);
            }
            return;
        default:
            inherited::WndProc(Message);
    }
}
