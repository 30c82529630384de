// The story pages: the parchment frame and the pictures above the text.
#include <cmath>
#include <cstdio>
#include <string>

#include "artkit.h"
#include "builder.h"

namespace qab {
namespace {
void Story(std::vector<Recipe>& out) {
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
    // Story page pictures (story.bca), 800x381 under the frame.
    for (int n = 1; n <= 8; ++n) {
        std::string path = "gfx/story/pic-" + Two(n) + ".jpg";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(800, 381);
            Scene s = SceneVariant(n - 1);
            if (n == 1) s.houses = 5, s.landmarkX = 0.7;
            if (n == 7) s.menhirs = 7, s.castle = false, s.landmarkX = 0.55;
            if (n == 8) s.tower = true, s.houses = 3, s.landmarkX = 0.75;
            if (n > 8) s.moonX = 1.0 - s.moonX;
            PaintLandscape(c, s, ctx.seed + n);
            c.Opaque({0, 0, 0});
            ctx.Jpeg(c, path, 88);
        }));
    }
}

}  // namespace

QAB_RECIPES(Story);

}  // namespace qab
