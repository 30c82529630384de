// The puzzle's screen: set-up (fresh or resumed), the intro popups, the
// frames of play, the pause menu, and the end (tally, completion picture,
// save, clean-up).
//
// Index: show · set-up · frames · the end · pause menu
#include "core/delta_time.h"
#include "core/globals.h"
#include "core/mouse.h"
#include "modes/pause_menu.h"
#include "core/sound.h"
#include "modes/popup_manager.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"
#include "profiles/quest_save.h"
#include "profiles/saved_game.h"
#include "puzzle/puzzle_manager.h"
#include "screens/options_window.h"
#include "ui/container.h"
#include "ui/spark.h"

namespace {

// The hot areas under the board; open intervals.
bool OverMenu(int x, int y) { return x > 287 && x < 360 && y > 572 && y < 592; }
bool OverHint(int x, int y) { return x > 417 && x < 530 && y > 572 && y < 592; }

void RenewDelta() {
    deltaTime->Update();
    delta = deltaTime->CurrDelta();
}

}  // namespace

// ---- show ------------------------------------------------------------------------------------------

int TPuzzleManager::show(int /*resume*/, const std::string& imageName, int freePlay) {
    Play play;
    play.freePlay = freePlay;
    StartPlay(play, imageName);
    while (play.exitCode == kPlaying && grid->IsSet() == 0) {
        if (!introPopups.empty()) PopupFrame(play);
        else PlayFrame(play);
    }
    return EndPlay(play);
}

// ---- set-up -----------------------------------------------------------------------------------------

void TPuzzleManager::StartPlay(Play& play, const std::string& imageName) {
    play.background = plat::LoadImage(kBackground, 0);
    play.fontA = data->GetTTFont(4000);
    play.fontB = data->GetTTFont(4001);
    grid->loadSfx();
    const std::string picture = imageName.empty() ? image : imageName;
    startTime = plat::MilliSecs();
    clicks = 0;
    musicStream = playMusicStream(music, 1, 1.0f);
    Create(picture, width, height);
    if (readFromProfile != 0 || play.freePlay != 0) introPopups.clear();

    bool resumed = false;
    if (readFromProfile != 0) {
        restoredPieces = 0;
        LoadPuzzles();
        LoadSpells("razod");
        // Only a saved order that puts every piece on a slot of its own is
        // a puzzle; anything else starts afresh.
        resumed = restoredPieces == grid->pieceCount;
        if (resumed) {
            hintsUsed = 0;
            Begin(play.background, 1);
        } else {
            for (int k = 0; k < grid->pieceCount; ++k) RestorePiece(k, k);
            startTime = plat::MilliSecs();
            clicks = 0;
        }
    }
    if (!resumed) {
        if (play.freePlay != 0) {
            hintA = 0;
            hintB = 1;
        } else {
            Begin(play.background, 0);
        }
        grid->Scramble(play.background);
        hintsUsed = 0;
        play.hints.show(*grid, 1, hintA, hintB);
    }
    if (!introPopups.empty()) {
        if (popupManager->okButton) {
            globalSnd->play(3);
            plat::SetImageFont(popupManager->font);
        } else {
            introPopups.clear();  // no button to close them with
        }
    }
    play.exitCode = kPlaying;
}

// ---- frames ------------------------------------------------------------------------------------------

void TPuzzleManager::PopupFrame(Play& play) {
    RenewDelta();
    if (musicStream) musicStream->update();
    plat::DrawImage(play.background, 0, 0, 0);
    // A tap made while the popup fades in waits until it is all there.
    mouse->fetchFor(introPopups.front()->Phase());
    grid->Draw();
    const TButtonPtr ok = popupManager->okButton;
    introPopups.front()->Update(ok);
    TSpark::UpdateAll();
    mouse->Draw();
    plat::PollSystem();
    plat::Flip(-1);
    if (ok->State() != 0) {
        globalSnd->play(2);
        // Gone at once: its fade-out is not waited for. The press, and a
        // double-click's second one, must not close the next popup as well.
        introPopups.pop_front();
        mouse->leavePage();
        if (!introPopups.empty()) globalSnd->play(3);
    }
}

