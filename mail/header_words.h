// Encoded words of header text: non-ASCII, blanks and the characters that
// would break a header line travel as one "=?charset?Q?...?=" word; reading
// turns B, Q and U words back into their bytes (the charset is not applied).
#pragma once

#include <string>
#include <string_view>

// The trimmed text with every encoded word replaced by its bytes up to the
// first zero byte. Decoded text is never read again as a word.
std::string DecodeHeaderWords(std::string_view Text);
// Text itself when it needs no escape, else one Q-encoded word.
std::string EncodeHeaderWords(std::string_view Text, std::string_view Charset);
