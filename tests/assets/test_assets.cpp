// The application folder the build makes: every picture and font the game
// loads, opened through the platform's own loaders with the game's flags and
// cells; the bitmap-font sheets cut by the game's rule; and a builder that
// gives the same bytes on every run.
//
// Index: inventory · pictures · alpha, masks and layouts · fonts · bitmap
//        sheets · builder
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"

namespace fs = std::filesystem;
using namespace plat;

namespace {

// ---- inventory --------------------------------------------------------------------
// One row per picture the game opens. w/h 0: the game sets no size (only
// "loads" is checked). cells > 0: loaded with LoadAnimImage(cellW, cellH).
// alpha: 1 must keep its own alpha channel (PNG), 0 must have none (JPEG),
// -1 either.
struct Pic {
    std::string path;
    int flags;
    int w, h;
    int alpha = 1;
    int cellW = 0, cellH = 0, cells = 0;
};

constexpr int kAny = 0;

std::string Num(const char* fmt, int n) {
    char b[96];
    std::snprintf(b, sizeof b, fmt, n);
    return b;
}

std::vector<Pic> Inventory() {
    std::vector<Pic> v;
    auto png = [&](const std::string& p, int flags, int w = kAny, int h = kAny) { v.push_back({p, flags, w, h, 1}); };
    auto jpg = [&](const std::string& p, int flags, int w = kAny, int h = kAny) { v.push_back({p, flags, w, h, 0}); };
    auto sheet = [&](const std::string& p, int cw, int ch, int n) { v.push_back({p, -1, kAny, kAny, 1, cw, ch, n}); };
    auto strip = [&](const std::string& p) { v.push_back({p, -1, kAny, kAny, 1, -2, 0, 2}); };

    // Core, sparks, shared registry.
    png("gfx/gui/kursor.png", -1);
    png("gfx/gwiazdki/gradball.png", 6);
    for (int k = 1; k <= 3; ++k) png(Num("gfx/gwiazdki/%d.png", k), 6);
    png("gfx/gui/scroll_01.png", -1);
    png("gfx/gui/scroll_02.png", -1);
    png("gfx/gui/scroll_03.png", -1);
    png("gfx/gui/lina.png", -1);
    png("gfx/fonts/alfabet-maly.png", -1);
    png("gfx/fonts/small-letters3.png", -1);
    // Board.
    for (int n = 1; n <= 9; ++n) jpg(Num("gfx/bg/deski/deska-%d.jpg", n), -1);
    png("gfx/runy/ghost.png", -1, 32, 32);
    png("gfx/runy-40x40/ghost.png", -1, 40, 40);
    png("gfx/gwiazdki/stone.png", -1);
    for (int set = 0; set < 2; ++set) {
        std::string dir = set ? "gfx/ramka-40x40/" : "gfx/ramka/";
        int cell = set ? 40 : 32, t = set ? 52 : 46, corner = set ? 46 : 39;
        for (const char* n : {"1a", "1b", "2a", "2b", "3a", "3b", "3c"}) {
            int len = (n[0] - '0') * cell;
            png(dir + n + ".png", 7, t, len);
            png(dir + n + "-p.png", 7, len, t);
        }
        for (const char* suffix : {"", "_v2", "_v3"})
            for (const char* c : {"lg", "rg", "ld", "rd"}) png(dir + "1b-" + c + suffix + ".png", 7, corner, corner);
    }
    // Level: tally, side panel, digits, captions, spheres, timer, bosses.
    for (const char* side : {"left", "right"}) {
        const int ws[3] = {256, 128, 16};
        for (int k = 1; k <= 3; ++k) {
            jpg(std::string("gfx/gui/doors-") + side + Num("-%d.jpg", k), 0, ws[k - 1], 512);
            jpg(std::string("gfx/gui/doors-") + side + Num("2-%d.jpg", k), 0, ws[k - 1], 88);
        }
    }
    for (const char* p : {"gfx/gui/LC.png", "gfx/gui/Dorsime01.png", "gfx/gui/poswiata.png", "gfx/gui/punkty.png",
                          "gfx/gui/decha.png", "gfx/fonts/match.png", "gfx/fonts/points.png",
                          "gfx/fonts/newhiscore.png", "gfx/ring/kulki.png", "gfx/gwiazdki/volum04.png",
                          "gfx/gwiazdki/volum05.png", "gfx/timer/timer.png"})
        png(p, -1);
    png("gfx/gui/menuS1.png", -1, 63, 21);
    png("gfx/gui/menuS2.png", -1, 63, 21);
    sheet("gfx/fonts/cyfry1.png", 16, 24, 10);
    sheet("gfx/fonts/level.png", 16, 21, 10);
    sheet("gfx/fonts/cyfry2.png", 32, 32, 10);
    sheet("gfx/fonts/CYFRY2.png", 32, 32, 10);
    sheet("gfx/fonts/combo.png", 256, 42, 3);
    png("gfx/ring/k-black.png", -1, 62, 62);
    for (int n = 1; n <= 15; ++n) {
        png(Num("gfx/ring/k-%02d.png", n), -1, 62, 62);
        png(Num("gfx/ring/s-%02d.png", n), -1, 32, 32);
    }
    for (int n = 1; n <= 30; ++n) png(Num("gfx/timer/frame%d.png", n), -1, 76, 66);
    png("gfx/boss/cien_bossm.png", -1, 64, 64);
    png("gfx/boss/cien_boss.png", -1, 80, 80);
    png("gfx/boss/sadza32.png", -1, 32, 32);
    png("gfx/boss/sadza40.png", -1, 40, 40);
    for (int i = 0; i < 16; ++i) {
        png(Num("gfx/boss/boss-efm%04d.png", i), -1, 64, 64);
        png(Num("gfx/boss/boss-ef%04d.png", i), -1, 80, 80);
    }
    // Spells.
    for (const char* m : {"mag_01", "mag_02", "mag_03", "mag_04", "mag_05", "mag_06"})
        png(std::string("gfx/bonusy/") + m + ".png", 3);
    for (const char* s : {"holyfire", "vanish", "bomb", "drain", "heal", "teleport"})
        png(std::string("gfx/fonts/spell-") + s + ".png", 3);
    png("gfx/bonusy/posw2a.png", -1, 50, 50);
    png("gfx/bonusy/posw2b.png", -1, 50, 50);
    png("gfx/bonusy/posw2a-duza.png", -1, 68, 68);
    png("gfx/bonusy/posw2b-duza.png", -1, 68, 68);
    // Popups and profiles.
    strip("gfx/info/ok.png");
    for (const char* p : {"gfx/gui/lose3.png", "gfx/gui/lose3_03.png", "gfx/gui/lose3_05.png",
                          "gfx/gui/no-more-movies.png", "gfx/gui/time_out.png", "gfx/gui/profile-ok.png",
                          "gfx/gui/profile-cancel.png", "gfx/gui/profile-new.png", "gfx/gui/profile-rename.png",
                          "gfx/gui/profile-delete.png"})
        png(p, -1);
    // Title, hiscores, loading, options, gallery.
    png("gfx/gui/pod-selector.jp2", -1);
    jpg("gfx/title/velmora-title.jpg", 0, 800, 600);
    jpg("gfx/title/hiscores.jpg", 0, 800, 600);
    jpg("gfx/title/credits.jpg", 0, 800, 600);
    png("gfx/fonts/download4.png", -1);
    for (const char* n : {"lg", "pg", "ld", "pd", "gora", "dol", "lewo", "prawo", "srodek"})
        png(std::string("gfx\\ramka\\dialog-") + n + ".png", -1);
    jpg("gfx/title/velmora-bg.jpg", 0, 800, 600);
    for (const char* p : {"gfx/title/Tolvenk.png", "gfx/title/loading.png", "gfx/title/load1.png",
                          "gfx/title/load2.png", "gfx/gui/pod-menu.jp2", "gfx/gui/podswietlacz2.png",
                          "gfx/gui/plus.png", "gfx/gui/minus.png", "gfx/gui/suwak.png", "gfx/gui/ptaszek.png",
                          "gfx/gui/ptaszek-brak.png", "gfx/gui/profile-change.png", "gfx/gui/ptaszek_01.png",
                          "gfx/gui/galeria_05.png", "gfx/gui/galeria_03.png", "gfx/fonts/game-paused.png",
                          "gfx/fonts/menu-are-you-sure.png", "gfx/fonts/galeria_11.png"})
        png(p, -1);
    png("gfx/gui/hello-plama2.png", 2, 256, 128);
    for (const char* c : {"playQ_07", "menu-exit", "menu-resume", "menu-new-game", "menu-main", "menu-options",
                          "menu-quit-game", "menu-restart", "menu-yes", "menu-no", "menu-gallery",
                          "menu-options-big", "menu-resume-small", "menu-back2game", "menu-music-vol",
                          "menu-sound-vol", "menu-fullscreen", "menu-easy", "menu-normal", "menu-hard", "playQ_03",
                          "menu-timeattack", "menu-endless", "menu-hiscores", "menu-credits", "menu-quest-lvl",
                          "menu-timed-lvl", "menu-endless-lvl", "help", "menu-play", "menu-back"})
        png(std::string("gfx/fonts/") + c + ".png", -1);
    png("gfx/title/galeria.jp2", -1, 800, 600);
    strip("gfx/fonts/galeria_03.png");
    strip("gfx/fonts/galeria_05.png");
    strip("gfx/fonts/galeria_07.png");
    // Map.
    jpg("gfx/mapa/mapa.jpg", -1, 800, 600);
    for (const char* p : {"level", "of", "k1b", "k1", "k2b", "k2", "k3b", "k3", "k2c", "k3c", "k1c"})
        png(std::string("gfx/mapa/") + p + ".png", -1);
    png("gfx/fonts/menu_mapa.png", -1);
    png("gfx/fonts/play_mapa.png", -1);
    // Puzzle.
    jpg("gfx/puzzle/game-puzle.jpg", 0, 800, 600);
    png("gfx/puzzle/b-menu.png", -1);
    png("gfx/puzzle/b-hint.png", -1);
    png("gfx/puzzle/ramka3.png", -1);
    png("gfx/puzzle/ramka-puzle.png", -1, 128, 128);
    for (const char* c : {"lg", "pg", "ld", "pd"}) png(std::string("gfx/puzzle/cienie_") + c + ".png", -1, 7, 7);
    png("gfx/puzzle/cienie_l.png", -1, 7, 82);
    png("gfx/puzzle/cienie_p.png", -1, 7, 82);
    png("gfx/puzzle/cienie_g.png", -1, 82, 7);
    png("gfx/puzzle/cienie_d.png", -1, 82, 7);
    png("gfx/gui/stage3.png", -1, 366, 146);
    v.push_back({"gfx/slides/1-2a.jpg", -1, 670, 494, -1});
    // Ring game.
    jpg("gfx/ring-game/game-ring3.jpg", 0, 800, 600);
    png("gfx/ring-game/ring0000.png", 0);
    for (const char* p : {"wahadlo-c", "papirus1", "switelko"}) png(std::string("gfx/ring-game/") + p + ".png", -1);
    sheet("gfx/ring-game/runy-papier.png", 32, 64, 20);
    sheet("gfx/ring-game/runy-kula.png", 64, 64, 20);
    png("gfx/ring-game/bar.png", -1);
    for (const char* spell : {"holyfire", "vanish", "bomb", "drain", "heal", "teleport"})
        for (int f = 0; f <= 4; ++f) png(std::string("gfx/ring-game/award-") + spell + Num("_%04d.png", f), -1);
    // Story and tutorial.
    png("gfx/story/top.png", 0);
    png("gfx/story/bottom.jp2", 0, 800, 219);
    png("gfx/story/skip-g.png", -1);
    png("gfx/story/next-g.png", -1);
    jpg("gfx/gui/tutorial.jpg", 0, 800, 600);
    jpg("gfx/gui/tutorial2boss.jpg", 0, 800, 600);
    for (const char* p : {"tut-play2", "tutorial_mouse", "tutorial_keyb", "tutorial_mouse_1", "tut-play"})
        png(std::string("gfx/gui/") + p + ".png", -1);
    png("gfx/boss/b-04.png", -1, 80, 80);

    // Pictures our data files name (rune catalogue, bosses, backgrounds,
    // story pages, popups, map stages, start-up picture).
    for (const char* dir : {"gfx/runy/", "gfx/runy-40x40/"}) {
        int s = std::string(dir) == "gfx/runy/" ? 32 : 40;
        for (int c = 1; c <= 15; ++c) {
            png(dir + Num("rune-%02d.png", c), 6, s, s);
            png(dir + Num("stone-%02d.png", c), 6, s, s);
        }
        png(std::string(dir) + "rock.png", 6, s, s);
    }
    for (int b = 1; b <= 6; ++b) {
        png(Num("gfx/boss/b-%02d.png", b), -1, 80, 80);
        png(Num("gfx/boss/bm-%02d.png", b), -1, 64, 64);
    }
    for (int n = 1; n <= 16; ++n) jpg(Num("gfx/slides/slide-%02d.jpg", n), -1, 800, 600);
    for (int n = 1; n <= 50; ++n) jpg(Num("gfx/story/pic-%02d.jpg", n), 0, 800, kAny);
    for (int n = 1; n <= 13; ++n) png(Num("gfx/mapa/stage-%02d.png", n), -1);
    for (const char* p : {"panel", "panel-wide", "panel-small", "panel-tall", "panel-short", "icon-rune-01-02-03",
                          "icon-stone-02", "icon-sphere-01", "icon-timer", "icon-combo-01-02", "icon-ring",
                          "icon-puzzle", "icon-boss-01-02", "icon-boss-05-06-03"})
        png(std::string("gfx/info/") + p + ".png", -1);
    for (int b = 1; b <= 6; ++b) png(Num("gfx/info/icon-boss-%02d.png", b), -1, 64, 64);
    jpg("gfx/title/portal-1.jpg", -1, 800, 600);
    return v;
}

std::string GameDir() { return QUILL_GAME_DIR; }

class GameFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        plat::testing::Reset();
        fs::current_path(GameDir());
    }
    static PixmapPtr Pix(const std::string& path) { return LoadPixmap(path); }
};

