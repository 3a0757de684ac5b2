#include "toolbar/barview.h"

#include <algorithm>
#include <utility>

#include "classlib/graphics/handles.h"
#include "toolbar/baracc.h"
#include "toolbar/barconsts.h"
#include "toolbar/barsystem.h"

TBarView::TBarView(TComponent* AOwner, TBarView* AParentView, TBarCustomItem* AParentItem,
                   TWinControl* AWindow, bool AIsToolbar, bool ACustomizing, bool AUsePriorityList)
    : inherited(AOwner),
      customizing_(ACustomizing),
      isToolbar_(AIsToolbar),
      parentView_(AParentView),
      parentItem_(AParentItem),
      usePriorityList_(AUsePriorityList),
      window_(AWindow) {}

void TBarView::AfterConstruction() {
    inherited::AfterConstruction();
    if (parentItem_) {
        parentItem_->RegisterNotification(&TBarView::ParentItemNotify, this);
        parentItem_->FreeNotification(this);
    }
    LinkParentItem();
    RecreateAllViewers();
}

void TBarView::BeforeDestruction() {
    CloseChildPopup();
    for (int timer = tiOpen; timer <= tiScrollDown; ++timer) StopTimer(static_cast<TBarViewTimer>(timer));
    if (accObject_) {
        // Clients may hold the object longer; it answers E_FAIL from now on.
        accObject_->ClientIsDestroying();
        std::exchange(accObject_, nullptr)->Release();
    }
    if (parentView_ && parentView_->IsToolbar()) {
        parentView_->SetState(vsNoAnimation, true);
        if (parentView_->openViewer_) parentView_->Invalidate(parentView_->openViewer_);
    }
    if (curParentItem_) curParentItem_->UnregisterNotification(&TBarView::ItemNotify, this);
    if (parentItem_) parentItem_->UnregisterNotification(&TBarView::ParentItemNotify, this);
    selected_ = nullptr;
    priorityList_.clear();
    for (TBarItemViewer* viewer : viewers_) viewer->Free();
    viewers_.clear();
    if (parentView_) parentView_->NotifyFocusEvent();
    inherited::BeforeDestruction();
}

void TBarView::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == curParentItem_) {
        curParentItem_->UnregisterNotification(&TBarView::ItemNotify, this);
        curParentItem_ = nullptr;
    }
    if (AComponent == parentItem_) {
        parentItem_->UnregisterNotification(&TBarView::ParentItemNotify, this);
        parentItem_ = nullptr;
    }
    if (AComponent == window_) window_ = nullptr;
}

void TBarView::LinkParentItem() {
    TBarCustomItem* target = parentItem_ ? parentItem_->EffectiveItems() : nullptr;
    if (target == curParentItem_) return;
    if (curParentItem_) {
        curParentItem_->UnregisterNotification(&TBarView::ItemNotify, this);
        if (curParentItem_ != parentItem_) curParentItem_->RemoveFreeNotification(this);
    }
    curParentItem_ = target;
    if (curParentItem_) {
        curParentItem_->RegisterNotification(&TBarView::ItemNotify, this);
        curParentItem_->FreeNotification(this);
    }
}

// ---- viewers -------------------------------------------------------------------------

int TBarView::IndexOf(const TBarItemViewer* Viewer) const {
    auto it = std::find(viewers_.begin(), viewers_.end(), Viewer);
    return it == viewers_.end() ? -1 : static_cast<int>(it - viewers_.begin());
}

TBarItemViewer* TBarView::Find(TBarCustomItem* Item) {
    if (TBarItemViewer* viewer = ViewerOf(Item)) return viewer;
    throw EBarItemError(SBarViewerNotFound);
}

TBarItemViewer* TBarView::ViewerOf(const TBarCustomItem* Item) const {
    for (TBarItemViewer* viewer : viewers_)
        if (viewer->Item() == Item) return viewer;
    return nullptr;
}

TBarItemViewer* TBarView::ViewerFromPoint(TPoint P) {
    ValidatePositions();
    for (TBarItemViewer* viewer : viewers_)
        if (viewer->Show && viewer->BoundsRect.Contains(P)) return viewer;
    return nullptr;
}

