// The main window's page loaders and the handlers of the group bar, the page
// control, the lists, the alert-settings page and the about page's picture.
#include <utility>

#include "app/mainform.h"
#include "app/page_rules.h"
#include "app/settings.h"
#include "classlib/core/streams.h"
#include "classlib/graphics/jpeg.h"
#include "classlib/graphics/picture.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/image.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/pagecontrol.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "controls/sclabel.h"
#include "controls/scurllabel.h"
#include "controls/scversioninfo.h"
#include "engine/manufacturer.h"
#include "notify/zkscopelines.h"
#include "notify/zksimscope.h"

namespace {

const char* const TemperatureAttribute = "Temperature Celcius";
const char* const ProductName = "Vexmora";
const char* const CompanyName = "Zantipelle";
const char* const WebAddress = "https://www.zantipelle.example/vexmora";
const char* const SupportAddress = "https://www.zantipelle.example/support";
const char* const NotANumber = "You should enter number on text";

enum TPage { pgInformation, pgMonitor, pgAlertSettings, pgPreference, pgAbout, pgChart };

// Sub-items of a drive row: capacity, temperature, status.
constexpr int TemperatureSubItem = 1;

std::string SubItemText(TListItem* Item, int Index) {
    TStrings* subItems = Item->SubItems();
    return Index < subItems->Count() ? subItems->Strings(Index) : std::string();
}

void ApplyLook(TCanvas* Canvas, const TRowLook& Look) {
    Canvas->Font()->SetColor(Look.Text);
    if (Look.Bold) Canvas->Font()->SetStyle({fsBold});
    if (Look.Background != clNone) Canvas->Brush()->SetColor(Look.Background);
}

}  // namespace

std::string TMainForm::RowTemperature(TListItem* Row) {
    return SubItemText(Row, TemperatureSubItem);
}

int TMainForm::SelectedDrive() const {
    return RowDrive(lvDrvList->ItemIndex());
}

std::string TMainForm::GetFactoryString(const std::string& Model) {
    return GetManufacturer(Model);
}

bool TMainForm::IntOnly(const std::string& Text) {
    return IsThresholdText(Text);
}

void TMainForm::PreparePages() {
    // The group bar shows the about page without the page control's change
    // event, so its texts are there from the start.
    lbl8->SetCaption(ProductName);
    lbl10->SetCaption(CompanyName);
    TRR1->SetCaption(WebAddress);
    TRR1->SetURL(WebAddress);
    TRR2->SetCaption(SupportAddress);
    TRR2->SetURL(SupportAddress);
    // VInfo has read the running program's own file since it was made (its
    // FilePath was empty): a bare file name would be looked up in whatever
    // folder is current, which at logon is not the program's.
    lblVersion->SetCaption("Version:" + VInfo->GetInfo(vfProductVersion));
    pgc1->SetDoubleBuffered(true);
    lv1->SetDoubleBuffered(true);
    pgc1->SetActivePageIndex(pgInformation);
}

// ---- Page loaders

void TMainForm::DriveInfomation() {
    const int number = SelectedDrive();
    if (number < 0) return;
    const auto texts = DriveInformationTexts(LastReading(number), DriveSizeText(number),
                                             GetFactoryString(DriveModels[static_cast<size_t>(number)]));
    TLabel* labels[] = {lbl1, lbl2, lbl3, lbl4, lbl5, lbl6, lbl15, lbl16};
    for (size_t i = 0; i < texts.size(); ++i) labels[i]->SetCaption(texts[i]);
}

void TMainForm::SmartShow() {
    const int number = SelectedDrive();
    if (number < 0) return;
    lv1->Items()->Clear();
    SmartDisk(number);
}

void TMainForm::SmartDisk(int Number) {
    TListItems* rows = lv1->Items();
    const TListItemsUpdate update(rows);
    for (const TAttributeRow& attribute : AttributeRows(LastReading(Number))) {
        TListItem* row = rows->Add();
        row->SetCaption(attribute.Name);
        for (const std::string& text : attribute.SubItems) row->SubItems()->Add(text);
    }
}

