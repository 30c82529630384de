// The toolkit on the real device (SDL's offscreen driver): an image frame, a
// colour frame, bitmap-font text and a menu of two buttons, read back and saved as
// test-output/ui_widgets.png for a person to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "platform/plat.h"
#include "ui/font.h"
#include "ui/frame.h"
#include "ui/button_image.h"
#include "ui/menu.h"
#include "ui/text.h"

namespace {

struct Rgb { int r, g, b; };

::testing::AssertionResult Near(const plat::PixmapPtr& shot, int x, int y, Rgb want, int tolerance, const char* what) {
    const uint32_t px = plat::ReadPixel(shot, x, y);
    const int r = (px >> 16) & 255, g = (px >> 8) & 255, b = px & 255;
    if (std::abs(r - want.r) <= tolerance && std::abs(g - want.g) <= tolerance && std::abs(b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " at " << x << "," << y << ": got " << r << "," << g << "," << b
                                         << " want " << want.r << "," << want.g << "," << want.b;
}

// A piece of a gilded frame: a vertical or horizontal shading across its
// thickness, brightest in the middle.
plat::PixmapPtr Gilded(int w, int h, bool acrossRows) {
    plat::PixmapPtr p = plat::CreatePixmap(w, h, plat::PF_RGBA, 4);
    const int n = acrossRows ? h : w;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = acrossRows ? y : x;
            const float t = 1.0f - std::abs((i + 0.5f) / n - 0.5f) * 2.0f;  // 0 at the rims, 1 in the middle
            const uint32_t r = static_cast<uint32_t>(120 + 110 * t), g = static_cast<uint32_t>(85 + 95 * t),
                           b = static_cast<uint32_t>(30 + 50 * t);
            plat::WritePixel(p, x, y, 0xFF000000u | r << 16 | g << 8 | b);
        }
    return p;
}

class UiDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(plat::Graphics(800, 600)) << "no display: is SDL_VIDEODRIVER=offscreen available?";
    }
    void TearDown() override { plat::EndGraphics(); }

    // A glyph sheet of one band, rendered from a TrueType font on the device
    // itself: white letters on black read back, their brightness made alpha.
    static TFontPtr RenderedFont(const std::string& characters) {
        const plat::FontPtr tt = plat::LoadImageFont("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 22);
        if (!tt) return nullptr;
        plat::SetClsColor(0, 0, 0);
        plat::Cls();
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetColor(255, 255, 255);
        plat::SetImageFont(tt);
        for (size_t i = 0; i < characters.size(); ++i)
            plat::DrawText(std::string(1, characters[i]), 4.0f + 30.0f * static_cast<float>(i), 2);
        const plat::PixmapPtr shot = plat::GrabPixmap(0, 0, 800, 32);
        plat::SetImageFont(nullptr);
        if (!shot) return nullptr;
        plat::PixmapPtr sheet = plat::CreatePixmap(800, 32, plat::PF_RGBA, 4);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint32_t px = plat::ReadPixel(shot, x, y);
                const uint32_t a = std::max({(px >> 16) & 255u, (px >> 8) & 255u, px & 255u});
                plat::WritePixel(sheet, x, y, a << 24 | 0xFFFFFFu);
            }
        return CreateFont(sheet, characters, 32, -2);  // a negative cut spaces the letters
    }
};

