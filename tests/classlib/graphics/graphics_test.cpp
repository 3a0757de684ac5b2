// Colours, fonts, canvases and bitmaps: drawing is checked by reading the
// pixels of a TBitmap; text positions are measured with the same canvas.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "classlib/core/streams.h"
#include "classlib/graphics/bitmap.h"
#include "classlib/graphics/jpeg.h"
#include "tests/classlib/graphics/jpeg_encoder.h"

namespace {

TOwned<TBitmap> WhiteBitmap(int width, int height) {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(width, height);
    return bitmap;
}

}  // namespace

TEST(Colors, SystemColorsBecomeTheSystemsRgb) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(clNone, 0x1FFFFFFF);
    EXPECT_EQ(clDefault, 0x20000000);
}

TEST(Colors, NamesAndValuesConvertBothWays) {
    struct Case {
        const char* name;
        TColor color;
    } cases[] = {{"clBlack", 0},           {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
                 {"clBtnFace", clBtnFace}, {"clNone", clNone},         {"clDefault", clDefault},
                 {"clGray", 0x808080},     {"clSilver", 0xC0C0C0}};
    for (const auto& c : cases) {
        std::string name;
        ASSERT_TRUE(ColorToIdent(c.color, name)) << c.name;
        EXPECT_EQ(name, c.name);
        TColor color = 0;
        ASSERT_TRUE(IdentToColor(c.name, color)) << c.name;
        EXPECT_EQ(color, c.color);
    }
    EXPECT_EQ(StringToColor("clltgray"), 0xC0C0C0);
    EXPECT_EQ(StringToColor("$00FF0000"), 0xFF0000);
    EXPECT_EQ(StringToColor("255"), 255);
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

TEST(Font, SizeAndHeightFollowPixelsPerInch) {
    TOwned<TFont> font(Create<TFont>());
    font->SetPixelsPerInch(96);
    font->SetSize(9);
    EXPECT_EQ(font->Height(), -12);
    font->SetPixelsPerInch(120);
    EXPECT_EQ(font->Size(), 7);
    int changes = 0;
    struct Counter {
        int* count;
        void Changed(TObject*) { ++*count; }
    } counter{&changes};
    font->OnChange = TNotifyEvent(&counter, &Counter::Changed);
    font->SetStyle({fsBold});
    font->SetStyle({fsBold});
    font->SetColor(clRed);
    EXPECT_EQ(changes, 2);
    EXPECT_NE(font->Handle(), nullptr);
}

TEST(Bitmap, IsA32BitSectionWhoseNewAreaIsWhite) {
    auto bitmap = WhiteBitmap(8, 4);
    EXPECT_EQ(bitmap->PixelFormat(), pf32bit);
    EXPECT_EQ(bitmap->PixelColor(7, 3), clWhite);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), clWhite);
}

TEST(Bitmap, BrushWithoutAColourFillsNothing) {
    TOwned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(8, 8);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect({0, 0, 8, 8});
    bitmap->Canvas()->Brush()->SetColor(clNone);
    bitmap->Canvas()->FillRect({0, 0, 8, 8});
    bitmap->Canvas()->Rectangle(0, 0, 8, 8);
    EXPECT_EQ(bitmap->PixelColor(4, 4), clRed);
    bitmap->Canvas()->Brush()->SetColor(clBlue);
    bitmap->Canvas()->FillRect({0, 0, 8, 8});
    EXPECT_EQ(bitmap->PixelColor(4, 4), clBlue);
}

TEST(Bitmap, FillFrameAndRectangleLandOnTheirPixels) {
    auto bitmap = WhiteBitmap(20, 20);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(2, 2, 6, 6));
    EXPECT_EQ(bitmap->PixelColor(2, 2), clRed);
    EXPECT_EQ(bitmap->PixelColor(5, 5), clRed);
    EXPECT_EQ(bitmap->PixelColor(6, 6), clWhite);

    canvas->Brush()->SetColor(clBlue);
    canvas->FrameRect(Rect(10, 10, 15, 15));
    EXPECT_EQ(bitmap->PixelColor(10, 12), clBlue);
    EXPECT_EQ(bitmap->PixelColor(14, 14), clBlue);
    EXPECT_EQ(bitmap->PixelColor(12, 12), clWhite);

    canvas->Pen()->SetColor(clLime);
    canvas->Brush()->SetColor(clYellow);
    canvas->Rectangle(0, 10, 8, 18);
    EXPECT_EQ(bitmap->PixelColor(0, 10), clLime);
    EXPECT_EQ(bitmap->PixelColor(7, 17), clLime);
    EXPECT_EQ(bitmap->PixelColor(4, 14), clYellow);

    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clBlack);
    canvas->Rectangle(16, 0, 20, 4);
    EXPECT_EQ(bitmap->PixelColor(18, 2), clWhite) << "a clear brush leaves the inside";
    EXPECT_EQ(bitmap->PixelColor(16, 0), clBlack);
}

