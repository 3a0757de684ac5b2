// The main window's frame as a user touches it: every title-bar and status
// item and a group item paints back exactly once the real mouse has left it
// (also after a press cancelled by moving away), and the whole window paints
// back after each way of minimising, maximising and restoring it.
#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/program.h"
#include "app/program_units.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "controls/scgroup.h"
#include "notify/notifytrayicon.h"
#include "notify/zksimscope.h"
#include "skins/sbitem.h"
#include "skins/sbstatusbar.h"
#include "skins/sbtitlebar.h"
#include "skins/sbtoolbar.h"
#include "tests/app/program_fixture.h"
#include "tests/app/window_pixels.h"
#include "tests/support/pump.h"

namespace {

class FrameTouch : public ProgramTest {
protected:
    // The window shown and painted, the mouse away from it.
    void Open() {
        StartWithExampleDrives();
        MainForm->Show();
        SetForegroundWindow(MainForm->Handle());
        MouseTo(Away());
        ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(MainForm->Handle()) != 0; }));
    }
    // A screen point outside the window.
    static TPoint Away() {
        RECT r{};
        GetWindowRect(MainForm->Handle(), &r);
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        if (r.right + 20 < w) return TPoint(w - 10, (r.top + r.bottom) / 2);
        if (r.bottom + 20 < h) return TPoint((r.left + r.right) / 2, h - 10);
        return TPoint(std::max<LONG>(r.left - 10, 0), std::max<LONG>(r.top - 10, 0));
    }
    // The window's pixels without the live values of the list and the chart.
    static TWindowPixels Read() {
        const std::vector<TControl*> live{MainForm->lvDrvList, MainForm->PPerformance};
        return ReadWindowPixels(MainForm->Handle(), live);
    }
    // The pixels once painting has come to rest: unchanged over a quarter
    // of a second of pumped messages.
    static TWindowPixels Settled() {
        TWindowPixels last = Read();
        int calm = 0;
        PumpUntil(
            [&] {
                Sleep(25);
                TWindowPixels next = Read();
                calm = next.DifferentFrom(last) == 0 ? calm + 1 : 0;
                last = std::move(next);
                return calm >= 10;
            },
            6000);
        return last;
    }
    // Waits until the pixels equal Expected; false, with the difference in
    // Why, when they never do.
    static bool PaintsBack(const TWindowPixels& Expected, std::string& Why) {
        TWindowPixels now = Read();
        if (PumpUntil([&] { return (now = Read()).DifferentFrom(Expected) == 0; }, 4000)) return true;
        Why =
            std::to_string(now.DifferentFrom(Expected)) + " pixels differ, " + now.FirstDifference(Expected);
        return false;
    }

    const TProgramUnits units_;
};

// Something the mouse can touch: where it is, and when it shows that it
// was touched (empty for what shows no hot look).
struct TTouchable {
    std::string Name;
    TPoint Centre;
    std::function<bool()> Hot;
    bool CanPress;
};

TTouchable BarItem(const std::string& Name, TSbToolbar* Bar, TBarCustomItem* Item, bool ShowsHot,
                   bool CanPress) {
    TBarView* view = Bar->View();
    view->ValidatePositions();
    TBarItemViewer* viewer = view->Find(Item);
    std::function<bool()> hot;
    if (ShowsHot) hot = [view, viewer] { return view->Selected() == viewer; };
    return {Name, ScreenCentre(Bar, viewer ? viewer->BoundsRect : TRect(0, 0, 0, 0)), hot, CanPress};
}

// The mouse on Touchable, waiting until it shows it.
void Touch(const TTouchable& Touchable) {
    MouseTo(Touchable.Centre);
    if (Touchable.Hot)
        EXPECT_TRUE(PumpUntil(Touchable.Hot)) << Touchable.Name << " never turned hot";
    else
        PumpUntil([] { return false; }, 300);
}

TTouchable GroupItem(TScGroup* Group) {
    for (int y = 0; y < Group->ClientHeight(); y += 2)
        for (int x = 0; x < Group->ClientWidth(); x += 4)
            if (TScGroupItem* item = Group->ItemAt(x, y))
                return {"group item", ScreenCentre(Group, TRect(x, y, x + 8, y + 4)),
                        [Group, item] { return Group->HotItem() == item; }, true};
    return {"group item", TPoint(0, 0), [] { return false; }, true};
}