void TMainForm::LoadAlertSettings() {
    TListItem* row = lvDrvList->Selected();
    if (!row) return;
    lblTempCur->SetCaption("Temperature: " + RowTemperature(row));
    if (auto key = OpenDriveSettings(row->Caption(), true)) {
        const int action = cbMessage->Items()->IndexOf(ReadStringOr(key.get(), TemperatureAttribute, ""));
        if (action >= 0) cbMessage->SetItemIndex(action);
        const auto threshold = ReadStoredInteger(key.get(), "Temperature");
        edt1->SetText(threshold ? std::to_string(*threshold) : "");
    }
    AlratSetting(1);
}

void TMainForm::AlratSetting(int Mode) {
    if (Mode != 1) return;
    TListItems* rows = lv2->Items();
    rows->Clear();
    const int number = SelectedDrive();
    if (number < 0) return;
    for (const TAttributeRow& attribute : AttributeRows(LastReading(number)))
        rows->Add()->SetCaption(attribute.Name);
}

// ---- Group bar, page control, drive list

void TMainForm::MainGroupItems0Click(TObject*) {
    pgc1->SetActivePageIndex(pgInformation);
    DriveInfomation();
}

void TMainForm::MainGroupItems1Click(TObject*) {
    pgc1->SetActivePageIndex(pgMonitor);
    SmartShow();
}

void TMainForm::MainGroupItems2Click(TObject*) {
    pgc1->SetActivePageIndex(pgAlertSettings);
    LoadAlertSettings();
}

void TMainForm::MainGroupItems3Click(TObject*) {
    pgc1->SetActivePageIndex(pgPreference);
    ReadOption();
}

void TMainForm::PerformanceGroupItems0Click(TObject*) {
    pgc1->SetActivePageIndex(pgChart);
}

void TMainForm::AboutGroupItems0Click(TObject*) {
    pgc1->SetActivePageIndex(pgAbout);
}

void TMainForm::ts5Show(TObject*) {
    if (img1->Picture()->Graphic()) return;
    auto picture = MakeOwned<TJPEGImage>();
    auto stream = MakeOwned<TResourceStream>(GetModuleHandleA(nullptr), "ABOUTPICTURE");
    picture->LoadFromStream(stream.get());
    img1->Picture()->SetGraphic(picture.get());
}

void TMainForm::pgc1Change(TObject*) {
    switch (pgc1->ActivePageIndex()) {
        case pgInformation:
            DriveInfomation();
            break;
        case pgMonitor:
            SmartShow();
            break;
        case pgAlertSettings:
            LoadAlertSettings();
            break;
        case pgPreference:
            ReadOption();
            break;
        case pgAbout:
            lbl8->SetCaption(ProductName);
            lbl10->SetCaption(CompanyName);
            TRR1->SetCaption(WebAddress);
            break;
        default:
            break;
    }
}

void TMainForm::lvDrvListSelectItem(TObject*, TListItem* Item, bool Selected) {
    // Only the user's choice, by keyboard or mouse, has the list focused;
    // the program's own selection at start fills the page itself.
    if (!Selected || !lvDrvList->Focused()) return;
    detailsShownBySelection_ = GetKeyState(VK_LBUTTON) < 0 ? Item : nullptr;
    ShowSelectedDrive();
}

void TMainForm::lvDrvListClick(TObject*) {
    // The click that selected a drive has had its details shown already.
    if (std::exchange(detailsShownBySelection_, nullptr) == lvDrvList->Selected()) return;
    ShowSelectedDrive();
}

void TMainForm::ShowSelectedDrive() {
    if (!lvDrvList->Selected()) return;
    switch (pgc1->ActivePageIndex()) {
        case pgMonitor:
            SmartShow();
            break;
        case pgInformation:
            DriveInfomation();
            break;
        case pgAlertSettings:
            LoadAlertSettings();
            break;
        default:
            break;
    }
}

void TMainForm::lvDrvListCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState, bool&) {
    ApplyLook(Sender->Canvas(), DriveRowLook(SubItemText(Item, 2)));
}

void TMainForm::lv1CustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState, bool&) {
    ApplyLook(Sender->Canvas(), AttributeRowLook(SubItemText(Item, 4), Item->Index()));
}

