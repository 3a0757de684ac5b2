#include "toolbar/barviewer.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/windows/application.h"
#include "toolbar/baracc.h"
#include "toolbar/barclickqueue.h"
#include "toolbar/bartext.h"
#include "toolbar/barview.h"

TBarItemViewer::TBarItemViewer(TBarView* AView, TBarCustomItem* AItem, int AGroupLevel)
    : view_(AView), item_(AItem), groupLevel_(AGroupLevel) {
    BarClickQueueAddUser();
}

void TBarItemViewer::BeforeDestruction() {
    TBarViewerWatch::ViewerFreed(this);
    CancelPostedClicks(this);
    if (accObject_) {
        accObject_->ClientIsDestroying();
        std::exchange(accObject_, nullptr)->Release();
    }
    BarClickQueueReleaseUser();
    inherited::BeforeDestruction();
}

bool TBarItemViewer::DoExecute() {
    view_->EndModalWithClick(this);
    return true;
}

void TBarItemViewer::Execute(bool GivePriority) {
    if (DoExecute() && GivePriority) view_->GivePriority(this);
}

void TBarItemViewer::Entering(TBarItemViewer*) {
    if (item_->OnSelect) item_->OnSelect(item_, this, true);
}

void TBarItemViewer::Leaving() {
    if (item_->OnSelect) item_->OnSelect(item_, this, false);
}

void TBarItemViewer::LosingCapture() {
    view_->Invalidate(this);
}

int TBarItemViewer::GetAccRole() {
    if (dynamic_cast<TBarControlItem*>(item_)) return 10;             // ROLE_SYSTEM_CLIENT
    if (item_->ItemStyle() & isfSeparator) return 21;                 // ROLE_SYSTEM_SEPARATOR
    if (view_->IsPopup() || (view_->Style() & vsMenuBar)) return 12;  // ROLE_SYSTEM_MENUITEM
    return (item_->ItemStyle() & isfSubmenu) ? 57 : 43;               // button menu, push button
}

bool TBarItemViewer::GetAccValue(std::wstring&) {
    return false;
}

std::string TBarItemViewer::GetCaptionText() {
    const std::string& caption = item_->Caption();
    return caption.substr(0, caption.find('\t'));
}

void TBarItemViewer::GetCursor(TPoint, HCURSOR&) {}

bool TBarItemViewer::IsToolbarSize() {
    return view_->IsToolbar() || item_->EffectiveOptions().Contains(tboToolbarSize);
}

bool TBarItemViewer::IsToolbarStyle() {
    return view_->IsToolbar() || item_->EffectiveOptions().Contains(tboToolbarStyle);
}

bool TBarItemViewer::IsPtInButtonPart(int X, int) {
    const TBarItemStyle style = item_->ItemStyle();
    if (!(style & isfSubmenu)) return true;
    if (!(style & isfCombo)) return false;
    const int arrow = IsToolbarStyle() ? BarComboArrowWidth : GetSystemMetrics(SM_CXMENUCHECK);
    return X < BoundsRect.Width() - arrow;
}

void TBarItemViewer::KeyDown(WORD&, TShiftState) {}
void TBarItemViewer::MouseMove(int, int) {}
void TBarItemViewer::MouseWheelHook(bool&) {}

bool TBarItemViewer::UsesSameWidth() {
    const TBarItemOptions options = item_->EffectiveOptions();
    return options.Contains(tboImageAboveCaption) && options.Contains(tboSameWidth) && IsToolbarSize();
}

bool TBarItemViewer::CaptionShown() {
    if (!GetCaptionText().empty()) {
        const TBarItemDisplayMode mode = item_->DisplayMode();
        return !IsToolbarSize() || item_->ImageIndex() < 0 || mode == nbdmTextOnly ||
               mode == nbdmImageAndText;
    }
    return item_->EffectiveOptions().Contains(tboImageAboveCaption);
}

bool TBarItemViewer::ImageShown() {
    if (item_->ImageIndex() < 0) return false;
    switch (item_->DisplayMode()) {
        case nbdmDefault:
        case nbdmImageAndText:
            return true;
        case nbdmTextOnlyInMenus:
            return IsToolbarStyle();
        default:
            return false;
    }
}

TCustomImageList* TBarItemViewer::GetImageList() {
    if (item_->Images()) return item_->Images();
    for (TBarView* v = view_; v; v = v->ParentView()) {
        if (v->CurParentItem() && v->CurParentItem()->SubMenuImages())
            return v->CurParentItem()->SubMenuImages();
        if (v->ParentItem() && v->ParentItem()->SubMenuImages()) return v->ParentItem()->SubMenuImages();
    }
    return nullptr;
}

