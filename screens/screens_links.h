// What the menu window and the loading screens need of subsystems built
// beside or after them: the title screen, the profile screen, the quest map,
// the spells, the popups, the gallery and level selector, and the two
// mini-games. Each owner fills its entries when it starts; while an entry is
// empty that step is skipped: nothing is loaded for it, no title song starts
// or stops, page 6 shows no miniature and no selector caption, and the
// gallery's free puzzle is not played.
#pragma once
#include <functional>
#include <memory>
#include <string>

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
    std::function<void()> stopTitleMusic;                          // titleScreen.stopMusic
    std::function<std::shared_ptr<TAudioStream>()> titleMusicStream;  // titleScreen.musicStream

    // ---- the board-selector page (6) ----
    std::function<plat::ImagePtr()> selectorCaption;  // titleScreen.selectorCaption
    std::function<int()> boardSelectorMode;           // boardSelector.mode: 0 quest, 1 timed, 2 endless
    std::function<void()> drawMiniBoard;              // boardSelector.DrawMiniBoard

    // ---- the gallery's free puzzle ----
    // puzzle.show(0, imageName, 1) after its columns, rows and song are set:
    // the picture cut into columns x rows pieces, never saved. Its result
    // (1 left for the menu) is not used.
    std::function<int(int columns, int rows, const std::string& music, const std::string& imageName)>
        playFreePuzzle;
};
extern TScreensLinks screensLinks;
