#include "screens/gallery_hookup.h"

#include "level/level_links.h"
#include "modes/mode_links.h"
#include "profiles/profile_links.h"
#include "screens/board_selector.h"
#include "screens/gallery.h"
#include "screens/screens_links.h"
#include "screens/slides.h"
#include "title/title_links.h"
#include "title/title_screen.h"

void InstallGalleryLinks() {
    screensLinks.loadGalleryGfx = [] {
        if (gallery) gallery->loadGfx();
    };
    screensLinks.boardSelectorMode = [] { return boardSelector ? boardSelector->listMode : 0; };
    screensLinks.drawMiniBoard = [] {
        if (boardSelector) boardSelector->DrawMiniBoard();
    };
    screensLinks.stopTitleMusic = [] {
        if (titleScreen) titleScreen->stopMusic();
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

    modeLinks.addSelectorLevel = [](const std::string& levelFile) { return TBoardSelector::AddLevel(levelFile); };
}
