// Painting kit of the asset builder.
//
// Index: colours · generator and noise · fonts and text · canvas · shapes ·
//        captions · file writers and readers
#include "paint.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace qab {

// ---- colours ------------------------------------------------------------------
RGB Hex(uint32_t rgb) {
    return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}
RGB Mix(RGB a, RGB b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
static double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
RGB Scale(RGB c, double f) { return {Clamp01(c.r * f), Clamp01(c.g * f), Clamp01(c.b * f)}; }
RGB Lighter(RGB c, double t) { return Mix(c, {1, 1, 1}, t); }
RGB Darker(RGB c, double t) { return Mix(c, {0, 0, 0}, t); }
RGB Hsv(double h, double s, double v) {
    h = std::fmod(h, 360.0);
    if (h < 0) h += 360;
    double c = v * s, x = c * (1 - std::fabs(std::fmod(h / 60.0, 2.0) - 1)), m = v - c;
    double r = 0, g = 0, b = 0;
    if (h < 60) r = c, g = x;
    else if (h < 120) r = x, g = c;
    else if (h < 180) g = c, b = x;
    else if (h < 240) g = x, b = c;
    else if (h < 300) r = x, b = c;
    else r = c, b = x;
    return {r + m, g + m, b + m};
}
void SetColor(cairo_t* cr, RGB c, double a) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }
void AddStop(cairo_pattern_t* p, double at, RGB c, double a) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, a);
}

namespace pal {
const RGB night = Hex(0x1b2450), nightDeep = Hex(0x0b1030), violet = Hex(0x4a2f7a), violetDeep = Hex(0x24164a),
          gold = Hex(0xe0b24a), goldLight = Hex(0xfff0b0), goldDeep = Hex(0x8a5a14), parchment = Hex(0xf0dfb4),
          parchmentDark = Hex(0xc8a46a), ink = Hex(0x2a1808), wood = Hex(0x6b4424), woodDark = Hex(0x3a220f),
          woodLight = Hex(0x9a6a3a), stone = Hex(0x8a8a92), stoneDark = Hex(0x4a4a55), stoneLight = Hex(0xc4c4cc),
          moon = Hex(0xf4f0d8), white = Hex(0xffffff);
}

// ---- generator and noise -----------------------------------------------------------
uint64_t Hash64(const std::string& s, uint64_t h) {
    for (unsigned char ch : s) {
        h ^= ch;
        h *= 1099511628211ull;
    }
    return h;
}
Rng::Rng(const std::string& seed) : state_(Hash64(seed)) {}
uint64_t Rng::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
double Rng::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
double Rng::Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
int Rng::Int(int lo, int hi) {
    if (hi <= lo) return lo;
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
}

static inline uint32_t HashXY(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}
double ValueNoise(double x, double y, uint32_t seed) {
    double fx = std::floor(x), fy = std::floor(y);
    int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto v = [&](int32_t a, int32_t b) { return (HashXY(a, b, seed) & 0xFFFFFF) / 16777215.0; };
    double a = v(ix, iy), b = v(ix + 1, iy), c = v(ix, iy + 1), d = v(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}
double Fbm(double x, double y, int octaves, uint32_t seed) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 131u);
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

// ---- fonts and text ------------------------------------------------------------
const FontSource& FontFile(FontId id) {
    static const FontSource kFonts[F_COUNT] = {
        {"/usr/share/fonts/truetype/blankenburg/Blankenburg_UNZ1A.ttf", "fonts-blankenburg"},
        {"/usr/share/fonts/truetype/klaudia-berenika/Berenika-Bold.ttf", "fonts-klaudia-berenika"},
        {"/usr/share/fonts/truetype/cardo/Cardo104s.ttf", "fonts-cardo"},
        {"/usr/share/fonts/truetype/cardo/Cardob101.ttf", "fonts-cardo"},
        {"/usr/share/fonts/opentype/junicode/JunicodeTwoBeta-Bold.otf", "fonts-junicode"},
        {"/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf", "fonts-comic-neue"},
    };
    return kFonts[id];
}

