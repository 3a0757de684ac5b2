// The e-mail settings dialog: what OK checks and saves, in its order; the
// password replaced only when typed; letters of any script typed into the
// fields, the port refusing them; fields read again at every showing; the
// modal answers; and the test mail sent from a worker.
#include "app/password_scrambler.h"
#include "app/settings.h"
#include "app/smtp_settings.h"
#include "app/smtpform.h"
#include "classlib/core/text.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "classlib/windows/dispatcher.h"
#include "mail/mime_codecs.h"
#include "mail/smtp_mailer.h"
#include "tests/app/received_mail.h"
#include "tests/app/stored_settings.h"
#include "tests/app/watch_support.h"
#include "tests/mail/smtp_script_server.h"
#include "tests/support/code_page.h"
#include "tests/support/pump.h"

namespace {

TSmtpFields Filled() {
    TSmtpFields fields;
    fields.UsePassword = true;
    fields.UserName = "alice";
    fields.Password = "s3cret";
    fields.PasswordEdited = true;
    fields.Server = "mail.example.com";
    fields.Subject = L"Disk news";
    fields.Port = "587";
    fields.From = L"monitor@example.com";
    fields.To = L"admin@example.com";
    return fields;
}

// Typed as a person types, so the edit itself reports the change.
void Type(TEdit* Edit, const std::wstring& Text) {
    for (wchar_t c : Text) SendMessageW(Edit->Handle(), WM_CHAR, c, 0);
}

// As a paste puts it in: the edit's whole text replaced by wide text.
void Paste(TEdit* Edit, const std::wstring& Text) {
    SendMessageW(Edit->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(Edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text.c_str()));
}

std::string StoredPassword() {
    std::string password;
    UnscrambleString(ReadSettingString("Password"), password);
    return password;
}

}  // namespace

TEST(SmtpFields, MissingFieldsAreNamedInOrderAndTheRestIsSaved) {
    const struct {
        const char* What;
        void (*Change)(TSmtpFields&);
        std::vector<std::string> Messages;
    } cases[] = {
        {"all filled", [](TSmtpFields&) {}, {}},
        {"no user name", [](TSmtpFields& f) { f.UserName.clear(); }, {"You must be to fill Username"}},
        {"emptied password", [](TSmtpFields& f) { f.Password.clear(); }, {"You must be to fill Password"}},
        {"port 0", [](TSmtpFields& f) { f.Port = "0"; }, {"You must be to fill Port"}},
        {"ten-digit port", [](TSmtpFields& f) { f.Port = "4294967321"; }, {"You must be to fill Port"}},
        {"port 65536", [](TSmtpFields& f) { f.Port = "65536"; }, {"You must be to fill Port"}},
        {"no port", [](TSmtpFields& f) { f.Port.clear(); }, {"You must be to fill Port"}},
        {"nothing but the login",
         [](TSmtpFields& f) {
             f.Server = "";
             f.Subject = f.From = f.To = L"";
         },
         {"You must be to fill SMTPServer", "You must be to fill Subject", "You must be to fill table",
          "You must be to fill table"}},
    };
    for (const auto& c : cases) {
        TRegistryRedirect privateRoot;
        WriteSettingInteger("Port", 2525);
        TSmtpFields fields = Filled();
        c.Change(fields);
        EXPECT_EQ(SaveSmtpFields(fields), c.Messages) << c.What;
        // What was filled in is stored whatever else was missing.
        EXPECT_EQ(ReadSettingString("SMTPServer"), fields.Server) << c.What;
        EXPECT_EQ(ReadSettingWideString("Subject"), fields.Subject) << c.What;
        EXPECT_EQ(ReadSettingInteger("Port"), ParsePort(fields.Port) ? ParsePort(fields.Port) : 2525)
            << c.What;
        EXPECT_EQ(ToWide(ReadSettingString("ToMail")), fields.To) << c.What;
        EXPECT_EQ(ReadSettingString("Username"), fields.UserName) << c.What;
        EXPECT_EQ(StoredPassword(), fields.Password) << c.What;
        EXPECT_TRUE(ReadSettingBool("usepassword")) << c.What;
    }
}

