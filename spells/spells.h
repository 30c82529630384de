// The spells of the board game: a spell lying on a cell (TBonusA), the one
// manager that grants, sets off, casts and draws them (TBunusManagerA, the
// global `bonusManagerAlt`), and the hook-up of the board, the spheres and
// the level to them.
//
// Index: spell kinds · TBonusA · TBunusManagerA (resources; lists; captions;
//        teleport state; granting and look-ups; casting; clearing) · the
//        global and its links
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>
#include "platform/audio.h"
#include "platform/image.h"
#include "platform/list.h"

// ---- spell kinds ------------------------------------------------------------------
// Kinds are numbered 1..6 everywhere (a saved game, the ring game, popups).
enum TSpellKind : int { kHolyfire = 1, kVanish = 2, kBomb = 3, kDrain = 4, kHeal = 5, kTeleport = 6 };
constexpr int kSpellKinds = 6;
// Milliseconds from the clear that sets a spell off to its cast, and for
// which the block supply is frozen after the cast; kinds 1..6 (slot 0 unused).
constexpr std::array<int32_t, 7> kSpellDelay{0, 600, 500, 600, 600, 600, 600};
constexpr std::array<int32_t, 7> kSpellHold{0, 1100, 800, 1000, 1000, 1000, 1000};

// ---- one spell on one board cell ----------------------------------------------------
class TBonusA;
using TBonusAPtr = std::shared_ptr<TBonusA>;

class TBonusA {
public:
    int32_t x = 0;  // board column 0..14
    int32_t y = 0;  // board row 0..14
    plat::ImagePtr icon;
    // The spell's own copy of the manager's glow table: 0, 1 for 32-pixel
    // cells, 2, 3 for any other size.
    std::array<plat::ImagePtr, 4> glowImages{};
    int32_t activatedAt = 0;  // MilliSecs of Activate
    int32_t kind = 0;         // 1..6
    int32_t active = 0;       // 1 once set off
    int32_t color = 0;        // what a drain removes; 0 for other kinds
    float glow = 0.0f;
    int32_t glowRising = 1;
    float appearAlpha = 0.0f;
    int32_t delay = 0;  // ms from Activate to the cast; positive once set off
    int32_t hold = 0;   // ms the block supply freezes after the cast

    static TBonusAPtr Create(int x, int y, int kind, int color);
    int SetImages(const plat::ImagePtr& icon, const std::array<plat::ImagePtr, 4>& glowImages);
    int SetTimes(int delay, int hold);
    int Draw();
    int Update();
    int Activate();
    int CanGo();
};

// ---- the spell manager ---------------------------------------------------------------
class TBunusManagerA {
public:
    // resources, loaded once at start-up; slot 0 of the kind tables stays empty
    std::array<plat::ImagePtr, 7> spellIcons{};
    std::array<plat::ImagePtr, 7> spellNameImages{};
    std::array<plat::SoundPtr, 9> castSounds{};  // 1..6 by kind, 7 and 8 the other bomb sounds
    std::array<plat::ImagePtr, 4> glowImages{};

    // spells lying on the board, in the order granted (a saved game keeps
    // these: kind, x, y, color); spells set off and waiting for their cast
    plat::TList<TBonusAPtr> spells;
    plat::TList<TBonusAPtr> activeSpells;

    // the captions shown once every pending spell has been cast
    int32_t captionRazod = 0;
    int32_t captionPoints = 0;
    int32_t captionColors = 0;
    int32_t captionX = 0;
    int32_t captionY = 0;
    int32_t captionKind = 0;  // 0: none pending

    // the running teleport transmutation: none while 1.0 or more; each
    // entry is x, y and the new rune id
    float teleportProgress = 1.0f;
    std::vector<std::array<int32_t, 3>> teleportCells;

    TBunusManagerA() = default;
    TBunusManagerA(const TBunusManagerA&) = delete;
    TBunusManagerA& operator=(const TBunusManagerA&) = delete;

    int LoadResources();

    // granting and look-ups (spell_grant.cpp)
    int GetRandomPlace(int& x, int& y, int& colour);
    int FindBonus(int x, int y);
    TBonusAPtr GetBonus(int x, int y);
    // kind 0: a kind drawn from the level's "AvailableSpells"
    int AddBonus(int kind);
    // A saved spell put back; an entry off the board or of an unknown kind
    // restores nothing.
    int AddBonusExt(int kind, int x, int y, int colour);

    // casting (spell_cast.cpp)
    int Update();
    int Draw();
    int Clear(int x, int y);
    int ClearSilent(int x, int y);
    int BonusActive();
    int AddCaption(int runes, int points, int colors);
    int ClearSpells();
    int ClearEfects();

    int StonesOnBoard();
};

extern std::shared_ptr<TBunusManagerA> bonusManagerAlt;

// Fills the board's, the spheres' and the level's hooks into the spells
// (playLinks, sphereLinks.ringEmiter, levelLinks.toSphere). Start-up calls it
// once beside creating bonusManagerAlt; the hooks find the manager by its
// global when they run, and do nothing while there is none.
void InstallSpellLinks();
