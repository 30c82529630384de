// The quest's level sequence: lookups, stepping, setting a level up by its
// type, its failures, and the shipped sequence.
#include "level/level_test_util.h"

#include <climits>

#include "config/tsc_lexer.h"
#include "core/options.h"

namespace {

// FirstLevel and LastLevel as given, and entries -1 and 0..6: -1 a board
// level, 0 and 1 board levels, 2 a puzzle, 3 a ring game, 4 and 6 unknown
// types, 5 a board level whose file misses its Number.
std::string SequenceText(int first = -1, int last = 6) {
    return "Sequence{ FirstLevel=" + std::to_string(first) + " LastLevel=" + std::to_string(last) +
           "\n LevelA{ FileName='intro.tsc' Type=1 }"
           "\n Level0{ FileName='l4.tsc' Type=1 }"
           "\n Level1{ FileName='l4b.tsc' Type=1 }"
           "\n Level2{ FileName='puzzle-01.tsc' Type=2 }"
           "\n Level3{ FileName='ring-01.tsc' Type=3 }"
           "\n Level4{ FileName='odd.tsc' Type=4 }"
           "\n Level5{ FileName='bad.tsc' Type=1 }"
           "\n Level6{ FileName='none.tsc' Type=0 }"
           "\n Level05{ FileName='padded.tsc' Type=1 }\n}\n";
}

class SequencerTest : public LevelTest {
protected:
    void SetUp() override {
        LevelTest::SetUp();
        WriteSettings({{"sequencer.tsc", SequenceText()}});
        WriteLevels({{"intro.tsc", LevelText({{"Number", "-1"}})},
                     {"l4.tsc", LevelText()},
                     {"l4b.tsc", LevelText({{"Number", "1"}}, {"1 1 1"})},
                     {"bad.tsc", LevelText({{"Number", "-"}})}});
        levelLinks.loadPuzzle = [this](const std::string& f) { loaded.push_back("puzzle " + f); };
        levelLinks.loadRingGame = [this](const std::string& f) { loaded.push_back("ring " + f); };
        levelLinks.preparePopups = [this] { loaded.push_back("popups"); };
    }