TEST(SmtpFields, AddressesAreStoredAndReadBackWithoutTheBlanksAroundThem) {
    TRegistryRedirect privateRoot;
    TSmtpFields fields = Filled();
    fields.From = L" monitor@example.org  ";
    fields.To = L"\tadmin@example.net \r\n";
    EXPECT_TRUE(SaveSmtpFields(fields).empty());
    EXPECT_EQ(ReadSettingString("FromMail"), "monitor@example.org");
    EXPECT_EQ(ReadSettingString("ToMail"), "admin@example.net");
    // As an earlier version stored a paste.
    WriteSettingString("FromMail", "  a@example.org ");
    EXPECT_EQ(LoadSmtpFields().From, L"a@example.org");
    // Nothing but blanks is nothing.
    fields.To = L"   ";
    EXPECT_EQ(SaveSmtpFields(fields), std::vector<std::string>{"You must be to fill table"});

    // A paste from a web page brings the no-break space along.
    fields.From = L"\u00A0monitor@example.com\u00A0";
    fields.To = L"admin@example.com\u00A0";
    EXPECT_TRUE(SaveSmtpFields(fields).empty());
    EXPECT_EQ(ReadSettingString("FromMail"), "monitor@example.com");
    EXPECT_EQ(ReadSettingString("ToMail"), "admin@example.com");
    // One that cannot go out is not stored, and the message says why.
    fields.From = L"mon\u00A0itor@example.org";
    fields.To = L"ad min@example.net";
    EXPECT_EQ(SaveSmtpFields(fields),
              (std::vector<std::string>{"The sender address was not saved.\nInvalid mail address "
                                        "\"mon\\u00A0itor@example.org\": it holds a character outside ASCII",
                                        "The recipient address was not saved.\nInvalid mail address "
                                        "\"ad min@example.net\": it holds a blank"}));
    EXPECT_EQ(ReadSettingString("FromMail"), "monitor@example.com");
    EXPECT_EQ(ReadSettingString("ToMail"), "admin@example.com");
}

TEST(SmtpFields, AnUntouchedPasswordEditNeverReplacesTheStoredOne) {
    TRegistryRedirect privateRoot;
    TSmtpFields fields = Filled();
    fields.PasswordEdited = false;
    fields.Password = PasswordPlaceholder;
    // Nothing stored yet: the password is missing.
    EXPECT_EQ(SaveSmtpFields(fields), (std::vector<std::string>{"You must be to fill Password"}));
    EXPECT_FALSE(SettingExists("Password"));
    fields.PasswordEdited = true;
    fields.Password = "s3cret";
    EXPECT_TRUE(SaveSmtpFields(fields).empty());
    for (const char* shown : {PasswordPlaceholder, "118213009250118247"}) {
        fields.PasswordEdited = false;
        fields.Password = shown;
        EXPECT_TRUE(SaveSmtpFields(fields).empty());
        EXPECT_EQ(StoredPassword(), "s3cret");
    }
    // Without the tick neither is touched.
    fields.UsePassword = false;
    fields.UserName.clear();
    EXPECT_TRUE(SaveSmtpFields(fields).empty());
    EXPECT_EQ(ReadSettingString("Username"), "alice");
    EXPECT_FALSE(ReadSettingBool("usepassword"));
}

