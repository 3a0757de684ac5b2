// The label: its size follows its text as the screen measures it (keeping
// the right edge when right-aligned, a line's height when empty), its
// accelerator focuses FocusControl, and a transparent label lets its parent
// show through.
#include "classlib/stdctrls/label.h"

#include "classlib/stdctrls/edit.h"
#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

TSize Measured(TFont* font, const std::wstring& text, int width = 0, UINT flags = 0) {
    TWindowDC screen;
    TSelectObject select(screen.Get(), font->Handle());
    RECT r{0, 0, width, 0};
    DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | flags);
    return {r.right, r.bottom};
}

using Label = WindowTest;

}  // namespace

TEST_F(Label, AutoSizeFollowsTheTextAsTheScreenMeasuresIt) {
    TForm* form = NewForm();
    auto* label = Create<TLabel>(form);
    label->SetParent(form);
    label->SetBounds(20, 10, 65, 17);
    label->SetCaption("Temperature Celcius:");
    const TSize text = Measured(label->Font(), L"Temperature Celcius:");
    EXPECT_EQ(label->Width(), text.cx);
    EXPECT_EQ(label->Height(), text.cy);

    label->SetCaption("");
    EXPECT_EQ(label->Height(), text.cy) << "an empty label keeps a line";

    label->SetAlignment(taRightJustify);
    label->SetCaption("Right");
    const int right = label->Left() + label->Width();
    label->SetCaption("Much longer text");
    EXPECT_EQ(label->Left() + label->Width(), right) << "the right edge stays";

    label->SetAutoSize(false);
    label->SetCaption("x");
    EXPECT_EQ(label->Width(), Measured(label->Font(), L"Much longer text").cx);
}

TEST_F(Label, WordWrapBreaksLinesAtTheWidthAndGrowsDown) {
    TForm* form = NewForm();
    auto* label = Create<TLabel>(form);
    label->SetParent(form);
    // As a form resource gives it: the size follows once loading ends.
    label->Loading();
    label->SetWidth(60);
    const std::wstring text = L"When check that program will auto";
    label->SetWordWrap(true);
    label->SetWideCaption(text);
    EXPECT_EQ(label->Width(), 60);
    label->Loaded();
    const TSize wrapped = Measured(label->Font(), text, 60, DT_WORDBREAK);
    EXPECT_LE(label->Width(), 60) << "no wider than the widest line";
    EXPECT_EQ(label->Width(), wrapped.cx);
    EXPECT_EQ(label->Height(), wrapped.cy);
    EXPECT_GT(label->Height(), Measured(label->Font(), L"When").cy);
}

TEST_F(Label, TheAcceleratorFocusesTheFocusControl) {
    TForm* form = NewForm(40, 40, 300, 120);
    auto* first = Create<TEdit>(form);
    first->SetParent(form);
    auto* second = Create<TEdit>(form);
    second->SetParent(form);
    second->SetTop(40);
    auto* label = Create<TLabel>(form);
    label->SetParent(form);
    label->SetLeft(150);
    label->SetCaption("&Port:");
    label->SetFocusControl(second);
    form->Show();
    SetForegroundWindow(form->Handle());
    first->SetFocus();
    Pump();
    SendFromThread(
        {KeyInput(VK_MENU, false), KeyInput('P', false), KeyInput('P', true), KeyInput(VK_MENU, true)});
    ASSERT_TRUE(PumpUntil([&] { return second->Focused(); }));
    second->Free();
    EXPECT_EQ(label->FocusControl(), nullptr) << "a freed focus control is forgotten";
}

TEST_F(Label, ATransparentLabelLetsTheParentShow) {
    TForm* form = NewForm(40, 40, 200, 100);
    form->SetColor(clYellow);
    auto* label = Create<TLabel>(form);
    label->SetParent(form);
    label->SetBounds(10, 10, 100, 30);
    label->SetAutoSize(false);
    label->SetColor(clAqua);
    label->SetCaption("T");
    form->Show();
    Pump();
    TOwned<TBitmap> shot = CaptureClient(form->Handle());
    EXPECT_EQ(ColorToRGB(shot->PixelColor(90, 30)), ColorToRGB(clAqua));
    label->SetTransparent(true);
    shot = CaptureClient(form->Handle());
    EXPECT_EQ(ColorToRGB(shot->PixelColor(90, 30)), ColorToRGB(clYellow));
}
