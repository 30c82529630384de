// The board's rules of play: placing and refusing blocks, the match scans,
// clearing and scoring, petrification, the game-over search, the preview,
// the board's drawing and the stone fragments.
#include <algorithm>
#include <map>
#include <tuple>

#include "board/board_rules.h"
#include "board/play_test_util.h"
#include "board/stones.h"
#include "core/sound.h"
#include "platform/graphics.h"
#include "platform/time.h"
#include "ui/comet.h"

namespace {

// A block from rows of digits (the rune id; '.' empty), top row first. The
// colour of rune id n is n (the four-rune catalogue's classes).
TBlockPtr MakeBlock(std::initializer_list<const char*> rows) {
    auto b = std::make_shared<TBlock>();
    int j = 0;
    for (const char* row : rows) {
        for (int i = 0; row[i] != 0; ++i)
            if (row[i] != '.') {
                b->cells[i][j] = row[i] - '0';
                b->colors[i][j] = row[i] - '0';
            }
        ++j;
    }
    return b;
}

plat::SoundPtr TestSound() {
    auto s = std::make_shared<plat::Sound>();
    s->samples.assign(44100 * 2, 100);
    return s;
}

class RulesTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        playLinks = TPlayLinks{};
        WriteFourRunePictures();
        razod->loadFrom(TscFromText(kFourRunes));
        board->clearBoard();
        board->alpha = 1.0f;
        if (stonesList) stonesList->Clear();
        if (cometList) cometList->Clear();
        if (soundQueue) soundQueue->Clear();
        points = std::make_shared<TPointsManager>();
        level = std::make_shared<TLevelManager>();
    }
    void TearDown() override {
        playLinks = TPlayLinks{};
        if (stonesList) stonesList->Clear();
        if (cometList) cometList->Clear();
        if (soundQueue) soundQueue->Clear();
        PlayTest::TearDown();
    }

    // Puts rune id v (colour v, or the stone 11 of colour 1) at a cell.
    static void Put(int x, int y, int v, int time = 0) {
        board->runeLayer[x][y] = v;
        board->colorLayer[x][y] = razod->getRuneColor(std::to_string(v));
        board->placeTimeLayer[x][y] = time;
    }
    // Fills the whole board with a pattern of runes no run can come from.
    static void FillWithoutRuns() {
        for (int x = 0; x < kBoardCells; ++x)
            for (int y = 0; y < kBoardCells; ++y) Put(x, y, 1 + (x + 2 * y) % 4);
    }
    static void Hold(const TBlockPtr& b, int rotation = 0) {
        blocks->heldBlock = b;
        blocks->curRotation = rotation;
        blocks->targetRotation = rotation;
    }
    // The mouse over the middle of a cell.
    static void MouseAtCell(int x, int y) {
        PointAt(board->originX + x * board->cellSize + 5, board->originY + y * board->cellSize + 5);
    }

    struct Caption {
        int kind, value, x, y;
        float scale;
    };
    // The captions alive, in order of creation.
    static std::vector<Caption> Shown() {
        std::vector<Caption> out;
        for (const TCaptionsPtr& c : captions->ToArray())
            out.push_back({c->kind, c->value, static_cast<int>(c->x), static_cast<int>(c->y), c->scale});
        return out;
    }
    static int Scored() { return points->pointsActual; }
};

// ---- placing -------------------------------------------------------------------------------------

