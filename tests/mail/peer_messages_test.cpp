// Writes messages for the peer check: each <name>.eml is the wire text our
// code sends, each <name>.json what an independent parser must read back
// from it (tests/mail/peer_parse.py). Runs only when VEXMORA_EML_DIR names
// the folder (the build registers it that way).
#include "mail/mime_message.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "classlib/core/files.h"
#include "classlib/core/streams.h"
#include "classlib/core/text.h"
#include "tests/mail/mail_world.h"

namespace {

// Bytes as JSON text, each byte one code point (the texts are Latin-1).
std::string JsonString(const std::string& bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (code < 0x20 || code >= 0x7F)
            out += "\\u00" + IntToHex(code, 2);
        else
            out += c;
    }
    return out + "\"";
}

struct TExpected {
    std::string Subject;
    std::pair<std::string, std::string> From;
    std::vector<std::pair<std::string, std::string>> To;
    std::string Plain;
    std::string HTML;
    std::vector<std::pair<std::string, std::string>> Attachments;
    // The texts above are bytes in this character set.
    std::string Charset = "iso-8859-1";

    std::string Json() const {
        auto pair = [](const std::pair<std::string, std::string>& p) {
            return "[" + JsonString(p.first) + ", " + JsonString(p.second) + "]";
        };
        auto list = [&](const std::vector<std::pair<std::string, std::string>>& items) {
            std::string out = "[";
            for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + pair(items[i]);
            return out + "]";
        };
        return "{\"subject\": " + JsonString(Subject) + ",\n \"from\": " + pair(From) +
               ",\n \"to\": " + list(To) + ",\n \"plain\": " + JsonString(Plain) +
               ",\n \"html\": " + JsonString(HTML) + ",\n \"attachments\": " + list(Attachments) +
               ",\n \"charset\": " + JsonString(Charset) + "}\n";
    }
};

class PeerMessages : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = GetEnvironmentValue("VEXMORA_EML_DIR");
        if (folder_.empty()) {
            GTEST_SKIP() << "VEXMORA_EML_DIR is not set";
        }
        if (folder_[0] == '/') folder_ = "Z:" + StringReplace(folder_, "/", "\\", {rfReplaceAll});
        if (!DirectoryExists(folder_)) {
            ASSERT_TRUE(CreateDir(folder_));
        }
    }

    void Write(const std::string& name, TMimeMessage* message, const TExpected& expected) {
        ASSERT_FALSE(message->NeedRebuild());
        message->SetMessageId("192.168.1.20");
        Save(name + ".eml", message->GetSource());
        Save(name + ".json", expected.Json());
    }

    // Display names that need encoding, quoting, both or neither, each short
    // enough for one encoded word.
    void WriteNames(const std::string& charset, const std::string& from,
                    const std::vector<std::pair<std::string, std::string>>& to) {
        TOwned<TMimeMessage> message = MakeOwned<TMimeMessage>(nullptr);
        message->SetCharset(charset);
        message->SetFrom(from, "vexmora@example.org");
        message->To()->Clear();
        for (const auto& [name, address] : to) message->To()->Add(name, address);
        message->SetSubject("Names");
        message->SetTextPlain("Names\r\n");
        message->RebuildBody();
        TExpected expected{"Names", {from, "vexmora@example.org"}, to, "Names\r\n", "", {}};
        expected.Charset = charset;
        Write("names-" + charset, message.get(), expected);
    }

    void Save(const std::string& fileName, const std::string& text) {
        TOwned<TFileStream> file =
            MakeOwned<TFileStream>(IncludeTrailingPathDelimiter(folder_) + fileName, fmCreate);
        file->WriteBuffer(text.data(), static_cast<int>(text.size()));
    }

    TFixedMailWorld world_;
    std::string folder_;
};

// A sample text of the given number of characters: letters, blanks,
// specials and accented letters, in Latin-1 or UTF-8.
std::string SampleText(size_t characters, bool utf8) {
    static const char* const kLatin1[] = {"D", "r", "i", "v", "e", " ", "\xE9", "\xFC", ",", "?", "_", "="};
    static const char* const kUtf8[] = {
        "D", "r", "i", "v", "e", " ", "\xC3\xA9", "\xE2\x82\xAC", ",", "?", "_", "\xF0\x9F\x92\xBE"};
    std::string text;
    for (size_t i = 0; i < characters; ++i) text += (utf8 ? kUtf8 : kLatin1)[(i * 5 + i / 12) % 12];
    return text;
}

