// The start-up pictures: reading "portalScreens.tsc", the three ways the
// loading screen ends, the order and fades of the pictures, and damaged lists.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "config/bca_writer.h"
#include "core/delta_time.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/pixmap.h"
#include "platform/testing.h"
#include "platform/time.h"
#include "screens/loading.h"
#include "screens/screens_links.h"
#include "screens_test_util.h"
#include "ui/spark.h"

namespace {

namespace pt = plat::testing;
using screens_test::Picture;

// Picture files of distinct sizes, so the draws tell them apart.
struct PictureFile {
    const char* name;
    int w, h;
};
constexpr PictureFile kSmall{"gfx/small.png", 100, 50};
constexpr PictureFile kWide{"gfx/wide.png", 300, 80};
constexpr PictureFile kFull{"gfx/full.png", 800, 600};

class PortalTest : public ::testing::Test {
protected:
    void SetUp() override {
        pt::Reset();
        pt::ClearNotifications();
        char pattern[] = "/tmp/quill_portal_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        oldDir_ = plat::CurrentDir();
        ASSERT_TRUE(plat::ChangeDir(dir_));
        plat::CreateDir("gfx", true);
        plat::CreateDir("data", true);
        for (const PictureFile& p : {kSmall, kWide, kFull}) {
            auto pix = plat::CreatePixmap(p.w, p.h);
            plat::ClearPixels(pix, 0xFF406080u);
            ASSERT_TRUE(plat::SavePixmapPNG(pix, p.name));
        }
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        screensLinks = TScreensLinks{};
        screensLinks.playTitleMusic = [this] { ++songStarts; };
        TSpark::destroyAll();
        sparkImages = {};
        sparkImages[0] = Picture(32, 32);
        loading = std::make_shared<TLoading>();
        loading->bg = Picture(800, 600);
        loading->logo = Picture(300, 100);
        loading->loadingImage = Picture(200, 40);
        loading->ballUnlit = Picture(40, 40);
        loading->ballLit = Picture(40, 40);
        // As loading leaves it: everything shown, five balls lit.
        loading->bgAlpha = 1;
        loading->ballAlpha = 1;
        loading->currentBall = 4;
    }
    void TearDown() override {
        loading.reset();
        screensLinks = TScreensLinks{};
        TSpark::destroyAll();
        sparkImages = {};
        plat::ChangeDir(oldDir_);
        plat::DeleteDir(dir_, true);
        pt::Reset();
    }

    static void WriteList(const std::string& text) {
        ASSERT_TRUE(plat::SaveText("data/settings.bca", bca::PackArchive({{"portalScreens.tsc", text}})));
    }
    static std::string Group(const std::string& name, const std::string& image, const std::string& x,
                             const std::string& y, const std::string& full) {
        std::string g = name + "{\n";
        if (image != "-") g += " Image=\"" + image + "\"\n";
        if (x != "-") g += " X=" + x + "\n";
        if (y != "-") g += " Y=" + y + "\n";
        if (full != "-") g += " Fullscreen=" + full + "\n";
        return g + "}\n";
    }

    // Which picture file a draw is, by its size; "" for anything else.
    static std::string Which(const pt::DrawCall& c) {
        if (c.kind != pt::DrawCall::IMAGE || c.xy.size() < 8) return "";
        const float w = c.xy[2] - c.xy[0], h = c.xy[5] - c.xy[1];
        for (const PictureFile& p : {kSmall, kWide, kFull})
            if (w == static_cast<float>(p.w) && h == static_cast<float>(p.h) && c.image != loading->bg.get())
                return p.name;
        return "";
    }
    // The pictures in the order they were first shown, each once.
    static std::vector<std::string> Shown() {
        std::vector<std::string> order;
        std::string last;
        for (const auto& c : pt::DrawCalls()) {
            const std::string w = Which(c);
            if (!w.empty() && w != last) order.push_back(w);
            if (!w.empty()) last = w;
        }
        return order;
    }
    int Draws(const plat::ImagePtr& img) const {
        int n = 0;
        for (const auto& c : pt::DrawCalls()) n += c.kind == pt::DrawCall::IMAGE && c.image == img.get() ? 1 : 0;
        return n;
    }

