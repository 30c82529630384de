// The BMP writer, byte for byte. The expected files are written out by hand
// from the BMP layout: 'B' 'M', file size, two reserved words, the pixel
// offset 54, the 40-byte info header (width, height, 1 plane, 24 bits, no
// compression, data size, 2834 pixels a metre twice, no palette), then the
// rows from the bottom up as blue, green, red, padded with zeros to 4 bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "screens/bmp_writer.h"
#include "support/scratch.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The header of a picture of this size; the two sizes in it are given as
// worked out for each case, not computed here.
Bytes Header(unsigned char fileSize, unsigned char width, unsigned char height, unsigned char dataSize) {
    return {'B', 'M', fileSize, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,   // file header
            40, 0, 0, 0, width, 0, 0, 0, height, 0, 0, 0,           // info size, width, height
            1, 0, 24, 0, 0, 0, 0, 0, dataSize, 0, 0, 0,             // planes, bits, compression, data size
            0x12, 0x0B, 0, 0, 0x12, 0x0B, 0, 0,                     // 2834 = 0x0B12, both ways
            0, 0, 0, 0, 0, 0, 0, 0};                                // colours used, important
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes ReadBack(const std::string& path) {
    std::string text;
    EXPECT_TRUE(plat::LoadText(path, text)) << path;
    return Bytes(text.begin(), text.end());
}

// An image whose frame 0 holds these ARGB pixels, row by row, in `format`.
plat::ImagePtr Picture(int w, int h, const std::vector<uint32_t>& argb, int format = plat::PF_RGBA) {
    plat::PixmapPtr p = plat::CreatePixmap(w, h, format, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) plat::WritePixel(p, x, y, argb[static_cast<size_t>(y * w + x)]);
    plat::ImagePtr img = plat::CreateImage(w, h, 1, 0);
    img->frames[0] = p;
    return img;
}

class BmpWriter : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }
    std::string Path(const std::string& name) { return quill_test::ScratchDir() + name; }
};

struct FormatCase {
    int format;
    const char* name;
};

TEST_F(BmpWriter, OnePixelIsItsThreeColourBytesAndOnePad) {
    // Alpha 0x80 (or none, or 0) is not written: only blue, green, red.
    for (FormatCase f : {FormatCase{plat::PF_RGBA, "rgba"}, {plat::PF_BGRA, "bgra"}, {plat::PF_RGB, "rgb"},
                         {plat::PF_BGR, "bgr"}}) {
        SCOPED_TRACE(f.name);
        const std::string path = Path(std::string("one-") + f.name + ".bmp");
        EXPECT_EQ(SaveImageBMP(Picture(1, 1, {0x80112233}, f.format), path), 0);
        EXPECT_EQ(ReadBack(path), Cat(Header(58, 1, 1, 4), {0x33, 0x22, 0x11, 0}));
    }
}

TEST_F(BmpWriter, TwoByTwoGoesBottomRowFirstWithTwoPadBytesARow) {
    const std::string path = Path("two.bmp");
    // Top row red, green; bottom row blue, white (the white fully transparent).
    SaveImageBMP(Picture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00FFFFFF}), path);
    const Bytes rows = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0,   // bottom: blue, white
                        0, 0, 0xFF, 0, 0xFF, 0, 0, 0};        // top: red, green
    EXPECT_EQ(ReadBack(path), Cat(Header(70, 2, 2, 16), rows));
}

TEST_F(BmpWriter, FourPixelsFillARowWithoutPadding) {
    const std::string path = Path("four.bmp");
    SaveImageBMP(Picture(4, 1, {0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C}), path);
    const Bytes row = {3, 2, 1, 6, 5, 4, 9, 8, 7, 0x0C, 0x0B, 0x0A};
    EXPECT_EQ(ReadBack(path), Cat(Header(66, 4, 1, 12), row));
}

TEST_F(BmpWriter, ThreeWideRowsOfAWindowIntoALargerPixmap) {
    // A view on a wider pixmap: each row starts a whole source row further on.
    plat::PixmapPtr big = plat::CreatePixmap(5, 2, plat::PF_RGBA, 4);
    plat::ClearPixels(big, 0xFF777777);
    plat::WritePixel(big, 1, 0, 0xFF102030);
    plat::WritePixel(big, 3, 1, 0xFF405060);
    plat::ImagePtr img = plat::CreateImage(3, 2, 1, 0);
    img->frames[0] = plat::PixmapWindow(big, 1, 0, 3, 2);
    const std::string path = Path("window.bmp");
    SaveImageBMP(img, path);
    // 9 pixel bytes + 3 pad = 12 a row; 54 + 24 = 78.
    const Bytes rows = {0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x60, 0x50, 0x40, 0, 0, 0,
                        0x30, 0x20, 0x10, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0, 0, 0};
    EXPECT_EQ(ReadBack(path), Cat(Header(78, 3, 2, 24), rows));
}

TEST_F(BmpWriter, AFullScreenPictureHasRowsOfThreeTimesItsWidth) {
    const std::string path = Path("screen.bmp");
    plat::ImagePtr img = plat::CreateImage(800, 600, 1, 0);
    plat::ClearPixels(img->frames[0], 0xFF000000);
    plat::WritePixel(img->frames[0], 0, 599, 0xFFABCDEF);  // bottom-left: the first pixel in the file
    SaveImageBMP(img, path);
    const Bytes b = ReadBack(path);
    ASSERT_EQ(b.size(), 54u + 600u * 2400u);
    // File size 1440054 = 0x0015F936, data size 1440000 = 0x0015F900.
    EXPECT_EQ(Bytes(b.begin() + 2, b.begin() + 6), (Bytes{0x36, 0xF9, 0x15, 0}));
    EXPECT_EQ(Bytes(b.begin() + 34, b.begin() + 38), (Bytes{0x00, 0xF9, 0x15, 0}));
    EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 57), (Bytes{0xEF, 0xCD, 0xAB}));
}

TEST_F(BmpWriter, APathThatCannotBeCreatedWritesNothing) {
    const std::string path = Path("no/such/folder/x.bmp");
    EXPECT_EQ(SaveImageBMP(Picture(1, 1, {0xFF000000}), path), 0);
    EXPECT_EQ(plat::FileType(path), 0);
    // Nor does a missing picture leave an empty file behind.
    const std::string none = Path("none.bmp");
    EXPECT_EQ(SaveImageBMP(nullptr, none), 0);
    EXPECT_EQ(plat::FileType(none), 0);
}

}  // namespace
