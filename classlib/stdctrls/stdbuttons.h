// Push buttons, check boxes and radio buttons over the system BUTTON class.
// `TButton` answers Enter when it is the default and Esc when it is the
// cancel button and gives its form its `ModalResult` when clicked; radio
// buttons of one parent form one group.
#pragma once

#include "classlib/windows/accelerators.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/forms.h"

class TButtonControl : public TWinControl {
    VX_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner);

protected:
    // Set while the state changes without the user, so no click is reported.
    bool ClicksDisabled() const { return clicksDisabled_ > 0; }
    void DisableClicks() { ++clicksDisabled_; }
    void EnableClicks() { --clicksDisabled_; }

private:
    int clicksDisabled_ = 0;
};

// Whether a CM_DIALOGKEY message is a push button's: Enter for the form's
// active default button, Esc for its cancel button, with neither Shift,
// Ctrl nor Alt held.
bool IsButtonDialogKey(const TMessage& Message, bool ActiveDefault, bool Cancel);

// A push button's answer to CM_DIALOGKEY (its key) and CM_DIALOGCHAR (its
// caption's accelerator): it clicks while it can take the focus and keeps
// the key. False for any other message.
template <class B>
bool HandleButtonDialogMessage(B* Button, TMessage& Message, bool ActiveDefault, bool Cancel) {
    bool mine = false;
    if (Message.Msg == CM_DIALOGKEY)
        mine = IsButtonDialogKey(Message, ActiveDefault, Cancel);
    else if (Message.Msg == CM_DIALOGCHAR)
        mine = IsAccel(Message.CharCode(), Button->GetWideText());
    else
        return false;
    if (mine && Button->CanFocus()) {
        Button->Click();
        Message.Result = 1;
    }
    return true;
}

class TButton : public TButtonControl {
    VX_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return default_; }
    void SetDefault(bool Value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }

    // Gives the parent form this button's ModalResult, then OnClick.
    void Click() override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    void SetButtonStyle(bool IsDefault);

    bool default_ = false;
    bool cancel_ = false;
    // Drawn as the default button: the focused button, else the default one.
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
    VX_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A change fires OnClick, whoever made it.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    // The user's click: unchecked, (grayed,) checked, unchecked ...
    virtual void Toggle();

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
};

class TCheckBox : public TCustomCheckBox {
    VX_CLASS(TCheckBox, TCustomCheckBox)
public:
    using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
    VX_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const { return checked_; }
    // Checking unchecks the other radio buttons of the parent and fires
    // OnClick; unchecking is silent.
    void SetChecked(bool Value);

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;

private:
    bool checked_ = false;
};