namespace {
// FreeType objects are not shared between threads: each worker opens its own.
struct FaceCache {
    FT_Library lib = nullptr;
    FT_Face faces[F_COUNT] = {};
    FaceCache() {
        if (FT_Init_FreeType(&lib)) throw std::runtime_error("FreeType failed to start");
    }
    ~FaceCache() {
        for (auto& f : faces)
            if (f) FT_Done_Face(f);
        FT_Done_FreeType(lib);
    }
    FT_Face Get(FontId id) {
        if (!faces[id]) {
            const FontSource& s = FontFile(id);
            if (FT_New_Face(lib, s.file, 0, &faces[id]))
                throw std::runtime_error(std::string("cannot open font ") + s.file + " (install the Debian package " +
                                         s.package + ": run scripts/setup)");
        }
        return faces[id];
    }
};
thread_local std::unique_ptr<FaceCache> tlsFaces;
FT_Face Face(FontId id) {
    if (!tlsFaces) tlsFaces = std::make_unique<FaceCache>();
    return tlsFaces->Get(id);
}

// Decodes one UTF-8 code point; malformed bytes read as Latin-1.
uint32_t NextCodepoint(const std::string& s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = (c >= 0xF0) ? 3 : (c >= 0xE0) ? 2 : (c >= 0xC0) ? 1 : 0;
    if (extra == 0 || i + static_cast<size_t>(extra) > s.size()) return c;
    uint32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return cp;
}

struct OutlineSink {
    cairo_t* cr;
    double ox, oy, scale;
    double lastX = 0, lastY = 0;
    double X(long v) const { return ox + v * scale; }
    double Y(long v) const { return oy - v * scale; }
};
int MoveTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    cairo_close_path(s->cr);
    cairo_move_to(s->cr, s->X(to->x), s->Y(to->y));
    s->lastX = s->X(to->x);
    s->lastY = s->Y(to->y);
    return 0;
}
int LineTo(const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    cairo_line_to(s->cr, s->X(to->x), s->Y(to->y));
    s->lastX = s->X(to->x);
    s->lastY = s->Y(to->y);
    return 0;
}
int ConicTo(const FT_Vector* c, const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    double cx = s->X(c->x), cy = s->Y(c->y), x = s->X(to->x), y = s->Y(to->y);
    cairo_curve_to(s->cr, s->lastX + 2.0 / 3.0 * (cx - s->lastX), s->lastY + 2.0 / 3.0 * (cy - s->lastY),
                   x + 2.0 / 3.0 * (cx - x), y + 2.0 / 3.0 * (cy - y), x, y);
    s->lastX = x;
    s->lastY = y;
    return 0;
}
int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* s = static_cast<OutlineSink*>(user);
    cairo_curve_to(s->cr, s->X(c1->x), s->Y(c1->y), s->X(c2->x), s->Y(c2->y), s->X(to->x), s->Y(to->y));
    s->lastX = s->X(to->x);
    s->lastY = s->Y(to->y);
    return 0;
}

// Walks the text; for each glyph calls fn(glyphIndex, penX) and returns the advance.
template <class Fn>
double WalkText(FT_Face face, double scale, const std::string& text, double tracking, Fn fn) {
    double pen = 0;
    FT_UInt prev = 0;
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = NextCodepoint(text, i);
        FT_UInt gi = FT_Get_Char_Index(face, cp);
        if (prev && gi && FT_HAS_KERNING(face)) {
            FT_Vector k;
            if (!FT_Get_Kerning(face, prev, gi, FT_KERNING_UNSCALED, &k)) pen += k.x * scale;
        }
        if (FT_Load_Glyph(face, gi, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) continue;
        fn(face->glyph, pen);
        pen += face->glyph->advance.x * scale + tracking;
        prev = gi;
    }
    return pen - (text.empty() ? 0 : tracking);
}
}  // namespace

void CheckFonts() {
    for (int i = 0; i < F_COUNT; ++i) Face(static_cast<FontId>(i));
}

void TextPath(cairo_t* cr, FontId f, double px, double x, double y, const std::string& text, double tracking) {
    FT_Face face = Face(f);
    double scale = px / face->units_per_EM;
    WalkText(face, scale, text, tracking, [&](FT_GlyphSlot g, double pen) {
        if (g->format != FT_GLYPH_FORMAT_OUTLINE) return;
        static const FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
        OutlineSink sink{cr, x + pen, y, scale};
        cairo_new_sub_path(cr);
        FT_Outline_Decompose(&g->outline, &funcs, &sink);
        cairo_close_path(cr);
    });
}

