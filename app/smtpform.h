// `TSmtp`, the e-mail settings dialog ("SMTP server setting"): the mail
// server, port, subject, sender, recipient and login that the alert mails
// use, saved on OK in a fixed order with a message for each field missing,
// and a test mail sent from a worker while the dialog stays responsive.
#pragma once

#include <memory>

#include "app/gui_handoff.h"
#include "classlib/windows/forms.h"

class TGroupBox;
class TCheckBox;
class TLabel;
class TEdit;
class TButton;
class TSMTPMailer;
class TMimeMessage;
class TSmtpTest;
struct TSmtpFields;

class TSmtp : public TForm {
    VX_CLASS(TSmtp, TForm)
public:
    explicit TSmtp(TComponent* AOwner);

    TGroupBox* GroupBox1 = nullptr;
    TCheckBox* chkPassword = nullptr;
    TLabel* lblUsername = nullptr;
    TEdit* EdtUsername = nullptr;
    TLabel* lblPassword = nullptr;
    TEdit* EdtPassword = nullptr;
    TLabel* lblSMTPServer = nullptr;
    TEdit* edtSMTPServer = nullptr;
    TLabel* lblPort = nullptr;
    TEdit* edtPort = nullptr;
    TLabel* lblSubject = nullptr;
    TEdit* edtSubject = nullptr;
    TLabel* lblFrom = nullptr;
    TEdit* EdtFrom = nullptr;
    TLabel* lblSender = nullptr;
    TEdit* EdtSender = nullptr;
    TButton* btnTest = nullptr;
    TButton* BtnOK = nullptr;
    TButton* BtnCancel = nullptr;
    TSMTPMailer* SMTPC = nullptr;
    TMimeMessage* MimeMessage1 = nullptr;

    void FormCreate(TObject* Sender);
    // The stored values again, so an edit that was cancelled does not look saved.
    void FormShow(TObject* Sender);
    void BtnOKClick(TObject* Sender);
    void BtnCancelClick(TObject* Sender);
    void btnTestClick(TObject* Sender);
    void EdtPasswordClick(TObject* Sender);
    void EdtPasswordChange(TObject* Sender);
    void EdtPasswordEnter(TObject* Sender);
    void EdtPasswordKeyPress(TObject* Sender, char& Key);
    void edtPortKeyPress(TObject* Sender, char& Key);

    // A test mail is on its way (Test and OK are disabled meanwhile).
    bool Testing() const { return test_ != nullptr; }
    // Aborts the test mail in flight and waits for its worker.
    void StopTest();
    void BeforeDestruction() override;
    TMessageBoxQueue* MessageBoxes() const { return boxes_.get(); }

    // The form resource.
    static void BuildForm(TComponent* Instance);

protected:
    ~TSmtp() override;

private:
    void LoadFields();
    // Ends the dialog: ShowModal answers Result; a dialog shown modelessly hides.
    void CloseWith(TModalResult Result);
    // Puts text into the password edit, masked, without counting it as the
    // user's.
    void SetPasswordText(const std::string& Text);
    // "press to enter password", the only text shown unmasked; it is never
    // taken for a password.
    void ShowPlaceholder();
    // Empties the edit when the placeholder shows (focus, first key, click).
    void LeavePlaceholder();
    void TestDone();

    TLiveness liveness_;
    std::unique_ptr<TMessageBoxQueue> boxes_;
    TSmtpTest* test_ = nullptr;
    bool passwordEdited_ = false;
    bool settingPassword_ = false;
    bool placeholderShown_ = false;
};

extern TSmtp* Smtp;
