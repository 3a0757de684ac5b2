// Shared by the tests of the standard controls: real input sent from a
// helper thread (mouse clicks, typed characters, key presses) and a copy of
// a window's client area read back as pixels.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "classlib/graphics/bitmap.h"
#include "tests/classlib/windows/window_test.h"

namespace stdctrls_test {

inline INPUT MouseInput(DWORD flags, TPoint at = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(at.X, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(at.Y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    input.mi.dwFlags = flags;
    return input;
}

inline INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Sends the inputs from another thread, as a person would make them.
inline void SendFromThread(std::vector<INPUT> inputs) {
    std::thread sender(
        [&inputs] { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); });
    sender.join();
}

// A left click at a screen point.
inline void ClickAt(TPoint at) {
    SendFromThread({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at), MouseInput(MOUSEEVENTF_LEFTDOWN),
                    MouseInput(MOUSEEVENTF_LEFTUP)});
}

// Presses and releases each key in turn.
inline void PressKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        inputs.push_back(KeyInput(key, false));
        inputs.push_back(KeyInput(key, true));
    }
    SendFromThread(inputs);
}

// Types plain characters (digits, letters, '-') through their keys.
inline void TypeText(const std::string& text) {
    std::vector<WORD> keys;
    for (char c : text) keys.push_back(LOBYTE(VkKeyScanA(c)));
    PressKeys(keys);
}

// The window's client area as it shows now, without asking anything to
// repaint.
inline TOwned<TBitmap> CopyClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    TOwned<TBitmap> shot(Create<TBitmap>());
    shot->SetSize(client.right, client.bottom);
    TWindowDC dc(window);
    BitBlt(shot->Canvas()->Handle(), 0, 0, client.right, client.bottom, dc.Get(), 0, 0, SRCCOPY);
    return shot;
}

// The window's client area once it and its children have painted afresh.
inline TOwned<TBitmap> CaptureClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return CopyClient(window);
}

}  // namespace stdctrls_test
