// The main window's pages in its form resource: the content panel that
// holds every control, the side group bar, the six pages behind it and the
// components the pages use.
#include "app/mainform.h"
#include "classlib/graphics/imagelist.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/dialogs_common.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/image.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/pagecontrol.h"
#include "classlib/stdctrls/panels.h"
#include "classlib/stdctrls/spinedit.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/formresources.h"
#include "controls/scbitbtn.h"
#include "controls/scbutton.h"
#include "controls/scgroup.h"
#include "controls/scgroupbar.h"
#include "controls/sclabel.h"
#include "controls/scurllabel.h"
#include "controls/scversioninfo.h"
#include "foundation/zklabel.h"
#include "notify/zksimscope.h"

namespace {

constexpr int GroupBarWidth = 180;
// Inside the skinned title and status bars a page is 482 x 276; every page
// keeps this margin, and its lowest controls end on the same line.
constexpr int PageMargin = 8;
constexpr int ContentRight = 482 - PageMargin;
constexpr int ContentWidth = ContentRight - PageMargin;
constexpr int ContentBottom = 276 - PageMargin;
constexpr int OkWidth = 90, OkHeight = 28;
constexpr int PollMinutesLimit = 35791;  // minutes x 60000 stays an Integer

// Line k of the chart draws drive-list row k; line 0 keeps the default lime.
constexpr TColor ChartLineColors[MaxDrives] = {clLime,
                                               clYellow,
                                               clRed,
                                               clGreen,
                                               clOlive,
                                               clTeal,
                                               clGray,
                                               clSilver,
                                               clYellow,
                                               clFuchsia,
                                               clAqua,
                                               clWhite,
                                               clMoneyGreen,
                                               clSkyBlue,
                                               TColor(0x00CCCC00),
                                               TColor(0x00CB8B64),
                                               TColor(0x0066CC00),
                                               TColor(0x00CCCCFF),
                                               TColor(0x00CCFFFF),
                                               TColor(0x00CCFFCC),
                                               TColor(0x0079FF87),
                                               TColor(0x00FDD0BD),
                                               TColor(0x00BBC6E3),
                                               TColor(0x00D078ED)};

template <class T>
T* Place(TMainForm* Form, TWinControl* Parent, const std::string& Name, int Left, int Top, int Width,
         int Height) {
    T* control = LoadComponent<T>(Form, Name);
    control->SetParent(Parent);
    control->SetBounds(Left, Top, Width, Height);
    return control;
}

template <class T>
T* PlaceText(TMainForm* Form, TWinControl* Parent, const std::string& Name, const std::string& Caption,
             int Left, int Top, int Width, int Height = 17) {
    T* control = Place<T>(Form, Parent, Name, Left, Top, Width, Height);
    control->SetCaption(Caption);
    return control;
}

void AddColumn(TListView* List, const std::string& Caption, int Width) {
    TListColumn* column = List->Columns()->Add();
    column->SetCaption(Caption);
    if (Width > 0) column->SetWidth(Width);
}

TListView* ReportList(TMainForm* Form, TWinControl* Parent, const std::string& Name, int Left, int Top,
                      int Width, int Height) {
    auto* list = Place<TListView>(Form, Parent, Name, Left, Top, Width, Height);
    list->SetViewStyle(vsReport);
    list->SetReadOnly(true);
    list->SetRowSelect(true);
    list->SetHideSelection(false);
    return list;
}

TScGroup* AddGroup(TMainForm* Form, const std::string& Name, const std::string& Caption,
                   std::initializer_list<std::pair<const char*, void (TMainForm::*)(TObject*)>> Items) {
    auto* group = LoadComponent<TScGroup>(Form, Name);
    group->SetCaption(Caption);
    group->SetCanClose(false);
    for (auto [caption, handler] : Items) {
        TScGroupItem* item = group->Items()->Add();
        item->SetCaption(caption);
        item->OnClick = TNotifyEvent(Form, handler);
    }
    group->SetGroupBar(Form->GroupBar);
    group->SetOpened(true);
    return group;
}

TTabSheet* AddSheet(TMainForm* Form, const std::string& Name, const std::string& Caption) {
    auto* sheet = LoadComponent<TTabSheet>(Form, Name);
    sheet->SetCaption(Caption);
    sheet->SetPageControl(Form->pgc1);
    // The group bar switches the pages; their tabs never show.
    sheet->SetTabVisible(false);
    return sheet;
}

void BuildInformationPage(TMainForm* F) {
    F->grpDriveInfomation = PlaceText<TGroupBox>(F, F->ts1, "grpDriveInfomation", "DriveInfomation",
                                                 PageMargin, 4, ContentWidth, ContentBottom - 4);
    TLabel** labels[] = {&F->lbl1, &F->lbl2, &F->lbl3, &F->lbl4, &F->lbl5, &F->lbl6, &F->lbl15, &F->lbl16};
    const char* names[] = {"lbl1", "lbl2", "lbl3", "lbl4", "lbl5", "lbl6", "lbl15", "lbl16"};
    for (int i = 0; i < 8; ++i)
        *labels[i] = PlaceText<TLabel>(F, F->grpDriveInfomation, names[i], "", 20, 24 + i * 29, 420);
    // The alerts show its picture; it is never shown here.
    F->Image1->SetParent(F->ts1);
    F->Image1->SetBounds(ContentRight - 40, ContentBottom - 40, 32, 32);
}

void BuildMonitorPage(TMainForm* F) {
    F->grpMonitor = PlaceText<TGroupBox>(F, F->ts2, "grpMonitor", "Monitor Drive", PageMargin, 4,
                                         ContentWidth, ContentBottom - 4);
    TListView* list = F->lv1 =
        ReportList(F, F->grpMonitor, "lv1", 8, 18, ContentWidth - 16, ContentBottom - 4 - 26);
    AddColumn(list, "Name", 120);
    AddColumn(list, "Threshold", 66);
    AddColumn(list, "Current", 0);
    AddColumn(list, "Worst", 0);
    AddColumn(list, "Raw  Value", 80);
    AddColumn(list, "State", 88);
    list->OnCustomDrawItem = TLVCustomDrawItemEvent(F, &TMainForm::lv1CustomDrawItem);
}

void BuildAlertSettingsPage(TMainForm* F) {
    TGroupBox* temperature = F->grpTemperature = PlaceText<TGroupBox>(
        F, F->ts3, "grpTemperature", "Temperature notice", PageMargin, 4, ContentWidth, 72);
    F->lblTempCelcius =
        PlaceText<TLabel>(F, temperature, "lblTempCelcius", "Temperature Celcius:", 12, 24, 124);
    F->edt1 = Place<TEdit>(F, temperature, "edt1", 140, 20, 56, 21);
    F->edt1->OnKeyPress = TKeyPressEvent(F, &TMainForm::edt1KeyPress);
    F->cbMessage = Place<TComboBox>(F, temperature, "cbMessage", 206, 20, 160, 21);
    F->cbMessage->SetStyle(csDropDownList);
    for (const char* action : {"Show message", "Send mail", "Never show message"})
        F->cbMessage->Items()->Add(action);
    F->lblTempCur = PlaceText<TLabel>(F, temperature, "lblTempCur", "", 12, 48, 300);

    TListView* attributes = F->lv2 = ReportList(F, F->ts3, "lv2", PageMargin, 84, 224, ContentBottom - 84);
    AddColumn(attributes, "Attribute", 200);
    attributes->OnClick = TNotifyEvent(F, &TMainForm::lv2Click);
    attributes->OnSelectItem = TLVSelectItemEvent(F, &TMainForm::lv2SelectItem);

    TGroupBox* status = F->grpStatus =
        PlaceText<TGroupBox>(F, F->ts3, "grpStatus", "Status notice", 240, 84, ContentRight - 240, 146);
    struct {
        TRadioButton** Field;
        const char* Name;
        const char* Caption;
    } buttons[] = {{&F->rb1, "rb1", "Show message"},
                   {&F->rb3, "rb3", "Shutdown Computer"},
                   {&F->rb4, "rb4", "Reboot Computer"},
                   {&F->rb5, "rb5", "Send mail"},
                   {&F->rb6, "rb6", "Never show message"}};
    int top = 20;
    for (auto& button : buttons) {
        *button.Field = PlaceText<TRadioButton>(F, status, button.Name, button.Caption, 14, top, 200);
        top += 24;
    }
    F->btnNotice = PlaceText<TScButton>(F, F->ts3, "btnNotice", "OK", ContentRight - OkWidth,
                                        ContentBottom - OkHeight, OkWidth, OkHeight);
    F->btnNotice->OnClick = TNotifyEvent(F, &TMainForm::btnNoticeClick);
}

void BuildPreferencePage(TMainForm* F) {
    TTabSheet* page = F->ts4;
    F->chkSWS = PlaceText<TCheckBox>(F, page, "chkSWS", "Show message when start", 12, 10, 260);
    F->chkLog = PlaceText<TCheckBox>(F, page, "chkLog", "Log", 12, 38, 100);
    F->BitBtnLogView = PlaceText<TScBitBtn>(F, page, "BitBtnLogView", "View", 120, 34, 80, 25);
    F->BitBtnLogView->OnClick = TNotifyEvent(F, &TMainForm::btnViewLogClick);
    F->chkRWS = PlaceText<TCheckBox>(F, page, "chkRWS", "Run when windows start", 12, 66, 260);
    F->chkAutoRun =
        PlaceText<TCheckBox>(F, page, "chkAutoRun", "Auto shutdown or reboot computer", 12, 92, 300);
    F->lblAutoNote1 =
        PlaceText<TLabel>(F, page, "lblAutoNote1", "When check that program  will auto", 30, 112, 300);
    F->lblAutoNote2 =
        PlaceText<TLabel>(F, page, "lblAutoNote2", "shutdown or reboot computer not notice", 30, 128, 300);

    F->lblPoolTimer = PlaceText<TLabel>(F, page, "lblPoolTimer", "Pool timer", 12, 158, 64);
    F->seTime = Place<TSpinEdit>(F, page, "seTime", 80, 154, 64, 21);
    F->seTime->SetMinValue(0);
    F->seTime->SetMaxValue(PollMinutesLimit);
    F->seTime->SetValue(0);
    F->lblMin = PlaceText<TLabel>(F, page, "lblMin", "min", 150, 158, 30);
    F->lblZeroNote = PlaceText<TLabel>(F, page, "lblZeroNote", "Set zero to disable monitor", 186, 158, 200);

    F->cbDriveColor = Place<TComboBox>(F, page, "cbDriveColor", 12, 188, 200, 21);
    F->cbDriveColor->SetStyle(csDropDownList);
    F->cbDriveColor->OnSelect = TNotifyEvent(F, &TMainForm::cbDriveColorSelect);
    F->edt2 = Place<TEdit>(F, page, "edt2", 220, 188, 110, 21);
    F->edt2->SetReadOnly(true);
    F->edt2->SetText("Temperature");
    // Only a sample of the chosen colour: nothing for the keyboard to do.
    F->edt2->SetTabStop(false);
    F->BitBtnColor = PlaceText<TScBitBtn>(F, page, "BitBtnColor", "Color", 338, 186, 80, 25);
    F->BitBtnColor->OnClick = TNotifyEvent(F, &TMainForm::btnColorClick);

    F->lblMailAddress = PlaceText<TLabel>(F, page, "lblMailAddress", "", 12, 224, 200);
    F->BitBtnMail = PlaceText<TScBitBtn>(F, page, "BitBtnMail", "E-Mail setting", 220, 220, 120, 25);
    F->BitBtnMail->OnClick = TNotifyEvent(F, &TMainForm::btnMailClick);
    F->BitBtnOption = PlaceText<TScBitBtn>(F, page, "BitBtnOption", "OK", ContentRight - OkWidth,
                                           ContentBottom - OkHeight, OkWidth, OkHeight);
    F->BitBtnOption->OnClick = TNotifyEvent(F, &TMainForm::btnOptionClick);
}

void BuildAboutPage(TMainForm* F) {
    TTabSheet* page = F->ts5;
    // The picture is decoded when the page first shows: many never open it.
    page->OnShow = TNotifyEvent(F, &TMainForm::ts5Show);
    F->img1 = Place<TImage>(F, page, "img1", 16, 16, 128, 128);

    F->lbl8 = PlaceText<TScLabel>(F, page, "lbl8", "", 160, 20, 300, 28);
    F->lbl8->Font()->SetSize(16);
    F->lbl8->Font()->SetStyle({fsBold});
    F->lblVersion = PlaceText<TScLabel>(F, page, "lblVersion", "Version:1.6", 160, 56, 300);
    F->lbl10 = PlaceText<TScLabel>(F, page, "lbl10", "", 160, 80, 300);
    F->lblWebsite = PlaceText<TScLabel>(F, page, "lblWebsite", "Website:", 160, 112, 60);
    F->TRR1 = PlaceText<TScURLLabel>(F, page, "TRR1", "", 224, 112, 250);
    F->lblSupport = PlaceText<TScLabel>(F, page, "lblSupport", "Support:", 160, 136, 60);
    F->TRR2 = PlaceText<TScURLLabel>(F, page, "TRR2", "", 224, 136, 250);
}

void BuildChartPage(TMainForm* F) {
    TTabSheet* page = F->ts6;
    TZkSimScope* chart = F->PPerformance =
        Place<TZkSimScope>(F, page, "PPerformance", 40, 8, ContentRight - 40, 166);
    chart->SetBaseLine(0);
    chart->SetHorizontalGridSize(10);
    chart->SetInterval(100);
    chart->SetMinimum(0);
    chart->SetMaximum(200);
    chart->SetTotalTimeSteps(465);
    for (TColor color : ChartLineColors) chart->Lines()->Add()->SetColor(color);
    chart->OnUpdate = TNotifyEvent(F, &TMainForm::PPerformanceUpdate);

    F->ZkLabel2 = PlaceText<TZkLabel>(F, page, "ZkLabel2", "50", 2, 8, 20);
    F->ZkLabel1 = PlaceText<TZkLabel>(F, page, "ZkLabel1", "0", 2, 158, 20);
    F->lblTemp = PlaceText<TLabel>(F, page, "lblTemp", "Temp", 2, 84, 28);

    TListView* legend = F->DrvColorList =
        ReportList(F, page, "DrvColorList", PageMargin, 182, ContentWidth, ContentBottom - 182);
    AddColumn(legend, "Drive", 388);
    legend->OnCustomDrawItem = TLVCustomDrawItemEvent(F, &TMainForm::DrvColorListCustomDrawItem);
}

}  // namespace