TEST_F(RulesTest, PlacementFitsByShapeRotationAndAnchor) {
    // An L: (0,0) (0,1) (0,2) (1,2). Obstacles: a rune at (5,5), a hole in the
    // outline at (10,10), a boss over (3,3) to (4,4).
    Put(5, 5, 2);
    board->shapeLayer[10][10] = 0;
    PutBoss(3, 3);
    const TBlockPtr L = MakeBlock({"1.", "1.", "11"});
    const TBlockPtr one = MakeBlock({"2"});
    const TBlockPtr bar = MakeBlock({"3333"});
    struct Case {
        const char* name;
        TBlockPtr block;
        int rotation, x, y, fits;
    };
    const Case cases[] = {
        {"L r0 at the corner", L, 0, 0, 0, 1},
        {"L r1 sticks out left", L, 1, 0, 0, 0},
        {"L r1 room on the left", L, 1, 2, 0, 1},
        {"L r2 sticks out above", L, 2, 0, 0, 0},
        {"L r2 room above", L, 2, 1, 2, 1},
        {"L r3 sticks out above", L, 3, 0, 0, 0},
        {"L r3 room above", L, 3, 0, 1, 1},
        {"L r0 bottom edge", L, 0, 13, 12, 1},
        {"L r0 past the bottom edge", L, 0, 13, 13, 0},
        {"L r0 past the right edge", L, 0, 14, 0, 0},
        {"L r0 over a rune", L, 0, 5, 3, 0},
        {"L r0 beside the rune", L, 0, 6, 3, 1},
        {"L r0 over a hole", L, 0, 10, 8, 0},
        {"L r0 over a boss", L, 0, 3, 1, 0},
        {"one cell on the rune", one, 0, 5, 5, 0},
        {"one cell off the grid", one, 0, 15, 0, 0},
        {"one cell at -1", one, 0, -1, 4, 0},
        {"one cell at the far corner", one, 2, 14, 14, 1},
        {"bar r0 at the right edge", bar, 0, 11, 0, 1},
        {"bar r0 one past", bar, 0, 12, 0, 0},
        {"bar r1 hangs down", bar, 1, 0, 11, 1},
        {"bar r1 past the bottom", bar, 1, 0, 12, 0},
        {"bar r2 reaches left", bar, 2, 3, 0, 1},
        {"bar r2 too far left", bar, 2, 2, 0, 0},
        {"bar r3 up the column", bar, 3, 0, 14, 1},
        {"bar r3 over the top", bar, 3, 0, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TBoardLayer runes = board->runeLayer;
        blocks->curRotation = c.rotation;
        EXPECT_EQ(board->placeBlock(c.block, c.x, c.y, 0), c.fits);
        if (c.fits == 0) {
            EXPECT_EQ(board->runeLayer, runes);
        }
        board->runeLayer = runes;  // undo a trial that fitted
    }
}

TEST_F(RulesTest, APlacedBlockWritesItsRunesAtOneTimeAndIsDropped) {
    board->placeSound = TestSound();
    Hold(MakeBlock({"12", ".3"}), 1);  // r1: (i,j) -> (-j, i)
    plat::testing::AdvanceTime(777);
    const int before = plat::testing::PlayingChannels();
    ASSERT_EQ(board->placeBlock(nullptr, 5, 5, 1), 1);
    const int now = plat::MilliSecs();
    EXPECT_EQ(board->runeLayer[5][5], 1);
    EXPECT_EQ(board->runeLayer[5][6], 2);
    EXPECT_EQ(board->runeLayer[4][6], 3);
    EXPECT_EQ(board->colorLayer[4][6], 3);
    for (auto [x, y] : {std::pair{5, 5}, {5, 6}, {4, 6}}) EXPECT_EQ(board->placeTimeLayer[x][y], now);
    EXPECT_EQ(blocks->heldBlock, nullptr);
    EXPECT_EQ(level->blocksUsed, 1);
    EXPECT_EQ(plat::testing::PlayingChannels(), before + 1);
    EXPECT_EQ(board->highlightLayer, TBoardLayer{});
}

TEST_F(RulesTest, ARefusedBlockStaysHeldChangesNothingAndSoundsOnlyWhenCommitting) {
    board->cannotPlaceSound = TestSound();
    Put(2, 2, 4);
    const TBlockPtr b = MakeBlock({"11"});
    Hold(b);
    const TBoardLayer runes = board->runeLayer, times = board->placeTimeLayer;
    const int before = plat::testing::PlayingChannels();
    EXPECT_EQ(board->placeBlock(nullptr, 1, 2, 0), 0);
    EXPECT_EQ(plat::testing::PlayingChannels(), before);
    EXPECT_EQ(board->placeBlock(nullptr, 1, 2, 1), 0);
    EXPECT_EQ(plat::testing::PlayingChannels(), before + 1);
    EXPECT_EQ(blocks->heldBlock, b);
    EXPECT_EQ(board->runeLayer, runes);
    EXPECT_EQ(board->placeTimeLayer, times);
    // Nothing held: nothing happens, and no sound.
    blocks->heldBlock = nullptr;
    EXPECT_EQ(board->placeBlock(nullptr, 5, 5, 1), 0);
    EXPECT_EQ(plat::testing::PlayingChannels(), before + 1);
}

TEST_F(RulesTest, PlacingAtTheMouseTakesTheMouseCellAlsoJustLeftOfTheGrid) {
    Hold(MakeBlock({"1"}));
    PointAt(board->originX - 10, board->originY + 3 * 32 + 4);  // truncates to column 0
    ASSERT_EQ(board->placeBlock(nullptr, -1, 99, 0), 1);
    EXPECT_EQ(board->runeLayer[0][3], 1);
}

// ---- game over ---------------------------------------------------------------------------------------

TEST_F(RulesTest, GameOverSearchesEveryRotationAndAnchor) {
    const TBlockPtr upright = MakeBlock({"1", "1"});
    // For every place of a two-cell gap, lying or standing, an upright domino
    // held in any rotation finds it; a one-cell gap never takes it.
    for (int r = 0; r < 4; ++r)
        for (int lying = 0; lying < 2; ++lying)
            for (auto [gx, gy] : {std::pair{0, 0}, {13, 0}, {0, 13}, {13, 13}, {7, 7}, {13, 14}, {14, 13}}) {
                if (lying == 1 && gx == 14) continue;
                if (lying == 0 && gy == 14) continue;
                FillWithoutRuns();
                board->runeLayer[gx][gy] = 0;
                board->runeLayer[gx + lying][gy + 1 - lying] = 0;
                Hold(upright, r);
                board->gameOverFlag = 1;
                board->checkGameOver();
                EXPECT_EQ(board->gameOverFlag, 0) << "r " << r << " lying " << lying << " at " << gx << "," << gy;
                board->runeLayer[gx + lying][gy + 1 - lying] = 2;
                board->checkGameOver();
                EXPECT_EQ(board->gameOverFlag, 1) << "one-cell gap at " << gx << "," << gy;
            }
}

TEST_F(RulesTest, GameOverFollowsTheTimeAndKeepsTheFlagWithoutABlock) {
    timeManager = std::make_shared<TTimeManager>();
    timeManager->limit = 1000;
    timeManager->elapsed = 1000;
    Hold(MakeBlock({"1"}));
    board->checkGameOver();
    EXPECT_EQ(board->gameOverFlag, 1) << "time over with room everywhere";
    timeManager->elapsed = 999;
    board->checkGameOver();
    EXPECT_EQ(board->gameOverFlag, 0);
    blocks->heldBlock = nullptr;
    board->gameOverFlag = 1;
    board->checkGameOver();
    EXPECT_EQ(board->gameOverFlag, 1);
}

// ---- match scans ------------------------------------------------------------------------------------

TEST_F(RulesTest, ScansFindEveryMaximalRunOnceInRowsAndColumns) {
    struct Case {
        const char* name;
        std::vector<int> colours;  // from cell 0
        std::vector<std::pair<int, int>> runs;
    };
    const Case cases[] = {
        {"five in 3..7", {0, 0, 0, 2, 2, 2, 2, 2}, {{3, 7}}},
        {"two runs side by side", {1, 1, 1, 2, 2, 2}, {{0, 2}, {3, 5}}},
        {"broken by a gap", {1, 1, 0, 1, 1}, {}},
        {"two only", {3, 3}, {}},
        {"ends at 14", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 4}, {{12, 14}}},
        {"whole line", std::vector<int>(15, 1), {{0, 14}}},
        {"colour change mid run", {1, 1, 1, 1, 2, 2, 1, 1, 1}, {{0, 3}, {6, 8}}},
    };
    for (const Case& c : cases)
        for (int vertical = 0; vertical < 2; ++vertical) {
            SCOPED_TRACE(std::string(c.name) + (vertical ? " (column)" : " (row)"));
            board->clearBoard();
            const int line = 6;
            for (size_t k = 0; k < c.colours.size(); ++k) {
                const int v = c.colours[k];
                if (v == 0) continue;
                vertical ? Put(line, static_cast<int>(k), v) : Put(static_cast<int>(k), line, v);
            }
            const TBoardLayer runes = board->runeLayer, colours = board->colorLayer;
            board->clearList = std::make_shared<std::vector<TLine>>();
            vertical ? board->checkForVerticalMatch(1) : board->checkForHorizontalMatch(1);
            std::vector<std::tuple<int, int, int, int>> got, want;
            for (const TLine& l : *board->clearList) got.emplace_back(l.x0, l.y0, l.x1, l.y1);
            for (auto [s, e] : c.runs)
                want.push_back(vertical ? std::tuple{line, s, line, e} : std::tuple{s, line, e, line});
            EXPECT_EQ(got, want);
            // The other direction finds nothing in a single line.
            board->clearList->clear();
            vertical ? board->checkForHorizontalMatch(1) : board->checkForVerticalMatch(1);
            EXPECT_TRUE(board->clearList->empty());
            board->clearList.reset();
            // Without recording only the run cells get their colours in the preview.
            board->highlightLayer[0][0] = 9;
            vertical ? board->checkForVerticalMatch(0) : board->checkForHorizontalMatch(0);
            TBoardLayer want2{};
            want2[0][0] = 9;
            for (auto [s, e] : c.runs)
                for (int k = s; k <= e; ++k) {
                    if (vertical) want2[line][k] = colours[line][k];
                    else want2[k][line] = colours[k][line];
                }
            EXPECT_EQ(board->highlightLayer, want2);
            EXPECT_EQ(board->runeLayer, runes);
            EXPECT_EQ(board->colorLayer, colours);
        }
}

