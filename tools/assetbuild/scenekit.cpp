// The scene painter: skies, terrains, weather and the element library.
//
// Every element is drawn in its own frame: origin at its foot, y up is
// negative, one unit is one pixel of an 800x600 picture. The light of the sky
// (ambient tint, key-light side, haze colour) is applied to every colour an
// element uses, so a cottage at dusk and the same cottage at noon belong to
// their pictures without per-scene palettes.
//
// Index: light · helpers · sky · terrain · buildings · plants · figures ·
//        creatures · small things · dispatch · weather · scene
#include "scenekit.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "artkit.h"

namespace qab {
namespace scene {
namespace {

// ---- light ---------------------------------------------------------------------------------
struct Light {
    RGB top, mid, hz;     // sky gradient
    RGB sun;              // disc colour
    bool moon = false;
    double stars = 0;     // star density 0..1
    RGB ambient;          // multiplies object colours
    RGB key;              // light on the lit side
    RGB haze;             // distance colour
    RGB window;           // lit windows and lanterns
    double glow = 0.5;    // how strongly lights glow (stronger at night)
};

Light LightOf(Sky s) {
    Light L;
    switch (s) {
        case Sky::Dawn:
            L = {Hex(0x4a5a9a), Hex(0xc890a8), Hex(0xffd0a0), Hex(0xfff0c8), false, 0.05,
                 {0.92, 0.82, 0.8}, Hex(0xffd8b0), Hex(0xe8b8b0), Hex(0xffd890), 0.35};
            break;
        case Sky::Day:
            L = {Hex(0x3a78c8), Hex(0x78b0e8), Hex(0xd8ecf8), Hex(0xfffbe8), false, 0,
                 {1.0, 1.0, 0.98}, Hex(0xfff4d8), Hex(0xc0d8ec), Hex(0xffe0a0), 0.2};
            break;
        case Sky::Dusk:
            L = {Hex(0x2a2a6a), Hex(0xb05a70), Hex(0xffa050), Hex(0xffd080), false, 0.1,
                 {0.85, 0.68, 0.62}, Hex(0xffb070), Hex(0xc07888), Hex(0xffc860), 0.55};
            break;
        case Sky::Night:
            L = {Hex(0x060a22), Hex(0x14205a), Hex(0x3a4a8a), Hex(0xfffff0), true, 1.0,
                 {0.38, 0.45, 0.7}, Hex(0xb8c8ff), Hex(0x3a4680), Hex(0xffd27a), 0.85};
            break;
        case Sky::Violet:
            L = {Hex(0x1a0c3a), Hex(0x5a2a7a), Hex(0xd07a9a), Hex(0xffe0c0), false, 0.5,
                 {0.6, 0.5, 0.72}, Hex(0xe0a0c0), Hex(0x7a4a8a), Hex(0xffc870), 0.7};
            break;
        case Sky::Ember:
            L = {Hex(0x1a0606), Hex(0x4a1010), Hex(0xb8401a), Hex(0xffb060), false, 0.15,
                 {0.7, 0.42, 0.36}, Hex(0xff8040), Hex(0x6a2418), Hex(0xffa040), 0.8};
            break;
        case Sky::Deep:
            L = {Hex(0x04202a), Hex(0x0e4a56), Hex(0x3aa0a0), Hex(0xd0fff0), false, 0,
                 {0.45, 0.7, 0.72}, Hex(0xa0f0e0), Hex(0x2a7a7a), Hex(0xc0ffe0), 0.7};
            break;
        case Sky::Winter:
            L = {Hex(0x6a7a98), Hex(0xa8b8cc), Hex(0xe4ecf4), Hex(0xfffaf0), false, 0,
                 {0.86, 0.9, 1.0}, Hex(0xf0f4ff), Hex(0xc8d4e4), Hex(0xffd890), 0.4};
            break;
        case Sky::Storm:
            L = {Hex(0x1e242c), Hex(0x464e56), Hex(0x8a9294), Hex(0xe0e4e0), false, 0,
                 {0.6, 0.64, 0.68}, Hex(0xc8d0d4), Hex(0x70787c), Hex(0xffd080), 0.5};
            break;
    }
    return L;
}

// ---- helpers -------------------------------------------------------------------------------
double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
RGB Mul(RGB a, RGB b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

// What an element draws with: the light, its haze and which side is lit.
struct Pen {
    Canvas& c;
    cairo_t* cr;
    const Light& L;
    double haze;
    double side;  // +1: the key light comes from the element's right
    Rng rng;
    bool lit;
    double glowScale;  // element units to canvas pixels, for glows drawn later

    RGB Col(RGB base) const { return Mix(Mul(base, L.ambient), L.haze, haze); }
    void Fill(RGB base, double a = 1) const {
        SetColor(cr, Col(base), a);
        cairo_fill(cr);
    }
    void FillKeep(RGB base, double a = 1) const {
        SetColor(cr, Col(base), a);
        cairo_fill_preserve(cr);
    }
    // A horizontal shading across the path: light side to shadow side.
    void Shade(RGB base, double x0, double x1, double light = 0.25, double dark = 0.35) const {
        double a = side > 0 ? x1 : x0, b = side > 0 ? x0 : x1;
        cairo_pattern_t* g = cairo_pattern_create_linear(a, 0, b, 0);
        RGB hi = Mix(base, Mul(base, L.key), 0.5);
        AddStop(g, 0, Col(Lighter(hi, light)));
        AddStop(g, 1, Col(Darker(base, dark)));
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        Ink(base);
    }
    // A thin dark outline along the current path, as an illustrator inks a
    // shape so it holds together against busy ground.
    void Ink(RGB base) const {
        SetColor(cr, Col(Darker(base, 0.65)), 0.55 * (1 - haze));
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }
    void VShade(RGB base, double y0, double y1, double light = 0.2, double dark = 0.35) const {
        cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
        AddStop(g, 0, Col(Lighter(Mix(base, Mul(base, L.key), 0.5), light)));
        AddStop(g, 1, Col(Darker(base, dark)));
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        Ink(base);
    }
    void Stroke(RGB base, double w, double a = 1) const {
        SetColor(cr, Col(base), a);
        cairo_set_line_width(cr, w);
        cairo_stroke(cr);
    }
    // Warm light: a window, lantern or gem glow, hazed less than matter.
    void Glow(double x, double y, double r, RGB col, double a = 1) const {
        if (!lit) return;
        RadialGlow(cr, x, y, r, Mix(col, L.haze, haze * 0.5), a * L.glow * (1 - haze * 0.5));
    }
    void Window(double x, double y, double w, double h) const {
        cairo_rectangle(cr, x, y, w, h);
        if (lit && L.glow > 0.3) {
            SetColor(cr, Mix(L.window, L.haze, haze * 0.4));
            cairo_fill(cr);
            Glow(x + w / 2, y + h / 2, std::max(w, h) * 2.2, L.window, 0.7);
        } else {
            Fill(Hex(0x2a2430));
            cairo_rectangle(cr, x, y, w * 0.45, h * 0.45);
            SetColor(cr, Mix(L.key, L.haze, haze), 0.25);
            cairo_fill(cr);
        }
    }
};

void Poly(cairo_t* cr, std::initializer_list<double> xy) {
    auto it = xy.begin();
    cairo_move_to(cr, it[0], it[1]);
    for (size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr, it[i], it[i + 1]);
    cairo_close_path(cr);
}

// A ground shadow under a standing thing.
void FootShadow(const Pen& p, double w) {
    Ellipse(p.cr, p.side * -w * 0.15, 0, w * 0.6, w * 0.09);
    SetColor(p.cr, Hex(0x000000), 0.25 * (1 - p.haze));
    cairo_fill(p.cr);
}

// A pitched roof of tiles or thatch over (x0..x1) at eave y, ridge h above.
void Roof(const Pen& p, double x0, double x1, double y, double h, RGB col, bool thatch) {
    cairo_t* cr = p.cr;
    double over = (x1 - x0) * 0.08;
    Poly(cr, {x0 - over, y, (x0 + x1) / 2, y - h, x1 + over, y});
    p.Shade(col, x0, x1, 0.2, 0.4);
    // Courses of tiles or straw.
    for (int i = 1; i < 5; ++i) {
        double t = i / 5.0, yy = y - h + h * t, half = ((x1 - x0) / 2 + over) * t;
        cairo_move_to(cr, (x0 + x1) / 2 - half, yy);
        cairo_line_to(cr, (x0 + x1) / 2 + half, yy);
        p.Stroke(Darker(col, thatch ? 0.25 : 0.4), thatch ? 1.2 : 0.9, 0.6);
    }
}

// ---- sky -----------------------------------------------------------------------------------
void Cloud(cairo_t* cr, double cx, double cy, double w, RGB body, RGB rim, double a, Rng& rng) {
    // Many soft puffs of mixed size over a flat, darker base: billows that
    // read as vapour, not as a row of balls.
    int puffs = 10 + rng.Int(0, 6);
    OvalGlow(cr, cx, cy, w * 0.6, 0.22, Darker(body, 0.1), a * 0.7);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < puffs; ++i) {
            double t = rng.Range(-0.5, 0.5);
            double px = cx + t * w;
            double r = w * (0.07 + 0.16 * std::cos(t * M_PI)) * rng.Range(0.6, 1.2);
            double py = cy - r * rng.Range(0.1, 0.6) * (pass ? 1.3 : 1.0);
            cairo_pattern_t* g = cairo_pattern_create_radial(px - r * 0.25, py - r * 0.45, r * 0.05, px, py, r);
            RGB top = pass == 0 ? body : Mix(body, rim, 0.75);
            AddStop(g, 0, top, a * (pass ? 0.9 : 0.75));
            AddStop(g, 0.75, Mix(top, body, 0.6), a * 0.7);
            AddStop(g, 1, body, 0);
            cairo_set_source(cr, g);
            Ellipse(cr, px, py, r, r * 0.7);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
}

// Band of a distant ridge line, from noise.
double RidgeY(double x, double W, double base, double amp, double period, uint32_t seed, double sharp = 0) {
    double n = Fbm(x / (W * period), 0.37, 4, seed);
    double v = n;
    if (sharp > 0) v = Mix(RGB{n, 0, 0}, RGB{1 - std::fabs(n * 2 - 1), 0, 0}, sharp).r;
    return base - amp * v;
}

}  // namespace

void PaintSky(Canvas& c, const SceneDesc& s) {
    cairo_t* cr = c.cr;
    const Light L = LightOf(s.sky);
    double W = c.w, H = c.h, hz = H * s.horizon, k = W / 800.0;
    Rng rng(s.seed * 2654435761u + 11);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, hz);
    AddStop(g, 0, L.top);
    AddStop(g, 0.55, L.mid);
    AddStop(g, 1, L.hz);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    // Brush strokes along the sky, a little lighter and darker than the
    // gradient under them, so the sky reads as painted, not printed.
    {
        int strokes = static_cast<int>(W * hz / 480);
        for (int i = 0; i < strokes; ++i) {
            double x = rng.Range(-20, W), y = rng.Range(0, hz), len = rng.Range(18, 70) * k;
            double t = y / hz;
            RGB base = t < 0.55 ? Mix(L.top, L.mid, t / 0.55) : Mix(L.mid, L.hz, (t - 0.55) / 0.45);
            bool light = rng.Uniform() < 0.5;
            cairo_move_to(cr, x, y);
            cairo_curve_to(cr, x + len * 0.3, y - 1.5 * k, x + len * 0.7, y + 1.5 * k, x + len, y + rng.Range(-2, 2) * k);
            SetColor(cr, light ? Lighter(base, 0.22) : Darker(base, 0.18), rng.Range(0.25, 0.5));
            cairo_set_line_width(cr, rng.Range(1.2, 3.0) * k);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
        }
    }
    // Stars, thinning towards the horizon.
    if (L.stars > 0) {
        int count = static_cast<int>(W * hz / 900 * L.stars);
        for (int i = 0; i < count; ++i) {
            double x = rng.Range(0, W), y = rng.Range(0, hz * 0.9);
            double a = rng.Range(0.3, 1.0) * (1 - 0.6 * y / hz) * L.stars;
            double r = rng.Range(0.5, 1.4) * std::max(0.6, k);
            if (rng.Uniform() < 0.05) {
                RadialGlow(cr, x, y, r * 7, Hex(0xdde6ff), a * 0.5);
                Star(cr, x, y, r * 4.5, r * 0.6, 4);
                SetColor(cr, Hex(0xffffff), a * 0.8);
                cairo_fill(cr);
            }
            SetColor(cr, Hex(0xf4f4ff), a);
            cairo_arc(cr, x, y, r, 0, 2 * M_PI);
            cairo_fill(cr);
        }
        // A faint band of the sky's river of stars.
        if (L.stars > 0.6) {
            for (int i = 0; i < 40; ++i) {
                double t = rng.Uniform();
                double x = W * (0.05 + 0.9 * t), y = hz * (0.75 - 0.6 * t) + rng.Range(-30, 30) * k;
                RadialGlow(cr, x, y, rng.Range(20, 60) * k, Hex(0x8090d0), 0.05);
            }
        }
    }
    // Under water: shafts of light from above instead of a sun.
    if (s.sky == Sky::Deep) {
        for (int i = 0; i < 7; ++i) {
            double x = rng.Range(0, W), w = rng.Range(20, 70) * k, lean = rng.Range(-0.3, 0.3) * H;
            cairo_move_to(cr, x - w / 2, 0);
            cairo_line_to(cr, x + w / 2, 0);
            cairo_line_to(cr, x + lean + w, H);
            cairo_line_to(cr, x + lean - w, H);
            cairo_close_path(cr);
            g = cairo_pattern_create_linear(0, 0, 0, H);
            AddStop(g, 0, Hex(0xd0fff0), 0.16);
            AddStop(g, 1, Hex(0xd0fff0), 0);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    }
    // Sun or moon.
    if (s.sunY >= 0 && s.sky != Sky::Deep && s.sky != Sky::Storm) {
        double sx = W * s.sunX, sy = H * s.sunY, r = (L.moon ? 34 : 30) * k;
        RadialGlow(cr, sx, sy, r * 9, L.sun, L.moon ? 0.22 : 0.5);
        RadialGlow(cr, sx, sy, r * 2.6, L.sun, 0.55);
        g = cairo_pattern_create_radial(sx - r * 0.3, sy - r * 0.3, r * 0.1, sx, sy, r);
        AddStop(g, 0, Hex(0xfffff8));
        AddStop(g, 1, L.moon ? Hex(0xe4dcc0) : Lighter(L.sun, 0.2));
        cairo_set_source(cr, g);
        cairo_arc(cr, sx, sy, r, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        if (L.moon) {
            for (int i = 0; i < 6; ++i) {
                double a = rng.Range(0, 2 * M_PI), d = rng.Range(0, r * 0.6);
                SetColor(cr, Hex(0xb0a888), 0.28);
                cairo_arc(cr, sx + std::cos(a) * d, sy + std::sin(a) * d, rng.Range(r * 0.08, r * 0.2), 0, 2 * M_PI);
                cairo_fill(cr);
            }
        }
    }
    // Clouds: lit on the side of the sun.
    RGB body = Mix(L.mid, L.hz, 0.5), rim = Mix(L.sun, L.hz, 0.4);
    if (s.sky == Sky::Night) body = Mix(L.mid, Hex(0x8090c0), 0.3), rim = Hex(0xc0c8e8);
    if (s.sky == Sky::Ember) body = Hex(0x2a0e0a), rim = Hex(0xff7030);
    if (s.sky == Sky::Day) body = Hex(0xf4f8ff), rim = Hex(0xffffff);
    if (s.sky == Sky::Winter) body = Hex(0xd8e0ec), rim = Hex(0xffffff);
    if (s.sky == Sky::Storm) body = Hex(0x2e343c), rim = Hex(0xb8c0c4);
    double cloudAlpha = s.sky == Sky::Night ? 0.35 : (s.sky == Sky::Deep ? 0.0 : 0.8);
    for (int i = 0; i < s.clouds; ++i) {
        // Spread across the width in turn, so no stretch of sky is left bare.
        double cx = ((i + rng.Range(0.1, 0.9)) / std::max(1, s.clouds) * 1.1 - 0.05) * W;
        double cy = (i % 2 ? rng.Range(0.06, 0.34) : rng.Range(0.3, 0.64)) * hz;
        double w = rng.Range(110, 260) * k * (0.6 + cy / hz * 0.5);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_matrix_t lean{1, 0, s.wind * -0.3, 1, 0, 0};
        cairo_transform(cr, &lean);
        Cloud(cr, 0, 0, w, body, rim, cloudAlpha, rng);
        cairo_restore(cr);
    }
    // Long thin streaks low in the sky.
    for (int i = 0; i < 5; ++i) {
        double y = hz * rng.Range(0.55, 0.95), x = rng.Range(0, W), w = rng.Range(120, 320) * k;
        OvalGlow(cr, x, y, w, 0.03, Mix(rim, L.hz, 0.4), cloudAlpha * 0.35);
    }
}

// ---- terrain ---------------------------------------------------------------------------------
namespace {

struct Ground {
    RGB far, mid, near;  // before light
    double farAmp, farPeriod, farSharp;  // far ridge
    double midAmp, midPeriod;
};

Ground GroundOf(const SceneDesc& s) {
    Ground g{Hex(0x4a6a8a), Hex(0x4a8a3a), Hex(0x3a6a2a), 0.10, 0.5, 0.0, 0.05, 0.45};
    switch (s.terrain) {
        case Terrain::Hills: break;
        case Terrain::Fields: g = {Hex(0x7a8a6a), Hex(0xc8a040), Hex(0xa88030), 0.06, 0.6, 0, 0.04, 0.5}; break;
        case Terrain::Coast: g = {Hex(0x6a7a8a), Hex(0x5a8a4a), Hex(0x4a6a3a), 0.06, 0.4, 0, 0.04, 0.4}; break;
        case Terrain::Mountains: g = {Hex(0x6a7898), Hex(0x4a6a4a), Hex(0x3a4a3a), 0.32, 0.22, 0.8, 0.07, 0.3}; break;
        case Terrain::Forest: g = {Hex(0x3a5a5a), Hex(0x2a5a2a), Hex(0x2a4a22), 0.12, 0.35, 0, 0.06, 0.35}; break;
        case Terrain::Marsh: g = {Hex(0x5a6a6a), Hex(0x4a6a3a), Hex(0x3a4a2a), 0.05, 0.5, 0, 0.02, 0.5}; break;
        case Terrain::Steppe: g = {Hex(0x8a8a7a), Hex(0xa8a050), Hex(0x8a7a3a), 0.04, 0.6, 0, 0.015, 0.6}; break;
        case Terrain::Volcano: g = {Hex(0x3a2020), Hex(0x2a1a18), Hex(0x1a1010), 0.14, 0.3, 0.6, 0.05, 0.4}; break;
        case Terrain::Snow: g = {Hex(0xb8c8e0), Hex(0xe8f0fa), Hex(0xd8e4f4), 0.18, 0.3, 0.5, 0.05, 0.4}; break;
        case Terrain::Flooded: g = {Hex(0x2a5a5a), Hex(0x3a6a68), Hex(0x1a4a4a), 0.05, 0.5, 0, 0.02, 0.5}; break;
        case Terrain::Garden: g = {Hex(0x3a5a6a), Hex(0x3a7a44), Hex(0x2a5a30), 0.08, 0.4, 0, 0.04, 0.4}; break;
        case Terrain::Ruins: g = {Hex(0x5a5a6a), Hex(0x6a6a58), Hex(0x4a4a40), 0.1, 0.4, 0.2, 0.04, 0.4}; break;
    }
    if (s.autumn && (s.terrain == Terrain::Hills || s.terrain == Terrain::Forest)) {
        g.mid = Hex(0x8a8a3a);
        g.near = Hex(0x6a6a2a);
    }
    return g;
}

double MidLine(const SceneDesc& s, const Ground& g, double fx) {
    return s.horizon + 0.02 - g.midAmp * Fbm(fx / g.midPeriod, 5.1, 3, s.seed + 7);
}

// Small dabs that give the ground its texture: grass tufts, stubble, stones.
void GroundDabs(cairo_t* cr, const Pen& p, double W, double H, double top, RGB base, int kind, Rng& rng) {
    double k = W / 800.0;
    int n = static_cast<int>(W * (H - top) / 170);
    for (int i = 0; i < n; ++i) {
        double y = rng.Range(top, H), d = (y - top) / std::max(1.0, H - top);
        double x = rng.Range(0, W), len = (3 + 9 * d) * k * rng.Range(0.6, 1.4);
        RGB col = rng.Uniform() < 0.5 ? Lighter(base, rng.Range(0.2, 0.45)) : Darker(base, rng.Range(0.25, 0.5));
        if (kind == 0) {  // grass
            for (int b = -1; b <= 1; ++b) {
                cairo_move_to(cr, x + b * len * 0.2, y);
                cairo_line_to(cr, x + b * len * 0.5 + rng.Range(-1, 1) * k, y - len);
            }
            p.Stroke(col, 0.9 * k, 0.7);
        } else if (kind == 1) {  // stones and pebbles
            Ellipse(cr, x, y, len * 0.5, len * 0.3);
            p.Fill(col, 0.6);
        } else if (kind == 2) {  // snow sparkle and drift shadows
            Ellipse(cr, x, y, len * 1.5, len * 0.15);
            p.Fill(rng.Uniform() < 0.5 ? Hex(0xffffff) : Hex(0xa8b8d8), 0.5);
        } else {  // ripples on water
            cairo_move_to(cr, x - len * 2, y);
            cairo_line_to(cr, x + len * 2, y);
            p.Stroke(rng.Uniform() < 0.5 ? Lighter(base, 0.4) : Darker(base, 0.3), 1.0 * k, 0.5);
        }
    }
}

void FarRidge(Canvas& c, const SceneDesc& s, const Ground& g, const Light& L, double base, double amp, double period,
              double sharp, RGB col, double haze, uint32_t seed, bool snowCaps) {
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h;
    cairo_new_path(cr);
    cairo_move_to(cr, 0, H);
    std::vector<double> ys;
    for (double x = 0; x <= W + 4; x += 3) {
        double y = RidgeY(x, W, base, amp, period, seed, sharp);
        ys.push_back(y);
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
    RGB body = Mix(Mul(col, L.ambient), L.haze, haze);
    cairo_pattern_t* gr = cairo_pattern_create_linear(0, base - amp, 0, base + H * 0.15);
    AddStop(gr, 0, Lighter(body, 0.1));
    AddStop(gr, 1, Mix(body, L.hz, 0.3));
    cairo_set_source(cr, gr);
    cairo_fill(cr);
    cairo_pattern_destroy(gr);
    Rng rng(seed);
    // Rock and scree: short strokes over the whole face of the range.
    {
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, 0, H);
        for (size_t i = 0; i < ys.size(); ++i) cairo_line_to(cr, i * 3.0, ys[i]);
        cairo_line_to(cr, W, H);
        cairo_close_path(cr);
        cairo_clip(cr);
        int n = static_cast<int>(W * (amp + H * 0.1) / 200);
        double k = W / 800;
        for (int i = 0; i < n; ++i) {
            double x = rng.Range(0, W), y = rng.Range(base - amp, base + H * 0.1);
            double dir = rng.Uniform() < 0.5 ? 1 : -1, len = rng.Range(4, 13) * k;
            if (sharp <= 0.3) {
                // Gentle ranges: far copses and hedgerows instead of rock.
                Ellipse(cr, x, y, len * 0.6, len * 0.35);
                SetColor(cr, dir > 0 ? Darker(body, 0.25) : Lighter(body, 0.15), 0.45);
                cairo_fill(cr);
                continue;
            }
            // Small facets: a lit or shaded plane of rock, wider at its foot.
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + dir * len * 0.7, y + len);
            cairo_line_to(cr, x - dir * len * 0.15, y + len * 0.9);
            cairo_close_path(cr);
            bool lit = dir > 0 ? s.sunX < 0.5 : s.sunX >= 0.5;
            SetColor(cr, lit ? Lighter(body, 0.28) : Darker(body, 0.28), 0.4);
            cairo_fill(cr);
        }
        cairo_restore(cr);
    }
    // Lit faces: strokes down the slopes facing the sun.
    double side = s.sunX < 0.5 ? -1 : 1;
    for (size_t i = 1; i + 1 < ys.size(); i += 2) {
        double slope = ys[i + 1] - ys[i - 1];
        bool facing = side > 0 ? slope > 0 : slope < 0;
        double x = i * 3.0;
        if (sharp > 0.3 && std::fabs(slope) > 0.8 && rng.Uniform() < 0.5) {
            cairo_move_to(cr, x, ys[i] + 1);
            double dx = std::clamp(slope * rng.Range(2, 6), -12.0, 12.0) * W / 800;
            cairo_line_to(cr, x + dx, ys[i] + rng.Range(8, 30) * W / 800);
            SetColor(cr, facing ? Mix(Lighter(body, 0.3), L.key, 0.2) : Darker(body, 0.3), 0.35);
            cairo_set_line_width(cr, rng.Range(1, 2.5) * W / 800);
            cairo_stroke(cr);
        }
    }
    if (snowCaps) {
        // Snow above a ragged snow line, clipped to the ridge.
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, 0, H);
        for (size_t i = 0; i < ys.size(); ++i) cairo_line_to(cr, i * 3.0, ys[i]);
        cairo_line_to(cr, W, H);
        cairo_close_path(cr);
        cairo_clip(cr);
        cairo_new_path(cr);
        double line = base - amp * 0.68;
        cairo_move_to(cr, 0, 0);
        for (double x = 0; x <= W + 6; x += 6)
            cairo_line_to(cr, x, line + (Fbm(x / (W * 0.03), 1.7, 3, seed + 3) - 0.5) * amp * 0.5);
        cairo_line_to(cr, W, 0);
        cairo_close_path(cr);
        cairo_pattern_t* sg = cairo_pattern_create_linear(side > 0 ? W : 0, 0, side > 0 ? 0 : W, 0);
        AddStop(sg, 0, Mix(Mix(Hex(0xf8fbff), L.key, 0.2), L.haze, haze * 0.6), 0.95);
        AddStop(sg, 1, Mix(Hex(0xb8c4e0), L.haze, haze * 0.6), 0.85);
        cairo_set_source(cr, sg);
        cairo_fill(cr);
        cairo_pattern_destroy(sg);
        cairo_restore(cr);
    }
    (void)g;
}

}  // namespace

double GroundAt(const SceneDesc& s, double x, double depth) {
    double y = MidLine(s, GroundOf(s), x);
    return y + Clamp01(depth) * (1.0 - y);
}

double GroundY(const Canvas& c, const SceneDesc& s, double x) { return GroundAt(s, x / c.w) * c.h; }

void PaintTerrain(Canvas& c, const SceneDesc& s) {
    cairo_t* cr = c.cr;
    const Light L = LightOf(s.sky);
    const Ground g = GroundOf(s);
    double W = c.w, H = c.h, hz = H * s.horizon, k = W / 800.0;
    Rng rng(s.seed * 40503u + 3);
    Pen pen{c, cr, L, 0, s.sunX < 0.5 ? -1.0 : 1.0, Rng(s.seed + 5), true, k};
    // Distant range and a nearer one.
    bool peaks = s.terrain == Terrain::Mountains || s.terrain == Terrain::Snow || s.terrain == Terrain::Volcano;
    FarRidge(c, s, g, L, hz - H * 0.02, H * g.farAmp * 1.2, g.farPeriod * 1.3, g.farSharp, g.far, 0.6, s.seed + 21,
             peaks && s.terrain != Terrain::Volcano);
    FarRidge(c, s, g, L, hz + H * 0.01, H * g.farAmp * 0.7, g.farPeriod, g.farSharp * 0.5, Mix(g.far, g.mid, 0.4),
             0.35, s.seed + 33, s.terrain == Terrain::Snow);
    // A volcano cone with its glowing crater.
    if (s.terrain == Terrain::Volcano) {
        double vx = W * 0.32, top = hz - H * 0.36, bw = W * 0.34;
        cairo_move_to(cr, vx - bw, hz + 8 * k);
        cairo_curve_to(cr, vx - bw * 0.4, hz - H * 0.05, vx - bw * 0.2, top + H * 0.02, vx - bw * 0.1, top);
        cairo_line_to(cr, vx + bw * 0.1, top);
        cairo_curve_to(cr, vx + bw * 0.2, top + H * 0.02, vx + bw * 0.4, hz - H * 0.05, vx + bw, hz + 8 * k);
        cairo_close_path(cr);
        pen.Shade(Hex(0x2a1614), vx - bw, vx + bw, 0.15, 0.5);
        RadialGlow(cr, vx, top, 90 * k, Hex(0xff6020), 0.7);
        RadialGlow(cr, vx, top, 30 * k, Hex(0xffd080), 0.9);
        // Lava down the flanks.
        for (int i = 0; i < 5; ++i) {
            double x = vx + rng.Range(-bw * 0.08, bw * 0.08), y = top + 2;
            cairo_move_to(cr, x, y);
            for (int j = 0; j < 10; ++j) {
                x += rng.Range(-10, 10) * k + (x - vx) * 0.12;
                y += (hz - top) / 10;
                cairo_line_to(cr, x, y);
            }
            SetColor(cr, Hex(0xff8030), 0.9);
            cairo_set_line_width(cr, rng.Range(2, 4) * k);
            cairo_stroke_preserve(cr);
            SetColor(cr, Hex(0xff5010), 0.3);
            cairo_set_line_width(cr, 9 * k);
            cairo_stroke(cr);
        }
        // Smoke.
        for (int i = 0; i < 8; ++i)
            OvalGlow(cr, vx + i * 14 * k + rng.Range(-10, 10) * k, top - 30 * k - i * 26 * k, (40 + i * 12) * k, 0.6,
                     Hex(0x3a1a18), 0.55);
    }
    // The main ground, from the mid line to the bottom.
    cairo_new_path(cr);
    cairo_move_to(cr, 0, H);
    for (double x = 0; x <= W + 4; x += 3) cairo_line_to(cr, x, MidLine(s, g, x / W) * H);
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
    cairo_pattern_t* gr = cairo_pattern_create_linear(0, hz - H * g.midAmp, 0, H);
    AddStop(gr, 0, Mix(Mul(Lighter(g.mid, 0.1), L.ambient), L.haze, 0.25));
    AddStop(gr, 0.4, Mul(g.mid, L.ambient));
    AddStop(gr, 1, Mul(Darker(g.near, 0.2), L.ambient));
    cairo_set_source(cr, gr);
    cairo_fill(cr);
    cairo_pattern_destroy(gr);
    double top = hz;
    // Swells of the near ground, light on their crests.
    for (int i = 0; i < 3; ++i) {
        double base = top + (H - top) * (0.25 + 0.28 * i), amp = H * 0.03;
        cairo_new_path(cr);
        cairo_move_to(cr, 0, H);
        for (double x = 0; x <= W + 4; x += 4)
            cairo_line_to(cr, x, base - amp * Fbm(x / (W * 0.3), i * 3.3, 3, s.seed + 50 + i));
        cairo_line_to(cr, W, H);
        cairo_close_path(cr);
        gr = cairo_pattern_create_linear(0, base - amp, 0, base + H * 0.12);
        AddStop(gr, 0, Mul(Mix(Lighter(g.mid, 0.12), L.key, 0.12), L.ambient), 0.55);
        AddStop(gr, 1, Mul(g.near, L.ambient), 0.0);
        cairo_set_source(cr, gr);
        cairo_fill(cr);
        cairo_pattern_destroy(gr);
    }
    switch (s.terrain) {
        case Terrain::Fields:
        case Terrain::Steppe: {
            // Strips of crop or grass running to the horizon.
            int strips = s.terrain == Terrain::Fields ? 14 : 6;
            for (int i = 0; i < strips; ++i) {
                double x0 = rng.Range(-0.2, 1.2) * W, y = top + (H - top) * rng.Range(0.05, 0.9);
                double w = rng.Range(120, 380) * k, h = (8 + 40 * (y - top) / (H - top)) * k;
                Poly(cr, {x0, y, x0 + w, y - h * 0.3, x0 + w * 1.05, y + h * 0.6, x0 + w * 0.05, y + h});
                RGB col = i % 2 ? Hex(0xe0b850) : Hex(0x9a8a38);
                if (s.terrain == Terrain::Steppe) col = i % 2 ? Hex(0xb8a860) : Hex(0x7a7a40);
                pen.Fill(col, 0.35);
            }
            GroundDabs(cr, pen, W, H, top, s.terrain == Terrain::Fields ? Hex(0xc8a040) : Hex(0xa89a50), 0, rng);
            break;
        }
        case Terrain::Coast: {
            // The sea on the right, a cliff edge between.
            double edge = W * 0.46;
            cairo_new_path(cr);
            cairo_move_to(cr, edge, hz + 4 * k);
            cairo_line_to(cr, W, hz + 4 * k);
            cairo_line_to(cr, W, H);
            cairo_line_to(cr, edge + W * 0.18, H);
            cairo_curve_to(cr, edge + W * 0.05, H * 0.85, edge + W * 0.06, hz + H * 0.15, edge, hz + 4 * k);
            cairo_close_path(cr);
            gr = cairo_pattern_create_linear(0, hz, 0, H);
            AddStop(gr, 0, Mix(L.hz, Hex(0x3a7a9a), 0.5));
            AddStop(gr, 1, Mul(Hex(0x1a4a6a), L.ambient));
            cairo_set_source(cr, gr);
            cairo_fill(cr);
            cairo_pattern_destroy(gr);
            for (int i = 0; i < 260; ++i) {
                double y = rng.Range(hz + 6 * k, H), d = (y - hz) / (H - hz);
                double x = rng.Range(edge + W * 0.18 * d, W), len = (6 + 30 * d) * k;
                cairo_move_to(cr, x - len, y);
                cairo_curve_to(cr, x - len * 0.3, y - 3 * k * d, x + len * 0.3, y - 3 * k * d, x + len, y);
                SetColor(cr, rng.Uniform() < 0.6 ? Hex(0xe8f4ff) : Hex(0x0a2a40), 0.4);
                cairo_set_line_width(cr, (0.8 + 1.5 * d) * k);
                cairo_stroke(cr);
            }
            // Cliff face.
            cairo_new_path(cr);
            cairo_move_to(cr, edge - 30 * k, hz + 2 * k);
            cairo_curve_to(cr, edge + W * 0.02, hz + H * 0.12, edge + W * 0.02, H * 0.85, edge + W * 0.12, H);
            cairo_line_to(cr, edge + W * 0.2, H);
            cairo_curve_to(cr, edge + W * 0.1, H * 0.85, edge + W * 0.07, hz + H * 0.12, edge + 4 * k, hz + 2 * k);
            cairo_close_path(cr);
            cairo_save(cr);
            cairo_clip_preserve(cr);
            pen.Shade(Hex(0x8a7a6a), edge, edge + W * 0.2, 0.2, 0.5);
            // Bands of rock and ledges down the face.
            for (int i = 0; i < 60; ++i) {
                double y = rng.Range(hz, H), x = edge + rng.Range(-0.02, 0.2) * W, len = rng.Range(8, 30) * k;
                cairo_move_to(cr, x, y);
                cairo_line_to(cr, x + len, y + len * 0.25);
                pen.Stroke(rng.Uniform() < 0.5 ? Hex(0xc8b8a0) : Hex(0x4a3a30), rng.Range(1, 2.5) * k, 0.7);
            }
            cairo_restore(cr);
            // Foam at the foot.
            for (int i = 0; i < 40; ++i) {
                double t = rng.Uniform(), y = hz + (H - hz) * t;
                double x = edge + W * (0.04 + 0.14 * t * t) + rng.Range(0, 14) * k;
                RadialGlow(cr, x, y, rng.Range(6, 16) * k, Hex(0xffffff), 0.35);
            }
            GroundDabs(cr, pen, edge, H, top, g.mid, 0, rng);
            break;
        }
        case Terrain::Marsh:
        case Terrain::Flooded: {
            // Pools mirroring the sky.
            int pools = s.terrain == Terrain::Marsh ? 9 : 3;
            for (int i = 0; i < pools; ++i) {
                double y = top + (H - top) * rng.Range(0.08, 0.95), d = (y - top) / (H - top);
                double x = rng.Range(0, W), rx = (60 + 180 * d) * k * (s.terrain == Terrain::Flooded ? 4 : 1);
                Ellipse(cr, x, y, rx, rx * 0.14);
                gr = cairo_pattern_create_linear(0, y - rx * 0.14, 0, y + rx * 0.14);
                AddStop(gr, 0, Mix(L.hz, L.mid, 0.3), 0.85);
                AddStop(gr, 1, Mix(L.mid, L.top, 0.5), 0.85);
                cairo_set_source(cr, gr);
                cairo_fill(cr);
                cairo_pattern_destroy(gr);
            }
            GroundDabs(cr, pen, W, H, top, Mix(L.hz, g.mid, 0.5), 3, rng);
            GroundDabs(cr, pen, W, H, top, g.mid, s.terrain == Terrain::Marsh ? 0 : 1, rng);
            break;
        }
        case Terrain::Volcano: {
            // Lava rivers winding to the front.
            for (int i = 0; i < 3; ++i) {
                double x = rng.Range(0.1, 0.9) * W, y = top;
                cairo_move_to(cr, x, y);
                for (int j = 0; j < 12; ++j) {
                    x += rng.Range(-40, 40) * k;
                    y += (H - top) / 11;
                    cairo_line_to(cr, x, y);
                }
                double w = 6 * k;
                SetColor(cr, Hex(0xff5010), 0.35);
                cairo_set_line_width(cr, w * 4);
                cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
                cairo_stroke_preserve(cr);
                SetColor(cr, Hex(0xff9030), 0.95);
                cairo_set_line_width(cr, w);
                cairo_stroke_preserve(cr);
                SetColor(cr, Hex(0xffe080), 0.8);
                cairo_set_line_width(cr, w * 0.3);
                cairo_stroke(cr);
            }
            GroundDabs(cr, pen, W, H, top, Hex(0x4a2a22), 1, rng);
            break;
        }
        case Terrain::Snow: {
            // A frozen river winding from the horizon.
            cairo_new_path(cr);
            double x = W * 0.62;
            std::vector<std::pair<double, double>> pts;
            for (int j = 0; j <= 12; ++j) {
                double t = j / 12.0;
                pts.push_back({x + std::sin(t * 5 + s.seed) * W * 0.12 * t - W * 0.25 * t, top + (H - top) * t});
            }
            for (size_t j = 0; j < pts.size(); ++j) {
                double w = (6 + 120 * j / 12.0) * k;
                j == 0 ? cairo_move_to(cr, pts[j].first - w, pts[j].second)
                       : cairo_line_to(cr, pts[j].first - w, pts[j].second);
            }
            for (size_t j = pts.size(); j-- > 0;) cairo_line_to(cr, pts[j].first + (6 + 120 * j / 12.0) * k, pts[j].second);
            cairo_close_path(cr);
            gr = cairo_pattern_create_linear(0, top, 0, H);
            AddStop(gr, 0, Mix(Hex(0xc0dcf0), L.haze, 0.3));
            AddStop(gr, 1, Mul(Hex(0x7aa8d0), L.ambient));
            cairo_set_source(cr, gr);
            cairo_fill(cr);
            cairo_pattern_destroy(gr);
            // Cracks in the ice.
            for (int i = 0; i < 30; ++i) {
                size_t j = static_cast<size_t>(rng.Int(3, 12));
                double px = pts[j].first + rng.Range(-60, 60) * k * j / 12.0, py = pts[j].second;
                cairo_move_to(cr, px, py);
                cairo_line_to(cr, px + rng.Range(-30, 30) * k, py + rng.Range(-4, 4) * k);
                pen.Stroke(Hex(0xffffff), 1.1 * k, 0.6);
            }
            GroundDabs(cr, pen, W, H, top, g.mid, 2, rng);
            break;
        }
        case Terrain::Garden: {
            // A winding gravel path and low hedges.
            cairo_new_path(cr);
            cairo_move_to(cr, W * 0.46, top + 4 * k);
            cairo_curve_to(cr, W * 0.3, top + (H - top) * 0.3, W * 0.7, top + (H - top) * 0.6, W * 0.42, H);
            cairo_line_to(cr, W * 0.62, H);
            cairo_curve_to(cr, W * 0.85, top + (H - top) * 0.6, W * 0.38, top + (H - top) * 0.3, W * 0.5, top + 4 * k);
            cairo_close_path(cr);
            pen.VShade(Hex(0xb0a080), top, H, 0.1, 0.3);
            GroundDabs(cr, pen, W, H, top, g.mid, 0, rng);
            GroundDabs(cr, pen, W, H, top, Hex(0x8a8070), 1, rng);
            break;
        }
        case Terrain::Ruins: {
            // Cracked paving in perspective.
            for (int row = 0; row < 9; ++row) {
                double t0 = row / 9.0, t1 = (row + 1) / 9.0;
                double y0 = top + (H - top) * t0 * t0, y1 = top + (H - top) * t1 * t1;
                int cols = 14 - row;
                for (int col = 0; col < cols; ++col) {
                    double x0 = W * col / cols + rng.Range(-3, 3) * k, x1 = W * (col + 1) / cols;
                    if (rng.Uniform() < 0.25) continue;
                    cairo_rectangle(cr, x0 + 1.5 * k, y0 + 1 * k, x1 - x0 - 3 * k, y1 - y0 - 2 * k);
                    pen.Fill(rng.Uniform() < 0.5 ? Hex(0x8a887a) : Hex(0x6a6a60), 0.45);
                }
            }
            GroundDabs(cr, pen, W, H, top, Hex(0x7a7868), 1, rng);
            GroundDabs(cr, pen, W, H, top, Hex(0x5a6a3a), 0, rng);
            break;
        }
        default:
            GroundDabs(cr, pen, W, H, top, g.mid, 0, rng);
            GroundDabs(cr, pen, W, H, top, Darker(g.near, 0.1), 1, rng);
            break;
    }
    // Forest: a band of tree tops on the far ground.
    if (s.terrain == Terrain::Forest || s.terrain == Terrain::Mountains || s.terrain == Terrain::Snow) {
        int n = static_cast<int>(W / (s.terrain == Terrain::Forest ? 5 : 9));
        for (int i = 0; i < n; ++i) {
            double x = rng.Range(0, W), y = MidLine(s, g, x / W) * H + rng.Range(0, 14) * k;
            double h = rng.Range(14, 30) * k;
            Poly(cr, {x - h * 0.3, y, x, y - h, x + h * 0.3, y});
            RGB col = s.terrain == Terrain::Snow ? Hex(0x2a4a44) : Hex(0x1e3a26);
            if (s.autumn && rng.Uniform() < 0.5) col = rng.Uniform() < 0.5 ? Hex(0x9a4a1a) : Hex(0xb08a20);
            SetColor(cr, Mix(Mul(col, L.ambient), L.haze, 0.3));
            cairo_fill(cr);
        }
    }
    (void)pen;
}

// ---- elements ---------------------------------------------------------------------------------
namespace {

using Painter = void (*)(Pen&, const Element&);

// Buildings.
void Cottage(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 80);
    RGB wall = e.variant % 3 == 0 ? Hex(0xe8dcc0) : (e.variant % 3 == 1 ? Hex(0xd8c8a8) : Hex(0xc0a888));
    RGB roof = e.variant % 2 ? Hex(0x8a4a2a) : Hex(0xb89048);
    // Timber walls.
    cairo_rectangle(cr, -34, -40, 68, 40);
    p.Shade(wall, -34, 34, 0.15, 0.3);
    for (double x : {-34.0, -12.0, 12.0, 32.0}) {
        cairo_rectangle(cr, x, -40, 3, 40);
        p.Fill(Hex(0x4a3020));
    }
    cairo_rectangle(cr, -34, -22, 68, 2.5);
    p.Fill(Hex(0x4a3020));
    // Stone base.
    cairo_rectangle(cr, -35, -6, 70, 6);
    p.Fill(Hex(0x7a7470));
    // Door and windows.
    cairo_rectangle(cr, -6, -20, 12, 20);
    p.Fill(Hex(0x5a3418));
    p.Window(-27, -34, 9, 9);
    p.Window(18, -34, 9, 9);
    p.Window(-27, -17, 9, 8);
    Roof(p, -38, 38, -40, 34, roof, e.variant % 2 == 0);
    // Chimney and smoke.
    cairo_rectangle(cr, 16, -70, 8, 20);
    p.Shade(Hex(0x8a7a70), 16, 24);
    for (int i = 0; i < 4; ++i) {
        Ellipse(cr, 22 + i * 6 + i * i * 2, -78 - i * 11, 5 + i * 2.5, 4 + i * 1.5);
        p.Fill(Hex(0xd8d8e0), 0.3 - i * 0.06);
    }
}

void Mill(Pen& p, const Element& e) {
    // A water mill: stone house with a big wheel.
    cairo_t* cr = p.cr;
    FootShadow(p, 100);
    cairo_rectangle(cr, -40, -60, 60, 60);
    p.Shade(Hex(0x9a9088), -40, 20, 0.15, 0.35);
    Rng r(7);
    for (int i = 0; i < 26; ++i) {
        double x = r.Range(-38, 14), y = r.Range(-58, -6);
        cairo_rectangle(cr, x, y, r.Range(6, 12), 4);
        p.Fill(r.Uniform() < 0.5 ? Hex(0x6a6460) : Hex(0xb8b0a8), 0.5);
    }
    p.Window(-30, -48, 10, 12);
    p.Window(0, -48, 10, 12);
    cairo_rectangle(cr, -20, -22, 12, 22);
    p.Fill(Hex(0x4a2c14));
    Roof(p, -46, 26, -60, 36, Hex(0x6a4a3a), false);
    // Wheel.
    double wx = 34, wy = -26, wr = 28;
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6;
        cairo_move_to(cr, wx, wy);
        cairo_line_to(cr, wx + std::cos(a) * wr, wy + std::sin(a) * wr);
    }
    p.Stroke(Hex(0x5a3a20), 2.5);
    cairo_arc(cr, wx, wy, wr, 0, 2 * M_PI);
    p.Stroke(Hex(0x6a4426), 4);
    cairo_arc(cr, wx, wy, wr * 0.25, 0, 2 * M_PI);
    p.Fill(Hex(0x3a2410));
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6 + 0.1;
        cairo_rectangle(cr, wx + std::cos(a) * wr - 3, wy + std::sin(a) * wr - 3, 6, 6);
        p.Fill(Hex(0x8a6040));
    }
    // Water spilling from the wheel.
    cairo_rectangle(cr, wx - 8, 0, 40, 4);
    p.Fill(Hex(0xa0d0f0), 0.6);
    (void)e;
}