TEST_F(WatchTest, TwoOKsInARowKeepTheTypedPassword) {
    StartStill("");
    Smtp->chkPassword->SetChecked(true);
    Smtp->EdtUsername->SetText("alice");
    Smtp->edtSMTPServer->SetText("mail.example.com");
    Smtp->edtSubject->SetText("Disk news");
    Smtp->EdtFrom->SetText("monitor@example.com");
    Smtp->EdtSender->SetText("admin@example.com");
    EXPECT_EQ(Smtp->EdtPassword->Text(), "press to enter password");
    Smtp->EdtPasswordClick(nullptr);
    EXPECT_EQ(Smtp->EdtPassword->PasswordChar(), '*');
    Smtp->EdtPassword->SetText("");
    Type(Smtp->EdtPassword, L"s3cret");
    Smtp->BtnOKClick(nullptr);
    // The edit shows the scrambled digits now; a second OK must not store them.
    EXPECT_NE(Smtp->EdtPassword->Text(), "s3cret");
    Smtp->BtnOKClick(nullptr);
    EXPECT_EQ(StoredPassword(), "s3cret");
    EXPECT_TRUE(boxes.Texts().empty());

    // Clicking the edit shows the stored password to change it.
    Smtp->EdtPasswordClick(nullptr);
    EXPECT_EQ(Smtp->EdtPassword->Text(), "s3cret");
}

TEST_F(WatchTest, APasswordTypedAfterTabbingInIsMaskedAndThePlaceholderNeverStored) {
    StartStill("");
    std::string stored;
    ScrambleString("old-word", stored);
    WriteSettingString("Password", stored);
    Smtp->FormShow(nullptr);
    Smtp->chkPassword->SetChecked(true);
    Smtp->EdtUsername->SetText("alice");
    EXPECT_EQ(Smtp->EdtPassword->Text(), "press to enter password");
    // Untouched, the stored password stays.
    Smtp->BtnOKClick(nullptr);
    EXPECT_EQ(StoredPassword(), "old-word");

    Smtp->Show();
    SetForegroundWindow(Smtp->Handle());
    Smtp->EdtUsername->SetFocus();
    Application->ProcessMessages();
    PostMessageW(Smtp->EdtUsername->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    ASSERT_EQ(Smtp->ActiveControl(), Smtp->EdtPassword);
    EXPECT_EQ(Smtp->EdtPassword->Text(), "");
    EXPECT_EQ(Smtp->EdtPassword->PasswordChar(), '*');
    Type(Smtp->EdtPassword, L"s3cret");
    EXPECT_EQ(Smtp->EdtPassword->Text(), "s3cret");
    EXPECT_EQ(Smtp->EdtPassword->PasswordChar(), '*');

    // Shown again while the edit keeps the focus: the first key clears it.
    Smtp->FormShow(nullptr);
    EXPECT_EQ(Smtp->EdtPassword->Text(), "press to enter password");
    Type(Smtp->EdtPassword, L"new");
    EXPECT_EQ(Smtp->EdtPassword->Text(), "new");
    EXPECT_EQ(Smtp->EdtPassword->PasswordChar(), '*');
    Smtp->BtnOKClick(nullptr);
    EXPECT_EQ(StoredPassword(), "new");
    for (const std::string& text : boxes.Texts()) EXPECT_NE(text, "You must be to fill Password");
}

TEST_F(WatchTest, LettersOfAnyScriptStandAsTypedInSubjectAndToAndThePortRefusesThem) {
    ExpectTheRunsCodePage();
    StartStill("");
    // Letters of two bytes in 932 and 936, the ideographic space, and one
    // that 932 lacks.
    const std::wstring letters = L"\u4EF6\u540D\u30C6\u30B9\u30C8\u3000\u00FC";
    for (TEdit* edit : {Smtp->edtSubject, Smtp->EdtSender}) {
        edit->SetText("");
        Type(edit, L"A" + letters + L"B");
        EXPECT_EQ(edit->GetWideText(), L"A" + letters + L"B") << edit->Name();
    }
    Smtp->edtPort->SetText("");
    Type(Smtp->edtPort, L"5" + letters + L"87");
    EXPECT_EQ(Smtp->edtPort->GetWideText(), L"587");
}

TEST_F(WatchTest, OKStoresAPastedAddressBareAndSaysWhyOneCannotGoOut) {
    WriteSettingString("ToMail", "old@example.com");
    StartStill("");
    Smtp->edtSMTPServer->SetText("mail.example.com");
    Smtp->edtSubject->SetText("Disk news");
    Smtp->EdtFrom->SetText("monitor@example.com");
    // As a paste from a web page leaves it.
    Smtp->EdtSender->SetWideText(L"admin@example.net\u00A0");
    Smtp->BtnOKClick(nullptr);
    EXPECT_EQ(ReadSettingString("ToMail"), "admin@example.net");
    EXPECT_TRUE(boxes.Texts().empty());

    Smtp->EdtSender->SetText("ad min@example.net");
    Smtp->BtnOKClick(nullptr);
    EXPECT_EQ(ReadSettingString("ToMail"), "admin@example.net");
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"The recipient address was not saved.\nInvalid mail "
                                                       "address \"ad min@example.net\": it holds a blank"}));
}

