// The held block: dealing, forming in, following the mouse cell by cell,
// quarter turns, drawing, the next-block box, the spark trail and the freeze.
//
// Index: mouse to cell · dealing · turning · per-frame update · drawing ·
//        next-block box · spark trail · freeze
#include <algorithm>
#include <cmath>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/sound.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/angles.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "platform/time.h"

// ---- mouse to cell ------------------------------------------------------------------

int TBlocksManager::getXR(int x) {
    if (x == 0) x = plat::MouseX();
    return (x - board->originX) / board->cellSize;
}

int TBlocksManager::getYR(int y) {
    if (y == 0) y = plat::MouseY();
    return (y - board->originY) / board->cellSize;
}

int TBlocksManager::getX(int x) { return getXR(x) * board->cellSize + board->originX; }

int TBlocksManager::getY(int y) { return getYR(y) * board->cellSize + board->originY; }

// ---- dealing ----------------------------------------------------------------------------

int TBlocksManager::buildNextBlock() {
    heldBlock = nextBlock ? nextBlock : _buildNextBlock();
    nextBlock = _buildNextBlock();
    GetNextBlockWH();
    return 0;
}

TBlockPtr TBlocksManager::_buildNextBlock() {
    blockChanged = 1;
    cellX = getXR(0);
    cellY = getYR(0);
    auto block = std::make_shared<TBlock>();
    targetRotation = curRotation = turnAngle = turnProgress = 0;
    fadeAlpha = 0.0f;
    blockReady = 0;
    formFrames = 0;

    // A level that cannot deal is a broken data file: say so instead of
    // reading outside the lists.
    if (availableRazod.empty() || availableBlocks.empty())
        plat::RuntimeError("Cannot deal a block: " + availabilityProblem());
    const std::string& shapeId =
        availableBlocks[static_cast<size_t>(plat::Rand(0, static_cast<int>(availableBlocks.size()) - 1))];
    const TBlockPtr shape = _findBlockByID(shapeId);
    if (!shape) plat::RuntimeError("Cannot deal a block: the available block \"" + shapeId + "\" is not in blocks.tsc");

    int lastRune = 0;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            if (shape->cells[column][row] == 0) continue;
            const std::string& runeId =
                availableRazod[static_cast<size_t>(plat::Rand(0, static_cast<int>(availableRazod.size()) - 1))];
            block->cells[column][row] = plat::ToInt(runeId);
            block->colors[column][row] = razod->getRuneColor(runeId);
            lastRune = block->cells[column][row];
        }
    lastRazod[2] = lastRazod[1];
    lastRazod[1] = lastRazod[0];
    lastRazod[0] = lastRune;
    return block;
}

int TBlocksManager::GetNextBlockWH() {
    int widest = 0, tallest = 0;
    if (nextBlock) {
        for (int row = 0; row < 4; ++row) {
            int n = 0;
            for (int column = 0; column < 4; ++column) n += nextBlock->cells[column][row] != 0;
            widest = std::max(widest, n);
        }
        for (int column = 0; column < 4; ++column) {
            int n = 0;
            for (int row = 0; row < 4; ++row) n += nextBlock->cells[column][row] != 0;
            tallest = std::max(tallest, n);
        }
    }
    nextBlockW = static_cast<float>(widest);
    nextBlockH = static_cast<float>(tallest);
    return 0;
}

// ---- turning --------------------------------------------------------------------------

int TBlocksManager::rotateBlock(int dir) {
    targetRotation = curRotation + dir;
    if (targetRotation < 0) targetRotation = 3;
    if (targetRotation > 3) targetRotation = 0;
    // Only the first request of a turn is heard; curRotation has not moved
    // yet, so further requests aim at the same quarter.
    if (turnProgress == 0) rotateChannel = playSound2(rotateSound, rotateChannel, 1);
    return 0;
}

// ---- per-frame update ------------------------------------------------------------------

void TBlocksManager::_computeFits(int x, int y) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            int dx, dy;
            RotationOffset(curRotation, i, j, dx, dy);
            heldBlock->fits[i][j] = board->_checkMove(heldBlock, x, y, dx, dy, i, j) != 0 ? 1 : 0;
        }
}

int TBlocksManager::updateBlock(int x, int y) {
    if (x == -1) {
        x = getXR(0);
        y = getYR(0);
    }
    if (blockReady != 0 && heldBlock) {
        if (x != cellX || y != cellY) {
            if (board->MouseOnBoard() != 0) _doParticles();
            cellX = x;
            cellY = y;
            blockChanged = 1;
        }
        _computeFits(x, y);
    }

    if (targetRotation != curRotation) {
        turnProgress = plat::TruncToInt(turnProgress + 6.0 * delta);
        turnAngle = plat::TruncToInt(turnAngle + 6.0 * delta);
        if (turnAngle > 360) turnAngle -= 360;
        if (turnAngle < 0) turnAngle += 360;
        if (turnProgress > 89) {
            turnProgress = 0;
            curRotation = targetRotation;
            turnAngle = 90 * targetRotation;
            blockChanged = 1;
        }
    }

    if (blockReady == 0) {
        formFrames += 1;
        fadeAlpha = std::min(fadeAlpha + 1.0f / 15.0f, 1.0f);
        if (formFrames > 15) {
            formFrames = 0;
            blockReady = 1;
            // The block is drawn ready from this frame on: its fit marks must
            // be right already, or it shows one frame as "cannot place".
            if (heldBlock) _computeFits(x, y);
        }
    }
    return 0;
}

// ---- drawing ------------------------------------------------------------------------------

