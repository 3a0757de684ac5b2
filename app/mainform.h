// `TMainForm`, the main window: the drive list `lvDrvList` filled by
// `SmartDetect` from a worker while the window shows, one notification-area
// text icon per monitored drive (`TaryReNew`), the application's own tray
// icon with the tray menu `pm1`, the default alert actions (`CreateReg`),
// the close query, and the watching: the 2-second refresh (`tmr1`), the poll
// check (`tmr2`) and the actions (alert, mail, shutdown, reboot); the pages
// behind the side group bar and their handlers (mainform_pages*.cpp).
#pragma once

#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/drive_settings.h"
#include "app/drive_tables.h"
#include "app/gui_handoff.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/forms.h"
#include "engine/smart_result.h"

// The common dialogs' header names its edit controls edt1, edt2 ...; the
// form's edits carry the same names.
#include <dlgs.h>
#undef edt1
#undef edt2

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
struct TRefreshSnapshot;
class TRefreshWork;
struct TPlannedRead;
struct TReaderShare;
struct TDetectedDrive;
struct TFoundDrives;
class TTabSheet;
class TPageControl;
class TGroupBox;
class TLabel;
class TEdit;
class TComboBox;
class TCheckBox;
class TRadioButton;
class TSpinEdit;
class TImageList;
class TColorDialog;
class TScGroupBar;
class TScGroup;
class TScButton;
class TScBitBtn;
class TScLabel;
class TScURLLabel;
class TScVersionInfo;
class TZkSimScope;
class TZkLabel;
class TSbTitleBar;
class TSbStatusBar;
class TSbLabelItem;

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
    // Tray colours chosen for each drive-list row since the start (none:
    // not chosen; black is a colour like any other).
    std::array<std::optional<TColor>, MaxDrives> DriveColors{};
    // The physical drive number of each drive-list row, so that two drives
    // of one model keep their own readings.
    std::vector<int> RowDrives;

    // The drive number of a row, -1 for a row that does not exist.
    int RowDrive(int Row) const;

    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    // Finds the drives 0-23 on workers: each drive, as soon as its own read
    // returns, fills DriveModels, RowDrives and its row in drive order, and
    // is watched from then on (DriveFound; those found together in one list
    // update); DetectionDone follows once every number was looked at, all
    // on the GUI thread. The refresh and the poll run from the start.
    void SmartDetect();
    bool Detecting() const { return detecting_; }
    // What the last read of a drive number gave (detection's, then each
    // refresh's), and its size in whole GiB; the pages show these, so that
    // no page waits for a drive.
    const TSmartResult& LastReading(int Number) const;
    const std::string& DriveSizeText(int Number) const;
    // Gives the text icons of the checked rows their row's temperature and
    // model. Each icon is made as its drive is listed, and reaches the
    // notification area once the window has painted (ShowHeldTrayIcons).
    void TaryReNew();
    // Adds the program's icon NotifyTrayIcon1, then the text icons made
    // meanwhile, in row order; a timer calls it once nothing is left to
    // paint (timer messages come after paint messages), or a drive listed
    // at once when the window already shows.
    void ShowHeldTrayIcons();
    bool TrayIconsHeld() const { return trayIconsHeld_; }
    // Writes a drive's default alert actions, once, and none over an action
    // already stored. True once they are there; false while Smart has no
    // attributes (a failed read), which leaves the drive unmarked.
    bool CreateReg(const std::string& Model, const TSmartResult& Smart);

    // Starts one worker that reads the listed drives, except a drive whose
    // last read has not returned: it keeps its last reading meanwhile, and
    // the drives its worker has not reached go to this tick's.
    void tmr1Timer(TObject* Sender);
    // The poll check, unless one is running (its shutdown question is modal).
    void tmr2Timer(TObject* Sender);
    // Every checked row, on its drive's last reading (no drive is read
    // here): the temperature check, then the first attribute that is not
    // fine with an alert or mail action ends the poll. The next poll starts
    // at the drive after the one that ended this one, and that drive's scan
    // the next time after the attribute that ended it, so no drive in
    // trouble waits behind another.
    void SmartMessage();
    // The temperature check of drive Number at Temperature (GUI thread), on
    // the settings as held: its callers take the outside changes first.
    void SmartTemperature(int Number, int Temperature);
    // The drives' alert settings as the checks use them; every writer of a
    // drive's actions or threshold goes through it.
    TDriveSettingsStore& DriveSettings() { return driveSettings_; }
    // A refresh worker's readings into the cells (temperature and status)
    // and tray icons, with the temperature check; a drive's reading older
    // than one applied to it is dropped.
    void ApplyRefresh(TRefreshSnapshot Snapshot);

    // The actions; from any thread, each takes effect on the GUI thread.
    void DesktopMessage(const std::string& MessageText, const std::string& HeaderText);
    // True when the mail was queued; false without complete mail settings,
    // when an equal mail is still on its way, or off the GUI thread (where
    // it is handed over and queued later).
    bool SendMail(const std::string& Subject, const std::string& Body);
    // DoShutdown, unless an earlier request was taken.
    void RequestShutdown(bool Force, bool Reboot);

    // Stops the timers, disarms GUI work still queued, empties the mail
    // queue, aborts the mail in flight and tells the drive workers to stop;
    // waits for none of them. Idempotent.
    void StopWatching();
    void BeforeDestruction() override;

    // The row of a drive number, -1 when it is not listed.
    int RowOfDrive(int Number) const;
    TMessageBoxQueue* MessageBoxes() const { return boxes_.get(); }
    // Null until the first mail.
    TMailQueue* MailQueue() const { return mail_.get(); }

    struct TRefreshCounts {
        int Started = 0;
        int Skipped = 0;           // ticks that came while every listed drive was still being read
        int Applied = 0;           // ticks whose drives were all read, and snapshots applied from elsewhere
        int Readings = 0;          // drive readings applied
        unsigned LastApplied = 0;  // the sequence number of the newest snapshot applied
    };
    const TRefreshCounts& RefreshCounts() const { return refreshCounts_; }

    void Max1Click(TObject* Sender);
    void Exit1Click(TObject* Sender);
    void NotifyTrayIcon1DblClick(TObject* Sender);

    // The form resource.
    static void BuildForm(TComponent* Instance);

    // ---- The pages (mainform_pages*.cpp) ----
    // Holds every control, so that a title bar can take them over at once.
    TPanel* pnlContent = nullptr;
    TScGroupBar* GroupBar = nullptr;
    TScGroup* MainGroup = nullptr;
    TScGroup* PerformanceGroup = nullptr;
    TScGroup* ShowSystemTray = nullptr;
    TScGroup* AboutGroup = nullptr;
    TPageControl* pgc1 = nullptr;
    TTabSheet *ts1 = nullptr, *ts2 = nullptr, *ts3 = nullptr, *ts4 = nullptr, *ts5 = nullptr, *ts6 = nullptr;
    // Page 0: drive information.
    TGroupBox* grpDriveInfomation = nullptr;
    TLabel *lbl1 = nullptr, *lbl2 = nullptr, *lbl3 = nullptr, *lbl4 = nullptr, *lbl5 = nullptr,
           *lbl6 = nullptr, *lbl15 = nullptr, *lbl16 = nullptr;
    // Page 1: the attribute table.
    TGroupBox* grpMonitor = nullptr;
    TListView* lv1 = nullptr;
    // Page 2: the alert settings of the selected drive.
    TGroupBox* grpTemperature = nullptr;
    TEdit* edt1 = nullptr;
    TComboBox* cbMessage = nullptr;
    TLabel* lblTempCelcius = nullptr;
    TLabel* lblTempCur = nullptr;
    TListView* lv2 = nullptr;
    TGroupBox* grpStatus = nullptr;
    TRadioButton *rb1 = nullptr, *rb3 = nullptr, *rb4 = nullptr, *rb5 = nullptr, *rb6 = nullptr;
    TScButton* btnNotice = nullptr;
    // Page 3: the preferences.
    TCheckBox *chkSWS = nullptr, *chkLog = nullptr, *chkRWS = nullptr, *chkAutoRun = nullptr;
    TScBitBtn *BitBtnLogView = nullptr, *BitBtnColor = nullptr, *BitBtnMail = nullptr,
              *BitBtnOption = nullptr;
    TLabel *lblAutoNote1 = nullptr, *lblAutoNote2 = nullptr, *lblPoolTimer = nullptr, *lblMin = nullptr,
           *lblZeroNote = nullptr, *lblMailAddress = nullptr;
    TSpinEdit* seTime = nullptr;
    TComboBox* cbDriveColor = nullptr;
    TEdit* edt2 = nullptr;
    // Page 4: about.
    TImage* img1 = nullptr;
    TScLabel *lbl8 = nullptr, *lblVersion = nullptr, *lbl10 = nullptr, *lblWebsite = nullptr,
             *lblSupport = nullptr;
    TScURLLabel *TRR1 = nullptr, *TRR2 = nullptr;
    // Page 5: the temperature chart and its legend.
    TZkSimScope* PPerformance = nullptr;
    TZkLabel *ZkLabel1 = nullptr, *ZkLabel2 = nullptr;
    TLabel* lblTemp = nullptr;
    TListView* DrvColorList = nullptr;
    TImageList* il1 = nullptr;
    TColorDialog* dlgColorDrive = nullptr;
    TScVersionInfo* VInfo = nullptr;

    // Page loaders.
    void DriveInfomation();
    void SmartShow();
    void SmartDisk(int Number);
    // Page 2: the selected drive's temperature settings, then its attributes.
    void LoadAlertSettings();
    void AlratSetting(int Mode);
    void ReadOption();
    void FillPerformanceList();
    // Its legend alone, one line per drive row.
    void FillPerformanceLegend();
    // Mode 0 loads the radio buttons from the selected attribute's action,
    // mode 1 stores the checked one.
    void MessageSetting(int Mode);
    // A whole number of at least 21 that fits an Integer.
    static bool IntOnly(const std::string& Text);
    static std::string GetFactoryString(const std::string& Model);
    // The drive number of the selected row, -1 without one.
    int SelectedDrive() const;
    // A drive row's temperature cell.
    static std::string RowTemperature(TListItem* Row);

    void MainGroupItems0Click(TObject* Sender);
    void MainGroupItems1Click(TObject* Sender);
    void MainGroupItems2Click(TObject* Sender);
    void MainGroupItems3Click(TObject* Sender);
    void PerformanceGroupItems0Click(TObject* Sender);
    void AboutGroupItems0Click(TObject* Sender);
    void ts5Show(TObject* Sender);
    void ShowSystemTrayItems0Click(TObject* Sender);
    void pgc1Change(TObject* Sender);
    void lvDrvListClick(TObject* Sender);
    void lvDrvListSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void lvDrvListCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                                 bool& DefaultDraw);
    void lv1CustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                           bool& DefaultDraw);
    void DrvColorListCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                                    bool& DefaultDraw);
    void lv2Click(TObject* Sender);
    void lv2SelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void btnNoticeClick(TObject* Sender);
    void edt1KeyPress(TObject* Sender, char& Key);
    void btnColorClick(TObject* Sender);
    void cbDriveColorSelect(TObject* Sender);
    void btnOptionClick(TObject* Sender);
    void btnMailClick(TObject* Sender);
    void btnViewLogClick(TObject* Sender);
    void PPerformanceUpdate(TObject* Sender);
    void TextTrayIcon2DblClick(TObject* Sender);
    void FormActivate(TObject* Sender);

    static void BuildPages(TMainForm* Form);
    // ---- The skinned frame (mainform_frame.cpp) ----
    // The title bar holds every control; the status bar sits at its bottom.
    TSbTitleBar* SbTitleBar1 = nullptr;
    TSbStatusBar* SbStatusBar1 = nullptr;
    TSbLabelItem* SbLabelItem1 = nullptr;
    static void BuildFrame(TMainForm* Form);
    // The start-up part of the frame: status text, title caption, skin.
    void PrepareFrame();
    // The start-up part of the pages: about texts, version, page 0.
    void PreparePages();
    // The text icon of a row, made as the start-up and Apply make it, with
    // its colour, menu, text and hint, not yet in the notification area.
    TTextTrayIcon* MakeTrayIcon(int Row);