TEST_F(WatchTest, PastedAddressesAreJudgedAsTypedAtOKAndAtTest) {
    ExpectTheRunsCodePage();
    WriteSettingString("FromMail", "old-from@example.com");
    WriteSettingString("ToMail", "old-to@example.com");
    StartStill("");
    Smtp->edtSMTPServer->SetText("127.0.0.1");
    Smtp->edtPort->SetText(std::to_string(TScriptServer::ClosedPort()));
    Smtp->edtSubject->SetText("Disk news");
    const struct {
        const wchar_t* Typed;
        // Stored when it can go, else refused with this shown.
        const char* Bare;
        const char* Shown;
    } cases[] = {
        {L"admin@example.net\u00A0", "admin@example.net", nullptr},
        {L"\u3000admin@example.net\u200B", "admin@example.net", nullptr},
        {L"\uFEFFadmin@example.net\u202F\u205F\u2003", "admin@example.net", nullptr},
        {L"mon\u00A0itor@example.com", nullptr, "mon\\u00A0itor@example.com"},
        {L"admin@example.net\u200Bx", nullptr, "admin@example.net\\u200Bx"},
        {L"\u7BA1\u7406@example.jp", nullptr, nullptr},
    };
    const struct {
        TEdit* Edit;
        TEdit* Other;
        const char* Value;
        const char* Role;
    } fields[] = {{Smtp->EdtFrom, Smtp->EdtSender, "FromMail", "sender"},
                  {Smtp->EdtSender, Smtp->EdtFrom, "ToMail", "recipient"}};
    auto newBoxes = [this](std::size_t Before) {
        const std::vector<std::string> texts = boxes.Texts();
        return std::vector<std::string>(texts.begin() + static_cast<std::ptrdiff_t>(Before), texts.end());
    };
    for (const auto& f : fields)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(f.Role) + " " + ToAnsi(c.Typed));
            const std::string before = ReadSettingString(f.Value);
            Paste(f.Other, L"other@example.com");
            Paste(f.Edit, c.Typed);
            std::size_t asked = boxes.Texts().size();
            Smtp->BtnOKClick(nullptr);
            const std::vector<std::string> atOK = newBoxes(asked);
            if (c.Bare) {
                EXPECT_EQ(ReadSettingString(f.Value), c.Bare);
                EXPECT_TRUE(atOK.empty()) << atOK.front();
                continue;
            }
            // Nothing stored, and the box names the address as typed.
            EXPECT_EQ(ReadSettingString(f.Value), before);
            ASSERT_EQ(atOK.size(), 1u);
            const std::string why = atOK[0].substr(atOK[0].find('\n') + 1);
            EXPECT_EQ(atOK[0], "The " + std::string(f.Role) + " address was not saved.\n" + why);
            if (c.Shown) {
                EXPECT_EQ(why, "Invalid mail address \"" + std::string(c.Shown) +
                                   "\": it holds a character outside ASCII");
            }
            EXPECT_TRUE(why.ends_with(": it holds a character outside ASCII")) << why;
            EXPECT_EQ(why.find('?'), std::string::npos) << why;

            // The test mail refuses it before any connection, saying the same.
            asked = boxes.Texts().size();
            Smtp->btnTestClick(nullptr);
            ASSERT_TRUE(
                PumpUntil([] { return !Smtp->Testing() && Smtp->MessageBoxes()->Pending() == 0; }, 20000));
            EXPECT_EQ(newBoxes(asked), std::vector<std::string>{"Can not Send mail\n" + why});
        }

    // The bare address is the one that goes.
    TScriptServer server({Send("220 ready\r\n"), ReadLine(), Send("250 hello\r\n"), ReadLine(),
                          Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("354 go\r\n"),
                          ReadData(), Send("250 queued\r\n"), ReadLine(), Send("221 bye\r\n")});
    Smtp->edtPort->SetText(std::to_string(server.Port()));
    Paste(Smtp->EdtFrom, L"\u00A0monitor@example.com\uFEFF");
    Paste(Smtp->EdtSender, L"admin@example.net\u3000");
    const std::size_t asked = boxes.Texts().size();
    Smtp->btnTestClick(nullptr);
    ASSERT_TRUE(PumpUntil([] { return !Smtp->Testing() && Smtp->MessageBoxes()->Pending() == 0; }, 20000));
    // Before the join: a refused address leaves the server waiting for a
    // client that never comes.
    ASSERT_EQ(newBoxes(asked),
              (std::vector<std::string>{"OK", "220 ready\r\n250 hello\r\n", "250 queued\r\n"}));
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(received[1], "MAIL FROM:<monitor@example.com>");
    EXPECT_EQ(received[2], "RCPT TO:<admin@example.net>");
}

