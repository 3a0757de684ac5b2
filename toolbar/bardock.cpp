#include "toolbar/bardock.h"

#include <algorithm>

#include "classlib/core/exceptions.h"
#include "classlib/graphics/handles.h"
#include "toolbar/barconsts.h"
#include "toolbar/bardockable.h"
#include "toolbar/barprint.h"

TBarDock::TBarDock(TComponent* AOwner) : inherited(AOwner) {
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls);
    style.Include(csMenuEvents);
    style.Exclude(csCaptureMouse);
    style.Exclude(csClickEvents);
    style.Exclude(csOpaque);
    SetControlStyle(style);
    SetColor(clBtnFace);
    SetAlign(alTop);
}

void TBarDock::BeforeDestruction() {
    if (background_) background_->UnregisterChanges(TNotifyEvent(this, &TBarDock::BackgroundChanged));
    // Bars that only remember this dock forget it now.
    std::vector<TBarCustomDockableWindow*> remembering = dockList_;
    for (TBarCustomDockableWindow* bar : remembering)
        if (bar->lastDock_ == this) bar->lastDock_ = nullptr;
    inherited::BeforeDestruction();
    dockList_.clear();
    visible_.clear();
}

// --- properties

void TBarDock::SetAllowDrag(bool Value) {
    if (Value == allowDrag_) return;
    allowDrag_ = Value;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* bar = dynamic_cast<TBarCustomDockableWindow*>(Controls(i))) bar->RecalcFrame();
    ArrangeToolbars();
}

void TBarDock::SetBackground(TBarBasicBackground* Value) {
    if (Value == background_) return;
    if (background_) {
        background_->UnregisterChanges(TNotifyEvent(this, &TBarDock::BackgroundChanged));
        background_->RemoveFreeNotification(this);
    }
    background_ = Value;
    if (background_) {
        background_->FreeNotification(this);
        background_->RegisterChanges(TNotifyEvent(this, &TBarDock::BackgroundChanged));
    }
    InvalidateBackgrounds();
}

void TBarDock::SetBackgroundOnToolbars(bool Value) {
    if (Value == backgroundOnToolbars_) return;
    backgroundOnToolbars_ = Value;
    InvalidateBackgrounds();
}

void TBarDock::SetBoundLines(TBarDockBoundLines Value) {
    if (Value == boundLines_) return;
    boundLines_ = Value;
    ncWidth_ = (Value.Contains(blLeft) ? 1 : 0) + (Value.Contains(blRight) ? 1 : 0);
    ncHeight_ = (Value.Contains(blTop) ? 1 : 0) + (Value.Contains(blBottom) ? 1 : 0);
    RecalcFrame();
    ArrangeToolbars();
}

void TBarDock::SetFixAlign(bool Value) {
    fixAlign_ = Value;
    ArrangeToolbars();
}

void TBarDock::SetLimitToOneRow(bool Value) {
    if (Value == limitToOneRow_) return;
    limitToOneRow_ = Value;
    ArrangeToolbars();
}

void TBarDock::SetPosition(TBarDockPosition Value) {
    if (Value == position_) return;
    if (ControlCount() > 0) throw EInvalidOperation(SBarDockCannotChangePosition);
    position_ = Value;
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[Value]);
    ArrangeToolbars();
}

void TBarDock::SetParent(TWinControl* AParent) {
    if (dynamic_cast<TBarCustomDockableWindow*>(AParent) || dynamic_cast<TBarDock*>(AParent))
        throw EInvalidOperation(SBarDockParentNotAllowed);
    inherited::SetParent(AParent);
}

void TBarDock::RecalcFrame() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- lists

bool TBarDock::IsShownOnDock(TBarCustomDockableWindow* Bar) const {
    return Bar->Parent() == this && Bar->Visible() && !Bar->ComponentState().Contains(csDestroying);
}

bool TBarDock::HasVisibleToolbars() const {
    return std::any_of(dockList_.begin(), dockList_.end(),
                       [&](TBarCustomDockableWindow* b) { return IsShownOnDock(b); });
}

