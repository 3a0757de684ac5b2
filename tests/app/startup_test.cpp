// Start-up as the program block runs it: the drive list, the log records,
// the default actions, the monitored rows with their text icons and the
// timers, read back from the list cells, the registry and the log file.
#include <algorithm>

#include "app/event_log.h"
#include "app/formlog.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/smtpform.h"
#include "classlib/core/files.h"
#include "classlib/stdctrls/combobox.h"
#include "classlib/stdctrls/label.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "notify/texttrayicon.h"
#include "notify/zklogfile.h"
#include "notify/zkscopelines.h"
#include "notify/zksimscope.h"
#include "platform/drive_set_file.h"
#include "tests/app/program_fixture.h"
#include "tests/app/stored_settings.h"
#include "tests/app/watch_support.h"
#include "tests/support/pump.h"

namespace {

using Table = std::vector<std::vector<std::string>>;

// Drive 0 is fine; drive 2 (drive 1 is absent) has its first attribute
// that is not fine in slot 5, and another one after it.
const char* const GappedDrives = R"(
[drive 0]
wmi model = FINE DISK
disk size = 2147483648
attribute 0 = 194 0x0022 30 40 0 30
[drive 2]
wmi model = TIRED DISK
disk size = 1073741824
attribute 0 = 1 0x000F 100 100 6 0
attribute 1 = 3 0x0003 97 97 0 0
attribute 2 = 4 0x0032 100 100 20 0
attribute 3 = 9 0x0032 89 89 0 9876
attribute 4 = 194 0x0022 44 50 0 44
attribute 5 = 7 0x000F 40 40 50 0
attribute 6 = 10 0x0013 10 10 97 0
)";

void SetOrDelete(const std::string& Name, bool Present, int Value) {
    auto settings = OpenSettings(true);
    if (Present)
        settings->WriteInteger(Name, Value);
    else
        settings->DeleteValue(Name);
}

}  // namespace

TEST_F(ProgramTest, ExampleDrivesListOneRowPerDrive) {
    StartWithExampleDrives();
    EXPECT_EQ(Cells(), (Table{{"ST3500418AS", "465 GB", "28", "OK"},
                              {"WDC WD10EADS-00L5B1", "931 GB", "35", "Warning"},
                              {"FUJITSU MHV2080AH", "74 GB", "41", "Warning"},
                              {"IC35L120AVV207-0", "115 GB", "58", "OK"}}));
    EXPECT_EQ(MainForm->Caption(), "Zantipelle Vexmora Ultimate ");
    EXPECT_EQ(MainForm->lvDrvList->Columns()->Items(0)->Width(), 389 - 80 - 50 - 80);
    EXPECT_TRUE(Rows()->Item(0)->Selected());
    std::vector<std::string> forms;
    // The hint manager comes with the first hint of whichever test showed one.
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (dynamic_cast<TCustomForm*>(Application->Components(i)))
            forms.push_back(Application->Components(i)->ClassName());
    EXPECT_EQ(forms, (std::vector<std::string>{"TMainForm", "TSmtp", "TFormLog"}));
    EXPECT_EQ(Smtp->Caption(), "SMTP server setting");
    EXPECT_EQ(FormLog->Caption(), "LogView");
    EXPECT_TRUE(exceptions.empty());
    EXPECT_TRUE(boxes.Asked().empty());
}

TEST_F(ProgramTest, RowsKeepTheirOwnDriveNumbers) {
    Start(R"(
[drive 0]
wmi model = TWIN
attribute 0 = 194 0x0022 30 40 0 30
[drive 2]
wmi model = TWIN
attribute 0 = 194 0x0022 51 60 0 51
attribute 1 = 5 0x0033 100 100 36 0
)");
    EXPECT_EQ(Cells(), (Table{{"TWIN", "0 GB", "30", "OK"}, {"TWIN", "0 GB", "51", "OK"}}));
    EXPECT_EQ(MainForm->RowDrives, (std::vector<int>{0, 2}));
    EXPECT_EQ(MainForm->RowDrive(2), -1);
    EXPECT_EQ(DriveModels[1], "");
    EXPECT_EQ(DriveModels[2], "TWIN");
}

