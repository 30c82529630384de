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

namespace qab {
namespace {

void Landscape(std::vector<Recipe>& out, const std::string& path, int w, int h, int variant, double darken,
               int quality = 88) {
    out.push_back(Picture(path, [=](Context& ctx) {
        Canvas c(w, h);
        PaintLandscape(c, SceneVariant(variant), ctx.seed);
        if (darken > 0) Darken(c, darken);
        c.Opaque({0, 0, 0});
        ctx.Jpeg(c, path, quality);
    }));
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

// ---- title and loading ----------------------------------------------------------------------
void TitleAndLoading(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/title/velmora-title.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        Scene s = SceneVariant(0);
        s.castleX = 0.5;
        s.moonX = 0.84;
        s.moonY = 0.3;
        PaintLandscape(c, s, ctx.seed);
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
    Landscape(out, "gfx/title/velmora-bg.jpg", 800, 600, 1, 0.15);
    Landscape(out, "gfx/title/hiscores.jpg", 800, 600, 4, 0.35);
    Landscape(out, "gfx/title/credits.jpg", 800, 600, 2, 0.3);
    // A start-up picture (the portal screen list may name it).
    out.push_back(Picture("gfx/title/portal-1.jpg", [](Context& ctx) {
        Canvas c(800, 600);
        PaintLandscape(c, SceneVariant(5), ctx.seed);
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
    // The emblem that rides in on the left door, resting at (40,138).
    out.push_back(Picture("gfx/gui/Dorsime01.png", [](Context& ctx) {
        Canvas c(300, 300);
        cairo_t* cr = c.cr;
        double cx = 150, cy = 150;
        for (int i = 0; i < 16; ++i) {
            double a = i * M_PI / 8;
            cairo_move_to(cr, cx + std::cos(a - 0.08) * 100, cy + std::sin(a - 0.08) * 100);
            cairo_line_to(cr, cx + std::cos(a) * (i % 2 ? 128 : 145), cy + std::sin(a) * (i % 2 ? 128 : 145));
            cairo_line_to(cr, cx + std::cos(a + 0.08) * 100, cy + std::sin(a + 0.08) * 100);
            cairo_close_path(cr);
        }
        SetColor(cr, pal::gold);
        cairo_fill(cr);
        cairo_arc(cr, cx, cy, 104, 0, 2 * M_PI);
        GoldGradientFill(cr, 0, 40, 0, 260);
        cairo_arc(cr, cx, cy, 86, 0, 2 * M_PI);
        cairo_pattern_t* g = cairo_pattern_create_radial(cx - 20, cy - 25, 5, cx, cy, 86);
        AddStop(g, 0, Hex(0x4a5ad0));
        AddStop(g, 1, Hex(0x10143a));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        for (int i = 0; i < 12; ++i) {
            double a = i * M_PI / 6 - M_PI / 2;
            cairo_new_path(cr);
            GlyphPath(cr, F_RUNIC, RuneOf(i + 1).glyph, 16, cx + std::cos(a) * 95, cy + std::sin(a) * 95);
            SetColor(cr, Hex(0x5a3a0a), 0.9);
            cairo_fill(cr);
        }
        RuneClass rc = RuneOf(15);
        rc.shape = 3;
        DrawGem(c, cx - 50, cy - 50, 100, rc, 2);
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
        PaintLandscape(c, SceneVariant(1), ctx.seed);
        Darken(c, 0.45);
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
    // The default puzzle picture, already at the puzzle's 670x494.
    Landscape(out, "gfx/slides/1-2a.jpg", 670, 494, 2, 0.0, 92);
}


// ---- gallery ---------------------------------------------------------------------------------------------
void Gallery(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/title/galeria.png", [](Context& ctx) {
        Canvas c(800, 600);
        PaintLandscape(c, SceneVariant(3), ctx.seed);
        Darken(c, 0.5);
        GoldFrame(c, 104, 64, 592, 452, 16, 12);
        c.ClearRect(120, 80, 560, 420);
        ctx.Png(c, "gfx/title/galeria.png");
    }));
}

// ---- slides --------------------------------------------------------------------------------------------
void Slides(std::vector<Recipe>& out) {
    // Level backgrounds (and gallery slides).
    for (int n = 1; n <= 16; ++n) {
        std::string path = "gfx/slides/slide-" + Two(n) + ".jpg";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(800, 600);
            Scene s = SceneVariant((n - 1) % 8 % 6);
            if (n % 8 == 7 || n % 8 == 0) {
                bool first = n % 8 == 7;
                s.castleX = first ? 0.8 : 0.3;
                s.moonX = 1.0 - s.moonX;
                s.menhirs = first ? 6 : 0;
                s.tower = !first;
                s.landmarkX = first ? 0.4 : 0.7;
            }
            if (n > 8) s.moonX = 1.0 - s.moonX;
            PaintLandscape(c, s, ctx.seed + n);
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
