// The grid: the scramble, a frame of play (flights, clicks, swaps), the home
// map, and the shadow outline it draws around the pieces at home.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "puzzle_test_util.h"

namespace {

namespace pt = plat::testing;

// ---- the scramble ----------------------------------------------------------------------------------

struct ScrambleCase {
    int columns, rows, seed;
};

class Scramble : public PuzzleTest, public ::testing::WithParamInterface<ScrambleCase> {};

TEST_P(Scramble, LeavesNoPieceHomeAndEveryPieceOnASlotOfItsOwn) {
    const ScrambleCase c = GetParam();
    puzzle->Create("", c.columns, c.rows);
    plat::SeedRnd(c.seed);
    const int before = pt::FlipCount();
    const int start = plat::MilliSecs();
    // The picture shows whole until 50 ms have passed: no piece moves before.
    int swapsBefore50 = 0;
    pt::OnFlip([&](int) {
        if (plat::MilliSecs() - start < 50 && puzzle->grid->IsSet() == 0) ++swapsBefore50;
    });
    ASSERT_EQ(Grid().Scramble(nullptr), 0);
    EXPECT_GT(pt::FlipCount(), before);
    EXPECT_EQ(swapsBefore50, 0);
    EXPECT_EQ(Grid().IsScrambled(), 1);
    EXPECT_EQ(Grid().IsSet(), 0);
    EXPECT_TRUE(IsPermutation(Slots()));
    for (const auto& p : Grid().pieces) {
        EXPECT_NE(p->slot, p->id);
        EXPECT_EQ(p->targetSlot, p->slot) << "nothing flies";
        EXPECT_EQ(p->area->x, Grid().SlotLeft(p->slot));
        EXPECT_EQ(p->area->y, Grid().SlotTop(p->slot));
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, Scramble,
                         ::testing::Values(ScrambleCase{2, 1, 1}, ScrambleCase{1, 2, 77}, ScrambleCase{3, 2, 5},
                                           ScrambleCase{8, 6, 1234}, ScrambleCase{10, 10, 99}));

TEST_F(PuzzleTest, IsSetAndIsScrambledOnAnEmptyGridAndWithOnePieceHome) {
    EXPECT_EQ(Grid().IsSet(), 1);
    EXPECT_EQ(Grid().IsScrambled(), 1);
    puzzle->Create("", 3, 2);
    EXPECT_EQ(Grid().IsSet(), 1);
    EXPECT_EQ(Grid().IsScrambled(), 0);
    for (int k = 0; k < 6; ++k) puzzle->RestorePiece(k, (k + 1) % 6);
    EXPECT_EQ(Grid().IsScrambled(), 1);
    puzzle->RestorePiece(0, 0);
    puzzle->RestorePiece(5, 1);
    EXPECT_EQ(Grid().IsScrambled(), 0) << "one piece home is enough";
    EXPECT_EQ(Grid().IsSet(), 0);
}

// ---- a frame of play ----------------------------------------------------------------------------------

class GridPlay : public PuzzleTest {
protected:
    // 3 x 2; every piece one slot further on, so none is home.
    void SetUp() override {
        PuzzleTest::SetUp();
        puzzle->Create("", 3, 2);
        for (int k = 0; k < 6; ++k) puzzle->RestorePiece(k, (k + 1) % 6);
        puzzle->clicks = 0;
    }
    int Frame() {
        mouse->fetchState();
        return Grid().State();
    }
};

TEST_F(GridPlay, TwoClicksSwapThePiecesAndTheFirstInListOrderBowsToPlusOne) {
    ClickPiece(Piece(4));  // stands on slot 5
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Piece(4).selected, 1);
    ClickPiece(Piece(0));  // stands on slot 1: another row and column
    EXPECT_EQ(Frame(), 1) << "the frame a swap starts";
    EXPECT_EQ(puzzle->clicks, 2);
    EXPECT_EQ(Piece(0).targetSlot, 5);
    EXPECT_EQ(Piece(4).targetSlot, 1);
    EXPECT_EQ(Piece(0).selected + Piece(4).selected, 0);
    // Piece 0, first in the list though clicked second, bows to +1: right.
    EXPECT_EQ(Piece(0).p1x, Piece(0).p0x + 150);
    EXPECT_EQ(Piece(4).p1x, Piece(4).p0x - 150);

    // A click while they fly is lost: no count, no selection.
    ClickPiece(Piece(2));
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(puzzle->clicks, 2);
    EXPECT_EQ(Piece(2).selected, 0);
    for (int f = 2; f <= 25; ++f) EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Piece(0).slot, 5);
    EXPECT_EQ(Piece(4).slot, 1);
    EXPECT_EQ(Piece(0).IsFlying() + Piece(4).IsFlying(), 0);
    EXPECT_EQ(Piece(0).active, 1) << "landed away from home";
}

