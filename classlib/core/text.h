// Text helpers of the class library: `Format` with its own format semantics,
// integer and float conversions, trimming, case mapping and comparison,
// replacing and quoting, system error texts, 8-bit/UTF-16 conversion and the
// locale's number and date settings (`FormatSettings`, replaceable in tests).
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "classlib/core/set.h"

// ---- Locale settings ------------------------------------------------------

// Number and date conventions, read once from the user's locale. Date and
// time formats use the class library's pattern letters (see FormatDateTime).
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongDateFormat = "dddd, mmmm d, yyyy";
    std::string ShortTimeFormat = "h:nn AMPM";
    std::string LongTimeFormat = "h:nn:ss AMPM";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string ShortMonthNames[12];
    std::string LongMonthNames[12];
    std::string ShortDayNames[7];  // [0] is Sunday
    std::string LongDayNames[7];
};

// The settings in force: the locale's, unless a test replaced them.
const TFormatSettings& FormatSettings();
// The user's locale as it is now (not cached).
TFormatSettings LocaleFormatSettings();
// Replaces the settings in force (tests: a known decimal separator or date
// format); `ResetFormatSettings` goes back to the locale's.
void SetFormatSettings(const TFormatSettings& settings);
void ResetFormatSettings();

// The locale's date and time pictures ("dd.MM.yyyy", "H:mm:ss", "h:mm:ss tt")
// in the class library's letters, the separators written as '/' and ':'.
std::string ConvertLocaleDateFormat(const std::string& picture, char dateSeparator);
std::string ConvertLocaleTimeFormat(const std::string& picture, char timeSeparator);

// Scoped replacement of the settings in force, for tests.
class TFormatSettingsOverride {
public:
    explicit TFormatSettingsOverride(const TFormatSettings& settings);
    ~TFormatSettingsOverride();
    TFormatSettingsOverride(const TFormatSettingsOverride&) = delete;
    TFormatSettingsOverride& operator=(const TFormatSettingsOverride&) = delete;

private:
    TFormatSettings saved_;
};

// ---- Format ----------------------------------------------------------------

// One argument of Format, tagged with its kind as the class library's
// "array of const" is. Strings are referenced, not copied: a TVarRec lives
// only as long as the call it is built for.
struct TVarRec {
    enum TKind : unsigned char { vtInteger, vtInt64, vtUInt64, vtExtended, vtString, vtChar, vtPointer };
    TKind Kind;
    union {
        std::int32_t VInteger;
        std::int64_t VInt64;
        std::uint64_t VUInt64;
        double VExtended;
        char VChar;
        const void* VPointer;
        struct {
            const char* Data;
            std::size_t Length;
        } VString;
    };
};

namespace classlib_detail {
template <class T>
TVarRec MakeVarRec(const T& value) {
    using U = std::remove_cvref_t<T>;
    TVarRec rec{};
    if constexpr (std::is_same_v<U, bool>) {
        static_assert(!std::is_same_v<U, bool>, "Format takes no Booleans");
    } else if constexpr (std::is_same_v<U, char>) {
        rec.Kind = TVarRec::vtChar;
        rec.VChar = value;
    } else if constexpr (std::is_enum_v<U>) {
        return MakeVarRec(static_cast<std::underlying_type_t<U>>(value));
    } else if constexpr (std::is_integral_v<U>) {
        if constexpr (std::is_signed_v<U> && sizeof(U) <= 4) {
            rec.Kind = TVarRec::vtInteger;
            rec.VInteger = static_cast<std::int32_t>(value);
        } else if constexpr (sizeof(U) < 8 || std::is_signed_v<U>) {
            // Unsigned 32-bit values above the signed range stay positive.
            rec.Kind = TVarRec::vtInt64;
            rec.VInt64 = static_cast<std::int64_t>(value);
        } else {
            rec.Kind = TVarRec::vtUInt64;
            rec.VUInt64 = value;
        }
    } else if constexpr (std::is_floating_point_v<U>) {
        rec.Kind = TVarRec::vtExtended;
        rec.VExtended = static_cast<double>(value);
    } else if constexpr (std::is_null_pointer_v<U>) {
        rec.Kind = TVarRec::vtPointer;
        rec.VPointer = nullptr;
    } else if constexpr (std::is_convertible_v<const U&, std::string_view>) {
        std::string_view text;
        if constexpr (std::is_pointer_v<U>) {
            if (value) text = value;
        } else {
            text = value;
        }
        rec.Kind = TVarRec::vtString;
        rec.VString.Data = text.data();
        rec.VString.Length = text.size();
    } else if constexpr (std::is_pointer_v<U>) {
        rec.Kind = TVarRec::vtPointer;
        rec.VPointer = static_cast<const void*>(value);
    } else {
        static_assert(std::is_pointer_v<U>, "Format: unsupported argument type");
    }
    return rec;
}
}  // namespace classlib_detail

