#include "controls/sclabel.h"

#include <cmath>

#include "classlib/core/filer.h"
#include "classlib/core/properties.h"
#include "classlib/graphics/handles.h"
#include "controls/scblinking.h"
#include "controls/sccolors.h"
#include "controls/scoldprops.h"
#include "controls/scpublishnames.h"
#include "controls/scscheme.h"
#include "controls/sctext.h"

namespace {
// The link a form file makes between a label and its controller.
[[maybe_unused]] const bool published = [] {
    PublishControlProperties();
    TPublish<TScLabel>()
        .Property("FrameController", &TScLabel::FrameController, &TScLabel::SetFrameController)
        .Property("FrameControllerNotifications", &TScLabel::FrameControllerNotifications,
                  &TScLabel::SetFrameControllerNotifications, SC_FRAME_CONTROLLER_PROPERTY_NAMES)
        .Default(AllFrameControllerNotifications.Bits());
    return true;
}();
}  // namespace

int NormalizeAngle(int Angle) {
    const int angle = Angle % 360;
    return angle < 0 ? angle + 360 : angle;
}

TScLabel::TScLabel(TComponent* AOwner) : inherited(AOwner) {
    InitScCommon();
    SetColor(clBtnFace);
    SetParentColor(true);
    normalColor_ = textColor_ = savedColor_ = Font()->Color();
    NeedBlinkingControlsList()->Add(this);
    constructing_ = false;
}

void TScLabel::BeforeDestruction() {
    if (frameController_) {
        TScFrameController* controller = frameController_;
        frameController_ = nullptr;
        controller->RemoveControl(this);
    }
    if (BlinkingControlsList) BlinkingControlsList->Remove(this);
    FreeBlinkingControlsList();
    inherited::BeforeDestruction();
}

void TScLabel::Relayout() {
    AdjustBounds();
    Invalidate();
}

void TScLabel::UseTrueTypeFont() {
    // Only outline fonts turn; the others would be drawn flat.
    if (!IsTrueTypeFont(Font())) Font()->SetName("Verdana");
}

// --- properties

void TScLabel::SetAngle(int Value) {
    Value = NormalizeAngle(Value);
    if (Value == angle_) return;
    angle_ = Value;
    if (Value != 0) {
        if (!ComponentState().Contains(csLoading)) UseTrueTypeFont();
        if (rotation_ == roNone) rotation_ = roFlat;
    }
    Relayout();
}

void TScLabel::SetRotation(TRotation Value) {
    if (Value == rotation_) return;
    rotation_ = Value;
    if (Value != roNone && !ComponentState().Contains(csLoading)) UseTrueTypeFont();
    if (Value == roNone || Value == roFlat) angle_ = 0;
    if (Value == roFlat) centerPoint_ = cpCenter;
    Relayout();
}

void TScLabel::SetBlinking(bool Value) {
    if (Value == blinking_) return;
    blinking_ = Value;
    if (!Value) {
        textColor_ = normalColor_;
        Invalidate();
    }
}

void TScLabel::SetBlinkColor(TColor Value) {
    if (Value == blinkColor_) return;
    blinkColor_ = Value;
    Invalidate();
}

std::uint16_t TScLabel::BlinkIntervalOff() const {
    return BlinkingControlsList ? BlinkingControlsList->IntervalOff() : 500;
}

void TScLabel::SetBlinkIntervalOff(std::uint16_t Value) {
    NeedBlinkingControlsList()->SetIntervalOff(Value);
}

std::uint16_t TScLabel::BlinkIntervalOn() const {
    return BlinkingControlsList ? BlinkingControlsList->IntervalOn() : 500;
}

void TScLabel::SetBlinkIntervalOn(std::uint16_t Value) {
    NeedBlinkingControlsList()->SetIntervalOn(Value);
}

#define SC_SETTER(Name, Type, Field, After) \
    void TScLabel::Set##Name(Type Value) {  \
        if (Value == Field) return;         \
        Field = Value;                      \
        After();                            \
    }

