// TPicture with files the test writes itself (a bitmap, an icon, a JPEG),
// each 16x8, red over blue: the graphic class follows the extension, the
// pixels come through, and every change of the picture or its graphic is told.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "classlib/core/files.h"
#include "classlib/core/text.h"
#include "classlib/graphics/jpeg.h"
#include "classlib/graphics/picture.h"
#include "tests/classlib/graphics/jpeg_encoder.h"

namespace {

constexpr int kWidth = 16, kHeight = 8;

std::string TempName(const std::string& ext) {
    return GetTempDir() + "vx_picture_" + IntToStr(GetCurrentProcessId()) + ext;
}

void WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) {
    FILE* out = std::fopen(name.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

void WriteBmp(const std::string& name) {
    TOwned<TBitmap> bitmap(Create<TBitmap>());
    bitmap->SetSize(kWidth, kHeight);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(Rect(0, 0, kWidth, kHeight / 2));
    bitmap->Canvas()->Brush()->SetColor(clBlue);
    bitmap->Canvas()->FillRect(Rect(0, kHeight / 2, kWidth, kHeight));
    bitmap->SaveToFile(name);
}

void WriteIco(const std::string& name) {
    std::vector<unsigned char> file;
    auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back((value >> (8 * i)) & 0xFF);
    };
    const std::uint32_t imageSize = 40 + kWidth * kHeight * 4 + 4 * kHeight;
    put(0, 2), put(1, 2), put(1, 2);  // directory: one icon
    put(kWidth, 1), put(kHeight, 1), put(0, 2), put(1, 2), put(32, 2), put(imageSize, 4), put(22, 4);
    put(40, 4), put(kWidth, 4), put(kHeight * 2, 4), put(1, 2), put(32, 2);  // colour and mask rows
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int y = kHeight - 1; y >= 0; --y)
        for (int x = 0; x < kWidth; ++x) put(y < kHeight / 2 ? 0xFFFF0000u : 0xFF0000FFu, 4);
    file.insert(file.end(), 4 * kHeight, 0);  // all opaque
    WriteBytes(name, file);
}

void WriteJpeg(const std::string& name) {
    std::vector<unsigned char> rgb(kWidth * kHeight * 3);
    for (int i = 0; i < kWidth * kHeight; ++i) rgb[i * 3 + (i < kWidth * kHeight / 2 ? 0 : 2)] = 255;
    WriteBytes(name, EncodeJpeg(rgb, kWidth, kHeight, 100));
}

// Red over blue, give or take what JPEG does to a colour.
void ExpectRedOverBlue(TGraphic* graphic, const std::string& what) {
    TOwned<TBitmap> target(Create<TBitmap>());
    target->SetSize(kWidth, kHeight);
    target->Canvas()->Draw(0, 0, graphic);
    const COLORREF top = target->PixelColor(3, 1), bottom = target->PixelColor(12, 6);
    EXPECT_TRUE(GetRValue(top) > 215 && GetBValue(top) < 40) << what << std::hex << " " << top;
    EXPECT_TRUE(GetBValue(bottom) > 215 && GetRValue(bottom) < 40) << what << std::hex << " " << bottom;
}

struct Counter {
    int count = 0;
    TObject* sender = nullptr;
    void Changed(TObject* Sender) { ++count, sender = Sender; }
};

TOwned<TPicture> CountedPicture(Counter& counter) {
    TOwned<TPicture> picture(Create<TPicture>());
    picture->OnChange = TNotifyEvent(&counter, &Counter::Changed);
    return picture;
}

}  // namespace

