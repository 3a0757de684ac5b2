// Viewers measured and painted into bitmaps: sizes against text measured on
// the same DC, and the marks, lines and glyphs read back pixel by pixel.
#include <gtest/gtest.h>

#include <string>

#include "classlib/graphics/bitmap.h"
#include "toolbar/bartext.h"
#include "toolbar/barview.h"

namespace {

const TColor Background = static_cast<TColor>(RGB(0, 128, 0));

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = Create<TBarRootItem>(owner_.get());
        bitmap_->SetSize(200, 60);
        Canvas()->SetFont(FallbackFont());
        Clear();
    }
    TFont* FallbackFont() {
        static TOwned<TFont> font = MakeOwned<TFont>();
        return font.get();
    }
    TCanvas* Canvas() { return bitmap_->Canvas(); }
    void Clear() {
        Canvas()->Brush()->SetColor(Background);
        Canvas()->FillRect(TRect(0, 0, 200, 60));
    }
    TBarView* View(bool Toolbar, TBarOrientation Orientation = boHorizontal) {
        TBarView* view = Create<TBarView>(owner_.get(), nullptr, root_, nullptr, Toolbar, false, false);
        view->SetOrientation(Orientation);
        return view;
    }
    template <class T = TBarCustomItem>
    T* Add(const std::string& Caption) {
        auto* item = Create<T>(owner_.get());
        item->SetCaption(Caption);
        root_->Add(item);
        return item;
    }
    TSize Measure(TBarView* View, TBarCustomItem* Item) {
        int w = 0, h = 0;
        View->Find(Item)->CalcSize(Canvas(), w, h);
        return TSize{w, h};
    }
    COLORREF Pixel(int X, int Y) { return ColorToRGB(Canvas()->Pixels(X, Y)); }
    void Paint(TBarView* View, TBarCustomItem* Item, const TRect& R, bool Selected = false) {
        TBarItemViewer* viewer = View->Find(Item);
        SetTextColor(Canvas()->Handle(), GetSysColor(COLOR_BTNTEXT));
        Canvas()->Brush()->SetStyle(bsClear);
        viewer->Paint(Canvas(), R, Selected, false, true);
    }

    TOwned<TComponent> owner_ = MakeOwned<TComponent>(nullptr);
    TOwned<TBitmap> bitmap_ = MakeOwned<TBitmap>();
    TBarCustomItem* root_ = nullptr;
};

TEST_F(ViewerTest, ToolbarButtonsMeasureTheirCaptionPlusFrame) {
    TBarView* view = View(true);
    TBarCustomItem* open = Add("&Open");
    TBarCustomItem* empty = Add("");
    TBarCustomItem* split = Add("&Open");
    split->SetItemStyle(split->ItemStyle() | isfSubmenu | isfCombo);
    HDC dc = Canvas()->Handle();
    const int text = GetTextWidth(dc, "&Open", true);
    EXPECT_EQ(Measure(view, open), (TSize{6 + text + 6, 6 + GetTextHeight(dc)}));
    EXPECT_EQ(Measure(view, empty), (TSize{6, 6}));
    EXPECT_EQ(Measure(view, split).cx, Measure(view, open).cx + 11);

    // The last 11 pixels of a split button are its arrow.
    TBarItemViewer* viewer = view->Find(split);
    viewer->BoundsRect = TRect(0, 0, 60, 22);
    EXPECT_TRUE(viewer->IsPtInButtonPart(48, 5));
    EXPECT_FALSE(viewer->IsPtInButtonPart(49, 5));
}

TEST_F(ViewerTest, MenuItemsMeasureCaptionShortcutAndColumns) {
    TBarView* view = View(false);
    TBarCustomItem* item = Add("&Save\tCtrl+S");
    HDC dc = Canvas()->Handle();
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    const int h = tm.tmHeight + tm.tmExternalLeading + 4;
    const int expected =
        GetTextWidth(dc, "&Save", true) + h + 6 + GetTextWidth(dc, "Ctrl+S", false) + h - 6 + h;
    EXPECT_EQ(Measure(view, item), (TSize{expected, h}));
    EXPECT_EQ(view->Find(item)->GetCaptionText(), "&Save");
    EXPECT_EQ(item->GetShortCutText(), "Ctrl+S");
}

