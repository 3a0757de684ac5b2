#include "notify/zkdesktopalertbutton.h"

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/forms.h"
#include "tests/notify/notify_fixture.h"

namespace {

class AlertButtonTest : public NotifyWindowTest {
protected:
    void SetUp() override {
        NotifyWindowTest::SetUp();
        form->SetBounds(100, 100, 200, 120);
        form->SetColor(clWhite);
        button = Create<TZkDesktopAlertButton>(form.get());
        button->SetParent(form.get());
        button->SetBounds(10, 10, 21, 21);
        button->SetToolType(abtClose);
        button->OnClick = TNotifyEvent(this, &AlertButtonTest::Clicked);
        form->Show();
    }
    void TearDown() override {
        form.reset();
        NotifyWindowTest::TearDown();
    }
    void Mouse(UINT Msg, int X, int Y, WPARAM Keys = 0) {
        SendMessageW(form->Handle(), Msg, Keys, MAKELPARAM(X, Y));
    }
    void Clicked(TObject*) { ++clicks; }
    TColor PaintedAt(int X, int Y) {
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->SetSize(form->ClientWidth(), form->ClientHeight());
        form->PaintTo(bitmap->Canvas()->Handle(), 0, 0);
        return bitmap->PixelColor(X, Y);
    }

    TOwned<TForm> form = MakeOwned<TForm>(nullptr, 0);
    TZkDesktopAlertButton* button = nullptr;
    int clicks = 0;
};

TEST_F(AlertButtonTest, PressDragOutAndReleaseKeepsPressedUntilReleaseWithCapture) {
    Mouse(WM_LBUTTONDOWN, 15, 15, MK_LBUTTON);
    EXPECT_EQ(button->State(), (TZkButtonState{bsMouseInside, bsPressed}));
    EXPECT_EQ(GetCapture(), form->Handle());
    EXPECT_EQ(PaintedAt(12, 12), TColor(0xCC9999));

    Mouse(WM_MOUSEMOVE, 80, 80, MK_LBUTTON);
    EXPECT_EQ(button->State(), TZkButtonState{bsPressed});
    Mouse(WM_MOUSEMOVE, 16, 16, MK_LBUTTON);
    EXPECT_EQ(button->State(), (TZkButtonState{bsMouseInside, bsPressed}));
    Mouse(WM_MOUSEMOVE, 80, 80, MK_LBUTTON);

    Mouse(WM_LBUTTONUP, 80, 80);
    EXPECT_EQ(button->State(), TZkButtonState{});
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(clicks, 0);

    Mouse(WM_LBUTTONDOWN, 15, 15, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 15, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), TZkButtonState{bsMouseInside});
    EXPECT_EQ(PaintedAt(12, 12), TColor(0xD6BEB5));
}

TEST_F(AlertButtonTest, DisabledIgnoresTheMouseAndPaintsNoHighlight) {
    Mouse(WM_MOUSEMOVE, 15, 15);
    ASSERT_TRUE(button->State().Contains(bsMouseInside));
    button->SetEnabled(false);
    EXPECT_EQ(button->State(), TZkButtonState{});
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(button->State(), TZkButtonState{});
    EXPECT_NE(GetCaptureControl(), button);
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(PaintedAt(12, 12), clWhite);
}

TEST_F(AlertButtonTest, AltAcceleratorClicks) {
    button->SetCaption("&Go");
    const LPARAM alt = 0x20000000;
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'G', 0), 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_NE(button->Perform(CM_DIALOGCHAR, 'G', alt), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'X', alt), 0);
}