TextBox MeasureText(FontId f, double px, const std::string& text, double tracking) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(s);
    TextPath(cr, f, px, 0, 0, text, tracking);
    TextBox b;
    cairo_path_extents(cr, &b.x0, &b.y0, &b.x1, &b.y1);
    FT_Face face = Face(f);
    b.advance = WalkText(face, px / face->units_per_EM, text, tracking, [](FT_GlyphSlot, double) {});
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return b;
}

bool HasGlyph(FontId f, uint32_t cp) { return FT_Get_Char_Index(Face(f), cp) != 0; }

void FontMetrics(FontId f, double px, double& asc, double& desc) {
    FT_Face face = Face(f);
    asc = face->ascender * px / face->units_per_EM;
    desc = face->descender * px / face->units_per_EM;
}

// ---- canvas ---------------------------------------------------------------------
Canvas::Canvas(int width, int height) : w(width), h(height) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
}
Canvas::~Canvas() {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
}
Canvas::Canvas(Canvas&& o) noexcept : w(o.w), h(o.h), surface(o.surface), cr(o.cr) {
    o.surface = nullptr;
    o.cr = nullptr;
}
uint32_t* Canvas::Pixels() {
    cairo_surface_flush(surface);
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
}
int Canvas::Stride() const { return cairo_image_surface_get_stride(surface) / 4; }
void Canvas::Flush() { cairo_surface_mark_dirty(surface); }

void Canvas::Paste(const Canvas& src, double x, double y, double alpha) {
    cairo_save(cr);
    cairo_set_source_surface(cr, src.surface, x, y);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
    Canvas out(width, height);
    cairo_set_source_surface(out.cr, surface, -x, -y);
    cairo_set_operator(out.cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(out.cr);
    cairo_set_operator(out.cr, CAIRO_OPERATOR_OVER);
    return out;
}

static inline uint32_t Pack(double a, double r, double g, double b) {
    auto q = [](double v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0)); };
    return (q(a) << 24) | (q(r) << 16) | (q(g) << 8) | q(b);
}

void Canvas::Grain(double amount, double scale, uint32_t seed, int octaves) {
    uint32_t* p = Pixels();
    int st = Stride();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = p[y * st + x];
            uint32_t a = v >> 24;
            if (!a) continue;
            double f = 1.0 + amount * (Fbm(x / scale, y / scale, octaves, seed) - 0.5) * 2.0;
            auto ch = [&](int sh) {
                double c = ((v >> sh) & 255) * f;
                return static_cast<uint32_t>(std::min<double>(a, std::max(0.0, std::round(c))));
            };
            p[y * st + x] = (a << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
        }
    Flush();
}

void BlurAlpha(std::vector<float>& a, int w, int h, double radius) {
    int r = std::max(1, static_cast<int>(std::lround(radius / 1.7)));
    std::vector<float> tmp(a.size());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            float sum = 0;
            for (int x = -r; x <= r; ++x) sum += (x >= 0 && x < w) ? a[y * w + x] : 0;
            for (int x = 0; x < w; ++x) {
                tmp[y * w + x] = sum / (2 * r + 1);
                int out = x - r, in = x + r + 1;
                if (out >= 0) sum -= a[y * w + out];
                if (in < w) sum += a[y * w + in];
            }
        }
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int y = -r; y <= r; ++y) sum += (y >= 0 && y < h) ? tmp[y * w + x] : 0;
            for (int y = 0; y < h; ++y) {
                a[y * w + x] = sum / (2 * r + 1);
                int out = y - r, in = y + r + 1;
                if (out >= 0) sum -= tmp[out * w + x];
                if (in < h) sum += tmp[in * w + x];
            }
        }
    }
}