void TBarDock::ChangeDockList(bool Insert, TBarCustomDockableWindow* Bar) {
    auto it = std::find(dockList_.begin(), dockList_.end(), Bar);
    if (Insert) {
        if (it == dockList_.end()) {
            dockList_.push_back(Bar);
            Bar->FreeNotification(this);
        }
    } else if (it != dockList_.end()) {
        dockList_.erase(it);
    }
    ToolbarVisibilityChanged(Bar, false);
}

void TBarDock::ToolbarVisibilityChanged(TBarCustomDockableWindow* Bar, bool ForceRemove) {
    const bool listed = std::find(dockList_.begin(), dockList_.end(), Bar) != dockList_.end();
    const bool belongs = !ForceRemove && listed && IsShownOnDock(Bar);
    auto it = std::find(visible_.begin(), visible_.end(), Bar);
    const bool was = it != visible_.end();
    if (belongs == was) return;
    if (belongs)
        visible_.push_back(Bar);
    else
        visible_.erase(it);
    ArrangeToolbars();
    if (OnInsertRemoveBar) OnInsertRemoveBar(this, belongs, Bar);
}

void TBarDock::CommitPositions() {
    for (TBarCustomDockableWindow* bar : visible_) {
        bar->dockRow_ = bar->effectiveRow_;
        bar->dockPos_ = bar->effectivePos_;
    }
}

void TBarDock::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == background_) {
        background_ = nullptr;
        InvalidateBackgrounds();
    }
    if (auto* bar = dynamic_cast<TBarCustomDockableWindow*>(AComponent)) {
        std::erase(dockList_, bar);
        std::erase(visible_, bar);
    }
}

// --- rows

int TBarDock::GetHighestRow(bool Effective) const {
    int highest = -1;
    for (TBarCustomDockableWindow* bar : dockList_)
        highest = std::max(highest, Effective ? bar->effectiveRow_ : bar->dockRow_);
    return highest;
}

int TBarDock::GetCurrentRowSize(int Row, bool& AFullSize) const {
    int size = 0;
    AFullSize = false;
    for (TBarCustomDockableWindow* bar : visible_) {
        if (bar->effectiveRow_ != Row) continue;
        size = std::max(size, Vertical() ? bar->Width() : bar->Height());
        AFullSize = bar->fullSize_;
    }
    return size;
}

int TBarDock::LayoutRowSize(int Row) const {
    if (Row >= 0 && static_cast<size_t>(Row) < sizingRows_.size())
        return sizingRows_[static_cast<size_t>(Row)];
    bool full = false;
    return GetCurrentRowSize(Row, full);
}

int TBarDock::GetMinRowSize(int Row, TBarCustomDockableWindow* ExceptBar) const {
    int size = 0;
    for (TBarCustomDockableWindow* bar : visible_)
        if (bar != ExceptBar && bar->effectiveRow_ == Row) size = std::max(size, bar->rowThickness_);
    return size;
}

int TBarDock::GetDesignModeRowOf(int Pos) const {
    const int highest = GetHighestRow(true);
    int sum = 0;
    for (int row = 0; row <= highest; ++row) {
        bool full = false;
        sum += GetCurrentRowSize(row, full);
        if (sum > Pos) return row;
    }
    return highest + 1;
}

// --- arrangement

void TBarDock::BeginUpdate() {
    ++updateCount_;
}

void TBarDock::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && arrangeNeeded_) ArrangeToolbars();
}

void TBarDock::Loaded() {
    inherited::Loaded();
    ArrangeToolbars();
}

void TBarDock::AlignControls(TControl*, TRect&) {
    ArrangeToolbars();
}

