// The rest of a game in progress: held block, puzzle, spells, the quest
// level's statistics and the magic spheres.
//
// Index: held block · puzzle · spells · level statistics · spheres
#include <algorithm>
#include <cstdint>

#include "level/level.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "platform/app.h"
#include "platform/text.h"
#include "platform/time.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "profiles/saved_game.h"
#include "spells/spells.h"

namespace {

std::string Join(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        if (!out.empty()) out += ':';
        out += std::to_string(v);
    }
    return out;
}

void Skipped(const std::string& key, const std::string& entry) {
    plat::Print("Saved game " + key + ": entry \"" + entry + "\" skipped");
}

int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

// ---- held block ------------------------------------------------------------------------------

int SaveLastBlock(const std::string& prefix) {
    const TBlockPtr held = blocks->heldBlock;
    if (!held) {
        profile->SetList(prefix + "ActualBlockSet", {}, 0);
        profile->SetList(prefix + "ActualBlockColor", {}, 0);
        return 0;
    }
    std::vector<std::string> cells, colors;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            cells.push_back(Join({i, j, held->cells[i][j]}));
            colors.push_back(Join({i, j, held->colors[i][j]}));
        }
    profile->SetList(prefix + "ActualBlockSet", cells, 0);
    profile->SetList(prefix + "ActualBlockColor", colors, 0);
    for (int k = 0; k < 3; ++k)
        profile->SetNumber(prefix + "PrevBlock" + std::to_string(k), blocks->lastRazod[static_cast<size_t>(k)], 0);
    profile->SaveProfile();
    return 0;
}

int LoadLastBlock(const std::string& prefix) {
    if (!profile->current) return 0;
    const std::string setKey = prefix + "ActualBlockSet", colorKey = prefix + "ActualBlockColor";
    const std::vector<std::string> set = profile->GetList(setKey);
    const std::vector<std::string> colors = profile->GetList(colorKey);
    if (set.empty() || colors.empty()) return 0;
    auto block = std::make_shared<TBlock>();
    std::vector<int> v;
    auto fill = [&](const std::string& key, const std::vector<std::string>& list, TBlockGrid& grid) {
        for (const std::string& e : list) {
            if (!ParseSavedEntry(e, 3, v) || v[0] < 0 || v[0] > 3 || v[1] < 0 || v[1] > 3) {
                Skipped(key, e);
                continue;
            }
            grid[static_cast<size_t>(v[0])][static_cast<size_t>(v[1])] = v[2];
        }
    };
    fill(setKey, set, block->cells);
    fill(colorKey, colors, block->colors);
    blocks->heldBlock = block;
    for (int k = 0; k < 3; ++k)
        blocks->lastRazod[static_cast<size_t>(k)] = profile->GetNumber(prefix + "PrevBlock" + std::to_string(k));
    return 0;
}

// ---- puzzle -------------------------------------------------------------------------------------

int SavePuzzles() {
    const TPuzzleSnapshot state = profileLinks.puzzleState ? profileLinks.puzzleState() : TPuzzleSnapshot{};
    std::vector<std::string> slots;
    for (int s : state.slots) slots.push_back(std::to_string(s));
    profile->SetList("puzzles", slots, 0);
    const int32_t elapsed = profileLinks.puzzleState ? WrapSub(plat::MilliSecs(), state.startTime) : 0;
    profile->SetNumber("puzzlesTime", elapsed, 0);
    profile->SetNumber("puzzlesClicks", state.clicks, 0);
    profile->SaveProfile();
    return 0;
}

