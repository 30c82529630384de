// The board's art measured as the player meets it: bosses told apart by
// players who see reds and greens alike (and the hint popup's boss the
// board's own), rune gems whose light stays on the
// stone, the ring game's twenty runes unlike each other and unlike
// punctuation, and frame tiles that leave the edge runes in view where the
// board draws them over the cells.
//
// Pixels come from the game folder the build makes; the boss list comes from
// the game's own settings archive and the frame's placement from the board's
// own frame code, read back from the headless draw recorder.
//
// Index: helpers · bosses · rune light · ring runes · frame margins
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "art_test_util.h"
#include "board/board.h"
#include "config/bca.h"
#include "config/tsc_file.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"

namespace pt = plat::testing;

namespace {

// ---- helpers ----------------------------------------------------------------------------
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;  // 0..1, straight (not premultiplied)
};

Rgba At(const plat::PixmapPtr& p, int x, int y) {
    const uint32_t v = plat::ReadPixel(p, x, y);
    return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, (v >> 24) / 255.0};
}

double Linear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double Encode(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

// Dichromat vision after Viénot, Brettel and Mollon (1999), in linear RGB:
// what a protanope or a deuteranope sees of a colour.
enum Vision { Protanopia, Deuteranopia };
Rgba Simulate(Rgba c, Vision v) {
    static const double kProtan[3][3] = {{0.11238, 0.88762, 0}, {0.11238, 0.88762, 0}, {0.00401, -0.00401, 1}};
    static const double kDeutan[3][3] = {{0.29275, 0.70725, 0}, {0.29275, 0.70725, 0}, {-0.02234, 0.02234, 1}};
    const auto& m = v == Protanopia ? kProtan : kDeutan;
    const double l[3] = {Linear(c.r), Linear(c.g), Linear(c.b)};
    double o[3];
    for (int i = 0; i < 3; ++i) o[i] = Encode(m[i][0] * l[0] + m[i][1] * l[1] + m[i][2] * l[2]);
    return {o[0], o[1], o[2], c.a};
}

// The built game folder with the headless display open.
class BoardArt : public InGameFolder {};

// ---- bosses -------------------------------------------------------------------------------
// Every pair of boss kinds, at both sizes, must look different to a player
// without red or green cones: the share of pixels where the two pictures
// differ in shape (coverage) or in the colour such a player sees. Bosses that
// differ only in hue (red and green wardens of one shape) fall well under it.
TEST_F(BoardArt, BossKindsDifferUnderRedGreenColourBlindness) {
    TTSCFilePtr catalogue = CreateTSCFile();
    ASSERT_NE(LoadTSCFileBB(catalogue, "data/settings.bca", "bossRazod.tsc"), 0);
    auto kinds = GetTSCGroupList(catalogue, "List");
    ASSERT_TRUE(kinds);
    const std::vector<TTSCGroupPtr> list = kinds->ToArray();
    ASSERT_GE(list.size(), 2u);
    for (const char* key : {"fileNameBoss", "fileNameBossBig"}) {
        std::vector<std::string> names;
        std::vector<plat::PixmapPtr> pics;
        for (const TTSCGroupPtr& g : list) {
            names.push_back(GetTSCStringKey(catalogue, "List::" + g->name, key, 0));
            pics.push_back(Pixels(names.back()));
            ASSERT_TRUE(pics.back());
        }
        for (Vision v : {Protanopia, Deuteranopia})
            for (size_t i = 0; i < pics.size(); ++i)
                for (size_t j = i + 1; j < pics.size(); ++j) {
                    const auto& a = pics[i];
                    const auto& b = pics[j];
                    ASSERT_EQ(a->width, b->width);
                    ASSERT_EQ(a->height, b->height);
                    int differ = 0, shown = 0;
                    for (int y = 0; y < a->height; ++y)
                        for (int x = 0; x < a->width; ++x) {
                            const Rgba pa = Simulate(At(a, x, y), v), pb = Simulate(At(b, x, y), v);
                            if (pa.a < 0.1 && pb.a < 0.1) continue;
                            ++shown;
                            // Colour as it shows over a dark board, so a faint
                            // pixel's colour counts only as much as it shows.
                            const double dr = pa.r * pa.a - pb.r * pb.a, dg = pa.g * pa.a - pb.g * pb.a,
                                         db = pa.b * pa.a - pb.b * pb.a;
                            const double dc = std::sqrt(dr * dr + dg * dg + db * db);
                            if (std::fabs(pa.a - pb.a) > 0.35 || dc > 0.25) ++differ;
                        }
                    ASSERT_GT(shown, 0);
                    EXPECT_GT(static_cast<double>(differ) / shown, 0.25)
                        << names[i] << " and " << names[j] << (v == Protanopia ? " (protanopia)" : " (deuteranopia)");
                }
    }
}

// The hint popup shows the bosses the player will meet on the board: each
// boss in its icon (named by the kinds it shows, in order) is the small
// board's boss of that kind, pixel for pixel (a few levels of rounding
// apart), not a picture of its own that can drift from it.
TEST_F(BoardArt, BossPopupIconsAreTheBoardsBosses) {
    const std::vector<std::vector<int>> icons = {{1}, {2}, {3}, {4}, {5}, {6}, {1, 2}, {5, 6, 3}};
    for (const std::vector<int>& kinds : icons) {
        std::string name = "gfx/info/icon-boss";
        for (int k : kinds) name += "-0" + std::to_string(k);
        SCOPED_TRACE(name);
        const plat::PixmapPtr icon = Pixels(name + ".png");
        ASSERT_TRUE(icon);
        ASSERT_EQ(icon->height, 64);
        ASSERT_EQ(icon->width, 64 * static_cast<int>(kinds.size()));
        for (size_t i = 0; i < kinds.size(); ++i) {
            const plat::PixmapPtr boss = Pixels("gfx/boss/bm-0" + std::to_string(kinds[i]) + ".png");
            ASSERT_TRUE(boss);
            ASSERT_EQ(boss->width, 64);
            int off = 0, shown = 0;
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    const Rgba a = At(icon, static_cast<int>(i) * 64 + x, y), b = At(boss, x, y);
                    if (a.a > 0.1) ++shown;
                    if (std::fabs(a.r - b.r) > 0.02 || std::fabs(a.g - b.g) > 0.02 || std::fabs(a.b - b.b) > 0.02 ||
                        std::fabs(a.a - b.a) > 0.02)
                        ++off;
                }
            EXPECT_GT(shown, 64 * 64 / 4) << "boss " << i << " is shown";
            EXPECT_EQ(off, 0) << "pixels where boss " << i << " differs from the board's boss of its kind";
        }
    }
}

