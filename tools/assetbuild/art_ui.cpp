// Interface art: cursor, sparks, scrolls, ropes, side panel, captions and
// lettering, buttons and strips, popups, menus, map markers, the puzzle's
// trims, story and tutorial buttons.
//
// Index: helpers · core and sparks · scrolls and side panel · lettering ·
//        buttons · menus and options · popups · map · puzzle · story and
//        tutorial
#include <cmath>
#include <cstdio>

#include "artkit.h"
#include "builder.h"

namespace qab {
namespace {

// A rounded tick through three points, with a soft glow behind it.
void TickMark(Canvas& c, double x0, double y0, double x1, double y1, double x2, double y2, RGB stroke, RGB glow,
              double glowAlpha) {
    cairo_move_to(c.cr, x0, y0);
    cairo_line_to(c.cr, x1, y1);
    cairo_line_to(c.cr, x2, y2);
    cairo_set_line_width(c.cr, 3.5);
    cairo_set_line_cap(c.cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(c.cr, CAIRO_LINE_JOIN_ROUND);
    SetColor(c.cr, stroke);
    cairo_stroke(c.cr);
    c.Glow(2, glow, glowAlpha);
}

// ---- helpers -----------------------------------------------------------------------------
// A lettering picture no taller than maxH (shrunk to fit), with its margins.
Canvas Lettering(const std::string& text, FontId f, double px, CaptionStyle style, int maxH, int maxW = 10000) {
    for (int i = 0; i < 12; ++i) {
        Canvas c = CaptionPicture(f, px, text, style, 6, 3);
        if (c.h <= maxH && c.w <= maxW) return c;
        px *= std::min(0.97, std::min(double(maxH) / c.h, double(maxW) / c.w));
    }
    return CaptionPicture(f, px, text, style, 6, 3);
}

void Cap(std::vector<Recipe>& out, const std::string& path, const std::string& text, FontId f, double px,
         CaptionStyle style, int maxH, int maxW = 10000) {
    out.push_back(Picture(path, [=](Context& ctx) { ctx.Png(Lettering(text, f, px, style, maxH, maxW), path); }));
}

// A two-frame strip: frame 0 normal, frame 1 under the pointer.
void PlaqueStrip(std::vector<Recipe>& out, const std::string& path, int frameW, int h, const std::string& text,
                 FontId f, double px) {
    out.push_back(Picture(path, [=](Context& ctx) {
        Canvas c(frameW * 2, h);
        Plaque(c, 1, 1, frameW - 2, h - 2, text, f, px, false, ctx.seed);
        Plaque(c, frameW + 1, 1, frameW - 2, h - 2, text, f, px, true, ctx.seed);
        ctx.Png(c, path);
    }));
}

// The lettering's middle sits on row cy (the strip's middle when negative);
// the hover glow keeps to a 28-px band around it.
void LetterStrip(std::vector<Recipe>& out, const std::string& path, int frameW, int h, const std::string& text,
                 FontId f, double px, double cy = -1) {
    out.push_back(Picture(path, [=](Context& ctx) {
        Canvas c(frameW * 2, h);
        const double mid = cy < 0 ? h / 2.0 : cy;
        const double glowH = std::min(28.0, double(h));
        FitCaption(c, f, px, frameW / 2.0, mid, frameW - 8, text, CS_GOLD);
        OvalGlow(c.cr, frameW * 1.5, mid, frameW * 0.5, glowH / frameW, Hex(0xffd070), 0.45);
        FitCaption(c, f, px, frameW * 1.5, mid, frameW - 8, text, CS_GOLD_LIT);
        ctx.Png(c, path);
    }));
}

void PlaqueButton(std::vector<Recipe>& out, const std::string& path, int w, int h, const std::string& text, FontId f,
                  double px, bool lit) {
    out.push_back(Picture(path, [=](Context& ctx) {
        Canvas c(w, h);
        Plaque(c, 1, 1, w - 2, h - 2, text, f, px, lit, ctx.seed);
        ctx.Png(c, path);
    }));
}

// A caption in a fixed box (buttons whose size the layout fixes).
void BoxCaption(std::vector<Recipe>& out, const std::string& path, int w, int h, const std::string& text, FontId f,
                double px, CaptionStyle style, bool glow) {
    out.push_back(Picture(path, [=](Context& ctx) {
        Canvas c(w, h);
        if (glow) {
            OvalGlow(c.cr, w / 2.0, h / 2.0, w * 0.5, double(h) / w, Hex(0xffd070), 0.5);
        }
        FitCaption(c, f, px, w / 2.0, h / 2.0, w - 6, text, style);
        ctx.Png(c, path);
    }));
}

// ---- core and sparks -------------------------------------------------------------------------
void Core(std::vector<Recipe>& out) {
    // The pointer's tip sits exactly on the hot spot (14, 6).
    out.push_back(Picture("gfx/gui/kursor.png", [](Context& ctx) {
        Canvas c(32, 32);
        cairo_t* cr = c.cr;
        // Dark outline shape first, its tip exactly on the hot spot; the white
        // arrow inside it (a stroke would push the tip past the hot spot).
        auto poly = [&](const double (*pts)[2], int n) {
            cairo_new_path(cr);
            for (int i = 0; i < n; ++i) cairo_line_to(cr, pts[i][0], pts[i][1]);
            cairo_close_path(cr);
        };
        const double outer[7][2] = {{14, 6}, {14, 25.5}, {18.4, 21.2}, {21.8, 28.6}, {25.6, 26.8},
                                    {22.3, 19.7}, {28.4, 19.4}};
        const double inner[7][2] = {{15.2, 8.9}, {15.2, 22.6}, {18.9, 18.9}, {22.4, 26.6}, {24, 25.9},
                                    {20.4, 18.5}, {25.4, 18.3}};
        // Half a pixel up-left, so pixel (14,6) is the first well-covered one.
        cairo_translate(cr, -0.5, -0.5);
        poly(outer, 7);
        SetColor(cr, Hex(0x1a1030));
        cairo_fill(cr);
        poly(inner, 7);
        cairo_pattern_t* g = cairo_pattern_create_linear(14, 6, 24, 28);
        AddStop(g, 0, Hex(0xffffff));
        AddStop(g, 1, Hex(0xdcd4f0));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_move_to(cr, 16, 11.5);
        cairo_line_to(cr, 16, 19.5);
        cairo_set_line_width(cr, 1);
        SetColor(cr, pal::gold, 0.8);
        cairo_stroke(cr);
        c.Shadow(1.5, 2, 1.5, {0, 0, 0}, 0.5);
        ctx.Png(c, "gfx/gui/kursor.png");
    }));
    out.push_back(Picture("gfx/gwiazdki/gradball.png", [](Context& ctx) {
        Canvas c(32, 32);
        cairo_pattern_t* g = cairo_pattern_create_radial(16, 16, 0, 16, 16, 16);
        AddStop(g, 0, {1, 1, 1}, 1);
        AddStop(g, 0.25, {1, 1, 1}, 0.75);
        AddStop(g, 0.6, {1, 1, 1}, 0.2);
        AddStop(g, 1, {1, 1, 1}, 0);
        cairo_set_source(c.cr, g);
        cairo_paint(c.cr);
        cairo_pattern_destroy(g);
        ctx.Png(c, "gfx/gwiazdki/gradball.png");
    }));
    for (int k = 1; k <= 3; ++k) {
        std::string path = "gfx/gwiazdki/" + std::to_string(k) + ".png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(16, 16);
            cairo_t* cr = c.cr;
            RadialGlow(cr, 8, 8, 8, {1, 1, 1}, 0.6);
            if (k == 1) Star(cr, 8, 8, 7.5, 1.4, 4);
            else if (k == 2) Star(cr, 8, 8, 7.5, 2.6, 6, 0.3);
            else {
                Star(cr, 8, 8, 7.5, 1.0, 4);
                Star(cr, 8, 8, 4.5, 1.0, 4, M_PI / 4);
            }
            SetColor(cr, {1, 1, 1});
            cairo_fill(cr);
            ctx.Png(c, path);
        }));
    }
}

