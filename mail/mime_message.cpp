#include "mail/mime_message.h"

#include "classlib/core/text.h"
#include "mail/header_lines.h"
#include "mail/header_words.h"
#include "mail/mime_dates.h"
#include "mail/mime_random.h"

TMimeMessage::TMimeMessage(TComponent* AOwner)
    : TMailPart(AOwner),
      attachList_(Create<TMailPartList>()),
      textPlain_(Create<TStringList>()),
      textHTML_(Create<TStringList>()),
      to_(Create<TMailRecipients>(this, "To")),
      cc_(Create<TMailRecipients>(this, "Cc")),
      bcc_(Create<TMailRecipients>(this, "Bcc")) {
    SetOwnerMessage(this);
}

TMimeMessage::~TMimeMessage() {
    FreeAndNil(attachList_);
    FreeAndNil(textPlain_);
    FreeAndNil(textHTML_);
    FreeAndNil(to_);
    FreeAndNil(cc_);
    FreeAndNil(bcc_);
}

void TMimeMessage::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    // A part that goes away leaves no pointer behind.
    if (attachList_) attachList_->Remove(AComponent);
    for (TMailPart** slot :
         {&textPlainPart_, &textHTMLPart_, &mixedPart_, &relatedPart_, &alternativePart_, &currentContainer_})
        if (*slot == AComponent) *slot = nullptr;
}

void TMimeMessage::SetFrom(const std::string& Name, const std::string& Address) {
    if (Address.empty()) {
        SetLabelValue("From", "");
        return;
    }
    CheckMailAddress(Address);
    if (Name.empty())
        SetLabelValue("From", '<' + Address + '>');
    else
        SetLabelValue("From", EncodeDisplayName(Name, charset_) + " <" + Address + '>');
}

void TMimeMessage::GetFrom(std::string& Name, std::string& Address) const {
    Name.clear();
    Address.clear();
    const int index = FindLabelLine(Header(), "From:", 0);
    if (index < 0) return;
    enum { Undecided, InName, InAddress } state = Undecided;
    std::string gathered, name, address;
    auto text = [&]() -> std::string& {
        return state == Undecided ? gathered : state == InName ? name : address;
    };
    char closer = 0;
    // A quoted local part ("john.doe"@example.com) belongs to the address,
    // quotes and all; a backslash there keeps the next character in.
    bool quotedLocalPart = false, escaped = false;
    for (char c : GetHeaderLineText(Header()->Strings(index))) {
        if (quotedLocalPart) {
            address += c;
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                quotedLocalPart = false;
        } else if (state == InAddress && c == '"') {
            address += c;
            quotedLocalPart = true;
        } else if (closer) {
            if (c == closer) {
                closer = 0;
                state = InAddress;
            } else {
                text() += c;
            }
        } else if (c == '"' || c == '(') {
            if (state == Undecided) address = gathered;
            state = InName;
            closer = c == '"' ? '"' : ')';
        } else if (c == '<') {
            // Angle brackets delimit the address and are never part of it.
            if (state == Undecided) name = gathered;
            state = InAddress;
            address.clear();
        } else if (c == '>') {
            state = InName;
        } else {
            text() += c;
        }
    }
    if (state == Undecided) address = gathered;
    Name = DecodeHeaderWords(TrimSpace(name));
    Address = TrimSpace(address);
}

void TMimeMessage::SetSubject(const std::string& Subject) {
    SetLabelValue("Subject", EncodeHeaderText(Subject, charset_));
}

void TMimeMessage::SetPriority(int Priority) {
    SetLabelValue("X-Priority", IntToStr(Priority + 1));
}

void TMimeMessage::SetDate(TDateTime DateTime) {
    SetLabelValue("Date", DateToRFC822(DateTime));
}

void TMimeMessage::SetMessageId(const std::string& Host) {
    const std::string first = IntToHex(MimeRandom(), 1);
    const std::string second = IntToHex(MimeRandom(), 1);
    SetLabelValue("Message-ID", '<' + FormatDateTime("yyyymmddhhnnss", Now()) + '.' + first + '.' + second +
                                    '@' + Host + '>');
}
