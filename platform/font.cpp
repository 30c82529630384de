// TrueType image fonts: every Latin-1 glyph is rasterised once at load time
// into a small white picture whose alpha is the coverage, and text is drawn
// as one image per glyph, so it takes the current colour, alpha, blend, scale
// and rotation exactly like any other image.
#include "platform/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_SYNTHESIS_H

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <type_traits>

#include "platform/angles.h"
#include "platform/backend.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"

namespace plat {

class ImageFont {
public:
    struct Glyph {
        bool present = false;  // the face maps the character to a glyph
        ImagePtr image;        // null for glyphs that draw nothing (space)
        float advance = 0;     // pixels
        int offsetX = 0;       // picture's top-left from the pen, padding included
        int offsetY = 0;       // ... from the top of the text line
    };
    std::array<Glyph, 256> glyphs;
    int height = 0;  // line height in whole pixels
    int size = 0;    // the pixel size the face accepted
    int style = 0;
};

namespace {

constexpr int kFirstChar = 32;
constexpr int kLastChar = 255;
constexpr const char* kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kDefaultFontSize = 14;

// One library for the whole program. Faces are closed as soon as a font is
// loaded, so the library can go away with the program's statics.
FT_Library Library() {
    struct Holder {
        FT_Library lib = nullptr;
        Holder() {
            if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        }
        ~Holder() {
            if (lib) FT_Done_FreeType(lib);
        }
    };
    static Holder holder;
    return holder.lib;
}

struct FaceCloser {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

// Whole pixels from 26.6 fixed point, to nearest.
int RoundPixels(FT_Pos v) { return static_cast<int>((v + 32) >> 6); }

// Coverage (0..255) of pixel (x, y) of a rendered bitmap, whatever its mode.
// `gray` is the bitmap converted to 8 bits when the mode is an unusual one.
struct CoverageReader {
    const FT_Bitmap* bm;
    const uint8_t* Row(int y) const {
        const int pitch = bm->pitch;
        if (pitch >= 0) return bm->buffer + static_cast<ptrdiff_t>(y) * pitch;
        // Negative pitch: rows flow upward from the start of the buffer.
        return bm->buffer + static_cast<ptrdiff_t>(bm->rows - 1 - y) * -pitch;
    }
    int At(int x, int y) const {
        const uint8_t* row = Row(y);
        switch (bm->pixel_mode) {
            case FT_PIXEL_MODE_MONO:
                return (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            case FT_PIXEL_MODE_BGRA:
                return row[x * 4 + 3];
            default: {  // 8-bit gray, possibly with fewer levels
                const int levels = bm->num_grays > 1 ? bm->num_grays - 1 : 255;
                const int v = row[x] * 255 / levels;
                return v > 255 ? 255 : v;
            }
        }
    }
};

// The glyph's picture: white, coverage as alpha, one transparent pixel of
// padding on every side so filtered scaling never cuts an edge off.
PixmapPtr GlyphPixmap(FT_Library lib, const FT_Bitmap& src) {
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    const FT_Bitmap* bm = &src;
    const auto mode = src.pixel_mode;
    if (mode != FT_PIXEL_MODE_GRAY && mode != FT_PIXEL_MODE_MONO && mode != FT_PIXEL_MODE_BGRA) {
        if (FT_Bitmap_Convert(lib, &src, &converted, 1) != 0) {
            FT_Bitmap_Done(lib, &converted);
            return nullptr;
        }
        bm = &converted;
    }
    const int w = static_cast<int>(bm->width), h = static_cast<int>(bm->rows);
    PixmapPtr pm = CreatePixmap(w + 2, h + 2, PF_RGBA, 4);
    if (pm) {
        for (int y = 0; y < h + 2; ++y) {
            uint8_t* row = pm->Row(y);
            for (int x = 0; x < w + 2; ++x) {
                row[x * 4 + 0] = row[x * 4 + 1] = row[x * 4 + 2] = 255;
                row[x * 4 + 3] = 0;
            }
        }
        CoverageReader reader{bm};
        for (int y = 0; y < h; ++y) {
            uint8_t* row = pm->Row(y + 1);
            for (int x = 0; x < w; ++x) row[(x + 1) * 4 + 3] = static_cast<uint8_t>(reader.At(x, y));
        }
    }
    FT_Bitmap_Done(lib, &converted);
    return pm;
}

FT_Error SetSizeOrSmaller(FT_Face face, int size, int& accepted) {
    FT_Error err = FT_Err_Invalid_Pixel_Size;
    for (int s = size; s >= 1; --s) {
        err = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(s));
        if (err == 0) {
            accepted = s;
            return 0;
        }
    }
    return err;
}

// The face's line height in whole pixels. FreeType already rounds the scaled
// metrics of scalable faces; rounding to nearest keeps unusual faces sane.
// A face that reports no height falls back to ascender - descender, then to
// the pixel size.
int LineHeight(FT_Face face, int size) {
    const FT_Size_Metrics& m = face->size->metrics;
    int h = RoundPixels(m.height);
    if (h <= 0) h = RoundPixels(m.ascender - m.descender);
    if (h <= 0) h = size;
    return h;
}

struct FontState {
    FontPtr current;          // null: the default font
    FontPtr defaultFont;
    bool defaultTried = false;
};

// Never destroyed: the fonts' images must not free textures after the
// display has gone at exit.
FontState& State() {
    static FontState* state = new FontState;
    return *state;
}

const FontPtr& DefaultFont() {
    FontState& st = State();
    if (!st.defaultTried) {
        st.defaultTried = true;
        st.defaultFont = LoadImageFont(kDefaultFontPath, kDefaultFontSize, SMOOTHFONT);
    }
    return st.defaultFont;
}

const ImageFont* CurrentFont() {
    const FontState& st = State();
    if (st.current) return st.current.get();
    return DefaultFont().get();
}

}  // namespace

FontPtr LoadImageFont(const std::string& path, int size, int style) {
    FT_Library lib = Library();
    if (!lib || size < 1) return nullptr;

    std::string fixed = path;
    for (char& c : fixed)
        if (c == '\\') c = '/';

    FT_Face raw = nullptr;
    if (FT_New_Face(lib, fixed.c_str(), 0, &raw) != 0 || !raw) return nullptr;
    FacePtr face(raw);
    // Faces without a Unicode map (symbol fonts) use their first map.
    if (!face->charmap && face->num_charmaps > 0) FT_Set_Charmap(face.get(), face->charmaps[0]);

    auto font = std::make_shared<ImageFont>();
    font->style = style;
    if (SetSizeOrSmaller(face.get(), size, font->size) != 0) return nullptr;
    font->height = LineHeight(face.get(), font->size);
    const int ascender = RoundPixels(face->size->metrics.ascender);

    const bool smooth = (style & SMOOTHFONT) != 0;
    const FT_Int32 loadFlags = FT_LOAD_DEFAULT | (smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    const FT_Render_Mode renderMode = smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
    const int imageFlags = smooth ? (MASKEDIMAGE | FILTEREDIMAGE | MIPMAPPEDIMAGE) : MASKEDIMAGE;

    for (int c = kFirstChar; c <= kLastChar; ++c) {
        // Each byte is a Latin-1 character, which is its own Unicode code point.
        const FT_UInt index = FT_Get_Char_Index(face.get(), static_cast<FT_ULong>(c));
        if (index == 0) continue;
        if (FT_Load_Glyph(face.get(), index, loadFlags) != 0) continue;
        FT_GlyphSlot slot = face->glyph;
        if (style & BOLDFONT) FT_GlyphSlot_Embolden(slot);
        if (style & ITALICFONT) FT_GlyphSlot_Oblique(slot);
        if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, renderMode) != 0) continue;

        ImageFont::Glyph& g = font->glyphs[static_cast<size_t>(c)];
        g.present = true;
        g.advance = static_cast<float>(slot->advance.x) / 64.0f;
        g.offsetX = slot->bitmap_left - 1;
        g.offsetY = ascender - slot->bitmap_top - 1;
        if (slot->bitmap.width > 0 && slot->bitmap.rows > 0 && slot->bitmap.buffer) {
            if (PixmapPtr pm = GlyphPixmap(lib, slot->bitmap)) {
                g.image = LoadImage(pm, imageFlags);
            }
        }
    }
    return font;
}

void SetImageFont(const FontPtr& font) { State().current = font; }

FontPtr GetImageFont() { return State().current; }

void DrawText(const std::string& text, float x, float y) {
    detail::RecordText(text, x, y);
    const ImageFont* font = CurrentFont();
    if (!font) return;

    float sx = 1, sy = 1, hx = 0, hy = 0;
    GetScale(sx, sy);
    GetHandle(hx, hy);
    const float cs = static_cast<float>(Cos(GetRotation()));
    const float sn = static_cast<float>(Sin(GetRotation()));

    // Each glyph's top-left, measured from the text's handle, goes through
    // the same transform as an image's corners; the glyph image itself is then
    // drawn from its own top-left under the same scale and rotation.
    float pen = 0;
    for (unsigned char c : text) {
        const ImageFont::Glyph& g = font->glyphs[c];
        if (!g.present) continue;
        if (g.image) {
            const float lx = pen + static_cast<float>(g.offsetX) - hx;
            const float ly = static_cast<float>(g.offsetY) - hy;
            const float tx = lx * cs * sx - ly * sn * sy;
            const float ty = lx * sn * sx + ly * cs * sy;
            DrawImage(g.image, x + tx, y + ty);
        }
        pen += g.advance;
    }
}

int TextWidth(const std::string& text) {
    const ImageFont* font = CurrentFont();
    if (!font) return 0;
    int width = 0;
    for (unsigned char c : text) {
        const ImageFont::Glyph& g = font->glyphs[c];
        if (g.present) width = static_cast<int>(static_cast<float>(width) + g.advance);
    }
    return width;
}

int TextHeight(const std::string&) {
    const ImageFont* font = CurrentFont();
    return font ? font->height : 0;
}

namespace detail {

void ResetFontState() { State().current = nullptr; }

}  // namespace detail

}  // namespace plat
