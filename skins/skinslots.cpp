// The painting slots of TSbSkinOptions: menu metrics and margins, the text
// colour table, backgrounds, check and radio marks and window-frame rings.
#include <algorithm>
#include <cmath>
#include <vector>

#include "classlib/windows/themes.h"
#include "skins/skinmanager.h"
#include "skins/skinoptions.h"
#include "skins/skinpaint.h"

namespace {

// Toolbar split button's drop-down part in the visual-styles tables.
constexpr int kToolbarSplitDropDownPart = 4;

bool InDefaultSkin() {
    TSbSkinManager* manager = SkinManager();
    return !manager || manager->IsDefaultSkin();
}

TColor SystemTextColor(TSbSkinComponentsType component, TSbSkinStatesType state) {
    const bool disabled = state == sknsDisabled;
    switch (component) {
        case skncWindowTitleBar:
            return disabled ? clInactiveCaptionText : clCaptionText;
        case skncMenuBarItem:
            if (disabled) return clGrayText;
            if (InDefaultSkin() && state != sknsNormal) return clHighlightText;
            return clMenuText;
        case skncMenuItem:
            if (disabled) return clGrayText;
            if (InDefaultSkin() &&
                (state == sknsHotTrack || state == sknsPushed || state == sknsCheckedAndHotTrack))
                return clHighlightText;
            return clMenuText;
        case skncToolbarItem:
            return disabled ? clGrayText : clMenuText;
        case skncListItem:
            if (InDefaultSkin() && (state == sknsHotTrack || state == sknsCheckedAndHotTrack))
                return clHighlightText;
            break;
        default:
            break;
    }
    return disabled ? clGrayText : clBtnText;
}

}  // namespace

namespace {

// The theme's split drop-down width, asked once per theme: every item
// measures with it, and asking the theme services is slow.
struct TSplitWidthCache {
    bool Valid = false;
    unsigned Generation = 0;
    int Width = 0;  // 0: the theme gave none
};
TSplitWidthCache& SplitWidthCache() {
    static TSplitWidthCache cache;
    return cache;
}

int ThemedSplitDropDownWidth() {
    TSbSkinManager* manager = SkinManager();
    const unsigned generation = manager ? manager->ThemeGeneration() : 0;
    TSplitWidthCache& cache = SplitWidthCache();
    if (cache.Valid && cache.Generation == generation) return cache.Width;
    TSize size{};
    TCanvas* canvas = SkinMeasureCanvas();
    cache.Width = canvas && ThemeServices()->GetThemePartSize(
                                canvas->Handle(), {teToolBar, kToolbarSplitDropDownPart, 1}, TS_TRUE, size)
                      ? size.cx + 2
                      : 0;
    cache.Valid = true;
    cache.Generation = generation;
    ++ThemePartSizeQueries;
    return cache.Width;
}

}  // namespace

int ThemePartSizeQueries = 0;

TSbMenuItemMetrics TSbSkinOptions::GetMenuItemMetrics() {
    TSbMenuItemMetrics metrics;
    if (CurrentSkinType() == sknWindows) {
        const int width = ThemedSplitDropDownWidth();
        if (width > 0) metrics.SplitDropDownWidth = width;
    }
    return metrics;
}

void TSbSkinOptions::GetMenuItemMargins(TCanvas* Canvas, int ImageSize, TSbMenuItemMargins& Margins) {
    Margins = {};
    if (ImageSize == 0) ImageSize = 16;
    const TSbSkinType type = CurrentSkinType();
    if (type == sknSkin || (type == sknWindows && IsWindowsVista())) {
        Margins.Left = 1;
        Margins.Top = 3;
        Margins.Right = 1;
        Margins.Bottom = 3;
        Margins.ImageGapLeft = 3;
        Margins.ImageGapRight = 3;
        Margins.GutterExtra = 5;
    } else {
        Margins.Top = 2;
        Margins.Bottom = 2;
        Margins.ImageGapLeft = 2;
        Margins.ImageGapRight = 2;
        Margins.GutterExtra = 1;
    }
    // Measuring selects the canvas font into its device context.
    Canvas->TextExtent(std::wstring(L"0"));
    TEXTMETRICW metrics{};
    GetTextMetricsW(Canvas->Handle(), &metrics);
    const int vertical = Margins.Top + Margins.Bottom;
    Margins.ItemHeight = std::max(static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading) + vertical,
                                  ImageSize + vertical);
}

TColor TSbSkinOptions::GetTextColor(TSbSkinComponentsType Component, TSbSkinStatesType State) {
    if (CurrentSkinType() == sknSkin) {
        if (!HasPerStateCategories(Component))
            return State == sknsNormal ? Options(Component)->TextColor : clNone;
        const TColor color = Options(Component, State)->TextColor;
        if (color != clNone) return color;
    }
    return SystemTextColor(Component, State);
}