void Canvas::Shadow(double dx, double dy, double radius, RGB color, double alpha) {
    uint32_t* p = Pixels();
    int st = Stride();
    std::vector<float> a(static_cast<size_t>(w) * h, 0.0f);
    int ix = static_cast<int>(std::lround(dx)), iy = static_cast<int>(std::lround(dy));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = x - ix, sy = y - iy;
            if (sx >= 0 && sy >= 0 && sx < w && sy < h) a[y * w + x] = (p[sy * st + sx] >> 24) / 255.0f;
        }
    if (radius > 0.5) BlurAlpha(a, w, h, radius);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = p[y * st + x];
            double sa = (v >> 24) / 255.0;
            double shA = std::min(1.0, a[y * w + x] * alpha) * (1.0 - sa);
            double outA = sa + shA;
            double r = ((v >> 16) & 255) / 255.0 + color.r * shA;
            double g = ((v >> 8) & 255) / 255.0 + color.g * shA;
            double b = (v & 255) / 255.0 + color.b * shA;
            p[y * st + x] = Pack(outA, r, g, b);
        }
    Flush();
}

void Canvas::Glow(double radius, RGB color, double alpha) { Shadow(0, 0, radius, color, alpha); }

void Canvas::Opaque(RGB bg) {
    uint32_t* p = Pixels();
    int st = Stride();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = p[y * st + x];
            double a = (v >> 24) / 255.0;
            p[y * st + x] = Pack(1.0, ((v >> 16) & 255) / 255.0 + bg.r * (1 - a),
                                 ((v >> 8) & 255) / 255.0 + bg.g * (1 - a), (v & 255) / 255.0 + bg.b * (1 - a));
        }
    Flush();
}

void Canvas::ClearRect(int x, int y, int width, int height) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_restore(cr);
}

double Canvas::AlphaAt(int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    return (Pixels()[y * Stride() + x] >> 24) / 255.0;
}

// ---- shapes -----------------------------------------------------------------------
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void Star(cairo_t* cr, double cx, double cy, double ro, double ri, int n, double rot) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < n * 2; ++i) {
        double a = rot + i * M_PI / n - M_PI / 2;
        double r = (i % 2) ? ri : ro;
        cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
    cairo_close_path(cr);
}

void RadialGlow(cairo_t* cr, double cx, double cy, double r, RGB c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    AddStop(p, 0, c, alpha);
    AddStop(p, 0.35, c, alpha * 0.45);
    AddStop(p, 0.7, c, alpha * 0.12);
    AddStop(p, 1, c, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void OvalGlow(cairo_t* cr, double cx, double cy, double r, double yScale, RGB color, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1.0, yScale);
    RadialGlow(cr, 0, 0, r, color, alpha);
    cairo_restore(cr);
}

void OvalPath(cairo_t* cr, double cx, double cy, double r, double yScale) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1.0, yScale);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_restore(cr);
}

// Applies fbm-modulated colour inside a rectangle (only where there is alpha).
static void GrainRect(Canvas& c, int x0, int y0, int w, int h, double amount, double sx, double sy, uint32_t seed,
                      int octaves) {
    uint32_t* p = c.Pixels();
    int st = c.Stride();
    for (int y = std::max(0, y0); y < std::min(c.h, y0 + h); ++y)
        for (int x = std::max(0, x0); x < std::min(c.w, x0 + w); ++x) {
            uint32_t v = p[y * st + x];
            uint32_t a = v >> 24;
            if (!a) continue;
            double f = 1.0 + amount * (Fbm(x / sx, y / sy, octaves, seed) - 0.5) * 2.0;
            auto ch = [&](int sh) {
                double cc = ((v >> sh) & 255) * f;
                return static_cast<uint32_t>(std::min<double>(a, std::max(0.0, std::round(cc))));
            };
            p[y * st + x] = (a << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
        }
    c.Flush();
}

void BevelPanel(Canvas& c, double x, double y, double w, double h, double r, RGB body, RGB rim, double rw,
                uint32_t seed, double grain) {
    cairo_t* cr = c.cr;
    // Rim: a metallic gradient ring.
    RoundRect(cr, x, y, w, h, r);
    cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x + w * 0.3, y + h);
    AddStop(g, 0, Lighter(rim, 0.5));
    AddStop(g, 0.45, rim);
    AddStop(g, 1, Darker(rim, 0.5));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Body.
    RoundRect(cr, x + rw, y + rw, w - 2 * rw, h - 2 * rw, std::max(0.0, r - rw));
    g = cairo_pattern_create_linear(x, y, x, y + h);
    AddStop(g, 0, Lighter(body, 0.12));
    AddStop(g, 1, Darker(body, 0.25));
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    // Inner bevel: dark on top-left, light on bottom-right (sunken body).
    cairo_set_line_width(cr, 2);
    g = cairo_pattern_create_linear(x, y, x + w, y + h);
    AddStop(g, 0, {0, 0, 0}, 0.45);
    AddStop(g, 0.5, {0, 0, 0}, 0.0);
    AddStop(g, 1, {1, 1, 1}, 0.25);
    cairo_set_source(cr, g);
    cairo_stroke(cr);
    cairo_pattern_destroy(g);
    // Outer highlight line.
    RoundRect(cr, x + 0.75, y + 0.75, w - 1.5, h - 1.5, r);
    cairo_set_line_width(cr, 1.2);
    g = cairo_pattern_create_linear(x, y, x + w, y + h);
    AddStop(g, 0, {1, 1, 1}, 0.55);
    AddStop(g, 0.6, {1, 1, 1}, 0.05);
    AddStop(g, 1, {0, 0, 0}, 0.5);
    cairo_set_source(cr, g);
    cairo_stroke(cr);
    cairo_pattern_destroy(g);
    if (grain > 0)
        GrainRect(c, static_cast<int>(x), static_cast<int>(y), static_cast<int>(w) + 1, static_cast<int>(h) + 1,
                  grain, 7, 7, seed, 3);
}

