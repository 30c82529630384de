// The game's rule for cutting a bitmap-font sheet into glyphs, used to check
// the sheets we render: a glyph is a maximal run of columns holding a pixel of
// alpha >= 1 within one band; the "previous column" state carries across bands.
#pragma once
#include <cstdint>
#include <vector>

namespace qab {

struct SheetGlyph {
    int band, x, width;
};

// `argb` rows of `stride` pixels; alpha in the top byte.
inline std::vector<SheetGlyph> CutSheet(const uint32_t* argb, int stride, int width, int height, int band) {
    std::vector<SheetGlyph> out;
    bool prev = false;
    int start = 0;
    for (int j = 0; j < height / band; ++j)
        for (int k = 0; k < width; ++k) {
            bool inked = false;
            for (int r = 0; r < band && !inked; ++r) inked = (argb[(j * band + r) * stride + k] >> 24) != 0;
            if (inked && !prev) start = k;
            if (!inked && prev) out.push_back({j, start, k - start});
            prev = inked;
        }
    return out;
}

}  // namespace qab
