// Holds a Wine session open while tests run: the first Wine program of a
// session starts the background services and the desktop process, and they
// inherit its standard handles. Started once with its output discarded, this
// program makes sure no test's output pipe is held open after the test ends.
// With a file name argument it creates that file once the session is up.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"VexmoraWineSession";
    RegisterClassW(&wc);
    // A real top-level window (never shown) is what starts the desktop process.
    CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (commandLine && *commandLine) {
        HANDLE ready = CreateFileA(commandLine, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