protected:
    ~TMainForm() override;

private:
    // Lists what the workers found since the last batch, as one batch.
    void DrivesFound();
    // The drive's row, its check, threshold, tray icon and default actions.
    void DriveFound(TDetectedDrive Drive);
    // The row-indexed tables make room for a row inserted at Row.
    void ShiftRowTables(int Row, const std::string& Model);
    // Row 0 chosen when the user chose none meanwhile, and the chart.
    void DetectionDone();
    // Row 0 chosen, with its page filled, when no drive is chosen yet.
    void ChooseFirstRowUnlessChosen();
    // The icons made so far reach the notification area after the first
    // paint, or at once when the window has painted already.
    void HoldTrayIcons();
    // The shell keeps its icons in the order they came: those of the rows
    // after Row leave, to come again behind Row's (ShowWatchedTrayIcons).
    void HideTrayIconsAfter(int Row);
    // Every hidden icon of a watched drive comes, in row order.
    void ShowWatchedTrayIcons();
    bool RowWatched(int Row) const;
    // The thresholds of the checked rows as stored, once the settings
    // changed since they were last taken.
    void TakeThresholdChanges();
    void TrayIconsTimer(TObject* Sender);
    // Saves the log; only the first failure of a run is shown.
    void SaveLog();
    void ShowLogError(const std::wstring& Error);
    // An alert mail's outcome (empty: it went): a failure is logged, as the
    // "Log" preference asks, when it starts or its reason changes.
    void MailOutcome(const std::string& Reason);
    // The attribute action's question, or "AutoRun"; false once a power
    // request was taken.
    bool ConfirmShutdown();
    // The selected drive's details on the page that shows.
    void ShowSelectedDrive();

    bool logErrorShown_ = false;
    // The row whose details the mouse press that selected it showed, so
    // that the click that follows does not show them again; compared only.
    const TListItem* detailsShownBySelection_ = nullptr;
    TLiveness liveness_;
    std::unique_ptr<TMessageBoxQueue> boxes_;
    std::unique_ptr<TMailQueue> mail_;
    // The mail failure logged last, until a mail goes.
    std::string loggedMailFailure_;
    // Set once: every drive worker (detection, refresh) stops at its next
    // drive. Shared with them, as they may outlive the form.
    std::shared_ptr<std::atomic<bool>> workersStop_ = std::make_shared<std::atomic<bool>>(false);
    bool detecting_ = false;
    std::shared_ptr<TFoundDrives> found_;
    // Set while a batch of found drives is listed; a failure to save the
    // log waits for its end, so that no modal loop runs inside a batch.
    bool listing_ = false;
    std::wstring heldLogError_;
    // The chart starts with the first drives listed, or at the end of a
    // detection that found none; later drives only join its legend.
    bool chartStarted_ = false;
    // A row came before others in the batch being listed: the chart's
    // picture is drawn again from the lines' histories.
    bool chartLinesMoved_ = false;
    // The subkeys of the settings key when detection started, and the
    // models the user took out of watching then; both compare without case.
    TOwned<TStringList> watchedAtStart_;
    TOwned<TStringList> unwatchedAtStart_;
    bool alertWarnings_ = false;
    bool logWarnings_ = false;
    std::array<TSmartResult, MaxDrives> lastReadings_{};
    std::array<std::string, MaxDrives> driveSizes_{};
    // Per drive number: the tick whose worker is to read it (0: none), and
    // the sequence of the last reading applied.
    std::array<unsigned, MaxDrives> claimedBy_{};
    std::array<unsigned, MaxDrives> appliedSequence_{};
    // The ticks whose drives have not all landed: how many are left, and
    // their workers that read more than one drive.
    struct TTickInFlight {
        int Left = 0;
        std::vector<std::shared_ptr<TRefreshWork>> Works;
    };
    std::map<unsigned, TTickInFlight> ticks_;
    // A tick's drives are shared out so that each worker's reads, as long as
    // they last took, end within ReadBudgetMs, well before the next tick. A
    // worker whose read runs HeldReadMs past what it last took, or whose
    // drives left could no longer end in time, hands those on; it is looked
    // at this often while it has drives left.
    static constexpr int ReadBudgetMs = 1500;
    static constexpr int HeldReadMs = 500;
    static constexpr unsigned HeldReadCheckMs = 250;
    std::array<std::chrono::milliseconds, MaxDrives> readTime_{};
    TTimer* heldReadsTimer_ = nullptr;
    void StartReaders(unsigned Sequence, const std::vector<int>& Drives);
    TReaderShare ReaderShare(unsigned Sequence, std::vector<TPlannedRead> Reads);
    void HeldReadsTimer(TObject* Sender);
    void HandOverHeldReads();
    // Releases Number from Sequence's tick; the tick counts as applied once
    // nothing of it is left.
    void ReleaseDrive(unsigned Sequence, int Number);
    unsigned refreshSequence_ = 0;
    TRefreshCounts refreshCounts_;
    TDriveSettingsStore driveSettings_;
    // The drive number whose attribute ended the last poll that ended
    // early (-1: none yet), and per drive the slot its next scan starts at.
    int pollEndedDrive_ = -1;
    std::array<int, MaxDrives> pollFirstSlot_{};
    bool polling_ = false;
    bool powerRequested_ = false;
    // Per drive number: its temperature mail went since it last read at or
    // below its threshold.
    std::array<bool, MaxDrives> temperatureMailed_{};
    TTimer* trayIconsTimer_ = nullptr;
    bool trayIconsHeld_ = false;
    // Per drive number: watched as its listing or the last Apply left it,
    // whatever its tick says meanwhile; its icon shows, and Apply stores a
    // tick that differs.
    std::array<bool, MaxDrives> watched_{};
    // Per drive number: its key waits for its default actions, which come
    // with the first reading that has attributes.
    std::array<bool, MaxDrives> defaultsPending_{};
    unsigned thresholdsGeneration_ = 0;
};

extern TMainForm* MainForm;