TEST_F(WatchTest, AnAddressStoredInLettersOutsideTheCodePageIsRefusedAsTyped) {
    ExpectTheRunsCodePage();
    // Thai, which none of the code pages the tests run under holds, as a
    // registry editor or a later version may store it.
    const std::wstring stored = L"\u0E17\u0E14\u0E2A\u0E2D\u0E1A@example.com";
    ASSERT_NE(ToWide(ToAnsi(stored)), stored);
    WriteSettingString("FromMail", "monitor@example.com");
    WriteSettingWideString("ToMail", stored);
    StartStill("");
    EXPECT_EQ(Smtp->EdtSender->GetWideText(), stored);
    Smtp->edtSMTPServer->SetText("mail.example.com");
    Smtp->edtSubject->SetText("Disk news");
    // Never a "?" for each letter, stored and mailed.
    Smtp->BtnOKClick(nullptr);
    EXPECT_EQ(ReadSettingWideString("ToMail"), stored);
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::string>{"The recipient address was not saved.\nInvalid mail address "
                                        "\"\\u0E17\\u0E14\\u0E2A\\u0E2D\\u0E1A@example.com\": it holds a "
                                        "character outside ASCII"}));
}

TEST_F(WatchTest, ASubjectAsTypedArrivesAsWrittenAndStaysStored) {
    ExpectTheRunsCodePage();
    StartStill("");
    Smtp->edtSMTPServer->SetText("127.0.0.1");
    Smtp->EdtFrom->SetText("monitor@example.com");
    Smtp->EdtSender->SetText("admin@example.com");
    const struct {
        std::wstring Subject;
        const char* Charset;
        const char* Header = nullptr;
    } cases[] = {
        // Latin-1 goes as it always went, whatever the code page.
        {L"Gr\u00FC\u00DFe", "iso-8859-1", "=?iso-8859-1?Q?Gr=FC=DFe?="},
        {L"\u4EF6\u540D\u30C6\u30B9\u30C8", "utf-8"},
        // The euro sign is a byte of code page 1252 but no Latin-1 character.
        {L"\u20AC 5", "utf-8"},
        // Long enough to fold into several words, each ending between characters.
        {L"\u4E3B\u9898\u6D4B\u8BD5 " + std::wstring(30, L'\u6D4B') + L" \U0001F600", "utf-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.Subject));
        TScriptServer server({Send("220 ready\r\n"), ReadLine(), Send("250 hello\r\n"), ReadLine(),
                              Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(),
                              Send("354 go\r\n"), ReadData(), Send("250 queued\r\n"), ReadLine(),
                              Send("221 bye\r\n")});
        Smtp->edtPort->SetText(std::to_string(server.Port()));
        Paste(Smtp->edtSubject, c.Subject);
        const std::size_t asked = boxes.Texts().size();
        Smtp->btnTestClick(nullptr);
        ASSERT_TRUE(
            PumpUntil([] { return !Smtp->Testing() && Smtp->MessageBoxes()->Pending() == 0; }, 20000));
        // Before the join: a mail that never connected leaves the server waiting.
        ASSERT_EQ(boxes.Texts().size(), asked + 3) << (boxes.Texts().empty() ? "" : boxes.Texts().back());
        server.Join();
        const std::vector<std::string> received = server.Received();
        ASSERT_EQ(received.size(), 6u);
        const std::string subject = ReceivedHeader(received[4], "Subject");
        EXPECT_EQ(ReadHeaderIn(subject, c.Charset), c.Subject) << subject;
        if (c.Header) {
            EXPECT_EQ(subject, c.Header);
        }
        EXPECT_EQ(ReceivedCharset(received[4]), c.Charset);
    }

    // OK keeps it as written for the next showing.
    Smtp->BtnOKClick(nullptr);
    Smtp->edtSubject->SetText("");
    Smtp->FormShow(nullptr);
    EXPECT_EQ(Smtp->edtSubject->GetWideText(), cases[3].Subject);
}

TEST_F(WatchTest, ACancelledEditIsGoneAtTheNextShowing) {
    WriteSettingString("SMTPServer", "mail.example.com");
    StartStill("");
    EXPECT_EQ(Smtp->edtSMTPServer->Text(), "mail.example.com");
    EXPECT_EQ(Smtp->edtPort->Text(), "25");
    Smtp->edtSMTPServer->SetText("typo.example.com");
    Smtp->BtnCancelClick(nullptr);
    Smtp->FormShow(nullptr);
    EXPECT_EQ(Smtp->edtSMTPServer->Text(), "mail.example.com");
    EXPECT_EQ(ReadSettingString("SMTPServer"), "mail.example.com");
}

TEST_F(WatchTest, TheTestMailGoesFromAWorkerWithTheButtonsDisabled) {
    TScriptServer server({Send("220 ready\r\n"), ReadLine(), Send("250 hello\r\n"), ReadLine(),
                          Send("250 ok\r\n"), ReadLine(), Send("250 ok\r\n"), ReadLine(), Send("354 go\r\n"),
                          ReadData(), Send("250 queued as 7\r\n"), ReadLine(), Send("221 bye\r\n")});
    StartStill("");
    Smtp->edtSMTPServer->SetText("127.0.0.1");
    Smtp->edtPort->SetText(std::to_string(server.Port()));
    Smtp->edtSubject->SetText("Test");
    Smtp->EdtFrom->SetText("monitor@example.com");
    Smtp->EdtSender->SetText("admin@example.com");
    Smtp->btnTestClick(nullptr);
    EXPECT_TRUE(Smtp->Testing());
    EXPECT_FALSE(Smtp->btnTest->Enabled() || Smtp->BtnOK->Enabled());
    ASSERT_TRUE(PumpUntil([] { return !Smtp->Testing() && Smtp->MessageBoxes()->Pending() == 0; }, 20000));
    EXPECT_TRUE(Smtp->btnTest->Enabled() && Smtp->BtnOK->Enabled());
    server.Join();
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(received.size(), 6u);
    // The dialog's message sends its text in base64.
    EXPECT_NE(received[4].find(EncodeBase64String("Vexmora SMTP")), std::string::npos) << received[4];
    EXPECT_NE(received[4].find("X-Priority: 3"), std::string::npos);
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::string>{"OK", "220 ready\r\n250 hello\r\n", "250 queued as 7\r\n"}));
}

