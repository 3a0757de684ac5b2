// The poll check: checked rows in list order, the temperature first, then
// the attributes that are not fine; an alert or a mail ends the poll, a
// shutdown question lets it go on, and an Exit or a log-off while it is open
// is no answer; no poll inside a poll; one power request;
// no drive read, so a slow drive never holds it.
#include <chrono>
#include <future>
#include <thread>

#include "app/mail_queue.h"
#include "app/settings.h"
#include "classlib/core/registryredirect.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "controls/scbutton.h"
#include "tests/app/stored_settings.h"
#include "tests/app/watch_support.h"
#include "tests/support/pump.h"

namespace {

const char* const ShutdownQuestion = "Vexmora will shutdown your computer are you sure?";

std::string TwoFailing(int Number, const std::string& Model) {
    return DriveSection(Number, Model, 30, {FailingAttribute(5), FailingAttribute(1)});
}

}  // namespace

TEST_F(WatchTest, OneAlertForTheSecondOfTwoFailingAttributes) {
    SetDriveString("ALPHA", "Reallocated Sector Count", "Never show message");
    SetDriveString("ALPHA", "Raw Read Error Rate", "Show message");
    StartStill(TwoFailing(0, "ALPHA"));
    MainForm->tmr2Timer(nullptr);
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Raw Read Error Rate waring", "ALPHA"}}));
}

TEST_F(WatchTest, AnAlertOrAMailEndsThePollButTheTemperatureCameFirst) {
    SetDriveInteger("ALPHA", "Temperature", 25);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    SetDriveString("ALPHA", "Reallocated Sector Count", "Show message");
    SetDriveString("ALPHA", "Raw Read Error Rate", "Show message");
    SetDriveString("BETA", "Reallocated Sector Count", "Show message");
    StartStill(TwoFailing(0, "ALPHA") + TwoFailing(1, "BETA"));
    MainForm->tmr2Timer(nullptr);
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Temperature notify", "ALPHA"},
                                                         {"Reallocated Sector Count waring", "ALPHA"}}));
}

// A threshold that cannot be read as an integer, as a hand edit may leave
// it, is no threshold: the poll neither raises on it nor ends before the
// drives after it.
TEST_F(WatchTest, AMalformedThresholdNeitherRaisesNorEndsThePoll) {
    const DWORD twoWords[2] = {20, 1};
    PutRaw(OpenDriveSettings("ALPHA", true).get(), "Temperature", REG_DWORD, twoWords, 8);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    SetDriveString("BETA", "Reallocated Sector Count", "Show message");
    StartStill(DriveSection(0, "ALPHA", 30) + DriveSection(1, "BETA", 30, {FailingAttribute(5)}));
    EXPECT_NO_THROW(MainForm->tmr2Timer(nullptr));
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Reallocated Sector Count waring", "BETA"}}));
    EXPECT_TRUE(exceptions.empty()) << exceptions.front();
}

TEST_F(WatchTest, OneMailForTheFirstOfTwoDrives) {
    // The server takes exactly one mail; a second one would find it gone.
    TScriptServer server(OneMailSession());
    for (const char* model : {"ALPHA", "BETA"})
        SetDriveString(model, "Reallocated Sector Count", "Send mail");
    SetDriveString("BETA", "Raw Read Error Rate", "Show message");
    StoreMailSettings(server.Port());
    StartStill(TwoFailing(0, "ALPHA") + TwoFailing(1, "BETA"));
    MainForm->tmr2Timer(nullptr);
    ASSERT_TRUE(Settle());
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[1], "MAIL FROM:<monitor@example.com>");
    EXPECT_NE(received[4].find("Subject: ALPHAMessage\r\n"), std::string::npos) << received[4];
    EXPECT_NE(received[4].find("\r\n\r\nReallocated Sector Count"), std::string::npos) << received[4];
    EXPECT_EQ(received[5], "QUIT");
    EXPECT_EQ(MainForm->MailQueue()->Finished(), 1);
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"OK"}));
}

