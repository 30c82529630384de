// Help pages (the new quest's and the first boss's) and the popups' panels
// and icons.
#include <cmath>
#include <cstdio>
#include <string>

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
        FitCaption(c, F_BLACKLETTER, 44, 560, 22, 300, "How to play", CS_GOLD);
        // Beside each live demonstration.
        Paragraph(c, F_SERIF, 16, 560, 178, 220,
                  "Three or more runes of one colour in a row or a column vanish.", text, true);
        Paragraph(c, F_SERIF, 16, 560, 318, 220, "Clear several lines at once for a combo.", text, true);
        Paragraph(c, F_SERIF, 16, 10, 268, 290, "Right button or Space turns the block.", text, true);
        Paragraph(c, F_SERIF, 16, 30, 478, 230, "Left click drops the block on the board.", text, true);
        Paragraph(c, F_SERIF, 16, 250, 384, 300,
                  "Fill each magic sphere with runes of its colour to win the level. Watch the hourglass in "
                  "timed levels.",
                  text, true);
        Paragraph(c, F_SERIF, 16, 250, 470, 300,
                  "Runes left too long turn to stone. Clear a line beside a stone to break it free.", text, true);
        Paragraph(c, F_SERIF, 15, 560, 490, 220, "Big clears bring spells: set one off by clearing its line.",
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
                  "A boss guards this level. It fills four cells and only runes of its own colour can hurt it.",
                  text, true);
        Paragraph(c, F_SERIF, 17, 545, 170, 220,
                  "Clear lines of its colour in the cross of cells around it. Soot marks show where.", text, true);
        Paragraph(c, F_SERIF, 17, 200, 420, 400, "Beat every boss to win the level.", text, true);
        Plaque(c, 371, 571, 64, 24, "Play", F_UNCIAL, 18, false, 4);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, "gfx/gui/tutorial2boss.jpg", 90);
    }));
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
            for (double x : {12.0, p.w - 12.0})
                for (double y : {12.0, p.h - 12.0}) Stud(c.cr, x, y, 4);
            ctx.Png(c, path);
        }));
    }
    // Popup illustrations.
    struct Icon {
        const char* name;
        int kind;
    };
    static const Icon kIcons[] = {{"icon-rune", 0},  {"icon-stone", 1}, {"icon-sphere", 2}, {"icon-timer", 3},
                                  {"icon-boss", 4},  {"icon-combo", 5}, {"icon-ring", 6},   {"icon-puzzle", 7}};
    for (const Icon& ic : kIcons) {
        std::string path = std::string("gfx/info/") + ic.name + ".png";
        out.push_back(Picture(path, [&ic, path](Context& ctx) {
            Canvas c(64, 64);
            cairo_t* cr = c.cr;
            switch (ic.kind) {
                case 0:
                    DrawGem(c, 2, 14, 30, RuneOf(1), 1);
                    DrawGem(c, 32, 14, 30, RuneOf(2), 1);
                    DrawGem(c, 17, 34, 30, RuneOf(3), 1);
                    break;
                case 1: DrawStone(c, 4, 4, 56, &RuneOf(2), 9); break;
                case 2: {
                    RuneClass rc = RuneOf(5);
                    rc.shape = 0;
                    DrawGem(c, 4, 4, 56, rc, 1);
                    break;
                }
                case 3: {
                    RoundRect(cr, 12, 4, 40, 56, 6);
                    SetColor(cr, Hex(0x2a1a10));
                    cairo_fill(cr);
                    GoldFrame(c, 12, 4, 40, 56, 3, 6);
                    cairo_move_to(cr, 20, 12);
                    cairo_line_to(cr, 44, 12);
                    cairo_line_to(cr, 32, 32);
                    cairo_close_path(cr);
                    cairo_move_to(cr, 32, 32);
                    cairo_line_to(cr, 44, 52);
                    cairo_line_to(cr, 20, 52);
                    cairo_close_path(cr);
                    SetColor(cr, Hex(0xf0c060));
                    cairo_fill(cr);
                    break;
                }
                case 4: {
                    RuneClass rc = RuneOf(1);
                    rc.shape = 0;
                    DrawGem(c, 6, 10, 52, rc, 1);
                    for (int side : {-1, 1}) {
                        RadialGlow(cr, 32 + side * 9, 36, 6, Hex(0xfff2a0), 0.9);
                    }
                    break;
                }
                case 5:
                    for (int i = 0; i < 3; ++i) DrawGem(c, 2 + i * 20, 20, 22, RuneOf(4), 1);
                    Star(cr, 50, 12, 10, 3, 5);
                    SetColor(cr, pal::goldLight);
                    cairo_fill(cr);
                    break;
                case 6: {
                    cairo_arc(cr, 32, 32, 26, 0, 2 * M_PI);
                    cairo_arc_negative(cr, 32, 32, 17, 2 * M_PI, 0);
                    SetColor(cr, pal::gold);
                    cairo_fill(cr);
                    cairo_new_path(cr);
                    GlyphPath(cr, F_RUNIC, 0x16B1, 20, 32, 32);
                    SetColor(cr, Hex(0xffffff));
                    cairo_fill(cr);
                    break;
                }
                default: {
                    for (int i = 0; i < 4; ++i) {
                        RoundRect(cr, 6 + (i % 2) * 27, 6 + (i / 2) * 27, 25, 25, 3);
                        SetColor(cr, Hsv(200 + i * 30, 0.5, 0.8));
                        cairo_fill(cr);
                    }
                    break;
                }
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
