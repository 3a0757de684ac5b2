#include "mail/smtp_wire.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool IsCompleteSMTPReply(std::string_view Reply) {
    if (!Reply.ends_with("\r\n")) return false;
    std::string_view body = Reply.substr(0, Reply.size() - 2);
    const std::size_t end = body.rfind("\r\n");
    std::string_view last = end == std::string_view::npos ? body : body.substr(end + 2);
    if (last.size() < 3 || !IsDigit(last[0]) || !IsDigit(last[1]) || !IsDigit(last[2])) return false;
    return last.size() == 3 || last[3] == ' ';
}

std::string EncodeSMTPData(std::string_view Text) {
    std::string out;
    out.reserve(Text.size() + Text.size() / 32 + 8);
    bool lineStart = true;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == '\r' || c == '\n') {
            // CR LF is one line end; a lone CR or LF is one too.
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
            out += "\r\n";
            lineStart = true;
            continue;
        }
        if (lineStart && c == '.') out += '.';
        out += c;
        lineStart = false;
    }
    if (!lineStart) out += "\r\n";
    out += ".\r\n";
    return out;
}

bool IsValidSMTPAddress(std::string_view Address) {
    for (char c : Address) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F) return false;
    }
    return true;
}
