// The main window in its skinned frame, with the program's units started as
// the program starts them: the skin, the caption and status texts, the
// borderless form, the status bar's colour and the close button's question.
#include "app/program.h"
#include "app/program_units.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/stdctrls/panels.h"
#include "skins/sbitem.h"
#include "skins/sbstatusbar.h"
#include "skins/sbtitlebar.h"
#include "skins/skinmanager.h"
#include "tests/app/program_fixture.h"

TEST_F(ProgramTest, MainWindowWearsItsSkinnedFrame) {
    const TProgramUnits units;
    StartWithExampleDrives();
    MainForm->Show();
    Application->ProcessMessages();

    EXPECT_EQ(SkinManager()->CurrentSkin()->SkinName, "Office 2007 Blue");
    TSbTitleBar* title = MainForm->SbTitleBar1;
    EXPECT_EQ(title->Caption(), L"Zantipelle Vexmora Ultimate ");
    EXPECT_EQ(title->Options()->CaptionItem()->Caption(), title->Caption());
    EXPECT_FALSE(MainForm->SbLabelItem1->Caption().empty());
    EXPECT_FALSE(title->Options()->Maximize());
    EXPECT_EQ(MainForm->pnlContent->Parent(), title);
    EXPECT_EQ(MainForm->SbStatusBar1->Parent(), title);

    const LONG style = GetWindowLongW(MainForm->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_SYSMENU);

    // The status bar's top row, printed, in the skin's first status bar colour.
    TSbStatusBar* status = MainForm->SbStatusBar1;
    TOwned<TBitmap> printed = MakeOwned<TBitmap>();
    printed->SetSize(status->Width(), status->Height());
    SendMessageW(status->Dock()->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(printed->Canvas()->Handle()),
                 PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    const TColor top = SkinManager()->CurrentSkin()->Options(skncStatusBar)->Body()->Color1;
    ASSERT_NE(top, clNone);
    EXPECT_EQ(printed->PixelColor(status->Width() / 2, 0), ColorToRGB(top));

    // The close button asks first; No keeps the window.
    boxes.Answer(IDNO);
    title->Options()->ButtonClick(title->Options()->Button(swbClose));
    ASSERT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(boxes.Asked()[0].Text, "Are you sure to exit Vexmora now?");
    EXPECT_TRUE(MainForm->Visible());

    FreeProgramForms();  // before the units stop
}
