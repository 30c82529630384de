// Spark rings: defaults, the fade of their sparks and their three turns.
#include "spells_test_util.h"

namespace {

class RingTest : public SpellTest {};

TEST_F(RingTest, DefaultsOnlyWhereAsked) {
    struct Case {
        float radius;
        int r, g, b;
        float lo, hi;
        float wantRadius;
        int wr, wg, wb;
        float wlo, whi;
    };
    const Case cases[] = {
        {0, -1, -1, -1, -1, -1, 26, 255, 150, 150, 0.5f, 1.0f},
        {-10, 0, 10, -5, 0, 2, -10, 0, 10, 150, 0, 2},
        {40, 1, 2, 3, 0.8f, 1.2f, 40, 1, 2, 3, 0.8f, 1.2f},
    };
    for (const Case& c : cases) {
        ringEmiterList->Clear();
        EXPECT_EQ(TRingEmiter::Create(100, 200, c.radius, c.r, c.g, c.b, c.lo, c.hi, 2), 0);
        const TRingEmiterPtr ring = ringEmiterList->First();
        ASSERT_NE(ring, nullptr);
        EXPECT_FLOAT_EQ(ring->radius, c.wantRadius);
        EXPECT_EQ(ring->red, c.wr);
        EXPECT_EQ(ring->green, c.wg);
        EXPECT_EQ(ring->blue, c.wb);
        EXPECT_FLOAT_EQ(ring->minScale, c.wlo);
        EXPECT_FLOAT_EQ(ring->maxScale, c.whi);
        EXPECT_EQ(ring->imageIndex, 2);
        EXPECT_FLOAT_EQ(ring->centreX, 100.0f);
    }
}

TEST_F(RingTest, ThreeTurnsFadingInAndOut) {
    TRingEmiter::Create(300, 300, 0, -1, -1, -1, -1, -1, 1);
    const TRingEmiterPtr ring = ringEmiterList->First();
    int updates = 0;
    std::vector<std::array<int, 3>> colours;
    while (!ringEmiterList->IsEmpty() && updates < 500) {
        TRingEmiter::UpdateAll();
        ++updates;
        const TSparkPtr s = SparkList->First();  // sparks go to the front
        colours.push_back({s->red, s->green, s->blue});
        EXPECT_NEAR(std::hypot(s->x - 300.0f, s->y - 300.0f), 26.0f, 4.0f) << updates;
    }
    EXPECT_EQ(updates, 109);
    EXPECT_EQ(SparkList->Count(), 109);
    EXPECT_EQ(colours[0], (std::array<int, 3>{7, 4, 4}));           // 10 of 360 degrees
    EXPECT_EQ(colours[35], (std::array<int, 3>{255, 150, 150}));    // exactly 360: full
    // The last of the three turns fades out from 900 degrees, a quarter of
    // the colour every 90 degrees.
    const struct {
        int angle;
        std::array<int, 3> colour;
    } fade[] = {
        {900, {255, 150, 150}},   // exactly 900: full
        {910, {247, 145, 145}},   // the first step down
        {990, {191, 112, 112}},   // three quarters
        {1080, {127, 75, 75}},    // half
    };
    for (const auto& f : fade) EXPECT_EQ(colours[static_cast<size_t>(f.angle / 10 - 1)], f.colour) << f.angle;
    EXPECT_FLOAT_EQ(ring->angle, 1090.0f);
}

TEST_F(RingTest, OneLongFrameStillLeavesItsSparkAndEnds) {
    TRingEmiter::Create(0, 0, 10, 255, 255, 255, 1, 1, 1);
    delta = 200.0;
    TRingEmiter::UpdateAll();
    EXPECT_TRUE(ringEmiterList->IsEmpty());
    ASSERT_EQ(SparkList->Count(), 1);
    EXPECT_LT(SparkList->First()->red, 0);  // far past the fade's end
}

TEST_F(RingTest, TheSpheresRingThroughTheLink) {
    ASSERT_TRUE(sphereLinks.ringEmiter);
    sphereLinks.ringEmiter(50, 60, 26, 10, 20, 30, 0.8f, 1.2f, 1);
    ASSERT_EQ(ringEmiterList->Count(), 1);
    EXPECT_EQ(ringEmiterList->First()->green, 20);
}

}  // namespace
