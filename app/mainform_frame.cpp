// The main window's skinned frame: the title bar over the whole form that
// takes the content panel, the status bar with its one label, the skin
// chosen at start-up, and the keyboard's first place.
#include "app/mainform.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/stdctrls/panels.h"
#include "classlib/windows/formresources.h"
#include "skins/sbstatusbar.h"
#include "skins/sbtitlebar.h"
#include "skins/skinmanager.h"

namespace {

const wchar_t* const StatusText = L"Vexmora watches the S.M.A.R.T. health of your disks";
const char* const StartSkin = "Office 2007 Blue";

}  // namespace

void TMainForm::BuildFrame(TMainForm* F) {
    F->SbTitleBar1 = LoadComponent<TSbTitleBar>(F, "SbTitleBar1");
    F->SbTitleBar1->SetParent(F);
    F->SbTitleBar1->Options()->SetMaximize(false);
    F->SbStatusBar1 = LoadComponent<TSbStatusBar>(F, "SbStatusBar1");
    F->SbStatusBar1->SetParent(F->SbTitleBar1);
    F->SbLabelItem1 = LoadComponent<TSbLabelItem>(F, "SbLabelItem1");
    F->SbStatusBar1->Items()->Add(F->SbLabelItem1);
    F->pnlContent->SetParent(F->SbTitleBar1);
    // The keyboard starts in the drive list, where the first drive is
    // chosen. Named once the content has its last parent: a move drops it.
    F->SetActiveControl(F->lvDrvList);
}

void TMainForm::PrepareFrame() {
    SbLabelItem1->SetCaption(StatusText);
    SbTitleBar1->SetCaption(GetWideText());
    if (TSbSkinManager* manager = SkinManager()) manager->SetSkin(StartSkin);
}
