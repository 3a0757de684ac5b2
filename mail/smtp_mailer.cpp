#include "mail/smtp_mailer.h"

#include "classlib/core/datetime.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/flagscope.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"
#include "mail/header_lines.h"
#include "mail/host_lookup.h"
#include "mail/mime_codecs.h"
#include "mail/mime_message.h"
#include "mail/mime_names.h"
#include "mail/smtp_wire.h"

namespace {

// The socket talk of the dialogue: a reply is whole only when its last line
// says so, however the server splits it (the greeting too), and one that is
// no reply fails at once rather than at the time-out.
class TSMTPTalk : public TSocketTalk {
    VX_CLASS(TSMTPTalk, TSocketTalk)
public:
    using TSocketTalk::TSocketTalk;

protected:
    ~TSMTPTalk() override = default;
    TReplyState CheckReply() override { return reader_.Check(ReplyBuffer()); }
    void ReplyRestarted() override { reader_.Reset(); }

private:
    TSMTPReplyReader reader_;
};

struct TExpectedReply {
    int TalkID;
    const char* Code;
};
constexpr TExpectedReply kExpectedReplies[] = {
    {tiGreeting, "220"}, {tiHelo, "250"},        {tiMailFrom, "250"}, {tiRcptTo, "250"},
    {tiEhlo, "250"},     {tiUserName, "334"},    {tiPassword, "235"}, {tiAuthLogin, "334"},
    {tiData, "354"},     {tiMessageText, "250"}, {tiQuit, "221"},
};

// Drops every line of the label, with the continuation lines that belong to it.
void DeleteLabelLines(TStrings* Header, const char* Label) {
    for (int i = FindLabelLine(Header, Label, 0); i >= 0; i = FindLabelLine(Header, Label, 0)) {
        Header->Delete(i);
        while (i < Header->Count() && !Header->Strings(i).empty() &&
               (Header->Strings(i)[0] == ' ' || Header->Strings(i)[0] == '\t'))
            Header->Delete(i);
    }
}

// Puts the header text back when the send is over, however it ends.
class THeaderRestore {
public:
    explicit THeaderRestore(TStrings* Header) : header_(Header), saved_(Header->Text()) {}
    THeaderRestore(const THeaderRestore&) = delete;
    THeaderRestore& operator=(const THeaderRestore&) = delete;
    ~THeaderRestore() {
        try {
            header_->SetText(saved_);
        } catch (...) {
            // Nothing sensible is left to do with a failure while unwinding.
        }
    }

private:
    TStrings* header_;
    std::string saved_;
};

}  // namespace

TSMTPMailer::TSMTPMailer(TComponent* AOwner) : TComponent(AOwner), socketTalk_(Create<TSMTPTalk>(this)) {
    socketTalk_->OnEndOfData = TEndOfDataEvent(this, &TSMTPMailer::EndOfData);
    socketTalk_->OnSocketError = TTalkErrorEvent(this, &TSMTPMailer::SocketError);
    socketTalk_->OnDisconnect = TNotifyEvent(this, &TSMTPMailer::Disconnect);
}

void TSMTPMailer::SetMailMessage(TMimeMessage* Value) {
    if (mailMessage_ == Value) return;
    if (mailMessage_) mailMessage_->RemoveFreeNotification(this);
    mailMessage_ = Value;
    if (mailMessage_) mailMessage_->FreeNotification(this);
}

void TSMTPMailer::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == mailMessage_) mailMessage_ = nullptr;
}

void TSMTPMailer::Fail(const char* Text) const {
    throw Exception(Format("%s: %s", Name(), Text));
}

bool TSMTPMailer::Ready() const {
    return connected_ && socketTalk_->Socket()->Active();
}

bool TSMTPMailer::Step(const std::string& Line, int TalkID) {
    socketTalk_->Talk(Line + "\r\n", "\r\n", TalkID);
    socketTalk_->WaitServer();
    return socketTalk_->Done();
}

bool TSMTPMailer::Connect() {
    TClientSocket* socket = socketTalk_->Socket();
    // Cleared first: a refusal here must not show an earlier session's reason.
    failure_.clear();
    if (connected_ || socket->Active()) {
        failure_ = "A session with the server is open already.";
        return false;
    }
    if (host_.empty())
        failure_ = "No server is named: the server name is empty.";
    else if (port_ == 0)
        failure_ = "No port is given for the server.";
    else if (port_ < 1 || port_ > 65535)
        failure_ = Format("There is no port %d: ports go from 1 to 65535.", port_);
    if (!failure_.empty()) {
        // Nor is any earlier session's reply this attempt's.
        socketTalk_->SetReplyBuffer("");
        return false;
    }
    try {
        connected_ = Handshake();
    } catch (...) {
        DropSession();
        throw;
    }
    // An open socket would make every later Connect refuse to start.
    if (!connected_) DropSession();
    return connected_;
}

