// What the profiles need of subsystems built after them: the gallery's list
// of revealed pictures, the picture puzzle's pieces and clock, and the title
// screen's and options window's pictures and song, drawn or updated by the
// profile screen. Each subsystem fills its entries when it starts; while an
// entry is empty the profiles do without it (no revealed pictures, no
// puzzle, nothing drawn for the missing picture).
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "platform/image.h"

// The picture puzzle as saved: the slot of each piece in the grid's piece
// order, the MilliSecs its clock started at, and the clicks counted.
struct TPuzzleSnapshot {
    std::vector<int> slots;
    int startTime = 0;
    int clicks = 0;
};

struct TProfileLinks {
    // slides.revealedList, read by SaveProfile and replaced by LoadProfile.
    std::function<std::vector<std::string>()> revealedImages;
    std::function<void(const std::vector<std::string>&)> setRevealedImages;

    // The puzzle's pieces and clock (SavePuzzles).
    std::function<TPuzzleSnapshot()> puzzleState;
    // How many pieces the puzzle's grid holds (LoadPuzzles checks the saved
    // order against it).
    std::function<int()> puzzlePieceCount;
    // Puts piece k on slot (slot and targetSlot, then SetPosition).
    std::function<void(int k, int slot)> placePuzzlePiece;
    // The puzzle's clock start and click count.
    std::function<void(int startTime, int clicks)> setPuzzleClock;

    // titleScreen.titleImage: the profile screen's background.
    std::function<plat::ImagePtr()> titleImage;
    // The options window's panel ("gfx/gui/pod-menu.jp2", handle top-left)
    // and its highlight bar ("gfx/gui/podswietlacz2.png", handle centred).
    std::function<plat::ImagePtr()> panelImage;
    std::function<plat::ImagePtr()> highlightImage;
    // titleScreen.musicStream.update, once a frame of the profile screen.
    std::function<void()> updateTitleMusic;
};
extern TProfileLinks profileLinks;
