// The e-mail dialog's test mail: sent with the values in the dialog's edits
// (not the stored ones) on a worker of its own, so the dialog stays
// responsive; each outcome is the text of a message box.
#pragma once

#include <functional>
#include <string>

#include "classlib/windows/thread.h"

class TSMTPMailer;
class TMimeMessage;

struct TTestMail {
    std::string Server;
    int Port = 25;
    // As typed in the dialog's edits.
    std::wstring Subject;
    std::wstring From;
    std::wstring To;
    bool UsePassword = false;
    std::string UserName;
    std::string Password;
};

using TTestReport = std::function<void(const std::string& Text)>;

// Reports "OK" or "Can not Connect SMTP server", then the server's last
// response, then the last response again when the message went or "Can not
// Send mail" when it did not (an exception on the way included). Beneath each
// failure's text, on a line of its own, is why: the refused address, the
// server's reply, the time-out. The addresses go without what a paste
// leaves around them; one that cannot go is refused before any connection.
// The session always ends.
void SendTestMail(TSMTPMailer* Mailer, TMimeMessage* Message, const TTestMail& Mail,
                  const TTestReport& Report);

class TSmtpTest : public TThread {
    VX_CLASS(TSmtpTest, TThread)
public:
    // Starts at once; Done runs on the worker when the session is over.
    TSmtpTest(TSMTPMailer* Mailer, TMimeMessage* Message, TTestMail Mail, TTestReport Report,
              std::function<void()> Done);

protected:
    ~TSmtpTest() override = default;
    void Execute() override;

private:
    TSMTPMailer* mailer_;
    TMimeMessage* message_;
    TTestMail mail_;
    TTestReport report_;
    std::function<void()> done_;
};
