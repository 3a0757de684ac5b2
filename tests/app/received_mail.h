// A message as a scripted server received it after DATA, read as a mail
// reader reads it: a header unfolded, its encoded words in the charset they
// name, and the charset the text says it is in.
#pragma once

#include <string>

#include "classlib/core/text.h"
#include "mail/header_lines.h"
#include "mail/header_words.h"

// The first Label line's value with its continuation lines, "" when missing.
inline std::string ReceivedHeader(const std::string& Data, const std::string& Label) {
    const std::string text = "\r\n" + Data;
    const std::size_t start = text.find("\r\n" + Label + ": ");
    if (start == std::string::npos) return "";
    std::size_t end = start + 2;
    do end = text.find("\r\n", end + 1);
    while (end != std::string::npos && end + 2 < text.size() &&
           (text[end + 2] == ' ' || text[end + 2] == '\t'));
    const std::size_t value = start + 4 + Label.size();
    return text.substr(value, end == std::string::npos ? std::string::npos : end - value);
}

// The header's text when each of its encoded words names Charset
// ("iso-8859-1" or "utf-8"); a word naming another makes it "(charset)".
inline std::wstring ReadHeaderIn(const std::string& Value, const std::string& Charset) {
    for (std::size_t at = Value.find("=?"); at != std::string::npos; at = Value.find("=?", at + 2))
        if (Value.compare(at + 2, Charset.size() + 1, Charset + "?") != 0) return L"(charset)";
    const std::string bytes = DecodeHeaderWords(Value);
    if (Charset == "utf-8") return Utf8ToWide(bytes);
    std::wstring latin1;
    for (char c : bytes) latin1.push_back(static_cast<unsigned char>(c));
    return latin1;
}

// The charset parameter of the text's Content-Type.
inline std::string ReceivedCharset(const std::string& Data) {
    return GetHeaderParamValue("Content-Type: " + ReceivedHeader(Data, "Content-Type"), "charset");
}
