#include "controls/scbutton.h"

#include "classlib/core/filer.h"
#include "classlib/stdctrls/stdbuttons.h"
#include "classlib/windows/themes.h"
#include "controls/scoldprops.h"
#include "controls/scscheme.h"

// --- TScCustomButton

TScCustomButton::TScCustomButton(TComponent* AOwner) : inherited(AOwner) {
    // The colour scheme and the screen's depth are read once, by the first
    // styled control.
    InitScCommon();
    // Clicks come from the state machine below, not from the control's
    // own release test.
    SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 115, 17);
    SetTabStop(true);
}

void TScCustomButton::SetAlignmentVertical(TAlignmentVertical Value) {
    if (Value == alignmentVertical_) return;
    alignmentVertical_ = Value;
    Invalidate();
}

void TScCustomButton::SetHighlightColor(TColor Value) {
    if (Value == highlightColor_) return;
    highlightColor_ = Value;
    Invalidate();
}

void TScCustomButton::SetHotTrack(bool Value) {
    if (Value == hotTrack_) return;
    hotTrack_ = Value;
    Invalidate();
}

void TScCustomButton::SetHotTrackColor(TColor Value) {
    if (Value == hotTrackColor_) return;
    hotTrackColor_ = Value;
    Invalidate();
}

void TScCustomButton::SetHotTrackColorType(TScHotTrackColorType Value) {
    if (Value == hotTrackColorType_) return;
    hotTrackColorType_ = Value;
    Invalidate();
}

void TScCustomButton::SetLightTextStyle(bool Value) {
    if (Value == effects_.Light) return;
    effects_.Light = Value;
    Invalidate();
}

void TScCustomButton::SetTextStyle(TTextStyle Value) {
    if (Value == effects_.Style) return;
    effects_.Style = Value;
    Invalidate();
}

void TScCustomButton::SetTextHighlightColor(TColor Value) {
    if (Value == effects_.Highlight) return;
    effects_.Highlight = Value;
    Invalidate();
}

void TScCustomButton::SetTextShadowColor(TColor Value) {
    if (Value == effects_.Shadow) return;
    effects_.Shadow = Value;
    Invalidate();
}

void TScCustomButton::SetTextShadowDepth(int Value) {
    if (Value == effects_.ShadowDepth) return;
    effects_.ShadowDepth = Value;
    Invalidate();
}

void TScCustomButton::SetThemeAware(bool Value) {
    if (Value == themeAware_) return;
    themeAware_ = Value;
    Invalidate();
}

void TScCustomButton::SetTransparentFace(bool Value) {
    if (Value == transparentFace_) return;
    transparentFace_ = Value;
    Invalidate();
}

bool TScCustomButton::Themed() const {
    return themeAware_ && ThemeServices()->ThemesEnabled();
}

void TScCustomButton::Click() {
    actions_.Click();
}

void TScCustomButton::Loaded() {
    inherited::Loaded();
    actions_.Loaded();
}

void TScCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    std::shared_ptr<bool> alive = alive_;
    if (Button == mbLeft && Enabled() && CanFocus()) {
        SetFocus();
        if (!*alive) return;
        pressedByMouse_ = true;
        visualDown_ = true;
        Invalidate();
    }
    inherited::MouseDown(Button, Shift, X, Y);
}

void TScCustomButton::MouseMove(TShiftState Shift, int X, int Y) {
    if (pressedByMouse_) {
        // The bottom edge counts as inside, as it always has for these buttons.
        const bool inside = X >= 0 && X < Width() && Y >= 0 && Y <= Height();
        if (inside != visualDown_) {
            visualDown_ = inside;
            Invalidate();
        }
    }
    inherited::MouseMove(Shift, X, Y);
}

void TScCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    std::shared_ptr<bool> alive = alive_;
    if (Button == mbLeft && pressedByMouse_) {
        pressedByMouse_ = false;
        visualDown_ = false;
        if (ClientRect().Contains(Point(X, Y))) Click();
        if (!*alive) return;
        Invalidate();
    }
    inherited::MouseUp(Button, Shift, X, Y);
}

void TScCustomButton::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_SPACE && !Shift.Contains(ssAlt) && Enabled()) {
        pressedBySpace_ = true;
        if (!visualDown_) {
            visualDown_ = true;
            Invalidate();
        }
    }
    inherited::KeyDown(Key, Shift);
}

void TScCustomButton::KeyUp(WORD& Key, TShiftState Shift) {
    std::shared_ptr<bool> alive = alive_;
    if (Key == VK_SPACE) {
        const bool clicks = pressedBySpace_;
        pressedBySpace_ = false;
        visualDown_ = false;
        Invalidate();
        if (clicks) Click();
        if (!*alive) return;
    }
    inherited::KeyUp(Key, Shift);
}

void TScCustomButton::LeaveFocus() {
    pressedBySpace_ = false;
    if (visualDown_ && !pressedByMouse_) visualDown_ = false;
    Invalidate();
}

void TScCustomButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KILLFOCUS:
            LeaveFocus();
            break;
        case WM_SETFOCUS:
            Invalidate();
            break;
        case WM_ERASEBKGND:
            if (transparentFace_) {
                Message.Result = 1;
                return;
            }
            break;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            if (Message.LParam == 0) {
                const bool over = Message.Msg == CM_MOUSEENTER;
                if (over != mouseOver_) {
                    mouseOver_ = over;
                    if ((hotTrack_ || Themed()) && HandleAllocated())
                        InvalidateRect(Handle(), nullptr, FALSE);
                }
            }
            break;
        case CM_ENABLEDCHANGED:
            if (!Enabled()) {
                pressedByMouse_ = pressedBySpace_ = visualDown_ = false;
                // A disabled button cannot keep the focus: the form takes it back.
                if (Focused())
                    if (TCustomForm* form = GetParentForm(this); form && form->HandleAllocated())
                        ::SetFocus(form->Handle());
            }
            break;
        case CM_TEXTCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}

// --- TScButton

namespace {
bool IsButtonClass(TControl* Control) {
    return dynamic_cast<TScButton*>(Control) || dynamic_cast<TButton*>(Control);
}
}  // namespace

TScButton::TScButton(TComponent* AOwner) : inherited(AOwner) {
    SetBounds(0, 0, 75, 25);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TScButton::SetAlignment(TAlignment Value) {
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
}

void TScButton::SetAllowAllUp(bool Value) {
    if (Value == allowAllUp_) return;
    allowAllUp_ = Value;
    BroadcastGroup();
}

void TScButton::SetCancel(bool Value) {
    cancel_ = Value;
}

void TScButton::SetDefault(bool Value) {
    if (Value == default_) return;
    default_ = Value;
    // The form works out again which button answers Enter. Clearing the
    // flag is told too: a button that is no longer the default must not go
    // on answering Enter until the focus next moves.
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    TMessage message{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(focused), 0};
    WindowProc(message);
}

void TScButton::SetDropDownOnEnter(bool Value) {
    dropDownOnEnter_ = Value;
}

void TScButton::SetGroupIndex(int Value) {
    if (Value == groupIndex_) return;
    groupIndex_ = Value;
    BroadcastGroup();
    Invalidate();
}

void TScButton::SetDown(bool Value) {
    if (Value == down_) return;
    if (!Value && groupIndex_ != 0 && !allowAllUp_) return;
    down_ = Value;
    Invalidate();
    if (Value) BroadcastGroup();
}

void TScButton::SetFrameColor(TColor Value) {
    if (Value == frameColor_) return;
    frameColor_ = Value;
    Invalidate();
}

void TScButton::SetModalResult(TModalResult Value) {
    modalResult_ = Value;
}

void TScButton::SetShowDownPattern(bool Value) {
    if (Value == showDownPattern_) return;
    showDownPattern_ = Value;
    Invalidate();
}

void TScButton::SetShowFocusRect(bool Value) {
    if (Value == showFocusRect_) return;
    showFocusRect_ = Value;
    Invalidate();
}

void TScButton::SetHotTrack(bool Value) {
    inherited::SetHotTrack(Value);
    SetTransparentFace(Value);
}

bool TScButton::Pressed() const {
    return down_ || VisualDown();
}

bool TScButton::DefaultLook() const {
    return groupIndex_ == 0 && (activeDefault_ || Focused()) && !VisualDown();
}

void TScButton::BroadcastGroup() {
    if (!Parent()) return;
    TMessage message{SC_BUTTONGROUP, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TScButton::CreateHandleDone() {
    inherited::CreateHandleDone();
    activeDefault_ = default_;
}

void TScButton::Click() {
    std::shared_ptr<bool> alive = alive_;
    if (groupIndex_ != 0)
        SetDown(!down_);
    else
        Invalidate();
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    clicking_ = true;
    try {
        inherited::Click();
    } catch (...) {
        if (*alive) clicking_ = false;
        throw;
    }
    if (*alive) clicking_ = false;
}

void TScButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
            HandleButtonDialogMessage(this, Message, activeDefault_, cancel_);
            return;
        case CM_FOCUSCHANGED: {
            auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
            const bool active = focused && IsButtonClass(focused) ? focused == this : default_;
            if (active != activeDefault_) {
                activeDefault_ = active;
                Invalidate();
            }
            return;
        }
        case SC_BUTTONGROUP: {
            auto* sender = reinterpret_cast<TScButton*>(Message.LParam);
            if (sender == this || static_cast<int>(Message.WParam) != groupIndex_ || groupIndex_ == 0) return;
            if (sender->Down() && down_) {
                down_ = false;
                Invalidate();
            }
            allowAllUp_ = sender->AllowAllUp();
            return;
        }
        default:
            break;
    }
    inherited::WndProc(Message);
}

void TScButton::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("FrameFlat", TReaderProc(this, &TScButton::ReadFrameFlat), nullptr, false);
}

void TScButton::ReadFrameFlat(TReader* Reader) {
    SetHotTrack(Reader->ReadBoolean());
}
