#include "mail/text_charset.h"

#include <algorithm>

#include "classlib/core/text.h"

namespace {

constexpr char kLatin1[] = "iso-8859-1";
constexpr char kUtf8[] = "utf-8";

bool IsLatin1(std::wstring_view Text) {
    return std::all_of(Text.begin(), Text.end(), [](wchar_t c) { return c <= 0xFF; });
}

}  // namespace

std::string CharsetCarrying(std::initializer_list<std::wstring_view> Texts) {
    return std::all_of(Texts.begin(), Texts.end(), IsLatin1) ? kLatin1 : kUtf8;
}

std::string TextInCharset(std::wstring_view Text, std::string_view Charset) {
    if (Charset != kLatin1 || !IsLatin1(Text)) return WideToUtf8(Text);
    std::string bytes;
    bytes.reserve(Text.size());
    for (wchar_t c : Text) bytes.push_back(static_cast<char>(c));
    return bytes;
}
