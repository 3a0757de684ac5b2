// The frames around a bar as the user meets them: the context menu over the
// handle or the floating caption, a press on the border of a bar whose dock
// allows no dragging, the docked border on a dock background, and the
// floating window's place in Z order, activation and caption colours.
#include <vector>

#include "classlib/services/systemsettings.h"
#include "classlib/stdctrls/menus.h"
#include "tests/toolbar/bar_fixture.h"
#include "tests/toolbar/event_fn.h"

namespace {

// Records the places in Z order it is asked to take (the window it is to
// follow), so that a test reads the bar's own placement and not the raise
// Wine gives a newly shown window some time later.
class TRecordingFloatParent : public TBarFloatingWindowParent {
    VX_CLASS(TRecordingFloatParent, TBarFloatingWindowParent)
public:
    using TBarFloatingWindowParent::TBarFloatingWindowParent;
    static inline std::vector<HWND> Placements;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_WINDOWPOSCHANGING) {
            const auto* pos = Message.LParamAs<WINDOWPOS>();
            if (!(pos->flags & SWP_NOZORDER)) Placements.push_back(pos->hwndInsertAfter);
        }
        inherited::WndProc(Message);
    }
};

class TRecordingBar : public TTestBar {
    VX_CLASS(TRecordingBar, TTestBar)
public:
    using TTestBar::TTestBar;

protected:
    TClass GetFloatingWindowParentClass() override { return TRecordingFloatParent::ClassInfo(); }
};

class BarFrame : public BarTest {
protected:
    TEventFns fns_;
};

// The window's frame as WM_PRINT draws it.
TOwned<TBitmap> PrintFrame(HWND Wnd) {
    const TRect r = ScreenRect(Wnd);
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(r.Width(), r.Height());
    SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()), PRF_NONCLIENT);
    GdiFlush();
    return bitmap;
}

class TRedBackground : public TBarBasicBackground {
    VX_CLASS(TRedBackground, TBarBasicBackground)
public:
    using TBarBasicBackground::TBarBasicBackground;
    void Draw(HDC DC, const TRect& R) override {
        TBrushHandle brush(CreateSolidBrush(RGB(200, 0, 0)));
        FillRect(DC, R.Win32(), brush.Get());
    }
    HPALETTE GetPalette() override { return nullptr; }
    void RegisterChanges(const TNotifyEvent&) override {}
    void SysColorChange() override {}
    void UnregisterChanges(const TNotifyEvent&) override {}
    bool UsingBackground() override { return true; }
};

// Gradient captions on or off, everything else as the system says; counts
// the questions about gradients.
class GradientSettings : public TSystemSettings {
public:
    explicit GradientSettings(bool On) : on_(On) {}
    int Asked = 0;
    int Metric(int Index) override { return TSystemSettings::Default().Metric(Index); }
    bool ParametersInfo(UINT Action, UINT Param, void* Data, UINT WinIni) override {
        if (Action == SPI_GETGRADIENTCAPTIONS) {
            ++Asked;
            *static_cast<BOOL*>(Data) = on_;
            return true;
        }
        return TSystemSettings::Default().ParametersInfo(Action, Param, Data, WinIni);
    }

private:
    bool on_;
};

TPopupMenu* shownMenu = nullptr;
TControl* shownFor = nullptr;
bool FakeShowPopupMenu(TPopupMenu* Menu, TControl* Control, TPoint) {
    shownMenu = Menu;
    shownFor = Control;
    return true;
}

}  // namespace

TEST_F(BarFrame, TheContextMenuOverTheHandleOrTheFloatingCaptionIsTheBars) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    Pump();
    std::vector<std::string> asked;
    bool barHandles = true;
    bar->OnContextPopup = fns_.On<void(TObject*, TPoint, bool&)>([&](TObject*, TPoint, bool& Handled) {
        asked.push_back("bar");
        Handled = barHandles;
    });
    dock->OnContextPopup = fns_.On<void(TObject*, TPoint, bool&)>([&](TObject*, TPoint, bool& Handled) {
        asked.push_back("dock");
        Handled = true;
    });
    // A right click on the handle.
    TRect window = ScreenRect(bar->Handle());
    const TPoint handle(window.Left + 4, window.Top + window.Height() / 2);
    SendMessageW(bar->Handle(), WM_NCRBUTTONUP, HT_BAR_DRAGHANDLE, PointToLParam(handle.X, handle.Y));
    EXPECT_EQ(asked, (std::vector<std::string>{"bar"}));

    // Declined by the handler: the bar's own popup menu.
    barHandles = false;
    asked.clear();
    TPopupMenuShowProc saved = PopupMenuShowProc;
    PopupMenuShowProc = &FakeShowPopupMenu;
    auto* menu = Create<TPopupMenu>(form);
    bar->SetPopupMenu(menu);
    SendMessageW(bar->Handle(), WM_NCRBUTTONUP, HT_BAR_DRAGHANDLE, PointToLParam(handle.X, handle.Y));
    EXPECT_EQ(asked, (std::vector<std::string>{"bar"}));
    EXPECT_EQ(shownMenu, menu);
    EXPECT_EQ(shownFor, bar);
    bar->SetPopupMenu<TPopupMenu>(nullptr);
    PopupMenuShowProc = saved;

    // The caption of the floating window.
    barHandles = true;
    asked.clear();
    bar->SetFloatingPosition(Point(300, 300));
    bar->SetFloating(true);
    Pump();
    HWND floating = bar->FloatingWindowParent()->Handle();
    window = ScreenRect(floating);
    const TRect caption = bar->FloatingWindowParent()->GetCaptionRect(true, true);
    const TPoint onCaption(window.Left + caption.Left + 4, window.Top + caption.Top + caption.Height() / 2);
    SendMessageW(floating, WM_NCRBUTTONUP, HT_BAR_CAPTION, PointToLParam(onCaption.X, onCaption.Y));
    EXPECT_EQ(asked, (std::vector<std::string>{"bar"}));
}

