#include "mail/mime_codecs.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/mail/random_texts.h"

namespace {

const std::string kLetters80(80, 'a');
const std::string kLetters71(71, 'a');

struct TCase {
    const char* Name;
    std::string Text;
    std::string Encoded;
};

TEST(QuotedPrintable, BodyModeEscapesAndLineEnds) {
    const TCase cases[] = {
        {"plain text gets a line end", "abc", "abc\r\n"},
        {"equals sign", "a=b", "a=3Db\r\n"},
        {"blank before CR LF", "x \r\ny", "x=20\r\ny\r\n"},
        {"TAB before CR LF", "x\t\r\ny", "x=09\r\ny\r\n"},
        {"blanks at the very end", "x \t", "x=20=09\r\n"},
        {"blank inside a line stays", "a b\tc", "a b\tc\r\n"},
        {"CR LF pairs stay", "a\r\n\r\nb\r\n", "a\r\n\r\nb\r\n"},
        {"bare CR", "a\rb", "a=0Db\r\n"},
        {"bare LF", "a\nb", "a=0Ab\r\n"},
        {"CR at the end", "a\r", "a=0D\r\n"},
        {"LF at the start", "\nb", "=0Ab\r\n"},
        {"CR before CR LF", "a\r\r\n", "a=0D\r\n"},
        {"control character", std::string("a\0b", 3), "a=00b\r\n"},
        {"high bytes in upper-case hex", "\xE9\xab\xFF", "=E9=AB=FF\r\n"},
        {"DEL is copied", "\x7F", "\x7F\r\n"},
        {"empty text", "", ""},
    };
    for (const TCase& c : cases) EXPECT_EQ(EncodeQuotedPrintable(c.Text, false), c.Encoded) << c.Name;
}

TEST(QuotedPrintable, LongLinesBreakSoftlyAtColumn71) {
    EXPECT_EQ(EncodeQuotedPrintable(kLetters80, false), kLetters71 + "=\r\n" + std::string(9, 'a') + "\r\n");
    EXPECT_EQ(EncodeQuotedPrintable(std::string(71, 'a'), false), kLetters71 + "\r\n");
    EXPECT_EQ(EncodeQuotedPrintable(std::string(72, 'a'), false), kLetters71 + "=\r\na\r\n");
    EXPECT_EQ(EncodeQuotedPrintable(std::string(150, 'a'), false),
              kLetters71 + "=\r\n" + kLetters71 + "=\r\n" + std::string(8, 'a') + "\r\n");
}

TEST(QuotedPrintable, EscapeNeverStraddlesASoftBreak) {
    const std::string letters70(70, 'a');
    EXPECT_EQ(EncodeQuotedPrintable(letters70 + "\xE9", false), letters70 + "=\r\n=E9\r\n");
    EXPECT_EQ(EncodeQuotedPrintable(std::string(69, 'a') + "\xE9" + "b", false),
              std::string(69, 'a') + "=\r\n=E9b\r\n");
    EXPECT_EQ(EncodeQuotedPrintable(std::string(68, 'a') + "\xE9", false), std::string(68, 'a') + "=E9\r\n");
    // The blank escaped at the line end is an escape like any other.
    EXPECT_EQ(EncodeQuotedPrintable(std::string(70, 'a') + " \r\n", false),
              std::string(70, 'a') + "=\r\n=20\r\n");
}

TEST(QuotedPrintable, HeaderModeEscapesWhatWouldBreakAWord) {
    const TCase cases[] = {
        {"blank", "a b", "a=20b"},
        {"word characters", "\t\"'()<>?_", "=09=22=27=28=29=3C=3E=3F=5F"},
        {"folding points", ",;\\", "=2C=3B=5C"},
        {"line ends", "a\r\nb", "a=0D=0Ab"},
        {"plain word unchanged", "Vexmora", "Vexmora"},
        {"no line breaking", std::string(100, 'a'), std::string(100, 'a')},
    };
    for (const TCase& c : cases) EXPECT_EQ(EncodeQuotedPrintable(c.Text, true), c.Encoded) << c.Name;
}

TEST(QuotedPrintable, DecodingRules) {
    const TCase cases[] = {
        {"escape", "a=3Db", "a=b"},
        {"lower-case hex", "=e9=3d", "\xE9="},
        {"soft break", "ab=\r\ncd", "abcd"},
        {"soft break before a bare LF", "ab=\ncd", "abcd"},
        {"hard line ends stay", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"bad escape dropped with two characters", "a=ZZb", "ab"},
        {"one character after the last equals sign", "ab=4", "ab"},
        {"equals sign at the end", "ab=", "ab"},
        {"blanks kept", "a \t", "a \t"},
    };
    for (const TCase& c : cases) EXPECT_EQ(DecodeQuotedPrintable(c.Text), c.Encoded) << c.Name;
}

bool IsUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// decode(encode(x)) is x; the encoder ends the last line, so a text without
// a final CR LF comes back with one.
TEST(QuotedPrintable, RandomRoundTripsKeepLinesShortAndEscapesWhole) {
    TRandomTexts random(20240601);
    for (int round = 0; round < 1500; ++round) {
        const std::string text = round % 3 == 0 ? random.Bytes(3000) : random.MailText(600);
        const std::string encoded = EncodeQuotedPrintable(text, false);
        const bool ended =
            text.empty() || (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0);
        ASSERT_EQ(DecodeQuotedPrintable(encoded), ended ? text : text + "\r\n") << "round " << round;

        size_t start = 0;
        while (start < encoded.size()) {
            const size_t end = encoded.find("\r\n", start);
            ASSERT_NE(end, std::string::npos);
            const std::string line = encoded.substr(start, end - start);
            ASSERT_LE(line.size(), 72u);
            for (size_t i = 0; i < line.size(); ++i) {
                const auto c = static_cast<unsigned char>(line[i]);
                ASSERT_TRUE(c == '\t' || (c >= 0x20 && c <= 0x7F)) << "round " << round;
                if (c != '=') continue;
                if (i + 1 == line.size()) break;  // soft break
                ASSERT_TRUE(i + 2 < line.size() && IsUpperHex(line[i + 1]) && IsUpperHex(line[i + 2]))
                    << "round " << round << " line " << line;
                i += 2;
            }
            ASSERT_TRUE(line.empty() || (line.back() != ' ' && line.back() != '\t')) << "round " << round;
            start = end + 2;
        }
    }
}

TEST(QuotedPrintable, HeaderModeRoundTrips) {
    TRandomTexts random(77);
    for (int round = 0; round < 1000; ++round) {
        const std::string text = random.Bytes(200);
        const std::string encoded = EncodeQuotedPrintable(text, true);
        ASSERT_EQ(encoded.find_first_of(" \t\r\n,;\"'()<>?_\\"), std::string::npos);
        ASSERT_EQ(DecodeQuotedPrintable(encoded), text);
    }
}

TEST(QuotedPrintable, RandomAndTruncatedInputsDecodeWithoutFault) {
    TRandomTexts random(4711);
    for (int round = 0; round < 2000; ++round) {
        const std::string text = random.MailText(300);
        const std::string encoded = EncodeQuotedPrintable(text, round % 2 == 0);
        const std::string cut =
            encoded.substr(0, static_cast<size_t>(random.Below(static_cast<int>(encoded.size()) + 1)));
        const std::string decoded = DecodeQuotedPrintable(cut);
        ASSERT_LE(decoded.size(), cut.size());
        DecodeQuotedPrintable(text);
    }
}

}  // namespace
