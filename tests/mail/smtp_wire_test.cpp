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
        // Every line carries the first line's code, or whether the mail went
        // would depend on how the reply was split.
        {"250-a\r\n550 b\r\n", Invalid},
        {"250-a\r\n55", Invalid},
        {"250-a\r\n25", Partial},
        // A CR ends a line or nothing.
        {"220\rjunk\r\n", Invalid},
        {"220\rj", Invalid},
        {"250 a\rb\r\n", Invalid},
        {"220\r", Partial},
        // The documented 4096 octets of a line, its CR LF included.
        {"250 " + std::string(4096 - 6, 'x') + "\r\n", Complete},
        {"250 " + std::string(4096 - 5, 'x') + "\r\n", TooLong},
        {"250 " + std::string(4096, 'x'), TooLong},
        {"250-a\r\n250 " + std::string(4096, 'x'), TooLong},
    };
    for (const auto& c : cases) EXPECT_EQ(SMTPReplyState(c.Reply), c.State) << c.Reply.substr(0, 40);
}

TEST(SmtpWire, AReplySplitAnywhereGetsTheVerdictOfItsWholeText) {
    using enum TReplyState;
    const struct {
        std::string Reply;
        TReplyState State;
    } cases[] = {
        {"250-mail.example.com\r\n250-SIZE 52428800\r\n250-8BITMIME\r\n250 AUTH LOGIN PLAIN\r\n", Complete},
        // Digits inside the text are no code of a line.
        {"250 2.6.0 queued 9876 bytes in 0.1 s\r\n", Complete},
        {"451-4.3.0 Temporary failure\r\n451-4.3.0 please try\r\n451 4.3.0 again later\r\n", Complete},
        {"550-5.1.1 The mailbox\r\n550-5.1.1 does not exist\r\n550 5.1.1 user unknown 42\r\n", Complete},
        {"220-first\r\n220-second\r\n220 last\r\n", Complete},
        {"250-a\r\n550 b\r\n", Invalid},
        {"220\rjunk\r\n", Invalid},
        {"250-a\r\nbad\r\n", Invalid},
        {"250-" + std::string(4096, 'x') + "\r\n", TooLong},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(SMTPReplyState(c.Reply), c.State) << c.Reply.substr(0, 40);
        // Once decided, a verdict stays; until then each piece is only partial.
        auto verdict = [](TSMTPReplyReader& Reader, std::string_view Reply, std::size_t Split) {
            const TReplyState first = Reader.Check(Reply.substr(0, Split));
            return first == Partial ? Reader.Check(Reply) : first;
        };
        for (std::size_t split = 0; split <= c.Reply.size(); ++split) {
            TSMTPReplyReader reader;
            EXPECT_EQ(verdict(reader, c.Reply, split), c.State)
                << c.Reply.substr(0, 40) << " split at " << split;
        }
        TSMTPReplyReader reader;
        TReplyState state = Partial;
        for (std::size_t length = 1; length <= c.Reply.size() && state == Partial; ++length)
            state = reader.Check(std::string_view(c.Reply).substr(0, length));
        EXPECT_EQ(state, c.State) << c.Reply.substr(0, 40) << " byte by byte";
        reader.Reset();
        EXPECT_EQ(reader.Check("354 again\r\n"), Complete);
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
    // The documented 254 octets: with the brackets, the 256 of a path.
    EXPECT_TRUE(IsValidSMTPAddress(std::string(254, 'a')));
    for (const char* bad : {"a@b\r\nRCPT TO: <c@d>", "a@b\n", "a\tb@c", "a\x7f@b", "a@b evil@x",
                            "\"odd name\"@example.com", "a@b,c@d", "a@b>", "<a@b"})
        EXPECT_FALSE(IsValidSMTPAddress(bad)) << bad;
    EXPECT_FALSE(IsValidSMTPAddress(std::string(255, 'a')));
    EXPECT_EQ(ShownAddress("a\r\nb\x7f c"), "a\\x0D\\x0Ab\\x7F c");
    // A message names an address, it does not repeat 64 KB of one.
    EXPECT_EQ(ShownAddress(std::string(100, 'a')), std::string(100, 'a'));
    EXPECT_EQ(ShownAddress(std::string(65536, 'a')), std::string(97, 'a') + "...");
    EXPECT_EQ(ShownAddress(std::string(98, 'a') + "\r\n"), std::string(97, 'a') + "...");
    EXPECT_EQ(ShownReply("550-no\r\n550 such user\r\n"), "550-no 550 such user");
}

TEST(SmtpWire, APastedAddressLosesTheNoBreakSpacesAroundItAndNoByteOutsideAsciiGoesOut) {
    // As a paste from a web page leaves it: the code page's no-break space.
    EXPECT_EQ(TrimMailAddress("\xA0 admin@example.net\xA0\r\n"), "admin@example.net");
    EXPECT_EQ(TrimMailAddress("\t\xA0\xA0 "), "");
    // Inside, it is part of what was typed, and refused where it shows.
    const std::string inside =
        "ad\xA0"
        "min@example.net";
    EXPECT_EQ(TrimMailAddress(inside), inside);
    EXPECT_EQ(SMTPAddressFault(inside),
              "Invalid mail address \"ad\\xA0min@example.net\": it holds a character outside ASCII");
    for (const char* bad : {"admin@ex\xE4mple.net", "\xC3\xA9t\xC3\xA9@example.net", "a@b\xFF"})
        EXPECT_FALSE(IsValidSMTPAddress(bad)) << bad;
    EXPECT_EQ(SMTPAddressFault("ad min@example.net"),
              "Invalid mail address \"ad min@example.net\": it holds a blank");
    EXPECT_EQ(SMTPAddressFault("admin@example.net"), "");
}

}  // namespace