// ---- scrolls and side panel ------------------------------------------------------------------
void Roller(Canvas& c, double cy, uint32_t seed) {
    cairo_t* cr = c.cr;
    double W = c.w, r = 26;
    // Rolled parchment.
    cairo_rectangle(cr, 22, cy - r, W - 44, 2 * r);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
    AddStop(g, 0, Hex(0xb08a50));
    AddStop(g, 0.3, Hex(0xf4e4bc));
    AddStop(g, 0.55, Hex(0xe8d09a));
    AddStop(g, 1, Hex(0x7a5a2a));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (double y : {cy - r * 0.45, cy + r * 0.2}) {
        cairo_move_to(cr, 22, y);
        cairo_line_to(cr, W - 22, y);
        SetColor(cr, Hex(0x6a4a1a), 0.35);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    // Wooden rod ends with gold knobs.
    for (int side : {0, 1}) {
        double x = side ? W - 22 : 4;
        cairo_rectangle(cr, x, cy - 9, 18, 18);
        g = cairo_pattern_create_linear(0, cy - 9, 0, cy + 9);
        AddStop(g, 0, pal::woodLight);
        AddStop(g, 1, pal::woodDark);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        Stud(cr, side ? W - 6 : 6, cy, 6);
    }
    (void)seed;
    c.Shadow(0, 3, 4, {0, 0, 0}, 0.5);
}

void Rope(Canvas& c) {
    cairo_t* cr = c.cr;
    double W = c.w, H = c.h;
    cairo_rectangle(cr, W / 2 - 2.5, 0, 5, H);
    cairo_pattern_t* g = cairo_pattern_create_linear(W / 2 - 2.5, 0, W / 2 + 2.5, 0);
    AddStop(g, 0, Hex(0x6a4a22));
    AddStop(g, 0.4, Hex(0xd0a868));
    AddStop(g, 1, Hex(0x5a3a18));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1);
    for (double y = -4; y < H; y += 4) {
        cairo_move_to(cr, W / 2 - 2.5, y);
        cairo_line_to(cr, W / 2 + 2.5, y + 3);
        SetColor(cr, Hex(0x3a2410), 0.6);
        cairo_stroke(cr);
    }
}

void ScrollsAndPanel(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/gui/scroll_01.png", [](Context& ctx) {
        Canvas c(350, 110);
        Roller(c, 55, ctx.seed);
        ctx.Png(c, "gfx/gui/scroll_01.png");
    }));
    out.push_back(Picture("gfx/gui/scroll_03.png", [](Context& ctx) {
        Canvas c(350, 62);
        Roller(c, 29, ctx.seed);
        ctx.Png(c, "gfx/gui/scroll_03.png");
    }));
    out.push_back(Picture("gfx/gui/scroll_02.png", [](Context& ctx) {
        Canvas c(340, 320);
        ParchmentSheet(c, 8, 0, 324, 320, ctx.seed);
        ctx.Png(c, "gfx/gui/scroll_02.png");
    }));
    out.push_back(Picture("gfx/gui/lina.png", [](Context& ctx) {
        Canvas c(8, 48);
        Rope(c);
        ctx.Png(c, "gfx/gui/lina.png");
    }));
    // Score board: seven 12-px digits go in the window at (28, 42), 84x24.
    out.push_back(Picture("gfx/gui/punkty.png", [](Context& ctx) {
        Canvas c(140, 90);
        cairo_t* cr = c.cr;
        BevelPanel(c, 2, 4, 136, 82, 10, pal::wood, pal::gold, 4, ctx.seed);
        cairo_save(cr);
        RoundRect(cr, 6, 8, 128, 74, 7);
        cairo_clip(cr);
        WoodFill(c, 0, 0, 140, 90, pal::wood, ctx.seed);
        cairo_restore(cr);
        FitCaption(c, F_BLACKLETTER, 20, 70, 26, 110, "Score", CS_GOLD);
        RoundRect(cr, 24, 40, 92, 28, 5);
        SetColor(cr, Hex(0x0a0a18));
        cairo_fill(cr);
        GoldFrame(c, 23, 39, 94, 30, 2, 5);
        for (double x : {35.0, 93.0}) Stud(cr, x, 10, 3.5);
        for (double x : {36.0, 92.0}) Stud(cr, x, 80, 3);
        c.Shadow(2, 3, 3, {0, 0, 0}, 0.55);
        ctx.Png(c, "gfx/gui/punkty.png");
    }));
    out.push_back(Picture("gfx/gui/decha.png", [](Context& ctx) {
        Canvas c(130, 26);
        BevelPanel(c, 1, 2, 128, 22, 6, pal::wood, pal::goldDeep, 2, ctx.seed);
        cairo_save(c.cr);
        RoundRect(c.cr, 3, 4, 124, 18, 4);
        cairo_clip(c.cr);
        WoodFill(c, 0, 0, 130, 26, pal::woodLight, ctx.seed);
        cairo_restore(c.cr);
        for (double x : {32.0, 88.0}) Stud(c.cr, x, 8, 2.5);
        c.Shadow(1, 2, 2, {0, 0, 0}, 0.5);
        ctx.Png(c, "gfx/gui/decha.png");
    }));
    PlaqueButton(out, "gfx/gui/menuS1.png", 63, 21, "Menu", F_UNCIAL, 15, false);
    PlaqueButton(out, "gfx/gui/menuS2.png", 63, 21, "Menu", F_UNCIAL, 15, true);
}

