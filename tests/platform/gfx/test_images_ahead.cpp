// Pictures read ahead: what LoadImage and LoadPixmap take must be exactly
// what they would have decoded themselves, whatever the flags, the mask
// colour set meanwhile, the working folder, or a damaged file.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gfx_fixture.h"
#include "support/jpeg_encode.h"
#include "support/scratch.h"

namespace {
using namespace plat;
namespace pt = plat::testing;

class ImagesAhead : public gfxtest::Headless {
protected:
    void SetUp() override {
        Headless::SetUp();
        dir_ = quill_test::ScratchDir() + "ahead/";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ + "pics");
        std::filesystem::create_directories(dir_ + "other");
        // With alpha of its own, and pixels of every kind.
        PixmapPtr p = CreatePixmap(7, 5, PF_RGBA, 4);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) WritePixel(p, x, y, (uint32_t(x * 36) << 24) | uint32_t(x * 30 + y * 7) << 8 | 0x10);
        ASSERT_TRUE(SavePixmapPNG(p, dir_ + "pics/alpha.png"));
        // No alpha: a flat black left half (pure black after decoding, the
        // default mask colour) beside a flat grey right half.
        Write("pics/solid.jpg", quill_test::EncodeJpeg(32, 16, false, false,
                                                       [](int x, int) { return x < 16 ? 0x000000u : 0x808080u; }, 100));
        Write("pics/notes.txt", "not a picture");
        Write("other/elsewhere.png", ReadBytes("pics/alpha.png"));
    }
    void TearDown() override {
        ChangeDir(oldDir_);
        std::filesystem::remove_all(dir_);
        Headless::TearDown();
    }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ + name, std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string& name) {
        std::ifstream in(dir_ + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static void ExpectSame(const ImagePtr& want, const ImagePtr& got, const std::string& what) {
        ASSERT_TRUE(want) << what;
        ASSERT_TRUE(got) << what;
        EXPECT_EQ(got->width, want->width) << what;
        EXPECT_EQ(got->height, want->height) << what;
        EXPECT_EQ(got->flags, want->flags) << what;
        EXPECT_EQ(got->source, want->source) << what;
        ASSERT_EQ(got->frames.size(), 1u) << what;
        const PixmapPtr a = LockImage(want), b = LockImage(got);
        for (int y = 0; y < want->height; ++y)
            for (int x = 0; x < want->width; ++x)
                ASSERT_EQ(ReadPixel(b, x, y), ReadPixel(a, x, y)) << what << " at " << x << "," << y;
    }

    std::string dir_;
    std::string oldDir_ = CurrentDir();
};

TEST_F(ImagesAhead, LoadImageTakesExactlyWhatItWouldHaveDecoded) {
    // The solid picture must really lose its black half to the mask, or the
    // cases below would not tell a frame masked on time from one that was not.
    SetMaskColor(0, 0, 0);
    ASSERT_EQ(ReadPixel(LockImage(LoadImage(dir_ + "pics/solid.jpg", -1)), 2, 2) >> 24, 0u);
    ASSERT_EQ(ReadPixel(LockImage(LoadImage(dir_ + "pics/solid.jpg", 0)), 2, 2) >> 24, 255u);

    struct Case {
        const char* file;
        int flags;
        int maskWhenAsked, maskWhenTaken;  // grey levels of the mask colour
    };
    const Case cases[] = {
        {"pics/solid.jpg", -1, 0, 0},       {"pics/solid.jpg", 0, 0, 0},
        {"pics/solid.jpg", MASKEDIMAGE, 255, 0},  // the mask set after the asking counts
        {"pics/solid.jpg", -1, 0, 255},     {"pics/solid.jpg", FILTEREDIMAGE, 255, 255},
        {"pics/alpha.png", -1, 0, 0},       {"pics/alpha.png", 0, 255, 0},
        {"pics/alpha.png", MASKEDIMAGE | MIPMAPPEDIMAGE, 0, 255},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.file) + " flags " + std::to_string(c.flags) + " masks " +
                                 std::to_string(c.maskWhenAsked) + "/" + std::to_string(c.maskWhenTaken);
        SetMaskColor(c.maskWhenTaken, c.maskWhenTaken, c.maskWhenTaken);
        const ImagePtr want = LoadImage(dir_ + c.file, c.flags);
        SetMaskColor(c.maskWhenAsked, c.maskWhenAsked, c.maskWhenAsked);
        LoadImagesAhead({dir_ + "pics"});
        SetMaskColor(c.maskWhenTaken, c.maskWhenTaken, c.maskWhenTaken);
        ExpectSame(want, LoadImage(dir_ + c.file, c.flags), what);
        // Taken once; the next load decodes it again, the same.
        ExpectSame(want, LoadImage(dir_ + c.file, c.flags), what + " again");
        DropPixmapsAhead();
    }
}

