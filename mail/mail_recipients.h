// `TMailRecipients`: the names and addresses of one address label ("To",
// "Cc" or "Bcc") of a message, read from and written back to its header
// lines. What was read is kept until the header changes.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/core/object.h"
#include "classlib/core/strings.h"

class TMimeMessage;

class TMailRecipients : public TObject {
    VX_CLASS(TMailRecipients, TObject)
public:
    TMailRecipients(TMimeMessage* Owner, const std::string& Label);

    const std::string& Label() const { return label_; }
    // Kept in step: entry i of each describes recipient i (no display name:
    // an empty name).
    TStringList* Names() const { return names_; }
    TStringList* Addresses() const { return addresses_; }

    // Reads every line of the label unless the header is unchanged since
    // the lists were last read or written.
    void ParseHeader();
    // Replaces the label's lines by one line at the end of the header.
    void WriteHeader();

    int Count();
    // The addresses as comma text.
    std::string AllAddresses();
    // The address must be one that can be sent (IsValidSMTPAddress), else
    // Exception naming it.
    void Add(const std::string& Name, const std::string& Address);
    // Empties the lists and deletes the label's first line.
    void Clear();

protected:
    ~TMailRecipients() override;

private:
    void StoreHeaderState();

    TMimeMessage* owner_;
    std::string label_;
    TStringList* names_;
    TStringList* addresses_;
    // The header's change count when the lists were last in step with it.
    std::int64_t headerState_ = -1;
};

// Raises Exception, naming the address and what is wrong with it, for one
// that would break out of its angle brackets or its header line, become
// another address on the way, or carry a byte outside ASCII.
void CheckMailAddress(const std::string& Address);