// ---- scoring -----------------------------------------------------------------------------------------

TEST(ClearPointsTable, FormulaForThreeToTenCellsAndOneToFourColours) {
    const int table[8][4] = {{250, 500, 750, 1000},   {325, 625, 925, 1225},   {400, 750, 1100, 1450},
                             {475, 875, 1275, 1675},  {600, 1050, 1500, 1950}, {725, 1225, 1725, 2225},
                             {850, 1400, 1950, 2500}, {975, 1575, 2175, 2775}};
    const float scale[8] = {1.0f, 1.1f, 1.2f, 1.3f, 1.4f, 1.5f, 1.6f, 1.6f};
    for (int n = 3; n <= 10; ++n) {
        for (int k = 1; k <= 4; ++k) EXPECT_EQ(ClearPoints(n, k), table[n - 3][k - 1]) << "N " << n << " K " << k;
        EXPECT_NEAR(ClearCaptionScale(n), scale[n - 3], 1e-5) << "N " << n;
    }
}

TEST_F(RulesTest, ACrossOfOneColourClearsFiveCellsOnceAndScores400) {
    board->clearSound = TestSound();
    for (int x = 4; x <= 6; ++x) Put(x, 2, 1);
    Put(4, 3, 1);
    Put(4, 4, 1);
    Put(9, 9, 2);
    PointAt(700, 40);
    const int before = plat::testing::PlayingChannels();
    EXPECT_EQ(board->clearMatchingRazod(0), 5);
    EXPECT_EQ(Scored(), 400);
    EXPECT_EQ(level->matches, 1);
    EXPECT_EQ(level->combos, 0);
    const std::vector<Caption> shown = Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(std::tie(shown[0].kind, shown[0].value, shown[0].x, shown[0].y), std::tuple(1, 400, 550, 30));
    EXPECT_EQ(std::tie(shown[1].kind, shown[1].value, shown[1].x, shown[1].y), std::tuple(3, 5, 550, 70));
    EXPECT_FLOAT_EQ(shown[0].scale, 1.2f);
    EXPECT_EQ(captions->First()->delay, 0);
    EXPECT_EQ(captions->First()->image, nullptr);
    EXPECT_EQ(plat::testing::PlayingChannels(), before + 1);
    for (int x = 4; x <= 6; ++x) EXPECT_EQ(board->runeLayer[x][2], 0);
    EXPECT_EQ(board->runeLayer[4][4], 0);
    EXPECT_EQ(board->colorLayer[4][4], 0);
    EXPECT_EQ(board->runeLayer[9][9], 2);
    EXPECT_EQ(board->clearList, nullptr);
    EXPECT_EQ(board->highlightLayer, TBoardLayer{});
}

