#include "skins/sbtoolbar.h"

#include <algorithm>

#include "classlib/core/properties.h"
#include "skins/barpainters.h"
#include "skins/sbfloating.h"
#include "skins/sbpopup.h"
#include "skins/sbviewer.h"
#include "skins/skinmanager.h"
#include "skins/wsfiler.h"
#include "skins/wstext.h"
#include "toolbar/barmodal.h"
#include "toolbar/barprint.h"
#include "toolbar/barwatch.h"

// ---- view ------------------------------------------------------------------------------

TFont* TSbToolbarView::GetFont() {
    if (auto* bar = dynamic_cast<TBarCustomToolbar*>(Window()); bar && bar->SystemFont())
        return BarToolbarFont();
    return inherited::GetFont();
}

// ---- toolbar ---------------------------------------------------------------------------

TSbToolbar::TSbToolbar(TComponent* AOwner) : inherited(AOwner) {}

void TSbToolbar::AfterConstruction() {
    inherited::AfterConstruction();
    Items()->RegisterNotification(&TSbToolbar::ItemsChanged, this);
    listening_ = true;
    if (TSbSkinManager* manager = SkinManager()) manager->AddSkinNotification(this);
}

void TSbToolbar::BeforeDestruction() {
    RemoveSkinNotification(this);
    if (listening_) Items()->UnregisterNotification(&TSbToolbar::ItemsChanged, this);
    listening_ = false;
    itemCache_.clear();
    inherited::BeforeDestruction();
}

TBarRootItem* TSbToolbar::CreateRootItem() {
    return Create<TSbRootItem>(this);
}

TBarChevronItem* TSbToolbar::CreateChevronItem() {
    return Create<TSbChevronItem>(this);
}

TBarToolbarView* TSbToolbar::CreateToolbarView() {
    return Create<TSbToolbarView>(nullptr, nullptr, Items(), this, true, false,
                                  !ComponentState().Contains(csDesigning));
}

TClass TSbToolbar::GetFloatingWindowParentClass() {
    return TSbFloatingWindowParent::ClassInfo();
}

std::wstring TSbToolbar::Caption() {
    return WideGetText(this);
}

void TSbToolbar::SetCaption(const std::wstring& Value) {
    WideSetText(this, Value);
}

std::wstring TSbToolbar::Hint() {
    return WideGetHint(this);
}

void TSbToolbar::SetHint(const std::wstring& Value) {
    WideSetHint(this, Value);
}

void TSbToolbar::PublishProperties() {
    TPublish<TSbToolbar>()
        .Property("Caption", &TSbToolbar::Caption, &TSbToolbar::SetCaption)
        .Property("Hint", &TSbToolbar::Hint, &TSbToolbar::SetHint)
        .Stored([](TSbToolbar*) { return false; });
}

void TSbToolbar::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    DefineWideProperties(Filer, this);
}

void TSbToolbar::SetDisplayMode(TSbToolbarDisplayMode Value) {
    if (displayMode_ == Value) return;
    displayMode_ = Value;
    TBarItemOptions options = Options();
    if (Value == tbdmImageAboveCaption)
        options = options + TBarItemOptions{tboImageAboveCaption, tboSameWidth};
    else
        options = options - TBarItemOptions{tboImageAboveCaption, tboSameWidth};
    SetOptions(options);
    if (View()) View()->InvalidatePositions();
    Arrange();
}

TColor TSbToolbar::GetItemTextColor(TSbSkinStatesType State) {
    std::shared_ptr<TSbSkinOptions> skin = CurrentSkin();
    if (!skin) return clNone;
    return skin->GetTextColor(MenuBar() ? skncMenuBarItem : skncToolbarItem, State);
}

int TSbToolbar::MaxItemThickness() {
    TSbToolbarView* view = SkinnedView();
    if (!view || view->MaxItemSize < 0) return -1;
    return view->MaxItemSize - GetNonClientHeight();
}

// ---- notifications and the right end -------------------------------------------------------

void TSbToolbar::ItemsChanged(void* Data, TBarCustomItem*, bool Relayed, TBarItemChangedAction Action,
                              int Index, TBarCustomItem* Item) {
    if (Relayed) return;
    static_cast<TSbToolbar*>(Data)->DoItemNotification(Action, Index, Item);
}