void Windmill(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 70);
    Poly(cr, {-26, 0, -16, -90, 16, -90, 26, 0});
    p.Shade(Hex(0xe0d4b8), -26, 26, 0.15, 0.35);
    Poly(cr, {-20, -88, 0, -112, 20, -88});
    p.Shade(Hex(0x8a4a2a), -20, 20);
    p.Window(-5, -64, 10, 12);
    cairo_rectangle(cr, -7, -22, 14, 22);
    p.Fill(Hex(0x5a3418));
    double hx = 0, hy = -92, spin = 0.35 + e.variant * 0.4;
    for (int i = 0; i < 4; ++i) {
        double a = spin + i * M_PI / 2, ca = std::cos(a), sa = std::sin(a);
        cairo_move_to(cr, hx, hy);
        cairo_line_to(cr, hx + ca * 80, hy + sa * 80);
        p.Stroke(Hex(0x4a3020), 3);
        // Sail lattice beside the arm.
        double nx = -sa, ny = ca;
        Poly(cr, {hx + ca * 18, hy + sa * 18, hx + ca * 78, hy + sa * 78, hx + ca * 78 + nx * 16,
                  hy + sa * 78 + ny * 16, hx + ca * 18 + nx * 16, hy + sa * 18 + ny * 16});
        p.FillKeep(Hex(0xf0e8d8), 0.85);
        p.Stroke(Hex(0x6a5030), 1);
        for (int j = 1; j < 5; ++j) {
            double t = 18 + j * 12;
            cairo_move_to(cr, hx + ca * t, hy + sa * t);
            cairo_line_to(cr, hx + ca * t + nx * 16, hy + sa * t + ny * 16);
        }
        p.Stroke(Hex(0x6a5030), 0.8);
    }
    cairo_arc(cr, hx, hy, 4, 0, 2 * M_PI);
    p.Fill(Hex(0x3a2410));
}

