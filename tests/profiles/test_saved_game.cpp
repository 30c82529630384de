// A game in progress saved into the profile and restored: the board with
// runes, stones and ages, the held block, the spells, the statistics, the
// spheres and the puzzle, and saved entries no save ever makes.
#include <gtest/gtest.h>

#include "platform/time.h"
#include "profiles_fixture.h"

namespace {

class SavedGame : public ProfilesTest {
protected:
    void SetUp() override {
        ProfilesTest::SetUp();
        ASSERT_EQ(CreateNewProfile("anna"), 1);
    }
    // The board of a game some way in: runes of four colours, two stones
    // (11, the stone of rune 1), an unknown id, and three placed blocks of
    // different ages.
    void LayBoard(int now) {
        const int cells[][4] = {{0, 0, 1, 9000}, {0, 14, 2, 9000}, {5, 7, 11, 20000}, {6, 0, 3, 5000},
                                {11, 14, 4, 5000}, {12, 3, 11, 20000}, {14, 0, 2, 5000}, {14, 14, 77, 9000}};
        for (const auto& c : cells) {
            board->runeLayer[c[0]][c[1]] = c[2];
            board->colorLayer[c[0]][c[1]] = razod->getRuneColor(std::to_string(c[2]));
            board->placeTimeLayer[c[0]][c[1]] = now - c[3];
        }
    }
};

TEST_F(SavedGame, TheBoardComesBackWithItsStonesAndTheOrderOfItsAges) {
    plat::testing::AdvanceTime(100000);
    const int saveTime = plat::MilliSecs();
    LayBoard(saveTime);
    const TBoardLayer runes = board->runeLayer, colours = board->colorLayer, stamps = board->placeTimeLayer;
    saveBoard("razod");

    const std::vector<std::string> a = profile->GetList("razod1"), c = profile->GetList("razod3");
    ASSERT_EQ(a.size(), 90u);
    ASSERT_EQ(profile->GetList("razod2").size(), 90u);
    ASSERT_EQ(c.size(), 45u);
    EXPECT_EQ(a[0], "0:0:1");
    EXPECT_EQ(a[14], "0:14:2");
    EXPECT_EQ(a[15], "1:0:0");
    EXPECT_EQ(c[30], "14:0:2");
    EXPECT_EQ(profile->GetList("razodTimerLayer1")[0], "0:0:9000");
    EXPECT_EQ(profile->GetList("razodTimerLayer1")[1], "0:1:" + std::to_string(saveTime)) << "never placed";

    // A new level load clears the board; the game resumes ten minutes on.
    *board = TBoardManager();
    plat::testing::AdvanceTime(600000);
    profile->UpdateList();
    loadBoard("razod");
    const int loadTime = plat::MilliSecs();
    EXPECT_EQ(board->runeLayer, runes);
    EXPECT_EQ(board->colorLayer, colours);
    EXPECT_EQ(board->colorLayer[5][7], 1) << "a stone keeps its rune's colour";
    EXPECT_EQ(board->colorLayer[14][14], 0) << "an unknown id has no colour";
    for (int x = 0; x < 15; ++x)
        for (int y = 0; y < 15; ++y)
            EXPECT_EQ(board->placeTimeLayer[x][y], stamps[x][y] + (loadTime - saveTime)) << x << "," << y;
}

TEST_F(SavedGame, AMissingListKeepsTheLevelsLayoutOfItsColumns) {
    LayBoard(plat::MilliSecs());
    saveBoard("razod");
    profile->SetList("razod2", {}, 1);
    *board = TBoardManager();
    board->runeLayer[6][0] = 2;  // laid out by the level file
    board->runeLayer[0][0] = 3;
    loadBoard("razod");
    EXPECT_EQ(board->runeLayer[6][0], 2);
    EXPECT_EQ(board->runeLayer[0][0], 1);
}

TEST_F(SavedGame, BoardEntriesNoSaveMakesAreSkipped) {
    *board = TBoardManager();
    profile->SetList("razod1", {"3:7:12:9", "2:2:4", "2:2:1", "", "1:2", "a:b:c", "15:0:1", "-1:0:1", "0:15:1",
                                "99999999999:0:1", "1:2:3x", "1::3", "4:2:007"},
                     1);
    loadBoard("razod");
    EXPECT_EQ(board->runeLayer[3][7], 12) << "a fourth piece is ignored";
    EXPECT_EQ(board->runeLayer[2][2], 1) << "the later entry for a cell wins";
    EXPECT_EQ(board->colorLayer[2][2], 1);
    EXPECT_EQ(board->runeLayer[4][2], 7);
    int set = 0;
    for (const auto& column : board->runeLayer)
        for (int v : column) set += v != 0;
    EXPECT_EQ(set, 3);
}

TEST_F(SavedGame, EachModeKeepsItsOwnBoard) {
    LayBoard(plat::MilliSecs());
    saveBoard("razod");
    const std::vector<std::string> quest = profile->GetList("razod1");
    board->runeLayer[0][0] = 4;
    saveBoard("time");
    EXPECT_EQ(profile->GetList("razod1"), quest);
    EXPECT_EQ(profile->GetList("time1")[0], "0:0:4");
    EXPECT_TRUE(profile->GetList("endless1").empty());
}

TEST_F(SavedGame, TheHeldBlockAndTheLastRunesComeBack) {
    auto held = std::make_shared<TBlock>();
    held->cells[0][0] = held->cells[0][1] = held->cells[1][1] = 3;  // an L of runes 3
    held->colors[0][0] = held->colors[0][1] = held->colors[1][1] = 2;
    blocks->heldBlock = held;
    blocks->lastRazod = {3, 1, 2};
    SaveLastBlock("razod");
    const std::vector<std::string> set = profile->GetList("razodActualBlockSet");
    ASSERT_EQ(set.size(), 16u);
    EXPECT_EQ(set.front(), "0:0:3");
    EXPECT_EQ(set[1], "0:1:3");
    EXPECT_EQ(set[2], "0:2:0");
    EXPECT_EQ(set.back(), "3:3:0");

    blocks->heldBlock.reset();
    blocks->lastRazod = {0, 0, 0};
    profile->UpdateList();
    LoadLastBlock("razod");
    ASSERT_TRUE(blocks->heldBlock);
    EXPECT_EQ(blocks->heldBlock->cells, held->cells);
    EXPECT_EQ(blocks->heldBlock->colors, held->colors);
    EXPECT_EQ(blocks->lastRazod, (std::array<int32_t, 3>{3, 1, 2}));
    EXPECT_EQ(blocks->heldBlock->id, "");
}

TEST_F(SavedGame, NoHeldBlockSavesNothingAndLoadsNothing) {
    profile->SetList("razodActualBlockSet", {"0:0:1"}, 0);
    profile->SetList("razodActualBlockColor", {"0:0:1"}, 1);
    const std::string before = Bytes(PathOf("anna"));
    blocks->heldBlock.reset();
    SaveLastBlock("razod");
    EXPECT_TRUE(profile->GetList("razodActualBlockSet").empty());
    EXPECT_EQ(Bytes(PathOf("anna")), before) << "no write";
    EXPECT_EQ(profile->GetNumber("razodPrevBlock0"), 0);
    LoadLastBlock("razod");
    EXPECT_FALSE(blocks->heldBlock);
}

TEST_F(SavedGame, HeldBlockEntriesOffTheGridAreSkipped) {
    profile->SetList("endlessActualBlockSet", {"0:0:5", "4:0:6", "0:-1:6", "1:1", "3:3:2"}, 0);
    profile->SetList("endlessActualBlockColor", {"0:0:1", "0:9:9"}, 0);
    LoadLastBlock("endless");
    ASSERT_TRUE(blocks->heldBlock);
    TBlockGrid cells{}, colours{};
    cells[0][0] = 5;
    cells[3][3] = 2;
    colours[0][0] = 1;
    EXPECT_EQ(blocks->heldBlock->cells, cells);
    EXPECT_EQ(blocks->heldBlock->colors, colours);
}

TEST_F(SavedGame, SpellsComeBackInOrderAndBadOnesAreDropped) {
    profile->SetList("razodBonuses", {"1:4:7:0", "7:1:1:0", "2:15:0:0", "3:1", "x:1:1:1", "4:10:2:3"}, 1);
    LoadSpells("razod");
    std::vector<std::string> got;
    for (const TBonusAPtr& s : bonusManagerAlt->spells)
        got.push_back(std::to_string(s->kind) + ":" + std::to_string(s->x) + ":" + std::to_string(s->y) + ":" +
                      std::to_string(s->color));
    EXPECT_EQ(got, (std::vector<std::string>{"1:4:7:0", "4:10:2:3"}));
    SaveSpells("time");
    EXPECT_EQ(profile->GetList("timeBonuses"), got);
    bonusManagerAlt->ClearSpells();
    SaveSpells("time");
    EXPECT_TRUE(profile->GetList("timeBonuses").empty());
    LoadSpells("time");
    EXPECT_EQ(bonusManagerAlt->spells.Count(), 0);
}

TEST_F(SavedGame, StatisticsAndTheLevelClockComeBack) {
    level->spellsReceived = 4;
    level->spellsCast = 3;
    level->blocksUsed = 57;
    level->matches = 21;
    level->combos = 6;
    timeManager->elapsed = 30000;
    SaveLevelStats();
    level->ResetStats();
    timeManager->refilling = 1;
    plat::testing::AdvanceTime(600000);
    profile->UpdateList();
    LoadLevelStats();
    EXPECT_EQ(level->spellsReceived, 4);
    EXPECT_EQ(level->spellsCast, 3);
    EXPECT_EQ(level->blocksUsed, 57);
    EXPECT_EQ(level->matches, 21);
    EXPECT_EQ(level->combos, 6);
    EXPECT_EQ(timeManager->startTime, plat::MilliSecs() - 30000);
    EXPECT_EQ(timeManager->refilling, 0);
}

TEST_F(SavedGame, SpheresShowTheirSavedFillAtOnce) {
    plat::testing::AdvanceTime(50000);
    magicSphere->sphereCapacity = {12, 10, 0, 8, 8};
    magicSphere->sphereFill = {12.7f, 5.0f, 0, 0, 0};
    SaveMagicSphere();
    EXPECT_EQ(profile->GetNumber("ballsFil0"), 12);
    EXPECT_EQ(profile->GetNumber("ballsFil1"), 5);
    profile->SetNumber("ballsFil3", -4, 0);   // never saved by play
    profile->SetNumber("ballsFil4", 400, 0);
    magicSphere->sphereFill = {};
    magicSphere->fullSince = {-1, -1, -1, -1, -1};
    LoadMagicSphere();
    EXPECT_EQ(magicSphere->shownFill, (std::array<float, 5>{1.0f, 0.5f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(magicSphere->sphereFill, (std::array<float, 5>{12, 5, 0, 0, 8}));
    const int now = plat::MilliSecs();
    EXPECT_EQ(magicSphere->fullSince, (std::array<int32_t, 5>{now - 3000, -1, -1, -1, now - 3000}));
}

TEST_F(SavedGame, ThePuzzleKeepsItsPiecesClockAndClicksOnlyForAWholeOrder) {
    std::vector<int> placed(4, -1);
    int startTime = -1, clicks = -1;
    profileLinks.puzzleState = [] { return TPuzzleSnapshot{{2, 0, 3, 1}, plat::MilliSecs() - 45000, 17}; };
    profileLinks.puzzlePieceCount = [] { return 4; };
    profileLinks.placePuzzlePiece = [&](int k, int slot) { placed[static_cast<size_t>(k)] = slot; };
    profileLinks.setPuzzleClock = [&](int s, int c) {
        startTime = s;
        clicks = c;
    };
    SavePuzzles();
    EXPECT_EQ(profile->GetList("puzzles"), (std::vector<std::string>{"2", "0", "3", "1"}));
    plat::testing::AdvanceTime(600000);
    LoadPuzzles();
    EXPECT_EQ(placed, (std::vector<int>{2, 0, 3, 1}));
    EXPECT_EQ(plat::MilliSecs() - startTime, 45000);
    EXPECT_EQ(clicks, 17);

    const std::vector<std::vector<std::string>> notWhole = {
        {"2", "0", "3"}, {"2", "0", "3", "3"}, {"2", "0", "3", "4"}, {"2", "0", "3", "-1"}, {"2", "0", "3", "x"}};
    for (const auto& order : notWhole) {
        placed.assign(4, -1);
        profile->SetList("puzzles", order, 0);
        LoadPuzzles();
        EXPECT_EQ(placed, (std::vector<int>(4, -1))) << order.size();
        EXPECT_EQ(clicks, 17) << "the clock and clicks still come back";
    }
}

TEST_F(SavedGame, TheQuestSaveIsOneWriteOfTheWholeGame) {
    LayBoard(plat::MilliSecs());
    auto held = std::make_shared<TBlock>();
    held->cells[1][0] = 2;
    blocks->heldBlock = held;
    bonusManagerAlt->AddBonusExt(3, 5, 5, 0);
    magicSphere->sphereCapacity[0] = 10;
    magicSphere->sphereFill[0] = 4;
    level->combos = 2;
    SaveQuestGame();
    profile->UpdateList();
    EXPECT_EQ(profile->GetList("razod1")[0], "0:0:1");
    EXPECT_EQ(profile->GetList("razodActualBlockSet")[4], "1:0:2");
    EXPECT_EQ(profile->GetList("razodBonuses"), (std::vector<std::string>{"3:5:5:0"}));
    EXPECT_EQ(profile->GetNumber("ballsFil0"), 4);
    EXPECT_EQ(profile->GetNumber("levelCombos"), 2);
}

TEST(SavedEntry, OnlyWholeDecimalFieldsParse) {
    struct Case {
        const char* text;
        int count;
        bool ok;
        std::vector<int> values;
    } cases[] = {
        {"3:7:12", 3, true, {3, 7, 12}},      {"-3:0:-2147483648", 3, true, {-3, 0, INT32_MIN}},
        {"1:2:3:4", 3, true, {1, 2, 3}},      {"007", 1, true, {7}},
        {"1:2", 3, false, {}},                {"1:2:", 3, false, {}},
        {"1:+2:3", 3, false, {}},             {"1: 2:3", 3, false, {}},
        {"1:2:2147483648", 3, false, {}},     {"-", 1, false, {}},
        {"", 1, false, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> out;
        EXPECT_EQ(ParseSavedEntry(c.text, c.count, out), c.ok) << c.text;
        if (c.ok) { EXPECT_EQ(out, c.values) << c.text; }
    }
}

}  // namespace