void TBarDock::ArrangeToolbars() {
    // User code run while the bars are sized (a resize event) may change a
    // bar's content; the dock arranges once more for it, and only once, so
    // that a handler changing it on every resize cannot keep it busy.
    bool again = true;
    for (int pass = 0; pass < 2 && again; ++pass) {
        if (updateCount_ > 0 || ComponentState().Contains(csLoading) ||
            ComponentState().Contains(csDestroying)) {
            arrangeNeeded_ = true;
            return;
        }
        ArrangeOnce();
        again = TakeContentChanges();
    }
}

bool TBarDock::TakeContentChanges() {
    bool changed = false;
    for (TBarCustomDockableWindow* bar : dockList_) {
        changed = changed || bar->changedWhileArranging_;
        bar->changedWhileArranging_ = false;
    }
    return changed;
}

void TBarDock::ArrangeOnce() {
    ++updateCount_;
    struct Lower {
        TBarDock* dock;
        ~Lower() {
            --dock->updateCount_;
            dock->arrangeNeeded_ = false;
            dock->commitNewPositions_ = false;
            dock->sizingRows_.clear();
        }
    } lower{this};
    ++arrangementCount_;
    const bool vertical = Vertical();
    if (!HasVisibleToolbars()) {
        const int thickness = fixAlign_ ? 1 : 0;
        if (vertical)
            ChangeWidthHeight(thickness, Height());
        else
            ChangeWidthHeight(Width(), thickness);
        return;
    }
    const TRect client = ClientRect();
    const int rowLength = std::max<int>(0, vertical ? client.Height() : client.Width());
    for (size_t i = dockList_.size(); i-- > 0;) {
        TBarCustomDockableWindow* bar = dockList_[i];
        if (bar->ComponentState().Contains(csDestroying)) {
            dockList_.erase(dockList_.begin() + static_cast<std::ptrdiff_t>(i));
            std::erase(visible_, bar);
        }
    }
    if (limitToOneRow_)
        for (TBarCustomDockableWindow* bar : dockList_) bar->dockRow_ = 0;

    std::vector<TArrangeBar> input;
    input.reserve(dockList_.size());
    for (TBarCustomDockableWindow* bar : dockList_) {
        TArrangeBar in;
        in.DockRow = bar->dockRow_;
        in.DockPos = bar->dockPos_;
        in.Visible = std::find(visible_.begin(), visible_.end(), bar) != visible_.end();
        in.FullSize = bar->fullSize_;
        in.Stretch = bar->stretch_;
        in.ShrinkMode = bar->GetShrinkMode();
        TSize base;
        bar->GetBaseSize(base);
        in.FullLength = vertical ? base.cy + bar->GetNonClientHeight() : base.cx + bar->GetNonClientWidth();
        int minimum = 0;
        bar->GetMinShrinkSize(minimum);
        in.MinSize = minimum;
        in.NeedsOwnRow = bar->needsOwnRow_;
        in.Dragged = bar->dragging_;
        in.KeepsListIndex = bar->keepsListIndex_;
        input.push_back(in);
    }
    const TArrangement arranged = ArrangeBars(input, rowLength, limitToOneRow_);

    for (size_t i = 0; i < dockList_.size(); ++i) {
        TBarCustomDockableWindow* bar = dockList_[i];
        bar->effectiveRow_ = arranged.Bars[i].Row;
        bar->effectivePos_ = arranged.Bars[i].Pos;
        bar->splitsRow_ = arranged.Bars[i].SplitsRow;
    }
    // Thickness of each bar across its row; shrunk bars lay out again.
    std::vector<int> thickness(dockList_.size(), 0);
    std::vector<bool> relayout(dockList_.size(), false);
    for (size_t i = 0; i < dockList_.size(); ++i) {
        TBarCustomDockableWindow* bar = dockList_[i];
        const TArrangedBar& a = arranged.Bars[i];
        if (a.Row < 0) continue;
        const int newArranged = a.Size == input[i].FullLength ? 0 : a.Size;
        const TBarShrinkMode mode = input[i].ShrinkMode;
        TSize size;
        if (mode != tbsmNone && newArranged != bar->arrangedSize_) {
            bar->arrangedSize_ = newArranged;
            bar->DoArrange(false, DockType(), size, this);
            relayout[i] = true;
        } else if (mode == tbsmWrap && newArranged != 0) {
            size = TSize{bar->ClientWidth(), bar->ClientHeight()};
        } else {
            bar->GetBaseSize(size);
        }
        bar->arrangedSize_ = newArranged;
        thickness[i] = vertical ? size.cx : size.cy;
        bar->rowThickness_ = thickness[i];
    }
    const TRowPlacement placed = PlaceRows(arranged, thickness, vertical);
    sizingRows_ = placed.RowThickness;
    // Earlier changes are in the sizes just read; what counts is what changes
    // while the bars are sized.
    TakeContentChanges();
    const std::vector<TBarCustomDockableWindow*> bars = dockList_;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (arranged.Bars[i].Row < 0) continue;
        TBarCustomDockableWindow* bar = bars[i];
        const TRect& r = placed.Bounds[i];
        struct Sizing {
            TBarCustomDockableWindow* bar;
            ~Sizing() {
                --bar->arranging_;
                bar->relayoutAfterSizing_ = false;
            }
        };
        {
            ++bar->arranging_;
            bar->relayoutAfterSizing_ = relayout[i];
            Sizing sizing{bar};
            bar->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        }
        if (relayout[i]) {
            TSize size;
            bar->DoArrange(true, DockType(), size, this);
        }
    }
    if (commitNewPositions_) {
        std::vector<TBarCustomDockableWindow*> sorted;
        for (int i : arranged.Order) {
            TBarCustomDockableWindow* bar = bars[static_cast<size_t>(i)];
            if (bar->effectiveRow_ >= 0) {
                bar->dockRow_ = bar->effectiveRow_;
                bar->dockPos_ = bar->effectivePos_;
            }
            sorted.push_back(bar);
        }
        dockList_ = sorted;
    }

    if (vertical)
        ChangeWidthHeight(ncWidth_ + placed.Thickness, Height());
    else
        ChangeWidthHeight(Width(), ncHeight_ + placed.Thickness);
}

