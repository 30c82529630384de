// Board art: runes and stones, their shadows, board textures, frame tiles,
// stone chips, bosses, spells, magic spheres and the level timer.
//
// Index: runes · board surfaces · frame tiles · bosses · spells · spheres ·
//        timer
#include <cmath>
#include <cstdio>

#include "artkit.h"
#include "builder.h"

namespace qab {
namespace {

std::string Two(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", n);
    return b;
}

// ---- runes ---------------------------------------------------------------------------
// gfx/runy/rune-NN.png and stone-NN.png per colour class, rock.png for the
// stone no colour owns; the same names under gfx/runy-40x40/ for 40-px cells.

// A rune gem whose light stays on the stone. The shared gem puts its
// highlight and sparkle at fixed spots up and to the left and right, which
// fall off the narrow top of a triangular cut and light the board beside it;
// so nothing outside the cut's outline and rim is kept, the rim is laid again
// over whatever light touched it, and cuts that lost their light get it back
// where the stone is wide enough to hold it.
void DrawRuneGem(Canvas& c, double size, const RuneClass& rc, uint32_t seed) {
    cairo_t* cr = c.cr;
    DrawGem(c, 0, 0, size, rc, seed);
    // The same geometry DrawGem works with.
    double s = size, cx = s / 2, cy = s / 2, r = s * 0.455, rim = std::max(1.0, s * 0.05);
    // One mask of body and rim together: two DEST_IN passes would keep only
    // where they overlap.
    cairo_save(cr);
    cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
    cairo_new_path(cr);
    GemPath(cr, rc.shape, cx, cy, r);
    cairo_set_line_width(cr, rim);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColor(cr, {0, 0, 0});
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_pattern_t* outline = cairo_pop_group(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source(cr, outline);
    cairo_paint(cr);
    cairo_pattern_destroy(outline);
    cairo_restore(cr);
    cairo_new_path(cr);
    GemPath(cr, rc.shape, cx, cy, r);
    cairo_set_line_width(cr, rim);
    SetColor(cr, Darker(rc.hue, 0.65), 0.95);
    cairo_stroke(cr);
    // Whether the stone, short of its rim, held the light where DrawGem put it.
    cairo_new_path(cr);
    GemPath(cr, rc.shape, cx, cy, r * 0.9);
    bool glintInside = cairo_in_fill(cr, cx - r * 0.42, cy - r * 0.5);
    bool sparkInside = cairo_in_fill(cr, cx + r * 0.45, cy - r * 0.45);
    if (glintInside && sparkInside) return;
    // Inside the table facet only, so a narrow cut's light cannot reach the rim.
    cairo_save(cr);
    cairo_new_path(cr);
    GemPath(cr, rc.shape, cx, cy - r * 0.04, r * 0.7);
    cairo_clip(cr);
    // The highest point well inside the facet on the centre line, and the
    // facet's width there, place the light for any cut.
    double top = cy;
    while (top > cy - r && cairo_in_clip(cr, cx, top - 1)) top -= 1;
    double gy = top + r * 0.3, gx = cx - r * 0.06;
    if (!glintInside) {
        cairo_save(cr);
        cairo_translate(cr, gx, gy);
        cairo_rotate(cr, -0.9);
        cairo_scale(cr, 1.0, 0.55);
        cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, r * 0.26);
        AddStop(g, 0, {1, 1, 1}, 1.0);
        AddStop(g, 0.45, {1, 1, 1}, 0.75);
        AddStop(g, 1, {1, 1, 1}, 0);
        cairo_set_source(cr, g);
        cairo_new_path(cr);
        cairo_arc(cr, 0, 0, r * 0.26, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
    }
    if (!sparkInside) {
        Star(cr, cx + r * 0.2, top + r * 0.42, s * 0.06, s * 0.016, 4);
        SetColor(cr, {1, 1, 1}, 0.8);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void Runes(std::vector<Recipe>& out) {
    for (int size : {32, 40}) {
        std::string dir = size == 32 ? "gfx/runy/" : "gfx/runy-40x40/";
        for (int c = 1; c <= kRuneClasses; ++c) {
            out.push_back(Picture(dir + "rune-" + Two(c) + ".png", [size, c, dir](Context& ctx) {
                Canvas cv(size, size);
                DrawRuneGem(cv, size, RuneOf(c), ctx.seed);
                ctx.Png(cv, dir + "rune-" + Two(c) + ".png");
            }));
            out.push_back(Picture(dir + "stone-" + Two(c) + ".png", [size, c, dir](Context& ctx) {
                Canvas cv(size, size);
                DrawStone(cv, 0, 0, size, &RuneOf(c), 1000 + c);
                ctx.Png(cv, dir + "stone-" + Two(c) + ".png");
            }));
        }
        out.push_back(Picture(dir + "rock.png", [size, dir](Context& ctx) {
            Canvas cv(size, size);
            DrawStone(cv, 0, 0, size, nullptr, 77);
            ctx.Png(cv, dir + "rock.png");
        }));
        // Soft dark silhouette drawn under every rune at +5,+4.
        out.push_back(Picture(dir + "ghost.png", [size, dir](Context& ctx) {
            Canvas cv(size, size);
            RoundRect(cv.cr, size * 0.12, size * 0.12, size * 0.72, size * 0.72, size * 0.25);
            SetColor(cv.cr, Hex(0x05040c), 0.55);
            cairo_fill(cv.cr);
            Canvas out(size, size);
            out.Paste(cv, 0, 0);
            // Blur by drawing the silhouette as a shadow of itself, then keep only the shadow.
            out.Shadow(0, 0, size * 0.08, Hex(0x05040c), 0.9);
            ctx.Png(out, dir + "ghost.png");
        }));
    }
}

// ---- board surfaces -------------------------------------------------------------------
// The nine board textures. No cell grid: one picture serves both cell sizes.
void BoardSurface(Canvas& c, int n, uint32_t seed) {
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h;
    switch (n) {
        case 1:  // dark oak planks
        case 5: {  // walnut
            RGB base = n == 1 ? Hex(0x4a3020) : Hex(0x3a2418);
            double plank = n == 1 ? 60 : 80;
            for (int i = 0; i * plank < W; ++i) {
                WoodFill(c, i * plank, 0, plank, H, Scale(base, 0.9 + 0.2 * ((i * 37 % 5) / 5.0)), seed + i, true);
                SetColor(cr, Hex(0x120804), 0.7);
                cairo_rectangle(cr, i * plank, 0, 1.5, H);
                cairo_fill(cr);
            }
            break;
        }
        case 2:  // slate
        case 6: {  // mossy flagstones
            RGB base = n == 2 ? Hex(0x3e4454) : Hex(0x3e4a3c);
            StoneFill(c, 0, 0, W, H, base, seed);
            Rng rng(seed);
            cairo_set_line_width(cr, 1.2);
            for (int k = 0; k < 14; ++k) {
                double x = rng.Range(0, W), y = rng.Range(0, H);
                cairo_move_to(cr, x, y);
                for (int j = 0; j < 5; ++j) {
                    x += rng.Range(-40, 40);
                    y += rng.Range(-40, 40);
                    cairo_line_to(cr, x, y);
                }
                SetColor(cr, Darker(base, 0.5), 0.35);
                cairo_stroke(cr);
            }
            if (n == 6)
                for (int k = 0; k < 30; ++k)
                    RadialGlow(cr, rng.Range(0, W), rng.Range(0, H), rng.Range(10, 40), Hex(0x4a6a2a), 0.25);
            break;
        }
        case 3:  // parchment
            ParchmentFill(c, 0, 0, W, H, seed);
            SetColor(cr, Hex(0x5a3a1a), 0.35);
            cairo_paint(cr);
            break;
        case 4:  // marble
        case 8: {  // sandstone
            RGB base = n == 4 ? Hex(0x5a5a6e) : Hex(0x8a6a48);
            SetColor(cr, base);
            cairo_paint(cr);
            uint32_t* p = c.Pixels();
            int st = c.Stride();
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x) {
                    double v = Fbm(x / 70.0, y / 70.0, 5, seed);
                    double vein = n == 4 ? std::pow(std::fabs(std::sin((x + y) / 40.0 + v * 12)), 8) : 0;
                    double f = 0.8 + 0.35 * v + 0.35 * vein + 0.05 * ValueNoise(x / 1.3, y / 1.3, seed + 9);
                    RGB o = Scale(base, f);
                    p[y * st + x] = 0xFF000000u | (uint32_t(o.r * 255) << 16) | (uint32_t(o.g * 255) << 8) |
                                    uint32_t(o.b * 255);
                }
            c.Flush();
            break;
        }
        case 7:  // blue velvet with a faint gold damask
        case 9: {  // violet velvet
            RGB base = n == 7 ? Hex(0x1c2a5a) : Hex(0x34204e);
            SetColor(cr, base);
            cairo_paint(cr);
            for (int y = 0; y < 480; y += 60)
                for (int x = (y / 60) % 2 * 30; x < 480 + 30; x += 60) {
                    Star(cr, x, y + 30, 12, 4, 4);
                    SetColor(cr, pal::gold, 0.1);
                    cairo_fill(cr);
                }
            c.Grain(0.18, 3, seed, 3);
            break;
        }
    }
    // Soft light in the middle, darker rim.
    cairo_pattern_t* g = cairo_pattern_create_radial(W / 2, H / 2, W * 0.1, W / 2, H / 2, W * 0.75);
    AddStop(g, 0, {1, 1, 1}, 0.08);
    AddStop(g, 1, {0, 0, 0}, 0.35);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
}

void Boards(std::vector<Recipe>& out) {
    for (int n = 1; n <= 9; ++n) {
        std::string path = "gfx/bg/deski/deska-" + std::to_string(n) + ".jpg";
        out.push_back(Picture(path, [n, path](Context& ctx) {
            Canvas c(480, 480);
            BoardSurface(c, n, ctx.seed);
            c.Opaque(pal::woodDark);
            ctx.Jpeg(c, path, 90);
        }));
    }
    // Only a constructor default names it; kept so a stray load finds a picture.
    out.push_back(Picture("gfx/bg/deski/deska-1.png", [](Context& ctx) {
        Canvas c(480, 480);
        BoardSurface(c, 1, 11);
        c.Opaque(pal::woodDark);
        ctx.Png(c, "gfx/bg/deski/deska-1.png", false);
    }));
    out.push_back(Picture("gfx/gwiazdki/stone.png", [](Context& ctx) {
        Canvas c(10, 10);
        DrawStone(c, 0, 0, 10, nullptr, 5);
        ctx.Png(c, "gfx/gwiazdki/stone.png");
    }));
}

// ---- frame tiles ----------------------------------------------------------------------
// The board draws every frame tile `d` pixels (7 for 32-px cells, 6 for 40)
// out from the frame's own cell, towards the board on one side or the
// other: a side tile is its cell plus d on both sides, a corner tile its cell
// plus d on the two sides away from the corner's own cell. Those margins lie
// over the edge runes (and, at an inner corner, over the runes of both
// edges), so they hold only a soft shadow; the carved wood and gold stay on
// the frame's own cell.
constexpr double kFrameShadow = 0.4;  // shadow alpha where it meets the wood
const RGB kFrameShadowColor = Hex(0x0a0604);

// A shadow band from full strength at (x0, y0) to nothing at (x1, y1),
// filling the rectangle (x, y, w, h).
void ShadowBand(cairo_t* cr, double x, double y, double w, double h, double x0, double y0, double x1, double y1) {
    cairo_pattern_t* g = cairo_pattern_create_linear(x0, y0, x1, y1);
    for (int k = 0; k <= 4; ++k) {
        double t = k / 4.0;
        AddStop(g, t, kFrameShadowColor, kFrameShadow * (1 - t) * (1 - t));
    }
    cairo_set_source(cr, g);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A bar of carved dark wood between two gold beads, `t` thick. The profile
// is symmetric across its thickness, because one tile serves both opposite
// edges.
void FrameBarBody(Canvas& c, double len, double t, char variant, uint32_t seed) {
    cairo_t* cr = c.cr;
    double bead = t * 0.12;
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, t);
    AddStop(g, 0.0, Hex(0x1a0e06), 0.0);
    AddStop(g, 0.03, Hex(0x1a0e06), 0.9);
    AddStop(g, 0.06, pal::goldDeep);
    AddStop(g, 0.10, pal::goldLight);
    AddStop(g, 0.15, pal::goldDeep);
    AddStop(g, 0.17, Hex(0x2a1608));
    AddStop(g, 0.5, Hex(0x5a3618));
    AddStop(g, 0.83, Hex(0x2a1608));
    AddStop(g, 0.85, pal::goldDeep);
    AddStop(g, 0.90, pal::goldLight);
    AddStop(g, 0.94, pal::goldDeep);
    AddStop(g, 0.97, Hex(0x1a0e06), 0.9);
    AddStop(g, 1.0, Hex(0x1a0e06), 0.0);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 0, 0, len, t);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Wood grain along the bar, only in the wooden middle.
    {
        Canvas wood(static_cast<int>(len), static_cast<int>(t));
        WoodFill(wood, 0, 0, len, t, Hex(0x5a3618), seed);
        cairo_save(cr);
        cairo_rectangle(cr, 0, t * 0.17, len, t * 0.66);
        cairo_clip(cr);
        cairo_set_source_surface(cr, wood.surface, 0, 0);
        cairo_paint_with_alpha(cr, 0.55);
        g = cairo_pattern_create_linear(0, t * 0.17, 0, t * 0.83);
        AddStop(g, 0, {0, 0, 0}, 0.45);
        AddStop(g, 0.5, {1, 1, 1}, 0.08);
        AddStop(g, 1, {0, 0, 0}, 0.45);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
    }
    // Gold collars at both ends hide the joints between tiles.
    for (double x : {0.0, len - 2.0}) {
        cairo_rectangle(cr, x, t * 0.06, 2, t * 0.88);
        SetColor(cr, pal::goldDeep, 0.9);
        cairo_fill(cr);
    }
    // Ornaments: a: one stud per cell, b: pairs of small studs, c: an inlaid gem.
    double cell = len <= t ? len : len / std::round(len / (t - 2 * bead * 1.2 + 6));
    int cells = std::max(1, static_cast<int>(std::lround(len / cell)));
    for (int i = 0; i < cells; ++i) {
        double cx = (i + 0.5) * len / cells, cy = t / 2;
        if (variant == 'a') {
            Stud(cr, cx, cy, t * 0.11);
        } else if (variant == 'b') {
            Stud(cr, cx - t * 0.16, cy, t * 0.07);
            Stud(cr, cx + t * 0.16, cy, t * 0.07);
        } else {
            cairo_new_path(cr);
            GemPath(cr, 3, cx, cy, t * 0.15);
            cairo_pattern_t* gg = cairo_pattern_create_radial(cx - 2, cy - 2, 0, cx, cy, t * 0.15);
            AddStop(gg, 0, Hex(0xb0c8ff));
            AddStop(gg, 1, Hex(0x2a3a9a));
            cairo_set_source(cr, gg);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(gg);
            SetColor(cr, pal::goldDeep);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        }
    }
}

// The side tile: the bar on the frame's cell, `d` of shadow on each side.
void FrameBar(Canvas& c, double len, double t, double d, char variant, uint32_t seed) {
    ShadowBand(c.cr, 0, 0, len, d, 0, d, 0, 0);
    ShadowBand(c.cr, 0, t - d, len, d, 0, t - d, 0, t);
    Canvas body(static_cast<int>(len), static_cast<int>(t - 2 * d));
    FrameBarBody(body, len, t - 2 * d, variant, seed);
    c.Paste(body, 0, d);
}

void FrameCorner(Canvas& c, double s, int variant, uint32_t seed) {
    cairo_t* cr = c.cr;
    RoundRect(cr, 1, 1, s - 2, s - 2, s * 0.18);
    GoldGradientFill(cr, 0, 0, s, s);
    double in = s * 0.14;
    cairo_save(cr);
    RoundRect(cr, in, in, s - 2 * in, s - 2 * in, s * 0.1);
    cairo_clip(cr);
    WoodFill(c, 0, 0, s, s, Hex(0x4a2c14), seed);
    cairo_restore(cr);
    RoundRect(cr, in, in, s - 2 * in, s - 2 * in, s * 0.1);
    SetColor(cr, Hex(0x1a0e06), 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    double cx = s / 2, cy = s / 2;
    if (variant == 0) {
        Stud(cr, cx, cy, s * 0.2);
    } else if (variant == 1) {
        Star(cr, cx, cy, s * 0.3, s * 0.1, 4, M_PI / 4);
        SetColor(cr, pal::gold);
        cairo_fill(cr);
        Stud(cr, cx, cy, s * 0.1);
    } else {
        cairo_new_path(cr);
        GemPath(cr, 0, cx, cy, s * 0.2);
        cairo_pattern_t* gg = cairo_pattern_create_radial(cx - 3, cy - 3, 0, cx, cy, s * 0.2);
        AddStop(gg, 0, Hex(0xff9aa0));
        AddStop(gg, 1, Hex(0x8a1020));
        cairo_set_source(cr, gg);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(gg);
        SetColor(cr, pal::goldDeep);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
}

// A corner tile: the corner block on the frame's cell at (bx, by) and the
// shadow in the L of margin round it.
void FrameCornerTile(Canvas& c, int cell, int d, int bx, int by, int variant, uint32_t seed) {
    cairo_t* cr = c.cr;
    int mx = bx == 0 ? cell : 0, my = by == 0 ? cell : 0;  // the margin's column and row
    ShadowBand(cr, mx, by, d, cell, bx == 0 ? cell : d, 0, bx == 0 ? cell + d : 0, 0);
    ShadowBand(cr, bx, my, cell, d, 0, by == 0 ? cell : d, 0, by == 0 ? cell + d : 0);
    // The square where the two margins meet fades from the block's corner.
    double ox = bx == 0 ? cell : d, oy = by == 0 ? cell : d;
    cairo_pattern_t* g = cairo_pattern_create_radial(ox, oy, 0, ox, oy, d);
    for (int k = 0; k <= 4; ++k) {
        double t = k / 4.0;
        AddStop(g, t, kFrameShadowColor, kFrameShadow * (1 - t) * (1 - t));
    }
    cairo_set_source(cr, g);
    cairo_rectangle(cr, mx, my, d, d);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Canvas block(cell, cell);
    FrameCorner(block, cell, variant, seed);
    c.Paste(block, bx, by);
}

void FrameTiles(std::vector<Recipe>& out) {
    struct Set {
        const char* dir;
        int cell, d;
    };
    for (Set set : {Set{"gfx/ramka/", 32, 7}, Set{"gfx/ramka-40x40/", 40, 6}}) {
        int t = set.cell + 2 * set.d, corner = set.cell + set.d;
        const char* names[] = {"1a", "1b", "2a", "2b", "3a", "3b", "3c"};
        for (const char* nm : names) {
            int n = nm[0] - '0';
            char variant = nm[1];
            std::string dir = set.dir;
            int len = n * set.cell, d = set.d;
            // Upright tile (left and right sides).
            out.push_back(Picture(dir + nm + ".png", [=](Context& ctx) {
                Canvas bar(len, t);
                FrameBar(bar, len, t, d, variant, ctx.seed);
                Canvas c(t, len);
                cairo_translate(c.cr, t, 0);
                cairo_rotate(c.cr, M_PI / 2);
                cairo_set_source_surface(c.cr, bar.surface, 0, 0);
                cairo_paint(c.cr);
                ctx.Png(c, dir + nm + ".png");
            }));
            // Lying tile (top and bottom).
            out.push_back(Picture(dir + nm + "-p.png", [=](Context& ctx) {
                Canvas c(len, t);
                FrameBar(c, len, t, d, variant, ctx.seed);
                ctx.Png(c, dir + nm + "-p.png");
            }));
        }
        // Left-upper, right-upper, left-lower, right-lower: where the block
        // sits in its tile (the margin is on the far sides from the board's
        // corner cell, as the board offsets each kind).
        struct Corner {
            const char* name;
            bool marginLeft, marginTop;
        };
        const Corner corners[] = {{"lg", true, true}, {"rg", false, true}, {"ld", true, false}, {"rd", false, false}};
        const char* suffix[] = {"", "_v2", "_v3"};
        for (int v = 0; v < 3; ++v)
            for (const Corner& cn : corners) {
                std::string path = std::string(set.dir) + "1b-" + cn.name + suffix[v] + ".png";
                int cell = set.cell, d = set.d;
                int bx = cn.marginLeft ? d : 0, by = cn.marginTop ? d : 0;
                out.push_back(Picture(path, [=](Context& ctx) {
                    Canvas c(corner, corner);
                    FrameCornerTile(c, cell, d, bx, by, v, ctx.seed);
                    ctx.Png(c, path);
                }));
            }
    }
}

// ---- bosses ----------------------------------------------------------------------------
// Boss creatures: a great gem of their colour class, cut like the class's
// runes, with glowing eyes, the class's rune on a gold medallion and a
// headdress of its own. gfx/boss/b-NN.png (80 px) and bm-NN.png (64 px),
// NN = class. Colour alone never tells two wardens apart: the cut, the
// headdress and the rune do, for players who see the reds and greens alike.
constexpr int kBosses = 6;

// Fills the current path with a vertical ramp and finishes it as the runes
// are finished: the light from the upper left shading it across, a bright
// inner edge where that light catches, a cool rim light on the far side,
// then the dark outline.
void FillRamp(cairo_t* cr, double y0, double y1, RGB top, RGB bottom, RGB rim, double rimWidth) {
    cairo_path_t* path = cairo_copy_path(cr);
    double x0, yy0, x1, yy1;
    cairo_path_extents(cr, &x0, &yy0, &x1, &yy1);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
    AddStop(g, 0, top);
    AddStop(g, 1, bottom);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_save(cr);
    cairo_clip(cr);
    g = cairo_pattern_create_linear(x0, yy0, x1, yy1);
    AddStop(g, 0, {1, 1, 1}, 0.22);
    AddStop(g, 0.5, {1, 1, 1}, 0);
    AddStop(g, 1, {0, 0, 0}, 0.3);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    // The lit edge: the outline shifted down-right, so only its upper-left
    // run shows inside the shape.
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_save(cr);
    cairo_translate(cr, rimWidth * 0.9, rimWidth * 0.9);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_restore(cr);
    cairo_set_line_width(cr, rimWidth * 1.6);
    SetColor(cr, Lighter(top, 0.6), 0.7);
    cairo_stroke(cr);
    // The cool rim light along the lower right.
    cairo_save(cr);
    cairo_translate(cr, -rimWidth * 0.8, -rimWidth * 0.8);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_restore(cr);
    cairo_set_line_width(cr, rimWidth * 1.2);
    SetColor(cr, Hex(0xb8d8ff), 0.35);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_path_destroy(path);
    cairo_set_line_width(cr, rimWidth);
    SetColor(cr, rim, 0.9);
    cairo_stroke(cr);
}

// The headdress, drawn behind the body: kind 1 ram horns, 2 fins, 3 leafy
// antlers, 4 a crown of sun rays, 5 bat wings, 6 tongues of flame.
void BossHeaddress(cairo_t* cr, int kind, double cx, double cy, double r) {
    double lw = std::max(0.8, r * 0.05);
    switch (kind) {
        case 1:  // ram horns curling down beside the head
            for (int side : {-1, 1}) {
                double sx = side;
                cairo_new_path(cr);
                cairo_move_to(cr, cx + sx * r * 0.3, cy - r * 0.8);
                cairo_curve_to(cr, cx + sx * r * 0.9, cy - r * 1.45, cx + sx * r * 1.55, cy - r * 1.0,
                               cx + sx * r * 1.35, cy - r * 0.35);
                cairo_curve_to(cr, cx + sx * r * 1.25, cy - r * 0.05, cx + sx * r * 1.0, cy - r * 0.1,
                               cx + sx * r * 1.05, cy - r * 0.35);
                cairo_curve_to(cr, cx + sx * r * 1.15, cy - r * 0.8, cx + sx * r * 0.8, cy - r * 1.0,
                               cx + sx * r * 0.5, cy - r * 0.55);
                cairo_close_path(cr);
                FillRamp(cr, cy - r * 1.3, cy - r * 0.1, Hex(0xf0e6d0), Hex(0x7a6448), Hex(0x3a2c1c), lw);
                // Ridges across the horn.
                for (int k = 1; k <= 3; ++k) {
                    double t = k / 4.0;
                    double x = cx + sx * r * (0.55 + 0.75 * t), y = cy - r * (1.2 - 0.3 * t * t);
                    cairo_move_to(cr, x - sx * r * 0.12, y - r * 0.1);
                    cairo_line_to(cr, x + sx * r * 0.1, y + r * 0.12);
                }
                SetColor(cr, Hex(0x4a3a28), 0.7);
                cairo_set_line_width(cr, lw);
                cairo_stroke(cr);
            }
            break;
        case 2:  // three swept fins, like a crest of waves
            for (int k : {-1, 1, 0}) {
                double bx = cx + k * r * 0.55, tall = k == 0 ? 1.5 : 1.28, base = cy - r * (k == 0 ? 0.7 : 0.55);
                double tip = bx + r * 0.45 + k * r * 0.3;
                cairo_new_path(cr);
                cairo_move_to(cr, bx - r * 0.42, base);
                cairo_curve_to(cr, bx - r * 0.5, cy - r * 1.05, bx - r * 0.1 + k * r * 0.2, cy - r * tall, tip,
                               cy - r * tall);
                cairo_curve_to(cr, bx + r * 0.1, cy - r * (tall - 0.22), bx + r * 0.25, cy - r * 0.95, bx + r * 0.42,
                               base);
                cairo_close_path(cr);
                FillRamp(cr, cy - r * tall, base, Hex(0xe4f0f8), Hex(0x4a6078), Hex(0x121a24), lw);
                // Fin rays.
                for (int j = 0; j < 3; ++j) {
                    double t = (j + 1) / 4.0;
                    cairo_move_to(cr, bx - r * 0.36 + t * r * 0.72, base - r * 0.05);
                    cairo_line_to(cr, bx - r * 0.3 + t * (tip - bx + r * 0.2), cy - r * (tall - 0.25 - 0.3 * t));
                }
                SetColor(cr, Hex(0x2a3a4a), 0.55);
                cairo_set_line_width(cr, lw * 0.8);
                cairo_stroke(cr);
            }
            break;
        case 3:  // antlers of bare wood with leaves
            for (int side : {-1, 1}) {
                double sx = side;
                cairo_new_path(cr);
                cairo_move_to(cr, cx + sx * r * 0.35, cy - r * 0.7);
                cairo_curve_to(cr, cx + sx * r * 0.55, cy - r * 1.0, cx + sx * r * 0.8, cy - r * 1.1, cx + sx * r * 1.25,
                               cy - r * 1.2);
                cairo_move_to(cr, cx + sx * r * 0.58, cy - r * 0.98);
                cairo_line_to(cr, cx + sx * r * 0.5, cy - r * 1.3);
                cairo_move_to(cr, cx + sx * r * 0.9, cy - r * 1.12);
                cairo_line_to(cr, cx + sx * r * 1.3, cy - r * 0.9);
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                cairo_set_line_width(cr, r * 0.16);
                SetColor(cr, Hex(0x2a1a0c));
                cairo_stroke_preserve(cr);
                cairo_set_line_width(cr, r * 0.09);
                SetColor(cr, Hex(0x9a7448));
                cairo_stroke(cr);
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
                // Leaves at the tips.
                const double tips[3][3] = {{1.25, 1.2, -0.5}, {0.5, 1.3, -1.4}, {1.3, 0.9, 0.3}};
                for (const auto& tp : tips) {
                    cairo_save(cr);
                    cairo_translate(cr, cx + sx * r * tp[0], cy - r * tp[1]);
                    cairo_rotate(cr, side > 0 ? tp[2] : M_PI - tp[2]);
                    cairo_new_path(cr);
                    cairo_move_to(cr, 0, 0);
                    cairo_curve_to(cr, r * 0.12, -r * 0.14, r * 0.3, -r * 0.1, r * 0.38, 0);
                    cairo_curve_to(cr, r * 0.3, r * 0.1, r * 0.12, r * 0.14, 0, 0);
                    cairo_close_path(cr);
                    cairo_restore(cr);
                    FillRamp(cr, cy - r * 1.6, cy - r * 0.9, Hex(0xd8f0a0), Hex(0x4a7a2a), Hex(0x1a2a0c), lw * 0.8);
                }
            }
            break;
        case 4: {  // a fan of sun rays above the head
            for (int k = 0; k < 9; ++k) {
                double a = -M_PI / 2 + (k - 4) * 0.34;
                double len = k % 2 ? 1.25 : 1.5;
                double ca = std::cos(a), sa = std::sin(a);
                double tx = -sa, ty = ca;
                cairo_new_path(cr);
                cairo_move_to(cr, cx + ca * r * 0.7 + tx * r * 0.17, cy + sa * r * 0.7 + ty * r * 0.17);
                cairo_line_to(cr, cx + ca * r * len, cy + sa * r * len);
                cairo_line_to(cr, cx + ca * r * 0.7 - tx * r * 0.17, cy + sa * r * 0.7 - ty * r * 0.17);
                cairo_close_path(cr);
                FillRamp(cr, cy - r * 1.6, cy - r * 0.6, pal::goldLight, pal::goldDeep, Hex(0x4a3008), lw);
            }
            break;
        }
        case 5:  // folded bat wings at both sides
            for (int side : {-1, 1}) {
                double sx = side;
                cairo_new_path(cr);
                cairo_move_to(cr, cx + sx * r * 0.6, cy - r * 0.55);
                cairo_line_to(cr, cx + sx * r * 1.0, cy - r * 1.35);
                cairo_line_to(cr, cx + sx * r * 1.38, cy - r * 0.95);
                cairo_curve_to(cr, cx + sx * r * 1.2, cy - r * 0.75, cx + sx * r * 1.25, cy - r * 0.55,
                               cx + sx * r * 1.4, cy - r * 0.35);
                cairo_curve_to(cr, cx + sx * r * 1.15, cy - r * 0.3, cx + sx * r * 1.1, cy - r * 0.1,
                               cx + sx * r * 1.25, cy + r * 0.15);
                cairo_curve_to(cr, cx + sx * r * 1.0, cy + r * 0.05, cx + sx * r * 0.9, cy + r * 0.1,
                               cx + sx * r * 0.8, cy + r * 0.25);
                cairo_close_path(cr);
                FillRamp(cr, cy - r * 1.35, cy + r * 0.3, Hex(0x6a6478), Hex(0x1e1a28), Hex(0x0a080e), lw);
                // Wing bones.
                cairo_move_to(cr, cx + sx * r * 1.0, cy - r * 1.35);
                cairo_line_to(cr, cx + sx * r * 1.2, cy - r * 0.75);
                cairo_move_to(cr, cx + sx * r * 1.0, cy - r * 1.35);
                cairo_line_to(cr, cx + sx * r * 1.1, cy - r * 0.2);
                SetColor(cr, Hex(0x9a94a8), 0.7);
                cairo_set_line_width(cr, lw);
                cairo_stroke(cr);
            }
            break;
        default:  // three tongues of flame rising from the crown of the head
            for (int k : {-1, 1, 0}) {
                double bx = cx + k * r * 0.5, tall = k == 0 ? 1.5 : 1.25, lean = k * r * 0.3, base = cy - r * 0.6;
                cairo_new_path(cr);
                cairo_move_to(cr, bx - r * 0.4, base);
                cairo_curve_to(cr, bx - r * 0.55, cy - r * 1.0, bx + lean - r * 0.15, cy - r * (tall - 0.3), bx + lean,
                               cy - r * tall);
                cairo_curve_to(cr, bx + lean + r * 0.08, cy - r * (tall - 0.35), bx + r * 0.55, cy - r * 1.0,
                               bx + r * 0.4, base);
                cairo_close_path(cr);
                FillRamp(cr, cy - r * tall, base, Hex(0xfff4b0), Hex(0xc84a10), Hex(0x4a1404), lw);
                cairo_new_path(cr);
                cairo_move_to(cr, bx - r * 0.16, base);
                cairo_curve_to(cr, bx - r * 0.24, cy - r * 0.95, bx + lean * 0.6, cy - r * (tall - 0.45), bx + lean * 0.7,
                               cy - r * (tall - 0.3));
                cairo_curve_to(cr, bx + r * 0.22, cy - r * 0.95, bx + r * 0.2, cy - r * 0.8, bx + r * 0.16, base);
                cairo_close_path(cr);
                SetColor(cr, Hex(0xfffbe0), 0.75);
                cairo_fill(cr);
            }
            break;
    }
}

// A boss's eye and mouth, as paths.
void BossEye(cairo_t* cr, int side, double ex, double ey, double r) {
    // Slanted brows make the eyes read as a scowl.
    cairo_new_path(cr);
    cairo_move_to(cr, ex - r * 0.17, ey - r * (side > 0 ? 0.02 : 0.1));
    cairo_line_to(cr, ex + r * 0.17, ey - r * (side > 0 ? 0.1 : 0.02));
    cairo_line_to(cr, ex + r * 0.12, ey + r * 0.07);
    cairo_line_to(cr, ex - r * 0.12, ey + r * 0.07);
    cairo_close_path(cr);
}

void BossMouth(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx - r * 0.36, cy + r * 0.36);
    for (int i = 1; i <= 6; ++i) cairo_line_to(cr, cx - r * 0.36 + i * r * 0.72 / 6, cy + r * (i % 2 ? 0.48 : 0.34));
    cairo_line_to(cr, cx + r * 0.32, cy + r * 0.58);
    cairo_line_to(cr, cx - r * 0.32, cy + r * 0.58);
    cairo_close_path(cr);
}

void DrawBoss(Canvas& c, double s, int kind, uint32_t seed) {
    const RuneClass& rc = RuneOf(kind);
    cairo_t* cr = c.cr;
    double cx = s / 2, cy = s * 0.57, r = s * 0.36;
    BossHeaddress(cr, kind, cx, cy, r);
    // The head's shadow on the roots of the headdress.
    RadialGlow(cr, cx, cy - r * 0.55, r * 1.05, Hex(0x000000), 0.35);
    RuneClass body = rc;
    body.glyph = 0;  // the face takes the glyph's place; the rune moves to the brow
    DrawGem(c, cx - r * 1.1, cy - r * 1.1, r * 2.2, body, seed);
    const double gr = r * 1.1 * 0.91;  // the gem's own radius inside its square
    {
        // Inside the gem: facets cut from the table to the rim, a cloud of
        // inclusions, a cool rim light on the lower right and the shade the
        // brow casts over the face.
        cairo_save(cr);
        GemPath(cr, rc.shape, cx, cy, gr);
        cairo_clip(cr);
        for (int k = 0; k < 8; ++k) {
            double a = k * M_PI / 4 + M_PI / 8;
            cairo_move_to(cr, cx + std::cos(a) * gr * 0.62, cy + std::sin(a) * gr * 0.62);
            cairo_line_to(cr, cx + std::cos(a) * gr * 1.1, cy + std::sin(a) * gr * 1.1);
        }
        cairo_set_line_width(cr, std::max(0.6, s / 110.0));
        SetColor(cr, Lighter(rc.hue, 0.5), 0.3);
        cairo_stroke(cr);
        // Seeded by the kind alone: the popup's icon is this same warden.
        Rng rng(static_cast<uint64_t>(kind) * 7919u + 17u);
        for (int i = 0; i < 14; ++i) {
            double a = rng.Range(0, 2 * M_PI), d = gr * std::sqrt(rng.Uniform()) * 0.9;
            RadialGlow(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, gr * rng.Range(0.05, 0.12),
                       i % 3 ? Darker(rc.hue, 0.5) : Lighter(rc.hue, 0.6), 0.35);
        }
        cairo_new_path(cr);
        GemPath(cr, rc.shape, cx - gr * 0.06, cy - gr * 0.06, gr);
        cairo_set_line_width(cr, std::max(1.0, s * 0.035));
        SetColor(cr, Hex(0xc8e4ff), 0.5);
        cairo_stroke(cr);
        OvalGlow(cr, cx, cy - r * 0.12, r * 0.8, 0.45, Darker(rc.hue, 0.7), 0.45);
        cairo_restore(cr);
    }
    // Eyes: a shadowed socket, the glowing eye and a glint.
    for (int side : {-1, 1}) {
        double ex = cx + side * r * 0.36, ey = cy + r * 0.02;
        OvalGlow(cr, ex, ey + r * 0.02, r * 0.3, 0.6, Hex(0x14080a), 0.55);
        RadialGlow(cr, ex, ey, r * 0.34, Hex(0xfff2a0), 0.8);
        BossEye(cr, side, ex, ey, r);
        cairo_pattern_t* eg = cairo_pattern_create_radial(ex, ey, 0, ex, ey, r * 0.2);
        AddStop(eg, 0, Hex(0xffffff));
        AddStop(eg, 0.7, Hex(0xffffe0));
        AddStop(eg, 1, Hex(0xffe890));
        cairo_set_source(cr, eg);
        cairo_fill(cr);
        cairo_pattern_destroy(eg);
        cairo_new_path(cr);
        cairo_arc(cr, ex - r * 0.06, ey - r * 0.02, std::max(0.5, r * 0.03), 0, 2 * M_PI);
        SetColor(cr, Hex(0xffffff));
        cairo_fill(cr);
    }
    // The jagged mouth: a dark maw with an ember glow deep inside.
    BossMouth(cr, cx, cy, r);
    cairo_pattern_t* mg = cairo_pattern_create_linear(0, cy + r * 0.34, 0, cy + r * 0.58);
    AddStop(mg, 0, Hex(0x0a0406), 0.92);
    AddStop(mg, 0.6, Hex(0x14080a), 0.92);
    AddStop(mg, 1, Hex(0x5a1408), 0.92);
    cairo_set_source(cr, mg);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(mg);
    cairo_set_line_width(cr, std::max(0.6, s / 120.0));
    SetColor(cr, Lighter(rc.hue, 0.4), 0.6);
    cairo_stroke(cr);
    // The class's rune on a gold medallion: the same rune the player must
    // gather around the boss to beat it.
    double mx = cx, my = cy - r * 0.5, mr = r * 0.27;
    cairo_new_path(cr);
    cairo_arc(cr, mx, my, mr, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(mx - mr * 0.4, my - mr * 0.4, mr * 0.1, mx, my, mr);
    AddStop(g, 0, pal::goldLight);
    AddStop(g, 0.6, pal::gold);
    AddStop(g, 1, pal::goldDeep);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, std::max(0.8, r * 0.05));
    SetColor(cr, Hex(0x3a2406));
    cairo_stroke(cr);
    // Its bevel: light along the upper left, dark along the lower right.
    cairo_new_path(cr);
    cairo_arc(cr, mx, my, mr * 0.82, M_PI * 0.75, M_PI * 1.75);
    SetColor(cr, Hex(0xfff8d0), 0.75);
    cairo_set_line_width(cr, std::max(0.6, mr * 0.16));
    cairo_stroke(cr);
    cairo_arc(cr, mx, my, mr * 0.82, -M_PI * 0.25, M_PI * 0.75);
    SetColor(cr, Hex(0x6a4008), 0.6);
    cairo_stroke(cr);
    CarveGlyph(cr, F_RUNIC, rc.glyph, mr * 1.7, mx, my, Hex(0x3a1e04), std::max(0.5, s / 100.0));
    Star(cr, mx + mr * 0.55, my - mr * 0.55, mr * 0.45, mr * 0.1, 4);
    SetColor(cr, {1, 1, 1}, 0.85);
    cairo_fill(cr);
    c.Shadow(0, 1, 2, {0, 0, 0}, 0.6);
}

void Bosses(std::vector<Recipe>& out) {
    for (int b = 1; b <= kBosses; ++b) {
        for (int s : {64, 80}) {
            std::string path = std::string("gfx/boss/") + (s == 80 ? "b-" : "bm-") + Two(b) + ".png";
            out.push_back(Picture(path, [=](Context& ctx) {
                Canvas c(s, s);
                DrawBoss(c, s, b, ctx.seed);
                ctx.Png(c, path);
            }));
        }
    }
    for (int s : {64, 80}) {
        std::string shadow = s == 64 ? "gfx/boss/cien_bossm.png" : "gfx/boss/cien_boss.png";
        out.push_back(Picture(shadow, [=](Context& ctx) {
            Canvas c(s, s);
            OvalGlow(c.cr, s * 0.55, s * 0.6, s * 0.48, 0.8, Hex(0x04020a), 0.85);
            ctx.Png(c, shadow);
        }));
        int cell = s / 2;
        std::string soot = "gfx/boss/sadza" + std::to_string(cell) + ".png";
        out.push_back(Picture(soot, [=](Context& ctx) {
            Canvas c(cell, cell);
            Rng rng(ctx.seed);
            for (int i = 0; i < 9; ++i)
                RadialGlow(c.cr, rng.Range(cell * 0.25, cell * 0.75), rng.Range(cell * 0.25, cell * 0.75),
                           rng.Range(cell * 0.2, cell * 0.45), Hex(0x100808), 0.5);
            ctx.Png(c, soot);
        }));
        // Sixteen frames of a turning ring of runes around the boss.
        for (int f = 0; f < 16; ++f) {
            char name[64];
            std::snprintf(name, sizeof name, "gfx/boss/boss-ef%s%04d.png", s == 64 ? "m" : "", f);
            std::string path = name;
            out.push_back(Picture(path, [=](Context& ctx) {
                (void)ctx;
                Canvas c(s, s);
                cairo_t* cr = c.cr;
                double cx = s / 2.0, cy = s / 2.0, r = s * 0.42;
                double phase = f / 16.0 * 2 * M_PI;
                double pulse = 0.5 + 0.5 * std::sin(phase * 2);
                RadialGlow(cr, cx, cy, s * 0.5, Hex(0xa060ff), 0.25 + 0.15 * pulse);
                cairo_set_line_width(cr, s / 40.0);
                cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
                SetColor(cr, Hex(0xe0c0ff), 0.35 + 0.2 * pulse);
                cairo_stroke(cr);
                cairo_arc(cr, cx, cy, r * 0.8, 0, 2 * M_PI);
                SetColor(cr, Hex(0xffd890), 0.2 + 0.2 * (1 - pulse));
                cairo_stroke(cr);
                for (int i = 0; i < 8; ++i) {
                    double a = phase / 4 + i * M_PI / 4;
                    double gx = cx + std::cos(a) * r * 0.9, gy = cy + std::sin(a) * r * 0.9;
                    RadialGlow(cr, gx, gy, s * 0.08, Hex(0xf0d0ff), 0.6);
                    cairo_new_path(cr);
                    GlyphPath(cr, F_RUNIC, 0x16A0 + (i * 5) % 80, s * 0.14, gx, gy);
                    SetColor(cr, Hex(0xffffff), 0.55 + 0.3 * pulse);
                    cairo_fill(cr);
                }
                ctx.Png(c, path);
            }));
        }
    }
}

// ---- spells ------------------------------------------------------------------------------
struct Spell {
    const char* file;  // mag_0N
    const char* name;
    RGB color;
};
const Spell kSpells[6] = {
    {"mag_06", "holyfire", Hex(0xf05a1a)}, {"mag_03", "vanish", Hex(0x9a4ae0)}, {"mag_04", "bomb", Hex(0x50505e)},
    {"mag_01", "drain", Hex(0x2a7ae8)},    {"mag_05", "heal", Hex(0x2aa84a)},   {"mag_02", "teleport", Hex(0x1ab8c8)},
};

void SpellSymbol(cairo_t* cr, int kind, double cx, double cy, double r) {
    // kind: 0 holyfire, 1 vanish, 2 bomb, 3 drain, 4 heal, 5 teleport
    cairo_new_path(cr);
    switch (kind) {
        case 0:  // flame
            cairo_move_to(cr, cx, cy - r);
            cairo_curve_to(cr, cx + r * 0.9, cy - r * 0.2, cx + r * 0.8, cy + r * 0.9, cx, cy + r * 0.9);
            cairo_curve_to(cr, cx - r * 0.8, cy + r * 0.9, cx - r * 0.9, cy, cx - r * 0.3, cy - r * 0.4);
            cairo_curve_to(cr, cx - r * 0.2, cy, cx, cy, cx, cy - r);
            break;
        case 1:  // fading star
            Star(cr, cx, cy, r, r * 0.4, 5);
            break;
        case 2:  // bomb
            cairo_arc(cr, cx - r * 0.1, cy + r * 0.15, r * 0.75, 0, 2 * M_PI);
            cairo_move_to(cr, cx + r * 0.3, cy - r * 0.5);
            cairo_line_to(cr, cx + r * 0.65, cy - r * 0.85);
            cairo_line_to(cr, cx + r * 0.8, cy - r * 0.7);
            cairo_line_to(cr, cx + r * 0.45, cy - r * 0.35);
            cairo_close_path(cr);
            break;
        case 3:  // droplet
            cairo_move_to(cr, cx, cy - r);
            cairo_curve_to(cr, cx + r * 0.2, cy - r * 0.5, cx + r * 0.8, cy, cx + r * 0.8, cy + r * 0.3);
            cairo_arc(cr, cx, cy + r * 0.3, r * 0.8, 0, M_PI);
            cairo_curve_to(cr, cx - r * 0.8, cy, cx - r * 0.2, cy - r * 0.5, cx, cy - r);
            break;
        case 4:  // cross
            RoundRect(cr, cx - r * 0.28, cy - r * 0.9, r * 0.56, r * 1.8, r * 0.12);
            RoundRect(cr, cx - r * 0.9, cy - r * 0.28, r * 1.8, r * 0.56, r * 0.12);
            break;
        default:  // two curved arrows
            for (int k = 0; k < 2; ++k) {
                double a0 = k * M_PI + 0.3, a1 = k * M_PI + M_PI - 0.5;
                cairo_new_sub_path(cr);
                cairo_arc(cr, cx, cy, r * 0.75, a0, a1);
                cairo_arc_negative(cr, cx, cy, r * 0.4, a1, a0);
                cairo_close_path(cr);
                double ax = cx + std::cos(a1) * r * 0.575, ay = cy + std::sin(a1) * r * 0.575;
                double tx = -std::sin(a1), ty = std::cos(a1);
                cairo_move_to(cr, ax + std::cos(a1) * r * 0.35, ay + std::sin(a1) * r * 0.35);
                cairo_line_to(cr, ax + tx * r * 0.4, ay + ty * r * 0.4);
                cairo_line_to(cr, ax - std::cos(a1) * r * 0.35, ay - std::sin(a1) * r * 0.35);
                cairo_close_path(cr);
            }
            break;
    }
}

// The pictogram's own fill on the board: a colour of its own for each spell
// and a bomb that is black, so no two read alike at cell size.
void PictogramFill(cairo_t* cr, int kind, double cy, double r) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
    switch (kind) {
        case 0:  // holyfire: white-hot at the tip, orange at the root
            AddStop(g, 0, Hex(0xfff6b0));
            AddStop(g, 0.45, Hex(0xffb020));
            AddStop(g, 1, Hex(0xe0400c));
            break;
        case 1:  // vanish
            AddStop(g, 0, Hex(0xfbeaff));
            AddStop(g, 1, Hex(0xb070f0));
            break;
        case 2:  // bomb: soot black with a cold sheen
            AddStop(g, 0, Hex(0x5a5a68));
            AddStop(g, 1, Hex(0x0c0c12));
            break;
        case 3:  // drain
            AddStop(g, 0, Hex(0xe0f0ff));
            AddStop(g, 1, Hex(0x3a8aff));
            break;
        case 4:  // heal
            AddStop(g, 0, Hex(0xeaffea));
            AddStop(g, 1, Hex(0x30c050));
            break;
        default:  // teleport
            AddStop(g, 0, Hex(0xe0ffff));
            AddStop(g, 1, Hex(0x10c0d8));
            break;
    }
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A spell as it lies on a rune: the pictogram alone, large, ringed in dark
// ink, with no disc behind it, so the rune's own colour shows all round it
// (a drain takes that colour) and the shape reads at 32 pixels.
void BoardSpellIcon(Canvas& c, double cx, double cy, double r, int kind) {
    cairo_t* cr = c.cr;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // A soft shadow under the shape lifts it off the gem.
    SpellSymbol(cr, kind, cx + r * 0.08, cy + r * 0.1, r);
    cairo_set_line_width(cr, r * 0.5);
    SetColor(cr, {0, 0, 0}, 0.35);
    cairo_stroke(cr);
    SpellSymbol(cr, kind, cx, cy, r);
    cairo_set_line_width(cr, r * 0.3);
    SetColor(cr, Hex(0x140c18), 0.92);
    cairo_stroke_preserve(cr);
    PictogramFill(cr, kind, cy, r);
    if (kind == 2) {
        // The lit fuse: a spark in fire colours at its tip.
        Star(cr, cx + r * 0.8, cy - r * 0.82, r * 0.42, r * 0.14, 6);
        SetColor(cr, Hex(0xffd040));
        cairo_fill(cr);
        RadialGlow(cr, cx + r * 0.8, cy - r * 0.82, r * 0.3, Hex(0xffffff), 0.9);
    }
    // Light from the upper left on the shape.
    cairo_save(cr);
    SpellSymbol(cr, kind, cx, cy, r);
    cairo_clip(cr);
    cairo_translate(cr, cx - r * 0.35, cy - r * 0.4);
    cairo_scale(cr, 1, 0.6);
    RadialGlow(cr, 0, 0, r * 0.55, {1, 1, 1}, kind == 2 ? 0.45 : 0.6);
    cairo_restore(cr);
}

// The pulse round a lying spell: a warm halo hugging the cell's rim with
// twinkles on it, and nothing over the middle, where the pictogram and the
// rune's colour must stay clear. The two pictures cross-fade: a has four
// twinkles on the diagonals, b four on the axes.
void SpellHalo(Context& ctx, const std::string& path, int s, int cell, bool b) {
    Canvas c(s, s);
    cairo_t* cr = c.cr;
    const double cx = s / 2.0, rim = cell * 0.5;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cx, s * 0.5, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx, cx, rim * 0.95, cx, cx, s * 0.5);
    AddStop(g, 0, Hex(0xffd870), 0);
    AddStop(g, 0.25, Hex(0xffe8a0), 0.6);
    AddStop(g, 0.6, Hex(0xffd870), 0.3);
    AddStop(g, 1, Hex(0xffc850), 0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    const double tr = (rim + s * 0.5) / 2;
    for (int i = 0; i < 4; ++i) {
        double a = i * M_PI / 2 + (b ? 0 : M_PI / 4);
        double x = cx + std::cos(a) * tr, y = cx + std::sin(a) * tr;
        RadialGlow(cr, x, y, s * 0.09, Hex(0xfff4d0), 0.8);
        Star(cr, x, y, s * 0.08, s * 0.018, 4);
        SetColor(cr, Hex(0xffffff), 0.9);
        cairo_fill(cr);
    }
    ctx.Png(c, path);
}

void Spells(std::vector<Recipe>& out) {
    for (int k = 0; k < 6; ++k) {
        std::string path = std::string("gfx/bonusy/") + kSpells[k].file + ".png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(30, 30);
            BoardSpellIcon(c, 15, 15, 10.5, k);
            ctx.Png(c, path);
        }));
        std::string cap = std::string("gfx/fonts/spell-") + kSpells[k].name + ".png";
        out.push_back(Picture(cap, [=](Context& ctx) {
            std::string word = kSpells[k].name;
            word[0] = static_cast<char>(word[0] - 32);
            // The uncial face: blackletter capitals such as V and H read poorly.
            Canvas c = CaptionPicture(F_UNCIAL, 46, word, CS_GOLD, 12, 10);
            ctx.Png(c, cap);
        }));
    }
    for (int big = 0; big < 2; ++big)
        for (char v : {'a', 'b'}) {
            int s = big ? 68 : 50;
            std::string path = std::string("gfx/bonusy/posw2") + v + (big ? "-duza" : "") + ".png";
            out.push_back(Picture(path, [=](Context& ctx) {
                SpellHalo(ctx, path, s, big ? 40 : 32, v == 'b');
            }));
        }
}

// ---- spheres ----------------------------------------------------------------------------
// A socket no sphere of the level uses: a dim domed slate lid with a sealed
// rune, lit softly from the upper left, so it reads as shut rather than as
// a hole. A sphere in use is drawn over it whole.
void ClosedSocket(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r);
    AddStop(g, 0, Hex(0x5a566c));
    AddStop(g, 0.55, Hex(0x34313f));
    AddStop(g, 1, Hex(0x15131c));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // The lid's lip: a bevelled ring just inside the gold.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.8, M_PI * 0.75, M_PI * 1.75);
    cairo_set_line_width(cr, 1.6);
    SetColor(cr, Hex(0x14121a), 0.8);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.8, -M_PI * 0.25, M_PI * 0.75);
    SetColor(cr, Hex(0x8a86a0), 0.45);
    cairo_stroke(cr);
    // Two bars crossed over the lid, like a sealed well cover.
    for (int k = 0; k < 2; ++k) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, M_PI / 4 + k * M_PI / 2);
        RoundRect(cr, -r * 0.78, -r * 0.09, r * 1.56, r * 0.18, r * 0.06);
        cairo_pattern_t* b = cairo_pattern_create_linear(0, -r * 0.09, 0, r * 0.09);
        AddStop(b, 0, Hex(0x6a6478));
        AddStop(b, 1, Hex(0x26232e));
        cairo_set_source(cr, b);
        cairo_fill(cr);
        cairo_pattern_destroy(b);
        cairo_restore(cr);
    }
    // The seal where the bars meet: a dull stone boss, no colour of its own.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.24, 0, 2 * M_PI);
    g = cairo_pattern_create_radial(cx - r * 0.08, cy - r * 0.08, r * 0.02, cx, cy, r * 0.24);
    AddStop(g, 0, Hex(0x7a7488));
    AddStop(g, 1, Hex(0x2a2732));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // A soft sheen on the dome.
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.38, cy - r * 0.42);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 1, 0.5);
    RadialGlow(cr, 0, 0, r * 0.42, Hex(0xc8c4e0), 0.22);
    cairo_restore(cr);
}

