#include "classlib/graphics/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "classlib/core/streams.h"

namespace {

struct ErrorManager {
    jpeg_error_mgr public_;
    std::jmp_buf jump;
};

extern "C" void ErrorExit(j_common_ptr info) {
    // libjpeg's default ends the process; unwind to the decoder instead.
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

extern "C" void SilentMessage(j_common_ptr) {}

// Decodes into rows of RGB; only plain data lives across the jump.
bool Decode(const unsigned char* data, size_t size, std::vector<unsigned char>& rgb, unsigned& width,
            unsigned& height) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&errors.public_);
    errors.public_.error_exit = ErrorExit;
    errors.public_.output_message = SilentMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = info.output_width;
    height = info.output_height;
    if (width == 0 || height == 0 || width > 0x4000 || height > 0x4000 || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    rgb.resize(static_cast<size_t>(width) * height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &rgb[static_cast<size_t>(info.output_scanline) * width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

TJPEGImage::TJPEGImage() : bitmap_(Create<TBitmap>()) {}

void TJPEGImage::LoadFromStream(TStream* Stream) {
    const int64_t size = Stream->Size() - Stream->Position();
    if (size <= 0 || size > 0x4000000) throw EInvalidGraphic("JPEG error #53");
    std::vector<unsigned char> data(static_cast<size_t>(size));
    Stream->ReadBuffer(data.data(), static_cast<int>(size));
    std::vector<unsigned char> rgb;
    unsigned width = 0, height = 0;
    if (!Decode(data.data(), data.size(), rgb, width, height)) throw EInvalidGraphic("JPEG error #53");
    bitmap_->SetSize(static_cast<int>(width), static_cast<int>(height));
    for (unsigned y = 0; y < height; ++y) {
        auto* target = static_cast<std::uint32_t*>(bitmap_->ScanLine(static_cast<int>(y)));
        const unsigned char* source = &rgb[static_cast<size_t>(y) * width * 3];
        for (unsigned x = 0; x < width; ++x, source += 3)
            target[x] = (std::uint32_t(source[0]) << 16) | (std::uint32_t(source[1]) << 8) | source[2];
    }
    data_ = std::move(data);
    Changed();
}

void TJPEGImage::SaveToStream(TStream* Stream) {
    if (!data_.empty()) Stream->WriteBuffer(data_.data(), static_cast<int>(data_.size()));
}

void TJPEGImage::Assign(TPersistent* Source) {
    if (auto* source = dynamic_cast<TJPEGImage*>(Source)) {
        if (source == this) return;
        bitmap_->Assign(source->bitmap_.get());
        data_ = source->data_;
        Changed();
        return;
    }
    inherited::Assign(Source);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& R) {
    ACanvas->StretchDraw(R, bitmap_.get());
}
