// The loading screen's fades, its drawing and the start-up animation.
#include <gtest/gtest.h>

#include <vector>

#include "core/delta_time.h"
#include "platform/graphics.h"
#include "platform/testing.h"
#include "platform/time.h"
#include "screens/loading.h"
#include "screens/screens_links.h"
#include "screens_test_util.h"
#include "ui/spark.h"

namespace {

namespace pt = plat::testing;
using screens_test::Picture;

class LoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        pt::Reset();
        ASSERT_TRUE(plat::Graphics(800, 600, 0, 60, 0));
        screensLinks = TScreensLinks{};
        TSpark::destroyAll();
        sparkImages = {};
        sparkImages[0] = Picture(32, 32);
        loading = std::make_shared<TLoading>();
        // What setup would load, without files.
        loading->bg = Picture(800, 600);
        loading->logo = Picture(300, 100);
        loading->loadingImage = Picture(200, 40);
        loading->ballUnlit = Picture(40, 40);
        loading->ballLit = Picture(40, 40);
        loading->currentBall = -1;
        for (const auto& img : {loading->loadingImage, loading->ballUnlit, loading->ballLit}) plat::MidHandleImage(img);
    }
    void TearDown() override {
        loading.reset();
        screensLinks = TScreensLinks{};
        TSpark::destroyAll();
        sparkImages = {};
        pt::Reset();
    }
    // The image draws of the last presented frame.
    static std::vector<pt::DrawCall> LastFrame() {
        std::vector<pt::DrawCall> out;
        for (const auto& c : pt::DrawCalls())
            if (c.kind == pt::DrawCall::IMAGE && c.flip == pt::FlipCount() - 1) out.push_back(c);
        return out;
    }
};

TEST_F(LoadingTest, ANewLoadingScreenHoldsNothing) {
    const TLoading fresh;
    EXPECT_FALSE(fresh.bg || fresh.logo || fresh.loadingImage || fresh.ballUnlit || fresh.ballLit);
    EXPECT_EQ(fresh.currentBall, 0);
    EXPECT_EQ(fresh.phase, 0);
    EXPECT_EQ(fresh.bgAlpha, 0.0f);
}

TEST_F(LoadingTest, TheBackgroundFadesInOver20FramesWithEveryBallUnlit) {
    loading->fadeInBg();
    EXPECT_EQ(pt::FlipCount(), 20);
    EXPECT_EQ(loading->bgAlpha, 1.0f);
    int unlit = 0;
    for (const auto& c : pt::DrawCalls()) {
        if (c.kind != pt::DrawCall::IMAGE) continue;
        EXPECT_NE(c.image, loading->ballLit.get()) << "no ball is lit before loading starts";
        EXPECT_NE(c.image, loading->logo.get());
        if (c.image == loading->ballUnlit.get()) ++unlit;
    }
    EXPECT_EQ(unlit, 5 * 20);
    // Background, caption and balls fade in together.
    const auto first = pt::DrawCalls().front().flip;
    for (const auto& c : pt::DrawCalls()) {
        if (c.kind != pt::DrawCall::IMAGE || c.flip != first) continue;
        EXPECT_NEAR(c.alpha, 0.05f, 0.005f);
    }
}

TEST_F(LoadingTest, LightingABallTakes10FramesAndDrawsTheBallsBeforeItLit) {
    loading->bgAlpha = 1;
    loading->fadeInBall(2);
    EXPECT_EQ(pt::FlipCount(), 10);
    EXPECT_EQ(loading->ballAlpha, 1.0f);
    EXPECT_EQ(loading->currentBall, 2);
    // Per ball position: what was drawn there in the last frame, in order.
    std::vector<std::vector<const plat::Image*>> at(5);
    for (const auto& c : LastFrame())
        for (int i = 0; i < 5; ++i)
            if (c.x == TLoading::BallX(i) && c.y == TLoading::kBallY) at[static_cast<size_t>(i)].push_back(c.image);
    const plat::Image* lit = loading->ballLit.get();
    const plat::Image* unlit = loading->ballUnlit.get();
    EXPECT_EQ(at[0], (std::vector<const plat::Image*>{lit}));
    EXPECT_EQ(at[1], (std::vector<const plat::Image*>{lit}));
    EXPECT_EQ(at[2], (std::vector<const plat::Image*>{unlit, lit}));
    EXPECT_EQ(at[3], (std::vector<const plat::Image*>{unlit}));
    EXPECT_EQ(at[4], (std::vector<const plat::Image*>{unlit}));

    // Outside loading no ball is lit: the call returns at once.
    loading->phase = 2;
    loading->fadeInBall(3);
    loading->phase = 0;
    loading->fadeInBall(-1);
    EXPECT_EQ(pt::FlipCount(), 10);
    EXPECT_EQ(loading->currentBall, 2);
}

