// `TZkCustomGraphicButton`: a windowless push button that tracks whether the
// mouse is inside and pressed, captures the mouse while pressed, clicks on
// its Alt accelerator and can drop a popup menu down under itself.
#pragma once

#include "classlib/stdctrls/menus.h"
#include "foundation/zkexcontrols.h"

enum TZkButtonStateFlag { bsMouseInside, bsPressed };
using TZkButtonState = TSet<TZkButtonStateFlag>;

// Pos is where the menu will open (screen); a handler that shows its own
// menu sets Handled.
using TZkDropDownMenuEvent = TDelegate<void(TObject* Sender, TPoint Pos, bool& Handled)>;

class TZkCustomGraphicButton : public TZkExGraphicControl {
    VX_CLASS(TZkCustomGraphicButton, TZkExGraphicControl)
public:
    explicit TZkCustomGraphicButton(TComponent* AOwner);

    TZkButtonState State() const { return state_; }
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* Value);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TZkDropDownMenuEvent OnDropDownMenu;
    // After the menu closed and the button has seen its mouse-up.
    TNotifyEvent OnDropDownClose;

protected:
    // Grouped buttons would coordinate here; no button of ours is grouped.
    virtual void ButtonPressed(TObject*, int) {}
    // Opens DropDownMenu for a left press at the screen point (X, Y); false
    // when there is no menu to open.
    virtual bool DoDropDownMenu(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void SetCanvasFont(TCanvas* Canvas);
    virtual void PaintFrame(TCanvas*) {}
    virtual bool InsideBtn(int X, int Y);
    // The button is not opaque: its parent repaints what lies under it first.
    virtual void RepaintBackground();
    virtual void DrawDropArrow(TCanvas* Canvas, const TRect& Rect);

    void Paint() override;
    void MouseEnter(TControl* Control) override;
    void MouseLeave(TControl* Control) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool WantKey(int Key, TShiftState Shift, const std::string& KeyText) override;
    void EnabledChanged() override;
    void TextChanged() override;

    TZkButtonState state_;

private:
    TPopupMenu* dropDownMenu_ = nullptr;
};
