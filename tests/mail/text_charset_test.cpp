#include "mail/text_charset.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextCharset, LatinOneStaysItsOwnBytesAndAnythingElseMakesTheWholeMessageUtf8) {
    const struct {
        const char* Why;
        std::wstring Subject, Body;
        std::string Charset, SubjectBytes, BodyBytes;
    } cases[] = {
        {"ASCII", L"Disk news", L"", "iso-8859-1", "Disk news", ""},
        {"Latin-1 keeps its one byte a letter", L"Gr\u00FC\u00DFe", L"\u00FF", "iso-8859-1",
         "Gr\xFC\xDF"
         "e",
         "\xFF"},
        // Code page 1252's euro sign (byte 0x80) is no Latin-1 character.
        {"euro sign", L"\u20AC 5", L"Gr\u00FC\u00DFe", "utf-8", "\xE2\x82\xAC 5",
         "Gr\xC3\xBC\xC3\x9F"
         "e"},
        {"letters in the body alone", L"Disk", L"\u4EF6\u540D", "utf-8", "Disk", "\xE4\xBB\xB6\xE5\x90\x8D"},
    };
    for (const auto& c : cases) {
        const std::string charset = CharsetCarrying({c.Subject, c.Body});
        EXPECT_EQ(charset, c.Charset) << c.Why;
        EXPECT_EQ(TextInCharset(c.Subject, charset), c.SubjectBytes) << c.Why;
        EXPECT_EQ(TextInCharset(c.Body, charset), c.BodyBytes) << c.Why;
    }
}
