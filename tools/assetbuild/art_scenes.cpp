// Full-screen pictures and large panels: title, loading, hiscores, credits,
// puzzle background, tally doors, gallery frame, level backgrounds and the
// logo. The map is drawn in art_map.cpp, the ring game in art_ring.cpp, the
// story pages in art_story.cpp, help pages and popup pictures in art_help.cpp.
//
// Index: helpers · title and loading · tally · puzzle · gallery · slides
#include <cmath>
#include <cstdio>
#include <sstream>

#include "artkit.h"
#include "builder.h"
#include "scenekit.h"

namespace qab {
namespace {

scene::SceneDesc SlideScene(int n);
scene::SceneDesc BackdropScene(int n);

// A colour ramp from (x0, y0) to (x1, y1) over the current path, which is
// used up unless kept for a stroke after it.
struct Stop {
    double at;
    RGB colour;
    double alpha = 1.0;
};
void RampFill(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops,
              bool keepPath = false) {
    cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
    for (const Stop& st : stops) AddStop(g, st.at, st.colour, st.alpha);
    cairo_set_source(cr, g);
    keepPath ? cairo_fill_preserve(cr) : cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// The finish the board's screens have and a bare scene lacks: a pool of
// light where the screen's panel or text stands, the foreground falling into
// shade (the eye reads that as depth), darker corners, and a fine grain so
// flat fills read as painted.
struct Finish {
    double lightX = 400, lightY = 300, lightR = 360;
    RGB light = {1.0, 0.86, 0.6};
    double lightAlpha = 0.22;
    double ground = 0.4;    // shade over the lowest quarter
    double vignette = 0.5;  // at the corners
};

void ApplyFinish(Canvas& c, const Finish& f, uint32_t seed) {
    cairo_t* cr = c.cr;
    const double W = c.w, H = c.h;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SCREEN);
    RadialGlow(cr, f.lightX, f.lightY, f.lightR, f.light, f.lightAlpha);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, H * 0.7, 0, H);
    AddStop(g, 0, {0, 0, 0}, 0);
    AddStop(g, 1, Hex(0x05040c), f.ground);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    g = cairo_pattern_create_radial(W / 2, H * 0.48, H * 0.42, W / 2, H * 0.48, W * 0.68);
    AddStop(g, 0, {0, 0, 0}, 0);
    AddStop(g, 1, Hex(0x04030a), f.vignette);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    c.Grain(0.06, 2.5, seed + 41, 3);
}

// A full-screen backdrop from the scene library, veiled so panels and text
// stand out on it, and finished.
void Backdrop(std::vector<Recipe>& out, const std::string& path, int which, double darken,
              const Finish& finish = Finish{}, void (*extra)(Canvas&) = nullptr) {
    out.push_back(Picture(path, [=](Context& ctx) {
        Canvas c(800, 600);
        scene::PaintScene(c, BackdropScene(which));
        if (darken > 0) Darken(c, darken);
        ApplyFinish(c, finish, ctx.seed);
        if (extra) extra(c);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, path, 88);
    }));
}

// The loading screen's caption (centred on 400,400), its five lamps (on
// y 455, x 220..580) and then the maker's name (243..599 x 432..542) stand
// on a velvet ribbon, not loose on the scene.
void LoadingRibbon(Canvas& c, uint32_t seed) {
    const double top = 362, bottom = 552;
    Canvas rib(c.w, c.h);
    cairo_t* cr = rib.cr;
    auto outline = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, 160, top);
        cairo_curve_to(cr, 300, top - 8, 500, top - 8, 640, top);
        cairo_line_to(cr, 640, bottom);
        cairo_curve_to(cr, 500, bottom + 8, 300, bottom + 8, 160, bottom);
        cairo_close_path(cr);
    };
    // Velvet, lit where the caption stands, with its own nap.
    outline();
    RampFill(cr, 0, top, 0, bottom, {{0, Hex(0x261850), 0.94}, {1, Hex(0x0c0824), 0.95}});
    OvalGlow(cr, 400, 410, 220, 0.35, Hex(0x8a6ad8), 0.22);
    rib.Grain(0.12, 2.2, seed + 3, 3);
    // A band of runes just inside the gold lines, top and bottom.
    Rng rng(seed + 11);
    for (double x = 196; x < 610; x += 21)
        for (double y : {top + 12.5, bottom - 10.5}) {
            cairo_new_path(cr);
            GlyphPath(cr, F_RUNIC, 0x16A0 + static_cast<uint32_t>(rng.Int(0, 40)), 8, x, y);
            SetColor(cr, pal::gold, 0.28);
            cairo_fill(cr);
        }
    // The lamps' sockets, strung on a thin gold chain.
    cairo_move_to(cr, 196, 455);
    cairo_line_to(cr, 604, 455);
    SetColor(cr, pal::gold, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) {
        const double x = 220 + 90 * i, y = 455;
        cairo_arc(cr, x, y, 17, 0, 2 * M_PI);
        cairo_pattern_t* g = cairo_pattern_create_radial(x, y - 4, 2, x, y, 17);
        AddStop(g, 0, Hex(0x04020e));
        AddStop(g, 1, Hex(0x1a1236));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_arc(cr, x, y, 17, 0, 2 * M_PI);
        GoldGradientFill(cr, x - 17, y - 17, x + 17, y + 17);
        cairo_new_path(cr);
        cairo_arc(cr, x, y, 15.5, 0, 2 * M_PI);
        SetColor(cr, Hex(0x04020e));
        cairo_fill(cr);
        cairo_arc(cr, x, y, 15.5, M_PI * 0.1, M_PI * 0.9);
        SetColor(cr, Hex(0x6a58a0), 0.5);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    // Under the lamps, where the maker's name appears later: a knot of
    // gold scrollwork, faint enough for the name to stand over it.
    for (int side : {-1, 1}) {
        cairo_move_to(cr, 400 + side * 10, 512);
        cairo_curve_to(cr, 400 + side * 60, 498, 400 + side * 110, 526, 400 + side * 170, 510);
        cairo_curve_to(cr, 400 + side * 190, 505, 400 + side * 196, 518, 400 + side * 184, 521);
        cairo_curve_to(cr, 400 + side * 176, 523, 400 + side * 172, 515, 400 + side * 178, 513);
    }
    SetColor(cr, pal::gold, 0.3);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    Star(cr, 400, 512, 8, 2.5, 4, 0);
    SetColor(cr, pal::gold, 0.45);
    cairo_fill(cr);
    // Gold edges, the inner lines and the studs at the corners.
    outline();
    cairo_set_line_width(cr, 2.2);
    SetColor(cr, pal::gold, 0.9);
    cairo_stroke(cr);
    cairo_move_to(cr, 172, top + 5);
    cairo_curve_to(cr, 300, top - 2, 500, top - 2, 628, top + 5);
    cairo_move_to(cr, 172, bottom - 5);
    cairo_curve_to(cr, 300, bottom + 2, 500, bottom + 2, 628, bottom - 5);
    cairo_set_line_width(cr, 0.8);
    SetColor(cr, pal::gold, 0.45);
    cairo_stroke(cr);
    for (double x : {160.0, 640.0})
        for (double y : {top, bottom}) Stud(cr, x, y, 5);
    rib.Shadow(3, 5, 7, {0, 0, 0}, 0.6);
    c.Paste(rib, 0, 0);
}

// The credits are typed in the middle, centred on y 300: a heading and up to
// four names (y 185..400), the longest line about 450 px. They stand on the
// menus' velvet panel, the landscape round it showing through a little.
void CreditsPanel(Canvas& c) {
    Canvas panel(800, 600);
    NightPanel(panel, 130, 160, 540, 282, 18, 77);
    for (double x : {146.0, 654.0})
        for (double y : {176.0, 426.0}) Stud(panel.cr, x, y, 5);
    panel.Shadow(3, 4, 6, {0, 0, 0}, 0.6);
    cairo_set_source_surface(c.cr, panel.surface, 0, 0);
    cairo_paint_with_alpha(c.cr, 0.92);
}

// A torch-like magic crystal on a post, where the title's ambient sparks rise.
void Crystal(Canvas& c, double x, double y, RGB hue) {
    cairo_t* cr = c.cr;
    RadialGlow(cr, x, y, 70, hue, 0.45);
    // A tapering stone obelisk under the crystal.
    cairo_move_to(cr, x - 8, y + 14);
    cairo_line_to(cr, x + 8, y + 14);
    cairo_line_to(cr, x + 13, y + 150);
    cairo_line_to(cr, x - 13, y + 150);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(x - 13, 0, x + 13, 0);
    AddStop(g, 0, Mix(Hex(0x14101e), hue, 0.25));
    AddStop(g, 0.45, Hex(0x0c0a14));
    AddStop(g, 1, Hex(0x040308));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (int i = 0; i < 3; ++i) {
        cairo_new_path(cr);
        GlyphPath(cr, F_RUNIC, 0x16A0 + i * 7, 12, x, y + 40 + i * 26);
        SetColor(cr, Lighter(hue, 0.3), 0.55);
        cairo_fill(cr);
    }
    RuneClass rc = RuneOf(7);
    rc.hue = hue;
    rc.shape = 3;
    DrawGem(c, x - 16, y - 18, 32, rc, 1);
}

