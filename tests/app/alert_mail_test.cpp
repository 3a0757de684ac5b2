// Alert mails on the single mail worker: settings read afresh for every
// mail, the session always ended so a failure leaves the next mail working,
// why a mail did not go handed to the log, no mail queued twice, and a stop
// that does not wait for a silent server.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "app/mail_queue.h"
#include "app/password_scrambler.h"
#include "app/settings.h"
#include "classlib/core/registryredirect.h"
#include "mail/mime_codecs.h"
#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"
#include "tests/app/received_mail.h"
#include "tests/mail/smtp_script_server.h"
#include "tests/support/code_page.h"

namespace {

class MailTest : public ::testing::Test {
protected:
    MailTest() {
        message->SetCharset("iso-8859-1");
        message->SetTextEncoding(etQuotedPrintable);
        mailer->SetMailMessage(message.get());
        mailer->SetTimeOut(10);
    }

    void Store(int Port, const std::string& To, bool Login) {
        auto settings = OpenSettings(true);
        settings->WriteString("SMTPServer", "127.0.0.1");
        settings->WriteInteger("Port", Port);
        settings->WriteString("FromMail", "monitor@example.com");
        settings->WriteString("ToMail", To);
        settings->WriteBool("usepassword", Login);
        settings->WriteString("Username", "alice");
        std::string stored;
        ScrambleString("s3cret", stored);
        settings->WriteString("Password", stored);
    }

    void Report(const std::string& Text) {
        std::lock_guard guard(lock);
        reports.push_back(Text);
    }
    std::vector<std::string> Reports() {
        std::lock_guard guard(lock);
        return reports;
    }
    std::vector<std::string> Logged() {
        std::lock_guard guard(lock);
        return logged;
    }