    int songStarts = 0;

private:
    std::string dir_, oldDir_;
};

TEST_F(PortalTest, TheListReadsInFileOrderWithTruncatedNumbers) {
    WriteList(Group("First", kSmall.name, "10.9", "-3.7", "0.5") + Group("Second", kFull.name, "0", "0", "-1") +
              Group("Empty", "", "5", "6", "1") + "Outer{\n" + Group("Inner", kWide.name, "1", "1", "0") +
              " Image=\"gfx/wide.png\"\n X=1\n Y=2\n Fullscreen=0\n}\n" + Group("First", kWide.name, "1", "1", "1"));
    std::string missing;
    auto list = ReadPortalScreens(missing);
    EXPECT_EQ(missing, "");
    const auto pictures = list->ToArray();
    ASSERT_EQ(pictures.size(), 5u) << "a nested group is no picture; a repeated name is";
    struct Want {
        int x, y, full, width;
    };
    const Want want[] = {
        {10, -3, 0, kSmall.w},   // 0.5 truncates to 0: not full screen
        {0, 0, -1, kFull.w},     // -1 is full screen
        {5, 6, 0, 0},            // no image: never full screen
        {1, 2, 0, kWide.w},      // the outer group
        {10, -3, 0, kSmall.w},   // "First" again: the first group's keys
    };
    for (size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i]->x, want[i].x) << i;
        EXPECT_EQ(pictures[i]->y, want[i].y) << i;
        EXPECT_EQ(pictures[i]->fullscreen, want[i].full) << i;
        EXPECT_EQ(plat::ImageWidth(pictures[i]->image), want[i].width) << i;
        EXPECT_EQ(pictures[i]->alpha, 0.0f);
        EXPECT_EQ(pictures[i]->fadeState, 1);
        EXPECT_EQ(pictures[i]->alive, 1);
    }
}

TEST_F(PortalTest, APictureFadesInOn20FramesAndOutOn20Steps) {
    auto p = TPortalScreen::Create(kSmall.name, 0, 0, 0);
    for (int i = 1; i <= 19; ++i) p->Draw();
    EXPECT_LT(p->alpha, 1.0f);
    EXPECT_EQ(p->fadeState, 1);
    p->Draw();
    EXPECT_EQ(p->alpha, 1.0f);
    EXPECT_EQ(p->fadeState, 0);
    p->Draw();
    EXPECT_EQ(p->alpha, 1.0f) << "holding";
    p->fadeState = -1;
    for (int i = 1; i <= 19; ++i) p->Draw();
    EXPECT_EQ(p->alive, 1);
    p->Draw();
    EXPECT_EQ(p->alive, 0);
    EXPECT_EQ(p->alpha, 0.0f);
}

