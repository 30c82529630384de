// The board model: construction, clearing, the used area, the move test of
// one block cell and the mouse over the board.
#include "board/play_test_util.h"

namespace {

// An outline from rows of '#' (board) and '.' (no board), top row first.
void SetShape(std::initializer_list<const char*> rows) {
    for (auto& column : board->shapeLayer) column.fill(0);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x] != 0; ++x) board->shapeLayer[x][y] = row[x] == '#' ? 1 : 0;
        ++y;
    }
}

bool AllCells(const TBoardLayer& layer, int value) {
    for (const auto& column : layer)
        for (int v : column)
            if (v != value) return false;
    return true;
}

using BoardTest = PlayTest;

TEST_F(BoardTest, ANewBoardHasNoOutlineAndTheDefaultPlace) {
    const TBoardManager b;
    EXPECT_EQ(b.cellSize, 32);
    EXPECT_EQ(b.originX, 240);
    EXPECT_EQ(b.originY, 60);
    EXPECT_EQ(b.petrifyInterval, 15000);
    EXPECT_EQ(b.backgroundName, "gfx/bg/deski/deska-1.png");
    EXPECT_FLOAT_EQ(b.alpha, 0.0f);
    EXPECT_FLOAT_EQ(b.scale, 0.0f);
    for (const TBoardLayer* layer : {&b.shapeLayer, &b.runeLayer, &b.colorLayer, &b.highlightLayer, &b.placeTimeLayer,
                                     &b.petrifyMask})
        EXPECT_TRUE(AllCells(*layer, 0));
    EXPECT_TRUE(b.frameElements.empty());
    EXPECT_EQ(b.clearList, nullptr);
    EXPECT_EQ(b.leftRightTiles32[1][0], nullptr);
}

TEST_F(BoardTest, ClearingGivesAFullOutlineAndKeepsThePlace) {
    board->runeLayer[3][4] = 7;
    board->colorLayer[3][4] = 2;
    board->highlightLayer[1][1] = 3;
    board->petrifyMask[2][2] = 1;
    board->placeTimeLayer[3][4] = 55;
    board->petrifying = 1;
    board->cellSize = 40;
    board->originX = 111;
    board->gameOverFlag = 1;
    board->frameElements.push_back(TFrameElement{});
    plat::testing::AdvanceTime(1234);
    board->clearBoard();
    EXPECT_TRUE(AllCells(board->shapeLayer, 1));
    for (const TBoardLayer* layer :
         {&board->runeLayer, &board->colorLayer, &board->highlightLayer, &board->placeTimeLayer, &board->petrifyMask})
        EXPECT_TRUE(AllCells(*layer, 0));
    EXPECT_FLOAT_EQ(board->alpha, -0.3f);
    EXPECT_FLOAT_EQ(board->scale, 1.0f);
    EXPECT_EQ(board->cellSize, 32);
    EXPECT_EQ(board->petrifying, 0);
    EXPECT_EQ(board->lastPetrifyTime, 1234);
    EXPECT_EQ(board->originX, 111);
    EXPECT_EQ(board->gameOverFlag, 1);
    EXPECT_EQ(board->frameElements.size(), 1u);
}

TEST_F(BoardTest, TheUsedAreaAndItsMiddle) {
    struct Case {
        const char* what;
        std::function<void()> shape;
        int cellSize;
        int firstColumn, lastColumn, width, firstRow, lastRow, height, middleX, middleY;
    } cases[] = {
        {"no cell", [] { SetShape({}); }, 32, 14, 0, 0, 14, 0, 0, 448, 448},
        {"full", [] { board->clearBoard(); }, 32, 0, 14, 15, 0, 14, 15, 240, 240},
        {"columns 1-11, rows 1-10", [] {
             SetShape({});
             for (int x = 1; x <= 11; ++x)
                 for (int y = 1; y <= 10; ++y) board->shapeLayer[x][y] = 1;
         }, 40, 1, 11, 11, 1, 10, 10, 260, 240},
        {"columns 2-12 with a hole", [] {
             SetShape({"..#####.#####", "..#.........#"});
         }, 32, 2, 12, 11, 0, 1, 2, 240, 32},
        {"a negative value counts", [] {
             SetShape({});
             board->shapeLayer[7][9] = -1;
         }, 32, 7, 7, 1, 9, 9, 1, 240, 304},
    };
    for (const Case& c : cases) {
        c.shape();
        board->cellSize = c.cellSize;
        EXPECT_EQ(board->getWidth(), c.width) << c.what;
        EXPECT_EQ(board->getHeight(), c.height) << c.what;
        EXPECT_EQ(board->firstUsedColumn, c.firstColumn) << c.what;
        EXPECT_EQ(board->lastUsedColumn, c.lastColumn) << c.what;
        EXPECT_EQ(board->firstUsedRow, c.firstRow) << c.what;
        EXPECT_EQ(board->lastUsedRow, c.lastRow) << c.what;
        EXPECT_EQ(board->GetMiddleX(), c.middleX) << c.what;
        EXPECT_EQ(board->GetMiddleY(), c.middleY) << c.what;
    }
}