// ---- pictures ----------------------------------------------------------------------
TEST_F(GameFolder, EveryPictureLoadsWithItsFlagsSizeAndCells) {
    std::vector<Pic> inv = Inventory();
    ASSERT_GT(inv.size(), 400u);
    for (const Pic& p : inv) {
        SCOPED_TRACE(p.path);
        PixmapPtr px = Pix(p.path);
        ASSERT_TRUE(px) << "missing or unreadable";
        if (p.alpha == 1) {
            EXPECT_TRUE(FormatHasAlpha(PixmapFormat(px))) << "must keep its own alpha";
        } else if (p.alpha == 0) {
            EXPECT_FALSE(FormatHasAlpha(PixmapFormat(px))) << "a JPEG has no alpha";
        }
        if (p.cells > 0) {
            int cw = p.cellW == -2 ? PixmapWidth(px) / 2 : p.cellW;
            int ch = p.cellW == -2 ? PixmapHeight(px) : p.cellH;
            if (p.cellW == -2) {
                EXPECT_EQ(PixmapWidth(px) % 2, 0) << "a two-frame strip needs an even width";
            }
            ImagePtr img = LoadAnimImage(p.path, cw, ch, 0, p.cells, p.flags);
            ASSERT_TRUE(img) << "short of cells";
            EXPECT_EQ(ImageFrames(img), p.cells);
            EXPECT_EQ(ImageWidth(img), cw);
            EXPECT_EQ(ImageHeight(img), ch);
            continue;
        }
        ImagePtr img = LoadImage(p.path, p.flags);
        ASSERT_TRUE(img);
        if (p.w) {
            EXPECT_EQ(ImageWidth(img), p.w);
        }
        if (p.h) {
            EXPECT_EQ(ImageHeight(img), p.h);
        }
    }
}

