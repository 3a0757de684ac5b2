#include "toolbar/bartoolbar.h"

#include <algorithm>
#include <cstdlib>

#include "classlib/graphics/colors.h"
#include "classlib/windows/application.h"
#include "classlib/windows/hints.h"
#include "toolbar/barconsts.h"
#include "toolbar/barfloating.h"
#include "toolbar/barmainhook.h"
#include "toolbar/barmodal.h"
#include "toolbar/barsystem.h"
#include "toolbar/bartext.h"

namespace {

// The toolbar's view: submenus open in popup windows and the font follows
// the bar.
class TBarToolbarOwnView : public TBarMenuToolbarView {
    VX_CLASS(TBarToolbarOwnView, TBarMenuToolbarView)
public:
    TBarToolbarOwnView(TComponent* AOwner, TBarView* AParentView, TBarCustomItem* AParentItem,
                       TWinControl* AWindow, bool AIsToolbar, bool ACustomizing, bool AUsePriorityList)
        : inherited(AOwner, AParentView, AParentItem, AWindow, AIsToolbar, ACustomizing, AUsePriorityList) {}

    TBarCustomToolbar* Toolbar() const { return static_cast<TBarCustomToolbar*>(Window()); }
    TFont* GetFont() override {
        if (Window() && Toolbar()->SystemFont()) return BarToolbarFont();
        return inherited::GetFont();
    }
};

TBarOrientation OrientationFor(TBarDockType Type) {
    switch (Type) {
        case dtFloating:
            return boFloating;
        case dtVertical:
            return boVertical;
        default:
            return boHorizontal;
    }
}

bool Designing(const TComponent* C) {
    return C->ComponentState().Contains(csDesigning);
}

}  // namespace

TBarCustomToolbar::TBarCustomToolbar(TComponent* AOwner) : inherited(AOwner) {
    SetControlStyle((ControlStyle() + TControlStyle{csAcceptsControls, csActionClient}) -
                    TControlStyle{csCaptureMouse});
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 23, 22);
}

void TBarCustomToolbar::AfterConstruction() {
    // Here rather than in the constructor, where a descendant's factory
    // would not be reached yet.
    items_ = CreateRootItem();
    items_->SetParentComponentOfRoot(this);
    chevronItem_ = CreateChevronItem();
    chevronItem_->SetLinkSubitems(items_);
    SetChevronHint(SBarMoreButtonsHint);
    inherited::AfterConstruction();
    view_ = CreateToolbarView();
    view_->SetChevronItem(chevronItem_);
    view_->BackgroundColor = clBtnFace;
    chevronItem_->SetChevronParentView(view_);
    // The view made its viewers before it knew of the chevron.
    view_->RecreateAllViewers();
}

TBarRootItem* TBarCustomToolbar::CreateRootItem() {
    return Create<TBarRootItem>(this);
}

TBarChevronItem* TBarCustomToolbar::CreateChevronItem() {
    return Create<TBarChevronItem>(this);
}

TBarToolbarView* TBarCustomToolbar::CreateToolbarView() {
    return Create<TBarToolbarOwnView>(nullptr, nullptr, items_, this, true, false, !Designing(this));
}

void TBarCustomToolbar::BeforeDestruction() {
    UninstallHookProc(this, &TBarCustomToolbar::MenuBarGetMessageHook);
    UninstallMainWindowHook(this);
    if (view_) {
        chevronItem_->SetChevronParentView(nullptr);
        std::exchange(view_, nullptr)->Free();
    }
    inherited::BeforeDestruction();
}

// ---- properties ----------------------------------------------------------------------------------

void TBarCustomToolbar::SetChevronMoveItems(bool Value) {
    chevronMoveItems_ = Value;
    view_->SetUsePriorityList(Value && !Designing(this));
}

void TBarCustomToolbar::SetChevronPriorityForNewItems(TBarChevronPriorityForNewItems Value) {
    chevronPriority_ = Value;
    view_->NewViewersGetHighestPriority = Value == tbcpHighest;
}

void TBarCustomToolbar::SetChevronHint(const std::string& Value) {
    chevronItem_->SetHint(Value);
    chevronItem_->SetCaption(EscapeAmpersands(GetShortHint(Value)));
}

