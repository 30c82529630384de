// The spell manager's resources, the global, and the hooks through which the
// board, the spheres and the level reach the spells.
#include "board/board_rules.h"
#include "level/level_links.h"
#include "level/spheres.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"

std::shared_ptr<TBunusManagerA> bonusManagerAlt;

int TBunusManagerA::LoadResources() {
    static const char* const kIcons[7] = {nullptr,
                                          "gfx/bonusy/mag_06.png",
                                          "gfx/bonusy/mag_03.png",
                                          "gfx/bonusy/mag_04.png",
                                          "gfx/bonusy/mag_01.png",
                                          "gfx/bonusy/mag_05.png",
                                          "gfx/bonusy/mag_02.png"};
    static const char* const kNames[7] = {nullptr,
                                          "gfx/fonts/spell-holyfire.png",
                                          "gfx/fonts/spell-vanish.png",
                                          "gfx/fonts/spell-bomb.png",
                                          "gfx/fonts/spell-drain.png",
                                          "gfx/fonts/spell-heal.png",
                                          "gfx/fonts/spell-teleport.png"};
    // Loaded in this order: the three bomb sounds together.
    static const struct {
        int slot;
        const char* file;
    } kSounds[8] = {{1, "sfx/fx/playgame-magic-1-fire.ogg"},
                    {2, "sfx/fx/playgame-magic-3-rndcolor.ogg"},
                    {3, "sfx/fx/playgame-magic-5-firebomb.ogg"},
                    {7, "sfx/fx/playgame-magic-5-firebomb2.ogg"},
                    {8, "sfx/fx/playgame-magic-5-firebomb3.ogg"},
                    {4, "sfx/fx/playgame-magic-2-removecolor.ogg"},
                    {5, "sfx/fx/playgame-magic-4-removeblocks.ogg"},
                    {6, "sfx/fx/playgame-magic-7-swirlcolor.ogg"}};
    static const char* const kGlow[4] = {"gfx/bonusy/posw2a.png", "gfx/bonusy/posw2b.png",
                                         "gfx/bonusy/posw2a-duza.png", "gfx/bonusy/posw2b-duza.png"};
    for (int k = 1; k <= kSpellKinds; ++k) spellIcons[static_cast<size_t>(k)] = plat::LoadImage(kIcons[k], 3);
    for (int k = 1; k <= kSpellKinds; ++k) spellNameImages[static_cast<size_t>(k)] = plat::LoadImage(kNames[k], 3);
    for (const auto& s : kSounds) castSounds[static_cast<size_t>(s.slot)] = plat::LoadSound(s.file, 0);
    for (size_t i = 0; i < glowImages.size(); ++i) glowImages[i] = plat::LoadImage(kGlow[i], -1);
    // A picture that did not load is left out here (the loader has said so);
    // the spell then draws without it.
    for (int k = 1; k <= kSpellKinds; ++k) {
        const plat::ImagePtr& icon = spellIcons[static_cast<size_t>(k)];
        if (icon) plat::SetImageHandle(icon, plat::ImageWidth(icon) / 2, plat::ImageHeight(icon) / 2);
    }
    for (int k = 1; k <= kSpellKinds; ++k)
        if (spellNameImages[static_cast<size_t>(k)]) plat::MidHandleImage(spellNameImages[static_cast<size_t>(k)]);
    return 0;
}

void InstallSpellLinks() {
    playLinks.castSpell = [](int x, int y) { return bonusManagerAlt->Clear(x, y); };
    playLinks.spellActive = [] { return bonusManagerAlt->BonusActive(); };
    playLinks.addSpell = [](int kind) { bonusManagerAlt->AddBonus(kind); };
    playLinks.spellCaption = [](int cells, int pts, int colours) { bonusManagerAlt->AddCaption(cells, pts, colours); };
    playLinks.spellAt = [](int x, int y) { return bonusManagerAlt->FindBonus(x, y); };
    sphereLinks.ringEmiter = [](int x, int y, float radius, int r, int g, int b, float lo, float hi, int image) {
        TRingEmiter::Create(x, y, radius, r, g, b, lo, hi, image);
    };
    levelLinks.toSphere = [](float x, float y, int r, int g, int b, int cellX, int cellY, int colour) {
        TToSphereEmiter::add(x, y, r, g, b, cellX, cellY, colour);
    };
}
