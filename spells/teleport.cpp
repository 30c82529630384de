// The teleport's transmutation, one frame at a time: about every fourth rune
// is chosen, its new rune fades in over 100 frames while the cell is marked
// first in the old colour and then in the new, and the 101st frame writes
// the new runes and clears what they match.
#include <string>

#include "board/board.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "platform/time.h"
#include "spells/spell_actions.h"
#include "spells/spells.h"

namespace {

void ChooseCells(std::vector<std::array<int32_t, 3>>& list) {
    list.clear();
    int runes = 0;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y)
            if (board->runeLayer[x][y] != 0) ++runes;
    int phase = runes >= 2 ? plat::Rand(0, 2) : 0;
    std::vector<int> candidates;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            const int current = board->runeLayer[x][y];
            if (current == 0) continue;
            if (phase == 0) {
                candidates.clear();
                for (const std::string& entry : blocks->availableRazod) {
                    const int id = plat::ToInt(entry);
                    // An id the catalogue does not know would put an
                    // invisible, colourless rune on the board.
                    const TRunePtr rune = razod->_findRuneByID(std::to_string(id));
                    if (rune && rune->blocked == 0 && id != current) candidates.push_back(id);
                }
                if (!candidates.empty()) {
                    const int k = plat::Rand(0, static_cast<int>(candidates.size()) - 1);
                    list.push_back({x, y, candidates[static_cast<size_t>(k)]});
                }
            }
            phase += 1;
            if (phase > 3) phase = 0;
        }
}

void Commit(int x, int y, int id) {
    board->runeLayer[x][y] = id;
    board->colorLayer[x][y] = RuneColour(id);
    board->placeTimeLayer[x][y] = plat::MilliSecs();
    if (bonusManagerAlt->FindBonus(x, y) != 0) {
        const TBonusAPtr spell = bonusManagerAlt->GetBonus(x, y);
        if (spell && spell->kind == kDrain) spell->color = RuneColour(id);
    }
    board->clearMatchingRazod(0);
    board->checkGameOver();
}

}  // namespace

int BonusReplacer(float& progress, std::vector<std::array<int32_t, 3>>& list) {
    if (progress == 0.0f) ChooseCells(list);
    plat::SetBlend(3);
    progress += 0.01f;
    plat::SetAlpha(progress);
    for (const auto& [x, y, id] : list) {
        if (x < 0 || x >= kBoardCells || y < 0 || y >= kBoardCells) continue;
        razod->Draw(id, static_cast<float>(board->originX + x * board->cellSize), board->originY + y * board->cellSize);
        if (progress <= 0.4f)
            board->highlightLayer[x][y] = RuneColour(board->runeLayer[x][y]);
        else if (progress <= 0.8f)
            board->highlightLayer[x][y] = RuneColour(id);
        else
            board->highlightLayer[x][y] = 0;
        if (progress >= 1.0f) Commit(x, y, id);
    }
    plat::SetAlpha(1);
    return 0;
}
