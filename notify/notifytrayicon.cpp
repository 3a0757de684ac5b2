#include "notify/notifytrayicon.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "classlib/windows/allocatehwnd.h"
#include "classlib/windows/application.h"
#include "classlib/windows/forms.h"

#include <shlwapi.h>

namespace {

// The "TaskbarCreated" broadcast exists from common controls 4.71 on.
UINT RegisterTaskbarCreated() {
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl) comctl = LoadLibraryW(L"comctl32.dll");
    if (!comctl) return 0;
    using DllGetVersionProc = HRESULT CALLBACK (*)(DLLVERSIONINFO*);
    auto getVersion =
        reinterpret_cast<DllGetVersionProc>(reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
    if (!getVersion) return 0;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(getVersion(&info))) return 0;
    if (MAKELONG(info.dwMinorVersion, info.dwMajorVersion) < 0x40047) return 0;
    return RegisterWindowMessageA("TaskbarCreated");
}

// Registered by the tray icons' unit start-up (InitTrayIconUnit).
UINT taskbarCreated = 0;

}  // namespace

void InitTrayIconUnit() {
    taskbarCreated = RegisterTaskbarCreated();
}

void FinalizeTrayIconUnit() {
    taskbarCreated = 0;
}

// One hidden window per process receives the callbacks of every icon.
class TTrayIconHandler {
public:
    TTrayIconHandler() : window_(AllocateHWnd(TWndMethod(this, &TTrayIconHandler::WndProc))) {}
    ~TTrayIconHandler() { DeallocateHWnd(window_); }
    TTrayIconHandler(const TTrayIconHandler&) = delete;
    TTrayIconHandler& operator=(const TTrayIconHandler&) = delete;

    HWND Window() const { return window_; }
    // The shell may post a callback after its icon is gone: only icons in
    // this set are called.
    std::unordered_set<TNotifyTrayIcon*> live;

private:
    void WndProc(TMessage& Message) {
        switch (Message.Msg) {
            case WM_TRAYICONCALLBACK: {
                auto* icon = reinterpret_cast<TNotifyTrayIcon*>(Message.WParam);
                if (live.count(icon)) icon->HandleCallback(static_cast<UINT>(Message.LParam));
                return;
            }
            case WM_DESTROY:
            case WM_CLOSE:
            case WM_QUIT:
            case WM_NCDESTROY:
            case WM_QUERYENDSESSION:
            case WM_ENDSESSION:
                Message.Result = 1;
                return;
        }
        Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
    }

    HWND window_;
};

namespace {
// Never destroyed at exit: the window goes with the process.
std::unique_ptr<TTrayIconHandler>& Handler() {
    static auto* handler = new std::unique_ptr<TTrayIconHandler>();
    return *handler;
}

HWND AcquireHandler(TNotifyTrayIcon* icon) {
    auto& handler = Handler();
    if (!handler) handler = std::make_unique<TTrayIconHandler>();
    handler->live.insert(icon);
    return handler->Window();
}

void ReleaseHandler(TNotifyTrayIcon* icon) {
    auto& handler = Handler();
    if (!handler) return;
    handler->live.erase(icon);
    if (handler->live.empty()) handler.reset();
}

TShiftState AsyncShiftState() {
    TShiftState shift;
    if (GetAsyncKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetAsyncKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetAsyncKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}
}  // namespace

HWND TNotifyTrayIcon::HandlerWindow() {
    auto& handler = Handler();
    return handler ? handler->Window() : nullptr;
}

UINT TNotifyTrayIcon::TaskbarCreatedMessage() {
    return taskbarCreated;
}

TNotifyTrayIcon::TNotifyTrayIcon(TComponent* AOwner)
    : TComponent(AOwner),
      icon_(Create<TIcon>()),
      cycleTimer_(Create<TSimpleTimer>()),
      clickTimer_(Create<TSimpleTimer>()),
      enterExitTimer_(Create<TSimpleTimer>(20, TNotifyEvent())) {
    icon_->OnChange = TNotifyEvent(this, &TNotifyTrayIcon::IconChanged);
    data_.cbSize = sizeof data_;
    data_.hWnd = AcquireHandler(this);
    data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(this));
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = WM_TRAYICONCALLBACK;
    cycleTimer_->SetOnTimer(TNotifyEvent(this, &TNotifyTrayIcon::CycleTick));
    clickTimer_->SetOnTimer(TNotifyEvent(this, &TNotifyTrayIcon::ClickTick));
    enterExitTimer_->SetOnTimer(TNotifyEvent(this, &TNotifyTrayIcon::EnterExitTick));
    if (Application) Application->HookMainWindow(TWindowHook(this, &TNotifyTrayIcon::ApplicationHook));
    if (TWinControl* owner = OwnerControl()) {
        subclassed_ = owner;
        owner->AddWindowProcLink(TControl::TWindowProcLink(this, &TNotifyTrayIcon::OwnerLink));
    }
}

