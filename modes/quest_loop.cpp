#include "modes/quest_loop.h"

#include "board/board.h"
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "core/options.h"
#include "core/saved_numbers.h"
#include "core/sound.h"
#include "level/bosses.h"
#include "level/captions.h"
#include "level/level.h"
#include "level/points.h"
#include "level/sequencer.h"
#include "level/spheres.h"
#include "level/timer.h"
#include "modes/mode_links.h"
#include "modes/pause_menu.h"
#include "modes/popup_manager.h"
#include "modes/scene.h"
#include "pieces/blocks.h"
#include "platform/app.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"
#include "spells/ring_emitter.h"
#include "spells/spells.h"
#include "spells/volcano.h"
#include "ui/comet.h"
#include "ui/spark.h"

// ---- level start --------------------------------------------------------------------------

void TQuestPlay::Start(int resume) {
    board->cellSize = 32;
    board->originX = 240;
    board->originY = 60;
    board->createBoardImage(1);
    bonusManagerAlt->ClearEfects();
    bonusManagerAlt->ClearSpells();
    level->ResetStats();
    cometList->Clear();
    TSpark::destroyAll();
    captions->Clear();
    level->continueMusic();
    if (resume != 0) {
        if (modeLinks.loadGame) modeLinks.loadGame(kPrefix);
        if (modeLinks.loadQuestStats) modeLinks.loadQuestStats();
        popupManager->Free();
    } else {
        blocks->buildNextBlock();
        blocks->buildNextBlock();
        if (level->goalType != 2 && modeLinks.addSelectorLevel) modeLinks.addSelectorLevel(level->fileName);
        popupManager->AddEvent("BEGIN_LEVEL");
        timeManager->Reset(1);
        if (level->copySpellsFromRing != 0 && modeLinks.copyRingSpells) modeLinks.copyRingSpells();
    }
    board->lastPetrifyTime = plat::MilliSecs();
    if (!blocks->heldBlock) blocks->buildNextBlock();
    board->checkGameOver();
    modes::RenewDelta();
    menuRequested = 0;
    rotatedThisLevel = 0;
}

int TQuestPlay::Running() { return quit == 0 && level->isGoalAchieved() == 0 ? 1 : 0; }

// ---- one frame ----------------------------------------------------------------------------

namespace {

// The pause keys pressed while a popup stood over the board were aimed at
// the popup: read after it, they would open the menu by themselves once it
// is gone.
void DropPauseKeys() {
    plat::KeyHit(plat::KEY_ESCAPE);
    plat::KeyHit(plat::KEY_P);
}

}  // namespace

int TQuestPlay::Frame() {
    const int result = Step();
    if (result != kGoOn) return result;
    Present();
    return kGoOn;
}

int TQuestPlay::Step() {
    modes::BeginFrame();

    // One quarter per press, tapped or held: a tap ends before any sample
    // sees the button down, and a held button must not turn again.
    if (mouse->rightHit != 0) {
        blocks->rotateBlock(1);
        rotatedThisLevel = 1;
    }
    if (mouse->leftHit != 0) {
        if (mouse->x > board->originX - board->cellSize) {
            modes::CompleteTurn();
            board->placeBlock(nullptr, -1, -1, 1);
            if (board->clearMatchingRazod(0) != 0) {
                popupManager->AddEvent("MAKE_MATCH");
                if (rotatedThisLevel == 0) popupManager->AddEvent("RIGHT_UNUSED");
            }
        } else if (points->OverMenu() != 0) {
            menuRequested = 1;
            globalSnd->click();
        }
    }
    if (!blocks->heldBlock && modes::SpellsPending() == 0 && blocks->IsFreze() == 0) {
        blocks->buildNextBlock();
        board->checkGameOver();
    }

    modes::PlayScene();

    // A close request a popup took wins over the rest of the frame: the
    // game is ending, so neither the menu nor the game-over panel opens.
    const int waiting = popupManager->popups->Count();
    const bool closing = popupManager->check() != 0;
    if (closing) quit = 1;
    if (popupManager->popups->Count() != waiting) DropPauseKeys();

    if (!closing && menuRequested != 0) {
        board->clearHighlights();
        const int answer = showInGameMenu();
        if (answer == 0) {
            menuRequested = 0;
        } else if (answer == 2) {
            if (!Restart(1)) return Leave();
        } else if (answer == 4) {
            modes::StopMusicAndEnd();
        } else {
            return Leave();
        }
    }

    if (!closing && board->gameOverFlag != 0 && board->alpha == 1.0f) {
        modes::AddHiscore(SatAdd(points->pointsTotal, points->pointsActual), 1, "null");
        points->pointsActual = 0;
        points->pointsTotal = 0;
        const int answer = popupManager->GameOverPopup();
        DropPauseKeys();
        modes::RenewDelta();
        if (answer == 1) {
            if (!Restart(0)) return Leave();
        } else if (answer == 2) {
            return Leave();
        } else {
            quit = 1;
        }
    }

    if (board->MouseOnBoard() == 0) mouse->Draw();
    return kGoOn;
}

