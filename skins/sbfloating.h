// `TSbFloatingWindowParent`: the floating window of a skinned toolbar, with
// a skinned frame and caption strip, the toolbar's wide caption in the
// small-caption font, and a close button that lights up under the mouse.
#pragma once

#include "toolbar/barfloating.h"

class TSbFloatingWindowParent : public TBarFloatingWindowParent {
    VX_CLASS(TSbFloatingWindowParent, TBarFloatingWindowParent)
public:
    using TBarFloatingWindowParent::TBarFloatingWindowParent;

    bool CloseButtonHot() const { return closeHot_; }
    void DrawNCArea(bool DrawToDC, HDC DC, HRGN Rgn, int RedrawWhat) override;
    void WndProc(TMessage& Message) override;

private:
    void SetCloseHot(bool Value);
    void PaintCloseButton(TCanvas* Canvas, const TRect& R);

    bool closeHot_ = false;
};