void TSbToolbar::DoItemNotification(TBarItemChangedAction Action, int Index, TBarCustomItem* Item) {
    const TComponentState cs = ComponentState();
    if (cs.Contains(csDestroying) || cs.Contains(csLoading) || cs.Contains(csReading)) return;
    if ((state_ & tsResizing) || updateCount_ > 0) return;
    TBarWatch<TBarCustomToolbar> self(this);
    if (OnItemNotification) OnItemNotification(this, Action, Index, Item);
    // The handler may have freed the bar.
    if (!self) return;
    switch (Action) {
        case tbicInserted:
            RightAlignItems();
            AnchorItems(true);
            break;
        case tbicDeleting:
            itemCache_.erase(Item);
            RightAlignItems();
            AnchorItems(true);
            break;
        case tbicInvalidateAndResize:
            RightAlignItems();
            break;
        default:
            break;
    }
}

int TSbToolbar::DockExtent() {
    TBarDock* dock = CurrentDock();
    if (!dock) return 0;
    return dock->Vertical() ? dock->ClientHeight() : dock->ClientWidth();
}

void TSbToolbar::RightAlignItems() {
    if (ComponentState().Contains(csDestroying) || (state_ & tsRightAligning) || !Docked() || !View()) return;
    if (Items()->Count() == 0 || DockExtent() == 0) return;
    TBarView* view = View();
    view->ValidatePositions();
    const bool vertical = CurrentDock()->Vertical();
    TSbItemViewer* spacer = nullptr;
    int total = 0, spacerExtent = 0;
    // Measured afresh: items the last layout hid behind the chevron have no
    // bounds to go by.
    TCanvas* canvas = SkinMeasureCanvas();
    canvas->SetFont(view->GetFont());
    for (int i = 0; i < view->ViewerCount(); ++i) {
        TBarItemViewer* viewer = view->Viewers(i);
        if (!viewer->Item()->Visible() || viewer->Item() == view->GetChevronItem()) continue;
        int w = 0, h = 0;
        if (auto* control = dynamic_cast<TBarControlItem*>(viewer->Item())) {
            if (control->Control()) w = control->Control()->Width(), h = control->Control()->Height();
        } else {
            viewer->CalcSize(canvas, w, h);
        }
        const int extent = vertical ? h : w;
        total += extent;
        if (!spacer && dynamic_cast<TSbRightAlignSpacerItem*>(viewer->Item())) {
            spacer = static_cast<TSbItemViewer*>(viewer);
            spacerExtent = extent;
        }
    }
    if (!spacer) return;
    state_ |= tsRightAligning;
    struct TClear {
        unsigned& state;
        ~TClear() { state &= ~static_cast<unsigned>(tsRightAligning); }
    } clear{state_};
    // The bar's own frame and the view's margins take their share of the
    // dock's length as well.
    const TRect margins = view->GetMargins(vertical ? boVertical : boHorizontal);
    const int frame = vertical ? GetNonClientHeight() + margins.Top + margins.Bottom
                               : GetNonClientWidth() + margins.Left + margins.Right;
    const int width = std::max(0, DockExtent() - GetRightAlignMargin() - frame - (total - spacerExtent));
    spacer->SkinnedItem()->SetCustomWidth(width);
    view->InvalidatePositions();
    Arrange();
}

void TSbToolbar::AnchorItems(bool UpdateControlItems) {
    if (ComponentState().Contains(csDestroying) || (state_ & tsAnchoring) || !Docked() || !View()) return;
    const int length = CurrentDock()->Vertical() ? Height() : Width();
    if (length <= 0) return;
    state_ |= tsAnchoring;
    struct TClear {
        unsigned& state;
        ~TClear() { state &= ~static_cast<unsigned>(tsAnchoring); }
    } clear{state_};
    if (storedLength_ < 0) storedLength_ = length;
    const int growth = length - storedLength_;
    TBarView* view = View();
    view->BeginUpdate();
    for (int i = 0; i < view->ViewerCount(); ++i) {
        TBarItemViewer* viewer = view->Viewers(i);
        if (auto* skinned = dynamic_cast<TSbItemViewer*>(viewer);
            skinned && skinned->SkinnedItem()->Anchored())
            skinned->AnchorSize = std::max(0, growth);
        auto* item = dynamic_cast<TBarControlItem*>(viewer->Item());
        if (!item || !UpdateControlItems) continue;
        TControl* control = item->Control();
        const bool follows =
            control && (control->Align() == alClient || control->Anchors().Contains(akRight));
        if (!follows) {
            itemCache_.erase(item);
            continue;
        }
        auto found = itemCache_.find(item);
        if (found == itemCache_.end())
            found = itemCache_.emplace(item, TControlCache{control->Width(), length}).first;
        control->SetWidth(std::max(0, found->second.Width + length - found->second.BarLength));
    }
    view->EndUpdate();
}

