// TrueType image fonts: loading, measuring and drawing through the recorder.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "support/scratch.h"

namespace {

namespace fs = std::filesystem;
using plat::testing::DrawCall;

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// A bitmap font with one strike of 10 pixels (ascent 8, descent 2), so sizes
// above 10 must fall back to it, and every metric is known without FreeType:
//   'A'   5x6 at (0, 0) above the baseline, advance 6
//   'B'   3x4 at (1, -2), advance 7
//   ' '   no pixels, advance 4
//   0xE9  4x7 at (0, 0), advance 5
//   0x0A  a control character with a picture, which text must never use
const char* const kBitmapFont = R"(STARTFONT 2.1
FONT -quill-test-medium-r-normal--10-100-75-75-c-60-iso10646-1
SIZE 10 75 75
FONTBOUNDINGBOX 7 10 0 -2
STARTPROPERTIES 5
PIXEL_SIZE 10
FONT_ASCENT 8
FONT_DESCENT 2
CHARSET_REGISTRY "ISO10646"
CHARSET_ENCODING "1"
ENDPROPERTIES
CHARS 5
STARTCHAR space
ENCODING 32
SWIDTH 400 0
DWIDTH 4 0
BBX 0 0 0 0
BITMAP
ENDCHAR
STARTCHAR A
ENCODING 65
SWIDTH 600 0
DWIDTH 6 0
BBX 5 6 0 0
BITMAP
20
50
88
F8
88
88
ENDCHAR
STARTCHAR B
ENCODING 66
SWIDTH 700 0
DWIDTH 7 0
BBX 3 4 1 -2
BITMAP
C0
A0
C0
E0
ENDCHAR
STARTCHAR eacute
ENCODING 233
SWIDTH 500 0
DWIDTH 5 0
BBX 4 7 0 0
BITMAP
20
40
60
90
F0
80
70
ENDCHAR
STARTCHAR newline
ENCODING 10
SWIDTH 900 0
DWIDTH 9 0
BBX 2 2 0 0
BITMAP
C0
C0
ENDCHAR
ENDFONT
)";

class FontTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        plat::SetImageFont(nullptr);
        ASSERT_TRUE(plat::Graphics(800, 600, 0));
        dir_ = fs::path(quill_test::ScratchDir()) / "font-files";
        fs::create_directories(dir_);
    }
    void TearDown() override { plat::SetImageFont(nullptr); }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    std::string BitmapFontPath() { return WriteFile("strike10.bdf", kBitmapFont); }

    static std::vector<DrawCall> Calls(DrawCall::Kind kind) {
        std::vector<DrawCall> out;
        for (const DrawCall& c : plat::testing::DrawCalls())
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    // Where each glyph of `text` is drawn, alone on a clean record.
    static std::vector<DrawCall> GlyphsOf(const std::string& text, float x, float y) {
        plat::testing::ClearDrawCalls();
        plat::DrawText(text, x, y);
        return Calls(DrawCall::IMAGE);
    }

    fs::path dir_;
};

// ---- loading ------------------------------------------------------------------

TEST_F(FontTest, UnreadableFilesGiveNull) {
    std::string truncated;
    {
        std::ifstream in(kDejaVu, std::ios::binary);
        truncated.assign(std::istreambuf_iterator<char>(in), {});
        truncated.resize(truncated.size() / 50);
    }
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"missing", (dir_ / "no-such-font.ttf").string()},
        {"empty", WriteFile("empty.ttf", "")},
        {"garbage", WriteFile("garbage.ttf", std::string(4096, '\x5a'))},
        {"png header", WriteFile("fake.ttf", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(100, '\0'))},
        {"folder", dir_.string()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plat::LoadImageFont(c.path, 16), nullptr);
    }
    // A font cut short may or may not open, but it never crashes anything.
    plat::FontPtr cut = plat::LoadImageFont(WriteFile("cut.ttf", truncated), 16);
    plat::SetImageFont(cut);
    plat::DrawText("Hello", 0, 0);
    (void)plat::TextWidth("Hello");
}

TEST_F(FontTest, RefusedSizeFallsBackToTheNextSmallerOne) {
    const std::string path = BitmapFontPath();
    for (int size : {10, 11, 16, 40}) {
        SCOPED_TRACE(size);
        plat::FontPtr f = plat::LoadImageFont(path, size);
        ASSERT_NE(f, nullptr);
        plat::SetImageFont(f);
        EXPECT_EQ(plat::TextHeight(), 10);  // ascent + descent of the only strike
        EXPECT_EQ(plat::TextWidth("AB"), 13);
    }
    // Nothing at or below the size asked for: no font at all.
    for (int size : {9, 1, 0, -5}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(plat::LoadImageFont(path, size), nullptr);
    }
}

