// The SMTP client against servers that misbehave on purpose, one way per
// session, run as the alert mail runs it (Connect, SendMessage, Quit): each
// session must end with the right outcome, within seconds where the reply
// cannot be a reply, and leave the process's private bytes where they were.
#include <windows.h>
// After it.
#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"
#include "mail/smtp_wire.h"
#include "tests/mail/smtp_script_server.h"

namespace {

using TClock = std::chrono::steady_clock;

// Far above what one bounded session may keep, far below an unbounded reply.
constexpr std::int64_t MemorySlack = 2 * 1024 * 1024;

std::int64_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    // Wine leaves PrivateUsage empty; the page-file usage is the same commit charge.
    return static_cast<std::int64_t>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

struct TSession {
    bool Connected = false;
    bool Sent = false;
    double Seconds = 0;
    std::string ConnectResponse;
    std::size_t KeptCapacity = 0;  // of the reply buffer, once the session is over
    std::int64_t Grown = 0;        // private bytes after the session less before
};

class HostileServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The first session loads what every later one finds loaded.
        Play({Send("220 hi\r\n"), ReadLine(), Send("250 ok\r\n")}, 10);
    }

    // One session against the script, with TimeOut seconds of idle time-out.
    static TSession Play(std::vector<TScriptStep> Steps, int TimeOut) {
        TSession session;
        const std::int64_t before = PrivateBytes();
        {
            TOwned<TComponent> owner = MakeOwned<TComponent>(nullptr);
            TSMTPMailer* mailer = Create<TSMTPMailer>(owner.get());
            mailer->SetHost("127.0.0.1");
            mailer->SetTimeOut(TimeOut);
            TMimeMessage* message = Create<TMimeMessage>(owner.get());
            message->SetFrom("Vexmora", "monitor@example.com");
            message->To()->Add("Admin", "admin@example.com");
            message->SetSubject("Drive alert");
            message->SetTextPlain("Drive 0 is hot.\r\n");
            message->RebuildBody();
            mailer->SetMailMessage(message);

            TScriptServer server(std::move(Steps));
            mailer->SetPort(server.Port());
            const auto started = TClock::now();
            session.Connected = mailer->Connect();
            session.ConnectResponse = mailer->GetLastResponse();
            session.Sent = session.Connected && mailer->SendMessage();
            mailer->Quit();
            session.KeptCapacity = mailer->SocketTalk()->ReplyBuffer().capacity();
            session.Seconds = std::chrono::duration<double>(TClock::now() - started).count();
        }
        session.Grown = PrivateBytes() - before;
        return session;
    }
};

// Every session must fail (or not) fast, and keep nothing.
void ExpectPromptAndBounded(const TSession& Session, double Seconds) {
    EXPECT_LT(Session.Seconds, Seconds);
    EXPECT_LT(Session.Grown, MemorySlack);
}

TEST_F(HostileServer, AGreetingThatIsNoReplyFailsAtOnceWithItsText) {
    for (const char* greeting : {"abc hostile.example\r\n", "2\r\n", "\r\n", "\n", "220 bare line feed\n"}) {
        SCOPED_TRACE(greeting);
        // The server keeps the connection open: only the client can end it early.
        const TSession session = Play({Send(greeting), ReadLine()}, 10);
        EXPECT_FALSE(session.Connected);
        EXPECT_EQ(session.ConnectResponse, greeting);
        ExpectPromptAndBounded(session, 3);
    }
}

