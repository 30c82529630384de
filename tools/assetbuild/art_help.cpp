// Help pages (the new quest's and the first boss's) and the popups' panels
// and icons.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "artkit.h"
#include "builder.h"

namespace qab {
namespace {
void TutorialPages(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/gui/tutorial.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        Scene sc = SceneVariant(0);
        sc.moonR = 0;
        PaintLandscape(c, sc, ctx.seed);
        Darken(c, 0.6);
        // Sunken wells where the live demonstrations play.
        struct Well {
            double x, y, w, h;
        };
        for (Well w : {Well{586, 40, 148, 134}, Well{556, 372, 208, 104}, Well{66, 12, 148, 140},
                       Well{32, 300, 226, 176}}) {
            RoundRect(c.cr, w.x, w.y, w.w, w.h, 10);
            SetColor(c.cr, Hex(0x06061a), 0.55);
            cairo_fill(c.cr);
            GoldFrame(c, w.x, w.y, w.w, w.h, 2, 10);
        }
        RGB text = Hex(0xf4ead0);
        // Whole inside the picture's top edge and above the well under it (y 40).
        FitCaption(c, F_BLACKLETTER, 32, 560, 21, 280, "How to play", CS_GOLD);
        // Beside each live demonstration.
        Paragraph(c, F_SERIF, 16, 560, 178, 220,
                  "Three or more runes of one colour in a row or a column vanish.", text, true);
        Paragraph(c, F_SERIF, 16, 560, 318, 220, "Clear runes of two or more colours at once for a combo.", text, true);
        Paragraph(c, F_SERIF, 16, 10, 268, 290, "Right button or Space turns the block.", text, true);
        Paragraph(c, F_SERIF, 16, 30, 478, 230, "Left click drops the block on the board.", text, true);
        Paragraph(c, F_SERIF, 16, 250, 384, 300,
                  "Fill each magic sphere with runes of its colour to win the level. Watch the hourglass in "
                  "timed levels.",
                  text, true);
        Paragraph(c, F_SERIF, 16, 250, 470, 300,
                  "Runes left too long turn to stone. A line cleared through a stone frees its rune.", text, true);
        Paragraph(c, F_SERIF, 15, 560, 490, 220, "Clear four or more runes at once for a spell; clear a line through it to set it off.",
                  text, true);
        Plaque(c, 369, 570, 64, 24, "Play", F_UNCIAL, 18, false, 3);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/gui/tutorial.jpg", 90);
    }));
    out.push_back(Picture("gfx/gui/tutorial2boss.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        PaintLandscape(c, SceneVariant(1), ctx.seed);
        Darken(c, 0.6);
        cairo_t* cr = c.cr;
        // The plus-shaped cross of 16 cells (x 280..520, y 135..375).
        cairo_rectangle(cr, 280, 215, 240, 80);
        cairo_rectangle(cr, 360, 135, 80, 240);
        SetColor(cr, Hex(0x100c20), 0.85);
        cairo_fill(cr);
        GoldFrame(c, 276, 131, 248, 248, 3, 8);
        RGB text = Hex(0xf4ead0);
        FitCaption(c, F_BLACKLETTER, 40, 400, 60, 400, "Boss levels", CS_GOLD);
        Paragraph(c, F_SERIF, 17, 40, 170, 220,
                  "A boss guards this level. It fills four cells and only runes of its own colour, marked with its rune, can hurt it.",
                  text, true);
        Paragraph(c, F_SERIF, 17, 545, 170, 220,
                  "Fill all four arms of the cross around it with runes of its colour and it falls. Soot marks show the arms.", text, true);
        Paragraph(c, F_SERIF, 17, 200, 420, 400, "Beat every boss to win the level.", text, true);
        Plaque(c, 371, 571, 64, 24, "Play", F_UNCIAL, 18, false, 4);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/gui/tutorial2boss.jpg", 90);
    }));
}

