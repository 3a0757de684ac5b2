// The 2-second refresh: every row's temperature and status read on workers,
// applied on the GUI thread; the temperature check for checked rows
// only; one read at a time per drive, so a slow drive skips ticks, holds
// back no other drive, and never lands an older reading on a newer one; the
// start-up alert; and a drive taken out of watching staying out.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "app/mail_queue.h"
#include "app/refresh.h"
#include "app/settings.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/application.h"
#include "classlib/windows/timer.h"
#include "engine/drive_reading.h"
#include "notify/texttrayicon.h"
#include "notify/zklogfile.h"
#include "platform/drive_set_file.h"
#include "tests/app/stored_settings.h"
#include "tests/app/watch_support.h"
#include "tests/support/pump.h"
// After windows.h.
#include <psapi.h>

namespace {

const TRecordedAlert HotAlpha{"Temperature notify", "ALPHA"};

}  // namespace

TEST_F(WatchTest, AStoredThresholdCountsFromTheFirstRefreshWithoutAPoll) {
    SetDriveInteger("ALPHA", "Temperature", 45);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    StartStill(DriveSection(0, "ALPHA", 46));
    EXPECT_EQ(TempThresholds[0], 45);
    ASSERT_TRUE(Refresh());
    ASSERT_TRUE(Refresh());
    // Asked for at every refresh; the alert service keeps one on screen.
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{HotAlpha, HotAlpha}));
    EXPECT_EQ(Temperature(0), "46");
    EXPECT_EQ(MainForm->TrayIcons[0]->Text(), "46");
}

// A threshold changed in the registry by hand counts from the next refresh
// on, lowered or raised, without a poll.
TEST_F(WatchTest, AThresholdEditedByHandCountsFromTheNextRefresh) {
    SetDriveInteger("ALPHA", "Temperature", 50);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    StartStill(DriveSection(0, "ALPHA", 35));
    ASSERT_TRUE(Refresh());
    ASSERT_TRUE(alerts.shown.empty());
    const struct {
        int Threshold;
        size_t Alerts;
    } edits[] = {{30, 1}, {40, 1}, {34, 2}, {35, 2}};
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.Threshold);
        OpenDriveSettings("ALPHA", false)->WriteInteger("Temperature", edit.Threshold);
        ASSERT_TRUE(Refresh());
        EXPECT_EQ(alerts.shown.size(), edit.Alerts);
        EXPECT_EQ(TempThresholds[0], edit.Threshold);
    }
}

TEST_F(WatchTest, AtTheThresholdNothingHappens) {
    SetDriveInteger("ALPHA", "Temperature", 45);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    StartStill(DriveSection(0, "ALPHA", 45));
    MainForm->tmr2Timer(nullptr);
    ASSERT_TRUE(Refresh());
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(WatchTest, UncheckedRowsRefreshButNeverAct) {
    SetDriveInteger("ALPHA", "Temperature", 30);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    StartStill(DriveSection(0, "ALPHA", 50) + DriveSection(1, "BETA", 20));
    Rows()->Item(0)->SetChecked(false);
    // As if saved on the settings page: the refresh would act on it.
    TempThresholds[0] = 30;
    ASSERT_TRUE(Refresh());
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(Temperature(0), "50");
    EXPECT_EQ(Temperature(1), "20");
    MainForm->tmr2Timer(nullptr);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(WatchTest, AFailedReadShowsZeroAndRaisesNothing) {
    SetDriveInteger("ALPHA", "Temperature", 30);
    SetDriveString("ALPHA", "Temperature Celcius", "Show message");
    SetDriveString("ALPHA", "Reallocated Sector Count", "Show message");
    const std::string file = folder.Path() + "\\failing.ini";
    const std::string drive = DriveSection(0, "ALPHA", 50, {FailingAttribute(5)});
    std::ofstream(file) << drive;
    StartWith(TSimulatedDriveAccess::FromFile(file));
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);
    EXPECT_EQ(Temperature(0), "50");
    std::ofstream(file, std::ios::trunc) << drive << "fail thresholds = 23\n";
    TempThresholds[0] = 30;
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Temperature(0), "0");
    MainForm->tmr2Timer(nullptr);
    EXPECT_TRUE(alerts.shown.empty());
}

