#include "screens/screens_hookup.h"

#include "level/level_links.h"
#include "modes/mode_links.h"
#include "modes/popup_manager.h"
#include "profiles/profile_links.h"
#include "profiles/profile_screen.h"
#include "screens/board_selector.h"
#include "screens/gallery.h"
#include "screens/options_window.h"
#include "screens/screens_links.h"
#include "screens/slides.h"
#include "spells/spells.h"

void InstallScreensLinks() {
    screensLinks.loadGalleryGfx = [] {
        if (gallery) gallery->loadGfx();
    };
    screensLinks.boardSelectorMode = [] { return boardSelector ? boardSelector->listMode : 0; };
    screensLinks.drawMiniBoard = [] {
        if (boardSelector) boardSelector->DrawMiniBoard();
    };
    screensLinks.loadProfileScreen = [] {
        if (profileLoader) profileLoader->Load();
    };
    screensLinks.loadSpells = [] {
        if (bonusManagerAlt) bonusManagerAlt->LoadResources();
    };
    screensLinks.loadPopups = [] {
        if (popupManager) popupManager->Load();
    };

    levelLinks.addRevealedImage = [](const std::string& name) {
        if (slides) slides->addRevealedImage(name);
    };
    profileLinks.revealedImages = [] {
        return slides && slides->revealedList ? *slides->revealedList : TRevealedList{};
    };
    // A fresh list: the one the gallery may still hold is left as it was.
    profileLinks.setRevealedImages = [](const std::vector<std::string>& names) {
        if (slides) slides->revealedList = std::make_shared<TRevealedList>(names);
    };

    modeLinks.addSelectorLevel = [](const std::string& levelFile) { return TBoardSelector::AddLevel(levelFile); };

    // The profile screen stands on the menu window's panel and highlight bar.
    profileLinks.panelImage = [] { return optionsWindow ? optionsWindow->bg : nullptr; };
    profileLinks.highlightImage = [] { return optionsWindow ? optionsWindow->highlight : nullptr; };

    // The pause menu drives the one menu window as the title does.
    modeLinks.menuSetState = [](int state, int refade, int x, int y) {
        if (optionsWindow) optionsWindow->SetState(state, refade, x, y);
    };
    modeLinks.menuUpdate = [] {
        if (!optionsWindow) return 0;
        optionsWindow->Update();
        return static_cast<int>(optionsWindow->action);
    };
    modeLinks.menuDraw = [] {
        if (optionsWindow) optionsWindow->Draw();
    };
    modeLinks.menuState = [] { return optionsWindow ? optionsWindow->state : 0; };
    modeLinks.menuFreeState = [] {
        if (optionsWindow) optionsWindow->freeState();
    };
    modeLinks.menuAttach = [](const TAudioStreamPtr& music, int returnState) {
        if (!optionsWindow) return;
        optionsWindow->musicStream = music;
        optionsWindow->returnState = returnState;
    };
}
