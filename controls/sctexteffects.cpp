#include "controls/sctexteffects.h"

void DrawTextLayers(TCanvas* Canvas, const TScTextEffects& Effects, TColor TextColor, bool Enabled,
                    const std::function<void(int DX, int DY)>& DrawAt) {
    TFont* font = Canvas->Font();
    auto layer = [&](TColor Color, int DX, int DY) {
        font->SetColor(Color);
        DrawAt(DX, DY);
    };
    switch (Effects.Style) {
        case tsRaised:
            if (!Effects.Light) layer(Effects.Shadow, 1, 1);
            layer(Effects.Highlight, -1, -1);
            break;
        case tsRecessed:
            layer(Effects.Highlight, 1, 1);
            if (!Effects.Light) layer(Effects.Shadow, -1, -1);
            break;
        case tsShadow:
            layer(Effects.Shadow, Effects.ShadowDepth, Effects.ShadowDepth);
            break;
        case tsNormal:
            break;
    }
    if (Enabled) {
        layer(TextColor, 0, 0);
    } else {
        layer(clBtnHighlight, 1, 1);
        layer(clBtnShadow, 0, 0);
    }
}