TEST_F(WatchTest, TwoDrivesOfOneModelKeepTheirOwnReadings) {
    StartStill(DriveSection(0, "TWIN", 31) + DriveSection(3, "TWIN", 52));
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Temperature(0), "31");
    EXPECT_EQ(Temperature(1), "52");
}

TEST_F(WatchTest, ASlowDriveSkipsTicksAndNeverAppliesAnOlderReading) {
    const std::string file = folder.Path() + "\\slow.ini";
    auto write = [&](int temperature) {
        // The size changes with the padding too, so the change is seen
        // whatever the clock's resolution. Written aside and moved over the
        // file, so that a worker reading meanwhile never finds it half written.
        std::ofstream(file + ".new", std::ios::trunc)
            << DriveSection(0, "SLOW", temperature) << "read delay = 700\n"
            << std::string(static_cast<size_t>(temperature), ';') << "\n";
        std::filesystem::rename(file + ".new", file);
    };
    write(30);
    StartWith(TSimulatedDriveAccess::FromFile(file));
    MainForm->tmr1->SetEnabled(false);

    MainForm->tmr1Timer(nullptr);
    // Heat up while the first reading is on its way; the ticks meanwhile start nothing.
    write(40);
    MainForm->tmr1Timer(nullptr);
    MainForm->tmr1Timer(nullptr);
    EXPECT_EQ(MainForm->RefreshCounts().Started, 1);
    EXPECT_EQ(MainForm->RefreshCounts().Skipped, 2);
    ASSERT_TRUE(PumpUntil([] { return MainForm->RefreshCounts().Applied == 1; }, 10000));
    const std::string first = Temperature(0);
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Temperature(0), "40");
    EXPECT_EQ(MainForm->RefreshCounts().LastApplied, 2u);
    // The first worker read the file before or after the change, never later.
    EXPECT_TRUE(first == "30" || first == "40") << first;
}

TEST_F(WatchTest, StartupAlertOnlyForMessageWhenStartOne) {
    const std::string drives =
        DriveSection(0, "FINE", 30) + DriveSection(1, "TIRED", 30, {FailingAttribute(5)});
    for (int value : {0, 1, 2}) {
        OpenSettings(true)->WriteInteger("MessageWhenStart", value);
        alerts.shown.clear();
        StartStill(drives);
        if (value == 1)
            EXPECT_EQ(alerts.shown,
                      (std::vector<TRecordedAlert>{{"Hard Disk TIRED  Warning Please check", "Vexmora"}}));
        else
            EXPECT_TRUE(alerts.shown.empty()) << value;
    }
}

TEST_F(WatchTest, EachOfTwoFailingDrivesOfOneModelHasItsStartupAlertAndLogRecordNamingIt) {
    OpenSettings(true)->WriteInteger("MessageWhenStart", 1);
    OpenSettings(true)->WriteInteger("Log", 1);
    // Either twin may be found before its pair is.
    StartStill(DriveSection(0, "TWIN", 30, {FailingAttribute(5)}) +
               DriveSection(1, "SOLO", 30, {FailingAttribute(5)}) +
               DriveSection(3, "TWIN", 30, {FailingAttribute(1)}));
    EXPECT_EQ(Sorted(alerts.shown), Sorted({{"Hard Disk TWIN (drive 0)  Warning Please check", "Vexmora"},
                                            {"Hard Disk SOLO  Warning Please check", "Vexmora"},
                                            {"Hard Disk TWIN (drive 3)  Warning Please check", "Vexmora"}}));
    std::vector<std::string> records;
    for (int i = 0; i < MainForm->LogThis->Count(); ++i)
        records.push_back(MainForm->LogThis->Records(i).Description);
    std::sort(records.begin(), records.end());
    EXPECT_EQ(records, (std::vector<std::string>{"SOLO Reallocated Sector Count",
                                                 "TWIN (drive 0) Reallocated Sector Count",
                                                 "TWIN (drive 3) Raw Read Error Rate"}));
}