SC_SETTER(BevelWidth, int, bevelWidth_, Relayout)
SC_SETTER(BorderColor, TColor, borderColor_, Invalidate)
SC_SETTER(BorderInner, TFrameStyleEx, borderInner_, Relayout)
SC_SETTER(BorderOuter, TFrameStyleEx, borderOuter_, Relayout)
SC_SETTER(BorderSides, TSides, borderSides_, Relayout)
SC_SETTER(BorderHighlight, TColor, borderHighlight_, Invalidate)
SC_SETTER(BorderShadow, TColor, borderShadow_, Invalidate)
SC_SETTER(BorderWidth, int, borderWidth_, Relayout)
SC_SETTER(FlatColor, TColor, flatColor_, Invalidate)
SC_SETTER(FlatColorAdjustment, int, flatColorAdjustment_, Invalidate)
SC_SETTER(CenterPoint, TCenterPoint, centerPoint_, Invalidate)
SC_SETTER(FlyByColor, TColor, flyByColor_, Invalidate)
SC_SETTER(LightTextStyle, bool, effects_.Light, Invalidate)
SC_SETTER(TextMargin, int, textMargin_, Relayout)
SC_SETTER(TextStyle, TTextStyle, effects_.Style, Relayout)
SC_SETTER(HighlightColor, TColor, effects_.Highlight, Invalidate)
SC_SETTER(ShadowColor, TColor, effects_.Shadow, Invalidate)
SC_SETTER(ShadowDepth, int, effects_.ShadowDepth, Relayout)

#undef SC_SETTER

void TScLabel::SetCondenseCaption(TScCondenseCaption Value) {
    if (Value == condenseCaption_) return;
    condenseCaption_ = Value;
    // A shortened caption needs a width of its own to be shortened to.
    if (Value != ccNone) SetAutoSize(false);
    Invalidate();
}

void TScLabel::SetFlyByEnabled(bool Value) {
    if (Value == flyByEnabled_) return;
    flyByEnabled_ = Value;
    if (!Value && mouseInside_) {
        textColor_ = savedColor_;
        mouseInside_ = false;
        Invalidate();
    }
}

void TScLabel::SetFrameController(TScFrameController* Value) {
    if (Value == frameController_) return;
    if (frameController_) frameController_->RemoveControl(this);
    frameController_ = Value;
    // Linking makes both sides hear of the other's end.
    if (Value) Value->AddControl(this);
}

void TScLabel::UpdateFromFrameController() {
    if (!frameController_ || !frameController_->FrameVisible()) return;
    const TScFrameControllerNotifications bits = notifications_;
    if (bits.Contains(fcpFrameStyle)) SetBorderOuter(frameController_->FrameStyle());
    if (bits.Contains(fcpFrameSides)) SetBorderSides(frameController_->FrameSides());
    if (bits.Contains(fcpFrameColor)) {
        SetFlatColor(frameController_->FrameColor());
        SetFlatColorAdjustment(0);
    }
    const bool colours = bits.Contains(fcpColor) || bits.Contains(fcpParentColor);
    if (bits.Contains(fcpColor)) SetColor(frameController_->Color());
    if (bits.Contains(fcpParentColor)) SetParentColor(frameController_->ParentColor());
    if (colours) {
        SetBorderHighlight(LighterColor(Color(), 100));
        SetBorderShadow(DarkerColor(Color(), 50));
    }
    Invalidate();
}

// --- life and messages

void TScLabel::Loaded() {
    inherited::Loaded();
    if (angle_ != 0 && rotation_ == roNone) rotation_ = roFlat;
    if (rotation_ != roNone) UseTrueTypeFont();
    normalColor_ = textColor_ = Font()->Color();
    Relayout();
}

void TScLabel::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == frameController_) frameController_ = nullptr;
}

void TScLabel::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("FrameSides", TReaderProc(OldPropReader(), &TScOldPropReader::ReadStrings), nullptr,
                          false);
}

void TScLabel::BlinkStateChanged(bool On) {
    textColor_ = On ? blinkColor_ : normalColor_;
    Invalidate();
}

