#include "mail/mime_message.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/exceptions.h"
#include "tests/mail/mail_world.h"

namespace {

class MimeMessage : public ::testing::Test {
protected:
    TFixedMailWorld world_;
    TOwned<TMimeMessage> message_ = MakeOwned<TMimeMessage>(nullptr);
};

TEST_F(MimeMessage, Defaults) {
    EXPECT_EQ(message_->Charset(), "iso-8859-1");
    EXPECT_EQ(message_->TextEncoding(), etQuotedPrintable);
    EXPECT_EQ(message_->AttachEncoding(), etBase64);
    EXPECT_EQ(message_->EmbedMethod(), emContentLocation);
    EXPECT_EQ(message_->ContentLocationBase(), "http://127.0.0.1/");
    EXPECT_FALSE(message_->NeedRebuild());
    EXPECT_FALSE(message_->NeedNormalize());
    EXPECT_FALSE(message_->NeedFindParts());
    EXPECT_EQ(message_->OwnerMessage(), message_.get());
    EXPECT_EQ(message_->Header()->Count(), 0);
    EXPECT_EQ(message_->To()->Label(), "To");
    EXPECT_EQ(message_->Cc()->Label(), "Cc");
    EXPECT_EQ(message_->Bcc()->Label(), "Bcc");
}

// A quoted encoded word is not decoded: a name is either quoted or words.
TEST_F(MimeMessage, SetFromFormsReadBack) {
    const struct {
        const char* Name;
        const char* Line;
    } cases[] = {
        {"", "From: <a@example.org>"},
        {"Vexmora", "From: \"Vexmora\" <a@example.org>"},
        {"[Vexmora]", "From: \"[Vexmora]\" <a@example.org>"},
        {"Jos\xE9", "From: =?iso-8859-1?Q?Jos=E9?= <a@example.org>"},
        {"M\xFCller, J\xF6rg (IT)", "From: =?iso-8859-1?Q?M=FCller=2C=20J=F6rg=20=28IT=29?= <a@example.org>"},
    };
    for (const auto& c : cases) {
        message_->SetFrom(c.Name, "a@example.org");
        EXPECT_EQ(message_->Header()->Text(), std::string(c.Line) + "\r\n");
        std::string name, address;
        message_->GetFrom(name, address);
        EXPECT_EQ(name, c.Name);
        EXPECT_EQ(address, "a@example.org");
    }
    message_->SetFrom("Vexmora", "");
    EXPECT_EQ(message_->Header()->Count(), 0);
}

// Encoded words stay within 75 characters and fold before column 78;
// a long name splits the same way and still reads back whole. A plain word
// too long for one line travels as words as well.
TEST_F(MimeMessage, LongSubjectsAndNamesFoldIntoShortLines) {
    std::string latin1;
    for (int i = 0; i < 1100; ++i) latin1 += "a\xE9 ,"[i % 4];
    for (const std::string& text :
         {latin1.substr(0, 62), latin1.substr(0, 200), latin1, std::string(1100, 'x')}) {
        const size_t length = text.size();
        message_->Header()->Clear();
        message_->SetSubject(text);
        message_->SetFrom(text, "a@example.org");
        message_->To()->Add(text, "t@example.org");
        message_->To()->Add("Vexmora", "u@example.org");
        std::string name, address;
        message_->GetFrom(name, address);
        EXPECT_EQ(name, text) << length;
        // Read back from the header line, not from what Add kept.
        message_->Header()->SetText(message_->Header()->Text());
        ASSERT_EQ(message_->To()->Count(), 2) << length;
        EXPECT_EQ(message_->To()->Names()->Strings(0), text) << length;
        const std::string source = message_->GetSource();
        for (size_t at = 0; at + 2 < source.size();) {
            const size_t end = source.find("\r\n", at);
            EXPECT_LT(end - at, 78u) << length << ": " << source.substr(at, end - at);
            at = end + 2;
        }
    }
}

TEST_F(MimeMessage, SetFromRefusesAddressesThatBreakTheHeader) {
    message_->SetFrom("Vexmora", "a@example.org");
    // A quoted local part with a blank cannot go between brackets as it is.
    for (const char* bad : {"a@x>\r\nBcc: evil@example.org", "a@x\r", "<a@x", "\"john doe\"@example.org"})
        EXPECT_THROW(message_->SetFrom("Vexmora", bad), Exception) << bad;
    EXPECT_EQ(message_->Header()->Text(), "From: \"Vexmora\" <a@example.org>\r\n");
}

TEST_F(MimeMessage, GetFromReadsOneAddress) {
    struct {
        const char* Value;
        const char* Name;
        const char* Address;
    } const cases[] = {
        {"\"Vexmora\" <a@x>", "Vexmora", "a@x"},
        {"a@x (Vexmora)", "Vexmora", "a@x"},
        {"<a@x>", "", "a@x"},
        {"a@x", "", "a@x"},
        {"Vexmora Alerts <a@x>", "Vexmora Alerts", "a@x"},
        {"\"=?iso-8859-1?Q?Jos=E9?=\" <j@x>", "Jos\xE9", "j@x"},
        {"=?iso-8859-1?Q?Jos=E9?= <j@x>", "Jos\xE9", "j@x"},
        {"=?utf-8?Q?J=C3=B6?= =?utf-8?Q?rg?= <j@x>", "J\xC3\xB6rg", "j@x"},
        {"\"Odd <name>\" <o@x>", "Odd <name>", "o@x"},
        // A quoted local part is the address's own, quotes and all.
        {"\"Vexmora\" <\"john.doe\"@example.com>", "Vexmora", "\"john.doe\"@example.com"},
        {"<\"a\\\"b(c)\"@x>", "", "\"a\\\"b(c)\"@x"},
    };
    for (const auto& c : cases) {
        message_->Header()->SetText(std::string("From: ") + c.Value + "\r\n");
        std::string name = "stale", address = "stale";
        message_->GetFrom(name, address);
        EXPECT_EQ(name, c.Name) << c.Value;
        EXPECT_EQ(address, c.Address) << c.Value;
    }
    message_->Header()->Clear();
    std::string name = "stale", address = "stale";
    message_->GetFrom(name, address);
    EXPECT_EQ(name + address, "");
}

TEST_F(MimeMessage, SubjectPriorityDateAndMessageId) {
    message_->SetSubject("Vexmora");
    message_->SetSubject("Vexmora notif");
    message_->SetPriority(2);
    message_->SetDate(EncodeDateTime(2026, 12, 6, 11, 9, 31, 0));
    message_->SetMessageId("192.168.1.20");
    EXPECT_EQ(message_->Header()->Text(),
              "Subject: =?iso-8859-1?Q?Vexmora=20notif?=\r\n"
              "X-Priority: 3\r\n"
              "Date: Sun, 06 Dec 2026 11:09:31 +0800\r\n"
              "Message-ID: <20261206110931.62A6551D.4A132196@192.168.1.20>\r\n");
    message_->SetMessageId("10.0.0.1");  // replaced in place, leading zeros dropped
    EXPECT_EQ(message_->Header()->Strings(3), "Message-ID: <20261206110931.146983F3.8DB963C4@10.0.0.1>");
}

TEST_F(MimeMessage, SingleTextMessageHeaderOrder) {
    message_->SetSubject("s");
    message_->SetFrom("Vexmora", "f@example.org");
    message_->To()->Clear();
    message_->To()->Add("Vexmora", "t@example.org");
    message_->SetPriority(2);
    message_->SetTextPlain("hello");
    message_->SetDate(EncodeDateTime(2026, 12, 6, 0, 0, 0, 0));
    EXPECT_EQ(message_->Header()->Text(),
              "Subject: s\r\n"
              "From: \"Vexmora\" <f@example.org>\r\n"
              "To: \"Vexmora\" <t@example.org>\r\n"
              "X-Priority: 3\r\n"
              "Mime-Version: 1.0\r\n"
              "X-Mailer: MimeMail 1.10\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n"
              "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
              "Content-Disposition: inline\r\n"
              "Content-Length: 7\r\n"
              "Date: Sun, 06 Dec 2026 00:00:00 +0800\r\n");
    EXPECT_EQ(message_->TextPlainPart(), message_.get());
    EXPECT_EQ(message_->SubPartList()->Count(), 0);
    EXPECT_TRUE(message_->NeedRebuild());
    EXPECT_EQ(message_->TextPlain()->Text(), "hello\r\n");

    const std::string header = message_->Header()->Text();
    message_->RebuildBody();
    EXPECT_FALSE(message_->NeedRebuild());
    EXPECT_EQ(message_->Header()->Text(), header);
    EXPECT_EQ(BodyText(message_.get()), "hello\r\n");
}

TEST_F(MimeMessage, SecondTextReusesThePart) {
    message_->SetTextPlain("first");
    message_->RebuildBody();
    const std::string header = message_->Header()->Text();
    message_->SetTextPlain("second text");
    EXPECT_TRUE(message_->NeedRebuild());
    EXPECT_EQ(message_->TextPlainPart(), message_.get());
    EXPECT_EQ(BodyText(message_.get()), "second text\r\n");
    EXPECT_EQ(message_->GetLabelValue("Content-Length"), "13");
    EXPECT_EQ(message_->Header()->Count(), 6);
    EXPECT_EQ(message_->ComponentCount(), 0);
}

// The mail of an alert: what the action thread sets, then the SMTP client's
// Message-ID and the text it sends.
TEST_F(MimeMessage, AlertMailWireText) {
    message_->SetFrom("Vexmora", "vexmora@example.org");
    message_->To()->Clear();
    message_->To()->Add("Vexmora", "admin@example.org");
    message_->SetSubject("Vexmora: drive 0 needs attention");
    message_->SetTextPlain(
        "Drive 0 WDC WD10EZEX-08WN4A0 reports attribute 194 Temperature at 55\xB0"
        "C, above the limit \r\n"
        "Check the cooling.");
    ASSERT_TRUE(message_->NeedRebuild());
    message_->RebuildBody();
    message_->SetMessageId("192.168.1.20");
    EXPECT_EQ(message_->GetSource(),
              "From: \"Vexmora\" <vexmora@example.org>\r\n"
              "To: \"Vexmora\" <admin@example.org>\r\n"
              "Subject: =?iso-8859-1?Q?Vexmora:=20drive=200=20needs=20attention?=\r\n"
              "Mime-Version: 1.0\r\n"
              "X-Mailer: MimeMail 1.10\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n"
              "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
              "Content-Disposition: inline\r\n"
              "Content-Length: 117\r\n"
              "Message-ID: <20261206110931.62A6551D.4A132196@192.168.1.20>\r\n"
              "\r\n"
              "Drive 0 WDC WD10EZEX-08WN4A0 reports attribute 194 Temperature at 55=B0=\r\n"
              "C, above the limit=20\r\n"
              "Check the cooling.\r\n");
}

// The settings dialog's test mail: base64 text, priority and date.
TEST_F(MimeMessage, TestMailWireText) {
    message_->SetTextEncoding(etBase64);
    message_->SetSubject("Vexmora test");
    message_->SetFrom("Vexmora", "vexmora@example.org");
    message_->To()->Clear();
    message_->To()->Add("Vexmora notif", "admin@example.org");
    message_->SetPriority(2);
    message_->SetTextPlain("Vexmora SMTP test");
    message_->SetDate(Date());
    message_->RebuildBody();
    message_->SetMessageId("192.168.1.20");
    EXPECT_EQ(message_->GetSource(),
              "Subject: =?iso-8859-1?Q?Vexmora=20test?=\r\n"
              "From: \"Vexmora\" <vexmora@example.org>\r\n"
              "To: =?iso-8859-1?Q?Vexmora=20notif?= <admin@example.org>\r\n"
              "X-Priority: 3\r\n"
              "Mime-Version: 1.0\r\n"
              "X-Mailer: MimeMail 1.10\r\n"
              "Content-Transfer-Encoding: base64\r\n"
              "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
              "Content-Disposition: inline\r\n"
              "Content-Length: 26\r\n"
              "Date: Sun, 06 Dec 2026 00:00:00 +0800\r\n"
              "Message-ID: <20261206110931.62A6551D.4A132196@192.168.1.20>\r\n"
              "\r\n"
              "VmV4bW9yYSBTTVRQIHRlc3Q=\r\n");
}

}  // namespace