TEST_F(RulesTest, CombosQueueTheirSoundAndCaptionByColourCount) {
    // Three distinct sounds, though the game loads one file for the first two:
    // the test tells every entry apart.
    board->comboSounds = {TestSound(), TestSound(), TestSound()};
    // One row of three per colour; a clear counts at most four colours.
    struct Case {
        int colours, points;
        int combo;  // the caption's value and the sound's entry + 2; 0: none
    } cases[] = {
        {1, 250, 0}, {2, 875, 2}, {3, 1950, 3}, {4, 3325, 4}, {5, 4150, 4}, {6, 4975, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colours);
        board->clearBoard();
        points->pointsActual = 0;
        captions->Clear();
        if (soundQueue) soundQueue->Clear();
        for (int colour = 1; colour <= c.colours; ++colour)
            for (int x = 0; x < 3; ++x) {
                // Colours past the catalogue's four are set by hand.
                Put(x, colour, colour <= 4 ? colour : 1);
                board->colorLayer[x][colour] = colour;
            }
        PointAt(300, 300);
        EXPECT_EQ(board->clearMatchingRazod(0), 3 * c.colours);
        EXPECT_EQ(Scored(), c.points);
        const std::vector<Caption> shown = Shown();
        const int queued = soundQueue ? soundQueue->Count() : 0;
        if (c.combo == 0) {
            EXPECT_EQ(queued, 0);
            EXPECT_EQ(shown.size(), 2u);
        } else {
            ASSERT_EQ(queued, 1);
            EXPECT_EQ(soundQueue->First()->sound, board->comboSounds[static_cast<size_t>(c.combo - 2)]);
            EXPECT_EQ(soundQueue->First()->dueTime, plat::MilliSecs() + 600);
            ASSERT_EQ(shown.size(), 3u);
            EXPECT_EQ(std::tie(shown[2].kind, shown[2].value, shown[2].x, shown[2].y),
                      std::tuple(2, c.combo, 400, 330));
        }
    }
    EXPECT_EQ(level->matches, 6);
    EXPECT_EQ(level->combos, 5) << "every clear of more than one colour";
}

TEST_F(RulesTest, NothingMatchingScoresNothingAndLeavesTheHighlightsEmpty) {
    Put(0, 0, 1);
    Put(1, 0, 1);
    board->highlightLayer[3][3] = 2;
    EXPECT_EQ(board->clearMatchingRazod(0), 0);
    EXPECT_EQ(Scored(), 0);
    EXPECT_EQ(level->matches, 0);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(board->highlightLayer, TBoardLayer{});
}

TEST_F(RulesTest, LinesOverEmptyCellsScoreNothing) {
    // Lines as a beaten boss hands them on, before the scans.
    auto clearWithLine = [](int x0, int y0, int x1, int y1) {
        board->clearList = std::make_shared<std::vector<TLine>>();
        board->_addLine(x0, y0, x1, y1);
        const int n = board->clearLines(0);
        board->clearList.reset();
        return n;
    };
    EXPECT_EQ(clearWithLine(2, 2, 3, 3), 0);
    EXPECT_EQ(Scored(), 0) << "no negative points for an empty clear";
    EXPECT_EQ(level->matches, 0);
    // The same lines over runes count them, in any colour, before the scans.
    Put(2, 2, 1);
    Put(3, 3, 2);
    EXPECT_EQ(clearWithLine(2, 2, 3, 3), 2);
    EXPECT_EQ(Scored(), ClearPoints(2, 2));
    // A line reaching off the grid clears only what lies on it.
    Put(0, 14, 1);
    Put(14, 14, 2);
    EXPECT_EQ(clearWithLine(-5, 14, 40, 14), 2);
    // Outside a clear there is no list to add to.
    board->_addLine(0, 0, 2, 0);
    EXPECT_EQ(board->clearList, nullptr);
}

TEST_F(RulesTest, SpellsOnTheClearCastTakeTheCaptionsAndBigClearsAddOne) {
    std::vector<std::pair<int, int>> cast;
    int active = 0, added = 0;
    std::vector<int> handed;
    playLinks.castSpell = [&](int x, int y) {
        cast.emplace_back(x, y);
        if (x == 1) active = 1;
        return 1;
    };
    playLinks.spellActive = [&] { return active; };
    playLinks.addSpell = [&](int kind) { added += kind == 0 ? 1 : 100; };
    playLinks.spellCaption = [&](int n, int p, int k) { handed = {n, p, k}; };
    for (int x = 0; x < 4; ++x) Put(x, 0, 2);
    EXPECT_EQ(board->clearMatchingRazod(0), 4);
    EXPECT_EQ(cast.size(), 4u);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(handed, (std::vector<int>{4, 325, 1}));
    EXPECT_EQ(added, 1);
    // Three cells add no spell.
    active = 0;
    for (int x = 5; x < 8; ++x) Put(x, 0, 3);
    board->clearMatchingRazod(0);
    EXPECT_EQ(added, 1);
}

TEST_F(RulesTest, ClearedRunesFillTheirSphereAndSendACometEvenFromUnderIt) {
    magicSphere = std::make_shared<TMagicSphere>();
    magicSphere->LoadExt("4 0 0 0 0", "10 0 0 0 0");
    // The sphere sits right where the comet starts: distance 0 (its centre
    // is the panel plus the first ball's place plus 31, and comets aim 10
    // short of it).
    magicSphere->panelX = board->originX + 16 + 10 - 60 - 31;
    magicSphere->panelY = board->originY + 16 + 10 - 2 - 31;
    for (int y = 0; y < 3; ++y) Put(0, y, 4);
    board->clearMatchingRazod(0);
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 3.0f);
    ASSERT_EQ(cometList->Count(), 3);
    const TCometEmiterPtr first = cometList->First();
    EXPECT_FLOAT_EQ(first->speed, 0.03f * 380.0f) << "divisor held at 1";
    EXPECT_FLOAT_EQ(first->startX, static_cast<float>(board->originX + 16));
}

