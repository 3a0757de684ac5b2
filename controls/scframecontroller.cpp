#include "controls/scframecontroller.h"

#include <algorithm>

#include "classlib/core/filer.h"
#include "classlib/core/properties.h"
#include "classlib/windows/controls.h"
#include "controls/scoldprops.h"
#include "controls/scpublishnames.h"
#include "controls/scregini.h"

namespace {
[[maybe_unused]] const bool published = [] {
    using C = TScFrameController;
    TPublish<C>()
        .Property("Color", &C::Color, &C::SetColor)
        .Stored([](C* c) { return !c->ParentColor() && c->Color() != clWindow; })
        .Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor)
        .Default(clBtnFace)
        .Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor)
        .Default(clInfoBk)
        .Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus)
        .Default(0)
        .Property("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor)
        .Default(clBtnFace)
        .Property("FlatButtons", &C::FlatButtons, &C::SetFlatButtons)
        .Default(1)
        .Property("FocusColor", &C::FocusColor, &C::SetFocusColor)
        .Default(clWindow)
        .Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
        .Default(clBtnShadow)
        .Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor)
        .Default(clBtnShadow)
        .Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle, SC_FRAME_STYLE_NAMES)
        .Default(fsFlatBold)
        .Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack)
        .Default(0)
        .Property("FrameSides", &C::FrameSides, &C::SetFrameSides, SC_SIDE_NAMES)
        .Default(AllSides.Bits())
        .Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle, SC_FRAME_STYLE_NAMES)
        .Default(fsFlat)
        .Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible)
        .Default(0)
        .Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference,
                  SC_FRAMING_PREFERENCE_NAMES)
        .Default(fpXPThemes)
        .Property("ParentColor", &C::ParentColor, &C::SetParentColor)
        .Default(0)
        .Property("RegIniFile", &C::RegIniFile, &C::SetRegIniFile);
    return true;
}();

const char* const propertyNames[] = {"Color",
                                     "FocusColor",
                                     "DisabledColor",
                                     "ReadOnlyColor",
                                     "ReadOnlyColorOnFocus",
                                     "ParentColor",
                                     "FlatButtonColor",
                                     "FlatButtons",
                                     "FrameColor",
                                     "FrameHotColor",
                                     "FrameHotTrack",
                                     "FrameHotStyle",
                                     "FrameSides",
                                     "FrameStyle",
                                     "FrameVisible",
                                     "FramingPreference"};

// The order of a full update: the parent colour before the colour it may
// override.
const TScFrameControllerProperty fullOrder[] = {
    fcpParentColor,          fcpColor,         fcpDisabledColor,   fcpReadOnlyColor,
    fcpReadOnlyColorOnFocus, fcpFocusColor,    fcpFlatButtonColor, fcpFlatButtons,
    fcpFrameColor,           fcpFrameHotColor, fcpFrameHotTrack,   fcpFrameHotStyle,
    fcpFrameSides,           fcpFrameStyle,    fcpFrameVisible,    fcpFramingPreference};

TScFrameControllerNotifications NotificationsOf(TControl* Control) {
    const TPropInfo* info = GetPropInfo(Control->ClassType(), "FrameControllerNotifications");
    if (!info || info->Kind != tkSet || !info->Get) return AllFrameControllerNotifications;
    TScFrameControllerNotifications result;
    const auto bits = static_cast<std::uint64_t>(std::get<std::int64_t>(info->Get(Control)));
    for (int bit = 0; bit < fcpAll; ++bit)
        if (bits & (std::uint64_t{1} << bit)) result.Include(static_cast<TScFrameControllerProperty>(bit));
    return result;
}
}  // namespace

const char* FrameControllerPropertyName(TScFrameControllerProperty Property) {
    return Property < fcpAll ? propertyNames[Property] : "";
}

TScFrameController::TScFrameController(TComponent* AOwner) : inherited(AOwner) {}

void TScFrameController::BeforeDestruction() {
    // The free notifications stay: through them the linked controls hear
    // that the controller is going and forget it.
    controls_.clear();
    inherited::BeforeDestruction();
}

