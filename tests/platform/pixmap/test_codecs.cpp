// PNG and JPEG decoding, the file loader and the PNG writer. The PNGs are
// made here with libpng's own encoder, the JPEGs with the shared test encoder.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/pixmap.h"
#include "platform/stream.h"
#include "support/jpeg_encode.h"

using namespace plat;

namespace {

// ---- test-side encoders -----------------------------------------------------

struct PngSpec {
    int width = 0, height = 0, colorType = PNG_COLOR_TYPE_RGB, depth = 8;
    bool interlace = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;  // tRNS for palette pictures
    bool key = false;                    // tRNS colour key for grey and RGB
    png_color_16 keyColour{};
    std::vector<std::vector<uint8_t>> rows;  // packed as the PNG stores them
};

struct PngOut {
    std::string bytes;
};

void PngSink(png_structp png, png_bytep data, size_t n) {
    static_cast<PngOut*>(png_get_io_ptr(png))->bytes.append(reinterpret_cast<const char*>(data), n);
}
void PngNoFlush(png_structp) {}

__attribute__((noinline)) bool PngWriteAll(png_structp png, png_infop info, const PngSpec* s, PngOut* out,
                                           png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, PngSink, PngNoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(s->width), static_cast<png_uint_32>(s->height), s->depth,
                 s->colorType, s->interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s->palette.empty()) png_set_PLTE(png, info, s->palette.data(), static_cast<int>(s->palette.size()));
    if (!s->paletteAlpha.empty())
        png_set_tRNS(png, info, s->paletteAlpha.data(), static_cast<int>(s->paletteAlpha.size()), nullptr);
    if (s->key) png_set_tRNS(png, info, nullptr, 0, &s->keyColour);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

std::string EncodePng(const PngSpec& s) {
    PngOut out;
    std::vector<std::vector<uint8_t>> rowData = s.rows;
    std::vector<png_bytep> rows;
    for (auto& r : rowData) rows.push_back(r.data());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool ok = PngWriteAll(png, info, &s, &out, rows.data());
    png_destroy_write_struct(&png, &info);
    EXPECT_TRUE(ok) << "test PNG encoder failed";
    return out.bytes;
}

using quill_test::EncodeJpeg;

PixmapPtr Decode(const std::string& bytes) {
    if (bytes.size() >= 8 && bytes.compare(0, 4, "\x89PNG") == 0) return DecodePNG(bytes.data(), bytes.size());
    return DecodeJPEG(bytes.data(), bytes.size());
}

// ---- pictures ---------------------------------------------------------------

// A sample value that differs from pixel to pixel and channel to channel.
uint8_t S(int x, int y, int c) { return static_cast<uint8_t>(x * 53 + y * 91 + c * 37 + 11); }

struct Picture {
    PngSpec spec;
    std::vector<uint32_t> expected;  // ARGB, row by row
};

// Builds a picture of w x h whose pixel (x, y) is stored as the samples
// `samples` returns (each `depth` bits, packed) and must read back as `argb`.
Picture MakePicture(int w, int h, int colorType, int depth,
                    const std::function<std::vector<int>(int, int)>& samples,
                    const std::function<uint32_t(int, int)>& argb) {
    Picture p;
    p.spec.width = w;
    p.spec.height = h;
    p.spec.colorType = colorType;
    p.spec.depth = depth;
    for (int y = 0; y < h; ++y) {
        std::vector<uint8_t> row;
        uint32_t acc = 0;
        int bits = 0;
        for (int x = 0; x < w; ++x) {
            for (int v : samples(x, y)) {
                if (depth == 16) {
                    row.push_back(static_cast<uint8_t>(v >> 8));
                    row.push_back(static_cast<uint8_t>(v));
                } else if (depth == 8) {
                    row.push_back(static_cast<uint8_t>(v));
                } else {
                    acc = acc << depth | static_cast<uint32_t>(v);
                    bits += depth;
                    if (bits == 8) row.push_back(static_cast<uint8_t>(acc)), acc = 0, bits = 0;
                }
            }
            p.expected.push_back(argb(x, y));
        }
        if (bits) row.push_back(static_cast<uint8_t>(acc << (8 - bits)));
        p.spec.rows.push_back(row);
    }
    return p;
}

uint32_t Argb(int a, int r, int g, int b) {
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}

std::vector<png_color> TestPalette() {
    std::vector<png_color> pal;
    for (int i = 0; i < 7; ++i)
        pal.push_back({S(i, 0, 0), S(i, 1, 1), S(i, 2, 2)});
    return pal;
}

struct PngCase {
    const char* name;
    std::function<Picture()> make;
    int format;
    int tolerance;
};

std::vector<PngCase> PngCases() {
    const int W = 5, H = 3;
    std::vector<PngCase> cases;
    cases.push_back({"rgba8", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_RGBA, 8,
                             [](int x, int y) { return std::vector<int>{S(x, y, 0), S(x, y, 1), S(x, y, 2), S(x, y, 3)}; },
                             [](int x, int y) { return Argb(S(x, y, 3), S(x, y, 0), S(x, y, 1), S(x, y, 2)); });
                     },
                     PF_RGBA, 0});
    cases.push_back({"rgb8", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_RGB, 8,
                             [](int x, int y) { return std::vector<int>{S(x, y, 0), S(x, y, 1), S(x, y, 2)}; },
                             [](int x, int y) { return Argb(255, S(x, y, 0), S(x, y, 1), S(x, y, 2)); });
                     },
                     PF_RGB, 0});
    cases.push_back({"grey8", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_GRAY, 8, [](int x, int y) { return std::vector<int>{S(x, y, 0)}; },
                             [](int x, int y) { return Argb(255, S(x, y, 0), S(x, y, 0), S(x, y, 0)); });
                     },
                     PF_RGB, 0});
    cases.push_back({"grey1", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_GRAY, 1, [](int x, int y) { return std::vector<int>{(x + y) & 1}; },
                             [](int x, int y) { return (x + y) & 1 ? 0xFFFFFFFFu : 0xFF000000u; });
                     },
                     PF_RGB, 0});
    cases.push_back({"grey4", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_GRAY, 4,
                             [](int x, int y) { return std::vector<int>{(x * 3 + y * 5) & 15}; },
                             [](int x, int y) {
                                 const int v = ((x * 3 + y * 5) & 15) * 17;
                                 return Argb(255, v, v, v);
                             });
                     },
                     PF_RGB, 0});
    cases.push_back({"grey_alpha8", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_GRAY_ALPHA, 8,
                             [](int x, int y) { return std::vector<int>{S(x, y, 0), S(x, y, 3)}; },
                             [](int x, int y) { return Argb(S(x, y, 3), S(x, y, 0), S(x, y, 0), S(x, y, 0)); });
                     },
                     PF_RGBA, 0});
    cases.push_back({"grey8_key", [=] {
                         Picture p = MakePicture(
                             W, H, PNG_COLOR_TYPE_GRAY, 8,
                             [](int x, int y) { return std::vector<int>{x == y ? 0x40 : 0x90}; },
                             [](int x, int y) { return x == y ? 0x00404040u : 0xFF909090u; });
                         p.spec.key = true;
                         p.spec.keyColour.gray = 0x40;
                         return p;
                     },
                     PF_RGBA, 0});
    cases.push_back({"rgb8_key", [=] {
                         Picture p = MakePicture(
                             W, H, PNG_COLOR_TYPE_RGB, 8,
                             [](int x, int) { return x == 2 ? std::vector<int>{255, 0, 255} : std::vector<int>{1, 2, 3}; },
                             [](int x, int) { return x == 2 ? 0x00FF00FFu : 0xFF010203u; });
                         p.spec.key = true;
                         p.spec.keyColour.red = 255;
                         p.spec.keyColour.blue = 255;
                         return p;
                     },
                     PF_RGBA, 0});
    for (int depth : {2, 4, 8}) {
        const int n = depth == 2 ? 4 : 7;
        cases.push_back({depth == 2 ? "palette2" : depth == 4 ? "palette4" : "palette8", [=] {
                             const std::vector<png_color> pal = TestPalette();
                             Picture p = MakePicture(
                                 W, H, PNG_COLOR_TYPE_PALETTE, depth,
                                 [=](int x, int y) { return std::vector<int>{(x + 2 * y) % n}; },
                                 [=](int x, int y) {
                                     const png_color& c = pal[static_cast<size_t>((x + 2 * y) % n)];
                                     return Argb(255, c.red, c.green, c.blue);
                                 });
                             p.spec.palette.assign(pal.begin(), pal.begin() + n);
                             return p;
                         },
                         PF_RGB, 0});
    }
    cases.push_back({"palette8_trns", [=] {
                         const std::vector<png_color> pal = TestPalette();
                         // tRNS shorter than the palette: the entries past it are opaque.
                         const std::vector<png_byte> alpha = {0, 128, 255, 7};
                         Picture p = MakePicture(
                             W, H, PNG_COLOR_TYPE_PALETTE, 8,
                             [](int x, int y) { return std::vector<int>{(x + 2 * y) % 7}; },
                             [=](int x, int y) {
                                 const size_t i = static_cast<size_t>((x + 2 * y) % 7);
                                 return Argb(i < alpha.size() ? alpha[i] : 255, pal[i].red, pal[i].green, pal[i].blue);
                             });
                         p.spec.palette = pal;
                         p.spec.paletteAlpha = alpha;
                         return p;
                     },
                     PF_RGBA, 0});
    // 16-bit samples are scaled to 8 bits (rounded: 257 * v + 100 stays v).
    cases.push_back({"rgb16", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_RGB, 16,
                             [](int x, int y) {
                                 return std::vector<int>{S(x, y, 0) * 257, S(x, y, 1) * 257 + (S(x, y, 1) < 255 ? 100 : 0),
                                                         S(x, y, 2) * 257 - (S(x, y, 2) > 0 ? 100 : 0)};
                             },
                             [](int x, int y) { return Argb(255, S(x, y, 0), S(x, y, 1), S(x, y, 2)); });
                     },
                     PF_RGB, 1});
    cases.push_back({"rgba16", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_RGBA, 16,
                             [](int x, int y) {
                                 return std::vector<int>{S(x, y, 0) * 257, S(x, y, 1) * 257, S(x, y, 2) * 257,
                                                         S(x, y, 3) * 257};
                             },
                             [](int x, int y) { return Argb(S(x, y, 3), S(x, y, 0), S(x, y, 1), S(x, y, 2)); });
                     },
                     PF_RGBA, 1});
    cases.push_back({"grey16", [=] {
                         return MakePicture(
                             W, H, PNG_COLOR_TYPE_GRAY, 16, [](int x, int y) { return std::vector<int>{S(x, y, 0) * 257}; },
                             [](int x, int y) { return Argb(255, S(x, y, 0), S(x, y, 0), S(x, y, 0)); });
                     },
                     PF_RGB, 1});
    cases.push_back({"rgba8_interlaced", [=] {
                         Picture p = MakePicture(
                             11, 9, PNG_COLOR_TYPE_RGBA, 8,
                             [](int x, int y) { return std::vector<int>{S(x, y, 0), S(x, y, 1), S(x, y, 2), S(x, y, 3)}; },
                             [](int x, int y) { return Argb(S(x, y, 3), S(x, y, 0), S(x, y, 1), S(x, y, 2)); });
                         p.spec.interlace = true;
                         return p;
                     },
                     PF_RGBA, 0});
    return cases;
}

