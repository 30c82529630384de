// Whole levels played headlessly through the quest's set-up, frame by frame
// in the play loop's order, under the fake clock: one to a win and its tally,
// one to a game over with no block fitting, one to a game over on time.
#include "level/level_test_util.h"

#include "board/board_rules.h"
#include "board/stones.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "modes/scene.h"
#include "platform/input.h"
#include "platform/time.h"
#include "ui/comet.h"
#include "ui/spark.h"

namespace {

// The four runes of the play tests, each of runes 1 and 2 with a stone form.
const char* kScenarioRunes = R"(
List{
  Quantity=6
  Rune1{ fileName='gfx/r1.png' fileName2='gfx/r1-40.png' id='1' color='1' width=32 height=32 blocked=0 title='' description='' blockedID='11' rgb='10,20:30,40:50,60' }
  Rune2{ fileName='gfx/r2.png' fileName2='gfx/r2-40.png' id='2' color='2' width=32 height=32 blocked=0 title='' description='' blockedID='12' rgb='90,99:90,99:0,9' }
  Rune3{ fileName='gfx/r3.png' fileName2='gfx/r3-40.png' id='3' color='3' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='0,0:0,0:0,0' }
  Rune4{ fileName='gfx/r4.png' fileName2='gfx/r4-40.png' id='4' color='4' width=32 height=32 blocked=0 title='' description='' blockedID='' rgb='0,0:0,0:0,0' }
  Rune5{ fileName='gfx/s1.png' fileName2='gfx/s1-40.png' id='11' color='1' width=32 height=32 blocked=1 title='' description='' blockedID='' unblocked='1' rgb='0,0:0,0:0,0' }
  Rune6{ fileName='gfx/s1.png' fileName2='gfx/s1-40.png' id='12' color='2' width=32 height=32 blocked=1 title='' description='' blockedID='' unblocked='2' rgb='0,0:0,0:0,0' }
}
)";

const char* kSequence = R"(
Sequence{ FirstLevel=0 LastLevel=2
  Level0{ FileName='win.tsc' Type=1 }
  Level1{ FileName='stuck.tsc' Type=1 }
  Level2{ FileName='timed.tsc' Type=1 }
}
)";

class ScenarioTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        razod = std::make_shared<TRuneManager>();
        razod->loadFrom(TscFromText(kScenarioRunes));
        WriteSettings({{"sequencer.tsc", kSequence}});
        // Goal 1: one sphere of colour 1 holding 6 runes.
        const std::string win = LevelText({{"Number", "0"}, {"GoalType", "1"}, {"CopySpellsFromRMG", "0"},
                                           {"PetrifyTime", "5000"}, {"Time", "0"}, {"AvailableRazod", "'1 2'"},
                                           {"AvailableBlocks", "'3'"}, {"SpheresColors", "'1 0 0 0 0'"},
                                           {"SpheresCapacities", "'6 0 0 0 0'"}},
                                          {"1 1 1 1 1", "1 1 1 1 1", "1 1 1 1 1"}, {"0 0 0 1 1"});
        // Goal 2 on a board of ten cells, eight of them taken from the start.
        const std::string stuck = LevelText({{"Number", "1"}, {"GoalType", "2"}, {"CopySpellsFromRMG", "0"},
                                             {"PetrifyTime", "3000"}, {"Time", "0"}, {"AvailableRazod", "'1 2'"},
                                             {"AvailableBlocks", "'1 3'"}, {"SpheresColors", "'0 0 0 0 0'"}},
                                            {"1 1 1 1 1", "1 1 1 1 1"}, {"1 2 1 2 1", "2 1 2 0 0"});
        // Two seconds to clear a board that has room to spare.
        const std::string timed = LevelText({{"Number", "2"}, {"GoalType", "2"}, {"CopySpellsFromRMG", "0"},
                                             {"PetrifyTime", "60000"}, {"Time", "2"}, {"AvailableBlocks", "'3'"}},
                                            {"1 1 1 1 1", "1 1 1 1 1"}, {"1"});
        WriteLevels({{"win.tsc", win}, {"stuck.tsc", stuck}, {"timed.tsc", timed}});
        for (int n = 1; n <= 3; ++n) WriteJpeg("gfx/bg/deski/deska-" + std::to_string(n) + ".jpg", 480, 480, 60, 50, 40);
        if (stonesList) stonesList->Clear();
        if (cometList) cometList->Clear();
        if (soundQueue) soundQueue->Clear();
        TCaptions::destroyAll();
        gameState = 1;
    }
    void TearDown() override {
        if (stonesList) stonesList->Clear();
        if (cometList) cometList->Clear();
        if (soundQueue) soundQueue->Clear();
        TCaptions::destroyAll();
        LevelTest::TearDown();
    }