void TScFrameController::SetColor(TColor Value) {
    if (Value == color_) return;
    const bool focusFollows = focusColor_ == color_;
    color_ = Value;
    if (focusFollows) focusColor_ = Value;
    if (parentColor_) {
        parentColor_ = false;
        UpdateControls(fcpParentColor);
    }
    UpdateControls(fcpColor);
    if (focusFollows) UpdateControls(fcpFocusColor);
}

void TScFrameController::SetParentColor(bool Value) {
    if (Value == parentColor_) return;
    parentColor_ = Value;
    UpdateControls(fcpParentColor);
    if (!Value) UpdateControls(fcpColor);
}

void TScFrameController::SetFlatButtonColor(TColor Value) {
    if (Value == flatButtonColor_) return;
    flatButtonColor_ = Value;
    UpdateControls(fcpFlatButtonColor);
}

void TScFrameController::SetFlatButtons(bool Value) {
    if (Value == flatButtons_) return;
    flatButtons_ = Value;
    UpdateControls(fcpFlatButtons);
}

void TScFrameController::SetDisabledColor(TColor Value) {
    if (Value == disabledColor_) return;
    disabledColor_ = Value;
    UpdateControls(fcpDisabledColor);
}

void TScFrameController::SetReadOnlyColor(TColor Value) {
    if (Value == readOnlyColor_) return;
    readOnlyColor_ = Value;
    UpdateControls(fcpReadOnlyColor);
}

void TScFrameController::SetReadOnlyColorOnFocus(bool Value) {
    if (Value == readOnlyColorOnFocus_) return;
    readOnlyColorOnFocus_ = Value;
    UpdateControls(fcpReadOnlyColorOnFocus);
}

void TScFrameController::SetFocusColor(TColor Value) {
    if (Value == focusColor_) return;
    focusColor_ = Value;
    UpdateControls(fcpFocusColor);
}

void TScFrameController::SetFrameColor(TColor Value) {
    if (Value == frameColor_) return;
    frameColor_ = Value;
    UpdateControls(fcpFrameColor);
}

void TScFrameController::SetFrameHotColor(TColor Value) {
    if (Value == frameHotColor_) return;
    frameHotColor_ = Value;
    UpdateControls(fcpFrameHotColor);
}

void TScFrameController::SetFrameHotTrack(bool Value) {
    if (Value == frameHotTrack_) return;
    frameHotTrack_ = Value;
    if (Value) {
        SetFrameVisible(true);
        if (!ComponentState().Contains(csLoading)) SetFrameSides(AllSides);
    }
    UpdateControls(fcpFrameHotTrack);
}

void TScFrameController::SetFrameHotStyle(TFrameStyle Value) {
    if (Value == frameHotStyle_) return;
    frameHotStyle_ = Value;
    UpdateControls(fcpFrameHotStyle);
}

void TScFrameController::SetFrameSides(TSides Value) {
    if (Value == frameSides_) return;
    frameSides_ = Value;
    UpdateControls(fcpFrameSides);
}

void TScFrameController::SetFrameStyle(TFrameStyle Value) {
    if (Value == frameStyle_) return;
    frameStyle_ = Value;
    UpdateControls(fcpFrameStyle);
}

void TScFrameController::SetFrameVisible(bool Value) {
    if (Value == frameVisible_) return;
    frameVisible_ = Value;
    UpdateControls(fcpFrameVisible);
}

void TScFrameController::SetFramingPreference(TFramingPreference Value) {
    if (Value == framingPreference_) return;
    framingPreference_ = Value;
    UpdateControls(fcpFramingPreference);
}