TEST_F(BarFrame, APressOnTheBorderMovesNothingWhenTheDockAllowsNoDragging) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock, 0, 40);
    dock->SetAllowDrag(false);
    Pump();
    const TRect window = ScreenRect(bar->Handle());
    const TPoint border(window.Left + 1, window.Top + 1);
    ASSERT_EQ(SendMessageW(bar->Handle(), WM_NCHITTEST, 0, PointToLParam(border.X, border.Y)),
              HT_BAR_DRAGHANDLE);
    const TPoint away(border.X + 100, border.Y + 150);
    ASSERT_TRUE(InputScript()
                    .Move(border)
                    .Down(border)
                    .Move(Point(border.X + 30, border.Y + 60))
                    .Move(away)
                    .Up(away)
                    .Play());
    EXPECT_EQ(bar->CurrentDock(), dock);
    EXPECT_EQ(bar->Left(), 40);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(BarFrame, TheDockBackgroundLeavesTheBordersLinesAlone) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    dock->SetBackground(Create<TRedBackground>(form));
    TTestBar* bar = NewBar(form, dock);
    Pump();
    TOwned<TBitmap> shot = PrintFrame(bar->Handle());
    const int w = bar->Width(), h = bar->Height();
    const TColor light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    const TColor red = RGB(200, 0, 0);
    EXPECT_EQ(shot->Canvas()->Pixels(w / 2, 0), light);  // top
    EXPECT_EQ(shot->Canvas()->Pixels(0, h / 2), light);  // left
    EXPECT_EQ(shot->Canvas()->Pixels(w - 1, h / 2), shadow);
    EXPECT_EQ(shot->Canvas()->Pixels(w / 2, h - 1), shadow);
    // Inside the line, the ring shows the background.
    EXPECT_EQ(shot->Canvas()->Pixels(w - 2, h / 2), red);
    EXPECT_EQ(shot->Canvas()->Pixels(w / 2, h - 2), red);
}

TEST_F(BarFrame, TheFloatingWindowSitsJustAboveItsFormAndKeepsNoActivationWhileHidden) {
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    auto* bar = Create<TRecordingBar>(form);
    bar->SetParent(dock);
    bar->SetHideWhenInactive(false);
    // Another form over ours.
    TForm* other = NewForm(150, 150, 200, 200);
    other->Show();
    Pump();
    ASSERT_EQ(GetWindow(form->Handle(), GW_HWNDPREV), other->Handle());
    TRecordingFloatParent::Placements.clear();
    bar->SetFloatingPosition(Point(320, 320));
    bar->SetFloating(true);
    HWND floating = bar->FloatingWindowParent()->Handle();
    ASSERT_TRUE(IsWindowVisible(floating));
    // Its last place is right behind the form over ours, so right above ours.
    ASSERT_FALSE(TRecordingFloatParent::Placements.empty());
    EXPECT_EQ(TRecordingFloatParent::Placements.back(), other->Handle());
    Pump();

    // Hidden with the bar, then activated: the activation moves on.
    SetActiveWindow(form->Handle());
    bar->Hide();
    Pump();
    ASSERT_FALSE(IsWindowVisible(floating));
    SetActiveWindow(floating);
    Pump();
    EXPECT_NE(GetActiveWindow(), floating);
    EXPECT_NE(GetActiveWindow(), nullptr);
}

TEST_F(BarFrame, TheFloatingCaptionTakesItsGradientFromTheSettings) {
    // Gradient ends unlike the plain caption colours (the default theme has
    // them alike), for this test only.
    const int gradients[] = {COLOR_GRADIENTACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION};
    const COLORREF mine[] = {RGB(0, 200, 0), RGB(0, 100, 0)};
    const COLORREF old[] = {GetSysColor(gradients[0]), GetSysColor(gradients[1])};
    ASSERT_TRUE(SetSysColors(2, gradients, mine));
    struct Restore {
        const int* elements;
        const COLORREF* colours;
        ~Restore() { SetSysColors(2, elements, colours); }
    } restore{gradients, old};
    ASSERT_NE(GetSysColor(COLOR_ACTIVECAPTION), mine[0]);
    ASSERT_NE(GetSysColor(COLOR_INACTIVECAPTION), mine[1]);
    TForm* form = ShownForm();
    TBarDock* dock = NewDock(form, dpTop);
    TTestBar* bar = NewBar(form, dock);
    bar->SetHideWhenInactive(false);
    bar->SetFloatingPosition(Point(320, 320));
    bar->SetFloating(true);
    Pump();
    TBarFloatingWindowParent* window = bar->FloatingWindowParent();
    // The close button's square around its face is in the caption's colour
    // at that end: the gradient's when captions have gradients.
    const TRect button = window->GetCloseButtonRect(true);
    const TPoint ring(button.Right - 1, (button.Top + button.Bottom) / 2);
    for (bool on : {false, true}) {
        SCOPED_TRACE(on ? "gradients" : "no gradients");
        GradientSettings settings(on);
        TServiceOverride<TSystemSettings> use(settings);
        TOwned<TBitmap> shot = PrintFrame(window->Handle());
        EXPECT_GE(settings.Asked, 1);
        const bool active = !bar->InactiveCaption();
        const int colour = on ? (active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION)
                              : (active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        EXPECT_EQ(shot->Canvas()->Pixels(ring.X, ring.Y), static_cast<TColor>(GetSysColor(colour)));
    }
}