// ---- rune light ---------------------------------------------------------------------------
// The highlight and the sparkle of every rune gem lie on the stone: a lit
// pixel (near white) is fully opaque and none of its neighbours is open
// board. A light painted off a narrow cut shows as a pale smear beside it.
TEST_F(BoardArt, RuneHighlightsStayInsideTheGem) {
    for (const char* dir : {"gfx/runy/", "gfx/runy-40x40/"})
        for (int c = 1; c <= 15; ++c) {
            char name[64];
            std::snprintf(name, sizeof name, "%srune-%02d.png", dir, c);
            plat::PixmapPtr p = Pixels(name);
            ASSERT_TRUE(p);
            int lit = 0, astray = 0;
            for (int y = 0; y < p->height; ++y)
                for (int x = 0; x < p->width; ++x) {
                    const Rgba px = At(p, x, y);
                    if (px.a < 0.06 || std::min({px.r, px.g, px.b}) < 0.86) continue;
                    ++lit;
                    bool inside = px.a > 0.97;
                    for (int dy = -1; dy <= 1 && inside; ++dy)
                        for (int dx = -1; dx <= 1 && inside; ++dx) {
                            const int nx = x + dx, ny = y + dy;
                            if (nx < 0 || ny < 0 || nx >= p->width || ny >= p->height || At(p, nx, ny).a < 0.75)
                                inside = false;
                        }
                    if (!inside) ++astray;
                }
            EXPECT_GT(lit, 0) << name << ": the gem has a highlight";
            EXPECT_EQ(astray, 0) << name << ": lit pixels off the gem";
        }
}

// ---- ring runes ---------------------------------------------------------------------------
// The twenty runes of the ring game, on slips and in the orb: each one tall
// and full enough not to pass for a dot, a bar or a comma, and no two alike
// (their ink compared at the best of small offsets, as the eye lines them up).
struct GlyphMask {
    int w = 0, h = 0;
    std::vector<uint8_t> ink;
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // ink box, inclusive
    int count = 0;
};

