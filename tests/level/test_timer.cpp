// The level clock: counting, the gauge, pauses, the refill and the end.
#include "config/tsc_lexer.h"
#include "level/rules2_test_util.h"

namespace {

class TimerTest : public LevelRulesTest {
protected:
    void SetUp() override {
        LevelRulesTest::SetUp();
        // Gauge pictures told apart by their width: entry i is 1 + i wide.
        for (int i = 0; i < 30; ++i) timeManager->gaugePixmaps[static_cast<size_t>(i)] = plat::CreatePixmap(1 + i, 4);
        timeManager->timerImage = Frames(120, 120);
    }
    static int ShownEntry() { return plat::ImageWidth(timeManager->gaugeImage) - 1; }
};

TEST_F(TimerTest, TheGaugeStepsDownAsTheTimePasses) {
    timeManager->Set(60000);
    timeManager->Reset(0);
    EXPECT_EQ(timeManager->gaugeFrame, 0);
    EXPECT_EQ(ShownEntry(), 0);
    struct Case {
        int at, elapsed, index, over;
    } cases[] = {
        {0, 0, 0, 0},           {2068, 2068, 0, 0},     {2069, 2069, 1, 0},     {30000, 30000, 14, 0},
        {59999, 59999, 28, 0},  {60000, 60000, 29, 1},  {70000, 60000, 29, 1},
    };
    int now = 0;
    for (const Case& c : cases) {
        plat::testing::AdvanceTime(c.at - now);
        now = c.at;
        timeManager->Update();
        EXPECT_EQ(timeManager->elapsed, c.elapsed) << c.at;
        EXPECT_EQ(timeManager->gaugeFrame, c.index) << c.at;
        EXPECT_EQ(ShownEntry(), c.index) << c.at;
        EXPECT_EQ(timeManager->TimeOver(), c.over) << c.at;
    }
    EXPECT_EQ(timeManager->SaveToProfile(), 60000);
}

TEST_F(TimerTest, TheGameEndsWhenTheTimeIsOverAndTheFlagStays) {
    timeManager->Set(1000);
    timeManager->Reset(0);
    plat::testing::AdvanceTime(999);
    timeManager->DrawAndUpdate();
    EXPECT_EQ(board->gameOverFlag, 0);
    plat::testing::AdvanceTime(1);
    timeManager->DrawAndUpdate();
    EXPECT_EQ(board->gameOverFlag, 1);
    // A later limit does not take the flag back; the board's own test does.
    timeManager->Set(5000);
    timeManager->DrawAndUpdate();
    EXPECT_EQ(timeManager->TimeOver(), 0);
    EXPECT_EQ(board->gameOverFlag, 1);
}

TEST_F(TimerTest, WithoutALimitTheClockCountsButNeverEnds) {
    // A gauge made under an earlier limit: without a limit it is not shown.
    timeManager->Set(60000);
    timeManager->Reset(0);
    ASSERT_NE(timeManager->gaugeImage, nullptr);
    timeManager->Set(0);
    timeManager->Reset(0);
    plat::testing::AdvanceTime(123456);
    plat::testing::ClearDrawCalls();
    timeManager->DrawAndUpdate();
    EXPECT_EQ(timeManager->SaveToProfile(), 123456);
    EXPECT_EQ(timeManager->TimeOver(), 0);
    EXPECT_EQ(board->gameOverFlag, 0);
    EXPECT_TRUE(DrawsOf(timeManager->gaugeImage).empty());
    EXPECT_EQ(DrawsOf(timeManager->timerImage).size(), 1u);
}

TEST_F(TimerTest, APauseIsNeverCountedAsPlayTime) {
    timeManager->Set(60000);
    timeManager->Reset(0);
    plat::testing::AdvanceTime(5000);
    timeManager->Update();
    timeManager->PauseOn();
    timeManager->Update();
    plat::testing::AdvanceTime(10000);
    timeManager->Update();
    EXPECT_EQ(timeManager->elapsed, 5000);
    timeManager->PauseOff();
    EXPECT_EQ(timeManager->elapsed, 5000);
    EXPECT_EQ(timeManager->paused, 0);
    plat::testing::AdvanceTime(1000);
    timeManager->Update();
    EXPECT_EQ(timeManager->elapsed, 6000);
    // PauseOff without a pause changes nothing.
    const int start = timeManager->startTime;
    plat::testing::AdvanceTime(1000);
    timeManager->PauseOff();
    EXPECT_EQ(timeManager->startTime, start);
    EXPECT_EQ(timeManager->elapsed, 6000);
}

TEST_F(TimerTest, AResumedClockShowsItsGaugeAtOnce) {
    timeManager->Set(60000);
    timeManager->Reset(1);
    timeManager->LoadFromProfile(15000);
    EXPECT_EQ(timeManager->elapsed, 15000);
    EXPECT_EQ(timeManager->gaugeFrame, 7);
    EXPECT_EQ(timeManager->refilling, 0);
}

TEST_F(TimerTest, AnUntimedClockCountsAfterARestartWithRefill) {
    // Untimed quest levels and the endless restart start the clock with Reset(1).
    timeManager->Set(0);
    timeManager->Reset(1);
    plat::testing::AdvanceTime(5000);
    timeManager->DrawAndUpdate();
    EXPECT_EQ(timeManager->refilling, 0);
    EXPECT_EQ(timeManager->SaveToProfile(), 5000);
}

TEST_F(TimerTest, TheRefillRunsBackToFullIn600Ms) {
    timeManager->Set(60000);
    timeManager->Reset(0);
    plat::testing::AdvanceTime(30000);
    timeManager->Update();
    timeManager->Reset(1);
    EXPECT_EQ(timeManager->elapsed, 0);
    struct Case {
        int at, index, refilling;
    } cases[] = {{0, 29, 1}, {19, 29, 1}, {20, 28, 1}, {300, 14, 1}, {579, 1, 1}, {580, 0, 1}, {599, 0, 1}, {600, 0, 0}};
    int now = 0;
    for (const Case& c : cases) {
        plat::testing::AdvanceTime(c.at - now);
        now = c.at;
        timeManager->Update();
        EXPECT_EQ(timeManager->gaugeFrame, c.index) << c.at;
        EXPECT_EQ(timeManager->refilling, c.refilling) << c.at;
        if (c.refilling) {
            EXPECT_EQ(timeManager->elapsed, 0) << c.at;
        }
    }
    timeManager->Update();
    EXPECT_EQ(timeManager->elapsed, 600) << "the clock ran from the reset";
}

TEST_F(TimerTest, TheLimitComesInSecondsFromTheLevelFile) {
    timeManager->Load(TscFromText("Settings{ Level{ Time=0.5 } }"));
    EXPECT_EQ(timeManager->limit, 500);
    timeManager->Load(TscFromText("Settings{ Level{ Time=90 } }"));
    EXPECT_EQ(timeManager->limit, 90000);
    timeManager->Load(TscFromText("Settings{ Level{ Time=3000000 } }"));
    EXPECT_EQ(timeManager->limit, 2147483647) << "held to the clock's range";
    EXPECT_THROW(timeManager->Load(TscFromText("Settings{ Level{ Goal=1 } }")), TSCError);
}

TEST_F(TimerTest, TheTimerHangsOnTwoRopesUnlessAskedNotTo) {
    timeManager->Set(60000);
    timeManager->Reset(0);
    plat::testing::ClearDrawCalls();
    timeManager->Draw(1);
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(std::tuple(calls[0].image, calls[0].x, calls[0].y), std::tuple(rope.get(), 66.0f, 311.0f));
    EXPECT_EQ(std::tuple(calls[1].image, calls[1].x, calls[1].y), std::tuple(rope.get(), 124.0f, 311.0f));
    EXPECT_EQ(std::tuple(calls[2].image, calls[2].x, calls[2].y), std::tuple(timeManager->timerImage.get(), 42.0f, 211.0f));
    EXPECT_EQ(std::tuple(calls[3].image, calls[3].x, calls[3].y), std::tuple(timeManager->gaugeImage.get(), 59.0f, 228.0f));
    plat::testing::ClearDrawCalls();
    timeManager->DrawWithoutRope();
    EXPECT_TRUE(DrawsOf(rope).empty());
    EXPECT_EQ(plat::testing::DrawCalls().size(), 2u);
}

}  // namespace
