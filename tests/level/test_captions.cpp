// Floating captions: their timelines, their digits and their widths.
#include <cmath>

#include "level/rules2_test_util.h"

namespace {

class CaptionsTest : public LevelRulesTest {
protected:
    void SetUp() override {
        LevelRulesTest::SetUp();
        TCaptions::cyfry = Frames(32, 32, 10);
        TCaptions::points = Frames(90, 32);
        TCaptions::match = Frames(80, 32);
        TCaptions::combo = Frames(256, 42, 3);
        plat::MidHandleImage(TCaptions::combo);
    }
    static float Sin(float deg) { return std::sin(deg * 3.14159265358979323846f / 180.0f); }
};

TEST_F(CaptionsTest, AMatchCaptionFadesInRisesFadesOutAndEndsInItsFrame120) {
    TCaptionsPtr c = TCaptions::addCaption(TCaptions::Match, 7, 100, 200, 1.0f, 0, 0, nullptr);
    EXPECT_EQ(c->startTime, plat::MilliSecs());
    struct Step {
        int frame;        // updates run so far
        float phase, y;
        float drawnAlpha; // the alpha the frame drew with
    } steps[] = {
        {1, 3, 199.5f, 0.0f},
        {2, 6, 199.0f, Sin(3)},
        {30, 90, 185.0f, Sin(87)},
        {31, 91, 184.5f, 1.0f},
        {119, 179, 140.5f, Sin(178)},
    };
    int done = 0;
    for (const Step& s : steps) {
        for (; done < s.frame; ++done) {
            plat::testing::ClearDrawCalls();
            TCaptions::updateAll();
        }
        SCOPED_TRACE(s.frame);
        ASSERT_EQ(captions->Count(), 1);
        EXPECT_FLOAT_EQ(c->phase, s.phase);
        EXPECT_FLOAT_EQ(c->y, s.y);
        EXPECT_NEAR(c->alpha, Sin(s.phase), 1e-5);
        const auto digit = DrawsOf(TCaptions::cyfry);
        ASSERT_EQ(digit.size(), 1u);
        EXPECT_EQ(digit[0].frame, 7);
        EXPECT_NEAR(digit[0].alpha, s.drawnAlpha, 1.0f / 255.0f + 1e-4);
        const auto picture = DrawsOf(TCaptions::match);
        ASSERT_EQ(picture.size(), 1u);
        EXPECT_EQ(picture[0].x, 100.0f + 16.0f + 12.0f);
        EXPECT_EQ(picture[0].blend, plat::ALPHABLEND);
    }
    plat::testing::ClearDrawCalls();
    TCaptions::updateAll();  // frame 120: phase 180
    EXPECT_EQ(captions->Count(), 0);
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
}

TEST_F(CaptionsTest, ADelayedCaptionWaitsUnmovedThenStartsAsANewOne) {
    TCaptionsPtr c = TCaptions::addCaption(TCaptions::Points, 40, 10, 300, 1.0f, 0, 500, nullptr);
    plat::testing::AdvanceTime(499);
    plat::testing::ClearDrawCalls();
    TCaptions::updateAll();
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
    EXPECT_EQ(c->phase, 0.0f);
    EXPECT_EQ(c->y, 300.0f);
    EXPECT_EQ(c->delay, 500);
    plat::testing::AdvanceTime(1);
    TCaptions::updateAll();
    EXPECT_EQ(c->delay, 0);
    EXPECT_FLOAT_EQ(c->phase, 3.0f);
    EXPECT_FLOAT_EQ(c->y, 299.5f);
}

TEST_F(CaptionsTest, PointsDigitsAdvanceByTheirWidthsAndScaleAndLiftWithTheScale) {
    struct Case {
        float scale;
        float digitY;            // after the first frame's rise of 0.5
        float x2, x3, pictureX;  // the 5, the 0 and the points picture
    } cases[] = {
        {1.0f, 199.5f, 19.0f, 38.0f, 72.0f},
        // trunc((1 - 1.6) x 30) = -18; advances 1.6 times as wide; the
        // picture keeps its 12 unscaled pixels and is lifted by 18.
        {1.6f, 181.5f, 30.4f, 60.8f, 72.0f},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.scale);
        captions->Clear();
        TCaptions::addCaption(TCaptions::Points, 250, 100, 200, k.scale, 0, 0, nullptr);
        plat::testing::ClearDrawCalls();
        TCaptions::updateAll();
        const auto d = DrawsOf(TCaptions::cyfry);
        ASSERT_EQ(d.size(), 3u);
        EXPECT_EQ(d[0].frame, 2);
        EXPECT_EQ(d[1].frame, 5);
        EXPECT_EQ(d[2].frame, 0);
        EXPECT_FLOAT_EQ(d[0].x, 100.0f);
        EXPECT_NEAR(d[1].x, 100.0f + k.x2, 1e-4);
        EXPECT_NEAR(d[2].x, 100.0f + k.x3, 1e-4);
        EXPECT_FLOAT_EQ(d[0].y, k.digitY);
        EXPECT_FLOAT_EQ(d[0].sx, k.scale);
        const auto p = DrawsOf(TCaptions::points);
        ASSERT_EQ(p.size(), 1u);
        const float pen = (22.0f + 19.0f + 19.0f) * k.scale;
        EXPECT_FLOAT_EQ(p[0].x, 100.0f + static_cast<float>(static_cast<int>(pen + 12.0f)));
        EXPECT_NEAR(p[0].y, 199.5f - (k.scale - 1.0f) * 30.0f, 1e-4);
    }
}

