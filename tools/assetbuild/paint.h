// Painting kit of the asset builder: colours, a seeded generator, noise,
// Cairo canvases, text from font outlines, and the PNG/JPEG writers.
//
// Index: colours · generator and noise · fonts and text · canvas · shapes ·
//        file writers
#pragma once
#include <cairo.h>
#include <cstdint>
#include <string>
#include <vector>

namespace qab {

// ---- colours ------------------------------------------------------------------
struct RGB {
    double r = 0, g = 0, b = 0;
};
RGB Hex(uint32_t rgb);
RGB Mix(RGB a, RGB b, double t);
RGB Scale(RGB c, double f);  // multiplies, clamped
RGB Lighter(RGB c, double t);  // towards white
RGB Darker(RGB c, double t);   // towards black
RGB Hsv(double hueDeg, double s, double v);
void SetColor(cairo_t* cr, RGB c, double alpha = 1.0);
void AddStop(cairo_pattern_t* p, double at, RGB c, double alpha = 1.0);

// The palette every picture draws from, so the set reads as one style.
namespace pal {
extern const RGB night, nightDeep, violet, violetDeep, gold, goldLight, goldDeep, parchment, parchmentDark, ink,
    wood, woodDark, woodLight, stone, stoneDark, stoneLight, moon, white;
}

// ---- generator and noise -----------------------------------------------------------
// Our own generator (splitmix64): the same numbers on every machine, seeded
// from a recipe's name so recipes never depend on the order they run in.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    explicit Rng(const std::string& seed);
    uint64_t Next();
    double Uniform();                   // [0,1)
    double Range(double lo, double hi);  // [lo,hi)
    int Int(int lo, int hi);            // both ends included
private:
    uint64_t state_;
};
uint64_t Hash64(const std::string& s, uint64_t seed = 1469598103934665603ull);

double ValueNoise(double x, double y, uint32_t seed);  // 0..1, smooth
double Fbm(double x, double y, int octaves, uint32_t seed);  // 0..1

// ---- fonts and text ------------------------------------------------------------
enum FontId {
    F_BLACKLETTER,  // headings, "well done", logos
    F_UNCIAL,       // story and prompts; menu captions
    F_SERIF,        // hint popups
    F_SERIF_BOLD,   // digits and small captions, bitmap sheets
    F_RUNIC,        // rune glyphs (Runic block)
    F_COMIC,
    F_COUNT
};
// Where a face lives on this machine (a Debian font package), and the package.
struct FontSource {
    const char* file;     // absolute path
    const char* package;  // Debian package that installs it
};
const FontSource& FontFile(FontId id);
// Throws with a clear message when the face cannot be opened.
void CheckFonts();

struct TextBox {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // ink bounds relative to the pen origin
    double advance = 0;
    double Width() const { return x1 - x0; }
    double Height() const { return y1 - y0; }
};
// Text is UTF-8. The outline is appended to the current path with the pen's
// baseline origin at (x, y); sizes are in pixels per em.
void TextPath(cairo_t* cr, FontId f, double px, double x, double y, const std::string& text, double tracking = 0);
TextBox MeasureText(FontId f, double px, const std::string& text, double tracking = 0);
bool HasGlyph(FontId f, uint32_t codepoint);
// Ascender and descender of the face at px (descender negative).
void FontMetrics(FontId f, double px, double& ascender, double& descender);

// ---- canvas ---------------------------------------------------------------------
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas(Canvas&& o) noexcept;

    int w, h;
    cairo_surface_t* surface;
    cairo_t* cr;

    // Premultiplied ARGB32, row by row.
    uint32_t* Pixels();
    int Stride() const;  // in pixels
    void Flush();
    // Draws another canvas with its top-left at (x, y).
    void Paste(const Canvas& src, double x, double y, double alpha = 1.0);
    // Sub-rectangle copy.
    Canvas Crop(int x, int y, int width, int height) const;
    // Multiplies colour by (1 + amount*(noise-0.5)*2), alpha kept.
    void Grain(double amount, double scale, uint32_t seed, int octaves = 4);
    // Blurred copy of the alpha, tinted, drawn under the picture (shadows, glows).
    void Shadow(double dx, double dy, double radius, RGB color, double alpha);
    void Glow(double radius, RGB color, double alpha);
    // Makes every pixel fully opaque (for JPEGs).
    void Opaque(RGB background);
    // Forces alpha to 0 in a rectangle.
    void ClearRect(int x, int y, int width, int height);
    double AlphaAt(int x, int y);
};

// Box blur of the alpha channel repeated three times (close to Gaussian).
void BlurAlpha(std::vector<float>& a, int w, int h, double radius);

// ---- shapes -----------------------------------------------------------------------
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Star(cairo_t* cr, double cx, double cy, double rOut, double rIn, int points, double rot = 0);
// A bevelled panel: body gradient, light top-left rim, dark bottom-right rim.
void BevelPanel(Canvas& c, double x, double y, double w, double h, double r, RGB body, RGB rim, double rimWidth,
                uint32_t seed, double grain = 0.12);
// Wood planks filling the current clip.
void WoodFill(Canvas& c, double x, double y, double w, double h, RGB base, uint32_t seed, bool vertical = false);
void ParchmentFill(Canvas& c, double x, double y, double w, double h, uint32_t seed);
void StoneFill(Canvas& c, double x, double y, double w, double h, RGB base, uint32_t seed);
// A soft radial glow centred at (cx, cy).
void RadialGlow(cairo_t* cr, double cx, double cy, double r, RGB color, double alpha);
// RadialGlow squashed (or stretched) upright: r across, r * yScale high.
void OvalGlow(cairo_t* cr, double cx, double cy, double r, double yScale, RGB color, double alpha);
// Adds an upright ellipse, r across and r * yScale high, to the current path.
void OvalPath(cairo_t* cr, double cx, double cy, double r, double yScale);

// Text caption styles for lettering pictures.
enum CaptionStyle {
    CS_GOLD,       // gold with a dark outline and a soft shadow
    CS_SILVER,     // pale silver-blue
    CS_INK,        // dark brown ink, for parchment
    CS_GOLD_LIT,   // brighter gold with a warm glow (hover looks)
    CS_WHITE       // white with a dark outline
};
// Draws text centred on (cx, baselineY).
void DrawCaptionText(Canvas& c, FontId f, double px, double cx, double baseline, const std::string& text,
                     CaptionStyle style, double tracking = 0);
// A picture that holds just the lettering plus its outline and shadow margin.
Canvas CaptionPicture(FontId f, double px, const std::string& text, CaptionStyle style, int padX = 6,
                      int padY = 5, double tracking = 0);
// The lettering fitted into a fixed-size picture (shrunk when too wide).
void FitCaption(Canvas& c, FontId f, double px, double cx, double cy, double maxW, const std::string& text,
                CaptionStyle style, double tracking = 0);

// ---- file writers --------------------------------------------------------------------
// 8-bit RGBA PNG (or RGB when `alpha` is false), un-premultiplied, no time stamp.
void WritePNG(const Canvas& c, const std::string& path, bool alpha = true);
// Baseline JPEG, 4:2:0, integer DCT: the same bytes on every machine.
void WriteJPEG(const Canvas& c, const std::string& path, int quality = 90);
// Decoders for checks and the contact sheets: premultiplied ARGB32.
bool ReadImageFile(const std::string& path, int& w, int& h, std::vector<uint32_t>& argb, bool& hasAlpha);

}  // namespace qab