TEST_F(FontTest, LoadsAtTheGameSizesWithGrowingMetrics) {
    int lastHeight = 0, lastWidth = 0;
    for (int size : {16, 22, 24, 28, 40}) {
        SCOPED_TRACE(size);
        plat::FontPtr f = plat::LoadImageFont(kDejaVu, size, plat::SMOOTHFONT);
        ASSERT_NE(f, nullptr);
        plat::SetImageFont(f);
        EXPECT_EQ(plat::GetImageFont(), f);
        const int h = plat::TextHeight();
        EXPECT_GE(h, size);
        EXPECT_LE(h, 2 * size);
        EXPECT_GT(h, lastHeight);
        const int w = plat::TextWidth("Hello, world");
        EXPECT_GT(w, lastWidth);
        lastHeight = h;
        lastWidth = w;
    }
}

// ---- measuring ------------------------------------------------------------------

TEST_F(FontTest, WidthIsTheSumOfWholeAdvances) {
    plat::SetImageFont(plat::LoadImageFont(BitmapFontPath(), 10));
    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"", 0},
        {"A", 6},
        {"AB", 13},
        {"A B", 17},
        {"\xe9", 5},
        {"\xe9\xe9\xe9", 15},
        {"A\nB", 13},             // a control byte has no glyph, even when the file draws one
        {"AxyzB", 13},            // characters the font lacks are skipped
        {"\x01\x1f\x7f\x80\x9f", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(plat::TextWidth(c.text), c.width);
        EXPECT_EQ(plat::TextHeight(c.text), 10);
    }
}

TEST_F(FontTest, TrueTypeWidthIsAdditiveAndHeightConstant) {
    const char* const texts[] = {"ii", "Hello, world", "The quick brown fox", "caf\xe9 cr\xe8me br\xfbl\xe9" "e",
                                 "0123456789", "WAVE", "\xa9\xb0\xbf\xc6\xd7\xdf\xff", "a\x01\x10\x1f" "b"};
    for (int size : {16, 22, 24, 28, 40}) {
        SCOPED_TRACE(size);
        plat::SetImageFont(plat::LoadImageFont(kDejaVu, size));
        const int height = plat::TextHeight();
        EXPECT_EQ(plat::TextWidth(""), 0);
        EXPECT_EQ(plat::TextWidth("ii"), 2 * plat::TextWidth("i"));
        EXPECT_GT(plat::TextWidth("\xe9"), 0);  // Latin-1 beyond ASCII
        EXPECT_EQ(plat::TextWidth("\x01\x1f"), 0);
        for (const char* t : texts) {
            SCOPED_TRACE(t);
            const std::string s = t;
            int sum = 0;
            for (char ch : s) sum += plat::TextWidth(std::string(1, ch));
            EXPECT_EQ(plat::TextWidth(s), sum);
            EXPECT_EQ(plat::TextHeight(s), height);
        }
    }
}

TEST_F(FontTest, DefaultFontIsUsedWhenNoneIsSet) {
    plat::SetImageFont(nullptr);
    EXPECT_EQ(plat::GetImageFont(), nullptr);
    const int w = plat::TextWidth("Hello"), h = plat::TextHeight();
    plat::SetImageFont(plat::LoadImageFont(kDejaVu, 14));
    EXPECT_EQ(plat::TextWidth("Hello"), w);
    EXPECT_EQ(plat::TextHeight(), h);
    EXPECT_GT(w, 0);
    plat::SetImageFont(nullptr);
    EXPECT_EQ(GlyphsOf("Hi", 0, 0).size(), 2u);
}

TEST_F(FontTest, OpeningADisplayGoesBackToTheDefaultFont) {
    const int defaultHeight = plat::TextHeight();
    ASSERT_NE(defaultHeight, 10) << "the strike must be told apart from the default";
    const plat::FontPtr strike = plat::LoadImageFont(BitmapFontPath(), 10);
    ASSERT_TRUE(strike);
    for (int depth : {0, 32}) {
        SCOPED_TRACE(depth);
        plat::SetImageFont(strike);
        ASSERT_EQ(plat::TextHeight(), 10);
        ASSERT_TRUE(plat::Graphics(800, 600, depth));
        EXPECT_EQ(plat::GetImageFont(), nullptr);
        EXPECT_EQ(plat::TextHeight(), defaultHeight);
    }
}

TEST_F(FontTest, StylesChangeTheGlyphs) {
    plat::SetImageFont(plat::LoadImageFont(kDejaVu, 24, plat::SMOOTHFONT));
    const int plain = plat::TextWidth("Hello, world");
    plat::SetImageFont(plat::LoadImageFont(kDejaVu, 24, plat::SMOOTHFONT | plat::BOLDFONT));
    EXPECT_GT(plat::TextWidth("Hello, world"), plain);
    plat::SetImageFont(plat::LoadImageFont(kDejaVu, 24, plat::SMOOTHFONT | plat::ITALICFONT));
    EXPECT_EQ(plat::TextWidth("Hello, world"), plain);
}