TEST_F(ImagesAhead, LoadPixmapAndSheetsTakeTheDecodedPicture) {
    const PixmapPtr want = LoadPixmap(dir_ + "pics/solid.jpg");
    ASSERT_TRUE(want);
    LoadImagesAhead({dir_ + "pics/solid.jpg", dir_ + "pics/alpha.png"});
    const PixmapPtr got = LoadPixmap(dir_ + "pics/solid.jpg");
    ASSERT_TRUE(got);
    EXPECT_EQ(got->format, want->format) << "the decoded picture, not the frame made of it";
    ASSERT_EQ(got->width, want->width);
    for (int y = 0; y < want->height; ++y)
        for (int x = 0; x < want->width; ++x) ASSERT_EQ(ReadPixel(got, x, y), ReadPixel(want, x, y)) << x << "," << y;
    const ImagePtr sheet = LoadAnimImage(dir_ + "pics/alpha.png", 3, 5, 0, 2);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(ImageFrames(sheet), 2);
    EXPECT_EQ(ReadPixel(LockImage(sheet, 1), 0, 0), ReadPixel(LoadPixmap(dir_ + "pics/alpha.png"), 3, 0));
    EXPECT_TRUE(pt::PicturesNotReadAhead().empty());
}

TEST_F(ImagesAhead, AFolderStandsForItsPicturesAndOthersAreNamed) {
    LoadImagesAhead({dir_ + "pics"});
    EXPECT_TRUE(LoadImage(dir_ + "pics/alpha.png"));
    EXPECT_TRUE(LoadImage(dir_ + "pics/solid.jpg"));
    EXPECT_TRUE(LoadImage(dir_ + "other/elsewhere.png"));
    EXPECT_FALSE(LoadImage(dir_ + "pics/missing.png"));
    EXPECT_EQ(pt::PicturesNotReadAhead(),
              (std::vector<std::string>{dir_ + "other/elsewhere.png", dir_ + "pics/missing.png"}));
    // Kept past the drop, for the loading screen's test; a new round starts afresh.
    DropPixmapsAhead();
    EXPECT_EQ(pt::PicturesNotReadAhead().size(), 2u);
    LoadImagesAhead({dir_ + "other"});
    EXPECT_TRUE(pt::PicturesNotReadAhead().empty());
}

TEST_F(ImagesAhead, ARelativePathIsTheWorkingFolderOfTheLoad) {
    ASSERT_TRUE(ChangeDir(dir_ + "pics"));
    Write("pics/same.png", ReadBytes("pics/alpha.png"));
    {
        PixmapPtr blue = CreatePixmap(2, 2, PF_RGBA, 4);
        ClearPixels(blue, 0xFF0000FFu);
        ASSERT_TRUE(SavePixmapPNG(blue, dir_ + "other/same.png"));
    }
    LoadImagesAhead({"same.png"});
    ASSERT_TRUE(ChangeDir(dir_ + "other"));
    const ImagePtr img = LoadImage("same.png");
    ASSERT_TRUE(img);
    EXPECT_EQ(ImageWidth(img), 2) << "the other folder's picture";
    EXPECT_EQ(ReadPixel(LockImage(img), 1, 1), 0xFF0000FFu);
}

TEST_F(ImagesAhead, ADamagedPictureLoadsAsNothingEveryTime) {
    Write("pics/broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "no chunks at all");
    LoadImagesAhead({dir_ + "pics/broken.png", dir_ + "pics/alpha.png"});
    EXPECT_FALSE(LoadImage(dir_ + "pics/broken.png"));
    EXPECT_FALSE(LoadPixmap(dir_ + "pics/broken.png"));
    EXPECT_TRUE(LoadImage(dir_ + "pics/alpha.png"));
}

}  // namespace
