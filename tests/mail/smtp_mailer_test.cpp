#include "mail/smtp_mailer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "mail/header_lines.h"
#include "mail/mime_dates.h"
#include "mail/mime_message.h"
#include "mail/smtp_wire.h"
#include "tests/mail/held_resolver.h"
#include "tests/mail/mail_world.h"
#include "tests/mail/smtp_script_server.h"

namespace {

const std::string kEhlo = "EHLO " + TClientSocket::LocalHost();

struct SmtpMailerTest : ::testing::Test {
    void SetUp() override {
        Mailer = Create<TSMTPMailer>(Owner.get());
        Mailer->SetName("SMTPM");
        Mailer->SetHost("127.0.0.1");
        Mailer->SetTimeOut(10);
        Message = Create<TMimeMessage>(Owner.get());
        Message->SetFrom("Vexmora", "monitor@example.com");
        Message->To()->Add("Admin", "admin@example.com");
        Message->SetSubject("Drive alert");
        Message->SetTextPlain("Drive 0 is hot.\r\n");
        Message->RebuildBody();
        Mailer->SetMailMessage(Message);
    }
    bool Connect(TScriptServer& server) {
        Mailer->SetPort(server.Port());
        return Mailer->Connect();
    }
    TOwned<TComponent> Owner = MakeOwned<TComponent>(nullptr);
    TSMTPMailer* Mailer = nullptr;
    TMimeMessage* Message = nullptr;
};

// The greeting and the EHLO reply, split inside and between their lines.
std::vector<TScriptStep> SplitHandshake() {
    return {Send("220-mail.example.com\r\n"),
            Pause(150),
            Send("220 ready\r\n"),
            ReadLine(),
            Send("250-mail.exa"),
            Pause(150),
            Send("mple.com\r\n250-SIZE 1000\r\n"),
            Pause(150),
            Send("250 HELP\r\n")};
}

TEST_F(SmtpMailerTest, SplitMultiLineRepliesAreReadWhole) {
    std::vector<TScriptStep> steps = SplitHandshake();
    steps.insert(steps.end(), {ReadLine(), Send("221 bye\r\n")});
    TScriptServer server(steps);
    ASSERT_TRUE(Connect(server));
    EXPECT_EQ(Mailer->GetLastResponse(),
              "220-mail.example.com\r\n220 ready\r\n250-mail.example.com\r\n250-SIZE 1000\r\n250 HELP\r\n");
    EXPECT_TRUE(Mailer->Quit());
    server.Join();
    // No user name: no AUTH LOGIN between EHLO and QUIT.
    EXPECT_EQ(server.Received(), (std::vector<std::string>{kEhlo, "QUIT"}));
}

TEST_F(SmtpMailerTest, HandshakeTextHoldsEveryReplyOfTheLogin) {
    Mailer->SetUserName("alice");
    Mailer->SetPassword("secret");
    TScriptServer server({Send("220 hi\r\n"), ReadLine(), Send("250-mail\r\n250 AUTH LOGIN\r\n"), ReadLine(),
                          Send("334 VXNlcm5hbWU6\r\n"), ReadLine(), Send("334 UGFzc3dvcmQ6\r\n"), ReadLine(),
                          Send("235 welcome\r\n")});
    ASSERT_TRUE(Connect(server));
    EXPECT_EQ(
        Mailer->GetLastResponse(),
        "220 hi\r\n250-mail\r\n250 AUTH LOGIN\r\n334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n235 welcome\r\n");
    server.Join();
    EXPECT_EQ(server.Received(), (std::vector<std::string>{kEhlo, "AUTH LOGIN", "YWxpY2U=", "c2VjcmV0"}));
    Mailer->SocketTalk()->Socket()->Close();
}

TEST_F(SmtpMailerTest, RefusedUserNameEndsTheHandshakeTextWithTheRefusal) {
    Mailer->SetUserName("alice");
    TScriptServer server({Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(),
                          Send("334 VXNlcm5hbWU6\r\n"), ReadLine(), Send("535 no such user\r\n")});
    EXPECT_FALSE(Connect(server));
    EXPECT_EQ(Mailer->GetLastResponse(), "220 hi\r\n250 ok\r\n334 VXNlcm5hbWU6\r\n535 no such user\r\n");
    server.Join();
    EXPECT_EQ(server.Received().size(), 3u);
}

// The whole dialogue of a send as a strict server reads it.
std::vector<TScriptStep> AcceptingSend() {
    return {Send("220 hi\r\n"),        ReadLine(), Send("250 ok\r\n"),      ReadLine(),
            Send("250 sender ok\r\n"), ReadLine(), Send("250 rcpt ok\r\n"), ReadLine(),
            Send("354 go\r\n"),        ReadData(), Send("250 queued\r\n"),  ReadLine(),
            Send("221 bye\r\n")};
}

// The header lines of a received DATA text that begin with Label.
std::vector<std::string> LinesOf(const std::string& data, const std::string& label) {
    std::vector<std::string> found;
    const std::string header = data.substr(0, data.find("\r\n\r\n") + 2);
    for (size_t at = 0; at < header.size();) {
        const size_t end = header.find("\r\n", at);
        if (header.compare(at, label.size(), label) == 0) found.push_back(header.substr(at, end - at));
        at = end + 2;
    }
    return found;
}

TEST_F(SmtpMailerTest, EnvelopeCommandsHaveNoBlankAfterTheColon) {
    TScriptServer server(AcceptingSend());
    ASSERT_TRUE(Connect(server));
    ASSERT_TRUE(Mailer->SendMessage());
    EXPECT_TRUE(Mailer->Quit());
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[1], "MAIL FROM:<monitor@example.com>");
    EXPECT_EQ(received[2], "RCPT TO:<admin@example.com>");
    EXPECT_EQ(received[3], "DATA");
    EXPECT_EQ(received[5], "QUIT");
}