int LoadPuzzles() {
    if (!profile->current) return 0;
    const std::vector<std::string> saved = profile->GetList("puzzles");
    const int pieces = profileLinks.puzzlePieceCount ? profileLinks.puzzlePieceCount() : 0;
    // Only a whole order puts every piece on a slot of its own; anything
    // else would stack pieces and leave holes, so the pieces stay where
    // they are.
    std::vector<int> order;
    bool whole = !saved.empty() && static_cast<int>(saved.size()) == pieces;
    std::vector<char> seen(static_cast<size_t>(std::max(pieces, 0)), 0);
    std::vector<int> v;
    for (size_t k = 0; whole && k < saved.size(); ++k) {
        if (!ParseSavedEntry(saved[k], 1, v) || v[0] < 0 || v[0] >= pieces || seen[static_cast<size_t>(v[0])]) {
            whole = false;
            break;
        }
        seen[static_cast<size_t>(v[0])] = 1;
        order.push_back(v[0]);
    }
    if (whole && profileLinks.placePuzzlePiece) {
        for (size_t k = 0; k < order.size(); ++k) profileLinks.placePuzzlePiece(static_cast<int>(k), order[k]);
    } else if (!saved.empty()) {
        plat::Print("Saved puzzle: the piece order is not one of the puzzle's " + std::to_string(pieces) +
                    " pieces; the pieces keep their places");
    }
    const int elapsed = profile->GetNumber("puzzlesTime");
    if (profileLinks.setPuzzleClock)
        profileLinks.setPuzzleClock(WrapSub(plat::MilliSecs(), elapsed), profile->GetNumber("puzzlesClicks"));
    return 0;
}

// ---- spells ----------------------------------------------------------------------------------------

int SaveSpells(const std::string& prefix) {
    std::vector<std::string> entries;
    for (const TBonusAPtr& s : bonusManagerAlt->spells)
        if (s) entries.push_back(Join({s->kind, s->x, s->y, s->color}));
    profile->SetList(prefix + "Bonuses", entries, 0);
    profile->SaveProfile();
    return 0;
}

int LoadSpells(const std::string& prefix) {
    if (!profile->current) return 0;
    const std::string key = prefix + "Bonuses";
    std::vector<int> v;
    for (const std::string& e : profile->GetList(key)) {
        if (!ParseSavedEntry(e, 4, v) || v[0] < 1 || v[0] > kSpellKinds || v[1] < 0 || v[1] > 14 || v[2] < 0 ||
            v[2] > 14) {
            Skipped(key, e);
            continue;
        }
        bonusManagerAlt->AddBonusExt(v[0], v[1], v[2], v[3]);
    }
    return 0;
}

// ---- level statistics --------------------------------------------------------------------------------

int SaveLevelStats() {
    profile->SetNumber("levelRrecivedSpells", level->spellsReceived, 0);
    profile->SetNumber("levelDroppedSpells", level->spellsCast, 0);
    profile->SetNumber("levelUsedBlocks", level->blocksUsed, 0);
    profile->SetNumber("levelMatches", level->matches, 0);
    profile->SetNumber("levelCombos", level->combos, 0);
    profile->SetNumber("levelTime", timeManager->SaveToProfile(), 0);
    profile->SaveProfile();
    return 0;
}

int LoadLevelStats() {
    if (!profile->current) return 0;
    level->spellsReceived = profile->GetNumber("levelRrecivedSpells");
    level->spellsCast = profile->GetNumber("levelDroppedSpells");
    level->blocksUsed = profile->GetNumber("levelUsedBlocks");
    level->matches = profile->GetNumber("levelMatches");
    level->combos = profile->GetNumber("levelCombos");
    timeManager->LoadFromProfile(profile->GetNumber("levelTime"));
    return 0;
}

// ---- spheres ------------------------------------------------------------------------------------------

int SaveMagicSphere() {
    for (int k = 0; k < TMagicSphere::kSpheres; ++k)
        profile->SetNumber("ballsFil" + std::to_string(k),
                           plat::TruncToInt(magicSphere->sphereFill[static_cast<size_t>(k)]), 0);
    profile->SaveProfile();
    return 0;
}

int LoadMagicSphere() {
    if (!profile->current) return 0;
    for (size_t k = 0; k < TMagicSphere::kSpheres; ++k) {
        const float capacity = magicSphere->sphereCapacity[k];
        float fill = static_cast<float>(profile->GetNumber("ballsFil" + std::to_string(k)));
        // Play never fills a sphere past its capacity or below empty.
        fill = std::clamp(fill, 0.0f, std::max(capacity, 0.0f));
        magicSphere->sphereFill[k] = fill;
        // A sphere not in use (capacity 0) shows empty rather than 0 / 0.
        magicSphere->shownFill[k] = capacity > 0.0f ? fill / capacity : 0.0f;
        if (magicSphere->shownFill[k] >= 1.0f) magicSphere->fullSince[k] = plat::MilliSecs() - 3000;
    }
    return 0;
}
