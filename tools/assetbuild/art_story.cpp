// The story pages: the parchment frame and the pictures above the text.
//
// Every page picture is a scene from the scene library (sky, land, placed
// things) with, where the tale needs it, a few things of its own painted
// between the land and the placed things (a stone circle, an ice crown) or
// over them (spheres, letters, a badger). The pictures are 800x381 and sit
// under the frame, which leaves x 24..776, y 22..381 in view.
//
// Index: frame · story things · finishing · the pictures · recipes
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <functional>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "artkit.h"
#include "builder.h"
#include "scenekit.h"

namespace qab {
namespace {

using scene::Element;
using scene::Hold;
using scene::Kind;
using scene::Mood;
using scene::Pose;
using scene::SceneDesc;
using scene::Sky;
using scene::Terrain;
using scene::Weather;

constexpr int kPicW = 800, kPicH = 381;

// ---- frame ----------------------------------------------------------------------------------
void Frame(std::vector<Recipe>& out) {
    // Frame over the page picture: transparent where the picture shows.
    out.push_back(Picture("gfx/story/top.png", [](Context& ctx) {
        Canvas c(800, 381);
        cairo_t* cr = c.cr;
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_rectangle(cr, 0, 0, 800, 381);
        RoundRect(cr, 24, 22, 752, 381, 16);
        cairo_clip(cr);
        WoodFill(c, 0, 0, 800, 381, pal::wood, ctx.seed);
        cairo_reset_clip(cr);
        GoldFrame(c, 14, 12, 772, 400, 10, 18);
        c.ClearRect(24, 381, 752, 10);
        for (double x : {40.0, 400.0, 760.0}) Stud(cr, x, 8, 5);
        ctx.Png(c, "gfx/story/top.png");
    }));
    out.push_back(Picture("gfx/story/bottom.png", [](Context& ctx) {
        Canvas c(800, 219);
        cairo_t* cr = c.cr;
        WoodFill(c, 0, 0, 800, 219, pal::wood, ctx.seed);
        ParchmentSheet(c, 70, 6, 660, 170, ctx.seed + 1);
        GoldFrame(c, 14, -20, 772, 176 + 20 + 8, 10, 18);
        // Button strip at y 572..592 (191..211 here).
        RoundRect(cr, 300, 186, 200, 30, 8);
        SetColor(cr, Hex(0x1a1008), 0.9);
        cairo_fill(cr);
        GoldFrame(c, 300, 186, 200, 30, 2, 8);
        c.Opaque({0, 0, 0});
        ctx.Png(c, "gfx/story/bottom.png");
    }));
}

// ---- story things -----------------------------------------------------------------------------
// A thing standing on the scene's ground at fraction x; depth 0 is the far
// edge of the ground, 1 the bottom of the picture.
Element On(const SceneDesc& s, Kind k, double x, double depth, double scale, int variant = 0, bool flip = false) {
    Element e;
    e.kind = k;
    e.x = x;
    e.y = scene::GroundAt(s, x, depth);
    e.scale = scale;
    e.variant = variant;
    e.flip = flip;
    return e;
}

// A thing floating at (x, y), fractions of the picture.
Element At(Kind k, double x, double y, double scale, int variant = 0, bool flip = false) {
    Element e;
    e.kind = k;
    e.x = x;
    e.y = y;
    e.scale = scale;
    e.variant = variant;
    e.flip = flip;
    return e;
}

// What a figure does on its page, built up from its mood: which hand holds
// what, where it looks, whether it kneels.
struct Act : Pose {
    explicit Act(Mood m = Mood::Calm, double look = 0.35) {
        set = true;
        mood = m;
        turn = look;
    }
    Act& Front(double upper, double fore, Hold h = Hold::None) {
        frontUpper = upper, frontFore = fore, frontHold = h;
        return *this;
    }
    Act& Back(double upper, double fore, Hold h = Hold::None) {
        backUpper = upper, backFore = fore, backHold = h;
        return *this;
    }
    Act& Tilt(double t) {
        tilt = t;
        return *this;
    }
    Act& Lean(double l) {
        lean = l;
        return *this;
    }
    Act& Kneel() {
        kneel = true;
        return *this;
    }
    Act& Sit() {
        sit = true;
        return *this;
    }
    Act& Holding(int colourClass) {
        rune = colourClass;
        return *this;
    }
    // Nelt's staff in his far hand, planted beside him.
    Act& Staff() { return Back(0.25, 1.0, Hold::Staff); }
    // Arms swinging mid-stride.
    Act& Walk() { return Back(-0.4, -0.2).Front(0.35, 0.6); }
    Act& PointAt(double up) { return Front(up, up + 0.1, Hold::Point); }
    // A lantern held low before the body, or raised (up > 1) to see by.
    Act& Lantern(double up = 0.3) { return Front(up, up < 1 ? 1.5 : up + 0.35, Hold::Lantern); }
    Act& Reach(double up, double fore) { return Front(up, fore, Hold::Open); }
};

Element Posed(Element e, const Pose& pose) {
    e.pose = pose;
    return e;
}

// A closed polygon from x, y pairs, added to the current path.
void Poly(cairo_t* cr, std::initializer_list<double> xy) {
    const double* v = xy.begin();
    cairo_move_to(cr, v[0], v[1]);
    for (size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr, v[i], v[i + 1]);
    cairo_close_path(cr);
}

// Fills the current path with gradient g (and releases it), then inks the
// path's edge.
void FillInked(cairo_t* cr, cairo_pattern_t* g, RGB ink, double alpha, double width) {
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, ink, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// Fills the current path with stone lit at (x0, y0) and shaded towards
// (x1, y1), and inks its edge.
void StoneFill(cairo_t* cr, double x0, double y0, double x1, double y1, RGB lit, RGB tone, RGB shade) {
    cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
    AddStop(g, 0, lit);
    AddStop(g, 0.5, tone);
    AddStop(g, 1, shade);
    FillInked(cr, g, Darker(tone, 0.6), 0.6, 1.2);
}

// One tall standing stone, base centred on (x, y), lit from the left.
void Menhir(cairo_t* cr, double x, double y, double w, double h, RGB tone) {
    cairo_move_to(cr, x - w / 2, y);
    cairo_curve_to(cr, x - w * 0.55, y - h * 0.6, x - w * 0.35, y - h, x, y - h);
    cairo_curve_to(cr, x + w * 0.4, y - h, x + w * 0.55, y - h * 0.5, x + w / 2, y);
    cairo_close_path(cr);
    StoneFill(cr, x - w / 2, 0, x + w / 2, 0, Lighter(tone, 0.25), tone, Darker(tone, 0.45));
    // A shadow on the grass behind it.
    Ellipse(cr, x + w * 0.2, y, w * 0.7, w * 0.154);
    SetColor(cr, Hex(0x000000), 0.18);
    cairo_fill(cr);
}

// The stone circle of Quillimar: eight stones round an oval, each with its
// rune gem hovering over it (lit) or a grey cobble at its foot (asleep).
// Stones are painted back to front so the near ones overlap the far ones.
void StoneCircle(Canvas& c, double cx, double cy, double rx, double ry, double stoneH, bool lit, uint32_t seed,
                 int onlyRune = 0) {
    cairo_t* cr = c.cr;
    // The worn ring of grass inside.
    Ellipse(cr, cx, cy, rx * 1.08, ry * 1.08);
    SetColor(cr, lit ? Hex(0x6a7a3a) : Hex(0x5a5a60), 0.45);
    cairo_fill(cr);
    if (lit) OvalGlow(cr, cx, cy - stoneH * 0.3, rx * 0.9, ry / rx + 0.2, Hex(0xfff0c0), 0.35);
    struct Slot {
        double a, x, y;
    };
    std::vector<Slot> slots;
    for (int i = 0; i < 8; ++i) {
        double a = -M_PI / 2 + i * M_PI / 4 + 0.2;
        slots.push_back({a, cx + std::cos(a) * rx, cy + std::sin(a) * ry});
    }
    std::sort(slots.begin(), slots.end(), [](const Slot& p, const Slot& q) { return p.y < q.y; });
    for (const Slot& s : slots) {
        int idx = static_cast<int>(std::lround((s.a + M_PI / 2 - 0.2) / (M_PI / 4))) % 8;
        double depth = (s.y - (cy - ry)) / (2 * ry);  // 0 far, 1 near
        double k = 0.75 + 0.35 * depth;
        Menhir(cr, s.x, s.y, stoneH * 0.42 * k, stoneH * k, lit ? Hex(0x9a9288) : Hex(0x7a7a80));
        const int rune = idx + 1;
        if (onlyRune && rune != onlyRune) continue;
        double gs = stoneH * 0.34 * k;
        if (lit) {
            RadialGlow(cr, s.x, s.y - stoneH * k - gs * 0.6, gs * 2.2, RuneOf(rune).hue, 0.55);
            DrawGem(c, s.x - gs / 2, s.y - stoneH * k - gs * 1.2, gs, RuneOf(rune), seed + rune);
        } else {
            DrawStone(c, s.x - gs / 2 + stoneH * 0.25 * k, s.y - gs * 0.7, gs, &RuneOf(rune), seed + rune);
        }
    }
}

// The mark carved on every standing stone: a snowflake in a circle.
void SnowSeal(cairo_t* cr, double cx, double cy, double r, RGB ink, double alpha) {
    cairo_set_line_width(cr, r * 0.12);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    for (int i = 0; i < 6; ++i) {
        double a = i * M_PI / 3;
        double ex = cx + std::cos(a) * r * 0.78, ey = cy + std::sin(a) * r * 0.78;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, ex, ey);
        for (double side : {-1.0, 1.0}) {
            double mx = cx + std::cos(a) * r * 0.5, my = cy + std::sin(a) * r * 0.5;
            cairo_move_to(cr, mx, my);
            cairo_line_to(cr, mx + std::cos(a + side * 0.8) * r * 0.22, my + std::sin(a + side * 0.8) * r * 0.22);
        }
    }
    SetColor(cr, ink, alpha);
    cairo_stroke(cr);
}

// A glass sphere with light swirling inside it.
void Sphere(Canvas& c, double cx, double cy, double r, RGB light, double fill) {
    cairo_t* cr = c.cr;
    RadialGlow(cr, cx, cy, r * 2.2, light, 0.35 * fill);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r);
    AddStop(g, 0, Lighter(light, 0.7), 0.95);
    AddStop(g, 0.5, light, 0.35 + 0.5 * fill);
    AddStop(g, 1, Darker(light, 0.5), 0.8);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    SetColor(cr, Hex(0xfff4d0), 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_arc(cr, cx - r * 0.35, cy - r * 0.4, r * 0.18, 0, 2 * M_PI);
    SetColor(cr, Hex(0xffffff), 0.8);
    cairo_fill(cr);
}

// Caldrin: tall and pale, a hooded cloak stitched with frost. Stands on
// (x, y), h pixels tall; thawing > 0 lets rain run off the cloak.
void Caldrin(Canvas& c, double x, double y, double h, bool facingAway, double thawing = 0) {
    cairo_t* cr = c.cr;
    const double k = h / 200.0;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, k, k);
    RadialGlow(cr, 0, -110, 140, Hex(0xc8e8ff), 0.25);
    // Cloak: square shoulders, falling wide to a hem ragged with frost.
    auto cloak = [&]() {
        cairo_move_to(cr, -16, -176);
        cairo_curve_to(cr, -30, -172, -38, -160, -40, -146);
        cairo_curve_to(cr, -48, -100, -58, -40, -64, 0);
        for (int i = 0; i <= 16; ++i) cairo_line_to(cr, -64 + i * 8, i % 2 ? -9 : 0);
        cairo_curve_to(cr, 58, -40, 48, -100, 40, -146);
        cairo_curve_to(cr, 38, -160, 30, -172, 16, -176);
        cairo_close_path(cr);
    };
    cloak();
    cairo_pattern_t* g = cairo_pattern_create_linear(-60, 0, 60, 0);
    AddStop(g, 0, Hex(0xdce8f8));
    AddStop(g, 0.45, Hex(0x9ab0d4));
    AddStop(g, 1, Hex(0x4a5a82));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Sleeves and the fold down the front.
    for (double sx : {-1.0, 1.0}) {
        cairo_move_to(cr, sx * 38, -146);
        cairo_curve_to(cr, sx * 44, -120, sx * 40, -90, sx * 30, -70);
        cairo_line_to(cr, sx * 18, -74);
    }
    cairo_move_to(cr, 0, -140);
    cairo_curve_to(cr, 4, -100, -4, -50, 2, -6);
    SetColor(cr, Hex(0x3a4a70), 0.55);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    // Frost stitches down the cloak.
    Rng r(77);
    for (int i = 0; i < 44; ++i) {
        double t = r.Uniform(), yy = -160 + t * 150, half = 34 + t * 26;
        double xx = r.Range(-half, half);
        cairo_move_to(cr, xx - 3, yy);
        cairo_line_to(cr, xx + 3, yy);
        cairo_move_to(cr, xx, yy - 3);
        cairo_line_to(cr, xx, yy + 3);
    }
    SetColor(cr, Hex(0xffffff), 0.85);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cloak();
    SetColor(cr, Hex(0x2a3456), 0.8);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // A pointed hood; from the front, a pale face in its shadow.
    auto hood = [&]() {
        cairo_move_to(cr, -24, -150);
        cairo_curve_to(cr, -30, -180, -20, -204, 2, -214);
        cairo_curve_to(cr, 20, -204, 30, -180, 24, -150);
        cairo_close_path(cr);
    };
    hood();
    cairo_pattern_t* hg = cairo_pattern_create_linear(-26, 0, 26, 0);
    AddStop(hg, 0, Hex(0xe4eefa));
    AddStop(hg, 1, Hex(0x5a6a94));
    cairo_set_source(cr, hg);
    cairo_fill(cr);
    cairo_pattern_destroy(hg);
    if (!facingAway) {
        Ellipse(cr, 0, -172, 12.24, 17);
        SetColor(cr, Hex(0x28304a));
        cairo_fill(cr);
        Ellipse(cr, 0, -169, 8.4, 12);
        cairo_pattern_t* fg = cairo_pattern_create_radial(-2.5, -172, 1, 0, -169, 12);
        AddStop(fg, 0, Hex(0xf8f6fa));
        AddStop(fg, 1, Hex(0xb8c0d4));
        cairo_set_source(cr, fg);
        cairo_fill(cr);
        cairo_pattern_destroy(fg);
        // Pale eyes with ice-blue irises, looking down once he reads; frosted
        // brows; a long nose's shadow; a mouth set hard until the thaw.
        const double look = thawing > 0 ? 0.8 : 0;
        for (double ex : {-3.6, 3.6}) {
            Ellipse(cr, ex, -172, 2.3, 1.3);
            SetColor(cr, Hex(0xf4f6fa));
            cairo_fill(cr);
            cairo_arc(cr, ex, -172 + look * 0.5, 1.05, 0, 2 * M_PI);
            SetColor(cr, Hex(0x5a9ad0));
            cairo_fill(cr);
            cairo_arc(cr, ex, -172 + look * 0.5, 0.5, 0, 2 * M_PI);
            SetColor(cr, Hex(0x101828));
            cairo_fill(cr);
            cairo_move_to(cr, ex - 2.5, -171.6);
            cairo_curve_to(cr, ex - 1.2, -173.8 + look, ex + 1.2, -173.8 + look, ex + 2.5, -172.2);
            SetColor(cr, Hex(0x3a4a6a));
            cairo_set_line_width(cr, 0.7);
            cairo_stroke(cr);
            // The inner ends drawn down in a frown, lifted once he thaws.
            const double inner = thawing > 0 ? -0.7 : 0.9;
            cairo_move_to(cr, ex - 2.6, -175.5 + (ex > 0 ? inner : 0));
            cairo_line_to(cr, ex + 2.6, -175.5 + (ex < 0 ? inner : 0));
            SetColor(cr, Hex(0x8a9ab8));
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        }
        cairo_move_to(cr, 0.3, -170.5);
        cairo_curve_to(cr, 1.5, -167.5, 1.6, -166.5, 0.2, -165.8);
        SetColor(cr, Hex(0x8a90a8));
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
        if (thawing > 0) {
            cairo_move_to(cr, -2.6, -162.6);
            cairo_curve_to(cr, -1, -161.2, 1, -161.2, 2.6, -162.6);
        } else {
            cairo_move_to(cr, -2.6, -162);
            cairo_line_to(cr, 2.6, -162.4);
        }
        SetColor(cr, Hex(0x6a5a7a));
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }
    hood();
    SetColor(cr, Hex(0x2a3456), 0.8);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    if (thawing > 0) {
        for (int i = 0; i < 30; ++i) {
            double xx = r.Range(-60, 60), yy = r.Range(-170, -10);
            cairo_move_to(cr, xx, yy);
            cairo_line_to(cr, xx - 2, yy + 12);
        }
        SetColor(cr, Hex(0xd0f0ff), 0.7 * thawing);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// A letter, folded, with a red seal; held open when `open`.
void Letter(cairo_t* cr, double x, double y, double w, double tilt, bool open) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, tilt);
    const double h = open ? w * 1.25 : w * 0.62;
    cairo_rectangle(cr, -w / 2, -h / 2, w, h);
    SetColor(cr, Hex(0xf4ead0));
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x8a7050), 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (open) {
        for (double ly = -h / 2 + w * 0.18; ly < h / 2 - w * 0.1; ly += w * 0.1) {
            cairo_move_to(cr, -w * 0.38, ly);
            cairo_line_to(cr, w * 0.38 - std::fmod(ly * 7, w * 0.2), ly);
        }
        SetColor(cr, Hex(0x4a3a6a), 0.75);
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
    } else {
        cairo_move_to(cr, -w / 2, -h / 2);
        cairo_line_to(cr, 0, h * 0.1);
        cairo_line_to(cr, w / 2, -h / 2);
        SetColor(cr, Hex(0xa08a68), 0.8);
        cairo_stroke(cr);
        cairo_arc(cr, 0, h * 0.1, w * 0.08, 0, 2 * M_PI);
        SetColor(cr, Hex(0xb02a2a));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// A sack of letters, either frozen in a block of ice or held up.
void LetterSack(Canvas& c, double x, double y, double s, bool iced) {
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    for (int i = 0; i < 5; ++i) Letter(cr, -26 + i * 13, -62 - (i % 2) * 6, 24, -0.4 + i * 0.2, false);
    cairo_move_to(cr, -40, 0);
    cairo_curve_to(cr, -52, -30, -36, -58, -20, -56);
    cairo_line_to(cr, 20, -56);
    cairo_curve_to(cr, 36, -58, 52, -30, 40, 0);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(-45, 0, 45, 0);
    AddStop(g, 0, Hex(0xc8a878));
    AddStop(g, 1, Hex(0x7a5a38));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_move_to(cr, -22, -52);
    cairo_line_to(cr, 22, -52);
    SetColor(cr, Hex(0x5a3a20));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    if (iced) {
        RoundRect(cr, -70, -100, 140, 104, 8);
        cairo_pattern_t* ice = cairo_pattern_create_linear(-70, -100, 70, 4);
        AddStop(ice, 0, Hex(0xe8f8ff), 0.65);
        AddStop(ice, 0.5, Hex(0x9ad0f0), 0.35);
        AddStop(ice, 1, Hex(0x5a9ad0), 0.55);
        cairo_set_source(cr, ice);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(ice);
        SetColor(cr, Hex(0xffffff), 0.8);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        for (int i = 0; i < 4; ++i) {
            cairo_move_to(cr, -60 + i * 30, -96);
            cairo_line_to(cr, -40 + i * 30, -20);
        }
        SetColor(cr, Hex(0xffffff), 0.35);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// Tobble the archivist: a badger in a waistcoat with round glasses,
// peering over a pile of books. Stands on (x, y), s = scale (1: 120 px).
void Badger(Canvas& c, double x, double y, double s) {
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    // Body in a green waistcoat.
    Ellipse(cr, 0, -45, 38, 45.6);
    SetColor(cr, Hex(0x4a4448));
    cairo_fill(cr);
    Poly(cr, {-22, -80, 22, -80, 30, -10, -30, -10});
    SetColor(cr, Hex(0x2a6a4a));
    cairo_fill(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_arc(cr, 0, -66 + i * 18, 2.5, 0, 2 * M_PI);
        SetColor(cr, Hex(0xe8c060));
        cairo_fill(cr);
    }
    // Head: grey with the white stripes and black bands.
    Ellipse(cr, 0, -104, 30, 27);
    SetColor(cr, Hex(0xf0ede8));
    cairo_fill(cr);
    for (double sx : {-1.0, 1.0}) {
        cairo_move_to(cr, sx * 6, -130);
        cairo_curve_to(cr, sx * 14, -120, sx * 16, -100, sx * 8, -84);
        cairo_line_to(cr, sx * 18, -86);
        cairo_curve_to(cr, sx * 28, -100, sx * 26, -120, sx * 16, -130);
        cairo_close_path(cr);
        SetColor(cr, Hex(0x1a1a1e));
        cairo_fill(cr);
        cairo_arc(cr, sx * 22, -128, 7, 0, 2 * M_PI);
        SetColor(cr, Hex(0x2a2a2e));
        cairo_fill(cr);
        // Glasses.
        cairo_arc(cr, sx * 11, -104, 8, 0, 2 * M_PI);
        SetColor(cr, Hex(0xe0f0ff), 0.35);
        cairo_fill_preserve(cr);
        SetColor(cr, Hex(0xc89a30));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        cairo_arc(cr, sx * 11, -104, 2.5, 0, 2 * M_PI);
        SetColor(cr, Hex(0x101010));
        cairo_fill(cr);
    }
    cairo_move_to(cr, -3, -104);
    cairo_line_to(cr, 3, -104);
    SetColor(cr, Hex(0xc89a30));
    cairo_stroke(cr);
    cairo_arc(cr, 0, -86, 5, 0, 2 * M_PI);
    SetColor(cr, Hex(0x101010));
    cairo_fill(cr);
    cairo_restore(cr);
}

// The Quiet Crown: a ring of ice spires round an oval; back spires are
// painted before whatever stands inside, front ones after.
void IceSpires(Canvas& c, double cx, double cy, double rx, double ry, double h, bool front, uint32_t seed) {
    cairo_t* cr = c.cr;
    Rng r(seed);
    std::vector<std::pair<double, double>> spires;
    for (int i = 0; i < 22; ++i) spires.push_back({-M_PI + i * 2 * M_PI / 22 + r.Range(-0.05, 0.05), r.Range(0.6, 1.1)});
    std::sort(spires.begin(), spires.end(),
              [](const auto& p, const auto& q) { return std::sin(p.first) < std::sin(q.first); });
    for (auto [a, t] : spires) {
        bool near = std::sin(a) > 0;
        if (near != front) continue;
        double x = cx + std::cos(a) * rx, y = cy + std::sin(a) * ry;
        double hh = h * t * (0.8 + 0.3 * (std::sin(a) + 1) / 2), w = hh * 0.22;
        cairo_move_to(cr, x - w, y);
        cairo_line_to(cr, x - w * 0.15, y - hh);
        cairo_line_to(cr, x + w, y);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(x - w, 0, x + w, 0);
        AddStop(g, 0, Hex(0xf4fcff), 0.95);
        AddStop(g, 0.45, Hex(0xa8d8f4), 0.9);
        AddStop(g, 1, Hex(0x4a7aa8), 0.95);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        SetColor(cr, Hex(0xffffff), 0.5);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

// Velmora as a painted map: parchment, hills, the sea, and a road running
// from Hearthmere to the circle in the north.
void MapOfVelmora(Canvas& c, uint32_t seed) {
    cairo_t* cr = c.cr;
    WoodFill(c, 0, 0, c.w, c.h, pal::woodDark, seed);
    ParchmentSheet(c, 90, 40, 620, 330, seed + 1);
    // The sea on the right, drawn in soft blue washes.
    cairo_move_to(cr, 560, 50);
    cairo_curve_to(cr, 520, 140, 600, 220, 540, 360);
    cairo_line_to(cr, 700, 360);
    cairo_line_to(cr, 700, 50);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x5a8ab0), 0.35);
    cairo_fill(cr);
    Rng r(seed);
    // Little hills and trees in ink.
    for (int i = 0; i < 26; ++i) {
        double x = r.Range(130, 520), y = r.Range(80, 340);
        cairo_move_to(cr, x - 12, y);
        cairo_curve_to(cr, x - 6, y - 12, x + 6, y - 12, x + 12, y);
        SetColor(cr, Hex(0x6a5030), 0.6);
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
    }
    // The road, dashed, with a dot for each place.
    const double pts[][2] = {{160, 320}, {230, 290}, {300, 300}, {360, 250}, {450, 260},
                             {520, 200}, {470, 150}, {380, 140}, {300, 110}, {250, 80}};
    cairo_move_to(cr, pts[0][0], pts[0][1]);
    for (size_t i = 1; i < std::size(pts); ++i) {
        const double* p0 = pts[i - 1];
        const double* p1 = pts[i];
        cairo_curve_to(cr, (p0[0] * 2 + p1[0]) / 3, p0[1] - 15, (p0[0] + p1[0] * 2) / 3, p1[1] + 15, p1[0], p1[1]);
    }
    const double dash[] = {8, 6};
    cairo_set_dash(cr, dash, 2, 0);
    SetColor(cr, Hex(0x8a2a1a), 0.85);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (size_t i = 0; i < std::size(pts); ++i) {
        cairo_arc(cr, pts[i][0], pts[i][1], i == 0 || i + 1 == std::size(pts) ? 7 : 4.5, 0, 2 * M_PI);
        SetColor(cr, i + 1 == std::size(pts) ? Hex(0x4a6ad0) : Hex(0x6a3a1a));
        cairo_fill(cr);
    }
    // The circle in the north, and a compass rose.
    SnowSeal(cr, 250, 80, 16, Hex(0x3a5a9a), 0.8);
    Star(cr, 640, 110, 30, 8, 4);
    SetColor(cr, Hex(0x8a6a3a), 0.8);
    cairo_fill(cr);
    cairo_arc(cr, 640, 110, 6, 0, 2 * M_PI);
    SetColor(cr, Hex(0xd0a040));
    cairo_fill(cr);
    // A lantern lying on the map, lit.
    RadialGlow(cr, 180, 330, 70, Hex(0xffd080), 0.5);
}

// A clock face on a tower, hands at midnight (or chiming: golden glow).
void ClockFace(cairo_t* cr, double cx, double cy, double r, bool chiming) {
    if (chiming) RadialGlow(cr, cx, cy, r * 4, Hex(0xffd890), 0.6);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    SetColor(cr, chiming ? Hex(0xfff0c0) : Hex(0xd8d0c0));
    cairo_fill_preserve(cr);
    SetColor(cr, Hex(0x4a3a2a));
    cairo_set_line_width(cr, r * 0.12);
    cairo_stroke(cr);
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6;
        cairo_move_to(cr, cx + std::cos(a) * r * 0.75, cy + std::sin(a) * r * 0.75);
        cairo_line_to(cr, cx + std::cos(a) * r * 0.9, cy + std::sin(a) * r * 0.9);
    }
    cairo_set_line_width(cr, r * 0.08);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx, cy - r * 0.75);
    cairo_move_to(cr, cx + 1, cy);
    cairo_line_to(cr, cx + 1, cy - r * 0.55);
    cairo_set_line_width(cr, r * 0.1);
    cairo_stroke(cr);
}

// Runes scattering like birds (or rising round the apprentice): gems along
// a sweep, shrinking away.
void RuneFlight(Canvas& c, double x0, double y0, double x1, double y1, int n, double size, uint32_t seed,
                bool grey = false) {
    Rng r(seed);
    for (int i = 0; i < n; ++i) {
        double t = (i + 0.5) / n;
        double x = x0 + (x1 - x0) * t + r.Range(-30, 30), y = y0 + (y1 - y0) * t + r.Range(-25, 25);
        double s = size * (1.0 - 0.5 * t);
        const RuneClass& rc = RuneOf(1 + i % 8);
        if (grey) {
            DrawStone(c, x - s / 2, y - s / 2, s, &rc, seed + i);
        } else {
            RadialGlow(c.cr, x, y, s * 1.4, rc.hue, 0.5);
            DrawGem(c, x - s / 2, y - s / 2, s, rc, seed + i);
        }
    }
}

// A Warden fallen at the ford, its head knocked off: the body on its back
// in the shallows, an arm flung out, the legs still locked, moss over it.
// (x, y) is the middle of where it lies, s its scale (1: 150 px long).
void FallenWarden(Canvas& c, double x, double y, double s) {
    cairo_t* cr = c.cr;
    const RGB st = Hex(0x6e6a72);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    Ellipse(cr, 0, 6, 90, 12);
    SetColor(cr, Hex(0x000000), 0.22);
    cairo_fill(cr);
    auto block = [&](double bx, double by, double w, double h, double r, double rot, RGB tone) {
        cairo_save(cr);
        cairo_translate(cr, bx, by);
        cairo_rotate(cr, rot);
        RoundRect(cr, -w / 2, -h / 2, w, h, r);
        StoneFill(cr, 0, -h / 2, 0, h / 2, Lighter(tone, 0.25), tone, Darker(tone, 0.5));
        cairo_restore(cr);
    };
    block(48, -8, 34, 14, 4, 0.1, Darker(st, 0.1));    // the legs, stiff
    block(50, 4, 34, 14, 4, -0.05, Darker(st, 0.2));
    block(-8, -10, 70, 40, 12, -0.04, st);              // the body
    block(-30, -32, 44, 14, 6, -0.6, Darker(st, 0.05)); // an arm flung up
    block(-12, 12, 40, 13, 6, 0.15, Darker(st, 0.25));
    // The broken neck: a jagged stump where the head was.
    Poly(cr, {-44, -18, -50, -12, -46, -6, -51, 0, -44, 4});
    SetColor(cr, Hex(0x5a5860));
    cairo_fill(cr);
    GlyphPath(cr, F_RUNIC, RuneOf(8).glyph, 20, -12, 0);
    SetColor(cr, Hex(0x4a4850), 0.9);
    cairo_fill(cr);
    Rng r(9);
    for (int i = 0; i < 10; ++i) {
        Ellipse(cr, r.Range(-40, 60), r.Range(-30, -16), r.Range(3, 7), 2.4);
        SetColor(cr, Hex(0x4a7a3a), 0.8);
        cairo_fill(cr);
    }
    // Water lapping over its lower side.
    cairo_move_to(cr, -80, 10);
    for (int i = 0; i <= 16; ++i) cairo_line_to(cr, -80 + i * 10, 10 + (i % 2 ? -2.5 : 0.5));
    cairo_line_to(cr, 80, 22);
    cairo_line_to(cr, -80, 22);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x9a8aa8), 0.55);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A thick screen of reeds and cattails along the water, in front of what
// hides behind it; (x, y) the middle of its foot, w its width, h its height.
void ReedScreen(Canvas& c, double x, double y, double w, double h, uint32_t seed) {
    cairo_t* cr = c.cr;
    Rng r(seed);
    for (int i = 0; i < 46; ++i) {
        const double bx = x + r.Range(-w / 2, w / 2), hh = h * r.Range(0.55, 1.0), lean = r.Range(-0.25, 0.25) * hh;
        const double bw = r.Range(2.2, 4.0);
        cairo_move_to(cr, bx - bw, y);
        cairo_curve_to(cr, bx - bw * 0.6, y - hh * 0.5, bx + lean * 0.5, y - hh * 0.8, bx + lean, y - hh);
        cairo_curve_to(cr, bx + lean * 0.5 + bw * 0.3, y - hh * 0.8, bx + bw * 0.6, y - hh * 0.5, bx + bw, y);
        cairo_close_path(cr);
        const RGB blade = r.Uniform() < 0.5 ? Hex(0x3a5a34) : Hex(0x4e6a3a);
        cairo_pattern_t* g = cairo_pattern_create_linear(bx - bw, 0, bx + bw, 0);
        AddStop(g, 0, Lighter(blade, 0.35));
        AddStop(g, 1, Darker(blade, 0.35));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        if (r.Uniform() < 0.25) {
            Ellipse(cr, bx + lean * 0.92, y - hh * 0.9, 2.6, 8);
            SetColor(cr, Hex(0x5a3a22));
            cairo_fill(cr);
        }
    }
}

// A willow spirit: a small pale being of leaf and mist, willow fronds for
// hair, big shy eyes glancing to one side, holding out a rune it kept safe.
// Stands on (x, y), s = scale (1: 60 px tall); lookX < 0 glances left.
void WillowSpirit(Canvas& c, double x, double y, double s, int rune, double lookX) {
    cairo_t* cr = c.cr;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    RadialGlow(cr, 0, -32, 46, Hex(0xc8ffe0), 0.45);
    // The body: a soft drop of mist, paler where the moon falls.
    cairo_move_to(cr, -13, 0);
    cairo_curve_to(cr, -15, -18, -16, -34, -12, -44);
    cairo_curve_to(cr, -6, -56, 6, -56, 12, -44);
    cairo_curve_to(cr, 16, -34, 15, -18, 13, 0);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(-4, -40, 2, 0, -30, 30);
    AddStop(g, 0, Hex(0xf0fff4), 0.95);
    AddStop(g, 0.6, Hex(0xb0e8c8), 0.85);
    AddStop(g, 1, Hex(0x6aa888), 0.6);
    FillInked(cr, g, Hex(0x3a6a50), 0.5, 0.9);
    // Willow fronds falling from the crown, leaves along them.
    Rng r(static_cast<uint32_t>(rune * 31 + 7));
    for (int i = 0; i < 9; ++i) {
        const double a = -1 + i * 0.25, sx = a * 9, tip = (a < 0 ? -1 : 1) * (10 + std::fabs(a) * 8);
        const double len = 22 + r.Range(0, 14) - std::fabs(a) * 4;
        cairo_move_to(cr, sx * 0.4, -54);
        cairo_curve_to(cr, sx, -60, tip, -52, tip * 1.1, -54 + len);
        SetColor(cr, Hex(0x5a9a5a), 0.9);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        for (double t = 0.35; t < 1; t += 0.2) {
            const double lx = tip * (0.5 + 0.6 * t), ly = -58 + len * t;
            Ellipse(cr, lx, ly, 1.4, 3);
            SetColor(cr, t > 0.7 ? Hex(0xa8e0a0) : Hex(0x7ac07a), 0.9);
            cairo_fill(cr);
        }
    }
    // Big dark eyes with two glints each, glancing shyly aside, a blush and
    // a small smile.
    for (double ex : {-5.5, 5.5}) {
        Ellipse(cr, ex, -38, 3.4, 4.4);
        SetColor(cr, Hex(0x14281e));
        cairo_fill(cr);
        cairo_arc(cr, ex + lookX * 1.3 - 0.6, -39.6, 1.3, 0, 2 * M_PI);
        SetColor(cr, Hex(0xffffff), 0.95);
        cairo_fill(cr);
        cairo_arc(cr, ex + lookX * 1.3 + 1.0, -36.6, 0.6, 0, 2 * M_PI);
        cairo_fill(cr);
        RadialGlow(cr, ex * 1.5, -31, 4, Hex(0xf09a9a), 0.6);
    }
    cairo_move_to(cr, -2.2, -30.5);
    cairo_curve_to(cr, -1, -29.2, 1, -29.2, 2.2, -30.5);
    SetColor(cr, Hex(0x2a5a40));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    // Two small hands cupped round the rune.
    const RuneClass& rc = RuneOf(rune);
    RadialGlow(cr, 0, -19, 24, rc.hue, 0.75);
    DrawGem(c, -8, -28, 16, rc, 100 + rune);
    for (double hx : {-6.0, 6.0}) {
        Ellipse(cr, hx, -15, 3.2, 2.4);
        SetColor(cr, Hex(0xd8f8e4), 0.95);
        cairo_fill_preserve(cr);
        SetColor(cr, Hex(0x3a6a50), 0.6);
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// A drowsy "z" drifting up from a sleeper's head.
void Snore(cairo_t* cr, double x, double y, double size, double alpha) {
    TextBox b = MeasureText(F_UNCIAL, size, "z");
    for (int i = 0; i < 3; ++i) {
        const double k = 1 + i * 0.35;
        TextPath(cr, F_UNCIAL, size * k, x + i * size * 0.7 - b.x0, y - i * size * 1.1, "z");
    }
    SetColor(cr, Hex(0x5a4a6a), alpha * 0.7);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke_preserve(cr);
    SetColor(cr, Hex(0xfff8e8), alpha);
    cairo_fill(cr);
}

// The last Warden giving way: its legs and hips still stand, the rest is
// breaking into tumbling blocks that turn to snow as they fall.
void CrumblingWarden(Canvas& c, const SceneDesc& s, double fx, double depth, double scale) {
    cairo_t* cr = c.cr;
    Element w;
    w.kind = Kind::Golem;
    w.x = fx;
    w.y = scene::GroundAt(s, fx, depth);
    w.scale = scale;
    w.variant = 7;
    w.lit = false;  // the light in its eyes has gone out
    const double k = scale * c.w / 800.0, bx = fx * c.w, by = w.y * c.h;
    const double cut = by - 62 * k;  // the hips
    cairo_save(cr);
    cairo_rectangle(cr, 0, cut, c.w, c.h);
    cairo_clip(cr);
    scene::PaintElement(c, s, w);
    cairo_restore(cr);
    // The ragged break across the hips, dusted with snow.
    cairo_move_to(cr, bx - 36 * k, cut + 2);
    for (int i = 0; i <= 12; ++i) cairo_line_to(cr, bx - 36 * k + i * 6 * k, cut + (i % 2 ? -4 : 3) * k * 0.6);
    SetColor(cr, Hex(0xffffff), 0.9);
    cairo_set_line_width(cr, 3 * k);
    cairo_stroke(cr);
    // The upper body in pieces, falling apart and outwards.
    Rng r(470);
    const RGB st = Hex(0x7f7073);  // the stone as the dawn lights it
    struct Piece {
        double dx, dy, w, h, rot;
    };
    const Piece pieces[] = {{-26, -92, 26, 22, 0.5},  {14, -100, 30, 24, -0.35}, {-4, -128, 28, 24, 0.8},
                            {36, -78, 18, 30, 0.3},   {-44, -74, 16, 26, -0.4},  {8, -150, 20, 16, -0.9},
                            {-22, -150, 12, 10, 1.1}, {30, -126, 12, 12, 0.6}};
    for (const Piece& q : pieces) {
        cairo_save(cr);
        cairo_translate(cr, bx + q.dx * k, by + q.dy * k);
        cairo_rotate(cr, q.rot);
        RoundRect(cr, -q.w * k / 2, -q.h * k / 2, q.w * k, q.h * k, 4 * k);
        StoneFill(cr, 0, -q.h * k / 2, 0, q.h * k / 2, Hex(0xd8c8c8), st, Darker(st, 0.45));
        cairo_restore(cr);
        // Each piece trails a plume of snow where it is coming apart.
        for (int i = 0; i < 7; ++i) {
            const double px = bx + q.dx * k + r.Range(-14, 14) * k, py = by + q.dy * k + r.Range(-6, 18) * k;
            RadialGlow(cr, px, py, r.Range(4, 9) * k, Hex(0xffffff), 0.75);
        }
    }
    // Its head among them, eyes dark.
    cairo_save(cr);
    cairo_translate(cr, bx - 6 * k, by - 176 * k);
    cairo_rotate(cr, -0.4);
    RoundRect(cr, -16 * k, -14 * k, 32 * k, 28 * k, 8 * k);
    SetColor(cr, Lighter(st, 0.1));
    cairo_fill(cr);
    cairo_rectangle(cr, -9 * k, -4 * k, 6 * k, 3 * k);
    cairo_rectangle(cr, 4 * k, -4 * k, 6 * k, 3 * k);
    SetColor(cr, Hex(0x1a1820));
    cairo_fill(cr);
    cairo_restore(cr);
    // A drift of snow growing at its feet.
    OvalGlow(cr, bx, by - 4, 70 * k, 0.28, Hex(0xffffff), 0.95);
    for (int i = 0; i < 70; ++i) {
        const double t = r.Uniform(), px = bx + r.Range(-50, 50) * k + t * 90 * k, py = by - 190 * k * r.Uniform();
        RadialGlow(cr, px, py, (2 + 3 * (1 - t)) * k, Hex(0xffffff), 0.85 * (1 - t * 0.5));
    }
}

// Caldrin down on one knee: the standing figure sunk into the snow to the
// knee, his cloak pooled round him, both hands holding the letter open
// before his face. (x, y) is where he kneels, h his standing height.
void KneelingCaldrin(Canvas& c, double x, double y, double h) {
    cairo_t* cr = c.cr;
    const double sink = h * 0.36;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, c.w, y);
    cairo_clip(cr);
    Caldrin(c, x, y + sink, h, false, 0.15);
    cairo_restore(cr);
    // The cloak spread on the snow.
    cairo_move_to(cr, x - h * 0.3, y + 2);
    cairo_curve_to(cr, x - h * 0.3, y - h * 0.06, x - h * 0.2, y - h * 0.1, x - h * 0.16, y - h * 0.12);
    cairo_line_to(cr, x + h * 0.16, y - h * 0.12);
    cairo_curve_to(cr, x + h * 0.24, y - h * 0.08, x + h * 0.34, y - h * 0.04, x + h * 0.36, y + 2);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(x - h * 0.3, 0, x + h * 0.36, 0);
    AddStop(g, 0, Hex(0xd0dcf0));
    AddStop(g, 0.5, Hex(0x8aa0c8));
    AddStop(g, 1, Hex(0x4a5a82));
    FillInked(cr, g, Hex(0x2a3456), 0.8, 1.4);
    for (double fx : {-0.2, -0.06, 0.1, 0.24}) {
        cairo_move_to(cr, x + fx * h * 0.6, y - h * 0.11);
        cairo_curve_to(cr, x + fx * h * 0.8, y - h * 0.06, x + fx * h, y - h * 0.03, x + fx * h * 1.2, y);
    }
    SetColor(cr, Hex(0x3a4a70), 0.5);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // The raised knee under the cloak, folds falling from it.
    Ellipse(cr, x - h * 0.1, y - h * 0.1, h * 0.1, h * 0.07);
    cairo_pattern_t* kg = cairo_pattern_create_radial(x - h * 0.13, y - h * 0.14, h * 0.01, x - h * 0.1, y - h * 0.1, h * 0.11);
    AddStop(kg, 0, Hex(0xe4ecf8));
    AddStop(kg, 1, Hex(0x8aa0c8));
    cairo_set_source(cr, kg);
    cairo_fill(cr);
    cairo_pattern_destroy(kg);
    for (double fx : {-0.18, -0.1, -0.03}) {
        cairo_move_to(cr, x - h * 0.1, y - h * 0.07);
        cairo_curve_to(cr, x + fx * h, y - h * 0.04, x + fx * h * 1.2, y - h * 0.02, x + fx * h * 1.3, y + 1);
    }
    SetColor(cr, Hex(0x3a4a70), 0.5);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    OvalGlow(cr, x + h * 0.03, y + 2, h * 0.4, 0.12, Hex(0xffffff), 0.85);
    // Arms in their wide sleeves, bent up to hold the letter.
    const double face = y + sink - h * 0.86, ly = face + h * 0.2;
    for (double sx : {-1.0, 1.0}) {
        cairo_move_to(cr, x + sx * h * 0.17, face + h * 0.2);
        cairo_curve_to(cr, x + sx * h * 0.2, face + h * 0.32, x + sx * h * 0.14, ly + h * 0.1, x + sx * h * 0.1,
                       ly + h * 0.02);
        SetColor(cr, Hex(0x2a3456), 0.8);
        cairo_set_line_width(cr, h * 0.07);
        cairo_stroke_preserve(cr);
        SetColor(cr, sx < 0 ? Hex(0xb8c8e4) : Hex(0x7088b4));
        cairo_set_line_width(cr, h * 0.055);
        cairo_stroke(cr);
    }
    Letter(cr, x, ly, h * 0.19, -0.06, true);
    for (double sx : {-1.0, 1.0}) {
        Ellipse(cr, x + sx * h * 0.095, ly + h * 0.03 + sx * h * 0.006, h * 0.026, h * 0.021);
        SetColor(cr, Hex(0xe8e6ee));
        cairo_fill_preserve(cr);
        SetColor(cr, Hex(0x5a6a94), 0.8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

// ---- finishing ----------------------------------------------------------------------------------
// One page picture: its scene, and what it paints between the land and the
// placed things (back) and over them (front).
struct Page {
    SceneDesc view;
    std::function<void(Canvas&)> back, front;
    double chill = 0;  // 0..1 drains the colour towards grey (the Stonesleep's hold)
};

void Desaturate(Canvas& c, double amount) {
    if (amount <= 0) return;
    c.Flush();
    uint32_t* px = c.Pixels();
    const int n = c.Stride() * c.h;
    for (int i = 0; i < n; ++i) {
        uint32_t v = px[i];
        double r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
        double l = 0.3 * r + 0.59 * g + 0.11 * b;
        auto mix = [&](double ch, double tint) { return std::clamp(ch + (l * tint - ch) * amount, 0.0, 255.0); };
        r = mix(r, 0.95), g = mix(g, 0.98), b = mix(b, 1.08);
        px[i] = (v & 0xFF000000u) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
                static_cast<uint32_t>(b);
    }
    cairo_surface_mark_dirty(c.surface);
}

void Paint(Canvas& c, const Page& pg) {
    scene::PaintSky(c, pg.view);
    scene::PaintTerrain(c, pg.view);
    if (pg.back) pg.back(c);
    scene::PaintElements(c, pg.view);
    if (pg.front) pg.front(c);
    scene::PaintWeather(c, pg.view);
    Desaturate(c, pg.chill);
    // The same soft vignette and grain as every scene, weighted to the part
    // of the picture the frame leaves in view.
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h;
    cairo_pattern_t* g = cairo_pattern_create_radial(W / 2, H * 0.45, H * 0.45, W / 2, H * 0.45, W * 0.62);
    AddStop(g, 0, {0, 0, 0}, 0);
    AddStop(g, 1, {0, 0, 0}, 0.38);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    c.Grain(0.05, 3.0, pg.view.seed + 99, 3);
}

SceneDesc Setting(Sky sky, Terrain terrain, uint32_t seed, Weather weather = Weather::None, double horizon = 0.6) {
    SceneDesc s;
    s.sky = sky;
    s.terrain = terrain;
    s.seed = seed;
    s.weather = weather;
    s.horizon = horizon;
    return s;
}

// ---- the pictures ---------------------------------------------------------------------------------
// Numbered in the order the tale shows them (the story part files name them).
Page StoryPicture(int n) {
    Page pg;
    SceneDesc& s = pg.view;
    auto add = [&](const Element& e) { s.elements.push_back(e); };
    switch (n) {
        // Velmora sings: the circle bright above the land.
        case 1:
            s = Setting(Sky::Dawn, Terrain::Hills, 101, Weather::Sparkle, 0.55);
            s.sunX = 0.8, s.sunY = 0.25;
            add(On(s, Kind::Cottage, 0.12, 0.1, 0.8, 1));
            add(On(s, Kind::Windmill, 0.86, 0.05, 0.8));
            add(On(s, Kind::TreeRound, 0.2, 0.3, 1.2, 1));
            add(On(s, Kind::TreeRound, 0.8, 0.4, 1.4, 2));
            add(On(s, Kind::Bird, 0.7, 0.0, 1.0, 1));
            pg.back = [](Canvas& c) { StoneCircle(c, 430, 250, 190, 48, 110, true, 11); };
            break;
        // The Stonesleep comes: a pale figure over the circle, runes fleeing.
        case 2:
            s = Setting(Sky::Winter, Terrain::Hills, 102, Weather::Snow, 0.58);
            s.sunY = -1;
            s.wind = 0.6;
            add(On(s, Kind::TreeDead, 0.12, 0.3, 1.4, 1));
            add(On(s, Kind::TreeDead, 0.9, 0.25, 1.2, 2));
            pg.back = [](Canvas& c) {
                OvalGlow(c.cr, 400, 120, 260, 0.5, Hex(0xe8f4ff), 0.5);
                StoneCircle(c, 400, 270, 200, 46, 100, false, 12);
            };
            pg.front = [](Canvas& c) {
                Caldrin(c, 400, 210, 170, false);
                RuneFlight(c, 470, 150, 760, 50, 8, 30, 13);
            };
            pg.chill = 0.55;
            break;
        // Grey Hearthmere at night; Nelt with his lantern.
        case 3:
            s = Setting(Sky::Night, Terrain::Hills, 103, Weather::Mist, 0.56);
            s.sunX = 0.85, s.sunY = 0.18;
            add(On(s, Kind::Cottage, 0.14, 0.12, 1.1, 0));
            add(On(s, Kind::Cottage, 0.32, 0.05, 0.8, 1));
            add(On(s, Kind::Cottage, 0.72, 0.08, 1.0, 2));
            add(On(s, Kind::TreePine, 0.88, 0.15, 1.3));
            add(On(s, Kind::Fence, 0.3, 0.5, 1.2));
            add(Posed(On(s, Kind::Keeper, 0.52, 0.68, 2.7), Act(Mood::Sad, 0.6).Staff().Lantern(1.7)));
            pg.chill = 0.45;
            break;
        // Nelt finds the apprentice by the well.
        case 4:
            s = Setting(Sky::Night, Terrain::Hills, 104, Weather::None, 0.55);
            s.sunX = 0.2, s.sunY = 0.2;
            add(On(s, Kind::Cottage, 0.85, 0.05, 0.9, 2));
            add(On(s, Kind::TreeRound, 0.1, 0.2, 1.5, 0));
            add(On(s, Kind::Well, 0.5, 0.5, 1.8));
            // Humming with eyes shut, a rune glowing in the hand; Nelt holds
            // his lantern out to see who it is.
            add(Posed(On(s, Kind::Apprentice, 0.36, 0.68, 2.4, 1),
                      Act(Mood::Asleep, 0.25).Tilt(-0.12).Front(0.5, 1.7, Hold::Rune).Back(-0.25, -0.1)));
            add(Posed(On(s, Kind::Keeper, 0.66, 0.66, 2.5, 0, true), Act(Mood::Smile, 0.5).Staff().Lantern(1.25)));
            pg.chill = 0.25;
            break;
        // The well glows again; five spheres catch the light.
        case 5:
            s = Setting(Sky::Dawn, Terrain::Hills, 105, Weather::Sparkle, 0.55);
            add(On(s, Kind::Cottage, 0.12, 0.08, 0.9, 1));
            add(On(s, Kind::Cottage, 0.88, 0.08, 0.9, 0));
            add(On(s, Kind::Well, 0.5, 0.55, 2.0));
            add(Posed(On(s, Kind::Keeper, 0.7, 0.7, 2.2, 0, true), Act(Mood::Laugh, 0.4).Tilt(-0.15).Staff().Reach(2.5, 2.8)));
            add(Posed(On(s, Kind::Apprentice, 0.3, 0.72, 2.2, 1),
                      Act(Mood::Wonder, 0.5).Tilt(-0.2).Front(2.0, 2.5, Hold::Rune).Back(-0.3, -0.1)));
            pg.front = [](Canvas& c) {
                RadialGlow(c.cr, 400, 230, 120, Hex(0x9ad8ff), 0.6);
                const int cls[5] = {1, 2, 3, 4, 5};
                for (int i = 0; i < 5; ++i) Sphere(c, 220 + i * 90, 80 + (i % 2) * 18, 24, RuneOf(cls[i]).hue, 0.8);
            };
            break;
        // The road on a painted map.
        case 6:
            pg.back = [](Canvas& c) { MapOfVelmora(c, 106); };
            s = Setting(Sky::Day, Terrain::Hills, 106);
            break;
        // "In this cold...": setting out from the snowbound village, Nelt
        // pointing the road, the apprentice with the lantern packed.
        case 7:
            s = Setting(Sky::Winter, Terrain::Snow, 107, Weather::Snow, 0.6);
            s.sunY = -1;
            s.wind = 0.3;
            add(On(s, Kind::Cottage, 0.1, 0.05, 0.8, 0));
            add(On(s, Kind::Fence, 0.2, 0.4, 1.0, 2));
            add(On(s, Kind::TreePine, 0.9, 0.3, 1.4, 1));
            add(On(s, Kind::TreeDead, 0.78, 0.15, 1.0, 1));
            add(Posed(On(s, Kind::Keeper, 0.44, 0.7, 2.3), Act(Mood::Stern, 0.5).Staff().PointAt(1.95)));
            add(Posed(On(s, Kind::Apprentice, 0.63, 0.72, 2.2, 1), Act(Mood::Smile, -0.3).Lantern()));
            break;
        // Willowfen: grey willows over still water.
        case 8:
            s = Setting(Sky::Winter, Terrain::Marsh, 108, Weather::Mist, 0.55);
            s.sunY = -1;
            add(On(s, Kind::TreeWillow, 0.15, 0.3, 1.8, 1));
            add(On(s, Kind::TreeWillow, 0.72, 0.2, 1.5, 2));
            add(On(s, Kind::TreeWillow, 0.9, 0.45, 2.0, 3));
            add(On(s, Kind::Reeds, 0.35, 0.7, 1.6));
            add(On(s, Kind::Reeds, 0.6, 0.85, 1.8, 1));
            add(On(s, Kind::Boardwalk, 0.45, 0.5, 1.0));
            pg.chill = 0.5;
            break;
        // At the ford the Warden lies fallen, its head broken off; Nelt kneels
        // and turns its stone face in his hands, the apprentice looking on.
        case 9:
            s = Setting(Sky::Dusk, Terrain::Marsh, 109, Weather::Mist, 0.55);
            add(On(s, Kind::TreeWillow, 0.08, 0.25, 1.6, 0));
            add(On(s, Kind::TreeWillow, 0.9, 0.12, 1.2, 2));
            pg.back = [](Canvas& c) { FallenWarden(c, 215, 292, 1.3); };
            add(Posed(On(s, Kind::Keeper, 0.5, 0.8, 3.4, 0, true),
                      Act(Mood::Sad, 0.7).Tilt(0.3).Kneel().Front(0.75, 1.75, Hold::Mask).Back(0.85, 1.65, Hold::Open)));
            add(Posed(On(s, Kind::Apprentice, 0.72, 0.8, 2.8, 0, true),
                      Act(Mood::Wonder, 0.45).Tilt(0.12).Front(0.5, 1.1, Hold::Open).Back(-0.25, 0.1)));
            add(On(s, Kind::Reeds, 0.93, 0.96, 1.8, 2));
            pg.chill = 0.3;
            break;
        // Shy willow spirits peek from the reeds, each holding out a rune it
        // kept safe; the apprentice kneels at the water to take them.
        case 10:
            s = Setting(Sky::Night, Terrain::Marsh, 110, Weather::Sparkle, 0.52);
            s.sunX = 0.2;
            add(On(s, Kind::TreeWillow, 0.86, 0.2, 1.8, 4));
            add(On(s, Kind::TreeWillow, 0.56, 0.04, 1.1, 1));
            add(Posed(On(s, Kind::Apprentice, 0.19, 0.8, 3.1, 1),
                      Act(Mood::Wonder, 0.55).Tilt(0.08).Kneel().Reach(1.05, 1.8).Back(-0.2, 0.3)));
            pg.front = [](Canvas& c) {
                ReedScreen(c, 560, 262, 420, 60, 103);
                WillowSpirit(c, 400, 330, 1.9, 3, -1);
                WillowSpirit(c, 545, 296, 1.5, 2, -1);
                WillowSpirit(c, 680, 322, 1.7, 1, -0.7);
                ReedScreen(c, 400, 346, 130, 52, 101);
                ReedScreen(c, 548, 306, 100, 40, 102);
                ReedScreen(c, 690, 340, 130, 50, 104);
                ReedScreen(c, 300, 350, 60, 50, 105);
            };
            break;
        // The Amber Downs: gold hills, every windmill still, shepherds asleep
        // beside their sleeping flock.
        case 11:
            s = Setting(Sky::Day, Terrain::Fields, 111, Weather::None, 0.52);
            s.autumn = true;
            add(On(s, Kind::Windmill, 0.14, 0.04, 1.2, 0));
            add(On(s, Kind::Windmill, 0.8, 0.02, 0.9, 1));
            for (auto [x, d, k] : {std::tuple{0.56, 0.22, 0.8}, {0.66, 0.26, 0.85}, {0.74, 0.2, 0.8}, {0.9, 0.3, 0.9}})
                add(On(s, Kind::Sheep, x, d, k, 1));
            add(On(s, Kind::Haystack, 0.33, 0.42, 1.9));
            // One leans back on the haystack, the other nods over folded arms.
            add(Posed(On(s, Kind::Villager, 0.27, 0.74, 2.6, 3),
                      Act(Mood::Asleep, 0.3).Tilt(-0.35).Lean(-0.2).Sit().Front(0.2, 1.95).Back(0.15, 1.85)));
            add(Posed(On(s, Kind::Villager, 0.6, 0.82, 2.6, 0, true),
                      Act(Mood::Asleep, 0.25).Tilt(0.45).Lean(0.1).Sit().Front(0.25, 2.0).Back(0.2, 1.9)));
            add(On(s, Kind::Sheep, 0.45, 0.75, 1.8, 1, true));
            add(On(s, Kind::Sheep, 0.79, 0.74, 1.7, 1, true));
            add(On(s, Kind::Sheep, 0.9, 0.92, 2.1, 1));
            add(On(s, Kind::Sheep, 0.1, 0.9, 2.0, 1));
            pg.front = [](Canvas& c) {
                Snore(c.cr, 236, 196, 16, 0.95);
                Snore(c.cr, 512, 206, 16, 0.95);
            };
            pg.chill = 0.3;
            break;
        // A sleeping shepherd beside a nest of violet Dusk runes.
        case 12:
            s = Setting(Sky::Dusk, Terrain::Fields, 112, Weather::Sparkle, 0.55);
            s.autumn = true;
            add(On(s, Kind::Windmill, 0.85, 0.05, 1.0, 2));
            add(On(s, Kind::Haystack, 0.2, 0.4, 1.6, 1));
            add(Posed(On(s, Kind::Villager, 0.35, 0.75, 2.0, 0),
                      Act(Mood::Asleep, 0.2).Tilt(0.4).Sit().Front(0.3, 1.6).Back(0.2, 1.4)));
            add(On(s, Kind::RuneGem, 0.52, 0.8, 1.3, 5));
            add(On(s, Kind::RuneGem, 0.57, 0.78, 1.1, 5));
            add(On(s, Kind::RuneGem, 0.55, 0.85, 1.2, 5));
            // Nelt hums to the runes, eyes shut, a hand held out to them.
            add(Posed(On(s, Kind::Keeper, 0.75, 0.72, 2.2, 0, true), Act(Mood::Asleep, 0.5).Tilt(0.15).Staff().Reach(0.9, 1.2)));
            break;
        // A standing stone carved with Caldrin's seal.
        case 13:
            s = Setting(Sky::Dusk, Terrain::Fields, 113, Weather::None, 0.6);
            s.autumn = true;
            add(On(s, Kind::Windmill, 0.15, 0.05, 0.8, 1));
            add(Posed(On(s, Kind::Keeper, 0.7, 0.72, 2.2, 0, true), Act(Mood::Stern, 0.5).Tilt(-0.1).Staff().PointAt(1.9)));
            add(Posed(On(s, Kind::Apprentice, 0.84, 0.7, 2.0, 0, true), Act(Mood::Wonder, 0.4).Tilt(-0.2)));
            pg.front = [](Canvas& c) {
                Menhir(c.cr, 400, 350, 130, 290, Hex(0x9a9288));
                SnowSeal(c.cr, 400, 170, 38, Hex(0x2a3a5a), 0.75);
                RadialGlow(c.cr, 400, 170, 70, Hex(0xc8e0ff), 0.35);
            };
            break;
        // The Mistral Coast: frozen waves, gulls hanging still.
        case 14:
            s = Setting(Sky::Winter, Terrain::Coast, 114, Weather::None, 0.5);
            s.sunY = -1;
            add(On(s, Kind::Lighthouse, 0.18, 0.1, 1.3));
            add(At(Kind::Bird, 0.55, 0.3, 1.4, 3));
            add(At(Kind::Bird, 0.66, 0.22, 1.2, 4));
            add(At(Kind::Bird, 0.78, 0.34, 1.3, 3));
            pg.front = [](Canvas& c) {
                // Waves caught mid-crash: white crests that never fall.
                Rng r(14);
                for (int i = 0; i < 6; ++i) {
                    double x = 470 + i * 55, y = 300 + r.Range(-15, 25);
                    cairo_move_to(c.cr, x - 40, y);
                    cairo_curve_to(c.cr, x - 20, y - 70, x + 30, y - 80, x + 30, y - 40);
                    cairo_curve_to(c.cr, x + 10, y - 55, x, y - 30, x + 20, y);
                    cairo_close_path(c.cr);
                    SetColor(c.cr, Hex(0xe8f4fa), 0.9);
                    cairo_fill(c.cr);
                }
            };
            pg.chill = 0.45;
            break;
        // Grey seal stones on the rocks.
        case 15:
            s = Setting(Sky::Winter, Terrain::Coast, 115, Weather::None, 0.45);
            s.sunY = -1;
            add(On(s, Kind::Rock, 0.2, 0.6, 2.4, 1));
            add(On(s, Kind::Rock, 0.8, 0.7, 2.8, 2));
            add(On(s, Kind::RuneStone, 0.35, 0.75, 2.0, 0));
            add(On(s, Kind::RuneStone, 0.5, 0.85, 2.4, 0));
            add(On(s, Kind::RuneStone, 0.64, 0.72, 1.8, 0));
            add(Posed(On(s, Kind::Keeper, 0.82, 0.9, 2.4, 0, true), Act(Mood::Stern, 0.45).Tilt(0.15).Staff().Reach(1.0, 1.2)));
            pg.front = [](Canvas& c) {
                for (auto [x, y] : {std::pair{280.0, 300.0}, std::pair{400.0, 335.0}, std::pair{512.0, 290.0}})
                    SnowSeal(c.cr, x, y - 20, 12, Hex(0xe8f0ff), 0.55);
            };
            pg.chill = 0.3;
            break;
        // Mirelle waiting on the pier beside her boat.
        case 16:
            s = Setting(Sky::Dawn, Terrain::Coast, 116, Weather::None, 0.5);
            add(On(s, Kind::Lighthouse, 0.12, 0.1, 1.1));
            add(On(s, Kind::Boardwalk, 0.55, 0.45, 1.6, 2));
            add(On(s, Kind::Boat, 0.72, 0.75, 1.8, 1));
            add(Posed(On(s, Kind::Villager, 0.5, 0.45, 2.2, 1, true), Act(Mood::Smile, 0.5).Reach(2.6, 3.0)));
            add(Posed(On(s, Kind::Keeper, 0.25, 0.75, 2.1), Act(Mood::Smile, 0.6).Staff()));
            add(Posed(On(s, Kind::Apprentice, 0.34, 0.78, 2.0), Act(Mood::Wonder, 0.6).Tilt(-0.15).Back(-0.2, 0)));
            add(At(Kind::Bird, 0.8, 0.2, 1.0, 2));
            break;
        // Mirelle's boat among the towers of sunken Ostrel.
        case 17:
        case 20:
            s = Setting(n == 17 ? Sky::Dusk : Sky::Night, Terrain::Flooded, 100 + n, Weather::None, 0.55);
            s.sunX = 0.3, s.sunY = 0.2;
            add(On(s, Kind::Tower, 0.15, 0.15, 1.3, 1));
            add(On(s, Kind::Ruin, 0.3, 0.1, 1.2, 2));
            add(On(s, Kind::Tower, 0.62, 0.05, 1.6, 2));
            add(On(s, Kind::Tower, 0.86, 0.2, 1.2, 0));
            add(On(s, Kind::Boat, 0.42, 0.72, 2.5, 0));
            // Mirelle at the stern with her steering oar, her passengers
            // looking up at the drowned towers.
            add(Posed(On(s, Kind::Villager, 0.345, 0.715, 1.9, 1), Act(Mood::Smile, 0.5).Front(0.45, 0.9).Back(0.3, 0.8)));
            add(Posed(On(s, Kind::Keeper, 0.51, 0.71, 2.0), Act(Mood::Sad, 0.5).Staff().PointAt(2.2)));
            add(Posed(On(s, Kind::Apprentice, 0.425, 0.72, 1.9), Act(Mood::Wonder, 0.6).Tilt(-0.25)));
            if (n == 20) {
                for (int i = 0; i < 4; ++i) s.elements.pop_back();
                add(On(s, Kind::Boardwalk, 0.3, 0.7, 1.5));
                add(Posed(On(s, Kind::Villager, 0.26, 0.7, 2.0, 6), Act(Mood::Laugh, 0.5).Reach(2.6, 3.1).Back(-0.3, -0.1)));
                add(On(s, Kind::Boat, 0.78, 0.8, 1.6, 1));
                pg.front = [](Canvas& c) {
                    ClockFace(c.cr, 496, 120, 22, true);
                    for (int i = 0; i < 7; ++i) RadialGlow(c.cr, 120 + i * 100, 300 + (i % 2) * 20, 40, Hex(0xffc870), 0.4);
                };
            } else {
                pg.front = [](Canvas& c) {
                    ClockFace(c.cr, 496, 120, 22, false);
                    // The steering oar trailing from Mirelle's hands into the water.
                    cairo_move_to(c.cr, 292, 236);
                    cairo_line_to(c.cr, 236, 306);
                    SetColor(c.cr, Hex(0x3a2412));
                    cairo_set_line_width(c.cr, 4);
                    cairo_stroke(c.cr);
                    Ellipse(c.cr, 234, 308, 5, 9);
                    SetColor(c.cr, Hex(0x6a4a2a));
                    cairo_fill(c.cr);
                };
                pg.chill = 0.3;
            }
            break;
        // Runes glimmering under the water like lost coins.
        case 18:
            s = Setting(Sky::Deep, Terrain::Flooded, 118, Weather::Bubbles, 0.3);
            s.sunY = -1;
            add(On(s, Kind::Ruin, 0.2, 0.2, 1.6, 1));
            add(On(s, Kind::Arch, 0.7, 0.15, 1.4, 2));
            for (int i = 0; i < 14; ++i) add(On(s, Kind::RuneGem, 0.08 + i * 0.065, 0.35 + (i * 37 % 50) / 100.0, 0.9, 1 + i % 5));
            break;
        // Mirelle points at the clock tower stuck at midnight.
        case 19:
            s = Setting(Sky::Night, Terrain::Flooded, 119, Weather::None, 0.6);
            s.sunX = 0.15, s.sunY = 0.15;
            add(On(s, Kind::Ruin, 0.2, 0.1, 1.0, 3));
            add(On(s, Kind::Tower, 0.6, 0.02, 2.0, 3));
            add(On(s, Kind::Boat, 0.3, 0.7, 2.2, 1));
            add(Posed(On(s, Kind::Villager, 0.27, 0.69, 2.0, 1), Act(Mood::Stern, 0.6).Tilt(-0.2).PointAt(2.1)));
            add(Posed(On(s, Kind::Apprentice, 0.36, 0.7, 1.8), Act(Mood::Wonder, 0.5).Tilt(-0.25)));
            pg.front = [](Canvas& c) { ClockFace(c.cr, 480, 70, 26, false); };
            pg.chill = 0.35;
            break;
        // The Glasswood: glass trees hung with Flame runes.
        case 21:
            s = Setting(Sky::Night, Terrain::Forest, 121, Weather::Sparkle, 0.58);
            s.sunX = 0.5, s.sunY = 0.15;
            for (int i = 0; i < 6; ++i) add(On(s, Kind::TreeCrystal, 0.08 + i * 0.17, 0.2 + (i % 3) * 0.15, 1.5 + (i % 2) * 0.5, i));
            add(Posed(On(s, Kind::Apprentice, 0.5, 0.82, 2.3, 1), Act(Mood::Wonder, 0.3).Tilt(-0.3).Reach(2.2, 2.6)));
            add(Posed(On(s, Kind::Keeper, 0.4, 0.8, 2.4), Act(Mood::Smile, 0.4).Tilt(-0.2).Staff()));
            pg.front = [](Canvas& c) {
                Rng r(21);
                for (int i = 0; i < 12; ++i) {
                    double x = r.Range(60, 740), y = r.Range(70, 200), sz = r.Range(14, 20);
                    RadialGlow(c.cr, x, y, sz * 1.6, RuneOf(6).hue, 0.6);
                    DrawGem(c, x - sz / 2, y - sz / 2, sz, RuneOf(6), 200 + i);
                }
            };
            break;
        // Two names carved in a frosted glass trunk.
        case 22:
            s = Setting(Sky::Winter, Terrain::Forest, 122, Weather::Snow, 0.62);
            s.sunY = -1;
            add(On(s, Kind::TreeCrystal, 0.15, 0.2, 1.4, 1));
            add(On(s, Kind::TreeCrystal, 0.85, 0.25, 1.6, 2));
            add(Posed(On(s, Kind::Keeper, 0.72, 0.8, 2.3, 0, true), Act(Mood::Sad, 0.6).Staff().Reach(1.4, 1.6)));
            pg.front = [](Canvas& c) {
                cairo_t* cr = c.cr;
                // A wide glass trunk filling the middle, frosted round the names.
                cairo_rectangle(cr, 320, 0, 150, 381);
                cairo_pattern_t* g = cairo_pattern_create_linear(320, 0, 470, 0);
                AddStop(g, 0, Hex(0xe0f4ff), 0.75);
                AddStop(g, 0.5, Hex(0x9ad0f0), 0.5);
                AddStop(g, 1, Hex(0x5a8ab8), 0.8);
                cairo_set_source(cr, g);
                cairo_fill(cr);
                cairo_pattern_destroy(g);
                OvalGlow(cr, 395, 180, 70, 1.2, Hex(0xffffff), 0.6);
                for (auto [text, y] : {std::pair{"Caldrin", 160.0}, std::pair{"Liss", 205.0}}) {
                    TextBox b = MeasureText(F_UNCIAL, 30, text);
                    TextPath(cr, F_UNCIAL, 30, 395 - b.Width() / 2 - b.x0, y, text);
                    SetColor(cr, Hex(0x2a4a6a), 0.85);
                    cairo_fill(cr);
                }
                cairo_move_to(cr, 350, 220);
                cairo_curve_to(cr, 370, 240, 420, 240, 440, 220);
                SetColor(cr, Hex(0x2a4a6a), 0.7);
                cairo_set_line_width(cr, 2);
                cairo_stroke(cr);
            };
            break;
        // The Lantern Steppe: a road lined with dark lanterns.
        case 23:
            s = Setting(Sky::Dusk, Terrain::Steppe, 123, Weather::None, 0.55);
            for (int i = 0; i < 6; ++i) {
                Element e = On(s, Kind::Lantern, 0.5 + (i % 2 ? 1 : -1) * (0.06 + i * 0.07), 0.1 + i * 0.17, 0.8 + i * 0.3);
                e.lit = false;
                add(e);
            }
            add(Posed(On(s, Kind::Keeper, 0.46, 0.85, 2.4), Act(Mood::Sad, 0.5).Staff().Lantern()));
            add(Posed(On(s, Kind::Apprentice, 0.59, 0.86, 2.3), Act(Mood::Calm, 0.6).Walk()));
            pg.chill = 0.3;
            break;
        // Nelt lights a lantern with a rune as he talks.
        case 24:
            s = Setting(Sky::Night, Terrain::Steppe, 124, Weather::None, 0.55);
            s.sunX = 0.85;
            for (int i = 0; i < 3; ++i) {
                Element e = On(s, Kind::Lantern, 0.15 + i * 0.12, 0.1 + i * 0.08, 1.0);
                e.lit = false;
                add(e);
            }
            add(On(s, Kind::Lantern, 0.56, 0.6, 2.2));
            // Nelt tells of the Rose as he lights a lantern from a rune.
            add(Posed(On(s, Kind::Keeper, 0.65, 0.72, 2.4, 0, true),
                      Act(Mood::Smile, 0.5).Staff().Front(1.5, 2.0, Hold::Rune).Holding(8)));
            add(Posed(On(s, Kind::Apprentice, 0.42, 0.74, 2.2, 0), Act(Mood::Smile, 0.6).Back(0.3, 1.6)));
            pg.front = [](Canvas& c) { RadialGlow(c.cr, 442, 190, 150, Hex(0xffc870), 0.35); };
            break;
        // Liss's sail leaves the harbour in autumn; Caldrin watches.
        case 25:
            s = Setting(Sky::Dusk, Terrain::Coast, 125, Weather::Leaves, 0.5);
            s.autumn = true;
            add(On(s, Kind::TreeRound, 0.1, 0.4, 1.5, 11));
            add(On(s, Kind::Boardwalk, 0.35, 0.5, 1.4));
            add(At(Kind::Boat, 0.72, 0.56, 1.0, 1));
            pg.front = [](Canvas& c) { Caldrin(c, 250, 300, 130, true); };
            break;
        // The Frostmarch: snow hanging in the air.
        case 26:
            s = Setting(Sky::Winter, Terrain::Snow, 126, Weather::Snow, 0.58);
            s.sunY = -1;
            add(On(s, Kind::TreePine, 0.12, 0.3, 1.6, 1));
            add(On(s, Kind::TreePine, 0.22, 0.2, 1.2, 1));
            add(On(s, Kind::TreePine, 0.85, 0.4, 1.8, 1));
            add(Posed(On(s, Kind::Keeper, 0.49, 0.78, 2.3), Act(Mood::Wonder, 0.4).Tilt(-0.25).Staff().Reach(1.2, 1.6)));
            add(Posed(On(s, Kind::Apprentice, 0.64, 0.8, 2.2, 1), Act(Mood::Smile, 0.2).Tilt(-0.3).Reach(2.3, 2.7)));
            pg.front = [](Canvas& c) {
                Rng r(26);
                for (int i = 0; i < 40; ++i) {
                    double x = r.Range(30, 770), y = r.Range(30, 240);
                    RadialGlow(c.cr, x, y, 6, Hex(0xffffff), 0.8);
                }
            };
            break;
        // A hut behind a frozen waterfall, a fire laid but unlit.
        case 27:
            s = Setting(Sky::Winter, Terrain::Mountains, 127, Weather::None, 0.6);
            s.sunY = -1;
            add(On(s, Kind::Cottage, 0.55, 0.35, 1.5, 2));
            add(On(s, Kind::TreePine, 0.2, 0.4, 1.5, 1));
            add(Posed(On(s, Kind::Keeper, 0.78, 0.75, 2.2, 0, true), Act(Mood::Smile, 0.5).Staff().Reach(1.1, 1.4)));
            pg.back = [](Canvas& c) {
                cairo_t* cr = c.cr;
                // The frozen fall: ice pouring down the cliff, stopped.
                cairo_move_to(cr, 220, 40);
                cairo_curve_to(cr, 200, 150, 240, 240, 210, 300);
                cairo_line_to(cr, 380, 300);
                cairo_curve_to(cr, 350, 240, 390, 150, 370, 40);
                cairo_close_path(cr);
                cairo_pattern_t* g = cairo_pattern_create_linear(220, 0, 380, 0);
                AddStop(g, 0, Hex(0xf0faff), 0.95);
                AddStop(g, 0.5, Hex(0xa8d8f0), 0.9);
                AddStop(g, 1, Hex(0x6a9ac0), 0.95);
                cairo_set_source(cr, g);
                cairo_fill(cr);
                cairo_pattern_destroy(g);
                for (int i = 0; i < 8; ++i) {
                    cairo_move_to(cr, 230 + i * 18, 50);
                    cairo_curve_to(cr, 225 + i * 18, 150, 240 + i * 18, 220, 228 + i * 18, 295);
                }
                SetColor(cr, Hex(0xffffff), 0.45);
                cairo_set_line_width(cr, 2);
                cairo_stroke(cr);
            };
            break;
        // Stone Wardens marching through the snow.
        case 28:
            s = Setting(Sky::Winter, Terrain::Snow, 128, Weather::Snow, 0.5);
            s.sunY = -1;
            for (int i = 0; i < 5; ++i) add(On(s, Kind::Golem, 0.2 + i * 0.15, 0.15 + i * 0.12, 0.8 + i * 0.2, i));
            pg.chill = 0.2;
            break;
        // Emberpeak's cold forge.
        case 29:
        case 31:
            s = Setting(n == 29 ? Sky::Night : Sky::Ember, Terrain::Volcano, 100 + n,
                     n == 29 ? Weather::None : Weather::Embers, 0.6);
            add(On(s, Kind::Ruin, 0.7, 0.2, 1.6, 4));
            add(On(s, Kind::Tower, 0.9, 0.1, 1.0, 1));
            pg.front = [n](Canvas& c) {
                cairo_t* cr = c.cr;
                // Furnace mouth and anvil.
                RoundRect(cr, 420, 200, 160, 130, 20);
                SetColor(cr, Hex(0x3a3034));
                cairo_fill(cr);
                cairo_arc(cr, 500, 275, 42, M_PI, 2 * M_PI);
                cairo_line_to(cr, 542, 330);
                cairo_line_to(cr, 458, 330);
                cairo_close_path(cr);
                SetColor(cr, n == 29 ? Hex(0x151215) : Hex(0xffa030));
                cairo_fill(cr);
                if (n == 31) {
                    RadialGlow(cr, 500, 300, 160, Hex(0xff8020), 0.7);
                    RadialGlow(c.cr, 380, 250, 50, RuneOf(1).hue, 0.8);
                    DrawGem(c, 362, 232, 36, RuneOf(1), 31);
                }
                Poly(cr, {220, 300, 330, 300, 310, 318, 290, 318, 295, 350, 255, 350, 260, 318, 240, 318});
                SetColor(cr, Hex(0x4a4650));
                cairo_fill(cr);
            };
            if (n == 31) {
                add(Posed(On(s, Kind::Keeper, 0.2, 0.8, 2.0), Act(Mood::Smile, 0.5).Staff().PointAt(1.5)));
                add(Posed(On(s, Kind::Apprentice, 0.36, 0.82, 1.9, 1),
                          Act(Mood::Stern, 0.6).Front(1.6, 2.1, Hold::Rune).Holding(1)));
            } else {
                pg.chill = 0.4;
            }
            break;
        // Half-carved Wardens in a dark hall, one per colour.
        case 30:
            s = Setting(Sky::Ember, Terrain::Ruins, 130, Weather::None, 0.5);
            s.sunY = -1;
            for (int i = 0; i < 6; ++i) add(On(s, Kind::Golem, 0.12 + i * 0.155, 0.35 + (i % 2) * 0.15, 1.0, i));
            pg.front = [](Canvas& c) {
                for (int i = 0; i < 6; ++i) RadialGlow(c.cr, 96 + i * 124, 200, 70, RuneOf(1 + i).hue, 0.45);
            };
            break;
        // The Sunken Library under the frozen lake.
        case 32:
            s = Setting(Sky::Deep, Terrain::Ruins, 132, Weather::Bubbles, 0.4);
            s.sunY = -1;
            for (int i = 0; i < 5; ++i) add(On(s, Kind::Bookshelf, 0.1 + i * 0.2, 0.2, 1.6, i));
            add(On(s, Kind::Lantern, 0.3, 0.6, 1.4, 0));
            add(On(s, Kind::Lantern, 0.7, 0.6, 1.4, 0));
            add(Posed(On(s, Kind::Keeper, 0.44, 0.85, 2.4), Act(Mood::Wonder, 0.5).Tilt(-0.2).Staff().Lantern(1.8)));
            add(Posed(On(s, Kind::Apprentice, 0.61, 0.86, 2.3, 1), Act(Mood::Wonder, 0.4).Tilt(-0.25)));
            for (Element& e : s.elements)
                if (e.kind == Kind::Lantern) e.lit = false;
            break;
        // Tobble over his books.
        case 33:
            s = Setting(Sky::Deep, Terrain::Ruins, 133, Weather::None, 0.35);
            s.sunY = -1;
            add(On(s, Kind::Bookshelf, 0.15, 0.1, 1.8, 1));
            add(On(s, Kind::Bookshelf, 0.85, 0.1, 1.8, 2));
            add(On(s, Kind::Lantern, 0.68, 0.5, 1.4));
            pg.front = [](Canvas& c) {
                Badger(c, 400, 330, 1.7);
                // The pile of books he peers over.
                for (int i = 0; i < 6; ++i) {
                    const double x = 300 + (i % 2) * 12, y = 330 - i * 16, w = 200 - (i % 3) * 10;
                    const RGB cover = i % 3 == 0 ? Hex(0x7a2a2a) : (i % 3 == 1 ? Hex(0x2a4a7a) : Hex(0x4a6a2a));
                    RoundRect(c.cr, x, y, w, 16, 2);
                    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + 16);
                    AddStop(g, 0, Lighter(cover, 0.25));
                    AddStop(g, 1, Darker(cover, 0.35));
                    cairo_set_source(c.cr, g);
                    cairo_fill(c.cr);
                    cairo_pattern_destroy(g);
                    // Pages showing at the fore-edge, and a gilt band on the spine.
                    cairo_rectangle(c.cr, x + w - 8, y + 3, 6, 10);
                    SetColor(c.cr, Hex(0xeee0c0));
                    cairo_fill(c.cr);
                    cairo_rectangle(c.cr, x + 14, y + 2, 4, 12);
                    SetColor(c.cr, pal::gold, 0.9);
                    cairo_fill(c.cr);
                }
                RadialGlow(c.cr, 540, 220, 120, Hex(0xffd080), 0.35);
            };
            break;
        // The sack of Liss's letters frozen in ice.
        case 34:
            s = Setting(Sky::Deep, Terrain::Ruins, 134, Weather::None, 0.35);
            s.sunY = -1;
            add(On(s, Kind::Bookshelf, 0.12, 0.1, 1.6, 3));
            add(Posed(On(s, Kind::Keeper, 0.78, 0.75, 2.3, 0, true), Act(Mood::Sad, 0.55).Tilt(0.2).Staff().Reach(1.1, 1.3)));
            pg.front = [](Canvas& c) {
                Badger(c, 620, 345, 1.0);
                LetterSack(c, 360, 330, 2.0, true);
                RadialGlow(c.cr, 360, 230, 150, Hex(0xc8f0ff), 0.3);
            };
            break;
        // The observatory on the Starfall Heights; Velmora waking below.
        case 35:
            s = Setting(Sky::Violet, Terrain::Mountains, 135, Weather::Starfall, 0.62);
            add(On(s, Kind::Observatory, 0.72, 0.2, 1.5));
            add(Posed(On(s, Kind::Keeper, 0.29, 0.82, 2.4), Act(Mood::Smile, 0.4).Staff()));
            add(Posed(On(s, Kind::Apprentice, 0.41, 0.84, 2.3, 1), Act(Mood::Laugh, -0.4).PointAt(1.3).Back(-0.2, 0)));
            pg.back = [](Canvas& c) {
                Rng r(35);
                for (int i = 0; i < 8; ++i)
                    OvalGlow(c.cr, r.Range(60, 740), r.Range(230, 260), r.Range(30, 60), 0.3, RuneOf(1 + i).hue, 0.35);
            };
            break;
        // A star cools into the seventh rune, Frost, in the apprentice's palm.
        case 36:
            s = Setting(Sky::Night, Terrain::Mountains, 136, Weather::Starfall, 0.65);
            s.sunY = -1;
            add(On(s, Kind::Observatory, 0.15, 0.15, 1.1));
            add(Posed(On(s, Kind::Apprentice, 0.5, 0.85, 2.8, 1), Act(Mood::Wonder, 0.5).Tilt(0.2).Reach(1.2, 2.2)));
            pg.front = [](Canvas& c) {
                cairo_move_to(c.cr, 700, 30);
                cairo_line_to(c.cr, 470, 222);
                SetColor(c.cr, Hex(0xe0f8ff), 0.5);
                cairo_set_line_width(c.cr, 3);
                cairo_stroke(c.cr);
                // The star comes to rest on the apprentice's open palm.
                RadialGlow(c.cr, 466, 234, 90, RuneOf(7).hue, 0.8);
                DrawGem(c, 450, 214, 32, RuneOf(7), 36);
            };
            break;
        // Far north: the circle inside its crown of ice.
        case 37:
        case 41:
            s = Setting(n == 37 ? Sky::Night : Sky::Winter, Terrain::Snow, 100 + n, Weather::None, 0.6);
            if (n == 41) s.sunY = -1;
            pg.back = [n](Canvas& c) {
                double k = n == 37 ? 0.55 : 1.0, cy = n == 37 ? 250 : 300;
                IceSpires(c, 400, cy, 250 * k, 55 * k, 200 * k, false, 37);
                StoneCircle(c, 400, cy, 150 * k, 34 * k, 70 * k, false, 37);
                // The near spires stay low, so the sleeping circle shows between them.
                IceSpires(c, 400, cy, 250 * k, 55 * k, (n == 37 ? 200 : 90) * k, true, 37);
            };
            if (n == 37) {
                add(Posed(On(s, Kind::Keeper, 0.15, 0.85, 2.3), Act(Mood::Stern, 0.6).Staff().PointAt(2.05)));
                add(Posed(On(s, Kind::Apprentice, 0.3, 0.86, 2.2, 1), Act(Mood::Wonder, 0.6).Lantern()));
            }
            pg.chill = 0.3;
            break;
        // The violet Dusk Gate and its great Wardens.
        case 38:
        case 40:
            s = Setting(Sky::Violet, n == 38 ? Terrain::Mountains : Terrain::Snow, 100 + n,
                     n == 40 ? Weather::Snow : Weather::None, 0.66);
            add(On(s, Kind::Gate, 0.5, 0.2, 0.85));
            if (n == 38) {
                add(On(s, Kind::Golem, 0.25, 0.5, 1.5, 4));
                add(On(s, Kind::Golem, 0.75, 0.5, 1.5, 3, true));
                add(Posed(On(s, Kind::Keeper, 0.43, 0.93, 2.1), Act(Mood::Stern, 0.3).Tilt(-0.2).Staff()));
                add(Posed(On(s, Kind::Apprentice, 0.55, 0.94, 2.0, 1), Act(Mood::Stern, 0.2).Tilt(-0.2).Front(1.8, 2.4, Hold::Rune)));
            } else {
                add(Posed(On(s, Kind::Apprentice, 0.5, 0.88, 2.3, 1), Act(Mood::Calm, 0.6).Lantern(1.6)));
                add(Posed(On(s, Kind::Keeper, 0.39, 0.86, 2.3), Act(Mood::Tired, 0.5).Staff().Walk()));
                pg.chill = 0.25;
            }
            break;
        // Nelt, tired, leans on the apprentice, who holds the lantern.
        case 39:
            s = Setting(Sky::Violet, Terrain::Snow, 139, Weather::Snow, 0.58);
            add(On(s, Kind::TreeDead, 0.15, 0.3, 1.4));
            // The apprentice leads with the lantern, looking back; Nelt
            // leans on the apprentice's shoulder.
            add(Posed(On(s, Kind::Keeper, 0.49, 0.75, 2.5), Act(Mood::Tired, 0.5).Tilt(0.15).Lean(0.12).Staff().Front(1.45, 1.75)));
            add(Posed(On(s, Kind::Apprentice, 0.57, 0.77, 2.3, 1), Act(Mood::Smile, -0.45).Lantern(1.5)));
            break;
        // Caldrin waits in the Quiet Crown.
        case 42:
        case 43:
            s = Setting(Sky::Winter, Terrain::Snow, 100 + n, Weather::Snow, 0.6);
            s.sunY = -1;
            pg.back = [](Canvas& c) { IceSpires(c, 400, 260, 360, 50, 200, false, 42); };
            pg.front = [n](Canvas& c) {
                Caldrin(c, n == 42 ? 420 : 560, 345, 260, n == 43);
                if (n == 43) LetterSack(c, 318, 204, 0.75, false);
            };
            if (n == 43) {
                add(Posed(On(s, Kind::Apprentice, 0.33, 0.85, 2.6, 0), Act(Mood::Stern, 0.6).Tilt(-0.15).Reach(2.3, 2.6)));
                add(Posed(On(s, Kind::Keeper, 0.15, 0.8, 2.4), Act(Mood::Sad, 0.6).Staff()));
            }
            pg.chill = 0.3;
            break;
        // Three Wardens round the Rose rune in the circle.
        case 44:
            s = Setting(Sky::Night, Terrain::Snow, 144, Weather::None, 0.62);
            s.sunY = -1;
            pg.back = [](Canvas& c) {
                IceSpires(c, 400, 270, 360, 60, 150, false, 44);
                StoneCircle(c, 400, 280, 230, 50, 70, false, 44);
                RadialGlow(c.cr, 400, 230, 80, RuneOf(8).hue, 0.8);
                DrawGem(c, 380, 210, 40, RuneOf(8), 44);
            };
            add(On(s, Kind::Golem, 0.25, 0.55, 1.3, 0));
            add(On(s, Kind::Golem, 0.75, 0.55, 1.3, 5, true));
            add(On(s, Kind::Golem, 0.5, 0.8, 1.5, 7));
            break;
        // Nelt's hand on the apprentice's shoulder.
        case 45:
            s = Setting(Sky::Dawn, Terrain::Snow, 145, Weather::None, 0.6);
            s.sunX = 0.5, s.sunY = 0.5;
            pg.back = [](Canvas& c) {
                IceSpires(c, 400, 250, 300, 40, 120, false, 45);
                IceSpires(c, 400, 250, 300, 40, 120, true, 45);
            };
            // Nelt squeezes the apprentice's hand, the two looking at each other.
            add(Posed(On(s, Kind::Apprentice, 0.455, 0.85, 3.2, 1), Act(Mood::Calm, 0.6).Tilt(-0.15).Front(0.3, 0.75, Hold::Open)));
            add(Posed(On(s, Kind::Keeper, 0.585, 0.83, 3.3, 0, true), Act(Mood::Smile, 0.6).Tilt(0.15).Staff().Front(0.3, 0.7, Hold::Open)));
            break;
        // Into the circle; runes rise round the apprentice.
        case 46:
            s = Setting(Sky::Night, Terrain::Snow, 146, Weather::Sparkle, 0.6);
            s.sunY = -1;
            pg.back = [](Canvas& c) { StoneCircle(c, 400, 290, 260, 50, 100, false, 46); };
            add(Posed(On(s, Kind::Apprentice, 0.5, 0.8, 2.6, 1),
                      Act(Mood::Wonder, 0.1).Tilt(-0.15).Reach(1.9, 2.2).Back(-1.9, -2.2, Hold::Open)));
            pg.front = [](Canvas& c) {
                for (int i = 0; i < 8; ++i) {
                    double a = i * M_PI / 4;
                    double x = 400 + std::cos(a) * 140, y = 200 + std::sin(a) * 60;
                    RadialGlow(c.cr, x, y, 30, RuneOf(1 + i).hue, 0.6);
                    DrawGem(c, x - 13, y - 13, 26, RuneOf(1 + i), 460 + i);
                }
            };
            break;
        // The last Warden crumbles into snow; the Rose rune glows warm and
        // bright; Caldrin kneels in the snow and opens the first letter.
        case 47:
            s = Setting(Sky::Dawn, Terrain::Snow, 147, Weather::Snow, 0.6);
            pg.back = [](Canvas& c) { StoneCircle(c, 400, 290, 260, 50, 80, false, 47); };
            pg.front = [s](Canvas& c) {
                cairo_t* cr = c.cr;
                CrumblingWarden(c, s, 0.24, 0.62, 1.35);
                // The Rose rune: a warm sun of its own over the circle.
                RadialGlow(cr, 420, 170, 190, Hex(0xffc890), 0.55);
                RadialGlow(cr, 420, 170, 110, RuneOf(8).hue, 0.85);
                for (int i = 0; i < 14; ++i) {
                    const double a = i * M_PI / 7 + 0.1, r0 = 40, r1 = i % 2 ? 95 : 130;
                    cairo_move_to(cr, 420 + std::cos(a - 0.05) * r0, 170 + std::sin(a - 0.05) * r0);
                    cairo_line_to(cr, 420 + std::cos(a) * r1, 170 + std::sin(a) * r1);
                    cairo_line_to(cr, 420 + std::cos(a + 0.05) * r0, 170 + std::sin(a + 0.05) * r0);
                    cairo_close_path(cr);
                }
                SetColor(cr, Hex(0xffe8c0), 0.35);
                cairo_fill(cr);
                DrawGem(c, 392, 142, 56, RuneOf(8), 47);
                KneelingCaldrin(c, 620, 356, 280);
            };
            break;
        // Caldrin reads; his frost melts into spring rain.
        case 48:
            s = Setting(Sky::Dawn, Terrain::Hills, 148, Weather::Rain, 0.62);
            s.sunX = 0.8, s.sunY = 0.3;
            add(On(s, Kind::Flowers, 0.2, 0.6, 1.5, 1));
            add(On(s, Kind::Flowers, 0.75, 0.7, 1.5, 2));
            pg.back = [](Canvas& c) { IceSpires(c, 400, 250, 380, 40, 80, false, 48); };
            pg.front = [](Canvas& c) {
                Caldrin(c, 400, 350, 280, false, 1.0);
                Letter(c.cr, 400, 200, 46, -0.1, true);
            };
            break;
        // Velmora in full colour; a white sail on the horizon.
        case 49:
            s = Setting(Sky::Day, Terrain::Coast, 149, Weather::None, 0.5);
            s.sunX = 0.8, s.sunY = 0.2;
            add(On(s, Kind::Windmill, 0.12, 0.05, 0.9));
            add(On(s, Kind::Cottage, 0.22, 0.1, 0.8, 1));
            add(On(s, Kind::Mill, 0.33, 0.2, 0.9));
            add(On(s, Kind::TreeRound, 0.06, 0.4, 1.6, 1));
            add(On(s, Kind::Flowers, 0.25, 0.8, 2.0));
            add(At(Kind::Boat, 0.8, 0.5, 0.6, 1));
            add(At(Kind::Bird, 0.6, 0.25, 1.0, 1));
            pg.front = [](Canvas& c) { RadialGlow(c.cr, 640, 190, 60, Hex(0xffffff), 0.5); };
            break;
        // The festival: the whole land at the circle; Nelt hands over his lantern.
        case 50:
            s = Setting(Sky::Night, Terrain::Hills, 150, Weather::Sparkle, 0.52);
            s.sunX = 0.85, s.sunY = 0.15;
            pg.back = [](Canvas& c) { StoneCircle(c, 400, 235, 240, 40, 90, true, 50); };
            add(On(s, Kind::Bunting, 0.5, 0.0, 1.8));
            add(On(s, Kind::Villager, 0.12, 0.5, 1.8, 5));
            add(On(s, Kind::Villager, 0.2, 0.55, 1.7, 6));
            add(On(s, Kind::Villager, 0.82, 0.52, 1.8, 7));
            add(On(s, Kind::Villager, 0.9, 0.56, 1.7, 8));
            // Nelt hands over his lantern; the apprentice reaches for it.
            add(Posed(On(s, Kind::Keeper, 0.56, 0.8, 2.4, 0, true), Act(Mood::Smile, 0.5).Tilt(0.1).Staff().Lantern(1.15)));
            add(Posed(On(s, Kind::Apprentice, 0.44, 0.82, 2.3, 1), Act(Mood::Laugh, 0.5).Reach(1.1, 1.5)));
            pg.front = [](Canvas& c) { Badger(c, 700, 370, 0.7); };
            break;
        default:
            break;
    }
    return pg;
}

constexpr int kPictures = 50;

// ---- recipes ------------------------------------------------------------------------------------------
void Story(std::vector<Recipe>& out) {
    Frame(out);
    // The pictures are painted by the scene library too: its source is an
    // input, so a change there remakes them (the builder's module digest
    // covers only this file and the shared kit).
    const std::string library = (std::filesystem::path(QAB_SOURCE_DIR) / "scenekit.cpp").string();
    for (int n = 1; n <= kPictures; ++n) {
        std::string path = "gfx/story/pic-" + Two(n) + ".jpg";
        Recipe r = Picture(path, [n, path](Context& ctx) {
            Canvas c(kPicW, kPicH);
            Paint(c, StoryPicture(n));
            c.Opaque({0, 0, 0});
            ctx.Jpeg(c, path, 88);
        });
        if (std::filesystem::exists(library)) r.inputs.push_back(library);
        out.push_back(std::move(r));
    }
}

}  // namespace

QAB_RECIPES(Story);

}  // namespace qab
