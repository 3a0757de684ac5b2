// The e-mail dialog's form resource: its controls, their places and events,
// and its own mail client and message for the test mail.
#include "app/alert_mail.h"
#include "app/smtpform.h"
#include "classlib/stdctrls/edit.h"
#include "classlib/stdctrls/label.h"
#include "classlib/stdctrls/panels.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/formresources.h"
#include "mail/mime_message.h"
#include "mail/smtp_mailer.h"

namespace {

TLabel* AddLabel(TSmtp* Form, TWinControl* Parent, const std::string& Name, const std::string& Caption,
                 int Left, int Top) {
    auto* label = LoadComponent<TLabel>(Form, Name);
    label->SetParent(Parent);
    label->SetCaption(Caption);
    label->SetBounds(Left, Top, 80, 16);
    return label;
}

TEdit* AddEdit(TSmtp* Form, TWinControl* Parent, const std::string& Name, int Left, int Top, int Width) {
    auto* edit = LoadComponent<TEdit>(Form, Name);
    edit->SetParent(Parent);
    edit->SetBounds(Left, Top, Width, 21);
    return edit;
}

TButton* AddButton(TSmtp* Form, const std::string& Name, const std::string& Caption, int Left) {
    auto* button = LoadComponent<TButton>(Form, Name);
    button->SetParent(Form);
    button->SetCaption(Caption);
    button->SetBounds(Left, 292, 80, 25);
    return button;
}

}  // namespace

void TSmtp::BuildForm(TComponent* Instance) {
    auto* form = static_cast<TSmtp*>(Instance);
    form->SetName("Smtp");
    form->SetCaption("SMTP server setting");
    form->SetBorderStyle(bsDialog);
    form->SetFormStyle(fsStayOnTop);
    form->SetPosition(poMainFormCenter);
    form->SetClientWidth(290);
    form->SetClientHeight(327);
    form->OnCreate = TNotifyEvent(form, &TSmtp::FormCreate);
    form->OnShow = TNotifyEvent(form, &TSmtp::FormShow);

    TGroupBox* group = form->GroupBox1 = LoadComponent<TGroupBox>(form, "GroupBox1");
    group->SetParent(form);
    group->SetCaption("Authentication");
    group->SetBounds(8, 4, 274, 100);
    form->chkPassword = LoadComponent<TCheckBox>(form, "chkPassword");
    form->chkPassword->SetParent(group);
    form->chkPassword->SetCaption("Use username and passowrd");
    form->chkPassword->SetBounds(10, 18, 250, 17);
    form->lblUsername = AddLabel(form, group, "lblUsername", "Username", 10, 45);
    form->EdtUsername = AddEdit(form, group, "EdtUsername", 100, 42, 160);
    form->lblPassword = AddLabel(form, group, "lblPassword", "Password", 10, 72);
    form->EdtPassword = AddEdit(form, group, "EdtPassword", 100, 69, 160);
    form->EdtPassword->SetPasswordChar('*');
    form->EdtPassword->OnClick = TNotifyEvent(form, &TSmtp::EdtPasswordClick);
    form->EdtPassword->OnChange = TNotifyEvent(form, &TSmtp::EdtPasswordChange);
    form->EdtPassword->OnEnter = TNotifyEvent(form, &TSmtp::EdtPasswordEnter);
    form->EdtPassword->OnKeyPress = TKeyPressEvent(form, &TSmtp::EdtPasswordKeyPress);

    form->lblSMTPServer = AddLabel(form, form, "lblSMTPServer", "SMTP Server", 18, 117);
    form->edtSMTPServer = AddEdit(form, form, "edtSMTPServer", 108, 114, 164);
    form->lblPort = AddLabel(form, form, "lblPort", "Port:", 18, 144);
    form->edtPort = AddEdit(form, form, "edtPort", 108, 141, 60);
    form->edtPort->SetText("25");
    form->edtPort->OnKeyPress = TKeyPressEvent(form, &TSmtp::edtPortKeyPress);
    form->lblSubject = AddLabel(form, form, "lblSubject", "Subject", 18, 171);
    form->edtSubject = AddEdit(form, form, "edtSubject", 108, 168, 164);
    form->lblFrom = AddLabel(form, form, "lblFrom", "From", 18, 198);
    form->EdtFrom = AddEdit(form, form, "EdtFrom", 108, 195, 164);
    form->lblSender = AddLabel(form, form, "lblSender", "To", 18, 225);
    form->EdtSender = AddEdit(form, form, "EdtSender", 108, 222, 164);

    form->btnTest = AddButton(form, "btnTest", "Test", 8);
    form->btnTest->OnClick = TNotifyEvent(form, &TSmtp::btnTestClick);
    form->BtnOK = AddButton(form, "BtnOK", "OK", 104);
    form->BtnOK->SetDefault(true);
    form->BtnOK->OnClick = TNotifyEvent(form, &TSmtp::BtnOKClick);
    form->BtnCancel = AddButton(form, "BtnCancel", "Cancel", 200);
    form->BtnCancel->SetCancel(true);
    form->BtnCancel->OnClick = TNotifyEvent(form, &TSmtp::BtnCancelClick);

    form->MimeMessage1 = LoadComponent<TMimeMessage>(form, "MimeMessage1");
    form->SMTPC = LoadComponent<TSMTPMailer>(form, "SMTPC");
    SetUpMailComponents(form->SMTPC, form->MimeMessage1, etBase64);
}
