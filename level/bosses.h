// Bosses (goal 3): big pieces on 2 x 2 board cells, beaten when the four
// 2 x 2 squares on their sides (their arms) all hold runes of their colour.
// The board asks the boss manager in its move test, its match preview, its
// clearing and its drawing; the level asks it for the goal.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include "config/tsc_file.h"
#include "platform/audio.h"
#include "platform/image.h"
#include "platform/list.h"

class TBossRune;
using TBossRunePtr = std::shared_ptr<TBossRune>;
using TBossFrames = std::array<plat::ImagePtr, 16>;

class TBossRune {
public:
    int32_t id = 0;
    int32_t color = 0;  // compared with the board's colour layer
    int32_t x = 0;      // top-left cell
    int32_t y = 0;
    plat::ImagePtr image;
    float createdTime = 0.0f;  // phase origin of the effect loop
    int32_t active = 0;

    static TBossRunePtr Create(int id, int color, int x, int y, const std::string& imagePath);
    int Draw(const plat::ImagePtr& shadow, const TBossFrames& frames);
    int CheckMove(int cx, int cy);
    int CheckForMatch(int commit);
    int DrawHelp(const plat::ImagePtr& mark);

    // The 16 arm cells in test order: left, right, upper, lower arm, each
    // column by column (both rows of its first column, then of its second).
    std::array<std::array<int, 2>, 16> ArmCells() const;
};

class TBossManager {
public:
    std::shared_ptr<plat::TList<TBossRunePtr>> bosses = plat::CreateList<TBossRunePtr>();
    TTSCFilePtr catalogue;
    plat::ImagePtr bossShadowImage;
    plat::ImagePtr helpMarkImage;
    TBossFrames effectFrames{};
    plat::SoundPtr explodeSound;

    int LoadResources();
    // Places the bosses only when the level's goal type is 3.
    int Load(const TTSCFilePtr& levelFile);
    int Load(const TTSCFilePtr& levelFile, int goalType);
    int Free();
    int Draw();
    int DrawHelp();
    int CheckMove(int x, int y);
    int CheckForMatch(int commit);
    int CheckForGoal();

    // Name of effect frame i (0..15) of a set's prefix.
    static std::string EffectFrameName(const std::string& prefix, int i);
};

extern std::shared_ptr<TBossManager> bossManager;
