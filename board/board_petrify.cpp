// Runes left on the board longest turn to stone at the level's interval: the
// oldest group is chosen, fades to stone over one second and is replaced by
// its stone forms.
#include <string>

#include "board/board.h"
#include "board/board_rules.h"
#include "core/sound.h"
#include "pieces/rune.h"
#include "platform/text.h"
#include "platform/time.h"

namespace {

// Rune 13 never turns, nor does a cell holding a spell, nor a rune the
// catalogue does not know (it has no stone form to turn into).
bool Candidate(int x, int y, int rune) {
    if (rune == 0 || rune == 13) return false;
    if (!razod->_findRuneByID(std::to_string(rune))) return false;
    return !(playLinks.spellAt && playLinks.spellAt(x, y) != 0);
}

int StoneForm(int rune) {
    const TRunePtr def = razod->_findRuneByID(std::to_string(rune));
    if (!def) return rune;
    return plat::ToInt(def->blockedID);  // an empty or non-numeric stone id reads as 0
}

}  // namespace

int TBoardManager::_checkForPetrify(int paused) {
    if (plat::MilliSecs() - lastPetrifyTime > petrifyInterval && paused == 0) {
        int oldest = plat::MilliSecs();
        bool seen = false;
        TBoardLayer candidate{};
        for (int y = 0; y < kBoardCells; ++y)
            for (int x = 0; x < kBoardCells; ++x) {
                if (!Candidate(x, y, runeLayer[x][y])) continue;
                candidate[x][y] = 1;
                seen = true;
                if (placeTimeLayer[x][y] < oldest) oldest = placeTimeLayer[x][y];
            }
        if (!seen) {
            lastPetrifyTime = plat::MilliSecs();
            return 0;
        }
        for (int x = 0; x < kBoardCells; ++x)
            for (int y = 0; y < kBoardCells; ++y)
                petrifyMask[x][y] = candidate[x][y] != 0 && placeTimeLayer[x][y] == oldest ? 1 : 0;
        playSound2(petrifySound, nullptr, 0);
        petrifyProgress = 0.0f;
        petrifying = 1;
        lastPetrifyTime = plat::MilliSecs();
    }
    if (petrifying == 0) return 0;
    petrifyProgress = static_cast<float>(plat::MilliSecs() - lastPetrifyTime) / 1000.0f;
    if (petrifyProgress < 1.0f) return 0;
    petrifying = 0;
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y) {
            if (runeLayer[x][y] == 0 || petrifyMask[x][y] != 1) continue;
            // A rune that came into a chosen cell during the animation and
            // that the catalogue does not know stays as it is.
            if (!razod->_findRuneByID(std::to_string(runeLayer[x][y]))) continue;
            runeLayer[x][y] = StoneForm(runeLayer[x][y]);
            colorLayer[x][y] = runeLayer[x][y] == 0 ? 0 : razod->getRuneColor(std::to_string(runeLayer[x][y]));
        }
    return 0;
}
