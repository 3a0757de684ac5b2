#include "mail/socket_talk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "tests/mail/smtp_script_server.h"

namespace {

struct TTalkEvents {
    std::vector<std::pair<int, int>> Progress;
    TObject* ProgressSender = nullptr;
    std::vector<int> EndOfData;               // talk ids
    std::vector<std::pair<int, int>> Errors;  // talk id, result
    int Disconnects = 0;
    void OnProgress(TObject* sender, int total, int current) {
        ProgressSender = sender;
        Progress.emplace_back(total, current);
    }
    void OnEndOfData(TObject*, int id, bool& done, const std::string&) {
        EndOfData.push_back(id);
        done = true;
    }
    void OnSocketError(TObject*, int id, int result) { Errors.emplace_back(id, result); }
    void OnDisconnect(TObject*) { ++Disconnects; }
};

struct SocketTalkTest : ::testing::Test {
    void SetUp() override {
        Talk = Create<TSocketTalk>(Owner.get());
        Talk->OnProgress = TProgressEvent(&Events, &TTalkEvents::OnProgress);
        Talk->OnEndOfData = TEndOfDataEvent(&Events, &TTalkEvents::OnEndOfData);
        Talk->OnSocketError = TTalkErrorEvent(&Events, &TTalkEvents::OnSocketError);
        Talk->OnDisconnect = TNotifyEvent(&Events, &TTalkEvents::OnDisconnect);
    }
    // Connects to the server and reads its greeting (any first data).
    void Connect(TScriptServer& server) {
        Talk->Socket()->SetAddress("127.0.0.1");
        Talk->Socket()->SetPort(server.Port());
        Talk->ForceState(1);
        Talk->Socket()->Open();
        Talk->WaitServer();
        ASSERT_TRUE(Talk->Done());
        Events.EndOfData.clear();
    }
    TOwned<TComponent> Owner = MakeOwned<TComponent>(nullptr);
    TSocketTalk* Talk = nullptr;
    TTalkEvents Events;
};

TEST_F(SocketTalkTest, EmptyTerminatorCompletesOnTheFirstData) {
    TScriptServer server({Send("22"), Pause(300), Send("0 ready\r\n")});
    Talk->Socket()->SetAddress("127.0.0.1");
    Talk->Socket()->SetPort(server.Port());
    Talk->ForceState(1);
    Talk->Socket()->Open();
    Talk->WaitServer();
    EXPECT_TRUE(Talk->Done());
    EXPECT_EQ(Talk->ReplyBuffer(), "22");
    EXPECT_EQ(Events.EndOfData, std::vector<int>{1});
    EXPECT_EQ(Talk->TalkID(), 0);
}

TEST_F(SocketTalkTest, ReplyEndsOnlyWithTheTerminatorAndDataRestartsTheTimeOut) {
    // Three gaps of 0.8 s: 2.4 s in all, longer than the 2 s time-out.
    TScriptServer server({Send("hello"), ReadLine(), Pause(800), Send("25"), Pause(800), Send("0 OK"),
                          Pause(800), Send("\r\n")});
    Connect(server);
    Talk->SetTimeOut(2);
    Talk->Talk("NOOP\r\n", "\r\n", 12);
    Talk->WaitServer();
    EXPECT_TRUE(Talk->Done());
    EXPECT_EQ(Talk->ReplyBuffer(), "250 OK\r\n");
    EXPECT_EQ(Talk->TalkResult(), trNoError);
    EXPECT_EQ(Events.EndOfData, std::vector<int>{12});
    EXPECT_TRUE(Events.Errors.empty());
}

TEST_F(SocketTalkTest, ChunkedSendReportsEveryChunk) {
    const std::string text(250000, 'x');
    TScriptServer server({Send("hello"), ReadBytes(text.size()), Send("250 OK\r\n")});
    Connect(server);
    Talk->SetChunkSize(102400);
    Talk->Talk(text, "\r\n", 18);
    EXPECT_EQ(Talk->ChunkSize(), 0);
    Talk->WaitServer();
    EXPECT_TRUE(Talk->Done());
    EXPECT_EQ(Events.Progress,
              (std::vector<std::pair<int, int>>{
                  {250000, 0}, {250000, 102400}, {250000, 204800}, {250000, 250000}, {250000, 250000}}));
    EXPECT_EQ(Events.ProgressSender, Owner.get());
    server.Join();
    EXPECT_EQ(server.Received().at(0), text);
}

// Wine takes a few megabytes into its own buffers before a send would
// block; the texts here are larger so that the client has to wait.
std::string Lines(std::size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST_F(SocketTalkTest, SlowReaderReceivesTheWholeText) {
    const std::string text = Lines(6000000);
    TScriptServer server({Send("hello"), ReadBytes(text.size(), 65536, 5), Send("250 OK\r\n")});
    Connect(server);
    Talk->SetTimeOut(10);
    Talk->Talk(text, "\r\n", 18);
    Talk->WaitServer();
    EXPECT_TRUE(Talk->Done());
    server.Join();
    EXPECT_TRUE(server.Received().at(0) == text);
}

TEST_F(SocketTalkTest, ReaderThatStallsEndsTheSendAtTheTimeOut) {
    TScriptServer server({Send("hello"), Pause(3000)});
    Connect(server);
    Talk->SetTimeOut(1);
    Talk->Talk(Lines(16000000), "\r\n", 18);
    EXPECT_FALSE(Talk->Talking());
    EXPECT_EQ(Talk->TalkResult(), trTimeOut);
    EXPECT_EQ(Events.Errors, (std::vector<std::pair<int, int>>{{18, trTimeOut}}));
    Talk->Socket()->Close();
}

TEST_F(SocketTalkTest, ServerClosingMidDialogueEndsTheExchange) {
    TScriptServer server({Send("hello"), ReadLine(), Send("421 closing\r"), CloseConnection()});
    Connect(server);
    Talk->Talk("MAIL FROM: <a@b>\r\n", "\r\n", 10);
    Talk->WaitServer();
    EXPECT_FALSE(Talk->Done());
    EXPECT_FALSE(Talk->Talking());
    EXPECT_EQ(Events.Disconnects, 1);
    EXPECT_EQ(Talk->ReplyBuffer(), "421 closing\r");
    EXPECT_FALSE(Talk->Socket()->Active());

    // Talking to a closed connection ends at once as a send error.
    Talk->Talk("QUIT\r\n", "\r\n", 19);
    Talk->WaitServer();
    EXPECT_FALSE(Talk->Done());
    EXPECT_EQ(Talk->TalkResult(), eeSend);
}

TEST_F(SocketTalkTest, RefusedConnectionIsAConnectError) {
    Talk->Socket()->SetAddress("127.0.0.1");
    Talk->Socket()->SetPort(TScriptServer::ClosedPort());
    Talk->ForceState(1);
    Talk->Socket()->Open();
    Talk->WaitServer();
    EXPECT_FALSE(Talk->Done());
    EXPECT_EQ(Talk->TalkResult(), eeConnect);
    EXPECT_EQ(Events.Errors, (std::vector<std::pair<int, int>>{{1, eeConnect}}));
}

TEST_F(SocketTalkTest, SilenceOverTheTimeOutFailsAndTheLateRestIsDropped) {
    TScriptServer server({Send("hello"), ReadLine(), Send("250 O"), Pause(1500), Send("K\r\n"), ReadLine(),
                          Send("221 bye\r\n")});
    Connect(server);
    Talk->SetTimeOut(1);
    Talk->Talk("NOOP\r\n", "\r\n", 12);
    Talk->WaitServer();
    EXPECT_FALSE(Talk->Done());
    EXPECT_EQ(Talk->ReplyBuffer(), "250 O");
    ASSERT_EQ(Events.Errors, (std::vector<std::pair<int, int>>{{12, trTimeOut}}));
    // The rest of the timed-out reply arrives meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Talk->SetTimeOut(10);
    Talk->Talk("QUIT\r\n", "\r\n", 19);
    Talk->WaitServer();
    EXPECT_TRUE(Talk->Done());
    EXPECT_EQ(Talk->ReplyBuffer(), "221 bye\r\n");
}

TEST_F(SocketTalkTest, AReplyPastItsLimitEndsTheExchangeClosesTheSocketAndKeepsNothing) {
    TScriptServer server({Send("hello"), ReadLine(), Flood("250 ", 'x', 100000), ReadLine()});
    Connect(server);
    Talk->SetMaxReplySize(1000);
    Talk->Talk("NOOP\r\n", "\r\n", 12);
    Talk->WaitServer();
    EXPECT_FALSE(Talk->Done());
    EXPECT_EQ(Talk->TalkResult(), trReplyTooLong);
    EXPECT_EQ(Events.Errors, (std::vector<std::pair<int, int>>{{12, trReplyTooLong}}));
    EXPECT_EQ(Talk->ReplyBuffer(), TooLongReplyText);
    EXPECT_FALSE(Talk->Socket()->Active());
    // Exactly the limit is still a reply.
    TScriptServer exact({Send("hello"), ReadLine(), Send("250 " + std::string(994, 'x') + "\r\n")});
    Connect(exact);
    Talk->Talk("NOOP\r\n", "\r\n", 12);
    Talk->WaitServer();
    EXPECT_TRUE(Talk->Done());
    EXPECT_EQ(Talk->ReplyBuffer().size(), 1000u);
    Talk->Socket()->Close();
}

TEST_F(SocketTalkTest, AbortFromAnotherThreadEndsTheWaitAtOnce) {
    TScriptServer server({Send("hello"), ReadLine(), Pause(1000)});
    Connect(server);
    Talk->SetTimeOut(60);
    Talk->Talk("NOOP\r\n", "\r\n", 12);
    std::thread other([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Talk->Abort();
    });
    const auto start = std::chrono::steady_clock::now();
    Talk->WaitServer();
    other.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_FALSE(Talk->Done());
    EXPECT_EQ(Talk->TalkResult(), eeGeneral);
    Talk->Socket()->Close();
}

TEST_F(SocketTalkTest, ALargeReplyGivesItsMemoryBackWhenTheNextExchangeBegins) {
    TScriptServer server({Send("hello"), ReadLine(), Send("250 " + std::string(60000, 'x') + "\r\n"),
                          ReadLine(), Send("221 bye\r\n")});
    Connect(server);
    Talk->Talk("NOOP\r\n", "\r\n", 12);
    Talk->WaitServer();
    ASSERT_TRUE(Talk->Done());
    ASSERT_GE(Talk->ReplyBuffer().capacity(), 60000u);
    Talk->Talk("QUIT\r\n", "\r\n", 19);
    // Up to 4096 octets are kept for the next reply; no more.
    EXPECT_LE(Talk->ReplyBuffer().capacity(), 4096u);
    Talk->WaitServer();
    EXPECT_TRUE(Talk->Done());
    Talk->Socket()->Close();
}

TEST_F(SocketTalkTest, AReplyPastItsLimitIsReadNoFurtherThanTheOctetThatPassesIt) {
    // What the client leaves unread turns its close into a reset, so the
    // server learns whether the client read on.
    TScriptServer server(
        {Send("hello"), ReadLine(), Send("250 " + std::string(3000, 'x') + "\r\n"), ReadLine()});
    Connect(server);
    Talk->SetMaxReplySize(1000);
    Talk->Talk("NOOP\r\n", "\r\n", 12);
    Talk->WaitServer();
    EXPECT_EQ(Talk->TalkResult(), trReplyTooLong);
    server.Join();
    EXPECT_TRUE(server.ResetByPeer());
}

}  // namespace
