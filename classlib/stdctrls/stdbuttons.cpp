#include "classlib/stdctrls/stdbuttons.h"

#include "classlib/windows/accelerators.h"

TButtonControl::TButtonControl(TComponent* AOwner) : inherited(AOwner) {
    // The system button reports clicks (BN_CLICKED); the mouse alone does not.
    SetControlStyle({csSetCaption, csDoubleClicks});
    SetTabStop(true);
}

bool IsButtonDialogKey(const TMessage& Message, bool ActiveDefault, bool Cancel) {
    const WORD key = Message.CharCode();
    const bool noShift = KeyDataToShiftState(Message.LParam) == TShiftState{};
    return ((key == VK_RETURN && ActiveDefault) || (key == VK_ESCAPE && Cancel)) && noShift;
}

// --- TButton

TButton::TButton(TComponent* AOwner) : inherited(AOwner) {
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= WS_TABSTOP | (active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool Value) {
    if (Value == default_) return;
    default_ = Value;
    // A default button looks like one while no other button has the focus.
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    if (!dynamic_cast<TButton*>(focused)) SetButtonStyle(Value);
}

void TButton::SetButtonStyle(bool IsDefault) {
    active_ = IsDefault;
    if (handle_) SendMessageW(handle_, BM_SETSTYLE, IsDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    std::shared_ptr<bool> alive = alive_;
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    if (*alive) inherited::Click();
}

void TButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_COMMAND:
            if (Message.WParamHi() == BN_CLICKED) Click();
            return;
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
            HandleButtonDialogMessage(this, Message, active_, cancel_);
            return;
        case CM_FOCUSCHANGED: {
            auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
            const bool isButton = dynamic_cast<TButton*>(focused) != nullptr;
            const bool active = isButton ? focused == this : default_;
            if (active != active_) SetButtonStyle(active);
            return;
        }
        default:
            inherited::WndProc(Message);
    }
}

// --- TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : inherited(AOwner) {
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    // Not an automatic check box: the state is ours and survives the window.
    Params.Style |= WS_TABSTOP | BS_3STATE;
}

void TCustomCheckBox::CreateHandleDone() {
    inherited::CreateHandleDone();
    SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (Value == state_) return;
    state_ = Value;
    if (handle_) SendMessageW(handle_, BM_SETCHECK, static_cast<WPARAM>(Value), 0);
    if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
        case cbUnchecked:
            SetState(allowGrayed_ ? cbGrayed : cbChecked);
            break;
        case cbChecked:
            SetState(cbUnchecked);
            break;
        case cbGrayed:
            SetState(cbChecked);
            break;
    }
}

void TCustomCheckBox::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_COMMAND:
            if (Message.WParamHi() == BN_CLICKED) Toggle();
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(Message.CharCode(), GetWideText()) && CanFocus()) {
                SetFocus();
                if (Focused()) Toggle();
                Message.Result = 1;
            }
            return;
        default:
            inherited::WndProc(Message);
    }
}

// --- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : inherited(AOwner) {
    SetBounds(0, 0, 113, 17);
    // Only the checked button of a group is a tab stop.
    SetTabStop(false);
}

void TRadioButton::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= BS_RADIOBUTTON;
    if (checked_) Params.Style |= WS_TABSTOP;
}

void TRadioButton::CreateHandleDone() {
    inherited::CreateHandleDone();
    SendMessageW(handle_, BM_SETCHECK, checked_, 0);
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == checked_) return;
    checked_ = Value;
    SetTabStop(Value);
    if (handle_) SendMessageW(handle_, BM_SETCHECK, Value, 0);
    if (!Value) return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    if (!ClicksDisabled()) Click();
}

void TRadioButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_COMMAND:
            if (Message.WParamHi() == BN_CLICKED)
                SetChecked(true);
            else if (Message.WParamHi() == BN_DOUBLECLICKED)
                DblClick();
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(Message.CharCode(), GetWideText()) && CanFocus()) {
                SetFocus();
                if (Focused()) SetChecked(true);
                Message.Result = 1;
            }
            return;
        default:
            inherited::WndProc(Message);
    }
}
