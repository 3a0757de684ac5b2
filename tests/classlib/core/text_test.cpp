// Text helpers: Format, integer and float conversions, trimming, case,
// comparison, replacing and quoting, system texts and code pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"
#include "classlib/core/win32.h"

namespace {

// Number settings that do not depend on the machine's locale.
TFormatSettings PlainNumbers(char decimal = '.', char thousands = ',') {
    TFormatSettings settings = FormatSettings();
    settings.DecimalSeparator = decimal;
    settings.ThousandSeparator = thousands;
    return settings;
}

struct FormatCase {
    const char* Name;
    std::function<std::string()> Run;
    const char* Expected;
};

TEST(Format, ConvertsAsTheClassLibraryDoes) {
    TFormatSettingsOverride numbers(PlainNumbers());
    const std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();
    const FormatCase cases[] = {
        {"plain text", [] { return Format("no conversions"); }, "no conversions"},
        {"percent", [] { return Format("100%% of %d", 3); }, "100% of 3"},
        {"decimal", [] { return Format("%d", -42); }, "-42"},
        {"width", [] { return Format("[%5d]", 42); }, "[   42]"},
        {"left", [] { return Format("[%-5d]", 42); }, "[42   ]"},
        {"width narrower than text", [] { return Format("[%2d]", 12345); }, "[12345]"},
        {"precision pads decimal with zeros", [] { return Format("%.3d", 7); }, "007"},
        {"precision after the sign", [] { return Format("%.3d", -7); }, "-007"},
        {"unsigned 32-bit stays positive", [] { return Format("%d", 0xFFFFFFFFu); }, "4294967295"},
        {"64-bit minimum", [=] { return Format("%d", int64Min); }, "-9223372036854775808"},
        {"byte is a number", [] { return Format("%d", static_cast<unsigned char>(200)); }, "200"},
        {"u of negative", [] { return Format("%u", -1); }, "4294967295"},
        {"hex upper case", [] { return Format("%x", 0xBEEF); }, "BEEF"},
        {"hex zero padded", [] { return Format("%8.8x", 0x1A); }, "0000001A"},
        {"hex width pads blanks", [] { return Format("[%8x]", 0x1A); }, "[      1A]"},
        {"hex of negative 32-bit", [] { return Format("%x", -1); }, "FFFFFFFF"},
        {"hex of negative 64-bit", [] { return Format("%x", std::int64_t{-2}); }, "FFFFFFFFFFFFFFFE"},
        {"string", [] { return Format("<%s>", std::string("abc")); }, "<abc>"},
        {"string right aligned", [] { return Format("[%5s]", "abc"); }, "[  abc]"},
        {"string left aligned", [] { return Format("[%-5s]", "abc"); }, "[abc  ]"},
        {"string precision cuts", [] { return Format("%.2s", "abc"); }, "ab"},
        {"null C string is empty", [] { return Format("[%s]", static_cast<const char*>(nullptr)); }, "[]"},
        {"char as string", [] { return Format("%s%s", 'x', "y"); }, "xy"},
        {"indexes", [] { return Format("%1:s %0:s", "a", "b"); }, "b a"},
        {"index then next", [] { return Format("%1:s %s %0:s", "a", "b", "c"); }, "b c a"},
        {"star width", [] { return Format("[%*d]", 4, 7); }, "[   7]"},
        {"star width and precision", [] { return Format("[%-*.*d]", 5, 3, 7); }, "[007  ]"},
        {"fixed default two decimals", [] { return Format("%f", 2.5); }, "2.50"},
        {"fixed precision", [] { return Format("%.3f", 3.14159); }, "3.142"},
        {"fixed rounds half away from zero", [] { return Format("%.2f", 0.125); }, "0.13"},
        {"fixed no decimals", [] { return Format("%.0f", 2.5); }, "3"},
        {"fixed tiny negative is zero", [] { return Format("%.1f", -0.04); }, "0.0"},
        {"fixed negative", [] { return Format("%.1f", -12.25); }, "-12.3"},
        {"fixed width", [] { return Format("[%8.2f]", 3.14159); }, "[    3.14]"},
        {"exponent default", [] { return Format("%e", 1.0); }, "1.00000000000000E+000"},
        {"exponent precision", [] { return Format("%.3e", 12345.0); }, "1.23E+004"},
        {"exponent negative", [] { return Format("%.2e", -0.00015); }, "-1.5E-004"},
        {"general", [] { return Format("%g", 0.5); }, "0.5"},
        {"general whole", [] { return Format("%g", 100.0); }, "100"},
        {"general large", [] { return Format("%g", 1e20); }, "1E20"},
        {"number groups thousands", [] { return Format("%n", 1234567.891); }, "1,234,567.89"},
        {"number small", [] { return Format("%.0n", 999.0); }, "999"},
        {"pointer", [] { return Format("%p", reinterpret_cast<void*>(0x1234)); }, "00001234"},
        {"float from float", [] { return Format("%.1f", 1.25f); }, "1.3"},
    };
    for (const FormatCase& c : cases) EXPECT_EQ(c.Run(), c.Expected) << c.Name;
}

TEST(Format, BadFormatOrArgumentRaisesConvertError) {
    const std::function<void()> cases[] = {
        [] { Format("%d", "text"); }, [] { Format("%s", 1); },       [] { Format("%f", 1); },
        [] { Format("%x", 1.5); },    [] { Format("%p", 1); },       [] { Format("%d"); },
        [] { Format("%d %d", 1); },   [] { Format("%5:d", 1); },     [] { Format("trailing %"); },
        [] { Format("%k", 1); },      [] { Format("%*d", "x", 1); },
    };
    for (const auto& run : cases) EXPECT_THROW(run(), EConvertError);
    try {
        Format("%d", "x");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Format '%d' invalid or incompatible with argument");
    }
}

TEST(IntToStr, AllWidths) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntToStr(0xFFFFFFFFu), "4294967295");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
}

