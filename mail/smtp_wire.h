// The byte-level rules of the SMTP dialogue: when a reply is complete (or
// cannot be one), how a message text travels after DATA, and which addresses
// may go into a command line at all.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "mail/mail_types.h"

// The longest reply line taken, CR LF included: far above the 512 octets a
// sound server sends, for lax ones.
constexpr std::size_t MaxSMTPReplyLine = 4096;
// The longest address taken: with its angle brackets the 256 octets of a path.
constexpr std::size_t MaxSMTPAddress = 254;

// Follows a reply as it grows, looking at each byte once. Every line is the
// first line's three-digit code followed by CR LF, a space or a "-" (more
// lines follow), and a CR only ever ends a line; the reply is complete at the
// CR LF of a line without "-". Anything else is Invalid as soon as it shows,
// even before its line ends, so however a reply is split its verdict is the
// one its whole text gets; a line over MaxSMTPReplyLine is TooLong.
class TSMTPReplyReader {
public:
    // Reply: the whole text so far, the text of the last call and more.
    TReplyState Check(std::string_view Reply);
    // For a new reply.
    void Reset() { *this = TSMTPReplyReader(); }

private:
    // Whether Text (a line, perhaps cut short anywhere) can be one of this
    // reply's; its first Seen bytes were looked at before.
    bool CanBeLine(std::string_view Text, std::size_t Seen) const;

    std::size_t lineStart_ = 0;
    std::size_t scanned_ = 0;
    bool continued_ = true;
    // The first line's code once it has shown.
    char code_[3] = {};
    bool hasCode_ = false;
};

// The state of a whole reply text read at once.
TReplyState SMTPReplyState(std::string_view Reply);
inline bool IsCompleteSMTPReply(std::string_view Reply) {
    return SMTPReplyState(Reply) == TReplyState::Complete;
}

// The text as it goes after DATA: every line end made CR LF (bare CR and bare
// LF too), a "." doubled at the start of every line, the last line ended, and
// the closing "." line appended.
std::string EncodeSMTPData(std::string_view Text);

// An address goes between angle brackets as it is: no control character (CR
// and LF would smuggle in a command of their own), no blank or comma (it
// would become another address), no angle bracket, nothing outside ASCII (a
// server reads such a byte in a code page of its own choosing), at most
// MaxSMTPAddress.
bool IsValidSMTPAddress(std::string_view Address);
// Why the address cannot go ("Invalid mail address \"...\": it holds a
// blank"), empty when it can. The wide form judges the text as a person
// typed it, before a code page turned what it lacks into "?".
std::string SMTPAddressFault(std::string_view Address);
std::string SMTPAddressFault(std::wstring_view Address);
// An address as typed or pasted, without what a paste leaves around it:
// blanks, control characters, the no-break and typographic spaces
// (U+00A0, U+2000-U+200B, U+202F, U+205F, U+3000) and the invisible ones
// (U+2060, U+FEFF). Inside the address they stay, to be refused.
std::wstring TrimMailAddress(std::wstring_view Address);
// The typed address as it goes out (trimmed, then judged); when it cannot
// go, empty, with Fault saying why. A character the code page lacks can
// never come out as "?".
std::string TypedMailAddress(std::wstring_view Typed, std::string& Fault);
// The most characters of a text shown to a person (ShownAddress, ShownReply).
constexpr std::size_t MaxShownText = 100;
// For error messages, in the system code page: the text as written, letters
// of any script whole, control characters as \xNN, and a character a
// person could not read there (one the code page lacks, a blank other than
// the space) as \uNNNN; cut to MaxShownText characters (ending "...").
std::string ShownAddress(std::string_view Address);
std::string ShownAddress(std::wstring_view Address);
// A server's reply on one line for a message: its line ends made blanks,
// other characters as ShownAddress shows them, cut alike.
std::string ShownReply(std::string_view Reply);
