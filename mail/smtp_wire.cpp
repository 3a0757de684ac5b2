#include "mail/smtp_wire.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The C0 and C1 controls and DEL.
bool IsControl(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Why a character cannot stand in an address, or null. Code is that of a
// byte or of a UTF-16 unit: below 0x80 both are ASCII.
const char* CharacterFault(unsigned Code) {
    if (Code < 0x20 || Code == 0x7F) return "it holds a control character";
    if (Code >= 0x80) return "it holds a character outside ASCII";
    if (Code == ' ') return "it holds a blank";
    if (Code == ',') return "it holds a comma";
    if (Code == '<' || Code == '>') return "it holds an angle bracket";
    return nullptr;
}

template <class Char>
std::string AddressFault(std::basic_string_view<Char> Address) {
    for (const Char c : Address)
        if (const char* why = CharacterFault(static_cast<std::make_unsigned_t<Char>>(c))) return why;
    if (Address.size() > MaxSMTPAddress)
        return "it is longer than " + std::to_string(MaxSMTPAddress) + " characters";
    return {};
}

// What a paste brings around a text: blanks and control characters, the
// no-break and typographic spaces of a web page or a document, and the
// invisible ones (zero width, byte order mark).
bool IsPasteBlank(wchar_t c) {
    return c <= L' ' || c == 0x7F || (c >= 0x80 && c <= 0xA0) || (c >= 0x2000 && c <= 0x200B) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x2060 || c == 0x3000 ||
           c == 0xFEFF;
}

// A character a person cannot read in a message: one the system code page
// lacks (it would become "?"), or a blank that looks like a space or like
// nothing at all.
bool IsUnreadable(wchar_t c) {
    if (c < 0x80) return false;
    if (IsPasteBlank(c)) return true;
    char bytes[8];
    BOOL lost = FALSE;
    const int written =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof bytes, nullptr, &lost);
    return written == 0 || lost;
}

// Text as written, in the system code page, with control characters shown
// as \xNN and unreadable ones as \uNNNN, line ends as Break, cut to
// MaxShownText characters.
std::string ShownText(std::wstring_view Text, const char* Break) {
    std::wstring shown;
    for (std::size_t i = 0; i < Text.size() && shown.size() <= MaxShownText; ++i) {
        const wchar_t c = Text[i];
        if (Break && c == L'\r' && i + 1 < Text.size() && Text[i + 1] == L'\n') {
            ++i;
            if (i + 1 < Text.size()) shown += ToWide(Break);
        } else if (IsControl(c)) {
            shown += ToWide("\\x" + IntToHex(static_cast<unsigned>(c), 2));
        } else if (IsUnreadable(c)) {
            shown += ToWide("\\u" + IntToHex(static_cast<unsigned>(c), 4));
        } else {
            shown += c;
        }
    }
    if (shown.size() > MaxShownText) shown.replace(MaxShownText - 3, std::wstring::npos, L"...");
    return ToAnsi(shown);
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

namespace {

template <class Char>
std::string RefusedAddress(std::basic_string_view<Char> Address) {
    const std::string why = AddressFault(Address);
    return why.empty() ? why : "Invalid mail address \"" + ShownAddress(Address) + "\": " + why;
}

}  // namespace

std::string SMTPAddressFault(std::string_view Address) {
    return RefusedAddress(Address);
}

std::string SMTPAddressFault(std::wstring_view Address) {
    return RefusedAddress(Address);
}

std::wstring TrimMailAddress(std::wstring_view Address) {
    std::size_t first = 0, last = Address.size();
    while (first < last && IsPasteBlank(Address[first])) ++first;
    while (last > first && IsPasteBlank(Address[last - 1])) --last;
    return std::wstring(Address.substr(first, last - first));
}

std::string TypedMailAddress(std::wstring_view Typed, std::string& Fault) {
    const std::wstring address = TrimMailAddress(Typed);
    Fault = SMTPAddressFault(address);
    // Nothing but ASCII is left in one without a fault.
    return Fault.empty() ? std::string(address.begin(), address.end()) : std::string();
}

std::string ShownAddress(std::string_view Address) {
    return ShownText(ToWide(Address), nullptr);
}

std::string ShownAddress(std::wstring_view Address) {
    return ShownText(Address, nullptr);
}

std::string ShownReply(std::string_view Reply) {
    return ShownText(ToWide(Reply), " ");
}
