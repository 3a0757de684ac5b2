#include "toolbar/bardockable.h"

#include <algorithm>
#include <cstdio>

#include "classlib/core/filer.h"
#include "classlib/graphics/handles.h"
#include "classlib/services/osversion.h"
#include "classlib/windows/application.h"
#include "toolbar/barconsts.h"
#include "toolbar/barcountin.h"
#include "toolbar/barfloating.h"
#include "toolbar/barprint.h"
#include "toolbar/barsystem.h"

namespace {

// The floating bars of this thread. The hooks that let them follow their
// form are installed only while there is one: a call-window hook makes every
// sent message of the thread far slower.
thread_local std::vector<TBarCustomDockableWindow*> floatingBars;

bool IsFloatingBar(TBarCustomDockableWindow* Bar) {
    return std::find(floatingBars.begin(), floatingBars.end(), Bar) != floatingBars.end();
}

struct ActivationSearch {
    HWND except, application, found = nullptr, tool = nullptr;
};

BOOL CALLBACK ActivationCandidate(HWND Wnd, LPARAM Data) {
    auto* s = reinterpret_cast<ActivationSearch*>(Data);
    if (Wnd == s->except || Wnd == s->application || !IsWindowVisible(Wnd) || !IsWindowEnabled(Wnd))
        return TRUE;
    if (GetWindowLongW(Wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) {
        if (!s->tool) s->tool = Wnd;
        return TRUE;
    }
    s->found = Wnd;
    return FALSE;
}

// The cross of the docked close button, leftmost pixel in the high bit.
constexpr BYTE CloseGlyph[8] = {0x00, 0xCC, 0x78, 0x30, 0x78, 0xCC, 0x00, 0x00};

void DrawGlyph(HDC DC, int X, int Y, COLORREF Color) {
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col)
            if (CloseGlyph[row] & (0x80 >> col)) SetPixelV(DC, X + col, Y + row, Color);
}

}  // namespace

HWND BarNextActivationTarget(HWND Except) {
    ActivationSearch search{Except,
                            Application && Application->HandleAllocated() ? Application->Handle() : nullptr};
    EnumThreadWindows(GetCurrentThreadId(), ActivationCandidate, reinterpret_cast<LPARAM>(&search));
    return search.found ? search.found : search.tool;
}

TBarCustomDockableWindow::TBarCustomDockableWindow(TComponent* AOwner) : inherited(AOwner) {
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls);
    style.Include(csClickEvents);
    style.Include(csSetCaption);
    style.Include(csDoubleClicks);
    style.Exclude(csCaptureMouse);
    style.Exclude(csOpaque);
    SetControlStyle(style);
    SetColor(clBtnFace);
    InitTrackMouseEvent();
}

void TBarCustomDockableWindow::BeforeDestruction() {
    Destroying();
    inherited::BeforeDestruction();
    JoinFloatingList(false);
    FreeFloatingParent();
    if (lastDock_) lastDock_->ChangeDockList(false, this);
    if (currentDock_) currentDock_->ChangeDockList(false, this);
    lastDock_ = currentDock_ = defaultDock_ = nullptr;
}

TBarCustomDockableWindow::~TBarCustomDockableWindow() = default;

TCustomForm* TBarCustomDockableWindow::BarParentForm() const {
    if (floatParent_ && Parent() == floatParent_) return floatParent_->ParentForm();
    return GetParentForm(const_cast<TBarCustomDockableWindow*>(this));
}

void TBarCustomDockableWindow::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TBarCustomDockableWindow::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("SavedAtRunTime", TReaderProc(this, &TBarCustomDockableWindow::ReadSavedAtRunTime),
                          TWriterProc(this, &TBarCustomDockableWindow::WriteSavedAtRunTime), true);
}

void TBarCustomDockableWindow::ReadSavedAtRunTime(TReader* Reader) {
    savedAtRunTime_ = Reader->ReadBoolean();
}

void TBarCustomDockableWindow::WriteSavedAtRunTime(TWriter* Writer) {
    Writer->WriteBoolean(true);
}

void TBarCustomDockableWindow::Loaded() {
    inherited::Loaded();
    // A bar saved floating by a designer (not by the running program) would
    // carry form coordinates; the designer is not built, so nothing to move.
    Arrange();
}

void TBarCustomDockableWindow::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == defaultDock_) defaultDock_ = nullptr;
    if (AComponent == lastDock_) lastDock_ = nullptr;
    if (AComponent == currentDock_) currentDock_ = nullptr;
    if (AComponent == floatParent_) {
        floatParent_ = nullptr;
        floating_ = false;
        JoinFloatingList(false);
    } else if (floatParent_ && AComponent == floatParent_->ParentForm()) {
        if (floatingMode_ == fmOnTopOfAllForms) {
            floatParent_->parentForm_ = nullptr;
        } else {
            if (Parent() == floatParent_) SetParent(nullptr);
            FreeFloatingParent();
        }
    }
}

// --- docked frame

int TBarCustomDockableWindow::DragHandleSize() const {
    static const int sizes[2][3] = {{9, 0, 6}, {14, 14, 14}};
    return sizes[closeButtonWhenDocked_ ? 1 : 0][dragHandleStyle_];
}

