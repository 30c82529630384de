// Comets: the flight along the curve, the finishing updates, the trail
// sparks (positions, colours, sizes, lives) and the order of random draws.
#include <set>

#include "ui_fixture.h"

namespace {

class Comets : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        sparkImages[0] = Image(8, 8);
    }
    // SparkList in creation order (it holds the newest first).
    static std::vector<TSparkPtr> SparksMade() {
        std::vector<TSparkPtr> v = SparkList->ToArray();
        return {v.rbegin(), v.rend()};
    }
};

TEST_F(Comets, SpeedQuarterFliesFourUpdatesOvershootsThenFinishesOnTheSixth) {
    auto c = TCometEmiter::start(100, 100, 300, 100, 200, 100, 0.25f, -6, 6, -6, 6, 0.8f);
    EXPECT_EQ(cometList->Count(), 1);
    EXPECT_EQ(c->alive, 1);
    EXPECT_EQ(c->t, 0.0f);
    const float wantT[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.001f, 1.0f};
    for (int i = 0; i < 6; ++i) {
        TCometEmiter::updateAll();
        EXPECT_FLOAT_EQ(c->t, wantT[i]) << "update " << i + 1;
        EXPECT_EQ(SparkList->Count(), 4 * (i + 1));
        EXPECT_EQ(cometList->Count(), i < 5 ? 1 : 0);
    }
    EXPECT_EQ(c->alive, 0);
    EXPECT_FLOAT_EQ(c->headX, 300.0f);  // exactly on the target at the end
    TCometEmiter::updateAll();
    EXPECT_EQ(SparkList->Count(), 24);
}

TEST_F(Comets, HeadFollowsTheQuadraticCurve) {
    auto c = TCometEmiter::start(0, 0, 200, 0, 100, 200, 0.5f, 0, 0, 0, 0, 1.0f);
    c->update();
    // t = 0.5: a quarter of the start, half the control point, a quarter of the target.
    EXPECT_FLOAT_EQ(c->headX, 100.0f);
    EXPECT_FLOAT_EQ(c->headY, 100.0f);
    EXPECT_EQ(c->emissionX, 100.0f);  // the next update's sparks go here
    delta = 0.5;  // the advance scales with delta
    c->update();
    EXPECT_FLOAT_EQ(c->t, 0.75f);
}

TEST_F(Comets, FirstUpdateScattersEverySparkAroundTheStartPoint) {
    auto c = TCometEmiter::start(50, 60, 500, 500, 200, 300, 0.1f, 0, 0, 0, 0, 0.8f);
    c->setRGB(10, 20, 30);
    c->update();
    const auto made = SparksMade();
    ASSERT_EQ(made.size(), 4u);
    for (const auto& s : made) {
        EXPECT_EQ(s->x, 50.0f);
        EXPECT_EQ(s->y, 60.0f);
        EXPECT_EQ(s->image, sparkImages[0]);
        EXPECT_EQ(s->blend, 1);
        EXPECT_EQ(s->fadeMode, 0);
    }
    EXPECT_FLOAT_EQ(made[0]->size, 1.2f);  // jitter sparks
    EXPECT_FLOAT_EQ(made[1]->size, 1.2f);
    EXPECT_FLOAT_EQ(made[2]->size, 0.8f * 1.3f);  // head sparks
    EXPECT_FLOAT_EQ(made[3]->size, 0.8f * 1.3f);
    for (int i : {0, 1}) {
        EXPECT_GE(made[i]->life, 50);
        EXPECT_LE(made[i]->life, 60);
    }
    for (int i : {2, 3}) {
        EXPECT_GE(made[i]->life, 20);
        EXPECT_LE(made[i]->life, 50);
        EXPECT_EQ(made[i]->red, made[1]->red);  // the last jitter spark's colour
        EXPECT_EQ(made[i]->blue, made[1]->blue);
    }
    // The trail now remembers the start point in its newest slot.
    EXPECT_EQ(c->trailX[4], 50);
    EXPECT_EQ(c->trailY[4], 60);
    EXPECT_EQ(c->trailX[3], 0);
}