void TBarDock::ChangeWidthHeight(int NewWidth, int NewHeight) {
    int left = Left(), top = Top();
    switch (Align()) {
        case alBottom:
            top += Height() - NewHeight;
            break;
        case alRight:
            left += Width() - NewWidth;
            break;
        case alClient:
        case alCustom:
            return;
        default:
            break;
    }
    SetBounds(left, top, NewWidth, NewHeight);
}

// --- painting

void TBarDock::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// A designer would get a dashed outline here (and an empty dock 9 pixels
// thick); there is no designer.
void TBarDock::Paint() {}

bool TBarDock::UsingBackground() {
    return background_ && background_->UsingBackground();
}

// Without a picture the dock shows what its own erase shows, its brush: a
// bar that paints the dock behind itself continues that.
void TBarDock::DrawBackground(HDC DC, const TRect& DrawRect) {
    if (background_ && background_->UsingBackground()) {
        background_->Draw(DC, DrawRect);
        return;
    }
    if (Brush()->Style() != bsClear) FillRect(DC, DrawRect.Win32(), Brush()->Handle());
}

void TBarDock::BackgroundChanged(TObject*) {
    InvalidateBackgrounds();
}

void TBarDock::InvalidateBackgrounds() {
    Invalidate();
    for (TBarCustomDockableWindow* bar : visible_)
        if (bar->HandleAllocated())
            RedrawWindow(bar->Handle(), nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}

void TBarDock::PaintNC(HWND, HDC DC, void* AppData) {
    static_cast<TBarDock*>(AppData)->DrawNCArea(DC, nullptr);
}

void TBarDock::DrawNCArea(HDC DC, HRGN Rgn) {
    if (boundLines_.Empty() || !HasVisibleToolbars()) return;
    TNCPaintDC paint(Handle(), DC, Rgn);
    DC = paint.Get();
    const RECT window = paint.Bounds();
    TRect client = ClientRect();
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    RECT screen{};
    GetWindowRect(Handle(), &screen);
    OffsetRect(client.Win32(), origin.x - screen.left, origin.y - screen.top);
    TBrushHandle shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    TBrushHandle highlight(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
    const LONG w = window.right, h = window.bottom;
    auto fill = [&](LONG l, LONG t, LONG r, LONG b, HBRUSH brush) {
        RECT line{l, t, r, b};
        FillRect(DC, &line, brush);
    };
    if (boundLines_.Contains(blTop)) fill(0, 0, w, 1, shadow.Get());
    if (boundLines_.Contains(blLeft)) fill(0, 0, 1, h, shadow.Get());
    if (boundLines_.Contains(blBottom)) fill(0, h - 1, w, h, highlight.Get());
    if (boundLines_.Contains(blRight)) fill(w - 1, 0, w, h, highlight.Get());
    // What is left between the lines and the client area takes the colour.
    TRect inner(boundLines_.Contains(blLeft) ? 1 : 0, boundLines_.Contains(blTop) ? 1 : 0,
                w - (boundLines_.Contains(blRight) ? 1 : 0), h - (boundLines_.Contains(blBottom) ? 1 : 0));
    TSaveDC saved(DC);
    if (!client.IsEmpty()) ExcludeClipRect(DC, client.Left, client.Top, client.Right, client.Bottom);
    TBrushHandle face(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(DC, inner.Win32(), face.Get());
}

void TBarDock::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND:
            if (UsingBackground()) {
                HDC dc = reinterpret_cast<HDC>(Message.WParam);
                TRect r = ClientRect();
                TSaveDC saved(dc);
                IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
                // The pattern continues the parent's: offset by our place in it.
                r = Bounds(-Left(), -Top(), Parent() ? Parent()->ClientWidth() : r.Width(),
                           Parent() ? Parent()->ClientHeight() : r.Height());
                DrawBackground(dc, r);
                Message.Result = 1;
                return;
            }
            break;
        case WM_MOVE:
            inherited::WndProc(Message);
            if (UsingBackground()) InvalidateBackgrounds();
            return;
        case WM_NCCALCSIZE: {
            DefaultHandler(Message);
            auto* r = reinterpret_cast<RECT*>(Message.LParam);
            if (boundLines_.Contains(blTop)) ++r->top;
            if (boundLines_.Contains(blBottom)) --r->bottom;
            if (boundLines_.Contains(blLeft)) ++r->left;
            if (boundLines_.Contains(blRight)) --r->right;
            return;
        }
        case WM_NCPAINT:
            DrawNCArea(nullptr, reinterpret_cast<HRGN>(Message.WParam));
            return;
        case WM_PRINT:
            HandleWMPrint(Handle(), Message, PaintNC, this);
            return;
        case WM_PRINTCLIENT:
            HandleWMPrintClient(this, Message);
            return;
        case CM_SYSCOLORCHANGE:
            inherited::WndProc(Message);
            if (background_) background_->SysColorChange();
            return;
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
        case WM_SYSCOMMAND: {
            std::vector<TBarCustomDockableWindow*> bars = dockList_;
            for (TBarCustomDockableWindow* bar : bars) {
                if (std::find(dockList_.begin(), dockList_.end(), bar) == dockList_.end()) continue;
                if (!bar->ControlStyle().Contains(csMenuEvents) || !bar->Floating() || !bar->Showing() ||
                    !bar->Enabled())
                    continue;
                Message.Result = bar->Perform(Message.Msg, Message.WParam, Message.LParam);
                if (Message.Result != 0) return;
            }
            if (Message.Msg == WM_SYSCOMMAND) {
                // Not passed on: the default handling hands a key menu
                // request to the form, whose forwarding brings it back here.
                Message.Result = 0;
                return;
            }
            break;
        }
        default:
            break;
    }
    inherited::WndProc(Message);
}
