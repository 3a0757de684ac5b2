// `TBarFloatingWindowParent`: the small tool-window form that hosts one
// floating bar. It draws its own frame (border, small caption, close
// button), hit-tests it with the framework's codes, hands sizing and caption
// drags to the bar, and leaves activation with the bar's form.
#pragma once

#include "classlib/windows/forms.h"

class TBarCustomDockableWindow;

class TBarFloatingWindowParent : public TCustomForm {
    VX_CLASS(TBarFloatingWindowParent, TCustomForm)
public:
    // An empty form: there is no form resource for it.
    explicit TBarFloatingWindowParent(TComponent* AOwner);

    TBarCustomDockableWindow* DockableWindow() const { return dockableWindow_; }
    TCustomForm* ParentForm() const { return parentForm_; }
    bool ShouldShow() const { return shouldShow_; }
    void SetShouldShow(bool Value) { shouldShow_ = Value; }

    // In client coordinates of the form; the caption is one small-caption
    // high, without the close button's square when MinusCloseButton.
    TRect GetCaptionRect(bool AdjustForBorder, bool MinusCloseButton);
    TRect GetCloseButtonRect(bool AdjustForBorder);
    // The frame around the client area: left/top and right/bottom.
    TRect FrameSize();

    enum TDrawPart { dpBorder = 1, dpCaption = 2, dpCloseButton = 4 };
    virtual void DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn, int RedrawWhat);

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AlignControls(TControl*, TRect&) override {}

private:
    friend class TBarCustomDockableWindow;
    int HitTest(TPoint ScreenPoint);
    HWND ActivationTarget() const;
    static void PaintNC(HWND Wnd, HDC DC, void* AppData);

    TBarCustomDockableWindow* dockableWindow_ = nullptr;
    TCustomForm* parentForm_ = nullptr;
    bool shouldShow_ = false;
    bool closeButtonPressed_ = false;
};
