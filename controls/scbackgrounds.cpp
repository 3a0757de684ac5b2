#include "controls/scbackgrounds.h"

#include <vssym32.h>

#include "classlib/windows/themes.h"
#include "controls/scgrafx.h"
#include "controls/scscheme.h"

void PaintGradientBorder(TCanvas* Canvas, const TRect& Rect, int Direction, TColor StartColor,
                         TColor StopColor) {
    if (!IsTrueColor || Rect.IsEmpty()) return;
    const TClipState saved = Canvas->SaveClip();
    Canvas->ExcludeClip(InflateRect(Rect, -2, -2));
    PaintGradient(Canvas, Rect, Direction, StartColor, StopColor, 1);
    Canvas->RestoreClip(saved);
}

void PaintGroupBarBackground(TCanvas* Canvas, const TRect& Rect, TScVisualStyle VisualStyle,
                             TScGradientColorStyle GradientColorStyle, TScGroupBarGradientPath GradientPath,
                             TColor StartColor, TColor StopColor) {
    // A theme without the explorer bar (Wine has none) paints like no theme.
    if (VisualStyle == vsWinXP && ThemeServices()->ThemesEnabled() &&
        ThemeServices()->DrawElement(Canvas->Handle(), {teExplorerBar, EBP_HEADERBACKGROUND, 0}, Rect))
        return;
    if (VisualStyle == vsClassic || !IsTrueColor) return;
    TColor start = StartColor, stop = StopColor;
    if (GradientColorStyle != gcsCustom) GetGroupBarGradientColors(GradientColorStyle, start, stop);
    if (GradientPath == gpBottomToTop) std::swap(start, stop);
    PaintGradient(Canvas, Rect, 2, start, stop, 1);
}