// The ring game's gold ring round its orb, with a rune glowing in the orb.
void RingIcon(Canvas& c) {
    cairo_t* cr = c.cr;
    const double cx = 32, cy = 32, outer = 28, inner = 18;
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, outer, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, inner, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, inner, cx, cy, outer);
    AddStop(g, 0, pal::goldDeep);
    AddStop(g, 0.35, pal::goldLight);
    AddStop(g, 0.65, pal::gold);
    AddStop(g, 1, pal::goldDeep);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    // Light from the upper left across the band.
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, outer - 1, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, inner + 1, 0, 2 * M_PI);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    g = cairo_pattern_create_linear(cx - outer, cy - outer, cx + outer, cy + outer);
    AddStop(g, 0, {1, 1, 1}, 0.35);
    AddStop(g, 0.5, {1, 1, 1}, 0);
    AddStop(g, 1, {0, 0, 0}, 0.3);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    // Runes engraved round the band.
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4 + M_PI / 8;
        CarveGlyph(cr, F_RUNIC, 0x16A0 + i * 5, 9, cx + std::cos(a) * 23, cy + std::sin(a) * 23, Hex(0x4a2a06), 0.5);
    }
    for (double rr : {outer, inner}) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, rr, 0, 2 * M_PI);
        cairo_set_line_width(cr, 1.2);
        SetColor(cr, Hex(0x3a2206));
        cairo_stroke(cr);
    }
    // The orb and its rune.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, inner - 1.5, 0, 2 * M_PI);
    g = cairo_pattern_create_radial(cx - 5, cy - 6, 1, cx, cy, inner);
    AddStop(g, 0, Hex(0x8a8af0));
    AddStop(g, 0.6, Hex(0x2a2a90));
    AddStop(g, 1, Hex(0x0a0a30));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    RadialGlow(cr, cx, cy + 1, 12, Hex(0xa080ff), 0.7);
    cairo_new_path(cr);
    GlyphPath(cr, F_RUNIC, 0x16B1, 20, cx, cy + 1);
    cairo_set_line_width(cr, 1.5);
    SetColor(cr, Hex(0x20104a), 0.9);
    cairo_stroke_preserve(cr);
    SetColor(cr, Hex(0xf4f0ff));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - 6, cy - 8);
    cairo_scale(cr, 1, 0.55);
    RadialGlow(cr, 0, 0, 6, {1, 1, 1}, 0.7);
    cairo_restore(cr);
}

// A jigsaw cut of side `a` at (x, y); tabs: +1 out, -1 in, 0 flat, for the
// top, right, bottom and left edges.
void JigsawPath(cairo_t* cr, double x, double y, double a, const int tabs[4]) {
    // Corners, clockwise from the top left, and each edge's outward normal.
    const double px[4] = {x, x + a, x + a, x}, py[4] = {y, y, y + a, y + a};
    const double nx[4] = {0, 1, 0, -1}, ny[4] = {-1, 0, 1, 0};
    cairo_new_path(cr);
    cairo_move_to(cr, px[0], py[0]);
    for (int e = 0; e < 4; ++e) {
        double x0 = px[e], y0 = py[e], x1 = px[(e + 1) % 4], y1 = py[(e + 1) % 4];
        double dx = (x1 - x0) / a, dy = (y1 - y0) / a;
        if (tabs[e] == 0) {
            cairo_line_to(cr, x1, y1);
            continue;
        }
        double h = tabs[e] * a * 0.24;
        auto P = [&](double along, double out, double& ox, double& oy) {
            ox = x0 + dx * a * along + nx[e] * out;
            oy = y0 + dy * a * along + ny[e] * out;
        };
        double ax, ay, bx, by, c1x, c1y, c2x, c2y, tx, ty;
        P(0.38, 0, ax, ay);
        cairo_line_to(cr, ax, ay);
        P(0.3, h * 0.9, c1x, c1y);
        P(0.3, h * 1.2, c2x, c2y);
        P(0.5, h * 1.2, tx, ty);
        cairo_curve_to(cr, c1x, c1y, c2x, c2y, tx, ty);
        P(0.7, h * 1.2, c1x, c1y);
        P(0.7, h * 0.9, c2x, c2y);
        P(0.62, 0, bx, by);
        cairo_curve_to(cr, c1x, c1y, c2x, c2y, bx, by);
        cairo_line_to(cr, x1, y1);
    }
    cairo_close_path(cr);
}

