// Points, sizes and rectangles with the class library's member names,
// layout-compatible with POINT, SIZE and RECT so they pass straight to Win32,
// and the small helpers (`Rect`, `Bounds`, `Point`, `PtInRect`, ...).
#pragma once

#include "classlib/core/win32.h"

struct TPoint {
    LONG X = 0;
    LONG Y = 0;

    constexpr TPoint() = default;
    constexpr TPoint(LONG x, LONG y) : X(x), Y(y) {}
    TPoint(const POINT& p) : X(p.x), Y(p.y) {}
    operator POINT() const { return POINT{X, Y}; }
    POINT* Win32() { return reinterpret_cast<POINT*>(this); }
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    LONG cx = 0;
    LONG cy = 0;
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    LONG Left = 0;
    LONG Top = 0;
    LONG Right = 0;
    LONG Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(LONG l, LONG t, LONG r, LONG b) : Left(l), Top(t), Right(r), Bottom(b) {}
    TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
    operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
    RECT* Win32() { return reinterpret_cast<RECT*>(this); }
    const RECT* Win32() const { return reinterpret_cast<const RECT*>(this); }

    constexpr LONG Width() const { return Right - Left; }
    constexpr LONG Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

static_assert(sizeof(TPoint) == sizeof(POINT) && sizeof(TRect) == sizeof(RECT) &&
              sizeof(TSize) == sizeof(SIZE));

constexpr TPoint Point(LONG x, LONG y) {
    return {x, y};
}
constexpr TRect Rect(LONG left, LONG top, LONG right, LONG bottom) {
    return {left, top, right, bottom};
}
constexpr TRect Bounds(LONG left, LONG top, LONG width, LONG height) {
    return {left, top, left + width, top + height};
}
constexpr bool PtInRect(const TRect& r, TPoint p) {
    return r.Contains(p);
}
constexpr TRect OffsetRect(TRect r, LONG dx, LONG dy) {
    return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
constexpr TRect InflateRect(TRect r, LONG dx, LONG dy) {
    return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}
