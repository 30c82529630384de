// Pixmaps in memory: formats, pixel access, conversion, windows, scaling.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/pixmap.h"

using namespace plat;

namespace {

const int kAllFormats[] = {PF_I8, PF_A8, PF_BGR, PF_RGB, PF_BGRA, PF_RGBA};

std::vector<uint8_t> Bytes(const uint8_t* p, int n) { return std::vector<uint8_t>(p, p + n); }

}  // namespace

TEST(PixmapFormat, BytesAndAlphaPerFormat) {
    struct Case {
        int format, bytes;
        bool alpha;
    } cases[] = {{PF_I8, 1, false},  {PF_A8, 1, true},   {PF_BGR, 3, false}, {PF_RGB, 3, false},
                 {PF_BGRA, 4, true}, {PF_RGBA, 4, true}, {0, 0, false},      {7, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(BytesPerPixel(c.format), c.bytes);
        EXPECT_EQ(FormatHasAlpha(c.format), c.alpha);
    }
}

TEST(PixmapCreate, PitchFollowsAlignmentAndPixelsStartAtZero) {
    struct Case {
        int w, h, format, align, pitch;
    } cases[] = {
        {5, 3, PF_RGBA, 4, 20}, {5, 3, PF_RGB, 4, 16},  {5, 3, PF_RGB, 0, 15},  {5, 3, PF_RGB, 1, 15},
        {5, 3, PF_I8, 4, 8},    {5, 3, PF_A8, 8, 8},    {5, 3, PF_BGRA, 16, 32}, {1, 1, PF_I8, 64, 64},
        {7, 2, PF_BGR, 3, 21},  {7, 2, PF_BGR, -2, 21}, {0, 4, PF_RGBA, 4, 0},  {4, 0, PF_RGBA, 4, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " f" << c.format << " a" << c.align);
        PixmapPtr p = CreatePixmap(c.w, c.h, c.format, c.align);
        ASSERT_TRUE(p);
        EXPECT_EQ(PixmapWidth(p), c.w);
        EXPECT_EQ(PixmapHeight(p), c.h);
        EXPECT_EQ(PixmapFormat(p), c.format);
        EXPECT_EQ(PixmapPitch(p), c.pitch);
        ASSERT_GE(p->storage->size(), static_cast<size_t>(c.pitch) * c.h);
        for (uint8_t b : *p->storage) ASSERT_EQ(b, 0);
    }
}

TEST(PixmapCreate, RefusesBadArgumentsAndAllowsEmpty) {
    EXPECT_FALSE(CreatePixmap(-1, 4));
    EXPECT_FALSE(CreatePixmap(4, -1));
    EXPECT_FALSE(CreatePixmap(4, 4, 0));
    EXPECT_FALSE(CreatePixmap(4, 4, 7));
    EXPECT_FALSE(CreatePixmap(1 << 20, 1 << 20));    // sides beyond any int pitch
    EXPECT_FALSE(CreatePixmap(30000, 30000, PF_RGBA));  // gigabytes
    PixmapPtr empty = CreatePixmap(0, 0);
    ASSERT_TRUE(empty);
    EXPECT_EQ(PixmapWidth(empty), 0);
    EXPECT_EQ(PixmapHeight(empty), 0);
    EXPECT_EQ(ReadPixel(empty, 0, 0), 0u);
    WritePixel(empty, 0, 0, 0xFFFFFFFF);  // must not touch anything
    ClearPixels(empty, 0xFFFFFFFF);
    EXPECT_EQ(PixmapPixelPtr(empty), nullptr);
}

TEST(PixmapPixels, WriteThenReadPerFormatWithByteLayout) {
    struct Case {
        int format;
        uint32_t written, read;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {PF_I8, 0x80808080, 0xFF808080, {0x80}},
        // Luminance of pure colours (video weights): red 76, green 150, blue 29.
        {PF_I8, 0xFFFF0000, 0xFF4C4C4C, {0x4C}},
        {PF_I8, 0xFF00FF00, 0xFF969696, {0x96}},
        {PF_I8, 0xFF0000FF, 0xFF1D1D1D, {0x1D}},
        {PF_I8, 0x00FFFFFF, 0xFFFFFFFF, {0xFF}},
        {PF_A8, 0x80123456, 0x80FFFFFF, {0x80}},
        {PF_A8, 0x00FFFFFF, 0x00FFFFFF, {0x00}},
        {PF_BGR, 0x80123456, 0xFF123456, {0x56, 0x34, 0x12}},
        {PF_RGB, 0x80123456, 0xFF123456, {0x12, 0x34, 0x56}},
        {PF_BGRA, 0x80123456, 0x80123456, {0x56, 0x34, 0x12, 0x80}},
        {PF_RGBA, 0x80123456, 0x80123456, {0x12, 0x34, 0x56, 0x80}},
        {PF_RGBA, 0x00000000, 0x00000000, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " argb " << std::hex << c.written);
        PixmapPtr p = CreatePixmap(3, 2, c.format, 4);
        ClearPixels(p, 0xFFABCDEF);
        WritePixel(p, 2, 1, c.written);
        EXPECT_EQ(ReadPixel(p, 2, 1), c.read);
        EXPECT_EQ(Bytes(PixmapPixelPtr(p, 2, 1), BytesPerPixel(c.format)), c.bytes);
        // Neighbours keep the clear colour.
        EXPECT_EQ(ReadPixel(p, 1, 1), ReadPixel(p, 0, 0));
    }
}

TEST(PixmapPixels, OutsideReadsZeroAndWritesNothing) {
    for (int f : kAllFormats) {
        SCOPED_TRACE(f);
        PixmapPtr p = CreatePixmap(3, 2, f, 8);
        ClearPixels(p, 0xFFFFFFFF);
        const std::vector<uint8_t> before = *p->storage;
        const int spots[][2] = {{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {3, 2}, {-100000, 100000}};
        for (const auto& s : spots) {
            EXPECT_EQ(ReadPixel(p, s[0], s[1]), 0u);
            WritePixel(p, s[0], s[1], 0x12345678);
            EXPECT_EQ(PixmapPixelPtr(p, s[0], s[1]), nullptr);
        }
        EXPECT_EQ(*p->storage, before);  // row padding included
    }
    EXPECT_EQ(ReadPixel(nullptr, 0, 0), 0u);
    WritePixel(nullptr, 0, 0, 1);
    EXPECT_EQ(PixmapWidth(nullptr), 0);
    EXPECT_EQ(PixmapHeight(nullptr), 0);
    EXPECT_EQ(PixmapPitch(nullptr), 0);
    EXPECT_EQ(PixmapPixelPtr(nullptr), nullptr);
}

TEST(PixmapConvert, KnownRuns) {
    struct Case {
        int from;
        std::vector<uint8_t> src;
        int to;
        std::vector<uint8_t> dst;
    } cases[] = {
        {PF_RGBA, {1, 2, 3, 4, 5, 6, 7, 8}, PF_BGRA, {3, 2, 1, 4, 7, 6, 5, 8}},
        {PF_BGRA, {3, 2, 1, 4, 7, 6, 5, 8}, PF_RGBA, {1, 2, 3, 4, 5, 6, 7, 8}},
        {PF_RGB, {1, 2, 3, 4, 5, 6}, PF_RGBA, {1, 2, 3, 255, 4, 5, 6, 255}},
        {PF_BGR, {1, 2, 3, 4, 5, 6}, PF_RGBA, {3, 2, 1, 255, 6, 5, 4, 255}},
        {PF_RGBA, {1, 2, 3, 4}, PF_RGB, {1, 2, 3}},
        {PF_RGBA, {1, 2, 3, 4}, PF_BGR, {3, 2, 1}},
        {PF_RGBA, {1, 2, 3, 4, 9, 9, 9, 200}, PF_A8, {4, 200}},
        {PF_I8, {0, 77, 255}, PF_RGB, {0, 0, 0, 77, 77, 77, 255, 255, 255}},
        {PF_I8, {77}, PF_A8, {255}},
        {PF_A8, {0, 77}, PF_RGBA, {255, 255, 255, 0, 255, 255, 255, 77}},
        {PF_A8, {77}, PF_I8, {255}},
        {PF_RGB, {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 10, 10}, PF_I8, {76, 150, 29, 10}},
        {PF_RGB, {1, 2, 3}, PF_RGB, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        const int n = static_cast<int>(c.src.size()) / BytesPerPixel(c.from);
        std::vector<uint8_t> out(c.dst.size() + 4, 0xEE);
        ConvertPixels(c.src.data(), c.from, out.data(), c.to, n);
        EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + static_cast<long>(c.dst.size())), c.dst);
        for (size_t i = c.dst.size(); i < out.size(); ++i) EXPECT_EQ(out[i], 0xEE) << "wrote past the run";
    }
}

// Every pair of formats converts a run the same way as reading each pixel as
// ARGB and writing it back, so the two paths can never disagree.
TEST(PixmapConvert, EveryPairAgreesWithReadAndWritePixel) {
    const uint32_t colours[] = {0x00000000, 0xFFFFFFFF, 0x80123456, 0xFFFF0000, 0x7F00FF00, 0x010000FF, 0xC0A0B0C0};
    const int n = static_cast<int>(std::size(colours));
    for (int from : kAllFormats) {
        PixmapPtr src = CreatePixmap(n, 1, from, 1);
        for (int i = 0; i < n; ++i) WritePixel(src, i, 0, colours[i]);
        for (int to : kAllFormats) {
            SCOPED_TRACE(testing::Message() << from << " -> " << to);
            PixmapPtr viaRun = CreatePixmap(n, 1, to, 1);
            PixmapPtr viaPixel = CreatePixmap(n, 1, to, 1);
            ConvertPixels(src->pixels, from, viaRun->pixels, to, n);
            for (int i = 0; i < n; ++i) WritePixel(viaPixel, i, 0, ReadPixel(src, i, 0));
            EXPECT_EQ(*viaRun->storage, *viaPixel->storage);
        }
    }
}

TEST(PixmapConvert, BadArgumentsDoNothing) {
    uint8_t src[4] = {1, 2, 3, 4}, dst[4] = {9, 9, 9, 9};
    ConvertPixels(src, 0, dst, PF_RGBA, 1);
    ConvertPixels(src, PF_RGBA, dst, 9, 1);
    ConvertPixels(src, PF_RGBA, dst, PF_BGRA, 0);
    ConvertPixels(src, PF_RGBA, dst, PF_BGRA, -3);
    ConvertPixels(nullptr, PF_RGBA, dst, PF_BGRA, 1);
    EXPECT_EQ(Bytes(dst, 4), std::vector<uint8_t>(4, 9));
}

TEST(PixmapConvert, WholePixmapKeepsPixels) {
    PixmapPtr p = CreatePixmap(4, 3, PF_RGBA, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) WritePixel(p, x, y, 0x80000000u | static_cast<uint32_t>(x * 0x102030 + y * 0x030201));
    for (int f : kAllFormats) {
        SCOPED_TRACE(f);
        PixmapPtr c = ConvertPixmap(p, f);
        ASSERT_TRUE(c);
        EXPECT_EQ(PixmapFormat(c), f);
        EXPECT_EQ(PixmapWidth(c), 4);
        EXPECT_EQ(PixmapHeight(c), 3);
        uint8_t expect[4];
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                ConvertPixels(PixmapPixelPtr(p, x, y), PF_RGBA, expect, f, 1);
                EXPECT_EQ(Bytes(PixmapPixelPtr(c, x, y), BytesPerPixel(f)), Bytes(expect, BytesPerPixel(f)));
            }
    }
    EXPECT_FALSE(ConvertPixmap(p, 0));
    EXPECT_FALSE(ConvertPixmap(nullptr, PF_RGB));
}