int MaxChannelDiff(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int s = 0; s < 32; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
    return worst;
}

void ExpectPixels(const PixmapPtr& p, int w, const std::vector<uint32_t>& expected, int tolerance) {
    ASSERT_TRUE(p);
    ASSERT_EQ(PixmapWidth(p), w);
    ASSERT_EQ(PixmapHeight(p) * w, static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const int x = static_cast<int>(i) % w, y = static_cast<int>(i) / w;
        EXPECT_LE(MaxChannelDiff(ReadPixel(p, x, y), expected[i]), tolerance)
            << "at " << x << "," << y << std::hex << " got " << ReadPixel(p, x, y) << " want " << expected[i];
    }
}

// A folder of its own under the test temp folder, for the file tests.
class PixmapFiles : public testing::Test {
protected:
    void SetUp() override {
        dir_ = testing::TempDir() + "quill_pixmap_" + std::to_string(getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(CreateDir(dir_, true));
    }
    void TearDown() override { DeleteDir(dir_, true); }
    std::string Put(const std::string& name, const std::string& bytes) {
        const std::string path = dir_ + "/" + name;
        EXPECT_TRUE(SaveText(path, bytes));
        return path;
    }
    std::string dir_;
};

// Each decoder's smallest good picture, for the damage tests.
std::string SmallPng() {
    return EncodePng(MakePicture(
                         6, 4, PNG_COLOR_TYPE_RGBA, 8,
                         [](int x, int y) { return std::vector<int>{S(x, y, 0), S(x, y, 1), S(x, y, 2), S(x, y, 3)}; },
                         [](int, int) { return 0u; })
                         .spec);
}

std::string SmallJpeg(bool progressive = false) {
    return EncodeJpeg(16, 16, false, progressive, [](int x, int y) { return Argb(0, x * 16, y * 16, 100); });
}

// The 32-bit field at `offset` of a PNG, big-endian, and the chunk CRC
// recomputed so only libpng's own checks can refuse it.
void PatchPngIhdr(std::string& png, int width, int height) {
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) png[at + static_cast<size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
    };
    put(16, static_cast<uint32_t>(width));
    put(20, static_cast<uint32_t>(height));
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));  // type + 13 data bytes
    put(29, crc);
}

