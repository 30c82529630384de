// Shared pieces of the game's art: the rune colour classes, gems and stones,
// painted landscapes, buttons, plaques and frames.
#pragma once
#include <string>

#include "paint.h"

namespace qab {

// ---- rune colour classes ---------------------------------------------------------
// One gem colour, cut and rune glyph per colour class. The rune pictures, the
// sphere balls and symbols and the bosses all read this table, so a colour
// looks the same everywhere.
struct RuneClass {
    int id;            // colour class 1..15
    const char* name;  // used in file names
    RGB hue;
    uint32_t glyph;    // code point in the Runic block
    int shape;         // gem cut, see GemPath
};
constexpr int kRuneClasses = 15;
const RuneClass& RuneOf(int colourClass);
// The sphere pictures are numbered by a fixed table: ball number of a class.
int BallNumberOf(int colourClass);

std::string Utf8(uint32_t cp);

// Gem outline of the given cut centred on (cx, cy), radius r.
void GemPath(cairo_t* cr, int shape, double cx, double cy, double r);
// A rune gem filling the square (x, y, size).
void DrawGem(Canvas& c, double x, double y, double size, const RuneClass& rc, uint32_t seed);
// A petrified rune: a grey cobble tinted by the class, with its glyph carved.
// rc == nullptr draws the plain rock that no colour owns.
void DrawStone(Canvas& c, double x, double y, double size, const RuneClass* rc, uint32_t seed);
// The glyph's outline centred on (cx, cy), at `px` pixels per em.
void GlyphPath(cairo_t* cr, FontId f, uint32_t cp, double px, double cx, double cy);
// A carved (engraved) glyph: dark groove, light lower edge.
void CarveGlyph(cairo_t* cr, FontId f, uint32_t cp, double px, double cx, double cy, RGB groove, double depth);

// ---- scenes -----------------------------------------------------------------------
struct Scene {
    RGB skyTop, skyHorizon;
    RGB hillFar, hillNear;
    double horizon = 0.62;     // fraction of the height
    double moonX = 0.75, moonY = 0.2, moonR = 38;  // moonR 0: no moon
    bool stars = true;
    bool castle = true;
    double castleX = 0.3;
    bool forest = true;
    bool water = false;
    bool mist = true;
    int ridges = 3;
    // Landmarks on the middle ground (0: none).
    int menhirs = 0;      // standing stones with glowing runes
    bool tower = false;   // a lone tower with a lit window
    int houses = 0;       // a village with warm windows
    double landmarkX = 0.7;
};
// A painted night landscape filling the canvas.
void PaintLandscape(Canvas& c, const Scene& s, uint32_t seed);
Scene SceneVariant(int n);  // a family of related scenes
// Two-digit, zero-padded number, as the numbered picture names use it.
std::string Two(int n);
// Word-wrapped text; returns the y below the last line.
double Paragraph(Canvas& c, FontId f, double px, double x, double y, double width, const std::string& text, RGB color,
                 bool centred, double alpha = 1.0);
// An axis-aligned ellipse added to the path as a closed sub-path.
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
// Night-blue veil over a whole picture, so panels and text stand out on it.
void Darken(Canvas& c, double a);
// The small cream letters of the bitmap alphabets: the current path (text
// set on `baseline` at `px`) outlined in dark brown and filled cream, lighter
// at the top. The path is used up.
void CreamLettering(cairo_t* cr, double px, double baseline, double outline);

// ---- widgets -----------------------------------------------------------------------
// A wooden plaque with gold rim and a caption (buttons, labels).
void Plaque(Canvas& c, double x, double y, double w, double h, const std::string& text, FontId f, double px,
            bool lit, uint32_t seed);
// A flat parchment button (used on parchment panels): only the caption, with an
// optional glow behind it.
void InkButton(Canvas& c, double x, double y, double w, double h, const std::string& text, FontId f, double px,
               bool lit);
// An ornate gold frame band around the rectangle's inside edge.
void GoldFrame(Canvas& c, double x, double y, double w, double h, double band, double r);
// A rounded night-blue glass panel with gold rim.
void NightPanel(Canvas& c, double x, double y, double w, double h, double r, uint32_t seed);
// Parchment sheet with burnt, slightly irregular edges.
void ParchmentSheet(Canvas& c, double x, double y, double w, double h, uint32_t seed);
// Fills the current path with the light-to-deep gold ramp from (x0, y0) to (x1, y1).
void GoldGradientFill(cairo_t* cr, double x0, double y0, double x1, double y1);
// A gold stud or rivet.
void Stud(cairo_t* cr, double cx, double cy, double r);
// A stud in each corner of a panel, left column first.
void CornerStuds(cairo_t* cr, double left, double right, double top, double bottom, double r);

}  // namespace qab
