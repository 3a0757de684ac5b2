// The hint manager: a control with ShowHint gets its short hint after the
// pause, the control can change it through CM_HINTSHOW, leaving the hint's
// cursor rectangle asks again, a click or the hide pause takes it away, and
// the long hint of the control under the mouse is kept for status lines.
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/hintmanager.h"
#include "tests/classlib/windows/window_test.h"

namespace {

// A box that splits its hint in two halves through CM_HINTSHOW.
class THalvesBox : public TColorBox {
    VX_CLASS(THalvesBox, TColorBox)
public:
    using TColorBox::TColorBox;
    int asked = 0;
    void WndProc(TMessage& Message) override {
        if (Message.Msg == CM_HINTSHOW) {
            auto* info = Message.LParamAs<THintInfo>();
            ++asked;
            const bool left = info->CursorPos.X < Width() / 2;
            info->CursorRect =
                left ? TRect(0, 0, Width() / 2, Height()) : TRect(Width() / 2, 0, Width(), Height());
            info->HintStr = left ? L"left" : L"right";
            Message.Result = 0;
            return;
        }
        inherited::WndProc(Message);
    }
};

class Hints : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = NewForm(100, 100, 300, 200);
        plain = Create<TColorBox>(form);
        plain->SetParent(form);
        plain->SetBounds(10, 10, 100, 50);
        plain->SetHint("Alpha|Alpha for the status line");
        plain->SetShowHint(true);
        halves = Create<THalvesBox>(form);
        halves->SetParent(form);
        halves->SetBounds(10, 100, 100, 50);
        halves->SetHint("Beta");
        halves->SetShowHint(true);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        HintManager()->SetHintPause(60);
        HintManager()->SetHintShortPause(20);
        HintManager()->SetHintHidePause(5000);
        // The real cursor stays out of the way of the messages posted here.
        SetCursorPos(1270, 1010);
        Pump();
    }
    void TearDown() override {
        HintManager()->CancelHint();
        WindowTest::TearDown();
    }

    static void MoveTo(TWinControl* Control, int X, int Y) {
        PostMessageW(Control->Handle(), WM_MOUSEMOVE, 0, PointToLParam(X, Y));
        Pump();
    }
    static std::wstring Showing() {
        THintWindow* window = HintManager()->HintWindow();
        return window && IsWindowVisible(window->Handle()) ? window->WideCaption() : L"";
    }
    static bool WaitFor(const std::wstring& Text) {
        return PumpUntil([&] { return Showing() == Text; }, 2000);
    }

    TForm* form = nullptr;
    TColorBox* plain = nullptr;
    THalvesBox* halves = nullptr;
};

TEST_F(Hints, AHintAppearsAfterThePauseBelowTheCursor) {
    MoveTo(plain, 20, 20);
    EXPECT_EQ(Showing(), L"");  // not before the pause
    ASSERT_TRUE(WaitFor(L"Alpha"));
    EXPECT_EQ(HintManager()->Hint(), L"Alpha for the status line");

    RECT bounds{};
    GetWindowRect(HintManager()->HintWindow()->Handle(), &bounds);
    const TPoint cursor = plain->ClientToScreen(TPoint{20, 20});
    EXPECT_EQ(bounds.left, cursor.X);
    EXPECT_GT(bounds.top, cursor.Y);
    EXPECT_NE(GetForegroundWindow(), HintManager()->HintWindow()->Handle());

    // On the screen: text on the hint colour.
    THintWindow* window = HintManager()->HintWindow();
    PumpUntil([] { return false; }, 100);
    TOwned<TBitmap> picture(Create<TBitmap>());
    picture->SetPixelFormat(pf32bit);
    picture->SetSize(bounds.right - bounds.left, bounds.bottom - bounds.top);
    {
        TWindowDC screen;
        BitBlt(picture->Canvas()->Handle(), 0, 0, picture->Width(), picture->Height(), screen.Get(),
               bounds.left, bounds.top, SRCCOPY);
    }
    const COLORREF back = ColorToRGB(window->Color());
    const std::uint32_t background = (GetRValue(back) << 16) | (GetGValue(back) << 8) | GetBValue(back);
    int text = 0, fill = 0;
    for (int y = 0; y < picture->Height(); ++y) {
        const auto* row = static_cast<const std::uint32_t*>(picture->ScanLine(y));
        for (int x = 0; x < picture->Width(); ++x) ((row[x] & 0xFFFFFF) == background ? fill : text)++;
    }
    EXPECT_GT(text, 10);
    EXPECT_GT(fill, text);
}

TEST_F(Hints, LeavingTheCursorRectangleAsksAgain) {
    MoveTo(halves, 10, 10);
    ASSERT_TRUE(WaitFor(L"left"));
    EXPECT_EQ(halves->asked, 1);

    // Inside the same half nothing is asked.
    MoveTo(halves, 30, 20);
    Sleep(80);
    Pump();
    EXPECT_EQ(halves->asked, 1);
    EXPECT_EQ(Showing(), L"left");

    MoveTo(halves, 80, 20);
    ASSERT_TRUE(WaitFor(L"right"));
    EXPECT_EQ(halves->asked, 2);

    // Another control, right after: its own hint.
    MoveTo(plain, 50, 10);
    EXPECT_TRUE(WaitFor(L"Alpha"));
}

TEST_F(Hints, AClickOrTheHidePauseTakesTheHintAway) {
    MoveTo(plain, 20, 20);
    ASSERT_TRUE(WaitFor(L"Alpha"));
    PostMessageW(plain->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(20, 20));
    PostMessageW(plain->Handle(), WM_LBUTTONUP, 0, PointToLParam(20, 20));
    EXPECT_TRUE(WaitFor(L""));

    HintManager()->SetHintHidePause(100);
    MoveTo(plain, 25, 25);
    ASSERT_TRUE(WaitFor(L"Alpha"));
    EXPECT_TRUE(WaitFor(L""));
}

TEST_F(Hints, AControlCanRefuseItsHint) {
    struct Refuser {
        int calls = 0;
        void Show(std::wstring&, bool& CanShow, THintInfo&) {
            ++calls;
            CanShow = false;
        }
    } refuser;
    HintManager()->OnShowHint = TShowHintEvent(&refuser, &Refuser::Show);
    MoveTo(plain, 20, 20);
    EXPECT_TRUE(PumpUntil([&] { return refuser.calls > 0; }));
    HintManager()->OnShowHint = nullptr;
    EXPECT_EQ(Showing(), L"");
}

}  // namespace