// ---- glyph pictures -------------------------------------------------------------------

// White pixels with the coverage as alpha; a transparent one-pixel border.
TEST_F(FontTest, GlyphPicturesArePaddedWhiteCoverage) {
    const struct {
        const char* name;
        std::string path;
        int size, style;
        bool onlyFullOrEmpty;
    } cases[] = {
        {"bitmap strike", BitmapFontPath(), 10, plat::SMOOTHFONT, true},
        {"smooth", kDejaVu, 28, plat::SMOOTHFONT, false},
        {"monochrome", kDejaVu, 28, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plat::SetImageFont(plat::LoadImageFont(c.path, c.size, c.style));
        auto glyphs = GlyphsOf("A", 0, 0);
        ASSERT_EQ(glyphs.size(), 1u);
        const plat::Image* img = glyphs[0].image;
        ASSERT_NE(img, nullptr);
        ASSERT_EQ(img->frames.size(), 1u);
        const plat::PixmapPtr& pm = img->frames[0];
        bool partial = false, full = false;
        for (int y = 0; y < pm->height; ++y)
            for (int x = 0; x < pm->width; ++x) {
                const uint32_t argb = plat::ReadPixel(pm, x, y);
                const uint32_t a = argb >> 24;
                EXPECT_EQ(argb & 0xFFFFFFu, 0xFFFFFFu) << x << "," << y;
                if (x == 0 || y == 0 || x == pm->width - 1 || y == pm->height - 1) {
                    EXPECT_EQ(a, 0u) << x << "," << y;
                }
                if (a == 255) full = true;
                if (a > 0 && a < 255) partial = true;
            }
        EXPECT_TRUE(full);
        EXPECT_EQ(partial, !c.onlyFullOrEmpty);
    }
}

TEST_F(FontTest, BitmapGlyphMatchesItsRowsInsideThePadding) {
    plat::SetImageFont(plat::LoadImageFont(BitmapFontPath(), 10));
    auto glyphs = GlyphsOf("A", 0, 0);
    ASSERT_EQ(glyphs.size(), 1u);
    const plat::PixmapPtr& pm = glyphs[0].image->frames[0];
    ASSERT_EQ(pm->width, 7);
    ASSERT_EQ(pm->height, 8);
    const char* rows[] = {"       ", "   #   ", "  # #  ", " #   # ", " ##### ", " #   # ", " #   # ", "       "};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(plat::ReadPixel(pm, x, y) >> 24, rows[y][x] == '#' ? 255u : 0u) << x << "," << y;
}

// ---- drawing --------------------------------------------------------------------------

TEST_F(FontTest, DrawTextRecordsTheTextAndPlacesEachGlyph) {
    plat::SetImageFont(plat::LoadImageFont(BitmapFontPath(), 10));
    plat::testing::ClearDrawCalls();
    plat::DrawText("A B\n\xe9", 100, 50);
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].kind, DrawCall::TEXT);
    EXPECT_EQ(calls[0].text, "A B\n\xe9");
    EXPECT_FLOAT_EQ(calls[0].x, 100);
    EXPECT_FLOAT_EQ(calls[0].y, 50);
    EXPECT_EQ(Calls(DrawCall::TEXT).size(), 1u);
    // Glyph picture = pen + (left - 1, ascent - top - 1); the space and the
    // control byte draw nothing, the space still moves the pen.
    const auto glyphs = Calls(DrawCall::IMAGE);
    const float expected[][2] = {{99, 51}, {110, 55}, {116, 50}};
    ASSERT_EQ(glyphs.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(glyphs[i].x, expected[i][0]);
        EXPECT_FLOAT_EQ(glyphs[i].y, expected[i][1]);
        EXPECT_NE(glyphs[i].image, nullptr);
    }
    EXPECT_NE(glyphs[0].image, glyphs[1].image);
}

