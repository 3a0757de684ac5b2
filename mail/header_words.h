// Encoded words of header text: non-ASCII, blanks and the characters that
// would break a header line travel as "=?charset?Q?...?=" words; reading
// turns B, Q and U words back into their bytes (the charset is not applied).
#pragma once

#include <string>
#include <string_view>

// The longest encoded word written: after "Subject: " its blank still lies
// before the fold column, so a run of words folds one or more to a line.
constexpr std::size_t kMaxEncodedWordLength = 62;

// The trimmed text with every encoded word replaced by its bytes up to the
// first zero byte; blanks between two encoded words go (they only separate
// the pieces of a split text). Decoded text is never read again as a word.
std::string DecodeHeaderWords(std::string_view Text);
// Text itself when it needs no escape, else one Q-encoded word however long
// (the file name of an attachment, which stays one quoted value).
std::string EncodeHeaderWords(std::string_view Text, std::string_view Charset);
// Free header text (a subject): Text itself when it needs no escape and is
// short enough for a header line, else Q-encoded words of at most
// kMaxEncodedWordLength characters, split between characters and joined by
// blanks, where the header folds.
std::string EncodeHeaderText(std::string_view Text, std::string_view Charset);
// A display name as it goes before " <address>": in double quotes when it
// needs no escape, else encoded words as EncodeHeaderText makes them but
// without quotes (a quoted encoded word is not decoded) and escaping all
// that may not stand in a name.
std::string EncodeDisplayName(std::string_view Name, std::string_view Charset);