void TPuzzleManager::PlayFrame(Play& play) {
    RenewDelta();
    if (musicStream) musicStream->update();
    plat::DrawImage(play.background, 0, 0, 0);
    mouse->fetchState();
    if (grid->State() != 0) play.hints.Hide();
    DrawPlay(play);
    plat::Flip(-1);
    plat::PollSystem();

    if (plat::AppTerminate()) play.exitCode = kEndProgram;
    if (plat::KeyHit(plat::KEY_ESCAPE) != 0 || plat::KeyHit(plat::KEY_P) != 0)
        play.exitCode = ShowInGameMenuPuzzle(play.background, play.hints);
    if (plat::KeyHit(plat::KEY_G) != 0 && plat::FileType("cheats.txt") != 0) play.exitCode = kSkipped;
    const int x = mouse->x;
    const int y = mouse->y;
    play.menuOver = OverMenu(x, y) ? 1 : 0;
    play.hintOver = OverHint(x, y) ? 1 : 0;
    if (mouse->leftHit != 0) {
        if (play.hintOver != 0) {
            if (play.hints.showing == 0) globalSnd->play(0);
            play.hints.show(*grid, 0, 0, 0);
            // Counted even while a hint already shows.
            hintsUsed += 1;
        }
        if (play.menuOver != 0) {
            globalSnd->click();
            // The pause menu, or the menu screen, comes up under the pointer.
            mouse->leavePage();
            if (play.freePlay != 0) play.exitCode = kToMenu;
            else play.exitCode = ShowInGameMenuPuzzle(play.background, play.hints);
        }
    }
    if (play.freePlay == 0 && plat::AppSuspended()) play.exitCode = ShowInGameMenuPuzzle(play.background, play.hints);
}

void TPuzzleManager::DrawPlay(Play& play) {
    grid->doMatrix();
    grid->Draw();
    play.hints.Update();
    TSpark::UpdateAll();
    plat::SetBlend(3);
    plat::SetAlpha(1);
    plat::SetTransform(0, 1, 1);
    plat::SetColor(200, 200, 200);
    // The hover looks follow the previous frame's pointer.
    if (play.menuOver != 0) plat::DrawImage(menuHover, 287, 572, 0);
    if (play.hintOver != 0) plat::DrawImage(hintHover, 417, 572, 0);
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
    mouse->Draw();
}

// ---- the end ------------------------------------------------------------------------------------------

void TPuzzleManager::EndProgram(int won) {
    // As a won board level does: its points are banked, so a stored 1
    // would play it (and bank them) again on Continue.
    if (won != 0) gameState = 2;
    if (musicStream) {
        musicStream->stop();
        musicStream->free();
        musicStream = nullptr;
    }
    plat::End();
}

int TPuzzleManager::EndPlay(Play& play) {
    const bool quest = play.freePlay == 0;
    if (play.exitCode == kEndProgram) EndProgram(0);
    introPopups.clear();
    // A puzzle completed in the frame the player left is still won: tally,
    // completion picture, and no save of the solved grid to be won again.
    const bool solved = grid->IsSet() != 0;
    if (solved) {
        playSound2(grid->sounds[TPuzzleGrid::kSoundSolved], nullptr, 0);
        if (summary(play.background, play.fontA, play.fontB, play.freePlay) == 1) EndProgram(quest ? 1 : 0);
    }
    if (quest && (solved || play.exitCode == kSkipped)) {
        if (Finish(play.background) == 1) EndProgram(1);
    }
    if (quest && play.exitCode == kToMenu && !solved) {
        SavePuzzles();
        SaveProfile();
    }
    grid->Clear();
    TSpark::destroyAll();
    if (musicStream) {
        musicStream->stop();
        musicStream->free();
    }
    return play.exitCode == kToMenu && !solved ? 1 : 0;
}

// ---- pause menu ---------------------------------------------------------------------------------------

int TPuzzleManager::ShowInGameMenuPuzzle(const plat::ImagePtr& background, THints& hints) {
    int code = kPlaying;
    optionsWindow->SetState(kMenuPage, 1, kMenuX, kMenuY);
    optionsWindow->musicStream = musicStream;
    optionsWindow->returnState = kMenuPage;
    while (code == kPlaying) {
        RenewDelta();
        if (musicStream) musicStream->update();
        plat::DrawImage(background, 0, 0, 0);
        mouse->fetchState();
        // Drawn, not updated: flying pieces wait where they are.
        grid->Draw();
        hints.Update();
        TSpark::UpdateAll();
        plat::SetBlend(3);
        plat::SetAlpha(1);
        plat::SetTransform(0, 1, 1);
        plat::SetColor(255, 255, 255);
        optionsWindow->Update();
        optionsWindow->Draw();
        const int action = optionsWindow->action;
        mouse->Draw();
        plat::PollSystem();
        plat::Flip(-1);
        if (plat::KeyHit(plat::KEY_ESCAPE) != 0) break;
        // Closing the window ends the game; the end of the program saves it.
        if (plat::AppTerminate()) code = kEndProgram;
        if (TInGameMenu::LeavesPage(action)) mouse->leavePage();
        if (action == kResume) break;
        if (action == kOptions) optionsWindow->SetState(kOptionsPage, 0, kMenuX, kMenuY);
        if (action == kMainMenu) code = kToMenu;
        if (action == kQuitGame) code = kEndProgram;
    }
    plat::FlushKeys();
    plat::FlushMouse();
    return code;
}
