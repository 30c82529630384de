// Sparks: fade curves, motion, ageing and removal, draw order and state, and
// the tally's spark, through the draw recorder.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "ui_fixture.h"
#include "support/scratch.h"

namespace {

class Sparks : public UiTest {
protected:
    // Alpha of every draw of img, in order.
    static std::vector<float> Alphas(const plat::ImagePtr& img) {
        std::vector<float> out;
        for (const auto& c : CallsOf(img)) out.push_back(c.alpha);
        return out;
    }
};

TEST_F(Sparks, LinearFadeDrawsALifeOfTenWithTheCurveAndThenDies) {
    auto img = Image(4, 4);
    TSpark::Create(img, 10, 20, 1.0f, 10, 255, 255, 255, 1, 0);
    for (int i = 0; i < 12; ++i) TSpark::UpdateAll();
    const std::vector<float> want = {0.8f, 0.7f, 0.6f, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f, 0.0f, 0.0f};
    const std::vector<float> got = Alphas(img);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-5) << "draw " << i;
    EXPECT_EQ(TSpark::allDestroyed(), 1);
}

TEST_F(Sparks, FadeInHoldOutFollowsItsThreeStages) {
    auto img = Image(4, 4);
    TSpark::Create(img, 0, 0, 1.0f, 100, 255, 255, 255, 2, 1);
    for (int i = 0; i < 101; ++i) TSpark::UpdateAll();
    const std::vector<float> a = Alphas(img);  // draw k is made at life 100 - k
    ASSERT_EQ(a.size(), 100u);
    auto at = [&](int life) { return a[static_cast<size_t>(100 - life)]; };
    for (int life = 100; life >= 94; --life) EXPECT_NEAR(at(life), 0.0f, 1e-5) << "life " << life;
    EXPECT_GT(at(93), 0.0f);
    EXPECT_NEAR(at(85), 0.3f, 1e-5);  // rising
    EXPECT_NEAR(at(70), 0.8f, 1e-5);
    for (int life = 69; life >= 30; --life) EXPECT_NEAR(at(life), 0.8f, 1e-6) << "life " << life;
    EXPECT_NEAR(at(15), 0.3f, 1e-5);  // falling
    EXPECT_GT(at(7), 0.0f);
    EXPECT_NEAR(at(6), 0.0f, 1e-5);
    EXPECT_NEAR(at(1), 0.0f, 1e-5);
    // Alpha blend throughout.
    for (const auto& c : CallsOf(img)) EXPECT_EQ(c.blend, plat::ALPHABLEND);
}

TEST_F(Sparks, ALifeOfNIsDrawnNTimesAtADeltaOfOne) {
    for (int n : {1, 2, 7}) {
        SCOPED_TRACE(n);
        Clear();
        auto img = Image(2, 2);
        TSpark::Create(img, 0, 0, 1.0f, n, 255, 255, 255, 1, 0);
        for (int i = 0; i < n + 3; ++i) TSpark::UpdateAll();
        EXPECT_EQ(CallsOf(img).size(), static_cast<size_t>(n));
        EXPECT_EQ(TSpark::allDestroyed(), 1);
    }
}

TEST_F(Sparks, DriftScalesWithDeltaAndDrawsTintAndSize) {
    auto img = Image(4, 4);
    TSparkPtr s = TSpark::Create(img, 100, 200, 0.5f, 50, 300, -4, 17, 1, 0);
    s->setVelocity(1.5f, -0.25f);
    delta = 2.0;
    TSpark::UpdateAll();
    TSpark::UpdateAll();
    const auto calls = CallsOf(img);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_FLOAT_EQ(calls[0].x, 103.0f);
    EXPECT_FLOAT_EQ(calls[0].y, 199.5f);
    EXPECT_FLOAT_EQ(calls[1].x, 106.0f);
    EXPECT_FLOAT_EQ(calls[1].y, 199.0f);
    EXPECT_FLOAT_EQ(s->life, 46.0f);
    // The tint is clamped by the drawing layer, the spark keeps its values.
    EXPECT_EQ(calls[0].r, 255);
    EXPECT_EQ(calls[0].g, 0);
    EXPECT_EQ(calls[0].b, 17);
    EXPECT_EQ(s->red, 300);
    EXPECT_FLOAT_EQ(calls[0].sx, 0.5f);
    EXPECT_FLOAT_EQ(calls[0].sy, 0.5f);
    EXPECT_EQ(calls[0].blend, plat::LIGHTBLEND);
    EXPECT_EQ(calls[0].frame, 0);
}

