// The image: AutoSize takes the picture's size; the picture is drawn at the
// corner, stretched over the control, or without its transparent colour.
#include "classlib/stdctrls/image.h"

#include "tests/classlib/stdctrls/stdctrls_test.h"

using namespace stdctrls_test;

namespace {

// A 20 x 10 bitmap: red, with a white square in the middle and a blue
// bottom-left corner (the colour a transparent bitmap leaves out).
TOwned<TBitmap> Picture() {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(20, 10);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 20, 10));
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(8, 3, 12, 7));
    canvas->SetPixels(0, 9, clBlue);
    return bitmap;
}

class Image : public WindowTest {
protected:
    TImage* NewImage() {
        TForm* form = NewForm(40, 40, 200, 150);
        form->SetColor(clLime);
        auto* image = Create<TImage>(form);
        image->SetParent(form);
        image->SetBounds(10, 10, 60, 40);
        form->Show();
        Pump();
        return image;
    }
    TColor At(TImage* image, int x, int y) {
        TOwned<TBitmap> shot = CaptureClient(image->Parent()->Handle());
        return static_cast<TColor>(ColorToRGB(shot->PixelColor(image->Left() + x, image->Top() + y)));
    }
};

}  // namespace

TEST_F(Image, AutoSizeTakesThePicturesSize) {
    TImage* image = NewImage();
    TOwned<TBitmap> picture = Picture();
    image->SetAutoSize(true);
    image->Picture()->SetBitmap(picture.get());
    EXPECT_EQ(image->Width(), 20);
    EXPECT_EQ(image->Height(), 10);
}

TEST_F(Image, ThePictureIsDrawnAtTheCornerOrStretched) {
    TImage* image = NewImage();
    TOwned<TBitmap> picture = Picture();
    image->Picture()->SetBitmap(picture.get());
    EXPECT_EQ(At(image, 1, 1), clRed);
    EXPECT_EQ(At(image, 10, 5), clWhite);
    EXPECT_EQ(At(image, 40, 30), clLime) << "beyond the picture the parent shows";
    image->SetStretch(true);
    EXPECT_EQ(At(image, 30, 20), clWhite) << "the middle of the control";
    EXPECT_EQ(At(image, 55, 5), clRed);
}

TEST_F(Image, ATransparentPictureLeavesItsTransparentColourOut) {
    TImage* image = NewImage();
    TOwned<TBitmap> picture = Picture();
    picture->Canvas()->Brush()->SetColor(clBlue);
    picture->Canvas()->FillRect(Rect(0, 0, 4, 10));
    image->Picture()->SetBitmap(picture.get());
    EXPECT_EQ(At(image, 1, 1), clBlue);
    image->SetTransparent(true);
    EXPECT_EQ(At(image, 1, 1), clLime);
    EXPECT_EQ(At(image, 6, 1), clRed);
}