public:
    // What the quest loop does when it starts a level afresh.
    static void StartLevel(int number) {
        ASSERT_EQ(sequencer->TryStart(number), 1);
        ASSERT_EQ(sequencer->setupLevel(), 1);
        board->createBoardImage(1);
        level->ResetStats();
        level->continueMusic();
        timeManager->Reset(1);
        board->lastPetrifyTime = plat::MilliSecs();
    }
    // One frame of the quest's play scene, as the play loop runs it; the
    // drops are made by hand.
    static void PlayFrame() {
        plat::testing::AdvanceTime(17);
        mouse->fetchState();
        modes::PlayScene();
    }
    // The player's next block: a bar of three runes, or one rune.
    static void Deal(std::vector<int> runes) {
        auto b = std::make_shared<TBlock>();
        b->id = runes.size() == 1 ? "1" : "3";
        for (size_t i = 0; i < runes.size(); ++i) {
            b->cells[i][0] = runes[i];
            b->colors[i][0] = razod->getRuneColor(std::to_string(runes[i]));
        }
        blocks->heldBlock = b;
        blocks->curRotation = blocks->targetRotation = 0;
        blocks->blockReady = 1;
        blocks->blockChanged = 1;
        board->checkGameOver();
    }
    // A left click over a cell, as the loop handles it.
    static bool ClickCell(int x, int y) {
        PointAt(board->originX + x * board->cellSize + 5, board->originY + y * board->cellSize + 5);
        if (board->placeBlock(nullptr, -1, -1, 1) == 0) return false;
        board->clearMatchingRazod(0);
        return true;
    }
};