TEST_F(RulesTest, StonesInARunTurnBackBurstAndCountOncePerLine) {
    board->stoneBreakSound = TestSound();
    // Stone 11 (colour 1) at the crossing of a row run and a column run.
    Put(2, 2, 11);
    Put(3, 2, 1);
    Put(4, 2, 1);
    Put(2, 3, 1);
    Put(2, 4, 11);
    magicSphere = std::make_shared<TMagicSphere>();
    magicSphere->LoadExt("1 0 0 0 0", "100 0 0 0 0");
    const int before = plat::testing::PlayingChannels();
    // Row: the stone turns back; column: it is cleared as a plain rune, and
    // the second stone turns back.
    EXPECT_EQ(board->clearMatchingRazod(0), 6);
    EXPECT_EQ(board->runeLayer[2][2], 0);
    EXPECT_EQ(board->runeLayer[2][4], 1);
    EXPECT_EQ(board->colorLayer[2][4], 1);
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 3.0f + 1.0f);
    EXPECT_EQ(stonesList->Count(), 24);
    EXPECT_EQ(plat::testing::PlayingChannels(), before + 1 + 0) << "the break sound once (clear sound not loaded)";
}

TEST_F(RulesTest, AStoneWithoutAKnownPlainRuneLeavesACellWithoutColour) {
    razod = std::make_shared<TRuneManager>();
    razod->loadFrom(TscFromText(R"(
List{
  Quantity=2
  Rune1{ fileName='gfx/r1.png' id='1' color='1' width=32 height=32 blocked=0 rgb='0,0:0,0:0,0' }
  Rune2{ fileName='gfx/s1.png' id='11' color='1' width=32 height=32 blocked=1 rgb='0,0:0,0:0,0' }
}
)"));
    Put(0, 0, 11);
    Put(1, 0, 1);
    Put(2, 0, 1);
    board->clearMatchingRazod(0);
    ASSERT_EQ(razod->unblocked(11), 0);
    EXPECT_EQ(board->runeLayer[0][0], 0);
    EXPECT_EQ(board->colorLayer[0][0], 0);
    // No invisible colour left behind to match with.
    Put(1, 0, 1);
    Put(2, 0, 1);
    Put(3, 0, 1);
    EXPECT_EQ(board->clearMatchingRazod(0), 3);
}

// ---- preview ------------------------------------------------------------------------------------------

TEST_F(RulesTest, PreviewMarksTheRunsTheHeldBlockWouldMakeAndRestoresTheBoard) {
    Put(0, 5, 2);
    Put(1, 5, 2);
    Hold(MakeBlock({"2", "3"}));
    MouseAtCell(2, 5);
    const TBoardLayer runes = board->runeLayer, colours = board->colorLayer;
    blocks->blockChanged = 1;
    board->Update(0);
    EXPECT_EQ(blocks->blockChanged, 0);
    TBoardLayer want{};
    for (int x = 0; x < 3; ++x) want[x][5] = 2;
    EXPECT_EQ(board->highlightLayer, want);
    EXPECT_EQ(board->runeLayer, runes);
    EXPECT_EQ(board->colorLayer, colours);
    EXPECT_NE(blocks->heldBlock, nullptr);

    // During a turn the last preview stays; the flag is used up all the same.
    blocks->turnProgress = 30;
    MouseAtCell(9, 9);
    blocks->blockChanged = 1;
    board->Update(0);
    EXPECT_EQ(board->highlightLayer, want);
    EXPECT_EQ(blocks->blockChanged, 0);

    // Where the block does not fit the preview is empty.
    blocks->turnProgress = 0;
    MouseAtCell(0, 5);
    blocks->blockChanged = 1;
    board->Update(0);
    EXPECT_EQ(board->highlightLayer, TBoardLayer{});
    // Without a change the preview is not run again.
    board->highlightLayer[1][1] = 4;
    board->Update(0);
    EXPECT_EQ(board->highlightLayer[1][1], 4);
}

TEST_F(RulesTest, UpdateFadesTheBoardInByAStepPerCall) {
    board->alpha = -0.3f;
    for (int i = 0; i < 6; ++i) board->Update(0);
    EXPECT_NEAR(board->alpha, 0.0f, 1e-5);
    for (int i = 0; i < 40; ++i) board->Update(0);
    EXPECT_FLOAT_EQ(board->alpha, 1.0f);
}

TEST_F(RulesTest, ANewlyDealtBlockKnowsItsFitsInTheUpdateThatMakesItReady) {
    for (int y = 0; y < kBoardCells; ++y) Put(4, y, 3);
    Hold(MakeBlock({"11"}));
    MouseAtCell(3, 2);
    blocks->blockReady = 0;
    blocks->formFrames = 15;
    blocks->heldBlock->fits = {};
    blocks->updateBlock(-1, 0);
    ASSERT_EQ(blocks->blockReady, 1);
    EXPECT_EQ(blocks->heldBlock->fits[0][0], 1);
    EXPECT_EQ(blocks->heldBlock->fits[1][0], 0) << "the second cell lies on a rune";
    EXPECT_EQ(blocks->heldBlock->fits[3][3], 1) << "empty cells fit";
}

// ---- contents ---------------------------------------------------------------------------------------

TEST_F(RulesTest, FreeCellsAndEmptiness) {
    EXPECT_EQ(board->IsEmpty(), 1);
    EXPECT_FLOAT_EQ(board->freeCells(), 1.0f);
    Put(0, 0, 1);
    board->runeLayer[1][0] = -2;  // any non-zero value counts as a rune
    EXPECT_EQ(board->IsEmpty(), 0);
    EXPECT_FLOAT_EQ(board->freeCells(), 1.0f - 2.0f / 225.0f);
    for (auto& column : board->shapeLayer) column.fill(0);
    EXPECT_EQ(board->freeCells(), 0.0f) << "a board without cells has no free share";
}

// ---- petrification ---------------------------------------------------------------------------------

class PetrifyTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        board->petrifySound = TestSound();
        board->clearBoard();
        t0 = plat::MilliSecs();
    }
    void After(int ms, int paused = 0) {
        plat::testing::AdvanceTime(ms);
        board->_checkForPetrify(paused);
    }
    int t0 = 0;
};

