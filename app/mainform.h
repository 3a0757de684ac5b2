// `TMainForm`, the main window: the drive list `lvDrvList` filled by
// `SmartDetect` at start-up, one notification-area text icon per monitored
// drive (`TaryReNew`), the application's own tray icon with the tray menu
// `pm1`, the default alert actions (`CreateReg`), the close query, and the
// watching: the 2-second refresh (`tmr1`), the poll check (`tmr2`) and the
// actions (alert, mail, shutdown, reboot).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/drive_tables.h"
#include "app/gui_handoff.h"
#include "classlib/windows/forms.h"

class TListView;
class TListItem;
class TPanel;
class TTimer;
class TPopupMenu;
class TMenuItem;
class TNotifyTrayIcon;
class TTextTrayIcon;
class TZkLogFile;
class TImage;
class TZkDesktopAlert;
class TSMTPMailer;
class TMimeMessage;
class TMailQueue;
class SmartNew;
struct TRefreshSnapshot;

class TMainForm : public TForm {
    VX_CLASS(TMainForm, TForm)
public:
    // Filled from its form resource, then FormCreate runs.
    explicit TMainForm(TComponent* AOwner);

    // Components of the form resource.
    TPanel* Panel1 = nullptr;
    TListView* lvDrvList = nullptr;
    TTimer* tmr1 = nullptr;
    TTimer* tmr2 = nullptr;
    TZkLogFile* LogThis = nullptr;
    TNotifyTrayIcon* NotifyTrayIcon1 = nullptr;
    TTextTrayIcon* TextTrayIcon1 = nullptr;
    TPopupMenu* pm1 = nullptr;
    TMenuItem* Max1 = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    TImage* Image1 = nullptr;
    TSMTPMailer* SMTPM = nullptr;
    TMimeMessage* MimeMessage1 = nullptr;
    // The component that owns every alert made here.
    TZkDesktopAlert* ZkDesktopAlert1 = nullptr;

    // The text icon of each drive-list row (null: none yet).
    std::array<TTextTrayIcon*, MaxDrives> TrayIcons{};
    // Tray colours chosen for each drive-list row since the start (0: none).
    std::array<TColor, MaxDrives> DriveColors{};
    // The physical drive number of each drive-list row, so that two drives
    // of one model keep their own readings.
    std::vector<int> RowDrives;

    // The drive number of a row, -1 for a row that does not exist.
    int RowDrive(int Row) const;

    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    // Finds the drives 0-23 and fills DriveModels, RowDrives and the list.
    void SmartDetect();
    // Mode 1 makes the text icons of the checked rows; every mode gives them
    // their row's temperature and model.
    void TaryReNew(unsigned char Mode);
    // Writes the default alert actions of every listed drive, once.
    void CreateReg();

    // A new refresh worker, unless the last one has not been applied yet.
    void tmr1Timer(TObject* Sender);
    // The poll check, unless one is running (its shutdown question is modal).
    void tmr2Timer(TObject* Sender);
    // Every checked row: the temperature check, then the first attribute
    // that is not fine with an alert or mail action ends the poll.
    void SmartMessage();
    // The temperature check of drive Number at Temperature (GUI thread).
    void SmartTemperature(int Number, int Temperature);
    // A refresh worker's readings into the cells and tray icons, with the
    // temperature check; a snapshot older than one applied is dropped.
    void ApplyRefresh(TRefreshSnapshot Snapshot);

    // The actions; from any thread, each takes effect on the GUI thread.
    void DesktopMessage(const std::string& MessageText, const std::string& HeaderText);
    void SendMail(const std::string& Subject, const std::string& Body);
    // DoShutdown, unless an earlier request was taken.
    void RequestShutdown(bool Force, bool Reboot);

    // Stops the timers, disarms GUI work still queued, empties the mail
    // queue, aborts the mail in flight and joins every worker. Idempotent.
    void StopWatching();
    void BeforeDestruction() override;

    // The row of a drive number, -1 when it is not listed.
    int RowOfDrive(int Number) const;
    TMessageBoxQueue* MessageBoxes() const { return boxes_.get(); }
    // Null until the first mail.
    TMailQueue* MailQueue() const { return mail_.get(); }

    struct TRefreshCounts {
        int Started = 0;
        int Skipped = 0;  // ticks that came while a refresh was still running
        int Applied = 0;
        unsigned LastApplied = 0;  // the sequence number of the newest snapshot applied
    };
    const TRefreshCounts& RefreshCounts() const { return refreshCounts_; }

    void Max1Click(TObject* Sender);
    void Exit1Click(TObject* Sender);
    void NotifyTrayIcon1DblClick(TObject* Sender);

    // The form resource.
    static void BuildForm(TComponent* Instance);

protected:
    ~TMainForm() override;

private:
    // Saves the log; only the first failure of a run is shown.
    void SaveLog();
    void ShowLogError(const std::string& Error);
    // The attribute action's question, or "AutoRun"; false once a power
    // request was taken.
    bool ConfirmShutdown();

    bool logErrorShown_ = false;
    TLiveness liveness_;
    std::unique_ptr<TMessageBoxQueue> boxes_;
    std::unique_ptr<TMailQueue> mail_;
    SmartNew* refresher_ = nullptr;
    bool refreshBusy_ = false;
    unsigned refreshSequence_ = 0;
    TRefreshCounts refreshCounts_;
    bool polling_ = false;
    bool powerRequested_ = false;
};

extern TMainForm* MainForm;