TEST(IntToHex, UpperCaseAndPadded) {
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(static_cast<unsigned long>(0xABCDEF01ul), 8), "ABCDEF01");
}

TEST(StrToInt, AcceptsSignsBlanksAndHexPrefixes) {
    const struct {
        const char* Text;
        int Value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"   42", 42},
        {"-17", -17},
        {"+5", 5},
        {"$FF", 255},
        {"$ff", 255},
        {"0x1f", 31},
        {"0X1F", 31},
        {"x10", 16},
        {"-$1", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1},
        {"007", 7},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToInt(c.Text), c.Value) << c.Text;
}

TEST(StrToInt, HexTakesTheUnsignedPatternSoItRoundTrips) {
    int value = StrToInt("$ff000019");
    EXPECT_EQ(static_cast<std::uint32_t>(value), 0xFF000019u);
    EXPECT_EQ("$" + IntToHex(value, 8), "$FF000019");
    EXPECT_EQ(StrToInt("$" + IntToHex(value, 8)), value);
}

TEST(StrToInt, RejectsJunkAndOverflow) {
    const char* const invalid[] = {
        "",  " ",          "42 ", "4x",  "2147483648", "-2147483649", "$",   "0x",
        "-", "$100000000", "1.5", "\t5", "--1",        "$G",          "1e3", "99999999999999999999"};
    for (const char* text : invalid) {
        int value = 99;
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(value, 99) << text;
        EXPECT_THROW(StrToInt(text), EConvertError) << text;
        EXPECT_EQ(StrToIntDef(text, -5), -5) << text;
    }
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

TEST(StrToInt64, FullRangeAndOverflow) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), std::int64_t{4294967296});
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_THROW(StrToInt64("$10000000000000000"), EConvertError);
    EXPECT_EQ(StrToInt64Def("x", 3), 3);
}

