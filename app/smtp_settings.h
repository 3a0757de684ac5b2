// What the e-mail settings dialog saves: its fields, checked and written to
// the settings key in the dialog's order, with the messages for what is
// missing. The stored password changes only when the user typed one.
#pragma once

#include <string>
#include <vector>

struct TSmtpFields {
    bool UsePassword = false;
    std::string UserName;
    // Whatever the password edit holds; taken only when PasswordEdited.
    std::string Password;
    bool PasswordEdited = false;
    std::string Server;
    std::string Port;
    // As typed: the subject in any letters, the addresses judged before any
    // code page has a say.
    std::wstring Subject;
    std::wstring From;
    std::wstring To;
};

extern const char* const PasswordPlaceholder;  // "press to enter password"

// 1-65535 for a port text of digits, 0 for anything else (empty, too large).
int ParsePort(const std::string& Text);

// Writes what is filled in; returns the messages for what is not, in the
// order they are shown ("You must be to fill Username", ... Password,
// SMTPServer, Subject, Port, then "You must be to fill table" for a missing
// sender or recipient). A field that is missing leaves its stored value alone.
// The addresses are stored without what a paste leaves around them
// (TrimMailAddress, and read back so, whatever was stored before); one that
// cannot go out (TypedMailAddress) is not stored, and its message says why.
std::vector<std::string> SaveSmtpFields(const TSmtpFields& Fields);

// The fields as stored; what is not stored is empty (the port "25") and the
// password edit gets the placeholder.
TSmtpFields LoadSmtpFields();
