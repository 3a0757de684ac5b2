// `TRichEdit`: a multi-line rich edit box (the system's rich edit 2.0 class)
// whose `Lines` read and write the window's text and survive the window.
#pragma once

#include "classlib/core/strings.h"
#include "classlib/stdctrls/edit.h"

class TCustomRichEdit;

// The lines of a rich edit: the window's text split at line breaks.
class TRichEditStrings : public TStrings {
    VX_CLASS(TRichEditStrings, TStrings)
public:
    explicit TRichEditStrings(TCustomRichEdit* RichEdit) : edit_(RichEdit) {}

    int Count() const override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    // Lines joined by CR LF, with a final one; setting replaces the text.
    std::string Text() const override;
    void SetText(const std::string& text) override;

protected:
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void SetUpdateState(bool updating) override;

private:
    TOwned<TStringList> Split() const;
    void Store(TStringList* Lines);

    TCustomRichEdit* edit_;
};

class TCustomRichEdit : public TCustomEdit {
    VX_CLASS(TCustomRichEdit, TCustomEdit)
public:
    explicit TCustomRichEdit(TComponent* AOwner);

    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* Value) { lines_->Assign(Value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void CreateHandleDone() override;

private:
    TOwned<TRichEditStrings> lines_;
    bool wordWrap_ = true;
};

class TRichEdit : public TCustomRichEdit {
    VX_CLASS(TRichEdit, TCustomRichEdit)
public:
    using TCustomRichEdit::TCustomRichEdit;
};