TEST_F(PeerMessages, AlertMail) {
    TOwned<TMimeMessage> message = MakeOwned<TMimeMessage>(nullptr);
    const std::string body =
        "Drive 0 WDC WD10EZEX-08WN4A0 reports attribute 194 Temperature at 55\xB0"
        "C, above the limit \r\n"
        "\tCheck the cooling, = and ? included.   ";
    message->SetFrom("Vexmora", "vexmora@example.org");
    message->To()->Clear();
    message->To()->Add("Vexmora", "admin@example.org");
    message->SetSubject(
        "Vexmora: drive 0 needs attention (55\xB0"
        "C)");
    message->SetTextPlain(body);
    message->RebuildBody();
    Write("alert", message.get(),
          {"Vexmora: drive 0 needs attention (55\xB0"
           "C)",
           {"Vexmora", "vexmora@example.org"},
           {{"Vexmora", "admin@example.org"}},
           body + "\r\n",
           "",
           {}});
}

TEST_F(PeerMessages, TestMail) {
    TOwned<TMimeMessage> message = MakeOwned<TMimeMessage>(nullptr);
    message->SetTextEncoding(etBase64);
    message->SetSubject("Vexmora test");
    message->SetFrom("Vexmora", "vexmora@example.org");
    message->To()->Clear();
    message->To()->Add("Vexmora notif", "admin@example.org");
    message->SetPriority(2);
    message->SetTextPlain("Vexmora SMTP test");
    message->SetDate(Date());
    message->RebuildBody();
    Write("testmail", message.get(),
          {"Vexmora test",
           {"Vexmora", "vexmora@example.org"},
           {{"Vexmora notif", "admin@example.org"}},
           "Vexmora SMTP test",
           "",
           {}});
}

TEST_F(PeerMessages, MultipartMail) {
    TOwned<TTestMessage> message = MakeOwned<TTestMessage>(nullptr);
    std::string binary;
    for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
    const std::string plain = "Temperatures of every drive are attached.\r\nR\xE9sum\xE9: all fine.\r\n";
    const std::string html = "<p>Temperatures of every drive are attached.</p><img src=\"logo.gif\">\r\n";
    message->SetFrom("Jos\xE9 Vexmora", "vexmora@example.org");
    message->To()->Clear();
    message->To()->Add("Admin One", "one@example.org");
    message->To()->Add("", "two@example.org");
    message->SetSubject("Weekly report, drives 0-3");
    message->SetTextPlain(plain);
    message->SetTextHTML(html);
    message->AddAttachment("logo.gif", "GIF89a", "image/gif", true);
    message->AddAttachment("report.txt", "drive 0: 41 C\r\ndrive 1: 39 C\r\n", "text/plain");
    message->AddAttachment("data.bin", binary, "application/octet-stream");
    message->RebuildBody();
    Write("multipart", message.get(),
          {"Weekly report, drives 0-3",
           {"Jos\xE9 Vexmora", "vexmora@example.org"},
           {{"Admin One", "one@example.org"}, {"", "two@example.org"}},
           plain,
           html,
           {{"report.txt", "drive 0: 41 C\r\ndrive 1: 39 C\r\n"}, {"data.bin", binary}}});
}

TEST_F(PeerMessages, DisplayNames) {
    WriteNames("iso-8859-1", "M\xFCller, J\xF6rg (IT)",
               {{"[Vexmora]", "a@example.org"},
                {"Jos\xE9", "b@example.org"},
                {"J.Smith", "c@example.org"},
                {"Ops \"night\" <shift>", "d@example.org"}});
    WriteNames("utf-8", "J\xC3\xB6rg M\xC3\xBCller (\xC3\x9C)",
               {{"\xC5\x81ukasz \xC5\xBB\xC3\xB3\xC5\x82\xC4\x87, Ops", "a@example.org"},
                {"[Vexmora]", "b@example.org"},
                {"\xE6\x97\xA5\xE6\x9C\xAC", "c@example.org"}});
}

// Long subjects go as several short encoded words on folded lines.
TEST_F(PeerMessages, LongSubjects) {
    for (const bool utf8 : {false, true}) {
        for (const size_t characters : {62u, 200u, 1100u}) {
            const std::string charset = utf8 ? "utf-8" : "iso-8859-1";
            const std::string subject = SampleText(characters, utf8);
            TOwned<TMimeMessage> message = MakeOwned<TMimeMessage>(nullptr);
            message->SetCharset(charset);
            message->SetFrom("Vexmora", "vexmora@example.org");
            message->To()->Add("", "admin@example.org");
            message->SetSubject(subject);
            message->SetTextPlain("Long subject\r\n");
            message->RebuildBody();
            TExpected expected{subject,
                               {"Vexmora", "vexmora@example.org"},
                               {{"", "admin@example.org"}},
                               "Long subject\r\n",
                               "",
                               {}};
            expected.Charset = charset;
            Write("subject-" + charset + "-" + std::to_string(characters), message.get(), expected);
        }
    }
}

}  // namespace
