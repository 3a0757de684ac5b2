#include <gtest/gtest.h>

#include <functional>

#include "classlib/graphics/bitmap.h"
#include "skin_test_support.h"
#include "skins/skinglyphs.h"
#include "skins/skinpaint.h"

namespace {

constexpr TColor kGuard = 0x123456;

TColor Grey(int v) {
    return static_cast<TColor>(v | (v << 8) | (v << 16));
}

// A bitmap in the guard colour with a target rectangle somewhere inside it.
struct TGuarded {
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    TRect target;
    TGuarded(int width, int height, int margin = 4)
        : target(margin, margin, margin + width, margin + height) {
        bitmap->SetSize(width + 2 * margin, height + 2 * margin);
        Canvas()->Brush()->SetColor(kGuard);
        Canvas()->FillRect({0, 0, bitmap->Width(), bitmap->Height()});
    }
    TCanvas* Canvas() { return bitmap->Canvas(); }
    TColor At(int x, int y) { return bitmap->PixelColor(target.Left + x, target.Top + y); }
    // Pixels outside the target that are not the guard colour.
    int Outside() {
        int count = 0;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x) {
                const bool inside =
                    x >= target.Left && x < target.Right && y >= target.Top && y < target.Bottom;
                if (!inside && bitmap->PixelColor(x, y) != kGuard) ++count;
            }
        return count;
    }
};

TOwned<TSbSkinOptionEntry> Entry(int type, TColor c1, TColor c2, TColor c3, TColor c4) {
    TOwned<TSbSkinOptionEntry> entry = MakeOwned<TSbSkinOptionEntry>();
    entry->Fill(type, c1, c2, c3, c4);
    return entry;
}

TEST(SkinBody, ElevenStylesAtTheirBandEdges) {
    // Grey levels at positions 0, t, 2t and the end (E = 30, t = 10) along
    // the direction the colour changes.
    struct Style {
        int family;
        int levels[4];
    } styles[] = {
        {1, {0, 20, 40, 60}},     // one gradient over the whole extent
        {3, {0, 60, 120, 180}},   // three bands of t
        {5, {0, 40, 140, 180}},   // two halves of 15
        {7, {0, 120, 150, 180}},  // a first third, then the rest
        {9, {0, 122, 151, 180}},  // a first band of 9, then the rest
    };
    for (const Style& style : styles)
        for (int type : {style.family, style.family + 1})
            for (bool verticalBar : {false, true}) {
                SCOPED_TRACE(testing::Message() << "type " << type << (verticalBar ? " swapped" : ""));
                TGuarded paint(31, 31);
                auto body = Entry(type, Grey(0), Grey(60), Grey(120), Grey(180));
                PaintSkinBody(paint.Canvas(), paint.target, body.get(), verticalBar);
                const bool rows = (type % 2 == 1) != verticalBar;
                const int positions[] = {0, 10, 20, 30};
                for (int i = 0; i < 4; ++i) {
                    const int p = positions[i];
                    EXPECT_EQ(rows ? paint.At(5, p) : paint.At(p, 5), Grey(style.levels[i])) << "at " << p;
                    // Across the direction the colour stays.
                    EXPECT_EQ(rows ? paint.At(29, p) : paint.At(p, 29), Grey(style.levels[i])) << "at " << p;
                }
                EXPECT_EQ(paint.Outside(), 0);
            }
}

TEST(SkinBody, SolidStyleAndColourlessOrUnknownStyles) {
    TGuarded solid(10, 6);
    PaintSkinBody(solid.Canvas(), solid.target, Entry(0, clRed, clNone, clNone, clNone).get(), false);
    EXPECT_EQ(solid.At(0, 0), clRed);
    EXPECT_EQ(solid.At(9, 5), clRed);
    EXPECT_EQ(solid.Outside(), 0);
    for (int type : {0, 11, -1}) {
        TGuarded none(10, 6);
        PaintSkinBody(none.Canvas(), none.target,
                      Entry(type, type == 0 ? clNone : clRed, clRed, clRed, clRed).get(), false);
        EXPECT_EQ(none.At(3, 3), kGuard) << type;
    }
}