int TBlocksManager::drawBlock(float x, float y) {
    if (x == 0.0f && y == 0.0f) {
        x = static_cast<float>(getX(0));
        y = static_cast<float>(getY(0));
    }
    if (board->MouseOnBoard() == 0) return 0;
    glow += glowStep;
    if (glow > 0.3f) glowStep = -0.025f;
    if (!(glow > 0.0f)) glowStep = 0.025f;
    if (!heldBlock) return 0;
    if (blockReady == 0) _formBlock(x, y);
    else _drawBlock(x, y);
    return 0;
}

int TBlocksManager::_formBlock(float x, float y) {
    const int k = 15 - formFrames;
    const int cell = board->cellSize;
    plat::SetBlend(3);
    plat::SetAlpha(fadeAlpha);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const int rune = heldBlock->cells[i][j];
            if (rune == 0) continue;
            const float s = 1.0f + static_cast<float>(k) / 15.0f;
            plat::SetScale(s, s);
            const float px = x + static_cast<float>(i * cell) + static_cast<float>((70 * i + 60) * k) / 15.0f;
            const float py = y + static_cast<float>(j * cell) + static_cast<float>((70 * j + 40) * k) / 15.0f;
            razod->Draw(rune, px, plat::TruncToInt(py));
            plat::SetScale(1, 1);
        }
    plat::SetAlpha(1);
    return 0;
}

int TBlocksManager::_drawBlock(float x, float y) {
    const int cell = board->cellSize;
    const bool turning = targetRotation != curRotation;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const int rune = heldBlock->cells[i][j];
            if (rune == 0) continue;
            const bool fits = heldBlock->fits[i][j] != 0;
            const float offX = fits ? 0.0f : 5.0f;
            const float offY = fits ? 0.0f : 6.0f;
            if (fits) plat::SetScale(1, 1);
            else plat::SetScale(0.7f, 0.7f);
            int px, py;
            if (turning) {
                // The block turns about the pixel corner of its anchor cell.
                const double radius = std::sqrt(static_cast<double>(i * i + j * j)) * cell;
                const double angle = turnAngle + plat::ATan2(j, i);
                px = plat::TruncToInt(x + radius * plat::Cos(angle) + offX);
                py = plat::TruncToInt(y + radius * plat::Sin(angle) + offY);
            } else {
                int dx, dy;
                RotationOffset(curRotation, i, j, dx, dy);
                px = plat::TruncToInt(x + static_cast<float>(dx * cell) + offX);
                py = plat::TruncToInt(y + static_cast<float>(dy * cell) + offY);
            }
            _drawRune(rune, px, py, fits ? 0 : 1);
        }
    plat::SetScale(1, 1);
    return 0;
}

int TBlocksManager::_drawRune(int rune, int x, int y, int shaded) {
    plat::SetBlend(3);
    plat::SetAlpha(fadeAlpha);
    if (shaded != 0) plat::SetColor(190, 190, 190);
    else plat::SetColor(255, 255, 255);
    razod->Draw(rune, static_cast<float>(x), y);
    if (shaded == 0) {
        plat::SetBlend(4);
        plat::SetAlpha(glow);
        razod->Draw(rune, static_cast<float>(x), y);
    }
    return 0;
}

// ---- next-block box -------------------------------------------------------------------------

int TBlocksManager::DrawNextBlock(float x, float y) {
    if (!nextBlock) nextBlock = _buildNextBlock();
    if (nextBlockW == 0.0f && nextBlockH == 0.0f) GetNextBlockWH();
    float s = 0.6f;
    for (int row = 0; row < 4; ++row) {
        bool full = true;
        for (int column = 0; column < 4; ++column) full = full && nextBlock->cells[column][row] != 0;
        if (full) s = 0.5f;
    }
    const int cell = board->cellSize;
    if (cell == 40) s = s / 1.25f;  // the box shows the same pixel size at both cell sizes
    plat::SetScale(s, s);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const int rune = nextBlock->cells[i][j];
            if (rune == 0) continue;
            const float px = x + i * cell * s - nextBlockW * cell * s / 2;
            const float py = y + j * cell * s - nextBlockH * cell * s / 2;
            _drawRune(rune, plat::TruncToInt(px), plat::TruncToInt(py), 0);
        }
    plat::SetScale(1, 1);
    return 0;
}

// ---- spark trail ----------------------------------------------------------------------------

int TBlocksManager::_doParticles() {
    if (!heldBlock) return 0;
    // The direction of the move; the trail's colour class does not use it.
    const int toX = getXR(0), toY = getYR(0);
    const float velX = toX > cellX ? 0.5f : toX < cellX ? -0.5f : 0.0f;
    const float velY = toY > cellY ? 0.5f : toY < cellY ? -0.5f : 0.0f;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            if (heldBlock->cells[i][j] == 0) continue;
            int dx, dy;
            RotationOffset(curRotation, i, j, dx, dy);
            for (int n = 0; n < 5; ++n) razod->particleRune(7, cellX + dx, cellY + dy, velX, velY, 0, 0);
        }
    return 0;
}

// ---- freeze -------------------------------------------------------------------------------------

int TBlocksManager::Freze(int ms) {
    if (IsFreze() == 1 && ToDefreze() > ms) return 0;  // a longer freeze goes on
    freezeStart = plat::MilliSecs();
    freezeLength = ms;
    return 0;
}

int TBlocksManager::IsFreze() {
    if (freezeLength == -1) return 0;
    return plat::MilliSecs() - freezeStart <= freezeLength ? 1 : 0;
}

int TBlocksManager::ToDefreze() { return freezeLength - (plat::MilliSecs() - freezeStart); }