TEST_F(ProgramTest, FirstAttributeNotFineGivesOneLogRecordWhenLogIsOne) {
    struct Case {
        bool present;
        int log;
        int records;
    };
    for (const Case& c : {Case{false, 0, 0}, Case{true, 2, 0}, Case{true, 1, 1}}) {
        SCOPED_TRACE(c.log);
        SetOrDelete("Log", c.present, c.log);
        Start(GappedDrives);
        ASSERT_EQ(MainForm->LogThis->Count(), c.records);
        // Saved after every drive, records or not.
        EXPECT_TRUE(FileExists(LogFileName));
    }
    const TZkLogRecord& record = MainForm->LogThis->Records(0);
    EXPECT_EQ(record.Title, "Failing Now");
    EXPECT_EQ(record.Description, "TIRED DISK Seek Error Rate");
    EXPECT_EQ(ReadTextFile(LogFileName), LogRecordLine(record) + "\r\n");

    // The next start loads the file and adds its own record.
    Start(GappedDrives);
    EXPECT_EQ(MainForm->LogThis->Count(), 2);
}

TEST_F(ProgramTest, AStartReadsEachDriveOnceAndThePagesShowThatReading) {
    auto drives = std::make_shared<TGatedDrives>(GappedDrives);
    StartWith(drives);
    MainForm->tmr1->SetEnabled(false);
    MainForm->MainGroupItems1Click(nullptr);
    MainForm->MainGroupItems2Click(nullptr);
    MainForm->MainGroupItems0Click(nullptr);
    for (int number : {0, 2}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(drives->Opens("\\\\.\\PhysicalDrive" + std::to_string(number)), 1);  // S.M.A.R.T.
        EXPECT_EQ(drives->Opens("\\\\.\\PHYSICALDRIVE" + std::to_string(number)), 1);  // size
    }
    EXPECT_EQ(MainForm->lbl15->Caption(), "Size: 2GB");
    EXPECT_EQ(MainForm->lbl5->Caption(), "Temperature: 30");
}

