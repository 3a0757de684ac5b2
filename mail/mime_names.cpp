#include "mail/mime_names.h"

#include <atomic>
#include <string_view>

#include "classlib/core/exceptions.h"
#include "classlib/core/registry.h"
#include "classlib/core/text.h"
#include "mail/header_lines.h"

namespace {

constexpr size_t kMaxFileName = 254;
constexpr char kContentTypeKey[] = "\\MIME\\Database\\Content Type";

struct TMimeExtension {
    const char* MimeType;
    const char* Extension;
};

constexpr TMimeExtension kBuiltInExtensions[] = {
    {"text/plain", ".txt"},      {"text/html", ".htm"},       {"text/xml", ".xml"},
    {"text/css", ".css"},        {"image/gif", ".gif"},       {"image/jpeg", ".jpg"},
    {"image/png", ".png"},       {"image/bmp", ".bmp"},       {"image/x-icon", ".ico"},
    {"application/pdf", ".pdf"}, {"application/zip", ".zip"}, {"audio/wav", ".wav"},
    {"message/rfc822", ".eml"},
};

std::string RegistryMimeExtension(const std::string& mimeType) {
    try {
        TOwned<TRegistry> registry = MakeOwned<TRegistry>(KEY_READ);
        registry->SetRootKey(HKEY_CLASSES_ROOT);
        if (!registry->KeyExists(kContentTypeKey)) return BuiltInMimeExtension(mimeType);
        if (!registry->OpenKeyReadOnly(std::string(kContentTypeKey) + "\\" + mimeType)) return {};
        return registry->ReadString("Extension");
    } catch (const Exception&) {
        return {};  // a value of another type counts as missing
    }
}

std::atomic<TMimeExtensionLookup> extensionLookup{&RegistryMimeExtension};

bool RefusedInFileName(unsigned char c) {
    static constexpr std::string_view kRefused = ":\\/*?\"<>|'";
    return c < 0x20 || kRefused.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string SanitizeFileName(const std::string& Name) {
    std::string name = TrimSpace(Name);
    if (name.size() > kMaxFileName) name.resize(kMaxFileName);
    for (char& c : name)
        if (RefusedInFileName(static_cast<unsigned char>(c))) c = '_';
    return name;
}

std::string BuiltInMimeExtension(const std::string& MimeType) {
    for (const TMimeExtension& entry : kBuiltInExtensions)
        if (SameText(MimeType, entry.MimeType)) return entry.Extension;
    return {};
}

std::string MimeTypeToExtension(const std::string& MimeType) {
    return extensionLookup.load()(MimeType);
}

TMimeExtensionLookup SetMimeExtensionLookup(TMimeExtensionLookup Lookup) {
    return extensionLookup.exchange(Lookup ? Lookup : &RegistryMimeExtension);
}

bool IsIPAddress(const std::string& Host) {
    size_t start = 0;
    for (;;) {
        const size_t dot = Host.find('.', start);
        const std::string field =
            Host.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (field.empty() || field.size() > 10) return false;
        long long value = 0;
        for (char c : field) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        if (value > 0x7FFFFFFF) return false;  // does not read as an integer
        if (dot == std::string::npos) return true;
        start = dot + 1;
    }
}