TEST_F(ScenarioTest, ALevelIsWonWithStonesInTheLastRunAndTheTallyBanksTheFreeCells) {
    StartLevel(0);
    EXPECT_EQ(board->cellSize, 40);
    EXPECT_EQ(level->goalType, 1);
    for (int i = 0; i < 10; ++i) PlayFrame();
    EXPECT_EQ(level->isGoalAchieved(), 0);

    Deal({1, 1, 1});
    ASSERT_TRUE(ClickCell(0, 1));
    EXPECT_EQ(points->pointsActual, ClearPoints(3, 1));
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 3.0f);
    EXPECT_EQ(level->isGoalAchieved(), 0);

    // The two runes that lay there from the start are the oldest: they turn
    // to stone once the interval has passed and the fade is over.
    int frames = 0;
    while (board->runeLayer[3][0] != 11 && frames < 600) {
        PlayFrame();
        ++frames;
    }
    EXPECT_EQ(board->runeLayer[3][0], 11);
    EXPECT_EQ(board->runeLayer[4][0], 11);
    EXPECT_EQ(board->colorLayer[4][0], 1);
    EXPECT_GT(frames * 17, 5000);

    // A run of five through both stones: the three new runes clear, the
    // stones turn back into runes of their own and burst.
    Deal({1, 1, 1});
    ASSERT_TRUE(ClickCell(0, 0));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(board->runeLayer[x][0], 0);
    EXPECT_EQ(board->runeLayer[3][0], 1);
    EXPECT_EQ(board->runeLayer[4][0], 1);
    ASSERT_NE(stonesList, nullptr);
    EXPECT_GT(stonesList->Count(), 0) << "the stones burst into fragments";
    const int score = ClearPoints(3, 1) + ClearPoints(5, 1);
    EXPECT_EQ(points->pointsActual, score);
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 6.0f) << "filled to its capacity";
    EXPECT_EQ(std::tie(level->blocksUsed, level->matches, level->combos), std::tuple(2, 2, 0));
    ASSERT_EQ(level->isGoalAchieved(), 1);

    // The tally, as the quest loop runs it, then the banking.
    points->pointsTotal = 1000;
    level->startSummary();
    frames = 0;
    while (level->summaryDone == 0 && frames < 2000) {
        plat::testing::AdvanceTime(17);
        level->updateSummary();
        level->Draw();
        if (level->summaryStage < 6) {
            magicSphere->Update(0);
            timeManager->DrawAndUpdate();
            points->Draw();
            board->Draw(0);
            bossManager->Draw();
        }
        level->summaryDisplay();
        TSpark::UpdateAll();
        if (level->summaryStage == 8) plat::testing::ClickMouse(plat::MOUSE_LEFT);
        mouse->fetchState();
        ++frames;
    }
    ASSERT_EQ(level->summaryDone, 1);
    EXPECT_EQ(points->pointsActual, score + 13 * 25) << "every cell but the two turned-back stones is free";
    EXPECT_EQ(level->totalShown, 1000 + score + 13 * 25);
    EXPECT_EQ(board->gameOverFlag, 0);
    level->finish();
    EXPECT_EQ(points->pointsTotal, 1000 + score + 13 * 25);
    EXPECT_EQ(points->pointsActual, 0);
    EXPECT_TRUE(plat::testing::Notifications().empty());
}

TEST_F(ScenarioTest, ALevelIsLostWhenNoBlockFitsAndItsStonesStay) {
    StartLevel(1);
    EXPECT_EQ(level->goalType, 2);
    for (int i = 0; i < 10; ++i) PlayFrame();
    Deal({1});
    EXPECT_EQ(board->gameOverFlag, 0);
    ASSERT_TRUE(ClickCell(3, 1));
    EXPECT_EQ(points->pointsActual, 0) << "no run: nothing scores";

    int frames = 0;
    while (board->runeLayer[0][0] != 11 && frames < 600) {
        PlayFrame();
        ++frames;
    }
    // Every rune from the start is a stone of its colour; the later one is not.
    const int stones[2][5] = {{11, 12, 11, 12, 11}, {12, 11, 12, 1, 0}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(board->runeLayer[x][y], stones[y][x]) << x << "," << y;
    EXPECT_EQ(board->colorLayer[1][0], 2);

    // A bar of three has one free cell to go to: the level is lost.
    Deal({2, 2, 2});
    EXPECT_EQ(board->gameOverFlag, 1);
    EXPECT_FALSE(ClickCell(4, 1));
    EXPECT_EQ(level->isGoalAchieved(), 0);
    EXPECT_EQ(points->pointsActual, 0);
    EXPECT_EQ(level->blocksUsed, 1);
    EXPECT_EQ(level->summaryStage, 0) << "no tally for a lost level";
    EXPECT_EQ(level->bonusPoints, 0);
}

TEST_F(ScenarioTest, ALevelIsLostWhenItsTimeRunsOut) {
    StartLevel(2);
    EXPECT_EQ(timeManager->limit, 2000);
    Deal({2, 1, 2});
    int frames = 0;
    while (board->gameOverFlag == 0 && frames < 400) {
        PlayFrame();
        ++frames;
    }
    EXPECT_EQ(board->gameOverFlag, 1);
    EXPECT_GE(frames * 17, 2000);
    EXPECT_LT(frames * 17, 2000 + 2 * 17);
    EXPECT_EQ(level->isGoalAchieved(), 0);
    EXPECT_EQ(board->runeLayer[0][0], 1) << "the rune from the start is still there";
}

}  // namespace