TEST(PixmapCopy, IsDeepAndKeepsFormat) {
    PixmapPtr p = CreatePixmap(3, 3, PF_BGR, 1);
    WritePixel(p, 1, 1, 0xFF112233);
    PixmapPtr c = CopyPixmap(p);
    ASSERT_TRUE(c);
    EXPECT_EQ(PixmapFormat(c), PF_BGR);
    EXPECT_EQ(ReadPixel(c, 1, 1), 0xFF112233u);
    WritePixel(c, 1, 1, 0xFF445566);
    EXPECT_EQ(ReadPixel(p, 1, 1), 0xFF112233u);
    EXPECT_NE(c->storage, p->storage);
    EXPECT_FALSE(CopyPixmap(nullptr));
}

class PixmapWindowTest : public testing::Test {
protected:
    void SetUp() override {
        parent = CreatePixmap(6, 5, PF_RGBA, 4);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) WritePixel(parent, x, y, Colour(x, y));
    }
    static uint32_t Colour(int x, int y) { return 0xFF000000u | static_cast<uint32_t>(x << 8 | y); }
    PixmapPtr parent;
};

TEST_F(PixmapWindowTest, ClipsToTheParent) {
    struct Case {
        int x, y, w, h;      // asked
        int ox, oy, ow, oh;  // clipped, in parent coordinates
    } cases[] = {
        {1, 2, 3, 2, 1, 2, 3, 2},  {0, 0, 6, 5, 0, 0, 6, 5},  {-2, -1, 4, 3, 0, 0, 2, 2},
        {4, 3, 10, 10, 4, 3, 2, 2}, {-5, -5, 20, 20, 0, 0, 6, 5}, {6, 0, 2, 2, 0, 0, 0, 0},
        {0, 9, 2, 2, 0, 0, 0, 0},  {-9, 0, 3, 3, 0, 0, 0, 0},  {2, 2, 0, 0, 0, 0, 0, 0},
        {2147483000, 0, 2000, 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        PixmapPtr w = PixmapWindow(parent, c.x, c.y, c.w, c.h);
        ASSERT_TRUE(w);
        EXPECT_EQ(PixmapWidth(w), c.ow);
        EXPECT_EQ(PixmapHeight(w), c.oh);
        EXPECT_EQ(PixmapFormat(w), PF_RGBA);
        for (int y = 0; y < c.oh; ++y)
            for (int x = 0; x < c.ow; ++x) EXPECT_EQ(ReadPixel(w, x, y), Colour(c.ox + x, c.oy + y));
        // The window ends at its own edge, not at the parent's.
        EXPECT_EQ(ReadPixel(w, c.ow, 0), 0u);
        EXPECT_EQ(ReadPixel(w, 0, c.oh), 0u);
        EXPECT_EQ(ReadPixel(w, -1, 0), 0u);
    }
    EXPECT_FALSE(PixmapWindow(parent, 0, 0, -1, 2));
    EXPECT_FALSE(PixmapWindow(nullptr, 0, 0, 1, 1));
}

TEST_F(PixmapWindowTest, SharesPixelsBothWays) {
    PixmapPtr w = PixmapWindow(parent, 2, 1, 3, 3);
    WritePixel(w, 0, 0, 0xFFAAAAAA);
    EXPECT_EQ(ReadPixel(parent, 2, 1), 0xFFAAAAAAu);
    WritePixel(parent, 4, 3, 0xFFBBBBBB);
    EXPECT_EQ(ReadPixel(w, 2, 2), 0xFFBBBBBBu);
    // Writes past the window's edge land nowhere, not in the parent.
    WritePixel(w, 3, 0, 0xFFCCCCCC);
    EXPECT_EQ(ReadPixel(parent, 5, 1), Colour(5, 1));

    PixmapPtr inner = PixmapWindow(w, 1, 1, 5, 5);  // a window on a window
    EXPECT_EQ(PixmapWidth(inner), 2);
    EXPECT_EQ(PixmapHeight(inner), 2);
    EXPECT_EQ(ReadPixel(inner, 0, 0), Colour(3, 2));

    ClearPixels(w, 0xFF010203);
    EXPECT_EQ(ReadPixel(parent, 1, 1), Colour(1, 1));
    EXPECT_EQ(ReadPixel(parent, 2, 1), 0xFF010203u);
    EXPECT_EQ(ReadPixel(parent, 4, 3), 0xFF010203u);
    EXPECT_EQ(ReadPixel(parent, 5, 3), Colour(5, 3));
    EXPECT_EQ(ReadPixel(parent, 2, 4), Colour(2, 4));

    // A copy of a window is the window's picture, no longer shared.
    PixmapPtr copy = CopyPixmap(inner);
    EXPECT_EQ(PixmapWidth(copy), 2);
    WritePixel(copy, 0, 0, 0xFF000000);
    EXPECT_EQ(ReadPixel(inner, 0, 0), 0xFF010203u);
}

TEST_F(PixmapWindowTest, OutlivesItsParent) {
    PixmapPtr w = PixmapWindow(parent, 1, 1, 2, 2);
    parent.reset();
    EXPECT_EQ(ReadPixel(w, 1, 1), Colour(2, 2));
    WritePixel(w, 1, 1, 0xFF000001);
    EXPECT_EQ(ReadPixel(w, 1, 1), 0xFF000001u);
}

TEST(PixmapResize, RefusesSizesBelowOne) {
    PixmapPtr p = CreatePixmap(4, 4);
    EXPECT_FALSE(ResizePixmap(p, 0, 4));
    EXPECT_FALSE(ResizePixmap(p, 4, 0));
    EXPECT_FALSE(ResizePixmap(p, -3, 4));
    EXPECT_FALSE(ResizePixmap(nullptr, 4, 4));
    EXPECT_FALSE(ResizePixmap(CreatePixmap(0, 0), 4, 4));
}

TEST(PixmapResize, CornersAndFormatKept) {
    for (int f : kAllFormats) {
        SCOPED_TRACE(f);
        PixmapPtr p = CreatePixmap(2, 2, f, 4);
        const uint32_t corners[4] = {0xFF102030, 0xFFF0E0D0, 0xFF405060, 0xFF0A0B0C};
        WritePixel(p, 0, 0, corners[0]);
        WritePixel(p, 1, 0, corners[1]);
        WritePixel(p, 0, 1, corners[2]);
        WritePixel(p, 1, 1, corners[3]);
        PixmapPtr big = ResizePixmap(p, 7, 5);
        ASSERT_TRUE(big);
        EXPECT_EQ(PixmapFormat(big), f);
        EXPECT_EQ(PixmapWidth(big), 7);
        EXPECT_EQ(PixmapHeight(big), 5);
        EXPECT_EQ(ReadPixel(big, 0, 0), ReadPixel(p, 0, 0));
        EXPECT_EQ(ReadPixel(big, 6, 0), ReadPixel(p, 1, 0));
        EXPECT_EQ(ReadPixel(big, 0, 4), ReadPixel(p, 0, 1));
        EXPECT_EQ(ReadPixel(big, 6, 4), ReadPixel(p, 1, 1));
    }
}

TEST(PixmapResize, BlendsBilinearly) {
    // Halving averages each 2x2 block.
    PixmapPtr p = CreatePixmap(4, 2, PF_RGB, 4);
    const uint32_t v[2][4] = {{0xFF000000, 0xFF646464, 0xFF0000FF, 0xFF0000FF},
                              {0xFF646464, 0xFFC8C8C8, 0xFF000000, 0xFF000000}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) WritePixel(p, x, y, v[y][x]);
    PixmapPtr half = ResizePixmap(p, 2, 1);
    ASSERT_TRUE(half);
    EXPECT_EQ(ReadPixel(half, 0, 0), 0xFF646464u);
    EXPECT_EQ(ReadPixel(half, 1, 0), 0xFF000080u);  // 127.5 rounds up

    // Doubling a 2-pixel row: the inner pixels lie a quarter of the way.
    PixmapPtr row = CreatePixmap(2, 1, PF_I8, 4);
    WritePixel(row, 0, 0, 0xFF000000);
    WritePixel(row, 1, 0, 0xFFC8C8C8);
    PixmapPtr wide = ResizePixmap(row, 4, 1);
    const uint32_t expect[4] = {0xFF000000, 0xFF323232, 0xFF969696, 0xFFC8C8C8};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(wide, x, 0), expect[x]) << x;
}

TEST(PixmapResize, TransparentNeighboursDoNotTintEdges) {
    for (int f : {PF_RGBA, PF_BGRA}) {
        SCOPED_TRACE(f);
        PixmapPtr p = CreatePixmap(2, 1, f, 4);
        WritePixel(p, 0, 0, 0xFFFF0000);  // opaque red
        WritePixel(p, 1, 0, 0x0000FF00);  // transparent green
        PixmapPtr wide = ResizePixmap(p, 4, 1);
        const uint32_t expect[4] = {0xFFFF0000, 0xBFFF0000, 0x40FF0000, 0x0000FF00};
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(wide, x, 0), expect[x]) << x;
    }
}

TEST(PixmapClear, FillsEveryPixelButNotThePadding) {
    PixmapPtr p = CreatePixmap(3, 2, PF_RGB, 8);
    ClearPixels(p, 0xFF010203);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(ReadPixel(p, x, y), 0xFF010203u);
        for (int i = 9; i < 16; ++i) EXPECT_EQ(p->Row(y)[i], 0);
    }
    ClearPixels(nullptr, 0);
}
