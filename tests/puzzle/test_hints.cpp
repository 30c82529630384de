// Hints: the start hint's placing of two pieces, a hint asked for, and the
// sparks over the two hinted pieces.
#include <gtest/gtest.h>

#include "platform/graphics.h"
#include "puzzle_test_util.h"

namespace {

class HintTest : public PuzzleTest {
protected:
    // 3 x 2, pieces placed by `slots` (the slot of each piece in list order).
    void Place(const std::vector<int>& slots) {
        puzzle->Create("", 3, 2);
        for (size_t k = 0; k < slots.size(); ++k) puzzle->RestorePiece(static_cast<int>(k), slots[k]);
    }
    THints hints;
};

struct StartCase {
    std::vector<int> before;
    int first, second;
    std::vector<int> after;
};

class StartHint : public HintTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartHint, LaysEachOfTheTwoPiecesOnTheOthersHome) {
    const StartCase c = GetParam();
    Place(c.before);
    hints.show(Grid(), 1, c.first, c.second);
    EXPECT_EQ(Slots(), c.after);
    EXPECT_TRUE(IsPermutation(Slots()));
    EXPECT_EQ(hints.showing, 1);
    for (const auto& p : Grid().pieces) {
        EXPECT_EQ(p->targetSlot, p->slot) << "nothing flies";
        EXPECT_EQ(p->area->x, Grid().SlotLeft(p->slot));
    }
    EXPECT_EQ(hints.firstX, static_cast<int>(Piece(c.first).area->x));
    EXPECT_EQ(hints.secondY, static_cast<int>(Piece(c.second).area->y));
    EXPECT_EQ(hints.rectWidth, 223);
    EXPECT_EQ(hints.rectHeight, 247);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartHint,
    ::testing::Values(
        // A on B's home and B on A's home; the pieces that lay there take their slots.
        StartCase{{1, 2, 0, 4, 5, 3}, 0, 4, {4, 2, 5, 1, 0, 3}},
        // The same piece twice: nothing moves.
        StartCase{{1, 2, 0, 4, 5, 3}, 2, 2, {1, 2, 0, 4, 5, 3}},
        // B already on A's home: B stays, A and the piece on B's home trade.
        StartCase{{3, 0, 1, 2, 5, 4}, 0, 1, {1, 0, 3, 2, 5, 4}}));

TEST_F(HintTest, AStartHintNamingNoPieceIsSkipped) {
    Place({1, 2, 0, 4, 5, 3});
    for (auto [a, b] : {std::pair{0, 6}, std::pair{-1, 2}, std::pair{7, 0}}) {
        hints.show(Grid(), 1, a, b);
        EXPECT_EQ(hints.showing, 0) << a << ", " << b;
        EXPECT_EQ(Slots(), (std::vector<int>{1, 2, 0, 4, 5, 3}));
    }
}

TEST_F(HintTest, AskedForItPointsAtAMisplacedPieceAndThePieceOfItsSlot) {
    // Only 1 and 4 are away, each on the other's home.
    Place({0, 4, 2, 3, 1, 5});
    for (int seed = 1; seed <= 8; ++seed) {
        plat::SeedRnd(seed);
        THints h;
        h.show(Grid(), 0, 0, 0);
        ASSERT_EQ(h.showing, 1);
        const bool onePicked = h.firstX == static_cast<int>(Piece(1).area->x) &&
                               h.firstY == static_cast<int>(Piece(1).area->y);
        const int a = onePicked ? 1 : 4;
        const int b = a == 1 ? 4 : 1;
        EXPECT_EQ(h.firstX, static_cast<int>(Piece(a).area->x));
        EXPECT_EQ(h.firstY, static_cast<int>(Piece(a).area->y));
        EXPECT_EQ(h.secondX, static_cast<int>(Piece(b).area->x));
        EXPECT_EQ(h.secondY, static_cast<int>(Piece(b).area->y));
    }
}

TEST_F(HintTest, WhileShownOrWithEveryPieceHomeNothingChanges) {
    Place({1, 2, 0, 4, 5, 3});
    hints.show(Grid(), 0, 0, 0);
    const THints shown = hints;
    for (int i = 0; i < 5; ++i) hints.show(Grid(), 0, 0, 0);
    EXPECT_EQ(hints.firstX, shown.firstX);
    EXPECT_EQ(hints.secondY, shown.secondY);
    hints.Hide();
    EXPECT_EQ(hints.showing, 0);

    Place({0, 1, 2, 3, 4, 5});
    THints none;
    none.show(Grid(), 0, 0, 0);
    EXPECT_EQ(none.showing, 0);
    none.show(Grid(), 1, 0, 1);
    EXPECT_EQ(none.showing, 0);
}

TEST_F(HintTest, UpdateSparklesTwiceAFrameInsideTheTwoRectanglesAndNothingWhileHidden) {
    Place({1, 2, 0, 4, 5, 3});
    TSpark::destroyAll();
    plat::SetBlend(2);
    hints.Update();
    EXPECT_EQ(SparkList->Count(), 0);
    EXPECT_EQ(plat::GetBlend(), 2) << "hidden: the blend is left as it was";
    hints.show(Grid(), 1, 0, 4);
    for (int f = 0; f < 50; ++f) hints.Update();
    ASSERT_EQ(SparkList->Count(), 100);
    int inFirst = 0, inSecond = 0;
    for (const TSparkPtr& s : *SparkList) {
        const bool first = s->x >= hints.firstX && s->x <= hints.firstX + 178 && s->y >= hints.firstY &&
                           s->y <= hints.firstY + 197;
        const bool second = s->x >= hints.secondX && s->x <= hints.secondX + 178 && s->y >= hints.secondY &&
                            s->y <= hints.secondY + 197;
        EXPECT_TRUE(first || second) << s->x << ", " << s->y;
        inFirst += first ? 1 : 0;
        inSecond += second ? 1 : 0;
        EXPECT_EQ(s->blend, 1);
        EXPECT_EQ(s->fadeMode, 1);
        EXPECT_GE(s->maxLife, 50);
        EXPECT_LE(s->maxLife, 100);
    }
    EXPECT_EQ(inFirst, 50);
    EXPECT_EQ(inSecond, 50);
    EXPECT_EQ(hints.lastSpark, SparkList->First());
}

}  // namespace
