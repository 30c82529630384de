// Granting spells (a large clear, the ring game's winnings, a saved game),
// finding them by their cell, and taking them off without a cast.
#include <string>
#include <vector>

#include "board/board.h"
#include "core/saved_numbers.h"
#include "level/level.h"
#include "pieces/rune.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "spells/spells.h"

int TBunusManagerA::StonesOnBoard() {
    for (int x = 0; x < kBoardCells; ++x)
        for (int y = 0; y < kBoardCells; ++y)
            if (razod->isBlocked(board->runeLayer[x][y]) != 0) return 1;
    return 0;
}

int TBunusManagerA::FindBonus(int x, int y) {
    for (const TBonusAPtr& s : spells)
        if (s->x == x && s->y == y) return s->kind;
    return 0;
}

TBonusAPtr TBunusManagerA::GetBonus(int x, int y) {
    for (const TBonusAPtr& s : spells)
        if (s->x == x && s->y == y) return s;
    return nullptr;
}

int TBunusManagerA::ClearSilent(int x, int y) {
    for (const TBonusAPtr& s : spells)
        if (s->x == x && s->y == y) {
            spells.Remove(s);
            break;
        }
    return 0;
}

int TBunusManagerA::GetRandomPlace(int& x, int& y, int& colour) {
    std::vector<std::array<int, 3>> candidates;
    for (int i = 0; i < kBoardCells; ++i)
        for (int j = 0; j < kBoardCells; ++j) {
            if (board->shapeLayer[i][j] == 0) continue;
            const int id = board->runeLayer[i][j];
            if (id == 0) continue;
            // An id the catalogue does not know is no place for a spell: we
            // could not tell whether it is a stone.
            const TRunePtr rune = razod->_findRuneByID(std::to_string(id));
            if (!rune || rune->blocked != 0) continue;
            if (FindBonus(i, j) != 0) continue;
            candidates.push_back({i, j, board->colorLayer[i][j]});
        }
    if (candidates.empty()) return 0;
    const int k = plat::Rand(0, static_cast<int>(candidates.size()) - 1);
    x = candidates[static_cast<size_t>(k)][0];
    y = candidates[static_cast<size_t>(k)][1];
    colour = candidates[static_cast<size_t>(k)][2];
    return 1;
}

int TBunusManagerA::AddBonus(int kind) {
    const std::vector<std::string>& available = level->availableSpells;
    if (kind == 0) {
        if (available.empty()) return 0;
        const int i = plat::Rand(0, static_cast<int>(available.size()) - 1);
        kind = plat::ToInt(available[static_cast<size_t>(i)]);
    }
    if (kind == kHeal && StonesOnBoard() == 0) {
        if (available.size() < 2) return 0;
        std::vector<std::string> others;
        for (const std::string& e : available)
            if (e != "5") others.push_back(e);
        // A list of nothing but heals has nothing to offer instead.
        if (others.empty()) return 0;
        const int j = plat::Rand(0, static_cast<int>(others.size()) - 1);
        kind = plat::ToInt(others[static_cast<size_t>(j)]);
    }
    int x = 0, y = 0, colour = 0;
    if (GetRandomPlace(x, y, colour) == 0) return 0;
    level->spellsReceived = SatAdd(level->spellsReceived, 1);
    AddBonusExt(kind, x, y, colour);
    return 0;
}

int TBunusManagerA::AddBonusExt(int kind, int x, int y, int colour) {
    // A saved entry that names a cell off the board or no known kind would
    // only ever be drawn in the wrong place or read outside the tables.
    if (kind < 1 || kind > kSpellKinds || !OnGrid(x, y)) return 0;
    TBonusAPtr s = TBonusA::Create(x, y, kind, kind == kDrain ? colour : 0);
    s->SetImages(spellIcons[static_cast<size_t>(kind)], glowImages);
    s->SetTimes(kSpellDelay[static_cast<size_t>(kind)], kSpellHold[static_cast<size_t>(kind)]);
    spells.AddLast(s);
    return 0;
}
