#include <gtest/gtest.h>

#include "core/delta_time.h"
#include "core_fixture.h"
#include "platform/testing.h"
#include "platform/time.h"

namespace pt = plat::testing;

class DeltaTimeTest : public CoreTest {};

TEST_F(DeltaTimeTest, DeltaIsTheFrameTimeInSixtiethsOfASecondUnclamped) {
    auto t = TDeltaTime::Create(60.0f);
    EXPECT_FLOAT_EQ(t->frameMs, 1000.0f / 60.0f);
    EXPECT_FLOAT_EQ(t->CurrDelta(), 0.0f);  // before any Update
    t->Update();                             // drop the time spent before the loop
    struct Case { int ms; float want; };
    const Case cases[] = {{16, 0.96f}, {17, 1.02f}, {33, 1.98f}, {0, 0.0f}, {500, 30.0f}, {1, 0.06f}};
    for (const Case& c : cases) {
        pt::AdvanceTime(c.ms);
        t->Update();
        EXPECT_EQ(t->elapsedMs, c.ms);
        EXPECT_NEAR(t->CurrDelta(), c.want, 1e-5f) << c.ms << " ms";
    }
}

TEST_F(DeltaTimeTest, FirstUpdateMeasuresTheWholeClock) {
    pt::AdvanceTime(2000);
    auto t = TDeltaTime::Create(60.0f);
    t->Update();
    EXPECT_EQ(t->elapsedMs, plat::MilliSecs());
}

TEST_F(DeltaTimeTest, FpsCountsTheFramesOfEachClosedSecond) {
    auto t = TDeltaTime::Create(60.0f);
    pt::AdvanceTime(5);
    t->Update();  // opens the first window
    EXPECT_EQ(t->FPS(), 0);
    // 60 frames over exactly 1000 ms: the frame at the window's end still counts.
    int64_t start = pt::Now();
    for (int i = 1; i <= 60; ++i) {
        pt::AdvanceTime(start + i * 1000 / 60 - pt::Now());
        t->Update();
    }
    EXPECT_EQ(t->FPS(), 0);  // the window closes on the next frame past its end
    EXPECT_EQ(t->frameCount, 60);
    pt::AdvanceTime(16);
    t->Update();
    EXPECT_EQ(t->FPS(), 60);
    EXPECT_EQ(t->frameCount, 0);
}

TEST_F(DeltaTimeTest, SetFpsChangesOnlyTheTarget) {
    auto t = TDeltaTime::Create(60.0f);
    t->Update();
    pt::AdvanceTime(20);
    t->Update();
    const float at60 = t->CurrDelta();
    const int fps = t->fps, count = t->frameCount, end = t->secondEnd;
    t->SetFPS(30.0f);
    EXPECT_FLOAT_EQ(t->CurrDelta(), at60 / 2);  // the same 20 ms are fewer target frames
    pt::AdvanceTime(20);
    t->Update();
    EXPECT_FLOAT_EQ(t->CurrDelta(), 0.6f);
    EXPECT_EQ(t->fps, fps);
    EXPECT_EQ(t->frameCount, count + 1);
    EXPECT_EQ(t->secondEnd, end);
}

TEST_F(DeltaTimeTest, TheListKeepsEveryTimerUntilDestroy) {
    std::weak_ptr<TDeltaTime> weak;
    {
        auto t = TDeltaTime::Create(60.0f);
        auto u = TDeltaTime::Create(30.0f);
        weak = t;
        EXPECT_EQ(TDeltaTime::DeltaTList->Count(), 2);
    }
    ASSERT_FALSE(weak.expired());
    weak.lock()->Destroy();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(TDeltaTime::DeltaTList->Count(), 1);
}
