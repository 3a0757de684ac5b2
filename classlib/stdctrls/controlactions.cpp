#include "classlib/stdctrls/controlactions.h"

// ---- TControlActionLink -----------------------------------------------------

void TControlActionLink::AssignClient(TObject* AClient) {
    client_ = dynamic_cast<TControl*>(AClient);
}

bool TControlActionLink::IsCaptionLinked() {
    return inherited::IsCaptionLinked() && client_ && client_->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
    return inherited::IsEnabledLinked() && client_ && client_->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
    return inherited::IsHintLinked() && client_ && client_->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
    return inherited::IsVisibleLinked() && client_ && client_->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() {
    return inherited::IsOnExecuteLinked() && client_ && Action() && client_->OnClick == Action()->OnExecute;
}

void TControlActionLink::SetCaption(const std::string& Value) {
    if (IsCaptionLinked()) client_->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
    if (IsEnabledLinked()) client_->SetEnabled(Value);
}

void TControlActionLink::SetHint(const std::string& Value) {
    if (IsHintLinked()) client_->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
    if (IsVisibleLinked()) client_->SetVisible(Value);
}

void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
    if (IsOnExecuteLinked()) client_->OnClick = Value;
}

// ---- TControlActionSupport --------------------------------------------------

TControlActionSupport::~TControlActionSupport() = default;

void TControlActionSupport::SetAction(TBasicAction* Value) {
    if (!Value) {
        link_.reset();
        control_->SetControlStyle(control_->ControlStyle() - TControlStyle{csActionClient});
        return;
    }
    if (!link_) link_.reset(linkFactory_(control_));
    link_->SetAction(Value);
    const bool loading =
        Value->ComponentState().Contains(csLoading) || control_->ComponentState().Contains(csLoading);
    ActionChange(Value, loading);
    control_->SetControlStyle(control_->ControlStyle() + TControlStyle{csActionClient});
}

void TControlActionSupport::InitiateAction() {
    if (link_) link_->Update();
}

void TControlActionSupport::Click() {
    TBasicAction* action = Action();
    if (Assigned(control_->OnClick) && action && !(control_->OnClick == action->OnExecute)) {
        control_->OnClick(control_);
    } else if (action) {
        link_->Execute(control_);
    } else if (Assigned(control_->OnClick)) {
        control_->OnClick(control_);
    }
}

void TControlActionSupport::Loaded() {
    if (TBasicAction* action = Action()) ActionChange(action, true);
}

void TControlActionSupport::ActionChange(TObject* Sender, bool CheckDefaults) {
    if (auto* action = dynamic_cast<TCustomAction*>(Sender)) {
        // A caption equal to the control's name is the one it was born with.
        const std::string caption = control_->Caption();
        if (!CheckDefaults || caption.empty() || caption == control_->Name())
            control_->SetCaption(action->Caption());
        if (!CheckDefaults || control_->Enabled()) control_->SetEnabled(action->Enabled());
        if (!CheckDefaults || control_->Hint().empty()) control_->SetHint(action->Hint());
        if (!CheckDefaults || control_->Visible()) control_->SetVisible(action->Visible());
        if (!CheckDefaults || !Assigned(control_->OnClick)) control_->OnClick = action->OnExecute;
    }
    if (Assigned(OnActionChange)) OnActionChange(Sender, CheckDefaults);
}