// The loading screen's lake: the scene library's violet sky, then the lake
// that mirrors it with the moon's path on the water, the far shore and the
// tower's hill, banks either side, then the scene's things, the mist,
// fireflies along the banks and the ribbon the caption stands on.
void LoadingBackdrop(Canvas& c, uint32_t seed) {
    using namespace scene;
    const SceneDesc s = BackdropScene(1);
    cairo_t* cr = c.cr;
    const double W = c.w, H = c.h, hz = H * s.horizon;
    const RGB top = Hex(0x1a0c3a), mid = Hex(0x5a2a7a), low = Hex(0xd07a9a), moon = Hex(0xffe0c0);
    const double moonX = W * s.sunX;
    Rng rng(seed + 7);
    PaintSky(c, s);
    // Far hills, hazy with distance, a darker nearer range before them.
    auto ridge = [&](double base, double amp, double period, uint32_t sd, RGB col, double a) {
        cairo_new_path(cr);
        cairo_move_to(cr, 0, H);
        for (double x = 0; x <= W + 4; x += 4) cairo_line_to(cr, x, base - amp * Fbm(x / (W * period), 0.3, 4, sd));
        cairo_line_to(cr, W, H);
        cairo_close_path(cr);
        SetColor(cr, col, a);
        cairo_fill(cr);
    };
    ridge(hz + 2, 70, 0.32, seed + 1, Mix(mid, low, 0.45), 0.9);
    ridge(hz + 4, 40, 0.2, seed + 2, Mix(Hex(0x3a1e5a), low, 0.2), 0.95);
    // The tower's hill on the right.
    cairo_new_path(cr);
    cairo_move_to(cr, W * 0.6, hz + 6);
    cairo_curve_to(cr, W * 0.68, hz - 26, W * 0.8, hz - 30, W * 0.9, hz + 6);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x2a1640));
    cairo_fill(cr);
    // The far shore: a dark strip with a fringe of trees.
    cairo_rectangle(cr, 0, hz - 2, W, 12);
    SetColor(cr, Hex(0x241236));
    cairo_fill(cr);
    for (int i = 0; i < 90; ++i) {
        const double x = rng.Range(0, W), r = rng.Range(4, 11);
        Ellipse(cr, x, hz - r * 0.3, r, r * 0.8);
        SetColor(cr, Mix(Hex(0x241236), Hex(0x3a2252), rng.Uniform()), 0.95);
        cairo_fill(cr);
    }
    // The lake: the sky mirrored, darker and bluer towards the viewer.
    const double lake = hz + 9;
    cairo_rectangle(cr, 0, lake, W, H - lake);
    RampFill(cr, 0, lake, 0, H, {{0, Mix(low, mid, 0.35)}, {0.35, Mix(mid, top, 0.3)}, {1, Darker(top, 0.3)}});
    // The far shore and hills upside down in the still water.
    cairo_rectangle(cr, 0, lake, W, 26);
    RampFill(cr, 0, lake, 0, lake + 26, {{0, Hex(0x241236), 0.7}, {1, Hex(0x241236), 0}});
    // The moon's path: glints that widen and part as they come nearer.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SCREEN);
    OvalGlow(cr, moonX, lake + 90, 60, 3.2, moon, 0.35);
    for (int i = 0; i < 170; ++i) {
        const double t = std::pow(rng.Uniform(), 1.4), y = lake + 4 + t * (H - lake - 10);
        const double spread = 10 + 70 * t, x = moonX + rng.Range(-1, 1) * spread * rng.Uniform();
        const double len = (4 + 22 * t) * rng.Range(0.5, 1.2);
        cairo_move_to(cr, x - len / 2, y);
        cairo_line_to(cr, x + len / 2, y);
        SetColor(cr, Mix(moon, Hex(0xffffff), rng.Uniform()), (0.9 - 0.5 * t) * rng.Range(0.4, 1));
        cairo_set_line_width(cr, 1 + 1.2 * t);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // Ripples across the water, finer far off.
    for (int i = 0; i < 260; ++i) {
        const double t = rng.Uniform(), y = lake + 6 + t * t * (H - lake), x = rng.Range(-20, W);
        const double len = (10 + 60 * t) * rng.Range(0.5, 1.3);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + len * 0.3, y - 1, x + len * 0.7, y + 1, x + len, y);
        const bool light = rng.Uniform() < 0.5;
        SetColor(cr, light ? Lighter(mid, 0.35) : Darker(top, 0.3), light ? 0.28 : 0.4);
        cairo_set_line_width(cr, 0.8 + t);
        cairo_stroke(cr);
    }
    // Banks either side, and the near shore along the bottom.
    auto bank = [&](std::initializer_list<double> xy, RGB rim) {
        cairo_new_path(cr);
        const double* v = xy.begin();
        cairo_move_to(cr, v[0], v[1]);
        for (size_t i = 2; i + 5 < xy.size(); i += 6)
            cairo_curve_to(cr, v[i], v[i + 1], v[i + 2], v[i + 3], v[i + 4], v[i + 5]);
        cairo_close_path(cr);
        RampFill(cr, 0, hz, 0, H, {{0, Hex(0x2c2a3e)}, {1, Hex(0x0c0a16)}}, true);
        SetColor(cr, rim, 0.5);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    };
    // Each: a start, then curves of two control points and an end.
    bank({0, 388, 80, 392, 170, 410, 230, 440, 270, 470, 240, 560, 320, 610, 0, 610, 0, 610, 0, 610}, Hex(0x8a6aa0));
    bank({800, 380, 720, 384, 640, 400, 580, 432, 540, 470, 560, 560, 480, 610, 800, 610, 800, 610, 800, 610},
         Hex(0x8a6aa0));
    // The near shore the viewer stands on, between the banks.
    bank({140, 610, 260, 590, 330, 566, 400, 566, 470, 566, 540, 590, 660, 610, 660, 610, 140, 610, 140, 610},
         Hex(0x6a5a88));
    // Grass on the banks, lit from the lake side.
    for (int i = 0; i < 700; ++i) {
        const bool left = i % 2 == 0;
        const double x = left ? rng.Range(0, 250) : rng.Range(550, 800), y = rng.Range(400, 600);
        const double edge = left ? 390 + (x / 250) * 80 : 390 + ((800 - x) / 250) * 80;
        if (y < edge) continue;
        const double len = 4 + 10 * (y - 380) / 220;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + rng.Range(-3, 3), y - len);
        SetColor(cr, rng.Uniform() < 0.5 ? Hex(0x4a4466) : Hex(0x18142a), 0.8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    PaintElements(c, s);
    // Mist lying on the water and drifting low over the banks.
    for (int i = 0; i < 7; ++i)
        OvalGlow(cr, rng.Range(0, W), lake + rng.Range(4, 40), rng.Range(120, 260), 0.09, Hex(0xe8c8f0), 0.16);
    for (double x : {90.0, 710.0})
        OvalGlow(cr, x + rng.Range(-30, 30), rng.Range(500, 540), 150, 0.12, Hex(0xc8a8e0), 0.12);
    // Fireflies over the banks and the near water.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SCREEN);
    for (int i = 0; i < 46; ++i) {
        const bool left = i % 2 == 0;
        const double x = left ? rng.Range(10, 190) : rng.Range(610, 790);
        const double y = i % 5 == 0 ? rng.Range(lake + 6, 360) : rng.Range(360, 585);
        const double r = rng.Range(1.2, 2.4);
        RadialGlow(cr, x, y, r * 7, Hex(0xffd870), 0.5);
        RadialGlow(cr, x, y, r, Hex(0xfff8d0), 1.0);
    }
    cairo_restore(cr);
    // Light round the moon, shade in the corners and a painter's grain.
    Finish light;
    light.lightX = moonX, light.lightY = H * s.sunY, light.lightR = 300;
    light.light = Hex(0xffc8e0);
    light.lightAlpha = 0.16;
    light.ground = 0.25;
    light.vignette = 0.55;
    ApplyFinish(c, light, seed);
    LoadingRibbon(c, seed);
}

