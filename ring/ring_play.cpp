// The ring game's screen: the preparation of a fresh or resumed game, its
// frame loop, what follows the loop (save, tally, result), and the pause
// menu that moves both clocks by the time spent in it.
//
// Index: Play · preparation · one frame · the end · pause menu
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
#include "ring/ring_game.h"
#include "screens/options_window.h"
#include "spells/ring_emitter.h"
#include "ui/button.h"
#include "ui/spark.h"

namespace {

void RenewDelta() {
    deltaTime->Update();
    delta = deltaTime->CurrDelta();
}

}  // namespace

// ---- Play ------------------------------------------------------------------------------------------

int TRingGame::Play(int resume) {
    StartPlay(resume);
    int code = kPlaying;
    while (code == kPlaying) code = PlayFrame();
    return EndPlay(code);
}

// ---- preparation -----------------------------------------------------------------------------------

void TRingGame::StartPlay(int resume) {
    resetParams();
    createSequence(levelSequenceLast);
    music = playMusicStream(musicName, 1, 1.0f);
    playSound2(sounds[kGameStart], nullptr, 0);
    // Every fresh game counts its own hits and spells.
    for (const TRingSpellPtr& s : spells)
        if (s) s->count = 0;
    hits = 0;
    if (resume != 0) {
        LoadFromProfile();
        popups.clear();
    }
    resetRune();
    // Without the shared OK button nothing could ever close a popup.
    if (!popupManager->okButton) popups.clear();
    plat::SetImageFont(popupManager->font);
}

// ---- one frame -------------------------------------------------------------------------------------

int TRingGame::PlayFrame() {
    int code = kPlaying;
    RenewDelta();
    if (music) music->update();
    if (ringState == kPlay && !popups.empty()) {
        UpdateInfo();
    } else {
        Update();
        updateSequence();
    }
    Draw(0);
    TRingEmiter::UpdateAll();
    TSpark::UpdateAll();
    // Taken for the next frame, as the page it will act on stands now: a tap
    // made while a popup fades in waits for its first whole frame.
    mouse->fetchFor(ringState == kPlay && !popups.empty() ? popups.front()->Phase() : TMouse::Phase::kShown);
    plat::Flip(-1);

    if (popups.empty() && menuButton && menuButton->State() != 0) {
        // The pause menu comes up under the pointer.
        LeavePageOnPress();
        code = ShowInGameMenuRG();
    }
    if (popups.empty() && (plat::KeyHit(plat::KEY_ESCAPE) != 0 || plat::KeyHit(plat::KEY_P) != 0))
        code = ShowInGameMenuRG();
    if (ringState >= kTimeUp) code = kGameOver;
    if (plat::AppTerminate()) code = kQuit;
    if (ringState == kPlay && plat::AppSuspended()) code = ShowInGameMenuRG();
    if (plat::KeyHit(plat::KEY_G) != 0 && plat::FileType("cheats.txt") != 0) code = kGameOver;
    plat::PollSystem();
    return code;
}

// ---- the end ---------------------------------------------------------------------------------------

int TRingGame::EndPlay(int code) {
    // Whatever ended the game, the profile keeps its hits, time and spells.
    SaveToProfile();
    auto stopMusic = [this] {
        if (!music) return;
        music->stop();
        music->free();
        music = nullptr;
    };
    if (code == kQuit) {
        stopMusic();
        plat::End();
    }
    if (code == kToMenu) {
        SaveProfile();
        stopMusic();
        return 1;
    }
    // The song plays on into the tally, which fades it.
    if (Summary() != 0) {
        // The points are banked: the level is won, and a stored 1 would play
        // it (and pay them) again on Continue. The map after it moves the
        // quest on, as after a board level.
        gameState = 2;
        stopMusic();
        plat::End();
    }
    popups.clear();
    ringEmiterList->Clear();
    stopMusic();
    return 0;
}

// ---- pause menu ------------------------------------------------------------------------------------

int TRingGame::ShowInGameMenuRG() {
    Menu menu;
    OpenMenu(menu);
    while (MenuFrame(menu) < 0) {
    }
    return CloseMenu(menu);
}

void TRingGame::OpenMenu(Menu& menu) {
    const int now = plat::MilliSecs();
    menu.gameElapsed = now - startTime;
    menu.runeElapsed = now - runeClock;
    menu.result = kPlaying;
    optionsWindow->SetState(kMenuPage, 1, kMenuX, kMenuY);
    optionsWindow->musicStream = music;
    optionsWindow->returnState = kMenuPage;
}

int TRingGame::MenuFrame(Menu& menu) {
    RenewDelta();
    if (music) music->update();
    Draw(1);
    optionsWindow->Update();
    optionsWindow->Draw();
    const int action = optionsWindow->action;
    mouse->Draw();
    mouse->fetchState();
    TRingEmiter::UpdateAll();
    TSpark::UpdateAll();
    plat::PollSystem();
    plat::Flip(-1);
    if (plat::KeyHit(plat::KEY_ESCAPE) != 0) return menu.result = kPlaying;
    if (plat::AppTerminate()) menu.result = kQuit;
    if (TInGameMenu::LeavesPage(action)) mouse->leavePage();
    if (action == kResume) return menu.result;
    if (action == kOptions) optionsWindow->SetState(kOptionsPage, 0, kMenuX, kMenuY);
    if (action == kMainMenu) menu.result = kToMenu;
    if (action == kQuitGame) menu.result = kQuit;
    return menu.result == kPlaying ? -1 : menu.result;
}

int TRingGame::CloseMenu(Menu& menu) {
    // Neither the game's time nor the rune's counts the time in the menu.
    const int now = plat::MilliSecs();
    runeClock = now - menu.runeElapsed;
    startTime = now - menu.gameElapsed;
    plat::FlushKeys();
    plat::FlushMouse();
    return menu.result;
}