// Pictures whose sizes the layout derives from drawing positions: a range.
TEST_F(GameFolder, DerivedSizesFitTheirPlaces) {
    struct Range {
        const char* path;
        int minW, maxW, minH, maxH;
    };
    const Range kRanges[] = {
        {"gfx/gui/scroll_02.png", 320, 360, 310, 400}, {"gfx/gui/scroll_01.png", 330, 360, 60, 120},
        {"gfx/gui/lina.png", 4, 12, 41, 80},           {"gfx/gui/pod-selector.png", 500, 520, 330, 400},
        {"gfx/gui/pod-menu.png", 330, 350, 340, 360},  {"gfx/gui/lose3_03.png", 164, 164, 40, 50},
        {"gfx/gui/lose3_05.png", 164, 164, 40, 50},    {"gfx/gui/suwak.png", 1, 13, 1, 40},
        {"gfx/ring-game/bar.png", 1, 1, 6, 20},        {"gfx/mapa/level.png", 1, 200, 1, 28},
        {"gfx/mapa/of.png", 1, 200, 1, 28},            {"gfx/fonts/menu_mapa.png", 1, 200, 1, 34},
        {"gfx/fonts/play_mapa.png", 1, 200, 1, 34},    {"gfx/fonts/galeria_07.png", 1, 400, 1, 29},
        {"gfx/story/skip-g.png", 60, 66, 18, 22},      {"gfx/story/next-g.png", 56, 60, 18, 22},
        {"gfx/puzzle/b-menu.png", 70, 76, 18, 22},     {"gfx/puzzle/b-hint.png", 110, 116, 18, 22},
        {"gfx/gui/tut-play2.png", 63, 66, 22, 26},     {"gfx/gui/tut-play.png", 63, 66, 22, 26},
        {"gfx/timer/timer.png", 100, 120, 90, 110},    {"gfx/ring/kulki.png", 180, 195, 175, 190},
        {"gfx/gui/punkty.png", 116, 150, 70, 100},     {"gfx/title/Tolvenk.png", 340, 370, 90, 130},
        {"gfx/gui/Dorsime01.png", 100, 360, 100, 462},
    };
    for (const Range& r : kRanges) {
        SCOPED_TRACE(r.path);
        PixmapPtr p = Pix(r.path);
        ASSERT_TRUE(p);
        EXPECT_GE(PixmapWidth(p), r.minW);
        EXPECT_LE(PixmapWidth(p), r.maxW);
        EXPECT_GE(PixmapHeight(p), r.minH);
        EXPECT_LE(PixmapHeight(p), r.maxH);
    }
    // Caption bank: buttons in rows 30 px apart.
    for (const Pic& p : Inventory())
        if (p.path.rfind("gfx/fonts/menu-", 0) == 0 || p.path.rfind("gfx/fonts/playQ", 0) == 0 ||
            p.path == "gfx/fonts/help.png") {
            PixmapPtr px = Pix(p.path);
            ASSERT_TRUE(px) << p.path;
            if (p.path != "gfx/fonts/menu-are-you-sure.png") {
                EXPECT_LE(PixmapHeight(px), 26) << p.path;
                EXPECT_LE(PixmapWidth(px), 300) << p.path;
            }
        }
    // The deska textures are cut from their top-left 480x480.
    for (int n = 1; n <= 9; ++n) {
        PixmapPtr p = Pix(Num("gfx/bg/deski/deska-%d.jpg", n));
        ASSERT_TRUE(p);
        EXPECT_GE(PixmapWidth(p), 480);
        EXPECT_GE(PixmapHeight(p), 480);
    }
}

