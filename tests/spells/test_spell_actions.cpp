// The board actions of holyfire, vanish, bomb, drain and heal: their targets
// and counts, and what their emitters leave of the board once run.
#include <set>

#include "spells_test_util.h"

namespace {

class SpellActionTest : public SpellTest {};

float CX(int x) { return static_cast<float>(240 + 32 * x + 16); }
float CY(int y) { return static_cast<float>(60 + 32 * y + 16); }

// ---- holyfire -----------------------------------------------------------------------

TEST_F(SpellActionTest, LineStopsAtAHoleAndEndsAtItsCentre) {
    SetBoard({"# # # # #", "1 . 2 # 3"});
    EXPECT_EQ(BonusRemoveHorizontalLine(1, 1), 2);
    const auto lines = Emitters<TRemoveLineEmiter>();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FLOAT_EQ(lines[0]->endX, CX(-1));  // just left of the grid
    EXPECT_FLOAT_EQ(lines[1]->endX, CX(3));   // the hole's centre
    for (const auto& l : lines) {
        EXPECT_FLOAT_EQ(l->startX, CX(1));
        EXPECT_FLOAT_EQ(l->endY, CY(1));
        EXPECT_EQ(l->direction, 1);
        EXPECT_FLOAT_EQ(l->controlX, l->startX);
    }
    RunEffects();
    EXPECT_EQ(board->runeLayer[0][1], 0);
    EXPECT_EQ(board->runeLayer[2][1], 0);
    EXPECT_EQ(board->runeLayer[4][1], 3);  // beyond the hole
}

TEST_F(SpellActionTest, LineToTheGridsEdgeEndsOnTheVirtualCell) {
    SetBoard({". . . . . . . . . . . . . . ."});
    BonusRemoveVerticalLine(3, 0);
    const auto lines = Emitters<TRemoveLineEmiter>();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FLOAT_EQ(lines[0]->endY, CY(-1));
    EXPECT_FLOAT_EQ(lines[1]->endY, CY(1));  // row 1 is off the board
    EXPECT_EQ(lines[0]->direction, 0);
    volcanoList->Clear();
    BonusRemoveHorizontalLine(3, 0);
    EXPECT_FLOAT_EQ(Emitters<TRemoveLineEmiter>()[1]->endX, CX(15));
}

TEST_F(SpellActionTest, ARuneOnTheSpellCellCountsInEveryWalk) {
    SetBoard({". 1 .", "2 3 4", ". 1 ."});
    EXPECT_EQ(BonusRemoveHorizontalLine(1, 1), 2 + 2);
    volcanoList->Clear();
    EXPECT_EQ(BonusRemoveVerticalLine(1, 1), 2 + 2);
    volcanoList->Clear();
    EXPECT_EQ(BonusRemoveCross(1, 1), 4 + 4);
    EXPECT_EQ(Emitters<TRemoveLineEmiter>().size(), 4u);
    RunEffects();
    EXPECT_EQ(RuneCount(), 0);
}

// A whole 15-cell row is emptied, rune by rune into the spheres, whatever
// the frame rate; a spell lying on the row is lost without a cast.
class FullLine : public SpellActionTest, public ::testing::WithParamInterface<double> {};

TEST_P(FullLine, EveryRuneOfTheRowIsRemoved) {
    SetBoard({"# # # # # # # # # # # # # # #", "1 2 3 4 1 2 3 4 1 2 3 4 1 2 3",
              "# # # # # # # # # # # # # # #"});
    UseSpheres({1, 2, 3, 4});
    bonusManagerAlt->AddBonusExt(kBomb, 9, 1, 0);
    delta = GetParam();
    // The row's walks count the spell cell twice, the one-cell column twice.
    EXPECT_EQ(BonusRemoveCross(0, 1), 1 + 15 + 2);
    RunEffects();
    for (int x = 0; x < 15; ++x) {
        EXPECT_EQ(board->runeLayer[x][1], 0) << "column " << x << " at delta " << GetParam();
        EXPECT_EQ(board->colorLayer[x][1], 0) << x;
    }
    float filled = 0;
    for (float f : magicSphere->sphereFill) filled += f;
    EXPECT_FLOAT_EQ(filled, 15.0f);
    EXPECT_TRUE(bonusManagerAlt->spells.IsEmpty());
    // Every sphere stream has flown and put out its cell's sparkle.
    for (int x = 0; x < 15; ++x) EXPECT_EQ(board->highlightLayer[x][1], 0) << x;
}

INSTANTIATE_TEST_SUITE_P(Deltas, FullLine, ::testing::Values(1.0, 1.5, 3.0));

// ---- vanish -------------------------------------------------------------------------

// 12 rune cells in 3 columns of 4: the walk numbers them column by column.
std::set<std::pair<int, int>> VanishTargets() {
    std::set<std::pair<int, int>> out;
    auto all = SpellTest::Emitters<TRemoveRandomColorsEmiter>();
    for (size_t i = 1; i < all.size(); ++i) out.insert({all[i]->cellX, all[i]->cellY});
    return out;
}

TEST_F(SpellActionTest, VanishTakesEveryFifthRuneCellAfterTheSpellCell) {
    SetBoard({"1 2 3", "2 3 4", "3 4 1", "4 1 2"});
    EXPECT_EQ(BonusRemoveRandomColors(1, 1), 3);
    const auto all = Emitters<TRemoveRandomColorsEmiter>();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0]->cellX, 1);
    EXPECT_EQ(all[0]->cellY, 1);
    EXPECT_FLOAT_EQ(all[0]->startX, all[0]->endX);
    EXPECT_EQ(all[0]->highlightColor, 3);
    EXPECT_EQ(all[0]->red, 225);
    EXPECT_EQ(all[0]->green, 210);
    EXPECT_EQ(VanishTargets(), (std::set<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 2}}));
}