TEST(Bitmap, LinesPolygonsAndPixels) {
    auto bitmap = WhiteBitmap(10, 10);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetColor(clRed);
    canvas->MoveTo(0, 5);
    canvas->LineTo(10, 5);
    EXPECT_EQ(bitmap->PixelColor(9, 5), clRed);
    EXPECT_EQ(canvas->PenPos(), Point(10, 5));
    canvas->SetPixels(3, 8, clBlue);
    EXPECT_EQ(canvas->Pixels(3, 8), clBlue);
    canvas->Brush()->SetColor(clGreen);
    canvas->Pen()->SetColor(clGreen);
    canvas->Polygon({Point(0, 0), Point(4, 0), Point(4, 4), Point(0, 4)});
    EXPECT_EQ(bitmap->PixelColor(2, 2), clGreen);
}

TEST(Bitmap, TextLandsWhereTheCanvasMeasuresIt) {
    auto bitmap = WhiteBitmap(200, 60);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName("Tahoma");
    canvas->Font()->SetHeight(-20);
    canvas->Font()->SetColor(clBlack);
    const TSize extent = canvas->TextExtent("WWW");
    ASSERT_GT(extent.cx, 10);
    ASSERT_GT(extent.cy, 10);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(30, 10, "WWW");
    // Ink inside the measured box, none left of it or below it.
    int inside = 0, outside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool ink = bitmap->PixelColor(x, y) != clWhite;
            const bool inBox = x >= 30 && x < 30 + extent.cx && y >= 10 && y < 10 + extent.cy;
            (inBox ? inside : outside) += ink;
        }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);

    TRect r = Rect(0, 0, 0, 0);
    canvas->DrawText("WWW", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), extent.cx);
    EXPECT_EQ(canvas->TextWidth("WWW"), extent.cx);
}

TEST(Bitmap, ResizingKeepsTheTopLeftContent) {
    auto bitmap = WhiteBitmap(4, 4);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(Rect(0, 0, 4, 4));
    bitmap->SetSize(8, 6);
    EXPECT_EQ(bitmap->PixelColor(3, 3), clRed);
    EXPECT_EQ(bitmap->PixelColor(5, 5), clWhite);
    bitmap->SetWidth(2);
    EXPECT_EQ(bitmap->Width(), 2);
    EXPECT_EQ(bitmap->PixelColor(1, 1), clRed);
}

TEST(Bitmap, MonochromeHoldsBlackAndWhite) {
    auto bitmap = WhiteBitmap(16, 2);
    bitmap->Canvas()->Brush()->SetColor(clBlack);
    bitmap->Canvas()->FillRect(Rect(0, 0, 8, 2));
    bitmap->SetMonochrome(true);
    EXPECT_TRUE(bitmap->Monochrome());
    EXPECT_EQ(bitmap->PixelColor(3, 1), clBlack);
    EXPECT_EQ(bitmap->PixelColor(12, 1), clWhite);
}

TEST(Bitmap, DrawsTransparentlyAroundItsTransparentColor) {
    auto glyph = WhiteBitmap(4, 4);
    glyph->Canvas()->Brush()->SetColor(clFuchsia);
    glyph->Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph->Canvas()->Brush()->SetColor(clNavy);
    glyph->Canvas()->FillRect(Rect(1, 1, 3, 3));
    glyph->SetTransparent(true);
    EXPECT_EQ(glyph->TransparentColor(), clFuchsia) << "the bottom-left pixel by default";

    auto target = WhiteBitmap(8, 8);
    target->Canvas()->Draw(2, 2, glyph.get());
    EXPECT_EQ(target->PixelColor(2, 2), clWhite);
    EXPECT_EQ(target->PixelColor(3, 3), clNavy);
}