void Tower(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 50);
    double h = 150 + e.variant * 30;
    Poly(cr, {-20, 0, -16, -h, 16, -h, 20, 0});
    p.Shade(Hex(0x8a8490), -20, 20, 0.2, 0.45);
    for (double y = -12; y > -h; y -= 12) {
        cairo_move_to(cr, -19, y);
        cairo_line_to(cr, 19, y);
    }
    p.Stroke(Hex(0x4a4450), 0.7, 0.5);
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, -21 + i * 12, -h - 10, 7, 10);
        p.Fill(Hex(0x7a7480));
    }
    Poly(cr, {-22, -h - 8, 0, -h - 58, 22, -h - 8});
    p.Shade(Hex(0x3a4a7a), -22, 22);
    cairo_move_to(cr, 0, -h - 58);
    cairo_line_to(cr, 0, -h - 78);
    p.Stroke(Hex(0x3a3030), 1.5);
    Poly(cr, {0, -h - 78, 16, -h - 73, 0, -h - 68});
    p.Fill(Hex(0xc03030));
    p.Window(-4, -h + 20, 8, 14);
    p.Window(-4, -h * 0.55, 8, 14);
    cairo_rectangle(cr, -7, -20, 14, 20);
    p.Fill(Hex(0x3a2418));
}

void Castle(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 220);
    bool stone = e.variant == 1;  // the silent castle: grey, no lights
    RGB wall = stone ? Hex(0x9a98a0) : Hex(0xb8aea0), roof = stone ? Hex(0x6a6a78) : Hex(0x3a4a8a);
    // Curtain wall.
    cairo_rectangle(cr, -100, -70, 200, 70);
    p.Shade(wall, -100, 100, 0.15, 0.4);
    for (int i = 0; i < 17; ++i) {
        cairo_rectangle(cr, -100 + i * 12.2, -78, 7, 8);
        p.Fill(wall);
    }
    // Keep.
    cairo_rectangle(cr, -40, -150, 80, 80);
    p.Shade(Lighter(wall, 0.05), -40, 40, 0.2, 0.4);
    for (int i = 0; i < 7; ++i) {
        cairo_rectangle(cr, -40 + i * 12, -158, 7, 8);
        p.Fill(wall);
    }
    // Towers with cone roofs.
    for (double tx : {-100.0, 100.0, -40.0, 40.0}) {
        bool big = std::fabs(tx) > 50;
        double th = big ? 120 : 190, tw = big ? 22 : 16;
        cairo_rectangle(cr, tx - tw, -th, tw * 2, th);
        p.Shade(wall, tx - tw, tx + tw, 0.2, 0.45);
        Poly(cr, {tx - tw - 4, -th, tx, -th - tw * 3.2, tx + tw + 4, -th});
        p.Shade(roof, tx - tw, tx + tw);
        if (!stone) {
            cairo_move_to(cr, tx, -th - tw * 3.2);
            cairo_line_to(cr, tx, -th - tw * 3.2 - 16);
            p.Stroke(Hex(0x3a3030), 1.2);
            Poly(cr, {tx, -th - tw * 3.2 - 16, tx + 12, -th - tw * 3.2 - 12, tx, -th - tw * 3.2 - 8});
            p.Fill(Hex(0xe0b040));
        }
        p.lit = !stone;
        p.Window(tx - 3, -th + 18, 6, 10);
        p.Window(tx - 3, -th * 0.5, 6, 10);
    }
    // Stone courses.
    for (double y = -10; y > -150; y -= 10) {
        cairo_move_to(cr, -100, y);
        cairo_line_to(cr, 100, y);
    }
    p.Stroke(Darker(wall, 0.45), 0.6, 0.35);
    // Gate.
    cairo_move_to(cr, -16, 0);
    cairo_line_to(cr, -16, -30);
    cairo_arc(cr, 0, -30, 16, M_PI, 2 * M_PI);
    cairo_line_to(cr, 16, 0);
    cairo_close_path(cr);
    p.Fill(stone ? Hex(0x3a3840) : Hex(0x2a1a10));
    p.Window(-20, -120, 8, 14);
    p.Window(12, -120, 8, 14);
}

void Bridge(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    bool wood = e.variant == 1;
    RGB col = wood ? Hex(0x7a5430) : Hex(0xa09888);
    // Deck with arches under it.
    cairo_move_to(cr, -110, 0);
    cairo_curve_to(cr, -60, -34, 60, -34, 110, 0);
    cairo_line_to(cr, 110, 10);
    cairo_line_to(cr, 70, 10);
    cairo_arc_negative(cr, 35, 10, 35, 0, M_PI);
    cairo_arc_negative(cr, -35, 10, 35, 0, M_PI);
    cairo_line_to(cr, -110, 10);
    cairo_close_path(cr);
    p.VShade(col, -30, 10, 0.2, 0.4);
    // Parapet with posts.
    cairo_move_to(cr, -110, -8);
    cairo_curve_to(cr, -60, -42, 60, -42, 110, -8);
    p.Stroke(Darker(col, 0.2), 3);
    for (int i = 0; i <= 10; ++i) {
        double t = i / 10.0, x = -110 + 220 * t, y = -8 - 25.5 * 4 * t * (1 - t);
        cairo_move_to(cr, x, y + 8);
        cairo_line_to(cr, x, y);
    }
    p.Stroke(Darker(col, 0.3), 2.5);
    // Reflection below.
    for (int i = 0; i < 6; ++i) {
        cairo_rectangle(cr, -100 + i * 35, 14 + i % 2 * 4, 24, 1.5);
        p.Fill(Lighter(col, 0.2), 0.3);
    }
}

void Boat(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    cairo_move_to(cr, -40, -14);
    cairo_curve_to(cr, -30, 2, 30, 2, 44, -16);
    cairo_line_to(cr, 40, -10);
    cairo_line_to(cr, -36, -10);
    cairo_close_path(cr);
    p.VShade(e.variant % 2 ? Hex(0x8a3a2a) : Hex(0x6a4a2a), -16, 0, 0.25, 0.4);
    cairo_rectangle(cr, -40, -16, 84, 3);
    p.Fill(Hex(0xd8c8a0));
    if (e.variant < 2) {
        cairo_move_to(cr, 0, -14);
        cairo_line_to(cr, 0, -80);
        p.Stroke(Hex(0x4a3020), 2);
        cairo_move_to(cr, 2, -78);
        cairo_curve_to(cr, 30, -60, 34, -40, 32, -18);
        cairo_line_to(cr, 2, -18);
        cairo_close_path(cr);
        p.Shade(e.variant ? Hex(0xf0e0c0) : Hex(0xd86a4a), 2, 32, 0.3, 0.25);
        cairo_move_to(cr, -2, -70);
        cairo_line_to(cr, -24, -20);
        cairo_line_to(cr, -2, -20);
        cairo_close_path(cr);
        p.Shade(Hex(0xf0e8d8), -24, -2, 0.3, 0.25);
    }
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, -46 + i * 6, 2 + i * 3);
        cairo_line_to(cr, 46 - i * 6, 2 + i * 3);
    }
    p.Stroke(Hex(0xe0f0ff), 1, 0.35);
}

void Lighthouse(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 60);
    Poly(cr, {-22, 0, -13, -150, 13, -150, 22, 0});
    p.Shade(Hex(0xf0ece4), -22, 22, 0.15, 0.4);
    for (int i = 0; i < 3; ++i) {
        double y0 = -30 - i * 44, y1 = y0 - 20;
        double w0 = 22 - 9 * (-y0) / 150, w1 = 22 - 9 * (-y1) / 150;
        Poly(cr, {-w0, y0, -w1, y1, w1, y1, w0, y0});
        p.Shade(Hex(0xc03a30), -w0, w0, 0.15, 0.4);
    }
    cairo_rectangle(cr, -17, -156, 34, 6);
    p.Fill(Hex(0x3a3030));
    cairo_rectangle(cr, -10, -178, 20, 22);
    SetColor(cr, Mix(Hex(0xfff0b0), p.L.haze, p.haze * 0.3));
    cairo_fill(cr);
    Poly(cr, {-13, -178, 0, -196, 13, -178});
    p.Fill(Hex(0x3a3030));
    if (p.lit) {
        RadialGlow(cr, 0, -167, 60, Hex(0xfff0b0), 0.8);
        // Beams.
        for (double d : {-1.0, 1.0}) {
            Poly(cr, {0, -170, d * 300, -200, d * 300, -130, 0, -164});
            cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, d * 300, 0);
            AddStop(g, 0, Hex(0xfff4c0), 0.35);
            AddStop(g, 1, Hex(0xfff4c0), 0);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    }
    (void)e;
}

// Two piers and a round arch of thickness t over an opening w wide and h
// high, shaded, with the joints of its voussoirs and courses left as a path
// for the caller to stroke in its own mortar colour.
void StoneArch(Pen& p, RGB col, double w, double h, double t, double shade, int voussoirs, double course) {
    cairo_t* cr = p.cr;
    cairo_rectangle(cr, -w / 2 - t, -h, t, h);
    cairo_rectangle(cr, w / 2, -h, t, h);
    p.Shade(col, -w / 2 - t, w / 2 + t, 0.2, shade);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, -h, w / 2 + t, M_PI, 2 * M_PI);
    cairo_arc_negative(cr, 0, -h, w / 2, 2 * M_PI, M_PI);
    cairo_close_path(cr);
    p.Shade(col, -w / 2 - t, w / 2 + t, 0.2, shade);
    for (int i = 0; i <= voussoirs; ++i) {
        double a = M_PI + i * M_PI / voussoirs;
        cairo_move_to(cr, std::cos(a) * w / 2, -h + std::sin(a) * w / 2);
        cairo_line_to(cr, std::cos(a) * (w / 2 + t), -h + std::sin(a) * (w / 2 + t));
    }
    for (double y = -course; y > -h; y -= course) {
        cairo_move_to(cr, -w / 2 - t, y);
        cairo_line_to(cr, -w / 2, y);
        cairo_move_to(cr, w / 2, y);
        cairo_line_to(cr, w / 2 + t, y);
    }
}

void Arch(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 120);
    RGB col = Hex(0xb0a490);
    double w = 90, h = 140, t = 18;
    StoneArch(p, col, w, h, t, 0.45, 8, 14);
    p.Stroke(Hex(0x4a4038), 0.9, 0.6);
    // Ivy on the piers.
    Rng r(e.variant + 3);
    for (int i = 0; i < 30; ++i) {
        double x = r.Uniform() < 0.5 ? -w / 2 - t + r.Range(0, t) : w / 2 + r.Range(0, t);
        Ellipse(cr, x, r.Range(-h, -10), 3, 2);
        p.Fill(r.Uniform() < 0.5 ? Hex(0x3a6a2a) : Hex(0x5a8a3a), 0.9);
    }
}

void Ruin(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 110);
    RGB col = Hex(0xa89c8a);
    Rng r(e.variant * 13 + 1);
    // A broken wall with a window and fallen blocks.
    cairo_move_to(cr, -60, 0);
    cairo_line_to(cr, -60, -90);
    cairo_line_to(cr, -44, -104);
    cairo_line_to(cr, -30, -84);
    cairo_line_to(cr, -10, -96);
    cairo_line_to(cr, 10, -60);
    cairo_line_to(cr, 30, -66);
    cairo_line_to(cr, 55, -30);
    cairo_line_to(cr, 60, 0);
    cairo_close_path(cr);
    p.Shade(col, -60, 60, 0.2, 0.45);
    cairo_move_to(cr, -40, -40);
    cairo_line_to(cr, -40, -62);
    cairo_arc(cr, -30, -62, 10, M_PI, 2 * M_PI);
    cairo_line_to(cr, -20, -40);
    cairo_close_path(cr);
    p.Fill(Hex(0x2a2628));
    for (double y = -10; y > -100; y -= 11) {
        cairo_move_to(cr, -60, y);
        cairo_line_to(cr, 40 + y * 0.3, y);
    }
    p.Stroke(Hex(0x5a5048), 0.8, 0.5);
    for (int i = 0; i < 5; ++i) {
        double x = r.Range(-70, 70);
        cairo_rectangle(cr, x, -8, r.Range(10, 18), 8);
        p.Shade(col, x, x + 16);
    }
}