TEST_F(ProgramTest, ADriveStillBeingReadHoldsBackOnlyItselfAndTakesItsPlaceOnceRead) {
    // Watched since an earlier start.
    OpenDriveSettings("FINE DISK", true);
    OpenDriveSettings("TIRED DISK", true);
    auto drives = std::make_shared<TGatedDrives>(GappedDrives);
    drives->Shut(0);
    waitForTrayIcons = false;
    showAtStart = true;
    StartWith(drives);
    // Shown, painting, and drive 2 listed and watched while drive 0's read waits at the gate.
    ASSERT_TRUE(PumpUntil([&] { return drives->Waiting() == 1 && Rows()->Count() == 1; }));
    ASSERT_TRUE(PumpUntil([] { return MainForm->TrayIcons[0] && MainForm->TrayIcons[0]->IconVisible(); }));
    EXPECT_TRUE(IsWindowVisible(MainForm->Handle()));
    EXPECT_FALSE(GetUpdateRect(MainForm->Handle(), nullptr, FALSE));
    EXPECT_EQ(Cells(), (Table{{"TIRED DISK", "1 GB", "44", "Warning"}}));
    EXPECT_EQ(Checks(), (std::vector<bool>{true}));
    EXPECT_EQ(MainForm->TrayIcons[0]->Hint(), "TIRED DISK");
    EXPECT_EQ(StoredAction("TIRED DISK", "Seek Error Rate"), "Show message");
    EXPECT_TRUE(MainForm->Detecting());
    EXPECT_TRUE(MainForm->tmr1->Enabled());
    // The page shows the first drive listed, and the chart draws it.
    EXPECT_TRUE(Rows()->Item(0)->Selected());
    EXPECT_EQ(MainForm->lbl5->Caption(), "Temperature: 44");
    const auto history = [](int Line) {
        const TZkScopeLineValues& values = MainForm->PPerformance->Lines()->Items(Line)->Values();
        std::vector<int> drawn;
        for (int k = 0; k < values.Count(); ++k) drawn.push_back(values.Item(k));
        return drawn;
    };
    const auto drew44 = [&](int Line) {
        const std::vector<int> drawn = history(Line);
        return std::find(drawn.begin(), drawn.end(), 44) != drawn.end();
    };
    ASSERT_TRUE(PumpUntil([&] { return drew44(0); }));
    // A tray colour chosen for it meanwhile.
    MainForm->ReadOption();
    MainForm->DriveColors[0] = clRed;

    drives->Release();
    ASSERT_TRUE(PumpUntil([] { return !MainForm->Detecting(); }));
    EXPECT_EQ(Cells(), (Table{{"FINE DISK", "2 GB", "30", "OK"}, {"TIRED DISK", "1 GB", "44", "Warning"}}));
    EXPECT_EQ(MainForm->RowDrives, (std::vector<int>{0, 2}));
    // Each text icon and chosen colour moved with its row.
    for (int row = 0; row < 2; ++row) {
        ASSERT_NE(MainForm->TrayIcons[static_cast<size_t>(row)], nullptr);
        EXPECT_EQ(MainForm->TrayIcons[static_cast<size_t>(row)]->Hint(), Rows()->Item(row)->Caption());
        EXPECT_EQ(MainForm->cbDriveColor->Items()->Strings(row), Rows()->Item(row)->Caption());
    }
    EXPECT_EQ(MainForm->DriveColors[0], std::nullopt);
    EXPECT_EQ(MainForm->DriveColors[1], clRed);
    // The page keeps its drive, the chart line's history goes with it, and
    // the tray icons stand in row order.
    EXPECT_FALSE(Rows()->Item(0)->Selected());
    EXPECT_TRUE(Rows()->Item(1)->Selected());
    EXPECT_EQ(MainForm->lbl5->Caption(), "Temperature: 44");
    EXPECT_TRUE(drew44(1));
    EXPECT_FALSE(drew44(0));
    ASSERT_TRUE(PumpUntil([&] { return trayShell.InArea().size() == 3; }));
    const std::vector<std::string> icons = trayShell.InArea();
    EXPECT_EQ(std::vector<std::string>(icons.end() - 2, icons.end()),
              (std::vector<std::string>{"FINE DISK", "TIRED DISK"}));
}

TEST_F(ProgramTest, TheDriveChosenWhileAnotherIsReadStaysChosenWithItsActions) {
    auto drives = std::make_shared<TGatedDrives>(GappedDrives);
    drives->Shut(0);
    waitForTrayIcons = false;
    showAtStart = true;
    StartWith(drives);
    ASSERT_TRUE(PumpUntil([&] { return Rows()->Count() == 1; }));
    // The user picks the listed drive and gives one of its attributes an action.
    MainForm->lvDrvList->SetFocus();
    Rows()->Item(0)->SetSelected(true);
    Rows()->Item(0)->SetFocused(true);
    OpenDriveSettings("TIRED DISK", false)->WriteString("Seek Error Rate", "Send mail");

    drives->Release();
    ASSERT_TRUE(PumpUntil([] { return !MainForm->Detecting(); }));
    ASSERT_EQ(Rows()->Count(), 2);
    EXPECT_FALSE(Rows()->Item(0)->Selected());
    EXPECT_TRUE(Rows()->Item(1)->Selected());
    EXPECT_TRUE(Rows()->Item(1)->Focused());
    EXPECT_TRUE(MainForm->lvDrvList->Focused());
    EXPECT_EQ(StoredAction("TIRED DISK", "Seek Error Rate"), "Send mail");
}

