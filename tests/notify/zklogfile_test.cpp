#include <gtest/gtest.h>

#include <random>
#include <string>

#include "classlib/core/files.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/actions.h"
#include "classlib/windows/application.h"
#include "classlib/windows/screen.h"
#include "classlib/windows/shortcuts.h"
#include "notify/zklogfile.h"
#include "notify/zklogform.h"

namespace {

TEST(LogLine, RecordsSurviveWriteAndRead) {
    const TZkLogRecord cases[] = {
        {"2024-01-02 10:11:12", "Warning", "ST3500 Reallocated Sector Count"},
        {"t", "a>b", "plain"},
        {"t", "ends with>", "description"},
        {"t", ">>", "x"},
        {"t", "title", "holds > and ] and [ and >>"},
        {"", "", ""},
        {"t", "no description", ""},
    };
    for (const auto& record : cases) {
        TZkLogRecord read;
        ASSERT_TRUE(ParseLogLine(LogRecordLine(record), read)) << LogRecordLine(record);
        EXPECT_EQ(read, record) << LogRecordLine(record);
    }
}

TEST(LogLine, TitleGreaterThanSignsAreDoubledOnDisk) {
    EXPECT_EQ(LogRecordLine({"T", "a>b", "c>d"}), "[T]a>>b>c>d");
}

TEST(LogLine, ReadingFollowsTheLineRules) {
    const struct {
        const char* line;
        bool parsed;
        TZkLogRecord record;
    } cases[] = {
        {"junk[T]Title>Desc", true, {"T", "Title", "Desc"}},
        {"[T]only a title", true, {"T", "only a title", ""}},
        {"[T]a>>>b", true, {"T", "a>", "b"}},
        {"[T]x]y>z", true, {"T", "x]y", "z"}},
        {"no brackets", false, {}},
        {"[unterminated", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        TZkLogRecord read;
        EXPECT_EQ(ParseLogLine(c.line, read), c.parsed) << c.line;
        if (c.parsed) {
            EXPECT_EQ(read, c.record) << c.line;
        }
    }
}

// The line format cannot carry a description that starts with ">": it reads
// back as part of the title. Files rely on the format, so this stays.
TEST(LogLine, ADescriptionStartingWithGreaterThanIsAKnownLimit) {
    TZkLogRecord read;
    ASSERT_TRUE(ParseLogLine(LogRecordLine({"T", "title", ">desc"}), read));
    EXPECT_EQ(read.Title, "title>desc");
    EXPECT_EQ(read.Description, "");
}

// Any title comes back whole from its line, and a line cut anywhere after
// its time still reads as that time with a shortened title and description.
TEST(LogLine, RandomTitlesSurviveAndCutLinesReadAsTheirBeginning) {
    std::mt19937 random(8);
    const std::string alphabet = "[]>> ab\r\n\t\x80\xff";
    for (int i = 0; i < 5000; ++i) {
        std::string title;
        const int length = static_cast<int>(random() % 40);
        for (int j = 0; j < length; ++j) title += alphabet[random() % alphabet.size()];
        const TZkLogRecord record{"t", title, "desc"};
        const std::string written = LogRecordLine(record);
        TZkLogRecord read;
        ASSERT_TRUE(ParseLogLine(written, read)) << written;
        ASSERT_EQ(read, record) << written;

        const size_t cut = random() % (written.size() + 1);
        const std::string shortened = written.substr(0, cut);
        read = TZkLogRecord{};
        ASSERT_EQ(ParseLogLine(shortened, read), cut >= 3) << shortened;
        if (cut < 3) continue;
        EXPECT_EQ(read.Time, "t") << shortened;
        EXPECT_EQ(title.compare(0, read.Title.size(), read.Title), 0) << shortened;
        EXPECT_EQ(std::string("desc").compare(0, read.Description.size(), read.Description), 0) << shortened;
    }
}

class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = GetTempDir() + "vexmora_log_test\\";
        CreateDir(dir);
        name = dir + "Vexmora.log";
        DeleteFile(name);
        log.reset(Create<TZkLogFile>(nullptr));
    }
    void TearDown() override {
        log.reset();
        DeleteFile(name);
        RemoveDir(dir);
    }
    static std::string FileText(const std::string& Name) {
        TOwned<TMemoryStream> stream(Create<TMemoryStream>());
        stream->LoadFromFile(Name);
        return std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->Size()));
    }
    std::string dir, name;
    TOwned<TZkLogFile> log;
};

TEST_F(LogFileTest, SavesOneLinePerRecordOldestFirst) {
    log->Add("1", "A>", "x");
    log->Add("2", "B", "y");
    log->SaveToFile(name);
    EXPECT_EQ(FileText(name), "[1]A>>>x\r\n[2]B>y\r\n");
}

