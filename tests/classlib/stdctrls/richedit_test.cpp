// The rich edit: Lines are the window's lines, edited in place, and survive
// a new window; a read-only box refuses typing.
#include "classlib/stdctrls/richedit.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

using RichEdit = WindowTest;

TEST_F(RichEdit, LinesAreTheWindowsLinesAndOutliveIt) {
    TForm* form = NewForm(40, 40, 300, 200);
    auto* edit = Create<TRichEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(5, 5, 250, 150);
    form->Show();
    Pump();
    TStrings* lines = edit->Lines();
    lines->Add("[01/01/2026 10:00:00] Warning > Disk A");
    lines->Add("second");
    lines->Insert(1, "middle");
    ASSERT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(1), "middle");
    EXPECT_EQ(edit->Text(), "[01/01/2026 10:00:00] Warning > Disk A\r\nmiddle\r\nsecond");
    lines->Delete(0);
    lines->SetStrings(1, "last");
    edit->RecreateWnd();
    ASSERT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Strings(0), "middle");
    EXPECT_EQ(lines->Strings(1), "last");
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

TEST_F(RichEdit, AReadOnlyBoxRefusesTyping) {
    TForm* form = NewForm(40, 40, 300, 200);
    auto* edit = Create<TRichEdit>(form);
    edit->SetParent(form);
    edit->SetReadOnly(true);
    edit->Lines()->SetText("log\r\n");
    form->Show();
    SetForegroundWindow(form->Handle());
    edit->SetFocus();
    Pump();
    TypeText("abc");
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(edit->Text(), "log");
    edit->SetReadOnly(false);
    TypeText("x");
    ASSERT_TRUE(PumpUntil([&] { return edit->Text().size() == 4; }));
}

TEST_F(RichEdit, TheLinesArePainted) {
    TForm* form = NewForm(40, 40, 300, 200);
    auto* edit = Create<TRichEdit>(form);
    edit->SetParent(form);
    edit->Lines()->Add("[01/01/2026 10:00:00] Warning > Disk A");
    form->Show();
    Pump();
    TOwned<TBitmap> shot = CaptureClient(edit->Handle());
    int ink = 0;
    for (int y = 0; y < shot->Height(); ++y)
        for (int x = 0; x < shot->Width(); ++x)
            ink += ColorToRGB(shot->PixelColor(x, y)) != ColorToRGB(clWindow);
    EXPECT_GT(ink, 50);
}