void Gate(Pen& p, const Element& e) {
    // A huge standing gate of stone with a glowing threshold.
    cairo_t* cr = p.cr;
    FootShadow(p, 320);
    RGB col = Hex(0x8a8294);
    double w = 160, h = 300, t = 54;
    // Lintel stones and carved runes.
    StoneArch(p, col, w, h, t, 0.5, 12, 30);
    p.Stroke(Hex(0x3a3444), 1.2, 0.7);
    for (int i = 0; i < 7; ++i) {
        double y = -40 - i * 36;
        for (double sx : {-w / 2 - t / 2, w / 2 + t / 2}) {
            cairo_new_path(cr);
            GlyphPath(cr, F_RUNIC, RuneOf(1 + (i * 2 + (sx > 0)) % 15).glyph, 20, sx, y);
            if (p.lit) {
                SetColor(cr, Mix(Hex(0xc8a0ff), p.L.haze, p.haze * 0.4), 0.9);
                cairo_fill(cr);
                p.Glow(sx, y - 6, 20, Hex(0xb080ff), 0.6);
            } else {
                p.Fill(Hex(0x3a3444), 0.8);
            }
        }
    }
    // Light through the opening.
    if (p.lit) {
        cairo_new_path(cr);
        cairo_move_to(cr, -w / 2, 0);
        cairo_line_to(cr, -w / 2, -h);
        cairo_arc(cr, 0, -h, w / 2, M_PI, 2 * M_PI);
        cairo_line_to(cr, w / 2, 0);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, -h - w / 2);
        AddStop(g, 0, Hex(0xffe0ff), 0.55);
        AddStop(g, 1, Hex(0xa070ff), 0.05);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    (void)e;
}

void Observatory(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 110);
    cairo_rectangle(cr, -50, -70, 100, 70);
    p.Shade(Hex(0xc8c0b0), -50, 50, 0.2, 0.45);
    cairo_rectangle(cr, -30, -110, 60, 40);
    p.Shade(Hex(0xd0c8b8), -30, 30, 0.2, 0.45);
    cairo_new_path(cr);
    cairo_arc(cr, 0, -110, 36, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    p.Shade(Hex(0x6a80a8), -36, 36, 0.35, 0.45);
    for (int i = 1; i < 6; ++i) {
        double a = M_PI + i * M_PI / 6;
        cairo_move_to(cr, 0, -110);
        cairo_line_to(cr, std::cos(a) * 36, -110 + std::sin(a) * 36);
    }
    p.Stroke(Hex(0x3a4a68), 1, 0.6);
    // Telescope out of the dome's slot.
    cairo_save(cr);
    cairo_translate(cr, 6, -130);
    cairo_rotate(cr, -0.7);
    cairo_rectangle(cr, 0, -5, 56, 10);
    p.Shade(Hex(0xc8a040), 0, 56, 0.4, 0.3);
    cairo_rectangle(cr, 50, -7, 8, 14);
    p.Fill(Hex(0x8a6a20));
    cairo_restore(cr);
    p.Window(-40, -50, 10, 16);
    p.Window(30, -50, 10, 16);
    p.Window(-6, -100, 12, 16);
    cairo_rectangle(cr, -8, -26, 16, 26);
    p.Fill(Hex(0x3a2418));
    (void)e;
}

void HourglassShape(Pen& p, double x, double y, double h) {
    cairo_t* cr = p.cr;
    double w = h * 0.38;
    cairo_rectangle(cr, x - w * 0.7, y - 4 * h / 60, w * 1.4, 4 * h / 60);
    cairo_rectangle(cr, x - w * 0.7, y - h, w * 1.4, 4 * h / 60);
    p.Shade(Hex(0xc89a40), x - w * 0.7, x + w * 0.7, 0.4, 0.35);
    for (double sx : {-0.55, 0.55}) {
        cairo_rectangle(cr, x + sx * w - h * 0.025, y - h, h * 0.05, h);
        p.Fill(Hex(0x8a6420));
    }
    double top = y - h + 4 * h / 60, bot = y - 4 * h / 60, mid = (top + bot) / 2;
    cairo_move_to(cr, x - w * 0.45, top);
    cairo_curve_to(cr, x - w * 0.45, mid - h * 0.1, x - w * 0.05, mid - h * 0.04, x - w * 0.05, mid);
    cairo_curve_to(cr, x - w * 0.05, mid + h * 0.04, x - w * 0.45, mid + h * 0.1, x - w * 0.45, bot);
    cairo_line_to(cr, x + w * 0.45, bot);
    cairo_curve_to(cr, x + w * 0.45, mid + h * 0.1, x + w * 0.05, mid + h * 0.04, x + w * 0.05, mid);
    cairo_curve_to(cr, x + w * 0.05, mid - h * 0.04, x + w * 0.45, mid - h * 0.1, x + w * 0.45, top);
    cairo_close_path(cr);
    p.FillKeep(Hex(0xd8f0ff), 0.35);
    p.Stroke(Hex(0xf0f8ff), h * 0.012, 0.8);
    // Sand: a heap below, a little left above, the falling thread.
    Poly(cr, {x - w * 0.42, bot, x, bot - h * 0.14, x + w * 0.42, bot});
    p.Fill(Hex(0xf0c860));
    Poly(cr, {x - w * 0.3, mid - h * 0.1, x + w * 0.3, mid - h * 0.1, x, mid - h * 0.01});
    p.Fill(Hex(0xf0c860));
    cairo_rectangle(cr, x - h * 0.004, mid, h * 0.008, bot - mid - h * 0.1);
    p.Fill(Hex(0xf0c860));
}

void HourglassTower(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 100);
    Poly(cr, {-40, 0, -30, -200, 30, -200, 40, 0});
    p.Shade(Hex(0xd8ccb8), -40, 40, 0.2, 0.45);
    for (double y = -16; y > -200; y -= 16) {
        cairo_move_to(cr, -40 + (-y) * 0.05, y);
        cairo_line_to(cr, 40 - (-y) * 0.05, y);
    }
    p.Stroke(Hex(0x7a6a58), 0.7, 0.5);
    p.Window(-6, -170, 12, 18);
    p.Window(-6, -110, 12, 18);
    cairo_rectangle(cr, -10, -30, 20, 30);
    p.Fill(Hex(0x4a2c18));
    // A balcony and the great glass on top.
    cairo_rectangle(cr, -44, -206, 88, 8);
    p.Shade(Hex(0xb09060), -44, 44);
    HourglassShape(p, 0, -206, 110);
    Poly(cr, {-30, -322, 0, -360, 30, -322});
    p.Shade(Hex(0xc89a40), -30, 30, 0.3, 0.35);
    p.Glow(0, -260, 90, Hex(0xfff0c0), 0.5);
    (void)e;
}

void Boardwalk(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    double len = 160 + e.variant * 40;
    for (int i = 0; i < 20; ++i) {
        double x = -len / 2 + i * len / 20;
        cairo_rectangle(cr, x, -6, len / 20 - 1.5, 6);
        p.VShade(i % 3 ? Hex(0x8a6a44) : Hex(0x7a5a38), -6, 0, 0.25, 0.3);
    }
    for (int i = 0; i <= 4; ++i) {
        double x = -len / 2 + i * len / 4;
        cairo_rectangle(cr, x - 2, -18, 4, 28);
        p.Fill(Hex(0x4a3420));
    }
    cairo_move_to(cr, -len / 2, -16);
    cairo_line_to(cr, len / 2, -16);
    p.Stroke(Hex(0x5a4028), 1.5);
}

void Haystack(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 50);
    cairo_move_to(cr, -26, 0);
    cairo_curve_to(cr, -28, -30, -12, -46, 0, -46);
    cairo_curve_to(cr, 12, -46, 28, -30, 26, 0);
    cairo_close_path(cr);
    p.Shade(Hex(0xe0b850), -26, 26, 0.3, 0.4);
    Rng r(e.variant + 11);
    for (int i = 0; i < 40; ++i) {
        double x = r.Range(-22, 22), y = r.Range(-40, -2);
        if (std::fabs(x) > 26 * std::sqrt(std::max(0.0, 1 - (y + 20) * (y + 20) / 900.0))) continue;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + r.Range(-4, 4), y + r.Range(3, 7));
        p.Stroke(r.Uniform() < 0.5 ? Hex(0xf8e090) : Hex(0x9a7020), 0.8, 0.8);
    }
}

void Fence(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    int posts = 5 + e.variant;
    for (int i = 0; i < posts; ++i) {
        double x = i * 20 - posts * 10;
        cairo_rectangle(cr, x - 2, -22, 4, 22);
        p.Fill(Hex(0x6a4a2c));
    }
    for (double y : {-17.0, -8.0}) {
        cairo_move_to(cr, -posts * 10, y);
        cairo_line_to(cr, posts * 10 - 20, y + 1);
    }
    p.Stroke(Hex(0x8a6440), 2.5);
}

void Wagon(Pen& p, const Element& e) {
    // A covered caravan wagon with lanterns hung on it.
    cairo_t* cr = p.cr;
    FootShadow(p, 90);
    cairo_rectangle(cr, -40, -30, 80, 16);
    p.Shade(Hex(0x7a4a28), -40, 40);
    cairo_move_to(cr, -38, -30);
    cairo_curve_to(cr, -40, -72, 40, -72, 38, -30);
    cairo_close_path(cr);
    p.Shade(e.variant % 2 ? Hex(0xd8c8a0) : Hex(0xb05a3a), -38, 38, 0.3, 0.35);
    for (double x : {-24.0, 0.0, 24.0}) {
        cairo_move_to(cr, x, -30);
        cairo_line_to(cr, x * 1.05, -60 + std::fabs(x) * 0.3);
    }
    p.Stroke(Hex(0x5a3a20), 1, 0.6);
    for (double wx : {-26.0, 26.0}) {
        cairo_arc(cr, wx, -10, 10, 0, 2 * M_PI);
        p.Stroke(Hex(0x3a2410), 2.5);
        for (int i = 0; i < 6; ++i) {
            cairo_move_to(cr, wx, -10);
            cairo_line_to(cr, wx + std::cos(i * M_PI / 3) * 10, -10 + std::sin(i * M_PI / 3) * 10);
        }
        p.Stroke(Hex(0x3a2410), 1);
    }
    cairo_move_to(cr, 40, -20);
    cairo_line_to(cr, 70, -14);
    p.Stroke(Hex(0x4a3020), 2);
    cairo_move_to(cr, -44, -40);
    cairo_line_to(cr, -44, -30);
    p.Stroke(Hex(0x3a3030), 1);
    p.Glow(-44, -36, 26, p.L.window, 0.9);
    cairo_arc(cr, -44, -36, 3.5, 0, 2 * M_PI);
    SetColor(cr, Mix(Hex(0xffe8a0), p.L.haze, p.haze * 0.3));
    cairo_fill(cr);
}

void Well(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 44);
    cairo_rectangle(cr, -20, -22, 40, 22);
    p.Shade(Hex(0x9a9088), -20, 20);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, -20, -7 - i * 7);
        cairo_line_to(cr, 20, -7 - i * 7);
    }
    p.Stroke(Hex(0x4a4440), 0.7, 0.6);
    for (double x : {-18.0, 16.0}) {
        cairo_rectangle(cr, x, -52, 3, 30);
        p.Fill(Hex(0x5a3a20));
    }
    Roof(p, -24, 24, -50, 16, Hex(0x8a4a2a), false);
    (void)e;
}

// Plants.
void TreeRound(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 60);
    Poly(cr, {-5, 0, -3, -46, 3, -46, 6, 0});
    p.Shade(Hex(0x5a3a22), -5, 6);
    Rng r(e.variant * 31 + 7);
    RGB leaf = Hex(0x3a7a2a);
    if (e.variant % 4 == 1) leaf = Hex(0x4a8a34);
    bool autumn = e.variant >= 10;
    // Clumps of foliage: dark ones behind and below, lit ones on the sun's
    // side and on top, then loose leaves over the edges.
    auto pick = [&]() {
        if (!autumn) return Mix(leaf, Hex(0x6a9a3a), r.Uniform() * 0.4);
        double u = r.Uniform();
        return u < 0.35 ? Hex(0xc85a1a) : (u < 0.7 ? Hex(0xd8a020) : Hex(0xa8401a));
    };
    for (int pass = 0; pass < 3; ++pass)
        for (int i = 0; i < 14; ++i) {
            double a = r.Range(0, 2 * M_PI), d = std::sqrt(r.Uniform()) * 24;
            double x = std::cos(a) * d * 1.25, y = -64 + std::sin(a) * d * 0.95, rr = r.Range(8, 13);
            if (pass == 2) x += p.side * 5, y -= 6, rr *= 0.8;
            RGB c = pick();
            c = pass == 0 ? Darker(c, 0.35) : (pass == 2 ? Lighter(Mix(c, Mul(c, p.L.key), 0.5), 0.2) : c);
            cairo_pattern_t* g = cairo_pattern_create_radial(x + p.side * rr * 0.35, y - rr * 0.4, rr * 0.1, x, y, rr);
            AddStop(g, 0, p.Col(Lighter(c, 0.2)));
            AddStop(g, 1, p.Col(Darker(c, 0.3)));
            cairo_set_source(cr, g);
            cairo_arc(cr, x, y, rr, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    for (int i = 0; i < 70; ++i) {
        double a = r.Range(0, 2 * M_PI), d = r.Range(18, 36);
        double x = std::cos(a) * d * 1.1, y = -64 + std::sin(a) * d * 0.9;
        Ellipse(cr, x, y, 2.4, 1.5);
        RGB c = pick();
        p.Fill(std::sin(a) * -p.side < 0.3 ? Lighter(c, 0.2) : Darker(c, 0.2), 0.85);
    }
}

void TreePine(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 40);
    cairo_rectangle(cr, -3, -14, 6, 14);
    p.Fill(Hex(0x4a2e1a));
    RGB col = Hex(0x1e4a32);
    bool snow = e.variant % 2 == 1;
    for (int i = 0; i < 5; ++i) {
        double y = -12 - i * 20, w = 30 - i * 5;
        Poly(cr, {-w, y, 0, y - 34, w, y});
        p.Shade(col, -w, w, 0.25, 0.45);
        // Needles: light strokes on the lit side, dark ones in the shade.
        for (int j = 0; j < 9; ++j) {
            double u = p.rng.Range(0.15, 0.95), sx = p.rng.Uniform() < 0.65 ? p.side : -p.side;
            double nx = sx * w * u * p.rng.Range(0.5, 0.95), ny = y - 34 * (1 - u) * p.rng.Range(0.3, 0.9);
            cairo_move_to(cr, nx, ny);
            cairo_line_to(cr, nx + sx * 5, ny + 3);
            p.Stroke(sx == p.side ? Lighter(col, 0.45) : Darker(col, 0.4), 1.3, 0.8);
        }
        if (snow) {
            cairo_move_to(cr, -w, y);
            cairo_curve_to(cr, -w * 0.5, y - 8, -w * 0.2, y - 12, 0, y - 30);
            cairo_line_to(cr, w * 0.2 * p.side, y - 8);
            cairo_curve_to(cr, w * 0.4, y - 3, w * 0.7, y - 2, w, y);
            cairo_curve_to(cr, w * 0.5, y - 5, -w * 0.5, y - 5, -w, y);
            p.Fill(Hex(0xf4f8ff), 0.85);
        }
    }
}

void TreeWillow(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 80);
    cairo_move_to(cr, -7, 0);
    cairo_curve_to(cr, -4, -30, -10, -50, -4, -70);
    cairo_line_to(cr, 5, -70);
    cairo_curve_to(cr, 2, -50, 6, -30, 8, 0);
    cairo_close_path(cr);
    p.Shade(Hex(0x5a4a32), -7, 8);
    Rng r(e.variant * 17 + 3);
    // Crown, then the hanging strands.
    for (int i = 0; i < 10; ++i) {
        Ellipse(cr, r.Range(-30, 30), r.Range(-92, -70), r.Range(14, 24), r.Range(10, 14));
        p.Fill(Mix(Hex(0x5a7a2a), Hex(0x8aa040), r.Uniform()), 0.9);
    }
    for (int i = 0; i < 60; ++i) {
        double x = r.Range(-46, 46), y = r.Range(-90, -70), len = r.Range(30, 70);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + r.Range(-6, 6), y + len * 0.4, x + r.Range(-4, 4), y + len * 0.8, x + r.Range(-3, 3),
                       y + len);
        p.Stroke(r.Uniform() < 0.5 ? Hex(0x7a9a3a) : Hex(0x4a6a22), r.Range(1.2, 2.5), 0.85);
    }
}

void TreeDead(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    Rng r(e.variant * 7 + 5);
    std::function<void(double, double, double, double, int)> branch = [&](double x, double y, double a, double len,
                                                                         int depth) {
        double x2 = x + std::cos(a) * len, y2 = y + std::sin(a) * len;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x2, y2);
        p.Stroke(Hex(0x3a3030), std::max(0.8, depth * 1.8));
        if (depth <= 0) return;
        branch(x2, y2, a - r.Range(0.3, 0.6), len * 0.7, depth - 1);
        branch(x2, y2, a + r.Range(0.3, 0.6), len * 0.7, depth - 1);
    };
    branch(0, 0, -M_PI / 2, 40, 4);
}

void TreeCrystal(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    Rng r(e.variant * 19 + 2);
    RGB hue = e.variant % 3 == 0 ? Hex(0x80d0ff) : (e.variant % 3 == 1 ? Hex(0xb090ff) : Hex(0x70ffd0));
    p.Glow(0, -60, 90, hue, 0.35);
    cairo_move_to(cr, -5, 0);
    cairo_line_to(cr, -2, -50);
    cairo_line_to(cr, 2, -50);
    cairo_line_to(cr, 5, 0);
    cairo_close_path(cr);
    p.Shade(Hex(0x5a6a8a), -5, 5);
    // Shards as leaves: faceted, light on one face.
    for (int i = 0; i < 14; ++i) {
        double x = r.Range(-30, 30), y = r.Range(-100, -45), h = r.Range(16, 34), w = h * 0.3;
        double a = r.Range(-0.6, 0.6);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, a);
        Poly(cr, {0, -h / 2, w / 2, 0, 0, h / 2, -w / 2, 0});
        SetColor(cr, Mix(Darker(hue, 0.35), p.L.haze, p.haze * 0.5), 0.85);
        cairo_fill(cr);
        Poly(cr, {0, -h / 2, w / 2, 0, 0, h / 2});
        SetColor(cr, Mix(Lighter(hue, 0.4), p.L.haze, p.haze * 0.5), 0.8);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    for (int i = 0; i < 6; ++i) {
        double x = r.Range(-30, 30), y = r.Range(-100, -45);
        RadialGlow(cr, x, y, 10, Hex(0xffffff), 0.6);
        Star(cr, x, y, 6, 1, 4);
        SetColor(cr, Hex(0xffffff), 0.9);
        cairo_fill(cr);
    }
}

