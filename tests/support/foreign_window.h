// A window of another thread, as another program's, made the foreground
// for as long as the object lives.
#pragma once

#include <atomic>
#include <thread>

#include "classlib/core/win32.h"

class TForeignWindow {
public:
    TForeignWindow() {
        thread_ = std::thread([this] {
            HWND window = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 500, 400, 80, 40,
                                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            SetForegroundWindow(window);
            window_ = window;
            threadId_ = GetCurrentThreadId();
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(window);
        });
        while (!threadId_) Sleep(5);
    }
    ~TForeignWindow() {
        while (!PostThreadMessageW(threadId_, WM_QUIT, 0, 0)) Sleep(5);
        thread_.join();
    }
    TForeignWindow(const TForeignWindow&) = delete;
    TForeignWindow& operator=(const TForeignWindow&) = delete;
    HWND Handle() const { return window_; }

private:
    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<DWORD> threadId_{0};
};