TEST(Bitmap, StreamsAsABmpFile) {
    auto bitmap = WhiteBitmap(5, 3);
    bitmap->Canvas()->SetPixels(4, 0, clRed);
    bitmap->Canvas()->SetPixels(0, 2, clBlue);
    TOwned<TMemoryStream> stream(Create<TMemoryStream>());
    bitmap->SaveToStream(stream.get());
    stream->SetPosition(0);
    auto copy = WhiteBitmap(1, 1);
    copy->LoadFromStream(stream.get());
    EXPECT_EQ(copy->Width(), 5);
    EXPECT_EQ(copy->Height(), 3);
    EXPECT_EQ(copy->PixelColor(4, 0), clRed);
    EXPECT_EQ(copy->PixelColor(0, 2), clBlue);

    TOwned<TMemoryStream> junk(Create<TMemoryStream>());
    junk->WriteBuffer("BMxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 40);
    junk->SetPosition(0);
    EXPECT_THROW(copy->LoadFromStream(junk.get()), Exception);
}

TEST(Bitmap, MissingResourceRaisesResNotFound) {
    auto bitmap = WhiteBitmap(1, 1);
    try {
        bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), "NOSUCHBITMAP");
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NOSUCHBITMAP not found");
    }
}

TEST(Canvas, ClipSaveAndRestore) {
    auto bitmap = WhiteBitmap(10, 10);
    TCanvas* canvas = bitmap->Canvas();
    TClipState saved = canvas->SaveClip();
    canvas->IntersectClip(Rect(0, 0, 5, 5));
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(bitmap->PixelColor(7, 7), clWhite);
    canvas->RestoreClip(saved);
    canvas->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(bitmap->PixelColor(7, 7), clRed);
}

TEST(Canvas, TenThousandDrawsLeaveNoHandles) {
    const long gdi = GdiHandleCount();
    auto bitmap = WhiteBitmap(32, 32);
    for (int i = 0; i < 10000; ++i) {
        TCanvas* canvas = bitmap->Canvas();
        canvas->Brush()->SetColor(static_cast<TColor>(i & 0xFFFFFF));
        canvas->Pen()->SetWidth(1 + i % 3);
        canvas->Font()->SetHeight(-10 - i % 5);
        canvas->Rectangle(0, 0, 16, 16);
        canvas->TextOut(0, 0, "x");
        if (i % 100 == 0) bitmap->Dormant();
    }
    EXPECT_LE(GdiHandleCount(), gdi + 5) << "the section, its DC, a font, a pen and a brush";
    bitmap->Canvas()->Font()->SetHeight(-11);
    TOwned<TBitmap> other(Create<TBitmap>());
    for (int i = 0; i < 1000; ++i) {
        other->SetSize(10 + i % 7, 10);
        other->Canvas()->FillRect(Rect(0, 0, 5, 5));
    }
    other.reset();
    bitmap.reset();
    EXPECT_EQ(GdiHandleCount(), gdi) << "everything made here is gone";
}

TEST(Jpeg, DecodesAFileTheTestWrote) {
    const int width = 24, height = 12;
    std::vector<unsigned char> rgb(width * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(y * width + x) * 3];
            p[0] = x < width / 2 ? 230 : 10;
            p[1] = 20;
            p[2] = x < width / 2 ? 10 : 230;
        }
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    const std::string file = std::string(path) + "vexmora_jpeg_test.jpg";
    {
        FILE* out = std::fopen(file.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        const std::vector<unsigned char> encoded = EncodeJpeg(rgb, width, height, 95);
        std::fwrite(encoded.data(), 1, encoded.size(), out);
        std::fclose(out);
    }
    TOwned<TJPEGImage> image(Create<TJPEGImage>());
    image->LoadFromFile(file);
    EXPECT_EQ(image->Width(), width);
    EXPECT_EQ(image->Height(), height);
    auto target = WhiteBitmap(width, height);
    target->Canvas()->Draw(0, 0, image.get());
    const COLORREF left = target->PixelColor(2, 6), right = target->PixelColor(width - 3, 6);
    EXPECT_GT(GetRValue(left), 200);
    EXPECT_LT(GetBValue(left), 50);
    EXPECT_GT(GetBValue(right), 200);
    EXPECT_LT(GetRValue(right), 50);
    DeleteFileA(file.c_str());

    TOwned<TMemoryStream> junk(Create<TMemoryStream>());
    junk->WriteBuffer("\xFF\xD8\xFF\xE0garbage", 11);
    junk->SetPosition(0);
    EXPECT_THROW(image->LoadFromStream(junk.get()), EInvalidGraphic);
}
