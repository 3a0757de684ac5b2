#include "app/test_mail.h"

#include "app/alert_mail.h"
#include "classlib/core/datetime.h"
#include "classlib/core/text.h"
#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"

void SendTestMail(TSMTPMailer* Mailer, TMimeMessage* Message, const TTestMail& Mail,
                  const TTestReport& Report) {
    bool sent = false;
    std::string reason;
    try {
        const TMessageTexts texts = UseCharsetFor(Message, Mail.Subject, L"Vexmora SMTP test");
        Mailer->SetHost(Mail.Server);
        Mailer->SetPort(Mail.Port);
        Message->SetSubject(texts.Subject);
        Message->SetFrom("Vexmora", MailAddressToSend(Mail.From));
        Message->To()->Clear();
        Message->To()->Add("Vexmora notif", MailAddressToSend(Mail.To));
        Message->SetPriority(2);
        Message->SetTextPlain(texts.Body);
        Message->SetDate(Date());
        // The last test's login must not stay for one without.
        Mailer->SetUserName(Mail.UsePassword ? Mail.UserName : "");
        Mailer->SetPassword(Mail.UsePassword ? Mail.Password : "");

        const bool connected = ConnectMailer(Mailer, reason);
        Report(connected ? ConnectedText : "Can not Connect SMTP server\n" + reason);
        Report(Mailer->GetLastResponse());
        sent = connected && BuildAndSend(Mailer, Message);
        if (sent)
            Report(Mailer->GetLastResponse());
        else if (connected)
            reason = MailFailureReason(Mailer);
    } catch (...) {
        sent = false;
        reason = RaisedReason();
    }
    EndMailSession(Mailer);
    if (!sent) Report(CannotSendText + ("\n" + reason));
}

TSmtpTest::TSmtpTest(TSMTPMailer* Mailer, TMimeMessage* Message, TTestMail Mail, TTestReport Report,
                     std::function<void()> Done)
    : TThread(false),
      mailer_(Mailer),
      message_(Message),
      mail_(std::move(Mail)),
      report_(std::move(Report)),
      done_(std::move(Done)) {}

void TSmtpTest::Execute() {
    try {
        SendTestMail(mailer_, message_, mail_, report_);
    } catch (...) {
        // The report could not be queued; the buttons come back all the same.
    }
    done_();
}