TEST_F(FrameTouch, EveryItemPaintsBackOnceTheMouseHasLeftIt) {
    Open();
    TSbTitleBar* title = MainForm->SbTitleBar1;
    TSbButtonOptions* options = title->Options();
    TSbToolbar* titleBar = title->Toolbar();
    auto* titleOptions = static_cast<TSbTitleBarButtonOptions*>(options);
    // The system menu opens as the button goes down: it is only hovered.
    const std::vector<TTouchable> touchables{
        BarItem("system menu button", titleBar, titleOptions->SystemItem(), true, false),
        BarItem("minimize button", titleBar, options->Button(swbMinimize), true, true),
        BarItem("close button", titleBar, options->Button(swbClose), true, true),
        BarItem("status label", MainForm->SbStatusBar1->Toolbar(), MainForm->SbLabelItem1, false, true),
        GroupItem(MainForm->MainGroup)};
    const TWindowPixels rest = Settled();
    for (const TTouchable& touchable : touchables) {
        std::string why;
        Touch(touchable);
        MouseTo(Away());
        EXPECT_TRUE(PaintsBack(rest, why)) << touchable.Name << " after a hover: " << why;
        if (!touchable.CanPress) continue;
        Touch(touchable);
        // A bar's button tracks its press in a loop of its own: the hand
        // that presses, moves away and lets go is another thread's.
        std::atomic<bool> released{false};
        std::thread hand([&] {
            MouseButton(true);
            Sleep(300);
            MouseTo(Away());
            Sleep(300);
            MouseButton(false);
            released = true;
        });
        PumpUntil([&] { return released.load(); }, 10000);
        hand.join();
        EXPECT_TRUE(PaintsBack(rest, why)) << touchable.Name << " after a cancelled press: " << why;
    }
    EXPECT_TRUE(MainForm->Visible());
    EXPECT_TRUE(boxes.Asked().empty());
    FreeProgramForms();
}

TEST_F(FrameTouch, EveryShowStatePaintsTheWholeWindowBack) {
    Open();
    RECT bounds{};
    GetWindowRect(MainForm->Handle(), &bounds);
    const TWindowPixels start = Settled();
    HWND form = MainForm->Handle();
    std::string why;

    // The minimize button, then the tray icon's double click.
    TSbButtonOptions* options = MainForm->SbTitleBar1->Options();
    options->ButtonClick(options->Button(swbMinimize));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(form); }));
    SendMessageW(TNotifyTrayIcon::HandlerWindow(), WM_TRAYICONCALLBACK,
                 reinterpret_cast<WPARAM>(MainForm->NotifyTrayIcon1), WM_LBUTTONDBLCLK);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form) != 0; }));
    EXPECT_TRUE(PaintsBack(start, why)) << "restored from the tray: " << why;

    // The system's own commands.
    SendMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(form) || IsIconic(form); }));
    SendMessageW(form, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form) && !IsIconic(form); }));
    EXPECT_TRUE(MainForm->Visible());
    EXPECT_TRUE(PaintsBack(start, why)) << "SC_MINIMIZE then SC_RESTORE: " << why;

    SendMessageW(form, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(form) != 0; }));
    // Maximised, the frame lies outside: the caption starts at the top edge
    // and the children reach the window's sides.
    TSbTitleBar* title = MainForm->SbTitleBar1;
    const TRect client = title->ClientRect();
    EXPECT_EQ(title->Dock()->Top(), client.Top);
    EXPECT_EQ(title->Dock()->Left(), 0);
    EXPECT_EQ(title->Dock()->Width(), title->ClientWidth());
    // The caption strip, buttons included, is painted: black only in the
    // strokes of its text and glyphs.
    const TWindowPixels maximised = Settled();
    RECT strip{};
    GetWindowRect(title->Toolbar()->Handle(), &strip);
    RECT window{};
    GetWindowRect(form, &window);
    OffsetRect(&strip, -window.left, -window.top);
    int black = 0, all = 0;
    for (int y = std::max<LONG>(strip.top, 0); y < std::min<LONG>(strip.bottom, maximised.Height); ++y)
        for (int x = std::max<LONG>(strip.left, 0); x < std::min<LONG>(strip.right, maximised.Width); ++x)
            black += (maximised.Pixels[static_cast<size_t>(y * maximised.Width + x)] & 0xFFFFFF) == 0, ++all;
    EXPECT_GT(all, 0);
    EXPECT_LT(black * 10, all);
    SendMessageW(form, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(form); }));
    RECT restored{};
    GetWindowRect(form, &restored);
    EXPECT_TRUE(EqualRect(&restored, &bounds));
    EXPECT_TRUE(PaintsBack(start, why)) << "SC_MAXIMIZE then SC_RESTORE: " << why;
    FreeProgramForms();
}

}  // namespace
