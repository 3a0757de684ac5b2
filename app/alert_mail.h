// One alert mail: the mail settings as stored right now, and the session that
// sends a subject and body with the main window's client and message: connect,
// send, and always end (QUIT, or the socket dropped), reporting each outcome
// as the text of a message box and returning why a mail did not go.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "mail/mail_types.h"

class TSMTPMailer;
class TMimeMessage;

// The mail components of a form resource, as both forms set them: the client
// on port 25 with a 60-second time-out, 102400-byte packets and the automatic
// handshake, sending the message; the message in "iso-8859-1" (until a
// message's texts need UTF-8, UseCharsetFor) with base64 attachments and the
// text in TextEncoding.
void SetUpMailComponents(TSMTPMailer* Mailer, TMimeMessage* Message, TEncodingType TextEncoding);

// In the system code page, as the drive names and the rules give it.
struct TAlertMail {
    std::string Subject;
    std::string Body;
    bool operator==(const TAlertMail&) const = default;
};

struct TMailSettings {
    // "SMTPServer", "FromMail" and "ToMail" all exist; without them no mail goes.
    bool Complete = false;
    std::string Server;
    // As stored, judged when the mail is built (MailAddressToSend).
    std::wstring From;
    std::wstring To;
    // The stored "Port" when it is 1-65535, else 25.
    int Port = 25;
    // Set only with "usepassword" ticked and both values stored; the
    // password unscrambled.
    std::string UserName;
    std::string Password;
};

// Read afresh from the settings key, so every mail goes with what is stored now.
TMailSettings ReadMailSettings();
// The port an alert mail uses for a stored "Port" value (0 when missing).
int AlertMailPort(int StoredPort);

using TMailReport = std::function<void(const std::string& Text)>;

extern const char* const ConnectedText;      // "OK"
extern const char* const CannotConnectText;  // "Vexmora Can not Connect SMTP server"
extern const char* const CannotSendText;     // "Can not Send mail"

// A typed or stored address as it goes out (TypedMailAddress); raises why
// it cannot go.
std::string MailAddressToSend(std::wstring_view Typed);
// A message's subject and plain text as they go out: the message is set to
// a charset that carries both (CharsetCarrying), so a message in Latin-1
// goes as it always went and any other arrives as written.
struct TMessageTexts {
    std::string Subject;
    std::string Body;
};
TMessageTexts UseCharsetFor(TMimeMessage* Message, std::wstring_view Subject, std::wstring_view Body);
// Builds the message as its flags ask (normalise, rebuild, find the parts)
// and sends it; false when it did not go.
bool BuildAndSend(TSMTPMailer* Mailer, TMimeMessage* Message);
// Why the mailer's last step failed (FailureText), never empty.
std::string MailFailureReason(TSMTPMailer* Mailer);
// Inside a catch block: the text of the exception being handled.
std::string RaisedReason();
// Connect, where one that raises failed like any other (its socket closed);
// Reason gets why it failed.
bool ConnectMailer(TSMTPMailer* Mailer, std::string& Reason);
// QUIT when the server still listens; the socket is closed in any case.
void EndMailSession(TSMTPMailer* Mailer) noexcept;

// Sends Mail with the client and message (both used by this thread alone
// meanwhile). Reports ConnectedText or CannotConnectText, then
// CannotSendText when the message did not go (also for an exception on the
// way). The session is over when it returns, whatever happened. Returns why
// the mail did not go (a refused address, the server's reply, a time-out),
// empty when it went or the settings are incomplete.
std::string SendAlertMail(TSMTPMailer* Mailer, TMimeMessage* Message, const TMailSettings& Settings,
                          const TAlertMail& Mail, const TMailReport& Report);
