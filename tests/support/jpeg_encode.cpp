#include "jpeg_encode.h"

#include <cstdio>  // before jpeglib.h, which needs FILE and size_t
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace quill_test {

std::string EncodeJpeg(int w, int h, bool grey, bool progressive, const std::function<uint32_t(int, int)>& rgb,
                       int quality) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = grey ? 1 : 3;
    c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    while (c.next_scanline < c.image_height) {
        const int y = static_cast<int>(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = rgb(x, y);
            if (grey) {
                row[static_cast<size_t>(x)] = static_cast<uint8_t>(v);
            } else {
                row[static_cast<size_t>(x) * 3 + 0] = static_cast<uint8_t>(v >> 16);
                row[static_cast<size_t>(x) * 3 + 1] = static_cast<uint8_t>(v >> 8);
                row[static_cast<size_t>(x) * 3 + 2] = static_cast<uint8_t>(v);
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<const char*>(buf), size);
    std::free(buf);
    jpeg_destroy_compress(&c);
    return out;
}

}  // namespace quill_test
