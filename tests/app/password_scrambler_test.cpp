#include <gtest/gtest.h>

#include "app/password_scrambler.h"
#include "classlib/core/datetime.h"

namespace {

std::string Unscrambled(const std::string& stored) {
    std::string text = "stale";
    UnscrambleString(stored, text);
    return text;
}

std::string ScrambledAt(const std::string& text, TDateTime when) {
    TClockOverride clock([when] { return when; });
    std::string stored;
    ScrambleString(text, stored);
    return stored;
}

}  // namespace

TEST(PasswordScrambler, RoundTripsAnyText) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    const std::string texts[] = {
        "", "a", "secret", "p@ss w0rd;\"'", everyByte, std::string(300, 'x') + "end"};
    const TDateTime times[] = {EncodeDateTime(2024, 6, 11, 0, 0, 0, 5),
                               EncodeDateTime(1999, 12, 31, 23, 59, 59, 999),
                               EncodeDateTime(2100, 1, 1, 12, 30, 0, 256)};
    for (TDateTime when : times)
        for (const std::string& text : texts) {
            const std::string stored = ScrambledAt(text, when);
            EXPECT_EQ(stored.size(), 39 + 3 * text.size());
            EXPECT_EQ(stored.find_first_not_of("0123456789"), std::string::npos);
            EXPECT_EQ(Unscrambled(stored), text) << "length " << text.size();
        }
}

TEST(PasswordScrambler, LongTextsAreScrambledToTheirLastByte) {
    const std::string text(400, 'A');
    const std::string stored = ScrambledAt(text, EncodeDateTime(2024, 6, 11, 10, 0, 0, 500));
    // Past the 255th character the codes must not simply repeat the plain bytes.
    EXPECT_NE(stored.substr(39 + 3 * 300, 30), std::string("065065065065065065065065065065"));
    EXPECT_EQ(Unscrambled(stored), text);
}

TEST(PasswordScrambler, KeysComeFromTheClock) {
    // 2024-06-11 00:00:00.005: day 45454 counted from 1899-12-30.
    const TDateTime june11 = 45454 + 5.0 / MSecsPerDay;
    const std::string stored = ScrambledAt("", june11);
    ASSERT_EQ(stored.size(), 39u);
    const auto key = [&](size_t from, size_t length) {
        return UnscrambleBytes(DecimalCodesToBytes(stored.substr(from, length)), FixedScramblerKey.StartKey,
                               FixedScramblerKey.Multiplier, FixedScramblerKey.Addend);
    };
    EXPECT_EQ(key(0, 9), "261");  // 5 ms + 256
    EXPECT_EQ(key(9, 15), IntToZeroPadded(((2024 - 1900) * 12 + 6) * 30 + 11 + 261 * 11, 5));
    EXPECT_EQ(key(24, 15), IntToZeroPadded(0 + 261 * 11, 5));
    EXPECT_EQ(ScrambledAt("abcd", june11).size(), 51u);
}

TEST(PasswordScrambler, MalformedStoredTextGivesEmptyText) {
    const std::string good = ScrambledAt("secret", EncodeDateTime(2024, 6, 11, 9, 15, 0, 300));
    std::string nonDigit = good;
    nonDigit[4] = 'x';
    std::string badKey = good;  // a code that unscrambles to something other than a digit
    badKey.replace(0, 3, "000");
    const std::string cases[] = {
        "",
        good.substr(0, 38),
        nonDigit,
        badKey,
        "999" + good.substr(3),      // a code above 255
        good.substr(0, 39) + "12",   // body not in whole codes
        good.substr(0, 39) + "256",  // body code above 255
        good.substr(0, 39) + "04a",
    };
    for (const std::string& stored : cases) EXPECT_EQ(Unscrambled(stored), "") << stored;
    EXPECT_EQ(Unscrambled(good.substr(0, 39)), "");
}

TEST(PasswordScrambler, BuildingBlocks) {
    const struct {
        const char* Codes;
        std::string Bytes;
    } codes[] = {{"06506", ""}, {"065066", "AB"}, {"", ""}, {"000255", std::string("\0\xFF", 2)},
                 {"256", ""},   {"-65", ""}};
    for (const auto& c : codes) EXPECT_EQ(DecimalCodesToBytes(c.Codes), c.Bytes) << c.Codes;
    EXPECT_EQ(BytesToDecimalCodes(std::string("A\0\xFF", 3)), "065000255");

    const struct {
        int64_t Value;
        int Width;
        const char* Text;
    } padded[] = {
        {261, 3, "261"}, {5, 3, "005"}, {83380, 5, "83380"}, {123456, 5, "123456"}, {0, 5, "00000"}};
    for (const auto& c : padded) EXPECT_EQ(IntToZeroPadded(c.Value, c.Width), c.Text);

    const std::string text = "The quick brown fox";
    const std::string scrambled = ScrambleBytes(text, 261, 83380, 2871);
    EXPECT_NE(scrambled, text);
    EXPECT_EQ(UnscrambleBytes(scrambled, 261, 83380, 2871), text);
    EXPECT_NE(UnscrambleBytes(scrambled, 262, 83380, 2871), text);
    // The first byte is xor-ed with bits 8-15 of the start key.
    EXPECT_EQ(static_cast<unsigned char>(ScrambleBytes("A", 0x1234, 1, 1)[0]), 'A' ^ 0x12);
}