void TNotifyTrayIcon::BeforeDestruction() {
    *alive_ = false;
    SetIconVisible(false);
    SetDesignPreview(false);
    cycleTimer_->Start(false);
    clickTimer_->Start(false);
    enterExitTimer_->Start(false);
    if (Application) Application->UnhookMainWindow(TWindowHook(this, &TNotifyTrayIcon::ApplicationHook));
    // An owner that is being freed takes its links with it.
    if (subclassed_ && !subclassed_->ComponentState().Contains(csDestroying))
        subclassed_->RemoveWindowProcLink(TControl::TWindowProcLink(this, &TNotifyTrayIcon::OwnerLink));
    subclassed_ = nullptr;
    ReleaseHandler(this);
    inherited::BeforeDestruction();
}

TWinControl* TNotifyTrayIcon::OwnerControl() const {
    return dynamic_cast<TWinControl*>(Owner());
}

void TNotifyTrayIcon::DoStartup() {
    bool show = true;
    if (Assigned(OnStartup)) OnStartup(this, show);
    if (show) return;
    if (Application) Application->SetShowMainForm(false);
    HideMainForm();
}

void TNotifyTrayIcon::Loaded() {
    inherited::Loaded();
    if (OwnerControl()) DoStartup();
    ModifyIcon();
    SetIconVisible(iconVisible_);
    SetCycleIcons(cycleIcons_);
    SetWantEnterExitEvents(wantEnterExitEvents_);
    data_.uTimeoutOrVersion = 0;
    if (inArea_) TrayShell().NotifyIcon(NIM_SETVERSION, data_);
}

void TNotifyTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    if (AComponent == iconListComponent_) {
        iconList_ = nullptr;
        iconListComponent_ = nullptr;
        iconIndex_ = 0;
    }
    if (AComponent == popupMenuComponent_) {
        popupMenu_ = nullptr;
        popupMenuComponent_ = nullptr;
    }
}

// --- the shell

bool TNotifyTrayIcon::RefreshIconData() {
    try {
        data_.hIcon = icon_->Handle();
    } catch (...) {
        data_.hIcon = nullptr;
    }
    std::memset(data_.szTip, 0, sizeof data_.szTip);
    if (!hint_.empty() && showHint_)
        std::memcpy(data_.szTip, hint_.data(), std::min(hint_.size(), sizeof data_.szTip - 1));
    return true;
}

bool TNotifyTrayIcon::SendToShell(DWORD Message) {
    if (!RefreshIconData()) return false;
    return TrayShell().NotifyIcon(Message, data_);
}

bool TNotifyTrayIcon::ShowIcon() {
    iconVisible_ = true;
    inArea_ = SendToShell(NIM_ADD);
    return inArea_;
}

bool TNotifyTrayIcon::HideIcon() {
    iconVisible_ = false;
    inArea_ = false;
    return SendToShell(NIM_DELETE);
}

bool TNotifyTrayIcon::ModifyIcon() {
    // Each shell call costs milliseconds under Wine, and the shell refuses
    // to modify an icon it does not hold: the record is kept up to date and
    // goes out with the next add.
    if (!inArea_) {
        RefreshIconData();
        return false;
    }
    return SendToShell(NIM_MODIFY);
}

void TNotifyTrayIcon::IconChanged(TObject*) {
    ModifyIcon();
}

// --- properties

void TNotifyTrayIcon::SetHint(const std::string& Value) {
    hint_ = Value;
    ModifyIcon();
}

void TNotifyTrayIcon::SetShowHint(bool Value) {
    showHint_ = Value;
    ModifyIcon();
}