TEST_F(FontTest, GlyphsFollowScaleRotationAndHandle) {
    plat::SetImageFont(plat::LoadImageFont(BitmapFontPath(), 10));
    // "AB": glyph corners (-1, 1) and (6, 5) from the text's position before
    // the handle is taken off.
    const struct {
        float rotation, sx, sy, hx, hy;
        float ax, ay, bx, by;  // x' = x*cos*sx - y*sin*sy, y' = x*sin*sx + y*cos*sy
    } cases[] = {
        {0, 1, 1, 0, 0, -1, 1, 6, 5},
        {0, 2, 3, 0, 0, -2, 3, 12, 15},
        {90, 1, 1, 0, 0, -1, -1, -5, 6},
        {90, 2, 3, 0, 0, -3, -2, -15, 12},
        {180, 1, 1, 0, 0, 1, -1, -6, -5},
        {-90, 2, 1, 0, 0, 1, 2, 5, -12},
        {0, 1, 1, 4, 2, -5, -1, 2, 3},
        {90, 2, 3, 4, 2, 3, -10, -9, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "rot " << c.rotation << " scale " << c.sx << "," << c.sy << " handle "
                                          << c.hx << "," << c.hy);
        plat::SetRotation(c.rotation);
        plat::SetScale(c.sx, c.sy);
        plat::SetHandle(c.hx, c.hy);
        const auto glyphs = GlyphsOf("AB", 200, 300);
        ASSERT_EQ(glyphs.size(), 2u);
        EXPECT_NEAR(glyphs[0].x, 200 + c.ax, 1e-3);
        EXPECT_NEAR(glyphs[0].y, 300 + c.ay, 1e-3);
        EXPECT_NEAR(glyphs[1].x, 200 + c.bx, 1e-3);
        EXPECT_NEAR(glyphs[1].y, 300 + c.by, 1e-3);
        for (const DrawCall& g : glyphs) {  // each picture turns and grows with the text
            EXPECT_FLOAT_EQ(g.rotation, c.rotation);
            EXPECT_FLOAT_EQ(g.sx, c.sx);
            EXPECT_FLOAT_EQ(g.sy, c.sy);
        }
    }
}

// The pen moves by each glyph's exact advance: the nth glyph of a run of one
// character sits n advances after the first, and TextWidth of the character
// is that advance truncated. Hinted faces have whole-pixel advances; the
// emboldened ones have fractions, which the pen keeps and TextWidth drops.
TEST_F(FontTest, TrueTypePenMovesByTheAdvances) {
    bool sawFraction = false;
    for (int style : {int(plat::SMOOTHFONT), plat::SMOOTHFONT | plat::BOLDFONT}) {
        for (int size : {16, 22, 24, 28, 40}) {
            SCOPED_TRACE(::testing::Message() << "size " << size << " style " << style);
            plat::SetImageFont(plat::LoadImageFont(kDejaVu, size, style));
            for (const char* ch : {"i", "W", "m", "\xe9", "1"}) {
                SCOPED_TRACE(ch);
                const std::string run = std::string(ch) + ch + ch + ch + ch + ch + ch + ch + ch + ch;
                const auto glyphs = GlyphsOf(run, 10, 20);
                ASSERT_EQ(glyphs.size(), 10u);
                const float advance = (glyphs[9].x - glyphs[0].x) / 9;
                for (int k = 1; k < 10; ++k) EXPECT_NEAR(glyphs[k].x - glyphs[0].x, k * advance, 1e-3);
                for (const DrawCall& g : glyphs) EXPECT_FLOAT_EQ(g.y, glyphs[0].y);
                EXPECT_EQ(plat::TextWidth(ch), static_cast<int>(std::floor(advance + 1e-4f)));
                EXPECT_EQ(plat::TextWidth(run), 10 * plat::TextWidth(ch));
                if (advance - std::floor(advance + 1e-4f) > 0.01f) sawFraction = true;
            }
            // Rotated a quarter turn the same pen walks down the screen.
            const auto alone = GlyphsOf("AV", 0, 0);
            plat::SetRotation(90);
            const auto turned = GlyphsOf("AV", 0, 0);
            plat::SetRotation(0);
            ASSERT_EQ(alone.size(), 2u);
            ASSERT_EQ(turned.size(), 2u);
            for (size_t i = 0; i < 2; ++i) {
                EXPECT_NEAR(turned[i].x, -alone[i].y, 1e-3);
                EXPECT_NEAR(turned[i].y, alone[i].x, 1e-3);
            }
        }
    }
    EXPECT_TRUE(sawFraction);
}

TEST_F(FontTest, EveryByteIsSafe) {
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
    for (plat::FontPtr f : {plat::LoadImageFont(kDejaVu, 16), plat::LoadImageFont(BitmapFontPath(), 10)}) {
        ASSERT_NE(f, nullptr);
        plat::SetImageFont(f);
        plat::DrawText(all, 0, 0);
        int sum = 0;
        for (char ch : all) sum += plat::TextWidth(std::string(1, ch));
        EXPECT_EQ(plat::TextWidth(all), sum);
        for (int c = 0; c < 32; ++c) EXPECT_EQ(plat::TextWidth(std::string(1, static_cast<char>(c))), 0) << c;
    }
}

}  // namespace
