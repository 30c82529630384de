// Full-screen pictures and large panels: title, loading, hiscores, credits,
// map, puzzle and ring backgrounds, tally doors, gallery frame, story frame,
// tutorial pages, level backgrounds and story pictures, popup panels, map
// stages, the logo and the ring game's pieces.
//
// Index: helpers · title and loading · tally · map · puzzle · ring game ·
//        story · tutorial · gallery · data pictures
#include <cmath>
#include <cstdio>
#include <sstream>

#include "artkit.h"
#include "builder.h"

namespace qab {
namespace {

std::string Two(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n);
    return b;
}

// ---- helpers ------------------------------------------------------------------------------
// Word-wrapped text; returns the y below the last line.
double Paragraph(Canvas& c, FontId f, double px, double x, double y, double width, const std::string& text, RGB color,
                 bool centred, double alpha = 1.0) {
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

void Darken(Canvas& c, double a) {
    SetColor(c.cr, Hex(0x05061a), a);
    cairo_paint(c.cr);
}

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

// ---- map ------------------------------------------------------------------------------------------
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
    for (int n = 1; n <= 6; ++n) {
        std::string path = "gfx/mapa/stage-" + std::to_string(n) + ".png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas pic(180, 130);
            Scene s = SceneVariant(n - 1);
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

// ---- ring game --------------------------------------------------------------------------------------
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
            GlyphPath(c.cr, F_RUNIC, 0x16A0 + i * 4, 40, i * 32 + 16, 32);
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
            GlyphPath(cell.cr, F_RUNIC, 0x16A0 + i * 4, 50, 32, 32);
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

// ---- story ---------------------------------------------------------------------------------------------
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
            PaintLandscape(c, s, ctx.seed);
            c.Opaque({0, 0, 0});
            ctx.Jpeg(c, path, 88);
        }));
    }
}

// ---- tutorial -------------------------------------------------------------------------------------------
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

// ---- data pictures ---------------------------------------------------------------------------------------
void DataPictures(std::vector<Recipe>& out) {
    // Level backgrounds (and gallery slides).
    for (int n = 1; n <= 8; ++n) {
        std::string path = "gfx/slides/slide-" + Two(n) + ".jpg";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(800, 600);
            Scene s = SceneVariant(n - 1);
            if (n > 6) {
                s.castleX = 0.8 - 0.5 * (n - 7);
                s.moonX = 1.0 - s.moonX;
                s.menhirs = n == 7 ? 6 : 0;
                s.tower = n == 8;
                s.landmarkX = n == 7 ? 0.4 : 0.7;
            }
            PaintLandscape(c, s, ctx.seed);
            c.Opaque({0, 0, 0});
            ctx.Jpeg(c, path, 88);
        }));
    }
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
    TitleAndLoading(out);
    Tally(out);
    Map(out);
    Puzzle(out);
    Ring(out);
    Story(out);
    TutorialPages(out);
    Gallery(out);
    DataPictures(out);
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