void Bush(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    Rng r(e.variant * 5 + 1);
    RGB c = e.variant >= 10 ? Hex(0xb0601a) : Hex(0x3a6a2a);
    FootShadow(p, 44);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 12; ++i) {
            double x = r.Range(-20, 20), y = r.Range(-18, -6) - pass * 3, rr = r.Range(5, 8);
            RGB cc = pass ? Lighter(c, 0.15) : Darker(c, 0.25);
            cairo_pattern_t* g = cairo_pattern_create_radial(x + p.side * 2, y - 3, 1, x, y, rr);
            AddStop(g, 0, p.Col(Lighter(cc, 0.3)));
            AddStop(g, 1, p.Col(Darker(cc, 0.3)));
            cairo_set_source(cr, g);
            cairo_arc(cr, x, y, rr, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    for (int i = 0; i < 24; ++i) {
        Ellipse(cr, r.Range(-24, 24), r.Range(-24, -4), 1.8, 1.1);
        p.Fill(Lighter(c, 0.35), 0.7);
    }
    if (e.variant % 3 == 2)
        for (int i = 0; i < 8; ++i) {
            cairo_arc(cr, r.Range(-18, 18), r.Range(-22, -6), 1.8, 0, 2 * M_PI);
            p.Fill(Hex(0xe04a5a));
        }
}

void Reeds(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    Rng r(e.variant * 3 + 9);
    for (int i = 0; i < 14; ++i) {
        double x = r.Range(-20, 20), h = r.Range(24, 50), lean = r.Range(-8, 8);
        cairo_move_to(cr, x, 0);
        cairo_curve_to(cr, x, -h * 0.5, x + lean * 0.5, -h * 0.8, x + lean, -h);
        p.Stroke(r.Uniform() < 0.5 ? Hex(0x6a7a3a) : Hex(0x8a8a4a), 1.4);
        if (r.Uniform() < 0.4) {
            Ellipse(cr, x + lean * 0.9, -h * 0.95, 2, 6);
            p.Fill(Hex(0x5a3a22));
        }
    }
}

void Rock(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    Rng r(e.variant * 11 + 4);
    double w = 26 + r.Range(0, 14), h = 18 + r.Range(0, 12);
    cairo_move_to(cr, -w, 0);
    cairo_curve_to(cr, -w, -h * 0.8, -w * 0.3, -h * 1.2, w * 0.2, -h);
    cairo_curve_to(cr, w * 0.8, -h * 0.9, w, -h * 0.4, w, 0);
    cairo_close_path(cr);
    p.Shade(Hex(0x8a8680), -w, w, 0.3, 0.5);
    for (int i = 0; i < 4; ++i) {
        Ellipse(cr, r.Range(-w * 0.6, w * 0.6), r.Range(-h * 0.8, -h * 0.2), r.Range(3, 7), r.Range(2, 4));
        p.Fill(Hex(0x5a7a3a), 0.5);
    }
}

void Flowers(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    Rng r(e.variant * 29 + 8);
    const RGB cols[4] = {Hex(0xf05a6a), Hex(0xf8d040), Hex(0xffffff), Hex(0xa070f0)};
    for (int i = 0; i < 24; ++i) {
        double x = r.Range(-40, 40), y = r.Range(-10, 0), h = r.Range(6, 14);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, y - h);
        p.Stroke(Hex(0x3a6a2a), 0.9);
        cairo_arc(cr, x, y - h, r.Range(1.8, 3.2), 0, 2 * M_PI);
        p.Fill(cols[(i + e.variant) % 4]);
    }
}

// Figures: one rig for everyone who walks through the tale. Feet at 0, hips
// near -19, shoulders near -42, the head's centre near -52; a Build gives a
// kind its measures, clothes and hair, a Pose what it is doing. Faces are
// drawn in a three-quarter turn so the eyes can look somewhere.
enum class Hair { Tousled, Short, Elder, Bun, Long, Scarf };

struct Build {
    RGB cloth, trim, legs, boots, skin, hair, eyes;
    Hair style = Hair::Tousled;
    bool robe = false;    // a long robe or dress down to the ground
    bool beard = false;
    double hip = -19, shoulder = -42, headR = 8, shoulderW = 8.5, hemW = 12;
    double upper = 11, fore = 10, sleeve = 4.6;
};

// A radial light on the current path: bright where the key light falls,
// deep on the far side, then a thin outline. Keeps the path.
void Round(const Pen& p, RGB base, double cx, double cy, double r, double light = 0.25, double dark = 0.35) {
    cairo_pattern_t* g = cairo_pattern_create_radial(cx + p.side * r * 0.4, cy - r * 0.4, r * 0.1, cx, cy, r * 1.25);
    AddStop(g, 0, p.Col(Lighter(Mix(base, Mul(base, p.L.key), 0.5), light)));
    AddStop(g, 0.6, p.Col(base));
    AddStop(g, 1, p.Col(Darker(base, dark)));
    cairo_set_source(p.cr, g);
    cairo_fill_preserve(p.cr);
    cairo_pattern_destroy(g);
}

// The lit edge of a shape: a thin light line along the side the key light
// comes from, as the scene painters rim their buildings.
void RimLight(const Pen& p, double x0, double x1, double w = 1.1) {
    cairo_save(p.cr);
    cairo_clip_preserve(p.cr);
    double a = p.side > 0 ? x1 : x0, b = (x0 + x1) / 2;
    cairo_pattern_t* g = cairo_pattern_create_linear(a, 0, b, 0);
    AddStop(g, 0, Mix(p.L.key, p.L.haze, p.haze), 0.55 * (1 - p.haze));
    AddStop(g, 0.35, p.L.key, 0);
    cairo_set_source(p.cr, g);
    cairo_set_line_width(p.cr, w * 2.4);
    cairo_stroke_preserve(p.cr);
    cairo_pattern_destroy(g);
    cairo_restore(p.cr);
    cairo_new_path(p.cr);
}

struct Limb {
    double sx, sy, ex, ey, hx, hy;  // shoulder, elbow, hand
};

Limb LimbOf(double sx, double sy, double upper, double fore, double a1, double a2) {
    Limb l{sx, sy, 0, 0, 0, 0};
    l.ex = sx + std::sin(a1) * upper, l.ey = sy + std::cos(a1) * upper;
    l.hx = l.ex + std::sin(a2) * fore, l.hy = l.ey + std::cos(a2) * fore;
    return l;
}

void LanternIn(const Pen& p, double x, double y) {
    cairo_t* cr = p.cr;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x, y + 4);
    p.Stroke(Hex(0x2a2420), 0.9);
    double ly = y + 12;
    p.Glow(x, ly, 38, p.L.window, 1.0);
    RoundRect(cr, x - 4.5, ly - 7, 9, 13, 2.5);
    cairo_pattern_t* g = cairo_pattern_create_radial(x, ly, 1, x, ly, 7);
    AddStop(g, 0, Hex(0xfffbe0), p.lit ? 1 : 0.5);
    AddStop(g, 1, Mix(Hex(0xf0a040), p.L.haze, p.haze * 0.3), p.lit ? 1 : 0.4);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (double bx : {-4.5, 0.0, 4.5}) {
        cairo_move_to(cr, x + bx, ly - 7);
        cairo_line_to(cr, x + bx, ly + 6);
    }
    p.Stroke(Hex(0x2a2018), 0.8);
    Poly(cr, {x - 6.5, ly - 7, x, ly - 12.5, x + 6.5, ly - 7});
    p.Fill(Hex(0x3a2a20));
    cairo_rectangle(cr, x - 5.5, ly + 6, 11, 2);
    p.Fill(Hex(0x3a2a20));
}

void StaffIn(const Pen& p, double x, double y, double foot) {
    cairo_t* cr = p.cr;
    cairo_move_to(cr, x, foot);
    cairo_line_to(cr, x, y - 26);
    p.Stroke(Hex(0x3a2412), 3.2);
    cairo_move_to(cr, x - 0.4 * p.side, foot);
    cairo_line_to(cr, x - 0.4 * p.side, y - 26);
    p.Stroke(Hex(0x8a6438), 1.6);
    // A crook of root at the top holding the gem.
    cairo_move_to(cr, x, y - 25);
    cairo_curve_to(cr, x - 5, y - 30, x - 4, y - 38, x + 1, y - 38);
    p.Stroke(Hex(0x5a3a1c), 2.2);
    p.Glow(x, y - 32, 22, Hex(0x80e0ff), 0.9);
    GemPath(cr, 3, x, y - 32, 4.5);
    cairo_pattern_t* g = cairo_pattern_create_radial(x - 1.5, y - 34, 0.5, x, y - 32, 5);
    AddStop(g, 0, Hex(0xffffff));
    AddStop(g, 1, Mix(Hex(0x50b0e0), p.L.haze, p.haze * 0.3));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void RuneIn(const Pen& p, double x, double y, int cls) {
    const RuneClass& rc = RuneOf(cls);
    p.Glow(x, y - 6, 18, rc.hue, 0.95);
    GemPath(p.cr, rc.shape, x, y - 6, 3.6);
    cairo_pattern_t* g = cairo_pattern_create_radial(x - 1, y - 7.5, 0.3, x, y - 6, 4);
    AddStop(g, 0, Hex(0xffffff));
    AddStop(g, 1, rc.hue);
    cairo_set_source(p.cr, g);
    cairo_fill(p.cr);
    cairo_pattern_destroy(g);
}

void BookIn(const Pen& p, double x, double y) {
    cairo_t* cr = p.cr;
    cairo_save(cr);
    cairo_translate(cr, x, y - 2);
    cairo_rotate(cr, -0.35);
    Poly(cr, {0, 1, -10, -3, -11, 3, 0, 6});
    Poly(cr, {0, 1, 10, -3, 11, 3, 0, 6});
    p.Fill(Hex(0x7a2a2a));
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, -4, -3, -7, -4, -10, -3.5);
    cairo_line_to(cr, -10.4, 2);
    cairo_curve_to(cr, -7, 1.5, -3, 2.5, 0, 4.5);
    cairo_curve_to(cr, 3, 2.5, 7, 1.5, 10.4, 2);
    cairo_line_to(cr, 10, -3.5);
    cairo_curve_to(cr, 7, -4, 4, -3, 0, 0);
    cairo_close_path(cr);
    p.Fill(Hex(0xf4ecd8));
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, -8.5, -1.8 + i * 1.4);
        cairo_line_to(cr, -2, -0.6 + i * 1.4);
        cairo_move_to(cr, 2, -0.6 + i * 1.4);
        cairo_line_to(cr, 8.5, -1.8 + i * 1.4);
    }
    p.Stroke(Hex(0x6a5a4a), 0.4, 0.8);
    cairo_restore(cr);
}

void LetterIn(const Pen& p, double x, double y) {
    cairo_t* cr = p.cr;
    cairo_save(cr);
    cairo_translate(cr, x, y - 4);
    cairo_rotate(cr, -0.2);
    cairo_rectangle(cr, -5, -7, 10, 13);
    p.Fill(Hex(0xf4ead0));
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, -3.5, -4.5 + i * 2.6);
        cairo_line_to(cr, 3.5, -4.5 + i * 2.6);
    }
    p.Stroke(Hex(0x4a5a8a), 0.45, 0.8);
    cairo_restore(cr);
}

// A Warden's broken stone face, held up to be looked at: the brow, the two
// dark slits whose light has gone out, and the jagged edge it broke along.
void MaskIn(const Pen& p, double x, double y) {
    cairo_t* cr = p.cr;
    const RGB st = Hex(0x8a8890);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.35, 1.35);
    cairo_translate(cr, -x, -y);
    const double cx = x + 1.5, cy = y - 1.5;
    cairo_move_to(cr, cx - 7.5, cy - 6);
    cairo_curve_to(cr, cx - 7.5, cy - 8.5, cx - 5, cy - 9, cx, cy - 9);
    cairo_curve_to(cr, cx + 5, cy - 9, cx + 7.5, cy - 8.5, cx + 7.5, cy - 6);
    cairo_line_to(cr, cx + 7.2, cy + 3);
    cairo_line_to(cr, cx + 4.5, cy + 5.5);
    cairo_line_to(cr, cx + 2, cy + 3.2);
    cairo_line_to(cr, cx - 1, cy + 6.5);
    cairo_line_to(cr, cx - 3.5, cy + 3.8);
    cairo_line_to(cr, cx - 7.3, cy + 5);
    cairo_close_path(cr);
    p.Shade(st, cx - 7.5, cx + 7.5, 0.3, 0.5);
    cairo_new_path(cr);
    RoundRect(cr, cx - 6.2, cy - 5.8, 12.4, 2.2, 0.8);
    p.Shade(Lighter(st, 0.1), cx - 6.2, cx + 6.2, 0.35, 0.45);
    cairo_new_path(cr);
    for (double ex : {-3.3, 3.3}) {
        cairo_rectangle(cr, cx + ex - 1.8, cy - 3.2, 3.6, 1.4);
        p.Fill(Hex(0x1a1820));
    }
    // The crack that split it from the body.
    cairo_move_to(cr, cx + 1.5, cy - 9);
    cairo_line_to(cr, cx + 0.2, cy - 5);
    cairo_line_to(cr, cx + 1.8, cy - 1.5);
    cairo_line_to(cr, cx + 0.5, cy + 3);
    p.Stroke(Hex(0x2a2830), 0.6);
    cairo_move_to(cr, cx - 3.5, cy + 1);
    cairo_line_to(cr, cx + 3.5, cy + 1.3);
    p.Stroke(Hex(0x3a3840), 0.7);
    Ellipse(cr, cx - 4.5, cy - 8.6, 2.5, 0.9);
    p.Fill(Hex(0x4a7a3a), 0.85);
    cairo_restore(cr);
}

// A limb segment: a capsule from (x0, y0) to (x1, y1) whose half-width tapers
// from r0 to r1, added to the current path.
void SegmentPath(cairo_t* cr, double x0, double y0, double r0, double x1, double y1, double r1) {
    const double a = std::atan2(y1 - y0, x1 - x0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1, y1, r1, a - M_PI / 2, a + M_PI / 2);
    cairo_arc(cr, x0, y0, r0, a + M_PI / 2, a + 3 * M_PI / 2);
    cairo_close_path(cr);
}

// The unit normal of a segment on the side the key light (and the sky)
// falls on: the lit flank of a sleeve or a trouser leg.
void LitNormal(const Pen& p, double dx, double dy, double& nx, double& ny) {
    const double len = std::max(1e-6, std::hypot(dx, dy));
    nx = -dy / len, ny = dx / len;
    if (nx * p.side - ny * 0.7 < 0) nx = -nx, ny = -ny;
}

// Cloth or skin round a segment: lit along one flank, a core shadow along
// the other, a little reflected light at the very edge. Keeps the path.
void ShadeAcross(const Pen& p, RGB base, double x0, double y0, double x1, double y1, double r, double light = 0.3,
                 double dark = 0.45) {
    double nx, ny;
    LitNormal(p, x1 - x0, y1 - y0, nx, ny);
    const double mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
    cairo_pattern_t* g = cairo_pattern_create_linear(mx + nx * r, my + ny * r, mx - nx * r, my - ny * r);
    AddStop(g, 0, p.Col(Lighter(Mix(base, Mul(base, p.L.key), 0.5), light)));
    AddStop(g, 0.4, p.Col(base));
    AddStop(g, 0.85, p.Col(Darker(base, dark)));
    AddStop(g, 1, p.Col(Darker(base, dark * 0.7)));
    cairo_set_source(p.cr, g);
    cairo_fill_preserve(p.cr);
    cairo_pattern_destroy(g);
}

// One sleeve or trouser segment, shaded and inked.
void ClothSegment(const Pen& p, RGB base, double x0, double y0, double r0, double x1, double y1, double r1) {
    SegmentPath(p.cr, x0, y0, r0, x1, y1, r1);
    ShadeAcross(p, base, x0, y0, x1, y1, std::max(r0, r1));
    p.Ink(base);
}

// Creases across a segment at fractions `at` of its length, bowed the way
// cloth hangs from a joint.
void Creases(const Pen& p, RGB base, double x0, double y0, double x1, double y1, double r,
             std::initializer_list<double> at) {
    cairo_t* cr = p.cr;
    const double dx = x1 - x0, dy = y1 - y0, len = std::max(1e-6, std::hypot(dx, dy));
    const double ux = dx / len, uy = dy / len, nx = -uy, ny = ux;
    for (double f : at) {
        const double cx = x0 + dx * f, cy = y0 + dy * f;
        cairo_move_to(cr, cx + nx * r * 0.8, cy + ny * r * 0.8);
        cairo_curve_to(cr, cx + nx * r * 0.3 + ux * r * 0.5, cy + ny * r * 0.3 + uy * r * 0.5,
                       cx - nx * r * 0.2 + ux * r * 0.3, cy - ny * r * 0.2 + uy * r * 0.3, cx - nx * r * 0.6,
                       cy - ny * r * 0.6);
    }
    p.Stroke(Darker(base, 0.5), 0.45, 0.55);
}

// A hand at the wrist (wx, wy) on a forearm running along (ux, uy): a palm,
// a thumb on the side the hand opens to, and fingers curled round what it
// holds, spread when open, one held out when it points.
void Hand(const Pen& p, const Build& b, double wx, double wy, double ux, double uy, Hold hold) {
    cairo_t* cr = p.cr;
    const double k = b.sleeve / 4.6;
    const double nx = uy, ny = -ux;  // the thumb's side: forwards when the arm hangs
    const double cx = wx + ux * 1.8 * k, cy = wy + uy * 1.8 * k;
    const RGB skin = b.skin, edge = Darker(b.skin, 0.45);
    auto finger = [&](double x0, double y0, double x1, double y1, double w) {
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        p.Stroke(edge, w + 0.6, 0.85);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        p.Stroke(skin, w);
    };
    // Thumb first: it lies under the palm's edge.
    const double thumbOut = hold == Hold::Open ? 1.0 : 0.55;
    finger(cx + nx * 0.9 * k - ux * 0.4 * k, cy + ny * 0.9 * k - uy * 0.4 * k,
           cx + (nx * (0.9 + thumbOut) + ux * 1.1) * k, cy + (ny * (0.9 + thumbOut) + uy * 1.1) * k, 1.0 * k);
    if (hold == Hold::Open) {
        for (int i = 0; i < 4; ++i) {
            const double spread = -0.28 + i * 0.2, bx = cx + (ux * 1.2 + nx * (0.75 - i * 0.5)) * k,
                         by = cy + (uy * 1.2 + ny * (0.75 - i * 0.5)) * k;
            const double fx = ux * std::cos(spread) - nx * std::sin(spread),
                         fy = uy * std::cos(spread) - ny * std::sin(spread), len = (i == 3 ? 1.6 : 2.2) * k;
            finger(bx, by, bx + fx * len, by + fy * len, 0.75 * k);
        }
    } else if (hold == Hold::Point) {
        finger(cx + (ux * 1.1 + nx * 0.5) * k, cy + (uy * 1.1 + ny * 0.5) * k, cx + (ux * 4.6 + nx * 0.7) * k,
               cy + (uy * 4.6 + ny * 0.7) * k, 0.85 * k);
    }
    // The palm, turned along the forearm.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, std::atan2(uy, ux));
    Ellipse(cr, 0, 0, 1.9 * k, 1.45 * k);
    cairo_restore(cr);
    Round(p, skin, cx, cy, 1.9 * k, 0.25, 0.3);
    p.Ink(skin);
    if (hold != Hold::Open) {
        // Curled fingers: a knuckled roll over the palm's far end.
        cairo_save(cr);
        cairo_translate(cr, cx + ux * 1.1 * k - nx * 0.2 * k, cy + uy * 1.1 * k - ny * 0.2 * k);
        cairo_rotate(cr, std::atan2(uy, ux));
        Ellipse(cr, 0, 0, 1.0 * k, 1.35 * k);
        cairo_restore(cr);
        Round(p, Darker(skin, 0.06), cx + ux * 1.1 * k, cy + uy * 1.1 * k, 1.3 * k, 0.2, 0.35);
        p.Ink(skin);
        for (int i = 0; i < 2; ++i) {
            const double f = 0.75 - i * 0.6;
            const double kx = cx + (ux * 1.25 + nx * f) * k, ky = cy + (uy * 1.25 + ny * f) * k;
            cairo_move_to(cr, kx - ux * 0.6 * k, ky - uy * 0.6 * k);
            cairo_line_to(cr, kx + ux * 0.3 * k, ky + uy * 0.3 * k);
        }
        p.Stroke(edge, 0.35 * k, 0.6);
    }
}