// ---- lettering ---------------------------------------------------------------------------------
// A word the level's floating captions draw right of the big digits, its top
// on the same y as theirs: it stands on their baseline, which the digit
// strip (fonts.cpp) puts at this row of its 32-px cells.
double BigDigitsBaseline() {
    TextBox zero = MeasureText(F_SERIF_BOLD, 28, "0");
    return (32 - zero.Height()) / 2 - zero.y0;
}

void WordBesideDigits(std::vector<Recipe>& out, const std::string& path, const std::string& word) {
    out.push_back(Picture(path, [=](Context& ctx) {
        const double px = 30;
        TextBox b = MeasureText(F_BLACKLETTER, px, word);
        int w = static_cast<int>(std::ceil(b.Width())) + 12;
        if (w % 2) ++w;
        // Room under the baseline for the outline, the shadow and any tail.
        Canvas c(w, 40);
        DrawCaptionText(c, F_BLACKLETTER, px, w / 2.0, BigDigitsBaseline(), word, CS_GOLD);
        c.Shadow(1.5, 2, 2.5, {0, 0, 0}, 0.6);
        ctx.Png(c, path);
    }));
}

// A word set beside the map footer's numbers, which are written in the small
// cream serif letters (tops at y 564, baseline 21 px down). The word's
// picture hangs from y 572, so its baseline is row 13 and its letters are a
// size smaller to fit above it; outline and fill as the numbers have them.
void WordOnNumbersRow(std::vector<Recipe>& out, const std::string& path, const std::string& word) {
    out.push_back(Picture(path, [=](Context& ctx) {
        const double px = 17, baseline = 13;
        TextBox b = MeasureText(F_SERIF_BOLD, px, word);
        const int w = static_cast<int>(std::ceil(b.Width())) + 8;
        Canvas c(w, 22);
        cairo_t* cr = c.cr;
        cairo_new_path(cr);
        TextPath(cr, F_SERIF_BOLD, px, 4 - b.x0, baseline, word);
        CreamLettering(cr, px, baseline, 2.2);
        c.Shadow(2, 2, 1.5, Hex(0x000000), 0.75);
        ctx.Png(c, path);
    }));
}

void Letters(std::vector<Recipe>& out) {
    WordBesideDigits(out, "gfx/fonts/match.png", "runes");
    WordBesideDigits(out, "gfx/fonts/points.png", "points");
    Cap(out, "gfx/fonts/newhiscore.png", "New best result!", F_BLACKLETTER, 54, CS_GOLD_LIT, 96);
    out.push_back(Picture("gfx/fonts/combo.png", [](Context& ctx) {
        Canvas c(768, 42);
        for (int i = 0; i < 3; ++i) {
            Canvas cell(256, 42);
            // A plain serif: the blackletter x reads as an r, the uncial one as a chi.
            FitCaption(cell, F_SERIF_BOLD, 34, 128, 21, 236, "Combo x" + std::to_string(i + 2), CS_GOLD_LIT, 1.5);
            cell.Glow(4, Hex(0xff9a30), 0.6);
            c.Paste(cell, i * 256, 0);
        }
        ctx.Png(c, "gfx/fonts/combo.png");
    }));
    Cap(out, "gfx/fonts/download4.png", "Choose a board", F_UNCIAL, 22, CS_GOLD, 38, 160);
    Cap(out, "gfx/fonts/game-paused.png", "Game paused", F_BLACKLETTER, 48, CS_GOLD, 80);
    Cap(out, "gfx/fonts/menu-are-you-sure.png", "Are you sure?", F_BLACKLETTER, 40, CS_GOLD, 70);
    Cap(out, "gfx/fonts/galeria_11.png", "Gallery", F_BLACKLETTER, 36, CS_GOLD, 56, 150);
    WordOnNumbersRow(out, "gfx/mapa/level.png", "Level");
    WordOnNumbersRow(out, "gfx/mapa/of.png", "of");
    // The end-of-game words in a plain serif: the blackletter capital N falls
    // apart into strokes ("llo more moves") and the uncial one reads as a D.
    Cap(out, "gfx/gui/no-more-movies.png", "No more moves", F_SERIF_BOLD, 36, CS_GOLD, 56, 300);
    Cap(out, "gfx/gui/time_out.png", "Out of time", F_SERIF_BOLD, 36, CS_GOLD, 56, 300);
    Cap(out, "gfx/title/loading.png", "Loading...", F_BLACKLETTER, 40, CS_GOLD, 64);

    // The menu caption bank: one word or phrase each, at most 26 px tall.
    struct Item {
        const char* file;
        const char* text;
    };
    static const Item kBank[] = {
        {"playQ_07", "Other game modes"}, {"menu-exit", "Exit"},
        {"menu-resume", "Resume"},         {"menu-new-game", "New game"},
        {"menu-main", "Main menu"},        {"menu-options", "Options"},
        {"menu-quit-game", "Quit game"},   {"menu-restart", "Restart"},
        {"menu-yes", "Yes"},               {"menu-no", "No"},
        {"menu-gallery", "Gallery"},       {"menu-options-big", "Options"},
        {"menu-resume-small", "Resume"},   {"menu-back2game", "Back"},
        {"menu-music-vol", "Music volume"}, {"menu-sound-vol", "Sound volume"},
        {"menu-fullscreen", "Full screen"}, {"menu-easy", "Easy"},
        {"menu-normal", "Normal"},         {"menu-hard", "Hard"},
        {"playQ_03", "Play quest"},        {"menu-timeattack", "Time attack"},
        {"menu-endless", "Endless"},       {"menu-hiscores", "Hiscores"},
        // The board selector's list names: short, so that zoomed under the
        // pointer they stay clear of the tick beside them.
        {"menu-credits", "Credits"},       {"menu-quest-lvl", "Quest"},
        {"menu-timed-lvl", "Time attack"},       {"menu-endless-lvl", "Endless"},
        {"help", "Help"},                  {"menu-play", "Play"},
        {"menu-back", "Back"},
        // Named by older menus; cheap to keep.
        {"menu-next", "Next"},             {"menu-prev", "Previous"},
        {"menu-quit-q", "Quit?"},          {"menu-combat", "Combat"},
        {"menu-play-puzzles", "Play puzzles"},
    };
    // The board list's three names share one size, the menu captions' own
    // unless the longest, "Time attack", would spread its ink past 113 px.
    const double listPx = std::min(21.0, 21.0 * 113.0 / MeasureText(F_UNCIAL, 21, "Time attack").Width());
    for (const Item& it : kBank) {
        bool big = std::string(it.file) == "menu-options-big" || std::string(it.file).rfind("playQ", 0) == 0;
        const bool list = std::string(it.file).find("-lvl") != std::string::npos;
        // "Full screen" is centred on x 390 with its tick box from x 474: kept
        // to 120 px so a gap shows between them.
        // The list names are centred on x 280 with the tick from x 352 and
        // zoom by 1.14 under the pointer: ink at most 113 px, within 6-px margins.
        const int maxW = std::string(it.file) == "menu-fullscreen" ? 120 : list ? 128 : 300;
        Cap(out, std::string("gfx/fonts/") + it.file + ".png", it.text, F_UNCIAL, big ? 24 : (list ? listPx : 21),
            CS_GOLD, 26, maxW);
    }
    // The same face as the combo captions it pops up with.
    Cap(out, "gfx/fonts/bonus-multibonus.png", "Multi spell", F_SERIF_BOLD, 40, CS_GOLD, 60);
}

