#include "title/title_hookup.h"

#include "modes/board_modes.h"
#include "modes/mode_links.h"
#include "profiles/profile_links.h"
#include "profiles/profile_manager.h"
#include "profiles/profile_screen.h"
#include "screens/board_selector.h"
#include "screens/gallery.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "title/hiscores.h"
#include "title/title_links.h"
#include "title/title_screen.h"

void InstallTitleLinks() {
    titleLinks.setMenuState = [](int state, int refade) {
        optionsWindow->SetState(state, refade, kMenuWindowX, kMenuWindowY);
    };
    titleLinks.updateMenu = [] { optionsWindow->Update(); };
    titleLinks.drawMenu = [] { optionsWindow->Draw(); };
    titleLinks.menuAction = [] { return static_cast<int>(optionsWindow->action); };
    titleLinks.menuState = [] { return optionsWindow->state; };
    titleLinks.setMenuAlpha = [](float alpha) { optionsWindow->alpha = alpha; };
    titleLinks.setMenuMusic = [](const TAudioStreamPtr& stream) { optionsWindow->musicStream = stream; };
    titleLinks.greetingName = [] { return optionsWindow->greetingName; };
    titleLinks.setSelectorFrame = [](const plat::ImagePtr& image) { optionsWindow->selectorBg = image; };
    titleLinks.loadLevelList = [](int listMode) { boardSelector->LoadList(listMode); };
    titleLinks.loadMiniBoard = [] { boardSelector->LoadMiniBoard(); };
    titleLinks.nextLevel = [] { boardSelector->nextLevel(); };
    titleLinks.prevLevel = [] { boardSelector->PrevLevel(); };
    titleLinks.selectedLevelName = [] { return boardSelector->SelectedLevelName(); };
    titleLinks.levelListMode = [] { return boardSelector->listMode; };
    titleLinks.showGallery = [] { gallery->show(); };

    titleLinks.profileCount = [] { return profile->Count(); };
    titleLinks.currentProfileName = [] { return profile->CurrentName(); };
    titleLinks.profileNumber = [](const std::string& key) { return profile->GetNumber(key); };
    titleLinks.showProfileScreen = [](int startState) { profileLoader->show(startState); };
    titleLinks.goTimeAtack = [](const std::string& levelFile) { return goTimeAtack(levelFile); };
    titleLinks.goEndless = [](const std::string& levelFile) { return goEndless(levelFile); };

    screensLinks.loadTitleGfx = [] { titleScreen->loadGfx(); };
    screensLinks.playTitleMusic = [] { titleScreen->playMusic(); };
    screensLinks.stopTitleMusic = [] { titleScreen->stopMusic(); };
    screensLinks.titleMusicStream = [] { return titleScreen->musicStream; };
    screensLinks.selectorCaption = [] { return titleScreen->selectorCaption; };

    modeLinks.stopTitleMusic = [] { titleScreen->stopMusic(); };
    modeLinks.addHiscore = [](const std::string& name, int score, int gameId, int typeId, const std::string& date,
                              const std::string& helpVar) {
        hiscore->add(name, score, gameId, typeId, date, helpVar);
    };
    modeLinks.bestScore = [](int typeId, const std::string& helpVar) { return hiscore->GetBestScore(typeId, helpVar); };

    profileLinks.titleImage = [] { return titleScreen->titleImage; };
    profileLinks.updateTitleMusic = [] {
        if (titleScreen->musicStream) titleScreen->musicStream->update();
    };
}