TEST_F(WatchTest, ADriveStillBeingReadKeepsItsLastReadingAndIsSkippedWhileTheOthersGoOn) {
    auto drives = std::make_shared<TGatedDrives>(DriveSection(0, "ALPHA", 30) + DriveSection(1, "BETA", 31));
    StartWith(drives);
    MainForm->tmr1->SetEnabled(false);
    drives->Shut(0);
    auto readings = [](int Count) {
        return PumpUntil([Count] { return MainForm->RefreshCounts().Readings == Count; }, 10000);
    };
    MainForm->tmr1Timer(nullptr);
    // The worker held at drive 0 hands drive 1 to another.
    ASSERT_TRUE(readings(1));
    MainForm->tmr1Timer(nullptr);
    ASSERT_TRUE(readings(2));
    EXPECT_EQ(MainForm->RefreshCounts().Started, 2);
    EXPECT_EQ(drives->Opens("\\\\.\\PhysicalDrive0"), 2);
    EXPECT_EQ(drives->Opens("\\\\.\\PhysicalDrive1"), 3);
    EXPECT_EQ(MainForm->LastReading(0).Temperature, 30);
    EXPECT_EQ(Temperature(0), "30");

    drives->Release();
    ASSERT_TRUE(readings(3));
    EXPECT_EQ(MainForm->RefreshCounts().Applied, 2);
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(drives->Opens("\\\\.\\PhysicalDrive0"), 3);
}

TEST_F(WatchTest, TheStatusCellFollowsEachRefresh) {
    const std::string file = folder.Path() + "\\status.ini";
    auto write = [&](bool Failing, int Padding) {
        // The padding changes the size too, so every rewrite is seen.
        std::ofstream(file, std::ios::trunc)
            << DriveSection(
                   0, "ALPHA", 30,
                   Failing ? std::vector<std::string>{FailingAttribute(5)} : std::vector<std::string>{})
            << std::string(static_cast<size_t>(Padding), ';') << "\n";
    };
    write(false, 1);
    StartWith(TSimulatedDriveAccess::FromFile(file));
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);
    EXPECT_EQ(Rows()->Item(0)->SubItems()->Strings(2), "OK");
    write(true, 2);
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Rows()->Item(0)->SubItems()->Strings(2), "Warning");
    write(false, 3);
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Rows()->Item(0)->SubItems()->Strings(2), "OK");
}

TEST_F(WatchTest, ATemperatureMailGoesOncePerCrossing) {
    SetDriveInteger("ALPHA", "Temperature", 45);
    SetDriveString("ALPHA", "Temperature Celcius", "Send mail");
    const std::string file = folder.Path() + "\\crossing.ini";
    int rewrites = 0;
    auto write = [&](int temperature, const std::string& extra = "") {
        // The padding changes the size too, so every rewrite is seen.
        std::ofstream(file, std::ios::trunc) << DriveSection(0, "ALPHA", temperature) << extra
                                             << std::string(static_cast<size_t>(++rewrites), ';') << "\n";
    };
    // Nothing listens there: each mail fails, but is counted.
    StoreMailSettings(TScriptServer::ClosedPort());
    auto mails = [] { return MainForm->MailQueue() ? MainForm->MailQueue()->Finished() : 0; };
    auto refresh = [&] {
        ASSERT_TRUE(Refresh());
        // The queue takes no mail equal to one in flight: let each one end.
        ASSERT_TRUE(Settle());
    };
    write(46);
    StartWith(TSimulatedDriveAccess::FromFile(file));
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);

    refresh();
    refresh();
    MainForm->tmr2Timer(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(mails(), 1);

    // A failed read is no reading: the drive has not cooled down.
    write(46, "fail thresholds = 23\n");
    refresh();
    EXPECT_EQ(Temperature(0), "0");
    MainForm->tmr2Timer(nullptr);
    write(46);
    refresh();
    EXPECT_EQ(mails(), 1);

    write(45);
    refresh();
    write(47);
    refresh();
    refresh();
    EXPECT_EQ(mails(), 2);

    // The poll check goes by the last refresh's reading, not by the drive.
    write(45);
    refresh();
    write(48);
    MainForm->tmr2Timer(nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(mails(), 2);
    refresh();
    EXPECT_EQ(mails(), 3);
}

TEST_F(WatchTest, ACrossingWhileTheMailSettingsAreIncompleteMailsOnceTheyAreComplete) {
    TScriptServer server(OneMailSession());
    StoreMailSettings(server.Port(), false);
    SetDriveInteger("ALPHA", "Temperature", 45);
    SetDriveString("ALPHA", "Temperature Celcius", "Send mail");
    StartStill(DriveSection(0, "ALPHA", 46));
    ASSERT_TRUE(Refresh());
    ASSERT_TRUE(Settle());
    OpenSettings(true)->WriteString("ToMail", "admin@example.com");
    for (int tick = 0; tick < 2; ++tick) {
        ASSERT_TRUE(Refresh());
        ASSERT_TRUE(Settle());
    }
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"OK"}));
    server.Join();
    ASSERT_EQ(server.Received().size(), 6u);
    EXPECT_NE(server.Received()[4].find("Subject: ALPHAMessage\r\n"), std::string::npos);
}

