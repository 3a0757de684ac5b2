#include "toolbar/baractionlink.h"

#include "toolbar/baritem.h"

void TBarCustomItemActionLink::AssignClient(TObject* AClient) {
    client_ = dynamic_cast<TBarCustomItem*>(AClient);
}

bool TBarCustomItemActionLink::IsAutoCheckLinked() {
    TCustomAction* action = CustomAction();
    return action && client_->AutoCheck() == action->AutoCheck();
}
bool TBarCustomItemActionLink::IsCaptionLinked() {
    return inherited::IsCaptionLinked() && client_->Caption() == CustomAction()->Caption();
}
bool TBarCustomItemActionLink::IsCheckedLinked() {
    return inherited::IsCheckedLinked() && client_->Checked() == CustomAction()->Checked();
}
bool TBarCustomItemActionLink::IsEnabledLinked() {
    return inherited::IsEnabledLinked() && client_->Enabled() == CustomAction()->Enabled();
}
bool TBarCustomItemActionLink::IsHelpContextLinked() {
    return inherited::IsHelpContextLinked() && client_->HelpContext() == CustomAction()->HelpContext();
}
bool TBarCustomItemActionLink::IsHintLinked() {
    return inherited::IsHintLinked() && client_->Hint() == CustomAction()->Hint();
}
bool TBarCustomItemActionLink::IsImageIndexLinked() {
    return inherited::IsImageIndexLinked() && client_->ImageIndex() == CustomAction()->ImageIndex();
}
bool TBarCustomItemActionLink::IsShortCutLinked() {
    return inherited::IsShortCutLinked() && client_->ShortCut() == CustomAction()->ShortCut();
}
bool TBarCustomItemActionLink::IsVisibleLinked() {
    return inherited::IsVisibleLinked() && client_->Visible() == CustomAction()->Visible();
}
bool TBarCustomItemActionLink::IsOnExecuteLinked() {
    return inherited::IsOnExecuteLinked() && Action() && client_->OnClick == Action()->OnExecute;
}

void TBarCustomItemActionLink::SetAutoCheck(bool Value) {
    if (IsAutoCheckLinked()) client_->SetAutoCheck(Value);
}
void TBarCustomItemActionLink::SetCaption(const std::string& Value) {
    if (IsCaptionLinked()) client_->SetCaption(Value);
}
void TBarCustomItemActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) client_->SetChecked(Value);
}
void TBarCustomItemActionLink::SetEnabled(bool Value) {
    if (IsEnabledLinked()) client_->SetEnabled(Value);
}
void TBarCustomItemActionLink::SetHelpContext(int Value) {
    if (IsHelpContextLinked()) client_->SetHelpContext(Value);
}
void TBarCustomItemActionLink::SetHint(const std::string& Value) {
    if (IsHintLinked()) client_->SetHint(Value);
}
void TBarCustomItemActionLink::SetImageIndex(int Value) {
    if (IsImageIndexLinked()) client_->SetImageIndex(Value);
}
void TBarCustomItemActionLink::SetShortCut(TShortCut Value) {
    if (IsShortCutLinked()) client_->SetShortCut(Value);
}
void TBarCustomItemActionLink::SetVisible(bool Value) {
    if (IsVisibleLinked()) client_->SetVisible(Value);
}
void TBarCustomItemActionLink::SetOnExecute(const TNotifyEvent& Value) {
    if (IsOnExecuteLinked()) client_->OnClick = Value;
}
