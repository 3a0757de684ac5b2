// Containers that paint a frame around their children: `TGroupBox` (an
// etched frame with the caption in its top edge) and `TPanel` (raised or
// lowered bevels, a border, the caption in the middle).
#pragma once

#include "classlib/windows/alignment.h"
#include "classlib/windows/controls.h"

class TCustomGroupBox : public TCustomControl {
    VX_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    void AdjustClientRect(TRect& Rect) override;
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
    VX_CLASS(TGroupBox, TCustomGroupBox)
public:
    using TCustomGroupBox::TCustomGroupBox;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;
using TBorderWidth = int;

class TCustomPanel : public TCustomControl {
    VX_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* AOwner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut Value);
    TBevelWidth BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(TBevelWidth Value);
    TBorderWidth BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(TBorderWidth Value);

    void AdjustClientRect(TRect& Rect) override;
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;

private:
    void FrameChanged();

    TAlignment alignment_ = taCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    TBevelWidth bevelWidth_ = 1;
    TBorderWidth borderWidth_ = 0;
};

class TPanel : public TCustomPanel {
    VX_CLASS(TPanel, TCustomPanel)
public:
    using TCustomPanel::TCustomPanel;
};

// Draws a bevel Width pixels wide just inside Rect (top-left in TopColor,
// bottom-right in BottomColor) and shrinks Rect by it.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
