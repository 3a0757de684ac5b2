#include "app/smtp_settings.h"

#include "app/password_scrambler.h"
#include "app/settings.h"
#include "classlib/core/text.h"
#include "mail/smtp_wire.h"

const char* const PasswordPlaceholder = "press to enter password";

int ParsePort(const std::string& Text) {
    if (Text.empty() || Text.size() > 5) return 0;
    int port = 0;
    for (char c : Text) {
        if (c < '0' || c > '9') return 0;
        port = port * 10 + (c - '0');
    }
    return port >= 1 && port <= 65535 ? port : 0;
}

std::vector<std::string> SaveSmtpFields(const TSmtpFields& Fields) {
    std::vector<std::string> messages;
    auto registry = OpenSettings(true);
    if (!registry) return messages;
    auto save = [&](const char* Name, const std::string& Value, const char* Missing) {
        if (!Value.empty())
            registry->WriteString(Name, Value);
        else
            messages.push_back(Missing);
    };
    if (Fields.UsePassword) {
        save("Username", Fields.UserName, "You must be to fill Username");
        // The placeholder, or the digits shown after an earlier save, are not
        // a password: without an edit the stored one stays.
        if (Fields.PasswordEdited && !Fields.Password.empty()) {
            std::string stored;
            ScrambleString(Fields.Password, stored);
            registry->WriteString("Password", stored);
        } else if (Fields.PasswordEdited || !registry->ValueExists("Password")) {
            messages.push_back("You must be to fill Password");
        }
    }
    save("SMTPServer", Fields.Server, "You must be to fill SMTPServer");
    if (!Fields.Subject.empty())
        registry->WriteWideString("Subject", Fields.Subject);
    else
        messages.push_back("You must be to fill Subject");
    if (const int port = ParsePort(Fields.Port))
        registry->WriteInteger("Port", port);
    else
        messages.push_back("You must be to fill Port");
    // A pasted address often brings a blank along, and none may go out; an
    // address that cannot go out at all is not stored, so that no alert
    // mail finds out too late.
    auto saveAddress = [&](const char* Name, const std::wstring& Typed, const char* Role) {
        std::string fault;
        const std::string address = TypedMailAddress(Typed, fault);
        if (fault.empty())
            save(Name, address, "You must be to fill table");
        else
            messages.push_back(std::string("The ") + Role + " address was not saved.\n" + fault);
    };
    saveAddress("FromMail", Fields.From, "sender");
    saveAddress("ToMail", Fields.To, "recipient");
    registry->WriteBool("usepassword", Fields.UsePassword);
    return messages;
}

TSmtpFields LoadSmtpFields() {
    TSmtpFields fields;
    auto registry = OpenSettings(false);
    fields.Password = PasswordPlaceholder;
    fields.Port = "25";
    if (!registry) return fields;
    fields.UsePassword = ReadBoolOr(registry.get(), "usepassword", false);
    fields.UserName = ReadStringOr(registry.get(), "Username", "");
    fields.Subject = ReadWideStringOr(registry.get(), "Subject", L"");
    fields.From = TrimMailAddress(ReadWideStringOr(registry.get(), "FromMail", L""));
    fields.To = TrimMailAddress(ReadWideStringOr(registry.get(), "ToMail", L""));
    fields.Server = ReadStringOr(registry.get(), "SMTPServer", "");
    if (const auto port = ReadStoredInteger(registry.get(), "Port")) fields.Port = IntToStr(*port);
    return fields;
}
