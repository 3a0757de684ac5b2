#include "toolbar/baranim.h"

#include <atomic>
#include <memory>

#include "classlib/graphics/handles.h"

namespace {

TUpdateLayeredProc SystemUpdateLayered() {
    static const TUpdateLayeredProc proc = [] {
        HMODULE user = GetModuleHandleA("user32.dll");
        return user ? reinterpret_cast<TUpdateLayeredProc>(
                          reinterpret_cast<void*>(GetProcAddress(user, "UpdateLayeredWindow")))
                    : nullptr;
    }();
    return proc;
}

TAnimationEnvironment environment;

TUpdateLayeredProc UpdateLayered() {
    if (environment.NoLayeredWindows) return nullptr;
    return environment.UpdateLayered ? environment.UpdateLayered : SystemUpdateLayered();
}

// Shared with the worker: what it writes is atomic; the rest is fixed
// before it starts.
struct Record {
    LPARAM sequence = 0;
    HWND wnd = nullptr;
    DWORD duration = 0;
    bool fade = false;
    std::atomic<int> progress{0};
    std::unique_ptr<TDCEx> windowDC;
    std::unique_ptr<TMemoryDC> memoryDC;
    TBitmapHandle bitmap;
    std::unique_ptr<TSelectObject> selected;
    RECT client{};
    int width = 0, height = 0;
    POINT lastCursor{};
    BYTE direction = 0;
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::atomic<LONG> framePending{0};
    DWORD(WINAPI* tickCount)() = GetTickCount;
    BOOL(WINAPI* cursorPos)(LPPOINT) = GetCursorPos;
};

void EndRunning(HWND Wnd);

// One per GUI thread; a thread that ends (or the program) ends its
// animation first.
struct ThreadAnimation {
    std::unique_ptr<Record> record;
    HANDLE worker = nullptr;
    LPARAM sequenceCounter = 0;
    ~ThreadAnimation() { EndRunning(nullptr); }
};
thread_local ThreadAnimation state;

DWORD WINAPI AnimationThreadProc(LPVOID Param) {
    auto* r = static_cast<Record*>(Param);
    const DWORD start = r->tickCount();
    DWORD last = start;
    const int base = r->progress.load();
    while (!r->stop.load()) {
        const long elapsed = static_cast<long>(last - start);
        if (elapsed < 0 || elapsed >= static_cast<long>(r->duration)) break;
        const int p = static_cast<int>(elapsed * 255 / static_cast<long>(r->duration)) + base;
        if (p < 0 || p >= 255) break;
        POINT cursor{};
        r->cursorPos(&cursor);
        if (cursor.x != r->lastCursor.x || cursor.y != r->lastCursor.y) {
            // The user reaches into the menu: show it whole now.
            if (PtInRect(&r->client, cursor)) break;
            r->lastCursor = cursor;
        }
        if (p > r->progress.load()) {
            r->progress.store(p);
            if (r->framePending.exchange(1) == 0)
                SendNotifyMessageW(r->wnd, WM_BAR_ANIMATIONFRAME, 0, r->sequence);
        }
        DWORD now = r->tickCount();
        while (static_cast<long>(now - last) < 10 && !r->stop.load()) {
            Sleep(5);
            now = r->tickCount();
        }
        last = now;
    }
    r->done.store(true);
    SendNotifyMessageW(r->wnd, WM_BAR_ANIMATIONFRAME, 0, r->sequence);
    return 0;
}

void SetRegion(HWND Wnd, HRGN Region, bool Redraw) {
    if (!SetWindowRgn(Wnd, Region, Redraw) && Region) DeleteObject(Region);
}

void Finish() {
    if (!state.record || !state.record->wnd) return;
    Record& r = *state.record;
    HWND wnd = r.wnd;
    if (IsWindow(wnd)) {
        if (r.fade)
            SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        else
            SetRegion(wnd, nullptr, false);
        if (r.windowDC && r.memoryDC)
            BitBlt(r.windowDC->Get(), 0, 0, r.width, r.height, r.memoryDC->Get(), 0, 0, SRCCOPY);
    }
    r.selected.reset();
    r.memoryDC.reset();
    r.bitmap.Reset();
    r.windowDC.reset();
    r.wnd = nullptr;
    if (IsWindow(wnd)) SendNotifyMessageW(wnd, WM_BAR_ANIMATIONDONE, 0, 0);
}

void EndRunning(HWND Wnd) {
    if (!state.worker || !state.record) return;
    if (Wnd && Wnd != state.record->wnd) return;
    state.record->stop.store(true);
    WaitForSingleObject(state.worker, INFINITE);
    CloseHandle(state.worker);
    state.worker = nullptr;
    Finish();
}

}  // namespace