// ---- buttons -----------------------------------------------------------------------------------
void Buttons(std::vector<Recipe>& out) {
    PlaqueStrip(out, "gfx/info/ok.png", 56, 30, "OK", F_UNCIAL, 18);
    // A blank plank: the name window draws "OK" and "Cancel" over it.
    PlaqueStrip(out, "gfx/gui/textButton.png", 140, 32, "", F_COMIC, 16);
    // The gallery puts these two strips' tops on the frame's lower band (y
    // 497 and 500, the band ending near 517): their lettering hangs below it,
    // in the strips' lower part.
    LetterStrip(out, "gfx/fonts/galeria_03.png", 170, 54, "Set as wallpaper", F_UNCIAL, 20, 38);
    LetterStrip(out, "gfx/fonts/galeria_05.png", 160, 56, "Play as puzzle", F_UNCIAL, 20, 40);
    LetterStrip(out, "gfx/fonts/galeria_07.png", 96, 28, "Back", F_UNCIAL, 21);
    // 84 wide: the map's title row, centred on x 392, clears it, and the ring
    // game, which puts it at x 358, has it centred over its bar (335..465).
    PlaqueButton(out, "gfx/fonts/menu_mapa.png", 84, 32, "Menu", F_UNCIAL, 20, false);
    PlaqueButton(out, "gfx/fonts/play_mapa.png", 84, 32, "Play", F_UNCIAL, 20, false);
    PlaqueButton(out, "gfx/gui/profile-change.png", 150, 30, "Change profile", F_UNCIAL, 17, false);
    // Profile screen words, darkened on hover by the game.
    BoxCaption(out, "gfx/gui/profile-ok.png", 38, 26, "Ok", F_UNCIAL, 20, CS_GOLD, false);
    BoxCaption(out, "gfx/gui/profile-cancel.png", 80, 26, "Cancel", F_UNCIAL, 20, CS_GOLD, false);
    BoxCaption(out, "gfx/gui/profile-new.png", 55, 26, "New", F_UNCIAL, 20, CS_GOLD, false);
    BoxCaption(out, "gfx/gui/profile-rename.png", 84, 26, "Rename", F_UNCIAL, 20, CS_GOLD, false);
    BoxCaption(out, "gfx/gui/profile-delete.png", 75, 26, "Delete", F_UNCIAL, 20, CS_GOLD, false);
    // Lit looks of captions painted into full-screen pictures.
    BoxCaption(out, "gfx/puzzle/b-menu.png", 73, 20, "Menu", F_UNCIAL, 18, CS_GOLD_LIT, true);
    BoxCaption(out, "gfx/puzzle/b-hint.png", 113, 20, "Hint", F_UNCIAL, 18, CS_GOLD_LIT, true);
    BoxCaption(out, "gfx/story/skip-g.png", 64, 20, "Skip", F_UNCIAL, 18, CS_GOLD, false);
    BoxCaption(out, "gfx/story/next-g.png", 58, 20, "Next", F_UNCIAL, 18, CS_GOLD, false);
    BoxCaption(out, "gfx/gui/tut-play2.png", 65, 24, "Play", F_UNCIAL, 20, CS_GOLD_LIT, true);
    BoxCaption(out, "gfx/gui/tut-play.png", 64, 24, "Play", F_UNCIAL, 20, CS_GOLD_LIT, true);
}

