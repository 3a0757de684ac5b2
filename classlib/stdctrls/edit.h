// `TEdit`: a single-line edit box over the system EDIT class, with read-only
// and password modes (both changeable on a live window), a maximum length,
// its own colour, `OnChange` for every change of the text and the key events
// of any windowed control (`OnKeyPress` may drop a character).
#pragma once

#include "classlib/windows/controls.h"

class TCustomEdit : public TWinControl {
    VX_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    // 0: no limit beyond the system's.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    // 0: the text is shown as it is.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    bool Modified();
    void SetModified(bool Value);

    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    void SelectAll();
    void Clear() { SetText(""); }

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    virtual void Change();

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    char passwordChar_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    bool modified_ = false;
    bool creating_ = false;
};

class TEdit : public TCustomEdit {
    VX_CLASS(TEdit, TCustomEdit)
public:
    using TCustomEdit::TCustomEdit;
};