int TBarView::InsertItemViewers(int Index, TBarCustomItem* AItem, bool AddToPriorityList, bool InsertAtTop,
                                int AGroupLevel) {
    if (AGroupLevel > BarMaxGroupLevel) return 0;
    InvalidatePositions();
    TBarItemViewer* viewer = AItem->CreateItemViewer(this, AGroupLevel);
    viewers_.insert(viewers_.begin() + Index, viewer);
    if (usePriorityList_ && AddToPriorityList) {
        if (InsertAtTop)
            priorityList_.insert(priorityList_.begin(), viewer);
        else
            priorityList_.push_back(viewer);
    }
    int inserted = 1;
    if (!customizing_ && (AItem->ItemStyle() & isfEmbeddedGroup)) {
        TBarCustomItem* children = AItem->EffectiveItems();
        for (int i = 0; i < children->Count(); ++i)
            inserted += InsertItemViewers(Index + inserted, children->Items(i), AddToPriorityList,
                                          InsertAtTop, AGroupLevel + 1);
    }
    return inserted;
}

void TBarView::RecreateAllViewers() {
    CloseChildPopup();
    selected_ = nullptr;
    InvalidatePositions();
    priorityList_.clear();
    for (TBarItemViewer* viewer : viewers_) viewer->Free();
    viewers_.clear();
    internalViewersAtFront_ = internalViewersAtEnd_ = 0;
    if (TBarCustomItem* leading = GetLeadingItem())
        internalViewersAtFront_ = InsertItemViewers(0, leading, false, false, 0);
    if (curParentItem_)
        for (int i = 0; i < curParentItem_->Count(); ++i)
            InsertItemViewers(ViewerCount(), curParentItem_->Items(i), true, false, 0);
    if (TBarCustomItem* trailing = GetTrailingGroupItem())
        for (int i = 0; i < trailing->Count(); ++i)
            internalViewersAtEnd_ += InsertItemViewers(ViewerCount(), trailing->Items(i), true, false, 0);
    if (TBarCustomItem* chevron = GetChevronItem())
        internalViewersAtEnd_ += InsertItemViewers(ViewerCount(), chevron, false, false, 0);
}

void TBarView::SetUsePriorityList(bool Value) {
    if (usePriorityList_ == Value) return;
    usePriorityList_ = Value;
    RecreateAllViewers();
}

void TBarView::FreeViewer(TBarItemViewer* Viewer) {
    // An open popup hangs on its viewer: it goes first.
    if (openViewer_ == Viewer) CloseChildPopup();
    if (selected_ == Viewer) selected_ = nullptr;
    priorityList_.erase(std::remove(priorityList_.begin(), priorityList_.end(), Viewer), priorityList_.end());
    viewers_.erase(std::remove(viewers_.begin(), viewers_.end(), Viewer), viewers_.end());
    Viewer->Free();
    InvalidatePositions();
}

void TBarView::DeletingItem(TBarCustomItem* AItem) {
    const int end = ViewerCount() - internalViewersAtEnd_;
    for (int i = internalViewersAtFront_; i < end; ++i) {
        TBarItemViewer* viewer = viewers_[static_cast<size_t>(i)];
        if (viewer->Item() != AItem) continue;
        const int level = viewer->GroupLevel();
        std::vector<TBarItemViewer*> doomed{viewer};
        for (int j = i + 1; j < end && viewers_[static_cast<size_t>(j)]->GroupLevel() > level; ++j)
            doomed.push_back(viewers_[static_cast<size_t>(j)]);
        for (TBarItemViewer* v : doomed) FreeViewer(v);
        return;
    }
}

