// The framework's common routines: accelerator text, list helpers and the
// sort, message removal, the menu delay's registry fallback, and the drawing
// helpers read back from a bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "classlib/core/registryredirect.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/services/osversion.h"
#include "classlib/services/systemsettings.h"
#include "toolbar/barlists.h"
#include "toolbar/barmessages.h"
#include "toolbar/barprint.h"
#include "toolbar/barsystem.h"
#include "toolbar/bartext.h"

TEST(AccelText, StripFindAndEscape) {
    struct Row {
        const char* text;
        char accel;
        const char* shown;
    } rows[] = {
        {"&File", 'F', "File"},  {"Save && Exit", '\0', "Save & Exit"},
        {"A&b&c", 'c', "Abc"},    // the last single ampersand wins
        {"Tail&", '\0', "Tail"},  // nothing follows it
        {"&&&x", 'x', "&x"},      // a pair, then a single one
        {"", '\0', ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FindAccelChar(row.text), row.accel) << row.text;
        EXPECT_EQ(StripAccelChars(row.text), row.shown) << row.text;
        EXPECT_EQ(StripAccelChars(EscapeAmpersands(row.text)), row.text) << row.text;
    }
}

TEST(AccelText, TrailingPunctuation) {
    EXPECT_EQ(StripTrailingPunctuation("Options..."), "Options");
    EXPECT_EQ(StripTrailingPunctuation("Name:"), "Name");
    EXPECT_EQ(StripTrailingPunctuation(":"), ":");
    EXPECT_EQ(StripTrailingPunctuation("..."), "...");  // too short to lose the dots
    EXPECT_EQ(StripTrailingPunctuation("a:b"), "a:b");
}

TEST(Lists, ExistOnlyWhileTheyHoldSomething) {
    TOwned<TList> list;
    int a = 0, b = 0;
    EXPECT_TRUE(AddToList(list, &a));
    EXPECT_FALSE(AddToList(list, &a));
    EXPECT_TRUE(AddToFrontOfList(list, &b));
    EXPECT_EQ(list->Items(0), &b);
    RemoveFromList(list, &a);
    ASSERT_TRUE(list);
    RemoveFromList(list, &b);
    EXPECT_FALSE(list);
    RemoveFromList(list, &b);  // an absent list stays absent
}

TEST(Lists, QuickSortOrdersAnyInput) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<int> values(random() % 40);
        for (int& v : values) v = static_cast<int>(random() % 10);
        TOwned<TList> list = MakeOwned<TList>();
        for (int& v : values) list->Add(&v);
        ListSortEx(
            list.get(), [](void* x, void* y, void*) { return *static_cast<int*>(x) - *static_cast<int*>(y); },
            nullptr);
        std::vector<int> got;
        for (int i = 0; i < list->Count(); ++i) got.push_back(*static_cast<int*>(list->Items(i)));
        std::sort(values.begin(), values.end());
        EXPECT_EQ(got, values);
    }
}

TEST(Numbers, DivRoundUpMovesAwayFromZero) {
    EXPECT_EQ(DivRoundUp(7, 2), 4);
    EXPECT_EQ(DivRoundUp(8, 2), 4);
    EXPECT_EQ(DivRoundUp(-7, 2), -4);
}

TEST(Messages, RemovingAQuitKeepsItPendingAndStops) {
    HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    PostMessageW(window, WM_USER + 1, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 42, 0);
    PostMessageW(window, WM_USER + 2, 0, 0);
    RemoveMessages(WM_QUIT, WM_USER + 2);
    std::vector<UINT> left;
    WPARAM code = 0;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_USER + 1 || msg.message == WM_USER + 2 || msg.message == WM_QUIT)
            left.push_back(msg.message);
        if (msg.message == WM_QUIT) code = msg.wParam;
    }
    // Nothing after the quit was removed, and the quit keeps its code.
    EXPECT_EQ(left, (std::vector<UINT>{WM_USER + 2, WM_QUIT}));
    EXPECT_EQ(code, 42u);
    DestroyWindow(window);
}

namespace {
int paintsSeen = 0;
LRESULT CALLBACK NeverValidates(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_PAINT) {
        ++paintsSeen;
        return 0;
    }
    return DefWindowProcW(wnd, msg, w, l);
}
}  // namespace

TEST(Messages, PaintProcessingEndsForAWindowThatNeverValidates) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = NeverValidates;
    cls.lpszClassName = L"VxNeverValidates";
    RegisterClassW(&cls);
    HWND window = CreateWindowW(L"VxNeverValidates", L"", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                                nullptr, nullptr, nullptr);
    InvalidateRect(window, nullptr, FALSE);
    paintsSeen = 0;
    ProcessPaintMessages();
    EXPECT_EQ(paintsSeen, 1);
    DestroyWindow(window);
}

