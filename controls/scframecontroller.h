// `TScFrameController`: one set of colour and frame settings that it pushes
// to every control linked to it, either through the control's own
// `IScFrameControllerNotification` or by writing the published properties of
// the same names; changes between BeginUpdate and EndUpdate arrive as one.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/core/component.h"
#include "classlib/graphics/colors.h"
#include "controls/sctypes.h"

class TControl;
class TScRegIniFile;
class TFiler;
class TReader;

enum TScFrameControllerProperty {
    fcpColor,
    fcpFocusColor,
    fcpDisabledColor,
    fcpReadOnlyColor,
    fcpReadOnlyColorOnFocus,
    fcpParentColor,
    fcpFlatButtonColor,
    fcpFlatButtons,
    fcpFrameColor,
    fcpFrameHotColor,
    fcpFrameHotTrack,
    fcpFrameHotStyle,
    fcpFrameSides,
    fcpFrameStyle,
    fcpFrameVisible,
    fcpFramingPreference,
    fcpAll
};
// The first sixteen properties, bit n for property n.
using TScFrameControllerNotifications = TSet<TScFrameControllerProperty>;
inline constexpr TScFrameControllerNotifications AllFrameControllerNotifications = [] {
    TScFrameControllerNotifications all;
    for (int each = fcpColor; each < fcpAll; ++each)
        all.Include(static_cast<TScFrameControllerProperty>(each));
    return all;
}();

class TScFrameController;

// A control that reads the controller's settings itself instead of having
// them written into its properties.
class IScFrameControllerNotification {
public:
    virtual void UpdateFromFrameController() = 0;

protected:
    ~IScFrameControllerNotification() = default;
};

class TScFrameController : public TComponent {
    VX_CLASS(TScFrameController, TComponent)
public:
    explicit TScFrameController(TComponent* AOwner);

    TColor Color() const { return color_; }
    virtual void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    virtual void SetParentColor(bool Value);
    TColor FlatButtonColor() const { return flatButtonColor_; }
    virtual void SetFlatButtonColor(TColor Value);
    bool FlatButtons() const { return flatButtons_; }
    virtual void SetFlatButtons(bool Value);
    TColor DisabledColor() const { return disabledColor_; }
    virtual void SetDisabledColor(TColor Value);
    TColor ReadOnlyColor() const { return readOnlyColor_; }
    virtual void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
    virtual void SetReadOnlyColorOnFocus(bool Value);
    TColor FocusColor() const { return focusColor_; }
    virtual void SetFocusColor(TColor Value);
    TColor FrameColor() const { return frameColor_; }
    virtual void SetFrameColor(TColor Value);
    TColor FrameHotColor() const { return frameHotColor_; }
    virtual void SetFrameHotColor(TColor Value);
    bool FrameHotTrack() const { return frameHotTrack_; }
    virtual void SetFrameHotTrack(bool Value);
    TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
    virtual void SetFrameHotStyle(TFrameStyle Value);
    TSides FrameSides() const { return frameSides_; }
    virtual void SetFrameSides(TSides Value);
    TFrameStyle FrameStyle() const { return frameStyle_; }
    virtual void SetFrameStyle(TFrameStyle Value);
    bool FrameVisible() const { return frameVisible_; }
    virtual void SetFrameVisible(bool Value);
    TFramingPreference FramingPreference() const { return framingPreference_; }
    virtual void SetFramingPreference(TFramingPreference Value);
    TScRegIniFile* RegIniFile() const { return regIniFile_; }
    virtual void SetRegIniFile(TScRegIniFile* Value);

    // A control joins once and is told every setting at once; the
    // controller hears when it goes away, so a control freed without
    // RemoveControl is dropped rather than called later.
    void AddControl(TControl* Control);
    void RemoveControl(TControl* Control);
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    void BeginUpdate();
    void EndUpdate();

    void Loaded() override;
    void Assign(TPersistent* Source) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

protected:
    virtual void UpdateControl(TControl* Control, TScFrameControllerProperty Property);
    virtual void UpdateControls(TScFrameControllerProperty Property);
    void DefineProperties(TFiler* Filer) override;

private:
    void WriteProperty(TControl* Control, TScFrameControllerProperty Property);
    void ReadFrameFlat(TReader* Reader);
    void ReadFrameFocusStyle(TReader* Reader);

    TColor color_ = clWindow;
    bool parentColor_ = false;
    TColor flatButtonColor_ = clBtnFace;
    bool flatButtons_ = true;
    TColor disabledColor_ = clBtnFace;
    TColor readOnlyColor_ = clInfoBk;
    bool readOnlyColorOnFocus_ = false;
    TColor focusColor_ = clWindow;
    TColor frameColor_ = clBtnShadow;
    TColor frameHotColor_ = clBtnShadow;
    bool frameHotTrack_ = false;
    TFrameStyle frameHotStyle_ = fsFlatBold;
    TSides frameSides_ = AllSides;
    TFrameStyle frameStyle_ = fsFlat;
    bool frameVisible_ = false;
    TFramingPreference framingPreference_ = fpXPThemes;
    TScRegIniFile* regIniFile_ = nullptr;

    std::vector<TControl*> controls_;
    int updateCount_ = 0;
};

// The names the controller writes, by property (also the identifiers of
// the frame styles, for the text forms).
const char* FrameControllerPropertyName(TScFrameControllerProperty Property);
