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
    screensLinks.loadGalleryGfx = [] { gallery->loadGfx(); };
    screensLinks.boardSelectorMode = [] { return boardSelector->listMode; };
    screensLinks.drawMiniBoard = [] { boardSelector->DrawMiniBoard(); };
    screensLinks.loadProfileScreen = [] { profileLoader->Load(); };
    screensLinks.loadSpells = [] { bonusManagerAlt->LoadResources(); };
    screensLinks.loadPopups = [] { popupManager->Load(); };

    levelLinks.addRevealedImage = [](const std::string& name) { slides->addRevealedImage(name); };
    profileLinks.revealedImages = [] { return slides->revealedList ? *slides->revealedList : TRevealedList{}; };
    // A fresh list: the one the gallery may still hold is left as it was.
    profileLinks.setRevealedImages = [](const std::vector<std::string>& names) {
        slides->revealedList = std::make_shared<TRevealedList>(names);
    };

    modeLinks.addSelectorLevel = [](const std::string& levelFile) { return TBoardSelector::AddLevel(levelFile); };

    // The profile screen stands on the menu window's panel and highlight bar.
    profileLinks.panelImage = [] { return optionsWindow->bg; };
    profileLinks.highlightImage = [] { return optionsWindow->highlight; };

    // The pause menu drives the one menu window as the title does.
    modeLinks.menuSetState = [](int state, int refade, int x, int y) { optionsWindow->SetState(state, refade, x, y); };
    modeLinks.menuUpdate = [] {
        optionsWindow->Update();
        return static_cast<int>(optionsWindow->action);
    };
    modeLinks.menuDraw = [] { optionsWindow->Draw(); };
    modeLinks.menuState = [] { return optionsWindow->state; };
    modeLinks.menuFreeState = [] { optionsWindow->freeState(); };
    modeLinks.menuAttach = [](const TAudioStreamPtr& music, int returnState) {
        optionsWindow->musicStream = music;
        optionsWindow->returnState = returnState;
    };
}