TEST_F(WatchTest, TwoHotDrivesOfOneModelEachHaveTheirAlertAndMailNamingThem) {
    for (const char* model : {"TWIN", "SOLO"}) {
        SetDriveInteger(model, "Temperature", 45);
        SetDriveString(model, "Temperature Celcius", "Show message");
    }
    StartStill(DriveSection(0, "TWIN", 46) + DriveSection(1, "SOLO", 46) + DriveSection(3, "TWIN", 47));
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(Sorted(alerts.shown), Sorted({{"Temperature notify", "TWIN (drive 0)"},
                                            {"Temperature notify", "SOLO"},
                                            {"Temperature notify", "TWIN (drive 3)"}}));

    // Nothing listens there: each mail fails, but is counted.
    StoreMailSettings(TScriptServer::ClosedPort());
    SetDriveString("TWIN", "Temperature Celcius", "Send mail");
    for (int tick = 0; tick < 2; ++tick) {
        ASSERT_TRUE(Refresh());
        ASSERT_TRUE(Settle());
    }
    ASSERT_NE(MainForm->MailQueue(), nullptr);
    EXPECT_EQ(MainForm->MailQueue()->Finished(), 2);
}

TEST_F(WatchTest, ATextIconGoesToTheShellOnlyWhenItsTemperatureChanged) {
    SetDriveInteger("ALPHA", "Temperature", 60);
    const std::string file = folder.Path() + "\\tray.ini";
    auto write = [&](int temperature, int padding) {
        // The padding changes the size too, so every rewrite is seen.
        std::ofstream(file, std::ios::trunc) << DriveSection(0, "ALPHA", temperature)
                                             << std::string(static_cast<size_t>(padding), ';') << "\n";
    };
    write(40, 1);
    StartWith(TSimulatedDriveAccess::FromFile(file));
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);
    ASSERT_NE(MainForm->TrayIcons[0], nullptr);
    ASSERT_TRUE(MainForm->TrayIcons[0]->IconVisible());
    auto modified = [&](size_t From) {
        return std::count(trayShell.messages.begin() + static_cast<long>(From), trayShell.messages.end(),
                          static_cast<DWORD>(NIM_MODIFY));
    };

    size_t from = trayShell.messages.size();
    write(40, 2);
    for (int tick = 0; tick < 3; ++tick) ASSERT_TRUE(Refresh());
    EXPECT_EQ(modified(from), 0);

    from = trayShell.messages.size();
    write(41, 3);
    ASSERT_TRUE(Refresh());
    EXPECT_EQ(MainForm->TrayIcons[0]->Text(), "41");
    EXPECT_GE(modified(from), 1);
}

