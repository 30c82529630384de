// The ring game's keys in the current profile: its hits, elapsed time,
// finished sequences and the spells won, for a resumed game and for the
// board levels that receive the spells.
#include <algorithm>

#include "platform/time.h"
#include "profiles/profile_manager.h"
#include "ring/ring_game.h"

namespace {
std::string SpellKey(int kind) { return "RMGRecivedSpell" + std::to_string(kind); }
}  // namespace

int TRingGame::SaveToProfile() {
    // One write for the nine keys: the game is on disk whole or not at all.
    TProfileSaveBatch batch;
    profile->SetNumber("seqHits", hits, 1);
    profile->SetNumber("rgTime", plat::MilliSecs() - startTime, 1);
    profile->SetNumber("recivedSpells", received, 1);
    for (const TRingSpellPtr& s : spells)
        if (s) profile->SetNumber(SpellKey(s->kind), s->count, 1);
    return 0;
}

int TRingGame::LoadFromProfile() {
    // The profile holds each number to its range (hits where 500 points
    // each still fit in the score); an elapsed time past this game's length
    // counts as the whole game, so the clock runs out at once instead of
    // wrapping.
    hits = profile->GetNumber("seqHits");
    received = profile->GetNumber("recivedSpells");
    const int now = plat::MilliSecs();
    const int length = Time > 0.0f ? static_cast<int>(std::min(Time, 1.0e9f)) : 0;
    startTime = now - std::min(profile->GetNumber("rgTime"), length);
    for (const TRingSpellPtr& s : spells)
        if (s) s->count = profile->GetNumber(SpellKey(s->kind));
    return 0;
}