// An arm: a tapered sleeve jointed at the elbow, a cuff, and a hand with
// what it holds.
void Arm(const Pen& p, const Build& b, const Limb& l, Hold hold, double foot, int rune) {
    cairo_t* cr = p.cr;
    if (hold == Hold::Staff) StaffIn(p, l.hx, l.hy, foot);
    const double rs = b.sleeve * 0.6, re = b.sleeve * 0.48, rw = b.sleeve * 0.42;
    double dx = l.hx - l.ex, dy = l.hy - l.ey, len = std::max(1e-6, std::hypot(dx, dy));
    dx /= len, dy /= len;
    // Upper arm, then the forearm over it; the elbow's fold where they meet.
    ClothSegment(p, b.cloth, l.sx, l.sy, rs, l.ex, l.ey, re);
    Creases(p, b.cloth, l.sx, l.sy, l.ex, l.ey, re, {0.72});
    ClothSegment(p, b.cloth, l.ex, l.ey, re, l.hx, l.hy, rw);
    Creases(p, b.cloth, l.ex, l.ey, l.hx, l.hy, rw, {0.22, 0.45});
    // A turned-back cuff, a little wider than the sleeve.
    const double cx0 = l.hx - dx * 1.6, cy0 = l.hy - dy * 1.6;
    SegmentPath(cr, cx0, cy0, rw * 1.08, l.hx, l.hy, rw * 1.15);
    ShadeAcross(p, b.trim, cx0, cy0, l.hx, l.hy, rw * 1.15, 0.35, 0.4);
    p.Ink(b.trim);
    Hand(p, b, l.hx, l.hy, dx, dy, hold);
    const double hx = l.hx + dx * 1.9 * b.sleeve / 4.6, hy = l.hy + dy * 1.9 * b.sleeve / 4.6;
    switch (hold) {
        case Hold::Rune: RuneIn(p, hx, hy - 1, rune); break;
        case Hold::Lantern: LanternIn(p, hx, hy + 1); break;
        case Hold::Book: BookIn(p, hx, hy); break;
        case Hold::Letter: LetterIn(p, hx, hy); break;
        case Hold::Mask: MaskIn(p, hx, hy); break;
        default: break;
    }
}

// The head at (x, y): hair behind, face, features for the mood, hair over.
void FaceHead(const Pen& p, const Build& b, const Pose& pose, double x, double y) {
    cairo_t* cr = p.cr;
    const double r = b.headR, t = std::clamp(pose.turn, -1.0, 1.0), at = std::fabs(t);
    const double dir = t < 0 ? -1 : 1;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, pose.tilt);
    RGB hairDeep = Darker(b.hair, 0.45), hairLight = Lighter(b.hair, 0.35);
    // Hair that falls behind the head.
    if (b.style == Hair::Long) {
        cairo_move_to(cr, -r * 1.05, -r * 0.2);
        cairo_curve_to(cr, -r * 1.3, r * 0.8, -r * 1.2, r * 1.6, -r * 0.9 * dir, r * 1.9);
        cairo_line_to(cr, r * 0.9, r * 1.5);
        cairo_curve_to(cr, r * 1.1, r * 0.8, r * 1.15, 0, r * 1.0, -r * 0.3);
        cairo_close_path(cr);
        p.VShade(b.hair, -r, r * 1.9, 0.25, 0.45);
        cairo_new_path(cr);
    } else if (b.style == Hair::Bun) {
        Ellipse(cr, -dir * r * 0.55, -r * 0.95, r * 0.5, r * 0.45);
        Round(p, b.hair, -dir * r * 0.55, -r * 0.95, r * 0.5);
        p.Ink(b.hair);
    }
    // Neck.
    cairo_rectangle(cr, -r * 0.3, r * 0.6, r * 0.6, r * 0.75);
    p.Fill(Darker(b.skin, 0.22));
    // Ears: both from the front, the far one only as the head turns.
    for (double s : {-1.0, 1.0}) {
        if (at > 0.2 && s == dir) continue;
        double ex = at > 0.2 ? -dir * r * (0.92 - 0.6 * at) : s * r * 0.92;
        Ellipse(cr, ex, r * 0.12, r * 0.17, r * 0.26);
        Round(p, b.skin, ex, r * 0.12, r * 0.26, 0.15, 0.35);
        cairo_new_path(cr);
    }
    // The face: a soft oval, its jaw leaning the way it turns.
    cairo_move_to(cr, 0, -r * 1.02);
    cairo_curve_to(cr, r * 0.62, -r * 1.02, r * (0.95 + 0.05 * t), -r * 0.5, r * (0.92 + 0.08 * t), r * 0.1);
    cairo_curve_to(cr, r * (0.86 + 0.12 * t), r * 0.62, r * (0.4 + 0.25 * t), r * 0.98, r * 0.22 * t, r * 1.0);
    cairo_curve_to(cr, -r * (0.4 - 0.2 * t), r * 0.98, -r * (0.86 - 0.1 * t), r * 0.62, -r * (0.92 - 0.06 * t), r * 0.1);
    cairo_curve_to(cr, -r * 0.95, -r * 0.5, -r * 0.62, -r * 1.02, 0, -r * 1.02);
    cairo_close_path(cr);
    Round(p, b.skin, 0, 0, r, 0.2, 0.3);
    p.Ink(b.skin);
    cairo_new_path(cr);
    const double fx = t * r * 0.36;
    const double eyeY = r * 0.08, eyeGap = r * 0.38 * (1 - 0.25 * at);
    // Features of a small head are drawn a little larger and never thinner
    // than a pixel, so a face still reads across a wide picture.
    const double px = r * p.glowScale;  // the head's radius on the canvas
    const double big = 1 + std::clamp((15 - px) / 15, 0.0, 0.35);
    auto thick = [&](double w) { return std::max(w, 0.85 / p.glowScale); };
    // Cheeks.
    for (double s : {-1.0, 1.0}) {
        double sq = s == dir ? 1 : 1 - 0.5 * at;
        RadialGlow(cr, fx + s * eyeGap * 1.1 * sq, eyeY + r * 0.36, r * 0.26, p.Col(Hex(0xf07a6a)), 0.35 * (1 - p.haze));
    }
    bool closed = pose.mood == Mood::Asleep;
    RGB ink = Darker(b.skin, 0.75);
    for (double s : {-1.0, 1.0}) {
        double sq = s == dir ? 1 + 0.1 * at : 1 - 0.45 * at;  // the far eye narrows
        double ex = fx + s * eyeGap * sq, rx = r * 0.22 * sq * big,
               ry = r * (pose.mood == Mood::Wonder ? 0.21 : 0.17) * big;
        if (pose.mood == Mood::Tired) ry *= 0.7;
        if (closed || pose.mood == Mood::Laugh) {
            // Shut: a lid's curve with lashes (laughing eyes bow upwards).
            double bow = closed ? ry : -ry;
            cairo_move_to(cr, ex - rx, eyeY);
            cairo_curve_to(cr, ex - rx * 0.4, eyeY + bow, ex + rx * 0.4, eyeY + bow, ex + rx, eyeY);
            p.Stroke(ink, thick(r * 0.09));
        } else {
            Ellipse(cr, ex, eyeY, rx, ry);
            cairo_save(cr);
            cairo_clip_preserve(cr);
            p.Fill(Hex(0xf6f2ec));
            // Eyes look where the head turns, and down when it bows.
            double ix = ex + t * r * 0.09 * big, iy = eyeY + (std::fabs(pose.tilt) > 0.2 ? ry * 0.45 : 0);
            cairo_arc(cr, ix, iy, r * 0.135 * big, 0, 2 * M_PI);
            p.Fill(b.eyes);
            cairo_arc(cr, ix, iy, r * 0.07 * big, 0, 2 * M_PI);
            p.Fill(Hex(0x100a08));
            cairo_arc(cr, ix - r * 0.045 * big, iy - r * 0.05 * big, r * 0.04 * big, 0, 2 * M_PI);
            SetColor(cr, Hex(0xffffff), 0.9 * (1 - p.haze));
            cairo_fill(cr);
            cairo_restore(cr);
            // Upper lid.
            cairo_move_to(cr, ex - rx * 1.05, eyeY + ry * 0.1);
            cairo_curve_to(cr, ex - rx * 0.5, eyeY - ry * 1.25, ex + rx * 0.5, eyeY - ry * 1.25, ex + rx * 1.05,
                           eyeY - ry * 0.05);
            p.Stroke(ink, thick(r * 0.08));
        }
        // Brows: lifted for wonder and sorrow, drawn down for sternness.
        double inner = 0, outer = 0;
        switch (pose.mood) {
            case Mood::Sad:
            case Mood::Tired: inner = -0.2, outer = 0.08; break;
            case Mood::Wonder: inner = outer = -0.17; break;
            case Mood::Stern: inner = 0.16, outer = -0.08; break;
            case Mood::Smile:
            case Mood::Laugh: inner = outer = -0.05; break;
            default: break;
        }
        double by = eyeY - r * 0.3 - ry;
        double ix0 = ex - s * rx * 1.1, ox = ex + s * rx * 1.15;
        cairo_move_to(cr, ix0, by + inner * r);
        cairo_curve_to(cr, (ix0 + ox) / 2, by - r * 0.08 + (inner + outer) * r * 0.5, ox, by + outer * r, ox,
                       by + outer * r + r * 0.05);
        p.Stroke(b.beard ? Hex(0xf0f0f0) : Darker(b.hair, 0.25), thick(r * (b.beard ? 0.17 : 0.12)));
    }
    // Nose: a shadow on the side away from the light and a lit tip.
    double nx = fx + t * r * 0.14, ny = eyeY + r * 0.34;
    cairo_move_to(cr, nx - dir * r * 0.02, eyeY + r * 0.05);
    cairo_curve_to(cr, nx + dir * r * 0.08, ny - r * 0.05, nx + dir * r * 0.14, ny + r * 0.02, nx, ny + r * 0.05);
    p.Stroke(Darker(b.skin, 0.32), r * 0.06, 0.8);
    cairo_arc(cr, nx + dir * r * 0.03, ny - r * 0.03, r * 0.05, 0, 2 * M_PI);
    SetColor(cr, p.Col(Lighter(b.skin, 0.5)), 0.7);
    cairo_fill(cr);
    // Mouth.
    double mx = fx + t * r * 0.08, my = eyeY + r * 0.58, mw = r * 0.22 * big;
    RGB lip = Mix(Darker(b.skin, 0.45), Hex(0x9a3a3a), 0.5);
    switch (pose.mood) {
        case Mood::Laugh:
            cairo_move_to(cr, mx - mw * 1.2, my - r * 0.04);
            cairo_curve_to(cr, mx - mw * 0.6, my + r * 0.28, mx + mw * 0.6, my + r * 0.28, mx + mw * 1.2, my - r * 0.04);
            cairo_close_path(cr);
            p.Fill(Hex(0x5a1a1a));
            Ellipse(cr, mx, my + r * 0.11, mw * 0.55, r * 0.05);
            p.Fill(Hex(0xd86a6a));
            break;
        case Mood::Wonder:
            Ellipse(cr, mx, my + r * 0.04, mw * 0.48, r * 0.12 * big);
            p.Fill(Hex(0x5a1a1a));
            break;
        case Mood::Sad:
        case Mood::Tired:
            cairo_move_to(cr, mx - mw, my + r * 0.1);
            cairo_curve_to(cr, mx - mw * 0.3, my - r * 0.07, mx + mw * 0.3, my - r * 0.07, mx + mw, my + r * 0.1);
            p.Stroke(lip, thick(r * 0.09));
            break;
        case Mood::Stern:
            cairo_move_to(cr, mx - mw, my);
            cairo_line_to(cr, mx + mw, my + r * 0.02);
            p.Stroke(lip, thick(r * 0.09));
            break;
        default: {
            double curl = pose.mood == Mood::Smile ? 0.2 : (pose.mood == Mood::Asleep ? 0.04 : 0.08);
            cairo_move_to(cr, mx - mw, my - r * curl * 0.4);
            cairo_curve_to(cr, mx - mw * 0.4, my + r * curl, mx + mw * 0.4, my + r * curl, mx + mw, my - r * curl * 0.4);
            p.Stroke(lip, thick(r * 0.09));
            break;
        }
    }
    // Beard and moustache, over the chin.
    if (b.beard) {
        cairo_move_to(cr, fx - r * 0.75, r * 0.2);
        cairo_curve_to(cr, fx - r * 0.8, r * 1.2, fx - r * 0.5, r * 2.4, fx + r * 0.05 * dir, r * 3.0);
        cairo_curve_to(cr, fx + r * 0.5, r * 2.4, fx + r * 0.85, r * 1.2, fx + r * 0.78, r * 0.2);
        cairo_curve_to(cr, fx + r * 0.55, r * 0.75, fx - r * 0.55, r * 0.75, fx - r * 0.75, r * 0.2);
        cairo_close_path(cr);
        p.VShade(b.hair, 0, r * 3, 0.3, 0.3);
        cairo_new_path(cr);
        for (int i = -2; i <= 2; ++i) {
            cairo_move_to(cr, fx + i * r * 0.2, r * 0.9);
            cairo_curve_to(cr, fx + i * r * 0.25, r * 1.6, fx + i * r * 0.12, r * 2.2, fx + i * r * 0.05, r * 2.6);
        }
        p.Stroke(Darker(b.hair, 0.3), r * 0.05, 0.6);
        // Moustache sweeping from under the nose.
        for (double s : {-1.0, 1.0}) {
            cairo_move_to(cr, mx, my - r * 0.14);
            cairo_curve_to(cr, mx + s * r * 0.25, my - r * 0.22, mx + s * r * 0.45, my - r * 0.05, mx + s * r * 0.5,
                           my + r * 0.12);
        }
        p.Stroke(Lighter(b.hair, 0.2), r * 0.13);
    }
    // Hair over the crown.
    switch (b.style) {
        case Hair::Elder:
            // A bald crown with its shine, white tufts over the ears.
            cairo_arc(cr, fx * 0.5 + p.side * r * 0.25, -r * 0.65, r * 0.22, 0, 2 * M_PI);
            SetColor(cr, p.Col(Lighter(b.skin, 0.6)), 0.5);
            cairo_fill(cr);
            for (double s : {-1.0, 1.0}) {
                double ex = (at > 0.2 && s == dir) ? r * 0.9 : s * r * 0.95;
                if (at > 0.2 && s != dir) ex = -dir * r * 0.95;
                cairo_move_to(cr, ex - s * r * 0.05, -r * 0.6);
                cairo_curve_to(cr, ex + s * r * 0.22, -r * 0.45, ex + s * r * 0.18, r * 0.1, ex - s * r * 0.02, r * 0.3);
                cairo_curve_to(cr, ex - s * r * 0.12, r * 0.05, ex - s * r * 0.15, -r * 0.3, ex - s * r * 0.05, -r * 0.6);
                cairo_close_path(cr);
                p.VShade(b.hair, -r * 0.6, r * 0.45, 0.3, 0.3);
                cairo_new_path(cr);
            }
            break;
        case Hair::Scarf:
            cairo_move_to(cr, -r * 1.02, r * 0.05);
            cairo_curve_to(cr, -r * 1.15, -r * 1.25, r * 1.15, -r * 1.25, r * 1.02, r * 0.05);
            cairo_curve_to(cr, r * 0.7, -r * 0.55, -r * 0.7, -r * 0.55, -r * 1.02, r * 0.05);
            cairo_close_path(cr);
            Round(p, b.trim, 0, -r * 0.5, r * 1.1);
            p.Ink(b.trim);
            cairo_new_path(cr);
            // The knot at the nape.
            Ellipse(cr, -dir * r * 1.0, r * 0.05, r * 0.22, r * 0.18);
            p.Fill(Darker(b.trim, 0.2));
            break;
        default: {
            // A cap of hair, the fringe combed to the side the head turns.
            cairo_move_to(cr, -r * 1.0, r * 0.15);
            cairo_curve_to(cr, -r * 1.2, -r * 0.9, -r * 0.5, -r * 1.3, r * 0.15, -r * 1.2);
            cairo_curve_to(cr, r * 0.8, -r * 1.15, r * 1.15, -r * 0.6, r * 1.0, r * 0.05);
            if (b.style == Hair::Tousled) {
                // Spiky fringe.
                cairo_line_to(cr, r * 0.82, -r * 0.3);
                cairo_line_to(cr, r * (0.55 + 0.2 * t), -r * 0.38);
                cairo_line_to(cr, r * (0.42 + 0.2 * t), -r * 0.6);
                cairo_line_to(cr, r * (0.15 + 0.2 * t), -r * 0.42);
                cairo_line_to(cr, r * (-0.05 + 0.2 * t), -r * 0.62);
                cairo_line_to(cr, r * (-0.3 + 0.2 * t), -r * 0.4);
                cairo_line_to(cr, -r * 0.55, -r * 0.55);
                cairo_line_to(cr, -r * 0.82, -r * 0.28);
            } else {
                cairo_curve_to(cr, r * 0.7, -r * 0.55, r * 0.2 * t, -r * 0.72, -r * 0.2, -r * 0.5);
                cairo_curve_to(cr, -r * 0.55, -r * 0.45, -r * 0.85, -r * 0.2, -r * 0.9, r * 0.15);
            }
            cairo_close_path(cr);
            Round(p, b.hair, p.side * r * 0.2, -r * 0.6, r * 1.1, 0.3, 0.45);
            p.Ink(b.hair);
            cairo_new_path(cr);
            // Strands catching the light.
            for (int i = 0; i < 4; ++i) {
                double sx = -r * 0.6 + i * r * 0.35;
                cairo_move_to(cr, sx, -r * 1.05);
                cairo_curve_to(cr, sx + r * 0.2, -r * 0.95, sx + r * 0.25, -r * 0.8, sx + r * 0.2, -r * 0.65);
            }
            p.Stroke(hairLight, r * 0.06, 0.6);
            (void)hairDeep;
            break;
        }
    }
    cairo_restore(cr);
}

