#include "classlib/windows/application.h"

#include <cstdio>
#include <string_view>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/boxkeyboard.h"
#include "classlib/windows/dispatcher.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/hintmanager.h"
#include "classlib/windows/screen.h"

TApplication* Application = Create<TApplication>(nullptr);

void HandleCallbackException(TObject* Sender) noexcept {
    try {
        if (Application) {
            Application->HandleException(Sender);
            return;
        }
        throw;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "unhandled exception: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "unhandled exception\n");
    }
}

LRESULT CALLBACK ApplicationWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (!Application || (Application->handle_ && Application->handle_ != Window))
        return DefWindowProcW(Window, Msg, WParam, LParam);
    // The first messages arrive before CreateWindowExW has returned.
    if (!Application->handle_) Application->handle_ = Window;
    TMessage message{Msg, WParam, LParam, 0};
    try {
        Application->WndProc(message);
    } catch (...) {
        HandleCallbackException(Application);
    }
    return message.Result;
}

TApplication::TApplication(TComponent* AOwner) : inherited(AOwner) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring title = path;
    if (auto slash = title.find_last_of(L"\\/"); slash != std::wstring::npos) title.erase(0, slash + 1);
    if (auto dot = title.find_last_of(L'.'); dot != std::wstring::npos) title.erase(dot);
    title_ = title;
}

void TApplication::BeforeDestruction() {
    inherited::BeforeDestruction();
    if (handle_) {
        DestroyWindow(handle_);
        handle_ = nullptr;
        classlib_detail::CountUser(-1);
    }
    if (Application == this) Application = nullptr;
}