TEST_F(ViewerTest, ACheckedMenuItemWithoutImageGetsACheckMark) {
    TBarView* view = View(false);
    TBarCustomItem* item = Add("Wrap");
    item->SetChecked(true);
    const TRect r(0, 0, 150, 20);
    Paint(view, item, r);
    // The mark's corner point sits two left of and one below the column's centre.
    EXPECT_EQ(Pixel(10 - 2, 10 + 1), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(Pixel(10, 9), GetSysColor(COLOR_BTNTEXT));

    Clear();
    item->SetRadioItem(true);
    Paint(view, item, r);
    EXPECT_EQ(Pixel(10 - 1, 10 - 1), GetSysColor(COLOR_BTNTEXT));   // the dot
    EXPECT_EQ(Pixel(10 - 4, 10), GetSysColor(COLOR_BTNHIGHLIGHT));  // its ring
}

TEST_F(ViewerTest, SeparatorsDrawAnEtchedLineAndBlankOnesNothing) {
    TBarView* menu = View(false);
    auto* separator = Add<TBarSeparatorItem>("");
    Paint(menu, separator, TRect(0, 0, 100, 8));
    EXPECT_EQ(Pixel(50, 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(50, 4), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ColorToRGB(Background), Pixel(5, 3));  // inset in menus

    Clear();
    TBarView* bar = View(true);
    Paint(bar, separator, TRect(20, 0, 26, 22));
    EXPECT_EQ(Pixel(22, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(23, 10), GetSysColor(COLOR_BTNHIGHLIGHT));

    Clear();
    separator->SetBlank(true);
    Paint(bar, separator, TRect(20, 0, 26, 22));
    for (int x = 20; x < 26; ++x) EXPECT_EQ(Pixel(x, 10), ColorToRGB(Background));
    int w = 0, h = 0;
    bar->Find(separator)->CalcSize(Canvas(), w, h);
    EXPECT_EQ((TSize{w, h}), (TSize{6, 6}));  // keeps its room
}

TEST_F(ViewerTest, TheChevronShowsTwoArrowsEmbossedWhenDisabled) {
    auto* chevron = Create<TBarChevronItem>(owner_.get());
    root_->Add(chevron);
    TBarView* bar = View(true);
    Paint(bar, chevron, TRect(0, 0, 12, 22));
    // First row 11001100: pixels 0, 1, 4 and 5 from the glyph's left at x = 2.
    EXPECT_EQ(Pixel(2, 4), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(Pixel(3, 4), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(Pixel(4, 4), ColorToRGB(Background));
    EXPECT_EQ(Pixel(6, 4), GetSysColor(COLOR_BTNTEXT));

    Clear();
    chevron->SetEnabled(false);
    Paint(bar, chevron, TRect(0, 0, 12, 22));
    EXPECT_EQ(Pixel(2, 4), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(2, 5), GetSysColor(COLOR_BTNHIGHLIGHT));  // the light copy, one lower
}

TEST_F(ViewerTest, DisabledCaptionsAreEmbossedNotGrey) {
    TBarView* bar = View(true);
    TBarCustomItem* item = Add("WWW");
    item->SetEnabled(false);
    Paint(bar, item, TRect(0, 0, 60, 22));
    int shadow = 0, light = 0, text = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 2; x < 58; ++x) {
            const COLORREF c = Pixel(x, y);
            shadow += c == GetSysColor(COLOR_BTNSHADOW);
            light += c == GetSysColor(COLOR_BTNHIGHLIGHT);
            text += c == GetSysColor(COLOR_BTNTEXT);
        }
    EXPECT_GT(shadow, 10);
    EXPECT_GT(light, 10);
    EXPECT_EQ(text, 0);
}

TEST_F(ViewerTest, HintsComeFromTheHintOrTheCleanedCaption) {
    TBarView* bar = View(true);
    TBarCustomItem* item = Add("&Options...");
    TBarItemViewer* viewer = bar->Find(item);
    EXPECT_EQ(viewer->GetHintText(), "Options");
    item->SetShortCut(TextToShortCut("Ctrl+K"));
    EXPECT_EQ(viewer->GetHintText(), "Options (Ctrl+K)");
    item->SetHint("Change settings|Opens the settings");
    EXPECT_EQ(viewer->GetHintText(), "Change settings (Ctrl+K)");
    item->SetHint("");
    item->SetOptions({tboNoAutoHint});
    EXPECT_EQ(viewer->GetHintText(), "");
}

}  // namespace