void TScLabel::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case SC_BLINKQUERY:
            Message.Result = blinking_ ? 1 : 0;
            return;
        case SC_BLINKPHASE:
            if (blinking_) BlinkStateChanged(Message.WParam != 0);
            return;
        case CM_FONTCHANGED:
            if (!ComponentState().Contains(csLoading)) {
                if (!blinking_) normalColor_ = textColor_ = Font()->Color();
                if (angle_ != 0 && !IsTrueTypeFont(Font())) angle_ = 0;
            }
            break;
        case CM_MOUSEENTER:
            if (Message.LParam == 0 && flyByEnabled_ && !mouseInside_) {
                mouseInside_ = true;
                savedColor_ = textColor_;
                textColor_ = flyByColor_;
                Invalidate();
            }
            break;
        case CM_MOUSELEAVE:
            if (Message.LParam == 0 && mouseInside_) {
                mouseInside_ = false;
                textColor_ = savedColor_;
                Invalidate();
            }
            break;
        case CM_PARENTCOLORCHANGED:
            if (constructing_) return;
            break;
        default:
            break;
    }
    inherited::WndProc(Message);
}

// --- size

namespace {
int StyleExtent(TFrameStyleEx Style, int BevelWidth) {
    switch (Style) {
        case fsFlat:
            return 1;
        case fsStatus:
        case fsPopup:
            return BevelWidth;
        case fsGroove:
        case fsBump:
        case fsLowered:
        case fsButtonDown:
        case fsRaised:
        case fsButtonUp:
            return 2;
        default:
            return 0;
    }
}

constexpr double Pi = 3.14159265358979323846;
}  // namespace

void TScLabel::GetFrameExtent(TSize& Size) {
    const int side =
        StyleExtent(borderOuter_, bevelWidth_) + StyleExtent(borderInner_, bevelWidth_) + borderWidth_;
    for (TSide each : {sdLeft, sdRight})
        if (borderSides_.Contains(each)) Size.cx += side;
    for (TSide each : {sdTop, sdBottom})
        if (borderSides_.Contains(each)) Size.cy += side;
}

UINT TScLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS | AlignmentToDrawTextFlags(Alignment());
    if (WordWrap()) flags |= DT_WORDBREAK;
    if (!ShowAccelChar()) flags |= DT_NOPREFIX;
    if (condenseCaption_ == ccAtEnd) flags |= DT_END_ELLIPSIS;
    if (condenseCaption_ == ccWithinPath) flags |= DT_PATH_ELLIPSIS;
    return flags;
}

void TScLabel::AdjustBounds() {
    if (!AutoSize() || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
    std::wstring text = GetLabelText();
    if (text.empty()) text = L" ";
    RECT r{0, 0, Width(), 0};
    {
        TWindowDC screen;
        TSelectObject font(screen.Get(), Font()->Handle());
        DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
    }
    TSize size{r.right - r.left, r.bottom - r.top};
    const bool turned = rotation_ == roFlat && angle_ != 0 && angle_ != 180;
    if (turned) {
        const double a = angle_ * Pi / 180.0;
        const double w = size.cx, h = size.cy;
        size.cx = static_cast<LONG>(std::lround(std::fabs(std::cos(a)) * w + std::fabs(std::sin(a)) * h));
        size.cy = static_cast<LONG>(std::lround(std::fabs(std::sin(a)) * w + std::fabs(std::cos(a)) * h));
        if (effects_.Style == tsShadow) {
            size.cx += effects_.ShadowDepth / 2;
            size.cy += effects_.ShadowDepth / 2;
        }
    } else if (effects_.Style == tsShadow) {
        size.cx += effects_.ShadowDepth;
        size.cy += effects_.ShadowDepth;
    }
    // The margin is taken from the text's room when painting; give it back.
    size.cx += 2 * textMargin_;
    size.cy += 2 * textMargin_;
    GetFrameExtent(size);
    int left = Left();
    if (Alignment() == taRightJustify) left += Width() - size.cx;
    SetBounds(left, Top(), size.cx, size.cy);
}
