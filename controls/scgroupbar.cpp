#include "controls/scgroupbar.h"

#include <algorithm>
#include <utility>

#include "classlib/core/text.h"
#include "classlib/graphics/handles.h"
#include "controls/scbackgrounds.h"
#include "controls/scframes.h"
#include "controls/scgroup.h"
#include "controls/scgroupacc.h"
#include "controls/scscheme.h"

TScGroupBar::TScGroupBar(TComponent* AOwner) : inherited(AOwner) {
    InitScCommon();
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque} -
                    TControlStyle{csSetCaption});
    SetDoubleBuffered(true);
    SetColor(clBtnShadow);
    SetBounds(0, 0, 160, 200);
    SetAlign(alLeft);
    SetTabStop(true);
    smallLink_ = MakeOwned<TChangeLink>();
    smallLink_->OnChange = TNotifyEvent(this, &TScGroupBar::ImagesChanged);
    largeLink_ = MakeOwned<TChangeLink>();
    largeLink_->OnChange = TNotifyEvent(this, &TScGroupBar::ImagesChanged);
}

void TScGroupBar::BeforeDestruction() {
    if (accObject_) std::exchange(accObject_, nullptr)->ClientIsDestroying();
    focusGroup_ = nullptr;
    for (TScGroup* group : groups_) group->bar_ = nullptr;
    groups_.clear();
    smallLink_.reset();
    largeLink_.reset();
    inherited::BeforeDestruction();
}

void TScGroupBar::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    Params.Style |= WS_VSCROLL | WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
}

// ---- the groups -------------------------------------------------------------

int TScGroupBar::IndexOfGroup(const TScGroup* Group) const {
    const auto it = std::find(groups_.begin(), groups_.end(), Group);
    return it == groups_.end() ? -1 : static_cast<int>(it - groups_.begin());
}

TClass TScGroupBar::GetGroupClass() const {
    return TScGroup::ClassInfo();
}

void TScGroupBar::AddGroup(TScGroup* Group) {
    if (IndexOfGroup(Group) >= 0) return;
    groups_.push_back(Group);
    Group->bar_ = this;
    Group->TCustomControl::SetParent(this);
    Group->UpdateStyle(style_);
    UpdateGroups(nullptr);
}

void TScGroupBar::RemoveGroup(TScGroup* Group) {
    const int index = IndexOfGroup(Group);
    if (index < 0) return;
    const bool exclusive = style_ == gbsOutlook || (style_ == gbsCategoryView && exclusiveMode_);
    int firstOpen = -1;
    for (int i = 0; i < GetGroupCount() && firstOpen < 0; ++i)
        if (groups_[static_cast<size_t>(i)]->Opened()) firstOpen = i;
    Group->bar_ = nullptr;
    if (focusGroup_ == Group) focusGroup_ = nullptr;
    Group->Hide();
    Group->TCustomControl::SetParent(nullptr);
    groups_.erase(groups_.begin() + index);
    if (exclusive && index == firstOpen && !groups_.empty()) {
        TScGroup* next = groups_[static_cast<size_t>(index > 0 ? index - 1 : 0)];
        next->SetOpened(true);
    }
    UpdateGroups(nullptr);
}

void TScGroupBar::MoveGroup(TScGroup* Group, int Index) {
    const int from = IndexOfGroup(Group);
    if (from < 0 || from == Index) return;
    groups_.erase(groups_.begin() + from);
    groups_.insert(groups_.begin() + Index, Group);
    UpdateGroups(nullptr);
}

void TScGroupBar::EndUpdate() {
    if (--updateLock_ > 0) return;
    updateLock_ = 0;
    UpdateGroups(nullptr);
}

// ---- layout -----------------------------------------------------------------