TEST_F(WatchTest, AFailedTestMailIsShownWithWhyNotSwallowed) {
    StartStill("");
    const int port = TScriptServer::ClosedPort();
    const std::string why = "No connection to 127.0.0.1 on port " + std::to_string(port) + ".";
    Smtp->edtSMTPServer->SetText("127.0.0.1");
    Smtp->edtPort->SetText(std::to_string(port));
    Smtp->EdtFrom->SetText("monitor@example.com");
    Smtp->EdtSender->SetText("admin@example.com");
    auto test = [this] {
        const std::size_t before = boxes.Texts().size();
        Smtp->btnTestClick(nullptr);
        EXPECT_TRUE(
            PumpUntil([] { return !Smtp->Testing() && Smtp->MessageBoxes()->Pending() == 0; }, 20000));
        const std::vector<std::string> texts = boxes.Texts();
        return std::vector<std::string>(texts.begin() + static_cast<std::ptrdiff_t>(before), texts.end());
    };
    EXPECT_EQ(test(), (std::vector<std::string>{"Can not Connect SMTP server\n" + why, "",
                                                "Can not Send mail\n" + why}));

    // A server field emptied since: the reason is the empty name, not the
    // last test's.
    Smtp->edtSMTPServer->SetText("");
    const std::string noServer = "No server is named: the server name is empty.";
    EXPECT_EQ(test(), (std::vector<std::string>{"Can not Connect SMTP server\n" + noServer, "",
                                                "Can not Send mail\n" + noServer}));
    Smtp->edtSMTPServer->SetText("127.0.0.1");

    // A connect that raises is still a failed connect, not a lost test.
    Smtp->SMTPC->SocketTalk()->Socket()->OnError = TSocketErrorEvent();
    std::vector<std::string> texts = test();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_TRUE(texts.front().starts_with("Can not Connect SMTP server\n")) << texts.front();
    EXPECT_GT(texts.front().size(), std::string("Can not Connect SMTP server\n").size());

    // Blanks and no-break spaces around an address are dropped; one inside
    // it, or a byte outside ASCII, is refused with why before any connection.
    Smtp->EdtFrom->SetWideText(L"  monitor@example.com\u00A0");
    Smtp->EdtSender->SetText("a@b evil@x");
    EXPECT_EQ(test(), (std::vector<std::string>{
                          "Can not Send mail\nInvalid mail address \"a@b evil@x\": it holds a blank"}));
    Smtp->EdtSender->SetText("admin@ex\xE4mple.net");
    EXPECT_EQ(test(),
              (std::vector<std::string>{"Can not Send mail\nInvalid mail address "
                                        "\"admin@ex\xE4mple.net\": it holds a character outside ASCII"}));

    Smtp->edtPort->SetText("");
    Smtp->btnTestClick(nullptr);
    EXPECT_FALSE(Smtp->Testing());
    EXPECT_EQ(boxes.Texts().back(), "You must be to fill Port");
}

TEST_F(WatchTest, TheModalDialogAnswersOKOrCancelAndShowsTheStoredValues) {
    WriteSettingString("SMTPServer", "mail.example.com");
    StartStill("");
    Smtp->edtSMTPServer->SetText("left over from before");
    // Clicked from inside the dialog's own loop, as a person would.
    QueueOnGuiThread([] {
        EXPECT_EQ(Smtp->edtSMTPServer->Text(), "mail.example.com");
        Smtp->edtSMTPServer->SetText("typo.example.com");
        Smtp->BtnCancel->Click();
    });
    EXPECT_EQ(Smtp->ShowModal(), mrCancel);
    EXPECT_EQ(ReadSettingString("SMTPServer"), "mail.example.com");

    QueueOnGuiThread([] {
        Smtp->edtSMTPServer->SetText("smtp.example.com");
        Smtp->BtnOK->Click();
    });
    EXPECT_EQ(Smtp->ShowModal(), mrOk);
    EXPECT_EQ(ReadSettingString("SMTPServer"), "smtp.example.com");
    EXPECT_FALSE(Smtp->Visible());
}