TEST_F(PetrifyTest, TheOldestGroupFadesToStoneOverOneSecond) {
    Put(0, 0, 1, t0 - 500);
    Put(1, 0, 1, t0 - 500);
    Put(5, 5, 1, t0 - 100);
    Put(6, 6, 2, t0 - 500);  // rune 2 has no stone form
    const int before = plat::testing::PlayingChannels();
    After(15000);
    EXPECT_EQ(board->petrifying, 0) << "strictly more than the interval";
    After(1);
    EXPECT_EQ(board->petrifying, 1);
    EXPECT_EQ(plat::testing::PlayingChannels(), before + 1);
    EXPECT_EQ(board->petrifyMask[0][0], 1);
    EXPECT_EQ(board->petrifyMask[1][0], 1);
    EXPECT_EQ(board->petrifyMask[6][6], 1);
    EXPECT_EQ(board->petrifyMask[5][5], 0);
    After(500, 1);  // a running fade goes on while paused
    EXPECT_FLOAT_EQ(board->petrifyProgress, 0.5f);
    EXPECT_EQ(board->runeLayer[0][0], 1);
    After(500);
    EXPECT_EQ(board->petrifying, 0);
    EXPECT_EQ(board->runeLayer[0][0], 11);
    EXPECT_EQ(board->colorLayer[0][0], 1);
    EXPECT_EQ(board->runeLayer[5][5], 1);
    EXPECT_EQ(board->runeLayer[6][6], 0) << "no stone form: the cell empties";
    EXPECT_EQ(board->colorLayer[6][6], 0) << "and loses its colour";
    EXPECT_EQ(board->placeTimeLayer[0][0], t0 - 500);
    EXPECT_EQ(board->petrifyMask[0][0], 1) << "the mask stays until the next start";
}

TEST_F(PetrifyTest, PausedStartsNothingAndAnEmptyBoardRestartsTheTimerSilently) {
    Put(3, 3, 1, t0);
    After(15001, 1);
    EXPECT_EQ(board->petrifying, 0);
    After(0);
    EXPECT_EQ(board->petrifying, 1);

    board->clearBoard();
    const int before = plat::testing::PlayingChannels();
    After(15001);
    EXPECT_EQ(board->petrifying, 0);
    EXPECT_EQ(board->lastPetrifyTime, plat::MilliSecs());
    EXPECT_EQ(plat::testing::PlayingChannels(), before);
}