// ---- title and loading ----------------------------------------------------------------------
void TitleAndLoading(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/title/velmora-title.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        scene::PaintScene(c, BackdropScene(0));
        // Moonlight on the castle, where the menu panel hangs.
        Finish moon;
        moon.lightX = 560, moon.lightY = 220, moon.lightR = 420;
        moon.light = Hex(0x9ab0ff);
        moon.lightAlpha = 0.2;
        moon.ground = 0.35;
        moon.vignette = 0.45;
        ApplyFinish(c, moon, ctx.seed);
        Crystal(c, 175, 300, Hex(0x70a0ff));
        Crystal(c, 690, 250, Hex(0xc080ff));
        // The game's name, under the glow the profile screen puts at (395, 46).
        Canvas title(800, 110);
        DrawCaptionText(title, F_BLACKLETTER, 84, 398, 80, "Quillimar", CS_GOLD);
        title.Glow(10, Hex(0xffc860), 0.5);
        c.Paste(title, 0, 0);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/title/velmora-title.jpg", 90);
    }));
    out.push_back(Picture("gfx/title/velmora-bg.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        LoadingBackdrop(c, ctx.seed);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/title/velmora-bg.jpg", 88);
    }));
    Finish tableLight;
    tableLight.lightY = 250;
    tableLight.light = Hex(0xa0b0ff);
    Backdrop(out, "gfx/title/hiscores.jpg", 2, 0.35, tableLight);
    Finish creditsLight;
    creditsLight.lightX = 600, creditsLight.lightY = 270;
    Backdrop(out, "gfx/title/credits.jpg", 3, 0.3, creditsLight, CreditsPanel);
    // A start-up picture (the portal screen list may name it).
    out.push_back(Picture("gfx/title/portal-1.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        scene::PaintScene(c, BackdropScene(4));
        Canvas t(800, 200);
        DrawCaptionText(t, F_BLACKLETTER, 60, 400, 90, "A tale of runes", CS_GOLD);
        DrawCaptionText(t, F_UNCIAL, 26, 400, 140, "and of the stones that wait", CS_SILVER);
        t.Glow(8, Hex(0xffc860), 0.4);
        c.Paste(t, 0, 180);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/title/portal-1.jpg", 90);
    }));
    out.push_back(Picture("gfx/title/Tolvenk.png", [](Context& ctx) {
        Canvas c(356, 110);
        RuneClass rc = RuneOf(2);
        rc.shape = 3;
        DrawGem(c, 8, 23, 64, rc, 3);
        DrawCaptionText(c, F_BLACKLETTER, 70, 210, 80, "Tolvenk", CS_SILVER);
        c.Glow(6, Hex(0x80a0ff), 0.5);
        ctx.Png(c, "gfx/title/Tolvenk.png");
    }));
    for (int lit : {0, 1}) {
        std::string path = lit ? "gfx/title/load1.png" : "gfx/title/load2.png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(40, 40);
            if (lit) RadialGlow(c.cr, 20, 20, 20, Hex(0xffd070), 0.8);
            RuneClass rc = RuneOf(lit ? 15 : 14);
            DrawGem(c, 8, 8, 24, rc, 1);
            ctx.Png(c, path);
        }));
    }
}

// ---- tally -------------------------------------------------------------------------------------
void DoorHalf(Canvas& c, bool left, uint32_t seed) {
    cairo_t* cr = c.cr;
    WoodFill(c, 0, 0, 400, 600, Hex(0x5a3a1e), seed, true);
    // Planks.
    for (int i = 1; i < 6; ++i) {
        cairo_rectangle(cr, i * 400.0 / 6, 0, 1.5, 600);
        SetColor(cr, Hex(0x1a0c04), 0.6);
        cairo_fill(cr);
    }
    // Iron bands with rivets.
    for (double y : {70.0, 300.0, 530.0}) {
        cairo_rectangle(cr, 0, y - 14, 400, 28);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, y - 14, 0, y + 14);
        AddStop(g, 0, Hex(0x6a6a78));
        AddStop(g, 0.5, Hex(0x3a3a46));
        AddStop(g, 1, Hex(0x1a1a22));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        for (double x = 20; x < 400; x += 45) Stud(cr, x, y, 4);
    }
    // Gold trim along the meeting edge and the outer edge.
    double inner = left ? 400 - 10 : 0;
    cairo_rectangle(cr, inner, 0, 10, 600);
    cairo_pattern_t* g = cairo_pattern_create_linear(inner, 0, inner + 10, 0);
    AddStop(g, 0, pal::goldDeep);
    AddStop(g, 0.5, pal::goldLight);
    AddStop(g, 1, pal::goldDeep);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // A ring handle near the meeting edge.
    double hx = left ? 360 : 40;
    cairo_arc(cr, hx, 420, 18, 0, 2 * M_PI);
    cairo_set_line_width(cr, 6);
    SetColor(cr, pal::gold);
    cairo_stroke(cr);
    Stud(cr, hx, 400, 8);
    // Shading towards the outer edge.
    g = cairo_pattern_create_linear(0, 0, 400, 0);
    AddStop(g, 0, {0, 0, 0}, left ? 0.45 : 0.0);
    AddStop(g, 1, {0, 0, 0}, left ? 0.0 : 0.45);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
}

void Tally(std::vector<Recipe>& out) {
    for (int left : {1, 0}) {
        Recipe r;
        std::string side = left ? "left" : "right";
        r.name = "gfx/gui/doors-" + side;
        const int xs[3] = {0, 256, 384}, ws[3] = {256, 128, 16};
        for (int part = 0; part < 2; ++part)
            for (int k = 0; k < 3; ++k)
                r.outputs.push_back("gfx/gui/doors-" + side + (part ? "2-" : "-") + std::to_string(k + 1) + ".jpg");
        r.make = [=](Context& ctx) {
            Canvas door(400, 600);
            DoorHalf(door, left, ctx.seed);
            door.Opaque({0, 0, 0});
            for (int part = 0; part < 2; ++part)
                for (int k = 0; k < 3; ++k) {
                    Canvas piece = door.Crop(xs[k], part ? 512 : 0, ws[k], part ? 88 : 512);
                    ctx.Jpeg(piece, "gfx/gui/doors-" + side + (part ? "2-" : "-") + std::to_string(k + 1) + ".jpg",
                             90);
                }
        };
        out.push_back(std::move(r));
    }
    // The emblem that rides in on the left door, resting at (0,138). The
    // tally's scroll starts at screen x 238 and its captions at 290: the
    // emblem, spikes and shadow, stays left of x 224 (the rollers reach
    // 225), beside the scroll rather than over its edge.
    out.push_back(Picture("gfx/gui/Dorsime01.png", [](Context& ctx) {
        Canvas c(300, 300);
        cairo_t* cr = c.cr;
        const double cx = 108, cy = 150, k = 0.70;
        for (int i = 0; i < 16; ++i) {
            double a = i * M_PI / 8;
            cairo_move_to(cr, cx + std::cos(a - 0.08) * 100 * k, cy + std::sin(a - 0.08) * 100 * k);
            cairo_line_to(cr, cx + std::cos(a) * (i % 2 ? 128 : 145) * k, cy + std::sin(a) * (i % 2 ? 128 : 145) * k);
            cairo_line_to(cr, cx + std::cos(a + 0.08) * 100 * k, cy + std::sin(a + 0.08) * 100 * k);
            cairo_close_path(cr);
        }
        SetColor(cr, pal::gold);
        cairo_fill(cr);
        cairo_arc(cr, cx, cy, 104 * k, 0, 2 * M_PI);
        GoldGradientFill(cr, 0, cy - 110 * k, 0, cy + 110 * k);
        cairo_arc(cr, cx, cy, 86 * k, 0, 2 * M_PI);
        cairo_pattern_t* g = cairo_pattern_create_radial(cx - 20 * k, cy - 25 * k, 5, cx, cy, 86 * k);
        AddStop(g, 0, Hex(0x4a5ad0));
        AddStop(g, 1, Hex(0x10143a));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        for (int i = 0; i < 12; ++i) {
            double a = i * M_PI / 6 - M_PI / 2;
            cairo_new_path(cr);
            GlyphPath(cr, F_RUNIC, RuneOf(i + 1).glyph, 16 * k, cx + std::cos(a) * 95 * k, cy + std::sin(a) * 95 * k);
            SetColor(cr, Hex(0x5a3a0a), 0.9);
            cairo_fill(cr);
        }
        RuneClass rc = RuneOf(15);
        rc.shape = 3;
        DrawGem(c, cx - 50 * k, cy - 50 * k, 100 * k, rc, 2);
        c.Shadow(3, 5, 6, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/gui/Dorsime01.png");
    }));
    out.push_back(Picture("gfx/gui/poswiata.png", [](Context& ctx) {
        Canvas c(100, 100);
        RadialGlow(c.cr, 50, 50, 50, Hex(0xfff0c0), 0.9);
        ctx.Png(c, "gfx/gui/poswiata.png");
    }));
    out.push_back(Picture("gfx/gui/LC.png", [](Context& ctx) {
        Canvas c(256, 256);
        RadialGlow(c.cr, 128, 128, 128, Hex(0xfff4d0), 1.0);
        ctx.Png(c, "gfx/gui/LC.png");
    }));
}


// ---- puzzle ------------------------------------------------------------------------------------------
void Puzzle(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/puzzle/game-puzle.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        scene::PaintScene(c, BackdropScene(5));
        Darken(c, 0.45);
        ApplyFinish(c, Finish{}, ctx.seed);
        cairo_t* cr = c.cr;
        // Play area at (65,53), 670x494: dark and neutral.
        cairo_rectangle(cr, 60, 48, 680, 504);
        SetColor(cr, Hex(0x0c0c16));
        cairo_fill(cr);
        GoldFrame(c, 47, 35, 706, 530, 14, 10);
        cairo_rectangle(cr, 61, 49, 678, 502);
        SetColor(cr, Hex(0x0c0c16));
        cairo_fill(cr);
        // Bottom bar with the painted "Menu" and "Hint" labels.
        RoundRect(cr, 250, 566, 316, 32, 8);
        SetColor(cr, Hex(0x1a1008), 0.9);
        cairo_fill(cr);
        GoldFrame(c, 250, 566, 316, 32, 2, 8);
        FitCaption(c, F_UNCIAL, 18, 287 + 36.5, 582, 69, "Menu", CS_GOLD);
        FitCaption(c, F_UNCIAL, 18, 417 + 56.5, 582, 109, "Hint", CS_GOLD);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/puzzle/game-puzle.jpg", 90);
    }));
    // The default puzzle picture, already at the puzzle's 670x494: the first
    // stage's scene, so a level that names no picture still shows home.
    out.push_back(Picture("gfx/slides/1-2a.jpg", [](Context& ctx) {
        Canvas full(800, 600);
        scene::PaintScene(full, SlideScene(1));
        Canvas c(670, 494);
        cairo_scale(c.cr, 670.0 / 800.0, 494.0 / 600.0);
        cairo_set_source_surface(c.cr, full.surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(c.cr), CAIRO_FILTER_GOOD);
        cairo_paint(c.cr);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/slides/1-2a.jpg", 92);
    }));
}