void TBarCustomToolbar::SetFloatRightX(int Value) {
    if (Value == floatRightX_) return;
    floatRightX_ = Value;
    if (Floating()) Arrange();
}

void TBarCustomToolbar::SetMenuBar(bool Value) {
    if (Value == menuBar_) return;
    menuBar_ = Value;
    SetControlStyle(Value ? ControlStyle() + TControlStyle{csMenuEvents}
                          : ControlStyle() - TControlStyle{csMenuEvents});
    const unsigned char bits = vsMenuBar | vsUseHiddenAccels;
    view_->SetStyle(static_cast<unsigned char>(Value ? view_->Style() | bits : view_->Style() & ~bits));
    view_->UpdateAccelerators(false);
    if (!ComponentState().Contains(csLoading)) {
        SetFullSize(Value);
        SetShrinkMode(Value ? tbsmWrap : tbsmChevron);
        SetCloseButton(!Value);
        SetProcessShortCuts(Value);
    }
    // The hook stands for redirecting keys of MDI children; the program has
    // no MDI forms, so its procedure has nothing to do (see the procedure).
    if (Value && !Designing(this))
        InstallHookProc(this, &TBarCustomToolbar::MenuBarGetMessageHook, THookMessageKinds{hmkGetMessage});
    else
        UninstallHookProc(this, &TBarCustomToolbar::MenuBarGetMessageHook);
    UpdateMainWindowHook();
}

void TBarCustomToolbar::MenuBarGetMessageHook(THookMessageKind, HWND, WPARAM, LPARAM) {
    // Redirection of WM_SYSCHAR and "-" from an MDI client to the main form
    // belongs here; the class library has no MDI forms, so nothing to do.
}

void TBarCustomToolbar::SetProcessShortCuts(bool Value) {
    if (Value == processShortCuts_) return;
    processShortCuts_ = Value;
    UpdateMainWindowHook();
}

void TBarCustomToolbar::UpdateMainWindowHook() {
    if ((processShortCuts_ || menuBar_) && !Designing(this))
        InstallMainWindowHook(this);
    else
        UninstallMainWindowHook(this);
}

void TBarCustomToolbar::SetShrinkMode(TBarShrinkMode Value) {
    if (Value == shrinkMode_) return;
    shrinkMode_ = Value;
    if (CurrentDock())
        CurrentDock()->ArrangeToolbars();
    else if (!Floating())
        Arrange();
}

void TBarCustomToolbar::SetSystemFont(bool Value) {
    if (Value == systemFont_) return;
    systemFont_ = Value;
    view_->InvalidatePositions();
    Arrange();
}

// ---- layout ------------------------------------------------------------------------------------------

void TBarCustomToolbar::ChevronOffsetFor(TBarDock* ADock, TBarDockType DockType, int& Wrap, int& Chevron) {
    Wrap = Chevron = 0;
    if (DockType == dtNotDocked) {
        if (!AutoResize() || (Anchors().Contains(akLeft) && Anchors().Contains(akRight))) {
            const int room = Width() - GetNonClientWidth();
            if (shrinkMode_ == tbsmChevron) Chevron = room;
            if (shrinkMode_ == tbsmWrap) Wrap = room;
        }
        return;
    }
    const bool vertical = DockType == dtVertical;
    if (DockType == dtFloating)
        Wrap = floatRightX_;
    else if (shrinkMode_ == tbsmWrap && ADock)
        Wrap = vertical ? ADock->Height() - ADock->NonClientHeight() - GetNonClientHeight()
                        : ADock->Width() - ADock->NonClientWidth() - GetNonClientWidth();
    if (shrinkMode_ == tbsmChevron && ADock && ADock == CurrentDock() && ArrangedSize() > 0)
        Chevron = std::max(0, ArrangedSize() - (vertical ? GetNonClientHeight() : GetNonClientWidth()));
}

void TBarCustomToolbar::UpdateViewProperties() {
    const TBarDockType type =
        CurrentDock() ? CurrentDock()->DockType() : (Floating() ? dtFloating : dtNotDocked);
    int wrap = 0, chevron = 0;
    ChevronOffsetFor(CurrentDock(), type, wrap, chevron);
    view_->SetOrientation(OrientationFor(type));
    view_->SetWrapOffset(wrap);
    view_->SetChevronParams(chevron, BarChevronSize);
}

