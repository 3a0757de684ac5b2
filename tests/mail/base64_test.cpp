#include "mail/mime_codecs.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "tests/mail/random_texts.h"

namespace {

struct TCase {
    std::string Data;
    std::string Encoded;
};

TEST(Base64, StandardVectorsEachLineEndedByCRLF) {
    const TCase cases[] = {
        {"", ""},
        {"f", "Zg==\r\n"},
        {"fo", "Zm8=\r\n"},
        {"foo", "Zm9v\r\n"},
        {"foob", "Zm9vYg==\r\n"},
        {"fooba", "Zm9vYmE=\r\n"},
        {"foobar", "Zm9vYmFy\r\n"},
        {"\xFF\xFE\xFD", "//79\r\n"},
    };
    for (const TCase& c : cases) EXPECT_EQ(EncodeBase64Lines(c.Data), c.Encoded) << c.Data;
}

TEST(Base64, LinesHold76CharactersOf57Bytes) {
    const std::string data(57 * 2 + 1, 'M');
    std::string line;
    for (int i = 0; i < 19; ++i) line += "TU1N";  // "MMM"
    EXPECT_EQ(EncodeBase64Lines(data), line + "\r\n" + line + "\r\nTQ==\r\n");
}

TEST(Base64, StreamEncodingEmptiesDestAndReadsTheWholeSource) {
    TRandomTexts random(99);
    std::string data;
    for (int i = 0; i < 5000; ++i)
        data += static_cast<char>(random.Below(256));  // crosses the 2280-byte blocks
    TOwned<TStringStream> source = MakeOwned<TStringStream>(data);
    source->SetPosition(1234);
    TOwned<TStringStream> dest = MakeOwned<TStringStream>(std::string(100000, 'x'));
    EncodeBase64(dest.get(), source.get());
    EXPECT_EQ(dest->DataString(), EncodeBase64Lines(data));

    TOwned<TStringStream> empty = MakeOwned<TStringStream>();
    EncodeBase64(dest.get(), empty.get());
    EXPECT_EQ(dest->DataString(), "");
}

TEST(Base64, StringFormIsTheWholeTextOnOneLine) {
    EXPECT_EQ(EncodeBase64String(""), "");
    EXPECT_EQ(EncodeBase64String("user"), "dXNlcg==");
    // Credentials longer than one 57-byte line are not cut short.
    const std::string secret(100, 'p');
    const std::string encoded = EncodeBase64String(secret);
    EXPECT_EQ(encoded.size(), 136u);
    EXPECT_EQ(encoded.find('\r'), std::string::npos);
    std::string decoded;
    DecodeBase64(encoded, decoded);
    EXPECT_EQ(decoded, secret);
}

TEST(Base64, DecodingGroupsAndPadding) {
    const TCase cases[] = {
        {"abc", "YWJj"},
        {"a", "YQ=="},
        {"ab", "YWI="},
        {"abc", "YWJjZA"},        // a trailing short group yields nothing
        {"", "=AAA"},             // a group that starts with padding
        {"abc", "YW\r\nJj\r\n"},  // line ends and blanks are skipped
        {"abc", " Y W J j "},
        {"aab", "YQ==YWI="},  // padding inside: groups go on
        {"", ""},
    };
    for (const TCase& c : cases) {
        std::string buffer = "stale";
        EXPECT_EQ(DecodeBase64(c.Encoded, buffer), static_cast<int>(c.Data.size())) << c.Encoded;
        EXPECT_EQ(buffer, c.Data) << c.Encoded;
    }
}

TEST(Base64, BodiesDecodeLineByLine) {
    EXPECT_EQ(DecodeBase64Lines("YWJj\r\n  ZGVm  \r\nZw==\r\n"), "abcdefg");
    // A group is not carried over a line end; bare CR or LF are skipped.
    EXPECT_EQ(DecodeBase64Lines("YW\r\nJj\r\nYWJj"), "abc");
    EXPECT_EQ(DecodeBase64Lines("YW\nJj\rYWJj"), "abcabc");
    EXPECT_EQ(DecodeBase64Lines(""), "");
    TOwned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
    stream->WriteBuffer("stale bytes, longer than the result", 35);
    DecodeBase64Lines(stream.get(), "YWJj\r\nZA==\r\n");
    ASSERT_EQ(stream->Size(), 4);
    EXPECT_EQ(std::string(static_cast<const char*>(stream->Memory()), 4), "abcd");
    EXPECT_EQ(stream->Position(), 0);
    DecodeBase64Lines(stream.get(), "");
    EXPECT_EQ(stream->Size(), 0);
}

TEST(Base64, RandomRoundTrips) {
    TRandomTexts random(31337);
    for (int round = 0; round < 1200; ++round) {
        const std::string data = random.Bytes(round % 10 == 0 ? 5000 : 300);
        const std::string encoded = EncodeBase64Lines(data);
        std::string decoded, line;
        size_t start = 0;
        while (start < encoded.size()) {
            const size_t end = encoded.find("\r\n", start);
            ASSERT_NE(end, std::string::npos);
            ASSERT_LE(end - start, 76u);
            DecodeBase64(std::string_view(encoded).substr(start, end - start), line);
            decoded += line;
            start = end + 2;
        }
        ASSERT_EQ(decoded, data) << "round " << round;
        ASSERT_EQ(DecodeBase64Lines(encoded), data) << "round " << round;
        ASSERT_EQ(DecodeBase64(EncodeBase64String(data), line), static_cast<int>(data.size()));
        ASSERT_EQ(line, data);
    }
}

TEST(Base64, RandomAndTruncatedInputsDecodeWithoutFault) {
    TRandomTexts random(8);
    std::string buffer;
    for (int round = 0; round < 2000; ++round) {
        const std::string junk = random.Bytes(400);
        const int count = DecodeBase64(junk, buffer);
        ASSERT_EQ(count, static_cast<int>(buffer.size()));
        ASSERT_LE(buffer.size(), junk.size());
        // A cut text gives a prefix of what was encoded.
        const std::string data = random.Bytes(200);
        const std::string encoded = EncodeBase64String(data);
        const std::string cut =
            encoded.substr(0, static_cast<size_t>(random.Below(static_cast<int>(encoded.size()) + 1)));
        DecodeBase64(cut, buffer);
        ASSERT_EQ(buffer, data.substr(0, buffer.size()));
    }
}

// ---- UU ------------------------------------------------------------------------

TEST(UUDecoding, CharacterValues) {
    EXPECT_EQ(UUCharValue('`'), 0);
    EXPECT_EQ(UUCharValue(' '), 0);
    EXPECT_EQ(UUCharValue('!'), 1);
    EXPECT_EQ(UUCharValue('M'), 45);
    EXPECT_EQ(UUCharValue('_'), 63);
    for (char c : {'a', '~', '\r', '\0'}) {
        try {
            UUCharValue(c);
            ADD_FAILURE() << "no error for " << int(c);
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "UUCODE message format error");
        }
    }
}