// ---- gallery ---------------------------------------------------------------------------------------------
// The gallery hangs its frame in a hall: a damask wall over a panelled
// wainscot, two candle sconces in the margins either side of the frame, and
// a warm light from above on the frame. The caption stands at the top (x
// 347..453), the buttons below the frame (y 497..600) and the back button on
// the wainscot; the frame's window (120..680 x 80..500) stays see-through.

// One damask flower: a lozenge of four leaves round a bud, stem curls below.
void DamaskMotif(cairo_t* cr, double x, double y, double s) {
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 2;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, a);
        cairo_move_to(cr, 0, -2 * s);
        cairo_curve_to(cr, 5 * s, -6 * s, 4 * s, -13 * s, 0, -16 * s);
        cairo_curve_to(cr, -4 * s, -13 * s, -5 * s, -6 * s, 0, -2 * s);
        cairo_close_path(cr);
        cairo_restore(cr);
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, 2.2 * s, 0, 2 * M_PI);
    for (int side : {-1, 1}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + side * 13 * s, y + 13 * s, 1.6 * s, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + side * 13 * s, y - 13 * s, 1.6 * s, 0, 2 * M_PI);
    }
}

void DamaskWall(Canvas& c, double bottom) {
    cairo_t* cr = c.cr;
    cairo_rectangle(cr, 0, 0, c.w, bottom);
    RampFill(cr, 0, 0, 0, bottom, {{0, Hex(0x1a1634)}, {0.5, Hex(0x262048)}, {1, Hex(0x1c1838)}});
    // The woven flowers, lighter and a little warm, in a dropped grid.
    const double dx = 64, dy = 78;
    for (int row = 0; row * dy < bottom + dy; ++row)
        for (int col = -1; col * dx < c.w + dx; ++col) {
            const double x = col * dx + (row % 2 ? dx / 2 : 0), y = row * dy + 20;
            cairo_new_path(cr);
            DamaskMotif(cr, x, y, 1.35);
            SetColor(cr, Hex(0x4a3e78), 0.42);
            cairo_fill(cr);
        }
    // Faint stripes between the columns of flowers.
    for (double x = 16; x < c.w; x += dx / 2) {
        cairo_rectangle(cr, x, 0, 1.2, bottom);
        SetColor(cr, Hex(0x3a3066), 0.35);
        cairo_fill(cr);
    }
}

void Wainscot(Canvas& c, double top, uint32_t seed) {
    cairo_t* cr = c.cr;
    const double H = c.h;
    WoodFill(c, 0, top, c.w, H - top, Hex(0x3a2414), seed + 3);
    // Raised panels: a lit lower-right edge, a shaded upper-left one.
    const double panelW = 150, gap = 14;
    for (double x = -40; x < c.w; x += panelW + gap) {
        const double y0 = top + 14, y1 = H + 6;
        cairo_rectangle(cr, x + 1, y0 + 1, panelW, y1 - y0);
        SetColor(cr, Hex(0xd0a060), 0.25);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_rectangle(cr, x, y0, panelW, y1 - y0);
        SetColor(cr, Hex(0x0a0604), 0.7);
        cairo_stroke(cr);
    }
    // The chair rail: a rounded moulding catching the light along its top.
    cairo_rectangle(cr, 0, top - 6, c.w, 14);
    RampFill(cr, 0, top - 6, 0, top + 8,
             {{0, Hex(0x2a180a)}, {0.25, Hex(0xb88a4a)}, {0.5, Hex(0x7a5028)}, {1, Hex(0x1e1006)}});
    cairo_rectangle(cr, 0, top + 8, c.w, 3);
    SetColor(cr, {0, 0, 0}, 0.5);
    cairo_fill(cr);
}

// A brass sconce with one lit candle, its flame at (x, y).
void Sconce(Canvas& c, double x, double y) {
    cairo_t* cr = c.cr;
    // The light it throws on the wall first, then the brass over it.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SCREEN);
    OvalGlow(cr, x, y + 40, 130, 1.9, Hex(0xff9a40), 0.42);
    RadialGlow(cr, x, y, 70, Hex(0xffd080), 0.6);
    cairo_restore(cr);
    // Backplate.
    const double py = y + 56;
    Ellipse(cr, x, py, 11, 28);
    RampFill(cr, x - 11, 0, x + 11, 0, {{0, Hex(0xf0c870)}, {0.5, Hex(0xa87828)}, {1, Hex(0x4a300c)}});
    Ellipse(cr, x, py, 5, 14);
    SetColor(cr, Hex(0x2a1806), 0.6);
    cairo_fill(cr);
    // The arm swinging out and up to the cup.
    cairo_move_to(cr, x, py + 8);
    cairo_curve_to(cr, x + 22, py + 10, x + 18, y + 30, x, y + 26);
    SetColor(cr, Hex(0x6a4612));
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke_preserve(cr);
    SetColor(cr, Hex(0xe8c070), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Drip cup and candle.
    cairo_move_to(cr, x - 12, y + 22);
    cairo_curve_to(cr, x - 8, y + 30, x + 8, y + 30, x + 12, y + 22);
    cairo_close_path(cr);
    GoldGradientFill(cr, x - 12, y + 20, x + 12, y + 30);
    cairo_rectangle(cr, x - 4.5, y + 4, 9, 19);
    RampFill(cr, x - 4.5, 0, x + 4.5, 0, {{0, Hex(0xfff4dc)}, {1, Hex(0xc8b090)}});
    cairo_move_to(cr, x, y + 4);
    cairo_line_to(cr, x, y + 1);
    SetColor(cr, Hex(0x1a1008));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Flame.
    cairo_move_to(cr, x, y - 12);
    cairo_curve_to(cr, x + 5, y - 4, x + 5, y + 2, x, y + 2);
    cairo_curve_to(cr, x - 5, y + 2, x - 5, y - 4, x, y - 12);
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y - 1, 0.5, x, y - 3, 9);
    AddStop(g, 0, Hex(0xffffff));
    AddStop(g, 0.4, Hex(0xffe890));
    AddStop(g, 1, Hex(0xff8a20));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void Gallery(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/title/galeria.png", [](Context& ctx) {
        Canvas c(800, 600);
        cairo_t* cr = c.cr;
        const double rail = 560;
        DamaskWall(c, rail);
        // A fine weave, and broad mottling where the cloth has faded.
        c.Grain(0.07, 1.6, ctx.seed + 5, 2);
        c.Grain(0.1, 40, ctx.seed + 9, 3);
        Wainscot(c, rail, ctx.seed);
        // Darker corners and floor, so the eye rests on the frame.
        Finish room;
        room.lightY = 290, room.lightR = 300;
        room.light = Hex(0xffd8a0);
        room.lightAlpha = 0.0;
        room.ground = 0.35;
        room.vignette = 0.6;
        ApplyFinish(c, room, ctx.seed);
        // Light from above on the frame, and the sconces either side.
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_SCREEN);
        OvalGlow(cr, 400, 60, 420, 0.75, Hex(0xffd8a0), 0.22);
        cairo_restore(cr);
        Sconce(c, 52, 250);
        Sconce(c, 748, 250);
        // The cords the frame hangs by, up to the picture rail above.
        for (int side : {-1, 1}) {
            const double fx = 400 + side * 200, tx = 400 + side * 164;
            cairo_move_to(cr, fx, 72);
            cairo_line_to(cr, tx, 0);
            SetColor(cr, Hex(0x140c04), 0.9);
            cairo_set_line_width(cr, 2.4);
            cairo_stroke(cr);
            cairo_move_to(cr, fx - 0.6, 72);
            cairo_line_to(cr, tx - 0.6, 0);
            SetColor(cr, Hex(0xc89a50), 0.5);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
        }
        // The frame stands off the wall: a soft shadow down and right.
        Canvas frame(800, 600);
        GoldFrame(frame, 104, 64, 592, 452, 16, 12);
        for (int side : {-1, 1}) Stud(frame.cr, 400 + side * 200, 70, 3.5);
        frame.Shadow(7, 9, 9, {0, 0, 0}, 0.8);
        c.Paste(frame, 0, 0);
        c.ClearRect(120, 80, 560, 420);
        ctx.Png(c, "gfx/title/galeria.png");
    }));
}