void PatchJpegSize(std::string& jpg, int width, int height) {
    for (size_t i = 2; i + 9 < jpg.size(); ++i) {
        if (static_cast<uint8_t>(jpg[i]) == 0xFF && (static_cast<uint8_t>(jpg[i + 1]) & 0xF0) == 0xC0 &&
            static_cast<uint8_t>(jpg[i + 1]) != 0xC4) {
            jpg[i + 5] = static_cast<char>(height >> 8), jpg[i + 6] = static_cast<char>(height);
            jpg[i + 7] = static_cast<char>(width >> 8), jpg[i + 8] = static_cast<char>(width);
            return;
        }
    }
    ADD_FAILURE() << "no SOF marker";
}

}  // namespace

TEST(PngDecode, EveryColourTypeAndDepth) {
    for (const PngCase& c : PngCases()) {
        SCOPED_TRACE(c.name);
        const Picture pic = c.make();
        const std::string bytes = EncodePng(pic.spec);
        PixmapPtr p = DecodePNG(bytes.data(), bytes.size());
        ASSERT_TRUE(p);
        EXPECT_EQ(PixmapFormat(p), c.format);
        ExpectPixels(p, pic.spec.width, pic.expected, c.tolerance);
    }
}

TEST(JpegDecode, ColourAndGreyWithinTolerance) {
    struct Case {
        const char* name;
        int w, h;
        bool grey, progressive;
    } cases[] = {
        {"colour", 32, 24, false, false},
        {"colour_odd_size", 13, 7, false, false},
        {"colour_progressive", 32, 24, false, true},
        {"grey", 20, 10, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Smooth ramps, which JPEG keeps closely.
        auto colour = [&](int x, int y) {
            const int r = 40 + x * 6, g = 50 + y * 8;
            return c.grey ? static_cast<uint32_t>((r + g) / 2) : Argb(0, r, g, 128);
        };
        const std::string bytes = EncodeJpeg(c.w, c.h, c.grey, c.progressive, colour);
        PixmapPtr p = DecodeJPEG(bytes.data(), bytes.size());
        ASSERT_TRUE(p);
        EXPECT_EQ(PixmapFormat(p), PF_RGB);
        std::vector<uint32_t> expected;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const uint32_t v = colour(x, y);
                expected.push_back(c.grey ? Argb(255, int(v), int(v), int(v)) : (0xFF000000u | v));
            }
        ExpectPixels(p, c.w, expected, 8);
    }
}

