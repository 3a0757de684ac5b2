#include "classlib/core/text.h"

#include <algorithm>
#include <cstdint>

#include "classlib/core/exceptions.h"
#include "classlib/core/win32.h"

// ---- Integers --------------------------------------------------------------

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}
std::string UIntToStr(std::uint64_t value) {
    return std::to_string(value);
}

namespace {
std::string HexDigits(std::uint64_t value, int digits) {
    static const char hex[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), hex[value & 15]);
        value >>= 4;
    } while (value);
    if (digits > static_cast<int>(text.size()))
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

// Decimal must fit the signed range; hex may use the whole unsigned width and
// is read as that bit pattern.
bool ParseInteger(std::string_view text, int bits, std::int64_t& result) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    }
    if (i >= text.size()) return false;
    const std::uint64_t unsignedMax = bits == 32 ? 0xFFFFFFFFull : ~0ull;
    const std::uint64_t signedMax = unsignedMax >> 1;
    const std::uint64_t limit = hex ? unsignedMax : signedMax + (negative ? 1 : 0);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (value > (limit - digit) / base) return false;
        value = value * base + digit;
    }
    if (negative) value = 0 - value;
    if (bits == 32)
        result = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    else
        result = static_cast<std::int64_t>(value);
    return true;
}

[[noreturn]] void InvalidInteger(std::string_view text) {
    throw EConvertError(Format("'%s' is not a valid integer value", text));
}
}  // namespace

std::string IntToHex32(std::uint32_t value, int digits) {
    return HexDigits(value, digits);
}
std::string IntToHex64(std::uint64_t value, int digits) {
    return HexDigits(value, digits);
}

bool TryStrToInt(std::string_view text, int& value) {
    std::int64_t result;
    if (!ParseInteger(text, 32, result)) return false;
    value = static_cast<int>(result);
    return true;
}

int StrToInt(std::string_view text) {
    int value;
    if (!TryStrToInt(text, value)) InvalidInteger(text);
    return value;
}

int StrToIntDef(std::string_view text, int defaultValue) {
    int value;
    return TryStrToInt(text, value) ? value : defaultValue;
}

bool TryStrToInt64(std::string_view text, std::int64_t& value) {
    return ParseInteger(text, 64, value);
}

std::int64_t StrToInt64(std::string_view text) {
    std::int64_t value;
    if (!TryStrToInt64(text, value)) InvalidInteger(text);
    return value;
}

std::int64_t StrToInt64Def(std::string_view text, std::int64_t defaultValue) {
    std::int64_t value;
    return TryStrToInt64(text, value) ? value : defaultValue;
}

// ---- Trimming, case and comparison ----------------------------------------

namespace {
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

int CompareBytes(std::string_view a, std::string_view b, char (*map)(char)) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(map(a[i]));
        int cb = static_cast<unsigned char>(map(b[i]));
        if (ca != cb) return ca - cb;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareLocale(std::string_view a, std::string_view b, DWORD flags) {
    return CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}
}  // namespace

std::string Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

std::string TrimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return std::string(text.substr(i));
}

std::string TrimRight(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsBlank(text[n - 1])) --n;
    return std::string(text.substr(0, n));
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = AsciiUpper(c);
    return result;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = AsciiLower(c);
    return result;
}

std::string AnsiUpperCase(std::string_view text) {
    std::string result(text);
    if (!result.empty()) CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

std::string AnsiLowerCase(std::string_view text) {
    std::string result(text);
    if (!result.empty()) CharLowerBuffA(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

int CompareStr(std::string_view a, std::string_view b) {
    return CompareBytes(a, b, [](char c) { return c; });
}
int CompareText(std::string_view a, std::string_view b) {
    return CompareBytes(a, b, AsciiUpper);
}
bool SameStr(std::string_view a, std::string_view b) {
    return a == b;
}
bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}
int AnsiCompareStr(std::string_view a, std::string_view b) {
    return CompareLocale(a, b, 0);
}
int AnsiCompareText(std::string_view a, std::string_view b) {
    return CompareLocale(a, b, NORM_IGNORECASE);
}
bool AnsiSameStr(std::string_view a, std::string_view b) {
    return AnsiCompareStr(a, b) == 0;
}
bool AnsiSameText(std::string_view a, std::string_view b) {
    return AnsiCompareText(a, b) == 0;
}

// ---- Replacing and quoting -------------------------------------------------

std::string StringReplace(std::string_view text, std::string_view oldPattern, std::string_view newPattern,
                          TReplaceFlags flags) {
    if (oldPattern.empty()) return std::string(text);
    const bool ignoreCase = flags.Contains(rfIgnoreCase);
    // Case mapping keeps every character in place, so positions found in the
    // mapped text hold in the original.
    const std::string searchText = ignoreCase ? AnsiUpperCase(text) : std::string(text);
    const std::string pattern = ignoreCase ? AnsiUpperCase(oldPattern) : std::string(oldPattern);
    std::string result;
    std::size_t from = 0;
    while (true) {
        std::size_t at = searchText.find(pattern, from);
        if (at == std::string::npos) break;
        result.append(text.substr(from, at - from));
        result.append(newPattern);
        from = at + pattern.size();
        if (!flags.Contains(rfReplaceAll)) break;
    }
    result.append(text.substr(from));
    return result;
}

std::string QuotedStr(std::string_view text) {
    return AnsiQuotedStr(text, '\'');
}

std::string AnsiQuotedStr(std::string_view text, char quote) {
    std::string result(1, quote);
    for (char c : text) {
        result += c;
        if (c == quote) result += quote;
    }
    result += quote;
    return result;
}

std::string AnsiExtractQuotedStr(std::string_view text, std::size_t& pos, char quote) {
    if (pos >= text.size() || text[pos] != quote) return {};
    std::string result;
    std::size_t i = pos + 1;
    while (i < text.size()) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                result += quote;
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        result += text[i++];
    }
    pos = i;
    return result;
}

std::string AnsiDequotedStr(std::string_view text, char quote) {
    std::size_t pos = 0;
    std::string result = AnsiExtractQuotedStr(text, pos, quote);
    return result.empty() ? std::string(text) : result;
}

// ---- System texts and code pages -------------------------------------------

std::string SysErrorMessage(unsigned long errorCode) {
    char buffer[1024];
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr,
        errorCode, 0, buffer, sizeof buffer, nullptr);
    return TrimRight(std::string_view(buffer, length));
}

std::wstring ToWide(std::string_view text) {
    if (text.empty()) return {};
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, result.data(), length);
    return result;
}

std::string ToAnsi(std::wstring_view text) {
    if (text.empty()) return {};
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), length);
    return result;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}
