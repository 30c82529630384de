// The level manager: reading a level file key by key, its failures, the
// background and the song, the goal test, the quick summary and banking.
#include "level/level_test_util.h"

#include <climits>

#include "config/tsc_lexer.h"
#include "level/bosses.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/input.h"

namespace {

using LevelLoadTest = LevelTest;

TEST_F(LevelLoadTest, EveryKeyGoesWhereItBelongs) {
    WriteLevels({{"l4.tsc", LevelText({}, {"1 1 1 1", "1 0 1 1", "1 1 1 1"}, {"1 2", "0 0 3"})}});
    level->Set("l4.tsc");
    EXPECT_EQ(level->fileName, "l4.tsc");
    ASSERT_EQ(level->Load(0), 0);

    EXPECT_EQ(level->levelNumber, 4);
    EXPECT_EQ(level->goalType, 2);
    EXPECT_EQ(level->copySpellsFromRing, 1);
    EXPECT_EQ(level->backgroundName, "gfx/slides/slide-04.jpg");
    EXPECT_EQ(revealed, std::vector<std::string>{"gfx/slides/slide-04.jpg"});
    EXPECT_EQ(blocks->availableRazod, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(blocks->availableBlocks, (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(level->availableSpells, (std::vector<std::string>{"1", "4", "6"}));
    EXPECT_EQ(board->petrifyInterval, 12000);
    EXPECT_EQ(level->songName, "sfx/song-4.ogg");
    EXPECT_EQ(level->levelFile, nullptr) << "the file lives only while Load runs";
    // The board, the spheres and the timer read their own keys of the same file.
    EXPECT_EQ(board->shapeLayer[3][2], 1);
    EXPECT_EQ(board->shapeLayer[1][1], 0);
    EXPECT_EQ(board->shapeLayer[4][0], 0);
    EXPECT_EQ(board->runeLayer[1][0], 2);
    EXPECT_EQ(board->colorLayer[2][1], 3);
    EXPECT_FALSE(board->frameElements.empty()) << "the frame is built from the outline";
    EXPECT_EQ(magicSphere->sphereColor[1], 2);
    EXPECT_FLOAT_EQ(magicSphere->sphereCapacity[2], 7.0f);
    EXPECT_EQ(timeManager->limit, 90000);
}

TEST_F(LevelLoadTest, AFixedGoalReadsNeitherGoalNorRingSpells) {
    WriteLevels({{"e.tsc", LevelText({{"GoalType", "-"}, {"CopySpellsFromRMG", "-"}})}});
    level->Set("e.tsc");
    level->goalType = 3;
    level->copySpellsFromRing = 1;
    ASSERT_EQ(level->Load(1), 0);
    EXPECT_EQ(level->goalType, 1);
    EXPECT_EQ(level->copySpellsFromRing, 0);
    // The same file without the fixed goal misses its first unread key.
    try {
        level->Load(0);
        FAIL() << "no missing-key error";
    } catch (const TSCError& e) {
        EXPECT_EQ(e.Text(), "The key Settings::Level::CopySpellsFromRMG does not exist");
    }
}

TEST_F(LevelLoadTest, AMissingNumberKeyRaisesFromLoadAndIsShownByTryLoad) {
    struct Case {
        const char* key;
        int fixedGoal;
    } cases[] = {{"Number", 0}, {"CopySpellsFromRMG", 0}, {"GoalType", 0}, {"PetrifyTime", 1}, {"Time", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        WriteLevels({{"bad.tsc", LevelText({{c.key, "-"}})}});
        level->Set("bad.tsc");
        EXPECT_THROW(level->Load(c.fixedGoal), TSCError);
        EXPECT_EQ(level->levelFile, nullptr) << "released on the way out too";
        plat::testing::ClearNotifications();
        EXPECT_EQ(level->TryLoad(c.fixedGoal), 0);
        EXPECT_TRUE(Notified({"bad.tsc", std::string("Settings::Level::") + c.key, "does not exist"}));
    }
}

TEST_F(LevelLoadTest, MissingTextKeysGiveEmptyValues) {
    WriteLevels({{"t.tsc", LevelText({{"BackgroundImage", "-"}, {"AvailableSpells", "-"}, {"Song", "-"}})}});
    level->Set("t.tsc");
    level->availableSpells = {"9"};
    level->songName = "old.ogg";
    ASSERT_EQ(level->TryLoad(0), 1);
    EXPECT_EQ(level->backgroundName, "");
    EXPECT_TRUE(revealed.empty()) << "no empty name in the gallery";
    EXPECT_TRUE(level->availableSpells.empty());
    EXPECT_EQ(level->songName, "");
    // A list with two spaces keeps the empty piece as an entry.
    WriteLevels({{"t.tsc", LevelText({{"AvailableSpells", "'2  5'"}})}});
    ASSERT_EQ(level->TryLoad(0), 1);
    EXPECT_EQ(level->availableSpells, (std::vector<std::string>{"2", "", "5"}));
}

TEST_F(LevelLoadTest, ListsThatCannotDealABlockStopTheLoadNamingTheLevel) {
    struct Case {
        std::map<std::string, std::string> changes;
        const char* why;
    } cases[] = {
        {{{"AvailableRazod", "''"}}, "AvailableRazod"},
        {{{"AvailableRazod", "-"}}, "AvailableRazod"},
        {{{"AvailableBlocks", "''"}}, "AvailableBlocks"},
        {{{"AvailableBlocks", "'2 9'"}}, "\"9\""},
        {{{"AvailableRazod", "' 0 -1'"}}, "no rune id above 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        WriteLevels({{"deal.tsc", LevelText(c.changes)}});
        level->Set("deal.tsc");
        EXPECT_THROW(level->Load(0), TLevelError);
        plat::testing::ClearNotifications();
        EXPECT_EQ(level->TryLoad(0), 0);
        EXPECT_TRUE(Notified({"deal.tsc", c.why}));
    }
}

TEST_F(LevelLoadTest, ALevelWithoutABoardCellIsRefusedNamingIt) {
    WriteLevels({{"void.tsc", LevelText({}, {})}});
    level->Set("void.tsc");
    EXPECT_THROW(level->Load(0), TLevelError);
    plat::testing::ClearNotifications();
    EXPECT_EQ(level->TryLoad(0), 0);
    EXPECT_TRUE(Notified({"void.tsc", "no board cell"}));
    // One cell is a board.
    WriteLevels({{"void.tsc", LevelText({}, {"0 0 1"})}});
    EXPECT_EQ(level->TryLoad(0), 1);
}

// The level's numbers are truncated and saturate at the int range, as every
// number the game reads; the time limit is worked out in single precision.
TEST_F(LevelLoadTest, NumbersAreTruncatedAndHugeOnesSaturate) {
    struct Case {
        const char* key;
        const char* value;
        int expected;
    } cases[] = {
        {"Number", "7.9", 7},
        {"Number", "99999999999", INT_MAX},
        {"Number", "-99999999999", INT_MIN},
        {"PetrifyTime", "12000.7", 12000},
        {"PetrifyTime", "99999999999", INT_MAX},
        {"PetrifyTime", "-99999999999", INT_MIN},
        {"Time", "0.5", 500},
        {"Time", "2.3", 2300},  // 2.2999999523 x 1000 is 2300 as a float, 2299.99995 as a double
        {"Time", "99999999999", INT_MAX},
        {"Time", "-99999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + c.value);
        WriteLevels({{"n.tsc", LevelText({{c.key, c.value}})}});
        level->Set("n.tsc");
        ASSERT_EQ(level->TryLoad(0), 1);
        const int got = std::string(c.key) == "Number"        ? level->levelNumber
                        : std::string(c.key) == "PetrifyTime" ? board->petrifyInterval
                                                              : timeManager->limit;
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(LevelLoadTest, AMissingMemberIsReportedTwiceAndLoadsNothing) {
    WriteLevels({{"l4.tsc", LevelText()}});
    level->Set("nowhere.tsc");
    EXPECT_EQ(level->TryLoad(0), 0);
    EXPECT_TRUE(Notified({"LOWER BBError: ", "nowhere.tsc"}));
    EXPECT_TRUE(Notified({"nowhere.tsc", "Settings::Level::Number"}));
}

TEST_F(LevelLoadTest, ACutArchiveIsAMessageNotACrash) {
    plat::CreateDir("data", true);
    const std::string whole = bca::PackArchive({{"l4.tsc", LevelText()}});
    ASSERT_TRUE(plat::SaveText("data/razod_levels.bca", whole.substr(0, 10)));
    level->Set("l4.tsc");
    EXPECT_EQ(level->TryLoad(0), 0);
    EXPECT_TRUE(Notified({"l4.tsc"}));
}

TEST_F(LevelLoadTest, LoadResetsTheTallyCursorButNotTheTotalOrTheStatistics) {
    WriteLevels({{"l4.tsc", LevelText()}});
    level->Set("l4.tsc");
    level->summaryStage = 12;
    level->scanX = 0;
    level->scanY = 15;
    level->bonusPoints = 75;
    level->totalShown = 900;
    level->matches = 3;
    level->combos = 2;
    level->blocksUsed = 7;
    level->spellsCast = 1;
    level->spellsReceived = 4;
    ASSERT_EQ(level->Load(0), 0);
    EXPECT_EQ(level->summaryStage, 0);
    EXPECT_EQ(level->scanX, 0);
    EXPECT_EQ(level->scanY, 0);
    EXPECT_EQ(level->bonusPoints, 0);
    EXPECT_EQ(level->totalShown, 900);
    EXPECT_EQ(std::tie(level->matches, level->combos, level->blocksUsed, level->spellsCast, level->spellsReceived),
              std::tuple(3, 2, 7, 1, 4));
    // So a quit in the frame the goal is met still banks the whole bonus:
    // the 12-cell board is free but for nothing.
    level->doShortSummary();
    EXPECT_EQ(points->pointsActual, 12 * 25);
}

TEST_F(LevelLoadTest, ResetStatsClearsOnlyTheFiveCounts) {
    level->matches = 1;
    level->combos = 2;
    level->blocksUsed = 3;
    level->spellsCast = 4;
    level->spellsReceived = 5;
    level->totalShown = 6;
    level->difficulty = 3;
    level->summaryStage = 7;
    level->bonusPoints = 50;
    level->ResetStats();
    EXPECT_EQ(std::tie(level->matches, level->combos, level->blocksUsed, level->spellsCast, level->spellsReceived),
              std::tuple(0, 0, 0, 0, 0));
    EXPECT_EQ(std::tie(level->totalShown, level->difficulty, level->summaryStage, level->bonusPoints),
              std::tuple(6, 3, 7, 50));
}

TEST_F(LevelLoadTest, SetAndUpTouchOnlyTheirField) {
    level->levelNumber = 8;
    level->up();
    EXPECT_EQ(level->levelNumber, 9);
    level->Set("x.tsc");
    EXPECT_EQ(level->fileName, "x.tsc");
    EXPECT_EQ(level->levelNumber, 9);
}

// ---- background and song ---------------------------------------------------------------------

TEST_F(LevelLoadTest, TheBackgroundIsLoadedOnlyWhenItsNameChanges) {
    WritePicture("gfx/a.png", 8, 8);
    WritePicture("gfx/b.png", 8, 8);
    level->backgroundName = "gfx/a.png";
    level->loadGfx();
    const plat::ImagePtr first = level->backgroundImage;
    ASSERT_NE(first, nullptr);
    level->loadGfx();
    EXPECT_EQ(level->backgroundImage, first) << "the same name loads nothing";
    level->backgroundName = "gfx/b.png";
    level->loadGfx();
    EXPECT_NE(level->backgroundImage, first);
    EXPECT_EQ(level->loadedBackgroundName, "gfx/b.png");
    // A picture that cannot be read is not retried, and draws nothing.
    level->backgroundName = "gfx/missing.png";
    level->loadGfx();
    EXPECT_EQ(level->backgroundImage, nullptr);
    EXPECT_EQ(level->loadedBackgroundName, "gfx/missing.png");
    level->backgroundName = "";
    level->loadGfx();
    EXPECT_EQ(level->backgroundImage, nullptr);
    plat::testing::ClearDrawCalls();
    level->Draw();
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
}

TEST_F(LevelLoadTest, DrawPutsTheBackgroundAtTheCornerSolidAndUnscaled) {
    WritePicture("gfx/a.png", 8, 8);
    level->backgroundName = "gfx/a.png";
    level->loadGfx();
    plat::SetScale(2, 2);
    plat::SetAlpha(0.2f);
    plat::SetColor(1, 2, 3);
    plat::testing::ClearDrawCalls();
    level->Draw();
    ASSERT_EQ(plat::testing::DrawCalls().size(), 1u);
    const auto& d = plat::testing::DrawCalls()[0];
    EXPECT_EQ(std::tie(d.x, d.y, d.blend, d.sx, d.sy, d.r, d.g, d.b), std::tuple(0.f, 0.f, 2, 1.f, 1.f, 255, 255, 255));
    EXPECT_FLOAT_EQ(d.alpha, 1.0f);
}

TEST_F(LevelLoadTest, TheSongStartsPausedOnlyInPlayStates) {
    struct Case {
        int state;
        bool starts;
    } cases[] = {{0, false}, {2, false}, {10, false}, {1, true}, {-3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        level->music = nullptr;
        level->songName = "sfx/none.ogg";
        gameState = c.state;
        level->loadGfx();
        EXPECT_EQ(level->music != nullptr, c.starts);
    }
}

TEST_F(LevelLoadTest, MusicOperationsKeepTheStoppedStreamUntilTheNextSong) {
    level->pauseMusic();  // nothing to act on
    level->continueMusic();
    level->stopAndFreeMusic();
    level->songName = "sfx/none.ogg";
    level->playLvlMusic();
    const TAudioStreamPtr first = level->music;
    ASSERT_NE(first, nullptr);
    level->stopAndFreeMusic();
    EXPECT_EQ(level->music, first);
    level->playLvlMusic();
    EXPECT_NE(level->music, first);
}

// ---- goal --------------------------------------------------------------------------------------

TEST_F(LevelLoadTest, TheGoalTestFollowsTheGoalType) {
    // Board: one cell with a rune; spheres: the only one in use is full;
    // bosses: none, so all of them are beaten.
    board->clearBoard();
    board->runeLayer[0][0] = 1;
    magicSphere->sphereColor = {1, 0, 0, 0, 0};
    magicSphere->sphereCapacity = {2, 0, 0, 0, 0};
    magicSphere->sphereFill = {2, 0, 0, 0, 0};
    struct Case {
        int goal, expected;
    } cases[] = {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}};
    for (const Case& c : cases) {
        level->goalType = c.goal;
        EXPECT_EQ(level->isGoalAchieved(), c.expected) << c.goal;
    }
    // Each goal also the other way round: the board emptied, a sphere short
    // of full, a boss still standing.
    board->runeLayer[0][0] = 0;
    magicSphere->sphereFill = {1, 0, 0, 0, 0};
    PutBoss(5, 5);
    const Case turned[] = {{1, 0}, {2, 1}, {3, 0}};
    for (const Case& c : turned) {
        level->goalType = c.goal;
        EXPECT_EQ(level->isGoalAchieved(), c.expected) << c.goal;
    }
}

TEST_F(LevelLoadTest, GWinsOnlyBesideACheatsFile) {
    level->goalType = 4;  // never met by itself
    plat::testing::TapKey(plat::KEY_G);
    EXPECT_EQ(level->isGoalAchieved(), 0) << "no file: the press is consumed";
    EXPECT_EQ(plat::KeyHit(plat::KEY_G), 0);
    ASSERT_TRUE(plat::SaveText("cheats.txt", ""));
    EXPECT_EQ(level->isGoalAchieved(), 0) << "no press";
    plat::testing::TapKey(plat::KEY_G);
    EXPECT_EQ(level->isGoalAchieved(), 1);
    EXPECT_EQ(level->isGoalAchieved(), 0) << "once per press";
}

// ---- quick summary and banking ------------------------------------------------------------------

TEST_F(LevelLoadTest, TheQuickSummaryCreditsFreeCellsFromTheCursorOn) {
    // A 5 x 4 outline (20 cells) in the corner, one cell of it holding a rune
    // and one hole, so 18 free cells; a cell outside the outline never counts.
    auto layout = [] {
        board->clearBoard();
        for (int x = 0; x < 15; ++x)
            for (int y = 0; y < 15; ++y) board->shapeLayer[x][y] = x < 5 && y < 4 ? 1 : 0;
        board->runeLayer[2][1] = 3;
        board->shapeLayer[4][3] = 0;
    };
    struct Case {
        const char* what;
        int stage, scanX, scanY, bonus, expected, endY;
    } cases[] = {
        {"from the corner", 0, 0, 0, 0, 18 * 25, 15},
        {"counting had reached (3,1)", 1, 3, 1, 150, 150 + (18 - 7) * 25, 15},
        {"on the last free cell", 1, 3, 3, 0, 25, 15},
        {"corner not on the board", 0, 0, 0, 0, 0, 15},
        {"counting over", 2, 4, 2, 50, 0, 2},
        {"cursor past the last row", 1, 0, 15, 0, 0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layout();
        if (std::string(c.what) == "corner not on the board")
            for (int x = 0; x < 15; ++x)
                for (int y = 0; y < 15; ++y) board->shapeLayer[x][y] = 0;
        points->pointsActual = 0;
        level->summaryStage = c.stage;
        level->scanX = c.scanX;
        level->scanY = c.scanY;
        level->bonusPoints = c.bonus;
        level->doShortSummary();
        EXPECT_EQ(points->pointsActual, c.expected);
        EXPECT_EQ(level->scanY, c.endY);
        // A second call right after adds nothing.
        level->doShortSummary();
        EXPECT_EQ(points->pointsActual, c.expected);
    }
}

TEST_F(LevelLoadTest, FinishBanksTheLevelScoreOnceAndEndsTheLeftovers) {
    points->pointsTotal = 1000;
    points->pointsActual = 234;
    blocks->heldBlock = std::make_shared<TBlock>();
    TSpark::Create(nullptr, 1, 1, 1.0f, 30, 1, 1, 1, 1, 0);
    level->finish();
    EXPECT_EQ(points->pointsTotal, 1234);
    EXPECT_EQ(points->pointsActual, 0);
    EXPECT_EQ(blocks->heldBlock, nullptr);
    EXPECT_EQ(SparkList->Count(), 0);
    level->finish();
    EXPECT_EQ(points->pointsTotal, 1234);
}

TEST_F(LevelLoadTest, TheBoardRaisesTheStatistics) {
    level->countBlockUsed();
    level->countMatch(1);
    level->countMatch(2);
    level->countMatch(4);
    EXPECT_EQ(std::tie(level->blocksUsed, level->matches, level->combos), std::tuple(1, 3, 2));
}

}  // namespace
