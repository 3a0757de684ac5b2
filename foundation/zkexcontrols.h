// `TZkExGraphicControl`: a graphic control whose component notifications
// (CM_* messages) arrive as overridable operations; each default hands the
// message on to the inherited window procedure.
#pragma once

#include <string>

#include "classlib/windows/controls.h"
#include "classlib/windows/hintwindow.h"
#include "foundation/zknotifications.h"
#include "foundation/zktypes.h"

class TZkExGraphicControl : public TGraphicControl {
    VX_CLASS(TZkExGraphicControl, TGraphicControl)
public:
    explicit TZkExGraphicControl(TComponent* AOwner);

    void WndProc(TMessage& Message) override;

    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor Value) { hintColor_ = Value; }
    bool MouseOver() const { return mouseOver_; }
    // The hint window class for this control's hints (null: the application's).
    TClass HintWindowClass() const { return hintWindowClass_; }
    void SetHintWindowClass(TClass Value) { hintWindowClass_ = Value; }

    TZKCLAboutInfo AboutZKCL() const { return {}; }
    void SetAboutZKCL(const TZKCLAboutInfo&) {}

    // OnMouseEnter and OnMouseLeave are the control's own (TControl), fired
    // by MouseEnter and MouseLeave.
    TNotifyEvent OnParentColorChange;

protected:
    template <class Target>
    friend bool zk_detail::DispatchSharedNotification(Target& target, TMessage& Message);

    virtual void TextChanged();
    virtual bool WantKey(int Key, TShiftState Shift, const std::string& KeyText);
    virtual bool HitTest(int X, int Y);

    virtual void FocusChanged(TControl* Control);
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void ColorChanged();
    virtual void FontChanged();
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();
    virtual bool HintShow(THintInfo& HintInfo);
    virtual void MouseEnter(TControl* Control);
    virtual void MouseLeave(TControl* Control);

    // Where the default operations send their messages.
    virtual void InheritedWndProc(TMessage& Message) { inherited::WndProc(Message); }

private:
    // Hands the message being dispatched on, under another number.
    LRESULT PassOn(UINT Msg);
    LRESULT PassOn(UINT Msg, WPARAM WParam, LPARAM LParam);

    TColor hintColor_ = clDefault;
    bool mouseOver_ = false;
    TClass hintWindowClass_ = nullptr;
    TMessage* current_ = nullptr;
};