void TBarCustomDockableWindow::GetDockedNCAreaSize(TSize& Size) {
    Size = TSize{0, 0};
    if (!currentDock_) return;
    Size = TSize{4, 4};
    if (!currentDock_->GetAllowDrag()) return;
    if (currentDock_->Vertical())
        Size.cy += DragHandleSize();
    else
        Size.cx += DragHandleSize();
}

int TBarCustomDockableWindow::GetNonClientWidth() {
    TSize size;
    GetDockedNCAreaSize(size);
    return size.cx;
}

int TBarCustomDockableWindow::GetNonClientHeight() {
    TSize size;
    GetDockedNCAreaSize(size);
    return size.cy;
}

bool TBarCustomDockableWindow::CanDockTo(TBarDock* ADock) {
    return ADock && dockableTo_.Contains(ADock->Position());
}

TRect TBarCustomDockableWindow::GetDockedCloseButtonRect(bool LeftRight) {
    const int side = DragHandleSize() - 3;
    if (LeftRight) return Bounds(ClientWidth() + 2 - side, 3, side, side);
    return Bounds(3, 2, side, side);
}

void TBarCustomDockableWindow::GetFloatingBorderSize(TSize& Size) {
    if (resizable_)
        Size = TSize{GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CYSIZEFRAME)};
    else
        Size = TSize{GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME)};
}

void TBarCustomDockableWindow::GetMinMaxSize(int& MinClientWidth, int& MinClientHeight, int& MaxClientWidth,
                                             int& MaxClientHeight) {
    MinClientWidth = MinClientHeight = MaxClientWidth = MaxClientHeight = 0;
}

bool TBarCustomDockableWindow::IsPointOverControl(TPoint P) {
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child->Visible() && child->BoundsRect().Contains(P)) return true;
    }
    return false;
}

