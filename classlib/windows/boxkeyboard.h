// The keyboard around one message box of the program. The box takes it only
// while the person is with the program: opened while they work in another
// program, it shows and waits (the task bar button flashes) until they come
// to it. Once answered, it hands the keyboard to the window it belongs to
// before it hides, so that no window manager picks another window meanwhile.
#pragma once

#include "classlib/core/win32.h"

class TBoxKeyboard {
public:
    // Watches the next box made on this thread, while the object lives.
    // HandBackTo takes the keyboard when the box goes; null leaves it to the
    // system.
    explicit TBoxKeyboard(HWND HandBackTo);
    ~TBoxKeyboard();
    TBoxKeyboard(const TBoxKeyboard&) = delete;
    TBoxKeyboard& operator=(const TBoxKeyboard&) = delete;

private:
    // True while one of the windows of this thread, which shows the
    // program's windows and boxes, holds the keyboard.
    static bool ProgramHoldsKeyboard();
    static LRESULT CALLBACK CbtHook(int Code, WPARAM WParam, LPARAM LParam);
    static LRESULT CALLBACK BoxProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
    static TBoxKeyboard* Watching(HWND Box);
    void Hiding();

    HWND handBackTo_;
    HWND box_ = nullptr;
    WNDPROC boxProc_ = nullptr;
    // The box's control that takes the keyboard whenever the box does.
    HWND control_ = nullptr;
    // Boxes open inside this one's loop come later on the same thread.
    TBoxKeyboard* outer_;
    HHOOK hook_ = nullptr;
    static thread_local TBoxKeyboard* innermost_;
};
