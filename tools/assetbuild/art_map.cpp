// The quest map: the island, its roads and the stage vignettes laid on it.
#include <cmath>
#include <cstdio>
#include <string>

#include "artkit.h"
#include "builder.h"

namespace qab {
namespace {
void MapArt(Canvas& c, uint32_t seed) {
    cairo_t* cr = c.cr;
    Rng rng(seed);
    ParchmentFill(c, 0, 0, 800, 600, seed);
    // Sea around an island.
    cairo_new_path(cr);
    for (int i = 0; i <= 240; ++i) {
        double a = i * 2 * M_PI / 240;
        double r = 250 + 60 * (Fbm(std::cos(a) * 2 + 5, std::sin(a) * 2 + 5, 3, seed) - 0.5) * 2 +
                   14 * (Fbm(std::cos(a) * 9 + 3, std::sin(a) * 9 + 3, 3, seed + 7) - 0.5) * 2;
        double x = 400 + std::cos(a) * r * 1.35, y = 285 + std::sin(a) * r * 0.95;
        if (i == 0) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_path_t* island = cairo_copy_path(cr);
    cairo_rectangle(cr, 0, 0, 800, 600);
    SetColor(cr, Hex(0x4a7a9a), 0.55);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_append_path(cr, island);
    cairo_set_line_width(cr, 3);
    SetColor(cr, Hex(0x5a3a1a), 0.8);
    cairo_stroke(cr);
    // Waves.
    for (int i = 0; i < 40; ++i) {
        double x = rng.Range(0, 800), y = rng.Range(0, 560);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + 5, y - 4, x + 10, y - 4, x + 15, y);
        SetColor(cr, Hex(0x2a4a6a), 0.35);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    // Forests, mountains and a river inside the island.
    cairo_save(cr);
    cairo_append_path(cr, island);
    cairo_clip(cr);
    RadialGlow(cr, 400, 285, 330, Hex(0x8aa060), 0.35);
    for (int i = 0; i < 26; ++i) {
        double x = rng.Range(150, 660), y = rng.Range(90, 470), s = rng.Range(14, 26);
        cairo_move_to(cr, x - s, y + s * 0.6);
        cairo_line_to(cr, x, y - s * 0.6);
        cairo_line_to(cr, x + s, y + s * 0.6);
        cairo_close_path(cr);
        SetColor(cr, Hex(0x8a7a6a));
        cairo_fill_preserve(cr);
        SetColor(cr, Hex(0x4a3020), 0.8);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_move_to(cr, x - s * 0.35, y - s * 0.2);
        cairo_line_to(cr, x, y - s * 0.6);
        cairo_line_to(cr, x + s * 0.3, y - s * 0.25);
        SetColor(cr, Hex(0xffffff), 0.7);
        cairo_stroke(cr);
        i += 2;
    }
    for (int i = 0; i < 90; ++i) {
        double x = rng.Range(120, 680), y = rng.Range(80, 500);
        cairo_arc(cr, x, y, rng.Range(4, 7), 0, 2 * M_PI);
        SetColor(cr, Hex(0x3a6a2a), 0.75);
        cairo_fill(cr);
    }
    cairo_move_to(cr, 260, 60);
    cairo_curve_to(cr, 330, 180, 240, 300, 380, 360);
    cairo_curve_to(cr, 480, 400, 520, 470, 560, 560);
    cairo_set_line_width(cr, 5);
    SetColor(cr, Hex(0x3a6a9a), 0.7);
    cairo_stroke(cr);
    // Towns joined by a dotted road.
    const double towns[6][2] = {{215, 430}, {300, 300}, {455, 395}, {560, 250}, {430, 160}, {620, 120}};
    cairo_move_to(cr, towns[0][0], towns[0][1]);
    for (int i = 1; i < 6; ++i)
        cairo_curve_to(cr, (towns[i - 1][0] + towns[i][0]) / 2 + 30, towns[i - 1][1],
                       (towns[i - 1][0] + towns[i][0]) / 2 - 30, towns[i][1], towns[i][0], towns[i][1]);
    const double dash[2] = {5, 5};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 2.5);
    SetColor(cr, Hex(0x7a2a10), 0.75);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (auto& t : towns) {
        double x = t[0], y = t[1];
        SetColor(cr, Hex(0x5a3a2a));
        cairo_rectangle(cr, x - 9, y - 10, 18, 12);
        cairo_fill(cr);
        cairo_rectangle(cr, x - 4, y - 20, 8, 12);
        cairo_fill(cr);
        SetColor(cr, Hex(0xb0302a));
        cairo_move_to(cr, x - 6, y - 20);
        cairo_line_to(cr, x, y - 29);
        cairo_line_to(cr, x + 6, y - 20);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    cairo_path_destroy(island);
    // Compass rose.
    Star(cr, 710, 90, 40, 8, 4);
    SetColor(cr, Hex(0x5a3a1a), 0.8);
    cairo_fill(cr);
    Star(cr, 710, 90, 26, 6, 4, M_PI / 4);
    SetColor(cr, Hex(0x8a5a2a), 0.7);
    cairo_fill(cr);
    // Bottom strip behind "level N of M" and the two buttons.
    cairo_rectangle(cr, 0, 556, 800, 44);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 556, 0, 600);
    AddStop(g, 0, Hex(0x2a1a0e));
    AddStop(g, 1, Hex(0x120a04));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_rectangle(cr, 0, 555, 800, 3);
    SetColor(cr, pal::gold);
    cairo_fill(cr);
    // Darkened, burnt edges.
    g = cairo_pattern_create_radial(400, 290, 250, 400, 290, 560);
    AddStop(g, 0, Hex(0x3a1e08), 0);
    AddStop(g, 1, Hex(0x3a1e08), 0.55);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
}

void Map(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/mapa/mapa.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        MapArt(c, ctx.seed);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/mapa/mapa.jpg", 90);
    }));
    // Stage pictures (map.tsc): vignettes laid on the map as the quest goes on.
    for (int n = 1; n <= 13; ++n) {
        char path[40];
        std::snprintf(path, sizeof path, "gfx/mapa/stage-%02d.png", n);
        out.push_back(Picture(path, [=, path = std::string(path)](Context& ctx) {
            Canvas pic(180, 130);
            Scene s = SceneVariant((n - 1) % 6);
            s.moonR = 14;
            PaintLandscape(pic, s, ctx.seed);
            Canvas c(180, 130);
            OvalPath(c.cr, 90, 65, 86, 130.0 / 180.0);
            cairo_clip(c.cr);
            c.Paste(pic, 0, 0);
            cairo_reset_clip(c.cr);
            OvalPath(c.cr, 90, 65, 86, 130.0 / 180.0);
            cairo_set_line_width(c.cr, 4);
            SetColor(c.cr, pal::gold);
            cairo_stroke(c.cr);
            c.Shadow(2, 3, 4, {0, 0, 0}, 0.6);
            ctx.Png(c, path);
        }));
    }
}

}  // namespace

QAB_RECIPES(Map);

}  // namespace qab
