// Bitmap fonts: glyphs cut from small in-memory sheets, letter lookup, and
// drawing a letter.
#include "ui/font.h"
#include "ui_fixture.h"

namespace {

class Fonts : public UiTest {
protected:
    // A clear sheet; Ink fills columns x0..x1-1 of a band with one pixel
    // per column (the middle row of the band), or the whole band height.
    static plat::PixmapPtr Sheet(int w, int h) { return Filled(w, h, 0x00FF00FFu); }
    static void Ink(const plat::PixmapPtr& p, int x0, int x1, int band, int lineHeight, uint32_t argb = 0xFF102030u,
                    bool full = false) {
        for (int x = x0; x < x1; ++x)
            for (int r = 0; r < lineHeight; ++r)
                if (full || r == lineHeight / 2) plat::WritePixel(p, x, band * lineHeight + r, argb);
    }
    struct Want { std::string ch; int imageWidth; float advance; };
    static void ExpectLetters(const TFontPtr& f, const std::vector<Want>& want, float lineHeight) {
        const auto letters = f->letters->ToArray();
        ASSERT_EQ(letters.size(), want.size() + 1) << "plus the space letter";
        for (size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(letters[i]->character, want[i].ch);
            EXPECT_EQ(plat::ImageWidth(letters[i]->image), want[i].imageWidth);
            EXPECT_EQ(plat::ImageHeight(letters[i]->image), static_cast<int>(lineHeight));
            EXPECT_FLOAT_EQ(letters[i]->dim->width, want[i].advance);
            EXPECT_FLOAT_EQ(letters[i]->dim->height, lineHeight);
            EXPECT_FLOAT_EQ(letters[i]->dim->scaleX, 1.0f);
            EXPECT_EQ(letters[i]->alpha, 1.0f);
        }
        const TLetterPtr space = letters.back();
        EXPECT_EQ(space->character, " ");
        EXPECT_FLOAT_EQ(space->dim->width, lineHeight / 2);
        EXPECT_EQ(plat::ImageWidth(space->image), static_cast<int>(lineHeight / 2));
        EXPECT_EQ(plat::ReadPixel(space->image->frames[0], 0, 0), 0u);
    }
};

TEST_F(Fonts, GlyphsAreCutBandByBandLeftToRight) {
    auto sheet = Sheet(40, 20);
    Ink(sheet, 2, 5, 0, 10);
    Ink(sheet, 8, 10, 0, 10);
    Ink(sheet, 1, 4, 1, 10);
    Ink(sheet, 10, 16, 1, 10, 0xFFABCDEFu, true);
    auto f = CreateFont(sheet, "abcdxyz", 10, 0);
    EXPECT_EQ(f->characters, "abcdxyz");
    EXPECT_EQ(f->lineHeight, 10.0f);
    ExpectLetters(f, {{"a", 3, 3}, {"b", 2, 2}, {"c", 3, 3}, {"d", 6, 6}}, 10);
    // The glyph's picture is the band's pixels, ink and clear alike.
    const auto d = f->GetLetter("d");
    EXPECT_EQ(plat::ReadPixel(d->image->frames[0], 0, 0), 0xFFABCDEFu);
    EXPECT_EQ(plat::ReadPixel(d->image->frames[0], 5, 9), 0xFFABCDEFu);
    EXPECT_EQ(plat::ReadPixel(f->GetLetter("a")->image->frames[0], 0, 0) >> 24, 0u);
}

TEST_F(Fonts, InkIsAnyAlphaAboveZeroWhateverTheColour) {
    auto sheet = Sheet(20, 8);
    Ink(sheet, 1, 2, 0, 8, 0x01000000u);  // nearly clear, but ink
    Ink(sheet, 3, 5, 0, 8, 0x00FFFFFFu);  // white but fully clear: not ink
    Ink(sheet, 6, 7, 0, 8);
    Ink(sheet, 8, 9, 0, 8);  // one clear column between: two glyphs
    auto f = CreateFont(sheet, "pqr", 8, 0);
    ExpectLetters(f, {{"p", 1, 1}, {"q", 1, 1}, {"r", 1, 1}}, 8);
    EXPECT_EQ(f->alpha(0x80FFFFFFu), 0x80);
    EXPECT_EQ(f->alpha(0x00FFFFFFu), 0);
}

TEST_F(Fonts, OnlyWholeBandsAreRead) {
    auto sheet = Sheet(20, 35);  // three and a half bands
    Ink(sheet, 1, 3, 0, 10);
    Ink(sheet, 1, 4, 2, 10);
    for (int x = 6; x < 9; ++x) plat::WritePixel(sheet, x, 32, 0xFF000000u);  // in the half band
    auto f = CreateFont(sheet, "abc", 10, 0);
    ExpectLetters(f, {{"a", 2, 2}, {"b", 3, 3}}, 10);
}

TEST_F(Fonts, TheSpacingCutShortensOnlyTheAdvance) {
    auto sheet = Sheet(40, 32);
    Ink(sheet, 1, 11, 0, 32);   // 10 wide
    Ink(sheet, 13, 16, 0, 32);  // 3 wide
    Ink(sheet, 18, 20, 0, 32);  // 2 wide
    auto f = CreateFont(sheet, "wij", 32, 3);
    ExpectLetters(f, {{"w", 10, 7}, {"i", 3, 0}, {"j", 2, -1}}, 32);
}

TEST_F(Fonts, TheGameFontsSpaceLettersAreHalfALineHeight) {
    struct { float lineHeight; float width; } cases[] = {{30, 15}, {32, 16}, {31, 15.5f}};
    for (const auto& c : cases) {
        auto sheet = Sheet(10, static_cast<int>(c.lineHeight));
        auto f = CreateFont(sheet, "a", c.lineHeight, 0);
        ASSERT_EQ(f->letters->Count(), 1);
        EXPECT_FLOAT_EQ(f->GetLetter(" ")->dim->width, c.width);
        EXPECT_EQ(plat::ImageWidth(f->GetLetter(" ")->image), static_cast<int>(c.lineHeight) / 2);
    }
}

TEST_F(Fonts, GetLetterFallsBackToTheLastSpaceLetter) {
    auto sheet = Sheet(20, 10);
    Ink(sheet, 1, 3, 0, 10);
    Ink(sheet, 5, 6, 0, 10);
    Ink(sheet, 8, 12, 0, 10);
    auto f = CreateFont(sheet, "a b", 10, 0);  // the sheet's own " " glyph comes first
    const auto letters = f->letters->ToArray();
    ASSERT_EQ(letters.size(), 4u);
    const TLetterPtr blank = letters.back();
    EXPECT_EQ(f->GetLetter("a"), letters[0]);
    EXPECT_EQ(f->GetLetter("b"), letters[2]);
    EXPECT_EQ(f->GetLetter(" "), letters[1]);  // an exact match comes first
    for (const char* s : {"A", "ab", "", "z"}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(f->GetLetter(s), blank);
    }
    EXPECT_EQ(f->letters->ToArray(), letters);  // the lookup leaves the order alone
}

TEST_F(Fonts, DrawingALetterScalesAboutItsAdvanceBoxAndRestoresTheState) {
    auto img = Image(10, 32);
    auto l = CreateLetter(img, "w", CreateDim(100, 50, 7, 32, 0, 2, 2, 0));
    l->alpha = 0.5f;
    plat::SetColor(10, 20, 30);
    l->Draw();
    const auto calls = CallsOf(img);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FLOAT_EQ(calls[0].x, 96.5f);
    EXPECT_FLOAT_EQ(calls[0].y, 34.0f);
    EXPECT_FLOAT_EQ(calls[0].sx, 2.0f);
    EXPECT_NEAR(calls[0].alpha, 0.5f, 1e-6);
    EXPECT_EQ(calls[0].r, 10);  // the colour in force
    float sx = 0, sy = 0;
    plat::GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(plat::GetAlpha(), 1.0f);
    int r, g, b;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 10);
}

