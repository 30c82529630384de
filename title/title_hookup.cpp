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
        if (optionsWindow) optionsWindow->SetState(state, refade, kMenuWindowX, kMenuWindowY);
    };
    titleLinks.updateMenu = [] {
        if (optionsWindow) optionsWindow->Update();
    };
    titleLinks.drawMenu = [] {
        if (optionsWindow) optionsWindow->Draw();
    };
    titleLinks.menuAction = [] { return optionsWindow ? static_cast<int>(optionsWindow->action) : 0; };
    titleLinks.menuState = [] { return optionsWindow ? optionsWindow->state : 0; };
    titleLinks.setMenuAlpha = [](float alpha) {
        if (optionsWindow) optionsWindow->alpha = alpha;
    };
    titleLinks.setMenuMusic = [](const TAudioStreamPtr& stream) {
        if (optionsWindow) optionsWindow->musicStream = stream;
    };
    titleLinks.greetingName = [] { return optionsWindow ? optionsWindow->greetingName : nullptr; };
    titleLinks.setSelectorFrame = [](const plat::ImagePtr& image) {
        if (optionsWindow) optionsWindow->selectorBg = image;
    };
    titleLinks.loadLevelList = [](int listMode) {
        if (boardSelector) boardSelector->LoadList(listMode);
    };
    titleLinks.loadMiniBoard = [] {
        if (boardSelector) boardSelector->LoadMiniBoard();
    };
    titleLinks.nextLevel = [] {
        if (boardSelector) boardSelector->nextLevel();
    };
    titleLinks.prevLevel = [] {
        if (boardSelector) boardSelector->PrevLevel();
    };
    titleLinks.selectedLevelName = [] { return boardSelector ? boardSelector->SelectedLevelName() : std::string(); };
    titleLinks.levelListMode = [] { return boardSelector ? boardSelector->listMode : 0; };
    titleLinks.showGallery = [] {
        if (gallery) gallery->show();
    };

    titleLinks.profileCount = [] { return profile ? profile->Count() : 0; };
    titleLinks.currentProfileName = [] { return profile ? profile->CurrentName() : std::string(); };
    titleLinks.profileNumber = [](const std::string& key) { return profile ? profile->GetNumber(key) : 0; };
    titleLinks.showProfileScreen = [](int startState) {
        if (profileLoader) profileLoader->show(startState);
    };
    titleLinks.goTimeAtack = [](const std::string& levelFile) { return goTimeAtack(levelFile); };
    titleLinks.goEndless = [](const std::string& levelFile) { return goEndless(levelFile); };

    screensLinks.loadTitleGfx = [] {
        if (titleScreen) titleScreen->loadGfx();
    };
    screensLinks.playTitleMusic = [] {
        if (titleScreen) titleScreen->playMusic();
    };
    screensLinks.stopTitleMusic = [] {
        if (titleScreen) titleScreen->stopMusic();
    };
    screensLinks.titleMusicStream = [] { return titleScreen ? titleScreen->musicStream : nullptr; };
    screensLinks.selectorCaption = [] { return titleScreen ? titleScreen->selectorCaption : nullptr; };

    modeLinks.stopTitleMusic = [] {
        if (titleScreen) titleScreen->stopMusic();
    };
    modeLinks.addHiscore = [](const std::string& name, int score, int gameId, int typeId, const std::string& date,
                              const std::string& helpVar) {
        if (hiscore) hiscore->add(name, score, gameId, typeId, date, helpVar);
    };
    modeLinks.bestScore = [](int typeId, const std::string& helpVar) {
        return hiscore ? hiscore->GetBestScore(typeId, helpVar) : 0;
    };

    profileLinks.titleImage = [] { return titleScreen ? titleScreen->titleImage : nullptr; };
    profileLinks.updateTitleMusic = [] {
        if (titleScreen && titleScreen->musicStream) titleScreen->musicStream->update();
    };
}
