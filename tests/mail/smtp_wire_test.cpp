#include "mail/smtp_wire.h"

#include <gtest/gtest.h>

namespace {

TEST(SmtpWire, ReplyIsCompleteOnlyWhenItsLastLineSaysSo) {
    const struct {
        const char* Reply;
        bool Complete;
    } cases[] = {
        {"250 OK\r\n", true},
        {"250\r\n", true},
        {"250-host\r\n250-SIZE 100\r\n250 HELP\r\n", true},
        {"250-host\r\n", false},
        {"250-host\r\n250-SIZE 100\r\n", false},
        {"250-host\r\n250", false},
        {"250 OK", false},
        {"250 OK\r", false},
        {"25", false},
        {"", false},
        {"hello there\r\n", false},
        {"250x\r\n", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsCompleteSMTPReply(c.Reply), c.Complete) << c.Reply;
}

TEST(SmtpWire, DataTextDoublesLeadingDotsAndEndsWithTheDotLine) {
    const struct {
        const char* Text;
        const char* Wire;
    } cases[] = {
        {"a\r\n.\r\nb\r\n", "a\r\n..\r\nb\r\n.\r\n"},
        {".hidden\r\n", "..hidden\r\n.\r\n"},
        {".\r\n.\r\n", "..\r\n..\r\n.\r\n"},
        {"end\r\n.", "end\r\n..\r\n.\r\n"},
        {"no line end", "no line end\r\n.\r\n"},
        {"bare\nlf\rcr\r\r\n.x", "bare\r\nlf\r\ncr\r\n\r\n..x\r\n.\r\n"},
        {"mid.dot\r\n", "mid.dot\r\n.\r\n"},
        {"", ".\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeSMTPData(c.Text), c.Wire) << c.Text;
}

TEST(SmtpWire, AddressesWithControlCharactersAreInvalid) {
    EXPECT_TRUE(IsValidSMTPAddress("someone@example.com"));
    EXPECT_TRUE(IsValidSMTPAddress("\"odd name\"@example.com"));
    EXPECT_FALSE(IsValidSMTPAddress("a@b\r\nRCPT TO: <c@d>"));
    EXPECT_FALSE(IsValidSMTPAddress("a@b\n"));
    EXPECT_FALSE(IsValidSMTPAddress("a\tb@c"));
    EXPECT_FALSE(IsValidSMTPAddress("a\x7f@b"));
}

}  // namespace
