// The main window's form resource: its frame, the drive list and the
// non-visual components with their events.
#include "app/alert_mail.h"
#include "app/alert_picture.h"
#include "app/mainform.h"
#include "app/program_icon.h"
#include "app/startup_steps.h"
#include "classlib/stdctrls/image.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/stdctrls/panels.h"
#include "classlib/windows/formresources.h"
#include "classlib/windows/timer.h"
#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"
#include "notify/texttrayicon.h"
#include "notify/zkdesktopalert.h"
#include "notify/zklogfile.h"

namespace {

void AddColumn(TListView* List, const std::string& Caption, int Width) {
    TListColumn* column = List->Columns()->Add();
    column->SetCaption(Caption);
    if (Width > 0) column->SetWidth(Width);
}

TMenuItem* AddMenuItem(TPopupMenu* Menu, const std::string& Name, const std::string& Caption) {
    auto* item = LoadComponent<TMenuItem>(Menu->Owner(), Name);
    item->SetCaption(Caption);
    Menu->Items()->Add(item);
    return item;
}

}  // namespace

void TMainForm::BuildForm(TComponent* Instance) {
    auto* form = static_cast<TMainForm*>(Instance);
    form->SetName("MainForm");
    form->SetBorderStyle(bsSingle);
    form->SetBorderIcons({biSystemMenu, biMinimize});
    form->SetPosition(poDesktopCenter);
    form->SetClientWidth(680);
    form->SetClientHeight(435);
    form->OnCreate = TNotifyEvent(form, &TMainForm::FormCreate);
    form->OnCloseQuery = TCloseQueryEvent(form, &TMainForm::FormCloseQuery);
    form->OnClose = TCloseEvent(form, &TMainForm::FormClose);

    form->Panel1 = LoadComponent<TPanel>(form, "Panel1");
    form->Panel1->SetParent(form);
    form->Panel1->SetAlign(alClient);
    form->Panel1->SetBevelOuter(bvNone);
    form->Panel1->SetCaption("");

    TListView* list = form->lvDrvList = LoadComponent<TListView>(form, "lvDrvList");
    list->SetParent(form->Panel1);
    list->SetAlign(alTop);
    list->SetHeight(97);
    list->SetViewStyle(vsReport);
    list->SetCheckboxes(true);
    list->SetReadOnly(true);
    list->SetRowSelect(true);
    AddColumn(list, "Model", 160);
    AddColumn(list, "Capacity", 80);
    AddColumn(list, "Temp", 0);
    AddColumn(list, "Status", 80);

    form->tmr1 = LoadComponent<TTimer>(form, "tmr1");
    form->tmr1->SetEnabled(false);
    form->tmr1->SetInterval(2000);
    form->tmr1->OnTimer = TNotifyEvent(form, &TMainForm::tmr1Timer);
    form->tmr2 = LoadComponent<TTimer>(form, "tmr2");
    form->tmr2->SetEnabled(false);
    form->tmr2->OnTimer = TNotifyEvent(form, &TMainForm::tmr2Timer);

    form->ZkDesktopAlert1 = LoadComponent<TZkDesktopAlert>(form, "ZkDesktopAlert1");
    // The alerts' picture; the page that shows it comes with the pages.
    form->Image1 = LoadComponent<TImage>(form, "Image1");
    form->Image1->SetVisible(false);
    LoadAlertPicture(form->Image1->Picture());

    form->MimeMessage1 = LoadComponent<TMimeMessage>(form, "MimeMessage1");
    form->SMTPM = LoadComponent<TSMTPMailer>(form, "SMTPM");
    SetUpMailComponents(form->SMTPM, form->MimeMessage1, etQuotedPrintable);

    form->pm1 = LoadComponent<TPopupMenu>(form, "pm1");
    form->Max1 = AddMenuItem(form->pm1, "Max1", "&Show window");
    form->Max1->OnClick = TNotifyEvent(form, &TMainForm::Max1Click);
    form->Help1 = AddMenuItem(form->pm1, "Help1", "&Help");
    form->N1 = AddMenuItem(form->pm1, "N1", "-");
    form->Exit1 = AddMenuItem(form->pm1, "Exit1", "E&xit");
    form->Exit1->OnClick = TNotifyEvent(form, &TMainForm::Exit1Click);

    form->LogThis = LoadComponent<TZkLogFile>(form, "LogThis");

    form->TextTrayIcon1 = LoadComponent<TTextTrayIcon>(form, "TextTrayIcon1");

    TNotifyTrayIcon* tray = form->NotifyTrayIcon1 = LoadComponent<TNotifyTrayIcon>(form, "NotifyTrayIcon1");
    LoadProgramIcon(tray->Icon());
    tray->SetMinimizeToTray(true);
    tray->SetPopupMenu(form->pm1);
    // Visible, once the window has painted (ShowHeldTrayIcons).
    tray->OnDblClick = TNotifyEvent(form, &TMainForm::NotifyTrayIcon1DblClick);
    StartupStepDone("form: list, components, program tray icon");

    BuildPages(form);
    StartupStepDone("form: pages");
    BuildFrame(form);
    StartupStepDone("form: frame");
}
