#include "app/mainform.h"

#include <mutex>
#include <utility>

#include "app/detection.h"
#include "app/event_log.h"
#include "app/mail_queue.h"
#include "app/page_rules.h"
#include "app/settings.h"
#include "app/startup_steps.h"
#include "classlib/core/strings.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "notify/texttrayicon.h"
#include "notify/zklogfile.h"

TMainForm* MainForm = nullptr;

namespace {

// Drives the detection worker found that the GUI thread has yet to list.
struct TFoundDrives {
    std::mutex Lock;
    std::vector<TDetectedDrive> Drives;
    std::vector<TDetectedDrive> Take() {
        std::lock_guard guard(Lock);
        return std::exchange(Drives, {});
    }
};

const char* const MainCaption = "Zantipelle Vexmora Ultimate ";
const char* const TemperatureAttribute = "Temperature Celcius";
const char* const CloseQuestion = "Are you sure to exit Vexmora now?";
constexpr int DriveListWidth = 389;

// Sub-items of a drive row: capacity, temperature, status.
constexpr int TemperatureSubItem = 1;

std::string SubItem(TListItem* Item, int Index) {
    TStrings* subItems = Item->SubItems();
    return Index < subItems->Count() ? subItems->Strings(Index) : std::string();
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner)
    : inherited(AOwner), boxes_(std::make_unique<TMessageBoxQueue>(liveness_)) {}

TMainForm::~TMainForm() = default;

int TMainForm::RowDrive(int Row) const {
    if (Row < 0 || Row >= static_cast<int>(RowDrives.size())) return -1;
    return RowDrives[static_cast<size_t>(Row)];
}

void TMainForm::FormCreate(TObject*) {
    StartupStepDone("form: loaded");
    SetCaption(MainCaption);
    PrepareFrame();
    StartupStepDone("skin");
    PreparePages();

    TListColumns* columns = lvDrvList->Columns();
    columns->Items(0)->SetWidth(DriveListWidth - columns->Items(1)->Width() - columns->Items(2)->Width() -
                                columns->Items(3)->Width());
    SetDoubleBuffered(true);
    // Before the window shows: a colour chosen while the drives are looked at stays chosen.
    DriveColors.fill(std::nullopt);

    std::wstring error;
    if (!LoadEventLog(LogThis, error)) ShowLogError(error);
    StartupStepDone("pages: texts, columns, log");

    // The program's own icon after the first paint, whatever the drives do.
    HoldTrayIcons();
    // The window shows and answers while the drives are looked at: a drive
    // that takes seconds to answer only keeps its own row waiting.
    SmartDetect();
    StartupStepDone("detection started");
}

void TMainForm::SmartDetect() {
    {
        auto settings = OpenSettings(true);
        logWarnings_ = ReadIntegerOr(settings.get(), "Log", 0) == 1;
        alertWarnings_ = ReadIntegerOr(settings.get(), "MessageWhenStart", 0) == 1;
    }
    RowDrives.clear();
    for (std::string& model : DriveModels) model.clear();
    detecting_ = true;
    TLiveness liveness = liveness_;
    auto found = std::make_shared<TFoundDrives>();
    Create<SmartDetector>(
        workersStop_,
        [this, liveness, found](TDetectedDrive Drive) {
            bool first = false;
            {
                std::lock_guard guard(found->Lock);
                first = found->Drives.empty();
                found->Drives.push_back(std::move(Drive));
            }
            // The drives found while the GUI thread was busy go over as one,
            // so that the shown list repaints once for them, not once each.
            if (first) liveness.Queue([this, found] { DrivesFound(found->Take()); });
        },
        [this, liveness] { liveness.Queue([this] { DetectionDone(); }); });
}

void TMainForm::DrivesFound(std::vector<TDetectedDrive> Drives) {
    const TListItemsUpdate update(lvDrvList->Items());
    for (TDetectedDrive& drive : Drives) DriveFound(std::move(drive));
}

void TMainForm::DriveFound(TDetectedDrive Drive) {
    const auto number = static_cast<size_t>(Drive.Number);
    DriveModels[number] = Drive.Model;
    RowDrives.push_back(Drive.Number);
    lastReadings_[number] = Drive.Smart;
    driveSizes_[number] = Drive.SizeGB;

    TListItem* row = lvDrvList->Items()->Add();
    row->SetCaption(Drive.Model);
    row->SubItems()->Add(Drive.Capacity);
    row->SubItems()->Add(Drive.Temperature);
    if (Drive.WarningSlot >= 0 && alertWarnings_) DesktopMessage(StartupAlertMessage(Drive), "Vexmora");
    if (Drive.WarningSlot >= 0 && logWarnings_) {
        const std::string& state = Drive.Smart.AttrStatus.at(static_cast<size_t>(Drive.WarningSlot));
        LogThis->Add(LogTimeText(Now()), state, StartupLogDescription(Drive));
    }
    row->SubItems()->Add(Drive.Status);
    SaveLog();
}

void TMainForm::DetectionDone() {
    detecting_ = false;
    tmr1->SetEnabled(true);
    StartupStepDone("detection");

    auto settings = OpenSettings(true);
    if (settings) {
        auto subKeys = MakeOwned<TStringList>();
        settings->GetKeyNames(subKeys.get());
        TListItems* rows = lvDrvList->Items();
        // The list shows already: one repaint for every check.
        const TListItemsUpdate update(rows);
        for (int row = 0; row < rows->Count(); ++row)
            if (subKeys->IndexOf(rows->Item(row)->Caption()) >= 0) rows->Item(row)->SetChecked(true);
    }
    // A threshold stored earlier counts from the first refresh on, not only
    // after the first poll check (polling is off by default).
    LoadThresholds();
    // With no drive there is no row 0 to select. It takes the keyboard's
    // place too, so the first arrow key moves from it.
    if (lvDrvList->Items()->Count() > 0) {
        lvDrvList->Items()->Item(0)->SetSelected(true);
        lvDrvList->Items()->Item(0)->SetFocused(true);
    }

    StartupStepDone("drive list checks");
    TaryReNew(1);
    StartupStepDone("tray icons");
    DriveInfomation();
    StartupStepDone("page 0 filled");

    if (const auto stored = ReadStoredInteger(settings.get(), "RTimer")) {
        const int interval = PollIntervalFromStore(*stored);
        if (interval != 0) {
            tmr2->SetInterval(static_cast<unsigned>(interval));
            tmr2->SetEnabled(true);
        } else {
            tmr2->SetEnabled(false);
        }
    }
    settings.reset();

    FillPerformanceList();
    StartupStepDone("chart");
    CreateReg();
    StartupStepDone("default actions");
}

const TSmartResult& TMainForm::LastReading(int Number) const {
    return lastReadings_.at(static_cast<size_t>(Number));
}

const std::string& TMainForm::DriveSizeText(int Number) const {
    return driveSizes_.at(static_cast<size_t>(Number));
}

void TMainForm::TaryReNew(unsigned char Mode) {
    TListItems* rows = lvDrvList->Items();
    for (int row = 0; row < rows->Count() && row < MaxDrives; ++row) {
        TListItem* item = rows->Item(row);
        if (!item->Checked()) continue;
        TTextTrayIcon*& icon = TrayIcons[static_cast<size_t>(row)];
        if (Mode == 1) {
            FreeAndNil(icon);
            icon = MakeTrayIcon(row);
            continue;
        }
        // Every refresh comes here: an icon is drawn and handed to the shell
        // again only when its text or hint changed.
        if (icon) {
            const std::string text = SubItem(item, TemperatureSubItem);
            if (icon->Text() != text) icon->SetText(text);
            if (icon->Hint() != item->Caption()) icon->SetHint(item->Caption());
        }
    }
    if (Mode == 1) HoldTrayIcons();
}

void TMainForm::HoldTrayIcons() {
    // Under Wine each icon costs the shell several milliseconds, about what
    // a bare window's whole start costs: the window paints first. Icons made
    // while others wait go with them.
    if (!trayIconsHeld_ && Showing()) {
        trayIconsHeld_ = true;
        ShowHeldTrayIcons();
        return;
    }
    trayIconsHeld_ = true;
    if (!trayIconsTimer_) {
        trayIconsTimer_ = Create<TTimer>(this);
        trayIconsTimer_->SetInterval(1);
        trayIconsTimer_->OnTimer = TNotifyEvent(this, &TMainForm::TrayIconsTimer);
    }
    trayIconsTimer_->SetEnabled(true);
}

void TMainForm::TrayIconsTimer(TObject*) {
    ShowHeldTrayIcons();
}

void TMainForm::ShowHeldTrayIcons() {
    if (trayIconsTimer_) trayIconsTimer_->SetEnabled(false);
    if (!trayIconsHeld_) return;
    trayIconsHeld_ = false;
    StartupStepDone("after the first paint: the loop comes back");
    if (!NotifyTrayIcon1->IconVisible()) NotifyTrayIcon1->SetIconVisible(true);
    StartupStepDone("after the first paint: the program's tray icon");
    for (TTextTrayIcon* icon : TrayIcons)
        if (icon && !icon->IconVisible()) icon->SetIconVisible(true);
    StartupStepDone("after the first paint: the text icons");
}

void TMainForm::CreateReg() {
    TListItems* rows = lvDrvList->Items();
    for (int row = 0; row < rows->Count(); ++row) {
        const int number = RowDrive(row);
        if (number < 0) continue;
        // Detection's reading: a start reads each drive once.
        const TSmartResult& smart = LastReading(number);
        auto key = driveSettings_.OpenForWriting(rows->Item(row)->Caption());
        if (!key) continue;
        // A value that is there but cannot be read as an integer was written
        // by an earlier start or by hand: the actions beside it are the user's.
        const auto stored = ReadStoredInteger(key.get(), "CreateReg");
        const bool written = stored ? *stored != 0 : key->ValueExists("CreateReg");
        if (!written) {
            for (int slot = 0; slot < smart.AttrCount && slot < SmartResultSlots; ++slot) {
                const std::string& name = smart.AttrName[static_cast<size_t>(slot)];
                if (name != TemperatureAttribute) key->WriteString(name, DefaultAlertAction);
            }
        }
        key->WriteInteger("CreateReg", 1);
    }
}

void TMainForm::LoadThresholds() {
    TListItems* rows = lvDrvList->Items();
    for (int row = 0; row < rows->Count(); ++row) {
        const int number = RowDrive(row);
        if (number < 0 || !rows->Item(row)->Checked()) continue;
        if (const auto threshold =
                ReadStoredInteger(OpenDriveSettings(rows->Item(row)->Caption(), false).get(), "Temperature"))
            TempThresholds[static_cast<size_t>(number)] = *threshold;
    }
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = Application->MessageBox(CloseQuestion, "Vexmora", MB_YESNO | MB_ICONWARNING) == IDYES;
    if (CanClose) {
        tmr1->SetEnabled(false);
        tmr2->SetEnabled(false);
    }
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
    StopWatching();
    // Icons still waiting for the first paint never come.
    if (trayIconsTimer_) trayIconsTimer_->SetEnabled(false);
    trayIconsHeld_ = false;
    for (TTextTrayIcon*& icon : TrayIcons) FreeAndNil(icon);
}

void TMainForm::Max1Click(TObject*) {
    NotifyTrayIcon1->ShowMainForm();
}

void TMainForm::NotifyTrayIcon1DblClick(TObject*) {
    NotifyTrayIcon1->ShowMainForm();
}

void TMainForm::Exit1Click(TObject*) {
    StopWatching();
    Application->Terminate();
}

void TMainForm::SaveLog() {
    std::wstring error;
    if (!SaveEventLog(LogThis, error)) ShowLogError(error);
}

void TMainForm::ShowLogError(const std::wstring& Error) {
    if (logErrorShown_) return;
    logErrorShown_ = true;
    Application->MessageBox(Error, L"Vexmora", MB_OK | MB_ICONSTOP);
}