TEST_F(BoardTest, TheMoveTestOfOneBlockCell) {
    auto block = std::make_shared<TBlock>();
    block->cells[1][2] = 5;
    block->cells[0][0] = -2;  // 0 or less: an empty block cell
    struct Case {
        const char* what;
        int x, y, dx, dy, i, j;
        std::function<void()> arrange;
        int fits;
    } cases[] = {
        {"free board cell", 3, 3, 1, 2, 1, 2, [] {}, 1},
        {"empty block cell anywhere", 99, 99, 0, 0, 0, 0, [] {}, 1},
        {"empty block cell, zero", -5, 0, 0, 0, 3, 3, [] {}, 1},
        {"left of the grid", 0, 3, -1, 0, 1, 2, [] {}, 0},
        {"below the grid", 3, 13, 0, 2, 1, 2, [] {}, 0},
        {"column 15", 14, 0, 1, 0, 1, 2, [] {}, 0},
        {"not a board cell", 3, 3, 1, 2, 1, 2, [] { board->shapeLayer[4][5] = 0; }, 0},
        {"a negative outline value is a board cell", 3, 3, 1, 2, 1, 2, [] { board->shapeLayer[4][5] = -4; }, 1},
        {"holds a rune", 3, 3, 1, 2, 1, 2, [] { board->runeLayer[4][5] = 1; }, 0},
        {"holds a cleared rune", 3, 3, 1, 2, 1, 2, [] { board->runeLayer[4][5] = -1; }, 1},
        {"covered by a boss", 3, 3, 1, 2, 1, 2,
         [] { PutBoss(4, 5); }, 0},
        {"the lower right cell of a boss", 3, 3, 1, 2, 1, 2, [] { PutBoss(3, 4); }, 0},
        {"a boss elsewhere", 3, 3, 1, 2, 1, 2,
         [] { PutBoss(5, 5); }, 1},
        {"a beaten boss is gone", 3, 3, 1, 2, 1, 2, [] { PutBoss(4, 5)->active = 0; }, 1},
    };
    for (const Case& c : cases) {
        board->clearBoard();
        bossManager = std::make_shared<TBossManager>();
        c.arrange();
        EXPECT_EQ(board->_checkMove(block, c.x, c.y, c.dx, c.dy, c.i, c.j), c.fits) << c.what;
    }

    // A boss reaching past the grid's edge: targets off the grid are refused
    // as such, and an empty block cell fits whatever lies under it.
    board->clearBoard();
    bossManager = std::make_shared<TBossManager>();
    PutBoss(14, 3);
    EXPECT_EQ(board->_checkMove(block, 13, 3, 1, 0, 1, 2), 0);
    EXPECT_EQ(board->_checkMove(block, 14, 3, 1, 0, 1, 2), 0);
    EXPECT_EQ(board->_checkMove(block, 13, 3, 1, 0, 0, 0), 1);
}

TEST_F(BoardTest, TheMouseCountsOverOrBesideABoardCell) {
    SetShape({"....", "..#.", "....", "...."});
    struct Case {
        int x, y, on;
    } cases[] = {
        {240 + 2 * 32 + 5, 60 + 1 * 32 + 5, 1},  // on the cell
        {240 + 1 * 32 + 5, 60 + 1 * 32 + 5, 1},  // left neighbour
        {240 + 2 * 32 + 5, 60 + 2 * 32 + 5, 1},  // below
        {240 + 1 * 32 + 5, 60 + 2 * 32 + 5, 0},  // diagonal
        {240 + 2 * 32 + 5, 60 + 3 * 32 + 5, 0},  // two below
        {240 - 20, 60 + 5, 0},                   // column 0 by truncation, no board near
        {240 + 15 * 32 + 1, 60, 0},              // column 15
        {240 + 5, 60 - 40, 0},                   // row -1
    };
    for (const Case& c : cases) {
        PointAt(c.x, c.y);
        EXPECT_EQ(board->MouseOnBoard(), c.on) << c.x << ", " << c.y;
    }
    // Less than a cell left of the grid still maps to column 0.
    SetShape({"#"});
    PointAt(240 - 20, 60 + 5);
    EXPECT_EQ(board->MouseOnBoard(), 1);
    // The sampled state counts, not the pointer now.
    plat::testing::SetMouse(700, 500);
    EXPECT_EQ(board->MouseOnBoard(), 1);
}

}  // namespace
