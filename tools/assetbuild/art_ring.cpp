// The ring game: its background, ring and the runes it deals.
#include <cmath>
#include <cstdio>
#include <string>

#include "artkit.h"
#include "builder.h"

namespace qab {
namespace {
// The twenty runes the ring deals. Picked by hand from the Runic block: each
// tall, with enough strokes to read at slip size, and none sharing its frame
// with another (the plain vertical-stem family all look alike at a glance);
// the block's dots and short strokes read as punctuation and stay out.
constexpr uint32_t kRingGlyphs[20] = {0x16A1, 0x16A5, 0x16A7, 0x16B1, 0x16B7, 0x16BA, 0x16C3,
                                      0x16C7, 0x16C8, 0x16C9, 0x16CB, 0x16D4, 0x16DC, 0x16DE,
                                      0x16DF, 0x16E4, 0x16E6, 0x16E8, 0x16E9, 0x16F0};

void Ring(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/ring-game/game-ring3.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        Scene s = SceneVariant(4);
        s.moonX = 0.5;
        s.moonY = 0.43;
        s.moonR = 0;
        PaintLandscape(c, s, ctx.seed);
        Darken(c, 0.35);
        cairo_t* cr = c.cr;
        RadialGlow(cr, 400, 260, 220, Hex(0x6a5ad0), 0.45);
        // Slip columns: four stone pillars behind the slips.
        for (double x : {110.0, 210.0, 589.0, 689.0}) {
            RoundRect(cr, x - 34, 60, 68, 470, 10);
            cairo_pattern_t* g = cairo_pattern_create_linear(x - 34, 0, x + 34, 0);
            AddStop(g, 0, Hex(0x22203a));
            AddStop(g, 0.5, Hex(0x3a3656));
            AddStop(g, 1, Hex(0x18162a));
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
            GoldFrame(c, x - 34, 60, 68, 470, 3, 10);
        }
        // Score plate at the top.
        RoundRect(cr, 332, 2, 132, 32, 8);
        SetColor(cr, Hex(0x0a0a18));
        cairo_fill(cr);
        GoldFrame(c, 332, 2, 132, 32, 3, 8);
        // Progress trough from (335,523), 130 long.
        RoundRect(cr, 331, 519, 138, 20, 6);
        SetColor(cr, Hex(0x06060e));
        cairo_fill(cr);
        GoldFrame(c, 329, 517, 142, 24, 3, 7);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/ring-game/game-ring3.jpg", 90);
    }));
    // The magic ring, scaled from 5.5x down to 1x with nearest filtering:
    // the edges are anti-aliased in the picture itself.
    out.push_back(Picture("gfx/ring-game/ring0000.png", [](Context& ctx) {
        Canvas c(280, 280);
        cairo_t* cr = c.cr;
        double cx = 140, cy = 140;
        RadialGlow(cr, cx, cy, 140, Hex(0x8a70ff), 0.35);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_arc(cr, cx, cy, 128, 0, 2 * M_PI);
        cairo_arc(cr, cx, cy, 76, 0, 2 * M_PI);
        cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 76, cx, cy, 128);
        AddStop(g, 0, pal::goldDeep);
        AddStop(g, 0.3, pal::goldLight);
        AddStop(g, 0.6, pal::gold);
        AddStop(g, 1, pal::goldDeep);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        for (int i = 0; i < 24; ++i) {
            double a = i * M_PI / 12;
            cairo_new_path(cr);
            GlyphPath(cr, F_RUNIC, 0x16A0 + i * 3, 17, cx + std::cos(a) * 102, cy + std::sin(a) * 102);
            SetColor(cr, Hex(0x4a2a06), 0.85);
            cairo_fill(cr);
        }
        // The centre ball holding the rune to click.
        cairo_arc(cr, cx, cy + 5, 46, 0, 2 * M_PI);
        g = cairo_pattern_create_radial(cx - 14, cy - 10, 4, cx, cy + 5, 46);
        AddStop(g, 0, Hex(0x6a6ae0), 0.8);
        AddStop(g, 1, Hex(0x0a0a30), 0.9);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_set_line_width(cr, 2);
        cairo_arc(cr, cx, cy, 128, 0, 2 * M_PI);
        SetColor(cr, Hex(0x3a2206));
        cairo_stroke(cr);
        cairo_arc(cr, cx, cy, 76, 0, 2 * M_PI);
        cairo_stroke(cr);
        ctx.Png(c, "gfx/ring-game/ring0000.png");
    }));
    out.push_back(Picture("gfx/ring-game/wahadlo-c.png", [](Context& ctx) {
        Canvas c(40, 180);
        cairo_t* cr = c.cr;
        cairo_rectangle(cr, 18.5, 0, 3, 142);
        SetColor(cr, pal::goldDeep);
        cairo_fill(cr);
        cairo_arc(cr, 20, 158, 18, 0, 2 * M_PI);
        cairo_pattern_t* g = cairo_pattern_create_radial(14, 152, 2, 20, 158, 18);
        AddStop(g, 0, pal::goldLight);
        AddStop(g, 0.6, pal::gold);
        AddStop(g, 1, pal::goldDeep);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        RuneClass rc = RuneOf(5);
        DrawGem(c, 11, 149, 18, rc, 1);
        ctx.Png(c, "gfx/ring-game/wahadlo-c.png");
    }));
    out.push_back(Picture("gfx/ring-game/papirus1.png", [](Context& ctx) {
        Canvas c(52, 62);
        ParchmentSheet(c, 3, 3, 46, 56, ctx.seed);
        c.Shadow(1, 2, 2, {0, 0, 0}, 0.5);
        ctx.Png(c, "gfx/ring-game/papirus1.png");
    }));
    out.push_back(Picture("gfx/ring-game/switelko.png", [](Context& ctx) {
        Canvas c(60, 70);
        // Amber, not cream: drawn at 0.6 over a parchment slip, a pale glow
        // would not tell the player which slip the pointer is on.
        OvalGlow(c.cr, 30, 35, 30, 70.0 / 60.0, Hex(0xff9a20), 1.0);
        ctx.Png(c, "gfx/ring-game/switelko.png");
    }));
    // Twenty ring runes: inked on slips, and glowing in the centre ball.
    out.push_back(Picture("gfx/ring-game/runy-papier.png", [](Context& ctx) {
        Canvas c(640, 64);
        for (int i = 0; i < 20; ++i) {
            cairo_new_path(c.cr);
            GlyphPath(c.cr, F_RUNIC, kRingGlyphs[i], 40, i * 32 + 16, 32);
            SetColor(c.cr, Hex(0x3a1a06), 0.92);
            cairo_fill(c.cr);
        }
        ctx.Png(c, "gfx/ring-game/runy-papier.png");
    }));
    out.push_back(Picture("gfx/ring-game/runy-kula.png", [](Context& ctx) {
        Canvas c(1280, 64);
        for (int i = 0; i < 20; ++i) {
            Canvas cell(64, 64);
            cairo_new_path(cell.cr);
            GlyphPath(cell.cr, F_RUNIC, kRingGlyphs[i], 50, 32, 32);
            cairo_set_line_width(cell.cr, 2);
            SetColor(cell.cr, Hex(0x20104a), 0.9);
            cairo_stroke_preserve(cell.cr);
            SetColor(cell.cr, Hex(0xf4f0ff));
            cairo_fill(cell.cr);
            cell.Glow(5, Hex(0xa080ff), 0.8);
            c.Paste(cell, i * 64, 0);
        }
        ctx.Png(c, "gfx/ring-game/runy-kula.png");
    }));
    out.push_back(Picture("gfx/ring-game/bar.png", [](Context& ctx) {
        Canvas c(1, 12);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 12);
        AddStop(g, 0, Hex(0xc0ffe0));
        AddStop(g, 0.5, Hex(0x40d090));
        AddStop(g, 1, Hex(0x107050));
        cairo_set_source(c.cr, g);
        cairo_paint(c.cr);
        cairo_pattern_destroy(g);
        ctx.Png(c, "gfx/ring-game/bar.png");
    }));
}

}  // namespace

QAB_RECIPES(Ring);

}  // namespace qab