// Two drives slow to answer ahead of two quick ones, then a quick one that
// turns slow: every drive whose read has returned is read at every tick, so
// each quick drive shows what it had when the tick came before the next.
TEST_F(WatchTest, SlowDrivesHoldBackNoOtherDriveWhereverTheyStand) {
    const std::string file = folder.Path() + "\\slow.ini";
    const char* const models[] = {"SLOW A", "SLOW B", "QUICK C", "QUICK D"};
    auto write = [&](int Temperature, const std::vector<bool>& Slow) {
        std::string text;
        for (int number = 0; number < 4; ++number) {
            text += DriveSection(number, models[number], Temperature);
            if (Slow[static_cast<size_t>(number)]) text += "read delay = 2500\n";
        }
        // Written aside and moved over, so that no read finds it half
        // written; the padding changes the size, so each change is seen.
        std::ofstream(file + ".new", std::ios::trunc)
            << text << std::string(static_cast<size_t>(Temperature), ';') << "\n";
        std::filesystem::rename(file + ".new", file);
    };
    write(30, {false, false, false, false});
    StartWith(TSimulatedDriveAccess::FromFile(file));
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);

    int temperature = 30;
    // Ticks 2 s apart, as the refresh's own.
    auto ticks = [&](int Count, const std::vector<bool>& Slow, const std::vector<int>& Quick) {
        for (int tick = 0; tick < Count; ++tick) {
            SCOPED_TRACE(temperature);
            write(++temperature, Slow);
            const auto started = std::chrono::steady_clock::now();
            MainForm->tmr1Timer(nullptr);
            const std::string shown = std::to_string(temperature);
            EXPECT_TRUE(PumpUntil(
                [&] {
                    return std::all_of(Quick.begin(), Quick.end(),
                                       [&](int Row) { return Temperature(Row) == shown; });
                },
                1900));
            PumpUntil([&] { return std::chrono::steady_clock::now() - started > std::chrono::seconds(2); },
                      3000);
        }
    };
    ticks(5, {true, true, false, false}, {2, 3});
    // Drive 2 turns slow mid-run: drive 3 behind it goes on.
    ticks(4, {true, true, true, false}, {3});
    EXPECT_EQ(Temperature(3), std::to_string(temperature));
}

// However the slowness is spread over the drives, each one whose read ends
// within a tick shows that tick's temperature before the next: drives slow
// from the start from the first tick on, drives that turned slow once the
// refresh has timed them; and when one stops answering, the drives that
// shared its worker still do.
TEST_F(WatchTest, EveryDriveThatAnswersWithinATickShowsEachTicksTemperature) {
    struct TSpread {
        int Drives;
        int ReadMs;
        bool SlowFromStart;
        bool OneStops;
    };
    for (const TSpread spread : {TSpread{12, 400, false, false}, TSpread{24, 150, true, true}}) {
        SCOPED_TRACE(Format("%d drives at %d ms", spread.Drives, spread.ReadMs));
        const std::string file = folder.Path() + "\\spread.ini";
        int temperature = 30;
        int readMs = spread.SlowFromStart ? spread.ReadMs : 0;
        int stuck = -1;
        auto write = [&] {
            std::string text;
            for (int number = 0; number < spread.Drives; ++number)
                text += DriveSection(number, Format("SPREAD %02d", number), temperature) +
                        Format("read delay = %d\n", number == stuck ? 3000 : readMs);
            // Written aside and moved over, so that no read finds it half
            // written; the padding changes the size, so each change is seen.
            std::ofstream(file + ".new", std::ios::trunc)
                << text << std::string(static_cast<size_t>(temperature), ';') << "\n";
            std::filesystem::rename(file + ".new", file);
        };
        write();
        StartWith(TSimulatedDriveAccess::FromFile(file));
        MainForm->tmr1->SetEnabled(false);
        MainForm->tmr2->SetEnabled(false);
        ASSERT_TRUE(PumpUntil([] { return !MainForm->Detecting(); }, 20000));
        ASSERT_EQ(Rows()->Count(), spread.Drives);
        auto late = [&] {
            std::vector<int> rows;
            for (int row = 0; row < spread.Drives; ++row)
                if (row != stuck && Temperature(row) != std::to_string(temperature)) rows.push_back(row);
            return rows;
        };
        // Ticks 2 s apart, as the refresh's own, or sooner once every drive showed it.
        auto ticks = [&](int Count, bool Checked) {
            for (int tick = 0; tick < Count; ++tick) {
                ++temperature;
                write();
                MainForm->tmr1Timer(nullptr);
                const DWORD began = GetTickCount();
                PumpUntil([&] { return Checked && late().empty(); }, 1900);
                if (Checked) {
                    EXPECT_EQ(late(), std::vector<int>{}) << "at " << temperature;
                }
                PumpUntil([&] { return Checked || GetTickCount() - began >= 2000; }, 200);
            }
        };
        if (!spread.SlowFromStart) {
            readMs = spread.ReadMs;
            ticks(3, false);
        }
        ticks(2, true);
        if (!spread.OneStops) continue;
        stuck = 0;
        ticks(2, true);
    }
}