// Thin gold rules across a panel, one at each y.
void GoldRules(cairo_t* cr, double x0, double x1, std::initializer_list<double> ys, double alpha) {
    for (double y : ys) {
        cairo_move_to(cr, x0, y);
        cairo_line_to(cr, x1, y);
    }
    SetColor(cr, pal::gold, alpha);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// ---- menus and options ----------------------------------------------------------------------------
void Menus(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/gui/pod-menu.png", [](Context& ctx) {
        // Hung at y 200, under the greeting whose second line ends near 205:
        // the panel's body starts 8 px down. The options page centres "Main
        // menu" on y 520, so the inner border runs below 535; the shadow is
        // kept short to stay on the picture.
        Canvas c(342, 360);
        NightPanel(c, 4, 8, 334, 350, 18, ctx.seed);
        CornerStuds(c.cr, 20, 322, 24, 342, 5);
        c.Shadow(3, 2, 4, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/gui/pod-menu.png");
    }));
    // The profile screen's dialogs (a name to type, a question, a notice):
    // lines at y 276..345, Ok and Cancel at 380..406, the warning under them
    // at 445, its letters' ink down to about 470. The panel is drawn centred
    // on x 400 from y 238 and holds just that, not the whole menu window:
    // its inner rule and rune band run below the warning's last row of ink.
    out.push_back(Picture("gfx/gui/name-panel.png", [](Context& ctx) {
        Canvas c(312, 272);
        NightPanel(c, 4, 4, 300, 260, 16, ctx.seed);
        CornerStuds(c.cr, 18, 294, 18, 254, 4);
        c.Shadow(3, 4, 5, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/gui/name-panel.png");
    }));
    // The sunken field the typed name is written in, centred on (400, 343).
    out.push_back(Picture("gfx/gui/name-field.png", [](Context& ctx) {
        Canvas c(232, 34);
        cairo_t* cr = c.cr;
        RoundRect(cr, 2, 2, 228, 30, 7);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 2, 0, 32);
        AddStop(g, 0, Hex(0x04041a), 0.95);
        AddStop(g, 1, Hex(0x141446), 0.9);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // Lit from above: the top inner edge in shadow, the lower rim catching light.
        cairo_move_to(cr, 9, 4.5);
        cairo_line_to(cr, 223, 4.5);
        SetColor(cr, {0, 0, 0}, 0.6);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        GoldFrame(c, 1, 1, 230, 32, 1.6, 7);
        ctx.Png(c, "gfx/gui/name-field.png");
    }));
    // The free-standing name window: its two planks span x 100..390 at y
    // 200..232 and its notice stands at y 300, so the panel, drawn from
    // (56, 58), runs 60..430 x 62..344 with the lines centred on x 245.
    out.push_back(Picture("gfx/gui/name-window.png", [](Context& ctx) {
        Canvas c(382, 296);
        NightPanel(c, 4, 4, 370, 282, 18, ctx.seed);
        CornerStuds(c.cr, 22, 356, 22, 268, 4);
        // A faint rule between the buttons and the notice beneath them.
        GoldRules(c.cr, 84, 294, {208}, 0.3);
        c.Shadow(3, 4, 6, {0, 0, 0}, 0.65);
        ctx.Png(c, "gfx/gui/name-window.png");
    }));
    // Board selector panel at (144,200): buttons left of x 280, mini board
    // centred on (490,370) in a sunken well.
    out.push_back(Picture("gfx/gui/pod-selector.png", [](Context& ctx) {
        Canvas c(512, 360);
        NightPanel(c, 4, 4, 504, 352, 18, ctx.seed);
        cairo_t* cr = c.cr;
        RoundRect(cr, 346 - 104, 170 - 104, 208, 208, 10);
        SetColor(cr, Hex(0x06061a), 0.9);
        cairo_fill(cr);
        GoldFrame(c, 346 - 106, 170 - 106, 212, 212, 3, 10);
        // The lower rule above "Choose a board", whose picture hangs from y
        // 440 on screen.
        GoldRules(cr, 40, 232, {150, 231}, 0.35);
        c.Shadow(3, 4, 5, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/gui/pod-selector.png");
    }));
    out.push_back(Picture("gfx/gui/podswietlacz2.png", [](Context& ctx) {
        Canvas c(256, 48);
        OvalGlow(c.cr, 128, 24, 128, 48.0 / 256.0, Hex(0xfff0c8), 1.0);
        ctx.Png(c, "gfx/gui/podswietlacz2.png");
    }));
    for (int plus : {0, 1}) {
        std::string path = plus ? "gfx/gui/plus.png" : "gfx/gui/minus.png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(26, 26);
            Stud(c.cr, 13, 13, 11.5);
            cairo_set_line_width(c.cr, 3);
            cairo_set_line_cap(c.cr, CAIRO_LINE_CAP_ROUND);
            cairo_move_to(c.cr, 8, 13);
            cairo_line_to(c.cr, 18, 13);
            if (plus) {
                cairo_move_to(c.cr, 13, 8);
                cairo_line_to(c.cr, 13, 18);
            }
            SetColor(c.cr, Hex(0x3a1e06));
            cairo_stroke(c.cr);
            ctx.Png(c, path);
        }));
    }
    out.push_back(Picture("gfx/gui/suwak.png", [](Context& ctx) {
        Canvas c(11, 22);
        RoundRect(c.cr, 1.5, 1, 8, 20, 3);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 11, 0);
        AddStop(g, 0, pal::goldDeep);
        AddStop(g, 0.4, pal::goldLight);
        AddStop(g, 1, pal::goldDeep);
        cairo_set_source(c.cr, g);
        cairo_fill(c.cr);
        cairo_pattern_destroy(g);
        ctx.Png(c, "gfx/gui/suwak.png");
    }));
    for (int ticked : {0, 1}) {
        std::string path = ticked ? "gfx/gui/ptaszek.png" : "gfx/gui/ptaszek-brak.png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(28, 28);
            RoundRect(c.cr, 3, 3, 22, 22, 4);
            SetColor(c.cr, Hex(0x0a0a20));
            cairo_fill(c.cr);
            GoldFrame(c, 2, 2, 24, 24, 2.5, 4);
            if (ticked) TickMark(c, 7, 14, 12, 20, 23, 5, Hex(0xfff0b0), Hex(0xffc040), 0.6);
            ctx.Png(c, path);
        }));
    }
    out.push_back(Picture("gfx/gui/ptaszek_01.png", [](Context& ctx) {
        Canvas c(22, 22);
        TickMark(c, 4, 11, 9, 17, 18, 4, Hex(0xffe08a), Hex(0xffb030), 0.7);
        ctx.Png(c, "gfx/gui/ptaszek_01.png");
    }));
    // A night-violet banner behind "hello" + name. The game stretches it about
    // 3x wide and 1.08x high around (400, 150), so it spans y 81..219 on
    // screen, while the two lines are written at y 164 and 185 (30-px rows):
    // the banner's body therefore sits in the picture's lower half, rows
    // 62..125, and the gold rules run above and below the lines, never
    // through them.
    out.push_back(Picture("gfx/gui/hello-plama2.png", [](Context& ctx) {
        Canvas c(256, 128);
        cairo_t* cr = c.cr;
        const double top = 62, bottom = 125.5;
        // About as wide as the menu panels under it (x 137..663 on screen).
        RoundRect(cr, 40, top, 176, bottom - top, 16);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, top, 0, bottom);
        AddStop(g, 0, Hex(0x241650), 0.82);
        AddStop(g, 0.5, Hex(0x160c36), 0.88);
        AddStop(g, 1, Hex(0x0e0826), 0.88);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // Moonlight on the middle, where the name goes.
        OvalGlow(cr, 128, 96, 80, 0.36, Hex(0x7a5ac0), 0.3);
        for (double y : {top + 3.5, bottom - 3}) {
            const double bow = y < 96 ? -2.5 : 2.5;
            cairo_move_to(cr, 52, y);
            cairo_curve_to(cr, 100, y + bow, 156, y + bow, 204, y);
            cairo_set_line_width(cr, 1.3);
            SetColor(cr, pal::gold, 0.7);
            cairo_stroke(cr);
        }
        for (double x : {52.0, 204.0})
            for (double y : {top + 3.5, bottom - 3}) {
                Star(cr, x, y, 4, 1.2, 4);
                SetColor(cr, pal::goldLight, 0.85);
                cairo_fill(cr);
            }
        // Soft edges: the stretch makes a hard rim look cut out.
        c.Glow(5, Hex(0x140c30), 0.7);
        ctx.Png(c, "gfx/gui/hello-plama2.png");
    }));
    // Gallery and board-selector arrows.
    for (int next : {0, 1}) {
        std::string path = next ? "gfx/gui/galeria_03.png" : "gfx/gui/galeria_05.png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(44, 34);
            cairo_t* cr = c.cr;
            cairo_save(cr);
            if (!next) {
                cairo_translate(cr, 44, 0);
                cairo_scale(cr, -1, 1);
            }
            cairo_move_to(cr, 6, 11);
            cairo_line_to(cr, 22, 11);
            cairo_line_to(cr, 22, 3);
            cairo_line_to(cr, 40, 17);
            cairo_line_to(cr, 22, 31);
            cairo_line_to(cr, 22, 23);
            cairo_line_to(cr, 6, 23);
            cairo_close_path(cr);
            cairo_restore(cr);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_set_line_width(cr, 2.5);
            SetColor(cr, Hex(0x2a1405));
            cairo_stroke_preserve(cr);
            GoldGradientFill(cr, 0, 3, 0, 31);
            c.Shadow(1, 2, 2, {0, 0, 0}, 0.5);
            ctx.Png(c, path);
        }));
    }
    // Nine-tile hiscore frame from one drawing: sides and foot 40 thick, the
    // head 60, hung above the frame's box (y 121) so that it holds the column
    // headings (y 77..99) over line 0 of the table (y 100). The gold band
    // keeps to the outer 13 px, clear of the ten lines inside.
    out.push_back([] {
        Recipe r;
        r.name = "gfx/ramka/dialog";
        const char* names[9] = {"lg", "gora", "pg", "lewo", "srodek", "prawo", "ld", "dol", "pd"};
        for (const char* n : names) r.outputs.push_back(std::string("gfx/ramka/dialog-") + n + ".png");
        r.make = [names](Context& ctx) {
            const int T = 40, H = 60, M = 64, W = 2 * T + M, S = H + M + T;
            Canvas full(W, S);
            cairo_t* cr = full.cr;
            RoundRect(cr, 5, 5, W - 10, S - 10, 8);
            cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, S);
            AddStop(g, 0, Hex(0x161440), 0.9);
            AddStop(g, 1, Hex(0x0a0a26), 0.86);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
            // The heading strip: a lighter velvet band ruled in gold below.
            cairo_rectangle(cr, 16, 16, W - 32, 22);
            SetColor(cr, Hex(0x3a2e78), 0.55);
            cairo_fill(cr);
            cairo_move_to(cr, 16, 40.5);
            cairo_line_to(cr, W - 16, 40.5);
            cairo_set_line_width(cr, 1.2);
            SetColor(cr, pal::gold, 0.75);
            cairo_stroke(cr);
            GoldFrame(full, 3, 3, W - 6, S - 6, 8, 8);
            GoldFrame(full, 14, 14, W - 28, S - 28, 1.5, 4);
            for (double x : {9.0, double(W) - 9})
                for (double y : {9.0, double(S) - 9}) {
                    Star(cr, x, y, 10, 3, 4, M_PI / 4);
                    SetColor(cr, pal::gold);
                    cairo_fill(cr);
                    Stud(cr, x, y, 4.5);
                }
            full.Shadow(0, 0, 4, {0, 0, 0}, 0.5);
            const int xs[3] = {0, T, T + M}, ws[3] = {T, M, T};
            const int ys[3] = {0, H, H + M}, hs[3] = {H, M, T};
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 3; ++i) {
                    Canvas piece = full.Crop(xs[i], ys[j], ws[i], hs[j]);
                    ctx.Png(piece, std::string("gfx/ramka/dialog-") + names[j * 3 + i] + ".png");
                }
        };
        return r;
    }());
}

