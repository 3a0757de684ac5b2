#include "mail/smtp_wire.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SmtpWire, AReplyEndsAtTheCrLfOfALineWithoutAHyphenAndAnythingElseFailsAtOnce) {
    using enum TReplyState;
    const struct {
        std::string Reply;
        TReplyState State;
    } cases[] = {
        {"250 OK\r\n", Complete},
        {"250\r\n", Complete},
        {"250-host\r\n250-SIZE 100\r\n250 HELP\r\n", Complete},
        {"250-host\r\n", Partial},
        {"250-host\r\n250-SIZE 100\r\n", Partial},
        {"250-host\r\n250", Partial},
        {"250 OK", Partial},
        {"250 OK\r", Partial},
        {"25", Partial},
        {"", Partial},
        // Not a reply: known as soon as it shows, line end or not.
        {"hello there\r\n", Invalid},
        {"abc", Invalid},
        {"2\r\n", Invalid},
        {"\r\n", Invalid},
        {"\n", Invalid},
        {"220 bare line feed\n", Invalid},
        {"250x\r\n", Invalid},
        {"250-host\r\nnot a line\r\n", Invalid},
        {"250-host\r\n25x", Invalid},
        {"250 " + std::string(MaxSMTPReplyLine - 6, 'x') + "\r\n", Complete},
        {"250 " + std::string(MaxSMTPReplyLine - 5, 'x') + "\r\n", TooLong},
        {"250 " + std::string(MaxSMTPReplyLine, 'x'), TooLong},
        {"250-a\r\n250 " + std::string(MaxSMTPReplyLine, 'x'), TooLong},
    };
    for (const auto& c : cases) EXPECT_EQ(SMTPReplyState(c.Reply), c.State) << c.Reply.substr(0, 40);
}

TEST(SmtpWire, AReplyReadPieceByPieceGivesWhatItGivesWhole) {
    const std::string replies[] = {"220-first\r\n220-second\r\n220 last\r\n", "250-a\r\nbad\r\n",
                                   "250-" + std::string(MaxSMTPReplyLine, 'x') + "\r\n"};
    for (const std::string& reply : replies) {
        TSMTPReplyReader reader;
        TReplyState state = TReplyState::Partial;
        for (std::size_t length = 1; length <= reply.size() && state == TReplyState::Partial; ++length)
            state = reader.Check(std::string_view(reply).substr(0, length));
        EXPECT_EQ(state, SMTPReplyState(reply)) << reply.substr(0, 40);
        reader.Reset();
        EXPECT_EQ(reader.Check("250 again\r\n"), TReplyState::Complete);
    }
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

TEST(SmtpWire, AnAddressIsValidOnlyWhenItGoesBetweenItsBracketsAsItIs) {
    EXPECT_TRUE(IsValidSMTPAddress("someone@example.com"));
    EXPECT_TRUE(IsValidSMTPAddress(""));  // the null path
    EXPECT_TRUE(IsValidSMTPAddress(std::string(MaxSMTPAddress, 'a')));
    for (const char* bad : {"a@b\r\nRCPT TO: <c@d>", "a@b\n", "a\tb@c", "a\x7f@b", "a@b evil@x",
                            "\"odd name\"@example.com", "a@b,c@d", "a@b>", "<a@b"})
        EXPECT_FALSE(IsValidSMTPAddress(bad)) << bad;
    EXPECT_FALSE(IsValidSMTPAddress(std::string(MaxSMTPAddress + 1, 'a')));
    EXPECT_EQ(ShownAddress("a\r\nb\x7f c"), "a\\x0D\\x0Ab\\x7F c");
}

}  // namespace
