// What the menu window and the loading screens need of subsystems built
// beside or after them: the title screen, the profile screen, the quest map,
// the spells, the popups, the gallery and level selector, and the two
// mini-games. Each owner fills its entries when it starts; while an entry is
// empty that step is skipped: nothing is loaded for it, no title song starts,
// page 6 shows no miniature and no selector caption.
#pragma once
#include <functional>
#include <memory>

#include "platform/image.h"

class TAudioStream;

struct TScreensLinks {
    // ---- loads of the loading screen, in the order it calls them ----
    std::function<void()> loadPuzzleGfx;        // puzzle.loadGfx
    std::function<void()> loadGalleryGfx;       // gallery.loadGfx
    // titleScreen.loadGfx; it also stores the board-selector backdrop into
    // optionsWindow->selectorBg.
    std::function<void()> loadTitleGfx;
    std::function<void()> loadProfileScreen;    // profileLoader.Load
    std::function<void()> loadMap;              // map.Load
    std::function<void()> loadSpells;           // bonusManagerAlt.LoadResources
    std::function<void()> loadRingGameGfx;      // ringGame.loadGfx
    std::function<void()> loadPopups;           // popupManager.Load

    // ---- the title song ----
    std::function<void()> playTitleMusic;                          // titleScreen.playMusic
    std::function<std::shared_ptr<TAudioStream>()> titleMusicStream;  // titleScreen.musicStream

    // ---- the board-selector page (6) ----
    std::function<plat::ImagePtr()> selectorCaption;  // titleScreen.selectorCaption
    std::function<int()> boardSelectorMode;           // boardSelector.mode: 0 quest, 1 timed, 2 endless
    std::function<void()> drawMiniBoard;              // boardSelector.DrawMiniBoard
};
extern TScreensLinks screensLinks;
