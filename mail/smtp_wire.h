// The byte-level rules of the SMTP dialogue: when a reply is complete, how
// a message text travels after DATA, and which addresses may go into a
// command line at all.
#pragma once

#include <string>
#include <string_view>

// A reply is complete when its last line is a three-digit code followed by a
// space or by nothing, ended by CR LF; "250-" lines announce more to come.
bool IsCompleteSMTPReply(std::string_view Reply);

// The text as it goes after DATA: every line end made CR LF (bare CR and bare
// LF too), a "." doubled at the start of every line, the last line ended, and
// the closing "." line appended.
std::string EncodeSMTPData(std::string_view Text);

// An address holds no control character (CR and LF would smuggle in a
// command of their own).
bool IsValidSMTPAddress(std::string_view Address);