TEST_F(Comets, AnEmptyTrailEntryOnOneAxisFallsBackToTheEmissionPoint) {
    TCometEmiter c;
    c.emissionX = 40;
    c.emissionY = 70;
    for (int i = 0; i < 5; ++i) {
        c.trailX[i] = 0;  // x exactly 0 counts as empty
        c.trailY[i] = 11;
    }
    c._update(1, 2, 4);
    const auto made = SparksMade();
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[0]->x, 40.0f);
    EXPECT_EQ(made[0]->y, 11.0f);
    EXPECT_EQ(made[1]->x, 40.0f);
    EXPECT_EQ(made[2]->y, 70.0f);  // head sparks stand on the emission point
    EXPECT_EQ(c.emissionX, 1.0f);
    EXPECT_EQ(c.emissionY, 2.0f);
    EXPECT_EQ(c.trailX[4], 40);
    EXPECT_EQ(c.trailY[4], 70);
    EXPECT_EQ(c.trailY[3], 11);
    // A count below 3 makes only the two head sparks, black.
    TCometEmiter d;
    d.setRGB(200, 200, 200);
    d._update(0, 0, 2);
    EXPECT_EQ(SparkList->Count(), 6);
    EXPECT_EQ(SparkList->First()->red, 0);
}

TEST_F(Comets, TrailColourRisesToOneAndAHalfTimesAndIsDrawnClamped) {
    auto c = TCometEmiter::start(100, 100, 700, 500, 400, 100, 0.0f, -6, 6, -6, 6, 0.8f);  // never arrives
    c->setRGB(200, 0, 100);
    std::set<int> reds;
    plat::SeedRnd(7);
    for (int i = 0; i < 300; ++i) {
        TCometEmiter::updateAll();
        for (const auto& s : SparkList->ToArray()) {
            reds.insert(s->red);
            ASSERT_EQ(s->green, 0);
            ASSERT_GE(s->blue, 110);
            ASSERT_LE(s->blue, 150);
        }
        SparkList->Clear();
    }
    EXPECT_EQ(*reds.begin(), 220);
    EXPECT_EQ(*reds.rbegin(), 300);
    EXPECT_EQ(cometList->Count(), 1);
    TCometEmiter::updateAll();
    TSpark::UpdateAll();
    for (const auto& call : Calls(Call::IMAGE)) EXPECT_LE(call.r, 255);
}

TEST_F(Comets, WithoutSetRGBTheTrailIsBlack) {
    TCometEmiter::start(100, 100, 200, 200, 150, 100, 0.1f, -6, 6, -6, 6, 0.8f);
    TCometEmiter::updateAll();
    for (const auto& s : SparkList->ToArray()) {
        EXPECT_EQ(s->red, 0);
        EXPECT_EQ(s->green, 0);
        EXPECT_EQ(s->blue, 0);
    }
}

TEST_F(Comets, TheFinalUpdateHasNoScatter) {
    auto c = TCometEmiter::start(100, 100, 300, 200, 200, 50, 0.5f, -60, 60, -60, 60, 0.8f);
    c->update();  // t 0.5
    c->update();  // t 1.0
    c->update();  // t 1.001: head a little past the target
    const int lastHeadX = static_cast<int>(c->headX), lastHeadY = static_cast<int>(c->headY);
    std::set<std::pair<int, int>> past;
    for (int i = 0; i < 5; ++i)
        past.insert({c->trailX[i] == 0 ? lastHeadX : c->trailX[i], c->trailY[i] == 0 ? lastHeadY : c->trailY[i]});
    SparkList->Clear();
    c->update();  // t 1: finishes
    EXPECT_EQ(c->t, 1.0f);
    EXPECT_EQ(cometList->Count(), 0);
    const auto made = SparksMade();
    ASSERT_EQ(made.size(), 4u);
    for (int i : {2, 3}) {
        EXPECT_EQ(made[i]->x, static_cast<float>(lastHeadX));
        EXPECT_EQ(made[i]->y, static_cast<float>(lastHeadY));
    }
    std::set<int> xs, ys;
    for (const auto& p : past) {
        xs.insert(p.first);
        ys.insert(p.second);
    }
    for (int i : {0, 1}) {
        EXPECT_TRUE(xs.count(static_cast<int>(made[i]->x)));
        EXPECT_TRUE(ys.count(static_cast<int>(made[i]->y)));
    }
}