TEST_F(ProgramTest, ADriveIsSizedThroughTheAccessItWasReadThrough) {
    auto drives = std::make_shared<TGatedDrives>(GappedDrives);
    drives->Shut(0);
    waitForTrayIcons = false;
    StartWith(drives);
    ASSERT_TRUE(PumpUntil([&] { return drives->Waiting() == 1; }));
    // As at exit, what was in force when the read began goes while it waits.
    SetDriveAccess(std::make_shared<TSimulatedDriveAccess>(
        ParseDriveSet("[drive 0]\nwmi model = OTHER\ndisk size = 5368709120\n", "other.ini")));
    drives->Release();
    ASSERT_TRUE(PumpUntil([] { return !MainForm->Detecting(); }));
    ASSERT_EQ(Rows()->Count(), 2);
    EXPECT_EQ(Cells()[0][1], "2 GB");
}

TEST_F(ProgramTest, DefaultActionsAreWrittenOncePerDrive) {
    Start(GappedDrives);
    auto tired = OpenDriveSettings("TIRED DISK", false);
    ASSERT_TRUE(tired);
    auto names = MakeOwned<TStringList>();
    tired->GetValueNames(names.get());
    names->Sort();
    EXPECT_EQ(names->CommaText(),
              "CreateReg,\"Power On Count\",\"Raw Read Error Rate\",\"Seek Error Rate\",\"Spin Retry "
              "Count\",\"Spin Up Time\",\"Start/Stop Count\"");
    EXPECT_EQ(tired->ReadInteger("CreateReg"), 1);
    EXPECT_EQ(tired->ReadString("Seek Error Rate"), "Show message");
    EXPECT_TRUE(OpenDriveSettings("FINE DISK", false));

    tired->WriteString("Seek Error Rate", "Send mail");
    tired.reset();
    Start(GappedDrives);
    EXPECT_EQ(StoredAction("TIRED DISK", "Seek Error Rate"), "Send mail");

    // Actions stored without the mark (by hand, or by an older version) are
    // the user's too: only the missing ones get the default.
    OpenSettings(true)->DeleteKey("TIRED DISK");
    OpenDriveSettings("TIRED DISK", true)->WriteString("Seek Error Rate", "Never show message");
    Start(GappedDrives);
    EXPECT_EQ(StoredAction("TIRED DISK", "Seek Error Rate"), "Never show message");
    EXPECT_EQ(StoredAction("TIRED DISK", "Spin Up Time"), "Show message");
}

TEST_F(ProgramTest, SecondStartMonitorsTheListedDrivesWithTextIcons) {
    StartWithExampleDrives();
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false}));
    for (TTextTrayIcon* icon : MainForm->TrayIcons) EXPECT_EQ(icon, nullptr);

    WriteSettingInteger("WDC WD10EADS-00L5B1", 255);
    StartWithExampleDrives();
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true, true, true}));
    const char* const temperatures[] = {"28", "35", "41", "58"};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        TTextTrayIcon* icon = MainForm->TrayIcons[static_cast<size_t>(row)];
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->Owner(), MainForm->TextTrayIcon1);
        EXPECT_TRUE(icon->IconVisible());
        EXPECT_EQ(icon->Text(), temperatures[row]);
        EXPECT_EQ(icon->Hint(), Rows()->Item(row)->Caption());
        EXPECT_EQ(icon->Color(), row == 1 ? 255 : 65535);
        EXPECT_EQ(icon->PopupMenu(), MainForm->pm1);
    }
    EXPECT_EQ(MainForm->TrayIcons[4], nullptr);

    // The window shows the ticks too.
    MainForm->Show();
    Application->ProcessMessages();
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(SendMessageW(MainForm->lvDrvList->Handle(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK),
                  INDEXTOSTATEIMAGEMASK(2));
}