void TSbSkinOptions::PaintBackground(TCanvas* Canvas, const TRect& R, TSbSkinComponentsType Component,
                                     TSbSkinStatesType State, bool DrawBody, bool DrawBorders,
                                     bool VerticalBar, int CornerFlags) {
    const TSbSkinOptionCategory* category = Options(Component, State);
    const bool borders = DrawBorders && !category->Borders()->IsEmpty();
    const bool body = DrawBody && !category->Body()->IsEmpty();
    if (body) {
        TRect inner = R;
        if (borders) inner = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
        PaintSkinBody(Canvas, inner, category, VerticalBar);
    }
    if (borders) PaintSkinBorders(Canvas, R, category, CornerFlags);
}

void TSbSkinOptions::PaintCheckMark(TCanvas* Canvas, const TRect& R, TSbSkinStatesType State, bool Checked,
                                    bool Grayed, bool MenuItem) {
    const int x = (R.Left + R.Right) / 2 - 1;
    const int y = (R.Top + R.Bottom) / 2;
    TSkinToolColors tools(Canvas);
    if (MenuItem) {
        if (!Checked) return;
        tools.Use(GetTextColor(CurrentSkinType() == sknSkin ? skncMenuItem : skncCheckBox, State));
        Canvas->Polygon({{x - 2, y - 1},
                         {x, y + 1},
                         {x + 4, y - 3},
                         {x + 4, y - 2},
                         {x, y + 2},
                         {x - 2, y},
                         {x - 2, y - 1}});
        return;
    }
    PaintBackground(Canvas, R, skncCheckBox, State, true, true, false);
    const TColor color = GetTextColor(skncCheckBox, State);
    if (color == clNone) return;
    tools.Use(color);
    if (Checked)
        Canvas->Polygon({{x - 2, y + 1},
                         {x, y + 3},
                         {x + 4, y - 1},
                         {x + 4, y - 3},
                         {x, y + 1},
                         {x - 2, y - 1},
                         {x - 2, y + 1}});
    else if (Grayed)
        Canvas->FillRect({R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3});
}

void TSbSkinOptions::PaintRadioMark(TCanvas* Canvas, const TRect& R, TSbSkinStatesType State, bool Checked,
                                    bool MenuItem) {
    const int x = (R.Left + R.Right) / 2 - 1;
    const int y = (R.Top + R.Bottom) / 2;
    TSkinToolColors tools(Canvas);
    if (!MenuItem) {
        // The radio button's look, cut to a circle of 24 points.
        std::vector<POINT> circle;
        const double cx = (R.Left + R.Right) / 2.0, cy = (R.Top + R.Bottom) / 2.0;
        const double rx = (R.Right - R.Left) / 2.0, ry = (R.Bottom - R.Top) / 2.0;
        for (int i = 0; i < 24; ++i) {
            const double angle = i * 3.14159265358979 / 12;
            circle.push_back({static_cast<LONG>(std::lround(cx + rx * std::cos(angle))),
                              static_cast<LONG>(std::lround(cy + ry * std::sin(angle)))});
        }
        HDC dc = Canvas->Handle();
        TRegionHandle region(CreatePolygonRgn(circle.data(), static_cast<int>(circle.size()), WINDING));
        TSaveDC saved(dc);
        ExtSelectClipRgn(dc, region.Get(), RGN_AND);
        PaintBackground(Canvas, R, skncRadioButton, State, true, false, false);
        const TColor border = Options(skncRadioButton, State)->Borders()->Color1;
        if (border != clNone) {
            tools.Use(border);
            Canvas->Brush()->SetStyle(bsClear);
            std::vector<TPoint> outline;
            for (const POINT& p : circle) outline.push_back({p.x, p.y});
            Canvas->Polygon(outline);
            Canvas->Brush()->SetStyle(bsSolid);
        }
    }
    if (!Checked) return;
    const TColor color =
        GetTextColor(MenuItem && CurrentSkinType() == sknSkin ? skncMenuItem : skncRadioButton, State);
    if (color == clNone) return;
    tools.Use(color);
    Canvas->RoundRect(x - 2, y - 3, x + 4, y + 3, 2, 2);
}

void TSbSkinOptions::PaintWindowFrame(TCanvas* Canvas, const TRect& R, int RingCount, bool DrawBody) {
    if (DrawBody) PaintSkinBody(Canvas, R, Options(skncWindow), false);
    const TSbSkinOptionEntry* borders = Options(skncWindow)->Borders();
    TRect ring = R;
    for (int i = 1; i <= RingCount && ring.Right > ring.Left && ring.Bottom > ring.Top; ++i) {
        const TColor color = borders->Color(std::min(i, 4));
        if (color != clNone) {
            const TColor brush = Canvas->Brush()->Color();
            Canvas->Brush()->SetColor(color);
            Canvas->FrameRect(ring);
            Canvas->Brush()->SetColor(brush);
        }
        ring = {ring.Left + 1, ring.Top + 1, ring.Right - 1, ring.Bottom - 1};
    }
}