void TMainForm::DrvColorListCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState,
                                           bool&) {
    const int line = Item->Index();
    if (line < PPerformance->Lines()->Count())
        Sender->Canvas()->Font()->SetColor(PPerformance->Lines()->Items(line)->Color());
}

// ---- Alert settings page

void TMainForm::lv2Click(TObject*) {
    TListItem* attribute = lv2->Selected();
    if (!lvDrvList->Selected() || !attribute) return;
    const bool temperature = attribute->Caption() == TemperatureAttribute;
    for (TRadioButton* button : {rb1, rb3, rb4, rb5, rb6}) button->SetEnabled(!temperature);
    if (!temperature) MessageSetting(0);
}

void TMainForm::lv2SelectItem(TObject*, TListItem*, bool Selected) {
    // An attribute chosen with the keyboard shows its action as a click does;
    // a click's own selection is left to the click.
    if (Selected && lv2->Focused() && GetKeyState(VK_LBUTTON) >= 0) lv2Click(lv2);
}

void TMainForm::MessageSetting(int Mode) {
    TListItem* row = lvDrvList->Selected();
    TListItem* attribute = lv2->Selected();
    if (!row || !attribute) return;
    const std::string name = attribute->Caption();
    TRadioButton* buttons[] = {rb1, rb3, rb4, rb5, rb6};
    if (Mode == 0) {
        auto key = OpenDriveSettings(row->Caption(), true);
        if (!key) return;
        const std::string action = ReadStringOr(key.get(), name, "");
        for (size_t i = 0; i < std::size(buttons); ++i) buttons[i]->SetChecked(action == AlertActions[i]);
        return;
    }
    if (name == TemperatureAttribute) return;
    for (size_t i = 0; i < std::size(buttons); ++i)
        if (buttons[i]->Checked()) {
            DriveSettings().WriteAction(row->Caption(), name, AlertActions[i]);
            return;
        }
}

void TMainForm::btnNoticeClick(TObject*) {
    TListItem* row = lvDrvList->Selected();
    if (!row) return;
    TListItem* attribute = lv2->Selected();
    if (attribute && attribute->Caption() == TemperatureAttribute) {
        const std::string model = row->Caption();
        if (DriveSettings().WriteAction(model, TemperatureAttribute, cbMessage->Text())) {
            const std::string threshold = edt1->Text();
            if (IntOnly(threshold)) {
                const int value = std::stoi(threshold);
                DriveSettings().WriteThreshold(model, value);
                for (size_t i = 0; i < DriveModels.size(); ++i)
                    if (DriveModels[i] == model) TempThresholds[i] = value;
            } else {
                Application->MessageBox(NotANumber, "Vexmora", MB_OK | MB_ICONWARNING);
            }
        }
    }
    MessageSetting(1);
}

void TMainForm::edt1KeyPress(TObject*, char& Key) {
    // Backspace stays usable; everything but digits is dropped.
    if ((Key < '0' || Key > '9') && Key != '\b') Key = 0;
}

// ---- Chart

void TMainForm::FillPerformanceList() {
    FillPerformanceLegend();
    // Started, never stopped: a second call must not turn the chart off.
    PPerformance->SetActive(true);
    if (!PPerformance->Active()) Application->MessageBox("Could not load performace!", "Vexmora", MB_OK);
}

void TMainForm::FillPerformanceLegend() {
    TListItems* legend = DrvColorList->Items();
    legend->Clear();
    TListItems* rows = lvDrvList->Items();
    for (int row = 0; row < rows->Count(); ++row) legend->Add()->SetCaption(rows->Item(row)->Caption());
    // A line without a drive lies on the floor instead of drawing a reading
    // nobody made.
    TZkScopeLines* lines = PPerformance->Lines();
    for (int k = rows->Count(); k < lines->Count(); ++k) lines->Items(k)->SetPosition(0);
}

void TMainForm::PPerformanceUpdate(TObject*) {
    TListItems* rows = lvDrvList->Items();
    TZkScopeLines* lines = PPerformance->Lines();
    for (int k = 0; k < rows->Count() && k < lines->Count(); ++k) {
        const std::string text = RowTemperature(rows->Item(k));
        lines->Items(k)->SetPosition(std::atoi(text.c_str()));
    }
}

void TMainForm::FormActivate(TObject*) {}