// What the shell got from each call and whether, at that moment, the shown
// main window had painted everything.
class PaintWatchingShell : public TTrayShell {
public:
    struct Call {
        DWORD Message;
        UINT Id;
        std::string Tip;
        bool HasIcon;
        bool Painted;
    };
    std::vector<Call> calls;
    bool NotifyIcon(DWORD Message, TTrayIconData& Data) override {
        calls.push_back({Message, Data.uID, Data.szTip, Data.hIcon != nullptr, WindowPainted()});
        return true;
    }

private:
    static BOOL CALLBACK NoteUnpainted(HWND Window, LPARAM Unpainted) {
        if (GetUpdateRect(Window, nullptr, FALSE)) *reinterpret_cast<bool*>(Unpainted) = true;
        return TRUE;
    }
    static bool WindowPainted() {
        if (!MainForm || !IsWindowVisible(MainForm->Handle())) return false;
        bool unpainted = GetUpdateRect(MainForm->Handle(), nullptr, FALSE) != FALSE;
        EnumChildWindows(MainForm->Handle(), NoteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
        return !unpainted;
    }
};

TEST_F(ProgramTest, TrayIconsReachTheTrayOnlyOnceTheWindowHasPaintedEachInOneAdd) {
    WriteSettingInteger("WDC WD10EADS-00L5B1", 255);
    StartWithExampleDrives();  // writes the drives' subkeys: from now on they are watched
    // The first start's icons leave before the shell is watched: a new icon
    // can reuse an old one's address, and so its number.
    FreeProgramForms();
    PaintWatchingShell shell;
    TServiceOverride<TTrayShell> watching(shell);
    showAtStart = true;
    StartWithExampleDrives();

    // The program's own icon comes first, the window painted too.
    const UINT programIcon = static_cast<UINT>(reinterpret_cast<UINT_PTR>(MainForm->NotifyTrayIcon1));
    auto first = std::find_if(shell.calls.begin(), shell.calls.end(),
                              [&](const PaintWatchingShell::Call& Call) { return Call.Id == programIcon; });
    ASSERT_NE(first, shell.calls.end());
    EXPECT_EQ(first->Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(first->Painted);
    auto isTextIcon = [](UINT Id) {
        for (TTextTrayIcon* icon : MainForm->TrayIcons)
            if (icon && Id == static_cast<UINT>(reinterpret_cast<UINT_PTR>(icon))) return true;
        return false;
    };
    std::vector<PaintWatchingShell::Call> textIcons;
    for (auto call = shell.calls.begin(); call != shell.calls.end(); ++call)
        if (isTextIcon(call->Id)) {
            EXPECT_GT(call, first);
            textIcons.push_back(*call);
        }
    // Each drive's icon comes when its drive is listed, whatever the others do.
    ASSERT_EQ(textIcons.size(), 4u);
    std::vector<int> rows;
    for (const PaintWatchingShell::Call& call : textIcons) {
        int row = 0;
        while (row < 4 && call.Id != static_cast<UINT>(reinterpret_cast<UINT_PTR>(MainForm->TrayIcons[row])))
            ++row;
        SCOPED_TRACE(row);
        ASSERT_LT(row, 4);
        rows.push_back(row);
        EXPECT_EQ(call.Message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(call.Tip, Rows()->Item(row)->Caption());
        EXPECT_TRUE(call.HasIcon);
        EXPECT_TRUE(call.Painted);
        EXPECT_EQ(MainForm->TrayIcons[row]->Color(), row == 1 ? 255 : 65535);
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(ProgramTest, NoDriveAtAllStillStartsTheRefreshTimer) {
    Start("[system]\nos family = nt\n");
    EXPECT_EQ(Rows()->Count(), 0);
    EXPECT_TRUE(MainForm->tmr1->Enabled());
    EXPECT_EQ(MainForm->tmr1->Interval(), 2000u);
    EXPECT_TRUE(exceptions.empty());
    EXPECT_TRUE(boxes.Asked().empty());
}

TEST_F(ProgramTest, StoredPollIntervalStartsThePollTimer) {
    struct Case {
        bool present;
        int interval;
        bool enabled;
    };
    for (const Case& c : {Case{false, 0, false}, Case{true, 0, false}, Case{true, 300000, true}}) {
        SCOPED_TRACE(c.interval);
        SetOrDelete("RTimer", c.present, c.interval);
        Start(GappedDrives);
        EXPECT_EQ(MainForm->tmr2->Enabled(), c.enabled);
        EXPECT_EQ(MainForm->tmr2->Interval(), c.enabled ? 300000u : 1000u);
    }
}

namespace {

// A message box whose loop runs whatever is queued meanwhile, as a real one
// does, while the drive held at the gate is let go; it notes the rows there
// were when it opened.
TGatedDrives* releasedInBox = nullptr;
std::vector<int> rowsAtBox;
int AnswerAfterReleasing(const std::wstring&, const std::wstring&, UINT) {
    rowsAtBox = MainForm->RowDrives;
    releasedInBox->Release();
    const DWORD end = GetTickCount() + 1000;
    while (GetTickCount() < end) {
        Application->ProcessMessages();
        Sleep(1);
    }
    return IDOK;
}

}  // namespace

TEST_F(ProgramTest, DrivesFoundWhileTheLogErrorShowsAreListedInOrderAndSetUpInFull) {
    for (const char* model : {"ALPHA", "BETA", "GAMMA"}) OpenDriveSettings(model, true);
    CreateDir(LogFileName);  // a folder where the file should be
    auto drives = std::make_shared<TGatedDrives>(
        "[drive 0]\nwmi model = ALPHA\nattribute 0 = 194 0x0022 30 40 0 30\n"
        "[drive 1]\nwmi model = BETA\nattribute 0 = 194 0x0022 31 40 0 31\n"
        "[drive 2]\nwmi model = GAMMA\nattribute 0 = 194 0x0022 32 40 0 32\n");
    drives->Shut(2);
    releasedInBox = drives.get();
    TMessageBoxHandler saved = Application->MessageBoxHandler;
    Application->MessageBoxHandler = TMessageBoxHandler(&AnswerAfterReleasing);
    waitForTrayIcons = false;
    StartWith(drives);
    // Drives 0 and 1 are read and wait for the GUI thread, which is busy, as one batch.
    for (int wait = 0; wait < 5000 && drives->Waiting() != 1; ++wait) Sleep(1);
    ASSERT_EQ(drives->Waiting(), 1);
    Sleep(300);
    ASSERT_TRUE(PumpUntil([] { return !MainForm->Detecting() && !MainForm->TrayIconsHeld(); }));
    Application->MessageBoxHandler = saved;
    // The box waited for the end of the batch it was raised in.
    EXPECT_EQ(rowsAtBox, (std::vector<int>{0, 1}));
    EXPECT_EQ(MainForm->RowDrives, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true, true}));
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_NE(MainForm->TrayIcons[static_cast<size_t>(row)], nullptr);
        EXPECT_EQ(ReadIntegerOr(OpenDriveSettings(Rows()->Item(row)->Caption(), false).get(), "CreateReg", 0),
                  1);
    }
}

TEST_F(ProgramTest, UnwritableLogFileIsReportedOnceAndTheStartGoesOn) {
    WriteSettingInteger("Log", 1);
    OpenDriveSettings("FINE DISK", true);
    CreateDir(LogFileName);  // a folder where the file should be
    Start(GappedDrives);
    EXPECT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(MainForm->LogThis->Count(), 1);
    EXPECT_NE(MainForm->TrayIcons[0], nullptr);
    EXPECT_TRUE(OpenDriveSettings("TIRED DISK", false));
}