// A whole figure. `extras` paints what a kind wears over its clothes
// (a satchel, a stole), in the body's frame, before the near arm.
void Figure(Pen& p, const Build& b, const Pose& pose, int rune, const std::function<void()>& extras) {
    cairo_t* cr = p.cr;
    FootShadow(p, pose.sit ? 40 : 30);
    const double drop = pose.sit ? 15 : (pose.kneel ? 9 : 0);
    const double hip = b.hip + drop, sh = b.shoulder + drop, neck = sh - 2;
    const double t = std::clamp(pose.turn, -1.0, 1.0);
    const double sw = b.shoulderW * (1 - 0.25 * std::fabs(t));
    // Legs, in the ground's frame: a thigh and a shin jointed at the knee,
    // and a boot turned the way the shin runs (toes tucked under a kneeling
    // leg, up when sitting).
    auto boot = [&](double fx, double fy, double turn) {
        cairo_save(cr);
        cairo_translate(cr, fx, fy);
        cairo_rotate(cr, turn);
        cairo_move_to(cr, -2.4, -5.2);
        cairo_line_to(cr, -2.7, 0.5);
        cairo_line_to(cr, 3.8, 0.5);
        cairo_curve_to(cr, 5.3, 0.5, 5.2, -2.2, 3.2, -2.7);
        cairo_curve_to(cr, 1.9, -3.0, 1.8, -3.9, 2.1, -5.2);
        cairo_close_path(cr);
        p.Shade(b.boots, -2.7, 5.2, 0.4, 0.35);
        cairo_new_path(cr);
        // The sole, the turned-down top and a shine on the toe cap.
        cairo_move_to(cr, -2.7, 0.3);
        cairo_line_to(cr, 4.2, 0.3);
        p.Stroke(Darker(b.boots, 0.5), 0.9);
        cairo_move_to(cr, -2.5, -4.6);
        cairo_line_to(cr, 2.1, -4.6);
        p.Stroke(Lighter(b.boots, 0.25), 1.1, 0.9);
        Ellipse(cr, 3.3, -1.6, 1.1, 0.55);
        SetColor(cr, p.Col(Lighter(b.boots, 0.7)), 0.5 * (1 - p.haze));
        cairo_fill(cr);
        cairo_restore(cr);
    };
    auto leg = [&](double x0, double y0, double kx, double ky, double fx, double fy, RGB col) {
        const double sx = kx - fx, sy = ky - fy, sl = std::max(1e-6, std::hypot(sx, sy));
        const double ax = fx + sx / sl * 3.2, ay = fy + sy / sl * 3.2;  // the ankle, inside the boot
        ClothSegment(p, col, x0, y0, 2.9, kx, ky, 2.35);
        ClothSegment(p, col, kx, ky, 2.3, ax, ay, 1.95);
        Creases(p, col, x0, y0, kx, ky, 2.35, {0.85});
        boot(fx, fy, std::atan2(sx / sl, -sy / sl));
    };    if (!b.robe) {
        if (pose.sit) {
            leg(-2, hip + 2, 8, -8, 15, -1, Darker(b.legs, 0.15));
            leg(1, hip + 2, 11, -9, 18, -1, b.legs);
        } else if (pose.kneel) {
            leg(-3, hip + 1, -3, -2.5, -13, -2.5, Darker(b.legs, 0.15));
            leg(2, hip + 1, 10, hip + 2, 10, -1, b.legs);
        } else {
            leg(-3.2, hip, -3.4 + t, -9, -3.4 + t * 1.5, -1, Darker(b.legs, 0.15));
            leg(3.2, hip, 3.2 + t, -9, 3.4 + t * 1.5, -1, b.legs);
        }
    } else if (pose.kneel) {
        // Under a robe only the sole of the knelt-on leg's boot shows.
        boot(-b.hemW - 3, -2.5, M_PI / 2);
    }
    cairo_save(cr);
    cairo_translate(cr, 0, hip);
    cairo_rotate(cr, pose.lean);
    cairo_translate(cr, 0, -hip);
    const double footY = -drop - hip;  // the ground, as seen from the leaning body
    Limb back = LimbOf(-sw + 1.5, sh + 1.5, b.upper, b.fore, pose.backUpper, pose.backFore);
    Limb front = LimbOf(sw - 1, sh + 1.5, b.upper, b.fore, pose.frontUpper, pose.frontFore);
    bool backAcross = std::sin(pose.backFore) > 0.6;  // reaching forward crosses in front of the body
    if (!backAcross) Arm(p, b, back, pose.backHold, footY + hip, rune);
    // Body: a tunic to the hips, or a robe to the ground.
    double hem = b.robe ? -drop * 0.3 + drop : hip + 4;
    double hw = b.robe ? b.hemW + (pose.kneel ? 2 : 0) : sw + 2.5;
    const bool sitRobe = b.robe && pose.sit, kneelRobe = b.robe && pose.kneel;
    auto body = [&]() {
        cairo_move_to(cr, -sw, sh);
        cairo_curve_to(cr, -sw - 1, sh + 8, -hw * 0.8, hem - 14, -hw, hem);
        if (sitRobe) {
            cairo_line_to(cr, 20, hem);
            cairo_curve_to(cr, 20, hem - 8, 12, hem - 12, sw, hip - 2);
        } else if (kneelRobe) {
            // Draped over the knee that is up, falling to the ground before it.
            cairo_line_to(cr, 17, hem);
            cairo_curve_to(cr, 18.5, hem - 6, 18, hip - 1, 12, hip - 2.5);
            cairo_curve_to(cr, 8, hip - 3.5, sw + 1.5, hip - 4, sw + 1, hip - 7);
            cairo_curve_to(cr, sw + 1.5, sh + 8, sw + 0.5, sh + 4, sw, sh);
        } else {
            for (int i = 1; i < 6; ++i) cairo_line_to(cr, -hw + i * hw * 2 / 6, hem + (i % 2 ? 0.8 : 0));
            cairo_line_to(cr, hw, hem);
            cairo_curve_to(cr, hw * 0.8, hem - 14, sw + 1, sh + 8, sw, sh);
        }
        cairo_curve_to(cr, sw * 0.4, sh - 1.5, -sw * 0.4, sh - 1.5, -sw, sh);
        cairo_close_path(cr);
    };
    body();
    p.Shade(b.cloth, -hw, hw, 0.35, 0.45);
    body();
    RimLight(p, -hw, hw);
    // Inside the cloth: a shadow under the belt and along the hem, light
    // on the chest, and folds falling from the waist (each a shadowed
    // valley beside a lit ridge).
    body();
    cairo_save(cr);
    cairo_clip(cr);
    {
        auto band = [&](double y0, double y1, RGB col, double a0, double a1) {
            cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
            AddStop(g, 0, p.Col(col), a0);
            AddStop(g, 1, p.Col(col), a1);
            cairo_set_source(cr, g);
            cairo_paint(cr);
            cairo_pattern_destroy(g);
        };
        band(hip - 4, hip + 1, Darker(b.cloth, 0.6), 0.45, 0);
        band(hem - 4, hem + 1, Darker(b.cloth, 0.5), 0, 0.5);
        RadialGlow(cr, p.side * sw * 0.35, sh + 6, sw * 0.9, p.Col(Lighter(b.cloth, 0.5)), 0.3 * (1 - p.haze));
    }
    static const std::vector<double> robeFolds{-0.62, -0.3, 0.02, 0.34, 0.64}, tunicFolds{-0.45, 0.1, 0.55};
    const std::vector<double>& folds = b.robe ? robeFolds : tunicFolds;
    const double foldTop = b.robe ? sh + 9 : hip - 3;
    for (double fxp : folds) {
        const double x0 = fxp * sw * 0.9, x1 = sitRobe || kneelRobe ? fxp * sw + 6 : fxp * hw * 1.02;
        cairo_move_to(cr, x0, foldTop);
        cairo_curve_to(cr, x0 * 1.1, foldTop + (hem - foldTop) * 0.4, x1 * 0.95, hem - (hem - foldTop) * 0.3, x1, hem);
        p.Stroke(Darker(b.cloth, 0.5), 1.0, 0.6);
        cairo_move_to(cr, x0 + p.side * 0.9, foldTop + 2);
        cairo_curve_to(cr, x0 * 1.1 + p.side * 0.9, foldTop + (hem - foldTop) * 0.4, x1 * 0.95 + p.side * 1.1,
                       hem - (hem - foldTop) * 0.3, x1 + p.side * 1.1, hem - 0.5);
        p.Stroke(Lighter(b.cloth, 0.3), 0.6, 0.5);
    }
    // Creases pulled across the chest towards the near shoulder.
    cairo_move_to(cr, -sw * 0.6, sh + 5);
    cairo_curve_to(cr, -sw * 0.2, sh + 7, sw * 0.2, sh + 8.5, sw * 0.5, sh + 11);
    p.Stroke(Darker(b.cloth, 0.45), 0.6, 0.4);
    cairo_restore(cr);
    // Belt or sash, and the collar's trim.
    cairo_move_to(cr, -sw - 0.5, hip - 5);
    cairo_curve_to(cr, -sw * 0.3, hip - 3.8, sw * 0.3, hip - 3.8, sw + 0.5, hip - 5);
    p.Stroke(b.trim, 2.4);
    cairo_move_to(cr, -sw * 0.5, sh - 0.5);
    cairo_curve_to(cr, -sw * 0.2, sh + 4, sw * 0.2, sh + 4, sw * 0.5, sh - 0.5);
    p.Stroke(Lighter(b.trim, 0.15), 1.6);
    if (extras) extras();
    if (backAcross) Arm(p, b, back, pose.backHold, footY + hip, rune);
    // Far off, a head at its true size shows no face at all: the smaller
    // the figure is painted, the more of it the head takes, as an
    // illustrator draws a crowd.
    Build head = b;
    head.headR *= std::clamp(1.0 + (2.4 - p.glowScale) * 0.16, 1.0, 1.3);
    FaceHead(p, head, pose, t * 1.5, neck - head.headR * 1.2);
    Arm(p, b, front, pose.frontHold, footY + hip, rune);
    cairo_restore(cr);
}

// Each kind's stance when the picture asks for none.
Pose StanceOf(Kind k, int variant) {
    Pose s;
    s.set = true;
    switch (k) {
        case Kind::Apprentice:
            s.mood = Mood::Smile;
            if (variant == 1) s.frontUpper = 0.5, s.frontFore = 1.7, s.frontHold = Hold::Rune;
            break;
        case Kind::Keeper:
            s.frontUpper = 0.45, s.frontFore = 1.3, s.frontHold = Hold::Staff;
            s.backUpper = -0.05, s.backFore = 0.6;
            break;
        default:
            if (variant >= 5) {  // festival: arms up, laughing
                s.mood = Mood::Laugh;
                s.frontUpper = 2.5, s.frontFore = 2.9;
                s.backUpper = -2.4, s.backFore = -2.8;
            } else {
                s.mood = Mood::Calm;
            }
            break;
    }
    return s;
}

void Apprentice(Pen& p, const Element& e) {
    Build b;
    b.cloth = Hex(0x3a6ab0), b.trim = Hex(0x7a5030), b.legs = Hex(0x4a3a30), b.boots = Hex(0x3a2418);
    b.skin = Hex(0xf0c8a0), b.hair = Hex(0x8a5a2a), b.eyes = Hex(0x4a7a3a);
    b.style = Hair::Tousled;
    b.headR = 8.4;
    Pose pose = e.pose.set ? e.pose : StanceOf(e.kind, e.variant);
    double drop = pose.sit ? 15 : (pose.kneel ? 9 : 0);
    Figure(p, b, pose, pose.rune ? pose.rune : 4, [&]() {
        // The satchel on its strap across the chest.
        cairo_t* cr = p.cr;
        double sh = b.shoulder + drop, hip = b.hip + drop;
        cairo_move_to(cr, 6, sh + 0.5);
        cairo_line_to(cr, -8, hip - 2);
        p.Stroke(Hex(0x6a4024), 2.2);
        RoundRect(cr, -14, hip - 7, 10, 9, 2);
        p.Shade(Hex(0x9a6a3a), -14, -4, 0.3, 0.35);
        cairo_new_path(cr);
        cairo_move_to(cr, -14, hip - 4);
        cairo_line_to(cr, -4, hip - 4);
        p.Stroke(Hex(0x5a3a1e), 1.2);
    });
}

void Keeper(Pen& p, const Element& e) {
    Build b;
    b.cloth = e.variant ? Hex(0x5a3a7a) : Hex(0x3a3a6a), b.trim = Hex(0xc8a040);
    b.legs = b.cloth, b.boots = Hex(0x2a1c14);
    b.skin = Hex(0xe8bc98), b.hair = Hex(0xe8e8e4), b.eyes = Hex(0x4a6a9a);
    b.style = Hair::Elder, b.beard = true, b.robe = true;
    b.hip = -22, b.shoulder = -46, b.hemW = 15, b.headR = 8.2, b.upper = 12, b.fore = 11, b.sleeve = 5.2;
    Pose pose = e.pose.set ? e.pose : StanceOf(e.kind, e.variant);
    double drop = pose.sit ? 15 : (pose.kneel ? 9 : 0);
    Figure(p, b, pose, pose.rune ? pose.rune : 7, [&]() {
        // The hood lies back on his shoulders; a keeper's stole hangs in front.
        cairo_t* cr = p.cr;
        double sh = b.shoulder + drop;
        Ellipse(cr, -1, sh - 1, 9.5, 4.2);
        p.Shade(Darker(b.cloth, 0.1), -10, 9, 0.3, 0.4);
        cairo_new_path(cr);
        for (double s : {-1.0, 1.0}) {
            cairo_move_to(cr, s * 3.5, sh + 1);
            cairo_line_to(cr, s * 5, sh + 38);
        }
        p.Stroke(b.trim, 2.2, 0.9);
    });
}

void Villager(Pen& p, const Element& e) {
    const RGB clothes[5] = {Hex(0xa04a3a), Hex(0x5a7a3a), Hex(0xc89a40), Hex(0x6a4a8a), Hex(0x3a7a8a)};
    const RGB trims[5] = {Hex(0xe8d8b0), Hex(0xc8604a), Hex(0x6a3a2a), Hex(0xe0c060), Hex(0xe8e0d0)};
    const RGB skins[4] = {Hex(0xf0c8a0), Hex(0xc89068), Hex(0xe8b890), Hex(0x9a6a4a)};
    const RGB hairs[4] = {Hex(0x3a2a1a), Hex(0x8a5a2a), Hex(0xd8b060), Hex(0x6a6a6a)};
    const RGB eyes[3] = {Hex(0x5a3a1a), Hex(0x3a6a9a), Hex(0x4a7a3a)};
    const int v = e.variant;
    const bool dress = v % 2 == 1;
    Build b;
    b.cloth = clothes[v % 5], b.trim = trims[(v + 1) % 5], b.legs = Hex(0x5a4a3a), b.boots = Hex(0x3a2418);
    b.skin = skins[(v / 2) % 4], b.hair = hairs[v % 4], b.eyes = eyes[v % 3];
    b.robe = dress;
    b.style = dress ? (v % 3 == 0 ? Hair::Scarf : (v % 3 == 1 ? Hair::Long : Hair::Bun))
                    : (v % 4 == 2 ? Hair::Short : Hair::Tousled);
    b.headR = 7.6, b.shoulderW = dress ? 7.5 : 8.5, b.hemW = 13;
    Pose pose = e.pose.set ? e.pose : StanceOf(e.kind, v);
    double drop = pose.sit ? 15 : (pose.kneel ? 9 : 0);
    Figure(p, b, pose, pose.rune ? pose.rune : 1 + v % 8, [&]() {
        cairo_t* cr = p.cr;
        double hip = b.hip + drop;
        if (dress) {
            // An apron over the skirt.
            Poly(cr, {-6, hip - 4, 6, hip - 4, 9, -3 + drop * 0.7, -9, -3 + drop * 0.7});
            p.Fill(Hex(0xf0e8d8), 0.85);
        }
        if (v == 1) {
            // Mirelle's coat is patched with old sailcloth.
            Rng r(71);
            for (int i = 0; i < 5; ++i) {
                double x = r.Range(-9, 6), y = r.Range(b.shoulder + 6, -6) + drop * 0.5;
                cairo_rectangle(cr, x, y, r.Range(3, 5), r.Range(3, 5));
                p.Fill(i % 2 ? Hex(0xd8ccb0) : Hex(0xa89a80), 0.9);
            }
        }
    });
}

// Creatures.
void Bird(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    double flap = (e.variant % 3) * 0.5;
    cairo_move_to(cr, -14, -4 + flap * 8);
    cairo_curve_to(cr, -8, -10 + flap * 4, -3, -6, 0, 0);
    cairo_curve_to(cr, 3, -6, 8, -10 + flap * 4, 14, -4 + flap * 8);
    cairo_curve_to(cr, 8, -6, 3, -3, 0, 2);
    cairo_curve_to(cr, -3, -3, -8, -6, -14, -4 + flap * 8);
    cairo_close_path(cr);
    p.Fill(e.variant >= 3 ? Hex(0xf0f0f0) : Hex(0x2a2a34));
}

void Fox(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 40);
    RGB fur = Hex(0xd0682a);
    for (double x : {-12.0, -7.0, 8.0, 13.0}) {
        cairo_rectangle(cr, x, -12, 3, 12);
        p.Fill(Hex(0x3a2418));
    }
    Ellipse(cr, 0, -16, 18, 8);
    p.Shade(fur, -18, 18, 0.3, 0.35);
    // Brush of a tail, white tip.
    cairo_move_to(cr, -16, -18);
    cairo_curve_to(cr, -30, -26, -40, -16, -38, -8);
    cairo_curve_to(cr, -32, -12, -24, -12, -16, -12);
    cairo_close_path(cr);
    p.Shade(fur, -38, -16, 0.3, 0.35);
    Ellipse(cr, -37, -10, 3.5, 3);
    p.Fill(Hex(0xf8f0e8));
    // Head with ears and a pale muzzle.
    Poly(cr, {14, -26, 26, -22, 32, -16, 20, -14, 12, -16});
    p.Shade(fur, 12, 32, 0.3, 0.3);
    Poly(cr, {15, -25, 17, -33, 20, -24});
    Poly(cr, {19, -24, 22, -31, 24, -23});
    p.Fill(Darker(fur, 0.2));
    Poly(cr, {22, -17, 32, -16, 22, -13});
    p.Fill(Hex(0xf8f0e8));
    // An almond eye with its glint, a dark nose at the muzzle's tip.
    Ellipse(cr, 23, -21, 1.6, 1.1);
    p.Fill(Hex(0x2a1a08));
    cairo_arc(cr, 22.6, -21.4, 0.45, 0, 2 * M_PI);
    p.Fill(Hex(0xffffff), 0.9);
    Ellipse(cr, 32, -16.2, 1.3, 1.0);
    p.Fill(Hex(0x101010));
    (void)e;
}

void Deer(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    FootShadow(p, 50);
    RGB fur = Hex(0xa0704a);
    for (double x : {-16.0, -11.0, 12.0, 17.0}) {
        cairo_rectangle(cr, x, -26, 3, 26);
        p.Fill(Darker(fur, 0.3));
    }
    Ellipse(cr, 0, -32, 22, 10);
    p.Shade(fur, -22, 22, 0.3, 0.35);
    Poly(cr, {14, -36, 22, -58, 28, -56, 22, -34});
    p.Shade(fur, 14, 28);
    Ellipse(cr, 28, -60, 8, 4.5);
    p.Fill(fur);
    // Antlers.
    cairo_move_to(cr, 24, -64);
    cairo_line_to(cr, 20, -80);
    cairo_line_to(cr, 14, -88);
    cairo_move_to(cr, 20, -80);
    cairo_line_to(cr, 26, -88);
    cairo_move_to(cr, 26, -64);
    cairo_line_to(cr, 32, -78);
    cairo_line_to(cr, 30, -88);
    cairo_move_to(cr, 32, -78);
    cairo_line_to(cr, 40, -84);
    p.Stroke(Hex(0xd8c8a8), 1.8);
    Ellipse(cr, -20, -36, 4, 3);
    p.Fill(Hex(0xf8f0e8));
    // A dark, wet eye with a glint, an ear and the nose.
    Ellipse(cr, 27, -61, 1.5, 1.3);
    p.Fill(Hex(0x1a1008));
    cairo_arc(cr, 26.6, -61.4, 0.45, 0, 2 * M_PI);
    p.Fill(Hex(0xffffff), 0.9);
    Ellipse(cr, 21, -63, 4, 1.8);
    p.Shade(fur, 17, 25, 0.3, 0.35);
    Ellipse(cr, 35.5, -59.5, 1.2, 1.0);
    p.Fill(Hex(0x1a1008));
    (void)e;
}

// A sheep: a cloud of fleece on thin dark legs, a dark face with drooping
// ears. Variant 1 lies curled asleep with its eyes shut, 0 grazes.
void Sheep(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    const bool asleep = e.variant % 2 == 1;
    FootShadow(p, asleep ? 46 : 40);
    const RGB wool = Hex(0xf2ece0), face = Hex(0x2e2824);
    const double lift = asleep ? 0 : 9;  // the belly's height over the ground
    if (!asleep)
        for (double x : {-11.0, -6.0, 8.0, 12.0}) {
            RoundRect(cr, x - 1.3, -12, 2.6, 12, 1.2);
            p.Fill(x < 0 ? Darker(face, 0.2) : face);
        }
    // The fleece: overlapping puffs, each lit from the key side.
    const double puffs[][3] = {{-13, -8, 7}, {-5, -11, 8}, {4, -11, 8}, {12, -8, 7}, {-9, -3, 7}, {0, -3, 8}, {9, -3, 7}};
    auto fleece = [&]() {
        cairo_new_path(cr);
        for (const auto& q : puffs) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, q[0], q[1] - lift, q[2], 0, 2 * M_PI);
        }
    };
    // Inked first and filled over, so only the outer edge of the puffs shows.
    fleece();
    p.Stroke(Darker(wool, 0.55), 1.8, 0.6 * (1 - p.haze));
    fleece();
    Round(p, wool, 0, -8 - lift, 18, 0.15, 0.3);
    cairo_new_path(cr);
    for (const auto& q : puffs) {
        cairo_arc(cr, q[0] + p.side * q[2] * 0.3, q[1] - lift - q[2] * 0.3, q[2] * 0.45, 0, 2 * M_PI);
        SetColor(cr, p.Col(Hex(0xffffff)), 0.35 * (1 - p.haze));
        cairo_fill(cr);
    }
    // The head, low on the ground when asleep, and its ears.
    const double hx = asleep ? 17 : 20, hy = asleep ? -5 : -14 - lift * 0.3;
    Ellipse(cr, hx - 3, hy - 3.5, 3.2, 1.6);
    p.Fill(Darker(face, 0.1));
    Ellipse(cr, hx, hy, 4.5, 5.5);
    Round(p, face, hx, hy, 5.5, 0.35, 0.3);
    cairo_new_path(cr);
    Ellipse(cr, hx - 0.5, hy - 5, 4.2, 2.6);  // the woolly cap
    p.Fill(wool);
    if (asleep) {
        cairo_move_to(cr, hx + 0.4, hy - 0.6);
        cairo_curve_to(cr, hx + 1.2, hy + 0.4, hx + 2.4, hy + 0.4, hx + 3.0, hy - 0.6);
        p.Stroke(Hex(0xe8e0d0), 0.55);
    } else {
        Ellipse(cr, hx + 1.6, hy - 0.8, 1.0, 0.8);
        p.Fill(Hex(0xf0e8d8));
        cairo_arc(cr, hx + 1.9, hy - 0.8, 0.45, 0, 2 * M_PI);
        p.Fill(Hex(0x100a08));
    }
}

