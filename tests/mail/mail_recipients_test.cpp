#include "mail/mail_recipients.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/exceptions.h"
#include "tests/mail/mail_world.h"

namespace {

class MailRecipients : public ::testing::Test {
protected:
    TOwned<TMimeMessage> message_ = MakeOwned<TMimeMessage>(nullptr);

    std::vector<std::string> Names(TMailRecipients* list) {
        list->ParseHeader();
        std::vector<std::string> names;
        for (int i = 0; i < list->Names()->Count(); ++i) names.push_back(list->Names()->Strings(i));
        return names;
    }
    std::vector<std::string> Addresses(TMailRecipients* list) {
        list->ParseHeader();
        std::vector<std::string> addresses;
        for (int i = 0; i < list->Addresses()->Count(); ++i)
            addresses.push_back(list->Addresses()->Strings(i));
        return addresses;
    }
};

using TList2 = std::vector<std::string>;

TEST_F(MailRecipients, ClearThenAddLeavesOneLineAtTheEnd) {
    message_->Header()->SetText("To: old@example.org\r\nSubject: s\r\n");
    message_->To()->Clear();
    message_->To()->Add("Vexmora", "to@example.org");
    EXPECT_EQ(message_->Header()->Text(), "Subject: s\r\nTo: \"Vexmora\" <to@example.org>\r\n");
    message_->To()->Add("", "second@example.org");
    message_->To()->Add("Vexmora notif", "third@example.org");
    EXPECT_EQ(message_->Header()->Strings(1),
              "To: \"Vexmora\" <to@example.org>, <second@example.org>, "
              "=?iso-8859-1?Q?Vexmora=20notif?= <third@example.org>");
    EXPECT_EQ(message_->To()->Count(), 3);
    EXPECT_EQ(Names(message_->To()), (TList2{"Vexmora", "", "Vexmora notif"}));
}

TEST_F(MailRecipients, ParsingNamesAndAddresses) {
    struct {
        const char* Value;
        TList2 Names, Addresses;
    } const cases[] = {
        {"a@x (Alpha), \"Beta\" <b@y>", {"Alpha", "Beta"}, {"a@x", "b@y"}},
        {"plain@x", {""}, {"plain@x"}},
        {"Gamma Delta <g@z>", {"Gamma Delta"}, {"g@z"}},
        {"<a @x>", {""}, {"a @x"}},  // kept as written, for the send to refuse
        {"\"Last, First\" <lf@x>", {"Last, First"}, {"lf@x"}},
        {"=?iso-8859-1?Q?Jos=E9?= <j@x>", {"Jos\xE9"}, {"j@x"}},
        {"a@x; b@y", {"", ""}, {"a@x", "b@y"}},    // nothing after ";" is lost
        {"a@x,, b@y,", {"", ""}, {"a@x", "b@y"}},  // empty entries are nobody
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        message_->Header()->SetText(std::string("To: ") + c.Value + "\r\n");
        EXPECT_EQ(Names(message_->To()), c.Names) << c.Value;
        EXPECT_EQ(Addresses(message_->To()), c.Addresses) << c.Value;
    }
}

TEST_F(MailRecipients, EveryLineOfTheLabelIsReadAndWrittenBackAsOne) {
    message_->Header()->SetText("To: a@x\r\nCc: c@x\r\nTo: \"B\" <b@y>\r\n");
    EXPECT_EQ(message_->To()->Count(), 2);
    EXPECT_EQ(message_->Cc()->Count(), 1);
    EXPECT_EQ(message_->Bcc()->Count(), 0);
    message_->To()->WriteHeader();
    EXPECT_EQ(message_->Header()->Text(), "Cc: c@x\r\nTo: <a@x>, \"B\" <b@y>\r\n");
}

TEST_F(MailRecipients, AllAddressesIsCommaText) {
    message_->Header()->SetText("To: a@x, \"B\" <b@y>, \"C\" <odd name@z>\r\n");
    EXPECT_EQ(message_->To()->AllAddresses(), "a@x,b@y,\"odd name@z\"");
    message_->Header()->SetText("Bcc: some one\r\n");
    EXPECT_EQ(message_->Bcc()->AllAddresses(), "\"some one\"");
}

TEST_F(MailRecipients, EditKeepingTheHeaderLengthIsSeen) {
    message_->Header()->SetText("To: <a@example.org>\r\n");
    EXPECT_EQ(message_->To()->AllAddresses(), "a@example.org");
    message_->Header()->SetStrings(0, "To: <b@example.org>");
    EXPECT_EQ(message_->To()->AllAddresses(), "b@example.org");
}

TEST_F(MailRecipients, AddressesThatWouldBreakTheHeaderAreRefused) {
    message_->To()->Add("n", "ok@example.org");
    const std::string before = message_->Header()->Text();
    for (const std::string& bad : std::initializer_list<std::string>{
             "a@x>\r\nBcc: evil@example.org", "a@x\nb", "a<b@x", "a>b@x", std::string("a\0@x", 4)})
        EXPECT_THROW(message_->To()->Add("n", bad), Exception) << bad;
    EXPECT_EQ(message_->Header()->Text(), before);
    // A display name travels as an encoded word, so line ends cannot escape.
    message_->To()->Add("x\r\nBcc: evil@example.org", "n@example.org");
    EXPECT_EQ(message_->Header()->Count(), 1);
    EXPECT_EQ(Names(message_->To())[1], "x\r\nBcc: evil@example.org");
}

}  // namespace
