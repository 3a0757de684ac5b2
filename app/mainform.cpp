#include "app/mainform.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "app/detection.h"
#include "app/event_log.h"
#include "app/mail_queue.h"
#include "app/page_rules.h"
#include "app/settings.h"
#include "app/startup_steps.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "notify/texttrayicon.h"
#include "notify/zklogfile.h"
#include "notify/zkscopelines.h"
#include "notify/zksimscope.h"

TMainForm* MainForm = nullptr;

// Drives the detection workers found that the GUI thread has yet to list.
struct TFoundDrives {
    std::mutex Lock;
    std::vector<TDetectedDrive> Drives;
    std::vector<TDetectedDrive> Take() {
        std::lock_guard guard(Lock);
        return std::exchange(Drives, {});
    }
};

namespace {

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
        // Taken before any drive is found: a drive's own defaults, written
        // when it is listed, must not make its twin count as watched.
        watchedAtStart_ = MakeOwned<TStringList>();
        if (settings) settings->GetKeyNames(watchedAtStart_.get());
        unwatchedAtStart_ = ReadUnwatchedModels(settings.get());
        // The poll looks at every drive listed so far, whatever the others do.
        if (const auto stored = ReadStoredInteger(settings.get(), "RTimer")) {
            const int interval = PollIntervalFromStore(*stored);
            if (interval != 0) tmr2->SetInterval(static_cast<unsigned>(interval));
            tmr2->SetEnabled(interval != 0);
        }
    }
    RowDrives.clear();
    for (std::string& model : DriveModels) model.clear();
    detecting_ = true;
    // Each drive is refreshed from the moment it is listed.
    tmr1->SetEnabled(true);
    TLiveness liveness = liveness_;
    found_ = std::make_shared<TFoundDrives>();
    Create<SmartDetector>(
        workersStop_,
        [this, liveness, found = found_](TDetectedDrive Drive) {
            bool first = false;
            {
                std::lock_guard guard(found->Lock);
                first = found->Drives.empty();
                found->Drives.push_back(std::move(Drive));
            }
            // The drives found while the GUI thread was busy go over as one,
            // so that the shown list repaints once for them, not once each.
            if (first) liveness.Queue([this] { DrivesFound(); });
        },
        [this, liveness] { liveness.Queue([this] { DetectionDone(); }); });
}

void TMainForm::DrivesFound() {
    {
        const TFlagScope listing(listing_);
        const TListItemsUpdate update(lvDrvList->Items());
        for (TDetectedDrive& drive : found_->Take()) DriveFound(std::move(drive));
    }
    StartupStepDone("drives listed");
    // The first drive listed fills the page when nothing is chosen yet, so a
    // drive that holds its read keeps no page empty; the choice stays with
    // its drive when a later one takes a row before it.
    ChooseFirstRowUnlessChosen();
    if (std::exchange(chartLinesMoved_, false)) PPerformance->ClearScreen();
    if (std::exchange(chartStarted_, true))
        FillPerformanceLegend();
    else
        FillPerformanceList();
    if (!heldLogError_.empty()) ShowLogError(std::exchange(heldLogError_, {}));
}

void TMainForm::DriveFound(TDetectedDrive Drive) {
    const auto number = static_cast<size_t>(Drive.Number);
    DriveModels[number] = Drive.Model;
    lastReadings_[number] = Drive.Smart;
    readTime_[number] = Drive.ReadTook;
    driveSizes_[number] = Drive.SizeGB;
    // Its place in drive order, whichever drives came before it.
    const auto place = std::lower_bound(RowDrives.begin(), RowDrives.end(), Drive.Number);
    const int row = static_cast<int>(place - RowDrives.begin());
    RowDrives.insert(place, Drive.Number);
    ShiftRowTables(row, Drive.Model);

    // The keyboard's place stays on its drive when a row comes before it.
    TListItem* focused = lvDrvList->ItemFocused();
    TListItem* item = lvDrvList->Items()->Insert(row);
    if (focused && !focused->Focused()) focused->SetFocused(true);
    item->SetCaption(Drive.Model);
    item->SubItems()->Add(Drive.Capacity);
    item->SubItems()->Add(Drive.Temperature);
    if (Drive.WarningSlot >= 0 && alertWarnings_) DesktopMessage(StartupAlertMessage(Drive), "Vexmora");
    if (Drive.WarningSlot >= 0 && logWarnings_) {
        const std::string& state = Drive.Smart.AttrStatus.at(static_cast<size_t>(Drive.WarningSlot));
        LogThis->Add(LogTimeText(Now()), state, StartupLogDescription(Drive));
    }
    item->SubItems()->Add(Drive.Status);
    SaveLog();

    // Watched from here on, whatever the other drives are doing.
    const bool watched = watchedAtStart_->IndexOf(Drive.Model) >= 0;
    watched_[number] = watched;
    if (watched) {
        item->SetChecked(true);
        // A stored threshold counts from its first refresh on, not only
        // after the first poll check (polling is off by default).
        if (const auto threshold =
                ReadStoredInteger(OpenDriveSettings(Drive.Model, false).get(), "Temperature"))
            TempThresholds[number] = *threshold;
        if (row < MaxDrives) {
            TrayIcons[static_cast<size_t>(row)] = MakeTrayIcon(row);
            HideTrayIconsAfter(row);
            HoldTrayIcons();
        }
    }
    // One the user took out of watching gets no key, which would have it
    // watched again from the next start.
    if (watched || unwatchedAtStart_->IndexOf(Drive.Model) < 0)
        defaultsPending_[number] = !CreateReg(Drive.Model, Drive.Smart);
}