TAnimationEnvironment SetAnimationEnvironment(const TAnimationEnvironment& Environment) {
    const TAnimationEnvironment was = environment;
    environment = Environment;
    return was;
}

bool AnimationRunning() {
    return state.worker != nullptr;
}

void EndAnimation(HWND Wnd) {
    EndRunning(Wnd);
}

void StartAnimation(HWND Wnd, bool Fade, BYTE Direction) {
    EndAnimation(nullptr);
    state.record = std::make_unique<Record>();
    Record& r = *state.record;
    r.sequence = ++state.sequenceCounter;
    r.wnd = Wnd;
    r.direction = Direction;
    r.tickCount = environment.TickCount;
    r.cursorPos = environment.CursorPos;
    const TUpdateLayeredProc updateLayered = UpdateLayered();
    r.fade = Fade && updateLayered;

    r.cursorPos(&r.lastCursor);
    GetClientRect(Wnd, &r.client);
    MapWindowPoints(Wnd, nullptr, reinterpret_cast<POINT*>(&r.client), 2);
    RECT window{};
    GetWindowRect(Wnd, &window);
    r.width = window.right - window.left;
    r.height = window.bottom - window.top;
    r.windowDC = std::make_unique<TDCEx>(Wnd, nullptr, DCX_WINDOW | DCX_CACHE);
    r.bitmap.Reset(CreateCompatibleBitmap(r.windowDC->Get(), std::max(r.width, 1), std::max(r.height, 1)));
    r.memoryDC = std::make_unique<TMemoryDC>(r.windowDC->Get());
    r.selected = std::make_unique<TSelectObject>(r.memoryDC->Get(), r.bitmap.Get());
    SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(r.memoryDC->Get()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);

    if (r.fade) {
        SetWindowLongW(Wnd, GWL_EXSTYLE, GetWindowLongW(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        r.duration = 175;
        r.progress.store(40);
        POINT destination{window.left, window.top}, source{0, 0};
        SIZE size{r.width, r.height};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 40, 0};
        updateLayered(Wnd, nullptr, &destination, &size, r.memoryDC->Get(), &source, 0, &blend, ULW_ALPHA);
    } else {
        r.duration = 150;
        r.progress.store(0);
        SetRegion(Wnd, CreateRectRgn(0, 0, 0, 0), false);
    }
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                     SWP_NOOWNERZORDER | SWP_ASYNCWINDOWPOS);
    DWORD id = 0;
    state.worker = CreateThread(nullptr, 0, AnimationThreadProc, &r, CREATE_SUSPENDED, &id);
    if (!state.worker) {
        Finish();
        return;
    }
    ResumeThread(state.worker);
}

void AnimationFrame(const TMessage& Message) {
    if (!state.record || !state.record->wnd || Message.LParam != state.record->sequence) return;
    Record& r = *state.record;
    if (r.done.load()) {
        EndAnimation(r.wnd);
        return;
    }
    const int progress = r.progress.load();
    if (r.fade) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(progress), 0};
        if (TUpdateLayeredProc update = UpdateLayered())
            update(r.wnd, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA);
    } else {
        int x = 0, y = 0;
        if (r.direction & adDownwards)
            y = MulDiv(r.height, progress, 255) - r.height;
        else if (r.direction & adUpwards)
            y = r.height - MulDiv(r.height, progress, 255);
        if (r.direction & adRightwards)
            x = MulDiv(r.width, progress, 255) - r.width;
        else if (r.direction & adLeftwards)
            x = r.width - MulDiv(r.width, progress, 255);
        SetRegion(r.wnd, CreateRectRgn(x, y, x + r.width, y + r.height), false);
        BitBlt(r.windowDC->Get(), x, y, r.width, r.height, r.memoryDC->Get(), 0, 0, SRCCOPY);
    }
    r.framePending.store(0);
}