TEST_F(LoadingTest, TheAnimationMakes82RisingSparksAndShowsTheGlowingLogo) {
    int songStarts = 0;
    screensLinks.playTitleMusic = [&] { ++songStarts; };
    loading->bgAlpha = 1;
    loading->currentBall = 4;
    loading->ballAlpha = 1;
    // Sparks alive after each frame; none dies before its 30th update.
    std::vector<int> alive;
    pt::OnFlip([&](int) { alive.push_back(SparkList->Count()); });
    const int start = plat::MilliSecs();
    loading->doMagic(3500);
    pt::OnFlip(nullptr);
    EXPECT_EQ(songStarts, 1);
    EXPECT_EQ(loading->phase, 3);
    EXPECT_GT(plat::MilliSecs() - start, 3500);
    EXPECT_EQ(delta, 1.0);
    ASSERT_GT(alive.size(), 200u);
    for (size_t f = 0; f < 29; ++f) EXPECT_EQ(alive[f], 2 * static_cast<int>(f + 1)) << "frame " << f + 1;
    for (size_t f = 41; f < alive.size(); ++f) EXPECT_LE(alive[f], alive[f - 1]) << "no sparks after frame 41";
    // The logo became full after 201 frames and stood a few frames more.
    EXPECT_EQ(loading->logoAlpha, 1.0f);
    EXPECT_EQ(loading->ballAlpha, 0.0f);
    const auto last = LastFrame();
    int logos = 0;
    for (const auto& c : last)
        if (c.image == loading->logo.get()) {
            EXPECT_EQ(c.x, TLoading::kLogoX);
            EXPECT_EQ(c.blend, logos == 0 ? 3 : 4) << "drawn, then added on top";
            ++logos;
        }
    EXPECT_EQ(logos, 2);
    EXPECT_EQ(sparkImages[0]->handleX, 0.0f) << "the ball's handle is back at its corner";
}

TEST_F(LoadingTest, TheSparksRiseFromTheRowOfBalls) {
    loading->doMagic(50);
    ASSERT_GT(SparkList->Count(), 0);
    int straightUp = 0;
    for (const TSparkPtr& s : *SparkList) {
        EXPECT_EQ(s->velocityX, 0.0f);
        EXPECT_LE(s->velocityY, -2.0f);
        EXPECT_GE(s->velocityY, -3.5f);
        straightUp += s->velocityY == -2.0f ? 1 : 0;
        EXPECT_GE(s->size, 2.0f);
        EXPECT_LE(s->size, 6.0f);
        EXPECT_GE(s->red, 150);
        EXPECT_EQ(s->blend, 1);
        // Born in the band x 240..595, y 425..535, then moved up a few frames.
        EXPECT_GE(s->x, 240);
        EXPECT_LE(s->x, 595);
        EXPECT_LE(s->y, 535);
    }
    EXPECT_GE(straightUp, SparkList->Count() / 2) << "every second spark rises at exactly 2";
}

TEST_F(LoadingTest, ACloseRequestDuringTheLoadingScreensIsKeptForTheTitle) {
    pt::OnFlip([](int n) {
        if (n == 3) pt::RequestTerminate();
    });
    loading->fadeInBg();
    loading->fadeInBall(0);
    loading->doMagic(200);
    pt::OnFlip(nullptr);
    EXPECT_TRUE(plat::AppTerminate());
    EXPECT_FALSE(plat::AppTerminate());
}

}  // namespace