TEST_F(PortalTest, WithoutPicturesTheAnimationRunsAndTheLogoStays) {
    WriteList("// nothing to show\nVersion=1\n");
    loading->PortalScreens();
    EXPECT_TRUE(pt::Notifications().empty());
    EXPECT_EQ(songStarts, 1);
    EXPECT_EQ(loading->phase, 3);
    EXPECT_GT(plat::MilliSecs(), 3500);
    EXPECT_LT(plat::MilliSecs(), 3700) << "no logo fade and no pictures follow";
    EXPECT_EQ(loading->logoAlpha, 1.0f);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(PortalTest, AFullScreenFirstPictureFadesTheLoadingScreenOutWithoutTheLogo) {
    WriteList(Group("A", kFull.name, "0", "0", "1") + Group("B", kSmall.name, "40", "30", "0"));
    loading->PortalScreens();
    EXPECT_EQ(songStarts, 1);
    EXPECT_EQ(Draws(loading->logo), 0);
    EXPECT_EQ(Draws(sparkImages[0]), 0) << "no sparks";
    EXPECT_LT(loading->bgAlpha, 0.0f);
    EXPECT_EQ(Shown(), (std::vector<std::string>{kFull.name, kSmall.name}));
    // The full-screen picture stands alone at (0, 0); the next one is drawn
    // at its place over the loading background at full opacity.
    bool smallOverBg = false;
    int lastBgFlip = -1;
    for (const auto& c : pt::DrawCalls()) {
        if (c.kind == pt::DrawCall::IMAGE && c.image == loading->bg.get() && c.alpha == 1.0f) lastBgFlip = c.flip;
        const std::string w = Which(c);
        if (w == kFull.name) {
            EXPECT_EQ(c.x, 0);
            EXPECT_EQ(c.y, 0);
            EXPECT_NE(lastBgFlip, c.flip) << "no loading background under a full-screen picture";
        }
        if (w == kSmall.name) {
            EXPECT_EQ(c.x, 40);
            EXPECT_EQ(c.y, 30);
            smallOverBg = smallOverBg || lastBgFlip == c.flip;
        }
    }
    EXPECT_TRUE(smallOverBg);
}

TEST_F(PortalTest, APictureThatIsNotFullScreenFirstGetsTheLongAnimationAndTheLogoFade) {
    WriteList(Group("A", kSmall.name, "40", "30", "0") + Group("B", kFull.name, "9", "9", "1") +
              Group("C", kWide.name, "200", "100", "0"));
    int frameAtLogoFade = -1;
    pt::OnFlip([&](int n) {
        if (frameAtLogoFade < 0 && loading->phase == 3) frameAtLogoFade = n;
    });
    loading->PortalScreens();
    pt::OnFlip(nullptr);
    EXPECT_EQ(songStarts, 1);
    EXPECT_GT(Draws(loading->logo), 0);
    EXPECT_LT(loading->logoAlpha, 0.0f);
    EXPECT_GT(frameAtLogoFade, 295) << "5000 ms of animation";
    EXPECT_EQ(Shown(), (std::vector<std::string>{kSmall.name, kFull.name, kWide.name}));
    for (const auto& c : pt::DrawCalls())
        if (Which(c) == kFull.name) {
            EXPECT_EQ(c.x, 0) << "a full-screen picture ignores its X";
            EXPECT_EQ(c.y, 0);
        }
    // About 2.3 s a picture after the animation and the 19 frames of logo fade.
    EXPECT_GT(pt::FlipCount(), 300 + 19 + 3 * 130);
    EXPECT_LT(pt::FlipCount(), 300 + 19 + 3 * 150);
}

TEST_F(PortalTest, AFirstPictureWithoutAnImageIsNeverFullScreen) {
    WriteList(Group("A", "", "0", "0", "1"));
    loading->PortalScreens();
    EXPECT_GT(Draws(loading->logo), 0) << "the long animation ran";
    EXPECT_TRUE(Shown().empty());
    // Its time passes over the loading background.
    EXPECT_GT(pt::FlipCount(), 300 + 19 + 130);
}

TEST_F(PortalTest, AMissingNumberKeyStopsStartUpWithAMessageNamingFileAndKey) {
    struct Case {
        const char* key;
        std::string list;
    };
    const Case cases[] = {
        {"Second::X", Group("First", kSmall.name, "0", "0", "0") + Group("Second", kWide.name, "-", "0", "0")},
        {"First::Y", Group("First", kSmall.name, "0", "-", "0")},
        {"First::Fullscreen", Group("First", kFull.name, "0", "0", "-")},
    };
    for (const Case& c : cases) {
        pt::ClearNotifications();
        pt::ClearDrawCalls();
        WriteList(c.list);
        const int flips = pt::FlipCount();
        EXPECT_THROW(loading->PortalScreens(), plat::EndRequested) << c.key;
        ASSERT_EQ(pt::Notifications().size(), 1u) << c.key;
        const std::string& text = pt::Notifications()[0];
        EXPECT_NE(text.find("portalScreens.tsc"), std::string::npos) << text;
        EXPECT_NE(text.find(c.key), std::string::npos) << text;
        EXPECT_EQ(pt::FlipCount(), flips) << "nothing is shown";
        EXPECT_TRUE(Shown().empty());
    }
    EXPECT_EQ(songStarts, 0);
}

TEST_F(PortalTest, AMissingImageKeyOrADamagedListShowsNoPicture) {
    // Without "Image": a picture without an image takes its time.
    WriteList(Group("A", "-", "0", "0", "0"));
    std::string missing;
    const auto list = ReadPortalScreens(missing);
    EXPECT_EQ(missing, "");
    ASSERT_EQ(list->Count(), 1);
    EXPECT_FALSE(list->First()->image);
    EXPECT_TRUE(pt::Notifications().empty());

    // A member that does not parse, or no member: the reader says so and the
    // list is empty, so the short animation ends the loading screen.
    for (const std::string& archive :
         {bca::PackArchive({{"portalScreens.tsc", "A{ X=1 "}}), bca::PackArchive({{"portal.tsc", "A{}"}})}) {
        pt::ClearNotifications();
        ASSERT_TRUE(plat::SaveText("data/settings.bca", archive));
        EXPECT_EQ(ReadPortalScreens(missing)->Count(), 0);
        EXPECT_EQ(missing, "");
        EXPECT_EQ(pt::Notifications().size(), 1u);
    }
    const int start = plat::MilliSecs();
    loading->PortalScreens();
    EXPECT_GT(plat::MilliSecs() - start, 3500);
    EXPECT_LT(plat::MilliSecs() - start, 3700);
}

}  // namespace
