// Themed backgrounds: a fill in the colour unless themes are on and the
// colour is the parent's; then the parent's patterned background lines up
// under windowed and graphic children, and the painting DC is left as it was.
#include "foundation/zkthemes.h"

#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/handles.h"
#include "classlib/windows/forms.h"
#include "classlib/windows/themes.h"
#include "tests/foundation/window_fixture.h"

namespace {

// Every pixel of the 8x8 pattern differs, so a shifted pattern shows.
COLORREF PatternAt(int X, int Y) {
    return RGB((X % 8) * 30, (Y % 8) * 30, 100);
}

// What a painter may change on a DC and must give back.
struct DCState {
    explicit DCState(HDC dc) {
        GetWindowOrgEx(dc, &origin);
        GetBrushOrgEx(dc, &brushOrigin);
        hasClip = GetClipRgn(dc, TRegionHandle(CreateRectRgn(0, 0, 0, 0)).Get());
        GetClipBox(dc, &clipBox);
        brush = GetCurrentObject(dc, OBJ_BRUSH);
        pen = GetCurrentObject(dc, OBJ_PEN);
        font = GetCurrentObject(dc, OBJ_FONT);
        textColor = GetTextColor(dc);
    }
    bool operator==(const DCState& o) const {
        return origin.x == o.origin.x && origin.y == o.origin.y && brushOrigin.x == o.brushOrigin.x &&
               brushOrigin.y == o.brushOrigin.y && hasClip == o.hasClip && EqualRect(&clipBox, &o.clipBox) &&
               brush == o.brush && pen == o.pen && font == o.font && textColor == o.textColor;
    }
    POINT origin{}, brushOrigin{};
    int hasClip = 0;
    RECT clipBox{};
    HGDIOBJ brush = nullptr, pen = nullptr, font = nullptr;
    COLORREF textColor = 0;
};

TOwned<TBitmap> WhiteBitmap(int Width, int Height) {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(Width, Height);
    return bitmap;
}

class ThemedBackgroundTest : public FoundationWindowTest {
protected:
    void SetUp() override {
        FoundationWindowTest::SetUp();
        pattern = WhiteBitmap(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) pattern->Canvas()->SetPixels(x, y, PatternAt(x, y));
        parent.reset(Create<TForm>(nullptr, 0));
        parent->SetBounds(0, 0, 120, 90);
        parent->Brush()->SetBitmap(pattern.get());
        graphic = Create<TGraphicControl>(parent.get());
        graphic->SetParent(parent.get());
        graphic->SetBounds(3, 5, 16, 10);
        windowed = Create<TCustomControl>(parent.get());
        windowed->SetParent(parent.get());
        windowed->SetBounds(40, 5, 16, 10);
    }
    void TearDown() override {
        parent.reset();
        pattern.reset();
        FoundationWindowTest::TearDown();
    }

    // True when every pixel of Bitmap shows the parent's pattern as it lies
    // under the control at (Left, Top).
    static bool ShowsPatternFrom(TBitmap* Bitmap, int Left, int Top) {
        for (int y = 0; y < Bitmap->Height(); ++y)
            for (int x = 0; x < Bitmap->Width(); ++x)
                if (COLORREF(Bitmap->PixelColor(x, y)) != PatternAt(x + Left, y + Top)) return false;
        return true;
    }