void TBarView::InsertItemViewersFor(TBarCustomItem* Sender, int Index) {
    TBarCustomItem* item = Sender->Items(Index);
    const int end = ViewerCount() - internalViewersAtEnd_;
    int level = 0, first = internalViewersAtFront_, last = end;
    if (Sender != curParentItem_) {
        int group = -1;
        for (int i = internalViewersAtFront_; i < end; ++i) {
            TBarCustomItem* it = viewers_[static_cast<size_t>(i)]->Item();
            if ((it == Sender || it->LinkSubitems() == Sender) && (it->ItemStyle() & isfEmbeddedGroup)) {
                group = i;
                break;
            }
        }
        if (group < 0 || customizing_) return;
        level = viewers_[static_cast<size_t>(group)]->GroupLevel() + 1;
        first = last = group + 1;
        while (last < end && viewers_[static_cast<size_t>(last)]->GroupLevel() >= level) ++last;
    }
    int place = last;
    if (Index + 1 < Sender->Count()) {
        TBarCustomItem* next = Sender->Items(Index + 1);
        for (int i = first; i < last; ++i)
            if (viewers_[static_cast<size_t>(i)]->Item() == next &&
                viewers_[static_cast<size_t>(i)]->GroupLevel() == level) {
                place = i;
                break;
            }
    }
    const bool atTop = NewViewersGetHighestPriority && !item->ComponentState().Contains(csLoading);
    InsertItemViewers(place, item, true, atTop, level);
}

void TBarView::RecreateItemViewers(TBarCustomItem* AItem) {
    for (size_t i = 0; i < viewers_.size(); ++i) {
        TBarItemViewer* old = viewers_[i];
        if (old->Item() != AItem) continue;
        TBarItemViewer* viewer = AItem->CreateItemViewer(this, old->GroupLevel());
        viewers_[i] = viewer;
        std::replace(priorityList_.begin(), priorityList_.end(), old, viewer);
        // The new viewer takes over what pointed at the old one.
        if (selected_ == old) selected_ = viewer;
        if (openViewer_ == old) openViewer_ = viewer;
        old->Free();
    }
}

void TBarView::GivePriority(TBarItemViewer* Viewer) {
    if (!Viewer) return;
    if (chevronParentView_) {
        const int index = IndexOf(Viewer) + chevronParentView_->InternalViewersAtFront();
        if (index >= 0 && index < chevronParentView_->ViewerCount())
            chevronParentView_->GivePriority(chevronParentView_->Viewers(index));
    } else if (usePriorityList_) {
        auto it = std::find(priorityList_.begin(), priorityList_.end(), Viewer);
        if (it != priorityList_.end()) {
            priorityList_.erase(it);
            priorityList_.insert(priorityList_.begin(), Viewer);
            if (!validPositions_ || Viewer->OffEdge) {
                InvalidatePositions();
                ValidatePositions();
            }
        }
    }
    if (parentView_ && parentView_->openViewer_) parentView_->GivePriority(parentView_->openViewer_);
}

// ---- notifications ----------------------------------------------------------------------

void TBarView::ItemNotify(void* Data, TBarCustomItem* Sender, bool Relayed, TBarItemChangedAction Action,
                          int Index, TBarCustomItem* Item) {
    auto* view = static_cast<TBarView*>(Data);
    switch (Action) {
        case tbicInserted:
            view->InsertItemViewersFor(Sender, Index);
            break;
        case tbicDeleting:
            view->DeletingItem(Item);
            break;
        case tbicSubitemsChanged:
            if (Relayed) view->RecreateAllViewers();
            break;
        case tbicSubitemsBeginUpdate:
            view->BeginUpdate();
            break;
        case tbicSubitemsEndUpdate:
            view->EndUpdate();
            break;
        case tbicInvalidate:
            for (TBarItemViewer* viewer : view->viewers_)
                if (viewer->Item() == Item) view->Invalidate(viewer);
            break;
        case tbicInvalidateAndResize:
            view->InvalidatePositions();
            break;
        case tbicRecreateItemViewers:
            view->InvalidatePositions();
            view->RecreateItemViewers(Item);
            break;
        case tbicSubMenuImagesChanged:
            view->SubMenuImagesChanged();
            break;
        case tbicNameChanged:
            return;
    }
    view->TryValidatePositions();
}

void TBarView::ParentItemNotify(void* Data, TBarCustomItem* Sender, bool Relayed,
                                TBarItemChangedAction Action, int, TBarCustomItem*) {
    auto* view = static_cast<TBarView*>(Data);
    if (Relayed || Sender != view->parentItem_) return;
    if (Action == tbicSubitemsChanged) {
        TBarCustomItem* old = view->curParentItem_;
        view->LinkParentItem();
        if (view->curParentItem_ != old) view->RecreateAllViewers();
        view->TryValidatePositions();
    } else if (Action == tbicSubMenuImagesChanged && view->parentItem_ != view->curParentItem_) {
        view->SubMenuImagesChanged();
        view->TryValidatePositions();
    }
}