void Ball(Canvas& c, double cx, double cy, double r, const RuneClass* rc) {
    cairo_t* cr = c.cr;
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r);
    if (rc) {
        AddStop(g, 0, Lighter(rc->hue, 0.55));
        AddStop(g, 0.55, rc->hue);
        AddStop(g, 1, Darker(rc->hue, 0.65));
    } else {
        AddStop(g, 0, Hex(0x3a3a5a));
        AddStop(g, 0.6, Hex(0x14142a));
        AddStop(g, 1, Hex(0x06060e));
    }
    cairo_set_source(cr, g);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Glass: rim, a highlight and a caustic at the bottom.
    cairo_set_line_width(cr, 1.5);
    cairo_arc(cr, cx, cy, r - 0.75, 0, 2 * M_PI);
    SetColor(cr, rc ? Darker(rc->hue, 0.7) : Hex(0x8a8ab0), rc ? 0.8 : 0.5);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - r * 0.3, cy - r * 0.5);
    cairo_rotate(cr, -0.5);
    cairo_scale(cr, 1, 0.55);
    RadialGlow(cr, 0, 0, r * 0.45, {1, 1, 1}, 0.85);
    cairo_restore(cr);
    RadialGlow(cr, cx + r * 0.2, cy + r * 0.6, r * 0.35, rc ? Lighter(rc->hue, 0.6) : Hex(0x6a6aa0), 0.45);
}

