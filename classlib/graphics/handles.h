// Scoped holders for GDI objects, device contexts and user handles, and the
// process's own count of the handles they hold: Wine's GetGuiResources always
// answers 0, so leak tests read `GdiHandleCount`/`UserHandleCount` instead.
#pragma once

#include <utility>

#include "classlib/core/win32.h"

// Handles made through the holders below (and windows made by the class
// library) that are alive right now.
long GdiHandleCount();
long UserHandleCount();
// Windows hooks held by `THookHandle` right now.
long HookHandleCount();

namespace classlib_detail {
void CountGdi(int delta);
void CountUser(int delta);
void CountHook(int delta);
}  // namespace classlib_detail

// Owns one GDI object (font, pen, brush, bitmap, region, palette).
template <class H>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(H handle) : handle_(handle) {
        if (handle_) classlib_detail::CountGdi(1);
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    TGdiObject(TGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~TGdiObject() { Reset(); }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (handle_ == handle) return;
        if (handle_) {
            DeleteObject(handle_);
            classlib_detail::CountGdi(-1);
        }
        handle_ = handle;
        if (handle_) classlib_detail::CountGdi(1);
    }
    // Gives the object up without deleting it (the caller owns it now).
    H Release() {
        if (handle_) classlib_detail::CountGdi(-1);
        return std::exchange(handle_, nullptr);
    }

private:
    H handle_ = nullptr;
};

using TFontHandle = TGdiObject<HFONT>;
using TPenHandle = TGdiObject<HPEN>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;

// A memory device context of our own (CreateCompatibleDC / DeleteDC).
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {
        if (dc_) classlib_detail::CountGdi(1);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    ~TMemoryDC() {
        if (dc_) {
            DeleteDC(dc_);
            classlib_detail::CountGdi(-1);
        }
    }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A window's (or the screen's) device context, released on scope exit.
class TWindowDC {
public:
    explicit TWindowDC(HWND window = nullptr, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC now, RestoreDC on scope exit.
class TSaveDC {
public:
    explicit TSaveDC(HDC dc) : dc_(dc), saved_(dc ? SaveDC(dc) : 0) {}
    TSaveDC(const TSaveDC&) = delete;
    TSaveDC& operator=(const TSaveDC&) = delete;
    ~TSaveDC() {
        if (saved_) RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;
    int saved_;
};

// Owns an icon or a cursor made by CreateIconIndirect, CopyIcon,
// ImageList_GetIcon or LoadImage without LR_SHARED.
class TIconHandle {
public:
    TIconHandle() = default;
    explicit TIconHandle(HICON icon) : icon_(icon) {
        if (icon_) classlib_detail::CountUser(1);
    }
    TIconHandle(const TIconHandle&) = delete;
    TIconHandle& operator=(const TIconHandle&) = delete;
    TIconHandle(TIconHandle&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    TIconHandle& operator=(TIconHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            icon_ = std::exchange(other.icon_, nullptr);
        }
        return *this;
    }
    ~TIconHandle() { Reset(); }
    HICON Get() const { return icon_; }
    void Reset(HICON icon = nullptr) {
        if (icon_ == icon) return;
        if (icon_) {
            DestroyIcon(icon_);
            classlib_detail::CountUser(-1);
        }
        icon_ = icon;
        if (icon_) classlib_detail::CountUser(1);
    }
    HICON Release() {
        if (icon_) classlib_detail::CountUser(-1);
        return std::exchange(icon_, nullptr);
    }

private:
    HICON icon_ = nullptr;
};

// Owns a Windows hook (SetWindowsHookEx / UnhookWindowsHookEx).
class THookHandle {
public:
    THookHandle() = default;
    explicit THookHandle(HHOOK hook) : hook_(hook) {
        if (hook_) classlib_detail::CountHook(1);
    }
    THookHandle(const THookHandle&) = delete;
    THookHandle& operator=(const THookHandle&) = delete;
    THookHandle(THookHandle&& other) noexcept : hook_(std::exchange(other.hook_, nullptr)) {}
    THookHandle& operator=(THookHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            hook_ = std::exchange(other.hook_, nullptr);
        }
        return *this;
    }
    ~THookHandle() { Reset(); }
    HHOOK Get() const { return hook_; }
    explicit operator bool() const { return hook_ != nullptr; }
    void Reset() {
        if (!hook_) return;
        UnhookWindowsHookEx(std::exchange(hook_, nullptr));
        classlib_detail::CountHook(-1);
    }

private:
    HHOOK hook_ = nullptr;
};

// A DC from GetDCEx (window, desktop or lock-update DC), released on scope
// exit.
class TDCEx {
public:
    TDCEx(HWND window, HRGN clip, DWORD flags) : window_(window), dc_(GetDCEx(window, clip, flags)) {}
    TDCEx(const TDCEx&) = delete;
    TDCEx& operator=(const TDCEx&) = delete;
    ~TDCEx() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// LockWindowUpdate for a scope (null window: nothing is locked).
class TWindowUpdateLock {
public:
    explicit TWindowUpdateLock(HWND window) : locked_(window && LockWindowUpdate(window)) {}
    TWindowUpdateLock(const TWindowUpdateLock&) = delete;
    TWindowUpdateLock& operator=(const TWindowUpdateLock&) = delete;
    ~TWindowUpdateLock() { Unlock(); }
    bool Locked() const { return locked_; }
    void Unlock() {
        if (locked_) LockWindowUpdate(nullptr);
        locked_ = false;
    }

private:
    bool locked_;
};

// Keeps the cursor inside a rectangle until the scope ends or Release.
class TCursorClip {
public:
    TCursorClip() = default;
    explicit TCursorClip(const RECT& area) { Clip(area); }
    TCursorClip(const TCursorClip&) = delete;
    TCursorClip& operator=(const TCursorClip&) = delete;
    ~TCursorClip() { Release(); }
    void Clip(const RECT& area) { clipped_ = ClipCursor(&area) != 0; }
    void Release() {
        if (clipped_) ClipCursor(nullptr);
        clipped_ = false;
    }

private:
    bool clipped_ = false;
};

// Mouse capture for a scope: released on exit when the window still has it.
class TMouseCaptureScope {
public:
    explicit TMouseCaptureScope(HWND window) : window_(window) { SetCapture(window); }
    TMouseCaptureScope(const TMouseCaptureScope&) = delete;
    TMouseCaptureScope& operator=(const TMouseCaptureScope&) = delete;
    ~TMouseCaptureScope() { Release(); }
    HWND Window() const { return window_; }
    bool Held() const { return window_ && GetCapture() == window_; }
    void Release() {
        if (Held()) ReleaseCapture();
        window_ = nullptr;
    }

private:
    HWND window_;
};