// A painted night picture cut in four jigsaw shapes, one lifted out.
void PuzzleIcon(Canvas& c, uint32_t seed) {
    cairo_t* cr = c.cr;
    // The picture on the jigsaw: night sky, moon and a hill, on parchment.
    Canvas pic(64, 64);
    ParchmentFill(pic, 0, 0, 64, 64, seed);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 64);
    AddStop(g, 0, Hex(0x1a2050), 0.75);
    AddStop(g, 0.7, Hex(0x4a4a8a), 0.55);
    AddStop(g, 1, Hex(0x2a4a2a), 0.7);
    cairo_set_source(pic.cr, g);
    cairo_paint(pic.cr);
    cairo_pattern_destroy(g);
    RadialGlow(pic.cr, 40, 18, 12, pal::moon, 0.8);
    cairo_new_path(pic.cr);
    cairo_arc(pic.cr, 40, 18, 5, 0, 2 * M_PI);
    SetColor(pic.cr, pal::moon);
    cairo_fill(pic.cr);
    cairo_move_to(pic.cr, 0, 50);
    cairo_curve_to(pic.cr, 18, 36, 36, 40, 64, 46);
    cairo_line_to(pic.cr, 64, 64);
    cairo_line_to(pic.cr, 0, 64);
    cairo_close_path(pic.cr);
    SetColor(pic.cr, Hex(0x1a2a14), 0.85);
    cairo_fill(pic.cr);
    const double a = 24, ox = 6, oy = 8;
    const int tabs[4][4] = {{0, 1, -1, 0}, {0, 0, 1, -1}, {1, -1, 0, 0}, {-1, 0, 0, 1}};
    for (int k = 0; k < 4; ++k) {
        double x = ox + (k % 2) * a, y = oy + (k / 2) * a;
        bool lifted = k == 1;
        double lx = lifted ? 10 : 0, ly = lifted ? -5 : 0;
        cairo_save(cr);
        if (lifted) {
            // Its shadow on the table first.
            JigsawPath(cr, x + 2, y + 3, a, tabs[k]);
            SetColor(cr, {0, 0, 0}, 0.45);
            cairo_fill(cr);
            cairo_translate(cr, x + a / 2 + lx, y + a / 2 + ly);
            cairo_rotate(cr, 0.18);
            cairo_translate(cr, -(x + a / 2), -(y + a / 2));
        }
        JigsawPath(cr, x, y, a, tabs[k]);
        cairo_save(cr);
        cairo_clip_preserve(cr);
        cairo_set_source_surface(cr, pic.surface, 0, 0);
        cairo_paint(cr);
        // A bevel: light on the upper left of every shape, shade lower right.
        g = cairo_pattern_create_linear(x, y, x + a, y + a);
        AddStop(g, 0, {1, 1, 1}, 0.25);
        AddStop(g, 0.5, {1, 1, 1}, 0);
        AddStop(g, 1, {0, 0, 0}, 0.3);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
        cairo_set_line_width(cr, 1.2);
        SetColor(cr, lifted ? pal::goldLight : pal::goldDeep);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

void PopupPictures(std::vector<Recipe>& out) {
    // Hint popup panels: light parchment under black text, OK at 72 % height.
    struct Panel {
        const char* name;
        int w, h;
    };
    for (Panel p : {Panel{"panel", 360, 220}, Panel{"panel-wide", 440, 240}, Panel{"panel-small", 300, 170},
                    Panel{"panel-tall", 360, 300}}) {
        std::string path = std::string("gfx/info/") + p.name + ".png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(p.w, p.h);
            RoundRect(c.cr, 3, 3, p.w - 6, p.h - 6, 14);
            cairo_clip(c.cr);
            ParchmentFill(c, 0, 0, p.w, p.h, ctx.seed);
            cairo_reset_clip(c.cr);
            GoldFrame(c, 2, 2, p.w - 4, p.h - 4, 6, 14);
            CornerStuds(c.cr, 12, p.w - 12.0, 12, p.h - 12.0, 4);
            ctx.Png(c, path);
        }));
    }
    // A hint panel fitted to three lines and the OK button: the hints that
    // show no picture leave no empty band above the button.
    out.push_back(Picture("gfx/info/panel-short.png", [](Context& ctx) {
        const int w = 360, h = 176;
        Canvas c(w, h);
        RoundRect(c.cr, 3, 3, w - 6, h - 6, 14);
        cairo_clip(c.cr);
        ParchmentFill(c, 0, 0, w, h, ctx.seed);
        cairo_reset_clip(c.cr);
        GoldFrame(c, 2, 2, w - 4, h - 4, 6, 14);
        CornerStuds(c.cr, 12, w - 12.0, 12, h - 12.0, 4);
        ctx.Png(c, "gfx/info/panel-short.png");
    }));
    // Popup illustrations. A picture that shows runes names their colour
    // classes in its file name (icon-combo-01-02: red and blue), so the hint
    // data can be checked against the level it shows in.
    struct Icon {
        const char* name;
        int kind;
        std::vector<int> colours;
    };
    // The boss and hourglass icons are made beside the boss and timer art
    // (art_board.cpp), so they always match what the board shows.
    static const Icon kIcons[] = {{"icon-rune", 0, {1, 2, 3}}, {"icon-stone", 1, {2}}, {"icon-sphere", 2, {1}},
                                  {"icon-combo", 5, {1, 2}},   {"icon-ring", 6, {}},  {"icon-puzzle", 7, {}}};
    for (const Icon& ic : kIcons) {
        std::string path = std::string("gfx/info/") + ic.name;
        for (int k : ic.colours) path += "-" + Two(k);
        path += ".png";
        out.push_back(Picture(path, [&ic, path](Context& ctx) {
            Canvas c(64, 64);
            cairo_t* cr = c.cr;
            const std::vector<int>& k = ic.colours;
            switch (ic.kind) {
                case 0:
                    DrawGem(c, 2, 14, 30, RuneOf(k[0]), 1);
                    DrawGem(c, 32, 14, 30, RuneOf(k[1]), 1);
                    DrawGem(c, 17, 34, 30, RuneOf(k[2]), 1);
                    break;
                case 1: DrawStone(c, 4, 4, 56, &RuneOf(k[0]), 9); break;
                case 2: {
                    RuneClass rc = RuneOf(k[0]);
                    rc.shape = 0;
                    DrawGem(c, 4, 4, 56, rc, 1);
                    break;
                }
                case 5:
                    // A combo is two colours cleared by one drop: a row of
                    // each, stacked as they would lie on the board.
                    for (int i = 0; i < 3; ++i) DrawGem(c, 1 + i * 19, 14, 21, RuneOf(k[0]), 1);
                    for (int i = 0; i < 3; ++i) DrawGem(c, 1 + i * 19, 36, 21, RuneOf(k[1]), 1);
                    Star(cr, 54, 10, 9, 3, 5);
                    SetColor(cr, pal::goldLight);
                    cairo_fill(cr);
                    break;
                case 6: RingIcon(c); break;
                default: PuzzleIcon(c, ctx.seed); break;
            }
            c.Shadow(1, 2, 2, {0, 0, 0}, 0.5);
            ctx.Png(c, path);
        }));
    }
}

void All(std::vector<Recipe>& out) {
    TutorialPages(out);
    PopupPictures(out);
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
