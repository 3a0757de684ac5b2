// TMainForm's watching: the 2-second refresh, the poll check, the actions
// they call, and stopping all of it when the program ends.
#include <algorithm>

#include "app/alert_mail.h"
#include "app/desktop_alerts.h"
#include "app/detection.h"
#include "app/event_log.h"
#include "app/mail_queue.h"
#include "app/mainform.h"
#include "app/power.h"
#include "app/refresh.h"
#include "app/settings.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/image.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "classlib/windows/dispatcher.h"
#include "classlib/windows/timer.h"
#include "notify/zkdesktopalert.h"
#include "notify/zklogfile.h"

namespace {

const char* const TemperatureAttribute = "Temperature Celcius";
const char* const ShowMessageAction = "Show message";
const char* const ShutdownAction = "Shutdown Computer";
const char* const RebootAction = "Reboot Computer";
const char* const SendMailAction = "Send mail";
const char* const ShutdownQuestion = "Vexmora will shutdown your computer are you sure?";
constexpr int TemperatureSubItem = 1;
constexpr int StatusSubItem = 2;

}  // namespace

int TMainForm::RowOfDrive(int Number) const {
    for (size_t row = 0; row < RowDrives.size(); ++row)
        if (RowDrives[row] == Number) return static_cast<int>(row);
    return -1;
}

void TMainForm::tmr1Timer(TObject*) {
    HandOverHeldReads();
    // None for a drive whose read has not returned, so that an older
    // reading can never land on a newer one.
    std::vector<int> idle;
    for (const int number : RowDrives)
        if (claimedBy_[static_cast<size_t>(number)] == 0) idle.push_back(number);
    if (idle.empty()) {
        if (!RowDrives.empty()) ++refreshCounts_.Skipped;
        return;
    }
    ++refreshCounts_.Started;
    const unsigned sequence = ++refreshSequence_;
    for (const int number : idle) claimedBy_[static_cast<size_t>(number)] = sequence;
    ticks_[sequence].Left = static_cast<int>(idle.size());
    StartReaders(sequence, idle);
}

void TMainForm::StartReaders(unsigned Sequence, const std::vector<int>& Drives) {
    // As many workers as the reads' last times ask for: one in a day of
    // quick drives, and more only where one could not read them all within
    // the tick.
    std::vector<TPlannedRead> reads;
    for (const int number : Drives) reads.push_back({number, readTime_[static_cast<size_t>(number)]});
    std::vector<TReaderShare> shares;
    for (std::vector<TPlannedRead>& share : SplitByReadTime(reads, std::chrono::milliseconds(ReadBudgetMs)))
        shares.push_back(ReaderShare(Sequence, std::move(share)));
    Create<SmartNew>(Sequence, std::move(shares), workersStop_);
}

TReaderShare TMainForm::ReaderShare(unsigned Sequence, std::vector<TPlannedRead> Reads) {
    const bool several = Reads.size() > 1;
    auto work = std::make_shared<TRefreshWork>(std::move(Reads), std::chrono::milliseconds(ReadBudgetMs));
    if (several) {
        // Only a worker with drives after the one it is at can hold any back.
        ticks_[Sequence].Works.push_back(work);
        if (!heldReadsTimer_) {
            heldReadsTimer_ = Create<TTimer>(this);
            heldReadsTimer_->SetInterval(HeldReadCheckMs);
            heldReadsTimer_->OnTimer = TNotifyEvent(this, &TMainForm::HeldReadsTimer);
        }
        // Stopped by its own next look once no worker has drives left: a
        // stop here would cost each tick a second call to the server.
        if (!heldReadsTimer_->Enabled()) heldReadsTimer_->SetEnabled(true);
    }
    TLiveness liveness = liveness_;
    auto landed = std::make_shared<TLandedReadings>(Sequence);
    return {std::move(work), [this, liveness, landed](TRefreshSnapshot Snapshot) {
                // The readings that land while the GUI thread is busy are applied as one.
                if (landed->Add(std::move(Snapshot)))
                    liveness.Queue([this, landed] { ApplyRefresh(landed->Take()); });
            }};
}