struct TUUCase {
    const char* Name;
    std::string Line;
    std::string Bytes;
};

TEST(UUDecoding, LinesGiveTheirAnnouncedBytes) {
    std::string full;
    for (int i = 0; i < 45; ++i) full += static_cast<char>(i);
    const std::string fullLine = "M  $\" P0%!@<(\"0H+# T.#Q 1$A,4%187&!D:&QP='A\\@(2(C)\"4F)R@I*BLL";
    const TUUCase cases[] = {
        {"short line", "#0V%T", "Cat"},
        {"line end stripped", "#0V%T\r\n", "Cat"},
        {"full line of 45 bytes", fullLine, full},
        {"characters past 60 are not data", fullLine + "junkjunk", full},
        {"count above 45 is held to 45", "_" + fullLine.substr(1), full},
        {"missing characters read as zero", "#0V", std::string("C`\0", 3)},
        {"count only", "M", std::string(45, '\0')},
        {"zero count", "`", ""},
        {"begin line", "begin 644 data.bin", ""},
        {"end line", "end", ""},
        {"character outside the alphabet", "#0v%T", ""},
        {"empty line", "", ""},
    };
    for (const TUUCase& c : cases) {
        std::string buffer = "stale";
        EXPECT_EQ(DecodeUULine(c.Line, buffer), static_cast<int>(c.Bytes.size())) << c.Name;
        EXPECT_EQ(buffer, c.Bytes) << c.Name;
    }
}

TEST(UUDecoding, RandomAndTruncatedLinesDecodeWithoutFault) {
    TRandomTexts random(12);
    std::string buffer;
    for (int round = 0; round < 3000; ++round) {
        std::string line = random.Bytes(120);
        if (round % 2 == 0)
            for (char& c : line) c = static_cast<char>(0x20 + (static_cast<unsigned char>(c) % 0x41));
        const int count = DecodeUULine(line, buffer);
        ASSERT_GE(count, 0);
        ASSERT_LE(count, 45);
        ASSERT_EQ(buffer.size(), static_cast<size_t>(count));
    }
}

}  // namespace