TEST_F(GridPlay, PiecesLandingHomeAreLockedWithTheirOwnBurstAndTheirSlotsLightTheMap) {
    // Pairs on each other's home: 0-1, 2-3, 4-5.
    for (int k = 0; k < 6; ++k) puzzle->RestorePiece(k, k ^ 1);
    TSpark::destroyAll();
    ClickPiece(Piece(2));
    Frame();
    ClickPiece(Piece(3));
    ASSERT_EQ(Frame(), 1);
    plat::testing::SetMouse(0, 0);
    for (int f = 0; f < 25; ++f) Frame();
    EXPECT_EQ(Piece(2).active, 0);
    EXPECT_EQ(Piece(3).active, 0);
    EXPECT_EQ(SparkList->Count(), 2 * 101);
    Grid().doMatrix();
    Grid().doMatrix();  // twice gives the same map
    int lit = 0;
    for (const auto& column : Grid().matrix)
        for (int cell : column) lit += cell;
    EXPECT_EQ(lit, 2);
    EXPECT_EQ(Grid().matrix[3][1], 1) << "slot 2: column 2, row 0";
    EXPECT_EQ(Grid().matrix[1][2], 1) << "slot 3: column 0, row 1";
    // A click on a locked piece: no sound, no count, no mark.
    ClickPiece(Piece(2));
    Frame();
    EXPECT_EQ(puzzle->clicks, 2);
    EXPECT_EQ(Piece(2).selected, 0);

    Grid().Clear();
    EXPECT_TRUE(Grid().pieces.empty());
    for (const auto& column : Grid().matrix)
        for (int cell : column) EXPECT_EQ(cell, 0);
}

TEST_F(GridPlay, AClickOnTheTopLeftPieceCountsAndASecondClickDeselects) {
    ClickPiece(Piece(5));  // piece 5 stands on slot 0, the top-left corner
    Frame();
    EXPECT_EQ(puzzle->clicks, 1);
    EXPECT_EQ(Piece(5).selected, 1);
    ClickPiece(Piece(5));
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(puzzle->clicks, 2);
    EXPECT_EQ(Piece(5).selected, 0);
}

TEST_F(PuzzleTest, TheSoundsLoadOnceOverManyPuzzles) {
    Grid().loadSfx();
    const auto first = Grid().sounds;
    Grid().loadSfx();
    EXPECT_EQ(Grid().sounds, first);
}

// ---- the shadow outline ---------------------------------------------------------------------------

struct Shadow {
    int index;
    float x, y, sx, sy;
    bool operator<(const Shadow& o) const {
        return std::tie(index, x, y, sx, sy) < std::tie(o.index, o.x, o.y, o.sx, o.sy);
    }
    bool operator==(const Shadow& o) const { return !(*this < o) && !(o < *this); }
};

std::ostream& operator<<(std::ostream& os, const Shadow& s) {
    return os << "{" << s.index << " at " << s.x << "," << s.y << " scale " << s.sx << "," << s.sy << "}";
}

