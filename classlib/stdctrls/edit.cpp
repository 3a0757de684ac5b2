#include "classlib/stdctrls/edit.h"

namespace {
wchar_t WideChar(char c) {
    wchar_t wide = 0;
    if (c) MultiByteToWideChar(CP_ACP, 0, &c, 1, &wide, 1);
    return wide;
}
}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : inherited(AOwner) {
    // The system edit captures the mouse itself; a click is a press and a
    // release over it.
    SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, L"EDIT");
    Params.Style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_) Params.Style |= ES_READONLY;
    if (passwordChar_) Params.Style |= ES_PASSWORD;
    if (borderStyle_ != bsNone) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
    creating_ = true;
    try {
        inherited::CreateWnd();
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
}

void TCustomEdit::CreateHandleDone() {
    inherited::CreateHandleDone();
    SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (passwordChar_) SendMessageW(handle_, EM_SETPASSWORDCHAR, WideChar(passwordChar_), 0);
    SendMessageW(handle_, EM_SETMODIFY, modified_, 0);
}

void TCustomEdit::DestroyWnd() {
    modified_ = Modified();
    inherited::DestroyWnd();
}

void TCustomEdit::SetReadOnly(bool Value) {
    if (Value == readOnly_) return;
    readOnly_ = Value;
    if (handle_) SendMessageW(handle_, EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetMaxLength(int Value) {
    if (Value == maxLength_) return;
    maxLength_ = Value;
    if (handle_) SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomEdit::SetPasswordChar(char Value) {
    if (Value == passwordChar_) return;
    passwordChar_ = Value;
    if (handle_) {
        SendMessageW(handle_, EM_SETPASSWORDCHAR, WideChar(Value), 0);
        Invalidate();
    }
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    RecreateWnd();
}

bool TCustomEdit::Modified() {
    return handle_ ? SendMessageW(handle_, EM_GETMODIFY, 0, 0) != 0 : modified_;
}

void TCustomEdit::SetModified(bool Value) {
    modified_ = Value;
    if (handle_) SendMessageW(handle_, EM_SETMODIFY, Value, 0);
}

int TCustomEdit::SelStart() {
    DWORD start = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int Value) {
    SendMessageW(Handle(), EM_SETSEL, Value, Value);
}

int TCustomEdit::SelLength() {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int Value) {
    const int start = SelStart();
    SendMessageW(Handle(), EM_SETSEL, start, start + Value);
}

void TCustomEdit::SelectAll() {
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::Change() {
    if (Assigned(OnChange)) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& Message) {
    if (Message.Msg == CN_COMMAND) {
        // The text given to a new window is not a change.
        if (Message.WParamHi() == EN_CHANGE && !creating_) Change();
        return;
    }
    inherited::WndProc(Message);
}