TEST_F(LogFileTest, LoadingReplacesTheRecordsAndSkipsLinesWithoutARecord) {
    log->Add("old", "old", "old");
    TOwned<TStringStream> stream(Create<TStringStream>("[1]A>x\r\nnot a record\n[2]B>y"));
    log->LoadFromStream(stream.get());
    ASSERT_EQ(log->Count(), 2);
    EXPECT_EQ(log->Records(0), (TZkLogRecord{"1", "A", "x"}));
    EXPECT_EQ(log->Records(1), (TZkLogRecord{"2", "B", "y"}));
}

TEST_F(LogFileTest, SizeLimitKeepsTheNewestRecordsThatReachIt) {
    log->SetSizeLimit(100);
    // Each line is 40 bytes with its CR LF.
    const std::string description(40 - 2 - 5, 'd');
    for (const char* time : {"1", "2", "3", "4"}) log->Add(time, "T", description);
    ASSERT_EQ(LogRecordLine(log->Records(0)).size() + 2, 40u);
    ASSERT_EQ(log->Count(), 3);
    EXPECT_EQ(log->Records(0).Time, "2");
    EXPECT_EQ(log->Records(2).Time, "4");
}

TEST_F(LogFileTest, AutoSaveNeedsAFileNameAndThenSavesEveryChange) {
    log->SetAutoSave(true);
    EXPECT_FALSE(log->AutoSave());
    log->SetFileName(name);
    log->SetAutoSave(true);
    EXPECT_TRUE(log->AutoSave());
    log->Add("1", "A", "x");
    EXPECT_EQ(FileText(name), "[1]A>x\r\n");
    log->Clear();
    EXPECT_EQ(FileText(name), "");
}

TEST_F(LogFileTest, AnExistingFileLoadsWhenNamed) {
    log->Add("1", "A", "x");
    log->SaveToFile(name);
    TOwned<TZkLogFile> other(Create<TZkLogFile>(nullptr));
    other->SetFileName(name);
    ASSERT_EQ(other->Count(), 1);
    EXPECT_EQ(other->Records(0).Title, "A");
}

TEST_F(LogFileTest, FileErrorsRaiseTheFileStreamErrors) {
    EXPECT_THROW(log->LoadFromFile(dir + "missing.log"), EFOpenError);
    EXPECT_THROW(log->SaveToFile(dir + "no such folder\\x.log"), EFCreateError);
}

}  // namespace

namespace {

// The viewer is modal: the test looks at it from OnShow and closes it.
struct ViewerWatch {
    std::vector<std::string> rows;
    std::string caption;
    bool closed = false;
    void Shown(TObject*) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            auto* viewer = dynamic_cast<TFoLog*>(Screen->Forms(i));
            if (!viewer) continue;
            rows = viewer->RowTexts();
            caption = viewer->Caption();
            PostMessageW(viewer->Handle(), WM_CLOSE, 0, 0);
        }
    }
    void Closed(TObject*) { closed = true; }
};

TEST_F(LogFileTest, ShowLogListsEveryRecordInTheViewer) {
    Application->Initialize();
    log->Add("10:00", "Warning", "disk > hot");
    log->Add("10:01", "OK", "fine");
    ViewerWatch watch;
    log->OnShow = TNotifyEvent(&watch, &ViewerWatch::Shown);
    log->OnClose = TNotifyEvent(&watch, &ViewerWatch::Closed);
    log->ShowLog("Event log");
    EXPECT_EQ(watch.caption, "Event log");
    EXPECT_EQ(watch.rows, (std::vector<std::string>{"[10:00] Warning > disk > hot", "[10:01] OK > fine"}));
    EXPECT_TRUE(watch.closed);
}

TEST_F(LogFileTest, TheViewerSavesItsRowsAsTextLines) {
    Application->Initialize();
    TOwned<TFoLog> viewer(Create<TFoLog>(nullptr));
    EXPECT_EQ(viewer->ListView1->Columns()->Count(), 3);
    EXPECT_EQ(viewer->Save->ShortCut(), ShortCut('S', {ssCtrl}));
    EXPECT_EQ(viewer->Print->Caption(), "&Print");
    TListItem* item = viewer->ListView1->Items()->Add();
    item->SetCaption("t");
    item->SubItems()->Add("a");
    item->SubItems()->Add("b");
    viewer->SaveRows(ToWide(name));
    EXPECT_EQ(FileText(name), "[t] a > b\r\n");
    // A name the code page cannot spell.
    const std::wstring wide = ToWide(dir) + L"\u0436\u0443\u0440\u043d\u0430\u043b.txt";
    viewer->SaveRows(wide);
    EXPECT_TRUE(FileExists(wide));
    DeleteFileW(wide.c_str());
}

}  // namespace