TEST(MenuDelay, RegistryFallback) {
    TRegistryRedirect root;
    EXPECT_EQ(ReadMenuShowDelayFromRegistry(), 400);  // no key
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    EXPECT_EQ(ReadMenuShowDelayFromRegistry(), 400);  // no value
    auto set = [&](const std::string& bytes, DWORD type = REG_SZ) {
        RegSetValueExA(key, "MenuShowDelay", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    };
    set(std::string("250\0", 4));
    EXPECT_EQ(ReadMenuShowDelayFromRegistry(), 250);
    set(std::string("fast\0", 5));
    EXPECT_EQ(ReadMenuShowDelayFromRegistry(), 0);
    set(std::string("\x10\0\0\0", 4), REG_DWORD);
    EXPECT_EQ(ReadMenuShowDelayFromRegistry(), 0);
    // A value as long as the buffer comes back without a terminator.
    const char full[40] = "00000000000000000000000000000123999";
    EXPECT_EQ(MenuShowDelayFromText(full, 32), 123);
    RegCloseKey(key);
}

namespace {
TOwned<TBitmap> WhiteBitmap(int W, int H) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(W, H);
    RECT all{0, 0, W, H};
    FillRect(bitmap->Canvas()->Handle(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return bitmap;
}
}  // namespace

TEST(Drawing, HalftoneFrameIsACheckerboardAndInvertsBack) {
    auto bitmap = WhiteBitmap(40, 40);
    HDC dc = bitmap->Canvas()->Handle();
    const TRect frame(5, 5, 35, 35);
    DrawHalftoneInvertRect(dc, &frame, nullptr, {}, {3, 3});
    GdiFlush();
    // The frame is a checkerboard; the inside and outside are untouched.
    EXPECT_NE(bitmap->Canvas()->Pixels(5, 5), bitmap->Canvas()->Pixels(6, 5));
    EXPECT_EQ(bitmap->Canvas()->Pixels(5, 5), bitmap->Canvas()->Pixels(6, 6));
    EXPECT_EQ(bitmap->Canvas()->Pixels(20, 20), clWhite);
    EXPECT_EQ(bitmap->Canvas()->Pixels(2, 2), clWhite);
    // Moving it draws the new frame and erases the old one in one pass.
    const TRect moved(8, 8, 38, 38);
    DrawHalftoneInvertRect(dc, &moved, &frame, {3, 3}, {3, 3});
    DrawHalftoneInvertRect(dc, nullptr, &moved, {3, 3}, {3, 3});
    GdiFlush();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(bitmap->Canvas()->Pixels(x, y), clWhite) << x << "," << y;
}

TEST(Drawing, RotatedTextRunsDownwards) {
    auto bitmap = WhiteBitmap(40, 200);
    HDC dc = bitmap->Canvas()->Handle();
    TFontHandle font(CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    TSelectObject select(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    DrawRotatedText(dc, "&Wide text", TRect(0, 0, 40, 200), 0);
    GdiFlush();
    int top = 200, bottom = -1, left = 40, right = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 40; ++x)
            if (bitmap->Canvas()->Pixels(x, y) != clWhite) {
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_GT(bottom - top, 2 * (right - left));  // taller than wide
    EXPECT_LT(bottom, GetTextWidth(dc, "Wide text", false) + 4);
}

namespace {
class FakeVersion : public TOSVersionService {
public:
    TOSVersionInfo info;
    TOSVersionInfo Version() override { return info; }
};
// Answers SystemParametersInfo from a table; anything else fails.
class Settings : public TSystemSettings {
public:
    std::map<UINT, int> values;
    int Metric(int Index) override { return TSystemSettings::Default().Metric(Index); }
    bool ParametersInfo(UINT Action, UINT, void* Data, UINT) override {
        auto it = values.find(Action);
        if (it == values.end()) return false;
        *static_cast<int*>(Data) = it->second;
        return true;
    }
};
}  // namespace

TEST(SystemQueries, FollowTheVersionAndTheSettings) {
    FakeVersion version;
    Settings settings;
    TServiceOverride<TOSVersionService> useVersion(version);
    TServiceOverride<TSystemSettings> useSettings(settings);
    version.info = {VER_PLATFORM_WIN32_NT, 5, 0, 0, ""};
    settings.values = {{0x1022, TRUE}, {0x100A, FALSE}, {SPI_GETMENUSHOWDELAY, -20}};
    EXPECT_FALSE(IsWindowsXP());
    EXPECT_FALSE(AreFlatMenusEnabled());  // not before XP, whatever the setting
    EXPECT_FALSE(AreKeyboardCuesEnabled());
    EXPECT_EQ(GetMenuShowDelay(), 0);  // never negative
    version.info.Minor = 1;
    EXPECT_TRUE(IsWindowsXP());
    EXPECT_TRUE(AreFlatMenusEnabled());
    settings.values.erase(0x100A);
    EXPECT_TRUE(AreKeyboardCuesEnabled());  // a failing query shows the cues
    version.info = {VER_PLATFORM_WIN32_WINDOWS, 3, 10, 0, ""};
    EXPECT_EQ(GetMenuShowDelay(), 400);
    EXPECT_TRUE(AreKeyboardCuesEnabled());
    EXPECT_TRUE(NeedToPlaySound("MenuPopup"));  // no check on the 9x family
}