TEST(SkinBody, TinyRectanglesStayInside) {
    for (int type = 0; type <= 10; ++type)
        for (bool verticalBar : {false, true})
            for (TSize size :
                 {TSize{1, 1}, TSize{2, 2}, TSize{1, 12}, TSize{12, 1}, TSize{2, 12}, TSize{12, 2}}) {
                TGuarded paint(size.cx, size.cy);
                PaintSkinBody(paint.Canvas(), paint.target, Entry(type, clRed, clBlue, clLime, clWhite).get(),
                              verticalBar);
                EXPECT_EQ(paint.Outside(), 0) << "type " << type << " " << size.cx << "x" << size.cy;
            }
}

TEST(SkinBody, OnePixelGradientIsTheStartColour) {
    TGuarded paint(10, 1);
    PaintSkinBody(paint.Canvas(), paint.target, Entry(1, clRed, clBlue, clNone, clNone).get(), false);
    EXPECT_EQ(paint.At(4, 0), clRed);
}

TEST(SkinFrame, CornersAreCutUnlessTheirFlagSquaresThem) {
    for (int frameType : {1, 2})
        for (int flags : {0, 1, 2, 4, 8, 1 + 4, 2 + 8, 15}) {
            SCOPED_TRACE(testing::Message() << "type " << frameType << " flags " << flags);
            TGuarded paint(20, 16);
            DrawFrameSkin(paint.Canvas(), paint.target, frameType, clRed, clBlue, clNone, clNone, flags);
            const bool topLeft = flags & (SkinCornerLeft | SkinCornerTop);
            const bool topRight = flags & (SkinCornerTop | SkinCornerRight);
            const bool bottomRight = flags & (SkinCornerRight | SkinCornerBottom);
            const bool bottomLeft = flags & (SkinCornerLeft | SkinCornerBottom);
            EXPECT_EQ(paint.At(0, 0), topLeft ? clRed : kGuard);
            EXPECT_EQ(paint.At(19, 0), topRight ? clBlue : kGuard);
            EXPECT_EQ(paint.At(19, 15), bottomRight ? clBlue : kGuard);
            EXPECT_EQ(paint.At(0, 15), bottomLeft ? clBlue : kGuard);
            // The sides themselves are always drawn.
            EXPECT_EQ(paint.At(0, 8), clRed);
            EXPECT_EQ(paint.At(10, 0), clRed);
            EXPECT_EQ(paint.At(19, 8), clBlue);
            EXPECT_EQ(paint.At(10, 15), clBlue);
            EXPECT_EQ(paint.Outside(), 0);
        }
}

TEST(SkinFrame, TinyFramesStayInside) {
    for (int frameType = 0; frameType <= 2; ++frameType)
        for (TSize size : {TSize{1, 1}, TSize{2, 2}, TSize{3, 3}, TSize{1, 10}, TSize{10, 1}, TSize{4, 2}}) {
            TGuarded paint(size.cx, size.cy);
            DrawFrameSkin(paint.Canvas(), paint.target, frameType, clRed, clBlue, clLime, clYellow);
            EXPECT_EQ(paint.Outside(), 0) << "type " << frameType << " " << size.cx << "x" << size.cy;
        }
}

TEST(SkinFrame, InnerLinesAndSquareFrames) {
    TGuarded paint(12, 10);
    DrawFrameSkin(paint.Canvas(), paint.target, 0, clRed, clBlue, clLime, clYellow);
    EXPECT_EQ(paint.At(0, 0), clRed);
    EXPECT_EQ(paint.At(11, 9), clBlue);
    EXPECT_EQ(paint.At(1, 5), clLime);
    EXPECT_EQ(paint.At(5, 1), clLime);
    EXPECT_EQ(paint.At(5, 8), clYellow);
    EXPECT_EQ(paint.At(10, 5), clYellow);
    EXPECT_EQ(paint.At(5, 5), kGuard);
    EXPECT_EQ(paint.Outside(), 0);
    // A borders entry of a type above 2 draws nothing.
    TOwned<TSbSkinOptionCategory> category = MakeOwned<TSbSkinOptionCategory>();
    category->Borders()->Fill(3, clRed, clRed, clRed, clRed);
    TGuarded none(12, 10);
    PaintSkinBorders(none.Canvas(), none.target, category.get());
    EXPECT_EQ(none.At(0, 5), kGuard);
}

