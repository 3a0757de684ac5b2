// The three-dimensional text effects the styled labels and buttons share:
// raised, recessed and shadowed text, and the etched look of disabled
// text, drawn as layers under the text in its own colour.
#pragma once

#include <functional>

#include "classlib/graphics/canvas.h"
#include "controls/sctypes.h"

struct TScTextEffects {
    TTextStyle Style = tsNormal;
    // Raised and recessed text without their shadow layer.
    bool Light = false;
    TColor Highlight = clBtnHighlight;
    TColor Shadow = clBtnShadow;
    int ShadowDepth = 2;
};

// Calls DrawAt once per layer with the layer's offset, the canvas font
// already in the layer's colour: the effect layers, then the text itself in
// TextColor (disabled: a highlight at (+1, +1), then the text in
// clBtnShadow).
void DrawTextLayers(TCanvas* Canvas, const TScTextEffects& Effects, TColor TextColor, bool Enabled,
                    const std::function<void(int DX, int DY)>& DrawAt);
