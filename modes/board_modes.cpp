#include "modes/board_modes.h"

#include <algorithm>
#include <climits>

#include "board/board.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/sound.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "modes/mode_links.h"
#include "modes/pause_menu.h"
#include "modes/scene.h"
#include "pieces/blocks.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/text.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "ui/comet.h"
#include "ui/spark.h"

namespace {

// A number of the saved game within its range. The profile hands numbers
// over as 32-bit floats, where INT32_MAX is 2^31: a plain cast would wrap it
// to a negative, and a damaged file may hold anything.
int ResumedNumber(const std::string& key) { return SavedInt(key, modes::ProfileNumber(key)); }

}  // namespace

std::string TBoardModePlay::Key(const std::string& name) const {
    return (mode == kEndless ? "endless" : "time") + name;
}

// ---- start ----------------------------------------------------------------------------------

int TBoardModePlay::Start(const std::string& levelFile) {
    // The quest's save follows the quest's board: once another mode has
    // taken the board over, the quest must not be saved from it.
    saveToProfile = 0;
    board->cellSize = 32;
    board->originX = 240;
    board->originY = 60;
    points->pointsTotal = 0;
    points->pointsActual = 0;
    board->gameOverFlag = 0;

    const bool resume = levelFile.empty();
    if (!resume) {
        level->Set(levelFile);
    } else {
        if (modes::ProfileNumber(Key("Resume")) == 0.0f) return 0;
        level->Set(modes::ProfileString(Key("Level")));
    }

    const int kept = gameState;
    gameState = 1;
    const int loaded = level->TryLoad(1);
    if (loaded == 0) {
        gameState = kept;
        // A saved game whose level is gone would fail at every resume.
        if (resume) modes::SetProfileNumber(Key("Resume"), 0, 1);
        return 0;
    }
    level->loadGfx();
    level->ResetStats();
    if (modeLinks.stopTitleMusic) modeLinks.stopTitleMusic();
    bonusManagerAlt->ClearEfects();
    bonusManagerAlt->ClearSpells();
    magicSphere->ResetSettings();
    timeManager->Set(mode == kEndless ? 0 : kTimeAttackMs);
    level->continueMusic();
    gameState = kept;

    if (!resume) {
        blocks->buildNextBlock();
        blocks->buildNextBlock();
        usedBlocks = 0;
        timeManager->Reset(mode == kEndless ? 0 : 1);
    } else {
        if (mode == kTimeAttack) points->pointsActual = ResumedNumber(Key("Points"));
        if (modeLinks.loadGame) modeLinks.loadGame(mode == kEndless ? "endless" : "time");
        // The endless clock has no end; the time-attack clock no more than its minute.
        const int clock = ResumedNumber(Key("Time"));
        timeManager->LoadFromProfile(clock);
        if (mode == kEndless) points->pointsActual = ResumedNumber(Key("Points"));
        level->spellsReceived = ResumedNumber(Key("RecivedSpells"));
        level->spellsCast = ResumedNumber(Key("DroppedSpells"));
        usedBlocks = ResumedNumber(Key("Blocks"));
    }
    board->createBoardImage(1);
    modes::RenewDelta();
    endReason = 0;
    menuRequested = 0;
    return kGoOn;
}

// ---- one frame ------------------------------------------------------------------------------

void TBoardModePlay::Frame() {
    modes::BeginFrame();

    // One quarter per press, tapped or held.
    if (mouse->rightHit != 0) blocks->rotateBlock(1);
    if (mouse->leftHit != 0) {
        const bool boardSide = mouse->x > board->originX - board->cellSize;
        if (boardSide && (mode == kTimeAttack || blocks->heldBlock)) {
            modes::CompleteTurn();
            board->placeBlock(nullptr, -1, -1, 1);
            board->clearMatchingRazod(0);
        } else if ((mode == kEndless || !boardSide) && points->OverMenu() != 0) {
            menuRequested = 1;
        }
    }
    if (!blocks->heldBlock && modes::SpellsPending() == 0 && blocks->IsFreze() == 0) {
        blocks->buildNextBlock();
        usedBlocks = SatAdd(usedBlocks, 1);
        board->checkGameOver();
    }

    level->Draw();
    magicSphere->Update(1);
    timeManager->DrawAndUpdate();
    if (mode == kEndless) points->DrawEndless();
    else points->DrawTimeatack();
    board->Update(0);
    board->Draw(0);
    if (mode == kEndless) board->checkGameOver();
    bonusManagerAlt->Update();
    bonusManagerAlt->Draw();
    if (mode == kTimeAttack) board->checkGameOver();
    blocks->updateBlock(-1, -1);
    blocks->drawBlock(0, 0);

    TCometEmiter::updateAll();
    TRingEmiter::UpdateAll();
    TSpark::UpdateAll();
    TVolcanoEmiter::updateAll();
    TCaptions::updateAll();
    TSoundQ::updateAll();

    if (plat::KeyHit(plat::KEY_ESCAPE) != 0) menuRequested = 1;
    if (board->MouseOnBoard() == 0) mouse->Draw();
    if (mode == kTimeAttack) plat::PollSystem();
    plat::Flip(-1);

    if (board->gameOverFlag != 0) endReason = 1;
    if (menuRequested != 0) {
        const int answer = showInGameMenu();
        if (answer == 0) menuRequested = 0;
        else if (answer == 2) Restart();
        else if (answer == 4) endReason = 3;
        else endReason = 2;
    }
    if (mode == kEndless) plat::PollSystem();
    if (plat::AppTerminate()) endReason = 3;
}

