#include "mail/smtp_mailer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/header_lines.h"
#include "mail/mime_message.h"
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

TEST_F(SmtpMailerTest, AddressWithAControlCharacterSendsNoCommand) {
    TScriptServer server(
        {Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("221 bye\r\n")});
    ASSERT_TRUE(Connect(server));
    EXPECT_FALSE(Mailer->SendMessageTo("a@b\r\nRSET", "admin@example.com"));
    EXPECT_FALSE(Mailer->SendMessageTo("a@b", "\"x@y\r\nDATA\""));
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

}  // namespace