TEST_F(Sparks, CirclingTurnsOneDegreeAnUpdateWhateverTheDelta) {
    auto img = Image(4, 4);
    TSparkPtr s = TSpark::Create(img, 0, 0, 1.0f, 1000, 255, 255, 255, 1, 0);
    s->setMovementType(0, 50, 400, 300);
    EXPECT_EQ(s->x, 0.0f);  // not moved until the next update
    delta = 0.5;
    for (int i = 0; i < 360; ++i) TSpark::UpdateAll();
    const auto calls = CallsOf(img);
    ASSERT_EQ(calls.size(), 360u);
    EXPECT_NEAR(calls[0].x, 400 + 50 * std::cos(1 * M_PI / 180), 1e-3);
    EXPECT_NEAR(calls[89].x, 400.0f, 1e-3);  // 90 degrees: straight below the centre
    EXPECT_NEAR(calls[89].y, 350.0f, 1e-3);
    EXPECT_NEAR(calls[359].x, 450.0f, 1e-3);  // a full turn
    EXPECT_NEAR(calls[359].y, 300.0f, 1e-3);
    EXPECT_EQ(s->angle, 360);
    EXPECT_FLOAT_EQ(s->life, 820.0f);
}

TEST_F(Sparks, NewestIsDrawnFirstAndBlendZeroKeepsTheBlendInForce) {
    auto older = Image(2, 2);
    auto newer = Image(2, 2);
    auto newest = Image(2, 2);
    TSpark::Create(older, 0, 0, 1, 10, 255, 255, 255, 0, 0);
    TSpark::Create(newer, 0, 0, 1, 10, 255, 255, 255, 2, 0);
    TSpark::Create(newest, 0, 0, 1, 10, 255, 255, 255, 0, 7);  // fade 7: alpha in force
    plat::SetBlend(plat::SHADEBLEND);
    plat::SetAlpha(0.25f);
    TSpark::UpdateAll();
    const auto calls = Calls(Call::IMAGE);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].image, newest.get());
    EXPECT_EQ(calls[0].blend, plat::SHADEBLEND);  // the screen's blend
    EXPECT_FLOAT_EQ(calls[0].alpha, 0.25f);        // the screen's alpha
    EXPECT_EQ(calls[1].image, newer.get());
    EXPECT_EQ(calls[2].image, older.get());
    EXPECT_EQ(calls[2].blend, plat::ALPHABLEND);  // left by the particle before
    // The state stays as the last particle set it.
    EXPECT_EQ(plat::GetBlend(), plat::ALPHABLEND);
}

TEST_F(Sparks, ASparkMadeAfterTheFramesUpdateIsFirstDrawnNextFrameWithFullLife) {
    auto img = Image(2, 2);
    TSpark::UpdateAll();
    TSpark::Create(img, 5, 5, 1, 10, 255, 255, 255, 1, 0);
    EXPECT_TRUE(CallsOf(img).empty());
    TSpark::UpdateAll();
    ASSERT_EQ(CallsOf(img).size(), 1u);
    EXPECT_NEAR(CallsOf(img)[0].alpha, 0.8f, 1e-5);
}

TEST_F(Sparks, DestroyAndDestroyAllRemoveAtOnce) {
    EXPECT_EQ(TSpark::allDestroyed(), 1);
    auto img = Image(2, 2);
    TSparkPtr a = TSpark::Create(img, 0, 0, 1, 10, 0, 0, 0, 1, 0);
    EXPECT_EQ(TSpark::allDestroyed(), 0);
    TSpark::Create(img, 0, 0, 1, 10, 0, 0, 0, 1, 0);
    TSpark::Destroy(a);
    EXPECT_EQ(SparkList->Count(), 1);
    TSpark::destroyAll();
    EXPECT_EQ(TSpark::allDestroyed(), 1);
    TSpark::UpdateAll();
    EXPECT_TRUE(CallsOf(img).empty());
}

TEST_F(Sparks, MixedLivesDieInTheUpdateTheirLifeFallsBelowOne) {
    auto img = Image(2, 2);
    for (int life : {3, 1, 5, 2, 4}) TSpark::Create(img, 0, 0, 1, life, 0, 0, 0, 1, 0);
    const int want[] = {4, 3, 2, 1, 0};
    for (int frame = 0; frame < 5; ++frame) {
        TSpark::UpdateAll();
        EXPECT_EQ(SparkList->Count(), want[frame]) << "frame " << frame;
    }
    EXPECT_EQ(CallsOf(img).size(), 15u);  // 3 + 1 + 5 + 2 + 4
}

