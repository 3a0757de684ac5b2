#include "mail/mail_part.h"

#include <gtest/gtest.h>

#include <string>

#include "classlib/core/exceptions.h"
#include "mail/mime_message.h"
#include "tests/mail/mail_world.h"

namespace {

class MailPart : public ::testing::Test {
protected:
    TFixedMailWorld world_;
    TOwned<TMailPart> part_ = MakeOwned<TMailPart>(nullptr);

    void SetHeader(const std::string& text) { part_->Header()->SetText(text); }
};

TEST_F(MailPart, LabelValuesLoseSurroundingQuotes) {
    SetHeader(
        "Subject: hello\r\nX-A: 'abc'\r\nX-B: ''\r\nX-C: \"q\"\r\ncontent-type: Text/HTML; "
        "Charset=\"utf-8\"\r\n"
        "Subject: second\r\n");
    EXPECT_EQ(part_->GetLabelValue("subject"), "hello");
    EXPECT_EQ(part_->GetLabelValue("X-A"), "abc");
    EXPECT_EQ(part_->GetLabelValue("X-B"), "''");
    EXPECT_EQ(part_->GetLabelValue("X-C"), "q");
    EXPECT_EQ(part_->GetLabelValue("Missing"), "");
    EXPECT_EQ(part_->GetLabelParamValue("Content-Type", "charset"), "utf-8");
    EXPECT_EQ(part_->GetContentType(), "text/html");
    EXPECT_TRUE(part_->LabelExists("X-B"));
    EXPECT_FALSE(part_->LabelExists("X"));
    EXPECT_TRUE(part_->LabelParamExists("Content-Type", "charset"));
    EXPECT_FALSE(part_->LabelParamExists("Content-Type", "name"));
}

TEST_F(MailPart, SetLabelChangesInPlaceAppendsOrDeletes) {
    SetHeader("A: 1\r\nB: 2\r\nA: 3\r\n");
    part_->SetLabelValue("B", "two");
    part_->SetLabelValue("C", "new");
    part_->SetLabelValue("A", "");
    part_->SetLabelParamValue("D", "p", "v");
    part_->SetLabelParamValue("C", "q", "\"w\"");
    EXPECT_EQ(part_->Header()->Text(), "B: two\r\nA: 3\r\nC: new; q=\"w\"\r\nD:; p=v\r\n");
    part_->SetLabelValue("Missing", "");
    EXPECT_EQ(part_->Header()->Count(), 4);
}

TEST_F(MailPart, LabelTextWithControlCharactersIsRefused) {
    SetHeader("Subject: x\r\n");
    for (const std::string& bad : std::initializer_list<std::string>{
             "a\r\nBcc: evil@example.org", "a\nb", "a\rb", std::string("a\0b", 3), "a\x7F"}) {
        EXPECT_THROW(part_->SetLabelValue("Subject", bad), Exception);
        EXPECT_THROW(part_->SetLabelParamValue("Content-Type", "name", bad), Exception);
        EXPECT_THROW(part_->SetLabelValue(bad, "x"), Exception);
    }
    EXPECT_EQ(part_->Header()->Text(), "Subject: x\r\n");
    part_->SetLabelValue("Subject", "a\tb");  // a TAB is a blank
    EXPECT_EQ(part_->GetLabelValue("Subject"), "a\tb");
}

TEST_F(MailPart, AttachNameFirstMatchWins) {
    struct {
        const char* Header;
        const char* Name;
    } const cases[] = {
        {"X-MimeMail-Attachment: \"a.txt\"\r\nContent-Type: text/plain; name=b.txt\r\n", "a.txt"},
        {"Content-Type: text/plain; name=\"b.txt\"\r\nContent-Disposition: inline; filename=c.txt\r\n",
         "b.txt"},
        {"Content-Disposition: attachment; filename=\"c.txt\"\r\n", "c.txt"},
        {"Content-ID: <logo>\r\n", "_logo_"},
        {"Content-Location: http://h/x.png\r\n", "http___h_x.png"},
        {"Content-Type: image/gif\r\n", "image_gif.gif"},
        {"", "unknown"},
        {"Content-Type: text/plain; name=\"=?iso-8859-1?Q?r=E9sum=E9?=\"\r\n", "r\xE9sum\xE9.txt"},
        {"Content-Type: application/x-none; name=report\r\n", "report"},
    };
    for (const auto& c : cases) {
        SetHeader(c.Header);
        EXPECT_EQ(part_->GetAttachName(), c.Name) << c.Header;
    }
}

TEST_F(MailPart, DecodeByTransferEncoding) {
    struct {
        const char* Encoding;
        std::string Body;
        std::string Decoded;
    } const cases[] = {
        {"quoted-printable", "caf=E9 =\r\nau lait\r\n", "caf\xE9 au lait\r\n"},
        {"Base64", "YWJj\r\n  ZGVm  \r\nZw==\r\n", "abcdefg"},
        {"7bit", "as =3D is\r\n", "as =3D is\r\n"},
        {"x-uuencode", "begin 644 cat.txt\r\n#0V%T\r\n`\r\nend\r\n", "Cat"},
    };
    for (const auto& c : cases) {
        TOwned<TMailPart> part = MakeOwned<TMailPart>(nullptr);
        part->SetLabelValue("Content-Transfer-Encoding", c.Encoding);
        TMailPart::SetStreamBytes(part->Body(), c.Body);
        EXPECT_TRUE(part->Decode());
        EXPECT_TRUE(part->IsDecoded());
        EXPECT_EQ(DecodedText(part.get()), c.Decoded) << c.Encoding;
    }
}

TEST_F(MailPart, UUPartLeavesDecodingAsBase64) {
    part_->SetLabelValue("Content-Transfer-Encoding", "uucode");
    TMailPart::SetStreamBytes(part_->Body(), "begin 644 cat.txt\r\n#0V%T\r\nend\r\n");
    part_->Decode();
    EXPECT_EQ(part_->GetLabelValue("Content-Transfer-Encoding"), "base64");
    EXPECT_EQ(BodyText(part_.get()), "Q2F0\r\n");
}

TEST_F(MailPart, DecodeRunsOnceAndKeepsDecodedForAnEmptyBody) {
    TMailPart::SetStreamBytes(part_->Decoded(), "kept");
    part_->Decode();
    EXPECT_EQ(DecodedText(part_.get()), "kept");
    TMailPart::SetStreamBytes(part_->Body(), "new");
    part_->Decode();
    EXPECT_EQ(DecodedText(part_.get()), "kept");
}

TEST_F(MailPart, EncodeSetsBodyAndTransferEncoding) {
    TMailPart::SetStreamBytes(part_->Decoded(), "a=b");
    part_->Encode(etQuotedPrintable);
    EXPECT_EQ(BodyText(part_.get()), "a=3Db\r\n");
    EXPECT_EQ(part_->GetLabelValue("Content-Transfer-Encoding"), "quoted-printable");
    part_->Encode(etBase64);
    EXPECT_EQ(BodyText(part_.get()), "YT1i\r\n");
    EXPECT_EQ(part_->GetLabelValue("Content-Transfer-Encoding"), "base64");
    part_->Encode(etNoEncoding);
    EXPECT_EQ(BodyText(part_.get()), "a=b");
    EXPECT_FALSE(part_->LabelExists("Content-Transfer-Encoding"));
    part_->Decoded()->Clear();
    part_->Encode(etQuotedPrintable);
    EXPECT_EQ(BodyText(part_.get()), "");
    EXPECT_EQ(part_->GetLabelValue("Content-Transfer-Encoding"), "quoted-printable");
}

TEST_F(MailPart, SourceIsFoldedHeaderBlankLineAndBody) {
    SetHeader("Subject: " + std::string(60, 'a') + " bbbbbbbbbb\r\nX: y\r\n");
    TMailPart::SetStreamBytes(part_->Body(), "body\r\n");
    EXPECT_EQ(part_->GetSource(),
              "Subject: " + std::string(60, 'a') + "\r\n\tbbbbbbbbbb\r\nX: y\r\n\r\nbody\r\n");
}

TEST_F(MailPart, RemoveTakesThePartOutOfItsParent) {
    TOwned<TMimeMessage> message = MakeOwned<TMimeMessage>(nullptr);
    TMailPart* child = Create<TMailPart>(message.get());
    child->SetParentPart(message.get());
    message->SubPartList()->Add(child);
    child->Remove();
    EXPECT_EQ(message->SubPartList()->Count(), 0);
    EXPECT_EQ(child->ParentPart(), nullptr);

    // A message is never taken out of anything.
    message->SetParentPart(child);
    message->Remove();
    EXPECT_EQ(message->ParentPart(), child);
    message->SetParentPart(nullptr);
}

TEST_F(MailPart, FreedPartLeavesNoPointerBehind) {
    TOwned<TMimeMessage> message = MakeOwned<TMimeMessage>(nullptr);
    TMailPart* child = Create<TMailPart>(message.get());
    TMailPart* grandchild = Create<TMailPart>(message.get());
    child->SetParentPart(message.get());
    message->SubPartList()->Add(child);
    grandchild->SetParentPart(child);
    child->SubPartList()->Add(grandchild);
    message->AttachList()->Add(grandchild);
    child->Free();  // takes its children along
    EXPECT_EQ(message->SubPartList()->Count(), 0);
    EXPECT_EQ(message->AttachList()->Count(), 0);
    EXPECT_EQ(message->ComponentCount(), 0);
}

}  // namespace
