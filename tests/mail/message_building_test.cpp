#include "mail/mime_message.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/mail/mail_world.h"

namespace {

class MessageBuilding : public ::testing::Test {
protected:
    TFixedMailWorld world_;
    TOwned<TTestMessage> message_ = MakeOwned<TTestMessage>(nullptr);

    TMailPart* Child(TMailPart* part, int index) { return part->SubPartList()->GetItem(index); }
};

TEST_F(MessageBuilding, PlainAndHTMLMakeAnAlternativeRootWithPlainFirst) {
    message_->SetTextPlain("plain");
    message_->SetTextHTML("<p>html</p>");
    EXPECT_EQ(message_->GetContentType(), "multipart/alternative");
    EXPECT_EQ(message_->AlternativePart(), message_.get());
    EXPECT_EQ(message_->GetBoundary(), "boundary62A6551D_alternative");
    ASSERT_EQ(message_->SubPartList()->Count(), 2);
    EXPECT_EQ(Child(message_.get(), 0), message_->TextPlainPart());
    EXPECT_EQ(Child(message_.get(), 1), message_->TextHTMLPart());
    EXPECT_EQ(message_->TextPlainPart()->GetContentType(), "text/plain");
    EXPECT_EQ(message_->TextHTMLPart()->GetContentType(), "text/html");
    EXPECT_EQ(message_->TextPlainPart()->ParentBoundary(), "boundary62A6551D_alternative");
    EXPECT_FALSE(message_->LabelExists("Content-Transfer-Encoding"));
    // The HTML text goes after the plain one even when it comes first.
    TOwned<TTestMessage> reversed = MakeOwned<TTestMessage>(nullptr);
    reversed->SetTextHTML("<p>html</p>");
    reversed->SetTextPlain("plain");
    EXPECT_EQ(Child(reversed.get(), 0), reversed->TextPlainPart());
    EXPECT_EQ(Child(reversed.get(), 1), reversed->TextHTMLPart());
}

TEST_F(MessageBuilding, MultipartWireText) {
    message_->SetTextPlain("plain");
    message_->SetTextHTML("<p>html</p>");
    message_->RebuildBody();
    const std::string body =
        "This is a multipart message in mime format.\r\n"
        "\r\n--boundary62A6551D_alternative\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n"
        "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
        "Content-Disposition: inline\r\n"
        "Content-Length: 7\r\n"
        "\r\n"
        "plain\r\n"
        "\r\n--boundary62A6551D_alternative\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n"
        "Content-Type: text/html; charset=\"iso-8859-1\"\r\n"
        "Content-Disposition: inline\r\n"
        "Content-Length: 13\r\n"
        "\r\n"
        "<p>html</p>\r\n"
        "\r\n--boundary62A6551D_alternative--\r\n";
    EXPECT_EQ(BodyText(message_.get()), body);
    EXPECT_EQ(message_->GetSource(),
              "Mime-Version: 1.0\r\n"
              "X-Mailer: MimeMail 1.10\r\n"
              "Content-Type: multipart/alternative;\r\n"
              "\tboundary=\"boundary62A6551D_alternative\"\r\n"
              "Content-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n" + body);
}

TEST_F(MessageBuilding, TextAndAttachmentMakeAMixedRoot) {
    message_->SetTextPlain("see the log");
    TMailPart* log = message_->AddAttachment("vexmora.log", "line 1\r\nline 2\r\n", "text/plain");
    EXPECT_EQ(message_->GetContentType(), "multipart/mixed");
    EXPECT_EQ(message_->MixedPart(), message_.get());
    ASSERT_EQ(message_->SubPartList()->Count(), 2);
    EXPECT_EQ(Child(message_.get(), 0), message_->TextPlainPart());
    EXPECT_EQ(Child(message_.get(), 1), log);
    EXPECT_EQ(log->Header()->Text(),
              "Content-Transfer-Encoding: base64\r\n"
              "Content-Type: text/plain; name=\"vexmora.log\"\r\n"
              "Content-Disposition: attachment; filename=\"vexmora.log\"\r\n"
              "X-MimeMail-Attachment: \"vexmora.log\"; embedded=no\r\n");
    EXPECT_EQ(log->ParentBoundary(), "boundary62A6551D_mixed");
    EXPECT_EQ(message_->AttachList()->Count(), 1);
}

TEST_F(MessageBuilding, OneAttachmentAloneIsTheRoot) {
    message_->AddAttachment("", "\x01\x02\x03", "image/gif");
    EXPECT_EQ(message_->SubPartList()->Count(), 0);
    EXPECT_EQ(message_->MixedPart(), nullptr);
    EXPECT_EQ(message_->AttachList()->GetItem(0), message_.get());
    EXPECT_EQ(message_->GetLabelValue("Content-Transfer-Encoding"), "base64");
    // "_" needs an escape in a header word.
    EXPECT_EQ(message_->GetLabelParamValue("Content-Type", "name"), "=?iso-8859-1?Q?image=5Fgif.gif?=");
    EXPECT_EQ(message_->GetLabelParamValue("Content-Disposition", "filename"),
              "=?iso-8859-1?Q?image=5Fgif.gif?=");
    EXPECT_EQ(message_->GetAttachName(), "image_gif.gif");
    EXPECT_EQ(BodyText(message_.get()), "AQID\r\n");
    EXPECT_EQ(message_->ComponentCount(), 0);
}

TEST_F(MessageBuilding, AttachmentsWithoutANameAreNumbered) {
    message_->SetTextPlain("two files");
    TMailPart* typeless = message_->AddAttachment("", "a", "");
    EXPECT_EQ(typeless->GetContentType(), "application/octet-stream");
    EXPECT_EQ(typeless->GetAttachName(), "application_octet-stream");
    EXPECT_EQ(message_->AttachCounter(), 0);

    TMailPart* nameless = Create<TMailPart>(message_.get());
    nameless->Header()->SetText("Content-Type: ; charset=x\r\n");
    message_->AttachList()->Add(nameless);
    message_->Normalize(3);
    EXPECT_EQ(nameless->GetAttachName(), "file_0");
    EXPECT_EQ(message_->AttachCounter(), 1);
}

TEST_F(MessageBuilding, EmbeddedPartsGoIntoARelatedContainer) {
    message_->SetTextPlain("plain");
    message_->SetTextHTML("<img src=\"logo.gif\">");
    TMailPart* logo = message_->AddAttachment("logo.gif", "GIF89a", "image/gif", true);
    TMailPart* report = message_->AddAttachment("report.txt", "data", "text/plain");
    TMailPart* mixed = message_->MixedPart();
    TMailPart* related = message_->RelatedPart();
    TMailPart* alternative = message_->AlternativePart();
    ASSERT_EQ(mixed, message_.get());
    ASSERT_TRUE(related && alternative);
    EXPECT_EQ(related->ParentPart(), mixed);
    EXPECT_EQ(alternative->ParentPart(), related);
    EXPECT_EQ(related->GetContentType(), "multipart/related");
    ASSERT_EQ(mixed->SubPartList()->Count(), 2);
    EXPECT_EQ(Child(mixed, 0), related);
    EXPECT_EQ(Child(mixed, 1), report);
    ASSERT_EQ(related->SubPartList()->Count(), 2);
    EXPECT_EQ(Child(related, 0), alternative);
    EXPECT_EQ(Child(related, 1), logo);
    EXPECT_EQ(Child(alternative, 0), message_->TextPlainPart());
    EXPECT_EQ(Child(alternative, 1), message_->TextHTMLPart());
    EXPECT_EQ(logo->GetLabelValue("Content-Location"), "http://127.0.0.1/logo.gif");
    EXPECT_EQ(logo->GetLabelValue("Content-Disposition"), "inline");
    EXPECT_EQ(logo->GetLabelParamValue("X-MimeMail-Attachment", "embedded"), "yes");
    EXPECT_EQ(report->GetLabelValue("Content-Disposition"), "attachment");
    // Only the live tree is left: three containers' worth of old parts are gone.
    EXPECT_EQ(message_->ComponentCount(), 6);

    message_->SetEmbedMethod(emContentID);
    message_->AddAttachment("chart.png", "PNG", "image/png", true);
    EXPECT_EQ(message_->AttachList()->GetItem(2)->GetLabelValue("Content-ID"), "<chart.png>");
}

TEST_F(MessageBuilding, ContainersCloseWithTheirFirstChildsBoundary) {
    message_->SetTextPlain("plain");
    message_->SetTextHTML("<b>x</b>");
    message_->RebuildBody();
    // Normalising a built message drops the old body with the old root container.
    message_->AddAttachment("a.txt", "A", "text/plain");
    EXPECT_EQ(message_->ComponentCount(), 4);
    message_->RebuildBody();
    const std::string body = BodyText(message_.get());
    const std::string mixed = message_->GetBoundary();
    const std::string alternative = message_->AlternativePart()->GetBoundary();
    EXPECT_EQ(mixed.substr(16), "_mixed");
    EXPECT_EQ(alternative.substr(16), "_alternative");
    const size_t innerEnd = body.find("\r\n--" + alternative + "--\r\n");
    const size_t outerEnd = body.find("\r\n--" + mixed + "--\r\n");
    ASSERT_NE(innerEnd, std::string::npos);
    ASSERT_NE(outerEnd, std::string::npos);
    EXPECT_LT(innerEnd, body.find("\r\n--" + mixed + "\r\nContent-Transfer-Encoding: base64"));
    EXPECT_EQ(outerEnd + mixed.size() + 8, body.size());
    EXPECT_EQ(message_->GetLabelValue("Content-Length"), std::to_string(body.size()));
}

TEST_F(MessageBuilding, FindPartsRecoversTheTreeAfterARebuild) {
    message_->SetTextPlain("plain");
    message_->SetTextHTML("<p>html</p>");
    TMailPart* logo = message_->AddAttachment("logo.gif", "GIF89a", "image/gif", true);
    TMailPart* report = message_->AddAttachment("report.txt", "data", "text/plain");
    message_->RebuildBody();
    TMailPart* const plain = message_->TextPlainPart();
    TMailPart* const html = message_->TextHTMLPart();
    TMailPart* const related = message_->RelatedPart();
    TMailPart* const alternative = message_->AlternativePart();

    message_->RereadParts();
    EXPECT_FALSE(message_->NeedFindParts());
    EXPECT_EQ(message_->TextPlainPart(), plain);
    EXPECT_EQ(message_->TextHTMLPart(), html);
    EXPECT_EQ(message_->MixedPart(), message_.get());
    EXPECT_EQ(message_->RelatedPart(), related);
    EXPECT_EQ(message_->AlternativePart(), alternative);
    EXPECT_EQ(message_->TextPlain()->Text(), "plain\r\n");
    EXPECT_EQ(message_->TextHTML()->Text(), "<p>html</p>\r\n");
    ASSERT_EQ(message_->AttachList()->Count(), 2);
    EXPECT_EQ(message_->AttachList()->GetItem(0), logo);
    EXPECT_TRUE(logo->Embedded());
    EXPECT_EQ(message_->AttachList()->GetItem(1), report);
    EXPECT_FALSE(report->Embedded());
}

TEST_F(MessageBuilding, TextHeldByAnEmptyRootGetsAPartOfItsOwn) {
    message_->SetTextPlain("");
    EXPECT_EQ(message_->TextPlainPart(), message_.get());
    message_->SetTextHTML("<p>x</p>");
    ASSERT_NE(message_->TextPlainPart(), message_.get());
    EXPECT_EQ(message_->TextPlainPart()->ParentPart(), message_.get());
    EXPECT_EQ(message_->TextPlainPart()->GetContentType(), "text/plain");
    EXPECT_EQ(message_->GetContentType(), "multipart/alternative");
}

}  // namespace
