#include "controls/scbutton.h"

#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/windows/formresources.h"
#include "controls/scbitbtn.h"
#include "tests/controls/controls_fixture.h"

namespace {

class ScButtonTest : public ControlsTest {
protected:
    TScButton* NewButton(int Left = 10, int Top = 10) {
        auto* button = Add<TScButton>(Left, Top, 75, 25);
        button->SetThemeAware(false);
        button->OnClick = TNotifyEvent(this, &ScButtonTest::Clicked);
        return button;
    }
    void Clicked(TObject* Sender) { clicks.push_back(static_cast<TControl*>(Sender)); }
    int ClicksOf(TControl* Control) const {
        int n = 0;
        for (TControl* each : clicks) n += each == Control;
        return n;
    }
    std::vector<TControl*> clicks;
};

TEST_F(ScButtonTest, DraggingOutCancelsTheClickAndDraggingBackRestoresIt) {
    TScButton* button = NewButton();
    Press(button, 5, 5);
    EXPECT_TRUE(button->VisualDown());
    Move(button, 200, 5);
    EXPECT_FALSE(button->VisualDown());
    Release(button, 200, 5);
    EXPECT_EQ(ClicksOf(button), 0);
    EXPECT_FALSE(button->PressedByMouse());

    Press(button, 5, 5);
    Move(button, 5, 100);
    Move(button, 74, 25);  // the bottom edge still counts as inside
    EXPECT_TRUE(button->VisualDown());
    Release(button, 74, 24);
    EXPECT_EQ(ClicksOf(button), 1);
    EXPECT_FALSE(button->VisualDown());
}

TEST_F(ScButtonTest, SpaceClicksOnReleaseUnlessTheFocusLeftInBetween) {
    TScButton* button = NewButton();
    button->Perform(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(button->VisualDown());
    button->Perform(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(ClicksOf(button), 1);
    EXPECT_FALSE(button->VisualDown());

    button->Perform(WM_KEYDOWN, VK_SPACE, 0);
    button->Perform(WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(button->VisualDown());
    button->Perform(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(ClicksOf(button), 1);
}

TEST_F(ScButtonTest, EnterGoesToTheActiveDefaultAndEscapeToTheCancelButton) {
    TScButton* ok = NewButton(10, 10);
    TScButton* cancel = NewButton(100, 10);
    TScButton* other = NewButton(10, 60);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    EXPECT_TRUE(ok->ActiveDefault());

    form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
    EXPECT_EQ(ClicksOf(ok), 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    form->SetModalResult(mrNone);
    form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0);
    EXPECT_EQ(ClicksOf(cancel), 1);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    form->SetModalResult(mrNone);

    // A focused button takes Enter over from the default one.
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(other));
    EXPECT_TRUE(other->ActiveDefault());
    EXPECT_FALSE(ok->ActiveDefault());
    form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
    EXPECT_EQ(ClicksOf(other), 1);
    EXPECT_EQ(ClicksOf(ok), 1);

    // No longer the default: Enter is not its any more.
    form->Perform(CM_FOCUSCHANGED, 0, 0);
    EXPECT_TRUE(ok->ActiveDefault());
    ok->SetDefault(false);
    EXPECT_FALSE(ok->ActiveDefault());
}

TEST_F(ScButtonTest, AGroupKeepsOneButtonDown) {
    TScButton* a = NewButton(10, 10);
    TScButton* b = NewButton(100, 10);
    TScButton* elsewhere = NewButton(10, 60);
    for (TScButton* each : {a, b}) each->SetGroupIndex(1);
    elsewhere->SetGroupIndex(2);
    elsewhere->SetDown(true);

    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down()) << "pops up when another of its group goes down";
    EXPECT_TRUE(elsewhere->Down()) << "another group is left alone";

    // Clicking the down button of a group that may not be all up keeps it down.
    Press(b, 5, 5);
    Release(b, 5, 5);
    EXPECT_TRUE(b->Down());
    b->SetDown(false);
    EXPECT_TRUE(b->Down());

    // The group learns AllowAllUp from the button that set it.
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp());
    Press(b, 5, 5);
    Release(b, 5, 5);
    EXPECT_FALSE(b->Down());
}

TEST_F(ScButtonTest, ObsoleteFrameFlatTurnsOnHotTracking) {
    TScButton* button = NewButton();
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    {
        TOwned<TWriter> writer(Create<TWriter>(stream.get()));
        writer->WriteStr("FrameFlat");
        writer->WriteBoolean(true);
        writer->WriteListEnd();
    }
    stream->SetPosition(0);
    ReadObjectProperties(stream.get(), button);
    EXPECT_TRUE(button->HotTrack());
}

TEST_F(ScButtonTest, HotTrackingRingsTheFaceWhileTheMouseIsOver) {
    TScButton* button = NewButton();
    button->SetHotTrack(true);
    button->SetHotTrackColor(0x20A0F0);
    const int x = button->Width() / 2;
    const TColor quiet = Painted(button)->PixelColor(x, 2);
    button->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Painted(button)->PixelColor(x, 2), 0x20A0F0);
    Press(button, 5, 5);
    const TColor pressed = Painted(button)->PixelColor(x, 2);
    Release(button, 5, 5);
    button->Perform(CM_MOUSELEAVE);
    EXPECT_NE(pressed, quiet);
    EXPECT_NE(pressed, 0x20A0F0);
    // The press gave it the focus: now it wears the default button's ring.
    ASSERT_TRUE(button->Focused());
    const TColor focused = Painted(button)->PixelColor(x, 2);
    EXPECT_NE(focused, quiet);
    EXPECT_NE(focused, 0x20A0F0);
    form->SetFocusedControl(nullptr);
    ::SetFocus(form->Handle());
    EXPECT_EQ(Painted(button)->PixelColor(x, 2), quiet);
}

TEST_F(ScButtonTest, ADownGroupButtonShowsTheDownPattern) {
    TScButton* button = NewButton();
    button->SetColor(clWhite);
    button->SetGroupIndex(1);
    button->SetDown(true);
    TOwned<TBitmap> shot = Painted(button);
    EXPECT_EQ(shot->PixelColor(4, 4), 0xC0C0C0);
    EXPECT_EQ(shot->PixelColor(5, 4), 0xFFFFFF);
    button->SetShowDownPattern(false);
    EXPECT_EQ(Painted(button)->PixelColor(4, 4), 0xFFFFFF);
}

// --- bit buttons

class ScBitBtnTest : public ScButtonTest {
protected:
    TScBitBtn* NewBitBtn() {
        auto* button = Add<TScBitBtn>(10, 10, 90, 30);
        button->SetThemeAware(false);
        return button;
    }

public:
    void Executed(TObject*) { ++executed; }
    int executed = 0;
};

TEST_F(ScBitBtnTest, KindsSetCaptionResultAndDefaults) {
    struct Row {
        TBitBtnKind kind;
        const char* caption;
        TModalResult result;
        bool isDefault, isCancel;
    };
    const Row rows[] = {
        {bkOK, "OK", mrOk, true, false},
        {bkCancel, "Cancel", mrCancel, false, true},
        {bkHelp, "&Help", mrNone, false, false},
        {bkYes, "&Yes", mrYes, true, false},
        {bkNo, "&No", mrNo, false, true},
        {bkClose, "&Close", mrNone, false, false},
        {bkAbort, "Abort", mrAbort, false, false},
        {bkRetry, "&Retry", mrRetry, false, false},
        {bkIgnore, "&Ignore", mrIgnore, false, false},
        {bkAll, "&All", mrAll, false, false},
    };
    TScBitBtn* button = NewBitBtn();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        button->SetKind(row.kind);
        EXPECT_EQ(button->Kind(), row.kind);
        EXPECT_EQ(button->Caption(), row.caption);
        EXPECT_EQ(button->ModalResult(), row.result);
        EXPECT_EQ(button->Default(), row.isDefault);
        EXPECT_EQ(button->Cancel(), row.isCancel);
        // The glyphs come from the program's resources: two cells of 18.
        EXPECT_EQ(button->Glyph()->Width(), 36);
        EXPECT_EQ(button->NumGlyphs(), 2);
    }
}

