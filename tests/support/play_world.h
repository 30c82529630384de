// The world the play code may take for granted, made for a test as start-up
// makes it: every manager of the pieces, board, level and spells, and the
// core and toolkit globals they reach (mouse, sounds, options, the shared
// picture registry, the effect lists). The game code no longer checks these
// for null, so a fixture that leaves one out crashes where the game cannot;
// a test that wants a manager in a given state replaces or adjusts it after
// MakePlayWorld.
//
// The screens above the play library (popups, frame timer, profile, …) are
// made by their own fixtures on top of this.
#pragma once
#include <memory>
#include <string>

#include "board/board.h"
#include "board/stones.h"
#include "core/mouse.h"
#include "core/music.h"
#include "core/options.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "pieces/blocks.h"
#include "pieces/rune.h"
#include "platform/image.h"
#include "platform/list.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "ui/comet.h"
#include "ui/container.h"
#include "ui/spark.h"

namespace quill_test {

// What the program makes before main (song cache, default options, sound
// queue, picture registry, effect lists), fresh.
inline void MakeBeforeMainGlobals() {
    songManager = std::make_shared<TSongManager>();
    options = std::make_shared<TOptions>();
    soundQueue = plat::CreateList<TSoundQPtr>();
    data = std::make_shared<TContainer>();
    comet = std::make_shared<TCometEmiter>();
    stonesList = plat::CreateList<TStoneEntityPtr>();
    captions = plat::CreateList<TCaptionsPtr>();
    volcanoList = plat::CreateList<TVolcanoEmiterPtr>();
    ringEmiterList = plat::CreateList<TRingEmiterPtr>();
    cometList = plat::CreateList<TCometEmiterPtr>();
    SparkList = plat::CreateList<TSparkPtr>();
    sparkImages = {};
}

inline void MakePlayWorld() {
    MakeBeforeMainGlobals();
    razod = std::make_shared<TRuneManager>();
    blocks = std::make_shared<TBlocksManager>();
    board = std::make_shared<TBoardManager>();
    level = std::make_shared<TLevelManager>();
    sequencer = std::make_shared<TLevelSequencer>();
    points = std::make_shared<TPointsManager>();
    magicSphere = std::make_shared<TMagicSphere>();
    timeManager = std::make_shared<TTimeManager>();
    bossManager = std::make_shared<TBossManager>();
    bonusManagerAlt = std::make_shared<TBunusManagerA>();
    mouse = std::make_shared<TMouse>();
    globalSnd = std::make_shared<TGlobalSnd>();
}

// The play screen's pictures, as the loading screen loads them, for a test
// that draws the board on the real device from the built game folder (the
// current directory): runes, blocks, board, the sparks, the line picture,
// spheres, clock, score panel, captions and bosses.
inline void LoadPlayPictures() {
    razod->loadRazodGfx();
    blocks->loadBlocksDef();
    board->loadBoardGfx();
    for (int i = 0; i < 4; ++i)
        loadSparkImage(i, i == 0 ? "gfx/gwiazdki/gradball.png" : "gfx/gwiazdki/" + std::to_string(i) + ".png");
    data->Add(plat::LoadImage("gfx/gui/lina.png", -1), 5000);
    magicSphere->LoadResources();
    timeManager->LoadResources();
    points->loadGfx();
    TCaptions::loadGfx();
    bossManager->LoadResources();
}

// The managers dropped, so the next test starts from nothing of this one,
// and what the program makes before main fresh again.
inline void DropPlayWorld() {
    razod.reset();
    blocks.reset();
    board.reset();
    level.reset();
    sequencer.reset();
    points.reset();
    magicSphere.reset();
    timeManager.reset();
    bossManager.reset();
    bonusManagerAlt.reset();
    mouse.reset();
    globalSnd.reset();
    MakeBeforeMainGlobals();
}

}  // namespace quill_test