TEST_F(SpellActionTest, VanishPassesOverASpellAndCountsOnFromTheNextCell) {
    SetBoard({"1 2 3", "2 3 4", "3 4 1", "4 1 2"});
    bonusManagerAlt->AddBonusExt(kHeal, 0, 0, 0);
    EXPECT_EQ(BonusRemoveRandomColors(1, 1), 3);
    EXPECT_EQ(VanishTargets(), (std::set<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}}));
    RunEffects();
    // The targets and the spell cell are empty; the spell passed over stays.
    for (auto [x, y] : {std::pair{0, 1}, {1, 2}, {2, 3}, {1, 1}}) EXPECT_EQ(board->runeLayer[x][y], 0);
    EXPECT_EQ(RuneCount(), 12 - 4);
    EXPECT_EQ(bonusManagerAlt->FindBonus(0, 0), kHeal);
}

TEST_F(SpellActionTest, VanishOnABoardWithoutRunesHasOnlyItsOwnCell) {
    SetBoard({". . .", ". . ."});
    EXPECT_EQ(BonusRemoveRandomColors(2, 1), 0);
    ASSERT_EQ(volcanoList->Count(), 1);
    EXPECT_EQ(Emitters<TRemoveRandomColorsEmiter>()[0]->highlightColor, 0);
}

// ---- bomb ---------------------------------------------------------------------------

TEST_F(SpellActionTest, BombInTheCornerTakesItsBoardCellsOfTheSquare) {
    SetBoard({"1 . 3 4", "# 2 . 1", "3 . 4 2", "1 1 1 1"});
    EXPECT_EQ(BonusRemoveBlock(0, 0), 5);  // 8 board cells of 9, 5 with runes
    const auto bursts = Emitters<TRemoveBlockEmiter>();
    ASSERT_EQ(bursts.size(), 8u);
    EXPECT_EQ(bursts[0]->cellX, 0);
    EXPECT_EQ(bursts[0]->cellY, 0);
    EXPECT_FLOAT_EQ(bursts[0]->startX, CX(0));
    RunEffects();
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y) EXPECT_EQ(board->runeLayer[x][y], 0) << x << "," << y;
    EXPECT_EQ(RuneCount(), 3 + 4);  // column 3 and row 3 untouched
}