TEST(SkinGlyphs, PatternsAreBitExactAndTouchNothingElse) {
    const std::uint8_t rows[4][9] = {{0xC6, 0xEE, 0x7C, 0x38, 0x7C, 0xEE, 0xC6, 0x00},
                                     {0xFF, 0xFF, 0x81, 0x81, 0x81, 0x81, 0x81, 0xFF},
                                     {0x00, 0x00, 0x00, 0x00, 0x00, 0x7E, 0x7E, 0x00},
                                     {0x3F, 0x3F, 0x21, 0xFD, 0xFD, 0x87, 0x84, 0x84, 0xFC}};
    for (TColor colour : {clRed, clBtnShadow})
        for (int glyph = 0; glyph < 4; ++glyph) {
            SCOPED_TRACE(glyph);
            TGuarded paint(20, 20);
            DrawGlyphPattern(paint.Canvas(), paint.target, static_cast<TSbGlyphPattern>(glyph), colour);
            const int height = GlyphPatternSize(static_cast<TSbGlyphPattern>(glyph)).cy;
            const int left = 6, top = (20 - height) / 2;
            const TColor drawn = static_cast<TColor>(ColorToRGB(colour));
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x) {
                    const bool inPattern = x >= left && x < left + 8 && y >= top && y < top + height;
                    const bool set = inPattern && (rows[glyph][y - top] & (0x80 >> (x - left)));
                    ASSERT_EQ(paint.At(x, y), set ? drawn : kGuard) << x << "," << y;
                }
            EXPECT_EQ(paint.Outside(), 0);
        }
}

TEST(SkinGlyphs, ValuesOutsideTheFourPatternsDrawNothing) {
    // An item's ImageIndex picks the pattern and may hold anything.
    for (int glyph : {4, -1, 0x7FFFFFF}) {
        TGuarded paint(20, 20);
        DrawGlyphPattern(paint.Canvas(), paint.target, static_cast<TSbGlyphPattern>(glyph), clRed);
        int drawn = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) drawn += paint.At(x, y) != kGuard;
        EXPECT_EQ(drawn + paint.Outside(), 0) << glyph;
        EXPECT_EQ(GlyphPatternSize(static_cast<TSbGlyphPattern>(glyph)).cx, 0) << glyph;
    }
}

TEST(SkinGlyphs, GripDotsAndArrows) {
    TGuarded grip(8, 8);
    DrawGripDots(grip.Canvas(), grip.target, clWhite, clBlack);
    EXPECT_EQ(grip.At(0, 0), clBlack);
    EXPECT_EQ(grip.At(2, 2), clWhite);
    EXPECT_EQ(grip.At(4, 4), clBlack);
    EXPECT_EQ(grip.At(3, 0), kGuard);
    EXPECT_EQ(grip.Outside(), 0);

    TGuarded arrow(9, 9);
    DrawArrow(arrow.Canvas(), arrow.target.Left + 1, arrow.target.Top + 2, 3, true, false, clRed);
    EXPECT_EQ(arrow.At(4, 3), clRed);   // inside the downward triangle
    EXPECT_EQ(arrow.At(4, 7), kGuard);  // below its tip
    EXPECT_EQ(arrow.Outside(), 0);
}