void TNotifyTrayIcon::SetIcon(TIcon* Value) {
    icon_->OnChange = nullptr;
    try {
        icon_->Assign(Value);
    } catch (...) {
        icon_->OnChange = TNotifyEvent(this, &TNotifyTrayIcon::IconChanged);
        throw;
    }
    icon_->OnChange = TNotifyEvent(this, &TNotifyTrayIcon::IconChanged);
    ModifyIcon();
}

void TNotifyTrayIcon::SetIconVisible(bool Value) {
    // The shell refuses a second add of an icon it holds and the removal of
    // one it does not; neither is worth a call.
    if (Value == inArea_) {
        iconVisible_ = Value;
        return;
    }
    if (Value)
        ShowIcon();
    else
        HideIcon();
}

void TNotifyTrayIcon::SetCycleIcons(bool Value) {
    const bool cycling = std::exchange(cycleIcons_, Value);
    if (Value) {
        SetIconIndex(0);
        cycleTimer_->SetInterval(cycleInterval_);
        cycleTimer_->Start(true);
    } else if (cycling) {
        // Only a cycling icon runs the timer. A text icon comes here at each
        // change of its text, and each stop is a call to the Wine server.
        cycleTimer_->Start(false);
    }
}

void TNotifyTrayIcon::SetCycleInterval(unsigned Value) {
    if (Value == cycleInterval_) return;
    cycleInterval_ = Value;
    SetCycleIcons(cycleIcons_);
}

void TNotifyTrayIcon::SetWantEnterExitEvents(bool Value) {
    wantEnterExitEvents_ = Value;
    enterExitTimer_->Start(Value);
}

// --- main form and task bar

void TNotifyTrayIcon::ShowMainForm() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    Application->Restore();
    if (main->WindowState() == wsMinimized) main->SetWindowState(wsNormal);
    main->SetVisible(true);
    SetForegroundWindow(Application->Handle());
}

void TNotifyTrayIcon::HideMainForm() {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    main->SetVisible(false);
    HideTaskbarIcon();
}

void TNotifyTrayIcon::HideTaskbarIcon() {
    if (!Application) return;
    HWND window = Application->Handle();
    if (IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
}

void TNotifyTrayIcon::MinimizeToTrayNow() {
    HideMainForm();
    SetIconVisible(true);
}

// --- events

void TNotifyTrayIcon::Click() {
    if (Assigned(OnClick)) OnClick(this);
}

void TNotifyTrayIcon::DblClick() {
    if (Assigned(OnDblClick)) OnDblClick(this);
}

void TNotifyTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseDown)) OnMouseDown(this, Button, Shift, X, Y);
}

void TNotifyTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseUp)) OnMouseUp(this, Button, Shift, X, Y);
}

void TNotifyTrayIcon::MouseMove(TShiftState Shift, int X, int Y) {
    if (Assigned(OnMouseMove)) OnMouseMove(this, Shift, X, Y);
}

void TNotifyTrayIcon::MouseEnter() {
    if (Assigned(OnMouseEnter)) OnMouseEnter(this);
}

void TNotifyTrayIcon::MouseExit() {
    if (Assigned(OnMouseExit)) OnMouseExit(this);
}