void TBarCustomToolbar::DoArrange(bool CanMoveControls, TBarDockType DockType, TSize& NewSize,
                                  TBarDock* ADock) {
    if (CanMoveControls) {
        UpdateViewProperties();
        view_->UpdatePositions(NewSize);
        return;
    }
    int wrap = 0, chevron = 0;
    ChevronOffsetFor(ADock, DockType, wrap, chevron);
    TSize base;
    int lines = 0;
    view_->CalculatePositions(false, OrientationFor(DockType), wrap, chevron, BarChevronSize, base, NewSize,
                              lines);
}

void TBarCustomToolbar::LayoutMinimums(TSize& Size) {
    ForgetArrangedSize();
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    GetMinMaxSize(minWidth, minHeight, maxWidth, maxHeight);
    Size.cx = std::max<LONG>(Size.cx, minWidth);
    Size.cy = std::max<LONG>(Size.cy, minHeight);
    const bool vertical = view_->Orientation() == boVertical;
    if (FullSize()) {
        if (vertical)
            Size.cy = std::max<LONG>(Size.cy, view_->WrapOffset());
        else
            Size.cx = std::max<LONG>(Size.cx, view_->WrapOffset());
    }
    // A bar in a thicker row is laid out across the whole row, so that its
    // items are centred in it and its separators reach across.
    if (TBarDock* dock = CurrentDock(); dock && EffectiveRow() >= 0) {
        const bool verticalDock = dock->DockType() == dtVertical;
        const int row =
            dock->LayoutRowSize(EffectiveRow()) - (verticalDock ? GetNonClientWidth() : GetNonClientHeight());
        if (verticalDock)
            Size.cx = std::max<LONG>(Size.cx, row);
        else
            Size.cy = std::max<LONG>(Size.cy, row);
    }
}

void TBarCustomToolbar::LaidOut(const TSize& Size, TSize OldBaseSize) {
    wrappedLines_ = view_->WrappedLines();
    laidOutSize_ = Size;
    baseSize_ = view_->BaseSize();
    if (viewArranging_ > 0) return;
    ContentResized(Size, baseSize_ != OldBaseSize);
}

void TBarCustomToolbar::AlignControls(TControl* AControl, TRect&) {
    if (viewArranging_ > 0 || !view_) return;
    if (Arranging()) {
        // A control on the bar changed while an arrangement sizes the bar:
        // its new size goes into the content, which the arrangement follows
        // once it is over.
        if (AControl) {
            view_->InvalidatePositions();
            view_->ValidatePositions();
        }
        return;
    }
    Arrange();
}

void TBarCustomToolbar::GetBaseSize(TSize& Size) {
    view_->ValidatePositions();
    Size = view_->BaseSize();
}

void TBarCustomToolbar::GetMinShrinkSize(int& Size) {
    view_->ValidatePositions();
    const bool vertical = CurrentDock() && CurrentDock()->DockType() == dtVertical;
    int length = 0;
    for (TBarItemViewer* viewer : view_->PriorityList())
        if (viewer->Item()->Visible()) {
            length = vertical ? viewer->BoundsRect.Height() : viewer->BoundsRect.Width();
            break;
        }
    Size = length + (vertical ? GetNonClientHeight() : GetNonClientWidth()) + BarChevronSize;
}

bool TBarCustomToolbar::IsPointOverControl(TPoint P) {
    if (inherited::IsPointOverControl(P)) return true;
    if (Designing(this)) return false;
    TBarItemViewer* hot = view_->Selected();
    return hot && !(hot->Item()->ItemStyle() & isfClicksTransparent);
}

// ---- floating resize -----------------------------------------------------------------------------

std::vector<TBarFloatSize> TBarCustomToolbar::BuildFloatSizes() {
    const TRect margins = view_->GetMargins(boFloating);
    // Trials: nothing on the bar moves.
    auto trial = [this](int Wrap, TSize& Size, int& Lines, int& WidestLine) {
        TSize base;
        view_->CalculatePositions(false, boFloating, Wrap, 0, BarChevronSize, base, Size, Lines, &WidestLine);
    };
    return BuildFloatSizeList(trial, margins.Left + margins.Right + 1);
}