void TMainForm::ShiftRowTables(int Row, const std::string& Model) {
    if (Row >= MaxDrives) return;
    const auto from = static_cast<std::ptrdiff_t>(Row);
    std::move_backward(TrayIcons.begin() + from, TrayIcons.end() - 1, TrayIcons.end());
    TrayIcons[static_cast<size_t>(Row)] = nullptr;
    std::move_backward(DriveColors.begin() + from, DriveColors.end() - 1, DriveColors.end());
    DriveColors[static_cast<size_t>(Row)] = std::nullopt;
    // The Preference page's drives and the colours chosen for them go by
    // row too.
    TStrings* colourDrives = cbDriveColor->Items();
    if (Row <= colourDrives->Count()) colourDrives->Insert(Row, Model);
    // A chart line's history goes with its drive; the new row's line starts
    // on the floor.
    TZkScopeLines* lines = PPerformance->Lines();
    const int used = std::min(static_cast<int>(RowDrives.size()), lines->Count());
    for (int k = used - 1; k > Row; --k) {
        TZkScopeLine* line = lines->Items(k);
        const TZkScopeLine* before = lines->Items(k - 1);
        line->Values().Assign(before->Values());
        line->SetPosition(before->Position());
        chartLinesMoved_ = true;
    }
    if (Row < lines->Count()) {
        lines->Items(Row)->Values().Clear();
        lines->Items(Row)->SetPosition(0);
    }
}

void TMainForm::DetectionDone() {
    detecting_ = false;
    StartupStepDone("detection");
    ChooseFirstRowUnlessChosen();
    // With no drive at all the chart starts too.
    if (!std::exchange(chartStarted_, true)) FillPerformanceList();
    StartupStepDone("chart");
}

void TMainForm::ChooseFirstRowUnlessChosen() {
    // A drive the user chose stays chosen, and the keyboard's place with it.
    // Without one, row 0 takes both, so the first arrow key moves from it.
    TListItems* rows = lvDrvList->Items();
    if (rows->Count() == 0 || lvDrvList->Selected()) return;
    rows->Item(0)->SetSelected(true);
    rows->Item(0)->SetFocused(true);
    DriveInfomation();
    StartupStepDone("page 0 filled");
}

const TSmartResult& TMainForm::LastReading(int Number) const {
    return lastReadings_.at(static_cast<size_t>(Number));
}

const std::string& TMainForm::DriveSizeText(int Number) const {
    return driveSizes_.at(static_cast<size_t>(Number));
}

void TMainForm::TaryReNew() {
    TListItems* rows = lvDrvList->Items();
    for (int row = 0; row < rows->Count() && row < MaxDrives; ++row) {
        TListItem* item = rows->Item(row);
        TTextTrayIcon* icon = TrayIcons[static_cast<size_t>(row)];
        if (!item->Checked() || !icon) continue;
        // Every refresh comes here: an icon is drawn and handed to the shell
        // again only when its text or hint changed.
        const std::string text = SubItem(item, TemperatureSubItem);
        if (icon->Text() != text) icon->SetText(text);
        if (icon->Hint() != item->Caption()) icon->SetHint(item->Caption());
    }
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
    ShowWatchedTrayIcons();
    StartupStepDone("after the first paint: the text icons");
}

bool TMainForm::RowWatched(int Row) const {
    const int number = RowDrive(Row);
    return number >= 0 && watched_[static_cast<size_t>(number)];
}

void TMainForm::HideTrayIconsAfter(int Row) {
    for (size_t after = static_cast<size_t>(Row) + 1; after < TrayIcons.size(); ++after)
        if (TrayIcons[after] && TrayIcons[after]->IconVisible()) TrayIcons[after]->SetIconVisible(false);
}

void TMainForm::ShowWatchedTrayIcons() {
    // An icon that Apply took away for an unticked drive stays away; one
    // unticked since then stays until Apply.
    const int rows = std::min(lvDrvList->Items()->Count(), MaxDrives);
    for (int row = 0; row < rows; ++row) {
        TTextTrayIcon* icon = TrayIcons[static_cast<size_t>(row)];
        if (icon && !icon->IconVisible() && RowWatched(row)) icon->SetIconVisible(true);
    }
}

bool TMainForm::CreateReg(const std::string& Model, const TSmartResult& Smart) {
    auto key = driveSettings_.OpenForWriting(Model);
    if (!key) return false;
    // A value that is there but cannot be read as an integer was written
    // by an earlier start or by hand: the actions beside it are the user's.
    const auto stored = ReadStoredInteger(key.get(), "CreateReg");
    const bool written = stored ? *stored != 0 : key->ValueExists("CreateReg");
    if (!written) {
        // A read that failed names no attribute: marked now, the drive would
        // never get an action, at this start or any later one.
        if (Smart.AttrCount <= 0) return false;
        for (int slot = 0; slot < Smart.AttrCount && slot < SmartResultSlots; ++slot) {
            const std::string& name = Smart.AttrName[static_cast<size_t>(slot)];
            // An action already there was chosen by someone: it stays.
            if (name != TemperatureAttribute && !key->ValueExists(name))
                key->WriteString(name, DefaultAlertAction);
        }
    }
    key->WriteInteger("CreateReg", 1);
    return true;
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
    if (SaveEventLog(LogThis, error)) return;
    // Its box's loop would run the detection's next hand-over in the
    // middle of this batch: it shows once the batch is done.
    if (listing_) {
        if (heldLogError_.empty()) heldLogError_ = error;
        return;
    }
    ShowLogError(error);
}

void TMainForm::ShowLogError(const std::wstring& Error) {
    if (logErrorShown_) return;
    logErrorShown_ = true;
    Application->MessageBox(Error, L"Vexmora", MB_OK | MB_ICONSTOP);
}
