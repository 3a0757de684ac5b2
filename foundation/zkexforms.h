// `TZkExCustomForm` and `TZkExForm`: forms whose component notifications,
// focus, erase, dialog-code and size messages arrive as overridable
// operations, with an optional highlight frame drawn around the window.
#pragma once

#include <memory>
#include <string>

#include "classlib/windows/forms.h"
#include "classlib/windows/hintwindow.h"
#include "foundation/zknotifications.h"
#include "foundation/zktypes.h"

// The highlight frame of DotNetHighlighting over Bounds: the outer ring in
// 0x808080 (0x733800 when Hot), the ring inside it in 0x733800 when Hot,
// else in InnerColor.
void DrawHighlightFrame(HDC DC, const TRect& Bounds, bool Hot, TColor InnerColor);

// Both form bases share this body; Base is TCustomForm or TForm.
template <class Base>
class TZkExFormImpl : public Base {
public:
    using inherited = Base;
    // Create: filled from the form resource; CreateNew: empty.
    explicit TZkExFormImpl(TComponent* AOwner) : Base(AOwner) {}
    TZkExFormImpl(TComponent* AOwner, int Dummy) : Base(AOwner, Dummy) {}

    void WndProc(TMessage& Message) override;

    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor Value) { hintColor_ = Value; }
    bool MouseOver() const { return mouseOver_; }
    TClass HintWindowClass() const { return hintWindowClass_; }
    void SetHintWindowClass(TClass Value) { hintWindowClass_ = Value; }
    bool DotNetHighlighting() const { return dotNetHighlighting_; }
    void SetDotNetHighlighting(bool Value) { dotNetHighlighting_ = Value; }

    TZKCLAboutInfo AboutZKCL() const { return {}; }
    void SetAboutZKCL(const TZKCLAboutInfo&) {}

    // OnMouseEnter and OnMouseLeave are the control's own (TControl).
    TNotifyEvent OnParentColorChange;

protected:
    template <class Target>
    friend bool zk_detail::DispatchSharedNotification(Target& target, TMessage& Message);

    virtual void TextChanged();
    virtual bool WantKey(int Key, TShiftState Shift, const std::string& KeyText);
    virtual bool HitTest(int X, int Y);
    virtual void BoundsChanged() {}
    virtual void GetDlgCode(TDlgCodes&) {}
    virtual void FocusSet(HWND PreviousWindow);
    virtual void FocusKilled(HWND NextWindow);
    virtual bool DoEraseBackground(TCanvas* Canvas, LPARAM Param);

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
    virtual void CursorChanged();
    virtual void ShowingChanged();
    virtual void ShowHintChanged();
    virtual void ControlsListChanging(TControl* Control, bool Inserting);
    virtual void ControlsListChanged(TControl* Control, bool Inserting);

    // The form's own message handlers, then the inherited window procedure:
    // where the default operations send their messages. Descendants add
    // handlers here and call this for the rest.
    virtual void InheritedWndProc(TMessage& Message);

private:
    void DispatchNotification(TMessage& Message);
    LRESULT PassOn(UINT Msg);
    LRESULT PassOn(UINT Msg, WPARAM WParam, LPARAM LParam);
    void DrawHighlight();
    void ChangeUIState(WORD Action, WORD Flags);

    TColor hintColor_ = clDefault;
    bool mouseOver_ = false;
    TClass hintWindowClass_ = nullptr;
    bool dotNetHighlighting_ = false;
    TMessage* current_ = nullptr;
};

class TZkExCustomForm : public TZkExFormImpl<TCustomForm> {
    VX_CLASS(TZkExCustomForm, TZkExFormImpl<TCustomForm>)
public:
    using TZkExFormImpl<TCustomForm>::TZkExFormImpl;
};

class TZkExForm : public TZkExFormImpl<TForm> {
    VX_CLASS(TZkExForm, TZkExFormImpl<TForm>)
public:
    using TZkExFormImpl<TForm>::TZkExFormImpl;
};

extern template class TZkExFormImpl<TCustomForm>;
extern template class TZkExFormImpl<TForm>;
