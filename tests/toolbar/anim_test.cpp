// Menu animation: slide frames read back as window regions, fade alphas
// through the layered-update seam, the final image from the screen, early
// ends (cursor, a second start) and nothing left behind.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/graphics/handles.h"
#include "classlib/windows/application.h"
#include "tests/support/pump.h"
#include "toolbar/baranim.h"

namespace {

constexpr COLORREF Paint = RGB(0, 128, 255);

struct Seen {
    std::vector<RECT> regions;
    int frames = 0;
    bool done = false;
};
Seen* seen = nullptr;

LRESULT CALLBACK PopupProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
    switch (Msg) {
        case WM_ERASEBKGND:
        case WM_PRINTCLIENT: {
            RECT r{};
            GetClientRect(Wnd, &r);
            TBrushHandle brush(CreateSolidBrush(Paint));
            FillRect(reinterpret_cast<HDC>(W), &r, brush.Get());
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(Wnd, &ps);
            SendMessageW(Wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
            EndPaint(Wnd, &ps);
            return 0;
        }
        case WM_BAR_ANIMATIONFRAME: {
            TMessage m{Msg, W, L, 0};
            AnimationFrame(m);
            if (seen && AnimationRunning()) {
                ++seen->frames;
                TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
                if (GetWindowRgn(Wnd, region.Get()) != ERROR) {
                    RECT box{};
                    GetRgnBox(region.Get(), &box);
                    seen->regions.push_back(box);
                }
            }
            return 0;
        }
        case WM_BAR_ANIMATIONDONE:
            if (seen) seen->done = true;
            return 0;
        default:
            return DefWindowProcW(Wnd, Msg, W, L);
    }
}

DWORD fakeTicks = 0;
DWORD WINAPI FakeTicks() {
    return fakeTicks += 5;
}
int cursorCalls = 0;
int cursorInsideAfter = 1 << 30;
BOOL WINAPI FakeCursor(LPPOINT P) {
    ++cursorCalls;
    *P = cursorCalls > cursorInsideAfter ? POINT{540, 430} : POINT{5, 5};
    return TRUE;
}
std::vector<int> alphas;
BOOL WINAPI RecordLayered(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION* Blend, DWORD) {
    alphas.push_back(Blend->SourceConstantAlpha);
    return TRUE;
}

class Animation : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        WNDCLASSW cls{};
        cls.lpfnWndProc = PopupProc;
        cls.lpszClassName = L"VxAnimatedPopup";
        cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        RegisterClassW(&cls);
        fakeTicks = 0;
        cursorCalls = 0;
        cursorInsideAfter = 1 << 30;
        alphas.clear();
        TAnimationEnvironment env;
        env.TickCount = FakeTicks;
        env.CursorPos = FakeCursor;
        saved = SetAnimationEnvironment(env);
        seen = &log;
    }
    void TearDown() override {
        EndAnimation(nullptr);
        for (HWND w : windows) DestroyWindow(w);
        SetAnimationEnvironment(saved);
        seen = nullptr;
    }
    HWND NewPopup(int X = 500, int Y = 400) {
        HWND w = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"VxAnimatedPopup", L"", WS_POPUP, X, Y,
                                 100, 80, nullptr, nullptr, nullptr, nullptr);
        windows.push_back(w);
        return w;
    }
    static COLORREF ScreenPixel(int X, int Y) {
        TWindowDC screen(nullptr);
        return GetPixel(screen.Get(), X, Y);
    }

    Seen log;
    TAnimationEnvironment saved;
    std::vector<HWND> windows;
};

}  // namespace

TEST_F(Animation, ASlideUncoversTheWindowFrameByFrame) {
    HWND popup = NewPopup();
    StartAnimation(popup, false, adDownwards);
    EXPECT_TRUE(IsWindowVisible(popup));
    ASSERT_TRUE(PumpUntil([&] { return log.done; }));
    ASSERT_GE(log.regions.size(), 3u);
    int lastTop = -81;
    for (const RECT& box : log.regions) {
        // Comes down from above: the region is the window moved up.
        EXPECT_EQ(box.left, 0);
        EXPECT_EQ(box.right, 100);
        EXPECT_LT(box.top, 0);
        EXPECT_GT(box.top, lastTop);
        EXPECT_EQ(box.bottom - box.top, 80);
        lastTop = box.top;
    }
    // Finished: no region, and the whole image on the screen.
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(popup, region.Get()), ERROR);
    EXPECT_FALSE(AnimationRunning());
    EXPECT_EQ(ScreenPixel(550, 440), Paint);
    EXPECT_EQ(ScreenPixel(505, 405), Paint);
}