void Spheres(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/ring/k-black.png", [](Context& ctx) {
        Canvas c(62, 62);
        Ball(c, 31, 31, 29, nullptr);
        ctx.Png(c, "gfx/ring/k-black.png");
    }));
    for (int cls = 1; cls <= 15; ++cls) {
        int n = BallNumberOf(cls);
        std::string k = "gfx/ring/k-" + Two(n) + ".png", s = "gfx/ring/s-" + Two(n) + ".png";
        out.push_back(Picture(k, [=](Context& ctx) {
            Canvas c(62, 62);
            Ball(c, 31, 31, 29, &RuneOf(cls));
            ctx.Png(c, k);
        }));
        out.push_back(Picture(s, [=](Context& ctx) {
            Canvas c(32, 32);
            const RuneClass& rc = RuneOf(cls);
            RadialGlow(c.cr, 16, 16, 15, Lighter(rc.hue, 0.3), 0.5);
            cairo_new_path(c.cr);
            GlyphPath(c.cr, F_RUNIC, rc.glyph, 24, 16, 16);
            cairo_set_line_width(c.cr, 2.5);
            cairo_set_line_join(c.cr, CAIRO_LINE_JOIN_ROUND);
            SetColor(c.cr, Darker(rc.hue, 0.75), 0.9);
            cairo_stroke_preserve(c.cr);
            SetColor(c.cr, Hex(0xfffaf0));
            cairo_fill(c.cr);
            ctx.Png(c, s);
        }));
    }
    // The sphere panel: five sockets in a pentagon round a next-block box.
    out.push_back(Picture("gfx/ring/kulki.png", [](Context& ctx) {
        Canvas c(185, 180);
        cairo_t* cr = c.cr;
        const double sx[5] = {60, 120, 97, 23, 0}, sy[5] = {2, 44, 115, 114, 44};
        // A carved stone plate joining the sockets, with a gold rim.
        auto plate = [&]() {
            cairo_new_path(cr);
            for (int i = 0; i < 5; ++i) cairo_line_to(cr, sx[i] + 31, sy[i] + 31);
            cairo_close_path(cr);
        };
        plate();
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 62);
        SetColor(cr, pal::goldDeep);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
        plate();
        cairo_set_line_width(cr, 57);
        SetColor(cr, Hex(0x2e2a48));
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
        c.Grain(0.25, 5, ctx.seed, 4);
        plate();
        cairo_set_line_width(cr, 50);
        SetColor(cr, Hex(0x000000), 0.18);
        cairo_stroke(cr);
        // Sockets with gold rings.
        for (int i = 0; i < 5; ++i) {
            double cx = sx[i] + 31, cy = sy[i] + 31;
            ClosedSocket(cr, cx, cy, 30.5);
            cairo_arc(cr, cx, cy, 30, 0, 2 * M_PI);
            cairo_set_line_width(cr, 2.5);
            cairo_pattern_t* g = cairo_pattern_create_linear(cx - 30, cy - 30, cx + 30, cy + 30);
            AddStop(g, 0, pal::goldLight);
            AddStop(g, 1, pal::goldDeep);
            cairo_set_source(cr, g);
            cairo_stroke(cr);
            cairo_pattern_destroy(g);
        }
        // Next-block box centred on (92, 95).
        RoundRect(cr, 52, 55, 80, 80, 8);
        SetColor(cr, Hex(0x0c0a1c), 0.9);
        cairo_fill(cr);
        GoldFrame(c, 52, 55, 80, 80, 3, 8);
        c.Shadow(2, 3, 4, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/ring/kulki.png");
    }));
    for (int v : {4, 5}) {
        std::string path = "gfx/gwiazdki/volum0" + std::to_string(v) + ".png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(112, 112);
            cairo_t* cr = c.cr;
            Rng rng(ctx.seed);
            int rays = v == 4 ? 12 : 18;
            for (int i = 0; i < rays; ++i) {
                double a = i * 2 * M_PI / rays + rng.Range(-0.08, 0.08);
                double len = rng.Range(36, 56), wdt = v == 4 ? 0.07 : 0.04;
                cairo_move_to(cr, 56, 56);
                cairo_line_to(cr, 56 + std::cos(a - wdt) * len, 56 + std::sin(a - wdt) * len);
                cairo_line_to(cr, 56 + std::cos(a + wdt) * len, 56 + std::sin(a + wdt) * len);
                cairo_close_path(cr);
            }
            cairo_pattern_t* g = cairo_pattern_create_radial(56, 56, 0, 56, 56, 56);
            AddStop(g, 0, {1, 1, 1}, 1);
            AddStop(g, 1, {1, 1, 1}, 0);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
            RadialGlow(cr, 56, 56, 20, {1, 1, 1}, 0.8);
            ctx.Png(c, path);
        }));
    }
}

