// Setting spells off, casting them when their delay has run out, the
// captions shown after the last cast, drawing, and clearing between levels.
#include <algorithm>

#include "board/board.h"
#include "core/saved_numbers.h"
#include "core/sound.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "pieces/blocks.h"
#include "platform/rng.h"
#include "spells/spell_actions.h"
#include "spells/spells.h"
#include "spells/volcano.h"

int TBunusManagerA::Clear(int x, int y) {
    for (const TBonusAPtr& s : spells) {
        if (s->x != x || s->y != y) continue;
        activeSpells.AddLast(s);
        spells.Remove(s);
        s->Activate();
        level->spellsCast = SatAdd(level->spellsCast, 1);
    }
    return 0;
}

int TBunusManagerA::BonusActive() { return activeSpells.IsEmpty() ? 0 : 1; }

int TBunusManagerA::AddCaption(int runes, int pts, int colors) {
    captionRazod = runes;
    captionPoints = pts;
    captionColors = colors;
    // The board calls this only while a spell waits; without one there is
    // no cell to put the captions on.
    if (activeSpells.IsEmpty()) return 0;
    const TBonusAPtr last = activeSpells.Last();
    const int cell = board->cellSize;
    const int ox = board->originX;
    const int oy = board->originY;
    captionX = cell / 2 + ox + cell * last->x;
    captionY = cell / 2 + oy + cell * last->y;
    if (captionX > 550) captionX = 550;
    if (captionY < 100) captionY = 100;
    if (captionY > 500) captionY = 500;
    captionKind = activeSpells.First()->kind;
    return 0;
}

int TBunusManagerA::Update() {
    for (const TBonusAPtr& s : spells) s->Update();
    for (const TBonusAPtr& s : activeSpells) {
        s->Update();
        if (s->CanGo() == 0) continue;
        int removed = 0;
        int sound = s->kind;
        switch (s->kind) {
            case kHolyfire: removed = BonusRemoveCross(s->x, s->y); break;
            case kVanish: removed = BonusRemoveRandomColors(s->x, s->y); break;
            case kBomb: {
                removed = BonusRemoveBlock(s->x, s->y);
                const int pick = plat::Rand(0, 2);
                if (pick != 0) sound = plat::Rand(7, 8);
                break;
            }
            case kDrain: removed = BonusRemoveColor(s->color, s->x, s->y); break;
            case kHeal: BonusHeal(); break;
            case kTeleport: teleportProgress = 0.0f; break;
            default: sound = 0; break;
        }
        if (sound > 0 && sound < static_cast<int>(castSounds.size()))
            playSound2(castSounds[static_cast<size_t>(sound)], nullptr, 0);
        captionRazod += removed;
        captionPoints += 50 * removed;
        points->add(50 * removed);
        blocks->Freze(s->hold);
        activeSpells.Remove(s);
    }
    if (activeSpells.IsEmpty() && captionKind != 0) {
        const int wait = blocks->ToDefreze();
        TCaptions::addCaption(TCaptions::Points, captionPoints, captionX, captionY - 40, 1.0f, 0, wait, nullptr);
        TCaptions::addCaption(TCaptions::Match, captionRazod, captionX, captionY, 1.0f, 0, wait, nullptr);
        const bool known = captionKind >= 1 && captionKind <= kSpellKinds;
        const plat::ImagePtr name = known ? spellNameImages[static_cast<size_t>(captionKind)] : nullptr;
        TCaptions::addCaption(TCaptions::Picture, captionColors, captionX + 100, captionY + 60, 1.0f, 0, wait, name);
        captionKind = 0;
    }
    if (teleportProgress < 1.0f) BonusReplacer(teleportProgress, teleportCells);
    return 0;
}

int TBunusManagerA::Draw() {
    for (const TBonusAPtr& s : spells) s->Draw();
    for (const TBonusAPtr& s : activeSpells) s->Draw();
    return 0;
}

int TBunusManagerA::ClearSpells() {
    spells.Clear();
    activeSpells.Clear();
    return 0;
}

int TBunusManagerA::ClearEfects() {
    volcanoList->Clear();
    blocks->Freze(-1);
    teleportProgress = 1.0f;
    teleportCells.clear();
    captionKind = 0;
    return 0;
}