TEST_F(WatchTest, TheFailingDriveOfAPairOfOneModelIsNamedInItsAlertAndMail) {
    SetDriveString("TWIN", "Reallocated Sector Count", "Show message");
    SetDriveString("TWIN", "Raw Read Error Rate", "Send mail");
    StartStill(DriveSection(0, "TWIN", 30) + DriveSection(3, "TWIN", 30, {FailingAttribute(5)}));
    MainForm->tmr2Timer(nullptr);
    EXPECT_EQ(alerts.shown,
              (std::vector<TRecordedAlert>{{"Reallocated Sector Count waring", "TWIN (drive 3)"}}));

    TScriptServer server(OneMailSession());
    StoreMailSettings(server.Port());
    StartStill(DriveSection(0, "TWIN", 30) + DriveSection(3, "TWIN", 30, {FailingAttribute(1)}));
    MainForm->tmr2Timer(nullptr);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"OK"}));
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(received.size(), 6u);
    EXPECT_NE(received[4].find("Subject: =?iso-8859-1?Q?TWIN=20=28drive=203=29Message?=\r\n"),
              std::string::npos)
        << received[4];
}

TEST_F(WatchTest, EveryDriveInTroubleGetsItsTurnAndSoDoesEveryAttributeOfADrive) {
    for (const char* name : {"Reallocated Sector Count", "Raw Read Error Rate"})
        SetDriveString("ALPHA", name, "Show message");
    SetDriveString("BETA", "Reallocated Sector Count", "Show message");
    StartStill(TwoFailing(0, "ALPHA") + TwoFailing(1, "BETA"));
    for (int poll = 0; poll < 4; ++poll) MainForm->tmr2Timer(nullptr);
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Reallocated Sector Count waring", "ALPHA"},
                                                         {"Reallocated Sector Count waring", "BETA"},
                                                         {"Raw Read Error Rate waring", "ALPHA"},
                                                         {"Reallocated Sector Count waring", "BETA"}}));
}

TEST_F(WatchTest, ThePollActsOnTheSettingsItHoldsAndOnWhatThePagesStore) {
    SetDriveInteger("ALPHA", "Temperature", 25);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    SetDriveString("ALPHA", "Reallocated Sector Count", "Show message");
    StartStill(DriveSection(0, "ALPHA", 30, {FailingAttribute(5)}));
    MainForm->tmr2Timer(nullptr);
    {
        // From here on a read of the registry finds nothing at all.
        TRegistryRedirect emptyRegistry;
        MainForm->tmr2Timer(nullptr);
        MainForm->lvDrvList->SetItemIndex(0);
        MainForm->MainGroupItems2Click(nullptr);
        TListView* attributes = MainForm->lv2;
        for (int row = 0; row < attributes->Items()->Count(); ++row)
            if (attributes->Items()->Item(row)->Caption() == "Reallocated Sector Count")
                attributes->SetItemIndex(row);
        MainForm->lv2Click(attributes);
        MainForm->rb6->SetChecked(true);
        MainForm->btnNoticeClick(MainForm->btnNotice);
        MainForm->tmr2Timer(nullptr);
    }
    const TRecordedAlert hot{"Temperature notify", "ALPHA"},
        failing{"Reallocated Sector Count waring", "ALPHA"};
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{hot, failing, hot, failing, hot}));
}

TEST_F(WatchTest, AnActionChangedByHandIsUsedAtTheNextPoll) {
    SetDriveString("ALPHA", "Reallocated Sector Count", "Never show message");
    StartStill(DriveSection(0, "ALPHA", 30, {FailingAttribute(5)}));
    MainForm->tmr2Timer(nullptr);
    SetDriveString("ALPHA", "Reallocated Sector Count", "Show message");
    MainForm->tmr2Timer(nullptr);
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Reallocated Sector Count waring", "ALPHA"}}));
}

namespace {

// Edits as regedit makes them: plain registry calls, below the settings key.
std::string HandKey(const std::string& Below) {
    const std::string key = std::string(SettingsKey).substr(1);
    return Below.empty() ? key : key + "\\" + Below;
}

void HandWrite(const std::string& Model, const std::string& Name, const std::string& Text) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, HandKey(Model).c_str(), Name.c_str(), REG_SZ, Text.c_str(),
                              static_cast<DWORD>(Text.size() + 1)),
              ERROR_SUCCESS);
}

void HandWrite(const std::string& Model, const std::string& Name, DWORD Value) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, HandKey(Model).c_str(), Name.c_str(), REG_DWORD, &Value,
                              sizeof Value),
              ERROR_SUCCESS);
}

void HandDeleteValue(const std::string& Model, const std::string& Name) {
    ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, HandKey(Model).c_str(), Name.c_str()), ERROR_SUCCESS);
}

void HandDeleteKey(const std::string& Below) {
    // The key goes too, after everything below it, one key at a time.
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, HandKey(Below).c_str()), ERROR_SUCCESS);
}

}  // namespace