// ---- timer -------------------------------------------------------------------------------
void Hourglass(Canvas& c, double fill) {
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h, cx = W / 2;
    double top = 6, bot = H - 6, half = (bot - top) / 2, mid = top + half, rw = W * 0.26;
    auto bulb = [&](bool upper) {
        cairo_new_path(cr);
        double y0 = upper ? top : bot, y1 = mid;
        cairo_move_to(cr, cx - rw, y0);
        cairo_curve_to(cr, cx - rw, y0 + (y1 - y0) * 0.55, cx - 3, y1 - (y1 - y0) * 0.2, cx - 2, y1);
        cairo_line_to(cr, cx + 2, y1);
        cairo_curve_to(cr, cx + 3, y1 - (y1 - y0) * 0.2, cx + rw, y0 + (y1 - y0) * 0.55, cx + rw, y0);
        cairo_close_path(cr);
    };
    // Glass.
    for (bool up : {true, false}) {
        bulb(up);
        SetColor(cr, Hex(0x9ab0e0), 0.22);
        cairo_fill(cr);
    }
    // Sand: the upper bulb empties from the top, the lower fills from the bottom.
    RGB sand = Hex(0xf0c060);
    cairo_save(cr);
    bulb(true);
    cairo_clip(cr);
    double upperLevel = mid - half * fill * 0.85;
    cairo_rectangle(cr, 0, upperLevel, W, mid - upperLevel);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, mid);
    AddStop(g, 0, Lighter(sand, 0.3));
    AddStop(g, 1, Darker(sand, 0.2));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    cairo_save(cr);
    bulb(false);
    cairo_clip(cr);
    double heap = half * (1 - fill) * 0.85;
    cairo_move_to(cr, 0, bot);
    cairo_line_to(cr, cx - rw * 1.2, bot - heap * 0.6);
    cairo_curve_to(cr, cx - rw * 0.3, bot - heap * 1.1, cx + rw * 0.3, bot - heap * 1.1, cx + rw * 1.2,
                   bot - heap * 0.6);
    cairo_line_to(cr, W, bot);
    cairo_close_path(cr);
    SetColor(cr, sand);
    cairo_fill(cr);
    cairo_restore(cr);
    if (fill > 0.02 && fill < 0.999) {
        cairo_rectangle(cr, cx - 0.7, mid, 1.4, bot - mid - heap * 0.8);
        SetColor(cr, sand, 0.9);
        cairo_fill(cr);
    }
    // Glass outline and highlight.
    for (bool up : {true, false}) {
        bulb(up);
        cairo_set_line_width(cr, 1.3);
        SetColor(cr, Hex(0xd8e4ff), 0.8);
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, cx - rw * 0.7, top + 4, 2, half * 0.5);
    SetColor(cr, {1, 1, 1}, 0.4);
    cairo_fill(cr);
    // A thin bar of time along the bottom for a quick read.
    RoundRect(cr, 4, H - 4, W - 8, 3, 1.5);
    SetColor(cr, Hex(0x101020), 0.8);
    cairo_fill(cr);
    RoundRect(cr, 4, H - 4, (W - 8) * fill, 3, 1.5);
    SetColor(cr, fill > 0.25 ? Hex(0x60e0a0) : Hex(0xff6040));
    cairo_fill(cr);
}

