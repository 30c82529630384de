// Images: loading flags, masking, sheet cutting, handles, the power-of-two
// texture layout, lazy textures across display changes, and draws that must
// draw nothing.
#include <climits>
#include <cstdio>

#include "gfx_fixture.h"
#include "support/scratch.h"

namespace {
using namespace plat;
namespace pt = plat::testing;
using gfxtest::Headless;
using Call = pt::DrawCall;

using Images = Headless;

constexpr uint32_t kMagenta = 0xFFFF00FFu, kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

TEST_F(Images, NextPow2StopsAt2To30) {
    const std::pair<int, int> table[] = {{INT_MIN, 1}, {-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 4}, {17, 32},
                                         {600, 1024}, {1024, 1024}, {1025, 2048}, {1 << 30, 1 << 30},
                                         {(1 << 30) + 1, 1 << 30}, {INT_MAX, 1 << 30}};
    for (auto [in, out] : table) EXPECT_EQ(NextPow2(in), out) << in;
}

TEST_F(Images, TexturesArePowersOfTwoWithThePictureTopLeft) {
    ASSERT_TRUE(Graphics(800, 600));
    struct Case { int w, h, tw, th; };
    for (const Case& c : {Case{20, 10, 32, 16}, Case{1, 1, 1, 1}, Case{64, 33, 64, 64}, Case{800, 600, 1024, 1024}}) {
        ImagePtr img = CreateImage(c.w, c.h);
        int tw = 0, th = 0;
        ImageTextureSize(img, tw, th);
        EXPECT_EQ(tw, c.tw);
        EXPECT_EQ(th, c.th);
        pt::ClearDrawCalls();
        DrawImage(img, 0, 0);
        const Call& call = pt::DrawCalls().at(0);
        const float u = float(c.w) / float(c.tw), v = float(c.h) / float(c.th);
        EXPECT_EQ(call.uv, (std::vector<float>{0, 0, u, 0, u, v, 0, v})) << c.w << "x" << c.h;
    }
    int tw = 7, th = 7;
    ImageTextureSize(nullptr, tw, th);
    EXPECT_EQ(tw, 0);
    EXPECT_EQ(th, 0);
}

TEST_F(Images, PaddingRepeatsTheLastColumnAndRow) {
    PixmapPtr p = CreatePixmap(2, 2, PF_RGBA, 4);
    WritePixel(p, 0, 0, 0xFF010203u);
    WritePixel(p, 1, 0, 0xFF040506u);
    WritePixel(p, 0, 1, 0xFF070809u);
    WritePixel(p, 1, 1, 0x800A0B0Cu);
    const std::vector<uint8_t> t = detail::PadToTexture(*p, 4, 4);
    ASSERT_EQ(t.size(), 64u);
    auto px = [&](int x, int y) {
        const uint8_t* q = &t[static_cast<size_t>((y * 4 + x) * 4)];
        return (uint32_t(q[3]) << 24) | (uint32_t(q[0]) << 16) | (uint32_t(q[1]) << 8) | q[2];
    };
    EXPECT_EQ(px(0, 0), 0xFF010203u);
    EXPECT_EQ(px(1, 1), 0x800A0B0Cu);
    EXPECT_EQ(px(3, 0), 0xFF040506u);
    EXPECT_EQ(px(0, 3), 0xFF070809u);
    EXPECT_EQ(px(3, 3), 0x800A0B0Cu);
}

TEST_F(Images, FlagsMinusOneMeanMaskedAndFiltered) {
    PixmapPtr p = Filled(4, 4, kRed, PF_RGB);
    for (auto [in, out] : {std::pair{-1, 3}, std::pair{0, 0}, std::pair{7, 7}, std::pair{2, 2}})
        EXPECT_EQ(LoadImage(p, in)->flags, out) << in;
    EXPECT_EQ(CreateImage(1, 1)->flags, 3);
}

// Mask colour 255,0,255; which pixmaps lose their magenta.
TEST_F(Images, MaskingAppliesOnlyToPixmapsWithoutAlpha) {
    SetMaskColor(255, 0, 255);
    struct Case { int format; int flags; bool transparent; };
    const Case cases[] = {
        {PF_RGB, MASKEDIMAGE, true},  {PF_BGR, -1, true},         {PF_RGB, 0, false},
        {PF_RGB, FILTEREDIMAGE, false}, {PF_RGBA, MASKEDIMAGE, false}, {PF_BGRA, -1, false},
    };
    for (const Case& c : cases) {
        PixmapPtr p = Filled(3, 3, kRed, c.format);
        WritePixel(p, 1, 1, kMagenta);
        ImagePtr img = LoadImage(p, c.flags);
        ASSERT_TRUE(img);
        const uint32_t got = ReadPixel(LockImage(img), 1, 1);
        if (c.transparent) {
            EXPECT_EQ(got >> 24, 0u) << "format " << c.format << " flags " << c.flags;
        } else {
            EXPECT_EQ(got, kMagenta) << "format " << c.format << " flags " << c.flags;
        }
        EXPECT_EQ(ReadPixel(LockImage(img), 0, 0), kRed) << "other pixels untouched";
    }
}

TEST_F(Images, MaskedPixelsTakeTheirNeighboursColourSoNoMaskColourBleeds) {
    SetMaskColor(255, 0, 255);
    // Left half red, right half blue, a masked column between, and a masked
    // block in the corner with no unmasked neighbour at all.
    PixmapPtr p = CreatePixmap(7, 5, PF_RGB, 4);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) WritePixel(p, x, y, x < 3 ? kRed : (x == 3 ? kMagenta : kBlue));
    for (int y = 0; y < 2; ++y)
        for (int x = 5; x < 7; ++x) WritePixel(p, x, y, kMagenta);
    ImagePtr img = LoadImage(p, MASKEDIMAGE | FILTEREDIMAGE);
    PixmapPtr f = LockImage(img);
    EXPECT_EQ(ReadPixel(f, 3, 3), 0x007F007Fu) << "average of red and blue neighbours, transparent";
    EXPECT_EQ(ReadPixel(f, 5, 1), 0x000000FFu) << "next to blue only";
    EXPECT_EQ(ReadPixel(f, 6, 0), 0x00000000u) << "no unmasked neighbour: black";
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint32_t px = ReadPixel(f, x, y);
            EXPECT_FALSE((px & 0xFFFFFF) == 0xFF00FF) << x << "," << y << " kept the mask colour";
        }
}

