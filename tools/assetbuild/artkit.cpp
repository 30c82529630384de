// Shared pieces of the game's art.
//
// Index: rune classes · gems and stones · landscapes · widgets
#include "artkit.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace qab {

// ---- rune classes -------------------------------------------------------------------
const RuneClass& RuneOf(int c) {
    static const RuneClass kClasses[kRuneClasses] = {
        {1, "red", Hex(0xe0262e), 0x16A0, 0},       {2, "blue", Hex(0x2a66e8), 0x16A2, 1},
        {3, "green", Hex(0x22b04a), 0x16A6, 2},     {4, "yellow", Hex(0xf2c81c), 0x16A8, 3},
        {5, "violet", Hex(0x9a3ee0), 0x16B1, 4},    {6, "orange", Hex(0xf27418), 0x16B2, 5},
        {7, "cyan", Hex(0x1ec8e0), 0x16B7, 6},      {8, "pink", Hex(0xf060b0), 0x16B9, 7},
        {9, "pearl", Hex(0xd8dcec), 0x16BA, 8},     {10, "jade", Hex(0x12907a), 0x16BE, 9},
        {11, "copper", Hex(0xb06a34), 0x16C1, 1},   {12, "lime", Hex(0x9ae024), 0x16C3, 4},
        {13, "indigo", Hex(0x4636b0), 0x16C7, 3},   {14, "onyx", Hex(0x3c3c4c), 0x16C8, 0},
        {15, "gold", Hex(0xe8a82c), 0x16C9, 2},
    };
    if (c < 1 || c > kRuneClasses) c = 1;
    return kClasses[c - 1];
}

int BallNumberOf(int c) {
    static const int kBall[16] = {0, 14, 5, 11, 6, 4, 3, 7, 9, 15, 1, 13, 10, 12, 2, 8};
    return (c >= 1 && c <= 15) ? kBall[c] : 0;
}