TEST(FloatToStr, FifteenDigitsShortestForm) {
    TFormatSettingsOverride numbers(PlainNumbers());
    const struct {
        double Value;
        const char* Text;
    } cases[] = {
        {0.0, "0"},
        {1.5, "1.5"},
        {-2.25, "-2.25"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {2.675, "2.675"},
        {123456789.123456789, "123456789.123457"},
        {1e14, "100000000000000"},
        {1e15, "1E15"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-10, "1.5E-10"},
        {-1.5e300, "-1.5E300"},
        {0.99999999999999999, "1"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.Value), c.Text) << c.Text;
}

TEST(FloatToStr, UsesTheDecimalSeparatorInForce) {
    TFormatSettingsOverride numbers(PlainNumbers(',', '.'));
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    EXPECT_EQ(Format("%.2f", 1.5), "1,50");
    EXPECT_EQ(Format("%n", 1234.5), "1.234,50");
    EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_THROW(StrToFloat("1.5"), EConvertError);
}

TEST(StrToFloat, ParsesBlanksSignsAndExponents) {
    TFormatSettingsOverride numbers(PlainNumbers());
    const struct {
        const char* Text;
        double Value;
    } cases[] = {
        {"0", 0}, {" 1.5 ", 1.5}, {"-2", -2}, {"+.5", 0.5}, {"3.", 3}, {"1e3", 1000}, {"2.5E-2", 0.025},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(StrToFloat(c.Text), c.Value) << c.Text;
    const char* const invalid[] = {"", ".", "e5", "1e", "1.5x", "0x10", "inf", "nan", "1 2", "1e999"};
    for (const char* text : invalid) {
        double value = 7;
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
        EXPECT_EQ(value, 7) << text;
    }
    try {
        StrToFloat("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
    }
}

TEST(Trim, DropsEveryCharacterUpToTheBlank) {
    const struct {
        const char* Text;
        const char* Both;
        const char* Left;
        const char* Right;
    } cases[] = {
        {"", "", "", ""},
        {"   ", "", "", ""},
        {" \t a b \r\n", "a b", "a b \r\n", " \t a b"},
        {"\x01x\x1f", "x", "x\x1f", "\x01x"},
        {"\xA0x\xE9", "\xA0x\xE9", "\xA0x\xE9", "\xA0x\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.Text), c.Both);
        EXPECT_EQ(TrimLeft(c.Text), c.Left);
        EXPECT_EQ(TrimRight(c.Text), c.Right);
    }
    EXPECT_EQ(Trim(std::string("\0a\0", 3)), "a");
}

TEST(CaseMapping, AsciiOnlyUnlessAnsi) {
    EXPECT_EQ(UpperCase("abc xyz \xE9"), "ABC XYZ \xE9");
    EXPECT_EQ(LowerCase("ABC XYZ \xC9"), "abc xyz \xC9");
    if (GetACP() == 1252) {
        EXPECT_EQ(AnsiUpperCase("abc \xE9"), "ABC \xC9");
        EXPECT_EQ(AnsiLowerCase("ABC \xC9"), "abc \xE9");
    }
}

TEST(Compare, OrdinalAndCaseInsensitive) {
    EXPECT_TRUE(SameText("Abc", "aBC"));
    EXPECT_FALSE(SameText("Abc", "Abcd"));
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("a", "B"), 0);
    EXPECT_GT(CompareStr("a", "B"), 0);
    EXPECT_LT(CompareStr("ab", "abc"), 0);
    EXPECT_GT(CompareStr("\xE9", "z"), 0);  // bytes compare unsigned
    EXPECT_EQ(AnsiCompareText("Hello", "hELLO"), 0);
    EXPECT_NE(AnsiCompareStr("Hello", "hELLO"), 0);
    EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
    EXPECT_TRUE(AnsiSameText("Disk", "DISK"));
}

TEST(StringReplace, FirstOrAllWithOrWithoutCase) {
    const struct {
        const char* Text;
        const char* Old;
        const char* New;
        TReplaceFlags Flags;
        const char* Expected;
    } cases[] = {
        {"aXbXc", "X", "-", {}, "a-bXc"},
        {"aXbXc", "X", "-", {rfReplaceAll}, "a-b-c"},
        {"aXbx", "x", "-", {rfReplaceAll}, "aXb-"},
        {"aXbx", "x", "-", {rfReplaceAll, rfIgnoreCase}, "a-b-"},
        {"aaa", "aa", "b", {rfReplaceAll}, "ba"},
        {"abc", "", "z", {rfReplaceAll}, "abc"},
        {"abc", "abc", "", {}, ""},
        {"x.y", "x", "xx", {rfReplaceAll}, "xx.y"},
    };
    for (const auto& c : cases) EXPECT_EQ(StringReplace(c.Text, c.Old, c.New, c.Flags), c.Expected) << c.Text;
}

TEST(Quoting, DoublesInnerQuotesAndReadsThemBack) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
    std::string text = "\"a\"\"b\"c";
    std::size_t pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr(text, pos, '"'), "a\"b");
    EXPECT_EQ(pos, 6u);
    pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr("\"open", pos, '"'), "open");
    EXPECT_EQ(pos, 5u);
    pos = 1;
    EXPECT_EQ(AnsiExtractQuotedStr("x\"", pos, '\''), "");
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(AnsiDequotedStr("'a''b'", '\''), "a'b");
    EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
}