TEST(PictureDamage, EveryCutOfAGoodFileIsRefused) {
    for (const std::string& good : {SmallPng(), SmallJpeg(), SmallJpeg(true)}) {
        SCOPED_TRACE(good.substr(1, 3));
        ASSERT_TRUE(Decode(good));
        for (size_t n = 0; n < good.size(); ++n) {
            PixmapPtr p = good[0] == '\x89' ? DecodePNG(good.data(), n) : DecodeJPEG(good.data(), n);
            EXPECT_FALSE(p) << "cut at " << n << " of " << good.size();
        }
    }
}

TEST(PictureDamage, BadHeadersAndGarbageAreRefused) {
    const std::string png = SmallPng(), jpg = SmallJpeg();
    std::string hugePng = png, zeroPng = png, widePng = png, hugeJpg = jpg, zeroJpg = jpg, badCrc = png;
    PatchPngIhdr(hugePng, 20000, 20000);
    PatchPngIhdr(widePng, 16385, 1);
    PatchPngIhdr(zeroPng, 0, 4);
    PatchJpegSize(hugeJpg, 20000, 20000);
    PatchJpegSize(zeroJpg, 0, 16);
    badCrc[20] ^= 0x01;  // IHDR height changed, CRC not
    std::string flippedData = png;
    flippedData[png.size() - 20] ^= 0x55;  // inside the IDAT chunk: CRC mismatch
    std::string garbage(300, '\0');
    uint32_t seed = 12345;
    for (char& ch : garbage) ch = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    struct Case {
        const char* name;
        std::string bytes;
        bool png;
    } cases[] = {
        {"png empty", "", true},
        {"png signature only", png.substr(0, 8), true},
        {"png garbage", garbage, true},
        {"png garbage after signature", png.substr(0, 8) + garbage, true},
        {"png huge", hugePng, true},
        {"png one column too wide", widePng, true},
        {"png zero width", zeroPng, true},
        {"png header crc", badCrc, true},
        {"png data crc", flippedData, true},
        {"png with jpeg decoder", png, false},
        {"jpeg empty", "", false},
        {"jpeg soi only", jpg.substr(0, 2), false},
        {"jpeg garbage", garbage, false},
        {"jpeg garbage after soi", jpg.substr(0, 3) + garbage, false},
        {"jpeg huge", hugeJpg, false},
        {"jpeg zero width", zeroJpg, false},
        {"jpeg with png decoder", jpg, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixmapPtr p = c.png ? DecodePNG(c.bytes.data(), c.bytes.size()) : DecodeJPEG(c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(p);
    }
    EXPECT_FALSE(DecodePNG(nullptr, 100));
    EXPECT_FALSE(DecodeJPEG(nullptr, 100));
}

// Random damage anywhere must give null or a whole picture of the right size,
// never a crash (the sanitizers watch the memory).
TEST(PictureDamage, RandomByteChangesNeverCrash) {
    uint32_t seed = 99;
    auto next = [&] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (const std::string& good : {SmallPng(), SmallJpeg(), SmallJpeg(true)}) {
        for (int round = 0; round < 300; ++round) {
            std::string bad = good;
            const int changes = 1 + static_cast<int>(next() % 4);
            for (int i = 0; i < changes; ++i) bad[next() % bad.size()] = static_cast<char>(next());
            PixmapPtr p = Decode(bad);
            if (p) {
                EXPECT_GE(PixmapWidth(p), 1);
                EXPECT_GE(PixmapHeight(p), 1);
                EXPECT_GE(static_cast<int64_t>(p->storage->size()),
                          static_cast<int64_t>(PixmapPitch(p)) * PixmapHeight(p));
            }
        }
    }
}

TEST_F(PixmapFiles, LoadsByContentNotByName) {
    const std::string png = SmallPng(), jpg = SmallJpeg();
    struct Case {
        const char* name;
        const std::string* bytes;
        int format;
    } cases[] = {
        {"a.png", &png, PF_RGBA}, {"b.jpg", &jpg, PF_RGB}, {"c.jpg", &png, PF_RGBA},
        {"d.png", &jpg, PF_RGB},  {"noext", &png, PF_RGBA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixmapPtr p = LoadPixmap(Put(c.name, *c.bytes));
        ASSERT_TRUE(p);
        EXPECT_EQ(PixmapFormat(p), c.format);
        EXPECT_EQ(PixmapWidth(p), c.bytes == &png ? 6 : 16);
    }
    // Backslashes are path separators.
    CreateDir(dir_ + "/sub");
    Put("sub/e.png", png);
    std::string dos = dir_ + "\\sub\\e.png";
    EXPECT_TRUE(LoadPixmap(dos));
}

TEST_F(PixmapFiles, Jp2LoadsThePngOfTheSameName) {
    Put("pic.png", SmallPng());
    Put("pic.jp2", SmallJpeg());  // never read
    Put("alone.jp2", SmallJpeg());
    Put("upper.png", SmallPng());
    for (const char* name : {"pic.jp2", "upper.JP2"}) {
        SCOPED_TRACE(name);
        PixmapPtr p = LoadPixmap(dir_ + "/" + name);
        ASSERT_TRUE(p);
        EXPECT_EQ(PixmapWidth(p), 6);  // the PNG's width, not the JPEG's 16
        EXPECT_EQ(PixmapFormat(p), PF_RGBA);
    }
    EXPECT_FALSE(LoadPixmap(dir_ + "/alone.jp2"));
}

TEST_F(PixmapFiles, UnreadableFilesGiveNullAndOneLine) {
    const std::string png = SmallPng(), jpg = SmallJpeg();
    struct Case {
        const char* name;
        std::string bytes;
        bool diagnosed;
    } cases[] = {
        {"empty.png", "", true},
        {"text.png", "just some words\n", true},
        {"cut.png", png.substr(0, png.size() / 2), true},
        {"cut.jpg", jpg.substr(0, jpg.size() / 2), true},
        {"nosig.jpg", jpg.substr(3), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Put(c.name, c.bytes);
        testing::internal::CaptureStderr();
        PixmapPtr p = LoadPixmap(path);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(p);
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(c.name), std::string::npos) << err;
    }
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadPixmap(dir_ + "/missing.png"));
    EXPECT_FALSE(LoadPixmap(dir_));  // a folder
    EXPECT_FALSE(LoadPixmap(""));
    testing::internal::GetCapturedStderr();
}

// A JPEG with stray bytes between two segments still loads (libjpeg only
// warns), with one line about it instead of libjpeg's own output.
TEST_F(PixmapFiles, HarmlessJpegWarningStillLoads) {
    std::string jpg = SmallJpeg();
    const size_t app0End = 4 + ((static_cast<uint8_t>(jpg[4]) << 8) | static_cast<uint8_t>(jpg[5]));
    ASSERT_EQ(static_cast<uint8_t>(jpg[app0End]), 0xFF);
    jpg.insert(app0End, "\x01\x02\x03", 3);
    const std::string path = Put("stray.jpg", jpg);
    testing::internal::CaptureStderr();
    PixmapPtr p = LoadPixmap(path);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(p);
    EXPECT_EQ(PixmapWidth(p), 16);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("stray.jpg"), std::string::npos) << err;
}

TEST_F(PixmapFiles, SavedPngReadsBackForEveryFormat) {
    for (int f : {PF_I8, PF_A8, PF_BGR, PF_RGB, PF_BGRA, PF_RGBA}) {
        SCOPED_TRACE(f);
        PixmapPtr p = CreatePixmap(7, 5, f, 4);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) WritePixel(p, x, y, Argb(S(x, y, 3), S(x, y, 0), S(x, y, 1), S(x, y, 2)));
        const std::string path = dir_ + "/saved" + std::to_string(f) + ".png";
        ASSERT_TRUE(SavePixmapPNG(p, path));
        PixmapPtr back = LoadPixmap(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(PixmapFormat(back), PF_RGBA);  // always written with alpha
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) EXPECT_EQ(ReadPixel(back, x, y), ReadPixel(p, x, y)) << x << "," << y;
    }
    // A window saves just its own rectangle.
    PixmapPtr big = CreatePixmap(8, 8, PF_RGBA);
    ClearPixels(big, 0xFF0000FF);
    PixmapPtr win = PixmapWindow(big, 2, 3, 3, 2);
    WritePixel(win, 2, 1, 0xFFFF0000);
    ASSERT_TRUE(SavePixmapPNG(win, dir_ + "/win.png"));
    PixmapPtr back = LoadPixmap(dir_ + "/win.png");
    ASSERT_TRUE(back);
    EXPECT_EQ(PixmapWidth(back), 3);
    EXPECT_EQ(PixmapHeight(back), 2);
    EXPECT_EQ(ReadPixel(back, 2, 1), 0xFFFF0000u);
    EXPECT_EQ(ReadPixel(back, 0, 0), 0xFF0000FFu);

    EXPECT_FALSE(SavePixmapPNG(nullptr, dir_ + "/null.png"));
    EXPECT_FALSE(SavePixmapPNG(CreatePixmap(0, 0), dir_ + "/empty.png"));
    EXPECT_FALSE(SavePixmapPNG(big, dir_ + "/no/such/folder/x.png"));
}