TEST_F(SmtpMailerTest, SendingStampsTheDateOfSendingOnceAndOnlyOnTheWire) {
    TFixedMailWorld world;
    for (int round = 0; round < 2; ++round) {
        TScriptServer server(AcceptingSend());
        ASSERT_TRUE(Connect(server));
        ASSERT_TRUE(Mailer->SendMessage());
        Mailer->Quit();
        server.Join();
        const std::string data = server.Received().at(4);
        EXPECT_EQ(LinesOf(data, "Date:"), (std::vector<std::string>{"Date: Sun, 06 Dec 2026 11:09:31 +0800"}))
            << "round " << round;
        // Not kept: an alert sent again later must carry its own time.
        EXPECT_LT(FindLabelLine(Message->Header(), "Date:", 0), 0);
    }
}

TEST_F(SmtpMailerTest, AMessageWithItsOwnDateKeepsIt) {
    Message->SetDate(EncodeDateTime(2025, 1, 2, 3, 4, 5, 0));
    TScriptServer server(AcceptingSend());
    ASSERT_TRUE(Connect(server));
    ASSERT_TRUE(Mailer->SendMessage());
    Mailer->Quit();
    server.Join();
    EXPECT_EQ(LinesOf(server.Received().at(4), "Date:"),
              (std::vector<std::string>{"Date: " + DateToRFC822(EncodeDateTime(2025, 1, 2, 3, 4, 5, 0))}));
}

void Throw(TObject*, int, int) {
    throw Exception("stop");
}

TEST_F(SmtpMailerTest, SendThatRaisesRestoresBccAndEndsTheSession) {
    Message->Bcc()->Add("", "hidden@example.com");
    TScriptServer server({Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"),
                          ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(),
                          Send("354 go\r\n"), Pause(300)});
    ASSERT_TRUE(Connect(server));
    Mailer->SetPacketSize(10);
    Mailer->SetOnProgress(TProgressEvent(&Throw));
    EXPECT_THROW(Mailer->SendMessage(), Exception);
    EXPECT_GE(FindLabelLine(Message->Header(), "Bcc:", 0), 0);
    // Cut off inside DATA: a later Connect must be able to start afresh.
    EXPECT_FALSE(Mailer->Connected());
    EXPECT_FALSE(Mailer->SocketTalk()->Socket()->Active());
}