// ---- alpha, masks and layouts -----------------------------------------------------------
TEST_F(GameFolder, MaskedPicturesHoldNoExactMagenta) {
    // Loaded with the mask on and without alpha: any exact 255,0,255 would become a hole.
    std::vector<std::string> masked = {"gfx/mapa/mapa.jpg", "gfx/slides/1-2a.jpg", "gfx/title/portal-1.jpg"};
    for (int n = 1; n <= 9; ++n) masked.push_back(Num("gfx/bg/deski/deska-%d.jpg", n));
    for (int n = 1; n <= 16; ++n) masked.push_back(Num("gfx/slides/slide-%02d.jpg", n));
    for (const std::string& path : masked) {
        PixmapPtr p = Pix(path);
        ASSERT_TRUE(p) << path;
        int holes = 0;
        for (int y = 0; y < PixmapHeight(p); ++y)
            for (int x = 0; x < PixmapWidth(p); ++x) holes += (ReadPixel(p, x, y) & 0xFFFFFF) == 0xFF00FF;
        EXPECT_EQ(holes, 0) << path;
    }
}

TEST_F(GameFolder, WindowsAndHotSpotsAreWhereTheGameDrawsThroughThem) {
    auto alphaAt = [](const PixmapPtr& p, int x, int y) { return ReadPixel(p, x, y) >> 24; };
    // Gallery frame: clear in (120,80)-(680,500), solid around it.
    PixmapPtr g = Pix("gfx/title/galeria.png");
    ASSERT_TRUE(g);
    for (int y = 80; y < 500; y += 7)
        for (int x = 120; x < 680; x += 7) ASSERT_EQ(alphaAt(g, x, y), 0u) << x << "," << y;
    EXPECT_EQ(alphaAt(g, 5, 5), 255u);
    EXPECT_EQ(alphaAt(g, 795, 595), 255u);
    // Story frame: the page picture shows through the middle.
    PixmapPtr top = Pix("gfx/story/top.png");
    ASSERT_TRUE(top);
    EXPECT_EQ(PixmapWidth(top), 800);
    EXPECT_EQ(alphaAt(top, 400, 200), 0u);
    EXPECT_EQ(alphaAt(top, 400, 3), 255u);
    // Cursor: the tip is the hot spot (14,6); nothing above or left of it
    // but the edge of its soft shadow.
    PixmapPtr cur = Pix("gfx/gui/kursor.png");
    ASSERT_TRUE(cur);
    EXPECT_GT(alphaAt(cur, 14, 6), 60u);
    for (int y = 0; y < PixmapHeight(cur); ++y)
        for (int x = 0; x < PixmapWidth(cur); ++x)
            if (y < 5 || x < 11) {
                EXPECT_EQ(alphaAt(cur, x, y), 0u) << x << "," << y;
            }
    // Gallery window reached through the .jp2 name too.
    EXPECT_TRUE(LoadImage("gfx/title/galeria.jp2", -1));
}

