// `TScLabel`: a label with raised, recessed and shadowed text, text turned
// by an angle or laid along an arc, a frame drawn around it, a colour while
// the mouse is over it, blinking in step with every other blinking label,
// and settings taken from a frame controller.
#pragma once

#include <cstdint>

#include "classlib/stdctrls/label.h"
#include "controls/scframecontroller.h"
#include "controls/sctexteffects.h"
#include "controls/sctypes.h"

enum TScCondenseCaption { ccNone, ccAtEnd, ccWithinPath };
enum TCenterPoint {
    cpUpperLeft,
    cpUpperCenter,
    cpUpperRight,
    cpLeftCenter,
    cpCenter,
    cpRightCenter,
    cpLowerLeft,
    cpLowerCenter,
    cpLowerRight
};
enum TRotation { roNone, roFlat, roCurve };

// Any whole number of degrees as 0..359: -30 gives 330, 370 gives 10.
int NormalizeAngle(int Angle);
// The escapement, in tenths of a degree, of a letter of curved text whose
// running angle is Radians.
int CurveEscapement(double Radians);

class TScLabel : public TLabel, public IScFrameControllerNotification {
    VX_CLASS(TScLabel, TLabel)
public:
    explicit TScLabel(TComponent* AOwner);
    void BeforeDestruction() override;

    void UpdateFromFrameController() override;

    int Angle() const { return angle_; }
    virtual void SetAngle(int Value);
    bool Blinking() const { return blinking_; }
    virtual void SetBlinking(bool Value);
    TColor BlinkColor() const { return blinkColor_; }
    virtual void SetBlinkColor(TColor Value);
    // Shared by every label: the blinking list's intervals.
    std::uint16_t BlinkIntervalOff() const;
    virtual void SetBlinkIntervalOff(std::uint16_t Value);
    std::uint16_t BlinkIntervalOn() const;
    virtual void SetBlinkIntervalOn(std::uint16_t Value);
    int BevelWidth() const { return bevelWidth_; }
    virtual void SetBevelWidth(int Value);
    TColor BorderColor() const { return borderColor_; }
    virtual void SetBorderColor(TColor Value);
    TFrameStyleEx BorderInner() const { return borderInner_; }
    virtual void SetBorderInner(TFrameStyleEx Value);
    TFrameStyleEx BorderOuter() const { return borderOuter_; }
    virtual void SetBorderOuter(TFrameStyleEx Value);
    TSides BorderSides() const { return borderSides_; }
    virtual void SetBorderSides(TSides Value);
    TColor BorderHighlight() const { return borderHighlight_; }
    virtual void SetBorderHighlight(TColor Value);
    TColor BorderShadow() const { return borderShadow_; }
    virtual void SetBorderShadow(TColor Value);
    int BorderWidth() const { return borderWidth_; }
    virtual void SetBorderWidth(int Value);
    TScCondenseCaption CondenseCaption() const { return condenseCaption_; }
    virtual void SetCondenseCaption(TScCondenseCaption Value);
    TColor FlatColor() const { return flatColor_; }
    virtual void SetFlatColor(TColor Value);
    int FlatColorAdjustment() const { return flatColorAdjustment_; }
    virtual void SetFlatColorAdjustment(int Value);
    TScFrameController* FrameController() const { return frameController_; }
    virtual void SetFrameController(TScFrameController* Value);
    TScFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
    void SetFrameControllerNotifications(TScFrameControllerNotifications Value) { notifications_ = Value; }
    TCenterPoint CenterPoint() const { return centerPoint_; }
    virtual void SetCenterPoint(TCenterPoint Value);
    TColor FlyByColor() const { return flyByColor_; }
    virtual void SetFlyByColor(TColor Value);
    bool FlyByEnabled() const { return flyByEnabled_; }
    virtual void SetFlyByEnabled(bool Value);
    bool LightTextStyle() const { return effects_.Light; }
    virtual void SetLightTextStyle(bool Value);
    TRotation Rotation() const { return rotation_; }
    virtual void SetRotation(TRotation Value);
    int TextMargin() const { return textMargin_; }
    virtual void SetTextMargin(int Value);
    TTextStyle TextStyle() const { return effects_.Style; }
    virtual void SetTextStyle(TTextStyle Value);
    TColor HighlightColor() const { return effects_.Highlight; }
    virtual void SetHighlightColor(TColor Value);
    TColor ShadowColor() const { return effects_.Shadow; }
    virtual void SetShadowColor(TColor Value);
    int ShadowDepth() const { return effects_.ShadowDepth; }
    virtual void SetShadowDepth(int Value);

    // The colour the text is drawn in now (blink and fly-by included).
    TColor TextColor() const { return textColor_; }

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

protected:
    virtual void BlinkStateChanged(bool On);
    // Adds what the frame takes on each of the label's sides to Size.
    virtual void GetFrameExtent(TSize& Size);
    void AdjustBounds() override;
    void Paint() override;
    void DefineProperties(TFiler* Filer) override;

private:
    void Relayout();
    void UseTrueTypeFont();
    UINT TextFlags() const;
    void DrawFlatText(TCanvas* Canvas, const TRect& Inner);
    void DrawRotatedText(TCanvas* Canvas, const TRect& Inner);
    void DrawCurvedText(TCanvas* Canvas);
    void DrawLayers(TCanvas* Canvas, const std::function<void(int DX, int DY)>& DrawAt);

    int angle_ = 0;
    bool blinking_ = false;
    TColor blinkColor_ = clHighlight;
    int bevelWidth_ = 1;
    TColor borderColor_ = clBtnFace;
    TFrameStyleEx borderInner_ = fsNone;
    TFrameStyleEx borderOuter_ = fsNone;
    TSides borderSides_ = AllSides;
    TColor borderHighlight_ = clBtnHighlight;
    TColor borderShadow_ = clBtnShadow;
    int borderWidth_ = 0;
    TScCondenseCaption condenseCaption_ = ccNone;
    TColor flatColor_ = clBtnShadow;
    int flatColorAdjustment_ = 30;
    TScFrameController* frameController_ = nullptr;
    TScFrameControllerNotifications notifications_ = AllFrameControllerNotifications;
    TCenterPoint centerPoint_ = cpCenter;
    TColor flyByColor_ = clHighlight;
    bool flyByEnabled_ = false;
    TRotation rotation_ = roNone;
    int textMargin_ = 0;
    TScTextEffects effects_;

    TColor normalColor_ = clWindowText;
    TColor textColor_ = clWindowText;
    TColor savedColor_ = clWindowText;
    bool mouseInside_ = false;
    bool constructing_ = true;
};