void TScGroupBar::UpdateGroups(TScGroup* Changed) {
    if (updateLock_ > 0 || ComponentState().Contains(csLoading)) return;
    // Closing the other groups below lays out again from inside this pass.
    if (layingOut_) return;
    layingOut_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{layingOut_};

    if (style_ == gbsCategoryView && exclusiveMode_ && Changed && Changed->Opened()) {
        for (TScGroup* group : std::vector<TScGroup*>(groups_))
            if (group != Changed) group->SetOpened(false);
    }
    std::vector<TScGroupPlace> places;
    places.reserve(groups_.size());
    for (TScGroup* group : groups_) {
        TScGroupPlace place;
        place.Visible = group->Visible();
        place.Opened = group->Opened();
        place.CaptionHeight = group->CaptionHeight();
        place.Overhang = group->CaptionOverhang();
        place.LargeCaption = group->CaptionStyle() == csLarge;
        place.OpenHeight = [group](int Width) { return group->OpenHeightFor(Width); };
        places.push_back(std::move(place));
    }
    const TRect client = ClientRect();
    TScBarMetrics metrics;
    metrics.Style = style_;
    metrics.BorderSize = groupBorderSize_;
    metrics.ClientWidth = client.Width();
    metrics.ClientHeight = client.Height();
    const TScBarLayout layout =
        LayoutGroups(metrics, places, IndexOfGroup(Changed), scrollPos_, scrollBarNeeded_);
    scrollPos_ = layout.ScrollPos;
    range_ = layout.Range;
    scrollBarNeeded_ = layout.ScrollBarNeeded;
    DisableAlign();
    for (size_t i = 0; i < groups_.size(); ++i) groups_[i]->SetBoundsRect(layout.Bounds[i]);
    EnableAlign();
    RefreshScrollBar();
    Invalidate();
}

void TScGroupBar::RefreshScrollBar() {
    const int page = ClientHeight();
    if (page > range_) scrollPos_ = 0;
    if (!HandleAllocated()) return;
    if (range_ == shownRange_ && page == shownPage_ && scrollPos_ == shownPos_) return;
    shownRange_ = range_, shownPage_ = page, shownPos_ = scrollPos_;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = range_;
    info.nPage = static_cast<UINT>(std::max(0, page));
    info.nPos = scrollPos_;
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

void TScGroupBar::SetScrollPos(int Value) {
    if (ComponentState().Contains(csLoading)) return;
    const int pos = style_ == gbsOutlook ? 0 : ClampScrollPos(Value, range_, ClientHeight());
    if (pos == scrollPos_) return;
    ScrollBy(0, scrollPos_ - pos);
    scrollPos_ = pos;
    RefreshScrollBar();
}

void TScGroupBar::ScrollMessage(TMessage& Message) {
    const int page = ClientHeight();
    switch (LOWORD(Message.WParam)) {
        case SB_LINEUP:
            SetScrollPos(scrollPos_ - 10);
            break;
        case SB_LINEDOWN:
            SetScrollPos(scrollPos_ + 10);
            break;
        case SB_PAGEUP:
            SetScrollPos(scrollPos_ - page);
            break;
        case SB_PAGEDOWN:
            SetScrollPos(scrollPos_ + page);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The message's own position is 16 bits; the bar's is not.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            int track = HIWORD(Message.WParam);
            if (GetScrollInfo(Handle(), SB_VERT, &info)) track = info.nTrackPos;
            SetScrollPos(std::clamp(track, 0, std::max(0, range_)));
            break;
        }
        case SB_TOP:
            SetScrollPos(0);
            break;
        case SB_BOTTOM:
            SetScrollPos(range_);
            break;
    }
    Message.Result = 0;
}

void TScGroupBar::Resize() {
    inherited::Resize();
    UpdateGroups(nullptr);
}

void TScGroupBar::Loaded() {
    inherited::Loaded();
    UpdateGroups(nullptr);
    if (HandleAllocated()) PostMessageW(Handle(), SCM_RESETSCROLL, 0, 0);
}

// ---- settings ---------------------------------------------------------------