struct MenuWatch {
    TPoint pos{-1, -1};
    int opened = 0;
    int closed = 0;
    bool handle = true;
    void Opening(TObject*, TPoint Pos, bool& Handled) {
        pos = Pos;
        ++opened;
        Handled = handle;
        if (!handle) PostMessageW(PopupListWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
    void Closed(TObject*) { ++closed; }
    int shown = 0;
    void Shown(TObject*) { ++shown; }
};

TEST_F(AlertButtonTest, DropDownMenuOpensUnderTheButtonByAlignment) {
    auto* menu = Create<TPopupMenu>(form.get());
    MenuWatch watch;
    button->SetDropDownMenu(menu);
    button->OnDropDownMenu = TZkDropDownMenuEvent(&watch, &MenuWatch::Opening);
    const TPoint corner = button->ClientToScreen(Point(0, 21));
    const std::pair<TPopupAlignment, int> rows[] = {{paLeft, 0}, {paRight, 21}, {paCenter, 10}};
    for (const auto& [alignment, dx] : rows) {
        menu->SetAlignment(alignment);
        Mouse(WM_LBUTTONDOWN, 15, 15, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, 15, 15);
        EXPECT_EQ(watch.pos, Point(corner.X + dx, corner.Y)) << alignment;
        EXPECT_EQ(menu->PopupComponent(), button);
    }
    // The right button never opens it.
    Mouse(WM_RBUTTONDOWN, 15, 15, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, 15, 15);
    EXPECT_EQ(watch.opened, 3);
}

VOID CALLBACK EndStuckMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

TEST_F(AlertButtonTest, ARealMenuClosesWithEscapeAndReleasesTheButton) {
    auto* menu = Create<TPopupMenu>(form.get());
    auto* item = Create<TMenuItem>(menu);
    item->SetCaption("Details");
    menu->Items()->Add(item);
    MenuWatch watch;
    watch.handle = false;
    button->SetDropDownMenu(menu);
    button->OnDropDownMenu = TZkDropDownMenuEvent(&watch, &MenuWatch::Opening);
    button->OnDropDownClose = TNotifyEvent(&watch, &MenuWatch::Closed);
    // The system tells the menu's window as the menu comes up.
    menu->Items()->OnClick = TNotifyEvent(&watch, &MenuWatch::Shown);
    // Should the key not reach the menu, the test fails instead of hanging.
    const UINT_PTR safety = SetTimer(nullptr, 0, 5000, EndStuckMenu);
    const DWORD start = GetTickCount();
    Mouse(WM_LBUTTONDOWN, 15, 15, MK_LBUTTON);
    KillTimer(nullptr, safety);
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_EQ(watch.shown, 1);
    EXPECT_EQ(watch.closed, 1);
    EXPECT_FALSE(button->State().Contains(bsPressed));
    EXPECT_NE(GetCaptureControl(), button);
    EXPECT_EQ(clicks, 0);
}

TEST(AlertButtonGlyph, MarlettCharactersAndSizes) {
    struct Row {
        TZkDesktopAlertButtonType type;
        char character;
        int size;
    };
    const Row rows[] = {
        {abtArrowLeft, '3', 10},
        {abtArrowRight, '4', 10},
        {abtClose, 'r', 7},
        // Marlett's minimise, maximise and restore are '0', '1' and '2'.
        {abtMinimize, '0', 0},
        {abtMaximize, '1', 0},
        {abtRestore, '2', 0},
        {abtDropDown, 'u', 10},
        {abtDropDownChevron, 0, 0},
        {abtImage, 0, 0},
    };
    for (const Row& row : rows) {
        const TZkAlertGlyph glyph = DesktopAlertGlyph(row.type);
        EXPECT_EQ(glyph.Character, row.character) << row.type;
        EXPECT_EQ(glyph.Size, row.size) << row.type;
    }
}

TEST_F(AlertButtonTest, TheCloseGlyphIsMarlettsCross) {
    auto reference = MakeOwned<TBitmap>();
    reference->SetSize(21, 21);
    TCanvas* canvas = reference->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 21, 21));
    canvas->Font()->Assign(button->Font());
    canvas->Font()->SetName("Marlett");
    canvas->Font()->SetSize(7);
    canvas->Font()->SetCharset(SYMBOL_CHARSET);
    canvas->Brush()->SetStyle(bsClear);
    TRect r(0, 0, 21, 21);
    canvas->DrawText(std::string("r"), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // The window's font is a text font with a charset of its own.
    button->Font()->SetCharset(ANSI_CHARSET);
    int dark = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            EXPECT_EQ(PaintedAt(10 + x, 10 + y), reference->PixelColor(x, y)) << x << "," << y;
            dark += reference->PixelColor(x, y) != clWhite;
        }
    EXPECT_GT(dark, 10);
}

TEST_F(AlertButtonTest, ImageButtonWithoutAnImageDrawsOnlyTheHighlight) {
    button->SetToolType(abtImage);
    auto* images = Create<TCustomImageList>(form.get());
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(16, 16);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(TRect(0, 0, 16, 16));
    images->Add(bitmap.get(), nullptr);
    button->SetImages(images);
    button->SetImageIndex(0);
    EXPECT_EQ(PaintedAt(20, 20), clRed);
    for (int index : {-1, 1}) {
        button->SetImageIndex(index);
        EXPECT_EQ(PaintedAt(20, 20), clWhite) << index;
    }
    Mouse(WM_MOUSEMOVE, 15, 15);
    EXPECT_EQ(PaintedAt(20, 20), TColor(0xD6BEB5));
    images->Free();
    EXPECT_EQ(button->Images(), nullptr);
}

}  // namespace
