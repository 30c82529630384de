// The spell counters on the ring, the award of a spell for a finished
// sequence, and the hand-over of the last game's spells to a board level.
#include <algorithm>

#include "platform/angles.h"
#include "platform/graphics.h"
#include "platform/rng.h"
#include "platform/text.h"
#include "profiles/profile_manager.h"
#include "ring/ring_game.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"

TRingSpellPtr TRingSpell::Create(float radius, float angle, int kind, const std::string& folder,
                                 const std::array<std::string, 5>& names) {
    auto s = std::make_shared<TRingSpell>();
    s->radius = radius;
    s->angle = angle;
    s->kind = kind;
    for (size_t i = 0; i < s->frames.size(); ++i) {
        s->frames[i] = plat::LoadImage(folder + "/" + names[i], -1);
        if (s->frames[i]) plat::SetImageHandle(s->frames[i], s->frames[i]->width / 2, s->frames[i]->height / 2);
    }
    return s;
}

void TRingSpell::IconPosition(int x, int y, float scale, float ringAngle, int& ix, int& iy) const {
    const double r = static_cast<double>(radius) * static_cast<double>(scale);
    const double a = static_cast<double>(angle) + static_cast<double>(ringAngle);
    ix = x + plat::TruncToInt(plat::Cos(a) * r);
    iy = y + plat::TruncToInt(plat::Sin(a) * r);
}

int TRingSpell::Draw(int x, int y, float scale, float ringAngle, float alpha) {
    if (count == 0) return 0;
    frameAlpha -= 0.01f;
    nextFrameAlpha += 0.01f;
    if (!(frameAlpha > 0.0f)) {
        frameAlpha = 1.0f;
        nextFrameAlpha = 0.0f;
        frame = frame >= 4 ? 0 : frame + 1;
        nextFrame = nextFrame >= 4 ? 0 : nextFrame + 1;
    }
    int ix = 0, iy = 0;
    IconPosition(x, y, scale, ringAngle, ix, iy);
    plat::SetScale(scale, scale);
    plat::SetAlpha(frameAlpha * alpha);
    plat::DrawImage(frames[static_cast<size_t>(frame)], static_cast<float>(ix), static_cast<float>(iy), 0);
    plat::SetAlpha(nextFrameAlpha * alpha);
    plat::DrawImage(frames[static_cast<size_t>(nextFrame)], static_cast<float>(ix), static_cast<float>(iy), 0);
    return 0;
}

int TRingSpell::MakeSparks(int x, int y, float scale, float ringAngle) {
    int ix = 0, iy = 0;
    IconPosition(x, y, scale, ringAngle, ix, iy);
    TRingEmiter::Create(ix, iy, 0.0f, -1, -1, -1, -1.0f, -1.0f, 1);
    return 0;
}

int TRingGame::AddSpell() {
    if (AvailableSpells.empty()) return 0;
    const int n = static_cast<int>(AvailableSpells.size());
    const int k = plat::Rand(0, n - 1);
    const int kind = plat::ToInt(AvailableSpells[static_cast<size_t>(k)]);
    for (const TRingSpellPtr& s : spells) {
        if (!s || s->kind != kind) continue;
        s->count = SatAdd(s->count, 1);
        s->MakeSparks(400, 260, ringScale, ringAngle);
        break;
    }
    return 0;
}

int TRingGame::CopySpells() {
    for (int k = 1; k <= kSpells; ++k) {
        // Each spell is a walk over the board: a damaged count must not
        // hold the game for as long as it says, so the profile holds it to
        // one game's worth.
        const int n = profile->GetNumber("RMGRecivedSpell" + std::to_string(k));
        for (int i = 0; i < n; ++i) bonusManagerAlt->AddBonus(k);
    }
    return 0;
}