void TScGroupBar::SetStyle(TScGroupBarStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    BeginUpdate();
    switch (Value) {
        case gbsCategoryView:
            SetColor(clBtnShadow);
            groupBorderSize_ = 8;
            break;
        case gbsTaskList:
            SetColor(clWindow);
            groupBorderSize_ = 4;
            break;
        case gbsOutlook:
            SetColor(clBtnShadow);
            groupBorderSize_ = 0;
            scrollPos_ = 0;
            break;
    }
    for (TScGroup* group : groups_) group->UpdateStyle(Value);
    EndUpdate();
    Invalidate();
}

void TScGroupBar::SetExclusiveMode(bool Value) {
    if (style_ != gbsCategoryView || exclusiveMode_ == Value) return;
    exclusiveMode_ = Value;
    if (!Value || groups_.empty()) return;
    BeginUpdate();
    const std::vector<TScGroup*> groups = groups_;
    for (size_t i = 1; i < groups.size(); ++i) groups[i]->SetOpened(false);
    groups.front()->SetOpened(true);
    EndUpdate();
}

void TScGroupBar::SetUniqueItemSelection(bool Value) {
    if (uniqueItemSelection_ == Value) return;
    uniqueItemSelection_ = Value;
    if (Value)
        for (TScGroup* group : groups_) group->SetSelectedIndex(-1);
}

TScGroup* TScGroupBar::GetGroup(int Index) const {
    if (Index < 0 || Index >= GetGroupCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return groups_[static_cast<size_t>(Index)];
}

void TScGroupBar::SetVisualStyle(TScVisualStyle Value) {
    if (visualStyle_ == Value) return;
    visualStyle_ = Value;
    for (TScGroup* group : groups_) {
        group->ApplyStyleDefaults();
        group->Invalidate();
    }
    Invalidate();
}

void TScGroupBar::SetGroupBorderSize(int Value) {
    if (groupBorderSize_ == Value) return;
    groupBorderSize_ = Value;
    UpdateGroups(nullptr);
}

void TScGroupBar::SetSmallImages(TCustomImageList* Value) {
    if (smallImages_ == Value) return;
    if (smallImages_) smallImages_->RemoveFreeNotification(this);
    smallImages_ = Value;
    smallLink_->SetSender(Value);
    if (Value) Value->FreeNotification(this);
    for (TScGroup* group : groups_) group->Invalidate();
    UpdateGroups(nullptr);
}

void TScGroupBar::SetLargeImages(TCustomImageList* Value) {
    if (largeImages_ == Value) return;
    if (largeImages_) largeImages_->RemoveFreeNotification(this);
    largeImages_ = Value;
    largeLink_->SetSender(Value);
    if (Value) Value->FreeNotification(this);
    UpdateGroups(nullptr);
}

void TScGroupBar::ImagesChanged(TObject*) {
    for (TScGroup* group : groups_) group->Invalidate();
    UpdateGroups(nullptr);
}

void TScGroupBar::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == smallImages_) SetSmallImages(nullptr);
    if (AComponent == largeImages_) SetLargeImages(nullptr);
}

// ---- frame ------------------------------------------------------------------

int TScGroupBar::BorderWidthOf(TFrameStyleEx Style) const {
    switch (Style) {
        case fsNone:
            return 0;
        case fsFlat:
            return 1;
        case fsStatus:
        case fsPopup:
            return bevelWidth_;
        default:
            return 2;
    }
}

TRect TScGroupBar::FrameWidths() const {
    const int w = BorderWidthOf(borderOuter_) + BorderWidthOf(borderInner_);
    return TRect(borderSides_.Contains(sdLeft) ? w : 0, borderSides_.Contains(sdTop) ? w : 0,
                 borderSides_.Contains(sdRight) ? w : 0, borderSides_.Contains(sdBottom) ? w : 0);
}

void TScGroupBar::FrameChanged() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
}