TEST_F(Comets, RandomDrawsFollowTheDesignedOrder) {
    auto c = TCometEmiter::start(100, 120, 600, 400, 300, 100, 0.1f, -6, 6, -4, 8, 0.8f);
    c->setRGB(100, 150, 200);
    c->update();  // fill one trail slot so the slot draws matter
    SparkList->Clear();

    // What the next update must make, drawn by hand in the designed order.
    const float t = 0.2f;
    const float fade = 1.0f - t;
    plat::SeedRnd(424242);
    struct Want { int x, y, life, r, g, b; };
    std::vector<Want> want;
    const int ex = static_cast<int>(c->emissionX), ey = static_cast<int>(c->emissionY);
    int r = 0, g = 0, b = 0;
    for (int i = 0; i < 2; ++i) {
        r = plat::Rand(110, 150);
        g = plat::Rand(165, 225);
        b = plat::Rand(220, 300);
        const int sx = plat::Rand(0, 4);
        const int sy = plat::Rand(0, 4);
        const int bx = c->trailX[sx] ? c->trailX[sx] : ex;
        const int by = c->trailY[sy] ? c->trailY[sy] : ey;
        const int life = plat::Rand(50, 60);
        const int oy = plat::Rand(-2, 4);
        const int ox = plat::Rand(-3, 3);
        want.push_back({static_cast<int>(bx + fade * ox), static_cast<int>(by + fade * oy), life, r, g, b});
    }
    for (int div : {3, 2}) {
        const int life = plat::Rand(20, 50);
        const int oy = plat::Rand(-4 / div, 8 / div);
        const int ox = plat::Rand(-6 / div, 6 / div);
        want.push_back({static_cast<int>(ex + fade * ox), static_cast<int>(ey + fade * oy), life, r, g, b});
    }

    plat::SeedRnd(424242);
    c->update();
    ASSERT_FLOAT_EQ(c->t, t);
    const auto made = SparksMade();
    ASSERT_EQ(made.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(made[i]->x, static_cast<float>(want[i].x));
        EXPECT_EQ(made[i]->y, static_cast<float>(want[i].y));
        EXPECT_EQ(made[i]->life, static_cast<float>(want[i].life));
        EXPECT_EQ(made[i]->red, want[i].r);
        EXPECT_EQ(made[i]->green, want[i].g);
        EXPECT_EQ(made[i]->blue, want[i].b);
    }
}

TEST_F(Comets, AFinishingCometLeavesTheWalkWithoutDisturbingTheOthers) {
    auto fast = TCometEmiter::start(0, 0, 10, 10, 5, 5, 2.0f, 0, 0, 0, 0, 1);
    auto slow = TCometEmiter::start(0, 0, 10, 10, 5, 5, 0.01f, 0, 0, 0, 0, 1);
    TCometEmiter::updateAll();  // fast overshoots
    TCometEmiter::updateAll();  // fast finishes and leaves
    EXPECT_EQ(cometList->Count(), 1);
    EXPECT_EQ(cometList->First(), slow);
    EXPECT_FLOAT_EQ(slow->t, 0.02f);
    EXPECT_EQ(fast->alive, 0);
    // The start-up comet is never in the list.
    ASSERT_TRUE(comet);
    EXPECT_EQ(comet->alive, 0);
    EXPECT_FALSE(cometList->Contains(comet));
}

}  // namespace