TEST_F(Animation, AFadeRisesFromFortyAndTheFinishShowsTheWhole) {
    TAnimationEnvironment env = SetAnimationEnvironment({});
    env.UpdateLayered = RecordLayered;
    SetAnimationEnvironment(env);
    HWND popup = NewPopup();
    StartAnimation(popup, true, adDownwards);
    EXPECT_TRUE(GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(PumpUntil([&] { return log.done; }));
    ASSERT_GE(alphas.size(), 3u);
    EXPECT_EQ(alphas.front(), 40);
    for (size_t i = 1; i < alphas.size(); ++i) {
        EXPECT_GT(alphas[i], alphas[i - 1]);
        EXPECT_LT(alphas[i], 255);  // 255 is never a frame: the finish shows it
    }
    EXPECT_FALSE(GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(log.regions.empty());
    EXPECT_EQ(ScreenPixel(550, 440), Paint);
}

TEST_F(Animation, WithoutLayeredWindowsAFadeSlides) {
    TAnimationEnvironment env = SetAnimationEnvironment({});
    env.NoLayeredWindows = true;
    env.UpdateLayered = RecordLayered;
    SetAnimationEnvironment(env);
    HWND popup = NewPopup();
    StartAnimation(popup, true, 0);
    ASSERT_TRUE(PumpUntil([&] { return log.done; }));
    EXPECT_TRUE(alphas.empty());
    ASSERT_FALSE(log.regions.empty());
    // No direction: the whole window from the first frame.
    EXPECT_EQ(log.regions.front().top, 0);
    EXPECT_EQ(log.regions.front().left, 0);
}

TEST_F(Animation, TheCursorReachingIntoTheMenuEndsItAtOnce) {
    HWND popup = NewPopup();
    StartAnimation(popup, false, adRightwards);
    ASSERT_TRUE(PumpUntil([&] { return log.done; }));
    const int fullFrames = log.frames;
    log = Seen{};
    cursorCalls = 0;
    cursorInsideAfter = 2;
    StartAnimation(popup, false, adRightwards);
    ASSERT_TRUE(PumpUntil([&] { return log.done; }));
    EXPECT_LT(log.frames, fullFrames);
    EXPECT_LE(log.frames, 2);
}

TEST_F(Animation, ASecondStartFinishesTheFirst) {
    HWND first = NewPopup(300, 300);
    HWND second = NewPopup(500, 400);
    StartAnimation(first, false, adUpwards);
    StartAnimation(second, false, adUpwards);
    // The first one's end came before the second began.
    EXPECT_TRUE(log.done);
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(first, region.Get()), ERROR);
    log = Seen{};
    ASSERT_TRUE(PumpUntil([&] { return log.done; }));
}

TEST_F(Animation, ManyAnimationsLeaveNothingBehind) {
    HWND popup = NewPopup();
    StartAnimation(popup, false, adDownwards);
    ASSERT_TRUE(PumpUntil([&] { return log.done; }));
    ShowWindow(popup, SW_HIDE);
    const long gdi = GdiHandleCount(), user = UserHandleCount();
    for (int i = 0; i < 100; ++i) {
        log = Seen{};
        StartAnimation(popup, i % 2 == 0, static_cast<BYTE>(1 << (i % 4)));
        if (i % 3 == 0) {
            EndAnimation(popup);
        } else {
            ASSERT_TRUE(PumpUntil([&] { return log.done; }));
        }
        ShowWindow(popup, SW_HIDE);
    }
    Application->ProcessMessages();
    EXPECT_EQ(GdiHandleCount(), gdi);
    EXPECT_EQ(UserHandleCount(), user);
    EXPECT_FALSE(AnimationRunning());
}