void TNotifyTrayIcon::HandleCallback(UINT Event) {
    std::shared_ptr<bool> alive = alive_;
    auto balloon = [this](const TNotifyEvent& event) {
        if (Assigned(event)) event(this);
    };
    switch (Event) {
        case NIN_BALLOONSHOW:
            return balloon(OnBalloonHintShow);
        case NIN_BALLOONHIDE:
            return balloon(OnBalloonHintHide);
        case NIN_BALLOONTIMEOUT:
            return balloon(OnBalloonHintTimeout);
        case NIN_BALLOONUSERCLICK:
            return balloon(OnBalloonHintClick);
    }
    if (!enabled_) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const TShiftState shift = AsyncShiftState();
    switch (Event) {
        case WM_MOUSEMOVE:
            if (wantEnterExitEvents_ && outside_) {
                MouseEnter();
                if (!*alive) return;
                outside_ = false;
            }
            MouseMove(shift, cursor.x, cursor.y);
            if (!*alive) return;
            lastPos_ = cursor;
            return;
        case WM_LBUTTONDOWN:
            if (Assigned(OnDblClick)) {
                clickTimer_->SetInterval(GetDoubleClickTime());
                clickTimer_->Start(true);
            }
            MouseDown(mbLeft, shift + TShiftState{ssLeft}, cursor.x, cursor.y);
            if (!*alive) return;
            leftDown_ = true;
            if (leftPopup_) AutoPopupAtCursor();
            return;
        case WM_LBUTTONUP:
            if (leftDown_) clickPending_ = true;
            if (leftDown_ && !clickTimer_->Active()) {
                leftDown_ = false;
                clickPending_ = false;
                Click();
                if (!*alive) return;
            }
            leftDown_ = false;
            MouseUp(mbLeft, shift + TShiftState{ssLeft}, cursor.x, cursor.y);
            return;
        case WM_LBUTTONDBLCLK:
            clickPending_ = false;
            doubleClick_ = true;
            DblClick();
            if (!*alive) return;
            if (!leftPopup_) ClickDefaultMenuItem();
            return;
        case WM_RBUTTONDOWN:
            MouseDown(mbRight, shift + TShiftState{ssRight}, cursor.x, cursor.y);
            if (!*alive) return;
            AutoPopupAtCursor();
            return;
        case WM_RBUTTONUP:
            MouseUp(mbRight, shift + TShiftState{ssRight}, cursor.x, cursor.y);
            return;
        case WM_MBUTTONDOWN:
            MouseDown(mbMiddle, shift + TShiftState{ssMiddle}, cursor.x, cursor.y);
            return;
        case WM_MBUTTONUP:
            MouseUp(mbMiddle, shift + TShiftState{ssMiddle}, cursor.x, cursor.y);
            return;
    }
}

void TNotifyTrayIcon::ClickTick(TObject*) {
    clickTimer_->Start(false);
    if (!doubleClick_ && clickPending_) {
        std::shared_ptr<bool> alive = alive_;
        clickPending_ = false;
        Click();
        if (!*alive) return;
    }
    doubleClick_ = false;
}

void TNotifyTrayIcon::EnterExitTick(TObject*) {
    if (outside_) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.x == lastPos_.x && cursor.y == lastPos_.y) return;
    outside_ = true;
    MouseExit();
}

// --- hooks

bool TNotifyTrayIcon::ApplicationHook(TMessage& Message) {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    switch (Message.Msg) {
        case WM_SIZE:
            if (Message.WParam == SIZE_MINIMIZED && minimizeToTray_) MinimizeToTrayNow();
            break;
        case WM_WINDOWPOSCHANGED:
            if (firstPosition_) {
                firstPosition_ = false;
                if (main && main->FormStyle() == fsMDIForm) {
                    bool show = true;
                    if (Assigned(OnStartup)) OnStartup(this, show);
                    if (!show) HideTaskbarIcon();
                }
            }
            break;
        case WM_SYSCOMMAND:
            if ((Message.WParam & 0xFFF0) == SC_RESTORE && main) {
                if (main->WindowState() == wsMinimized) main->SetWindowState(wsNormal);
                main->SetVisible(true);
            }
            break;
        default:
            if (taskbarCreated && Message.Msg == taskbarCreated && iconVisible_) ShowIcon();
            break;
    }
    return false;
}

void TNotifyTrayIcon::OwnerLink(TMessage& Message, const TControl::TWindowProcNext& Next) {
    bool minimize = false;
    if (Message.Msg == WM_SHOWWINDOW && Message.WParam == 1 && Message.LParam == 0) {
        if (Application) SetForegroundWindow(Application->Handle());
        if (subclassed_) SetForegroundWindow(subclassed_->Handle());
    } else if (Message.Msg == WM_SHOWWINDOW) {
        minimize = Message.WParam == 0 && Message.LParam == SW_PARENTCLOSING && Application &&
                   !Application->Terminated();
    } else if (Message.Msg == WM_SYSCOMMAND) {
        minimize = (Message.WParam & 0xFFF0) == SC_MINIMIZE;
    }
    if (minimize && minimizeToTray_ && Assigned(OnMinimizeToTray)) {
        std::shared_ptr<bool> alive = alive_;
        OnMinimizeToTray(this);
        if (*alive) MinimizeToTrayNow();
        Message.Result = 1;
        return;
    }
    Next(Message);
}
