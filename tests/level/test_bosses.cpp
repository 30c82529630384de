// Bosses: the beaten test, their lines and preview, the move test, the goal,
// reading a level's bosses and drawing them.
#include <algorithm>
#include <set>
#include <tuple>

#include "board/board_rules.h"
#include "level/rules2_test_util.h"

namespace {

// Kind 3 of colour 2 and kind 7 of colour 4, last in the file.
const char* kCatalogue = R"(
List{
  Troll{ id='3' color='2' fileNameBoss='gfx/boss/troll32.png' fileNameBossBig='gfx/boss/troll40.png' }
  Wyrm{ id='7' color='4' fileNameBoss='gfx/boss/wyrm32.png' fileNameBossBig='gfx/boss/wyrm40.png' }
}
)";

class BossesTest : public LevelRulesTest {
protected:
    void SetUp() override {
        LevelRulesTest::SetUp();
        WriteFourRunePictures();
        razod->loadFrom(TscFromText(kFourRunes));
        board->clearBoard();
    }
    // Fills the sixteen arm cells of a boss at (x, y) with rune id v.
    static void FillArms(int x, int y, int v) {
        TBossRune b;
        b.x = x;
        b.y = y;
        for (const auto& c : b.ArmCells()) Put(c[0], c[1], v);
    }
    static void Put(int x, int y, int v) {
        if (x < 0 || x > 14 || y < 0 || y > 14) return;
        board->runeLayer[x][y] = v;
        board->colorLayer[x][y] = razod->getRuneColor(std::to_string(v));
    }
    static std::string Level(const std::string& bosses, int goalType = 3) {
        return "Settings{ Level{ GoalType=" + std::to_string(goalType) + " BossRazod='" + bosses + "' } }";
    }
};

