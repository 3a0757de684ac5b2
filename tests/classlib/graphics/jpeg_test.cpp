// The installed libjpeg, called as the about page will call it: a picture the
// test encodes itself comes back with the same size and close colours.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "tests/classlib/graphics/jpeg_encoder.h"

TEST(Jpeg, LibraryApiVersionIs62) {
    EXPECT_EQ(JPEG_LIB_VERSION, 62);
}

TEST(Jpeg, DecodesWhatItEncoded) {
    const int width = 32, height = 16;
    std::vector<unsigned char> rgb(width * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(y * width + x) * 3];
            p[0] = x < width / 2 ? 200 : 20;
            p[1] = 100;
            p[2] = x < width / 2 ? 20 : 220;
        }

    const std::vector<unsigned char> encoded = EncodeJpeg(rgb, width, height, 95);
    ASSERT_GT(encoded.size(), 0u);

    jpeg_decompress_struct dinfo{};
    jpeg_error_mgr derr{};
    dinfo.err = jpeg_std_error(&derr);
    jpeg_create_decompress(&dinfo);
    jpeg_mem_src(&dinfo, encoded.data(), encoded.size());
    ASSERT_EQ(jpeg_read_header(&dinfo, TRUE), JPEG_HEADER_OK);
    jpeg_start_decompress(&dinfo);
    ASSERT_EQ(dinfo.output_width, JDIMENSION(width));
    ASSERT_EQ(dinfo.output_height, JDIMENSION(height));
    std::vector<unsigned char> decoded(width * height * 3);
    while (dinfo.output_scanline < dinfo.output_height) {
        JSAMPROW row = &decoded[dinfo.output_scanline * width * 3];
        jpeg_read_scanlines(&dinfo, &row, 1);
    }
    jpeg_finish_decompress(&dinfo);
    jpeg_destroy_decompress(&dinfo);

    // Lossy near the edge between the halves: compare the halves' averages.
    for (int half = 0; half < 2; ++half)
        for (int channel = 0; channel < 3; ++channel) {
            double want = 0, got = 0;
            for (int y = 0; y < height; ++y)
                for (int x = half * width / 2; x < (half + 1) * width / 2; ++x) {
                    want += rgb[(y * width + x) * 3 + channel];
                    got += decoded[(y * width + x) * 3 + channel];
                }
            EXPECT_NEAR(got / (width * height / 2), want / (width * height / 2), 8) << half << "/" << channel;
        }
}
