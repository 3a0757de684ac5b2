#include "mail/header_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
        {"blanks between two words go", "=?x?Q?a?= =?x?Q?b?=", "ab"},
        {"so does a fold between them", "=?x?Q?a?=\r\n\t=?x?Q?b?=", "ab"},
        {"text between words stays", "=?x?Q?a?= b =?x?Q?c?=", "a b c"},
        {"unterminated word left alone", "=?x?Q?abc", "=?x?Q?abc"},
        {"zero byte ends the word", "=?x?Q?a=00b?=c", "ac"},
        {"decoded text is not decoded again", "=?x?Q?=3D=3Fx=3FQ=3Fa=3F=3D?=", "=?x?Q?a?="},
    };
    for (const TCase& c : cases) EXPECT_EQ(DecodeHeaderWords(c.Input), c.Expected) << c.Name;
}

TEST(HeaderWords, SubjectsAndNamesNeedingEscapesBecomeWords) {
    const struct {
        const char* Name;
        std::string Input, AsText, AsName;
    } cases[] = {
        {"plain word", "Vexmora", "Vexmora", "\"Vexmora\""},
        // Brackets and dots end a word in a name, so the name keeps its quotes.
        {"specials without escapes", "[Vexmora]", "[Vexmora]", "\"[Vexmora]\""},
        {"dot", "J.Smith", "J.Smith", "\"J.Smith\""},
        {"blank", "Vexmora notif", "=?iso-8859-1?Q?Vexmora=20notif?=", "=?iso-8859-1?Q?Vexmora=20notif?="},
        {"high byte", "Jos\xE9", "=?iso-8859-1?Q?Jos=E9?=", "=?iso-8859-1?Q?Jos=E9?="},
        // In a name only letters, digits and !*+-/ stand for themselves.
        {"comma and high bytes", "M\xFCller, J\xF6rg",
         "=?iso-8859-1?Q?M=FCller=2C=20J=F6rg?=", "=?iso-8859-1?Q?M=FCller=2C=20J=F6rg?="},
        {"name specials escaped",
         "J\xF6rg.Smith@IT:", "=?iso-8859-1?Q?J=F6rg.Smith@IT:?=", "=?iso-8859-1?Q?J=F6rg=2ESmith=40IT=3A?="},
        {"long plain word still fits a line", std::string(900, 'x'), std::string(900, 'x'),
         '"' + std::string(900, 'x') + '"'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeHeaderText(c.Input, "iso-8859-1"), c.AsText) << c.Name;
        EXPECT_EQ(EncodeDisplayName(c.Input, "iso-8859-1"), c.AsName) << c.Name;
    }
}

// Characters of one to four bytes in UTF-8, or single Latin-1 bytes, with
// blanks and specials among them.
std::string MixedText(TRandomTexts& random, bool utf8, int characters) {
    static const char* const kUtf8[] = {
        "a", " ", ",", "=", "?", "_", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x92\xBE"};
    static const char* const kLatin1[] = {"a", " ", ",", "=", "?", "_", "\xE9", "\xFC", "Z"};
    std::string text;
    for (int i = 0; i < characters; ++i) text += (utf8 ? kUtf8 : kLatin1)[random.Below(9)];
    return text;
}

std::vector<std::string> SplitAtBlanks(const std::string& text) {
    std::vector<std::string> words;
    for (size_t at = 0;;) {
        const size_t blank = text.find(' ', at);
        words.push_back(text.substr(at, blank - at));
        if (blank == std::string::npos) return words;
        at = blank + 1;
    }
}

// A lead byte and then exactly the continuation bytes it announces.
bool WholeUtf8(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

TEST(HeaderWords, LongTextIsSplitIntoShortWordsBetweenCharacters) {
    TRandomTexts random(75);
    for (const bool utf8 : {false, true}) {
        const std::string charset = utf8 ? "utf-8" : "iso-8859-1";
        for (const int characters : {62, 200, 1100}) {
            const std::string text = MixedText(random, utf8, characters);
            for (const bool asName : {false, true}) {
                const std::string encoded =
                    asName ? EncodeDisplayName(text, charset) : EncodeHeaderText(text, charset);
                const std::string what =
                    charset + " " + std::to_string(characters) + (asName ? " name" : " text");
                const std::vector<std::string> words = SplitAtBlanks(encoded);
                EXPECT_GT(words.size(), 1u) << what;
                for (const std::string& word : words) {
                    ASSERT_LE(word.size(), kMaxEncodedWordLength) << what;
                    ASSERT_EQ(word.rfind("=?" + charset + "?Q?", 0), 0u) << what;
                    ASSERT_TRUE(word.ends_with("?=")) << what;
                    EXPECT_TRUE(!utf8 || WholeUtf8(DecodeHeaderWords(word))) << what << ": " << word;
                }
                EXPECT_EQ(DecodeHeaderWords(encoded), text) << what;
            }
        }
    }
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
