// The board's small queries: clearing it, measuring the used area, the move
// test of one block cell and whether the mouse is over the board.
#include "board/board.h"

#include "core/mouse.h"
#include "level/bosses.h"
#include "platform/time.h"

std::shared_ptr<TBoardManager> board;

int TBoardManager::clearBoard() {
    for (auto& column : shapeLayer) column.fill(1);
    for (TBoardLayer* layer : {&runeLayer, &colorLayer, &highlightLayer, &petrifyMask, &placeTimeLayer})
        for (auto& column : *layer) column.fill(0);
    alpha = -0.3f;
    scale = 1.0f;
    cellSize = 32;
    petrifying = 0;
    lastPetrifyTime = plat::MilliSecs();
    return 0;
}

int TBoardManager::getWidth() {
    firstUsedColumn = kBoardCells - 1;
    lastUsedColumn = 0;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y)
            if (shapeLayer[x][y] != 0) {
                if (x < firstUsedColumn) firstUsedColumn = x;
                if (x > lastUsedColumn) lastUsedColumn = x;
            }
    usedWidth = firstUsedColumn <= lastUsedColumn ? lastUsedColumn - firstUsedColumn + 1 : 0;
    return usedWidth;
}

int TBoardManager::getHeight() {
    firstUsedRow = kBoardCells - 1;
    lastUsedRow = 0;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y)
            if (shapeLayer[x][y] != 0) {
                if (y < firstUsedRow) firstUsedRow = y;
                if (y > lastUsedRow) lastUsedRow = y;
            }
    usedHeight = firstUsedRow <= lastUsedRow ? lastUsedRow - firstUsedRow + 1 : 0;
    return usedHeight;
}

int TBoardManager::GetMiddleX() {
    getWidth();
    return static_cast<int>((firstUsedColumn + usedWidth / 2.0) * cellSize);
}

int TBoardManager::GetMiddleY() {
    getHeight();
    return static_cast<int>((firstUsedRow + usedHeight / 2.0) * cellSize);
}

int TBoardManager::_checkMove(const TBlockPtr& block, int x, int y, int dx, int dy, int i, int j) {
    if (!block || block->cells[i][j] <= 0) return 1;
    const int tx = x + dx, ty = y + dy;
    if (!OnGrid(tx, ty)) return 0;
    // The bosses are asked for every cell on the grid, also one the other
    // tests refuse.
    const int boss = bossManager->CheckMove(tx, ty);
    return shapeLayer[tx][ty] != 0 && runeLayer[tx][ty] <= 0 && boss == 0 ? 1 : 0;
}

int TBoardManager::MouseOnBoard() {
    const int c = (mouse->x
 - originX) / cellSize;
    const int r = (mouse->y - originY) / cellSize;
    if (!OnGrid(c, r)) return 0;
    static constexpr int kAround[5][2] = {{0, 0}, {0, -1}, {0, 1}, {-1, 0}, {1, 0}};
    for (const auto& d : kAround) {
        const int x = c + d[0], y = r + d[1];
        if (OnGrid(x, y) && shapeLayer[x][y] != 0) return 1;
    }
    return 0;
}