struct MarkFixture : ::testing::Test {
    TOwned<TSbSkinOptions> skin = MakeOwned<TSbSkinOptions>();
    void SetUp() override {
        for (TSbSkinComponentsType c : {skncCheckBox, skncRadioButton}) {
            skin->Options(c, sknsNormal)->Body()->Fill(0, clWhite, clNone, clNone, clNone);
            skin->Options(c, sknsNormal)->Borders()->Fill(0, clGray, clGray, clNone, clNone);
        }
    }
    TColor Mark(TSbSkinComponentsType c) {
        return static_cast<TColor>(ColorToRGB(skin->GetTextColor(c, sknsNormal)));
    }
};

TEST_F(MarkFixture, CheckMarks) {
    TGuarded menu(16, 16);
    skin->PaintCheckMark(menu.Canvas(), menu.target, sknsNormal, true, false, true);
    const int x = 16 / 2 - 1, y = 16 / 2;
    const TColor menuColour = static_cast<TColor>(ColorToRGB(
        skin->GetTextColor(CurrentSkinType() == sknSkin ? skncMenuItem : skncCheckBox, sknsNormal)));
    EXPECT_EQ(menu.At(x, y + 1), menuColour);
    EXPECT_EQ(menu.At(x - 2, y - 1), menuColour);
    EXPECT_EQ(menu.At(x + 4, y - 3), menuColour);
    EXPECT_EQ(menu.At(0, 0), kGuard);
    EXPECT_EQ(menu.Outside(), 0);

    TGuarded box(13, 13);
    skin->PaintCheckMark(box.Canvas(), box.target, sknsNormal, true, false, false);
    EXPECT_EQ(box.At(0, 0), clGray);
    EXPECT_EQ(box.At(2, 10), clWhite);
    EXPECT_EQ(box.At(13 / 2 - 1, 13 / 2 + 1), Mark(skncCheckBox));
    EXPECT_EQ(box.Outside(), 0);

    TGuarded grayed(13, 13);
    skin->PaintCheckMark(grayed.Canvas(), grayed.target, sknsNormal, false, true, false);
    EXPECT_EQ(grayed.At(2, 2), clWhite);
    EXPECT_EQ(grayed.At(3, 3), Mark(skncCheckBox));
    EXPECT_EQ(grayed.At(9, 9), Mark(skncCheckBox));
    EXPECT_EQ(grayed.At(10, 10), clWhite);
}

TEST_F(MarkFixture, RadioMarks) {
    TGuarded radio(13, 13);
    skin->PaintRadioMark(radio.Canvas(), radio.target, sknsNormal, true, false);
    EXPECT_EQ(radio.At(0, 0), kGuard);  // outside the circle
    EXPECT_EQ(radio.At(6, 2), clWhite);
    EXPECT_EQ(radio.At(13 / 2 - 1, 13 / 2), Mark(skncRadioButton));
    EXPECT_EQ(radio.Outside(), 0);
}

TEST(SkinPaint, WindowFrameRingsAndBackground) {
    TOwned<TSbSkinOptions> skin = MakeOwned<TSbSkinOptions>();
    skin->Options(skncWindow)->Body()->Fill(0, clWhite, clNone, clNone, clNone);
    skin->Options(skncWindow)->Borders()->Fill(0, clRed, clLime, clBlue, clYellow);
    TGuarded frame(20, 20);
    skin->PaintWindowFrame(frame.Canvas(), frame.target, 5, true);
    const TColor rings[] = {clRed, clLime, clBlue, clYellow, clYellow, clWhite};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(frame.At(i, 10), rings[i]) << i;
    EXPECT_EQ(frame.Outside(), 0);

    // Body and borders together: the body goes one pixel inside.
    skin->Options(skncPanel)->Body()->Fill(0, clWhite, clNone, clNone, clNone);
    skin->Options(skncPanel)->Borders()->Fill(0, clRed, clRed, clNone, clNone);
    TGuarded panel(10, 10);
    skin->PaintBackground(panel.Canvas(), panel.target, skncPanel, sknsHotTrack, true, true, false);
    EXPECT_EQ(panel.At(0, 5), clRed);
    EXPECT_EQ(panel.At(1, 5), clWhite);
    EXPECT_EQ(panel.Outside(), 0);
}

}  // namespace
