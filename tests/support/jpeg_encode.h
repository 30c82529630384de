// A small JPEG encoder for tests and benchmarks, on libjpeg's compressor: the
// decoder's inputs are made here rather than carried as binary fixtures.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace quill_test {

// Encodes a w x h picture whose pixel (x, y) is rgb(x, y) as 0xRRGGBB (a grey
// picture takes the low byte); returns the file bytes.
std::string EncodeJpeg(int w, int h, bool grey, bool progressive, const std::function<uint32_t(int, int)>& rgb,
                       int quality = 95);

}  // namespace quill_test