void TBarCustomToolbar::SizeBegin() {
    floatSizes_ = BuildFloatSizes();
    snapDistance_ = 12;
    const TSize current{ClientWidth(), ClientHeight()};
    for (const TBarFloatSize& entry : floatSizes_)
        if (entry.Size != current) {
            const int gap =
                std::max(std::abs(entry.Size.cx - current.cx), std::abs(entry.Size.cy - current.cy));
            snapDistance_ = std::min(snapDistance_, std::max(0, gap - 1));
        }
    if (FloatingWindowParent() && FloatingWindowParent()->HandleAllocated()) {
        RECT r;
        GetWindowRect(FloatingWindowParent()->Handle(), &r);
        sizeStartRect_ = r;
    }
}

void TBarCustomToolbar::SizeEnd() {
    floatSizes_.clear();
}

void TBarCustomToolbar::SizeChangingRect(TRect& R) {
    if (floatSizes_.empty()) return;
    const TRect& s = sizeStartRect_;
    const int frameW = s.Width() - ClientWidth(), frameH = s.Height() - ClientHeight();
    const bool leftMoved = R.Left != s.Left, rightMoved = R.Right != s.Right;
    const bool topMoved = R.Top != s.Top, bottomMoved = R.Bottom != s.Bottom;
    const bool horizontal = leftMoved || rightMoved || !(topMoved || bottomMoved);
    int distance = horizontal ? R.Width() - frameW : R.Height() - frameH;
    const int startDim = horizontal ? s.Width() - frameW : s.Height() - frameH;
    if (std::abs(distance - startDim) <= snapDistance_) distance = startDim;
    const int index = PickFloatSize(floatSizes_, horizontal, distance);
    if (index < 0) return;
    const TSize size = floatSizes_[static_cast<size_t>(index)].Size;
    const int w = size.cx + frameW, h = size.cy + frameH;
    if (leftMoved)
        R.Left = R.Right - w;
    else
        R.Right = R.Left + w;
    if (topMoved)
        R.Top = R.Bottom - h;
    else
        R.Bottom = R.Top + h;
}

void TBarCustomToolbar::FloatingSizeChanging(int AWidth, int AHeight) {
    for (const TBarFloatSize& entry : floatSizes_)
        if (entry.Size.cx == AWidth && entry.Size.cy == AHeight) {
            floatRightX_ = entry.WrapWidth;
            break;
        }
    UpdateViewProperties();
}

// ---- mouse ------------------------------------------------------------------------------------------

void TBarCustomToolbar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TWinControl* oldParent = Parent();
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || Designing(this) || Parent() != oldParent) return;
    const TPoint p(X, Y);
    view_->UpdateSelection(&p, true);
    TBarItemViewer* viewer = view_->Selected();
    if (!viewer || (viewer->Item()->ItemStyle() & isfClicksTransparent)) return;
    inMouseDownLoop_ = true;
    struct TLower {
        bool& flag;
        ~TLower() { flag = false; }
    } lower{inMouseDownLoop_};
    EnterToolbarLoop(view_, tbetMouseDown);
}

void TBarCustomToolbar::MouseMove(TShiftState Shift, int X, int Y) {
    if (!Designing(this)) {
        const TPoint p(X, Y);
        view_->UpdateSelection(&p, true);
        TBarItemViewer* viewer = view_->Selected();
        std::string hint;
        if (viewer && !viewer->Item()->EffectiveOptions().Contains(tboLongHintInMenuOnly))
            hint = viewer->Item()->Hint();
        SetHint(hint);
        if (HandleAllocated()) CallTrackMouseEvent(Handle(), TME_LEAVE);
    }
    inherited::MouseMove(Shift, X, Y);
}

void TBarCustomToolbar::ClearHotViewer() {
    if (GetCapture() || inMouseDownLoop_ || (view_->State() & vsModal)) return;
    view_->UpdateSelection(nullptr, true);
}

void TBarCustomToolbar::DoContextPopup(TPoint MousePos, bool& Handled) {
    ClearHotViewer();
    inherited::DoContextPopup(MousePos, Handled);
}