TEST(Picture, LoadFromFileChoosesTheGraphicByExtension) {
    struct Case {
        const char* ext;
        void (*write)(const std::string&);
        TClass graphicClass;
    } cases[] = {{".bmp", WriteBmp, TBitmap::ClassInfo()},
                 {".ico", WriteIco, TIcon::ClassInfo()},
                 {".jpg", WriteJpeg, TJPEGImage::ClassInfo()},
                 {".JPEG", WriteJpeg, TJPEGImage::ClassInfo()}};
    for (const auto& c : cases) {
        const std::string name = TempName(c.ext), copy = TempName(std::string("_copy") + c.ext);
        c.write(name);
        Counter counter;
        auto picture = CountedPicture(counter);
        picture->LoadFromFile(name);
        ASSERT_NE(picture->Graphic(), nullptr) << c.ext;
        EXPECT_EQ(picture->Graphic()->ClassType(), c.graphicClass) << c.ext;
        EXPECT_EQ(picture->Width(), kWidth) << c.ext;
        EXPECT_EQ(picture->Height(), kHeight) << c.ext;
        EXPECT_EQ(counter.count, 1) << c.ext;
        EXPECT_EQ(counter.sender, picture.get()) << c.ext;
        ExpectRedOverBlue(picture->Graphic(), c.ext);
        if (c.graphicClass != TIcon::ClassInfo()) {  // icons are not written
            picture->SaveToFile(copy);
            TOwned<TPicture> reloaded(Create<TPicture>());
            reloaded->LoadFromFile(copy);
            ExpectRedOverBlue(reloaded->Graphic(), std::string("saved ") + c.ext);
        }
        DeleteFileA(name.c_str());
        DeleteFileA(copy.c_str());
    }
}

TEST(Picture, AFileThatCannotBeLoadedLeavesThePictureAsItWas) {
    Counter counter;
    auto picture = CountedPicture(counter);
    TBitmap* held = picture->Bitmap();
    held->SetSize(3, 2);
    counter.count = 0;
    try {
        picture->LoadFromFile(TempName(".gif"));
        ADD_FAILURE();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (gif)");
    }
    const std::string junk = TempName(".bmp");
    WriteBytes(junk, std::vector<unsigned char>(60, 'B'));
    EXPECT_THROW(picture->LoadFromFile(junk), EInvalidGraphic);
    DeleteFileA(junk.c_str());
    EXPECT_THROW(picture->LoadFromFile(TempName("_absent.jpg")), EFOpenError);
    EXPECT_EQ(picture->Graphic(), held);
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(counter.count, 0);
}

TEST(Picture, ChangesOfTheHeldGraphicAreTold) {
    Counter counter;
    auto picture = CountedPicture(counter);
    TBitmap* bitmap = picture->Bitmap();  // made on demand: 1
    EXPECT_EQ(picture->Bitmap(), bitmap);
    bitmap->SetSize(10, 10);       // 2
    bitmap->SetTransparent(true);  // 3
    EXPECT_EQ(counter.count, 3);
    TIcon* icon = picture->Icon();  // replaces the bitmap: 4
    EXPECT_TRUE(icon->Empty());
    icon->SetHandle(CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));  // 5
    picture->SetGraphic(nullptr);                                            // 6
    EXPECT_EQ(picture->Width(), 0);
    EXPECT_EQ(counter.count, 6);
    EXPECT_EQ(counter.sender, picture.get());
}

TEST(Picture, AssignCopiesTheGraphic) {
    const std::string name = TempName(".bmp");
    WriteBmp(name);
    TOwned<TBitmap> source(Create<TBitmap>());
    source->LoadFromFile(name);
    DeleteFileA(name.c_str());

    Counter counter;
    auto picture = CountedPicture(counter);
    picture->Assign(source.get());
    source->SetSize(2, 2);
    EXPECT_EQ(picture->Width(), kWidth) << "a copy, not the source";
    EXPECT_EQ(counter.count, 1) << "the source's changes are not the picture's";

    TOwned<TPicture> other(Create<TPicture>());
    other->Assign(picture.get());
    EXPECT_NE(other->Graphic(), picture->Graphic());
    TOwned<TBitmap> out(Create<TBitmap>());
    out->Assign(other.get());
    ExpectRedOverBlue(out.get(), "picture to picture to bitmap");

    TOwned<TFont> font(Create<TFont>());
    EXPECT_THROW(picture->Assign(font.get()), EConvertError);
    picture->Assign(nullptr);
    EXPECT_EQ(picture->Graphic(), nullptr);
}