// ---- slides --------------------------------------------------------------------------------------------
// Each stage's picture: the level's background, its gallery slide and the
// picture its puzzle cuts up. The level covers the middle with the
// board and the right with the side panel, so every scene keeps something
// worth seeing along the left, top and bottom edges too.
using scene::Element;
using scene::Kind;
using scene::SceneDesc;
using scene::Sky;
using scene::Terrain;
using scene::Weather;

// Places an element on the ground at x, `depth` towards the viewer (0 the
// skyline, 1 the bottom edge); nearer things are drawn bigger.
void Put(SceneDesc& s, Kind k, double x, double depth, double size = 1.0, int variant = 0, bool flip = false) {
    Element e;
    e.kind = k;
    e.x = x;
    e.y = scene::GroundAt(s, x, depth);
    e.scale = size * (0.6 + depth * 1.5);
    e.variant = variant;
    e.flip = flip;
    s.elements.push_back(e);
}
// An element in the air (birds, floating books, falling leaves).
void Fly(SceneDesc& s, Kind k, double x, double y, double scale, int variant = 0, bool flip = false) {
    Element e;
    e.kind = k;
    e.x = x;
    e.y = y;
    e.scale = scale;
    e.variant = variant;
    e.flip = flip;
    e.haze = 0.1;
    s.elements.push_back(e);
}
void Flock(SceneDesc& s, double x, double y, int n, double scale, int variant, uint32_t seed) {
    Rng r(seed);
    for (int i = 0; i < n; ++i)
        Fly(s, Kind::Bird, x + r.Range(-0.08, 0.08), y + r.Range(-0.05, 0.05), scale * r.Range(0.6, 1.1),
            variant + r.Int(0, 2), r.Uniform() < 0.5);
}