TEST_F(ScBitBtnTest, AKindReadFromAFormKeepsTheFormsCaption) {
    auto* button = LoadComponent<TScBitBtn>(form, "okButton");
    button->SetCaption("Proceed");
    button->SetKind(bkOK);
    button->SetReading(false);
    button->Loaded();
    EXPECT_EQ(button->Caption(), "Proceed");
    EXPECT_EQ(button->Kind(), bkOK);
    EXPECT_EQ(button->ModalResult(), mrOk);
}

TEST_F(ScBitBtnTest, KindReadsCustomOnceItsSettingsChange) {
    TScBitBtn* button = NewBitBtn();
    button->SetKind(bkOK);
    button->SetDefault(false);
    EXPECT_EQ(button->Kind(), bkCustom);
    button->SetKind(bkOK);
    button->SetCancel(true);
    EXPECT_EQ(button->Kind(), bkCustom);
    button->SetKind(bkOK);
    button->SetModalResult(mrRetry);
    EXPECT_EQ(button->Kind(), bkCustom);
    button->SetKind(bkOK);
    TOwned<TBitmap> own(Create<TBitmap>());
    own->SetSize(16, 16);
    button->SetGlyph(own.get());
    EXPECT_EQ(button->Kind(), bkCustom);
}

TEST(ScKindGlyphs, AreSharedAndOnlyForTheElevenKinds) {
    EXPECT_EQ(GetKindGlyph(bkOK), GetKindGlyph(bkOK));
    EXPECT_NE(GetKindGlyph(bkOK), GetKindGlyph(bkYes));
    EXPECT_EQ(GetKindGlyph(bkCustom), nullptr);
    EXPECT_EQ(GetKindGlyph(11), nullptr);
    EXPECT_EQ(GetKindGlyph(127), nullptr);
    EXPECT_EQ(GetKindGlyph(0x80 | bkAll), GetKindGlyph(bkAll)) << "the number is masked to 0..127";
}

