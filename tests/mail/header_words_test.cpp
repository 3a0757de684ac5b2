#include "mail/header_words.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/mail/random_texts.h"

namespace {

struct TCase {
    const char* Name;
    std::string Input;
    std::string Expected;
};

TEST(HeaderWords, EncodingMakesOneQWordOnlyWhenNeeded) {
    const TCase cases[] = {
        {"plain word unchanged", "Vexmora", "Vexmora"},
        {"blank", "Vexmora notif", "=?iso-8859-1?Q?Vexmora=20notif?="},
        {"high byte", "caf\xE9", "=?iso-8859-1?Q?caf=E9?="},
        {"comma cannot be a folding point", "a,b", "=?iso-8859-1?Q?a=2Cb?="},
        {"long text stays one word", std::string(50, 'x') + " " + std::string(50, 'y'),
         "=?iso-8859-1?Q?" + std::string(50, 'x') + "=20" + std::string(50, 'y') + "?="},
    };
    for (const TCase& c : cases) EXPECT_EQ(EncodeHeaderWords(c.Input, "iso-8859-1"), c.Expected) << c.Name;
}

TEST(HeaderWords, DecodingByEncodingLetter) {
    const TCase cases[] = {
        {"Q with underscore", "=?iso-8859-1?Q?a_b?=", "a b"},
        {"B", "=?utf-8?B?YWJj?=", "abc"},
        {"lower-case letter", "=?utf-8?b?YWJj?=", "abc"},
        {"U", "=?x?U?#0V%T?=", "Cat"},
        {"unknown letter read as Q", "=?x?X?a=3Db?=", "a=b"},
        {"escape right after the letter", "=?x?Q?=3F?=", "?"},
        {"text around and trimmed", "  Re: =?x?Q?caf=E9?= ok  ", "Re: caf\xE9 ok"},
        {"two words", "=?x?Q?a?= =?x?Q?b?=", "a b"},
        {"unterminated word left alone", "=?x?Q?abc", "=?x?Q?abc"},
        {"zero byte ends the word", "=?x?Q?a=00b?=c", "ac"},
        {"decoded text is not decoded again", "=?x?Q?=3D=3Fx=3FQ=3Fa=3F=3D?=", "=?x?Q?a?="},
    };
    for (const TCase& c : cases) EXPECT_EQ(DecodeHeaderWords(c.Input), c.Expected) << c.Name;
}

// Header text cannot hold a zero byte: it would end the decoded word.
TEST(HeaderWords, RandomRoundTrips) {
    TRandomTexts random(2047);
    for (int round = 0; round < 1500; ++round) {
        std::string text = round % 2 ? random.Bytes(150) : random.MailText(150);
        for (char& c : text)
            if (c == '\0') c = '\x01';
        const std::string word = EncodeHeaderWords(text, "iso-8859-1");
        ASSERT_EQ(word.find_first_of(" \t\r\n,;\"'()<>\\"), std::string::npos) << "round " << round;
        ASSERT_EQ(DecodeHeaderWords(word), text) << "round " << round;
    }
}

TEST(HeaderWords, RandomAndTruncatedInputsDecodeWithoutFault) {
    TRandomTexts random(5);
    const char* const letters[] = {"Q", "B", "U", "x", ""};
    for (int round = 0; round < 2000; ++round) {
        std::string text = "=?cs?" + std::string(letters[round % 5]) + "?" + random.MailText(80) +
                           "?= " + EncodeHeaderWords(random.Bytes(60), "cs");
        text.resize(static_cast<size_t>(random.Below(static_cast<int>(text.size()) + 1)));
        const std::string decoded = DecodeHeaderWords(text);
        ASSERT_LE(decoded.size(), text.size() + 45);
    }
}

}  // namespace