TEST_F(Sparks, AMissingImageOrAMaxLifeBelowOneDoesNotFail) {
    // An empty slot: nothing drawn, but the spark still ages and dies.
    TSpark::Create(sparkImages[4], 0, 0, 1, 2, 255, 255, 255, 1, 0);
    TSpark::UpdateAll();
    TSpark::UpdateAll();
    EXPECT_EQ(TSpark::allDestroyed(), 1);
    EXPECT_TRUE(Calls(Call::IMAGE).empty());

    // A max life of 0 counts as 1 frame: no division by nothing.
    for (int mode : {0, 1}) {
        float a = -1;
        ASSERT_TRUE(TSpark::FadeAlpha(mode, 0.0f, 0.0f, a));
        EXPECT_TRUE(std::isfinite(a)) << "mode " << mode;
        EXPECT_LE(a, 0.0f);
    }
    float a = 0;
    EXPECT_FALSE(TSpark::FadeAlpha(2, 5.0f, 10.0f, a));
}

TEST_F(Sparks, LoadSparkImageFillsItsSlotAndAMissingFileLeavesItEmpty) {
    const std::string path = quill_test::ScratchDir() + "ui_spark_test.png";
    ASSERT_TRUE(plat::SavePixmapPNG(Filled(8, 8, 0xFFFFFFFFu), path));
    loadSparkImage(2, path);
    ASSERT_TRUE(sparkImages[2]);
    EXPECT_EQ(sparkImages[2]->handleX, 0.0f);
    EXPECT_EQ(sparkImages[2]->flags & (plat::FILTEREDIMAGE | plat::MIPMAPPEDIMAGE),
              plat::FILTEREDIMAGE | plat::MIPMAPPEDIMAGE);
    loadSparkImage(2, path + ".missing");
    EXPECT_FALSE(sparkImages[2]);
    EXPECT_TRUE(plat::testing::Notifications().empty());
    loadSparkImage(9, path);  // out of range: ignored
    std::remove(path.c_str());
}

TEST_F(Sparks, CreateSparkDrawsItsRandomNumbersInTheDesignedOrder) {
    plat::SeedRnd(12345);
    const int r = plat::Rand(100, 200), g = plat::Rand(100, 200), b = plat::Rand(100, 200);
    const int x = 205 + plat::Rand(0, 3), y = 433 + plat::Rand(0, 3);
    const int life = plat::Rand(60, 110);
    const float size = static_cast<float>(plat::Rnd(0.4, 0.7));
    const int down = plat::Rand(2, 4);
    const int right = plat::Rand(1, 6);

    plat::SeedRnd(12345);
    sparkImages[1] = Image(4, 4);
    createSpark();
    ASSERT_EQ(SparkList->Count(), 1);
    const TSparkPtr s = SparkList->First();
    EXPECT_EQ(s->image, sparkImages[1]);
    EXPECT_EQ(s->red, r);
    EXPECT_EQ(s->green, g);
    EXPECT_EQ(s->blue, b);
    EXPECT_EQ(s->x, static_cast<float>(x));
    EXPECT_EQ(s->y, static_cast<float>(y));
    EXPECT_EQ(s->life, static_cast<float>(life));
    EXPECT_EQ(s->maxLife, static_cast<float>(life));
    EXPECT_EQ(s->size, size);
    EXPECT_FLOAT_EQ(s->velocityX, right / 10.0f);
    EXPECT_FLOAT_EQ(s->velocityY, down / 10.0f);
    EXPECT_EQ(s->blend, 1);
    EXPECT_EQ(s->fadeMode, 0);
}

TEST_F(Sparks, CreateSparkStaysWithinItsRangesAndReachesBothEnds) {
    std::set<int> xs, ys, lives, reds, vxs, vys;
    float minSize = 1, maxSize = 0;
    plat::SeedRnd(99);
    for (int i = 0; i < 3000; ++i) {
        createSpark();
        const TSparkPtr s = SparkList->First();
        xs.insert(static_cast<int>(s->x));
        ys.insert(static_cast<int>(s->y));
        lives.insert(static_cast<int>(s->life));
        reds.insert(s->red);
        vxs.insert(static_cast<int>(std::lround(s->velocityX * 10)));
        vys.insert(static_cast<int>(std::lround(s->velocityY * 10)));
        minSize = std::min(minSize, s->size);
        maxSize = std::max(maxSize, s->size);
        ASSERT_GE(s->green, 100);
        ASSERT_LE(s->blue, 200);
    }
    EXPECT_EQ(*xs.begin(), 205);
    EXPECT_EQ(*xs.rbegin(), 208);
    EXPECT_EQ(*ys.begin(), 433);
    EXPECT_EQ(*ys.rbegin(), 436);
    EXPECT_EQ(*lives.begin(), 60);
    EXPECT_EQ(*lives.rbegin(), 110);
    EXPECT_EQ(*reds.begin(), 100);
    EXPECT_EQ(*reds.rbegin(), 200);
    EXPECT_EQ(vxs, (std::set<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(vys, (std::set<int>{2, 3, 4}));
    EXPECT_GE(minSize, 0.4f);
    EXPECT_LE(maxSize, 0.7f);
}

}  // namespace