GlyphMask MaskOf(const plat::PixmapPtr& p, int cx, int cw, int ch) {
    GlyphMask m;
    m.w = cw;
    m.h = ch;
    m.ink.assign(static_cast<size_t>(cw * ch), 0);
    m.x0 = cw;
    m.y0 = ch;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const Rgba px = At(p, cx + x, y);
            // Slips: dark ink. Orb: a pale rune over its glow.
            const bool on = px.a > 0.5 && (px.r + px.g + px.b < 1.2 || std::min({px.r, px.g, px.b}) > 0.8);
            if (!on) continue;
            m.ink[static_cast<size_t>(y * cw + x)] = 1;
            ++m.count;
            m.x0 = std::min(m.x0, x);
            m.y0 = std::min(m.y0, y);
            m.x1 = std::max(m.x1, x);
            m.y1 = std::max(m.y1, y);
        }
    return m;
}

// 1 - intersection / union at the best alignment within +-3 pixels.
double Unlike(const GlyphMask& a, const GlyphMask& b) {
    double best = 1;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            int both = 0, either = 0;
            for (int y = 0; y < a.h; ++y)
                for (int x = 0; x < a.w; ++x) {
                    const bool ia = a.ink[static_cast<size_t>(y * a.w + x)] != 0;
                    const int bx = x + dx, by = y + dy;
                    const bool ib = bx >= 0 && by >= 0 && bx < b.w && by < b.h &&
                                    b.ink[static_cast<size_t>(by * b.w + bx)] != 0;
                    both += ia && ib;
                    either += ia || ib;
                }
            if (either > 0) best = std::min(best, 1.0 - static_cast<double>(both) / either);
        }
    return best;
}

TEST_F(BoardArt, RingRunesAreDistinctAndNotPunctuation) {
    struct Strip {
        const char* file;
        int cell;
    };
    for (Strip s : {Strip{"gfx/ring-game/runy-papier.png", 32}, Strip{"gfx/ring-game/runy-kula.png", 64}}) {
        plat::PixmapPtr p = Pixels(s.file);
        ASSERT_TRUE(p);
        ASSERT_EQ(p->width, 20 * s.cell) << s.file;
        std::vector<GlyphMask> masks;
        for (int i = 0; i < 20; ++i) masks.push_back(MaskOf(p, i * s.cell, s.cell, p->height));
        for (int i = 0; i < 20; ++i) {
            const GlyphMask& m = masks[static_cast<size_t>(i)];
            SCOPED_TRACE(std::string(s.file) + " rune " + std::to_string(i));
            ASSERT_GT(m.count, 0);
            const int w = m.x1 - m.x0 + 1, h = m.y1 - m.y0 + 1;
            // Tall as a letter: a dot, a comma or a short dash is not.
            EXPECT_GE(h, p->height * 0.3);
            // Wider than a bar: an upright stroke alone reads as "|" or "l".
            EXPECT_GE(w, h * 0.4);
            // Enough ink for several strokes, not one thin line.
            EXPECT_GE(m.count, w * h * 0.22);
        }
        for (int i = 0; i < 20; ++i)
            for (int j = i + 1; j < 20; ++j)
                EXPECT_GT(Unlike(masks[static_cast<size_t>(i)], masks[static_cast<size_t>(j)]), 0.35)
                    << s.file << ": runes " << i << " and " << j << " look alike";
    }
}

// ---- frame margins ------------------------------------------------------------------------
// The frame is built and drawn by the board's own code around an outline with
// outer and inner corners; each tile is laid on the screen where the recorder
// saw it drawn. Over board cells a tile may only darken softly (no pixel
// above the shadow's strength, and little on average), so the edge runes stay
// in view; on the frame's own cells the wood is solid.
class FrameMargins : public BoardArt {
protected:
    // The picture each table entry holds, as the tile folders name them.
    std::map<const plat::Image*, std::string> Names(const TBoardManager& b, bool big) {
        std::map<const plat::Image*, std::string> names;
        const std::string dir = big ? "gfx/ramka-40x40/" : "gfx/ramka/";
        const TTileTable& sides = big ? b.leftRightTiles40 : b.leftRightTiles32;
        const TTileTable& tops = big ? b.topBottomTiles40 : b.topBottomTiles32;
        const TTileTable& corners = big ? b.cornerTiles40 : b.cornerTiles32;
        for (int n = 1; n <= 3; ++n)
            for (int v = 0; v < (n == 3 ? 3 : 2); ++v) {
                const std::string stem = dir + std::to_string(n) + static_cast<char>('a' + v);
                names[sides[n][v].get()] = stem + ".png";
                names[tops[n][v].get()] = stem + "-p.png";
            }
        const char* cn[4] = {"lg", "rg", "ld", "rd"};
        const char* suffix[3] = {"", "_v2", "_v3"};
        for (int k = 0; k < 4; ++k)
            for (int v = 0; v < 3; ++v) names[corners[k][v].get()] = dir + "1b-" + cn[k] + suffix[v] + ".png";
        names.erase(nullptr);
        return names;
    }
};