// Each drive that does not answer holds a reader for as long as it takes,
// so a held reader costs little memory; and a whole read, a failing one with
// its exception included, stays well within a reader's small stack.
TEST_F(WatchTest, ReadersHeldByDrivesThatDoNotAnswerCostLittleAndReadWithinTheirStack) {
    constexpr int Held = 8;
    std::string text;
    for (int number = 0; number < Held; ++number) text += DriveSection(number, Format("HELD %d", number), 30);
    auto drives = std::make_shared<TGatedDrives>(text + "fail thresholds = 31\n");
    StartWith(drives);
    MainForm->tmr1->SetEnabled(false);
    MainForm->tmr2->SetEnabled(false);
    struct TStackUse {
        std::mutex Lock;
        int Readings = 0;
        size_t Reserve = 0;
        size_t Deepest = 0;
    };
    auto use = std::make_shared<TStackUse>();
    auto measure = [use](TRefreshSnapshot) {
        // Fresh stack pages are zero: the lowest byte that is not is as deep
        // as the read went.
        const NT_TIB* tib = nullptr;
        asm("movl %%fs:0x18, %0" : "=r"(tib));
        MEMORY_BASIC_INFORMATION region{};
        VirtualQuery(tib->StackLimit, &region, sizeof region);
        const auto* bottom = static_cast<const unsigned char*>(region.AllocationBase);
        const auto* top = static_cast<const unsigned char*>(tib->StackBase);
        const unsigned char* deepest = top;
        for (const unsigned char* at = bottom; at < top && deepest == top;) {
            VirtualQuery(at, &region, sizeof region);
            const auto* end =
                std::min(top, static_cast<const unsigned char*>(region.BaseAddress) + region.RegionSize);
            const bool readable = region.State == MEM_COMMIT &&
                                  (region.Protect & (PAGE_READWRITE | PAGE_READONLY)) &&
                                  !(region.Protect & PAGE_GUARD);
            if (readable) deepest = std::find_if(at, end, [](unsigned char Byte) { return Byte != 0; });
            if (deepest == end) deepest = top;
            at = end;
        }
        std::lock_guard guard(use->Lock);
        ++use->Readings;
        use->Reserve = static_cast<size_t>(top - bottom);
        use->Deepest = std::max(use->Deepest, static_cast<size_t>(top - deepest));
    };
    const auto privateBytes = [] {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return static_cast<double>(counters.PagefileUsage);
    };
    drives->Shut();
    const double before = privateBytes();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    std::vector<TReaderShare> shares;
    for (int number = 0; number < Held; ++number)
        shares.push_back(
            {std::make_shared<TRefreshWork>(std::vector<TPlannedRead>{{number}}, std::chrono::seconds(2)),
             measure});
    Create<SmartNew>(1u, std::move(shares), stop);
    ASSERT_TRUE(PumpUntil([&] { return drives->Waiting() == Held; }));
    EXPECT_LE((privateBytes() - before) / Held, 256 * 1024);
    drives->Release();
    ASSERT_TRUE(PumpUntil([&] {
        std::lock_guard guard(use->Lock);
        return use->Readings == Held;
    }));
    std::lock_guard guard(use->Lock);
    // Under Wine a thread's stack is never less than 1 MB.
    EXPECT_LE(use->Reserve, std::max<size_t>(DriveReaderStackReserve, 1024 * 1024));
    EXPECT_GT(use->Deepest, 0u);
    EXPECT_LE(use->Deepest, DriveReaderStackReserve / 4);
}

