// Ending the program while it watches: the close and the tray menu's Exit
// stop the timers, abort the mail in flight and end without waiting for a
// silent server, a name server or a drive read; GUI work still queued then
// does nothing. And the message boxes that workers ask for: one at a time,
// in order, no text twice.
#include <chrono>
#include <thread>

#include "app/gui_handoff.h"
#include "app/mail_queue.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/smtpform.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/menus.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "tests/app/watch_support.h"
#include "tests/mail/held_resolver.h"
#include "tests/mail/smtp_script_server.h"
#include "tests/support/pump.h"

namespace {

void DropQuitMessage() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Application->Initialize();
}

// While a box is open, the same text and a new one are asked for again.
struct NestedAsker {
    TMessageBoxQueue* queue = nullptr;
    std::vector<std::string> shown;
    int Answer(const std::wstring& Text, const std::wstring&, UINT) {
        shown.push_back(ToAnsi(Text));
        if (Text == L"first") {
            queue->Show("first");
            queue->Show("third");
        }
        return IDOK;
    }
};

}  // namespace

class ClosingTest : public WatchTest, public ::testing::WithParamInterface<bool> {
protected:
    // A drive whose failing attribute mails a server that never answers.
    void StartMailingASilentServer(int Port) {
        SetDriveString("ALPHA", "Reallocated Sector Count", "Send mail");
        auto settings = OpenSettings(true);
        settings->WriteString("SMTPServer", "127.0.0.1");
        settings->WriteInteger("Port", Port);
        settings->WriteString("FromMail", "monitor@example.com");
        settings->WriteString("ToMail", "admin@example.com");
        settings.reset();
        Start(DriveSection(0, "ALPHA", 30, {FailingAttribute(5)}));
        MainForm->tmr2Timer(nullptr);
        ASSERT_TRUE(
            PumpUntil([] { return MainForm->MailQueue() && MainForm->MailQueue()->Sending(); }, 5000));
    }
};

TEST_P(ClosingTest, StopsEverythingAtOnceWithAMailInFlight) {
    TScriptServer silent({ReadLine()});
    StartMailingASilentServer(silent.Port());
    // A refresh on its way when the end comes.
    MainForm->tmr1Timer(nullptr);
    const auto started = std::chrono::steady_clock::now();
    if (GetParam()) {
        boxes.Answer(IDYES);
        SendMessageW(MainForm->Handle(), WM_CLOSE, 0, 0);
    } else {
        MainForm->Exit1->Click();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(MainForm->tmr1->Enabled() || MainForm->tmr2->Enabled());
    EXPECT_FALSE(MainForm->MailQueue()->Sending());
    EXPECT_FALSE(MainForm->MailQueue()->Add({"late", "mail"}));
    // The refresh's snapshot and the mail's boxes may still be queued: they
    // must not touch the windows any more.
    const int applied = MainForm->RefreshCounts().Applied;
    Application->ProcessMessages();
    EXPECT_EQ(MainForm->RefreshCounts().Applied, applied);
    DropQuitMessage();
}

INSTANTIATE_TEST_SUITE_P(CloseAndExit, ClosingTest, ::testing::Bool());

// Yes to the question while a drive read is stuck, first in detection, then
// in a refresh: the end does not wait, and the read, once it returns, hands
// nothing to the form that went, touches the drive no more and lets go of
// everything it held.
TEST_F(WatchTest, TheEndLeavesAStuckDriveReadBehindThatEndsByItself) {
    for (bool inDetection : {true, false}) {
        SCOPED_TRACE(inDetection ? "detection" : "refresh");
        auto drives =
            std::make_shared<TGatedDrives>(DriveSection(0, "ALPHA", 30) + DriveSection(1, "BETA", 31));
        if (inDetection) drives->Shut(0);
        waitForTrayIcons = !inDetection;
        StartWith(drives);
        if (!inDetection) {
            MainForm->tmr1->SetEnabled(false);
            drives->Shut(0);
            MainForm->tmr1Timer(nullptr);
        }
        // The other drive's read returns meanwhile.
        ASSERT_TRUE(PumpUntil([&] {
            return drives->Waiting() == 1 &&
                   drives->Opens("\\\\.\\PhysicalDrive1") == (inDetection ? 1 : 2) &&
                   Rows()->Count() == (inDetection ? 1 : 2);
        }));

        const auto started = std::chrono::steady_clock::now();
        boxes.Answer(IDYES);
        SendMessageW(MainForm->Handle(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(Application->Terminated());
        FreeProgramForms();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
        DropQuitMessage();

        drives->Release();
        // The test's own reference and the installed drive set's.
        EXPECT_TRUE(PumpUntil([&] { return drives.use_count() == 2 && drives->OpenDevices() == 0; }));
        EXPECT_EQ(drives->Opens("\\\\.\\PhysicalDrive0"), inDetection ? 1 : 2);
        // Detection asked to stop before the stuck drive's size probe.
        EXPECT_EQ(drives->Opens("\\\\.\\PHYSICALDRIVE0"), inDetection ? 0 : 1);
    }
}

TEST_F(WatchTest, NeitherExitNorTheTestMailsEndWaitsForTheNameServer) {
    THeldResolver nameServer;
    SetDriveString("ALPHA", "Reallocated Sector Count", "Send mail");
    auto settings = OpenSettings(true);
    settings->WriteString("SMTPServer", "mail.example.test");
    settings->WriteString("FromMail", "monitor@example.com");
    settings->WriteString("ToMail", "admin@example.com");
    settings.reset();
    Start(DriveSection(0, "ALPHA", 30, {FailingAttribute(5)}));
    MainForm->tmr2Timer(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return nameServer.Started() == 1; }, 5000));
    Smtp->FormShow(nullptr);
    Smtp->btnTestClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return nameServer.Started() == 2; }, 5000));

    const auto started = std::chrono::steady_clock::now();
    MainForm->Exit1->Click();
    Smtp->StopTest();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_FALSE(MainForm->MailQueue()->Sending());
    EXPECT_FALSE(Smtp->Testing());
    DropQuitMessage();
}

TEST(MessageBoxQueue, OneAtATimeInOrderAndNoTextTwice) {
    TScriptedMessageBoxes scripted;
    TLiveness liveness;
    TMessageBoxQueue queue(liveness);
    std::thread worker([&] {
        for (const char* text : {"first", "second", "first", "second"}) queue.Show(text);
    });
    worker.join();
    EXPECT_EQ(queue.Pending(), 2u);
    ASSERT_TRUE(PumpUntil([&] { return queue.Pending() == 0; }));
    EXPECT_EQ(scripted.Texts(), (std::vector<std::string>{"first", "second"}));

    NestedAsker asker;
    asker.queue = &queue;
    TMessageBoxHandler saved = Application->MessageBoxHandler;
    Application->MessageBoxHandler = TMessageBoxHandler(&asker, &NestedAsker::Answer);
    queue.Show("first");
    ASSERT_TRUE(PumpUntil([&] { return queue.Pending() == 0; }));
    Application->MessageBoxHandler = saved;
    EXPECT_EQ(asker.shown, (std::vector<std::string>{"first", "third"}));

    // Once the windows are going, nothing more is shown.
    queue.Show("late");
    liveness.Disarm();
    Application->ProcessMessages();
    EXPECT_EQ(scripted.Texts().size(), 2u);
}
