// The charset a message's texts go out in, and their bytes there: text that
// Latin-1 holds goes as "iso-8859-1", one byte a character as the Western
// code pages hold it; any other as UTF-8, which carries every character. So
// no text is labelled with a charset it is not written in.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// "iso-8859-1" when every character of the texts is one of Latin-1, else "utf-8".
std::string CharsetCarrying(std::initializer_list<std::wstring_view> Texts);
// Text in the charset CharsetCarrying named for it.
std::string TextInCharset(std::wstring_view Text, std::string_view Charset);