void TMainForm::HeldReadsTimer(TObject*) {
    HandOverHeldReads();
}

void TMainForm::HandOverHeldReads() {
    // The drives a held worker has not reached go on under its tick's
    // number: nothing newer was read of them meanwhile.
    std::vector<std::pair<unsigned, std::vector<int>>> handedOver;
    bool pending = false;
    for (auto& [sequence, tick] : ticks_) {
        for (const std::shared_ptr<TRefreshWork>& work : tick.Works) {
            std::vector<int> rest = work->TakeBackIfLate(std::chrono::milliseconds(HeldReadMs));
            if (!rest.empty()) handedOver.emplace_back(sequence, std::move(rest));
        }
        std::erase_if(tick.Works, [](const std::shared_ptr<TRefreshWork>& Work) { return !Work->Pending(); });
        pending = pending || !tick.Works.empty();
    }
    if (heldReadsTimer_ && !pending) heldReadsTimer_->SetEnabled(false);
    for (const auto& [sequence, drives] : handedOver) StartReaders(sequence, drives);
}

void TMainForm::ReleaseDrive(unsigned Sequence, int Number) {
    if (Number < 0 || Number >= MaxDrives) return;
    unsigned& claim = claimedBy_[static_cast<size_t>(Number)];
    if (claim != Sequence) return;
    claim = 0;
    const auto tick = ticks_.find(Sequence);
    if (tick != ticks_.end() && --tick->second.Left <= 0) {
        ticks_.erase(tick);
        ++refreshCounts_.Applied;
    }
}

void TMainForm::ApplyRefresh(TRefreshSnapshot Snapshot) {
    // A snapshot from elsewhere counts on its own.
    if (!ticks_.count(Snapshot.Sequence)) ++refreshCounts_.Applied;
    for (const int number : Snapshot.Drives) ReleaseDrive(Snapshot.Sequence, number);
    refreshCounts_.LastApplied = std::max(refreshCounts_.LastApplied, Snapshot.Sequence);
    // The next worker's readings count as newer than these, wherever these came from.
    refreshSequence_ = std::max(refreshSequence_, Snapshot.Sequence);
    TakeThresholdChanges();
    TListItems* rows = lvDrvList->Items();
    for (TDriveReading& reading : Snapshot.Readings) {
        // The next tick shares the drives out by these times.
        if (reading.Number >= 0 && reading.Number < MaxDrives)
            readTime_[static_cast<size_t>(reading.Number)] = reading.Took;
        // Looked up now: a drive listed meanwhile may have moved the row.
        const int row = RowOfDrive(reading.Number);
        if (row < 0 || row >= rows->Count()) continue;
        unsigned& applied = appliedSequence_[static_cast<size_t>(reading.Number)];
        if (Snapshot.Sequence <= applied) continue;
        applied = Snapshot.Sequence;
        ++refreshCounts_.Readings;
        TListItem* item = rows->Item(row);
        TStrings* cells = item->SubItems();
        const std::string temperature = IntToStr(reading.Temperature);
        if (TemperatureSubItem < cells->Count() && cells->Strings(TemperatureSubItem) != temperature)
            cells->SetStrings(TemperatureSubItem, temperature);
        int warningSlot = -1;
        const std::string status = DriveStatus(reading.Smart, warningSlot);
        if (StatusSubItem < cells->Count() && cells->Strings(StatusSubItem) != status) {
            cells->SetStrings(StatusSubItem, status);
            // The whole row takes the status's colour.
            item->Update();
        }
        bool& defaultsPending = defaultsPending_[static_cast<size_t>(reading.Number)];
        if (defaultsPending && reading.Smart.AttrCount > 0)
            defaultsPending = !CreateReg(item->Caption(), reading.Smart);
        lastReadings_[static_cast<size_t>(reading.Number)] = std::move(reading.Smart);
        const int threshold = TempThresholds[static_cast<size_t>(reading.Number)];
        if (threshold >= 1 && threshold < reading.Temperature)
            SmartTemperature(reading.Number, reading.Temperature);
        else if (reading.Read)
            temperatureMailed_[static_cast<size_t>(reading.Number)] = false;
    }
    TaryReNew();
}