TEST_F(Images, MaskColourDefaultsToBlackAndIsClamped) {
    PixmapPtr p = Filled(2, 1, 0xFF000000u, PF_RGB);
    EXPECT_EQ(ReadPixel(LockImage(LoadImage(p, MASKEDIMAGE)), 0, 0) >> 24, 0u);
    SetMaskColor(300, -4, 300);
    WritePixel(p, 1, 0, kMagenta);
    ImagePtr img = LoadImage(p, MASKEDIMAGE);
    EXPECT_EQ(ReadPixel(LockImage(img), 1, 0) >> 24, 0u);
    EXPECT_EQ(ReadPixel(LockImage(img), 0, 0), 0xFF000000u);
}

// A sheet of 3 x 2 cells of 4 x 3 pixels, each cell filled with its index,
// plus a spare column and row that do not make whole cells.
PixmapPtr Sheet() {
    PixmapPtr p = CreatePixmap(13, 7, PF_RGBA, 4);
    ClearPixels(p, 0xFFFFFFFFu);
    for (int i = 0; i < 6; ++i)
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) WritePixel(p, 4 * (i % 3) + x, 3 * (i / 3) + y, 0xFF000000u | uint32_t(i));
    return p;
}

TEST_F(Images, LoadAnimImageCutsCellsRowByRow) {
    struct Case { int first, count; bool ok; };
    const Case cases[] = {{0, 6, true}, {2, 3, true}, {5, 1, true}, {0, 1, true},
                          {0, 7, false}, {4, 3, false}, {6, 1, false}, {-1, 2, false}, {0, 0, false}};
    for (const Case& c : cases) {
        ImagePtr img = LoadAnimImage(Sheet(), 4, 3, c.first, c.count, 0);
        ASSERT_EQ(img != nullptr, c.ok) << c.first << "+" << c.count;
        if (!img) continue;
        EXPECT_EQ(ImageFrames(img), c.count);
        EXPECT_EQ(ImageWidth(img), 4);
        EXPECT_EQ(ImageHeight(img), 3);
        for (int f = 0; f < c.count; ++f) {
            PixmapPtr px = LockImage(img, f);
            ASSERT_TRUE(px);
            EXPECT_EQ(px->width, 4);
            EXPECT_EQ(ReadPixel(px, 0, 0), 0xFF000000u | uint32_t(c.first + f));
            EXPECT_EQ(ReadPixel(px, 3, 2), 0xFF000000u | uint32_t(c.first + f));
        }
    }
    EXPECT_FALSE(LoadAnimImage(Sheet(), 0, 3, 0, 1, 0));
    EXPECT_FALSE(LoadAnimImage(Sheet(), 14, 3, 0, 1, 0)) << "a cell wider than the sheet";
    EXPECT_FALSE(LoadAnimImage(PixmapPtr{}, 4, 3, 0, 1, 0));
    EXPECT_FALSE(LoadAnimImage(std::string("no/such/sheet.png"), 4, 3, 0, 1));
}