void Timer(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/timer/timer.png", [](Context& ctx) {
        Canvas c(110, 100);
        cairo_t* cr = c.cr;
        BevelPanel(c, 2, 2, 106, 94, 14, pal::wood, pal::gold, 5, ctx.seed);
        cairo_save(cr);
        RoundRect(cr, 7, 7, 96, 84, 10);
        cairo_clip(cr);
        WoodFill(c, 0, 0, 110, 100, pal::wood, ctx.seed);
        cairo_restore(cr);
        // The gauge window at (17,17), 76x66.
        RoundRect(cr, 15, 15, 80, 70, 6);
        SetColor(cr, Hex(0x0a0a1a));
        cairo_fill(cr);
        GoldFrame(c, 14, 14, 82, 72, 3, 7);
        for (double x : {24.0, 86.0}) Stud(cr, x, 8, 3.5);
        for (double x : {24.0, 86.0}) Stud(cr, x, 92, 3.5);
        c.Shadow(2, 3, 3, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/timer/timer.png");
    }));
    for (int n = 1; n <= 30; ++n) {
        std::string path = "gfx/timer/frame" + std::to_string(n) + ".png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(76, 66);
            Hourglass(c, (n - 1) / 29.0);
            ctx.Png(c, path);
        }));
    }
}