// Sheets that break the layout rules still give a usable font.
TEST_F(Fonts, ABandEndsAnyOpenGlyphAndExtraGlyphsAreDropped) {
    auto sheet = Sheet(12, 20);
    Ink(sheet, 9, 12, 0, 10);  // touches the right edge
    Ink(sheet, 0, 2, 1, 10);   // starts at the left edge of the next band
    auto f = CreateFont(sheet, "xy", 10, 0);
    ExpectLetters(f, {{"x", 3, 3}, {"y", 2, 2}}, 10);

    auto many = Sheet(20, 10);
    Ink(many, 1, 2, 0, 10);
    Ink(many, 4, 5, 0, 10);
    Ink(many, 7, 9, 0, 10);
    auto g = CreateFont(many, "ab", 10, 0);  // three glyphs, two characters
    ExpectLetters(g, {{"a", 1, 1}, {"b", 1, 1}}, 10);
}

TEST_F(Fonts, AnUnreadableSheetGivesAFontOfTheSpaceLetterOnly) {
    auto f = CreateFont(std::string("gfx/fonts/none-such.png"), "abc", 30, 0);
    ASSERT_TRUE(f);
    ASSERT_EQ(plat::testing::Notifications().size(), 1u);  // the loader's message, and only it
    EXPECT_NE(plat::testing::Notifications()[0].find("gfx/fonts/none-such.png"), std::string::npos);
    EXPECT_EQ(f->letters->Count(), 1);
    EXPECT_EQ(f->GetLetter("a")->character, " ");

    auto low = CreateFont(Sheet(10, 5), "a", 10, 0);  // lower than one band
    EXPECT_EQ(low->letters->Count(), 1);
    auto flat = CreateFont(Sheet(10, 5), "a", 0, 0);  // no line height at all
    EXPECT_EQ(flat->letters->Count(), 1);
    Clear();
    flat->GetLetter("a")->Draw();  // an empty picture draws nothing
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
}

}  // namespace