void TMainForm::TakeThresholdChanges() {
    // Nothing changed: one look at the change notification, no key read.
    driveSettings_.TakeOutsideChanges();
    if (driveSettings_.Generation() == thresholdsGeneration_) return;
    thresholdsGeneration_ = driveSettings_.Generation();
    // A threshold edited by hand, up or down, counts from this refresh on.
    TListItems* rows = lvDrvList->Items();
    for (int row = 0; row < rows->Count(); ++row) {
        const int number = RowDrive(row);
        if (number < 0 || !rows->Item(row)->Checked()) continue;
        if (const auto threshold = driveSettings_.Of(rows->Item(row)->Caption())->Threshold)
            TempThresholds[static_cast<size_t>(number)] = *threshold;
    }
}

void TMainForm::SmartTemperature(int Number, int Temperature) {
    const int row = RowOfDrive(Number);
    if (row < 0 || row >= lvDrvList->Items()->Count()) return;
    TListItem* item = lvDrvList->Items()->Item(row);
    if (!item->Checked()) return;
    const auto settings = driveSettings_.Of(item->Caption());
    if (!settings->Threshold) return;
    const int threshold = *settings->Threshold;
    TempThresholds[static_cast<size_t>(Number)] = threshold;
    if (!(threshold < Temperature)) {
        // Cooled down: the next crossing mails again. A failed read
        // gives 0, which is no reading at all.
        if (Temperature > 0) temperatureMailed_[static_cast<size_t>(Number)] = false;
        return;
    }
    const std::string& action = settings->Action(TemperatureAttribute);
    const std::string name = DriveAlertName(Number, RowDrives);
    // Every refresh while the drive stays hot: an alert that was closed
    // comes back (one still on screen is not stacked again).
    if (action == ShowMessageAction) {
        DesktopMessage("Temperature notify", name);
    } else if (action == ShutdownAction) {
        RequestShutdown(true, false);
    } else if (action == RebootAction) {
        RequestShutdown(false, true);
    } else if (action == SendMailAction) {
        // A mail cannot be closed like an alert: one per crossing, or the
        // inbox gets one every two seconds while the drive stays hot. A mail
        // that was not queued (settings incomplete, or an equal one still on
        // its way) is tried again at the next check.
        bool& mailed = temperatureMailed_[static_cast<size_t>(Number)];
        if (!mailed) mailed = SendMail(name + "Message", TemperatureAttribute);
    }
}

void TMainForm::tmr2Timer(TObject*) {
    // The shutdown question is modal and the timer keeps firing inside it.
    if (polling_) return;
    TFlagScope polling(polling_);
    SmartMessage();
}

void TMainForm::SmartMessage() {
    driveSettings_.TakeOutsideChanges();
    TListItems* rows = lvDrvList->Items();
    const int count = rows->Count();
    const int first = pollEndedDrive_ < 0 ? 0 : RowOfDrive(pollEndedDrive_) + 1;
    for (int step = 0; step < count; ++step) {
        // The rows may change while the shutdown question is open.
        const int row = (first + step) % count;
        if (row >= rows->Count() || !rows->Item(row)->Checked()) continue;
        const int number = RowDrive(row);
        if (number < 0) continue;
        // The last reading (detection's, then each refresh's), so that a
        // slow drive never holds the window; a failed read left temperature 0
        // and no attribute to look at. A copy, as a refresh may land while
        // the shutdown question is open.
        const TSmartResult smart = LastReading(number);
        SmartTemperature(number, smart.Temperature);
        const auto settings = driveSettings_.Of(rows->Item(row)->Caption());
        const int slots = std::min(smart.AttrCount, SmartResultSlots);
        int& firstSlot = pollFirstSlot_[static_cast<size_t>(number)];
        for (int k = 0; k < slots; ++k) {
            const int slot = (firstSlot + k) % slots;
            const std::string& name = smart.AttrName[static_cast<size_t>(slot)];
            if (IsFineState(smart.AttrStatus[static_cast<size_t>(slot)]) || name == TemperatureAttribute)
                continue;
            const std::string& action = settings->Action(name);
            const bool alert = action == ShowMessageAction, mail = action == SendMailAction;
            if (alert || mail) {
                pollEndedDrive_ = number;
                firstSlot = slot + 1;
                if (alert)
                    DesktopMessage(name + " waring", DriveAlertName(number, RowDrives));
                else
                    SendMail(DriveAlertName(number, RowDrives) + "Message", name);
                return;
            }
            if ((action == ShutdownAction || action == RebootAction) && ConfirmShutdown()) {
                const bool reboot = action == RebootAction;
                RequestShutdown(!reboot, reboot);
            }
        }
    }
}

