// Shared by the picture tests: an RGB picture the test made itself, encoded
// with the installed libjpeg, so the decoders get a JPEG of known content.
#pragma once

#include <cstdlib>
#include <vector>

#include <jpeglib.h>

// `rgb` holds `height` rows of `width` RGB triples, top row first.
inline std::vector<unsigned char> EncodeJpeg(std::vector<unsigned char> rgb, int width, int height,
                                             int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* encoded = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &encoded, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &rgb[info.next_scanline * width * 3];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(encoded, encoded + size);
    std::free(encoded);
    return bytes;
}