void Golem(Pen& p, const Element& e) {
    // A creature turned to stone: heavy blocks, moss, a dull rune on its chest.
    cairo_t* cr = p.cr;
    FootShadow(p, 90);
    RGB st = Hex(0x8a8890);
    for (double x : {-24.0, 10.0}) {
        RoundRect(cr, x, -34, 16, 34, 4);
        p.Shade(st, x, x + 16, 0.2, 0.5);
    }
    RoundRect(cr, -34, -100, 68, 70, 14);
    p.Shade(st, -34, 34, 0.25, 0.5);
    RoundRect(cr, -48, -96, 18, 56, 7);
    RoundRect(cr, 30, -96, 18, 56, 7);
    p.Shade(Darker(st, 0.1), -48, 48, 0.2, 0.5);
    RoundRect(cr, -16, -126, 32, 28, 8);
    p.Shade(st, -16, 16, 0.25, 0.5);
    // Cracks and moss.
    Rng r(e.variant + 19);
    for (int i = 0; i < 8; ++i) {
        double x = r.Range(-30, 30), y = r.Range(-96, -36);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + r.Range(-8, 8), y + r.Range(4, 12));
        cairo_line_to(cr, x + r.Range(-10, 10), y + r.Range(10, 18));
        p.Stroke(Hex(0x3a3840), 1);
    }
    for (int i = 0; i < 14; ++i) {
        Ellipse(cr, r.Range(-34, 34), r.Range(-102, -96), r.Range(3, 7), 2.5);
        p.Fill(Hex(0x4a7a3a), 0.8);
    }
    // A heavy brow over deep eye slits, each with a cold light kept in it,
    // and a grim seam of a mouth.
    RoundRect(cr, -15, -121, 30, 5, 2);
    p.Shade(Lighter(st, 0.1), -15, 15, 0.3, 0.45);
    cairo_rectangle(cr, -9, -116, 6, 3);
    cairo_rectangle(cr, 4, -116, 6, 3);
    p.Fill(Hex(0x1a1820));
    for (double ex : {-6.0, 7.0}) {
        p.Glow(ex, -114.5, 9, Hex(0x9ad0ff), 0.7);
        Ellipse(cr, ex, -114.5, 1.8, 1.0);
        SetColor(cr, Mix(Hex(0xd8f0ff), p.L.haze, p.haze * 0.5), p.lit ? 0.95 : 0.4);
        cairo_fill(cr);
    }
    cairo_move_to(cr, -7, -105);
    cairo_line_to(cr, -2, -106);
    cairo_line_to(cr, 3, -104.5);
    cairo_line_to(cr, 7, -105.5);
    p.Stroke(Hex(0x2a2830), 1.2);
    cairo_new_path(cr);
    GlyphPath(cr, F_RUNIC, RuneOf(1 + e.variant % 15).glyph, 26, 0, -64);
    p.Fill(Hex(0x4a4850), 0.9);
}

// Small things and magic.
void Banner(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    const RGB cols[4] = {Hex(0xc03040), Hex(0x3a5ab0), Hex(0xe0a830), Hex(0x5a9a4a)};
    RGB col = cols[e.variant % 4];
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 0, -110);
    p.Stroke(Hex(0x5a3a20), 3);
    cairo_arc(cr, 0, -112, 3.5, 0, 2 * M_PI);
    p.Fill(Hex(0xe0b040));
    cairo_move_to(cr, 2, -104);
    cairo_curve_to(cr, 20, -110, 30, -98, 46, -104);
    cairo_line_to(cr, 44, -64);
    cairo_line_to(cr, 24, -74);
    cairo_curve_to(cr, 14, -68, 8, -66, 2, -66);
    cairo_close_path(cr);
    p.Shade(col, 2, 46, 0.3, 0.35);
    cairo_new_path(cr);
    GlyphPath(cr, F_RUNIC, RuneOf(1 + e.variant % 15).glyph, 18, 20, -84);
    p.Fill(Hex(0xf0d070));
}

void Lantern(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    double h = e.variant == 1 ? 0 : 60;  // variant 1: hanging, no post
    if (h > 0) {
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, 0, -h);
        cairo_line_to(cr, 10, -h);
        cairo_line_to(cr, 10, -h + 4);
        p.Stroke(Hex(0x2a2420), 2.5);
    }
    double x = h > 0 ? 10 : 0, y = -h + (h > 0 ? 14 : 0);
    p.Glow(x, y, 34, p.L.window, 1.0);
    RoundRect(cr, x - 5, y - 8, 10, 14, 3);
    SetColor(cr, Mix(Hex(0xffe090), p.L.haze, p.haze * 0.3), p.lit ? 1 : 0.4);
    cairo_fill(cr);
    Poly(cr, {x - 7, y - 8, x, y - 14, x + 7, y - 8});
    p.Fill(Hex(0x3a2a20));
    cairo_rectangle(cr, x - 6, y + 6, 12, 2);
    p.Fill(Hex(0x3a2a20));
}

void Bookshelf(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    cairo_rectangle(cr, -40, -140, 80, 140);
    p.Shade(Hex(0x5a3a22), -40, 40, 0.2, 0.4);
    Rng r(e.variant * 41 + 6);
    const RGB spines[5] = {Hex(0x8a2a2a), Hex(0x2a4a7a), Hex(0x3a6a3a), Hex(0xa08030), Hex(0x5a3a6a)};
    for (int shelf = 0; shelf < 4; ++shelf) {
        double y = -8 - shelf * 34;
        cairo_rectangle(cr, -36, y - 28, 72, 28);
        p.Fill(Hex(0x24160c));
        double x = -35;
        while (x < 32) {
            double w = r.Range(4, 8), h = r.Range(18, 27);
            if (r.Uniform() < 0.12) {
                x += w;
                continue;
            }
            cairo_rectangle(cr, x, y - h, w - 0.8, h);
            p.Shade(spines[r.Int(0, 4)], x, x + w, 0.3, 0.35);
            x += w;
        }
        cairo_rectangle(cr, -38, y, 76, 4);
        p.Fill(Hex(0x6a4a2a));
    }
}

void Book(Pen& p, const Element& e) {
    cairo_t* cr = p.cr;
    p.Glow(0, -10, 30, Hex(0xc0fff0), 0.4);
    double tilt = (e.variant % 5 - 2) * 0.2;
    cairo_rotate(cr, tilt);
    const RGB covers[4] = {Hex(0x8a2a2a), Hex(0x2a4a7a), Hex(0x3a6a3a), Hex(0x6a3a7a)};
    // Open book, pages fanned like wings.
    Poly(cr, {0, -4, -22, -12, -24, -2, 0, 4});
    Poly(cr, {0, -4, 22, -12, 24, -2, 0, 4});
    p.Fill(covers[e.variant % 4]);
    cairo_move_to(cr, 0, -5);
    cairo_curve_to(cr, -8, -12, -16, -14, -21, -12);
    cairo_line_to(cr, -22, -5);
    cairo_curve_to(cr, -14, -6, -6, -4, 0, 1);
    cairo_curve_to(cr, 6, -4, 14, -6, 22, -5);
    cairo_line_to(cr, 21, -12);
    cairo_curve_to(cr, 16, -14, 8, -12, 0, -5);
    cairo_close_path(cr);
    p.Fill(Hex(0xf4ecd8));
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, -18 + i * 2, -9 + i * 1.5);
        cairo_line_to(cr, -5, -5 + i * 1.5);
        cairo_move_to(cr, 5, -5 + i * 1.5);
        cairo_line_to(cr, 18 - i * 2, -9 + i * 1.5);
    }
    p.Stroke(Hex(0x6a5a4a), 0.6, 0.7);
}

// The gem and stone painters of the rune set work in canvas pixels (the
// stone re-reads the canvas for its grain), so they get an untransformed
// context at the element's place and size.
void Untransformed(Pen& p, double x, double y, double size, const std::function<void(double, double, double)>& f) {
    double dx = x, dy = y, dx2 = x + size, dy2 = y;
    cairo_user_to_device(p.cr, &dx, &dy);
    cairo_user_to_device(p.cr, &dx2, &dy2);
    double px = std::fabs(dx2 - dx);
    cairo_save(p.cr);
    cairo_identity_matrix(p.cr);
    f(std::min(dx, dx2), dy, px);
    cairo_restore(p.cr);
}

void RuneGemEl(Pen& p, const Element& e) {
    int cls = e.variant >= 1 && e.variant <= kRuneClasses ? e.variant : 1;
    p.Glow(0, -16, 40, RuneOf(cls).hue, 0.8);
    Untransformed(p, -16, -32, 32, [&](double x, double y, double size) {
        DrawGem(p.c, x, y, size, RuneOf(cls), static_cast<uint32_t>(e.variant));
    });
}

void RuneStoneEl(Pen& p, const Element& e) {
    // A rune turned to stone, resting on the ground.
    int cls = e.variant >= 1 && e.variant <= kRuneClasses ? e.variant : 0;
    FootShadow(p, 34);
    Untransformed(p, -17, -32, 34, [&](double x, double y, double size) {
        DrawStone(p.c, x, y, size, cls ? &RuneOf(cls) : nullptr, static_cast<uint32_t>(e.variant + 1));
    });
    if (p.haze > 0.05) {
        cairo_arc(p.cr, 0, -15, 16, 0, 2 * M_PI);
        SetColor(p.cr, p.L.haze, p.haze * 0.6);
        cairo_fill(p.cr);
    }
}

void HourglassEl(Pen& p, const Element& e) {
    HourglassShape(p, 0, 0, 60);
    (void)e;
}

void Bunting(Pen& p, const Element& e) {
    // A string of pennants hung in a curve, 200 units wide.
    cairo_t* cr = p.cr;
    const RGB cols[5] = {Hex(0xd03040), Hex(0xf0c030), Hex(0x3a7ad0), Hex(0x4aa04a), Hex(0xf0f0f0)};
    cairo_move_to(cr, -100, 0);
    cairo_curve_to(cr, -40, 30, 40, 30, 100, 0);
    p.Stroke(Hex(0x3a3030), 1);
    for (int i = 0; i < 13; ++i) {
        double t = (i + 0.5) / 13, x = -100 + 200 * t, y = 30 * 3 * t * (1 - t) * 0.75 * 1.33;
        Poly(cr, {x - 6, y, x + 6, y, x, y + 14});
        p.Fill(cols[(i + e.variant) % 5]);
    }
}

Painter PainterOf(Kind k) {
    switch (k) {
        case Kind::Cottage: return Cottage;
        case Kind::Mill: return Mill;
        case Kind::Windmill: return Windmill;
        case Kind::Tower: return Tower;
        case Kind::Castle: return Castle;
        case Kind::Bridge: return Bridge;
        case Kind::Boat: return Boat;
        case Kind::Lighthouse: return Lighthouse;
        case Kind::Arch: return Arch;
        case Kind::Ruin: return Ruin;
        case Kind::Gate: return Gate;
        case Kind::Observatory: return Observatory;
        case Kind::HourglassTower: return HourglassTower;
        case Kind::Boardwalk: return Boardwalk;
        case Kind::Haystack: return Haystack;
        case Kind::Fence: return Fence;
        case Kind::Wagon: return Wagon;
        case Kind::Well: return Well;
        case Kind::TreeRound: return TreeRound;
        case Kind::TreePine: return TreePine;
        case Kind::TreeWillow: return TreeWillow;
        case Kind::TreeDead: return TreeDead;
        case Kind::TreeCrystal: return TreeCrystal;
        case Kind::Bush: return Bush;
        case Kind::Reeds: return Reeds;
        case Kind::Rock: return Rock;
        case Kind::Flowers: return Flowers;
        case Kind::Apprentice: return Apprentice;
        case Kind::Keeper: return Keeper;
        case Kind::Villager: return Villager;
        case Kind::Bird: return Bird;
        case Kind::Fox: return Fox;
        case Kind::Deer: return Deer;
        case Kind::Golem: return Golem;
        case Kind::Sheep: return Sheep;
        case Kind::Banner: return Banner;
        case Kind::Lantern: return Lantern;
        case Kind::Bookshelf: return Bookshelf;
        case Kind::Book: return Book;
        case Kind::RuneGem: return RuneGemEl;
        case Kind::RuneStone: return RuneStoneEl;
        case Kind::Hourglass: return HourglassEl;
        case Kind::Bunting: return Bunting;
    }
    return Rock;
}

}  // namespace

void PaintElement(Canvas& c, const SceneDesc& s, const Element& e) {
    const Light L = LightOf(s.sky);
    double k = e.scale * c.w / 800.0;
    double haze = e.haze;
    if (haze < 0) {
        // Things standing near the horizon are far away.
        double dist = Clamp01((e.y - s.horizon) / std::max(0.05, 1 - s.horizon));
        haze = 0.45 * (1 - dist) * (1 - dist);
    }
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_translate(cr, e.x * c.w, e.y * c.h);
    cairo_scale(cr, e.flip ? -k : k, k);
    double side = (s.sunX < e.x ? -1.0 : 1.0) * (e.flip ? -1 : 1);
    Pen p{c, cr, L, haze, side, Rng(static_cast<uint64_t>(e.variant) * 977 + s.seed), e.lit, k};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    PainterOf(e.kind)(p, e);
    cairo_restore(cr);
}

void PaintElements(Canvas& c, const SceneDesc& s) {
    for (const Element& e : s.elements) PaintElement(c, s, e);
}

// ---- weather ---------------------------------------------------------------------------------
void PaintWeather(Canvas& c, const SceneDesc& s) {
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h, k = W / 800.0;
    Rng rng(s.seed * 7919u + 17);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (s.weather) {
        case Weather::None: break;
        case Weather::Snow:
            for (int i = 0; i < static_cast<int>(W * H / 900); ++i) {
                double x = rng.Range(0, W), y = rng.Range(0, H), r = rng.Range(0.6, 2.6) * k;
                if (r > 2.2 * k) RadialGlow(cr, x, y, r * 2.5, Hex(0xffffff), 0.4);
                SetColor(cr, Hex(0xffffff), rng.Range(0.5, 0.95));
                cairo_arc(cr, x, y, r, 0, 2 * M_PI);
                cairo_fill(cr);
            }
            break;
        case Weather::Rain:
            for (int i = 0; i < static_cast<int>(W * H / 1200); ++i) {
                double x = rng.Range(-40, W), y = rng.Range(0, H), len = rng.Range(8, 20) * k;
                cairo_move_to(cr, x, y);
                cairo_line_to(cr, x + len * (0.15 + s.wind * 0.4), y + len);
                SetColor(cr, Hex(0xd0e0f0), rng.Range(0.2, 0.45));
                cairo_set_line_width(cr, 0.9 * k);
                cairo_stroke(cr);
            }
            break;
        case Weather::Mist:
            for (int i = 0; i < 16; ++i) {
                double y = H * (s.horizon + rng.Range(-0.05, 0.35)), x = rng.Range(0, W);
                OvalGlow(cr, x, y, rng.Range(120, 300) * k, 0.12, Mix(LightOf(s.sky).hz, Hex(0xffffff), 0.4),
                         rng.Range(0.25, 0.45));
            }
            break;
        case Weather::Leaves:
            for (int i = 0; i < static_cast<int>(W * H / 6000); ++i) {
                double x = rng.Range(0, W), y = rng.Range(0, H), r = rng.Range(2.5, 5) * k;
                cairo_save(cr);
                cairo_translate(cr, x, y);
                cairo_rotate(cr, rng.Range(0, M_PI));
                Ellipse(cr, 0, 0, r, r * 0.45);
                const RGB cols[3] = {Hex(0xd8601a), Hex(0xe8b020), Hex(0xa8301a)};
                SetColor(cr, Mul(cols[rng.Int(0, 2)], LightOf(s.sky).ambient), 0.9);
                cairo_fill(cr);
                cairo_restore(cr);
            }
            break;
        case Weather::Sparkle:
            for (int i = 0; i < static_cast<int>(W * H / 3500); ++i) {
                double x = rng.Range(0, W), y = rng.Range(0, H), r = rng.Range(1.5, 5) * k;
                RGB col = rng.Uniform() < 0.5 ? Hex(0xc0e8ff) : Hex(0xe0c8ff);
                RadialGlow(cr, x, y, r * 3, col, 0.5);
                Star(cr, x, y, r * 1.6, r * 0.25, 4);
                SetColor(cr, Hex(0xffffff), 0.9);
                cairo_fill(cr);
            }
            break;
        case Weather::Starfall:
            for (int i = 0; i < 14; ++i) {
                double x = rng.Range(0.1, 1.1) * W, y = rng.Range(0, H * s.horizon * 0.8), len = rng.Range(60, 160) * k;
                double dx = -len * 0.8, dy = len * 0.6;
                cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x - dx, y - dy);
                AddStop(g, 0, Hex(0xffffff), 0.95);
                AddStop(g, 1, Hex(0xa0c0ff), 0);
                cairo_set_source(cr, g);
                cairo_move_to(cr, x, y);
                cairo_line_to(cr, x - dx, y - dy);
                cairo_set_line_width(cr, rng.Range(1.2, 2.6) * k);
                cairo_stroke(cr);
                cairo_pattern_destroy(g);
                RadialGlow(cr, x, y, 10 * k, Hex(0xe0f0ff), 0.8);
            }
            break;
        case Weather::Embers:
            for (int i = 0; i < static_cast<int>(W * H / 2500); ++i) {
                double x = rng.Range(0, W), y = rng.Range(0, H), r = rng.Range(0.8, 2.4) * k;
                RadialGlow(cr, x, y, r * 4, Hex(0xff7020), 0.5);
                SetColor(cr, Hex(0xffd080), 0.9);
                cairo_arc(cr, x, y, r, 0, 2 * M_PI);
                cairo_fill(cr);
            }
            break;
        case Weather::Bubbles:
            for (int i = 0; i < static_cast<int>(W * H / 4000); ++i) {
                double x = rng.Range(0, W), y = rng.Range(0, H), r = rng.Range(1.5, 6) * k;
                cairo_arc(cr, x, y, r, 0, 2 * M_PI);
                SetColor(cr, Hex(0xd0fff8), 0.5);
                cairo_set_line_width(cr, 0.8 * k);
                cairo_stroke(cr);
                cairo_arc(cr, x - r * 0.35, y - r * 0.35, r * 0.25, 0, 2 * M_PI);
                SetColor(cr, Hex(0xffffff), 0.7);
                cairo_fill(cr);
            }
            break;
    }
}

// ---- scene -----------------------------------------------------------------------------------
void PaintScene(Canvas& c, const SceneDesc& s) {
    PaintSky(c, s);
    PaintTerrain(c, s);
    PaintElements(c, s);
    PaintWeather(c, s);
    // A soft vignette pulls the eye in, and a painterly grain keeps flat
    // areas from looking printed.
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h;
    cairo_pattern_t* g = cairo_pattern_create_radial(W / 2, H / 2, std::min(W, H) * 0.35, W / 2, H / 2, std::hypot(W, H) * 0.6);
    AddStop(g, 0, {0, 0, 0}, 0);
    AddStop(g, 1, {0, 0, 0}, 0.35);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    c.Grain(0.05, 3.0 * W / 800.0, s.seed + 99, 3);
}

}  // namespace scene
}  // namespace qab