TEST_F(CaptionsTest, ComboAndPictureCaptionsGrowFromTheirHandles) {
    for (int colours = 2; colours <= 4; ++colours) {
        captions->Clear();
        TCaptions::addCaption(TCaptions::Combo, colours, 400, 330, 1.2f, 0, 0, nullptr);
        plat::testing::ClearDrawCalls();
        TCaptions::updateAll();
        TCaptions::updateAll();
        const auto d = DrawsOf(TCaptions::combo);
        ASSERT_EQ(d.size(), 2u);
        EXPECT_EQ(d[1].frame, colours - 2);
        EXPECT_EQ(d[1].x, 400.0f);
        EXPECT_EQ(d[1].y, 330.0f);
        EXPECT_FLOAT_EQ(d[0].sx, 1.2f) << "drawn at the scale the previous frame left";
        EXPECT_FLOAT_EQ(d[1].sx, 1.205f);
        EXPECT_FLOAT_EQ(captions->First()->scale, 1.21f);
    }
    captions->Clear();
    const plat::ImagePtr name = Frames(100, 30);
    TCaptionsPtr given = TCaptions::addCaption(TCaptions::Picture, 0, 50, 60, 1.0f, 0, 0, name);
    TCaptions::addCaption(TCaptions::Picture, 0, 50, 60, 1.0f, 0, 0, nullptr);
    plat::testing::ClearDrawCalls();
    TCaptions::updateAll();
    EXPECT_EQ(DrawsOf(name).size(), 1u);
    EXPECT_EQ(plat::testing::DrawCalls().size(), 1u) << "a picture caption without a picture draws nothing";
    EXPECT_EQ(captions->Count(), 2);
}

TEST_F(CaptionsTest, WidthsAndCentring) {
    struct Case {
        int kind, value, width;
    } cases[] = {
        {TCaptions::Match, 7, 16 + 12 + 80},
        {TCaptions::Points, 250, 19 + 22 + 19 + 12 + 90},
        {TCaptions::Combo, 3, 19 + 12 + 256},
        {TCaptions::Picture, 10, 10 + 22 + 12},
    };
    for (const Case& c : cases) {
        TCaptionsPtr plain = TCaptions::addCaption(c.kind, c.value, 300, 0, 1.0f, 0, 0, Frames(5, 5));
        EXPECT_EQ(plain->GetWidth(), c.width) << c.kind;
        TCaptionsPtr centred = TCaptions::addCaption(c.kind, c.value, 300, 0, 1.0f, 1, 0, Frames(5, 5));
        EXPECT_EQ(centred->x, static_cast<float>(300 - c.width / 2)) << c.kind;
    }
}

TEST_F(CaptionsTest, DestroyAllEndsEveryCaptionAtOnce) {
    for (int i = 0; i < 5; ++i) TCaptions::addCaption(TCaptions::Match, i, 0, 0, 1.0f, 0, i * 100, nullptr);
    TCaptionsPtr third = captions->ValueAtIndex(2);
    third->Destroy();
    EXPECT_EQ(captions->Count(), 4);
    EXPECT_FALSE(captions->Contains(third));
    TCaptions::destroyAll();
    EXPECT_EQ(captions->Count(), 0);
    TCaptions::updateAll();  // nothing left to walk
}

}  // namespace
