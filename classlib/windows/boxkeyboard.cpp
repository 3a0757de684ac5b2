#include "classlib/windows/boxkeyboard.h"

#include <string_view>

#include "classlib/windows/application.h"

thread_local TBoxKeyboard* TBoxKeyboard::innermost_ = nullptr;

TBoxKeyboard::TBoxKeyboard(HWND HandBackTo) : handBackTo_(HandBackTo), outer_(innermost_) {
    // One hook serves every box open on the thread.
    if (!outer_) hook_ = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    innermost_ = this;
}

TBoxKeyboard::~TBoxKeyboard() {
    innermost_ = outer_;
    if (hook_) UnhookWindowsHookEx(hook_);
}

bool TBoxKeyboard::ProgramHoldsKeyboard() {
    // Under Wine, a window of a program that is not a Wine program leaves
    // no foreground window, or the desktop's, which is another process's.
    const HWND front = GetForegroundWindow();
    return front && GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
}

TBoxKeyboard* TBoxKeyboard::Watching(HWND Box) {
    for (TBoxKeyboard* watch = innermost_; watch; watch = watch->outer_)
        if (watch->box_ == Box) return watch;
    return nullptr;
}

LRESULT CALLBACK TBoxKeyboard::CbtHook(int Code, WPARAM WParam, LPARAM LParam) {
    const HWND window = reinterpret_cast<HWND>(WParam);
    if (Code == HCBT_CREATEWND && innermost_ && !innermost_->box_) {
        wchar_t name[8] = {};
        GetClassNameW(window, name, 8);
        if (std::wstring_view(name) == L"#32770") {
            innermost_->box_ = window;
            innermost_->boxProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProc)));
        }
    } else if (Code == HCBT_ACTIVATE && Watching(window)) {
        // Activated, the box would take the keyboard out of the program the
        // person types in. A click on the box, or the program brought to
        // the front (its window, its tray icon), activates it.
        const auto* activation = reinterpret_cast<const CBTACTIVATESTRUCT*>(LParam);
        if (!activation->fMouse && !ProgramHoldsKeyboard()) {
            if (Application && Application->HandleAllocated()) {
                FLASHWINFO flash{sizeof(flash), Application->Handle(), FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
                FlashWindowEx(&flash);
            }
            return 1;
        }
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

namespace {

// The box's control that has the keyboard, if one has.
HWND FocusedControl(HWND Box) {
    const HWND focus = GetFocus();
    return focus && IsChild(Box, focus) ? focus : nullptr;
}

// The button that Return presses.
HWND DefaultButton(HWND Box) {
    for (HWND child = GetWindow(Box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return child;
    return nullptr;
}

}  // namespace

LRESULT CALLBACK TBoxKeyboard::BoxProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TBoxKeyboard* watch = Watching(Window);
    if (!watch) return DefDlgProcW(Window, Msg, WParam, LParam);
    const WNDPROC next = watch->boxProc_;
    // Wine activates the box before its window shows, when the window
    // system cannot give it the keyboard yet, and its next try, once the
    // window shows, fails now and then: the box that the program made the
    // foreground takes the keyboard once more, after it showed.
    static const UINT takeKeyboard = RegisterWindowMessageW(L"VexmoraBoxTakesKeyboard");
    if (Msg == takeKeyboard) {
        if (GetForegroundWindow() == Window) {
            if (HWND control = FocusedControl(Window)) watch->control_ = control;
            SetFocus(Window);
        }
        return 0;
    }
    switch (Msg) {
        case WM_INITDIALOG: {
            const LRESULT result = CallWindowProcW(next, Window, Msg, WParam, LParam);
            // Opened without the keyboard, the box gave it to no button.
            watch->control_ = FocusedControl(Window);
            if (!watch->control_) watch->control_ = DefaultButton(Window);
            return result;
        }
        case WM_SETFOCUS:
            // The dialog would give the keyboard to its first button when no
            // button had it yet, as after the box opened without it: Return
            // would then press OK on a question that Return answers with
            // Cancel. The box gives it to the button that had it last, at
            // first its default one.
            if (watch->control_ && IsWindow(watch->control_)) {
                SendMessageW(Window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(watch->control_), TRUE);
                return 0;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(WParam) == WA_INACTIVE)
                if (HWND control = FocusedControl(Window)) watch->control_ = control;
            break;
        case WM_WINDOWPOSCHANGED:
            if (reinterpret_cast<const WINDOWPOS*>(LParam)->flags & SWP_SHOWWINDOW)
                PostMessageW(Window, takeKeyboard, 0, 0);
            break;
        case WM_WINDOWPOSCHANGING: {
            auto* position = reinterpret_cast<WINDOWPOS*>(LParam);
            if ((position->flags & SWP_HIDEWINDOW) && IsWindowVisible(Window)) watch->Hiding();
            // Shown, a window becomes the foreground under Wine, and the
            // keyboard input of a Wine program the person types in would
            // come to this thread, which has no window to take it.
            if (!(position->flags & SWP_NOACTIVATE) && GetActiveWindow() != Window && !ProgramHoldsKeyboard())
                position->flags |= SWP_NOACTIVATE;
            break;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
            break;
    }
    return CallWindowProcW(next, Window, Msg, WParam, LParam);
}

void TBoxKeyboard::Hiding() {
    // Handed on while the box still shows: the window that had the keyboard
    // does not go, so neither the system nor a window manager picks another
    // one, which might be another program's.
    if (GetForegroundWindow() != box_ || !handBackTo_) return;
    if (!IsWindowVisible(handBackTo_) || !IsWindowEnabled(handBackTo_)) return;
    // The program is ending: nobody answered.
    if (MSG quit; (Application && Application->Terminated()) ||
                  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
        return;
    SetForegroundWindow(handBackTo_);
}
