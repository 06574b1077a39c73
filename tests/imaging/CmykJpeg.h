#pragma once
// Writes the small CMYK JPEGs the decoding tests draw.

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace vellumo::test {

// A 16 x 16 CMYK (or YCCK) JPEG at quality 100 whose inks are `ink(x, y, channel)`
// (0 none, 255 full). With the Adobe marker the inks are stored inverted, as Photoshop
// does. `icc`, when given, goes into APP2 segments.
inline void WriteCmykJpeg(const std::filesystem::path& path, J_COLOR_SPACE stored, bool adobeMarker,
                          const std::function<uint8_t(int, int, int)>& ink,
                          const std::vector<uint8_t>& icc = {}) {
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(out, nullptr);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    jpeg_set_quality(&cinfo, 100, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    cinfo.write_Adobe_marker = adobeMarker ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    if (!icc.empty()) {
        jpeg_write_icc_profile(&cinfo, icc.data(), static_cast<unsigned>(icc.size()));
    }
    uint8_t row[16 * 4];
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            for (int c = 0; c < 4; ++c) {
                const uint8_t v = ink(x, y, c);
                row[x * 4 + c] = adobeMarker ? static_cast<uint8_t>(255 - v) : v;
            }
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
}

}  // namespace vellumo::test