    TRegistryRedirect privateRoot;
    TOwned<TMimeMessage> message = MakeOwned<TMimeMessage>(nullptr);
    TOwned<TSMTPMailer> mailer = MakeOwned<TSMTPMailer>(nullptr);
    std::mutex lock;
    std::vector<std::string> reports;
    std::vector<std::string> logged;
    TMailQueue queue{mailer.get(), message.get(), [this](const std::string& Text) { Report(Text); },
                     [this](const std::string& Reason) {
                         std::lock_guard guard(lock);
                         logged.push_back(Reason);
                     }};
};

std::vector<TScriptStep> Greeting(const std::string& EhloReply) {
    return {Send("220 ready\r\n"), ReadLine(), Send(EhloReply)};
}

std::vector<TScriptStep> Delivery() {
    return {ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"),
            ReadLine(), Send("354 go\r\n"), ReadData(), Send("250 queued\r\n"),
            ReadLine(), Send("221 bye\r\n")};
}

std::vector<TScriptStep> Join(std::vector<TScriptStep> A, const std::vector<TScriptStep>& B) {
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

}  // namespace

TEST(AlertMailSettings, PortAndCompleteness) {
    const struct {
        int Stored;
        int Used;
    } ports[] = {{0, 25}, {-1, 25}, {1, 1}, {587, 587}, {65535, 65535}, {65536, 25}, {1000000000, 25}};
    for (const auto& p : ports) EXPECT_EQ(AlertMailPort(p.Stored), p.Used) << p.Stored;

    TRegistryRedirect privateRoot;
    auto settings = OpenSettings(true);
    settings->WriteString("SMTPServer", "mail.example.com");
    settings->WriteString("FromMail", "a@example.com");
    settings->WriteBool("usepassword", true);
    settings->WriteString("Username", "alice");
    EXPECT_FALSE(ReadMailSettings().Complete);
    settings->WriteString("ToMail", "b@example.com");
    const TMailSettings read = ReadMailSettings();
    EXPECT_TRUE(read.Complete);
    EXPECT_EQ(read.Port, 25);
    // Ticked, but without a stored password there is no login.
    EXPECT_EQ(read.UserName, "");
}

TEST_F(MailTest, FailuresEndTheirSessionAndTheNextMailGoes) {
    // An empty recipient is refused by the server; the session is still
    // closed with QUIT.
    TScriptServer refusing(Join(Greeting("250 ok\r\n"),
                                {ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("501 5.1.3 no address\r\n"),
                                 ReadLine(), Send("250 reset\r\n"), ReadLine(), Send("221 bye\r\n")}));
    Store(refusing.Port(), "", false);
    ASSERT_TRUE(queue.Add({"S1", "B1"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    refusing.Join();
    std::vector<std::string> received = refusing.Received();
    ASSERT_EQ(received.size(), 5u);
    EXPECT_EQ(received[2], "RCPT TO:<>");
    EXPECT_EQ(received[4], "QUIT");
    EXPECT_EQ(Reports(), (std::vector<std::string>{"OK", "Can not Send mail"}));
    EXPECT_EQ(Logged(), (std::vector<std::string>{"The server replied: 501 5.1.3 no address"}));

    // The next one logs in with the stored user and password.
    TScriptServer withLogin(Join(Greeting("250-ok\r\n250 AUTH LOGIN\r\n"),
                                 Join({ReadLine(), Send("334 VXNlcm5hbWU6\r\n"), ReadLine(),
                                       Send("334 UGFzc3dvcmQ6\r\n"), ReadLine(), Send("235 welcome\r\n")},
                                      Delivery())));
    Store(withLogin.Port(), "admin@example.com", true);
    ASSERT_TRUE(queue.Add({"S2", "B2"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    withLogin.Join();
    received = withLogin.Received();
    ASSERT_EQ(received.size(), 9u);
    EXPECT_EQ(received[1], "AUTH LOGIN");
    EXPECT_EQ(received[2], EncodeBase64String("alice"));
    EXPECT_EQ(received[3], EncodeBase64String("s3cret"));
    EXPECT_EQ(received[5], "RCPT TO:<admin@example.com>");
    EXPECT_NE(received[7].find("Subject: S2\r\n"), std::string::npos);
    EXPECT_EQ(received[8], "QUIT");

    // Untick the login and move to another server: it never hears the password.
    TScriptServer withoutLogin(Join(Greeting("250-ok\r\n250 AUTH LOGIN\r\n"), Delivery()));
    Store(withoutLogin.Port(), "admin@example.com", false);
    ASSERT_TRUE(queue.Add({"S3", "B3"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    withoutLogin.Join();
    received = withoutLogin.Received();
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[1], "MAIL FROM:<monitor@example.com>");
    EXPECT_EQ(Reports(), (std::vector<std::string>{"OK", "Can not Send mail", "OK", "OK"}));
    // A mail that went says so with an empty reason.
    EXPECT_EQ(Logged(), (std::vector<std::string>{"The server replied: 501 5.1.3 no address", "", ""}));
    EXPECT_EQ(queue.Finished(), 3);
}

TEST_F(MailTest, AnUnreachableServerIsReportedAndNothingGoesWithoutRecipientSettings) {
    auto settings = OpenSettings(true);
    settings->WriteString("SMTPServer", "127.0.0.1");
    settings->WriteString("FromMail", "monitor@example.com");
    settings.reset();
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    EXPECT_TRUE(Reports().empty());

    const int port = TScriptServer::ClosedPort();
    Store(port, "admin@example.com", false);
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    EXPECT_EQ(Reports(),
              (std::vector<std::string>{"Vexmora Can not Connect SMTP server", "Can not Send mail"}));
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"No connection to 127.0.0.1 on port " + std::to_string(port) + "."}));
}

TEST_F(MailTest, AConnectThatRaisesIsReportedAsAFailedConnect) {
    // Left unhandled, the refused connection raises out of Connect itself.
    mailer->SocketTalk()->Socket()->OnError = TSocketErrorEvent();
    Store(TScriptServer::ClosedPort(), "admin@example.com", false);
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    EXPECT_EQ(Reports(),
              (std::vector<std::string>{"Vexmora Can not Connect SMTP server", "Can not Send mail"}));
    EXPECT_FALSE(mailer->SocketTalk()->Socket()->Active());
    ASSERT_EQ(Logged().size(), 1u);
    EXPECT_FALSE(Logged()[0].empty());
}

TEST_F(MailTest, AStoredAddressThatCannotGoOutSendsNothing) {
    // Once mangled into "RCPT TO:<a@bevil@x>", or sent with a byte outside
    // ASCII; now refused, with why, before any connection.
    TScriptServer server(Join(Greeting("250 ok\r\n"), Delivery()));
    Store(server.Port(), "a@b evil@x", false);
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    OpenSettings(true)->WriteString("ToMail", "admin@ex\xE4mple.net");
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    EXPECT_EQ(Reports(), (std::vector<std::string>{"Can not Send mail", "Can not Send mail"}));
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"Invalid mail address \"a@b evil@x\": it holds a blank",
                                        "Invalid mail address \"admin@ex\xE4mple.net\": it holds a character "
                                        "outside ASCII"}));
    EXPECT_TRUE(server.Received().empty());
}

TEST_F(MailTest, AddressesStoredWithBlanksAroundThemGoOutBare) {
    TScriptServer server(Join(Greeting("250 ok\r\n"), Delivery()));
    // A paste from a web page brings the no-break space.
    Store(server.Port(), "", false);
    OpenSettings(true)->WriteWideString("ToMail", L"  admin@example.net\u00A0\t");
    OpenSettings(true)->WriteString("FromMail", " monitor@example.org  ");
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    // Before the join: a mail that never connected leaves the server waiting.
    ASSERT_EQ(Logged(), std::vector<std::string>{""});
    EXPECT_EQ(Reports(), (std::vector<std::string>{"OK"}));
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[1], "MAIL FROM:<monitor@example.org>");
    EXPECT_EQ(received[2], "RCPT TO:<admin@example.net>");
}

TEST_F(MailTest, StoredAddressesAreJudgedAsTyped) {
    ExpectTheRunsCodePage();
    // Stored in letters the code page may not hold, as a registry editor or
    // an import leaves them: what a paste brings around them goes.
    TScriptServer server(Join(Greeting("250 ok\r\n"), Delivery()));
    Store(server.Port(), "", false);
    OpenSettings(true)->WriteWideString("FromMail", L"\u00A0monitor@example.com\uFEFF");
    OpenSettings(true)->WriteWideString("ToMail", L"\u3000admin@example.net\u200B");
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    ASSERT_EQ(Logged(), std::vector<std::string>{""});
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(received.size(), 6u);
    EXPECT_EQ(received[1], "MAIL FROM:<monitor@example.com>");
    EXPECT_EQ(received[2], "RCPT TO:<admin@example.net>");

    // Inside the address it is refused before any connection, never a "?".
    OpenSettings(true)->WriteWideString("ToMail", L"admin@example.net\u200Bx");
    ASSERT_TRUE(queue.Add({"S", "B"}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    EXPECT_EQ(Logged(), (std::vector<std::string>{"",
                                                  "Invalid mail address \"admin@example.net\\u200Bx\": it "
                                                  "holds a character outside ASCII"}));
    EXPECT_EQ(Reports(), (std::vector<std::string>{"OK", "Can not Send mail"}));
}

TEST_F(MailTest, AnAlertInTheCodePagesOwnLettersArrivesAsWrittenAsTyped) {
    ExpectTheRunsCodePage();
    // A drive named in letters of the code page that Latin-1 lacks: Japanese
    // under 932 and 936, the euro sign under 1252.
    std::wstring model;
    for (const std::wstring letters : {L"\u4EF6\u540D\u30C6\u30B9\u30C8", L"\u20AC"})
        if (model.empty() && ToWide(ToAnsi(letters)) == letters) model = letters;
    ASSERT_FALSE(model.empty()) << "no letters of code page " << GetACP();
    TScriptServer server(Join(Greeting("250 ok\r\n"), Delivery()));
    Store(server.Port(), "admin@example.com", false);
    ASSERT_TRUE(queue.Add({ToAnsi(model) + "Message", ToAnsi(model + L" 55")}));
    ASSERT_TRUE(queue.WaitIdle(20000));
    ASSERT_EQ(Logged(), std::vector<std::string>{""});
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(received.size(), 6u);
    const std::string& data = received[4];
    EXPECT_EQ(ReadHeaderIn(ReceivedHeader(data, "Subject"), "utf-8"), model + L"Message");
    EXPECT_EQ(ReceivedCharset(data), "utf-8");
    const std::size_t body = data.find("\r\n\r\n");
    ASSERT_NE(body, std::string::npos);
    const std::string text = data.substr(body + 4, data.rfind("\r\n.\r\n") - body - 4);
    EXPECT_EQ(TrimSpace(DecodeQuotedPrintable(text)), WideToUtf8(model + L" 55")) << text;
}

TEST_F(MailTest, NoMailIsQueuedTwiceAndStopDoesNotWaitForASilentServer) {
    // Accepts, then says nothing until the client hangs up.
    TScriptServer silent({ReadLine()});
    Store(silent.Port(), "admin@example.com", false);
    ASSERT_TRUE(queue.Add({"hot", "Temperature Celcius"}));
    for (int i = 0; i < 50 && !queue.Sending(); ++i) Sleep(20);
    ASSERT_TRUE(queue.Sending());
    EXPECT_FALSE(queue.Add({"hot", "Temperature Celcius"}));  // in flight
    EXPECT_TRUE(queue.Add({"hot", "Raw Read Error Rate"}));
    EXPECT_FALSE(queue.Add({"hot", "Raw Read Error Rate"}));  // waiting
    EXPECT_EQ(queue.Waiting(), 1u);

    const auto started = std::chrono::steady_clock::now();
    queue.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(queue.Waiting(), 0u);
    EXPECT_FALSE(queue.Sending());
    EXPECT_FALSE(queue.Add({"late", "mail"}));
}
