#include "app/alert_mail.h"

#include "app/password_scrambler.h"
#include "app/settings.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"
#include "mail/smtp_wire.h"
#include "mail/text_charset.h"

const char* const ConnectedText = "OK";
const char* const CannotConnectText = "Vexmora Can not Connect SMTP server";
const char* const CannotSendText = "Can not Send mail";

namespace {

const char* const SenderName = "Vexmora";
const char* const RecipientName = "Vexmora";
constexpr int DefaultSmtpPort = 25;

bool HasString(TRegistry* Registry, const char* Name) {
    const TRegDataType type = Registry->GetDataType(Name);
    return Registry->ValueExists(Name) && (type == rdString || type == rdExpandString);
}

}  // namespace

std::string MailAddressToSend(std::wstring_view Typed) {
    std::string fault;
    std::string address = TypedMailAddress(Typed, fault);
    if (!fault.empty()) throw Exception(fault);
    return address;
}

TMessageTexts UseCharsetFor(TMimeMessage* Message, std::wstring_view Subject, std::wstring_view Body) {
    const std::string charset = CharsetCarrying({Subject, Body});
    Message->SetCharset(charset);
    return {TextInCharset(Subject, charset), TextInCharset(Body, charset)};
}

bool BuildAndSend(TSMTPMailer* Mailer, TMimeMessage* Message) {
    if (Message->NeedNormalize()) Message->Normalize(0);
    if (Message->NeedRebuild()) Message->RebuildBody();
    if (Message->NeedFindParts()) Message->FindParts();
    return Mailer->SendMessage();
}

std::string MailFailureReason(TSMTPMailer* Mailer) {
    const std::string& reason = Mailer->FailureText();
    return reason.empty() ? "The server gave no reason." : reason;
}

std::string RaisedReason() {
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "An unknown error stopped it.";
    }
}

bool ConnectMailer(TSMTPMailer* Mailer, std::string& Reason) {
    try {
        if (Mailer->Connect()) return true;
        Reason = MailFailureReason(Mailer);
    } catch (...) {
        Reason = RaisedReason();
    }
    return false;
}

void EndMailSession(TSMTPMailer* Mailer) noexcept {
    try {
        Mailer->Quit();
    } catch (...) {
        // Quit closes the socket before anything can raise; nothing is left.
    }
}

void SetUpMailComponents(TSMTPMailer* Mailer, TMimeMessage* Message, TEncodingType TextEncoding) {
    Message->SetCharset("iso-8859-1");
    Message->SetTextEncoding(TextEncoding);
    Message->SetAttachEncoding(etBase64);
    Mailer->SetPort(DefaultSmtpPort);
    Mailer->SetTimeOut(60);
    Mailer->SetPacketSize(102400);
    Mailer->SetHandshaking(hsAuto);
    Mailer->SetMailMessage(Message);
}

int AlertMailPort(int StoredPort) {
    return StoredPort >= 1 && StoredPort <= 65535 ? StoredPort : DefaultSmtpPort;
}

TMailSettings ReadMailSettings() {
    TMailSettings settings;
    auto registry = OpenSettings(true);
    if (!registry) return settings;
    settings.Complete = HasString(registry.get(), "SMTPServer") && HasString(registry.get(), "FromMail") &&
                        HasString(registry.get(), "ToMail");
    settings.Server = ReadStringOr(registry.get(), "SMTPServer", "");
    // Stored by earlier versions as typed, blanks of a paste included.
    settings.From = ReadWideStringOr(registry.get(), "FromMail", L"");
    settings.To = ReadWideStringOr(registry.get(), "ToMail", L"");
    settings.Port = AlertMailPort(ReadIntegerOr(registry.get(), "Port", 0));
    if (ReadBoolOr(registry.get(), "usepassword", false) && HasString(registry.get(), "Username") &&
        HasString(registry.get(), "Password")) {
        settings.UserName = ReadStringOr(registry.get(), "Username", "");
        UnscrambleString(ReadStringOr(registry.get(), "Password", ""), settings.Password);
    }
    return settings;
}

std::string SendAlertMail(TSMTPMailer* Mailer, TMimeMessage* Message, const TMailSettings& Settings,
                          const TAlertMail& Mail, const TMailReport& Report) {
    if (!Settings.Complete) return "";
    bool sent = false;
    std::string reason;
    try {
        const TMessageTexts texts = UseCharsetFor(Message, ToWide(Mail.Subject), ToWide(Mail.Body));
        Mailer->SetHost(Settings.Server);
        Mailer->SetPort(Settings.Port);
        // Every mail logs in with what is stored now: no AUTH without the
        // tick, and no earlier password sent to another server.
        Mailer->SetUserName(Settings.UserName);
        Mailer->SetPassword(Settings.Password);
        Message->SetFrom(SenderName, MailAddressToSend(Settings.From));
        Message->To()->Clear();
        Message->To()->Add(RecipientName, MailAddressToSend(Settings.To));
        Message->SetSubject(texts.Subject);
        Message->SetTextPlain(texts.Body);

        const bool connected = ConnectMailer(Mailer, reason);
        Report(connected ? ConnectedText : CannotConnectText);
        sent = connected && BuildAndSend(Mailer, Message);
        if (connected && !sent) reason = MailFailureReason(Mailer);
    } catch (...) {
        sent = false;
        reason = RaisedReason();
    }
    EndMailSession(Mailer);
    if (!sent) Report(CannotSendText);
    return reason;
}