bool TSMTPMailer::Handshake() {
    TClientSocket* socket = socketTalk_->Socket();
    authAccepted_ = false;
    socket->SetPort(port_);
    socketTalk_->BeginSession();
    socketTalk_->ForceState(tiGreeting);
    if (ResolveHost()) {
        socket->Open();
        socketTalk_->WaitServer();
    } else {
        socketTalk_->Cancel();
    }
    if (!socketTalk_->Done()) return false;
    if (handshaking_ == hsManual) return true;

    connected_ = true;
    std::string collected = socketTalk_->TakeReplyBuffer();
    bool result = Ehlo();
    collected += socketTalk_->ReplyBuffer();
    if (!result && Ready()) {
        result = Helo();
        collected += socketTalk_->ReplyBuffer();
    }
    // Without a user name there is nobody to log in.
    if (result && !userName_.empty() && AuthLogin()) {
        collected += socketTalk_->ReplyBuffer();
        result = Credentials(&collected);
    }
    socketTalk_->SetReplyBuffer(std::move(collected));
    return result;
}

bool TSMTPMailer::ResolveHost() {
    TClientSocket* socket = socketTalk_->Socket();
    socket->SetHost("");
    if (IsIPAddress(host_)) {
        socket->SetAddress(host_);
        return true;
    }
    // Looked up here rather than by the socket: the system's lookup cannot be
    // interrupted, and Abort must end the session at once even while a slow
    // name server keeps it waiting.
    std::string address;
    THostLookup found;
    {
        const TFlagScope lookingUp(lookingUp_);
        found = LookUpHost(host_, address, [this] { return !socketTalk_->KeepWaiting(); });
    }
    socket->SetAddress(address);
    if (found == THostLookup::NotFound)
        failure_ = Format("The server name \"%s\" was not found.", ShownAddress(host_));
    return found == THostLookup::Found;
}

bool TSMTPMailer::Helo() {
    return Ready() && Step("HELO " + TClientSocket::LocalHost(), tiHelo);
}

bool TSMTPMailer::Ehlo() {
    return Ready() && Step("EHLO " + TClientSocket::LocalHost(), tiEhlo);
}

bool TSMTPMailer::AuthLogin() {
    if (!Ready()) return false;
    authAccepted_ = Step("AUTH LOGIN", tiAuthLogin);
    return authAccepted_;
}

bool TSMTPMailer::SendCredentials() {
    return Credentials(nullptr);
}

bool TSMTPMailer::Credentials(std::string* Replies) {
    if (!Ready() || !authAccepted_) return false;
    const bool userAccepted = Step(EncodeBase64String(userName_), tiUserName);
    if (Replies) *Replies += socketTalk_->ReplyBuffer();
    if (!userAccepted) return false;
    const bool passwordAccepted = Step(EncodeBase64String(password_), tiPassword);
    if (Replies) *Replies += socketTalk_->ReplyBuffer();
    return passwordAccepted;
}

bool TSMTPMailer::SendMessage() {
    if (!mailMessage_) Fail("MailMessage unassigned");
    std::string recipients = mailMessage_->To()->AllAddresses();
    for (TMailRecipients* list : {mailMessage_->Cc(), mailMessage_->Bcc()}) {
        if (list->Count() == 0) continue;
        if (!recipients.empty()) recipients += ",";
        recipients += list->AllAddresses();
    }
    std::string name, address;
    mailMessage_->GetFrom(name, address);
    return SendMessageTo(address, recipients);
}

bool TSMTPMailer::SendMessageTo(const std::string& From, const std::string& Recipients) {
    if (!Ready()) return false;
    if (!mailMessage_) Fail("MailMessage unassigned");
    if (mailMessage_->NeedRebuild()) Fail("MailMessage need rebuild");

    TOwned<TStringList> list = MakeOwned<TStringList>();
    list->SetCaseSensitive(false);
    list->SetDuplicates(dupIgnore);
    list->SetSorted(true);
    list->SetCommaText(Recipients);
    if (list->Count() == 0) Fail("No recipients to send message");
    failure_.clear();
    // Every command goes as asked or not at all: a line break would add a
    // command of its own, a blank another address, and a long path has no
    // place in a command line.
    CheckAddress(From);
    for (int i = 0; i < list->Count(); ++i) CheckAddress(list->Strings(i));

    try {
        return Transaction(From, list.get());
    } catch (...) {
        // Cut off at an unknown point of the dialogue (a handler raised):
        // the server's state is unknown, so the session ends here.
        DropSession();
        throw;
    }
}