void TSbToolbar::DockResized() {
    RightAlignItems();
    AnchorItems(true);
}

void TSbToolbar::ValidateControlItems() {
    if (!HandleAllocated() || !View()) return;
    for (int i = 0; i < View()->ViewerCount(); ++i) {
        TBarItemViewer* viewer = View()->Viewers(i);
        if (!dynamic_cast<TBarControlItem*>(viewer->Item()) || !viewer->Show) continue;
        ValidateRect(Handle(), viewer->BoundsRect.Win32());
    }
}

void TSbToolbar::Resized() {
    state_ |= tsResizing;
    AnchorItems(true);
    state_ &= ~static_cast<unsigned>(tsResizing);
}

// ---- painting ----------------------------------------------------------------------------

void TSbToolbar::DoDrawBackground(TCanvas* Canvas, const TRect& R, TSbDrawStage2 Stage, bool& PaintDefault) {
    if (OnDrawBackground) OnDrawBackground(this, Canvas, R, Stage, PaintDefault);
}

void TSbToolbar::DrawBackground(HDC DC, const TRect& R) {
    ++paintCount_;
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(DC);
    bool paintDefault = true;
    DoDrawBackground(canvas.get(), R, sdbBefore, paintDefault);
    const bool vertical = CurrentDock() && CurrentDock()->Vertical();
    if (paintDefault)
        ::PaintDockBackground(this, canvas.get(), R, MenuBar() ? skncMenuBar : skncToolbar, true, vertical);
    bool ignored = true;
    DoDrawBackground(canvas.get(), R, sdbAfter, ignored);
    canvas->SetHandle(nullptr);
}

void TSbToolbar::DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn) {
    if (!Docked() || !HandleAllocated()) return;
    TNCPaintDC paint(Handle(), DrawToDC ? DC : nullptr, Rgn);
    const TRect window = paint.Bounds();
    RECT screen{};
    GetWindowRect(Handle(), &screen);
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    TRect client = ClientRect();
    OffsetRect(client.Win32(), origin.x - screen.left, origin.y - screen.top);
    TSaveDC saved(paint.Get());
    ExcludeClipRect(paint.Get(), client.Left, client.Top, client.Right, client.Bottom);
    DrawBackground(paint.Get(), window);
    const bool vertical = CurrentDock()->Vertical();
    TRect grip(0, 0, 0, 0), close(0, 0, 0, 0);
    if (CurrentDock()->GetAllowDrag() && DragHandleStyle() != dhNone) {
        const int handle = DragHandleSize();
        grip =
            vertical ? TRect(2, 2, window.Right - 2, 2 + handle) : TRect(2, 2, 2 + handle, window.Bottom - 2);
    }
    if (CloseButtonWhenDocked()) close = GetDockedCloseButtonRect(vertical);
    TOwned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(paint.Get());
    const TSbSkinStatesType closeState =
        TSbSkinOptions::GetState(true, CloseButtonPressed(), CloseButtonHot(), false);
    PaintToolbarNC(canvas.get(), grip, close, vertical, closeState);
    canvas->SetHandle(nullptr);
}

// ---- mouse ---------------------------------------------------------------------------------

bool TSbToolbar::CanItemClick(TBarItemViewer*) {
    return true;
}

void TSbToolbar::DoItemClick(TBarItemViewer* Viewer, TMouseButton Button) {
    if (Button != mbLeft || !Viewer) return;
    TBarCustomItem* item = Viewer->Item();
    // A label lets clicks through the loop, so its own click is called here.
    if (item->Enabled() && (item->ItemStyle() & isfClicksTransparent) &&
        dynamic_cast<TSbCustomLabelItem*>(item))
        if (item->OnClick) item->OnClick(item);
}