void TQuestPlay::Present() {
    if (plat::KeyHit(plat::KEY_ESCAPE) != 0 || plat::KeyHit(plat::KEY_P) != 0) menuRequested = 1;
    plat::PollSystem();
    plat::Flip(-1);
    if (plat::AppTerminate()) quit = 1;
    if (plat::AppSuspended()) menuRequested = 1;
}

// ---- restart and leaving ----------------------------------------------------------------------

bool TQuestPlay::Restart(int clearPoints) {
    board->clearBoard();
    bonusManagerAlt->ClearSpells();
    bonusManagerAlt->ClearEfects();
    const int kept = gameState;
    gameState = 10;
    const int loaded = level->TryLoad(0);
    gameState = kept;
    if (loaded == 0) return false;
    board->createBoardImage(1);
    if (clearPoints != 0) points->pointsActual = 0;
    menuRequested = 0;
    level->ResetStats();
    timeManager->Reset(1);
    // The flag of the game over being retried must not outlive it: with no
    // block held the test below would leave it standing.
    board->gameOverFlag = 0;
    board->checkGameOver();
    return true;
}

int TQuestPlay::Leave() {
    modes::ClearEffectLists();
    saveOptions();
    plat::PollSystem();
    return 1;
}

// ---- the end of the loop --------------------------------------------------------------------

void TQuestPlay::LastLevelHiscore() {
    if (sequencer->currentLevel == sequencer->lastLevel && level->isGoalAchieved() != 0)
        modes::AddHiscore(points->pointsTotal, 1, "null");
}

void TQuestPlay::EndProgram() {
    if (level->isGoalAchieved() != 0) {
        level->doShortSummary();
        level->finish();
        // The level is won and its points banked: a stored 1 would replay it
        // on Continue and pay its bonus twice.
        gameState = 2;
        LastLevelHiscore();
    }
    modes::StopMusicAndEnd();
}

void TQuestPlay::TallyFrame() {
    modes::BeginTallyFrame();
    if (level->summaryStage < 6) {
        magicSphere->Update(0);
        timeManager->Draw(1);
        points->Draw();
        board->Draw(0);
        bossManager->Draw();
        bonusManagerAlt->Draw();
        TCometEmiter::updateAll();
        TVolcanoEmiter::updateAll();
        TRingEmiter::UpdateAll();
        if (level->summaryStage < 5) TSpark::UpdateAll();
        TSoundQ::updateAll();
        TCaptions::updateAll();
    }
    level->summaryDisplay();
    if (level->summaryStage > 4) TSpark::UpdateAll();
    if (modes::EndTallyFrame()) quit = 1;
    board->gameOverFlag = 0;
}

int TQuestPlay::Finish() {
    if (quit != 0) EndProgram();
    board->clearHighlights();
    popupManager->Free();
    if (level->isGoalAchieved() != 0) {
        level->startSummary();
        deltaTime->Update();
        while (quit == 0 && level->summaryDone == 0) TallyFrame();
        soundQueue->Clear();
        TCaptions::destroyAll();
        if (quit != 0) EndProgram();
        if (board->gameOverFlag == 0) level->finish();
        LastLevelHiscore();
    }
    return 0;
}

int goVelmora(int resume) {
    TQuestPlay play;
    play.Start(resume);
    while (play.Running() != 0) {
        const int result = play.Frame();
        if (result != TQuestPlay::kGoOn) return result;
    }
    return play.Finish();
}