// Untick + Apply takes a drive out of watching through any number of
// starts, until it is ticked again; then its default actions count at once.
TEST_F(WatchTest, ADriveTakenOutOfWatchingStaysOutUntilTickedAgain) {
    const std::string file = folder.Path() + "\\drives.ini";
    auto write = [&](bool Failing) {
        const std::string attribute = Failing ? FailingAttribute(5) : "5 0x0033 100 100 36 0";
        std::ofstream(file, std::ios::trunc) << DriveSection(0, "ALPHA", 30, {attribute})
                                             << DriveSection(1, "BETA", 31, {"5 0x0033 100 100 36 0"})
                                             << std::string(Failing ? 3 : 1, ';') << "\n";
    };
    auto start = [&] {
        StartWith(TSimulatedDriveAccess::FromFile(file));
        MainForm->tmr1->SetEnabled(false);
        MainForm->tmr2->SetEnabled(false);
    };
    write(false);
    // Seen for the first time, watched from the next start.
    start();
    start();
    ASSERT_EQ(Checks(), (std::vector<bool>{true, true}));

    Rows()->Item(0)->SetChecked(false);
    MainForm->ShowSystemTrayItems0Click(nullptr);
    for (int restart = 1; restart <= 2; ++restart) {
        SCOPED_TRACE(restart);
        start();
        EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
    }

    Rows()->Item(0)->SetChecked(true);
    MainForm->ShowSystemTrayItems0Click(nullptr);
    write(true);
    ASSERT_TRUE(Refresh());
    MainForm->tmr2Timer(nullptr);
    EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{{"Reallocated Sector Count waring", "ALPHA"}}));
    start();
    EXPECT_EQ(Checks(), (std::vector<bool>{true, true}));
}