TEST_F(Images, HandlesAreFloatsAndMidHandleHalvesTheSize) {
    ImagePtr img = CreateImage(21, 11);
    EXPECT_EQ(img->handleX, 0.0f);
    MidHandleImage(img);
    EXPECT_EQ(img->handleX, 10.5f);
    EXPECT_EQ(img->handleY, 5.5f);
    SetImageHandle(img, -3.25f, 2);
    EXPECT_EQ(img->handleX, -3.25f);
    MidHandleImage(nullptr);
    SetImageHandle(nullptr, 1, 1);
    EXPECT_EQ(ImageWidth(nullptr), 0);
    EXPECT_EQ(ImageHeight(nullptr), 0);
    EXPECT_EQ(ImageFrames(nullptr), 0);
}

TEST_F(Images, CreateImageAndLockImage) {
    EXPECT_FALSE(CreateImage(0, 5));
    EXPECT_FALSE(CreateImage(5, 5, 0));
    ImagePtr img = CreateImage(3, 2, 2);
    ASSERT_TRUE(img);
    EXPECT_EQ(ImageFrames(img), 2);
    EXPECT_EQ(ReadPixel(LockImage(img, 1), 2, 1), 0u) << "created transparent";
    EXPECT_FALSE(LockImage(img, 2));
    EXPECT_FALSE(LockImage(img, -1));
    EXPECT_FALSE(LockImage(nullptr));
    UnlockImage(img, 5);
    UnlockImage(nullptr);
}

TEST_F(Images, NullImagesAndBadFramesDrawNothing) {
    ASSERT_TRUE(Graphics(800, 600));
    ImagePtr img = CreateImage(8, 8, 2);
    const float xy[] = {0, 0, 1, 0, 1, 1};
    const float uv[] = {0, 0, 1, 0, 1, 1};
    DrawImage(nullptr, 0, 0);
    DrawImage(img, 0, 0, -1);
    DrawImage(img, 0, 0, 2);
    DrawSubImageRect(img, 0, 0, 4, 4, 0, 0, 4, 4, 2);
    DrawSubImageRect(nullptr, 0, 0, 4, 4, 0, 0, 4, 4);
    DrawSubImageRect(img, 0, 0, 4, 4, 0, 0, 0, 4);
    DrawTexturedPoly(img, 3, xy, uv, 3);
    DrawTexturedPoly(nullptr, 0, xy, uv, 3);
    DrawTexturedPoly(img, 0, xy, uv, 2);
    DrawTexturedPoly(img, 0, nullptr, uv, 3);
    DrawPixmap(nullptr, 0, 0);
    EXPECT_TRUE(pt::DrawCalls().empty());
    DrawImage(img, 0, 0, 1);
    EXPECT_EQ(pt::DrawCalls().size(), 1u);
    EXPECT_EQ(pt::DrawCalls()[0].frame, 1);
}