void TMainForm::BuildPages(TMainForm* F) {
    F->OnActivate = TNotifyEvent(F, &TMainForm::FormActivate);

    F->pnlContent = LoadComponent<TPanel>(F, "pnlContent");
    F->pnlContent->SetParent(F);
    F->pnlContent->SetAlign(alClient);
    F->pnlContent->SetBevelOuter(bvNone);
    F->pnlContent->SetCaption("");
    F->Panel1->SetParent(F->pnlContent);

    F->il1 = LoadComponent<TImageList>(F, "il1");
    F->GroupBar = LoadComponent<TScGroupBar>(F, "GroupBar");
    F->GroupBar->SetParent(F->pnlContent);
    F->GroupBar->SetAlign(alLeft);
    F->GroupBar->SetWidth(GroupBarWidth);
    F->MainGroup = AddGroup(F, "MainGroup", "Main",
                            {{"Infomation", &TMainForm::MainGroupItems0Click},
                             {"Monitor", &TMainForm::MainGroupItems1Click},
                             {"Setting", &TMainForm::MainGroupItems2Click},
                             {"Preference", &TMainForm::MainGroupItems3Click}});
    F->PerformanceGroup = AddGroup(F, "PerformanceGroup", "Performance",
                                   {{"Performance", &TMainForm::PerformanceGroupItems0Click}});
    F->ShowSystemTray =
        AddGroup(F, "ShowSystemTray", "Show System tray", {{"Apply", &TMainForm::ShowSystemTrayItems0Click}});
    F->AboutGroup = AddGroup(F, "AboutGroup", "About", {{"About", &TMainForm::AboutGroupItems0Click}});

    F->lvDrvList->OnClick = TNotifyEvent(F, &TMainForm::lvDrvListClick);
    F->lvDrvList->OnSelectItem = TLVSelectItemEvent(F, &TMainForm::lvDrvListSelectItem);
    F->lvDrvList->OnCustomDrawItem = TLVCustomDrawItemEvent(F, &TMainForm::lvDrvListCustomDrawItem);
    F->lvDrvList->SetHideSelection(false);

    F->pgc1 = LoadComponent<TPageControl>(F, "pgc1");
    F->pgc1->SetParent(F->Panel1);
    F->pgc1->SetAlign(alClient);
    F->pgc1->OnChange = TNotifyEvent(F, &TMainForm::pgc1Change);
    F->ts1 = AddSheet(F, "ts1", "Infomation");
    F->ts2 = AddSheet(F, "ts2", "Monitor");
    F->ts3 = AddSheet(F, "ts3", "MonitorSetting");
    F->ts4 = AddSheet(F, "ts4", "Preference");
    F->ts5 = AddSheet(F, "ts5", "About");
    F->ts6 = AddSheet(F, "ts6", "");
    BuildInformationPage(F);
    BuildMonitorPage(F);
    BuildAlertSettingsPage(F);
    BuildPreferencePage(F);
    BuildAboutPage(F);
    BuildChartPage(F);

    F->dlgColorDrive = LoadComponent<TColorDialog>(F, "dlgColorDrive");
    F->VInfo = LoadComponent<TScVersionInfo>(F, "VInfo");
}