// ---- keyboard ----------------------------------------------------------------------------------------

bool TBarCustomToolbar::KeyboardOpen(char Key, bool RequirePrimaryAccel) {
    view_->UpdateAccelerators(true);
    bool entered = false;
    if (Key == 0) {
        view_->Select(view_->FirstSelectable(), false);
        EnterToolbarLoop(view_, 0);
        entered = true;
    } else {
        bool only = false;
        TBarItemViewer* viewer = view_->FindAccel(Key, only);
        // A caption that merely starts with the letter does not count then.
        if (viewer && RequirePrimaryAccel && FindAccelChar(viewer->GetCaptionText()) == 0) viewer = nullptr;
        if (viewer && viewer->Item()->Enabled()) {
            if (only) {
                view_->Select(viewer, false);
                EnterToolbarLoop(view_, tbetExecuteSelected);
                entered = true;
            } else if (menuBar_) {
                view_->Select(viewer, false);
                EnterToolbarLoop(view_, 0);
                entered = true;
            }
        }
    }
    view_->UpdateAccelerators(false);
    return entered;
}

bool TBarCustomToolbar::IsShortCut(TMessage& Message) {
    bool handled = false;
    if (OnShortCut) OnShortCut(Message, handled);
    return handled || items_->IsShortCut(Message);
}

LRESULT TBarCustomToolbar::SysCommand(WPARAM CmdType, LPARAM Key) {
    if (!menuBar_ || !Enabled() || !Showing() || (CmdType & 0xFFF0) != SC_KEYMENU || Key == VK_SPACE ||
        GetCapture())
        return 0;
    char ch = 0;
    if (Key != 0 && (ch = BarAnsiChar(static_cast<wchar_t>(Key))) == 0) return 0;
    if (KeyboardOpen(ch, false)) return 1;
    // "-" asks for the form's system menu: not ours, and answering 0 (never
    // passing it on) keeps it from coming back here.
    if (ch == '-') return 0;
    MessageBeep(0);
    return 1;
}

// ---- controls on the bar -------------------------------------------------------------------------------

void TBarCustomToolbar::AddControlItem(TControl* Control) {
    for (int i = 0; i < items_->Count(); ++i)
        if (auto* item = dynamic_cast<TBarControlItem*>(items_->Items(i)); item && item->Control() == Control)
            return;
    auto* item = Create<TBarControlItem>(Owner() ? Owner() : this, Control);
    if (Designing(this) && Owner()) {
        for (int n = 1;; ++n) {
            const std::string name = "TBControlItem" + std::to_string(n);
            if (!Owner()->FindComponent(name)) {
                item->SetName(name);
                break;
            }
        }
    }
    items_->Add(item);
}

void TBarCustomToolbar::RemoveControlItems(TControl* Control) {
    for (int i = items_->Count(); i-- > 0;)
        if (auto* item = dynamic_cast<TBarControlItem*>(items_->Items(i));
            item && item->Control() == Control) {
            item->DontFreeControl = true;
            item->Free();
        }
}

void TBarCustomToolbar::Loaded() {
    for (int i = 0; i < ControlCount(); ++i) AddControlItem(Controls(i));
    inherited::Loaded();
}

void TBarCustomToolbar::GetTabOrderList(std::vector<TWinControl*>& List) {
    inherited::GetTabOrderList(List);
    for (int i = 0; i < view_->ViewerCount(); ++i) {
        TBarItemViewer* viewer = view_->Viewers(i);
        auto* item = dynamic_cast<TBarControlItem*>(viewer->Item());
        if (!item || !viewer->OffEdge) continue;
        auto* control = dynamic_cast<TWinControl*>(item->Control());
        if (!control) continue;
        std::erase_if(List, [control](TWinControl* c) {
            for (TControl* p = c; p; p = p->Parent())
                if (p == control) return true;
            return false;
        });
    }
}

void TBarCustomToolbar::InitiateAction() {
    inherited::InitiateAction();
    if (!UpdateActions) return;
    for (int i = 0; i < view_->ViewerCount(); ++i) view_->Viewers(i)->Item()->InitiateAction();
}

// ---- painting and messages ----------------------------------------------------------------------------

