// Drawing the board: its picture, the bosses' marks, shadows and runes with
// the stone forms fading in, the frame, the preview sparks and the stone
// fragments; and the mini board of the level selector.
#include <string>

#include "board/board.h"
#include "board/board_rules.h"
#include "board/stones.h"
#include "level/bosses.h"
#include "pieces/rune.h"
#include "platform/graphics.h"
#include "platform/text.h"

int TBoardManager::Draw(int small) {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(alpha);
    if (boardImage) plat::DrawImage(boardImage, static_cast<float>(originX), static_cast<float>(originY), 0);
    plat::SetBlend(plat::ALPHABLEND);
    bossManager->DrawHelp();
    _drawRazod();
    if (small != 0)
        _drawSmallFrame();
    else
        _drawFrame();
    _drawHighlights();
    TStoneEntity::UpdateAll();
    return 0;
}

int TBoardManager::DrawSmall() {
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(alpha);
    plat::SetScale(scale, scale);
    if (boardImage) plat::DrawImage(boardImage, static_cast<float>(originX), static_cast<float>(originY), 0);
    plat::SetBlend(plat::ALPHABLEND);
    _drawRazod();
    _drawSmallFrame();
    _drawHighlights();
    return 0;
}

int TBoardManager::_drawRazod() {
    plat::SetRotation(0.0f);
    plat::SetScale(scale, scale);
    plat::SetColor(255, 255, 255);
    for (int y = 0; y < kBoardCells; ++y)
        for (int x = 0; x < kBoardCells; ++x) {
            const int rune = runeLayer[x][y];
            if (rune <= 0) continue;
            const int X = originX + x * cellSize, Y = originY + y * cellSize;
            plat::SetAlpha(alpha);
            if (ghostImage) plat::DrawImage(ghostImage, static_cast<float>(X + 5), static_cast<float>(Y + 4), 0);
            razod->Draw(rune, static_cast<float>(X), Y);
            if (petrifying != 0 && petrifyMask[x][y] != 0) {
                // A rune the catalogue does not know has no stone form to show.
                const TRunePtr def = razod->_findRuneByID(std::to_string(rune));
                if (!def) continue;
                const int stone = plat::ToInt(def->blockedID);
                if (stone == 0) continue;
                plat::SetAlpha(alpha * petrifyProgress);
                razod->Draw(stone, static_cast<float>(X), Y);
            }
        }
    return 0;
}

int TBoardManager::_drawHighlights() {
    for (int y
 = 0; y < kBoardCells; ++y)
        for (int x = 0; x < kBoardCells; ++x)
            if (highlightLayer[x][y] != 0) razod->particleRune(highlightLayer[x][y], x, y, 0.0f, 0.0f, 0, 0);
    return 0;
}

int TBoardManager::clearHighlights() {
    for (auto& column : highlightLayer) column.fill(0);
    return 0;
}
