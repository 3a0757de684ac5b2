// Owner-drawn push buttons. `TScCustomButton` holds the mouse and
// space-key state machine (hot, pressed, focused) and the text effects;
// `TScButton` adds default and cancel buttons, the modal result, toggle
// groups and the classic, hot-track and themed faces.
#pragma once

#include "classlib/graphics/bitmap.h"
#include "classlib/stdctrls/controlactions.h"
#include "classlib/windows/alignment.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/forms.h"
#include "controls/sctexteffects.h"
#include "controls/sctypes.h"

class TReader;

// Sent to a group's buttons: wParam the group index, lParam the sender.
constexpr UINT SC_BUTTONGROUP = 0x2421;

class TScCustomButton : public TCustomControl {
    VX_CLASS(TScCustomButton, TCustomControl)
public:
    explicit TScCustomButton(TComponent* AOwner);

    TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
    virtual void SetAlignmentVertical(TAlignmentVertical Value);
    TColor HighlightColor() const { return highlightColor_; }
    virtual void SetHighlightColor(TColor Value);
    bool HotTrack() const { return hotTrack_; }
    virtual void SetHotTrack(bool Value);
    TColor HotTrackColor() const { return hotTrackColor_; }
    virtual void SetHotTrackColor(TColor Value);
    TScHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
    virtual void SetHotTrackColorType(TScHotTrackColorType Value);
    bool LightTextStyle() const { return effects_.Light; }
    virtual void SetLightTextStyle(bool Value);
    TTextStyle TextStyle() const { return effects_.Style; }
    virtual void SetTextStyle(TTextStyle Value);
    TColor TextHighlightColor() const { return effects_.Highlight; }
    virtual void SetTextHighlightColor(TColor Value);
    TColor TextShadowColor() const { return effects_.Shadow; }
    virtual void SetTextShadowColor(TColor Value);
    int TextShadowDepth() const { return effects_.ShadowDepth; }
    virtual void SetTextShadowDepth(int Value);
    bool ThemeAware() const { return themeAware_; }
    virtual void SetThemeAware(bool Value);

    // An action lends the button its caption, enabled state, hint,
    // visibility and click (and a bit button its image).
    TBasicAction* Action() const { return actions_.Action(); }
    void SetAction(TBasicAction* Value) { actions_.SetAction(Value); }

    // The state machine, as the face is painted from it.
    bool MouseOver() const { return mouseOver_; }
    bool VisualDown() const { return visualDown_; }
    bool PressedByMouse() const { return pressedByMouse_; }
    bool PressedBySpace() const { return pressedBySpace_; }

    void Click() override;
    void InitiateAction() override { actions_.InitiateAction(); }
    void Loaded() override;
    void WndProc(TMessage& Message) override;

protected:
    TControlActionSupport& ActionSupport() { return actions_; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;

    void Paint() override;
    // The painting steps, in order; PaintFace answers false when it painted
    // the whole button and the caption must not follow.
    virtual void PaintBackground(TCanvas* Canvas);
    virtual bool PaintFace(TCanvas* Canvas);
    virtual void PaintGlyph(TCanvas*) {}
    virtual void PaintCaption(TCanvas* Canvas);
    virtual void PaintFocus(TCanvas* Canvas);
    virtual TRect GetCaptionRect();
    virtual TAlignment CaptionAlignment() const { return taCenter; }

    // Visual styles draw this button.
    bool Themed() const;
    // Pressed by mouse or key and not dragged off.
    virtual bool Pressed() const { return visualDown_; }
    bool TransparentFace() const { return transparentFace_; }
    void SetTransparentFace(bool Value);

private:
    void LeaveFocus();

    TAlignmentVertical alignmentVertical_ = avCenter;
    TColor highlightColor_ = clHighlight;
    bool hotTrack_ = false;
    TColor hotTrackColor_ = 0x149BF0;
    TScHotTrackColorType hotTrackColorType_ = htctActual;
    TScTextEffects effects_;
    bool themeAware_ = true;

    bool mouseOver_ = false;
    bool pressedByMouse_ = false;
    bool visualDown_ = false;
    bool pressedBySpace_ = false;
    bool transparentFace_ = false;
    TControlActionSupport actions_{this};
};

class TScButton : public TScCustomButton {
    VX_CLASS(TScButton, TScCustomButton)
public:
    explicit TScButton(TComponent* AOwner);

    TAlignment Alignment() const { return alignment_; }
    virtual void SetAlignment(TAlignment Value);
    bool AllowAllUp() const { return allowAllUp_; }
    virtual void SetAllowAllUp(bool Value);
    bool Cancel() const { return cancel_; }
    virtual void SetCancel(bool Value);
    bool Default() const { return default_; }
    virtual void SetDefault(bool Value);
    bool DropDownOnEnter() const { return dropDownOnEnter_; }
    virtual void SetDropDownOnEnter(bool Value);
    int GroupIndex() const { return groupIndex_; }
    virtual void SetGroupIndex(int Value);
    bool Down() const { return down_; }
    virtual void SetDown(bool Value);
    TColor FrameColor() const { return frameColor_; }
    virtual void SetFrameColor(TColor Value);
    TModalResult ModalResult() const { return modalResult_; }
    virtual void SetModalResult(TModalResult Value);
    bool ShowDownPattern() const { return showDownPattern_; }
    virtual void SetShowDownPattern(bool Value);
    bool ShowFocusRect() const { return showFocusRect_; }
    virtual void SetShowFocusRect(bool Value);
    void SetHotTrack(bool Value) override;

    // Drawn and answering Enter as the form's default button.
    bool ActiveDefault() const { return activeDefault_; }
    // Inside the button's own click (its OnClick included).
    bool Clicking() const { return clicking_; }

    void Click() override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateHandleDone() override;
    void DefineProperties(TFiler* Filer) override;
    void PaintBackground(TCanvas* Canvas) override;
    bool PaintFace(TCanvas* Canvas) override;
    void PaintFocus(TCanvas* Canvas) override;
    TRect GetCaptionRect() override;
    TAlignment CaptionAlignment() const override { return alignment_; }
    bool Pressed() const override;

private:
    void PaintThemedFace(TCanvas* Canvas);
    void PaintHotTrackFace(TCanvas* Canvas);
    void PaintClassicFace(TCanvas* Canvas);
    void PaintGradientFace(TCanvas* Canvas, const TRect& Face);
    void PaintFrameLines(TCanvas* Canvas, const TRect& R, bool Framed);
    bool DefaultLook() const;
    void BroadcastGroup();
    void ReadFrameFlat(TReader* Reader);

    TAlignment alignment_ = taCenter;
    bool allowAllUp_ = false;
    bool cancel_ = false;
    bool default_ = false;
    bool dropDownOnEnter_ = true;
    int groupIndex_ = 0;
    bool down_ = false;
    TColor frameColor_ = cl3DDkShadow;
    TModalResult modalResult_ = mrNone;
    bool showDownPattern_ = true;
    bool showFocusRect_ = true;
    bool activeDefault_ = false;
    bool clicking_ = false;
};

// The 8 x 8 brush of a Down button: Color with every pixel whose x and y
// have the same parity in silver (grey on a silver button).
TOwned<TBitmap> MakeDownPattern(TColor Color);