void TSbToolbar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TPoint p(X, Y);
    TBarItemViewer* viewer = View()->ViewerFromPoint(p);
    if (!CanItemClick(viewer)) return;
    const TRect before = BoundsRect();
    TBarWatch<TBarCustomToolbar> self(this);
    TBarWatch<TBarCustomItem> item(viewer ? viewer->Item() : nullptr);
    inherited::MouseDown(Button, Shift, X, Y);
    if (!self || !item) return;
    if (BoundsRect() == before) DoItemClick(View()->ViewerOf(item.Get()), Button);
}

void TSbToolbar::MouseMove(TShiftState Shift, int X, int Y) {
    inherited::MouseMove(Shift, X, Y);
    if (ComponentState().Contains(csDesigning) || !View()) return;
    TBarItemViewer* viewer = View()->Selected();
    std::wstring hint;
    if (auto* skinned = dynamic_cast<TSbItemViewer*>(viewer);
        skinned && !skinned->Item()->EffectiveOptions().Contains(tboNoAutoHint))
        hint = skinned->SkinnedItem()->Hint();
    if (viewer && !dynamic_cast<TSbItemViewer*>(viewer)) return;
    WideSetHint(this, hint);
    if (viewer) viewer->MouseMove(X - viewer->BoundsRect.Left, Y - viewer->BoundsRect.Top);
}

// ---- messages -------------------------------------------------------------------------------

void TSbToolbar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case SM_SKINCHANGE:
            if (HandleAllocated()) {
                // Floating, the caption and frame belong to the floating
                // window, which holds this bar as a child.
                TWinControl* target = this;
                if (TBarFloatingWindowParent* parent = FloatingWindowParent();
                    Floating() && parent && parent->HandleAllocated())
                    target = parent;
                RedrawWindow(target->Handle(), nullptr, nullptr,
                             RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
            return;
        case WM_ERASEBKGND: {
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            TSaveDC saved(dc);
            TRect r = ClientRect();
            if (Docked()) {
                // One background with the frame: the client area shows the
                // middle of the same painting.
                const int ncw = GetNonClientWidth(), nch = GetNonClientHeight();
                r = TRect(-2, -2, r.Right + 2, r.Bottom + 2);
                if (CurrentDock()->Vertical())
                    r.Top -= nch - 2;
                else
                    r.Left -= ncw - 2;
                // Painted in the frame's coordinates, as the frame itself is,
                // so that what lies behind the bar lines up with its parent.
                RECT window{};
                GetWindowRect(Handle(), &window);
                POINT origin{0, 0};
                ::ClientToScreen(Handle(), &origin);
                const int dx = origin.x - window.left, dy = origin.y - window.top;
                POINT org{};
                GetWindowOrgEx(dc, &org);
                SetWindowOrgEx(dc, org.x + dx, org.y + dy, nullptr);
                OffsetRect(r.Win32(), dx, dy);
            }
            DrawBackground(dc, r);
            Message.Result = 1;
            return;
        }
        case CM_DIALOGCHAR:
            // A character the input language cannot hold in one byte focuses nothing.
            if (const char ch = BarAnsiChar(static_cast<wchar_t>(Message.WParam));
                ch && Enabled() && Visible()) {
                TBarWatch<TBarCustomToolbar> self(this);
                for (int i = 0; self && i < Items()->Count(); ++i)
                    if (auto* item = dynamic_cast<TSbCustomItem*>(Items()->Items(i));
                        item && item->DialogChar(ch)) {
                        Message.Result = 1;
                        return;
                    }
                if (!self) return;
            }
            break;
        case CM_HINTSHOW:
            if (View() && View()->Selected())
                if (auto* viewer = dynamic_cast<TSbItemViewer*>(View()->Selected())) {
                    viewer->HintShow(*reinterpret_cast<THintInfo*>(Message.LParam));
                    return;
                }
            break;
        case CM_TEXTCHANGED:
            inherited::WndProc(Message);
            if (HandleAllocated())
                SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                             SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (Floating())
                if (auto* parent = dynamic_cast<TBarFloatingWindowParent*>(Parent()))
                    parent->DrawNCArea(false, nullptr, nullptr, TBarFloatingWindowParent::dpCaption);
            return;
        case WM_SIZE:
            inherited::WndProc(Message);
            Resized();
            if (HandleAllocated()) {
                InvalidateRect(Handle(), nullptr, TRUE);
                ValidateControlItems();
            }
            return;
        default:
            break;
    }
    inherited::WndProc(Message);
}