// ---- popups --------------------------------------------------------------------------------------
void Popups(std::vector<Recipe>& out) {
    // Game-over panel, centred on (400,300): the caption picture goes at the
    // top (y 75 here), the two buttons' normal looks are painted in.
    out.push_back(Picture("gfx/gui/lose3.png", [](Context& ctx) {
        Canvas c(340, 280);
        NightPanel(c, 4, 4, 332, 272, 18, ctx.seed);
        Plaque(c, 88, 142, 164, 44, "Try again", F_UNCIAL, 22, false, 11);
        Plaque(c, 88, 197, 164, 44, "Main menu", F_UNCIAL, 22, false, 12);
        c.Shadow(3, 4, 6, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/gui/lose3.png");
    }));
    PlaqueButton(out, "gfx/gui/lose3_03.png", 164, 44, "Try again", F_UNCIAL, 22, true);
    PlaqueButton(out, "gfx/gui/lose3_05.png", 164, 44, "Main menu", F_UNCIAL, 22, true);
    // Named by an older summary only; a small confirmation panel.
    out.push_back(Picture("gfx/gui/areYouSure2.png", [](Context& ctx) {
        Canvas c(300, 140);
        NightPanel(c, 2, 2, 296, 136, 14, ctx.seed);
        FitCaption(c, F_BLACKLETTER, 34, 150, 70, 260, "Are you sure?", CS_GOLD);
        ctx.Png(c, "gfx/gui/areYouSure2.png");
    }));
}

// ---- map ------------------------------------------------------------------------------------------
void MapMarkers(std::vector<Recipe>& out) {
    struct Marker {
        const char* path;
        int size;
        int kind;  // 0 level, 1 special, 2 stage end
        bool done;
    };
    static const Marker kMarkers[] = {
        {"gfx/mapa/k1b.png", 28, 0, false}, {"gfx/mapa/k1.png", 28, 0, true},  {"gfx/mapa/k2b.png", 30, 1, false},
        {"gfx/mapa/k2.png", 30, 1, true},   {"gfx/mapa/k3b.png", 38, 2, false}, {"gfx/mapa/k3.png", 38, 2, true},
    };
    for (const Marker& m : kMarkers) {
        out.push_back(Picture(m.path, [&m](Context& ctx) {
            Canvas c(m.size, m.size);
            cairo_t* cr = c.cr;
            double s = m.size, cx = s / 2, r = s * 0.4;
            RuneClass rc = RuneOf(m.done ? 15 : 2);
            rc.shape = m.kind == 0 ? 0 : (m.kind == 1 ? 3 : 5);
            if (m.kind == 2) rc.hue = m.done ? Hex(0xe8a82c) : Hex(0xc02030);
            cairo_new_path(cr);
            GemPath(cr, rc.shape, cx, cx, r + 1.5);
            SetColor(cr, Hex(0x2a1405));
            cairo_fill(cr);
            DrawGem(c, cx - r, cx - r, 2 * r, rc, ctx.seed);
            if (m.done) {
                cairo_move_to(cr, cx - r * 0.45, cx);
                cairo_line_to(cr, cx - r * 0.1, cx + r * 0.4);
                cairo_line_to(cr, cx + r * 0.5, cx - r * 0.45);
                cairo_set_line_width(cr, s * 0.1);
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                SetColor(cr, Hex(0xffffff), 0.95);
                cairo_stroke(cr);
            }
            c.Shadow(1, 1.5, 1.5, {0, 0, 0}, 0.6);
            ctx.Png(c, m.path);
        }));
    }
    for (int k : {1, 2, 3}) {
        std::string path = "gfx/mapa/k" + std::to_string(k) + "c.png";
        int s = k == 3 ? 56 : 46;
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(s, s);
            RadialGlow(c.cr, s / 2.0, s / 2.0, s / 2.0, Hex(0xfff0b0), 0.9);
            cairo_arc(c.cr, s / 2.0, s / 2.0, s * 0.38, 0, 2 * M_PI);
            cairo_set_line_width(c.cr, 2);
            SetColor(c.cr, Hex(0xffffff), 0.7);
            cairo_stroke(c.cr);
            ctx.Png(c, path);
        }));
    }
}

