// Skin drawing primitives: fills, lines, gradients, the framed borders
// (`DrawFrameSkin`), the eleven body fill styles (`PaintSkinBody`) and the
// parent background behind a control.
#pragma once

#include "classlib/graphics/canvas.h"
#include "skins/skinoptions.h"

class TControl;

// Keeps the canvas pen and brush colours and puts them back on scope exit.
class TSkinToolColors {
public:
    explicit TSkinToolColors(TCanvas* Canvas)
        : canvas_(Canvas), pen_(Canvas->Pen()->Color()), brush_(Canvas->Brush()->Color()) {}
    ~TSkinToolColors() {
        canvas_->Pen()->SetColor(pen_);
        canvas_->Brush()->SetColor(brush_);
    }
    TSkinToolColors(const TSkinToolColors&) = delete;
    TSkinToolColors& operator=(const TSkinToolColors&) = delete;
    // Pen and brush both in Color.
    void Use(TColor Color) {
        canvas_->Pen()->SetColor(Color);
        canvas_->Brush()->SetColor(Color);
    }

private:
    TCanvas* canvas_;
    TColor pen_;
    TColor brush_;
};

// Corner flags of DrawFrameSkin: which corners stay square.
constexpr int SkinCornerLeft = 1;
constexpr int SkinCornerTop = 2;
constexpr int SkinCornerRight = 4;
constexpr int SkinCornerBottom = 8;

// Nothing when Fill is clNone; a one-pixel frame in Frame unless clNone.
void FillRectSkin(TCanvas* Canvas, const TRect& R, TColor Fill, TColor Frame = clNone);
void DrawLineSkin(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color);
// Lines First..Last of R (rows when Vertical, else columns), each in
// From + (To - From) x (i - First) / Steps per channel. Lines outside R are
// left alone; nothing is drawn when either colour is clNone.
void DrawGradient(TCanvas* Canvas, const TRect& R, int First, bool Vertical, TColor From, TColor To,
                  int Steps, int Last);
// Frame Type 0..2 cuts the corners by that many pixels; Color1/Color2 the
// outer top-left / bottom-right outline, Color3/Color4 the inner ones.
void DrawFrameSkin(TCanvas* Canvas, const TRect& R, int FrameType, TColor Color1, TColor Color2,
                   TColor Color3, TColor Color4, int CornerFlags = 0);
// The category's Body by its style 0..10 (VerticalBar swaps each pair of
// styles); every band stays inside R.
void PaintSkinBody(TCanvas* Canvas, const TRect& R, const TSbSkinOptionCategory* Category, bool VerticalBar);
void PaintSkinBody(TCanvas* Canvas, const TRect& R, const TSbSkinOptionEntry* Body, bool VerticalBar);
void PaintSkinBorders(TCanvas* Canvas, const TRect& R, const TSbSkinOptionCategory* Category,
                      int CornerFlags = 0);
// What lies behind Control (R in its client coordinates) painted into DC.
void DrawParentBackground(TControl* Control, HDC DC, const TRect& R);