TEST_F(GameFolder, DigitInkFitsTheFixedAdvances) {
    struct Strip {
        const char* path;
        int cellW;
        std::array<int, 10> advance;
    };
    const Strip kStrips[] = {
        {"gfx/fonts/cyfry1.png", 16, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12}},
        {"gfx/fonts/level.png", 16, {12, 7, 12, 12, 12, 12, 12, 12, 12, 12}},
        {"gfx/fonts/CYFRY2.png", 32, {22, 10, 19, 19, 19, 19, 18, 16, 19, 19}},
    };
    for (const Strip& s : kStrips) {
        PixmapPtr p = Pix(s.path);
        ASSERT_TRUE(p) << s.path;
        for (int d = 0; d < 10; ++d) {
            int right = -1;
            for (int x = 0; x < s.cellW; ++x)
                for (int y = 0; y < PixmapHeight(p); ++y)
                    if ((ReadPixel(p, d * s.cellW + x, y) >> 24) > 24) right = std::max(right, x);
            EXPECT_GE(right, 0) << s.path << " digit " << d << " has no ink";
            EXPECT_LT(right, s.advance[d]) << s.path << " digit " << d;
        }
    }
    // The two case-clashing names are one file on some disks: identical bytes.
    std::ifstream a(GameDir() + "/gfx/fonts/cyfry2.png", std::ios::binary), b(GameDir() + "/gfx/fonts/CYFRY2.png",
                                                                               std::ios::binary);
    std::string da((std::istreambuf_iterator<char>(a)), {}), db((std::istreambuf_iterator<char>(b)), {});
    EXPECT_FALSE(da.empty());
    EXPECT_EQ(da, db);
}