void TBarCustomDockableWindow::RecalcFrame() {
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TBarCustomDockableWindow::RedrawNC() {
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TBarCustomDockableWindow::PaintNC(HWND, HDC DC, void* AppData) {
    static_cast<TBarCustomDockableWindow*>(AppData)->DrawNCArea(true, DC, nullptr);
}

void TBarCustomDockableWindow::DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn) {
    if (!currentDock_ || !HandleAllocated()) return;
    TNCPaintDC paint(Handle(), DrawToDC ? DC : nullptr, Rgn);
    DC = paint.Get();
    RECT window{};
    GetWindowRect(Handle(), &window);
    TRect r = paint.Bounds();
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
    const bool vertical = currentDock_->Vertical();
    const bool dockBackground = currentDock_->UsingBackground() && currentDock_->BackgroundOnToolbars();
    // Border.
    if (borderStyle_ == bsSingle)
        DrawEdge(DC, r.Win32(), BDR_RAISEDINNER, BF_RECT);
    else
        FrameRect(DC, r.Win32(), brush.Get());
    if (!dockBackground) {
        TRect inner(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        FrameRect(DC, inner.Win32(), brush.Get());
    } else {
        TSaveDC ring(DC);
        TRect client = ClientRect();
        POINT origin{0, 0};
        ::ClientToScreen(Handle(), &origin);
        OffsetRect(client.Win32(), origin.x - window.left, origin.y - window.top);
        ExcludeClipRect(DC, client.Left, client.Top, client.Right, client.Bottom);
        // Inside the border line on all four sides.
        IntersectClipRect(DC, r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        PaintDockBackground(DC);
    }
    // Drag handle.
    if (currentDock_->GetAllowDrag()) {
        const int length = (vertical ? ClientWidth() : ClientHeight()) + 2;
        const int handle = DragHandleSize();
        if (dragHandleStyle_ != dhNone) {
            static const int offsets[2][3] = {{2, 0, 1}, {3, 0, 5}};
            int o = offsets[closeButtonWhenDocked_ ? 1 : 0][dragHandleStyle_] + 2;
            const int s = dragHandleStyle_ == dhSingle ? 1 : 0;
            int start = 2, gripEnd = length;
            if (closeButtonWhenDocked_) {
                if (vertical)
                    gripEnd -= handle - 2;
                else
                    start = handle;
            }
            const int lines = dragHandleStyle_ == dhDouble ? 2 : 1;
            for (int line = 0; line < lines; ++line) {
                TRect grip = vertical ? TRect(start + s, o, gripEnd - s, o + 3)
                                      : TRect(o, start + s, o + 3, length - s);
                DrawEdge(DC, grip.Win32(), BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
                if (vertical)
                    SetPixelV(DC, gripEnd - 1 - s, o, GetSysColor(COLOR_BTNHIGHLIGHT));
                else
                    SetPixelV(DC, o, length - 1 - s, GetSysColor(COLOR_BTNHIGHLIGHT));
                ExcludeClipRect(DC, grip.Left, grip.Top, grip.Right, grip.Bottom);
                o += 3;
            }
        }
        if (!dockBackground) {
            TRect strip = vertical ? TRect(2, 2, length, handle + 2) : TRect(2, 2, handle + 2, length);
            if (closeButtonWhenDocked_) {
                TRect button = GetDockedCloseButtonRect(vertical);
                TSaveDC keep(DC);
                ExcludeClipRect(DC, button.Left, button.Top, button.Right, button.Bottom);
                FillRect(DC, strip.Win32(), brush.Get());
            } else {
                FillRect(DC, strip.Win32(), brush.Get());
            }
        }
        // Close button.
        if (closeButtonWhenDocked_) {
            TRect button = GetDockedCloseButtonRect(vertical);
            if (!dockBackground) FillRect(DC, button.Win32(), brush.Get());
            if (closeButtonPressed_)
                DrawEdge(DC, button.Win32(), BDR_SUNKENOUTER, BF_RECT);
            else if (closeButtonHot_)
                DrawEdge(DC, button.Win32(), BDR_RAISEDINNER, BF_RECT);
            int x = button.Left + 2, y = button.Top + 2;
            if (closeButtonPressed_) ++x, ++y;
            DrawGlyph(DC, x, y, GetSysColor(COLOR_BTNTEXT));
        }
    }
}

void TBarCustomDockableWindow::PaintDockBackground(HDC DC) {
    if (!currentDock_) return;
    RECT window{}, dock{};
    GetWindowRect(Handle(), &window);
    GetWindowRect(currentDock_->Handle(), &dock);
    POINT dockClient{0, 0};
    ::ClientToScreen(currentDock_->Handle(), &dockClient);
    const TRect dockArea = currentDock_->ClientRect();
    const TPoint parentSize = currentDock_->Parent() ? Point(currentDock_->Parent()->ClientWidth(),
                                                             currentDock_->Parent()->ClientHeight())
                                                     : Point(dockArea.Width(), dockArea.Height());
    // The dock's pattern, shifted to where this window sits in it.
    const int dx = dockClient.x - window.left - currentDock_->Left();
    const int dy = dockClient.y - window.top - currentDock_->Top();
    currentDock_->DrawBackground(DC, Bounds(dx, dy, parentSize.X, parentSize.Y));
}

// --- properties

void TBarCustomDockableWindow::ArrangeDock() {
    if (currentDock_) currentDock_->ArrangeToolbars();
}

void TBarCustomDockableWindow::SetAutoResize(bool Value) {
    if (Value == autoResize_) return;
    autoResize_ = Value;
    if (Value) Arrange();
}

void TBarCustomDockableWindow::SetBorderStyle(TBorderStyle Value) {
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    if (Docked()) RecalcFrame();
}

void TBarCustomDockableWindow::SetCloseButton(bool Value) {
    if (Value == closeButton_) return;
    closeButton_ = Value;
    if (floatParent_ && floatParent_->HandleAllocated())
        floatParent_->DrawNCArea(
            false, nullptr, nullptr,
            TBarFloatingWindowParent::dpCaption | TBarFloatingWindowParent::dpCloseButton);
}

void TBarCustomDockableWindow::SetCloseButtonWhenDocked(bool Value) {
    if (Value == closeButtonWhenDocked_) return;
    closeButtonWhenDocked_ = Value;
    if (Docked()) {
        RecalcFrame();
        ArrangeDock();
    }
}

void TBarCustomDockableWindow::SetDragHandleStyle(TBarDragHandleStyle Value) {
    if (Value == dragHandleStyle_) return;
    dragHandleStyle_ = Value;
    if (Docked()) {
        RecalcFrame();
        ArrangeDock();
    }
}

void TBarCustomDockableWindow::SetDockPos(int Value) {
    if (Value == dockPos_) return;
    dockPos_ = Value;
    ArrangeDock();
}

void TBarCustomDockableWindow::SetDockRow(int Value) {
    if (Value == dockRow_) return;
    dockRow_ = Value;
    ArrangeDock();
}

void TBarCustomDockableWindow::SetFullSize(bool Value) {
    if (Value == fullSize_) return;
    fullSize_ = Value;
    ArrangeDock();
}

void TBarCustomDockableWindow::SetStretch(bool Value) {
    if (Value == stretch_) return;
    stretch_ = Value;
    ArrangeDock();
}

void TBarCustomDockableWindow::SetFloatingMode(TBarFloatingMode Value) {
    if (Value == floatingMode_) return;
    floatingMode_ = Value;
    UpdateVisibility();
}

void TBarCustomDockableWindow::SetHideWhenInactive(bool Value) {
    if (Value == hideWhenInactive_) return;
    hideWhenInactive_ = Value;
    UpdateVisibility();
}

void TBarCustomDockableWindow::SetResizable(bool Value) {
    if (Value == resizable_) return;
    resizable_ = Value;
    if (floatParent_ && floatParent_->HandleAllocated()) {
        // The new frame needs a new window; the bar moves over to it whole.
        if (HandleAllocated()) ::SetParent(Handle(), nullptr);
        floatParent_->RecreateWnd();
        floatParent_->HandleNeeded();
        if (HandleAllocated() && Parent() == floatParent_) ::SetParent(Handle(), floatParent_->Handle());
        ChangeSize(Width(), Height());
        UpdateVisibility();
    }
}

void TBarCustomDockableWindow::SetShowCaption(bool Value) {
    if (Value == showCaption_) return;
    showCaption_ = Value;
    if (floatParent_) {
        ChangeSize(Width(), Height());
        if (floatParent_->HandleAllocated())
            SetWindowPos(floatParent_->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Arrange();
}

void TBarCustomDockableWindow::SetDefaultDock(TBarDock* Value) {
    if (Value == defaultDock_) return;
    defaultDock_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TBarCustomDockableWindow::SetLastDock(TBarDock* Value) {
    if (useLastDock_ && currentDock_) Value = currentDock_;
    if (Value == lastDock_) return;
    if (lastDock_ && lastDock_ != Parent()) lastDock_->ChangeDockList(false, this);
    lastDock_ = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->ChangeDockList(true, this);
    }
}

void TBarCustomDockableWindow::SetUseLastDock(bool Value) {
    if (Value == useLastDock_) return;
    useLastDock_ = Value;
    if (Value)
        SetLastDock(currentDock_);
    else
        SetLastDock(nullptr);
}

void TBarCustomDockableWindow::SetCurrentDock(TBarDock* Value) {
    if (Value == currentDock_) return;
    if (Value)
        SetParent(Value);
    else
        SetFloating(true);
}

void TBarCustomDockableWindow::SetFloatingPosition(TPoint Value) {
    floatingPosition_ = Value;
    if (floating_ && floatParent_) PlaceFloatingWindow();
}

void TBarCustomDockableWindow::PlaceFloatingWindow() {
    if (!floatParent_) return;
    floatParent_->SetBounds(floatingPosition_.X, floatingPosition_.Y, floatParent_->Width(),
                            floatParent_->Height());
}

// --- switching parents

void TBarCustomDockableWindow::CreateFloatingParent(TCustomForm* Form) {
    FreeFloatingParent();
    TObject* made = CreateInstance(GetFloatingWindowParentClass(), nullptr);
    floatParent_ = dynamic_cast<TBarFloatingWindowParent*>(made);
    if (!floatParent_) {
        if (made) made->Free();
        throw EInvalidOperation("Floating window class is no TBarFloatingWindowParent");
    }
    floatParent_->dockableWindow_ = this;
    floatParent_->parentForm_ = Form;
    Form->FreeNotification(this);
    floatParent_->FreeNotification(this);
    char name[40];
    std::snprintf(name, sizeof name, "NBFloatingWindowParent_%.8x",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(floatParent_)));
    floatParent_->SetName(name);
    floatParent_->SetCaption(Caption());
    floatParent_->SetBorderStyle(bsToolWindow);
    floatParent_->SetShowHint(true);
    const TRect frame = floatParent_->FrameSize();
    floatParent_->SetBounds(floatingPosition_.X, floatingPosition_.Y, Width() + frame.Left + frame.Right,
                            Height() + frame.Top + frame.Bottom);
    floatParent_->SetVisible(true);
}

void TBarCustomDockableWindow::FreeFloatingParent() {
    if (!floatParent_) return;
    TBarFloatingWindowParent* doomed = floatParent_;
    floatParent_ = nullptr;
    doomed->dockableWindow_ = nullptr;
    if (TCustomForm* form = doomed->ParentForm()) form->RemoveFreeNotification(this);
    doomed->Free();
}

TClass TBarCustomDockableWindow::GetFloatingWindowParentClass() {
    return TBarFloatingWindowParent::ClassInfo();
}

void TBarCustomDockableWindow::DoDockChanging(bool IsFloating, TBarDock* DockingTo) {
    if (!ComponentState().Contains(csDestroying) && OnDockChanging)
        OnDockChanging(this, IsFloating, DockingTo);
}

void TBarCustomDockableWindow::SetFloating(bool Value) {
    if (Value == floating_) return;
    if (Value) {
        TCustomForm* form = BarParentForm();
        if (!form) {
            char text[256];
            std::snprintf(text, sizeof text, SBarNoParentWindow, Name().c_str());
            throw EInvalidOperation(text);
        }
        if (!floatParent_ || floatParent_->ParentForm() != form) CreateFloatingParent(form);
        SetParent(floatParent_);
        SetBounds(0, 0, Width(), Height());
    } else {
        SetParent(BarParentForm());
    }
}

void TBarCustomDockableWindow::SetParent(TWinControl* AParent) {
    auto* newDock = dynamic_cast<TBarDock*>(AParent);
    auto* newFloat = dynamic_cast<TBarFloatingWindowParent*>(AParent);
    if (AParent == Parent()) {
        currentDock_ = newDock;
        floating_ = newFloat != nullptr;
        JoinFloatingList(floating_);
        return;
    }
    const bool destroying = ComponentState().Contains(csDestroying);
    const bool newFloating = newFloat != nullptr;
    if (!destroying && AParent) {
        if (OnDockChangingHidden) OnDockChangingHidden(this, newFloating, newDock);
        if (OnRecreating) OnRecreating(this);
    }
    auto alive = alive_;
    TBarDock* oldDock = currentDock_;
    TBarFloatingWindowParent* oldFloat = floating_ ? floatParent_ : nullptr;
    ++hideCount_;
    ++dockChangeCount_;
    UpdateVisibility();
    if (oldDock) oldDock->BeginUpdate();
    if (newDock && newDock != oldDock) newDock->BeginUpdate();
    ++arranging_;
    struct Restore {
        TBarCustomDockableWindow* bar;
        TBarDock* oldDock;
        TBarDock* newDock;
        ~Restore() {
            --bar->arranging_;
            --bar->hideCount_;
            --bar->dockChangeCount_;
            if (oldDock) oldDock->EndUpdate();
            if (newDock && newDock != oldDock) newDock->EndUpdate();
        }
    };
    {
        Restore restore{this, oldDock, newDock};
        if (AParent) DoDockChanging(newFloating, newDock);
        BeginUpdate();
        arrangedSize_ = 0;
        try {
            if (oldDock) {
                if (!(useLastDock_ && lastDock_ == oldDock)) oldDock->ChangeDockList(false, this);
                oldDock->ToolbarVisibilityChanged(this, true);
            }
            // Keeps our window: the class library moves it over whole when
            // the new parent has a window already.
            if (AParent && HandleAllocated() && !destroying) AParent->HandleNeeded();
            inherited::SetParent(AParent);
            currentDock_ = newDock;
            floating_ = newFloating;
            effectiveRow_ = -1;
            if (oldFloat && oldFloat != AParent && !holdFloatParent_) FreeFloatingParent();
            if (newDock) {
                if (useLastDock_) {
                    if (lastDock_ != newDock) {
                        if (lastDock_) lastDock_->ChangeDockList(false, this);
                        lastDock_ = newDock;
                        newDock->FreeNotification(this);
                    }
                }
                newDock->ChangeDockList(true, this);
            }
            JoinFloatingList(floating_);
            if (floating_) {
                // Placed where it floats, keeping its size.
                PlaceFloatingWindow();
            }
            if (!destroying) RecalcFrame();
            Arrange();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    }
    if (!*alive) return;
    UpdateVisibility();
    if (Parent() && OnMove) OnMove(this);
    if (!destroying && AParent) {
        if (OnRecreated) OnRecreated(this);
        if (OnDockChanged) OnDockChanged(this);
    }
}

void TBarCustomDockableWindow::JoinFloatingList(bool Join) {
    const bool listed = IsFloatingBar(this);
    if (Join == listed) return;
    if (Join) {
        floatingBars.push_back(this);
        if (floatingBars.size() == 1)
            InstallHookProc(&floatingBars, FloatingHookProc,
                            {hmkActivate, hmkActivateApp, hmkWindowPosChanged, hmkDestroyWindow});
    } else {
        std::erase(floatingBars, this);
        if (floatingBars.empty()) UninstallHookProc(&floatingBars, FloatingHookProc);
    }
}

void TBarCustomDockableWindow::FloatingHookProc(THookMessageKind Kind, HWND Wnd, WPARAM, LPARAM LParam) {
    const std::vector<TBarCustomDockableWindow*> bars = floatingBars;
    for (TBarCustomDockableWindow* bar : bars) {
        if (!IsFloatingBar(bar)) continue;
        switch (Kind) {
            case hmkActivate:
            case hmkActivateApp:
                bar->UpdateVisibility();
                break;
            case hmkWindowPosChanged: {
                const auto* pos = reinterpret_cast<const WINDOWPOS*>(LParam);
                TCustomForm* form = bar->BarParentForm();
                if (!form || !form->HandleAllocated()) break;
                HWND formWindow = form->Handle();
                const bool showing = pos && (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW));
                // The form itself also when it is minimised or restored.
                if (Wnd == formWindow || (showing && IsChild(Wnd, formWindow))) bar->UpdateVisibility();
                break;
            }
            case hmkDestroyWindow:
                if (bar->floatParent_ && bar->floatParent_->HandleAllocated() &&
                    reinterpret_cast<HWND>(GetWindowLongPtrW(bar->floatParent_->Handle(), GWLP_HWNDPARENT)) ==
                        Wnd &&
                    Application && Application->HandleAllocated())
                    SetWindowLongPtrW(bar->floatParent_->Handle(), GWLP_HWNDPARENT,
                                      reinterpret_cast<LONG_PTR>(Application->Handle()));
                break;
            default:
                break;
        }
    }
}

// --- visibility

void TBarCustomDockableWindow::UpdateVisibility() {
    if (!floating_ || !floatParent_ || ComponentState().Contains(csDestroying)) return;
    TCustomForm* form = BarParentForm();
    bool show = Visible() && hideCount_ == 0;
    if (floatingMode_ == fmOnTopOfParentForm)
        show = show && form && form->HandleAllocated() && IsWindowVisible(form->Handle()) &&
               !IsIconic(form->Handle());
    if (hideWhenInactive_) show = show && ApplicationIsActive();
    HWND window = floatParent_->Handle();
    HWND owner = floatingMode_ == fmOnTopOfParentForm && form && form->HandleAllocated()
                     ? form->Handle()
                     : (Application ? Application->Handle() : nullptr);
    const bool ownerChanged = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_HWNDPARENT)) != owner;
    if (ownerChanged) SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    const bool place = ownerChanged || (show && !IsWindowVisible(window));
    const bool topmost = floatingMode_ == fmOnTopOfAllForms
                             ? Enabled()
                             : owner && (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    // Top-level moves are dear: only when the state really changes.
    if (topmost != ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0))
        SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    floatParent_->SetShouldShow(show);
    if (show != (IsWindowVisible(window) != 0)) {
        if (!show && GetActiveWindow() == window) {
            if (HWND next = BarNextActivationTarget(window)) SetActiveWindow(next);
        }
        floatParent_->Perform(CM_SHOWINGCHANGED);
    }
    if (place) PlaceAboveOwner(window, owner);
    UpdateCaptionState();
}

// Just above the owner, not on top of everything: another application's
// window (or an unrelated form) between the owner and the top stays above.
void TBarCustomDockableWindow::PlaceAboveOwner(HWND Window, HWND Owner) {
    if (!Owner) return;
    auto topmost = [](HWND Wnd) { return (GetWindowLongW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    // A topmost bar over a plain owner is above it anyway.
    if (topmost(Window) != topmost(Owner)) return;
    HWND above = GetWindow(Owner, GW_HWNDPREV);
    if (above == Window) return;
    // Behind a topmost window would make the bar topmost as well.
    if (above && topmost(above) && !topmost(Owner)) above = nullptr;
    SetWindowPos(Window, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TBarCustomDockableWindow::UpdateCaptionState() {
    if (!floatParent_ || !floatParent_->HandleAllocated()) return;
    HWND window = floatParent_->Handle();
    bool inactive = !ApplicationIsActive();
    HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_HWNDPARENT));
    if (!inactive && floatingMode_ == fmOnTopOfParentForm && owner && FindControl(owner) &&
        dynamic_cast<TCustomForm*>(FindControl(owner))) {
        HWND active = GetActiveWindow();
        // A floating window stands for its form.
        if (auto* other = dynamic_cast<TBarFloatingWindowParent*>(FindControl(active)))
            if (other->ParentForm() && other->ParentForm()->HandleAllocated())
                active = other->ParentForm()->Handle();
        bool ownsUs = false;
        for (HWND w = owner; w; w = reinterpret_cast<HWND>(GetWindowLongPtrW(w, GWLP_HWNDPARENT)))
            if (w == active) ownsUs = true;
        inactive = !ownsUs;
    }
    if (inactive == inactiveCaption_) return;
    inactiveCaption_ = inactive;
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

// --- content and size

void TBarCustomDockableWindow::BeginUpdate() {
    ++updateCount_;
}

void TBarCustomDockableWindow::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0 && arrangeNeeded_) Arrange();
}

void TBarCustomDockableWindow::Arrange() {
    if (updateCount_ > 0 || ComponentState().Contains(csLoading) || !Parent()) {
        arrangeNeeded_ = true;
        return;
    }
    arrangeNeeded_ = false;
    const TBarDockType type =
        currentDock_ ? currentDock_->DockType() : (floating_ ? dtFloating : dtNotDocked);
    TSize size;
    {
        // The size is applied below: the content must not ask for it too.
        TBarCountIn counted(arranging_);
        DoArrange(true, type, size, currentDock_);
    }
    ApplyArrangedSize(size);
}

void TBarCustomDockableWindow::ContentResized(TSize NewSize, bool BaseSizeChanged) {
    if (ComponentState().Contains(csDestroying)) return;
    if (arranging_ > 0) {
        changedWhileArranging_ = changedWhileArranging_ || BaseSizeChanged;
        return;
    }
    if (updateCount_ > 0 || ComponentState().Contains(csLoading) || !Parent()) {
        arrangeNeeded_ = true;
        return;
    }
    if (currentDock_) {
        if (BaseSizeChanged) currentDock_->ArrangeToolbars();
        return;
    }
    ApplyArrangedSize(NewSize);
}

void TBarCustomDockableWindow::ApplyArrangedSize(TSize size) {
    if (!autoResize_ && !currentDock_ && !floating_) return;
    if (currentDock_) {
        currentDock_->ArrangeToolbars();
        return;
    }
    // Earlier changes are in the size applied here.
    const bool outermost = arranging_ == 0;
    if (outermost) changedWhileArranging_ = false;
    {
        TBarCountIn counted(arranging_);
        if (floating_) {
            ChangeSize(size.cx, size.cy);
        } else {
            int w = size.cx + GetNonClientWidth(), h = size.cy + GetNonClientHeight();
            if (Anchors().Contains(akLeft) && Anchors().Contains(akRight)) w = Width();
            if (Anchors().Contains(akTop) && Anchors().Contains(akBottom)) h = Height();
            SetBounds(Left(), Top(), w, h);
        }
    }
    // Content changed by user code run while the bar was sized (a resize
    // event) is followed once; a handler changing it on every resize cannot
    // keep the bar busy.
    if (outermost && changedWhileArranging_ && followingChange_ == 0) {
        changedWhileArranging_ = false;
        TBarCountIn following(followingChange_);
        Arrange();
    }
}

void TBarCustomDockableWindow::ChangeSize(int AWidth, int AHeight) {
    if (floating_)
        SetBounds(0, 0, AWidth, AHeight);
    else
        SetBounds(Left(), Top(), AWidth, AHeight);
}

void TBarCustomDockableWindow::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (floating_ && floatParent_ && !ComponentState().Contains(csDestroying)) {
        const TRect frame = floatParent_->FrameSize();
        floatParent_->SetBounds(floatParent_->Left(), floatParent_->Top(), AWidth + frame.Left + frame.Right,
                                AHeight + frame.Top + frame.Bottom);
        const bool changed = AWidth != Width() || AHeight != Height();
        inherited::SetBounds(0, 0, AWidth, AHeight);
        if (arranging_ == 0 && changed) SizeChanging(AWidth, AHeight);
        return;
    }
    // Moving a docked bar by hand to a new row is the designer's business;
    // there is no designer, so the dock simply places it again.
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TBarCustomDockableWindow::MoveOnScreen(bool OnlyIfFullyOffscreen) {
    if (!floating_ || !floatParent_) return;
    TRect r = floatParent_->BoundsRect();
    const TRect m = GetRectOfMonitorContainingRect(r, true);
    RECT overlap{};
    if (OnlyIfFullyOffscreen && IntersectRect(&overlap, r.Win32(), m.Win32())) return;
    auto shift = [&](int dx, int dy) { OffsetRect(r.Win32(), dx, dy); };
    if (r.Right > m.Right) shift(m.Right - r.Right, 0);
    if (r.Bottom > m.Bottom) shift(0, m.Bottom - r.Bottom);
    if (r.Left < m.Left) shift(m.Left - r.Left, 0);
    if (r.Top < m.Top) shift(0, m.Top - r.Top);
    SetFloatingPosition(r.TopLeft());
}

void TBarCustomDockableWindow::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    Hide();
    if (OnClose) OnClose(this);
}

void TBarCustomDockableWindow::DoubleClickToggle() {
    if (currentDock_) {
        if (doubleClickUndock_ && dockMode_ == dmCanFloat) {
            SetFloating(true);
            MoveOnScreen(true);
        }
        return;
    }
    if (!floating_) return;
    if (lastDock_) {
        SetParent(lastDock_);
    } else if (defaultDock_) {
        dockRow_ = 0;
        dockPos_ = -8;
        SetParent(defaultDock_);
    }
}

// --- messages

void TBarCustomDockableWindow::RepaintThroughMemory() {
    if (!HandleAllocated()) return;
    RECT update{};
    RECT window{};
    GetWindowRect(Handle(), &window);
    // A window that is already wholly invalid will be painted anyway.
    if (GetUpdateRect(Handle(), &update, FALSE)) {
        const TRect client = ClientRect();
        if (update.left <= 0 && update.top <= 0 && update.right >= client.Right &&
            update.bottom >= client.Bottom)
            return;
    }
    const int w = window.right - window.left, h = window.bottom - window.top;
    if (w <= 0 || h <= 0) return;
    TWindowDC screen(Handle(), true);
    TMemoryDC memory(screen.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    TSelectObject select(memory.Get(), bitmap.Get());
    // Everything goes into the memory DC, never the screen: the frame, then
    // the client area at its place in the window.
    DrawNCArea(true, memory.Get(), nullptr);
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    {
        TSaveDC saved(memory.Get());
        SetWindowOrgEx(memory.Get(), -(origin.x - window.left), -(origin.y - window.top), nullptr);
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
    }
    BitBlt(screen.Get(), 0, 0, w, h, memory.Get(), 0, 0, SRCCOPY);
    ValidateRect(Handle(), nullptr);
}

void TBarCustomDockableWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    inherited::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const bool canDrag = (currentDock_ && currentDock_->GetAllowDrag()) || floating_;
    if (!canDrag || IsPointOverControl(Point(X, Y))) return;
    if (Shift.Contains(ssDouble)) {
        DoubleClickToggle();
        return;
    }
    auto alive = alive_;
    BeginMoving(X, Y);
    if (*alive) MouseUp(mbLeft, {}, -1, -1);
}

void TBarCustomDockableWindow::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCCALCSIZE:
            if (currentDock_) {
                auto* r = reinterpret_cast<RECT*>(Message.LParam);
                InflateRect(r, -2, -2);
                if (currentDock_->GetAllowDrag()) {
                    if (currentDock_->Vertical())
                        r->top += DragHandleSize();
                    else
                        r->left += DragHandleSize();
                }
                Message.Result = 0;
                return;
            }
            break;
        case WM_NCHITTEST:
            if (currentDock_) {
                DefaultHandler(Message);
                if (Message.Result == HTCLIENT) return;
                Message.Result = HT_BAR_DRAGHANDLE;
                if (closeButtonWhenDocked_ && currentDock_->GetAllowDrag()) {
                    RECT window{};
                    GetWindowRect(Handle(), &window);
                    const TPoint p(Message.XPos() - window.left, Message.YPos() - window.top);
                    if (GetDockedCloseButtonRect(currentDock_->Vertical()).Contains(p))
                        Message.Result = HT_BAR_CLOSEBUTTON;
                }
                return;
            }
            break;
        case WM_SETCURSOR:
            if (currentDock_ && currentDock_->GetAllowDrag() && LOWORD(Message.LParam) == HT_BAR_DRAGHANDLE &&
                dragHandleStyle_ != dhNone) {
                POINT p{};
                GetCursorPos(&p);
                RECT window{};
                GetWindowRect(Handle(), &window);
                const int along = currentDock_->Vertical() ? p.y - window.top : p.x - window.left;
                if (along < DragHandleSize() + 2) {
                    ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEALL)));
                    Message.Result = 1;
                    return;
                }
            }
            break;
        case WM_NCLBUTTONDOWN:
            if (currentDock_ && Message.WParam == HT_BAR_DRAGHANDLE) {
                // The border of a bar on a dock that allows no dragging is
                // still ours, but moves nothing.
                if (!currentDock_->GetAllowDrag()) return;
                const TPoint p = ScreenToClient(Point(Message.XPos(), Message.YPos()));
                BeginMoving(p.X, p.Y);
                return;
            }
            if (currentDock_ && Message.WParam == HT_BAR_CLOSEBUTTON) {
                TRect button = GetDockedCloseButtonRect(currentDock_->Vertical());
                RECT window{};
                GetWindowRect(Handle(), &window);
                OffsetRect(button.Win32(), window.left, window.top);
                auto alive = alive_;
                const bool closed =
                    TrackButton(Handle(), button, closeButtonPressed_, [this] { RedrawNC(); });
                if (closed && *alive) Close();
                return;
            }
            break;
        case WM_NCLBUTTONDBLCLK:
            if (currentDock_ && currentDock_->GetAllowDrag() && Message.WParam == HT_BAR_DRAGHANDLE) {
                DoubleClickToggle();
                return;
            }
            break;
        case WM_NCMOUSEMOVE: {
            if (CheckWin32Version(4, 10)) CallTrackMouseEvent(Handle(), TME_LEAVE | TME_NONCLIENT);
            const bool hot = Message.WParam == HT_BAR_CLOSEBUTTON;
            if (hot != closeButtonHot_) {
                closeButtonHot_ = hot;
                RedrawNC();
            }
            break;
        }
        case WM_MOUSEMOVE:
        case CM_MOUSELEAVE:
            if (closeButtonHot_) {
                closeButtonHot_ = false;
                RedrawNC();
            }
            break;
        case WM_NCMOUSELEAVE:
            if (closeButtonHot_ && !GetCapture()) {
                closeButtonHot_ = false;
                RedrawNC();
            }
            break;
        case WM_NCRBUTTONUP:
            SendMessageW(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), Message.LParam);
            return;
        case WM_CONTEXTMENU:
            // Over the handle or the floating caption the bar's own menu
            // comes first; the default would hand the point to the parent.
            if (Message.LParam != -1 && Message.Result == 0) {
                const TPoint client = ScreenToClient(Message.Pos());
                if (!ClientRect().Contains(client)) {
                    bool handled = false;
                    DoContextPopup(client, handled);
                    if (!handled && PopupMenu() && PopupMenuShowProc)
                        handled = PopupMenuShowProc(PopupMenu(), this, TPoint(Message.Pos()));
                    if (handled) {
                        Message.Result = 1;
                        return;
                    }
                }
            }
            break;
        case WM_NCPAINT:
            if (currentDock_) {
                DrawNCArea(false, nullptr, reinterpret_cast<HRGN>(Message.WParam));
                return;
            }
            break;
        case WM_PRINT:
            HandleWMPrint(Handle(), Message, PaintNC, this);
            return;
        case WM_PRINTCLIENT:
            HandleWMPrintClient(this, Message);
            return;
        case WM_ERASEBKGND:
            if (currentDock_ && currentDock_->UsingBackground() && currentDock_->BackgroundOnToolbars()) {
                HDC dc = reinterpret_cast<HDC>(Message.WParam);
                TSaveDC saved(dc);
                // Client coordinates: the window origin is the frame's.
                RECT window{};
                GetWindowRect(Handle(), &window);
                POINT origin{0, 0};
                ::ClientToScreen(Handle(), &origin);
                POINT org{};
                GetWindowOrgEx(dc, &org);
                SetWindowOrgEx(dc, org.x - (window.left - origin.x), org.y - (window.top - origin.y),
                               nullptr);
                PaintDockBackground(dc);
                Message.Result = 1;
                return;
            }
            break;
        case WM_MOVE:
            inherited::WndProc(Message);
            if (currentDock_ && currentDock_->UsingBackground() && currentDock_->BackgroundOnToolbars())
                RepaintThroughMemory();
            if (OnMove) OnMove(this);
            return;
        case WM_ENABLE:
            inherited::WndProc(Message);
            if (floatingMode_ == fmOnTopOfAllForms) UpdateVisibility();
            return;
        case CM_VISIBLECHANGED:
            inherited::WndProc(Message);
            if (currentDock_) currentDock_->ToolbarVisibilityChanged(this, false);
            UpdateVisibility();
            if (OnVisibleChanged) OnVisibleChanged(this);
            return;
        case CM_TEXTCHANGED:
            inherited::WndProc(Message);
            if (floatParent_) floatParent_->SetCaption(Caption());
            return;
        case CM_COLORCHANGED:
            inherited::WndProc(Message);
            if (HandleAllocated())
                RedrawWindow(Handle(), nullptr, nullptr,
                             RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return;
        case CM_SHOWINGCHANGED:
            inherited::WndProc(Message);
            UpdateVisibility();
            return;
        default:
            break;
    }
    inherited::WndProc(Message);
}