// A user edits a drive's settings by hand while the program runs, again and
// again: each edit is followed at the next check, the poll's and the
// refresh's temperature check alike, whatever the case of the names typed,
// and after the drive's key or the whole settings key went and came back.
TEST_F(WatchTest, EveryHandEditWhileTheProgramRunsIsFollowedAtTheNextCheck) {
    SetDriveString("ALPHA", "Reallocated Sector Count", "Never show message");
    SetDriveInteger("ALPHA", "Temperature", 40);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    StartStill(DriveSection(0, "ALPHA", 30, {FailingAttribute(5)}));
    const TRecordedAlert hot{"Temperature notify", "ALPHA"},
        failing{"Reallocated Sector Count waring", "ALPHA"};
    const auto poll = [&] {
        alerts.shown.clear();
        MainForm->tmr2Timer(nullptr);
        return alerts.shown;
    };
    const auto refresh = [&] {
        alerts.shown.clear();
        EXPECT_TRUE(Refresh());
        return alerts.shown;
    };
    using TAlerts = std::vector<TRecordedAlert>;
    EXPECT_EQ(poll(), TAlerts{});

    // Not only the first edit is seen.
    HandWrite("ALPHA", "Reallocated Sector Count", "Show message");
    EXPECT_EQ(poll(), TAlerts{failing});
    HandWrite("ALPHA", "Reallocated Sector Count", "Never show message");
    EXPECT_EQ(poll(), TAlerts{});
    HandWrite("ALPHA", "Temperature", 25);
    EXPECT_EQ(poll(), TAlerts{hot});
    EXPECT_EQ(refresh(), TAlerts{hot});

    // The refresh looks for edits made since the last poll.
    HandWrite("ALPHA", "Temperature Celcius", "Never show message");
    EXPECT_EQ(refresh(), TAlerts{});

    // Names typed in another case are the same values to the registry.
    for (const char* name : {"Reallocated Sector Count", "Temperature", "Temperature Celcius"})
        HandDeleteValue("ALPHA", name);
    HandWrite("ALPHA", "reallocated sector count", "Show message");
    HandWrite("ALPHA", "TEMPERATURE", 25);
    HandWrite("ALPHA", "temperature celcius", "Show message");
    EXPECT_EQ(poll(), (TAlerts{hot, failing}));

    // The drive's key deleted and made again.
    HandDeleteKey("ALPHA");
    EXPECT_EQ(poll(), TAlerts{});
    HandWrite("ALPHA", "Reallocated Sector Count", "Show message");
    EXPECT_EQ(poll(), TAlerts{failing});

    // The whole settings key deleted, after its drive's key went, and made again.
    HandDeleteKey("ALPHA");
    EXPECT_EQ(poll(), TAlerts{});
    HandDeleteKey("");
    EXPECT_EQ(poll(), TAlerts{});
    HandWrite("ALPHA", "Reallocated Sector Count", "Show message");
    EXPECT_EQ(poll(), TAlerts{failing});
    HandWrite("ALPHA", "Reallocated Sector Count", "Never show message");
    EXPECT_EQ(poll(), TAlerts{});
}

TEST_F(WatchTest, ShutdownAsksUnlessAutoRunAndGoesOn) {
    const struct {
        int AutoRun;
        int Answer;
        bool Asked;
        bool Requested;
    } cases[] = {{0, IDCANCEL, true, false}, {0, IDOK, true, true}, {1, 0, false, true}};
    for (const auto& c : cases) {
        RecordingPower power;
        TServiceOverride<TPowerService> powerOverride(power);
        SetDriveString("ALPHA", "Reallocated Sector Count", "Shutdown Computer");
        SetDriveString("ALPHA", "Raw Read Error Rate", "Show message");
        OpenSettings(true)->WriteInteger("AutoRun", c.AutoRun);
        StartStill(TwoFailing(0, "ALPHA"));
        const size_t asked = boxes.Asked().size();
        if (c.Answer) boxes.Answer(c.Answer);
        alerts.shown.clear();
        MainForm->tmr2Timer(nullptr);
        ASSERT_TRUE(Settle());
        const auto boxesNow = boxes.Asked();
        const bool questioned = boxesNow.size() > asked && boxesNow[asked].Text == ShutdownQuestion;
        EXPECT_EQ(questioned, c.Asked) << c.AutoRun << " " << c.Answer;
        if (questioned) {
            EXPECT_EQ(boxesNow[asked].Flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2));
        }
        const std::vector<std::string> request = {
            "privilege", "initiate machine='' message='' timeout=0 force=1 reboot=0"};
        EXPECT_EQ(power.calls, c.Requested ? request : std::vector<std::string>{});
        // The scan went on to the next attribute.
        EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Raw Read Error Rate waring", "ALPHA"}}));
    }
}

