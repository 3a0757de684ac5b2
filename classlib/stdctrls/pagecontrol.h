// `TPageControl` over the common controls' tab control, holding `TTabSheet`
// pages: one page shows at a time, a page's tab can be hidden while the page
// can still be shown by index, and `OnChange` fires only when the user picks
// a tab (`OnChanging` may refuse it). A page's window is made when it first
// shows, and its `OnShow` fires just before each show.
#pragma once

#include <vector>

#include "classlib/windows/controls.h"

class TPageControl;

class TTabSheet : public TWinControl {
    VX_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* AOwner);

    TPageControl* PageControl() const { return pageControl_; }
    // Joins the page control (as its last page) or, with null, leaves it.
    void SetPageControl(TPageControl* Value);
    // Position among the pages, -1 outside a page control.
    int PageIndex() const;
    void SetPageIndex(int Value);
    // Position among the shown tabs, -1 when the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool Value);

    void WndProc(TMessage& Message) override;

    // The page comes to show (its window is there, not yet visible): what a
    // page needs only once seen can be made here.
    TNotifyEvent OnShow;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
};

using TTabChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
    VX_CLASS(TPageControl, TWinControl)
public:
    explicit TPageControl(TComponent* AOwner);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int Index) const { return pages_.at(static_cast<size_t>(Index)); }
    TTabSheet* ActivePage() const { return activePage_; }
    // Shows the page (hidden tab or not); no OnChange.
    void SetActivePage(TTabSheet* Value);
    int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
    // Out of range: no page shows.
    void SetActivePageIndex(int Value);
    // The next (or previous) page from CurPage, round the end; with
    // CheckTabVisible only pages whose tab shows.
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;

    void AdjustClientRect(TRect& Rect) override;
    // Only while a tab shows: the tabs are all it offers the keyboard.
    bool CanFocus() override;
    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    virtual bool CanChange();
    virtual void Change();

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void MovePage(TTabSheet* Page, int Index);
    void ChangeActivePage(TTabSheet* Page);
    // Puts the tabs of the pages whose tab shows into the window.
    void UpdateTabs();
    void UpdateTabCaption(TTabSheet* Page);
    TTabSheet* PageOfTab(int TabIndex) const;

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};
