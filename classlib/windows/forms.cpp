#include "classlib/windows/forms.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "classlib/core/text.h"
#include "classlib/windows/actions.h"
#include "classlib/windows/application.h"
#include "classlib/windows/screen.h"

TInitInheritedComponentProc InitInheritedComponentProc = nullptr;

TCustomForm::TCustomForm(TComponent* AOwner) : inherited(AOwner) {
    Init();
    fromResource_ = true;
}

TCustomForm::TCustomForm(TComponent* AOwner, int) : inherited(AOwner) {
    Init();
}

void TCustomForm::Init() {
    formState_.Include(fsCreating);
    canvas_.reset(Create<TControlCanvas>());
    canvas_->SetControl(this);
    controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetVisible(false);
    SetParentColor(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    Brush()->SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->AddForm(this);
}

void TCustomForm::AfterConstruction() {
    inherited::AfterConstruction();
    if (fromResource_ && ClassType() != TForm::ClassInfo() && ClassType() != TCustomForm::ClassInfo()) {
        const bool found =
            InitInheritedComponentProc && InitInheritedComponentProc(this, TCustomForm::ClassInfo());
        if (!found) throw EResNotFound(Format("Resource %s not found", ClassName()));
    }
    formState_.Exclude(fsCreating);
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    if (Screen) Screen->RemoveForm(this);
    if (formState_.Contains(fsModal)) modalResult_ = mrCancel;
    DoDestroy();
    inherited::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    if (Assigned(OnCreate)) OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (Assigned(OnDestroy)) OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (Assigned(OnShow)) OnShow(this);
}

void TCustomForm::DoHide() {
    if (Assigned(OnHide)) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (Assigned(OnClose)) OnClose(this, Action);
}

void TCustomForm::Activate() {
    if (Assigned(OnActivate)) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (Assigned(OnDeactivate)) OnDeactivate(this);
}

void TCustomForm::Paint() {
    if (Assigned(OnPaint)) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC) {
    TCanvasPaintScope painting(canvas_.get(), DC);
    Paint();
}

void TCustomForm::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    if (parent_) return;
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    Params.ExStyle = 0;
    TBorderIcons icons = borderIcons_;
    switch (borderStyle_) {
        case bsNone:
            Params.Style |= WS_POPUP;
            icons = {};
            break;
        case bsSingle:
            Params.Style |= WS_CAPTION;
            break;
        case bsSizeable:
            Params.Style |= WS_CAPTION | WS_THICKFRAME;
            break;
        case bsDialog:
            Params.Style |= WS_POPUP | WS_CAPTION;
            Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            icons = icons * TBorderIcons{biSystemMenu, biHelp};
            break;
        case bsToolWindow:
            Params.Style |= WS_CAPTION;
            Params.ExStyle |= WS_EX_TOOLWINDOW;
            icons = icons * TBorderIcons{biSystemMenu};
            break;
        case bsSizeToolWin:
            Params.Style |= WS_CAPTION | WS_THICKFRAME;
            Params.ExStyle |= WS_EX_TOOLWINDOW;
            icons = icons * TBorderIcons{biSystemMenu};
            break;
    }
    if (icons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
    if (icons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (icons.Contains(biMaximize) && borderStyle_ != bsSingle) Params.Style |= WS_MAXIMIZEBOX;
    if (icons.Contains(biHelp) && !icons.Contains(biMinimize) && !icons.Contains(biMaximize))
        Params.ExStyle |= WS_EX_CONTEXTHELP;
    if (formStyle_ == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    // Top-level forms are owned by the application window, which stands for
    // the program on the task bar.
    Params.WndParent = ParentWindow() ? ParentWindow() : (Application ? Application->Handle() : nullptr);
    if (position_ == poDefault || position_ == poDefaultPosOnly) Params.X = Params.Y = CW_USEDEFAULT;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (Value == borderIcons_) return;
    borderIcons_ = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (Value == formStyle_) return;
    formStyle_ = Value;
    if (HandleAllocated())
        SetWindowPos(handle_, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (Value == windowState_) return;
    windowState_ = Value;
    if (HandleAllocated() && Showing()) {
        static const int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
        ShowWindow(handle_, commands[Value]);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::ApplyPosition() {
    if (positioned_) return;
    positioned_ = true;
    TRect area;
    TCustomForm* center = nullptr;
    switch (position_) {
        case poMainFormCenter:
            center = Application ? Application->MainForm() : nullptr;
            break;
        case poOwnerFormCenter:
            center = dynamic_cast<TCustomForm*>(Owner());
            break;
        case poScreenCenter:
        case poDesktopCenter:
            break;
        default:
            return;
    }
    if (center == this || (center && !center->HandleAllocated())) center = nullptr;
    if (center) {
        area = center->BoundsRect();
    } else {
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        area = work;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
              Height());
}

void TCustomForm::ShowWithoutWindow() {
    holdWindow_ = true;
    try {
        SetVisible(true);
    } catch (...) {
        holdWindow_ = false;
        throw;
    }
    holdWindow_ = false;
}

void TCustomForm::ShowingChanged() {
    if (formState_.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
    formState_.Include(fsShowing);
    struct Done {
        TFormState& state;
        ~Done() { state.Exclude(fsShowing); }
    } done{formState_};
    if (Showing()) {
        DoShow();
        ApplyPosition();
        formState_.Include(fsVisible);
        if (Application && Application->MainForm() == this && Application->HandleAllocated())
            ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
        static const int commands[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
        if (!holdWindow_) ShowWindow(handle_, commands[windowState_]);
    } else {
        DoHide();
        formState_.Exclude(fsVisible);
        ShowWindow(handle_, SW_HIDE);
    }
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control == activeControl_) return;
    // While the form loads, nothing shows yet: the control takes the focus
    // when the form is first activated.
    if (Control &&
        (GetParentForm(Control) != this || (!ComponentState().Contains(csLoading) && !Control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = Control;
    if (Control && active_ && HandleAllocated()) ::SetFocus(Control->Handle());
}

void TCustomForm::FocusControl(TWinControl* Control) {
    if (!Control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = Control;
    if (HandleAllocated() && (active_ || GetActiveWindow() == handle_)) ::SetFocus(Control->Handle());
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
    if (activeControl_ && Control->ContainsControl(activeControl_)) {
        TWinControl* parent = Removing ? Control->Parent() : nullptr;
        activeControl_ = parent == this ? nullptr : parent;
    }
    if (focusedControl_ && Control->ContainsControl(focusedControl_)) {
        const bool hadFocus = focusedControl_->Focused();
        focusedControl_ = nullptr;
        if (hadFocus && HandleAllocated() && !ComponentState().Contains(csDestroying)) ::SetFocus(handle_);
    }
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
    if (ComponentState().Contains(csDestroying)) return false;
    if (Control == focusedControl_) return true;
    TWinControl* previous = focusedControl_;
    focusedControl_ = Control;
    if (Control != this) activeControl_ = Control;
    if (Screen) Screen->SetActiveControl(Control, this);
    if (previous && !previous->ComponentState().Contains(csDestroying)) previous->Perform(CM_EXIT);
    if (focusedControl_ == Control && Control) Control->Perform(CM_ENTER);
    if (focusedControl_ == Control) Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    return true;
}

bool TCustomForm::IsShortCut(TMessage& Message) {
    bool handled = false;
    if (Assigned(OnShortCut)) OnShortCut(Message, handled);
    return handled || IsActionShortCut(this, Message);
}

void TCustomForm::UpdateActions() {
    std::vector<TControl*> pending{this};
    while (!pending.empty()) {
        TControl* control = pending.back();
        pending.pop_back();
        if (!control->Visible()) continue;
        if (control->ControlStyle().Contains(csActionClient)) control->InitiateAction();
        if (auto* windowed = dynamic_cast<TWinControl*>(control))
            for (int i = windowed->ControlCount() - 1; i >= 0; --i) pending.push_back(windowed->Controls(i));
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (Assigned(OnCloseQuery)) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (formState_.Contains(fsModal)) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone) modalResult_ = mrNone;
        if (action == caFree) Release();
    } catch (...) {
        modalResult_ = mrNone;
        HandleCallbackException(this);
    }
}

namespace {
BOOL CALLBACK DisableWindow(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}
}  // namespace

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || formState_.Contains(fsModal) || formStyle_ == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    formState_.Include(fsModal);
    HWND previousActive = GetActiveWindow();
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled));
    std::shared_ptr<bool> alive = alive_;
    TModalResult result = mrCancel;
    try {
        Show();
        SendMessageW(Handle(), CM_ACTIVATE, 0, 0);
        modalResult_ = mrNone;
        do {
            Application->HandleMessage();
            if (!*alive) break;
            if (Application->Terminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone)
                CloseModal();
        } while (*alive && modalResult_ == mrNone);
        if (*alive) {
            result = modalResult_;
            SendMessageW(handle_, CM_DEACTIVATE, 0, 0);
            for (HWND window : std::exchange(disabled, {})) EnableWindow(window, TRUE);
            // The keyboard goes back while the form still shows: once it
            // went, a window manager would choose where it goes, maybe into
            // another program. Another program that came to the front
            // meanwhile keeps it.
            if (previousActive && GetForegroundWindow() == handle_ && IsWindowVisible(previousActive) &&
                IsWindowEnabled(previousActive))
                SetForegroundWindow(previousActive);
            Hide();
        }
    } catch (...) {
        for (HWND window : disabled) EnableWindow(window, TRUE);
        if (*alive) formState_.Exclude(fsModal);
        throw;
    }
    for (HWND window : disabled) EnableWindow(window, TRUE);
    if (*alive) formState_.Exclude(fsModal);
    return result;
}

void TCustomForm::Release() {
    PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_SHOWINGCHANGED:
            ShowingChanged();
            return;
        case CM_RELEASE:
            // The object goes away now; nothing of it is touched after this.
            Free();
            return;
        case WM_CLOSE:
            Close();
            return;
        case WM_QUERYENDSESSION:
            Message.Result = TRUE;
            return;
        case WM_ACTIVATE: {
            const bool activating = LOWORD(Message.WParam) != WA_INACTIVE;
            active_ = activating;
            if (activating) {
                if (Screen) Screen->SetActiveForm(this);
                formState_.Include(fsActivated);
                if (!HIWORD(Message.WParam)) {
                    // Focus goes back to the control that had it; a form
                    // shown for the first time gives it to its first tab
                    // stop, so that what the person types lands somewhere.
                    if (activeControl_ && activeControl_->CanFocus())
                        ::SetFocus(activeControl_->Handle());
                    else if (TWinControl* first = FindNextControl(nullptr, true, true, false))
                        first->SetFocus();
                    else
                        ::SetFocus(handle_);
                }
                Activate();
            } else {
                Deactivate();
            }
            return;
        }
        case WM_SETCURSOR:
            // A click on a form that a box or a modal form holds: the person
            // came back to the program, and the one in front takes the keys.
            if (Application && !IsWindowEnabled(handle_) && static_cast<short>(LOWORD(Message.LParam)) == HTERROR &&
                (HIWORD(Message.LParam) == WM_LBUTTONDOWN || HIWORD(Message.LParam) == WM_RBUTTONDOWN ||
                 HIWORD(Message.LParam) == WM_MBUTTONDOWN))
                Application->BringToFront();
            break;
        case WM_ACTIVATEAPP:
            DefaultHandler(Message);
            if (Application) Application->SetActiveState(Message.WParam != 0);
            return;
        case WM_SIZE:
            if (Message.WParam == SIZE_MINIMIZED)
                windowState_ = wsMinimized;
            else if (Message.WParam == SIZE_MAXIMIZED)
                windowState_ = wsMaximized;
            else if (Message.WParam == SIZE_RESTORED)
                windowState_ = wsNormal;
            break;
        case WM_SYSCOMMAND:
            if ((Message.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this) {
                Application->Minimize();
                return;
            }
            if ((Message.WParam & 0xFFF0) == SC_RESTORE && !Visible()) {
                // A hidden form brought back by the system (the taskbar, a
                // window manager, another program) shows through its own path:
                // otherwise the window comes back while the form and its
                // controls still take themselves for hidden and paint nothing.
                // It comes back as it was hidden, as from the tray: only a
                // minimised one is restored to normal.
                if (windowState_ == wsMinimized) windowState_ = wsNormal;
                SetVisible(true);
                return;
            }
            break;
        case CM_DIALOGKEY:
            if (GetKeyState(VK_MENU) >= 0) {
                switch (Message.WParam) {
                    case VK_TAB:
                        if (GetKeyState(VK_CONTROL) >= 0) {
                            SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
                            Message.Result = 1;
                            return;
                        }
                        break;
                    case VK_LEFT:
                    case VK_RIGHT:
                    case VK_UP:
                    case VK_DOWN:
                        if (activeControl_ && activeControl_->Parent()) {
                            activeControl_->Parent()->SelectNext(
                                activeControl_, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN,
                                false);
                            Message.Result = 1;
                        }
                        return;
                }
            }
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}