// ---- puzzle -----------------------------------------------------------------------------------------
void Puzzle(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/puzzle/ramka3.png", [](Context& ctx) {
        Canvas c(128, 128);
        cairo_t* cr = c.cr;
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_rectangle(cr, 0, 0, 128, 128);
        cairo_rectangle(cr, 7, 7, 114, 114);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 128, 128);
        AddStop(g, 0, Hex(0xfff0d0));
        AddStop(g, 0.5, Hex(0xa08a6a));
        AddStop(g, 1, Hex(0x3a2a1a));
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_rectangle(cr, 7, 7, 114, 114);
        cairo_set_line_width(cr, 1);
        SetColor(cr, Hex(0x1a1008), 0.7);
        cairo_stroke(cr);
        ctx.Png(c, "gfx/puzzle/ramka3.png");
    }));
    // Glowing outline 6 px outside a 116-px piece.
    out.push_back(Picture("gfx/puzzle/ramka-puzle.png", [](Context& ctx) {
        Canvas c(128, 128);
        cairo_t* cr = c.cr;
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        RoundRect(cr, 0, 0, 128, 128, 5);
        cairo_rectangle(cr, 6, 6, 116, 116);
        SetColor(cr, Hex(0xffd060), 0.45);
        cairo_fill(cr);
        RoundRect(cr, 2.5, 2.5, 123, 123, 3);
        cairo_set_line_width(cr, 2.5);
        SetColor(cr, Hex(0xfff4c0), 0.95);
        cairo_stroke(cr);
        ctx.Png(c, "gfx/puzzle/ramka-puzle.png");
    }));
    // Inner shadows: dark at the outer edge of a home group, fading inwards.
    struct Shade {
        const char* name;
        int w, h;
        double x0, y0, x1, y1;  // gradient from dark to clear; radial for corners
        bool corner;
    };
    static const Shade kShades[] = {
        {"cienie_l", 7, 82, 0, 0, 7, 0, false},  {"cienie_p", 7, 82, 7, 0, 0, 0, false},
        {"cienie_g", 82, 7, 0, 0, 0, 7, false},  {"cienie_d", 82, 7, 0, 7, 0, 0, false},
        {"cienie_lg", 7, 7, 0, 0, 0, 0, true},   {"cienie_pg", 7, 7, 7, 0, 0, 0, true},
        {"cienie_ld", 7, 7, 0, 7, 0, 0, true},   {"cienie_pd", 7, 7, 7, 7, 0, 0, true},
    };
    for (const Shade& s : kShades) {
        std::string path = std::string("gfx/puzzle/") + s.name + ".png";
        out.push_back(Picture(path, [&s, path](Context& ctx) {
            Canvas c(s.w, s.h);
            cairo_pattern_t* g = s.corner ? cairo_pattern_create_radial(s.x0, s.y0, 0, s.x0, s.y0, 7)
                                          : cairo_pattern_create_linear(s.x0, s.y0, s.x1, s.y1);
            AddStop(g, 0, {0, 0, 0}, 0.6);
            AddStop(g, 1, {0, 0, 0}, 0);
            cairo_set_source(c.cr, g);
            cairo_paint(c.cr);
            cairo_pattern_destroy(g);
            ctx.Png(c, path);
        }));
    }
    out.push_back(Picture("gfx/gui/stage3.png", [](Context& ctx) {
        Canvas c(366, 146);
        cairo_t* cr = c.cr;
        // A ribbon banner with folded tails.
        for (int side : {-1, 1}) {
            double x = 183 + side * 150;
            cairo_move_to(cr, x, 52);
            cairo_line_to(cr, x + side * 30, 52);
            cairo_line_to(cr, x + side * 14, 80);
            cairo_line_to(cr, x + side * 30, 108);
            cairo_line_to(cr, x, 108);
            cairo_close_path(cr);
            SetColor(cr, Hex(0x6a1020));
            cairo_fill(cr);
        }
        cairo_move_to(cr, 30, 40);
        cairo_curve_to(cr, 120, 28, 246, 28, 336, 40);
        cairo_line_to(cr, 336, 100);
        cairo_curve_to(cr, 246, 88, 120, 88, 30, 100);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 30, 0, 100);
        AddStop(g, 0, Hex(0xd0304a));
        AddStop(g, 1, Hex(0x801428));
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_set_line_width(cr, 3);
        SetColor(cr, pal::gold);
        cairo_stroke(cr);
        FitCaption(c, F_BLACKLETTER, 42, 183, 64, 280, "Stage complete", CS_GOLD_LIT);
        Star(cr, 183, 122, 14, 5, 5);
        SetColor(cr, pal::gold);
        cairo_fill(cr);
        c.Shadow(3, 4, 5, {0, 0, 0}, 0.6);
        ctx.Png(c, "gfx/gui/stage3.png");
    }));
}