TEST(SysErrorMessage, SystemTextWithoutLineEnds) {
    std::string text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_GT(static_cast<unsigned char>(text.back()), ' ');
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(SysErrorMessage(0xFFFFFF0u), "");
}

TEST(CodePage, RoundTripsThroughUtf16) {
    EXPECT_EQ(ToWide("abc"), L"abc");
    EXPECT_EQ(ToAnsi(L"abc"), "abc");
    EXPECT_EQ(ToWide(""), L"");
    EXPECT_EQ(ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    if (GetACP() == 1252) {
        EXPECT_EQ(ToWide("Gr\xFC\xDF"), L"Gr\u00FC\u00DF");
        EXPECT_EQ(ToAnsi(L"Gr\u00FC\u00DF \u20AC"), "Gr\xFC\xDF \x80");
    }
}

TEST(CodePage, Utf8BothWays) {
    const std::wstring wide = L"Gr\u00FC\u00DFe \u20AC \U0001F600";
    EXPECT_EQ(WideToUtf8(wide),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToWide(WideToUtf8(wide)), wide);
    EXPECT_EQ(Utf8ToWide(""), L"");
    // A byte that is no UTF-8 becomes the replacement character.
    EXPECT_EQ(Utf8ToWide("a\xFF"
                         "b"),
              L"a\uFFFDb");
}

TEST(LocalePictures, ConvertToTheClassLibraryLetters) {
    const struct {
        const char* Picture;
        char Separator;
        bool Time;
        const char* Expected;
    } cases[] = {
        {"M/d/yyyy", '/', false, "m/d/yyyy"},
        {"dd.MM.yyyy", '.', false, "dd/mm/yyyy"},
        {"yyyy-MM-dd", '-', false, "yyyy/mm/dd"},
        {"d MMM yy", '/', false, "d mmm yy"},
        {"dddd, MMMM dd, yyyy", '/', false, "dddd, mmmm dd, yyyy"},
        {"y/M/d", '/', false, "yy/m/d"},
        {"gg yyyy'\xE5\xB9\xB4'", '/', false, " yyyy'\xE5\xB9\xB4'"},
        {"h:mm:ss tt", ':', true, "h:nn:ss AMPM"},
        {"HH:mm:ss", ':', true, "hh:nn:ss"},
        {"H.mm", '.', true, "h:nn"},
        {"tt hh:mm", ':', true, "AMPM hh:nn"},
    };
    for (const auto& c : cases) {
        std::string converted = c.Time ? ConvertLocaleTimeFormat(c.Picture, c.Separator)
                                       : ConvertLocaleDateFormat(c.Picture, c.Separator);
        EXPECT_EQ(converted, c.Expected) << c.Picture;
    }
}

TEST(FormatSettings, OverrideIsScopedAndResetReadsTheLocale) {
    TFormatSettings locale = LocaleFormatSettings();
    {
        TFormatSettingsOverride comma(PlainNumbers('#', ' '));
        EXPECT_EQ(FormatSettings().DecimalSeparator, '#');
    }
    EXPECT_EQ(FormatSettings().DecimalSeparator, locale.DecimalSeparator);
    EXPECT_EQ(locale.ShortDayNames[0].empty(), false);
    EXPECT_EQ(locale.LongMonthNames[11].empty(), false);
}

}  // namespace
