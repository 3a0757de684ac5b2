#include "classlib/stdctrls/richedit.h"

#include <richedit.h>

#include "classlib/core/exceptions.h"
#include "classlib/core/text.h"

namespace {

// The rich edit classes live in their own library, loaded once for the
// program's life.
void LoadRichEditLibrary() {
    static HMODULE library = LoadLibraryW(L"riched20.dll");
    if (!library) throw EOutOfResources("Cannot load riched20.dll");
}

}  // namespace

// --- TRichEditStrings

TOwned<TStringList> TRichEditStrings::Split() const {
    TOwned<TStringList> lines(Create<TStringList>());
    lines->SetText(ToAnsi(edit_->GetWideText()));
    return lines;
}

void TRichEditStrings::Store(TStringList* Lines) {
    std::string text = Lines->Text();
    // The last line needs no break after it.
    if (text.size() >= 2) text.resize(text.size() - 2);
    edit_->SetWideText(ToWide(text));
}

int TRichEditStrings::Count() const {
    return Split()->Count();
}

std::string TRichEditStrings::Get(int index) const {
    TOwned<TStringList> lines = Split();
    if (index < 0 || index >= lines->Count()) Error("List index out of bounds (%d)", index);
    return lines->Strings(index);
}

void TRichEditStrings::Put(int index, const std::string& text) {
    TOwned<TStringList> lines = Split();
    if (index < 0 || index >= lines->Count()) Error("List index out of bounds (%d)", index);
    lines->SetStrings(index, text);
    Store(lines.get());
}

void TRichEditStrings::Insert(int index, const std::string& text) {
    TOwned<TStringList> lines = Split();
    if (index < 0 || index > lines->Count()) Error("List index out of bounds (%d)", index);
    lines->Insert(index, text);
    Store(lines.get());
}

void TRichEditStrings::Delete(int index) {
    TOwned<TStringList> lines = Split();
    if (index < 0 || index >= lines->Count()) Error("List index out of bounds (%d)", index);
    lines->Delete(index);
    Store(lines.get());
}

void TRichEditStrings::Clear() {
    edit_->SetWideText(L"");
}

std::string TRichEditStrings::Text() const {
    return Split()->Text();
}

void TRichEditStrings::SetText(const std::string& text) {
    TOwned<TStringList> lines(Create<TStringList>());
    lines->SetText(text);
    Store(lines.get());
}

void TRichEditStrings::SetUpdateState(bool updating) {
    if (!edit_->HandleAllocated()) return;
    SendMessageW(edit_->Handle(), WM_SETREDRAW, !updating, 0);
    if (!updating) edit_->Refresh();
}

// --- TCustomRichEdit

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : inherited(AOwner), lines_(Create<TRichEditStrings>(this)) {
    SetBounds(Left(), Top(), 185, 89);
    SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
}

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    CreateSubClass(Params, RICHEDIT_CLASSW);
    Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN;
    Params.Style &= ~static_cast<DWORD>(ES_PASSWORD);
    if (wordWrap_)
        Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    else
        Params.Style |= WS_HSCROLL;
}

// The library loads with the first window, not with the first measure of a
// control that has none (which asks for the parameters too): a form that is
// never shown keeps the program from loading it at all.
void TCustomRichEdit::CreateWnd() {
    LoadRichEditLibrary();
    inherited::CreateWnd();
}

void TCustomRichEdit::CreateHandleDone() {
    inherited::CreateHandleDone();
    // The base limit of a rich edit is 32K characters; a log can be longer.
    SendMessageW(handle_, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    SendMessageW(handle_, EM_SETEVENTMASK, 0, ENM_CHANGE);
}

void TCustomRichEdit::SetWordWrap(bool Value) {
    if (Value == wordWrap_) return;
    wordWrap_ = Value;
    RecreateWnd();
}
