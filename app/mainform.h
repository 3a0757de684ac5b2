// `TMainForm`, the main window: the drive list `lvDrvList` filled by
// `SmartDetect` at start-up, one notification-area text icon per monitored
// drive (`TaryReNew`), the application's own tray icon with the tray menu
// `pm1`, the default alert actions (`CreateReg`) and the close query.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/drive_tables.h"
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

class TMainForm : public TForm {
    VX_CLASS(TMainForm, TForm)
public:
    // Filled from its form resource, then FormCreate runs.
    explicit TMainForm(TComponent* AOwner) : inherited(AOwner) {}

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

    void Max1Click(TObject* Sender);
    void Exit1Click(TObject* Sender);
    void NotifyTrayIcon1DblClick(TObject* Sender);

    // The form resource.
    static void BuildForm(TComponent* Instance);

private:
    // Saves the log; only the first failure of a run is shown.
    void SaveLog();
    void ShowLogError(const std::string& Error);

    bool logErrorShown_ = false;
};

extern TMainForm* MainForm;
