// Small shared types of the component foundation: persistent option objects
// with update counting (`TZkPersistentProperty`, `TZkHotTrackOptions`), the
// dialog-code flag set, the private subclassing query and the base exception.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "classlib/core/delegate.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"
#include "classlib/graphics/colors.h"
#include "classlib/windows/messages.h"

VX_DECLARE_EXCEPTION(EZKCLException, Exception);

// Shown by the about-box property that every foundation component carries;
// it holds nothing and is never stored.
using TZKCLAboutInfo = std::string;

// Asked of a control before somebody subclasses it; answers 1 when the
// control's class implements IZkDenySubclassing.
constexpr UINT CM_DENYSUBCLASSING = CM_BASE + 2000;
struct IZkDenySubclassing {
    virtual ~IZkDenySubclassing() = default;
};

// A message whose LParam points at a structure (the hint-information record
// of CM_HINTSHOW), as handed to an inherited window procedure.
struct TStructPtrMessage : TMessage {
    TStructPtrMessage(UINT AMsg, WPARAM AWParam, void* Struct) {
        Msg = AMsg;
        WParam = AWParam;
        LParam = reinterpret_cast<LPARAM>(Struct);
        Result = 0;
    }
};

// WM_GETDLGCODE's answer as a set; dcNative means "keep what the window
// computed".
enum TDlgCode { dcWantAllKeys, dcWantArrows, dcWantChars, dcButton, dcHasSetSel, dcWantTab, dcNative };
using TDlgCodes = TSet<TDlgCode>;
TDlgCodes DlgCodesFromResult(LRESULT Result);
LRESULT DlgCodesToResult(TDlgCodes Codes);

using TZkPropertyEvent = TDelegate<void(TObject* Sender, const std::string& PropertyName)>;

// An option object that reports changes to its owner. Changing/Changed fire
// only outside BeginUpdate/EndUpdate; the property events fire always.
class TZkPersistentProperty : public TPersistent {
    VX_CLASS(TZkPersistentProperty, TPersistent)
public:
    TZkPersistentProperty() = default;

    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;
    TZkPropertyEvent OnChangingProperty;
    TZkPropertyEvent OnChangedProperty;

protected:
    virtual void Changed();
    virtual void Changing();
    virtual void ChangedProperty(const std::string& Name);
    virtual void ChangingProperty(const std::string& Name);
    virtual void SetUpdateState(bool Updating);

    // The setter sequence of every property of a descendant.
    template <class T>
    void SetProperty(T& Field, const T& Value, const char* Name) {
        if (Field == Value) return;
        Changing();
        ChangingProperty(Name);
        Field = Value;
        ChangedProperty(Name);
        Changed();
    }

private:
    int updateCount_ = 0;
};

class TZkHotTrackOptions : public TZkPersistentProperty {
    VX_CLASS(TZkHotTrackOptions, TZkPersistentProperty)
public:
    TZkHotTrackOptions() = default;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { SetProperty(enabled_, Value, "Enabled"); }
    TColor Color() const { return color_; }
    void SetColor(TColor Value) { SetProperty(color_, Value, "Color"); }
    bool FrameVisible() const { return frameVisible_; }
    void SetFrameVisible(bool Value) { SetProperty(frameVisible_, Value, "FrameVisible"); }
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor Value) { SetProperty(frameColor_, Value, "FrameColor"); }

    void Assign(TPersistent* Source) override;

private:
    bool enabled_ = false;
    TColor color_ = 0xD2BDB6;
    bool frameVisible_ = false;
    TColor frameColor_ = 0x6A240A;
};

// Shared by the extended bases.
namespace zk_detail {
// CM_DIALOGCHAR key data for a shift state: Shift 0x08000000, Ctrl
// 0x10000000, Alt 0x20000000.
LPARAM KeyDataFromShift(TShiftState Shift);
// The answer to CM_DENYSUBCLASSING for an object.
LRESULT DeniesSubclassing(const TObject* Object);
// What CM_MOUSEENTER/CM_MOUSELEAVE carry when passed on from Control: the
// control the mouse met. The control itself fires its event; passing on
// only lets the parents hear of it.
inline LPARAM MouseOrigin(TObject* Control, TObject* Self) {
    return reinterpret_cast<LPARAM>(Control ? Control : Self);
}
// Keeps the message being dispatched at hand for the operations that take
// no parameters, and restores the outer one afterwards. The message may free
// the object that holds Slot (a released form, a control freed by its own
// click): Alive, the object's liveness token, tells whether Slot still exists.
class TCurrentMessage {
public:
    TCurrentMessage(TMessage*& Slot, TMessage& Message, std::shared_ptr<bool> Alive)
        : slot_(Slot), saved_(Slot), alive_(std::move(Alive)) {
        Slot = &Message;
    }
    ~TCurrentMessage() {
        if (*alive_) slot_ = saved_;
    }
    TCurrentMessage(const TCurrentMessage&) = delete;
    TCurrentMessage& operator=(const TCurrentMessage&) = delete;

private:
    TMessage*& slot_;
    TMessage* saved_;
    std::shared_ptr<bool> alive_;
};
}  // namespace zk_detail
