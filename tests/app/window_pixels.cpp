#include "tests/app/window_pixels.h"

#include "classlib/graphics/handles.h"

int TWindowPixels::DifferentFrom(const TWindowPixels& Other) const {
    if (Width != Other.Width || Height != Other.Height) return Width * Height;
    int count = 0;
    for (size_t i = 0; i < Pixels.size(); ++i) count += Pixels[i] != Other.Pixels[i];
    return count;
}

std::string TWindowPixels::FirstDifference(const TWindowPixels& Other) const {
    if (Width != Other.Width || Height != Other.Height)
        return "size " + std::to_string(Width) + "x" + std::to_string(Height) + " against " +
               std::to_string(Other.Width) + "x" + std::to_string(Other.Height);
    for (size_t i = 0; i < Pixels.size(); ++i)
        if (Pixels[i] != Other.Pixels[i])
            return "first at " + std::to_string(i % Width) + "," + std::to_string(i / Width);
    return "none";
}

TWindowPixels ReadWindowPixels(HWND Window, const std::vector<TControl*>& Live) {
    TWindowPixels shot;
    RECT r{};
    GetWindowRect(Window, &r);
    shot.Width = r.right - r.left;
    shot.Height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.Width;
    info.bmiHeader.biHeight = -shot.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC source = GetWindowDC(Window);
    TMemoryDC memory(source);
    TBitmapHandle bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        TSelectObject select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, shot.Width, shot.Height, source, 0, 0, SRCCOPY);
        for (TControl* control : Live) {
            TWinControl* parent = control ? control->Parent() : nullptr;
            if (!parent || !parent->HandleAllocated()) continue;
            const TRect bounds = control->BoundsRect();
            RECT part{bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
            MapWindowPoints(parent->Handle(), nullptr, reinterpret_cast<POINT*>(&part), 2);
            OffsetRect(&part, -r.left, -r.top);
            FillRect(memory.Get(), &part, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        GdiFlush();
        const auto* words = static_cast<const std::uint32_t*>(bits);
        shot.Pixels.assign(words, words + static_cast<size_t>(shot.Width) * static_cast<size_t>(shot.Height));
    }
    ReleaseDC(Window, source);
    return shot;
}

void MouseTo(TPoint Screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(Screen.X * 65536LL / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>(Screen.Y * 65536LL / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void MouseButton(bool Down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

TPoint ScreenCentre(TWinControl* Control, const TRect& Part) {
    POINT p{(Part.Left + Part.Right) / 2, (Part.Top + Part.Bottom) / 2};
    ClientToScreen(Control->Handle(), &p);
    return TPoint(p.x, p.y);
}