TEST_F(Images, SubImageRectScalesTheRectangleAndCropsTheTextureCoordinates) {
    ASSERT_TRUE(Graphics(800, 600));
    ImagePtr img = CreateImage(40, 20);
    SetImageHandle(img, 4, 2);
    DrawSubImageRect(img, 100, 50, 20, 10, 8, 4, 10, 5);
    const Call& c = pt::DrawCalls().at(0);
    EXPECT_EQ(c.w, 20.0f);
    EXPECT_EQ(c.h, 10.0f);
    // The handle scales with the rectangle (2x here).
    EXPECT_EQ(c.xy, (std::vector<float>{92, 46, 112, 46, 112, 56, 92, 56}));
    EXPECT_EQ(c.uv, (std::vector<float>{8 / 64.f, 4 / 32.f, 18 / 64.f, 4 / 32.f, 18 / 64.f, 9 / 32.f, 8 / 64.f,
                                        9 / 32.f}));
}

TEST_F(Images, TexturesAreMadeOnFirstDrawAndRemadeForANewDisplay) {
    auto& hd = detail::Headless2D();
    ImagePtr img = CreateImage(8, 8);
    ASSERT_TRUE(Graphics(800, 600));
    EXPECT_EQ(img->textures[0], 0u) << "nothing made before the first draw";
    DrawImage(img, 0, 0);
    const unsigned first = img->textures[0];
    EXPECT_NE(first, 0u);
    EXPECT_EQ(hd.liveTextures, 1);
    DrawImage(img, 0, 0);
    EXPECT_EQ(img->textures[0], first) << "kept while the display stays";
    EXPECT_EQ(hd.liveTextures, 1);

    ASSERT_TRUE(Graphics(800, 600, 32));  // a mode change
    EXPECT_EQ(hd.liveTextures, 0);
    DrawImage(img, 0, 0);
    EXPECT_NE(img->textures[0], first) << "rebuilt for the new display";
    EXPECT_EQ(hd.liveTextures, 1);
    EXPECT_EQ(pt::DrawCalls().size(), 3u);

    UnlockImage(img);
    EXPECT_EQ(hd.liveTextures, 0) << "unlocking drops the stale texture";
    DrawImage(img, 0, 0);
    EXPECT_EQ(hd.liveTextures, 1);
    img.reset();
    EXPECT_EQ(hd.liveTextures, 0) << "a dying image frees its texture";
}

TEST_F(Images, AnImageOutlivingItsDisplayFreesNothingOnTheNextOne) {
    auto& hd = detail::Headless2D();
    ASSERT_TRUE(Graphics(800, 600));
    ImagePtr old = CreateImage(4, 4);
    DrawImage(old, 0, 0);
    ASSERT_TRUE(Graphics(640, 480));
    ImagePtr fresh = CreateImage(4, 4);
    DrawImage(fresh, 0, 0);
    ASSERT_EQ(hd.liveTextures, 1);
    old.reset();
    EXPECT_EQ(hd.liveTextures, 1) << "the old name belonged to the closed display";
    EndGraphics();
    fresh.reset();
    EXPECT_EQ(hd.liveTextures, 0);
}

TEST_F(Images, LoadImageFromFilesAndTheJp2Path) {
    const std::string dir = quill_test::ScratchDir();
    const std::string png = dir + "gfx_load_test.png";
    PixmapPtr p = Filled(5, 3, kBlue);
    ASSERT_TRUE(SavePixmapPNG(p, png));
    ImagePtr img = LoadImage(png);
    ASSERT_TRUE(img);
    EXPECT_EQ(ImageWidth(img), 5);
    EXPECT_EQ(img->source, png);
    EXPECT_EQ(ReadPixel(LockImage(img), 4, 2), kBlue);
    ImagePtr viaJp2 = LoadImage(dir + "gfx_load_test.jp2", 0);
    ASSERT_TRUE(viaJp2) << "a .jp2 path loads the PNG of the same name";
    EXPECT_EQ(ImageHeight(viaJp2), 3);
    EXPECT_FALSE(LoadImage(dir + "gfx_no_such_file.png"));
    EXPECT_FALSE(LoadImage(PixmapPtr{}));
    std::remove(png.c_str());
}

}  // namespace