TEST_F(HostileServer, AnOverlongReplyFailsAtTheLimitAndGivesItsMemoryBack) {
    const std::size_t megabyte = 1024 * 1024;
    const struct {
        const char* Name;
        std::vector<TScriptStep> Steps;
    } cases[] = {
        {"1 MB greeting line", {Flood("220 ", 'x', megabyte), ReadLine()}},
        {"1 MB EHLO line", {Send("220 hi\r\n"), ReadLine(), Flood("250 ", 'x', megabyte), ReadLine()}},
        {"128 MB greeting line", {Flood("220 ", 'x', 128 * megabyte), ReadLine()}},
        {"endless greeting line", {Flood("220 ", 'x', Endless)}},
        {"endless EHLO line", {Send("220 hi\r\n"), ReadLine(), Flood("250-", '-', Endless)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TSession session = Play(c.Steps, 10);
        EXPECT_FALSE(session.Connected);
        EXPECT_TRUE(session.ConnectResponse.ends_with(TooLongReplyText))
            << session.ConnectResponse.substr(0, 80);
        EXPECT_LT(session.KeptCapacity, 4096u);
        ExpectPromptAndBounded(session, 5);
    }
}

TEST_F(HostileServer, TenThousandContinuationLinesFailAtTheReplyLimit) {
    std::string lines;
    for (int i = 0; i < 10000; ++i) lines += "250-EXTENSION-" + std::to_string(10000 + i) + "\r\n";
    const TSession session = Play({Send("220 hi\r\n"), ReadLine(), Send(lines + "250 HELP\r\n")}, 10);
    EXPECT_FALSE(session.Connected);
    // Compared whole, but not printed whole.
    EXPECT_TRUE(session.ConnectResponse == std::string("220 hi\r\n") + TooLongReplyText)
        << session.ConnectResponse.size() << " bytes";
    ExpectPromptAndBounded(session, 5);

    // A long answer within the limit is still read whole.
    std::string many;
    for (int i = 0; i < 200; ++i) many += "250-EXTENSION-" + std::to_string(10000 + i) + "\r\n";
    const TSession fine = Play(
        {Send("220 hi\r\n"), ReadLine(), Send(many + "250 HELP\r\n"), ReadLine(), Send("221 bye\r\n")}, 10);
    EXPECT_TRUE(fine.Connected);
    EXPECT_EQ(fine.ConnectResponse, "220 hi\r\n" + many + "250 HELP\r\n");
}

TEST_F(HostileServer, AServerTricklingOneBytePerSecondIsCutOffAtTheSessionDeadline) {
    // Each byte comes within the idle time-out of 2 s; the session may last 10 s.
    const int timeOut = 2;
    const TSession session = Play({SendSlowly("220-" + std::string(40, 'x'), 1000)}, timeOut);
    EXPECT_FALSE(session.Connected);
    EXPECT_GE(session.Seconds, timeOut * SessionTimeOuts - 0.5);
    ExpectPromptAndBounded(session, timeOut * SessionTimeOuts + 3);
}

// The steps of a whole delivery, one exchange each: greeting, EHLO, MAIL
// FROM, RCPT TO, DATA, the text, QUIT.
std::vector<std::vector<TScriptStep>> Delivery() {
    return {{Send("220 ready\r\n")},          {ReadLine(), Send("250 ok\r\n")},
            {ReadLine(), Send("250 ok\r\n")}, {ReadLine(), Send("250 ok\r\n")},
            {ReadLine(), Send("354 go\r\n")}, {ReadData(), Send("250 queued\r\n")},
            {ReadLine(), Send("221 bye\r\n")}};
}

TEST_F(HostileServer, AConnectionClosedOrResetAtAnyStepFailsThatStepAtOnce) {
    const auto delivery = Delivery();
    for (const bool reset : {false, true}) {
        for (std::size_t step = 0; step < delivery.size(); ++step) {
            SCOPED_TRACE((reset ? "reset before reply " : "close before reply ") + std::to_string(step));
            std::vector<TScriptStep> steps;
            for (std::size_t i = 0; i < step; ++i)
                steps.insert(steps.end(), delivery[i].begin(), delivery[i].end());
            // The command of the step is read, its reply never comes.
            if (step > 0) steps.push_back(delivery[step].front());
            steps.push_back(reset ? ResetConnection() : CloseConnection());
            const TSession session = Play(steps, 10);
            EXPECT_EQ(session.Connected, step >= 2);
            EXPECT_EQ(session.Sent, step >= 6);
            ExpectPromptAndBounded(session, 3);
        }
    }
}

}  // namespace