// ---- fonts ---------------------------------------------------------------------------------
TEST_F(GameFolder, TrueTypeFontsOpenAtTheirSizesWithLatin1) {
    struct Use {
        const char* path;
        std::vector<int> sizes;
    };
    const Use kFonts[] = {{"gfx/fonts/OldLondon.ttf", {28, 40, 24, 22, 16}},
                          {"gfx/fonts/Lombardic.ttf", {16, 22}},
                          {"gfx/fonts/QueenEmpress.ttf", {16}},
                          {"gfx/gui/comic.ttf", {16}}};
    for (const Use& u : kFonts)
        for (int size : u.sizes) {
            SCOPED_TRACE(std::string(u.path) + " @" + std::to_string(size));
            FontPtr f = LoadImageFont(u.path, size, SMOOTHFONT);
            ASSERT_TRUE(f);
            SetImageFont(f);
            EXPECT_GE(TextHeight(), size * 3 / 4);
            // Running text: every printable ASCII character and the Latin-1 letters draw.
            for (int c = 33; c <= 126; ++c) EXPECT_GT(TextWidth(std::string(1, char(c))), 0) << "char " << c;
            for (int c : {0xC0, 0xC9, 0xD6, 0xDF, 0xE0, 0xE9, 0xF1, 0xF6, 0xFC})
                EXPECT_GT(TextWidth(std::string(1, char(c))), 0) << "char " << c;
            SetImageFont(nullptr);
        }
}