HWND TApplication::Handle() {
    if (!handle_) {
        static const wchar_t className[] = L"TApplication";
        WNDCLASSW wc{};
        if (!GetClassInfoW(GetModuleHandleW(nullptr), className, &wc)) {
            wc.lpfnWndProc = ApplicationWndProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
            wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.lpszClassName = className;
            RegisterClassW(&wc);
        }
        // A zero-sized window in the middle of the screen: only its task bar
        // button is ever seen.
        HWND window = CreateWindowExW(0, className, title_.c_str(),
                                      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                                      0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        handle_ = window;
        // Without the window the system's reason stays for the caller.
        if (!handle_) return nullptr;
        classlib_detail::CountUser(1);
        GuiDispatcherReady();
    }
    return handle_;
}

void TApplication::Initialize() {
    if (!Handle()) {
        const DWORD error = GetLastError();
        throw EOSError(error ? SysErrorMessage(error) : "The window system gave no reason.", error);
    }
    terminated_ = false;
}

void TApplication::FormCreated(TComponent* Instance) {
    if (mainForm_) return;
    if (auto* form = dynamic_cast<TCustomForm*>(Instance)) {
        form->HandleNeeded();
        mainForm_ = form;
        form->FreeNotification(this);
    }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (!mainForm_) return;
    if (showMainForm_) mainForm_->SetVisible(true);
    do {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    } while (!terminated_);
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

bool TApplication::IsKeyMsg(MSG& Msg) {
    if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN && Msg.message != WM_CHAR &&
        Msg.message != WM_SYSCHAR)
        return false;
    HWND window = GetCapture();
    if (!window) {
        window = Msg.hwnd;
        while (window && !FindControl(window)) window = GetParent(window);
        if (!window) return false;
    }
    TWinControl* control = FindControl(window);
    if (!control) return false;
    return control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& Msg) {
    if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        terminated_ = true;
        exitCode_ = static_cast<int>(Msg.wParam);
        return true;
    }
    bool handled = false;
    if (Assigned(OnMessage)) OnMessage(Msg, handled);
    if (!handled && !IsKeyMsg(Msg)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
    CheckSynchronize();
}

void TApplication::Idle() {
    bool done = true;
    if (Assigned(OnIdle)) OnIdle(this, done);
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* form = Screen->Forms(i);
            if (form->Visible()) form->UpdateActions();
        }
    CheckSynchronize();
    if (done) WaitMessage();
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

std::string TApplication::Title() const {
    return ToAnsi(title_);
}

void TApplication::SetTitle(const std::string& Value) {
    title_ = ToWide(Value);
    if (handle_) SetWindowTextW(handle_, title_.c_str());
}

void TApplication::SetActiveState(bool Value) {
    if (Value == active_) return;
    active_ = Value;
    const TNotifyEvent& event = Value ? OnActivate : OnDeactivate;
    if (Assigned(event)) event(this);
}

void TApplication::Minimize() {
    ShowWindow(Handle(), SW_MINIMIZE);
    if (Assigned(OnMinimize)) OnMinimize(this);
}

void TApplication::Restore() {
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    if (Assigned(OnRestore)) OnRestore(this);
}

void TApplication::BringToFront() {
    // Made the foreground, the application window hands the keyboard on: the
    // way in that a box waiting for the person lets through.
    if (GetForegroundWindow() != Handle())
        SetForegroundWindow(Handle());
    else
        PostMessageW(handle_, CM_ENTER, 0, 0);
}

void TApplication::HookMainWindow(const TWindowHook& Hook) {
    hooks_.push_back({Hook, false});
}

void TApplication::UnhookMainWindow(const TWindowHook& Hook) {
    for (size_t i = 0; i < hooks_.size(); ++i) {
        if (hooks_[i].removed || !(hooks_[i].hook == Hook)) continue;
        if (hookDepth_ > 0)
            hooks_[i].removed = true;
        else
            hooks_.erase(hooks_.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}

void TApplication::WndProc(TMessage& Message) {
    {
        ++hookDepth_;
        bool handled = false;
        try {
            // Hooks added while a message runs see the next message.
            const size_t count = hooks_.size();
            for (size_t i = 0; i < count && !handled; ++i)
                if (!hooks_[i].removed) handled = hooks_[i].hook(Message);
        } catch (...) {
            if (--hookDepth_ == 0) std::erase_if(hooks_, [](const Hook& h) { return h.removed; });
            throw;
        }
        if (--hookDepth_ == 0) std::erase_if(hooks_, [](const Hook& h) { return h.removed; });
        if (handled) return;
    }
    switch (Message.Msg) {
        case WM_CLOSE:
            if (mainForm_) mainForm_->Close();
            return;
        case WM_SYSCOMMAND:
            switch (Message.WParam & 0xFFF0) {
                case SC_MINIMIZE:
                    Minimize();
                    return;
                case SC_RESTORE:
                    Restore();
                    return;
            }
            break;
        case WM_ACTIVATEAPP:
            SetActiveState(Message.WParam != 0);
            break;
        case WM_SETFOCUS:
            // The window stands for the program but takes no keys: made the
            // foreground (as the tray does when it brings the program back),
            // it hands the keyboard on once the activation is done.
            PostMessageW(handle_, CM_ENTER, 0, 0);
            break;
        case CM_ENTER: {
            HWND front = IsIconic(handle_) ? nullptr : FrontWindow();
            if (!front) return;
            if (front != mainForm_->Handle()) {
                // A box holds the main form (it may have opened while the
                // form hid in the tray): it stands in front of the form.
                SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                SetForegroundWindow(front);
            } else if (GetActiveWindow() == handle_) {
                SetForegroundWindow(front);
            }
            return;
        }
        case WM_QUERYENDSESSION:
            Message.Result = TRUE;
            return;
        case WM_ENDSESSION:
            if (Message.WParam) Terminate();
            return;
        case CM_APPKEYDOWN:
            if (mainForm_ && mainForm_->IsShortCut(*reinterpret_cast<TMessage*>(Message.LParam)))
                Message.Result = 1;
            return;
        case CM_APPSYSCOMMAND:
            return;
    }
    Message.Result = DefWindowProcW(handle_, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::HandleException(TObject* Sender) {
    std::exception_ptr current = std::current_exception();
    if (!current) return;
    auto report = [this, Sender](const Exception& e) {
        if (Assigned(OnException))
            OnException(Sender, e);
        else
            ShowException(e);
    };
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        report(e);
    } catch (const std::exception& e) {
        report(Exception(e.what()));
    } catch (...) {
        report(Exception("Unknown exception"));
    }
}

bool TApplication::HelpContext(int) {
    return false;
}

bool TApplication::HelpCommand(UINT, ULONG_PTR) {
    return false;
}

void TApplication::ShowException(const Exception& E) {
    std::wstring text = E.WideMessage();
    if (!text.empty() && text.back() > L'.') text += L'.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
    return MessageBox(ToWide(Text), ToWide(Caption), Flags);
}

int TApplication::MessageBox(const std::wstring& Text, const std::wstring& Caption, UINT Flags) {
    if (Assigned(MessageBoxHandler)) return MessageBoxHandler(Text, Caption, Flags);
    // Owned by the hidden application window, the box could stand behind
    // the main form, unseen, and hold back every box queued after it.
    const HWND owner = BoxOwner();
    // The box's end enables its owner, whatever it found: a window that a
    // modal form holds must stay held.
    const bool ownerEnabled = IsWindowEnabled(owner);
    int answer = NoAnswer;
    {
        // A held owner stays held once the box went: the keyboard is then
        // the system's to place.
        TBoxKeyboard keyboard(ownerEnabled ? owner : nullptr);
        answer = MessageBoxW(owner, Text.c_str(), Caption.c_str(), Flags);
    }
    if (!ownerEnabled) EnableWindow(owner, FALSE);
    // A quit (Exit, the end of the session) ends the box's loop, which
    // leaves it waiting for the application's loop and reports a button as
    // pressed: nobody answered, so nothing that a Yes or OK starts may run.
    if (MSG quit; PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return NoAnswer;
    return answer;
}

HWND TApplication::BoxOwner() {
    // The box stays in front of the window it belongs to, which it holds
    // while it is open: the one the person was in, else the main form, even
    // while it hides in the tray, so that it comes back behind the box.
    HWND active = GetActiveWindow();
    if (active && active != handle_ && IsWindowEnabled(active)) return active;
    if (HWND front = FrontWindow()) return front;
    if (mainForm_ && mainForm_->HandleAllocated()) return mainForm_->Handle();
    return Handle();
}

bool TApplication::TakesKeyboard(HWND Window) {
    if (!IsWindowVisible(Window) || !IsWindowEnabled(Window)) return false;
    const LONG style = GetWindowLongW(Window, GWL_EXSTYLE);
    if (style & WS_EX_NOACTIVATE) return false;
    if (!(style & WS_EX_TOPMOST)) return true;
    // Hints, menus and alerts stay on top and never take it; a modal form
    // may stay on top too, and so do the boxes it owns.
    wchar_t name[8] = {};
    GetClassNameW(Window, name, 8);
    if (std::wstring_view(name) == L"#32770") return true;
    auto* form = dynamic_cast<TCustomForm*>(FindControl(Window));
    return form && form->FormState().Contains(fsModal);
}

HWND TApplication::FrontWindow() {
    if (!mainForm_ || !mainForm_->HandleAllocated()) return nullptr;
    HWND main = mainForm_->Handle();
    if (!IsWindowVisible(main)) return nullptr;
    // The form gives the focus back to its active control.
    if (IsWindowEnabled(main)) return main;
    // A box or a modal form holds the main form back: the front-most window
    // of ours that takes the keyboard.
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == handle_ || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) continue;
        if (TakesKeyboard(window)) return window;
    }
    return nullptr;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
    HintManager()->HintMouseMessage(Control, Message);
}