TEST_F(SmtpMailerTest, FailedConnectClosesTheSocketSoTheNextConnectRuns) {
    TScriptServer refusing({Send("421 busy\r\n")});
    EXPECT_FALSE(Connect(refusing));
    EXPECT_EQ(Mailer->GetLastResponse(), "421 busy\r\n");
    EXPECT_FALSE(Mailer->SocketTalk()->Socket()->Active());

    TScriptServer accepting({Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n")});
    EXPECT_TRUE(Connect(accepting));
    Mailer->Quit();
}

TEST_F(SmtpMailerTest, AbortEndsAConnectThatWaitsForTheNameServer) {
    THeldResolver nameServer;
    Mailer->SetHost("mail.example.test");
    std::thread aborter([&] {
        for (int tries = 0; tries < 500 && nameServer.Started() == 0; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Mailer->Abort();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Mailer->Connect());
    aborter.join();
    EXPECT_EQ(nameServer.Started(), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(Mailer->SocketTalk()->Socket()->Active());

    // A name that the server answers for reaches the mail server.
    nameServer.Release();
    TScriptServer server({Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n")});
    EXPECT_TRUE(Connect(server));
    Mailer->Quit();
}

TEST_F(SmtpMailerTest, QuitClosesTheSocketWhateverTheReply) {
    TScriptServer server(
        {Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("500 what?\r\n")});
    ASSERT_TRUE(Connect(server));
    EXPECT_FALSE(Mailer->Quit());
    EXPECT_EQ(Mailer->GetLastResponse(), "500 what?\r\n");
    EXPECT_FALSE(Mailer->Connected());
    EXPECT_FALSE(Mailer->SocketTalk()->Socket()->Active());
    EXPECT_FALSE(Mailer->Quit());
}

TEST_F(SmtpMailerTest, AnAddressThatCannotGoOutIsRefusedByNameWithNothingSent) {
    TScriptServer server(
        {Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("221 bye\r\n")});
    ASSERT_TRUE(Connect(server));
    // The documented 254 octets, the 256 of a path with its brackets.
    const std::string longest = std::string(254 - 12, 'l') + "@example.com";
    const struct {
        std::string From, To, Error;
    } cases[] = {
        {"a@b\r\nRSET", "admin@example.com",
         "SMTPM: Invalid mail address \"a@b\\x0D\\x0ARSET\": it holds a control character"},
        {"a@b", "\"x@y\r\nDATA\"",
         "SMTPM: Invalid mail address \"x@y\\x0D\\x0ADATA\": it holds a control character"},
        {"a@b", "\"a@b evil@x\"", "SMTPM: Invalid mail address \"a@b evil@x\": it holds a blank"},
        {"a@b", "ok@x,\"<evil@x>\"", "SMTPM: Invalid mail address \"<evil@x>\": it holds an angle bracket"},
        {"a@b", longest + "x",
         "SMTPM: Invalid mail address \"" + longest.substr(0, 97) +
             "...\": it is longer than 254 characters"},
        {"a@b" + std::string(65536, 'b'), "ok@x",
         "SMTPM: Invalid mail address \"a@b" + std::string(94, 'b') +
             "...\": it is longer than 254 characters"},
        // A server would read a byte outside ASCII in a code page of its own
        // choosing. These bytes are letters of code pages 1252, 932 and 936
        // alike, so the message shows them as written under each.
        {"a@b", "\xC3\xA9t\xC3\xA9@example.net",
         "SMTPM: Invalid mail address \"\xC3\xA9t\xC3\xA9@example.net\": it holds a character outside ASCII"},
    };
    for (const auto& c : cases) {
        try {
            Mailer->SendMessageTo(c.From, c.To);
            ADD_FAILURE() << c.To << " was taken";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Error);
        }
    }
    // The longest path there is goes; the server refusing it is another matter.
    EXPECT_TRUE(IsValidSMTPAddress(longest));
    EXPECT_TRUE(Mailer->Quit());
    server.Join();
    EXPECT_EQ(server.Received(), (std::vector<std::string>{kEhlo, "QUIT"}));
}

TEST_F(SmtpMailerTest, MisuseRaisesWithTheComponentName) {
    TScriptServer server({Send("220 hi\r\n")});
    Mailer->SetHandshaking(hsManual);
    ASSERT_TRUE(Connect(server));
    auto messageOf = [](auto&& call) {
        try {
            call();
        } catch (const Exception& e) {
            return e.Message();
        }
        return std::string("nothing raised");
    };
    EXPECT_EQ(messageOf([&] { Mailer->SendMessageTo("a@b", ""); }), "SMTPM: No recipients to send message");
    Message->SetTextPlain("changed");
    EXPECT_EQ(messageOf([&] { Mailer->SendMessageTo("a@b", "c@d"); }), "SMTPM: MailMessage need rebuild");
    Message->Free();
    EXPECT_EQ(Mailer->MailMessage(), nullptr);
    EXPECT_EQ(messageOf([&] { Mailer->SendMessage(); }), "SMTPM: MailMessage unassigned");
    Mailer->SocketTalk()->Socket()->Close();
}

TEST_F(SmtpMailerTest, AReplyIsJudgedByItsWholeTextNotByThePieceThatCameLast) {
    // Split where the digits of a text could pass for a code: EHLO is still
    // taken (so AUTH follows) and the accepted mail counts as sent.
    Mailer->SetUserName("alice");
    TScriptServer server({Send("220 hi\r\n"),
                          ReadLine(),
                          Send("250-mail\r\n250-SIZE "),
                          Pause(150),
                          Send("52428800\r\n250 AUTH LOGIN\r\n"),
                          ReadLine(),
                          Send("334 VXNlcm5hbWU6\r\n"),
                          ReadLine(),
                          Send("334 UGFzc3dvcmQ6\r\n"),
                          ReadLine(),
                          Send("235 welcome\r\n"),
                          ReadLine(),
                          Send("250 ok\r\n"),
                          ReadLine(),
                          Send("250 ok\r\n"),
                          ReadLine(),
                          Send("354 go\r\n"),
                          ReadData(),
                          Send("250 2.6.0 queued "),
                          Pause(150),
                          Send("9876 bytes in 0.1 s\r\n"),
                          ReadLine(),
                          Send("221 bye\r\n")});
    ASSERT_TRUE(Connect(server));
    EXPECT_TRUE(Mailer->AuthAccepted());
    EXPECT_TRUE(Mailer->SendMessage());
    EXPECT_EQ(Mailer->FailureText(), "");
    EXPECT_TRUE(Mailer->Quit());
    server.Join();
    EXPECT_EQ(server.Received().at(1), "AUTH LOGIN");
}

TEST_F(SmtpMailerTest, AnInvalidReplyToMailRcptOrDataClosesTheSession) {
    // Lines of two codes, whole or split: the server and the client no
    // longer agree on where the dialogue stands, so nothing more is said.
    const std::vector<TScriptStep> before = {Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n")};
    const std::vector<std::vector<TScriptStep>> answers = {
        {ReadLine(), Send("250-a\r\n550 b\r\n")},
        {ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("250-a\r\n"), Pause(150), Send("550 b\r\n")},
        {ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(),
         Send("354-a\r\n550 b\r\n")},
    };
    for (const auto& answer : answers) {
        std::vector<TScriptStep> steps = before;
        steps.insert(steps.end(), answer.begin(), answer.end());
        steps.push_back(ReadLine());
        TScriptServer server(steps);
        ASSERT_TRUE(Connect(server));
        EXPECT_FALSE(Mailer->SendMessage());
        EXPECT_FALSE(Mailer->SocketTalk()->Socket()->Active()) << answer.size();
        EXPECT_NE(Mailer->FailureText().find("550 b"), std::string::npos) << Mailer->FailureText();
        server.Join();
        // Neither RSET nor QUIT followed: the last read found the connection closed.
        const auto reads = std::count_if(steps.begin(), steps.end(), [](const TScriptStep& Step) {
            return Step.Kind == TScriptStep::Line;
        });
        EXPECT_EQ(server.Received().size(), static_cast<std::size_t>(reads));
        EXPECT_EQ(server.Received().back(), "");
    }
}

TEST_F(SmtpMailerTest, TheDocumentedReplyLimitOf65536OctetsHolds) {
    // Sixteen lines of the longest length, 4096 octets each.
    std::string greeting;
    for (int line = 0; line < 16; ++line)
        greeting += std::string(line == 15 ? "220 " : "220-") + std::string(4090, 'x') + "\r\n";
    ASSERT_EQ(greeting.size(), 65536u);
    Mailer->SetHandshaking(hsManual);
    TScriptServer whole({Send(greeting)});
    EXPECT_TRUE(Connect(whole));
    Mailer->Quit();
    TScriptServer over({Send("220-x\r\n" + greeting)});
    EXPECT_FALSE(Connect(over));
    EXPECT_EQ(Mailer->GetLastResponse(), TooLongReplyText);
}

TEST_F(SmtpMailerTest, AConnectThatRaisesHasClosedItsSocket) {
    // Left unhandled, the refused connection raises out of Connect itself.
    Mailer->SocketTalk()->Socket()->OnError = TSocketErrorEvent();
    Mailer->SetPort(TScriptServer::ClosedPort());
    EXPECT_THROW(Mailer->Connect(), Exception);
    EXPECT_FALSE(Mailer->SocketTalk()->Socket()->Active());
    EXPECT_FALSE(Mailer->Connected());
}

TEST_F(SmtpMailerTest, TheNameLookupEndsAtTheTimeOut) {
    THeldResolver nameServer;
    Mailer->SetHost("mail.example.test");
    Mailer->SetTimeOut(1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Mailer->Connect());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    // No server was reached: the name is what to look at.
    EXPECT_EQ(Mailer->FailureText(),
              "The server name \"mail.example.test\" could not be found in time (time-out 1 s).");
}

TEST_F(SmtpMailerTest, AConnectRefusedBeforeAnySessionSaysWhyRatherThanTheLastSessionsReason) {
    TScriptServer refusing({Send("550 go away\r\n")});
    EXPECT_FALSE(Connect(refusing));
    EXPECT_EQ(Mailer->FailureText(), "The server replied: 550 go away");
    const struct {
        std::string Host;
        int Port;
        std::string Failure;
    } cases[] = {
        {"", 25, "No server is named: the server name is empty."},
        {"127.0.0.1", 0, "No port is given for the server."},
        {"127.0.0.1", 65536, "There is no port 65536: ports go from 1 to 65535."},
    };
    for (const auto& c : cases) {
        Mailer->SetHost(c.Host);
        Mailer->SetPort(c.Port);
        EXPECT_FALSE(Mailer->Connect());
        EXPECT_EQ(Mailer->FailureText(), c.Failure);
        EXPECT_EQ(Mailer->GetLastResponse(), "");
    }
}

}  // namespace