TEST_F(BossesTest, ABossIsBeatenOnlyWhenAllSixteenArmCellsHoldItsColour) {
    struct Case {
        const char* what;
        int x, y;
        std::function<void(int x, int y)> spoil;
        int beaten;
    } cases[] = {
        {"all arms full", 6, 5, [](int, int) {}, 1},
        {"one empty cell", 6, 5, [](int, int) { Put(4, 5, 0); }, 0},
        {"one cell of another colour", 6, 5, [](int, int) { Put(7, 8, 2); }, 0},
        {"the last cell of the lower arm", 6, 5, [](int, int) { Put(7, 8, 0); }, 0},
        {"a stone of its colour counts", 6, 5, [](int, int) { Put(9, 6, 11); }, 1},
        {"its own cells do not matter", 6, 5, [](int, int) { Put(6, 5, 3); }, 1},
        {"an arm off the left edge", 1, 5, [](int, int) {}, 0},
        {"an arm off the top", 6, 1, [](int, int) {}, 0},
        {"an arm off the right edge", 12, 5, [](int, int) {}, 0},
        {"an arm off the bottom", 6, 12, [](int, int) {}, 0},
        {"the far corner that still fits", 11, 11, [](int, int) {}, 1},
        {"the near corner that still fits", 2, 2, [](int, int) {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        board->clearBoard();
        FillArms(c.x, c.y, 1);
        c.spoil(c.x, c.y);
        TBossRunePtr boss = TBossRune::Create(3, 1, c.x, c.y, "");
        board->clearList = std::make_shared<std::vector<TLine>>();
        EXPECT_EQ(boss->CheckForMatch(1), c.beaten);
        EXPECT_EQ(board->clearList->size(), c.beaten ? 8u : 0u);
        board->clearList.reset();
    }
}

TEST_F(BossesTest, ABeatenBossHandsOnItsEightLinesInOrder) {
    FillArms(6, 5, 1);
    TBossRunePtr boss = TBossRune::Create(3, 1, 6, 5, "");
    board->clearList = std::make_shared<std::vector<TLine>>();
    ASSERT_EQ(boss->CheckForMatch(1), 1);
    std::vector<std::array<int, 4>> lines;
    for (const TLine& l : *board->clearList) lines.push_back({l.x0, l.y0, l.x1, l.y1});
    EXPECT_EQ(lines, (std::vector<std::array<int, 4>>{{4, 5, 5, 5},
                                                      {4, 6, 5, 6},
                                                      {8, 5, 9, 5},
                                                      {8, 6, 9, 6},
                                                      {6, 3, 7, 3},
                                                      {6, 4, 7, 4},
                                                      {6, 7, 7, 7},
                                                      {6, 8, 7, 8}}));
    EXPECT_EQ(board->highlightLayer, TBoardLayer{});
}

TEST_F(BossesTest, ThePreviewMarksTheWholePlusFigureInTheBossColour) {
    FillArms(6, 5, 2);
    PutBoss(6, 5, 2);
    bossManager->CheckForMatch(0);
    EXPECT_EQ(bossManager->bosses->Count(), 1) << "a preview removes nothing";
    std::set<std::pair<int, int>> marked;
    for (int x = 0; x < 15; ++x)
        for (int y = 0; y < 15; ++y)
            if (board->highlightLayer[x][y] != 0) {
                EXPECT_EQ(board->highlightLayer[x][y], 2);
                marked.emplace(x, y);
            }
    std::set<std::pair<int, int>> figure;
    for (int x = 4; x <= 9; ++x)
        for (int y = 5; y <= 6; ++y) figure.emplace(x, y);
    for (int x = 6; x <= 7; ++x)
        for (int y = 3; y <= 8; ++y) figure.emplace(x, y);
    EXPECT_EQ(marked, figure);
    EXPECT_EQ(figure.size(), 20u);
}

TEST_F(BossesTest, TheManagerRemovesEveryBeatenBossWithItsOwnExplosion) {
    bossManager->explodeSound = Noise();
    FillArms(4, 4, 1);
    FillArms(8, 4, 1);  // shares its left arm with the first boss's right arm
    TBossRunePtr first = PutBoss(4, 4, 1);
    TBossRunePtr alive = PutBoss(10, 10, 1);
    TBossRunePtr second = PutBoss(8, 4, 1);
    const int channels = plat::testing::PlayingChannels();
    board->clearList = std::make_shared<std::vector<TLine>>();
    EXPECT_EQ(bossManager->CheckForMatch(1), 0);
    EXPECT_EQ(bossManager->bosses->ToArray(), std::vector<TBossRunePtr>{alive});
    EXPECT_EQ(board->clearList->size(), 16u);
    EXPECT_EQ(plat::testing::PlayingChannels(), channels + 2);
    board->clearList.reset();
    EXPECT_EQ(bossManager->CheckForGoal(), 0);
    bossManager->bosses->Clear();
    EXPECT_EQ(bossManager->CheckForGoal(), 1);
}

TEST_F(BossesTest, APlacementThatCompletesAnArmClearsTheBossAndItsRunsTogether) {
    points = std::make_shared<TPointsManager>();
    FillArms(6, 5, 1);
    Put(4, 5, 0);  // the last cell comes with the block
    // A row run of colour 2 elsewhere, cleared by the same placement.
    for (int x = 0; x < 3; ++x) Put(x, 12, 2);
    PutBoss(6, 5, 1);
    auto block = std::make_shared<TBlock>();
    block->cells[0][0] = 1;
    block->colors[0][0] = 1;
    blocks->heldBlock = block;
    ASSERT_EQ(board->placeBlock(block, 4, 5, 1), 1);
    // Columns 4 and 5 of rows 5 and 6 are also a run of colour 1 along
    // the row: 4, 5 then the boss cells are empty, so only the arms count.
    EXPECT_EQ(board->clearMatchingRazod(0), 16 + 3);
    EXPECT_EQ(bossManager->bosses->Count(), 0);
    EXPECT_EQ(points->pointsActual, ClearPoints(19, 2));
    for (int x = 4; x <= 9; ++x) EXPECT_EQ(board->runeLayer[x][5], 0);
    // The boss's cells are free for blocks again.
    EXPECT_EQ(board->placeBlock(block, 6, 5, 0), 1);
}

TEST_F(BossesTest, BlocksStayOffTheFourCellsOfActiveBossesOnly) {
    TBossRunePtr boss = PutBoss(3, 7);
    struct Case {
        int x, y, covered;
    } cases[] = {{3, 7, 1}, {4, 7, 1}, {3, 8, 1}, {4, 8, 1}, {2, 7, 0}, {5, 7, 0}, {3, 6, 0}, {3, 9, 0}};
    for (const Case& c : cases) EXPECT_EQ(bossManager->CheckMove(c.x, c.y), c.covered) << c.x << "," << c.y;
    boss->active = 0;
    EXPECT_EQ(bossManager->CheckMove(3, 7), 0);
    PutBoss(0, 0);
    EXPECT_EQ(bossManager->CheckMove(1, 1), 1) << "every boss is asked";
}

TEST_F(BossesTest, ALevelsBossesComeFromItsEntriesAndTheCatalogue) {
    WriteSettings({{"bossRazod.tsc", kCatalogue}});
    for (const char* p : {"gfx/boss/troll32.png", "gfx/boss/wyrm32.png", "gfx/boss/troll40.png", "gfx/boss/wyrm40.png"})
        WritePicture(p, 64, 64);
    bossManager->LoadResources();
    // A 15 x 15 board: the 32-pixel set.
    bossManager->Load(TscFromText(Level("3:6:5 9:2:2 7:11:11")), 3);
    const auto list = bossManager->bosses->ToArray();
    ASSERT_EQ(list.size(), 3u);
    using B = std::tuple<int, int, int, int, int, std::string>;
    auto row = [](const TBossRunePtr& b) {
        return B{b->id, b->color, b->x, b->y, b->active, b->image ? b->image->source : ""};
    };
    EXPECT_EQ(row(list[0]), (B{3, 2, 6, 5, 1, "gfx/boss/troll32.png"}));
    EXPECT_EQ(row(list[1]), (B{9, 4, 2, 2, 1, "gfx/boss/wyrm32.png"})) << "an unknown kind takes the last";
    EXPECT_EQ(row(list[2]), (B{7, 4, 11, 11, 1, "gfx/boss/wyrm32.png"}));
    EXPECT_EQ(list[0]->createdTime, static_cast<float>(plat::MilliSecs()));
    // Another goal leaves the list empty.
    bossManager->Load(TscFromText(Level("3:6:5", 1)), 1);
    EXPECT_EQ(bossManager->bosses->Count(), 0);
    EXPECT_EQ(bossManager->CheckMove(6, 5), 0);
    // No entries: no bosses, and the goal is met at once.
    bossManager->Load(TscFromText(Level("")), 3);
    EXPECT_EQ(bossManager->CheckForGoal(), 1);
}

TEST_F(BossesTest, MalformedEntriesAreSkippedAndAnEmptyCatalogueMakesNoBoss) {
    WriteSettings({{"bossRazod.tsc", kCatalogue}});
    bossManager->LoadResources();
    bossManager->Load(TscFromText(Level(" 3:6:5  3:x:1 3:1 7:2:2:9 :: 3:-1:4 7:11:11 ")), 3);
    std::vector<std::pair<int, int>> places;
    for (const TBossRunePtr& b : bossManager->bosses->ToArray()) places.emplace_back(b->x, b->y);
    EXPECT_EQ(places, (std::vector<std::pair<int, int>>{{6, 5}, {-1, 4}, {11, 11}}));

    WriteSettings({{"bossRazod.tsc", "List{ }"}});
    bossManager->LoadResources();
    bossManager->Load(TscFromText(Level("3:6:5 7:2:2")), 3);
    EXPECT_EQ(bossManager->bosses->Count(), 0);
    WriteSettings({{"bossRazod.tsc", "Other{ x=1 }"}});
    bossManager->LoadResources();
    bossManager->Load(TscFromText(Level("3:6:5")), 3);
    EXPECT_EQ(bossManager->bosses->Count(), 0);
    TBossManager unloaded;  // no catalogue read at all
    unloaded.Load(TscFromText(Level("3:6:5")), 3);
    EXPECT_EQ(unloaded.bosses->Count(), 0);
}

TEST_F(BossesTest, ThePictureSetFollowsTheBoardsCellSize) {
    WriteSettings({{"bossRazod.tsc", kCatalogue}});
    bossManager->LoadResources();
    struct Case {
        const char* what;
        int x0, y0, w, h;  // the outline's cells
        bool big;
    } cases[] = {
        {"12 x 12 from the corner", 0, 0, 12, 12, true},
        {"a small board", 4, 4, 5, 6, true},
        {"13 columns", 0, 0, 13, 5, false},
        {"13 rows", 0, 0, 5, 13, false},
        {"12 x 12 reaching column 14", 3, 0, 12, 12, false},
        {"3 x 3 reaching row 12", 0, 10, 3, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (auto& col : board->shapeLayer) col.fill(0);
        for (int x = c.x0; x < c.x0 + c.w; ++x)
            for (int y = c.y0; y < c.y0 + c.h; ++y) board->shapeLayer[x][y] = 1;
        bossManager->Load(TscFromText(Level("3:6:5")), 3);
        ASSERT_EQ(bossManager->bosses->Count(), 1);
        // The files are missing here: the loader names them in its messages.
        EXPECT_EQ(bossManager->bosses->First()->id, 3);
        EXPECT_EQ(board->fitCellSize(), c.big ? 40 : 32);
    }
    EXPECT_EQ(TBossManager::EffectFrameName("gfx/boss/boss-ef", 0), "gfx/boss/boss-ef0000.png");
    EXPECT_EQ(TBossManager::EffectFrameName("gfx/boss/boss-efm", 15), "gfx/boss/boss-efm0015.png");
}

TEST_F(BossesTest, ThePicturesLoadedAreThoseOfTheChosenSet) {
    WriteSettings({{"bossRazod.tsc", kCatalogue}});
    for (const char* p : {"gfx/boss/troll32.png", "gfx/boss/troll40.png", "gfx/boss/cien_boss.png",
                          "gfx/boss/cien_bossm.png", "gfx/boss/sadza32.png", "gfx/boss/sadza40.png"})
        WritePicture(p, 32, 32);
    for (int i = 0; i < 16; ++i) {
        WritePicture(TBossManager::EffectFrameName("gfx/boss/boss-ef", i), 8, 8);
        WritePicture(TBossManager::EffectFrameName("gfx/boss/boss-efm", i), 8, 8);
    }
    bossManager->LoadResources();
    for (int big = 0; big <= 1; ++big) {
        for (auto& col : board->shapeLayer) col.fill(0);
        const int n = big ? 10 : 14;
        for (int x = 0; x < n; ++x)
            for (int y = 0; y < n; ++y) board->shapeLayer[x][y] = 1;
        bossManager->Load(TscFromText(Level("3:6:5")), 3);
        ASSERT_NE(bossManager->bossShadowImage, nullptr);
        EXPECT_EQ(bossManager->bossShadowImage->source, big ? "gfx/boss/cien_boss.png" : "gfx/boss/cien_bossm.png");
        EXPECT_EQ(bossManager->helpMarkImage->source, big ? "gfx/boss/sadza40.png" : "gfx/boss/sadza32.png");
        ASSERT_NE(bossManager->effectFrames[15], nullptr);
        EXPECT_EQ(bossManager->effectFrames[15]->source, big ? "gfx/boss/boss-ef0015.png" : "gfx/boss/boss-efm0015.png");
        EXPECT_EQ(bossManager->bosses->First()->image->source, big ? "gfx/boss/troll40.png" : "gfx/boss/troll32.png");
    }
    bossManager->Free();
    EXPECT_EQ(bossManager->bosses->Count(), 0);
    EXPECT_EQ(bossManager->bossShadowImage, nullptr);
    EXPECT_EQ(bossManager->effectFrames[0], nullptr);
}

TEST_F(BossesTest, TheEffectCrossFadesItsSixteenFramesEveryHalfSecond) {
    TBossRunePtr boss = PutBoss(6, 5);
    boss->createdTime = static_cast<float>(plat::MilliSecs());
    boss->image = Frames(80, 80);
    bossManager->bossShadowImage = Frames(80, 80);
    for (auto& f : bossManager->effectFrames) f = Frames(80, 80);
    board->cellSize = 40;
    board->originX = 100;
    board->originY = 20;
    struct Case {
        int at;
        int k, p;
        float alphaK;
    } cases[] = {{0, 0, 15, 0.0f}, {250, 0, 15, 0.5f}, {500, 1, 0, 0.0f}, {7750, 15, 14, 0.5f}, {8000, 0, 15, 0.0f},
                 {8250, 0, 15, 0.5f}};
    int now = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        plat::testing::AdvanceTime(c.at - now);
        now = c.at;
        plat::testing::ClearDrawCalls();
        bossManager->Draw();
        const auto& calls = plat::testing::DrawCalls();
        ASSERT_EQ(calls.size(), 4u);
        EXPECT_EQ(calls[0].image, bossManager->bossShadowImage.get());
        EXPECT_EQ(calls[1].image, boss->image.get());
        EXPECT_EQ(calls[2].image, bossManager->effectFrames[static_cast<size_t>(c.k)].get());
        EXPECT_EQ(calls[3].image, bossManager->effectFrames[static_cast<size_t>(c.p)].get());
        EXPECT_NEAR(calls[2].alpha, c.alphaK, 0.005f);
        EXPECT_NEAR(calls[3].alpha, 1.0f - c.alphaK, 0.005f);
        for (const auto& d : calls) EXPECT_EQ(std::pair(d.x, d.y), std::pair(100.0f + 240.0f, 20.0f + 200.0f));
        EXPECT_EQ(plat::GetAlpha(), 1.0f);
    }
    boss->active = 0;
    plat::testing::ClearDrawCalls();
    bossManager->Draw();
    EXPECT_TRUE(plat::testing::DrawCalls().empty());
}

TEST_F(BossesTest, HintMarksFallOnTheArmCellsInsideTheGrid) {
    bossManager->helpMarkImage = Frames(32, 32);
    PutBoss(0, 0);
    PutBoss(6, 5);
    plat::testing::ClearDrawCalls();
    bossManager->DrawHelp();
    const auto marks = DrawsOf(bossManager->helpMarkImage);
    ASSERT_EQ(marks.size(), 8u + 16u);
    // The corner boss: its right arm, then its lower arm, column by column.
    const std::pair<float, float> corner[] = {{240 + 64, 60}, {240 + 64, 92},  {240 + 96, 60}, {240 + 96, 92},
                                              {240, 124},     {240, 156},      {272, 124},     {272, 156}};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(std::pair(marks[i].x, marks[i].y), corner[i]) << i;
    for (const auto& m : marks) EXPECT_NEAR(m.alpha, 0.3f, 0.005f);
    EXPECT_EQ(plat::GetAlpha(), 1.0f);
}

}  // namespace