void WoodFill(Canvas& c, double x, double y, double w, double h, RGB base, uint32_t seed, bool vertical) {
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    SetColor(cr, base);
    cairo_fill(cr);
    cairo_restore(cr);
    // Grain streaks: stretched noise.
    uint32_t* p = c.Pixels();
    int st = c.Stride();
    for (int yy = std::max(0, int(y)); yy < std::min(c.h, int(y + h)); ++yy)
        for (int xx = std::max(0, int(x)); xx < std::min(c.w, int(x + w)); ++xx) {
            uint32_t v = p[yy * st + xx];
            uint32_t a = v >> 24;
            if (!a) continue;
            double u = vertical ? xx : yy, t = vertical ? yy : xx;
            double n = Fbm(u / 2.2 + Fbm(t / 60.0, u / 30.0, 2, seed + 7) * 6.0, t / 90.0, 4, seed);
            double ring = 0.5 + 0.5 * std::sin(n * 28.0);
            double f = 0.78 + 0.32 * n + 0.12 * ring;
            auto ch = [&](int sh) {
                double cc = ((v >> sh) & 255) * f;
                return static_cast<uint32_t>(std::min<double>(a, std::max(0.0, std::round(cc))));
            };
            p[yy * st + xx] = (a << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
        }
    c.Flush();
}

void ParchmentFill(Canvas& c, double x, double y, double w, double h, uint32_t seed) {
    cairo_t* cr = c.cr;
    cairo_pattern_t* g = cairo_pattern_create_radial(x + w / 2, y + h / 2, std::min(w, h) * 0.2, x + w / 2,
                                                     y + h / 2, std::max(w, h) * 0.75);
    AddStop(g, 0, Lighter(pal::parchment, 0.25));
    AddStop(g, 0.7, pal::parchment);
    AddStop(g, 1, pal::parchmentDark);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    GrainRect(c, int(x), int(y), int(w) + 1, int(h) + 1, 0.10, 18, 18, seed, 5);
    GrainRect(c, int(x), int(y), int(w) + 1, int(h) + 1, 0.04, 1.5, 1.5, seed + 3, 2);
}

void StoneFill(Canvas& c, double x, double y, double w, double h, RGB base, uint32_t seed) {
    cairo_t* cr = c.cr;
    SetColor(cr, base);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    GrainRect(c, int(x), int(y), int(w) + 1, int(h) + 1, 0.22, 12, 12, seed, 5);
    GrainRect(c, int(x), int(y), int(w) + 1, int(h) + 1, 0.08, 1.2, 1.2, seed + 5, 2);
}

// ---- captions ------------------------------------------------------------------------
void DrawCaptionText(Canvas& c, FontId f, double px, double cx, double baseline, const std::string& text,
                     CaptionStyle style, double tracking) {
    cairo_t* cr = c.cr;
    TextBox b = MeasureText(f, px, text, tracking);
    double x = cx - (b.x0 + b.x1) / 2;
    double outline = std::max(1.2, px / 11.0);
    // Outline first, under the fill.
    cairo_save(cr);
    cairo_new_path(cr);
    TextPath(cr, f, px, x, baseline, text, tracking);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    RGB out = style == CS_INK ? Hex(0xf6e7c0) : (style == CS_SILVER ? Hex(0x141a38) : Hex(0x2a1405));
    double outA = style == CS_INK ? 0.55 : 0.95;
    cairo_set_line_width(cr, outline * 2);
    SetColor(cr, out, outA);
    cairo_stroke_preserve(cr);
    double top = baseline + b.y0, bot = baseline + b.y1;
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, bot);
    switch (style) {
        case CS_GOLD:
            AddStop(g, 0, Hex(0xfff6c8));
            AddStop(g, 0.45, Hex(0xf2c85a));
            AddStop(g, 0.55, Hex(0xd89a2a));
            AddStop(g, 1, Hex(0xa86a18));
            break;
        case CS_GOLD_LIT:
            AddStop(g, 0, Hex(0xffffff));
            AddStop(g, 0.45, Hex(0xffe69a));
            AddStop(g, 0.55, Hex(0xffc040));
            AddStop(g, 1, Hex(0xe08a20));
            break;
        case CS_SILVER:
            AddStop(g, 0, Hex(0xffffff));
            AddStop(g, 0.5, Hex(0xc8d4f0));
            AddStop(g, 1, Hex(0x8896c8));
            break;
        case CS_INK:
            AddStop(g, 0, Hex(0x4a2a10));
            AddStop(g, 1, Hex(0x24120a));
            break;
        case CS_WHITE:
            AddStop(g, 0, Hex(0xffffff));
            AddStop(g, 1, Hex(0xe8e4f4));
            break;
    }
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // A thin upper highlight inside the letters.
    if (style == CS_GOLD || style == CS_GOLD_LIT) {
        cairo_new_path(cr);
        TextPath(cr, f, px, x, baseline, text, tracking);
        cairo_clip(cr);
        cairo_new_path(cr);
        TextPath(cr, f, px, x + 0.6, baseline + 0.9, text, tracking);
        cairo_set_line_width(cr, std::max(0.8, px / 26.0));
        SetColor(cr, Hex(0x7a4a10), 0.35);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

Canvas CaptionPicture(FontId f, double px, const std::string& text, CaptionStyle style, int padX, int padY,
                      double tracking) {
    TextBox b = MeasureText(f, px, text, tracking);
    int w = static_cast<int>(std::ceil(b.Width())) + 2 * padX;
    int h = static_cast<int>(std::ceil(b.Height())) + 2 * padY;
    if (w % 2) ++w;
    Canvas c(w, h);
    DrawCaptionText(c, f, px, w / 2.0, padY - b.y0, text, style, tracking);
    if (style == CS_GOLD_LIT)
        c.Glow(padY * 1.2, Hex(0xffc860), 0.55);
    else if (style != CS_INK)
        c.Shadow(1.5, 2, 2.5, {0, 0, 0}, 0.6);
    return c;
}

void FitCaption(Canvas& c, FontId f, double px, double cx, double cy, double maxW, const std::string& text,
                CaptionStyle style, double tracking) {
    TextBox b = MeasureText(f, px, text, tracking);
    if (b.Width() > maxW) {
        px *= maxW / b.Width();
        b = MeasureText(f, px, text, tracking);
    }
    DrawCaptionText(c, f, px, cx, cy - (b.y0 + b.y1) / 2, text, style, tracking);
}

// ---- file writers and readers --------------------------------------------------------
namespace {
struct FileCloser {
    void operator()(FILE* f) const {
        if (f) fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

void Unpremultiply(uint32_t v, uint8_t* out, bool alpha) {
    uint32_t a = v >> 24;
    auto un = [&](uint32_t c) -> uint8_t {
        if (a == 0) return 0;
        if (a == 255) return static_cast<uint8_t>(c);
        return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
    };
    out[0] = un((v >> 16) & 255);
    out[1] = un((v >> 8) & 255);
    out[2] = un(v & 255);
    if (alpha) out[3] = static_cast<uint8_t>(a);
}
}  // namespace

void WritePNG(const Canvas& cc, const std::string& path, bool alpha) {
    Canvas& c = const_cast<Canvas&>(cc);
    uint32_t* p = c.Pixels();
    int st = c.Stride();
    FilePtr f(fopen(path.c_str(), "wb"));
    if (!f) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed: " + path);
    }
    png_init_io(png, f.get());
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, c.w, c.h, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    int bpp = alpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(c.w) * bpp);
    for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < c.w; ++x) Unpremultiply(p[y * st + x], &row[static_cast<size_t>(x) * bpp], alpha);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

void WriteJPEG(const Canvas& cc, const std::string& path, int quality) {
    Canvas& c = const_cast<Canvas&>(cc);
    uint32_t* p = c.Pixels();
    int st = c.Stride();
    FilePtr f(fopen(path.c_str(), "wb"));
    if (!f) throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f.get());
    cinfo.image_width = static_cast<JDIMENSION>(c.w);
    cinfo.image_height = static_cast<JDIMENSION>(c.h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.optimize_coding = FALSE;
    cinfo.write_JFIF_header = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(c.w) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < c.w; ++x) {
            uint8_t px[4];
            Unpremultiply(p[y * st + x] | 0xFF000000u, px, false);
            row[x * 3] = px[0];
            row[x * 3 + 1] = px[1];
            row[x * 3 + 2] = px[2];
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

namespace {
struct JpegErr {
    jpeg_error_mgr mgr;
    jmp_buf jump;
};
void JpegFail(j_common_ptr c) { longjmp(reinterpret_cast<JpegErr*>(c->err)->jump, 1); }
}  // namespace

bool ReadImageFile(const std::string& path, int& w, int& h, std::vector<uint32_t>& argb, bool& hasAlpha) {
    FilePtr f(fopen(path.c_str(), "rb"));
    if (!f) return false;
    unsigned char sig[8] = {};
    size_t n = fread(sig, 1, 8, f.get());
    if (n == 8 && !png_sig_cmp(sig, 0, 8)) {
        f.reset();
        png_image img;
        std::memset(&img, 0, sizeof img);
        img.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&img, path.c_str())) return false;
        hasAlpha = (img.format & PNG_FORMAT_FLAG_ALPHA) != 0;
        img.format = PNG_FORMAT_BGRA;
        w = static_cast<int>(img.width);
        h = static_cast<int>(img.height);
        std::vector<uint8_t> buf(PNG_IMAGE_SIZE(img));
        if (!png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr)) return false;
        argb.assign(static_cast<size_t>(w) * h, 0);
        for (size_t i = 0; i < argb.size(); ++i) {
            uint32_t b = buf[i * 4], g = buf[i * 4 + 1], r = buf[i * 4 + 2], a = buf[i * 4 + 3];
            argb[i] = (a << 24) | ((r * a + 127) / 255 << 16) | ((g * a + 127) / 255 << 8) | ((b * a + 127) / 255);
        }
        return true;
    }
    if (n >= 2 && sig[0] == 0xFF && sig[1] == 0xD8) {
        rewind(f.get());
        jpeg_decompress_struct cinfo;
        JpegErr err;
        cinfo.err = jpeg_std_error(&err.mgr);
        err.mgr.error_exit = JpegFail;
        if (setjmp(err.jump)) {
            jpeg_destroy_decompress(&cinfo);
            return false;
        }
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, f.get());
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_RGB;
        jpeg_start_decompress(&cinfo);
        w = static_cast<int>(cinfo.output_width);
        h = static_cast<int>(cinfo.output_height);
        argb.assign(static_cast<size_t>(w) * h, 0);
        std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
        while (cinfo.output_scanline < cinfo.output_height) {
            int y = static_cast<int>(cinfo.output_scanline);
            JSAMPROW r = row.data();
            jpeg_read_scanlines(&cinfo, &r, 1);
            for (int x = 0; x < w; ++x)
                argb[static_cast<size_t>(y) * w + x] =
                    0xFF000000u | (uint32_t(row[x * 3]) << 16) | (uint32_t(row[x * 3 + 1]) << 8) | row[x * 3 + 2];
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        hasAlpha = false;
        return true;
    }
    return false;
}

}  // namespace qab