// ---- bitmap sheets ---------------------------------------------------------------------------
// The game's cut, written from its rule: bands of trunc(lineHeight) rows;
// a glyph is a maximal run of columns with a pixel of alpha > 0 in the band;
// the previous-column state carries over between bands.
struct Glyph {
    int band, x, width;
};
std::vector<Glyph> Cut(const PixmapPtr& p, float lineHeight) {
    std::vector<Glyph> out;
    bool prev = false;
    int start = 0;
    int bands = static_cast<int>(PixmapHeight(p) / lineHeight - 1.0f);
    for (int j = 0; j <= bands; ++j)
        for (int k = 0; k < PixmapWidth(p); ++k) {
            int count = 0;
            for (int r = 0; r <= static_cast<int>(lineHeight - 1.0f); ++r)
                count += (ReadPixel(p, k, static_cast<int>(r + j * lineHeight)) >> 24) > 0;
            bool inked = count != 0;
            if (inked && !prev) start = k;
            if (!inked && prev) out.push_back({j, start, k - start});
            prev = inked;
        }
    return out;
}

TEST_F(GameFolder, BitmapSheetsCutIntoOneGlyphPerCharacter) {
    struct Sheet {
        const char* path;
        std::string chars;
        float line;
        int cut;
    };
    const Sheet kSheets[] = {
        {"gfx/fonts/alfabet-maly.png", "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30, 0},
        {"gfx/fonts/small-letters3.png", "abcdefghijklmnopqrstuvwxyz0123456789", 32, 3},
    };
    for (const Sheet& s : kSheets) {
        SCOPED_TRACE(s.path);
        PixmapPtr p = Pix(s.path);
        ASSERT_TRUE(p);
        ASSERT_TRUE(FormatHasAlpha(PixmapFormat(p)));
        EXPECT_EQ(PixmapHeight(p) % static_cast<int>(s.line), 0) << "whole bands only";
        std::vector<Glyph> g = Cut(p, s.line);
        ASSERT_EQ(g.size(), s.chars.size());
        for (size_t i = 0; i < g.size(); ++i) {
            EXPECT_GT(g[i].width - s.cut, 0) << "'" << s.chars[i] << "' needs a positive advance";
            // Each glyph shows visible ink, not just the invisible spacing pixels.
            int strong = 0;
            for (int x = g[i].x; x < g[i].x + g[i].width; ++x)
                for (int y = 0; y < static_cast<int>(s.line); ++y)
                    strong += (ReadPixel(p, x, g[i].band * static_cast<int>(s.line) + y) >> 24) > 128;
            EXPECT_GT(strong, 3) << "'" << s.chars[i] << "'";
        }
        for (int y = 0; y < PixmapHeight(p); ++y)
            EXPECT_EQ(ReadPixel(p, PixmapWidth(p) - 1, y) >> 24, 0u) << "the last column stays clear";
    }
}

// ---- builder ---------------------------------------------------------------------------------
std::map<std::string, std::string> ReadTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        std::string rel = fs::relative(e.path(), root).string();
        if (rel.rfind(".assetbuild", 0) == 0) continue;
        std::ifstream f(e.path(), std::ios::binary);
        files[rel] = std::string((std::istreambuf_iterator<char>(f)), {});
    }
    return files;
}

