#include "mail/mail_recipients.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "mail/header_lines.h"
#include "mail/header_words.h"
#include "mail/mime_message.h"
#include "mail/smtp_wire.h"

namespace {

// One entry of an address list as it is read: quoted and parenthesised text
// and bare words make the name, angle brackets the address.
struct TAddressEntry {
    std::string Name;
    std::string Address;
    bool HasAddress = false;
    bool HadQuote = false;
};

void FinishEntry(TAddressEntry& entry, TStringList* names, TStringList* addresses) {
    const std::string name = TrimSpace(entry.Name);
    const std::string address = TrimSpace(entry.Address);
    if (entry.HasAddress && !(name.empty() && address.empty())) {
        names->Add(DecodeHeaderWords(name));
        addresses->Add(address);
    } else if (!entry.HasAddress && !name.empty()) {
        names->Add("");
        addresses->Add(name);
    }
    // An empty entry (a doubled or trailing separator) is nobody.
    entry = TAddressEntry();
}

void ParseAddressList(const std::string& text, TStringList* names, TStringList* addresses) {
    enum { Plain, InQuote, InParen, InAngle } state = Plain;
    TAddressEntry entry;
    for (char c : text) {
        switch (state) {
            case InQuote:
                if (c == '"')
                    state = Plain;
                else
                    entry.Name += c;
                break;
            case InParen:
                if (c == ')')
                    state = Plain;
                else
                    entry.Name += c;
                break;
            case InAngle:
                // Kept as written: an address that cannot go out is refused
                // whole when it is sent, never sent as another one.
                if (c == '>')
                    state = Plain;
                else
                    entry.Address += c;
                break;
            case Plain:
                if (c == ',' || c == ';') {
                    FinishEntry(entry, names, addresses);
                } else if (c == '"' || c == '(') {
                    // "a@x (Name)": the bare word before the name was the address.
                    if (!entry.HasAddress && !entry.HadQuote && !TrimSpace(entry.Name).empty()) {
                        entry.Address = TrimSpace(entry.Name);
                        entry.Name.clear();
                        entry.HasAddress = true;
                    }
                    entry.HadQuote = true;
                    state = c == '"' ? InQuote : InParen;
                } else if (c == '<') {
                    entry.HasAddress = true;
                    entry.Address.clear();
                    state = InAngle;
                } else if (c != '>') {
                    entry.Name += c;
                }
                break;
        }
    }
    FinishEntry(entry, names, addresses);
}

}  // namespace

void CheckMailAddress(const std::string& Address) {
    const std::string fault = SMTPAddressFault(Address);
    if (!fault.empty()) throw Exception(fault);
}

TMailRecipients::TMailRecipients(TMimeMessage* Owner, const std::string& Label)
    : owner_(Owner), label_(Label), names_(Create<TStringList>()), addresses_(Create<TStringList>()) {}

TMailRecipients::~TMailRecipients() {
    names_->Free();
    addresses_->Free();
}

void TMailRecipients::StoreHeaderState() {
    headerState_ = static_cast<std::int64_t>(owner_->Header()->ChangeCount());
}

void TMailRecipients::ParseHeader() {
    THeaderLines* header = owner_->Header();
    if (static_cast<std::int64_t>(header->ChangeCount()) == headerState_) return;
    names_->Clear();
    addresses_->Clear();
    for (int n = 0;; ++n) {
        const int index = FindLabelLine(header, label_ + ":", n);
        if (index < 0) break;
        ParseAddressList(GetHeaderLineText(header->Strings(index)), names_, addresses_);
    }
    StoreHeaderState();
}

void TMailRecipients::WriteHeader() {
    THeaderLines* header = owner_->Header();
    for (int index; (index = FindLabelLine(header, label_ + ":", 0)) >= 0;) header->Delete(index);
    if (addresses_->Count() > 0) {
        std::string line = label_ + ": ";
        for (int i = 0; i < addresses_->Count(); ++i) {
            if (i > 0) line += ", ";
            const std::string name = names_->Strings(i);
            if (!name.empty()) line += EncodeDisplayName(name, owner_->Charset()) + ' ';
            line += '<' + addresses_->Strings(i) + '>';
        }
        header->Add(line);
    }
    StoreHeaderState();
}

int TMailRecipients::Count() {
    ParseHeader();
    return addresses_->Count();
}

std::string TMailRecipients::AllAddresses() {
    ParseHeader();
    return addresses_->CommaText();
}

void TMailRecipients::Add(const std::string& Name, const std::string& Address) {
    CheckMailAddress(Address);
    ParseHeader();
    names_->Add(Name);
    addresses_->Add(Address);
    WriteHeader();
}

void TMailRecipients::Clear() {
    names_->Clear();
    addresses_->Clear();
    const int index = FindLabelLine(owner_->Header(), label_ + ":", 0);
    if (index >= 0) owner_->Header()->Delete(index);
    StoreHeaderState();
}
