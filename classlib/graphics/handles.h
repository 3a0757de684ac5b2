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

namespace classlib_detail {
void CountGdi(int delta);
void CountUser(int delta);
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