TEST_F(FrameMargins, TilesLeaveTheEdgeRunesInView) {
    // A plus with a notch: outer corners, inner corners and runs of every length.
    TBoardManager b;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            const bool across = y >= 5 && y <= 8 && x >= 1 && x <= 13;
            const bool down = x >= 5 && x <= 8 && y >= 1 && y <= 13;
            b.shapeLayer[x][y] = (across || down) && !(x == 8 && y == 1) ? 1 : 0;
        }
    ASSERT_EQ(b.loadBoardGfx(), 0);
    b.buildFrame();
    ASSERT_FALSE(b.frameElements.empty());
    for (int cell : {32, 40}) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        b.cellSize = cell;
        b.originX = 8;
        b.originY = 4;
        b.scale = 1.0f;
        b.alpha = 1.0f;
        const auto names = Names(b, cell == 40);
        const int W = b.originX + (kBoardCells + 2) * cell, H = b.originY + (kBoardCells + 2) * cell;
        // The frame composited over the screen, and the strongest single tile.
        std::vector<double> over(static_cast<size_t>(W * H), 0.0), single(static_cast<size_t>(W * H), 0.0);
        pt::ClearDrawCalls();
        b._drawFrame();
        int drawn = 0;
        for (const pt::DrawCall& d : pt::DrawCalls()) {
            if (d.kind != pt::DrawCall::IMAGE) continue;
            auto it = names.find(d.image);
            ASSERT_NE(it, names.end()) << "a frame draw of a picture outside the tile tables";
            plat::PixmapPtr p = Pixels(it->second);
            ASSERT_TRUE(p);
            ++drawn;
            const int ox = static_cast<int>(std::lround(d.x - d.handleX)), oy = static_cast<int>(std::lround(d.y - d.handleY));
            for (int y = 0; y < p->height; ++y)
                for (int x = 0; x < p->width; ++x) {
                    const int sx = ox + x, sy = oy + y;
                    if (sx < 0 || sy < 0 || sx >= W || sy >= H) continue;
                    const double a = At(p, x, y).a;
                    double& o = over[static_cast<size_t>(sy * W + sx)];
                    o = o + a * (1 - o);
                    double& s = single[static_cast<size_t>(sy * W + sx)];
                    s = std::max(s, a);
                }
        }
        ASSERT_EQ(drawn, static_cast<int>(b.frameElements.size()));
        double sum = 0, worst = 0;
        int onBoard = 0, solidFrame = 0;
        for (int sy = b.originY; sy < b.originY + kBoardCells * cell; ++sy)
            for (int sx = b.originX; sx < b.originX + kBoardCells * cell; ++sx) {
                const int cx = (sx - b.originX) / cell, cy = (sy - b.originY) / cell;
                const size_t i = static_cast<size_t>(sy * W + sx);
                if (b.shapeLayer[cx][cy] == 0) {
                    if (single[i] > 0.98) ++solidFrame;
                    continue;
                }
                if (over[i] <= 0) continue;
                ++onBoard;
                sum += over[i];
                worst = std::max(worst, single[i]);
            }
        // The margins do reach over the board (or this measures nothing)...
        ASSERT_GT(onBoard, 0);
        // ...but only as a soft shadow.
        EXPECT_LE(worst, 0.45) << "a tile covers an edge rune";
        EXPECT_LE(sum / onBoard, 0.2) << "the frame darkens the edge cells too much";
        // And the frame itself is there: most of every frame cell is solid.
        EXPECT_GE(solidFrame, static_cast<int>(b.frameElements.size()) * cell * cell / 2);
    }
}

}  // namespace
