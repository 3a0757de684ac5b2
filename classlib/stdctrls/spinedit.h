// `TSpinEdit`: an edit for whole numbers with up and down arrows (and the
// arrow keys) that step by `Increment` within `MinValue`..`MaxValue` (equal
// bounds: no bounds); only digits can be typed (and '-' when the range
// allows negative numbers).
#pragma once

#include "classlib/stdctrls/edit.h"

class TSpinEdit : public TCustomEdit {
    VX_CLASS(TSpinEdit, TCustomEdit)
public:
    explicit TSpinEdit(TComponent* AOwner);

    // The number in the text; MinValue when the text is not a number.
    int Value();
    // Brought within the bounds first.
    void SetValue(int NewValue);
    int MinValue() const { return minValue_; }
    void SetMinValue(int Value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int Value);
    int Increment() const { return increment_; }
    void SetIncrement(int Value) { increment_ = Value; }

    void UpClick() { SetValue(Value() + increment_); }
    void DownClick() { SetValue(Value() - increment_); }

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    virtual bool IsValidChar(char Key) const;
    int CheckValue(int NewValue) const;

private:
    void PlaceButtons();

    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
    HWND upDown_ = nullptr;
};