    TOwned<TBitmap> pattern;
    TOwned<TForm> parent;
    TGraphicControl* graphic = nullptr;
    TCustomControl* windowed = nullptr;
};

TEST_F(ThemedBackgroundTest, FillsWithTheColourUnlessThemedAndTheParentsColour) {
    const TColor parentColour = parent->Color();
    const struct {
        const char* name;
        bool themes;
        TColor colour;
        bool needsParentBackground;
        bool parentShows;
    } cases[] = {
        {"themes off", false, parentColour, false, false},
        {"another colour", true, clLime, false, false},
        {"the parent's colour", true, parentColour, false, true},
        {"the same colour as RGB", true, TColor(ColorToRGB(parentColour)), false, true},
        {"parent background wanted but not asked for", true, parentColour, true, false},
    };
    for (const auto& c : cases) {
        TThemesEnabledOverride themes(c.themes);
        TOwned<TBitmap> bitmap = WhiteBitmap(16, 10);
        TCanvas* canvas = bitmap->Canvas();
        canvas->Brush()->SetColor(clRed);
        DrawThemedBackground(graphic, canvas, TRect(0, 0, 16, 10), c.needsParentBackground, c.colour);
        if (c.parentShows)
            EXPECT_TRUE(ShowsPatternFrom(bitmap.get(), 3, 5)) << c.name;
        else
            EXPECT_EQ(COLORREF(bitmap->PixelColor(7, 4)), ColorToRGB(c.colour)) << c.name;
        EXPECT_EQ(canvas->Brush()->Color(), clRed) << c.name;
    }
}

TEST_F(ThemedBackgroundTest, TheParentsPatternLinesUpUnderWindowedAndGraphicChildren) {
    const struct {
        TControl* control;
        int left, top;
    } cases[] = {
        {graphic, 3, 5}, {graphic, 0, 6}, {graphic, 7, 0}, {windowed, 40, 5}, {windowed, 0, 3},
    };
    for (const auto& c : cases) {
        c.control->SetBounds(c.left, c.top, 16, 10);
        TOwned<TBitmap> bitmap = WhiteBitmap(16, 10);
        PerformEraseBackground(c.control, bitmap->Canvas()->Handle(), Point(c.left, c.top));
        EXPECT_TRUE(ShowsPatternFrom(bitmap.get(), c.left, c.top))
            << c.control->ClassName() << " at " << c.left << "," << c.top;
    }
}

TEST_F(ThemedBackgroundTest, AGraphicChildPaintedInPlaceIsClippedInItsOwnUnitsAndTheDCRestored) {
    TOwned<TBitmap> bitmap = WhiteBitmap(40, 30);
    HDC dc = bitmap->Canvas()->Handle();
    // As the parent paints a graphic child: origin at the child, clipped to it.
    SetWindowOrgEx(dc, -3, -5, nullptr);
    IntersectClipRect(dc, 0, 0, 16, 10);
    SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    const DCState before(dc);
    PerformEraseBackground(graphic, dc, Point(3, 5), TRect(2, 2, 8, 6));
    EXPECT_TRUE(before == DCState(dc));
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SelectClipRgn(dc, nullptr);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 5 && x < 11 && y >= 7 && y < 11;
            EXPECT_EQ(COLORREF(bitmap->PixelColor(x, y)), inside ? PatternAt(x, y) : RGB(255, 255, 255))
                << x << "," << y;
        }
    }
}

// Paints with the DC's state changed and leaves it that way.
class TCarelessPainter : public TCustomControl {
    VX_CLASS(TCarelessPainter, TCustomControl)
public:
    using TCustomControl::TCustomControl;

protected:
    void PaintWindow(HDC DC) override {
        SetWindowOrgEx(DC, 7, 7, nullptr);
        IntersectClipRect(DC, 1, 1, 3, 3);
        SelectObject(DC, GetStockObject(SYSTEM_FONT));
        SelectObject(DC, GetStockObject(GRAY_BRUSH));
        SetTextColor(DC, RGB(1, 2, 3));
    }
};

TEST_F(ThemedBackgroundTest, PrintClientGivesTheDCBackAsItCameWithOrWithoutTheFixInstalled) {
    auto* painter = Create<TCarelessPainter>(parent.get());
    painter->SetParent(parent.get());
    painter->SetBounds(0, 40, 30, 20);
    TOwned<TBitmap> bitmap = WhiteBitmap(30, 20);
    HDC dc = bitmap->Canvas()->Handle();
    const DCState before(dc);
    for (bool installed : {false, true}) {
        if (installed) InstallWMPrintClientFix();
        SendMessageW(painter->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
        if (installed) UninstallWMPrintClientFix();
        EXPECT_TRUE(before == DCState(dc)) << (installed ? "installed" : "not installed");
    }
}

}  // namespace
