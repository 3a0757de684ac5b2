// The speed button: a click only when released over it, and the state it
// shows while pressed, while Down and while disabled.
#include "classlib/stdctrls/speedbutton.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

namespace {

class SpeedButton : public WindowTest {
public:
    void Clicked(TObject*) { ++clicks; }

protected:
    TSpeedButton* NewButton() {
        TForm* form = NewForm();
        form->Show();
        auto* button = Create<TSpeedButton>(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 24, 24);
        button->OnClick = TNotifyEvent(this, &SpeedButton::Clicked);
        return button;
    }
    static void Mouse(TControl* Control, UINT Msg, int X, int Y) {
        Control->Perform(Msg, Msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, PointToLParam(X, Y));
    }
    int clicks = 0;
};

TEST_F(SpeedButton, ClicksOnlyWhenReleasedOverIt) {
    TSpeedButton* button = NewButton();
    Mouse(button, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(button->State(), bsDown);
    Mouse(button, WM_MOUSEMOVE, 50, 5);
    EXPECT_EQ(button->State(), bsUp);
    Mouse(button, WM_LBUTTONUP, 50, 5);
    EXPECT_EQ(clicks, 0);

    Mouse(button, WM_LBUTTONDOWN, 5, 5);
    Mouse(button, WM_MOUSEMOVE, 50, 5);
    Mouse(button, WM_MOUSEMOVE, 6, 6);
    Mouse(button, WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), bsUp);
}

TEST_F(SpeedButton, TakesItsGlyphCountAndStateFromGlyphAndSettings) {
    TSpeedButton* button = NewButton();
    TOwned<TBitmap> glyph(Create<TBitmap>());
    glyph->SetSize(48, 16);
    EXPECT_EQ(button->NumGlyphs(), 1);
    button->SetGlyph(glyph.get());
    EXPECT_EQ(button->NumGlyphs(), 3);
    button->SetDown(true);
    EXPECT_EQ(button->State(), bsExclusive);
    button->SetEnabled(false);
    EXPECT_EQ(button->State(), bsDisabled);
    Mouse(button, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(button->State(), bsDisabled) << "a disabled button takes no press";
}

}  // namespace
