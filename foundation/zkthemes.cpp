#include "foundation/zkthemes.h"

#include "classlib/graphics/handles.h"
#include "classlib/windows/themes.h"

namespace {
bool SameColour(TColor A, TColor B) {
    return A == B || ColorToRGB(A) == ColorToRGB(B);
}
}  // namespace

void DrawThemedBackground(TControl* Control, TCanvas* Canvas, const TRect& Rect, bool NeedsParentBackground) {
    DrawThemedBackground(Control, Canvas, Rect, NeedsParentBackground, Canvas->Brush()->Color());
}

void DrawThemedBackground(TControl* Control, TCanvas* Canvas, const TRect& Rect, bool NeedsParentBackground,
                          TColor Color) {
    TWinControl* parent = Control->Parent();
    const bool parentShows = parent && SameColour(Color, parent->Color()) &&
                             ThemeServices()->ThemesEnabled() &&
                             (!NeedsParentBackground || Control->ControlStyle().Contains(csParentBackground));
    if (parentShows) {
        auto* windowed = dynamic_cast<TWinControl*>(Control);
        if (windowed && !windowed->DoubleBuffered())
            ThemeServices()->DrawParentBackground(windowed->Handle(), Canvas->Handle(), &Rect);
        else
            PerformEraseBackground(Control, Canvas->Handle(), Point(Control->Left(), Control->Top()), Rect);
        return;
    }
    TBrush* brush = Canvas->Brush();
    const TColor saved = brush->Color();
    const TBrushStyle savedStyle = brush->Style();
    brush->SetColor(Color);
    Canvas->FillRect(Rect);
    brush->SetColor(saved);
    brush->SetStyle(savedStyle);
}

void PerformEraseBackground(TControl* Control, HDC DC, TPoint Offset, const TRect& ClipRect) {
    TWinControl* parent = Control->Parent();
    if (!parent) return;
    TSaveDC saved(DC);
    // Clipped while the units are still the control's own.
    if (ClipRect != NoEraseClip)
        IntersectClipRect(DC, ClipRect.Left, ClipRect.Top, ClipRect.Right, ClipRect.Bottom);
    if (Offset.X != 0 || Offset.Y != 0) {
        // Graphic and windowed controls alike paint with the window origin
        // at their top-left corner: the parent's is Offset further.
        POINT origin{};
        GetWindowOrgEx(DC, &origin);
        SetWindowOrgEx(DC, origin.x + Offset.X, origin.y + Offset.Y, nullptr);
    }
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
}

void InstallWMPrintClientFix() {}
void UninstallWMPrintClientFix() {}