// ---- popup icons --------------------------------------------------------------------------
// The hint popups' boss and timer icons, made here so they show the boss and
// the hourglass exactly as the board and the timer draw them.

// A standing hourglass: turned gold posts between two plates, glass bulbs
// with the sand half run through.
void HourglassIcon(Canvas& c) {
    cairo_t* cr = c.cr;
    const double cx = 32, top = 10, bot = 54, mid = 32, rw = 13;
    // Glass and sand, drawn first so the posts stand in front of the glass.
    Canvas glass(64, 64);
    {
        cairo_t* g = glass.cr;
        auto bulb = [&](bool upper) {
            cairo_new_path(g);
            double y0 = upper ? top : bot;
            cairo_move_to(g, cx - rw, y0);
            cairo_curve_to(g, cx - rw, y0 + (mid - y0) * 0.6, cx - 2.5, mid - (mid - y0) * 0.15, cx - 1.5, mid);
            cairo_line_to(g, cx + 1.5, mid);
            cairo_curve_to(g, cx + 2.5, mid - (mid - y0) * 0.15, cx + rw, y0 + (mid - y0) * 0.6, cx + rw, y0);
            cairo_close_path(g);
        };
        for (bool up : {true, false}) {
            bulb(up);
            cairo_pattern_t* p = cairo_pattern_create_linear(cx - rw, 0, cx + rw, 0);
            AddStop(p, 0, Hex(0x8aa0d0), 0.35);
            AddStop(p, 0.5, Hex(0x2a3050), 0.25);
            AddStop(p, 1, Hex(0x8aa0d0), 0.45);
            cairo_set_source(g, p);
            cairo_fill(g);
            cairo_pattern_destroy(p);
        }
        RGB sand = Hex(0xf0c060);
        cairo_save(g);
        bulb(true);
        cairo_clip(g);
        cairo_rectangle(g, 0, mid - 11, 64, 11);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, mid - 11, 0, mid);
        AddStop(p, 0, Lighter(sand, 0.35));
        AddStop(p, 1, Darker(sand, 0.25));
        cairo_set_source(g, p);
        cairo_fill(g);
        cairo_pattern_destroy(p);
        cairo_restore(g);
        cairo_save(g);
        bulb(false);
        cairo_clip(g);
        cairo_move_to(g, cx - rw - 2, bot);
        cairo_curve_to(g, cx - 6, bot - 12, cx + 6, bot - 12, cx + rw + 2, bot);
        cairo_close_path(g);
        p = cairo_pattern_create_linear(0, bot - 10, 0, bot);
        AddStop(p, 0, Lighter(sand, 0.25));
        AddStop(p, 1, Darker(sand, 0.3));
        cairo_set_source(g, p);
        cairo_fill(g);
        cairo_pattern_destroy(p);
        cairo_restore(g);
        cairo_rectangle(g, cx - 0.6, mid, 1.2, bot - mid - 8);
        SetColor(g, sand, 0.9);
        cairo_fill(g);
        for (bool up : {true, false}) {
            bulb(up);
            cairo_set_line_width(g, 1.2);
            SetColor(g, Hex(0xd8e4ff), 0.75);
            cairo_stroke(g);
        }
        // Window light on the glass.
        cairo_new_path(g);
        cairo_move_to(g, cx - rw + 3.5, top + 3);
        cairo_curve_to(g, cx - rw + 3.5, top + 10, cx - 6, mid - 6, cx - 4, mid - 3);
        cairo_set_line_width(g, 1.6);
        SetColor(g, {1, 1, 1}, 0.55);
        cairo_stroke(g);
    }
    c.Paste(glass, 0, 0);
    // Posts.
    for (double x : {cx - rw - 4, cx + rw + 4}) {
        cairo_new_path(cr);
        RoundRect(cr, x - 2, top - 1, 4, bot - top + 2, 1.5);
        cairo_pattern_t* p = cairo_pattern_create_linear(x - 2, 0, x + 2, 0);
        AddStop(p, 0, pal::goldDeep);
        AddStop(p, 0.4, pal::goldLight);
        AddStop(p, 1, pal::goldDeep);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        for (double y : {mid - 9, mid, mid + 9}) Stud(cr, x, y, 2.4);
    }
    // Plates.
    for (double y : {top - 6, bot}) {
        RoundRect(cr, cx - rw - 9, y, 2 * (rw + 9), 6, 2.5);
        GoldGradientFill(cr, cx - rw - 9, y, cx + rw + 9, y + 6);
        RoundRect(cr, cx - rw - 9, y, 2 * (rw + 9), 6, 2.5);
        cairo_set_line_width(cr, 1);
        SetColor(cr, Hex(0x3a2206), 0.9);
        cairo_stroke(cr);
    }
}