void TBarCustomToolbar::Paint() {
    if (Designing(this) && !Docked()) {
        TCanvas* canvas = Canvas();
        TRect r = ClientRect();
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(r);
    }
    view_->DrawSubitems(Canvas());
}

void TBarCustomToolbar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_SYSCOMMAND:
            // A menu bar answers key-menu requests; other commands go on.
            if (menuBar_ && (Message.WParam & 0xFFF0) == SC_KEYMENU) {
                Message.Result = SysCommand(Message.WParam, Message.LParam);
                return;
            }
            break;
        case CM_DIALOGCHAR:
            if (!menuBar_ && Enabled() && Showing() && Message.WParam != 0) {
                // A character the input language cannot hold in one byte
                // matches no accelerator (and must not open the first item).
                const char ch = BarAnsiChar(static_cast<wchar_t>(Message.WParam));
                if (ch != 0 && KeyboardOpen(ch, true)) {
                    Message.Result = 1;
                    return;
                }
            }
            break;
        case CM_DIALOGKEY:
            if (menuBar_ && Message.WParam == VK_MENU) view_->UpdateAccelerators(true);
            break;
        case CM_CONTROLCHANGE:
            if (Message.LParam && !ComponentState().Contains(csLoading))
                AddControlItem(reinterpret_cast<TControl*>(Message.WParam));
            break;
        case CM_CONTROLLISTCHANGE:
            if (!Message.LParam) RemoveControlItems(reinterpret_cast<TControl*>(Message.WParam));
            break;
        case CM_COLORCHANGED:
            if (view_) view_->BackgroundColor = Color();
            break;
        case CM_SHOWHINTCHANGED:
            view_->SetStyle(static_cast<unsigned char>(ShowHint() ? view_->Style() | vsAlwaysShowHints
                                                                  : view_->Style() & ~vsAlwaysShowHints));
            break;
        case CM_FONTCHANGED:
            if (!systemFont_) {
                view_->InvalidatePositions();
                Arrange();
            }
            break;
        case CM_WININICHANGE:
            if (Message.WParam == SPI_SETNONCLIENTMETRICS) {
                ReloadBarToolbarFont();
                view_->InvalidatePositions();
                Arrange();
            }
            break;
        case WM_CANCELMODE:
            if (view_->State() & vsModal) view_->EndModal();
            break;
        case CM_MOUSELEAVE:
            ClearHotViewer();
            break;
        case WM_MOUSELEAVE:
            if (!inMouseDownLoop_) ClearHotViewer();
            break;
        case WM_SETCURSOR:
            if (!Designing(this) && reinterpret_cast<HWND>(Message.WParam) == Handle() &&
                LOWORD(Message.LParam) == HTCLIENT) {
                POINT pt;
                GetCursorPos(&pt);
                ::ScreenToClient(Handle(), &pt);
                const TPoint p(pt.x, pt.y);
                view_->UpdateSelection(&p, true);
                if (TBarItemViewer* viewer = view_->Selected()) {
                    HCURSOR cursor = nullptr;
                    viewer->GetCursor(TPoint(p.X - viewer->BoundsRect.Left, p.Y - viewer->BoundsRect.Top),
                                      cursor);
                    if (cursor) {
                        ::SetCursor(cursor);
                        Message.Result = 1;
                        return;
                    }
                }
            }
            break;
        case WM_NCMOUSEMOVE:
            SetHint("");
            ClearHotViewer();
            break;
        case WM_SIZE:
            // A new length from the dock: hidden items may change.
            inherited::WndProc(Message);
            // (The dock lays the content out itself right after.)
            if (view_ && !RelayoutPending()) {
                UpdateViewProperties();
                // A new thickness across the dock's row: items are centred
                // in it again.
                if (TBarDock* dock = CurrentDock()) {
                    const bool vertical = dock->DockType() == dtVertical;
                    if ((vertical ? ClientWidth() : ClientHeight()) !=
                        (vertical ? laidOutSize_.cx : laidOutSize_.cy))
                        view_->InvalidatePositions();
                }
                view_->ValidatePositions();
            }
            return;
        case WM_GETOBJECT:
            if (AnswerGetObject(view_, Message)) return;
            break;
        case CM_HINTSHOW:
            if (AnswerHintShow(view_, Message, false)) return;
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}
