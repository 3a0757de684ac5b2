#include "classlib/stdctrls/spinedit.h"

#include <algorithm>

#include "classlib/core/text.h"
#include "classlib/stdctrls/commoncontrols.h"

namespace {
constexpr int ButtonWidth = 15;
}

TSpinEdit::TSpinEdit(TComponent* AOwner) : inherited(AOwner) {
    InitCommonControlClasses(ICC_UPDOWN_CLASS);
    SetText("0");
}

int TSpinEdit::CheckValue(int NewValue) const {
    if (maxValue_ == minValue_) return NewValue;
    return std::clamp(NewValue, minValue_, std::max(minValue_, maxValue_));
}

int TSpinEdit::Value() {
    int value = 0;
    return TryStrToInt(Trim(Text()), value) ? value : minValue_;
}

void TSpinEdit::SetValue(int NewValue) {
    SetText(IntToStr(CheckValue(NewValue)));
}

void TSpinEdit::SetMinValue(int Value) {
    minValue_ = Value;
    SetValue(this->Value());
}

void TSpinEdit::SetMaxValue(int Value) {
    maxValue_ = Value;
    SetValue(this->Value());
}

bool TSpinEdit::IsValidChar(char Key) const {
    if (Key >= '0' && Key <= '9') return true;
    if (Key == '-' && minValue_ < 0) return true;
    // Editing keys (backspace and the like) pass; Enter does not.
    return static_cast<unsigned char>(Key) < 32 && Key != VK_RETURN;
}

void TSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_UP) {
        UpClick();
        Key = 0;
    } else if (Key == VK_DOWN) {
        DownClick();
        Key = 0;
    }
    if (Key) inherited::KeyDown(Key, Shift);
}

void TSpinEdit::KeyPress(char& Key) {
    // Checked before OnKeyPress, which sees only the keys that pass.
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key) inherited::KeyPress(Key);
}

void TSpinEdit::CreateParams(TCreateParams& Params) {
    inherited::CreateParams(Params);
    // The edit draws outside its paint too (a click, a typed digit, the
    // caret): clipped, it never draws over its arrows.
    Params.Style |= WS_CLIPCHILDREN;
}

void TSpinEdit::CreateHandleDone() {
    inherited::CreateHandleDone();
    // The arrows are a child of the edit and die with its window.
    upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, ButtonWidth, 10,
                              handle_, nullptr, GetModuleHandleW(nullptr), nullptr);
    // A wide range the position never leaves: each press is answered here.
    SendMessageW(upDown_, UDM_SETRANGE32, 0, 100);
    SendMessageW(upDown_, UDM_SETPOS32, 0, 50);
    PlaceButtons();
}

void TSpinEdit::PlaceButtons() {
    if (!upDown_ || !handle_) return;
    RECT client{};
    GetClientRect(handle_, &client);
    SetWindowPos(upDown_, nullptr, client.right - ButtonWidth, 0, ButtonWidth, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handle_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELONG(0, ButtonWidth + 2));
}

void TSpinEdit::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NOTIFY: {
            auto* header = Message.LParamAs<NMHDR>();
            if (upDown_ && header->hwndFrom == upDown_ && header->code == UDN_DELTAPOS) {
                if (reinterpret_cast<NMUPDOWN*>(header)->iDelta > 0)
                    UpClick();
                else
                    DownClick();
                Message.Result = 1;
                return;
            }
            break;
        }
        case WM_SIZE:
            inherited::WndProc(Message);
            PlaceButtons();
            return;
        case WM_NCDESTROY:
            upDown_ = nullptr;
            break;
        case CM_EXIT:
            // What the user left in the box becomes a number within bounds.
            if (CheckValue(Value()) != Value() || Text() != IntToStr(Value())) SetValue(Value());
            break;
    }
    inherited::WndProc(Message);
}