// The boss hints' pictures: the small board's bosses, as a level draws
// them, side by side. The file name lists the boss kinds in order
// (icon-boss-01-02: the ember and the tide warden), one picture for each
// kind alone and one for each group of wardens a hint introduces.
void BossHintIcons(std::vector<Recipe>& out) {
    std::vector<std::vector<int>> groups;
    for (int b = 1; b <= kBosses; ++b) groups.push_back({b});
    groups.push_back({1, 2});
    groups.push_back({5, 6, 3});
    for (const std::vector<int>& kinds : groups) {
        std::string path = "gfx/info/icon-boss";
        for (int b : kinds) path += "-" + Two(b);
        path += ".png";
        out.push_back(Picture(path, [kinds, path](Context& ctx) {
            const int n = static_cast<int>(kinds.size());
            Canvas c(64 * n, 64);
            for (int i = 0; i < n; ++i) {
                Canvas one(64, 64);
                DrawBoss(one, 64, kinds[static_cast<size_t>(i)], ctx.seed);
                c.Paste(one, 64 * i, 0);
            }
            ctx.Png(c, path);
        }));
    }
}

void PopupIcons(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/info/icon-timer.png", [](Context& ctx) {
        Canvas c(64, 64);
        HourglassIcon(c);
        c.Shadow(1, 2, 2, {0, 0, 0}, 0.5);
        ctx.Png(c, "gfx/info/icon-timer.png");
    }));
}

