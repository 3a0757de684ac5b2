#include "mail/smtp_wire.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/text.h"
#include "tests/support/code_page.h"

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
    // As a paste from a web page leaves it: the no-break space.
    EXPECT_EQ(TrimMailAddress(L"\u00A0 admin@example.net\u00A0\r\n"), L"admin@example.net");
    EXPECT_EQ(TrimMailAddress(L"\t\u00A0\u00A0 "), L"");
    // Inside, it is part of what was typed, and refused where it shows.
    const std::wstring inside = L"ad\u00A0min@example.net";
    EXPECT_EQ(TrimMailAddress(inside), inside);
    EXPECT_EQ(SMTPAddressFault(inside),
              "Invalid mail address \"ad\\u00A0min@example.net\": it holds a character outside ASCII");
    for (const char* bad : {"admin@ex\xE4mple.net", "\xC3\xA9t\xC3\xA9@example.net", "a@b\xFF"})
        EXPECT_FALSE(IsValidSMTPAddress(bad)) << bad;
    EXPECT_EQ(SMTPAddressFault("ad min@example.net"),
              "Invalid mail address \"ad min@example.net\": it holds a blank");
    EXPECT_EQ(SMTPAddressFault("admin@example.net"), "");
}

TEST(SmtpWire, AnEightBitAddressInCp1252IsShownAsWritten) {
    ExpectCodePage(1252);
    // A server would read a byte outside ASCII in a code page of its own
    // choosing; the message shows the no-break space so that it is seen,
    // and a letter whole.
    EXPECT_EQ(SMTPAddressFault("admin@example.net\xA0"),
              "Invalid mail address \"admin@example.net\\u00A0\": it holds a character outside ASCII");
    EXPECT_EQ(SMTPAddressFault("\x80@ex\xE4mple.net"),
              "Invalid mail address \"\x80@ex\xE4mple.net\": it holds a character outside ASCII");
}

TEST(SmtpWire, TypedAddressesAreJudgedAsTypedAndNamesShownAsWritten) {
    ExpectTheRunsCodePage();
    // What a paste brings around an address goes; inside it, it is refused
    // and shown so that a person can see it.
    const struct {
        const wchar_t* Typed;
        const char* Sent;
        const char* Fault;
    } addresses[] = {
        {L"\uFEFF\u2003admin@example.net\u202F\u205F\u2000\u200A", "admin@example.net", ""},
        {L"admin\u200B@example.net\u3000", "",
         "Invalid mail address \"admin\\u200B@example.net\": it holds a character outside ASCII"},
        {L"a\u3000b@example.net", "",
         "Invalid mail address \"a\\u3000b@example.net\": it holds a character outside ASCII"},
        {L"a\u0085b@example.net", "",
         "Invalid mail address \"a\\x85b@example.net\": it holds a character outside ASCII"},
        {L"ad min@example.net", "", "Invalid mail address \"ad min@example.net\": it holds a blank"},
    };
    for (const auto& a : addresses) {
        std::string fault = "left over";
        EXPECT_EQ(TypedMailAddress(a.Typed, fault), a.Sent) << ToAnsi(a.Typed);
        EXPECT_EQ(fault, a.Fault) << ToAnsi(a.Typed);
    }
    // A letter of any script is refused as typed: no "?" of the code page
    // ever stands in for it.
    for (const wchar_t* typed : {L"r\u00E9sum\u00E9@example.com", L"\u7BA1\u7406@example.jp",
                                 L"\u90AE\u4EF6@example.cn", L"\U0001F600@example.com"}) {
        std::string fault;
        EXPECT_EQ(TypedMailAddress(typed, fault), "");
        EXPECT_TRUE(fault.ends_with("\": it holds a character outside ASCII")) << fault;
        EXPECT_EQ(fault.find('?'), std::string::npos) << fault;
    }

    // A name the code page holds shows whole, however many bytes a letter
    // takes there; only control characters are escaped.
    for (const wchar_t* name :
         {L"m\u00E9l.example.test", L"\u30E1\u30FC\u30EB.example.test", L"\u90AE\u4EF6.example.test"}) {
        const std::string written = ToAnsi(name);
        if (ToWide(written) != name) continue;  // not a letter of this code page
        EXPECT_EQ(ShownAddress(written), written);
        EXPECT_EQ(ShownAddress(std::wstring_view(name)), written);
        EXPECT_EQ(ShownAddress(written + "\r\n"), written + "\\x0D\\x0A");
        EXPECT_EQ(ShownReply("550 " + written + "\r\n"), "550 " + written);
        // Cut between letters, never inside one.
        std::wstring many;
        while (many.size() < 2 * MaxShownText) many += name;
        EXPECT_EQ(ShownAddress(ToAnsi(many)), ToAnsi(many.substr(0, MaxShownText - 3)) + "...");
    }
}

}  // namespace