TEST_F(UiDisplay, DrawsFramesAndBitmapFontText) {
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
    TFontPtr font = RenderedFont(alphabet);
    ASSERT_TRUE(font) << "fonts-dejavu-core is one of the packages scripts/setup installs";
    ASSERT_EQ(font->letters->Count(), static_cast<int>(alphabet.size()) + 1) << "one letter a glyph, and the space";

    plat::SetClsColor(24, 28, 44);
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);

    // The nine-piece frame around a dark panel.
    auto panel = CreateDim(200, 120, 400, 220, 0, 1, 1, 0);
    auto frame = CreateImageFrame(panel, 1, 1.0f, 0);
    auto corner = plat::LoadImage(Gilded(18, 18, true), 0);
    for (int p : {0, 2, 5, 7}) frame->AddImage(corner, p);
    auto horizontal = plat::LoadImage(Gilded(8, 18, true), 0);
    auto vertical = plat::LoadImage(Gilded(18, 8, false), 0);
    frame->AddImage(horizontal, 1);
    frame->AddImage(horizontal, 6);
    frame->AddImage(vertical, 3);
    frame->AddImage(vertical, 4);
    plat::PixmapPtr centre = plat::CreatePixmap(8, 8, plat::PF_RGBA, 4);
    plat::ClearPixels(centre, 0xFF1E2A5Au);
    frame->AddImage(plat::LoadImage(centre, 0), 8);
    frame->Draw();

    // Two lines of bitmap-font text in the panel, the second wrapped by a memo.
    plat::SetColor(255, 224, 140);
    auto title = CreateText("quillimar", CreateDim(230, 150, 0, 0, 0, 1, 1, 0), font, 1.0f, 0, 0, 0);
    title->Draw();
    auto memo = CreateMemo(font, "frames and letters cut from a sheet", CreateDim(230, 200, 340, 40, 0, 1, 1, 0), 1,
                           0.9f);
    memo->Draw();
    plat::SetColor(255, 255, 255);

    // A colour frame below it.
    auto bar = CreateDim(200, 400, 400, 60, 6, 1, 1, 0);
    CreateColorFrame(bar, CreateColor(0xB04030), 1, CreateColor(0x302018), 1.0f, 0)->Draw();

    // A menu of two image buttons under the panel; the pointer is off both,
    // so each draws in its resting look.
    plat::PixmapPtr face = plat::CreatePixmap(120, 40, plat::PF_RGBA, 4);
    plat::ClearPixels(face, 0xFF2E7D32u);
    auto menu = std::make_shared<TMenu>();
    menu->AddItem(CreateImageButton(plat::LoadImage(face, 0), CreateDim(250, 500, 0, 0, 0, 1, 1, 0), 1, 1.0f, 0));
    menu->AddItem(CreateImageButton(plat::LoadImage(face, 0), CreateDim(430, 500, 0, 0, 0, 1, 1, 0), 2, 1.0f, 0));
    menu->Draw(1.0f);

    plat::PixmapPtr shot = plat::GrabPixmap(0, 0, 800, 600);
    ASSERT_TRUE(shot);
    const char* outDir = QUILL_TEST_OUTPUT_DIR;
    mkdir(outDir, 0755);
    EXPECT_TRUE(plat::SavePixmapPNG(shot, std::string(outDir) + "/ui_widgets.png"));

    EXPECT_TRUE(Near(shot, 24, 24, {24, 28, 44}, 0, "background"));
    EXPECT_TRUE(Near(shot, 400, 300, {0x1E, 0x2A, 0x5A}, 2, "panel centre"));
    EXPECT_TRUE(Near(shot, 400, 111, {230, 180, 80}, 12, "top edge, middle of its thickness"));
    EXPECT_TRUE(Near(shot, 191, 230, {230, 180, 80}, 12, "left edge, middle of its thickness"));
    EXPECT_TRUE(Near(shot, 191, 111, {230, 180, 80}, 12, "top-left corner"));
    EXPECT_TRUE(Near(shot, 608, 349, {230, 180, 80}, 12, "bottom-right corner"));
    EXPECT_TRUE(Near(shot, 197, 430, {0xB0, 0x40, 0x30}, 0, "colour frame's left bar"));
    EXPECT_TRUE(Near(shot, 400, 430, {0x30, 0x20, 0x18}, 0, "colour frame's fill"));
    EXPECT_TRUE(Near(shot, 310, 520, {0x2E, 0x7D, 0x32}, 2, "first menu button"));
    EXPECT_TRUE(Near(shot, 490, 520, {0x2E, 0x7D, 0x32}, 2, "second menu button"));
    EXPECT_TRUE(Near(shot, 400, 520, {24, 28, 44}, 0, "between the menu buttons"));

    // The letters are there, in the text colour, and only where text was drawn.
    int lit = 0;
    for (int y = 150; y < 182; ++y)
        for (int x = 230; x < 230 + static_cast<int>(title->Width()); ++x) {
            const uint32_t px = plat::ReadPixel(shot, x, y);
            if (((px >> 16) & 255) > 200 && ((px >> 8) & 255) > 170) ++lit;
        }
    EXPECT_GT(lit, 200) << "bitmap-font title";
    int memoLit = 0;
    for (int y = 232; y < 264; ++y)  // the memo's second line
        for (int x = 230; x < 570; ++x)
            if (((plat::ReadPixel(shot, x, y) >> 16) & 255) > 200) ++memoLit;
    EXPECT_GT(memoLit, 200) << "wrapped memo line";
    EXPECT_TRUE(Near(shot, 590, 165, {0x1E, 0x2A, 0x5A}, 2, "panel right of the title"));
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