namespace {

// Ends the program from inside the question's own loop, as a person who
// leaves it open and uses the tray menu, or logs off, does.
struct TEndWhileAsked {
    static inline void (*end)() = nullptr;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR Id, DWORD) {
        KillTimer(nullptr, Id);
        end();
    }
};

}  // namespace

TEST_F(WatchTest, AnExitOrALogOffWhileTheQuestionIsOpenNeverShutsDownOrReboots) {
    const struct {
        const char* Action;
        void (*End)();
    } cases[] = {
        {"Shutdown Computer", [] { MainForm->Exit1->Click(); }},
        {"Reboot Computer",
         [] {
             SendMessageW(Application->Handle(), WM_QUERYENDSESSION, 0, 0);
             SendMessageW(Application->Handle(), WM_ENDSESSION, TRUE, 0);
         }},
    };
    for (const auto& c : cases) {
        RecordingPower power;
        TServiceOverride<TPowerService> powerOverride(power);
        SetDriveString("ALPHA", "Reallocated Sector Count", c.Action);
        StartStill(TwoFailing(0, "ALPHA"));
        const TMessageBoxHandler scripted = Application->MessageBoxHandler;
        Application->MessageBoxHandler = nullptr;
        TEndWhileAsked::end = c.End;
        SetTimer(nullptr, 0, 100, TEndWhileAsked::Tick);
        MainForm->tmr2Timer(nullptr);
        Application->MessageBoxHandler = scripted;
        EXPECT_TRUE(Application->Terminated()) << c.Action;
        EXPECT_EQ(power.calls, std::vector<std::string>{}) << c.Action;
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        Application->Initialize();
    }
}

TEST_F(WatchTest, RebootIsRequestedOnceThoughThePollComesAgain) {
    RecordingPower power;
    TServiceOverride<TPowerService> powerOverride(power);
    SetDriveString("ALPHA", "Reallocated Sector Count", "Reboot Computer");
    OpenSettings(true)->WriteInteger("AutoRun", 1);
    StartStill(TwoFailing(0, "ALPHA"));
    MainForm->tmr2Timer(nullptr);
    MainForm->tmr2Timer(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(power.calls, (std::vector<std::string>{
                               "privilege", "initiate machine='' message='' timeout=0 force=0 reboot=1"}));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Shutting down!"}));
}

namespace {

// Answers Cancel, and lets the poll timer fire while the question is open.
struct TickingAnswers {
    int questions = 0;
    int Answer(const std::wstring& Text, const std::wstring&, UINT) {
        ++questions;
        if (ToAnsi(Text) == ShutdownQuestion) MainForm->tmr2Timer(nullptr);
        return IDCANCEL;
    }
};

}  // namespace

TEST_F(WatchTest, APollTickInsideTheShutdownQuestionIsSkipped) {
    SetDriveString("ALPHA", "Reallocated Sector Count", "Shutdown Computer");
    StartStill(TwoFailing(0, "ALPHA"));
    TickingAnswers answers;
    TMessageBoxHandler scripted = Application->MessageBoxHandler;
    Application->MessageBoxHandler = TMessageBoxHandler(&answers, &TickingAnswers::Answer);
    MainForm->tmr2Timer(nullptr);
    Application->MessageBoxHandler = scripted;
    EXPECT_EQ(answers.questions, 1);
}

TEST_F(WatchTest, APollReadsNoDriveAndActsOnTheLastReadingWhileARefreshIsStuck) {
    SetDriveString("ALPHA", "Reallocated Sector Count", "Show message");
    auto drives = std::make_shared<TGatedDrives>(TwoFailing(0, "ALPHA"));
    StartWith(drives);
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);
    drives->Shut();
    MainForm->tmr1Timer(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return drives->Waiting() == 1; }));
    const int opens = drives->Opens("\\\\.\\PhysicalDrive0");

    // Should the poll wait at the gate, it is opened after a while.
    std::promise<void> polled;
    std::thread gatekeeper([&drives, done = polled.get_future()] {
        done.wait_for(std::chrono::seconds(3));
        drives->Release();
    });
    MainForm->tmr2Timer(nullptr);
    polled.set_value();
    gatekeeper.join();
    EXPECT_EQ(drives->Opens("\\\\.\\PhysicalDrive0"), opens);
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Reallocated Sector Count waring", "ALPHA"}}));
    ASSERT_TRUE(PumpUntil([] { return MainForm->RefreshCounts().Applied == 1; }, 10000));
}