SceneDesc SlideScene(int n) {
    SceneDesc s;
    s.seed = static_cast<uint32_t>(1000 + n * 97);
    switch (n) {
        case 1: {  // Hearthmere: the home village on an autumn morning
            s.sky = Sky::Dawn;
            s.terrain = Terrain::Hills;
            s.autumn = true;
            s.weather = Weather::Leaves;
            s.sunX = 0.2, s.sunY = 0.3;
            s.clouds = 7;
            Put(s, Kind::Tower, 0.9, 0.0, 0.7, 0);
            for (double x : {0.08, 0.28, 0.46, 0.58, 0.8}) Put(s, Kind::TreeRound, x, 0.04, 0.9, 10 + int(x * 10));
            Put(s, Kind::Cottage, 0.2, 0.1, 1.0, 0);
            Put(s, Kind::Cottage, 0.36, 0.12, 1.0, 1, true);
            Put(s, Kind::Cottage, 0.52, 0.08, 0.9, 2);
            Put(s, Kind::Mill, 0.72, 0.18, 1.1);
            Put(s, Kind::TreeRound, 0.62, 0.22, 1.0, 11);
            Put(s, Kind::Well, 0.42, 0.3, 1.0);
            Put(s, Kind::Villager, 0.46, 0.33, 1.0, 1);
            Put(s, Kind::Villager, 0.3, 0.36, 1.0, 2, true);
            Put(s, Kind::Fence, 0.6, 0.45, 1.0, 2);
            Put(s, Kind::Cottage, 0.9, 0.4, 1.1, 1, true);
            Put(s, Kind::TreeRound, 0.04, 0.55, 1.2, 12);
            Put(s, Kind::Bush, 0.7, 0.62, 1.0, 10);
            Put(s, Kind::Flowers, 0.3, 0.75, 1.0, 1);
            Put(s, Kind::Apprentice, 0.16, 0.8, 1.1, 1);
            Put(s, Kind::Fox, 0.82, 0.85, 0.9, 0, true);
            Put(s, Kind::TreeRound, 0.97, 0.9, 1.3, 13);
            Put(s, Kind::Flowers, 0.58, 0.92, 1.0, 2);
            Flock(s, 0.55, 0.16, 5, 0.9, 0, 11);
            break;
        }
        case 2: {  // Willowfen: willows over a misty marsh, boardwalks between
            s.sky = Sky::Day;
            s.terrain = Terrain::Marsh;
            s.weather = Weather::Mist;
            s.sunX = 0.7, s.sunY = 0.18;
            s.horizon = 0.52;
            s.clouds = 10;
            for (double x : {0.1, 0.33, 0.6, 0.85}) Put(s, Kind::TreeWillow, x, 0.02, 0.8, int(x * 10));
            Put(s, Kind::Cottage, 0.48, 0.1, 0.9, 1);
            Put(s, Kind::Boardwalk, 0.3, 0.25, 1.2, 1);
            Put(s, Kind::Reeds, 0.12, 0.3, 1.2, 1);
            Put(s, Kind::TreeWillow, 0.75, 0.3, 1.0, 4, true);
            Put(s, Kind::Boat, 0.55, 0.42, 1.0, 2);
            Put(s, Kind::Villager, 0.55, 0.4, 0.9, 4);
            Put(s, Kind::Boardwalk, 0.75, 0.55, 1.2, 2);
            Put(s, Kind::Lantern, 0.68, 0.55, 1.0);
            Put(s, Kind::Reeds, 0.4, 0.6, 1.3, 2);
            Put(s, Kind::TreeWillow, 0.06, 0.7, 1.2, 7);
            Put(s, Kind::Keeper, 0.86, 0.55, 0.9, 0, true);
            Put(s, Kind::Reeds, 0.92, 0.85, 1.4, 3);
            Put(s, Kind::Reeds, 0.26, 0.9, 1.3, 4);
            Put(s, Kind::Flowers, 0.6, 0.92, 0.9, 3);
            Flock(s, 0.3, 0.2, 4, 0.9, 3, 21);
            break;
        }
        case 3: {  // Amber Downs: golden fields, haystacks and a windmill, late afternoon
            s.sky = Sky::Day;
            s.terrain = Terrain::Fields;
            s.sunX = 0.15, s.sunY = 0.32;
            s.clouds = 9;
            Flock(s, 0.1, 0.12, 4, 0.8, 0, 32);
            Put(s, Kind::TreeRound, 0.3, 0.0, 0.7, 1);
            Put(s, Kind::Cottage, 0.4, 0.03, 0.8, 2);
            Put(s, Kind::Windmill, 0.62, 0.1, 1.2, 1);
            Put(s, Kind::TreeRound, 0.9, 0.08, 0.9, 5);
            Put(s, Kind::Haystack, 0.2, 0.25, 1.0, 1);
            Put(s, Kind::Haystack, 0.28, 0.28, 1.0, 2);
            Put(s, Kind::Haystack, 0.8, 0.32, 1.0, 3);
            Put(s, Kind::Fence, 0.5, 0.4, 1.0, 3);
            Put(s, Kind::Wagon, 0.68, 0.5, 1.0, 1, true);
            Put(s, Kind::Villager, 0.58, 0.52, 1.0, 2);
            Put(s, Kind::Haystack, 0.06, 0.6, 1.1, 4);
            Put(s, Kind::Flowers, 0.4, 0.7, 1.0, 1);
            Put(s, Kind::Villager, 0.2, 0.72, 1.0, 3);
            Put(s, Kind::Haystack, 0.92, 0.8, 1.1, 5);
            Put(s, Kind::Flowers, 0.7, 0.9, 1.0, 0);
            Flock(s, 0.45, 0.22, 6, 0.8, 0, 31);
            break;
        }
        case 4: {  // Mistral Coast: cliffs, a lighthouse, boats on a windy sea
            s.sky = Sky::Day;
            s.terrain = Terrain::Coast;
            s.sunX = 0.85, s.sunY = 0.14;
            s.clouds = 10;
            s.wind = 0.9;
            Put(s, Kind::Lighthouse, 0.4, 0.05, 1.1);
            Put(s, Kind::Cottage, 0.22, 0.08, 0.9, 0);
            Put(s, Kind::TreePine, 0.08, 0.05, 0.9);
            Put(s, Kind::Cottage, 0.1, 0.3, 1.0, 1, true);
            Put(s, Kind::Banner, 0.3, 0.3, 1.0, 1);
            Put(s, Kind::Villager, 0.22, 0.5, 1.0, 0);
            Put(s, Kind::Rock, 0.34, 0.62, 1.0, 2);
            Put(s, Kind::Flowers, 0.12, 0.85, 1.0, 2);
            Put(s, Kind::Bush, 0.3, 0.88, 1.0, 2);
            Fly(s, Kind::Boat, 0.72, 0.6, 0.7, 0);
            Fly(s, Kind::Boat, 0.9, 0.68, 1.0, 1, true);
            Fly(s, Kind::Boat, 0.62, 0.82, 1.4, 0, true);
            Fly(s, Kind::Boat, 0.84, 0.95, 1.6, 2);
            Flock(s, 0.6, 0.25, 7, 1.0, 3, 41);
            s.weather = Weather::None;
            break;
        }
        case 5: {  // Old Ostrel: a ruined old city at dusk
            s.sky = Sky::Dusk;
            s.terrain = Terrain::Ruins;
            s.sunX = 0.55, s.sunY = 0.4;
            s.clouds = 10;
            for (int i = 0; i < 5; ++i) Put(s, Kind::Ruin, 0.04 + i * 0.23, 0.0, 0.6, i + 4, i % 2);
            Put(s, Kind::Tower, 0.15, 0.0, 0.8, 1);
            Put(s, Kind::Ruin, 0.35, 0.02, 0.9, 1);
            Put(s, Kind::Arch, 0.55, 0.05, 0.9, 0);
            Put(s, Kind::Ruin, 0.82, 0.04, 1.0, 2);
            Put(s, Kind::TreeDead, 0.7, 0.12, 1.2, 1);
            Put(s, Kind::Arch, 0.12, 0.35, 1.0, 1);
            Put(s, Kind::Rock, 0.4, 0.4, 1.0, 3);
            Put(s, Kind::Keeper, 0.3, 0.45, 1.0, 1);
            Put(s, Kind::Lantern, 0.26, 0.46, 1.0);
            Put(s, Kind::Arch, 0.86, 0.5, 1.0, 2);
            Put(s, Kind::RuneStone, 0.6, 0.6, 1.2, 0);
            Put(s, Kind::TreeDead, 0.04, 0.8, 1.4, 3);
            Put(s, Kind::Ruin, 0.5, 0.85, 0.8, 3);
            Put(s, Kind::Rock, 0.78, 0.9, 1.2, 4);
            Flock(s, 0.7, 0.2, 5, 0.8, 0, 51);
            break;
        }
        case 6: {  // Glasswood: a crystal forest glittering at night
            s.sky = Sky::Night;
            s.terrain = Terrain::Forest;
            s.weather = Weather::Sparkle;
            s.sunX = 0.3, s.sunY = 0.16;
            s.clouds = 4;
            for (int i = 0; i < 9; ++i) Put(s, Kind::TreeCrystal, 0.05 + i * 0.11, 0.03 + (i % 3) * 0.04, 1.0, i);
            Put(s, Kind::Deer, 0.5, 0.3, 1.0);
            for (int i = 0; i < 6; ++i) Put(s, Kind::TreeCrystal, 0.1 + i * 0.16, 0.35 + (i % 2) * 0.12, 1.1, i + 3, i % 2);
            Put(s, Kind::RuneGem, 0.3, 0.55, 1.0, 2);
            Put(s, Kind::RuneGem, 0.72, 0.62, 1.0, 6);
            Put(s, Kind::Apprentice, 0.42, 0.7, 1.0, 1);
            Put(s, Kind::TreeCrystal, 0.04, 0.9, 1.4, 1);
            Put(s, Kind::TreeCrystal, 0.95, 0.92, 1.4, 2);
            Put(s, Kind::Rock, 0.62, 0.9, 1.0, 5);
            break;
        }
        case 7: {  // Lantern Steppe: a lantern caravan crossing the grassland in the evening
            s.sky = Sky::Dusk;
            s.terrain = Terrain::Steppe;
            s.sunX = 0.8, s.sunY = 0.5;
            s.horizon = 0.6;
            s.clouds = 9;
            Flock(s, 0.88, 0.33, 4, 0.8, 0, 72);
            Flock(s, 0.94, 0.44, 5, 0.7, 0, 73);
            for (int i = 0; i < 5; ++i) Put(s, Kind::Wagon, 0.1 + i * 0.19, 0.12 + i * 0.03, 1.0, i, true);
            for (int i = 0; i < 5; ++i) Put(s, Kind::Villager, 0.18 + i * 0.19, 0.14 + i * 0.03, 1.0, i);
            for (int i = 0; i < 6; ++i) Put(s, Kind::Lantern, 0.05 + i * 0.18, 0.45, 1.0);
            Put(s, Kind::Rock, 0.3, 0.7, 1.0, 6);
            Put(s, Kind::Bush, 0.7, 0.75, 1.0, 1);
            Put(s, Kind::Deer, 0.86, 0.6, 0.9, 0, true);
            Put(s, Kind::Keeper, 0.12, 0.8, 1.0, 0);
            Put(s, Kind::Flowers, 0.5, 0.9, 1.0, 3);
            Flock(s, 0.4, 0.25, 5, 0.9, 0, 71);
            break;
        }
        case 8: {  // Frostmarch: snow, pines and a bridge over a frozen river
            s.sky = Sky::Winter;
            s.terrain = Terrain::Snow;
            s.weather = Weather::Snow;
            s.sunX = 0.3, s.sunY = 0.2;
            s.clouds = 8;
            for (int i = 0; i < 10; ++i) Put(s, Kind::TreePine, 0.03 + i * 0.1, 0.03 + (i % 3) * 0.03, 1.0, 1);
            Put(s, Kind::Cottage, 0.2, 0.15, 1.0, 1);
            Put(s, Kind::Bridge, 0.48, 0.34, 1.0, 1);
            Put(s, Kind::Villager, 0.5, 0.28, 0.9, 3);
            Put(s, Kind::TreePine, 0.8, 0.4, 1.2, 1);
            Put(s, Kind::Deer, 0.7, 0.45, 1.0);
            Put(s, Kind::TreePine, 0.06, 0.6, 1.3, 1);
            Put(s, Kind::Fox, 0.25, 0.8, 1.0);
            Put(s, Kind::TreePine, 0.94, 0.85, 1.4, 1);
            Put(s, Kind::Rock, 0.6, 0.88, 1.0, 7);
            break;
        }
        case 9: {  // Emberpeak: a volcano under a dark red sky
            s.sky = Sky::Ember;
            s.terrain = Terrain::Volcano;
            s.weather = Weather::Embers;
            s.sunY = -1;
            s.clouds = 9;
            Put(s, Kind::Tower, 0.78, 0.02, 0.9, 1);
            Put(s, Kind::TreeDead, 0.6, 0.12, 1.0, 2);
            Put(s, Kind::Rock, 0.15, 0.3, 1.2, 8);
            Put(s, Kind::Golem, 0.85, 0.4, 1.0, 4);
            Put(s, Kind::TreeDead, 0.05, 0.55, 1.4, 3);
            Put(s, Kind::Rock, 0.45, 0.6, 1.3, 9);
            Put(s, Kind::RuneStone, 0.66, 0.72, 1.1, 12);
            Put(s, Kind::Keeper, 0.25, 0.82, 1.0, 1);
            Put(s, Kind::Rock, 0.9, 0.92, 1.5, 10);
            break;
        }
        case 10: {  // Sunken Library: flooded halls, books afloat in blue-green light
            s.sky = Sky::Deep;
            s.terrain = Terrain::Flooded;
            s.weather = Weather::Bubbles;
            s.horizon = 0.62;
            for (int i = 0; i < 6; ++i) Put(s, Kind::Bookshelf, 0.08 + i * 0.17, 0.02, 1.1, i);
            Put(s, Kind::Arch, 0.25, 0.2, 1.2, 0);
            Put(s, Kind::Arch, 0.75, 0.22, 1.2, 1);
            Put(s, Kind::Bookshelf, 0.04, 0.55, 1.0, 7);
            Put(s, Kind::Bookshelf, 0.96, 0.6, 1.0, 8);
            Put(s, Kind::RuneGem, 0.5, 0.6, 1.0, 5);
            Put(s, Kind::Ruin, 0.4, 0.85, 0.7, 6);
            Put(s, Kind::Book, 0.62, 0.9, 1.2, 3);
            Rng r(101);
            for (int i = 0; i < 14; ++i)
                Fly(s, Kind::Book, r.Range(0.04, 0.96), r.Range(0.08, 0.85), r.Range(0.8, 1.5), i);
            break;
        }
        case 11: {  // Starfall Heights: the mountain observatory under falling stars
            s.sky = Sky::Night;
            s.terrain = Terrain::Mountains;
            s.weather = Weather::Starfall;
            s.sunX = 0.12, s.sunY = 0.14;
            s.horizon = 0.6;
            s.clouds = 3;
            Put(s, Kind::Observatory, 0.7, 0.05, 1.2);
            Put(s, Kind::TreePine, 0.5, 0.1, 1.0);
            Put(s, Kind::TreePine, 0.9, 0.15, 1.0);
            Put(s, Kind::Lantern, 0.62, 0.2, 1.0);
            Put(s, Kind::Keeper, 0.32, 0.45, 1.0, 0);
            Put(s, Kind::Apprentice, 0.38, 0.47, 1.0, 1, true);
            Put(s, Kind::Rock, 0.1, 0.5, 1.2, 11);
            Put(s, Kind::TreePine, 0.05, 0.8, 1.4, 0);
            Put(s, Kind::RuneStone, 0.16, 0.9, 1.0, 7);
            Put(s, Kind::Flowers, 0.28, 0.93, 1.0, 3);
            Put(s, Kind::TreePine, 0.22, 0.3, 1.0, 0);
            Put(s, Kind::Lantern, 0.45, 0.6, 1.0);
            Put(s, Kind::Rock, 0.8, 0.8, 1.3, 12);
            Put(s, Kind::RuneGem, 0.55, 0.85, 1.0, 8);
            break;
        }
        case 12: {  // Dusk Gate: a huge stone gate in purple dusk, stones around it
            s.sky = Sky::Violet;
            s.terrain = Terrain::Hills;
            s.sunX = 0.5, s.sunY = 0.45;
            s.clouds = 6;
            Put(s, Kind::Gate, 0.5, 0.08, 1.0);
            for (int i = 0; i < 6; ++i) {
                double x = i < 3 ? 0.06 + i * 0.1 : 0.74 + (i - 3) * 0.1;
                Put(s, Kind::RuneStone, x, 0.15 + (i % 3) * 0.12, 1.2, 0);
            }
            Put(s, Kind::TreeDead, 0.1, 0.5, 1.2, 5);
            Put(s, Kind::Rock, 0.3, 0.7, 1.2, 13);
            Put(s, Kind::Apprentice, 0.45, 0.75, 1.0, 1);
            Put(s, Kind::Keeper, 0.55, 0.74, 1.0, 1, true);
            Put(s, Kind::Rock, 0.85, 0.85, 1.3, 14);
            Flock(s, 0.2, 0.2, 4, 0.8, 0, 121);
            break;
        }
        case 13: {  // Quiet Crown: a silent castle of stone, runes turned to stone around it
            s.sky = Sky::Storm;
            s.terrain = Terrain::Hills;
            s.weather = Weather::Mist;
            s.clouds = 10;
            Put(s, Kind::Ruin, 0.08, 0.0, 0.8, 2);
            Put(s, Kind::Tower, 0.93, 0.0, 0.7, 1);
            Put(s, Kind::Castle, 0.5, 0.06, 1.3, 1);
            Flock(s, 0.1, 0.43, 5, 0.8, 0, 131);
            Flock(s, 0.1, 0.15, 4, 0.8, 0, 133);
            Flock(s, 0.85, 0.35, 4, 0.8, 0, 132);
            Put(s, Kind::TreeDead, 0.15, 0.1, 1.0, 6);
            Put(s, Kind::TreeDead, 0.85, 0.12, 1.0, 7);
            for (int i = 0; i < 12; ++i) {
                double a = i * 2 * M_PI / 12;
                Put(s, Kind::RuneStone, 0.5 + std::cos(a) * 0.42, 0.45 + std::sin(a) * 0.3, 1.0, i + 1);
            }
            Put(s, Kind::Golem, 0.12, 0.6, 1.0, 2);
            Put(s, Kind::Golem, 0.88, 0.62, 1.0, 3, true);
            Put(s, Kind::Rock, 0.5, 0.9, 1.2, 15);
            break;
        }
        case 14: {  // Velmora restored: a festival on a bright day
            s.sky = Sky::Day;
            s.terrain = Terrain::Hills;
            s.sunX = 0.58, s.sunY = 0.1;
            s.clouds = 11;
            Put(s, Kind::Castle, 0.5, 0.02, 1.0, 0);
            Put(s, Kind::TreeRound, 0.15, 0.05, 1.0, 1);
            Put(s, Kind::TreeRound, 0.85, 0.06, 1.0, 2);
            Put(s, Kind::Cottage, 0.22, 0.22, 1.0, 0);
            Put(s, Kind::Cottage, 0.78, 0.24, 1.0, 1, true);
            for (int i = 0; i < 6; ++i) Put(s, Kind::Banner, 0.08 + i * 0.17, 0.35 + (i % 2) * 0.1, 1.0, i, i > 2);
            for (int i = 0; i < 8; ++i) Put(s, Kind::Villager, 0.06 + i * 0.12, 0.6 + (i % 3) * 0.1, 1.0, 5 + i % 5, i % 2);
            Fly(s, Kind::Bunting, 0.25, 0.2, 1.0, 0);
            Fly(s, Kind::Bunting, 0.75, 0.22, 1.0, 2);
            Put(s, Kind::Flowers, 0.2, 0.9, 1.0, 0);
            Put(s, Kind::Flowers, 0.6, 0.92, 1.0, 1);
            Put(s, Kind::Lantern, 0.4, 0.85, 1.0);
            Flock(s, 0.5, 0.12, 6, 0.9, 3, 141);
            Flock(s, 0.08, 0.1, 4, 0.8, 3, 142);
            Flock(s, 0.92, 0.08, 4, 0.8, 3, 143);
            Flock(s, 0.74, 0.05, 4, 0.7, 3, 144);
            break;
        }
        case 15: {  // Endless: a calm night garden of runes
            s.sky = Sky::Night;
            s.terrain = Terrain::Garden;
            s.sunX = 0.8, s.sunY = 0.18;
            s.clouds = 4;
            s.clouds = 7;
            for (int i = 0; i < 15; ++i) Put(s, Kind::Bush, 0.0 + i * 0.072, 0.0, 1.4, i);
            for (int i = 0; i < 7; ++i) Put(s, Kind::Bush, 0.06 + i * 0.15, 0.05, 1.2, i);
            Put(s, Kind::TreeRound, 0.1, 0.12, 1.0, 3);
            Put(s, Kind::TreeRound, 0.9, 0.12, 1.0, 4);
            // No glowing rune or lantern stands in the lower left, where the
            // score plank (x 31..171 from y 352) hangs, nor where any endless
            // board's frame could leave it half showing: the strip right of
            // the widest frame (x 772 on) is too narrow to hold one clear of
            // it, and the front row peeks out under the shortest board. The
            // board hides the rest.
            for (int i = 0; i < 10; ++i) {
                double x = 0.06 + (i % 5) * 0.22, d = 0.2 + (i / 5) * 0.28;
                x += (i / 5 % 2) * 0.1;
                if (x < 0.3 || x > 0.85) continue;
                Put(s, Kind::RuneGem, x, d, 1.0, i + 1);
            }
            for (int i = 1; i < 3; ++i) Put(s, Kind::Lantern, 0.15 + i * 0.25, 0.4, 1.0);
            Put(s, Kind::Flowers, 0.3, 0.7, 1.0, 3);
            Put(s, Kind::Flowers, 0.75, 0.88, 1.0, 2);
            break;
        }
        default: {  // Time attack: an hourglass tower at sunrise
            s.sky = Sky::Dawn;
            s.terrain = Terrain::Mountains;
            s.sunX = 0.3, s.sunY = 0.36;
            s.horizon = 0.6;
            s.clouds = 13;
            Flock(s, 0.85, 0.12, 5, 0.8, 0, 162);
            Put(s, Kind::HourglassTower, 0.66, 0.08, 1.0);
            Put(s, Kind::TreePine, 0.5, 0.1, 1.0);
            Put(s, Kind::TreePine, 0.85, 0.12, 1.0);
            Put(s, Kind::Rock, 0.15, 0.35, 1.2, 16);
            // No standing hourglass in front: the clock's own hourglass hangs
            // over the score plank, and a second one in the grass reads as a
            // stray. The tower behind the board carries the theme.
            Put(s, Kind::Apprentice, 0.42, 0.62, 1.0, 0);
            Put(s, Kind::Bush, 0.8, 0.7, 1.0, 2);
            Put(s, Kind::Flowers, 0.1, 0.9, 1.0, 1);
            Flock(s, 0.45, 0.25, 6, 0.9, 0, 161);
            break;
        }
    }
    return s;
}