class ShadowOutline : public PuzzleTest {
protected:
    // A 4 x 4 board without pieces (167 x 123 cells at 65, 53) and the
    // given home cells (1-based column, row).
    std::multiset<Shadow> Draw(const std::vector<std::pair<int, int>>& home) {
        TPuzzleGrid& g = Grid();
        g.area = CreateDim(65, 53, 670, 494, 0, 1, 1, 0);
        g.columns = g.rows = 4;
        g.pieceWidth = 167;
        g.pieceHeight = 123;
        for (auto [x, y] : home) g.matrix[static_cast<size_t>(x)][static_cast<size_t>(y)] = 1;
        pt::ClearDrawCalls();
        g.Draw();
        std::multiset<Shadow> out;
        for (const auto& call : pt::DrawCalls()) {
            if (call.kind != pt::DrawCall::IMAGE) continue;
            for (int i = 0; i < 8; ++i)
                if (call.image == g.shadows[static_cast<size_t>(i)].get())
                    out.insert({i, call.x, call.y, call.sx, call.sy});
        }
        return out;
    }
    static constexpr float kW = 167.0f / 82, kH = 123.0f / 82;
};

TEST_F(ShadowOutline, ALoneHomeCellGetsFourEdgesAndFourCorners) {
    const auto drawn = Draw({{2, 3}});
    const std::multiset<Shadow> expected = {
        {4, 232, 299, 1, kH},  {6, 392, 299, 1, kH}, {5, 232, 299, kW, 1}, {7, 232, 415, kW, 1},
        {0, 232, 299, 1, 1},   {1, 392, 299, 1, 1},  {2, 232, 415, 1, 1},  {3, 392, 415, 1, 1}};
    EXPECT_EQ(drawn, expected);
}

TEST_F(ShadowOutline, NoHomeCellDrawsNoShadowAndTheWholePictureOneOutline) {
    EXPECT_TRUE(Draw({}).empty());
    std::vector<std::pair<int, int>> all;
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 4; ++x) all.emplace_back(x, y);
    const auto drawn = Draw(all);
    int edges = 0, corners = 0;
    for (const Shadow& s : drawn) (s.index >= 4 ? edges : corners) += 1;
    EXPECT_EQ(edges, 16) << "four cells a side, no edge inside";
    EXPECT_EQ(corners, 4);
    EXPECT_EQ(drawn.count({0, 65, 53, 1, 1}), 1u);
    EXPECT_EQ(drawn.count({3, 65 + 4 * 167 - 7, 53 + 4 * 123 - 7, 1, 1}), 1u);
}

TEST_F(ShadowOutline, AnLGetsAnInnerCornerAndADiagonalPairNone) {
    // (2,2), (3,2), (2,3): the open cell (3,3) gets an inner corner at the
    // bottom-right of (2,2), and (2,2) no right or lower edge.
    const auto l = Draw({{2, 2}, {3, 2}, {2, 3}});
    const float right = 65 + 2 * 167, bottom = 53 + 2 * 123;
    EXPECT_EQ(l.count({3, right - 7, bottom - 7, 1, 1}), 1u);
    EXPECT_EQ(l.count({6, right - 7, 53 + 123, 1, kH}), 0u);
    EXPECT_EQ(l.count({7, 65 + 167, bottom - 7, kW, 1}), 0u);

    Grid().matrix = {};
    const auto diagonal = Draw({{1, 1}, {2, 2}});
    EXPECT_EQ(diagonal.size(), 16u) << "two full outlines, nothing between them";
}

TEST_F(ShadowOutline, ACellOnTheLastColumnAndRowOfATenByTenGridReadsTheEmptyMargin) {
    TPuzzleGrid& g = Grid();
    g.area = CreateDim(65, 53, 670, 494, 0, 1, 1, 0);
    g.columns = g.rows = 10;
    g.pieceWidth = 67;
    g.pieceHeight = 49;
    g.matrix[10][10] = 1;
    pt::ClearDrawCalls();
    g.Draw();
    int shadows = 0;
    for (const auto& call : pt::DrawCalls())
        for (const auto& s : g.shadows)
            if (call.image == s.get()) ++shadows;
    EXPECT_EQ(shadows, 8);
}

}  // namespace