// Formats `args` as the class library does. Conversions: d u x (upper-case
// hex) e f g n p s and %%; "%[index:][-][width][.precision]type" with "*"
// taking width or precision from the arguments. A bad format or an argument
// of the wrong kind raises EConvertError.
std::string FormatArray(std::string_view format, const TVarRec* args, std::size_t count);

template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return FormatArray(format, nullptr, 0);
    } else {
        const TVarRec recs[] = {classlib_detail::MakeVarRec(args)...};
        return FormatArray(format, recs, sizeof...(Args));
    }
}

// ---- Integers --------------------------------------------------------------

std::string IntToStr(std::int64_t value);
std::string UIntToStr(std::uint64_t value);
template <std::integral T>
std::string IntToStr(T value) {
    if constexpr (std::is_signed_v<T>)
        return IntToStr(static_cast<std::int64_t>(value));
    else
        return UIntToStr(static_cast<std::uint64_t>(value));
}

// Upper-case hexadecimal, at least `digits` digits. Values of 32 bits or less
// show their 32-bit pattern (-1 is "FFFFFFFF"), wider ones their 64-bit one.
std::string IntToHex32(std::uint32_t value, int digits);
std::string IntToHex64(std::uint64_t value, int digits);
template <std::integral T>
std::string IntToHex(T value, int digits) {
    if constexpr (sizeof(T) <= 4)
        return IntToHex32(static_cast<std::uint32_t>(value), digits);
    else
        return IntToHex64(static_cast<std::uint64_t>(value), digits);
}

// Leading blanks, a sign and a "$", "0x" or "x" hex prefix are accepted;
// nothing may follow the digits. Hex takes the full unsigned width, so
// "$FFFFFFFF" is -1. Failures raise EConvertError
// "'%s' is not a valid integer value".
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int defaultValue);
bool TryStrToInt(std::string_view text, int& value);
std::int64_t StrToInt64(std::string_view text);
std::int64_t StrToInt64Def(std::string_view text, std::int64_t defaultValue);
bool TryStrToInt64(std::string_view text, std::int64_t& value);

// ---- Floats ----------------------------------------------------------------

// 15 significant digits, fixed or scientific, whichever is shorter, with the
// locale's decimal separator.
std::string FloatToStr(double value);
// Blanks around the number are allowed; the decimal separator is the
// locale's. Failures raise EConvertError "'%s' is not a valid floating point value".
double StrToFloat(std::string_view text);
double StrToFloatDef(std::string_view text, double defaultValue);
bool TryStrToFloat(std::string_view text, double& value);

// ---- Trimming, case and comparison ----------------------------------------

// Drop every character up to and including the blank (control characters
// too) from both ends, the start or the end.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// ASCII letters only.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// The system code page's letters.
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// Ordinal comparisons: < 0, 0 or > 0. CompareText ignores ASCII case.
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameStr(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Comparisons by the user's locale, as the system sorts words.
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameStr(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);

// ---- Replacing and quoting -------------------------------------------------

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
std::string StringReplace(std::string_view text, std::string_view oldPattern, std::string_view newPattern,
                          TReplaceFlags flags = {});

// The text in apostrophes (or `quote`), with each inner quote doubled.
std::string QuotedStr(std::string_view text);
std::string AnsiQuotedStr(std::string_view text, char quote);
// Reads a quoted text starting at `pos` (which must be on `quote`): returns it
// without the quotes and with doubled quotes single, and moves `pos` past the
// closing quote (or to the end when there is none). Returns "" and leaves
// `pos` alone when text[pos] is not `quote`.
std::string AnsiExtractQuotedStr(std::string_view text, std::size_t& pos, char quote);
// The whole text unquoted when it is quoted, else the text itself.
std::string AnsiDequotedStr(std::string_view text, char quote);

// ---- System texts and code pages -------------------------------------------

// The system's message for an error code, trailing blanks and line ends removed.
std::string SysErrorMessage(unsigned long errorCode);

// Through the system code page (CP_ACP).
std::wstring ToWide(std::string_view text);
std::string ToAnsi(std::wstring_view text);
// UTF-8 both ways. Bytes that are not UTF-8 become U+FFFD; a lone surrogate
// is written as U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