void TBoardModePlay::Restart() {
    board->clearBoard();
    bonusManagerAlt->ClearSpells();
    bonusManagerAlt->ClearEfects();
    const int kept = gameState;
    gameState = 10;
    level->TryLoad(1);
    level->ResetStats();
    gameState = kept;
    magicSphere->ResetSettings();
    timeManager->Set(mode == kEndless ? 0 : kTimeAttackMs);
    board->createBoardImage(1);
    points->pointsActual = 0;
    usedBlocks = 0;
    timeManager->Reset(1);
    menuRequested = 0;
    // A game over found in the frame the restart was asked for belongs to
    // the game just thrown away.
    endReason = 0;
    board->gameOverFlag = 0;
}

// ---- after the loop -----------------------------------------------------------------------------

void TBoardModePlay::SaveGame() {
    // The resume flag goes last, with the one write: a profile on disk never
    // offers a game whose level, board and clock are not all there.
    modes::SetProfileNumber(Key("Points"), static_cast<float>(points->pointsActual), 0);
    modes::SetProfileString(Key("Level"), level->fileName, 0);
    const int elapsed = timeManager->SaveToProfile();
    if (mode == kTimeAttack) modes::SetProfileNumber(Key("Time"), static_cast<float>(elapsed), 0);
    if (modeLinks.saveGame) modeLinks.saveGame(mode == kEndless ? "endless" : "time");
    if (mode == kEndless) modes::SetProfileNumber(Key("Time"), static_cast<float>(elapsed), 0);
    modes::SetProfileNumber(Key("RecivedSpells"), static_cast<float>(level->spellsReceived), 0);
    modes::SetProfileNumber(Key("DroppedSpells"), static_cast<float>(level->spellsCast), 0);
    modes::SetProfileNumber(Key("Blocks"), static_cast<float>(usedBlocks), 0);
    modes::SetProfileNumber(Key("Resume"), 1, 1);
}

void TBoardModePlay::TallyFrame() {
    modes::BeginTallyFrame();
    magicSphere->Update(0);
    timeManager->Draw(1);
    if (mode == kEndless) {
        points->DrawEndless();
        board->Draw(0);
        TCometEmiter::updateAll();
        TRingEmiter::UpdateAll();
        TVolcanoEmiter::updateAll();
        bonusManagerAlt->Draw();
    } else {
        points->DrawTimeatack();
        board->Draw(0);
        bonusManagerAlt->Draw();
        TCometEmiter::updateAll();
        TRingEmiter::UpdateAll();
        TVolcanoEmiter::updateAll();
    }
    if (level->summaryStage < 5) TSpark::UpdateAll();
    TSoundQ::updateAll();
    TCaptions::updateAll();
    const int seconds = timeManager->SaveToProfile() / 1000;
    level->summaryDisplayET(seconds, usedBlocks, bestResult);
    if (level->summaryStage > 4) TSpark::UpdateAll();
    if (modes::EndTallyFrame()) closeRequested = 1;
}

int TBoardModePlay::Finish() {
    plat::FlushMouse();
    if (endReason == 2 || endReason == 3) {
        SaveGame();
        if (endReason == 3) modes::StopMusicAndEnd();
        modes::ClearEffectLists();
        blocks->heldBlock = nullptr;
        plat::PollSystem();
        return mode == kEndless ? 0 : 1;
    }

    closeRequested = 0;
    board->clearHighlights();
    level->startSummary();
    deltaTime->Update();
    const int typeId = mode == kEndless ? 2 : 3;
    bestResult = modeLinks.bestScore ? modeLinks.bestScore(typeId, level->fileName) : 0;
    while (closeRequested == 0 && level->summaryDone == 0) TallyFrame();
    soundQueue->Clear();
    TCaptions::destroyAll();
    level->countLoopChannel = nullptr;
    level->endMusicChannel = nullptr;
    if (closeRequested != 0) {
        level->doShortSummary();
        TSpark::destroyAll();
        modes::SetProfileNumber(Key("Resume"), 0, 1);
        modes::AddHiscore(points->pointsActual, typeId, level->fileName);
        modes::StopMusicAndEnd();
    }
    mouse->fetchState();
    modes::SetProfileNumber(Key("Resume"), 0, 1);
    modes::AddHiscore(points->pointsActual, typeId, level->fileName);
    TSpark::destroyAll();
    mouse->fetchState();
    return 1;
}

namespace {

int PlayBoardMode(TBoardModePlay::Mode mode, const std::string& levelFile) {
    TBoardModePlay play(mode);
    const int started = play.Start(levelFile);
    if (started != TBoardModePlay::kGoOn) return started;
    while (play.endReason == 0) play.Frame();
    return play.Finish();
}

}  // namespace

int goEndless(const std::string& levelFile) { return PlayBoardMode(TBoardModePlay::kEndless, levelFile); }

int goTimeAtack(const std::string& levelFile) { return PlayBoardMode(TBoardModePlay::kTimeAttack, levelFile); }
