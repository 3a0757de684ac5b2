// Names around a message: file names for attachments (cleaned of characters
// a file system refuses, extension from the MIME type) and the test whether
// a mail host is given as a numeric address.
#pragma once

#include <string>

// Trimmed, cut to 254 characters, and every control character and any of
// : \ / * ? " < > | ' replaced by "_".
std::string SanitizeFileName(const std::string& Name);

// The extension (with its ".") registered for a MIME type, or empty. Looked
// up under HKEY_CLASSES_ROOT "MIME\Database\Content Type\<type>" value
// "Extension"; a system without that database uses a small built-in table.
std::string MimeTypeToExtension(const std::string& MimeType);
// The built-in table alone.
std::string BuiltInMimeExtension(const std::string& MimeType);
// Replaces the lookup (tests); returns the one in force; null brings back the
// registry's.
using TMimeExtensionLookup = std::string (*)(const std::string& MimeType);
TMimeExtensionLookup SetMimeExtensionLookup(TMimeExtensionLookup Lookup);

// True when every "."-separated field (empty ones included) is a decimal
// number: "10.0.0.1" and "123" are, "1..2", "" and "mailserver" are not.
bool IsIPAddress(const std::string& Host);