int RunBuilder(const fs::path& out, const std::string& extra, std::string* output = nullptr) {
    fs::path log = out.string() + ".log";
    std::string cmd = std::string("\"") + QUILL_ASSETBUILD + "\" --out \"" + out.string() + "\" " + extra + " > \"" +
                      log.string() + "\" 2>&1";
    int rc = std::system(cmd.c_str());
    if (output) {
        std::ifstream f(log);
        *output = std::string((std::istreambuf_iterator<char>(f)), {});
    }
    return rc;
}

class Builder : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("quill-assets-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

// The build's own run made the application folder; a second run, with a
// different number of workers, must give the same bytes for every file.
TEST_F(Builder, ASecondRunGivesTheSameBytesAsTheBuild) {
    ASSERT_EQ(RunBuilder(root / "a", "--jobs 2"), 0);
    auto a = ReadTree(root / "a");
    ASSERT_GT(a.size(), 400u);
    for (const auto& [path, bytes] : a) {
        std::ifstream f(fs::path(GameDir()) / path, std::ios::binary);
        ASSERT_TRUE(f) << path << " is missing from the build's folder";
        std::string g((std::istreambuf_iterator<char>(f)), {});
        EXPECT_TRUE(g == bytes) << path << " differs between runs";
    }
}

TEST_F(Builder, RemakesOnlyWhatIsMissingOrChanged) {
    fs::path out = root / "c";
    ASSERT_EQ(RunBuilder(out, "--only gfx/gui/"), 0);
    std::string log;
    ASSERT_EQ(RunBuilder(out, "--only gfx/gui/", &log), 0);
    EXPECT_EQ(log.find("made"), std::string::npos) << "nothing to do the second time: " << log;
    auto before = fs::last_write_time(out / "gfx/gui/lina.png");
    fs::remove(out / "gfx/gui/kursor.png");
    ASSERT_EQ(RunBuilder(out, "--only gfx/gui/", &log), 0);
    EXPECT_NE(log.find("made 1 of"), std::string::npos) << log;
    EXPECT_TRUE(fs::exists(out / "gfx/gui/kursor.png"));
    EXPECT_EQ(fs::last_write_time(out / "gfx/gui/lina.png"), before);
    // A manifest entry that no longer matches its recipe remakes that output.
    {
        std::ifstream in(out / ".assetbuild-manifest");
        std::stringstream all;
        all << in.rdbuf();
        std::string text = all.str();
        size_t at = text.find(" gfx/gui/lina.png");
        ASSERT_NE(at, std::string::npos);
        text[at - 1] = text[at - 1] == '0' ? '1' : '0';
        std::ofstream o(out / ".assetbuild-manifest", std::ios::trunc);
        o << text;
    }
    ASSERT_EQ(RunBuilder(out, "--only gfx/gui/", &log), 0);
    EXPECT_NE(log.find("made 1 of"), std::string::npos) << log;
}

}  // namespace