// ---- story and tutorial ----------------------------------------------------------------------------
void Tutorial(std::vector<Recipe>& out) {
    // Mouse: left button lit (place a block).
    for (int right : {0, 1}) {
        std::string path = right ? "gfx/gui/tutorial_mouse_1.png" : "gfx/gui/tutorial_mouse.png";
        out.push_back(Picture(path, [=](Context& ctx) {
            Canvas c(70, 96);
            cairo_t* cr = c.cr;
            RoundRect(cr, 8, 6, 54, 84, 26);
            cairo_pattern_t* g = cairo_pattern_create_linear(8, 0, 62, 0);
            AddStop(g, 0, Hex(0xe8e4f4));
            AddStop(g, 1, Hex(0x9a96b0));
            cairo_set_source(cr, g);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(g);
            cairo_set_line_width(cr, 2);
            SetColor(cr, Hex(0x1a1430));
            cairo_stroke(cr);
            cairo_new_path(cr);
            cairo_move_to(cr, 35, 6);
            cairo_line_to(cr, 35, 38);
            cairo_move_to(cr, 8, 38);
            cairo_line_to(cr, 62, 38);
            cairo_stroke(cr);
            double bx = right ? 36 : 9;
            cairo_save(cr);
            RoundRect(cr, 8, 6, 54, 84, 26);
            cairo_clip(cr);
            cairo_rectangle(cr, bx, 7, 25, 30);
            SetColor(cr, Hex(0xffc040), 0.9);
            cairo_fill(cr);
            cairo_restore(cr);
            c.Glow(4, Hex(0xffd070), 0.5);
            ctx.Png(c, path);
        }));
    }
    out.push_back(Picture("gfx/gui/tutorial_keyb.png", [](Context& ctx) {
        Canvas c(124, 84);
        cairo_t* cr = c.cr;
        auto key = [&](double x, double y, double w, const char* label, bool lit) {
            RoundRect(cr, x, y, w, 34, 6);
            cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + 34);
            AddStop(g, 0, lit ? Hex(0xffe6a0) : Hex(0xe8e4f4));
            AddStop(g, 1, lit ? Hex(0xd09030) : Hex(0x9a96b0));
            cairo_set_source(cr, g);
            cairo_fill_preserve(cr);
            cairo_pattern_destroy(g);
            cairo_set_line_width(cr, 2);
            SetColor(cr, Hex(0x1a1430));
            cairo_stroke(cr);
            cairo_new_path(cr);
            TextBox b = MeasureText(F_SERIF_BOLD, 16, label);
            TextPath(cr, F_SERIF_BOLD, 16, x + w / 2 - (b.x0 + b.x1) / 2, y + 17 - (b.y0 + b.y1) / 2, label);
            SetColor(cr, Hex(0x1a1430));
            cairo_fill(cr);
        };
        key(4, 4, 116, "Space", true);
        key(4, 44, 56, "Esc", false);
        key(64, 44, 56, "P", false);
        c.Shadow(1, 2, 2, {0, 0, 0}, 0.5);
        ctx.Png(c, "gfx/gui/tutorial_keyb.png");
    }));
}

// The words in a new player's empty gallery frame (drawn centred in the
// frame's window): what the frame is for and how it fills.
void GalleryEmptyNote(std::vector<Recipe>& out) {
    out.push_back(Picture("gfx/fonts/galeria_empty.png", [](Context& ctx) {
        Canvas c(480, 110);
        OvalGlow(c.cr, 240, 55, 240, 0.36, Hex(0x000000), 0.55);
        FitCaption(c, F_UNCIAL, 34, 240, 38, 450, "No pictures yet", CS_GOLD);
        FitCaption(c, F_UNCIAL, 21, 240, 80, 450, "Each land you play hangs its picture here", CS_GOLD);
        ctx.Png(c, "gfx/fonts/galeria_empty.png");
    }));
}

void All(std::vector<Recipe>& out) {
    Core(out);
    ScrollsAndPanel(out);
    Letters(out);
    Buttons(out);
    Menus(out);
    Popups(out);
    MapMarkers(out);
    Puzzle(out);
    Tutorial(out);
    GalleryEmptyNote(out);
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