TEST_F(PetrifyTest, Rune13SpellCellsAndUnknownRunesAreNeverChosen) {
    // Rune 13 is a catalogue rune with a stone form like any other: only its
    // id keeps it from turning.
    auto r13 = std::make_shared<TRune>(*razod->_findRuneByID("1"));
    r13->id = "13";
    razod->runeList.push_back(r13);
    playLinks.spellAt = [](int x, int y) { return x == 2 && y == 0 ? 4 : 0; };
    struct Case {
        const char* what;
        int time13, timeUnknown, timeSpell, timePlain;  // placing times before t0
    } cases[] = {
        {"each older than the plain rune", 900, 800, 700, 600},
        {"all placed at once", 500, 500, 500, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        board->clearBoard();
        const int now = plat::MilliSecs();
        Put(0, 0, 13, now - c.time13);
        Put(1, 0, 99, now - c.timeUnknown);  // not in the catalogue
        Put(2, 0, 1, now - c.timeSpell);     // holds a spell
        Put(3, 0, 3, now - c.timePlain);     // the oldest that may turn
        Put(4, 0, 1, now - 100);
        After(15001);
        ASSERT_EQ(board->petrifying, 1);
        TBoardLayer want{};
        want[3][0] = 1;
        EXPECT_EQ(board->petrifyMask, want);
        After(1000);
        EXPECT_EQ(board->petrifying, 0);
        EXPECT_EQ(board->runeLayer[0][0], 13);
        EXPECT_EQ(board->runeLayer[1][0], 99);
        EXPECT_EQ(board->runeLayer[2][0], 1);
        EXPECT_EQ(board->runeLayer[3][0], 0) << "rune 3 has no stone form";
    }
}

TEST_F(PetrifyTest, WhatLiesInAChosenCellWhenTheFadeEndsTurns) {
    Put(0, 0, 1, t0 - 500);
    Put(1, 0, 1, t0 - 500);
    Put(5, 5, 1, t0 - 100);
    After(15001);
    ASSERT_EQ(board->petrifying, 1);
    // During the fade the chosen cells are cleared, one is filled again and
    // an unknown rune lands in the other; a new rune comes beside them.
    board->runeLayer[0][0] = board->runeLayer[1][0] = 0;
    After(300);
    Put(0, 0, 1, plat::MilliSecs());
    Put(1, 0, 99, plat::MilliSecs());
    Put(2, 0, 1, plat::MilliSecs());
    After(700);
    EXPECT_EQ(board->petrifying, 0);
    EXPECT_EQ(board->runeLayer[0][0], 11) << "a rune placed during the fade still turns";
    EXPECT_EQ(board->colorLayer[0][0], 1);
    EXPECT_EQ(board->runeLayer[1][0], 99) << "an unknown one has no stone form and stays";
    EXPECT_EQ(board->runeLayer[2][0], 1) << "outside the chosen cells nothing turns";
    EXPECT_EQ(board->runeLayer[5][5], 1);
}

TEST_F(PetrifyTest, AnIntervalShorterThanTheFadeRestartsItBeforeItEnds) {
    board->petrifyInterval = 400;
    Put(0, 0, 1, t0);
    for (int i = 0; i < 10; ++i) After(401);
    EXPECT_EQ(board->petrifying, 1);
    EXPECT_EQ(board->runeLayer[0][0], 1);
}

// ---- drawing ----------------------------------------------------------------------------------------------

std::vector<plat::testing::DrawCall> ImageDraws(const plat::ImagePtr& img) {
    std::vector<plat::testing::DrawCall> out;
    for (const auto& d : plat::testing::DrawCalls())
        if (d.kind == plat::testing::DrawCall::IMAGE && d.image == img.get()) out.push_back(d);
    return out;
}

TEST_F(PetrifyTest, TheStoneIdTextReadsAsTheGamesOtherNumbersDo) {
    // The game's one text-to-integer reading: leading space, sign, "$" hex,
    // "%" binary, digits up to the first other character; none gives 0.
    struct Case {
        const char* blockedID;
        int stone;
    } cases[] = {{"11", 11}, {" 11", 11}, {"+11", 11}, {"11x", 11}, {"$B", 11},
                 {"%1011", 11}, {"", 0}, {"x", 0}, {"99999999999", 2147483647}};
    board->ghostImage = nullptr;
    for (const Case& c : cases) {
        razod->_findRuneByID("1")->blockedID = c.blockedID;
        board->clearBoard();
        board->alpha = 1.0f;
        Put(0, 0, 1, plat::MilliSecs() - 1);
        After(15001);
        ASSERT_EQ(board->petrifying, 1) << c.blockedID;
        // The overlay shows the stone the cell is about to become.
        board->petrifyProgress = 1.0f;
        plat::testing::ClearDrawCalls();
        board->_drawRazod();
        EXPECT_EQ(ImageDraws(razod->_findRuneByID("11")->image).size(), c.stone == 11 ? 1u : 0u) << c.blockedID;
        After(1000);
        EXPECT_EQ(board->runeLayer[0][0], c.stone) << c.blockedID;
    }
}

TEST_F(RulesTest, RunesDrawOverTheirShadowsWithTheStoneFadingIn) {
    board->ghostImage = plat::CreateImage(32, 32);
    board->originX = 100;
    board->originY = 50;
    Put(2, 1, 1);
    Put(3, 1, 99);  // unknown: shadow only
    board->runeLayer[4][1] = -3;  // not drawn at all
    board->petrifying = 1;
    board->petrifyProgress = 0.5f;
    board->alpha = 0.8f;
    board->petrifyMask[2][1] = 1;
    board->petrifyMask[3][1] = 1;
    plat::testing::ClearDrawCalls();
    board->_drawRazod();
    const auto shadows = ImageDraws(board->ghostImage);
    ASSERT_EQ(shadows.size(), 2u);
    EXPECT_FLOAT_EQ(shadows[0].x, 100 + 64 + 5);
    EXPECT_FLOAT_EQ(shadows[0].y, 50 + 32 + 4);
    const auto runes = ImageDraws(razod->_findRuneByID("1")->image);
    ASSERT_EQ(runes.size(), 1u);
    EXPECT_FLOAT_EQ(runes[0].x, 164);
    const auto stones = ImageDraws(razod->_findRuneByID("11")->image);
    ASSERT_EQ(stones.size(), 1u) << "the unknown rune shows no stone";
    EXPECT_NEAR(stones[0].alpha, 0.4f, 0.01f);
    EXPECT_NEAR(runes[0].alpha, 0.8f, 0.01f);
}

TEST_F(RulesTest, FrameTilesSitOffTheirCellsByTheCellSizesOffset) {
    board->leftRightTiles32[1][0] = plat::CreateImage(7, 32);
    board->topBottomTiles40[1][1] = plat::CreateImage(40, 6);
    board->cornerTiles32[3][2] = plat::CreateImage(7, 7);
    board->cornerTiles32[0][0] = plat::CreateImage(7, 7);
    board->originX = 100;
    board->originY = 50;
    board->scale = 1.0f;
    auto element = [](int kind, int size, int id, int x, int y) {
        TFrameElement e;
        e.kind = kind;
        e.size = size;
        e.id = id;
        e.x = x;
        e.y = y;
        return e;
    };
    board->frameElements = {element(0, 1, 0, -1, 2), element(7, 3, 2, 15, 15), element(4, 0, 0, -1, -1),
                            element(3, 1, 1, 0, 15), element(9, 1, 0, 0, 0), element(1, 3, 4, 0, 0)};
    plat::testing::ClearDrawCalls();
    board->_drawFrame();
    auto left = ImageDraws(board->leftRightTiles32[1][0]);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_FLOAT_EQ(left[0].x, 100 - 32 - 7);
    EXPECT_FLOAT_EQ(left[0].y, 50 + 64);
    auto rd = ImageDraws(board->cornerTiles32[3][2]);
    ASSERT_EQ(rd.size(), 1u);
    EXPECT_FLOAT_EQ(rd[0].x, 100 + 15 * 32);
    auto lu = ImageDraws(board->cornerTiles32[0][0]);
    ASSERT_EQ(lu.size(), 1u);
    EXPECT_FLOAT_EQ(lu[0].y, 50 - 32 - 7);
    // The 40-pixel set and its offset of 6, at the mini board's scale too.
    board->cellSize = 40;
    board->scale = 0.5f;
    plat::testing::ClearDrawCalls();
    board->_drawFrame();
    auto bottom = ImageDraws(board->topBottomTiles40[1][1]);
    ASSERT_EQ(bottom.size(), 1u);
    EXPECT_FLOAT_EQ(bottom[0].y, 50 + 15 * 40 - 3);
    float sx, sy;
    plat::GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 1.0f);
    // The small frame keeps the 32-pixel set whatever the cell size.
    plat::testing::ClearDrawCalls();
    board->_drawSmallFrame();
    EXPECT_EQ(ImageDraws(board->leftRightTiles32[1][0]).size(), 1u);
    EXPECT_TRUE(ImageDraws(board->topBottomTiles40[1][1]).empty());
}

TEST_F(RulesTest, HighlightsSpawnOneSparkPerMarkedCellUntilCleared) {
    board->highlightLayer[0][0] = 1;
    board->highlightLayer[14][14] = 2;
    board->highlightLayer[7][3] = 12;
    const int before = SparkList->Count();
    board->_drawHighlights();
    EXPECT_EQ(SparkList->Count(), before + 3);
    board->clearHighlights();
    board->_drawHighlights();
    EXPECT_EQ(SparkList->Count(), before + 3);
}

