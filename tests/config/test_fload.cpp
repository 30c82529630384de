// The tolerant picture loaders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/fload.h"
#include "config_test_util.h"
#include "platform/testing.h"

namespace {

class Pictures : public ConfigTempDir {
protected:
    void SetUp() override {
        ConfigTempDir::SetUp();
        auto p = plat::CreatePixmap(6, 4);
        plat::ClearPixels(p, 0xFF336699);
        ASSERT_TRUE(plat::SavePixmapPNG(p, Path("pic.png")));
        plat::testing::ClearNotifications();
    }
    std::vector<std::string> Messages() const { return plat::testing::Notifications(); }
};

const char* kWrongImage = "Probojesz zaladowac niewlasciwy typ obiektu jako TImage";
const char* kWrongPixmap = "Probojesz zaladowac niewlasciwy typ obiektu jako TPixmap";

TEST_F(Pictures, PathIsLoaded) {
    plat::ImagePtr img = FLoadImage(Path("pic.png"));
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(plat::ImageWidth(img), 6);
    EXPECT_EQ(plat::ImageFrames(img), 1);
    plat::PixmapPtr pix = FLoadPixmap(Path("pic.png"));
    ASSERT_NE(pix, nullptr);
    EXPECT_EQ(plat::PixmapHeight(pix), 4);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Pictures, PathThatCannotBeLoadedGivesNoneAndOneMessage) {
    EXPECT_EQ(FLoadImage(Path("missing.png")), nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Nie mozna zaladowac obrazka: " + Path("missing.png")});
    plat::testing::ClearNotifications();
    ASSERT_TRUE(plat::SaveText(Path("broken.png"), "\x89PNG not really"));
    EXPECT_EQ(FLoadPixmap(Path("broken.png")), nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Nie mozna zaladowac obrazka: " + Path("broken.png")});
}

TEST_F(Pictures, LoadedPictureOfTheRightKindPassesThroughUnchanged) {
    plat::ImagePtr img = plat::LoadImage(Path("pic.png"));
    plat::PixmapPtr pix = plat::LoadPixmap(Path("pic.png"));
    EXPECT_EQ(FLoadImage(img), img);
    EXPECT_EQ(FLoadPixmap(pix), pix);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Pictures, AnythingElseGivesAnEmptyPictureAndAMessage) {
    const std::vector<TPictureSource> wrongForImage = {
        std::string(), TPictureSource{}, plat::LoadPixmap(Path("pic.png")), plat::ImagePtr{}};
    for (const TPictureSource& s : wrongForImage) {
        plat::testing::ClearNotifications();
        plat::ImagePtr img = FLoadImage(s);
        ASSERT_NE(img, nullptr);
        EXPECT_TRUE(img->frames.empty());
        EXPECT_EQ(img->width, 0);
        EXPECT_EQ(img->height, 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{kWrongImage});
    }
    const std::vector<TPictureSource> wrongForPixmap = {
        std::string(), TPictureSource{}, plat::LoadImage(Path("pic.png")), plat::PixmapPtr{}};
    for (const TPictureSource& s : wrongForPixmap) {
        plat::testing::ClearNotifications();
        plat::PixmapPtr pix = FLoadPixmap(s);
        ASSERT_NE(pix, nullptr);
        EXPECT_EQ(pix->pixels, nullptr);
        EXPECT_EQ(pix->width, 0);
        EXPECT_EQ(pix->height, 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{kWrongPixmap});
    }
}

}  // namespace
