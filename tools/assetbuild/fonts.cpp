// Fonts: the TrueType files the game opens (copied from Debian font
// packages), the two bitmap-font sheets and the digit strips.
//
// Index: TrueType copies · sheet cutting (the game's rule) · bitmap sheets ·
//        digit strips
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "artkit.h"
#include "builder.h"
#include "sheetcut.h"

namespace qab {
namespace {

// ---- TrueType copies -------------------------------------------------------------------
void TrueType(std::vector<Recipe>& out) {
    struct Copy {
        const char* path;
        FontId from;
    };
    for (Copy c : {Copy{"gfx/fonts/OldLondon.ttf", F_BLACKLETTER}, Copy{"gfx/fonts/Lombardic.ttf", F_UNCIAL},
                   Copy{"gfx/fonts/QueenEmpress.ttf", F_SERIF}, Copy{"gfx/gui/comic.ttf", F_COMIC}}) {
        Recipe r;
        r.name = c.path;
        r.outputs = {c.path};
        r.inputs = {FontFile(c.from).file};
        std::string src = FontFile(c.from).file, dst = c.path;
        r.make = [src, dst](Context& ctx) { ctx.Copy(src, dst); };
        out.push_back(std::move(r));
    }
}

// ---- bitmap sheets ----------------------------------------------------------------------
struct SheetDesc {
    const char* path;
    const char* chars;
    int band;      // line height
    int cut;       // spacing cut
    FontId font;
    double px;
    double baseline;
};

// One glyph drawn on its own: returns its picture trimmed to its ink columns
// plus the trailing columns that give the advance the font needs.
Canvas GlyphCell(const SheetDesc& s, char ch) {
    const int W = 80, H = s.band, x0 = 20;
    Canvas c(W, H);
    cairo_t* cr = c.cr;
    std::string text(1, ch);
    cairo_new_path(cr);
    TextPath(cr, s.font, s.px, x0, s.baseline, text);
    CreamLettering(cr, s.px, s.baseline, 2.4);
    // The body's own columns, before any shadow.
    uint32_t* p = c.Pixels();
    int st = c.Stride();
    auto inked = [&](int x) {
        for (int y = 0; y < H; ++y)
            if (p[y * st + x] >> 24) return true;
        return false;
    };
    int a = -1, b = -1;
    for (int x = 0; x < W; ++x)
        if (inked(x)) {
            if (a < 0) a = x;
            b = x;
        }
    if (a < 0) throw std::runtime_error(std::string("no ink for character ") + text);
    // Font 1 overlaps letters by its cut: give it a soft shadow reaching that far.
    if (s.cut > 0) {
        c.Shadow(2, 2, 1.5, Hex(0x000000), 0.75);
        p = c.Pixels();
    }
    // Extend the run: the cut plus one column of spacing, held by alpha-1
    // pixels (invisible) so the loader sees one unbroken glyph.
    int end = b + s.cut + 1;
    int baseRow = std::min(H - 1, static_cast<int>(s.baseline));
    for (int x = a; x <= end; ++x)
        if (!inked(x)) p[baseRow * st + x] = 0x01000000u;
    c.Flush();
    return c.Crop(a, 0, end - a + 1, H);
}

void BitmapSheet(const SheetDesc& s, Context& ctx) {
    std::string chars = s.chars;
    std::vector<Canvas> cells;
    int total = 2;
    for (char ch : chars) {
        cells.push_back(GlyphCell(s, ch));
        total += cells.back().w + 2;
    }
    total += 1;  // the sheet's last column stays clear
    Canvas sheet(total, s.band);
    int x = 2;
    for (Canvas& cl : cells) {
        sheet.Paste(cl, x, 0);
        x += cl.w + 2;
    }
    // Cut it the way the game does and insist on one glyph per character.
    std::vector<SheetGlyph> glyphs = CutSheet(sheet.Pixels(), sheet.Stride(), sheet.w, sheet.h, s.band);
    if (glyphs.size() != chars.size())
        throw std::runtime_error(std::string(s.path) + ": cut gives " + std::to_string(glyphs.size()) +
                                 " glyphs for " + std::to_string(chars.size()) + " characters");
    ctx.Png(sheet, s.path);
}

void Sheets(std::vector<Recipe>& out) {
    static const SheetDesc kSheets[] = {
        // The greeting writes its second line 21 px under "hello" and 20 above
        // the menu panel: the letters and their tails keep to the row's top 19 px.
        {"gfx/fonts/alfabet-maly.png", "abcdefghijklmnopqrstuvwxyz,.?-!#$*&@%()<>{}'1234567890", 30, 0, F_SERIF_BOLD,
         18, 14},
        {"gfx/fonts/small-letters3.png", "abcdefghijklmnopqrstuvwxyz0123456789", 32, 3, F_SERIF_BOLD, 22, 21},
    };
    for (const SheetDesc& s : kSheets) {
        Recipe r = Picture(s.path, [&s](Context& ctx) { BitmapSheet(s, ctx); });
        r.inputs = {FontFile(s.font).file};
        out.push_back(std::move(r));
    }
}

// ---- digit strips --------------------------------------------------------------------------
struct DigitDesc {
    std::vector<const char*> paths;
    int cellW, cellH;
    int widths[10];  // the room each digit's ink may take, from the left
    double px;
    CaptionStyle style;
};

void DigitStrip(const DigitDesc& d, Context& ctx) {
    Canvas c(d.cellW * 10, d.cellH);
    cairo_t* cr = c.cr;
    double asc, desc;
    FontMetrics(F_SERIF_BOLD, d.px, asc, desc);
    TextBox zero = MeasureText(F_SERIF_BOLD, d.px, "0");
    double outline = d.style == CS_WHITE ? 1.0 : 1.4;
    for (int i = 0; i < 10; ++i) {
        std::string t(1, static_cast<char>('0' + i));
        TextBox b = MeasureText(F_SERIF_BOLD, d.px, t);
        double room = d.widths[i] - 2 * outline - 1;
        double sx = std::min(1.0, room / b.Width());
        double baseline = (d.cellH - zero.Height()) / 2 - zero.y0;
        cairo_save(cr);
        cairo_translate(cr, i * d.cellW + outline + 0.5 - b.x0 * sx, baseline);
        cairo_scale(cr, sx, 1.0);
        cairo_new_path(cr);
        TextPath(cr, F_SERIF_BOLD, d.px, 0, 0, t);
        cairo_restore(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, outline * 2);
        SetColor(cr, d.style == CS_WHITE ? Hex(0x101030) : Hex(0x2a1405), 0.9);
        cairo_stroke_preserve(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, baseline + zero.y0, 0, baseline);
        if (d.style == CS_WHITE) {
            AddStop(g, 0, Hex(0xffffff));
            AddStop(g, 1, Hex(0xdce4ff));
        } else {
            AddStop(g, 0, Hex(0xfff6c8));
            AddStop(g, 0.5, Hex(0xf2c85a));
            AddStop(g, 1, Hex(0xb87a20));
        }
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    for (const char* p : d.paths) ctx.Png(c, p);
}

void Digits(std::vector<Recipe>& out) {
    static const DigitDesc kStrips[] = {
        {{"gfx/fonts/cyfry1.png"}, 16, 24, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12}, 21, CS_WHITE},
        {{"gfx/fonts/level.png"}, 16, 21, {12, 7, 12, 12, 12, 12, 12, 12, 12, 12}, 18, CS_WHITE},
        // Two names that are one file on a case-insensitive disk: the same bytes.
        {{"gfx/fonts/CYFRY2.png", "gfx/fonts/cyfry2.png"}, 32, 32, {22, 10, 19, 19, 19, 19, 18, 16, 19, 19}, 28,
         CS_GOLD},
    };
    for (const DigitDesc& d : kStrips) {
        Recipe r;
        r.name = d.paths[0];
        for (const char* p : d.paths) r.outputs.push_back(p);
        r.make = [&d](Context& ctx) { DigitStrip(d, ctx); };
        out.push_back(std::move(r));
    }
}

void All(std::vector<Recipe>& out) {
    TrueType(out);
    Sheets(out);
    Digits(out);
}

}  // namespace

QAB_RECIPES(All);

}  // namespace qab