bool TSMTPMailer::Transaction(const std::string& From, TStrings* Recipients) {
    // No blank after the colon: strict servers refuse one.
    if (!Step("MAIL FROM:<" + From + ">", tiMailFrom)) {
        ResetTransaction();
        return false;
    }
    for (int i = 0; i < Recipients->Count(); ++i) {
        if (!Step("RCPT TO:<" + Recipients->Strings(i) + ">", tiRcptTo)) {
            ResetTransaction();
            return false;
        }
    }

    mailMessage_->SetMessageId(socketTalk_->Socket()->LocalAddress());
    THeaderRestore restore(mailMessage_->Header());
    // Blind copies stay blind: no recipient may see the Bcc line.
    DeleteLabelLines(mailMessage_->Header(), "Bcc:");
    // Every message needs a date. One stamped here goes again with the
    // restore, so a message sent again gets the time of that sending.
    if (!mailMessage_->LabelExists("Date")) mailMessage_->SetDate(Now());
    if (!Step("DATA", tiData)) {
        ResetTransaction();
        return false;
    }
    socketTalk_->SetChunkSize(packetSize_);
    socketTalk_->Talk(EncodeSMTPData(mailMessage_->GetSource()), "\r\n", tiMessageText);
    socketTalk_->WaitServer();
    if (socketTalk_->Done()) return true;
    if (IsCompleteSMTPReply(socketTalk_->ReplyBuffer()))
        ResetTransaction();
    else
        // Cut off inside the text: whatever went next would be read as more
        // of the message, so the session cannot go on.
        DropSession();
    return false;
}

void TSMTPMailer::CheckAddress(const std::string& Address) const {
    const std::string fault = SMTPAddressFault(Address);
    if (!fault.empty()) throw Exception(Name() + ": " + fault);
}

void TSMTPMailer::DropSession() {
    socketTalk_->Socket()->Close();
    connected_ = false;
}

void TSMTPMailer::ResetTransaction() {
    // Only a refusal leaves the server ready for the next command.
    if (!Ready() || !IsCompleteSMTPReply(socketTalk_->ReplyBuffer())) return;
    std::string refusal = socketTalk_->TakeReplyBuffer();
    std::string failure = std::move(failure_);
    Step("RSET", tiAnyReply);
    socketTalk_->SetReplyBuffer(std::move(refusal));
    failure_ = std::move(failure);
}

bool TSMTPMailer::Quit() {
    const bool result = Ready() && Step("QUIT", tiQuit);
    DropSession();
    return result;
}

void TSMTPMailer::EndOfData(TObject*, int TalkID, bool& Done, const std::string& Reply) {
    if (TalkID >= 20) return;
    if (TalkID == tiAnyReply) {
        Done = true;
        return;
    }
    // Only a whole reply comes here, and every line of it carries the code
    // of the first.
    for (const TExpectedReply& expected : kExpectedReplies)
        if (expected.TalkID == TalkID && Reply.compare(0, 3, expected.Code) == 0) Done = true;
    if (!Done) failure_ = "The server replied: " + ShownReply(Reply);
}

void TSMTPMailer::SocketError(TObject*, int, int TalkResult) {
    switch (TalkResult) {
        case trTimeOut:
            // While the name is looked up there is no server yet to blame.
            failure_ = lookingUp_
                           ? Format("The server name \"%s\" could not be found in time (time-out %d s).",
                                    ShownAddress(host_), TimeOut())
                           : Format("The server did not answer in time (time-out %d s).", TimeOut());
            break;
        case trInvalidReply:
            failure_ = "The server's reply is not one of the mail protocol: " + ShownReply(GetLastResponse());
            break;
        case trReplyTooLong:
            failure_ = TooLongReplyText;
            break;
        case eeConnect:
            failure_ = Format("No connection to %s on port %d.", ShownAddress(host_), port_);
            break;
        case eeGeneral:
            failure_ = "The session was broken off.";
            break;
        default:
            failure_ = "The connection to the server was lost.";
            break;
    }
    // A reply that is none closed the socket: the next Connect may start.
    if (!socketTalk_->Socket()->Active()) connected_ = false;
    socketTalk_->Cancel();
}

void TSMTPMailer::Disconnect(TObject*) {
    if (socketTalk_->Talking()) failure_ = "The server closed the connection.";
    connected_ = false;
}
