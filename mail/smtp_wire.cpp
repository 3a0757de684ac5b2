#include "mail/smtp_wire.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsControl(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < 0x20 || code == 0x7F;
}

bool IsAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// Whether the system code page's 0xA0 is the non-breaking space. In a
// double-byte code page it may begin a character, which no trim may split.
bool NoBreakSpaceIsA0() {
    static const bool isA0 = [] {
        wchar_t wide = 0;
        return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "\xA0", 1, &wide, 1) == 1 && wide == 0xA0;
    }();
    return isA0;
}

// Why a character cannot stand in an address, or null.
const char* CharacterFault(char c) {
    if (IsControl(c)) return "it holds a control character";
    if (!IsAscii(c)) return "it holds a character outside ASCII";
    if (c == ' ') return "it holds a blank";
    if (c == ',') return "it holds a comma";
    if (c == '<' || c == '>') return "it holds an angle bracket";
    return nullptr;
}

bool IsPasteBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code <= ' ' || code == 0x7F || (code == 0xA0 && NoBreakSpaceIsA0());
}

// Text with control characters (and, with Escape8Bit, bytes outside ASCII)
// shown as \xNN, line ends as Break, cut to MaxShownText.
std::string ShownText(std::string_view Text, const char* Break, bool Escape8Bit) {
    std::string shown;
    for (std::size_t i = 0; i < Text.size() && shown.size() <= MaxShownText; ++i) {
        const char c = Text[i];
        if (Break && c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
            ++i;
            if (i + 1 < Text.size()) shown += Break;
        } else if (IsControl(c) || (Escape8Bit && !IsAscii(c))) {
            shown += "\\x" + IntToHex(static_cast<unsigned char>(c), 2);
        } else {
            shown += c;
        }
    }
    if (shown.size() > MaxShownText) shown.replace(MaxShownText - 3, std::string::npos, "...");
    return shown;
}

}  // namespace

bool TSMTPReplyReader::CanBeLine(std::string_view Text, std::size_t Seen) const {
    for (std::size_t i = 0; i < std::min<std::size_t>(Text.size(), 3); ++i)
        if (!IsDigit(Text[i]) || (hasCode_ && Text[i] != code_[i])) return false;
    if (Text.size() < 4) return true;
    if (Text[3] != ' ' && Text[3] != '-' && Text[3] != '\r') return false;
    // A CR ends a line or nothing: the next byte must be its LF. The bytes
    // seen by an earlier call passed, but the last of them may be a CR whose
    // LF was still to come.
    for (std::size_t cr = Text.find('\r', std::max<std::size_t>(Seen, 4) - 1); cr != std::string_view::npos;
         cr = Text.find('\r', cr + 1))
        if (cr + 1 < Text.size() && Text[cr + 1] != '\n') return false;
    return true;
}

TReplyState TSMTPReplyReader::Check(std::string_view Reply) {
    for (;;) {
        const std::size_t end = Reply.find('\n', scanned_);
        if (end == std::string_view::npos) break;
        const std::string_view line = Reply.substr(lineStart_, end + 1 - lineStart_);
        if (line.size() > MaxSMTPReplyLine) return TReplyState::TooLong;
        if (line.size() < 5 || line[line.size() - 2] != '\r' || !CanBeLine(line, scanned_ - lineStart_))
            return TReplyState::Invalid;
        if (!hasCode_) {
            std::copy_n(line.begin(), 3, code_);
            hasCode_ = true;
        }
        continued_ = line[3] == '-';
        lineStart_ = scanned_ = end + 1;
    }
    const std::string_view rest = Reply.substr(lineStart_);
    const std::size_t seen = scanned_ - lineStart_;
    scanned_ = Reply.size();
    // A line of the greatest length has its LF already.
    if (rest.size() >= MaxSMTPReplyLine) return TReplyState::TooLong;
    if (!CanBeLine(rest, seen)) return TReplyState::Invalid;
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
    return SMTPAddressFault(Address).empty();
}

std::string SMTPAddressFault(std::string_view Address) {
    const auto refused = [Address](const std::string& Why) {
        return "Invalid mail address \"" + ShownAddress(Address) + "\": " + Why;
    };
    for (const char c : Address)
        if (const char* why = CharacterFault(c)) return refused(why);
    if (Address.size() > MaxSMTPAddress)
        return refused("it is longer than " + std::to_string(MaxSMTPAddress) + " characters");
    return {};
}

std::string TrimMailAddress(std::string_view Address) {
    std::size_t first = 0, last = Address.size();
    while (first < last && IsPasteBlank(Address[first])) ++first;
    while (last > first && IsPasteBlank(Address[last - 1])) --last;
    return std::string(Address.substr(first, last - first));
}

std::string ShownAddress(std::string_view Address) {
    return ShownText(Address, nullptr, true);
}

std::string ShownReply(std::string_view Reply) {
    return ShownText(Reply, " ", false);
}