TEST(ScGlyphCount, FollowsTheGlyphShape) {
    struct Row {
        int width, height, count;
    };
    const Row rows[] = {
        {64, 16, 4},                                         // four square cells
        {80, 16, 1},                                         // five cells are more than a button has states
        {16, 16, 1}, {32, 16, 2}, {48, 16, 3}, {40, 16, 1},  // not a whole number of cells
        {0, 0, 1},                                           // empty: no division by a zero height
        {16, 0, 1},
    };
    for (const Row& row : rows) EXPECT_EQ(GlyphCountOf(row.width, row.height), row.count) << row.width;
}

TEST_F(ScBitBtnTest, AnEmptyGlyphHasOneCellAndNoSize) {
    TScBitBtn* button = NewBitBtn();
    TOwned<TBitmap> glyph(Create<TBitmap>());
    glyph->SetSize(64, 16);
    button->SetGlyph(glyph.get());
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetGlyph(nullptr);
    EXPECT_EQ(button->NumGlyphs(), 1);
    EXPECT_EQ(button->GlyphSize(), (TSize{0, 0}));
    Painted(button);  // nothing to divide by
}

TEST_F(ScBitBtnTest, TheGlyphCellFollowsTheButtonState) {
    const TColor cells[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    TOwned<TBitmap> glyph(Create<TBitmap>());
    glyph->SetSize(64, 16);
    for (int i = 0; i < 4; ++i) {
        glyph->Canvas()->Brush()->SetColor(cells[i]);
        glyph->Canvas()->FillRect(Rect(i * 16, 0, i * 16 + 16, 16));
    }
    // The bottom-left pixel names the transparent colour; keep it apart.
    glyph->Canvas()->SetPixels(0, 15, 0xFF00FF);
    TScBitBtn* button = NewBitBtn();
    button->SetCaption("Go");
    button->SetGlyph(glyph.get());

    auto shown = [&] {
        const TRect r = button->GlyphRect();
        return Painted(button)->PixelColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    EXPECT_EQ(shown(), cells[0]) << "up";
    button->SetEnabled(false);
    EXPECT_EQ(shown(), cells[1]) << "disabled";
    button->SetEnabled(true);
    Press(button, 5, 5);
    EXPECT_EQ(shown(), cells[2]) << "pressed";
    Release(button, 5, 5);
    button->SetGroupIndex(1);
    button->SetDown(true);
    EXPECT_EQ(shown(), cells[3]) << "stuck down";
}

TEST_F(ScBitBtnTest, AnActionLendsItsCaptionClickAndImage) {
    TAction* action = Create<TAction>(form);
    action->SetCaption("Refresh");
    action->SetImageIndex(3);
    action->OnExecute = TNotifyEvent(this, &ScBitBtnTest::Executed);
    TScBitBtn* button = NewBitBtn();
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "Refresh");
    EXPECT_EQ(button->ImageIndex(), 3);
    button->Click();
    EXPECT_EQ(executed, 1);
}

TEST_F(ScBitBtnTest, TheCaptionMakesRoomForTheGlyph) {
    TScBitBtn* button = NewBitBtn();
    button->SetCaption("Go");
    button->SetKind(bkOK);
    const TRect glyph = button->GlyphRect();
    EXPECT_EQ(glyph.Left, button->Margin());
    EXPECT_EQ(glyph.Width(), 18);
    EXPECT_EQ(glyph.Top, (button->Height() - 18) / 2);
    button->SetLayout(blGlyphRight);
    EXPECT_EQ(button->GlyphRect().Right, button->Width() - button->Margin());
    button->SetHeight(70);
    button->SetLayout(blGlyphTop);
    const TRect above = button->GlyphRect();
    button->SetLayout(blGlyphBottom);
    const TRect below = button->GlyphRect();
    EXPECT_EQ(above.Left, (button->Width() - 18) / 2);
    EXPECT_GT(below.Top - above.Top, button->Spacing()) << "the caption's height lies between";
    EXPECT_NEAR(above.Top + below.Bottom, button->Height(), 1) << "the block sits in the middle";
}

}  // namespace