void TBarView::SubMenuImagesChanged() {
    InvalidatePositions();
    if (openViewerView_) openViewerView_->SubMenuImagesChanged();
}

// ---- layout ----------------------------------------------------------------------------------

void TBarView::EndUpdate() {
    if (updateCounter_ > 0 && --updateCounter_ == 0) TryValidatePositions();
}

void TBarView::TryValidatePositions() {
    if (updateCounter_ > 0) return;
    if (parentItem_ && (parentItem_->ComponentState().Contains(csLoading) ||
                        (parentItem_->Owner() && parentItem_->Owner()->ComponentState().Contains(csLoading))))
        return;
    ValidatePositions();
}

void TBarView::ValidatePositions() {
    if (!validPositions_) UpdatePositions();
}

void TBarView::UpdatePositions(TSize& Size) {
    Size = TSize{};
    DoUpdatePositions(Size);
}

TSize TBarView::UpdatePositions() {
    TSize size;
    UpdatePositions(size);
    return size;
}

void TBarView::InvalidatePositions() {
    if (!validPositions_) return;
    validPositions_ = false;
    if (window_ && window_->HandleAllocated()) InvalidateRect(window_->Handle(), nullptr, TRUE);
}

void TBarView::SetOrientation(TBarOrientation Value) {
    if (orientation_ == Value) return;
    orientation_ = Value;
    InvalidatePositions();
}

void TBarView::SetWrapOffset(int Value) {
    if (wrapOffset_ == Value) return;
    wrapOffset_ = Value;
    InvalidatePositions();
}

void TBarView::SetChevronParams(int AOffset, int ASize) {
    if (chevronOffset_ == AOffset && chevronSize_ == ASize) return;
    chevronOffset_ = AOffset;
    chevronSize_ = ASize;
    InvalidatePositions();
}

void TBarView::SetMaxHeight(int Value) {
    if (maxHeight_ == Value) return;
    maxHeight_ = Value;
    InvalidatePositions();
}

TRect TBarView::GetMargins(TBarOrientation AOrientation) {
    return AOrientation == boFloating ? TRect(4, 2, 4, 1) : TRect();
}

TFont* TBarView::GetFont() {
    static TOwned<TFont> fallback = MakeOwned<TFont>();
    return window_ ? window_->Font() : fallback.get();
}

void TBarView::AutoSize(int, int) {}

void TBarView::DoUpdatePositions(TSize& ASize) {
    const bool changed = CalculatePositions(true, orientation_, wrapOffset_, chevronOffset_, chevronSize_,
                                            baseSize_, ASize, wrappedLines_);
    validPositions_ = true;
    AutoSize(ASize.cx, ASize.cy);
    if (!changed) return;
    if (ComponentState().Contains(csDesigning))
        InvalidatePositions();
    else
        RepaintNow();
}

