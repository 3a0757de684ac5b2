// `TSMTPMailer`: sends a `TMimeMessage` to an SMTP server over its own
// `TSocketTalk`: Connect (greeting, EHLO or HELO, AUTH LOGIN), SendMessage
// (MAIL FROM, RCPT TO, DATA, the text) and Quit, each step a Boolean result.
#pragma once

#include <string>
#include <string_view>

#include "classlib/core/component.h"
#include "classlib/core/win32.h"
#include "mail/mail_types.h"
#include "mail/socket_talk.h"

class TMimeMessage;
class TStrings;

// Talk ids of the dialogue's steps.
enum TSMTPTalkID {
    tiGreeting = 1,
    tiHelo = 9,
    tiMailFrom = 10,
    tiRcptTo = 11,
    tiEhlo = 12,
    tiUserName = 13,
    tiPassword = 14,
    tiAuthLogin = 15,
    tiAnyReply = 16,
    tiData = 17,
    tiMessageText = 18,
    tiQuit = 19,
};

class TSMTPMailer : public TComponent {
    VX_CLASS(TSMTPMailer, TComponent)
public:
    explicit TSMTPMailer(TComponent* AOwner);

    int Port() const { return port_; }
    void SetPort(int Value) { port_ = Value; }
    // A name or a numeric address.
    const std::string& Host() const { return host_; }
    void SetHost(const std::string& Value) { host_ = Value; }
    // Seconds without activity after which a step fails; a multiple of it
    // bounds the whole session.
    int TimeOut() const { return socketTalk_->TimeOut(); }
    void SetTimeOut(int Value) { socketTalk_->SetTimeOut(Value); }
    TMimeMessage* MailMessage() const { return mailMessage_; }
    void SetMailMessage(TMimeMessage* Value);
    // Chunk size for the message text (progress comes per chunk).
    int PacketSize() const { return packetSize_; }
    void SetPacketSize(int Value) { packetSize_ = Value; }
    // The socket talk's progress event, raised with this mailer as Sender.
    TProgressEvent OnProgress() const { return socketTalk_->OnProgress; }
    void SetOnProgress(TProgressEvent Value) { socketTalk_->OnProgress = Value; }
    THandshaking Handshaking() const { return handshaking_; }
    void SetHandshaking(THandshaking Value) { handshaking_ = Value; }
    // An empty UserName sends no AUTH LOGIN.
    const std::string& UserName() const { return userName_; }
    void SetUserName(const std::string& Value) { userName_ = Value; }
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& Value) { password_ = Value; }

    bool Connected() const { return connected_; }
    bool AuthAccepted() const { return authAccepted_; }
    TSocketTalk* SocketTalk() const { return socketTalk_; }

    // Connects, reads the greeting and (hsAuto) introduces itself and logs
    // in. False when not possible; a failure after the socket opened closes
    // it again (also when it raises), so Connect can be tried anew. The
    // session from here to Quit lasts at most SessionTimeOuts times TimeOut.
    bool Connect();
    bool Helo();
    bool Ehlo();
    bool AuthLogin();
    bool SendCredentials();
    // Sends MailMessage to its To, Cc and Bcc recipients. Raises Exception
    // "<Name>: MailMessage unassigned" without a message.
    bool SendMessage();
    // Recipients is comma text; each address is used once (without regard
    // to case), in sorted order. Raises Exception for a missing message, a
    // message that needs rebuilding, no recipients, and (naming it, with
    // nothing sent) an address that cannot go out (IsValidSMTPAddress).
    bool SendMessageTo(const std::string& From, const std::string& Recipients);
    // Says QUIT; true when the server answered 221. The socket is closed
    // afterwards whatever came back.
    bool Quit();
    // The last reply; after Connect in hsAuto mode the replies of the whole
    // handshake (a refused AUTH LOGIN left out: the server is used without).
    std::string GetLastResponse() const { return socketTalk_->ReplyBuffer(); }
    // Why the last step failed, in words for whoever can mend it: the
    // server's refusal or a reply that is none, a time-out, a name not found
    // (or not in time), a connection refused or lost, no server name or port
    // to connect to (texts shown cut to a readable length). Connect and
    // SendMessage start it empty.
    const std::string& FailureText() const { return failure_; }

    // Safe from any thread: the step waiting now (and every later one until
    // the connection closes) ends at once with failure; so does Connect
    // while it waits for the server's name to be looked up, which the
    // time-out and the session's time end too.
    void Abort() { socketTalk_->Abort(); }

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    ~TSMTPMailer() override = default;

private:
    // Connect's work once it may start: true when the session is ready.
    bool Handshake();
    // Raises Exception naming an address that cannot go into a command.
    void CheckAddress(const std::string& Address) const;
    // The user name, then (when accepted) the password; each reply is
    // appended to Replies when given.
    bool Credentials(std::string* Replies);
    // One exchange: sends Text (with CR LF) under TalkID and waits.
    bool Step(const std::string& Line, int TalkID);
    // MAIL FROM, RCPT TO for each recipient, DATA and the text.
    bool Transaction(const std::string& From, TStrings* Recipients);
    // Gives the socket the server's numeric address; false when the name
    // is not found or the lookup was aborted.
    bool ResolveHost();
    // Closes the socket; the session is over.
    void DropSession();
    bool Ready() const;
    // After a refused MAIL, RCPT or DATA: RSET, keeping the refusal readable.
    void ResetTransaction();
    [[noreturn]] void Fail(const char* Text) const;

    void EndOfData(TObject* Sender, int TalkID, bool& Done, const std::string& Reply);
    void SocketError(TObject* Sender, int TalkID, int TalkResult);
    void Disconnect(TObject* Sender);

    TMimeMessage* mailMessage_ = nullptr;
    bool connected_ = false;
    TSocketTalk* socketTalk_;
    int packetSize_ = 102400;
    bool authAccepted_ = false;
    THandshaking handshaking_ = hsAuto;
    std::string userName_;
    std::string password_;
    int port_ = 25;
    std::string host_;
    std::string failure_;
    // Set while Connect waits for the server's name.
    bool lookingUp_ = false;
};
