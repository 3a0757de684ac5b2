#include "mail/smtp_wire.h"

#include <algorithm>

#include "classlib/core/text.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsControl(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 0x20 || code == 0x7F;
}

// Whether Text can begin a reply line (it may be cut short anywhere).
bool StartsReplyLine(std::string_view Text) {
    for (std::size_t i = 0; i < std::min<std::size_t>(Text.size(), 3); ++i)
        if (!IsDigit(Text[i])) return false;
    return Text.size() < 4 || Text[3] == ' ' || Text[3] == '-' || Text[3] == '\r';
}

}  // namespace

TReplyState TSMTPReplyReader::Check(std::string_view Reply) {
    for (;;) {
        const std::size_t end = Reply.find('\n', scanned_);
        if (end == std::string_view::npos) break;
        const std::string_view line = Reply.substr(lineStart_, end + 1 - lineStart_);
        if (line.size() > MaxSMTPReplyLine) return TReplyState::TooLong;
        if (line.size() < 5 || line[line.size() - 2] != '\r' || !StartsReplyLine(line))
            return TReplyState::Invalid;
        continued_ = line[3] == '-';
        lineStart_ = scanned_ = end + 1;
    }
    scanned_ = Reply.size();
    const std::string_view rest = Reply.substr(lineStart_);
    // A line of the greatest length has its LF already.
    if (rest.size() >= MaxSMTPReplyLine) return TReplyState::TooLong;
    if (!StartsReplyLine(rest)) return TReplyState::Invalid;
    return rest.empty() && !continued_ ? TReplyState::Complete : TReplyState::Partial;
}

TReplyState SMTPReplyState(std::string_view Reply) {
    return TSMTPReplyReader().Check(Reply);
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
    if (Address.size() > MaxSMTPAddress) return false;
    return std::none_of(Address.begin(), Address.end(),
                        [](char c) { return IsControl(c) || c == ' ' || c == ',' || c == '<' || c == '>'; });
}

std::string ShownAddress(std::string_view Address) {
    std::string shown;
    for (char c : Address) {
        if (IsControl(c))
            shown += "\\x" + IntToHex(static_cast<unsigned char>(c), 2);
        else
            shown += c;
    }
    return shown;
}