bool TBarItemViewer::IsRotated() {
    const TBarItemOptions options = item_->EffectiveOptions();
    return view_->Orientation() == boVertical && !options.Contains(tboNoRotation) &&
           !options.Contains(tboImageAboveCaption);
}

std::string TBarItemViewer::GetHintText() {
    const std::string& full = item_->Hint();
    std::string hint = full.substr(0, full.find('|'));
    const TBarItemStyle style = item_->ItemStyle();
    if (hint.empty() && !item_->EffectiveOptions().Contains(tboNoAutoHint)) {
        const bool submenuWithCaption = (style & isfSubmenu) && !(style & isfCombo) && CaptionShown();
        if (!submenuWithCaption) hint = StripTrailingPunctuation(StripAccelChars(GetCaptionText()));
    }
    if (auto* action = dynamic_cast<TCustomAction*>(item_->Action()))
        if (!action->DoHint(hint)) hint.clear();
    if (!hint.empty() && Application->HintShortCuts) {
        const std::string shortcut = item_->GetShortCutText();
        if (!shortcut.empty()) hint += " (" + shortcut + ")";
    }
    return hint;
}

int TBarItemViewer::GetIndex() const {
    return view_->IndexOf(this);
}

TPoint TBarItemViewer::ScreenToClient(TPoint P) {
    POINT pt = P;
    if (view_->Window() && view_->Window()->HandleAllocated())
        ::ScreenToClient(view_->Window()->Handle(), &pt);
    return TPoint(pt.x - BoundsRect.Left, pt.y - BoundsRect.Top);
}

// ---- mouse -------------------------------------------------------------------------

void TBarItemViewer::MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) {
    const bool isRoot = !view_->ParentView() && !view_->IsPopup();
    if (!item_->Enabled()) {
        if (isRoot) view_->EndModal();
        return;
    }
    if (IsPtInButtonPart(X, Y)) {
        if (IsToolbarStyle()) {
            view_->CancelChildPopups();
            view_->SetCapture(true);
            view_->Invalidate(this);
        }
        return;
    }
    const bool wasOpen = view_->OpenViewer() == this;
    if (!view_->OpenChildPopup(false)) return;
    if (wasOpen && isRoot) MouseDownOnMenu = true;
    if (Shift.Contains(ssDouble) && !(item_->ItemStyle() & isfCombo)) {
        TBarView* popup = view_->OpenViewerView();
        for (int i = 0; popup && i < popup->ViewerCount(); ++i) {
            TBarItemViewer* v = popup->Viewers(i);
            TBarCustomItem* it = v->Item();
            if (v->Show && (it->ItemStyle() & isfSelectable) && it->Enabled() && it->Visible() &&
                it->EffectiveOptions().Contains(tboDefault)) {
                popup->Select(v, false);
                v->Execute(true);
                break;
            }
        }
    }
}

void TBarItemViewer::MouseUp(int X, int Y, bool MouseWasDownOnMenu) {
    const bool hadCapture = view_->Capture();
    view_->CancelCapture();
    const bool isRoot = !view_->ParentView() && !view_->IsPopup();
    if (view_->Selected() == this && view_->MouseOverSelected() && item_->Enabled() &&
        !(item_->ItemStyle() & isfClicksTransparent)) {
        const bool submenuPart = (item_->ItemStyle() & isfSubmenu) && !IsPtInButtonPart(X, Y);
        if (submenuPart) {
            if (MouseWasDownOnMenu && isRoot) view_->EndModal();
            return;
        }
        if (IsToolbarStyle() && !hadCapture) return;
        Execute(true);
        return;
    }
    if (isRoot) view_->EndModal();
}

// ---- accessibility --------------------------------------------------------------------

IAccessible* TBarItemViewer::GetAccObject() {
    if (!accObject_ && InitMSAA()) accObject_ = new TBarItemViewerAccObject(this);
    return accObject_;
}

void TBarItemViewer::PostAccSelect(bool Execute) {
    PostClick(this, Execute ? 1 : 0);
}

void TBarItemViewer::AccSelectPosted(int Flag) {
    BarAccActOnViewer(this, Flag != 0);
}

// ---- watches ------------------------------------------------------------------------------

namespace {
thread_local std::vector<TBarViewerWatch*> ViewerWatches;
}  // namespace

TBarViewerWatch::TBarViewerWatch(TBarItemViewer* Target) : target_(Target) {
    ViewerWatches.push_back(this);
}

TBarViewerWatch::~TBarViewerWatch() {
    ViewerWatches.erase(std::find(ViewerWatches.begin(), ViewerWatches.end(), this));
}

void TBarViewerWatch::ViewerFreed(const TBarItemViewer* Viewer) {
    for (TBarViewerWatch* watch : ViewerWatches)
        if (watch->target_ == Viewer) watch->target_ = nullptr;
}