// The ring game's award for each spell kind won: a gold sunburst medal with
// the spell's own enamel and its pictogram in ivory, big enough to read on
// the ring, pulsing in five frames ("gfx/ring-game/award-<spell>_000N.png").
void RingAwards(std::vector<Recipe>& out) {
    for (int k = 0; k < 6; ++k) {
        for (int f = 0; f < 5; ++f) {
            const std::string path =
                std::string("gfx/ring-game/award-") + kSpells[k].name + "_000" + std::to_string(f) + ".png";
            out.push_back(Picture(path, [=](Context& ctx) {
                Canvas c(60, 60);
                cairo_t* cr = c.cr;
                const double cx = 30, cy = 30;
                const double pulse = 0.5 + 0.5 * std::sin(f / 5.0 * 2 * M_PI);
                RadialGlow(cr, cx, cy, 29, pal::goldLight, 0.2 + 0.3 * pulse);
                // The sunburst, turned a little each frame so the medal shimmers.
                Star(cr, cx, cy, 26, 19, 12, f * M_PI / 30);
                GoldGradientFill(cr, cx - 26, cy - 26, cx + 26, cy + 26);
                cairo_new_path(cr);
                cairo_arc(cr, cx, cy, 20, 0, 2 * M_PI);
                GoldGradientFill(cr, cx - 20, cy - 20, cx + 20, cy + 20);
                cairo_arc(cr, cx, cy, 20, 0, 2 * M_PI);
                SetColor(cr, Darker(pal::goldDeep, 0.5), 0.9);
                cairo_set_line_width(cr, 1.2);
                cairo_stroke(cr);
                // The enamel in the spell's colour, lit from the top left.
                const RGB enamel = kSpells[k].color;
                cairo_pattern_t* g = cairo_pattern_create_radial(cx - 5, cy - 6, 1, cx, cy, 16);
                AddStop(g, 0, Lighter(enamel, 0.45));
                AddStop(g, 0.6, enamel);
                AddStop(g, 1, Darker(enamel, 0.55));
                cairo_set_source(cr, g);
                cairo_new_path(cr);
                cairo_arc(cr, cx, cy, 16, 0, 2 * M_PI);
                cairo_fill(cr);
                cairo_pattern_destroy(g);
                cairo_arc(cr, cx, cy, 16, 0, 2 * M_PI);
                SetColor(cr, Darker(pal::goldDeep, 0.6), 0.8);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
                // The pictogram: a dark drop shadow, an ivory body, a dark rim.
                SpellSymbol(cr, k, cx + 0.8, cy + 1.2, 11);
                SetColor(cr, {0, 0, 0}, 0.55);
                cairo_fill(cr);
                SpellSymbol(cr, k, cx, cy, 11);
                SetColor(cr, Hex(0xfff6dc));
                cairo_fill_preserve(cr);
                SetColor(cr, Hex(0x1a1006), 0.8);
                cairo_set_line_width(cr, 0.9);
                cairo_stroke(cr);
                c.Shadow(1, 2, 2, {0, 0, 0}, 0.5);
                ctx.Png(c, path);
            }));
        }
    }
}

void All(std::vector<Recipe>& out) {
    PopupIcons(out);
    BossHintIcons(out);
    Runes(out);
    Boards(out);
    FrameTiles(out);
    Bosses(out);
    Spells(out);
    Spheres(out);
    Timer(out);
    RingAwards(out);
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