void TScGroupBar::CalcFrame(TMessage& Message) {
    DefaultHandler(Message);
    if (!Message.WParam && !Message.LParam) return;
    RECT& r = Message.WParam ? Message.LParamAs<NCCALCSIZE_PARAMS>()->rgrc[0] : *Message.LParamAs<RECT>();
    const TRect frame = FrameWidths();
    r.left += frame.Left;
    r.top += frame.Top;
    r.right -= frame.Right;
    r.bottom -= frame.Bottom;
}

void TScGroupBar::PaintFrame() {
    if (borderOuter_ == fsNone && borderInner_ == fsNone) return;
    RECT window{};
    GetWindowRect(Handle(), &window);
    const TRect whole(0, 0, window.right - window.left, window.bottom - window.top);
    TWindowDC dc(Handle(), true);
    if (!dc.Get()) return;
    // Only the frame's own pixels: the scroll bar and the client stay.
    const TRect frame = FrameWidths();
    ExcludeClipRect(dc.Get(), whole.Left + frame.Left, whole.Top + frame.Top, whole.Right - frame.Right,
                    whole.Bottom - frame.Bottom);
    TOwned<TCanvas> canvas(Create<TCanvas>());
    canvas->SetHandle(dc.Get());
    TScFrameParams params;
    params.OuterStyle = borderOuter_;
    params.InnerStyle = borderInner_;
    params.Sides = borderSides_;
    params.BevelWidth = bevelWidth_;
    params.BorderColor = borderColor_;
    params.BorderHighlight = borderHighlight_;
    params.BorderShadow = borderShadow_;
    params.FlatColor = flatColor_;
    params.FlatColorAdjustment = flatColorAdjustment_;
    params.Color = Color();
    params.ParentColor = Parent() ? Parent()->Color() : Color();
    DrawFrame(canvas.get(), whole, params);
    canvas->SetHandle(nullptr);
}

// ---- painting and messages ---------------------------------------------------

void TScGroupBar::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
    if (style_ == gbsCategoryView && visualStyle_ != vsClassic)
        PaintGroupBarBackground(canvas, client, visualStyle_, gradientColorStyle_, gradientPath_,
                                gradientColorStart_, gradientColorStop_);
}

void TScGroupBar::WndProc(TMessage& Message) {
    if (KeyboardMessage(Message)) return;
    switch (Message.Msg) {
        case WM_VSCROLL:
            ScrollMessage(Message);
            return;
        case CM_MOUSEWHEEL:
            if (style_ == gbsOutlook) break;
            SetScrollPos(scrollPos_ + (GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0 ? 10 : -10));
            Message.Result = 1;
            return;
        case WM_NCCALCSIZE:
            CalcFrame(Message);
            return;
        case WM_NCPAINT:
            DefaultHandler(Message);
            PaintFrame();
            return;
        case WM_THEMECHANGED:
            XPColorScheme = GetXPColorScheme();
            inherited::WndProc(Message);
            for (TScGroup* group : groups_) group->Invalidate();
            Invalidate();
            return;
        case WM_LBUTTONDOWN:
            if (CanFocus()) SetFocus();
            break;
        case CM_COLORCHANGED:
            inherited::WndProc(Message);
            for (TScGroup* group : groups_) group->Invalidate();
            return;
        case SCM_RESETSCROLL:
            SetScrollPos(0);
            return;
        case SCM_ITEMSELECTED:
            for (TScGroup* group : std::vector<TScGroup*>(groups_))
                if (group->ShowItemSelection())
                    group->Perform(SCM_ITEMSELECTED, Message.WParam, Message.LParam);
            return;
        case CM_FOCUSCHANGED: {
            // Focus moving into a group's child control opens that group.
            auto* focused = reinterpret_cast<TControl*>(Message.LParam);
            for (TControl* c = focused; c; c = c->Parent())
                if (auto* group = dynamic_cast<TScGroup*>(c); group && group->GroupBar() == this) {
                    group->SetOpened(true);
                    break;
                }
            break;
        }
    }
    inherited::WndProc(Message);
}