TEST_F(RulesTest, DrawShowsThePictureTheBossMarksAndTheFragmentsLast) {
    PutBoss(6, 6);
    bossManager->helpMarkImage = plat::CreateImage(32, 32);
    board->boardImage = plat::CreateImage(32, 32);
    board->stoneImage = plat::CreateImage(6, 6);
    Depetrify(0, 0, board->stoneImage);
    plat::testing::ClearDrawCalls();
    board->Draw(0);
    EXPECT_EQ(ImageDraws(bossManager->helpMarkImage).size(), 16u) << "every arm cell marked once";
    const auto& calls = plat::testing::DrawCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().image, board->boardImage.get());
    EXPECT_EQ(calls.back().image, board->stoneImage.get());
    EXPECT_EQ(ImageDraws(board->stoneImage).size(), 12u);
    EXPECT_FLOAT_EQ(plat::GetRotation(), 0.0f);
    // The mini board has neither boss marks nor fragments, and draws its
    // picture and runes at its scale.
    Put(1, 1, 1);
    board->cellSize = 13;
    board->scale = 0.40625f;
    plat::testing::ClearDrawCalls();
    board->DrawSmall();
    EXPECT_TRUE(ImageDraws(bossManager->helpMarkImage).empty());
    EXPECT_TRUE(ImageDraws(board->stoneImage).empty());
    const auto picture = ImageDraws(board->boardImage);
    ASSERT_EQ(picture.size(), 1u);
    EXPECT_FLOAT_EQ(picture[0].sx, 0.40625f);
    const auto rune = ImageDraws(razod->_findRuneByID("1")->image);
    ASSERT_EQ(rune.size(), 1u);
    EXPECT_FLOAT_EQ(rune[0].x, board->originX + 13);
    EXPECT_FLOAT_EQ(rune[0].sx, 0.40625f);
}

// ---- stone fragments -------------------------------------------------------------------------------

TEST_F(RulesTest, ABurstPlacesTwelveFragmentsOnTheCellsBorder) {
    const plat::ImagePtr img = plat::CreateImage(6, 4);
    for (int size : {32, 40}) {
        SCOPED_TRACE(size);
        stonesList->Clear();
        board->cellSize = size;
        board->originX = 100;
        board->originY = 50;
        Depetrify(2, 1, img);
        ASSERT_EQ(stonesList->Count(), 12);
        const int L = 100 + 2 * size, T = 50 + size;
        const int xs[12] = {L + 3, L + size - 3, L + size / 3 + 3, L + 2 * size / 3 - 3, L + 3, L + 3,
                            L + size - 3, L + size - 3, L + 3, L + size - 3, L + size / 3 + 3, L + 2 * size / 3 - 3};
        const int ys[12] = {T + 2, T + 2, T + 2, T + 2, T + size / 3 + 2, T + 2 * size / 3 + 2, T + size / 3 + 2,
                            T + 2 * size / 3 + 2, T + size - 2, T + size - 2, T + size - 2, T + size - 2};
        const float a[12] = {-0.04f, 0.04f, -0.04f, 0.04f, -0.06f, -0.06f, 0.06f, 0.06f, -0.04f, 0.04f, -0.02f, 0.02f};
        const float b[12] = {-0.04f, -0.04f, -0.08f, -0.08f, -0.02f, -0.01f, -0.02f, -0.01f, 0, 0, 0, 0};
        int k = 0;
        for (const TStoneEntityPtr& s : *stonesList) {
            EXPECT_FLOAT_EQ(s->startX, static_cast<float>(xs[k])) << k;
            EXPECT_FLOAT_EQ(s->startY, static_cast<float>(ys[k])) << k;
            EXPECT_NEAR(s->velocityX, a[k], 0.0100001) << k;
            EXPECT_NEAR(s->velocityY, b[k], 0.0050001) << k;
            EXPECT_GE(s->life, 500.0f);
            EXPECT_LE(s->life, 2000.0f);
            ++k;
        }
    }
}

TEST_F(RulesTest, AFragmentMovesSpinsFadesInItsSecondHalfAndGoes) {
    const plat::ImagePtr img = plat::CreateImage(4, 4);
    TStoneEntityPtr s = TStoneEntity::Create(100, 200, 0.1f, -0.05f, img);
    s->life = 500.0f;
    struct Step {
        int advance;
        float alpha;  // < 0: the alpha in force (set to 0.7 before)
        bool alive;
    };
    const Step steps[] = {{100, -1, true}, {100, -1, true}, {100, 0.8f, true}, {150, 0.2f, true}, {51, 0, false}};
    int age = 0;
    for (const Step& st : steps) {
        plat::testing::AdvanceTime(st.advance);
        age += st.advance;
        const float vy = s->velocityY;
        plat::SetAlpha(0.7f);
        plat::testing::ClearDrawCalls();
        TStoneEntity::UpdateAll();
        SCOPED_TRACE(age);
        EXPECT_FLOAT_EQ(s->drawX, 100 + 0.1f * age);
        EXPECT_FLOAT_EQ(s->drawY, 200 + vy * age);
        EXPECT_FLOAT_EQ(s->velocityY, vy + 0.000002f * age);
        const auto draws = ImageDraws(img);
        ASSERT_EQ(draws.size(), 1u) << "drawn also on the update that removes it";
        EXPECT_NEAR(draws[0].rotation, 0.2f * age, 1e-3);
        EXPECT_NEAR(draws[0].alpha, st.alpha < 0 ? 0.7f : st.alpha, 0.01f);
        EXPECT_EQ(stonesList->Contains(s), st.alive);
    }
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1.0f);
}

}  // namespace