// The screens' own backdrops, each a scene no stage uses.
SceneDesc BackdropScene(int n) {
    SceneDesc s;
    s.seed = static_cast<uint32_t>(5000 + n * 131);
    switch (n) {
        case 0: {  // title: the castle of Velmora by night, lit, above its village
            s.sky = Sky::Night;
            s.terrain = Terrain::Forest;
            s.sunX = 0.84, s.sunY = 0.3;
            s.horizon = 0.6;
            s.clouds = 4;
            Put(s, Kind::Castle, 0.5, 0.02, 1.25, 0);
            for (double x : {0.33, 0.41, 0.6, 0.68}) Put(s, Kind::Cottage, x, 0.16, 0.8, int(x * 10) % 3);
            Put(s, Kind::TreePine, 0.06, 0.3, 1.2);
            Put(s, Kind::TreePine, 0.94, 0.35, 1.2, 0, true);
            Put(s, Kind::Lantern, 0.45, 0.4, 1.0);
            Put(s, Kind::Lantern, 0.56, 0.42, 1.0);
            Put(s, Kind::Well, 0.5, 0.5, 1.0);
            Put(s, Kind::Fence, 0.38, 0.62, 1.0, 2);
            Put(s, Kind::Flowers, 0.6, 0.66, 1.0, 1);
            Put(s, Kind::RuneStone, 0.3, 0.75, 1.0, 3);
            Put(s, Kind::RuneStone, 0.72, 0.8, 1.0, 9);
            Put(s, Kind::TreePine, 0.02, 0.9, 1.5, 0);
            Put(s, Kind::TreePine, 0.98, 0.92, 1.5, 0);
            break;
        }
        case 1: {  // loading: a violet lake at moonrise, willows on its banks, a far tower
            // The lake, its banks and the far shore are painted by the
            // loading backdrop itself; these stand on them, far to near.
            s.sky = Sky::Violet;
            s.terrain = Terrain::Marsh;
            s.sunX = 0.3, s.sunY = 0.2;
            s.horizon = 0.52;
            s.clouds = 5;
            auto at = [&s](Kind k, double x, double y, double scale, int variant, bool flip, double haze) {
                Element e;
                e.kind = k, e.x = x, e.y = y, e.scale = scale, e.variant = variant, e.flip = flip, e.haze = haze;
                s.elements.push_back(e);
            };
            at(Kind::Tower, 0.745, 0.487, 0.55, 2, false, 0.35);
            for (double x : {0.3, 0.345, 0.4}) at(Kind::Cottage, x, 0.53, 0.42, int(x * 20) % 3, x > 0.34, 0.4);
            Flock(s, 0.56, 0.17, 5, 0.8, 0, 19);
            at(Kind::Boat, 0.43, 0.592, 0.6, 1, false, 0.2);
            at(Kind::Reeds, 0.205, 0.7, 1.1, 4, false, 0.05);
            at(Kind::Reeds, 0.8, 0.69, 1.1, 7, true, 0.05);
            at(Kind::TreeWillow, 0.085, 0.74, 1.75, 3, false, 0);
            at(Kind::TreeWillow, 0.93, 0.72, 1.6, 8, true, 0);
            for (double x : {0.02, 0.13, 0.24, 0.36, 0.5, 0.64, 0.76, 0.87, 0.98})
                at(Kind::Reeds, x, 0.97 + (x > 0.5 ? 0.02 : 0), 1.9, int(x * 50), x > 0.5, 0);
            break;
        }
        case 2: {  // best scores: the hall of banners on a mountain night
            s.sky = Sky::Night;
            s.terrain = Terrain::Mountains;
            s.sunX = 0.5, s.sunY = 0.15;
            Put(s, Kind::Tower, 0.2, 0.05, 1.0, 1);
            Put(s, Kind::Tower, 0.8, 0.05, 1.0, 1);
            for (int i = 0; i < 6; ++i) Put(s, Kind::Banner, 0.1 + i * 0.16, 0.4, 1.1, i, i > 2);
            for (int i = 0; i < 5; ++i) Put(s, Kind::Lantern, 0.18 + i * 0.16, 0.7, 1.0);
            break;
        }
        case 3: {  // credits: boats coming home along the shore at dawn
            s.sky = Sky::Dawn;
            s.terrain = Terrain::Coast;
            s.sunX = 0.75, s.sunY = 0.45;
            s.clouds = 5;
            Put(s, Kind::Cottage, 0.12, 0.1, 1.0, 2);
            Put(s, Kind::Cottage, 0.3, 0.14, 0.9, 0, true);
            Put(s, Kind::TreeRound, 0.2, 0.3, 1.0, 2);
            Fly(s, Kind::Boat, 0.7, 0.66, 1.0, 1);
            Fly(s, Kind::Boat, 0.88, 0.8, 1.3, 0, true);
            // Left of and below the panel the credits stand on.
            Put(s, Kind::Villager, 0.08, 0.8, 1.0, 1);
            Put(s, Kind::Flowers, 0.2, 0.9, 1.0, 2);
            Flock(s, 0.6, 0.25, 6, 1.0, 3, 33);
            break;
        }
        case 4: {  // the start-up portal: a ring of rune stones under the night steppe
            s.sky = Sky::Night;
            s.terrain = Terrain::Steppe;
            s.sunX = 0.2, s.sunY = 0.18;
            s.weather = Weather::Sparkle;
            for (int i = 0; i < 9; ++i) {
                double a = i * 2 * M_PI / 9;
                Put(s, Kind::RuneStone, 0.5 + std::cos(a) * 0.38, 0.5 + std::sin(a) * 0.35, 1.1, i + 4);
            }
            Put(s, Kind::Keeper, 0.5, 0.5, 1.1, 1);
            Put(s, Kind::RuneGem, 0.44, 0.45, 0.8, 15);
            break;
        }
        case 5: {  // behind the puzzle: a quiet autumn wood at dusk
            s.sky = Sky::Dusk;
            s.terrain = Terrain::Forest;
            s.autumn = true;
            s.weather = Weather::Leaves;
            s.sunX = 0.5, s.sunY = 0.42;
            for (int i = 0; i < 8; ++i) Put(s, Kind::TreeRound, 0.04 + i * 0.13, 0.3 + (i % 2) * 0.3, 1.2, 10 + i);
            break;
        }
        default: {  // gallery: pines and a watch-tower in the winter dusk
            s.sky = Sky::Winter;
            s.terrain = Terrain::Snow;
            s.weather = Weather::Snow;
            s.sunY = -1;
            Put(s, Kind::Tower, 0.5, 0.05, 1.0, 0);
            for (int i = 0; i < 8; ++i) Put(s, Kind::TreePine, 0.05 + i * 0.13, 0.2 + (i % 3) * 0.25, 1.2, 1);
            break;
        }
    }
    return s;
}

void Slides(std::vector<Recipe>& out) {
    for (int n = 1; n <= 16; ++n) {
        std::string path = "gfx/slides/slide-" + Two(n) + ".jpg";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(800, 600);
            scene::PaintScene(c, SlideScene(n));
            c.Opaque({0, 0, 0});
            ctx.Jpeg(c, path, 88);
        }));
    }
}

void All(std::vector<Recipe>& out) {
    TitleAndLoading(out);
    Tally(out);
    Puzzle(out);
    Gallery(out);
    Slides(out);
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