// Ticks and unticks mixed with Apply, some while a drive that holds its read
// at detection is still to be listed before them: Apply stores each row's
// tick, and the text icons stand in row order throughout.
TEST_F(WatchTest, ApplyStoresEachTickAndKeepsTheIconsInRowOrderWhateverIsListedMeanwhile) {
    const std::string drives = DriveSection(0, "ALPHA", 30) + DriveSection(1, "BETA", 31) +
                               DriveSection(2, "GAMMA", 32) + DriveSection(3, "DELTA", 33);
    for (const char* model : {"ALPHA", "BETA", "GAMMA", "DELTA"}) OpenDriveSettings(model, true);
    auto gated = std::make_shared<TGatedDrives>(drives);
    gated->Shut(0);
    waitForTrayIcons = false;
    StartWith(gated);
    // The drives' icons, without the program's own.
    const auto iconsInArea = [&] {
        std::vector<std::string> icons = trayShell.InArea();
        std::erase_if(icons, [&](const std::string& Tip) {
            return Tip.empty() || drives.find(Tip) == std::string::npos;
        });
        return icons;
    };
    const auto settled = [] { return !MainForm->Detecting() && !MainForm->TrayIconsHeld(); };
    const auto apply = [] { MainForm->ShowSystemTrayItems0Click(nullptr); };
    ASSERT_TRUE(PumpUntil([&] { return Rows()->Count() == 3 && iconsInArea().size() == 3; }));

    // Rows: BETA, GAMMA, DELTA. A drive ticked again gets its icon back in its place.
    Rows()->Item(1)->SetChecked(false);
    apply();
    EXPECT_EQ(iconsInArea(), (std::vector<std::string>{"BETA", "DELTA"}));
    Rows()->Item(1)->SetChecked(true);
    apply();
    EXPECT_EQ(iconsInArea(), (std::vector<std::string>{"BETA", "GAMMA", "DELTA"}));

    // DELTA out; then, not yet applied, DELTA ticked again and BETA unticked
    // while ALPHA is listed before them.
    Rows()->Item(2)->SetChecked(false);
    apply();
    Rows()->Item(2)->SetChecked(true);
    Rows()->Item(0)->SetChecked(false);
    gated->Release();
    ASSERT_TRUE(PumpUntil(settled));
    ASSERT_EQ(Checks(), (std::vector<bool>{true, false, true, true}));
    apply();
    EXPECT_EQ(iconsInArea(), (std::vector<std::string>{"ALPHA", "GAMMA", "DELTA"}));
    EXPECT_FALSE(OpenDriveSettings("BETA", false));
    EXPECT_TRUE(OpenDriveSettings("DELTA", false));
    EXPECT_EQ(ReadUnwatchedModels(OpenSettings(false).get())->CommaText(), "BETA");

    waitForTrayIcons = true;
    for (int restart = 1; restart <= 2; ++restart) {
        SCOPED_TRACE(restart);
        StartStill(drives);
        EXPECT_EQ(Checks(), (std::vector<bool>{true, false, true, true}));
        EXPECT_EQ(iconsInArea(), (std::vector<std::string>{"ALPHA", "GAMMA", "DELTA"}));
    }
}

// A watched drive whose read fails, at start or when it is ticked again,
// gets its default actions from its first read that names its attributes,
// and keeps them through a restart; an action already stored stays.
TEST_F(WatchTest, ADriveWatchedWhileItsReadsFailGetsItsActionsOnceAReadWorks) {
    const std::string file = folder.Path() + "\\drives.ini";
    const auto write = [&](bool ReadsFail) {
        std::ofstream(file + ".new", std::ios::trunc)
            << DriveSection(0, "ALPHA", 30, {FailingAttribute(5), "10 0x0013 10 10 97 0"})
            << (ReadsFail ? "fail attributes = 31\n" : "") << std::string(ReadsFail ? 3 : 1, ';') << "\n";
        std::filesystem::rename(file + ".new", file);
    };
    const auto start = [&] {
        StartWith(TSimulatedDriveAccess::FromFile(file));
        MainForm->tmr1->SetEnabled(false);
        MainForm->tmr2->SetEnabled(false);
    };
    const auto apply = [&](bool Tick) {
        Rows()->Item(0)->SetChecked(Tick);
        MainForm->ShowSystemTrayItems0Click(nullptr);
    };
    const TRecordedAlert reallocated{"Reallocated Sector Count waring", "ALPHA"};
    // Watched since an earlier start; one action chosen already.
    OpenDriveSettings("ALPHA", true)->WriteString("Spin Retry Count", "Never show message");

    for (const bool atStart : {true, false}) {
        SCOPED_TRACE(atStart ? "failing from the start" : "failing when ticked again");
        alerts.shown.clear();
        write(atStart);
        start();
        if (!atStart) {
            apply(false);
            write(true);
            ASSERT_TRUE(Refresh());
            apply(true);
        }
        EXPECT_EQ(StoredAction("ALPHA", "Reallocated Sector Count"), "");
        MainForm->tmr2Timer(nullptr);
        EXPECT_TRUE(alerts.shown.empty());

        write(false);
        ASSERT_TRUE(Refresh());
        MainForm->tmr2Timer(nullptr);
        EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{reallocated}));
        EXPECT_EQ(StoredAction("ALPHA", "Spin Retry Count"), atStart ? "Never show message" : "Show message");

        alerts.shown.clear();
        start();
        MainForm->tmr2Timer(nullptr);
        EXPECT_EQ(alerts.shown, (std::vector<TRecordedAlert>{reallocated}));
    }
}