void TScFrameController::SetRegIniFile(TScRegIniFile* Value) {
    if (Value == regIniFile_) return;
    if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
    regIniFile_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TScFrameController::AddControl(TControl* Control) {
    if (!Control || std::find(controls_.begin(), controls_.end(), Control) != controls_.end()) return;
    controls_.push_back(Control);
    Control->FreeNotification(this);
    UpdateControl(Control, fcpAll);
}

void TScFrameController::RemoveControl(TControl* Control) {
    const auto found = std::find(controls_.begin(), controls_.end(), Control);
    if (found == controls_.end()) return;
    controls_.erase(found);
    Control->RemoveFreeNotification(this);
}

void TScFrameController::BeginUpdate() {
    ++updateCount_;
}

void TScFrameController::EndUpdate() {
    if (--updateCount_ >= 1) return;
    updateCount_ = 0;
    UpdateControls(fcpAll);
}

void TScFrameController::UpdateControls(TScFrameControllerProperty Property) {
    if (updateCount_ > 0) return;
    // A control may unlink itself (or others) while it is being updated.
    const std::vector<TControl*> controls = controls_;
    for (TControl* control : controls)
        if (std::find(controls_.begin(), controls_.end(), control) != controls_.end())
            UpdateControl(control, Property);
}

void TScFrameController::UpdateControl(TControl* Control, TScFrameControllerProperty Property) {
    if (!Control) return;
    if (auto* notified = dynamic_cast<IScFrameControllerNotification*>(Control)) {
        notified->UpdateFromFrameController();
        return;
    }
    const TScFrameControllerNotifications wanted = NotificationsOf(Control);
    if (Property != fcpAll) {
        if (wanted.Contains(Property)) WriteProperty(Control, Property);
        return;
    }
    for (TScFrameControllerProperty each : fullOrder) {
        if (each == fcpColor && parentColor_) continue;
        if (wanted.Contains(each)) WriteProperty(Control, each);
    }
}

void TScFrameController::WriteProperty(TControl* Control, TScFrameControllerProperty Property) {
    const char* name = FrameControllerPropertyName(Property);
    const TPropInfo* info = GetPropInfo(Control->ClassType(), name);
    if (!info || !info->Set) return;
    try {
        if (Property == fcpFrameSides)
            SetSetProp(Control, name, GetSetProp(this, name));
        else
            SetOrdProp(Control, name, GetOrdProp(this, name));
    } catch (const EPropertyError&) {
        // A property of the same name but another kind is not ours to set.
    }
}

void TScFrameController::Loaded() {
    inherited::Loaded();
    UpdateControls(fcpAll);
}

void TScFrameController::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TScFrameController*>(Source);
    if (!other) {
        inherited::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        SetParentColor(other->parentColor_);
        SetColor(other->color_);
        parentColor_ = other->parentColor_;
        SetDisabledColor(other->disabledColor_);
        SetReadOnlyColor(other->readOnlyColor_);
        SetReadOnlyColorOnFocus(other->readOnlyColorOnFocus_);
        SetFocusColor(other->focusColor_);
        SetFlatButtonColor(other->flatButtonColor_);
        SetFlatButtons(other->flatButtons_);
        SetFrameColor(other->frameColor_);
        SetFrameHotColor(other->frameHotColor_);
        SetFrameHotTrack(other->frameHotTrack_);
        SetFrameHotStyle(other->frameHotStyle_);
        SetFrameSides(other->frameSides_);
        SetFrameStyle(other->frameStyle_);
        SetFrameVisible(other->frameVisible_);
        SetFramingPreference(other->framingPreference_);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TScFrameController::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == regIniFile_) regIniFile_ = nullptr;
    const auto found = std::find(controls_.begin(), controls_.end(), AComponent);
    if (found != controls_.end()) controls_.erase(found);
}

void TScFrameController::DefineProperties(TFiler* Filer) {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty("FrameFlat", TReaderProc(this, &TScFrameController::ReadFrameFlat), nullptr, false);
    Filer->DefineProperty("FrameFocusStyle", TReaderProc(this, &TScFrameController::ReadFrameFocusStyle),
                          nullptr, false);
    Filer->DefineProperty("FrameFlatStyle", TReaderProc(OldPropReader(), &TScOldPropReader::ReadIdent),
                          nullptr, false);
}

void TScFrameController::ReadFrameFlat(TReader* Reader) {
    const bool flat = Reader->ReadBoolean();
    SetFrameHotTrack(flat);
    if (flat) {
        SetFrameStyle(fsStatus);
        SetFrameHotStyle(fsLowered);
    }
}

void TScFrameController::ReadFrameFocusStyle(TReader* Reader) {
    const std::string ident = Reader->ReadIdent();
    const TPropInfo* info = GetPropInfo(ClassType(), "FrameHotStyle");
    const int value = info ? GetEnumValue(*info, ident) : -1;
    if (value >= 0) SetFrameHotStyle(static_cast<TFrameStyle>(value));
}
