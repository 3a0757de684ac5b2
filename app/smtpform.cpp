#include "app/smtpform.h"

#include "app/password_scrambler.h"
#include "app/settings.h"
#include "app/smtp_settings.h"
#include "app/test_mail.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/application.h"
#include "mail/smtp_mailer.h"

TSmtp* Smtp = nullptr;

TSmtp::TSmtp(TComponent* AOwner) : inherited(AOwner), boxes_(std::make_unique<TMessageBoxQueue>(liveness_)) {}

TSmtp::~TSmtp() = default;

void TSmtp::FormCreate(TObject*) {
    try {
        LoadFields();
    } catch (const Exception&) {
        // Settings that cannot be read leave the dialog with its defaults.
    }
}

void TSmtp::FormShow(TObject*) {
    FormCreate(this);
}

void TSmtp::LoadFields() {
    const TSmtpFields fields = LoadSmtpFields();
    chkPassword->SetChecked(fields.UsePassword);
    EdtUsername->SetText(fields.UserName);
    edtSubject->SetWideText(fields.Subject);
    EdtFrom->SetWideText(fields.From);
    EdtSender->SetWideText(fields.To);
    edtPort->SetText(fields.Port);
    edtSMTPServer->SetText(fields.Server);
    ShowPlaceholder();
}

void TSmtp::SetPasswordText(const std::string& Text) {
    // Masked before the text goes in, so no password ever shows in clear.
    EdtPassword->SetPasswordChar('*');
    placeholderShown_ = false;
    settingPassword_ = true;
    EdtPassword->SetText(Text);
    settingPassword_ = false;
    passwordEdited_ = false;
}

void TSmtp::ShowPlaceholder() {
    SetPasswordText(PasswordPlaceholder);
    // The one text the edit shows in clear.
    EdtPassword->SetPasswordChar(0);
    placeholderShown_ = true;
}

void TSmtp::LeavePlaceholder() {
    if (placeholderShown_) SetPasswordText("");
}

void TSmtp::EdtPasswordEnter(TObject*) {
    LeavePlaceholder();
}

void TSmtp::EdtPasswordKeyPress(TObject*, char&) {
    // The key lands in an empty, masked edit even when the placeholder was
    // shown again while the edit had the focus.
    LeavePlaceholder();
}

void TSmtp::EdtPasswordChange(TObject*) {
    if (!settingPassword_) passwordEdited_ = true;
}

void TSmtp::EdtPasswordClick(TObject*) {
    LeavePlaceholder();
    // A password the user is typing stays; otherwise the stored one shows.
    if (passwordEdited_) return;
    auto registry = OpenSettings(false);
    if (!registry || !registry->ValueExists("Password")) return;
    std::string password;
    UnscrambleString(ReadStringOr(registry.get(), "Password", ""), password);
    SetPasswordText(password);
}

void TSmtp::edtPortKeyPress(TObject*, char& Key) {
    // Backspace stays usable; everything but digits is dropped.
    if ((Key < '0' || Key > '9') && Key != '\b') Key = 0;
}

void TSmtp::BtnOKClick(TObject*) {
    TSmtpFields fields;
    fields.UsePassword = chkPassword->Checked();
    fields.UserName = EdtUsername->Text();
    fields.Password = EdtPassword->Text();
    fields.PasswordEdited = passwordEdited_;
    fields.Server = edtSMTPServer->Text();
    fields.Subject = edtSubject->GetWideText();
    fields.Port = edtPort->Text();
    fields.From = EdtFrom->GetWideText();
    fields.To = EdtSender->GetWideText();
    const std::vector<std::string> messages = SaveSmtpFields(fields);
    if (fields.UsePassword && fields.PasswordEdited && !fields.Password.empty()) {
        std::string shown;
        ScrambleString(fields.Password, shown);
        SetPasswordText(shown);
    }
    for (const std::string& message : messages) Application->MessageBox(message, "Vexmora", MB_OK);
    CloseWith(mrOk);
}

void TSmtp::BtnCancelClick(TObject*) {
    CloseWith(mrCancel);
}

void TSmtp::CloseWith(TModalResult Result) {
    // Close would answer Cancel to the one who showed the dialog modally.
    if (FormState().Contains(fsModal))
        SetModalResult(Result);
    else
        Close();
}

void TSmtp::btnTestClick(TObject*) {
    if (test_) return;
    TTestMail mail;
    mail.Server = edtSMTPServer->Text();
    mail.Port = ParsePort(edtPort->Text());
    if (mail.Port == 0) {
        Application->MessageBox("You must be to fill Port", "Vexmora", MB_OK);
        return;
    }
    mail.Subject = edtSubject->GetWideText();
    mail.From = EdtFrom->GetWideText();
    mail.To = EdtSender->GetWideText();
    mail.UsePassword = chkPassword->Checked();
    mail.UserName = EdtUsername->Text();
    if (passwordEdited_) {
        mail.Password = EdtPassword->Text();
    } else {
        // The edit shows a placeholder or scrambled digits: the stored
        // password is the one meant.
        auto registry = OpenSettings(false);
        UnscrambleString(ReadStringOr(registry.get(), "Password", ""), mail.Password);
    }
    btnTest->SetEnabled(false);
    BtnOK->SetEnabled(false);
    TMessageBoxQueue* boxes = boxes_.get();
    TLiveness liveness = liveness_;
    test_ = Create<TSmtpTest>(
        SMTPC, MimeMessage1, mail, [boxes](const std::string& Text) { boxes->Show(Text); },
        [this, liveness] { liveness.Queue([this] { TestDone(); }); });
}

void TSmtp::TestDone() {
    FreeAndNil(test_);
    btnTest->SetEnabled(true);
    BtnOK->SetEnabled(true);
}

void TSmtp::StopTest() {
    if (!test_) return;
    while (WaitForSingleObject(test_->Handle(), 0) == WAIT_TIMEOUT) {
        SMTPC->Abort();
        WaitForSingleObject(test_->Handle(), 50);
    }
    // Its completion may still be queued: the buttons come back here.
    TestDone();
}

void TSmtp::BeforeDestruction() {
    liveness_.Disarm();
    StopTest();
    inherited::BeforeDestruction();
}