bool TMainForm::ConfirmShutdown() {
    if (powerRequested_) return false;
    if (ReadRun() != 0) return true;
    return Application->MessageBox(ShutdownQuestion, "Vexmora",
                                   MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDOK;
}

void TMainForm::DesktopMessage(const std::string& MessageText, const std::string& HeaderText) {
    if (!IsGuiThread()) {
        liveness_.Queue([this, MessageText, HeaderText] { DesktopMessage(MessageText, HeaderText); });
        return;
    }
    DesktopAlerts().Show(ZkDesktopAlert1, Image1 ? Image1->Picture() : nullptr, MessageText, HeaderText);
}

bool TMainForm::SendMail(const std::string& Subject, const std::string& Body) {
    if (!IsGuiThread()) {
        liveness_.Queue([this, Subject, Body] { SendMail(Subject, Body); });
        return false;
    }
    if (!liveness_.Alive()) return false;
    // The worker would drop it when its turn came.
    if (!ReadMailSettings().Complete) return false;
    if (!mail_) {
        TMessageBoxQueue* boxes = boxes_.get();
        // Held by value: the mail worker may report after the form went.
        TLiveness liveness = liveness_;
        mail_ = std::make_unique<TMailQueue>(
            SMTPM, MimeMessage1, [boxes](const std::string& Text) { boxes->Show(Text); },
            [this, liveness](const std::string& Reason) {
                liveness.Queue([this, Reason] { MailOutcome(Reason); });
            });
    }
    return mail_->Add({Subject, Body});
}

void TMainForm::MailOutcome(const std::string& Reason) {
    if (Reason.empty()) {
        loggedMailFailure_.clear();
        return;
    }
    // The box cannot say why; the log keeps the reason for whoever mends the
    // settings. Once per trouble: a server down for a week would otherwise
    // add a record, and rewrite the whole file, at every poll.
    if (Reason == loggedMailFailure_) return;
    {
        auto settings = OpenSettings(false);
        if (ReadIntegerOr(settings.get(), "Log", 0) != 1) return;
    }
    loggedMailFailure_ = Reason;
    LogThis->Add(LogTimeText(Now()), CannotSendText, Reason);
    SaveLog();
}

void TMainForm::RequestShutdown(bool Force, bool Reboot) {
    if (!IsGuiThread()) {
        liveness_.Queue([this, Force, Reboot] { RequestShutdown(Force, Reboot); });
        return;
    }
    // One request is enough: the first one taken is already on its way.
    if (powerRequested_) return;
    TMessageBoxQueue* boxes = boxes_.get();
    powerRequested_ = DoShutdown(Force, Reboot, [boxes](const std::string& Text) { boxes->Show(Text); });
}

void TMainForm::StopWatching() {
    if (tmr1) tmr1->SetEnabled(false);
    if (tmr2) tmr2->SetEnabled(false);
    if (heldReadsTimer_) heldReadsTimer_->SetEnabled(false);
    liveness_.Disarm();
    if (mail_) mail_->Stop();
    // A worker stuck in a drive read is left to end by itself: it owns what
    // it touches, and what it hands over finds the liveness disarmed.
    workersStop_->store(true);
}

void TMainForm::BeforeDestruction() {
    StopWatching();
    inherited::BeforeDestruction();
}
