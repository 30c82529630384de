#include "modes/pause_menu.h"

#include "board/board.h"
#include "core/mouse.h"
#include "level/level.h"
#include "level/timer.h"
#include "modes/mode_links.h"
#include "modes/scene.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/time.h"

void TInGameMenu::Open() {
    timeManager->PauseOn();
    elapsed = plat::MilliSecs() - board->lastPetrifyTime;
    if (modeLinks.menuSetState) modeLinks.menuSetState(kPage, 1, kX, kY);
    if (modeLinks.menuAttach) modeLinks.menuAttach(level->music, kPage);
    result = 0;
}

int TInGameMenu::Draw() {
    mouse->fetchState();
    // The frame delta is not renewed: effects go on by the last play frame's.
    modes::DrawFrozenScene(1);
    const int action = modeLinks.menuUpdate ? modeLinks.menuUpdate() : 0;
    if (modeLinks.menuDraw) modeLinks.menuDraw();
    mouse->Draw();
    return action;
}

void TInGameMenu::Frame() {
    const int action = Draw();
    plat::Flip(-1);
    plat::PollSystem();
    React(action);
    modes::UpdateLevelMusic();
}

void TInGameMenu::React(int action) {
    if (LeavesPage(action)) mouse->leavePage();
    if (action == kResume) result = 1;
    if (action == kRestart) result = 2;
    if (action == kOptions && modeLinks.menuSetState) modeLinks.menuSetState(kOptionsPage, 0, kX, kY);
    if (action == kMainMenu) result = 3;
    if (action == kQuitGame) result = 4;
    if (action == kHelp) {
        if (level->goalType == 3) {
            if (modeLinks.showBossTutorial) modeLinks.showBossTutorial(1);
        } else if (modeLinks.showTutorial && modeLinks.showTutorial(1) != 0) {
            result = 4;
        }
    }
    if (modeLinks.menuState && modeLinks.menuState() == kMainPage && modeLinks.menuSetState)
        modeLinks.menuSetState(kPage, 0, kX, kY);
    if (plat::KeyHit(plat::KEY_ESCAPE) != 0) result = 1;
    // Read last, so a close request made in Escape's frame wins: it is
    // reported once and would be gone for good.
    if (plat::AppTerminate()) result = 4;
}

int TInGameMenu::Close() {
    timeManager->PauseOff();
    board->lastPetrifyTime = plat::MilliSecs() - elapsed;
    if (modeLinks.menuFreeState) modeLinks.menuFreeState();
    if (modeLinks.menuAttach) modeLinks.menuAttach(nullptr, kPage);
    plat::FlushKeys();
    plat::FlushMouse();
    mouse->fetchState();
    // However long the menu stayed open, the next play frame is one frame.
    modes::RenewDelta();
    return result == 2 || result == 3 || result == 4 ? result : 0;
}

int showInGameMenu() {
    TInGameMenu menu;
    menu.Open();
    while (menu.result == 0) menu.Frame();
    return menu.Close();
}
