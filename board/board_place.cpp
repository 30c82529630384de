// Putting the held block down: the fit test over its 16 cells, the real and
// the trial placement, the match preview at the mouse, the per-frame update
// and the game-over search.
#include "board/board.h"
#include "board/board_rules.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/timer.h"
#include "level/level.h"
#include "platform/time.h"

TPlayLinks playLinks;

namespace {

// Whether every cell of the block fits at anchor (x, y) turned r quarters.
// All 16 tests run: the bosses are asked about every cell on the grid.
bool BlockFits(TBoardManager& b, const TBlockPtr& block, int x, int y, int r) {
    bool fits = true;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            int dx, dy;
            RotationOffset(r, i, j, dx, dy);
            if (b._checkMove(block, x, y, dx, dy, i, j) == 0) fits = false;
        }
    return fits;
}

}  // namespace

int TBoardManager::placeBlock(const TBlockPtr& given, int x, int y, int commit) {
    const int now = plat::MilliSecs();
    TBlockPtr block = given;
    if (!block) block = blocks->heldBlock;
    if (!block) return 0;
    if (x == -1) {
        x = blocks->getXR(0);
        y = blocks->getYR(0);
    }
    // The held block's turn applies to whichever block is placed.
    const int r = blocks->curRotation;
    if (!BlockFits(*this, block, x, y, r)) {
        if (commit != 0) playSound2(cannotPlaceSound, nullptr, 0);
        return 0;
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            if (block->cells[i][j] <= 0) continue;
            int dx, dy;
            RotationOffset(r, i, j, dx, dy);
            const int tx = x + dx, ty = y + dy;
            runeLayer[tx][ty] = block->cells[i][j];
            colorLayer[tx][ty] = block->colors[i][j];
            placeTimeLayer[tx][ty] = now;
        }
    if (commit == 0) return 1;
    blocks->heldBlock = nullptr;
    playSound2(placeSound, nullptr, 0);
    level->countBlockUsed();
    return 1;
}

int TBoardManager::_checkForHighlights() {
    if (!blocks->heldBlock || blocks->turnProgress != 0) return 0;
    for (auto& column : highlightLayer) column.fill(0);
    const TBoardLayer savedColors = colorLayer;
    const TBoardLayer savedRunes = runeLayer;
    if (placeBlock(nullptr, -1, -1, 0) == 0) return 0;
    bossManager->CheckForMatch(0);
    checkForHorizontalMatch(0);
    checkForVerticalMatch(0);
    colorLayer = savedColors;
    runeLayer = savedRunes;
    return 0;
}

int TBoardManager::Update(int paused) {
    alpha += 0.05f;
    if (alpha > 1.0f) alpha = 1.0f;
    if (blocks->blockChanged != 0) {
        blocks->blockChanged = 0;
        _checkForHighlights();
    }
    _checkForPetrify(paused);
    return 0;
}

int TBoardManager::checkGameOver() {
    if (timeManager->TimeOver() != 0) {
        gameOverFlag = 1;
        return 0;
    }
    if (!blocks->heldBlock) return 0;
    const TBlockPtr block = blocks->heldBlock;
    gameOverFlag = 1;
    for (int r = 0; r < 4; ++r)
        for (int x = 0; x < kBoardCells; ++x)
            for (int y = 0; y < kBoardCells; ++y)
                if (BlockFits(*this, block, x, y, r)) {
                    gameOverFlag = 0;
                    return 0;
                }
    return 0;
}

int TBoardManager::IsEmpty() {
    for (const auto& column : runeLayer)
        for (int v : column)
            if (v != 0) return 0;
    return 1;
}

float TBoardManager::freeCells() {
    float runes = 0.0f, cells = 0.0f;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            if (runeLayer[x][y] != 0) runes += 1.0f;
            if (shapeLayer[x][y] != 0) cells += 1.0f;
        }
    // A board without cells has nothing free (and no division by zero).
    if (cells == 0.0f) return 0.0f;
    return 1.0f - runes / cells;
}