// Paints the whole client area through a bitmap, so a changed layout appears
// at once and without flicker.
void TBarView::RepaintNow() {
    if (!window_ || !window_->HandleAllocated()) return;
    HWND wnd = window_->Handle();
    RECT client;
    GetClientRect(wnd, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    ValidateRect(wnd, nullptr);
    TWindowDC windowDC(wnd);
    TMemoryDC memory(windowDC.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(windowDC.Get(), client.right, client.bottom));
    {
        TSelectObject select(memory.Get(), bitmap.Get());
        SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
        SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
        BitBlt(windowDC.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
    ValidateRect(wnd, nullptr);
}

bool TBarView::CalculatePositions(bool CanMoveControls, TBarOrientation AOrientation, int AWrapOffset,
                                  int AChevronOffset, int AChevronSize, TSize& ABaseSize, TSize& ATotalSize,
                                  int& AWrappedLines, int* AWidestLine) {
    const TBarOrientation savedOrientation = orientation_;
    orientation_ = AOrientation;
    struct Restore {
        TBarView* view;
        TBarOrientation orientation;
        ~Restore() { view->orientation_ = orientation; }
    } restore{this, savedOrientation};

    TBarCustomItem* chevronItem = GetChevronItem();
    int count = ViewerCount();
    TBarItemViewer* chevronViewer = nullptr;
    if (chevronItem && count > 0 && viewers_.back()->Item() == chevronItem) {
        chevronViewer = viewers_.back();
        --count;
    }

    TWindowDC screen;
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(screen.Get());
    TOwned<TFont> bold = MakeOwned<TFont>();
    bold->Assign(GetFont());
    bold->SetStyle(bold->Style() + TFontStyles{fsBold});

    std::vector<TBarLayoutItem> items(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TBarItemViewer* viewer = viewers_[static_cast<size_t>(i)];
        TBarCustomItem* item = viewer->Item();
        TBarLayoutItem& li = items[static_cast<size_t>(i)];
        auto* controlItem = dynamic_cast<TBarControlItem*>(item);
        li.Separator = (item->ItemStyle() & isfSeparator) != 0;
        li.Control = controlItem != nullptr;
        li.NoLineBreak = (item->ItemStyle() & isfNoLineBreak) != 0;
        li.RightAlign = (item->ItemStyle() & isfRightAlign) != 0;
        li.Stretch = (item->ItemStyle() & isfStretch) != 0;
        if (controlItem) {
            TControl* control = controlItem->Control();
            li.Wanted = control && window_ && control->Parent() == window_ &&
                        (control->Visible() || control->ComponentState().Contains(csDesigning));
        } else if ((item->ItemStyle() & isfEmbeddedGroup) && !customizing_) {
            li.Wanted = false;
        } else {
            li.Wanted = item->Visible();
        }
        if (chevronParentView_) {
            const int counterpart = i + chevronParentView_->InternalViewersAtFront();
            const bool offEdge = counterpart < chevronParentView_->ViewerCount() &&
                                 chevronParentView_->Viewers(counterpart)->OffEdge;
            li.Wanted = li.Wanted && !li.Control && (offEdge || li.Separator);
        }
        if (!li.Wanted) continue;
        if (controlItem) {
            li.Width = controlItem->Control()->Width();
            li.Height = controlItem->Control()->Height();
        } else {
            TOwned<TBarItemViewer> temporary;
            TBarItemViewer* measured = viewer;
            if (item->NeedToRecreateViewer(viewer)) {
                if (CanMoveControls) {
                    RecreateItemViewers(item);
                    measured = viewer = viewers_[static_cast<size_t>(i)];
                } else {
                    temporary.reset(item->CreateItemViewer(this, viewer->GroupLevel()));
                    measured = temporary.get();
                }
            }
            canvas->SetFont(item->EffectiveOptions().Contains(tboDefault) ? bold.get() : GetFont());
            int w = 0, h = 0;
            measured->CalcSize(canvas.get(), w, h);
            li.Width = w;
            li.Height = h;
        }
        li.ToolbarSized = viewer->IsToolbarSize();
        li.SameWidth = viewer->UsesSameWidth();
    }
    if (usePriorityList_)
        for (size_t p = 0; p < priorityList_.size(); ++p) {
            const int index = IndexOf(priorityList_[p]);
            if (index >= 0 && index < count) items[static_cast<size_t>(index)].Priority = static_cast<int>(p);
        }
    canvas->SetHandle(nullptr);

    TBarLayoutParams params;
    params.Orientation = AOrientation;
    params.IsToolbar = isToolbar_;
    params.IsChevronPopup = chevronParentView_ != nullptr;
    params.WrapOffset = AWrapOffset;
    params.ChevronOffset = AChevronOffset;
    params.ChevronSize = AChevronSize;
    params.HasChevron = chevronViewer != nullptr;
    params.Margins = GetMargins(AOrientation);
    params.MaxHeight = isToolbar_ ? 0 : maxHeight_;
    const TBarLayoutResult result = LayoutBarItems(items, params, ATotalSize, scrollOffset_);
    ABaseSize = result.BaseSize;
    ATotalSize = result.TotalSize;
    AWrappedLines = result.WrappedLines;
    if (AWidestLine) *AWidestLine = result.WidestLine;
    if (!CanMoveControls) return false;

    scrollOffset_ = result.ScrollOffset;
    showUpArrow_ = result.ShowUpArrow;
    showDownArrow_ = result.ShowDownArrow;
    if (chevronItem) chevronItem->SetEnabled(result.ChevronHasItems);
    bool changed = false;
    for (int i = 0; i < count; ++i) {
        TBarItemViewer* viewer = viewers_[static_cast<size_t>(i)];
        const TBarLayoutItem& li = items[static_cast<size_t>(i)];
        if (li.Control) {
            TControl* control = static_cast<TBarControlItem*>(viewer->Item())->Control();
            if (control && li.Show && control->BoundsRect() != li.BoundsRect) {
                control->SetBoundsRect(li.BoundsRect);
            } else if (control && (li.OffEdge || li.Clipped) && window_) {
                // Out of sight just past the client area, keeping its size.
                const TRect client = window_->ClientRect();
                control->SetBounds(client.Right, client.Bottom, control->Width(), control->Height());
            }
        }
        if (viewer->BoundsRect != li.BoundsRect || viewer->Show != li.Show || viewer->OffEdge != li.OffEdge ||
            viewer->Clipped != li.Clipped || viewer->LineSep != li.LineSep)
            changed = true;
        viewer->BoundsRect = li.BoundsRect;
        viewer->Show = li.Show;
        viewer->OffEdge = li.OffEdge;
        viewer->Clipped = li.Clipped;
        viewer->LineSep = li.LineSep;
    }
    if (chevronViewer) {
        const TRect rect = result.ChevronShown ? result.ChevronRect : TRect();
        if (chevronViewer->BoundsRect != rect || chevronViewer->Show != result.ChevronShown) changed = true;
        chevronViewer->BoundsRect = rect;
        chevronViewer->Show = result.ChevronShown;
    }
    return changed;
}

// ---- painting ------------------------------------------------------------------------------

bool TBarView::Repaintable(TBarItemViewer* Viewer) {
    return validPositions_ && window_ && window_->HandleAllocated() && Viewer && Viewer->Show &&
           !Viewer->BoundsRect.IsEmpty() && !dynamic_cast<TBarControlItem*>(Viewer->Item());
}

void TBarView::Invalidate(TBarItemViewer* Viewer) {
    if (!Repaintable(Viewer)) return;
    Viewer->NeedsFullRepaint = true;
    InvalidateRect(window_->Handle(), Viewer->BoundsRect.Win32(), FALSE);
}

namespace {

// Neighbours in a column or a row, as when the selection moves by one item:
// together they fill their joint rectangle.
bool Adjoin(const TRect& A, const TRect& B) {
    const bool column = A.Left == B.Left && A.Right == B.Right && (A.Bottom == B.Top || B.Bottom == A.Top);
    const bool row = A.Top == B.Top && A.Bottom == B.Bottom && (A.Right == B.Left || B.Right == A.Left);
    return column || row;
}

}  // namespace

void TBarView::Invalidate(TBarItemViewer* A, TBarItemViewer* B) {
    if (!Repaintable(A) || !Repaintable(B) || !Adjoin(A->BoundsRect, B->BoundsRect)) {
        Invalidate(A);
        Invalidate(B);
        return;
    }
    A->NeedsFullRepaint = true;
    B->NeedsFullRepaint = true;
    const TRect& a = A->BoundsRect;
    const TRect& b = B->BoundsRect;
    const RECT joint{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                     std::max(a.Bottom, b.Bottom)};
    InvalidateRect(window_->Handle(), &joint, FALSE);
}

bool TBarView::UseDisabledShadow(TBarItemViewer* Viewer, bool IsSelected) {
    if (Viewer->IsToolbarStyle()) return true;
    const TColor color = window_ ? window_->Color() : clBtnFace;
    if (!IsSelected && ColorToRGB(color) == ColorToRGB(clBtnFace)) return true;
    return ColorToRGB(color) == ColorToRGB(clGrayText);
}

void TBarView::DrawItem(TBarItemViewer* Viewer, TCanvas* Canvas, bool Offscreen) {
    ValidatePositions();
    const TRect r = Viewer->BoundsRect;
    if (!Viewer->Show || r.IsEmpty() || dynamic_cast<TBarControlItem*>(Viewer->Item())) return;
    const bool isSelected = Viewer == selected_;
    const bool hot = Viewer == openViewer_ || (mouseOverSelected_ && capture_);
    const bool isPushed = isSelected && hot;
    const bool menuStyle = !Viewer->IsToolbarStyle();
    TBarCustomItem* item = Viewer->Item();

    TOwned<TFont> font = MakeOwned<TFont>();
    font->Assign(GetFont());
    if (item->EffectiveOptions().Contains(tboDefault)) font->SetStyle(font->Style() + TFontStyles{fsBold});
    TColor textColor;
    if (!item->Enabled())
        textColor = clGrayText;
    else if (isSelected && menuStyle)
        textColor = clHighlightText;
    else
        textColor = menuStyle ? clMenuText : clBtnText;
    font->SetColor(textColor);

    auto paint = [&](TCanvas* target, const TRect& rect) {
        target->SetFont(font.get());
        if (isSelected && menuStyle) {
            target->Brush()->SetColor(AreFlatMenusEnabled() ? clMenuHighlight : clHighlight);
        } else {
            target->Brush()->SetStyle(bsClear);
        }
        SetTextColor(target->Handle(), ColorToRGB(textColor));
        Viewer->Paint(target, rect, isSelected, isPushed, UseDisabledShadow(Viewer, isSelected));
    };

    HDC dc = Canvas->Handle();
    TSaveDC save(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    if (Offscreen || Viewer->NeedsFullRepaint) {
        Viewer->NeedsFullRepaint = false;
        TMemoryDC memory(dc);
        TBitmapHandle bitmap(CreateCompatibleBitmap(dc, r.Width(), r.Height()));
        TSelectObject select(memory.Get(), bitmap.Get());
        // The bitmap takes the window's own background first, as if it were
        // the window at the viewer's place.
        SetWindowOrgEx(memory.Get(), r.Left, r.Top, nullptr);
        if (window_ && window_->HandleAllocated())
            SendMessageW(window_->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
        TOwned<TCanvas> offscreen = MakeOwned<TCanvas>();
        offscreen->SetHandle(memory.Get());
        paint(offscreen.get(), r);
        offscreen->SetHandle(nullptr);
        SetWindowOrgEx(memory.Get(), 0, 0, nullptr);
        BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), memory.Get(), 0, 0, SRCCOPY);
    } else {
        paint(Canvas, r);
    }
}

void TBarView::DrawSubitems(TCanvas* Canvas) {
    ValidatePositions();
    const bool firstTime = (state_ & vsDrawFirstTime) != 0;
    // An owner-draw handler may rebuild the viewers: the ones the view no
    // longer lists are gone.
    for (TBarItemViewer* viewer : std::vector<TBarItemViewer*>(viewers_))
        if ((firstTime || viewer != selected_) && IndexOf(viewer) >= 0) DrawItem(viewer, Canvas, false);
    if (!firstTime && selected_) DrawItem(selected_, Canvas, false);
    state_ &= static_cast<unsigned char>(~vsDrawFirstTime);
}

void TBarView::SetState(unsigned char Bits, bool On) {
    if (On)
        state_ |= Bits;
    else
        state_ &= static_cast<unsigned char>(~Bits);
}

TBarView* TBarView::GetRootView() {
    TBarView* view = this;
    while (view->parentView_) view = view->parentView_;
    return view;
}

TBarView* TBarView::GetParentToolbarView() {
    for (TBarView* view = this; view; view = view->parentView_)
        if (view->IsToolbar()) return view;
    return nullptr;
}

bool TBarView::IsAncestorOf(const TBarView* AView) const {
    for (const TBarView* view = AView; view; view = view->parentView_)
        if (view == this) return true;
    return false;
}

// ---- popup view -------------------------------------------------------------------------------

void TBarPopupView::AutoSize(int AWidth, int AHeight) {
    if (!Window()) return;
    Window()->SetClientWidth(AWidth);
    Window()->SetClientHeight(AHeight);
}