TEST_F(SpellActionTest, BombOnAnEmptyCellOnlyTakesTheSpellThere) {
    SetBoard({". 1", "1 ."});
    bonusManagerAlt->AddBonusExt(kVanish, 0, 0, 0);
    board->highlightLayer[0][0] = 7;
    TRemoveBlockEmiter::add(CX(0), CY(0), 0.0f, 0);
    RunEffects();
    EXPECT_TRUE(bonusManagerAlt->spells.IsEmpty());
    EXPECT_EQ(board->highlightLayer[0][0], 7);
    EXPECT_EQ(RuneCount(), 2);
}

// ---- drain --------------------------------------------------------------------------

TEST_F(SpellActionTest, DrainTakesEveryCellOfItsColour) {
    SetBoard({"1 2 2", "2 3 1", "11 . 2"});  // the stone 11 is of colour 1 too
    UseSpheres({2});
    EXPECT_EQ(BonusRemoveColor(2, 1, 1), 4);
    for (const auto& e : Emitters<TRemoveColorEmiter>()) {
        EXPECT_EQ(board->colorLayer[e->cellX][e->cellY], 2);
        EXPECT_FLOAT_EQ(e->startX, CX(1));
        EXPECT_EQ(e->highlightColor, 2);
        // The tint of colour 2 (40, 200, 40) with a jitter of at most 20.
        EXPECT_NEAR(e->green, 200, 20);
        EXPECT_NEAR(e->red, 40, 20);
    }
    RunEffects();
    EXPECT_EQ(RuneCount(), 4);
    EXPECT_FLOAT_EQ(magicSphere->sphereFill[0], 4.0f);
}

TEST_F(SpellActionTest, DrainWithoutAColourOrWithAnAbsentOneTargetsNothing) {
    SetBoard({"1 . .", "# . 2"});
    for (int colour : {0, 3}) {
        const int before = plat::RndSeed();
        EXPECT_EQ(BonusRemoveColor(colour, 0, 0), 0) << colour;
        EXPECT_TRUE(volcanoList->IsEmpty()) << colour;
        EXPECT_NE(plat::RndSeed(), before) << "the tint is still drawn";
    }
}

// ---- heal ---------------------------------------------------------------------------

TEST_F(SpellActionTest, HealTurnsEveryStoneBack) {
    SetBoard({"11 1 12", ". 13 3"});
    blocks->availableRazod = {"3", "2", "99"};  // only rune 2 has a stone form we know
    EXPECT_EQ(BonusHeal(), 0);
    EXPECT_EQ(Emitters<THealEmiter>().size(), 3u);
    plat::testing::AdvanceTime(5000);
    RunEffects();
    EXPECT_EQ(board->runeLayer[0][0], 1);
    EXPECT_EQ(board->colorLayer[0][0], 1);
    EXPECT_EQ(board->runeLayer[2][0], 2);
    EXPECT_EQ(board->runeLayer[1][1], 12);  // rune 13 becomes a stone of the level's runes
    EXPECT_EQ(board->colorLayer[1][1], 2);
    EXPECT_EQ(board->placeTimeLayer[0][0], plat::MilliSecs());
    EXPECT_EQ(board->runeLayer[1][0], 1);  // plain runes are left alone
    EXPECT_EQ(board->placeTimeLayer[1][0], 0);
}

TEST_F(SpellActionTest, SpecialStoneStaysWhenTheLevelOffersNothingToBecome) {
    for (const std::vector<std::string>& list : {std::vector<std::string>{}, {"99", "3"}}) {
        SetBoard({"13 1"});
        blocks->availableRazod = list;
        BonusHeal();
        RunEffects();
        EXPECT_EQ(board->runeLayer[0][0], 13);
        EXPECT_EQ(board->colorLayer[0][0], 9);
    }
}

TEST_F(SpellActionTest, HealWithoutStonesMakesNoEffect) {
    SetBoard({"1 2 3"});
    BonusHeal();
    EXPECT_TRUE(volcanoList->IsEmpty());
}

}  // namespace