    std::vector<std::string> loaded;
};

TEST_F(SequencerTest, GetReadsTheEntryOfTheCurrentLevel) {
    struct Case {
        int first, level, result;
        const char* fileName;
        int type;
    } cases[] = {
        {-1, -1, 1, "intro.tsc", 1},     {-1, 0, 1, "l4.tsc", 1},    {-1, 2, 1, "puzzle-01.tsc", 2},
        {-1, 3, 1, "ring-01.tsc", 3},    {-1, 5, 1, "bad.tsc", 1},   {0, -1, 0, "before.tsc", 9},
        {-1, 7, 0, "before.tsc", 9},     {-1, -2, 0, "before.tsc", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "first " << c.first << " level " << c.level);
        WriteSettings({{"sequencer.tsc", SequenceText(c.first)}});
        sequencer->Start(c.level);
        sequencer->fileName = "before.tsc";
        sequencer->levelType = 9;
        EXPECT_EQ(sequencer->Get(), c.result);
        EXPECT_EQ(sequencer->fileName, c.fileName);
        EXPECT_EQ(sequencer->levelType, c.type);
    }
    // Level 5 is the group Level5, never Level05.
    sequencer->Start(5);
    sequencer->Get();
    EXPECT_EQ(sequencer->fileName, "bad.tsc");
}

TEST_F(SequencerTest, NumbersAreTruncatedAndHugeOnesSaturate) {
    WriteSettings({{"sequencer.tsc", "Sequence{ FirstLevel=-99999999999 LastLevel=99999999999.5"
                                     "\n Level0{ FileName='l4.tsc' Type=99999999999 }"
                                     "\n Level1{ FileName='l4.tsc' Type=2.9 }\n}\n"}});
    sequencer->Start(0);
    EXPECT_EQ(sequencer->firstLevel, INT_MIN);
    EXPECT_EQ(sequencer->lastLevel, INT_MAX);
    ASSERT_EQ(sequencer->Get(), 1);
    EXPECT_EQ(sequencer->levelType, INT_MAX);
    sequencer->currentLevel = 1;
    ASSERT_EQ(sequencer->Get(), 1);
    EXPECT_EQ(sequencer->levelType, 2);
}

TEST_F(SequencerTest, StartReadsTheFileAfreshAndTheLastCallWins) {
    sequencer->Start(2);
    EXPECT_EQ(std::tie(sequencer->currentLevel, sequencer->firstLevel, sequencer->lastLevel), std::tuple(2, -1, 6));
    WriteSettings({{"sequencer.tsc", SequenceText(0, 3)}});
    sequencer->Start(1);
    EXPECT_EQ(std::tie(sequencer->currentLevel, sequencer->firstLevel, sequencer->lastLevel), std::tuple(1, 0, 3));
}

TEST_F(SequencerTest, SteppingPastTheLastLevelEndsTheQuest) {
    sequencer->Start(5);
    EXPECT_EQ(sequencer->nextLevel(), 1);
    EXPECT_EQ(sequencer->currentLevel, 6);
    EXPECT_EQ(sequencer->nextLevel(), 0);
    EXPECT_EQ(sequencer->currentLevel, 7);
    EXPECT_EQ(sequencer->levelExists(), 0);
    // Below the first level the level "exists" but nothing is set up.
    WriteSettings({{"sequencer.tsc", SequenceText(0)}});
    sequencer->Start(0);
    ASSERT_EQ(sequencer->Get(), 1);
    sequencer->currentLevel = -1;
    EXPECT_EQ(sequencer->levelExists(), 1);
    EXPECT_EQ(sequencer->Get(), 0);
    EXPECT_EQ(sequencer->setupLevel(), 0);
    EXPECT_EQ(sequencer->fileName, "l4.tsc");
    EXPECT_EQ(sequencer->levelType, 1);
    EXPECT_TRUE(loaded.empty());
}

TEST_F(SequencerTest, SetupLevelPreparesEachTypeOfEntry) {
    struct Case {
        int level, result;
        std::vector<std::string> loaded;
    } cases[] = {
        {2, 1, {"puzzle puzzle-01.tsc"}},
        {3, 1, {"ring ring-01.tsc"}},
        {4, 1, {}},
        {6, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        loaded.clear();
        sequencer->Start(c.level);
        level->fileName = "untouched.tsc";
        EXPECT_EQ(sequencer->setupLevel(), c.result);
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(level->fileName, "untouched.tsc");
    }
}

TEST_F(SequencerTest, ABoardEntryClearsTheGameOverAndLoadsItsLevel) {
    board->gameOverFlag = 1;
    board->runeLayer[9][9] = 4;  // left over from the level before
    gameState = 1;
    sequencer->Start(1);
    EXPECT_EQ(sequencer->setupLevel(), 1);
    EXPECT_EQ(board->gameOverFlag, 0);
    EXPECT_EQ(level->fileName, "l4b.tsc");
    EXPECT_EQ(level->levelNumber, 1);
    EXPECT_EQ(board->shapeLayer[2][0], 1);
    EXPECT_EQ(board->shapeLayer[3][0], 0);
    EXPECT_EQ(board->runeLayer[9][9], 0) << "the board is emptied before the file fills it";
    EXPECT_EQ(loaded, std::vector<std::string>{"popups"});
    EXPECT_NE(level->music, nullptr) << "loadGfx followed the load";
}

TEST_F(SequencerTest, MissingKeysAreShownAndGiveAFailureResult) {
    // A board entry whose level file misses Number.
    sequencer->Start(5);
    EXPECT_EQ(sequencer->setupLevel(), -1);
    EXPECT_TRUE(Notified({"bad.tsc", "Settings::Level::Number"}));
    EXPECT_TRUE(loaded.empty()) << "no popups for a level that did not load";

    // An entry without Type: Get raises, setupLevel shows it.
    WriteSettings({{"sequencer.tsc", "Sequence{ FirstLevel=0 LastLevel=1 Level0{ FileName='l4.tsc' } }"}});
    sequencer->Start(0);
    EXPECT_THROW(sequencer->Get(), TSCError);
    plat::testing::ClearNotifications();
    EXPECT_EQ(sequencer->setupLevel(), -1);
    EXPECT_TRUE(Notified({"sequencer.tsc", "Sequence::Level0::Type"}));

    // A sequence without LastLevel: Start raises, TryStart shows it.
    WriteSettings({{"sequencer.tsc", "Sequence{ FirstLevel=0 }"}});
    EXPECT_THROW(sequencer->Start(0), TSCError);
    plat::testing::ClearNotifications();
    EXPECT_EQ(sequencer->TryStart(0), 0);
    EXPECT_TRUE(Notified({"sequencer.tsc", "Sequence::LastLevel"}));
    // A settings archive cut short.
    ASSERT_TRUE(plat::SaveText("data/settings.bca", bca::PackArchive({{"sequencer.tsc", SequenceText()}}).substr(0, 9)));
    plat::testing::ClearNotifications();
    EXPECT_EQ(sequencer->TryStart(0), 0);
    EXPECT_TRUE(Notified({"sequencer.tsc", "cut short"}));
    WriteSettings({{"sequencer.tsc", SequenceText()}});
    EXPECT_EQ(sequencer->TryStart(3), 1);
    EXPECT_EQ(sequencer->currentLevel, 3);
}

TEST_F(SequencerTest, AMissingFileNameIsLookedUpAsAnEmptyMember) {
    WriteSettings({{"sequencer.tsc", "Sequence{ FirstLevel=0 LastLevel=0 Level0{ Type=1 } }"}});
    sequencer->Start(0);
    EXPECT_EQ(sequencer->setupLevel(), -1);
    EXPECT_EQ(level->fileName, "");
    EXPECT_TRUE(Notified({"LOWER BBError: "}));
}

TEST_F(SequencerTest, TheOptionsReadTheCurrentLevelOnceLinked) {
    optionsLinks = TOptionsLinks{};
    InstallLevelLinks();
    ASSERT_TRUE(optionsLinks.currentLevel);
    sequencer->currentLevel = 9;
    EXPECT_EQ(optionsLinks.currentLevel(), 9);
    sequencer->currentLevel = 17;
    EXPECT_EQ(optionsLinks.currentLevel(), 17) << "read when asked, not when linked";
    optionsLinks = TOptionsLinks{};
}

// Every board level the shipped quest names loads, with lists that can deal.
TEST_F(SequencerTest, EveryBoardLevelOfTheShippedQuestLoads) {
    ASSERT_TRUE(plat::ChangeDir(QUILL_GAME_DIR));
    razod->loadRazodGfx();
    blocks->loadBlocksDef();
    bossManager->LoadResources();
    ASSERT_EQ(sequencer->TryStart(0), 1);
    ASSERT_GE(sequencer->lastLevel, sequencer->firstLevel);
    int boards = 0;
    for (int n = sequencer->firstLevel; n <= sequencer->lastLevel; ++n) {
        SCOPED_TRACE(n);
        sequencer->currentLevel = n;
        ASSERT_EQ(sequencer->Get(), 1);
        if (sequencer->levelType != 1) continue;
        ++boards;
        board->clearBoard();
        level->Set(sequencer->fileName);
        EXPECT_EQ(level->TryLoad(0), 1);
        EXPECT_GE(level->goalType, 1);
        EXPECT_LE(level->goalType, 3);
        EXPECT_FALSE(level->backgroundName.empty());
        EXPECT_FALSE(level->songName.empty());
    }
    ASSERT_TRUE(plat::ChangeDir(dir_));
    EXPECT_GT(boards, 0);
    EXPECT_TRUE(plat::testing::Notifications().empty());
}

}  // namespace