std::string Utf8(uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// ---- gems and stones -------------------------------------------------------------------
static void Polygon(cairo_t* cr, double cx, double cy, double r, int n, double rot, double round) {
    std::vector<double> px, py;
    for (int i = 0; i < n; ++i) {
        double a = rot + 2 * M_PI * i / n;
        px.push_back(cx + std::cos(a) * r);
        py.push_back(cy + std::sin(a) * r);
    }
    cairo_new_sub_path(cr);
    for (int i = 0; i < n; ++i) {
        int p = (i + n - 1) % n, q = (i + 1) % n;
        double ax = px[i] + (px[p] - px[i]) * round, ay = py[i] + (py[p] - py[i]) * round;
        double bx = px[i] + (px[q] - px[i]) * round, by = py[i] + (py[q] - py[i]) * round;
        if (i == 0) cairo_move_to(cr, ax, ay);
        else cairo_line_to(cr, ax, ay);
        cairo_curve_to(cr, px[i], py[i], px[i], py[i], bx, by);
    }
    cairo_close_path(cr);
}

void GemPath(cairo_t* cr, int shape, double cx, double cy, double r) {
    switch (shape) {
        case 0: cairo_new_sub_path(cr); cairo_arc(cr, cx, cy, r, 0, 2 * M_PI); break;
        case 1: RoundRect(cr, cx - r * 0.9, cy - r * 0.9, r * 1.8, r * 1.8, r * 0.35); break;
        case 2: Polygon(cr, cx, cy, r * 1.02, 6, -M_PI / 2, 0.18); break;
        case 3: Polygon(cr, cx, cy, r * 1.06, 4, -M_PI / 2, 0.16); break;
        case 4: Polygon(cr, cx, cy, r, 8, M_PI / 8, 0.15); break;
        case 5: {  // shield
            cairo_new_sub_path(cr);
            cairo_move_to(cr, cx - r * 0.88, cy - r * 0.8);
            cairo_curve_to(cr, cx - r * 0.3, cy - r * 0.98, cx + r * 0.3, cy - r * 0.98, cx + r * 0.88, cy - r * 0.8);
            cairo_curve_to(cr, cx + r * 0.95, cy + r * 0.1, cx + r * 0.5, cy + r * 0.7, cx, cy + r);
            cairo_curve_to(cr, cx - r * 0.5, cy + r * 0.7, cx - r * 0.95, cy + r * 0.1, cx - r * 0.88, cy - r * 0.8);
            cairo_close_path(cr);
            break;
        }
        case 6: {  // oval, taller than wide
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_scale(cr, 0.82, 1.0);
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
            cairo_restore(cr);
            break;
        }
        case 7: Polygon(cr, cx, cy + r * 0.12, r * 1.12, 3, -M_PI / 2, 0.22); break;
        case 8: Polygon(cr, cx, cy + r * 0.04, r * 1.02, 5, -M_PI / 2, 0.18); break;
        default: {  // cushion
            cairo_new_sub_path(cr);
            double k = r * 0.92, b = r * 1.08;
            cairo_move_to(cr, cx - k, cy - k);
            cairo_curve_to(cr, cx - k * 0.3, cy - b, cx + k * 0.3, cy - b, cx + k, cy - k);
            cairo_curve_to(cr, cx + b, cy - k * 0.3, cx + b, cy + k * 0.3, cx + k, cy + k);
            cairo_curve_to(cr, cx + k * 0.3, cy + b, cx - k * 0.3, cy + b, cx - k, cy + k);
            cairo_curve_to(cr, cx - b, cy + k * 0.3, cx - b, cy - k * 0.3, cx - k, cy - k);
            cairo_close_path(cr);
        }
    }
}

void GlyphPath(cairo_t* cr, FontId f, uint32_t cp, double px, double cx, double cy) {
    std::string s = Utf8(cp);
    TextBox b = MeasureText(f, px, s);
    TextPath(cr, f, px, cx - (b.x0 + b.x1) / 2, cy - (b.y0 + b.y1) / 2, s);
}

void CarveGlyph(cairo_t* cr, FontId f, uint32_t cp, double px, double cx, double cy, RGB groove, double d) {
    cairo_save(cr);
    cairo_new_path(cr);
    GlyphPath(cr, f, cp, px, cx + d, cy + d);
    SetColor(cr, {1, 1, 1}, 0.45);
    cairo_fill(cr);
    cairo_new_path(cr);
    GlyphPath(cr, f, cp, px, cx - d * 0.4, cy - d * 0.4);
    SetColor(cr, {0, 0, 0}, 0.5);
    cairo_fill(cr);
    cairo_new_path(cr);
    GlyphPath(cr, f, cp, px, cx, cy);
    SetColor(cr, groove, 0.95);
    cairo_fill(cr);
    cairo_restore(cr);
}

void DrawGem(Canvas& c, double x, double y, double size, const RuneClass& rc, uint32_t seed) {
    (void)seed;
    cairo_t* cr = c.cr;
    double s = size, cx = x + s / 2, cy = y + s / 2, r = s * 0.455;
    RGB hue = rc.hue;
    cairo_save(cr);
    // Body.
    cairo_new_path(cr);
    GemPath(cr, rc.shape, cx, cy, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.4, r * 0.1, cx, cy, r * 1.15);
    AddStop(g, 0, Lighter(hue, 0.6));
    AddStop(g, 0.45, hue);
    AddStop(g, 1, Darker(hue, 0.6));
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    // Dark rim.
    cairo_set_line_width(cr, std::max(1.0, s * 0.05));
    SetColor(cr, Darker(hue, 0.65), 0.95);
    cairo_stroke(cr);
    // Table facet and its light edge.
    cairo_new_path(cr);
    GemPath(cr, rc.shape, cx, cy - r * 0.04, r * 0.7);
    g = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
    AddStop(g, 0, Lighter(hue, 0.35), 0.55);
    AddStop(g, 1, Darker(hue, 0.25), 0.35);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, std::max(0.7, s * 0.025));
    g = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
    AddStop(g, 0, {1, 1, 1}, 0.55);
    AddStop(g, 1, {1, 1, 1}, 0.05);
    cairo_set_source(cr, g);
    cairo_stroke(cr);
    cairo_pattern_destroy(g);
    // Reflected light along the lower edge.
    cairo_new_path(cr);
    GemPath(cr, rc.shape, cx, cy, r);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy + r * 1.55, r * 0.95, 0, 2 * M_PI);
    SetColor(cr, Lighter(hue, 0.5), 0.3);
    cairo_fill(cr);
    cairo_reset_clip(cr);
    // Carved glyph.
    RGB groove = Darker(hue, 0.72);
    if (rc.id == 14) groove = Hex(0xb8c0e0);
    if (rc.glyph) CarveGlyph(cr, F_RUNIC, rc.glyph, s * 0.6, cx, cy + s * 0.01, groove, std::max(0.6, s / 40.0));
    // Specular highlight.
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.42, cy - r * 0.5);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 1.0, 0.5);
    g = cairo_pattern_create_radial(0, 0, 0, 0, 0, r * 0.36);
    AddStop(g, 0, {1, 1, 1}, 0.9);
    AddStop(g, 1, {1, 1, 1}, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, 0, 0, r * 0.36, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    // A tiny sparkle.
    Star(cr, cx + r * 0.45, cy - r * 0.45, s * 0.07, s * 0.018, 4);
    SetColor(cr, {1, 1, 1}, 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
}

void DrawStone(Canvas& c, double x, double y, double size, const RuneClass* rc, uint32_t seed) {
    cairo_t* cr = c.cr;
    double s = size, cx = x + s / 2, cy = y + s / 2, r = s * 0.46;
    Rng rng(seed);
    RGB base = rc ? Mix(pal::stone, rc->hue, 0.3) : Hex(0x7c7a78);
    cairo_save(cr);
    // Irregular cobble outline.
    const int n = 11;
    std::vector<double> px(n), py(n);
    for (int i = 0; i < n; ++i) {
        double a = 2 * M_PI * i / n + rng.Range(-0.12, 0.12);
        double rr = r * rng.Range(0.9, 1.02);
        px[i] = cx + std::cos(a) * rr;
        py[i] = cy + std::sin(a) * rr * 0.97;
    }
    auto outline = [&]() {
        cairo_new_path(cr);
        for (int i = 0; i < n; ++i) {
            int q = (i + 1) % n;
            double mx = (px[i] + px[q]) / 2, my = (py[i] + py[q]) / 2;
            if (i == 0) cairo_move_to(cr, (px[n - 1] + px[0]) / 2, (py[n - 1] + py[0]) / 2);
            cairo_curve_to(cr, px[i], py[i], px[i], py[i], mx, my);
        }
        cairo_close_path(cr);
    };
    outline();
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r * 1.2);
    AddStop(g, 0, Lighter(base, 0.45));
    AddStop(g, 0.55, base);
    AddStop(g, 1, Darker(base, 0.55));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    // Pitted surface.
    {
        Canvas tmp(c.w, c.h);
        cairo_set_source_surface(tmp.cr, c.surface, 0, 0);
        cairo_paint(tmp.cr);
        tmp.Grain(0.28, s / 9.0, seed, 4);
        cairo_save(cr);
        outline();
        cairo_clip(cr);
        cairo_set_source_surface(cr, tmp.surface, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_save(cr);
    outline();
    cairo_set_line_width(cr, std::max(1.0, s * 0.045));
    SetColor(cr, Darker(base, 0.7), 0.9);
    cairo_stroke(cr);
    // Cracks.
    cairo_set_line_width(cr, std::max(0.6, s * 0.022));
    for (int k = 0; k < 2; ++k) {
        double a = rng.Range(0, 2 * M_PI);
        double x0 = cx + std::cos(a) * r * 0.95, y0 = cy + std::sin(a) * r * 0.95;
        cairo_move_to(cr, x0, y0);
        double xx = x0, yy = y0;
        for (int j = 0; j < 3; ++j) {
            xx += (cx - xx) * 0.3 + rng.Range(-s * 0.06, s * 0.06);
            yy += (cy - yy) * 0.3 + rng.Range(-s * 0.06, s * 0.06);
            cairo_line_to(cr, xx, yy);
        }
        SetColor(cr, Darker(base, 0.75), 0.7);
        cairo_stroke(cr);
    }
    if (rc) {
        RGB groove = Mix(Darker(rc->hue, 0.35), Darker(base, 0.6), 0.35);
        CarveGlyph(cr, F_RUNIC, rc->glyph, s * 0.56, cx, cy + s * 0.01, groove, std::max(0.6, s / 40.0));
    }
    cairo_restore(cr);
}

// ---- landscapes ---------------------------------------------------------------------
Scene SceneVariant(int n) {
    Scene s;
    switch (((n % 6) + 6) % 6) {
        case 0:
            s.skyTop = Hex(0x080c2a); s.skyHorizon = Hex(0x3a3a82);
            s.hillFar = Hex(0x28305e); s.hillNear = Hex(0x0c1026);
            break;
        case 1:  // violet dusk
            s.skyTop = Hex(0x140a30); s.skyHorizon = Hex(0x8a4a8a);
            s.hillFar = Hex(0x40285a); s.hillNear = Hex(0x140c22);
            s.moonX = 0.22; s.moonY = 0.26; s.castleX = 0.7;
            s.menhirs = 5; s.landmarkX = 0.32;
            break;
        case 2:  // teal moonlit lake
            s.skyTop = Hex(0x06142a); s.skyHorizon = Hex(0x2a6a80);
            s.hillFar = Hex(0x1a3a50); s.hillNear = Hex(0x081420);
            s.water = true; s.horizon = 0.58; s.castleX = 0.62; s.moonX = 0.3;
            break;
        case 3:  // warm sunset over the hills
            s.skyTop = Hex(0x1c1440); s.skyHorizon = Hex(0xe09050);
            s.hillFar = Hex(0x5a3250); s.hillNear = Hex(0x1a1020);
            s.stars = false; s.moonR = 30; s.moonX = 0.82; s.moonY = 0.14; s.castleX = 0.4;
            s.houses = 6; s.landmarkX = 0.72;
            break;
        case 4:  // misty forest, no castle
            s.skyTop = Hex(0x0a1430); s.skyHorizon = Hex(0x4a6a8a);
            s.hillFar = Hex(0x2a4260); s.hillNear = Hex(0x0a1622);
            s.castle = false; s.ridges = 4; s.moonX = 0.5; s.moonY = 0.18; s.moonR = 46;
            s.tower = true; s.landmarkX = 0.24;
            break;
        default:  // winter night
            s.skyTop = Hex(0x0a1030); s.skyHorizon = Hex(0x6a7aa8);
            s.hillFar = Hex(0x8a9ac0); s.hillNear = Hex(0x2a3458);
            s.castleX = 0.2; s.moonX = 0.72; s.water = false;
            s.houses = 4; s.landmarkX = 0.62;
            break;
    }
    return s;
}

static double Ridge(double x, double base, double amp, double period, uint32_t seed) {
    return base - amp * (Fbm(x / period, 0.5, 4, seed) - 0.25);
}

static void Castle(cairo_t* cr, double cx, double groundY, double scale, RGB body, RGB window, Rng& rng) {
    SetColor(cr, body);
    auto tower = [&](double x, double w, double h, bool cone) {
        cairo_rectangle(cr, x - w / 2, groundY - h, w, h);
        cairo_fill(cr);
        if (cone) {
            cairo_move_to(cr, x - w * 0.65, groundY - h);
            cairo_line_to(cr, x, groundY - h - w * 1.5);
            cairo_line_to(cr, x + w * 0.65, groundY - h);
            cairo_close_path(cr);
            cairo_fill(cr);
            cairo_set_line_width(cr, scale * 0.8);
            cairo_move_to(cr, x, groundY - h - w * 1.5);
            cairo_line_to(cr, x, groundY - h - w * 1.5 - 6 * scale);
            cairo_stroke(cr);
        } else {
            for (double bx = x - w / 2; bx < x + w / 2 - 0.5; bx += w / 4) {
                cairo_rectangle(cr, bx, groundY - h - 3 * scale, w / 8, 3 * scale);
                cairo_fill(cr);
            }
        }
    };
    double s = scale;
    cairo_rectangle(cr, cx - 34 * s, groundY - 30 * s, 68 * s, 30 * s);  // curtain wall
    cairo_fill(cr);
    for (double bx = cx - 34 * s; bx < cx + 34 * s; bx += 6 * s) {
        cairo_rectangle(cr, bx, groundY - 33 * s, 3 * s, 3 * s);
        cairo_fill(cr);
    }
    tower(cx - 34 * s, 12 * s, 48 * s, true);
    tower(cx + 34 * s, 12 * s, 44 * s, true);
    tower(cx - 8 * s, 16 * s, 70 * s, true);
    tower(cx + 12 * s, 12 * s, 56 * s, false);
    // Warm windows with a soft glow.
    for (int i = 0; i < 7; ++i) {
        double wx = cx + rng.Range(-36, 36) * s, wy = groundY - rng.Range(12, 60) * s;
        if (std::fabs(wx - cx + 8 * s) > 8 * s && wy < groundY - 32 * s) continue;
        RadialGlow(cr, wx + s, wy + 1.5 * s, 6 * s, window, 0.45);
        SetColor(cr, window);
        cairo_rectangle(cr, wx, wy, 2 * s, 3 * s);
        cairo_fill(cr);
        SetColor(cr, body);
    }
}

static void Pine(cairo_t* cr, double x, double groundY, double h) {
    double w = h * 0.38;
    for (int k = 0; k < 3; ++k) {
        double top = groundY - h + k * h * 0.22, bot = groundY - h * 0.12 - (2 - k) * h * 0.18;
        double ww = w * (0.55 + 0.22 * k);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + ww / 2, bot);
        cairo_line_to(cr, x - ww / 2, bot);
        cairo_close_path(cr);
    }
    cairo_rectangle(cr, x - h * 0.025, groundY - h * 0.14, h * 0.05, h * 0.14);
    cairo_fill(cr);
}

void PaintLandscape(Canvas& c, const Scene& s, uint32_t seed) {
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h, hz = H * s.horizon;
    Rng rng(seed);
    // Sky.
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, hz);
    AddStop(g, 0, s.skyTop);
    AddStop(g, 0.65, Mix(s.skyTop, s.skyHorizon, 0.55));
    AddStop(g, 1, s.skyHorizon);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    // Soft clouds.
    for (int i = 0; i < 7; ++i) {
        double cx = rng.Range(0, W), cy = rng.Range(H * 0.08, hz * 0.8), rw = rng.Range(W * 0.12, W * 0.3);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, 1.0, rng.Range(0.12, 0.22));
        g = cairo_pattern_create_radial(0, 0, 0, 0, 0, rw);
        RGB cl = Lighter(s.skyHorizon, 0.25);
        AddStop(g, 0, cl, 0.16);
        AddStop(g, 1, cl, 0);
        cairo_set_source(cr, g);
        cairo_arc(cr, 0, 0, rw, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
    }
    // Stars.
    if (s.stars) {
        int count = static_cast<int>(W * hz / 1800);
        for (int i = 0; i < count; ++i) {
            double x = rng.Range(0, W), y = rng.Range(0, hz * 0.92);
            double fade = 1.0 - y / hz;
            double a = rng.Range(0.25, 1.0) * fade;
            double r = rng.Range(0.4, 1.2);
            if (rng.Uniform() < 0.06) {
                RadialGlow(cr, x, y, r * 6, Hex(0xdde6ff), a * 0.5);
                Star(cr, x, y, r * 4, r * 0.6, 4);
                SetColor(cr, Hex(0xffffff), a * 0.8);
                cairo_fill(cr);
            }
            SetColor(cr, Hex(0xf4f4ff), a);
            cairo_arc(cr, x, y, r, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
    // Moon.
    if (s.moonR > 0) {
        double mx = W * s.moonX, my = H * s.moonY, mr = s.moonR * (W / 800.0);
        RadialGlow(cr, mx, my, mr * 6, Lighter(s.skyHorizon, 0.5), 0.35);
        RadialGlow(cr, mx, my, mr * 2.2, pal::moon, 0.4);
        g = cairo_pattern_create_radial(mx - mr * 0.3, my - mr * 0.3, mr * 0.1, mx, my, mr);
        AddStop(g, 0, Hex(0xfffff4));
        AddStop(g, 1, Hex(0xe8e0c0));
        cairo_set_source(cr, g);
        cairo_arc(cr, mx, my, mr, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        for (int i = 0; i < 5; ++i) {
            double a = rng.Range(0, 2 * M_PI), d = rng.Range(0, mr * 0.6);
            SetColor(cr, Hex(0xb8b090), 0.25);
            cairo_arc(cr, mx + std::cos(a) * d, my + std::sin(a) * d, rng.Range(mr * 0.08, mr * 0.2), 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
    // Mountain ridges, far to near.
    double castleGround = 0;
    for (int k = 0; k < s.ridges; ++k) {
        double t = s.ridges > 1 ? static_cast<double>(k) / (s.ridges - 1) : 1.0;
        double base = hz - H * 0.12 * (1 - t) + H * 0.04 * t;
        double amp = H * (0.2 - 0.12 * t);
        double period = W * (0.35 - 0.15 * t);
        RGB col = Mix(Mix(s.hillFar, s.skyHorizon, 0.45 * (1 - t)), s.hillNear, t * 0.6);
        cairo_new_path(cr);
        cairo_move_to(cr, 0, H);
        for (double x = 0; x <= W + 4; x += 4) cairo_line_to(cr, x, Ridge(x, base, amp, period, seed + k * 17));
        cairo_line_to(cr, W, H);
        cairo_close_path(cr);
        g = cairo_pattern_create_linear(0, base - amp, 0, H);
        AddStop(g, 0, Lighter(col, 0.08));
        AddStop(g, 0.5, col);
        AddStop(g, 1, Darker(col, 0.3));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        if (k == s.ridges - 2 || (s.ridges == 1 && k == 0)) {
            castleGround = Ridge(W * s.castleX, base, amp, period, seed + k * 17);
            if (s.castle) {
                double sc = W / 800.0 * 1.1;
                Castle(cr, W * s.castleX, castleGround + 4 * sc, sc, Darker(col, 0.35), Hex(0xffd27a), rng);
            }
        }
        // Mist between the ridges.
        if (s.mist && k < s.ridges - 1) {
            g = cairo_pattern_create_linear(0, base - amp * 0.2, 0, base + H * 0.08);
            AddStop(g, 0, Lighter(s.skyHorizon, 0.3), 0);
            AddStop(g, 0.6, Lighter(s.skyHorizon, 0.3), 0.18);
            AddStop(g, 1, Lighter(s.skyHorizon, 0.3), 0);
            cairo_set_source(cr, g);
            cairo_rectangle(cr, 0, base - amp * 0.2, W, H * 0.3);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
    }
    // Water with the moon's reflection.
    if (s.water) {
        double top = hz + H * 0.1;
        g = cairo_pattern_create_linear(0, top, 0, H);
        AddStop(g, 0, Mix(s.skyHorizon, s.hillNear, 0.3));
        AddStop(g, 1, Darker(s.skyTop, 0.2));
        cairo_set_source(cr, g);
        cairo_rectangle(cr, 0, top, W, H - top);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        double mx = W * s.moonX;
        for (double y = top + 3; y < H; y += rng.Range(4, 9)) {
            double len = rng.Range(10, 60) * (1 + (y - top) / H * 2) * (W / 800.0);
            double off = rng.Range(-20, 20) * (1 + (y - top) / (H - top) * 2);
            SetColor(cr, pal::moon, 0.35 * (1 - (y - top) / (H - top) * 0.6));
            cairo_rectangle(cr, mx + off - len / 2, y, len, 1.2);
            cairo_fill(cr);
        }
    }
    // Landmarks on the near middle ground.
    {
        double ground = hz + H * 0.05;
        double sc = W / 800.0;
        double lx = W * s.landmarkX;
        RGB sil = Darker(s.hillNear, 0.2);
        if (s.tower) {
            SetColor(cr, sil);
            cairo_move_to(cr, lx - 14 * sc, ground);
            cairo_line_to(cr, lx - 10 * sc, ground - 110 * sc);
            cairo_line_to(cr, lx + 10 * sc, ground - 110 * sc);
            cairo_line_to(cr, lx + 14 * sc, ground);
            cairo_close_path(cr);
            cairo_fill(cr);
            cairo_move_to(cr, lx - 16 * sc, ground - 108 * sc);
            cairo_line_to(cr, lx, ground - 150 * sc);
            cairo_line_to(cr, lx + 16 * sc, ground - 108 * sc);
            cairo_close_path(cr);
            cairo_fill(cr);
            RadialGlow(cr, lx, ground - 90 * sc, 18 * sc, Hex(0xffd27a), 0.6);
            SetColor(cr, Hex(0xffe0a0));
            cairo_rectangle(cr, lx - 2.5 * sc, ground - 96 * sc, 5 * sc, 8 * sc);
            cairo_fill(cr);
        }
        for (int i = 0; i < s.houses; ++i) {
            double hx = lx + (i - s.houses / 2.0) * 26 * sc + rng.Range(-4, 4) * sc;
            double hw = rng.Range(16, 24) * sc, hh = rng.Range(12, 18) * sc;
            double gy = ground + rng.Range(-3, 3) * sc;
            SetColor(cr, sil);
            cairo_rectangle(cr, hx - hw / 2, gy - hh, hw, hh);
            cairo_fill(cr);
            cairo_move_to(cr, hx - hw * 0.62, gy - hh);
            cairo_line_to(cr, hx, gy - hh - hw * 0.55);
            cairo_line_to(cr, hx + hw * 0.62, gy - hh);
            cairo_close_path(cr);
            cairo_fill(cr);
            RadialGlow(cr, hx, gy - hh * 0.5, 9 * sc, Hex(0xffc860), 0.5);
            SetColor(cr, Hex(0xffd890));
            cairo_rectangle(cr, hx - 2 * sc, gy - hh * 0.65, 4 * sc, 4 * sc);
            cairo_fill(cr);
        }
        for (int i = 0; i < s.menhirs; ++i) {
            double a = M_PI * (0.15 + 0.7 * i / std::max(1, s.menhirs - 1));
            double mx = lx - std::cos(a) * 90 * sc, my = ground + 10 * sc - std::sin(a) * 14 * sc;
            double mh = rng.Range(40, 62) * sc * (0.8 + 0.4 * std::sin(a)), mw = mh * 0.32;
            cairo_move_to(cr, mx - mw / 2, my);
            cairo_line_to(cr, mx - mw * 0.42, my - mh * 0.9);
            cairo_curve_to(cr, mx - mw * 0.3, my - mh * 1.02, mx + mw * 0.3, my - mh * 1.02, mx + mw * 0.42,
                           my - mh * 0.9);
            cairo_line_to(cr, mx + mw / 2, my);
            cairo_close_path(cr);
            cairo_pattern_t* mg = cairo_pattern_create_linear(mx - mw / 2, 0, mx + mw / 2, 0);
            AddStop(mg, 0, Lighter(sil, 0.18));
            AddStop(mg, 1, Darker(sil, 0.3));
            cairo_set_source(cr, mg);
            cairo_fill(cr);
            cairo_pattern_destroy(mg);
            const RuneClass& rc = RuneOf(1 + i % kRuneClasses);
            RadialGlow(cr, mx, my - mh * 0.55, mw * 0.9, rc.hue, 0.55);
            cairo_new_path(cr);
            GlyphPath(cr, F_RUNIC, rc.glyph, mw * 0.8, mx, my - mh * 0.55);
            SetColor(cr, Lighter(rc.hue, 0.5), 0.9);
            cairo_fill(cr);
        }
    }
    // Foreground hill with a pine forest.
    double fgBase = s.water ? H * 0.93 : H * 0.86;
    cairo_new_path(cr);
    cairo_move_to(cr, 0, H);
    for (double x = 0; x <= W + 4; x += 4) cairo_line_to(cr, x, Ridge(x, fgBase, H * 0.07, W * 0.3, seed + 99));
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
    SetColor(cr, Darker(s.hillNear, 0.35));
    cairo_fill(cr);
    if (s.forest) {
        SetColor(cr, Darker(s.hillNear, 0.5));
        for (double x = -10; x < W + 10; x += rng.Range(7, 22) * (W / 800.0)) {
            if (s.water && x > W * 0.25 && x < W * 0.75) continue;
            double gy = Ridge(x, fgBase, H * 0.07, W * 0.3, seed + 99) + 6;
            Pine(cr, x, gy, rng.Range(30, 75) * (H / 600.0));
        }
    }
    // Fireflies and a gentle vignette.
    for (int i = 0; i < 20; ++i) {
        double x = rng.Range(0, W), y = rng.Range(H * 0.7, H);
        RadialGlow(cr, x, y, 4, Hex(0xfff0a0), rng.Range(0.2, 0.6));
    }
    g = cairo_pattern_create_radial(W / 2, H / 2, std::min(W, H) * 0.35, W / 2, H / 2, std::max(W, H) * 0.75);
    AddStop(g, 0, {0, 0, 0}, 0);
    AddStop(g, 1, {0, 0, 0}, 0.45);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    c.Grain(0.05, 2.0, seed + 5, 2);
}

// ---- widgets -----------------------------------------------------------------------
void Stud(cairo_t* cr, double cx, double cy, double r) {
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.35, r * 0.1, cx, cy, r);
    AddStop(g, 0, pal::goldLight);
    AddStop(g, 0.5, pal::gold);
    AddStop(g, 1, pal::goldDeep);
    cairo_set_source(cr, g);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, std::max(0.6, r * 0.2));
    SetColor(cr, Darker(pal::goldDeep, 0.5), 0.8);
    cairo_stroke(cr);
}

void CornerStuds(cairo_t* cr, double left, double right, double top, double bottom, double r) {
    for (double x : {left, right})
        for (double y : {top, bottom}) Stud(cr, x, y, r);
}

void GoldGradientFill(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
    AddStop(g, 0, pal::goldLight);
    AddStop(g, 0.5, pal::gold);
    AddStop(g, 1, pal::goldDeep);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void Plaque(Canvas& c, double x, double y, double w, double h, const std::string& text, FontId f, double px, bool lit,
            uint32_t seed) {
    cairo_t* cr = c.cr;
    double r = std::min(h * 0.3, 8.0);
    double rim = std::max(1.5, std::min(3.0, h * 0.1));
    // Wood plank inside a gold rim.
    RoundRect(cr, x, y, w, h, r);
    GoldGradientFill(cr, x, y, x, y + h);
    cairo_save(cr);
    RoundRect(cr, x + rim, y + rim, w - 2 * rim, h - 2 * rim, std::max(1.0, r - rim));
    cairo_clip(cr);
    WoodFill(c, x, y, w, h, lit ? Hex(0x7a4e28) : pal::wood, seed);
    cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x, y + h);
    AddStop(g, 0, {1, 1, 1}, lit ? 0.25 : 0.15);
    AddStop(g, 0.5, {1, 1, 1}, 0);
    AddStop(g, 1, {0, 0, 0}, 0.3);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    if (lit) RadialGlow(cr, x + w / 2, y + h / 2, w * 0.55, Hex(0xffc860), 0.35);
    cairo_restore(cr);
    FitCaption(c, f, px, x + w / 2, y + h / 2, w - 2 * rim - 6, text, lit ? CS_GOLD_LIT : CS_GOLD);
}

void InkButton(Canvas& c, double x, double y, double w, double h, const std::string& text, FontId f, double px,
               bool lit) {
    if (lit) {
        OvalGlow(c.cr, x + w / 2, y + h / 2, w * 0.55, h / w, Hex(0xffd070), 0.6);
    }
    FitCaption(c, f, px, x + w / 2, y + h / 2, w - 4, text, lit ? CS_GOLD_LIT : CS_INK);
}

void GoldFrame(Canvas& c, double x, double y, double w, double h, double band, double r) {
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    RoundRect(cr, x, y, w, h, r);
    RoundRect(cr, x + band, y + band, w - 2 * band, h - 2 * band, std::max(0.0, r - band));
    cairo_pattern_t* g = cairo_pattern_create_linear(x, y, x + w * 0.4, y + h);
    AddStop(g, 0, pal::goldLight);
    AddStop(g, 0.3, pal::gold);
    AddStop(g, 0.6, pal::goldDeep);
    AddStop(g, 0.8, pal::gold);
    AddStop(g, 1, pal::goldDeep);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1);
    RoundRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
    SetColor(cr, Darker(pal::goldDeep, 0.5), 0.9);
    cairo_stroke(cr);
    RoundRect(cr, x + band - 0.5, y + band - 0.5, w - 2 * band + 1, h - 2 * band + 1, std::max(0.0, r - band));
    cairo_stroke(cr);
    RoundRect(cr, x + band * 0.5, y + band * 0.5, w - band, h - band, std::max(0.0, r - band * 0.5));
    SetColor(cr, pal::goldLight, 0.5);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void NightPanel(Canvas& c, double x, double y, double w, double h, double r, uint32_t seed) {
    cairo_t* cr = c.cr;
    cairo_save(cr);
    RoundRect(cr, x, y, w, h, r);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(g, 0, Hex(0x2a2a6a));
    AddStop(g, 1, Hex(0x0e0e30));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    RadialGlow(cr, x + w / 2, y + h * 0.2, w * 0.6, Hex(0x6a6ad0), 0.25);
    cairo_restore(cr);
    // Velvet: the panel is drawn first on its canvas, so grain touches only it.
    c.Grain(0.1, 2.5, seed + 17, 3);
    // A faint band of runes round the inside and filigree corners.
    Rng rng(seed);
    double band = std::max(4.0, std::min(w, h) * 0.04);
    double in = band + 9;
    cairo_save(cr);
    RoundRect(cr, x + in, y + in, w - 2 * in, h - 2 * in, std::max(2.0, r - in));
    cairo_set_line_width(cr, 1);
    SetColor(cr, pal::gold, 0.45);
    cairo_stroke(cr);
    for (double t = x + in + 24; t < x + w - in - 20; t += 22) {
        for (double yy : {y + in - 5.5, y + h - in + 5.5}) {
            cairo_new_path(cr);
            GlyphPath(cr, F_RUNIC, 0x16A0 + static_cast<uint32_t>(rng.Int(0, 40)), 9, t, yy);
            SetColor(cr, pal::gold, 0.3);
            cairo_fill(cr);
        }
    }
    for (double cx : {x + in, x + w - in})
        for (double cy : {y + in, y + h - in}) {
            Star(cr, cx, cy, 11, 3, 4, M_PI / 4);
            SetColor(cr, pal::gold, 0.8);
            cairo_fill(cr);
            Stud(cr, cx, cy, 3);
        }
    cairo_restore(cr);
    GoldFrame(c, x, y, w, h, band, r);
}

void ParchmentSheet(Canvas& c, double x, double y, double w, double h, uint32_t seed) {
    cairo_t* cr = c.cr;
    Rng rng(seed);
    cairo_save(cr);
    cairo_new_path(cr);
    // Slightly wavy edges.
    const int steps = 24;
    auto edge = [&](double t) { return rng.Range(-1.5, 1.5) + std::sin(t * 9.0) * 1.0; };
    cairo_move_to(cr, x, y);
    for (int i = 1; i <= steps; ++i) cairo_line_to(cr, x + w * i / steps, y + edge(i));
    for (int i = 1; i <= steps; ++i) cairo_line_to(cr, x + w + edge(i), y + h * i / steps);
    for (int i = 1; i <= steps; ++i) cairo_line_to(cr, x + w - w * i / steps, y + h + edge(i));
    for (int i = 1; i <= steps; ++i) cairo_line_to(cr, x + edge(i), y + h - h * i / steps);
    cairo_close_path(cr);
    cairo_clip(cr);
    ParchmentFill(c, x - 3, y - 3, w + 6, h + 6, seed);
    // Burnt rim.
    cairo_pattern_t* g = cairo_pattern_create_radial(x + w / 2, y + h / 2, std::min(w, h) * 0.35, x + w / 2,
                                                     y + h / 2, std::hypot(w, h) * 0.55);
    AddStop(g, 0, Hex(0x5a3210), 0);
    AddStop(g, 0.8, Hex(0x5a3210), 0.15);
    AddStop(g, 1, Hex(0x3a1e08), 0.6);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

void CreamLettering(cairo_t* cr, double px, double baseline, double outline) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, outline);
    SetColor(cr, Hex(0x2a1606), 0.9);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, baseline - px * 0.75, 0, baseline);
    AddStop(g, 0, Hex(0xffffff));
    AddStop(g, 0.6, Hex(0xfff4d8));
    AddStop(g, 1, Hex(0xf0d8a0));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void Darken(Canvas& c, double a) {
    SetColor(c.cr, Hex(0x05061a), a);
    cairo_paint(c.cr);
}

std::string Two(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n);
    return b;
}

double Paragraph(Canvas& c, FontId f, double px, double x, double y, double width, const std::string& text, RGB color,
                 bool centred, double alpha) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    double lh = px * 1.25;
    std::string line;
    auto flush = [&](const std::string& l) {
        TextBox b = MeasureText(f, px, l);
        double lx = centred ? x + (width - b.advance) / 2 : x;
        cairo_new_path(c.cr);
        TextPath(c.cr, f, px, lx, y + px, l);
        SetColor(c.cr, color, alpha);
        cairo_fill(c.cr);
        y += lh;
    };
    for (const std::string& w : words) {
        std::string trial = line.empty() ? w : line + " " + w;
        if (!line.empty() && MeasureText(f, px, trial).advance > width) {
            flush(line);
            line = w;
        } else {
            line = trial;
        }
    }
    if (!line.empty()) flush(line);
    return y;
}


void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

}  // namespace qab
